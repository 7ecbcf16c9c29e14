// The axis scale without drawing: its bounds from the parents in order, the automatic spacing on
// zooms, the marks of a spacing on a range (none for a spacing that would never end), its record.
#include "measure/scale_line.h"
#include "model/constrained_points.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class ScaleLineTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_origin = AddPoint(1, 2, 0);
        for (int i = 0; i < 4; ++i) {
            const WORD id = NextId();
            m_ends[i] = Insert(new CGVerFreeParVector(id, NextVertex(), u"E", i < 2 ? 1.0f : 0.0f,
                                                      i < 2 ? 0.0f : 1.0f, 0.0f, m_origin->m_id));
            m_ends[i]->m_param1 = i % 2 == 0 ? -12.0f : 12.0f;
            m_ends[i]->Recompute();
        }
        m_scale = Insert(new CGScaleline(NextId(), m_origin->m_id, m_ends[0]->m_id, m_ends[1]->m_id,
                                         m_ends[2]->m_id, m_ends[3]->m_id, 7, 8, 9, 1.0f, 3.0f));
    }
    CGVertex* m_origin = nullptr;
    CGVerFreeParVector* m_ends[4] = {};
    CGScaleline* m_scale = nullptr;
};

TEST_F(ScaleLineTest, ConstructionTakesTheBoundsFromTheParents) {
    EXPECT_TRUE(m_scale->m_valid);
    EXPECT_EQ(m_scale->m_name, u"二维轴部件");
    EXPECT_EQ(m_scale->GetDescription(), u"2维坐标轴上刻度线及刻度值");
    EXPECT_EQ(m_scale->m_labelHidden, 0);
    EXPECT_EQ(m_scale->m_autoSpacing, 1);
    EXPECT_EQ(m_scale->m_tickSpacing, 1.0f);
    EXPECT_EQ(m_scale->m_valueSpacing, 3.0f);
    EXPECT_EQ(m_scale->m_color, g_colorObject);
    EXPECT_EQ(m_scale->m_origin[0], 1.0f);
    EXPECT_EQ(m_scale->m_origin[1], 2.0f);
    EXPECT_EQ(m_scale->m_xMin, -12.0f);
    EXPECT_EQ(m_scale->m_xMax, 12.0f);
    EXPECT_EQ(m_scale->m_yMin, -12.0f);
    EXPECT_EQ(m_scale->m_yMax, 12.0f);
    ASSERT_EQ(m_scale->m_parents.GetSize(), 5);
    EXPECT_EQ(m_scale->m_parents[0], m_origin->m_id);
    EXPECT_EQ(m_scale->m_parents[4], m_ends[3]->m_id);
    EXPECT_EQ(m_ends[3]->m_children.GetTail(), m_scale->m_id);
    // Dragging an end changes the range.
    m_ends[1]->m_param1 = 5.0f;
    m_ends[1]->Recompute();
    m_scale->Recompute();
    EXPECT_EQ(m_scale->m_xMax, 5.0f);
}

// Each bound must lie on its side of 0 and be valid; the first that fails makes the scale invalid.
TEST_F(ScaleLineTest, BoundsOnTheWrongSideMakeItInvalid) {
    const struct {
        int end;
        float value;
        bool valid;
    } rows[] = {{1, -0.5f, false},
                {1, 0.0f, true},
                {0, 0.5f, false},
                {0, 0.0f, true},
                {2, 3.0f, false},
                {3, -3.0f, false},
                {3, std::numeric_limits<float>::quiet_NaN(), false}};
    for (const auto& r : rows) {
        const float kept = m_ends[r.end]->m_param1;
        m_ends[r.end]->m_param1 = r.value;
        m_scale->Recompute();
        EXPECT_EQ(m_scale->m_valid, r.valid) << r.end << " at " << r.value;
        m_ends[r.end]->m_param1 = kept;
        m_scale->Recompute();
        EXPECT_TRUE(m_scale->m_valid);
    }
    m_origin->m_valid = false;
    m_scale->Recompute();
    EXPECT_FALSE(m_scale->m_valid);
    m_origin->m_valid = true;
    m_ends[2]->m_valid = false;
    m_scale->Recompute();
    EXPECT_FALSE(m_scale->m_valid);
}

TEST(ScaleLineSpacing, AutomaticSpacingFollowsTheZoom) {
    const struct {
        float unit, zoom, spacing;
    } rows[] = {
        {0.05f, 1.0f, 2.0f},    // s = 2.5 < 3: the first success
        {0.05f, 20.0f, 0.1f},   // s = 0.125
        {0.003f, 1.0f, 0.2f},   // s = 0.15 exactly is not below 1.5 x 0.1
        {0.05f, 0.5f, 5.0f},    // s = 5
        {0.05f, 0.01f, 200.0f}, // s = 250
        {30.0f, 1.0f, 2000.0f}, // s = 1500: none of the list
        {0.05f, 2.0f, 1.0f},    // s = 1.25
    };
    for (const auto& r : rows)
        EXPECT_EQ(CGScaleline::AutoSpacing(r.unit, r.zoom), r.spacing) << r.unit << " " << r.zoom;
}

TEST(ScaleLineSpacing, MultiplesWithinTheRange) {
    EXPECT_EQ(CGScaleline::Multiples(2.0, -5.0, 7.0), (std::vector<int>{1, 2, 3, -1, -2}));
    EXPECT_EQ(CGScaleline::Multiples(1.0, -2.0, 2.0), (std::vector<int>{1, -1})) << "the bounds are left out";
    EXPECT_EQ(CGScaleline::Multiples(1.0, 0.0, -0.5), std::vector<int>{}) << "an empty range";
    EXPECT_EQ(CGScaleline::Multiples(1.5707964, -4.0, 4.0), (std::vector<int>{1, 2, -1, -2}));
    // Spacings that would never end, or that are no number: nothing.
    EXPECT_TRUE(CGScaleline::Multiples(0.0, -5.0, 5.0).empty());
    EXPECT_TRUE(CGScaleline::Multiples(-1.0, -5.0, 5.0).empty());
    EXPECT_TRUE(CGScaleline::Multiples(std::nan(""), -5.0, 5.0).empty());
    EXPECT_TRUE(CGScaleline::Multiples(1e-9, -5.0, 5.0).empty()) << "too small for the range";
    EXPECT_TRUE(CGScaleline::Multiples(1.0, -1e30, 5.0).empty());
    EXPECT_EQ(CGScaleline::Multiples(0.001, -5.0, 5.0).size(), 9998u) << "just within the cap";
}

TEST_F(ScaleLineTest, RecordIsTheCommonRecordThenTheSpacings) {
    m_scale->m_autoSpacing = 0;
    m_scale->m_style = 1;
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { m_scale->Serialize(ar); });
    CommonRecord common{
        .id = m_scale->m_id, .name = u"二维轴部件", .labelHidden = 0, .style = 1, .parents = {1, 2, 3, 4, 5}};
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.I32(0).F32(1.0f).F32(3.0f);
    EXPECT_EQ(bytes, expected.Bytes());

    CGScaleline back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_autoSpacing, 0);
    EXPECT_EQ(back.m_valueSpacing, 3.0f);
    EXPECT_EQ(back.m_xMax, 0.0f) << "the bounds come from the parents";
    back.Recompute();
    EXPECT_EQ(back.m_xMax, 12.0f);
    std::vector<BYTE> shorter(bytes.begin(), bytes.end() - 4);
    CGScaleline cut;
    EXPECT_THROW(LoadBytes(shorter, [&](CArchive& ar) { cut.Serialize(ar); }), CArchiveException);
}

} // namespace
