// Building from the selection: every kind's table row by row with the command it runs recorded,
// the results, the dispatcher's own builds (followers, reflections, value points, the horizontal
// segment and the three frustums) on the seeded generator, and the empty selections.
#include "construct_fixture.h"

#include "construct/construct_from_selection.h"
#include "dynamics/buttons.h"
#include "dynamics/ink.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "platform/random.h"
#include "points/confined_points.h"
#include "points/misc_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"
#include "solids/revolution.h"
#include "view/view_services.h"

#include <cmath>

namespace {

namespace C = HxSelectionCommands;

class ConstructFromSelection : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSetSelectionCommandObserver([this](UINT id) { m_commands.push_back(id); });
        m_answer = IDCANCEL; // the commands that ask stop at their dialogs
        g_lineToolKind = 0;
        // A small page of every kind: fixed points, a point on a line and one in a face, lines,
        // a face, circles, ink, values, a parameter, texts, buttons and a solid.
        p = AddPoint(0, 0, 0)->m_id;
        q = AddPoint(4, 0, 0)->m_id;
        r = AddPoint(0, 4, 0)->m_id;
        s = AddPoint(0, 0, 4)->m_id;
        l1 = AddLine(p, q)->m_id;
        l2 = AddLine(p, r)->m_id;
        l3 = AddLine(q, r)->m_id;
        f = AddFace({p, q, r})->m_id;
        c1 = AddCircle(0, 0, 0, 5)->m_id;
        c2 = AddCircle(1, 0, 0, 5)->m_id;
        const float strokePoints[6] = {0, 0, -50, 1, 1, -50};
        ink = Insert(new CGInkmarks(NextId(), new CStroke(2, strokePoints)))->m_id;
        onLine = Insert(new CGVerFreeInLine(NextId(), NextVertex(), u"L", l1, 0.5f))->m_id;
        inFace = Insert(new CGVerFreeInFace(NextId(), NextVertex(), u"G", f, 0.3f, 0.3f))->m_id;
        xyz = Insert(new CGVerFreeXyz(NextId(), NextVertex(), u"X", 1, 2, 3))->m_id;
        v1 = AddValue(1.0f, u"a")->m_id;
        v2 = AddValue(2.0f, u"b")->m_id;
        v3 = AddValue(3.0f, u"c")->m_id;
        auto* parameter = new CGTmVarParameter;
        parameter->m_id = NextId();
        parameter->m_name = CString(u"t");
        param = Insert(parameter)->m_id;
        auto* text1 = new CGTextbit;
        text1->m_id = NextId();
        t1 = Insert(text1)->m_id;
        auto* text2 = new CGTextbit;
        text2->m_id = NextId();
        t2 = Insert(text2)->m_id;
        b1 = Insert(new CGButnSHide(NextId()))->m_id;
        b2 = Insert(new CGButnSHide(NextId()))->m_id;
        auto* sphere = new CGSphere;
        sphere->m_id = NextId();
        solid = Insert(sphere)->m_id;
    }
    void TearDown() override {
        HxSetSelectionCommandObserver(nullptr);
        HxGetViewServices() = HxViewServices();
        ConstructTest::TearDown();
    }

    // Runs kind on the selection; the commands it ran come back in m_commands.
    int Dispatch(int kind, std::initializer_list<WORD> selection) {
        Select(selection);
        m_commands.clear();
        return m_doc->ConstructFromSelection(kind);
    }

    struct CRow {
        std::vector<WORD> selection;
        std::vector<UINT> commands;
        int result;
    };
    void ExpectRows(int kind, const std::vector<CRow>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            const CRow& row = rows[i];
            Select({});
            for (WORD id : row.selection)
                m_page->SelectCell(id);
            m_commands.clear();
            const int result = m_doc->ConstructFromSelection(kind);
            EXPECT_EQ(m_commands, row.commands) << "kind " << kind << ", row " << i;
            EXPECT_EQ(result, row.result) << "kind " << kind << ", row " << i;
        }
    }

    std::vector<UINT> m_commands;
    WORD p, q, r, s, l1, l2, l3, f, c1, c2, ink, onLine, inFace, xyz, v1, v2, v3, param, t1, t2, b1, b2,
        solid;
};

