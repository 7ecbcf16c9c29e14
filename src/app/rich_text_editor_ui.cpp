// The rich-text editor window: toolbar, formatting commands, symbol palette, paragraph and font
// dialogs, context menu, the formula and object stand-ins, resizing with the text, and OK.
#include "app/rich_text_editor_ui.h"

#include "app/format_toolbar.h"
#include "app/formula_icons.h"
#include "app/formula_ids.h"
#include "app/symbol_palette.h"
#include "formula/formula_editor.h"
#include "measure/rich_text.h"
#include "measure/rich_text_format.h"
#include "platform/beep.h"
#include "platform/dc_painter.h"
#include "platform/font_dialog.h"
#include "view/glyph_font.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDialogButtonBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace HxRtf;

// ---------------------------------------------------------------------------------------------
// Paragraph formats

CParaFormat HxParaFormatOfBlock(const QTextBlockFormat& b, const QTextList* list) {
    CParaFormat pf;
    pf.mask = PARA_ALIGNMENT | PARA_STARTINDENT | PARA_RIGHTINDENT | PARA_OFFSET | PARA_SPACEBEFORE |
              PARA_SPACEAFTER | PARA_LINESPACING | PARA_NUMBERING | PARA_NUMBERINGSTART | PARA_NUMBERINGSTYLE;
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    pf.alignment = (a & Qt::AlignRight) ? 2 : (a & Qt::AlignHCenter) ? 3 : 1;
    pf.startIndent = PixelsToTwips(b.leftMargin() + b.textIndent());
    pf.offset = PixelsToTwips(-b.textIndent());
    pf.rightIndent = PixelsToTwips(b.rightMargin());
    pf.spaceBefore = PixelsToTwips(b.topMargin());
    pf.spaceAfter = PixelsToTwips(b.bottomMargin());
    switch (b.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (std::lround(b.lineHeight()) == 150) {
            pf.lineSpacingRule = 1;
        } else if (std::lround(b.lineHeight()) == 200) {
            pf.lineSpacingRule = 2;
        } else {
            pf.lineSpacingRule = 5;
            pf.lineSpacing = LONG(std::lround(b.lineHeight() / 5.0));
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        pf.lineSpacingRule = 3;
        pf.lineSpacing = PixelsToTwips(b.lineHeight());
        break;
    case QTextBlockFormat::FixedHeight:
        pf.lineSpacingRule = 4;
        pf.lineSpacing = PixelsToTwips(b.lineHeight());
        break;
    default:
        pf.lineSpacingRule = 0;
        break;
    }
    if (list) {
        const QTextListFormat lf = list->format();
        switch (lf.style()) {
        case QTextListFormat::ListDecimal:
            pf.numbering = 2;
            break;
        case QTextListFormat::ListLowerAlpha:
            pf.numbering = 3;
            break;
        case QTextListFormat::ListUpperAlpha:
            pf.numbering = 4;
            break;
        case QTextListFormat::ListLowerRoman:
            pf.numbering = 5;
            break;
        case QTextListFormat::ListUpperRoman:
            pf.numbering = 6;
            break;
        default:
            pf.numbering = 1;
            break;
        }
        pf.numberingStart = lf.hasProperty(kListStart) ? lf.intProperty(kListStart) : 1;
        const QString before = lf.numberPrefix(), after = lf.numberSuffix();
        pf.numberingStyle = before == QStringLiteral("(")  ? 0x100
                            : after == QStringLiteral(".") ? 0x200
                            : after.isEmpty()              ? 0x300
                                                           : 0;
    }
    return pf;
}

void HxApplyParaFormat(QTextCursor cursor, const CParaFormat& pf) {
    QTextDocument* doc = cursor.document();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    QTextListFormat lf;
    if (pf.numbering != 0) {
        static const QTextListFormat::Style kStyles[] = {
            QTextListFormat::ListDisc,       QTextListFormat::ListDisc,       QTextListFormat::ListDecimal,
            QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerRoman,
            QTextListFormat::ListUpperRoman, QTextListFormat::ListDecimal};
        lf.setStyle(kStyles[std::clamp(pf.numbering, 0, 7)]);
        if (pf.numbering >= 2) {
            switch (pf.numberingStyle) {
            case 0x100:
                lf.setNumberPrefix(QStringLiteral("("));
                lf.setNumberSuffix(QStringLiteral(")"));
                break;
            case 0x200:
                lf.setNumberSuffix(QStringLiteral("."));
                break;
            case 0x300:
                lf.setNumberSuffix(QString());
                break;
            default:
                lf.setNumberSuffix(QStringLiteral(")"));
                break;
            }
            lf.setProperty(kListStart, pf.numberingStart);
        }
    }
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        bf.setAlignment(pf.alignment == 2   ? Qt::AlignRight
                        : pf.alignment == 3 ? Qt::AlignHCenter
                                            : Qt::AlignLeft);
        bf.setTextIndent(TwipsToPixels(int(-pf.offset)));
        bf.setLeftMargin(TwipsToPixels(int(pf.startIndent + pf.offset)));
        bf.setRightMargin(TwipsToPixels(int(pf.rightIndent)));
        bf.setTopMargin(TwipsToPixels(int(pf.spaceBefore)));
        bf.setBottomMargin(TwipsToPixels(int(pf.spaceAfter)));
        switch (pf.lineSpacingRule) {
        case 1:
            bf.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
            break;
        case 2:
            bf.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
            break;
        case 3:
            bf.setLineHeight(TwipsToPixels(int(pf.lineSpacing)), QTextBlockFormat::MinimumHeight);
            break;
        case 4:
            bf.setLineHeight(TwipsToPixels(int(pf.lineSpacing)), QTextBlockFormat::FixedHeight);
            break;
        case 5:
            bf.setLineHeight(double(pf.lineSpacing) * 5.0, QTextBlockFormat::ProportionalHeight);
            break;
        default:
            bf.setLineHeight(0, QTextBlockFormat::SingleHeight);
            break;
        }
        QTextCursor c(b);
        c.setBlockFormat(bf);
        if (QTextList* old = b.textList())
            old->remove(b);
        if (pf.numbering != 0) {
            if (!list)
                list = c.createList(lf);
            else
                list->add(b);
        } else {
            QTextBlockFormat plain = c.blockFormat();
            plain.setIndent(0);
            c.setBlockFormat(plain);
        }
        if (b == last)
            break;
    }
    cursor.endEditBlock();
}

