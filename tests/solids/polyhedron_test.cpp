// The hull builder on the presets and its degenerate inputs, the face colours, and the hull record
// byte by byte with the refusal of damaged records.
#include "hull_fixture.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using HullBuilderTest = HullTest;

std::vector<double> Repeat(const std::vector<double>& p, int times) {
    std::vector<double> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(HullBuilderTest, PresetsGiveTheirVerticesEdgesAndFaces) {
    struct Row {
        int item;
        size_t vertices, edges;
        std::map<size_t, int> faceSizes; // corners -> how many faces
    };
    const Row rows[] = {{1, 8, 12, {{4, 6}}},         {2, 12, 18, {{4, 6}, {6, 2}}},
                        {3, 7, 12, {{3, 6}, {6, 1}}}, {4, 12, 18, {{4, 6}, {6, 2}}},
                        {5, 4, 6, {{3, 4}}},          {6, 8, 12, {{4, 6}}},
                        {7, 6, 12, {{3, 8}}},         {8, 20, 30, {{5, 12}}},
                        {9, 12, 30, {{3, 20}}},       {42, 8, 12, {{4, 6}}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.item);
        const CGPolyhedron& hull = *AddPreset(r.item);
        EXPECT_EQ(hull.m_points.size(), r.vertices);
        EXPECT_EQ(hull.m_edges.size(), r.edges);
        std::map<size_t, int> sizes;
        for (const PolyFace& f : hull.m_faces)
            ++sizes[f.loop.size()];
        EXPECT_EQ(sizes, r.faceSizes);
        ExpectClosedConvex(hull);
    }
}

TEST_F(HullBuilderTest, FacesRunCounterClockwiseAroundUnitOutwardNormals) {
    const CGPolyhedron& hull = *AddPreset(8);
    for (const PolyFace& f : hull.m_faces) {
        EXPECT_NEAR(Length(f.Normal()), 1.0, 1e-12);
        const PolyPoint& p0 = hull.m_points[size_t(f.loop[0])];
        const PolyPoint turn =
            Cross(hull.m_points[size_t(f.loop[1])] - p0, hull.m_points[size_t(f.loop[2])] - p0);
        EXPECT_GT(Dot(turn, f.Normal()), 0.0);
    }
}

TEST_F(HullBuilderTest, ColoursComeFromTheProgramsRandomNumbers) {
    const CGPolyhedron& hull = *AddPreset(5);
    // Seed 1 gives 41, 18467, 6334 for the first face.
    EXPECT_DOUBLE_EQ(hull.m_faces[0].red, 0.5 + 0.5 * 41 / 32767.0);
    EXPECT_DOUBLE_EQ(hull.m_faces[0].green, 0.5 + 0.5 * 18467 / 32767.0);
    EXPECT_DOUBLE_EQ(hull.m_faces[0].blue, 0.5 + 0.5 * 6334 / 32767.0);
    for (const PolyFace& f : hull.m_faces)
        for (double c : {f.red, f.green, f.blue})
            EXPECT_TRUE(c >= 0.5 && c <= 1.0);
}

TEST_F(HullBuilderTest, DegenerateInputs) {
    struct Row {
        const char* what;
        std::vector<double> points;
        bool result;
        size_t vertices, edges, faces;
    };
    std::vector<double> line;
    for (int i = 0; i < 10; ++i)
        line.insert(line.end(), {double((i * 7) % 10), 1.0, 2.0}); // 0, 7, 4, 1, 8, ...
    const std::vector<double> square = {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0, 2, 0, 0, 2, 2, 0};
    std::vector<double> cubeInside = HxHullPresetPoints(6);
    cubeInside.insert(cubeInside.begin() + 12, {1, 2, 3}); // inside, fifth in the input
    const Row rows[] = {{"one point", {1, 2, 3}, false, 1, 0, 0},
                        {"two points", {1, 2, 3, 4, 5, 6}, false, 2, 1, 0},
                        {"ten on a line", line, false, 2, 1, 0},
                        {"a triangle", {0, 0, 0, 1, 0, 0, 0, 1, 0}, false, 3, 3, 2},
                        {"a square with points on its side and inside", square, true, 4, 4, 2},
                        {"a cube with a point inside", cubeInside, true, 8, 12, 6},
                        {"a cube given twice", Repeat(HxHullPresetPoints(6), 2), true, 8, 12, 6}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        CGPolyhedron hull;
        EXPECT_EQ(BuildConvexHull(r.points.data(), int(r.points.size() / 3), hull), r.result);
        EXPECT_EQ(hull.m_points.size(), r.vertices);
        EXPECT_EQ(hull.m_edges.size(), r.edges);
        EXPECT_EQ(hull.m_faces.size(), r.faces);
    }
    CGPolyhedron flat;
    BuildConvexHull(square.data(), 6, flat);
    EXPECT_NEAR(Dot(flat.m_faces[0].Normal(), flat.m_faces[1].Normal()), -1.0, 1e-12);
    CGPolyhedron ends;
    BuildConvexHull(line.data(), 10, ends);
    EXPECT_EQ(std::min(ends.m_points[0].x, ends.m_points[1].x), 0.0);
    EXPECT_EQ(std::max(ends.m_points[0].x, ends.m_points[1].x), 9.0);
}

TEST_F(HullBuilderTest, APointBetweenTwoOthersIsDroppedAndNoSolidIsMade) {
    const std::vector<double> points = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0};
    CGPolyhedron hull;
    EXPECT_FALSE(BuildConvexHull(points.data(), 4, hull)) << "four points in a plane are no solid";
    ASSERT_EQ(hull.m_points.size(), 3u);
    EXPECT_EQ(hull.m_edges.size(), 3u);
    EXPECT_EQ(hull.m_faces.size(), 2u);
    std::vector<std::vector<double>> corners;
    for (const PolyPoint& p : hull.m_points)
        corners.push_back({p.x, p.y, p.z});
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(corners, (std::vector<std::vector<double>>{{0, 0, 0}, {0, 1, 0}, {2, 0, 0}}))
        << "(1, 0, 0) lies between (0, 0, 0) and (2, 0, 0)";
}

