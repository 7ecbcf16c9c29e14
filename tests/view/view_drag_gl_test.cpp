// Drags of the arrow tool through real mouse events: free points on their carriers with descendants
// following, constrained points, a thousand descendants, turning, panning, zooming, screen items.
#include "view_mouse_fixture.h"

#include "dynamics/buttons.h"
#include "dynamics/ink.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "solids/subassembly.h"

#include <cmath>

namespace {

class ViewDragTest : public ViewMouseTest {
protected:
    // Press on `from`, move through `path` (with the keys held), release at the last point.  Ctrl
    // is pressed after the press, which would pick labels only.
    void Drag(QPoint from, std::initializer_list<QPoint> path, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Press(from);
        QPoint last = from;
        for (QPoint to : path) {
            Move(to, Qt::LeftButton, keys);
            last = to;
        }
        Release(last, Qt::LeftButton, keys);
    }
};

double Distance(const CGVertex& p, const CGVertex& q) {
    const double d[3] = {double(p.m_x) - q.m_x, double(p.m_y) - q.m_y, double(p.m_z) - q.m_z};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

} // namespace

TEST_F(ViewDragTest, AFreePointInSpaceCarriesItsDescendants) {
    auto* p = AddVertex<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* o = AddPoint(4, 0);
    CTestMidpoint* m = AddMidpoint(p->m_id, o->m_id);
    Redraw();

    Press(Pixel(0, 0));
    EXPECT_EQ(m_status, CString(u"选择自由点") + p->m_name);
    EXPECT_EQ(g_draggedId, p->m_id);
    EXPECT_EQ(g_dragMode, 1);
    std::vector<WORD> log;
    CTestMidpoint::s_log = &log;
    Move(Pixel(1, 1));
    ExpectAt(*p, 1, 1, 0);
    ExpectAt(*m, 2.5, 0.5, 0);
    EXPECT_EQ(m_page->m_scratchIds, std::vector<WORD>{m->m_id});
    Move(Pixel(2, 3));
    ExpectAt(*p, 2, 3, 0);
    ExpectAt(*m, 3, 1.5, 0); // the descendants follow on every move
    EXPECT_EQ(log, (std::vector<WORD>{m->m_id, m->m_id}));
    EXPECT_EQ(m_view->m_curPoint[0], p->m_x);
    EXPECT_EQ(m_view->m_curPoint[1], p->m_y);
    EXPECT_EQ(m_view->m_curPoint[2], p->m_z);
    Release(Pixel(2, 3));
    CTestMidpoint::s_log = nullptr;
    EXPECT_EQ(g_draggedId, 0);
    EXPECT_EQ(g_dragMoved, 0);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.CanUndo(), FALSE) << "a drag records no undo step";
    // The frame shows the point where it went.
    const QImage frame = m_view->grabFramebuffer();
    const QRgb at = frame.pixel(Pixel(2, 3));
    EXPECT_GT(qRed(at), 150);
    EXPECT_LT(qGreen(at), 100);

    // Descendants are collected once per drag: a cell built on P during a drag is not moved by it.
    Press(Pixel(2, 3));
    Move(Pixel(3, 3));
    CTestMidpoint* late = AddMidpoint(p->m_id, o->m_id);
    Move(Pixel(4, 3));
    ExpectAt(*m, 4, 1.5, 0);
    ExpectAt(*late, 3.5, 1.5, 0); // made at the first move's place, not recomputed since
    Release(Pixel(4, 3));
    Press(Pixel(4, 3)); // the next drag collects again
    Move(Pixel(2, 3));
    Release(Pixel(2, 3));
    ExpectAt(*late, 3, 1.5, 0);
    EXPECT_EQ(m_page->m_scratchIds, (std::vector<WORD>{m->m_id, late->m_id}));
}

