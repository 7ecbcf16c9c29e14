// The screen-anchored text cells: the text line, the scalar value every measurement derives from,
// the user parameter with its slider and the vector item; and the picture and formula text items
// (bitmap texts, pictures and formula texts, free or following a point).
#pragma once

#include "model/cell.h"
#include "view/gl_context.h"

#include <initializer_list>
#include <vector>

// A screen-anchored line of text in the plane z = -50 in front of the camera: it follows panning,
// not rotation or zoom, and is neither drawn nor picked in three-view mode.  Its members:
//   m_labelPos[0..1]  the anchor, in drawing units;
//   m_style           1: formula display (the name's markup rendered as a picture, then the
//                     text), else plain display (name, " = ", text as textured quads);
//   m_labelHidden     non-zero: the name is not shown, only the text;
//   m_size            the precision step of numbers: 1 whole numbers, 0.1 one decimal, ...;
//   m_param1          the value (radians for angles); m_param4 17;
//   m_extA1           2: the value is an angle (shown in degrees with "°");
//   m_extA2           the number of text lines the rendered name takes (at least 1);
//   m_text3           the name in formula markup;
//   m_flag2           the name or its markup changed: the picture is rendered again when drawn;
//   m_text2           the glyph string the item is drawn with (display-list ids, not stored).
// OpenGL lists are made only while drawing, with the view's context current; constructing,
// loading, recomputing and destroying an item need no context.
class CGTextmap : public CGCell {
    DECLARE_SERIAL(CGTextmap)
public:
    CGTextmap(); // name "Text", value colour, precision 0.01, one line, label shown
    ~CGTextmap() override;

    // The common record, then m_text.
    void Serialize(CArchive& ar) override;
    void DrawOnTop() override;
    CString GetDescription() override; // "单行文本"

    // The drag of the arrow tool: the anchor moves by the last mouse movement (g_mouseDX,
    // g_mouseDY) times g_unitLength, up on the screen for an upward movement, and the page's
    // text-placement cursor follows it so that the next new text item comes below this one.
    virtual void MoveByMouse();

    // The name part of the plain display: the name and " = ", or nothing when the name is empty or
    // hidden.
    CString PlainNamePart() const;
    // The number of glyphs of the glyph string the item is drawn with (the width of its pick area
    // in characters): the picture and the text in the formula display, else the name part and the
    // text.
    int GlyphCount() const;
    // The base of the item's two display lists (the rendered name and its frame), 0 while none
    // exists in the current context.
    GLuint ListBase() const { return m_lists.Base(); }
    // True while the glyph string waits to be built (by the next drawing).
    bool GlyphsPending() const { return m_glyphsStale || m_flag2; }

    CString m_text; // the text that is shown

protected:
    // Whether the glyph string starts with the rendered name (the formula display with the name
    // shown), and the frame kind of the rendered name (0 a single line, 1 a value, 3 a vector).
    virtual bool FormulaGlyphs() const { return m_style == 1 && m_labelHidden == 0; }
    virtual int FrameKind() const { return 1; }
    // Builds the glyph string, and renders the name's markup into the item's lists when it changed
    // or the lists belong to a context that has gone; the view's context must be current.
    void BuildGlyphs();
    // The start of every drawing and pick of the item: false (nothing to do) when it is hidden or
    // the page is in three-view mode; else the screen matrix (identity moved by the pan) is pushed
    // and the glyph string is ready.  EndScreen pops it again.
    bool BeginScreen();
    void EndScreen();
    // The text at the anchor: from the glyph string at the raster position (x, y, -50) when
    // `fromGlyphs`, else as textured quads in the label font's size.
    void DrawTextAtAnchor(bool fromGlyphs);
    // The item's colour: the selection's when selected or highlighted (only while cells use their
    // own colours).
    void ApplyTextColor() const;
    // The pick area of the text under class `pickClass`: the rendered frame in the formula
    // display, else a quad one line high and `chars` characters wide.
    void PickText(unsigned pickClass, int chars);
    // The rendered frame at the anchor, when the item shows a rendered name; false otherwise.
    bool PickFrame();
    // Whether the page is shown as three views (screen items then neither draw nor pick).
    static bool InThreeView();

