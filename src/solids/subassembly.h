// CGSubassembly: a ready-made component solid (3D text, the regular solids, C60, cylinder, cone,
// frustum, sphere, torus, square, circle, teapot) placed by its centre, axis, spin and scales, cut by
// up to two planes, lit with the view's lighting or its own material and texture, or drawn as wire.
#pragma once

#include "model/cell.h"
#include "view/gl_context.h"

// The kinds (the kind byte), in the order of the kind list.
constexpr int kSubassemblyKindCount = 15;
constexpr BYTE kSubassemblyText = 0;
constexpr BYTE kSubassemblyTetrahedron = 1;
constexpr BYTE kSubassemblyCube = 2;
constexpr BYTE kSubassemblyOctahedron = 3;
constexpr BYTE kSubassemblyDodecahedron = 4;
constexpr BYTE kSubassemblyIcosahedron = 5;
constexpr BYTE kSubassemblyC60 = 6;
constexpr BYTE kSubassemblyCylinder = 7;
constexpr BYTE kSubassemblyCone = 8;
constexpr BYTE kSubassemblyFrustum = 9;
constexpr BYTE kSubassemblySphere = 10;
constexpr BYTE kSubassemblyTorus = 11;
constexpr BYTE kSubassemblySquare = 12;
constexpr BYTE kSubassemblyDisk = 13;
constexpr BYTE kSubassemblyTeapot = 14;
// "3D文字", "正四面体", ... "茶壶": the name a new cell of each kind takes.
extern const char16_t* const g_subassemblyKindNames[kSubassemblyKindCount];

// Pick class of the component solids (with hulls, models and colour modifiers).
constexpr unsigned int kPickClassSubassembly = 11;

class CGSubassembly : public CGCell {
    DECLARE_SERIAL(CGSubassembly)
public:
    // Clip modes.
    static constexpr int kClipNone = 0;
    static constexpr int kClipPlane1 = 1;
    static constexpr int kClipPlane2 = 2;
    static constexpr int kClipBoth = 3;

    // Dynamic creation: the planes (0, 0, 1, 0) and (0, 0, -1, 0), no own material, font "宋体".
    CGSubassembly();
    // A new component: named after its kind, colour (204, 102, 0), the default material, font
    // "宋体".  An axis with all three parts below 0.0001 in size gets -1 as its y part.
    CGSubassembly(WORD id, BYTE kind, BYTE style, int ownMaterial, int texture, int dragLock, float cx,
                  float cy, float cz, float ax, float ay, float az, float spin, float sx, float sy, float sz,
                  int clipMode, const double plane1[4], const double plane2[4]);

    // The common record (the font in its second string), then the placement, the material
    // (interleaved by component), the clip planes, the texture number and the reserved fields.
    // Loading refuses a kind outside 0 to 14, a clip mode outside 0 to 3 and a texture number outside
    // 0 to 15; the glyphs are built again at the next draw.  The drag lock is not stored.
    void Serialize(CArchive& ar) override;
    void DrawVisible() override; // the wire frame, for a style other than 0
    void DrawLit() override;     // lit (own material, texture), for style 0
    void DrawForPick(int mode) override;
    CString GetDescription() override; // the name

    // The shape in its place: translate, orient, spin, the selected cell's axes, the clip planes,
    // scale, colour, shape; the clip planes are switched off again.  A context must be current.
    void DrawShape();
    // Moves the centre to where the mouse ray (g_pickRayNear, g_viewDir*) meets the horizontal plane
    // through it (g_dragKeepZ set) or, with Ctrl, the plane of constant y; nothing when the drag lock
    // or the view's drag lock is on, or when the ray crosses that plane by a part below 10.
    virtual void DragCentre();

    // The rotation that turns the shape's z axis onto the axis: an angle in degrees and the axis it
    // turns about; (0, ...) when none is needed.
    void Orientation(double& degrees, double axis[3]) const;
    // The glyphs of 3D text are built again at the next draw (text, style or font changed).
    void InvalidateGlyphs();
    // The display lists of the shape and of the text go (the kind changed); they are made again at
    // the next draw.
    void DropDisplayLists();
    // Copies every field a dialog edits and the material from another component (the undo of an edit).
    void CopyComponentFields(const CGSubassembly& other);
    // Whether those fields are all the same as another component's.
    bool SameComponentFields(const CGSubassembly& other) const;
    // The own material from the view's current material (g_materialAmbient ...), the flag set.
    void TakeCurrentMaterial();
    // The view's current material from this component's own material.
    void GiveCurrentMaterial() const;
    bool HasGlyphLists() const { return m_glyphLists.IsValid(); }
    bool HasShapeList() const { return m_shapeList.IsValid(); }

    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_spin = 0.0f; // degrees about the shape's own z axis
    float m_axis[3] = {0.0f, 0.0f, 1.0f};
    float m_scale[3] = {1.0f, 1.0f, 1.0f};
    int m_clipMode = kClipNone;
    double m_plane1[4] = {0.0, 0.0, 1.0, 0.0};
    double m_plane2[4] = {0.0, 0.0, -1.0, 0.0};
    int m_ownMaterial = 0; // 0: "外颜色内银灰"; 1: "外定义内颜色"
    float m_ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float m_diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float m_specular[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float m_shininess = 64.0f;
    int m_texture = 0;    // 0 none, 1 to 15 one of the view's textures
    bool m_fixed = false; // the drag lock: the mouse does not move it (not stored)
    int m_reservedInt[2] = {0, 0};
    float m_reservedFloat[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    CString m_reservedText;

private:
    // The kind's shape in its own frame: from its kept list, or drawn directly in a selection pass.
    void DrawUnitShape();
    // The glyphs of 3D text: built into lists when out of date and called, or drawn directly in a
    // selection pass.
    void DrawText();
    // The key of what the kept shape list draws: kind, wire or solid, textured cube or plain.
    int ShapeKey() const;

    CHxGlLists m_glyphLists; // the 16 glyph lists of 3D text; their names are in m_text2
    CString m_glyphText;     // what the glyph lists were built from
    CString m_glyphFont;
    int m_glyphFormat = -1;
    CHxGlLists m_shapeList; // the shape of the other kinds, drawn once into a list
    int m_shapeKey = -1;
};

// The unit shape of a kind other than 3D text in its own frame, solid or wire; a solid cube is the
// textured cube when `texturedCube` is set.
void DrawKindShape(int kind, bool wire, bool texturedCube);
