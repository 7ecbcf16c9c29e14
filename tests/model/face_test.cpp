// Faces: construction and names, the description character for character, the face record byte by
// byte and its checks on load, texture use counts, the label kept inside the polygon, texture
// coordinates, and the inside and nearest-edge queries.
#include "model/face.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <algorithm>
#include <cmath>

namespace {

class FaceTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_a = AddPoint(0.0f, 0.0f, 0.0f);
        m_b = AddPoint(2.0f, 0.0f, 0.0f);
        m_c = AddPoint(0.0f, 2.0f, 0.0f);
    }
    CGFace* AddTriangle(COLORREF color = RGB(10, 20, 30)) {
        return Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, m_c->m_id, color));
    }
    CGFace* AddPolygon(const std::vector<WORD>& ids) {
        CList<WORD, WORD> corners;
        for (WORD id : ids)
            corners.AddTail(id);
        return Insert(new CGFace(NextId(), corners, RGB(1, 2, 3)));
    }
    // The record of a triangle on points 1, 2, 3 as stored, with the face fields given.
    static std::vector<BYTE> TriangleRecord(int count, int labelTriangle, std::vector<WORD> parents) {
        CommonRecord common{.id = 9, .name = u"ABC", .parents = std::move(parents), .children = {}};
        ByteBuilder b;
        common.AppendTo(b);
        b.U8(unsigned(count)).I32(labelTriangle).F32(0.25f).F32(0.5f);
        return b;
    }
    CGVertex* m_a = nullptr;
    CGVertex* m_b = nullptr;
    CGVertex* m_c = nullptr;
};

void ExpectPoint(float x, float y, float z, const float* p) {
    EXPECT_FLOAT_EQ(p[0], x);
    EXPECT_FLOAT_EQ(p[1], y);
    EXPECT_FLOAT_EQ(p[2], z);
}

} // namespace

TEST_F(FaceTest, TriangleIsNamedAndDescribedAfterItsCorners) {
    g_colorObject.a = 200;
    CGFace* face = AddTriangle(RGB(10, 20, 30));
    EXPECT_EQ(face->m_name, u"ABC");
    EXPECT_TRUE(face->m_valid);
    EXPECT_EQ(face->m_vertexCount, 3);
    EXPECT_EQ(face->m_style, CGFace::kStyleDepthOnly); // invisible until a display command says otherwise
    EXPECT_EQ(face->m_color, (CRgba{10, 20, 30, 200})); // red in the low byte; the alpha stays
    ASSERT_EQ(face->m_vertexIndices.size(), 3u);
    EXPECT_EQ(face->m_vertexIndices[1], m_b->m_vertexIndex);
    // The label starts at 0.7 A + 0.1 B + 0.2 C.
    EXPECT_EQ(face->m_labelTriangle, 1);
    ExpectPoint(0.2f, 0.4f, 0.0f, face->m_labelPos);
    EXPECT_EQ(face->GetDescription(), u"点A、B、C确定的面");
    // The names are read when asked for.
    m_b->m_name = u"Q";
    EXPECT_EQ(face->GetDescription(), u"点A、Q、C确定的面");
}

TEST_F(FaceTest, ConstructorJoinsAllNamesButRenamingKeepsFive) {
    std::vector<WORD> ids{m_a->m_id, m_b->m_id, m_c->m_id};
    for (int i = 0; i < 3; ++i)
        ids.push_back(AddPoint(float(i), 3.0f, 0.0f)->m_id);
    CGFace* hexagon = AddPolygon(ids);
    EXPECT_EQ(hexagon->m_vertexCount, 6);
    EXPECT_EQ(hexagon->m_name, u"ABCDEF");
    EXPECT_EQ(hexagon->GetDescription(), u"点A、B、C、D、E、F确定的面");
    hexagon->m_flag2 = false;
    hexagon->UpdateName();
    EXPECT_EQ(hexagon->m_name, u"ABCDE");
    EXPECT_TRUE(hexagon->m_flag2);
    m_a->m_name = u"P";
    hexagon->m_nameFixed = true;
    hexagon->UpdateName();
    EXPECT_EQ(hexagon->m_name, u"ABCDE");

    CGVertex* d = AddPoint(2.0f, 2.0f, 0.0f);
    CGFace* quad = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, d->m_id, m_c->m_id, RGB(0, 0, 0)));
    EXPECT_EQ(quad->m_name, u"PBGC");
    EXPECT_EQ(quad->m_vertexCount, 4);
    quad->UpdateName();
    EXPECT_EQ(quad->m_name, u"PBGC");
}

