// The page's builders of fixed figures with straight edges: the cuboid, the regular prism and
// frustum, the regular pyramid, the regular polygon and the tetrahedron, octahedron, dodecahedron and
// icosahedron, every point a fixed point at coordinates computed in single precision.
#include "construct/construction.h"
#include "model/face.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "solids/regular_solids.h"
#include "view/view_colors.h"

#include <cmath>
#include <vector>

namespace {

// The centre of a figure.
struct CCentre {
    float x, y, z;
};

// An edge of a figure: the indices of its two points.
struct CEdge {
    int a, b;
};

// The fixed point at the centre plus (dx, dy, dz), named automatically or as given.
WORD AddPointAt(CCellMaker& make, const CCentre& c, float dx, float dy, float dz) {
    return make.AddPoint<CGVertex>(c.x + dx, c.y + dy, c.z + dz)->m_id;
}
WORD AddNamedPointAt(CCellMaker& make, const CString& name, const CCentre& c, float dx, float dy, float dz) {
    return make.AddNamedPoint<CGVertex>(name, c.x + dx, c.y + dy, c.z + dz)->m_id;
}

CGLine* AddSegment(CCellMaker& make, WORD a, WORD b) {
    return make.AddCell<CGLine>(a, b, CGLine::kSegment);
}

// A face on the points in order, in the next automatic colour.
CGFace* AddFace(CCellMaker& make, const std::vector<WORD>& corners) {
    if (corners.size() == 3)
        return make.AddCell<CGFace>(corners[0], corners[1], corners[2], NextAutoColor());
    if (corners.size() == 4)
        return make.AddCell<CGFace>(corners[0], corners[1], corners[2], corners[3], NextAutoColor());
    CList<WORD, WORD> list;
    for (WORD id : corners)
        list.AddTail(id);
    return make.AddCell<CGFace>(list, NextAutoColor());
}

// The top point's name: the bottom point's with "1".
CString TopName(const CGPage& page, WORD bottom) {
    return page.FindCell(bottom)->m_name + u"1";
}

// The angles of a regular n-gon's corners: from (1/n + 0.5) × (−π), each the last plus 2π/n, all in
// single precision, so that the first side runs parallel to x below the centre.
std::vector<float> PolygonAngles(int n) {
    std::vector<float> angles;
    float a = (1.0f / float(n) + 0.5f) * -3.1415927f;
    const float step = 6.2831855f / float(n);
    for (int i = 0; i < n; ++i) {
        angles.push_back(a);
        a += step;
    }
    return angles;
}

// The number of corners a regular n-gon of these builders may have: a face holds at most 255.
bool IsPolygonCount(int n) {
    return n >= 3 && n <= CGFace::kMaxCorners;
}

// A regular solid of the tables below: the points at the centre plus s × the table's, automatic
// names, then the edges, then the faces, each in table order.
template <size_t P, size_t E, size_t F, size_t K>
int BuildTableSolid(CGPage& page, const CCentre& c, float s, const float (&points)[P][3],
                    const CEdge (&edges)[E], const int (&faces)[F][K], bool filled) {
    CCellMaker make(page);
    if (!make.Reserve(int(P + E + F), int(P)))
        return 0;
    std::vector<WORD> ids;
    for (const auto& p : points) {
        const WORD id = AddPointAt(make, c, s * p[0], s * p[1], s * p[2]);
        if (filled)
            page.FindCell(id)->m_hidden = 1;
        ids.push_back(id);
    }
    for (const CEdge& e : edges) {
        CGLine* line = AddSegment(make, ids[size_t(e.a)], ids[size_t(e.b)]);
        if (filled)
            line->m_style = 1;
    }
    for (const auto& f : faces) {
        std::vector<WORD> corners;
        for (int k : f)
            corners.push_back(ids[size_t(k)]);
        CGFace* face = AddFace(make, corners);
        if (filled)
            face->m_style = CGFace::kStyleFilled;
    }
    return make.Count();
}

// The tetrahedron's corners are t times the signs, t = 1/√3.
constexpr float kT = 0.57735026f;
constexpr CEdge kTetrahedronEdges[6] = {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}};
constexpr int kTetrahedronFaces[4][3] = {{2, 1, 0}, {0, 1, 3}, {3, 2, 0}, {1, 2, 3}};

constexpr CEdge kOctahedronEdges[12] = {{1, 3}, {3, 0}, {0, 2}, {2, 1}, {1, 4}, {3, 4},
                                        {0, 4}, {2, 4}, {1, 5}, {3, 5}, {0, 5}, {2, 5}};
constexpr int kOctahedronFaces[8][3] = {{2, 4, 0}, {4, 2, 1}, {4, 3, 0}, {3, 4, 1},
                                        {5, 2, 0}, {2, 5, 1}, {3, 5, 0}, {5, 3, 1}};

