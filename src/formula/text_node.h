// CTextNode: a run of characters in one font and colour, the leaf where every caret ends.
#pragma once

#include "formula/node.h"

class CTextNode : public CNode {
    DECLARE_DYNAMIC(CTextNode)
public:
    CTextNode();
    // A run of the text with the caret at its end.
    explicit CTextNode(const CString& text);

    void MeasureText(CDC* dc) override;
    void Layout(CDC* dc) override;
    void Offset(int x, int y) override;
    void DrawContent(CDC* dc) override;
    void Draw(CDC* dc) override;
    void DrawSelection(CDC* dc) override;
    BOOL InsertChild(CNode* node, int index) override { return FALSE; }
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    void InheritFont() override {}
    BOOL SetCaretFromPoint(int x, int y) override;
    void CaretToStart() override;
    void CaretToEnd() override;
    bool IsWholeSelected() override;
    CNode* GetSelectedStructure() override { return nullptr; }
    void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                            CRgn* region, COLORREF* color, LOGFONT* font, int* mode) override;
    int ExtendSelectionToPoint(int x, int y) override;
    bool CollapseSelection(bool toEnd) override;
    void InsertText(const CString& text) override;
    bool HandleKey(int code) override;
    CNode* CutSelection() override;
    CNode* SplitAtCaret(CNode* newParent) override;
    BOOL SaveCaretPath(CCaretPath& path) override;
    BOOL RestoreCaretPath(const CCaretPath& path, int& pos) override;
    BOOL NormalizeTree() override { return FALSE; }
    CNode* GetFirstChild() override { return nullptr; }

    // Range selections used by a row whose drag selection spans several children.  Results:
    // FSEL_CARET nothing selected here, FSEL_PART part of the run, FSEL_WHOLE all of it.
    int SelectStartToPoint(int x);
    int SelectStartToAnchor();
    int SelectPointToEnd(int x);
    int SelectAnchorToEnd();

    // The character boundary nearest x (a click on the right half of a character lands after it).
    int CharIndexFromX(int x) const;
    CPoint GetCaretPoint();
    // Selects the whole run (also an empty one); returns its length.
    int SelectAll();
    // Splits the run so that its selected characters form a run of their own inside `parent` (the
    // row that holds this run at `index`).  Returns how many runs were added; `moved` is 1 when the
    // selected run now stands at index + 1.
    int IsolateSelection(CNode* parent, int index, int& moved);

    int GetLength() const { return m_text.GetLength(); }
    const CArray<int, int>& GetWidths() const { return m_widths; }

private:
    int SumWidths(int from, int to) const;
    CTextNode* NewPiece(const CString& text, CNode* parent) const;
    int SelectToStart(int i);
    int SelectToEnd(int i);

    CArray<int, int> m_widths;
};
