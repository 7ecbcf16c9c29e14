// Dependent points: midpoints, the perpendicular point of equal length and the feet on a line and a
// plane follow their parents, are invalid while there is no point and valid again once there is;
// their descriptions; their records are the point record under their own class names.
#include "model/dependent_points.h"

#include "model/arc_circles.h"
#include "model/face.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"

#include <cmath>

namespace {

class DependentPointsTest : public PageFixture {
protected:
    template <class T, class... Ids> T* AddDependent(Ids... parents) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        return Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), WORD(parents)...));
    }
};

void ExpectAt(const CGVertex& p, float x, float y, float z) {
    EXPECT_FLOAT_EQ(p.m_x, x);
    EXPECT_FLOAT_EQ(p.m_y, y);
    EXPECT_FLOAT_EQ(p.m_z, z);
}

} // namespace

TEST_F(DependentPointsTest, MidpointFollowsItsSegment) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 4, -6);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVerMid* m = AddDependent<CGVerMid>(ab->m_id);
    EXPECT_TRUE(m->m_valid);
    EXPECT_EQ(m->m_name, u"C");
    ExpectAt(*m, 1, 2, -3);
    // Into the vertex array, the label alongside.
    const float* slot = Slot(m->m_vertexIndex);
    EXPECT_EQ(slot[1], 2.0f);
    EXPECT_FLOAT_EQ(m->m_labelPos[0], 1.0f + 0.2f);
    EXPECT_EQ(m->m_labelPos[1], 2.0f);
    EXPECT_EQ(m->m_color, (CRgba{128, 0, 0, 255}));
    EXPECT_EQ(m->GetDescription(), u"线段AB的中点");

    MovePoint(b, 4, 0, 0);
    ExpectAt(*m, 2, 0, 0);
    EXPECT_EQ(Slot(m->m_vertexIndex)[0], 2.0f);
    // Hiding the segment changes nothing; an invalid segment makes the midpoint invalid.
    ab->m_hidden = 1;
    MovePoint(a, 2, 2, 0);
    EXPECT_TRUE(m->m_valid);
    ExpectAt(*m, 3, 1, 0);
    ab->m_valid = false;
    m->Recompute();
    EXPECT_FALSE(m->m_valid);
    ExpectAt(*m, 3, 1, 0); // the last position stays
    ab->m_valid = true;
    MovePoint(b, 0, 0, 0);
    EXPECT_TRUE(m->m_valid);
    ExpectAt(*m, 1, 1, 0);
    // Only the line's flag is asked: its points stand behind it.
    b->m_valid = false;
    m->Recompute();
    EXPECT_TRUE(m->m_valid);
}

TEST_F(DependentPointsTest, MidpointNeedsALineWithItsPoints) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVerMid* onPoint = AddDependent<CGVerMid>(a->m_id);
    EXPECT_FALSE(onPoint->m_valid);
    CGVerMid* onNothing = AddDependent<CGVerMid>(99);
    EXPECT_FALSE(onNothing->m_valid);
    EXPECT_EQ(onNothing->GetDescription(), u"线段的中点");
    // A line whose point went missing.
    CGVertex* b = AddPoint(2, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVerMid* m = AddDependent<CGVerMid>(ab->m_id);
    ASSERT_TRUE(m->m_valid);
    m_page->m_cells.RemoveKey(b->m_id);
    m->Recompute();
    EXPECT_FALSE(m->m_valid);
    m_page->m_cells.SetAt(b->m_id, b);
}

TEST_F(DependentPointsTest, PerpendicularPointOfEqualLength) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0), *c = AddPoint(0, 1, 0);
    auto* p = AddDependent<CGVerPerpenEquid>(a->m_id, b->m_id, c->m_id);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 0, 0, 1);
    EXPECT_EQ(p->GetDescription(), u"DA⊥面ABC，DA=AB");
    // |AB| = 3 sets the distance; the other side of the plane when C crosses AB.
    MovePoint(b, 3, 0, 0);
    ExpectAt(*p, 0, 0, 3);
    MovePoint(c, 0, -2, 0);
    ExpectAt(*p, 0, 0, -3);
    // C on the line AB: no normal, the point stays on A and valid.
    MovePoint(c, 5, 0, 0);
    EXPECT_TRUE(p->m_valid);
    ExpectAt(*p, 0, 0, 0);
    MovePoint(a, 1, 1, 1);
    MovePoint(c, 1, 2, 1);
    // (B - A) x (C - A) = (2, -1, -1) x (0, 1, 0) = (1, 0, 2), scaled to |AB| = sqrt 6.
    const float k = float(std::sqrt(6.0 / 5.0));
    ExpectAt(*p, 1 + k, 1, 1 + 2 * k);
}

TEST_F(DependentPointsTest, FootOnALine) {
    CGVertex *p = AddPoint(0.5f, 1, 0), *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    auto* foot = AddDependent<CGVerFootpl>(p->m_id, a->m_id, b->m_id);
    EXPECT_TRUE(foot->m_valid);
    ExpectAt(*foot, 0.5f, 0, 0);
    EXPECT_EQ(foot->GetDescription(), u"点A在直线BC的投影");
    // Beyond the segment: the line goes on.
    MovePoint(p, 3, -2, 5);
    ExpectAt(*foot, 3, 0, 0);
    // The right angle at A: the foot is A itself, a foot like any other.
    MovePoint(p, 0, 1, 0);
    EXPECT_TRUE(foot->m_valid);
    ExpectAt(*foot, 0, 0, 0);
    // A and B together make no line: no foot, until B moves off again.
    MovePoint(b, 0, 0, 0);
    EXPECT_FALSE(foot->m_valid);
    ExpectAt(*foot, 0, 0, 0);
    MovePoint(p, 2, 2, 0);
    EXPECT_FALSE(foot->m_valid);
    MovePoint(b, 0, 2, 0);
    EXPECT_TRUE(foot->m_valid);
    ExpectAt(*foot, 0, 2, 0);
    // An invalid parent.
    a->m_valid = false;
    foot->Recompute();
    EXPECT_FALSE(foot->m_valid);
}

