// The option, weight, table, command-button, formula-label and texture dialog windows offscreen
// (their fields shown, their rules, refusals that keep them open, the fields written back on OK),
// and pictures pasted through the system clipboard end to end: as picture items and as bitmap texts.
#include "app/option_dialogs_ui.h"

#include "document/halvix_doc.h"
#include "document/option_ids.h"
#include "document_test_support.h"
#include "measure/text_items.h"
#include "model/vertex.h"
#include "platform/clipboard.h"
#include "view/picture_commands.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class OptionDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }
    static void Type(CHxExchangeDialog& window, int id, const char* text) {
        ASSERT_NE(window.Edit(id), nullptr) << id;
        window.Edit(id)->setText(QString::fromUtf8(text));
    }
    std::vector<CString> m_messages;
};

TEST_F(OptionDialogWindows, DocumentOptionsShowThePagesAndWriteBackOnOk) {
    CDlgPage fields;
    fields.m_author = u"作者";
    fields.m_description = u"说明";
    fields.m_pageTitles = {u"第一页", u"几何"};
    CPageOptionsWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("文档选项"));
    EXPECT_EQ(window.Pages()->count(), 2);
    EXPECT_EQ(window.Pages()->currentRow(), 0);
    EXPECT_TRUE(window.Edit(CDlgPage::kAuthor)->isReadOnly());
    EXPECT_EQ(window.Button(IDCANCEL), nullptr) << "only 确定";
    window.Description()->setPlainText(QStringLiteral("一\n二"));
    window.Button(CDlgPage::kRenamePages)->setChecked(true);
    window.Button(CDlgPage::kStoreFormulaGraphics)->setChecked(true);
    window.Button(IDOK)->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_description, u"一\n二");
    EXPECT_TRUE(fields.m_renamePages);
    EXPECT_TRUE(fields.m_storeFormulaGraphics);

    // Closed without OK: nothing is written.
    CDlgPage other;
    other.m_description = u"原";
    CPageOptionsWindow closing(other);
    closing.Description()->setPlainText(QStringLiteral("改"));
    closing.reject();
    EXPECT_EQ(other.m_description, u"原");
}

TEST_F(OptionDialogWindows, WeightAndTableRefuseValuesOutOfRange) {
    CDlgWeight weight;
    weight.m_value = 2.5f;
    CWeightWindow weightWindow(weight);
    EXPECT_EQ(weightWindow.windowTitle(), QStringLiteral("线宽、点大小、值精度"));
    EXPECT_EQ(weightWindow.Edit(CDlgWeight::kValue)->text(), QStringLiteral("2.5"));
    for (const char* bad : {"0", "20.5", "x"}) {
        Type(weightWindow, CDlgWeight::kValue, bad);
        weightWindow.accept();
        EXPECT_NE(weightWindow.result(), QDialog::Accepted) << bad;
    }
    EXPECT_EQ(m_messages.size(), 3u);
    Type(weightWindow, CDlgWeight::kValue, "0.001");
    weightWindow.accept();
    EXPECT_EQ(weightWindow.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(weight.m_value, 0.001f);

    CDlgTable table;
    CTableWindow tableWindow(table);
    EXPECT_EQ(tableWindow.Edit(CDlgTable::kRows)->text(), QStringLiteral("4"));
    Type(tableWindow, CDlgTable::kColumns, "21");
    tableWindow.accept();
    EXPECT_NE(tableWindow.result(), QDialog::Accepted);
    Type(tableWindow, CDlgTable::kColumns, "0");
    tableWindow.accept();
    EXPECT_NE(tableWindow.result(), QDialog::Accepted);
    Type(tableWindow, CDlgTable::kRows, "2");
    Type(tableWindow, CDlgTable::kColumns, "20");
    tableWindow.accept();
    EXPECT_EQ(tableWindow.result(), QDialog::Accepted);
    EXPECT_EQ(table.m_rows, 2);
    EXPECT_EQ(table.m_columns, 20);
}

TEST_F(OptionDialogWindows, TheCommandButtonWindowEditsTheSequence) {
    CDlgCmdBtn fields;
    fields.m_sequence = {32776, 32862};
    CCmdBtnWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("命令按钮"));
    ASSERT_EQ(window.Available()->count(), 24);
    EXPECT_EQ(window.Available()->currentRow(), 0);
    EXPECT_EQ(window.Available()->item(23)->text(), QStringLiteral("关于Halvix"));
    EXPECT_EQ(window.Available()->item(23)->data(Qt::UserRole).toInt(), 57664);
    ASSERT_EQ(window.Sequence()->count(), 2);
    EXPECT_EQ(window.Sequence()->item(1)->text(), QStringLiteral("下一页"));
    EXPECT_EQ(window.Sequence()->currentRow(), 1) << "the last one selected";
    EXPECT_TRUE(window.Button(CDlgCmdBtn::kUp)->isEnabled());
    EXPECT_FALSE(window.Button(CDlgCmdBtn::kDown)->isEnabled());

    window.Button(CDlgCmdBtn::kUp)->click();
    EXPECT_EQ(window.Sequence()->item(0)->text(), QStringLiteral("下一页"));
    EXPECT_EQ(window.Sequence()->currentRow(), 0);
    window.AppendRow(12);
    EXPECT_EQ(window.Sequence()->item(2)->text(), QStringLiteral("等待播放结束"));
    for (int i = 0; i < 3; ++i)
        window.Button(CDlgCmdBtn::kDelete)->click();
    EXPECT_EQ(window.Sequence()->count(), 0);
    EXPECT_FALSE(window.OkButton()->isEnabled()) << "no OK without commands";
    EXPECT_FALSE(window.Button(CDlgCmdBtn::kDelete)->isEnabled());
    window.AppendRow(3);
    EXPECT_TRUE(window.OkButton()->isEnabled());
    Type(window, CDlgCmdBtn::kCaption, "切换");
    Type(window, CDlgCmdBtn::kDelay, "25");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_sequence, std::vector<int>({32772}));
    EXPECT_EQ(fields.m_caption, u"切换");
    EXPECT_EQ(fields.m_delay, 25);
}

