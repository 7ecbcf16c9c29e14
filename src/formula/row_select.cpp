// CRowNode selections: drag selection across children, partial selections for box ranges, the
// caret and selection geometry, font changes of a selection, cutting and caret paths.
#include "formula/row_node.h"

#include "formula/text_node.h"
#include "platform/dc.h"

static int MidX(const CNode* c) {
    return (c->m_rect.left + c->m_rect.right) / 2;
}

void CRowNode::SelectAll() {
    int n = GetChildCount();
    m_pActiveChild = nullptr;
    m_selStart = 0;
    m_selEnd = n;
    m_caretIndex = n;
    m_hasSelection = 1;
    if (CTextNode* first = TextAt(0))
        first->SelectAll();
    if (CTextNode* last = TextAt(n - 1))
        last->SelectAll();
}

int CRowNode::ExtendSelectionToPoint(int x, int y) {
    ValidateCaret();
    x = std::clamp<int>(x, m_rect.left, std::max(m_rect.left, m_rect.right));
    y = std::clamp<int>(y, m_rect.top, std::max(m_rect.top, m_rect.bottom));
    int n = GetChildCount();
    m_hasSelection = 0;
    if (n == 0) {
        SetCaretGap(0);
        return FSEL_CARET;
    }
    int i = n - 1;
    for (int k = 0; k < n; ++k) {
        if (GetChild(k)->m_rect.right + 1 > x) {
            i = k;
            break;
        }
    }
    // Selection marks left on runs by earlier positions of this drag are recomputed below.
    for (int k = 0; k < n; ++k)
        if (GetChild(k) != m_pAnchorChild && GetChild(k)->IsText())
            GetChild(k)->m_hasSelection = 0;
    if (!m_pAnchorChild)
        return ExtendFromGap(m_anchorIndex, i, x);
    int a = IndexOfChild(m_pAnchorChild);
    if (a != i)
        return ExtendFromAnchorChild(a, i, x, y);

    // The point is over the child where the drag began: the child selects inside itself.
    CNode* c = m_pAnchorChild;
    m_pActiveChild = c;
    m_caretIndex = i;
    int r = c->ExtendSelectionToPoint(x, y);
    if (r == FSEL_CARET)
        return FSEL_CARET;
    if (r != FSEL_NONE)
        return FSEL_PART;
    // A structure whose slots do not hold the drag: selected whole once the drag crosses its middle.
    int mid = MidX(c);
    int ax = m_ptLast.x;
    if ((ax < mid && mid < x) || (x < mid && mid < ax)) {
        SelectStructure(i);
        m_caretIndex = x > ax ? i + 1 : i;
        return FSEL_PART;
    }
    SetCaretGap(x > mid ? i + 1 : i);
    return FSEL_CARET;
}

int CRowNode::ExtendFromAnchorChild(int a, int i, int x, int) {
    m_pActiveChild = nullptr;
    CNode* anchor = GetChild(a);
    CNode* point = GetChild(i);
    int ax = m_ptLast.x;
    int start, end;
    bool right = a < i;
    if (right) {
        start = a;
        end = i + 1;
        if (CTextNode* run = TextAt(a)) {
            if (run->SelectAnchorToEnd() == FSEL_CARET)
                start = a + 1;
        } else if (ax > MidX(anchor)) {
            start = a + 1;
        }
        if (CTextNode* run = TextAt(i)) {
            if (run->SelectStartToPoint(x) == FSEL_CARET)
                end = i;
        } else if (x < MidX(point)) {
            end = i;
        }
    } else {
        start = i;
        end = a + 1;
        if (CTextNode* run = TextAt(i)) {
            if (run->SelectPointToEnd(x) == FSEL_CARET)
                start = i + 1;
        } else if (x > MidX(point)) {
            start = i + 1;
        }
        if (CTextNode* run = TextAt(a)) {
            if (run->SelectStartToAnchor() == FSEL_CARET)
                end = a;
        } else if (ax < MidX(anchor)) {
            end = a;
        }
    }
    if (start < end) {
        // A run that became an end of the range only because its neighbour left it is selected whole.
        if (start != a && start != i)
            if (CTextNode* run = TextAt(start))
                run->SelectAll();
        if (end - 1 != a && end - 1 != i)
            if (CTextNode* run = TextAt(end - 1))
                run->SelectAll();
        if (end - start == 1 && start == i && point->IsText()) {
            m_pActiveChild = point;
            m_caretIndex = i;
            return FSEL_PART;
        }
    }
    m_caretIndex = right ? end : start;
    if (start >= end)
        return FSEL_CARET;
    m_selStart = start;
    m_selEnd = end;
    m_hasSelection = 1;
    return FSEL_PART;
}

