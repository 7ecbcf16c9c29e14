// CTextNode: measuring by character, hit testing, character editing, cutting and splitting runs,
// and the run's markup.
#include "formula/text_node.h"

#include "platform/dc.h"

IMPLEMENT_DYNAMIC(CTextNode, CNode)

// An empty run shows this in place of its text.
static const char16_t kPlaceholder[] = u"?";

CTextNode::CTextNode() {
    m_tag = CString(u'e');
    m_kind = NK_TEXT;
}

CTextNode::CTextNode(const CString& text) : CTextNode() {
    m_text = text;
    m_caretIndex = text.GetLength();
}

int CTextNode::SumWidths(int from, int to) const {
    int sum = 0;
    from = std::max(from, 0);
    to = std::min(to, m_widths.GetSize());
    for (int i = from; i < to; ++i)
        sum += m_widths[i];
    return sum;
}

void CTextNode::MeasureText(CDC* dc) {
    m_widths.RemoveAll();
    CSize whole;
    if (m_text.IsEmpty()) {
        whole = dc->GetTextExtent(kPlaceholder);
        m_widths.Add(whole.cx);
    } else {
        // The run is as wide as the whole text; each character is also measured alone for hit
        // tests, caret placement and selection bands.
        whole = dc->GetTextExtent(m_text);
        for (int i = 0; i < m_text.GetLength(); ++i)
            m_widths.Add(dc->GetTextExtent(CString(m_text[i])).cx);
    }
    m_content = CRect(0, 0, whole.cx, whole.cy);
    m_box = m_content;
    m_baseline = whole.cy / 2;
}

void CTextNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    MeasureText(dc);
}

void CTextNode::Offset(int x, int y) {
    m_rect = m_box;
    m_rect.OffsetRect(x, y);
    m_contentRect = m_content;
    m_contentRect.OffsetRect(m_rect.left, m_rect.top);
}

void CTextNode::DrawContent(CDC* dc) {
    dc->TextOut(m_contentRect.left, m_contentRect.top, m_text.IsEmpty() ? CString(kPlaceholder) : m_text);
}

void CTextNode::Draw(CDC* dc) {
    CNodeDCScope scope(dc, this);
    DrawContent(dc);
}

void CTextNode::DrawSelection(CDC* dc) {
    int mask = m_fontSet;
    m_fontSet = FONTBIT_ALL; // the run's own font, whatever its container selected
    {
        CNodeDCScope scope(dc, this, true);
        if (m_text.IsEmpty()) {
            dc->TextOut(m_contentRect.left, m_contentRect.top, kPlaceholder);
        } else if (m_hasSelection) {
            int s = std::clamp(m_selStart, 0, GetLength());
            int e = std::clamp(m_selEnd, s, GetLength());
            dc->TextOut(m_rect.left + SumWidths(0, s), m_contentRect.top, m_text.Mid(s, e - s));
        }
    }
    m_fontSet = mask;
}

void CTextNode::GetMarkup(CString& out, bool selectionOnly) {
    CString text;
    CString attrs;
    if (selectionOnly) {
        if (!m_hasSelection)
            return;
        int s = std::clamp(m_selStart, 0, GetLength());
        int e = std::clamp(m_selEnd, s, GetLength());
        text = m_text.Mid(s, e - s);
        // A copied piece carries its whole look, wherever it is pasted.
        int mask = m_fontSet;
        m_fontSet = FONTBIT_ALL;
        WriteAttributes(attrs);
        m_fontSet = mask;
    } else {
        text = m_text;
        WriteAttributes(attrs);
    }
    // A reader ends a run's text at the first "</", so a run holding "</" is written as several
    // runs: each such "<" alone (read back whole because it starts the run) and the pieces around.
    std::vector<CString> pieces;
    const std::u16string& t = text.Str();
    size_t start = 0;
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] == u'<' && t[i + 1] == u'/') {
            if (i > start)
                pieces.push_back(CString(std::u16string_view(t).substr(start, i - start)));
            pieces.push_back(CString(u"<"));
            start = i + 1;
        }
    }
    if (start < t.size() || pieces.empty())
        pieces.push_back(CString(std::u16string_view(t).substr(start)));
    for (const CString& piece : pieces) {
        out += u"<e";
        out += attrs;
        out += piece;
        out += u"</e>";
    }
}

void CTextNode::GetText(CString& out, bool selectionOnly) {
    if (!selectionOnly) {
        out += m_text;
        return;
    }
    if (!m_hasSelection)
        return;
    int s = std::clamp(m_selStart, 0, GetLength());
    int e = std::clamp(m_selEnd, s, GetLength());
    out += m_text.Mid(s, e - s);
}

int CTextNode::CharIndexFromX(int x) const {
    int left = m_rect.left;
    for (int i = 0; i < GetLength(); ++i) {
        int w = i < m_widths.GetSize() ? m_widths[i] : 0;
        if (x < left + w / 2)
            return i;
        left += w;
    }
    return GetLength();
}