// ---------------------------------------------------------------------------------------------
// The window

namespace {

struct CommandText {
    UINT id;
    const char16_t* tip;
    const char16_t* label; // the button's text where it has no picture
};

const CommandText kCommands[] = {
    {ID_RT_UNDO, u"撤消", nullptr},
    {ID_RT_REDO, u"重做", nullptr},
    {ID_RT_CUT, u"剪切", nullptr},
    {ID_RT_COPY, u"复制", nullptr},
    {ID_RT_PASTE, u"粘贴", nullptr},
    {ID_RT_BOLD, u"粗体", nullptr},
    {ID_RT_ITALIC, u"斜体", nullptr},
    {ID_RT_UNDERLINE, u"下划线", nullptr},
    {ID_RT_SUPERSCRIPT, u"上标", u"x²"},
    {ID_RT_SUBSCRIPT, u"下标", u"x₂"},
    {ID_RT_FONT, u"字体", u"字体"},
    {ID_RT_PARAGRAPH, u"段落(&A)...", u"段落"},
    {ID_RT_SYMBOL, u"插入常用符号", nullptr},
    {ID_RT_EQUATION, u"公式编辑器", u"公式"},
    {ID_RT_INSERT_OBJECT, u"插入对象(&I)...", u"对象"},
};

const CommandText* FindCommand(UINT id) {
    for (const CommandText& c : kCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

// The picture of a command: the formula editor's own for the commands both editors have.
QIcon CommandIcon(UINT id) {
    switch (id) {
    case ID_RT_UNDO:
        return HxFormatToolIcon(ID_EDIT_UNDO);
    case ID_RT_REDO:
        return HxFormatToolIcon(ID_EDIT_REDO);
    case ID_RT_CUT:
        return HxFormatToolIcon(ID_EDIT_CUT);
    case ID_RT_COPY:
        return HxFormatToolIcon(ID_EDIT_COPY);
    case ID_RT_PASTE:
        return HxFormatToolIcon(ID_EDIT_PASTE);
    case ID_RT_BOLD:
        return HxFormatToolIcon(ID_CHAR_BOLD);
    case ID_RT_ITALIC:
        return HxFormatToolIcon(ID_CHAR_ITALIC);
    case ID_RT_UNDERLINE:
        return HxFormatToolIcon(ID_CHAR_UNDERLINE);
    case ID_RT_SYMBOL:
        return HxFormatToolIcon(ID_MTF_SYMBOL);
    default:
        return QIcon();
    }
}

// Whether one property has the same value over the selection (at the cursor when nothing is
// selected): the value in `value`.
bool Uniform(const QTextEdit& editor, const std::function<int(const QTextCharFormat&)>& property,
             int* value) {
    const QTextCursor c = editor.textCursor();
    if (!c.hasSelection()) {
        *value = property(editor.currentCharFormat());
        return true;
    }
    const int start = c.selectionStart(), end = c.selectionEnd();
    bool first = true;
    for (QTextBlock b = editor.document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            const int v = property(f.charFormat());
            if (first) {
                *value = v;
                first = false;
            } else if (v != *value) {
                return false;
            }
        }
    }
    if (first)
        *value = property(editor.currentCharFormat());
    return true;
}

int Script(const QTextCharFormat& f) {
    return f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
           : f.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                      : 0;
}

// The editor's text box.  Whatever comes in (keys, an input method's result, a paste or a drop, the
// editor's own commands) goes in only while the text stays within what the editor holds, counted as
// the opening counts it: a text far longer would keep the editor busy laying it out, and one past
// the limit would not open again.  A paste or a drop refused says so; a key, an input method's
// result or a symbol refused sounds the warning, as typing into a full box does, without a message
// at every key.  Anything else that passes the limit (an undo or a redo, an edit that did not ask
// first) is taken back as soon as the editor is idle, and at OK.
class CRichEditBox : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

    // The characters of the text as the opening counts them: paragraph ends and objects one each.
    qsizetype Length() const { return document()->characterCount() - 1; }
    // Whether `incoming` characters fit in place of the selection and `replaced` characters more.
    bool Fits(qsizetype incoming, qsizetype replaced = 0) const {
        const QTextCursor c = textCursor();
        const qsizetype room =
            CDlgRtEdit::kMaxTextLength - Length() + (c.selectionEnd() - c.selectionStart()) + replaced;
        return incoming <= room;
    }

    // From now on (the content loaded), a change that leaves the text too long is taken back.
    void HoldLimit() {
        m_undoSteps = document()->availableUndoSteps();
        connect(document(), &QTextDocument::contentsChanged, this, [this] {
            if (Length() <= CDlgRtEdit::kMaxTextLength) {
                m_undoSteps = document()->availableUndoSteps();
            } else if (!m_takeBackQueued) {
                // Not within the change: the edit that made it (a key, an undo, a drop) is not over.
                m_takeBackQueued = true;
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        m_takeBackQueued = false;
                        TakeBackSurplus();
                    },
                    Qt::QueuedConnection);
            }
        });
    }

    // Takes back what passed the limit: an undo that went back past it is redone, any other change
    // undone and not left to redo; should that not do, the surplus goes from the end of the text.
    void TakeBackSurplus() {
        QTextDocument* doc = document();
        if (Length() <= CDlgRtEdit::kMaxTextLength)
            return;
        MessageBeep(MB_OK);
        if (doc->availableUndoSteps() < m_undoSteps && doc->isRedoAvailable()) {
            redo();
        } else if (doc->isUndoAvailable()) {
            undo();
            doc->clearUndoRedoStacks(QTextDocument::RedoStack);
        }
        if (Length() > CDlgRtEdit::kMaxTextLength) {
            QTextCursor c(doc);
            c.movePosition(QTextCursor::End);
            c.setPosition(CDlgRtEdit::kMaxTextLength, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const qsizetype typed = TypedLength(*event);
        if (typed > 0 && !isReadOnly() && !Fits(typed)) {
            // Taken here, so that Return never reaches the dialog's default button either.
            MessageBeep(MB_OK);
            event->accept();
            return;
        }
        QTextEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        const QString commit = event->commitString();
        if (!commit.isEmpty() && !isReadOnly() && !Fits(commit.size(), event->replacementLength())) {
            // The result is refused; the composition itself ends (or goes on) as the input method says.
            QInputMethodEvent refused(event->preeditString(), event->attributes());
            QTextEdit::inputMethodEvent(&refused);
            MessageBeep(MB_OK);
            event->accept();
            return;
        }
        QTextEdit::inputMethodEvent(event);
    }

    void insertFromMimeData(const QMimeData* source) override {
        if (source && !Fits(*source)) {
            AfxMessageBox(g_rtPasteTooLongMessage, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        QTextEdit::insertFromMimeData(source);
    }

private:
    // The characters a key puts in: a paragraph or line end, or the key's text where the text edit
    // types it (not for control characters, nor with Ctrl held, which makes it a command).
    static qsizetype TypedLength(const QKeyEvent& event) {
        if (event.matches(QKeySequence::InsertParagraphSeparator) ||
            event.matches(QKeySequence::InsertLineSeparator))
            return 1;
        const QString text = event.text();
        if (text.isEmpty())
            return 0;
        const QChar first = text.front();
        if (first.category() == QChar::Other_Format)
            return text.size();
        const Qt::KeyboardModifiers mods = event.modifiers();
        if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))
            return 0;
        return first.category() != QChar::Other_Control || first == u'\t' ? text.size() : 0;
    }

    bool Fits(const QMimeData& source) const {
        const bool rich = acceptRichText() && source.hasHtml();
        const QString html = rich ? source.html() : QString();
        // Markup is never shorter than its text: a short one fits without being read.
        if (Fits(html.size()) && Fits(source.text().size()))
            return true;
        // As the text edit reads it: the rich text when there is one, else the plain text.
        return Fits(rich ? QTextDocumentFragment::fromHtml(html, document()).toPlainText().size()
                         : source.text().size());
    }

    int m_undoSteps = 0; // of the last change that kept the text within the limit
    bool m_takeBackQueued = false;
};

CRichEditBox& Box(QTextEdit* editor) {
    return *static_cast<CRichEditBox*>(editor);
}

std::function<int(const QTextCharFormat&)> EffectOf(UINT id) {
    switch (id) {
    case ID_RT_BOLD:
        return [](const QTextCharFormat& f) { return f.fontWeight() >= QFont::DemiBold ? 1 : 0; };
    case ID_RT_ITALIC:
        return [](const QTextCharFormat& f) { return f.fontItalic() ? 1 : 0; };
    default:
        return [](const QTextCharFormat& f) { return f.fontUnderline() ? 1 : 0; };
    }
}

} // namespace

