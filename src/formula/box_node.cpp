// CBoxNode: rows stacked from the top, moves and joins between rows, row splits on Enter, pasting
// boxes, and selections that span rows.
#include "formula/box_node.h"

#include "formula/row_node.h"
#include "formula/text_node.h"
#include "platform/dc.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CBoxNode, CContainerNode)

CBoxNode::CBoxNode() {
    m_tag = CString(u'#');
    m_kind = NK_BOX;
}

CBoxNode::CBoxNode(CNode* node, CNode* parent) : CBoxNode() {
    m_pParent = parent;
    if (node && node->IsRow())
        AppendChild(node);
    else if (node && node->IsText())
        AppendChild(new CRowNode(node, this));
    else
        AppendChild(new CRowNode());
    SetActiveChild(0);
}

CRowNode* CBoxNode::RowAt(int i) const {
    return DYNAMIC_DOWNCAST(CRowNode, GetChild(i));
}

int CBoxNode::RowGap() const {
    return std::abs(int(m_font.lfHeight / 3.0));
}

void CBoxNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    int n = GetChildCount();
    int gap = RowGap();
    int y = 0, width = 0;
    for (int i = 0; i < n; ++i) {
        CNode* row = GetChild(i);
        row->Layout(dc);
        row->m_box.OffsetRect(-row->m_box.left, y - row->m_box.top);
        y += row->m_box.Height();
        if (i + 1 < n)
            y += gap;
        width = std::max(width, int(row->m_box.Width()));
    }
    m_box = CRect(0, 0, width, y);
    m_content = CRect();
    m_baseline = y / 2;
}

void CBoxNode::DrawSelection(CDC* dc) {
    if (m_pActiveChild) {
        m_pActiveChild->DrawSelection(dc);
        return;
    }
    if (!m_hasSelection)
        return;
    int mask = m_fontSet;
    m_fontSet = FONTBIT_ALL;
    {
        CNodeDCScope scope(dc, this, true);
        int s = std::clamp(m_selStart, 0, GetChildCount() - 1);
        int e = std::clamp(m_selEnd, s, GetChildCount() - 1);
        for (int k = s; k <= e && k >= 0; ++k) {
            if (k == s || k == e)
                GetChild(k)->DrawSelection(dc);
            else
                GetChild(k)->Draw(dc);
        }
    }
    m_fontSet = mask;
}

void CBoxNode::GetMarkup(CString& out, bool selectionOnly) {
    if (!selectionOnly) {
        out += u"<#";
        WriteAttributes(out);
        for (int i = 0; i < GetChildCount(); ++i)
            GetChild(i)->GetMarkup(out, false);
        out += u"</#>";
        return;
    }
    if (m_pActiveChild) {
        m_pActiveChild->GetMarkup(out, true);
        return;
    }
    if (!m_hasSelection || GetChildCount() == 0)
        return;
    int mask = m_fontSet;
    m_fontSet = FONTBIT_ALL;
    out += u"<#";
    WriteAttributes(out);
    m_fontSet = mask;
    int s = std::clamp(m_selStart, 0, GetChildCount() - 1);
    int e = std::clamp(m_selEnd, s, GetChildCount() - 1);
    for (int k = s; k <= e; ++k)
        GetChild(k)->GetMarkup(out, k == s || k == e);
    out += u"</#>";
}

void CBoxNode::GetText(CString& out, bool selectionOnly) {
    if (!selectionOnly) {
        for (int i = 0; i < GetChildCount(); ++i)
            GetChild(i)->GetText(out, false);
        return;
    }
    if (m_pActiveChild) {
        m_pActiveChild->GetText(out, true);
        return;
    }
    if (!m_hasSelection || GetChildCount() == 0)
        return;
    int s = std::clamp(m_selStart, 0, GetChildCount() - 1);
    int e = std::clamp(m_selEnd, s, GetChildCount() - 1);
    for (int k = s; k <= e; ++k)
        GetChild(k)->GetText(out, k == s || k == e);
}

void CBoxNode::SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) {
    ValidateCaret();
    if (selectionOnly && m_pActiveChild) {
        m_pActiveChild->SetFontAttribute(color, font, true, which);
        return;
    }
    if (selectionOnly && m_hasSelection && GetChildCount() > 0) {
        int s = std::clamp(m_selStart, 0, GetChildCount() - 1);
        int e = std::clamp(m_selEnd, s, GetChildCount() - 1);
        for (int k = s; k <= e; ++k)
            GetChild(k)->SetFontAttribute(color, font, k == s || k == e, which);
        return;
    }
    CNode::SetFontAttribute(color, font, false, which);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->SetFontAttribute(color, font, false, which);
}

