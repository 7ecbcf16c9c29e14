// Points: construction, the vertex array, the point record byte by byte, label dragging and the
// fixed description.
#include "model/vertex.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "model_checks.h"

namespace {

class VertexTest : public PageFixture {};

} // namespace

TEST_F(VertexTest, DefaultPointShowsItsLabelInThePointColour) {
    g_colorObject = CRgba{1, 2, 3, 77};
    g_pointSize = 8.0f;
    CGVertex p;
    EXPECT_EQ(p.m_labelHidden, 0);
    EXPECT_EQ(p.m_color, (CRgba{128, 0, 0, 77})); // the alpha stays the object colour's
    EXPECT_EQ(p.m_size, 8.0f);
    EXPECT_EQ(p.GetDescription(), u"固定点");
}

TEST_F(VertexTest, ConstructedPointFillsItsVertexEntryAndPlacesItsLabel) {
    CGVertex p(7, 3, u"P", 1.5f, -2.0f, 3.0f);
    EXPECT_EQ(p.m_id, 7);
    EXPECT_EQ(p.m_name, u"P");
    EXPECT_TRUE(p.m_valid);
    const float* slot = Slot(3);
    EXPECT_EQ(slot[0], 1.5f);
    EXPECT_EQ(slot[1], -2.0f);
    EXPECT_EQ(slot[2], 3.0f);
    EXPECT_FLOAT_EQ(p.m_labelOffset[0], 0.2f);
    EXPECT_EQ(p.m_labelOffset[1], 0.0f);
    EXPECT_FLOAT_EQ(p.m_labelOffset[2], 0.2f);
    EXPECT_EQ(p.m_labelPos[0], 1.5f + p.m_labelOffset[0]);
    EXPECT_EQ(p.m_labelPos[1], -2.0f);
    EXPECT_EQ(p.m_labelPos[2], 3.0f + p.m_labelOffset[2]);

    // The offset is in unit lengths.
    g_unitLength = 0.1f;
    CGVertex q(8, 4, u"Q", 0, 0, 0);
    EXPECT_FLOAT_EQ(q.m_labelOffset[0], 0.4f);
}

TEST_F(VertexTest, VertexIndexPastTheArrayIsNeverWritten) {
    const float sentinel = 12345.0f;
    float* last = g_vertexArray + size_t(g_vertexArrayCapacity + 9) * 3;
    last[0] = sentinel;
    CGVertex inside(1, DWORD(g_vertexArrayCapacity + 9), u"A", 1, 2, 3);
    EXPECT_EQ(last[0], 1.0f);
    CGVertex outside(2, DWORD(g_vertexArrayCapacity + 10), u"B", 4, 5, 6);
    EXPECT_EQ(outside.m_x, 4.0f); // the point still has its position
    delete[] g_vertexArray;
    g_vertexArray = nullptr;
    CGVertex noArray(3, 1, u"C", 7, 8, 9);
    EXPECT_EQ(noArray.m_labelPos[1], 8.0f);
}

TEST_F(VertexTest, SyncVertexWritesPositionAndMovesLabel) {
    CGVertex* a = AddPoint(0, 0, 0);
    a->m_x = 5.0f;
    a->m_y = 6.0f;
    a->m_z = 7.0f;
    a->SyncVertex();
    EXPECT_EQ(Slot(a->m_vertexIndex)[0], 5.0f);
    EXPECT_EQ(Slot(a->m_vertexIndex)[2], 7.0f);
    EXPECT_EQ(a->m_labelPos[0], 5.0f + a->m_labelOffset[0]);
    EXPECT_EQ(a->m_labelPos[1], 6.0f);
}