CDlgRtEditWindow::CDlgRtEditWindow(CDlgRtEdit& fields, QWidget* parent) : QDialog(parent), m_fields(fields) {
    setWindowTitle(QStringLiteral("RTF单色普通文本编辑"));
    setObjectName(QStringLiteral("240"));
    HxInstallFontSubstitutions();
    m_editor = new CRichEditBox(this);
    m_editor->setObjectName(QStringLiteral("1199"));
    m_editor->setAcceptRichText(true);
    m_editor->setLineWrapMode(QTextEdit::WidgetWidth);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_editor, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateContextMenu(this);
        menu->exec(m_editor->viewport()->mapToGlobal(at));
        delete menu;
    });
    auto* box = new QDialogButtonBox(this);
    box->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("1"));
    box->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("2"));
    connect(box, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_buttons = box;
    OnMessageId(UM_FORMAT_FONTNAME, &CDlgRtEditWindow::OnFontName);
    OnMessageId(UM_FORMAT_FONTSIZE, &CDlgRtEditWindow::OnFontSize);
    OnMessageId(UM_FORMAT_DONE, &CDlgRtEditWindow::OnFormatDone);
    OnMessageId(UM_INSERT_SYMBOL, &CDlgRtEditWindow::OnInsertSymbol);
}

