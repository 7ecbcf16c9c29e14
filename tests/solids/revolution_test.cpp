// Solids of revolution without a window: their records byte by byte (with the count of document
// textures), their descriptions, the constructed solids on hand-computed points, invalid and valid
// again, the silhouette of tapered solids, and a page of solids stored, loaded and recomputed.
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "solids/revolution_constructed.h"
#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr CRgba kSolidColor{0, 128, 0, 255};

class RevolutionTest : public PageFixture {
protected:
    static std::vector<BYTE> Stored(const CObject* cell) {
        return StoreBytes([&](CArchive& ar) { ar << cell; });
    }
    template <class T> static std::unique_ptr<T> Loaded(const std::vector<BYTE>& bytes) {
        CObject* loaded = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
        T* typed = DYNAMIC_DOWNCAST(T, loaded);
        if (!typed)
            delete loaded;
        return std::unique_ptr<T>(typed);
    }
    // The record is the expected bytes, loads back as T, stores again to the same bytes, and every
    // shorter prefix is refused.
    template <class T>
    static std::unique_ptr<T> ExpectRecord(const CObject* cell, const std::vector<BYTE>& expected) {
        const std::vector<BYTE> bytes = Stored(cell);
        EXPECT_EQ(bytes, expected);
        auto back = Loaded<T>(bytes);
        EXPECT_TRUE(back);
        EXPECT_EQ(back ? Stored(back.get()) : std::vector<BYTE>(), bytes);
        for (size_t size : {bytes.size() - 1, bytes.size() - 4, bytes.size() / 2}) {
            std::vector<BYTE> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
            EXPECT_THROW(Loaded<T>(cut), CArchiveException) << size;
        }
        return back;
    }
    static CommonRecord SolidCommon(const CGCell& cell) {
        CommonRecord c;
        c.id = cell.m_id;
        c.name = cell.m_name.GetString();
        c.color = cell.m_color;
        c.style = cell.m_style;
        c.param4 = cell.m_param4;
        c.size = cell.m_size;
        for (int i = 0; i < cell.m_parents.GetSize(); ++i)
            c.parents.push_back(cell.m_parents[i]);
        return c;
    }
    static ByteBuilder Floats(ByteBuilder b, std::initializer_list<float> values) {
        for (float v : values)
            b.F32(v);
        return b;
    }
    static double Length(const float v[3]) {
        return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
    }
};

TEST_F(RevolutionTest, NewSolidsAreNamedAndColouredAndValid) {
    g_colorArcSolid = CRgba{10, 20, 30, 40};
    CGSphere sphere(7, 1, 2, 3, 4, 0, 0, 4);
    CGCylinder cylinder(8, 0, 0, 0, 2, 5, 0, 0, 1);
    CGCone cone(9, 0, 0, 0, 2, 5, 0, 0, 1);
    CGFrustum frustum(10, 0, 0, 0, 2, 5, 0, 0, 1, 0.25f);
    const struct {
        CGCell* cell;
        const char16_t* name;
    } rows[] = {{&sphere, u"球"}, {&cylinder, u"圆柱"}, {&cone, u"圆锥"}, {&frustum, u"圆台"}};
    for (const auto& row : rows) {
        EXPECT_EQ(row.cell->m_name, row.name);
        EXPECT_EQ(row.cell->m_color, (CRgba{10, 20, 30, 255})) << "the alpha stays the cell's";
        EXPECT_TRUE(row.cell->m_valid);
        EXPECT_EQ(row.cell->m_parents.GetSize(), 0);
        row.cell->Recompute();
        EXPECT_TRUE(row.cell->m_valid) << "no parents: valid";
    }
    EXPECT_EQ(frustum.m_topRatio, 0.25f);
    EXPECT_EQ(frustum.m_height, 5.0f);
    // The defaults of dynamic creation.
    CGFrustum loadedLater;
    EXPECT_EQ(loadedLater.m_radius, 5.0f);
    EXPECT_EQ(loadedLater.m_height, 10.0f);
    EXPECT_EQ(loadedLater.m_topRatio, 0.5f);
    EXPECT_EQ(loadedLater.m_axis[2], 1.0f);
    CGSphere sphereLater;
    EXPECT_EQ(sphereLater.m_radius, 5.0f);
}

