// The 3DS model command: a model chosen in the Models folder beside the program with the button
// that turns it, as one undo step; the folder of the last document path; and the model's properties
// edited through its dialog as one undo step.
#include "construct/model_commands.h"

#include "construct/construction.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "model/page.h"
#include "solids/model3ds.h"
#include "view/view_settings.h"

#include <QDir>

#include <algorithm>
#include <utility>

IMPLEMENT_DYNAMIC(CCmdModifyModel3ds, CCmd)

namespace {

// Where the command's file dialog starts: the "Models" folder beside the program, or the program's
// own folder when there is none.
CString ModelsFolder() {
    const CString models = g_installFolder + u"/Models";
    return QDir(models.ToQString()).exists() ? models : g_installFolder;
}

} // namespace

CCmdModifyModel3ds::CCmdModifyModel3ds(const CGModel3ds& before, const CString& name)
    : CCmd(name), m_id(before.m_id), m_scale(before.m_scale), m_style(before.m_style),
      m_hidden(before.m_hidden) {
    std::copy(before.m_center, before.m_center + 3, m_center);
}

BOOL CCmdModifyModel3ds::Exchange() {
    auto* cell = DYNAMIC_DOWNCAST(CGModel3ds, HxFindCell(m_id));
    if (!cell)
        return FALSE;
    for (int i = 0; i < 3; ++i)
        std::swap(m_center[i], cell->m_center[i]);
    std::swap(m_scale, cell->m_scale);
    std::swap(m_style, cell->m_style);
    std::swap(m_hidden, cell->m_hidden);
    return TRUE;
}

CString CHalvixDoc::GetDocumentFolder() {
    const CString& path = g_lastDocumentPath;
    if (path.GetLength() < 5)
        return CString();
    int at = path.ReverseFind(u'\\');
    if (at < 0)
        at = path.ReverseFind(u'/');
    return at <= 0 ? CString() : path.Left(at + 1);
}

BOOL CHalvixDoc::EditModel3ds(CGModel3ds* cell) {
    CGPage* page = g_pCurPage;
    if (!cell || !page || page->FindCell(cell->m_id) != cell)
        return FALSE;
    CDlg3ds dlg;
    dlg.FillFrom(*cell);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    // The model is placed anew, never read again.
    CCmdModifyModel3ds* cmd = new CCmdModifyModel3ds(*cell, u"修改3ds模型属性");
    dlg.WriteTo(*cell);
    const bool same = std::equal(cmd->m_center, cmd->m_center + 3, cell->m_center) &&
                      cmd->m_scale == cell->m_scale && cmd->m_style == cell->m_style &&
                      cmd->m_hidden == cell->m_hidden;
    if (same) {
        delete cmd;
        return FALSE;
    }
    page->m_cmdProcessor.Submit(cmd);
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The command

void CHalvixDoc::AddModelCommands() {
    OnCommandId(ID_3DSMODEL, &CHalvixDoc::On3dsModel);
}

void CHalvixDoc::On3dsModel() {
    if (!g_pCurPage)
        return;
    CFileDialog dlg(TRUE, u"3ds", ModelsFolder() + u"/*.3ds", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    u"3ds Max file (*.3ds)|*.3ds||");
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return;
    CConstruction run(*this);
    if (!run.Reserve(2, 0))
        return;
    auto* model = run.AddCell<CGModel3ds>(dlg.GetPathName(), BYTE(1));
    // Once round, a step of 0.02 a tick, then it stops.
    auto* button = run.AddCell<CGButnAnimation>(CString(u"旋转模型"), model->m_id, 0.0f, 6.283f,
                                                int(CGButnAnimation::kForward), BYTE(0), 0.02f, 0.0f);
    button->m_kind = CGButnAnimation::kSweep;
    run.CommitCells(u"添加3dsmax模型");
}
