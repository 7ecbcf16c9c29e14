// The document file: the bytes of a new document from the record's tables, round trips of documents
// of several pages with every cell class and a tool, ".gf" copies, the document textures, and files
// that are refused without harm: later versions, every truncation, bad counts, classes and ids.
#include "document_test_support.h"
#include "document/neighbour_services.h"

#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "support/page_snapshot.h"
#include "view/texture_loading.h"
#include "view/view_camera.h"
#include "view/view_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <functional>

namespace {

// The state of a document that a refused load must leave alone.
struct DocumentState {
    std::vector<CGPage*> pages;
    std::vector<BYTE> bytes;
    CGPage* current;
    BOOL modified;

    bool operator==(const DocumentState&) const = default;
};

class DocumentFileTest : public DocumentTest {
protected:
    DocumentState State() {
        DocumentState s;
        for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;)
            s.pages.push_back(m_doc->m_pages.GetNext(pos));
        s.current = g_pCurPage;
        s.modified = m_doc->IsModified();
        s.bytes = Store();
        return s;
    }
    // A file that must be refused: the load fails with one message and the document stays as it was.
    void ExpectRefused(const std::vector<BYTE>& bytes, const std::string& what, bool gf = false) {
        DocumentState before = State();
        m_messages.clear();
        EXPECT_FALSE(Load(bytes, gf)) << what;
        EXPECT_EQ(m_messages.size(), 1u) << what;
        EXPECT_FALSE(g_saveGfFormat) << what;
        EXPECT_EQ(g_storeMtfImages, 0) << what;
        EXPECT_TRUE(State() == before) << what;
    }
};

// The page record after its cells: the record of the page with its cells set aside.
std::vector<BYTE> PageHeaderBytes(CGPage* page) {
    std::vector<WORD> walk = page->m_cells.Keys();
    std::vector<CGCell*> cells;
    for (WORD id : walk)
        cells.push_back(page->m_cells.Find(id));
    page->m_cells.RemoveAll();
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { page->Serialize(ar); });
    // Put back last first, so that the map walks as before.
    for (size_t i = walk.size(); i-- > 0;)
        page->m_cells.SetAt(walk[i], cells[i]);
    return bytes;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// A new document and its bytes

TEST_F(DocumentFileTest, NewDocumentHasOnePageAndTheDefaultView) {
    ASSERT_EQ(m_doc->GetPageCount(), 1);
    CGPage* page = m_doc->GetPage(0);
    EXPECT_EQ(page, g_pCurPage);
    EXPECT_EQ(g_cellMap, &page->m_cells);
    EXPECT_EQ(g_projectionType, 1);
    EXPECT_EQ(g_unitLength, 0.05f);
    const double rotation[4] = {0.78657, -0.60355, -0.07946, -0.10355};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(g_viewRotation[i], rotation[i], 1e-5) << i;
    EXPECT_FLOAT_EQ(page->m_viewRot[3], float(g_viewRotation[0])) << "the page took the new view";
    // The orthographic projection of the drawing area: 800 x 600 pixels of 0.05.
    EXPECT_NEAR(g_projectionMatrix[0], 1.0 / 20.0, 1e-8);
    EXPECT_NEAR(g_projectionMatrix[5], 1.0 / 15.0, 1e-8);
    EXPECT_DOUBLE_EQ(g_projectionMatrix[10], -2.0 / 264.0);
    EXPECT_EQ(g_viewport[2], 800);
}

TEST_F(DocumentFileTest, NewDocumentBytesFollowTheRecord) {
    std::vector<BYTE> bytes = Store();
    const std::vector<BYTE> start = {0x00, 0x00, 0x5D, 0x02, 0x00, 0x00, 0xFF,
                                     0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x16};
    ASSERT_GT(bytes.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), bytes.begin()));

    ByteBuilder b;
    b.U16(0).I32(605).Str(u"").Str(u"（文档说明：）\r\n\r\n\r\n\r\n（版权信息：）");
    b.I32(1920).I32(1080).I32(0).I32(0).F32(0).Str(u"");
    b.Str(u"Times New Roman").Str(u"Times New Roman").I32(24).I32(24).F32(2).F32(6);
    // The light, interleaved by component: ambient, diffuse, specular, position.
    b.F32(0.2f).F32(0.8f).F32(1).F32(200);
    b.F32(0.2f).F32(0.8f).F32(1).F32(100);
    b.F32(0.2f).F32(0.8f).F32(1).F32(300);
    b.F32(1).F32(1).F32(1).F32(1);
    b.U16(1).NewClass("CGPage");
    b.U16(0).U16(1).Str(u"第一页").U16(1).U16(1).U8('A').U8(' ').U8(1);
    b.I32(0).U8(1).U8(0).U8(0).I32(0).I32(0);
    b.F32(float(g_viewRotation[1])).F32(float(g_viewRotation[2])).F32(float(g_viewRotation[3]));
    b.F32(0).F32(0).F32(-50).F32(1).I32(1).U8(0).U8(0);
    b.F32(1).F32(1).F32(1).F32(1).I32(1).I32(0).F32(float(g_viewRotation[0])).Str(u"");
    b.I32(1).I32(20).I32(0).I32(0).I32(0).Str(u"");
    b.U16(1).U8(1).U8(1).U8(1);
    EXPECT_EQ(bytes, b.Bytes());
}

