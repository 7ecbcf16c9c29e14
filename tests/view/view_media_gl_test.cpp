// The view's media commands against a scripted player: the file chosen, found beside the document or
// asked for, music and video mode, the player that cannot be made, the poll that closes it at the
// end of the playback, the playback settings, and what the click, the right button and the arrow
// keys do while it plays.
#include "view_tools_fixture.h"

#include "view/media_player.h"
#include "view/view_ids.h"

#include <QFile>
#include <array>
#include <QTemporaryDir>

namespace {

// A player whose state the test sets, recording what the view asks of it.
class CScriptedPlayer : public CMediaPlayer {
public:
    explicit CScriptedPlayer(std::vector<CString>* log) : m_log(log) {}
    ~CScriptedPlayer() override { m_log->push_back(u"deleted"); }
    bool Create(QWidget* parent, const QRect& rect) override {
        m_log->push_back(u"create");
        m_parent = parent;
        m_rect = rect;
        return s_canCreate;
    }
    void MoveWindow(const QRect& rect) override { m_rect = rect; }
    void ShowWindow(bool shown) override { m_shown = shown; }
    void SetUrl(const CString& path) override {
        m_url = path;
        m_log->push_back(u"url " + path);
    }
    CString GetUrl() const override { return m_url; }
    void Close() override { m_log->push_back(u"close"); }
    int GetPlayState() const override { return m_state; }
    bool HasError() const override { return m_error; }
    void Play() override { m_log->push_back(u"play"); }
    void Pause() override { m_log->push_back(u"pause"); }
    void Previous() override { m_log->push_back(u"previous"); }
    void Next() override { m_log->push_back(u"next"); }
    void SetStretchToFit(bool stretch) override { m_log->push_back(stretch ? u"stretch" : u"keep"); }
    bool GetFullScreen() const override { return m_fullScreen; }
    void SetFullScreen(bool fullScreen) override { m_fullScreen = fullScreen; }
    void SetEnableContextMenu(bool enable) override { m_contextMenu = enable; }
    CString GetUiMode() const override { return m_uiMode; }
    void SetUiMode(const CString& mode) override {
        m_uiMode = CString::FromQString(mode.ToQString().toLower());
    }

    static inline bool s_canCreate = true;
    std::vector<CString>* m_log;
    QWidget* m_parent = nullptr;
    QRect m_rect;
    bool m_shown = true;
    CString m_url;
    int m_state = HX_MEDIA_PLAYING;
    bool m_error = false;
    bool m_fullScreen = false;
    bool m_contextMenu = true;
    CString m_uiMode = u"full";
};

class MediaTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        CScriptedPlayer::s_canCreate = true;
        HxSetMediaPlayerFactory([this] { return new CScriptedPlayer(&m_log); });
        HxSetDialogRunner([this](CDialog& dialog) {
            auto* files = DYNAMIC_DOWNCAST(CFileDialog, &dialog);
            if (!files)
                return INT_PTR(IDCANCEL);
            ++m_dialogs;
            m_filter = files->m_strFilter;
            if (m_answer.IsEmpty())
                return INT_PTR(IDCANCEL);
            files->SetResult(m_answer);
            return INT_PTR(IDOK);
        });
        g_mediaPath.Empty();
    }
    void TearDown() override {
        m_view->CloseMedia();
        HxSetMediaPlayerFactory(nullptr);
        g_mediaPath.Empty();
        ViewToolsTest::TearDown();
    }
    CString File(const char* name) {
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("media");
        return CString::FromQString(path);
    }
    CScriptedPlayer* Player() const { return static_cast<CScriptedPlayer*>(g_pMediaPlayer); }
    // The tick of the media poll.
    void Poll() { m_view->OnTimer(CHalvixView::kMediaTimer); }

    QTemporaryDir m_dir;
    std::vector<CString> m_log;
    int m_dialogs = 0;
    CString m_answer;
    CString m_filter;
};

} // namespace

