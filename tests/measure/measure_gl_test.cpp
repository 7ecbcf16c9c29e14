// Measurements in the view on the X server: drawn at their anchor in the plain and in the formula
// display, picked and dragged with the mouse; the parameter's slider drawn and dragged; the plane
// axes command with its ticks drawn and picked.
#include "formula/formula_render.h"
#include "measure/measurements.h"
#include "measure/scale_line.h"
#include "view/glyph_lists.h"
#include "view/view_mouse_fixture.h"

#include <QImage>

#include <cmath>

namespace {

class MeasureGlTest : public ViewMouseTest {
protected:
    void SetUp() override {
        ViewMouseTest::SetUp();
        HxSetFormulaMonochromeRenderer([](const CString& markup, CMonochromeFormula& out) {
            int baseline = 0;
            out.bits = RenderFormulaToMonochrome(&out.width, &out.height, markup, &out.color, g_textFontName,
                                                 g_fontHeight, &baseline);
            out.baseline = baseline;
            return !out.bits.empty();
        });
    }
    void TearDown() override {
        HxSetFormulaMonochromeRenderer(nullptr);
        ViewMouseTest::TearDown();
    }
    // Pixels of the frame in the rectangle [x0, x1) x [y0, y1) (window pixels, y down) that are not
    // the white background.
    int Inked(const QImage& frame, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (frame.pixel(x, y) != qRgb(255, 255, 255))
                    ++n;
        return n;
    }
    // The slider's knob (drawn red) covers the window pixel.
    static bool Knob(const QImage& frame, int x, int y) {
        const QRgb c = frame.pixel(x, y);
        return qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100;
    }
    CGTmVarDistancePP* Distance() {
        CGVertex* a = AddPoint(8, -6);
        CGVertex* b = AddPoint(8, -3);
        auto* d = Insert(new CGTmVarDistancePP(m_page->m_nextId++, a->m_id, b->m_id));
        // The anchor at (-4, 2): the window pixel (120, 110).
        d->m_labelPos[0] = -4.0f;
        d->m_labelPos[1] = 2.0f;
        return d;
    }
};

TEST_F(MeasureGlTest, DrawnAtItsAnchorInBothDisplays) {
    CGTmVarDistancePP* d = Distance();
    ASSERT_EQ(d->m_text, u"3");
    Redraw();
    QImage frame = m_view->grabFramebuffer();
    // The plain display: "|AB| = 3" to the right of the anchor and above its baseline.
    const int plain = Inked(frame, 120, 88, 200, 111);
    EXPECT_GT(plain, 40);
    EXPECT_EQ(Inked(frame, 60, 80, 117, 120), 0) << "nothing left of the anchor";
    EXPECT_EQ(Inked(frame, 120, 115, 200, 140), 0) << "nothing below it";
    EXPECT_EQ(d->ListBase(), 0u) << "the plain display needs no lists of its own";

    // The formula display: the rendered name, then " =3", from the item's own lists.
    d->m_style = 1;
    d->Recompute();
    ASSERT_EQ(d->m_text, u" =3");
    Redraw();
    frame = m_view->grabFramebuffer();
    EXPECT_NE(d->ListBase(), 0u);
    EXPECT_FALSE(d->GlyphsPending());
    EXPECT_EQ(d->m_text2.GetLength(), 1 + 3) << "the picture's list, then the text's glyphs";
    EXPECT_EQ(d->m_text2[0], char16_t(d->ListBase()));
    EXPECT_GT(Inked(frame, 120, 80, 220, 112), 40);
    EXPECT_EQ(Inked(frame, 60, 80, 117, 120), 0);

    // Panning moves it along; rotating and zooming do not.
    g_viewZoom = 2.0f;
    SetViewRotation(30.0, 40.0);
    Redraw();
    EXPECT_GT(Inked(m_view->grabFramebuffer(), 120, 80, 220, 112), 40);
    g_viewTransX = 2.0f; // 40 pixels to the right
    Redraw();
    frame = m_view->grabFramebuffer();
    EXPECT_EQ(Inked(frame, 120, 80, 158, 112), 0);
    EXPECT_GT(Inked(frame, 160, 80, 260, 112), 40);

    // Destroyed (as an undone step is) with no context current: its lists wait in the queue until
    // the next frame deletes them.
    m_page->m_cells.RemoveKey(d->m_id);
    const size_t pending = HxPendingGlDeletions();
    m_view->doneCurrent();
    delete d;
    EXPECT_EQ(HxPendingGlDeletions(), pending + 2);
    Redraw();
    m_view->grabFramebuffer();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
}

TEST_F(MeasureGlTest, PickedAndDraggedWithTheMouse) {
    for (BYTE style : {BYTE(0), BYTE(1)}) {
        CGTmVarDistancePP* d = Distance();
        d->m_style = style;
        d->Recompute();
        Redraw();
        // A click on its text selects it as a value.
        Click(QPoint(130, 104));
        ASSERT_EQ(m_page->m_selValues.GetCount(), 1) << int(style);
        EXPECT_EQ(m_page->m_selValues.GetHead(), d->m_id);
        EXPECT_TRUE(m_status.Find(u"选择度量值变量") == 0) << m_status.ToUtf8();
        // Dragged by (40, -20) pixels: 2 units right, 1 up; the next text item goes below it.  (A press
        // on a selected item takes it out of the selection: the drag starts from an unselected one.)
        m_page->ClearSelection();
        Press(QPoint(132, 104));
        Move(QPoint(152, 94));
        Move(QPoint(172, 84));
        Release(QPoint(172, 84));
        EXPECT_NEAR(d->m_labelPos[0], -2.0f, 1e-5f) << int(style);
        EXPECT_NEAR(d->m_labelPos[1], 3.0f, 1e-5f) << int(style);
        EXPECT_NEAR(m_page->m_lastTextX, -2.0f, 1e-5f);
        EXPECT_NEAR(m_page->m_lastTextY, 3.0f, 1e-5f);
        // A click beside it picks nothing.
        m_page->ClearSelection();
        Click(QPoint(100, 60));
        EXPECT_TRUE(m_page->m_selValues.IsEmpty());
        m_page->m_cells.RemoveKey(d->m_id);
        delete d;
    }
}

TEST_F(MeasureGlTest, SliderDrawnAndDragged) {
    auto* p = Insert(new CGTmVarParameter(m_page->m_nextId++, u"a", 5.0f));
    p->m_kind = 1;
    p->m_labelPos[0] = -4.0f; // window pixel (120, 150)
    p->m_labelPos[1] = 0.0f;
    Redraw();
    QImage frame = m_view->grabFramebuffer();
    EXPECT_EQ(p->m_param2, 0.0f);
    EXPECT_EQ(p->m_param3, 10.0f) << "a range of no width becomes 0 to 10 when drawn";
    // The knob stands at x - 10u + 100u f = x + 40u (2 pixels of the track a unit length), from
    // y - 13u to y - 2u: window pixels 160 to 164, rows 151 to 163.
    const QRgb knob = frame.pixel(161, 157);
    EXPECT_GT(qRed(knob), 150);
    EXPECT_LT(qGreen(knob), 100);
    EXPECT_GT(Inked(frame, 110, 151, 210, 160), 20) << "the track";
    EXPECT_GT(Inked(frame, 120, 128, 200, 150), 20) << "the text above it";

    // Dragging the knob 10 pixels to the right adds 1 to the value (the track spans the range).
    Press(QPoint(161, 157));
    Move(QPoint(171, 157));
    Release(QPoint(171, 157));
    EXPECT_FLOAT_EQ(p->m_param1, 6.0f);
    EXPECT_EQ(p->m_text, u"6");
    Redraw();
    const QImage dragged = m_view->grabFramebuffer();
    auto isKnob = [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 100; };
    EXPECT_TRUE(isKnob(dragged.pixel(171, 157))) << "the knob followed";
    EXPECT_FALSE(isKnob(dragged.pixel(161, 157))) << "and left its old place";
    // Without the slider nothing is drawn below the text and the knob is not picked.
    p->m_kind = 0;
    Redraw();
    EXPECT_EQ(Inked(m_view->grabFramebuffer(), 110, 151, 210, 165), 0);
    Press(QPoint(165, 157));
    Move(QPoint(185, 157));
    Release(QPoint(185, 157));
    EXPECT_FLOAT_EQ(p->m_param1, 6.0f);
}

TEST_F(MeasureGlTest, ASliderOverARangeNarrowerThanOneKeepsItWhenDrawn) {
    // The range 0 to 0.5 is a range: drawn, it stays, and the knob stands where the value is.
    auto* p = Insert(new CGTmVarParameter(m_page->m_nextId++, u"a", 0.25f));
    p->m_kind = 1;
    p->m_minimum = 0.0f;
    p->m_maximum = 0.5f;
    p->m_labelPos[0] = -4.0f; // window pixel (120, 150)
    p->m_labelPos[1] = 0.0f;
    Redraw();
    QImage frame = m_view->grabFramebuffer();
    EXPECT_EQ(p->m_minimum, 0.0f);
    EXPECT_EQ(p->m_maximum, 0.5f) << "a narrow range is no range of no width";
    EXPECT_FLOAT_EQ(p->m_param1, 0.25f);
    // 0.25 is the middle of the track: the knob at window pixels 160 to 163, as in the middle of any
    // range; nothing of it near the left end.
    EXPECT_TRUE(Knob(frame, 161, 157));
    EXPECT_FALSE(Knob(frame, 114, 157));

    // Dragged 10 pixels of the 100-pixel track: a tenth of the range, 0.05.
    Press(QPoint(161, 157));
    Move(QPoint(171, 157));
    Release(QPoint(171, 157));
    EXPECT_NEAR(p->m_param1, 0.3f, 1e-6f);
    EXPECT_EQ(p->m_maximum, 0.5f);
    Redraw();
    frame = m_view->grabFramebuffer();
    EXPECT_TRUE(Knob(frame, 171, 157)) << "the knob followed, 10 pixels";
    EXPECT_FALSE(Knob(frame, 161, 157));
    EXPECT_EQ(p->m_maximum, 0.5f);
    // Past the end it stops at 0.5.
    Press(QPoint(171, 157));
    Move(QPoint(260, 157));
    Release(QPoint(260, 157));
    EXPECT_EQ(p->m_param1, 0.5f);

    // A narrow range away from 0, from -1 to -0.6: -0.7 stands three quarters along the track.
    p->m_minimum = -1.0f;
    p->m_maximum = -0.6f;
    p->m_param1 = -0.7f;
    p->Recompute();
    Redraw();
    frame = m_view->grabFramebuffer();
    EXPECT_EQ(p->m_minimum, -1.0f);
    EXPECT_EQ(p->m_maximum, -0.6f);
    EXPECT_TRUE(Knob(frame, 186, 157));
    EXPECT_FALSE(Knob(frame, 114, 157));
}

TEST_F(MeasureGlTest, PlaneAxesWithTheirTicks) {
    CGVertex* origin = AddPoint(1, 1, 0);
    const WORD first = m_page->m_nextId;
    m_page->SelectCell(origin->m_id);
    m_view->OnCreateAxes2D();
    ASSERT_EQ(m_page->m_nextId, first + 7) << "the selected point is the origin";
    EXPECT_EQ(origin->m_name, u"O");
    EXPECT_TRUE(origin->m_nameFixed);
    CCmd* step = m_page->m_cmdProcessor.GetCurrent();
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->m_name, u"添加2维坐标轴");
    EXPECT_EQ(g_viewZoom, 1.0f) << "the plane view";
    const char16_t* names[4] = {u"x'", u"x", u"y'", u"y"};
    for (int i = 0; i < 4; ++i) {
        const CGCell* end = m_page->FindCell(WORD(first + i));
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(end->m_name, names[i]);
        EXPECT_EQ(end->m_hidden != 0, i % 2 == 0) << "x' and y' are hidden";
        EXPECT_EQ(end->m_style, 2);
    }
    auto* xAxis = DYNAMIC_DOWNCAST(CGLine, m_page->FindCell(WORD(first + 4)));
    ASSERT_NE(xAxis, nullptr);
    EXPECT_EQ(xAxis->m_kind, CGLine::kVector);
    EXPECT_EQ(xAxis->m_color, (CRgba{64, 64, 255, 255}));
    auto* scale = DYNAMIC_DOWNCAST(CGScaleline, m_page->FindCell(WORD(first + 6)));
    ASSERT_NE(scale, nullptr);
    EXPECT_TRUE(scale->m_valid);
    EXPECT_EQ(scale->m_xMax, 12.0f);