// ---------------------------------------------------------------------------------------------
// Round trips

TEST_F(DocumentFileTest, DocumentOfSeveralPagesRoundTrips) {
    BuildSampleDocument();
    ASSERT_TRUE(LoadSaveSettings(true)) << "the settings file holds the defaults";
    g_labelFontName = u"宋体";
    g_fontHeight = 30;
    g_lineWidth = 3.0f;
    g_lightPosition[2] = -40.0f;
    g_viewTransY = 7.0f;
    std::vector<BYTE> bytes = Store();
    std::vector<PageSnapshot> pages;
    std::vector<std::vector<BYTE>> headers;
    for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_doc->m_pages.GetNext(pos);
        pages.push_back(TakeSnapshot(*page));
        headers.push_back(PageHeaderBytes(page));
    }

    m_doc->OnNewDocument();
    g_viewTransY = 0.0f;
    EXPECT_EQ(g_labelFontName, u"Times New Roman") << "a new document reads the settings again";
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(m_doc->m_author == u"张老师" && m_doc->m_description == u"正方体的截面");
    EXPECT_TRUE(m_doc->m_storeMtfImages == 1 && m_doc->m_reservedInt == -7 && m_doc->m_reservedFloat == 2.5f);
    EXPECT_EQ(m_doc->m_reservedText, u"备用");
    EXPECT_EQ(m_doc->m_pageCounter, 7);
    EXPECT_TRUE(g_labelFontName == u"宋体" && g_fontHeight == 30 && g_lineWidth == 3.0f);
    EXPECT_EQ(g_lightPosition[2], -40.0f);
    EXPECT_EQ(g_storeMtfImages, 0);
    ASSERT_EQ(m_doc->GetPageCount(), 3);
    int i = 0;
    for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos; ++i) {
        CGPage* page = m_doc->m_pages.GetNext(pos);
        EXPECT_EQ(TakeSnapshot(*page), pages[size_t(i)]) << "page " << i;
        EXPECT_EQ(PageHeaderBytes(page), headers[size_t(i)]) << "page " << i;
    }
    ASSERT_EQ(m_doc->m_tools.GetCount(), 1);
    EXPECT_EQ(m_doc->m_tools.GetHead()->m_name, u"中点");
    // A map read back walks each bucket in the other order (the last key read comes first), so a
    // second round trip gives the first file again.
    std::vector<BYTE> again = Store();
    ASSERT_TRUE(Load(again));
    EXPECT_EQ(Store(), bytes);

    // The first page is current with its own view, and every page was recomputed.
    CGPage* first = m_doc->GetPage(0);
    EXPECT_EQ(g_pCurPage, first);
    EXPECT_EQ(g_viewTransY, 7.0f);
    EXPECT_EQ(first->m_nextVertex, 4);
    auto* line = DYNAMIC_DOWNCAST(CGLine, first->FindCell(4));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_extB1, 1);
    EXPECT_EQ(line->m_text4, u"只在新格式里");
    EXPECT_EQ(line->m_vertexIndex[0], DYNAMIC_DOWNCAST(CGVertex, first->FindCell(1))->m_vertexIndex);
    EXPECT_TRUE(first->FindCell(7)->IsKindOf(RUNTIME_CLASS(CTexturedCell)));
}

