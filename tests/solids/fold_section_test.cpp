// The net: its tree, the fold factors, where every face lands when the net is flat, half folded and
// closed, and what an open face set does; the section: hand-computed polygons and a plane beside the hull.
#include "hull_fixture.h"

#include "solids/section.h"
#include "support/archive_helpers.h"

#include <cmath>

namespace {

// Column-major 4 × 4 matrices applied as OpenGL applies the net's transforms.
struct Mat {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Mat operator*(const Mat& b) const {
        Mat r;
        for (int c = 0; c < 4; ++c)
            for (int row = 0; row < 4; ++row) {
                double s = 0;
                for (int k = 0; k < 4; ++k)
                    s += m[k * 4 + row] * b.m[c * 4 + k];
                r.m[c * 4 + row] = s;
            }
        return r;
    }
    PolyPoint Apply(double x, double y, double z) const {
        return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
                m[2] * x + m[6] * y + m[10] * z + m[14]};
    }
};
Mat Translate(double x, double y, double z) {
    Mat r;
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}
// About z (axis 2) or x (axis 0), in degrees.
Mat Rotate(double degrees, int axis) {
    const double a = degrees * 3.141592653589793 / 180.0, c = std::cos(a), s = std::sin(a);
    Mat r;
    const int i = axis == 2 ? 0 : 1, j = axis == 2 ? 1 : 2;
    r.m[i * 4 + i] = c;
    r.m[i * 4 + j] = s;
    r.m[j * 4 + i] = -s;
    r.m[j * 4 + j] = c;
    return r;
}

class NetTest : public HullTest {
protected:
    // Every placed node's corners in world space at the parameter t.
    static std::vector<std::vector<PolyPoint>> Corners(const CGFold& net, double t) {
        std::vector<std::vector<PolyPoint>> out(net.m_nodes.size());
        Walk(net, net.m_root, Translate(net.m_position[0], net.m_position[1], net.m_position[2]), t, out);
        return out;
    }
    static void Walk(const CGFold& net, int index, const Mat& outer, double t,
                     std::vector<std::vector<PolyPoint>>& out) {
        const FoldNode& n = net.m_nodes[size_t(index)];
        const double f = CGFold::FoldFactor(net.m_spreadMode, n.level, t);
        const Mat m = outer * Translate(n.hingePoint.x, n.hingePoint.y, 0) * Rotate(n.hingeAngle, 2) *
                      Rotate(n.foldAngle * f, 0) * Translate(n.ownOffset[0], n.ownOffset[1], n.ownOffset[2]) *
                      Rotate(n.ownAngle, 2);
        for (const FoldPoint2& p : n.polygon)
            out[size_t(index)].push_back(m.Apply(p.x, p.y, 0));
        for (int child : n.children)
            Walk(net, child, m, t, out);
    }
    CGFold* AddNet(CGPolyhedron* hull, int32_t mode) {
        return Insert(new CGFold(NextId(), hull->m_id, u"展开图", CGFold::kStyleLit, mode));
    }
};

TEST_F(NetTest, TheNetFoldsUpIntoItsHull) {
    struct Row {
        int preset;
        int deepest;
    };
    for (const Row r : {Row{5, 1}, Row{6, 2}, Row{7, -1}, Row{3, 1}, Row{8, -1}}) {
        for (int32_t mode : {CGFold::kSpreadTogether, CGFold::kSpreadByLevel}) {
            SCOPED_TRACE(testing::Message() << "preset " << r.preset << " mode " << mode);
            CGPolyhedron* hull = AddPreset(r.preset);
            const CGFold& net = *AddNet(hull, mode);
            if (r.deepest >= 0) {
                EXPECT_EQ(net.m_deepestLevel, r.deepest);
            }
            const double closed = mode == 0 ? 2.0 : net.m_deepestLevel + 1.0;
            const auto shut = Corners(net, closed);
            const auto flat = Corners(net, 0.0);
            const auto based = Corners(net, 1.0);
            const PolyFace& base = hull->m_faces[0];
            for (size_t i = 0; i < net.m_nodes.size(); ++i) {
                ASSERT_TRUE(net.m_nodes[i].placed);
                const std::vector<int32_t>& loop = hull->m_faces[i].loop;
                ASSERT_EQ(shut[i].size(), loop.size());
                for (size_t k = 0; k < loop.size(); ++k) {
                    const PolyPoint& want = hull->m_points[size_t(loop[k])];
                    EXPECT_NEAR(Length(shut[i][k] - want), 0.0, 1e-9) << "face " << i << " corner " << k;
                    EXPECT_NEAR(flat[i][k].z, net.m_position[2], 1e-9);
                    if (mode == 0) {
                        EXPECT_NEAR(base.Evaluate(based[i][k]), 0.0, 1e-9);
                    }
                }
            }
        }
    }
}

