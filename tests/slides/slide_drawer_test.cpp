// The slide import as the program runs it: the slides drawn by the drawing program in a process of
// its own, what it hands back read as untrusted input, the progress window and its 取消, the import's
// time, and drawing programs that hang, crash, or hand back garbage or pictures of gigabytes (each
// ending within the time with its message and the lesson as it was).
#include "document/document_test_support.h"
#include "document/undo_cmds.h"
#include "pptx_files.h"
#include "slide_record_samples.h"
#include "slides/slide_records.h"
#include "support/child_process.h"
#include "support/page_snapshot.h"
#include "view/slide_import.h"
#include "view/slide_pages.h"
#include "view/view_colors.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <functional>
#include <list>
#include <new>

#include <sys/wait.h>
#include <unistd.h>

using namespace PptxFiles;

namespace {

QString StandIn() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("slide_drawer_standin"));
}

// The automatic colours and the generator back at their start: the tables' faces take their colours
// and the texts that follow a point their heights from them.
void RestartAutoColors() {
    HxSrand(7);
    g_autoColorHueIndex = 0;
    g_autoColorLightnessIndex = 0;
    g_autoColorSaturationIndex = 0;
}

QByteArray OrdinaryDeck() {
    return PptxFiles::OrdinaryDeck(10);
}

QString DrawingProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(g_slideDrawerName));
}

// What a program run with these arguments writes on its standard output, and its exit code.
std::pair<QByteArray, int> RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    const bool ended = process.waitForFinished(60000);
    EXPECT_TRUE(ended) << program.toStdString();
    if (!ended)
        process.kill();
    return {process.readAllStandardOutput(),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

// Whether the process is gone (ended, and reaped or a zombie no longer running) within two seconds.
bool GoneSoon(qint64 pid) {
    for (int i = 0; i < 40; ++i) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z "))
            return true;
        usleep(50000);
    }
    return false;
}

// The process id a stand-in wrote into a file, waited for a second at most.
qint64 PidIn(const QString& path) {
    for (int i = 0; i < 20; ++i) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            if (const qint64 pid = file.readAll().toLongLong(); pid > 0)
                return pid;
        usleep(50000);
    }
    return 0;
}

// A progress window that keeps every text it is given, the first its maker's.
class CRecordedProgress : public CHxProgressWindow {
public:
    explicit CRecordedProgress(QStringList& texts) : m_texts(texts) {}
    void SetText(const CString& text) override { m_texts << text.ToQString(); }

private:
    QStringList& m_texts;
};

// Clicks 取消 of the progress window shown now; false when none is shown.
bool ClickCancel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible())
            for (QAbstractButton* button : w->findChildren<QAbstractButton*>())
                if (button->text() == QStringLiteral("取消")) {
                    button->click();
                    return true;
                }
    return false;
}

// The text of the progress window shown now, or nothing.
QString ProgressText() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible())
            for (QLabel* label : w->findChildren<QLabel*>())
                return label->text();
    return QString();
}