int CBoxNode::RowIndexFromY(int& y) const {
    int n = GetChildCount();
    int gap = RowGap();
    for (int i = 0; i < n; ++i) {
        const CRect& r = GetChild(i)->m_rect;
        if (r.bottom + gap > y) {
            y = std::min<int>(y, r.bottom);
            return i;
        }
    }
    y = GetChild(n - 1)->m_rect.bottom;
    return n - 1;
}

BOOL CBoxNode::SetCaretFromPoint(int x, int y) {
    m_ptLast = CPoint(x, y);
    m_hasSelection = 0;
    if (GetChildCount() == 0)
        return FALSE;
    y = std::clamp<int>(y, m_rect.top, std::max(m_rect.top, m_rect.bottom));
    int r = RowIndexFromY(y);
    SetActiveChild(r);
    m_pAnchorChild = m_pActiveChild;
    m_anchorIndex = r;
    return m_pActiveChild->SetCaretFromPoint(x, y);
}

bool CBoxNode::IsWholeSelected() {
    int n = GetChildCount();
    if (n == 0)
        return false;
    if (!m_hasSelection || m_pActiveChild)
        return n == 1 && GetChild(0)->IsWholeSelected();
    return m_selStart <= 0 && m_selEnd >= n - 1 && GetChild(0)->IsWholeSelected() &&
           GetChild(n - 1)->IsWholeSelected();
}

void CBoxNode::AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                                  CRgn* region, COLORREF* color, LOGFONT* font, int* mode) {
    ValidateCaret();
    int n = GetChildCount();
    if (m_pActiveChild) {
        int m = 0;
        CPoint top;
        m_pActiveChild->AddSelectionRegion(lineStart, lineEnd, &top, caretBottom, region, color, font, &m);
        if (caretTop)
            *caretTop = top;
        if (mode)
            *mode = m;
        // The caret's x, kept for Up and Down.
        m_selLeft = m == 1 ? top.x : m_pActiveChild->m_selLeft;
        m_selRight = m == 1 ? top.x : m_pActiveChild->m_selRight;
        return;
    }
    if (!m_hasSelection || n == 0) {
        if (mode)
            *mode = 0;
        return;
    }
    if (mode)
        *mode = 2;
    int s = std::clamp(m_selStart, 0, n - 1);
    int e = std::clamp(m_selEnd, s, n - 1);
    std::vector<std::pair<int, int>> bands;
    for (int k = s; k <= e; ++k) {
        CNode* row = GetChild(k);
        if (k == s || k == e) {
            row->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font, nullptr);
            bands.push_back({row->m_selLeft, row->m_selRight});
        } else {
            if (region)
                region->UnionRect(row->m_rect);
            bands.push_back({row->m_rect.left, row->m_rect.right});
        }
    }
    // Fill the gaps between consecutive rows over the overlap of their bands: one connected shape.
    for (int k = s; k < e; ++k) {
        const auto& a = bands[size_t(k - s)];
        const auto& b = bands[size_t(k - s + 1)];
        int left = std::max(a.first, b.first), right = std::min(a.second, b.second);
        CRect fill(left, GetChild(k)->m_rect.bottom, right, GetChild(k + 1)->m_rect.top);
        if (region && left < right)
            region->UnionRect(fill);
    }
    m_selLeft = bands.front().first;
    m_selRight = bands.back().second;
}

