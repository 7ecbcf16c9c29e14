// Glyph display lists and textured glyphs in an offscreen framebuffer: the caches, rebuilds after a
// font change, formula-text lists, outline glyphs and the label quads.
#include "gl_test_fixture.h"
#include "view/glyph_font.h"
#include "view/glyph_lists.h"
#include "view/outline_glyphs.h"
#include "view/texture_text.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <QCoreApplication>
#include <QFontInfo>

namespace {
class GlyphTest : public GlViewTest {
protected:
    void SetUp() override {
        GlViewTest::SetUp();
        HxReleaseGlyphCaches();
    }
    void TearDown() override {
        HxReleaseGlyphCaches();
        HxSetFormulaMonochromeRenderer(nullptr);
        GlViewTest::TearDown();
    }
};

CString Ids(std::initializer_list<UINT> ids) {
    CString s;
    for (UINT id : ids)
        s += char16_t(id);
    return s;
}
} // namespace

TEST(GlyphFont, WindowsFacesResolveToTheInstalledFamilies) {
    for (const char16_t* face : {u"宋体", u"楷体", u"黑体", u"隶书", u"微软雅黑"})
        EXPECT_EQ(QFontInfo(HxCreateFont(face, -24, 400, false)).family(),
                  QStringLiteral("WenQuanYi Micro Hei"));
    QFont times = HxCreateFont(u"Times New Roman", -24, 700, true);
    EXPECT_EQ(QFontInfo(times).family(), QStringLiteral("Liberation Serif"));
    EXPECT_TRUE(QFontInfo(times).bold());
    EXPECT_TRUE(QFontInfo(times).italic());
    // A positive height is the cell: ascent plus descent.
    QFontMetrics cell(HxCreateFont(u"Times New Roman", 64, 700, false));
    EXPECT_NEAR(cell.ascent() + cell.descent(), 64, 1);
    EXPECT_EQ(HxCreateFont(u"Times New Roman", -30, 400, false).pixelSize(), 30);
}

TEST(GlyphFont, RasterisedGlyphSitsOnTheBaseline) {
    QFont font = HxCreateFont(u"Times New Roman", -40, 700, false);
    CBitmapGlyph l = HxRasterizeGlyph(font, u'L');
    ASSERT_GT(l.width, 10);
    ASSERT_GT(l.height, 20);
    EXPECT_EQ(l.originY, 0); // no descender: the bottom row is on the baseline
    EXPECT_GT(l.advance, l.width - 2);
    // The foot of the L: a full bottom row, ink in the first column.
    EXPECT_TRUE(l.IsSet(l.width / 2, 0));
    EXPECT_TRUE(l.IsSet(l.originX > 0 ? 1 : 2, l.height - 1));
    CBitmapGlyph p = HxRasterizeGlyph(font, u'p');
    EXPECT_GT(p.originY, 5); // the descender hangs below
    CBitmapGlyph space = HxRasterizeGlyph(font, u' ');
    EXPECT_EQ(space.width, 0);
    EXPECT_GT(space.advance, 0);
}

TEST_F(GlyphTest, AsciiComesFromTheReservedBlocksWithoutNewLists) {
    ASSERT_TRUE(HxReserveGlyphBlocks());
    ASSERT_NE(g_labelGlyphBase, 0u);
    ASSERT_NE(g_textGlyphBase, 0u);
    EXPECT_NE(g_labelGlyphBase, g_textGlyphBase);
    const long before = HxGlyphListBuildCount();
    EXPECT_EQ(GetLabelGlyphLists(u"AB"), Ids({g_labelGlyphBase + 33, g_labelGlyphBase + 34}));
    EXPECT_EQ(GetTextGlyphLists(u" ~"), Ids({g_textGlyphBase, g_textGlyphBase + 94}));
    EXPECT_EQ(GetLabelGlyphLists(u""), CString());
    EXPECT_EQ(HxGlyphListBuildCount(), before);
}

