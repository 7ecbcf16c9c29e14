// The main window: creation, the message map, the title, the colour button, the pan sliders, the
// document's notifications to the object tree, and closing.
#include "app/main_frame.h"

#include "app/app_look.h"
#include "app/auto_hide_pane.h"
#include "app/halvix_app.h"
#include "app/idle_hook.h"
#include "app/object_icons.h"
#include "app/object_view.h"
#include "app/quick_help.h"
#include "app/ribbon_bar.h"
#include "app/ribbon_icons.h"
#include "app/status_bar.h"
#include "app/tool_dialogs_ui.h"
#include "document/halvix_doc.h"
#include "document/tool_commands.h"
#include "dynamics/button_press.h"
#include "document/neighbour_services.h"
#include "view/halvix_view.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"
#include "view/view_tool_globals.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QSettings>
#include <QStatusTipEvent>
#include <QToolBar>

HxRibbonButton* g_customToolButton = nullptr;
COLORREF g_selectedColor = RGB(0, 0, 0);

const std::vector<HxRibbonColorButton::Color>& HxGalleryColors() {
    static const std::vector<HxRibbonColorButton::Color> colors = {
        {RGB(0, 0, 0), u"黑色"},         {RGB(153, 51, 0), u"褐色"},
        {RGB(51, 51, 0), u"橄榄绿"},     {RGB(0, 51, 0), u"深绿"},
        {RGB(0, 51, 102), u"深灰蓝"},    {RGB(0, 0, 128), u"深蓝"},
        {RGB(51, 51, 153), u"靛蓝"},     {RGB(51, 51, 51), u"灰色-80%"},
        {RGB(128, 0, 0), u"深红"},       {RGB(255, 102, 0), u"桔黄"},
        {RGB(128, 128, 0), u"深黄"},     {RGB(0, 128, 0), u"绿色"},
        {RGB(0, 128, 128), u"蓝绿色"},   {RGB(0, 0, 255), u"蓝色"},
        {RGB(102, 102, 153), u"蓝-灰"},  {RGB(128, 128, 128), u"灰色-50%"},
        {RGB(255, 0, 0), u"红色"},       {RGB(255, 153, 0), u"浅桔黄"},
        {RGB(153, 204, 0), u"酸橙色"},   {RGB(51, 153, 102), u"海绿"},
        {RGB(51, 204, 204), u"宝石蓝"},  {RGB(51, 102, 255), u"浅蓝"},
        {RGB(128, 0, 128), u"紫色"},     {RGB(153, 153, 153), u"灰色-40%"},
        {RGB(255, 0, 255), u"粉红"},     {RGB(255, 204, 0), u"金色"},
        {RGB(255, 255, 0), u"黄色"},     {RGB(0, 255, 0), u"鲜绿"},
        {RGB(0, 255, 255), u"青绿"},     {RGB(0, 204, 255), u"天蓝"},
        {RGB(153, 51, 102), u"梅红"},    {RGB(192, 192, 192), u"灰色-25%"},
        {RGB(255, 153, 204), u"玫瑰红"}, {RGB(255, 204, 153), u"棕黄"},
        {RGB(255, 255, 153), u"浅黄"},   {RGB(204, 255, 204), u"浅绿 "},
        {RGB(204, 255, 255), u"浅青绿"}, {RGB(153, 204, 255), u"淡蓝"},
        {RGB(204, 153, 255), u"淡紫"},   {RGB(255, 255, 255), u"白色"},
    };
    return colors;
}

void HxFillColorGallery(HxRibbonColorButton* button) {
    if (!button)
        return;
    button->RemoveAllColorGroups();
    button->SetColumns(8);
    button->EnableAutomaticButton(u"默认颜色", 0xFFFFFFFF, TRUE, u"使用默认颜色", TRUE, TRUE);
    button->AddColorsGroup(CString(), HxGalleryColors());
}

// ---------------------------------------------------------------------------------------------

