// CFormatParaDlg: the conversions between a paragraph format and the dialog's fields, and the
// dialog's window.
#include "app/format_para_dlg.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <cmath>

IMPLEMENT_DYNAMIC(CFormatParaDlg, CDialog)

namespace {

constexpr double kTwipsPerCm = 1440.0 / 2.54;

double CmOf(LONG twips) {
    return double(twips) * 2.54 / 1440.0;
}

} // namespace

CFormatParaDlg::CFormatParaDlg(const CParaFormat& pf) : CDialog(IDD), m_pf(pf) {
    LoadFromFormat();
}

void CFormatParaDlg::LoadFromFormat() {
    const CParaFormat& pf = m_pf;
    m_alignment =
        (pf.mask & PARA_ALIGNMENT) && pf.alignment >= 1 && pf.alignment <= 3 ? pf.alignment - 1 : -1;
    if (pf.mask & PARA_RIGHTINDENT)
        m_right = CmOf(pf.rightIndent);
    if (pf.mask & PARA_OFFSET)
        m_firstLine = CmOf(-pf.offset);
    if (pf.mask & (PARA_STARTINDENT | PARA_OFFSET))
        m_left = CmOf(pf.startIndent + pf.offset);
    if (pf.mask & PARA_SPACEBEFORE)
        m_before = int((pf.spaceBefore + 10) / 20);
    if (pf.mask & PARA_SPACEAFTER)
        m_after = int((pf.spaceAfter + 10) / 20);
    if (pf.mask & PARA_LINESPACING) {
        m_spacing = std::clamp(pf.lineSpacingRule, 0, 5);
        m_spacingValue = double(pf.lineSpacing) / 20.0;
        if (m_spacing == 5) {
            if (m_spacingValue == 1.0)
                m_spacing = 0;
            else if (m_spacingValue == 1.5)
                m_spacing = 1;
            else if (m_spacingValue == 2.0)
                m_spacing = 2;
        }
    }
    m_numbering = std::clamp(pf.numbering, 0, 7);
    if (pf.numbering == 0) {
        m_numberStart = 1;
        m_numberFormat = 2;
        m_numberTab = 0;
    } else {
        m_numberStart = pf.numberingStart;
        m_numberFormat = std::clamp(pf.numberingStyle / 256, 0, 3);
        m_numberTab = std::trunc(double(pf.numberingTab) * 254.0 / 1440.0) / 100.0;
    }
}

CParaFormat CFormatParaDlg::StoreToFormat() const {
    CParaFormat pf = m_pf;
    if (m_alignment >= 0 && m_alignment <= 2) {
        pf.mask |= PARA_ALIGNMENT;
        pf.alignment = m_alignment + 1;
    }
    pf.mask |= PARA_STARTINDENT | PARA_RIGHTINDENT | PARA_OFFSET | PARA_SPACEBEFORE | PARA_SPACEAFTER;
    pf.rightIndent = LONG(std::lround(m_right * kTwipsPerCm));
    pf.offset = LONG(std::trunc(0.5 - m_firstLine * kTwipsPerCm));
    pf.startIndent = LONG(std::lround((m_left + m_firstLine) * kTwipsPerCm));
    pf.spaceBefore = m_before * 20;
    pf.spaceAfter = m_after * 20;
    if (m_spacing >= 0 && m_spacing <= 5) {
        pf.mask |= PARA_LINESPACING;
        double value = m_spacingValue;
        if (m_spacing == 0) {
            value = 0;
            pf.lineSpacingRule = 0;
        } else if (m_spacing == 1 || m_spacing == 2) {
            value = m_spacing == 1 ? 1.5 : 2.0;
            pf.lineSpacingRule = 5;
        } else {
            pf.lineSpacingRule = m_spacing;
        }
        pf.lineSpacing = LONG(std::lround(value * 20.0));
    }
    if (m_numbering != 7) {
        pf.mask |= PARA_NUMBERING;
        pf.numbering = m_numbering;
        if (m_numbering != 0) {
            pf.mask |= PARA_NUMBERINGSTART | PARA_NUMBERINGSTYLE | PARA_NUMBERINGTAB;
            pf.numberingStart = m_numberStart;
            pf.numberingStyle = m_numberFormat * 256;
            const double tab = m_numberTab < 0 || m_numberTab > 30 ? 0.0 : m_numberTab;
            pf.numberingTab = LONG(std::lround(tab * kTwipsPerCm));
            if (pf.offset == 0)
                pf.offset = m_numberFormat == 1 ? 1134 : 850;
        }
    }
    return pf;
}