TEST_F(ConstructFromSelection, NothingSelectedGivesTheToolsNothing) {
    // (The page holds ink, whose cells have no record: the page is compared by its counters.)
    for (int kind : {1, 2, 3, 4, 12}) {
        const WORD next = m_page->m_nextId;
        EXPECT_EQ(Dispatch(kind, {}), 0) << kind;
        EXPECT_TRUE(m_commands.empty()) << kind;
        EXPECT_EQ(m_page->m_nextId, next) << kind;
        EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << kind;
    }
}

// The result is the number of points the row added: commands that exist make theirs.
TEST_F(ConstructFromSelection, PointToolRows) {
    ExpectRows(1, {
                      {{l1}, {C::kPointMiddle}, 1},
                      {{l1, l2, l3}, {C::kPointMiddle}, 3}, // a midpoint each
                      {{f}, {C::kPointOnObject}, 1},
                      {{ink}, {C::kPointOnObject}, 0},
                      {{l1, l2}, {C::kPointInter}, 1},
                      {{c1, c2}, {C::kPointInter}, 2},
                      {{l1, c1}, {C::kPointInter}, 2},
                      {{l1, f}, {C::kPointInter}, 1},
                      {{c1, f}, {C::kPointInter}, 2},
                      {{ink, c1}, {}, 0}, // one of two curves is ink: no intersection
                      {{onLine, c1}, {C::kPointInObjFt}, 1},
                      {{p, q, r}, {C::kPointPerEq}, 1}, // that command makes one point
                      {{v1, l1}, {C::kPointInObjFt}, 1},
                      {{v1, p, q}, {C::kPointInObjFt}, 0},
                      {{p, q, r, s}, {C::kPointInObjFt}, 1},
                      {{t1}, {}, 0},
                      {{p, q, r, s, v1, v2, v3, param}, {}, 0},
                  });
}

TEST_F(ConstructFromSelection, OnePointGetsAFollowerAtARandomOffset) {
    HxSrand(1);
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(1, {q}), 1);
    auto* follower = Cell<CGVerFreeHenchman>(first);
    ASSERT_NE(follower, nullptr);
    // Seed 1 gives 41, 18467, 6334, 26500: dx, the side of y, its size, dz.
    const double dx = 3.0 * 41 / 32767 + 2, side = 2.0 * 18467 / 32767 - 1, m = 3.0 * 6334 / 32767 + 2,
                 dz = 6.0 * 26500 / 32767 - 3;
    ASSERT_GT(side, 0.0);
    EXPECT_NEAR(follower->m_x, 4 + dx, 1e-5);
    EXPECT_NEAR(follower->m_y, m, 1e-5);
    EXPECT_NEAR(follower->m_z, dz, 1e-5);
    EXPECT_EQ(follower->m_parents[0], q);
    ExpectUndoStep<CCmdAddCell>(u"添加三维随动点");
}

TEST_F(ConstructFromSelection, TwoPointsOrAPointAndALineOrFaceGiveTheReflection) {
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(1, {r, q}), 1);
    auto* image = Cell<CGVerSymmetryP>(first);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(Cell<CGVertex>(r)->m_name, CString(u"C"));
    EXPECT_EQ(image->m_name, CString(u"C'"));
    ExpectValidAt(*image, 8, -4, 0);
    ExpectUndoStep<CCmdAddCell>(u"添加对称点");
    EXPECT_EQ(Dispatch(1, {s, l1}), 1);
    ExpectValidAt(*Cell<CGVerSymmetryL>(WORD(first + 1)), 0, 0, -4);
    EXPECT_EQ(Dispatch(1, {s, f}), 1);
    ExpectValidAt(*Cell<CGVerSymmetryF>(WORD(first + 2)), 0, 0, -4);
    EXPECT_TRUE(m_commands.empty());
}

TEST_F(ConstructFromSelection, ValuesAloneGiveAPointFromThem) {
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(1, {v2}), 1);
    ExpectValidAt(*Cell<CGVerCoordinates>(first), 2, 0, 0);
    EXPECT_EQ(Dispatch(1, {v3, v1, v2}), 1);
    ExpectValidAt(*Cell<CGVerCoordinates>(WORD(first + 1)), 3, 1, 2);
    ExpectUndoStep<CCmdAddCell>(u"添加由度量值绘制的点");
}

