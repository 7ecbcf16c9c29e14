// CNode and CContainerNode: font attributes, the attribute writer, the drawing scope and the
// behaviour every container shares.
#include "formula/node.h"

#include "platform/dc.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CNode, CObject)
IMPLEMENT_DYNAMIC(CContainerNode, CNode)

LOGFONT HxDefaultNodeFont() {
    LOGFONT lf;
    lf.lfHeight = 21;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = ANTIALIASED_QUALITY;
    HxSetFaceName(lf, u"Times New Roman");
    return lf;
}

CNode::CNode() : m_font(HxDefaultNodeFont()) {}

CNode::~CNode() = default;

int CNode::PenWidth() const {
    return int(std::labs(long(m_font.lfHeight)) / 32 + 1);
}

void CNode::MeasureText(CDC* dc) {
    if (m_text.IsEmpty()) {
        m_content = CRect(0, 0, 0, 0);
        return;
    }
    CSize ext = dc->GetTextExtent(m_text);
    m_content = CRect(0, 0, ext.cx, ext.cy);
}

void CNode::DrawContent(CDC* dc) {
    dc->TextOut(m_contentRect.left, m_contentRect.top, m_text);
}

CNode* CNode::GetSelectedStructure() {
    return m_pActiveChild ? m_pActiveChild->GetSelectedStructure() : nullptr;
}

void CNode::AddSelectionRegion(CPoint*, CPoint*, CPoint*, CPoint*, CRgn*, COLORREF*, LOGFONT*, int*) {}

bool CNode::CollapseSelection(bool toEnd) {
    return m_pActiveChild ? m_pActiveChild->CollapseSelection(toEnd) : true;
}

void CNode::InsertStructure(int code, CNode* node, const int* dims) {
    if (m_pActiveChild)
        m_pActiveChild->InsertStructure(code, node, dims);
    else
        delete node;
}

BOOL CNode::InsertNodeAtCaret(CNode* node) {
    return m_pActiveChild ? m_pActiveChild->InsertNodeAtCaret(node) : FALSE;
}

bool CNode::HandleKey(int code) {
    return m_pActiveChild ? m_pActiveChild->HandleKey(code) : false;
}

CNode* CNode::CutSelection() {
    return m_pActiveChild ? m_pActiveChild->CutSelection() : nullptr;
}

// Each field applied takes the given value; its explicit bit records whether it now differs from
// the parent.  The root has no parent to differ from and is left alone.
void CNode::SetFontAttribute(COLORREF color, const LOGFONT* font, bool, int which) {
    if (!m_pParent || !font)
        return;
    const CNode* p = m_pParent;
    auto setBit = [this](int bit, bool differs) {
        if (differs)
            m_fontSet |= bit;
        else
            m_fontSet &= ~bit;
    };
    bool all = which == FONTATTR_ALL;
    if (all || which == FONTATTR_FACE) {
        HxSetFaceName(m_font, HxGetFaceName(*font));
        m_font.lfCharSet = font->lfCharSet;
        setBit(FONTBIT_FACE, HxGetFaceName(m_font) != HxGetFaceName(p->m_font));
        setBit(FONTBIT_CHARSET, m_font.lfCharSet != p->m_font.lfCharSet);
    }
    if (all || which == FONTATTR_SIZE) {
        m_font.lfHeight = font->lfHeight;
        setBit(FONTBIT_SIZE, m_font.lfHeight != p->m_font.lfHeight);
    }
    if (all || which == FONTATTR_BOLD) {
        m_font.lfWeight = font->lfWeight;
        setBit(FONTBIT_BOLD, m_font.lfWeight != p->m_font.lfWeight);
    }
    if (all || which == FONTATTR_ITALIC) {
        m_font.lfItalic = font->lfItalic;
        setBit(FONTBIT_ITALIC, m_font.lfItalic != p->m_font.lfItalic);
    }
    if (all || which == FONTATTR_UNDERLINE) {
        m_font.lfUnderline = font->lfUnderline;
        setBit(FONTBIT_UNDERLINE, m_font.lfUnderline != p->m_font.lfUnderline);
    }
    if (all || which == FONTATTR_COLOR) {
        m_color = color;
        m_colorSet = m_color != p->m_color;
    }
}