TEST_F(RevolutionTest, RecordsAreTheCommonRecordThenTheirNumbers) {
    CGSphere sphere(3, 1.5f, -2.0f, 0.25f, 2.0f, 0.0f, 0.0f, 2.0f);
    sphere.m_param4 = 2;
    sphere.m_style = kRevStyleLit;
    ByteBuilder expected;
    expected.NewClass("CGSphere");
    SolidCommon(sphere).AppendTo(expected);
    expected = Floats(std::move(expected), {1.5f, -2.0f, 0.25f, 2.0f, 0.0f, 0.0f, 2.0f});
    auto sphereBack = ExpectRecord<CGSphere>(&sphere, expected);
    ASSERT_TRUE(sphereBack);
    EXPECT_EQ(sphereBack->m_param4, 2);
    EXPECT_EQ(sphereBack->m_center[1], -2.0f);

    CGCylinder cylinder(4, 1, 2, 3, 4, 5, 0.6f, 0.0f, 0.8f);
    CGCone cone(5, 1, 2, 3, 4, 5, 0.6f, 0.0f, 0.8f);
    CGFrustum frustum(6, 1, 2, 3, 4, 5, 0.6f, 0.0f, 0.8f, 0.75f);
    const std::initializer_list<float> frame = {1, 2, 3, 4, 5, 0.6f, 0.0f, 0.8f};
    const struct {
        CGCell* cell;
        const char* className;
        size_t ownBytes;
    } rows[] = {{&cylinder, "CGCylinder", 32}, {&cone, "CGCone", 32}, {&frustum, "CGFrustum", 36}};
    for (const auto& row : rows) {
        ByteBuilder common;
        SolidCommon(*row.cell).AppendTo(common);
        ByteBuilder b =
            Floats(std::move(ByteBuilder().NewClass(row.className).Append(common.Bytes())), frame);
        if (row.ownBytes == 36)
            b.F32(0.75f); // the top ratio comes last, after the axis
        EXPECT_EQ(Stored(row.cell).size(),
                  2 + 2 + 2 + strlen(row.className) + common.Bytes().size() + row.ownBytes);
        if (row.ownBytes == 36)
            ExpectRecord<CGFrustum>(row.cell, b);
        else if (row.className == std::string("CGCone"))
            ExpectRecord<CGCone>(row.cell, b);
        else
            ExpectRecord<CGCylinder>(row.cell, b);
    }
}

TEST_F(RevolutionTest, ConstructedSolidsStoreTheirParentsAndNumbers) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* r = AddPoint(3, 0, 0);
    CGVertex* v = AddPoint(0, 0, 4);
    CGVertex* q = AddPoint(1, 0, 4);
    auto* cylinder = Insert(new CGCylinderCPC(NextId(), o->m_id, r->m_id, v->m_id));
    auto* frustum = Insert(new CGFrustumCP2(NextId(), o->m_id, r->m_id, v->m_id, q->m_id));
    ByteBuilder b;
    b.NewClass("CGCylinderCPC");
    SolidCommon(*cylinder).AppendTo(b);
    b = Floats(std::move(b), {0, 0, 0, 3, 4, 0, 0, 4});
    auto back = ExpectRecord<CGCylinderCPC>(cylinder, b);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_parents.GetSize(), 3);
    EXPECT_EQ(back->m_parents[2], v->m_id);
    ByteBuilder f;
    f.NewClass("CGFrustumCP2");
    SolidCommon(*frustum).AppendTo(f);
    f = Floats(std::move(f), {0, 0, 0, 3, 4, 0, 0, 4, 1.0f / 3.0f});
    ExpectRecord<CGFrustumCP2>(frustum, f);
}

