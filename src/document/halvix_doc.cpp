// CHalvixDoc: new and closed documents, the pages it owns, the initial update after new and open,
// the ".gf" open and save-copy commands, the upgrade of older pages and the document-wide
// display commands.
#include "document/halvix_doc.h"

#include "document/doc_globals.h"
#include "document/neighbour_services.h"
#include "model/page.h"
#include "view/gl_context.h"
#include "view/texture_loading.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <QFileInfo>

#include <GL/gl.h>

#include <ctime>

IMPLEMENT_DYNCREATE(CHalvixDoc, CDocument)

const char16_t* const CHalvixDoc::kDefaultDescription = u"（文档说明：）\r\n\r\n\r\n\r\n（版权信息：）";

namespace {

// The status bar pane that shows the current page.
constexpr int kPagePane = 2;

bool IsGfPath(const CString& path) {
    return QFileInfo(path.ToQString()).suffix().compare(QStringLiteral("gf"), Qt::CaseInsensitive) == 0;
}

// The path without the extension of a lesson's file (".hvx" or ".gf", in any case); any other path
// whole, as the dot of a name like "第1.2节" starts no extension of a lesson.
CString WithoutLessonExtension(const CString& path) {
    const QFileInfo info(path.ToQString());
    const QString suffix = info.suffix();
    const bool lesson = suffix.compare(QStringLiteral("hvx"), Qt::CaseInsensitive) == 0 ||
                        suffix.compare(QStringLiteral("gf"), Qt::CaseInsensitive) == 0;
    // A name that is its extension alone (".hvx") keeps it: there is no name to propose without it.
    if (!lesson || info.fileName().size() == suffix.size() + 1)
        return path;
    return path.Left(path.GetLength() - int(suffix.size()) - 1);
}

void ResetViewport() {
    if (HxMakeGlCurrent()) {
        glViewport(0, 0, g_clientWidth, g_clientHeight);
        glGetIntegerv(GL_VIEWPORT, g_viewport);
    } else {
        g_viewport[0] = 0;
        g_viewport[1] = 0;
        g_viewport[2] = g_clientWidth;
        g_viewport[3] = g_clientHeight;
    }
}

} // namespace

CHalvixDoc::CHalvixDoc() {
    m_strFilterName = u"Halvix文档(*.hvx)";
    m_strDefaultExt = u".hvx";
    AddTransformCommands();
    AddConstructCommands();
    AddCalculationCommands();
    AddMeasureCommands();
    AddButtonCommands();
    AddHullCommands();
    AddStaticFigureCommands();
    AddRevolutionCommands();
    AddFaceCircleCommands();
    AddPointCommands();
    AddPrismCommands();
    AddPyramidCommands();
    AddModelCommands();
    AddComponentCommands();
    AddOptionsCommands();
    AddVectorCommands();
    AddEditCommands();
    AddDocumentConstructCommands();
    AddSelectionCommands();
    AddColorCommands();
    AddPolygonCommands();
    AddGalleryCommands();
    AddToolCommands();
    OnCommandId(ID_EDIT_PROPERTY, &CHalvixDoc::OnEditProperties);
    OnUpdateId(ID_EDIT_PROPERTY, &CHalvixDoc::OnUpdateEditProperties);
    OnCommandId(ID_FILE_SAVE_GF, &CHalvixDoc::OnFileSaveGf);
    OnCommandId(ID_FILE_OPEN_ALL, &CHalvixDoc::OnFileOpenAll);
    OnCommandId(ID_EDIT_SHOWOBJECT, &CHalvixDoc::OnShowAllObjects);
    OnUpdateId(ID_EDIT_SHOWOBJECT, &CHalvixDoc::OnUpdateShowAllObjects);
    OnCommandId(ID_CREATE_PAGE, &CHalvixDoc::OnNewPage);
    OnUpdateId(ID_VIEW_PAGEDOWN, &CHalvixDoc::OnUpdateNextPage);
    OnUpdateId(ID_VIEW_PAGEUP, &CHalvixDoc::OnUpdatePrevPage);
    OnCommandId(ID_EDIT_DELETE, &CHalvixDoc::OnEditDelete);
    OnUpdateId(ID_EDIT_DELETE, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_COPY, &CHalvixDoc::OnEditCopy);
    OnUpdateId(ID_EDIT_COPY, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_CUT, &CHalvixDoc::OnEditCut);
    OnUpdateId(ID_EDIT_CUT, &CHalvixDoc::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_PASTE, &CHalvixDoc::OnEditPaste);
    OnUpdateId(ID_EDIT_PASTE, &CHalvixDoc::OnUpdateEditPaste);
}