CPoint CTextNode::GetCaretPoint() {
    int caret = std::clamp(m_caretIndex, 0, GetLength());
    m_ptCaret = CPoint(m_rect.left + SumWidths(0, caret), m_rect.top);
    return m_ptCaret;
}

BOOL CTextNode::SetCaretFromPoint(int x, int y) {
    m_ptLast = CPoint(x, y);
    m_caretIndex = m_anchorIndex = CharIndexFromX(x);
    m_hasSelection = 0;
    GetCaretPoint();
    return TRUE;
}

void CTextNode::CaretToStart() {
    m_caretIndex = 0;
    m_hasSelection = 0;
}

void CTextNode::CaretToEnd() {
    m_caretIndex = GetLength();
    m_hasSelection = 0;
}

bool CTextNode::IsWholeSelected() {
    return m_hasSelection && m_selStart <= 0 && m_selEnd >= GetLength();
}

int CTextNode::SelectAll() {
    m_selStart = 0;
    m_selEnd = GetLength();
    m_hasSelection = 1;
    return GetLength();
}

void CTextNode::AddSelectionRegion(CPoint*, CPoint*, CPoint*, CPoint*, CRgn* region, COLORREF* color,
                                   LOGFONT* font, int* mode) {
    if (m_hasSelection) {
        const CRect& band = m_pParent ? m_pParent->m_rect : m_rect;
        int left, right;
        if (m_text.IsEmpty()) {
            left = m_rect.left;
            right = m_rect.right;
        } else {
            int s = std::clamp(m_selStart, 0, GetLength());
            int e = std::clamp(m_selEnd, s, GetLength());
            left = m_rect.left + SumWidths(0, s);
            right = left + SumWidths(s, e);
        }
        m_selLeft = left;
        m_selRight = right;
        if (region)
            region->UnionRect(CRect(left, band.top, right, band.bottom));
    }
    if (mode)
        *mode = m_hasSelection ? 2 : 1;
    if (color)
        *color = m_color;
    if (font)
        *font = m_font;
}

int CTextNode::ExtendSelectionToPoint(int x, int) {
    int i = CharIndexFromX(x);
    int anchor = std::clamp(m_anchorIndex, 0, GetLength());
    m_caretIndex = i;
    m_selStart = std::min(i, anchor);
    m_selEnd = std::max(i, anchor);
    if (m_selStart == m_selEnd) {
        m_hasSelection = 0;
        return FSEL_CARET;
    }
    m_hasSelection = 1;
    return m_selEnd - m_selStart == GetLength() ? FSEL_WHOLE : FSEL_PART;
}

int CTextNode::SelectToStart(int i) {
    m_selStart = 0;
    m_selEnd = i;
    m_caretIndex = 0;
    if (i == 0 && GetLength() > 0) {
        m_hasSelection = 0;
        return FSEL_CARET;
    }
    m_hasSelection = 1;
    return i == GetLength() ? FSEL_WHOLE : FSEL_PART;
}

int CTextNode::SelectToEnd(int i) {
    m_selStart = i;
    m_selEnd = GetLength();
    m_caretIndex = GetLength();
    if (i == GetLength() && GetLength() > 0) {
        m_hasSelection = 0;
        return FSEL_CARET;
    }
    m_hasSelection = 1;
    return i == 0 ? FSEL_WHOLE : FSEL_PART;
}

int CTextNode::SelectStartToPoint(int x) {
    return SelectToStart(CharIndexFromX(x));
}
int CTextNode::SelectStartToAnchor() {
    return SelectToStart(std::clamp(m_anchorIndex, 0, GetLength()));
}
int CTextNode::SelectPointToEnd(int x) {
    return SelectToEnd(CharIndexFromX(x));
}
int CTextNode::SelectAnchorToEnd() {
    return SelectToEnd(std::clamp(m_anchorIndex, 0, GetLength()));
}

bool CTextNode::CollapseSelection(bool toEnd) {
    if (!m_hasSelection)
        return false;
    m_caretIndex = std::clamp(toEnd ? m_selEnd : m_selStart, 0, GetLength());
    m_hasSelection = 0;
    return true;
}

void CTextNode::InsertText(const CString& text) {
    int caret = std::clamp(m_caretIndex, 0, GetLength());
    m_text.Str().insert(size_t(caret), text.Str());
    m_caretIndex = caret + text.GetLength();
}

