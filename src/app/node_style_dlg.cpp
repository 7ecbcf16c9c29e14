// The node style dialog's window: the arrow-type combo with its images, or the symbol edit showing
// Symbol-font characters as the characters they stand for.
#include "app/node_style_dlg.h"

#include "app/formula_icons.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

IMPLEMENT_DYNAMIC(CDlgMtfNodeType, CDialog)

const char16_t* HxArrowTypeName(int type) {
    static const char16_t* const kNames[CDlgMtfNodeType::kArrowTypeCount] = {
        u"右箭头",     u"左箭头",     u"双向箭头",     u"右双箭头",    u"左双箭头",
        u"双向双箭头", u"长等号",     u"左右箭头",     u"左右鱼叉",    u"下带线鱼叉",
        u"上带线鱼叉", u"双带线鱼叉", u"带线右双箭头", u"带线左双箭头"};
    return type >= 0 && type < CDlgMtfNodeType::kArrowTypeCount ? kNames[type] : u"";
}

CString HxSymbolTextShown(const CString& codes) {
    CString out(codes);
    for (char16_t& c : out.Str()) {
        const char16_t code = c >= 0xF020 && c <= 0xF0FF ? char16_t(c - 0xF000) : c;
        if (code >= 0x20 && code <= 0xFF)
            c = HxSymbolToUnicode(code, true);
    }
    return out;
}

CString HxSymbolTextCodes(const CString& shown) {
    CString out(shown);
    for (char16_t& c : out.Str()) {
        const char16_t code = HxUnicodeToSymbol(c);
        if (code)
            c = code;
    }
    return out;
}

namespace {

INT_PTR RunNodeTypeDialog(CDialog& base) {
    auto& dlg = static_cast<CDlgMtfNodeType&>(base);
    QDialog window;
    window.setObjectName(QStringLiteral("268"));
    window.setWindowTitle(dlg.m_mode == 0 ? QStringLiteral("修改标签箭头的类型")
                                          : QStringLiteral("修改模块符号"));
    auto* column = new QVBoxLayout(&window);
    auto* edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("1000"));
    auto* combo = new QComboBox;
    combo->setObjectName(QStringLiteral("1015"));
    column->addWidget(edit);
    column->addWidget(combo);
    if (dlg.m_mode == 0) {
        combo->setIconSize(QSize(16, 13));
        const int n = std::clamp(dlg.m_typeCount, 0, CDlgMtfNodeType::kArrowTypeCount);
        for (int i = 0; i < n; ++i)
            combo->addItem(QIcon(HxArrowTypeImage(i)), QString::fromUtf16(HxArrowTypeName(i)));
        combo->setCurrentIndex(dlg.m_typeIndex >= 0 && dlg.m_typeIndex < n ? dlg.m_typeIndex : -1);
        edit->hide();
    } else {
        combo->hide();
        if (dlg.m_mode == 1) {
            // The Symbol font's characters are shown as what they draw; what is typed is taken as
            // the font's codes.
            edit->setText(HxSymbolTextShown(dlg.m_text).ToQString());
            QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
                const int cursor = edit->cursorPosition();
                edit->setText(HxSymbolTextShown(CString::FromQString(text)).ToQString());
                edit->setCursorPosition(cursor);
            });
        } else {
            edit->setText(dlg.m_text.ToQString());
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    column->addWidget(buttons);
    if (window.exec() != QDialog::Accepted)
        return IDCANCEL;
    if (dlg.m_mode == 0)
        dlg.m_typeIndex = combo->currentIndex();
    else if (dlg.m_mode == 1)
        dlg.m_text = HxSymbolTextCodes(CString::FromQString(edit->text()));
    else
        dlg.m_text = CString::FromQString(edit->text());
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgMtfNodeType), RunNodeTypeDialog);
    return true;
}();

} // namespace
