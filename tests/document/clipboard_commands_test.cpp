// Copy, cut and paste: objects with their ancestors as one undo step, a copied page as a new page,
// damaged blocks and a full page refused without a change, and the clipboard's picture converted byte
// by byte into a picture item that fits the drawing area.
#include "edit_test_support.h"

#include "document/clipboard_picture.h"
#include "measure/text_items.h"

#include <functional>

namespace {

class ClipboardCommandsTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        CGPage* page = g_pCurPage;
        m_a = AddPoint(page, 0, 0, 0);
        m_b = AddPoint(page, 4, 0, 0);
        m_c = AddPoint(page, 0, 3, 0);
        m_ab = AddLine(page, m_a->m_id, m_b->m_id);
        AddLine(page, m_b->m_id, m_c->m_id);
        m_doc->SetModifiedFlag(FALSE);
    }
    bool Run(UINT id) {
        if (!Enabled(id))
            return false;
        return AfxGetCommandRouter().Execute(id);
    }
    static HxClipboardBitmap Bitmap(int width, int height, int bits, int widthBytes, std::vector<BYTE> data) {
        HxClipboardBitmap b;
        b.width = width;
        b.height = height;
        b.bitsPerPixel = bits;
        b.widthBytes = widthBytes;
        b.bits = std::move(data);
        return b;
    }
    CGTbImage* NewestPicture() {
        return DYNAMIC_DOWNCAST(CGTbImage, g_pCurPage->FindCell(g_pCurPage->m_nextId - 1));
    }

    CGVertex *m_a = nullptr, *m_b = nullptr, *m_c = nullptr;
    CGLine* m_ab = nullptr;
};

} // namespace

TEST_F(ClipboardCommandsTest, CopiedObjectsPasteAsOneUndoStep) {
    EXPECT_FALSE(Enabled(ID_EDIT_COPY) || Enabled(ID_EDIT_CUT) || Enabled(ID_EDIT_PASTE))
        << "nothing to copy";
    g_pCurPage->SelectCell(m_ab->m_id);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const std::vector<BYTE> block = ClipboardBlock();
    EXPECT_EQ(KindOf(block), 2);
    ASSERT_GE(block.size(), 6u);
    EXPECT_EQ(block[4] | block[5] << 8, 3) << "the segment and its two ends";
    EXPECT_EQ(m_clipboard.m_openCount, 1);
    EXPECT_FALSE(m_clipboard.IsOpen());
    EXPECT_FALSE(m_doc->IsModified()) << "a copy is no edit";

    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    m_sent.clear();
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    CGPage* page = g_pCurPage;
    EXPECT_EQ(page->m_cells.GetCount(), 8);
    EXPECT_EQ(page->m_nextId, 9);
    EXPECT_TRUE(page->FindCell(8)->m_children.IsEmpty());
    EXPECT_TRUE(page->FindCell(8)->m_parents[0] == 6 && page->FindCell(8)->m_parents[1] == 7);
    EXPECT_EQ(page->FindCell(6)->m_name, u"A");
    ASSERT_EQ(page->m_cmdProcessor.GetCount(), 1);
    EXPECT_EQ(page->m_cmdProcessor.GetCurrent()->GetName(), u"粘贴对象");
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(Sent(UM_CELLS_CHANGED).size(), 1u);
    EXPECT_EQ(Sent(UM_CELLS_CHANGED)[0].wParam, 3u);

    EXPECT_TRUE(page->m_cmdProcessor.Undo());
    EXPECT_EQ(page->m_cells.GetCount(), 5);
    EXPECT_EQ(page->m_nextId, 6);
    EXPECT_TRUE(page->m_cmdProcessor.Redo());
    EXPECT_EQ(page->m_cells.GetCount(), 8);
    EXPECT_EQ(page->FindCell(8)->m_parents[1], 7);
    EXPECT_EQ(Ids(page->FindCell(7)->m_children), std::vector<WORD>({8}));
}

