// The colour commands (named, random, custom and parameter colours, transparency) and the colour
// modifier: its colours on hand-computed values across the range and past it, its record and its
// refused cuts.
#include "construct/construct_fixture.h"

#include "construct/input_dialogs.h"
#include "document/display_dialogs.h"
#include "document/display_ids.h"
#include "document/doc_globals.h"
#include "dynamics/color_modifier.h"
#include "platform/random.h"
#include "view/view_colors.h"

#include <cmath>

namespace {

class ColorCommands : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxResetDocumentGlobals();
        a = AddPoint(0, 0, 0);
        b = AddPoint(1, 0, 0);
        c = AddPoint(0, 1, 0);
        ab = AddLine(a->m_id, b->m_id);
        face = AddFace({a->m_id, b->m_id, c->m_id});
    }
    CGVertex *a, *b, *c;
    CGLine* ab;
    CGFace* face;
};

TEST_F(ColorCommands, NamedColoursColourTheSelectionOrElseThePen) {
    const struct {
        UINT id;
        CRgba rgb;
    } named[] = {{2000, {255, 0, 0, 255}},   {2003, {0, 255, 255, 255}},   {2006, {128, 0, 0, 255}},
                 {2011, {128, 128, 0, 255}}, {2014, {192, 192, 192, 255}}, {2015, {255, 255, 255, 255}}};
    for (const auto& row : named) {
        a->m_color.a = 200;
        Select({a->m_id, ab->m_id});
        ASSERT_TRUE(Run(row.id));
        EXPECT_EQ(a->m_color, (CRgba{row.rgb.r, row.rgb.g, row.rgb.b, 200})) << row.id;
        EXPECT_EQ(ab->m_color.ToColorRef(), row.rgb.ToColorRef()) << row.id;
        EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    }
    EXPECT_TRUE(m_doc->IsModified());
    // With nothing selected only the pen takes the colour (its alpha kept).
    g_currentColor = CRgba{255, 0, 0, 77};
    const CRgba before = b->m_color;
    ASSERT_TRUE(Run(2008));
    EXPECT_EQ(g_currentColor, (CRgba{0, 0, 128, 77}));
    EXPECT_EQ(b->m_color, before);
    // 2016 to 2025 carry no command.
    EXPECT_FALSE(Run(2020));
}

TEST_F(ColorCommands, RandomColoursGiveEvenlySpacedHuesInRandomOrder) {
    HxSrand(1); // 41, 18467, 6334, 26500, 19169, 15724, ...
    Select({a->m_id, b->m_id, c->m_id});
    a->m_color.a = b->m_color.a = c->m_color.a = 99;
    ASSERT_TRUE(Run(ID_COLOR26));
    const double s = 41 / 32767.0 * 0.5 + 0.5, l = 18467 / 32767.0 * 0.5 + 0.25, h0 = 6334 / 32767.0;
    // In map order the cells draw k = 2 (of the 3 free slots: slot 1), k = 1 (slot 0), k = 1 (slot 2).
    const double hues[3] = {1.0 / 3 + h0, h0, 2.0 / 3 + h0};
    std::vector<CGVertex*> inMapOrder;
    ForEachCell(m_page->m_cells, [&](CGCell* cell) {
        if (cell == a || cell == b || cell == c)
            inMapOrder.push_back(static_cast<CGVertex*>(cell));
    });
    ASSERT_EQ(inMapOrder.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        double rgb[3];
        HslToRgb(rgb, hues[i] > 1.0 ? hues[i] - 1.0 : hues[i], s, l);
        const CRgba expected{HxColorChannel(rgb[0]), HxColorChannel(rgb[1]), HxColorChannel(rgb[2]), 99};
        EXPECT_EQ(inMapOrder[size_t(i)]->m_color, expected) << i;
    }
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ColorCommands, RandomColourOfOneCellTakesTheHueOffset) {
    HxSrand(1);
    Select({ab->m_id});
    ASSERT_TRUE(Run(ID_COLOR26));
    double rgb[3];
    HslToRgb(rgb, 6334 / 32767.0, 41 / 32767.0 * 0.5 + 0.5, 18467 / 32767.0 * 0.5 + 0.25);
    EXPECT_EQ(ab->m_color.r, HxColorChannel(rgb[0]));
    EXPECT_EQ(ab->m_color.g, HxColorChannel(rgb[1]));
    EXPECT_EQ(ab->m_color.b, HxColorChannel(rgb[2]));
    // Nothing selected: no draw, no change.
    HxSrand(5);
    const int firstOfSeed = HxRand();
    HxSrand(5);
    Select({});
    ASSERT_TRUE(Run(ID_COLOR26));
    EXPECT_EQ(HxRand(), firstOfSeed);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ColorCommands, TransparencyOpensWithTheFirstObjectsOpacity) {
    face->m_color.a = 90;
    std::vector<std::pair<int, CString>> shown;
    Script<CDlgAlpha>([&](CDlgAlpha& dlg) {
        shown.push_back({dlg.m_opacity, dlg.m_text});
        dlg.m_opacity = 50;
    });
    Select({face->m_id, a->m_id});
    ASSERT_TRUE(Run(ID_COLOR28));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, 35); // (90 x 100 + 127) div 255
    EXPECT_EQ(shown[0].second, CString(u"不透明度：35%"));
    EXPECT_EQ(face->m_color.a, 127);
    EXPECT_EQ(a->m_color.a, 127);
    EXPECT_EQ(g_alphaPercent, 50);
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    // Cancelled: nothing changes.
    m_answer = IDCANCEL;
    Select({b->m_id});
    const BYTE alpha = b->m_color.a;
    ASSERT_TRUE(Run(ID_COLOR28));
    EXPECT_EQ(b->m_color.a, alpha);
}

