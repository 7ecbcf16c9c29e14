// The hull, net, section and cut commands: their enabling rules, the hulls of the preset vertex sets
// and of the selected points, the refusal of too few points, the dialogs' presets, the net and cut
// with their buttons as one undo step, the buttons running them to the closed solid and the parts,
// and the hull a cut hid shown again when the cut is undone or deleted.
#include "construct/construct_fixture.h"

#include "construct/hull_commands.h"
#include "dynamics/buttons.h"
#include "platform/random.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/polyhedron.h"
#include "solids/polyhedron_dialogs.h"
#include "solids/section.h"
#include "solids/split.h"

#include <cmath>
#include <random>
#include <set>

namespace {

class HullCommandsTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSrand(1);
    }
    // A hull of the cube with corners (±2, ±2, ±2), made as the hull command makes it.
    CGPolyhedron* AddCube(double half = 2.0) {
        std::vector<double> cube;
        for (int i = 0; i < 8; ++i)
            cube.insert(cube.end(), {i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half});
        auto* hull = new CGPolyhedron;
        hull->m_id = NextId();
        EXPECT_TRUE(BuildConvexHull(cube.data(), 8, *hull));
        return Insert(hull);
    }
    // The hull command answered with a vertex set (and the fields it opened with kept).
    void RunHull(int vertexSet, std::initializer_list<WORD> selection = {}) {
        Script<CDlgPolyhedron>([this, vertexSet](CDlgPolyhedron& d) {
            m_opened = {d.m_label, d.m_vertexSet, d.m_style, d.m_hidden, d.m_building, d.Title()};
            d.m_vertexSet = vertexSet;
        });
        RunOn(ID_POLYHEDRON, selection);
    }
    template <class T> T* Last() { return Cell<T>(WORD(m_page->m_nextId - 1)); }
    // Ticks of the animation timer until the button stops (at most `limit`); the largest value the
    // driven cell's parameter took on the way.
    float RunButton(CGButnAnimation& button, CGCell& driven, int limit = 2000) {
        EXPECT_TRUE(m_page->StartButton(TRUE, button.m_id));
        float top = driven.m_param1;
        for (int i = 0; i < limit && m_page->StepButtons(); ++i)
            top = std::max(top, driven.m_param1);
        EXPECT_FALSE(button.m_running);
        return top;
    }

    // The fields the hull dialog opened with.
    struct CHullFields {
        CString m_label;
        int m_vertexSet = -1, m_style = -1;
        BOOL m_hidden = TRUE;
        bool m_building = false;
        CString m_title;
    } m_opened;
    // The fields the net dialog opened with.
    struct CNetFields {
        int m_style = -1, m_unfoldMode = -1;
        CString m_label;
        BOOL m_hidden = TRUE;
    };
    // The fields the cut dialog opened with.
    struct CCutFields {
        int m_planeCount = -1, m_style = -1;
        CString m_note, m_label, m_title;
        double m_shift = 0.0;
        bool m_building = false;
    };
    static CCutFields FieldsOf(const CDlgSplit& d) {
        return {d.m_planeCount, d.m_style, d.m_note, d.m_label, d.Title(), d.m_shift, d.m_building};
    }
};

} // namespace

TEST_F(HullCommandsTest, EnablingLooksAtTheOtherObjectsAndTheFaces) {
    CGPolyhedron* hull = AddCube();
    CGPolyhedron* second = AddCube(1.0);
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    CGFace* face2 = AddFace({a->m_id, b->m_id, c->m_id});
    auto* section = Insert(new CGSection(NextId(), hull->m_id, face->m_id));

    struct Case {
        std::initializer_list<WORD> selection;
        bool foldAndCut, section;
    } cases[] = {
        {{}, false, false},
        {{hull->m_id}, true, false},
        {{hull->m_id, a->m_id, b->m_id}, true, false}, // points do not disable them
        {{hull->m_id, face->m_id}, true, true},
        {{face->m_id, hull->m_id}, true, true},
        {{hull->m_id, face->m_id, face2->m_id}, true, false},
        {{hull->m_id, second->m_id}, false, false},
        {{hull->m_id, second->m_id, face->m_id}, false, false},
        {{section->m_id, face->m_id}, false, false}, // the other object is no hull
        {{face->m_id}, false, false},
    };
    for (const Case& k : cases) {
        Select(k.selection);
        SCOPED_TRACE(testing::Message() << "selection of " << k.selection.size());
        EXPECT_TRUE(Enabled(ID_POLYHEDRON));
        EXPECT_EQ(Enabled(ID_FOLD), k.foldAndCut);
        EXPECT_EQ(Enabled(ID_TI_SPLIT), k.foldAndCut);
        EXPECT_EQ(Enabled(ID_SECTION), k.section);
    }
}

