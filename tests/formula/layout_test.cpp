// Layout geometry with fixed character metrics (a character is half the font height wide), and
// what the nodes draw.
#include "formula_test_util.h"

namespace {

// A document laid out at the default height 35 with the fixed metrics.
struct Laid {
    CTestEditor ed;
    explicit Laid(const CString& markup) : ed(markup) {}
    CNode* Row0Child(int i) { return ChildOf(RowOf(ed.Root(), 0), i); }
    CStandardNode* Structure(int i) { return DYNAMIC_DOWNCAST(CStandardNode, Row0Child(i)); }
};

TEST(Layout, EmptyRowIsAPlaceholder) {
    Laid f(HX_EMPTY_FORMULA);
    CRowNode* row = RowOf(f.ed.Root(), 0);
    EXPECT_EQ(row->m_box, CRect(0, 0, 21, 35)) << "trunc(0.6 x 35) by 35";
    EXPECT_EQ(row->m_content, CRect(1, 2, 20, 33));
    EXPECT_EQ(row->m_baseline, 17);
    EXPECT_EQ(f.ed.Root()->m_box, CRect(0, 0, 21, 35));

    CFixedMetricsDC dc;
    f.ed.Root()->Draw(&dc);
    auto focus = dc.OpsOf(CFixedMetricsDC::OpFocusRect);
    ASSERT_EQ(focus.size(), 1u);
    EXPECT_EQ(focus[0].rect, CRect(0, 0, 21, 35));

    // The caret of an empty row runs along the left of its content rectangle.
    EXPECT_EQ(f.ed.m_mode, 1);
    EXPECT_EQ(f.ed.m_caretTop, CPoint(1, 2));
    EXPECT_EQ(f.ed.m_caretBottom, CPoint(1, 33));
}

TEST(Layout, RowAlignsChildrenOnTheLargestBaseline) {
    Laid f(u"<#><l><e>ab</e><e:size=20>c</e></l></#>");
    CNode* a = f.Row0Child(0);
    CNode* c = f.Row0Child(1);
    EXPECT_EQ(a->m_box, CRect(0, 0, 34, 35));
    EXPECT_EQ(c->m_box, CRect(34, 7, 44, 27)) << "baseline 17 against 10";
    EXPECT_EQ(RowOf(f.ed.Root(), 0)->m_box, CRect(0, 0, 44, 35));
    EXPECT_EQ(RowOf(f.ed.Root(), 0)->m_baseline, 17);
}

TEST(Layout, BoxStacksRowsWithAGapOfAThirdOfTheHeight) {
    Laid f(u"<#><l><e>abc</e></l><l><e>d</e></l></#>");
    EXPECT_EQ(RowOf(f.ed.Root(), 0)->m_rect, CRect(0, 0, 51, 35));
    EXPECT_EQ(RowOf(f.ed.Root(), 1)->m_rect, CRect(0, 46, 17, 81));
    EXPECT_EQ(f.ed.Root()->m_box, CRect(0, 0, 51, 81));
    EXPECT_EQ(f.ed.Root()->m_baseline, 40);
}

TEST(Layout, FractionOfTwoEmptySlots) {
    Laid f(u"<#><l><f><#><l></l></#><#><l></l></#></f></l></#>");
    CStandardNode* fr = f.Structure(0);
    ASSERT_TRUE(fr);
    EXPECT_EQ(fr->m_box, CRect(0, 0, 28, 78));
    EXPECT_EQ(fr->m_baseline, 38);
    EXPECT_EQ(fr->m_content, CRect(0, 36, 26, 41)) << "the bar band";
    EXPECT_EQ(fr->m_pFirst->m_rect, CRect(2, 0, 23, 35));
    EXPECT_EQ(fr->m_pSecond->m_rect, CRect(2, 42, 23, 77));

    CFixedMetricsDC dc;
    fr->Draw(&dc);
    auto lines = dc.OpsOf(CFixedMetricsDC::OpLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, CPoint(0, 38));
    EXPECT_EQ(lines[0].to, CPoint(26, 38));
}

TEST(Layout, SlotsOfStructuresAfterOthersArePlacedWithTheirStructure) {
    // Two fractions side by side: the second one's slots sit under the second fraction.
    Laid f(u"<#><l><e>x</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f>"
           u"<f><#><l><e>3</e></l></#><#><l><e>4</e></l></#></f></l></#>");
    CStandardNode* a = f.Structure(1);
    CStandardNode* b = f.Structure(2);
    EXPECT_EQ(a->m_rect.left, 17);
    EXPECT_EQ(b->m_rect.left, a->m_rect.right);
    for (CStandardNode* s : {a, b}) {
        EXPECT_GE(s->m_pFirst->m_rect.left, s->m_rect.left);
        EXPECT_LE(s->m_pFirst->m_rect.right, s->m_rect.right);
        EXPECT_GE(s->m_pSecond->m_rect.top, s->m_rect.top);
        EXPECT_LE(s->m_pSecond->m_rect.bottom, s->m_rect.bottom);
    }
    // Each numerator is centred over its own bar: 17 wide in a band of 22.
    EXPECT_EQ(b->m_pFirst->m_rect.left, b->m_rect.left + 2);
    // A click on the second fraction's denominator lands in it.
    CRect den = b->m_pSecond->m_rect;
    f.ed.Click(den.left + 12, den.top + 5);
    EXPECT_EQ(RowOf(f.ed.Root(), 0)->m_pActiveChild, b);
    EXPECT_EQ(b->m_pActiveChild, b->m_pSecond);
    f.ed.Type(u"5");
    EXPECT_EQ(f.ed.Text(), CString(u"x1/23/45"));
}

TEST(Layout, SquareRootOfAnEmptySlot) {
    Laid f(u"<#><l><r><#><l></l></#></r></l></#>");
    CStandardNode* r = f.Structure(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->m_box, CRect(0, 0, 44, 39));
    EXPECT_EQ(r->m_baseline, 21);
    EXPECT_EQ(r->m_content, CRect(0, 2, 40, 39));
    EXPECT_EQ(r->m_pFirst->m_rect, CRect(21, 4, 42, 39));

    CFixedMetricsDC dc;
    r->Draw(&dc);
    auto glyphs = dc.OpsOf(CFixedMetricsDC::OpDrawText);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].text, CString(SYM_RADICAL)) << "documents keep the Symbol code";
    EXPECT_EQ(HxGetFaceName(glyphs[0].font), CString(u"Symbol"));
    EXPECT_EQ(glyphs[0].font.lfHeight, int(37 * 1.18 + 1.0));
    EXPECT_EQ(glyphs[0].font.lfWidth, int(19 * 1.16 + 1.0));
    auto lines = dc.OpsOf(CFixedMetricsDC::OpLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].from, CPoint(44, 2));
    EXPECT_EQ(lines[0].to, CPoint(19, 2));
}