int CRowNode::ExtendFromGap(int g, int i, int x) {
    int n = GetChildCount();
    g = std::clamp(g, 0, n);
    m_pActiveChild = nullptr;
    CNode* point = GetChild(i);
    int start, end;
    bool right = i >= g;
    if (right) {
        start = g;
        end = i + 1;
        if (CTextNode* run = TextAt(i)) {
            if (run->SelectStartToPoint(x) == FSEL_CARET)
                end = i;
        } else if (x < MidX(point)) {
            end = i;
        }
        if (g < end && g != i)
            if (CTextNode* run = TextAt(g))
                run->SelectAll();
    } else {
        start = i;
        end = g;
        if (CTextNode* run = TextAt(i)) {
            if (run->SelectPointToEnd(x) == FSEL_CARET)
                start = i + 1;
        } else if (x > MidX(point)) {
            start = i + 1;
        }
        if (g - 1 >= start && g - 1 != i)
            if (CTextNode* run = TextAt(g - 1))
                run->SelectAll();
    }
    if (end - start == 1 && start == i && point->IsText()) {
        m_pActiveChild = point;
        m_caretIndex = i;
        return FSEL_PART;
    }
    m_caretIndex = right ? end : start;
    if (start >= end) {
        m_caretIndex = std::clamp(m_caretIndex, 0, n);
        return FSEL_CARET;
    }
    m_selStart = start;
    m_selEnd = end;
    m_hasSelection = 1;
    return FSEL_PART;
}

int CRowNode::EmptyRowPartial(int x, bool toStart) {
    int mid = (m_rect.left + m_rect.right) / 2;
    m_pActiveChild = nullptr;
    if (toStart ? x <= mid : x >= mid) {
        SetCaretGap(0);
        return FSEL_CARET;
    }
    m_hasSelection = 1;
    m_selStart = m_selEnd = 0;
    return FSEL_WHOLE;
}

int CRowNode::SelectStartToPoint(int x, int y) {
    if (GetChildCount() == 0)
        return EmptyRowPartial(x, true);
    m_pAnchorChild = nullptr;
    m_anchorIndex = 0;
    return ExtendSelectionToPoint(x, y);
}

int CRowNode::SelectPointToEnd(int x, int y) {
    if (GetChildCount() == 0)
        return EmptyRowPartial(x, false);
    m_pAnchorChild = nullptr;
    m_anchorIndex = GetChildCount();
    return ExtendSelectionToPoint(x, y);
}

int CRowNode::SelectStartToAnchor() {
    if (GetChildCount() == 0)
        return EmptyRowPartial(m_ptLast.x, true);
    return ExtendSelectionToPoint(m_rect.left, m_rect.top);
}

int CRowNode::SelectAnchorToEnd() {
    if (GetChildCount() == 0)
        return EmptyRowPartial(m_ptLast.x, false);
    return ExtendSelectionToPoint(m_rect.right, m_rect.bottom);
}

bool CRowNode::IsWholeSelected() {
    int n = GetChildCount();
    if (n == 0)
        return m_hasSelection != 0;
    if (!m_hasSelection || m_pActiveChild) {
        CTextNode* run = TextAt(0);
        return n == 1 && run && run->IsWholeSelected();
    }
    if (m_selStart > 0 || m_selEnd < n)
        return false;
    CTextNode* first = TextAt(0);
    CTextNode* last = TextAt(n - 1);
    return (!first || first->IsWholeSelected()) && (!last || last->IsWholeSelected());
}

CNode* CRowNode::GetSelectedStructure() {
    if (m_pActiveChild)
        return m_pActiveChild->IsText() ? nullptr : m_pActiveChild->GetSelectedStructure();
    if (m_hasSelection && m_selEnd - m_selStart == 1) {
        CNode* c = GetChild(m_selStart);
        if (c && !c->IsText())
            return c;
    }
    return nullptr;
}

