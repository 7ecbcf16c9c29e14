// Reading the formula markup into a node tree (CBinTree::ParseMarkup), and the table of tags and
// node kinds it shares with the writers.
#include "formula/bin_tree.h"

#include "formula/box_node.h"
#include "formula/matrix_node.h"
#include "formula/row_node.h"
#include "formula/standard_node.h"
#include "formula/text_node.h"

#include <climits>

static const char16_t* const kTags[] = {u"!", u"#", u"l", u"d", u"e", u"f", u"r", u"n", u"^", u"_",
                                        u"c", u"i", u"s", u"t", u"b", u"v", u"m", u"a", u"o"};

const char16_t* HxTagOfKind(int kind) {
    return kind >= 0 && kind <= NK_CONTAINER ? kTags[kind] : u"";
}

int HxKindOfTag(const CString& tag) {
    // The bare container "o" has no element of its own.
    for (int k = 0; k < NK_CONTAINER; ++k)
        if (tag == kTags[k])
            return k;
    return -1;
}

CNode* HxCreateNode(int kind) {
    switch (kind) {
    case NK_BOX:
        return new CBoxNode();
    case NK_ROW:
        return new CRowNode();
    case NK_STANDARD:
        return new CStandardNode();
    case NK_TEXT:
        return new CTextNode();
    case NK_DIVISION:
        return new CDivisionNode();
    case NK_SQRT:
        return new CSqrtNode();
    case NK_NTHROOT:
        return new CNthRootNode();
    case NK_SUP:
        return new CSupNode();
    case NK_SUB:
        return new CSubNode();
    case NK_SUPB:
        return new CSupbNode();
    case NK_INTEGRAL:
        return new CIntegralNode();
    case NK_SUM:
        return new CSumNode();
    case NK_LIM:
        return new CLimNode();
    case NK_BRACE:
        return new CBraceNode();
    case NK_VECTOR:
        return new CVectorNode();
    case NK_MATRIX:
        return new CMatrixNode();
    case NK_ARROWS:
        return new CArrowsNode();
    default:
        return nullptr;
    }
}

bool HxIsFormulaMarkup(const CString& text) {
    int n = text.GetLength();
    return n >= 7 && text[0] == u'<' && text[n - 1] == u'>' && text[n - 4] == u'<' && text[n - 3] == u'/';
}

