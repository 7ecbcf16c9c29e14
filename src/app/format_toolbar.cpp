// CFormatToolBar and its combos: font names with the recently used ones on top, sizes with the
// checks of typed sizes, and the pictures of the built-in formulas.
#include "app/format_toolbar.h"

#include "app/formula_icons.h"
#include "formula/formula_templates.h"
#include "platform/dc_painter.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kItemHeight = 15;
const QString kSample = QStringLiteral("AbCdEfGhIj");

// Font entries: a small picture of the font type, the name, and for symbol fonts a sample in the
// font itself after the name.
class CFontItemDelegate : public QStyledItemDelegate {
public:
    explicit CFontItemDelegate(CFontComboBox* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const bool selected = opt.state & QStyle::State_Selected;
        p->save();
        p->fillRect(opt.rect, selected ? opt.palette.highlight() : opt.palette.base());
        const QString name = index.data(Qt::DisplayRole).toString();
        // The font type: a "T" drawn in two shades, 16 x 15.
        const QRect icon(opt.rect.left() + 1, opt.rect.top() + (opt.rect.height() - 15) / 2, 16, 15);
        QFont iconFont(QStringLiteral("Liberation Serif"));
        iconFont.setPixelSize(13);
        iconFont.setBold(true);
        p->setFont(iconFont);
        p->setPen(QColor(0x30, 0x60, 0xb0));
        p->drawText(icon.adjusted(0, 0, -4, 0), Qt::AlignCenter, QStringLiteral("T"));
        p->setPen(QColor(0x80, 0x80, 0x80));
        p->drawText(icon.adjusted(5, 2, 0, 0), Qt::AlignCenter, QStringLiteral("T"));
        p->setFont(opt.font);
        p->setPen(selected ? opt.palette.highlightedText().color() : opt.palette.text().color());
        const QRect text = opt.rect.adjusted(20, 0, 0, 0);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, name);
        if (m_combo->IsSymbolFont(CString::FromQString(name))) {
            const int w = opt.fontMetrics.horizontalAdvance(name) + 6;
            QFont sample(HxResolveFontFamily(CString::FromQString(name), SYMBOL_CHARSET));
            sample.setPixelSize(12);
            p->setFont(sample);
            p->drawText(text.adjusted(w, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, kSample);
        }
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return QSize(s.width() + 20, std::max(kItemHeight, s.height()));
    }

private:
    CFontComboBox* m_combo;
};

// The character set a family is written in, as a face's charset: symbol, Chinese or Western.
int CharsetOfFamily(const QString& family, bool* symbol) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    *symbol = systems.contains(QFontDatabase::Symbol);
    if (*symbol)
        return SYMBOL_CHARSET;
    if (systems.contains(QFontDatabase::SimplifiedChinese))
        return GB2312_CHARSET;
    return ANSI_CHARSET;
}

} // namespace

const std::vector<int>& HxFormatSizes() {
    static const std::vector<int> sizes = {8,  9,  10, 12, 14, 16, 18, 22, 24, 26, 28,  32,
                                           36, 42, 48, 54, 60, 66, 72, 80, 88, 96, 108, 120};
    return sizes;
}

// ---------------------------------------------------------------------------------------------
// Font names

CFontComboBox::CFontComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(32);
    setItemDelegate(new CFontItemDelegate(this));
    setMaxVisibleItems(20);
}

void CFontComboBox::FillFontList(const CString& selected, int maxRecent) {
    m_fonts.clear();
    for (const QString& family : QFontDatabase::families()) {
        // Bitmap-only fonts and vertical-writing names are left out.
        if (family.startsWith(QLatin1Char('@')) ||
            (!QFontDatabase::isSmoothlyScalable(family) && QFontDatabase::isBitmapScalable(family)))
            continue;
        FontRecord rec;
        rec.charset = CharsetOfFamily(family, &rec.symbol);
        m_fonts.emplace(family, rec);
    }
    // The Windows faces that documents name are drawn by their substitutes here.
    for (const HxFaceSubstitute& e : HxFaceSubstitutes()) {
        FontRecord rec;
        rec.charset = e.family == std::string_view("WenQuanYi Micro Hei") ? GB2312_CHARSET : ANSI_CHARSET;
        m_fonts.emplace(QString::fromUtf16(e.face), rec);
    }
    m_fonts.emplace(QStringLiteral("Symbol"), FontRecord{SYMBOL_CHARSET, true, false});

    clear();
    m_recentCount = 0;
    QFontMetrics fm(font());
    int widest = 0;
    for (const auto& [name, rec] : m_fonts) {
        addItem(name);
        int w = fm.horizontalAdvance(name);
        if (rec.symbol)
            w += QFontMetrics(QFont(HxResolveFontFamily(CString::FromQString(name), SYMBOL_CHARSET)))
                     .horizontalAdvance(kSample);
        widest = std::max(widest, w);
    }
    if (widest > 60)
        widest -= 20;
    view()->setMinimumWidth(widest + 40);

    m_maxRecent = std::max(0, maxRecent);
    for (const char16_t* face :
         {u"微软雅黑", u"楷体", u"隶书", u"黑体", u"Arial", u"Symbol", u"Times New Roman", u"宋体"})
        AddRecent(face);
    AddRecent(selected);
}

