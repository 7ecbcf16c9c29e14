// Lines: construction from two points, name and description of each kind, the line record byte by
// byte, recomputation, and the line geometry at and beyond the ends of each kind.
#include "model/line.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <cmath>

namespace {

class LineTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_a = AddPoint(0.0f, 0.0f, 0.0f);
        m_b = AddPoint(2.0f, 0.0f, 0.0f);
    }
    CGVertex* m_a = nullptr;
    CGVertex* m_b = nullptr;
};

const BYTE kKinds[] = {CGLine::kSegment, CGLine::kRay, CGLine::kLine, CGLine::kVector};

} // namespace

TEST_F(LineTest, SegmentIsNamedAfterItsEndsWithItsLabelHalfWayAlong) {
    CGLine* ab = AddLine(m_a->m_id, m_b->m_id);
    EXPECT_EQ(ab->m_name, u"AB");
    EXPECT_TRUE(ab->m_valid);
    EXPECT_EQ(ab->m_labelT, 0.5f);
    EXPECT_FLOAT_EQ(ab->m_labelPos[0], 1.5f);
    EXPECT_FLOAT_EQ(ab->m_labelPos[1], 0.5f);
    EXPECT_FLOAT_EQ(ab->m_labelPos[2], 0.5f);
    EXPECT_EQ(ab->m_vertexIndex[0], m_a->m_vertexIndex);
    EXPECT_EQ(ab->m_vertexIndex[1], m_b->m_vertexIndex);
}

TEST_F(LineTest, DescriptionNamesTheKind) {
    const char16_t* expected[] = {u"点A、B 确定的线段", u"点A、B 确定的射线", u"点A、B 确定的直线",
                                  u"点A、B 确定的向量"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(AddLine(m_a->m_id, m_b->m_id, kKinds[i])->GetDescription(), expected[i]);
    EXPECT_EQ(AddLine(m_a->m_id, m_b->m_id, 7)->GetDescription(), u"点A、B 确定的向量");
}

TEST_F(LineTest, NameFollowsTheEndsUnlessFixed) {
    CGLine* ab = AddLine(m_a->m_id, m_b->m_id);
    ab->m_flag2 = false;
    m_a->m_name = u"P";
    ab->UpdateName();
    EXPECT_EQ(ab->m_name, u"PB");
    EXPECT_TRUE(ab->m_flag2);
    ab->m_nameFixed = true;
    m_b->m_name = u"Q";
    ab->UpdateName();
    EXPECT_EQ(ab->m_name, u"PB");
}

TEST_F(LineTest, RecordIsTheCommonRecordThenLabelParameterAndOffset) {
    CGLine* ab = AddLine(m_a->m_id, m_b->m_id, CGLine::kRay);
    ab->m_style = 3;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ab->Serialize(ar); });
    const float off = 10.0f * 0.05f;
    CommonRecord common{.id = 3, .name = u"AB", .style = 3, .kind = CGLine::kRay,
                        .labelPos = {1.0f + off, off, off}, .parents = {1, 2}, .children = {}};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.F32(0.5f).F32(off).F32(off).F32(off);
    EXPECT_EQ(bytes, expected.Bytes());

    CGLine back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_kind, CGLine::kRay);
    EXPECT_EQ(back.m_style, 3);
    EXPECT_EQ(back.m_labelT, 0.5f);
    EXPECT_EQ(back.m_labelOffset[1], off);
    EXPECT_EQ(back.m_vertexIndex[0], 0u); // indices come from the page's rebuild, not the file
    back.RefreshVertexIndices();
    EXPECT_EQ(back.m_vertexIndex[1], m_b->m_vertexIndex);

    std::vector<BYTE> shorter(bytes.begin(), bytes.end() - 2);
    CGLine cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

TEST_F(LineTest, InvalidOrMissingEndMakesTheLineInvalid) {
    CGLine* ab = AddLine(m_a->m_id, m_b->m_id);
    float labelBefore = ab->m_labelPos[0];
    m_b->m_valid = false;
    MovePoint(m_a, -4.0f, 0.0f, 0.0f);
    EXPECT_FALSE(ab->m_valid);
    EXPECT_EQ(ab->m_labelPos[0], labelBefore); // keeps its label data
    m_b->m_valid = true;
    MovePoint(m_a, -4.0f, 0.0f, 0.0f);
    EXPECT_TRUE(ab->m_valid);
    EXPECT_FLOAT_EQ(ab->m_labelPos[0], -1.0f + 0.5f);

    // An end that is no longer in the page, or is not a point, counts as invalid.
    CGLine orphan(50, m_a->m_id, 49, CGLine::kSegment);
    EXPECT_FALSE(orphan.m_valid);
    CGLine onLine(51, m_a->m_id, ab->m_id, CGLine::kSegment);
    EXPECT_FALSE(onLine.m_valid);
    EXPECT_EQ(onLine.GetLength(), 0.0f);
    // Unlink the two from A again: they never entered the page.
    m_a->m_children.RemoveTail();
    m_a->m_children.RemoveTail();
    ab->m_children.RemoveAll();
}

TEST_F(LineTest, LengthAndPointAtParameter) {
    m_b->SetPosition(3.0f, 4.0f, 0.0f);
    CGLine* ab = AddLine(m_a->m_id, m_b->m_id);
    EXPECT_EQ(ab->GetLength(), 5.0f);
    double p[3];
    ab->PointAt(0.25, p);
    EXPECT_DOUBLE_EQ(p[0], 0.75);
    EXPECT_DOUBLE_EQ(p[1], 1.0);
    ab->PointAt(-1.0, p); // not limited to the segment
    EXPECT_DOUBLE_EQ(p[0], -3.0);
}