// A decimal integer as the C library reads it: leading blanks, a sign, digits; anything else is 0.
static long long ReadDecimal(const CString& s) {
    int i = 0, n = s.GetLength();
    while (i < n && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    bool neg = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        neg = s[i++] == u'-';
    long long v = 0;
    for (; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i)
        v = std::min<long long>(v * 10 + (s[i] - u'0'), 1LL << 40);
    return neg ? -v : v;
}

static int ReadInt(const CString& s) {
    return int(std::clamp<long long>(ReadDecimal(s), INT_MIN, INT_MAX));
}

static COLORREF ReadHex(const CString& s) {
    int i = 0, n = s.GetLength();
    while (i < n && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X'))
        i += 2;
    unsigned long long v = 0;
    for (; i < n; ++i) {
        char16_t c = s[i];
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            break;
        v = std::min<unsigned long long>(v * 16 + unsigned(d), 0xFFFFFFFFull);
    }
    return COLORREF(v);
}

// Font heights from markup stay within what a screen can show.
static LONG ReadHeight(const CString& s) {
    return LONG(std::clamp(ReadInt(s), -2000, 2000));
}

// Stores one attribute into a font and colour; returns the font bit it sets (0 for none).
static int ApplyAttribute(const CString& name, const CString& value, LOGFONT& font, COLORREF& color,
                          bool& colorSet, int* type) {
    if (name == u"name") {
        HxSetFaceName(font, value);
        return FONTBIT_FACE;
    }
    if (name == u"cset") {
        font.lfCharSet = BYTE(ReadInt(value));
        return FONTBIT_CHARSET;
    }
    if (name == u"size") {
        font.lfHeight = ReadHeight(value);
        return FONTBIT_SIZE;
    }
    if (name == u"b") {
        font.lfWeight = value == u"0" ? FW_NORMAL : FW_BOLD;
        return FONTBIT_BOLD;
    }
    if (name == u"i") {
        font.lfItalic = value == u"0" ? 0 : 1;
        return FONTBIT_ITALIC;
    }
    if (name == u"u") {
        font.lfUnderline = value == u"0" ? 0 : 1;
        return FONTBIT_UNDERLINE;
    }
    if (name == u"color") {
        color = ReadHex(value);
        colorSet = true;
        return 0;
    }
    if (name == u"type" && type)
        *type = ReadInt(value);
    return 0;
}

CNode* CBinTree::ParseMarkup(const CString& markup) {
    m_parseComplete = false;
    if (!HxIsFormulaMarkup(markup))
        return nullptr;
    const std::u16string& s = markup.Str();
    const size_t n = s.size();
    size_t i = 0;
    CNode* cur = nullptr;
    CNode* root = nullptr;
    int lastKind = 0;
    int depth = 0;
    CString pending;
    auto endTagAt = [&](size_t k) { return k + 1 < n && s[k] == u'<' && s[k + 1] == u'/'; };

    while (true) {
        if (i >= n) {
            m_parseComplete = cur == nullptr && root != nullptr;
            break;
        }
        if (s[i] != u'<') {
            // Text runs to the next "</".
            size_t j = i;
            while (j < n && !endTagAt(j))
                ++j;
            pending = CString(std::u16string_view(s).substr(i, j - i));
            i = j;
            continue;
        }
        bool isEnd = endTagAt(i);
        size_t k = i + (isEnd ? 2 : 1);
        size_t nameStart = k;
        while (k < n && s[k] != u':' && s[k] != u'>')
            ++k;
        if (k >= n)
            break;
        CString name(std::u16string_view(s).substr(nameStart, k - nameStart));
        char16_t term = s[k];
        if (isEnd && term == u':')
            break;
        int kind = HxKindOfTag(name);
        if (kind < 0) {
            // Not a tag: a text written in an element of its own ("&" and "%" stand for "<" and ">").
            if (!cur || lastKind == 0)
                break;
            name.Replace(u'&', u'<');
            name.Replace(u'%', u'>');
            cur->SetText(name);
            i = k + 1;
            continue;
        }
        lastKind = kind;
        if (isEnd) {
            if (kind == NK_DEFAULTS || !cur)
                break;
            if (!pending.IsEmpty()) {
                cur->SetText(pending);
                pending.Empty();
            }
            if (kind != cur->m_kind)
                break;
            cur = cur->m_pParent;
            --depth;
            i = k + 1;
            continue;
        }

        CNode* node = nullptr;
        if (kind != NK_DEFAULTS) {
            if (depth >= HX_MAX_MARKUP_DEPTH)
                break;
            node = HxCreateNode(kind);
            if (!cur) {
                if (root) {
                    delete node;
                    break;
                }
                root = node;
            } else if (!cur->InsertChild(node, -1)) {
                delete node;
                break;
            }
            cur = node;
            ++depth;
        }
        i = k + 1;
        if (term == u':') {
            // Attributes: name=value pairs separated by "," up to ">".
            bool stop = false;
            while (true) {
                size_t eq = i;
                while (eq < n && s[eq] != u'=')
                    ++eq;
                if (eq >= n) {
                    stop = true;
                    break;
                }
                size_t ve = eq + 1;
                while (ve < n && s[ve] != u',' && s[ve] != u'>')
                    ++ve;
                if (ve >= n) {
                    stop = true;
                    break;
                }
                CString attr(std::u16string_view(s).substr(i, eq - i));
                CString value(std::u16string_view(s).substr(eq + 1, ve - eq - 1));
                if (node) {
                    // A node without attributes of its own starts from the document's defaults.
                    if (node->m_fontSet == 0)
                        node->m_font = m_defaultFont;
                    if (!node->m_colorSet)
                        node->m_color = m_color;
                    bool colorSet = node->m_colorSet != 0;
                    node->m_fontSet |=
                        ApplyAttribute(attr, value, node->m_font, node->m_color, colorSet, &node->m_type);
                    node->m_colorSet = colorSet;
                } else {
                    bool unused = false;
                    ApplyAttribute(attr, value, m_defaultFont, m_color, unused, nullptr);
                }
                i = ve + 1;
                if (s[ve] == u'>')
                    break;
            }
            if (stop)
                break;
        }
        if (kind == NK_TEXT && i < n && s[i] == u'<') {
            // A run that starts with "<" reads to the literal "</e>".
            size_t close = s.find(u"</e>", i);
            if (close == std::u16string::npos)
                close = n;
            pending = CString(std::u16string_view(s).substr(i, close - i));
            i = close;
        }
    }
    return root;
}
