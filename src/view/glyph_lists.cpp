// Bitmap glyph display lists per font, their caches, the rebuilds after a font change, and the
// two-list form of formula texts.
#include "view/glyph_lists.h"

#include "model/cell_draw.h"
#include "view/gl_context.h"
#include "view/glyph_font.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QFontMetrics>

#include <algorithm>
#include <unordered_map>

CMap<WORD, WORD, WORD, WORD> g_labelGlyphCache;
CMap<WORD, WORD, WORD, WORD> g_textGlyphCache;
CMap<WORD, WORD, WORD, WORD> g_buttonGlyphCache;
UINT g_labelGlyphBase = 0;
UINT g_textGlyphBase = 0;
int g_textCharWidth = 0;
int g_textLineHeight = 0;

namespace {
constexpr int kBlockSize = 96;
constexpr WORD kFirstBlockChar = 32;
// Four CJK characters and fourteen Latin letters: the sample the text metrics are taken from.
constexpr const char16_t* kMetricSample = u"立体几何ABCDEFGabcdefg";
constexpr int kMetricSampleLength = 18;

long g_glyphBuildCount = 0;

HxFormulaMonochromeRenderer& FormulaRenderer() {
    static HxFormulaMonochromeRenderer renderer;
    return renderer;
}

// What a glyph list draws, in pixels from the pen: the bitmap's corners, and the pen's move.
struct GlyphReach {
    int x0, y0, x1, y1;
    float moveX, moveY;
};
// Every glyph list compiled here, by its id: the lists leave no other trace of their sizes.
std::unordered_map<GLuint, GlyphReach>& GlyphReaches() {
    static std::unordered_map<GLuint, GlyphReach> reaches;
    return reaches;
}

// Ids above 65535 cannot travel in a glyph string, so such a list counts as none.
GLuint ReserveLists(int count) {
    GLuint base = glGenLists(count);
    if (base == 0)
        return 0;
    if (base + GLuint(count) - 1 > 0xFFFF) {
        glDeleteLists(base, count);
        return 0;
    }
    return base;
}

void CompileGlyph(GLuint list, const QFont& font, char16_t ch) {
    CBitmapGlyph glyph = HxRasterizeGlyph(font, ch);
    if (glyph.width == 0 || glyph.height == 0) {
        // A blank glyph (a space) still moves the pen; Mesa refuses an empty bitmap in a list, so
        // it gets one clear pixel.
        glyph.width = glyph.height = 1;
        glyph.originX = glyph.originY = 0;
        glyph.bits.assign(1, 0);
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glNewList(list, GL_COMPILE);
    glBitmap(glyph.width, glyph.height, float(glyph.originX), float(glyph.originY), float(glyph.advance),
             0.0f, glyph.bits.data());
    glEndList();
    glPopClientAttrib();
    GlyphReaches()[list] = GlyphReach{-glyph.originX,
                                      -glyph.originY,
                                      glyph.width - glyph.originX,
                                      glyph.height - glyph.originY,
                                      float(glyph.advance),
                                      0.0f};
    ++g_glyphBuildCount;
}

// Fonts of the caches (the Windows height conventions of HxCreateFont).
QFont LabelNewCharFont() {
    return HxCreateFont(g_labelFontName, -g_labelFontHeight, 700, false);
}
QFont TextNewCharFont() {
    return HxCreateFont(g_textFontName, -g_fontHeight, 400, false);
}
// Button captions use the view's own font: a plain CJK face at 16 pixels.
QFont ButtonFont() {
    return HxCreateFont(u"宋体", -16, 400, false);
}

bool InBlock(UINT base, WORD id) {
    return base != 0 && id >= base && id < base + kBlockSize;
}

CString LookUpGlyphs(CMap<WORD, WORD, WORD, WORD>& cache, const CString& text, QFont (*makeFont)()) {
    CString result;
    QFont font;
    bool haveFont = false;
    bool outOfIds = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        char16_t ch = text[i];
        WORD id = 0;
        if (cache.Lookup(ch, id)) {
            result += char16_t(id);
            continue;
        }
        if (!haveFont) {
            if (!HxMakeGlCurrent())
                break;
            font = makeFont();
            haveFont = true;
        }
        GLuint list = ReserveLists(1);
        if (list == 0) {
            outOfIds = true;
            break;
        }
        CompileGlyph(list, font, ch);
        cache.SetAt(ch, WORD(list));
        result += char16_t(list);
    }
    if (outOfIds)
        HxMessageBoxLater(u"用字太多，内存不足，有的字符无法显示！", MB_OK);
    return result;
}

void DeleteCache(CMap<WORD, WORD, WORD, WORD>& cache, UINT base) {
    POSITION pos = cache.GetStartPosition();
    while (pos) {
        WORD ch = 0, id = 0;
        cache.GetNextAssoc(pos, ch, id);
        if (!InBlock(base, id))
            glDeleteLists(id, 1);
    }
    cache.RemoveAll();
}
} // namespace