TEST_F(DocumentFileTest, EveryCellClassRoundTripsInBothLayouts) {
    CGPage* page = m_doc->AppendPage(u"各类对象");
    const int count = AddEveryCellClass(page);
    EXPECT_GE(count, 25);
    PageSnapshot before = TakeSnapshot(*page);
    std::vector<BYTE> bytes = Store();
    m_doc->OnNewDocument();
    ASSERT_TRUE(Load(bytes));
    CGPage* loaded = m_doc->GetPage(1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(TakeSnapshot(*loaded), before) << SnapshotDifference(TakeSnapshot(*loaded), before);
    EXPECT_GE(g_textureUseCount[1], 1) << "the face counted its texture while it was stored";

    // The older layout keeps every class and everything but the newer fields.
    std::vector<BYTE> gf;
    {
        CGfFormatScope layout;
        gf = Store();
    }
    m_doc->OnNewDocument();
    ASSERT_TRUE(Load(gf, true));
    loaded = m_doc->GetPage(1);
    ASSERT_EQ(loaded->m_cells.GetCount(), count);
    for (WORD id : loaded->m_cells.Keys()) {
        auto it = before.cells.find(id);
        ASSERT_NE(it, before.cells.end());
        std::vector<BYTE> record = CellRecordBytes(loaded->FindCell(id));
        // The class tag and the start of the common record are those of the stored cell.
        EXPECT_TRUE(std::equal(record.begin(), record.begin() + 20, it->second.begin())) << id;
    }
    EXPECT_EQ(loaded->FindCell(WORD(count))->m_name, u"备注");
    EXPECT_EQ(loaded->FindCell(WORD(count))->m_extB5, 0.0f) << "not in the older layout";
}

// A text made on a point hid the point's label; read back from the file it remembers nothing of
// that, and an adding step over it leaves the label as the file has it, shown or hidden.
TEST_F(DocumentFileTest, ATextOnAPointReadFromAFileLeavesThePointsLabelThroughUndoAndRedo) {
    for (const int hidden : {0, 1}) {
        ASSERT_TRUE(m_doc->OnNewDocument());
        CGPage* page = g_pCurPage;
        const WORD point = AddPoint(page, 1, 2, 3)->m_id;
        auto* made = AddCell(page, new CGTbHenchman(page->m_nextId, 4, 1, std::vector<BYTE>(4, 0xF0), point));
        ASSERT_EQ(page->FindCell(point)->m_labelHidden, 1) << "the text stands in the label's place";
        page->FindCell(point)->m_labelHidden = hidden; // shown again, or left hidden
        const WORD text = made->m_id;
        ASSERT_TRUE(Load(Store()));

        CGPage* read = g_pCurPage;
        ASSERT_NE(DYNAMIC_DOWNCAST(CGTbHenchman, read->FindCell(text)), nullptr);
        ASSERT_EQ(read->m_nextId, text + 1) << "the text is the newest cell";
        CGCell* followed = read->FindCell(point);
        ASSERT_EQ(followed->m_labelHidden, hidden);
        read->m_cmdProcessor.Submit(new CCmdAddCell(u"插入文本"));
        ASSERT_TRUE(read->m_cmdProcessor.Undo());
        EXPECT_EQ(read->FindCell(text), nullptr);
        EXPECT_EQ(followed->m_labelHidden, hidden) << "undo";
        ASSERT_TRUE(read->m_cmdProcessor.Redo());
        EXPECT_NE(read->FindCell(text), nullptr);
        EXPECT_EQ(followed->m_labelHidden, hidden) << "redo";
    }
}

TEST_F(DocumentFileTest, LoadingSetsTheUnitLengthAndProjectionOfTheFirstPage) {
    BuildSampleDocument();
    // The second page first: a central projection and 40 screen units per drawing unit.
    CGPage* second = m_doc->GetPage(1);
    m_doc->m_pages.RemoveAt(m_doc->m_pages.Find(second));
    m_doc->m_pages.AddHead(second);
    std::vector<BYTE> bytes = Store();
    m_doc->OnNewDocument();
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(g_pCurPage->m_title, u"第二页");
    EXPECT_TRUE(g_unitLength == 1.0f / 40.0f && g_projectionType == 0);
    EXPECT_TRUE(g_viewTransX == 5.0f && g_viewZoom == 2.0f);
    double expected[16];
    ComputeProjectionMatrix(0, expected);
    EXPECT_EQ(std::vector<double>(g_projectionMatrix, g_projectionMatrix + 16),
              std::vector<double>(expected, expected + 16));
}

// A page that keeps more pixels a unit than the page dialog allows (a damaged file; the fuzzer found
// one of about 2^31) opens at the dialog's largest, so that the unit length stays a usable number.
TEST_F(DocumentFileTest, AHugeUnitLengthIsTakenAsTheLargestThePageAllows) {
    BuildSampleDocument();
    for (const int stored : {kMaxUnitsPerLength, kMaxUnitsPerLength + 1, 1 << 30, INT_MAX}) {
        m_doc->GetPage(0)->m_unitsPerLength = stored;
        const std::vector<BYTE> bytes = Store();
        ASSERT_TRUE(Load(bytes)) << stored;
        EXPECT_EQ(g_pCurPage->m_unitsPerLength, kMaxUnitsPerLength) << stored;
        EXPECT_EQ(g_unitLength, 1.0f / float(kMaxUnitsPerLength)) << stored;
    }
    QFile kept(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                   .filePath(QStringLiteral("tests/document/fuzz/corpus/page-unit-length-huge")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray file = kept.readAll();
    ASSERT_TRUE(Load(std::vector<BYTE>(file.begin(), file.end())));
    for (int i = 0; i < m_doc->GetPageCount(); ++i) {
        const int units = m_doc->GetPage(i)->m_unitsPerLength;
        EXPECT_TRUE(units >= 1 && units <= kMaxUnitsPerLength) << i << ": " << units;
    }
    EXPECT_GE(g_unitLength, 1.0f / float(kMaxUnitsPerLength));
}

// ---------------------------------------------------------------------------------------------
// ".gf" copies

TEST_F(DocumentFileTest, GfCopyHoldsVersion330AndShorterRecords) {
    BuildSampleDocument();
    std::vector<BYTE> full = Store();
    std::vector<BYTE> gf;
    {
        CGfFormatScope layout;
        gf = Store();
    }
    EXPECT_FALSE(g_saveGfFormat);
    EXPECT_EQ(m_doc->m_formatVersion, 605) << "the document itself stays at 605";
    ASSERT_GT(gf.size(), 6u);
    // The version follows the tool list: count, CRecord class and record.
    std::vector<BYTE> tools = StoreBytes([&](CArchive& ar) { m_doc->m_tools.Serialize(ar); });
    size_t at = 0;
    {
        CGfFormatScope layout;
        at = StoreBytes([&](CArchive& ar) { m_doc->m_tools.Serialize(ar); }).size();
    }
    EXPECT_EQ(gf[at], 0x4A); // 330
    EXPECT_EQ(gf[at + 1], 0x01);
    // Every cell loses 24 bytes (four ints, a float, an empty string; 12 more for the line's text),
    // every page its extension block of 24 bytes: 7 + 31 cells, one recorded cell, three pages.
    EXPECT_EQ(full.size() - gf.size(), size_t(24 * (7 + 31 + 1) + 12 + 24 * 3));
    EXPECT_EQ(tools.size() - at, 24u);

    // Read back in the older layout: the newer fields keep their defaults; the upgrade marks it
    // modified and brings it to 605.
    m_doc->OnNewDocument();
    ASSERT_TRUE(Load(gf, true));
    EXPECT_EQ(m_doc->m_formatVersion, 330);
    EXPECT_EQ(m_doc->GetPageCount(), 3);
    auto* line = m_doc->GetPage(0)->FindCell(4);
    EXPECT_EQ(line->m_extB1, 0);
    EXPECT_TRUE(line->m_text4.IsEmpty());
    EXPECT_EQ(m_doc->GetPage(1)->m_unitsPerLength, 20);
    EXPECT_EQ(m_doc->GetPage(1)->m_dashedBehindLit, 1);
    m_doc->SetModifiedFlag(FALSE);
    m_doc->OnInitialUpdate();
    EXPECT_EQ(m_doc->m_formatVersion, 605);
    EXPECT_TRUE(m_doc->IsModified());
}

// ---------------------------------------------------------------------------------------------
// Document textures

TEST_F(DocumentFileTest, UsedTexturesKeepTheirPixelsAndUnusedOnesCostOneByte) {
    BuildSampleDocument(); // a cell uses texture 2
    std::vector<BYTE> pixels(24);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = BYTE(i + 1);
    SetUserImage(1, 3, 2, pixels);
    // Texture 1 holds a picture but nothing uses it.
    SetUserImage(0, 1, 1, {9, 9, 9, 0});
    std::vector<BYTE> bytes = Store();
    EXPECT_EQ(g_textureUseCount[2], 1);
    EXPECT_EQ(g_textureUseCount[1], 0);
    std::vector<BYTE> tail = ByteBuilder().U16(7).U8(1).U8(0).I32(3).I32(2).Append(pixels).U8(1);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - std::ptrdiff_t(tail.size())));

    // Loading puts the default image back into texture 1 and the file's pixels into texture 2.
    g_installFolder = CString::FromQString(QCoreApplication::applicationDirPath());
    SetUserImage(1, 1, 1, {0, 0, 0, 0});
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(g_documentImages[0], nullptr) << "back to the default image";
    EXPECT_TRUE(g_textureBuiltIn[0] == 1 && g_textureWidth[0] > 1);
    ASSERT_NE(g_documentImages[1], nullptr);
    EXPECT_TRUE(g_textureBuiltIn[1] == 0 && g_textureWidth[1] == 3 && g_textureHeight[1] == 2);
    EXPECT_EQ(std::vector<BYTE>(g_documentImages[1], g_documentImages[1] + 24), pixels);
    EXPECT_EQ(g_documentImages[2], nullptr);
    EXPECT_EQ(HxTexturePixelBytes(1, 1), 4);
    EXPECT_EQ(HxTexturePixelBytes(2, 5), 40);
}

TEST_F(DocumentFileTest, DefaultTextureWithoutItsImageFilesStillDropsTheUserImage) {
    g_installFolder = u"/nowhere";
    SetUserImage(0, 1, 1, {9, 9, 9, 0});
    std::vector<BYTE> bytes = DocumentBytes::OnePage({}, 1);
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(m_messages.size(), 1u) << "the missing image file is reported";
    EXPECT_EQ(g_documentImages[0], nullptr);
    EXPECT_EQ(g_textureBuiltIn[0], 1);
}

// ---------------------------------------------------------------------------------------------
// Versions

TEST_F(DocumentFileTest, LaterVersionsAreRefusedOlderOnesUpgraded) {
    CommonRecord cell;
    cell.id = 1;
    cell.name = u"旧";
    EXPECT_TRUE(Load(DocumentBytes::OnePage({cell}, 2, 605)));
    EXPECT_EQ(g_pCurPage->FindCell(1)->m_name, u"旧");
    EXPECT_TRUE(m_messages.empty());

    m_doc->SetModifiedFlag(TRUE);
    DocumentState before = State();
    EXPECT_FALSE(Load(DocumentBytes::OnePage({}, 1, 606)));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"这是高版本生成的文档，请您升级到最新版本！");
    EXPECT_TRUE(State() == before);
    EXPECT_EQ(m_doc->m_formatVersion, 605);
    m_messages.clear();
    EXPECT_FALSE(Load(DocumentBytes::OnePage({}, 1, 0x7FFFFFFF)));
    EXPECT_EQ(m_messages.size(), 1u);

    // Older versions load and are upgraded at the initial update.
    EXPECT_TRUE(Load(DocumentBytes::OnePage({}, 1, 500)));
    EXPECT_EQ(m_doc->m_formatVersion, 500);
    g_pCurPage->m_unitsPerLength = 33;
    m_doc->SetModifiedFlag(FALSE);
    m_doc->OnInitialUpdate();
    EXPECT_EQ(m_doc->m_formatVersion, 605);
    EXPECT_EQ(g_pCurPage->m_unitsPerLength, 20);
    EXPECT_TRUE(m_doc->IsModified());
}