// A timer of 100 ms from its making that notes the longest wait between its turns while an import
// runs, and does `onTurn` at each.
class CLongestWait {
public:
    explicit CLongestWait(std::function<void()> onTurn = {}) {
        m_timer.setInterval(100);
        QObject::connect(&m_timer, &QTimer::timeout, [this, onTurn = std::move(onTurn)] {
            m_longest = std::max(m_longest, m_since.restart());
            if (onTurn)
                onTurn();
        });
        m_since.start();
        m_timer.start();
    }
    // Stops the timer: the longest wait, the one going on now included.
    qint64 Stop() {
        m_timer.stop();
        m_longest = std::max(m_longest, m_since.elapsed());
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

class SlideDrawerTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        g_unitLength = 0.05f;
        m_saved = HxSlideDrawer();
        ASSERT_TRUE(m_dir.isValid());
        // Each message, and when it came after the dialog's OK.
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            m_messageMs.push_back(m_ok.isValid() ? m_ok.elapsed() : -1);
            return m_answer;
        });
    }
    void TearDown() override {
        HxSlideDrawer() = m_saved;
        DocumentTest::TearDown();
    }

    QString Write(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("deck.pptx"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Imports the slides from..to of the deck as the command does, the dialog answered at once (m_ok
    // counts from its OK), `afterNewPage` after each page made; the seconds it took.  The dialog's
    // range offered is kept (-1 when no dialog was shown).
    double Import(const QByteArray& bytes, int from, int to, bool convert,
                  const std::function<void()>& afterNewPage = nullptr) {
        const QString path = Write(bytes);
        m_offered = -1;
        m_ok.invalidate();
        HxSetDialogRunner([this, from, to, convert](CDialog& dialog) -> INT_PTR {
            auto* ppt = dynamic_cast<CDlgPPT*>(&dialog);
            if (!ppt)
                return IDCANCEL;
            m_offered = ppt->m_to;
            m_whileDialogOpen();
            ppt->m_from = from;
            ppt->m_to = to;
            ppt->m_convert = convert ? TRUE : FALSE;
            m_ok.start();
            return IDOK;
        });
        QElapsedTimer timer;
        timer.start();
        m_imported = HxImportSlideFile(m_doc.get(), CString::FromQString(path), afterNewPage);
        const double seconds = double(timer.elapsed()) / 1000.0;
        HxSetDialogRunner(nullptr);
        return seconds;
    }
    // The drawing program replaced by the stand-in in a mode, the import's time `milliseconds`.
    void UseStandIn(const QStringList& mode, qint64 milliseconds = 20000) {
        HxSlideDrawer().program = StandIn();
        HxSlideDrawer().arguments = mode;
        HxSlideDrawer().milliseconds = milliseconds;
    }
    // What the lesson is: its file's bytes, its current page and whether it is modified.
    struct Lesson {
        std::vector<BYTE> bytes;
        CGPage* page = nullptr;
        BOOL modified = FALSE;
        bool operator==(const Lesson&) const = default;
    };
    Lesson Now() { return {Store(), g_pCurPage, m_doc->IsModified()}; }
    // The import just run imported nothing, left the lesson as `before` and said one thing: what it
    // said (empty when it said more or less).
    CString OnlyMessageOfNothingImported(const Lesson& before) {
        EXPECT_FALSE(m_imported);
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(m_messages.size(), 1u);
        return m_messages.size() == 1 ? m_messages[0] : CString();
    }

    QTemporaryDir m_dir;
    HxSlideDrawerSettings m_saved;
    BOOL m_imported = FALSE;
    int m_offered = -1;
    std::function<void()> m_whileDialogOpen = [] {}; // while the dialog is open
    QElapsedTimer m_ok;              // from the dialog's OK
    std::vector<qint64> m_messageMs; // when each message came, in milliseconds from m_ok
};

// ---------------------------------------------------------------------------------------------

TEST_F(SlideDrawerTest, AnOrdinaryDeckImportsThroughTheDrawingProgramPageForPage) {
    // Twenty slides of titles, bullets and tables, in both modes: the pages the drawing program's
    // records build are those the same drawing makes in this process.
    const QByteArray bytes = OrdinaryDeck();
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        HxSlideDeck deck;
        ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        const int first = m_doc->GetPageCount();
        RestartAutoColors();
        ASSERT_TRUE(HxImportSlideDeck(m_doc.get(), deck, 1, 20, convert, nullptr));
        ASSERT_EQ(m_doc->GetPageCount(), first + 20);
        RestartAutoColors();
        Import(bytes, 1, 20, convert);
        ASSERT_TRUE(m_imported);
        ASSERT_EQ(m_doc->GetPageCount(), first + 40);
        EXPECT_TRUE(m_messages.empty()) << m_messages[0].ToQString().toStdString();
        int items = 0;
        for (int n = 0; n < 20; ++n) {
            CGPage* here = m_doc->m_pages.GetAt(m_doc->m_pages.FindIndex(first + n));
            CGPage* there = m_doc->m_pages.GetAt(m_doc->m_pages.FindIndex(first + 20 + n));
            const PageSnapshot a = TakeSnapshot(*here), b = TakeSnapshot(*there);
            EXPECT_EQ(a, b) << "slide " << n + 1 << ": " << SnapshotDifference(a, b);
            items += int(a.cells.size());
        }
        // Titles, headings and bullets, and the tables (grids and cell texts, or pictures).
        EXPECT_GE(items, convert ? 10 + 10 * 2 + 5 * 6 : 10 + 10 * 2 + 5);
    }
}

TEST_F(SlideDrawerTest, TheDrawingProgramIsFoundBesideTheProgramAndAMissingOneIsSaid) {
    HxSlideDrawer().program = m_dir.filePath(QStringLiteral("no-such-program"));
    const Lesson before = Now();
    Import(OrdinaryDeck(), 1, 2, true);
    const CString said = OnlyMessageOfNothingImported(before);
    EXPECT_TRUE(said.ToQString().startsWith(QStringLiteral("导入失败：无法启动绘制幻灯片的程序“")))
        << said.ToQString().toStdString();
}

TEST_F(SlideDrawerTest, ADrawingProgramThatMisbehavesEndsTheImportWithItsMessageAndChangesNothing) {
    AddPoint(g_pCurPage, 1, 2, 3);
    const QByteArray bytes = OrdinaryDeck();
    const struct {
        QStringList mode;
        const char16_t* message;
    } cases[] = {
        {{QStringLiteral("hang")},
         u"导入失败：导入用时超过3秒，第1-"
         u"5张幻灯片都没有导入，文档没有改变。请缩小幻灯片范围，或精简演示文稿。"},
        {{QStringLiteral("crash")}, g_slideDrawerCrashed},
        {{QStringLiteral("garbage")}, g_slideDrawerFaulty},
        {{QStringLiteral("huge-record")}, g_slideDrawerFaulty},
        {{QStringLiteral("huge-picture")}, g_slideDrawerFaulty},
        {{QStringLiteral("memory")}, g_slideDrawerOutOfMemory},
    };
    for (const auto& c : cases) {
        for (const bool convert : {true, false}) {
            SCOPED_TRACE(c.mode.join(u' ').toStdString() + (convert ? ", converted" : ", drawn"));
            UseStandIn(c.mode, 3000);
            m_messages.clear();
            const Lesson before = Now();
            const double seconds = Import(bytes, 1, 5, convert);
            EXPECT_LT(seconds, 4.0);
            const CString said = OnlyMessageOfNothingImported(before);
            EXPECT_EQ(said, CString(c.message)) << said.ToQString().toStdString();
        }
    }
}

TEST_F(SlideDrawerTest, WhenTheTimeRunsOutTheSlidesDrawnKeepTheirPagesAndTheOthersAreNamed) {
    // A slide every 600 ms, twelve slides, three seconds (the drawing stopped early enough to build
    // what it handed back): four come whole, 5 to 12 are named.
    UseStandIn({QStringLiteral("slow"), QStringLiteral("600")}, 3000);
    const int pages = m_doc->GetPageCount();
    const double seconds = Import(OrdinaryDeck(), 1, 12, false);
    EXPECT_LT(seconds, 4.0);
    EXPECT_TRUE(m_imported);
    EXPECT_EQ(m_doc->GetPageCount(), pages + 4);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"第5-12张幻灯片没有导入：导入用时超过3秒，已停止。已经导入的第1-4张幻灯片保留。"));
}

