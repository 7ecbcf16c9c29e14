// CFormulaEditor: the editing control's operations on its formula document.
#include "formula/formula_editor.h"

#include "formula/box_node.h"
#include "formula/formula_templates.h"
#include "formula/row_node.h"
#include "formula/standard_node.h"
#include "formula/text_node.h"
#include "platform/file.h"

#include <QFileInfo>

#include <cmath>

COLORREF HxFormulaColor(int index) {
    static const COLORREF kColors[HX_FORMULA_COLOR_COUNT] = {
        RGB(255, 0, 0),   RGB(0, 255, 0),     RGB(0, 0, 255),     RGB(0, 255, 255),
        RGB(255, 0, 255), RGB(255, 255, 0),   RGB(128, 0, 0),     RGB(0, 128, 0),
        RGB(0, 0, 128),   RGB(0, 128, 128),   RGB(128, 0, 128),   RGB(128, 128, 0),
        RGB(0, 0, 0),     RGB(128, 128, 128), RGB(192, 192, 192), RGB(255, 255, 255)};
    return index >= 0 && index < HX_FORMULA_COLOR_COUNT ? kColors[index] : 0;
}

char16_t HxFormulaSymbol(int index) {
    static const char16_t kSymbols[] =
        u"αβγδεζηθλμξπρφψω±＋－×÷√∵∴＝≠≤≥≌∽∥⊥∈∪∩∧∨∫∞…§№℃°⌒⊙∠Δ→←↑↓⒈⒉⒊⒋≡≈①②③④⑤⑥⊕≮≯∮□○∑¬▵▱∅⊖⊗⊘≞≜⇄⇌⇍⇎⇏⇐⇔⇒"
        u"⊆⊇∀∃∁∡∉∄⊂⊃⊄⊅⊈⊉⊊⊋∓∤∦∂∬∭∯∰✍☜☝☞☟❄✉♪➶➵➢➣✓✗✰☭";
    static_assert(sizeof(kSymbols) / sizeof(kSymbols[0]) == HX_FORMULA_SYMBOL_COUNT + 1);
    return index >= 0 && index < HX_FORMULA_SYMBOL_COUNT ? kSymbols[index] : 0;
}

