// The undo history: the 200-command limit, the redo tail, undo and redo, and the menu texts.
#include "document/cmd_processor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;
int g_live = 0;

class CTestCmd : public CCmd {
public:
    explicit CTestCmd(const CString& name, BOOL undoResult = TRUE, BOOL redoResult = TRUE)
        : CCmd(name), m_undoResult(undoResult), m_redoResult(redoResult) {
        ++g_live;
    }
    ~CTestCmd() override { --g_live; }
    BOOL Undo() override {
        g_log.push_back("undo " + m_name.ToUtf8());
        return m_undoResult;
    }
    BOOL Redo() override {
        g_log.push_back("redo " + m_name.ToUtf8());
        return m_redoResult;
    }
    BOOL m_undoResult, m_redoResult;
};

CTestCmd* Cmd(int n) {
    return new CTestCmd(HxFormat(u"%d", n));
}

struct MenuCall {
    UINT id;
    CString text;
    BOOL enable;
};

// Records the menu writes instead of making them, and counts the internal calls to ClearAll.
class CRecordingProcessor : public CCmdProcessor {
public:
    void SetMenuItem(UINT id, const CString& text, BOOL enable) override {
        m_calls.push_back({id, text, enable});
        CCmdProcessor::SetMenuItem(id, text, enable);
    }
    void ClearAll() override {
        ++m_clearAllCalls;
        CCmdProcessor::ClearAll();
    }
    std::vector<MenuCall> m_calls;
    int m_clearAllCalls = 0;
};

class CMenuOwner : public CWnd {
public:
    CMenuOwner() {
        m_menu.AppendMenu(MF_STRING, ID_EDIT_UNDO, u"撤消(&U)\tCtrl+Z");
        m_menu.AppendMenu(MF_STRING | MF_CHECKED, ID_EDIT_REDO, u"重做(&R)\tCtrl+R");
        SetMenu(&m_menu);
    }
    CString Text(UINT id) const {
        CString s;
        m_menu.GetMenuString(id, s, MF_BYCOMMAND);
        return s;
    }
    bool Enabled(UINT id) const { return !(m_menu.GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED); }
    // The item's text, marked "|grey" when it is greyed.
    std::string Item(UINT id) const { return Text(id).ToUtf8() + (Enabled(id) ? "" : "|grey"); }
    CMenu m_menu;
};

class CmdProcessorTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_live = 0;
        m_proc.SetMenuOwner(&m_owner, ID_EDIT_UNDO, ID_EDIT_REDO);
    }
    void TearDown() override {
        m_proc.ClearAll();
        EXPECT_EQ(g_live, 0);
    }
    std::string Current() { return m_proc.GetCurrent() ? m_proc.GetCurrent()->GetName().ToUtf8() : "-"; }
    CMenuOwner m_owner;
    CRecordingProcessor m_proc;
};

} // namespace

TEST_F(CmdProcessorTest, HoldsAtMostTwoHundredCommands) {
    for (int i = 1; i <= 199; ++i)
        EXPECT_TRUE(m_proc.Submit(Cmd(i)));
    EXPECT_TRUE(m_proc.Submit(Cmd(200)));
    EXPECT_EQ(m_proc.GetCount(), 200);
    EXPECT_TRUE(m_proc.Submit(Cmd(201)));
    EXPECT_EQ(m_proc.GetCount(), 200);
    EXPECT_EQ(g_live, 200);
    EXPECT_EQ(Current(), "201");
    EXPECT_EQ(static_cast<CCmd*>(m_proc.m_commands.GetHead())->GetName(), u"2");
    EXPECT_TRUE(g_log.empty()); // submitting never performs a command
}

TEST_F(CmdProcessorTest, FullListWithOnlyTheOldestDone) {
    for (int i = 1; i <= 200; ++i)
        m_proc.Submit(Cmd(i));
    for (int i = 0; i < 199; ++i)
        ASSERT_TRUE(m_proc.Undo());
    EXPECT_EQ(Current(), "1");
    int clears = m_proc.m_clearAllCalls;
    m_proc.Submit(Cmd(999));
    // The oldest goes first (and with it the current position), then the whole undone rest.
    EXPECT_EQ(m_proc.m_clearAllCalls, clears + 1);
    EXPECT_EQ(m_proc.GetCount(), 1);
    EXPECT_EQ(g_live, 1);
    EXPECT_EQ(Current(), "999");
}

