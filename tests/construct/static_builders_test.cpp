// The page's builders of fixed figures with straight edges: their counts and cell order, names, the
// orientation of every face, the points checked by the figures' invariants (edge lengths, distances
// from the centre) and a few hand-computed values, the display of the filled solids, the face
// colours, and what they do when the vertex array gives out or the side count is no polygon's.
#include "construct_fixture.h"

#include "model/face.h"
#include "model/line.h"
#include "view/view_colors.h"

#include <QString>

#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

constexpr double kPi = 3.141592653589793;

struct V3 {
    double x, y, z;
};
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(V3 a) {
    return std::sqrt(Dot(a, a));
}

// What a builder made, sorted by class, in id order.
struct CFigure {
    std::vector<CGVertex*> points;
    std::vector<CGLine*> edges;
    std::vector<CGFace*> faces;
};

class StaticBuilders : public ConstructTest {
protected:
    // The cells from `first` up, which must be points, then segments, then faces.
    CFigure Collect(WORD first) {
        CFigure f;
        int stage = 0;
        for (CGCell* cell : MadeFrom(first)) {
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, cell)) {
                EXPECT_EQ(stage, 0) << "a point after an edge or a face";
                EXPECT_STREQ(cell->GetRuntimeClass()->m_lpszClassName, "CGVertex");
                f.points.push_back(p);
            } else if (auto* e = DYNAMIC_DOWNCAST(CGLine, cell)) {
                stage = std::max(stage, 1);
                EXPECT_EQ(e->m_kind, CGLine::kSegment);
                f.edges.push_back(e);
            } else if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell)) {
                stage = 2;
                f.faces.push_back(face);
            } else {
                ADD_FAILURE() << "an unexpected cell";
            }
        }
        return f;
    }
    // Points, edges and faces interleaved as the prism and pyramid make them: only the points
    // must come first.
    CFigure CollectAny(WORD first) {
        CFigure f;
        for (CGCell* cell : MadeFrom(first)) {
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, cell)) {
                EXPECT_TRUE(f.edges.empty() && f.faces.empty()) << "a point after an edge or a face";
                f.points.push_back(p);
            } else if (auto* e = DYNAMIC_DOWNCAST(CGLine, cell)) {
                f.edges.push_back(e);
            } else if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell)) {
                f.faces.push_back(face);
            }
        }
        return f;
    }
    static V3 At(const CGCell* cell) {
        auto* p = DYNAMIC_DOWNCAST(CGVertex, cell);
        return p ? V3{p->m_x, p->m_y, p->m_z} : V3{0, 0, 0};
    }
    V3 At(WORD id) const { return At(m_page->FindCell(id)); }
    static std::vector<std::string> Names(const CFigure& f) {
        std::vector<std::string> names;
        for (const CGVertex* p : f.points)
            names.push_back(p->m_name.ToQString().toStdString());
        return names;
    }
    // The outward (right-hand) normal of a face by Newell's rule, and its centre.
    V3 Normal(const CGFace& face) const {
        const std::vector<WORD> c = Parents(&face);
        V3 n{0, 0, 0};
        for (size_t i = 0; i < c.size(); ++i) {
            const V3 p = At(c[i]), q = At(c[(i + 1) % c.size()]);
            n.x += (p.y - q.y) * (p.z + q.z);
            n.y += (p.z - q.z) * (p.x + q.x);
            n.z += (p.x - q.x) * (p.y + q.y);
        }
        return n;
    }
    V3 Centre(const CGFace& face) const {
        const std::vector<WORD> c = Parents(&face);
        V3 m{0, 0, 0};
        for (WORD id : c) {
            const V3 p = At(id);
            m = {m.x + p.x / double(c.size()), m.y + p.y / double(c.size()), m.z + p.z / double(c.size())};
        }
        return m;
    }
    // A closed convex solid about its centre: every face plane, with its corners on it, faces away
    // from the centre; every edge lies on exactly two faces, once each way round, and every side of a
    // face is an edge of the figure.
    void ExpectClosedSolid(const CFigure& f, V3 centre) {
        std::set<std::pair<WORD, WORD>> edges;
        for (const CGLine* e : f.edges) {
            const std::vector<WORD> ends = Parents(e);
            ASSERT_EQ(ends.size(), 2u);
            EXPECT_TRUE(edges.insert({std::min(ends[0], ends[1]), std::max(ends[0], ends[1])}).second)
                << "an edge made twice";
        }
        std::map<std::pair<WORD, WORD>, int> sides; // directed sides of the faces
        for (const CGFace* face : f.faces) {
            const V3 n = Normal(*face);
            const double len = Length(n);
            ASSERT_GT(len, 1e-6);
            const V3 u = {n.x / len, n.y / len, n.z / len};
            EXPECT_GT(Dot(u, Centre(*face) - centre), 1e-3) << "face " << face->m_id << " turns inwards";
            const std::vector<WORD> c = Parents(face);
            for (size_t i = 0; i < c.size(); ++i) {
                EXPECT_NEAR(Dot(u, At(c[i]) - Centre(*face)), 0.0, 1e-4)
                    << "face " << face->m_id << " is flat";
                const WORD a = c[i], b = c[(i + 1) % c.size()];
                ++sides[{a, b}];
                EXPECT_TRUE(edges.count({std::min(a, b), std::max(a, b)})) << "a side that is no edge";
            }
        }
        EXPECT_EQ(sides.size(), 2 * edges.size());
        for (const auto& [side, count] : sides) {
            EXPECT_EQ(count, 1);
            EXPECT_EQ(sides.count({side.second, side.first}), 1u) << "an edge on one face only";
        }
    }
    // The lengths of the edges: all equal to `length`.
    void ExpectEdgeLengths(const CFigure& f, double length, double tolerance = 1e-4) {
        for (const CGLine* e : f.edges) {
            const std::vector<WORD> ends = Parents(e);
            EXPECT_NEAR(Length(At(ends[0]) - At(ends[1])), length, tolerance) << "edge " << e->m_id;
        }
    }
    void ExpectDistances(const CFigure& f, V3 centre, double r, double tolerance = 1e-4) {
        for (const CGVertex* p : f.points)
            EXPECT_NEAR(Length(At(p) - centre), r, tolerance) << p->m_name.ToQString().toStdString();
    }
    static double AngleOf(const CGVertex* p, V3 centre) {
        return std::atan2(p->m_y - centre.y, p->m_x - centre.x) * 180.0 / kPi;
    }
    void ExhaustVertexArray() {
        g_vertexArrayCapacity = int(m_page->m_nextVertex);
        HxSetVertexArrayGrowthFails(true);
    }
};

