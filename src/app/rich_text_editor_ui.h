// The window of the rich-text editor CDlgRtEdit: a QTextEdit under the format toolbar, with the
// character and paragraph commands, the symbol palette, the context menu, and the stand-ins of the
// formula server and OLE objects, which this system has not.
#pragma once

#include "measure/rich_text_dialog.h"
#include "app/format_para_dlg.h"

#include <QDialog>

class CFormatToolBar;
class QAction;
class QMenu;
class QTextBlockFormat;
class QTextCursor;
class QTextEdit;
class QTextList;
class QTimer;

// Command ids of the editor, shared by its toolbar and its context menu.
constexpr UINT ID_RT_PARAGRAPH = 33340;
constexpr UINT ID_RT_UNDO = 33341;
constexpr UINT ID_RT_REDO = 33342;
constexpr UINT ID_RT_CUT = 33343;
constexpr UINT ID_RT_COPY = 33344;
constexpr UINT ID_RT_PASTE = 33345;
constexpr UINT ID_RT_SELECT_ALL = 33346;
constexpr UINT ID_RT_FONT = 33347;
constexpr UINT ID_RT_DELETE = 33348;
constexpr UINT ID_RT_SUBSCRIPT = 33349;
constexpr UINT ID_RT_SUPERSCRIPT = 33350;
constexpr UINT ID_RT_INSERT_OBJECT = 33351;
constexpr UINT ID_RT_BOLD = 33352;
constexpr UINT ID_RT_ITALIC = 33353;
constexpr UINT ID_RT_UNDERLINE = 33354;
constexpr UINT ID_RT_SYMBOL = 33358;
constexpr UINT ID_RT_EQUATION = 33359;

// A paragraph format of the paragraph dialog and the QTextDocument block format (with its list)
// it stands for; lengths in twips, the document's pixels 15 twips each.
CParaFormat HxParaFormatOfBlock(const QTextBlockFormat& block, const QTextList* list);
// Applies a paragraph format to every paragraph the cursor's selection touches (numbering makes
// them one list; no numbering takes them out of their lists).
void HxApplyParaFormat(QTextCursor cursor, const CParaFormat& pf);

class CDlgRtEditWindow : public QDialog, public CWnd {
    Q_OBJECT
public:
    // The editor's formatting rectangle when the dialog opens, in pixels.
    static constexpr int kEditorWidth = 584;
    static constexpr int kEditorHeight = 135;

    CDlgRtEditWindow(CDlgRtEdit& fields, QWidget* parent = nullptr);
    ~CDlgRtEditWindow() override;

    // Toolbar, default format, content (plain text or the item's RTF) and focus; -1 when the stored
    // text is longer than the editor holds (a message says so and nothing is shown).
    int OnInitDialog();

    QTextEdit* Editor() const { return m_editor; }
    CFormatToolBar* FormatBar() const { return m_formatBar; }
    QAction* ToolAction(UINT id) const;
    // The context menu of the editor (its items enabled as the selection allows).
    QMenu* CreateContextMenu(QWidget* parent);

    // Runs an editor command; updates the toolbar from the selection.
    void RunCommand(UINT id);
    void UpdateToolbars();
    // What the update handler of a command says (enabled, checked).
    bool IsCommandEnabled(UINT id) const;
    bool IsCommandChecked(UINT id) const;

    // Replaces the selection with symbol `index` (0 to 127) as one undoable step.
    void InsertSymbol(int index);
    // OK: the fields from the editor; the dialog stays open while the editor is empty.
    void OnOK();

    LRESULT OnFontName(WPARAM, LPARAM record);
    LRESULT OnFontSize(WPARAM, LPARAM record);
    LRESULT OnFormatDone(WPARAM, LPARAM);
    LRESULT OnInsertSymbol(WPARAM, LPARAM index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* AddCommand(UINT id);
    // Bold, italic, underline: toggled where the selection agrees, else set.
    void ToggleEffect(UINT id);
    // Superscript or subscript, never both.
    void ToggleScript(bool super);
    void MergeFormat(const QTextCharFormat& format);
    void OnFontDialog();
    void OnParagraphDialog();
    void OnSymbolButton();
    // The document's height changed: the dialog grows or shrinks with it within 200 to 700.
    void OnDocumentHeight(double height);
    // A shown dialog that reaches below the screen's available area moves up to end within it.
    void KeepOnScreen();
    void LayoutEditor();

    CDlgRtEdit& m_fields;
    CFormatToolBar* m_formatBar = nullptr;
    QTextEdit* m_editor = nullptr;
    QWidget* m_buttons = nullptr;
    QTimer* m_idle = nullptr;
};

// Shows the editor for the fields: IDOK when the user confirmed a non-empty text.
INT_PTR HxShowRtEditDialog(CDlgRtEdit& dlg);
