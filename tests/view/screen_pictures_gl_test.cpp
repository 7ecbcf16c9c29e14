// Pictures and screen texts in the program's view whose corner lies outside it: photos (also zoomed
// and mirrored), one-bit texts with their offset copies, texts at points, formula texts in pixels (left
// of the view and below it, or straight below it), button captions, single-line texts in glyphs, an
// iteration's name and table and a cut's information show their part inside the view, at the pixels
// they cover with the corner inside.
#include "view_mouse_fixture.h"

#include "dynamics/buttons.h"
#include "dynamics/iterate_fixture.h"
#include "dynamics/iterate.h"
#include "measure/text_items.h"
#include "solids/split.h"
#include "view/glyph_lists.h"

#include <QImage>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

namespace {

constexpr int kPixelsPerUnit = 20;

// A photo's colour at column c and row r (rows from the bottom): each column and each row of up to
// 211 has its own red and green, and none is white.
QRgb PhotoPixel(int c, int r) {
    return qRgb(20 + (c * 3) % 211, 20 + (r * 7) % 211, (c * 5 + r * 11) % 200);
}

std::vector<BYTE> PhotoBytes(int width, int height) {
    const size_t rowBytes = size_t(CGTextbit::PictureRowBytes(width));
    std::vector<BYTE> bytes(rowBytes * size_t(height), 0);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const QRgb p = PhotoPixel(c, r);
            BYTE* at = &bytes[size_t(r) * rowBytes + size_t(c) * 3];
            at[0] = BYTE(qRed(p));
            at[1] = BYTE(qGreen(p));
            at[2] = BYTE(qBlue(p));
        }
    return bytes;
}

// The same photo as RGBA rows (a formula text's pixels), opaque.
std::vector<BYTE> RgbaBytes(int width, int height) {
    std::vector<BYTE> bytes(size_t(width) * size_t(height) * 4);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const QRgb p = PhotoPixel(c, r);
            BYTE* at = &bytes[(size_t(r) * size_t(width) + size_t(c)) * 4];
            at[0] = BYTE(qRed(p));
            at[1] = BYTE(qGreen(p));
            at[2] = BYTE(qBlue(p));
            at[3] = 255;
        }
    return bytes;
}

// A one-bit picture of scattered ink (about one pixel in three), rows from the bottom, most
// significant bit first: no shift of it looks like itself.
class CInk {
public:
    CInk(int width, int height) : m_width(width), m_height(height) {
        const size_t rowBytes = size_t(CGTextbit::BitmapRowBytes(width));
        m_bits.assign(rowBytes * size_t(height), 0);
        unsigned state = 12345;
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                state = state * 1103515245u + 12345u;
                if ((state >> 16) % 3 == 0)
                    m_bits[size_t(r) * rowBytes + size_t(c / 8)] |= BYTE(0x80 >> (c % 8));
            }
    }
    bool Set(int c, int r) const {
        if (c < 0 || r < 0 || c >= m_width || r >= m_height)
            return false;
        const size_t rowBytes = size_t(CGTextbit::BitmapRowBytes(m_width));
        return (m_bits[size_t(r) * rowBytes + size_t(c / 8)] >> (7 - c % 8)) & 1;
    }
    const std::vector<BYTE>& Bits() const { return m_bits; }

private:
    int m_width, m_height;
    std::vector<BYTE> m_bits;
};

class ScreenPicturesTest : public ViewMouseTest {
protected:
    void SetUp() override {
        ViewMouseTest::SetUp();
        ASSERT_FLOAT_EQ(g_unitLength, 1.0f / kPixelsPerUnit);
        ASSERT_TRUE(g_useObjectColors);
        m_blank = Frame();
    }