    // The shared first steps of a measurement's or vector's constructor: the id, the place of a
    // new text item on the current page, the parents linked in order.
    void Construct(WORD id, std::initializer_list<WORD> parents);
    // Parent i as class T, or null when it is missing or of another class.
    template <class T> T* Parent(int i) const {
        return i < m_parents.GetSize() ? DYNAMIC_DOWNCAST(T, HxFindCell(m_parents[i])) : nullptr;
    }
    // The current name of parent i (empty when it is missing), and its name in markup.
    CString ParentName(int i) const;
    CString ParentMarkup(int i) const;
    // The name and its markup, unless the name is fixed.
    void SetNames(const CString& name, const CString& markup);

    bool m_glyphsStale = true;   // m_text2 does not follow m_text yet
    bool m_pictureMade = false;  // the lists hold a rendered name
    unsigned m_glyphContext = 0; // the context generation m_text2's ids belong to
    CString m_nameGlyphs;        // the glyph string's part for the name
    CHxGlLists m_lists;          // base: the rendered name; base + 1: its frame
};

// A plain single line of text.
class CGTmSingleline : public CGTextmap {
    DECLARE_SERIAL(CGTmSingleline)
public:
    // Valid items only, in pick mode 3 (everything), under class 7.
    void DrawForPick(int mode) override;

protected:
    int FrameKind() const override { return 0; }
};

// The base of every scalar value (measurements, parameters, calculations): m_param1 holds the
// value, formatted into m_text by the precision step and the angle mode.
class CGTmVariable : public CGTextmap {
    DECLARE_SERIAL(CGTmVariable)
public:
    // The record of CGTextmap; a loaded item is drawn as its stored text until recomputed.
    void Serialize(CArchive& ar) override;
    // The value text for the display chosen by the style alone (" =" before a valid value, " = ? "
    // for an invalid one in the formula display); the picture is rendered again when next drawn.
    void UpdateName() override;
    // Unless hidden or in three-view mode, and not in pick mode 2: class 6 over the text.
    void DrawForPick(int mode) override;

    // The value text: in the formula display with the name shown " =" and the number (the number
    // alone for an empty name), "? " or " = ? " while invalid; in the plain display the number or
    // "? ".  Every measurement's Recompute ends with it.
    virtual void FormatValue();

    // The number as shown: the format FormatNumberAuto chooses for the value and the precision
    // step; an angle (angle mode 2) in degrees followed by "°".
    static CString FormatNumber(float value, float step, bool angle);
    CString ValueNumber() const { return FormatNumber(m_param1, m_size, m_extA1 == 2); }

    // The angle measurements' own text: "= " and the degrees in the formula display, else the
    // degrees alone; the value is then valid.
    void FormatAngle();

protected:
    bool FormulaGlyphs() const override { return m_formulaGlyphs; }
    // The text changed: the glyph string follows at the next drawing, starting with the rendered
    // name when `formula` is true.
    void TextChanged(bool formula) {
        m_formulaGlyphs = formula;
        m_glyphsStale = true;
    }
    // The value computed: stores it and makes the item valid; or, with `ok` false, makes it
    // invalid and keeps the old value; then FormatValue.
    void SetValue(bool ok, double value);

    bool m_formulaGlyphs = false; // chosen by the last formatting
};

// A parameter the user sets, with a slider below its text when its kind byte is 1.  The value is
// m_param1, the slider's range m_param2 to m_param3, integer mode m_extA1 = 1 (the value then
// moves in whole steps through the unrounded accumulator m_extA3).  It has no parents.
class CGTmVarParameter : public CGTmVariable {
    DECLARE_SERIAL(CGTmVarParameter)
public:
    CGTmVarParameter() = default;
    // Named `name`, worth `value`, placed as a new text item of the current page.
    CGTmVarParameter(WORD id, const CString& name, float value);

    void Recompute() override;  // FormatValue (invalid only while the value is no number)
    void SyncVertex() override; // FormatValue
    // The text from its glyph string in either display, and the slider (track and knob).
    void DrawOnTop() override;
    // The text under class 6 and the knob under class 13.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "自定义参数：" + name

