// The window of CFontDialog: Qt's font chooser with the colour picker below it (the colour is
// offered with CF_EFFECTS).
#include "app/color_picker.h"
#include "platform/dc_painter.h"
#include "platform/font_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

INT_PTR RunFontDialog(CDialog& base) {
    auto& dlg = static_cast<CFontDialog&>(base);
    QDialog window;
    window.setWindowTitle(QStringLiteral("字体"));
    auto* column = new QVBoxLayout(&window);
    auto* chooser = new QFontDialog(&window);
    chooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    chooser->setWindowFlags(Qt::Widget);
    chooser->setCurrentFont(HxQFontFromLogFont(dlg.m_lf));
    column->addWidget(chooser);
    CColorPicker* picker = nullptr;
    if (dlg.m_dwFlags & CF_EFFECTS) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("颜色：")));
        picker = new CColorPicker;
        auto* text = new QLabel;
        picker->SetBuddy(text);
        picker->SetColor(dlg.m_color);
        row->addWidget(picker);
        row->addWidget(text);
        row->addStretch(1);
        column->addLayout(row);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    column->addWidget(buttons);
    if (window.exec() != QDialog::Accepted)
        return IDCANCEL;

    const QFont f = chooser->currentFont();
    LOGFONT lf = dlg.m_lf;
    HxSetFaceName(lf, CString::FromQString(f.family())); // cut to the face field
    const double px = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0;
    lf.lfHeight = -LONG(std::lround(px));
    lf.lfWeight = f.weight() >= QFont::Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.italic() ? 1 : 0;
    lf.lfUnderline = f.underline() ? 1 : 0;
    lf.lfStrikeOut = f.strikeOut() ? 1 : 0;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(f.family());
    lf.lfCharSet = systems.contains(QFontDatabase::Symbol)
                       ? SYMBOL_CHARSET
                       : (systems.contains(QFontDatabase::SimplifiedChinese) ? GB2312_CHARSET : ANSI_CHARSET);
    dlg.m_lf = lf;
    if (picker)
        dlg.m_color = picker->GetColor();
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CFontDialog), RunFontDialog);
    return true;
}();

} // namespace
