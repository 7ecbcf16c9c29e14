// Documents with hulls, nets, sections and cuts (the kept fuzz seeds): the whole one loads with its
// figures rebuilt, damaged hull records refuse the load, cut plane counts come back in range, and the
// net's and the cuts' buttons run as loaded, also with ranges past the figures' ends.
#include "seed_document_fixture.h"

#include "document/fuzz/button_runs.h"
#include "dynamics/buttons.h"
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

TEST_F(HullDocumentTest, TheButtonsOfNetsAndCutsRunAsLoaded) {
    for (const char* seed : {"hulls-buttons", "hulls-buttons-wild"}) {
        SCOPED_TRACE(seed);
        ASSERT_TRUE(Load(seed));
        CGPage& page = *m_doc->GetPage(0);
        ASSERT_EQ(CellsOf<CGButnAnimation>(0).size(), std::string(seed) == "hulls-buttons" ? 3u : 6u);
        const std::vector<CGSplit*> cuts = CellsOf<CGSplit>(0);
        ASSERT_EQ(cuts.size(), 2u);
        HxRunAllButtons(page, 400);
        for (CGSplit* cut : cuts) {
            EXPECT_LE(cut->m_planesUsed, cut->m_planeCount);
            EXPECT_EQ(cut->m_partCount, int32_t(cut->m_parts.size()));
            for (const auto& part : cut->m_parts)
                EXPECT_EQ(int(part->m_points.size()) - int(part->m_edges.size()) + int(part->m_faces.size()),
                          2);
        }
        if (std::string(seed) == "hulls-buttons") {
            // The cut by the face's plane (z = 1) and the cut by the three fixed planes, every plane used.
            EXPECT_EQ(cuts[0]->m_planesUsed, 1);
            EXPECT_EQ(cuts[0]->m_partCount, 2);
            EXPECT_EQ(cuts[1]->m_planesUsed, 3);
            EXPECT_EQ(cuts[1]->m_partCount, 8);
        }
        const CGFold* net = CellsOf<CGFold>(0)[0];
        EXPECT_TRUE(std::isfinite(net->m_param1));
    }
}

} // namespace