CMainFrame::CMainFrame() : m_doc(std::make_unique<CHalvixDoc>()), m_nAppLook(HxReadApplicationLook()) {
    setObjectName(QStringLiteral("MainFrame"));
    HxRegisterObjectIcons();
    m_view = new CHalvixView(this);
    m_view->SetDocument(m_doc.get());
    m_doc->m_pRecentFileList = &m_recentFiles;
    m_doc->m_onTitleChanged = [this](const CString& title) { UpdateTitle(title); };
    m_doc->m_onUpdateViews = [this] { m_view->update(); };
    m_doc->m_onInitialUpdateViews = [this] { OnInitialUpdateViews(); };
    m_doc->m_onFillObjectTree = [this] {
        if (m_wndObjectView)
            m_wndObjectView->FillTree();
    };
    m_recentFiles.SetChangeHandler([this] { UpdateRecentFileItems(); });
    // A page switch needs the focus in the drawing view: a modal dialog, or another window of the
    // program holding the focus, refuses it.
    HxSetViewFocusHandler([this](bool take) {
        if (QApplication::activeModalWidget())
            return false;
        if (take) {
            m_view->setFocus(Qt::OtherFocusReason);
            return true;
        }
        const QWidget* focus = QApplication::focusWidget();
        return !focus || focus->window() == this;
    });
    setCentralWidget(m_view);
    setWindowIcon(HxRibbonIcon(QStringLiteral("app")));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    UpdateTitle(CString());
    resize(1024, 768);

    OnCommandId(ID_APP_EXIT, &CMainFrame::OnAppExit);
    OnCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_WINDOWS_7, &CMainFrame::OnApplicationLook);
    OnUpdateRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_WINDOWS_7, &CMainFrame::OnUpdateApplicationLook);
    OnCommandId(ID_VIEW_MINI, &CMainFrame::OnViewMini);
    OnCommandId(ID_VIEW_COLOR, &CMainFrame::OnViewColor);
    OnCommandId(ID_CUSTOM_TOOL, &CMainFrame::OnCustomTool);
    OnCommandId(ID_SLIDER_TX, &CMainFrame::OnSliderTX);
    OnCommandId(ID_SLIDER_TY, &CMainFrame::OnSliderTY);
    OnCommandId(ID_SLIDER_TZ, &CMainFrame::OnSliderTZ);
    OnCommandId(ID_VIEW_PANEL, &CMainFrame::OnViewPanel);
    OnUpdateId(ID_VIEW_PANEL, &CMainFrame::OnUpdateViewPanel);
    OnCommandId(ID_VIEW_FULLSCREEN, &CMainFrame::OnViewFullScreen);
    OnUpdateId(ID_VIEW_FULLSCREEN, &CMainFrame::OnUpdateViewFullScreen);
    OnCommandId(ID_VIEW_FULLSCREEN_ENTER, &CMainFrame::EnterFullScreen);
    OnCommandId(ID_VIEW_FULLSCREEN_LEAVE, &CMainFrame::LeaveFullScreen);
    OnCommandId(ID_VIEW_ESCAPE, &CMainFrame::OnEscape);
    OnCommandId(ID_VIEW_HIDE_PANES, &CMainFrame::HidePanes);
    OnCommandId(ID_VIEW_SHOW_PANES, &CMainFrame::ShowPanes);
    OnCommandId(ID_VIEW_FULLSCREEN_TOOLBAR, &CMainFrame::OnToggleFullScreenToolBar);
    OnCommandId(ID_QUICK_HELP, &CMainFrame::OnQuickHelp);
    // There is no help file to search: the help finder opens the quick help.
    OnCommandId(ID_HELP_FINDER, &CMainFrame::OnQuickHelp);
    OnCommandId(ID_STATUS_LINK, &CMainFrame::OnStatusLink);
    OnUpdateId(ID_STATUS_LINK, &CMainFrame::OnUpdateStatusLink);
    OnCommandId(ID_VIEW_PAGEUP, &CMainFrame::OnPageUp);
    OnCommandId(ID_VIEW_PAGEDOWN, &CMainFrame::OnPageDown);

    OnMessageId(UM_CELLS_CHANGED, &CMainFrame::OnCellsChanged);
    OnMessageId(UM_PAGES_CHANGED, &CMainFrame::OnPagesChanged);
    OnMessageId(UM_SELECTION_CHANGED, &CMainFrame::OnSelectionChanged);
    OnMessageId(UM_CELL_TEXTS_CHANGED, &CMainFrame::OnCellTextsChanged);
    OnMessageId(UM_REBUILD_OBJECT_TREE, &CMainFrame::OnRebuildObjectTree);
    OnMessageId(UM_QUICKHELP_CLOSED, &CMainFrame::OnQuickHelpClosed);
    OnMessageId(UM_PRESS_BUTTON, &CMainFrame::OnPressButton);

    // Commands go to the view first, then to the document, then to the frame (and the object pane
    // and the application, once they exist).
    AfxGetCommandRouter().SetChain({m_view, m_doc.get(), this});
}

