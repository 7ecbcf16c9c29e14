// CRowNode: layout on a common baseline, drawing, markup, caret placement, keys, typing, inserting
// structures and pasted rows, splitting and normalising.  Selections are in row_select.cpp.
#include "formula/row_node.h"

#include "formula/box_node.h"
#include "formula/matrix_node.h"
#include "formula/standard_node.h"
#include "formula/text_node.h"
#include "platform/dc.h"

#include <cmath>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CRowNode, CContainerNode)

CRowNode::CRowNode() {
    m_tag = CString(u'l');
    m_kind = NK_ROW;
}

CRowNode::CRowNode(CNode* run, CNode* parent) : CRowNode() {
    m_pParent = parent;
    AppendChild(run && run->IsText() ? run : new CTextNode());
    SetActiveChild(0);
}

CTextNode* CRowNode::TextAt(int i) const {
    CNode* c = GetChild(i);
    return c && c->IsText() ? static_cast<CTextNode*>(c) : nullptr;
}

void CRowNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    int n = GetChildCount();
    if (n == 0) {
        // An empty slot: a placeholder three fifths as wide as the font is high.
        int h = int(std::labs(long(m_font.lfHeight)));
        m_content = CRect(0, 0, int(h * 0.6), h);
        m_box = m_content;
        m_content.DeflateRect(1, 2);
        m_baseline = h / 2;
        return;
    }
    int base = 0;
    for (int i = 0; i < n; ++i) {
        GetChild(i)->Layout(dc);
        base = std::max(base, GetChild(i)->m_baseline);
    }
    int x = 0, height = base;
    for (int i = 0; i < n; ++i) {
        CNode* c = GetChild(i);
        int y = base - c->m_baseline;
        c->m_box.OffsetRect(x - c->m_box.left, y - c->m_box.top);
        x += c->m_box.Width();
        height = std::max(height, y + c->m_box.Height());
    }
    m_box = CRect(0, 0, x, height);
    m_baseline = base;
    m_content = CRect(0, base, 0, base);
}

void CRowNode::Draw(CDC* dc) {
    CNodeDCScope scope(dc, this);
    if (GetChildCount() == 0) {
        dc->DrawFocusRect(m_rect);
        return;
    }
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->Draw(dc);
}

void CRowNode::DrawSelection(CDC* dc) {
    if (m_pActiveChild) {
        m_pActiveChild->DrawSelection(dc);
        return;
    }
    if (!m_hasSelection || GetChildCount() == 0)
        return;
    int mask = m_fontSet;
    m_fontSet = FONTBIT_ALL;
    {
        CNodeDCScope scope(dc, this, true);
        int s = std::clamp(m_selStart, 0, GetChildCount());
        int e = std::clamp(m_selEnd, s, GetChildCount());
        for (int k = s; k < e; ++k) {
            CNode* c = GetChild(k);
            if ((k == s || k == e - 1) && c->IsText())
                c->DrawSelection(dc);
            else
                c->Draw(dc);
        }
    }
    m_fontSet = mask;
}

void CRowNode::GetMarkup(CString& out, bool selectionOnly) {
    if (!selectionOnly) {
        out += u"<l";
        WriteAttributes(out);
        for (int i = 0; i < GetChildCount(); ++i)
            GetChild(i)->GetMarkup(out, false);
        out += u"</l>";
        return;
    }
    if (m_pActiveChild) {
        CString inner;
        m_pActiveChild->GetMarkup(inner, true);
        if (m_pActiveChild->IsText()) {
            if (inner.IsEmpty())
                return;
            out += u"<l";
            WriteAttributes(out);
            out += inner;
            out += u"</l>";
        } else {
            out += inner;
        }
        return;
    }
    if (!m_hasSelection)
        return;
    int mask = m_fontSet;
    m_fontSet = FONTBIT_ALL;
    out += u"<l";
    WriteAttributes(out);
    m_fontSet = mask;
    int s = std::clamp(m_selStart, 0, GetChildCount());
    int e = std::clamp(m_selEnd, s, GetChildCount());
    for (int k = s; k < e; ++k) {
        CNode* c = GetChild(k);
        c->GetMarkup(out, (k == s || k == e - 1) && c->IsText());
    }
    out += u"</l>";
}