TEST_F(OptionDialogWindows, TheFormulaLabelShowsTheNameOrTheEditButton) {
    CDlgLabelMtf fields;
    fields.m_name = u"AB";
    CLabelMtfWindow window(fields);
    auto shown = [&](int id) { return !window.Control(id)->isHidden(); };
    EXPECT_FALSE(shown(CDlgLabelMtf::kName));
    EXPECT_FALSE(shown(CDlgLabelMtf::kEdit)) << "an automatic label shows neither";
    window.Button(CDlgLabelMtf::kCustomLabel)->click();
    EXPECT_TRUE(shown(CDlgLabelMtf::kName));
    EXPECT_FALSE(shown(CDlgLabelMtf::kEdit));
    window.Button(CDlgLabelMtf::kMathFormat)->click();
    EXPECT_FALSE(shown(CDlgLabelMtf::kName));
    EXPECT_TRUE(shown(CDlgLabelMtf::kEdit));
    window.Button(CDlgLabelMtf::kTextFormat)->click();
    Type(window, CDlgLabelMtf::kName, "a'");
    window.accept();
    EXPECT_EQ(fields.m_name, u"a'");
    EXPECT_EQ(fields.m_labelType, 1);
    EXPECT_EQ(fields.m_display, 0);
}

TEST_F(OptionDialogWindows, TheTextureDialogRestoresTheBuiltInImage) {
    CDlgReTextext fields;
    CReTextextWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("更换纹理图"));
    auto* number = qobject_cast<QComboBox*>(window.Control(CDlgReTextext::kTextureNumber));
    ASSERT_NE(number, nullptr);
    number->setCurrentIndex(1);
    window.Button(CDlgReTextext::kBuiltIn)->click();
    EXPECT_TRUE(fields.m_builtIn);
    EXPECT_TRUE(fields.m_path.ToQString().endsWith(QStringLiteral("Img2.jpg")))
        << fields.m_path.ToQString().toStdString();
    EXPECT_EQ(window.Edit(CDlgReTextext::kPath)->text(), fields.m_path.ToQString());
    window.accept();
    EXPECT_EQ(fields.m_texture, 1);
}

// ---------------------------------------------------------------------------------------------
// The system clipboard

class ClipboardPasteOffscreen : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        HxSetClipboardBackend(nullptr); // the system clipboard
        AfxGetCommandRouter().SetChain({m_doc.get()});
        g_clientWidth = 800;
        g_clientHeight = 600;
    }
    void TearDown() override {
        AfxGetCommandRouter().SetChain({});
        QGuiApplication::clipboard()->clear();
        DocumentTest::TearDown();
    }
    template <class T> T* Newest() {
        return DYNAMIC_DOWNCAST(T, g_pCurPage->FindCell(WORD(g_pCurPage->m_nextId - 1)));
    }
    // Dark text on white.
    static QImage Text(QImage::Format format, int width = 60, int height = 20) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.fillRect(10, 5, 30, 8, Qt::black);
        painter.end();
        return image.convertToFormat(format);
    }
};