// ---------------------------------------------------------------------------------------------
// Counts, cell order and names

TEST_F(StaticBuilders, EachBuilderMakesItsCountOfPointsEdgesAndFaces) {
    const struct Row {
        const char* name;
        std::function<int(CGPage&)> build;
        int result, points, edges, faces;
    } rows[] = {
        {"cuboid", [](CGPage& p) { return p.BuildStaticCuboid(0, 0, 0, 12, 8, 10); }, 26, 8, 12, 6},
        {"prism 3", [](CGPage& p) { return p.BuildStaticPrism(0, 0, 0, 3, 8, 10, 1); }, 20, 6, 9, 5},
        {"prism 6", [](CGPage& p) { return p.BuildStaticPrism(0, 0, 0, 6, 8, 10, 1); }, 38, 12, 18, 8},
        {"frustum 100", [](CGPage& p) { return p.BuildStaticPrism(0, 0, 0, 100, 8, 10, 0.5f); }, 602, 200,
         300, 102},
        {"pyramid 4", [](CGPage& p) { return p.BuildStaticPyramid(0, 0, 0, 4, 8, 10); }, 18, 5, 8, 5},
        {"pyramid 5", [](CGPage& p) { return p.BuildStaticPyramid(0, 0, 0, 5, 8, 10); }, 22, 6, 10, 6},
        {"polygon 3", [](CGPage& p) { return p.BuildStaticRegularPolygon(0, 0, 0, 3, 8); }, 7, 3, 3, 1},
        {"polygon 7", [](CGPage& p) { return p.BuildStaticRegularPolygon(0, 0, 0, 7, 8); }, 15, 7, 7, 1},
        {"tetrahedron", [](CGPage& p) { return p.BuildStaticTetrahedron(0, 0, 0, 8); }, 14, 4, 6, 4},
        {"octahedron", [](CGPage& p) { return p.BuildStaticOctahedron(0, 0, 0, 8); }, 26, 6, 12, 8},
        {"dodecahedron", [](CGPage& p) { return p.BuildStaticDodecahedron(0, 0, 0, 8); }, 62, 20, 30, 12},
        {"icosahedron", [](CGPage& p) { return p.BuildStaticIcosahedron(0, 0, 0, 8); }, 62, 12, 30, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WORD first = m_page->m_nextId;
        const DWORD firstVertex = m_page->m_nextVertex;
        ASSERT_EQ(row.build(*m_page), row.result);
        EXPECT_EQ(m_page->m_nextId, first + row.result);
        EXPECT_EQ(m_page->m_nextVertex, firstVertex + DWORD(row.points));
        const CFigure f = CollectAny(first);
        EXPECT_EQ(f.points.size(), size_t(row.points));
        EXPECT_EQ(f.edges.size(), size_t(row.edges));
        EXPECT_EQ(f.faces.size(), size_t(row.faces));
    }
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "the builders record no undo step";
}

TEST_F(StaticBuilders, TheCuboidNamesItsTopAfterItsBottomAndListsItsFacesInOrder) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCuboid(1, 2, 3, 12, 8, 10), 26);
    const CFigure f = Collect(first);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C", "D", "A1", "B1", "C1", "D1"}));
    // Hand values: A at the low corner, C1 at the high one.
    ExpectNear(*f.points[0], 1 - 6, 2 - 4, 3 - 5);
    ExpectNear(*f.points[2], 1 + 6, 2 + 4, 3 - 5);
    ExpectNear(*f.points[6], 1 + 6, 2 + 4, 3 + 5);
    const WORD p = first;
    auto ids = [p](std::initializer_list<int> ks) {
        std::vector<WORD> out;
        for (int k : ks)
            out.push_back(WORD(p + k));
        return out;
    };
    EXPECT_EQ(Parents(f.edges[0]), ids({0, 1}));
    EXPECT_EQ(Parents(f.edges[11]), ids({2, 6}));
    EXPECT_EQ(Parents(f.faces[0]), ids({0, 3, 2, 1})) << "the bottom first";
    EXPECT_EQ(Parents(f.faces[2]), ids({4, 5, 6, 7})) << "the top third";
    ExpectClosedSolid(f, {1, 2, 3});
    // The next point is named on from D.
    EXPECT_EQ(AddPoint(0, 0, 0)->m_name, CString(u"E"));
}