TEST_F(NetTest, TetrahedronTreeFactorsAndTextures) {
    CGPolyhedron* hull = AddPreset(5);
    const CGFold& net = *AddNet(hull, CGFold::kSpreadByLevel);
    EXPECT_EQ(hull->m_style, CGPolyhedron::kStyleVisible);
    EXPECT_EQ(net.m_param1, 1.0f);
    ASSERT_EQ(net.m_nodes.size(), 4u);
    EXPECT_EQ(net.m_nodes[0].children, (std::vector<int>{1, 2, 3}));
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(net.m_nodes[i].level, 1);
        EXPECT_GE(hull->m_faces[i].height, hull->m_faces[i - 1].height) << "faces sorted by height";
    }
    EXPECT_DOUBLE_EQ(hull->m_faces[0].height, 0.0);
    // The base has the lowest centre.
    for (const PolyFace& f : hull->m_faces)
        EXPECT_GE(f.centre[2], hull->m_faces[0].centre[2]);
    // Seven textures in turn, across nets.
    const CGFold& second = *AddNet(hull, CGFold::kSpreadTogether);
    std::vector<int32_t> textures;
    for (const CGFold* n : {&net, &second})
        for (const FoldNode& node : n->m_nodes)
            textures.push_back(node.texture);
    EXPECT_EQ(textures, (std::vector<int32_t>{8, 9, 10, 11, 12, 13, 14, 8}));

    struct Row {
        int32_t mode, level;
        double t, f;
    };
    const Row rows[] = {{0, 0, 0.5, 0.5}, {0, 1, 0.5, 0},   {0, 0, 1.0, 1.0}, {0, 1, 1.0, 0},
                        {0, 0, 2.5, 1},   {0, 2, 2.5, 0.5}, {0, 1, 2.0, 1},   {1, 0, 0.25, 0.25},
                        {1, 1, 1.5, 0.5}, {1, 0, 1.5, 1},   {1, 2, 1.5, 0},   {1, 1, 2.0, 1}};
    for (const Row& r : rows)
        EXPECT_NEAR(CGFold::FoldFactor(r.mode, r.level, r.t), r.f, 1e-9)
            << r.mode << " " << r.level << " " << r.t;
}

TEST_F(NetTest, AnOpenFaceSetEndsThePassesAndLeavesFacesOut) {
    CGPolyhedron* hull = AddPreset(6);
    // Keep the bottom and the top only: nothing joins them.
    std::vector<PolyFace> kept;
    for (const PolyFace& f : hull->m_faces)
        if (std::fabs(f.c) > 0.5)
            kept.push_back(f);
    hull->m_faces = kept;
    const CGFold& net = *AddNet(hull, CGFold::kSpreadByLevel);
    ASSERT_EQ(net.m_nodes.size(), 2u);
    EXPECT_TRUE(net.m_nodes[0].children.empty());
    EXPECT_FALSE(net.m_nodes[1].placed);
    EXPECT_EQ(net.m_nodes[1].neighbours, (std::vector<int>{-1, -1, -1, -1}));
    EXPECT_EQ(net.m_deepestLevel, 0);
}

TEST_F(NetTest, ATreeDeeperThanTheStackIsReported) {
    g_modelviewStackDepth = 4;
    AddNet(AddPreset(6), CGFold::kSpreadByLevel);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"矩阵栈已满，显示可能不正常！")});
}