TEST_F(GlyphTest, NewCharactersGetOneListEachAndAreCached) {
    const long before = HxGlyphListBuildCount();
    CString first = GetLabelGlyphLists(u"中文");
    ASSERT_EQ(first.GetLength(), 2);
    EXPECT_EQ(HxGlyphListBuildCount(), before + 2);
    EXPECT_TRUE(glIsList(first[0]));
    EXPECT_EQ(GetLabelGlyphLists(u"中文"), first);
    EXPECT_EQ(HxGlyphListBuildCount(), before + 2);
    CString second = GetLabelGlyphLists(u"中国");
    EXPECT_EQ(second[0], first[0]);
    EXPECT_NE(second[1], first[1]);
    EXPECT_EQ(HxGlyphListBuildCount(), before + 3);
    // Each cache keeps its own lists.
    CString text = GetTextGlyphLists(u"中");
    EXPECT_NE(text[0], first[0]);
    CString button = GetButtonGlyphLists(u"中");
    EXPECT_NE(button[0], first[0]);
    EXPECT_NE(button[0], text[0]);
    EXPECT_EQ(g_labelGlyphCache.GetCount(), 3);

    // Releasing the caches deletes their lists.
    ASSERT_TRUE(HxReserveGlyphBlocks());
    const UINT base = g_labelGlyphBase;
    HxReleaseGlyphCaches();
    for (UINT list : {UINT(first[0]), UINT(button[0]), base})
        EXPECT_FALSE(glIsList(list)) << list;
    EXPECT_EQ(g_labelGlyphCache.GetCount(), 0);
    EXPECT_EQ(g_labelGlyphBase, 0u);
}

TEST_F(GlyphTest, WithoutAContextNothingIsBuiltAndNothingBreaks) {
    ASSERT_TRUE(HxReserveGlyphBlocks());
    const UINT base = g_labelGlyphBase;
    context.doneCurrent();
    const long before = HxGlyphListBuildCount();
    EXPECT_EQ(GetLabelGlyphLists(u"A中B"), Ids({base + 33}));
    EXPECT_EQ(HxGlyphListBuildCount(), before);
    UINT pair = 0;
    int height = 0;
    EXPECT_EQ(BuildTextBitmapLists(u"<#><l></l></#>", pair, height, 1), CString());
    EXPECT_EQ(pair, 0u);
    ASSERT_TRUE(context.makeCurrent(&surface));
    ASSERT_TRUE(fbo->bind());
}

TEST_F(GlyphTest, LabelRebuildCoversTheBlockAndOnlyThenTheOtherCharacters) {
    ASSERT_TRUE(HxReserveGlyphBlocks());
    long before = HxGlyphListBuildCount();
    BuildFontLists();
    EXPECT_EQ(HxGlyphListBuildCount() - before, 96 + 52 + 10);
    GetLabelGlyphLists(u"中"); // the 97th character
    before = HxGlyphListBuildCount();
    BuildFontLists();
    EXPECT_EQ(HxGlyphListBuildCount() - before, 96 + 52 + 10 + 1);

    before = HxGlyphListBuildCount();
    GetTextGlyphLists(u"文");
    BuildCaptionFontLists();
    EXPECT_EQ(HxGlyphListBuildCount() - before, 1 + 97);
    QFontMetrics fm(HxCreateFont(g_textFontName, g_fontHeight, 700, false));
    EXPECT_EQ(g_textLineHeight, fm.height() + 3);
    EXPECT_GT(g_textCharWidth, 5);
    EXPECT_LT(g_textCharWidth, 24);
}