void CRowNode::GetText(CString& out, bool selectionOnly) {
    if (!selectionOnly) {
        for (int i = 0; i < GetChildCount(); ++i)
            GetChild(i)->GetText(out, false);
        return;
    }
    if (m_pActiveChild) {
        m_pActiveChild->GetText(out, true);
        return;
    }
    if (!m_hasSelection)
        return;
    int s = std::clamp(m_selStart, 0, GetChildCount());
    int e = std::clamp(m_selEnd, s, GetChildCount());
    for (int k = s; k < e; ++k) {
        CNode* c = GetChild(k);
        c->GetText(out, (k == s || k == e - 1) && c->IsText());
    }
}

BOOL CRowNode::SetCaretFromPoint(int x, int y) {
    x = std::clamp<int>(x, m_rect.left, std::max(m_rect.left, m_rect.right));
    m_ptLast = CPoint(x, y);
    m_hasSelection = 0;
    m_pAnchorChild = nullptr;
    int n = GetChildCount();
    if (n == 0) {
        m_pActiveChild = nullptr;
        m_caretIndex = m_anchorIndex = 0;
        return TRUE;
    }
    for (int i = 0; i < n; ++i) {
        CNode* c = GetChild(i);
        if (c->m_rect.right + 1 > x) {
            if (c->SetCaretFromPoint(x, y)) {
                m_pActiveChild = m_pAnchorChild = c;
                m_caretIndex = m_anchorIndex = i;
            } else {
                // A structure point outside its slots: the gap on the nearer side.
                int gap = x >= (c->m_rect.left + c->m_rect.right) / 2 ? i + 1 : i;
                SetCaretGap(gap);
                m_anchorIndex = gap;
            }
            return TRUE;
        }
    }
    SetCaretGap(n);
    m_anchorIndex = n;
    return TRUE;
}

void CRowNode::CaretToStart() {
    if (CTextNode* run = TextAt(0)) {
        SetActiveChild(0);
        run->CaretToStart();
    } else {
        SetCaretGap(0);
    }
}

void CRowNode::CaretToEnd() {
    int n = GetChildCount();
    if (CTextNode* run = TextAt(n - 1)) {
        SetActiveChild(n - 1);
        run->CaretToEnd();
    } else {
        SetCaretGap(n);
    }
}

void CRowNode::SelectStructure(int i) {
    m_pActiveChild = nullptr;
    m_selStart = i;
    m_selEnd = i + 1;
    m_caretIndex = i;
    m_hasSelection = 1;
}

void CRowNode::RemoveEmptyRun(int i) {
    RemoveChild(i);
    SetCaretGap(i);
}

bool CRowNode::MoveLeft() {
    int n = GetChildCount();
    if (n == 0) {
        bool had = m_hasSelection != 0;
        m_hasSelection = 0;
        return had;
    }
    if (m_pActiveChild) {
        int i = m_caretIndex;
        if (m_pActiveChild->HandleKey(FKEY_LEFT))
            return true;
        SetCaretGap(i); // a structure leaves the caret before itself; a run at its start lets it go
        if (!GetChild(i)->IsText())
            return true;
    } else if (m_hasSelection) {
        int s = std::clamp(m_selStart, 0, n - 1);
        if (CTextNode* run = TextAt(s)) {
            SetActiveChild(s);
            if (run->m_hasSelection)
                run->HandleKey(FKEY_LEFT); // to the start of its selected part
            else
                run->CaretToStart();
            return true;
        }
        SetCaretGap(s);
        return true;
    }
    int g = m_caretIndex;
    if (g <= 0)
        return false;
    CNode* prev = GetChild(g - 1);
    SetActiveChild(g - 1);
    prev->CaretToEnd();
    if (!prev->IsText())
        return true;
    if (!prev->HandleKey(FKEY_LEFT))
        SetCaretGap(g - 1); // an empty run: step over it
    return true;
}

