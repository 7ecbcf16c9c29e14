// Bitmap texts, pictures and formula texts without drawing: their records byte by byte (one-bit and
// colour rows, formula texts with and without their pictures), hostile sizes refused, descriptions,
// the drag of the arrow tool, following a point, and formula textures left for the drawing.
#include "document/doc_globals.h"
#include "measure/text_items.h"
#include "model/page.h"
#include "model/vertex.h"
#include "support/archive_helpers.h"
#include "support/page_fixture.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

namespace {

class PictureItemsTest : public PageFixture {
protected:
    // The common record of a cell as the cell itself writes it.
    static std::vector<BYTE> Common(CGCell& cell) {
        return StoreBytes([&](CArchive& ar) { cell.CGCell::Serialize(ar); });
    }
    template <class T> static std::vector<BYTE> Store(T& item) {
        return StoreBytes([&](CArchive& ar) { item.Serialize(ar); });
    }
    static std::vector<BYTE> Pattern(size_t n) {
        std::vector<BYTE> bytes(n);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = BYTE(i * 7 + 1);
        return bytes;
    }
    static const CString& Markup() {
        static const CString markup = u"<#><l><e>x+1</e></l></#>";
        return markup;
    }
};

TEST_F(PictureItemsTest, RowSizesOfOneBitAndColourRows) {
    const struct {
        long long width, bitmapRow, pictureRow;
    } rows[] = {{1, 4, 4},  {2, 4, 8},   {3, 4, 12},   {4, 4, 12},
                {5, 4, 16}, {32, 4, 96}, {33, 8, 100}, {64, 8, 192}};
    for (const auto& r : rows) {
        EXPECT_EQ(CGTextbit::BitmapRowBytes(r.width), r.bitmapRow) << r.width;
        EXPECT_EQ(CGTextbit::PictureRowBytes(r.width), r.pictureRow) << r.width;
    }
}

TEST_F(PictureItemsTest, BitmapTextRecordIsTheCommonRecordThenSizesAndRows) {
    for (int width : {1, 33}) {
        const int height = 2;
        const size_t bytes = size_t(CGTextbit::BitmapRowBytes(width)) * height;
        CGTextbit text(4, width, height, Pattern(bytes));
        text.m_kind = 0;
        ByteBuilder expected;
        expected.Append(Common(text)).I32(width).I32(height).Append(Pattern(bytes));
        const std::vector<BYTE> stored = Store(text);
        EXPECT_EQ(stored, expected.Bytes()) << width;
        EXPECT_EQ(stored.size(), Common(text).size() + 8 + (width == 1 ? 8 : 16));

        CGTextbit back;
        LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_EQ(back.m_width, width);
        EXPECT_EQ(back.m_height, height);
        EXPECT_EQ(back.m_bits, Pattern(bytes));
        EXPECT_EQ(back.m_labelPos[0], text.m_labelPos[0]);
    }
}

TEST_F(PictureItemsTest, PictureRecordHoldsPaddedColourRowsAndItsZoom) {
    for (int width : {3, 4}) {
        const size_t bytes = 12 * 2;
        CGTbImage picture(9, width, 2, Pattern(bytes));
        picture.m_scaleX = -0.5f;
        picture.m_scaleY = 2.0f;
        ByteBuilder expected;
        expected.Append(Common(picture)).I32(width).I32(2).Append(Pattern(bytes));
        const std::vector<BYTE> stored = Store(picture);
        EXPECT_EQ(stored, expected.Bytes()) << width;

        CGTbImage back;
        LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_EQ(back.m_bits, Pattern(bytes));
        EXPECT_FLOAT_EQ(back.m_param2, -0.5f) << "the zoom travels in the common record";
        EXPECT_FLOAT_EQ(back.m_scaleY, 2.0f);
        EXPECT_EQ(back.m_name, u"Img");
    }
}

TEST_F(PictureItemsTest, AnEmptyPictureStoresNoBytesAndShortBitsArePadded) {
    CGTextbit empty;
    ByteBuilder expected;
    expected.Append(Common(empty)).I32(0).I32(0);
    EXPECT_EQ(Store(empty), expected.Bytes());

    // A text whose bits fall short of its size still writes a record that reads back.
    CGTextbit shortBits(2, 40, 3, {0xFF});
    const std::vector<BYTE> stored = Store(shortBits);
    CGTextbit back;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.m_bits.size(), 24u);
    EXPECT_EQ(back.m_bits[0], 0xFF);
    EXPECT_EQ(back.m_bits[23], 0);
}