TEST_F(FaceTest, PolygonKeepsAtMostTheCornersItsRecordCanCount) {
    std::vector<WORD> ids;
    for (int i = 0; i < 300; ++i)
        ids.push_back(m_a->m_id + WORD(i % 3));
    CGFace* face = AddPolygon(ids);
    EXPECT_EQ(face->m_vertexCount, 255);
    EXPECT_EQ(face->m_parents.GetSize(), 255);
    EXPECT_EQ(face->m_vertexIndices.size(), 255u);
}

TEST_F(FaceTest, RecordIsTheCommonRecordThenCountAndLabelPlace) {
    CGFace* face = AddTriangle(RGB(10, 20, 30));
    face->m_style = CGFace::kStyleLit;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { face->Serialize(ar); });
    const float rest = 1.0f - 0.7f - 0.1f;
    CommonRecord common{.id = 4, .name = u"ABC", .style = CGFace::kStyleLit,
                        .labelPos = {0.1f * 2.0f, rest * 2.0f, 0}, .color = CRgba{10, 20, 30, 255},
                        .parents = {1, 2, 3}, .children = {}};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.U8(3).I32(1).F32(0.7f).F32(0.1f);
    EXPECT_EQ(bytes, expected.Bytes());

    CGFace back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_vertexCount, 3);
    EXPECT_EQ(back.m_style, CGFace::kStyleLit);
    EXPECT_EQ(back.m_labelWeight0, 0.7f);
    ASSERT_EQ(back.m_vertexIndices.size(), 3u);
    EXPECT_EQ(back.m_vertexIndices[0], 0u); // filled when the page renumbers its vertex array
    back.RefreshVertexIndices();
    EXPECT_EQ(back.m_vertexIndices[2], m_c->m_vertexIndex);

    std::vector<BYTE> shorter(bytes.begin(), bytes.end() - 1);
    CGFace cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

TEST_F(FaceTest, LoadRefusesACountThatIsNotTheParentsOrMakesNoPolygon) {
    CGFace good;
    LoadBytes(TriangleRecord(3, 1, {1, 2, 3}), [&](CArchive& ar) { good.Serialize(ar); });
    EXPECT_EQ(good.m_labelTriangle, 1);
    EXPECT_EQ(good.m_labelWeightK, 0.5f);

    for (auto [count, parents] : std::vector<std::pair<int, std::vector<WORD>>>{
             {4, {1, 2, 3}}, {2, {1, 2, 3}}, {2, {1, 2}}, {0, {}}, {255, {1, 2, 3}}}) {
        CGFace face;
        try {
            LoadBytes(TriangleRecord(count, 1, parents), [&](CArchive& ar) { face.Serialize(ar); });
            ADD_FAILURE() << "count " << count << " accepted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
        }
    }
    // A label triangle outside the fan goes back to the start, weights included.
    for (int k : {0, 2, -7, 1000}) {
        CGFace face;
        LoadBytes(TriangleRecord(3, k, {1, 2, 3}), [&](CArchive& ar) { face.Serialize(ar); });
        EXPECT_EQ(face.m_labelTriangle, 1) << k;
        EXPECT_EQ(face.m_labelWeight0, 0.7f) << k;
        EXPECT_EQ(face.m_labelWeightK, 0.1f) << k;
    }
}