// A text made on a point hides the point's label; pasted with a copy of its point, it hid nothing,
// and the undo and redo of the paste leave both points' labels as they were, shown or hidden.
TEST_F(ClipboardCommandsTest, APastedTextOnAPointLeavesThePointsLabelThroughUndoAndRedo) {
    CGPage* page = g_pCurPage;
    auto* text = AddCell(page, new CGTbHenchman(page->m_nextId, 4, 1, std::vector<BYTE>(4, 0xF0), m_c->m_id));
    ASSERT_EQ(m_c->m_labelHidden, 1) << "the text stands in the label's place";
    for (const int hidden : {0, 1}) {
        m_c->m_labelHidden = hidden; // shown again, or left hidden
        page->ClearSelection();
        page->SelectCell(text->m_id);
        ASSERT_TRUE(Run(ID_EDIT_COPY));
        const WORD first = page->m_nextId;
        ASSERT_TRUE(Run(ID_EDIT_PASTE));
        CGCell* point = page->FindCell(first);
        auto* pasted = DYNAMIC_DOWNCAST(CGTbHenchman, page->FindCell(WORD(first + 1)));
        ASSERT_NE(pasted, nullptr);
        ASSERT_EQ(pasted->m_parents[0], first) << "on the copy of its point";
        ASSERT_EQ(point->m_labelHidden, hidden);
        ASSERT_TRUE(page->m_cmdProcessor.Undo());
        EXPECT_EQ(page->FindCell(first), nullptr);
        EXPECT_EQ(point->m_labelHidden, hidden) << "undo";
        EXPECT_EQ(m_c->m_labelHidden, hidden) << "undo";
        ASSERT_TRUE(page->m_cmdProcessor.Redo());
        EXPECT_EQ(page->FindCell(first), point);
        EXPECT_EQ(point->m_labelHidden, hidden) << "redo";
        EXPECT_EQ(m_c->m_labelHidden, hidden) << "redo";
    }
}

TEST_F(ClipboardCommandsTest, CutCopiesAndThenDeletesWithTheDescendants) {
    g_pCurPage->SelectCell(m_a->m_id);
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    const std::vector<BYTE> block = ClipboardBlock();
    EXPECT_EQ(KindOf(block), 2);
    EXPECT_EQ(block[4] | block[5] << 8, 1) << "the point alone: it has no ancestors";
    CGPage* page = g_pCurPage;
    EXPECT_EQ(page->m_cells.GetCount(), 3) << "the point and the segment on it";
    EXPECT_EQ(page->m_cmdProcessor.GetCurrent()->GetName(), u"清除对象");
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    EXPECT_EQ(page->FindCell(6)->m_name, u"A");
    EXPECT_EQ(page->m_cmdProcessor.GetCount(), 2);
}

TEST_F(ClipboardCommandsTest, DamagedBlocksAreRefusedAndChangeNothing) {
    g_pCurPage->SelectCell(m_ab->m_id);
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const std::vector<BYTE> cells = ClipboardBlock();
    g_pCurPage->ClearSelection();
    g_pCurPage->m_pageSelected = 1;
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    const std::vector<BYTE> page = ClipboardBlock();
    EXPECT_EQ(KindOf(page), 1);
    g_pCurPage->m_pageSelected = 0;

    for (const std::vector<BYTE>* block : {&cells, &page}) {
        for (size_t size : {size_t(2), size_t(4), block->size() / 2, block->size() - 1}) {
            m_boxes.clear();
            m_clipboard.SetData(HxCellClipboardFormat(),
                                std::vector<BYTE>(block->begin(), block->begin() + long(size)));
            ASSERT_TRUE(Run(ID_EDIT_PASTE));
            ASSERT_EQ(m_boxes.size(), 1u) << size;
            EXPECT_EQ(m_boxes[0].text, u"剪贴板上的数据已损坏，不能完成粘贴！");
            EXPECT_TRUE(m_doc->GetPageCount() == 1 && m_doc->m_pageCounter == 1);
            EXPECT_TRUE(g_pCurPage->m_cells.GetCount() == 5 && g_pCurPage->m_nextId == 6);
            EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCount(), 0);
            EXPECT_FALSE(m_doc->IsModified() || m_clipboard.IsOpen());
        }
    }
    // A block of another kind is left alone.
    m_boxes.clear();
    m_clipboard.SetData(HxCellClipboardFormat(), ByteBuilder().I32(3).U16(0));
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 5);
}

