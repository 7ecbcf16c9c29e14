// Documents with hulls, nets, sections and cuts (the kept fuzz seeds): the whole one loads with its
// figures rebuilt, damaged hull records refuse the load, and cut plane counts come back in range.
#include "seed_document_fixture.h"
#include "solids/fold.h"
#include "solids/section.h"
#include "solids/split.h"

namespace {

using HullDocumentTest = SeedDocumentTest;

TEST_F(HullDocumentTest, DamagedHullRecordsRefuseTheLoad) {
    for (const char* seed : {"hulls-negative-count", "hulls-huge-count", "hulls-bad-edge", "hulls-bad-corner",
                             "hulls-short-loop"}) {
        EXPECT_FALSE(Load(seed)) << seed;
        EXPECT_EQ(m_doc->GetPageCount(), 1) << "the open document stays";
    }
    ASSERT_TRUE(Load("hulls"));
    ASSERT_EQ(m_doc->GetPageCount(), 4);
    ASSERT_EQ(CellsOf<CGPolyhedron>(3).size(), 1u);
    EXPECT_EQ(CellsOf<CGPolyhedron>(3)[0]->m_faces.size(), 6u);
    ASSERT_EQ(CellsOf<CGFold>(3).size(), 1u);
    EXPECT_EQ(CellsOf<CGFold>(3)[0]->m_nodes.size(), 6u) << "the net is rebuilt";
    ASSERT_EQ(CellsOf<CGSection>(3).size(), 1u);
    EXPECT_EQ(CellsOf<CGSection>(3)[0]->m_polygon.size(), 4u);
}

TEST_F(HullDocumentTest, CutPlaneCountsAreKeptInRange) {
    ASSERT_TRUE(Load("hulls-plane-counts"));
    std::vector<int32_t> counts;
    for (CGSplit* cut : CellsOf<CGSplit>(3))
        counts.push_back(cut->m_planeCount);
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<int32_t>{1, 10}));
}

} // namespace