TEST_F(FaceTest, DamagedFaceRecordFailsThePageLoadAndLeavesThePage) {
    AddTriangle();
    std::vector<BYTE> page = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });
    // The face's last parent (3), its empty child list, its count 3 and its label triangle 1.
    const BYTE pattern[] = {3, 0, 0, 0, 3, 1, 0, 0, 0};
    auto at = std::search(page.begin(), page.end(), std::begin(pattern), std::end(pattern));
    ASSERT_NE(at, page.end());
    at[4] = 4; // the count of the face

    CGPage other;
    CGVertex* keep = new CGVertex(1, 1, u"K", 0, 0, 0);
    other.m_cells.SetAt(1, keep);
    EXPECT_THROW(LoadBytes(page, [&](CArchive& ar) { other.Serialize(ar); }), CArchiveException);
    EXPECT_EQ(other.m_cells.GetCount(), 1);
    EXPECT_EQ(other.FindCell(1), keep);

    at[4] = 3;
    LoadBytes(page, [&](CArchive& ar) { other.Serialize(ar); });
    ASSERT_NE(DYNAMIC_DOWNCAST(CGFace, other.FindCell(4)), nullptr);
}

TEST_F(FaceTest, StoringCountsTheDocumentTexturesItUses) {
    CGFace* f1 = AddTriangle();
    CGFace* f2 = AddTriangle();
    CGFace* f3 = AddTriangle();
    f1->m_param4 = 2;
    f2->m_param4 = 2;
    f3->m_param4 = 5; // an image of the view, not the document's
    StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[2], 2);
    EXPECT_EQ(g_textureUseCount[1], 0);
    EXPECT_EQ(g_textureUseCount[3], 0);
    f3->m_param4 = 1;
    StoreBytes([&](CArchive& ar) { f3->Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[1], 1);
    // Loading counts nothing.
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { f1->Serialize(ar); });
    CGFace back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(g_textureUseCount[2], 3);
}

TEST_F(FaceTest, LabelKeepsItsBarycentricPlaceAndAnInvalidCornerFreezesIt) {
    CGFace* face = AddTriangle();
    MovePoint(m_b, 4.0f, 0.0f, 2.0f);
    ExpectPoint(0.4f, 0.4f, 0.2f, face->m_labelPos);
    EXPECT_TRUE(face->m_texCoordsDirty);

    face->m_texCoordsDirty = false;
    m_c->m_valid = false;
    MovePoint(m_a, -2.0f, 0.0f, 0.0f);
    EXPECT_FALSE(face->m_valid);
    ExpectPoint(0.4f, 0.4f, 0.2f, face->m_labelPos); // the old anchor
    EXPECT_FALSE(face->m_texCoordsDirty);
    m_c->m_valid = true;
    MovePoint(m_a, -2.0f, 0.0f, 0.0f);
    EXPECT_TRUE(face->m_valid);
    ExpectPoint(-1.4f + 0.4f, 0.4f, 0.2f, face->m_labelPos);
}

TEST_F(FaceTest, DegenerateCornersStayValidButMissingOnesDoNot) {
    CGVertex* d = AddPoint(4.0f, 0.0f, 0.0f);
    CGFace* collinear = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, d->m_id, RGB(0, 0, 0)));
    EXPECT_TRUE(collinear->m_valid);
    CGFace* coincident = Insert(new CGFace(NextId(), m_a->m_id, m_a->m_id, m_a->m_id, RGB(0, 0, 0)));
    EXPECT_TRUE(coincident->m_valid);

    // A corner that is not in the page, or not a point, leaves nothing to stand on.
    CGFace orphan(90, m_a->m_id, m_b->m_id, 77, RGB(0, 0, 0));
    EXPECT_FALSE(orphan.m_valid);
    EXPECT_EQ(orphan.m_name, u"AB");
    EXPECT_EQ(orphan.m_vertexIndices[2], 0u);
    float x = 1, y = 1, z = 1;
    const float q[3] = {5, 5, 5};
    orphan.NearestBoundaryPoint(q, x, y, z);
    EXPECT_EQ(x, 5.0f);
    EXPECT_FALSE(orphan.TestPoint(q));
    CGFace onFace(91, m_a->m_id, m_b->m_id, collinear->m_id, RGB(0, 0, 0));
    EXPECT_FALSE(onFace.m_valid);
    for (CGVertex* p : {m_a, m_b}) {
        p->m_children.RemoveTail();
        p->m_children.RemoveTail();
    }
    collinear->m_children.RemoveAll();
}

