// The window of the formula editor dialog CMtfDlg: the format toolbar, the template toolbar and
// the formula editing control over a formula document of its own; and the matrix size dialog.
#pragma once

#include "app/formula_ctrl.h"
#include "formula/mtf_dialogs.h"

#include <QDialog>

#include <vector>

class CFormatToolBar;
class QToolBar;
class QTimer;

class CMtfDlgWindow : public QDialog, public CWnd {
    Q_OBJECT
public:
    CMtfDlgWindow(CMtfDlg& fields, QWidget* parent = nullptr);
    ~CMtfDlgWindow() override;

    // The set-up of the dialog: toolbars, colours, font, the formula loaded, the first undo step,
    // the caret's timer and the focus.  -1 when a toolbar cannot be made.
    int OnInitDialog();

    CFormulaCtrl* Editor() const { return m_editor; }
    CBinTree& Document() { return m_doc; }
    CFormatToolBar* FormatBar() const { return m_formatBar; }
    QToolBar* TemplateBar() const { return m_templateBar; }
    // The toolbars' button of a command (null when there is none).
    QAction* ToolAction(UINT id) const;
    // Runs the update handlers of both toolbars' buttons and shows the editor's face and size.
    void UpdateToolbars();

    // Commands are offered to the editor first, then to the dialog.
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* ui) override;
    void OnOK();
    void OnColorButton();
    void OnSymbolButton();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnFormulaSize(WPARAM width, LPARAM height);
    LRESULT OnFormulaOK(WPARAM, LPARAM);
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    LRESULT OnToEditorWithFocus(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInsertSymbol(WPARAM, LPARAM index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* AddCommand(QToolBar* bar, UINT id);
    void LayoutEditor();

    CMtfDlg& m_fields;
    CBinTree m_doc;
    CFormatToolBar* m_formatBar = nullptr;
    QToolBar* m_templateBar = nullptr;
    CFormulaCtrl* m_editor = nullptr;
    QTimer* m_idle = nullptr;
    QSize m_pendingSize;
    // The format toolbar's messages, handed on to the editor (which takes the focus).
    std::vector<UINT> m_messagesToEditor;
};

// Shows the formula dialog for its fields (the presenter of CMtfDlg).
INT_PTR HxShowMtfDialog(CMtfDlg& dlg);