TEST_F(GlyphTest, FormulaTextBecomesABitmapListAndAnAreaList) {
    CMonochromeFormula made;
    HxSetFormulaMonochromeRenderer([&](const CString& markup, CMonochromeFormula& out) {
        if (markup != CString(u"<#><l>x</l></#>"))
            return false;
        out.width = 10;
        out.height = 6;
        out.baseline = 3;
        out.bits.assign(4 * 6, 0);
        for (int row = 0; row < 6; ++row) {
            out.bits[size_t(row * 4)] = 0xFF; // ten pixels wide: eight here and two in the next byte
            out.bits[size_t(row * 4 + 1)] = 0xC0;
        }
        made = out;
        return true;
    });
    UINT pair = 0;
    int height = 0;
    CString ids = BuildTextBitmapLists(u"<#><l>x</l></#>", pair, height, 2);
    ASSERT_NE(pair, 0u);
    ASSERT_EQ(ids.GetLength(), 1);
    EXPECT_EQ(UINT(ids[0]), pair);
    EXPECT_EQ(height, 6);
    EXPECT_TRUE(glIsList(pair + 1));

    PixelProjection();
    glColor3ub(0, 0, 200);
    glRasterPos2i(30, 30);
    glCallList(pair);
    glFinish();
    EXPECT_EQ(InkedPixels(30, 30, 40, 36), 60);
    EXPECT_EQ(InkedPixels(40, 30, 50, 36), 0);
    EXPECT_EQ(InkedPixels(20, 20, 30, 30), 0);

    // A text that only begins with "<" is plain text; markup the engine refuses draws nothing.
    ASSERT_TRUE(HxReserveGlyphBlocks());
    UINT none = 0;
    EXPECT_EQ(BuildTextBitmapLists(u"<x", none, height, 0), GetTextGlyphLists(u"<x"));
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(BuildTextBitmapLists(u"<bad>", none, height, 0), CString());
    EXPECT_NE(none, 0u); // the pair stays reserved for the next try
    // The same pair is used again.
    UINT again = pair;
    BuildTextBitmapLists(u"<#><l>x</l></#>", again, height, 2);
    EXPECT_EQ(again, pair);
}