TEST_F(RevolutionTest, StoringCountsTheDocumentTexturesInUse) {
    CGSphere a(1, 0, 0, 0, 1, 0, 0, 1), b(2, 0, 0, 0, 1, 0, 0, 1), c(3, 0, 0, 0, 1, 0, 0, 1);
    a.m_param4 = 2;
    b.m_param4 = 2;
    c.m_param4 = 7;
    CGCylinder cylinder;
    cylinder.m_param4 = 1;
    CGCone cone;
    cone.m_param4 = 3;
    CGFrustum frustum;
    frustum.m_param4 = 3;
    CGFrustum beyond;
    beyond.m_param4 = 15;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) {
        for (CGCell* cell : std::initializer_list<CGCell*>{&a, &b, &c})
            ar << cell;
    });
    EXPECT_EQ(g_textureUseCount[1], 0);
    EXPECT_EQ(g_textureUseCount[2], 2);
    EXPECT_EQ(g_textureUseCount[3], 0);
    StoreBytes([&](CArchive& ar) {
        for (CGCell* cell : std::initializer_list<CGCell*>{&cylinder, &cone, &frustum, &beyond})
            ar << cell;
    });
    EXPECT_EQ(g_textureUseCount[1], 1);
    EXPECT_EQ(g_textureUseCount[3], 2);
    // Reading counts nothing.
    LoadBytes(bytes, [](CArchive& ar) {
        for (int i = 0; i < 3; ++i)
            delete ar.ReadObject(RUNTIME_CLASS(CGCell));
    });
    EXPECT_EQ(g_textureUseCount[2], 2);
}

TEST_F(RevolutionTest, DescriptionsCharacterForCharacter) {
    EXPECT_EQ(CGSphere(1, 0, 0, 0, 2, 0, 0, 2).GetDescription(),
              u"以（0.0000，0.0000，0.0000）为球心，半径为2.0000.的球");
    EXPECT_EQ(CGSphere(1, 1.5f, -2, 0.125f, 3, 0, 0, 3).GetDescription(),
              u"以（1.5000，-2.0000，0.1250）为球心，半径为3.0000.的球");
    EXPECT_EQ(CGCylinder(1, 0, 0, 0, 2.5f, 7, 0, 0, 1).GetDescription(), u"底面半径2.5000，高7.0000.的圆柱");
    EXPECT_EQ(CGCone(1, 0, 0, 0, 2.5f, 7, 0, 0, 1).GetDescription(), u"底面半径2.5000，高7.0000的圆锥");
    EXPECT_EQ(CGFrustum(1, 0, 0, 0, 4, 6, 0, 0, 1, 0.5f).GetDescription(),
              u"下底半径4.0000，上底半径2.0000，高6.0000.的圆台");

    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(2, 0, 0);
    CGVertex* p = AddPoint(0, 0, 3);
    CGVertex* b = AddPoint(1, 0, 3);
    ASSERT_EQ(o->m_name, u"A");
    o->m_name = u"O";
    p->m_name = u"P";
    EXPECT_EQ(CGSphereCN(NextId(), o->m_id, p->m_id).GetDescription(), u"以O为球心，北极点为P的球");
    EXPECT_EQ(CGCylinderCPC(NextId(), o->m_id, a->m_id, p->m_id).GetDescription(),
              u"以OP为轴，OB为底面半径的圆柱");
    EXPECT_EQ(CGConeCPV(NextId(), o->m_id, a->m_id, p->m_id).GetDescription(),
              u"以P为顶点，OB为底面半径的圆锥");
    EXPECT_EQ(CGFrustumCP2(NextId(), o->m_id, a->m_id, p->m_id, b->m_id).GetDescription(),
              u"以OP为轴，OB、PD为两底半径的圆台");
}