// The dodecahedron's corners lie √3 from the origin: φ and 1/φ.
constexpr float kPhi = 1.618034f;
constexpr float kInvPhi = 0.618034f;
constexpr float kDodecahedronPoints[20][3] = {{-kPhi, 0, kInvPhi}, {kPhi, 0, kInvPhi},   {-1, -1, -1},
                                              {-1, -1, 1},         {-1, 1, -1},          {-1, 1, 1},
                                              {1, -1, -1},         {1, -1, 1},           {1, 1, -1},
                                              {1, 1, 1},           {kInvPhi, kPhi, 0},   {kInvPhi, -kPhi, 0},
                                              {-kInvPhi, kPhi, 0}, {-kInvPhi, -kPhi, 0}, {-kPhi, 0, -kInvPhi},
                                              {kPhi, 0, -kInvPhi}, {0, kInvPhi, kPhi},   {0, kInvPhi, -kPhi},
                                              {0, -kInvPhi, kPhi}, {0, -kInvPhi, -kPhi}};
constexpr CEdge kDodecahedronEdges[30] = {
    {0, 3},   {3, 18}, {18, 16}, {16, 5},  {5, 0},  {18, 7}, {7, 1},  {1, 9},  {9, 16}, {7, 11},
    {11, 13}, {13, 3}, {9, 10},  {10, 12}, {12, 5}, {6, 11}, {13, 2}, {2, 19}, {19, 6}, {8, 10},
    {12, 4},  {4, 17}, {17, 8},  {6, 15},  {15, 1}, {15, 8}, {14, 4}, {14, 2}, {0, 14}, {19, 17}};
constexpr int kDodecahedronFaces[12][5] = {{0, 3, 18, 16, 5},  {1, 9, 16, 18, 7},  {3, 13, 11, 7, 18},
                                           {2, 19, 6, 11, 13}, {0, 14, 2, 13, 3},  {1, 7, 11, 6, 15},
                                           {5, 16, 9, 10, 12}, {4, 12, 10, 8, 17}, {0, 5, 12, 4, 14},
                                           {1, 15, 8, 10, 9},  {2, 14, 4, 17, 19}, {6, 19, 17, 8, 15}};

// The unit icosahedron: a = 1/√(1 + φ²), b = φ/√(1 + φ²).
constexpr float kA = 0.5257311f;
constexpr float kB = 0.8506508f;
constexpr float kIcosahedronPoints[12][3] = {{-kA, 0, kB}, {kA, 0, kB},  {-kA, 0, -kB}, {kA, 0, -kB},
                                             {0, kB, kA},  {0, kB, -kA}, {0, -kB, kA},  {0, -kB, -kA},
                                             {kB, kA, 0},  {-kB, kA, 0}, {kB, -kA, 0},  {-kB, -kA, 0}};
constexpr CEdge kIcosahedronEdges[30] = {
    {0, 1},  {0, 4},  {0, 6},  {1, 4},  {1, 6},  {0, 9},  {0, 11}, {1, 8},  {1, 10}, {4, 9},
    {6, 11}, {4, 8},  {6, 10}, {9, 11}, {8, 10}, {2, 3},  {2, 5},  {2, 7},  {3, 5},  {3, 7},
    {2, 9},  {2, 11}, {3, 8},  {3, 10}, {5, 9},  {7, 11}, {5, 8},  {7, 10}, {4, 5},  {6, 7}};
constexpr int kIcosahedronFaces[20][3] = {{1, 4, 0},  {4, 9, 0},  {4, 5, 9},  {8, 5, 4},  {1, 8, 4},
                                          {1, 10, 8}, {10, 3, 8}, {8, 3, 5},  {3, 2, 5},  {3, 7, 2},
                                          {3, 10, 7}, {10, 6, 7}, {6, 11, 7}, {6, 0, 11}, {6, 1, 0},
                                          {10, 1, 6}, {11, 0, 9}, {2, 11, 9}, {5, 2, 9},  {11, 2, 7}};

// The tetrahedron's corners as a table: t × the shared signs.
struct CTetrahedronTable {
    float points[4][3];
    constexpr CTetrahedronTable() : points{} {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j)
                points[i][j] = kTetrahedronSigns[i][j] * kT;
    }
};
constexpr CTetrahedronTable kTetrahedron;

} // namespace