void CNode::WriteAttributes(CString& out) const {
    bool any = false;
    auto sep = [&]() {
        out += any ? u',' : u':';
        any = true;
    };
    if (m_fontSet & FONTBIT_FACE) {
        sep();
        out.AppendFormat(u"name=%s", HxGetFaceName(m_font));
    }
    if (m_fontSet & FONTBIT_CHARSET) {
        sep();
        out.AppendFormat(u"cset=%d", int(m_font.lfCharSet));
    }
    if (m_fontSet & FONTBIT_SIZE) {
        sep();
        out.AppendFormat(u"size=%d", int(m_font.lfHeight));
    }
    if (m_fontSet & FONTBIT_BOLD) {
        sep();
        out.AppendFormat(u"b=%d", m_font.lfWeight >= FW_BOLD ? 1 : 0);
    }
    if (m_fontSet & FONTBIT_ITALIC) {
        sep();
        out.AppendFormat(u"i=%d", m_font.lfItalic ? 1 : 0);
    }
    if (m_fontSet & FONTBIT_UNDERLINE) {
        sep();
        out.AppendFormat(u"u=%d", m_font.lfUnderline ? 1 : 0);
    }
    if (m_colorSet) {
        sep();
        out.AppendFormat(u"color=%x", unsigned(m_color));
    }
    if (m_type != 0) {
        sep();
        out.AppendFormat(u"type=%d", m_type);
    }
    out += u'>';
}

void HxWriteElementText(CString& out, const CString& text, bool escapeAngles) {
    if (text.IsEmpty())
        return;
    auto has = [&text](const char16_t* what) { return text.Find(what) >= 0; };
    bool angles = has(u"<") || has(u">");
    // Read as pending text up to the next "</"; a text starting with "<" would be read as a tag.
    bool plainOk = text[0] != u'<' && !has(u"</");
    // Read as an element name up to ":" or ">"; "&" and "%" come back as "<" and ">".
    bool escapeOk = angles && !has(u":") && !has(u"&") && !has(u"%") && text[0] != u'/';
    auto escaped = [](CString t) {
        t.Replace(u'<', u'&');
        t.Replace(u'>', u'%');
        return u"<" + t + u">";
    };
    if (escapeOk && (escapeAngles || !plainOk)) {
        out += escaped(text);
    } else if (plainOk) {
        out += text;
    } else {
        CString t = text;
        t.Remove(u':');
        t.Remove(u'&');
        t.Remove(u'%');
        t.TrimLeft(u'/');
        if (!t.IsEmpty())
            out += escaped(t);
    }
}

void CNode::CopyFontSettings(const CNode* from) {
    if (!from)
        return;
    HxSetFaceName(m_font, HxGetFaceName(from->m_font));
    m_font.lfCharSet = from->m_font.lfCharSet;
    m_font.lfHeight = from->m_font.lfHeight;
    m_font.lfWeight = from->m_font.lfWeight;
    m_font.lfItalic = from->m_font.lfItalic;
    m_font.lfUnderline = from->m_font.lfUnderline;
    m_color = from->m_color;
    m_fontSet = from->m_fontSet;
    m_colorSet = from->m_colorSet;
}

CNodeDCScope::CNodeDCScope(CDC* dc, const CNode* node, bool forceFont) : m_dc(dc) {
    if (node->m_colorSet || node->m_fontSet) {
        m_penSet = true;
        m_oldPen = dc->SelectPen(HxPen{PS_SOLID, node->PenWidth(), node->m_color});
        m_oldColor = dc->SetTextColor(node->m_color);
    }
    if (node->m_fontSet || forceFont) {
        m_fontSet = true;
        m_oldFont = dc->SelectFont(node->m_font);
    }
}

CNodeDCScope::~CNodeDCScope() {
    if (m_fontSet)
        m_dc->SelectFont(m_oldFont);
    if (m_penSet) {
        m_dc->SetTextColor(m_oldColor);
        m_dc->SelectPen(m_oldPen);
    }
}

// ---------------------------------------------------------------------------------------------
// CContainerNode

CContainerNode::CContainerNode() {
    m_tag = CString(u'o');
    m_kind = NK_CONTAINER;
}

CContainerNode::~CContainerNode() {
    for (int i = 0; i < m_children.GetSize(); ++i)
        delete m_children.GetAt(i);
    m_children.RemoveAll();
}

int CContainerNode::IndexOfChild(const CNode* node) const {
    if (!node)
        return -1;
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (m_children.GetAt(i) == node)
            return i;
    return -1;
}

void CContainerNode::InsertChildAt(int index, CNode* node) {
    if (!node)
        return;
    index = std::clamp(index, 0, GetChildCount());
    m_children.InsertAt(index, node);
    node->m_pParent = this;
}

CNode* CContainerNode::DetachChild(int index) {
    CNode* node = GetChild(index);
    if (!node)
        return nullptr;
    m_children.RemoveAt(index);
    if (m_pActiveChild == node)
        m_pActiveChild = nullptr;
    if (m_pAnchorChild == node)
        m_pAnchorChild = nullptr;
    return node;
}