TEST_F(ClipboardPasteOffscreen, APictureOnTheClipboardBecomesAPictureItem) {
    ASSERT_TRUE(CHalvixDoc::CanPastePictures());
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixel(0, 0, qRgb(200, 100, 50)); // top left
    QGuiApplication::clipboard()->setImage(picture);
    ASSERT_TRUE(HxGetClipboard().HasBitmap());
    const WORD next = g_pCurPage->m_nextId;
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_PASTE));
    auto* item = Newest<CGTbImage>();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->m_id, next);
    EXPECT_EQ(item->m_width, 3);
    EXPECT_EQ(item->m_height, 2);
    ASSERT_EQ(item->m_bits.size(), 24u);
    // Bottom row first, red, green, blue: the top left pixel opens the second row.
    EXPECT_EQ(std::vector<BYTE>(item->m_bits.begin() + 12, item->m_bits.begin() + 15),
              std::vector<BYTE>({200, 100, 50}));
    EXPECT_EQ(std::vector<BYTE>(item->m_bits.begin(), item->m_bits.begin() + 3),
              std::vector<BYTE>({10, 20, 30}));
    EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCurrent()->GetName(), u"粘贴图片");
    // The item survives a save and a load.
    const std::vector<BYTE> bytes = Store();
    ASSERT_TRUE(Load(bytes));
    EXPECT_NE(Newest<CGTbImage>(), nullptr);
}

TEST_F(ClipboardPasteOffscreen, DarkTextOfUnusualFormatsBecomesABitmapText) {
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_Indexed8, QImage::Format_Grayscale8,
          QImage::Format_RGB16, QImage::Format_RGBA64, QImage::Format_Mono}) {
        QGuiApplication::clipboard()->setImage(Text(format));
        const WORD next = g_pCurPage->m_nextId;
        ASSERT_TRUE(HxPasteBitmapText(m_doc.get())) << format;
        auto* text = Newest<CGTextbit>();
        ASSERT_NE(text, nullptr) << format;
        EXPECT_EQ(text->m_id, next);
        // Dark from x = 10 to 39: cropped at whole bytes, x = 8 to 39.
        EXPECT_EQ(text->m_width, 32) << "cropped to the dark pixels, format " << format;
        EXPECT_EQ(text->m_height, 8);
        EXPECT_EQ(text->m_kind, 0);
        EXPECT_EQ(g_pCurPage->m_cmdProcessor.GetCurrent()->GetName(), u"粘贴图形文本");
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ClipboardPasteOffscreen, UndoingATextPastedOnAPointShowsThePointsLabelAgain) {
    CGPage* page = g_pCurPage;
    CGVertex* a = AddPoint(page, 1, 2, 3);
    page->SelectCell(a->m_id);
    QGuiApplication::clipboard()->setImage(Text(QImage::Format_RGB32));
    ASSERT_TRUE(HxPasteBitmapText(m_doc.get()));
    ASSERT_NE(Newest<CGTbHenchman>(), nullptr);
    EXPECT_EQ(a->m_labelHidden, 1) << "the text takes the label's place";
    ASSERT_TRUE(page->m_cmdProcessor.Undo());
    EXPECT_EQ(a->m_labelHidden, 0);
    ASSERT_TRUE(page->m_cmdProcessor.Redo());
    EXPECT_EQ(a->m_labelHidden, 1);
}

TEST_F(ClipboardPasteOffscreen, TextFollowsTheFirstSelectedPointAndWhiteTextIsRefused) {
    CGVertex* a = AddPoint(g_pCurPage, 1, 2, 3);
    CGVertex* b = AddPoint(g_pCurPage, 4, 5, 6);
    g_pCurPage->SelectCell(b->m_id);
    g_pCurPage->SelectCell(a->m_id);
    QGuiApplication::clipboard()->setImage(Text(QImage::Format_RGB32));
    ASSERT_TRUE(HxPasteBitmapText(m_doc.get()));
    auto* follower = Newest<CGTbHenchman>();
    ASSERT_NE(follower, nullptr);
    EXPECT_EQ(follower->m_parents[0], b->m_id);
    EXPECT_FLOAT_EQ(follower->m_pz, 6.0f);

    QImage white(40, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    QGuiApplication::clipboard()->setImage(white);
    const WORD next = g_pCurPage->m_nextId;
    EXPECT_FALSE(HxPasteBitmapText(m_doc.get()));
    EXPECT_EQ(g_pCurPage->m_nextId, next);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"无法获取图象数据，不能构造图文！可能是因为文字是白色的，建议改为深色。");
}

} // namespace