TEST_F(MediaTest, ThePagesFilePlaysInMusicOrVideoModeByItsExtension) {
    struct Case {
        const char* name;
        int mode;
    };
    // Extensions are compared as written: ".MP3" plays as a video.
    for (const Case& c : {Case{"narration.mp3", 0}, Case{"clip.wmv", 1}, Case{"LOUD.MP3", 1},
                          Case{"a.wav", 0}, Case{"tune.midi", 0}, Case{"film.avi", 1}}) {
        SCOPED_TRACE(c.name);
        m_page->m_mediaFile = File(c.name);
        ASSERT_TRUE(Run(ID_VIEW_MEDIA));
        ASSERT_NE(Player(), nullptr);
        EXPECT_EQ(Player()->GetUrl(), m_page->m_mediaFile);
        EXPECT_EQ(g_mediaPath, m_page->m_mediaFile);
        EXPECT_EQ(m_view->m_mediaShown, c.mode);
        EXPECT_EQ(Player()->m_shown, c.mode == 1) << "music leaves the figure in sight";
        EXPECT_EQ(m_status, CString(u"ESC：退出全屏或关闭影音;上下方向键：视频伸展;"));
        m_view->CloseMedia();
    }
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(MediaTest, ANewPlayerCoversTheViewWithoutItsMenuAndStartsThePoll) {
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->m_parent, m_view.get()) << "the view is its own window here";
    EXPECT_EQ(Player()->m_rect, m_view->rect());
    EXPECT_EQ(Player()->m_uiMode, CString(u"none"));
    EXPECT_FALSE(Player()->m_contextMenu);
    EXPECT_TRUE(m_view->IsTimerSet(CHalvixView::kMediaTimer));
    // The view's new size moves the window with it.
    m_view->resize(320, 240);
    QCoreApplication::processEvents();
    EXPECT_EQ(Player()->m_rect.size(), QSize(320, 240));
    m_view->resize(kWidth, kHeight);
    QCoreApplication::processEvents();
    // A second file plays in the same player.
    CScriptedPlayer* first = Player();
    m_page->m_mediaFile = File("next.mp3");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_EQ(Player(), first);
    EXPECT_EQ(std::count(m_log.begin(), m_log.end(), CString(u"create")), 1);
}

TEST_F(MediaTest, PressingPlayOnThePlayingFileOffersTheFileDialog) {
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    ASSERT_EQ(m_dialogs, 0);
    // Cancel ends the command: the same file plays on.
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_NE(m_filter.Find(u"媒体文件|*.mp3;*.rmvb;*.rm;"), -1);
    EXPECT_EQ(Player()->GetUrl(), m_page->m_mediaFile);
    // Another file chosen becomes the page's and the document is modified.
    m_doc->SetModifiedFlag(FALSE);
    m_answer = File("other.wav");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_EQ(m_page->m_mediaFile, m_answer);
    EXPECT_EQ(Player()->GetUrl(), m_answer);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_view->m_mediaShown, 0);
}

TEST_F(MediaTest, AShortOrMissingPathAsksForAFile) {
    // Three characters or fewer: straight to the dialog.
    m_page->m_mediaFile = u"a.b";
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    // A file that is gone, and not beside the document either, is reported first.
    m_page->m_mediaFile = u"/nowhere/at/all/lesson.mp3";
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0],
              CString(u"原来设定的影音文件:\n“ /nowhere/at/all/lesson.mp3 ”未找到，请重新选择！"));
    EXPECT_EQ(m_dialogs, 2);
    EXPECT_EQ(m_page->m_mediaFile, CString(u"/nowhere/at/all/lesson.mp3")) << "cancel keeps the page's path";
}

TEST_F(MediaTest, AFileThatMovedWithTheDocumentIsFoundBesideIt) {
    const CString beside = File("lesson.mp3");
    m_doc->SetPathName(CString::FromQString(m_dir.filePath(QStringLiteral("课.hvx"))), FALSE);
    for (const char16_t* stored : {u"C:\\课件\\lesson.mp3", u"/old/place/lesson.mp3"}) {
        m_page->m_mediaFile = stored;
        ASSERT_TRUE(Run(ID_VIEW_MEDIA));
        ASSERT_NE(Player(), nullptr);
        EXPECT_EQ(Player()->GetUrl(), beside);
        EXPECT_EQ(m_page->m_mediaFile, CString(stored));
        m_view->CloseMedia();
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_dialogs, 0);
}

TEST_F(MediaTest, APlayerThatCannotBeMadeIsReported) {
    CScriptedPlayer::s_canCreate = false;
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"不能播放此媒体！"));
    EXPECT_FALSE(m_view->IsTimerSet(CHalvixView::kMediaTimer));
    EXPECT_EQ(m_log, (std::vector<CString>{u"create", u"deleted"}));
    EXPECT_FALSE(m_page->m_mediaFile.IsEmpty()) << "the path stays on the page";
}