TEST_F(GlyphTest, OutlineGlyphsAreExtrudedOneListPerCharacter) {
    COutlineGlyph o = HxOutlineGlyph(u"Times New Roman", u'O');
    EXPECT_EQ(o.loops.size(), 2u);
    EXPECT_GT(o.advance, 0.5);
    EXPECT_LT(o.advance, 1.0);
    for (const auto& loop : o.loops)
        for (size_t i = 0; i + 1 < loop.size(); i += 2) {
            EXPECT_GE(loop[i + 1], -0.05);
            EXPECT_LE(loop[i + 1], 1.0);
        }

    UINT base = 0;
    CString ids =
        BuildOutlineGlyphLists(base, u"ABCDEFGHIJKLMNOPQRSTU", u"Times New Roman", HX_FONT_POLYGONS);
    ASSERT_NE(base, 0u);
    ASSERT_EQ(ids.GetLength(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(UINT(ids[i]), base + UINT(i));
    const UINT old = base;
    CString lines = BuildOutlineGlyphLists(base, u"H", u"Times New Roman", HX_FONT_LINES);
    EXPECT_EQ(lines.GetLength(), 1);

    // "I" filled, 100 pixels to the em, seen from the front.
    CString bar = BuildOutlineGlyphLists(base, u"II", u"Times New Roman", HX_FONT_POLYGONS);
    EXPECT_FALSE(glIsList(old) && old != base);
    PixelProjection();
    glEnable(GL_DEPTH_TEST);
    glTranslatef(10, 20, 0);
    glScalef(100, 100, 100);
    glColor3ub(0, 120, 0);
    DrawGlyphString(bar);
    glDisable(GL_DEPTH_TEST);
    glFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    auto box = InkBox();
    ASSERT_GE(box[0], 0);
    EXPECT_GE(box[1], 19);
    EXPECT_LE(box[3], 20 + 70);
    EXPECT_GT(box[2] - box[0], 40); // the second I after the first one's advance
    // Both stems are filled across the middle row.
    int green = 0, runs = 0;
    bool inside = false;
    for (int x = box[0]; x <= box[2]; ++x) {
        auto p = Pixel(x, (box[1] + box[3]) / 2);
        bool ink = p[0] == 0 && p[1] == 120 && p[2] == 0;
        green += ink;
        runs += ink && !inside;
        inside = ink;
    }
    EXPECT_EQ(runs, 2);
    EXPECT_GT(green, 10);
}

TEST_F(GlyphTest, TexturedGlyphSetsAndLabels) {
    CTextrueText text;
    ASSERT_TRUE(text.HasTextures());
    EXPECT_EQ(text.m_latinGlyphs.GetCount(), 52 + 17);
    EXPECT_EQ(text.m_otherGlyphs.GetCount(), 136 + 94);
    EXPECT_EQ(text.GetUsedTextureCount(), 52 + 17 + 136 + 94);
    CharInfo* a = nullptr;
    ASSERT_TRUE(text.m_latinGlyphs.Lookup(u'A', a));
    EXPECT_NEAR(a->m_height, 64.0f, 1.0f);
    EXPECT_EQ(int(a->m_abcB) + a->m_abcA + a->m_abcC, int(a->m_width));
    GLint format = 0, width = 0;
    glBindTexture(GL_TEXTURE_2D, text.GetAtlasTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(format, GL_ALPHA);
    EXPECT_EQ(width, CTextrueText::kAtlasWidth);
    EXPECT_EQ(text.GetAtlasHeight(), 1024);

    // A label facing the viewer: one world unit per pixel, 64-pixel glyphs at (24 + 4) / 64.
    PixelProjection();
    SetPlaneViewRotation();
    ComputeViewCameraMatrix(g_modelviewMatrix);
    g_unitLength = 1.0f;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const float blue[4] = {0.0f, 0.0f, 230.0f / 255.0f, 1.0f};
    text.DrawLabel(u"AB", 20, 40, 0, blue);
    glFinish();
    auto box = InkBox();
    ASSERT_GE(box[0], 0);
    EXPECT_GE(box[0], 19);
    EXPECT_LE(box[2], 20 + 40);
    EXPECT_GE(box[1], 40);
    EXPECT_LE(box[3], 40 + 29);
    auto p = Pixel((box[0] + box[2]) / 2, (box[1] + box[3]) / 2);
    EXPECT_EQ(p[0], p[1]); // blue over white: red and green fall together
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);

    // A character of neither set is built once, in the CJK font.
    const int used = text.GetUsedTextureCount();
    text.DrawLabel(u"您", 70, 40, 0, blue);
    EXPECT_EQ(text.GetUsedTextureCount(), used + 1);
    text.DrawLabel(u"您", 70, 90, 0, blue);
    EXPECT_EQ(text.GetUsedTextureCount(), used + 1);
    EXPECT_TRUE(text.m_otherGlyphs.Contains(u'您'));
}

TEST_F(GlyphTest, BatchedLabelsWaitAndTheAtlasGrowsUnderThem) {
    CTextrueText text;
    PixelProjection();
    SetPlaneViewRotation();
    ComputeViewCameraMatrix(g_modelviewMatrix);
    g_unitLength = 1.0f;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f}, green[4] = {0.0f, 0.6f, 0.0f, 1.0f};
    text.BeginBatch();
    text.DrawLabel(u"A", 10, 10, 0, red);
    text.BeginBatch(); // nested: only the outermost end draws
    text.DrawLabel(u"B", 60, 10, 0, green);
    text.EndBatch();
    glFinish();
    EXPECT_EQ(InkedPixels(0, 0, kSize, kSize), 0) << "nothing before the batch ends";
    // Glyphs made on demand past the first height of the atlas: the labels waiting before go out
    // first, then the atlas doubles and keeps every glyph.
    const int before = text.GetUsedTextureCount();
    for (char16_t ch = u'一'; text.GetUsedTextureCount() < 480; ++ch)
        text.DrawLabel(CString(ch), 200, 200, 0, red);
    EXPECT_EQ(text.GetAtlasHeight(), 2048);
    EXPECT_GT(text.GetUsedTextureCount(), before);
    text.EndBatch();
    glFinish();
    auto tinted = [&](int x0, int x1, int more, int less) {
        int n = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = x0; x < x1; ++x) {
                auto p = Pixel(x, y);
                n += p[more] > p[less] + 60 ? 1 : 0;
            }
        return n;
    };
    EXPECT_GT(tinted(0, 50, 0, 1), 20) << "A in red";
    EXPECT_EQ(tinted(0, 50, 1, 0), 0);
    EXPECT_GT(tinted(50, kSize, 1, 0), 20) << "B in green";
    EXPECT_EQ(tinted(50, kSize, 0, 1), 0);
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 1.0f) << "the current colour is the last label's";
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    // Every cell is used at last: no more glyphs, and drawing goes on without them.
    for (char16_t ch = u'乙'; text.GetUsedTextureCount() < CTextrueText::kTextureCount - 1 && ch < u'龥';
         ++ch)
        text.DrawLabel(CString(ch), 200, 200, 0, red);
    EXPECT_EQ(text.GetUsedTextureCount(), CTextrueText::kTextureCount - 1);
    text.DrawLabel(u"龥", 200, 200, 0, red);
    EXPECT_EQ(text.GetUsedTextureCount(), CTextrueText::kTextureCount - 1);
}