CHalvixDoc::~CHalvixDoc() {
    DeleteContents();
}

CGPage* CHalvixDoc::GetPage(int index) const {
    POSITION pos = m_pages.FindIndex(index);
    return pos ? m_pages.GetAt(pos) : nullptr;
}

CGPage* CHalvixDoc::AppendPage(const CString& title) {
    auto* page = new CGPage;
    ++m_pageCounter;
    page->m_pageId = m_pageCounter;
    page->m_title = title;
    m_pages.AddTail(page);
    return page;
}

void CHalvixDoc::MakePageCurrent(CGPage* page) {
    HxBeginRecomputePass();
    g_pCurPage = page;
    g_cellMap = page ? &page->m_cells : nullptr;
    if (page)
        page->RebuildVertexArray();
}

void CHalvixDoc::ReloadProjection(int type) {
    g_projectionType = type;
    if (HxMakeGlCurrent()) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        SetProjection(type);
        glGetDoublev(GL_PROJECTION_MATRIX, g_projectionMatrix);
        glMatrixMode(GL_MODELVIEW);
    } else {
        ComputeProjectionMatrix(type, g_projectionMatrix);
    }
}

// ---------------------------------------------------------------------------------------------
// New and closed documents

BOOL CHalvixDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    g_lastDocumentPath.Empty();
    m_screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_formatVersion = kCurrentVersion;
    m_author = g_userName;
    m_description = kDefaultDescription;
    m_reservedInt = 0;
    m_reservedFloat = 0.0f;
    m_storeMtfImages = 0;
    g_storeMtfImages = 0;
    m_reservedText.Empty();
    // A new document has no images of its own: its textures are the installation's, as at a start.
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i)
        HxRestoreBuiltInTexture(i);
    LoadSaveSettings(false);
    HxSrand(unsigned(std::time(nullptr)));
    g_viewLocked = 0;
    g_dragLocked = 0;
    g_viewTransX = 0.0f;
    g_viewTransY = 0.0f;
    g_viewTransZ = -50.0f;
    g_unitLength = 0.05f;
    g_coordDisplayFlags = 0;
    SetViewRotation(-75.0, -15.0);

    m_pageCounter = 0;
    CGPage* page = AppendPage(u"第一页");
    page->m_projection = 1;
    MakePageCurrent(page);
    ReloadProjection(1);
    ResetViewport();
    return TRUE;
}

void CHalvixDoc::DeleteContents() {
    ForgetDocumentTools();
    HxDeleteRecords(m_tools);
    while (!m_pages.IsEmpty())
        delete m_pages.RemoveHead();
    g_traceImageStale = 1;
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    g_tracing = FALSE;
    ResetViewport();
}

void CHalvixDoc::OnInitialUpdate() {
    if (m_pages.IsEmpty()) {
        m_pageCounter = 0;
        AppendPage(u"第一页");
    }
    if (!g_pCurPage)
        MakePageCurrent(m_pages.GetHead());
    if (m_formatVersion < kCurrentVersion)
        UpgradePagesToCurrentVersion();
    CGPage* page = g_pCurPage;
    page->m_cmdProcessor.SetMenuOwner(AfxGetMainWnd(), ID_EDIT_UNDO, ID_EDIT_REDO);
    page->m_cmdProcessor.UpdateMenu();
    HxSetStatusText(kPagePane, CString(u"当前页：") + page->m_title);
    RebuildToolMenu();
}

void CHalvixDoc::UpgradePagesToCurrentVersion() {
    for (POSITION pos = m_pages.GetHeadPosition(); pos;)
        m_pages.GetNext(pos)->UpgradeFromVersion(m_formatVersion);
    UpdateAllViews();
    SetModifiedFlag();
    m_formatVersion = kCurrentVersion;
}

// ---------------------------------------------------------------------------------------------
// Opening and saving

