// CStandardNode: two slots with scaled fonts, the generic base-and-decoration layout, caret moves
// between the slots, the structure markup, and the shared Symbol font template.
#include "formula/standard_node.h"

#include "formula/box_node.h"
#include "formula/row_node.h"
#include "platform/dc.h"

IMPLEMENT_DYNAMIC(CStandardNode, CNode)

LOGFONT& HxSymbolFontTemplate() {
    static LOGFONT lf = [] {
        LOGFONT f;
        f.lfHeight = 0;
        f.lfWidth = 0;
        f.lfWeight = FW_NORMAL;
        f.lfCharSet = SYMBOL_CHARSET;
        f.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        f.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        f.lfQuality = ANTIALIASED_QUALITY;
        HxSetFaceName(f, u"Symbol");
        return f;
    }();
    return lf;
}

CNode* HxMakeSlotBox(CNode* content, CNode* parent) {
    CNode* box;
    if (content && content->IsBox()) {
        box = content;
    } else if (content && (content->IsRow() || content->IsText())) {
        box = new CBoxNode(content, parent);
    } else {
        delete content;
        box = new CBoxNode(nullptr, parent);
    }
    box->m_pParent = parent;
    return box;
}

CStandardNode::CStandardNode() {
    m_tag = CString(u'd');
    m_kind = NK_STANDARD;
}

CStandardNode::CStandardNode(CNode* parent, int selector, CNode* content) : CStandardNode() {
    m_pParent = parent;
    SetSlotsFromContent(selector, content);
}

void CStandardNode::SetSlotsFromContent(int selector, CNode* content) {
    bool given = content != nullptr;
    CNode* box = HxMakeSlotBox(content, this);
    if (selector == 1) {
        m_pSecond = box;
        SetActiveSlot(1);
    } else {
        m_pFirst = box;
        if (selector == 2) {
            m_pSecond = HxMakeSlotBox(nullptr, this);
            SetActiveSlot(given ? 1 : 0);
        } else {
            SetActiveSlot(0);
        }
    }
    if (given)
        box->CaretToEnd();
}

CStandardNode::~CStandardNode() {
    delete m_pFirst;
    delete m_pSecond;
}

void CStandardNode::SetActiveSlot(int i) {
    CNode* slot = GetSlot(i);
    m_hasSelection = 0;
    m_pActiveChild = slot;
    m_caretIndex = slot ? i : 0;
}

void CStandardNode::PlaceSlot(CNode* slot, int x, int y) {
    if (slot)
        slot->m_box.OffsetRect(x - slot->m_box.left, y - slot->m_box.top);
}

void CStandardNode::LayoutSlots(CDC* dc) {
    if (m_pFirst)
        m_pFirst->Layout(dc);
    if (m_pSecond)
        m_pSecond->Layout(dc);
}

// Base and decoration side by side on a common axis, with the node's own text between them.
void CStandardNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    MeasureText(dc);
    int w0 = m_content.Width(), h0 = m_content.Height(), m0 = h0 / 2;
    int w1 = m_pFirst ? m_pFirst->m_box.Width() : 0, h1 = m_pFirst ? m_pFirst->m_box.Height() : 0;
    int a1 = m_pFirst ? m_pFirst->m_baseline : 0;
    int w2 = m_pSecond ? m_pSecond->m_box.Width() : 0, h2 = m_pSecond ? m_pSecond->m_box.Height() : 0;
    int a2 = m_pSecond ? m_pSecond->m_baseline : 0;
    int axis = std::max({m0, a1, a2});
    PlaceSlot(m_pFirst, 0, axis - a1);
    int x = m_pFirst ? w1 + 1 : 0;
    m_content = CRect(x, axis - m0, x + w0, axis - m0 + h0);
    int x2 = x + w0 + 1;
    PlaceSlot(m_pSecond, x2, axis - a2);
    int width = m_pSecond ? x2 + 1 + w2 : x2;
    int height = axis - m0 + h0;
    if (m_pFirst)
        height = std::max(height, axis - a1 + h1);
    if (m_pSecond)
        height = std::max(height, axis - a2 + h2);
    m_box = CRect(0, 0, width, height);
    m_baseline = axis;
}

