// The shapes of the component solids: quadrics, cubes, the torus, the regular solids, the square,
// the teapot and the C60 model, and the tables they are drawn from.
#include "solids/shapes.h"

#include "model/cell_draw.h"
#include "view/view_display_lists.h"

#include <GL/glu.h>

#include <cmath>

namespace {

// The quadric with the style asked for, or null (nothing is drawn then).
GLUquadric* Quadric(GLenum style) {
    GLUquadric* q = HxGluQuadric();
    if (q) {
        gluQuadricDrawStyle(q, style);
        gluQuadricNormals(q, GLU_SMOOTH);
    }
    return q;
}

// Texture coordinates are generated for the one call of a solid form.
class CQuadricTexture {
public:
    explicit CQuadricTexture(GLUquadric* q) : m_q(q) {
        if (m_q)
            gluQuadricTexture(m_q, GL_TRUE);
    }
    ~CQuadricTexture() {
        if (m_q)
            gluQuadricTexture(m_q, GL_FALSE);
    }
    CQuadricTexture(const CQuadricTexture&) = delete;
    CQuadricTexture& operator=(const CQuadricTexture&) = delete;

private:
    GLUquadric* m_q;
};

CShapeVec Sub(const CShapeVec& a, const CShapeVec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

CShapeVec Cross(const CShapeVec& a, const CShapeVec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

CShapeVec UnitOrX(const CShapeVec& v) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len == 0.0 || !std::isfinite(len))
        return {1.0, 0.0, 0.0};
    return {v[0] / len, v[1] / len, v[2] / len};
}

CShapeVec OnUnitSphere(const CShapeVec& v) {
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return len == 0.0 ? v : CShapeVec{v[0] / len, v[1] / len, v[2] / len};
}

// (w a + (3 - w) b) / 3: the point a third or two thirds of the way from b to a.
CShapeVec Third(const CShapeVec& a, const CShapeVec& b, int w) {
    return {(w * a[0] + (3 - w) * b[0]) / 3.0, (w * a[1] + (3 - w) * b[1]) / 3.0,
            (w * a[2] + (3 - w) * b[2]) / 3.0};
}

void DrawSphericalTriangle(const CShapeVec& a0, const CShapeVec& b0, const CShapeVec& c0, GLenum type) {
    const CShapeVec a = OnUnitSphere(a0), b = OnUnitSphere(b0), c = OnUnitSphere(c0);
    const CShapeVec n = HxTriangleFaceNormal(a, b, c);
    glBegin(type);
    glNormal3dv(n.data());
    glVertex3dv(a.data());
    glVertex3dv(c.data());
    glVertex3dv(b.data());
    glEnd();
}

void DrawTriangleSolid(HxRegularSolid which, GLenum type) {
    const CShapeSolid& solid = HxRegularSolidTable(which);
    for (size_t i = solid.faces.size(); i-- > 0;) {
        const std::vector<int>& f = solid.faces[i];
        DrawSphericalTriangle(solid.corners[size_t(f[0])], solid.corners[size_t(f[1])],
                              solid.corners[size_t(f[2])], type);
    }
}

void DrawPentagon(const CShapeVec& a, const CShapeVec& b, const CShapeVec& c, const CShapeVec& d,
                  const CShapeVec& e, GLenum type) {
    const CShapeVec n = HxPentagonFaceNormal(a, b, c);
    glBegin(type);
    glNormal3dv(n.data());
    for (const CShapeVec* p : {&a, &b, &c, &d, &e})
        glVertex3dv(p->data());
    glEnd();
}

// ---------------------------------------------------------------------------------------------
// Tables

constexpr double kSqrt3 = 1.73205080756887729;
constexpr double kIcoX = 0.525731112119133606;
constexpr double kIcoZ = 0.850650808352039932;

CShapeSolid MakeTetrahedron() {
    const double s = kSqrt3;
    return {{{s, s, s}, {s, -s, -s}, {-s, s, -s}, {-s, -s, s}}, {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}}};
}

CShapeSolid MakeOctahedron() {
    return {{{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}},
            {{0, 4, 2}, {0, 2, 5}, {0, 3, 4}, {0, 5, 3}, {1, 2, 4}, {1, 5, 2}, {1, 4, 3}, {1, 3, 5}}};
}