BOOL CHalvixDoc::OpenDocumentFile(const CString& path, BOOL askToSave) {
    if (!IsGfPath(path)) {
        if (!CDocument::OpenDocumentFile(path, askToSave))
            return FALSE;
        g_lastDocumentPath = GetPathName();
        return TRUE;
    }
    if (askToSave && !SaveModified())
        return FALSE;
    const CString earlier = g_lastDocumentPath;
    g_lastDocumentPath = CString::FromQString(QFileInfo(path.ToQString()).absoluteFilePath());
    if (!ReadGfFile(path)) {
        g_lastDocumentPath = earlier;
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    SetPathName(path);
    // A later Save writes a ".hvx" file beside the ".gf" file; when one is there already (the
    // document the copy was made from, say), it asks first.
    SetPathName(path.Left(path.GetLength() - 3) + u".hvx", FALSE);
    SetPathNotChosen();
    g_lastDocumentPath = path;
    InitialUpdateAllViews();
    return TRUE;
}

BOOL CHalvixDoc::OnOpenDocument(const CString& path) {
    const CString earlier = g_lastDocumentPath;
    g_lastDocumentPath = CString::FromQString(QFileInfo(path.ToQString()).absoluteFilePath());
    if (CDocument::OnOpenDocument(path))
        return TRUE;
    g_lastDocumentPath = earlier;
    return FALSE;
}

BOOL CHalvixDoc::ReadGfFile(const CString& path) {
    CFile file;
    CFileException fileError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &fileError)) {
        ReportSaveLoadException(path, &fileError, FALSE);
        return FALSE;
    }
    return ReadGfDocument(file, path);
}

BOOL CHalvixDoc::DoSave(const CString& path, BOOL replace) {
    if (!CDocument::DoSave(path, replace))
        return FALSE;
    g_lastDocumentPath = GetPathName();
    return TRUE;
}

void CHalvixDoc::OnFileOpenAll() {
    CFileDialog dlg(TRUE, u"gf", CString(), 0, u"3D图形文档|*.hvx;*.gf||");
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return;
    OpenDocumentFile(dlg.GetPathName());
}

void CHalvixDoc::OnFileSaveGf() {
    const CString path = GetPathName();
    const BOOL notChosen = IsPathNotChosen();
    const CString suggested = WithoutLessonExtension(path);
    CFileDialog dlg(FALSE, u"gf", suggested, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER,
                    u"Halvix文档(*.gf)|*.gf||");
    dlg.m_nDocumentType = 1;
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return;
    BOOL saved;
    {
        CGfFormatScope gfLayout;
        saved = DoSave(dlg.GetPathName(), TRUE);
    }
    // The document stays the ".hvx" file it was; an untitled one takes the copy's name.
    if (saved && !path.IsEmpty()) {
        SetPathName(path, FALSE);
        SetPathNotChosen(notChosen);
    }
}

// ---------------------------------------------------------------------------------------------
// Document-wide display commands

void CHalvixDoc::OnShowAllObjects() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->ClearSelection();
    for (POSITION pos = page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page->m_cells.GetNextAssoc(pos, id, cell);
        if (cell->m_hidden != 0) {
            cell->m_hidden = 0;
            cell->m_selected = true;
        }
    }
    page->ResetSelectionLists();
    if (CWnd* frame = AfxGetMainWnd())
        frame->SendMessage(UM_SELECTION_CHANGED, 11, kPageTreeItemBase + page->m_pageId);
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::OnUpdateShowAllObjects(CCmdUI* pCmdUI) {
    BOOL anyHidden = FALSE;
    if (CGPage* page = g_pCurPage) {
        for (POSITION pos = page->m_cells.GetStartPosition(); pos && !anyHidden;) {
            WORD id;
            CGCell* cell;
            page->m_cells.GetNextAssoc(pos, id, cell);
            anyHidden = cell->m_hidden != 0;
        }
    }
    pCmdUI->Enable(anyHidden);
}

void CHalvixDoc::ApplyBackgroundColor(BOOL currentPageOnly) {
    if (currentPageOnly) {
        if (g_pCurPage)
            g_pCurPage->ApplyDefaultColors();
    } else {
        for (POSITION pos = m_pages.GetHeadPosition(); pos;)
            m_pages.GetNext(pos)->ApplyDefaultColors();
    }
    if (HxMakeGlCurrent())
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    SetModifiedFlag();
    UpdateAllViews();
}

void CHalvixDoc::RefreshAllPages() {
    for (POSITION pos = m_pages.GetHeadPosition(); pos;)
        m_pages.GetNext(pos)->InvalidateTextImages();
}