    // Ticks every 2 units at zoom 1: x = 1 + 2 is the window column 260, from the axis (row 130)
    // up 0.3 label units (6 pixels).
    Redraw();
    const QImage frame = m_view->grabFramebuffer();
    EXPECT_EQ(scale->m_tickSpacing, 2.0f);
    int tick = 0;
    for (int y = 124; y < 130; ++y)
        tick += frame.pixel(260, y) == qRgb(96, 96, 96) ? 1 : 0;
    EXPECT_GE(tick, 3);
    EXPECT_GT(Inked(frame, 255, 132, 268, 150), 5) << "the number 2 below its tick";

    // A click on the band along the x axis, clear of the arrow, picks the scale.
    m_page->ClearSelection();
    Click(QPoint(310, 142));
    EXPECT_EQ(m_page->m_selOthers.GetCount(), 1);

    // One undo takes the seven cells back (the origin keeps its new name).
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
    // Nothing selected: a new origin point, eight cells.
    m_page->ClearSelection();
    m_view->OnCreateAxes2D();
    EXPECT_EQ(m_page->m_nextId, first + 8);
    const CGCell* newOrigin = m_page->FindCell(first);
    EXPECT_EQ(newOrigin->m_name, u"O");
    EXPECT_EQ(newOrigin->m_size, 4.0f);
}