CDlgRtEditWindow::~CDlgRtEditWindow() = default;

QAction* CDlgRtEditWindow::AddCommand(UINT id) {
    const CommandText* text = FindCommand(id);
    QAction* action = m_formatBar->addAction(QString());
    action->setData(id);
    const QIcon icon = CommandIcon(id);
    if (!icon.isNull())
        action->setIcon(icon);
    else if (text && text->label)
        action->setText(QString::fromUtf16(text->label));
    if (text) {
        QString tip = QString::fromUtf16(text->tip);
        tip.remove(QStringLiteral("(&A)")).remove(QStringLiteral("(&I)"));
        action->setToolTip(tip);
        if (action->text().isEmpty())
            action->setText(tip);
    }
    if (id == ID_RT_BOLD || id == ID_RT_ITALIC || id == ID_RT_UNDERLINE || id == ID_RT_SUPERSCRIPT ||
        id == ID_RT_SUBSCRIPT)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] {
        RunCommand(id);
        UpdateToolbars();
    });
    return action;
}

int CDlgRtEditWindow::OnInitDialog() {
    m_formatBar = new CFormatToolBar(this, this);
    m_formatBar->setObjectName(QStringLiteral("237"));
    const UINT layout[] = {ID_RT_UNDO,
                           ID_RT_REDO,
                           0,
                           ID_RT_CUT,
                           ID_RT_COPY,
                           ID_RT_PASTE,
                           0,
                           ID_FORMAT_FONTNAME,
                           ID_FORMAT_FONTSIZE,
                           0,
                           ID_RT_BOLD,
                           ID_RT_ITALIC,
                           ID_RT_UNDERLINE,
                           ID_RT_SUPERSCRIPT,
                           ID_RT_SUBSCRIPT,
                           0,
                           ID_RT_FONT,
                           ID_RT_PARAGRAPH,
                           ID_RT_SYMBOL,
                           0,
                           ID_RT_EQUATION,
                           ID_RT_INSERT_OBJECT};
    for (UINT id : layout) {
        if (id == 0)
            m_formatBar->addSeparator();
        else if (id == ID_FORMAT_FONTNAME || id == ID_FORMAT_FONTSIZE)
            m_formatBar->addAction(QString())->setData(id);
        else
            AddCommand(id);
    }
    m_formatBar->CreateCombos(false);
    m_formatBar->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; } QToolButton { padding: 1px; }"));

    // The default format of new text, then the content.
    QTextDocument* doc = m_editor->document();
    HxInstallRichObjectHandler(*doc);
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(26.0);
    font.setBold(true);
    doc->setDefaultFont(font);
    bool tooLong = false;
    if (!m_fields.LoadDocument(*doc, &tooLong)) {
        doc->clear();
        if (tooLong) {
            // Not opened: the item keeps its text as it is.
            AfxMessageBox(g_rtTooLongMessage, MB_OK | MB_ICONEXCLAMATION);
            return -1;
        }
    }
    HxInstallRichObjectHandler(*doc);
    QTextCursor start(doc);
    m_editor->setTextCursor(start);
    if (doc->isEmpty())
        m_editor->setCurrentCharFormat(CDlgRtEdit::DefaultCharFormat());
    doc->setModified(false);
    doc->clearUndoRedoStacks();
    Box(m_editor).HoldLimit();

    // The editor's formatting rectangle keeps its size below the toolbar.
    const int frame = 2 * m_editor->frameWidth();
    const int bar = m_formatBar->sizeHint().height();
    const int buttons = m_buttons->sizeHint().height() + 8;
    resize(kEditorWidth + frame, bar + kEditorHeight + frame + buttons);
    setMinimumSize(200, 100);
    connect(doc->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& size) { OnDocumentHeight(size.height()); });
    LayoutEditor();
    m_editor->setFocus();

    m_idle = new QTimer(this);
    connect(m_idle, &QTimer::timeout, this, [this] { UpdateToolbars(); });
    m_idle->start(150);
    connect(m_editor, &QTextEdit::cursorPositionChanged, this, [this] { UpdateToolbars(); });
    connect(m_editor, &QTextEdit::selectionChanged, this, [this] { UpdateToolbars(); });
    UpdateToolbars();
    return 0;
}

