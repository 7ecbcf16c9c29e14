// The rich-text editor: an existing item's text restored, the default format, the effect toggles
// (uniform selection toggled, mixed set), super- and subscript never both, symbols, font and size
// from the toolbar, the paragraph dialog, the stand-ins of the formula server and OLE objects, OK
// refused while empty, OK's RTF, name and picture (a long text without fonts drawn in the editor's),
// texts too long for the editor refused and never made by it, and the growing editor kept on the screen.
#include "app/format_toolbar.h"
#include "app/symbol_palette.h"
#include "app/rich_text_editor_ui.h"
#include "formula/formula_editor.h"
#include "measure/rich_text.h"
#include "platform/beep.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class RichTextEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text.ToQString());
            return IDOK;
        });
        HxSetBeepHandler([this](UINT) { ++m_beeps; });
    }
    void TearDown() override {
        m_window.reset();
        HxSetMessageBoxHandler(nullptr);
        HxSetBeepHandler(nullptr);
        HxSetDialogRunner(nullptr);
    }
    QTextEdit* Open() {
        m_window = std::make_unique<CDlgRtEditWindow>(*m_f);
        EXPECT_EQ(m_window->OnInitDialog(), 0);
        m_window->show();
        return m_window->Editor();
    }
    void Select(int from, int to) {
        QTextCursor c(m_window->Editor()->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        m_window->Editor()->setTextCursor(c);
    }
    QTextCharFormat FormatAt(int position) {
        QTextCursor c(m_window->Editor()->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }

    void Reset() {
        m_window.reset();
        m_f = std::make_unique<CDlgRtEdit>();
    }

    std::unique_ptr<CDlgRtEdit> m_f = std::make_unique<CDlgRtEdit>();
    std::unique_ptr<CDlgRtEditWindow> m_window;
    std::vector<QString> m_messages;
    int m_beeps = 0;
};

// Rich text of `length` characters as the editor counts them: lines of 80 (the paragraph end one).
CString TextOfLength(int length) {
    QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\f0 ";
    for (; length > 80; length -= 80)
        rtf += QByteArray(79, 'a') + "\\par ";
    return PackRtfBytes(rtf + QByteArray(length, 'a') + "\\par}");
}

qsizetype Length(const QTextEdit& editor) {
    return editor.document()->characterCount() - 1;
}

} // namespace

TEST_F(RichTextEditorTest, NewTextTakesTheDefaultFormat) {
    QTextEdit* editor = Open();
    EXPECT_TRUE(editor->document()->isEmpty());
    editor->insertPlainText(QStringLiteral("AB"));
    const QTextCharFormat f = FormatAt(0);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 26.0);
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("RTF单色普通文本编辑"));
    EXPECT_EQ(editor->viewport()->width(), CDlgRtEditWindow::kEditorWidth);
}

TEST_F(RichTextEditorTest, EditingAnItemRestoresItsRichText) {
    m_f->m_rtf = PackRtfBytes(
        "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\f0\\fs40 x\\super 2\\nosupersub\\i "
        "y\\par}");
    QTextEdit* editor = Open();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("x2y"));
    EXPECT_EQ(FormatAt(1).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_TRUE(FormatAt(2).fontItalic());
    EXPECT_DOUBLE_EQ(FormatAt(0).fontPointSize(), 20.0);
    // Plain-text mode: the text in the face and size given.
    Reset();
    m_f->m_plainText = 1;
    m_f->m_rtf = u"plain {text}";
    m_f->m_plainFace = u"Times New Roman";
    m_f->m_plainTwips = 360;
    editor = Open();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("plain {text}"));
    EXPECT_DOUBLE_EQ(FormatAt(0).fontPointSize(), 18.0);
    EXPECT_EQ(FormatAt(0).fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
}

TEST_F(RichTextEditorTest, EffectsToggleWhereUniformAndSetWhereMixed) {
    QTextEdit* editor = Open();
    editor->insertPlainText(QStringLiteral("abcd"));
    // All bold (the default): toggled off.
    Select(0, 4);
    m_window->RunCommand(ID_RT_BOLD);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(FormatAt(i).fontWeight(), QFont::Normal) << i;
    // Mixed italic: set over the whole selection.
    Select(0, 2);
    m_window->RunCommand(ID_RT_ITALIC);
    EXPECT_TRUE(m_window->IsCommandChecked(ID_RT_ITALIC));
    Select(0, 4);
    EXPECT_FALSE(m_window->IsCommandChecked(ID_RT_ITALIC));
    m_window->RunCommand(ID_RT_ITALIC);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(FormatAt(i).fontItalic()) << i;
    m_window->RunCommand(ID_RT_UNDERLINE);
    EXPECT_TRUE(FormatAt(3).fontUnderline());
    m_window->RunCommand(ID_RT_UNDERLINE);
    EXPECT_FALSE(FormatAt(3).fontUnderline());
}

