// Rich-text items: made from the editor's result free or following a point, stored and loaded with
// their RTF packed in the item's string (odd byte counts, strings without a terminating zero), and
// edited through the properties command (single-line texts too), each with undo and redo.
#include "edit_test_support.h"

#include "measure/rich_text.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "support/page_snapshot.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

// Text in the editor's default format with a superscript, then a subscript in another face.
void WriteMixed(QTextDocument& doc, const QString& base) {
    QTextCursor cursor(&doc);
    QTextCharFormat f = CDlgRtEdit::DefaultCharFormat();
    cursor.insertText(base, f);
    QTextCharFormat sup = f;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("2"), sup);
    QTextCharFormat sub;
    sub.setFontFamilies({QStringLiteral("Times New Roman")});
    sub.setFontPointSize(20);
    sub.setFontItalic(true);
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    cursor.insertText(QStringLiteral("n"), sub);
}

class RichTextItemsTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        HxSetDialogRunner([this](CDialog& dialog) {
            ++m_dialogs;
            auto* editor = DYNAMIC_DOWNCAST(CDlgRtEdit, &dialog);
            EXPECT_NE(editor, nullptr) << dialog.GetRuntimeClass()->m_lpszClassName;
            if (editor && m_script)
                m_script(*editor);
            return m_dialogAnswer;
        });
        m_page = g_pCurPage;
        m_point = AddPoint(m_page, 1, 2, 3);
        m_doc->SetModifiedFlag(FALSE);
    }
    void TearDown() override {
        HxSetDialogRunner(nullptr);
        EditCommandsTest::TearDown();
    }
    void Select(std::initializer_list<WORD> ids) {
        m_page->ClearSelection();
        for (WORD id : ids)
            m_page->SelectCell(id);
    }
    bool Run(UINT id) { return AfxGetCommandRouter().Execute(id) != FALSE; }
    // The editor answers with this text (mixed formats) confirmed.
    void Answer(const QString& base) {
        m_script = [base](CDlgRtEdit& dlg) {
            QTextDocument doc;
            WriteMixed(doc, base);
            ASSERT_TRUE(dlg.TakeDocument(doc, 584, 135));
        };
    }
    // The item made last.
    CGTextbit* Last() { return DYNAMIC_DOWNCAST(CGTextbit, m_page->FindCell(WORD(m_page->m_nextId - 1))); }
    CCmd* LastStep() const { return m_page->m_cmdProcessor.GetCurrent(); }
    static QString PlainOf(const CString& packed) {
        QTextDocument doc;
        CDlgRtEdit dlg;
        dlg.m_rtf = packed;
        if (!dlg.LoadDocument(doc))
            return QStringLiteral("(unreadable)");
        return doc.toPlainText();
    }

    CGPage* m_page = nullptr;
    CGVertex* m_point = nullptr;
    std::function<void(CDlgRtEdit&)> m_script;
    INT_PTR m_dialogAnswer = IDOK;
    int m_dialogs = 0;
};