CMainFrame::~CMainFrame() {
    if (m_pQuickHelp)
        delete m_pQuickHelp.data();
    HxSetStatusTextHandler(nullptr);
    HxSetPanSliderHandler(nullptr);
    HxSetViewFocusHandler(nullptr);
    HxSetButtonImageSetter(nullptr);
    if (m_wndObjectView)
        AfxGetCommandRouter().Remove(m_wndObjectView);
    AfxGetCommandRouter().Remove(this);
    AfxGetCommandRouter().Remove(m_doc.get());
    AfxGetCommandRouter().Remove(m_view);
    if (AfxGetMainWnd() == this)
        AfxSetMainWnd(nullptr);
    m_recentFiles.SetChangeHandler(nullptr);
    m_doc->m_onTitleChanged = nullptr;
    m_doc->m_onUpdateViews = nullptr;
    m_doc->m_onInitialUpdateViews = nullptr;
    m_doc->m_onFillObjectTree = nullptr;
    m_doc->m_pRecentFileList = nullptr;
    if (m_wndObjectView)
        m_wndObjectView->SetDocument(nullptr);
    // The tools of the tool sets are the frame's; their buttons go with the ribbon.  Nothing may
    // point at them afterwards.
    if (g_pCurrentTool && g_globalTools.Find(g_pCurrentTool))
        HxSetCurrentTool(nullptr, 0);
    HxDestroyToolScriptView();
    HxInstallRibbonToolMenu(nullptr);
    g_docToolMenuCount = 0;
    HxDeleteRecords(g_globalTools);
    g_toolCommandCount = 0;
    g_toolSetCount = 0;
    g_customToolButton = nullptr;
}

void CMainFrame::StartDocument(const CString& path) {
    if (!path.IsEmpty() && m_doc->OpenDocumentFile(path, FALSE))
        return;
    m_doc->NewDocumentFile();
}

CViewTree* CMainFrame::GetViewTree() const {
    return m_wndObjectView ? m_wndObjectView->GetTree() : nullptr;
}

void CMainFrame::OnInitialUpdateViews() {
    m_view->OnInitialUpdate();
    if (m_wndObjectView)
        m_wndObjectView->FillTree();
}

void CMainFrame::UpdateRecentFileItems() {
    if (!m_wndRibbonBar)
        return;
    for (int i = 0; i < m_recentFiles.GetMaxSize(); ++i) {
        if (HxRibbonBaseElement* item = m_wndRibbonBar->FindByID(ID_FILE_MRU_FILE1 + UINT(i)))
            item->SetVisible(i < m_recentFiles.GetSize());
    }
}

int CMainFrame::OnCreate() {
    m_wndRibbonBar = new HxRibbon(this);
    QString error;
    HxRibbonDefinition rest;
    if (!m_wndRibbonBar->LoadFromResource(QString::fromLatin1(HX_RIBBON_RESOURCE), &error, &rest)) {
        AfxMessageBox(CString::FromQString(error), MB_ICONERROR);
        return -1;
    }
    setMenuWidget(m_wndRibbonBar);

    // The custom-tool button: in panel 1 of the first of the eight categories; the tool sets found
    // under the installation folder's "Tools" are listed under it.
    g_customToolButton = nullptr;
    if (HxRibbonCategory* home = m_wndRibbonBar->GetCategory(m_wndRibbonBar->GetCategoryCount() - 8))
        if (HxRibbonPanel* tools = home->GetPanel(1))
            g_customToolButton = dynamic_cast<HxRibbonButton*>(tools->FindByID(ID_CUSTOM_TOOL));
    HxInstallRibbonToolMenu(g_customToolButton);
    g_docToolMenuCount = 0;
    if (g_customToolButton && !g_installFolder.IsEmpty())
        LoadToolSetFolder(g_installFolder.ToQString() + QStringLiteral("/Tools"));

    // Commands change the image of a button in panel 1 of the first of the eight categories (the
    // line button shows the kind of line the line tool draws).
    HxSetButtonImageSetter([this](UINT id, int image) {
        HxRibbonCategory* home = m_wndRibbonBar->GetCategory(m_wndRibbonBar->GetCategoryCount() - 8);
        HxRibbonPanel* tools = home ? home->GetPanel(1) : nullptr;
        if (HxRibbonBaseElement* button = tools ? tools->FindByID(id) : nullptr) {
            button->SetImageIndex(image, FALSE);
            button->SetImageIndex(image, TRUE);
        }
    });
    HxFillColorGallery(m_wndRibbonBar->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR));
    CreateFullScreenToolBar();
    if (!CreateStatusBar(rest) || !CreateObjectPane())
        return -1;

    m_pSliderTX = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TX);
    m_pSliderTY = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TY);
    m_pSliderTZ = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TZ);
    HxSetPanSliderHandler([this](int, int, int) { UpdatePanSliders(); });
    UpdatePanSliders();

    InstallAccelerators();
    ExplainResourceLinks();
    m_idleHook = new HxIdleHook([this] { OnIdleUpdateCmdUI(); }, this);
    m_recentFiles.ReadList();
    OnApplicationLook(m_nAppLook);
    OnIdleUpdateCmdUI();
    return 0;
}

