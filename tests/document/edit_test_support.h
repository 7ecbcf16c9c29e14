// The fixture of the page and clipboard command tests: a document with a clipboard in memory, a main
// window that records what it is sent and posted, and recorders of message boxes (with captions),
// status texts, the pan sliders, the ink-erase command and the views' updates, all into one log.
#pragma once

#include "document_test_support.h"

#include "document/undo_cmds.h"
#include "model/cell_clipboard.h"
#include "view/view_camera.h"
#include "view/view_tool_globals.h"

#include <map>
#include <string>

class CInkEraseRecorder : public CCmdTarget {
public:
    explicit CInkEraseRecorder(std::vector<std::string>* log) : m_log(log) {
        OnCommandId(ID_INK_ERASE, &CInkEraseRecorder::OnErase);
    }
    void OnErase() { m_log->push_back("ink"); }

private:
    std::vector<std::string>* m_log;
};

class EditCommandsTest : public DocumentTest {
protected:
    struct Box {
        CString text, caption;
        UINT type;
    };

    void SetUp() override {
        DocumentTest::SetUp();
        HxSetClipboardBackend(&m_clipboard);
        AfxSetMainWnd(&m_frame);
        AfxGetCommandRouter().SetChain({&m_ink, m_doc.get()});
        HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
            m_boxes.push_back({text, caption, type});
            m_messages.push_back(text);
            m_log.push_back("box");
            return m_answer;
        });
        HxSetMessageObserver([this](const HxMessageRecord& r) {
            if (r.target != &m_frame)
                return;
            m_sent.push_back(r);
            m_pageCountAtMessage.push_back(m_doc->GetPageCount());
            if (r.message == UM_SELECTION_CHANGED)
                m_log.push_back("selection");
            else if (r.message == UM_CELLS_CHANGED)
                m_log.push_back("cells");
            else if (r.message == UM_PAGES_CHANGED)
                m_log.push_back("pages");
            else if (r.message == WM_COMMAND)
                m_log.push_back("start");
        });
        HxSetStatusTextHandler([this](int pane, const CString& text) {
            m_status[pane] = text;
            m_log.push_back("status");
        });
        HxSetPanSliderHandler([this](int, int, int) { m_log.push_back("sliders"); });
        m_doc->m_onUpdateViews = [this] { m_log.push_back("update"); };
        m_doc->m_onFillObjectTree = [this] { ++m_treeFills; };
    }
    void TearDown() override {
        HxPumpPostedMessages();
        HxSetMessageObserver(nullptr);
        HxSetStatusTextHandler(nullptr);
        HxSetPanSliderHandler(nullptr);
        HxSetViewFocusHandler(nullptr);
        HxSetClipboardBackend(nullptr);
        AfxGetCommandRouter().SetChain({});
        AfxSetMainWnd(nullptr);
        g_pCurrentTool = nullptr;
        DocumentTest::TearDown();
    }

    CGPage* Page(int index) const { return m_doc->GetPage(index); }
    std::vector<CString> Titles() const {
        std::vector<CString> titles;
        for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;)
            titles.push_back(m_doc->m_pages.GetNext(pos)->m_title);
        return titles;
    }
    // The messages the main window got of one kind.
    std::vector<HxMessageRecord> Sent(UINT message) const {
        std::vector<HxMessageRecord> out;
        for (const HxMessageRecord& r : m_sent)
            if (r.message == message)
                out.push_back(r);
        return out;
    }
    bool Enabled(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui.m_enabled;
    }
    // The block the clipboard holds under "CF_GRAPH" (empty for none).
    std::vector<BYTE> ClipboardBlock() const {
        std::vector<BYTE> data;
        m_clipboard.GetData(HxCellClipboardFormat(), data);
        return data;
    }
    static int KindOf(const std::vector<BYTE>& block) {
        return block.size() < 4 ? -1 : int(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24);
    }
    static std::vector<WORD> Ids(const CList<WORD, WORD>& list) {
        std::vector<WORD> out;
        for (WORD id : list)
            out.push_back(id);
        return out;
    }

    CMemoryClipboard m_clipboard;
    CWnd m_frame;
    std::vector<std::string> m_log;
    CInkEraseRecorder m_ink{&m_log};
    std::vector<Box> m_boxes;
    std::vector<HxMessageRecord> m_sent;
    std::vector<int> m_pageCountAtMessage;
    std::map<int, CString> m_status;
    int m_treeFills = 0;
};