TEST_F(RichTextEditorTest, SuperscriptAndSubscriptNeverBoth) {
    QTextEdit* editor = Open();
    editor->insertPlainText(QStringLiteral("ab"));
    Select(1, 2);
    struct Step {
        UINT id;
        QTextCharFormat::VerticalAlignment after;
    } steps[] = {
        {ID_RT_SUPERSCRIPT, QTextCharFormat::AlignSuperScript},
        {ID_RT_SUBSCRIPT, QTextCharFormat::AlignSubScript},
        {ID_RT_SUPERSCRIPT, QTextCharFormat::AlignSuperScript},
        {ID_RT_SUPERSCRIPT, QTextCharFormat::AlignNormal},
        {ID_RT_SUBSCRIPT, QTextCharFormat::AlignSubScript},
        {ID_RT_SUBSCRIPT, QTextCharFormat::AlignNormal},
    };
    for (const Step& s : steps) {
        m_window->RunCommand(s.id);
        EXPECT_EQ(FormatAt(1).verticalAlignment(), s.after) << s.id;
        EXPECT_FALSE(m_window->IsCommandChecked(ID_RT_SUPERSCRIPT) &&
                     m_window->IsCommandChecked(ID_RT_SUBSCRIPT));
    }
    // A selection of super and normal text becomes superscript throughout.
    Select(1, 2);
    m_window->RunCommand(ID_RT_SUPERSCRIPT);
    Select(0, 2);
    m_window->RunCommand(ID_RT_SUPERSCRIPT);
    EXPECT_EQ(FormatAt(0).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(FormatAt(1).verticalAlignment(), QTextCharFormat::AlignSuperScript);
}

TEST_F(RichTextEditorTest, SymbolsFontAndSizeFromTheToolbar) {
    QTextEdit* editor = Open();
    editor->insertPlainText(QStringLiteral("x"));
    for (int index : {0, 70, 71, 127}) {
        m_window->SendMessage(UM_INSERT_SYMBOL, 0, LPARAM(index));
    }
    const QString text = editor->toPlainText();
    ASSERT_EQ(text.size(), 5);
    EXPECT_EQ(text[1], QChar(u'α'));
    EXPECT_EQ(text[2].unicode(), HxFormulaSymbol(70));
    EXPECT_EQ(text[3].unicode(), HxFormulaSymbol(71));
    EXPECT_EQ(text[4].unicode(), HxFormulaSymbol(127));
    // One undo step takes back one symbol.
    editor->undo();
    EXPECT_EQ(editor->toPlainText().size(), 4);
    Select(0, 1);
    HxFormatFontRecord font{CString(u"Times New Roman"), 0};
    m_window->SendMessage(UM_FORMAT_FONTNAME, 0, LPARAM(&font));
    HxFormatSizeRecord size{CString(), 300};
    m_window->SendMessage(UM_FORMAT_FONTSIZE, 0, LPARAM(&size));
    EXPECT_EQ(FormatAt(0).fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
    EXPECT_DOUBLE_EQ(FormatAt(0).fontPointSize(), 15.0);
    EXPECT_DOUBLE_EQ(FormatAt(1).fontPointSize(), 26.0);
}

// A face typed into the toolbar's combo and confirmed with Enter formats the selection and gives
// the editor its focus back; the key never reaches the dialog's OK (which would close the editor).
TEST_F(RichTextEditorTest, EnterInTheFaceComboAppliesTheFaceAndKeepsTheEditorOpen) {
    QTextEdit* editor = Open();
    m_window->activateWindow();
    editor->insertPlainText(QStringLiteral("xy"));
    Select(0, 1);
    CFontComboBox* face = m_window->FormatBar()->FontCombo();
    face->setFocus();
    face->lineEdit()->selectAll();
    QTest::keyClicks(face->lineEdit(), QStringLiteral("Times New Roman"));
    QTest::keyClick(face->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), 0);
    EXPECT_TRUE(m_f->m_picture.empty());
    EXPECT_EQ(FormatAt(0).fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman"));
    EXPECT_EQ(FormatAt(1).fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
    // The size combo keeps Enter to itself as well.
    CSizeComboBox* size = m_window->FormatBar()->SizeCombo();
    size->setFocus();
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), QStringLiteral("20"));
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), 0);
}