// The pages added after `first` pages, each with the number of objects it holds.
std::vector<int> ObjectsOfPagesAfter(CHalvixDoc& doc, int first) {
    std::vector<int> objects;
    for (int n = first; n < doc.GetPageCount(); ++n)
        objects.push_back(int(doc.m_pages.GetAt(doc.m_pages.FindIndex(n))->m_cells.GetCount()));
    return objects;
}

TEST_F(SlideDrawerTest, TheWholeImportEndsWithinItsTimeWhenThePagesTakeTimeToBuild) {
    // The drawing hands back ten slides of 2,000 editable texts at once and stops (SIGSTOP) without
    // saying that it finished; the view takes a tenth of a second over each page (a page of 2,000
    // texts takes the program's window that long drawing in software).  The import's time, three
    // seconds here, holds to the message: the drawing is stopped early enough that the pages of the
    // slides handed back are built in time, and a slide whose page would not be is named with the
    // slides not drawn.  (Stopped at the time and its pages built after, the message came a second
    // late.)
    UseStandIn({QStringLiteral("texts"), QStringLiteral("10x2000")}, 3000);
    const int pages = m_doc->GetPageCount();
    Import(OrdinaryDeck(), 1, 12, true, [] { QThread::msleep(100); });
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_LT(m_messageMs[0], 3000 + 300) << "the message comes within the import's time";
    EXPECT_GT(m_messageMs[0], 1000) << "the drawing is not stopped at once";
    // The slides kept are those the message names, each page whole.
    const QRegularExpression said(QStringLiteral("^第(\\d+)-12张幻灯片没有导入"));
    const QRegularExpressionMatch match = said.match(m_messages[0].ToQString());
    ASSERT_TRUE(match.hasMatch()) << m_messages[0].ToQString().toStdString();
    const int kept = match.captured(1).toInt() - 1;
    ASSERT_GE(kept, 1);
    ASSERT_LE(kept, 10);
    EXPECT_EQ(m_messages[0],
              HxFormat(g_slideTimeUp, HxSlideRangeText(kept + 1, 12), 3, HxSlideRangeText(1, kept)));
    EXPECT_TRUE(m_imported);
    EXPECT_EQ(ObjectsOfPagesAfter(*m_doc, pages), std::vector<int>(size_t(kept), 2000));
}

TEST_F(SlideDrawerTest, APageThatWouldPassTheTimeIsTakenBackAndItsSlideNamed) {
    // As above, the view taking the third page (then the first) until just past the time the pages
    // are built by (2.95 s of 3): the page begun is taken back, its number given back, and the
    // message names its slide with those after it; with none built the lesson is as it was.
    UseStandIn({QStringLiteral("texts"), QStringLiteral("10x2000")}, 3000);
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const int slow : {3, 1}) {
        SCOPED_TRACE(slow);
        m_messages.clear();
        m_messageMs.clear();
        const Lesson before = Now();
        const int pages = m_doc->GetPageCount();
        const WORD counter = m_doc->m_pageCounter;
        int made = 0;
        Import(OrdinaryDeck(), 1, 12, true, [&] {
            if (++made == slow)
                while (m_ok.elapsed() < 2950)
                    QThread::msleep(5);
        });
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_LT(m_messageMs[0], 3000 + 300);
        EXPECT_EQ(made, slow) << "no page is begun after";
        if (slow == 1) {
            EXPECT_EQ(m_messages[0], HxFormat(g_slideTimeUpNothing, 3, CString(u"1-12")));
            EXPECT_FALSE(m_imported);
            EXPECT_EQ(Now(), before);
            EXPECT_EQ(m_doc->m_pageCounter, counter);
        } else {
            EXPECT_EQ(m_messages[0], HxFormat(g_slideTimeUp, CString(u"3-12"), 3, CString(u"1-2")));
            EXPECT_TRUE(m_imported);
            EXPECT_EQ(ObjectsOfPagesAfter(*m_doc, pages), std::vector<int>(2, 2000));
            EXPECT_EQ(m_doc->m_pageCounter, counter + 2);
            ASSERT_EQ(m_doc->GetPageCount(), pages + 2);
            EXPECT_EQ(g_pCurPage, m_doc->m_pages.GetAt(m_doc->m_pages.FindIndex(pages + 1)));
        }
    }
}

TEST_F(SlideDrawerTest, APageWhoseEstimateWouldPassTheTimeIsNotBegun) {
    // Pages of 600 ms: 40 ms are left after the first, less than the second is estimated at.
    using namespace SlideRecordSamples;
    namespace R = HxSlideRecords;
    HxSlideRecordReader reader(1, 2, false, HxSlideImportBounds());
    reader.Feed(Stream({R::SlideBegin(1, 2), R::SlideEnd(Counts(1)), R::SlideBegin(2, 2),
                        R::SlideEnd(Counts(2)), R::Done()}));
    int made = 0;
    m_ok.start();
    HxFinishSlideImport(m_doc.get(), CString(), 1, 2, HxSlideDrawingEnd::kWhole, reader,
                        [&] { ++made, QThread::msleep(600); }, 1, 20,
                        {&m_ok, kSlideMessageMilliseconds + 640});
    EXPECT_EQ(made, 1);
}

TEST_F(SlideDrawerTest, APresentationSavedWithFewerSlidesWhileTheDialogIsOpenIsRefusedAsChanged) {
    // Saved again with one slide while the dialog is open: refused as changed, the lesson kept.
    m_whileDialogOpen = [this] { Write(PptxFiles::OrdinaryDeck(1)); };
    const Lesson before = Now();
    Import(OrdinaryDeck(), 2, 3, true);
    EXPECT_EQ(OnlyMessageOfNothingImported(before).ToQString(),
              QStringLiteral("无法导入“%1”：选择文件之后演示文稿已经改变，现在的幻灯片比所选的范围少，"
                             "文档没有改变。请重新导入。")
                  .arg(m_dir.filePath(QStringLiteral("deck.pptx"))));
}

