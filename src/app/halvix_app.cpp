// The application object: start-up in order, the event loop, the end, and its own commands.
#include "app/halvix_app.h"

#include "app/about_dlg.h"
#include "app/frame_ids.h"
#include "app/main_frame.h"
#include "app/ribbon_elements.h"
#include "app/settings_file.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/neighbour_services.h"
#include "formula/formula_render.h"
#include "model/cell_clipboard.h"
#include "platform/beep.h"
#include "view/glyph_font.h"
#include "view/glyph_lists.h"
#include "view/halvix_view.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSurfaceFormat>
#include <QTranslator>

#include <cstdio>

namespace {
CHalvixApp* g_theApp = nullptr;

// The formula engine's one-bit pictures for the view's formula texts (in the preference text font),
// and the warning sound of a refused key in the formula editor.
void InstallFormulaServices() {
    HxSetFormulaMonochromeRenderer([](const CString& markup, CMonochromeFormula& out) {
        int width = 0, height = 0, baseline = 0;
        COLORREF color = 0;
        out.bits = RenderFormulaToMonochrome(&width, &height, markup, &color, g_textFontName, g_fontHeight,
                                             &baseline);
        if (out.bits.empty())
            return false;
        out.width = width;
        out.height = height;
        out.baseline = baseline;
        out.color = color;
        return true;
    });
    HxSetBeepHandler([](UINT) { QApplication::beep(); });
}

// Qt's platforms that show no window (the offscreen and minimal ones, for scripts and tests): the
// drawing view cannot be drawn on them, and a message box there waits for an answer no one can give.
bool ShowsNoWindow() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}
} // namespace

std::function<bool()> CHalvixApp::s_oleInit;

CHalvixApp* HxGetApp() {
    return g_theApp;
}

