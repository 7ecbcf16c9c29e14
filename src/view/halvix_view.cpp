// The drawing view.
#include "view/halvix_view.h"

#include <GL/gl.h>

CHalvixView::CHalvixView(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(RequiredFormat());
    setMinimumSize(200, 150);
    setFocusPolicy(Qt::StrongFocus);
}

CHalvixView::~CHalvixView() = default;

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

void CHalvixView::initializeGL() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
}

void CHalvixView::resizeGL(int w, int h) { glViewport(0, 0, w, h); }

void CHalvixView::paintGL() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
