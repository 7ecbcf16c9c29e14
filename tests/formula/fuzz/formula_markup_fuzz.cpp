// libFuzzer target for the formula markup reader and the editing operations on what it builds,
// with the editing control's own paths: pasting the private format and plain text, ".mtf" import,
// undo and redo, node styles and font commands.  Input: markup (UTF-8, or ".mtf" bytes when it
// starts with FF FE), then after a zero byte a script of editing operations.  Every step is laid
// out, drawn, written and read back, and the tree is checked; a broken invariant stops the run.
#include "formula/bin_tree.h"
#include "formula/box_node.h"
#include "formula/formula_editor.h"
#include "formula/formula_templates.h"
#include "formula/row_node.h"
#include "formula/standard_node.h"
#include "formula/text_node.h"
#include "platform/dc_fixed.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "formula invariant broken: %s\n", what);
    std::abort();
}

void CheckTree(const CNode* node, const CNode* parent, int depth) {
    if (depth > 4000)
        Fail("tree too deep");
    if (node->m_pParent != parent)
        Fail("parent link");
    if (auto c = DYNAMIC_DOWNCAST(CContainerNode, node)) {
        int n = c->GetChildCount();
        if (c->m_pActiveChild && c->GetChild(c->m_caretIndex) != c->m_pActiveChild)
            Fail("active child not at the caret index");
        if (!c->m_pActiveChild && (c->m_caretIndex < 0 || c->m_caretIndex > n))
            Fail("caret gap out of range");
        for (int i = 0; i < n; ++i) {
            if (!c->GetChild(i))
                Fail("null child");
            CheckTree(c->GetChild(i), node, depth + 1);
        }
    } else if (auto s = DYNAMIC_DOWNCAST(CStandardNode, node)) {
        if (s->m_pActiveChild && s->GetSlot(s->m_caretIndex) != s->m_pActiveChild)
            Fail("active slot");
        for (int i = 0; i < 2; ++i)
            if (s->GetSlot(i))
                CheckTree(s->GetSlot(i), node, depth + 1);
    } else if (auto t = DYNAMIC_DOWNCAST(CTextNode, node)) {
        if (t->m_caretIndex < 0 || t->m_caretIndex > t->GetLength()) {
            std::fprintf(stderr, "run \"%s\" caret %d\n", t->m_text.ToUtf8().c_str(), t->m_caretIndex);
            Fail("run caret");
        }
    }
}

// Lays out, draws and measures the caret the way the editing control does after every change.
void Exercise(CBinTree& doc) {
    if (!doc.m_pRoot)
        return;
    CheckTree(doc.m_pRoot, nullptr, 0);
    CFixedMetricsDC dc;
    dc.SelectFont(doc.m_defaultFont);
    doc.LayoutAll(&dc);
    CPoint a, b, c, d;
    CRgn region;
    COLORREF color = 0;
    LOGFONT font;
    int mode = 0;
    doc.m_pRoot->AddSelectionRegion(&a, &b, &c, &d, &region, &color, &font, &mode);
    doc.m_pRoot->Draw(&dc);
    doc.m_pRoot->DrawSelection(&dc);
    CString s;
    for (int m = 0; m < 4; ++m)
        doc.GetMarkup(s, m);
    doc.IsEmpty();
}

// What the document writes must read back to a tree that writes the same again (from the second
// round on: the first round may normalise).
void CheckRoundTrip(CBinTree& doc) {
    CString once = doc.GetMarkup(0);
    CBinTree second;
    if (!second.SetMarkup(once))
        Fail("written markup does not read back");
    CString twice = second.GetMarkup(0);
    CBinTree third;
    if (!third.SetMarkup(twice))
        Fail("written markup does not read back (second round)");
    if (third.GetMarkup(0) != twice) {
        std::fprintf(stderr, "first:  %s\nsecond: %s\nthird:  %s\n", once.ToUtf8().c_str(),
                     twice.ToUtf8().c_str(), third.GetMarkup(0).ToUtf8().c_str());
        Fail("markup not stable after a round trip");
    }
    Exercise(second);
}