// ---------------------------------------------------------------------------------------------
// Damaged files

TEST_F(DocumentFileTest, EveryTruncationIsRefusedInBothLayouts) {
    BuildSampleDocument();
    SetUserImage(1, 2, 2, std::vector<BYTE>(16, 7));
    m_doc->SetModifiedFlag(TRUE);
    for (bool gf : {false, true}) {
        const std::vector<BYTE> bytes = Store(gf);
        for (size_t n = 0; n < bytes.size() && !HasFailure(); n += gf ? 3 : 1)
            ExpectRefused(std::vector<BYTE>(bytes.begin(), bytes.begin() + std::ptrdiff_t(n)),
                          "cut at " + std::to_string(n), gf);
        EXPECT_EQ(m_messages.back(), gf ? u"无法打开文档“test.gf”：文件不完整或已损坏。"
                                        : u"无法打开文档“test.hvx”：文件不完整或已损坏。");
        EXPECT_TRUE(Load(bytes, gf)) << "the whole file still loads";
    }
}

// A file of a ".gf" name that goes on after the record, in either layout, is not the lesson that was
// read: the open refuses it as damaged and leaves the document as it was.  The same file of the
// present layout under a ".hvx" name still opens (a document padded at its end, say), and so does
// the tool set read from its start.
TEST_F(DocumentFileTest, AGfFileGoingOnAfterItsRecordIsRefusedInBothLayouts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const char* name, const std::vector<BYTE>& bytes) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return CString::FromQString(f.fileName());
    };
    BuildSampleDocument();
    m_doc->SetModifiedFlag(TRUE);
    for (bool gf : {false, true}) {
        const std::vector<BYTE> bytes = Store(gf);
        for (const std::vector<BYTE>& more :
             {std::vector<BYTE>{0}, std::vector<BYTE>{1, 1, 1}, std::vector<BYTE>(5000, 0)}) {
            const std::string what =
                (gf ? "older layout, " : "present layout, ") + std::to_string(more.size()) + " bytes more";
            std::vector<BYTE> longer = bytes;
            longer.insert(longer.end(), more.begin(), more.end());
            const CString path = write("课件.gf", longer);
            const DocumentState before = State();
            m_messages.clear();
            EXPECT_FALSE(m_doc->OpenDocumentFile(path, FALSE)) << what;
            ASSERT_EQ(m_messages.size(), 1u) << what;
            if (gf)
                EXPECT_EQ(m_messages[0], HxFormat(u"无法打开文档“%s”：文件已损坏。", path)) << what;
            else
                EXPECT_EQ(m_messages[0].Find(HxFormat(u"无法打开文档“%s”：", path)), 0) << what;
            EXPECT_FALSE(g_saveGfFormat) << what;
            EXPECT_TRUE(State() == before) << what;
            if (!gf) {
                m_messages.clear();
                EXPECT_TRUE(m_doc->OpenDocumentFile(write("课件.hvx", longer), FALSE)) << what << " as .hvx";
                EXPECT_TRUE(m_messages.empty()) << what << " as .hvx";
                CMemFile toolSet(longer);
                CRecordList tools;
                ASSERT_TRUE(HxReadToolSet(toolSet, tools)) << what;
                ASSERT_EQ(tools.GetCount(), 1) << what;
                EXPECT_EQ(tools.GetHead()->m_name, u"中点") << what;
                HxDeleteRecords(tools);
            }
        }
        EXPECT_TRUE(m_doc->OpenDocumentFile(write("课件.gf", bytes), FALSE)) << "the file itself opens";
    }
}