TEST_F(ColorCommands, CustomColourStartsFromTheFirstObject) {
    a->m_color = CRgba{10, 20, 30, 40};
    COLORREF offered = 0;
    Script<CMFCColorDialog>([&](CMFCColorDialog& dlg) {
        offered = dlg.m_color;
        dlg.m_color = RGB(200, 100, 50);
    });
    Select({a->m_id, face->m_id});
    ASSERT_TRUE(Run(ID_COLOR27));
    EXPECT_EQ(offered, RGB(10, 20, 30));
    EXPECT_EQ(a->m_color, (CRgba{200, 100, 50, 40}));
    EXPECT_EQ(face->m_color.ToColorRef(), RGB(200, 100, 50));
    EXPECT_EQ(g_customColor, RGB(10, 20, 30));
}

TEST_F(ColorCommands, ParameterColourAddsAModifierOnTheSelection) {
    CGTmVariable* t = AddValue(0.25f, u"t");
    Script<CDlgParametricColor>([](CDlgParametricColor& dlg) {
        EXPECT_EQ(dlg.m_parameters, 1);
        EXPECT_EQ(dlg.FirstChoiceText(), CString(u"颜色（C）"));
        dlg.m_label = u"hue";
        dlg.m_to = 2.0f;
    });
    Select({ab->m_id, t->m_id, a->m_id});
    EXPECT_TRUE(Enabled(ID_COLOR29));
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_COLOR29));
    auto* modifier = Cell<CGMdfColor>(id);
    ASSERT_NE(modifier, nullptr);
    EXPECT_EQ(modifier->m_kind, CGMdfColor::kHue);
    EXPECT_EQ(modifier->m_name, CString(u"hue"));
    // The value, then the points, lines, faces, curves, texts and solids, list by list.
    EXPECT_EQ(Parents(modifier), (std::vector<WORD>{t->m_id, a->m_id, ab->m_id}));
    ExpectUndoStep<CCmdAddCell>(u"添加参数颜色");
    // t = 0.25 of the range 0..2: hue 1/8.
    double rgb[3];
    HslToRgb(rgb, 0.25 / (2.0 + 1e-6), 1.0, 0.5);
    EXPECT_EQ(a->m_color.r, HxColorChannel(rgb[0]));
    EXPECT_EQ(a->m_color.g, HxColorChannel(rgb[1]));
    EXPECT_EQ(ab->m_color.b, HxColorChannel(rgb[2]));
    // Moving the value recolours the targets.
    t->m_param1 = 0.0f;
    Changed(t);
    EXPECT_EQ(a->m_color.ToColorRef(), RGB(255, 0, 0));
}