bool HxInstallChineseTranslations() {
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Every text of the program is Chinese: the standard dialogs and buttons follow, whatever the
    // machine's own language.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        qWarning("Halvix: Qt's Chinese translations are not installed (qt6-translations-l10n)");
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

CString HxResourceCentreUrl() {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    return CString::FromQString(settings.value(QStringLiteral("Settings/ResourceUrl")).toString().trimmed());
}

CHalvixApp::CHalvixApp(int& argc, char** argv) {
    if (!QCoreApplication::instance()) {
        // The view's OpenGL needs its format before the first window exists.
        QSurfaceFormat::setDefaultFormat(CHalvixView::RequiredFormat());
        m_ownApp = std::make_unique<QApplication>(argc, argv);
    }
    m_arguments = QCoreApplication::arguments();
    HxInstallChineseTranslations();
    g_theApp = this;
    OnCommandId(ID_APP_ABOUT, &CHalvixApp::OnAppAbout);
    OnCommandId(ID_HELP_SAMPLE, &CHalvixApp::OnOpenSample);
    OnCommandId(ID_HELP_PESOURCE, &CHalvixApp::OnHelpResource);
    OnUpdateId(ID_HELP_PESOURCE, &CHalvixApp::OnUpdateHelpResource);
}

CHalvixApp::~CHalvixApp() {
    m_frame.reset();
    AfxGetCommandRouter().Remove(this);
    if (g_theApp == this)
        g_theApp = nullptr;
}

void CHalvixApp::InstallMessageBoxHandler() {
    HxSetMessageBoxHandler([](const CString& text, const CString& caption, UINT type) {
        QMessageBox box(QApplication::activeWindow());
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
}

BOOL CHalvixApp::InitInstance() {
    // The settings file first: a missing or damaged one leaves the built-in settings.
    LoadSaveSettings(false);
    if (m_ownApp)
        InstallMessageBoxHandler();
    // The OLE start (nothing to start here, but a failure still ends the program as it must).
    if (s_oleInit && !s_oleInit()) {
        AfxMessageBox(u"OLE 初始化失败。  请确保 OLE 库是正确的版本。");
        return FALSE;
    }
    m_oleStarted = true;

    // The settings store: organisation "Vorlane", group "Settings", six recent files (the frame's
    // list reads them).
    if (m_ownApp) {
        QCoreApplication::setOrganizationName(QStringLiteral("Vorlane"));
        QCoreApplication::setApplicationName(QStringLiteral("Halvix"));
    }
    if (g_installFolder.IsEmpty())
        HxInitInstallFolder();
    const QString installOverride = qEnvironmentVariable("HALVIX_INSTALL_DIR");
    if (!installOverride.isEmpty())
        g_installFolder = CString::FromQString(QDir::cleanPath(installOverride));
    HxInstallFontSubstitutions();
    InstallFormulaServices();
    const QString login = qEnvironmentVariable("USER");
    g_userName = CString::FromQString(login.isEmpty() ? qEnvironmentVariable("LOGNAME") : login);
    // A look at the whole ribbon layout, with commands that have no handler yet shown disabled.
    if (qEnvironmentVariableIntValue("HALVIX_SHOW_ALL_COMMANDS") != 0)
        HxSetShowUnhandledCommands(true);

    // The clipboard format of copied objects and pages, before any window exists.
    RegisterCellClipboardFormat();

    // The drawing view needs a window and an OpenGL context in it.  On a platform that shows no window
    // the frame's first paint would end the program in Qt, without a word: said on standard error (a
    // box there waits for an answer no one can give).  Without OpenGL, said in a box and on standard
    // error (for "/p" from a script).
    // (Tests that start the program inside their own QApplication make no OpenGL of their own here.)
    auto refuse = [this](const QString& text, bool inBox) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        std::fflush(stderr);
        if (inBox)
            AfxMessageBox(CString::FromQString(text), MB_ICONERROR);
        m_shellResult = 1;
        return FALSE;
    };
    if (m_ownApp && ShowsNoWindow()) {
        // The platform named as it was set: QT_QPA_PLATFORM, else "-platform".
        const QString set = qEnvironmentVariable("QT_QPA_PLATFORM");
        return refuse(set.isEmpty()
                          ? QStringLiteral("无法启动Halvix：Qt平台“%1”不能显示窗口。请在图形显示环境中启动Halvix。")
                                .arg(QGuiApplication::platformName())
                          : QStringLiteral("无法启动Halvix：所设的Qt平台“%1”（QT_QPA_PLATFORM）不能显示窗口。"
                                           "请在图形显示环境中启动Halvix。")
                                .arg(set),
                      false);
    }
    if (m_ownApp && !CHalvixView::CanCreateContext())
        return refuse(QStringLiteral("无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，"
                                     "或安装Mesa软件渲染器（libgl1-mesa-dri）。"),
                      true);

    // The frame with its document and view.
    m_frame = std::make_unique<CMainFrame>();
    AfxSetMainWnd(m_frame.get());
    if (m_frame->OnCreate() == -1)
        return FALSE;
    std::vector<CCmdTarget*> chain = AfxGetCommandRouter().Chain();
    chain.push_back(this);
    AfxGetCommandRouter().SetChain(chain);

    // The command line: a document to print and end, a document to open, else a new one.
    const HxShellCommand shell = HxParseShellCommand(m_arguments);
    if (shell.kind == HxShellCommand::Print || shell.kind == HxShellCommand::PrintTo) {
        // A file that cannot be opened ends the program without a word of ours.
        const CString file =
            CString::FromQString(QDir::cleanPath(QDir::current().absoluteFilePath(shell.file)));
        g_lastDocumentPath = file;
        if (m_frame->GetDocument()->OpenDocumentFile(file, FALSE))
            m_shellResult = PrintFromShell(CString::FromQString(shell.printer)) ? 0 : 1;
        return FALSE;
    }
    const QString path = shell.file;
    if (!path.isEmpty()) {
        const CString file = CString::FromQString(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
        g_lastDocumentPath = file;
        if (!m_frame->GetDocument()->OpenDocumentFile(file, FALSE))
            return FALSE;
    } else {
        m_frame->GetDocument()->NewDocumentFile();
    }

    // The window: maximised, with the panes where they were left.
    m_frame->RestoreWindowState();
    // Without a window manager (a bare X server) maximising does nothing: size the window first.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_frame->setGeometry(screen->availableGeometry());
    // Without its installation images or display lists the drawing view cannot work.
    QObject::connect(
        m_frame->GetView(), &CHalvixView::creationFailed, m_frame.get(),
        [] {
            qCritical("Halvix: the drawing view could not be set up (installation images missing?)");
            QCoreApplication::exit(1);
        },
        Qt::QueuedConnection);
    m_frame->showMaximized();
    return TRUE;
}

HxShellCommand HxParseShellCommand(const QStringList& arguments) {
    HxShellCommand command;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const QString flag = a.mid(1).toLower();
        if ((a.startsWith(u'/') || a.startsWith(u'-')) && (flag == u"p" || flag == u"pt")) {
            if (i + 1 >= arguments.size())
                break;
            command.kind = flag == u"p" ? HxShellCommand::Print : HxShellCommand::PrintTo;
            command.file = arguments[i + 1];
            if (command.kind == HxShellCommand::PrintTo)
                command.printer = i + 2 < arguments.size() ? arguments[i + 2] : QString();
            return command;
        }
        if (!a.startsWith(u'-') && command.file.isEmpty()) {
            command.kind = HxShellCommand::Open;
            command.file = a;
        }
    }
    return command;
}

bool CHalvixApp::PrintFromShell(const CString& printerName) {
    CHalvixView* view = m_frame->GetView();
    // The drawing needs the view's OpenGL, which a window gets when it is shown: shown off the
    // screen, the window draws the pages without appearing.
    m_frame->setAttribute(Qt::WA_DontShowOnScreen, true);
    m_frame->resize(1024, 768);
    m_frame->show();
    QElapsedTimer waited;
    waited.start();
    while (!view->IsGlReady() && view->IsCreated() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!view->IsGlReady()) {
        qCritical("Halvix: the drawing view could not be set up for printing");
        return false;
    }
    std::unique_ptr<QPrinter> printer = HxGetPrintServices().makePrinter(printerName);
    bool printed = false;
    if (!printer || !printer->isValid())
        qCritical("Halvix: no printer named \"%s\"", qPrintable(printerName.ToQString()));
    else
        printed = view->PrintTo(*printer);
    if (printer && printer->isValid() && !printed)
        qCritical("Halvix: the document could not be printed%s",
                  QPrinterInfo::availablePrinters().isEmpty() ? " (no printer is installed)" : "");
    m_frame->hide();
    return printed;
}

int CHalvixApp::Run() {
    return ExitInstance(QApplication::exec());
}

int CHalvixApp::ExitInstance(int result) {
    m_oleStarted = false;
    return result;
}

BOOL CHalvixApp::OpenDocumentFile(const CString& path) {
    g_lastDocumentPath = path;
    return m_frame ? m_frame->GetDocument()->OpenDocumentFile(path) : FALSE;
}

void CHalvixApp::SaveCustomState() {
    LoadSaveSettings(true);
}

void CHalvixApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CHalvixApp::OnOpenSample() {
    CFileDialog dlg(TRUE, u"hvx", g_installFolder + u"/Samples/*.hvx", 0, u"Halvix文档(*.hvx)|*.hvx||");
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return;
    OpenDocumentFile(dlg.GetPathName());
}

void CHalvixApp::OnHelpResource() {
    HxShellOpen(HxResourceCentreUrl());
}

void CHalvixApp::OnUpdateHelpResource(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!HxResourceCentreUrl().IsEmpty());
}
