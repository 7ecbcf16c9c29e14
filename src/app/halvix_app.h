// CHalvixApp: the application object around QApplication.  It starts the program in order (the
// settings file, the settings store "Vorlane" / "Settings" with six recent files, the check that the
// drawing view can have its OpenGL, the main frame with its document and view, the command line, the
// maximised window), keeps the settings file when the frame closes, and owns About, the samples, and
// the resource web page.
#pragma once

#include "platform/afx.h"

#include <QStringList>

#include <functional>
#include <memory>

class QApplication;
class CMainFrame;

// What the command line asks for: nothing (a new document), a document to open, or a document to
// print on the default printer ("/p FILE") or on the printer named ("/pt FILE PRINTER"), after
// which the program ends.
struct HxShellCommand {
    enum Kind { New, Open, Print, PrintTo } kind = New;
    QString file;
    QString printer;
};
HxShellCommand HxParseShellCommand(const QStringList& arguments);

class CHalvixApp : public CCmdTarget {
public:
    // Makes the QApplication when there is none yet (tests already have one).
    CHalvixApp(int& argc, char** argv);
    ~CHalvixApp() override;
    CHalvixApp(const CHalvixApp&) = delete;
    CHalvixApp& operator=(const CHalvixApp&) = delete;

    // Start-up; FALSE ends the program (no OpenGL for the drawing view, the frame could not be made,
    // or the file given on the command line could not be opened).
    virtual BOOL InitInstance();
    // The event loop, then ExitInstance; returns the program's exit code.
    int Run();
    virtual int ExitInstance(int result = 0);
    // Opens a document (after the save question); the path becomes the last opened one first.
    BOOL OpenDocumentFile(const CString& path);
    // Writes the settings file; the frame calls it when it closes.
    virtual void SaveCustomState();

    // Commands.
    void OnAppAbout();
    void OnOpenSample();
    void OnHelpResource();
    void OnUpdateHelpResource(CCmdUI* pCmdUI);

    CMainFrame* GetMainFrame() const { return m_frame.get(); }
    // The arguments the start-up reads (the program's own by default).
    void SetArguments(const QStringList& arguments) { m_arguments = arguments; }
    // The exit code when the start-up ended the program: 0 after a document printed from the command
    // line, else 1.
    int GetShellResult() const { return m_shellResult; }

    // The OLE start that can fail (always succeeds here; tests replace it).
    static std::function<bool()> s_oleInit;

private:
    void InstallMessageBoxHandler();
    // The open document on the default printer (no name) or the one named, from a window kept off
    // the screen; false when it could not be printed.
    bool PrintFromShell(const CString& printerName);
    int m_shellResult = 1;
    std::unique_ptr<QApplication> m_ownApp;
    std::unique_ptr<CMainFrame> m_frame;
    QStringList m_arguments;
    bool m_oleStarted = false;
};

// The one application object, null before it exists and after it is gone.
CHalvixApp* HxGetApp();
// Qt's own texts (file dialogs, message-box buttons, editing menus) in Simplified Chinese, loaded
// once the application exists; false when the translations are not installed.
bool HxInstallChineseTranslations();
// The address of the resource web page: the setting "ResourceUrl" under "Settings" (empty when it
// is not configured: the commands that open it are then disabled).
CString HxResourceCentreUrl();