int CGPage::BuildStaticCuboid(float cx, float cy, float cz, float length, float width, float height) {
    CCellMaker make(*this);
    if (!make.Reserve(26, 8))
        return 0;
    const CCentre c = {cx, cy, cz};
    // The bottom corners counter-clockwise from (−, −), then the top ones above them.
    static constexpr float kSigns[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
    WORD p[8];
    for (int k = 0; k < 4; ++k)
        p[k] = AddPointAt(make, c, kSigns[k][0] * length, kSigns[k][1] * width, -0.5f * height);
    for (int k = 0; k < 4; ++k)
        p[k + 4] = AddNamedPointAt(make, TopName(*this, p[k]), c, kSigns[k][0] * length, kSigns[k][1] * width,
                                   0.5f * height);
    static constexpr CEdge kEdges[12] = {{0, 1}, {3, 2}, {4, 5}, {7, 6}, {0, 3}, {1, 2},
                                         {4, 7}, {5, 6}, {0, 4}, {1, 5}, {3, 7}, {2, 6}};
    for (const CEdge& e : kEdges)
        AddSegment(make, p[e.a], p[e.b]);
    static constexpr int kFaces[6][4] = {{0, 3, 2, 1}, {2, 3, 7, 6}, {4, 5, 6, 7},
                                         {0, 1, 5, 4}, {1, 2, 6, 5}, {3, 0, 4, 7}};
    for (const auto& f : kFaces)
        AddFace(make, {p[f[0]], p[f[1]], p[f[2]], p[f[3]]});
    return make.Count();
}

int CGPage::BuildStaticPrism(float cx, float cy, float cz, int n, float radius, float height, float ratio) {
    if (!IsPolygonCount(n))
        return 0;
    CCellMaker make(*this);
    if (!make.Reserve(6 * n + 2, 2 * n))
        return 0;
    const CCentre c = {cx, cy, cz};
    const std::vector<float> angles = PolygonAngles(n);
    std::vector<WORD> bottom, top;
    for (float a : angles)
        bottom.push_back(AddPointAt(make, c, radius * std::cos(a), radius * std::sin(a), -height * 0.5f));
    for (int i = 0; i < n; ++i) {
        const float a = angles[size_t(i)];
        top.push_back(AddNamedPointAt(make, TopName(*this, bottom[size_t(i)]), c,
                                      radius * ratio * std::cos(a), radius * ratio * std::sin(a),
                                      height * 0.5f));
    }
    AddSegment(make, bottom[0], top[0]);
    for (size_t i = 1; i < size_t(n); ++i) {
        AddSegment(make, bottom[i], top[i]);
        AddSegment(make, bottom[i - 1], bottom[i]);
        AddSegment(make, top[i - 1], top[i]);
        AddFace(make, {bottom[i - 1], bottom[i], top[i], top[i - 1]});
    }
    const size_t last = size_t(n) - 1;
    AddSegment(make, bottom[last], bottom[0]);
    AddSegment(make, top[last], top[0]);
    AddFace(make, {bottom[last], bottom[0], top[0], top[last]});
    // The bottom seen from below, the top from above.
    AddFace(make, std::vector<WORD>(bottom.rbegin(), bottom.rend()));
    AddFace(make, top);
    return make.Count();
}

int CGPage::BuildStaticPyramid(float cx, float cy, float cz, int n, float radius, float height) {
    if (!IsPolygonCount(n))
        return 0;
    CCellMaker make(*this);
    if (!make.Reserve(4 * n + 2, n + 1))
        return 0;
    const CCentre c = {cx, cy, cz};
    std::vector<WORD> base;
    for (float a : PolygonAngles(n))
        base.push_back(AddPointAt(make, c, radius * std::cos(a), radius * std::sin(a), -height * 0.5f));
    const WORD apex = AddPointAt(make, c, 0.0f, 0.0f, height * 0.5f);
    AddSegment(make, apex, base[0]);
    for (size_t i = 1; i < size_t(n); ++i) {
        AddSegment(make, apex, base[i]);
        AddSegment(make, base[i - 1], base[i]);
        AddFace(make, {apex, base[i - 1], base[i]});
    }
    const size_t last = size_t(n) - 1;
    AddSegment(make, base[last], base[0]);
    AddFace(make, {apex, base[last], base[0]});
    AddFace(make, std::vector<WORD>(base.rbegin(), base.rend()));
    return make.Count();
}

int CGPage::BuildStaticRegularPolygon(float cx, float cy, float cz, int n, float radius) {
    if (!IsPolygonCount(n))
        return 0;
    CCellMaker make(*this);
    if (!make.Reserve(2 * n + 1, n))
        return 0;
    const CCentre c = {cx, cy, cz};
    std::vector<WORD> corners;
    for (float a : PolygonAngles(n))
        corners.push_back(AddPointAt(make, c, radius * std::cos(a), radius * std::sin(a), 0.0f));
    for (size_t i = 1; i < size_t(n); ++i)
        AddSegment(make, corners[i - 1], corners[i]);
    AddSegment(make, corners[size_t(n) - 1], corners[0]);
    AddFace(make, corners);
    return make.Count();
}

int CGPage::BuildStaticTetrahedron(float cx, float cy, float cz, float radius) {
    return BuildTableSolid(*this, {cx, cy, cz}, radius, kTetrahedron.points, kTetrahedronEdges,
                           kTetrahedronFaces, false);
}

int CGPage::BuildStaticOctahedron(float cx, float cy, float cz, float radius) {
    return BuildTableSolid(*this, {cx, cy, cz}, radius, kOctahedronCorners, kOctahedronEdges,
                           kOctahedronFaces, false);
}

int CGPage::BuildStaticDodecahedron(float cx, float cy, float cz, float radius) {
    const float s = float(radius / std::sqrt(3.0));
    return BuildTableSolid(*this, {cx, cy, cz}, s, kDodecahedronPoints, kDodecahedronEdges,
                           kDodecahedronFaces, true);
}

int CGPage::BuildStaticIcosahedron(float cx, float cy, float cz, float radius) {
    return BuildTableSolid(*this, {cx, cy, cz}, radius, kIcosahedronPoints, kIcosahedronEdges,
                           kIcosahedronFaces, true);
}
