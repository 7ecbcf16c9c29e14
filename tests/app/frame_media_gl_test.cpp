// The main window with a media player open: F4 and the playback settings put the player (not the
// window) in full screen, Esc leaves that or closes the player, the player covers the drawing view
// and follows it when the panes change.
#include "app_test_support.h"

#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/settings_file.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "model/page.h"
#include "view/halvix_view.h"
#include "view/media_player.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A player that only remembers what it was told.
class CStandInPlayer : public CMediaPlayer {
public:
    bool Create(QWidget* parent, const QRect& rect) override {
        m_parent = parent;
        m_rect = rect;
        return true;
    }
    void MoveWindow(const QRect& rect) override { m_rect = rect; }
    void ShowWindow(bool) override {}
    void SetUrl(const CString& path) override { m_url = path; }
    CString GetUrl() const override { return m_url; }
    void Close() override {}
    int GetPlayState() const override { return HX_MEDIA_PLAYING; }
    bool HasError() const override { return false; }
    void Play() override {}
    void Pause() override {}
    void Previous() override {}
    void Next() override {}
    void SetStretchToFit(bool) override {}
    bool GetFullScreen() const override { return m_fullScreen; }
    void SetFullScreen(bool fullScreen) override { m_fullScreen = fullScreen; }
    void SetEnableContextMenu(bool) override {}
    CString GetUiMode() const override { return m_uiMode; }
    void SetUiMode(const CString& mode) override {
        m_uiMode = CString::FromQString(mode.ToQString().toLower());
    }

    QWidget* m_parent = nullptr;
    QRect m_rect;
    CString m_url;
    bool m_fullScreen = false;
    CString m_uiMode;
};

class FrameMediaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTemporarySettings();
        HxInitInstallFolder();
    }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
        HxSetMediaPlayerFactory([] { return new CStandInPlayer; });
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMediaPlayerFactory(nullptr);
        HxSetMessageBoxHandler(nullptr);
        g_mediaPath.Empty();
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
    }
    void Play() {
        const QString path = m_dir.filePath(QStringLiteral("课.avi"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("video");
        file.close();
        g_pCurPage->m_mediaFile = CString::FromQString(path);
        g_mediaPath.Empty();
        ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MEDIA));
        ASSERT_NE(g_pMediaPlayer, nullptr);
    }
    static CStandInPlayer* Player() { return static_cast<CStandInPlayer*>(g_pMediaPlayer); }
    static int Checked(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui.m_check;
    }

    struct Program {
        int argc = 1;
        char name[8] = "halvix";
        char* argv[2] = {name, nullptr};
        CHalvixApp app{argc, argv};
        Program() { app.SetArguments({QStringLiteral("halvix")}); }
    };

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(FrameMediaTest, ThePlayerCoversTheViewAndFollowsIt) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    Play();
    CHalvixView* view = frame->GetView();
    EXPECT_EQ(Player()->m_parent, frame);
    EXPECT_EQ(Player()->m_rect, QRect(view->mapTo(frame, QPoint(0, 0)), view->size()));
    // The object pane closed: the view grows to the left and the player with it.
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
    ProcessEvents();
    EXPECT_EQ(Player()->m_rect, QRect(view->mapTo(frame, QPoint(0, 0)), view->size()));
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_PANEL));
    frame->close();
}

TEST_F(FrameMediaTest, F4AndEscMoveThePlayerInAndOutOfFullScreen) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    Play();
    // F4: the player alone goes to full screen.
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_FULLSCREEN));
    EXPECT_TRUE(Player()->m_fullScreen);
    EXPECT_TRUE(g_mediaFullScreen);
    EXPECT_FALSE(frame->IsFullScreen());
    EXPECT_EQ(Checked(ID_VIEW_FULLSCREEN), 1);
    // F4 again leaves it.
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_FULLSCREEN));
    EXPECT_FALSE(Player()->m_fullScreen);
    EXPECT_FALSE(g_mediaFullScreen);
    EXPECT_EQ(Checked(ID_VIEW_FULLSCREEN), 0);
    // The playback settings' full screen: Esc leaves it and the player plays on.
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_MEDIA_SETTINGS));
    ASSERT_TRUE(g_mediaFullScreen);
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_ESCAPE));
    EXPECT_FALSE(g_mediaFullScreen);
    EXPECT_FALSE(Player()->m_fullScreen);
    ASSERT_NE(g_pMediaPlayer, nullptr);
    // Esc once more closes the player.
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_ESCAPE));
    ProcessEvents();
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    EXPECT_TRUE(m_messages.empty()) << "no hint while there was a player";
    frame->close();
}

TEST_F(FrameMediaTest, EscInAFullScreenWindowClosesThePlayerFirst) {
    Program program;
    ASSERT_TRUE(program.app.InitInstance());
    CMainFrame* frame = program.app.GetMainFrame();
    ProcessEvents();
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_FULLSCREEN));
    ASSERT_TRUE(frame->IsFullScreen());
    Play();
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_ESCAPE));
    ProcessEvents();
    EXPECT_EQ(g_pMediaPlayer, nullptr);
    EXPECT_TRUE(frame->IsFullScreen());
    ASSERT_TRUE(HxExecuteRibbonCommand(ID_VIEW_ESCAPE));
    EXPECT_FALSE(frame->IsFullScreen());
    frame->close();
}
