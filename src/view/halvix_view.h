// The drawing view: an OpenGL widget (compatibility profile) that shows the current page.
#pragma once

#include "platform/afx.h"
#include "view/scene_renderer.h"

#include <QMetaObject>
#include <QOpenGLWidget>

#include <memory>

class CGPage;

class CHalvixView : public QOpenGLWidget, public CWnd, public CSceneRenderer {
    Q_OBJECT
public:
    explicit CHalvixView(QWidget* parent = nullptr);
    ~CHalvixView() override;

    // The surface format every view asks for: OpenGL with the fixed-function pipeline, 24-bit depth.
    static QSurfaceFormat RequiredFormat();

    // Draws the whole frame again: at once into the view's framebuffer when its context exists,
    // then shown with the next paint.
    void RenderScene();
    // Adds the traced cells to the kept background image (with the view's context).
    void RedrawBackground();
    // Makes this view's context current for GL work outside painting; false before it exists.
    bool MakeContextCurrent();
    // False when the OpenGL set-up failed (an installation image missing, no display lists): the
    // view then shows only its background.
    bool IsCreated() const { return !m_creationFailed; }

    // The first update of a new document: the first page when there is none, the page's view
    // animation mode, the status text of the page, the glyph lists.
    void OnInitialUpdate();

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
    // Shows or hides the coloured rings (Ctrl+Alt+C).
    void OnToggleColorRings();
    // The mouse ray at a client pixel (g_pickRayNear, g_pickRayFar, g_viewDir*).
    void ComputePickRay(int x, int y);

    // Glyph lists of the label and text fonts built again after the fonts change.
    void BuildFontLists();
    void BuildCaptionFontLists();

signals:
    // The OpenGL set-up failed when the window was first shown.
    void creationFailed();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
    void ChangeProjection(int type);
    void OnDestroy();
    int DevicePixels(int logical) const;

    // Until the document owns the pages, the view keeps the first page of a new document itself.
    std::unique_ptr<CGPage> m_ownPage;
    QMetaObject::Connection m_contextGone;
    bool m_frameFresh = false; // drawn by RenderScene since the last paint
    bool m_creationFailed = false;
};

// The drawing view, null while there is none.
extern CHalvixView* g_pView;
