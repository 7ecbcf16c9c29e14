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

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
};