TEST_F(RichTextEditorTest, ParagraphDialogAppliesItsFormat) {
    QTextEdit* editor = Open();
    editor->insertPlainText(QStringLiteral("one\ntwo"));
    Select(0, 5);
    CParaFormat seen;
    HxSetDialogRunner([&](CDialog& d) {
        auto* para = dynamic_cast<CFormatParaDlg*>(&d);
        EXPECT_NE(para, nullptr);
        seen = para->m_pf;
        para->m_pf.alignment = 3;
        para->m_pf.startIndent = 720;
        para->m_pf.offset = 360;
        para->m_pf.spaceBefore = 240;
        para->m_pf.lineSpacingRule = 1;
        para->m_pf.numbering = 2;
        para->m_pf.numberingStyle = 0x200;
        return INT_PTR(IDOK);
    });
    m_window->RunCommand(ID_RT_PARAGRAPH);
    EXPECT_EQ(seen.alignment, 1);
    EXPECT_EQ(seen.numbering, 0);
    for (QTextBlock b = editor->document()->begin(); b.isValid(); b = b.next()) {
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 72.0);
        EXPECT_DOUBLE_EQ(b.blockFormat().textIndent(), -24.0);
        ASSERT_NE(b.textList(), nullptr);
        EXPECT_EQ(b.textList()->format().numberSuffix(), QStringLiteral("."));
        const CParaFormat back = HxParaFormatOfBlock(b.blockFormat(), b.textList());
        EXPECT_EQ(back.startIndent, 720);
        EXPECT_EQ(back.offset, 360);
        EXPECT_EQ(back.spaceBefore, 240);
        EXPECT_EQ(back.lineSpacingRule, 1);
        EXPECT_EQ(back.numbering, 2);
        EXPECT_EQ(back.numberingStyle, 0x200);
    }
    EXPECT_EQ(editor->document()->begin().textList(), editor->document()->lastBlock().textList());
}

TEST_F(RichTextEditorTest, FormulaServerAndObjectsAreMissing) {
    Open();
    m_window->RunCommand(ID_RT_EQUATION);
    m_window->RunCommand(ID_RT_INSERT_OBJECT);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], QStringLiteral("您未安装公式编辑器Equation3 "));
    EXPECT_EQ(m_messages[1], QStringLiteral("插入OLE对象出错！"));
    // The context menu offers the object command too, and the clipboard commands by the selection.
    std::unique_ptr<QMenu> menu(m_window->CreateContextMenu(nullptr));
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts, (QStringList{"剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "全选(&L)", "字体(&F)...",
                                  "段落(&A)...", "插入对象(&I)..."}));
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
}

TEST_F(RichTextEditorTest, OkRefusedWhileEmpty) {
    Open();
    m_window->OnOK();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], QStringLiteral("还未输入文本，请按关闭按钮！"));
    EXPECT_EQ(m_window->result(), 0);
    EXPECT_TRUE(m_f->m_picture.empty());
}

