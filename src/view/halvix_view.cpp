// The drawing view.
#include "view/halvix_view.h"

#include "model/page.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"

#include <GL/gl.h>
#include <QOpenGLContext>

#include <algorithm>

namespace {
constexpr UINT_PTR kAnimationTimer = 1;
}

CHalvixView::CHalvixView(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(RequiredFormat());
    setMinimumSize(200, 150);
    setFocusPolicy(Qt::StrongFocus);

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
}

CHalvixView::~CHalvixView() {
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

bool CHalvixView::MakeContextCurrent() {
    QOpenGLContext* own = context();
    if (!own)
        return false;
    if (QOpenGLContext::currentContext() != own)
        makeCurrent();
    return QOpenGLContext::currentContext() == own;
}

void CHalvixView::initializeGL() {
    HxSetGlContextProvider([this] { return MakeContextCurrent(); });
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
}

void CHalvixView::resizeGL(int w, int h) {
    glViewport(0, 0, w, h);
}

void CHalvixView::paintGL() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void CHalvixView::RenderScene() {
    update();
}

void CHalvixView::ResetView() {
    ResetViewCamera();
    // While action buttons run (view animation mode 0) their next tick redraws.
    if (g_pCurPage && g_pCurPage->m_timerMode == 0)
        return;
    if (IsTimerSet(kAnimationTimer))
        KillTimer(kAnimationTimer);
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

void CHalvixView::ComputePickRay(int x, int y) {
    ::ComputePickRay(x, y);
}

void CHalvixView::BuildFontLists() {
    ::BuildFontLists();
}
void CHalvixView::BuildCaptionFontLists() {
    ::BuildCaptionFontLists();
}