QAction* CDlgRtEditWindow::ToolAction(UINT id) const {
    if (m_formatBar)
        for (QAction* a : m_formatBar->actions())
            if (!a->isSeparator() && a->data().toUInt() == id)
                return a;
    return nullptr;
}

bool CDlgRtEditWindow::IsCommandEnabled(UINT id) const {
    const bool selection = m_editor->textCursor().hasSelection();
    switch (id) {
    case ID_RT_UNDO:
        return m_editor->document()->isUndoAvailable();
    case ID_RT_REDO:
        return m_editor->document()->isRedoAvailable();
    case ID_RT_PASTE:
        return m_editor->canPaste();
    case ID_RT_CUT:
    case ID_RT_COPY:
    case ID_RT_DELETE:
        return selection;
    default:
        return true;
    }
}

bool CDlgRtEditWindow::IsCommandChecked(UINT id) const {
    int v = 0;
    switch (id) {
    case ID_RT_BOLD:
    case ID_RT_ITALIC:
    case ID_RT_UNDERLINE:
        return Uniform(*m_editor, EffectOf(id), &v) && v == 1;
    case ID_RT_SUPERSCRIPT:
        return Uniform(*m_editor, Script, &v) && v == 1;
    case ID_RT_SUBSCRIPT:
        return Uniform(*m_editor, Script, &v) && v == 2;
    default:
        return false;
    }
}

