// Outline glyph display lists for 3D text: each character's outline extruded into a solid in em
// units (em = 1), one list per character including the advance.
#pragma once

#include "platform/afx.h"

#include <vector>

// Output formats: outline loops, or filled front and back faces with the extruded sides.
constexpr int HX_FONT_LINES = 0;
constexpr int HX_FONT_POLYGONS = 1;

// Builds the first 16 characters of `text` in the face `face` (bold) into a block of 16 lists whose
// first id is kept in `base` (the previous block, when base is not 0, is deleted first).  The result
// is the string of the lists used, one per character; empty when no block could be reserved or no
// OpenGL context can be made current.
CString BuildOutlineGlyphLists(UINT& base, const CString& text, const CString& face, int format);
// The same into a block of 16 lists the caller has reserved (a context must be current): the string
// of the lists used; empty when the block's last list name does not fit in 16 bits.
CString CompileOutlineGlyphLists(UINT block, const CString& text, const CString& face, int format);
constexpr int HX_OUTLINE_GLYPH_LISTS = 16;
// The same characters drawn at once, without lists (a context must be current): each character,
// then the move to the next, as the lists do.
void DrawOutlineGlyphs(const CString& text, const CString& face, int format);

// The polygons of one character's outline in em units (y up), as closed loops; its advance in ems.
struct COutlineGlyph {
    std::vector<std::vector<double>> loops; // x0, y0, x1, y1, ...
    double advance = 0;
};
COutlineGlyph HxOutlineGlyph(const CString& face, char16_t ch);
// Whether the filled part of the glyph lies on the left of its loop `loop` as the loop runs (y up):
// counter-clockwise outer loops and clockwise holes.  The extruded sides face the other way.
bool HxOutlineLoopHasSolidOnLeft(const COutlineGlyph& glyph, size_t loop);