TEST_F(SlideDrawerTest, MemoryRunningOutWhileThePagesAreBuiltLeavesTheLessonAsItWas) {
    // Memory runs out while the second page is built (the first with one slide): the pages made are
    // taken back with their undo histories and numbers, and g_slideOutOfMemory says that nothing was
    // imported, asking for fewer slides when there were more than one.
    AddPoint(g_pCurPage, 1, 2, 3);
    g_pCurPage->m_cmdProcessor.Submit(new CCmdAddCell(u"添加点"));
    CGPage* page = g_pCurPage;
    const int steps = page->m_cmdProcessor.GetCount();
    CCmd* last = page->m_cmdProcessor.GetCurrent();
    const struct {
        int from, to, failing;
        bool convert;
        CString message;
    } cases[] = {
        {1, 3, 2, true, HxFormat(g_slideOutOfMemory, g_slideFewerSlides)},
        {1, 3, 2, false, HxFormat(g_slideOutOfMemory, g_slideFewerSlides)},
        {2, 2, 1, true, HxFormat(g_slideOutOfMemory, u"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << "-" << c.to << (c.convert ? " converted" : " drawn"));
        m_messages.clear();
        const Lesson before = Now();
        const WORD counter = m_doc->m_pageCounter;
        int made = 0;
        Import(OrdinaryDeck(), c.from, c.to, c.convert, [&] {
            if (++made == c.failing)
                throw std::bad_alloc();
        });
        EXPECT_FALSE(m_imported);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], c.message);
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(m_doc->m_pageCounter, counter);
        EXPECT_EQ(page->m_cmdProcessor.GetCount(), steps);
        EXPECT_EQ(page->m_cmdProcessor.GetCurrent(), last);
    }
    // The text as said: the document unchanged, fewer slides asked for only with more than one.
    EXPECT_EQ(HxFormat(g_slideOutOfMemory, g_slideFewerSlides),
              CString(u"导入失败：导入幻灯片时内存不足，文档没有改变。请精简演示文稿中过大、过多的文本，或缩"
                      u"小幻灯片范围。"));
}

TEST_F(SlideDrawerTest, WhatTheBoundsLetThroughImportsAndMemoryRunningOutWhileItIsReadChangesNothing) {
    // The drawing hands back the most the import's bounds let through (196.7 MB: 20,000 texts, 487
    // million pixels, 128 MiB of rich text): it imports.  Then, in a child process whose address
    // space has room for 120 MB more, reading it runs out of memory: the import ends with
    // g_slideOutOfMemory and the lesson as it was (before, the window died of it).
    UseStandIn({QStringLiteral("full")});
    AddPoint(g_pCurPage, 1, 2, 3);
    const Lesson before = Now();
    const int result = HxRunInChild(
        [&] {
            HxCapChildMemory(120LL << 20);
            Import(OrdinaryDeck(), 1, 1, true);
            if (m_imported || m_messages.size() != 1)
                return 1;
            if (m_messages[0] != HxFormat(g_slideOutOfMemory, u""))
                return 2;
            if (!(Now() == before))
                return 3;
            return 0;
        },
        -1, 120);
    EXPECT_EQ(result, 0) << "1: imported or not one message, 2: another message, 3: the lesson changed, "
                         << kChildThrew << ": memory running out left the import, -1: the child died";

    const int pages = m_doc->GetPageCount();
    Import(OrdinaryDeck(), 1, 1, true);
    EXPECT_TRUE(m_imported);
    EXPECT_TRUE(m_messages.empty()) << m_messages[0].ToQString().toStdString();
    EXPECT_EQ(ObjectsOfPagesAfter(*m_doc, pages), std::vector<int>{20000});
}

TEST_F(SlideDrawerTest, DecksThatHeldTheWindowEndWithinTheImportsTime) {
    // Letters of scripts that no installed face has, each run at a size and style of its own: one box
    // of 20,000 runs, 700 boxes of 26 runs, a group of 700 members of 26 runs, 1,999 boxes of 26
    // runs.  Each held the window tens of seconds to a few minutes; now each ends within the import's
    // time (here 3 s): drawn in time, or stopped by it with the message and nothing of the unfinished
    // slide made.
    const QString runs26 = FallbackRunsParagraph(26);
    QString boxes700, members700, boxes1999;
    for (int i = 0; i < 1999; ++i) {
        const QString box = TextBox(3 + i, (i % 40) * 15.0, (i / 40) * 9.0, 300, 200, runs26);
        if (i < 700) {
            boxes700 += box;
            members700 += box;
        }
        boxes1999 += box;
    }
    const struct {
        const char* what;
        QByteArray bytes;
    } decks[] = {
        {"one box of 20,000 runs", Presentation({TextBox(3, 0, 0, 700, 500, FallbackRunsParagraph(20000))})},
        {"700 boxes of 26 runs", Presentation({boxes700})},
        {"a group of 700 members", Presentation({Group(2, 0, 0, 700, 500, 0, 0, 700, 500, members700)})},
        {"1,999 boxes of 26 runs", Presentation({boxes1999})},
    };
    HxSlideDrawer().milliseconds = 3000;
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const auto& deck : decks) {
        for (const bool convert : {true, false}) {
            if (convert && std::string_view(deck.what).find("group") != std::string_view::npos)
                continue; // groups are left out when converting
            SCOPED_TRACE(std::string(deck.what) + (convert ? ", converted" : ", drawn"));
            m_messages.clear();
            const Lesson before = Now();
            const int pages = m_doc->GetPageCount();
            const double seconds = Import(deck.bytes, 1, 1, convert);
            EXPECT_LT(seconds, 4.0);
            if (m_imported) {
                // Drawn in time on this machine (the small boxes take the text layout a second or two
                // here): its page, and no word of the time.
                EXPECT_EQ(m_doc->GetPageCount(), pages + 1);
                for (const CString& message : m_messages)
                    EXPECT_FALSE(message.ToQString().contains(QStringLiteral("超过3秒")));
                EXPECT_NE(std::string_view(deck.what), "one box of 20,000 runs")
                    << "no longer tests the time";
                continue;
            }
            EXPECT_EQ(Now(), before);
            ASSERT_EQ(m_messages.size(), 1u);
            // A range of one slide cannot be made smaller: only the deck is asked to change.
            EXPECT_EQ(m_messages[0],
                      CString(u"导入失败：导入用时超过3秒，第1张幻灯片没有导入，文档没有改变。请精简演示文稿。"));
        }
    }
}

