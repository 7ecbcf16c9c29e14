// The program itself, started on this X display with Qt's OpenGL integration turned off, so that no
// OpenGL context can be made: it shows its message, says the same on standard error and ends with
// status 1 when the box is answered, plain and with "/p FILE" (the window's first paint took it down
// before, without a word); and on Qt's offscreen platform, which shows no window, on standard error
// alone.  xdotool finds the box by the program's process id and presses Return in
// it; every wait is bounded and the program is killed if it is still there at the end.
#include "app_start_fixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kNoOpenGl[] = "无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，"
                         "或安装Mesa软件渲染器（libgl1-mesa-dri）。";

// Runs xdotool; false when it could not run, failed or did not end within five seconds.  What it
// printed goes to `output`.
bool Xdotool(const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForStarted(5000))
        return false;
    if (!tool.waitForFinished(5000)) {
        tool.kill();
        tool.waitForFinished(5000);
        return false;
    }
    if (output)
        *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

struct Outcome {
    bool started = false;
    bool boxAnswered = false;
    bool ended = false; // by itself, before the deadline
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QList<QByteArray> errorLines;
};

class NoOpenGlProgramTest : public AppStartTest {
protected:
    void SetUp() override {
        AppStartTest::SetUp();
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            << "xdotool is not installed (scripts/install-deps installs it)";
        ASSERT_TRUE(QFileInfo(QStringLiteral(HALVIX_PROGRAM)).isExecutable()) << HALVIX_PROGRAM;
    }

    // Runs the program with `arguments` and no OpenGL (on Qt's `platform`, the X display's without its
    // OpenGL integration by default), its settings in folders of the test's own, and answers its
    // message box with Return whenever it shows one.
    Outcome Run(const QStringList& arguments, const QString& platform = QStringLiteral("xcb")) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
            const QString folder = m_dir.filePath(QString::fromLatin1(name));
            EXPECT_TRUE(QDir().mkpath(folder));
            environment.insert(QString::fromLatin1(name), folder);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(m_dir.path());
        program.start(QStringLiteral(HALVIX_PROGRAM), arguments);
        Outcome outcome;
        outcome.started = program.waitForStarted(10000);
        if (!outcome.started)
            return outcome;
        const QString pid = QString::number(program.processId());
        const QDeadlineTimer deadline(60000);
        while (program.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            if (program.waitForFinished(200))
                break;
            QByteArray boxes;
            if (!Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                          pid, QStringLiteral("--name"), QStringLiteral("^Halvix$")},
                         &boxes))
                continue;
            // The key goes through XTEST to the focused window: "key --window" picks XTEST only while
            // the window has the focus, and its release then goes to a window that closed on the
            // press, so that xdotool fails between the two and leaves Return held down on the display.
            const QString box = QString::fromLatin1(boxes.trimmed().split('\n').value(0));
            if (!box.isEmpty() && Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box}) &&
                Xdotool({QStringLiteral("key"), QStringLiteral("Return")}))
                outcome.boxAnswered = true;
        }
        outcome.ended = program.state() == QProcess::NotRunning;
        if (!outcome.ended) {
            program.kill();
            program.waitForFinished(10000);
        }
        outcome.status = program.exitStatus();
        outcome.code = program.exitCode();
        outcome.errorLines = program.readAllStandardError().split('\n');
        return outcome;
    }

    static void ExpectSaidAndEnded(const Outcome& outcome, bool box = true) {
        ASSERT_TRUE(outcome.started);
        EXPECT_TRUE(outcome.ended) << "the program was still running at the end of the wait, and was killed";
        EXPECT_EQ(outcome.status, QProcess::NormalExit) << "ended by a signal";
        EXPECT_EQ(outcome.code, 1);
        const std::string errors = outcome.errorLines.join('\n').toStdString();
        if (box) {
            EXPECT_TRUE(outcome.boxAnswered) << "no message box named Halvix was answered; standard error:\n"
                                             << errors;
        }
        EXPECT_TRUE(outcome.errorLines.contains(QByteArray(kNoOpenGl))) << "standard error:\n" << errors;
    }

};

} // namespace

TEST_F(NoOpenGlProgramTest, TheProgramSaysThereIsNoOpenGlAndEndsWithStatusOne) {
    ExpectSaidAndEnded(Run({}));
}

TEST_F(NoOpenGlProgramTest, PrintingFromTheCommandLineSaysSoToo) {
    const QString path = SaveDocument(1);
    ASSERT_TRUE(QFileInfo::exists(path));
    ExpectSaidAndEnded(Run({QStringLiteral("/p"), path}));
}

TEST_F(NoOpenGlProgramTest, OnAPlatformThatShowsNoWindowItSaysSoOnStandardErrorAndEnds) {
    // Qt's offscreen platform makes OpenGL contexts on this X display, but the drawing view cannot be
    // drawn there (its first paint took the program down), and a box there could not be answered:
    // the line on standard error, and status 1, plain and printing.
    ExpectSaidAndEnded(Run({}, QStringLiteral("offscreen")), false);
    const QString path = SaveDocument(1);
    ExpectSaidAndEnded(Run({QStringLiteral("/p"), path}, QStringLiteral("offscreen")), false);
}