CShapeSolid MakeIcosahedron() {
    const double x = kIcoX, z = kIcoZ;
    return {{{-x, 0, z},
             {x, 0, z},
             {-x, 0, -z},
             {x, 0, -z},
             {0, z, x},
             {0, z, -x},
             {0, -z, x},
             {0, -z, -x},
             {z, x, 0},
             {-z, x, 0},
             {z, -x, 0},
             {-z, -x, 0}},
            {{0, 4, 1}, {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},  {8, 10, 1}, {8, 3, 10},
             {5, 3, 8}, {5, 2, 3},  {2, 7, 3},  {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6},
             {0, 1, 6}, {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}}};
}

// The golden ratio's inverse and the golden ratio, as the formulas give them.
CShapeSolid MakeDodecahedron() {
    const double r5 = std::sqrt(5.0);
    const double a = std::sqrt(2.0 / (3.0 + r5));
    const double b = 1.0 + std::sqrt(6.0 / (3.0 + r5) - 2.0 + 2.0 * a);
    CShapeSolid s;
    s.corners = {{-a, 0, b}, {a, 0, b}};
    for (int x : {-1, 1})
        for (int y : {-1, 1})
            for (int z : {-1, 1})
                s.corners.push_back({double(x), double(y), double(z)});
    s.corners.insert(s.corners.end(), {{b, a, 0},
                                       {b, -a, 0},
                                       {-b, a, 0},
                                       {-b, -a, 0},
                                       {-a, 0, -b},
                                       {a, 0, -b},
                                       {0, b, a},
                                       {0, b, -a},
                                       {0, -b, a},
                                       {0, -b, -a}});
    s.faces = {{0, 1, 9, 16, 5},   {1, 0, 3, 18, 7},   {1, 7, 11, 10, 9},  {11, 7, 18, 19, 6},
               {8, 17, 16, 9, 10}, {2, 14, 15, 6, 19}, {2, 13, 12, 4, 14}, {2, 19, 18, 3, 13},
               {3, 0, 5, 12, 13},  {6, 15, 8, 10, 11}, {4, 17, 8, 15, 14}, {4, 12, 5, 16, 17}};
    return s;
}

CC60Model MakeC60() {
    const CShapeSolid& ico = HxRegularSolidTable(HxRegularSolid::Icosahedron);
    CC60Model m;
    for (const auto& [ia, ib] : HxIcosahedronEdges()) {
        const CShapeVec& a = ico.corners[size_t(ia)];
        const CShapeVec& b = ico.corners[size_t(ib)];
        m.atoms.push_back(Third(a, b, 2));
        m.atoms.push_back(Third(a, b, 1));
    }
    for (const std::vector<int>& f : ico.faces) {
        const CShapeVec& p = ico.corners[size_t(f[0])];
        const CShapeVec& q = ico.corners[size_t(f[1])];
        const CShapeVec& r = ico.corners[size_t(f[2])];
        m.bonds.push_back({Third(q, r, 2), Third(q, p, 2)});
        m.bonds.push_back({Third(r, p, 2), Third(r, q, 2)});
        m.bonds.push_back({Third(p, q, 2), Third(p, r, 2)});
    }
    for (const auto& [ia, ib] : HxIcosahedronEdges()) {
        const CShapeVec& a = ico.corners[size_t(ia)];
        const CShapeVec& b = ico.corners[size_t(ib)];
        m.bonds.push_back({Third(a, b, 1), Third(a, b, 2)});
    }
    return m;
}

} // namespace

const CShapeSolid& HxRegularSolidTable(HxRegularSolid which) {
    static const CShapeSolid tetrahedron = MakeTetrahedron();
    static const CShapeSolid octahedron = MakeOctahedron();
    static const CShapeSolid icosahedron = MakeIcosahedron();
    // Filled on first use and kept.
    static const CShapeSolid dodecahedron = MakeDodecahedron();
    switch (which) {
    case HxRegularSolid::Tetrahedron:
        return tetrahedron;
    case HxRegularSolid::Octahedron:
        return octahedron;
    case HxRegularSolid::Icosahedron:
        return icosahedron;
    case HxRegularSolid::Dodecahedron:
        break;
    }
    return dodecahedron;
}

