// The view marks and the view-button commands (the dialogs' presets from the marks, the buttons made
// on OK as one undo step, nothing on Cancel), the properties of view buttons, the surface command
// with the values it offers, the properties of a surface, and the surface dialog's own rules.
#include "construct/construct_fixture.h"

#include "button_fixture.h"
#include "document/doc_globals.h"
#include "dynamics/edit_ids.h"
#include "dynamics/surface.h"
#include "dynamics/surface_dialog.h"
#include "dynamics/view_button_dialogs.h"
#include "measure/calc_dialogs.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <cmath>

namespace {

class ViewSurfaceCommandsTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxResetDocumentGlobals();
        g_animationFps = 25;
        g_viewTransX = g_viewTransY = 0.0f;
        g_viewTransZ = -50.0f;
        g_viewZoom = 1.0f;
        QuaternionFromAxisAngle(g_viewRotation, 0.0, 0, 0, 1);
    }
    void TearDown() override {
        HxResetDocumentGlobals();
        ConstructTest::TearDown();
    }
    template <class T> T* Last() { return Cell<T>(WORD(m_page->m_nextId - 1)); }
};

} // namespace

TEST_F(ViewSurfaceCommandsTest, MarksKeepTheViewAndAreAlwaysOffered) {
    g_viewTransX = 1.5f;
    g_viewTransY = -2.0f;
    g_viewTransZ = -40.0f;
    g_viewZoom = 2.5f;
    QuaternionFromAxisAngle(g_viewRotation, 1.0, 1, 0, 0);
    for (UINT id : {ID_EDIT_BTN_START, ID_EDIT_BTN_END, ID_EDIT_BTN_TRANSLATE, ID_EDIT_BTN_ROTATE,
                    ID_EDIT_BTN_ZOOM, ID_CREATE_SURFACE, ID_EDIT_COMPACT})
        EXPECT_TRUE(Enabled(id)) << id;
    Run(ID_EDIT_BTN_START);
    const float start[8] = {1.5f, -2.0f, -40.0f, float(std::cos(0.5)), float(std::sin(0.5)),
                            0.0f, 0.0f,  2.5f};
    for (int i = 0; i < kViewMarkSize; ++i)
        EXPECT_EQ(g_viewMarkStart[i], start[i]) << i;
    // The target still shows the view of a new page.
    const float fresh[8] = {0.0f, 0.0f, -50.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    for (int i = 0; i < kViewMarkSize; ++i)
        EXPECT_EQ(g_viewMarkTarget[i], fresh[i]) << i;
    Run(ID_EDIT_BTN_END);
    EXPECT_EQ(g_viewMarkTarget[kMarkZoom], 2.5f);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
}

TEST_F(ViewSurfaceCommandsTest, EqualMarksGiveAFullTurnAboutZInSevenSeconds) {
    Run(ID_EDIT_BTN_START);
    Run(ID_EDIT_BTN_END);
    CDlgViewRotate seen;
    Script<CDlgViewRotate>([&](CDlgViewRotate& d) {
        seen.m_angle = d.m_angle;
        std::copy(d.m_axis, d.m_axis + 3, seen.m_axis);
        seen.m_seconds = d.m_seconds;
        seen.m_caption = d.m_caption;
    });
    const WORD id = m_page->m_nextId;
    Run(ID_EDIT_BTN_ROTATE);
    EXPECT_EQ(seen.m_angle, 360.0f);
    EXPECT_EQ(seen.m_axis[2], 1.0f);
    EXPECT_EQ(seen.m_seconds, 7.0f);
    EXPECT_EQ(seen.m_caption, CString(u"视旋转"));
    auto* turn = Cell<CGButnRotate>(id);
    ASSERT_TRUE(turn);
    ExpectUndoStep<CCmdAddCell>(kUndoAddViewRotateButton);
    EXPECT_EQ(turn->m_name, CString(u"视旋转"));
    EXPECT_EQ(turn->m_param3, 360.0f);
    EXPECT_EQ(turn->m_seconds, 7.0f);
    EXPECT_EQ(turn->m_param2, 1.0f) << "the start is the start mark";
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ViewSurfaceCommandsTest, TheTurnBetweenTwoMarks) {
    struct Case {
        double degrees;
        float x, y, z;
        float angle;
        float seconds;
    };
    for (const Case& c : {Case{90, 0, 0, 1, 90, 1.0f}, Case{270, 0, 0, 1, -90, 1.0f},
                          Case{30, 1, 0, 0, 30, 0.1f}, Case{160, 0, -1, 0, 160, 3.0f}}) {
        QuaternionFromAxisAngle(g_viewRotation, 0.2, 0, 1, 0);
        Run(ID_EDIT_BTN_START);
        double r[4];
        QuaternionFromAxisAngle(r, c.degrees * 0.017453292519943295, c.x, c.y, c.z);
        QuaternionMultiply(g_viewRotation, r, g_viewRotation);
        Run(ID_EDIT_BTN_END);
        float angle = 0, axis[3];
        HxViewTurnBetweenMarks(angle, axis);
        EXPECT_NEAR(angle, c.angle, 1e-3) << c.degrees;
        // 270 degrees is -90 about the same axis.
        EXPECT_NEAR(axis[0], c.x, 1e-4) << c.degrees;
        EXPECT_NEAR(axis[1], c.y, 1e-4) << c.degrees;
        EXPECT_NEAR(axis[2], c.z, 1e-4) << c.degrees;
        float seconds = 0;
        Script<CDlgViewRotate>([&](CDlgViewRotate& d) { seconds = d.m_seconds; });
        m_answer = IDCANCEL;
        Run(ID_EDIT_BTN_ROTATE);
        m_answer = IDOK;
        EXPECT_EQ(seconds, c.seconds) << c.degrees;
    }
}

TEST_F(ViewSurfaceCommandsTest, PanAndZoomButtonsFromTheMarks) {
    g_viewTransX = 2.0f;
    g_viewZoom = 0.5f;
    Run(ID_EDIT_BTN_START);
    g_viewTransX = -8.0f;
    g_viewTransY = 3.0f;
    g_viewZoom = 1.7f;
    Run(ID_EDIT_BTN_END);
    CDlgViewTrans pan;
    Script<CDlgViewTrans>([&](CDlgViewTrans& d) {
        pan.m_seconds = d.m_seconds;
        std::copy(d.m_start, d.m_start + 3, pan.m_start);
        std::copy(d.m_end, d.m_end + 3, pan.m_end);
        d.m_direction = 1;
        d.m_repeat = 1;
        d.m_interval = 0.5f;
    });
    Run(ID_EDIT_BTN_TRANSLATE);
    EXPECT_EQ(pan.m_seconds, 2.0f) << "the largest difference, 10, over 5";
    EXPECT_EQ(pan.m_start[0], 2.0f);
    EXPECT_EQ(pan.m_end[0], -8.0f);
    EXPECT_EQ(pan.m_end[2], -50.0f);
    auto* translate = Last<CGButnTranslate>();
    ASSERT_TRUE(translate);
    ExpectUndoStep<CCmdAddCell>(kUndoAddViewTranslateButton);
    EXPECT_EQ(translate->m_name, CString(u"视平移"));
    EXPECT_EQ(translate->m_endTrans[1], 3.0f);
    EXPECT_EQ(translate->m_backAndForth, 1);
    EXPECT_EQ(translate->m_repeat, 1);
    EXPECT_EQ(translate->m_extA3, 0.5f);

    float seconds = 0;
    Script<CDlgViewScale>([&](CDlgViewScale& d) {
        seconds = d.m_seconds;
        EXPECT_EQ(d.m_startZoom, 0.5f);
        EXPECT_EQ(d.m_endZoom, 1.7f);
        d.m_seconds = 0.0f;
    });
    Run(ID_EDIT_BTN_ZOOM);
    EXPECT_NEAR(seconds, 6.0f, 1e-5);
    auto* zoom = Last<CGButnScale>();
    ASSERT_TRUE(zoom);
    ExpectUndoStep<CCmdAddCell>(kUndoAddViewZoomButton);
    EXPECT_EQ(zoom->m_seconds, 0.1f) << "a duration not above 0";
    // Undo takes the button away again.
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_FALSE(m_page->FindCell(zoom->m_id));

    // Equal marks: no movement gives the least duration.
    Run(ID_EDIT_BTN_START);
    Run(ID_EDIT_BTN_END);
    Script<CDlgViewTrans>([&](CDlgViewTrans& d) { seconds = d.m_seconds; });
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    const int steps = m_page->m_cmdProcessor.GetCount();
    Run(ID_EDIT_BTN_TRANSLATE);
    EXPECT_EQ(seconds, 0.1f);
    EXPECT_EQ(TakeSnapshot(*m_page), before) << "Cancel takes no id";
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), steps);
}

