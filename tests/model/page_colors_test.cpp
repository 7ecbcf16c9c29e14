// Page colours: the defaults of every class, colouring the selection explicitly and
// automatically (faces from the shared automatic sequence), label colours and fonts, and the
// re-rendering of text pictures.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/free_points.h"
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
    CGVertex* point = AddPoint(0, 0, 0);
    auto* free = AddCell(new CGVerFreeXyz(0, 9, u"F", 0, 0, 0));
    CGLine* line = AddLine(point->m_id, free->m_id);
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 2;
    auto* circle = AddCell(new CGArcCenterP); // constructed circles are circles too
    auto* button = AddCell(new CGButton);
    auto* value = AddCell(new CGTmVariable);
    auto* text = AddCell(new CGTextmap);
    auto* formula = AddCell(new CGTbMtfText);
    auto* sphere = AddCell(new CSphereStandIn);
    auto* modifier = AddCell(new CColorModifierStandIn);
    for (WORD id : m_page->m_cells.Keys()) {
        CGCell* cell = m_page->m_cells.Find(id);
        cell->m_color = kOdd;
        cell->m_labelColor = kOdd;
        cell->m_size = 9.0f;
    }
    g_pointSize = 7.0f;
    m_page->ApplyDefaultColors();

    EXPECT_EQ(m_page->m_background[0], 0.5f);
    EXPECT_EQ(m_page->m_background[3], 0.25f);
    EXPECT_EQ(point->m_color, (CRgba{128, 0, 0, 44})); // R, G, B change, alpha stays
    EXPECT_EQ(point->m_size, 7.0f);
    EXPECT_EQ(point->m_labelColor, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(free->m_color, (CRgba{255, 0, 0, 44}));
    EXPECT_EQ(line->m_color, (CRgba{0, 0, 128, 44}));
    EXPECT_EQ(line->m_size, 2.0f);
    EXPECT_EQ(disc->m_color, kOdd); // a filled circle keeps its fill
    EXPECT_EQ(disc->m_labelColor, (CRgba{0, 128, 0, 44}));
    EXPECT_EQ(disc->m_size, 2.0f);
    EXPECT_EQ(circle->m_color, (CRgba{0, 128, 0, 44}));
    EXPECT_EQ(circle->m_labelColor, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(button->m_color, (CRgba{51, 102, 255, 44}));
    EXPECT_EQ(button->m_labelColor, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(button->m_size, 9.0f);
    EXPECT_EQ(value->m_color, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(text->m_color, (CRgba{0, 0, 152, 44}));
    EXPECT_EQ(formula->m_color, (CRgba{0, 0, 152, 44}));
    EXPECT_EQ(formula->m_background, RGB(127, 255, 255));
    EXPECT_TRUE(formula->m_flag2);
    EXPECT_EQ(sphere->m_color, (CRgba{0, 128, 0, 44}));
    EXPECT_EQ(modifier->m_color, kOdd);
    EXPECT_EQ(modifier->m_labelColor, (CRgba{0, 0, 0, 44}));
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
    CGLine* line = AddLine(point->m_id, free->m_id);
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 3;
    auto* ink = AddCell(new CInkmarksStandIn);
    auto* formula = AddCell(new CGTbMtfText);
    auto* value = AddCell(new CGTmVariable);
    auto* button = AddCell(new CGButton);
    auto* solid = AddCell(new CGCell);
    auto* other = AddCell(new CGCell);
    auto* modifier = AddCell(new CColorModifierStandIn);
    for (CGCell* c : std::initializer_list<CGCell*>{point, free, line, disc, ink, formula, value, button,
                                                    solid, other, modifier}) {
        c->m_color = kOdd;
        c->m_labelColor = kOdd;
    }
    Select(point, m_page->m_selPoints);
    Select(free, m_page->m_selPoints);
    Select(line, m_page->m_selLines);
    Select(disc, m_page->m_selCurves);
    Select(ink, m_page->m_selCurves);
    Select(formula, m_page->m_selTexts);
    Select(value, m_page->m_selValues);
    Select(button, m_page->m_selButtons);
    Select(solid, m_page->m_selSolids);
    Select(other, m_page->m_selOthers);
    Select(modifier, m_page->m_selOthers);
    g_backgroundColor[1] = 0.0f;
    m_page->m_background[1] = 0.0f;
    EXPECT_TRUE(m_page->ColorSelection(CGPage::kAutoColor));

    EXPECT_EQ(point->m_color, (CRgba{128, 0, 0, 255}));
    EXPECT_EQ(point->m_labelColor, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(free->m_color, (CRgba{255, 0, 0, 255}));
    EXPECT_EQ(line->m_color, (CRgba{0, 0, 128, 255}));
    EXPECT_EQ(disc->m_color, kOdd);
    EXPECT_EQ(disc->m_labelColor, (CRgba{0, 128, 0, 44}));
    EXPECT_EQ(ink->m_color, (CRgba{9, 8, 7, 255}));
    EXPECT_EQ(formula->m_color, (CRgba{0, 0, 152, 255}));
    EXPECT_EQ(formula->m_background, RGB(255, 0, 255));
    EXPECT_EQ(value->m_color, (CRgba{0, 0, 0, 255}));
    EXPECT_EQ(button->m_color, (CRgba{51, 102, 255, 255}));
    EXPECT_EQ(button->m_labelColor, (CRgba{0, 0, 0, 44}));
    EXPECT_EQ(solid->m_color, (CRgba{0, 128, 0, 255}));
    EXPECT_EQ(other->m_color, (CRgba{0, 0, 128, 255}));
    EXPECT_EQ(modifier->m_color, kOdd);
}

TEST_F(PageColorsTest, ExplicitColourKeepsAlphaAndSkipsModifiers) {
    CGVertex* point = AddPoint(0, 0, 0);
    auto* disc = AddCell(new CGArc);
    disc->m_kind = 2;
    auto* formula = AddCell(new CGTbMtfText);
    auto* modifier = AddCell(new CColorModifierStandIn);
    point->m_color.a = 90;
    formula->m_flag2 = false;
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
    EXPECT_TRUE(formula->m_flag2);
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