CString GetLabelGlyphLists(const CString& text) {
    return LookUpGlyphs(g_labelGlyphCache, text, LabelNewCharFont);
}
CString GetTextGlyphLists(const CString& text) {
    return LookUpGlyphs(g_textGlyphCache, text, TextNewCharFont);
}
CString GetButtonGlyphLists(const CString& text) {
    return LookUpGlyphs(g_buttonGlyphCache, text, ButtonFont);
}

void HxButtonCaptionExtent(const CString& text, int& width, int& height) {
    const QFontMetrics metrics(ButtonFont());
    width = metrics.horizontalAdvance(text.ToQString());
    height = metrics.height();
}

bool HxReserveGlyphBlocks() {
    if (!HxMakeGlCurrent())
        return false;
    if (g_labelGlyphBase == 0)
        g_labelGlyphBase = ReserveLists(kBlockSize);
    if (g_textGlyphBase == 0)
        g_textGlyphBase = ReserveLists(kBlockSize);
    if (g_labelGlyphBase == 0 || g_textGlyphBase == 0)
        return false;
    for (int i = 0; i < kBlockSize; ++i) {
        g_labelGlyphCache.SetAt(WORD(kFirstBlockChar + i), WORD(g_labelGlyphBase + i));
        g_textGlyphCache.SetAt(WORD(kFirstBlockChar + i), WORD(g_textGlyphBase + i));
    }
    return true;
}

void BuildFontLists() {
    if (!HxMakeGlCurrent())
        return;
    const int h = g_labelFontHeight;
    if (g_labelGlyphBase != 0) {
        QFont ascii = HxCreateFont(g_labelFontName, h, 700, false);
        for (int i = 0; i < kBlockSize; ++i)
            CompileGlyph(g_labelGlyphBase + i, ascii, char16_t(kFirstBlockChar + i));
        QFont letters = HxCreateFont(g_labelFontName, h, 700, true);
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            CompileGlyph(g_labelGlyphBase + c - kFirstBlockChar, letters, c);
        for (char16_t c = u'a'; c <= u'z'; ++c)
            CompileGlyph(g_labelGlyphBase + c - kFirstBlockChar, letters, c);
        QFont digits = HxCreateFont(g_labelFontName, int(0.75 * h), 700, false);
        for (char16_t c = u'0'; c <= u'9'; ++c)
            CompileGlyph(g_labelGlyphBase + c - kFirstBlockChar, digits, c);
    }
    if (g_labelGlyphCache.GetCount() > kBlockSize) {
        QFont other = HxCreateFont(g_labelFontName, h, 700, false);
        POSITION pos = g_labelGlyphCache.GetStartPosition();
        while (pos) {
            WORD ch = 0, id = 0;
            g_labelGlyphCache.GetNextAssoc(pos, ch, id);
            if (!InBlock(g_labelGlyphBase, id))
                CompileGlyph(id, other, ch);
        }
    }
}

void BuildCaptionFontLists() {
    QFont font = HxCreateFont(g_textFontName, g_fontHeight, 700, false);
    if (HxMakeGlCurrent()) {
        POSITION pos = g_textGlyphCache.GetStartPosition();
        while (pos) {
            WORD ch = 0, id = 0;
            g_textGlyphCache.GetNextAssoc(pos, ch, id);
            CompileGlyph(id, font, ch);
        }
    }
    QFontMetrics fm(font);
    const QString sample = QString::fromUtf16(kMetricSample);
    g_textCharWidth = fm.horizontalAdvance(sample) / kMetricSampleLength;
    g_textLineHeight = fm.height() + 3;
}

