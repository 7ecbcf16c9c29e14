// CNode, the base of every formula layout node (font, colour, layout boxes, caret state at its own
// level), and CContainerNode, a node with an ordered list of children.
#pragma once

#include "platform/afx.h"

class CDC;
class CRgn;

// Kind codes of the nodes; the markup reader uses the same numbers.
enum HxNodeKind : int {
    NK_DEFAULTS = 0,   // "!": document defaults, no node
    NK_BOX = 1,        // "#"
    NK_ROW = 2,        // "l"
    NK_STANDARD = 3,   // "d"
    NK_TEXT = 4,       // "e"
    NK_DIVISION = 5,   // "f"
    NK_SQRT = 6,       // "r"
    NK_NTHROOT = 7,    // "n"
    NK_SUP = 8,        // "^"
    NK_SUB = 9,        // "_"
    NK_SUPB = 10,      // "c"
    NK_INTEGRAL = 11,  // "i"
    NK_SUM = 12,       // "s"
    NK_LIM = 13,       // "t"
    NK_BRACE = 14,     // "b"
    NK_VECTOR = 15,    // "v"
    NK_MATRIX = 16,    // "m"
    NK_ARROWS = 17,    // "a"
    NK_CONTAINER = 18, // "o"
};

// Font fields given explicitly for a node (m_fontSet).
enum : int {
    FONTBIT_FACE = 1,
    FONTBIT_CHARSET = 2,
    FONTBIT_SIZE = 4,
    FONTBIT_BOLD = 8,
    FONTBIT_ITALIC = 16,
    FONTBIT_UNDERLINE = 32,
    FONTBIT_ALL = 63,
};

// The `which` argument of SetFontAttribute.
enum : int {
    FONTATTR_FACE = 1, // face and charset
    FONTATTR_SIZE = 2,
    FONTATTR_BOLD = 3,
    FONTATTR_ITALIC = 4,
    FONTATTR_UNDERLINE = 5,
    FONTATTR_COLOR = 7,
    FONTATTR_ALL = 8,
};

// Key codes of HandleKey.
enum : int {
    FKEY_HOME = 1,
    FKEY_END = 2,
    FKEY_DELETE = 3,
    FKEY_BACK = 4,
    FKEY_LEFT = 5,
    FKEY_RIGHT = 6,
    FKEY_UP = 7,
    FKEY_DOWN = 8,
    FKEY_ENTER = 9,
};

// Results of the drag-selection operations.
enum : int {
    FSEL_NONE = 0,   // nothing to do at this level
    FSEL_PART = 1,   // a selection exists
    FSEL_CARET = 2,  // the selection collapsed to a caret
    FSEL_WHOLE = -1, // the whole node is selected
};

using CCaretPath = CArray<int, int>;

// The LOGFONT every new node starts with.
LOGFONT HxDefaultNodeFont();

class CNode : public CObject {
    DECLARE_DYNAMIC(CNode)
public:
    CNode();
    ~CNode() override;
    CNode(const CNode&) = delete;
    CNode& operator=(const CNode&) = delete;

    // Measuring, placing, drawing.  Layout works in the node's own coordinates (its box starts at
    // (0, 0)); the parent moves the box; Offset then makes m_rect and m_contentRect absolute.
    virtual void MeasureText(CDC* dc);
    virtual void Layout(CDC* dc) = 0;
    virtual void Offset(int x, int y) = 0;
    virtual void DrawContent(CDC* dc);
    virtual void Draw(CDC* dc) = 0;
    virtual void DrawSelection(CDC* dc) = 0;

    virtual BOOL InsertChild(CNode* node, int index) = 0;
    // Markup and plain text are appended to `out`.
    virtual void GetMarkup(CString& out, bool selectionOnly) = 0;
    virtual void GetText(CString& out, bool selectionOnly) = 0;
    virtual void InheritFont() = 0;
    virtual void SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which);

    // Caret and selection.
    virtual BOOL SetCaretFromPoint(int x, int y) = 0;
    virtual void CaretToStart() {}
    virtual void CaretToEnd() {}
    virtual bool IsWholeSelected() { return false; }
    virtual CNode* GetSelectedStructure();
    virtual void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                                    CRgn* region, COLORREF* color, LOGFONT* font, int* mode);
    virtual int ExtendSelectionToPoint(int x, int y) = 0;
    virtual bool CollapseSelection(bool toEnd);

    // Editing.
    virtual void InsertText(const CString& text) = 0;
    virtual void InsertStructure(int code, CNode* node, const int* dims);
    virtual BOOL InsertNodeAtCaret(CNode* node);
    virtual bool HandleKey(int code);
    virtual CNode* CutSelection();
    virtual CNode* SplitAtCaret(CNode* newParent) { return nullptr; }
    virtual BOOL SaveCaretPath(CCaretPath& path) = 0;
    virtual BOOL RestoreCaretPath(const CCaretPath& path, int& pos) = 0;
    virtual BOOL NormalizeTree() = 0;
    // The first child (containers: the node itself when it has none; text runs: null).
    virtual CNode* GetFirstChild() { return nullptr; }

    void SetText(const CString& text) { m_text = text; }
    // The attribute part of a start tag, closed by ">".
    void WriteAttributes(CString& out) const;
    // Copies face, charset, height, weight, italic, underline, colour and both explicit flags.
    void CopyFontSettings(const CNode* from);

    bool IsText() const { return m_kind == NK_TEXT; }
    bool IsRow() const { return m_kind == NK_ROW; }
    bool IsBox() const { return m_kind == NK_BOX; }
    // The nodes a row holds beside text runs: structures, grids (and boxes from hand-written markup).
    bool IsStructure() const { return m_kind != NK_TEXT; }
    // The pen width of the node's font: |height| / 32 + 1.
    int PenWidth() const;

    CNode* m_pParent = nullptr;
    CString m_text;
    CString m_tag;
    int m_kind = 0;
    int m_type = 0;
    COLORREF m_color = 0;
    LOGFONT m_font;
    BOOL m_colorSet = FALSE;
    int m_fontSet = 0;
    CRect m_box;
    CRect m_content;
    int m_baseline = 0;
    CRect m_rect;
    CRect m_contentRect;
    int m_selLeft = 0;
    int m_selRight = 0;
    CPoint m_ptLast;
    int m_anchorIndex = 0;
    int m_caretIndex = 0;
    CNode* m_pAnchorChild = nullptr;
    CNode* m_pActiveChild = nullptr;
    CPoint m_ptCaret;
    BYTE m_hasSelection = 0;
    int m_selStart = 0;
    int m_selEnd = 0;
};

