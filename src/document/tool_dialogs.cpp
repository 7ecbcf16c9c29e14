// The tool dialogs' rules: the script view's texts, icons and layout, and the tool options (rename,
// comments, default colours, copy and delete of the document's tools).
#include "document/tool_dialogs.h"

#include "document/halvix_doc.h"
#include "document/tool_commands.h"
#include "document/tool_record.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/free_points.h"
#include "model/line.h"
#include "view/view_tool_globals.h"

#include <new>

IMPLEMENT_DYNAMIC(CDlgTool, CDialog)
IMPLEMENT_DYNAMIC(CDlgToolView, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertyTool, CDialog)

CDlgToolView* g_pToolScriptView = nullptr;

namespace {

CDlgToolView::Window& ViewWindow() {
    static CDlgToolView::Window window;
    return window;
}

// The recorded object at a tool-local id (its place in the list), or null.
CGCell* CellAt(const CRecord& tool, int id) {
    POSITION pos = id >= 0 ? tool.m_recordedCells.FindIndex(id) : nullptr;
    return pos ? tool.m_recordedCells.GetAt(pos) : nullptr;
}

CDlgToolView::CStep StepOf(const CGCell& cell) {
    CDlgToolView::CStep step;
    CString name = cell.m_name + u"----" + cell.m_text1;
    step.m_text.Format(u"%3d. %s", int(cell.m_id), name);
    step.m_icon = CDlgToolView::IconOf(&cell);
    return step;
}

// The tool at a place in the document's list, or null.
CRecord* ToolAt(const CHalvixDoc& doc, int row) {
    POSITION pos = row >= 0 ? doc.m_tools.FindIndex(row) : nullptr;
    return pos ? doc.m_tools.GetAt(pos) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The script view

void CDlgToolView::SetWindow(Window window) {
    ViewWindow() = std::move(window);
}

int CDlgToolView::IconOf(const CGCell* cell) {
    if (!cell)
        return 17;
    if (cell->IsKindOf(RUNTIME_CLASS(CGVerFree)))
        return 2;
    if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
        return 1;
    if (cell->IsKindOf(RUNTIME_CLASS(CGLine)))
        return 3;
    struct CNamedIcon {
        const char* name;
        int icon;
    };
    // Tested in this order; the first class the cell is of decides.
    static const CNamedIcon named[] = {
        {"CGFace", 4},    {"CGArc", 5},          {"CGCurve", 6},      {"CGLocus", 7},
        {"CGTextbit", 8}, {"CGTmSingleline", 8}, {"CGTmVariable", 9}, {"CGTmVector", 9},
        {"CGButton", 10}, {"CGCylinder", 11},    {"CGCone", 12},      {"CGFrustum", 13},
        {"CGSphere", 14}, {"CGIterate", 15},     {"CGSurface", 16},   {"CGTrack", 16}};
    for (const CNamedIcon& n : named) {
        if (HxIsOfClassNamed(cell, n.name))
            return n.icon;
    }
    return 17;
}

void CDlgToolView::Layout(int width, int height, int comment[4], int conditions[4], int steps[4]) {
    width = std::max(width, 30);
    height = std::max(height, 200);
    const int w = width - 24;
    const int boxes[3][4] = {{12, 15, w, 50}, {12, 90, w, 50}, {12, 170, w, height - 185}};
    for (int i = 0; i < 4; ++i) {
        comment[i] = boxes[0][i];
        conditions[i] = boxes[1][i];
        steps[i] = boxes[2][i];
    }
}

void CDlgToolView::Fill(const CRecord& tool) {
    m_conditions.clear();
    m_root = CStep();
    m_title = tool.m_name + u"脚本";
    m_comment = tool.m_comment;
    for (int i = 0; i < tool.m_conditions.GetSize(); ++i) {
        const CCondition* condition = tool.m_conditions.GetAt(i);
        const CGCell* cell = CellAt(tool, condition->m_id);
        const CString text = (cell ? cell->m_name : CString()) + u"__" + condition->m_text;
        CString line;
        line.Format(u"%d. %s", i + 1, text);
        m_conditions.push_back(line);
    }
    m_root.m_text = tool.m_name;
    m_root.m_icon = kRootIcon;
    for (POSITION pos = tool.m_recordedCells.GetHeadPosition(); pos;) {
        const CGCell* cell = tool.m_recordedCells.GetNext(pos);
        CStep step = StepOf(*cell);
        for (WORD parentId : cell->m_parents) {
            if (const CGCell* parent = CellAt(tool, parentId))
                step.m_parents.push_back(StepOf(*parent));
        }
        m_root.m_parents.push_back(std::move(step));
    }
    if (m_shown && ViewWindow())
        ViewWindow()(*this, Action::Show);
}

void CDlgToolView::Show() {
    m_shown = true;
    if (ViewWindow())
        ViewWindow()(*this, Action::Show);
}

void CDlgToolView::Hide() {
    m_shown = false;
    if (ViewWindow())
        ViewWindow()(*this, Action::Hide);
}

void HxRefillToolScriptView(const CRecord* tool) {
    if (!g_pToolScriptView)
        return;
    if (tool)
        g_pToolScriptView->Fill(*tool);
    else
        g_pToolScriptView->Hide();
}

void HxDestroyToolScriptView() {
    if (g_pToolScriptView && ViewWindow())
        ViewWindow()(*g_pToolScriptView, CDlgToolView::Action::Destroy);
    delete g_pToolScriptView;
    g_pToolScriptView = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Tool options

void CDlgPropertyTool::OnInitDialog() {
    m_toolNames.clear();
    if (!m_pDoc || m_pDoc->m_tools.IsEmpty()) {
        ChooseTool(-1);
        m_comment = u"当前文档不含工具，\r\n您可复制当前工具！";
        m_focusComment = true;
        return;
    }
    for (POSITION pos = m_pDoc->m_tools.GetHeadPosition(); pos;)
        m_toolNames.push_back(m_pDoc->m_tools.GetNext(pos)->m_name);
    ChooseTool(0);
}

void CDlgPropertyTool::ChooseTool(int row) {
    m_pTool = m_pDoc ? ToolAt(*m_pDoc, row) : nullptr;
    m_toolRow = m_pTool ? row : -1;
    m_conditionTexts.clear();
    m_conditionRow = -1;
    if (!m_pTool) {
        m_name.Empty();
        m_comment.Empty();
        m_conditionComment.Empty();
        m_useDefaultColors = TRUE;
        return;
    }
    for (int i = 0; i < m_pTool->m_conditions.GetSize(); ++i) {
        const CGCell* cell = CellAt(*m_pTool, m_pTool->m_conditions.GetAt(i)->m_id);
        CString line;
        line.Format(u"%d. %s", i + 1, cell ? cell->m_name : CString());
        m_conditionTexts.push_back(line);
    }
    m_name = m_pTool->m_name;
    m_comment = m_pTool->m_comment;
    m_useDefaultColors = m_pTool->m_useDefaultColors != 0 ? TRUE : FALSE;
    ChooseCondition(m_conditionTexts.empty() ? -1 : 0);
}

void CDlgPropertyTool::ChooseCondition(int index) {
    if (!m_pTool || index < 0 || index >= m_pTool->m_conditions.GetSize()) {
        m_conditionRow = -1;
        m_conditionComment.Empty();
        return;
    }
    m_conditionRow = index;
    m_conditionComment = m_pTool->m_conditions.GetAt(index)->m_text;
}

void CDlgPropertyTool::SetName(const CString& name) {
    m_name = name;
    if (!m_pTool)
        return;
    m_pTool->m_name = name;
    if (g_pToolMenu && m_toolRow < g_docToolMenuCount)
        g_pToolMenu->SetItemText(HxToolMenu::kDocumentLabel + 1 + m_toolRow, name);
    if (m_toolRow >= 0 && m_toolRow < int(m_toolNames.size()))
        m_toolNames[size_t(m_toolRow)] = name;
}

void CDlgPropertyTool::SetComment(const CString& comment) {
    m_comment = comment;
    if (!m_pTool)
        return;
    m_pTool->m_comment = comment;
    if (g_pToolMenu && m_toolRow < g_docToolMenuCount)
        g_pToolMenu->SetItemDescription(HxToolMenu::kDocumentLabel + 1 + m_toolRow, comment);
}

void CDlgPropertyTool::SetConditionComment(const CString& comment) {
    m_conditionComment = comment;
    if (m_pTool && m_conditionRow >= 0 && m_conditionRow < m_pTool->m_conditions.GetSize())
        m_pTool->m_conditions.GetAt(m_conditionRow)->m_text = comment;
}

void CDlgPropertyTool::SetDefaultColors(BOOL on) {
    m_useDefaultColors = on ? TRUE : FALSE;
    if (m_pTool)
        m_pTool->m_useDefaultColors = on ? 1 : 0;
}

void CDlgPropertyTool::OnCopy() {
    if (!g_pCurrentTool) {
        HxMessageBox(u"请先在菜单中选择一个自定义工具，然后再复制它到当前文档！", u"复制当前工具",
                     MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!m_pDoc)
        return;
    CRecord* copy = nullptr;
    try {
        copy = g_pCurrentTool->Clone();
    } catch (const CException&) {
        return;
    } catch (const std::bad_alloc&) {
        return;
    }
    // After the chosen tool, or at the head when none is chosen.
    POSITION chosen = m_toolRow >= 0 ? m_pDoc->m_tools.FindIndex(m_toolRow) : nullptr;
    int row = 0;
    if (chosen) {
        m_pDoc->m_tools.InsertAfter(chosen, copy);
        row = m_toolRow + 1;
    } else {
        m_pDoc->m_tools.AddHead(copy);
    }
    m_toolNames.insert(m_toolNames.begin() + row, copy->m_name);
    m_copyText = u"再次复制";
    m_pDoc->RebuildToolMenu();
    m_pDoc->SetModifiedFlag();
    ChooseTool(row);
}

void CDlgPropertyTool::OnDelete() {
    if (!m_pTool || !m_pDoc)
        return;
    if (HxMessageBox(u"删除后不能恢复，是否继续？", u"删除工具", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    POSITION pos = m_pDoc->m_tools.Find(m_pTool);
    if (!pos)
        return;
    // The current tool is forgotten before it goes: nothing may point at it afterwards.
    if (g_pCurrentTool == m_pTool)
        HxSetCurrentTool(nullptr, 0);
    m_pDoc->m_tools.RemoveAt(pos);
    delete m_pTool;
    m_pTool = nullptr;
    m_pDoc->RebuildToolMenu();
    m_pDoc->SetModifiedFlag();
    const int row = m_toolRow;
    if (row >= 0 && row < int(m_toolNames.size()))
        m_toolNames.erase(m_toolNames.begin() + row);
    if (!m_toolNames.empty()) {
        ChooseTool(row < int(m_toolNames.size()) ? row : 0);
        return;
    }
    ChooseTool(-1);
    m_comment = u"当前文档已不含工具！";
}