TEST_F(HullCommandsTest, EveryPresetVertexSetGivesItsSolid) {
    struct Case {
        int item;
        size_t points, edges, faces;
        std::multiset<size_t> loops; // corners per face
    } cases[] = {
        {1, 8, 12, 6, {4, 4, 4, 4, 4, 4}},
        {2, 12, 18, 8, {4, 4, 4, 4, 4, 4, 6, 6}},
        {3, 7, 12, 7, {3, 3, 3, 3, 3, 3, 6}},
        {4, 12, 18, 8, {4, 4, 4, 4, 4, 4, 6, 6}},
        {5, 4, 6, 4, {3, 3, 3, 3}},
        {6, 8, 12, 6, {4, 4, 4, 4, 4, 4}},
        {7, 6, 12, 8, {3, 3, 3, 3, 3, 3, 3, 3}},
        {8, 20, 30, 12, {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
        {9, 12, 30, 20, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}},
        {42, 8, 12, 6, {4, 4, 4, 4, 4, 4}}, // an item past the list: the cube
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "item " << k.item);
        const WORD first = m_page->m_nextId;
        RunHull(k.item);
        ASSERT_EQ(ClassesFrom(first), std::vector<std::string>{"CGPolyhedron"});
        auto* hull = Last<CGPolyhedron>();
        EXPECT_EQ(hull->m_points.size(), k.points);
        EXPECT_EQ(hull->m_edges.size(), k.edges);
        std::multiset<size_t> loops;
        for (const PolyFace& f : hull->m_faces)
            loops.insert(f.loop.size());
        EXPECT_EQ(loops, k.loops);
        EXPECT_EQ(hull->m_name, CString(u"多面体"));
        EXPECT_EQ(hull->m_style, CGPolyhedron::kStyleLit);
        EXPECT_FALSE(hull->m_hidden);
        EXPECT_TRUE(hull->m_parents.IsEmpty());
        ExpectUndoStep<CCmdAddCell>(kUndoAddHull);
    }
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 10);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(HullCommandsTest, TheDialogOpensOnTheCuboidWithFewerThanFourPoints) {
    std::vector<WORD> points;
    for (int i = 0; i < 4; ++i)
        points.push_back(AddPoint(float(i & 1), float(i & 2), float(i == 3 ? 5 : 0))->m_id);
    struct Case {
        std::initializer_list<WORD> selection;
        int vertexSet;
    } cases[] = {
        {{}, 1},
        {{points[0], points[1], points[2]}, 1},
        {{points[0], points[1], points[2], points[3]}, 0},
    };
    for (const Case& k : cases) {
        m_answer = IDCANCEL;
        const PageSnapshot before = TakeSnapshot(*m_page);
        RunHull(0, k.selection);
        EXPECT_EQ(m_opened.m_vertexSet, k.vertexSet);
        EXPECT_TRUE(m_opened.m_building);
        EXPECT_EQ(m_opened.m_title, CString(u"构建凸包"));
        EXPECT_EQ(m_opened.m_label, CString(u"多面体"));
        EXPECT_EQ(m_opened.m_style, 2);
        EXPECT_FALSE(m_opened.m_hidden);
        ExpectNothingDone(before); // cancelled
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(HullCommandsTest, TheSelectedPointsNeedFourOrMore) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunHull(0, {a->m_id, b->m_id, c->m_id});
    EXPECT_EQ(m_opened.m_vertexSet, 1);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"至少选择四个不共面的点"));
    ExpectNothingDone(before);
}