TEST_F(RevolutionTest, ConstructedSolidsFollowTheirPoints) {
    CGVertex* o = AddPoint(1, 2, 3);
    CGVertex* n = AddPoint(1, 2, 6);
    CGVertex* r = AddPoint(5, 2, 3);
    CGVertex* v = AddPoint(1, 2, 11);
    CGVertex* t = AddPoint(3, 2, 11);
    auto* sphere = Insert(new CGSphereCN(NextId(), o->m_id, n->m_id));
    auto* cylinder = Insert(new CGCylinderCPC(NextId(), o->m_id, r->m_id, v->m_id));
    auto* cone = Insert(new CGConeCPV(NextId(), o->m_id, r->m_id, v->m_id));
    auto* frustum = Insert(new CGFrustumCP2(NextId(), o->m_id, r->m_id, v->m_id, t->m_id));
    EXPECT_EQ(sphere->m_name, u"球");
    EXPECT_EQ(frustum->m_name, u"圆台");
    EXPECT_EQ(cone->m_color, kSolidColor);
    // Each is a child of its points, in parent order.
    EXPECT_EQ(o->m_children.GetCount(), 4);
    EXPECT_EQ(t->m_children.GetCount(), 1);

    EXPECT_TRUE(sphere->m_valid);
    EXPECT_EQ(std::vector<float>(sphere->m_center, sphere->m_center + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(sphere->m_radius, 3.0f);
    EXPECT_EQ(std::vector<float>(sphere->m_axis, sphere->m_axis + 3), (std::vector<float>{0, 0, 3}));
    for (CRevFrame* f : {static_cast<CRevFrame*>(cylinder), static_cast<CRevFrame*>(cone)}) {
        EXPECT_EQ(f->m_radius, 4.0f);
        EXPECT_EQ(f->m_height, 8.0f);
        EXPECT_EQ(std::vector<float>(f->m_axis, f->m_axis + 3), (std::vector<float>{0, 0, 8}));
    }
    EXPECT_EQ(frustum->m_topRatio, 0.5f);

    // The rim point taken out of the base plane: the radius is its whole distance from the centre.
    MovePoint(r, 4, 6, 3 + 5);
    EXPECT_NEAR(cylinder->m_radius, std::sqrt(9.0 + 16.0 + 25.0), 1e-5);
    EXPECT_NEAR(cone->m_radius, std::sqrt(50.0), 1e-5);
    EXPECT_NEAR(frustum->m_topRatio, 2.0 / std::sqrt(50.0), 1e-6);
    // The centre moves: everything built on it follows.
    MovePoint(o, 1, 2, 5);
    EXPECT_EQ(sphere->m_center[2], 5.0f);
    EXPECT_EQ(sphere->m_radius, 1.0f);
    EXPECT_EQ(cylinder->m_height, 6.0f);
    EXPECT_EQ(cylinder->m_axis[2], 6.0f);
    // A pole on the centre: a valid sphere of radius 0; an apex on the base centre: height 0 and no axis.
    MovePoint(n, 1, 2, 5);
    EXPECT_TRUE(sphere->m_valid);
    EXPECT_EQ(sphere->m_radius, 0.0f);
    MovePoint(v, 1, 2, 5);
    EXPECT_TRUE(cone->m_valid);
    EXPECT_EQ(cone->m_height, 0.0f);
    EXPECT_EQ(Length(cone->m_axis), 0.0);
}

TEST_F(RevolutionTest, AnInvalidParentStopsTheRecomputationWhereItStands) {
    CGVertex* o1 = AddPoint(0, 0, 0);
    CGVertex* r1 = AddPoint(2, 0, 0);
    CGVertex* o2 = AddPoint(0, 0, 4);
    CGVertex* r2 = AddPoint(1, 0, 4);
    auto* frustum = Insert(new CGFrustumCP2(NextId(), o1->m_id, r1->m_id, o2->m_id, r2->m_id));
    auto* sphere = Insert(new CGSphereCN(NextId(), o1->m_id, r1->m_id));
    ASSERT_TRUE(frustum->m_valid);

    // The top centre fails: the bottom centre and radius are taken, the height and ratio stay.
    o2->m_valid = false;
    MovePoint(o1, 0, 0, 1);
    MovePoint(r1, 3, 0, 1);
    EXPECT_FALSE(frustum->m_valid);
    EXPECT_EQ(frustum->m_center[2], 1.0f);
    EXPECT_EQ(frustum->m_radius, 3.0f);
    EXPECT_EQ(frustum->m_height, 4.0f) << "kept from the last whole recomputation";
    EXPECT_EQ(frustum->m_topRatio, 0.5f);
    // The pole fails: the centre follows, the radius stays.
    r1->m_valid = false;
    MovePoint(o1, 0, 0, 2);
    EXPECT_FALSE(sphere->m_valid);
    EXPECT_EQ(sphere->m_center[2], 2.0f);
    EXPECT_EQ(sphere->m_radius, 3.0f);
    // Hidden is not invalid.
    r1->m_valid = true;
    o2->m_valid = true;
    o2->m_hidden = 1;
    MovePoint(o1, 0, 0, 0);
    EXPECT_TRUE(frustum->m_valid);
    EXPECT_TRUE(sphere->m_valid);
    EXPECT_EQ(frustum->m_height, 4.0f);
    EXPECT_NEAR(frustum->m_topRatio, 1.0 / std::sqrt(10.0), 1e-6);
}

TEST_F(RevolutionTest, ParentsThatAreNoPointsOrAreMissingMakeTheSolidInvalid) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* r = AddPoint(2, 0, 0);
    CGLine* line = AddLine(o->m_id, r->m_id);
    auto* cone = Insert(new CGConeCPV(NextId(), o->m_id, r->m_id, line->m_id));
    EXPECT_FALSE(cone->m_valid);
    EXPECT_EQ(cone->m_radius, 2.0f);
    // Too few parents, as a damaged record could give.
    CGSphereCN half;
    half.m_parents.Add(o->m_id);
    half.Recompute();
    EXPECT_FALSE(half.m_valid);
    CGFrustumCP2 none;
    none.Recompute();
    EXPECT_FALSE(none.m_valid);
}

TEST_F(RevolutionTest, AFrustumOnAZeroBottomRadiusKeepsItsLastRatio) {
    CGVertex* o1 = AddPoint(0, 0, 0);
    CGVertex* r1 = AddPoint(4, 0, 0);
    CGVertex* o2 = AddPoint(0, 0, 3);
    CGVertex* r2 = AddPoint(0, 1, 3);
    auto* frustum = Insert(new CGFrustumCP2(NextId(), o1->m_id, r1->m_id, o2->m_id, r2->m_id));
    EXPECT_EQ(frustum->m_topRatio, 0.25f);
    MovePoint(r1, 0, 0, 0);
    EXPECT_TRUE(frustum->m_valid);
    EXPECT_EQ(frustum->m_radius, 0.0f);
    EXPECT_EQ(frustum->m_topRatio, 0.25f);
    MovePoint(r1, 2, 0, 0);
    EXPECT_EQ(frustum->m_topRatio, 0.5f);
    // Equal radii give exactly 1, which the next recomputation brings back after any drawing.
    MovePoint(r2, 0, 2, 3);
    EXPECT_EQ(frustum->m_topRatio, 1.0f);
}

TEST_F(RevolutionTest, SilhouettesOfTaperedSolids) {
    // Seen from above the apex (its projection inside the base): nothing.
    EXPECT_TRUE(HxTaperedSilhouette(0.0, 0.1, 0.0, 1.0).empty());
    EXPECT_TRUE(HxTaperedSilhouette(0.5, 0.4, 0.0, 1.0).empty());
    // Seen from the side at 45 degrees along x: the apex projects to (-1, 0) ... on the circle.
    EXPECT_TRUE(HxTaperedSilhouette(0.0, 1.0, 0.0, 1.0).empty()) << "s = 1 draws nothing";
    // From x with the apex projected to (-2, 0): tangent points at (-1/2, +-sqrt(3)/2).
    auto lines = HxTaperedSilhouette(0.0, 2.0, 0.0, 1.0);
    ASSERT_EQ(lines.size(), 2u);
    for (const CRevSegment& s : lines) {
        EXPECT_EQ(std::vector<double>(s.top, s.top + 3), (std::vector<double>{0, 0, 1}));
        EXPECT_NEAR(s.base[0], -0.5, 1e-12);
        EXPECT_NEAR(std::fabs(s.base[1]), std::sqrt(3.0) / 2.0, 1e-12);
        EXPECT_EQ(s.base[2], 0.0);
    }
    EXPECT_NEAR(lines[0].base[1], -lines[1].base[1], 1e-12);
    // A frustum of ratio 0.5 seen the same way: the apex of its cone is at height 2, so it projects
    // to (-4, 0); the top ends of the lines lie on the top circle.
    auto frustum = HxTaperedSilhouette(0.5, 2.0, 0.0, 1.0);
    ASSERT_EQ(frustum.size(), 2u);
    EXPECT_NEAR(frustum[0].base[0], -0.25, 1e-12);
    EXPECT_NEAR(std::hypot(frustum[0].top[0], frustum[0].top[1]), 0.5, 1e-12);
    EXPECT_EQ(frustum[0].top[2], 1.0);
    // Square to the axis: the generators across the line of sight, no division by zero.
    auto side = HxTaperedSilhouette(0.0, 0.0, 3.0, 0.0);
    ASSERT_EQ(side.size(), 2u);
    EXPECT_NEAR(std::fabs(side[0].base[0]), 1.0, 1e-12);
    EXPECT_NEAR(side[0].base[1], 0.0, 1e-12);
    EXPECT_NEAR(side[0].base[0], -side[1].base[0], 1e-12);
    auto widening = HxTaperedSilhouette(2.0, 0.0, 3.0, 0.0);
    ASSERT_EQ(widening.size(), 2u);
    EXPECT_NEAR(std::fabs(widening[0].top[0]), 2.0, 1e-12);
    // No direction, or no number: nothing.
    EXPECT_TRUE(HxTaperedSilhouette(0.0, 0.0, 0.0, 0.0).empty());
    EXPECT_TRUE(HxTaperedSilhouette(0.0, std::nan(""), 0.0, 1.0).empty());
}

// A page of every solid stored as a document, loaded without any window and recomputed: the
// constructed solids take their numbers from the points again.
TEST_F(RevolutionTest, APageOfSolidsLoadsAndRecomputesHeadless) {
    HxResetDocumentGlobals();
    HxSetScreenSizeOverride(1920, 1080);
    std::vector<BYTE> bytes;
    {
        CHalvixDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        CGPage* page = doc.GetPage(0);
        auto add = [&](CGCell* cell) { page->m_cells.SetAt(cell->m_id, cell); };
        WORD o = page->m_nextId++, r = page->m_nextId++, v = page->m_nextId++, t = page->m_nextId++;
        add(new CGVertex(o, page->m_nextVertex++, u"O", 0, 0, 0));
        add(new CGVertex(r, page->m_nextVertex++, u"R", 3, 0, 0));
        add(new CGVertex(v, page->m_nextVertex++, u"V", 0, 0, 5));
        add(new CGVertex(t, page->m_nextVertex++, u"T", 0, 1.5f, 5));
        add(new CGSphere(page->m_nextId++, 1, 1, 1, 2, 0, 0, 2));
        add(new CGCylinder(page->m_nextId++, 0, 0, 0, 1, 2, 0, 1, 0));
        add(new CGCone(page->m_nextId++, 0, 0, 0, 1, 2, 1, 0, 0));
        add(new CGFrustum(page->m_nextId++, 0, 0, 0, 1, 2, 0, 0, -1, 0.3f));
        add(new CGSphereCN(page->m_nextId++, o, v));
        add(new CGCylinderCPC(page->m_nextId++, o, r, v));
        add(new CGConeCPV(page->m_nextId++, o, r, v));
        auto* frustum = new CGFrustumCP2(page->m_nextId++, o, r, v, t);
        add(frustum);
        // Numbers that disagree with the points are put right by the recomputation after loading.
        frustum->m_radius = 99.0f;
        frustum->m_param4 = 2;
        bytes = doc.StoreToBytes();
        EXPECT_EQ(g_textureUseCount[2], 1);
    }
    CHalvixDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CMemFile file(bytes);
    ASSERT_TRUE(doc.ReadDocument(file, u"solids.hvx", FALSE));
    CGPage* page = doc.GetPage(0);
    ASSERT_EQ(page->m_cells.GetCount(), 12);
    auto* frustum = DYNAMIC_DOWNCAST(CGFrustumCP2, page->FindCell(12));
    ASSERT_NE(frustum, nullptr);
    EXPECT_TRUE(frustum->m_valid);
    EXPECT_EQ(frustum->m_radius, 3.0f);
    EXPECT_EQ(frustum->m_topRatio, 0.5f);
    EXPECT_EQ(frustum->m_param4, 2);
    auto* fixed = DYNAMIC_DOWNCAST(CGFrustum, page->FindCell(8));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->m_axis[2], -1.0f);
    EXPECT_EQ(fixed->m_topRatio, 0.3f);
    EXPECT_TRUE(page->FindCell(5)->IsKindOf(RUNTIME_CLASS(CGSphere)));
    EXPECT_FALSE(page->FindCell(5)->IsKindOf(RUNTIME_CLASS(CGSphereCN)));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CGSphereCN, page->FindCell(9))->m_radius, 5.0f);
    HxSetScreenSizeOverride(0, 0);
    HxResetDocumentGlobals();
}

} // namespace