TEST_F(ViewSurfaceCommandsTest, PropertiesOfViewButtons) {
    auto* turn =
        Insert(new CGButnRotate(NextId(), u"视旋转", 0.5f, 0.5f, 0.5f, 0.5f, 0, 0, 1, 90, 0, 0, 2, 0));
    turn->m_tickCount = 9;
    Select({turn->m_id});
    Script<CDlgViewRotate>([&](CDlgViewRotate& d) {
        EXPECT_EQ(d.m_start[0], 0.5f);
        EXPECT_EQ(d.m_angle, 90.0f);
        EXPECT_EQ(d.m_axis[2], 1.0f);
        EXPECT_EQ(d.m_seconds, 2.0f);
        EXPECT_TRUE(d.m_startReadOnly);
        d.m_caption = u"转一圈";
        d.m_angle = 360.0f;
        d.m_axis[0] = 1.0f;
        d.m_start[1] = 9.0f;
        d.m_direction = 1;
        d.m_repeat = 1;
        d.m_seconds = 4.0f;
        d.m_interval = 1.0f;
    });
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(turn->m_name, CString(u"转一圈"));
    EXPECT_TRUE(turn->m_nameFixed);
    EXPECT_EQ(turn->m_param3, 360.0f);
    EXPECT_EQ(turn->m_axis[0], 1.0f);
    EXPECT_EQ(turn->m_startRotation[0], 0.5f) << "the start stays what F8 made it";
    EXPECT_EQ(turn->m_backAndForth, 1);
    EXPECT_EQ(turn->m_repeat, 1);
    EXPECT_EQ(turn->m_seconds, 4.0f);
    EXPECT_EQ(turn->m_extA3, 1.0f);
    EXPECT_EQ(turn->m_tickCount, 0) << "the next press starts a new pass";

    auto* zoom = Insert(new CGButnScale(NextId(), u"视缩放", 1.0f, 2.0f, 0, 0, 1.0f, 0.0f));
    Select({zoom->m_id});
    Script<CDlgViewScale>([&](CDlgViewScale& d) {
        d.m_startZoom = 3.0f;
        d.m_endZoom = 0.5f;
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(zoom->m_startZoom, 3.0f);
    EXPECT_EQ(zoom->m_endZoom, 0.5f);
    auto* pan = Insert(new CGButnTranslate(NextId(), u"视平移", 0, 0, -50, 1, 1, -50, 0, 0, 1.0f, 0.0f));
    Select({pan->m_id});
    Script<CDlgViewTrans>([&](CDlgViewTrans& d) { d.m_end[2] = -30.0f; });
    m_answer = IDCANCEL;
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(pan->m_endTrans[2], -50.0f) << "Cancel keeps it";
}

TEST_F(ViewSurfaceCommandsTest, ASurfaceOverTheSelectedValues) {
    CGTmVariable* r = AddValue(4.0f, u"r");
    CGTmVariable* unnamed = AddValue(2.0f, u"");
    CDlgSurface seen;
    Script<CDlgSurface>([&](CDlgSurface& d) {
        seen.m_names = d.m_names;
        seen.m_nameMarkups = d.m_nameMarkups;
        seen.m_values = d.m_values;
        seen.m_precedences = d.m_precedences;
        EXPECT_EQ(d.m_x, CString(u"5*cos(u)"));
        EXPECT_EQ(d.m_uStep, 0.2);
        EXPECT_EQ(d.m_texture, 1);
        EXPECT_TRUE(d.m_back);
        d.m_x = u"No1*cos(u)";
        d.m_y = u"No1*sin(u)";
        d.m_z = u"v*No2";
        d.m_displayMode = 1;
    });
    const WORD id = m_page->m_nextId;
    RunOn(ID_CREATE_SURFACE, {r->m_id, unnamed->m_id});
    EXPECT_EQ(seen.m_names, (std::vector<CString>{u"r", u"     "}));
    EXPECT_EQ(seen.m_nameMarkups, (std::vector<CString>{u"<e>r</e>", u"<e>     </e>"}));
    EXPECT_EQ(seen.m_values, (std::vector<double>{0.0, 0.0, 4.0, 2.0}));
    EXPECT_EQ(seen.m_precedences, (std::vector<int>{17, 17, 17, 17}));
    auto* surface = Cell<CGSurface>(id);
    ASSERT_TRUE(surface);
    ExpectUndoStep<CCmdAddCell>(kUndoAddSurface);
    EXPECT_EQ(Parents(surface), (std::vector<WORD>{r->m_id, unnamed->m_id}));
    EXPECT_EQ(surface->m_style, CGSurface::kStyleTranslucent);
    EXPECT_EQ(surface->m_color.a, 90);
    EXPECT_EQ(surface->m_frontTexture, 1);
    EXPECT_EQ(surface->m_twoSided, 1);
    EXPECT_TRUE(surface->m_valid);
    double p[3];
    surface->EvalPoint(p, 0.0, 1.0);
    EXPECT_NEAR(p[0], 4.0, 1e-12);
    EXPECT_NEAR(p[2], 2.0, 1e-12);
    EXPECT_TRUE(m_messages.empty());
    // A text the surface cannot compile is reported; the surface is still made.
    Script<CDlgSurface>([](CDlgSurface& d) { d.m_vTo = u"8+"; });
    RunOn(ID_CREATE_SURFACE, {});
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].Find(u"v:到"), -1);
    EXPECT_FALSE(Last<CGSurface>()->m_valid);
    // Ranges that compile but give no number, or steps that give more samples than the bound, are
    // reported too; the surface is made and shows nothing.
    const struct {
        const char16_t* uTo;
        double uStep, vStep;
    } unsampled[] = {{u"1/0", 0.2, 1.0}, {u"ln(-1)", 0.2, 1.0}, {u"2000", 0.001, 0.001}};
    for (const auto& c : unsampled) {
        m_messages.clear();
        Script<CDlgSurface>([&c](CDlgSurface& d) {
            d.m_uTo = c.uTo;
            d.m_uStep = c.uStep;
            d.m_vStep = c.vStep;
        });
        RunOn(ID_CREATE_SURFACE, {});
        ASSERT_EQ(m_messages.size(), 1u) << CString(c.uTo).ToUtf8();
        EXPECT_EQ(m_messages[0], CString(kSurfaceRangeMessage));
        EXPECT_FALSE(Last<CGSurface>()->m_valid);
    }
    // A surface that follows a value that is invalid waits for it silently.
    m_messages.clear();
    r->m_valid = false;
    Script<CDlgSurface>([](CDlgSurface& d) { d.m_x = u"No1"; });
    RunOn(ID_CREATE_SURFACE, {r->m_id});
    EXPECT_FALSE(Last<CGSurface>()->m_valid);
    EXPECT_TRUE(m_messages.empty());
    r->m_valid = true;
    // Cancel makes nothing.
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    RunOn(ID_CREATE_SURFACE, {});
    EXPECT_EQ(TakeSnapshot(*m_page), before);
}