bool CRowNode::CollapseSelection(bool toEnd) {
    if (m_pActiveChild)
        return m_pActiveChild->CollapseSelection(toEnd);
    if (!m_hasSelection)
        return false;
    if (GetChildCount() == 0) {
        SetCaretGap(0);
        return true;
    }
    SetCaretGap(toEnd ? m_selEnd : m_selStart);
    return true;
}

void CRowNode::AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                                  CRgn* region, COLORREF* color, LOGFONT* font, int* mode) {
    ValidateCaret();
    auto report = [&](const CNode* from) {
        if (color)
            *color = from->m_color;
        if (font)
            *font = from->m_font;
    };
    auto caretAt = [&](int x) {
        if (mode)
            *mode = 1;
        if (lineStart)
            *lineStart = CPoint(m_rect.left, m_rect.bottom);
        if (lineEnd)
            *lineEnd = CPoint(m_rect.right, m_rect.bottom);
        if (caretTop)
            *caretTop = CPoint(x, m_rect.top);
        if (caretBottom)
            *caretBottom = CPoint(x, m_rect.bottom);
        m_selLeft = m_selRight = x;
    };
    int n = GetChildCount();
    if (n == 0) {
        report(this);
        if (m_hasSelection) {
            if (mode)
                *mode = 2;
            if (region)
                region->UnionRect(m_rect);
            m_selLeft = m_rect.left;
            m_selRight = m_rect.right;
        } else {
            if (mode)
                *mode = 1;
            if (lineStart)
                *lineStart = CPoint(m_contentRect.left, m_contentRect.bottom);
            if (lineEnd)
                *lineEnd = CPoint(m_contentRect.right, m_contentRect.bottom);
            if (caretTop)
                *caretTop = m_contentRect.TopLeft();
            if (caretBottom)
                *caretBottom = CPoint(m_contentRect.left, m_contentRect.bottom);
            m_selLeft = m_selRight = m_contentRect.left;
        }
        return;
    }
    if (m_pActiveChild) {
        if (CTextNode* run = TextAt(m_caretIndex)) {
            int runMode = 0;
            run->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font, &runMode);
            if (mode)
                *mode = runMode;
            if (runMode == 1) {
                caretAt(run->GetCaretPoint().x); // the caret is as tall as the row
            } else {
                m_selLeft = run->m_selLeft;
                m_selRight = run->m_selRight;
            }
        } else {
            m_pActiveChild->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font,
                                               mode);
        }
        return;
    }
    if (!m_hasSelection) {
        int g = std::clamp(m_caretIndex, 0, n);
        caretAt(g < n ? GetChild(g)->m_rect.left : m_rect.right);
        const CNode* from = GetChild(g > 0 ? g - 1 : 0);
        if (g > 0 && !from->IsText() && g < n && GetChild(g)->IsText())
            from = GetChild(g);
        report(from);
        return;
    }
    report(this);
    int s = std::clamp(m_selStart, 0, n - 1);
    int e = std::clamp(m_selEnd, s + 1, n);
    CNode* first = GetChild(s);
    CNode* last = GetChild(e - 1);
    bool firstOwn = first->IsText() && first->m_hasSelection;
    bool lastOwn = last->IsText() && last->m_hasSelection;
    // The end runs add their own selected parts; the row fills what lies between them.
    if (firstOwn)
        first->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font, nullptr);
    if (lastOwn && last != first)
        last->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font, nullptr);
    int left = firstOwn ? first->m_rect.right : first->m_rect.left;
    int right = lastOwn ? last->m_rect.left : last->m_rect.right + 2;
    if (left < right && region)
        region->UnionRect(CRect(left, m_rect.top, right, m_rect.bottom));
    m_selLeft = firstOwn ? first->m_selLeft : first->m_rect.left;
    m_selRight = lastOwn ? last->m_selRight : last->m_rect.right + 2;
    if (!last->IsText())
        report(last);
    if (mode)
        *mode = 2;
}

