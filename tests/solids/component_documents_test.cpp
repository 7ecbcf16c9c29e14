// Documents with a component of every kind (the kept fuzz seeds): the whole one loads with every field
// back and stores to the same bytes, its damaged variants refuse the load and leave the open document,
// and the document textures the components use are counted when it is stored.
#include "seed_document_fixture.h"
#include "solids/subassembly.h"

namespace {

using ComponentDocumentTest = SeedDocumentTest;

} // namespace

TEST_F(ComponentDocumentTest, EveryKindLoadsWithItsFieldsAndStoresTheSameBytes) {
    const std::vector<BYTE> bytes = Seed("components");
    ASSERT_TRUE(LoadBytes(bytes));
    const std::vector<CGSubassembly*> cells = CellsOf<CGSubassembly>(0);
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
    ASSERT_TRUE(LoadBytes(m_doc->StoreToBytes()));
    EXPECT_EQ(m_doc->StoreToBytes(), bytes);
    EXPECT_EQ(g_textureUseCount[2], 1);
}

TEST_F(ComponentDocumentTest, DamagedComponentRecordsRefuseTheLoad) {
    ASSERT_TRUE(Load("components"));
    const std::vector<BYTE> before = m_doc->StoreToBytes();
    for (const char* seed : {"components-kind", "components-clip-mode", "components-negative-clip",
                             "components-nan-centre", "components-nan-plane", "components-cut"}) {
        EXPECT_FALSE(Load(seed)) << seed;
        EXPECT_EQ(m_doc->StoreToBytes(), before) << seed << ": the open document stays";
    }
}
