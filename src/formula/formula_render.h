// Formulas rendered from markup: RGBA pictures for the textures of formula text items and one-bit
// pictures for the formula-markup texts of the view (CBinTree's own pictures are in bin_tree.h).
#pragma once

#include "formula/bin_tree.h"

// Markup rendered in a document of its own (face "宋体", charset 134, height 35) in `color` on
// `background`: RGBA bytes, bottom row first, the background keyed to `alpha`.  Empty when the
// text gives no formula.
std::vector<BYTE> RenderFormulaToBitmap(COLORREF color, COLORREF background, const CString& markup,
                                        BYTE alpha, int* width, int* height);

// Markup rendered in the process-wide formula document with the default face and height given
// (the preference text font), black on white, as a one-bit picture of the full size: rows
// bottom-up, each padded to 4 bytes, most significant bit first, a pixel set when the mean of its
// colour is below 192.  `color` receives the formula's colour (GetTextColor), `baseline` (when
// given) the root's baseline in pixels from the top.  Empty when the text gives no formula.
std::vector<BYTE> RenderFormulaToMonochrome(int* width, int* height, const CString& markup, COLORREF* color,
                                            const CString& face, int fontHeight, int* baseline = nullptr);

// The process-wide document of the one-bit pictures; it keeps the last formula rendered.
CBinTree& HxMonochromeFormulaDocument();

// The largest picture made, in pixels; larger formulas give no picture.
constexpr long long HX_MAX_FORMULA_PIXELS = 64LL * 1024 * 1024;
