// The program's slide import: the slides are drawn by the drawing program, in a process of its own
// that cannot hold the window, while a progress window tells how far it has come and offers 取消;
// what it hands back is read as untrusted input, and the pages are built of it.
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

void HxStartSlideDrawer(QProcess& process, const QStringList& importArguments) {
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
    // and its address space is bounded.
    const pid_t window = getpid();
    const rlim_t space = settings.addressSpace > 0 ? rlim_t(settings.addressSpace) : RLIM_INFINITY;
    process.setChildProcessModifier([window, space] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != window)
            _exit(127); // the window ended before the line above
        if (space != RLIM_INFINITY) {
            const rlimit limit{space, space};
            setrlimit(RLIMIT_AS, &limit);
        }
    });
    process.start();
}

namespace {

// Runs the drawing of the slides from..to of the presentation at `path` and feeds what it hands back to
// `reader`, the event loop running, until it ends, fails, is cancelled or the import's time (from
// `started`) runs out.
HxSlideDrawingEnd RunDrawer(const CString& path, int from, int to, bool convert,
                            const HxSlideImportBounds& bounds, const QElapsedTimer& started,
                            HxSlideRecordReader& reader) {
    QProcess process;
    HxStartSlideDrawer(process, {path.ToQString(), QString::number(from), QString::number(to),
                                 QString::number(convert ? 1 : 0), QString::number(bounds.milliseconds)});
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
    const int count = to - from + 1;
    int shown = -1;
    std::unique_ptr<CHxProgressWindow> progress = HxMakeProgressWindow(
        g_slideProgressTitle, g_slideProgressReading, [&] { finish(HxSlideDrawingEnd::kCancelled); });
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
        case HxSlideRecordReader::kFaulty:
            finish(HxSlideDrawingEnd::kFaulty);
            return;
        case HxSlideRecordReader::kNoMemory:
            finish(HxSlideDrawingEnd::kNoMemory);
            return;
        }
        if (priced < reader.Slides().size())
            restartDeadline();
        const int now = reader.Current() > 0 ? reader.Current() : from + int(reader.Slides().size());
        if (progress && now != shown && now <= to) {
            shown = now;
            progress->SetText(HxFormat(g_slideProgressSlide, now - from + 1, count));
        }
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
    // Whatever it is doing, the drawing is over: a killed process ends at once.
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    return end;
}

} // namespace

bool HxImportDrawnSlides(CHalvixDoc* doc, const CString& path, const HxSlideDeck& deck, int from, int to,
                         bool convert, const std::function<void()>& afterNewPage,
                         const QElapsedTimer& started, const HxSlideImportBounds& bounds) {
    if (!doc || deck.slides.empty())
        return false;
    HxCutSlideRange(deck, from, to);
    if (HxSlideImportRefused(*doc, deck, from, to, convert, bounds))
        return false;
    HxSlideRecordReader reader(from, to, convert, bounds);
    const HxSlideDrawingEnd end = RunDrawer(path, from, to, convert, bounds, started, reader);
    return HxFinishSlideImport(doc, path, from, to, end, reader, afterNewPage,
                               int(HxRoundedUp(HxSlideDrawer().milliseconds, 1000)),
                               int(HxRoundedUp(bounds.milliseconds, 1000)),
                               HxSlideBuildDeadline{&started, HxSlideDrawer().milliseconds});
}