TEST_F(SlideDrawerTest, TheEventLoopRunsThroughoutAnImportOfSeveralSeconds) {
    // A timer of 100 ms keeps firing while the slides are drawn and the pages built: no gap is longer
    // than a second.  The progress window says which slide is drawn.
    UseStandIn({QStringLiteral("slow"), QStringLiteral("300")});
    QStringList said;
    CLongestWait waits([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible())
                for (QLabel* label : w->findChildren<QLabel*>())
                    if (said.isEmpty() || said.back() != label->text())
                        said << label->text();
    });
    const double seconds = Import(OrdinaryDeck(), 1, 12, true);
    const qint64 longest = waits.Stop();
    EXPECT_GT(seconds, 3.0);
    EXPECT_TRUE(m_imported);
    EXPECT_LE(longest, 1000);
    EXPECT_TRUE(said.contains(QStringLiteral("正在导入第3张幻灯片（共12张）……")))
        << said.join(u'|').toStdString();
}

TEST_F(SlideDrawerTest, TheWindowRepaintsWhileTheMostAnImportMakesIsBuilt) {
    // Ten slides of 2,000 small text boxes, 20,000 objects, drawn by the drawing program: a timer of
    // 100 ms keeps firing while what it hands back is read and the pages are built.
    const QByteArray bytes = Presentation(std::vector<QString>(10, LetterBoxes(2000, 3, 20, 90, 30)));
    for (const bool convert : {false, true}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        const int pages = m_doc->GetPageCount();
        CLongestWait waits;
        Import(bytes, 1, 10, convert);
        const qint64 longest = waits.Stop();
        ASSERT_TRUE(m_imported);
        EXPECT_EQ(m_doc->GetPageCount(), pages + 10);
        EXPECT_LE(longest, 1000);
    }
}

TEST_F(SlideDrawerTest, CancelEndsTheImportWithinASecondAndLeavesTheLessonAsItWas) {
    UseStandIn({QStringLiteral("slow"), QStringLiteral("400")});
    AddPoint(g_pCurPage, 1, 2, 3);
    const Lesson before = Now();
    QElapsedTimer clicked;
    QTimer::singleShot(1500, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible())
                for (QAbstractButton* button : w->findChildren<QAbstractButton*>())
                    if (button->text() == QStringLiteral("取消")) {
                        clicked.start();
                        button->click();
                        return;
                    }
    });
    Import(OrdinaryDeck(), 1, 12, true);
    ASSERT_TRUE(clicked.isValid()) << "no progress window with 取消";
    EXPECT_LT(clicked.elapsed(), 1000);
    EXPECT_FALSE(m_imported);
    EXPECT_EQ(Now(), before);
    EXPECT_TRUE(m_messages.empty());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible());
}

// ---------------------------------------------------------------------------------------------
// Nothing of the presentation is read in the window: the drawing program counts, reads and prices

TEST_F(SlideDrawerTest, TheWindowOpensNoSlideLayoutOrMasterAndTheirDamageIsSaidAfterTheDialog) {
    // Damaged XML in the slide, its layout or its master: the slides are counted without opening any
    // of them, so the dialog offers them; the drawing program refuses the file after 确定.
    const std::vector<QString> slides{TextBox(3, 10, 10, 200, 40, Paragraph(TextRun(QStringLiteral("面"))))};
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const char* part : {"ppt/slides/slide1.xml", "ppt/slideLayouts/slideLayout1.xml",
                             "ppt/slideMasters/slideMaster1.xml"}) {
        SCOPED_TRACE(part);
        m_messages.clear();
        const Lesson before = Now();
        Import(Zip(Replacing(Entries(slides), QString::fromLatin1(part), "<p:sld><p:cSld>")), 1, 1, true);
        EXPECT_EQ(m_offered, 1);
        const CString said = OnlyMessageOfNothingImported(before);
        EXPECT_EQ(said, HxFormat(u"无法导入“%s”：文件已损坏，其中有格式不正确的内容。",
                                 CString::FromQString(m_dir.filePath(QStringLiteral("deck.pptx")))));
    }
}

