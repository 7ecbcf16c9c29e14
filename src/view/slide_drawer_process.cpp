// The program's slide import: the presentation is read, priced and drawn by the drawing program, in
// a process of its own that cannot hold the window, while a progress window tells how far it has
// come and offers 取消; what it hands back is read as untrusted input, and the pages are built of it.
// The dialog's number of slides is counted by the drawing program too: nothing of the presentation
// is read in the window's process.
#include "view/slide_import.h"

#include "slides/slide_records.h"
#include "view/slide_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <csignal>
#include <new>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

const char* const g_slideDrawerName = "halvix-slides";

HxSlideDrawerSettings& HxSlideDrawer() {
    static HxSlideDrawerSettings settings;
    return settings;
}

namespace {

QString DrawerProgram() {
    const HxSlideDrawerSettings& settings = HxSlideDrawer();
    if (!settings.program.isEmpty())
        return settings.program;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(g_slideDrawerName));
}

} // namespace

qint64 HxStartSlideDrawer(QProcess& process, const QStringList& importArguments) {
    const HxSlideDrawerSettings& settings = HxSlideDrawer();
    process.setProgram(DrawerProgram());
    process.setArguments(settings.arguments + importArguments);
    // It draws on no screen, with the fonts and the resolution the window's texts are laid out with.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()); gui && gui->primaryScreen())
        environment.insert(QStringLiteral("QT_FONT_DPI"),
                           QString::number(qRound(gui->primaryScreen()->logicalDotsPerInchY())));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // In the child before it runs the program: it ends with the window, even a window killed outright,
    // it leads a process group of its own (ended whole with the import, whatever it started), and its
    // address space is bounded.
    const pid_t window = getpid();
    const rlim_t space = settings.addressSpace > 0 ? rlim_t(settings.addressSpace) : RLIM_INFINITY;
    process.setChildProcessModifier([window, space] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != window)
            _exit(127); // the window ended before the line above
        setpgid(0, 0);
        // A pipe of 1 MB rather than 64 KB: the window reads what comes back in a sixteenth of the
        // turns of its event loop.
        fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
        if (space != RLIM_INFINITY) {
            const rlimit limit{space, space};
            setrlimit(RLIMIT_AS, &limit);
        }
    });
    process.start();
    return process.state() != QProcess::NotRunning ? process.processId() : 0;
}

void HxEndSlideDrawer(QProcess& process, qint64 group) {
    // The group first: a process the program started may outlive it, and the program's id stays its
    // group's while any of them runs.
    if (group > 0)
        ::kill(-pid_t(group), SIGKILL);
    // Whatever it is doing, the drawing is over: a killed process ends at once.
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
}

