// Test support for the view's tools: the mouse fixture with the tool commands, the right button,
// keys, recorders of message boxes, context menus and dialogs, and the undo history at hand.
#pragma once

#include "view_mouse_fixture.h"

#include "document/undo_cmds.h"
#include "view/context_menus.h"
#include "view/view_ids.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include <QKeyEvent>

#include <vector>

class ViewToolsTest : public ViewMouseTest {
protected:
    void SetUp() override {
        ViewMouseTest::SetUp();
        HxGetViewServices() = HxViewServices();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        HxSetContextMenuPresenter([this](UINT menu, CPoint) { m_menus.push_back(menu); });
        AfxGetCommandRouter().SetChain({m_view.get(), m_doc.get()});
    }
    void TearDown() override {
        AfxGetCommandRouter().SetChain({});
        HxSetContextMenuPresenter(nullptr);
        HxGetViewServices() = HxViewServices();
        ViewMouseTest::TearDown();
    }

    void RightClick(QPoint at) { QTest::mouseClick(m_view.get(), Qt::RightButton, Qt::NoModifier, at); }
    void DoubleClick(QPoint at) { QTest::mouseDClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, at); }
    // A mouse move without a button.
    void Hover(QPoint at) { Move(at, Qt::NoButton); }
    // A command through the routing, as a ribbon button or a key runs it.
    bool Run(UINT id) { return AfxGetCommandRouter().Execute(id) != FALSE; }
    CCmdUI Update(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui;
    }
    // A key pressed on the view, as the keyboard sends it (shortcuts first).
    void Key(Qt::Key key, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::keyClick(m_view.get(), key, keys);
    }

    CCmd* LastStep() const { return m_page->m_cmdProcessor.GetCurrent(); }
    CString LastStepName() const { return LastStep() ? LastStep()->m_name : CString(u"(none)"); }
    // The number of cells the last step added (1 for a single-cell step).
    int LastStepCount() const {
        if (auto* many = DYNAMIC_DOWNCAST(CCmdAddCells, LastStep()))
            return many->m_count;
        return DYNAMIC_DOWNCAST(CCmdAddCell, LastStep()) ? 1 : 0;
    }
    void ExpectStep(const char16_t* name, int count) const {
        EXPECT_EQ(LastStepName(), CString(name));
        EXPECT_EQ(LastStepCount(), count);
    }
    // The mouse tool and the stage of its drawing.
    void ExpectTool(int tool, int stage) const {
        EXPECT_EQ(g_mouseTool, tool);
        EXPECT_EQ(m_view->m_toolStage, stage);
    }
    int CellCount() const { return m_page->m_cells.GetCount(); }
    template <class T> T* Cell(WORD id) const { return DYNAMIC_DOWNCAST(T, m_page->FindCell(id)); }
    // The newest cell of the page.
    CGCell* Newest() const { return m_page->FindCell(WORD(m_page->m_nextId - 1)); }
    template <class T> T* NewestAs() const { return DYNAMIC_DOWNCAST(T, Newest()); }

    std::vector<CString> m_messages;
    std::vector<UINT> m_menus;
};