TEST_F(ViewSurfaceCommandsTest, PropertiesOfASurface) {
    CGTmVariable* k = AddValue(3.0f, u"k");
    Select({k->m_id});
    Script<CDlgSurface>([](CDlgSurface& d) { d.ApplyExample(0); });
    Run(ID_CREATE_SURFACE);
    auto* surface = Last<CGSurface>();
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->m_color.a, 255);
    Select({surface->m_id});
    EXPECT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Script<CDlgSurface>([](CDlgSurface& d) {
        EXPECT_EQ(d.m_x, CString(u"5"));
        EXPECT_EQ(d.m_system, 2);
        EXPECT_EQ(d.m_names, (std::vector<CString>{u"k"}));
        EXPECT_EQ(d.m_values.size(), 3u);
        d.m_x = u"No1";
        d.m_uStep = -0.5;
        d.m_displayMode = 1;
        d.m_mapping = 1;
        d.m_sScale = 2.0;
    });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(surface->m_texts[CGSurface::kX], CString(u"No1"));
    EXPECT_EQ(surface->m_uStep, 0.5) << "kept as its absolute value";
    EXPECT_EQ(surface->m_style, CGSurface::kStyleTranslucent);
    EXPECT_EQ(surface->m_color.a, 90);
    EXPECT_EQ(surface->m_mappingMode, 1);
    EXPECT_EQ(surface->m_mapping[CGSurface::kSScale], 2.0);
    double p[3];
    surface->EvalPoint(p, 0.0, 0.0);
    EXPECT_NEAR(p[0], 3.0, 1e-12) << "compiled again with the new text";
    // Back to lit: opaque again.
    Select({surface->m_id});
    Script<CDlgSurface>([](CDlgSurface& d) { d.m_displayMode = 0; });
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(surface->m_color.a, 255);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1) << "properties record no undo step";
}

