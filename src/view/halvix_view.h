// The drawing view: an OpenGL widget (compatibility profile) that shows the current page.
#pragma once

#include "platform/afx.h"

#include <QOpenGLWidget>

class CHalvixView : public QOpenGLWidget, public CWnd {
    Q_OBJECT
public:
    explicit CHalvixView(QWidget* parent = nullptr);
    ~CHalvixView() override;

    // The surface format every view asks for: OpenGL with the fixed-function pipeline, 24-bit depth.
    static QSurfaceFormat RequiredFormat();

    // Draws the whole frame again.
    void RenderScene();
    // Makes this view's context current for GL work outside painting; false before it exists.
    bool MakeContextCurrent();

    // Camera commands.
    void ResetView();
    void SetProjectionCentral();
    void SetProjectionOrthographic();
    void SetProjectionOblique();
    void OnUpdateProjection(CCmdUI* ui);
    void OnZoomOut();
    void OnZoomIn();
    void OnPanDown();
    void OnPanUp();
    void OnPanLeft();
    void OnPanRight();
    // The mouse ray at a client pixel (g_pickRayNear, g_pickRayFar, g_viewDir*).
    void ComputePickRay(int x, int y);

    // Glyph lists of the label and text fonts built again after the fonts change.
    void BuildFontLists();
    void BuildCaptionFontLists();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void ChangeProjection(int type);
};