TEST(Layout, NthRootWithAnIndex) {
    Laid f(u"<#><l><n><#><l><e>x</e></l></#><#><l><e>3</e></l></#></n></l></#>");
    CStandardNode* n = f.Structure(0);
    // Index at 0.58 of 35 = 20: one character 10 wide, 20 high.  H = 37, g = 19, t = 23, k = 16.
    EXPECT_EQ(n->m_pSecond->m_font.lfHeight, 20);
    // The index (20 high) is taller than H - t = 14, so the sign moves down: top = 20 + 23 - 37 + 2.
    EXPECT_EQ(n->m_pSecond->m_rect, CRect(6, 2, 16, 22));
    EXPECT_EQ(n->m_content, CRect(0, 8, 36, 45));
    EXPECT_EQ(n->m_box, CRect(0, 0, 40, 45));
    EXPECT_EQ(n->m_baseline, 17 + 2 + 8);
}

TEST(Layout, SuperscriptAndSubscript) {
    Laid sup(u"<#><l><^><#><l></l></#><#><l></l></#></^></l></#>");
    CStandardNode* s = sup.Structure(0);
    EXPECT_EQ(s->m_box, CRect(0, 0, 34, 40));
    EXPECT_EQ(s->m_baseline, 22) << "a base much taller than the script: raised by a quarter of it";
    EXPECT_EQ(s->m_pSecond->m_rect, CRect(21, 0, 34, 22));
    EXPECT_EQ(s->m_pFirst->m_rect, CRect(0, 5, 21, 40));

    Laid sub(u"<#><l><_><#><l></l></#><#><l></l></#></_></l></#>");
    CStandardNode* b = sub.Structure(0);
    // d = 35 / 2 = 17 because 35 <= 2 x 22.
    EXPECT_EQ(b->m_pSecond->m_rect, CRect(21, 17, 34, 39));
    EXPECT_EQ(b->m_box, CRect(0, 0, 34, 39));
    EXPECT_EQ(b->m_baseline, 17);
}