void CFormatParaDlg::NumberingControls(int numbering, bool& start, bool& tab, bool& format) {
    const bool none = numbering == 0 || numbering == 7;
    start = format = !none && numbering != 1;
    tab = !none;
}

bool CFormatParaDlg::SpacingValueFor(int index, double& value) {
    if (index >= 0 && index <= 2)
        return false;
    value = index == 5 ? 3.0 : 12.0;
    return true;
}

bool CFormatParaDlg::ReadNumber(const QString& text, const QString& unit, double& value) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+))\\s*(\\S*)\\s*$"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch() || (!m.captured(3).isEmpty() && m.captured(3).compare(unit, Qt::CaseInsensitive) != 0))
        return false;
    value = m.captured(1).toDouble();
    return true;
}

double CFormatParaDlg::LeadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

namespace {

INT_PTR RunParaDialog(CDialog& base) {
    auto& dlg = static_cast<CFormatParaDlg&>(base);
    QDialog window;
    window.setWindowTitle(QStringLiteral("段落"));
    auto* grid = new QGridLayout(&window);
    auto combo = [](int id, std::initializer_list<const char16_t*> items, int index) {
        auto* c = new QComboBox;
        c->setObjectName(QString::number(id));
        for (const char16_t* item : items)
            c->addItem(QString::fromUtf16(item));
        c->setCurrentIndex(index);
        return c;
    };
    auto edit = [](int id, const QString& text) {
        auto* e = new QLineEdit(text);
        e->setObjectName(QString::number(id));
        return e;
    };
    const auto cm = [](double v) { return QString::asprintf("%.1f cm", v); };
    const auto pt = [](int v) { return QString::asprintf("%d pt", v); };
    auto* align = combo(1195, {u"左对齐", u"右对齐", u"居  中"}, dlg.m_alignment);
    auto* left = edit(1189, cm(dlg.m_left));
    auto* right = edit(1190, cm(dlg.m_right));
    auto* first = edit(1191, cm(dlg.m_firstLine));
    auto* before = edit(1192, pt(dlg.m_before));
    auto* after = edit(1193, pt(dlg.m_after));
    auto* spacing = combo(1196, {u"单倍行距", u"1.5倍行距", u"2倍行距", u"最小值", u"固定值", u"多倍行距"},
                          dlg.m_spacing);
    auto* value = edit(1197, QString::number(dlg.m_spacingValue));
    auto* numbering = combo(1200,
                            {u" 无 ", u"符号 ● ", u"1, 2, 3,...", u"a, b, c,...", u"A, B, C,...",
                             u"i, ii, iii,...", u"I, II, III,...", u"其它"},
                            dlg.m_numbering);
    auto* format = combo(1017, {u"1)", u"(1)", u"1.", u" 1"}, dlg.m_numberFormat);
    auto* start = edit(1201, QString::number(dlg.m_numberStart));
    auto* tab = edit(1202, cm(dlg.m_numberTab));
    const std::pair<const char16_t*, QWidget*> rows[] = {
        {u"对  齐", align},   {u"左", left},      {u"右", right},        {u"首行", first},
        {u"段  前", before},  {u"段  后", after}, {u"行   距", spacing}, {u"设置值", value},
        {u"样式", numbering}, {u"格式", format},  {u"起始编号", start},  {u"制表位置", tab}};
    int r = 0;
    for (const auto& [label, widget] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf16(label)), r / 2, (r % 2) * 2);
        grid->addWidget(widget, r / 2, (r % 2) * 2 + 1);
        ++r;
    }
    value->setEnabled(dlg.m_spacing >= 3);
    auto applyNumbering = [=](int index) {
        bool s, t, f;
        CFormatParaDlg::NumberingControls(index, s, t, f);
        start->setEnabled(s);
        tab->setEnabled(t);
        format->setEnabled(f);
    };
    applyNumbering(dlg.m_numbering);
    QObject::connect(numbering, &QComboBox::currentIndexChanged, &window, applyNumbering);
    QObject::connect(spacing, &QComboBox::currentIndexChanged, &window, [value](int index) {
        double v = 0;
        const bool on = CFormatParaDlg::SpacingValueFor(index, v);
        if (on)
            value->setText(QString::number(v));
        else
            value->clear();
        value->setEnabled(on);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    grid->addWidget(buttons, 6, 0, 1, 4);
    for (;;) {
        if (window.exec() != QDialog::Accepted)
            return IDCANCEL;
        // Every edit in use must hold a number (with its unit or none): a text that is none would
        // silently become 0.
        const QString centimetres = QStringLiteral("cm"), points = QStringLiteral("pt");
        QLineEdit* notANumber = nullptr;
        for (auto [e, unit] :
             {std::pair{left, centimetres}, std::pair{right, centimetres}, std::pair{first, centimetres},
              std::pair{before, points}, std::pair{after, points}, std::pair{value, QString()},
              std::pair{start, QString()}, std::pair{tab, centimetres}}) {
            double v = 0;
            if (!notANumber && e->isEnabled() && !CFormatParaDlg::ReadNumber(e->text(), unit, v))
                notANumber = e;
        }
        if (notANumber) {
            AfxMessageBox(u"请输入一个数字。", MB_OK | MB_ICONEXCLAMATION);
            notANumber->setFocus();
            notANumber->selectAll();
            continue;
        }
        const double l = CFormatParaDlg::LeadingNumber(left->text());
        const double rt = CFormatParaDlg::LeadingNumber(right->text());
        const double f = CFormatParaDlg::LeadingNumber(first->text());
        const double sv = CFormatParaDlg::LeadingNumber(value->text());
        // The ranges: indents -55 to 55 cm, the line-spacing value 0 to 132.
        QLineEdit* refused = nullptr;
        for (auto [e, v] : {std::pair{left, l}, std::pair{right, rt}, std::pair{first, f}})
            if (!refused && (v < -55 || v > 55))
                refused = e;
        if (!refused && value->isEnabled() && (sv < 0 || sv > 132))
            refused = value;
        if (refused) {
            AfxMessageBox(refused == value ? u"请输入一个 0 到 132 之间的数。"
                                           : u"请输入一个 -55 到 55 之间的数。",
                          MB_OK | MB_ICONEXCLAMATION);
            refused->setFocus();
            refused->selectAll();
            continue;
        }
        dlg.m_alignment = align->currentIndex();
        dlg.m_left = l;
        dlg.m_right = rt;
        dlg.m_firstLine = f;
        dlg.m_before = int(CFormatParaDlg::LeadingNumber(before->text()));
        dlg.m_after = int(CFormatParaDlg::LeadingNumber(after->text()));
        dlg.m_spacing = spacing->currentIndex();
        dlg.m_spacingValue = sv;
        dlg.m_numbering = numbering->currentIndex();
        dlg.m_numberFormat = format->currentIndex();
        dlg.m_numberStart = int(CFormatParaDlg::LeadingNumber(start->text()));
        dlg.m_numberTab = CFormatParaDlg::LeadingNumber(tab->text());
        dlg.m_pf = dlg.StoreToFormat();
        return IDOK;
    }
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CFormatParaDlg), RunParaDialog);
    return true;
}();

} // namespace
