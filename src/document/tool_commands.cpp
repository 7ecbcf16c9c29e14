// The document's tool commands: the tool menu of the ribbon (a tool picked becomes current and the
// custom-tool mouse tool applies it), a new tool from the selection, the script view, the tool
// options and the current tool applied to the selection (F5); and the view's custom tool served.
#include "document/tool_commands.h"

#include "document/halvix_doc.h"
#include "document/tool_dialogs.h"
#include "document/tool_record.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "view/view_globals.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include <memory>

HxToolMenu* g_pToolMenu = nullptr;
int g_currentToolCommand = 0;
int g_docToolMenuCount = 0;

namespace {

const bool g_servicesInstalled = [] {
    HxInstallToolServices();
    return true;
}();

// The tool of a tool-menu command id: the tool sets' tools first, then the document's; null for none.
CRecord* ToolOfCommand(const CHalvixDoc& doc, UINT id) {
    if (id < ID_TOOL_FIRST || id > ID_TOOL_LAST)
        return nullptr;
    int k = int(id - ID_TOOL_FIRST);
    const CRecordList& list = k < g_toolCommandCount ? g_globalTools : doc.m_tools;
    if (k >= g_toolCommandCount)
        k -= g_toolCommandCount;
    POSITION pos = list.FindIndex(k);
    return pos ? list.GetAt(pos) : nullptr;
}

// The menu entry of the document's tool k (after the label).
int DocumentToolItem(int k) {
    return HxToolMenu::kDocumentLabel + 1 + k;
}

} // namespace

void HxInstallToolServices() {
    HxViewServices& services = HxGetViewServices();
    services.matchToolInput = [](CGPage& page, WORD id, CGCell* floating) {
        return page.MatchToolInput(id, floating);
    };
    services.applyToolStep = [](CGPage& page, const float point[3]) {
        page.StartToolApplication(point[0], point[1], point[2]);
    };
}

void HxSetCurrentTool(CRecord* tool, int command) {
    g_pCurrentTool = tool;
    g_currentToolCommand = tool ? command : 0;
    HxRefillToolScriptView(tool);
}

void CHalvixDoc::AddToolCommands() {
    OnCommandRange(ID_TOOL_FIRST, ID_TOOL_LAST, &CHalvixDoc::OnToolMenuCommand);
    OnUpdateRange(ID_TOOL_FIRST, ID_TOOL_LAST, &CHalvixDoc::OnUpdateToolMenuCommand);
    OnCommandRange(ID_TOOLSET_FIRST, ID_TOOLSET_LAST, &CHalvixDoc::OnToolMenuCommand);
    OnCommandId(ID_TOOL_CREATE, &CHalvixDoc::OnToolCreate);
    OnUpdateId(ID_TOOL_CREATE, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_TOOL_SCRIPT, &CHalvixDoc::OnToolScriptView);
    OnCommandId(ID_TOOL_OPTION, &CHalvixDoc::OnToolOptions);
    OnUpdateId(ID_TOOL_OPTION, &CHalvixDoc::OnUpdateToolOptions);
    OnCommandId(ID_TOOL_AUTODO, &CHalvixDoc::OnToolApply);
    OnUpdateId(ID_TOOL_AUTODO, &CHalvixDoc::OnUpdateToolApply);
}

void CHalvixDoc::OnToolMenuCommand(UINT id) {
    // The tool-set buttons only carry their tools.
    if (id >= ID_TOOLSET_FIRST && id <= ID_TOOLSET_LAST)
        return;
    CGPage* page = g_pCurPage;
    if (g_pCurrentTool && page)
        FinishToolOnPage(page);
    CRecord* tool = ToolOfCommand(*this, id);
    if (!tool)
        return;
    HxSetCurrentTool(tool, int(id));
    HxSelectMouseTool(6);
    if (page)
        page->m_constructMarker = -1;
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateToolMenuCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(int(pCmdUI->m_nID) == g_currentToolCommand ? 1 : 0);
}

