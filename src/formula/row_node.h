// CRowNode: one line of a formula, text runs and structures side by side on a common baseline,
// with the editing behaviour inside every slot (caret movement, keys, typing, inserting
// structures, selection, cut and paste).
#pragma once

#include "formula/node.h"

class CTextNode;

class CRowNode : public CContainerNode {
    DECLARE_DYNAMIC(CRowNode)
public:
    // An empty row (no children): the parser's row and the empty slot of a new structure.
    CRowNode();
    // A row holding a text run (a new empty run when `run` is null or not a run), the run active.
    CRowNode(CNode* run, CNode* parent);

    void Layout(CDC* dc) override;
    void Draw(CDC* dc) override;
    void DrawSelection(CDC* dc) override;
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    void SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) override;
    BOOL SetCaretFromPoint(int x, int y) override;
    void CaretToStart() override;
    void CaretToEnd() override;
    bool IsWholeSelected() override;
    CNode* GetSelectedStructure() override;
    void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                            CRgn* region, COLORREF* color, LOGFONT* font, int* mode) override;
    int ExtendSelectionToPoint(int x, int y) override;
    bool CollapseSelection(bool toEnd) override;
    void InsertText(const CString& text) override;
    void InsertStructure(int code, CNode* node, const int* dims) override;
    BOOL InsertNodeAtCaret(CNode* node) override;
    bool HandleKey(int code) override;
    CNode* CutSelection() override;
    CNode* SplitAtCaret(CNode* newParent) override;
    BOOL SaveCaretPath(CCaretPath& path) override;
    BOOL RestoreCaretPath(const CCaretPath& path, int& pos) override;
    BOOL NormalizeTree() override;

    // Partial selections, used by a box whose selection spans several rows.
    int SelectStartToPoint(int x, int y);
    int SelectStartToAnchor();
    int SelectPointToEnd(int x, int y);
    int SelectAnchorToEnd();
    // Selects every child (an empty row counts as wholly selected).
    void SelectAll();

private:
    CTextNode* TextAt(int i) const;
    void SelectStructure(int i);
    void RemoveEmptyRun(int i);
    // Splits an active text run at the caret so that the caret sits in a gap; returns the gap.
    int SplitActiveRun();
    bool MoveLeft();
    bool MoveRight();
    int EmptyRowPartial(int x, bool toStart);
    int ExtendFromAnchorChild(int a, int i, int x, int y);
    int ExtendFromGap(int g, int i, int x);
};