TEST_F(DocumentFileTest, CraftedCountsClassesAndIdsAreRefused) {
    CommonRecord a, b;
    a.id = 1;
    b.id = 2;
    b.parents = {1};
    a.children = {2};
    ASSERT_TRUE(Load(DocumentBytes::OnePage({a, b}, 3))) << "the baseline loads";
    m_doc->OnNewDocument();

    CommonRecord self = b;
    self.parents = {2};
    ExpectRefused(DocumentBytes::OnePage({a, self}, 3), "a parent that is the cell itself");
    CommonRecord later = a;
    later.parents = {2};
    ExpectRefused(DocumentBytes::OnePage({later, b}, 3), "a parent above the cell");
    CommonRecord orphan = b;
    orphan.parents = {9};
    ExpectRefused(DocumentBytes::OnePage({a, orphan}, 3), "a parent that is not there");
    CommonRecord zero = a;
    zero.id = 0;
    ExpectRefused(DocumentBytes::OnePage({zero}, 3), "id 0");
    ExpectRefused(DocumentBytes::OnePage({a, a}, 3), "the same id twice");

    // A key that is not the cell's id.
    {
        std::vector<BYTE> bytes = DocumentBytes::OnePage({a}, 3);
        ByteBuilder prefix = DocumentBytes::Header();
        prefix.U16(1).NewClass("CGPage").U16(1);
        ASSERT_EQ(bytes[prefix.Bytes().size()], 1);
        bytes[prefix.Bytes().size()] = 5;
        ExpectRefused(bytes, "a key that is not the id");
    }
    // Counts far beyond the bytes there are, classes, pages and textures that cannot be.
    using Build = std::function<void(ByteBuilder&)>;
    const std::pair<const char*, Build> crafted[] = {
        {"a page count beyond the file", [](ByteBuilder& b) { b.U16(0xFFFF).U32(0x7FFFFFFF); }},
        {"a cell count beyond the file",
         [](ByteBuilder& b) { b.U16(1).NewClass("CGPage").U16(0xFFFF).U32(3000000); }},
        {"an unknown class", [](ByteBuilder& b) { b.U16(1).NewClass("CGNoSuchClass"); }},
        {"a condition for a page",
         [](ByteBuilder& b) { b.U16(1).NewClass("CCondition").U16(0).Str(u"").U8(0); }},
        {"a schema this program does not know", [](ByteBuilder& b) { b.U16(1).NewClass("CGPage", 2); }},
        {"a null page", [](ByteBuilder& b) { DocumentBytes::Tail(b.U16(1).U16(0), 1); }},
        {"a page written twice",
         [](ByteBuilder& b) {
             DocumentBytes::PageTail(b.U16(2).NewClass("CGPage").U16(0), 1, 1);
             DocumentBytes::Tail(b.U16(2), 1);
         }},
        {"a texture larger than the file",
         [](ByteBuilder& b) { b.U16(0).U16(1).U8(0).I32(16384).I32(16384).U8(1).U8(1); }},
    };
    for (const auto& [what, build] : crafted) {
        ByteBuilder bytes = DocumentBytes::Header();
        build(bytes);
        ExpectRefused(bytes, what);
    }
    for (int side : {0, -3, 100000}) {
        ByteBuilder bytes = DocumentBytes::Header();
        bytes.U16(0).U16(1).U8(0).I32(side).I32(2).Append(std::vector<BYTE>(64, 0)).U8(1).U8(1);
        ExpectRefused(bytes, "a texture of side " + std::to_string(side));
    }
    // A tool whose condition names no cell.
    {
        ByteBuilder bytes;
        bytes.U16(1).NewClass("CRecord").Str(u"坏").Str(u"").I32(0).I32(1).I32(0).I32(0).I32(1).I32(1).I32(0);
        bytes.Str(u"").U16(0).U16(1).NewClass("CCondition").U16(3).Str(u"点").U8(1);
        std::vector<BYTE> rest = DocumentBytes::OnePage({}, 1);
        bytes.Append(std::vector<BYTE>(rest.begin() + 2, rest.end()));
        ExpectRefused(bytes, "a tool condition without its cell");
    }
}