void CHalvixDoc::OnToolCreate() {
    CGPage* page = g_pCurPage;
    if (!g_pToolMenu || !page)
        return;
    std::unique_ptr<CRecord> tool(page->CreateTool());
    if (!tool)
        return;
    CDlgTool dialog;
    dialog.m_name.Format(u"工具#%d", g_docToolMenuCount + 1);
    dialog.m_showScript = FALSE;
    if (dialog.DoModal() != IDOK)
        return;
    tool->m_name = dialog.m_name;
    CRecord* made = tool.release();
    m_tools.AddTail(made);
    const UINT id = ID_TOOL_FIRST + UINT(g_toolCommandCount + g_docToolMenuCount);
    int command = 0;
    // Only the routed range holds tool buttons: a tool beyond it stays in the document unlisted.
    if (id <= ID_TOOL_LAST) {
        if (g_docToolMenuCount == 0)
            g_pToolMenu->InsertLabel(HxToolMenu::kDocumentLabel, u"当前文档工具");
        g_pToolMenu->InsertButton(DocumentToolItem(g_docToolMenuCount), id, made->m_name, made->m_comment);
        ++g_docToolMenuCount;
        command = int(id);
    }
    HxSetCurrentTool(made, command);
    SetModifiedFlag();
    if (dialog.m_showScript)
        OnToolScriptView();
}

void CHalvixDoc::RebuildToolMenu() {
    // The label is there only when the document's tools are: with none, the items from 4 on are
    // the tool sets', which stay.
    if (g_pToolMenu && g_docToolMenuCount > 0) {
        for (int i = 0; i <= g_docToolMenuCount && g_pToolMenu->GetCount() > HxToolMenu::kDocumentLabel; ++i)
            g_pToolMenu->RemoveItem(HxToolMenu::kDocumentLabel);
    }
    g_docToolMenuCount = 0;
    // A current tool of the document keeps being current while the document holds it (a copy
    // inserted before it moves its command id along); one that is gone is forgotten.
    if (g_currentToolCommand >= int(ID_TOOL_FIRST) + g_toolCommandCount) {
        int place = 0;
        POSITION pos = m_tools.GetHeadPosition();
        while (pos && m_tools.GetAt(pos) != g_pCurrentTool) {
            m_tools.GetNext(pos);
            ++place;
        }
        const UINT id = ID_TOOL_FIRST + UINT(g_toolCommandCount + place);
        if (pos && g_pToolMenu && id <= ID_TOOL_LAST) {
            g_currentToolCommand = int(id);
        } else {
            HxSetCurrentTool(nullptr, 0);
            if (g_mouseTool == 6)
                HxSelectMouseTool(1);
        }
    }
    if (!g_pToolMenu || m_tools.IsEmpty())
        return;
    g_pToolMenu->InsertLabel(HxToolMenu::kDocumentLabel, u"当前文档工具");
    for (POSITION pos = m_tools.GetHeadPosition(); pos;) {
        const CRecord* tool = m_tools.GetNext(pos);
        const UINT id = ID_TOOL_FIRST + UINT(g_toolCommandCount + g_docToolMenuCount);
        if (id > ID_TOOL_LAST)
            break;
        g_pToolMenu->InsertButton(DocumentToolItem(g_docToolMenuCount), id, tool->m_name, tool->m_comment);
        ++g_docToolMenuCount;
    }
}

void CHalvixDoc::ForgetDocumentTools() {
    if (!g_pCurrentTool || !m_tools.Find(g_pCurrentTool))
        return;
    HxSetCurrentTool(nullptr, 0);
    if (g_mouseTool == 6)
        HxSelectMouseTool(1);
}

void CHalvixDoc::OnToolScriptView() {
    if (!g_pCurrentTool) {
        HxMessageBox(u"通过选择一个自定义工具来显示它的脚本！", u"脚本视图", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!g_pToolScriptView)
        g_pToolScriptView = new CDlgToolView;
    g_pToolScriptView->Fill(*g_pCurrentTool);
    g_pToolScriptView->Show();
}

void CHalvixDoc::OnToolOptions() {
    CDlgPropertyTool dialog(this);
    dialog.OnInitDialog();
    dialog.DoModal();
    SetModifiedFlag();
}

void CHalvixDoc::OnUpdateToolOptions(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_mouseTool == 1 && (g_pCurrentTool || !m_tools.IsEmpty()));
}

void CHalvixDoc::OnToolApply() {
    CGPage* page = g_pCurPage;
    if (!page || !g_pCurrentTool)
        return;
    const CString name = g_pCurrentTool->m_name;
    const int n = page->ApplyCurrentTool();
    if (n == 0)
        return;
    page->m_cmdProcessor.Submit(new CCmdAddCells(n, name));
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateToolApply(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    const CRecord* tool = g_pCurrentTool;
    BOOL enable = page && tool && g_mouseTool == 1;
    if (enable) {
        const int values = page->m_selValues.GetCount();
        enable = page->m_selPoints.GetCount() >= tool->m_pointInputCount &&
                 page->CountSelectedVariables() == values &&
                 values >= tool->m_inputCount - tool->m_pointInputCount &&
                 page->CountToolRepetitions(*tool) > 0;
    }
    pCmdUI->Enable(enable);
}
