// Test support for the view's mouse: a new document shown in a view of 400 x 300 pixels on the X
// server, looked at from straight above (orthographic, 20 pixels a unit, the origin at (200, 150)),
// with cells added as construction commands add them and real mouse events sent to the widget.
#pragma once

#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "support/model_fixture.h"
#include "support/page_fixture.h"
#include "view/gl_context.h"
#include "view/halvix_view.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <GL/glu.h>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <vector>

class ViewMouseTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 300;

    void SetUp() override {
        ResetAllGlobals();
        HxResetViewSettings();
        HxSetGlContextProvider(nullptr);
        g_installFolder = CString::FromQString(QCoreApplication::applicationDirPath());
        HxSetStatusTextHandler([this](int pane, const CString& text) {
            if (pane == 0)
                m_status = text;
        });
        m_doc = std::make_unique<CHalvixDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
        m_view = std::make_unique<CHalvixView>();
        m_view->SetDocument(m_doc.get());
        m_view->resize(kWidth, kHeight);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        ASSERT_TRUE(m_view->IsCreated());
        ASSERT_EQ(g_clientWidth, kWidth);
        m_page = g_pCurPage;
        ASSERT_NE(m_page, nullptr);
        LookFromAbove();
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
        m_view.reset();
        m_doc.reset();
        HxSetStatusTextHandler(nullptr);
        HxSetGlContextProvider(nullptr);
        ResetAllGlobals();
    }

    // The plane view: x to the right, y up, 20 pixels a unit.
    void LookFromAbove() {
        SetPlaneViewRotation();
        Redraw();
    }
    // The scene again with the present camera (the matrices the mouse ray is taken from).
    void Redraw() {
        m_page->RebuildVertexArray();
        m_view->RenderScene();
    }
    static QPoint Pixel(double x, double y) {
        return QPoint(int(std::lround(kWidth / 2 + 20.0 * x)), int(std::lround(kHeight / 2 - 20.0 * y)));
    }
    // The screen position of a point of space with the present camera.
    static QPoint ScreenOf(double x, double y, double z) {
        GLdouble wx, wy, wz;
        gluProject(x, y, z, g_modelviewMatrix, g_projectionMatrix, g_viewport, &wx, &wy, &wz);
        return QPoint(int(std::lround(wx)), int(std::lround(kHeight - wy)));
    }
    static QPoint ScreenOf(const CGVertex& p) { return ScreenOf(p.m_x, p.m_y, p.m_z); }
    static void ExpectAt(const CGVertex& p, double x, double y, double z, double tolerance = 1e-5) {
        EXPECT_NEAR(p.m_x, x, tolerance);
        EXPECT_NEAR(p.m_y, y, tolerance);
        EXPECT_NEAR(p.m_z, z, tolerance);
    }
    static std::vector<WORD> Parents(const CGCell& cell) {
        std::vector<WORD> ids;
        for (WORD id : cell.m_parents)
            ids.push_back(id);
        return ids;
    }

    template <class T> T* Insert(T* cell) {
        m_page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    // A new cell of class T with the page's next id and vertex index and an automatic name.
    template <class T, class... Args> T* AddVertex(Args... args) {
        const WORD id = m_page->m_nextId++;
        const DWORD vertex = m_page->m_nextVertex++;
        return Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), args...));
    }
    CGVertex* AddPoint(float x, float y, float z = 0.0f) { return AddVertex<CGVertex>(x, y, z); }
    CGLine* AddLine(WORD a, WORD b, BYTE kind = CGLine::kSegment) {
        return Insert(new CGLine(m_page->m_nextId++, a, b, kind));
    }
    CTestMidpoint* AddMidpoint(WORD a, WORD b) { return AddVertex<CTestMidpoint>(a, b); }

    // Real mouse events on the widget.
    void Click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseClick(m_view.get(), Qt::LeftButton, keys, at);
    }
    void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mousePress(m_view.get(), button, keys, at);
    }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseRelease(m_view.get(), button, keys, at);
    }
    // A mouse move with the buttons still held (and Ctrl when asked).
    void Move(QPoint to, Qt::MouseButtons buttons = Qt::LeftButton,
              Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent event(QEvent::MouseMove, QPointF(to), m_view->mapToGlobal(QPointF(to)), Qt::NoButton,
                          buttons, keys);
        QApplication::sendEvent(m_view.get(), &event);
    }
    void Wheel(int delta) {
        const QPointF at(100, 100);
        QWheelEvent event(at, m_view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view.get(), &event);
    }

    std::unique_ptr<CHalvixDoc> m_doc;
    std::unique_ptr<CHalvixView> m_view;
    CGPage* m_page = nullptr;
    CString m_status;
};