    // The view drawn and read back (top row first).
    QImage Frame() {
        Redraw();
        return m_view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    // A pixel of a frame by window coordinates (y up from the bottom row).
    static QRgb At(const QImage& frame, int x, int y) { return frame.pixel(x, kHeight - 1 - y); }
    // The screen plane's x and y (before the pan) of a window position.
    static float ScreenX(double x) { return float((x - kWidth / 2) / kPixelsPerUnit) - g_viewTransX; }
    static float ScreenY(double y) { return float((y - kHeight / 2) / kPixelsPerUnit) - g_viewTransY; }
    // Places a screen item's anchor at a window position.
    static void PlaceAt(CGCell& cell, double x, double y) {
        cell.m_labelPos[0] = ScreenX(x);
        cell.m_labelPos[1] = ScreenY(y);
    }

    // Every pixel of the view against what it should show: `expected` gives the colour where the
    // item lies and nothing elsewhere (the empty view).  Returns how many pixels of the item were
    // seen; each differing pixel counts against the test, the first few are named.
    int ExpectPixels(const QImage& frame, const std::function<std::optional<QRgb>(int, int)>& expected) {
        int seen = 0, differing = 0;
        std::ostringstream first;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::optional<QRgb> want = expected(x, y);
                const QRgb wanted = want ? *want : At(m_blank, x, y);
                seen += want ? 1 : 0;
                const QRgb got = At(frame, x, y);
                if ((got & 0xFFFFFF) != (wanted & 0xFFFFFF) && ++differing <= 5)
                    first << " (" << x << ", " << y << "): " << std::hex << (got & 0xFFFFFF) << " not "
                          << (wanted & 0xFFFFFF) << std::dec;
            }
        EXPECT_EQ(differing, 0) << first.str();
        return seen;
    }
    // A photo with its lower-left pixel at window pixel (x0, y0), `zoomX` x `zoomY` pixels a pixel
    // (a negative zoom draws to the left of x0 or below y0, mirrored).
    int ExpectPhoto(const QImage& frame, int width, int height, int x0, int y0, int zoomX = 1,
                    int zoomY = 1) {
        return ExpectPixels(frame, [=](int x, int y) -> std::optional<QRgb> {
            const int dx = zoomX > 0 ? x - x0 : x0 - 1 - x;
            const int dy = zoomY > 0 ? y - y0 : y0 - 1 - y;
            const int c = dx / std::abs(zoomX), r = dy / std::abs(zoomY);
            if (dx < 0 || dy < 0 || c >= width || r >= height)
                return std::nullopt;
            return PhotoPixel(c, r);
        });
    }
    // A one-bit text with its lower-left pixel at (x0, y0) in `color`, and, when `shadow` is given,
    // its offset copy 3 pixels right and 2 up underneath in that colour.
    int ExpectInk(const QImage& frame, const CInk& ink, int x0, int y0, QRgb color,
                  std::optional<QRgb> shadow = std::nullopt) {
        return ExpectPixels(frame, [&](int x, int y) -> std::optional<QRgb> {
            if (ink.Set(x - x0, y - y0))
                return color;
            if (shadow && ink.Set(x - x0 - 3, y - y0 - 2))
                return *shadow;
            return std::nullopt;
        });
    }
    // `moved` is `placed` moved by (dx, dy) window pixels: each pixel of the view shows what the
    // pixel it came from showed, and the empty view where that lay outside.  Returns the pixels
    // of `moved` that differ from the empty view.
    int ExpectMoved(const QImage& placed, const QImage& moved, int dx, int dy) {
        int inked = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                inked += (At(moved, x, y) & 0xFFFFFF) != (At(m_blank, x, y) & 0xFFFFFF) ? 1 : 0;
        ExpectPixels(moved, [&](int x, int y) -> std::optional<QRgb> {
            const int fx = x - dx, fy = y - dy;
            if (fx < 0 || fy < 0 || fx >= kWidth || fy >= kHeight)
                return std::nullopt;
            return At(placed, fx, fy);
        });
        return inked;
    }

    QImage m_blank;
};

constexpr QRgb kRed = qRgb(200, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 200);

} // namespace

