// The edit commands: lighting switched by class, reversal of lines, faces, every kind of circle and
// surfaces, separate and locate with its undo, the alignment of buttons, values and texts, and their
// enabling rules.
#include "construct/construct_fixture.h"

#include "button_fixture.h"
#include "dynamics/edit_ids.h"
#include "dynamics/surface.h"
#include "model/arc_circles.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "points/constructed_arcs.h"
#include "solids/revolution.h"
#include "solids/revolution_constructed.h"

#include <cmath>

namespace {

class EditCommandsTest : public ConstructTest {
protected:
    CGSurface* AddSurface(BYTE style, const char16_t* vStart = u"-1", const char16_t* vEnd = u"1") {
        const double mapping[CGSurface::kMappingCount] = {1, 0, 0, 1, 0, 0};
        return Insert(new CGSurface(NextId(), {}, u"u", u"v", u"u*v", u"-1", u"1", vStart, vEnd, style, 0, 0,
                                    0, 0, 0.5, 0.5, mapping));
    }
    template <class T, class... Args> T* AddPlain(Args&&... args) {
        return Insert(new T(NextId(), std::forward<Args>(args)...));
    }
};

} // namespace

TEST_F(EditCommandsTest, LightingSwitchesEachClassItsOwnWay) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(1, 0, 0);
    CGVertex* r = AddPoint(0, 1, 0);
    CGLine* line = AddLine(p->m_id, q->m_id);
    CGFace* face = AddFace({p->m_id, q->m_id, r->m_id});
    CGArc* disc = AddCircle(0, 0, 0, 2, CGArc::kDisc);
    auto* cylinder = AddPlain<CGCylinder>(0.0f, 0.0f, 0.0f, 2.0f, 4.0f, 0.0f, 0.0f, 1.0f);
    CGSurface* surface = AddSurface(CGSurface::kStyleTranslucent);
    struct Case {
        CGCell* cell;
        BYTE before;
        BYTE alpha;
        BYTE after;
        BYTE alphaAfter;
    };
    const std::vector<Case> cases = {
        {p, 1, 255, 5, 255},        {p, 5, 255, 1, 255},       {p, 0, 255, 4, 255},
        {p, 2, 255, 4, 255},        {p, 3, 255, 5, 255},       {p, 4, 255, 0, 255},
        {p, 6, 255, 6, 255},        {line, 0, 255, 4, 255},    {line, 4, 255, 0, 255},
        {line, 2, 255, 4, 255},     {face, 4, 90, 3, 255},     {face, 3, 255, 0, 255},
        {face, 1, 255, 3, 255},     {disc, 2, 90, 1, 255},     {disc, 1, 255, 0, 255},
        {disc, 3, 255, 1, 255},     {cylinder, 3, 90, 2, 255}, {cylinder, 2, 255, 0, 255},
        {cylinder, 1, 255, 2, 255}, {surface, 1, 90, 0, 255},  {surface, 0, 255, 2, 255},
        {surface, 2, 255, 0, 255},
    };
    for (const Case& c : cases) {
        c.cell->m_style = c.before;
        c.cell->m_color.a = c.alpha;
        Select({c.cell->m_id});
        EXPECT_TRUE(Enabled(ID_VIEW_RENDERSOLID));
        Run(ID_VIEW_RENDERSOLID);
        EXPECT_EQ(c.cell->m_style, c.after)
            << c.cell->GetRuntimeClass()->m_lpszClassName << " from " << int(c.before);
        EXPECT_EQ(c.cell->m_color.a, c.alphaAfter) << c.cell->GetRuntimeClass()->m_lpszClassName;
        EXPECT_TRUE(m_page->m_selAll.IsEmpty()) << "the selection is cleared";
        EXPECT_FALSE(c.cell->m_selected);
    }
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "no undo step";
    // A surface switched to the wire grid samples it.
    surface->m_style = CGSurface::kStyleLit;
    Select({surface->m_id});
    Run(ID_VIEW_RENDERSOLID);
    CSurfaceMesh mesh;
    ASSERT_TRUE(surface->SampleMesh(mesh));
    EXPECT_TRUE(mesh.wire);
    // Enabled by points, lines, faces, curves or solids; not by values alone.
    m_page->ClearSelection();
    EXPECT_FALSE(Enabled(ID_VIEW_RENDERSOLID));
    Select({AddValue(1.0f, u"a")->m_id});
    EXPECT_FALSE(Enabled(ID_VIEW_RENDERSOLID));
}