TEST_F(RichTextEditorTest, OkGivesRtfNameAndPicture) {
    struct Case {
        QString text;
        QString name;
    } cases[] = {{QStringLiteral("abcde"), QStringLiteral("abcde")},
                 {QStringLiteral("abcdefghijk"), QStringLiteral("abcd...")}};
    for (const Case& c : cases) {
        Reset();
        QTextEdit* editor = Open();
        editor->insertPlainText(c.text);
        Select(1, 2);
        m_window->RunCommand(ID_RT_SUPERSCRIPT);
        m_window->OnOK();
        EXPECT_EQ(m_window->result(), int(QDialog::Accepted));
        EXPECT_EQ(m_f->m_name.ToQString(), c.name);
        const QSize rect = editor->viewport()->size();
        EXPECT_EQ(m_f->m_editorWidth, rect.width());
        EXPECT_EQ(m_f->m_editorHeight, rect.height());
        EXPECT_EQ(m_f->m_pictureWidth, rect.width());
        EXPECT_EQ(m_f->m_pictureHeight, rect.height());
        EXPECT_EQ(m_f->m_picture.size(), size_t((rect.width() + 31) / 32 * 4 * rect.height()));
        int ink = 0;
        for (BYTE b : m_f->m_picture)
            ink += __builtin_popcount(b);
        EXPECT_GT(ink, 50);
        // The RTF reads back to the editor's document.
        QTextDocument back;
        ASSERT_TRUE(HxRtfToDocument(UnpackRtfBytes(m_f->m_rtf), back));
        EXPECT_EQ(back.toPlainText(), c.text);
        QTextCursor sup(&back);
        sup.setPosition(2);
        EXPECT_EQ(sup.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
    }
}

// A long text whose characters have no font of their own (HTML pasted without one) is drawn by 确定
// in the editor's font, as a short one is, though only the beginning that shows is laid out for it.
TEST_F(RichTextEditorTest, LongTextWithoutFontsIsDrawnInTheEditorsFont) {
    struct Picture {
        std::vector<BYTE> bits;
        int width = 0, height = 0;
        // The pixel at x, y from the top left (the rows are kept bottom-up, the leftmost pixel in
        // the highest bit).
        bool Dark(int x, int y) const {
            const size_t stride = size_t((width + 31) / 32 * 4);
            return (bits[stride * size_t(height - 1 - y) + size_t(x / 8)] >> (7 - x % 8)) & 1;
        }
        // The first `n` pixels of row y, dark ones as '#'.
        std::string Row(int y, int n) const {
            std::string row;
            for (int x = 0; x < n; ++x)
                row += Dark(x, y) ? '#' : '.';
            return row;
        }
        bool Inked(int y) const { return Row(y, width).find('#') != std::string::npos; }
    };
    auto pastedAndTaken = [this](const QString& html, Picture& picture, bool& beginningOnly) {
        Reset();
        QTextEdit* editor = Open();
        auto* data = new QMimeData;
        data->setHtml(html);
        QApplication::clipboard()->setMimeData(data);
        m_window->RunCommand(ID_RT_PASTE);
        ASSERT_TRUE(editor->toPlainText().startsWith(QStringLiteral("汉字Ab")));
        const QTextCharFormat pasted = FormatAt(0);
        EXPECT_FALSE(pasted.hasProperty(QTextFormat::FontFamilies));
        EXPECT_FALSE(pasted.hasProperty(QTextFormat::FontPointSize));
        auto* ok = m_window->findChild<QPushButton*>(QStringLiteral("1"));
        ASSERT_NE(ok, nullptr);
        ok->click();
        ASSERT_EQ(m_window->result(), int(QDialog::Accepted));
        picture = {m_f->m_picture, m_f->m_pictureWidth, m_f->m_pictureHeight};
        ASSERT_EQ(picture.bits.size(), size_t((picture.width + 31) / 32 * 4 * picture.height));
        const QTextDocument& doc = *editor->document();
        beginningOnly =
            HxRichTextShownPart(doc, picture.width, picture.height)->characterCount() < doc.characterCount();
    };
    QString html = QStringLiteral("<p>汉字Ab</p>");
    Picture shortText;
    bool beginningOnly = true;
    pastedAndTaken(html, shortText, beginningOnly);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(beginningOnly);
    for (int i = 0; i < 400; ++i)
        html += QStringLiteral("<p>%1</p>").arg(QString(50, QChar(u'字')));
    Picture longText;
    pastedAndTaken(html, longText, beginningOnly);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(beginningOnly);

    // The first line, in the editor's 26-point characters, is drawn the same in both pictures (the
    // long text's narrower by the editor's scroll bar).
    const int width = std::min(longText.width, shortText.width);
    EXPECT_GT(width, 500);
    int top = 0, bottom = shortText.height - 1;
    while (top < bottom && !shortText.Inked(top))
        ++top;
    while (bottom > top && !shortText.Inked(bottom))
        --bottom;
    EXPECT_GT(bottom - top, 20);
    ASSERT_LT(bottom + 1, longText.height);
    for (int y = 0; y <= bottom + 1; ++y)
        ASSERT_EQ(longText.Row(y, width), shortText.Row(y, width)) << "row " << y;
}

// A right-aligned paragraph shows as "右对齐" in the paragraph dialog and stays right-aligned after
// OK; a left-aligned one set to "右对齐" becomes right-aligned, and is saved so.
TEST_F(RichTextEditorTest, ParagraphDialogShowsAndKeepsRightAlignment) {
    m_f->m_rtf = PackRtfBytes("{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\qr\\f0 right\\par"
                              "\\pard\\f0 left\\par}");
    QTextEdit* editor = Open();
    QTextDocument* doc = editor->document();
    auto alignment = [](const QTextBlock& b) {
        return b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    };
    ASSERT_EQ(alignment(doc->begin()), Qt::AlignRight);
    // The real dialog: what it shows, then the choice given and OK pressed.
    auto run = [&](int choose) {
        QString shown = QStringLiteral("(no dialog)");
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("段落"));
            auto* align = dialog->findChild<QComboBox*>(QStringLiteral("1195"));
            ASSERT_NE(align, nullptr);
            shown = align->currentText();
            if (choose >= 0)
                align->setCurrentIndex(choose);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        m_window->RunCommand(ID_RT_PARAGRAPH);
        return shown;
    };
    Select(1, 1);
    EXPECT_EQ(run(-1), QStringLiteral("右对齐"));
    EXPECT_EQ(alignment(doc->begin()), Qt::AlignRight);
    Select(8, 8);
    EXPECT_EQ(run(-1), QStringLiteral("左对齐"));
    EXPECT_EQ(alignment(doc->lastBlock()), Qt::AlignLeft);
    EXPECT_EQ(run(1), QStringLiteral("左对齐"));
    EXPECT_EQ(alignment(doc->lastBlock()), Qt::AlignRight);
    EXPECT_EQ(alignment(doc->begin()), Qt::AlignRight);
    m_window->OnOK();
    ASSERT_EQ(m_window->result(), int(QDialog::Accepted));
    QTextDocument back;
    ASSERT_TRUE(HxRtfToDocument(UnpackRtfBytes(m_f->m_rtf), back));
    EXPECT_EQ(alignment(back.begin()), Qt::AlignRight);
    EXPECT_EQ(alignment(back.lastBlock()), Qt::AlignRight);
}

