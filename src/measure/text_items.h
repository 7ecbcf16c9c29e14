// The text and value cells as far as the page and the document use them so far: the screen-anchored
// text cell and its value and vector kinds, and the rich-text and formula text items.  Their
// records, layout, drawing and dragging belong to the measurement code and come with it.
#pragma once

#include "model/cell.h"

#include <vector>

// A screen-anchored line of text (measurements, single-line texts).  m_size is the display
// precision step, m_style 1 an item drawn from a rendered picture (m_flag2 asks for it to be
// rendered again), m_extA2 the number of rows of a measurement shown in several rows; the label
// anchor's x and y are the item's place on the screen.
class CGTextmap : public CGCell {
    DECLARE_DYNAMIC(CGTextmap)
public:
    CGTextmap();                       // name "Text", text colour, precision 0.01, label shown
    CString GetDescription() override; // "单行文本"
    // The drag of the arrow tool: the anchor moves by the last mouse movement (g_mouseDX,
    // g_mouseDY) times g_unitLength, up on the screen for an upward movement, and the page's
    // text-placement cursor follows it so that the next new text item comes below this one.
    virtual void MoveByMouse();

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

// A parameter the user sets, with a slider when its kind byte is 1.  Its record, text and drawing
// belong to the measurement code; the view drags its slider knob.
class CGTmVarParameter : public CGTmVariable {
    DECLARE_DYNAMIC(CGTmVarParameter)
public:
    CGTmVarParameter() = default;
    // Named `name`, worth `value`, placed as a new text item of the current page.
    CGTmVarParameter(WORD id, const CString& name, float value);

    // The knob dragged by g_mouseDX pixels: the 100-unit track spans the range, so the value moves
    // by (maximum - minimum) x dx / 100 (whole values in integer mode, through an accumulator) and
    // stays within the range.  Nothing without a slider.
    virtual void DragSlider();

    float m_minimum = 0.0f;
    float m_maximum = 10.0f;
    bool m_integerMode = false;
    float m_accumulator = 0.0f;
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
    // The drag of the arrow tool: the anchor moves by the last mouse movement times g_unitLength.
    virtual void MoveByMouse();
};

// A picture item: its pixel size and the two scale factors it is shown with; the view's scale
// handle changes the factors.
class CGTbImage : public CGTextbit {
    DECLARE_DYNAMIC(CGTbImage)
public:
    CGTbImage() = default;
    // A picture of width x height pixels: rows of red, green and blue bytes from the bottom row up,
    // each row padded to a multiple of 4 bytes.  The item keeps the pixels.
    CGTbImage(WORD id, int width, int height, std::vector<BYTE> pixels);

    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    std::vector<BYTE> m_pixels;
};

// A formula text item: its markup (m_text1) rendered on its own background colour.
class CGTbMtfText : public CGTextbit {
    DECLARE_DYNAMIC(CGTbMtfText)
public:
    // Renders the formula again with the item's present colours into m_texture (the background
    // keyed to the alpha of the object colour) and marks the uploaded texture stale (m_flag2); the
    // upload and the drawing come with the formula text code.
    void UpdateTexture();

    COLORREF m_background = RGB(255, 255, 255);
    // The rendered picture: RGBA bytes, bottom row first (empty when the markup gives no formula).
    std::vector<BYTE> m_texture;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    int m_textureMode = 0; // non-zero: drawn as a texture that follows the zoom (always for CGTbMhc)
};

// A formula text attached to a point (its first parent), always drawn as a texture.
class CGTbMhc : public CGTbMtfText {
    DECLARE_DYNAMIC(CGTbMhc)
};