TEST_F(ConstructFromSelection, LineToolRows) {
    ExpectRows(2, {
                      {{p, q}, {C::kLineSegment}, 1},
                      {{l1}, {C::kLineSegment}, 1},
                      {{p, l1}, {C::kLinePerpendicular}, 1},
                      {{p, f}, {C::kLinePerpendicular}, 1},
                      {{p, l1, l2}, {C::kLinePerpendicular}, 1},
                      {{l1, p, q}, {C::kLineParallel}, 1},
                      {{f}, {}, 0},
                      {{c1}, {}, 0},
                  });
    // The line command follows the line tool's kind; an unknown kind runs nothing but still fires.
    g_lineToolKind = 2;
    ExpectRows(2, {{{p, q}, {C::kLineStraight}, 1}});
    g_lineToolKind = 7;
    ExpectRows(2, {{{p, q}, {}, 1}});
}

TEST_F(ConstructFromSelection, TheLineToolJoinsTheSelectedPoints) {
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(2, {p, q}), 1);
    auto* segment = Cell<CGLine>(first);
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(segment->m_kind, CGLine::kSegment);
}

TEST_F(ConstructFromSelection, OnePointWithTheLineToolGivesAHorizontalSegment) {
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(2, {s}), 1);
    auto* end = Cell<CGVerFreeParVector>(first);
    ASSERT_NE(end, nullptr);
    ExpectValidAt(*end, 8, 0, 4);
    auto* segment = Cell<CGLine>(WORD(first + 1));
    ASSERT_NE(segment, nullptr);
    EXPECT_EQ(Parents(segment), (std::vector<WORD>{s, first}));
    ExpectUndoStep<CCmdAddCells>(u"添加水平线段", 2);
}

TEST_F(ConstructFromSelection, FaceAndCircleToolRows) {
    ExpectRows(3, {
                      {{p, q, r}, {C::kFace}, 1},
                      {{f}, {C::kFill}, 1},
                      {{p, f}, {C::kFaceParface}, 1},
                      {{l1}, {C::kFacePerline}, 1},
                      {{p, l1}, {C::kFacePerline}, 1},
                      {{p, q}, {}, 0},
                      {{c1}, {}, 0},
                  });
    ExpectRows(4, {
                      {{p}, {C::kCirclePnz2}, 1},
                      {{p, q}, {C::kCirclePnz2}, 1},
                      {{p, v1}, {C::kCircleCentreRadius}, 1},
                      {{p, q, r}, {C::kCircle3p}, 1},
                      {{c1, c2}, {C::kFill}, 1},
                      {{ink}, {}, 0},
                      {{l1}, {}, 0},
                  });
}

TEST_F(ConstructFromSelection, SolidGalleries) {
    ExpectRows(5, {
                      {{q}, {}, 0},
                      {{p, f}, {C::kSolidPrism}, 0},
                      {{p, q}, {C::kCylinder}, 0},
                      {{p, q, r}, {C::kCylinder}, 0},
                      {{f}, {C::kBox}, 0},
                      {{}, {C::kBox}, 0},
                  });
    ExpectRows(6, {
                      {{r}, {}, 0},
                      {{p, f}, {C::kSolidPyramid}, 0},
                      {{p, q, r}, {C::kCone}, 0},
                      {{}, {}, 0},
                  });
    ExpectRows(7, {
                      {{p, f}, {C::kSolidTrun}, 0},
                      {{p, q}, {C::kPlatform}, 0},
                      {{p, q, r, s}, {C::kPlatform}, 0},
                  });
    ExpectRows(8, {
                      {{p, q}, {C::kGeo}, 0},
                      {{p}, {C::kSphereBody}, 0},
                      {{}, {C::kSphereBody}, 0},
                  });
}

TEST_F(ConstructFromSelection, SolidGalleriesBuildOnOnePointOrByDefault) {
    const struct {
        int kind;
        std::vector<WORD> selection;
        const char16_t* undo;
    } rows[] = {
        {5, {q}, u"添加轴向长方体"},
        {6, {r}, u"添加正三棱锥"},
        {6, {}, u"添加正四面体"},
    };
    for (const auto& row : rows) {
        Select({});
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        const WORD next = m_page->m_nextId;
        EXPECT_EQ(m_doc->ConstructFromSelection(row.kind), 0);
        EXPECT_GT(m_page->m_nextId, next) << row.kind;
        CCmd* cmd = m_page->m_cmdProcessor.GetCurrent();
        ASSERT_NE(cmd, nullptr);
        EXPECT_EQ(cmd->m_name, CString(row.undo));
    }
}