void HxReleaseGlyphCaches() {
    if (HxMakeGlCurrent()) {
        DeleteCache(g_labelGlyphCache, g_labelGlyphBase);
        DeleteCache(g_textGlyphCache, g_textGlyphBase);
        DeleteCache(g_buttonGlyphCache, 0);
        if (g_labelGlyphBase != 0)
            glDeleteLists(g_labelGlyphBase, kBlockSize);
        if (g_textGlyphBase != 0)
            glDeleteLists(g_textGlyphBase, kBlockSize);
    } else {
        // Without the context its lists are gone with it.
        g_labelGlyphCache.RemoveAll();
        g_textGlyphCache.RemoveAll();
        g_buttonGlyphCache.RemoveAll();
    }
    g_labelGlyphBase = 0;
    g_textGlyphBase = 0;
    GlyphReaches().clear();
}

void DrawGlyphString(const CString& glyphs) {
    if (glyphs.IsEmpty() || !HxHasCurrentGlContext())
        return;
    glCallLists(glyphs.GetLength(), GL_UNSIGNED_SHORT, glyphs.GetString());
}

bool HxGlyphStringReach(const CString& glyphs, double& left, double& bottom, double& right, double& top) {
    const auto& reaches = GlyphReaches();
    double penX = 0.0, penY = 0.0;
    bool any = false;
    for (int i = 0; i < glyphs.GetLength(); ++i) {
        const auto found = reaches.find(GLuint(glyphs[i]));
        if (found == reaches.end())
            return false;
        const GlyphReach& g = found->second;
        const double x0 = penX + g.x0, y0 = penY + g.y0, x1 = penX + g.x1, y1 = penY + g.y1;
        left = any ? std::min(left, x0) : x0;
        bottom = any ? std::min(bottom, y0) : y0;
        right = any ? std::max(right, x1) : x1;
        top = any ? std::max(top, y1) : y1;
        any = true;
        penX += g.moveX;
        penY += g.moveY;
    }
    return any;
}

bool HxRasterPosForGlyphs(double x, double y, double z, const CString& glyphs) {
    // The reach is looked up only for an anchor outside the view.
    glRasterPos3d(x, y, z);
    GLint valid = 0;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid)
        return true;
    double left, bottom, right, top;
    return HxGlyphStringReach(glyphs, left, bottom, right, top) &&
           HxRasterPosReaching(x, y, z, left, bottom, right, top);
}

void HxSetFormulaMonochromeRenderer(HxFormulaMonochromeRenderer renderer) {
    FormulaRenderer() = std::move(renderer);
}

CString BuildTextBitmapLists(const CString& text, UINT& listPair, int& height, int n) {
    const int len = text.GetLength();
    if (len == 0 || text[0] != u'<' || text[len - 1] != u'>')
        return GetTextGlyphLists(text);
    if (!HxMakeGlCurrent())
        return CString();
    if (listPair == 0) {
        listPair = ReserveLists(2);
        if (listPair == 0) {
            HxMessageBoxLater(u"本文档用字太多，内存不足，此文本无法显示！", MB_OK);
            return CString();
        }
    }
    CMonochromeFormula picture;
    if (!FormulaRenderer() || !FormulaRenderer()(text, picture) || picture.width <= 0 || picture.height <= 0)
        return CString();
    const size_t rowBytes = size_t((picture.width + 31) / 32 * 4);
    if (picture.bits.size() < rowBytes * size_t(picture.height))
        return CString();
    height = picture.height;

    const float fontHeight = float(g_fontHeight);
    const float lift = float(picture.height - picture.baseline) - 0.3f * fontHeight;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glNewList(listPair, GL_COMPILE);
    glBitmap(picture.width, picture.height, 0.0f, 0.0f, float(picture.width), lift, picture.bits.data());
    glEndList();
    glPopClientAttrib();
    GlyphReaches()[listPair] = GlyphReach{0, 0, picture.width, picture.height, float(picture.width), lift};

    const float u = g_unitLength;
    const float w = u * float(picture.width);
    const float y1 = (float(picture.height - picture.baseline) - 0.3f * fontHeight - 0.2f * fontHeight) * u;
    glNewList(listPair + 1, GL_COMPILE);
    glRectf(0.0f, 0.0f, w, u * float(picture.height));
    glRectf(w, y1, 3.6f * float(n) + w, u * float(g_textLineHeight) + y1);
    glEndList();
    return CString(char16_t(listPair));
}

long HxGlyphListBuildCount() {
    return g_glyphBuildCount;
}
