// The structures built on CStandardNode: their slots, scales, layout geometry, drawing and plain
// text.  Glyphs of the Symbol font are drawn through the shared Symbol font template.
#include "formula/standard_node.h"

#include "platform/dc.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CDivisionNode, CStandardNode)
IMPLEMENT_DYNAMIC(CNthRootNode, CStandardNode)
IMPLEMENT_DYNAMIC(CSqrtNode, CNthRootNode)
IMPLEMENT_DYNAMIC(CSupNode, CStandardNode)
IMPLEMENT_DYNAMIC(CSubNode, CStandardNode)
IMPLEMENT_DYNAMIC(CSupbNode, CStandardNode)
IMPLEMENT_DYNAMIC(CSumNode, CStandardNode)
IMPLEMENT_DYNAMIC(CIntegralNode, CStandardNode)
IMPLEMENT_DYNAMIC(CLimNode, CStandardNode)
IMPLEMENT_DYNAMIC(CBraceNode, CStandardNode)
IMPLEMENT_DYNAMIC(CVectorNode, CStandardNode)
IMPLEMENT_DYNAMIC(CArrowsNode, CStandardNode)

namespace {
// Width, height and axis of a laid-out slot, or the given defaults when the slot is absent.
struct SlotSize {
    int w, h, a;
};
SlotSize Measure(const CNode* slot, int w, int h, int a) {
    if (!slot)
        return {w, h, a};
    return {slot->m_box.Width(), slot->m_box.Height(), slot->m_baseline};
}

// Selects the Symbol font template with a height and width for the life of the scope.
class SymbolFontScope {
public:
    SymbolFontScope(CDC* dc, int height, int width) : m_dc(dc) {
        LOGFONT& lf = HxSymbolFontTemplate();
        lf.lfHeight = height;
        lf.lfWidth = width;
        m_old = dc->SelectFont(lf);
    }
    ~SymbolFontScope() { m_dc->SelectFont(m_old); }

private:
    CDC* m_dc;
    LOGFONT m_old;
};
} // namespace

// ---------------------------------------------------------------------------------------------
// Fraction

CDivisionNode::CDivisionNode() {
    m_tag = CString(u'f');
    m_kind = NK_DIVISION;
}

CDivisionNode::CDivisionNode(CNode* parent, CNode* content) : CDivisionNode() {
    m_pParent = parent;
    SetSlotsFromContent(2, content);
}

void CDivisionNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize n = Measure(m_pFirst, 0, 0, 0), d = Measure(m_pSecond, 0, 0, 0);
    int width = std::max({n.w, d.w, 0}) + 5;
    m_content = CRect(0, 0, width, 5);
    m_content.OffsetRect(0, n.h + 1); // the band of the fraction bar
    PlaceSlot(m_pFirst, (width - n.w) / 2, 0);
    PlaceSlot(m_pSecond, (width - d.w) / 2, n.h + 7);
    m_box = CRect(0, 0, width + 2, n.h + d.h + 8);
    m_baseline = m_content.top + 2;
}

void CDivisionNode::DrawContent(CDC* dc) {
    dc->MoveTo(m_contentRect.left, m_contentRect.top + 2);
    dc->LineTo(m_contentRect.right, m_contentRect.top + 2);
}

void CDivisionNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    out += SlotText(0) + u"/" + SlotText(1);
}

// ---------------------------------------------------------------------------------------------
// Roots

CNthRootNode::CNthRootNode() {
    m_tag = CString(u'n');
    m_kind = NK_NTHROOT;
    m_secondScale = 0.58f;
}

CNthRootNode::CNthRootNode(CNode* parent, CNode* content, int flag) : CNthRootNode() {
    m_pParent = parent;
    SetSlotsFromContent(flag == 2 ? 0 : 2, content);
}

// The width of the radical sign for a content height.
static int RadicalWidth(int height) {
    return 16 - int(float(height) * -0.1f);
}

void CNthRootNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize r = Measure(m_pFirst, 28, 37, 18), idx = Measure(m_pSecond, 0, 0, 0);
    int h = r.h + 2;
    int g = RadicalWidth(h);
    int t = int(float(h) * 0.64f);
    int k = int(g * 0.85);
    int indexX, shift;
    if (k <= idx.w) {
        indexX = 0;
        shift = idx.w - k;
    } else {
        indexX = k - idx.w;
        shift = 0;
    }
    int top, indexY;
    if (h - t >= idx.h) {
        top = 2;
        indexY = h - t - idx.h + 2;
    } else {
        indexY = 2;
        top = idx.h + t - h + 2;
    }
    PlaceSlot(m_pSecond, indexX, indexY);
    m_content = CRect(shift, top, shift + g + r.w, top + h);
    PlaceSlot(m_pFirst, g + 2 + shift, top + 2);
    m_box = CRect(0, 0, shift + g + r.w + 4, top + h);
    m_baseline = r.a + 2 + top;
}

void CNthRootNode::DrawContent(CDC* dc) {
    int hc = m_contentRect.Height();
    int g = RadicalWidth(hc);
    {
        SymbolFontScope symbol(dc, int(hc * 1.18 + 1.0), int(g * 1.16 + 1.0));
        dc->DrawText(CString(SYM_RADICAL), m_contentRect,
                     DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER);
    }
    dc->MoveTo(m_rect.right, m_contentRect.top);
    dc->LineTo(m_contentRect.left + g, m_contentRect.top);
}

void CNthRootNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    out += u" " + SlotText(1) + u"√" + SlotText(0) + u" ";
}

CSqrtNode::CSqrtNode() {
    m_tag = CString(u'r');
    m_kind = NK_SQRT;
}

CSqrtNode::CSqrtNode(CNode* parent, CNode* content) : CSqrtNode() {
    m_pParent = parent;
    SetSlotsFromContent(0, content);
}

void CSqrtNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    out += u"√" + SlotText(0) + u" ";
}

// ---------------------------------------------------------------------------------------------
// Scripts

CSupNode::CSupNode() {
    m_tag = CString(u'^');
    m_kind = NK_SUP;
    m_secondScale = 0.65f;
}

CSupNode::CSupNode(CNode* parent, CNode* content) : CSupNode() {
    m_pParent = parent;
    SetSlotsFromContent(2, content);
}

void CSupNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize b = Measure(m_pFirst, 28, 37, 18), s = Measure(m_pSecond, 20, 20, 0);
    // A base much taller than the script raises it by only a quarter of the script's height.
    int d = b.h > s.h * 1.5 ? s.h / 4 : s.h - b.h / 2;
    PlaceSlot(m_pFirst, 0, d);
    PlaceSlot(m_pSecond, b.w, 0);
    m_content = CRect();
    m_box = CRect(0, 0, b.w + s.w, b.h + d);
    m_baseline = b.a + d;
}

CSubNode::CSubNode() {
    m_tag = CString(u'_');
    m_kind = NK_SUB;
    m_secondScale = 0.65f;
}

CSubNode::CSubNode(CNode* parent, CNode* content) : CSubNode() {
    m_pParent = parent;
    SetSlotsFromContent(2, content);
}

void CSubNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize b = Measure(m_pFirst, 28, 37, 18), s = Measure(m_pSecond, 20, 20, 0);
    int d = b.h <= 2 * s.h ? b.h / 2 : b.h - s.h;
    PlaceSlot(m_pFirst, 0, 0);
    PlaceSlot(m_pSecond, b.w, d);
    m_content = CRect();
    m_box = CRect(0, 0, b.w + s.w, s.h + d);
    m_baseline = b.a;
}

CSupbNode::CSupbNode() {
    m_tag = CString(u'c');
    m_kind = NK_SUPB;
    m_firstScale = 0.65f;
    m_secondScale = 0.65f;
}

CSupbNode::CSupbNode(CNode* parent) : CSupbNode() {
    m_pParent = parent;
    SetSlotsFromContent(2, nullptr);
}

void CSupbNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize sub = Measure(m_pFirst, 28, 37, 0), sup = Measure(m_pSecond, 20, 20, 0);
    // The base is the first slot of the two-slot node that holds this pair.
    int hb = 14, ab = 7;
    if (m_pParent && m_pParent->m_kind == NK_STANDARD) {
        const CNode* base = static_cast<const CStandardNode*>(m_pParent)->m_pFirst;
        if (base && base != this) {
            hb = base->m_box.Height();
            ab = base->m_baseline;
        }
    }
    int v = hb > sup.h * 1.5 ? sup.h / 4 : sup.h - hb / 2;
    m_baseline = ab + v;
    int e = hb <= 2 * sub.h ? v + hb / 2 : v + hb - sub.h;
    PlaceSlot(m_pSecond, 0, 0);
    PlaceSlot(m_pFirst, 0, e);
    m_content = CRect();
    m_box = CRect(0, 0, std::max(sub.w, sup.w), sub.h + e);
}

