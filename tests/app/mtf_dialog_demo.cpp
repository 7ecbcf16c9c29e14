// Not a test: the formula editor dialog on a screen, for looking at it.  A formula is written into
// it with key presses and the template toolbar's buttons: a fraction under a square root, and a
// 2 x 2 matrix beside it.  "--screenshot FILE" saves a picture of the dialog after a moment and
// ends; "--selection" selects the whole formula first; "--palette" and "--colors" open the symbol
// palette or the colour menu, "--formulas" the list of built-in formulas; "--picker" shows a colour picker
// with its palette open; "--empty" writes nothing, for typing into the dialog by hand.
#include "app/color_picker.h"
#include "app/format_toolbar.h"
#include "app/mtf_dlg_ui.h"
#include "app/symbol_palette.h"
#include "view/glyph_font.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w, key, mods);
    w->repaint();
}

void Type(QWidget* w, const QString& text) {
    QTest::keyClicks(w, text);
    w->repaint();
}

// The formula written as a user writes it.
void WriteFormula(CMtfDlgWindow& dlg) {
    CFormulaCtrl* ed = dlg.Editor();
    Type(ed, QStringLiteral("x="));
    dlg.OnCmdMsg(ID_MTF_STRUCT_FIRST + 2, CN_COMMAND, nullptr); // square root
    dlg.OnCmdMsg(ID_MTF_STRUCT_FIRST + 1, CN_COMMAND, nullptr); // fraction
    Type(ed, QStringLiteral("a+b"));
    Press(ed, Qt::Key_Down);
    Type(ed, QStringLiteral("2"));
    Press(ed, Qt::Key_End);
    Press(ed, Qt::Key_Right);
    Press(ed, Qt::Key_Right);
    Press(ed, Qt::Key_End);
    Type(ed, QStringLiteral("+"));
    dlg.OnCmdMsg(ID_MTF_STRUCT_FIRST + 13, CN_COMMAND, nullptr); // parentheses
    HxSetDialogRunner([](CDialog&) { return INT_PTR(IDOK); });   // the matrix dialog: 2 x 2
    dlg.OnCmdMsg(ID_MTF_STRUCT_FIRST + 19, CN_COMMAND, nullptr);
    HxSetDialogRunner(nullptr);
    Type(ed, QStringLiteral("1"));
    Press(ed, Qt::Key_Right);
    Type(ed, QStringLiteral("0"));
    Press(ed, Qt::Key_Down);
    Type(ed, QStringLiteral("1"));
    Press(ed, Qt::Key_Left);
    Press(ed, Qt::Key_Left);
    Type(ed, QStringLiteral("0"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    HxInstallFontSubstitutions();
    const QStringList args = QCoreApplication::arguments();
    CMtfDlg fields;
    fields.m_backColor = RGB(255, 255, 255);
    CMtfDlgWindow dlg(fields);
    if (dlg.OnInitDialog() == -1)
        return 1;
    dlg.move(40, 40);
    dlg.show();
    QApplication::processEvents();
    // "--empty" leaves the formula to whoever sits at the screen.
    if (!args.contains(QStringLiteral("--empty")))
        WriteFormula(dlg);
    if (args.contains(QStringLiteral("--selection")))
        dlg.Editor()->OnCmdMsg(ID_EDIT_SELECT_ALL, CN_COMMAND, nullptr);
    dlg.Editor()->repaint();

    QWidget* extra = nullptr;
    if (args.contains(QStringLiteral("--palette")))
        QTimer::singleShot(300, &dlg, [&dlg] { dlg.OnSymbolButton(); });
    if (args.contains(QStringLiteral("--formulas")))
        QTimer::singleShot(300, &dlg, [&dlg] { dlg.FormatBar()->FormulaCombo()->showPopup(); });
    if (args.contains(QStringLiteral("--colors")))
        QTimer::singleShot(300, &dlg, [&dlg] { dlg.OnColorButton(); });
    if (args.contains(QStringLiteral("--picker"))) {
        extra = new QWidget;
        auto* column = new QVBoxLayout(extra);
        auto* picker = new CColorPicker;
        auto* text = new QLabel;
        picker->SetBuddy(text);
        picker->SetColor(RGB(204, 51, 0));
        column->addWidget(picker);
        column->addWidget(text);
        extra->move(700, 40);
        extra->resize(120, 60);
        extra->show();
        QTimer::singleShot(300, picker, [picker] {
            picker->OpenPalette();
            picker->Palette()->MoveTo(picker->Palette()->mapToGlobal(QPoint(95, 45)));
        });
    }
    const int shot = int(args.indexOf(QStringLiteral("--screenshot")));
    if (shot >= 0 && shot + 1 < args.size()) {
        const QString file = args[shot + 1];
        QTimer::singleShot(1500, &dlg, [&dlg, file] {
            dlg.grab().save(file);
            QCoreApplication::exit(0);
        });
    }
    const int result = app.exec();
    delete extra;
    return result;
}
