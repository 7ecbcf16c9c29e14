// The text and value cells as far as the page and the document use them so far: the screen-anchored
// text cell and its value and vector kinds, and the rich-text and formula text items.  Their
// records, layout, drawing and dragging belong to the measurement code and come with it.
#pragma once

#include "model/cell.h"

// A screen-anchored line of text (measurements, single-line texts).  m_size is the display
// precision step, m_style 1 an item drawn from a rendered picture (m_flag2 asks for it to be
// rendered again), m_extA2 the number of rows of a measurement shown in several rows; the label
// anchor's x and y are the item's place on the screen.
class CGTextmap : public CGCell {
    DECLARE_DYNAMIC(CGTextmap)
public:
    CGTextmap();                       // name "Text", text colour, precision 0.01, label shown
    CString GetDescription() override; // "单行文本"

    CString m_text; // the value part that is shown
};

// A plain single line of text.
class CGTmSingleline : public CGTextmap {
    DECLARE_DYNAMIC(CGTmSingleline)
};

// The base of every scalar value (measurements, parameters, calculations); m_param1 holds the value.
class CGTmVariable : public CGTextmap {
    DECLARE_DYNAMIC(CGTmVariable)
};

// A vector item: x, y, z; (1, 0, 0) after construction.
class CGTmVector : public CGTextmap {
    DECLARE_DYNAMIC(CGTmVector)
public:
    float m_vx = 1.0f;
    float m_vy = 0.0f;
    float m_vz = 0.0f;
};

// A rich-text, formula or picture item shown as a picture; the label anchor's x and y are its
// place on the screen.
class CGTextbit : public CGCell {
    DECLARE_DYNAMIC(CGTextbit)
public:
    CGTextbit(); // text colour
};

// A formula text item: its markup (m_text1) rendered on its own background colour.
class CGTbMtfText : public CGTextbit {
    DECLARE_DYNAMIC(CGTbMtfText)
public:
    // Asks for the formula to be rendered again with the item's present colours.  The rendering
    // itself is the item's drawing, which comes with the formula text code; until then this only
    // marks the picture stale (m_flag2).
    void UpdateTexture();

    COLORREF m_background = RGB(255, 255, 255);
    int m_textureMode = 0; // non-zero: drawn as a texture that follows the zoom (always for CGTbMhc)
};

// A formula text attached to a point (its first parent), always drawn as a texture.
class CGTbMhc : public CGTbMtfText {
    DECLARE_DYNAMIC(CGTbMhc)
};