TEST(Layout, BaseWithBothScripts) {
    Laid f(u"<#><l><d><#><l><e>C</e></l></#><c><#><l><e>n</e></l></#><#><l><e>m</e></l></#></c></d></l></#>");
    CStandardNode* d = f.Structure(0);
    auto c = DYNAMIC_DOWNCAST(CSupbNode, d->m_pSecond);
    ASSERT_TRUE(c);
    // The pair's slots are at 0.65 of its height, which the base pair passes on unscaled.
    EXPECT_EQ(c->m_pFirst->m_font.lfHeight, 22);
    // hb = 35, script 22 high: v = 22 - 17 = 5, e = 5 + 17 = 22.
    EXPECT_EQ(c->m_baseline, 17 + 5);
    EXPECT_EQ(c->m_pSecond->m_rect.top - c->m_rect.top, 0);
    EXPECT_EQ(c->m_pFirst->m_rect.top - c->m_rect.top, 22);
    EXPECT_EQ(c->m_box.Size(), CSize(11, 44));
    EXPECT_EQ(c->m_rect.left, d->m_pFirst->m_rect.right + 2) << "after the base and its empty text";
}

TEST(Layout, SumAndIntegral) {
    Laid f(u"<#><l><s><#><l><e>k</e></l></#><#><l><e>n</e></l></#>\uF0E5</s></l></#>");
    CStandardNode* s = f.Structure(0);
    // The sign is measured in the Symbol template at 1.25 x 35 = 43: 21 x 43; limits at 20 high.
    // The sign starts at trunc(20 - 43 x 0.16) = 13, the lower limit trunc(43 x 0.95) = 40 below it.
    EXPECT_EQ(s->m_pSecond->m_rect, CRect(5, 0, 15, 20));
    EXPECT_EQ(s->m_content, CRect(0, 13, 21, 56));
    EXPECT_EQ(s->m_pFirst->m_rect, CRect(5, 53, 15, 73));
    EXPECT_EQ(s->m_box, CRect(0, 0, 21, 73));
    EXPECT_EQ(s->m_baseline, 13 + 21);

    Laid g(u"<#><l><i><#><l><e>0</e></l></#><#><l><e>1</e></l></#>\uF0F2</i></l></#>");
    CStandardNode* in = g.Structure(0);
    // hg = 43 > 1.5 x 20: d = 5; e = axis since 43 <= 40 is false: d + 43 - 20 = 28.
    EXPECT_EQ(in->m_content, CRect(0, 5, 21, 48));
    EXPECT_EQ(in->m_pSecond->m_rect, CRect(25, 0, 35, 20));
    EXPECT_EQ(in->m_pFirst->m_rect, CRect(25, 28, 35, 48));
    EXPECT_EQ(in->m_box, CRect(0, 0, 37, 48));

    CFixedMetricsDC dc;
    in->Draw(&dc);
    auto texts = dc.OpsOf(CFixedMetricsDC::OpText);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, CString(SYM_INTEGRAL));
    EXPECT_EQ(texts[0].font.lfHeight, 43);
}