// ---------------------------------------------------------------------------------------------
// Big operators and limits

CSumNode::CSumNode() {
    m_tag = CString(u's');
    m_kind = NK_SUM;
    m_text = CString(SYM_SUM);
    m_firstScale = m_secondScale = 0.58f;
}

CSumNode::CSumNode(CNode* parent, char16_t sign) : CSumNode() {
    m_pParent = parent;
    m_text = CString(sign);
    SetSlotsFromContent(2, nullptr);
}

// Limits centred above and below a sign of size (wg, hg); the sign's rectangle becomes m_content.
static void LayoutLimits(CStandardNode* node, int wg, int hg) {
    SlotSize lower = Measure(node->m_pFirst, 0, 0, 0), upper = Measure(node->m_pSecond, 0, 0, 0);
    int width = std::max({wg, lower.w, upper.w});
    if (node->m_pSecond)
        node->m_pSecond->m_box.OffsetRect((width - upper.w) / 2 - node->m_pSecond->m_box.left,
                                          -node->m_pSecond->m_box.top);
    int y = node->m_pSecond ? int(upper.h - hg * 0.16) : 0;
    int sx = (width - wg) / 2;
    node->m_content = CRect(sx, y, sx + wg, y + hg);
    int y2 = y + int(hg * 0.95);
    if (node->m_pFirst)
        node->m_pFirst->m_box.OffsetRect((width - lower.w) / 2 - node->m_pFirst->m_box.left,
                                         y2 - node->m_pFirst->m_box.top);
    node->m_box = CRect(0, 0, width, y2 + lower.h);
    node->m_baseline = y + hg / 2;
}

// A big operator's sign: the node's text in the Symbol font, a quarter higher than the node's font.
static int SignHeight(const CNode* node) {
    return int(node->m_font.lfHeight * 1.25);
}

static CSize SignExtent(CDC* dc, const CNode* node) {
    SymbolFontScope symbol(dc, SignHeight(node), 0);
    return dc->GetTextExtent(node->m_text);
}

static void DrawSign(CDC* dc, const CNode* node) {
    SymbolFontScope symbol(dc, SignHeight(node), 0);
    dc->TextOut(node->m_contentRect.left, node->m_contentRect.top, node->m_text);
}

void CSumNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    CSize sign = SignExtent(dc, this);
    LayoutLimits(this, sign.cx, sign.cy);
}

void CSumNode::DrawContent(CDC* dc) {
    DrawSign(dc, this);
}

void CSumNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    if (m_text == CString(SYM_SUM))
        out += u"∑";
    else if (m_text == CString(SYM_PRODUCT))
        out += u"∏";
    else
        out += m_text;
    out += SlotText(0) + u" ";
    out += SlotText(1) + u" ";
}

CIntegralNode::CIntegralNode() {
    m_tag = CString(u'i');
    m_kind = NK_INTEGRAL;
    m_text = CString(SYM_INTEGRAL);
    m_firstScale = m_secondScale = 0.58f;
}

CIntegralNode::CIntegralNode(CNode* parent) : CIntegralNode() {
    m_pParent = parent;
    SetSlotsFromContent(2, nullptr);
}

void CIntegralNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    CSize sign = SignExtent(dc, this);
    SlotSize lower = Measure(m_pFirst, 0, 0, 0), upper = Measure(m_pSecond, 0, 0, 0);
    int g = sign.cx + 4, hg = sign.cy;
    int d = hg > upper.h * 1.5 ? upper.h / 4 : upper.h - hg / 2;
    m_content = CRect(0, d, sign.cx, d + hg);
    m_baseline = hg / 2 + d;
    PlaceSlot(m_pSecond, g, 0);
    int e = hg > 2 * lower.h ? d + hg - lower.h : m_baseline;
    PlaceSlot(m_pFirst, g, e);
    m_box = CRect(0, 0, g + 2 + std::max(lower.w, upper.w), e + lower.h);
}

void CIntegralNode::DrawContent(CDC* dc) {
    DrawSign(dc, this);
}

void CIntegralNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    out += u"∫" + SlotText(0) + u" " + SlotText(1) + u" ";
}