TEST_F(FaceTest, LabelDragsOnlyWithinThePolygon) {
    CGVertex* d = AddPoint(2.0f, 2.0f, 0.0f);
    // A, B, D, C: a square of side 2 with the fan triangles ABD and ADC.
    CGFace* square = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, d->m_id, m_c->m_id, RGB(0, 0, 0)));
    RayThrough(0.5, 1.5); // in the second triangle
    square->MoveLabel();
    ExpectPoint(0.5f, 1.5f, 0.0f, square->m_labelPos);
    EXPECT_EQ(square->m_labelTriangle, 2);
    // H - C = s (A - C) + u (D - C): (0.5, -0.5) = s (0, -2) + u (2, 0).
    EXPECT_FLOAT_EQ(square->m_labelWeight0, 0.25f);
    EXPECT_FLOAT_EQ(square->m_labelWeightK, 0.25f);

    RayThrough(1.5, 0.5); // in the first triangle
    square->MoveLabel();
    EXPECT_EQ(square->m_labelTriangle, 1);
    ExpectPoint(1.5f, 0.5f, 0.0f, square->m_labelPos);

    for (auto [x, y] :
         std::vector<std::pair<double, double>>{{3.0, 1.0}, {-0.5, 1.0}, {1.0, -0.5}, {1.0, 2.5}}) {
        RayThrough(x, y);
        square->MoveLabel();
        ExpectPoint(1.5f, 0.5f, 0.0f, square->m_labelPos);
        EXPECT_EQ(square->m_labelTriangle, 1);
    }
    // A ray along the plane moves nothing.
    RayInPlaneZ0();
    square->MoveLabel();
    ExpectPoint(1.5f, 0.5f, 0.0f, square->m_labelPos);

    // The dragged place is kept when the face moves: the square scaled by 2.
    MovePoint(m_b, 4.0f, 0.0f, 0.0f);
    MovePoint(d, 4.0f, 4.0f, 0.0f);
    MovePoint(m_c, 0.0f, 4.0f, 0.0f);
    ExpectPoint(3.0f, 1.0f, 0.0f, square->m_labelPos);
}

TEST_F(FaceTest, LabelDragInAFaceSeenEdgeOnInTwoCoordinates) {
    // The face in the plane x = 0: the (x, y) determinant vanishes and (y, z) is used.
    m_a->SetPosition(0, 0, 0);
    m_b->SetPosition(0, 2, 0);
    m_c->SetPosition(0, 0, 2);
    CGFace* face = AddTriangle();
    SetPickRay(5, 0.5, 0.5, -5, 0.5, 0.5);
    face->MoveLabel();
    ExpectPoint(0.0f, 0.5f, 0.5f, face->m_labelPos);
    EXPECT_FLOAT_EQ(face->m_labelWeight0, 0.5f);
    EXPECT_FLOAT_EQ(face->m_labelWeightK, 0.25f);
}

TEST_F(FaceTest, TestPointJudgesTheProjectionOntoThePlane) {
    CGFace* face = AddTriangle();
    const float inside[3] = {0.5f, 0.5f, 0.0f};
    const float onEdge[3] = {1.0f, 1.0f, 0.0f};
    const float corner[3] = {2.0f, 0.0f, 0.0f};
    const float above[3] = {0.5f, 0.5f, 7.0f};
    const float outside[3] = {1.5f, 1.5f, 0.0f};
    const float behind[3] = {-0.1f, 0.5f, -3.0f};
    EXPECT_TRUE(face->TestPoint(inside));
    EXPECT_TRUE(face->TestPoint(onEdge));
    EXPECT_TRUE(face->TestPoint(corner));
    EXPECT_TRUE(face->TestPoint(above));
    EXPECT_FALSE(face->TestPoint(outside));
    EXPECT_FALSE(face->TestPoint(behind));
    // The other orientation gives the same answers.
    CGFace* reversed = Insert(new CGFace(NextId(), m_c->m_id, m_b->m_id, m_a->m_id, RGB(0, 0, 0)));
    EXPECT_TRUE(reversed->TestPoint(inside));
    EXPECT_FALSE(reversed->TestPoint(outside));
}

