// The tables behind the component shapes, checked by what makes them right rather than by their
// numbers: the regular solids (corner, edge and face counts, corners on their sphere, equal edges,
// Euler's formula, faces drawn counter-clockwise with outward normals), the C60 model built on the
// icosahedron, and the teapot's patch data (indices, shared patch borders, mirror copies).
#include "solids/shapes.h"
#include "view/outline_glyphs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

namespace {

double Length(const CShapeVec& v) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}
CShapeVec Minus(const CShapeVec& a, const CShapeVec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double Dot(const CShapeVec& a, const CShapeVec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
CShapeVec Cross(const CShapeVec& a, const CShapeVec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
CShapeVec Unit(const CShapeVec& v) {
    const double l = Length(v);
    return {v[0] / l, v[1] / l, v[2] / l};
}
CShapeVec Centroid(const std::vector<CShapeVec>& points) {
    CShapeVec c{0, 0, 0};
    for (const CShapeVec& p : points)
        for (int i = 0; i < 3; ++i)
            c[i] += p[size_t(i)] / double(points.size());
    return c;
}

struct SolidCase {
    HxRegularSolid which;
    const char* name;
    size_t corners, edges, faces, faceSize;
    double radius; // of the drawn corners
};

const SolidCase kSolids[] = {
    {HxRegularSolid::Tetrahedron, "tetrahedron", 4, 6, 4, 3, 1.0},
    {HxRegularSolid::Octahedron, "octahedron", 6, 12, 8, 3, 1.0},
    {HxRegularSolid::Icosahedron, "icosahedron", 12, 30, 20, 3, 1.0},
    {HxRegularSolid::Dodecahedron, "dodecahedron", 20, 30, 12, 5, std::sqrt(3.0)},
};

// The corners a face is drawn with, in drawing order: triangles are put on the unit sphere and drawn
// a, c, b; pentagons as listed.
std::vector<CShapeVec> DrawnFace(const CShapeSolid& solid, const std::vector<int>& face) {
    std::vector<CShapeVec> out;
    for (int i : face)
        out.push_back(solid.corners[size_t(i)]);
    if (face.size() == 3) {
        for (CShapeVec& p : out)
            p = Unit(p);
        std::swap(out[1], out[2]);
    }
    return out;
}

} // namespace

TEST(ShapeTables, RegularSolidsHaveTheirCountsEqualEdgesAndEulersFormula) {
    for (const SolidCase& c : kSolids) {
        SCOPED_TRACE(c.name);
        const CShapeSolid& solid = HxRegularSolidTable(c.which);
        ASSERT_EQ(solid.corners.size(), c.corners);
        ASSERT_EQ(solid.faces.size(), c.faces);
        std::set<std::pair<int, int>> edges;
        std::map<std::pair<int, int>, int> edgeUse;
        for (const std::vector<int>& f : solid.faces) {
            ASSERT_EQ(f.size(), c.faceSize);
            for (size_t i = 0; i < f.size(); ++i) {
                ASSERT_GE(f[i], 0);
                ASSERT_LT(size_t(f[i]), c.corners);
                const int a = f[i], b = f[(i + 1) % f.size()];
                edges.insert({std::min(a, b), std::max(a, b)});
                ++edgeUse[{a, b}];
            }
        }
        EXPECT_EQ(edges.size(), c.edges);
        EXPECT_EQ(int(c.corners) - int(edges.size()) + int(c.faces), 2);
        // Each edge is walked once each way by its two faces: the faces agree in orientation.
        for (const auto& [ab, n] : edgeUse) {
            EXPECT_EQ(n, 1);
            EXPECT_EQ(edgeUse.count({ab.second, ab.first}), 1u);
        }
        // Every drawn corner on the solid's sphere, every edge of the same length.
        double edgeLength = -1.0;
        for (const auto& [a, b] : edges) {
            std::vector<CShapeVec> ends = {solid.corners[size_t(a)], solid.corners[size_t(b)]};
            if (c.faceSize == 3)
                ends = {Unit(ends[0]), Unit(ends[1])};
            EXPECT_NEAR(Length(ends[0]), c.radius, 1e-12);
            const double l = Length(Minus(ends[0], ends[1]));
            if (edgeLength < 0)
                edgeLength = l;
            EXPECT_NEAR(l, edgeLength, 1e-12);
        }
    }
}

TEST(ShapeTables, FacesAreDrawnCounterClockwiseWithOutwardNormals) {
    for (const SolidCase& c : kSolids) {
        SCOPED_TRACE(c.name);
        const CShapeSolid& solid = HxRegularSolidTable(c.which);
        for (const std::vector<int>& f : solid.faces) {
            const std::vector<CShapeVec> drawn = DrawnFace(solid, f);
            const CShapeVec centre = Centroid(drawn);
            // Counter-clockwise seen from outside: the winding's normal points away from the centre.
            const CShapeVec winding = Cross(Minus(drawn[1], drawn[0]), Minus(drawn[2], drawn[1]));
            EXPECT_GT(Dot(winding, centre), 0.0);
            const CShapeVec& a = solid.corners[size_t(f[0])];
            const CShapeVec& b = solid.corners[size_t(f[1])];
            const CShapeVec& cc = solid.corners[size_t(f[2])];
            const CShapeVec n = c.faceSize == 3 ? HxTriangleFaceNormal(Unit(a), Unit(b), Unit(cc))
                                                : HxPentagonFaceNormal(a, b, cc);
            EXPECT_NEAR(Length(n), 1.0, 1e-12);
            // The face's normal is the direction of its centre.
            const CShapeVec out = Unit(centre);
            EXPECT_NEAR(Dot(n, out), 1.0, 1e-9);
        }
    }
}

TEST(ShapeTables, ADegenerateFaceHasTheNormalX) {
    const CShapeVec p{1, 2, 3};
    EXPECT_EQ(HxTriangleFaceNormal(p, p, p), (CShapeVec{1, 0, 0}));
    EXPECT_EQ(HxPentagonFaceNormal(p, p, {2, 4, 6}), (CShapeVec{1, 0, 0}));
}

TEST(ShapeTables, C60IsTheTruncatedIcosahedron) {
    const CC60Model& m = HxC60Model();
    ASSERT_EQ(HxIcosahedronEdges().size(), 30u);
    ASSERT_EQ(m.atoms.size(), 60u);
    ASSERT_EQ(m.bonds.size(), 90u);
    const double radius = Length(m.atoms[0]);
    for (const CShapeVec& atom : m.atoms)
        EXPECT_NEAR(Length(atom), radius, 1e-12);
    // No two atoms at one place; every bond a third of the icosahedron's edge and between two atoms;
    // every atom in three bonds (two round its pentagon, one to the next pentagon).
    const double bond = 0.3504874;
    auto atomAt = [&](const CShapeVec& p) {
        int found = -1;
        for (size_t i = 0; i < m.atoms.size(); ++i)
            if (Length(Minus(m.atoms[i], p)) < 1e-9) {
                EXPECT_EQ(found, -1);
                found = int(i);
            }
        return found;
    };
    std::vector<int> bondsPerAtom(60, 0);
    std::set<std::pair<int, int>> seen;
    for (size_t i = 0; i < m.bonds.size(); ++i) {
        EXPECT_NEAR(Length(Minus(m.bonds[i][1], m.bonds[i][0])), bond, 1e-6) << i;
        const int a = atomAt(m.bonds[i][0]), b = atomAt(m.bonds[i][1]);
        ASSERT_GE(a, 0);
        ASSERT_GE(b, 0);
        ASSERT_NE(a, b);
        EXPECT_TRUE(seen.insert({std::min(a, b), std::max(a, b)}).second) << "a bond drawn twice";
        ++bondsPerAtom[size_t(a)];
        ++bondsPerAtom[size_t(b)];
    }
    for (int n : bondsPerAtom)
        EXPECT_EQ(n, 3);
    // V - E + F = 60 - 90 + 32.
    EXPECT_EQ(60 - 90 + 12 + 20, 2);
}

TEST(ShapeTables, TeapotPatchesShareTheirBordersAndMirrorIntoAClosedPot) {
    for (const auto& patch : g_teapotPatches)
        for (int index : patch) {
            EXPECT_GE(index, 0);
            EXPECT_LT(index, kTeapotPointCount);
        }
    // Every control point is used.
    std::set<int> used;
    for (const auto& patch : g_teapotPatches)
        used.insert(std::begin(patch), std::end(patch));
    EXPECT_EQ(used.size(), size_t(kTeapotPointCount));
    // The rim, body and bottom follow one another row for row; the lid's two patches too.
    auto row = [](int patch, int r) {
        return std::vector<int>(g_teapotPatches[patch] + 4 * r, g_teapotPatches[patch] + 4 * r + 4);
    };
    EXPECT_EQ(row(0, 3), row(1, 0));
    EXPECT_EQ(row(1, 3), row(2, 0));
    EXPECT_EQ(row(3, 3), row(4, 0));
    EXPECT_EQ(row(6, 3), std::vector<int>(g_teapotPatches[7], g_teapotPatches[7] + 4));
    EXPECT_EQ(row(8, 3), row(9, 0));
    std::vector<int> bodyBottom = row(2, 3);
    std::reverse(bodyBottom.begin(), bodyBottom.end());
    EXPECT_EQ(row(5, 3), bodyBottom);
    // The quarter patches (rim, body, lid, bottom) end on the planes y = 0 and x = 0, so that their
    // mirror copies meet them; the halves (handle, spout) on y = 0.
    for (int p = 0; p < kTeapotPatchCount; ++p) {
        SCOPED_TRACE(p);
        const bool quarter = p < 6;
        EXPECT_EQ(HxTeapotCopyCount(p), quarter ? 4 : 2);
        for (int r = 0; r < 4; ++r) {
            const float* first = g_teapotPoints[g_teapotPatches[p][4 * r]];
            const float* last = g_teapotPoints[g_teapotPatches[p][4 * r + 3]];
            if (quarter) {
                // One end of each row on each plane (the bottom runs the other way).
                EXPECT_TRUE((first[1] == 0.0f && last[0] == 0.0f) || (first[0] == 0.0f && last[1] == 0.0f));
            } else {
                EXPECT_EQ(first[1], 0.0f);
                EXPECT_EQ(last[1], 0.0f);
            }
        }
    }
    // The mirror copies: y negated with the columns reversed, x negated with the columns reversed,
    // both negated in order.
    float copy[4][4][3];
    const int p = 1;
    HxTeapotPatchCopy(p, 0, copy);
    EXPECT_EQ(copy[2][1][0], g_teapotPoints[g_teapotPatches[p][9]][0]);
    HxTeapotPatchCopy(p, 1, copy);
    EXPECT_EQ(copy[2][1][1], -g_teapotPoints[g_teapotPatches[p][10]][1]);
    EXPECT_EQ(copy[2][1][0], g_teapotPoints[g_teapotPatches[p][10]][0]);
    HxTeapotPatchCopy(p, 2, copy);
    EXPECT_EQ(copy[2][1][0], -g_teapotPoints[g_teapotPatches[p][10]][0]);
    EXPECT_EQ(copy[2][1][1], g_teapotPoints[g_teapotPatches[p][10]][1]);
    HxTeapotPatchCopy(p, 3, copy);
    EXPECT_EQ(copy[2][1][0], -g_teapotPoints[g_teapotPatches[p][9]][0]);
    EXPECT_EQ(copy[2][1][1], -g_teapotPoints[g_teapotPatches[p][9]][1]);
    EXPECT_EQ(copy[2][1][2], g_teapotPoints[g_teapotPatches[p][9]][2]);
}

// The sides of extruded 3D text face away from the filled part of each glyph, whichever way a font
// runs its outlines: outer loops and holes, counter-clockwise or clockwise.
TEST(ShapeTables, ThreeDTextSidesFaceAwayFromTheFilledPart) {
    auto square = [](double x0, double y0, double s, bool ccw) {
        std::vector<double> loop = {x0, y0, x0 + s, y0, x0 + s, y0 + s, x0, y0 + s};
        if (!ccw)
            loop = {x0, y0, x0, y0 + s, x0 + s, y0 + s, x0 + s, y0};
        return loop;
    };
    for (bool outerCcw : {true, false}) {
        COutlineGlyph ring;
        ring.loops = {square(0, 0, 1, outerCcw), square(0.25, 0.25, 0.5, !outerCcw)};
        EXPECT_EQ(HxOutlineLoopHasSolidOnLeft(ring, 0), outerCcw);
        EXPECT_EQ(HxOutlineLoopHasSolidOnLeft(ring, 1), outerCcw) << "a hole runs the other way";
    }
    // A real glyph with a hole: a point a little to the side the solid is not on lies outside the
    // filled part (odd-even over every loop), one to the other side inside.
    const COutlineGlyph o = HxOutlineGlyph(u"Liberation Serif", u'O');
    ASSERT_EQ(o.loops.size(), 2u);
    auto filled = [&](double x, double y) {
        int crossings = 0;
        for (const auto& loop : o.loops) {
            const size_t n = loop.size() / 2;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const double xi = loop[2 * i], yi = loop[2 * i + 1], xj = loop[2 * j], yj = loop[2 * j + 1];
                if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                    ++crossings;
            }
        }
        return crossings % 2 == 1;
    };
    for (size_t k = 0; k < o.loops.size(); ++k) {
        const std::vector<double>& loop = o.loops[k];
        // The middle of the loop's longest edge, and its left normal.
        size_t best = 0;
        double longest = 0;
        const size_t n = loop.size() / 2;
        for (size_t i = 0; i < n; ++i) {
            const size_t j = (i + 1) % n;
            const double l = std::hypot(loop[2 * j] - loop[2 * i], loop[2 * j + 1] - loop[2 * i + 1]);
            if (l > longest) {
                longest = l;
                best = i;
            }
        }
        const size_t j = (best + 1) % n;
        const double mx = (loop[2 * best] + loop[2 * j]) / 2, my = (loop[2 * best + 1] + loop[2 * j + 1]) / 2;
        const double lx = -(loop[2 * j + 1] - loop[2 * best + 1]) / longest,
                     ly = (loop[2 * j] - loop[2 * best]) / longest;
        const double e = 0.01;
        const bool left = HxOutlineLoopHasSolidOnLeft(o, k);
        EXPECT_EQ(filled(mx + e * lx, my + e * ly), left) << k;
        EXPECT_EQ(filled(mx - e * lx, my - e * ly), !left) << k;
    }
}