void CFontComboBox::AddRecent(const CString& faceName) {
    const QString face = faceName.ToQString();
    auto it = m_fonts.find(face);
    if (it == m_fonts.end())
        return;
    if (it->second.recent) {
        // Its copy at the top moves up to the first place.
        for (int i = 0; i < m_recentCount; ++i) {
            if (itemText(i) == face) {
                removeItem(i);
                break;
            }
        }
        insertItem(0, face);
    } else {
        if (m_maxRecent == 0) {
            setCurrentIndex(findText(face, Qt::MatchExactly));
            return;
        }
        if (m_recentCount >= m_maxRecent) {
            const QString last = itemText(m_recentCount - 1);
            removeItem(m_recentCount - 1);
            --m_recentCount;
            if (auto old = m_fonts.find(last); old != m_fonts.end())
                old->second.recent = false;
        }
        insertItem(0, face);
        ++m_recentCount;
        it->second.recent = true;
    }
    setCurrentIndex(0);
}

void CFontComboBox::SelectFontName(const CString& faceName) {
    if (hasFocus() || lineEdit()->hasFocus())
        return;
    const int i = findText(faceName.ToQString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(i);
    if (i < 0)
        lineEdit()->clear();
}

int CFontComboBox::CharsetOf(const CString& face) const {
    auto it = m_fonts.find(face.ToQString());
    return it == m_fonts.end() ? 0 : it->second.charset;
}

bool CFontComboBox::IsSymbolFont(const CString& face) const {
    auto it = m_fonts.find(face.ToQString());
    return it != m_fonts.end() && it->second.symbol;
}

CString CFontComboBox::CurrentFace() const {
    return CString::FromQString(currentIndex() >= 0 && currentText() == itemText(currentIndex())
                                    ? itemText(currentIndex())
                                    : currentText());
}

// ---------------------------------------------------------------------------------------------
// Sizes

CSizeComboBox::CSizeComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(4);
    for (int size : HxFormatSizes())
        addItem(QString::number(size));
}

void CSizeComboBox::SelectSize(int twips) {
    if (hasFocus() || lineEdit()->hasFocus())
        return;
    m_lastTwips = twips;
    const int points = (twips + 10) / 20;
    const int i = findText(QString::number(points), Qt::MatchExactly);
    setCurrentIndex(i);
    if (i < 0)
        lineEdit()->setText(QString::number(points));
}

int CSizeComboBox::ParseSize(const QString& text, CString* message) {
    // Blanks and tabs around the number do not count.
    int from = 0, to = int(text.size());
    while (from < to && (text[from] == QLatin1Char(' ') || text[from] == QLatin1Char('\t')))
        ++from;
    while (to > from && (text[to - 1] == QLatin1Char(' ') || text[to - 1] == QLatin1Char('\t')))
        --to;
    const QString number = text.mid(from, to - from);
    if (number.isEmpty())
        return -1;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        if (message)
            *message = u"字号必须是数字。";
        return -2;
    }
    const double twips = value <= 0 ? 0.0 : std::trunc(value * 20.0);
    if (twips < 20 || twips >= 32761) {
        if (message)
            *message = u"字号必须在 1-1638 之间。";
        return -2;
    }
    return int(twips);
}

void CFontComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CSizeComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit enterPressed();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CSizeComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    emit editingDone();
}

// ---------------------------------------------------------------------------------------------
// Built-in formulas

namespace {

// The built-in formulas' list entries: each picture at its size, 64 pixels high.
class CFormulaItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
        const QPixmap picture = index.data(Qt::UserRole).value<QPixmap>();
        const QRect r = option.rect.adjusted(4, 2, -4, -2);
        p->drawPixmap(r.left(), r.top() + (r.height() - picture.height()) / 2, picture);
        p->setPen(option.palette.mid().color());
        p->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return QSize(252, 64); }
};

} // namespace

