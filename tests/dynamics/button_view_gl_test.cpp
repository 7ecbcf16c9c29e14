// Action buttons in the view on the X server: drawn in the screen plane (raised, pressed in, not in
// the three views), a click on the body that starts the sweep of a point on a circle with everything
// built on it following and a second click that stops it, the handle that selects and drags, and a
// button whose id is above 10000 pressed like any other.
#include "view/view_tools_fixture.h"

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "model/arc.h"
#include "model/free_points.h"
#include "view/glyph_lists.h"

#include <QImage>

#include <cmath>

namespace {

class ButtonViewTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        m_view->activateWindow();
        m_view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    }
    // A point on a circle of radius 3 about the origin, the segment from it to C (0, -5) and the
    // midpoint of the two; and an animation button sweeping the point round, at (x0, y0).
    void BuildFigure(float x0 = -9.0f, float y0 = 7.0f) {
        m_circle =
            Insert(new CGArc(m_page->m_nextId++, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 6.2831855f, CGArc::kCircle));
        m_point = AddVertex<CGVerFreeInCircle>(m_circle->m_id, 0.0f);
        m_c = AddPoint(0, -5);
        m_segment = AddLine(m_point->m_id, m_c->m_id);
        m_mid = AddMidpoint(m_point->m_id, m_c->m_id);
        m_button = Insert(new CGButnAnimation(m_page->m_nextId++, u"动画", m_point->m_id, 0.0f, 6.2831855f,
                                              CGButnAnimation::kBackAndForth, 1, 0.1f, 0.0f));
        m_button->m_labelPos[0] = x0;
        m_button->m_labelPos[1] = y0;
        Redraw();
    }
    // The middle of the button's body and of its handle, in pixels.
    QPoint Body() const { return BodyOf(*m_button); }
    static QPoint BodyOf(const CGButton& b) { return Pixel(b.m_labelPos[0] + 1.5, b.m_labelPos[1] - 0.6); }
    QPoint Handle() const { return Pixel(m_button->m_labelPos[0] - 0.25, m_button->m_labelPos[1] - 0.6); }
    // A spot of the face beside the caption.
    QPoint Face() const { return Pixel(m_button->m_labelPos[0] + 2.75, m_button->m_labelPos[1] - 0.6); }
    QColor ColorAt(QPoint at) { return m_view->grabFramebuffer().pixelColor(at); }
    static bool Near(const QColor& c, int r, int g, int b) {
        return std::abs(c.red() - r) <= 3 && std::abs(c.green() - g) <= 3 && std::abs(c.blue() - b) <= 3;
    }

    CGArc* m_circle = nullptr;
    CGVerFreeInCircle* m_point = nullptr;
    CGVertex* m_c = nullptr;
    CGLine* m_segment = nullptr;
    CTestMidpoint* m_mid = nullptr;
    CGButnAnimation* m_button = nullptr;
};

} // namespace

TEST_F(ButtonViewTest, AClickStartsTheSweepEverythingFollowsAndASecondClickStops) {
    BuildFigure();
    Click(Body());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_point->m_param1 > 0.5f; }, 3000));
    EXPECT_TRUE(m_button->m_running);
    EXPECT_TRUE(g_animationRunning);
    EXPECT_EQ(m_page->m_timerMode, 0);
    // The point stays on its circle, the midpoint and the segment follow it.
    EXPECT_NEAR(std::hypot(m_point->m_x, m_point->m_y), 3.0, 1e-4);
    EXPECT_NEAR(m_point->m_x, 3.0 * std::cos(m_point->m_param1), 1e-4);
    ExpectAt(*m_mid, m_point->m_x / 2, (m_point->m_y - 5) / 2, 0, 1e-5);
    EXPECT_TRUE(m_segment->m_valid);
    // Pressed in while it runs.
    m_view->RenderScene();
    EXPECT_TRUE(Near(ColorAt(Face()), 204, 199, 184)) << ColorAt(Face()).name().toStdString();

    Click(Body());
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_button->m_running);
    EXPECT_FALSE(g_animationRunning);
    const float stopped = m_point->m_param1;
    QTest::qWait(200);
    EXPECT_EQ(m_point->m_param1, stopped) << "nothing moves once stopped";
    // Raised again.
    m_view->RenderScene();
    EXPECT_TRUE(Near(ColorAt(Face()), 224, 219, 204)) << ColorAt(Face()).name().toStdString();
    // The next click goes on from where it stopped.
    Click(Body());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_point->m_param1 > stopped + 0.25f; }, 3000));
    Click(Body());
}