CShapeVec HxTriangleFaceNormal(const CShapeVec& a, const CShapeVec& b, const CShapeVec& c) {
    return UnitOrX(Cross(Sub(a, c), Sub(c, b)));
}

CShapeVec HxPentagonFaceNormal(const CShapeVec& a, const CShapeVec& b, const CShapeVec& c) {
    return UnitOrX(Cross(Sub(a, b), Sub(b, c)));
}

const std::vector<std::array<int, 2>>& HxIcosahedronEdges() {
    static const std::vector<std::array<int, 2>> edges = [] {
        std::vector<std::array<int, 2>> out;
        for (const std::vector<int>& f : HxRegularSolidTable(HxRegularSolid::Icosahedron).faces) {
            for (int i = 0; i < 3; ++i) {
                const int a = f[size_t(i)], b = f[size_t((i + 1) % 3)];
                bool known = false;
                for (const auto& e : out)
                    known = known || (e[0] == a && e[1] == b) || (e[0] == b && e[1] == a);
                if (!known)
                    out.push_back({a, b});
            }
        }
        return out;
    }();
    return edges;
}

const CC60Model& HxC60Model() {
    static const CC60Model model = MakeC60();
    return model;
}

// ---------------------------------------------------------------------------------------------
// Quadrics

void DrawWireSphere(double radius, int slices, int stacks) {
    if (GLUquadric* q = Quadric(GLU_LINE))
        gluSphere(q, radius, slices, stacks);
}

void DrawSolidSphere(double radius, int slices, int stacks) {
    if (GLUquadric* q = Quadric(GLU_FILL)) {
        CQuadricTexture texture(q);
        gluSphere(q, radius, slices, stacks);
    }
}

void DrawWireCone(double base, double height, int stacks) {
    if (GLUquadric* q = Quadric(GLU_LINE))
        gluCylinder(q, base, 0.0, height, 24, stacks);
}

void DrawSolidCone(double base, double height, int slices, int stacks) {
    if (GLUquadric* q = Quadric(GLU_FILL)) {
        CQuadricTexture texture(q);
        gluCylinder(q, base, 0.0, height, slices, stacks);
    }
}

void DrawWireCylinder(double base, double top, double height, int slices, int stacks) {
    if (GLUquadric* q = Quadric(GLU_LINE))
        gluCylinder(q, base, top, height, slices, stacks);
}

void DrawSolidCylinder(double base, double top, double height, int slices, int stacks) {
    if (GLUquadric* q = Quadric(GLU_FILL)) {
        CQuadricTexture texture(q);
        gluCylinder(q, base, top, height, slices, stacks);
    }
}

void DrawWireDisk(double inner, double outer, int loops) {
    if (GLUquadric* q = Quadric(GLU_LINE))
        gluDisk(q, inner, outer, 24, loops);
}

void DrawSolidDisk(double inner, double outer, int loops) {
    if (GLUquadric* q = Quadric(GLU_FILL)) {
        CQuadricTexture texture(q);
        gluDisk(q, inner, outer, 24, loops);
    }
}

// ---------------------------------------------------------------------------------------------
// Cubes, torus, square