// Selects a node's own pen, text colour and font into a DC for the life of the scope, as every
// node does around its layout and drawing: pen and colour when the node has an explicit colour or
// explicit font bits, the font when it has font bits (or when forced).  Nodes without either
// change nothing, so they measure and draw in what their ancestors selected.
class CNodeDCScope {
public:
    CNodeDCScope(CDC* dc, const CNode* node, bool forceFont = false);
    ~CNodeDCScope();
    CNodeDCScope(const CNodeDCScope&) = delete;
    CNodeDCScope& operator=(const CNodeDCScope&) = delete;

private:
    CDC* m_dc;
    bool m_penSet = false, m_fontSet = false;
    HxPen m_oldPen;
    COLORREF m_oldColor = 0;
    LOGFONT m_oldFont;
};

class CContainerNode : public CNode {
    DECLARE_DYNAMIC(CContainerNode)
public:
    CContainerNode();
    ~CContainerNode() override;

    void Offset(int x, int y) override;
    void Draw(CDC* dc) override;
    void DrawSelection(CDC* dc) override;
    BOOL InsertChild(CNode* node, int index) override;
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    void InheritFont() override;
    void SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) override;
    BOOL SetCaretFromPoint(int x, int y) override;
    void CaretToStart() override;
    void CaretToEnd() override;
    void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                            CRgn* region, COLORREF* color, LOGFONT* font, int* mode) override;
    int ExtendSelectionToPoint(int x, int y) override;
    void InsertText(const CString& text) override;
    BOOL SaveCaretPath(CCaretPath& path) override;
    BOOL RestoreCaretPath(const CCaretPath& path, int& pos) override;
    BOOL NormalizeTree() override;
    virtual void AppendChild(CNode* node);
    CNode* GetFirstChild() override;

    int GetChildCount() const { return m_children.GetSize(); }
    CNode* GetChild(int i) const {
        return i >= 0 && i < m_children.GetSize() ? m_children.GetAt(i) : nullptr;
    }
    int IndexOfChild(const CNode* node) const;
    // Puts a node into the child list at an index (0 .. count) and parents it.
    void InsertChildAt(int index, CNode* node);
    // Takes a child out of the list without destroying it.
    CNode* DetachChild(int index);
    // Takes a child out of the list and destroys it.
    void RemoveChild(int index);
    // Makes the child at `index` the active child (caret inside it), without a selection here.
    void SetActiveChild(int index);
    // Puts the caret into the gap before child `gap`, without a selection here.
    void SetCaretGap(int gap);
    // Repairs the caret and anchor links after children were taken out or replaced.
    void ValidateCaret();

    CTypedPtrArray<CObArray, CNode*> m_children;

protected:
    // The head of a box's or a row's caret path.  Code 0 clears the caret and the selection, code 1
    // enters a child: both put the outcome in `result` and return false.  Code 2 reads the ends of a
    // selection into s and e and returns true, for the caller to check and apply them.  A damaged path
    // returns false with `result` FALSE.
    bool ReadSelectionPath(const CCaretPath& path, int& pos, int& s, int& e, BOOL& result);
};

// Copies into `child` every font field whose explicit bit is clear, and the colour when it is not
// explicit (one step of InheritFont).
void HxInheritFontInto(const CNode* from, CNode* child);

// Writes the own text of a structure or grid into its element so that the reader gives it back:
// plainly, or, when it holds "<" or ">" (`escapeAngles`, fence pairs) or could not be read plainly,
// as an element name with "&" for "<" and "%" for ">".  A text that neither form can carry loses
// the characters that stand in the way (":", "&", "%", a leading "/").
void HxWriteElementText(CString& out, const CString& text, bool escapeAngles);

// Builds the node of a kind code (the default node of that class); null for 0 and unknown codes.
CNode* HxCreateNode(int kind);
// The tag of a kind code, and the kind of a tag (-1 when it is not a tag).
const char16_t* HxTagOfKind(int kind);
int HxKindOfTag(const CString& tag);
