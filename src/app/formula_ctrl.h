// CFormulaCtrl: the window in which a formula is edited with the mouse and the keyboard.  It
// paints its formula document double-buffered with a blinking caret or the highlighted selection,
// turns keys, characters, menu commands and toolbar messages into editing (CFormulaEditor), talks
// to the clipboard in its own format, as text and as pictures, imports and exports ".mtf", ".bmp"
// and ".emf" files, and keeps its own undo list.
#pragma once

#include "app/formula_ids.h"
#include "formula/formula_editor.h"

#include <QWidget>

class QMenu;

// The caret and selection drawing state: the highlight colour, the caret mode, and whether the
// row underline and the caret are shown.
class CFormulaCaret {
public:
    COLORREF m_highlight = RGB(0, 120, 215);
    int m_mode = 0; // 0 nothing, 1 caret, 2 selection
    bool m_underline = true;
    bool m_show = true;
    bool m_on = false; // the blink's phase: the caret is drawn
};

class CFormulaCtrl : public QWidget, public CWnd {
    Q_OBJECT
public:
    explicit CFormulaCtrl(QWidget* parent = nullptr);
    ~CFormulaCtrl() override;

    // The formula document (not owned); may be null or have no root.
    void SetDocument(CBinTree* doc) {
        m_editor.SetDocument(doc);
        Relayout();
    }
    CBinTree* GetDocument() const { return m_editor.GetDocument(); }
    CFormulaEditor& Editor() { return m_editor; }
    // The window that gets the formula's size, OK and the close request (the dialog).
    void SetOwner(CWnd* owner) { m_pOwner = owner; }

    // Display-only: the mouse and the keyboard are ignored.
    int m_displayOnly = 0;
    // Where the painted picture starts (a horizontal scroll offset of a display-only formula).
    CPoint m_origin;

    // Lays the formula out in the control's font and returns its placed box (empty without a
    // root), as the calculator paints a display-only formula.
    CRect PaintStatic();
    // Marks the layout stale (2) or only the caret (1) and repaints.
    void Relayout(int state = 2);
    // Brings the layout, the caret and the selection up to date now (a paint does it too), so
    // that a key or a command acts on the selection as it stands.
    void EnsureLayout();
    // Records an undo step of the present formula.
    void RecordUndo() { m_editor.RecordUndo(); }
    const CFormulaCaret& Caret() const { return m_caret; }
    bool IsButtonHeld() const { return m_buttonHeld; }
    // The context menu (menu 261, "弹出(&P)") with its items' states updated.
    QMenu* BuildContextMenu();
    // The bitmap painted last (the size of the client area and the formula together).
    const QImage& PaintedImage() const;

    // ---- Commands ----
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* ui) override;
    void OnInsertStructure(UINT id);
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditClear();
    void OnEditSelectAll();
    void OnEditUndo();
    void OnEditRedo();
    void OnCharBold();
    void OnCharItalic();
    void OnCharUnderline();
    void OnFont();
    void OnImport();
    void OnExport();
    void OnColor(UINT id);
    void OnOK();
    void OnExit();
    void CopyAsText();
    void ShowStyleDialog();
    void OnUpdateHasCaret(CCmdUI* ui);
    void OnUpdateHasSelection(CCmdUI* ui);
    void OnUpdatePaste(CCmdUI* ui);
    void OnUpdateUndo(CCmdUI* ui);
    void OnUpdateRedo(CCmdUI* ui);
    void OnUpdateBold(CCmdUI* ui);
    void OnUpdateItalic(CCmdUI* ui);
    void OnUpdateUnderline(CCmdUI* ui);

    // ---- Messages from the toolbars ----
    LRESULT OnFontName(WPARAM, LPARAM lParam);
    LRESULT OnFontSize(WPARAM, LPARAM lParam);
    LRESULT OnInsertTemplate(WPARAM wParam, LPARAM);
    LRESULT OnChar(WPARAM wParam, LPARAM);

    void OnTimer(UINT_PTR id) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    // The pen, colour and font of the formula selected into a DC.
    void PrepareDC(CDC& dc) const;
    // A refused key: the warning sound and the half-second pause.
    void Refuse();
    void HandleCtrlKey(int key);
    CPoint FormulaPoint(const QPoint& p) const { return CPoint(p.x() + m_origin.x, p.y() + m_origin.y); }

    CFormulaEditor m_editor;
    CFormulaCaret m_caret;
    CWnd* m_pOwner = nullptr;
    bool m_buttonHeld = false;
    CPoint m_mousePoint;
    struct Painted;
    std::unique_ptr<Painted> m_painted;
};

// The id of the private clipboard format (registered by name).
UINT HxFormulaClipboardFormat();
// The format of the metafile offered with a copy ("image/emf").
UINT HxFormulaMetafileFormat();