TEST_F(SlideDrawerTest, ADeckThatTakesLongToReadIsReadAndRefusedInTheDrawingProgramWhileTheWindowAnswers) {
    // A hundred slides of 2,000 placeholders each that match none of the layout's: seconds of
    // reading, all of it in the drawing program.  A timer of 100 ms keeps firing from the choice of
    // the file to the refusal, which is the price's refusal of the deck as read here (200,000
    // objects).
    QString placeholders;
    for (int i = 0; i < 2000; ++i)
        placeholders += Placeholder(3 + i, QStringLiteral("body"), 100 + i, Paragraph(TextRun(QStringLiteral("a"))));
    const QByteArray bytes = Presentation(std::vector<QString>(100, placeholders));
    HxSlideDeck deck;
    QElapsedTimer reading;
    reading.start();
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    const qint64 readHere = reading.elapsed();
    AddPoint(g_pCurPage, 1, 2, 3);
    const Lesson before = Now();
    const CString refusal =
        HxSlideRefusalOf(HxSlideImportCostOf(deck, 1, 100, true), HxStoredLengthOf(*m_doc), HxSlideImportBounds());
    ASSERT_FALSE(refusal.IsEmpty());
    CLongestWait waits;
    const double seconds = Import(bytes, 1, 100, true);
    const qint64 longest = waits.Stop();
    EXPECT_EQ(m_offered, 100);
    EXPECT_EQ(OnlyMessageOfNothingImported(before), refusal);
    EXPECT_LE(longest, 1000) << "read here in " << readHere << " ms, imported in " << seconds << " s";
}

TEST_F(SlideDrawerTest, APricePastABoundIsRefusedAsTheWindowWorksItOutAndNothingIsDrawn) {
    // One slide of 201 texts listed a hundred times: 20,100 objects, refused as this process prices
    // the deck; the drawing program priced it and stopped.
    const QByteArray bytes = Presentation({LetterBoxes(201, 3, 2, 20, 10)}, std::vector<int>(100, 0));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    AddPoint(g_pCurPage, 1, 2, 3);
    const Lesson before = Now();
    Import(bytes, 1, 100, true);
    EXPECT_EQ(m_offered, 100);
    const CString said = OnlyMessageOfNothingImported(before);
    EXPECT_EQ(said, HxSlideRefusalOf(HxSlideImportCostOf(deck, 1, 100, true), HxStoredLengthOf(*m_doc),
                                     HxSlideImportBounds()));
    EXPECT_TRUE(said.ToQString().startsWith(QStringLiteral("导入的对象过多，超过20000个")));
}

TEST_F(SlideDrawerTest, TheRefusalIsOfThePriceTheDrawingProgramHandsBack) {
    // A small deck the stand-in prices at 20,001 objects, or at a file as large as the largest lesson
    // a save writes: refused as that price is, with this lesson's length, and nothing drawn.
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const char* kind : {"costly", "lesson"}) {
        SCOPED_TRACE(kind);
        UseStandIn({QStringLiteral("price"), QString::fromLatin1(kind)});
        HxSlideImportCost cost;
        cost.items = std::string_view(kind) == "costly" ? 20001 : 3;
        cost.storedBytes = std::string_view(kind) == "lesson" ? qint64(kHxMaxDocumentBytes) : 0;
        cost.work = 10;
        cost.workOf = {4, 3, 2, 1};
        cost.pages = 3;
        const CString refusal = HxSlideRefusalOf(cost, HxStoredLengthOf(*m_doc), HxSlideImportBounds());
        EXPECT_TRUE(refusal.ToQString().startsWith(std::string_view(kind) == "costly"
                                                       ? QStringLiteral("导入的对象过多，超过20000个")
                                                       : QStringLiteral("导入后文档过大")))
            << refusal.ToQString().toStdString();
        m_messages.clear();
        const Lesson before = Now();
        Import(OrdinaryDeck(), 1, 3, true);
        EXPECT_EQ(OnlyMessageOfNothingImported(before), refusal);
    }
}

TEST(SlideDrawingProgram, CountsReadingOnlyThePresentationAndStopsAtAPricePastABound) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&dir](const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    };
    const std::vector<QString> slides{TextBox(3, 10, 10, 200, 40, Paragraph(TextRun(QStringLiteral("面"))))};
    // A count: its slides, though the slide part is damaged; a refusal of what it reads.
    const QString damaged =
        write(QStringLiteral("damaged.pptx"),
              Zip(Replacing(Entries(slides, std::vector<int>{0, 0, 0}), QStringLiteral("ppt/slides/slide1.xml"), "<p:sld>")));
    EXPECT_EQ(RunProgram(DrawingProgram(), {QStringLiteral("--count"), damaged}),
              std::pair(QByteArray(HxSlideRecords::Hello() + HxSlideRecords::Count(3)), 0));
    EXPECT_EQ(RunProgram(DrawingProgram(), {QStringLiteral("--count"), dir.path()}),
              std::pair(QByteArray(HxSlideRecords::Hello() + HxSlideRecords::Refused(kPptxNotRegular)), 0));
    // A drawing priced past a bound: the price, and nothing drawn.  The lesson's length counts.
    const QByteArray many = Presentation({LetterBoxes(201, 3, 2, 20, 10)}, std::vector<int>(100, 0));
    const QByteArray one = Presentation(slides);
    HxSlideDeck deck, small;
    ASSERT_EQ(HxReadPptx(many, deck), kPptxOk);
    ASSERT_EQ(HxReadPptx(one, small), kPptxOk);
    const QString manyPath = write(QStringLiteral("many.pptx"), many),
                  onePath = write(QStringLiteral("one.pptx"), one);
    const QString almostFull = QString::number(qint64(kHxMaxDocumentBytes) - 100);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "converted" : "drawn");
        const QString c = QString::number(convert ? 1 : 0);
        EXPECT_EQ(RunProgram(DrawingProgram(), {manyPath, QStringLiteral("1"), QStringLiteral("100"), c,
                                                QStringLiteral("8000"), QStringLiteral("0")}),
                  std::pair(QByteArray(HxSlideRecords::Hello() +
                                       HxSlideRecords::Price(HxSlideImportCostOf(deck, 1, 100, convert))),
                            0));
        EXPECT_EQ(RunProgram(DrawingProgram(), {onePath, QStringLiteral("1"), QStringLiteral("1"), c,
                                                QStringLiteral("8000"), almostFull}),
                  std::pair(QByteArray(HxSlideRecords::Hello() +
                                       HxSlideRecords::Price(HxSlideImportCostOf(small, 1, 1, convert))),
                            0));
        // Within the bounds it is drawn after its price.
        const auto [drawn, code] = RunProgram(DrawingProgram(), {onePath, QStringLiteral("1"), QStringLiteral("1"), c,
                                                                 QStringLiteral("8000"), QStringLiteral("0")});
        EXPECT_EQ(code, 0);
        HxSlideRecordReader reader(1, 1, convert, HxSlideImportBounds());
        reader.RequirePrice(0);
        EXPECT_EQ(reader.Feed(drawn), HxSlideRecordReader::kDone) << reader.Fault();
        EXPECT_EQ(reader.Price().items, 1);
    }
    // Arguments it does not take.
    EXPECT_EQ(RunProgram(DrawingProgram(), {onePath, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                            QStringLiteral("8000")})
                  .second,
              2);
    EXPECT_EQ(RunProgram(DrawingProgram(), {QStringLiteral("--count")}).second, 2);
}