TEST_F(ViewDragTest, KeepZCtrlAndTheGrid) {
    auto* p = AddVertex<CGVerFreeXyz>(1.0f, 1.0f, 2.0f);
    Redraw();
    // From above the point keeps its height.
    Drag(Pixel(1, 1), {Pixel(-2, 3)});
    ExpectAt(*p, -2, 3, 2);
    // With Ctrl it keeps y: the ray runs along that plane from above, so it stays.
    Drag(Pixel(-2, 3), {Pixel(4, 4)}, Qt::ControlModifier);
    ExpectAt(*p, -2, 3, 2);
    // With the grid it goes to whole units: (1.35, -2.6) becomes (1, -3).
    g_snapToGrid = 1;
    Drag(Pixel(-2, 3), {QPoint(200 + 27, 150 + 52)});
    ExpectAt(*p, 1, -3, 2);
    g_snapToGrid = 0;

    // Looking along +y (screen x = world x, screen y = world z): Ctrl moves the point in its plane
    // of constant y, the plain drag is refused.
    SetViewRotation(-90.0, 0.0);
    Redraw();
    const QPoint onScreen(200 + 20, 150 - 40);
    EXPECT_EQ(m_view->grabFramebuffer().pixel(onScreen) != qRgb(255, 255, 255), true);
    Drag(onScreen, {QPoint(200 + 60, 150 - 100)}, Qt::ControlModifier);
    ExpectAt(*p, 3, -3, 5);
    Drag(QPoint(200 + 60, 150 - 100), {QPoint(200, 150)});
    ExpectAt(*p, 3, -3, 5);
}