TEST_F(HullCommandsTest, TheHullWrapsTheSelectedPointsAndKeepsItsOwnCopy) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGVertex* c = AddPoint(0, 4, 0);
    CGVertex* d = AddPoint(0, 0, 4);
    CGVertex* inside = AddPoint(0.5f, 0.5f, 0.5f);
    const PageSnapshot before = TakeSnapshot(*m_page);
    Script<CDlgPolyhedron>([](CDlgPolyhedron& dlg) {
        dlg.m_style = CGPolyhedron::kStyleAuto;
        dlg.m_hidden = TRUE;
        dlg.m_label = u"四面体";
    });
    HxSrand(7);
    RunOn(ID_POLYHEDRON, {d->m_id, inside->m_id, a->m_id, b->m_id, c->m_id});
    auto* hull = Last<CGPolyhedron>();
    ASSERT_NE(hull, nullptr);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(hull->m_name, CString(u"四面体"));
    EXPECT_EQ(hull->m_style, CGPolyhedron::kStyleAuto);
    EXPECT_TRUE(hull->m_hidden);
    ASSERT_EQ(hull->m_points.size(), 4u);
    EXPECT_EQ(hull->m_faces.size(), 4u);

    // The same points in the same order with the same seed: the same figure and the same colours.
    const double same[] = {0, 0, 4, 0.5, 0.5, 0.5, 0, 0, 0, 4, 0, 0, 0, 4, 0};
    CGPolyhedron expected;
    HxSrand(7);
    ASSERT_TRUE(BuildConvexHull(same, 5, expected));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(hull->m_points[i].x, expected.m_points[i].x);
        EXPECT_EQ(hull->m_points[i].y, expected.m_points[i].y);
        EXPECT_EQ(hull->m_points[i].z, expected.m_points[i].z);
        EXPECT_EQ(hull->m_faces[i].loop, expected.m_faces[i].loop);
        EXPECT_EQ(hull->m_faces[i].red, expected.m_faces[i].red);
        EXPECT_EQ(hull->m_faces[i].blue, expected.m_faces[i].blue);
    }
    // Not built on the points: moving one leaves the hull as it is.
    d->m_z = 40.0f;
    Changed(d);
    EXPECT_EQ(hull->m_points[0].z, 4.0);
    ExpectUndoStep<CCmdAddCell>(u"添加凸包");
    d->m_z = 4.0f;
    Changed(d);
    ExpectUndoRedo(before);
}

TEST_F(HullCommandsTest, PointsThatSpanNoSolidMakeNothingAndGiveTheIdBack) {
    std::vector<WORD> line;
    for (int i = 0; i < 5; ++i)
        line.push_back(AddPoint(float(i), float(2 * i), 1.0f)->m_id);
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD nextId = m_page->m_nextId;
    Select({line[0], line[1], line[2], line[3], line[4]});
    Script<CDlgPolyhedron>([](CDlgPolyhedron&) {});
    Run(ID_POLYHEDRON);
    EXPECT_EQ(m_page->m_nextId, nextId);
    EXPECT_TRUE(m_messages.empty());
    ExpectNothingDone(before);

    // Four corners of a square are a flat hull of two faces.
    std::vector<WORD> square;
    for (int i = 0; i < 4; ++i)
        square.push_back(AddPoint(float(i & 1), float((i >> 1) & 1), 0.0f)->m_id);
    Select({square[0], square[1], square[2], square[3]});
    Run(ID_POLYHEDRON);
    auto* flat = Last<CGPolyhedron>();
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->m_faces.size(), 2u);
}