// Slots were placed relative to this node's box, so they move with its placed top-left corner.
void CStandardNode::Offset(int x, int y) {
    m_rect = m_box;
    m_rect.OffsetRect(x, y);
    m_contentRect = m_content;
    m_contentRect.OffsetRect(m_rect.left, m_rect.top);
    if (m_pFirst)
        m_pFirst->Offset(m_rect.left, m_rect.top);
    if (m_pSecond)
        m_pSecond->Offset(m_rect.left, m_rect.top);
}

void CStandardNode::Draw(CDC* dc) {
    CNodeDCScope scope(dc, this);
    DrawContent(dc);
    if (m_pFirst)
        m_pFirst->Draw(dc);
    if (m_pSecond)
        m_pSecond->Draw(dc);
}

void CStandardNode::DrawSelection(CDC* dc) {
    if (m_pActiveChild)
        m_pActiveChild->DrawSelection(dc);
}

BOOL CStandardNode::InsertChild(CNode* node, int which) {
    if (!node)
        return FALSE;
    if (!m_pFirst && (which == 0 || which == -1))
        m_pFirst = node;
    else if (!m_pSecond && (which == 1 || which == -1))
        m_pSecond = node;
    else
        return FALSE;
    node->m_pParent = this;
    return TRUE;
}

void CStandardNode::GetMarkup(CString& out, bool selectionOnly) {
    if (selectionOnly) {
        if (m_pActiveChild)
            m_pActiveChild->GetMarkup(out, true);
        return;
    }
    WriteElement(out, false);
}

void CStandardNode::WriteElement(CString& out, bool escapeAngles) {
    out += u'<';
    out += m_tag;
    WriteAttributes(out);
    if (m_pFirst)
        m_pFirst->GetMarkup(out, false);
    else
        out += u"<e></e>";
    if (m_pSecond)
        m_pSecond->GetMarkup(out, false);
    HxWriteElementText(out, m_text, escapeAngles);
    out += u"</";
    out += m_tag;
    out += u'>';
}

CString CStandardNode::SlotText(int i) const {
    CString s;
    if (CNode* slot = GetSlot(i))
        slot->GetText(s, false);
    return s;
}

void CStandardNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly) {
        if (m_pActiveChild)
            m_pActiveChild->GetText(out, true);
        return;
    }
    out += SlotText(0);
    out += SlotText(1);
}

void CStandardNode::InheritFont() {
    const float scales[2] = {m_firstScale, m_secondScale};
    for (int i = 0; i < 2; ++i) {
        CNode* slot = GetSlot(i);
        if (!slot)
            continue;
        int bits = slot->m_fontSet;
        if (!(bits & FONTBIT_FACE))
            HxSetFaceName(slot->m_font, HxGetFaceName(m_font));
        if (!(bits & FONTBIT_CHARSET))
            slot->m_font.lfCharSet = m_font.lfCharSet;
        if (!(bits & FONTBIT_BOLD))
            slot->m_font.lfWeight = m_font.lfWeight;
        if (!(bits & FONTBIT_ITALIC))
            slot->m_font.lfItalic = m_font.lfItalic;
        if (!(bits & FONTBIT_UNDERLINE))
            slot->m_font.lfUnderline = m_font.lfUnderline;
        if (!(bits & FONTBIT_SIZE)) {
            // Scripts and limits are smaller: the scaled height becomes the slot's own.
            int h = int(float(m_font.lfHeight) * scales[i]);
            slot->m_font.lfHeight = h;
            if (h != m_font.lfHeight)
                slot->m_fontSet |= FONTBIT_SIZE;
        }
        if (!slot->m_colorSet)
            slot->m_color = m_color;
        slot->InheritFont();
    }
}

void CStandardNode::SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) {
    if (selectionOnly) {
        if (m_pActiveChild)
            m_pActiveChild->SetFontAttribute(color, font, true, which);
        return;
    }
    CNode::SetFontAttribute(color, font, false, which);
    if (!font)
        return;
    const float scales[2] = {m_firstScale, m_secondScale};
    for (int i = 0; i < 2; ++i) {
        CNode* slot = GetSlot(i);
        if (!slot)
            continue;
        LOGFONT scaled = *font;
        scaled.lfHeight = int(float(font->lfHeight) * scales[i]);
        slot->SetFontAttribute(color, &scaled, false, which);
    }
}