CMtfFmlComboBox::CMtfFmlComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    lineEdit()->setReadOnly(true);
    for (int i = 0; i < HX_FORMULA_TEMPLATE_COUNT; ++i) {
        addItem(HxFormat(u"公式%d", i + 1).ToQString());
        setItemData(i, HxFormulaTemplatePicture(i, 240, 60), Qt::UserRole);
    }
    setItemDelegate(new CFormulaItemDelegate(this));
    view()->setMinimumWidth(252);
    ResetText();
}

void CMtfFmlComboBox::ResetText() {
    setCurrentIndex(-1);
    lineEdit()->setText(QStringLiteral("内置公式"));
}

// ---------------------------------------------------------------------------------------------
// The toolbar

CFormatToolBar::CFormatToolBar(CWnd* owner, QWidget* parent) : QToolBar(parent), m_owner(owner) {
    setIconSize(QSize(21, 20));
    setMovable(false);
}

void CFormatToolBar::CreateCombos(bool formulaEditor) {
    auto slot = [this](UINT id, QWidget* widget, int width) {
        widget->setFixedWidth(width);
        for (QAction* a : actions()) {
            if (a->data().toUInt() == id && !a->isSeparator()) {
                insertWidget(a, widget);
                removeAction(a);
                return;
            }
        }
        addWidget(widget);
    };
    m_font = new CFontComboBox(this);
    m_font->setToolTip(QStringLiteral("字体"));
    slot(ID_FORMAT_FONTNAME, m_font, 96);
    m_font->FillFontList(u"宋体", 10);
    connect(m_font, &QComboBox::activated, this, [this](int index) {
        m_font->AddRecent(CString::FromQString(m_font->itemText(index)));
        SendFont();
    });
    connect(m_font->lineEdit(), &QLineEdit::returnPressed, this, [this] { SendFont(); });
    connect(m_font, &CFontComboBox::enterPressed, this, [this] {
        if (m_owner)
            m_owner->SendMessage(UM_FORMAT_DONE);
    });

    m_size = new CSizeComboBox(this);
    m_size->setToolTip(QStringLiteral("字号"));
    slot(ID_FORMAT_FONTSIZE, m_size, 52);
    m_size->setCurrentIndex(m_size->findText(QStringLiteral("26")));
    connect(m_size, &QComboBox::activated, this,
            [this](int index) { SendSize(m_size->itemText(index).toInt() * 20); });
    connect(m_size, &CSizeComboBox::editingDone, this, [this] { SizeTyped(); });
    connect(m_size, &CSizeComboBox::enterPressed, this, [this] {
        if (m_owner)
            m_owner->SendMessage(UM_FORMAT_DONE);
    });

    if (formulaEditor) {
        m_formula = new CMtfFmlComboBox(this);
        m_formula->setToolTip(QStringLiteral("内置公式"));
        slot(ID_FORMAT_FORMULA, m_formula, 72);
        connect(m_formula, &QComboBox::activated, this, [this](int index) {
            m_formula->ResetText();
            if (m_owner)
                m_owner->SendMessage(UM_INSERT_TEMPLATE, WPARAM(index));
        });
    }
}

void CFormatToolBar::SendFont() {
    if (!m_owner)
        return;
    HxFormatFontRecord rec;
    rec.face = m_font->CurrentFace();
    rec.charset = m_font->CharsetOf(rec.face);
    m_owner->SendMessage(UM_FORMAT_FONTNAME, 0, LPARAM(&rec));
}

void CFormatToolBar::SendSize(int twips) {
    m_lastTwips = twips;
    if (!m_owner)
        return;
    HxFormatSizeRecord rec;
    rec.twips = twips;
    m_owner->SendMessage(UM_FORMAT_FONTSIZE, 0, LPARAM(&rec));
}

void CFormatToolBar::SizeTyped() {
    // Only a typed text is checked here (a choice from the list was sent already).
    if (!m_size->lineEdit()->isModified())
        return;
    m_size->lineEdit()->setModified(false);
    CString message;
    const int twips = CSizeComboBox::ParseSize(m_size->currentText(), &message);
    if (twips == -2) {
        AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (twips >= 0)
        SendSize(twips);
}

void CFormatToolBar::SyncFont(const CString& face, int twips) {
    if (m_font)
        m_font->SelectFontName(face);
    if (m_size)
        m_size->SelectSize(twips);
}