TEST_F(RichTextItemsTest, ItemsAreMadeFreeOrFollowingTheFirstSelectedPoint) {
    EXPECT_TRUE(Enabled(ID_CREATE_TEXT2)); // always
    Answer(QStringLiteral("勾股定理a"));
    const WORD first = m_page->m_nextId;
    m_doc->OnCreateText2();
    CGTextbit* free = Last();
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(free->m_id, first);
    EXPECT_FALSE(free->IsKindOf(RUNTIME_CLASS(CGTbHenchman)));
    EXPECT_EQ(free->m_kind, kRichTextKind);
    EXPECT_EQ(free->m_name, u"勾股定理...");
    EXPECT_EQ(free->m_param2, 584.0f);
    EXPECT_EQ(free->m_param3, 135.0f);
    EXPECT_EQ(free->m_width, 584);
    EXPECT_EQ(free->m_height, 135);
    EXPECT_EQ(static_cast<long long>(free->m_bits.size()), CGTextbit::BitmapRowBytes(584) * 135);
    EXPECT_EQ(PlainOf(free->m_text1), QStringLiteral("勾股定理a2n"));
    EXPECT_EQ(free->GetDescription(), u"可编辑RTF单色位图文本：宽*高=584*135");
    ASSERT_NE(LastStep(), nullptr);
    EXPECT_TRUE(LastStep()->IsKindOf(RUNTIME_CLASS(CCmdAddCell)));
    EXPECT_EQ(LastStep()->m_name, u"插入文本");
    EXPECT_TRUE(m_doc->IsModified());

    // With a point selected (and a line besides) the text follows the point.
    CGLine* line = AddLine(m_page, m_point->m_id, AddPoint(m_page, 0, 0, 0)->m_id);
    Select({line->m_id, m_point->m_id});
    EXPECT_TRUE(Enabled(ID_CREATE_TEXT2));
    Answer(QStringLiteral("x"));
    m_doc->OnCreateText2();
    auto* follower = DYNAMIC_DOWNCAST(CGTbHenchman, Last());
    ASSERT_NE(follower, nullptr);
    EXPECT_EQ(follower->m_parents.GetSize(), 1);
    EXPECT_EQ(follower->m_parents[0], m_point->m_id);
    EXPECT_EQ(follower->m_kind, kRichTextKind);
    EXPECT_EQ(follower->m_name, u"x2n");
    EXPECT_EQ(follower->m_px, 1.0f);
    m_point->SetPosition(4, 5, 6);
    follower->Recompute();
    EXPECT_EQ(follower->m_pz, 6.0f);
    EXPECT_EQ(follower->GetDescription(), u"随点A的文本");

    // Undo takes it out, redo puts it back as it was.
    const WORD id = follower->m_id;
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->FindCell(id), nullptr);
    EXPECT_EQ(m_page->m_nextId, id);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    auto* back = DYNAMIC_DOWNCAST(CGTbHenchman, m_page->FindCell(id));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_name, u"x2n");
}

TEST_F(RichTextItemsTest, ATextOnAPointTakesTheLabelsPlaceUntilItIsUndone) {
    CGVertex* quiet = AddPoint(m_page, 5, 5, 5);
    quiet->m_labelHidden = 1;
    // The point's label shows before: the text hides it, undo shows it again, redo hides it again.
    Select({m_point->m_id});
    const PageSnapshot before = TakeSnapshot(*m_page);
    Answer(QStringLiteral("h"));
    m_doc->OnCreateText2();
    ASSERT_NE(DYNAMIC_DOWNCAST(CGTbHenchman, Last()), nullptr);
    EXPECT_EQ(m_point->m_labelHidden, 1) << "the text stands in the label's place";
    const PageSnapshot after = TakeSnapshot(*m_page);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_point->m_labelHidden, 0);
    EXPECT_EQ(TakeSnapshot(*m_page), before) << SnapshotDifference(TakeSnapshot(*m_page), before);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(m_point->m_labelHidden, 1);
    EXPECT_EQ(TakeSnapshot(*m_page), after) << SnapshotDifference(TakeSnapshot(*m_page), after);

    // A label hidden before the text stays hidden when the text is undone.
    Select({quiet->m_id});
    m_doc->OnCreateText2();
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(quiet->m_labelHidden, 1);
    EXPECT_EQ(m_point->m_labelHidden, 1) << "the first text is still there";
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_point->m_labelHidden, 0);
}