TEST_F(ViewSurfaceCommandsTest, TheExpressionButtonsOpenTheCalculationDialog) {
    CDlgSurface dialog;
    CGTmVariable* a = AddValue(1.5f, u"a");
    dialog.OfferValue(*a);
    struct Seen {
        CString title, expression;
        int mode = -1;
        std::vector<double> values;
        std::vector<CString> names;
    } seen;
    Script<CDlgCalculator>([&](CDlgCalculator& d) {
        seen.title = d.m_title;
        seen.mode = d.m_mode;
        seen.values = d.m_values;
        seen.names = d.m_names;
        seen.expression = d.m_expression;
        d.m_expression = u"No1*u";
    });
    EXPECT_TRUE(dialog.EditExpression(CDlgSurface::kButtonY));
    EXPECT_EQ(seen.title, CString(u"编辑参数方程"));
    EXPECT_EQ(seen.mode, CDlgCalculator::kModeSurface);
    EXPECT_EQ(seen.values, (std::vector<double>{0.0, 0.0, 1.5}));
    EXPECT_EQ(seen.names, (std::vector<CString>{u"a"}));
    EXPECT_EQ(seen.expression, CString(u"5*sin(u)"));
    EXPECT_EQ(dialog.m_y, CString(u"No1*u"));
    EXPECT_TRUE(dialog.EditExpression(CDlgSurface::kButtonVTo));
    EXPECT_EQ(seen.title, CString(u"编辑参数范围"));
    EXPECT_EQ(seen.mode, CDlgCalculator::kModeCalculation);
    EXPECT_EQ(seen.values, (std::vector<double>{1.5})) << "u and v are not offered for a range";
    EXPECT_EQ(seen.expression, CString(u"8"));
    EXPECT_EQ(dialog.m_vTo, CString(u"No1*u"));
    m_answer = IDCANCEL;
    EXPECT_FALSE(dialog.EditExpression(CDlgSurface::kButtonX));
    EXPECT_EQ(dialog.m_x, CString(u"5*cos(u)"));
    EXPECT_FALSE(dialog.EditExpression(CDlgSurface::kEditX)) << "only the seven buttons";
}