TEST_F(GlyphTest, DigitsAreSmallerAndTheTextPenAdvances) {
    CTextrueText text;
    PixelProjection();
    g_unitLength = 1.0f;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor3ub(0, 0, 0);
    g_textQuadHeight = 64.0f;
    g_textPenX = 10;
    g_textPenY = 20;
    g_textPenZ = 0;
    text.DrawTextQuad(u"H");
    const float afterLetter = g_textPenX;
    auto letter = InkBox();
    glClear(GL_COLOR_BUFFER_BIT);
    g_textPenX = 10;
    text.DrawTextQuad(u"8");
    auto digit = InkBox();
    ASSERT_GE(letter[0], 0);
    ASSERT_GE(digit[0], 0);
    EXPECT_GT(afterLetter, 10 + 30);
    const double letterHeight = letter[3] - letter[1], digitHeight = digit[3] - digit[1];
    EXPECT_NEAR(digitHeight / letterHeight, 0.75, 0.1);
    // DrawTextQuad2 draws digits at full size.
    glClear(GL_COLOR_BUFFER_BIT);
    g_textPenX = 10;
    text.DrawTextQuad2(u"8");
    auto full = InkBox();
    EXPECT_NEAR((full[3] - full[1]) / letterHeight, 1.0, 0.12);
}

// The selection pass draws 3D text without its lists: drawn directly, the glyphs cover the same
// pixels as their lists, solid and as outlines, and are hit under their name in the selection.
TEST_F(GlyphTest, OutlineGlyphsDrawnDirectlyMatchTheirListsAndAreSelected) {
    EXPECT_FALSE(HxInSelectionMode());
    // "8" and "B" hold three loops each, "立" many strokes.
    const CString text = u"B8立";
    for (int format : {HX_FONT_POLYGONS, HX_FONT_LINES}) {
        auto draw = [&](bool fromLists) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            PixelProjection();
            glTranslatef(4, 30, 0);
            glScalef(38, 38, 38);
            glColor3ub(0, 0, 160);
            UINT base = 0;
            if (fromLists) {
                const CString lists = BuildOutlineGlyphLists(base, text, u"Times New Roman", format);
                EXPECT_EQ(lists.GetLength(), 3);
                DrawGlyphString(lists);
                glDeleteLists(base, HX_OUTLINE_GLYPH_LISTS);
            } else {
                DrawOutlineGlyphs(text, u"Times New Roman", format);
            }
            glFinish();
            std::vector<GLubyte> pixels(size_t(kSize) * kSize * 4);
            glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            return pixels;
        };
        const std::vector<GLubyte> listed = draw(true);
        EXPECT_GT(InkedPixels(0, 0, kSize, kSize), format == HX_FONT_POLYGONS ? 600 : 150);
        EXPECT_TRUE(draw(false) == listed) << "format " << format;

        PixelProjection();
        glTranslatef(4, 30, 0);
        glScalef(38, 38, 38);
        GLuint buffer[64] = {};
        glSelectBuffer(64, buffer);
        glRenderMode(GL_SELECT);
        EXPECT_TRUE(HxInSelectionMode());
        glInitNames();
        glPushName(7);
        DrawOutlineGlyphs(text, u"Times New Roman", format);
        ASSERT_EQ(glRenderMode(GL_RENDER), 1) << "format " << format;
        EXPECT_EQ(buffer[0], 1u);
        EXPECT_EQ(buffer[3], 7u);
        EXPECT_FALSE(HxInSelectionMode());
    }
    context.doneCurrent();
    EXPECT_FALSE(HxInSelectionMode()) << "no context";
    ASSERT_TRUE(context.makeCurrent(&surface));
}