TEST_F(DocumentFileTest, PageCounterFollowsThePagesRead) {
    ByteBuilder bytes = DocumentBytes::Header();
    bytes.U16(1).NewClass("CGPage").U16(0);
    DocumentBytes::PageTail(bytes, 12, 1);
    DocumentBytes::Tail(bytes, 2);
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(m_doc->m_pageCounter, 12) << "raised to the largest page number";

    // A record without pages gets a fresh first page.
    ByteBuilder none = DocumentBytes::Header();
    none.U16(0);
    DocumentBytes::Tail(none, 9);
    ASSERT_TRUE(Load(none));
    ASSERT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_EQ(g_pCurPage, m_doc->GetPage(0));
    EXPECT_EQ(g_pCurPage->m_title, u"第一页");
    EXPECT_EQ(g_pCurPage->m_pageId, 1);
    EXPECT_EQ(m_doc->m_pageCounter, 1);
}

TEST_F(DocumentFileTest, SettingsThatCannotBeUsedKeepTheirDefaults) {
    ByteBuilder bytes;
    bytes.U16(0).I32(605).Str(u"").Str(u"").I32(0).I32(0).I32(0).I32(0).F32(0).Str(u"");
    bytes.Str(u"").Str(u"Serif").I32(0).I32(-4).F32(-1).F32(std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 16; ++i)
        bytes.F32(i == 5 ? std::numeric_limits<float>::infinity() : 0.5f);
    bytes.U16(0);
    DocumentBytes::Tail(bytes, 1);
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(g_labelFontName == u"Times New Roman" && g_textFontName == u"Serif");
    EXPECT_TRUE(g_labelFontHeight == 24 && g_fontHeight == 24);
    EXPECT_TRUE(g_lineWidth == 2.0f && g_pointSize == 6.0f);
    EXPECT_EQ(g_lightAmbient[0], 0.5f);
    EXPECT_EQ(g_lightDiffuse[1], 0.8f) << "component 1 of the diffuse light was not finite";
}