void CRowNode::SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) {
    ValidateCaret();
    if (!selectionOnly || IsWholeSelected()) {
        CNode::SetFontAttribute(color, font, false, which);
        for (int i = 0; i < GetChildCount(); ++i)
            GetChild(i)->SetFontAttribute(color, font, false, which);
        return;
    }
    if (m_pActiveChild) {
        if (CTextNode* run = TextAt(m_caretIndex)) {
            if (!run->m_hasSelection)
                return;
            int moved = 0;
            run->IsolateSelection(this, m_caretIndex, moved);
            SetActiveChild(m_caretIndex + moved);
            m_pActiveChild->SetFontAttribute(color, font, false, which);
        } else {
            m_pActiveChild->SetFontAttribute(color, font, true, which);
        }
        return;
    }
    if (!m_hasSelection)
        return;
    int s = std::clamp(m_selStart, 0, GetChildCount());
    int e = std::clamp(m_selEnd, s, GetChildCount());
    if (s == e)
        return;
    int moved = 0;
    if (CTextNode* first = TextAt(s)) {
        int added = first->IsolateSelection(this, s, moved);
        s += moved;
        e += added;
    }
    if (e - s > 1) {
        if (CTextNode* last = TextAt(e - 1)) {
            last->IsolateSelection(this, e - 1, moved);
            e += moved;
        }
    }
    m_selStart = s;
    m_selEnd = e;
    for (int k = s; k < e; ++k)
        GetChild(k)->SetFontAttribute(color, font, false, which);
}

CNode* CRowNode::CutSelection() {
    ValidateCaret();
    if (m_pActiveChild) {
        int i = m_caretIndex;
        CNode* active = m_pActiveChild;
        CNode* piece = active->CutSelection();
        if (active->IsText()) {
            if (piece)
                piece->CopyFontSettings(active);
            if (active->m_text.IsEmpty())
                RemoveEmptyRun(i);
        }
        return piece;
    }
    int n = GetChildCount();
    if (n == 0) {
        SetCaretGap(0);
        return nullptr;
    }
    if (!m_hasSelection)
        return nullptr;
    int s = std::clamp(m_selStart, 0, n);
    int e = std::clamp(m_selEnd, s, n);
    CRowNode* cut = new CRowNode();
    int gap = s;
    int k = s;
    for (int idx = s; idx < e; ++idx) {
        CNode* c = GetChild(k);
        bool end = idx == s || idx == e - 1;
        if (end && c->IsText() && c->m_hasSelection && !c->IsWholeSelected()) {
            // A partly selected run at an end gives up only its selected characters.
            CNode* piece = c->CutSelection();
            piece->CopyFontSettings(c);
            cut->AppendChild(piece);
            if (c->m_text.IsEmpty()) {
                RemoveChild(k);
            } else {
                ++k;
                if (idx == s)
                    gap = s + 1;
            }
        } else {
            cut->AppendChild(DetachChild(k));
        }
    }
    SetCaretGap(gap);
    cut->CaretToEnd();
    return cut;
}

BOOL CRowNode::SaveCaretPath(CCaretPath& path) {
    ValidateCaret();
    if (m_pActiveChild) {
        path.Add(1);
        path.Add(m_caretIndex);
        return m_pActiveChild->SaveCaretPath(path);
    }
    if (m_hasSelection) {
        path.Add(2);
        path.Add(m_selStart);
        path.Add(2);
        path.Add(m_selEnd);
        int n = GetChildCount();
        if (n > 0) {
            int s = std::clamp(m_selStart, 0, n - 1);
            int e = std::clamp(m_selEnd, s + 1, n);
            if (CTextNode* first = TextAt(s))
                first->SaveCaretPath(path);
            if (e - 1 != s)
                if (CTextNode* last = TextAt(e - 1))
                    last->SaveCaretPath(path);
        }
        return TRUE;
    }
    path.Add(0);
    return TRUE;
}

BOOL CRowNode::RestoreCaretPath(const CCaretPath& path, int& pos) {
    int s = 0, e = 0;
    BOOL result = FALSE;
    if (!ReadSelectionPath(path, pos, s, e, result))
        return result;
    int size = path.GetSize();
    int n = GetChildCount();
    if (s < 0 || e > n || s > e || (s == e && n > 0))
        return FALSE;
    m_pActiveChild = nullptr;
    m_selStart = s;
    m_selEnd = e;
    m_hasSelection = 1;
    if (n > 0) {
        if (CTextNode* first = TextAt(s))
            if (pos < size)
                first->RestoreCaretPath(path, pos);
        if (e - 1 != s)
            if (CTextNode* last = TextAt(e - 1))
                if (pos < size)
                    last->RestoreCaretPath(path, pos);
    }
    return TRUE;
}