TEST_F(FaceTest, NearestBoundaryPointOfEdgesAndCorners) {
    CGVertex* d = AddPoint(2.0f, 2.0f, 0.0f);
    CGFace* square = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, d->m_id, m_c->m_id, RGB(0, 0, 0)));
    float p[3];
    const float below[3] = {0.5f, -1.0f, 3.0f};
    square->NearestBoundaryPoint(below, p[0], p[1], p[2]);
    ExpectPoint(0.5f, 0.0f, 0.0f, p);
    const float beyondCorner[3] = {3.0f, 3.0f, 0.0f};
    square->NearestBoundaryPoint(beyondCorner, p[0], p[1], p[2]);
    ExpectPoint(2.0f, 2.0f, 0.0f, p);
    // The centre is as near to every edge: the first edge wins.
    const float centre[3] = {1.0f, 1.0f, 0.0f};
    square->NearestBoundaryPoint(centre, p[0], p[1], p[2]);
    ExpectPoint(1.0f, 0.0f, 0.0f, p);
    // Nearer to the last edge (C back to A).
    const float left[3] = {0.25f, 1.5f, 0.0f};
    square->NearestBoundaryPoint(left, p[0], p[1], p[2]);
    ExpectPoint(0.0f, 1.5f, 0.0f, p);

    // Coinciding corners make a zero-length edge: no NaN.
    CGFace* pinched = Insert(new CGFace(NextId(), m_a->m_id, m_a->m_id, m_b->m_id, RGB(0, 0, 0)));
    const float q[3] = {1.0f, 1.0f, 0.0f};
    pinched->NearestBoundaryPoint(q, p[0], p[1], p[2]);
    ExpectPoint(1.0f, 0.0f, 0.0f, p);
    const float onA[3] = {0.0f, 0.0f, 0.0f};
    pinched->NearestBoundaryPoint(onA, p[0], p[1], p[2]);
    ExpectPoint(0.0f, 0.0f, 0.0f, p);
}

TEST_F(FaceTest, TextureCoordinatesUnfoldThePolygonOntoTheUnitSquare) {
    CGVertex* d = AddPoint(2.0f, 2.0f, 0.0f);
    CGFace* square = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, d->m_id, m_c->m_id, RGB(0, 0, 0)));
    square->ComputeTexCoords();
    EXPECT_FALSE(square->m_texCoordsDirty);
    const float expected[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    ASSERT_EQ(square->m_texCoords.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(square->m_texCoords[size_t(i)], expected[i], 1e-6) << i;

    // Only distances count: the same square standing up in space maps the same way.
    m_a->SetPosition(1, 1, 1);
    m_b->SetPosition(1, 1, 3);
    d->SetPosition(1, 3, 3);
    m_c->SetPosition(1, 3, 1);
    square->ComputeTexCoords();
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(square->m_texCoords[size_t(i)], expected[i], 1e-6) << i;

    // Coinciding and collinear corners give numbers, not NaN.
    CGFace* flat = Insert(new CGFace(NextId(), m_a->m_id, m_a->m_id, m_a->m_id, RGB(0, 0, 0)));
    flat->ComputeTexCoords();
    for (float v : flat->m_texCoords)
        EXPECT_TRUE(std::isfinite(v));
    CGFace* collinear = Insert(new CGFace(NextId(), m_a->m_id, m_b->m_id, m_a->m_id, RGB(0, 0, 0)));
    collinear->ComputeTexCoords();
    for (float v : collinear->m_texCoords)
        EXPECT_TRUE(std::isfinite(v));
}