bool CMainFrame::CreateStatusBar(HxRibbonDefinition& definition) {
    m_wndStatusBar = new HxStatusBar(this);
    m_wndStatusBar->SetImages(m_wndRibbonBar->GetImages());
    m_wndStatusBar->Load(definition.statusBar);
    if (!m_wndStatusBar->GetElement(HX_STATUS_ELEMENT_PAGE)) {
        AfxMessageBox(u"状态栏定义不完整", MB_ICONERROR);
        return false;
    }
    setStatusBar(m_wndStatusBar);
    HxSetStatusTextHandler([this](int pane, const CString& text) {
        // A text the program sets stays when a prompt over it goes.
        if (pane == HX_STATUS_ELEMENT_INFO)
            m_showingPrompt = false;
        if (HxRibbonBaseElement* e = m_wndStatusBar->GetElement(pane))
            e->SetText(text);
    });
    return true;
}

bool CMainFrame::CreateObjectPane() {
    m_wndObjectView = new CObjectView(this);
    m_wndObjectView->SetDocument(m_doc.get());
    m_wndObjectView->GetTree()->SetColorSync([this] { SyncColorButton(); });
    addDockWidget(Qt::LeftDockWidgetArea, m_wndObjectView);
    resizeDocks({m_wndObjectView}, {260}, Qt::Horizontal);
    m_paneAutoHide = new CHxAutoHidePane(this, m_wndObjectView);
    m_paneAutoHide->AddPinButton(m_wndObjectView->GetToolBar());
    std::vector<CCmdTarget*> chain = AfxGetCommandRouter().Chain();
    chain.push_back(m_wndObjectView);
    AfxGetCommandRouter().SetChain(chain);
    return true;
}

void CMainFrame::UpdateTitle(const CString& documentTitle) {
    setWindowTitle((HxDocumentDisplayName(documentTitle) + u" - " + g_appName).ToQString());
    if (CViewTree* tree = GetViewTree())
        tree->SetDocumentTitle(documentTitle);
}

void CMainFrame::OnIdleUpdateCmdUI() {
    if (m_wndRibbonBar)
        m_wndRibbonBar->OnIdleUpdate();
    if (m_wndStatusBar)
        m_wndStatusBar->OnIdleUpdate();
    if (m_wndObjectView)
        m_wndObjectView->OnIdleUpdate();
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ShowPrompt(CString::FromQString(static_cast<QStatusTipEvent*>(event)->tip()));
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::ShowPrompt(const CString& prompt) {
    HxRibbonBaseElement* info = m_wndStatusBar ? m_wndStatusBar->GetElement(HX_STATUS_ELEMENT_INFO) : nullptr;
    if (!info)
        return;
    if (!prompt.IsEmpty()) {
        if (!m_showingPrompt)
            m_textBeforePrompt = info->GetText();
        m_showingPrompt = true;
        info->SetText(prompt);
    } else if (m_showingPrompt) {
        m_showingPrompt = false;
        info->SetText(m_textBeforePrompt);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_doc && !m_doc->SaveModified()) {
        event->ignore();
        return;
    }
    if (m_bFullScreen)
        LeaveFullScreen();
    if (m_pQuickHelp)
        m_pQuickHelp->close();
    SaveWindowState();
    if (CHalvixApp* app = HxGetApp())
        app->SaveCustomState();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        const CString path = CString::FromQString(url.toLocalFile());
        event->acceptProposedAction();
        if (CHalvixApp* app = HxGetApp())
            app->OpenDocumentFile(path);
        else
            m_doc->OpenDocumentFile(path);
        return;
    }
}

