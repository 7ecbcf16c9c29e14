// The drawing view.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "model/page.h"
#include "view/gl_context.h"
#include "view/media_player.h"
#include "view/context_menus.h"
#include "view/glyph_lists.h"
#include "view/view_accelerators.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_tool_globals.h"

#include <GL/gl.h>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QScreen>

#include <algorithm>
#include <cmath>

CHalvixView* g_pView = nullptr;

namespace {
constexpr UINT_PTR kAnimationTimer = 1;
constexpr int kPageStatusPane = 2;
} // namespace

CHalvixView::CHalvixView(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(RequiredFormat());
    // A frame drawn by RenderSceneNow outside painting must survive until it is shown.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMinimumSize(200, 150);
    setFocusPolicy(Qt::StrongFocus);
    g_pView = this;
    HxSetDrawingViewWindow(this);

    OnCommandId(ID_VIEW_TSFM_RESET, &CHalvixView::ResetView);
    OnCommandId(ID_VIEW_PROJ_PERSPEC, &CHalvixView::SetProjectionCentral);
    OnCommandId(ID_VIEW_PROJ_ID_ORTHO, &CHalvixView::SetProjectionOrthographic);
    OnCommandId(ID_VIEW_PROJ_ID_XIEERCE, &CHalvixView::SetProjectionOblique);
    OnUpdateRange(ID_VIEW_PROJ_PERSPEC, ID_VIEW_PROJ_ID_XIEERCE, &CHalvixView::OnUpdateProjection);
    OnCommandId(ID_VIEW_ZOOM_OUT, &CHalvixView::OnZoomOut);
    OnCommandId(ID_ANIMA_XIAO, &CHalvixView::OnZoomOut);
    OnCommandId(ID_VIEW_ZOOM_IN, &CHalvixView::OnZoomIn);
    OnCommandId(ID_ANIMA_DA, &CHalvixView::OnZoomIn);
    OnCommandId(ID_VIEW_PAN_DOWN, &CHalvixView::OnPanDown);
    OnCommandId(ID_VIEW_PAN_UP, &CHalvixView::OnPanUp);
    OnCommandId(ID_VIEW_PAN_LEFT, &CHalvixView::OnPanLeft);
    OnCommandId(ID_VIEW_PAN_RIGHT, &CHalvixView::OnPanRight);
    OnCommandId(ID_VIEW_COLOR_RINGS, &CHalvixView::OnToggleColorRings);
    OnCommandId(ID_FILE_SAVE_AS, &CHalvixView::OnFileSaveAs);
    OnUpdateId(ID_FILE_SAVE_AS, &CHalvixView::OnUpdateFileSaveAs);
    OnCommandId(ID_EDIT_PRINTSCR, &CHalvixView::OnCopyFullImage);
    OnUpdateId(ID_EDIT_PRINTSCR, &CHalvixView::OnUpdateCopyFullImage);

    // Tools, box select, screenshots, snapshots.
    OnCommandId(ID_EDIT_SELECT, &CHalvixView::OnArrowTool);
    OnUpdateId(ID_EDIT_SELECT, &CHalvixView::OnUpdateArrowTool);
    OnCommandId(ID_CREATE_POINT, &CHalvixView::OnPointTool);
    OnCommandId(ID_CREATE_LINE_TOOL, &CHalvixView::OnLineTool);
    OnCommandId(ID_CREATE_POLYGON, &CHalvixView::OnFaceTool);
    OnCommandId(ID_CREATE_CIRCLE, &CHalvixView::OnCircleTool);
    OnCommandId(ID_CREATE_PLAY, &CHalvixView::OnAnimationOrMedia);
    for (UINT id :
         {ID_CREATE_POINT, ID_CREATE_LINE_TOOL, ID_CREATE_POLYGON, ID_CREATE_CIRCLE, ID_CUSTOM_TOOL_BUTTON})
        OnUpdateId(id, &CHalvixView::OnUpdateToolButton);
    OnCommandId(ID_EDIT_SELBOX, &CHalvixView::OnBoxSelect);
    OnUpdateId(ID_EDIT_SELBOX, &CHalvixView::OnUpdateBoxSelect);
    OnCommandId(ID_EDIT_COPYBIT, &CHalvixView::OnRegionScreenshot);
    OnCommandId(ID_VIEW_GRID3, &CHalvixView::OnToggleGrid);
    OnUpdateId(ID_VIEW_GRID3, &CHalvixView::OnUpdateToggleGrid);
    OnCommandId(ID_VIEW_ERASE, &CHalvixView::OnEraseTraces);
    OnUpdateId(ID_VIEW_ERASE, &CHalvixView::OnUpdateEraseTraces);
    OnCommandId(ID_VIEW_SNAPSHOT, &CHalvixView::OnSnapshot);
    OnCommandId(ID_INK_ERASE, &CHalvixView::OnEraseInk);
    OnUpdateId(ID_INK_ERASE, &CHalvixView::OnUpdateEraseInk);
    OnCommandId(ID_CREATE_INKMARKS, &CHalvixView::OnInkTool);
    OnUpdateId(ID_CREATE_INKMARKS, &CHalvixView::OnUpdateInkTool);
    OnCommandId(ID_INK_SAVE, &CHalvixView::OnSaveInk);
    OnUpdateId(ID_INK_SAVE, &CHalvixView::OnUpdateEraseInk);

    // Undo and redo of the current page, and the colour of the ribbon's colour button.
    OnCommandId(ID_EDIT_UNDO, &CHalvixView::OnEditUndo);
    OnUpdateId(ID_EDIT_UNDO, &CHalvixView::OnUpdateEditUndo);
    OnCommandId(ID_EDIT_REDO, &CHalvixView::OnEditRedo);
    OnUpdateId(ID_EDIT_REDO, &CHalvixView::OnUpdateEditRedo);
    OnMessageId(UM_VIEW_APPLY_COLOR, &CHalvixView::OnApplyColor);
    OnCommandId(ID_CREATE_BASE_2D, &CHalvixView::OnCreateAxes2D);
    OnMessageId(UM_GOTO_PAGE, &CHalvixView::OnGoToPage);
    OnMessageId(UM_PRESS_BUTTON, &CHalvixView::OnPressButton);
    OnMessageId(UM_MATERIAL_CHANGED, &CHalvixView::OnMaterialChanged);

    // Animation and view options.
    OnCommandId(ID_ANIMA_PLAYSTOP, &CHalvixView::ToggleAnimation);
    OnUpdateId(ID_ANIMA_PLAYSTOP, &CHalvixView::OnUpdateAnimation);
    OnCommandRange(ID_ACTION_BUTTON_FIRST, ID_ACTION_BUTTON_LAST, &CHalvixView::OnActionButton);
    OnCommandRange(ID_ROT_XPLUS, ID_ROT_YPLUS, &CHalvixView::OnRotateAxis);
    OnUpdateRange(ID_ROT_XPLUS, ID_ROT_YPLUS, &CHalvixView::OnUpdateRotateAxis);
    OnCommandId(ID_KEY_LEFT, &CHalvixView::OnKeyLeft);
    OnCommandId(ID_KEY_RIGHT, &CHalvixView::OnKeyRight);
    OnCommandId(ID_KEY_UP, &CHalvixView::OnKeyUp);
    OnCommandId(ID_KEY_DOWN, &CHalvixView::OnKeyDown);
    OnCommandId(ID_KEY_CTRL_LEFT, &CHalvixView::OnCtrlKeyLeft);
    OnCommandId(ID_KEY_CTRL_RIGHT, &CHalvixView::OnCtrlKeyRight);
    OnCommandId(ID_KEY_CTRL_UP, &CHalvixView::OnCtrlKeyUp);
    OnCommandId(ID_KEY_CTRL_DOWN, &CHalvixView::OnCtrlKeyDown);
    OnCommandId(ID_VIEW_GRID, &CHalvixView::OnToggleCoordSystem);
    OnUpdateId(ID_VIEW_GRID, &CHalvixView::OnUpdateCoordSystem);
    OnCommandId(ID_VIEW_SNAP, &CHalvixView::OnToggleSnap);
    OnUpdateId(ID_VIEW_SNAP, &CHalvixView::OnUpdateSnap);
    OnCommandId(ID_VIEW_COORDLINE, &CHalvixView::OnToggleCoordLines);
    OnUpdateId(ID_VIEW_COORDLINE, &CHalvixView::OnUpdateCoordLines);
    OnCommandId(ID_VIEW_PORT, &CHalvixView::OnThreeView);
    OnUpdateId(ID_VIEW_PORT, &CHalvixView::OnUpdateThreeView);
    OnCommandId(ID_VIEW_PORT_F, &CHalvixView::OnFrontView);
    OnCommandId(ID_VIEW_PORT_L, &CHalvixView::OnLeftView);
    OnCommandId(ID_VIEW_PORT_T, &CHalvixView::OnTopView);
    OnCommandId(ID_VIEW_PORT_TT, &CHalvixView::OnView2D);
    OnCommandId(ID_VIEW_3VIEWSHOWPER, &CHalvixView::OnThreeViewDirect);
    OnUpdateId(ID_VIEW_3VIEWSHOWPER, &CHalvixView::OnUpdateThreeViewDirect);
    OnCommandId(ID_VIEW_LOCK, &CHalvixView::OnViewLock);
    OnUpdateId(ID_VIEW_LOCK, &CHalvixView::OnUpdateViewLock);
    OnCommandId(ID_VIEW_LOCKTOW, &CHalvixView::OnDragLock);
    OnUpdateId(ID_VIEW_LOCKTOW, &CHalvixView::OnUpdateDragLock);
    OnCommandId(ID_VIEW_TRACKBALL, &CHalvixView::OnToggleTrackball);
    OnUpdateId(ID_VIEW_TRACKBALL, &CHalvixView::OnUpdateTrackball);
    OnCommandId(ID_VIEW_BORDERS, &CHalvixView::OnToggleBorders);
    OnUpdateId(ID_VIEW_BORDERS, &CHalvixView::OnUpdateBorders);
    OnCommandId(ID_CREATE_TEXT_MTF, &CHalvixView::OnColorImageText);
    OnUpdateId(ID_CREATE_TEXT_MTF, &CHalvixView::OnUpdateColorImageText);
    OnCommandId(ID_EDIT_RETEXTURE, &CHalvixView::OnReplaceTexture);
    OnCommandId(ID_CREATE_IMAGE, &CHalvixView::OnInsertPicture);
    OnCommandId(ID_CREATE_TEXT, &CHalvixView::OnPasteBitmapText);
    OnUpdateId(ID_CREATE_TEXT, &CHalvixView::OnUpdatePasteBitmapText);
    OnCommandId(ID_CREATE_TEXT3, &CHalvixView::OnImportSlides);
    OnCommandId(ID_EDIT_PREFERONCES, &CHalvixView::OnEditPreferences);
    // Printing.
    OnCommandId(ID_FILE_PRINT, &CHalvixView::OnFilePrint);
    OnUpdateId(ID_FILE_PRINT, &CHalvixView::OnUpdateFilePrint);
    OnCommandId(ID_FILE_PRINT_DIRECT, &CHalvixView::OnFilePrintDirect);
    OnUpdateId(ID_FILE_PRINT_DIRECT, &CHalvixView::OnUpdateFilePrint);
    OnCommandId(ID_FILE_PRINT_PREVIEW, &CHalvixView::OnFilePrintPreview);
    OnUpdateId(ID_FILE_PRINT_PREVIEW, &CHalvixView::OnUpdateFilePrint);
    // The media player.
    OnCommandId(ID_VIEW_MEDIA, &CHalvixView::OnMediaPlay);
    OnCommandId(ID_VIEW_MEDIA_SETTINGS, &CHalvixView::OnMediaSettings);
    OnCommandId(ID_VIEW_MEDIA_CTRL, &CHalvixView::OnToggleMediaControl);
    OnUpdateId(ID_VIEW_MEDIA_CTRL, &CHalvixView::OnUpdateMediaControl);
    OnCommandId(ID_VIEW_MEDIA_CLOSE, &CHalvixView::CloseMedia);
    OnUpdateId(ID_VIEW_MEDIA_CLOSE, &CHalvixView::OnUpdateMediaClose);
    OnUpdateId(ID_EDIT_PREFERONCES, &CHalvixView::OnUpdateEditPreferences);
    // A command outside the view (the line commands with nothing selected) makes a mouse tool
    // current: the drawing in progress is dropped, as the tool buttons drop it.
    HxSetMouseToolSelector([this](int tool) {
        CloseRunningTool();
        ClearHover();
        g_mouseTool = tool;
        m_toolStage = 0;
        m_polyVertexCount = 0;
        m_curPoint[0] = m_curPoint[1] = m_curPoint[2] = -1000.0;
        UpdateToolCursor();
    });
    HxInstallViewContextMenus(this);
    // Moves without a button keep the last mouse position, so every movement is measured from the
    // mouse message before it.
    setMouseTracking(true);
    HxInstallAccelerators(this, this);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::geometryChanged, this,
                [this](const QRect& r) { OnDisplayChange(r.width(), r.height()); });
}