TEST_F(DependentPointsTest, FootOnAPlane) {
    CGVertex *p = AddPoint(1, 2, 3), *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0), *c = AddPoint(0, 1, 0);
    auto* foot = AddDependent<CGVerFootpf>(p->m_id, a->m_id, b->m_id, c->m_id);
    EXPECT_TRUE(foot->m_valid);
    ExpectAt(*foot, 1, 2, 0);
    EXPECT_EQ(foot->GetDescription(), u"点A在面BCD的投影");
    MovePoint(c, 0, 0, 1); // the plane y = 0
    ExpectAt(*foot, 1, 0, 3);
    // Collinear A, B, C: the foot on the line AB.
    MovePoint(c, 2, 0, 0);
    EXPECT_TRUE(foot->m_valid);
    ExpectAt(*foot, 1, 0, 0);
    // A and B together: the line through B and C.
    MovePoint(b, 0, 0, 0);
    MovePoint(c, 0, 0, 4);
    ExpectAt(*foot, 0, 0, 3);
}

TEST_F(DependentPointsTest, DescriptionsReadTheCurrentNames) {
    CGVertex *p = AddPoint(0, 1, 0), *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    auto* foot = AddDependent<CGVerFootpl>(p->m_id, a->m_id, b->m_id);
    a->m_name = CString(u"O");
    EXPECT_EQ(foot->GetDescription(), u"点A在直线OC的投影");
    CGLine* pa = AddLine(p->m_id, a->m_id);
    auto* mid = AddDependent<CGVerMid>(pa->m_id);
    pa->m_name = CString(u"l");
    EXPECT_EQ(mid->GetDescription(), u"线段l的中点");
}

TEST_F(DependentPointsTest, RecordIsThePointRecordUnderItsOwnClassName) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVerMid* m = AddDependent<CGVerMid>(ab->m_id);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(m); });
    CommonRecord common{.id = m->m_id, .name = u"C", .labelHidden = 0, .labelPos = {1.0f + 0.2f, 0, 0.2f},
                        .color = CRgba{128, 0, 0, 255}, .size = 6.0f, .parents = {ab->m_id}, .children = {}};
    ByteBuilder expected;
    expected.NewClass("CGVerMid");
    common.AppendTo(expected);
    expected.F32(1).F32(0).F32(0).F32(4.0f * 0.05f).F32(0).F32(4.0f * 0.05f);
    EXPECT_EQ(bytes, expected.Bytes());

    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    auto* back = DYNAMIC_DOWNCAST(CGVerMid, loaded);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_x, 1.0f);
    EXPECT_EQ(back->m_parents[0], ab->m_id);
    delete loaded;
}

TEST_F(DependentPointsTest, PageOfTheNewCellsStoresLoadsAndRecomputes) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(2, 0, 0), *c = AddPoint(0, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    AddDependent<CGVerMid>(ab->m_id);
    AddDependent<CGVerFootpl>(c->m_id, a->m_id, b->m_id);
    AddDependent<CGVerFootpf>(c->m_id, a->m_id, b->m_id, c->m_id);
    AddDependent<CGVerPerpenEquid>(a->m_id, b->m_id, c->m_id);
    Insert(new CGFace(NextId(), a->m_id, b->m_id, c->m_id, RGB(1, 2, 3)));
    Insert(new CGArcCircle3P(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kSector));
    Insert(new CGArcCenterP(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kArc));
    Insert(new CGArcPointN(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kDisc, 1));
    Insert(new CGArc(NextId(), 1, 1, 1, 0, 3, 0, 0, 0, 3, 0.5f, 1.5f, CGArc::kSegment));
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });

    CGPage loaded;
    LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.m_cells.GetCount(), m_page->m_cells.GetCount());
    for (WORD id : m_page->m_cells.Keys()) {
        CGCell* cell = m_page->m_cells.Find(id);
        CGCell* back = loaded.FindCell(id);
        ASSERT_NE(back, nullptr) << id;
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, cell->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(back->m_name, cell->m_name) << id;
    }
    // The loaded page computes to the same figures.
    g_pCurPage = &loaded;
    g_cellMap = &loaded.m_cells;
    std::vector<WORD> ids;
    for (WORD id = 1; id < loaded.m_nextId; ++id)
        ids.push_back(id);
    loaded.UpdateCellsById(ids);
    auto* foot = DYNAMIC_DOWNCAST(CGVerFootpl, loaded.FindCell(6));
    ASSERT_NE(foot, nullptr);
    EXPECT_TRUE(foot->m_valid);
    auto* circle = DYNAMIC_DOWNCAST(CGArcCircle3P, loaded.FindCell(10));
    ASSERT_NE(circle, nullptr);
    EXPECT_FLOAT_EQ(circle->m_center[0], 1.0f);
    EXPECT_FLOAT_EQ(circle->m_endAngle, float(1.5 * 3.14159265358979));
    auto* reversed = DYNAMIC_DOWNCAST(CGArcPointN, loaded.FindCell(12));
    ASSERT_NE(reversed, nullptr);
    EXPECT_EQ(reversed->m_extA2, 1);
    EXPECT_EQ(reversed->GetDescription(), u"以点A为圆心，过点B且垂直于AC的圆面反向");
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}
