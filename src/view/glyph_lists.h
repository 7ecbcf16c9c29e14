// Bitmap glyph display lists: one list per character, cached per font, drawn at the raster position
// with glCallLists.  A glyph string is a CString whose characters are display-list ids.  Also the
// two lists of a formula-markup text, typeset by the formula engine into a 1-bit picture.
#pragma once

#include "platform/afx.h"

#include <functional>
#include <vector>

// Character code to display-list id, per font.
extern CMap<WORD, WORD, WORD, WORD> g_labelGlyphCache;  // label font, bold
extern CMap<WORD, WORD, WORD, WORD> g_textGlyphCache;   // text font
extern CMap<WORD, WORD, WORD, WORD> g_buttonGlyphCache; // button captions
// First ids of the label and text blocks of 96 lists holding the characters 32 to 127, 0 when none.
extern UINT g_labelGlyphBase;
extern UINT g_textGlyphBase;
// Metrics of the text font, set by BuildCaptionFontLists.
extern int g_textCharWidth;
extern int g_textLineHeight;

// The glyph string of `text` in each cache; missing characters get a list each, built at once.
// Stops at the first character no list id can be found for (the rest of the text is not shown and a
// message says so), or when no OpenGL context can be made current.
CString GetLabelGlyphLists(const CString& text);
CString GetTextGlyphLists(const CString& text);
CString GetButtonGlyphLists(const CString& text);
// The extent of a button caption in the button font, in pixels: its advance and the font's height.
void HxButtonCaptionExtent(const CString& text, int& width, int& height);

// Reserves the two blocks of 96 lists and enters the characters 32 to 127 in the label and text
// caches (character c -> block + c - 32).  The lists get their glyphs from BuildFontLists and
// BuildCaptionFontLists.  False when no block could be reserved.
bool HxReserveGlyphBlocks();
// Build again every glyph of the label cache (ASCII bold, letters bold italic, digits at three
// quarters of the height, and, when more than 96 characters are cached, every other character) and
// of the text cache, after the preference fonts changed.  The second also measures the text font.
void BuildFontLists();
void BuildCaptionFontLists();
// Deletes every list of the three caches and empties them.
void HxReleaseGlyphCaches();

// Calls the lists of a glyph string at the current raster position.
void DrawGlyphString(const CString& glyphs);
// The window pixels a glyph string covers when drawn from a raster position, relative to it: false
// when the string is empty or holds a list not compiled by the functions above.
bool HxGlyphStringReach(const CString& glyphs, double& left, double& bottom, double& right, double& top);
// The raster position for a glyph string at the point (x, y, z): set wherever part of the text lies
// in the view (HxRasterPosReaching over the string's reach), else as glRasterPos sets it.  Whether
// the position is valid.
bool HxRasterPosForGlyphs(double x, double y, double z, const CString& glyphs);

// Text for the view's text lists.  Plain text gives its text-cache glyph string.  Formula markup
// (a text beginning with "<" and ending with ">") is typeset into a 1-bit picture and compiled into
// two consecutive lists kept in `listPair` (reserved when it is 0): the bitmap, and the filled area of
// the picture and of n further text columns; the result is the one-character string of the first
// list, and `height` receives the picture's height.  An empty result draws nothing.
CString BuildTextBitmapLists(const CString& text, UINT& listPair, int& height, int n);

// A formula typeset into a 1-bit picture: rows bottom-up, each padded to a multiple of 4 bytes, most
// significant bit first, a set bit is ink; baseline counted in pixels from the top.
struct CMonochromeFormula {
    std::vector<BYTE> bits;
    int width = 0;
    int height = 0;
    int baseline = 0;
    COLORREF color = 0;
};
// The formula engine installs its renderer; false when the markup gives no picture.
using HxFormulaMonochromeRenderer = std::function<bool(const CString& markup, CMonochromeFormula& out)>;
void HxSetFormulaMonochromeRenderer(HxFormulaMonochromeRenderer renderer);

// Glyph lists compiled since the program started (each glyph built is counted once).
long HxGlyphListBuildCount();
