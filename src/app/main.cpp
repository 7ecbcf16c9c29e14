// Halvix: a dynamic geometry workbench for solid geometry.
#include "app/main_frame.h"
#include "document/doc_globals.h"
#include "view/glyph_font.h"
#include "view/halvix_view.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QScreen>
#include <QMessageBox>
#include <QSurfaceFormat>

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(CHalvixView::RequiredFormat());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Vorlane");
    QCoreApplication::setApplicationName("Halvix");
    HxInitInstallFolder();
    HxInstallFontSubstitutions();

    HxSetMessageBoxHandler([](const CString& text, const CString& caption, UINT type) {
        QMessageBox box;
        box.setWindowTitle(caption.ToQString());
        box.setText(text.ToQString());
        switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MB_YESNOCANCEL:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
        }
    });

    // A look at the whole ribbon layout, with commands that have no handler yet shown disabled.
    if (qEnvironmentVariableIntValue("HALVIX_SHOW_ALL_COMMANDS") != 0)
        HxSetShowUnhandledCommands(true);

    CMainFrame frame;
    AfxSetMainWnd(&frame);
    if (frame.OnCreate() == -1)
        return 1;
    QString login = qEnvironmentVariable("USER");
    g_userName = CString::FromQString(login.isEmpty() ? qEnvironmentVariable("LOGNAME") : login);
    // The document (and with it the view's initial update): the file given, or a new one.
    frame.StartDocument(argc > 1 ? CString::FromQString(QString::fromLocal8Bit(argv[1])) : CString());
    // Without a window manager (a bare X server) maximising does nothing: size the window first.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    // Without its installation images or display lists the drawing view cannot work.
    QObject::connect(
        frame.GetView(), &CHalvixView::creationFailed, &app,
        [] {
            qCritical("Halvix: the drawing view could not be set up (installation images missing?)");
            QCoreApplication::exit(1);
        },
        Qt::QueuedConnection);
    frame.showMaximized();
    return app.exec();
}