TEST_F(HullCommandsTest, TheNetComesWithTheButtonThatFoldsIt) {
    CGPolyhedron* hull = AddCube();
    CNetFields opened;
    Script<CDlgFold>([&](CDlgFold& d) { opened = {d.m_style, d.m_unfoldMode, d.m_label, d.m_hidden}; });
    const WORD first = m_page->m_nextId;
    RunOn(ID_FOLD, {hull->m_id});
    EXPECT_EQ(opened.m_style, 2);
    EXPECT_EQ(opened.m_unfoldMode, 1);
    EXPECT_EQ(opened.m_label, CString(u"展开图"));
    EXPECT_FALSE(opened.m_hidden);
    ASSERT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGFold", "CGButnAnimation"}));
    ExpectUndoStep<CCmdAddCells>(u"添加展开图", 2);

    auto* net = Cell<CGFold>(first);
    EXPECT_EQ(net->m_name, CString(u"展开图"));
    EXPECT_EQ(net->m_style, CGFold::kStyleLit);
    EXPECT_EQ(net->m_spreadMode, CGFold::kSpreadByLevel);
    EXPECT_EQ(Parents(net), std::vector<WORD>{hull->m_id});
    EXPECT_EQ(hull->m_style, CGPolyhedron::kStyleVisible);
    EXPECT_FLOAT_EQ(net->m_param1, 1.0f);
    // The cube's base, its four sides and its top: two levels, closed at 3.
    EXPECT_EQ(net->m_deepestLevel, 2);

    auto* button = Cell<CGButnAnimation>(WORD(first + 1));
    EXPECT_EQ(button->m_name, CString(u"折展"));
    EXPECT_EQ(Parents(button), std::vector<WORD>{net->m_id});
    EXPECT_FLOAT_EQ(button->m_min, 1.0f);
    EXPECT_FLOAT_EQ(button->m_max, 3.0f);
    EXPECT_EQ(button->m_mode, CGButnAnimation::kBackAndForth);
    EXPECT_EQ(button->m_repeat, 0);
    EXPECT_FLOAT_EQ(button->m_speed, 0.03f);
    EXPECT_FLOAT_EQ(button->m_extA3, 1.0f);
    EXPECT_EQ(button->m_kind, CGButnAnimation::kSweep);

    // Pressed, it folds the net shut and opens it again to the base face in place.
    EXPECT_NEAR(RunButton(*button, *net), 3.0f, 1e-4);
    EXPECT_NEAR(net->m_param1, 1.0f, 1e-4);
}

