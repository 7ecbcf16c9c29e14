// Test support for the transform commands: a document running commands on the current page, scripted
// dialogs, recorded message boxes and selections made as the user makes them.
#pragma once

#include "document/halvix_doc.h"
#include "points/transform_commands.h"
#include "points/transform_dialogs.h"
#include "points_fixture.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TransformTest : public PointsTest {
protected:
    void SetUp() override {
        PointsTest::SetUp();
        HxResetTransformEntries();
        m_doc = std::make_unique<CHalvixDoc>();
        AfxGetCommandRouter().SetChain({m_doc.get()});
        HxSetDialogRunner([this](CDialog& dialog) {
            ++m_dialogCount;
            if (m_script)
                m_script(dialog);
            return m_answer;
        });
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler(nullptr);
        AfxGetCommandRouter().SetChain({});
        m_doc.reset();
        HxResetTransformEntries();
        PointsTest::TearDown();
    }

    bool Run(UINT id) { return AfxGetCommandRouter().Execute(id) != FALSE; }
    bool Enabled(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui.m_enabled;
    }
    // The selection replaced by these cells, in this order.
    void Select(std::initializer_list<WORD> ids) {
        m_page->ClearSelection();
        for (WORD id : ids)
            m_page->SelectCell(id);
    }
    // The script of the next dialogs: sees and changes the fields of a dialog of class T.
    template <class T> void Script(std::function<void(T&)> script) {
        m_script = [script](CDialog& dialog) {
            T* typed = DYNAMIC_DOWNCAST(T, &dialog);
            ASSERT_NE(typed, nullptr) << dialog.GetRuntimeClass()->m_lpszClassName;
            script(*typed);
        };
    }
    template <class T> T* Cell(WORD id) { return DYNAMIC_DOWNCAST(T, m_page->FindCell(id)); }
    // The cell made last, of class T and at (x, y, z); null (a failure) when there is none such.
    template <class T> T* LastAt(double x, double y, double z) {
        T* cell = Cell<T>(m_page->m_nextId - 1);
        if (!cell) {
            ADD_FAILURE() << "the last cell is no " << T::GetThisClass()->m_lpszClassName;
            return nullptr;
        }
        ExpectNear(*cell, x, y, z);
        return cell;
    }
    static std::vector<WORD> Ids(const CList<WORD, WORD>& list) {
        std::vector<WORD> ids;
        for (WORD id : list)
            ids.push_back(id);
        return ids;
    }
    static std::vector<WORD> Parents(const CGCell* cell) {
        std::vector<WORD> ids;
        for (WORD id : cell->m_parents)
            ids.push_back(id);
        return ids;
    }
    int CellCount() const { return m_page->m_cells.GetCount(); }

    std::unique_ptr<CHalvixDoc> m_doc;
    std::function<void(CDialog&)> m_script;
    INT_PTR m_answer = IDOK;
    int m_dialogCount = 0;
    std::vector<CString> m_messages;
};