int CBoxNode::ExtendSelectionToPoint(int x, int y) {
    ValidateCaret();
    int n = GetChildCount();
    if (n == 0 || !m_pAnchorChild)
        return FSEL_NONE;
    y = std::clamp<int>(y, m_rect.top, std::max(m_rect.top, m_rect.bottom));
    int r = RowIndexFromY(y);
    int a = IndexOfChild(m_pAnchorChild);
    if (r == a) {
        m_hasSelection = 0;
        m_pActiveChild = m_pAnchorChild;
        m_caretIndex = a;
        int res = m_pAnchorChild->ExtendSelectionToPoint(x, y);
        if (res == FSEL_WHOLE && n > 1)
            res = FSEL_PART;
        return res;
    }
    CRowNode* anchorRow = RowAt(a);
    CRowNode* pointRow = RowAt(r);
    if (!anchorRow || !pointRow)
        return FSEL_NONE;
    bool down = r > a;
    int anchorRes, pointRes;
    if (down) {
        anchorRes = anchorRow->SelectAnchorToEnd();
        pointRes = pointRow->SelectStartToPoint(x, y);
    } else {
        anchorRes = anchorRow->SelectStartToAnchor();
        pointRes = pointRow->SelectPointToEnd(x, y);
    }
    auto empty = [](int res) { return res == FSEL_CARET || res == FSEL_NONE; };
    int start = std::min(a, r), end = std::max(a, r);
    bool startDropped = empty(down ? anchorRes : pointRes);
    bool endDropped = empty(down ? pointRes : anchorRes);
    if (startDropped)
        ++start;
    if (endDropped)
        --end;
    if (start > end) {
        // Nothing left between the two points: the caret stays where the point is.
        SetActiveChild(r);
        if (down)
            pointRow->CaretToStart();
        else
            pointRow->CaretToEnd();
        return FSEL_CARET;
    }
    if (start == end) {
        // One row left: it holds the selection itself (a row between the two points, whole).
        if (start != a && start != r)
            if (CRowNode* row = RowAt(start))
                row->SelectAll();
        SetActiveChild(start);
        return FSEL_PART;
    }
    // Rows that became ends only because a neighbour left the range are selected whole.
    if (startDropped && start != a && start != r)
        if (CRowNode* row = RowAt(start))
            row->SelectAll();
    if (endDropped && end != a && end != r)
        if (CRowNode* row = RowAt(end))
            row->SelectAll();
    m_pActiveChild = nullptr;
    m_selStart = start;
    m_selEnd = end;
    m_hasSelection = 1;
    m_caretIndex = r;
    if (start == 0 && end == n - 1 && GetChild(start)->IsWholeSelected() && GetChild(end)->IsWholeSelected())
        return FSEL_WHOLE;
    return FSEL_PART;
}

bool CBoxNode::CollapseSelection(bool toEnd) {
    ValidateCaret();
    bool had = false;
    if (m_hasSelection && GetChildCount() > 0) {
        int k = toEnd ? m_selEnd : m_selStart;
        SetActiveChild(std::clamp(k, 0, GetChildCount() - 1));
        had = true;
    }
    if (!m_pActiveChild)
        return had;
    return m_pActiveChild->CollapseSelection(toEnd) || had;
}

void CBoxNode::InsertStructure(int code, CNode* node, const int* dims) {
    ValidateCaret();
    if (m_hasSelection && !m_pActiveChild && !node)
        node = CutSelection();
    if (m_pActiveChild)
        m_pActiveChild->InsertStructure(code, node, dims);
    else
        delete node;
}

BOOL CBoxNode::InsertNodeAtCaret(CNode* node) {
    ValidateCaret();
    if (!node)
        return FALSE;
    if (!node->IsBox())
        return m_pActiveChild ? m_pActiveChild->InsertNodeAtCaret(node) : FALSE;
    CBoxNode* pasted = static_cast<CBoxNode*>(node);
    int r = m_caretIndex;
    CRowNode* row = m_pActiveChild ? RowAt(r) : nullptr;
    if (!row || pasted->GetChildCount() == 0)
        return FALSE;
    // Every pasted piece must be a row.
    for (int i = 0; i < pasted->GetChildCount(); ++i) {
        if (!pasted->GetChild(i)->IsRow()) {
            CRowNode* wrap = new CRowNode();
            wrap->AppendChild(pasted->DetachChild(i));
            pasted->InsertChildAt(i, wrap);
        }
    }
    CNode* tail = row->SplitAtCaret(this);
    if (!tail)
        return row->InsertNodeAtCaret(node); // the caret is inside a structure
    CRowNode* tailRow = static_cast<CRowNode*>(tail);
    CRowNode* first = static_cast<CRowNode*>(pasted->DetachChild(0));
    int k = pasted->GetChildCount();
    if (k == 0) {
        // One pasted row: the caret row's head, the pasted children, then the tail, in one row.
        while (first->GetChildCount() > 0)
            row->AppendChild(first->DetachChild(0));
        int caretGap = row->GetChildCount();
        while (tailRow->GetChildCount() > 0)
            row->AppendChild(tailRow->DetachChild(0));
        row->SetCaretGap(caretGap);
        delete first;
        delete tailRow;
    } else {
        while (first->GetChildCount() > 0)
            row->AppendChild(first->DetachChild(0));
        delete first;
        int at = r + 1;
        while (pasted->GetChildCount() > 0)
            InsertChildAt(at++, pasted->DetachChild(0));
        CRowNode* last = RowAt(at - 1);
        last->CaretToEnd();
        while (tailRow->GetChildCount() > 0)
            last->AppendChild(tailRow->DetachChild(0));
        delete tailRow;
        SetActiveChild(at - 1);
    }
    delete pasted;
    InheritFont();
    return TRUE;
}