TEST_F(HullCommandsTest, ANetFoldedAllAtOnceClosesAtTwoAndMayBeHidden) {
    CGPolyhedron* hull = AddCube();
    Script<CDlgFold>([](CDlgFold& d) {
        d.m_unfoldMode = CGFold::kSpreadTogether;
        d.m_style = CGFold::kStyleAuto;
        d.m_hidden = TRUE;
        d.m_label = u"网";
    });
    // A first net has already sorted the hull's faces and set its style: a second one leaves the hull
    // as it is, so that undo and redo can be compared cell by cell.
    RunOn(ID_FOLD, {hull->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_FOLD, {hull->m_id});
    auto* net = Cell<CGFold>(first);
    ASSERT_NE(net, nullptr);
    EXPECT_TRUE(net->m_hidden);
    EXPECT_EQ(net->m_name, CString(u"网"));
    EXPECT_EQ(net->m_style, CGFold::kStyleAuto);
    EXPECT_FLOAT_EQ(Cell<CGButnAnimation>(WORD(first + 1))->m_max, 2.0f);
    ExpectUndoRedo(before);
}

TEST_F(HullCommandsTest, TheSectionFollowsTheFace) {
    CGPolyhedron* hull = AddCube();
    CGVertex* a = AddPoint(-5, -5, 1);
    CGVertex* b = AddPoint(5, -5, 1);
    CGVertex* c = AddPoint(5, 5, 1);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    const int dialogs = m_dialogCount;
    RunOn(ID_SECTION, {face->m_id, hull->m_id});
    EXPECT_EQ(m_dialogCount, dialogs); // no dialog
    auto* section = Last<CGSection>();
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(Parents(section), (std::vector<WORD>{hull->m_id, face->m_id}));
    EXPECT_EQ(section->m_name, CString(u"面与体截面图"));
    ASSERT_EQ(section->m_polygon.size(), 4u);
    for (const PolyPoint& p : section->m_polygon)
        EXPECT_NEAR(p.z, 1.0, 1e-6);
    ExpectUndoStep<CCmdAddCell>(u"添加截面图");
    ExpectUndoRedo(before);

    // The plane moved off the cube: nothing is left to draw.
    section = Last<CGSection>();
    for (CGVertex* p : {a, b, c}) {
        p->m_z = 3.0f;
        Changed(p);
    }
    EXPECT_TRUE(section->m_polygon.empty());
    EXPECT_TRUE(section->m_valid);
}

TEST_F(HullCommandsTest, ACutWithoutFacesUsesTheFixedPlanesAndItsButtonCutsEightParts) {
    CGPolyhedron* hull = AddCube();
    CCutFields opened;
    Script<CDlgSplit>([&](CDlgSplit& d) {
        opened = FieldsOf(d);
        d.m_shift = -1.5;
        d.m_style = CGPolyhedron::kStyleLit;
        d.m_label = u"切块";
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_TI_SPLIT, {hull->m_id});
    EXPECT_TRUE(opened.m_building);
    EXPECT_EQ(opened.m_title, CString(u"构建多面体切割图"));
    EXPECT_EQ(opened.m_planeCount, 3);
    EXPECT_EQ(opened.m_note, CString(u"当前页未选择面,切割面将由程序自动生成,且是固定的"));
    EXPECT_EQ(opened.m_label, CString(u"多面体切割图"));
    EXPECT_EQ(opened.m_style, 0);
    EXPECT_DOUBLE_EQ(opened.m_shift, 2.0);
    ASSERT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGSplit", "CGButnAnimation"}));
    ExpectUndoStep<CCmdAddCells>(u"添加多面体切割图", 2);

    auto* cut = Cell<CGSplit>(first);
    EXPECT_EQ(cut->m_name, CString(u"切块"));
    EXPECT_EQ(cut->m_style, CGPolyhedron::kStyleLit);
    EXPECT_EQ(cut->m_planeCount, 3);
    EXPECT_EQ(cut->m_useFaces, 0);
    EXPECT_DOUBLE_EQ(cut->m_displacement, 1.5);
    EXPECT_EQ(Parents(cut), std::vector<WORD>{hull->m_id});

    auto* button = Cell<CGButnAnimation>(WORD(first + 1));
    EXPECT_EQ(button->m_name, CString(u"切割"));
    EXPECT_EQ(Parents(button), std::vector<WORD>{cut->m_id});
    EXPECT_FLOAT_EQ(button->m_min, 0.0f);
    EXPECT_FLOAT_EQ(button->m_max, 3.0f);
    EXPECT_EQ(button->m_mode, CGButnAnimation::kForward);
    EXPECT_EQ(button->m_repeat, 0);
    EXPECT_FLOAT_EQ(button->m_speed, 0.03f);
    EXPECT_FLOAT_EQ(button->m_extA3, 0.0f);
    EXPECT_EQ(button->m_kind, CGButnAnimation::kSweep);
    ExpectUndoRedo(before);

    // Pressed once: three planes through the centre, eight parts, the hull hidden behind them.
    cut = Cell<CGSplit>(first);
    button = Cell<CGButnAnimation>(WORD(first + 1));
    RunButton(*button, *cut);
    EXPECT_EQ(cut->m_planesUsed, 3);
    EXPECT_EQ(cut->m_partCount, 8);
    EXPECT_EQ(cut->InfoText(), CString(u"planes:  3      parts :  8"));
    EXPECT_TRUE(hull->m_hidden);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(HullCommandsTest, ACutOnSelectedFacesTakesTheirPlanes) {
    CGPolyhedron* hull = AddCube();
    CGVertex* a = AddPoint(0, -5, -5);
    CGVertex* b = AddPoint(0, 5, -5);
    CGVertex* c = AddPoint(0, 5, 5);
    CGVertex* d = AddPoint(-5, 0, -5);
    CGVertex* e = AddPoint(5, 0, -5);
    CGVertex* f = AddPoint(5, 0, 5);
    CGFace* x0 = AddFace({a->m_id, b->m_id, c->m_id});
    CGFace* y0 = AddFace({d->m_id, e->m_id, f->m_id});
    CCutFields opened;
    Script<CDlgSplit>([&](CDlgSplit& dlg) {
        opened = FieldsOf(dlg);
        dlg.m_planeCount = 5; // more than the faces: the faces set the count
    });
    const WORD first = m_page->m_nextId;
    RunOn(ID_TI_SPLIT, {y0->m_id, hull->m_id, x0->m_id});
    EXPECT_EQ(opened.m_planeCount, 2);
    EXPECT_EQ(opened.m_note, CString(u"切割面由当前页所选面确定,随面而变化"));
    auto* cut = Cell<CGSplit>(first);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->m_planeCount, 2);
    EXPECT_EQ(cut->m_useFaces, 1);
    EXPECT_EQ(Parents(cut), (std::vector<WORD>{hull->m_id, y0->m_id, x0->m_id}));
    auto* button = Cell<CGButnAnimation>(WORD(first + 1));
    EXPECT_FLOAT_EQ(button->m_max, 2.0f);
    RunButton(*button, *cut);
    EXPECT_EQ(cut->m_partCount, 4);
}

TEST_F(HullCommandsTest, ACutTakenAwayShowsTheHullItHid) {
    CGPolyhedron* hull = AddCube();
    Script<CDlgSplit>([](CDlgSplit&) {});
    const WORD first = m_page->m_nextId;
    RunOn(ID_TI_SPLIT, {hull->m_id});
    CCmdProcessor& steps = m_page->m_cmdProcessor;
    auto cut = [&] { return Cell<CGSplit>(first); };
    auto pressCut = [&] {
        ASSERT_NE(cut(), nullptr);
        RunButton(*Cell<CGButnAnimation>(WORD(first + 1)), *cut());
        EXPECT_EQ(cut()->m_partCount, 8);
        EXPECT_TRUE(hull->m_hidden);
    };

    // The insertion undone, then redone: the cut comes back whole, and pressed it hides the hull again.
    pressCut();
    ASSERT_TRUE(steps.Undo());
    EXPECT_EQ(cut(), nullptr);
    EXPECT_FALSE(hull->m_hidden);
    ASSERT_TRUE(steps.Redo());
    EXPECT_FALSE(hull->m_hidden);
    pressCut();

    // Deleted (as cutting to the clipboard deletes), and the deletion undone and redone.
    RunOn(ID_EDIT_DELETE, {first});
    EXPECT_EQ(cut(), nullptr);
    EXPECT_FALSE(hull->m_hidden);
    ASSERT_TRUE(steps.Undo());
    ASSERT_NE(cut(), nullptr);
    EXPECT_TRUE(cut()->m_parts.empty());
    EXPECT_FALSE(hull->m_hidden);
    pressCut();
    ASSERT_TRUE(steps.Redo());
    EXPECT_FALSE(hull->m_hidden);

    // A hull the user hid himself before the cut hid it stays hidden.
    ASSERT_TRUE(steps.Undo());
    hull->m_hidden = 1;
    pressCut();
    ASSERT_TRUE(steps.Redo());
    EXPECT_TRUE(hull->m_hidden);
}

TEST_F(HullCommandsTest, AHullUnderTwoCutsIsShownWhenBothAreGone) {
    CGPolyhedron* hull = AddCube();
    Script<CDlgSplit>([](CDlgSplit&) {});
    const WORD a = m_page->m_nextId;
    RunOn(ID_TI_SPLIT, {hull->m_id});
    const WORD b = m_page->m_nextId;
    RunOn(ID_TI_SPLIT, {hull->m_id});
    CCmdProcessor& steps = m_page->m_cmdProcessor;
    auto press = [&](WORD cut) {
        RunButton(*Cell<CGButnAnimation>(WORD(cut + 1)), *Cell<CGSplit>(cut));
        EXPECT_TRUE(hull->m_hidden);
    };
    press(a);
    press(b);
    RunOn(ID_EDIT_DELETE, {a});
    EXPECT_TRUE(hull->m_hidden) << "the second cut's parts still stand for it";
    RunOn(ID_EDIT_DELETE, {b});
    EXPECT_FALSE(hull->m_hidden);

    // Both deletions undone and the cuts pressed again; then their insertions undone, the later first.
    ASSERT_TRUE(steps.Undo());
    press(b);
    ASSERT_TRUE(steps.Undo());
    press(a);
    ASSERT_TRUE(steps.Undo());
    EXPECT_EQ(Cell<CGSplit>(b), nullptr);
    EXPECT_TRUE(hull->m_hidden);
    ASSERT_TRUE(steps.Undo());
    EXPECT_FALSE(hull->m_hidden);
}

// Cuts made, pressed, deleted, undone and redone in a random order: pressed, a cut hides the hull, and
// whenever no cut of the hull is left on the page the hull is shown.
TEST_F(HullCommandsTest, ARandomHistoryOfCutsLeavesTheHullShownOnceNoCutIsLeft) {
    CGPolyhedron* hull = AddCube();
    Script<CDlgSplit>([](CDlgSplit&) {});
    CCmdProcessor& steps = m_page->m_cmdProcessor;
    std::mt19937 random(20261208);
    auto pick = [&](size_t n) { return size_t(random() % n); };
    auto cuts = [&] {
        std::vector<WORD> ids;
        for (WORD id : hull->m_children)
            if (Cell<CGSplit>(id))
                ids.push_back(id);
        return ids;
    };
    int pressed = 0, emptied = 0, shownAgain = 0;
    for (int step = 0; step < 400; ++step) {
        const std::vector<WORD> standing = cuts();
        const bool hidden = hull->m_hidden;
        const size_t roll = pick(10);
        SCOPED_TRACE("step " + std::to_string(step) + ", kind " + std::to_string(roll));
        if (roll < 2) {
            RunOn(ID_TI_SPLIT, {hull->m_id});
        } else if (roll < 5 && !standing.empty()) {
            const WORD cut = standing[pick(standing.size())];
            auto* button = Cell<CGButnAnimation>(WORD(cut + 1));
            ASSERT_NE(button, nullptr);
            RunButton(*button, *Cell<CGSplit>(cut));
            EXPECT_TRUE(hull->m_hidden);
            ++pressed;
        } else if (roll < 7 && !standing.empty()) {
            RunOn(ID_EDIT_DELETE, {standing[pick(standing.size())]});
        } else if (roll < 9) {
            steps.Undo();
        } else {
            steps.Redo();
        }
        if (cuts().empty()) {
            ++emptied;
            shownAgain += hidden;
            ASSERT_FALSE(hull->m_hidden) << "no cut is left, and the hull is still hidden";
        }
    }
    EXPECT_GT(pressed, 50);
    EXPECT_GT(emptied, 10);
    EXPECT_GT(shownAgain, 5) << "the hull a cut hid shown again as the last cut left";
}

TEST_F(HullCommandsTest, CancelledOrWithoutAHullNothingIsMade) {
    CGPolyhedron* hull = AddCube();
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    m_answer = IDCANCEL;
    for (UINT id : {ID_FOLD, ID_TI_SPLIT, ID_POLYHEDRON})
        RunOn(id, {hull->m_id});
    m_answer = IDOK;
    // Run without their selection (as a later dispatcher may): no hull, nothing to build on.
    const int dialogs = m_dialogCount;
    Select({face->m_id});
    m_doc->OnFold();
    m_doc->OnSplit();
    m_doc->OnSection();
    Select({hull->m_id});
    m_doc->OnSection(); // no face
    EXPECT_EQ(m_dialogCount, dialogs);
    ExpectNothingDone(before);
}

TEST_F(HullCommandsTest, ThePropertiesOfAHullAndOfItsNet) {
    CGPolyhedron* hull = AddCube();
    hull->m_name = u"多面体";
    CGVertex* a = AddPoint(0, 0, 0);
    Select({hull->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Select({hull->m_id, a->m_id});
    EXPECT_EQ(HxFindPropertiesRule(*m_page), HxPropertiesRule::Point) << "a point comes first";

    CHullFields opened;
    Script<CDlgPolyhedron>([&](CDlgPolyhedron& d) {
        opened = {d.m_label, d.m_vertexSet, d.m_style, d.m_hidden, d.m_building, d.Title()};
        d.m_style = CGPolyhedron::kStyleAuto;
        d.m_label = u"立方体";
        d.m_hidden = TRUE;
    });
    RunOn(ID_EDIT_PROPERTY, {hull->m_id});
    EXPECT_FALSE(opened.m_building);
    EXPECT_EQ(opened.m_title, CString(u"凸包属性"));
    EXPECT_EQ(opened.m_label, CString(u"多面体"));
    EXPECT_EQ(opened.m_style, CGPolyhedron::kStyleVisible);
    EXPECT_EQ(hull->m_style, CGPolyhedron::kStyleAuto);
    EXPECT_EQ(hull->m_name, CString(u"立方体"));
    EXPECT_TRUE(hull->m_hidden);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());

    hull->m_hidden = FALSE;
    Script<CDlgFold>([](CDlgFold&) {});
    RunOn(ID_FOLD, {hull->m_id});
    auto* net = Cell<CGFold>(WORD(m_page->m_nextId - 2));
    ASSERT_NE(net, nullptr);
    CNetFields seen;
    Script<CDlgFold>([&](CDlgFold& d) {
        seen = {d.m_style, d.m_unfoldMode, d.m_label, d.m_hidden};
        d.m_unfoldMode = CGFold::kSpreadTogether;
        d.m_style = CGFold::kStyleVisible;
    });
    RunOn(ID_EDIT_PROPERTY, {net->m_id});
    EXPECT_EQ(seen.m_unfoldMode, CGFold::kSpreadByLevel);
    EXPECT_EQ(seen.m_style, CGFold::kStyleLit);
    EXPECT_EQ(seen.m_label, CString(u"展开图"));
    EXPECT_EQ(net->m_spreadMode, CGFold::kSpreadTogether);
    EXPECT_EQ(net->m_style, CGFold::kStyleVisible);
    EXPECT_FLOAT_EQ(net->ClosedParameter(), 2.0f);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u) << "the name did not change";

    // Cancelled: nothing written.
    m_answer = IDCANCEL;
    Script<CDlgFold>([](CDlgFold& d) { d.m_style = CGFold::kStyleAuto; });
    RunOn(ID_EDIT_PROPERTY, {net->m_id});
    EXPECT_EQ(net->m_style, CGFold::kStyleVisible);
}

TEST_F(HullCommandsTest, ThePropertiesOfCutsAndSections) {
    CGPolyhedron* hull = AddCube();
    CGVertex* a = AddPoint(0, -5, -5);
    CGVertex* b = AddPoint(0, 5, -5);
    CGVertex* c = AddPoint(0, 5, 5);
    CGVertex* d = AddPoint(-5, 0, -5);
    CGVertex* e = AddPoint(5, 0, -5);
    CGFace* x0 = AddFace({a->m_id, b->m_id, c->m_id});
    CGFace* y0 = AddFace({d->m_id, e->m_id, c->m_id});
    Script<CDlgSplit>([](CDlgSplit&) {});
    RunOn(ID_TI_SPLIT, {hull->m_id, x0->m_id, y0->m_id});
    auto* onFaces = Cell<CGSplit>(WORD(m_page->m_nextId - 2));
    RunOn(ID_TI_SPLIT, {hull->m_id});
    auto* fixed = Cell<CGSplit>(WORD(m_page->m_nextId - 2));
    ASSERT_NE(onFaces, nullptr);
    ASSERT_NE(fixed, nullptr);

    // Planes that follow the faces: the count is shown, cannot be typed and stays.
    CCutFields seen;
    bool editable = true;
    Script<CDlgSplit>([&](CDlgSplit& dlg) {
        seen = FieldsOf(dlg);
        editable = dlg.CountEditable();
        dlg.m_planeCount = 7;
        dlg.m_shift = -3.0;
        dlg.m_style = CGPolyhedron::kStyleLit;
    });
    RunOn(ID_EDIT_PROPERTY, {onFaces->m_id});
    EXPECT_FALSE(seen.m_building);
    EXPECT_EQ(seen.m_title, CString(u"多面体切割图属性"));
    EXPECT_EQ(seen.m_planeCount, 2);
    EXPECT_EQ(seen.m_note, CString(u"切割面由当前页所选面确定,随面而变化"));
    EXPECT_FALSE(editable);
    EXPECT_EQ(onFaces->m_planeCount, 2);
    EXPECT_DOUBLE_EQ(onFaces->m_displacement, 3.0);
    EXPECT_EQ(onFaces->m_style, CGPolyhedron::kStyleLit);

    // Fixed planes: a new count starts the cut again with the planes of that count.
    Script<CDlgSplit>([&](CDlgSplit& dlg) {
        seen = FieldsOf(dlg);
        editable = dlg.CountEditable();
        dlg.m_planeCount = 5;
    });
    fixed->m_param1 = 2.5f;
    RunOn(ID_EDIT_PROPERTY, {fixed->m_id});
    EXPECT_EQ(seen.m_note, CString(u"当前页未选择面,切割面将由程序自动生成,且是固定的"));
    EXPECT_TRUE(editable);
    EXPECT_EQ(fixed->m_planeCount, 5);
    EXPECT_EQ(fixed->Planes(), g_defaultCutPlanes10);
    EXPECT_EQ(fixed->m_param1, 0.0f);

    // A section has nothing to edit: it says what it is.
    CGFace* low = AddFace({a->m_id, d->m_id, e->m_id});
    RunOn(ID_SECTION, {hull->m_id, low->m_id});
    const int dialogs = m_dialogCount;
    m_messages.clear();
    RunOn(ID_EDIT_PROPERTY, {Last<CGSection>()->m_id});
    EXPECT_EQ(m_dialogCount, dialogs);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"这是多面体与平面的截面图\n\n改变平面的位置可以动态显示截面图形"));
}