TEST(SurfaceDialogFields, TheExamplesAreNamedAsTheListGivesThem) {
    const std::vector<CString> names = {
        u"圆柱面",       u"圆锥面",     u"球面",       u"椭球面", u"双曲面1", u"双曲面2",
        u"椭圆抛物面",   u"双曲抛物面", u"波浪",       u"网兜",   u"窝夫",    u"沙滩",
        u"叶片",         u"花瓶",       u"耳坠",       u"平面",   u"圆面",    u"螺旋管",
        u"圆柱上的缎带", u"八面粽",     u"莫比乌斯带", u"曲面1",  u"曲面2",   u"曲面3"};
    ASSERT_EQ(names.size(), size_t(CDlgSurface::kExampleCount));
    for (int i = 0; i < CDlgSurface::kExampleCount; ++i)
        EXPECT_EQ(CString(CDlgSurface::kExamples[i].name), names[size_t(i)]) << i;
    // The blanks are kept.
    EXPECT_EQ(CString(CDlgSurface::kExamples[12].texts[1]), CString(u"u*(3*v^2-u^2-1/3) "));
    EXPECT_EQ(CString(CDlgSurface::kExamples[19].texts[1]), CString(u"8* (cos(u)*sin(v))^3"));
    EXPECT_EQ(CString(CDlgSurface::kExamples[22].texts[0]), CString(u"1.5*sin(u)^2 +1.2*v^2"));
    EXPECT_EQ(CDlgSurface::kExamples[3].uStep, 0.2617993878);
}

