// The view widget on the X server: it shows the current page, lends its context to work outside
// painting, routes the camera commands and their keys, and makes the first page of a new document.
#include "gl_test_fixture.h"
#include "dynamics/buttons.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/texture_loading.h"
#include "view/texture_text.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

namespace {
class ViewWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAllGlobals();
        HxResetViewSettings();
        HxSetGlContextProvider(nullptr);
        g_installFolder = CString::FromQString(QCoreApplication::applicationDirPath());
    }
    void TearDown() override {
        HxSetGlContextProvider(nullptr);
        HxSetStatusTextHandler(nullptr);
        ResetAllGlobals();
    }
    static bool Ink(const QImage& frame, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                QRgb p = frame.pixel(x + dx, y + dy);
                if (qRed(p) + qGreen(p) + qBlue(p) < 600)
                    return true;
            }
        return false;
    }
};
} // namespace

TEST_F(ViewWidgetTest, ShowsWhiteAndLendsItsContext) {
    CHalvixView view;
    view.resize(320, 240);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QImage frame = view.grabFramebuffer();
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(frame.pixel(300, 200), qRgb(255, 255, 255));

    view.doneCurrent();
    ASSERT_TRUE(HxMakeGlCurrent());
    EXPECT_EQ(QOpenGLContext::currentContext(), view.context());
    // A projection command outside painting goes through the view's context.
    view.SetProjectionOblique();
    EXPECT_EQ(g_projectionType, 2);
    double want[16];
    ComputeProjectionMatrix(HX_PROJ_OBLIQUE, want);
    EXPECT_NEAR(g_projectionMatrix[8], want[8], 1e-7);
}

TEST_F(ViewWidgetTest, CameraCommandsThroughTheRouting) {
    CHalvixView view;
    CGPage page;
    g_pCurPage = &page;
    page.m_timerMode = 5;

    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_PROJ_PERSPEC, CN_COMMAND, nullptr));
    EXPECT_EQ(g_projectionType, 0);
    double q[4];
    EulerToQuaternion(q, -70, 0, -20);
    EXPECT_NEAR(g_viewRotation[0], q[0], 1e-12);
    EXPECT_NEAR(g_viewRotation[3], q[3], 1e-12);
    for (UINT id : {ID_VIEW_PROJ_PERSPEC, ID_VIEW_PROJ_ID_ORTHO, ID_VIEW_PROJ_ID_XIEERCE}) {
        CCmdUI ui;
        ui.m_nID = id;
        ASSERT_TRUE(view.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui));
        EXPECT_EQ(ui.m_check, id == ID_VIEW_PROJ_PERSPEC ? 1 : 0);
    }
    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_PROJ_ID_ORTHO, CN_COMMAND, nullptr));
    EulerToQuaternion(q, -54.73561031724535, 0, -135);
    EXPECT_NEAR(g_viewRotation[1], q[1], 1e-12);

    view.OnCmdMsg(ID_ANIMA_DA, CN_COMMAND, nullptr);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.2f);
    view.OnCmdMsg(ID_VIEW_ZOOM_OUT, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_ANIMA_XIAO, CN_COMMAND, nullptr);
    EXPECT_FLOAT_EQ(g_viewZoom, 0.8f);
    view.OnCmdMsg(ID_VIEW_PAN_RIGHT, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_VIEW_PAN_UP, CN_COMMAND, nullptr);
    EXPECT_EQ(std::pair(g_viewTransX, g_viewTransY), std::pair(1.0f, 1.0f));

    // Home: the camera comes back, the labelled grid becomes the axes, the sliders follow.
    int sliders[3] = {-1, -1, -1};
    HxSetPanSliderHandler([&](int x, int y, int z) { sliders[0] = x, sliders[1] = y, sliders[2] = z; });
    g_coordDisplayFlags = 2 | 4;
    view.SetTimer(1, 40);
    ASSERT_TRUE(view.OnCmdMsg(ID_VIEW_TSFM_RESET, CN_COMMAND, nullptr));
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_NEAR(g_viewRotation[0], 0.786566092485493, 1e-12);
    EXPECT_EQ(g_coordDisplayFlags, 1 | 4);
    EXPECT_FALSE(view.IsTimerSet(1));
    EXPECT_EQ(sliders[0], 0);
    EXPECT_EQ(sliders[2], 0);

    // While action buttons run, Home moves the camera and leaves the rest to their next tick.
    page.m_timerMode = 0;
    g_viewTransX = 5.0f;
    g_coordDisplayFlags = 2;
    sliders[0] = -1;
    view.SetTimer(1, 40);
    view.ResetView();
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_coordDisplayFlags, 2);
    EXPECT_TRUE(view.IsTimerSet(1));
    EXPECT_EQ(sliders[0], -1);
    view.KillTimer(1);

    // The view lock.
    g_viewLocked = 1;
    view.OnCmdMsg(ID_VIEW_ZOOM_IN, CN_COMMAND, nullptr);
    view.OnCmdMsg(ID_VIEW_PAN_LEFT, CN_COMMAND, nullptr);
    EXPECT_EQ(g_viewZoom, 1.0f);
    EXPECT_EQ(g_viewTransX, 0.0f);

    HxSetPanSliderHandler(nullptr);
    g_pCurPage = nullptr;
}