TEST_F(VertexTest, RecordIsTheCommonRecordThenPositionAndLabelOffset) {
    CGVertex* a = AddPoint(1.5f, -2.0f, 3.0f);
    CGLine* line = AddLine(a->m_id, AddPoint(0, 0, 0)->m_id);
    a->m_style = 5;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { a->Serialize(ar); });

    const float off = 4.0f * 0.05f;
    CommonRecord common{.id = 1, .name = u"A", .labelHidden = 0, .style = 5,
                        .labelPos = {1.5f + off, -2.0f, 3.0f + off}, .color = CRgba{128, 0, 0, 255},
                        .size = 6.0f, .parents = {}, .children = {line->m_id}};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.F32(1.5f).F32(-2.0f).F32(3.0f).F32(off).F32(0.0f).F32(off);
    EXPECT_EQ(bytes, expected.Bytes());

    // Loading reads the same fields back and leaves the vertex array alone.
    float before = Slot(1)[0];
    CGVertex back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_id, 1);
    EXPECT_EQ(back.m_name, u"A");
    EXPECT_EQ(back.m_style, 5);
    EXPECT_EQ(back.m_x, 1.5f);
    EXPECT_EQ(back.m_y, -2.0f);
    EXPECT_EQ(back.m_z, 3.0f);
    EXPECT_EQ(back.m_labelOffset[2], off);
    EXPECT_EQ(back.m_vertexIndex, 0u); // the page gives loaded points fresh indices
    ASSERT_EQ(back.m_children.GetCount(), 1);
    EXPECT_EQ(back.m_children.GetHead(), line->m_id);
    EXPECT_EQ(Slot(1)[0], before);
}

TEST_F(VertexTest, TruncatedRecordThrows) {
    CGVertex* a = AddPoint(1, 2, 3);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { a->Serialize(ar); });
    for (size_t cut : {bytes.size() - 1, bytes.size() - 12, size_t(5)}) {
        std::vector<BYTE> shorter(bytes.begin(), bytes.begin() + long(cut));
        CGVertex back;
        EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << cut;
    }
}

TEST_F(VertexTest, LabelDragKeepsTheLabelInThePointsPlaneAndNearThePoint) {
    CGVertex* a = AddPoint(1.0f, 2.0f, 3.0f);
    // A mouse ray straight down the z axis through (1.5, 2.5, *).
    SetPickRay(1.5, 2.5, 100, 1.5, 2.5, -100);
    g_viewDirX = 0.0f;
    g_viewDirY = 0.0f;
    g_viewDirZ = 200.0f;
    a->MoveLabel();
    EXPECT_FLOAT_EQ(a->m_labelOffset[0], 0.5f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[1], 0.5f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[2], 0.0f);
    EXPECT_FLOAT_EQ(a->m_labelPos[0], 1.5f);
    EXPECT_FLOAT_EQ(a->m_labelPos[2], 3.0f);

    // Far away: the label stops 40 unit lengths (2 drawing units) from the point.
    g_pickRayNear[0] = g_pickRayFar[0] = 1.0 + 30.0;
    g_pickRayNear[1] = g_pickRayFar[1] = 2.0 + 40.0;
    a->MoveLabel();
    EXPECT_FLOAT_EQ(a->m_labelOffset[0], 1.2f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[1], 1.6f);

    // A ray almost parallel to the plane (|z direction| below 10) leaves the label alone.
    g_viewDirZ = 9.5f;
    g_viewDirX = 200.0f;
    a->MoveLabel();
    EXPECT_FLOAT_EQ(a->m_labelOffset[0], 1.2f);

    // With Ctrl held the label moves in the plane y = point y.
    g_dragKeepZ = 0;
    g_viewDirX = 0.0f;
    g_viewDirY = 200.0f;
    g_viewDirZ = 0.0f;
    SetPickRay(31, 42, 100, 1.25, -100, 3.5);
    a->MoveLabel();
    EXPECT_FLOAT_EQ(a->m_labelOffset[0], 0.25f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[1], 0.0f);
    EXPECT_FLOAT_EQ(a->m_labelOffset[2], 0.5f);
}