TEST_F(MediaTest, ThePollClosesThePlayerWhenThePlaybackStopsOrEnds) {
    struct Case {
        int state;
        bool closes;
    };
    for (const Case& c :
         {Case{HX_MEDIA_PLAYING, false}, Case{HX_MEDIA_PAUSED, false}, Case{HX_MEDIA_READY, false},
          Case{HX_MEDIA_ENDED, true}, Case{HX_MEDIA_STOPPED, true}}) {
        SCOPED_TRACE(c.state);
        m_page->m_mediaFile = File("clip.avi");
        g_mediaPath.Empty();
        ASSERT_TRUE(Run(ID_VIEW_MEDIA));
        g_mediaFullScreen = true;
        Player()->m_state = c.state;
        Poll();
        EXPECT_EQ(g_pMediaPlayer == nullptr, c.closes);
        EXPECT_EQ(m_view->IsTimerSet(CHalvixView::kMediaTimer), !c.closes);
        EXPECT_EQ(g_mediaFullScreen, !c.closes);
        m_view->CloseMedia();
    }
    EXPECT_TRUE(m_messages.empty());
    // A file no decoder could play stops with an error: closed, and said so.
    m_page->m_mediaFile = File("clip.rmvb");
    g_mediaPath.Empty();
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    Player()->m_state = HX_MEDIA_STOPPED;
    Player()->m_error = true;
    Poll();
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    EXPECT_EQ(m_messages, (std::vector<CString>{u"不能播放此媒体！"}));
}

TEST_F(MediaTest, TheCloseCommandAndItsUpdate) {
    EXPECT_FALSE(Update(ID_VIEW_MEDIA_CLOSE).m_enabled);
    EXPECT_FALSE(Update(ID_VIEW_MEDIA_CTRL).m_enabled);
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    EXPECT_TRUE(Update(ID_VIEW_MEDIA_CLOSE).m_enabled);
    CCmdUI control = Update(ID_VIEW_MEDIA_CTRL);
    EXPECT_TRUE(control.m_enabled);
    EXPECT_EQ(control.m_check, 1) << "checked in video mode";
    g_mediaFullScreen = true;
    m_log.clear();
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_CLOSE));
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    EXPECT_EQ(m_log, (std::vector<CString>{u"close", u"deleted"}));
    EXPECT_FALSE(g_mediaFullScreen);
    EXPECT_FALSE(m_view->IsTimerSet(CHalvixView::kMediaTimer));
    // Without a player it does nothing.
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_CLOSE));
    EXPECT_EQ(m_log.size(), 2u);
}

TEST_F(MediaTest, TheSettingsGoToFullScreenWithTheBarOrTakeTheBarAway) {
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_SETTINGS)) << "nothing without a player";
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_SETTINGS));
    EXPECT_TRUE(Player()->m_fullScreen);
    EXPECT_EQ(Player()->m_uiMode, CString(u"full"));
    EXPECT_TRUE(g_mediaFullScreen);
    // In full screen nothing changes.
    Player()->m_uiMode = u"full";
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_SETTINGS));
    EXPECT_EQ(Player()->m_uiMode, CString(u"full"));
    // Out of full screen with the bar: the bar goes.
    Player()->m_fullScreen = false;
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_SETTINGS));
    EXPECT_EQ(Player()->m_uiMode, CString(u"none"));
    EXPECT_FALSE(Player()->m_fullScreen);
}

TEST_F(MediaTest, TheControlSwitchMovesTheMouseBetweenPlayerAndFigure) {
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_CTRL));
    EXPECT_EQ(m_view->m_mediaShown, 0);
    EXPECT_FALSE(Player()->m_shown);
    EXPECT_EQ(Update(ID_VIEW_MEDIA_CTRL).m_check, 0);
    ASSERT_TRUE(Run(ID_VIEW_MEDIA_CTRL));
    EXPECT_EQ(m_view->m_mediaShown, 1);
    EXPECT_TRUE(Player()->m_shown);
    EXPECT_EQ(m_messages, (std::vector<CString>{u"现在鼠标用以操作图形（音乐模式），按ESC键关闭播放器！",
                                                u"现在鼠标用以操作播放器（视频模式），按ESC键关闭播放器！"}));
}