TEST_F(EditCommandsTest, ReversingALineSwapsItsPointsAndRecomputesWhatIsBuiltOnIt) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(8, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    EXPECT_EQ(ab->m_name, CString(u"AB"));
    auto* onLine = Insert(new CGVerFreeInLine(NextId(), NextVertex(), u"P", ab->m_id, 0.25f));
    EXPECT_FLOAT_EQ(onLine->m_x, 2.0f);
    Select({ab->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_REVERSE));
    Run(ID_EDIT_REVERSE);
    EXPECT_EQ(Parents(ab), (std::vector<WORD>{b->m_id, a->m_id}));
    EXPECT_EQ(ab->m_name, CString(u"BA"));
    EXPECT_FLOAT_EQ(onLine->m_x, 6.0f) << "the point on it now counts from B";
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED), (std::vector<LPARAM>{LPARAM(m_page->m_pageId)}));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
}

TEST_F(EditCommandsTest, ReversingAFaceReversesItsCorners) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(4, 4, 0);
    CGVertex* d = AddPoint(0, 4, 0);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id, d->m_id});
    face->UpdateName();
    EXPECT_EQ(face->m_name, CString(u"ABCD"));
    Select({face->m_id});
    Run(ID_EDIT_REVERSE);
    EXPECT_EQ(Parents(face), (std::vector<WORD>{d->m_id, c->m_id, b->m_id, a->m_id}));
    EXPECT_EQ(face->m_name, CString(u"DCBA"));
}

TEST_F(EditCommandsTest, ReversingEachKindOfCircle) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(3, 0, 0);
    CGVertex* b = AddPoint(0, 3, 0);
    auto* centreP = AddPlain<CGArcCenterP>(o->m_id, a->m_id, b->m_id, BYTE(CGArc::kArc));
    auto* threeP = AddPlain<CGArcCircle3P>(o->m_id, a->m_id, b->m_id, BYTE(CGArc::kArc));
    auto* pointN = AddPlain<CGArcPointN>(o->m_id, a->m_id, b->m_id, BYTE(CGArc::kCircle), DWORD(0));
    auto* point2 = AddPlain<CGArcPoint2>(o->m_id, a->m_id, BYTE(CGArc::kCircle));
    CGArc* placed = AddCircle(0, 0, 0, 2, CGArc::kArc, 0.5f, 2.0f);
    auto* onCircle = AddPlain<CGArcInCircle>(a->m_id, b->m_id, placed->m_id);
    const std::vector<WORD> onCircleParents = Parents(onCircle);
    Select({centreP->m_id, threeP->m_id, pointN->m_id, point2->m_id, placed->m_id, onCircle->m_id});
    Run(ID_EDIT_REVERSE);
    EXPECT_EQ(Parents(centreP), (std::vector<WORD>{o->m_id, b->m_id, a->m_id}));
    EXPECT_EQ(Parents(threeP), (std::vector<WORD>{b->m_id, a->m_id, o->m_id}));
    EXPECT_EQ(pointN->m_extA2, 1);
    EXPECT_EQ(point2->m_extA2, 1);
    // U and V exchanged; the sweep from pi/2 - 2 to pi/2 - 0.5, the same points the other way round.
    EXPECT_FLOAT_EQ(placed->m_axisU[1], 2.0f);
    EXPECT_FLOAT_EQ(placed->m_axisV[0], 2.0f);
    const double twoPi = 2.0 * std::numbers::pi;
    EXPECT_NEAR(placed->m_startAngle, std::fmod(std::numbers::pi / 2 - 2.0 + twoPi, twoPi), 1e-6);
    EXPECT_NEAR(placed->m_endAngle, std::numbers::pi / 2 - 0.5 + twoPi, 1e-6);
    // The arc on a circle is refused with the message and left as it was.
    EXPECT_EQ(m_messages, (std::vector<CString>{kArcOnCircleMessage}));
    EXPECT_EQ(Parents(onCircle), onCircleParents);
    // An arc reversed twice is the arc again.
    Select({placed->m_id, pointN->m_id});
    Run(ID_EDIT_REVERSE);
    EXPECT_NEAR(placed->m_startAngle, 0.5f, 1e-6);
    EXPECT_NEAR(placed->m_endAngle, 2.0f, 1e-6);
    EXPECT_FLOAT_EQ(placed->m_axisU[0], 2.0f);
    EXPECT_EQ(pointN->m_extA2, 0);
}