void CContainerNode::RemoveChild(int index) {
    delete DetachChild(index);
}

void CContainerNode::SetActiveChild(int index) {
    m_hasSelection = 0;
    m_pActiveChild = GetChild(index);
    m_caretIndex = m_pActiveChild ? index : std::clamp(index, 0, GetChildCount());
}

void CContainerNode::SetCaretGap(int gap) {
    m_hasSelection = 0;
    m_pActiveChild = nullptr;
    m_caretIndex = std::clamp(gap, 0, GetChildCount());
}

void CContainerNode::ValidateCaret() {
    int n = GetChildCount();
    if (m_pActiveChild) {
        int i = IndexOfChild(m_pActiveChild);
        if (i < 0) {
            m_pActiveChild = nullptr;
            m_caretIndex = 0;
        } else {
            m_caretIndex = i;
        }
    }
    m_caretIndex = std::clamp(m_caretIndex, 0, n);
    if (m_pAnchorChild) {
        int i = IndexOfChild(m_pAnchorChild);
        if (i < 0)
            m_pAnchorChild = nullptr;
        else
            m_anchorIndex = i;
    }
    m_anchorIndex = std::clamp(m_anchorIndex, 0, n);
    if (m_hasSelection) {
        m_selStart = std::clamp(m_selStart, 0, n);
        m_selEnd = std::clamp(m_selEnd, m_selStart, n);
    }
}

void CContainerNode::Offset(int x, int y) {
    m_rect = m_box;
    m_rect.OffsetRect(x, y);
    m_contentRect = m_content;
    m_contentRect.OffsetRect(m_rect.left, m_rect.top);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->Offset(m_rect.left, m_rect.top);
}

void CContainerNode::Draw(CDC* dc) {
    CNodeDCScope scope(dc, this);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->Draw(dc);
}

void CContainerNode::DrawSelection(CDC* dc) {
    if (m_pActiveChild)
        m_pActiveChild->DrawSelection(dc);
}

BOOL CContainerNode::InsertChild(CNode* node, int index) {
    if (!node)
        return FALSE;
    if (index != -1 && index >= 0 && index < GetChildCount()) {
        if (m_children.GetAt(index) != nullptr)
            return FALSE;
        m_children.SetAt(index, node);
    } else {
        m_children.Add(node);
    }
    node->m_pParent = this;
    return TRUE;
}

void CContainerNode::AppendChild(CNode* node) {
    if (!node)
        return;
    m_children.Add(node);
    node->m_pParent = this;
}

CNode* CContainerNode::GetFirstChild() {
    return GetChildCount() > 0 ? GetChild(0) : this;
}

void CContainerNode::GetMarkup(CString& out, bool selectionOnly) {
    if (selectionOnly) {
        if (m_pActiveChild)
            m_pActiveChild->GetMarkup(out, true);
        return;
    }
    out += u'<';
    out += m_tag;
    WriteAttributes(out);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->GetMarkup(out, false);
    HxWriteElementText(out, m_text, false);
    out += u"</";
    out += m_tag;
    out += u'>';
}

void CContainerNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly) {
        if (m_pActiveChild)
            m_pActiveChild->GetText(out, true);
        return;
    }
    for (int i = 0; i < GetChildCount(); ++i) {
        GetChild(i)->GetText(out, false);
        out += u',';
    }
}

// Copies into `child` every font field whose explicit bit is clear, and the colour when it is not
// explicit.
void HxInheritFontInto(const CNode* from, CNode* child) {
    int bits = child->m_fontSet;
    if (!(bits & FONTBIT_FACE))
        HxSetFaceName(child->m_font, HxGetFaceName(from->m_font));
    if (!(bits & FONTBIT_CHARSET))
        child->m_font.lfCharSet = from->m_font.lfCharSet;
    if (!(bits & FONTBIT_SIZE))
        child->m_font.lfHeight = from->m_font.lfHeight;
    if (!(bits & FONTBIT_BOLD))
        child->m_font.lfWeight = from->m_font.lfWeight;
    if (!(bits & FONTBIT_ITALIC))
        child->m_font.lfItalic = from->m_font.lfItalic;
    if (!(bits & FONTBIT_UNDERLINE))
        child->m_font.lfUnderline = from->m_font.lfUnderline;
    if (!child->m_colorSet)
        child->m_color = from->m_color;
}

void CContainerNode::InheritFont() {
    for (int i = 0; i < GetChildCount(); ++i) {
        CNode* child = GetChild(i);
        HxInheritFontInto(this, child);
        child->InheritFont();
    }
}