TEST_F(CmdProcessorTest, NewCommandDropsTheRedoTail) {
    for (int i = 1; i <= 5; ++i)
        m_proc.Submit(Cmd(i));
    ASSERT_TRUE(m_proc.Undo());
    ASSERT_TRUE(m_proc.Undo());
    EXPECT_EQ(g_log, (std::vector<std::string>{"undo 5", "undo 4"}));
    EXPECT_TRUE(m_proc.CanRedo());
    m_proc.Submit(Cmd(6));
    EXPECT_EQ(m_proc.GetCount(), 4);
    EXPECT_EQ(g_live, 4);
    EXPECT_FALSE(m_proc.CanRedo());
    std::vector<std::string> names;
    for (CObject* c : m_proc.m_commands)
        names.push_back(static_cast<CCmd*>(c)->GetName().ToUtf8());
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2", "3", "6"}));

    // Everything undone, then a new command: it stands alone.
    while (m_proc.Undo()) {
    }
    m_proc.Submit(Cmd(7));
    EXPECT_EQ(m_proc.GetCount(), 1);
    EXPECT_EQ(g_live, 1);
}

TEST_F(CmdProcessorTest, UndoAndRedoStepThroughTheList) {
    EXPECT_FALSE(m_proc.Undo() || m_proc.Redo() || m_proc.CanUndo() || m_proc.CanRedo()); // empty
    m_proc.Submit(Cmd(1));
    m_proc.Submit(Cmd(2));
    EXPECT_FALSE(m_proc.Redo()); // nothing undone
    EXPECT_TRUE(m_proc.Undo());
    EXPECT_TRUE(m_proc.Undo());
    EXPECT_FALSE(m_proc.Undo()); // everything undone
    EXPECT_EQ(m_proc.m_current, nullptr);
    EXPECT_TRUE(!m_proc.CanUndo() && m_proc.CanRedo());
    EXPECT_TRUE(m_proc.Redo());
    EXPECT_EQ(Current(), "1");
    EXPECT_TRUE(m_proc.Redo());
    EXPECT_EQ(Current(), "2");
    EXPECT_FALSE(m_proc.Redo());
    EXPECT_EQ(g_log, (std::vector<std::string>{"undo 2", "undo 1", "redo 1", "redo 2"}));
}

TEST_F(CmdProcessorTest, RefusedStepsChangeNothing) {
    m_proc.Submit(new CTestCmd(u"a", TRUE, FALSE));
    m_proc.Submit(new CTestCmd(u"b", FALSE, TRUE));
    EXPECT_FALSE(m_proc.Undo()); // b refuses
    EXPECT_EQ(Current(), "b");
    auto* b = static_cast<CCmd*>(m_proc.m_commands.GetTail());
    b->m_undoable = 0;
    g_log.clear();
    EXPECT_FALSE(m_proc.CanUndo());
    EXPECT_FALSE(m_proc.Undo()); // not undoable: its Undo is not even called
    EXPECT_TRUE(g_log.empty());
    b->m_undoable = 1;
    static_cast<CTestCmd*>(b)->m_undoResult = TRUE;
    EXPECT_TRUE(m_proc.Undo());
    EXPECT_TRUE(m_proc.Undo());
    EXPECT_EQ(m_proc.m_current, nullptr);
    EXPECT_FALSE(m_proc.Redo()); // a refuses
    EXPECT_EQ(m_proc.m_current, nullptr);
}