void CDlgRtEditWindow::UpdateToolbars() {
    if (!m_formatBar)
        return;
    for (QAction* a : m_formatBar->actions()) {
        const UINT id = a->data().toUInt();
        if (a->isSeparator() || id == 0 || id == ID_FORMAT_FONTNAME || id == ID_FORMAT_FONTSIZE)
            continue;
        a->setEnabled(IsCommandEnabled(id));
        if (a->isCheckable())
            a->setChecked(IsCommandChecked(id));
    }
    const QTextCharFormat f = m_editor->currentCharFormat();
    const QStringList families = f.fontFamilies().toStringList();
    const double points =
        f.fontPointSize() > 0 ? f.fontPointSize() : m_editor->document()->defaultFont().pointSizeF();
    m_formatBar->SyncFont(CString::FromQString(families.isEmpty()
                                                   ? m_editor->document()->defaultFont().family()
                                                   : families.first()),
                          int(std::lround(points * 20.0)));
}

void CDlgRtEditWindow::MergeFormat(const QTextCharFormat& format) {
    QTextCursor c = m_editor->textCursor();
    if (c.hasSelection())
        c.mergeCharFormat(format);
    m_editor->mergeCurrentCharFormat(format);
}

void CDlgRtEditWindow::ToggleEffect(UINT id) {
    int v = 0;
    const bool on = Uniform(*m_editor, EffectOf(id), &v) ? v == 0 : true;
    QTextCharFormat f;
    if (id == ID_RT_BOLD)
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (id == ID_RT_ITALIC)
        f.setFontItalic(on);
    else
        f.setFontUnderline(on);
    MergeFormat(f);
}

void CDlgRtEditWindow::ToggleScript(bool super) {
    int v = 0;
    const bool uniform = Uniform(*m_editor, Script, &v);
    const int mine = super ? 1 : 2;
    // The other script becomes this one; this one is toggled where uniform, else set.
    const int next = uniform && v == mine ? 0 : mine;
    QTextCharFormat f;
    f.setVerticalAlignment(next == 1   ? QTextCharFormat::AlignSuperScript
                           : next == 2 ? QTextCharFormat::AlignSubScript
                                       : QTextCharFormat::AlignNormal);
    MergeFormat(f);
}

