// CGSubassembly: construction, the record and its checks, the shape in its place (orientation,
// clip planes, scale), the lit, wire and pick passes, the drag of its centre and the 3D text glyphs.
#include "solids/subassembly.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "solids/shapes.h"
#include "view/outline_glyphs.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGSubassembly, CGCell, 1)

const char16_t* const g_subassemblyKindNames[kSubassemblyKindCount] = {
    u"3D文字", u"正四面体", u"正六面体", u"正八面体", u"正十二面体", u"正二十面体", u"C60", u"圆柱",
    u"圆锥",   u"圆台",     u"球",       u"圆环",     u"正方形",     u"圆",         u"茶壶"};

namespace {

const char16_t* const kDefaultFont = u"宋体";

[[noreturn]] void Refuse() {
    throw CArchiveException(CArchiveException::badIndex);
}

template <size_t N> bool AllFinite(const float (&v)[N]) {
    return std::all_of(std::begin(v), std::end(v), [](float x) { return std::isfinite(x); });
}
template <size_t N> bool AllFinite(const double (&v)[N]) {
    return std::all_of(std::begin(v), std::end(v), [](double x) { return std::isfinite(x); });
}

template <size_t N> void Copy(float (&to)[N], const float (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}
template <size_t N> void Copy(double (&to)[N], const double (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

bool InThreeViewLayout() {
    return g_pCurPage && g_pCurPage->m_threeView != 0;
}

} // namespace

CGSubassembly::CGSubassembly() {
    m_text1 = kDefaultFont;
}

CGSubassembly::CGSubassembly(WORD id, BYTE kind, BYTE style, int ownMaterial, int texture, int dragLock,
                             float cx, float cy, float cz, float ax, float ay, float az, float spin, float sx,
                             float sy, float sz, int clipMode, const double plane1[4],
                             const double plane2[4]) {
    m_id = id;
    m_kind = kind;
    m_style = style;
    m_ownMaterial = ownMaterial;
    m_texture = texture;
    m_fixed = dragLock != 0;
    m_center[0] = cx;
    m_center[1] = cy;
    m_center[2] = cz;
    m_axis[0] = ax;
    m_axis[1] = ay;
    m_axis[2] = az;
    // An axis of no direction would leave the shape unturned by chance: it points along -y instead.
    if (std::fabs(ax) < 0.0001f && std::fabs(ay) < 0.0001f && std::fabs(az) < 0.0001f)
        m_axis[1] = -1.0f;
    m_spin = spin;
    m_scale[0] = sx;
    m_scale[1] = sy;
    m_scale[2] = sz;
    m_clipMode = clipMode;
    for (int i = 0; i < 4; ++i) {
        m_plane1[i] = plane1[i];
        m_plane2[i] = plane2[i];
    }
    m_name = kind < kSubassemblyKindCount ? g_subassemblyKindNames[kind] : u"";
    m_color = CRgba{204, 102, 0, m_color.a};
    m_text1 = kDefaultFont;
}

// ---------------------------------------------------------------------------------------------
// Record

void CGSubassembly::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_center[0] << m_center[1] << m_center[2] << m_spin;
        ar << m_axis[0] << m_axis[1] << m_axis[2];
        ar << m_scale[0] << m_scale[1] << m_scale[2];
        ar << m_shininess << m_ownMaterial;
        for (int i = 0; i < 4; ++i)
            ar << m_ambient[i] << m_diffuse[i] << m_specular[i];
        ar << m_clipMode;
        for (double v : m_plane1)
            ar << v;
        for (double v : m_plane2)
            ar << v;
        ar << m_texture;
        HxCountTextureUse(m_texture);
        ar << m_reservedInt[0] << m_reservedInt[1];
        for (float v : m_reservedFloat)
            ar << v;
        ar << m_reservedText;
        return;
    }
    ar >> m_center[0] >> m_center[1] >> m_center[2] >> m_spin;
    ar >> m_axis[0] >> m_axis[1] >> m_axis[2];
    ar >> m_scale[0] >> m_scale[1] >> m_scale[2];
    ar >> m_shininess >> m_ownMaterial;
    for (int i = 0; i < 4; ++i)
        ar >> m_ambient[i] >> m_diffuse[i] >> m_specular[i];
    ar >> m_clipMode;
    for (double& v : m_plane1)
        ar >> v;
    for (double& v : m_plane2)
        ar >> v;
    ar >> m_texture;
    ar >> m_reservedInt[0] >> m_reservedInt[1];
    for (float& v : m_reservedFloat)
        ar >> v;
    ar >> m_reservedText;
    // A shape that does not exist, a clip mode that names no planes, or a placement that is no number
    // would be drawn as nothing or as garbage: such a record is damaged.
    if (m_kind >= kSubassemblyKindCount || m_clipMode < kClipNone || m_clipMode > kClipBoth)
        Refuse();
    if (!AllFinite(m_center) || !std::isfinite(m_spin) || !AllFinite(m_axis) || !AllFinite(m_scale) ||
        !AllFinite(m_plane1) || !AllFinite(m_plane2))
        Refuse();
    m_param4 = 0;
    InvalidateGlyphs();
    m_shapeList.Release();
}

CString CGSubassembly::GetDescription() {
    return m_name;
}

// ---------------------------------------------------------------------------------------------
// Edits

void CGSubassembly::InvalidateGlyphs() {
    m_flag2 = true;
}

void CGSubassembly::DropDisplayLists() {
    m_glyphLists.Release();
    m_shapeList.Release();
    m_text2.Empty();
    m_flag2 = true;
}

void CGSubassembly::CopyComponentFields(const CGSubassembly& o) {
    m_kind = o.m_kind;
    m_style = o.m_style;
    m_name = o.m_name;
    m_nameFixed = o.m_nameFixed;
    m_text1 = o.m_text1;
    m_color = o.m_color;
    Copy(m_center, o.m_center);
    m_spin = o.m_spin;
    Copy(m_axis, o.m_axis);
    Copy(m_scale, o.m_scale);
    m_clipMode = o.m_clipMode;
    Copy(m_plane1, o.m_plane1);
    Copy(m_plane2, o.m_plane2);
    m_ownMaterial = o.m_ownMaterial;
    Copy(m_ambient, o.m_ambient);
    Copy(m_diffuse, o.m_diffuse);
    Copy(m_specular, o.m_specular);
    m_shininess = o.m_shininess;
    m_texture = o.m_texture;
    m_fixed = o.m_fixed;
}

bool CGSubassembly::SameComponentFields(const CGSubassembly& o) const {
    auto same = [](const auto& a, const auto& b) {
        return std::equal(std::begin(a), std::end(a), std::begin(b));
    };
    return m_kind == o.m_kind && m_style == o.m_style && m_name == o.m_name && m_nameFixed == o.m_nameFixed &&
           m_text1 == o.m_text1 && m_color == o.m_color && same(m_center, o.m_center) && m_spin == o.m_spin &&
           same(m_axis, o.m_axis) && same(m_scale, o.m_scale) && m_clipMode == o.m_clipMode &&
           same(m_plane1, o.m_plane1) && same(m_plane2, o.m_plane2) && m_ownMaterial == o.m_ownMaterial &&
           same(m_ambient, o.m_ambient) && same(m_diffuse, o.m_diffuse) && same(m_specular, o.m_specular) &&
           m_shininess == o.m_shininess && m_texture == o.m_texture && m_fixed == o.m_fixed;
}

void CGSubassembly::TakeCurrentMaterial() {
    m_ownMaterial = 1;
    Copy(m_ambient, g_materialAmbient);
    Copy(m_diffuse, g_materialDiffuse);
    Copy(m_specular, g_materialSpecular);
    m_shininess = g_materialShininess;
}

void CGSubassembly::GiveCurrentMaterial() const {
    Copy(g_materialAmbient, m_ambient);
    Copy(g_materialDiffuse, m_diffuse);
    Copy(g_materialSpecular, m_specular);
    g_materialShininess = m_shininess;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void CGSubassembly::Orientation(double& degrees, double axis[3]) const {
    degrees = 0.0;
    axis[0] = 1.0;
    axis[1] = axis[2] = 0.0;
    const double x = m_axis[0], y = m_axis[1], z = m_axis[2];
    if (x == 0.0 && y == 0.0) {
        if (z < 0.0)
            degrees = 180.0;
        return;
    }
    const double c = std::clamp(z / std::sqrt(x * x + y * y + z * z), -1.0, 1.0);
    degrees = std::acos(c) * 180.0 / 3.1415927;
    axis[0] = -y;
    axis[1] = x;
}

int CGSubassembly::ShapeKey() const {
    const bool wire = m_style != 0;
    const bool texturedCube = m_kind == kSubassemblyCube && !wire && m_texture != 0;
    return m_kind * 4 + (wire ? 2 : 0) + (texturedCube ? 1 : 0);
}

void CGSubassembly::DrawUnitShape() {
    if (m_kind == kSubassemblyText) {
        DrawText();
        return;
    }
    // The selection pass draws the shape itself: see HxInSelectionMode.
    if (HxInSelectionMode()) {
        DrawKindShape(m_kind, m_style != 0, m_texture != 0);
        return;
    }
    const int key = ShapeKey();
    if ((!m_shapeList.IsValid() || m_shapeKey != key) && HxHasCurrentGlContext()) {
        m_shapeKey = -1;
        if (const GLuint list = m_shapeList.Make(1)) {
            glNewList(list, GL_COMPILE);
            DrawKindShape(m_kind, m_style != 0, m_texture != 0);
            glEndList();
            m_shapeKey = key;
        }
    }
    if (m_shapeList.IsValid() && m_shapeKey == key)
        glCallList(m_shapeList.Base());
    else
        DrawKindShape(m_kind, m_style != 0, m_texture != 0);
}

void CGSubassembly::DrawText() {
    const int format = m_style == 0 ? HX_FONT_POLYGONS : HX_FONT_LINES;
    // The selection pass draws the glyphs themselves: their lists hold a face as several
    // tessellated primitives, which the selection cannot take (see HxInSelectionMode).
    if (HxInSelectionMode()) {
        DrawOutlineGlyphs(m_name, m_text1, format);
        glFrontFace(GL_CCW);
        return;
    }
    // The glyphs follow the text, font and style, however these were changed (a rename in the object
    // tree changes the text too).
    const bool stale = m_flag2 || !m_glyphLists.IsValid() || m_glyphText != m_name ||
                       m_glyphFont != m_text1 || m_glyphFormat != format;
    if (stale && HxHasCurrentGlContext()) {
        m_text2.Empty();
        // The block is kept even for a text that gives no glyphs, so that it is not made again frame
        // after frame.
        if (const GLuint block = m_glyphLists.Make(HX_OUTLINE_GLYPH_LISTS))
            m_text2 = CompileOutlineGlyphLists(block, m_name, m_text1, format);
        m_glyphText = m_name;
        m_glyphFont = m_text1;
        m_glyphFormat = format;
        m_flag2 = false;
    }
    if (m_glyphLists.IsValid() && !m_text2.IsEmpty())
        glCallLists(m_text2.GetLength(), GL_UNSIGNED_SHORT, m_text2.GetString());
    glFrontFace(GL_CCW);
}

void DrawKindShape(int kind, bool wire, bool textured) {
    switch (kind) {
    case kSubassemblyTetrahedron:
        DrawTetrahedron(wire ? GL_LINE_LOOP : GL_TRIANGLES);
        break;
    case kSubassemblyCube:
        if (wire)
            DrawCube(1.0f, GL_LINE_LOOP);
        else if (textured)
            DrawTexturedCube(1.0f);
        else
            DrawCube(1.0f, GL_QUADS);
        break;
    case kSubassemblyOctahedron:
        DrawOctahedron(wire ? GL_LINE_LOOP : GL_TRIANGLES);
        break;
    case kSubassemblyDodecahedron:
        DrawDodecahedron(wire ? GL_LINE_LOOP : GL_TRIANGLE_FAN);
        break;
    case kSubassemblyIcosahedron:
        DrawIcosahedron(wire ? GL_LINE_LOOP : GL_TRIANGLES);
        break;
    case kSubassemblyC60:
        DrawC60(wire);
        break;
    case kSubassemblyCylinder:
        wire ? DrawWireCylinder(1.0, 1.0, 1.0, 24, 24) : DrawSolidCylinder(1.0, 1.0, 1.0, 24, 24);
        break;
    case kSubassemblyCone:
        wire ? DrawWireCone(1.0, 1.0, 24) : DrawSolidCone(1.0, 1.0, 24, 24);
        break;
    case kSubassemblyFrustum:
        wire ? DrawWireCylinder(1.0, 0.5, 1.0, 24, 24) : DrawSolidCylinder(1.0, 0.5, 1.0, 24, 24);
        break;
    case kSubassemblySphere:
        wire ? DrawWireSphere(1.0, 24, 24) : DrawSolidSphere(1.0, 24, 24);
        break;
    case kSubassemblyTorus:
        if (wire) {
            glPushAttrib(GL_POLYGON_BIT);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            DrawTorus(0.2f, 1.0f);
            glPopAttrib();
        } else {
            DrawTorus(0.2f, 1.0f);
        }
        break;
    case kSubassemblySquare:
        DrawSquare(1.0f, wire ? GL_LINE_LOOP : GL_QUADS);
        break;
    case kSubassemblyDisk:
        wire ? DrawWireDisk(1.0, 1.0, 8) : DrawSolidDisk(0.0, 1.0, 8);
        break;
    case kSubassemblyTeapot:
        wire ? DrawTeapot(10, 1.0, GL_LINE) : DrawTeapot(7, 1.0, GL_FILL);
        break;
    default:
        break;
    }
}

void CGSubassembly::DrawShape() {
    glPushMatrix();
    glTranslatef(m_center[0], m_center[1], m_center[2]);
    double degrees, axis[3];
    Orientation(degrees, axis);
    if (degrees != 0.0)
        glRotated(degrees, axis[0], axis[1], axis[2]);
    glRotatef(m_spin, 0.0f, 0.0f, 1.0f);
    // The selected shape shows its own axes.
    if (m_selected && g_listBase != 0)
        glCallList(g_listBase + HX_LIST_AXES);
    // The planes are taken in the oriented frame, before the scale.
    const bool clip1 = m_clipMode == kClipPlane1 || m_clipMode == kClipBoth;
    const bool clip2 = m_clipMode == kClipPlane2 || m_clipMode == kClipBoth;
    if (clip1) {
        glClipPlane(GL_CLIP_PLANE1, m_plane1);
        glEnable(GL_CLIP_PLANE1);
    }
    if (clip2) {
        glClipPlane(GL_CLIP_PLANE2, m_plane2);
        glEnable(GL_CLIP_PLANE2);
    }
    glScalef(m_scale[0], m_scale[1], m_scale[2]);
    if (g_useObjectColors)
        HxGlColor(m_color);
    DrawUnitShape();
    glPopMatrix();
    if (clip1)
        glDisable(GL_CLIP_PLANE1);
    if (clip2)
        glDisable(GL_CLIP_PLANE2);
}

void CGSubassembly::DrawLit() {
    if (!HxIsDrawable(*this) || m_style != 0)
        return;
    glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT | GL_TEXTURE_BIT);
    if (m_ownMaterial) {
        // The outside takes the component's material, the inside its colour.
        glColorMaterial(GL_BACK, GL_AMBIENT_AND_DIFFUSE);
        glMaterialfv(GL_FRONT, GL_AMBIENT, m_ambient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, m_diffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, m_specular);
        glMaterialf(GL_FRONT, GL_SHININESS, std::clamp(m_shininess, 0.0f, 128.0f));
    }
    if (m_texture != 0 && HxBindTexture(m_texture)) {
        // The outside textured, then the inside plain.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_TEXTURE_2D);
        DrawShape();
        glDisable(GL_TEXTURE_2D);
        glCullFace(GL_FRONT);
        DrawShape();
        glDisable(GL_CULL_FACE);
    } else {
        DrawShape();
    }
    glPopAttrib();
}

void CGSubassembly::DrawVisible() {
    if (!HxIsDrawable(*this) || m_style == 0)
        return;
    DrawShape();
}

void CGSubassembly::DrawForPick(int mode) {
    if (!HxIsDrawable(*this) || InThreeViewLayout() || mode <= 2)
        return;
    glLoadName(kPickClassSubassembly);
    glPushName(m_id);
    DrawShape();
    glPopName();
}

// ---------------------------------------------------------------------------------------------
// Drag

void CGSubassembly::DragCentre() {
    if (m_fixed || g_dragLocked)
        return;
    const double* o = g_pickRayNear;
    const float d[3] = {g_viewDirX, g_viewDirY, g_viewDirZ};
    double t;
    if (g_dragKeepZ) {
        if (std::fabs(d[2]) < 10.0f)
            return;
        t = (double(m_center[2]) - o[2]) / d[2];
    } else {
        if (std::fabs(d[1]) < 10.0f)
            return;
        t = (double(m_center[1]) - o[1]) / d[1];
    }
    for (int i = 0; i < 3; ++i)
        m_center[i] = float(o[i] + t * d[i]);
}