TEST_F(RichTextItemsTest, CancelOrNoPictureMakesNothing) {
    const WORD next = m_page->m_nextId;
    m_dialogAnswer = IDCANCEL;
    Answer(QStringLiteral("abc"));
    m_doc->OnCreateText2();
    // OK without a picture (the editor was closed without text).
    m_dialogAnswer = IDOK;
    m_script = [](CDlgRtEdit&) {};
    m_doc->OnCreateText2();
    // A picture shorter than its stated size is never taken (it would be drawn past its end).
    m_script = [](CDlgRtEdit& dlg) {
        dlg.m_pictureWidth = 100;
        dlg.m_pictureHeight = 100;
        dlg.m_picture.assign(4, 0xFF);
    };
    m_doc->OnCreateText2();
    EXPECT_EQ(m_dialogs, 3);
    EXPECT_EQ(m_page->m_nextId, next);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(RichTextItemsTest, TheRichTextTravelsPackedThroughTheFile) {
    // Odd and even byte counts, bytes above 127, and an item following a point.
    const QByteArray odd = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\'b0\\'a1x}"; // 45 bytes
    const QByteArray even = "{\\rtf1\\ansi \\b bold\\b0  and \\super 2\\nosupersub}";
    ASSERT_EQ(odd.size() % 2, 1);
    ASSERT_EQ(even.size() % 2, 0);
    std::vector<WORD> ids;
    for (const QByteArray& rtf : {odd, even}) {
        auto* item = AddCell(m_page, new CGTextbit(0, 33, 2, std::vector<BYTE>(16, 0xA5)));
        item->m_kind = kRichTextKind;
        item->m_text1 = PackRtfBytes(rtf);
        item->m_param2 = 584.0f;
        item->m_param3 = 200.0f;
        ids.push_back(item->m_id);
    }
    EXPECT_EQ(m_page->FindCell(ids[0])->m_text1.GetLength(), (odd.size() + 1) / 2);
    auto* follower = AddCell(m_page, new CGTbHenchman(0, 1, 1, std::vector<BYTE>(4, 0x80), m_point->m_id));
    follower->m_kind = kRichTextKind;
    follower->m_text1 = PackRtfBytes(odd);
    ids.push_back(follower->m_id);

    ASSERT_TRUE(Load(Store()));
    CGPage* page = m_doc->GetPage(0);
    ASSERT_NE(page, nullptr);
    const QByteArray expected[] = {odd, even, odd};
    for (size_t i = 0; i < ids.size(); ++i) {
        auto* item = DYNAMIC_DOWNCAST(CGTextbit, page->FindCell(ids[i]));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->m_kind, kRichTextKind);
        EXPECT_EQ(UnpackRtfBytes(item->m_text1), expected[i]);
        EXPECT_TRUE(HxIsRichTextCell(item));
    }
    EXPECT_TRUE(page->FindCell(ids[2])->IsKindOf(RUNTIME_CLASS(CGTbHenchman)));
    EXPECT_EQ(page->FindCell(ids[1])->m_param3, 200.0f);
    EXPECT_EQ(PlainOf(page->FindCell(ids[1])->m_text1), QStringLiteral("bold and 2"));
}

TEST_F(RichTextItemsTest, StringsWithoutTheirZeroOrDamagedAreReadSafely) {
    // No zero unit at all: every byte counts; a zero byte inside ends the text there.
    CString noZero = CString::FromQString(QString(QChar(char16_t(0x7B7B))) + QChar(char16_t(0x6261)));
    EXPECT_EQ(UnpackRtfBytes(noZero), QByteArray("{{ab"));
    CString early = CString::FromQString(QString(QChar(char16_t(0x7B7B))) + QChar(char16_t(0x0061)) +
                                         QChar(char16_t(0x4142)));
    EXPECT_EQ(UnpackRtfBytes(early), QByteArray("{{a"));
    // An item whose string is no RTF opens an empty editor; confirming new text mends it.
    auto* item = AddCell(m_page, new CGTextbit(0, 8, 1, std::vector<BYTE>(4, 0xFF)));
    item->m_kind = kRichTextKind;
    item->m_text1 = early;
    Select({item->m_id});
    bool loaded = true;
    QString shown = QStringLiteral("?");
    m_script = [&](CDlgRtEdit& dlg) {
        QTextDocument doc;
        loaded = dlg.LoadDocument(doc);
        shown = doc.toPlainText();
        WriteMixed(doc, QStringLiteral("y"));
        ASSERT_TRUE(dlg.TakeDocument(doc, 300, 60));
    };
    m_doc->OnEditProperties();
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(PlainOf(item->m_text1), QStringLiteral("y2n"));
}