std::vector<BYTE> HxFormulaClipboardBytes(const CString& markup) {
    std::vector<BYTE> bytes;
    bytes.reserve(2 * size_t(markup.GetLength()) + 2);
    for (char16_t c : markup.Str()) {
        bytes.push_back(BYTE(c & 0xFF));
        bytes.push_back(BYTE(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

CString HxFormulaFromClipboardBytes(const std::vector<BYTE>& bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = char16_t(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return CString(std::move(text));
}

LOGFONT HxEditorDefaultFont() {
    LOGFONT lf;
    lf.lfHeight = 22;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = ANTIALIASED_QUALITY;
    HxSetFaceName(lf, u"宋体");
    return lf;
}

CFormulaEditor::CFormulaEditor() : m_font(HxEditorDefaultFont()) {}

void CFormulaEditor::RefreshLayout(CDC* dc) {
    CNode* root = Root();
    if (m_layoutState == 2 && root) {
        root->Layout(dc);
        root->Offset(0, 0);
    }
    if (m_layoutState != 0) {
        if (root) {
            m_region.SetRectEmpty();
            m_caretMode = 0;
            root->AddSelectionRegion(&m_lineStart, &m_lineEnd, &m_caretTop, &m_caretBottom, &m_region,
                                     &m_color, &m_font, &m_caretMode);
        } else {
            m_caretMode = 0;
        }
    }
    m_layoutState = 0;
}

CRect CFormulaEditor::FormulaBox() const {
    CNode* root = Root();
    return root ? root->m_rect : CRect();
}

// ---------------------------------------------------------------------------------------------
// Editing

bool CFormulaEditor::HandleKey(int code) {
    CNode* root = Root();
    const bool done = root && root->HandleKey(code);
    if (done && (code == FKEY_DELETE || code == FKEY_BACK || code == FKEY_ENTER))
        RecordUndo();
    Invalidate(2);
    return done;
}

void CFormulaEditor::CutSelectionForReplace() {
    delete Root()->CutSelection();
    m_pDoc->ApplyDefaultFont();
}

bool CFormulaEditor::TypeChar(char16_t c) {
    if (c < 0x20 || !Root())
        return false;
    CutSelectionForReplace();
    Root()->InsertText(CString(c));
    Invalidate(2);
    RecordUndo();
    return true;
}

bool CFormulaEditor::InsertStructure(int code, int rows, int columns) {
    if (!Root())
        return false;
    const int dims[2] = {rows, columns};
    Root()->InsertStructure(code, nullptr, dims);
    Invalidate(2);
    RecordUndo();
    return true;
}

bool CFormulaEditor::DeleteSelection() {
    if (!Root())
        return false;
    CutSelectionForReplace();
    Invalidate(2);
    return true;
}

void CFormulaEditor::SelectAll() {
    if (CBoxNode* box = m_pDoc ? m_pDoc->GetRootBox() : nullptr)
        box->SelectAll();
    Invalidate(1);
}

bool CFormulaEditor::CycleStyle(int step) {
    CNode* s = Root() ? Root()->GetSelectedStructure() : nullptr;
    bool changed = false;
    if (auto* arrows = DYNAMIC_DOWNCAST(CArrowsNode, s)) {
        arrows->CycleStyle(step);
        changed = true;
    } else if (auto* fence = DYNAMIC_DOWNCAST(CBraceNode, s)) {
        fence->CycleFence(step);
        changed = true;
    }
    Invalidate(2);
    return changed;
}

bool CFormulaEditor::GetNodeStyle(HxNodeStyle& style) {
    CNode* s = Root() ? Root()->GetSelectedStructure() : nullptr;
    if (!s)
        return false;
    // A generic two-slot node whose first slot is a big operator or a limit stands for that slot.
    if (s->m_kind == NK_STANDARD) {
        CNode* first = static_cast<CStandardNode*>(s)->m_pFirst;
        if (first && (first->m_kind == NK_INTEGRAL || first->m_kind == NK_SUM || first->m_kind == NK_LIM))
            s = first;
    }
    style.node = s;
    switch (s->m_kind) {
    case NK_ARROWS:
        style.mode = 0;
        style.type = std::clamp(s->m_type, 0, 13);
        return true;
    case NK_INTEGRAL:
    case NK_SUM:
    case NK_BRACE:
        style.mode = 1;
        style.text = s->m_text;
        return true;
    case NK_LIM:
        style.mode = 2;
        style.text = s->m_text;
        return true;
    default:
        style.node = nullptr;
        return false;
    }
}

void CFormulaEditor::ApplyNodeStyle(const HxNodeStyle& style) {
    CNode* s = style.node;
    if (!s)
        return;
    if (s->m_kind == NK_ARROWS) {
        s->m_type = std::clamp(style.type, 0, 13);
    } else if (s->m_kind == NK_LIM) {
        // The limit's word is shown in the normal font, so it is kept as typed.
        s->m_text = style.text.IsEmpty() ? CString(u"lim") : style.text;
    } else {
        // Glyph texts are Symbol-font characters: the typed code's low byte in the font's range.
        CString t = style.text;
        std::u16string& chars = t.Str();
        if (!chars.empty() && chars[0] != u' ') {
            const unsigned low = chars[0] & 0xFF;
            chars[0] = char16_t(0xF000 + (low < 0x20 ? 0xE5 : low));
        }
        if (s->m_kind == NK_BRACE && chars.size() >= 2 && chars[1] != u' ') {
            const unsigned low = chars[1] & 0xFF;
            chars[1] = char16_t(0xF000 + (low < 0x21 ? 0x29 : low));
        }
        if (s->m_kind == NK_INTEGRAL)
            s->m_text = chars.empty() ? CString(SYM_INTEGRAL) : CString(chars[0]);
        else if (s->m_kind == NK_SUM)
            s->m_text = chars.empty() ? CString(SYM_SUM) : CString(chars[0]);
        else if (chars.size() < 2)
            s->m_text = CString(std::u16string{SYM_ANGLE_L, SYM_ANGLE_R});
        else
            s->m_text = CString(chars.substr(0, 2));
    }
    Invalidate(2);
}

// ---------------------------------------------------------------------------------------------
// Fonts and colours

void CFormulaEditor::ApplyFontAttribute(int code) {
    CNode* root = Root();
    if (m_caretMode == 2 && root) {
        if (!root->IsWholeSelected()) {
            root->SetFontAttribute(m_color, &m_font, true, code);
        } else {
            // The whole formula: the root's own fields, explicit where they differ from the
            // document's defaults, then every row takes them over.
            const LOGFONT& def = m_pDoc->m_defaultFont;
            auto setBit = [root](int bit, bool differs) {
                if (differs)
                    root->m_fontSet |= bit;
                else
                    root->m_fontSet &= ~bit;
            };
            const bool all = code == FONTATTR_ALL;
            if (all || code == FONTATTR_FACE) {
                HxSetFaceName(root->m_font, HxGetFaceName(m_font));
                root->m_font.lfCharSet = m_font.lfCharSet;
                setBit(FONTBIT_FACE, HxGetFaceName(m_font) != HxGetFaceName(def));
                setBit(FONTBIT_CHARSET, m_font.lfCharSet != def.lfCharSet);
            }
            if (all || code == FONTATTR_SIZE) {
                root->m_font.lfHeight = m_font.lfHeight;
                setBit(FONTBIT_SIZE, m_font.lfHeight != def.lfHeight);
            }
            if (all || code == FONTATTR_BOLD) {
                root->m_font.lfWeight = m_font.lfWeight;
                setBit(FONTBIT_BOLD, m_font.lfWeight != def.lfWeight);
            }
            if (all || code == FONTATTR_ITALIC) {
                root->m_font.lfItalic = m_font.lfItalic;
                setBit(FONTBIT_ITALIC, m_font.lfItalic != def.lfItalic);
            }
            if (all || code == FONTATTR_UNDERLINE) {
                root->m_font.lfUnderline = m_font.lfUnderline;
                setBit(FONTBIT_UNDERLINE, m_font.lfUnderline != def.lfUnderline);
            }
            if (all || code == FONTATTR_COLOR) {
                root->m_color = m_color;
                root->m_colorSet = m_color != m_pDoc->m_color;
            }
            if (auto* box = m_pDoc->GetRootBox())
                for (int i = 0; i < box->GetChildCount(); ++i)
                    if (box->GetChild(i)->IsRow())
                        box->GetChild(i)->SetFontAttribute(m_color, &m_font, false, code);
        }
    }
    Invalidate(2);
    RecordUndo();
}

void CFormulaEditor::ToggleBold() {
    m_font.lfWeight = m_font.lfWeight >= FW_BOLD ? FW_NORMAL : FW_BOLD;
    ApplyFontAttribute(FONTATTR_BOLD);
}

void CFormulaEditor::ToggleItalic() {
    m_font.lfItalic = m_font.lfItalic == 1 ? 0 : 1;
    ApplyFontAttribute(FONTATTR_ITALIC);
}

void CFormulaEditor::ToggleUnderline() {
    m_font.lfUnderline = m_font.lfUnderline == 1 ? 0 : 1;
    ApplyFontAttribute(FONTATTR_UNDERLINE);
}

void CFormulaEditor::SetFace(const CString& face, int charset) {
    HxSetFaceName(m_font, face); // cut to the face field
    m_font.lfCharSet = BYTE(charset);
    ApplyFontAttribute(FONTATTR_FACE);
}

void CFormulaEditor::SetSizeTwips(int twips, int pixelsPerInch) {
    // Whole points, then pixels rounded as MulDiv rounds.
    const long long points = (static_cast<long long>(twips) + 10) / 20;
    m_font.lfHeight =
        LONG(std::clamp<long long>(std::llround(double(points) * pixelsPerInch / 72.0), -100000, 100000));
    ApplyFontAttribute(FONTATTR_SIZE);
}

bool CFormulaEditor::SetColorIndex(int index) {
    if (index < 0 || index >= HX_FORMULA_COLOR_COUNT)
        return false;
    m_color = HxFormulaColor(index);
    ApplyFontAttribute(FONTATTR_COLOR);
    return true;
}

void CFormulaEditor::SetFontAndColor(const LOGFONT& font, COLORREF color) {
    m_font = font;
    HxSetFaceName(m_font, HxGetFaceName(font)); // keeps the terminator
    m_color = color;
    ApplyFontAttribute(FONTATTR_ALL);
}

// ---------------------------------------------------------------------------------------------
// Clipboard, templates and files

CString CFormulaEditor::SelectionMarkup() {
    return m_pDoc ? m_pDoc->GetMarkup(1) : CString();
}

CString CFormulaEditor::CopyText() {
    return m_pDoc ? m_pDoc->GetMarkup(HasSelection() ? 3 : 2) : CString();
}

bool CFormulaEditor::InsertNode(CNode* node, bool inheritFont) {
    if (!node)
        return false;
    if (!Root()) {
        delete node;
        return false;
    }
    if (HasSelection())
        CutSelectionForReplace();
    if (!Root()->InsertNodeAtCaret(node))
        delete node;
    if (inheritFont)
        Root()->InheritFont();
    Invalidate(2);
    RecordUndo();
    return true;
}

bool CFormulaEditor::PasteMarkup(const CString& markup) {
    if (markup.IsEmpty() || !m_pDoc)
        return false;
    return InsertNode(m_pDoc->ParseMarkup(markup), false);
}

CNode* CFormulaEditor::NodeFromText(const CString& text) {
    const int n = text.GetLength();
    if (n < 1 || n > HX_PASTE_TEXT_MAX)
        return nullptr;
    // Lines end with "\n" here; a "\r" before it comes from other systems.
    std::vector<CString> lines;
    std::u16string line;
    bool broken = false;
    for (char16_t c : text.Str()) {
        if (c == u'\n') {
            lines.emplace_back(line);
            line.clear();
            broken = true;
        } else if (c != u'\r') {
            line.push_back(c);
        }
    }
    if (!line.empty() || !broken)
        lines.emplace_back(line);
    if (!broken)
        return new CRowNode(new CTextNode(lines.front()), nullptr);
    CBoxNode* box = new CBoxNode();
    for (size_t i = 0; i < lines.size() && i < size_t(HX_PASTE_TEXT_ROWS); ++i) {
        CRowNode* row = lines[i].IsEmpty() ? new CRowNode() : new CRowNode(new CTextNode(lines[i]), nullptr);
        box->AppendChild(row);
    }
    box->SetActiveChild(box->GetChildCount() - 1);
    return box;
}

bool CFormulaEditor::PasteText(const CString& text) {
    return InsertNode(NodeFromText(text), false);
}

bool CFormulaEditor::InsertTemplate(int index) {
    const CString markup = GetFormulaTemplate(index);
    if (markup.IsEmpty() || !m_pDoc)
        return false;
    return InsertNode(m_pDoc->ParseMarkup(markup), true);
}

bool CFormulaEditor::InsertSymbol(int index) {
    const char16_t c = HxFormulaSymbol(index);
    return c != 0 && TypeChar(c);
}

bool CFormulaEditor::Import(const CString& path) {
    if (!m_pDoc || !m_pDoc->LoadMtf(path))
        return false;
    Invalidate(2);
    RecordUndo();
    return true;
}

bool CFormulaEditor::ImportData(const std::vector<BYTE>& bytes) {
    CString markup;
    if (!m_pDoc || !CBinTree::MtfText(bytes, markup) || !m_pDoc->SetMarkup(markup))
        return false;
    Invalidate(2);
    RecordUndo();
    return true;
}

bool CFormulaEditor::Export(const CString& path, bool* written) {
    if (written)
        *written = false;
    if (!m_pDoc)
        return false;
    const CString ext = CString::FromQString(QFileInfo(path.ToQString()).suffix());
    BOOL ok = FALSE;
    if (ext == CString(u"mtf"))
        ok = m_pDoc->SaveMtf(path);
    else if (ext == CString(u"bmp"))
        ok = m_pDoc->SaveBmp(path);
    else if (ext == CString(u"emf"))
        ok = m_pDoc->SaveEmf(path);
    else
        return false;
    if (written)
        *written = ok != FALSE;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Undo

void CFormulaEditor::RecordUndo() {
    CNode* root = Root();
    if (!root)
        return;
    auto rec = std::make_unique<CUndoRedo::record>();
    rec->m_markup = m_pDoc->GetMarkup(0);
    if (root->SaveCaretPath(rec->m_caretPath))
        m_undo.Push(std::move(rec));
}

void CFormulaEditor::Restore(const CUndoRedo::record* rec) {
    m_pDoc->Clear();
    if (m_pDoc->SetMarkup(rec->m_markup)) {
        int pos = 0;
        m_pDoc->m_pRoot->RestoreCaretPath(rec->m_caretPath, pos);
        m_pDoc->ApplyDefaultFont();
    }
    Invalidate(2);
}

bool CFormulaEditor::Undo() {
    const CUndoRedo::record* rec = m_pDoc ? m_undo.Undo() : nullptr;
    if (!rec)
        return false;
    Restore(rec);
    return true;
}

bool CFormulaEditor::Redo() {
    const CUndoRedo::record* rec = m_pDoc ? m_undo.Redo() : nullptr;
    if (!rec)
        return false;
    Restore(rec);
    return true;
}
