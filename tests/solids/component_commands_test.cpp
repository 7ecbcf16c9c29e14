// The right triangle, component and 3D text commands and the edit of a component: the cells they
// make, where and with what, their one undo step each, the component dialog's answer taken as given
// (clip mode, material, font) or refused, and the edit written back and undone as one step.
#include "construct/construct_fixture.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "points/confined_points.h"
#include "points/constructed_arcs.h"
#include "points/scaled_points.h"
#include "solids/component_commands.h"
#include "solids/subassembly_dlg.h"
#include "view/view_settings.h"

#include <cmath>

namespace {

class ComponentCommandTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxResetViewSettings();
        // The view's plane view, when the 3D text command asks for it.
        m_view.m_onPlaneView = [this] { ++m_planeViews; };
        AfxGetCommandRouter().SetChain({&m_view, m_doc.get()});
    }
    void TearDown() override {
        HxResetViewSettings();
        ConstructTest::TearDown();
    }
    CGSubassembly* Component(WORD id) { return Cell<CGSubassembly>(id); }

    // Stands for the view in the command route: it has the plane view and, when asked, the properties
    // command.
    class CViewStandIn : public CCmdTarget {
    public:
        CViewStandIn() { OnCommandId(ID_VIEW_PLANE_COMMAND, &CViewStandIn::OnPlaneView); }
        void OnPlaneView() {
            if (m_onPlaneView)
                m_onPlaneView();
        }
        void AddProperties() { OnCommandId(ID_EDIT_PROPERTY_COMMAND, &CViewStandIn::OnProperties); }
        void OnProperties() { ++m_properties; }
        std::function<void()> m_onPlaneView;
        int m_properties = 0;
    };
    CViewStandIn m_view;
    int m_planeViews = 0;
};

double Distance(const CGVertex& a, const CGVertex& b) {
    return std::hypot(a.m_x - b.m_x, a.m_y - b.m_y, a.m_z - b.m_z);
}

double DotAt(const CGVertex& corner, const CGVertex& a, const CGVertex& b) {
    return double(a.m_x - corner.m_x) * (b.m_x - corner.m_x) +
           double(a.m_y - corner.m_y) * (b.m_y - corner.m_y) +
           double(a.m_z - corner.m_z) * (b.m_z - corner.m_z);
}

} // namespace

TEST_F(ComponentCommandTest, TheRightTriangleOnNothingIsNineCellsWithTheRightAngleAtC) {
    EXPECT_TRUE(Enabled(ID_CREATE_RIGHTTRIANGLE));
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_RIGHTTRIANGLE));
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeXyz", "CGVerFree2dHenchman", "CGVerScale", "CGArcPoint2",
                                        "CGVerFreeInCircle", "CGFace", "CGLine", "CGLine", "CGLine"}));
    ExpectUndoStep<CCmdAddCells>(u"添加直角三角形", 9);
    auto* a = Cell<CGVertex>(first);
    auto* b = Cell<CGVertex>(first + 1);
    auto* d = Cell<CGVertex>(first + 2);
    auto* circle = m_page->FindCell(first + 3);
    auto* c = Cell<CGVerFreeInCircle>(first + 4);
    ASSERT_TRUE(a && b && d && circle && c);
    EXPECT_EQ(a->m_name, CString(u"A"));
    EXPECT_EQ(b->m_name, CString(u"B"));
    EXPECT_EQ(d->m_name, CString(u"D"));
    EXPECT_EQ(c->m_name, CString(u"C"));
    ExpectNear(*a, -8, -5, 0);
    ExpectNear(*b, 8, -5, 0);
    ExpectNear(*d, 0, -5, 0);
    EXPECT_FLOAT_EQ(a->m_labelOffset[0], -1.1f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[1], -0.8f);
    EXPECT_FLOAT_EQ(b->m_labelOffset[1], -0.8f);
    EXPECT_FLOAT_EQ(d->m_labelOffset[1], -1.2f);
    EXPECT_NE(d->m_hidden, 0);
    EXPECT_NE(circle->m_hidden, 0);
    EXPECT_EQ(c->m_hidden, 0);
    EXPECT_FLOAT_EQ(c->m_param1, 1.2f);
    // C on the circle over AB: the angle at C is right, and stays so when C or A moves.
    EXPECT_NEAR(Distance(*c, *d), 8.0, 1e-4);
    EXPECT_NEAR(DotAt(*c, *a, *b), 0.0, 1e-3);
    c->m_param1 = 2.5f;
    c->SyncVertex();
    EXPECT_NEAR(DotAt(*c, *a, *b), 0.0, 1e-3);
    MovePoint(a, -4, -7, 2);
    EXPECT_NEAR(DotAt(*c, *a, *b), 0.0, 1e-3);
    // The face ABC and the segments BC, CA, AB.
    EXPECT_EQ(Parents(m_page->FindCell(first + 5)), (std::vector<WORD>{a->m_id, b->m_id, c->m_id}));
    EXPECT_EQ(Parents(m_page->FindCell(first + 6)), (std::vector<WORD>{b->m_id, c->m_id}));
    EXPECT_EQ(Parents(m_page->FindCell(first + 7)), (std::vector<WORD>{c->m_id, a->m_id}));
    EXPECT_EQ(Parents(m_page->FindCell(first + 8)), (std::vector<WORD>{a->m_id, b->m_id}));
    EXPECT_TRUE(m_doc->IsModified());
    ExpectUndoRedo(before);
}