bool CRowNode::MoveRight() {
    int n = GetChildCount();
    if (n == 0) {
        bool had = m_hasSelection != 0;
        m_hasSelection = 0;
        return had;
    }
    if (m_pActiveChild) {
        int i = m_caretIndex;
        if (m_pActiveChild->HandleKey(FKEY_RIGHT))
            return true;
        SetCaretGap(i + 1);
        if (!GetChild(i)->IsText())
            return true;
    } else if (m_hasSelection) {
        int last = std::clamp(m_selEnd - 1, 0, n - 1);
        if (CTextNode* run = TextAt(last)) {
            SetActiveChild(last);
            if (run->m_hasSelection)
                run->HandleKey(FKEY_RIGHT); // to the end of its selected part
            else
                run->CaretToEnd();
            return true;
        }
        SetCaretGap(last + 1);
        return true;
    }
    int g = m_caretIndex;
    if (g >= n)
        return false;
    CNode* next = GetChild(g);
    SetActiveChild(g);
    next->CaretToStart();
    if (!next->IsText())
        return true;
    if (!next->HandleKey(FKEY_RIGHT))
        SetCaretGap(g + 1); // an empty run: step over it
    return true;
}

bool CRowNode::HandleKey(int code) {
    ValidateCaret();
    int n = GetChildCount();
    switch (code) {
    case FKEY_HOME: {
        if (n == 0)
            return false;
        if (m_hasSelection && !m_pActiveChild) {
            SetCaretGap(m_selStart);
            CaretToStart();
            return true;
        }
        bool structure = m_pActiveChild && !m_pActiveChild->IsText();
        if (structure && m_pActiveChild->HandleKey(code))
            return true;
        if (m_caretIndex != 0) {
            CaretToStart();
            return true;
        }
        if (structure) {
            SetCaretGap(0);
            return true;
        }
        return m_pActiveChild ? m_pActiveChild->HandleKey(code) : false;
    }
    case FKEY_END: {
        if (n == 0)
            return false;
        if (m_hasSelection && !m_pActiveChild) {
            SetCaretGap(n);
            return true;
        }
        if (!m_pActiveChild) {
            if (m_caretIndex >= n)
                return false;
            CaretToEnd();
            return true;
        }
        if (!m_pActiveChild->IsText()) {
            if (!m_pActiveChild->HandleKey(code))
                SetCaretGap(n);
            return true;
        }
        if (m_caretIndex == n - 1)
            return m_pActiveChild->HandleKey(code);
        CaretToEnd();
        return true;
    }
    case FKEY_DELETE:
    case FKEY_BACK: {
        bool del = code == FKEY_DELETE;
        if (m_hasSelection && !m_pActiveChild) {
            delete CutSelection();
            return true;
        }
        int gap;
        if (m_pActiveChild) {
            int i = m_caretIndex;
            CNode* c = m_pActiveChild;
            if (c->HandleKey(code)) {
                if (c->IsText() && c->m_text.IsEmpty())
                    RemoveEmptyRun(i);
                return true;
            }
            if (!c->IsText()) {
                SelectStructure(i); // a second press removes it
                return true;
            }
            gap = del ? i + 1 : i;
            SetCaretGap(gap);
        } else {
            gap = m_caretIndex;
        }
        int k = del ? gap : gap - 1; // the neighbour the key acts on
        if (k < 0 || k >= n)
            return false;
        CNode* c = GetChild(k);
        if (!c->IsText()) {
            SelectStructure(k);
            return true;
        }
        if (c->m_text.IsEmpty()) {
            RemoveEmptyRun(k);
            return true;
        }
        SetActiveChild(k);
        if (del)
            c->CaretToStart();
        else
            c->CaretToEnd();
        c->HandleKey(code);
        if (c->m_text.IsEmpty())
            RemoveEmptyRun(k);
        return true;
    }
    case FKEY_LEFT:
        return MoveLeft();
    case FKEY_RIGHT:
        return MoveRight();
    case FKEY_UP:
    case FKEY_DOWN: {
        if (m_hasSelection && !m_pActiveChild && n > 0) {
            bool up = code == FKEY_UP;
            int k = up ? std::clamp(m_selStart, 0, n - 1) : std::clamp(m_selEnd - 1, 0, n - 1);
            if (CTextNode* run = TextAt(k)) {
                SetActiveChild(k);
                if (run->m_hasSelection)
                    run->HandleKey(code);
                else if (up)
                    run->CaretToStart();
                else
                    run->CaretToEnd();
            } else {
                SetCaretGap(up ? k : k + 1);
            }
            return true;
        }
        return m_pActiveChild ? m_pActiveChild->HandleKey(code) : false;
    }
    case FKEY_ENTER:
        return m_pActiveChild ? m_pActiveChild->HandleKey(code) : false;
    default:
        return false;
    }
}