TEST_F(SlideDrawerTest, AMalformedPriceEndsTheImportAsFaultyAndChangesNothing) {
    AddPoint(g_pCurPage, 1, 2, 3);
    for (const char* kind : {"negative", "unbalanced", "pages", "after", "twice"}) {
        SCOPED_TRACE(kind);
        UseStandIn({QStringLiteral("price"), QString::fromLatin1(kind)});
        m_messages.clear();
        const Lesson before = Now();
        Import(OrdinaryDeck(), 1, 3, true);
        EXPECT_EQ(OnlyMessageOfNothingImported(before), CString(g_slideDrawerFaulty));
    }
}

TEST_F(SlideDrawerTest, TheProgressWindowSaysThePresentationIsReadThenNamesEachSlideAsItBegins) {
    // A window for the count, one for the drawing; the drawing program draws the three slides, whose
    // records may come in one piece: each is named once, in its order.
    std::list<QStringList> windows;
    HxProgressWindowMaker saved =
        HxSetProgressWindowMaker([&windows](const CString&, const CString& text, std::function<void()>) {
            windows.push_back({text.ToQString()});
            return std::unique_ptr<CHxProgressWindow>(new CRecordedProgress(windows.back()));
        });
    Import(OrdinaryDeck(), 2, 4, true);
    HxSetProgressWindowMaker(std::move(saved));
    EXPECT_TRUE(m_imported);
    const std::list<QStringList> expected{
        {QStringLiteral("正在读取演示文稿……")},
        {QStringLiteral("正在读取演示文稿……"), QStringLiteral("正在导入第1张幻灯片（共3张）……"),
         QStringLiteral("正在导入第2张幻灯片（共3张）……"), QStringLiteral("正在导入第3张幻灯片（共3张）……")}};
    EXPECT_EQ(windows, expected);
}

TEST_F(SlideDrawerTest, WhileTheDrawingProgramReadsTheProgressWindowSaysSo) {
    // The stand-in says hello, then takes two seconds before its price: all that while the window
    // says that the presentation is read, not that a slide is drawn.
    UseStandIn({QStringLiteral("late"), QStringLiteral("2000")});
    QStringList seen;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (m_ok.isValid() && m_ok.elapsed() < 1800)
            seen << ProgressText();
    });
    timer.start();
    Import(OrdinaryDeck(), 1, 2, true);
    timer.stop();
    EXPECT_TRUE(m_imported);
    ASSERT_GE(seen.size(), 5);
    seen.removeDuplicates();
    EXPECT_EQ(seen, QStringList{QStringLiteral("正在读取演示文稿……")});
}

TEST_F(SlideDrawerTest, TheImportsTimeCountsFromTheDialogsOkNotFromTheFirstSlide) {
    // The stand-in reads for two seconds, then draws a slide in 400 ms; the import's time is three
    // seconds: it ends three seconds after 确定, with the slides drawn by then (a clock started when
    // the first slide begins would end it at five), less what it keeps for building their pages
    // (at most three, of a small picture each) and showing the message.
    UseStandIn({QStringLiteral("late"), QStringLiteral("2000")}, 3000);
    const int pages = m_doc->GetPageCount();
    Import(OrdinaryDeck(), 1, 12, false);
    ASSERT_TRUE(m_ok.isValid());
    const double seconds = double(m_ok.elapsed()) / 1000.0;
    HxDrawnSlide slide;
    slide.shapes.resize(1);
    slide.shapes[0].kind = HxDrawnShape::kPicture;
    const double kept =
        (double(kSlideMessageMilliseconds) + 3.0 * double(HxSlideBuildMicroseconds(slide)) / 1000.0) / 1000.0;
    EXPECT_GE(seconds, 2.9 - kept);
    EXPECT_LT(seconds, 4.0);
    ASSERT_EQ(m_messages.size(), 1u);
    const int drawn = m_doc->GetPageCount() - pages;
    EXPECT_LE(drawn, 3);
    EXPECT_EQ(m_messages[0],
              drawn == 0 ? CString(u"导入失败：导入用时超过3秒，第1-12张幻灯片都没有导入，文档没有改变。"
                                   u"请缩小幻灯片范围，或精简演示文稿。")
                         : HxFormat(g_slideTimeUp, HxSlideRangeText(drawn + 1, 12), 3, HxSlideRangeText(1, drawn)));
}