    // The knob dragged by g_mouseDX pixels: the 100-unit track spans the range, so the value moves
    // by (maximum - minimum) x dx / 100 (whole values in integer mode, through the accumulator) and
    // stays within the range.  Nothing without a slider.
    virtual void DragSlider();

    bool HasSlider() const { return m_kind == 1; }
    // A range of no width (maximum - minimum <= 1e-6) becomes 0 to 10, in the record too.
    void RepairRange();
    // Where the knob stands on the track, 0 to 1.
    float SliderFraction() const;

    // The slider's range, mode and accumulator under the names the view and the buttons use.
    float& m_minimum = m_param2;
    float& m_maximum = m_param3;
    int& m_integerMode = m_extA1;
    float& m_accumulator = m_extA3;
};

// A vector item: x, y, z, (1, 0, 0) after construction; m_extA1 0 shows three components, any
// other value two.  Every recomputation also copies x into the value m_param1.
class CGTmVector : public CGTextmap {
    DECLARE_SERIAL(CGTmVector)
public:
    CGTmVector();

    // The common record, then x, y, z (the text is not stored: the first recomputation makes it).
    void Serialize(CArchive& ar) override;
    // The formula display: its text ("=(" ...) and the picture rendered again when next drawn; the
    // plain display: FormatValue.
    void UpdateName() override;
    // Unless hidden or in three-view mode, in pick mode 3: class 6 over the text.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "向量：" + name

    // The components into m_text: "(x, y, z)", "=(" ... in the formula display, "( ?, ?, ?)" while
    // invalid; each component with its own format.
    virtual void FormatValue();
    CString ComponentsText(bool formula) const;
    bool TwoComponents() const { return m_extA1 != 0; }

    float m_vx = 1.0f;
    float m_vy = 0.0f;
    float m_vz = 0.0f;

protected:
    int FrameKind() const override { return 3; }
    // The vector's constructor steps: Construct and a first UpdateName.
    void ConstructVector(WORD id, std::initializer_list<WORD> parents);
    // The components computed (valid) or not (invalid, the last ones kept); then FormatValue.
    void SetVector(bool ok, double x, double y, double z);
    bool FormulaGlyphs() const override { return m_style == 1; }
};

// Declares a measurement or vector class: the constructor from the new id and the parents in
// order, and the three operations each of them gives (name, value, description).
#define HX_DECLARE_TEXT_ITEM(c, base, ...)                                                                   \
    class c : public base {                                                                                  \
        DECLARE_SERIAL(c)                                                                                    \
    public:                                                                                                  \
        c() = default;                                                                                       \
        c(WORD id, __VA_ARGS__);                                                                             \
        void UpdateName() override;                                                                          \
        void Recompute() override;                                                                           \
        CString GetDescription() override;                                                                   \
    };

// ---------------------------------------------------------------------------------------------
// Bitmap texts, pictures and formula texts: pictures held in the item and drawn with OpenGL raster
// operations or as a texture.  The label anchor's x and y are the picture's lower left corner in
// the plane z = -50 in front of the camera; it follows panning, not rotation or zoom.

// A text rendered into a one-bit bitmap, fixed to the screen: rows of BitmapRowBytes(width)
// bytes from the bottom row up, the most significant bit leftmost.  The object colour is the
// text's, the label colour that of an offset copy behind it (shown unless the label is hidden).
// The kind byte tells where the text came from: 0 a plain bitmap text, 4 a formula colour text,
// any other value a rich text.
class CGTextbit : public CGCell {
    DECLARE_SERIAL(CGTextbit)
public:
    // The largest picture a record may hold: a side of kMaxSide pixels and kMaxBytes bytes.
    // Larger sizes in a file are damage, refused as a damaged archive.
    static constexpr int kMaxSide = 32768;
    static constexpr long long kMaxBytes = 256LL * 1024 * 1024;

    // Anchor (-5, 5), the bitmap text colour, name "BText", no picture.
    CGTextbit();
    // A text of width x height pixels (the item keeps the bits), centred across the screen at a
    // random height between -4 and 4.
    CGTextbit(WORD id, int width, int height, std::vector<BYTE> bits);