TEST(Layout, LimitUsesTheWordInTheNodesFont) {
    Laid f(u"<#><l><t><#><l><e>x</e></l></#><#><l><e> </e></l></#>lim</t></l></#>");
    CStandardNode* t = f.Structure(0);
    EXPECT_EQ(t->m_content.Width(), 51);
    EXPECT_EQ(t->m_box.Width(), 51);
}

TEST(Layout, FencesOneSidedAndTall) {
    Laid f(u"<#><l><b><#><l><e>x</e></l></#>\uF028\uF029</b></l></#>");
    CStandardNode* b = f.Structure(0);
    // f = trunc(35 x 0.3 + 35 x 0.06 + 2) = 14.
    EXPECT_EQ(b->m_content, CRect(0, 0, 14, 39));
    EXPECT_EQ(b->m_pFirst->m_rect.left, 14);
    EXPECT_EQ(b->m_box, CRect(0, 0, 45, 39));
    EXPECT_EQ(b->m_baseline, 19);
    CFixedMetricsDC dc;
    b->Draw(&dc);
    auto fences = dc.OpsOf(CFixedMetricsDC::OpDrawText);
    ASSERT_EQ(fences.size(), 2u);
    EXPECT_EQ(fences[0].rect, CRect(0, 0, 14, 39));
    EXPECT_EQ(fences[1].rect, CRect(31, 0, 45, 39));
    EXPECT_EQ(fences[0].font.lfHeight, int(39 * 1.34));

    // A left brace alone around content of two rows of 35 (81 high): narrower and set lower.
    Laid t(u"<#><l><b><#><l><e>a</e></l><l><e>b</e></l></#>\uF07B </b></l></#>");
    CStandardNode* tb = t.Structure(0);
    int fence = int(35 * 0.3 + 81 * 0.06 + 2.0) * 4 / 5;
    EXPECT_EQ(tb->m_content, CRect(0, 15, fence, 81 - 15 + 4));
    EXPECT_EQ(tb->m_box.Width(), fence + 17);
    CFixedMetricsDC dc2;
    tb->Draw(&dc2);
    EXPECT_EQ(dc2.OpsOf(CFixedMetricsDC::OpDrawText).size(), 1u) << "a space means no fence on that side";
}

TEST(Layout, VectorMarks) {
    Laid f(u"<#><l><v><#><l><e>AB</e></l></#></v><v:type=1><#><l><e>AB</e></l></#></v>"
           u"<v:type=2><#><l><e>AB</e></l></#></v></l></#>");
    CStandardNode* arrow = f.Structure(0);
    EXPECT_EQ(arrow->m_content, CRect(1, 0, 32, 11));
    EXPECT_EQ(arrow->m_box, CRect(0, 0, 34, 46));
    EXPECT_EQ(arrow->m_baseline, 17 + 11);
    CStandardNode* arc = f.Structure(2);
    EXPECT_EQ(arc->m_content, CRect(0, 0, 34, 6));
    CFixedMetricsDC dc;
    arrow->Draw(&dc);
    auto polys = dc.OpsOf(CFixedMetricsDC::OpPolygon);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].points.size(), 5u);
    EXPECT_EQ(polys[0].pen.m_style, PS_NULL) << "arrow heads are filled without an outline";
    dc.ClearOps();
    arc->Draw(&dc);
    ASSERT_EQ(dc.OpsOf(CFixedMetricsDC::OpDrawText).size(), 1u);
    EXPECT_EQ(HxGetFaceName(dc.OpsOf(CFixedMetricsDC::OpDrawText)[0].font), CString(u"宋体"));
    EXPECT_EQ(HxGetFaceName(HxSymbolFontTemplate()), CString(u"Symbol")) << "the template is put back";
}

