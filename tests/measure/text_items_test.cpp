// The text cells without drawing: number texts by precision and angle mode, the value texts of
// both displays, records byte by byte, the drag of the arrow tool, the parameter's slider and the
// vector texts.
#include "measure/text_items.h"
#include "model/page.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TextItemsTest : public PageFixture {};

TEST(TextNumbers, FormatByValueAndPrecision) {
    const struct {
        float value, step;
        const char16_t* text;
    } rows[] = {
        {2.0f, 0.01f, u"2"},
        {2.5f, 0.01f, u"2.50"},
        {-2.5f, 0.01f, u"-2.50"},       // the integrality test looks at the fraction's size
        {-3.0000004f, 0.01f, u"-3"},    // within 1e-6 of a whole number
        {1.2345678f, 2.0f, u"1.23"},    // a step above 1.001 gives two decimals
        {1.2345678f, 1.0f, u"1"},       // about 1: none
        {1.2345678f, 0.1f, u"1.2"},     // one
        {1.2345678f, 0.001f, u"1.235"}, // three
        {1.2345678f, 0.0001f, u"1.2346"},
        {1.2345678f, 0.00001f, u"1.23457"}, // five
        {0.125f, 0.01f, u"0.13"},           // halves away from zero
        {-0.0f, 0.01f, u"0"},               // a zero has no sign
        {-0.001f, 0.01f, u"0.00"},
        {-0.0000001f, 0.01f, u"0"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(CGTmVariable::FormatNumber(r.value, r.step, false), r.text) << r.value << " at " << r.step;
}

TEST(TextNumbers, AnglesInDegrees) {
    const float pi = 3.1415927f;
    // The format is tested on the degrees in double precision: float pi/4 is not quite 45.
    EXPECT_EQ(CGTmVariable::FormatNumber(pi / 4, 0.01f, true), u"45.00°");
    EXPECT_EQ(CGTmVariable::FormatNumber(pi / 3, 0.01f, true), u"60.00°");
    EXPECT_EQ(CGTmVariable::FormatNumber(pi / 3, 1.0f, true), u"60°");
    EXPECT_EQ(CGTmVariable::FormatNumber(0.0f, 0.01f, true), u"0°");
    EXPECT_EQ(CGTmVariable::FormatNumber(2 * pi / 3, 0.1f, true), u"120.0°");
}

TEST_F(TextItemsTest, DefaultsOfTheTextCell) {
    g_colorValue = CRgba{1, 2, 3, 255};
    CGTextmap text;
    EXPECT_EQ(text.m_name, u"Text");
    EXPECT_TRUE(text.m_text.IsEmpty());
    EXPECT_EQ(text.m_color, (CRgba{1, 2, 3, 255}));
    EXPECT_EQ(text.m_param4, 17);
    EXPECT_EQ(text.m_extA2, 1);
    EXPECT_FLOAT_EQ(text.m_size, 0.01f);
    EXPECT_EQ(text.m_labelHidden, 0);
    EXPECT_EQ(text.ListBase(), 0u) << "no display lists without drawing";
    EXPECT_EQ(text.GetDescription(), u"单行文本");
}

// The value texts of both displays, valid and invalid, with and without a name.
TEST_F(TextItemsTest, ValueTextOfBothDisplays) {
    CGTmVariable v;
    v.m_param1 = 2.5f;
    v.m_name = u"AB";
    struct Row {
        BYTE style;
        int labelHidden;
        const char16_t* name;
        bool valid;
        const char16_t* formatted; // FormatValue
        const char16_t* renamed;   // UpdateName
    } rows[] = {
        {1, 0, u"AB", true, u" =2.50", u" =2.50"},
        {1, 0, u"", true, u"2.50", u" =2.50"}, // UpdateName writes " =" whatever the name
        {1, 0, u"AB", false, u" = ? ", u" = ? "},
        {1, 0, u"", false, u"? ", u" = ? "},
        {1, 1, u"AB", true, u"2.50", u" =2.50"}, // hidden name: the plain text, but UpdateName goes by style
        {0, 0, u"AB", true, u"2.50", u"2.50"},
        {0, 0, u"AB", false, u"? ", u"? "},
    };
    for (const Row& r : rows) {
        v.m_style = r.style;
        v.m_labelHidden = r.labelHidden;
        v.m_name = r.name;
        v.m_valid = r.valid;
        v.FormatValue();
        EXPECT_EQ(v.m_text, r.formatted) << int(r.style) << " " << r.labelHidden << " " << r.valid;
        EXPECT_TRUE(v.GlyphsPending());
        v.m_flag2 = false;
        v.CGTmVariable::UpdateName();
        EXPECT_EQ(v.m_text, r.renamed) << int(r.style) << " " << r.labelHidden << " " << r.valid;
        EXPECT_TRUE(v.m_flag2) << "the picture is rendered again";
    }
}

TEST_F(TextItemsTest, GlyphCountIsTheWidthOfThePickArea) {
    CGTmVariable v;
    v.m_name = u"AB";
    v.m_param1 = 3.0f;
    v.FormatValue();
    EXPECT_EQ(v.GlyphCount(), 5 + 1) << "\"AB = \" and \"3\"";
    v.m_labelHidden = 1;
    v.FormatValue();
    EXPECT_EQ(v.GlyphCount(), 1);
    v.m_labelHidden = 0;
    v.m_style = 1;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u" =3");
    EXPECT_EQ(v.GlyphCount(), 1 + 3) << "the rendered name, then \" =3\"";
}

TEST_F(TextItemsTest, ValueRecordIsTheCommonRecordThenTheText) {
    CGTmVariable v;
    v.m_id = 7;
    v.m_name = u"|AB|";
    v.m_text3 = u"<e>|AB|</e>";
    v.m_param1 = 5.0f;
    v.m_extA1 = 2;
    v.m_style = 1;
    v.m_labelPos[0] = 0.5f;
    v.m_labelPos[1] = -1.5f;
    v.m_nameFixed = true;
    v.FormatValue();
    ASSERT_EQ(v.m_text, u" =286.48°") << "an angle in the formula display";
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { v.Serialize(ar); });
    CommonRecord common{.id = 7,
                        .name = u"|AB|",
                        .labelHidden = 0,
                        .style = 1,
                        .labelPos = {0.5f, -1.5f, 0.0f},
                        .color = {0, 0, 0, 255},
                        .size = 0.01f,
                        .param = {5.0f, 0, 0},
                        .param4 = 17,
                        .nameFixed = true,
                        .extA1 = 2,
                        .extA2 = 1,
                        .text3 = u"<e>|AB|</e>"};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.Str(u" =286.48°");
    EXPECT_EQ(bytes, expected.Bytes());

    CGTmVariable back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_text, u" =286.48°");
    EXPECT_EQ(back.m_text3, u"<e>|AB|</e>");
    EXPECT_EQ(back.m_extA1, 2);
    EXPECT_TRUE(back.m_nameFixed);
    EXPECT_TRUE(back.GlyphsPending()) << "a loaded item renders its name at its first drawing";
    EXPECT_EQ(back.GlyphCount(), 1 + back.m_text.GetLength());

    for (size_t cut : {size_t(1), size_t(5), bytes.size() / 2}) {
        std::vector<BYTE> shorter(bytes.begin(), bytes.end() - long(cut));
        CGTmVariable damaged;
        EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { damaged.Serialize(ar); }), CArchiveException)
            << cut;
    }
}

