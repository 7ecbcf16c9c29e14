// The slide import as the program runs it: the slides drawn by the drawing program in a process of
// its own, what it hands back read as untrusted input, the progress window and its 取消, the import's
// time, and drawing programs that hang, crash, or hand back garbage or pictures of gigabytes (each
// ending within the time with its message and the lesson as it was).
#include "document/document_test_support.h"
#include "pptx_files.h"
#include "slides/slide_records.h"
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
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

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

class SlideDrawerTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        g_unitLength = 0.05f;
        m_saved = HxSlideDrawer();
        ASSERT_TRUE(m_dir.isValid());
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
    // Imports the slides from..to of the deck as the command does, the dialog answered at once; the
    // seconds it took.
    double Import(const QByteArray& bytes, int from, int to, bool convert) {
        const QString path = Write(bytes);
        HxSetDialogRunner([from, to, convert](CDialog& dialog) -> INT_PTR {
            auto* ppt = dynamic_cast<CDlgPPT*>(&dialog);
            if (!ppt)
                return IDCANCEL;
            ppt->m_from = from;
            ppt->m_to = to;
            ppt->m_convert = convert ? TRUE : FALSE;
            return IDOK;
        });
        QElapsedTimer timer;
        timer.start();
        m_imported = HxImportSlideFile(m_doc.get(), CString::FromQString(path), nullptr);
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

    QTemporaryDir m_dir;
    HxSlideDrawerSettings m_saved;
    BOOL m_imported = FALSE;
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
    EXPECT_FALSE(m_imported);
    EXPECT_EQ(Now(), before);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].ToQString().startsWith(QStringLiteral("导入失败：无法启动绘制幻灯片的程序“")))
        << m_messages[0].ToQString().toStdString();
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
            EXPECT_FALSE(m_imported);
            EXPECT_EQ(Now(), before);
            ASSERT_EQ(m_messages.size(), 1u);
            EXPECT_EQ(m_messages[0], CString(c.message)) << m_messages[0].ToQString().toStdString();
        }
    }
}

TEST_F(SlideDrawerTest, WhenTheTimeRunsOutTheSlidesDrawnKeepTheirPagesAndTheOthersAreNamed) {
    // A slide every 700 ms, twelve slides, three seconds: four come whole, 5 to 12 are named.
    UseStandIn({QStringLiteral("slow"), QStringLiteral("700")}, 3000);
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
    QElapsedTimer since;
    qint64 longest = 0;
    QStringList said;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = std::max(longest, since.restart());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HxProgressWindow") && w->isVisible())
                for (QLabel* label : w->findChildren<QLabel*>())
                    if (said.isEmpty() || said.back() != label->text())
                        said << label->text();
    });
    since.start();
    timer.start();
    const double seconds = Import(OrdinaryDeck(), 1, 12, true);
    timer.stop();
    longest = std::max(longest, since.elapsed());
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
        QElapsedTimer since;
        qint64 longest = 0;
        QTimer timer;
        timer.setInterval(100);
        QObject::connect(&timer, &QTimer::timeout, [&] { longest = std::max(longest, since.restart()); });
        since.start();
        timer.start();
        Import(bytes, 1, 10, convert);
        timer.stop();
        longest = std::max(longest, since.elapsed());
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
