// The shared vertex array: growth steps, the page's numbering of its points in map order, and the
// failures that must leave the old block in place.
#include "platform/afx.h"
#include "support/page_fixture.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"

#include <climits>

namespace {

class VertexArrayTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        // The program's start: room for 200 + 10 points.
        delete[] g_vertexArray;
        g_vertexArray = nullptr;
        g_vertexArrayCapacity = 200;
        ASSERT_TRUE(HxReplaceVertexArray(200));
    }
    // Adds a point the way a command does, growing the array first when it would not hold it.
    CGVertex* AddPointAsACommand(float x, float y, float z) {
        if (m_page->m_nextVertex + 1 > g_vertexArrayCapacity) {
            EXPECT_TRUE(EnsureVertexArray(100));
        }
        return AddPoint(x, y, z);
    }
};

} // namespace

TEST(VertexArrayGrowth, IncrementsOfTheRequests) {
    EXPECT_EQ(VertexArrayIncrement(10), 100);
    EXPECT_EQ(VertexArrayIncrement(49), 100);
    EXPECT_EQ(VertexArrayIncrement(50), 100);
    EXPECT_EQ(VertexArrayIncrement(99), 149);
    EXPECT_EQ(VertexArrayIncrement(100), 100);
    EXPECT_EQ(VertexArrayIncrement(101), 151);
    EXPECT_EQ(VertexArrayIncrement(150), 200);
    EXPECT_EQ(VertexArrayIncrement(-5), 100);
    EXPECT_EQ(VertexArrayIncrement(INT_MAX), (long long)INT_MAX + 50);
}

TEST_F(VertexArrayTest, FirstGrowthGivesThreeHundredPointsAndTenSpare) {
    g_pCurPage = nullptr;
    float* before = g_vertexArray;
    ASSERT_TRUE(EnsureVertexArray(100));
    EXPECT_EQ(g_vertexArrayCapacity, 300);
    EXPECT_NE(g_vertexArray, before);
    EXPECT_NE(HxVertexSlot(309), nullptr);
    EXPECT_EQ(HxVertexSlot(310), nullptr);
    // With no current page the new block stays empty.
    EXPECT_EQ(HxVertexSlot(1)[0], 0.0f);
    ASSERT_TRUE(EnsureVertexArray(99));
    EXPECT_EQ(g_vertexArrayCapacity, 449);
    ASSERT_TRUE(EnsureVertexArray(150));
    EXPECT_EQ(g_vertexArrayCapacity, 649);
    g_pCurPage = m_page.get();
}

TEST_F(VertexArrayTest, GrowthRenumbersThePointsInMapOrder) {
    // Ids 1..20 walk 15..1, then 20..16 in the map.
    for (int i = 1; i <= 20; ++i)
        AddPoint(float(i), float(10 * i), 0.5f);
    CGLine* line = AddLine(3, 18);
    ASSERT_TRUE(EnsureVertexArray(10));
    EXPECT_EQ(g_vertexArrayCapacity, 300);
    EXPECT_EQ(m_page->m_nextVertex, 21);
    auto* p15 = static_cast<CGVertex*>(m_page->FindCell(15));
    auto* p1 = static_cast<CGVertex*>(m_page->FindCell(1));
    auto* p20 = static_cast<CGVertex*>(m_page->FindCell(20));
    auto* p16 = static_cast<CGVertex*>(m_page->FindCell(16));
    EXPECT_EQ(p15->m_vertexIndex, 1u);
    EXPECT_EQ(p1->m_vertexIndex, 15u);
    EXPECT_EQ(p20->m_vertexIndex, 16u);
    EXPECT_EQ(p16->m_vertexIndex, 20u);
    // Every point's coordinates are in its new entry.
    for (int id = 1; id <= 20; ++id) {
        auto* p = static_cast<CGVertex*>(m_page->FindCell(WORD(id)));
        const float* slot = HxVertexSlot(p->m_vertexIndex);
        EXPECT_EQ(slot[0], float(id));
        EXPECT_EQ(slot[1], float(10 * id));
        EXPECT_EQ(slot[2], 0.5f);
    }
    // The line re-read its points' indices.
    EXPECT_EQ(line->m_vertexIndex[0], static_cast<CGVertex*>(m_page->FindCell(3))->m_vertexIndex);
    EXPECT_EQ(line->m_vertexIndex[1], static_cast<CGVertex*>(m_page->FindCell(18))->m_vertexIndex);
}