TEST_F(ComponentCommandTest, TheRightTriangleOnTwoPointsHasItsRightAngleAtTheFirst) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(6, 0, 0);
    Select({q->m_id, p->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_RIGHTTRIANGLE));
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_RIGHTTRIANGLE));
    EXPECT_EQ(ClassesFrom(first),
              (std::vector<std::string>{"CGVerFreeUpright", "CGLine", "CGLine", "CGLine"}));
    ExpectUndoStep<CCmdAddCells>(u"添加直角三角形", 4);
    auto* r = Cell<CGVertex>(first);
    EXPECT_EQ(Parents(r), (std::vector<WORD>{q->m_id, p->m_id}));
    EXPECT_NEAR(DotAt(*q, *r, *p), 0.0, 1e-4) << "the right angle at the first selected point";
    EXPECT_EQ(Parents(m_page->FindCell(first + 1)), (std::vector<WORD>{p->m_id, r->m_id}));
    EXPECT_EQ(Parents(m_page->FindCell(first + 2)), (std::vector<WORD>{r->m_id, q->m_id}));
    EXPECT_EQ(Parents(m_page->FindCell(first + 3)), (std::vector<WORD>{q->m_id, p->m_id}));
    ExpectUndoRedo(before);
}

TEST_F(ComponentCommandTest, TheRightTriangleIsOnlyForNoneOrTwoPoints) {
    CGVertex* p = AddPoint(0, 0, 0);
    CGVertex* q = AddPoint(1, 0, 0);
    CGVertex* r = AddPoint(0, 1, 0);
    for (std::initializer_list<WORD> selection :
         {std::initializer_list<WORD>{p->m_id}, std::initializer_list<WORD>{p->m_id, q->m_id, r->m_id}}) {
        Select(selection);
        EXPECT_FALSE(Enabled(ID_CREATE_RIGHTTRIANGLE));
        const PageSnapshot before = TakeSnapshot(*m_page);
        Run(ID_CREATE_RIGHTTRIANGLE);
        ExpectNothingDone(before);
    }
}

TEST_F(ComponentCommandTest, AComponentIsMadeFromTheDialogAsOneStep) {
    int dialogs = 0;
    Script<CCreateSubaDlg>([&](CCreateSubaDlg& dlg) {
        ++dialogs;
        EXPECT_EQ(dlg.m_kind, 0) << "the dialog's own defaults";
        dlg.OnKindChanged(kSubassemblyTetrahedron);
        dlg.m_center[0] = 4.0f;
        dlg.m_spin = 15.0f;
        dlg.m_style = 1;
        dlg.m_dragLock = 1;
        dlg.m_clip = 1;
        dlg.m_plane1On = 1;
        dlg.m_plane2On = 1;
        dlg.m_plane2[3] = 2.5;
    });
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    EXPECT_EQ(dialogs, 1);
    ExpectUndoStep<CCmdAddCell>(u"添加组件正四面体");
    CGSubassembly* cell = Component(id);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->m_kind, kSubassemblyTetrahedron);
    EXPECT_EQ(cell->m_name, CString(u"正四面体"));
    EXPECT_EQ(cell->m_style, 1);
    EXPECT_TRUE(cell->m_fixed);
    EXPECT_EQ(cell->m_center[0], 4.0f);
    EXPECT_EQ(cell->m_axis[2], 1.0f);
    EXPECT_EQ(cell->m_spin, 15.0f);
    EXPECT_EQ(cell->m_scale[1], 10.0f);
    EXPECT_EQ(cell->m_clipMode, 3);
    EXPECT_EQ(cell->m_plane2[3], 2.5);
    EXPECT_EQ(cell->m_ownMaterial, 0);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_GT(m_viewUpdates, 0);
    ExpectUndoRedo(before);
}