bool CTextNode::HandleKey(int code) {
    int len = GetLength();
    m_caretIndex = std::clamp(m_caretIndex, 0, len);
    if (m_hasSelection) {
        int s = std::clamp(m_selStart, 0, len);
        int e = std::clamp(m_selEnd, s, len);
        switch (code) {
        case FKEY_HOME:
            m_caretIndex = 0;
            break;
        case FKEY_END:
            m_caretIndex = len;
            break;
        case FKEY_DELETE:
        case FKEY_BACK:
            delete CutSelection();
            return true;
        case FKEY_LEFT:
        case FKEY_UP:
            m_caretIndex = s;
            break;
        case FKEY_RIGHT:
        case FKEY_DOWN:
            m_caretIndex = e;
            break;
        default:
            return false;
        }
        m_hasSelection = 0;
        return true;
    }
    switch (code) {
    case FKEY_HOME:
        if (m_caretIndex == 0)
            return false;
        m_caretIndex = 0;
        return true;
    case FKEY_END:
        if (m_caretIndex == len)
            return false;
        m_caretIndex = len;
        return true;
    case FKEY_DELETE:
        if (m_caretIndex == len)
            return false;
        m_text = m_text.Left(m_caretIndex) + m_text.Mid(m_caretIndex + 1);
        return true;
    case FKEY_BACK:
        if (m_caretIndex == 0)
            return false;
        --m_caretIndex;
        m_text = m_text.Left(m_caretIndex) + m_text.Mid(m_caretIndex + 1);
        return true;
    case FKEY_LEFT:
        if (m_caretIndex == 0)
            return false;
        --m_caretIndex;
        return true;
    case FKEY_RIGHT:
        if (m_caretIndex == len)
            return false;
        ++m_caretIndex;
        return true;
    default:
        return false;
    }
}

CNode* CTextNode::CutSelection() {
    if (!m_hasSelection)
        return nullptr;
    int s = std::clamp(m_selStart, 0, GetLength());
    int e = std::clamp(m_selEnd, s, GetLength());
    CTextNode* piece = new CTextNode(m_text.Mid(s, e - s));
    m_text = m_text.Left(s) + m_text.Mid(e);
    m_caretIndex = s;
    m_hasSelection = 0;
    return piece;
}

CTextNode* CTextNode::NewPiece(const CString& text, CNode* parent) const {
    CTextNode* piece = new CTextNode(text);
    piece->CopyFontSettings(this);
    piece->m_pParent = parent;
    return piece;
}

CNode* CTextNode::SplitAtCaret(CNode* newParent) {
    int caret = std::clamp(m_caretIndex, 0, GetLength());
    CTextNode* tail = NewPiece(m_text.Mid(caret), newParent);
    m_text = m_text.Left(caret);
    m_caretIndex = caret;
    return tail;
}

int CTextNode::IsolateSelection(CNode* parent, int index, int& moved) {
    moved = 0;
    CContainerNode* row = DYNAMIC_DOWNCAST(CContainerNode, parent);
    if (IsWholeSelected() || m_text.IsEmpty() || !m_hasSelection || !row)
        return 0;
    int len = GetLength();
    int s = std::clamp(m_selStart, 0, len);
    int e = std::clamp(m_selEnd, s, len);
    if (s == e)
        return 0;
    if (s == 0) {
        row->InsertChildAt(index + 1, NewPiece(m_text.Mid(e), parent));
        m_text = m_text.Left(e);
        m_selStart = 0;
        m_selEnd = e;
        m_caretIndex = std::min(m_caretIndex, e);
        return 1;
    }
    if (e == len) {
        CTextNode* tail = NewPiece(m_text.Mid(s), parent);
        tail->SelectAll();
        row->InsertChildAt(index + 1, tail);
        m_text = m_text.Left(s);
        m_caretIndex = s;
        m_hasSelection = 0;
        moved = 1;
        return 1;
    }
    row->InsertChildAt(index + 1, NewPiece(m_text.Mid(e), parent));
    row->InsertChildAt(index, NewPiece(m_text.Left(s), parent));
    m_text = m_text.Mid(s, e - s);
    SelectAll();
    m_caretIndex = std::clamp(m_caretIndex - s, 0, e - s);
    moved = 1;
    return 2;
}

BOOL CTextNode::SaveCaretPath(CCaretPath& path) {
    if (m_hasSelection) {
        path.Add(2);
        path.Add(m_selStart);
        path.Add(2);
        path.Add(m_selEnd);
    } else {
        path.Add(3);
        path.Add(m_caretIndex);
    }
    return TRUE;
}

BOOL CTextNode::RestoreCaretPath(const CCaretPath& path, int& pos) {
    m_pActiveChild = nullptr;
    int n = path.GetSize();
    if (pos < 0 || pos >= n)
        return FALSE;
    int code = path[pos++];
    int len = GetLength();
    if (code == 2) {
        if (pos >= n)
            return FALSE;
        int s = path[pos++];
        if (pos >= n || path[pos++] == 0 || pos >= n)
            return FALSE;
        int e = path[pos++];
        m_hasSelection = 1;
        m_selStart = std::clamp(s, 0, len);
        m_selEnd = std::clamp(e, m_selStart, len);
        return TRUE;
    }
    if (code == 3) {
        if (pos >= n)
            return FALSE;
        m_caretIndex = std::clamp(path[pos++], 0, len);
        m_hasSelection = 0;
        return TRUE;
    }
    return FALSE;
}
