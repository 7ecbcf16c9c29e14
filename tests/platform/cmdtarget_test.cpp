// Command routing, update handlers, sent and posted messages, message boxes and dialogs.
#include "platform/afx.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> g_calls;

class CTestView : public CWnd {
public:
    CTestView() {
        OnCommandId(100, &CTestView::OnCmd100);
        OnCommandRange(3024, 13024, &CTestView::OnButton);
        OnMessageId(0x80E, &CTestView::OnCellsChanged);
    }
    void OnCmd100() { g_calls.push_back("view100"); }
    void OnButton(UINT id) { g_calls.push_back("button" + std::to_string(id)); }
    LRESULT OnCellsChanged(WPARAM w, LPARAM) {
        g_calls.push_back("cells" + std::to_string(int(w)));
        PostMessage(0x811, 0, 1);
        return 0;
    }
};

class CTestDoc : public CCmdTarget {
public:
    CTestDoc() {
        OnCommandId(100, &CTestDoc::OnCmd100);
        OnCommandId(200, &CTestDoc::OnCmd200);
        OnUpdateId(200, &CTestDoc::OnUpdate200);
        OnUpdateId(300, &CTestDoc::OnUpdate300);
    }
    void OnCmd100() { g_calls.push_back("doc100"); }
    void OnCmd200() { g_calls.push_back("doc200"); }
    void OnUpdate200(CCmdUI* ui) {
        ui->Enable(m_selected >= 3);
        ui->SetCheck(m_selected == 3);
    }
    void OnUpdate300(CCmdUI* ui) { ui->SetText(u"撤消 点(&U)\tCtrl+Z"); }
    int m_selected = 0;
};

class CTestFrame : public CWnd {
public:
    CTestFrame() {
        OnMessageId(0x811, &CTestFrame::OnTexts);
    }
    LRESULT OnTexts(WPARAM, LPARAM l) {
        g_calls.push_back("texts" + std::to_string(int(l)));
        return 0;
    }
};

} // namespace

TEST(CommandRouting, ViewBeforeDocumentAndRanges) {
    g_calls.clear();
    CTestView view;
    CTestDoc doc;
    AfxGetCommandRouter().SetChain({&view, &doc});
    EXPECT_TRUE(AfxGetCommandRouter().Execute(100));
    EXPECT_TRUE(AfxGetCommandRouter().Execute(200));
    EXPECT_TRUE(AfxGetCommandRouter().Execute(3024 + 5));
    EXPECT_FALSE(AfxGetCommandRouter().Execute(999));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"view100", "doc200", "button3029"}));
    AfxGetCommandRouter().SetChain({});
}

TEST(CommandRouting, UpdateHandlersAndDefaults) {
    CTestView view;
    CTestDoc doc;
    AfxGetCommandRouter().SetChain({&view, &doc});
    auto update = [](UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        return ui;
    };
    EXPECT_FALSE(update(200).m_enabled);
    doc.m_selected = 3;
    EXPECT_TRUE(update(200).m_enabled);
    EXPECT_EQ(update(200).m_check, 1);
    EXPECT_TRUE(update(100).m_enabled) << "a handler but no update handler: enabled";
    EXPECT_FALSE(update(555).m_enabled) << "no handler at all: disabled";
    EXPECT_EQ(update(300).m_text, CString(u"撤消 点(&U)\tCtrl+Z"));
    AfxGetCommandRouter().SetChain({});
}

TEST(WindowMessages, SendRunsAtOncePostRunsAfterwards) {
    g_calls.clear();
    CTestView view;
    CTestFrame frame;
    AfxSetMainWnd(&frame);
    std::vector<HxMessageRecord> seen;
    HxSetMessageObserver([&](const HxMessageRecord& r) { seen.push_back(r); });

    // The view's handler posts 0x811 to itself; nothing handles it there, so route to the frame.
    frame.PostMessage(0x811, 0, 7);
    view.SendMessage(0x80E, 3, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"cells3"}));
    HxPumpPostedMessages();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"cells3", "texts7"}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].posted);
    EXPECT_FALSE(seen[1].posted);
    EXPECT_EQ(seen[1].message, 0x80Eu);

    // The event loop runs posted messages by itself.
    g_calls.clear();
    frame.PostMessage(0x811, 0, 9);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"texts9"}));

    // A window destroyed with messages still queued never receives them.
    {
        CTestFrame gone;
        gone.PostMessage(0x811, 0, 1);
    }
    g_calls.clear();
    HxPumpPostedMessages();
    EXPECT_TRUE(g_calls.empty());
    HxSetMessageObserver(nullptr);
    AfxSetMainWnd(nullptr);
}

TEST(WindowMessages, CommandsPostedAsWmCommandAreRouted) {
    g_calls.clear();
    CTestView view;
    CTestDoc doc;
    CTestFrame frame;
    AfxGetCommandRouter().SetChain({&view, &doc, &frame});
    frame.PostMessage(WM_COMMAND, 200, 0);
    EXPECT_TRUE(g_calls.empty());
    HxPumpPostedMessages();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"doc200"}));
    AfxGetCommandRouter().SetChain({});
}

TEST(Timers, FireOnTheEventLoopUntilKilled) {
    struct CTicker : CWnd {
        int ticks = 0;
        void OnTimer(UINT_PTR id) override {
            if (id == 1 && ++ticks == 3)
                KillTimer(1);
        }
    } ticker;
    ticker.SetTimer(1, 5);
    EXPECT_TRUE(ticker.IsTimerSet(1));
    QElapsedTimer clock;
    clock.start();
    while (ticker.IsTimerSet(1) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(ticker.ticks, 3);
    EXPECT_FALSE(ticker.IsTimerSet(1));
}

TEST(MessageBoxes, RecordedWithTheProgramCaptionAndAnswered) {
    std::vector<std::pair<CString, UINT>> shown;
    HxSetMessageBoxHandler([&](const CString& text, const CString& caption, UINT type) {
        EXPECT_EQ(caption, CString(u"Halvix"));
        shown.push_back({text, type});
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox(u"删除当前页？", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, CString(u"删除当前页？"));
    EXPECT_EQ(shown[0].second, 0x24u);
    HxSetMessageBoxHandler(nullptr);
}

namespace {
class CDlgTestInput : public CDialog {
    DECLARE_DYNAMIC(CDlgTestInput)
public:
    CDlgTestInput() : CDialog(204) {}
    int m_count = 3;
};
IMPLEMENT_DYNAMIC(CDlgTestInput, CDialog)
} // namespace

TEST(Dialogs, PresenterByClassAndScriptedRunner) {
    CDlgTestInput dlg;
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTestInput), [](CDialog& d) {
        static_cast<CDlgTestInput&>(d).m_count = 8;
        return INT_PTR(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_count, 8);
    HxSetDialogRunner([](CDialog& d) {
        EXPECT_EQ(d.m_nIDTemplate, 204u);
        return INT_PTR(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    HxSetDialogRunner(nullptr);
}

TEST(StatusText, KeptPerPaneAndForwarded) {
    std::vector<CString> forwarded;
    HxSetStatusTextHandler([&](int pane, const CString& t) { if (pane == 0) forwarded.push_back(t); });
    HxSetStatusText(0, u"就绪");
    HxSetStatusText(2, u"当前页：第一页");
    EXPECT_EQ(HxGetStatusText(0), CString(u"就绪"));
    EXPECT_EQ(HxGetStatusText(2), CString(u"当前页：第一页"));
    EXPECT_EQ(forwarded, (std::vector<CString>{u"就绪"}));
    HxSetStatusTextHandler(nullptr);
}