// The editor holds at most 32,767 characters: a longer stored text is not opened (a message says
// so, and the item keeps its text), whether rich text or a single line; one at the limit opens.
TEST_F(RichTextEditorTest, TextsLongerThanTheEditorHoldsAreNotOpened) {
    const QByteArray head = "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\\pard\\f0 ";
    struct Case {
        const char* what;
        int length; // characters of the text
        bool plain;
    } cases[] = {{"rich text at the limit", 32767, false},
                 {"rich text past the limit", 32768, false},
                 {"paragraphs past the limit", 32768, false},
                 {"a line at the limit", 32767, true},
                 {"a line past the limit", 32768, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        m_messages.clear();
        if (c.plain) {
            m_f->m_plainText = 1;
            m_f->m_rtf = CString::FromQString(QString(c.length, QChar('a')));
            m_f->m_plainFace = u"Times New Roman";
            m_f->m_plainTwips = 300;
        } else if (QByteArray(c.what).startsWith("paragraphs")) {
            // Paragraph ends count one each.
            m_f->m_rtf = PackRtfBytes(head + QByteArray("\\par ").repeated(c.length - 1) + "a}");
        } else {
            m_f->m_rtf = PackRtfBytes(head + QByteArray(c.length, 'a') + "\\par}");
        }
        const CString stored = m_f->m_rtf;
        m_window = std::make_unique<CDlgRtEditWindow>(*m_f);
        const bool fits = c.length <= 32767;
        EXPECT_EQ(m_window->OnInitDialog(), fits ? 0 : -1);
        if (fits) {
            EXPECT_TRUE(m_messages.empty());
            EXPECT_EQ(m_window->Editor()->document()->characterCount() - 1, c.length);
        } else {
            ASSERT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(m_messages[0], QString::fromUtf16(g_rtTooLongMessage));
        }
        EXPECT_EQ(m_f->m_rtf, stored);
        EXPECT_TRUE(m_f->m_picture.empty());
    }
    // Shown through the dialog's DoModal, a text too long gives IDCANCEL at once.
    Reset();
    m_messages.clear();
    m_window.reset();
    m_f->m_rtf = PackRtfBytes(head + QByteArray(100000, 'a') + "\\par}");
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            shown = true;
            dialog->close();
        }
    });
    EXPECT_EQ(m_f->DoModal(), IDCANCEL);
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], QString::fromUtf16(g_rtTooLongMessage));
}