TEST_F(CmdProcessorTest, MenuTextsNameTheCommands) {
    m_proc.Submit(new CTestCmd(u"添加过三点的圆"));
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消 添加过三点的圆(&U)\tCtrl+Z");
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做(&R)\tCtrl+R|grey");
    m_proc.Submit(new CTestCmd(u"清除对象"));
    m_proc.Undo();
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消 添加过三点的圆(&U)\tCtrl+Z");
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做 清除对象(&R)\tCtrl+R");
    // Everything undone: Undo greyed without a name, Redo names the oldest command.
    m_proc.Undo();
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消(&U)\tCtrl+Z|grey");
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做 添加过三点的圆(&R)\tCtrl+R");
    EXPECT_TRUE(m_owner.m_menu.GetMenuState(ID_EDIT_REDO, MF_BYCOMMAND) & MF_CHECKED) << "other bits kept";
}

TEST_F(CmdProcessorTest, MenuTextsWithoutNamesAndForCommandsThatCannotBeUndone) {
    m_proc.Submit(new CTestCmd(u""));
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消(&U)\tCtrl+Z");
    m_proc.Undo();
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做(&R)\tCtrl+R");
    m_proc.Redo();
    for (const char16_t* name : {u"移动", u""}) {
        auto* locked = new CTestCmd(name);
        locked->m_undoable = 0;
        m_proc.Submit(locked);
        EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO),
                  *name ? "不能撤消 移动(&U)\tCtrl+Z|grey" : "不能撤消(&U)\tCtrl+Z|grey");
    }

    // The Redo item is enabled whenever a next command exists, whatever it says about undo.
    m_proc.Clear();
    m_proc.Submit(new CTestCmd(u"a"));
    auto* locked = new CTestCmd(u"b");
    m_proc.Submit(locked);
    m_proc.Undo();
    locked->m_undoable = 0;
    m_proc.UpdateMenu();
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做 b(&R)\tCtrl+R");
}

TEST_F(CmdProcessorTest, ClearRefreshesTheMenuButClearAllDoesNot) {
    m_proc.Submit(Cmd(1));
    m_proc.Submit(Cmd(2));
    m_proc.Undo();
    m_proc.m_calls.clear();
    m_proc.CCmdProcessor::ClearAll();
    EXPECT_TRUE(m_proc.GetCount() == 0 && m_proc.m_current == nullptr && g_live == 0);
    EXPECT_TRUE(m_proc.m_calls.empty());
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消 1(&U)\tCtrl+Z");

    m_proc.Submit(Cmd(3));
    m_proc.m_calls.clear();
    m_proc.Clear();
    EXPECT_EQ(g_live, 0);
    ASSERT_EQ(m_proc.m_calls.size(), 2u);
    EXPECT_TRUE(m_proc.m_calls[0].id == ID_EDIT_UNDO && !m_proc.m_calls[0].enable);
    EXPECT_TRUE(m_proc.m_calls[1].id == ID_EDIT_REDO && !m_proc.m_calls[1].enable);
    EXPECT_EQ(m_owner.Item(ID_EDIT_UNDO), "撤消(&U)\tCtrl+Z|grey");
    EXPECT_EQ(m_owner.Item(ID_EDIT_REDO), "重做(&R)\tCtrl+R|grey");
}

TEST_F(CmdProcessorTest, WorksWithoutAMenuOwner) {
    CRecordingProcessor p;
    p.Submit(Cmd(1));
    p.Submit(Cmd(2));
    EXPECT_TRUE(p.Undo() && p.Redo() && p.CanUndo());
    EXPECT_TRUE(p.m_calls.empty());
    p.ClearAll();

    // An owner without a menu, or a menu without the items: nothing happens.
    CWnd bare;
    p.SetMenuOwner(&bare, ID_EDIT_UNDO, ID_EDIT_REDO);
    p.Submit(Cmd(3));
    CMenu other;
    bare.SetMenu(&other);
    p.Submit(Cmd(4));
    EXPECT_EQ(other.GetMenuItemCount(), 0);
    p.ClearAll();
}

TEST_F(CmdProcessorTest, OwnsItsCommands) {
    EXPECT_FALSE(m_proc.Submit(nullptr));
    EXPECT_EQ(m_proc.GetCount(), 0);
    {
        CCmdProcessor p;
        p.Submit(Cmd(1));
        p.Submit(Cmd(2));
        p.Submit(Cmd(3));
        p.Undo();
        EXPECT_EQ(g_live, 3);
    }
    EXPECT_EQ(g_live, 0); // done and undone alike
}