TEST_F(ColorCommands, ParameterColourNeedsOneOrThreeScalarValues) {
    CGTmVariable* u = AddValue(0.1f, u"u");
    CGTmVariable* v = AddValue(0.2f, u"v");
    CGTmVariable* w = AddValue(0.3f, u"w");
    CGTmVector* vector = Vector(u"n", 1, 2, 3);
    int dialogs = 0;
    Script<CDlgParametricColor>([&](CDlgParametricColor& dlg) {
        ++dialogs;
        EXPECT_EQ(dlg.m_parameters, 3);
        EXPECT_EQ(dlg.SecondChoiceText(), CString(u"色调、饱和度、亮度（HSL）"));
        dlg.m_choice = 1;
    });
    for (const std::vector<WORD>& refused :
         {std::vector<WORD>{u->m_id, v->m_id, a->m_id}, std::vector<WORD>{vector->m_id, a->m_id},
          std::vector<WORD>{a->m_id}}) {
        m_page->ClearSelection();
        for (WORD id : refused)
            m_page->SelectCell(id);
        const PageSnapshot before = TakeSnapshot(*m_page);
        ASSERT_TRUE(Run(ID_COLOR29) || !Enabled(ID_COLOR29));
        EXPECT_EQ(TakeSnapshot(*m_page), before);
    }
    EXPECT_EQ(dialogs, 0);
    Select({u->m_id, v->m_id, w->m_id, face->m_id});
    const WORD id = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_COLOR29));
    auto* modifier = Cell<CGMdfColor>(id);
    ASSERT_NE(modifier, nullptr);
    EXPECT_EQ(modifier->m_kind, CGMdfColor::kHsl);
    EXPECT_EQ(modifier->m_handedOver, 3);
    double rgb[3];
    HslToRgb(rgb, 0.1 / (1 + 1e-6), 0.2 / (1 + 1e-6), 0.3 / (1 + 1e-6));
    EXPECT_EQ(face->m_color.r, HxColorChannel(rgb[0]));
    EXPECT_EQ(face->m_color.g, HxColorChannel(rgb[1]));
    EXPECT_EQ(face->m_color.b, HxColorChannel(rgb[2]));
}

TEST_F(ColorCommands, ThePropertiesOfAModifierChangeItsRangeAndMode) {
    CGTmVariable* t = AddValue(0.5f, u"t");
    Select({t->m_id, a->m_id});
    auto* modifier = Insert(new CGMdfColor(NextId(), CGMdfColor::kGrey, 1.0f, 1, 0.0f));
    EXPECT_EQ(a->m_color.ToColorRef(), RGB(127, 127, 127));
    Script<CDlgParametricColor>([](CDlgParametricColor& dlg) {
        EXPECT_EQ(dlg.m_parameters, 1);
        EXPECT_EQ(dlg.m_choice, 1) << "grey is the second choice";
        EXPECT_EQ(dlg.m_label, CString(u"Parametric Color"));
        dlg.m_choice = 0;
        dlg.m_to = 1.5f;
        dlg.m_label = u"色";
    });
    Select({modifier->m_id});
    ASSERT_TRUE(Run(ID_EDIT_PROPERTY));
    EXPECT_EQ(modifier->m_kind, CGMdfColor::kHue);
    EXPECT_EQ(modifier->m_name, CString(u"色"));
    EXPECT_FLOAT_EQ(modifier->m_rangeEnd, 1.5f);
    double rgb[3];
    HslToRgb(rgb, 0.5 / (1.5 + 1e-6), 1.0, 0.5);
    EXPECT_EQ(a->m_color.g, HxColorChannel(rgb[1]));
    EXPECT_TRUE(m_doc->IsModified());
}

// ---------------------------------------------------------------------------------------------
// The modifier itself

using ColorModifier = PointsTest;

TEST_F(ColorModifier, ColoursAcrossTheRangeAndPastIt) {
    const struct {
        BYTE mode;
        float v[3];
        CRgba expected;
    } rows[] = {
        {CGMdfColor::kHue, {0.0f}, {255, 0, 0, 7}},
        {CGMdfColor::kHue, {1.0f / 3}, {0, 255, 0, 7}},
        {CGMdfColor::kHue, {1.0f}, {255, 0, 0, 7}},      // the range end stays just below 1: red again
        {CGMdfColor::kHue, {-2.0f / 3}, {0, 255, 0, 7}}, // wraps from below
        {CGMdfColor::kHue, {4.0f / 3}, {0, 255, 0, 7}},  // one range above is the same colour
        {CGMdfColor::kGrey, {0.5f}, {127, 127, 127, 7}}, // 0.5 / (1 + 1e-6) x 255 + 0.5 stays below 128
        {CGMdfColor::kGrey, {-0.25f}, {191, 191, 191, 7}},
        {CGMdfColor::kRgb, {0.2f, 0.6f, 1.5f}, {51, 153, 127, 7}},
        {CGMdfColor::kRgb, {-0.2f, 0.0f, 0.0f}, {204, 0, 0, 7}},
        {CGMdfColor::kHsl, {0.0f, 0.5f, 0.25f}, {96, 32, 32, 7}},
        {CGMdfColor::kHsl, {2.0f / 3, 0.5f, 0.5f}, {64, 64, 191, 7}},
    };
    for (const auto& row : rows) {
        CGTmVariable* values[3];
        for (int i = 0; i < 3; ++i)
            values[i] = AddValue(row.v[i], u"v");
        CGVertex* target = AddPoint(0, 0, 0);
        target->m_color = CRgba{1, 2, 3, 7};
        m_page->ClearSelection();
        for (int i = 0; i < (row.mode >= CGMdfColor::kRgb ? 3 : 1); ++i)
            m_page->SelectCell(values[i]->m_id);
        m_page->SelectCell(target->m_id);
        auto* modifier = Insert(new CGMdfColor(NextId(), row.mode, 1.0f, 0, 0.0f));
        EXPECT_EQ(target->m_color.r, row.expected.r) << int(row.mode) << " " << row.v[0];
        EXPECT_EQ(target->m_color.g, row.expected.g) << int(row.mode) << " " << row.v[0];
        EXPECT_EQ(target->m_color.b, row.expected.b) << int(row.mode) << " " << row.v[0];
        EXPECT_EQ(target->m_color.a, 7) << "the alpha is kept";
        EXPECT_TRUE(modifier->m_valid);
    }
}