// Pasting (or dropping) text that would make the editor's text longer than it holds is refused with
// a message, the text left as it was; a paste up to the limit goes in.
TEST_F(RichTextEditorTest, PastesBeyondTheLimitAreRefused) {
    QTextEdit* editor = Open();
    editor->insertPlainText(QString(32000, 'a'));
    Select(0, 10); // replaced by the paste
    QMimeData fits;
    fits.setText(QString(777, 'b'));
    QApplication::clipboard()->setMimeData(new QMimeData);
    auto paste = [&](const QMimeData& data) {
        auto* copy = new QMimeData;
        for (const QString& format : data.formats())
            copy->setData(format, data.data(format));
        QApplication::clipboard()->setMimeData(copy);
        m_window->RunCommand(ID_RT_PASTE);
    };
    paste(fits);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(editor->document()->characterCount() - 1, 32767);
    // One character more, as plain text or as rich text, is refused.
    QMimeData one;
    one.setText(QStringLiteral("c"));
    paste(one);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], QString::fromUtf16(g_rtPasteTooLongMessage));
    QMimeData html;
    html.setHtml(QStringLiteral("<p><b>c</b></p>"));
    paste(html);
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(editor->document()->characterCount() - 1, 32767);
    EXPECT_FALSE(editor->toPlainText().contains(QChar('c')));
    // Replacing a selection makes room.
    Select(0, 1);
    paste(html);
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_TRUE(editor->toPlainText().startsWith(QChar('c')));
}

// Keys typed into the shown editor stop at the limit (Return as well, which neither makes a
// paragraph nor reaches OK), with a warning sound and no message; what 确定 takes opens again.
TEST_F(RichTextEditorTest, TypingStopsAtTheLimitAndTheTextOpensAgain) {
    struct Case {
        int length;
        const char* typed;
        const char* kept;
    } cases[] = {{32767, "xy", ""}, {32765, "xyz", "xy"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        Reset();
        m_messages.clear();
        m_beeps = 0;
        m_f->m_rtf = TextOfLength(c.length);
        bool typed = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* editor = dialog->findChild<QTextEdit*>(QStringLiteral("1199"));
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(Length(*editor), c.length);
            editor->moveCursor(QTextCursor::End);
            QTest::keyClicks(editor, QString::fromLatin1(c.typed));
            QTest::keyClick(editor, Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(Length(*editor), 32767);
            EXPECT_TRUE(editor->toPlainText().endsWith(QStringLiteral("a") + c.kept));
            typed = true;
            dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
        });
        EXPECT_EQ(m_f->DoModal(), IDOK);
        EXPECT_TRUE(typed);
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(m_beeps, int(qstrlen(c.typed) - qstrlen(c.kept)) + 1);
        // Opened again, as it was left.
        qsizetype reopened = -1;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                reopened = Length(*dialog->findChild<QTextEdit*>(QStringLiteral("1199")));
                dialog->close();
            }
        });
        EXPECT_EQ(m_f->DoModal(), IDCANCEL);
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(reopened, 32767);
    }
}

// An input method's result and a symbol go in only where they fit (a replaced part of the text
// making room); a preedit is not text yet, and a refused result ends the composition.
TEST_F(RichTextEditorTest, InputMethodResultsAndSymbolsKeepTheLimit) {
    m_f->m_rtf = TextOfLength(32764);
    QTextEdit* editor = Open();
    editor->moveCursor(QTextCursor::End);
    auto send = [&](const QString& preedit, const QString& commit, int from = 0, int replaced = 0) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit, from, replaced);
        QApplication::sendEvent(editor, &event);
    };
    send(QStringLiteral("zhongwenzi"), QString());
    EXPECT_EQ(Length(*editor), 32764);
    send(QString(), QStringLiteral("中文字字"));
    EXPECT_EQ(Length(*editor), 32764);
    EXPECT_TRUE(editor->textCursor().block().layout()->preeditAreaText().isEmpty());
    EXPECT_EQ(m_beeps, 1);
    send(QString(), QStringLiteral("中文"));
    EXPECT_EQ(Length(*editor), 32766);
    send(QString(), QStringLiteral("字字"), -1, 1); // in place of "文"
    EXPECT_EQ(Length(*editor), 32767);
    EXPECT_TRUE(editor->toPlainText().endsWith(QStringLiteral("a中字字")));
    send(QString(), QStringLiteral("字"));
    m_window->SendMessage(UM_INSERT_SYMBOL, 0, LPARAM(0));
    EXPECT_EQ(Length(*editor), 32767);
    EXPECT_EQ(m_beeps, 3);
    Select(32766, 32767); // a symbol in place of the selection fits
    m_window->SendMessage(UM_INSERT_SYMBOL, 0, LPARAM(0));
    EXPECT_TRUE(editor->toPlainText().endsWith(QStringLiteral("a中字α")));
    EXPECT_TRUE(m_messages.empty());
}

