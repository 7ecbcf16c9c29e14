// Textured glyphs: one 64 x 64 alpha texture per character, drawn as quads that turn and scale with
// the scene (labels facing the viewer, texts in a plane of constant z).  The colour is the current
// colour; the texture gives the coverage.
#pragma once

#include "platform/afx.h"

#include <QFont>

// One character's texture and metrics in the 64-pixel font.
struct CharInfo {
    UINT m_texture = 0;
    float m_width = 0;  // advance
    float m_height = 0; // cell height (ascent plus descent)
    int m_abcA = 0;     // space before the black box
    UINT m_abcB = 0;    // width of the black box
    int m_abcC = 0;     // space after it
};

using CGlyphInfoMap = CMap<WORD, WORD, CharInfo*, CharInfo*>;

class CTextrueText {
public:
    static constexpr int kTextureCount = 512;
    static constexpr int kGlyphSize = 64;

    // Generates the texture names and builds the prepared glyph sets; needs an OpenGL context (without
    // one, no glyph is ever built and nothing is drawn).
    CTextrueText();
    virtual ~CTextrueText();
    CTextrueText(const CTextrueText&) = delete;
    CTextrueText& operator=(const CTextrueText&) = delete;

    // The string as quads facing the viewer, starting at the world point (x, y, z).
    void DrawLabel(const CString& text, float x, float y, float z);
    // The string as quads in the plane z = g_textPenZ from the pen, which stays advanced.
    void DrawTextQuad(const CString& text);
    // The same with every character in the CJK font's shapes and digits at full size.
    void DrawTextQuad2(const CString& text);

    // Renders ch in `font` into the next free texture and enters it in `target`; the existing record
    // when ch is there already; null when every texture is used.
    CharInfo* AddGlyph(char16_t ch, CGlyphInfoMap& target, const QFont& font);

    int GetUsedTextureCount() const { return m_usedTextures; }
    bool HasTextures() const { return m_haveNames; }

    CGlyphInfoMap m_latinGlyphs; // letters bold italic; digits and a few signs bold upright
    CGlyphInfoMap m_otherGlyphs; // signs, Greek and Chinese, upright

    // The prepared glyph sets.
    static const char16_t* const kItalicLetters;
    static const char16_t* const kUprightLatin;
    static const char16_t* const kSignsAndGreek; // 136 characters
    static const char16_t* const kChinese;       // 94 characters

private:
    // The glyph of ch for a label or text quad: the Latin map, then the other map, then built in the
    // CJK font while textures remain (fewer than 511 used).  Null when it cannot be had.
    CharInfo* FindOrBuild(char16_t ch, bool latinFirst);
    void DrawQuads(const CString& text, const float* start, const float* right, const float* up, float scale,
                   bool smallDigits, bool latinFirst, float* end);

    UINT m_names[kTextureCount] = {};
    int m_usedTextures = 0;
    bool m_haveNames = false;
};

// The view's glyph textures, made with its context.
extern CTextrueText* g_pTextureText;
// The pen of the text quads (world units) and the height of their font in pixels.
extern float g_textPenX;
extern float g_textPenY;
extern float g_textPenZ;
extern float g_textQuadHeight;

// Lets the cells draw their name labels: the label glyph cache and the textured glyphs of
// g_pTextureText become the label renderers (the view calls this once both exist).
void HxInstallLabelRenderers();