TEST_F(ColorModifier, WrapOfBothKindsAgrees) {
    for (double v : {-3.75, -1.0, -0.5, -1e-7, 0.0, 0.3, 1.0, 2.6, 1e30}) {
        const double t1 = CGMdfColor::Wrap(v, 0.0f, 1.0f, CGMdfColor::kHue);
        const double t3 = CGMdfColor::Wrap(v, 0.0f, 1.0f, CGMdfColor::kRgb);
        EXPECT_GE(t1, 0.0) << v;
        EXPECT_LT(t1, 1.0) << v;
        EXPECT_NEAR(t1, t3 >= 1.0 ? t3 - 1.0 : t3, 1e-12) << v;
    }
    // A value that is no number, or an infinite one, starts the cycle instead of making a colour of
    // nothing.
    EXPECT_EQ(CGMdfColor::Wrap(std::nan(""), 0.0f, 1.0f, CGMdfColor::kGrey), 0.0);
    EXPECT_EQ(CGMdfColor::Wrap(INFINITY, 0.0f, 1.0f, CGMdfColor::kRgb), 0.0);
}

TEST_F(ColorModifier, RecordAndRefusedCuts) {
    CGTmVariable* value = AddValue(0.5f, u"t");
    CGVertex* target = AddPoint(0, 0, 0);
    m_page->SelectCell(value->m_id);
    m_page->SelectCell(target->m_id);
    auto* modifier = Insert(new CGMdfColor(NextId(), CGMdfColor::kGrey, 4.0f, 11, -2.0f));
    modifier->m_value1 = 5;
    modifier->m_value2 = -6;
    EXPECT_EQ(modifier->GetDescription(), CString(u"颜色修改器Parametric Color"));
    ByteBuilder b;
    b.NewClass("CGMdfColor");
    CommonRecord common;
    common.id = modifier->m_id;
    common.name = u"Parametric Color";
    common.kind = CGMdfColor::kGrey;
    common.color = modifier->m_color;
    common.labelColor = modifier->m_labelColor;
    common.size = modifier->m_size;
    common.labelHidden = modifier->m_labelHidden;
    common.parents = {value->m_id, target->m_id};
    common.AppendTo(b);
    b.I32(5).I32(-6).F32(-2.0f).F32(4.0f).I32(11);
    auto back = ExpectRecord<CGMdfColor>(modifier, b.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_kind, CGMdfColor::kGrey);
    EXPECT_FLOAT_EQ(back->m_rangeStart, -2.0f);
    EXPECT_FLOAT_EQ(back->m_rangeEnd, 4.0f);
    EXPECT_EQ(back->m_handedOver, 11);
}

TEST_F(ColorModifier, DamagedModifiersColourNothingAndDoNotCrash) {
    // A loaded modifier whose parents are missing, or whose mode is unknown, recomputes quietly.
    CGMdfColor lonely;
    lonely.m_kind = CGMdfColor::kRgb;
    lonely.m_parents.Add(WORD(900));
    lonely.Recompute();
    CGTmVariable* value = AddValue(0.5f, u"t");
    CGVertex* target = AddPoint(0, 0, 0);
    CGMdfColor odd;
    odd.m_kind = 0;
    odd.m_parents.Add(value->m_id);
    odd.m_parents.Add(target->m_id);
    odd.m_parents.Add(WORD(901));
    odd.Recompute();
    EXPECT_EQ(target->m_color.ToColorRef(), RGB(127, 127, 127)) << "an unknown one-value mode colours grey";
}

} // namespace