TEST_F(StaticBuilders, TheSquarePrismStandsOnASquareParallelToTheAxes) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticPrism(0, 0, 0, 4, 1, 2, 1.0f), 26);
    const CFigure f = CollectAny(first);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C", "D", "A1", "B1", "C1", "D1"}));
    const double angles[] = {-135, -45, 45, 135};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(AngleOf(f.points[size_t(i)], {0, 0, 0}), angles[i], 1e-4) << i;
        EXPECT_NEAR(AngleOf(f.points[size_t(i) + 4], {0, 0, 0}), angles[i], 1e-4) << i;
        EXPECT_FLOAT_EQ(f.points[size_t(i)]->m_z, -1.0f);
        EXPECT_FLOAT_EQ(f.points[size_t(i) + 4]->m_z, 1.0f);
    }
    ExpectNear(*f.points[0], -std::sqrt(0.5), -std::sqrt(0.5), -1);
    // The cells in the order they are made: the lateral edge A A1, then per side i the lateral edge,
    // the bottom edge, the top edge and the lateral face; the closing side; bottom and top.
    const std::vector<std::string> side = {"CGLine", "CGLine", "CGLine", "CGFace"};
    std::vector<std::string> order(8, "CGVertex");
    order.push_back("CGLine");
    for (int i = 1; i < 4; ++i)
        order.insert(order.end(), side.begin(), side.end());
    order.insert(order.end(), {"CGLine", "CGLine", "CGFace", "CGFace", "CGFace"});
    EXPECT_EQ(ClassesFrom(first), order);
    const WORD a = first, a1 = WORD(first + 4);
    EXPECT_EQ(Parents(f.edges[0]), (std::vector<WORD>{a, a1}));
    EXPECT_EQ(Parents(f.faces[0]), (std::vector<WORD>{a, WORD(a + 1), WORD(a1 + 1), a1}));
    EXPECT_EQ(Parents(f.faces[4]), (std::vector<WORD>{WORD(a + 3), WORD(a + 2), WORD(a + 1), a}))
        << "the bottom in reverse";
    EXPECT_EQ(Parents(f.faces[5]), (std::vector<WORD>{a1, WORD(a1 + 1), WORD(a1 + 2), WORD(a1 + 3)}));
    ExpectClosedSolid(f, {0, 0, 0});
}