TEST_F(SlideDrawerTest, ACountThatTakesLongLeavesTheWindowAnsweringAndEndsInItsTimeOrAtCancel) {
    const QByteArray bytes = OrdinaryDeck();
    AddPoint(g_pCurPage, 1, 2, 3);
    // Counted in a second and a half: the timer keeps firing, the progress window says that the
    // presentation is read, and the dialog comes after.
    {
        UseStandIn({QStringLiteral("slow-count"), QStringLiteral("1500")});
        QStringList said;
        CLongestWait waits([&] {
            if (!m_ok.isValid() && m_offered < 0 && !ProgressText().isEmpty())
                said << ProgressText();
        });
        const int pages = m_doc->GetPageCount();
        const double seconds = Import(bytes, 1, 2, true);
        const qint64 longest = waits.Stop();
        EXPECT_GE(seconds, 1.5);
        EXPECT_TRUE(m_imported);
        EXPECT_EQ(m_doc->GetPageCount(), pages + 2);
        EXPECT_EQ(m_offered, 20);
        EXPECT_LE(longest, 1000);
        ASSERT_GE(said.size(), 5);
        said.removeDuplicates();
        EXPECT_EQ(said, QStringList{QStringLiteral("正在读取演示文稿……")});
    }
    // Counted too late: said, no dialog, the lesson as it was.
    {
        UseStandIn({QStringLiteral("slow-count"), QStringLiteral("5000")}, 1000);
        m_messages.clear();
        const Lesson before = Now();
        const double seconds = Import(bytes, 1, 2, true);
        EXPECT_LT(seconds, 2.0);
        EXPECT_EQ(m_offered, -1);
        EXPECT_EQ(Now(), before);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], HxFormat(u"无法导入“%s”：读取演示文稿用时超过1秒，已停止。",
                                          CString::FromQString(m_dir.filePath(QStringLiteral("deck.pptx")))));
    }
    // 取消 while it counts: nothing said, no dialog, the lesson as it was.
    {
        UseStandIn({QStringLiteral("slow-count"), QStringLiteral("5000")});
        m_messages.clear();
        const Lesson before = Now();
        bool clicked = false;
        QTimer::singleShot(500, [&] { clicked = ClickCancel(); });
        const double seconds = Import(bytes, 1, 2, true);
        EXPECT_TRUE(clicked);
        EXPECT_LT(seconds, 1.5);
        EXPECT_EQ(m_offered, -1);
        EXPECT_EQ(Now(), before);
        EXPECT_TRUE(m_messages.empty());
    }
}

TEST_F(SlideDrawerTest, ATimeOutAsksForFewerSlidesOnlyWhenTheRangeHoldsMore) {
    UseStandIn({QStringLiteral("hang")}, 1000);
    Import(OrdinaryDeck(), 4, 4, true);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"导入失败：导入用时超过1秒，第4张幻灯片没有导入，文档没有改变。请精简演示文稿。"));
    m_messages.clear();
    Import(OrdinaryDeck(), 4, 5, true);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"导入失败：导入用时超过1秒，第4-5张幻灯片都没有导入，文档没有改变。"
                                     u"请缩小幻灯片范围，或精简演示文稿。"));
}

TEST_F(SlideDrawerTest, WhatTheDrawingProgramStartsEndsWithTheImportHoweverItEnds) {
    // The stand-in starts a process that waits for ever, then waits itself (the time runs out, or
    // 取消 is pressed) or draws every slide and ends: the process it started is gone with the import.
    const QString pidFile = m_dir.filePath(QStringLiteral("started.pid"));
    const struct {
        const char* how;
        const char* mode;
        bool cancel;
    } ends[] = {{"time up", "fork-hang", false}, {"取消", "fork-hang", true}, {"done", "fork-done", false}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.how);
        QFile::remove(pidFile);
        UseStandIn({QString::fromLatin1(end.mode), pidFile}, 2000);
        if (end.cancel)
            QTimer::singleShot(1000, [] { ClickCancel(); });
        Import(OrdinaryDeck(), 1, 2, false);
        EXPECT_EQ(m_imported, std::string_view(end.mode) == "fork-done");
        const qint64 started = PidIn(pidFile);
        ASSERT_GT(started, 0);
        const bool gone = GoneSoon(started);
        EXPECT_TRUE(gone);
        if (!gone)
            kill(pid_t(started), SIGKILL);
    }
}

TEST(SlideDrawer, TheDrawingProgramEndsWithAWindowKilledOutright) {
    // A window (the stand-in acting as one) starts the drawing program as the import does, the
    // drawing program notes its process and waits; the window is killed, and the drawing program
    // goes with it.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pidFile = dir.filePath(QStringLiteral("drawer.pid"));
    const pid_t window = fork();
    if (window == 0) {
        execl(StandIn().toLocal8Bit().constData(), "slide_drawer_standin", "window",
              pidFile.toLocal8Bit().constData(), "deck.pptx", "1", "1", "1", "1000", "0",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(window, 0);
    qint64 drawer = 0;
    for (int i = 0; i < 100 && drawer == 0; ++i) {
        usleep(50000);
        QFile file(pidFile);
        if (file.open(QIODevice::ReadOnly))
            drawer = file.readAll().toLongLong();
    }
    if (drawer <= 0) {
        kill(window, SIGKILL);
        waitpid(window, nullptr, 0);
        FAIL() << "the drawing program did not start";
    }
    EXPECT_EQ(kill(pid_t(drawer), 0), 0);
    kill(window, SIGKILL);
    waitpid(window, nullptr, 0);
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        // Ended (and reaped by init, or a zombie no longer running).
        QFile stat(QStringLiteral("/proc/%1/stat").arg(drawer));
        gone = !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
        if (!gone)
            usleep(50000);
    }
    EXPECT_TRUE(gone);
    if (!gone)
        kill(pid_t(drawer), SIGKILL);
}

} // namespace