// A change that passes the limit without asking first (as an edit of the document made elsewhere
// would) is taken back once the editor is idle and cannot be redone; an undo that would go back past
// the limit is refused, by the keys and by the toolbar; OK takes back at once what is still over.
TEST_F(RichTextEditorTest, UndoAndRedoKeepTheLimit) {
    m_f->m_rtf = TextOfLength(32760);
    QTextEdit* editor = Open();
    QTextDocument* doc = editor->document();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("xyz"));
    auto insertElsewhere = [&] {
        QTextCursor c(doc);
        c.movePosition(QTextCursor::End);
        c.beginEditBlock();
        c.insertText(QStringLiteral("0123456789"));
        c.endEditBlock();
    };
    insertElsewhere();
    EXPECT_EQ(Length(*editor), 32773);
    QApplication::processEvents();
    EXPECT_EQ(Length(*editor), 32763);
    EXPECT_EQ(m_beeps, 1);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Length(*editor), 32763);
    // Made smaller again before the editor was idle, the change stays; undoing back past it is
    // refused and redone.
    insertElsewhere();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(editor, Qt::Key_Backspace);
    QApplication::processEvents();
    EXPECT_EQ(Length(*editor), 32767);
    EXPECT_EQ(m_beeps, 1);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Length(*editor), 32767);
    EXPECT_TRUE(editor->toPlainText().endsWith(QStringLiteral("xyz0123")));
    EXPECT_EQ(m_beeps, 2);
    // The toolbar's undo likewise.
    m_window->RunCommand(ID_RT_UNDO);
    QApplication::processEvents();
    EXPECT_EQ(Length(*editor), 32767);
    EXPECT_EQ(m_beeps, 3);
    // OK takes back at once what is not yet taken back.
    insertElsewhere();
    m_window->OnOK();
    EXPECT_EQ(m_window->result(), int(QDialog::Accepted));
    QTextDocument back;
    ASSERT_TRUE(HxRtfToDocument(UnpackRtfBytes(m_f->m_rtf), back, nullptr, CDlgRtEdit::kMaxTextLength));
    EXPECT_EQ(back.characterCount() - 1, 32767);
    EXPECT_TRUE(m_messages.empty());
}

// Growing with a long text, the editor moves up as far as needed for the whole window, its
// buttons included, to stay within the screen's available area.
TEST_F(RichTextEditorTest, TheGrowingEditorStaysOnTheScreen) {
    QTextEdit* editor = Open();
    QApplication::processEvents();
    const QRect area = m_window->screen()->availableGeometry();
    const QRect before = m_window->frameGeometry();
    ASSERT_GT(area.height(), 700 + before.height() - m_window->height());
    m_window->move(area.left() + 20, area.bottom() - before.height() - 20);
    QApplication::processEvents();
    ASSERT_TRUE(area.contains(m_window->frameGeometry()));
    editor->insertPlainText(QString(3000, QChar(u'字')));
    QApplication::processEvents();
    EXPECT_EQ(m_window->height(), 700);
    EXPECT_TRUE(area.contains(m_window->frameGeometry()))
        << m_window->frameGeometry().bottom() << " > " << area.bottom();
    EXPECT_EQ(m_window->frameGeometry().left(), area.left() + 20);
    for (const char* id : {"1", "2"}) {
        auto* button = m_window->findChild<QPushButton*>(QString::fromLatin1(id));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(area.contains(QRect(button->mapToGlobal(QPoint()), button->size()))) << id;
    }
}