TEST_F(StaticBuilders, TheFrustumScalesItsTopByTheRatio) {
    for (const float ratio : {0.5f, 1.0f, 2.0f}) {
        SCOPED_TRACE(ratio);
        const WORD first = m_page->m_nextId;
        ASSERT_EQ(m_page->BuildStaticPrism(5, -5, 2, 6, 8, 10, ratio), 38);
        const CFigure f = CollectAny(first);
        for (int i = 0; i < 6; ++i) {
            const CGVertex* bottom = f.points[size_t(i)];
            const CGVertex* top = f.points[size_t(i) + 6];
            EXPECT_NEAR(Length(At(bottom) - V3{5, -5, -3}), 8.0, 1e-5);
            EXPECT_NEAR(Length(At(top) - V3{5, -5, 7}), 8.0 * ratio, 1e-5);
            EXPECT_NEAR(AngleOf(top, {5, -5, 0}), AngleOf(bottom, {5, -5, 0}), 1e-3);
            EXPECT_EQ(top->m_name, bottom->m_name + u"1");
        }
        ExpectClosedSolid(f, {5, -5, 2});
    }
}

TEST_F(StaticBuilders, ThePyramidNamesItsApexAfterTheBase) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticPyramid(0, 0, 1, 5, 3, 4), 22);
    const CFigure f = CollectAny(first);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    ExpectNear(*f.points[5], 0, 0, 3);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(Length(At(f.points[size_t(i)]) - V3{0, 0, -1}), 3.0, 1e-5);
        EXPECT_FLOAT_EQ(f.points[size_t(i)]->m_z, -1.0f);
    }
    // Lateral edge F A first; the lateral faces start at the apex; the base reversed comes last.
    const WORD apex = WORD(first + 5);
    EXPECT_EQ(Parents(f.edges[0]), (std::vector<WORD>{apex, first}));
    EXPECT_EQ(Parents(f.faces[0]), (std::vector<WORD>{apex, first, WORD(first + 1)}));
    EXPECT_EQ(Parents(f.faces[5]),
              (std::vector<WORD>{WORD(first + 4), WORD(first + 3), WORD(first + 2), WORD(first + 1), first}));
    ExpectClosedSolid(f, {0, 0, 1});
}

TEST_F(StaticBuilders, TheRegularPolygonRunsCounterClockwiseFromTheSideBelowTheCentre) {
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticRegularPolygon(2, 3, 4, 3, 2), 7);
    const CFigure f = Collect(first);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C"}));
    const double angles[] = {-150, -30, 90};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(AngleOf(f.points[size_t(i)], {2, 3, 4}), angles[i], 1e-4);
        EXPECT_FLOAT_EQ(f.points[size_t(i)]->m_z, 4.0f);
    }
    EXPECT_NEAR(f.points[0]->m_y, f.points[1]->m_y, 1e-6) << "AB parallel to x";
    ExpectNear(*f.points[2], 2, 5, 4);
    EXPECT_EQ(Parents(f.edges[0]), (std::vector<WORD>{first, WORD(first + 1)}));
    EXPECT_EQ(Parents(f.edges[2]), (std::vector<WORD>{WORD(first + 2), first}));
    EXPECT_GT(Normal(*f.faces[0]).z, 0.0) << "counter-clockwise from +z";
    ExpectEdgeLengths(f, 2 * std::sqrt(3.0));
}