TEST_F(EditCommandsTest, ReversingASurfaceExchangesTheEndsOfV) {
    CGSurface* surface = AddSurface(CGSurface::kStyleLit, u"-1", u"3");
    CSurfaceMesh before;
    ASSERT_TRUE(surface->SampleMesh(before));
    Select({surface->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_REVERSE));
    Run(ID_EDIT_REVERSE);
    EXPECT_EQ(surface->m_texts[CGSurface::kVStart], CString(u"3"));
    EXPECT_EQ(surface->m_texts[CGSurface::kVEnd], CString(u"-1"));
    EXPECT_TRUE(surface->m_valid);
    CSurfaceMesh after;
    ASSERT_TRUE(surface->SampleMesh(after));
    // The rows run the other way; their points are the same.
    ASSERT_EQ(after.nv, before.nv);
    for (int j = 0; j < before.nu; ++j) {
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(after.Point(0, j)[k], before.Point(before.nv - 1, j)[k], 1e-9);
    }
    // A solid that is no surface does not enable the command.
    auto* cone = AddPlain<CGCone>(0.0f, 0.0f, 0.0f, 2.0f, 4.0f, 0.0f, 0.0f, 1.0f);
    Select({cone->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_REVERSE));
}

TEST_F(EditCommandsTest, SeparatingAMidpointAndItsUndo) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* mid = Insert(new CGVerMid(NextId(), NextVertex(), u"M", ab->m_id));
    CGVertex* c = AddPoint(0, 6, 0);
    CGLine* mc = AddLine(mid->m_id, c->m_id);
    const WORD id = mid->m_id;
    const PageSnapshot before = TakeSnapshot(*m_page);
    Select({id});
    EXPECT_TRUE(Enabled(ID_EDIT_SPLIT));
    Run(ID_EDIT_SPLIT);
    ExpectUndoStep<CCmdSplit>(kUndoSplit);
    CGCell* now = m_page->FindCell(id);
    ASSERT_TRUE(now);
    EXPECT_STREQ(now->GetRuntimeClass()->m_lpszClassName, "CGVertex");
    auto* fixed = static_cast<CGVertex*>(now);
    EXPECT_FLOAT_EQ(fixed->m_x, 2.0f);
    EXPECT_FLOAT_EQ(fixed->m_y, 1.0f);
    EXPECT_EQ(fixed->m_name, CString(u"M"));
    EXPECT_EQ(fixed->m_color, g_colorPoint);
    EXPECT_TRUE(fixed->m_parents.IsEmpty());
    EXPECT_EQ(Ids(fixed->m_children), (std::vector<WORD>{mc->m_id}));
    EXPECT_FALSE(ab->m_children.Find(id)) << "the segment no longer has it as a child";
    // Moving the segment's point leaves the separated point where it is.
    MovePoint(b, 8, 2, 0);
    EXPECT_FLOAT_EQ(fixed->m_x, 2.0f);
    MovePoint(b, 4, 2, 0);
    // Undo puts the midpoint back, tied to the segment again.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->FindCell(id), mid);
    EXPECT_EQ(TakeSnapshot(*m_page), before) << SnapshotDifference(TakeSnapshot(*m_page), before);
    MovePoint(b, 8, 2, 0);
    EXPECT_FLOAT_EQ(mid->m_x, 4.0f);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(m_page->FindCell(id), fixed);
}

TEST_F(EditCommandsTest, SeparatingCirclesAndSolidsKeepsTheirFigures) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(3, 0, 0);
    CGVertex* b = AddPoint(0, 3, 0);
    CGVertex* top = AddPoint(0, 0, 5);
    auto* arc = AddPlain<CGArcCenterP>(o->m_id, a->m_id, b->m_id, BYTE(CGArc::kSector));
    auto* cylinder = AddPlain<CGCylinderCPC>(o->m_id, a->m_id, top->m_id);
    const BYTE circles = m_page->m_circleCounter;
    Select({arc->m_id, cylinder->m_id, AddValue(1, u"v")->m_id});
    Run(ID_EDIT_SPLIT);
    auto* placed = DYNAMIC_DOWNCAST(CGArc, m_page->FindCell(arc->m_id));
    ASSERT_TRUE(placed);
    EXPECT_STREQ(placed->GetRuntimeClass()->m_lpszClassName, "CGArc");
    EXPECT_EQ(placed->m_kind, CGArc::kSector);
    EXPECT_FALSE(placed->m_sweepFromPoints);
    EXPECT_EQ(placed->m_startAngle, arc->m_startAngle);
    EXPECT_EQ(placed->m_endAngle, arc->m_endAngle);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(placed->m_center[i], arc->m_center[i]);
        EXPECT_EQ(placed->m_axisU[i], arc->m_axisU[i]);
        EXPECT_EQ(placed->m_labelOffset[i], arc->m_labelOffset[i]);
    }
    EXPECT_EQ(placed->m_name, arc->m_name);
    EXPECT_EQ(m_page->m_circleCounter, circles) << "no circle name was used up";
    auto* solid = m_page->FindCell(cylinder->m_id);
    EXPECT_STREQ(solid->GetRuntimeClass()->m_lpszClassName, "CGCylinder");
    auto* fixed = static_cast<CGCylinder*>(solid);
    EXPECT_FLOAT_EQ(fixed->m_radius, 3.0f);
    EXPECT_FLOAT_EQ(fixed->m_height, 5.0f);
    EXPECT_TRUE(fixed->m_parents.IsEmpty());
    // Moving the old points leaves both in place.
    MovePoint(a, 6, 0, 0);
    EXPECT_FLOAT_EQ(fixed->m_radius, 3.0f);
    EXPECT_FLOAT_EQ(placed->m_axisU[0], 3.0f);
}

