// Documents with a component of every kind (the kept fuzz seeds): the whole one loads with every field
// back and stores to the same bytes, its damaged variants refuse the load and leave the open document,
// and the document textures the components use are counted when it is stored.
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "solids/subassembly.h"
#include "support/model_fixture.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

class ComponentDocumentTest : public ModelTest {
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
    static std::vector<BYTE> Seed(const char* name) {
        QFile file(
            QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                .filePath(QStringLiteral("tests/document/fuzz/corpus/seed-%1-hvx").arg(QLatin1String(name))));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray data = file.readAll();
        return std::vector<BYTE>(data.begin(), data.end());
    }
    BOOL Load(const std::vector<BYTE>& bytes) {
        CMemFile memory(bytes);
        return m_doc->ReadDocument(memory, u"components.hvx", FALSE);
    }
    std::vector<CGSubassembly*> Components() {
        std::vector<CGSubassembly*> out;
        ForEachCell(m_doc->GetPage(0)->m_cells, [&](CGCell* c) {
            if (auto* t = DYNAMIC_DOWNCAST(CGSubassembly, c))
                out.push_back(t);
        });
        std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->m_id < b->m_id; });
        return out;
    }
    std::unique_ptr<CHalvixDoc> m_doc;
};

} // namespace

TEST_F(ComponentDocumentTest, EveryKindLoadsWithItsFieldsAndStoresTheSameBytes) {
    const std::vector<BYTE> bytes = Seed("components");
    ASSERT_TRUE(Load(bytes));
    const std::vector<CGSubassembly*> cells = Components();
    ASSERT_EQ(cells.size(), size_t(kSubassemblyKindCount));
    for (int kind = 0; kind < kSubassemblyKindCount; ++kind) {
        const CGSubassembly* c = cells[size_t(kind)];
        EXPECT_EQ(c->m_kind, kind);
        EXPECT_EQ(c->m_clipMode, kind % 4);
        EXPECT_EQ(c->m_ownMaterial, kind % 2);
        EXPECT_EQ(c->m_center[0], float(kind * 4 - 28));
        EXPECT_EQ(c->m_spin, float(kind * 10));
        EXPECT_EQ(c->m_param4, 0);
        EXPECT_TRUE(c->m_flag2) << "the glyphs are built again";
    }
    EXPECT_EQ(cells[0]->m_name, CString(u"Halvix立体"));
    EXPECT_EQ(cells[0]->m_text1, CString(u"楷体"));
    EXPECT_EQ(cells[1]->m_text1, CString(u"宋体"));
    EXPECT_EQ(cells[2]->m_texture, 2);
    EXPECT_EQ(cells[10]->m_texture, 12);
    EXPECT_EQ(cells[4]->m_plane1[3], -0.25);
    EXPECT_EQ(cells[4]->m_plane2[0], 1.0);
    // Stored and read back (the map walks its buckets the other way round after one reading), then
    // stored again: the same bytes; texture 2 is a document texture and counted, 12 is not.
    ASSERT_TRUE(Load(m_doc->StoreToBytes()));
    EXPECT_EQ(m_doc->StoreToBytes(), bytes);
    EXPECT_EQ(g_textureUseCount[2], 1);
}

TEST_F(ComponentDocumentTest, DamagedComponentRecordsRefuseTheLoad) {
    ASSERT_TRUE(Load(Seed("components")));
    const std::vector<BYTE> before = m_doc->StoreToBytes();
    for (const char* seed : {"components-kind", "components-clip-mode", "components-negative-clip",
                             "components-nan-centre", "components-nan-plane", "components-cut"}) {
        EXPECT_FALSE(Load(Seed(seed))) << seed;
        EXPECT_EQ(m_doc->StoreToBytes(), before) << seed << ": the open document stays";
    }
}