TEST_F(ViewDragTest, PointsOnALineAndOnACircle) {
    CGVertex* a = AddPoint(-4, 0);
    CGVertex* b = AddPoint(4, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* onLine = AddVertex<CGVerFreeInLine>(ab->m_id, 0.5f);
    CGVertex* c = AddPoint(0, 5);
    CTestMidpoint* m = AddMidpoint(onLine->m_id, c->m_id);
    Redraw();

    // To the point of the segment nearest to the ray, t following.
    Drag(Pixel(0, 0), {Pixel(2, 3)});
    ExpectAt(*onLine, 2, 0, 0);
    EXPECT_FLOAT_EQ(onLine->m_param1, 0.75f);
    ExpectAt(*m, 1, 2.5, 0);
    // Past the end it stops there.
    Drag(Pixel(2, 0), {Pixel(6, -1)});
    ExpectAt(*onLine, 4, 0, 0);
    EXPECT_FLOAT_EQ(onLine->m_param1, 1.0f);
    ExpectAt(*m, 2, 2.5, 0);

    // A circle about O through (4, 0, 0) in the plane z = 0, and a point on it at angle 0.
    CGVertex* o = AddPoint(0, -6);
    CGVertex* u = AddPoint(4, -6);
    CGVertex* v = AddPoint(0, -2);
    auto* circle = Insert(new CGArcCenterP(m_page->m_nextId++, o->m_id, u->m_id, v->m_id, CGArc::kCircle));
    auto* onCircle = AddVertex<CGVerFreeInCircle>(circle->m_id, 0.0f);
    CTestMidpoint* mc = AddMidpoint(onCircle->m_id, o->m_id);
    Redraw();
    ExpectAt(*onCircle, 4, -6, 0);
    // A mouse outside the circle at 45 degrees: the point goes to the circle in that direction.
    Drag(Pixel(4, -6), {Pixel(3, -3)});
    const double h = 2.0 * std::sqrt(2.0);
    ExpectAt(*onCircle, h, -6 + h, 0, 1e-4);
    EXPECT_NEAR(onCircle->m_param1, M_PI / 4, 1e-5);
    ExpectAt(*mc, h / 2, -6 + h / 2, 0, 1e-4);
    Drag(Pixel(h, -6 + h), {Pixel(-5, -6)});
    ExpectAt(*onCircle, -4, -6, 0, 1e-4);
    EXPECT_NEAR(onCircle->m_param1, M_PI, 1e-5);
}

TEST_F(ViewDragTest, ConstrainedPointsKeepTheirRelations) {
    auto* a = AddVertex<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* b = AddPoint(3, 0);
    // P with PA square to AB and PA = AB: on the circle about A of radius 3 in the plane x = 0.
    auto* p = AddVertex<CGVerFreeUprightEquid>(a->m_id, b->m_id);
    // Q with AQ parallel to (0, 1, 0).
    auto* q = AddVertex<CGVerFreeParVector>(0.0f, 1.0f, 0.0f, a->m_id);
    SetViewRotation(-60.0, -30.0);
    Redraw();
    auto check = [&] {
        EXPECT_NEAR(Distance(*p, *a), Distance(*b, *a), 1e-4);
        const double dot = (double(p->m_x) - a->m_x) * (double(b->m_x) - a->m_x) +
                           (double(p->m_y) - a->m_y) * (double(b->m_y) - a->m_y) +
                           (double(p->m_z) - a->m_z) * (double(b->m_z) - a->m_z);
        EXPECT_NEAR(dot, 0.0, 1e-4);
        EXPECT_NEAR(q->m_x, a->m_x, 1e-5);
        EXPECT_NEAR(q->m_z, a->m_z, 1e-5);
    };
    const QPoint at = ScreenOf(*p);
    Drag(at, {at + QPoint(15, 10), at + QPoint(40, -20)});
    check();
    const QPoint qAt = ScreenOf(*q);
    Drag(qAt, {qAt + QPoint(-30, 20)});
    check();
    // Dragging A carries both with it.
    const QPoint aAt = ScreenOf(*a);
    Drag(aAt, {aAt + QPoint(25, 5), aAt + QPoint(30, 30)});
    EXPECT_GT(std::fabs(a->m_x) + std::fabs(a->m_y), 0.5);
    check();
}

TEST_F(ViewDragTest, APointWithAThousandDescendants) {
    auto* p = AddVertex<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    CGVertex* o = AddPoint(8, 8);
    std::vector<CTestMidpoint*> chain;
    WORD last = p->m_id;
    for (int i = 0; i < 1000; ++i) {
        // Each the midpoint of the one before and O: every one descends from P.
        chain.push_back(AddMidpoint(last, o->m_id));
        last = chain.back()->m_id;
    }
    Redraw();
    Drag(Pixel(0, 0), {Pixel(1, 1), Pixel(-4, 2)});
    EXPECT_EQ(m_page->m_scratchIds.size(), 1000u);
    ExpectAt(*p, -4, 2, 0);
    ExpectAt(*chain[0], 2, 5, 0);
    ExpectAt(*chain[1], 5, 6.5, 0);
    ExpectAt(*chain[999], 8, 8, 0, 1e-4);
}

TEST_F(ViewDragTest, TurningPanningAndZooming) {
    Redraw();
    double r[4];
    std::copy(g_viewRotation, g_viewRotation + 4, r);
    // 100 pixels to the right on empty space: 0.6 radians about the world z axis.
    Drag(QPoint(100, 100), {QPoint(200, 100)});
    double qb[4] = {std::cos(0.3), 0, 0, std::sin(0.3)}, want[4];
    QuaternionMultiply(r, qb, want);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(g_viewRotation[i], want[i], 1e-12);
    // Vertical movement turns about the screen's horizontal axis.
    std::copy(g_viewRotation, g_viewRotation + 4, r);
    Drag(QPoint(100, 100), {QPoint(100, 150)});
    double qa[4] = {std::cos(0.15), std::sin(0.15), 0, 0};
    QuaternionMultiply(qa, r, want);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(g_viewRotation[i], want[i], 1e-12);
    // Locked: nothing turns.
    g_viewLocked = 1;
    std::copy(g_viewRotation, g_viewRotation + 4, r);
    Drag(QPoint(100, 100), {QPoint(180, 120)});
    EXPECT_EQ(g_viewRotation[0], r[0]);

    // The middle button pans; with Ctrl it moves the depth.
    g_viewLocked = 0;
    int sliders[3] = {0, 0, 0};
    HxSetPanSliderHandler([&](int x, int y, int z) { sliders[0] = x, sliders[1] = y, sliders[2] = z; });
    Move(QPoint(100, 100), Qt::NoButton);
    Move(QPoint(110, 105), Qt::MiddleButton);
    EXPECT_FLOAT_EQ(g_viewTransX, 2.0f);
    EXPECT_FLOAT_EQ(g_viewTransY, -1.0f);
    EXPECT_EQ(sliders[0], 20);
    Move(QPoint(110, 115), Qt::MiddleButton, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(g_viewTransZ, -52.0f);
    EXPECT_FLOAT_EQ(g_viewTransY, -1.0f);
    HxSetPanSliderHandler(nullptr);

    // The wheel: 0.05 a notch whatever the size of the turn, within 0.01 and 100.
    Wheel(120);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.05f);
    Wheel(-720);
    EXPECT_FLOAT_EQ(g_viewZoom, 1.0f);
    g_viewZoom = 99.98f;
    Wheel(120);
    EXPECT_EQ(g_viewZoom, 100.0f);
    g_viewZoom = 0.03f;
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(g_viewZoom, 0.01f);
    g_viewLocked = 1;
    Wheel(120);
    EXPECT_EQ(g_viewZoom, 0.01f);
}

TEST_F(ViewDragTest, NothingMovesWhileDragsAreLocked) {
    auto* p = AddVertex<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    Redraw();
    g_dragLocked = 1;
    const double r0 = g_viewRotation[0];
    Drag(Pixel(0, 0), {Pixel(3, 3)});
    ExpectAt(*p, 0, 0, 0);
    EXPECT_TRUE(p->m_selected) << "selection clicks still work";
    EXPECT_EQ(g_viewRotation[0], r0);
}

// The drags of screen items through the handlers (their classes draw and pick themselves later).
TEST_F(ViewDragTest, ScreenItemsMoveWithTheMouse) {
    auto add = [&]<class T>(T* cell) {
        cell->m_id = m_page->m_nextId++;
        return Insert(cell);
    };
    auto* button = add(new CGButton);
    button->m_labelPos[0] = -5.0f;
    button->m_labelPos[1] = 5.0f;
    auto* value = add(new CGTmVariable);
    auto* single = add(new CGTmSingleline);
    auto* text = add(new CGTextbit);
    auto* picture = add(new CGTbImage);
    picture->m_width = 200;
    picture->m_height = 100;
    auto* slider = add(new CGTmVarParameter);
    slider->m_kind = 1;
    slider->m_param1 = 5.0f;
    auto* solid = add(new CGSubassembly);
    solid->m_center[2] = 1.0f;
    float pts[6] = {0, 0, -50, 1, 1, -50};
    auto* ink = add(new CGInkmarks(0, new CStroke(2, pts)));
    for (WORD id : {button->m_id, value->m_id, single->m_id, text->m_id})
        m_page->SelectCell(id);
    Redraw();

    auto dragBy = [&](WORD id, int mode, CPoint from, CPoint to, UINT keys = 0) {
        g_draggedId = id;
        g_dragMode = mode;
        g_dragMoved = 0;
        g_mouseX = from.x;
        g_mouseY = from.y;
        m_view->OnMouseMove(MK_LBUTTON | keys, to);
    };
    const float u = g_unitLength;
    dragBy(button->m_id, 5, CPoint(10, 10), CPoint(30, 0));
    EXPECT_FLOAT_EQ(button->m_labelPos[0], -5.0f + 20 * u);
    EXPECT_FLOAT_EQ(button->m_labelPos[1], 5.0f + 10 * u);
    EXPECT_FLOAT_EQ(m_page->m_lastButtonX, button->m_labelPos[0] / (20 * u));
    dragBy(value->m_id, 6, CPoint(0, 0), CPoint(-20, 40));
    EXPECT_FLOAT_EQ(value->m_labelPos[0], -20 * u);
    EXPECT_FLOAT_EQ(value->m_labelPos[1], -40 * u);
    EXPECT_FLOAT_EQ(single->m_labelPos[0], -20 * u) << "a single-line text moves with the values";
    EXPECT_FLOAT_EQ(text->m_labelPos[0], -5.0f); // where a new bitmap text stands
    dragBy(text->m_id, 7, CPoint(0, 0), CPoint(10, 0));
    EXPECT_FLOAT_EQ(text->m_labelPos[0], -5.0f + 10 * u);
    EXPECT_FLOAT_EQ(value->m_labelPos[0], -20 * u);
    // The picture's handle: 20 pixels wider, 10 pixels taller.
    dragBy(picture->m_id, 12, CPoint(0, 0), CPoint(20, -10));
    EXPECT_FLOAT_EQ(picture->m_scaleX, 1.1f);
    EXPECT_FLOAT_EQ(picture->m_scaleY, 1.1f);
    // The slider: 10 pixels of a range of 10 add 1.
    dragBy(slider->m_id, 13, CPoint(0, 0), CPoint(10, 0));
    EXPECT_FLOAT_EQ(slider->m_param1, 6.0f);
    dragBy(slider->m_id, 13, CPoint(0, 0), CPoint(100, 0));
    EXPECT_FLOAT_EQ(slider->m_param1, 10.0f);
    // The ink: its offset (the label anchor) follows the mouse.
    dragBy(ink->m_id, 4, CPoint(0, 0), CPoint(4, 2));
    EXPECT_FLOAT_EQ(ink->m_labelPos[0], 4 * u);
    EXPECT_FLOAT_EQ(ink->m_labelPos[1], -2 * u);
    // The component solid slides in its horizontal plane to the ray, from above.
    const QPoint target = Pixel(3, -2);
    dragBy(solid->m_id, 2, CPoint(200, 150), CPoint(target.x(), target.y()));
    EXPECT_NEAR(solid->m_center[0], 3.0, 1e-4);
    EXPECT_NEAR(solid->m_center[1], -2.0, 1e-4);
    EXPECT_NEAR(solid->m_center[2], 1.0, 1e-4);
    EXPECT_NEAR(m_view->m_curPoint[0], 3.0, 1e-4);
    g_draggedId = 0;
}

TEST_F(ViewDragTest, TheInkPenThinsItsStroke) {
    g_mouseTool = 9;
    Press(QPoint(100, 100));
    EXPECT_EQ(m_view->m_inkPointCount, 1);
    EXPECT_EQ(m_view->m_toolStage, 1);
    Move(QPoint(110, 100)); // 0.5 units: kept
    Move(QPoint(112, 101)); // 0.15: provisional
    Move(QPoint(114, 101)); // replaces it: 0.2 from the kept point
    EXPECT_EQ(m_view->m_inkPointCount, 3);
    EXPECT_EQ(m_view->m_toolStage, 2);
    Move(QPoint(130, 101)); // replaces it again: far enough now
    EXPECT_EQ(m_view->m_inkPointCount, 3);
    EXPECT_EQ(m_view->m_toolStage, 1);
    Release(QPoint(130, 101));
    ASSERT_EQ(m_view->m_inkStrokes.GetSize(), 1);
    const CStroke* stroke = m_view->m_inkStrokes[0];
    ASSERT_EQ(stroke->GetCount(), 3);
    const float u = g_unitLength;
    EXPECT_FLOAT_EQ(stroke->m_points[0], -100 * u);
    EXPECT_FLOAT_EQ(stroke->m_points[1], 50 * u);
    EXPECT_FLOAT_EQ(stroke->m_points[2], -50.0f);
    EXPECT_FLOAT_EQ(stroke->m_points[6], -70 * u);
    EXPECT_EQ(stroke->m_color, g_currentColor);
    EXPECT_EQ(g_mouseTool, 9) << "the pen stays";
    // A click leaves no stroke.
    Click(QPoint(50, 50));
    EXPECT_EQ(m_view->m_inkStrokes.GetSize(), 1);
    // The stroke is drawn over the figure.
    const QImage frame = m_view->grabFramebuffer();
    EXPECT_GT(qRed(frame.pixel(110, 100)), 200);
    EXPECT_LT(qGreen(frame.pixel(110, 100)), 120);
    // A stroke never holds more than 10000 points (the handlers of a hidden view, which does not
    // draw ten thousand frames).
    m_view->hide();
    m_view->OnLButtonDown(MK_LBUTTON, CPoint(0, 0));
    for (int i = 1; i <= 10050; ++i)
        m_view->OnMouseMove(MK_LBUTTON, i % 2 ? CPoint(300, 200) : CPoint(0, 0));
    EXPECT_EQ(m_view->m_inkPointCount, 10000);
    m_view->OnLButtonUp(0, CPoint(0, 0));
    ASSERT_EQ(m_view->m_inkStrokes.GetSize(), 2);
    EXPECT_EQ(m_view->m_inkStrokes[1]->GetCount(), 10000);
}