TEST_F(ComponentCommandTest, ClippingWithNeitherPlaneTickedPassesClipModeZero) {
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        dlg.OnKindChanged(kSubassemblySphere);
        dlg.m_clip = 1;
    });
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    ASSERT_NE(Component(id), nullptr);
    EXPECT_EQ(Component(id)->m_clipMode, 0);
}

TEST_F(ComponentCommandTest, A3DTextTakesOnlyTheFontAndADefinedColouringTakesTheCurrentMaterial) {
    g_materialDiffuse[0] = 0.3f;
    g_materialShininess = 100.0f;
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        dlg.m_text = u"你好";
        dlg.m_fontName = u"黑体";
        dlg.m_coloring = 1;
    });
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    CGSubassembly* cell = Component(id);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->m_kind, kSubassemblyText);
    EXPECT_EQ(cell->m_name, CString(u"3D文字")) << "a new 3D text shows its kind's name";
    EXPECT_EQ(cell->m_text1, CString(u"黑体"));
    EXPECT_EQ(cell->m_ownMaterial, 1);
    EXPECT_FLOAT_EQ(cell->m_diffuse[0], 0.3f);
    EXPECT_FLOAT_EQ(cell->m_shininess, 100.0f);
    ExpectUndoStep<CCmdAddCell>(u"添加组件3D文字");
    // A font chosen for another kind is not taken.
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        dlg.OnKindChanged(kSubassemblyCube);
        dlg.m_fontName = u"黑体";
    });
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    EXPECT_EQ(Component(id + 1)->m_text1, CString(u"宋体"));
}

TEST_F(ComponentCommandTest, CancellingTheDialogAddsNothing) {
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_CREATE_SUBA);
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
}

TEST_F(ComponentCommandTest, The3DTextCommandMakesHalvixInKaitiAndTurnsToThePlaneView) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_CREATE_3DTEXT));
    EXPECT_EQ(m_dialogCount, 0);
    CGSubassembly* cell = Component(id);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->m_kind, kSubassemblyText);
    EXPECT_EQ(cell->m_name, CString(u"Halvix"));
    EXPECT_EQ(cell->m_text1, CString(u"楷体"));
    EXPECT_EQ(cell->m_color, (CRgba{0, 128, 0, 255}));
    EXPECT_EQ(cell->m_center[0], -20.0f);
    EXPECT_EQ(cell->m_axis[1], 1.0f);
    EXPECT_EQ(cell->m_axis[2], 3.0f);
    EXPECT_EQ(cell->m_scale[0], 10.0f);
    EXPECT_EQ(cell->m_clipMode, 0);
    EXPECT_EQ(cell->m_plane2[1], -1.0);
    EXPECT_EQ(cell->m_style, 0);
    ExpectUndoStep<CCmdAddCell>(u"添加3D文字");
    EXPECT_EQ(m_planeViews, 1);
    ExpectUndoRedo(before);
}