CLimNode::CLimNode() {
    m_tag = CString(u't');
    m_kind = NK_LIM;
    m_text = u"lim";
    m_firstScale = m_secondScale = 0.58f;
}

void CLimNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    CSize word = m_text.IsEmpty() ? CSize() : dc->GetTextExtent(m_text);
    LayoutLimits(this, word.cx, word.cy);
}

void CLimNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    out += u"lim ";
    out += SlotText(0);
    CString above = SlotText(1);
    if (above != u" ")
        out += u" " + above + u" ";
    else
        out += above;
}

// ---------------------------------------------------------------------------------------------
// Fences

CBraceNode::CBraceNode() {
    m_tag = CString(u'b');
    m_kind = NK_BRACE;
    const char16_t pair[] = {SYM_PAREN_L, SYM_PAREN_R, 0};
    m_text = pair;
}

CBraceNode::CBraceNode(CNode* parent, CNode* content, const CString& pair) : CBraceNode() {
    m_pParent = parent;
    m_text = pair;
    SetSlotsFromContent(0, content);
}

char16_t CBraceNode::LeftFence() const {
    return m_text.GetLength() > 0 ? m_text[0] : u' ';
}
char16_t CBraceNode::RightFence() const {
    return m_text.GetLength() > 1 ? m_text[1] : u' ';
}

void CBraceNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize c = Measure(m_pFirst, 0, 37, 0);
    int f = 20;
    if (m_pFirst)
        f = int(std::labs(long(m_pFirst->m_font.lfHeight)) * 0.3 + c.h * 0.06 + 2.0);
    bool left = LeftFence() != u' ', right = RightFence() != u' ';
    int top = 0;
    if ((!left || !right) && c.h >= 71) {
        // A one-sided fence around tall content: narrower and set lower.
        top = 15;
        f = 4 * f / 5;
    }
    m_content = CRect(0, top, f, c.h - top + 4);
    int x = left ? f : 0;
    PlaceSlot(m_pFirst, x, 2);
    PlaceSlot(m_pSecond, x + c.w, 2);
    m_box = CRect(0, 0, x + c.w + (right ? f : 0), c.h + 4);
    m_baseline = c.h / 2 + 2;
}

void CBraceNode::DrawContent(CDC* dc) {
    CRect cell = m_contentRect;
    SymbolFontScope symbol(dc, int(cell.Height() * 1.34), cell.Width());
    const UINT format = DT_NOPREFIX | DT_EXTERNALLEADING | DT_NOCLIP | DT_SINGLELINE | DT_BOTTOM | DT_CENTER;
    if (LeftFence() != u' ')
        dc->DrawText(CString(LeftFence()), cell, format);
    if (RightFence() != u' ') {
        cell.OffsetRect(m_rect.Width() - cell.Width(), 0);
        dc->DrawText(CString(RightFence()), cell, format);
    }
}

void CBraceNode::GetMarkup(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetMarkup(out, true);
    // A pair holding "<" or ">" is written as an element name the reader takes for text.
    WriteElement(out, true);
}

// The fence characters and the plain characters they stand for in plain text.
static char16_t PlainFence(char16_t c) {
    static const char16_t from[] = {SYM_PAREN_L, SYM_PAREN_R, SYM_BRACKET_L, SYM_BRACKET_R, SYM_BRACE_L,
                                    SYM_BRACE_R, SYM_ANGLE_L, SYM_ANGLE_R,   SYM_BAR,       0xF020};
    static const char16_t to[] = u"()[]{}<>| ";
    for (int i = 0; i < 10; ++i)
        if (c == from[i])
            return to[i];
    return c;
}

void CBraceNode::GetText(CString& out, bool selectionOnly) {
    if (selectionOnly)
        return CStandardNode::GetText(out, true);
    for (int i = 0; i < m_text.GetLength() && i < 1; ++i)
        out += PlainFence(m_text[i]);
    out += SlotText(0);
    for (int i = 1; i < m_text.GetLength(); ++i)
        out += PlainFence(m_text[i]);
}

