// The fixture of the tool tests: a document with the edit-command recorders, a tool menu kept in
// memory (four fixed items and one tool-set item after them), a dialog runner that answers "新建工具",
// and helpers that build constructions of free points on the current page.
#pragma once

#include "edit_test_support.h"

#include "document/tool_commands.h"
#include "document/tool_dialogs.h"
#include "document/tool_record.h"
#include "model/free_points.h"

#include <QString>

#include <functional>

// The tool menu as a list of entries "label:text" and "id:text|description".
class CToolMenuList : public HxToolMenu {
public:
    CToolMenuList() { m_items = {"create", "apply", "script", "options", "set-label"}; }
    int GetCount() const override { return int(m_items.size()); }
    void InsertLabel(int index, const CString& text) override {
        m_items.insert(m_items.begin() + index, (QStringLiteral("label:") + text.ToQString()).toStdString());
    }
    void InsertButton(int index, UINT id, const CString& text, const CString& description) override {
        const QString item = QString::number(id) + QLatin1Char(':') + text.ToQString() + QLatin1Char('|') +
                             description.ToQString();
        m_items.insert(m_items.begin() + index, item.toStdString());
    }
    void RemoveItem(int index) override { m_items.erase(m_items.begin() + index); }
    void SetItemText(int index, const CString& text) override {
        QString item = QString::fromStdString(m_items[size_t(index)]);
        const int colon = int(item.indexOf(QLatin1Char(':'))), bar = int(item.indexOf(QLatin1Char('|')));
        item = item.left(colon + 1) + text.ToQString() + item.mid(bar);
        m_items[size_t(index)] = item.toStdString();
    }
    void SetItemDescription(int index, const CString& description) override {
        QString item = QString::fromStdString(m_items[size_t(index)]);
        item = item.left(int(item.indexOf(QLatin1Char('|'))) + 1) + description.ToQString();
        m_items[size_t(index)] = item.toStdString();
    }
    std::vector<std::string> m_items;
};

class ToolTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        g_pToolMenu = &m_menu;
        m_page = g_pCurPage;
        m_answer = IDOK;
        HxSetDialogRunner([this](CDialog& dialog) -> INT_PTR {
            ++m_dialogs;
            if (auto* create = dynamic_cast<CDlgTool*>(&dialog)) {
                m_presetName = create->m_name;
                if (!m_toolName.IsEmpty())
                    create->m_name = m_toolName;
                create->m_showScript = m_showScript;
            }
            if (m_script)
                m_script(dialog);
            return m_dialogAnswer;
        });
    }
    void TearDown() override {
        g_pToolMenu = nullptr;
        g_pCurrentTool = nullptr;
        g_mouseTool = 1;
        EditCommandsTest::TearDown();
    }

    WORD Free(float x, float y, float z) {
        CCellMap* saved = g_cellMap;
        g_cellMap = &m_page->m_cells;
        const WORD id = m_page->m_nextId++;
        m_page->m_cells.SetAt(id, new CGVerFreeXyz(id, m_page->m_nextVertex++,
                                                   m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), x, y, z));
        g_cellMap = saved;
        return id;
    }
    template <class T> T* Add(T* cell) {
        m_page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    WORD NextId() { return m_page->m_nextId++; }
    void Select(std::initializer_list<WORD> ids) {
        m_page->ClearSelection();
        for (WORD id : ids) {
            m_page->FindCell(id)->m_selected = true;
            m_page->SelectCell(id);
        }
    }
    // Runs a command through the document's message map; false when it is disabled.
    bool Run(UINT id) {
        if (!Enabled(id))
            return false;
        AfxGetCommandRouter().Execute(id);
        return true;
    }
    const float* PositionOf(WORD id) const {
        const auto* p = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(id));
        return p ? &p->m_x : nullptr;
    }

    CToolMenuList m_menu;
    CGPage* m_page = nullptr;
    int m_dialogs = 0;
    INT_PTR m_dialogAnswer = IDOK;
    CString m_toolName;
    CString m_presetName;
    BOOL m_showScript = FALSE;
    std::function<void(CDialog&)> m_script;
};