namespace {

// The kept seed documents of the solids: the whole one and its damaged variants.
class RevolutionSeedTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        HxResetDocumentGlobals();
        HxSetScreenSizeOverride(1920, 1080);
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        m_doc = std::make_unique<CHalvixDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
    }
    void TearDown() override {
        m_doc.reset();
        HxSetMessageBoxHandler(nullptr);
        HxSetScreenSizeOverride(0, 0);
        HxResetDocumentGlobals();
        PageFixture::TearDown();
    }
    BOOL Load(const std::string& seed) {
        const char* root = std::getenv("HALVIX_TEST_SOURCE_DIR");
        std::ifstream in(std::string(root ? root : ".") + "/tests/document/fuzz/corpus/seed-" + seed + "-hvx",
                         std::ios::binary);
        EXPECT_TRUE(in.good()) << seed;
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        CMemFile file(bytes);
        return m_doc->ReadDocument(file, u"solids.hvx", FALSE);
    }
    CGCell* Cell(WORD id) { return m_doc->GetPage(0)->FindCell(id); }
    std::unique_ptr<CHalvixDoc> m_doc;
};

// Points 1 to 4, the line 5, the fixed solids 6 to 9 and those built on points 10 to 13.
TEST_F(RevolutionSeedTest, TheSolidsDocumentAndItsDamagedVariants) {
    ASSERT_TRUE(Load("solids"));
    const char* classes[] = {"CGSphere",   "CGCylinder",    "CGCone",    "CGFrustum",
                             "CGSphereCN", "CGCylinderCPC", "CGConeCPV", "CGFrustumCP2"};
    for (WORD id = 6; id <= 13; ++id) {
        ASSERT_NE(Cell(id), nullptr) << id;
        EXPECT_STREQ(Cell(id)->GetRuntimeClass()->m_lpszClassName, classes[id - 6]);
        EXPECT_TRUE(Cell(id)->m_valid) << id;
    }
    EXPECT_EQ(static_cast<CGFrustum*>(Cell(9))->m_topRatio, 1.0f);
    EXPECT_EQ(Cell(6)->m_param4, 1);
    // Stored again, it counts the three document textures its solids use.
    m_doc->StoreToBytes();
    EXPECT_EQ(std::vector<int>(g_textureUseCount + 1, g_textureUseCount + 4), (std::vector<int>{1, 1, 1}));

    // Numbers that are none and texture numbers beyond the table load as they are.
    ASSERT_TRUE(Load("solids-no-numbers"));
    EXPECT_TRUE(std::isnan(static_cast<CGSphere*>(Cell(6))->m_radius));
    ASSERT_TRUE(Load("solids-textures"));
    EXPECT_EQ(Cell(6)->m_param4, 99);
    m_doc->StoreToBytes();
    EXPECT_EQ(std::vector<int>(g_textureUseCount + 1, g_textureUseCount + 4), (std::vector<int>{0, 0, 0}))
        << "only numbers 1 to 3 are the document's";
    // Built on a line, or on too few points: invalid, and nothing else changes.
    ASSERT_TRUE(Load("solids-on-a-line"));
    EXPECT_FALSE(Cell(10)->m_valid);
    EXPECT_FALSE(Cell(11)->m_valid);
    EXPECT_TRUE(Cell(12)->m_valid);
    ASSERT_TRUE(Load("solids-parent-counts"));
    EXPECT_FALSE(Cell(10)->m_valid);
    EXPECT_TRUE(Cell(11)->m_valid);
    EXPECT_TRUE(Cell(12)->m_valid) << "a parent too many is not read";
    EXPECT_FALSE(Cell(13)->m_valid);
    // Cut short: refused, the open document stays.
    EXPECT_FALSE(Load("solids-cut"));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_NE(Cell(13), nullptr);
}

} // namespace
