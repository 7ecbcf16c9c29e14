// The main window.
#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/app_look.h"
#include "app/idle_hook.h"
#include "app/ribbon_bar.h"
#include "app/ribbon_icons.h"
#include "app/status_bar.h"
#include "document/halvix_doc.h"
#include "view/halvix_view.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>

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
    m_view = new CHalvixView(this);
    m_view->SetDocument(m_doc.get());
    m_doc->m_pRecentFileList = &m_recentFiles;
    m_doc->m_onTitleChanged = [this](const CString& title) { UpdateTitle(title); };
    m_doc->m_onUpdateViews = [this] { m_view->update(); };
    m_doc->m_onInitialUpdateViews = [this] { m_view->OnInitialUpdate(); };
    m_recentFiles.SetChangeHandler([this] { UpdateRecentFileItems(); });
    setCentralWidget(m_view);
    setWindowIcon(HxRibbonIcon(QStringLiteral("app")));
    UpdateTitle(CString());
    resize(1024, 768);

    OnCommandId(ID_APP_ABOUT, &CMainFrame::OnAppAbout);
    OnCommandId(ID_APP_EXIT, &CMainFrame::OnAppExit);
    OnCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_WINDOWS_7, &CMainFrame::OnApplicationLook);
    OnUpdateRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_WINDOWS_7, &CMainFrame::OnUpdateApplicationLook);
    OnCommandId(ID_VIEW_MINI, &CMainFrame::OnViewMini);
    OnCommandId(ID_VIEW_COLOR, &CMainFrame::OnViewColor);
    OnCommandId(ID_CUSTOM_TOOL, &CMainFrame::OnCustomTool);
    OnCommandId(ID_SLIDER_TX, &CMainFrame::OnSliderTX);
    OnCommandId(ID_SLIDER_TY, &CMainFrame::OnSliderTY);
    OnCommandId(ID_SLIDER_TZ, &CMainFrame::OnSliderTZ);

    // Commands go to the view first, then to the document, then to the frame.
    AfxGetCommandRouter().SetChain({m_view, m_doc.get(), this});
}

CMainFrame::~CMainFrame() {
    HxSetStatusTextHandler(nullptr);
    HxSetPanSliderHandler(nullptr);
    AfxGetCommandRouter().Remove(this);
    AfxGetCommandRouter().Remove(m_doc.get());
    AfxGetCommandRouter().Remove(m_view);
    m_recentFiles.SetChangeHandler(nullptr);
    m_doc->m_onTitleChanged = nullptr;
    m_doc->m_onUpdateViews = nullptr;
    m_doc->m_onInitialUpdateViews = nullptr;
    m_doc->m_pRecentFileList = nullptr;
    g_customToolButton = nullptr;
}

void CMainFrame::StartDocument(const CString& path) {
    if (!path.IsEmpty() && m_doc->OpenDocumentFile(path, FALSE))
        return;
    m_doc->NewDocumentFile();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_doc && !m_doc->SaveModified()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
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

    // The custom-tool button: in panel 1 of the first of the eight categories.
    g_customToolButton = nullptr;
    if (HxRibbonCategory* home = m_wndRibbonBar->GetCategory(m_wndRibbonBar->GetCategoryCount() - 8))
        if (HxRibbonPanel* tools = home->GetPanel(1))
            g_customToolButton = dynamic_cast<HxRibbonButton*>(tools->FindByID(ID_CUSTOM_TOOL));

    HxFillColorGallery(m_wndRibbonBar->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR));

    m_wndStatusBar = new HxStatusBar(this);
    m_wndStatusBar->SetImages(m_wndRibbonBar->GetImages());
    m_wndStatusBar->Load(rest.statusBar);
    if (!m_wndStatusBar->GetElement(HX_STATUS_ELEMENT_PAGE)) {
        AfxMessageBox(u"状态栏定义不完整", MB_ICONERROR);
        return -1;
    }
    setStatusBar(m_wndStatusBar);
    HxSetStatusTextHandler([this](int pane, const CString& text) {
        if (HxRibbonBaseElement* e = m_wndStatusBar->GetElement(pane))
            e->SetText(text);
    });

    m_pSliderTX = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TX);
    m_pSliderTY = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TY);
    m_pSliderTZ = m_wndRibbonBar->FindByIDAs<HxRibbonSlider>(ID_SLIDER_TZ);
    HxSetPanSliderHandler([this](int, int, int) { UpdatePanSliders(); });
    UpdatePanSliders();

    m_idleHook = new HxIdleHook([this] { OnIdleUpdateCmdUI(); }, this);
    m_recentFiles.ReadList();
    OnApplicationLook(m_nAppLook);
    OnIdleUpdateCmdUI();
    return 0;
}

void CMainFrame::UpdateTitle(const CString& documentTitle) {
    CString title = documentTitle.IsEmpty() ? CString(u"[未命名]") : documentTitle;
    setWindowTitle((title + u" - " + g_appName).ToQString());
}

void CMainFrame::OnIdleUpdateCmdUI() {
    if (m_wndRibbonBar)
        m_wndRibbonBar->OnIdleUpdate();
    if (m_wndStatusBar)
        m_wndStatusBar->OnIdleUpdate();
}

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
    update();
    HxWriteApplicationLook(id);
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI) {
    pCmdUI->SetRadio(m_nAppLook == pCmdUI->m_nID);
}

void CMainFrame::OnViewMini() {
    if (m_wndRibbonBar)
        m_wndRibbonBar->ToggleMinimizeState();
    // The object pane follows the ribbon (hidden while it is minimised) once the pane exists.
}

void CMainFrame::OnViewColor() {
    if (!m_wndRibbonBar)
        return;
    if (auto* button = m_wndRibbonBar->FindByIDAs<HxRibbonColorButton>(ID_VIEW_COLOR))
        m_view->SendMessage(UM_APPLY_COLOR, WPARAM(button->GetColor()), 0);
}

// The custom-tool button only carries the tool-set menu.
void CMainFrame::OnCustomTool() {}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CMainFrame::OnAppExit() {
    close();
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
