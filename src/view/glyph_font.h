// Fonts of the glyph builders: the Windows face names mapped onto the installed families, fonts
// made from a height and weight in the Windows manner, and one character rasterised as a 1-bit
// glyph with its origin and advance.
#pragma once

#include "platform/afx.h"

#include <QFont>

#include <vector>

// Makes Qt draw the faces of HxFaceSubstitutes ("宋体", "黑体", ... onto WenQuanYi Micro Hei, "Times
// New Roman" onto Liberation Serif, ...) with their families.  Idempotent; the glyph builders call it
// before making a font.
void HxInstallFontSubstitutions();

// A font as the glyph tables describe it.  height < 0: character (em) height in pixels; height > 0:
// cell height (ascent plus descent) in pixels; 0: a 16-pixel default.  weight 700 and above is bold.
// Bitmap glyphs are drawn without antialiasing; `antialias` turns it on for texture glyphs.
QFont HxCreateFont(const CString& face, int height, int weight, bool italic, bool antialias = false);

// One character as a 1-bit bitmap for glBitmap: rows bottom-up, most significant bit first, each row
// (width + 7) / 8 bytes with no padding.  The bitmap's lower-left corner lies at (-originX, -originY)
// from the pen, which advances by `advance` pixels.
struct CBitmapGlyph {
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    int advance = 0;
    std::vector<BYTE> bits;
    bool IsSet(int x, int row) const {
        return (bits[size_t(row * ((width + 7) / 8) + x / 8)] >> (7 - x % 8)) & 1;
    }
};
CBitmapGlyph HxRasterizeGlyph(const QFont& font, char16_t ch);