TEST_F(ComponentCommandTest, WithOneComponentSelectedItsPropertiesOpenInstead) {
    ASSERT_TRUE(Run(ID_CREATE_3DTEXT));
    const WORD id = WORD(m_page->m_nextId - 1);
    Select({id});
    const int steps = m_page->m_cmdProcessor.GetCount();
    // Without a properties command the component's dialog opens here, filled from it.
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        EXPECT_EQ(dlg.m_text, CString(u"Halvix"));
        EXPECT_EQ(dlg.m_fontName, CString(u"楷体"));
        dlg.m_text = u"立体";
        dlg.m_center[2] = 6.0f;
    });
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    EXPECT_EQ(m_page->m_nextId, id + 1) << "no second component";
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps + 1);
    ExpectUndoStep<CCmdModifySubassembly>(u"修改组件属性");
    EXPECT_EQ(Component(id)->m_name, CString(u"立体"));
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 1u);
    // With one, the command goes there.
    m_view.AddProperties();
    const int dialogs = m_dialogCount;
    ASSERT_TRUE(Run(ID_CREATE_SUBA));
    EXPECT_EQ(m_view.m_properties, 1);
    EXPECT_EQ(m_dialogCount, dialogs);
}

TEST_F(ComponentCommandTest, AnEditIsOneUndoStepAndAChangedKindDropsTheLists) {
    ASSERT_TRUE(Run(ID_CREATE_3DTEXT));
    const WORD id = WORD(m_page->m_nextId - 1);
    CGSubassembly* cell = Component(id);
    cell->m_flag2 = false;
    g_materialSpecular[0] = 0.9f;
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        dlg.OnKindChanged(kSubassemblyCube);
        dlg.m_style = 1;
        dlg.m_texture = 2;
        dlg.m_coloring = 1;
        dlg.m_dragLock = 1;
        dlg.m_spin = 12.0f;
        dlg.m_clip = 1;
        dlg.m_plane2On = 1;
        dlg.m_plane2[0] = 3.0;
    });
    CGSubassembly old;
    old.CopyComponentFields(*cell);
    ASSERT_TRUE(m_doc->EditComponent(cell));
    EXPECT_EQ(cell->m_kind, kSubassemblyCube);
    EXPECT_EQ(cell->m_name, CString(u"正六面体"));
    EXPECT_TRUE(cell->m_flag2);
    EXPECT_EQ(cell->m_style, 1);
    EXPECT_EQ(cell->m_texture, 2);
    EXPECT_EQ(cell->m_ownMaterial, 1);
    EXPECT_FLOAT_EQ(cell->m_specular[0], 0.9f);
    EXPECT_TRUE(cell->m_fixed);
    EXPECT_EQ(cell->m_spin, 12.0f);
    EXPECT_EQ(cell->m_clipMode, 2);
    EXPECT_EQ(cell->m_plane2[0], 3.0);
    EXPECT_EQ(cell->m_center[0], 0.0f);
    EXPECT_TRUE(m_doc->IsModified());
    CGSubassembly edited;
    edited.CopyComponentFields(*cell);
    // Undo gives every field back, redo the edit again.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_TRUE(cell->SameComponentFields(old));
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_TRUE(cell->SameComponentFields(edited));

    // Clipping unticked keeps the clip mode and the planes; an edit that changes nothing is no step.
    const int steps = m_page->m_cmdProcessor.GetCount();
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) {
        dlg.m_clip = 0;
        dlg.m_plane2[0] = 9.0;
    });
    EXPECT_FALSE(m_doc->EditComponent(cell));
    EXPECT_EQ(cell->m_clipMode, 2);
    EXPECT_EQ(cell->m_plane2[0], 3.0);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    // Cancelled: nothing.
    m_answer = IDCANCEL;
    Script<CCreateSubaDlg>([](CCreateSubaDlg& dlg) { dlg.m_spin = 99.0f; });
    EXPECT_FALSE(m_doc->EditComponent(cell));
    EXPECT_EQ(cell->m_spin, 12.0f);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
    // A preset material reaches the selected component while the dialog is open (the view does it);
    // cancelled, that change is still one step that can be undone.
    Script<CCreateSubaDlg>([cell](CCreateSubaDlg&) {
        g_materialDiffuse[2] = 0.05f;
        cell->TakeCurrentMaterial();
    });
    EXPECT_FALSE(m_doc->EditComponent(cell));
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps + 1);
    EXPECT_FLOAT_EQ(cell->m_diffuse[2], 0.05f);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_TRUE(cell->SameComponentFields(edited));
    // A component that is not in the page is not edited.
    CGSubassembly stray;
    m_answer = IDOK;
    EXPECT_FALSE(m_doc->EditComponent(&stray));
}