void CMainFrame::SaveWindowState() const {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("WindowGeometry"), saveGeometry());
    settings.setValue(QStringLiteral("WindowState"), saveState());
    settings.setValue(QStringLiteral("RibbonMinimized"), m_wndRibbonBar && m_wndRibbonBar->IsMinimized());
    // A folded pane is kept as the dock it folded from (shown) and its edge.
    const bool folded = m_paneAutoHide && m_paneAutoHide->IsAutoHide();
    settings.setValue(QStringLiteral("PaneAutoHide"), folded);
    settings.setValue(QStringLiteral("PaneAutoHideEdge"), folded ? int(m_paneAutoHide->Alignment()) : 0);
}

void CMainFrame::RestoreWindowState() {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    settings.beginGroup(QStringLiteral("Settings"));
    const QByteArray geometry = settings.value(QStringLiteral("WindowGeometry")).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    const QByteArray state = settings.value(QStringLiteral("WindowState")).toByteArray();
    if (!state.isEmpty())
        restoreState(state);
    if (m_wndRibbonBar && settings.value(QStringLiteral("RibbonMinimized"), false).toBool())
        m_wndRibbonBar->SetMinimized(true);
    if (m_paneAutoHide && settings.value(QStringLiteral("PaneAutoHide"), false).toBool()) {
        const int edge = settings.value(QStringLiteral("PaneAutoHideEdge"), 0).toInt();
        const bool known = edge == Qt::LeftDockWidgetArea || edge == Qt::RightDockWidgetArea ||
                           edge == Qt::TopDockWidgetArea || edge == Qt::BottomDockWidgetArea;
        if (m_wndObjectView && m_wndObjectView->isHidden())
            m_wndObjectView->show();
        m_paneAutoHide->EnableAutoHide(known ? Qt::DockWidgetArea(edge) : Qt::NoDockWidgetArea);
    }
    // The stored layout may hold the tab of a pane that no longer folds (it floats now).
    if (m_paneAutoHide && !m_paneAutoHide->IsAutoHide())
        removeToolBar(m_paneAutoHide->TabBar());
}

// ---------------------------------------------------------------------------------------------
// Looks, the ribbon and plain commands

void CMainFrame::OnApplicationLook(UINT id) {
    if (!HxIsApplicationLook(id))
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_nAppLook = id;
    HxApplyLook(id);
    if (m_wndRibbonBar)
        m_wndRibbonBar->ApplyLook(HxGetLook(id));
    if (m_wndStatusBar)
        m_wndStatusBar->ApplyLook(HxGetLook(id));
    if (m_wndObjectView)
        m_wndObjectView->ApplyLook(HxGetLook(id));
    update();
    HxWriteApplicationLook(id);
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI) {
    pCmdUI->SetRadio(m_nAppLook == pCmdUI->m_nID);
}

void CMainFrame::OnViewMini() {
    if (!m_wndRibbonBar)
        return;
    m_wndRibbonBar->ToggleMinimizeState();
    if (!m_wndObjectView)
        return;
    // The object pane follows the ribbon: hidden while it is minimised (a folded pane slides in).
    const bool folded = m_paneAutoHide && m_paneAutoHide->IsAutoHide();
    if (m_wndRibbonBar->IsMinimized()) {
        if (folded)
            m_paneAutoHide->SlideIn(false);
        else if (!m_wndObjectView->isHidden())
            m_wndObjectView->hide();
    } else if (m_wndObjectView->isHidden() && !folded) {
        m_wndObjectView->show();
    }
}

void CMainFrame::OnViewColor() {
    if (!m_wndRibbonBar)
        return;
    if (auto* button = m_wndRibbonBar->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR))
        m_view->SendMessage(UM_APPLY_COLOR, WPARAM(button->GetColor()), 0);
}

// The custom-tool button is a menu: its tool commands, the document's tools and the tool sets
// are its items, and the button runs nothing of its own.
void CMainFrame::OnCustomTool() {}

void CMainFrame::OnAppExit() {
    close();
}

void CMainFrame::OnPageUp() {
    if (CViewTree* tree = GetViewTree())
        tree->SelectPrevPage();
}

void CMainFrame::OnPageDown() {
    if (CViewTree* tree = GetViewTree())
        tree->SelectNextPage();
}

void CMainFrame::OnStatusLink() {
    CString link;
    if (m_wndStatusBar)
        if (auto* e = dynamic_cast<HxRibbonLinkCtrl*>(m_wndStatusBar->FindElement(ID_STATUS_LINK)))
            link = e->GetLink();
    if (link.IsEmpty())
        link = HxResourceCentreUrl();
    HxShellOpen(link);
}