TEST_F(EditCommandsTest, SeparatingNothingSeparableRecordsNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGSurface* surface = AddSurface(CGSurface::kStyleLit);
    Select({ab->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_SPLIT));
    Select({ab->m_id, surface->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    EXPECT_TRUE(Enabled(ID_EDIT_SPLIT)) << "a solid is selected";
    Run(ID_EDIT_SPLIT);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_EQ(m_page->FindCell(surface->m_id), surface);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(TakeSnapshot(*m_page), before);
}

TEST_F(EditCommandsTest, AligningButtonsPutsThemInAColumnUnderTheLast) {
    CGTmVariable* value = AddValue(0, u"a");
    std::vector<CGButton*> buttons;
    const float ys[3] = {10.0f, 4.0f, 1.0f};
    const float xs[3] = {-3.0f, 7.0f, 2.0f};
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(
            AddPlain<CGButnAnimation>(CString(u"动画"), value->m_id, 0.0f, 1.0f, 0, BYTE(0), 0.1f, 0.0f));
        buttons.back()->m_labelPos[0] = xs[i];
        buttons.back()->m_labelPos[1] = ys[i];
    }
    Select({buttons[0]->m_id, buttons[1]->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_FLUSH));
    Select({buttons[0]->m_id, buttons[1]->m_id, buttons[2]->m_id});
    Run(ID_EDIT_FLUSH);
    const float expectedY[3] = {10.0f, 5.5f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(buttons[size_t(i)]->m_labelPos[0], 2.0f);
        EXPECT_FLOAT_EQ(buttons[size_t(i)]->m_labelPos[1], expectedY[i]);
    }
    // The next new button continues the column: at x / u, y / u with u = 20 x 0.05.
    EXPECT_FLOAT_EQ(m_page->m_lastButtonX, 2.0f);
    EXPECT_FLOAT_EQ(m_page->m_lastButtonY, 1.0f);
    // trunc((2 + 20.5) / 5) x 16 - trunc((12 - 1 + 0.75) / -1.5) + 1 = 64 + 7 + 1.
    EXPECT_EQ(m_page->m_buttonSlot, 72);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    // One button alone is not aligned.
    Select({buttons[0]->m_id});
    EXPECT_FALSE(Enabled(ID_EDIT_FLUSH));
}

TEST_F(EditCommandsTest, AligningValuesAndCentringATextPicture) {
    CGTmVariable* a = AddValue(1, u"a");
    CGTmVariable* b = AddValue(2, u"b");
    a->m_labelPos[0] = 12.0f;
    a->m_labelPos[1] = 9.0f;
    b->m_labelPos[0] = 13.0f;
    b->m_labelPos[1] = 3.0f;
    Select({a->m_id, b->m_id});
    Run(ID_EDIT_FLUSH);
    EXPECT_FLOAT_EQ(a->m_labelPos[0], 13.0f);
    EXPECT_FLOAT_EQ(a->m_labelPos[1], 9.0f);
    EXPECT_FLOAT_EQ(b->m_labelPos[1], 3.0f);
    EXPECT_FLOAT_EQ(m_page->m_lastTextX, 13.0f);
    // trunc((19 - 13) / 12) x 16 - trunc((11 - 3 + 0.75) / -1.5) + 1 = 0 + 5 + 1.
    EXPECT_EQ(m_page->m_textSlot, 6);

    auto* picture = new CGTbImage(NextId(), 200, 10, std::vector<BYTE>(size_t(600 * 10), 0));
    Insert(picture);
    picture->m_scaleX = 0.5f;
    picture->m_labelPos[0] = 7.0f;
    Select({picture->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_FLUSH));
    Run(ID_EDIT_FLUSH);
    // 200 pixels at half size, 0.05 a pixel, centred on the view's vertical axis.
    EXPECT_FLOAT_EQ(picture->m_labelPos[0], -2.5f);
}