void CRowNode::InsertText(const CString& text) {
    ValidateCaret();
    int n = GetChildCount();
    if (n == 0) {
        CTextNode* run = new CTextNode();
        AppendChild(run);
        HxInheritFontInto(this, run);
        SetActiveChild(0);
        run->InsertText(text);
        return;
    }
    if (m_pActiveChild) {
        m_pActiveChild->InsertText(text);
        return;
    }
    int g = m_hasSelection ? std::clamp(m_selStart, 0, n) : m_caretIndex;
    if (CTextNode* before = TextAt(g - 1)) {
        SetActiveChild(g - 1);
        before->CaretToEnd();
        before->InsertText(text);
    } else if (CTextNode* after = TextAt(g)) {
        SetActiveChild(g);
        after->CaretToStart();
        after->InsertText(text);
    } else {
        CTextNode* run = new CTextNode();
        run->CopyFontSettings(GetChild(g > 0 ? g - 1 : g));
        InsertChildAt(g, run);
        SetActiveChild(g);
        run->InsertText(text);
    }
}

int CRowNode::SplitActiveRun() {
    int i = m_caretIndex;
    CTextNode* run = TextAt(i);
    if (!run)
        return m_caretIndex;
    int gap;
    if (run->m_text.IsEmpty()) {
        RemoveChild(i);
        gap = i;
    } else {
        CNode* tail = run->SplitAtCaret(this);
        if (run->m_text.IsEmpty()) {
            RemoveChild(i);
            InsertChildAt(i, tail);
            gap = i;
        } else if (tail->m_text.IsEmpty()) {
            delete tail;
            gap = i + 1;
        } else {
            InsertChildAt(i + 1, tail);
            gap = i + 1;
        }
    }
    SetCaretGap(gap);
    return gap;
}

// The structure of an insert code, with `content` in the slot the code names.
static CNode* BuildStructure(int code, CNode* content, const int* dims, CNode* parent) {
    static const char16_t kFences[6][2] = {
        {SYM_PAREN_L, SYM_PAREN_R}, {SYM_BRACKET_L, SYM_BRACKET_R},
        {SYM_BRACE_L, SYM_BRACE_R}, {SYM_BAR, SYM_BAR},
        {SYM_BRACE_L, u' '},        {u' ', SYM_BRACE_R},
    };
    switch (code) {
    case 1:
        if (content && content->IsText())
            return content;
        delete content;
        return new CTextNode();
    case 2:
        return new CDivisionNode(parent, content);
    case 3:
        return new CSqrtNode(parent, content);
    case 4:
        return new CNthRootNode(parent, content, 0);
    case 5:
        return new CSupNode(parent, content);
    case 6:
        return new CSubNode(parent, content);
    case 7: {
        CStandardNode* node = new CStandardNode(parent, 0, content);
        node->InsertChild(new CSupbNode(node), 1);
        if (content)
            node->SetActiveSlot(1);
        return node;
    }
    case 8:
    case 9:
    case 10:
        return new CVectorNode(parent, content, code - 8);
    case 11:
    case 12:
    case 13: {
        // The operand takes the content; the caret then goes to the operator's limits.
        CStandardNode* node = new CStandardNode(parent, 1, content);
        CNode* op = code == 13 ? static_cast<CNode*>(new CIntegralNode(node))
                               : new CSumNode(node, code == 11 ? SYM_SUM : SYM_PRODUCT);
        node->InsertChild(op, 0);
        if (content)
            node->SetActiveSlot(0);
        return node;
    }
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
        return new CBraceNode(parent, content, CString(kFences[code - 14], 2));
    case 20: {
        int rows = dims ? std::clamp(dims[0], 1, 64) : 2;
        int columns = dims ? std::clamp(dims[1], 1, 64) : 2;
        return new CMatrixNode(parent, rows, columns, content);
    }
    default:
        delete content;
        return nullptr;
    }
}

