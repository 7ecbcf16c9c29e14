// Not a test: the rich-text editor on a screen, for looking at it.  A text with a mix of fonts,
// bold, italic, super- and subscripts, symbols and an object kept from stored RTF is written into
// it.  "--screenshot FILE" saves a picture of the dialog after a moment; "--picture FILE" presses
// OK and saves the one-bit picture the editor hands back (set bits black); "--empty" writes nothing;
// "--too-long" opens a stored text longer than the editor holds (its message is what shows).
#include "app/format_toolbar.h"
#include "app/rich_text_editor_ui.h"
#include "measure/rich_text.h"
#include "view/glyph_font.h"

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

namespace {

void Write(CDlgRtEditWindow& dlg) {
    QTextEdit* ed = dlg.Editor();
    auto type = [&](const QString& s) { ed->textCursor().insertText(s, ed->currentCharFormat()); };
    type(QStringLiteral("勾股定理 a"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    type(QStringLiteral("2"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    type(QStringLiteral("+b"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    type(QStringLiteral("2"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    type(QStringLiteral("=c"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    type(QStringLiteral("2"));
    dlg.RunCommand(ID_RT_SUPERSCRIPT);
    ed->textCursor().insertBlock();
    HxFormatFontRecord times{CString(u"Times New Roman"), 0};
    dlg.SendMessage(UM_FORMAT_FONTNAME, 0, LPARAM(&times));
    HxFormatSizeRecord size{CString(), 400};
    dlg.SendMessage(UM_FORMAT_FONTSIZE, 0, LPARAM(&size));
    dlg.RunCommand(ID_RT_BOLD);
    dlg.RunCommand(ID_RT_ITALIC);
    type(QStringLiteral("x"));
    dlg.RunCommand(ID_RT_SUBSCRIPT);
    type(QStringLiteral("n+1"));
    dlg.RunCommand(ID_RT_SUBSCRIPT);
    type(QStringLiteral(" = x"));
    dlg.RunCommand(ID_RT_SUBSCRIPT);
    type(QStringLiteral("n"));
    dlg.RunCommand(ID_RT_SUBSCRIPT);
    type(QStringLiteral(" + "));
    dlg.InsertSymbol(0);
    dlg.InsertSymbol(40);
    type(QStringLiteral(" ABC "));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    HxInstallFontSubstitutions();
    QString screenshot, picture;
    bool empty = false;
    bool tooLong = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--screenshot") && i + 1 < argc)
            screenshot = QString::fromLocal8Bit(argv[++i]);
        else if (a == QLatin1String("--picture") && i + 1 < argc)
            picture = QString::fromLocal8Bit(argv[++i]);
        else if (a == QLatin1String("--empty"))
            empty = true;
        else if (a == QLatin1String("--too-long"))
            tooLong = true;
    }
    if (tooLong) {
        // The message as the program shows it, grabbed when asked for.
        HxSetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Halvix"), text.ToQString(),
                            QMessageBox::Ok);
            if (!screenshot.isEmpty())
                QTimer::singleShot(800, &box, [&] {
                    box.grab().save(screenshot);
                    box.accept();
                });
            box.exec();
            return IDOK;
        });
        CDlgRtEdit fields;
        fields.m_rtf = PackRtfBytes("{\\rtf1\\pard " + QByteArray("a long text ").repeated(4000) + "\\par}");
        CDlgRtEditWindow dlg(fields);
        std::printf("opened: %s\n", dlg.OnInitDialog() == -1 ? "no" : "yes");
        return 0;
    }
    CDlgRtEdit fields;
    // A stored text with an object in it (a formula of another program): kept and drawn as a box.
    fields.m_rtf = PackRtfBytes(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "\\pard\\b\\f0\\fs36 \\u20844?\\u24335?{\\object\\objemb{\\*\\objclass Equation.3}"
        "\\objw900\\objh500{\\*\\objdata 0105}}\\par}");
    if (empty)
        fields.m_rtf.Empty();
    CDlgRtEditWindow dlg(fields);
    dlg.OnInitDialog();
    dlg.show();
    if (!empty) {
        dlg.Editor()->moveCursor(QTextCursor::End);
        Write(dlg);
    }
    if (!screenshot.isEmpty() || !picture.isEmpty()) {
        QTimer::singleShot(800, [&] {
            if (!screenshot.isEmpty())
                dlg.grab().save(screenshot);
            if (!picture.isEmpty()) {
                dlg.OnOK();
                QImage image(fields.m_pictureWidth, fields.m_pictureHeight, QImage::Format_RGB32);
                const int row = (fields.m_pictureWidth + 31) / 32 * 4;
                for (int y = 0; y < fields.m_pictureHeight; ++y)
                    for (int x = 0; x < fields.m_pictureWidth; ++x) {
                        const BYTE b =
                            fields.m_picture[size_t((fields.m_pictureHeight - 1 - y) * row + x / 8)];
                        image.setPixel(x, y, (b & (0x80 >> (x % 8))) ? 0xFF000000u : 0xFFFFFFFFu);
                    }
                image.save(picture);
                std::printf("name: %s\n", fields.m_name.ToUtf8().c_str());
            }
            app.quit();
        });
    }
    return app.exec();
}