TEST_F(MediaTest, AClickPausesOrResumesTheShownPlayer) {
    CGVertex* a = AddPoint(0, 0);
    Redraw();
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    m_log.clear();
    Player()->m_state = HX_MEDIA_PLAYING;
    Click(Pixel(0, 0));
    EXPECT_EQ(m_log, (std::vector<CString>{u"pause"}));
    EXPECT_EQ(m_status, CString(u"暂停播放，单击继续，“ESC”键关闭"));
    Player()->m_state = HX_MEDIA_PAUSED;
    Click(Pixel(0, 0));
    EXPECT_EQ(m_log.back(), CString(u"play"));
    EXPECT_EQ(m_status, CString(u"正在播放影音，单击暂停，“ESC”键关闭"));
    Player()->m_state = HX_MEDIA_READY;
    Click(Pixel(0, 0));
    EXPECT_EQ(m_messages, (std::vector<CString>{u"请稍等…，如不能播放，请按“影音播放”按钮打开另一文件！"}));
    EXPECT_FALSE(a->m_selected) << "the figure does not take the click";
    // A press on the player's own window is a press on the drawing.
    Player()->m_state = HX_MEDIA_PLAYING;
    m_log.clear();
    Player()->m_onPress(m_view->mapToGlobal(Pixel(0, 0)), false);
    EXPECT_EQ(m_log, (std::vector<CString>{u"pause"}));
    // In music mode the figure has the mouse.
    m_view->m_mediaShown = 0;
    m_log.clear();
    Click(Pixel(0, 0));
    EXPECT_TRUE(a->m_selected);
    EXPECT_TRUE(m_log.empty());
}

TEST_F(MediaTest, TheRightButtonAndDragsDoNothingWhileThePlayerShows) {
    CGVertex* a = AddPoint(0, 0);
    Redraw();
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    const double rotation = g_viewRotation[0];
    RightClick(Pixel(0, 0));
    EXPECT_TRUE(m_menus.empty());
    Player()->m_onPress(m_view->mapToGlobal(Pixel(0, 0)), true);
    EXPECT_TRUE(m_menus.empty());
    Press(Pixel(3, 3));
    Move(Pixel(6, 1));
    Release(Pixel(6, 1));
    EXPECT_EQ(g_viewRotation[0], rotation) << "no turn of the view";
    // In music mode the right button is the figure's again.
    m_view->m_mediaShown = 0;
    RightClick(Pixel(0, 0));
    EXPECT_FALSE(m_menus.empty());
    (void)a;
}

TEST_F(MediaTest, TheArrowKeysGoToThePlayer) {
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_VIEW_MEDIA));
    m_log.clear();
    const std::array<double, 4> before = {g_viewRotation[0], g_viewRotation[1], g_viewRotation[2],
                                          g_viewRotation[3]};
    for (UINT id : {ID_KEY_LEFT, ID_KEY_RIGHT, ID_KEY_UP, ID_KEY_DOWN, ID_KEY_CTRL_LEFT})
        ASSERT_TRUE(Run(id));
    EXPECT_EQ(m_log, (std::vector<CString>{u"previous", u"next", u"stretch", u"keep", u"previous"}));
    EXPECT_EQ(before, (std::array<double, 4>{g_viewRotation[0], g_viewRotation[1], g_viewRotation[2],
                                             g_viewRotation[3]}))
        << "the view does not turn";
    // Keys on the player's full-screen window: the arrows the same way.
    m_log.clear();
    Player()->m_onKey(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(m_log, (std::vector<CString>{u"next"}));
    // Without a player the arrows turn the view again.
    m_view->CloseMedia();
    m_log.clear();
    ASSERT_TRUE(Run(ID_KEY_RIGHT));
    EXPECT_TRUE(m_log.empty());
    EXPECT_NE(before, (std::array<double, 4>{g_viewRotation[0], g_viewRotation[1], g_viewRotation[2],
                                             g_viewRotation[3]}));
}

TEST_F(MediaTest, PlayWithNothingToAnimateOpensTheMedia) {
    int kinds = 0;
    HxGetViewServices().constructFromSelection = [&](CHalvixDoc&, int kind) {
        kinds += kind;
        return 0;
    };
    m_page->m_mediaFile = File("clip.avi");
    ASSERT_TRUE(Run(ID_CREATE_PLAY));
    EXPECT_EQ(kinds, 12);
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->GetUrl(), m_page->m_mediaFile);
}