TEST_F(ConstructFromSelection, OnePointGivesTheCentredFrustumAndKeepsItsNameOnUndo) {
    auto* a = Insert(new CGVerFreeXyz(NextId(), NextVertex(), u"P", 4, 0, 2));
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(7, {a->m_id}), 0);
    ASSERT_EQ(m_page->m_nextId - first, 25);
    ExpectUndoStep<CCmdAddCells>(u"添加正四棱台", 25);
    EXPECT_EQ(a->m_name, CString(u"A"));
    ExpectValidAt(*Cell<CGVertex>(first), 0, 4, 2, 1e-5);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 1)), -4, 0, 2, 1e-5);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 2)), 0, -4, 2, 1e-5);
    const struct {
        const char16_t* name;
        double x, y, z;
    } top[] = {{u"A1", 2, 0, -1}, {u"B1", 0, 2, -1}, {u"C1", -2, 0, -1}, {u"D1", 0, -2, -1}};
    for (int i = 0; i < 4; ++i) {
        auto* point = Cell<CGVerScaleO>(WORD(first + 3 + i));
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(point->m_name, CString(top[i].name));
        ExpectValidAt(*point, top[i].x, top[i].y, top[i].z, 1e-5);
    }
    int faces = 0;
    for (CGCell* cell : MadeFrom(first))
        faces += cell->IsKindOf(RUNTIME_CLASS(CGFace)) ? 1 : 0;
    EXPECT_EQ(faces, 6);
    // Undo takes the cells back and gives the point its own name again.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(a->m_name, CString(u"P"));
    EXPECT_EQ(m_page->m_nextId, first);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(a->m_name, CString(u"A"));
}

TEST_F(ConstructFromSelection, OneLineGivesTheLineFrustum) {
    CGLine* axis = AddLine(p, s);
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(7, {axis->m_id}), 0);
    ASSERT_EQ(m_page->m_nextId - first, 26);
    ExpectUndoStep<CCmdAddCells>(u"添加正四棱台", 26);
    // The bottom square about P, radius 10, in the plane z = 0; the top one about S, radius 5.
    for (int i = 0; i < 4; ++i) {
        auto* bottom = Cell<CGVertex>(WORD(first + i));
        auto* top = Cell<CGVertex>(WORD(first + 4 + i));
        ASSERT_NE(bottom, nullptr);
        ASSERT_NE(top, nullptr);
        EXPECT_NEAR(std::hypot(bottom->m_x, bottom->m_y), 10.0, 1e-4) << i;
        EXPECT_NEAR(bottom->m_z, 0.0, 1e-5) << i;
        EXPECT_NEAR(std::hypot(top->m_x, top->m_y), 5.0, 1e-4) << i;
        EXPECT_NEAR(top->m_z, 4.0, 1e-5) << i;
        // Each top corner lies over its bottom corner.
        EXPECT_NEAR(top->m_x * 2, bottom->m_x, 1e-4) << i;
        EXPECT_NEAR(top->m_y * 2, bottom->m_y, 1e-4) << i;
    }
    auto* p1 = Cell<CGVertex>(first);
    EXPECT_NEAR(p1->m_x, -10 * std::sin(2.4), 1e-4);
    EXPECT_NEAR(p1->m_y, 10 * std::cos(2.4), 1e-4);
}

TEST_F(ConstructFromSelection, TheDefaultFrustumIsBuiltOnASquareBase) {
    const WORD first = m_page->m_nextId;
    EXPECT_EQ(Dispatch(7, {}), 0);
    ASSERT_EQ(m_page->m_nextId - first, 29);
    ExpectUndoStep<CCmdAddCells>(u"添加正四棱台", 29);
    auto* base = Cell<CGFace>(WORD(first + 8));
    ASSERT_NE(base, nullptr);
    auto* apex = Cell<CGVerFreePerpen>(WORD(first + 10));
    ASSERT_NE(apex, nullptr);
    EXPECT_EQ(apex->m_name, CString(u"V"));
    EXPECT_NE(apex->m_labelHidden, 0);
    EXPECT_NE(Cell<CGVertex>(WORD(first + 9))->m_labelHidden, 0);
    ExpectValidAt(*Cell<CGVertex>(first), -6, -6, -5);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 2)), -6, 6, -5, 1e-4);
    ExpectValidAt(*Cell<CGVertex>(WORD(first + 3)), 6, 6, -5, 1e-4);
    ExpectValidAt(*apex, 0, 0, 11, 1e-4);
    int faces = 0;
    for (CGCell* cell : MadeFrom(first))
        faces += cell->IsKindOf(RUNTIME_CLASS(CGFace)) ? 1 : 0;
    EXPECT_EQ(faces, 6);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
    EXPECT_EQ(m_page->FindCell(WORD(first + 28)), nullptr);
}

