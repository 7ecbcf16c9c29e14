// CBinTree: the formula document's root and defaults, writing its markup, ".mtf" files, and the
// markup normalisation used when older documents are brought up to date.
#include "formula/bin_tree.h"

#include "formula/box_node.h"
#include "formula/row_node.h"
#include "platform/dc.h"
#include "platform/file.h"

#include <QFile>

IMPLEMENT_DYNAMIC(CBinTree, CObject)

// Files larger than this are not formulas.
static constexpr qint64 kMaxMtfBytes = 64 * 1024 * 1024;

CBinTree::CBinTree() {
    m_stringMapA.InitHashTable(17);
    m_stringMapB.InitHashTable(17);
    m_defaultFont.lfHeight = 35;
    m_defaultFont.lfWeight = FW_BOLD;
    m_defaultFont.lfQuality = ANTIALIASED_QUALITY;
    HxSetFaceName(m_defaultFont, u"Times New Roman");
}

CBinTree::~CBinTree() {
    delete m_pRoot;
}

void CBinTree::Clear() {
    delete m_pRoot;
    m_pRoot = nullptr;
}

CBoxNode* CBinTree::GetRootBox() const {
    return DYNAMIC_DOWNCAST(CBoxNode, m_pRoot);
}

void CBinTree::ReplaceRoot(CNode* root) {
    Clear();
    m_pRoot = root;
    if (!m_pRoot)
        return;
    NormalizeRoot();
    ApplyDefaultFont();
    m_pRoot->CaretToEnd();
}

BOOL CBinTree::SetMarkup(const CString& markup) {
    m_lastError.Empty();
    CNode* root = ParseMarkup(markup);
    if (!root) {
        m_lastError = u"公式格式不正确，无法识别。";
        return FALSE;
    }
    ReplaceRoot(root);
    return TRUE;
}

BOOL CBinTree::NormalizeRoot() {
    if (!m_pRoot)
        return FALSE;
    if (!m_pRoot->IsBox()) {
        CBoxNode* box = new CBoxNode();
        box->AppendChild(m_pRoot);
        box->SetActiveChild(0);
        m_pRoot = box;
    }
    m_pRoot->m_pParent = nullptr;
    return m_pRoot->NormalizeTree();
}

void CBinTree::ApplyDefaultFont() {
    if (!m_pRoot)
        return;
    LOGFONT& f = m_pRoot->m_font;
    int bits = m_pRoot->m_fontSet;
    if (bits) {
        if (!(bits & FONTBIT_FACE))
            HxSetFaceName(f, HxGetFaceName(m_defaultFont));
        if (!(bits & FONTBIT_CHARSET))
            f.lfCharSet = m_defaultFont.lfCharSet;
        if (!(bits & FONTBIT_SIZE))
            f.lfHeight = m_defaultFont.lfHeight;
        if (!(bits & FONTBIT_BOLD))
            f.lfWeight = m_defaultFont.lfWeight;
        if (!(bits & FONTBIT_ITALIC))
            f.lfItalic = m_defaultFont.lfItalic;
        if (!(bits & FONTBIT_UNDERLINE))
            f.lfUnderline = m_defaultFont.lfUnderline;
    } else {
        f = m_defaultFont;
    }
    if (!m_pRoot->m_colorSet)
        m_pRoot->m_color = m_color;
    m_pRoot->InheritFont();
}

void CBinTree::LayoutAll(CDC* dc) {
    if (!m_pRoot)
        return;
    m_pRoot->Layout(dc);
    m_pRoot->Offset(0, 0);
}

CString& CBinTree::GetMarkup(CString& out, int mode) {
    out.Empty();
    if (!m_pRoot) {
        if (mode == 0 || mode == 1)
            out = HX_EMPTY_FORMULA;
        return out;
    }
    switch (mode) {
    case 0:
        m_pRoot->GetMarkup(out, false);
        break;
    case 1:
        m_pRoot->GetMarkup(out, true);
        break;
    case 2:
        m_pRoot->GetText(out, false);
        break;
    case 3:
        m_pRoot->GetText(out, true);
        break;
    default:
        break;
    }
    return out;
}

BOOL CBinTree::IsEmpty() const {
    const CBoxNode* box = GetRootBox();
    if (!box)
        return TRUE;
    if (box->GetChildCount() != 1)
        return FALSE;
    const CNode* child = box->GetChild(0);
    if (!child->IsRow())
        return TRUE;
    return static_cast<const CRowNode*>(child)->GetChildCount() == 0;
}

std::vector<BYTE> CBinTree::MtfBytes(const CString& markup) {
    std::vector<BYTE> bytes;
    bytes.reserve(2 + 2 * size_t(markup.GetLength()));
    bytes.push_back(0xFF);
    bytes.push_back(0xFE);
    for (char16_t c : markup.Str()) {
        bytes.push_back(BYTE(c & 0xFF));
        bytes.push_back(BYTE(c >> 8));
    }
    return bytes;
}

bool CBinTree::MtfText(const std::vector<BYTE>& bytes, CString& markup) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return false;
    std::u16string text;
    text.reserve((bytes.size() - 2) / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) // a trailing odd byte is ignored
        text.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
    markup = CString(std::move(text));
    return true;
}

BOOL CBinTree::SaveMtf(const CString& path) {
    m_lastError.Empty();
    std::vector<BYTE> bytes = MtfBytes(GetMarkup(0));
    if (!HxWriteFileSafely(path, bytes)) {
        m_lastError = HxFormat(u"无法写入文件“%s”。", path);
        return FALSE;
    }
    return TRUE;
}

BOOL CBinTree::LoadMtf(const CString& path) {
    m_lastError.Empty();
    QFile file;
    if (HxOpenRegularFile(file, path.ToQString()) != CFileException::none) {
        m_lastError = HxFormat(u"无法打开文件“%s”。", path);
        return FALSE;
    }
    if (file.size() > kMaxMtfBytes) {
        m_lastError = HxFormat(u"“%s”不是公式文件。", path);
        return FALSE;
    }
    QByteArray data = file.readAll();
    std::vector<BYTE> bytes(data.begin(), data.end());
    CString markup;
    if (!MtfText(bytes, markup)) {
        m_lastError = HxFormat(u"“%s”不是公式文件。", path);
        return FALSE;
    }
    // Parse first, so that a file without a formula leaves the current one as it is.
    CNode* root = ParseMarkup(markup);
    if (!root) {
        m_lastError = HxFormat(u"“%s”中没有可识别的公式。", path);
        return FALSE;
    }
    ReplaceRoot(root);
    return TRUE;
}

CString NormalizeFormulaMarkup(const CString& markup) {
    CBinTree doc;
    HxSetFaceName(doc.m_defaultFont, u"宋体");
    doc.m_defaultFont.lfCharSet = GB2312_CHARSET;
    doc.m_defaultFont.lfHeight = 35;
    doc.Clear();
    if (!doc.SetMarkup(markup))
        return CString(HX_EMPTY_FORMULA);
    return doc.GetMarkup(0);
}

CString ConvertFormulaMarkup(CString markup) {
    return NormalizeFormulaMarkup(markup);
}