TEST(SurfaceDialogFields, ChoosingAnExampleSetsOnlyItsFields) {
    CDlgSurface d;
    EXPECT_EQ(d.m_vStep, 1.0);
    EXPECT_EQ(d.m_vFrom, CString(u"-8"));
    d.m_displayMode = 2;
    d.m_mapping = 1;
    d.m_texture = 0;
    d.m_back = FALSE;
    d.ApplyExample(15); // 平面
    EXPECT_EQ(d.m_uStep, 8.0);
    EXPECT_EQ(d.m_vStep, 8.0);
    EXPECT_EQ(d.m_texture, 1);
    EXPECT_TRUE(d.m_back);
    EXPECT_EQ(d.m_system, 0);
    EXPECT_EQ(d.m_z, CString(u"0"));
    EXPECT_EQ(d.m_displayMode, 2) << "the display mode is not the example's";
    EXPECT_EQ(d.m_mapping, 1);
    d.ApplyExample(2); // 球面
    EXPECT_EQ(d.m_system, 1);
    EXPECT_EQ(d.m_texture, 0);
    EXPECT_FALSE(d.m_back);
    EXPECT_EQ(d.m_vFrom, CString(u"-pi"));
    d.ApplyExample(24);
    EXPECT_EQ(d.m_system, 1) << "no example beyond the list";
}

TEST(SurfaceDialogFields, LabelsAndTextureEnabling) {
    const char16_t* labels[3];
    CDlgSurface::ExpressionLabels(0, labels);
    EXPECT_EQ(CString(labels[0]), CString(u"x(u,v)="));
    CDlgSurface::ExpressionLabels(1, labels);
    EXPECT_EQ(CString(labels[0]), CString(u" r(u,v)="));
    EXPECT_EQ(CString(labels[2]), CString(u"φ(u,v)="));
    CDlgSurface::ExpressionLabels(2, labels);
    EXPECT_EQ(CString(labels[0]), CString(u"θ(u,v)="));
    EXPECT_EQ(CString(labels[1]), CString(u"ρ(u,v)="));
    EXPECT_EQ(CString(labels[2]), CString(u" z(u,v)="));
    struct Case {
        int mode, texture, mapping;
        bool texture_, back, mapping_, coefficients;
    };
    for (const Case& c : {Case{0, 1, 0, true, true, true, false}, Case{0, 1, 1, true, true, true, true},
                          Case{1, 3, 0, true, false, true, false}, Case{1, 3, 1, true, false, true, true},
                          Case{0, 0, 1, true, false, false, false}, Case{2, 1, 1, false, false, false, false},
                          Case{2, 0, 0, false, false, false, false}}) {
        const auto on = CDlgSurface::TextureEnabling(c.mode, c.texture, c.mapping);
        EXPECT_EQ(on.texture, c.texture_) << c.mode << c.texture << c.mapping;
        EXPECT_EQ(on.back, c.back) << c.mode << c.texture << c.mapping;
        EXPECT_EQ(on.mapping, c.mapping_) << c.mode << c.texture << c.mapping;
        EXPECT_EQ(on.coefficients, c.coefficients) << c.mode << c.texture << c.mapping;
    }
}