TEST(Layout, ArrowsWithTextAboveAndBelow) {
    Laid f(u"<#><l><a:type=2><#><l><e>ab</e></l></#><#><l><e>c</e></l></#></a></l></#>");
    auto a = DYNAMIC_DOWNCAST(CArrowsNode, f.Row0Child(0));
    ASSERT_TRUE(a);
    // Texts at 0.75 x 35 = 26 (13 per character); band height (70 + 3) / 5 = 14.
    EXPECT_EQ(a->m_pFirst->m_font.lfHeight, 26);
    EXPECT_EQ(a->m_content, CRect(0, 27, 61, 41));
    EXPECT_EQ(a->m_box, CRect(0, 0, 61, 69));
    for (int style = 0; style < 14; ++style) {
        a->m_type = style;
        CFixedMetricsDC dc;
        a->Draw(&dc);
        EXPECT_FALSE(dc.OpsOf(CFixedMetricsDC::OpLine).empty()) << style;
    }
    a->CycleStyle(-1);
    EXPECT_EQ(a->m_type, 12);
    a->m_type = 13;
    a->CycleStyle(1);
    EXPECT_EQ(a->m_type, 0);
}

TEST(Layout, MatrixCellsInRowsAndColumns) {
    Laid f(u"<#><l><m:type=2><#><l></l></#><#><l></l></#><#><l></l></#><#><l></l></#></m></l></#>");
    CNode* m = f.Row0Child(0);
    EXPECT_EQ(m->m_box, CRect(0, 0, 59, 81));
    EXPECT_EQ(m->m_baseline, 40);
    EXPECT_EQ(ChildOf(m, 3)->m_rect, CRect(38, 46, 59, 81));

    Laid zero(u"<#><l><m><#><l></l></#><#><l></l></#></m></l></#>");
    EXPECT_EQ(zero.Row0Child(0)->m_box, CRect(0, 0, 59, 35)) << "type 0 counts as two columns";

    // Markup may give no cells, or a last row that is short.
    Laid none(u"<#><l><m:type=3></m></l></#>");
    EXPECT_EQ(none.Row0Child(0)->m_box, CRect(0, 0, 0, 0));
    Laid ragged(u"<#><l><m:type=2><#><l></l></#><#><l></l></#><#><l></l></#></m></l></#>");
    EXPECT_EQ(ragged.Row0Child(0)->m_box, CRect(0, 0, 59, 81));
    Laid wide(u"<#><l><m:type=1000000><#><l></l></#></m></l></#>");
    EXPECT_EQ(wide.Row0Child(0)->m_box, CRect(0, 0, 21, 35));
}

TEST(Layout, RunsWithTheirOwnFontsAndColoursSelectThem) {
    Laid f(u"<#><l><e>a</e><e:size=20,color=ff>b</e><e>c</e></l></#>");
    CFixedMetricsDC dc;
    LOGFONT base = f.ed.m_doc.m_defaultFont;
    dc.SelectFont(base);
    f.ed.Root()->Draw(&dc);
    auto texts = dc.OpsOf(CFixedMetricsDC::OpText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].font.lfHeight, 35);
    EXPECT_EQ(texts[0].color, 0u);
    EXPECT_EQ(texts[1].font.lfHeight, 20);
    EXPECT_EQ(texts[1].color, RGB(255, 0, 0));
    EXPECT_EQ(texts[1].pen.m_width, 20 / 32 + 1);
    EXPECT_EQ(texts[2].font.lfHeight, 35) << "the DC is restored after a run with its own font";
    EXPECT_EQ(texts[2].color, 0u);
    EXPECT_EQ(dc.GetCurrentFont(), base);
}

} // namespace