CHalvixView::~CHalvixView() {
    // The player goes with the view.
    if (CMediaPlayer* player = g_pMediaPlayer) {
        g_pMediaPlayer = nullptr;
        delete player;
        g_mediaFullScreen = false;
        if (IsTimerSet(kMediaTimer))
            KillTimer(kMediaTimer);
    }
    OnDestroy();
    HxSetContextMenuPresenter(nullptr);
    HxSetMouseToolSelector(nullptr);
    DeleteInkStrokes();
    if (m_ownPage && g_pCurPage == m_ownPage.get()) {
        g_pCurPage = nullptr;
        g_cellMap = nullptr;
    }
    if (g_pView == this)
        g_pView = nullptr;
    if (HxDrawingViewWindow() == this)
        HxSetDrawingViewWindow(nullptr);
}

// Everything made with the context goes with it (also when Qt replaces the context because the
// widget moved to another window; the set-up then runs again).
void CHalvixView::OnDestroy() {
    if (IsTimerSet(kAnimationTimer))
        KillTimer(kAnimationTimer);
    g_animationRunning = 0;
    QObject::disconnect(m_contextGone);
    if (context() && HasGlResources()) {
        makeCurrent();
        ReleaseOpenGL();
        doneCurrent();
    }
    HxSetGlContextProvider(nullptr);
}