TEST_F(ButtonViewTest, DrawnInTheScreenPlaneWithItsCaptionAndNotInTheThreeViews) {
    BuildFigure();
    EXPECT_TRUE(Near(ColorAt(Handle()), 51, 102, 255)) << ColorAt(Handle()).name().toStdString();
    EXPECT_FALSE(m_button->m_flag2) << "measured and given its glyphs at the first drawing";
    EXPECT_EQ(m_button->m_text2.GetLength(), 2);
    int w = 0, h = 0;
    HxButtonCaptionExtent(m_button->m_name, w, h);
    int width = 0, height = 0;
    CGButton::SizeForCaption(w, h, width, height);
    EXPECT_EQ(m_button->m_width, width);
    EXPECT_EQ(m_button->m_height, height);
    EXPECT_TRUE(Near(ColorAt(Face()), 224, 219, 204)) << ColorAt(Face()).name().toStdString();
    const QPoint bottom = Pixel(m_button->m_labelPos[0] + 1.5, m_button->m_labelPos[1] - 0.05 * (height - 1));
    EXPECT_TRUE(Near(ColorAt(bottom), 140, 135, 120))
        << "the frame's dark edge at the bottom " << ColorAt(bottom).name().toStdString();
    // The caption's glyphs are black ink on the face.
    const QImage frame = m_view->grabFramebuffer();
    const QPoint corner = Pixel(m_button->m_labelPos[0], m_button->m_labelPos[1]);
    int ink = 0;
    for (int x = corner.x() + 17; x < corner.x() + 60; ++x)
        for (int y = corner.y() + 2; y < corner.y() + 23; ++y)
            ink += frame.pixelColor(x, y).lightness() < 60 ? 1 : 0;
    EXPECT_GT(ink, 10);
    // Panning moves the button along; turning the view does not.
    g_viewTransX = 1.0f;
    RotateViewYaw(30.0);
    m_view->RenderScene();
    EXPECT_TRUE(Near(ColorAt(Handle() + QPoint(20, 0)), 51, 102, 255));
    g_viewTransX = 0.0f;
    SetPlaneViewRotation();
    // Hidden, or in the three views: nothing.
    m_button->m_hidden = 1;
    m_view->RenderScene();
    EXPECT_FALSE(Near(ColorAt(Handle()), 51, 102, 255));
    m_button->m_hidden = 0;
    m_page->m_threeView = 1;
    m_view->RenderScene();
    EXPECT_FALSE(Near(ColorAt(Handle()), 51, 102, 255));
    m_page->m_threeView = 0;
    // An invalid button is still drawn.
    m_button->m_valid = false;
    m_view->RenderScene();
    EXPECT_TRUE(Near(ColorAt(Handle()), 51, 102, 255));
}

TEST_F(ButtonViewTest, TheHandleSelectsAndDragsTheButton) {
    BuildFigure();
    const float x0 = m_button->m_labelPos[0], y0 = m_button->m_labelPos[1];
    Press(Handle());
    EXPECT_TRUE(m_button->m_selected);
    EXPECT_EQ(m_page->m_selButtons.GetCount(), 1);
    EXPECT_FALSE(m_button->m_running) << "the handle does not press";
    Move(Handle() + QPoint(40, 20));
    Release(Handle() + QPoint(40, 20));
    EXPECT_FLOAT_EQ(m_button->m_labelPos[0], x0 + 2.0f);
    EXPECT_FLOAT_EQ(m_button->m_labelPos[1], y0 - 1.0f);
    m_view->RenderScene();
    EXPECT_TRUE(Near(ColorAt(Handle()), 255, 0, 255)) << "a selected handle";
}

TEST_F(ButtonViewTest, AButtonWithAnIdAbove10000IsPressedLikeAnyOther) {
    m_page->m_nextId = 12000;
    BuildFigure();
    ASSERT_GT(m_button->m_id, kMaxButtonCommandId);
    Click(Body());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_button->m_running && m_point->m_param1 > 0.2f; }, 3000));
    Click(Body());
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_button->m_running);
    // The page's start button too, through the main window's routing.
    m_page->m_autoButton = m_button->m_id;
    HxPostButtonPress(m_view.get(), m_button->m_id);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_button->m_running);
    m_view->SendMessage(UM_PRESS_BUTTON, 0, LPARAM(m_button->m_id));
    EXPECT_FALSE(m_button->m_running);
}

TEST_F(ButtonViewTest, ALinkGoesToItsPageOrSaysTheLinkIsDead) {
    CGPage* first = m_page;
    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    ASSERT_NE(second, first);
    m_doc->SetCurrentPage(first);
    auto* link = Insert(new CGButnLink(m_page->m_nextId++, u"下一页", CGButnLink::kToPage, second->m_pageId,
                                       second->m_title));
    link->m_labelPos[0] = -9.0f;
    link->m_labelPos[1] = 7.0f;
    Redraw();
    Click(BodyOf(*link));
    ASSERT_TRUE(QTest::qWaitFor([&] { return g_pCurPage == second; }, 3000));
    EXPECT_FALSE(link->m_running);
    EXPECT_TRUE(m_messages.empty());
    // A link to a page that is gone is reported, and the page stays.
    m_doc->SetCurrentPage(first);
    link->m_pageId = 999;
    Redraw();
    Click(BodyOf(*link));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_messages.empty(); }, 3000));
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"链接页不存在，请检查修改链接按钮！")});
    EXPECT_EQ(g_pCurPage, first);
}