TEST_F(ViewWidgetTest, ShowsAPageBuiltInCode) {
    CGPage page;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    SetPlaneViewRotation();
    // Points made before the view has a context keep their places until it numbers them.
    ASSERT_TRUE(HxReplaceVertexArray(200));
    auto add = [&](CGCell* cell) { page.m_cells.SetAt(cell->m_id, cell); };
    add(new CGVertex(1, page.m_nextVertex++, u"A", -4.0f, 0.0f, 0.0f));
    add(new CGVertex(2, page.m_nextVertex++, u"B", 4.0f, 0.0f, 0.0f));
    add(new CGLine(3, 1, 2, CGLine::kSegment));
    page.m_nextId = 4;
    {
        CHalvixView view;
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        ASSERT_TRUE(view.IsCreated());
        EXPECT_EQ(g_clientWidth, 400);
        QImage frame = view.grabFramebuffer();
        // Window rows run downward: the origin at (200, 150), 20 pixels a unit.
        EXPECT_TRUE(Ink(frame, 200, 150)) << "the segment";
        EXPECT_TRUE(Ink(frame, 120, 150)) << "A";
        EXPECT_FALSE(Ink(frame, 200, 100));
        // A command redraws at once.
        view.OnCmdMsg(ID_VIEW_PAN_UP, CN_COMMAND, nullptr);
        view.OnCmdMsg(ID_VIEW_PAN_UP, CN_COMMAND, nullptr);
        frame = view.grabFramebuffer();
        EXPECT_TRUE(Ink(frame, 200, 110));
        EXPECT_FALSE(Ink(frame, 200, 150));
    }
    EXPECT_EQ(g_listBase, 0u) << "released with the view";
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}

TEST_F(ViewWidgetTest, KeysRunTheViewCommands) {
    CHalvixView view;
    CGPage page;
    g_pCurPage = &page;
    page.m_timerMode = 5;
    view.resize(300, 200);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(std::pair(g_viewTransX, g_viewTransY), std::pair(-1.0f, 1.0f));
    QTest::keyClick(&view, Qt::Key_Up, Qt::AltModifier);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.2f);
    QTest::keyClick(&view, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FLOAT_EQ(g_viewZoom, 0.8f);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(view.m_showColorRings, 1);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(g_viewTransX, 0.0f);
    EXPECT_EQ(g_viewZoom, 1.0f);
    g_pCurPage = nullptr;
}

