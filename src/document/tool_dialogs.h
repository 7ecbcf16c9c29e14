// The tool dialogs' fields and rules: "新建工具" (the new tool's name), the modeless script view
// "工具脚本" (a tool's comment, inputs and steps) and "工具属性" (the document's tools renamed,
// commented, copied and deleted).  Their windows live in app/tool_dialogs_ui.cpp.
#pragma once

#include "platform/dialog.h"

#include <functional>
#include <vector>

class CGCell;
class CHalvixDoc;
class CRecord;

// "新建工具": the name and whether the script view opens afterwards.
class CDlgTool : public CDialog {
    DECLARE_DYNAMIC(CDlgTool)
public:
    static constexpr int kName = 1000;
    static constexpr int kShowScript = 1003;
    CDlgTool() : CDialog(212) {}

    CString m_name;
    BOOL m_showScript = FALSE;
};

// "工具脚本": one per program, modeless.  Filling it reads a tool; its window (installed by the
// frame) shows what it holds and is shown, refilled and hidden through it.
class CDlgToolView : public CDialog {
    DECLARE_DYNAMIC(CDlgToolView)
public:
    static constexpr int kComment = 1000;
    static constexpr int kConditions = 1115;
    static constexpr int kSteps = 1100;
    static constexpr int kRootIcon = 21;

    struct CStep {
        CString m_text;
        int m_icon = 17;
        std::vector<CStep> m_parents; // the step's parents (only for steps below the root)
    };

    CDlgToolView() : CDialog(213) {}

    // The tool's name + "脚本" as the title, its comment, its inputs "%d. %s" (number from 1, the
    // object's name "__" the input's comment) and the tree of its steps.
    void Fill(const CRecord& tool);
    // The icon of a recorded object by its class: free point 2, other point 1, line 3, face 4,
    // circle 5, curve 6, locus 7, texts 8, values and vectors 9, button 10, cylinder 11, cone 12,
    // frustum 13, sphere 14, iteration 15, surface and trace 16, anything else 17.
    static int IconOf(const CGCell* cell);
    // The places of the controls for a client area (at least 30 wide and 200 high): comment,
    // conditions and steps as {x, y, width, height}.
    static void Layout(int width, int height, int comment[4], int conditions[4], int steps[4]);

    void Show();
    void Hide();

    CString m_title;
    CString m_comment;
    std::vector<CString> m_conditions;
    CStep m_root; // the tool's name, icon 21, one child per recorded object
    bool m_shown = false;

    // What the window does when the view is shown or refilled, hidden, or destroyed.
    enum class Action { Show, Hide, Destroy };
    using Window = std::function<void(CDlgToolView& view, Action action)>;
    static void SetWindow(Window window);
};

// The script view of the program (created on first use), null before.
extern CDlgToolView* g_pToolScriptView;
// The script view filled from the tool, when it exists (null: hidden).
void HxRefillToolScriptView(const CRecord* tool);
// The script view destroyed (the program ends, or a test).
void HxDestroyToolScriptView();

// "工具属性": the document's tools by name, the chosen tool's inputs, name, comment, input comment
// and default-colours flag; copy and delete.  Every change goes to the tool (and the tool menu) at
// once.
class CDlgPropertyTool : public CDialog {
    DECLARE_DYNAMIC(CDlgPropertyTool)
public:
    static constexpr int kTools = 1015;
    static constexpr int kConditions = 1019;
    static constexpr int kName = 1000;
    static constexpr int kComment = 1002;
    static constexpr int kConditionComment = 1001;
    static constexpr int kDefaultColors = 1257;
    static constexpr int kCopy = 1034;
    static constexpr int kDelete = 1027;

    explicit CDlgPropertyTool(CHalvixDoc* doc) : CDialog(214), m_pDoc(doc) {}

    // Opening: the tools listed and the first chosen, or the hint that the document has none.
    void OnInitDialog();
    // A row of the tool list chosen (-1 none): its inputs listed and the first chosen, its fields.
    void ChooseTool(int row);
    // An input chosen: its comment.
    void ChooseCondition(int index);
    // The edits left and the check box clicked: into the chosen tool (and its menu entry).
    void SetName(const CString& name);
    void SetComment(const CString& comment);
    void SetConditionComment(const CString& comment);
    void SetDefaultColors(BOOL on);
    // "复制工具" and "删除工具".
    void OnCopy();
    void OnDelete();

    CHalvixDoc* m_pDoc;
    CRecord* m_pTool = nullptr; // the chosen tool, null for none
    int m_toolRow = -1;
    int m_conditionRow = -1;
    std::vector<CString> m_toolNames;
    std::vector<CString> m_conditionTexts;
    CString m_name;
    CString m_comment;
    CString m_conditionComment;
    BOOL m_useDefaultColors = TRUE;
    CString m_copyText = u"复制工具";
    // Set when the comment edit should take the focus with its text selected.
    bool m_focusComment = false;
};