TEST_F(LineTest, ParameterOfIsLimitedByTheKind) {
    const float beyond[3] = {3.0f, 1.0f, 0.0f};
    const float before[3] = {-1.0f, -1.0f, 0.0f};
    const float atEnd[3] = {2.0f, 0.0f, 0.0f};
    const float atStart[3] = {0.0f, 0.0f, 0.0f};
    const float beyondExpected[] = {1.0f, 1.5f, 1.5f, 1.0f};
    const float beforeExpected[] = {0.0f, 0.0f, -0.5f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        CGLine* line = AddLine(m_a->m_id, m_b->m_id, kKinds[i]);
        EXPECT_EQ(line->ParameterOf(beyond), beyondExpected[i]) << int(kKinds[i]);
        EXPECT_EQ(line->ParameterOf(before), beforeExpected[i]) << int(kKinds[i]);
        EXPECT_EQ(line->ParameterOf(atEnd), 1.0f);
        EXPECT_EQ(line->ParameterOf(atStart), 0.0f);
    }
    CGLine* line = AddLine(m_a->m_id, m_b->m_id, CGLine::kLine);
    line->m_valid = false;
    EXPECT_EQ(line->ParameterOf(beyond), 0.0f);
    m_b->SetPosition(0.0005f, 0.0f, 0.0f); // |d|² below 0.000001
    line->Recompute();
    EXPECT_EQ(line->ParameterOf(beyond), 0.0f);
}

TEST_F(LineTest, NearestPointToTheMouseRayAtAndBeyondTheEnds) {
    struct Case {
        double x;           // where the ray passes, 0.5 off the line
        float expectedX[4]; // per kind
    };
    const Case cases[] = {
        {1.5, {1.5f, 1.5f, 1.5f, 1.5f}},
        {2.0, {2.0f, 2.0f, 2.0f, 2.0f}},
        {3.0, {2.0f, 3.0f, 3.0f, 2.0f}},
        {-1.0, {0.0f, 0.0f, -1.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        RayThrough(c.x, 0.5);
        for (int i = 0; i < 4; ++i) {
            CGLine* line = AddLine(m_a->m_id, m_b->m_id, kKinds[i]);
            float p[3];
            double t = -99.0, distance = -99.0;
            ASSERT_TRUE(line->NearestPoint(p, t, distance, 0));
            EXPECT_FLOAT_EQ(p[0], c.expectedX[i]) << c.x << " kind " << i;
            EXPECT_EQ(p[1], 0.0f);
            EXPECT_NEAR(t, c.expectedX[i] / 2.0, 1e-6);
            const double dx = c.expectedX[i] - c.x;
            EXPECT_NEAR(distance, std::sqrt(dx * dx + 0.25), 1e-6);
            // Clamped to the segment p1p2 whatever the kind.
            ASSERT_TRUE(line->NearestPoint(p, t, distance, 1));
            EXPECT_FLOAT_EQ(p[0], float(std::clamp(c.x, 0.0, 2.0)));
        }
    }
    // A mouse ray parallel to the line has no nearest point.
    SetPickRay(-10, 0.5, 1, 10, 0.5, 1);
    float p[3];
    double t, distance;
    EXPECT_FALSE(AddLine(m_a->m_id, m_b->m_id)->NearestPoint(p, t, distance, 0));
}

TEST_F(LineTest, LabelSlidesAlongTheExtentOfTheKind) {
    CGLine* segment = AddLine(m_a->m_id, m_b->m_id, CGLine::kSegment);
    CGLine* ray = AddLine(m_a->m_id, m_b->m_id, CGLine::kRay);
    CGLine* line = AddLine(m_a->m_id, m_b->m_id, CGLine::kLine);
    RayThrough(1.5, 0.8);
    segment->MoveLabel();
    EXPECT_FLOAT_EQ(segment->m_labelT, 0.75f);
    EXPECT_NEAR(segment->m_labelOffset[0], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(segment->m_labelOffset[1], 0.8f);
    EXPECT_NEAR(segment->m_labelOffset[2], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(segment->m_labelPos[0], 1.5f);
    EXPECT_FLOAT_EQ(segment->m_labelPos[1], 0.8f);

    // Beyond p2: the segment's label stays, the ray's and the line's follow.
    RayThrough(3.0, 0.8);
    segment->MoveLabel();
    ray->MoveLabel();
    EXPECT_FLOAT_EQ(segment->m_labelT, 0.75f);
    EXPECT_FLOAT_EQ(ray->m_labelT, 1.5f);
    // Before p1: only the line's label follows.
    RayThrough(-1.0, 0.8);
    ray->MoveLabel();
    line->MoveLabel();
    EXPECT_FLOAT_EQ(ray->m_labelT, 1.5f);
    EXPECT_FLOAT_EQ(line->m_labelT, -0.5f);

    // Far from the line the label stops 40 unit lengths away.
    RayThrough(1.0, 5.0);
    segment->MoveLabel();
    EXPECT_FLOAT_EQ(segment->m_labelOffset[1], 2.0f);
    EXPECT_FLOAT_EQ(segment->m_labelPos[1], 2.0f);

    // Recomputation keeps the label at its parameter.
    MovePoint(m_b, 4.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(segment->m_labelPos[0], 2.0f);
}