QSurfaceFormat CHalvixView::RequiredFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    f.setStencilBufferSize(8);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return f;
}

bool CHalvixView::CanCreateContext() {
    QOffscreenSurface surface;
    surface.setFormat(RequiredFormat());
    surface.create();
    if (!surface.isValid())
        return false;
    QOpenGLContext context;
    context.setFormat(RequiredFormat());
    if (!context.create() || context.isOpenGLES() ||
        context.format().profile() == QSurfaceFormat::CoreProfile || !context.makeCurrent(&surface))
        return false;
    context.doneCurrent();
    return true;
}

bool CHalvixView::MakeContextCurrent() {
    QOpenGLContext* own = context();
    if (!own)
        return false;
    if (QOpenGLContext::currentContext() != own)
        makeCurrent();
    return QOpenGLContext::currentContext() == own;
}

int CHalvixView::DevicePixels(int logical) const {
    return int(std::lround(logical * devicePixelRatioF()));
}

void CHalvixView::initializeGL() {
    g_pView = this;
    HxSetGlContextProvider([this] { return MakeContextCurrent(); });
    m_contextGone = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        if (HasGlResources()) {
            makeCurrent();
            ReleaseOpenGL();
            doneCurrent();
        }
    });
    m_creationFailed = !InitOpenGL();
    if (m_creationFailed)
        emit creationFailed();
}