TEST_F(ConstructFromSelection, MeasureTextAndCurveGalleries) {
    ExpectRows(9, {
                      {{}, {C::kMeasureFun}, 0},
                      {{v1, v2}, {C::kMeasureFun}, 0},
                      {{onLine}, {C::kMeasurePt}, 0},
                      {{p}, {C::kMeasurePxyz}, 0},
                      {{inFace}, {C::kMeasurePxyz}, 0},
                      {{l1}, {C::kMeasureDpp}, 0},
                      {{f}, {C::kMeasureArea}, 0},
                      {{c1}, {C::kMeasureLenC}, 0},
                      {{solid}, {C::kMeasureVolumeS}, 0},
                      {{t1}, {C::kMeasureFun}, 0},
                      {{l1, l2}, {C::kMeasureDpp}, 0},
                      {{p, q, r}, {C::kMeasureDpp}, 0},
                      {{p, l1}, {C::kMeasurePt}, 0},
                      {{p, c1}, {C::kMeasurePt}, 0},
                      {{p, f}, {C::kMeasureFun}, 0},
                  });
    std::vector<std::pair<CPoint, int>> inserted;
    HxGetViewServices().insertMtfColourText = [&](CHalvixDoc&, CPoint at, int flag) {
        inserted.push_back({at, flag});
    };
    ExpectRows(10, {
                       {{p}, {C::kLabelModify}, 0},
                       {{p, q}, {C::kBatchLabels}, 0},
                       {{t1, t2}, {C::kLabelModify}, 0},
                       {{p, l1}, {}, 0},
                       {{}, {}, 0},
                   });
    ASSERT_EQ(inserted.size(), 2u);
    EXPECT_EQ(inserted[0].first.x, 500);
    EXPECT_EQ(inserted[0].first.y, 300);
    EXPECT_EQ(inserted[0].second, 0);
    // The locus and track commands that add nothing are followed by the curve command.
    ExpectRows(11, {
                       {{p, q}, {C::kLocus, C::kCurve}, 0},
                       {{onLine}, {C::kTrack, C::kCurve}, 0},
                       {{onLine, v1, v2}, {C::kTrack, C::kCurve}, 0},
                       {{onLine, v1}, {C::kCurve}, 0},
                       {{}, {C::kCurve}, 0},
                   });
}

TEST_F(ConstructFromSelection, PlayCommandAddsTheFittingButton) {
    ExpectRows(12, {
                       {{p}, {C::kButtonHideShow}, 1},
                       {{onLine}, {C::kButtonAnimation}, 1},
                       {{inFace}, {C::kButtonAnimation}, 1},
                       {{param}, {C::kButtonAnimation}, 1},
                       {{v1}, {C::kButtonHideShow}, 1},
                       {{xyz, p}, {C::kButtonMove}, 1},
                       {{onLine, p}, {C::kButtonMove}, 1},
                       {{p, q}, {C::kButtonHideShow}, 1},
                       {{b1, b2}, {C::kButtonSeries}, 1},
                       {{l1, f}, {C::kButtonHideShow}, 1},
                   });
}

TEST_F(ConstructFromSelection, GalleryCommandsRunTheirKinds) {
    const struct {
        UINT gallery;
        std::vector<UINT> commands;
    } rows[] = {
        {ID_CREATE_SPHERE, {C::kGeo}},
        {ID_CREATE_MEASCALC, {C::kMeasureDpp}},
        {ID_CREATE_CURVE_LOCUS, {C::kLocus, C::kCurve}},
        {ID_CREATE_PRISM, {C::kCylinder}},
        {ID_CREATE_PYRAMID, {C::kCone}},
        {ID_CREATE_FRUSTUM, {C::kPlatform}},
        {ID_CREATE_TEXTLABEL, {C::kBatchLabels}},
    };
    for (const auto& row : rows) {
        Select({p, q});
        m_commands.clear();
        ASSERT_TRUE(Run(row.gallery)) << row.gallery;
        EXPECT_EQ(m_commands, row.commands) << row.gallery;
    }
}

} // namespace
