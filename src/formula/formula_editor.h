// CFormulaEditor: what the formula editing control does to its formula document, without a window:
// the caret and selection geometry, keys, typing, structures, fonts and colours of the selection,
// pasting markup and text, templates, style cycling, node styles, import and export, and the undo
// list.  The control (app/formula_ctrl.h) adds painting, the mouse, the clipboard and dialogs.
#pragma once

#include "formula/bin_tree.h"
#include "formula/undo_redo.h"
#include "platform/dc.h"

// The sixteen colours of the colour command and the colour menu (commands 2000 to 2015).
constexpr int HX_FORMULA_COLOR_COUNT = 16;
COLORREF HxFormulaColor(int index);

// The symbol palette's characters (indices 0 to 127); 0 for an index outside them.
constexpr int HX_FORMULA_SYMBOL_COUNT = 128;
char16_t HxFormulaSymbol(int index);

// The limits of plain text taken from the clipboard.
constexpr int HX_PASTE_TEXT_MAX = 1023;
constexpr int HX_PASTE_TEXT_ROWS = 21;

// The private clipboard format of formulas: the markup in UTF-16LE with its terminator.
constexpr const char16_t* HX_FORMULA_CLIPBOARD_FORMAT = u"VadoCBFName";
std::vector<BYTE> HxFormulaClipboardBytes(const CString& markup);
// The markup of such a block: up to its first terminator (an odd last byte is ignored).
CString HxFormulaFromClipboardBytes(const std::vector<BYTE>& bytes);

// What the node style dialog edits for the structure at the caret.
struct HxNodeStyle {
    CNode* node = nullptr;
    int mode = 0; // 0 arrow type, 1 glyph text in the Symbol font, 2 word in the normal font
    int type = 0; // the arrow type (mode 0)
    CString text; // the glyph text or the word (modes 1 and 2)
};

class CFormulaEditor {
public:
    CFormulaEditor();

    void SetDocument(CBinTree* doc) { m_pDoc = doc; }
    CBinTree* GetDocument() const { return m_pDoc; }
    CNode* Root() const { return m_pDoc ? m_pDoc->m_pRoot : nullptr; }

    // Layout states: 0 up to date, 1 caret and selection to recompute, 2 layout too.
    int m_layoutState = 2;
    void Invalidate(int state) { m_layoutState = std::max(m_layoutState, state); }
    // Lays the formula out when needed (in a DC holding the formula's font, pen and colour) and
    // recomputes the caret, the selection region, the typing colour and font and the caret mode.
    void RefreshLayout(CDC* dc);
    // The root's placed box, empty without a root.
    CRect FormulaBox() const;

    // ---- Editing; each returns whether the formula or the caret changed ----
    // Keys without Ctrl (FKEY_ codes); false when the key was refused (no root, or the formula
    // refused it).  Delete, Backspace and Enter that did something record an undo step.
    bool HandleKey(int code);
    // A typed character (from 0x20 up): replaces the selection.
    bool TypeChar(char16_t c);
    // Inserts a structure (codes 1 to 20); a matrix takes `rows` x `columns`.
    bool InsertStructure(int code, int rows = 2, int columns = 2);
    // Cut and delete remove the selection (Cut's caller copies it first).
    bool DeleteSelection();
    void SelectAll();
    // Style cycling of the selected arrows or fence (no undo step).
    bool CycleStyle(int step);
    // The structure whose style the node style dialog edits, false when there is none; and the
    // dialog's answer applied to it.
    bool GetNodeStyle(HxNodeStyle& style);
    void ApplyNodeStyle(const HxNodeStyle& style);

    // ---- Fonts and colours ----
    // The typing font and colour, which follow the node at the caret.
    LOGFONT m_font;
    COLORREF m_color = 0;
    // Applies the typing font or colour (attribute code FONTATTR_...) to the selection and records
    // an undo step.
    void ApplyFontAttribute(int code);
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    void SetFace(const CString& face, int charset);
    // A size in twentieths of a point at the device's pixels per inch.
    void SetSizeTwips(int twips, int pixelsPerInch);
    // Colour command `index` of the sixteen; other indices are ignored (false).
    bool SetColorIndex(int index);
    // The font dialog's answer: the whole font and its colour.
    void SetFontAndColor(const LOGFONT& font, COLORREF color);

    // ---- Clipboard and files ----
    bool HasSelection() const { return m_caretMode == 2; }
    // The selection's markup and plain text, and the text Ctrl+T copies (the selection's, else the
    // whole formula's).
    CString SelectionMarkup();
    CString CopyText();
    // Paste of the private format: markup parsed into a node and inserted at the caret.
    bool PasteMarkup(const CString& markup);
    bool PastePrivate(const std::vector<BYTE>& bytes) {
        return PasteMarkup(HxFormulaFromClipboardBytes(bytes));
    }
    // Paste of plain text: 1 to 1023 characters, one run, or one row a line (at most 21) when it
    // holds line breaks ("\r\n" or "\n"; a last line break ends the last line).
    bool PasteText(const CString& text);
    // The node a plain text becomes (null when the text is empty or too long).
    static CNode* NodeFromText(const CString& text);
    // Built-in template `index` (0 to 27; others are ignored).
    bool InsertTemplate(int index);
    // Symbol `index` of the palette typed (0 to 127; others are ignored).
    bool InsertSymbol(int index);
    // ".mtf" import: the formula replaced when the file holds one (an undo step), false otherwise
    // with the reason in the document's last error.
    bool Import(const CString& path);
    // ".mtf" bytes imported as a file would be.
    bool ImportData(const std::vector<BYTE>& bytes);
    // Export by the extension, compared exactly with "mtf", "bmp" and "emf".  Returns whether a
    // writer was chosen; `written` tells whether the file was written.
    bool Export(const CString& path, bool* written = nullptr);

    // ---- Undo ----
    CUndoRedo m_undo;
    // A snapshot of the formula and the caret as the current record (nothing without a root).
    void RecordUndo();
    bool Undo();
    bool Redo();
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }

    // ---- Caret and selection geometry (after RefreshLayout) ----
    CPoint m_lineStart, m_lineEnd;    // the row underline
    CPoint m_caretTop, m_caretBottom; // the caret bar
    CRgn m_region;                    // the selection rectangles
    int m_caretMode = 0;              // 0 nothing, 1 caret, 2 selection

private:
    // Removes a selection before something replaces it (typing, pasting).
    void CutSelectionForReplace();
    // Inserts a node built from outside at the caret (replacing the selection).
    bool InsertNode(CNode* node, bool inheritFont);
    void Restore(const CUndoRedo::record* rec);

    CBinTree* m_pDoc = nullptr;
};

// The typing font the editor starts with: "宋体", height 22, bold, antialiased.
LOGFONT HxEditorDefaultFont();
