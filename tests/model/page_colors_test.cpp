// Page colours: the defaults of every class, colouring the selection explicitly and
// automatically (faces from the shared automatic sequence), label colours and fonts, and the
// re-rendering of text pictures.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/free_points.h"
#include "solids/revolution_constructed.h"
#include "support/class_stand_ins.h"
#include "support/page_fixture.h"

namespace {

class PageColorsTest : public PageFixture {
protected:
    template <class T> T* AddCell(T* cell) {
        cell->m_id = NextId();
        return Insert(cell);
    }
    void Select(CGCell* cell, CList<WORD, WORD>& list) {
        cell->m_selected = true;
        list.AddTail(cell->m_id);
        m_page->m_selAll.AddTail(cell->m_id);
    }
};

constexpr CRgba kOdd{11, 22, 33, 44};

} // namespace

TEST_F(PageColorsTest, DefaultColoursByClass) {
    g_backgroundColor[0] = 0.5f;
    g_backgroundColor[3] = 0.25f;
    g_pointSize = 7.0f;
    CGVertex* point = AddPoint(0, 0, 0);
    auto* free = AddCell(new CGVerFreeXyz(0, 9, u"F", 0, 0, 0));
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 2;
    auto* formula = AddCell(new CGTbMtfText);
    // R, G, B change and alpha stays; a filled circle keeps its fill, a modifier its colour; size 0
    // is not asked (texts and values keep theirs).
    const struct {
        CGCell* cell;
        CRgba color, label;
        float size;
    } rows[] = {
        {point, {128, 0, 0, 44}, {0, 0, 0, 44}, 7.0f},
        {free, {255, 0, 0, 44}, {0, 0, 0, 44}, 7.0f},
        {AddLine(point->m_id, free->m_id), {0, 0, 128, 44}, {0, 0, 0, 44}, 2.0f},
        {disc, kOdd, {0, 128, 0, 44}, 2.0f},
        {AddCell(new CGArcCenterP), {0, 128, 0, 44}, {0, 0, 0, 44}, 0}, // constructed circles too
        {AddCell(new CGButton), {51, 102, 255, 44}, {0, 0, 0, 44}, 9.0f},
        {AddCell(new CGTmVariable), {0, 0, 0, 44}, {0, 0, 0, 44}, 0},
        {AddCell(new CGTextmap), {0, 0, 152, 44}, {0, 0, 0, 44}, 0},
        {formula, {0, 0, 152, 44}, {0, 0, 0, 44}, 0},
        {AddCell(new CGSphere), {0, 128, 0, 44}, {0, 0, 0, 44}, 0},
        {AddCell(new CGFrustumCP2), {0, 128, 0, 44}, {0, 0, 0, 44}, 0},
        {AddCell(new CColorModifierStandIn), kOdd, {0, 0, 0, 44}, 0},
    };
    for (const auto& r : rows) {
        r.cell->m_color = kOdd;
        r.cell->m_labelColor = kOdd;
        r.cell->m_size = 9.0f;
    }
    m_page->ApplyDefaultColors();
    EXPECT_EQ(m_page->m_background[0], 0.5f);
    EXPECT_EQ(m_page->m_background[3], 0.25f);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cell->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(r.cell->m_color, r.color);
        EXPECT_EQ(r.cell->m_labelColor, r.label);
        if (r.size > 0) {
            EXPECT_EQ(r.cell->m_size, r.size);
        }
    }
    EXPECT_EQ(formula->m_background, RGB(127, 255, 255));
    EXPECT_TRUE(formula->m_flag2);
}

TEST_F(PageColorsTest, AutomaticFaceColoursOnAWhiteBackgroundContinueAcrossCalls) {
    CGCell* faces[3];
    for (CGCell*& face : faces) {
        face = AddCell(new CGCell);
        face->m_color.a = 90;
        Select(face, m_page->m_selFaces);
    }
    EXPECT_TRUE(m_page->ColorSelection(CGPage::kAutoColor));
    EXPECT_EQ(faces[0]->m_color, (CRgba{255, 179, 179, 255}));
    EXPECT_EQ(faces[1]->m_color, (CRgba{179, 255, 179, 255}));
    EXPECT_EQ(faces[2]->m_color, (CRgba{179, 179, 255, 255}));
    m_page->m_selFaces.RemoveTail();
    m_page->m_selFaces.RemoveTail();
    m_page->ColorSelection(CGPage::kAutoColor);
    EXPECT_EQ(faces[0]->m_color, (CRgba{255, 255, 179, 255})); // hue 60
}

TEST_F(PageColorsTest, AutomaticFaceColourOnADarkBackground) {
    g_backgroundColor[0] = g_backgroundColor[1] = g_backgroundColor[2] = 0.0f;
    CGCell* face = AddCell(new CGCell);
    Select(face, m_page->m_selFaces);
    m_page->ColorSelection(CGPage::kAutoColor);
    EXPECT_EQ(face->m_color, (CRgba{77, 0, 0, 255}));
}