TEST_F(ScreenPicturesTest, APhotoWithItsCornerInsideTheViewKeepsItsPixels) {
    // 0.25 of a pixel past a pixel's corner: the rounding of the raster position is not in doubt.
    auto* photo = Insert(new CGTbImage(m_page->m_nextId++, 120, 90, PhotoBytes(120, 90)));
    PlaceAt(*photo, 30.25, 40.25);
    EXPECT_EQ(ExpectPhoto(Frame(), 120, 90, 30, 40), 120 * 90);
    // Zoomed twice across and mirrored upright, from a corner inside.
    photo->m_scaleX = 2.0f;
    photo->m_scaleY = -1.0f;
    PlaceAt(*photo, 100.25, 200.25);
    EXPECT_EQ(ExpectPhoto(Frame(), 120, 90, 100, 200, 2, -1), 240 * 90);
}

TEST_F(ScreenPicturesTest, APhotoWithItsCornerBelowOrLeftOfTheViewShowsItsPartInside) {
    auto* photo = Insert(new CGTbImage(m_page->m_nextId++, 120, 90, PhotoBytes(120, 90)));
    struct Case {
        const char* what;
        double x, y;      // the anchor's window position
        int zoomX;        // the horizontal zoom
        int pixelsInside; // of the drawn photo
    };
    const Case cases[] = {
        {"10 pixels below", 30.25, -9.75, 1, 120 * 80},
        {"left, and below as well", -50.75, -20.75, 1, 69 * 69},
        {"left, zoomed: the part inside is of the drawn size", -150.75, 100.25, 2, 89 * 90},
        {"mirrored, right of the view and drawn leftwards into it", kWidth + 20.25, 100.25, -1, 100 * 90},
        {"wholly left of the view", -120.75, 100.25, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        photo->m_scaleX = float(c.zoomX);
        PlaceAt(*photo, c.x, c.y);
        EXPECT_EQ(ExpectPhoto(Frame(), 120, 90, int(std::floor(c.x)), int(std::floor(c.y)), c.zoomX, 1),
                  c.pixelsInside);
    }
}

TEST_F(ScreenPicturesTest, AOneBitTextAndItsCopyShowTheirPartInsideTheView) {
    const CInk ink(80, 30);
    auto* text = Insert(new CGTextbit(m_page->m_nextId++, 80, 30, ink.Bits()));
    text->m_color = CRgba{200, 0, 0, 255};
    text->m_labelColor = CRgba{0, 0, 200, 255};
    text->m_labelHidden = 1;
    {
        SCOPED_TRACE("inside");
        PlaceAt(*text, 60.25, 70.25);
        EXPECT_GT(ExpectInk(Frame(), ink, 60, 70, kRed), 600);
    }
    {
        SCOPED_TRACE("below");
        PlaceAt(*text, 60.25, -12.75);
        EXPECT_GT(ExpectInk(Frame(), ink, 60, -13, kRed), 300);
    }
    {
        SCOPED_TRACE("left");
        PlaceAt(*text, -40.75, 70.25);
        EXPECT_GT(ExpectInk(Frame(), ink, -41, 70, kRed), 300);
    }
    // With the offset copy, 3 pixels right and 2 up: inside, then with the text's corner out and the
    // copy's in, then both out.
    text->m_labelHidden = 0;
    for (auto [x, y] : {std::pair{60.25, 70.25}, std::pair{-2.75, 70.25}, std::pair{60.25, -1.75},
                        std::pair{-5.75, -4.75}}) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        PlaceAt(*text, x, y);
        EXPECT_GT(ExpectInk(Frame(), ink, int(std::floor(x)), int(std::floor(y)), kRed, kBlue), 300);
    }
}

TEST_F(ScreenPicturesTest, ATextAtAPointLeftOfTheViewShowsItsPartInside) {
    const CInk ink(60, 20);
    CGVertex* point =
        AddPoint(float((-6.75 - kWidth / 2) / kPixelsPerUnit), float((80.25 - kHeight / 2) / kPixelsPerUnit));
    point->m_hidden = 1;
    auto* text = Insert(new CGTbHenchman(m_page->m_nextId++, 60, 20, ink.Bits(), point->m_id));
    text->m_color = CRgba{200, 0, 0, 255};
    text->Recompute();
    EXPECT_GT(ExpectInk(Frame(), ink, -7, 80, kRed), 300);
}