bool CBoxNode::SplitActiveRow() {
    int r = m_caretIndex;
    CRowNode* row = RowAt(r);
    if (!row)
        return false;
    CNode* tail = row->SplitAtCaret(this);
    if (!tail)
        return false;
    InsertChildAt(r + 1, tail);
    tail->CopyFontSettings(row);
    tail->InheritFont();
    SetActiveChild(r + 1);
    return true;
}

bool CBoxNode::HandleRefusedKey(int code, int r) {
    int n = GetChildCount();
    CRowNode* row = RowAt(r);
    switch (code) {
    case FKEY_DELETE: {
        CRowNode* next = RowAt(r + 1);
        if (!row || !next)
            return false;
        while (next->GetChildCount() > 0)
            row->AppendChild(next->DetachChild(0));
        RemoveChild(r + 1);
        SetActiveChild(r);
        return true;
    }
    case FKEY_BACK: {
        CRowNode* prev = RowAt(r - 1);
        if (!row || !prev)
            return false;
        int joint = prev->GetChildCount();
        while (row->GetChildCount() > 0)
            prev->AppendChild(row->DetachChild(0));
        RemoveChild(r);
        SetActiveChild(r - 1);
        prev->SetCaretGap(joint);
        return true;
    }
    case FKEY_LEFT:
        if (r <= 0)
            return false;
        SetActiveChild(r - 1);
        m_pActiveChild->CaretToEnd();
        return true;
    case FKEY_RIGHT:
        if (r >= n - 1)
            return false;
        SetActiveChild(r + 1);
        m_pActiveChild->CaretToStart();
        return true;
    case FKEY_UP:
    case FKEY_DOWN: {
        bool up = code == FKEY_UP;
        int t = up ? r - 1 : r + 1;
        if (t < 0 || t >= n)
            return false;
        int x = m_selLeft;
        SetActiveChild(t);
        const CRect& rect = m_pActiveChild->m_rect;
        m_pActiveChild->SetCaretFromPoint(x, up ? rect.bottom - 4 : rect.top + 4);
        return true;
    }
    default:
        return false;
    }
}

bool CBoxNode::HandleKey(int code) {
    ValidateCaret();
    int n = GetChildCount();
    bool boxSelection = m_hasSelection && !m_pActiveChild && n > 0;
    if (boxSelection) {
        if (code == FKEY_DELETE || code == FKEY_BACK) {
            delete CutSelection();
            return true;
        }
        if (code == FKEY_ENTER) {
            delete CutSelection();
        } else {
            bool toFirst = code == FKEY_HOME || code == FKEY_LEFT || code == FKEY_UP;
            SetActiveChild(std::clamp(toFirst ? m_selStart : m_selEnd, 0, n - 1));
        }
    }
    if (!m_pActiveChild)
        return false;
    int r = m_caretIndex;
    if (code == FKEY_ENTER) {
        if (SplitActiveRow())
            return true;
        return m_pActiveChild->HandleKey(code); // the caret is inside a structure
    }
    bool handled = m_pActiveChild->HandleKey(code);
    if (boxSelection && (code == FKEY_LEFT || code == FKEY_RIGHT || code == FKEY_UP || code == FKEY_DOWN))
        return true;
    if (handled)
        return true;
    return HandleRefusedKey(code, r);
}

