// Test support for the construct commands: a document on the current page with scripted dialogs and
// recorded message boxes (from the transform tests), a main window whose posted messages are
// recorded, the views' updates counted, the seams to the view's tools and the ribbon recorded, and
// the undo step checked cell by cell.
#pragma once

#include "construct/construct_ids.h"
#include "construct/construction.h"
#include "construct/input_dialogs.h"
#include "document/undo_cmds.h"
#include "points/transform_fixture.h"
#include "support/page_snapshot.h"
#include "view/vertex_array.h"
#include "view/view_ids.h"
#include "view/view_tool_globals.h"

#include <utility>

class ConstructTest : public TransformTest {
protected:
    void SetUp() override {
        TransformTest::SetUp();
        HxResetConstructEntries();
        AfxSetMainWnd(&m_frame);
        HxSetMessageObserver([this](const HxMessageRecord& m) {
            if (m.posted && m.target == &m_frame)
                m_posted.push_back({m.message, m.lParam});
        });
        m_doc->m_onUpdateViews = [this] { ++m_viewUpdates; };
        HxSetMouseToolSelector([this](int tool) { m_toolsSelected.push_back(tool); });
        HxSetButtonImageSetter([this](UINT id, int image) { m_images.push_back({id, image}); });
    }
    void TearDown() override {
        HxSetMouseToolSelector(nullptr);
        HxSetButtonImageSetter(nullptr);
        HxSetMessageObserver(nullptr);
        while (HxPostedMessageCount() > 0)
            HxPumpPostedMessages();
        AfxSetMainWnd(nullptr);
        HxResetConstructEntries();
        TransformTest::TearDown();
    }

    // Runs a command on the selection given.
    void RunOn(UINT id, std::initializer_list<WORD> selection) {
        Select(selection);
        Run(id);
    }
    // The cells made by the last command: those from `first` up.
    std::vector<CGCell*> MadeFrom(WORD first) {
        std::vector<CGCell*> cells;
        for (int id = first; id < m_page->m_nextId; ++id)
            cells.push_back(m_page->FindCell(WORD(id)));
        return cells;
    }
    // The class names of the cells from `first` up, in id order.
    std::vector<std::string> ClassesFrom(WORD first) {
        std::vector<std::string> names;
        for (CGCell* cell : MadeFrom(first))
            names.push_back(cell ? cell->GetRuntimeClass()->m_lpszClassName : "(none)");
        return names;
    }
    // The one undo step the command recorded: its class and name.
    template <class T> void ExpectUndoStep(const char16_t* name, int count = -1) {
        CCmd* cmd = m_page->m_cmdProcessor.GetCurrent();
        ASSERT_NE(cmd, nullptr);
        EXPECT_TRUE(cmd->IsKindOf(T::GetThisClass())) << cmd->GetRuntimeClass()->m_lpszClassName;
        EXPECT_EQ(cmd->m_name, CString(name));
        if (auto* many = DYNAMIC_DOWNCAST(CCmdAddCells, cmd); many && count >= 0) {
            EXPECT_EQ(many->m_count, count);
        }
    }
    // Undo takes back exactly the command's cells (the page is as before, cell by cell) and redo
    // puts them back as they were made.
    void ExpectUndoRedo(const PageSnapshot& before) {
        const PageSnapshot after = TakeSnapshot(*m_page);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        const PageSnapshot undone = TakeSnapshot(*m_page);
        EXPECT_EQ(undone, before) << SnapshotDifference(undone, before);
        ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
        const PageSnapshot redone = TakeSnapshot(*m_page);
        EXPECT_EQ(redone, after) << SnapshotDifference(redone, after);
    }
    // Nothing happened: no cell, no undo step, the document unmodified and no view update.
    void ExpectNothingDone(const PageSnapshot& before, int undoSteps = 0) {
        const PageSnapshot now = TakeSnapshot(*m_page);
        EXPECT_EQ(now, before) << SnapshotDifference(now, before);
        EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), undoSteps);
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_EQ(m_viewUpdates, 0);
    }

    // The lParams of the messages of one kind posted to the main window.
    std::vector<LPARAM> Posted(UINT message) const {
        std::vector<LPARAM> found;
        for (const auto& [m, l] : m_posted) {
            if (m == message)
                found.push_back(l);
        }
        return found;
    }

    CWnd m_frame;
    std::vector<std::pair<UINT, LPARAM>> m_posted;
    int m_viewUpdates = 0;
    std::vector<int> m_toolsSelected;
    std::vector<std::pair<UINT, int>> m_images;
};