TEST_F(ScreenPicturesTest, AFormulaTextInPixelsShowsItsPartInside) {
    auto* formula = Insert(new CGTbMtfText);
    formula->m_id = WORD(m_page->m_nextId++);
    formula->m_textureMode = 0;
    formula->m_width = 100;
    formula->m_height = 40;
    formula->m_bits = RgbaBytes(100, 40);
    PlaceAt(*formula, 150.25, 120.25);
    EXPECT_EQ(ExpectPhoto(Frame(), 100, 40, 150, 120), 100 * 40);
    PlaceAt(*formula, -30.75, -15.75);
    EXPECT_EQ(ExpectPhoto(Frame(), 100, 40, -31, -16), 69 * 24);
}

// A formula's anchor straight below the view, within its width: the rows above the view's bottom edge
// show, down to the top row alone; a formula wholly below shows nothing.
TEST_F(ScreenPicturesTest, AFormulaTextInPixelsBelowTheViewShowsItsUpperPart) {
    auto* formula = Insert(new CGTbMtfText);
    formula->m_id = WORD(m_page->m_nextId++);
    formula->m_textureMode = 0;
    formula->m_width = 100;
    formula->m_height = 40;
    formula->m_bits = RgbaBytes(100, 40);
    struct Case {
        const char* what;
        double x, y;      // the anchor's window position
        int pixelsInside; // of the formula's picture
    };
    const Case cases[] = {
        {"25 pixels below: 14 rows in", 200.25, -25.75, 100 * 14},
        {"39 pixels below: its top row in", 290.25, -38.75, 100},
        {"40 pixels below: wholly out", 290.25, -39.75, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceAt(*formula, c.x, c.y);
        EXPECT_EQ(ExpectPhoto(Frame(), 100, 40, int(std::floor(c.x)), int(std::floor(c.y))), c.pixelsInside);
    }
}

// Texts drawn from glyph lists: each moved from a place inside the view to where its anchor is out
// and part of its letters in, by whole pixels, shows those letters as they were.
TEST_F(ScreenPicturesTest, AButtonLeftOfTheViewShowsThePartOfItsCaptionInside) {
    auto* button = Insert(new CGButton);
    button->m_id = WORD(m_page->m_nextId++);
    button->SetCaption(u"开始移动点");
    PlaceAt(*button, 40.25, 200.25);
    const QImage placed = Frame();
    ASSERT_GT(button->m_width, 60);
    // The caption starts 17 pixels right of the body's left edge: 2.75 pixels left of the view.
    PlaceAt(*button, -19.75, 200.25);
    const QImage moved = Frame();
    ExpectMoved(placed, moved, -60, 0);
    // Black letters on the face inside the view.
    int letters = 0;
    for (int y = 150; y < kHeight; ++y)
        for (int x = 0; x < 60; ++x)
            letters += At(moved, x, y) == qRgb(0, 0, 0) ? 1 : 0;
    EXPECT_GT(letters, 30);
}

TEST_F(ScreenPicturesTest, ASingleLineTextInGlyphsShowsItsPartInside) {
    auto* text = Insert(new CGTmSingleline);
    text->m_id = WORD(m_page->m_nextId++);
    text->m_style = 1;
    text->m_labelHidden = 1;
    text->m_text = u"ABCDEFG 立体几何 xyz";
    text->m_color = CRgba{200, 0, 0, 255};
    PlaceAt(*text, 100.25, 150.25);
    const QImage placed = Frame();
    PlaceAt(*text, -19.75, 150.25);
    EXPECT_GT(ExpectMoved(placed, Frame(), -120, 0), 30);
    PlaceAt(*text, 100.25, -3.75);
    EXPECT_GT(ExpectMoved(placed, Frame(), 0, -154), 30);
}

TEST_F(ScreenPicturesTest, AnIterationsNameAndTableShowTheirPartInside) {
    // The triangle of midpoints nested three times, right of the view (the images of its points are
    // drawn whether or not the points are shown), D's x in the table.
    CGVertex* a = AddPoint(30, -3);
    CGVertex* b = AddPoint(36, -3);
    CGVertex* c = AddPoint(30, 3);
    CTestMidpoint* d = AddMidpoint(a->m_id, b->m_id);
    CTestMidpoint* e = AddMidpoint(b->m_id, c->m_id);
    CTestMidpoint* f = AddMidpoint(c->m_id, a->m_id);
    auto* x = Insert(new CXValue(m_page->m_nextId++, d->m_id, u"x"));
    x->m_hidden = 1;
    auto* it = Insert(new CGIterate(m_page->m_nextId++, 3, 3, 3,
                                    {{a->m_id, b->m_id, c->m_id}, {d->m_id, e->m_id, f->m_id}}));
    ASSERT_EQ(it->m_values, std::vector<WORD>{x->m_id});
    it->SetShowTable(true);
    it->m_labelHidden = 0;
    it->m_name = u"迭代";
    PlaceAt(*it, 150.25, 250.25);
    const QImage placed = Frame();
    // The name's anchor and the level numbers' anchors left of the view, their letters partly in.
    PlaceAt(*it, -9.75, 250.25);
    EXPECT_GT(ExpectMoved(placed, Frame(), -160, 0), 30);
}

TEST_F(ScreenPicturesTest, ACutsInformationShowsItsPartInside) {
    // The text stands at (-2, 11) of the screen plane and moves with the pan only.
    auto* cut = Insert(new CGSplit);
    cut->m_id = WORD(m_page->m_nextId++);
    g_viewTransX = -3.9875f;
    g_viewTransY = -6.9875f;
    const QImage placed = Frame();
    // From x = 80.25 to x = -11.75 of the window.
    g_viewTransX = -8.5875f;
    EXPECT_GT(ExpectMoved(placed, Frame(), -92, 0), 30);
}

// A text in the formula display whose name is formula markup: the name is typeset into a one-bit
// picture that the text's own lists draw from the anchor.  Anchored below the view, the rows above
// the view's bottom edge show where they lie, as they do when the whole picture is inside.
TEST_F(ScreenPicturesTest, AFormulaLabelBelowTheViewShowsItsUpperPart) {
    const CInk ink(70, 30);
    const CString markup = u"<#><l><e>AB</e></l></#>";
    HxSetFormulaMonochromeRenderer([&](const CString& text, CMonochromeFormula& out) {
        if (text != markup)
            return false;
        out.bits = ink.Bits();
        out.width = 70;
        out.height = 30;
        out.baseline = 24;
        return true;
    });
    struct CRendererGone {
        ~CRendererGone() { HxSetFormulaMonochromeRenderer(nullptr); }
    } gone;
    auto* text = Insert(new CGTmSingleline);
    text->m_id = WORD(m_page->m_nextId++);
    text->m_style = 1;
    text->m_labelHidden = 0;
    text->m_text3 = markup;
    text->m_color = CRgba{200, 0, 0, 255};
    int whole = 0;
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 70; ++c)
            whole += ink.Set(c, r) ? 1 : 0;
    ASSERT_GT(whole, 500);
    PlaceAt(*text, 150.25, 120.25);
    EXPECT_EQ(ExpectInk(Frame(), ink, 150, 120, kRed), whole);
    ASSERT_EQ(text->m_text2.GetLength(), 1) << "the picture's list alone";
    struct Case {
        const char* what;
        double x, y; // the anchor's window position
        int rowsInside;
    };
    const Case cases[] = {
        {"12 pixels below: 18 rows in", 200.25, -11.75, 18},
        {"29 pixels below: its top row in", 290.25, -28.75, 1},
        {"left of the view and below it", -30.75, -19.75, 10},
        {"30 pixels below: wholly out", 290.25, -29.75, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceAt(*text, c.x, c.y);
        const int x0 = int(std::floor(c.x)), y0 = int(std::floor(c.y));
        int inside = 0;
        for (int r = 30 - c.rowsInside; r < 30; ++r)
            for (int col = std::max(0, -x0); col < 70; ++col)
                inside += ink.Set(col, r) ? 1 : 0;
        EXPECT_EQ(ExpectInk(Frame(), ink, x0, y0, kRed), inside);
        if (c.rowsInside > 0) {
            EXPECT_GT(inside, 0);
        }
    }
}