TEST_F(TextItemsTest, VectorRecordHoldsTheComponentsAndNoText) {
    CGTmVector v;
    v.m_id = 3;
    v.m_name = u"AB";
    v.m_vx = 3.0f;
    v.m_vy = 4.0f;
    v.m_vz = -0.5f;
    v.FormatValue();
    ASSERT_EQ(v.m_text, u"(3, 4, -0.50)");
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { v.Serialize(ar); });
    CommonRecord common{.id = 3,
                        .name = u"AB",
                        .labelHidden = 0,
                        .color = {0, 0, 0, 255},
                        .size = 0.01f,
                        .param4 = 17,
                        .extA2 = 1};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.F32(3.0f).F32(4.0f).F32(-0.5f);
    EXPECT_EQ(bytes, expected.Bytes());

    CGTmVector back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_vy, 4.0f);
    EXPECT_TRUE(back.m_text.IsEmpty()) << "the first recomputation writes the text";
    std::vector<BYTE> shorter(bytes.begin(), bytes.end() - 4);
    CGTmVector cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

TEST_F(TextItemsTest, VectorTexts) {
    CGTmVector v;
    v.m_vx = 2.0f;
    v.m_vy = 0.5f;
    v.m_vz = 1.0f;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"(2, 0.50, 1)") << "each component with its own format";
    v.m_style = 1;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"=(2, 0.50, 1)");
    v.m_extA1 = 1;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"=(2, 0.50)");
    v.m_valid = false;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"=( ?, ?)");
    v.m_extA1 = 0;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"=( ?, ?, ?)");
    v.m_style = 0;
    v.FormatValue();
    EXPECT_EQ(v.m_text, u"( ?, ?, ?)");
    // UpdateName in the formula display writes the text and asks for the picture again.
    v.m_valid = true;
    v.m_style = 1;
    v.m_flag2 = false;
    v.UpdateName();
    EXPECT_EQ(v.m_text, u"=(2, 0.50, 1)");
    EXPECT_TRUE(v.m_flag2);
    v.m_name = u"AB";
    EXPECT_EQ(v.GetDescription(), u"向量：AB");
    EXPECT_EQ(v.GlyphCount(), 1 + v.m_text.GetLength());
}

