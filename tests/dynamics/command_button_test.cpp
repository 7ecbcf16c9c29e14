// The command button: its record with the ids, delay and reserved words, bad counts refused, and its
// stepping with a main window that records what is posted: one command every delay + 1 ticks, posted
// and run only when the messages are delivered, the wait for the end of a playback, the shared wait
// counter, and a button without commands.
#include "dynamics/buttons.h"
#include "model/model_globals.h"
#include "support/archive_helpers.h"
#include "support/model_fixture.h"
#include "view/view_globals.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A main window that records the commands it receives (delivered, not merely posted).
class CRecordingFrame : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        m_run.push_back(int(LOWORD(wParam)));
        return TRUE;
    }
    std::vector<int> m_run;
};

class CommandButtonTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        AfxSetMainWnd(&m_frame);
        HxSetMessageObserver([this](const HxMessageRecord& r) {
            if (r.target == &m_frame && r.message == WM_COMMAND) {
                EXPECT_TRUE(r.posted) << "never run inside the tick";
                m_posted.push_back({m_tick, int(r.wParam)});
            }
        });
    }
    void TearDown() override {
        HxSetMessageObserver(nullptr);
        while (HxPostedMessageCount() > 0)
            HxPumpPostedMessages();
        AfxSetMainWnd(nullptr);
        g_pMediaPlayer = nullptr;
        ModelTest::TearDown();
    }
    // Steps the button until it finishes (at most `limit` ticks); the tick it finished in, or -1.
    int RunUntilDone(CGButnCommand& button, int limit = 200) {
        for (m_tick = 0; m_tick < limit; ++m_tick) {
            if (button.Step())
                return m_tick;
        }
        return -1;
    }
    struct Post {
        int tick, id;
        bool operator==(const Post&) const = default;
    };
    CRecordingFrame m_frame;
    std::vector<Post> m_posted;
    int m_tick = 0;
};

TEST_F(CommandButtonTest, OneCommandIsSentAndFinishesInTheFirstTick) {
    CGButnCommand button(5, u"全屏", {32790}, 12);
    EXPECT_EQ(RunUntilDone(button), 0);
    EXPECT_EQ(m_posted, std::vector<Post>({{0, 32790}}));
    EXPECT_TRUE(m_frame.m_run.empty()) << "posted, not yet run";
    HxPumpPostedMessages();
    EXPECT_EQ(m_frame.m_run, std::vector<int>({32790}));
    EXPECT_EQ(g_commandWaitTicks, 1) << "left at 1 after the last command";
}

TEST_F(CommandButtonTest, CommandsGoOutEveryDelayPlusOneTicks) {
    CGButnCommand button(5, u"序列", {32776, 32777, 32778}, 12);
    EXPECT_EQ(RunUntilDone(button), 26);
    EXPECT_EQ(m_posted, std::vector<Post>({{0, 32776}, {13, 32777}, {26, 32778}}));
    EXPECT_EQ(button.m_current, 0) << "ready to run again";

    // Pressed again at once, it first waits out the rest of the delay.
    m_posted.clear();
    EXPECT_EQ(RunUntilDone(button), 38);
    EXPECT_EQ(m_posted.front(), (Post{12, 32776}));
}

TEST_F(CommandButtonTest, TheWaitEntryHoldsWhileAPlayerExists) {
    CGButnCommand button(5, u"播放", {33309, CGButnCommand::kWaitForPlayback, 32789}, 12);
    int playerStandIn = 0;
    g_pMediaPlayer = reinterpret_cast<CMediaPlayer*>(&playerStandIn);
    for (m_tick = 0; m_tick < 100; ++m_tick)
        ASSERT_FALSE(button.Step()) << m_tick;
    EXPECT_EQ(m_posted, std::vector<Post>({{0, 33309}})) << "the close command waits for the player";
    g_pMediaPlayer = nullptr;
    int finished = -1;
    for (; m_tick < 200 && finished < 0; ++m_tick) {
        if (button.Step())
            finished = m_tick;
    }
    ASSERT_GT(finished, 100);
    EXPECT_EQ(m_posted.size(), 2u);
    EXPECT_EQ(m_posted.back().id, 32789);
}

TEST_F(CommandButtonTest, WithNoPlayerTheWaitPassesAndTheNextCommandFollowsInTheNextTick) {
    CGButnCommand button(5, u"等待", {CGButnCommand::kWaitForPlayback, 32862}, 12);
    EXPECT_EQ(RunUntilDone(button), 1);
    EXPECT_EQ(m_posted, std::vector<Post>({{1, 32862}}));
}

TEST_F(CommandButtonTest, ButtonsWithoutCommandsFinishAtOnceAndSendNothing) {
    CGButnCommand empty;
    EXPECT_EQ(empty.m_delay, 12);
    EXPECT_TRUE(empty.Step());
    empty.m_current = 7; // a damaged place
    EXPECT_TRUE(empty.Step());
    CGButnCommand stale(5, u"x", {32776}, 3);
    stale.m_current = 9;
    EXPECT_TRUE(stale.Step()) << "a place past the end starts again at the first command";
    EXPECT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0].id, 32776);
}

TEST_F(CommandButtonTest, TheRecordKeepsTheIdsTheDelayAndTheReservedWords) {
    CGButnCommand button(5, u"演示", {32776, 32788, 57603}, 7);
    const std::vector<BYTE> common = StoreBytes([&](CArchive& ar) { button.CGButton::Serialize(ar); });
    const std::vector<BYTE> stored = StoreBytes([&](CArchive& ar) { button.Serialize(ar); });
    ByteBuilder expected;
    expected.Append(common).I32(3).I32(7).I32(0).I32(0).I32(32776).I32(32788).I32(57603);
    EXPECT_EQ(stored, expected.Bytes());

    CGButnCommand back;
    back.m_current = 2;
    LoadBytes(stored, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_commands, button.m_commands);
    EXPECT_EQ(back.m_delay, 7);
    EXPECT_EQ(back.m_current, 0);
    EXPECT_EQ(back.GetDescription(), u"演示");
}

TEST_F(CommandButtonTest, BadCountsAreRefusedAsDamage) {
    CGButnCommand button(5, u"坏", {32776}, 7);
    const std::vector<BYTE> common = StoreBytes([&](CArchive& ar) { button.CGButton::Serialize(ar); });
    for (int count : {-1, CGButnCommand::kMaxCommands + 1, 0x7FFFFFFF, 50}) {
        ByteBuilder bytes;
        bytes.Append(common).I32(count).I32(7).I32(0).I32(0).I32(32776);
        CGButnCommand back;
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << count;
    }
    // A count of 0 reads: such a button finishes at once.
    ByteBuilder none;
    none.Append(common).I32(0).I32(7).I32(0).I32(0);
    CGButnCommand back;
    LoadBytes(none, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(back.m_commands.empty());
    EXPECT_TRUE(back.Step());
}

} // namespace