CString HxFencePair(int index) {
    static const char16_t lefts[6] = {SYM_PAREN_L, SYM_BRACKET_L, SYM_BRACE_L, SYM_ANGLE_L, SYM_BAR, u' '};
    static const char16_t rights[6] = {SYM_PAREN_R, SYM_BRACKET_R, SYM_BRACE_R, SYM_ANGLE_R, SYM_BAR, u' '};
    if (index < 0 || index >= HX_FENCE_PAIR_COUNT)
        return CString();
    char16_t pair[2];
    if (index < 36) {
        pair[0] = lefts[index % 6];
        pair[1] = rights[index / 6];
    } else if (index == 36) {
        pair[0] = SYM_LESS;
        pair[1] = SYM_GREATER;
    } else if (index == 37) {
        pair[0] = SYM_LESS;
        pair[1] = u' ';
    } else {
        pair[0] = u' ';
        pair[1] = SYM_GREATER;
    }
    return CString(pair, 2);
}

int HxFencePairIndex(const CString& pair) {
    for (int i = 0; i < HX_FENCE_PAIR_COUNT; ++i)
        if (HxFencePair(i) == pair)
            return i;
    return -1;
}

void CBraceNode::CycleFence(int step) {
    int i = HxFencePairIndex(m_text);
    if (i < 0) {
        m_text = HxFencePair(0);
        return;
    }
    i = ((i + step) % HX_FENCE_PAIR_COUNT + HX_FENCE_PAIR_COUNT) % HX_FENCE_PAIR_COUNT;
    m_text = HxFencePair(i);
}

// ---------------------------------------------------------------------------------------------
// Vector marks

CVectorNode::CVectorNode() {
    m_tag = CString(u'v');
    m_kind = NK_VECTOR;
}

CVectorNode::CVectorNode(CNode* parent, CNode* content, int type) : CVectorNode() {
    m_pParent = parent;
    m_type = type;
    SetSlotsFromContent(0, content);
}

void CVectorNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize c = Measure(m_pFirst, 32, 37, 18);
    int a, width;
    if (m_type == 2) {
        a = int(c.w * 0.2);
        width = c.w;
        m_content = CRect(0, 0, c.w, a);
    } else {
        // Without a content slot the mark is sized from the node's own font.
        long h = m_pFirst ? m_pFirst->m_font.lfHeight : m_font.lfHeight;
        a = int(std::labs(h / 3));
        width = std::max(c.w, a + 4);
        m_content = CRect(1, 0, width - 2, a);
    }
    PlaceSlot(m_pFirst, (width - c.w) / 2, a);
    PlaceSlot(m_pSecond, (width - c.w) / 2, a);
    m_box = CRect(0, 0, width, c.h + a);
    m_baseline = c.a + a;
}

void CVectorNode::DrawContent(CDC* dc) {
    const CRect& band = m_contentRect;
    int left = band.left, right = band.right, h = band.Height(), mid = band.top + h / 2;
    if (m_type == 1) {
        dc->MoveTo(left, mid);
        dc->LineTo(right, mid);
    } else if (m_type == 2) {
        // An arc over the content, drawn with a CJK face that has the glyph.
        LOGFONT& lf = HxSymbolFontTemplate();
        HxSetFaceName(lf, u"宋体");
        lf.lfCharSet = GB2312_CHARSET;
        int w = band.Width();
        {
            SymbolFontScope symbol(dc, 2 * h, int(w * 0.6));
            dc->DrawText(u"⌒", CRect(left, band.top, left + w, band.top + 2 * h),
                         DT_NOPREFIX | DT_EXTERNALLEADING | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER |
                             DT_CENTER);
        }
        HxSetFaceName(lf, u"Symbol");
        lf.lfCharSet = SYMBOL_CHARSET;
    } else {
        int k = int(h * 0.42), s = h - k;
        dc->MoveTo(left, mid);
        dc->LineTo(right - s, mid);
        HxPen oldPen = dc->SelectPen(HxPen{PS_NULL, 1, m_color});
        HxBrush oldBrush = dc->SelectBrush(HxBrush{false, m_color});
        const CPoint head[] = {
            {right, mid}, {right - h, mid - k}, {right - s, mid}, {right - h, mid + k}, {right, mid}};
        dc->Polygon(head, 5);
        dc->SelectBrush(oldBrush);
        dc->SelectPen(oldPen);
    }
}

// ---------------------------------------------------------------------------------------------
// Arrows with text above and below

CArrowsNode::CArrowsNode() {
    m_tag = CString(u'a');
    m_kind = NK_ARROWS;
    m_firstScale = m_secondScale = 0.75f;
}

void CArrowsNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    LayoutSlots(dc);
    SlotSize above = Measure(m_pFirst, 0, 0, 0), below = Measure(m_pSecond, 0, 0, 0);
    int f = int(std::min(std::labs(long(m_font.lfHeight)), 100000L));
    int t = (2 * f + 3) / 5;
    int width = f + std::max({above.w, below.w, 0});
    m_content = CRect(0, 0, width, t);
    m_content.OffsetRect(0, above.h + 1);
    PlaceSlot(m_pFirst, (width - above.w) / 2, 0);
    PlaceSlot(m_pSecond, (width - below.w) / 2, above.h + t + 2);
    m_box = CRect(0, 0, width, above.h + below.h + t + 3);
    m_baseline = m_content.top + t / 2;
}

void CArrowsNode::DrawContent(CDC* dc) {
    const CRect& band = m_contentRect;
    int l = band.left, r = band.right, h = band.Height(), m = band.top + h / 2;
    int k = int(h * 0.42), s = h - k, g = int(h * 0.25), x = (l + r) / 2;
    auto line = [dc](int x0, int y0, int x1, int y1) {
        dc->MoveTo(x0, y0);
        dc->LineTo(x1, y1);
    };
    auto filled = [&](const CPoint* pts) {
        HxPen oldPen = dc->SelectPen(HxPen{PS_NULL, 1, m_color});
        HxBrush oldBrush = dc->SelectBrush(HxBrush{false, m_color});
        dc->Polygon(pts, 5);
        dc->SelectBrush(oldBrush);
        dc->SelectPen(oldPen);
    };
    auto rightHead = [&](int y) {
        const CPoint pts[] = {{r, y}, {r - h, y - k}, {r - s, y}, {r - h, y + k}, {r, y}};
        filled(pts);
    };
    auto leftHead = [&](int y) {
        const CPoint pts[] = {{l, y}, {l + h, y + k}, {l + s, y}, {l + h, y - k}, {l, y}};
        filled(pts);
    };
    auto openRight = [&] {
        dc->MoveTo(r - s, m - s);
        dc->LineTo(r, m);
        dc->LineTo(r - s, m + s);
    };
    auto openLeft = [&] {
        dc->MoveTo(l + s, m - s);
        dc->LineTo(l, m);
        dc->LineTo(l + s, m + s);
    };
    auto harpoons = [&] {
        line(l, m - g, r, m - g);
        line(r, m - g, r - s, m - g - s);
        line(r, m + g, l, m + g);
        line(l, m + g, l + s, m + g + s);
    };
    switch (m_type) {
    case 0:
        line(l, m, r - s, m);
        rightHead(m);
        break;
    case 1:
        line(r, m, l + s, m);
        leftHead(m);
        break;
    case 2:
        line(l + s, m, r - s, m);
        leftHead(m);
        rightHead(m);
        break;
    case 3:
        line(l, m - g, r - g, m - g);
        line(l, m + g, r - g, m + g);
        openRight();
        break;
    case 4:
        line(l + g, m - g, r, m - g);
        line(l + g, m + g, r, m + g);
        openLeft();
        break;
    case 5:
        line(l + g, m - g, r - g, m - g);
        line(l + g, m + g, r - g, m + g);
        openLeft();
        openRight();
        break;
    case 6:
        line(l, m - g, r, m - g);
        line(l, m + g, r, m + g);
        break;
    case 7:
        line(l, m - g, r - s, m - g);
        rightHead(m - g);
        line(r, m + g, l + s, m + g);
        leftHead(m + g);
        break;
    case 8:
        harpoons();
        break;
    case 9:
        harpoons();
        line(x + g, m, x - s, m + g + s);
        break;
    case 10:
        harpoons();
        line(x + s, m - g - s, x - g, m);
        break;
    case 11:
        harpoons();
        line(x + g, m, x - s, m + g + s);
        line(x + s, m - g - s, x - g, m);
        break;
    case 12:
        line(l, m - g, r - g, m - g);
        line(l, m + g, r - g, m + g);
        openRight();
        line(x + k, m - s, x - k, m + s);
        break;
    case 13:
        line(l + g, m - g, r, m - g);
        line(l + g, m + g, r, m + g);
        openLeft();
        line(x + k, m - s, x - k, m + s);
        break;
    default:
        break; // a style from a newer file: the texts alone
    }
}

void CArrowsNode::CycleStyle(int step) {
    int t = std::clamp(m_type, 0, 13);
    m_type = ((t + step) % 14 + 14) % 14;
}