TEST_F(PictureItemsTest, HostileSizesAreRefusedAsDamage) {
    CGTbImage picture(9, 2, 2, Pattern(16));
    const std::vector<BYTE> common = Common(picture);
    const struct {
        int width, height;
        const char* why;
    } cases[] = {
        {-1, 2, "negative width"},
        {2, -5, "negative height"},
        {CGTextbit::kMaxSide + 1, 1, "too wide"},
        {20000, 20000, "more bytes than a record may hold"},
        {1000, 1000, "more bytes than the file holds"},
        {0x7FFFFFFF, 0x7FFFFFFF, "sizes that overflow"},
    };
    for (const auto& c : cases) {
        ByteBuilder bytes;
        bytes.Append(common).I32(c.width).I32(c.height).Append(Pattern(16));
        CGTbImage back;
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << c.why;
    }
    // A picture cut short.
    std::vector<BYTE> stored = Store(picture);
    stored.resize(stored.size() - 3);
    CGTbImage cut;
    EXPECT_THROW(LoadBytes(stored, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

TEST_F(PictureItemsTest, SizesTheLoaderWouldRefuseAreWrittenAsNoPicture) {
    // Never a record the file cannot be read back from, and never gigabytes of padding.
    const struct { int width, height; } sizes[] = {{-40, 3}, {40, CGTextbit::kMaxSide + 1}, {30000, 30000}};
    for (const auto& size : sizes) {
        CGTbImage picture(9, 2, 2, Pattern(16));
        picture.m_width = size.width;
        picture.m_height = size.height;
        ByteBuilder expected;
        expected.Append(Common(picture)).I32(0).I32(0);
        const std::vector<BYTE> stored = Store(picture);
        EXPECT_EQ(stored, expected.Bytes()) << size.width << " x " << size.height;
        CGTbImage back;
        LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
        EXPECT_EQ(back.m_width, 0);
    }
}

TEST_F(PictureItemsTest, TextFollowingAPointStoresThePositionAndTracksThePoint) {
    CGVertex* p = AddPoint(1.0f, 2.0f, 3.0f);
    p->m_name = u"P";
    auto* text = Insert(new CGTbHenchman(NextId(), 8, 1, Pattern(4), p->m_id));
    EXPECT_EQ(text->m_parents.GetSize(), 1);
    EXPECT_EQ(text->m_parents[0], p->m_id);
    EXPECT_EQ(p->m_labelHidden, 1) << "the text takes the place of the point's name";
    EXPECT_TRUE(text->m_valid);
    EXPECT_FLOAT_EQ(text->m_pz, 3.0f);
    EXPECT_EQ(text->GetDescription(), u"随点P的文本");

    ByteBuilder expected;
    expected.Append(Common(*text)).I32(8).I32(1).Append(Pattern(4)).F32(1.0f).F32(2.0f).F32(3.0f);
    const std::vector<BYTE> stored = Store(*text);
    EXPECT_EQ(stored, expected.Bytes());

    // Loaded, it shows the stored place until it is recomputed.
    CGTbHenchman back;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_FLOAT_EQ(back.m_py, 2.0f);

    p->SetPosition(5.0f, 6.0f, 7.0f);
    text->Recompute();
    EXPECT_FLOAT_EQ(text->m_px, 5.0f);
    p->m_valid = false;
    text->Recompute();
    EXPECT_FALSE(text->m_valid) << "gone with its point";

    // Only its point moves it.
    g_mouseDX = 10;
    g_mouseDY = 10;
    const float x = text->m_labelPos[0];
    text->MoveByMouse();
    EXPECT_EQ(text->m_labelPos[0], x);
}

TEST_F(PictureItemsTest, DescriptionsByKindAndClass) {
    CGTextbit text(1, 12, 5, Pattern(20));
    const struct {
        BYTE kind;
        const char16_t* text;
    } kinds[] = {{0, u"位图文本：宽*高=12*5"},
                 {4, u"可编辑MTF彩图文本：宽*高=12*5"},
                 {1, u"可编辑RTF单色位图文本：宽*高=12*5"},
                 {9, u"可编辑RTF单色位图文本：宽*高=12*5"}};
    for (const auto& k : kinds) {
        text.m_kind = k.kind;
        EXPECT_EQ(text.GetDescription(), k.text) << int(k.kind);
    }
    CGTbImage picture(2, 30, 20, Pattern(size_t(CGTextbit::PictureRowBytes(30)) * 20));
    EXPECT_EQ(picture.GetDescription(), u"原始大小：宽*高=30*20");
    CGTbMtfText formula;
    formula.m_width = 40;
    formula.m_height = 16;
    EXPECT_EQ(formula.GetDescription(), u"彩色数学文本：宽*高=40*16");
}

TEST_F(PictureItemsTest, TheArrowToolMovesTextsAndPicturesByTheUnitPerPixel) {
    g_unitLength = 0.05f;
    CGTextbit text(1, 10, 10, Pattern(40));
    CGTbImage picture(2, 2, 2, Pattern(16));
    CGTbMtfText formula;
    for (CGTextbit* item : std::initializer_list<CGTextbit*>{&text, &picture, &formula}) {
        item->m_labelPos[0] = 1.0f;
        item->m_labelPos[1] = 1.0f;
        g_mouseDX = 20;
        g_mouseDY = -10;
        item->MoveByMouse();
        EXPECT_FLOAT_EQ(item->m_labelPos[0], 2.0f);
        EXPECT_FLOAT_EQ(item->m_labelPos[1], 1.5f) << "screen y grows downwards";
    }
    // The picture's far corner follows its zoom, mirrored to the left by a negative factor.
    picture.m_width = 100;
    picture.m_scaleX = -0.5f;
    EXPECT_FLOAT_EQ(picture.SpanX(), -2.5f);
}

TEST_F(PictureItemsTest, NewItemsAreCentredAcrossTheScreen) {
    g_unitLength = 0.05f;
    CGTextbit text(1, 40, 10, Pattern(40));
    EXPECT_FLOAT_EQ(text.m_labelPos[0], -1.0f);
    EXPECT_GE(text.m_labelPos[1], -4.0f);
    EXPECT_LE(text.m_labelPos[1], 4.0f);
    EXPECT_EQ(text.m_name, u"BText");
    CGTextbit blank;
    EXPECT_FLOAT_EQ(blank.m_labelPos[0], -5.0f);
    EXPECT_FLOAT_EQ(blank.m_labelPos[1], 5.0f);
}

TEST_F(PictureItemsTest, FormulaTextIsRenderedAndCentred) {
    g_unitLength = 0.05f;
    CGTbMtfText formula(3, Markup(), RGB(255, 255, 255), 0);
    ASSERT_GT(formula.m_width, 0);
    ASSERT_GT(formula.m_height, 0);
    EXPECT_EQ(formula.m_bits.size(), size_t(4) * formula.m_width * formula.m_height);
    EXPECT_FLOAT_EQ(formula.m_labelPos[0], -0.5f * float(formula.m_width) * 0.05f);
    EXPECT_EQ(formula.m_color.a, 0);
    EXPECT_EQ(formula.m_name, u"MTF彩色数学文本");
}

TEST_F(PictureItemsTest, FormulaTextStoredWithoutItsPictureRendersItWhenLoaded) {
    CGTbMtfText formula(3, Markup(), RGB(10, 20, 30), 1);
    formula.m_reserved = 0;
    ASSERT_GT(formula.m_width, 0);
    g_storeMtfImages = 0;
    const std::vector<BYTE> stored = Store(formula);
    ByteBuilder expected;
    expected.Append(Common(formula))
        .Str(Markup().GetString())
        .I32(int(RGB(10, 20, 30)))
        .F32(1.0f)
        .I32(1)
        .I32(0)
        .Str(u"");
    EXPECT_EQ(stored, expected.Bytes());

    CGTbMtfText back;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_markup, Markup());
    EXPECT_EQ(back.m_background, RGB(10, 20, 30));
    EXPECT_EQ(back.m_width, formula.m_width) << "rendered again from the markup";
    EXPECT_EQ(back.m_bits, formula.m_bits);
}

TEST_F(PictureItemsTest, FormulaTextStoredWithItsPictureTakesItAsItIs) {
    CGTbMtfText formula(3, Markup(), RGB(255, 255, 255), 5);
    formula.m_width = 2;
    formula.m_height = 1;
    formula.m_bits = {1, 2, 3, 4, 5, 6, 7, 8}; // not what the markup renders
    g_storeMtfImages = 1;
    const std::vector<BYTE> stored = Store(formula);
    ByteBuilder expected;
    expected.Append(Common(formula))
        .Str(Markup().GetString())
        .I32(int(RGB(255, 255, 255)))
        .F32(1.0f)
        .I32(5)
        .I32(0)
        .Str(u"")
        .I32(2)
        .I32(1)
        .Append({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(stored, expected.Bytes());

    CGTbMtfText back;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_bits, formula.m_bits) << "not rendered again";
    EXPECT_EQ(back.m_textureMode, 1) << "the texture mode is made 1";

    // A hostile picture size in such a record is damage.
    std::vector<BYTE> hostile(stored.begin(), stored.end() - 16);
    ByteBuilder tail;
    tail.I32(-3).I32(1);
    hostile.insert(hostile.end(), tail.Bytes().begin(), tail.Bytes().end());
    CGTbMtfText damaged;
    EXPECT_THROW(LoadBytes(hostile, [&](CArchive& ar) { damaged.Serialize(ar); }), CArchiveException);
    g_storeMtfImages = 0;
}

TEST_F(PictureItemsTest, FormulaTextAtAPointFollowsItAndIsAlwaysATexture) {
    CGVertex* p = AddPoint(1.0f, 0.0f, 0.0f);
    p->m_name = u"M";
    auto* formula = Insert(new CGTbMhc(NextId(), Markup(), RGB(255, 255, 255), p->m_id));
    EXPECT_EQ(formula->m_textureMode, 1);
    EXPECT_EQ(formula->m_name, u"附点彩文");
    EXPECT_EQ(formula->GetDescription(), u"附点M的MTF彩色数学文本");
    EXPECT_EQ(p->m_labelHidden, 1);
    EXPECT_FLOAT_EQ(formula->m_px, 1.0f);

    g_storeMtfImages = 0;
    const std::vector<BYTE> stored = Store(*formula);
    ASSERT_GE(stored.size(), 12u);
    ByteBuilder position;
    position.F32(1.0f).F32(0.0f).F32(0.0f);
    EXPECT_TRUE(std::equal(position.Bytes().begin(), position.Bytes().end(), stored.end() - 12));
    CGTbMhc back;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_textureMode, 1);
    EXPECT_FLOAT_EQ(back.m_px, 1.0f);
}

TEST_F(PictureItemsTest, NoTextureIsMadeWithoutTheViewsContext) {
    ASSERT_FALSE(HxHasCurrentGlContext());
    CGTbMtfText formula(3, Markup(), RGB(255, 255, 255), 1);
    EXPECT_FALSE(formula.HasTexture()) << "made at the first drawing, not at construction";
    EXPECT_EQ(formula.TextureName(), 0u);
    formula.m_color.r = 200;
    formula.UpdateTexture();
    EXPECT_FALSE(formula.HasTexture());
    EXPECT_GT(formula.m_width, 0);
    const size_t pending = HxPendingGlDeletions();
    formula.FreeTexture();
    EXPECT_TRUE(formula.m_bits.empty());
    EXPECT_EQ(HxPendingGlDeletions(), pending) << "nothing to delete: no texture was ever made";
}

} // namespace