CNode* CBoxNode::CutSelection() {
    ValidateCaret();
    if (m_pActiveChild)
        return m_pActiveChild->CutSelection();
    int n = GetChildCount();
    if (!m_hasSelection || n == 0)
        return nullptr;
    int s = std::clamp(m_selStart, 0, n - 1);
    int e = std::clamp(m_selEnd, s, n - 1);
    auto asRow = [](CNode* part) -> CNode* {
        if (!part)
            return new CRowNode();
        if (part->IsRow())
            return part;
        CRowNode* row = new CRowNode();
        row->AppendChild(part);
        return row;
    };
    CBoxNode* cut = new CBoxNode();
    CNode* firstRow = GetChild(s);
    cut->AppendChild(asRow(firstRow->CutSelection()));
    firstRow->CaretToEnd();
    if (e > s) {
        for (int k = s + 1; k < e; ++k)
            cut->AppendChild(DetachChild(s + 1));
        CNode* lastRow = GetChild(s + 1);
        cut->AppendChild(asRow(lastRow->CutSelection()));
        // What remains of the last row joins the first row.
        CContainerNode* firstC = static_cast<CContainerNode*>(firstRow);
        if (CContainerNode* lastC = DYNAMIC_DOWNCAST(CContainerNode, lastRow))
            while (lastC->GetChildCount() > 0)
                firstC->AppendChild(lastC->DetachChild(0));
        RemoveChild(s + 1);
    }
    SetActiveChild(s);
    cut->CaretToEnd();
    return cut;
}

BOOL CBoxNode::SaveCaretPath(CCaretPath& path) {
    ValidateCaret();
    if (m_pActiveChild) {
        path.Add(1);
        path.Add(m_caretIndex);
        return m_pActiveChild->SaveCaretPath(path);
    }
    if (m_hasSelection && GetChildCount() > 0) {
        path.Add(2);
        path.Add(m_selStart);
        path.Add(2);
        path.Add(m_selEnd);
        int s = std::clamp(m_selStart, 0, GetChildCount() - 1);
        int e = std::clamp(m_selEnd, s, GetChildCount() - 1);
        GetChild(s)->SaveCaretPath(path);
        if (e != s)
            GetChild(e)->SaveCaretPath(path);
        return TRUE;
    }
    path.Add(0);
    return TRUE;
}

BOOL CBoxNode::RestoreCaretPath(const CCaretPath& path, int& pos) {
    int s = 0, e = 0;
    BOOL result = FALSE;
    if (!ReadSelectionPath(path, pos, s, e, result))
        return result;
    int n = GetChildCount();
    if (s < 0 || e >= n || s > e)
        return FALSE;
    m_pActiveChild = nullptr;
    m_selStart = s;
    m_selEnd = e;
    m_hasSelection = 1;
    GetChild(s)->RestoreCaretPath(path, pos);
    if (e != s)
        GetChild(e)->RestoreCaretPath(path, pos);
    return TRUE;
}

BOOL CBoxNode::NormalizeTree() {
    BOOL changed = FALSE;
    int i = 0;
    while (i < GetChildCount()) {
        CNode* c = GetChild(i);
        if (c->IsBox()) {
            // A box inside a box gives its rows to this box.
            CBoxNode* inner = static_cast<CBoxNode*>(DetachChild(i));
            int k = i;
            while (inner->GetChildCount() > 0)
                InsertChildAt(k++, inner->DetachChild(0));
            delete inner;
            changed = TRUE;
            continue;
        }
        if (!c->IsRow()) {
            bool wasActive = m_pActiveChild == c;
            CRowNode* row = new CRowNode();
            row->AppendChild(DetachChild(i));
            InsertChildAt(i, row);
            if (wasActive)
                m_pActiveChild = row;
            changed = TRUE;
        }
        ++i;
    }
    for (int k = 0; k < GetChildCount(); ++k)
        if (GetChild(k)->NormalizeTree())
            changed = TRUE;
    ValidateCaret();
    return changed;
}

void CBoxNode::SelectAll() {
    int n = GetChildCount();
    if (n == 0)
        return;
    if (n == 1) {
        SetActiveChild(0);
        if (CRowNode* row = RowAt(0))
            row->SelectAll();
        return;
    }
    m_pActiveChild = nullptr;
    m_selStart = 0;
    m_selEnd = n - 1;
    m_hasSelection = 1;
    if (CRowNode* first = RowAt(0))
        first->SelectAll();
    if (CRowNode* last = RowAt(n - 1))
        last->SelectAll();
}
