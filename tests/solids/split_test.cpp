// The cut: one plane split by hand (counts and the Euler check), the step machine driven as its
// animation button drives it, its planes from faces or tables, the plane count on load, and the hull
// shown again when a cancelled construction takes its cut away.
#include "hull_fixture.h"

#include "solids/split.h"
#include "support/archive_helpers.h"

#include <cmath>
#include <set>

namespace {

class SplitTest : public HullTest {
protected:
    CGSplit* AddSplit(CGPolyhedron* hull, int32_t planes, int32_t useFaces = 0) {
        return Insert(new CGSplit(NextId(), hull->m_id, planes, useFaces, 2.0));
    }
    // One tick of the cut's animation button: the value moves, then the page syncs the cut.
    static void Drive(CGSplit& cut, float t) {
        cut.m_param1 = t;
        cut.SyncVertex();
    }
    // The whole sweep from 0 to the plane count at the button's speed.
    static void Sweep(CGSplit& cut) {
        for (float t = 0.0f; t <= float(cut.m_planeCount); t += 0.03f)
            Drive(cut, cut.m_param1 + 0.03f);
    }
    static int Euler(const CGPolyhedron& p) {
        return int(p.m_points.size()) - int(p.m_edges.size()) + int(p.m_faces.size());
    }
};

TEST_F(SplitTest, ACornerCutOffTheCube) {
    CGPolyhedron* cube = AddCube(2.0);
    CGPolyhedron a, b;
    EXPECT_EQ(SplitPolyhedronByPlane(g_defaultCutPlanes10[0], *cube, a, b, 2.0), 3);
    EXPECT_EQ(a.m_points.size(), 7u);
    EXPECT_EQ(a.m_edges.size(), 12u);
    EXPECT_EQ(a.m_faces.size(), 7u);
    EXPECT_EQ(b.m_points.size(), 4u);
    EXPECT_EQ(b.m_edges.size(), 6u);
    EXPECT_EQ(b.m_faces.size(), 4u);
    EXPECT_EQ(a.m_offsetStep.x, -2.0);
    EXPECT_EQ(b.m_offsetStep.x, 0.0);
    // The section faces: grey, turned away from each other.
    EXPECT_EQ(a.m_faces.back().red, 0.5);
    EXPECT_EQ(a.m_faces.back().c, 1.0);
    EXPECT_EQ(b.m_faces.back().c, -1.0);
    // A plane that misses: the part above moves, the part below stays.
    EXPECT_EQ(SplitPolyhedronByPlane(PolyFace(0, 0, 1, 5), *cube, a, b, 3.0), 1);
    EXPECT_EQ(a.m_points.size(), 8u);
    EXPECT_EQ(a.m_offsetOrigin.z, 3.0);
    EXPECT_EQ(SplitPolyhedronByPlane(PolyFace(0, 0, 1, -5), *cube, a, b, 3.0), 2);
    EXPECT_EQ(b.m_faces.size(), 6u);
    EXPECT_EQ(b.m_offsetOrigin.z, 0.0);
}

TEST_F(SplitTest, TheSweepCutsOnePlaneAPerUnit) {
    struct Row {
        int preset;
        int32_t planes;
        int parts;
    };
    // The octahedron, prism and dodecahedron have edges in the coordinate planes.
    for (const Row r :
         {Row{6, 3, 8}, Row{7, 3, 8}, Row{2, 3, 8}, Row{8, 3, 8}, Row{6, 1, 2}, Row{9, 10, -1}}) {
        SCOPED_TRACE(testing::Message() << "preset " << r.preset << ", " << r.planes << " planes");
        CGPolyhedron* hull = AddPreset(r.preset);
        CGSplit& cut = *AddSplit(hull, r.planes);
        EXPECT_EQ(cut.Planes(), r.planes < 4 ? g_defaultCutPlanes3 : g_defaultCutPlanes10);
        Drive(cut, 0.03f);
        EXPECT_EQ(cut.m_parts.size(), 1u) << "the hull's copy";
        EXPECT_EQ(cut.m_param1, 0.001f);
        EXPECT_NE(hull->m_hidden, 0);
        Sweep(cut);
        EXPECT_EQ(cut.m_planesUsed, r.planes);
        if (r.parts > 0) {
            EXPECT_EQ(cut.m_partCount, r.parts);
        }
        EXPECT_EQ(cut.m_partCount, int(cut.m_parts.size()));
        for (const auto& part : cut.m_parts)
            EXPECT_EQ(Euler(*part), 2);
        EXPECT_TRUE(m_messages.empty());
        cut.Recompute();
        EXPECT_EQ(hull->m_hidden, 0);
        EXPECT_TRUE(cut.m_parts.empty());
    }
    CGSplit& cut = *AddSplit(AddCube(3.0), 3);
    Sweep(cut);
    EXPECT_EQ(cut.InfoText(), CString(u"planes:  3      parts :  8"));
    EXPECT_EQ(cut.GetDescription(), CString(u"多面体分割图"));
}

// The volume a closed part encloses, from its faces' corners: positive only when every face runs
// counter-clockwise seen from outside.
double Volume(const CGPolyhedron& p) {
    double six = 0.0;
    for (const PolyFace& f : p.m_faces)
        for (size_t i = 1; i + 1 < f.loop.size(); ++i)
            six += Dot(p.m_points[size_t(f.loop[0])],
                       Cross(p.m_points[size_t(f.loop[i])], p.m_points[size_t(f.loop[i + 1])]));
    return six / 6.0;
}

TEST_F(SplitTest, FourPlanesOfTheTableCutTheCubeIntoTheRegionsTheyBound) {
    CGPolyhedron* cube = AddPreset(6); // corners (±5, ±5, ±5)
    CGSplit& cut = *AddSplit(cube, 4);
    EXPECT_EQ(cut.Planes(), g_defaultCutPlanes10) << "four planes or more come from the table of ten";
    Sweep(cut);
    EXPECT_EQ(cut.m_planesUsed, 4);
    // The regions: the sides of the four planes met inside the cube, found on a grid of points.
    std::set<int> regions;
    for (double x = -4.9; x < 5.0; x += 0.2)
        for (double y = -4.9; y < 5.0; y += 0.2)
            for (double z = -4.9; z < 5.0; z += 0.2) {
                int sides = 0;
                bool onAPlane = false;
                for (int k = 0; k < 4; ++k) {
                    const double v = g_defaultCutPlanes10[k].Evaluate({x, y, z});
                    onAPlane = onAPlane || std::fabs(v) < 0.05;
                    sides |= (v > 0 ? 1 : 0) << k;
                }
                if (!onAPlane)
                    regions.insert(sides);
            }
    ASSERT_GT(regions.size(), 4u);
    EXPECT_EQ(cut.m_partCount, int(regions.size()));
    EXPECT_EQ(cut.InfoText(), HxFormat(u"planes:  4      parts :  %d", int(regions.size())));
    // Together the parts are the cube, each closed and turned outward.
    double volume = 0.0;
    for (const auto& part : cut.m_parts) {
        EXPECT_EQ(Euler(*part), 2);
        EXPECT_GT(Volume(*part), 0.0);
        volume += Volume(*part);
    }
    EXPECT_NEAR(volume, 1000.0, 1e-6);
}

TEST_F(SplitTest, TheSectionFacesOfBothPartsFaceOutOfTheirPart) {
    CGPolyhedron* cube = AddCube(2.0);
    const PolyFace planes[] = {g_defaultCutPlanes10[0], PolyFace(0, 0, 1, 0), PolyFace(1, 2, 0, -1),
                               PolyFace(0, -1, 0, 1)};
    for (const PolyFace& plane : planes) {
        SCOPED_TRACE(testing::Message() << plane.a << " " << plane.b << " " << plane.c << " " << plane.d);
        CGPolyhedron a, b;
        ASSERT_EQ(SplitPolyhedronByPlane(plane, *cube, a, b, 2.0), 3);
        for (const CGPolyhedron* part : {&a, &b}) {
            const PolyFace& section = part->m_faces.back();
            ASSERT_GE(section.loop.size(), 3u);
            const PolyPoint& p0 = part->m_points[size_t(section.loop[0])];
            // The normal points away from every corner of the part ...
            for (const PolyPoint& q : part->m_points)
                EXPECT_LE(Dot(section.Normal(), q - p0), 1e-9);
            // ... and the corners turn counter-clockwise about it, as the hull's own faces do.
            for (size_t i = 1; i + 1 < section.loop.size(); ++i) {
                const PolyPoint turn = Cross(part->m_points[size_t(section.loop[i])] - p0,
                                             part->m_points[size_t(section.loop[i + 1])] - p0);
                EXPECT_GT(Dot(turn, section.Normal()), 0.0) << i;
            }
            EXPECT_GT(Volume(*part), 0.0);
        }
        EXPECT_NEAR(Volume(a) + Volume(b), 64.0, 1e-9);
    }
}

TEST_F(SplitTest, StepsNeverSkipAPlane) {
    CGSplit& cut = *AddSplit(AddPreset(6), 10);
    Drive(cut, 0.5f);
    Drive(cut, 0.5f);
    EXPECT_EQ(cut.m_planesUsed, 1);
    Drive(cut, 3.7f);
    EXPECT_EQ(cut.m_param1, 1.001f);
    EXPECT_EQ(cut.m_planesUsed, 2);
    // The newest parts drift by the fraction of t.
    Drive(cut, 1.5f);
    for (const auto& part : cut.m_parts)
        EXPECT_NEAR(part->m_param1, 0.5f, 1e-6);
    Drive(cut, 0.00005f);
    EXPECT_EQ(cut.m_planesUsed, 0);
    EXPECT_EQ(cut.m_parts.size(), 1u) << "started again from the hull's copy";
    // A hull of fewer than four faces gives no parts.
    const std::vector<double> square = {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0};
    CGSplit& flat = *AddSplit(AddHull(square), 3);
    Drive(flat, 0.5f);
    EXPECT_TRUE(flat.m_parts.empty());
}

TEST_F(SplitTest, PlanesFromSelectedFacesFollowThem) {
    CGPolyhedron* cube = AddPreset(6);
    CGFace* f1 = AddPlaneFace({0, 0, 1, 1, 0, 1, 0, 1, 1});
    CGFace* f2 = AddPlaneFace({1, 0, 0, 1, 1, 0, 1, 0, 1});
    EXPECT_EQ(AddSplit(cube, 12)->m_planeCount, 10);
    EXPECT_EQ(AddSplit(cube, 5, 1)->m_useFaces, 0) << "no face selected";
    m_page->m_selFaces.AddTail(f1->m_id);
    m_page->m_selFaces.AddTail(f2->m_id);
    CGSplit& cut = *AddSplit(cube, 5, 1);
    EXPECT_EQ(cut.m_planeCount, 2);
    EXPECT_EQ(std::vector<WORD>(cut.m_parents.begin(), cut.m_parents.end()),
              (std::vector<WORD>{cube->m_id, f1->m_id, f2->m_id}));
    EXPECT_EQ(cut.Planes()[0].Evaluate({0, 0, 1}), 0.0);
    EXPECT_NEAR(Length(cut.Planes()[1].Normal()), 1.0, 1e-12);
    Sweep(cut);
    EXPECT_EQ(cut.m_partCount, 4);
    // Moving a face's corner recomputes the cut from the start with the new plane.
    auto* corner = static_cast<CGVertex*>(m_page->FindCell(f1->m_parents[0]));
    MovePoint(corner, 0, 0, 3);
    EXPECT_TRUE(cut.m_parts.empty());
    EXPECT_NE(cut.Planes()[0].Evaluate({0, 0, 1}), 0.0);
    corner->m_valid = false;
    f1->Recompute();
    cut.Recompute();
    EXPECT_FALSE(cut.m_valid);
}

TEST_F(SplitTest, ThePlaneCountIsKeptInRangeOnLoad) {
    CGPolyhedron* cube = AddPreset(6);
    CGFace* face = AddPlaneFace({0, 0, 1, 1, 0, 1, 0, 1, 1});
    m_page->m_selFaces.AddTail(face->m_id);
    CGSplit* withFace = AddSplit(cube, 1, 1);
    CGSplit* fixed = AddSplit(cube, 3);
    struct Row {
        CGSplit* cut;
        int32_t stored, useFaces;
        int32_t planes, usesFaces;
    };
    const Row rows[] = {{fixed, 50, 0, 10, 0},
                        {fixed, -3, 0, 1, 0},
                        {withFace, 7, 1, 1, 1},
                        {withFace, 0, 1, 1, 1},
                        {fixed, 4, 1, 4, 0}};
    for (const Row& r : rows) {
        r.cut->m_planeCount = r.stored;
        r.cut->m_useFaces = r.useFaces;
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(r.cut); });
        EXPECT_EQ(std::vector<BYTE>(bytes.end() - 16, bytes.end()),
                  ByteBuilder().I32(r.stored).I32(r.useFaces).F64(2.0).Bytes());
        CGSplit* loaded = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
        std::unique_ptr<CGSplit> owner(loaded);
        EXPECT_EQ(loaded->m_planeCount, r.planes) << r.stored;
        EXPECT_EQ(loaded->m_useFaces, r.usesFaces) << r.stored;
    }
}

TEST_F(SplitTest, AFailedSplitIsReportedAndThePartLost) {
    CGPolyhedron* cube = AddPreset(6);
    cube->m_edges.clear(); // the faces' crossings cannot be found
    CGSplit& cut = *AddSplit(cube, 1);
    Drive(cut, 0.03f);
    Drive(cut, 0.06f);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"切割时发生错误")});
    EXPECT_EQ(cut.m_partCount, 0);
}

TEST_F(SplitTest, ACutCancelledWithItsConstructionShowsTheHullAgain) {
    CGPolyhedron* cube = AddPreset(6);
    m_page->m_constructMarker = m_page->m_nextId;
    CGSplit& cut = *AddSplit(cube, 3);
    const WORD id = cut.m_id;
    Drive(cut, 0.5f);
    ASSERT_NE(cube->m_hidden, 0);
    m_page->RemoveCellsAfterMarker();
    EXPECT_EQ(m_page->FindCell(id), nullptr);
    EXPECT_EQ(cube->m_hidden, 0);
}

} // namespace