TEST_F(StaticBuilders, TheRegularSolidsLieOnTheirSphereWithEqualEdges) {
    const V3 c = {1, -2, 3};
    const double r = 6;
    const struct Row {
        const char* name;
        std::function<int(CGPage&)> build;
        double edge; // edge length for circumradius r
    } rows[] = {
        {"tetrahedron", [&](CGPage& p) { return p.BuildStaticTetrahedron(1, -2, 3, 6); },
         r * std::sqrt(8.0 / 3.0)},
        {"octahedron", [&](CGPage& p) { return p.BuildStaticOctahedron(1, -2, 3, 6); }, r * std::sqrt(2.0)},
        {"dodecahedron", [&](CGPage& p) { return p.BuildStaticDodecahedron(1, -2, 3, 6); },
         r * 4.0 / (std::sqrt(3.0) * (1 + std::sqrt(5.0)))},
        {"icosahedron", [&](CGPage& p) { return p.BuildStaticIcosahedron(1, -2, 3, 6); },
         r * 4.0 / std::sqrt(10.0 + 2.0 * std::sqrt(5.0))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WORD first = m_page->m_nextId;
        ASSERT_GT(row.build(*m_page), 0);
        const CFigure f = Collect(first);
        ExpectDistances(f, c, r);
        ExpectEdgeLengths(f, row.edge);
        ExpectClosedSolid(f, c);
        // Points named on in order from where the page's names stand.
        for (size_t i = 1; i < f.points.size(); ++i)
            EXPECT_NE(f.points[i]->m_name, f.points[i - 1]->m_name);
    }
}

TEST_F(StaticBuilders, HandValuesOfTheRegularSolids) {
    WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticTetrahedron(0, 0, 0, 10), 14);
    CFigure f = Collect(first);
    EXPECT_EQ(Names(f), (std::vector<std::string>{"A", "B", "C", "D"}));
    ExpectNear(*f.points[0], -5.7735026, -5.7735026, -5.7735026);
    ExpectNear(*f.points[3], 5.7735026, -5.7735026, 5.7735026);
    EXPECT_EQ(Parents(f.faces[0]), (std::vector<WORD>{WORD(first + 2), WORD(first + 1), first}));

    first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticOctahedron(0, 0, 0, 2), 26);
    f = Collect(first);
    ExpectNear(*f.points[1], -2, 0, 0);
    ExpectNear(*f.points[5], 0, 0, -2);

    first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticDodecahedron(0, 0, 0, std::sqrt(3.0f)), 62);
    f = Collect(first);
    ExpectNear(*f.points[0], -1.618034, 0, 0.618034);
    ExpectNear(*f.points[9], 1, 1, 1);
    EXPECT_EQ(Parents(f.faces[0]).size(), 5u);

    first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticIcosahedron(0, 0, 0, 1), 62);
    f = Collect(first);
    ExpectNear(*f.points[0], -0.5257311, 0, 0.8506508);
    ExpectNear(*f.points[11], -0.8506508, -0.5257311, 0);
}

TEST_F(StaticBuilders, TheCubeOfTheDialogHasItsCornersOnTheCircumsphere) {
    // The cube's edge for a radius of 10, as the command gives it.
    const float e = 10.0f * 1.1547005f;
    EXPECT_FLOAT_EQ(e, 11.547005f);
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCuboid(0, 0, 0, e, e, e), 26);
    const CFigure f = Collect(first);
    ExpectDistances(f, {0, 0, 0}, 10.0);
    ExpectEdgeLengths(f, e);
}

// ---------------------------------------------------------------------------------------------
// Display, colours and refusals