TEST_F(ViewWidgetTest, FirstUpdateMakesTheFirstPage) {
    std::vector<CString> status(3);
    HxSetStatusTextHandler([&](int pane, const CString& text) {
        if (pane >= 0 && pane < 3)
            status[size_t(pane)] = text;
    });
    {
        CHalvixView view;
        view.OnInitialUpdate();
        ASSERT_NE(g_pCurPage, nullptr);
        EXPECT_EQ(g_cellMap, &g_pCurPage->m_cells);
        EXPECT_EQ(g_pCurPage->m_title, u"第一页 ");
        EXPECT_EQ(g_pCurPage->m_pageId, 1);
        EXPECT_EQ(g_pCurPage->m_timerMode, 5);
        EXPECT_EQ(g_traceImageEmpty, 1);
        EXPECT_EQ(status[2], u"当前页：第一页 ");
        // A page that is already current is kept.
        CGPage* first = g_pCurPage;
        view.OnInitialUpdate();
        EXPECT_EQ(g_pCurPage, first);
    }
    EXPECT_EQ(g_pCurPage, nullptr) << "the view's own page goes with it";
}

TEST_F(ViewWidgetTest, FirstUpdatePressesThePagesStartButton) {
    CGPage page;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    auto* button = new CGButton;
    button->m_id = 1;
    page.m_cells.SetAt(1, button);
    page.m_cells.SetAt(2, new CGVertex(2, 0, u"A", 0, 0, 0));
    page.m_nextId = 3;
    std::vector<HxMessageRecord> posted;
    HxSetMessageObserver([&](const HxMessageRecord& r) { posted.push_back(r); });
    CHalvixView view;
    page.m_autoButton = button->m_id;
    view.OnInitialUpdate();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_COMMAND);
    EXPECT_EQ(posted[0].wParam, WPARAM(3024 + button->m_id));
    EXPECT_TRUE(posted[0].posted);
    EXPECT_EQ(page.m_autoButton, button->m_id);
    // A start id that names no button is forgotten.
    posted.clear();
    page.m_autoButton = 2; // the point
    view.OnInitialUpdate();
    EXPECT_TRUE(posted.empty());
    EXPECT_EQ(page.m_autoButton, 0);
    page.m_autoButton = 77;
    view.OnInitialUpdate();
    EXPECT_EQ(page.m_autoButton, 0);
    HxSetMessageObserver(nullptr);
    HxPumpPostedMessages();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}

TEST_F(ViewWidgetTest, WithoutItsImagesTheViewIsNotCreated) {
    g_installFolder = u"/nonexistent/halvix";
    HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    {
        CHalvixView view;
        QSignalSpy failed(&view, &CHalvixView::creationFailed);
        view.resize(200, 150);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        EXPECT_EQ(failed.count(), 1);
        EXPECT_FALSE(view.IsCreated());
    }
    // What the failed set-up made went with the view.
    EXPECT_EQ(g_pTextureText, nullptr);
    EXPECT_EQ(g_textureIds[0], 0u);
    HxSetMessageBoxHandler(nullptr);
}

namespace {
// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
} // namespace

TEST_F(ViewWidgetTest, RequestsMadeBeforeAFrameIsShownAreOneFrame) {
    CGPage page;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    SetPlaneViewRotation();
    ASSERT_TRUE(HxReplaceVertexArray(200));
    page.m_cells.SetAt(1, new CGVertex(1, page.m_nextVertex++, u"A", 0.0f, 0.0f, 0.0f));
    page.m_nextId = 2;
    {
        CHalvixView view;
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        QCoreApplication::processEvents();
        PaintCounter counter;
        view.installEventFilter(&counter);
        // Ten moves of the camera: the mouse has the last one's matrices at once, the window
        // still shows the frame before them.
        for (int i = 1; i <= 10; ++i) {
            g_viewTransX = 0.5f * float(i);
            view.RenderScene();
        }
        EXPECT_NEAR(g_modelviewMatrix[12], 5.0, 1e-6);
        EXPECT_EQ(counter.paints, 0);
        EXPECT_TRUE(Ink(view.ReadFrameBox(0, 0, 400, 300), 200, 150)) << "the frame before";
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints, 1);
        const QImage shown = view.ReadFrameBox(0, 0, 400, 300);
        EXPECT_FALSE(Ink(shown, 200, 150));
        EXPECT_TRUE(Ink(shown, 300, 150)) << "five units (100 pixels) to the right";
        view.removeEventFilter(&counter);
    }
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}
