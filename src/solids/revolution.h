// The fixed solids of revolution: the sphere, the cylinder, the cone and the frustum.  Each holds its
// own position and size, draws its curved surface and its outline in the page's passes in four
// display styles, and is picked as a solid.
#pragma once

#include "model/cell.h"

#include <vector>

// Display styles of a solid of revolution (m_style).
constexpr BYTE kRevStyleOutline = 0;     // "立几模式": the silhouette, dashed where hidden
constexpr BYTE kRevStyleWire = 1;        // "实线网格": a wire mesh without hidden parts
constexpr BYTE kRevStyleLit = 2;         // "光照处理": a lit, optionally textured surface
constexpr BYTE kRevStyleTranslucent = 3; // "半透明材质": translucent by the colour's alpha

// Pick class of the solids of revolution.
constexpr unsigned int kPickClassSolid = 9;

// What a solid draws in its own frame: its silhouette, its wire mesh, its filled (lit, translucent)
// surface, the closed body that hides what lies behind it (drawn slightly smaller), and the filled
// surface it is picked by.
enum class CRevShape { Outline, Wire, Surface, Depth, PickSurface };

// The texture number of a solid of revolution is m_param4: 0 none, 1 to 15 a texture of the view
// (1 to 3 the document's); a number outside is drawn untextured.

class CGSphere : public CGCell {
    DECLARE_SERIAL(CGSphere)
public:
    CGSphere(); // centre (0, 0, 0), radius 5, axis (0, 0, 1)
    // A fixed sphere named "球" in the solid colour; the axis points from the centre to the north
    // pole and orients the mesh and the texture.
    CGSphere(WORD id, float cx, float cy, float cz, float radius, float ax, float ay, float az);

    // The common record, then centre, radius and axis (7 floats); storing counts the document
    // texture it uses.
    void Serialize(CArchive& ar) override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "以（x，y，z）为球心，半径为r.的球"

    // One shape, placed at the centre; the outline is the circle facing the viewer.
    void DrawShape(CRevShape shape, bool textured);

    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_radius = 5.0f;
    float m_axis[3] = {0.0f, 0.0f, 1.0f};

protected:
    void TakeNewLook(); // the name "球" and the solid colour
};

// The fields, the record and the placement the cylinder and the cone share: the base centre, the
// radius, the height along the axis direction, and the unit frame in which the base is the unit
// circle at z = 0 and the top (or apex) lies at z = 1.
struct CRevFrame {
    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_radius = 5.0f;
    float m_height = 10.0f;
    float m_axis[3] = {0.0f, 0.0f, 1.0f}; // only its direction counts; zero leaves the solid unturned
};

class CGCylinder : public CGCell, public CRevFrame {
    DECLARE_SERIAL(CGCylinder)
public:
    CGCylinder(); // base (0, 0, 0), radius 5, height 10, axis (0, 0, 1)
    // A fixed cylinder named "圆柱" in the solid colour.
    CGCylinder(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay,
               float az);

    // The common record, then base centre, radius, height and axis (8 floats).
    void Serialize(CArchive& ar) override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "底面半径r，高h.的圆柱"

    // One shape in the unit frame; the outline is the two generators where the side turns away.
    void DrawShape(CRevShape shape, bool textured);

protected:
    void TakeNewLook();
};

class CGCone : public CGCell, public CRevFrame {
    DECLARE_SERIAL(CGCone)
public:
    CGCone(); // base (0, 0, 0), radius 5, height 10, axis (0, 0, 1)
    // A fixed cone named "圆锥" in the solid colour.
    CGCone(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay, float az);

    // The common record, then base centre, radius, height and axis (8 floats).
    void Serialize(CArchive& ar) override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "底面半径r，高h的圆锥"

    // One shape in the unit frame; the outline is the two lines from the apex that touch the base
    // circle, none when the apex is seen over the base.
    void DrawShape(CRevShape shape, bool textured);

protected:
    void TakeNewLook();
};

class CGFrustum : public CGCell, public CRevFrame {
    DECLARE_SERIAL(CGFrustum)
public:
    CGFrustum(); // base (0, 0, 0), radius 5, top ratio 0.5, height 10, axis (0, 0, 1)
    // A fixed frustum named "圆台" in the solid colour; the top circle's radius is topRatio × radius.
    CGFrustum(WORD id, float cx, float cy, float cz, float radius, float height, float ax, float ay, float az,
              float topRatio);

    // The common record, then base centre, radius, height, axis and top ratio (9 floats).
    void Serialize(CArchive& ar) override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawPlain() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "下底半径r，上底半径kr，高h.的圆台"

    // One shape in the unit frame, tessellated for this call.  Before the outline a top ratio of
    // exactly 1 becomes 0.999 and one of exactly 0 becomes 0.0001, and stays so.
    void DrawShape(CRevShape shape, bool textured);

    float m_topRatio = 0.5f;

protected:
    void TakeNewLook();
};

// ---- Shared by the four classes and their constructed forms ----

// Turns the local z axis onto the direction of the axis: none for an axis along +z (or zero), 180
// degrees about x for one along -z, else acos(az / |a|) (clamped, a non-finite angle taken as 0)
// about (-ay, ax, 0).
void HxOrientAlongAxis(const float axis[3]);

// The viewing direction in the frame of the current modelview matrix (g_viewDirX/Y/Z).
void HxViewDirectionHere();

// The two silhouette generators of a tapered unit solid whose top circle at z = 1 has radius k (k = 0:
// the cone) for the viewing direction d in its frame, as line segments from the top to the base
// circle.  Empty when the apex of the completed cone is seen over the base disk.  A direction at right
// angles to the axis gives the generators touching the base circle across the line of sight.
struct CRevSegment {
    double top[3];
    double base[3];
};
std::vector<CRevSegment> HxTaperedSilhouette(double k, double dx, double dy, double dz);