void CHalvixView::resizeGL(int w, int h) {
    OnSize(DevicePixels(w), DevicePixels(h));
    m_frameFresh = false;
    MoveMediaWindow();
}

void CHalvixView::paintGL() {
    if (!m_frameFresh)
        DrawFrame();
    m_frameFresh = false;
}

void CHalvixView::RenderScene() {
    // The frame is drawn when it is painted, once however many changes asked for it since the last
    // one; the camera it will draw with holds for the mouse already.
    if (context() && isVisible() && !m_creationFailed && MakeContextCurrent())
        ApplyFrameCamera();
    m_frameFresh = false;
    update();
}

void CHalvixView::RenderSceneNow() {
    if (context() && isVisible() && !m_creationFailed && MakeContextCurrent()) {
        DrawFrame();
        m_frameFresh = true;
    }
    update();
}

void CHalvixView::RedrawBackground() {
    if (!context() || !MakeContextCurrent())
        return;
    CSceneRenderer::RedrawBackground();
    m_frameFresh = false;
}

void CHalvixView::OnInitialUpdate() {
    if (!g_pCurPage) {
        m_ownPage = std::make_unique<CGPage>();
        m_ownPage->m_title = u"第一页 ";
        m_ownPage->m_pageId = 1;
        g_pCurPage = m_ownPage.get();
        g_cellMap = &m_ownPage->m_cells;
        g_viewport[0] = g_viewport[1] = 0;
        g_viewport[2] = g_clientWidth;
        g_viewport[3] = g_clientHeight;
        g_traceImageEmpty = 1;
        g_tracing = FALSE;
    }
    g_pCurPage->m_timerMode = 5;
    // A drawing of the document before is over.
    g_hoverId = 0;
    m_toolStage = 0;
    m_polyVertexCount = 0;
    m_drawingPage = nullptr;
    HxSetStatusText(kPageStatusPane, CString(u"当前页：") + g_pCurPage->m_title);
    // Without a context yet the set-up builds them when the window is first shown.
    if (IsGlReady() && MakeContextCurrent()) {
        BuildFontLists();
        BuildCaptionFontLists();
    }
    // The page's start button is pressed once the window is up; a start id naming no button is
    // forgotten.
    if (const WORD start = WORD(g_pCurPage->m_autoButton & 0xFFFF)) {
        if (DYNAMIC_DOWNCAST(CGButton, g_pCurPage->FindCell(start)))
            HxPostButtonPress(this, start);
        else
            g_pCurPage->m_autoButton = 0;
    }
    RenderScene();
}