TEST_F(NetTest, TheRecordKeepsTheModeAndTheTreeIsRebuilt) {
    CGPolyhedron* hull = AddPreset(6);
    CGFold* net = AddNet(hull, CGFold::kSpreadByLevel);
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(net); });
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - 4, bytes.end()), ByteBuilder().I32(1).Bytes());
    CGFold* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    std::unique_ptr<CGFold> owner(loaded);
    EXPECT_FALSE(loaded->HasRoot());
    loaded->Recompute();
    EXPECT_EQ(loaded->m_nodes.size(), 6u);
    EXPECT_EQ(loaded->m_deepestLevel, 2);
}

TEST_F(NetTest, ANetCopiedAloneBringsItsHullAndPastesWithNewIds) {
    CGPolyhedron* hull = AddPreset(6);
    CGFold* net = AddNet(hull, CGFold::kSpreadByLevel);
    m_page->SelectCell(net->m_id);
    const std::vector<BYTE> block = StoreBytes([&](CArchive& ar) { m_page->WriteClipboardBlock(ar); });
    const WORD first = m_page->m_nextId;
    int pasted = 0;
    LoadBytes(block, [&](CArchive& ar) {
        int kind;
        ar >> kind;
        pasted = m_page->PasteFromClipboard(ar);
    });
    ASSERT_EQ(pasted, 2);
    auto* hull2 = DYNAMIC_DOWNCAST(CGPolyhedron, m_page->FindCell(first));
    auto* net2 = DYNAMIC_DOWNCAST(CGFold, m_page->FindCell(WORD(first + 1)));
    ASSERT_TRUE(hull2 && net2);
    EXPECT_EQ(hull2->m_faces.size(), 6u);
    EXPECT_EQ(net2->m_parents[0], first);
    EXPECT_EQ(net2->m_nodes.size(), 6u);
    EXPECT_EQ(net2->m_spreadMode, CGFold::kSpreadByLevel);
}

TEST_F(NetTest, PlanarAngleAndPlaceByDistances) {
    struct Row {
        FoldPoint2 p, q;
        double angle;
    };
    const double pi = 3.141592653589793;
    const Row rows[] = {{{1, 0}, {0, 1}, pi / 2}, {{1, 0}, {0, -2}, 3 * pi / 2}, {{1, 0}, {-3, 0}, pi},
                        {{2, 0}, {5, 0}, 0},      {{0, 0}, {1, 0}, 0},           {{1, 1}, {-1, 1}, pi / 2}};
    for (const Row& r : rows)
        EXPECT_NEAR(PlanarAngle(r.p, r.q), r.angle, 1e-12);
    const FoldPoint2 q = PlaceByDistances({1, 1}, {3, 1}, {1, 3});
    EXPECT_NEAR(q.x, 0.0, 1e-12);
    EXPECT_NEAR(q.y, 2.0, 1e-12);
    const FoldPoint2 a = PlaceByDistances({1, 1}, {1, 1}, {4, 5});
    EXPECT_EQ(a.x, 1.0);
    EXPECT_EQ(a.y, 1.0);
}

// ---------------------------------------------------------------------------------------------
// Section

class SectionTest : public HullTest {
protected:
    CGSection* AddSection(CGPolyhedron* hull, CGFace* face) {
        return Insert(new CGSection(NextId(), hull->m_id, face->m_id));
    }
    static void ExpectPolygon(const std::vector<PolyPoint>& got, const std::vector<PolyPoint>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(Length(got[i] - want[i]), 0.0, 1e-6) << i;
    }
};