TEST_F(HullBuilderTest, ThePresetsHaveTheirSizes) {
    // The distance of every corner from the origin, for the regular solids.
    const struct {
        int item;
        double radius;
    } regular[] = {{5, 10.0}, {6, 5.0 * std::sqrt(3.0)}, {7, 6.0}, {8, 6.0}, {9, 6.0}};
    for (const auto& r : regular) {
        const std::vector<double> p = HxHullPresetPoints(r.item);
        ASSERT_FALSE(p.empty()) << r.item;
        for (size_t i = 0; i < p.size(); i += 3)
            EXPECT_NEAR(std::sqrt(p[i] * p[i] + p[i + 1] * p[i + 1] + p[i + 2] * p[i + 2]), r.radius, 1e-9)
                << r.item << " corner " << i / 3;
    }
    // The octahedron's corners on the axes, six units out.
    const std::vector<double> octahedron = HxHullPresetPoints(7);
    ASSERT_EQ(octahedron.size(), 18u);
    for (size_t i = 0; i < 18; i += 3) {
        int onAxis = 0;
        for (int k = 0; k < 3; ++k)
            onAxis += std::fabs(octahedron[i + size_t(k)]) == 6.0 ? 1
                      : octahedron[i + size_t(k)] == 0.0          ? 0
                                                                  : 9;
        EXPECT_EQ(onAxis, 1) << i / 3;
    }
    // The box 10 by 8 by 6; the hexagonal prism, pyramid and frustum of radius 6 (3 at the top of
    // the frustum) from z = -5 to 5.
    auto extent = [](const std::vector<double>& p, int axis) {
        double low = 1e9, high = -1e9;
        for (size_t i = size_t(axis); i < p.size(); i += 3) {
            low = std::min(low, p[i]);
            high = std::max(high, p[i]);
        }
        return high - low;
    };
    const std::vector<double> box = HxHullPresetPoints(1);
    EXPECT_EQ(extent(box, 0), 10.0);
    EXPECT_EQ(extent(box, 1), 8.0);
    EXPECT_EQ(extent(box, 2), 6.0);
    for (int item : {2, 3, 4}) {
        const std::vector<double> p = HxHullPresetPoints(item);
        EXPECT_NEAR(extent(p, 0), 12.0, 1e-9) << item;
        EXPECT_NEAR(extent(p, 2), 10.0, 1e-9) << item;
    }
    const std::vector<double> frustum = HxHullPresetPoints(4);
    for (size_t i = 18; i < frustum.size(); i += 3)
        EXPECT_NEAR(std::hypot(frustum[i], frustum[i + 1]), 3.0, 1e-9);
    EXPECT_EQ(HxHullPresetPoints(3).back(), 5.0) << "the pyramid's apex at z = 5";
}

TEST_F(HullBuilderTest, FourHundredEightyPointsAreTheLimit) {
    std::vector<double> sphere;
    for (int i = 0; i < 481; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / 481.0, r = std::sqrt(1.0 - z * z), a = i * 2.399963;
        sphere.insert(sphere.end(), {10 * r * std::cos(a), 10 * r * std::sin(a), 10 * z});
    }
    CGPolyhedron hull;
    EXPECT_TRUE(BuildConvexHull(sphere.data(), 480, hull));
    EXPECT_EQ(hull.m_points.size(), 480u);
    ExpectClosedConvex(hull);
    EXPECT_FALSE(BuildConvexHull(sphere.data(), 481, hull));
    EXPECT_EQ(hull.m_points.size(), 480u) << "the target is left as it was";
}