void CHalvixView::ResetView() {
    ResetViewCamera();
    // While action buttons run (view animation mode 0) their next tick redraws.
    if (g_pCurPage && g_pCurPage->m_timerMode == 0)
        return;
    if (IsTimerSet(kAnimationTimer))
        KillTimer(kAnimationTimer);
    g_animationRunning = 0;
    if (g_coordDisplayFlags & 2)
        g_coordDisplayFlags = (g_coordDisplayFlags & ~2) | 1;
    RenderScene();
    UpdatePanSliders();
}

void CHalvixView::ChangeProjection(int type) {
    ApplyProjection(type);
    const CProjectionOrientation& o = g_projectionOrientations[type];
    SetViewRotation(o.command[0], o.command[1]);
    RenderScene();
}

void CHalvixView::SetProjectionCentral() {
    ChangeProjection(HX_PROJ_CENTRAL);
}
void CHalvixView::SetProjectionOrthographic() {
    ChangeProjection(HX_PROJ_ORTHOGRAPHIC);
}
void CHalvixView::SetProjectionOblique() {
    ChangeProjection(HX_PROJ_OBLIQUE);
}

void CHalvixView::OnUpdateProjection(CCmdUI* ui) {
    ui->SetCheck(int(ui->m_nID - ID_VIEW_PROJ_PERSPEC) == g_projectionType ? 1 : 0);
}

void CHalvixView::OnZoomOut() {
    if (ZoomViewOut())
        RenderScene();
}

void CHalvixView::OnZoomIn() {
    if (ZoomViewIn())
        RenderScene();
}

void CHalvixView::OnPanDown() {
    if (PanViewDown())
        RenderScene();
}

void CHalvixView::OnPanUp() {
    if (PanViewUp())
        RenderScene();
}

void CHalvixView::OnPanLeft() {
    if (PanViewLeft())
        RenderScene();
}

void CHalvixView::OnPanRight() {
    if (PanViewRight())
        RenderScene();
}

void CHalvixView::OnToggleColorRings() {
    m_showColorRings = m_showColorRings ? 0 : 1;
    RenderScene();
}

void CHalvixView::ComputePickRay(int x, int y) {
    ::ComputePickRay(x, y);
}

void CHalvixView::BuildFontLists() {
    ::BuildFontLists();
}
void CHalvixView::BuildCaptionFontLists() {
    ::BuildCaptionFontLists();
}