void CMainFrame::ExplainResourceLinks() {
    if (!HxResourceCentreUrl().IsEmpty() || !m_wndRibbonBar || !m_wndStatusBar)
        return;
    std::vector<HxRibbonBaseElement*> found;
    m_wndRibbonBar->GetElementsByID(ID_HELP_PESOURCE, found);
    if (auto* link = dynamic_cast<HxRibbonLinkCtrl*>(m_wndStatusBar->FindElement(ID_STATUS_LINK))) {
        if (!link->GetLink().IsEmpty())
            return;
        found.push_back(link);
    }
    for (HxRibbonBaseElement* e : found)
        e->SetDescription(u"尚未设置资源网站的地址，此命令不可用");
}

void CMainFrame::OnUpdateStatusLink(CCmdUI* pCmdUI) {
    bool any = !HxResourceCentreUrl().IsEmpty();
    if (m_wndStatusBar)
        if (auto* e = dynamic_cast<HxRibbonLinkCtrl*>(m_wndStatusBar->FindElement(ID_STATUS_LINK)))
            any = any || !e->GetLink().IsEmpty();
    pCmdUI->Enable(any);
}

// ---------------------------------------------------------------------------------------------
// The colour button and the pan sliders

void CMainFrame::SyncColorButton() {
    const CGPage* page = g_pCurPage;
    if (!page || page->m_selAll.IsEmpty() || !g_cellMap)
        return;
    const CGCell* cell = g_cellMap->Find(page->m_selAll.GetHead());
    if (!cell)
        return;
    g_selectedColor = cell->m_color.ToColorRef();
    if (m_wndRibbonBar)
        if (auto* button = m_wndRibbonBar->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR))
            button->SetColor(g_selectedColor);
}

void CMainFrame::UpdatePanSliders() {
    int values[3];
    PanSliderValues(values);
    HxRibbonSlider* sliders[3] = {m_pSliderTX, m_pSliderTY, m_pSliderTZ};
    for (int i = 0; i < 3; ++i)
        if (sliders[i])
            sliders[i]->SetPos(values[i]);
}

void CMainFrame::OnSliderTX() {
    if (!m_pSliderTX)
        return;
    g_viewTransX = float(m_pSliderTX->GetPos()) / 10.0f;
    m_view->RenderScene();
}

void CMainFrame::OnSliderTY() {
    if (!m_pSliderTY)
        return;
    g_viewTransY = float(m_pSliderTY->GetPos()) / 10.0f;
    m_view->RenderScene();
}

void CMainFrame::OnSliderTZ() {
    if (!m_pSliderTZ)
        return;
    g_viewTransZ = float(m_pSliderTZ->GetPos()) / 10.0f - 50.0f;
    m_view->RenderScene();
}

// ---------------------------------------------------------------------------------------------
// The document's notifications, for the object tree

LRESULT CMainFrame::OnCellsChanged(WPARAM wParam, LPARAM lParam) {
    CViewTree* tree = GetViewTree();
    if (!tree)
        return 0;
    if (lParam == 0)
        tree->AddCellItems(int(wParam));
    else
        tree->UpdateCellItems(reinterpret_cast<const CList<WORD, WORD>*>(lParam), wParam != 0);
    return 0;
}

LRESULT CMainFrame::OnPagesChanged(WPARAM wParam, LPARAM lParam) {
    if (CViewTree* tree = GetViewTree())
        tree->UpdatePageItems(int(wParam), reinterpret_cast<CGPage*>(lParam));
    return 0;
}

LRESULT CMainFrame::OnSelectionChanged(WPARAM wParam, LPARAM lParam) {
    // A cleared selection (a page switch, a transform, undo) leaves nothing the information pane's
    // "选择…" text could still name; a new selection writes its own text afterwards.
    if (wParam == 2 && m_wndStatusBar)
        if (HxRibbonBaseElement* info = m_wndStatusBar->GetElement(HX_STATUS_ELEMENT_INFO))
            info->SetText(u"就绪");
    SyncColorButton();
    if (CViewTree* tree = GetViewTree())
        tree->SyncChecks(int(wParam), UINT(lParam));
    return 0;
}

LRESULT CMainFrame::OnCellTextsChanged(WPARAM wParam, LPARAM lParam) {
    if (CViewTree* tree = GetViewTree())
        tree->UpdateItemTexts(int(wParam), UINT(lParam));
    return 0;
}

LRESULT CMainFrame::OnRebuildObjectTree(WPARAM, LPARAM) {
    if (CViewTree* tree = GetViewTree())
        tree->Rebuild();
    return 1;
}