TEST_F(StaticBuilders, TheDodecahedronAndIcosahedronAreFilledWithoutPointMarks) {
    const struct Row {
        const char* name;
        std::function<int(CGPage&)> build;
        bool filled;
    } rows[] = {
        {"cuboid", [](CGPage& p) { return p.BuildStaticCuboid(0, 0, 0, 1, 2, 3); }, false},
        {"prism", [](CGPage& p) { return p.BuildStaticPrism(0, 0, 0, 5, 1, 2, 0.5f); }, false},
        {"pyramid", [](CGPage& p) { return p.BuildStaticPyramid(0, 0, 0, 5, 1, 2); }, false},
        {"polygon", [](CGPage& p) { return p.BuildStaticRegularPolygon(0, 0, 0, 5, 1); }, false},
        {"tetrahedron", [](CGPage& p) { return p.BuildStaticTetrahedron(0, 0, 0, 1); }, false},
        {"octahedron", [](CGPage& p) { return p.BuildStaticOctahedron(0, 0, 0, 1); }, false},
        {"dodecahedron", [](CGPage& p) { return p.BuildStaticDodecahedron(0, 0, 0, 1); }, true},
        {"icosahedron", [](CGPage& p) { return p.BuildStaticIcosahedron(0, 0, 0, 1); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const WORD first = m_page->m_nextId;
        ASSERT_GT(row.build(*m_page), 0);
        const CFigure f = CollectAny(first);
        for (const CGVertex* p : f.points)
            EXPECT_EQ(p->m_hidden, row.filled ? 1 : 0);
        for (const CGLine* e : f.edges)
            EXPECT_EQ(e->m_style, row.filled ? 1 : 0);
        for (const CGFace* face : f.faces)
            EXPECT_EQ(face->m_style, row.filled ? CGFace::kStyleFilled : CGFace().m_style);
    }
}

TEST_F(StaticBuilders, EveryFaceTakesTheNextAutomaticColour) {
    std::vector<COLORREF> expected;
    {
        const int h = g_autoColorHueIndex, l = g_autoColorLightnessIndex, s = g_autoColorSaturationIndex;
        for (int i = 0; i < 12; ++i)
            expected.push_back(NextAutoColor());
        g_autoColorHueIndex = h;
        g_autoColorLightnessIndex = l;
        g_autoColorSaturationIndex = s;
    }
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildStaticCuboid(0, 0, 0, 1, 1, 1), 26);
    ASSERT_EQ(m_page->BuildStaticCuboid(5, 0, 0, 1, 1, 1), 26);
    std::vector<COLORREF> got;
    for (CGCell* cell : MadeFrom(first)) {
        if (auto* face = DYNAMIC_DOWNCAST(CGFace, cell))
            got.push_back(RGB(face->m_color.r, face->m_color.g, face->m_color.b));
    }
    EXPECT_EQ(got, expected);
    EXPECT_NE(got[0], got[6]) << "the second cube's faces differ from the first's";
}

TEST_F(StaticBuilders, NothingIsMadeWhenTheVertexArrayCannotGrowOrTheSideCountIsNoPolygons) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    for (int n : {-1, 0, 1, 2, 256}) {
        EXPECT_EQ(m_page->BuildStaticPrism(0, 0, 0, n, 1, 1, 1), 0) << n;
        EXPECT_EQ(m_page->BuildStaticPyramid(0, 0, 0, n, 1, 1), 0) << n;
        EXPECT_EQ(m_page->BuildStaticRegularPolygon(0, 0, 0, n, 1), 0) << n;
    }
    ExhaustVertexArray();
    EXPECT_EQ(m_page->BuildStaticCuboid(0, 0, 0, 1, 1, 1), 0);
    EXPECT_EQ(m_page->BuildStaticPrism(0, 0, 0, 4, 1, 1, 1), 0);
    EXPECT_EQ(m_page->BuildStaticPyramid(0, 0, 0, 4, 1, 1), 0);
    EXPECT_EQ(m_page->BuildStaticRegularPolygon(0, 0, 0, 4, 1), 0);
    EXPECT_EQ(m_page->BuildStaticTetrahedron(0, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticOctahedron(0, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticDodecahedron(0, 0, 0, 1), 0);
    EXPECT_EQ(m_page->BuildStaticIcosahedron(0, 0, 0, 1), 0);
    const PageSnapshot after = TakeSnapshot(*m_page);
    EXPECT_EQ(after, before) << SnapshotDifference(after, before);
    HxSetVertexArrayGrowthFails(false);
}

} // namespace