CString ReadMarkup(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        CString markup;
        CBinTree::MtfText(std::vector<BYTE>(data, data + size), markup);
        return markup;
    }
    return CString::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
}

void RunOperations(CBinTree& doc, FuzzedDataProvider& ops) {
    static const bool trace = std::getenv("HALVIX_FUZZ_TRACE") != nullptr;
    CFormulaEditor editor;
    editor.SetDocument(&doc);
    editor.RecordUndo();
    for (int step = 0; step < 64 && ops.remaining_bytes() > 0 && doc.m_pRoot; ++step) {
        CNode* root = doc.m_pRoot;
        CRect r = root->m_rect;
        auto x = [&] { return ops.ConsumeIntegralInRange<int>(r.left - 10, r.right + 10); };
        auto y = [&] { return ops.ConsumeIntegralInRange<int>(r.top - 10, r.bottom + 10); };
        int op = ops.ConsumeIntegralInRange<int>(0, 19);
        if (trace) {
            CCaretPath path;
            root->SaveCaretPath(path);
            std::string p;
            for (int v : path)
                p += std::to_string(v) + " ";
            std::fprintf(stderr, "step %d op %d caret [%s] %s\n", step, op, p.c_str(),
                         doc.GetMarkup(0).ToUtf8().c_str());
        }
        switch (op) {
        case 0:
            root->HandleKey(ops.ConsumeIntegralInRange<int>(0, 10));
            break;
        case 1: {
            delete root->CutSelection();
            doc.ApplyDefaultFont();
            char16_t ch = ops.ConsumeBool() ? char16_t(ops.ConsumeIntegralInRange<int>(0x20, 0x7E))
                                            : ops.ConsumeIntegral<char16_t>();
            root->InsertText(CString(ch));
            break;
        }
        case 2: {
            int dims[2] = {ops.ConsumeIntegralInRange<int>(-1, 5), ops.ConsumeIntegralInRange<int>(-1, 5)};
            root->InsertStructure(ops.ConsumeIntegralInRange<int>(0, 21), nullptr, dims);
            break;
        }
        case 3: {
            int px = x(), py = y();
            root->SetCaretFromPoint(px, py);
            break;
        }
        case 4: {
            int px = x(), py = y();
            root->ExtendSelectionToPoint(px, py);
            break;
        }
        case 5:
            delete root->CutSelection();
            doc.ApplyDefaultFont();
            break;
        case 6:
            if (auto box = doc.GetRootBox())
                box->SelectAll();
            break;
        case 7: {
            LOGFONT lf = doc.m_defaultFont;
            lf.lfHeight = ops.ConsumeIntegralInRange<int>(-60, 60);
            lf.lfWeight = ops.ConsumeBool() ? FW_BOLD : FW_NORMAL;
            lf.lfItalic = ops.ConsumeBool();
            lf.lfUnderline = ops.ConsumeBool();
            if (ops.ConsumeBool())
                HxSetFaceName(lf, u"宋体");
            COLORREF color = ops.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
            root->SetFontAttribute(color, &lf, ops.ConsumeBool(), ops.ConsumeIntegralInRange<int>(0, 9));
            break;
        }
        case 8: {
            // Undo: the markup read again, the caret put back from its path.
            CCaretPath path;
            root->SaveCaretPath(path);
            if (ops.ConsumeBool())
                path.Add(ops.ConsumeIntegralInRange<int>(-3, 5));
            CString markup = doc.GetMarkup(0);
            if (!doc.SetMarkup(markup))
                Fail("undo markup does not read back");
            int pos = 0;
            doc.m_pRoot->RestoreCaretPath(path, pos);
            doc.ApplyDefaultFont();
            break;
        }
        case 9: {
            // Paste: a template, or the selection copied as markup.
            CString markup = ops.ConsumeBool() ? GetFormulaTemplate(ops.ConsumeIntegralInRange<int>(0, 27))
                                               : doc.GetMarkup(1);
            if (CNode* node = doc.ParseMarkup(markup)) {
                delete root->CutSelection();
                doc.ApplyDefaultFont();
                if (!root->InsertNodeAtCaret(node))
                    delete node;
                root->InheritFont();
            }
            break;
        }
        case 10:
            root->CollapseSelection(ops.ConsumeBool());
            break;
        case 11: {
            CNode* s = root->GetSelectedStructure();
            if (auto brace = DYNAMIC_DOWNCAST(CBraceNode, s))
                brace->CycleFence(ops.ConsumeBool() ? 1 : -1);
            else if (auto arrows = DYNAMIC_DOWNCAST(CArrowsNode, s))
                arrows->CycleStyle(ops.ConsumeBool() ? 1 : -1);
            break;
        }
        case 12: {
            CCaretPath path;
            int n = ops.ConsumeIntegralInRange<int>(0, 12);
            for (int i = 0; i < n; ++i)
                path.Add(ops.ConsumeIntegralInRange<int>(-2, 6));
            int pos = 0;
            root->RestoreCaretPath(path, pos);
            break;
        }
        case 14: {
            // The control's paste of its private format: bytes as the clipboard gives them.
            std::string raw = ops.ConsumeRandomLengthString(512);
            editor.PastePrivate(std::vector<BYTE>(raw.begin(), raw.end()));
            break;
        }
        case 15: {
            // Plain text from the clipboard (line breaks of any system).
            std::string raw = ops.ConsumeRandomLengthString(1100);
            editor.PasteText(CString::FromUtf8(raw));
            break;
        }
        case 16: {
            // ".mtf" import of the remaining bytes' share.
            std::string raw = ops.ConsumeRandomLengthString(512);
            std::vector<BYTE> bytes{0xFF, 0xFE};
            bytes.insert(bytes.end(), raw.begin(), raw.end());
            editor.ImportData(ops.ConsumeBool() ? bytes : std::vector<BYTE>(raw.begin(), raw.end()));
            break;
        }
        case 17:
            if (ops.ConsumeBool())
                editor.Undo();
            else
                editor.Redo();
            break;
        case 18: {
            HxNodeStyle style;
            if (editor.GetNodeStyle(style)) {
                style.type = ops.ConsumeIntegralInRange<int>(-2, 20);
                style.text = CString::FromUtf8(ops.ConsumeRandomLengthString(8));
                editor.ApplyNodeStyle(style);
            }
            break;
        }
        case 19: {
            CFixedMetricsDC dc;
            dc.SelectFont(doc.m_defaultFont);
            editor.Invalidate(2);
            editor.RefreshLayout(&dc);
            editor.ApplyFontAttribute(ops.ConsumeIntegralInRange<int>(0, 9));
            break;
        }
        default:
            root->CaretToStart();
            break;
        }
        if (!doc.m_pRoot)
            return; // an undo record that no longer reads leaves the document empty
        Exercise(doc);
        CheckRoundTrip(doc);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t split = 0;
    while (split < size && data[split] != 0)
        ++split;
    CString markup = ReadMarkup(data, split);

    CBinTree doc;
    std::unique_ptr<CNode> raw(doc.ParseMarkup(markup));
    if (raw) {
        CString out;
        raw->GetMarkup(out, false);
        raw->GetText(out, false);
        raw->NormalizeTree();
    }
    if (!doc.SetMarkup(markup))
        return 0;
    Exercise(doc);
    CheckRoundTrip(doc);
    if (split < size) {
        FuzzedDataProvider ops(data + split + 1, size - split - 1);
        RunOperations(doc, ops);
    }
    return 0;
}