BOOL CStandardNode::SetCaretFromPoint(int x, int y) {
    m_ptLast = CPoint(x, y);
    m_hasSelection = 0;
    for (int i = 0; i < 2; ++i) {
        CNode* slot = GetSlot(i);
        if (slot && slot->m_rect.PtInRect(CPoint(x, y))) {
            m_caretIndex = m_anchorIndex = i;
            m_pActiveChild = m_pAnchorChild = slot;
            return slot->SetCaretFromPoint(x, y);
        }
    }
    m_pAnchorChild = nullptr;
    m_anchorIndex = 0;
    return FALSE;
}

int CStandardNode::ExtendSelectionToPoint(int x, int y) {
    m_hasSelection = 0;
    int found = -1;
    for (int i = 0; i < 2; ++i)
        if (GetSlot(i) && GetSlot(i)->m_rect.PtInRect(CPoint(x, y)))
            found = i;
    if (m_pAnchorChild && found == m_anchorIndex && GetSlot(found) == m_pAnchorChild)
        return m_pAnchorChild->ExtendSelectionToPoint(x, y);
    if (m_pAnchorChild)
        m_pAnchorChild->m_hasSelection = 0;
    return FSEL_NONE;
}

void CStandardNode::CaretToStart() {
    m_hasSelection = 0;
    int i = m_pFirst ? 0 : 1;
    if (CNode* slot = GetSlot(i)) {
        SetActiveSlot(i);
        slot->CaretToStart();
    }
}

void CStandardNode::CaretToEnd() {
    m_hasSelection = 0;
    int i = m_pFirst ? 0 : 1;
    if (CNode* slot = GetSlot(i)) {
        SetActiveSlot(i);
        slot->CaretToEnd();
    }
}

void CStandardNode::AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop,
                                       CPoint* caretBottom, CRgn* region, COLORREF* color, LOGFONT* font,
                                       int* mode) {
    if (m_pActiveChild)
        m_pActiveChild->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font,
                                           mode);
}

void CStandardNode::InsertText(const CString& text) {
    if (m_pActiveChild)
        m_pActiveChild->InsertText(text);
}

bool CStandardNode::HandleKey(int code) {
    if (code == FKEY_UP || code == FKEY_DOWN) {
        if (m_pActiveChild && m_pActiveChild->HandleKey(code))
            return true;
        bool up = code == FKEY_UP;
        int from = up ? 1 : 0, to = up ? 0 : 1;
        CNode* target = GetSlot(to);
        if (!m_pActiveChild || m_caretIndex != from || !target)
            return false;
        // The caret keeps its x in the other slot.
        int x = m_pActiveChild->m_selLeft;
        SetActiveSlot(to);
        target->SetCaretFromPoint(x, up ? target->m_rect.bottom - 4 : target->m_rect.top - 4);
        return true;
    }
    return m_pActiveChild ? m_pActiveChild->HandleKey(code) : false;
}

BOOL CStandardNode::SaveCaretPath(CCaretPath& path) {
    if (!m_pActiveChild)
        return FALSE;
    path.Add(1);
    path.Add(m_caretIndex);
    return m_pActiveChild->SaveCaretPath(path);
}

BOOL CStandardNode::RestoreCaretPath(const CCaretPath& path, int& pos) {
    if (pos < 0 || pos + 1 >= path.GetSize())
        return FALSE;
    if (path[pos] != 1)
        return FALSE;
    int index = path[pos + 1];
    CNode* slot = GetSlot(index);
    if (!slot)
        return FALSE;
    pos += 2;
    SetActiveSlot(index);
    return slot->RestoreCaretPath(path, pos);
}

BOOL CStandardNode::NormalizeTree() {
    BOOL changed = FALSE;
    CNode** slots[2] = {&m_pFirst, &m_pSecond};
    for (CNode** slot : slots) {
        CNode* content = *slot;
        if (!content)
            continue;
        int k = content->m_kind;
        // Operators and the sub/superscript pair stand in a slot as they are.
        if (!content->IsBox() && k != NK_SUPB && k != NK_INTEGRAL && k != NK_SUM && k != NK_LIM) {
            CBoxNode* box = new CBoxNode();
            box->m_pParent = this;
            box->AppendChild(content);
            if (m_pActiveChild == content)
                m_pActiveChild = box;
            if (m_pAnchorChild == content)
                m_pAnchorChild = box;
            *slot = box;
            changed = TRUE;
        }
        if ((*slot)->NormalizeTree())
            changed = TRUE;
    }
    return changed;
}

CNode* CStandardNode::GetFirstChild() {
    if (m_pFirst)
        return m_pFirst;
    if (m_pSecond)
        return m_pSecond;
    return this;
}