void CDlgRtEditWindow::RunCommand(UINT id) {
    switch (id) {
    case ID_RT_UNDO:
        m_editor->undo();
        break;
    case ID_RT_REDO:
        m_editor->redo();
        break;
    case ID_RT_CUT:
        m_editor->cut();
        break;
    case ID_RT_COPY:
        m_editor->copy();
        break;
    case ID_RT_PASTE:
        m_editor->paste();
        break;
    case ID_RT_DELETE:
        m_editor->textCursor().removeSelectedText();
        break;
    case ID_RT_SELECT_ALL:
        m_editor->selectAll();
        break;
    case ID_RT_BOLD:
    case ID_RT_ITALIC:
    case ID_RT_UNDERLINE:
        ToggleEffect(id);
        break;
    case ID_RT_SUPERSCRIPT:
        ToggleScript(true);
        break;
    case ID_RT_SUBSCRIPT:
        ToggleScript(false);
        break;
    case ID_RT_FONT:
        OnFontDialog();
        break;
    case ID_RT_PARAGRAPH:
        OnParagraphDialog();
        break;
    case ID_RT_SYMBOL:
        OnSymbolButton();
        break;
    // Neither a formula server nor OLE objects exist here: the editor says so, as it does where
    // "Equation.3" is not installed or an object cannot be inserted.
    case ID_RT_EQUATION:
        AfxMessageBox(g_rtNoEquationMessage, MB_OK | MB_ICONEXCLAMATION);
        break;
    case ID_RT_INSERT_OBJECT:
        AfxMessageBox(g_rtInsertObjectMessage, MB_OK | MB_ICONEXCLAMATION);
        break;
    default:
        return;
    }
    if (id != ID_RT_FONT && id != ID_RT_PARAGRAPH && id != ID_RT_EQUATION && id != ID_RT_INSERT_OBJECT)
        m_editor->setFocus();
}

QMenu* CDlgRtEditWindow::CreateContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    auto add = [&](const char16_t* text, UINT id) {
        QAction* a = menu->addAction(QString::fromUtf16(text));
        a->setData(id);
        a->setEnabled(IsCommandEnabled(id));
        connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    add(u"剪切(&T)", ID_RT_CUT);
    add(u"复制(&C)", ID_RT_COPY);
    add(u"粘贴(&P)", ID_RT_PASTE);
    add(u"删除(&D)", ID_RT_DELETE);
    menu->addSeparator();
    add(u"全选(&L)", ID_RT_SELECT_ALL);
    menu->addSeparator();
    add(u"字体(&F)...", ID_RT_FONT);
    add(u"段落(&A)...", ID_RT_PARAGRAPH);
    menu->addSeparator();
    add(u"插入对象(&I)...", ID_RT_INSERT_OBJECT);
    return menu;
}