void DrawCube(float size, GLenum type) {
    const float h = size / 2.0f;
    static const GLfloat normals[6][3] = {{-1, 0, 0}, {0, 1, 0}, {1, 0, 0},
                                          {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    // Signs of the four corners of each face, counter-clockwise seen from outside.
    static const signed char corners[6][4][3] = {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
                                                 {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},
                                                 {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}},
                                                 {{1, -1, -1}, {1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}},
                                                 {{1, -1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}},
                                                 {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}};
    for (int i = 5; i >= 0; --i) {
        glBegin(type);
        glNormal3fv(normals[i]);
        for (const auto& c : corners[i])
            glVertex3f(c[0] * h, c[1] * h, c[2] * h);
        glEnd();
    }
}

void DrawTexturedCube(float size) {
    const float h = size / 2.0f;
    struct Corner {
        float s, t, x, y, z;
    };
    struct Face {
        int texture;
        float color[3];
        float normal[3];
        Corner corners[4];
    };
    const Face faces[6] = {
        {1, {1, 0, 1}, {0, 0, 1}, {{0, 0, -h, -h, h}, {1, 0, h, -h, h}, {1, 1, h, h, h}, {0, 1, -h, h, h}}},
        {1,
         {1, 0, 0},
         {0, 0, -1},
         {{1, 0, -h, -h, -h}, {1, 1, -h, h, -h}, {0, 1, h, h, -h}, {0, 0, h, -h, -h}}},
        {2, {0, 0, 1}, {0, 1, 0}, {{0, 1, -h, h, -h}, {0, 0, -h, h, h}, {1, 0, h, h, h}, {1, 1, h, h, -h}}},
        {2,
         {0, 1, 1},
         {0, -1, 0},
         {{1, 1, -h, -h, -h}, {0, 1, h, -h, -h}, {0, 0, h, -h, h}, {1, 0, -h, -h, h}}},
        {3, {1, 1, 0}, {1, 0, 0}, {{1, 0, h, -h, -h}, {1, 1, h, h, -h}, {0, 1, h, h, h}, {0, 0, h, -h, h}}},
        {3,
         {0, 1, 0},
         {-1, 0, 0},
         {{0, 0, -h, -h, -h}, {1, 0, -h, -h, h}, {1, 1, -h, h, h}, {0, 1, -h, h, -h}}},
    };
    glEnable(GL_TEXTURE_2D);
    for (const Face& f : faces) {
        HxBindTexture(f.texture);
        glColor3fv(f.color);
        glBegin(GL_QUADS);
        glNormal3fv(f.normal);
        for (const Corner& c : f.corners) {
            glTexCoord2f(c.s, c.t);
            glVertex3f(c.x, c.y, c.z);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
}

void DrawTorus(float tube, float ring) {
    constexpr float kRingStep = 0.17453294f; // 10 degrees
    constexpr float kSideStep = 0.5235988f;  // 30 degrees
    constexpr float kTwoPi = 6.2831855f;
    float theta = 0.0f;
    for (int i = 0; i < 36; ++i) {
        const float theta1 = theta + kRingStep;
        glBegin(GL_QUAD_STRIP);
        float phi = 0.0f;
        for (int j = 0; j < 13; ++j) {
            phi += kSideStep;
            const float cosPhi = std::cos(phi), sinPhi = std::sin(phi);
            const float dist = ring + tube * cosPhi;
            for (float t : {theta1, theta}) {
                const float c = std::cos(t), s = std::sin(t);
                glTexCoord2f(t / kTwoPi, phi / kTwoPi);
                glNormal3f(c * cosPhi, -s * cosPhi, sinPhi);
                glVertex3f(c * dist, -s * dist, tube * sinPhi);
            }
        }
        glEnd();
        theta = theta1;
    }
}

void DrawSquare(float half, GLenum type) {
    glBegin(type);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0, 0);
    glVertex3f(-half, -half, 0);
    glTexCoord2f(1, 0);
    glVertex3f(half, -half, 0);
    glTexCoord2f(1, 1);
    glVertex3f(half, half, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-half, half, 0);
    glEnd();
}

// ---------------------------------------------------------------------------------------------
// Regular solids

void DrawTetrahedron(GLenum type) {
    DrawTriangleSolid(HxRegularSolid::Tetrahedron, type);
}

void DrawOctahedron(GLenum type) {
    DrawTriangleSolid(HxRegularSolid::Octahedron, type);
}

void DrawIcosahedron(GLenum type) {
    DrawTriangleSolid(HxRegularSolid::Icosahedron, type);
}

void DrawDodecahedron(GLenum type) {
    const CShapeSolid& s = HxRegularSolidTable(HxRegularSolid::Dodecahedron);
    for (const std::vector<int>& f : s.faces) {
        auto c = [&](int i) -> const CShapeVec& { return s.corners[size_t(f[size_t(i)])]; };
        DrawPentagon(c(0), c(1), c(2), c(3), c(4), type);
    }
}

// ---------------------------------------------------------------------------------------------
// Teapot

int HxTeapotCopyCount(int patch) {
    return patch < 6 ? 4 : 2;
}

void HxTeapotPatchCopy(int patch, int copy, float out[4][4][3]) {
    const bool mirrorX = copy == 2 || copy == 3;
    const bool mirrorY = copy == 1 || copy == 3;
    // One mirror turns the patch inside out: its columns then run the other way.
    const bool reverse = mirrorX != mirrorY;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            const float* p = g_teapotPoints[g_teapotPatches[patch][row * 4 + (reverse ? 3 - col : col)]];
            out[row][col][0] = mirrorX ? -p[0] : p[0];
            out[row][col][1] = mirrorY ? -p[1] : p[1];
            out[row][col][2] = p[2];
        }
}

void DrawTeapot(int grid, double scale, GLenum mode) {
    static const GLfloat texture[2][2][2] = {{{0, 0}, {1, 0}}, {{0, 1}, {1, 1}}};
    glPushAttrib(GL_ENABLE_BIT | GL_EVAL_BIT);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_MAP2_VERTEX_3);
    glEnable(GL_MAP2_TEXTURE_COORD_2);
    glFrontFace(GL_CW);
    glPushMatrix();
    glScaled(0.5 * scale, 0.5 * scale, 0.5 * scale);
    glTranslated(0.0, 0.0, -1.5);
    float points[4][4][3];
    for (int patch = 0; patch < kTeapotPatchCount; ++patch) {
        for (int copy = 0; copy < HxTeapotCopyCount(patch); ++copy) {
            HxTeapotPatchCopy(patch, copy, points);
            glMap2f(GL_MAP2_TEXTURE_COORD_2, 0, 1, 2, 2, 0, 1, 4, 2, &texture[0][0][0]);
            glMap2f(GL_MAP2_VERTEX_3, 0, 1, 3, 4, 0, 1, 12, 4, &points[0][0][0]);
            glMapGrid2f(grid, 0.0f, 1.0f, grid, 0.0f, 1.0f);
            glEvalMesh2(mode, 0, grid, 0, grid);
        }
    }
    glPopMatrix();
    glFrontFace(GL_CCW);
    glPopAttrib();
}