TEST_F(RichTextItemsTest, PropertiesRestoreTheRichTextAndWriteItBackAsOneStep) {
    Answer(QStringLiteral("勾股"));
    m_doc->OnCreateText2();
    CGTextbit* item = Last();
    ASSERT_NE(item, nullptr);
    const WORD id = item->m_id;
    item->m_labelPos[0] = 7.0f;
    const CString oldRtf = item->m_text1;
    const std::vector<BYTE> oldBits = item->m_bits;
    Select({id});
    m_doc->SetModifiedFlag(FALSE);
    QTextDocument restored;
    m_script = [&](CDlgRtEdit& dlg) {
        EXPECT_EQ(dlg.m_plainText, 0);
        EXPECT_EQ(dlg.m_rtf, oldRtf);
        ASSERT_TRUE(dlg.LoadDocument(restored));
        // The superscript and the subscript come back as they were typed.
        QTextCursor c(&restored);
        c.setPosition(3);
        EXPECT_EQ(c.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
        c.setPosition(4);
        EXPECT_EQ(c.charFormat().verticalAlignment(), QTextCharFormat::AlignSubScript);
        EXPECT_TRUE(c.charFormat().fontItalic());
        QTextDocument doc;
        WriteMixed(doc, QStringLiteral("新的文本内容"));
        ASSERT_TRUE(dlg.TakeDocument(doc, 400, 90));
    };
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(restored.toPlainText(), QStringLiteral("勾股2n"));
    ASSERT_EQ(m_page->FindCell(id), item); // edited in place
    EXPECT_EQ(item->m_name, u"新的文本...");
    EXPECT_EQ(PlainOf(item->m_text1), QStringLiteral("新的文本内容2n"));
    EXPECT_EQ(item->m_width, 400);
    EXPECT_EQ(item->m_param2, 400.0f);
    EXPECT_EQ(item->m_param3, 90.0f);
    EXPECT_EQ(item->m_labelPos[0], 7.0f); // where the user put it
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_NE(LastStep(), nullptr);
    EXPECT_TRUE(LastStep()->IsKindOf(RUNTIME_CLASS(CCmdEditRichText)));
    EXPECT_EQ(LastStep()->m_name, u"修改文本");
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 2);

    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(item->m_text1, oldRtf);
    EXPECT_EQ(item->m_bits, oldBits);
    EXPECT_EQ(item->m_name, u"勾股2n");
    EXPECT_EQ(item->m_param2, 584.0f);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(item->m_name, u"新的文本...");
    EXPECT_EQ(item->m_width, 400);

    // Cancelled: the editor opened on the new text; nothing changes, no step.
    m_dialogAnswer = IDCANCEL;
    m_script = [](CDlgRtEdit& dlg) { EXPECT_EQ(PlainOf(dlg.m_rtf), QStringLiteral("新的文本内容2n")); };
    m_doc->SetModifiedFlag(FALSE);
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 2);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(RichTextItemsTest, ASingleLineTextBecomesARichTextItemAndUndoBringsItBack) {
    auto* line = AddCell(m_page, new CGTmSingleline);
    line->m_text = u"单行";
    line->m_labelPos[0] = -3.0f;
    line->m_labelPos[1] = 2.5f;
    line->m_color = CRgba{10, 20, 30, 255};
    line->m_labelColor = CRgba{1, 2, 3, 255};
    const WORD id = line->m_id;
    Select({id});
    QString opened;
    m_script = [&](CDlgRtEdit& dlg) {
        EXPECT_EQ(dlg.m_plainText, 1);
        EXPECT_EQ(dlg.m_plainFace, u"Times New Roman");
        EXPECT_EQ(dlg.m_plainTwips, 300);
        QTextDocument doc;
        ASSERT_TRUE(dlg.LoadDocument(doc));
        opened = doc.toPlainText();
        EXPECT_EQ(QTextCursor(&doc).block().begin().fragment().charFormat().fontPointSize(), 15.0);
        QTextCursor(&doc).insertText(QStringLiteral("新"));
        ASSERT_TRUE(dlg.TakeDocument(doc, 200, 40));
    };
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(opened, QStringLiteral("单行"));
    auto* item = DYNAMIC_DOWNCAST(CGTextbit, m_page->FindCell(id));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->m_kind, kRichTextKind);
    EXPECT_EQ(item->m_name, u"新单行");
    EXPECT_EQ(PlainOf(item->m_text1), QStringLiteral("新单行"));
    EXPECT_EQ(item->m_labelPos[0], -3.0f);
    EXPECT_EQ(item->m_labelPos[1], 2.5f);
    EXPECT_EQ(item->m_color, (CRgba{10, 20, 30, 255}));
    EXPECT_EQ(item->m_labelColor, (CRgba{1, 2, 3, 255}));
    EXPECT_TRUE(item->m_selected);
    EXPECT_EQ(LastStep()->m_name, u"修改文本");

    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    auto* again = DYNAMIC_DOWNCAST(CGTmSingleline, m_page->FindCell(id));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_text, u"单行");
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(m_page->FindCell(id), item);
    // Saved and loaded as a rich-text item.
    ASSERT_TRUE(Load(Store()));
    auto* loaded = DYNAMIC_DOWNCAST(CGTextbit, m_doc->GetPage(0)->FindCell(id));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(PlainOf(loaded->m_text1), QStringLiteral("新单行"));
}