TEST_F(VertexArrayTest, CommandsGrowTheArrayAsPointsArrive) {
    for (int i = 0; i < 450; ++i)
        AddPointAsACommand(float(i), 0.0f, 0.0f);
    EXPECT_EQ(g_vertexArrayCapacity, 500);
    EXPECT_EQ(m_page->m_nextVertex, 451);
    // Numbered 1..450 without gaps and every entry holds its point.
    std::vector<bool> used(451, false);
    for (WORD id : m_page->m_cells.Keys()) {
        CGCell* cell = m_page->m_cells.Find(id);
        auto* p = static_cast<CGVertex*>(cell);
        ASSERT_GE(p->m_vertexIndex, 1u);
        ASSERT_LE(p->m_vertexIndex, 450u);
        EXPECT_FALSE(used[p->m_vertexIndex]);
        used[p->m_vertexIndex] = true;
        EXPECT_EQ(HxVertexSlot(p->m_vertexIndex)[0], p->m_x);
    }
}

TEST_F(VertexArrayTest, AFailedAllocationKeepsTheOldBlock) {
    CGVertex* a = AddPoint(1.0f, 2.0f, 3.0f);
    float* before = g_vertexArray;
    std::vector<CString> messages;
    HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        messages.push_back(text);
        return IDOK;
    });
    // A byte count past 32 bits fails rather than wrapping round.
    EXPECT_FALSE(EnsureVertexArray(INT_MAX));
    EXPECT_FALSE(EnsureVertexArray(400'000'000));
    EXPECT_EQ(g_vertexArray, before);
    EXPECT_EQ(g_vertexArrayCapacity, 200);
    HxSetMessageBoxHandler(nullptr);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"内存不足,请立即保存数据关闭程序!");
    // The old block is still whole and in use.
    EXPECT_EQ(HxVertexSlot(a->m_vertexIndex)[1], 2.0f);
    a->SetPosition(4.0f, 5.0f, 6.0f);
    EXPECT_EQ(HxVertexSlot(a->m_vertexIndex)[0], 4.0f);
    EXPECT_FALSE(HxReplaceVertexArray(-1));
    EXPECT_EQ(g_vertexArray, before);
}

TEST_F(VertexArrayTest, RebuildOfAPageWithoutPoints) {
    m_page->m_nextVertex = 7;
    m_page->RebuildVertexArray();
    EXPECT_EQ(m_page->m_nextVertex, 1);
    EXPECT_EQ(g_vertexArrayCapacity, 200);
}

TEST_F(VertexArrayTest, RebuildGrowsOnlyNearTheCapacity) {
    for (int i = 0; i < 190; ++i)
        AddPoint(float(i), 0.0f, 0.0f);
    float* before = g_vertexArray;
    m_page->RebuildVertexArray();
    EXPECT_EQ(g_vertexArray, before) << "191 + 5 does not exceed 200";
    for (int i = 0; i < 5; ++i)
        AddPoint(float(i), 1.0f, 0.0f);
    m_page->RebuildVertexArray();
    EXPECT_EQ(g_vertexArrayCapacity, 246) << "next index 196 + 50";
    EXPECT_EQ(m_page->m_nextVertex, 196);
}

TEST_F(VertexArrayTest, RebuildHoldsEveryPointWhateverTheStoredNextIndex) {
    // A page read from a damaged file: 300 points, but a next index of 1.
    for (int i = 0; i < 300; ++i) {
        WORD id = NextId();
        Insert(new CGVertex(id, 0, CString(u"P"), float(i), float(-i), 0.0f));
    }
    m_page->m_nextVertex = 1;
    m_page->RebuildVertexArray();
    EXPECT_GE(g_vertexArrayCapacity, 300 + 5);
    EXPECT_EQ(m_page->m_nextVertex, 301);
    for (WORD id : m_page->m_cells.Keys()) {
        CGCell* cell = m_page->m_cells.Find(id);
        auto* p = static_cast<CGVertex*>(cell);
        const float* slot = HxVertexSlot(p->m_vertexIndex);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot[1], p->m_y);
    }
}