// Spacings that would never end draw no ticks and no numbers (and return); the pi/2 numbering
// writes its multiples of pi; an invalid scale draws nothing.
TEST_F(MeasureGlTest, ScaleSpacingsAndNumberings) {
    m_view->OnCreateAxes2D();
    CGScaleline* scale = nullptr;
    ForEachCell(m_page->m_cells, [&](CGCell* cell) {
        if (auto* s = DYNAMIC_DOWNCAST(CGScaleline, cell))
            scale = s;
    });
    ASSERT_NE(scale, nullptr);
    // The origin at the window's centre (200, 150); the numbers stand below the negative x axis
    // (the origin's label "O" lies below and left of the origin, right of these).
    auto numbers = [&] {
        Redraw();
        return Inked(m_view->grabFramebuffer(), 20, 154, 168, 175);
    };
    const int decimal = numbers();
    EXPECT_GT(decimal, 20);
    scale->m_autoSpacing = 0;
    for (float spacing : {0.0f, -2.0f, 1e-30f, std::nanf("")}) {
        scale->m_tickSpacing = scale->m_valueSpacing = spacing;
        EXPECT_EQ(numbers(), 0) << spacing;
        EXPECT_TRUE(scale->m_tickSpacing == spacing || std::isnan(spacing)) << "the stored spacing is kept";
    }
    scale->m_tickSpacing = 1.0f;
    scale->m_valueSpacing = 0.5f;
    EXPECT_GT(numbers(), decimal) << "a number at every half unit, with one decimal";
    scale->m_kind = 1;
    scale->m_valueSpacing = 2.0f;
    const int pi = numbers();
    EXPECT_GT(pi, 10) << "multiples of pi on the x axis";
    // The x max end dragged below 0: invalid, nothing drawn.
    auto* xEnd = m_page->FindCell(WORD(scale->m_parents[2]));
    xEnd->m_param1 = -1.0f;
    scale->Recompute();
    EXPECT_FALSE(scale->m_valid);
    Redraw();
    EXPECT_EQ(Inked(m_view->grabFramebuffer(), 205, 153, 400, 175), 0);
}

} // namespace