void CRowNode::InsertStructure(int code, CNode* node, const int* dims) {
    if (code < 1 || code > 20) {
        delete node;
        return;
    }
    ValidateCaret();
    CNode* content = node;
    if (m_pActiveChild && !m_pActiveChild->IsText()) {
        m_pActiveChild->InsertStructure(code, node, dims);
        return;
    }
    int gap;
    if (CTextNode* run = m_pActiveChild ? TextAt(m_caretIndex) : nullptr) {
        if (!content) {
            CNode* piece = run->CutSelection();
            if (piece)
                piece->CopyFontSettings(run); // the selected characters keep their look
            content = piece;
        }
        gap = SplitActiveRun();
    } else {
        if (!content && m_hasSelection)
            content = CutSelection();
        gap = m_hasSelection ? m_selStart : m_caretIndex;
        SetCaretGap(gap);
        gap = m_caretIndex;
    }
    int n = GetChildCount();
    CNode* neighbour = gap > 0 ? GetChild(gap - 1) : (n > 0 ? GetChild(0) : nullptr);
    CNode* created = BuildStructure(code, content, dims, this);
    if (!created)
        return;
    InsertChildAt(gap, created);
    SetActiveChild(gap);
    if (neighbour) {
        created->CopyFontSettings(neighbour);
        created->InheritFont();
    } else {
        InheritFont();
    }
}

BOOL CRowNode::InsertNodeAtCaret(CNode* node) {
    ValidateCaret();
    if (m_pActiveChild && !m_pActiveChild->IsText())
        return m_pActiveChild->InsertNodeAtCaret(node);
    if (!node || !node->IsRow())
        return FALSE;
    if (!m_pActiveChild && m_hasSelection)
        return FALSE;
    int gap = m_pActiveChild ? SplitActiveRun() : m_caretIndex;
    CRowNode* pasted = static_cast<CRowNode*>(node);
    while (pasted->GetChildCount() > 0)
        InsertChildAt(gap++, pasted->DetachChild(0));
    delete pasted;
    SetCaretGap(gap);
    InheritFont();
    return TRUE;
}

CNode* CRowNode::SplitAtCaret(CNode* newParent) {
    ValidateCaret();
    if (m_hasSelection && !m_pActiveChild)
        delete CutSelection();
    CRowNode* tailRow = new CRowNode();
    tailRow->m_pParent = newParent;
    int n = GetChildCount();
    if (n == 0)
        return tailRow;
    if (m_pActiveChild && !m_pActiveChild->IsText()) {
        delete tailRow;
        return nullptr;
    }
    int from = m_caretIndex;
    if (CTextNode* run = m_pActiveChild ? TextAt(m_caretIndex) : nullptr) {
        int i = m_caretIndex;
        delete run->CutSelection();
        CNode* tail = run->SplitAtCaret(tailRow);
        if (tail->m_text.IsEmpty())
            delete tail;
        else
            tailRow->AppendChild(tail);
        if (run->m_text.IsEmpty()) {
            RemoveChild(i);
            from = i;
        } else {
            from = i + 1;
        }
    }
    while (GetChildCount() > from)
        tailRow->AppendChild(DetachChild(from));
    SetCaretGap(GetChildCount());
    tailRow->CaretToStart();
    return tailRow;
}

BOOL CRowNode::NormalizeTree() {
    BOOL changed = FALSE;
    int i = 0;
    while (i < GetChildCount()) {
        CNode* c = GetChild(i);
        if (!c->IsRow()) {
            ++i;
            continue;
        }
        // A row inside a row gives its children to this row.
        CRowNode* inner = static_cast<CRowNode*>(DetachChild(i));
        int k = i;
        while (inner->GetChildCount() > 0)
            InsertChildAt(k++, inner->DetachChild(0));
        delete inner;
        changed = TRUE;
    }
    for (int k = 0; k < GetChildCount(); ++k)
        if (GetChild(k)->NormalizeTree())
            changed = TRUE;
    ValidateCaret();
    return changed;
}