TEST_F(ClipboardCommandsTest, RefusedCopiesAndPastesChangeNothing) {
    // Nothing is cut that could not be copied.
    g_pCurPage->SelectCell(m_a->m_id);
    m_clipboard.m_openFails = true;
    EXPECT_TRUE(Run(ID_EDIT_CUT));
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 5);
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCount(), 0);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, u"不能打开剪贴板!");
    EXPECT_TRUE(Run(ID_EDIT_COPY));
    EXPECT_EQ(m_boxes.size(), 2u);

    // A page without ids enough takes nothing.
    m_clipboard.m_openFails = false;
    g_pCurPage->SelectCell(m_ab->m_id); // the segment and its two ends
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    g_pCurPage->m_nextId = 65533;
    m_boxes.clear();
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, u"当前页的对象编号已用完，不能完成粘贴！");
    EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 5);
    EXPECT_EQ(g_pCurPage->m_nextId, 65533);
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCount(), 0);
}

TEST_F(ClipboardCommandsTest, ACopiedPagePastesAsANewPageAfterTheCurrentOne) {
    m_doc->OnNewPage(); // 2
    m_doc->OnNewPage(); // 3
    m_doc->SetCurrentPage(Page(0));
    CGPage* source = g_pCurPage;
    source->m_viewTrans[0] = 6.0f;
    source->m_unitsPerLength = 40;
    source->m_pageSelected = 1;
    EXPECT_TRUE(Enabled(ID_EDIT_COPY)) << "the page itself is selected";
    ASSERT_TRUE(Run(ID_EDIT_COPY));
    EXPECT_EQ(KindOf(ClipboardBlock()), 1);
    m_doc->SetModifiedFlag(FALSE);
    m_sent.clear();
    m_pageCountAtMessage.clear();
    g_mouseTool = 4;

    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第四页", u"第二页", u"第三页"}));
    CGPage* pasted = Page(1);
    EXPECT_TRUE(g_pCurPage == pasted && g_cellMap == &pasted->m_cells);
    EXPECT_TRUE(pasted->m_pageId == 4 && m_doc->m_pageCounter == 4);
    EXPECT_EQ(pasted->m_cells.GetCount(), 5);
    EXPECT_EQ(Ids(pasted->FindCell(2)->m_children), std::vector<WORD>({4, 5}));
    EXPECT_TRUE(pasted->FindCell(4)->m_valid);
    EXPECT_EQ(pasted->m_nextVertex, 4) << "its three points numbered into the vertex array";
    EXPECT_EQ(pasted->m_pageSelected, 1) << "the stored flag comes along";
    EXPECT_TRUE(pasted->m_timerMode == 5 && g_mouseTool == 1) << "entered as a switch enters a page";
    EXPECT_TRUE(g_viewTransX == 6.0f && g_unitLength == 1.0f / 40.0f);
    EXPECT_EQ(m_status[2], u"当前页：第四页");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(pasted->m_cmdProcessor.GetCount(), 0) << "no undo step";
    EXPECT_EQ(pasted->m_cmdProcessor.GetMenuOwner(), &m_frame);
    // The tree hears of the page before it is in the list, then shows its cells.
    ASSERT_EQ(Sent(UM_PAGES_CHANGED).size(), 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].wParam, 1u);
    EXPECT_EQ(Sent(UM_PAGES_CHANGED)[0].lParam, LPARAM(pasted));
    EXPECT_EQ(m_pageCountAtMessage[0], 3);
    ASSERT_EQ(Sent(UM_REBUILD_OBJECT_TREE).size(), 1u);
    EXPECT_EQ(Sent(UM_REBUILD_OBJECT_TREE)[0].lParam, 4);
    // The source page is unchanged.
    EXPECT_EQ(source->m_cells.GetCount(), 5);
    EXPECT_EQ(source->m_title, u"第一页");
}

TEST_F(ClipboardCommandsTest, CuttingASelectedPageCopiesItAndAsksBeforeDeleting) {
    m_doc->OnNewPage();
    g_pCurPage->m_pageSelected = 1;
    m_answer = IDCANCEL;
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    EXPECT_EQ(KindOf(ClipboardBlock()), 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, u"您的操作将使当前页被删除。删除的页面无法恢复。您真的想执行删除？");
    EXPECT_EQ(m_doc->GetPageCount(), 2);
    m_answer = IDOK;
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    EXPECT_EQ(Titles(), std::vector<CString>({u"第一页", u"第三页"}));
}

// ---------------------------------------------------------------------------------------------
// Pictures