TEST_F(RichTextItemsTest, OtherTextItemsAreNotRichText) {
    auto* plain = AddCell(m_page, new CGTextbit(0, 1, 1, std::vector<BYTE>(4, 0)));
    plain->m_kind = 0;
    EXPECT_FALSE(HxIsRichTextCell(plain));
    auto* picture = AddCell(m_page, new CGTbImage(0, 1, 1, std::vector<BYTE>(4, 0)));
    picture->m_kind = 1;
    EXPECT_FALSE(HxIsRichTextCell(picture));
    EXPECT_FALSE(HxIsRichTextCell(m_point));
    EXPECT_FALSE(HxIsRichTextCell(nullptr));
    // Edit refused for a cell not in the page.
    CGTextbit stray(999, 1, 1, std::vector<BYTE>(4, 0));
    stray.m_kind = kRichTextKind;
    EXPECT_FALSE(HxEditRichText(*m_page, stray));
    EXPECT_EQ(m_dialogs, 0);
}

TEST_F(RichTextItemsTest, TabStopsOfEveryKindComeBackAfterSaveAndOpen) {
    // A left stop after a right one and after a centred one: each keeps its kind through the editor's
    // RTF, the lesson's file and the editor's reading of it.
    const QList<QTextOption::Tab> stops{QTextOption::Tab(100, QTextOption::RightTab),
                                        QTextOption::Tab(160, QTextOption::LeftTab),
                                        QTextOption::Tab(220, QTextOption::CenterTab),
                                        QTextOption::Tab(280, QTextOption::LeftTab)};
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextBlockFormat format;
    format.setTabPositions(stops);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("一\t二\t三\t四"), CDlgRtEdit::DefaultCharFormat());
    CDlgRtEdit editor;
    ASSERT_TRUE(editor.TakeDocument(doc, 584, 135));
    auto* item = AddCell(m_page, new CGTextbit(0, editor.m_pictureWidth, editor.m_pictureHeight, editor.m_picture));
    item->m_kind = kRichTextKind;
    item->m_text1 = editor.m_rtf;
    const WORD id = item->m_id;

    ASSERT_TRUE(Load(Store()));
    auto* loaded = DYNAMIC_DOWNCAST(CGTextbit, m_doc->GetPage(0)->FindCell(id));
    ASSERT_NE(loaded, nullptr);
    CDlgRtEdit reopened;
    reopened.m_rtf = loaded->m_text1;
    QTextDocument back;
    ASSERT_TRUE(reopened.LoadDocument(back));
    const QList<QTextOption::Tab> read = back.begin().blockFormat().tabPositions();
    ASSERT_EQ(read.size(), stops.size());
    for (qsizetype i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].type, stops[i].type) << i;
        EXPECT_DOUBLE_EQ(read[i].position, stops[i].position) << i;
    }
}

} // namespace