void CContainerNode::SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) {
    if (selectionOnly && !IsWholeSelected()) {
        if (m_pActiveChild)
            m_pActiveChild->SetFontAttribute(color, font, true, which);
        return;
    }
    CNode::SetFontAttribute(color, font, false, which);
    for (int i = 0; i < GetChildCount(); ++i)
        GetChild(i)->SetFontAttribute(color, font, false, which);
}

BOOL CContainerNode::SetCaretFromPoint(int x, int y) {
    m_ptLast = CPoint(x, y);
    m_hasSelection = 0;
    for (int i = 0; i < GetChildCount(); ++i) {
        CNode* child = GetChild(i);
        if (child->m_rect.PtInRect(CPoint(x, y))) {
            m_pActiveChild = m_pAnchorChild = child;
            m_caretIndex = m_anchorIndex = i;
            return child->SetCaretFromPoint(x, y);
        }
    }
    m_pAnchorChild = nullptr;
    m_anchorIndex = 0;
    return FALSE;
}

int CContainerNode::ExtendSelectionToPoint(int x, int y) {
    m_hasSelection = 0;
    CNode* found = nullptr;
    for (int i = 0; i < GetChildCount() && !found; ++i)
        if (GetChild(i)->m_rect.PtInRect(CPoint(x, y)))
            found = GetChild(i);
    if (!m_pAnchorChild)
        return FSEL_NONE;
    if (found != m_pAnchorChild) {
        m_pAnchorChild->m_hasSelection = 0;
        return FSEL_NONE;
    }
    return m_pAnchorChild->ExtendSelectionToPoint(x, y);
}

void CContainerNode::CaretToStart() {
    m_hasSelection = 0;
    if (GetChildCount() == 0) {
        m_pActiveChild = nullptr;
        m_caretIndex = 0;
        return;
    }
    SetActiveChild(0);
    m_pActiveChild->CaretToStart();
}

void CContainerNode::CaretToEnd() {
    m_hasSelection = 0;
    if (GetChildCount() == 0) {
        m_pActiveChild = nullptr;
        m_caretIndex = 0;
        return;
    }
    SetActiveChild(GetChildCount() - 1);
    m_pActiveChild->CaretToEnd();
}

void CContainerNode::AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop,
                                        CPoint* caretBottom, CRgn* region, COLORREF* color, LOGFONT* font,
                                        int* mode) {
    if (m_pActiveChild)
        m_pActiveChild->AddSelectionRegion(lineStart, lineEnd, caretTop, caretBottom, region, color, font,
                                           mode);
}

void CContainerNode::InsertText(const CString& text) {
    if (m_pActiveChild)
        m_pActiveChild->InsertText(text);
}

BOOL CContainerNode::SaveCaretPath(CCaretPath& path) {
    if (!m_pActiveChild) {
        path.Add(0);
        return TRUE;
    }
    path.Add(1);
    path.Add(m_caretIndex);
    return m_pActiveChild->SaveCaretPath(path);
}

BOOL CContainerNode::RestoreCaretPath(const CCaretPath& path, int& pos) {
    if (pos < 0 || pos >= path.GetSize() - 1)
        return FALSE;
    int code = path[pos++];
    if (code == 0) {
        m_pActiveChild = nullptr;
        return TRUE;
    }
    if (code != 1 || pos >= path.GetSize())
        return FALSE;
    int index = path[pos++];
    if (index < 0 || index >= GetChildCount())
        return FALSE;
    SetActiveChild(index);
    return m_pActiveChild->RestoreCaretPath(path, pos);
}

bool CContainerNode::ReadSelectionPath(const CCaretPath& path, int& pos, int& s, int& e, BOOL& result) {
    result = FALSE;
    int size = path.GetSize();
    if (pos < 0 || pos >= size - 1)
        return false;
    int code = path[pos++];
    if (code == 0) {
        m_pActiveChild = nullptr;
        m_hasSelection = 0;
        result = TRUE;
        return false;
    }
    if (code == 1) {
        int index = path[pos++];
        if (index < 0 || index >= GetChildCount())
            return false;
        SetActiveChild(index);
        result = m_pActiveChild->RestoreCaretPath(path, pos);
        return false;
    }
    if (code != 2 || pos + 2 >= size)
        return false;
    s = path[pos++];
    if (path[pos++] == 0)
        return false;
    e = path[pos++];
    return true;
}

BOOL CContainerNode::NormalizeTree() {
    BOOL changed = FALSE;
    for (int i = 0; i < GetChildCount(); ++i)
        if (GetChild(i)->NormalizeTree())
            changed = TRUE;
    return changed;
}