TEST_F(SectionTest, HandComputedSections) {
    CGPolyhedron* cube = AddCube(2.0);
    struct Row {
        const char* what;
        std::initializer_list<float> face;
        std::vector<PolyPoint> polygon;
    };
    const Row rows[] = {
        {"x + y + z = 0",
         {2, -2, 0, 0, 0, 0, -2, 0, 2},
         {{0, -2, 2}, {2, -2, 0}, {2, 0, -2}, {0, 2, -2}, {-2, 2, 0}, {-2, 0, 2}}},
        {"z = 1", {0, 0, 1, 1, 0, 1, 0, 1, 1}, {{-2, -2, 1}, {2, -2, 1}, {2, 2, 1}, {-2, 2, 1}}},
        {"x + y = 0", {1, -1, 0, 0, 0, 0, 0, 0, 1}, {{2, -2, -2}, {-2, 2, -2}, {-2, 2, 2}, {2, -2, 2}}},
        // Facing the y axis: the corners go round in the z-x plane, from the least x and z.
        {"y = 1", {0, 1, 0, 1, 1, 0, 0, 1, 1}, {{-2, 1, -2}, {-2, 1, 2}, {2, 1, 2}, {2, 1, -2}}},
        {"through a corner and cutting",
         {2, 2, 2, 1, 0, 0, 0, 1, 0},
         {{0, -2, -2}, {2, -2, -2 / 3.0}, {2, 2, 2}, {-2, 2, -2 / 3.0}, {-2, 0, -2}}},
        {"touching a corner only", {2, 2, 2, 2, 0, 4, 0, 2, 4}, {}},
        {"beside the hull", {0, 0, 5, 1, 0, 5, 0, 1, 5}, {}},
        {"corners on one line", {0, 0, 0, 1, 1, 1, 2, 2, 2}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const CGSection& s = *AddSection(cube, AddPlaneFace(r.face));
        EXPECT_TRUE(s.m_valid);
        ExpectPolygon(s.m_polygon, r.polygon);
    }
}

TEST_F(SectionTest, FollowsTheFaceAndLeavesNothingStale) {
    CGPolyhedron* cube = AddCube(2.0);
    CGFace* face = AddPlaneFace({0, 0, 1, 1, 0, 1, 0, 1, 1});
    CGSection* s = AddSection(cube, face);
    EXPECT_EQ(s->m_polygon.size(), 4u);
    EXPECT_EQ(s->GetDescription(), CString(u"多面体与平面的截面图"));
    EXPECT_EQ(s->m_name, CString(u"面与体截面图"));
    for (WORD corner : {face->m_parents[0], face->m_parents[1], face->m_parents[2]}) {
        auto* p = static_cast<CGVertex*>(m_page->FindCell(corner));
        MovePoint(p, p->m_x, p->m_y, 9);
    }
    EXPECT_TRUE(s->m_valid);
    EXPECT_TRUE(s->m_polygon.empty());
    auto* p = static_cast<CGVertex*>(m_page->FindCell(face->m_parents[0]));
    MovePoint(p, 0, 0, -9); // the plane now tilts through the cube
    EXPECT_FALSE(s->m_polygon.empty());
    p->m_valid = false;
    face->Recompute();
    s->Recompute();
    EXPECT_FALSE(s->m_valid);
}

TEST_F(SectionTest, APointBetweenTwoOthersIsDroppedAndReported) {
    CGPolyhedron hull;
    for (int i = 0; i < 8; ++i)
        hull.m_points.push_back({i & 1 ? 2.0 : -2.0, i & 2 ? 2.0 : -2.0, i & 4 ? 2.0 : -2.0});
    hull.m_edges = {{0, 4}, {1, 5}, {2, 6}, {3, 7}, {1, 7}}; // upright edges and a diagonal of x = 2
    std::vector<PolyPoint> out;
    EXPECT_FALSE(ComputeSectionPolygon(PolyFace(0, 0, 1, 0), hull, out));
    EXPECT_EQ(out.size(), 4u);
    std::vector<PolyPoint> untouched = {{9, 9, 9}};
    EXPECT_FALSE(ComputeSectionPolygon(PolyFace(0, 0, 1, -5), hull, untouched));
    EXPECT_EQ(untouched.size(), 1u);
    // Three points keep their order; points off one plane are refused.
    const std::vector<PolyPoint> three = {{0, 1, 0}, {0, 0, 0}, {1, 0, 0}};
    EXPECT_TRUE(OrderCoplanarPolygon(out, three));
    ExpectPolygon(out, three);
    EXPECT_FALSE(OrderCoplanarPolygon(out, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    ExpectPolygon(out, three);
}

} // namespace
