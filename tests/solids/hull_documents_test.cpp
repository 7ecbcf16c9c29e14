// Documents with hulls, nets, sections and cuts (the kept fuzz seeds): the whole one loads with its
// figures rebuilt, damaged hull records refuse the load, and cut plane counts come back in range.
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "solids/fold.h"
#include "solids/section.h"
#include "solids/split.h"
#include "support/model_fixture.h"

#include <QDir>
#include <QFile>

namespace {

class HullDocumentTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
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
        ModelTest::TearDown();
    }
    BOOL Load(const char* seed) {
        QFile file(
            QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                .filePath(QStringLiteral("tests/document/fuzz/corpus/seed-%1-hvx").arg(QLatin1String(seed))));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << seed;
        const QByteArray data = file.readAll();
        CMemFile memory(std::vector<BYTE>(data.begin(), data.end()));
        return m_doc->ReadDocument(memory, u"hulls.hvx", FALSE);
    }
    template <class T> std::vector<T*> CellsOf(int page) {
        std::vector<T*> out;
        ForEachCell(m_doc->GetPage(page)->m_cells, [&](CGCell* c) {
            if (auto* t = DYNAMIC_DOWNCAST(T, c))
                out.push_back(t);
        });
        return out;
    }
    std::unique_ptr<CHalvixDoc> m_doc;
};

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