    // The common record, width, height, then the bitmap's bytes.
    void Serialize(CArchive& ar) override;
    // The offset copy in the label colour, the text in the object colour and, when selected, a
    // frame; shown and valid items with bits only, never in three-view mode.
    void DrawOnTop() override;
    // From pick mode 3, under class 7: a quad over the text.
    void DrawForPick(int mode) override;
    // "位图文本：宽*高=%d*%d", "可编辑MTF彩图文本：..." or "可编辑RTF单色位图文本：..." by the kind.
    CString GetDescription() override;

    // The drag of the arrow tool: the anchor moves by the last mouse movement times g_unitLength.
    virtual void MoveByMouse();

    // Bytes of one row of a one-bit bitmap, ((width + 31) / 32) x 4, and of a picture's row of red,
    // green and blue, ((width + 1) x 3 / 4) x 4.
    static long long BitmapRowBytes(long long width) { return (width + 31) / 32 * 4; }
    static long long PictureRowBytes(long long width) { return (width + 1) * 3 / 4 * 4; }
    // Bytes of one row of an RGBA picture (formula texts): 4 x width.
    static long long RgbaRowBytes(long long width) { return 4 * width; }

    int m_width = 0;  // pixels
    int m_height = 0; // pixels
    std::vector<BYTE> m_bits;
    // A text made to follow a point hides the point's label; this is whether that label was hidden
    // before (-1 for every other text).  Kept in memory only, so that undoing the text's insertion
    // can give the label back.
    int m_pointLabelBefore = -1;

protected:
    // Width, height and rowBytes(width) x height bytes, stored or loaded (no bytes when a side is 0
    // or less).  Loading refuses negative sizes and pictures beyond the limits above.
    using RowBytesFn = long long (*)(long long width);
    void SerializePicture(CArchive& ar, RowBytesFn rowBytes);
    // The start of every drawing and pick in the screen plane: false when the item is hidden,
    // invalid or the page shows three views; else the screen matrix (identity moved by the pan,
    // with z and the zoom when asked) is pushed.  EndScreen pops it.
    bool BeginScreen(bool withDepth = false, bool withZoom = false);
    void EndScreen();
};

// A bitmap text that follows a point (its parent): drawn at the point in the scene, recomputed
// from it, not dragged itself.  x, y, z are the point's position as last computed.
class CGTbHenchman : public CGTextbit {
    DECLARE_SERIAL(CGTbHenchman)
public:
    CGTbHenchman() = default;
    // Follows `pointId`, whose name label it hides (the text takes its place).
    CGTbHenchman(WORD id, int width, int height, std::vector<BYTE> bits, WORD pointId);

    // The CGTextbit record, then x, y, z.
    void Serialize(CArchive& ar) override;
    // The point's position, valid while the point is.
    void Recompute() override;
    // The bitmap at the point, in the selection colour while selected.
    void DrawOnTop() override;
    // A quad at the point's place in eye space, under class 7.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "随点%s的文本"
    void MoveByMouse() override {}

    float m_px = 0.0f;
    float m_py = 0.0f;
    float m_pz = 0.0f;
};

// A colour picture fixed to the screen: rows of PictureRowBytes(width) bytes of red, green, blue
// from the bottom row up, shown with the horizontal and vertical zoom factors m_param2 and m_param3
// (negative factors mirror it); the view's resize handle changes them.
class CGTbImage : public CGTextbit {
    DECLARE_SERIAL(CGTbImage)
public:
    CGTbImage(); // zoom factors 1, 1, name "Img"
    // A picture of width x height pixels; the item keeps the pixels.
    CGTbImage(WORD id, int width, int height, std::vector<BYTE> pixels);

    // The common record (with the zoom factors), width, height, then the pixels.
    void Serialize(CArchive& ar) override;
    // The pixels at the anchor with the zoom factors; when selected a frame and the resize handle.
    void DrawFill() override;
    void DrawOnTop() override {}
    // From pick mode 3: the picture under class 7, and while selected its handle under class 12.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "原始大小：宽*高=%d*%d"