// Dragging by (10, -5) pixels moves the anchor by (0.5, 0.25) at unit length 0.05; the next new
// item comes below it.
TEST_F(TextItemsTest, DragMovesTheAnchorAndThePlacementCursor) {
    CGTmVariable v;
    v.m_labelPos[0] = 13.0f * 20 * g_unitLength; // column 13, row 11
    v.m_labelPos[1] = 11.0f * 20 * g_unitLength;
    g_mouseDX = 10;
    g_mouseDY = -5;
    v.MoveByMouse();
    EXPECT_FLOAT_EQ(v.m_labelPos[0], 13.5f);
    EXPECT_FLOAT_EQ(v.m_labelPos[1], 11.25f);
    EXPECT_FLOAT_EQ(m_page->m_lastTextX, 13.5f);
    EXPECT_FLOAT_EQ(m_page->m_lastTextY, 11.25f);
    // Slot counter: trunc((19 - 13.5) / 12) * 16 - trunc((11 - 11.25 + 0.75) / -1.5) + 1.
    EXPECT_EQ(m_page->m_textSlot, 1);
    float x = 0, y = 0;
    m_page->PlaceNewTextItem(x, y, 1);
    EXPECT_FLOAT_EQ(x, v.m_labelPos[0]);
    EXPECT_FLOAT_EQ(y, v.m_labelPos[1] - 1.5f) << "one row below";
}

TEST_F(TextItemsTest, ParameterConstructionAndDescription) {
    auto* p = Insert(new CGTmVarParameter(NextId(), u"a", 3.0f));
    EXPECT_EQ(p->m_name, u"a");
    EXPECT_EQ(p->m_param1, 3.0f);
    EXPECT_EQ(p->m_text, u"3");
    EXPECT_FLOAT_EQ(p->m_labelPos[0], 13.0f) << "the first slot of a new page";
    EXPECT_FLOAT_EQ(p->m_labelPos[1], 11.0f);
    EXPECT_EQ(p->m_parents.GetSize(), 0);
    EXPECT_EQ(p->GetDescription(), u"自定义参数：a");
    p->m_param1 = 4.25f;
    p->Recompute();
    EXPECT_EQ(p->m_text, u"4.25");
    EXPECT_TRUE(p->m_valid);
    // A value that is no number (only a damaged file holds one) is undefined, not "nan".
    p->m_param1 = std::nanf("");
    p->Recompute();
    EXPECT_FALSE(p->m_valid);
    EXPECT_EQ(p->m_text, u"? ");
    p->m_param1 = 1.0f;
    p->Recompute();
    EXPECT_TRUE(p->m_valid);
}

TEST_F(TextItemsTest, SliderRangeRepairAndFraction) {
    CGTmVarParameter p;
    p.m_kind = 1;
    p.m_param1 = 5.0f;
    EXPECT_EQ(p.SliderFraction(), 0.0f) << "no range yet";
    p.RepairRange();
    EXPECT_EQ(p.m_param2, 0.0f);
    EXPECT_EQ(p.m_param3, 10.0f);
    EXPECT_FLOAT_EQ(p.SliderFraction(), 0.5f) << "5 stands in the middle of 0 to 10";
    EXPECT_EQ(p.m_minimum, 0.0f) << "the view's names for the range";
    EXPECT_EQ(p.m_maximum, 10.0f);
    p.m_param2 = 2.0f;
    p.m_param3 = 2.0000005f;
    p.RepairRange();
    EXPECT_EQ(p.m_param3, 10.0f) << "a range of no width";
    p.m_param1 = 20.0f;
    EXPECT_EQ(p.SliderFraction(), 1.0f);
}

TEST_F(TextItemsTest, SliderDragsInPlainAndIntegerMode) {
    CGTmVarParameter p;
    p.m_kind = 1;
    p.m_param2 = 0.0f;
    p.m_param3 = 10.0f;
    p.m_param1 = 5.0f;
    g_mouseDX = 10;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 6.0f) << "10 pixels of a range of 10 add 1";
    EXPECT_EQ(p.m_text, u"6");
    g_mouseDX = 100;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 10.0f) << "stops at the end";
    EXPECT_FLOAT_EQ(p.m_extA3, 10.0f) << "the accumulator follows";
    g_mouseDX = -200;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 0.0f);
    EXPECT_FLOAT_EQ(p.m_accumulator, 0.0f);

    // Integer mode: drags of 3 pixels (0.3 each) change the value when the accumulator crosses
    // a half step.
    p.m_extA1 = 1;
    g_mouseDX = 3;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 0.0f);
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 1.0f) << "0.6 rounds to 1";
    EXPECT_NEAR(p.m_extA3, 0.6f, 1e-6f);
    g_mouseDX = -9; // 0.6 - 0.9 = -0.3 rounds to 0: within the range, the accumulator keeps -0.3
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 0.0f);
    EXPECT_EQ(p.m_text, u"0") << "no minus sign on a zero";
    EXPECT_NEAR(p.m_extA3, -0.3f, 1e-6f);
    g_mouseDX = -3; // -0.6 rounds to -1: below the range, value and accumulator clamped
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 0.0f);
    EXPECT_FLOAT_EQ(p.m_extA3, 0.0f);
    // Back from the end moves at once.
    p.m_extA1 = 0;
    g_mouseDX = 1000;
    p.DragSlider();
    g_mouseDX = -10;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 9.0f);

    // Without a slider nothing moves.
    p.m_kind = 0;
    g_mouseDX = 10;
    p.DragSlider();
    EXPECT_FLOAT_EQ(p.m_param1, 9.0f);
}

} // namespace
