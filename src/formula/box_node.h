// CBoxNode: a formula, or the content of a structure's slot, as rows stacked from the top, with
// the editing that moves between rows (joins, splits, vertical caret moves, row selections).
#pragma once

#include "formula/node.h"

class CRowNode;

class CBoxNode : public CContainerNode {
    DECLARE_DYNAMIC(CBoxNode)
public:
    // An empty box (no rows): the parser's box.
    CBoxNode();
    // A box of one active row: `node` itself when it is a row, a row around it when it is a text
    // run, otherwise an empty row (the node is then not taken).
    CBoxNode(CNode* node, CNode* parent);

    void Layout(CDC* dc) override;
    void DrawSelection(CDC* dc) override;
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    void SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) override;
    BOOL SetCaretFromPoint(int x, int y) override;
    bool IsWholeSelected() override;
    void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                            CRgn* region, COLORREF* color, LOGFONT* font, int* mode) override;
    int ExtendSelectionToPoint(int x, int y) override;
    bool CollapseSelection(bool toEnd) override;
    void InsertStructure(int code, CNode* node, const int* dims) override;
    BOOL InsertNodeAtCaret(CNode* node) override;
    bool HandleKey(int code) override;
    CNode* CutSelection() override;
    BOOL SaveCaretPath(CCaretPath& path) override;
    BOOL RestoreCaretPath(const CCaretPath& path, int& pos) override;
    BOOL NormalizeTree() override;

    // The editor's select-all: one row is selected whole; several rows make a box selection.
    void SelectAll();
    // The gap between rows: |trunc(font height / 3)|.
    int RowGap() const;

private:
    CRowNode* RowAt(int i) const;
    int RowIndexFromY(int& y) const;
    bool HandleRefusedKey(int code, int r);
    bool SplitActiveRow();
};