    // The far corner of the picture from the anchor, in world units (negative with a mirroring
    // factor).
    float SpanX() const;
    float SpanY() const;

    float& m_scaleX = m_param2;
    float& m_scaleY = m_param3;
};

// A formula text: its markup rendered by the formula engine into an RGBA picture (in m_width,
// m_height and m_bits, bottom row first) in the object colour on its own background, whose alpha
// is the object colour's alpha byte.  Shown as pixels of fixed size (texture mode 0) or as a
// texture on a quad that zooms with the view (texture mode 1, the automatic scaling).  The texture
// is made at draw time with the view's context current and released through the deletion queue.
class CGTbMtfText : public CGTextbit {
    DECLARE_SERIAL(CGTbMtfText)
public:
    // No markup, alpha 0, scale 1, texture mode 0, name "MTF彩色数学文本".
    CGTbMtfText();
    // The formula rendered at once; centred across the screen at a random height.
    CGTbMtfText(WORD id, const CString& markup, COLORREF background, int textureMode);

    // The common record, the markup, background, scale, texture mode, the two reserved fields and,
    // while the document keeps formula pictures (g_storeMtfImages), width, height and the RGBA
    // pixels.  A record without pixels renders them again when loaded.
    void Serialize(CArchive& ar) override;
    // At the anchor: a frame while selected, then the texture (texture mode) or the pixels.
    void DrawOnTop() override;
    // From pick mode 3, under class 7: a quad over the picture.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "彩色数学文本：宽*高=%d*%d"

    // The picture rendered again from the markup with the present colours; a texture follows at the
    // next drawing (into the same texture name).
    void UpdateTexture();
    // Forgets the picture and releases the texture.
    void FreeTexture();
    // Whether a texture of the picture exists in the view's context.
    bool HasTexture() const { return m_texture.IsValid(); }
    // The texture name while one exists (0 otherwise).
    GLuint TextureName() const { return m_texture.Name(); }

    CString m_markup;
    COLORREF m_background = RGB(255, 255, 255);
    float m_scale = 1.0f;
    int m_textureMode = 0;
    int m_reserved = 0;
    CString m_reservedText;

protected:
    // The texture bound for drawing, made or filled first when the picture changed; false when
    // there is no picture or no texture could be made.  A context must be current.
    bool BindPictureTexture();
    // The picture as a textured quad from (x0, y0) to (x1, y1) at depth z, and its frame while
    // selected.
    void DrawPictureQuad(float x0, float y0, float x1, float y1, float z);

    CHxGlTexture m_texture;
    bool m_textureStale = true; // the texture does not hold the picture yet
};

// A formula text attached to a point (its parent): drawn as a texture at the point's place on the
// screen, keeping its size relative to the zoom; recomputed from the point, not dragged itself.
class CGTbMhc : public CGTbMtfText {
    DECLARE_SERIAL(CGTbMhc)
public:
    CGTbMhc() = default;
    // Follows `pointId`, whose name label it hides; always in texture mode; name "附点彩文".
    CGTbMhc(WORD id, const CString& markup, COLORREF background, WORD pointId);

    // The CGTbMtfText record, then x, y, z.
    void Serialize(CArchive& ar) override;
    void Recompute() override;
    void DrawOnTop() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "附点%s的MTF彩色数学文本"
    void MoveByMouse() override {}

    float m_px = 0.0f;
    float m_py = 0.0f;
    float m_pz = 0.0f;
};

// The undo and redo of adding a cell: a text that hid its point's label when it was made gives the
// label back as it was when the text is taken out, and hides it again when the text is put back
// (the point must be in the page).  Nothing for any other cell.
void HxRestoreFollowedLabel(CGCell& cell);
void HxHideFollowedLabel(CGCell& cell);

// Where a point of the scene stands in eye space under the modelview the view kept for the frame
// (g_modelviewMatrix), after the homogeneous divide; false when the point lies in the camera's
// plane (w near 0), where it has no place.
bool HxEyePosition(float x, float y, float z, float eye[3]);