void CDlgRtEditWindow::OnFontDialog() {
    const QTextCharFormat f = m_editor->currentCharFormat();
    LOGFONT lf;
    const QStringList families = f.fontFamilies().toStringList();
    HxSetFaceName(lf, CString::FromQString(families.isEmpty() ? QStringLiteral("宋体") : families.first()));
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : 26.0;
    lf.lfHeight = -LONG(std::lround(points * 96.0 / 72.0));
    lf.lfWeight = f.fontWeight() >= QFont::DemiBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.fontItalic() ? 1 : 0;
    lf.lfUnderline = f.fontUnderline() ? 1 : 0;
    lf.lfCharSet = BYTE(f.hasProperty(kFontCharset) ? f.intProperty(kFontCharset) : 134);
    CFontDialog dlg(&lf, CF_SCREENFONTS);
    if (dlg.DoModal() != IDOK)
        return;
    QTextCharFormat out;
    out.setFontFamilies({HxGetFaceName(dlg.m_lf).ToQString()});
    if (dlg.m_lf.lfHeight != 0)
        out.setFontPointSize(std::clamp(std::abs(double(dlg.m_lf.lfHeight)) * 72.0 / 96.0, 1.0, 1638.0));
    out.setFontWeight(dlg.m_lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    out.setFontItalic(dlg.m_lf.lfItalic != 0);
    out.setFontUnderline(dlg.m_lf.lfUnderline != 0);
    out.setProperty(kFontCharset, int(dlg.m_lf.lfCharSet));
    MergeFormat(out);
    m_editor->setFocus();
}

void CDlgRtEditWindow::OnParagraphDialog() {
    const QTextCursor c = m_editor->textCursor();
    CFormatParaDlg dlg(HxParaFormatOfBlock(c.blockFormat(), c.currentList()));
    if (dlg.DoModal() != IDOK)
        return;
    HxApplyParaFormat(c, dlg.m_pf);
    m_editor->setFocus();
}

void CDlgRtEditWindow::OnSymbolButton() {
    QWidget* button = m_formatBar ? m_formatBar->widgetForAction(ToolAction(ID_RT_SYMBOL)) : nullptr;
    const QPoint at = button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    CToolBarPopupWnd::Create(this, HxSymbolImages(), at, this);
}

void CDlgRtEditWindow::InsertSymbol(int index) {
    if (index < 0 || index >= HX_FORMULA_SYMBOL_COUNT)
        return;
    // One character, refused as a key is when the text is full.
    if (!Box(m_editor).Fits(1)) {
        MessageBeep(MB_OK);
        m_editor->setFocus();
        return;
    }
    // Every symbol, those the original typed through the keyboard too, goes in as one step.
    QTextCursor c = m_editor->textCursor();
    c.beginEditBlock();
    c.insertText(QString(QChar(HxFormulaSymbol(index))), m_editor->currentCharFormat());
    c.endEditBlock();
    m_editor->setFocus();
}

LRESULT CDlgRtEditWindow::OnFontName(WPARAM, LPARAM record) {
    if (const auto* r = reinterpret_cast<const HxFormatFontRecord*>(record)) {
        QTextCharFormat f;
        f.setFontFamilies({r->face.ToQString()});
        f.setProperty(kFontCharset, r->charset);
        MergeFormat(f);
    }
    m_editor->setFocus();
    return 0;
}

LRESULT CDlgRtEditWindow::OnFontSize(WPARAM, LPARAM record) {
    if (const auto* r = reinterpret_cast<const HxFormatSizeRecord*>(record); r && r->twips > 0) {
        QTextCharFormat f;
        f.setFontPointSize(std::clamp(r->twips, 20, 1638 * 20) / 20.0);
        MergeFormat(f);
    }
    m_editor->setFocus();
    return 0;
}

LRESULT CDlgRtEditWindow::OnFormatDone(WPARAM, LPARAM) {
    m_editor->setFocus();
    return 0;
}

LRESULT CDlgRtEditWindow::OnInsertSymbol(WPARAM, LPARAM index) {
    InsertSymbol(int(index));
    return 0;
}

void CDlgRtEditWindow::OnDocumentHeight(double height) {
    const int extra = this->height() - m_editor->viewport()->height();
    const int wanted = std::clamp(int(std::ceil(height)) + 10 + extra, 200, 700);
    if (wanted != this->height() && this->height() < 700) {
        resize(width(), wanted);
        KeepOnScreen();
    }
}

void CDlgRtEditWindow::KeepOnScreen() {
    // Before it is shown the dialog is placed on the screen when it appears.
    QScreen* screen = isVisible() ? this->screen() : nullptr;
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.bottom() > area.bottom())
        move(frame.left(), std::max(area.top(), frame.top() - (frame.bottom() - area.bottom())));
}

void CDlgRtEditWindow::LayoutEditor() {
    const int bar = m_formatBar ? m_formatBar->sizeHint().height() : 0;
    if (m_formatBar)
        m_formatBar->setGeometry(0, 0, width(), bar);
    const QSize b = m_buttons->sizeHint();
    const int buttonsTop = height() - b.height() - 4;
    m_buttons->setGeometry(4, buttonsTop, std::max(0, width() - 8), b.height());
    m_editor->setGeometry(0, bar, width(), std::max(0, buttonsTop - 4 - bar));
}

void CDlgRtEditWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutEditor();
}

void CDlgRtEditWindow::OnOK() {
    // What passed the limit and is not yet taken back is taken back now: the text always opens again.
    Box(m_editor).TakeBackSurplus();
    const QSize rect = m_editor->viewport()->size();
    if (!m_fields.TakeDocument(*m_editor->document(), rect.width(), rect.height()))
        return;
    accept();
}

INT_PTR HxShowRtEditDialog(CDlgRtEdit& dlg) {
    CDlgRtEditWindow window(dlg, QApplication::activeWindow());
    if (window.OnInitDialog() == -1)
        return IDCANCEL;
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

namespace {

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgRtEdit),
                              [](CDialog& d) { return HxShowRtEditDialog(static_cast<CDlgRtEdit&>(d)); });
    return true;
}();

} // namespace