TEST_F(PageColorsTest, AutomaticColoursOfEveryList) {
    g_currentColor = CRgba{9, 8, 7, 255};
    CGVertex* point = AddPoint(0, 0, 0);
    auto* free = AddCell(new CGVerFreeXyz(0, 9, u"F", 0, 0, 0));
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 3;
    auto* formula = AddCell(new CGTbMtfText);
    auto* button = AddCell(new CGButton);
    auto& p = *m_page;
    // Each cell in its list, with the colour it gets (a filled circle keeps its fill, a modifier
    // its colour) and its label colour (points, buttons and filled circles change it, alpha kept).
    const struct {
        CGCell* cell;
        CList<WORD, WORD>& list;
        CRgba color, label;
    } rows[] = {
        {point, p.m_selPoints, {128, 0, 0, 255}, {0, 0, 0, 44}},
        {free, p.m_selPoints, {255, 0, 0, 255}, {0, 0, 0, 44}},
        {AddLine(point->m_id, free->m_id), p.m_selLines, {0, 0, 128, 255}, kOdd},
        {disc, p.m_selCurves, kOdd, {0, 128, 0, 44}},
        {AddCell(new CInkmarksStandIn), p.m_selCurves, {9, 8, 7, 255}, kOdd},
        {formula, p.m_selTexts, {0, 0, 152, 255}, kOdd},
        {AddCell(new CGTmVariable), p.m_selValues, {0, 0, 0, 255}, kOdd},
        {button, p.m_selButtons, {51, 102, 255, 255}, {0, 0, 0, 44}},
        {AddCell(new CGCell), p.m_selSolids, {0, 128, 0, 255}, kOdd},
        {AddCell(new CGCell), p.m_selOthers, {0, 0, 128, 255}, kOdd},
        {AddCell(new CColorModifierStandIn), p.m_selOthers, kOdd, kOdd},
    };
    for (const auto& r : rows) {
        r.cell->m_color = kOdd;
        r.cell->m_labelColor = kOdd;
        Select(r.cell, r.list);
    }
    g_backgroundColor[1] = 0.0f;
    m_page->m_background[1] = 0.0f;
    EXPECT_TRUE(m_page->ColorSelection(CGPage::kAutoColor));
    for (const auto& r : rows) {
        EXPECT_EQ(r.cell->m_color, r.color) << r.cell->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(r.cell->m_labelColor, r.label) << r.cell->GetRuntimeClass()->m_lpszClassName;
    }
    EXPECT_EQ(formula->m_background, RGB(255, 0, 255));
}

TEST_F(PageColorsTest, ExplicitColourKeepsAlphaAndSkipsModifiers) {
    CGVertex* point = AddPoint(0, 0, 0);
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 2;
    auto* formula = AddCell(new CGTbMtfText);
    auto* modifier = AddCell(new CColorModifierStandIn);
    point->m_color.a = 90;
    formula->m_markup = u"<#><l><e>x</e></l></#>";
    formula->m_background = RGB(255, 255, 255);
    formula->m_color.a = 255; // an opaque background: every pixel shows a colour
    Select(point, m_page->m_selPoints);
    Select(disc, m_page->m_selCurves);
    Select(formula, m_page->m_selTexts);
    Select(modifier, m_page->m_selOthers);
    modifier->m_color = kOdd;
    EXPECT_TRUE(m_page->ColorSelection(RGB(10, 20, 30)));
    EXPECT_EQ(point->m_color, (CRgba{10, 20, 30, 90}));
    EXPECT_EQ(point->m_labelColor, g_colorLabel);
    EXPECT_EQ(disc->m_color, (CRgba{10, 20, 30, 255}));
    EXPECT_EQ(formula->m_color, (CRgba{10, 20, 30, 255}));
    // The picture was rendered again in the new colour.
    bool inNewColour = false;
    for (size_t i = 0; i + 3 < formula->m_bits.size(); i += 4)
        inNewColour |=
            formula->m_bits[i] == 10 && formula->m_bits[i + 1] == 20 && formula->m_bits[i + 2] == 30;
    EXPECT_TRUE(inNewColour);
    EXPECT_EQ(modifier->m_color, kOdd);

    // Only a modifier selected: nothing to colour.
    m_page->m_selPoints.RemoveAll();
    m_page->m_selCurves.RemoveAll();
    m_page->m_selTexts.RemoveAll();
    EXPECT_FALSE(m_page->ColorSelection(RGB(1, 1, 1)));
    EXPECT_FALSE(m_page->ColorSelection(CGPage::kAutoColor));
}

TEST_F(PageColorsTest, LabelColourAndFontOfTheSelection) {
    CGVertex* point = AddPoint(0, 0, 0);
    CGLine* line = AddLine(point->m_id, AddPoint(1, 1, 1)->m_id);
    auto* text = AddCell(new CGTextmap);
    point->m_labelColor.a = 12;
    Select(point, m_page->m_selPoints);
    Select(line, m_page->m_selLines);
    Select(text, m_page->m_selTexts);
    m_page->SetLabelStyleOfSelection(RGB(200, 100, 50));
    EXPECT_EQ(point->m_labelColor, (CRgba{200, 100, 50, 12}));
    EXPECT_EQ(line->m_labelColor, (CRgba{200, 100, 50, 255}));
    EXPECT_EQ(text->m_labelColor, (CRgba{200, 100, 50, 255}));

    m_page->SetFlagOnSelection(0);
    EXPECT_EQ(point->m_extB1, 1);
    EXPECT_EQ(line->m_extB1, 1);
    EXPECT_EQ(text->m_extB1, 0); // texts keep their own font
    m_page->SetFlagOnSelection(1);
    EXPECT_EQ(point->m_extB1, 0);
}

TEST_F(PageColorsTest, PicturedTextItemsRenderAgain) {
    auto* pictured = AddCell(new CGTmVariable);
    pictured->m_style = 1;
    pictured->m_flag2 = false;
    auto* plain = AddCell(new CGTextmap);
    plain->m_flag2 = false;
    auto* point = AddPoint(0, 0, 0);
    point->m_style = 1;
    point->m_flag2 = false;
    m_page->InvalidateTextImages();
    EXPECT_TRUE(pictured->m_flag2);
    EXPECT_FALSE(plain->m_flag2);
    EXPECT_FALSE(point->m_flag2);
}