// ---------------------------------------------------------------------------------------------
// Records

class HullRecordTest : public HullTest {
protected:
    std::vector<BYTE> Store(CGPolyhedron& hull) {
        return StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&hull); });
    }
    CObject* Load(const std::vector<BYTE>& bytes) {
        CObject* object = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { object = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
        return object;
    }
    // The record of a hull with the body after the common record.
    std::vector<BYTE> Record(const ByteBuilder& body, WORD id = 1) {
        CommonRecord c;
        c.id = id;
        c.style = 1;
        c.color = CRgba{128, 128, 196, 255};
        ByteBuilder b;
        b.NewClass("CGPolyhedron");
        c.AppendTo(b);
        return b.Append(body.Bytes());
    }
    static void Face(ByteBuilder& b, std::vector<int> loop, double colour = 0.75) {
        b.I32(int(loop.size()));
        for (int v : loop)
            b.I32(v);
        b.F64(0).F64(0).F64(1).F64(-2).I32(0).F64(1).F64(2).F64(3).F64(4).F64(colour).F64(colour).F64(colour);
    }
};

TEST_F(HullRecordTest, StoresPointsEdgesAndFacesInArchiveOrder) {
    CGPolyhedron hull;
    hull.m_id = 1;
    hull.m_points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    hull.m_edges = {{0, 1}, {1, 2}, {2, 0}};
    PolyFace f(0, 0, 1, -2);
    f.loop = {0, 1, 2};
    f.centre[0] = 1;
    f.centre[1] = 2;
    f.centre[2] = 3;
    f.height = 4;
    f.red = f.green = f.blue = 0.75;
    hull.m_faces = {f};
    ByteBuilder body;
    body.I32(3).F64(0).F64(0).F64(0).F64(1).F64(0).F64(0).F64(0).F64(1).F64(0);
    body.I32(3).I32(0).I32(1).I32(1).I32(2).I32(2).I32(0).I32(1);
    Face(body, {0, 1, 2});
    const std::vector<BYTE> expected = Record(body);
    EXPECT_EQ(Store(hull), expected);
    std::unique_ptr<CObject> back(Load(expected));
    auto* loaded = dynamic_cast<CGPolyhedron*>(back.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Store(*loaded), expected);
    EXPECT_EQ(loaded->m_faces[0].height, 4.0);
}

TEST_F(HullRecordTest, ABuiltHullRoundTrips) {
    CGPolyhedron* hull = AddPreset(8);
    const std::vector<BYTE> bytes = Store(*hull);
    std::unique_ptr<CObject> back(Load(bytes));
    EXPECT_EQ(Store(*static_cast<CGPolyhedron*>(back.get())), bytes);
}

TEST_F(HullRecordTest, DamagedCountsAndIndicesAreRefused) {
    auto triangle = [](ByteBuilder& b) {
        b.I32(3).F64(0).F64(0).F64(0).F64(1).F64(0).F64(0).F64(0).F64(1).F64(0);
    };
    struct Row {
        const char* what;
        std::function<void(ByteBuilder&)> body;
    };
    const Row rows[] = {
        {"negative point count", [](ByteBuilder& b) { b.I32(-1).I32(0).I32(0); }},
        {"more points than bytes", [](ByteBuilder& b) { b.I32(1000000).I32(0).I32(0); }},
        {"a coordinate that is no number",
         [](ByteBuilder& b) { b.I32(1).F64(NAN).F64(0).F64(0).I32(0).I32(0); }},
        {"negative edge count",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(-5).I32(0);
         }},
        {"an edge end past the points",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(1).I32(0).I32(3).I32(0);
         }},
        {"a negative edge end",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(1).I32(-1).I32(0).I32(0);
         }},
        {"more faces than bytes",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(0).I32(70000);
         }},
        {"a corner past the points",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(0).I32(1);
             Face(b, {0, 1, 7});
         }},
        {"a face of two corners",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(0).I32(1);
             Face(b, {0, 1});
         }},
        {"a corner count past the bytes",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(0).I32(1).I32(900000);
             for (int i = 0; i < 30; ++i)
                 b.I32(0);
         }},
        {"a record cut short",
         [&](ByteBuilder& b) {
             triangle(b);
             b.I32(0).I32(1).I32(3).I32(0);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ByteBuilder body;
        r.body(body);
        EXPECT_THROW(delete Load(Record(body)), CArchiveException);
    }
}

} // namespace