// ---------------------------------------------------------------------------------------------
// C60

void DrawBond(const CShapeVec& p, const CShapeVec& q, bool wire) {
    const CShapeVec d = Sub(q, p);
    constexpr double kBondLength = 0.3504874;
    double c = d[2] / kBondLength;
    c = c < -1.0 ? -1.0 : c > 1.0 ? 1.0 : c;
    double angle = std::acos(c);
    if (!std::isfinite(angle))
        angle = 0.0;
    glPushMatrix();
    glTranslated(p[0], p[1], p[2]);
    if (std::fabs(d[0]) > 1e-6 || std::fabs(d[1]) > 1e-6)
        glRotated(angle * 180.0 / M_PI, -d[1], d[0], 0.0);
    else if (d[2] < 0.0)
        glRotated(180.0, 1.0, 0.0, 0.0);
    glScaled(0.015, 0.015, 0.35);
    if (GLUquadric* q2 = Quadric(wire ? GLU_LINE : GLU_FILL)) {
        if (wire) {
            gluCylinder(q2, 1.0, 1.0, 1.0, 6, 3);
        } else {
            CQuadricTexture texture(q2);
            gluCylinder(q2, 1.0, 1.0, 1.0, 6, 2);
        }
    }
    glPopMatrix();
}

void DrawC60(bool wire) {
    const CC60Model& m = HxC60Model();
    if (GLUquadric* q = Quadric(wire ? GLU_LINE : GLU_FILL)) {
        for (const CShapeVec& atom : m.atoms) {
            glPushMatrix();
            glTranslated(atom[0], atom[1], atom[2]);
            if (wire) {
                gluSphere(q, 0.08, 9, 9);
            } else {
                CQuadricTexture texture(q);
                gluSphere(q, 0.08, 9, 9);
            }
            glPopMatrix();
        }
    }
    glColor3f(0.0f, 0.0f, 1.0f);
    for (const auto& bond : m.bonds)
        DrawBond(bond[0], bond[1], wire);
}