TEST(ClipboardPictureTest, PixelsOfEachDepthAreTurnedOverAndReordered) {
    struct Case {
        int width, height, bits, widthBytes;
        std::vector<BYTE> in, out;
    };
    const Case cases[] = {
        // Rows of 2 pixels (6 bytes) padded to 8; the picture item's rows are 8 bytes too.
        {2,
         2,
         24,
         8,
         {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE},
         {9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}},
        // Red, green, blue and a grey of 16 bits (little-endian), spread over their bytes.
        {4,
         1,
         16,
         8,
         {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x10, 0x84},
         {0xF8, 0, 0, 0, 0xFC, 0, 0, 0, 0xF8, 0x80, 0x80, 0x80}},
        {1, 1, 16, 2, {0xFF, 0xFF}, {0xF8, 0xFC, 0xF8, 0}},
        {1, 2, 32, 4, {10, 20, 30, 255, 40, 50, 60, 0}, {60, 50, 40, 0, 30, 20, 10, 0}}, // 4th byte lost
    };
    for (const Case& c : cases) {
        HxClipboardBitmap b;
        b.width = c.width;
        b.height = c.height;
        b.bitsPerPixel = c.bits;
        b.widthBytes = c.widthBytes;
        b.bits = c.in;
        std::vector<BYTE> rgb;
        ASSERT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::Ok) << c.bits;
        EXPECT_EQ(rgb, c.out) << c.bits;
    }
    for (auto [pixels, bytes] : {std::pair{1, 4}, {2, 8}, {4, 12}, {5, 16}})
        EXPECT_EQ(HxPictureRowBytes(pixels), bytes) << pixels;
}

TEST(ClipboardPictureTest, OtherDepthsAndShortRowsAreRefused) {
    HxClipboardBitmap b;
    b.width = 4;
    b.height = 2;
    b.widthBytes = 4;
    b.bits.assign(8, 0);
    std::vector<BYTE> rgb{1};
    for (int bits : {1, 4, 8, 15, 48}) {
        b.bitsPerPixel = bits;
        EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadDepth) << bits;
        EXPECT_TRUE(rgb.empty());
    }
    // Rows shorter than their pixels, fewer bytes than rows, no pixels at all.
    b.bitsPerPixel = 24;
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadData);
    b.widthBytes = 12;
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadData);
    b.bits.assign(24, 0);
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::Ok);
    for (int height : {0, -2}) {
        b.height = height;
        EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadData) << height;
    }
    // Sizes whose products pass the integer range.
    b.width = 0x40000000;
    b.height = 0x40000000;
    b.widthBytes = 0x7FFFFFFF;
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadData);
    b.width = 3000;
    b.height = 3000;
    b.widthBytes = 9000;
    b.bits.assign(size_t(9000) * 2, 0);
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::BadData);
    // More pixels than are taken, whatever the bytes.
    b.width = 16384;
    b.height = 16384;
    b.widthBytes = 3 * 16384;
    EXPECT_EQ(HxConvertClipboardBitmap(b, rgb), HxPictureResult::TooLarge);

    // Large pictures are scaled to fit the drawing area.
    EXPECT_DOUBLE_EQ(HxPictureFitScale(2000, 500, 800, 600), 0.98 * 800 / 2000);
    EXPECT_DOUBLE_EQ(HxPictureFitScale(500, 2000, 800, 600), 0.98 * 600 / 2000);
    EXPECT_DOUBLE_EQ(HxPictureFitScale(784, 588, 800, 600), 1.0);
    EXPECT_DOUBLE_EQ(HxPictureFitScale(100, 100, 0, 0), 1.0) << "no drawing area yet";
}