namespace {

// Runs the drawing program with these arguments and feeds what it hands back to `reader`, the event
// loop running, until it ends, fails, is cancelled or the time (from `started`) runs out.  The
// progress window says that the presentation is read, then which of the `count` slides from `from`
// is drawn as each begins.
HxSlideDrawingEnd RunDrawer(const QStringList& arguments, int from, int count, const QElapsedTimer& started,
                            HxSlideRecordReader& reader) {
    QProcess process;
    const qint64 group = HxStartSlideDrawer(process, arguments);
    QEventLoop loop;
    bool over = false;
    HxSlideDrawingEnd end = HxSlideDrawingEnd::kCrashed;
    auto finish = [&](HxSlideDrawingEnd how) {
        if (over)
            return;
        over = true;
        end = how;
        loop.quit();
    };
    std::unique_ptr<CHxProgressWindow> progress = HxMakeProgressWindow(
        g_slideProgressTitle, g_slideProgressReading, [&] { finish(HxSlideDrawingEnd::kCancelled); });
    reader.OnSlideBegun([&](int number) {
        if (progress)
            progress->SetText(HxFormat(g_slideProgressSlide, number - from + 1, count));
    });
    // The drawing stops early enough that the pages of the slides it has handed back can be built,
    // and the message shown, within the import's time: the deadline moves closer with each slide.
    QTimer deadline;
    deadline.setSingleShot(true);
    qint64 building = 0; // the microseconds building the slides read takes (HxSlideBuildMicroseconds)
    size_t priced = 0;   // the slides read whose building is counted
    auto restartDeadline = [&] {
        const std::vector<HxDrawnSlide>& slides = reader.Slides();
        for (; priced < slides.size(); ++priced)
            building += HxSlideBuildMicroseconds(slides[priced]);
        const qint64 left = HxSlideDrawer().milliseconds - kSlideMessageMilliseconds -
                            (building + 999) / 1000 - started.elapsed();
        deadline.start(int(std::clamp<qint64>(left, 0, INT_MAX)));
    };
    auto takeRead = [&] {
        const QByteArray bytes = process.readAllStandardOutput();
        if (over || bytes.isEmpty())
            return;
        switch (reader.Feed(bytes)) {
        case HxSlideRecordReader::kReading:
            break;
        case HxSlideRecordReader::kDone:
            finish(HxSlideDrawingEnd::kWhole);
            return;
        case HxSlideRecordReader::kOutOfMemory:
            finish(HxSlideDrawingEnd::kOutOfMemory);
            return;
        case HxSlideRecordReader::kRefused:
            finish(HxSlideDrawingEnd::kRefused);
            return;
        case HxSlideRecordReader::kTooCostly:
            finish(HxSlideDrawingEnd::kTooCostly);
            return;
        case HxSlideRecordReader::kFaulty:
            finish(HxSlideDrawingEnd::kFaulty);
            return;
        case HxSlideRecordReader::kNoMemory:
            finish(HxSlideDrawingEnd::kNoMemory);
            return;
        }
        if (priced < reader.Slides().size())
            restartDeadline();
    };
    // Called from the event loop: memory running out here ends the import, nothing kept, and
    // goes no further.
    auto read = [&] {
        try {
            takeRead();
        } catch (const std::bad_alloc&) {
            reader.GiveBack();
            finish(HxSlideDrawingEnd::kNoMemory);
        }
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, read);
    QObject::connect(&process, &QProcess::finished, &loop, [&] {
        read();
        // Ended without saying that it finished: a signal, an exit, or its output stopped short.
        finish(HxSlideDrawingEnd::kCrashed);
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(HxSlideDrawingEnd::kNotStarted);
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { finish(HxSlideDrawingEnd::kTimeUp); });
    restartDeadline();
    if (process.state() == QProcess::NotRunning && process.error() == QProcess::FailedToStart)
        finish(HxSlideDrawingEnd::kNotStarted);
    if (!over) {
        try {
            loop.exec();
        } catch (const std::bad_alloc&) {
            // Memory ran out in Qt's own reading of the drawing's output: the import ends as when
            // it runs out in ours.
            reader.GiveBack();
            over = true;
            end = HxSlideDrawingEnd::kNoMemory;
        }
    }
    reader.OnSlideBegun(nullptr);
    HxEndSlideDrawer(process, group);
    return end;
}

} // namespace

int HxCountPresentationSlides(const CString& path) {
    QElapsedTimer started;
    started.start();
    HxSlideRecordReader reader = HxSlideRecordReader::ForCount();
    const HxSlideDrawingEnd end = RunDrawer({QStringLiteral("--count"), path.ToQString()}, 1, 0, started, reader);
    CString message;
    switch (end) {
    case HxSlideDrawingEnd::kWhole:
        return reader.SlideCount();
    case HxSlideDrawingEnd::kCancelled:
        return 0;
    case HxSlideDrawingEnd::kTimeUp:
        message = HxFormat(g_slideReadingTimeUp, path, int(HxRoundedUp(HxSlideDrawer().milliseconds, 1000)));
        break;
    case HxSlideDrawingEnd::kNotStarted:
        message = HxSlideDrawerMissingText();
        break;
    case HxSlideDrawingEnd::kCrashed:
        message = g_slideDrawerCrashed;
        break;
    case HxSlideDrawingEnd::kOutOfMemory:
        message = HxFormat(g_slideReadingOutOfMemory, path);
        break;
    case HxSlideDrawingEnd::kRefused:
        message = HxSlideRefusalText(reader.Refusal(), path);
        break;
    case HxSlideDrawingEnd::kFaulty:
    case HxSlideDrawingEnd::kTooCostly:
        message = g_slideDrawerFaulty;
        break;
    case HxSlideDrawingEnd::kNoMemory:
        message = HxFormat(g_slideOutOfMemory, u"");
        break;
    }
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

bool HxImportDrawnSlides(CHalvixDoc* doc, const CString& path, int slides, int from, int to, bool convert,
                         const std::function<void()>& afterNewPage, const QElapsedTimer& started,
                         const HxSlideImportBounds& bounds) {
    if (!doc || slides <= 0)
        return false;
    HxCutSlideRange(slides, from, to);
    // The drawing program prices the import before it draws, and stops when its bounds refuse it;
    // the price is refused here by the import's own bounds.
    const qint64 stored = HxStoredLengthOf(*doc);
    HxSlideRecordReader reader(from, to, convert, bounds);
    reader.RequirePrice(stored);
    const HxSlideDrawingEnd end =
        RunDrawer({path.ToQString(), QString::number(from), QString::number(to), QString::number(convert ? 1 : 0),
                   QString::number(bounds.milliseconds), QString::number(stored)},
                  from, to - from + 1, started, reader);
    return HxFinishSlideImport(doc, path, from, to, end, reader, afterNewPage,
                               int(HxRoundedUp(HxSlideDrawer().milliseconds, 1000)),
                               int(HxRoundedUp(bounds.milliseconds, 1000)),
                               HxSlideBuildDeadline{&started, HxSlideDrawer().milliseconds});
}
