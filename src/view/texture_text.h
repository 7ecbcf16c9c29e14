// Textured glyphs: every character of a 64 x 64 alpha cell in one texture (the glyph atlas), drawn
// as quads that turn and scale with the scene (labels facing the viewer, texts in a plane of
// constant z).  The texture gives the coverage, the colour comes with each label.  Labels drawn
// while a batch is open wait in arrays and go out with one bind and one call when it closes.
#pragma once

#include "platform/afx.h"

#include <QFont>

#include <vector>

// One character's place in the atlas and its metrics in the 64-pixel font.
struct CharInfo {
    int m_cell = 0;     // atlas cell, row by row from the bottom left
    float m_width = 0;  // advance
    float m_height = 0; // cell height (ascent plus descent)
    int m_abcA = 0;     // space before the black box
    UINT m_abcB = 0;    // width of the black box
    int m_abcC = 0;     // space after it
};

using CGlyphInfoMap = CMap<WORD, WORD, CharInfo*, CharInfo*>;

class CTextrueText {
public:
    // At most this many glyphs; on demand they are made only while fewer than kTextureCount - 1 are.
    static constexpr int kTextureCount = 512;
    static constexpr int kGlyphSize = 64;
    // A cell holds a glyph with a one-texel border on every side repeating the glyph's opposite
    // edge, so that filtering at the quad's edges reads what a repeating texture of its own would.
    static constexpr int kCellSize = kGlyphSize + 2;
    static constexpr int kAtlasWidth = 2048;
    static constexpr int kAtlasColumns = kAtlasWidth / kCellSize;

    // Makes the atlas and builds the prepared glyph sets; needs an OpenGL context (without one, no
    // glyph is ever built and nothing is drawn).
    CTextrueText();
    virtual ~CTextrueText();
    CTextrueText(const CTextrueText&) = delete;
    CTextrueText& operator=(const CTextrueText&) = delete;

    // The string as quads facing the viewer, starting at the world point (x, y, z), in the colour
    // rgba (0 to 1 each).
    void DrawLabel(const CString& text, float x, float y, float z, const float* rgba);
    // The rectangle a label drawn now with DrawLabel covers, as its four world corners (lower left,
    // lower right, upper right, upper left); characters without a glyph yet count as a wide
    // letter.  Needs no OpenGL.
    void LabelCorners(const CString& text, float x, float y, float z, float corners[4][3]) const;
    // The string as quads in the plane z = g_textPenZ from the pen, which stays advanced, in the
    // current colour.
    void DrawTextQuad(const CString& text);
    // The same with every character in the CJK font's shapes and digits at full size.
    void DrawTextQuad2(const CString& text);

    // Labels drawn between these wait and are drawn together when the outermost batch ends, in the
    // OpenGL state of that moment; the current colour is then that of the last label.
    void BeginBatch();
    void EndBatch();
    // Draws the quads waiting in an open batch now, in the present matrices; the batch stays open.
    // Items that change the modelview inside a pass (screen-anchored texts) call it before and
    // after their own quads, so that every quad goes out with the matrix it was made for.
    void FlushWaiting();

    // Renders ch in `font` into the next free atlas cell and enters it in `target`; the existing
    // record when ch is there already; null when every cell is used.
    CharInfo* AddGlyph(char16_t ch, CGlyphInfoMap& target, const QFont& font);

    int GetUsedTextureCount() const { return m_usedCells; }
    bool HasTextures() const { return m_atlas != 0; }
    UINT GetAtlasTexture() const { return m_atlas; }
    int GetAtlasHeight() const { return m_atlasHeight; }

    CGlyphInfoMap m_latinGlyphs; // letters bold italic; digits and a few signs bold upright
    CGlyphInfoMap m_otherGlyphs; // signs, Greek and Chinese, upright

    // The prepared glyph sets.
    static const char16_t* const kItalicLetters;
    static const char16_t* const kUprightLatin;
    static const char16_t* const kSignsAndGreek; // 136 characters
    static const char16_t* const kChinese;       // 94 characters

private:
    // The glyph of ch for a label or text quad: the Latin map, then the other map, then built in the
    // CJK font while cells remain (fewer than 511 used).  Null when it cannot be had.
    CharInfo* FindOrBuild(char16_t ch, bool latinFirst);
    // Appends the quads of text to the waiting arrays; the pen's end in `end` when given.
    void AddQuads(const CString& text, const float* start, const float* right, const float* up, float scale,
                  bool smallDigits, bool latinFirst, const float* rgba, float* end);
    // Draws the waiting quads with one bind and one call and empties the arrays.
    void Flush();
    // Makes the atlas at least `height` texels high, its glyphs kept.
    bool GrowAtlas(int height);

    UINT m_atlas = 0;
    int m_atlasHeight = 0;
    std::vector<BYTE> m_atlasTexels; // what the atlas texture holds, rows bottom-up
    int m_usedCells = 0;
    int m_batchDepth = 0;
    std::vector<float> m_vertices;  // x, y, z per corner
    std::vector<float> m_texCoords; // s, t per corner
    std::vector<float> m_colors;    // r, g, b, a per corner
};

// The view's textured glyphs, made with its context.
extern CTextrueText* g_pTextureText;
// The pen of the text quads (world units) and the height of their font in pixels.
extern float g_textPenX;
extern float g_textPenY;
extern float g_textPenZ;
extern float g_textQuadHeight;

// Lets the cells draw their name labels: the label glyph cache and the textured glyphs of
// g_pTextureText become the label renderers (the view calls this once both exist).
void HxInstallLabelRenderers();