TEST_F(ClipboardCommandsTest, APictureIsPastedAsAPictureItemScaledToFit) {
    g_clientWidth = 800;
    g_clientHeight = 600;
    m_clipboard.SetBitmap(Bitmap(1, 1, 24, 4, {10, 20, 30, 0}));
    m_doc->PasteClipboardBitmap();
    ASSERT_TRUE(m_boxes.empty());
    CGTbImage* picture = NewestPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->m_id, 6);
    EXPECT_EQ(g_pCurPage->m_nextId, 7);
    EXPECT_TRUE(picture->m_width == 1 && picture->m_height == 1);
    EXPECT_EQ(picture->m_bits, std::vector<BYTE>({30, 20, 10, 0}));
    EXPECT_FLOAT_EQ(picture->m_scaleX, 1.0f);
    EXPECT_FLOAT_EQ(picture->m_param2, 1.0f);
    EXPECT_FLOAT_EQ(picture->m_labelPos[0], -0.5f * g_unitLength);
    EXPECT_FLOAT_EQ(picture->m_labelPos[1], -0.5f * g_unitLength);
    EXPECT_FALSE(m_clipboard.IsOpen());
    ASSERT_EQ(g_pCurPage->m_cmdProcessor.GetCount(), 1);
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCurrent()->GetName(), u"粘贴图片");
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(g_pCurPage->m_cmdProcessor.Undo());
    EXPECT_EQ(g_pCurPage->FindCell(6), nullptr);
    EXPECT_TRUE(g_pCurPage->m_cmdProcessor.Redo());
    EXPECT_EQ(NewestPicture(), picture);

    // Larger than the view: scaled down to fit.
    m_clipboard.SetBitmap(Bitmap(2000, 500, 32, 8000, std::vector<BYTE>(size_t(8000) * 500, 0x7F)));
    m_doc->PasteClipboardBitmap();
    picture = NewestPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_FLOAT_EQ(picture->m_scaleX, 0.392f);
    EXPECT_FLOAT_EQ(picture->m_scaleY, 0.392f);
    EXPECT_FLOAT_EQ(picture->m_param3, 0.392f);
    EXPECT_FLOAT_EQ(picture->m_labelPos[0], -0.5f * 784.0f * g_unitLength);
    EXPECT_FLOAT_EQ(picture->m_labelPos[1], -0.5f * 196.0f * g_unitLength);
    EXPECT_EQ(picture->m_bits.size(), size_t(6000) * 500);
}

TEST_F(ClipboardCommandsTest, PicturesThatCannotBeTakenAreReportedAndAddNothing) {
    struct Case {
        std::function<void()> setUp;
        const char16_t* text;
    };
    const Case cases[] = {
        {[&] { m_clipboard.m_openFails = true; }, u"不能打开剪贴板!"},
        {[&] { m_clipboard.m_bitmapFails = true; }, u"无法取得剪贴板数据,不能完成粘贴!"},
        {[&] { m_clipboard.SetBitmap(Bitmap(2, 2, 8, 4, std::vector<BYTE>(8, 0))); },
         u"图片格式不合条件,不能完成粘贴!\n请在桌面上右击,修改显示属性：颜色质量!"},
        {[&] { m_clipboard.SetBitmap(Bitmap(4, 2, 32, 8, std::vector<BYTE>(16, 0))); },
         u"无法取得剪贴板数据,不能完成粘贴!"},
        {[&] { m_clipboard.SetBitmap(Bitmap(16384, 16384, 16, 32768, {})); }, u"内存不够,不能完成粘贴!"},
    };
    for (const Case& c : cases) {
        m_clipboard.SetBitmap(Bitmap(1, 1, 24, 4, {0, 0, 0, 0}));
        m_clipboard.m_openFails = m_clipboard.m_bitmapFails = false;
        c.setUp();
        m_boxes.clear();
        m_doc->PasteClipboardBitmap();
        ASSERT_EQ(m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes[0].text, c.text);
        EXPECT_EQ(m_boxes[0].caption, u"粘贴图片");
        EXPECT_EQ(m_boxes[0].type, UINT(MB_OK | MB_ICONINFORMATION));
        EXPECT_FALSE(m_clipboard.IsOpen()) << "closed on every way out";
        EXPECT_TRUE(g_pCurPage->m_cells.GetCount() == 5 && g_pCurPage->m_nextId == 6);
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ClipboardCommandsTest, PicturesArePastedOnlyWhilePictureItemsCanBeStored) {
    m_clipboard.SetBitmap(Bitmap(1, 1, 24, 4, {0, 0, 0, 0}));
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_PASTE));
    if (CHalvixDoc::CanPastePictures()) {
        EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
        EXPECT_NE(NewestPicture(), nullptr);
    } else {
        // A picture item a save could not write would make the file unreadable.
        EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
        EXPECT_EQ(g_pCurPage->m_cells.GetCount(), 5);
    }
    EXPECT_TRUE(m_boxes.empty());
}
