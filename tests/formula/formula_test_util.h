// Helpers of the formula tests: a document driven like the editing control does (layout and caret
// geometry after every change, with fixed character metrics), tree invariants and short builders.
#pragma once

#include "formula/bin_tree.h"
#include "formula/box_node.h"
#include "formula/matrix_node.h"
#include "formula/row_node.h"
#include "formula/standard_node.h"
#include "formula/text_node.h"
#include "platform/dc_fixed.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Readable rectangles and points in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const CSize& s, std::ostream* os) {
    *os << "(" << s.cx << " x " << s.cy << ")";
}

// Every child's parent link names its container, every active child is where its level's caret
// index says, every selection range lies inside the children.
inline void ExpectTreeConsistent(const CNode* node, const CNode* parent = nullptr, int depth = 0) {
    ASSERT_NE(node, nullptr);
    ASSERT_LT(depth, 200);
    EXPECT_EQ(node->m_pParent, parent) << "kind " << node->m_kind;
    if (auto c = DYNAMIC_DOWNCAST(CContainerNode, node)) {
        int n = c->GetChildCount();
        if (c->m_pActiveChild) {
            EXPECT_EQ(c->GetChild(c->m_caretIndex), c->m_pActiveChild) << "kind " << node->m_kind;
        } else {
            EXPECT_GE(c->m_caretIndex, 0);
            EXPECT_LE(c->m_caretIndex, n);
        }
        for (int i = 0; i < n; ++i)
            ExpectTreeConsistent(c->GetChild(i), node, depth + 1);
    } else if (auto s = DYNAMIC_DOWNCAST(CStandardNode, node)) {
        if (s->m_pActiveChild) {
            EXPECT_EQ(s->GetSlot(s->m_caretIndex), s->m_pActiveChild);
        }
        for (int i = 0; i < 2; ++i)
            if (s->GetSlot(i))
                ExpectTreeConsistent(s->GetSlot(i), node, depth + 1);
    } else if (auto t = DYNAMIC_DOWNCAST(CTextNode, node)) {
        EXPECT_GE(t->m_caretIndex, 0);
        EXPECT_LE(t->m_caretIndex, t->GetLength());
    }
}

inline std::string U8(const CString& s) {
    return s.ToUtf8();
}

// A formula document edited the way the editing control drives it.
class CTestEditor {
public:
    explicit CTestEditor(const CString& markup = HX_EMPTY_FORMULA) {
        EXPECT_TRUE(m_doc.SetMarkup(markup)) << U8(markup);
        Relayout();
    }

    CBoxNode* Root() const { return m_doc.GetRootBox(); }

    // Layout in the document's font, then the caret and selection geometry.
    void Relayout() {
        m_dc.SelectFont(m_doc.m_defaultFont);
        m_dc.SetTextColor(m_doc.m_color);
        m_dc.SelectPen(HxPen{PS_SOLID, int(std::abs(m_doc.m_defaultFont.lfHeight)) / 32 + 1, m_doc.m_color});
        m_doc.LayoutAll(&m_dc);
        m_region.SetRectEmpty();
        m_mode = 0;
        if (m_doc.m_pRoot)
            m_doc.m_pRoot->AddSelectionRegion(&m_lineStart, &m_lineEnd, &m_caretTop, &m_caretBottom,
                                              &m_region, &m_color, &m_font, &m_mode);
    }

    bool Key(int code) {
        bool r = Root() && Root()->HandleKey(code);
        Relayout();
        return r;
    }
    void Type(const CString& text) {
        for (char16_t c : text.Str()) {
            delete Root()->CutSelection();
            m_doc.ApplyDefaultFont();
            Root()->InsertText(CString(c));
            Relayout();
        }
    }
    void Click(int x, int y) {
        Root()->SetCaretFromPoint(x, y);
        Relayout();
    }
    void DragTo(int x, int y) {
        Root()->ExtendSelectionToPoint(x, y);
        Relayout();
    }
    void Insert(int code, int rows = 2, int columns = 2) {
        int dims[2] = {rows, columns};
        Root()->InsertStructure(code, nullptr, dims);
        Relayout();
    }
    CString Markup() { return m_doc.GetMarkup(0); }
    CString Text() { return m_doc.GetMarkup(2); }
    CString SelectionMarkup() { return m_doc.GetMarkup(1); }
    CString SelectionText() { return m_doc.GetMarkup(3); }
    CCaretPath CaretPath() {
        CCaretPath path;
        Root()->SaveCaretPath(path);
        return path;
    }

    CBinTree m_doc;
    CFixedMetricsDC m_dc;
    CPoint m_lineStart, m_lineEnd, m_caretTop, m_caretBottom;
    CRgn m_region;
    COLORREF m_color = 0;
    LOGFONT m_font;
    int m_mode = 0;
};

inline std::vector<int> PathOf(const CCaretPath& p) {
    return p.Vector();
}
inline CCaretPath MakePath(std::initializer_list<int> values) {
    CCaretPath path;
    for (int v : values)
        path.Add(v);
    return path;
}
// Selects characters or children [start, end) of a node.
template <class T> void SelectRange(T* node, int start, int end) {
    node->m_selStart = start;
    node->m_selEnd = end;
    node->m_hasSelection = 1;
}

// The row at index r of a box, and child i of it.
inline CRowNode* RowOf(CNode* box, int r) {
    auto b = DYNAMIC_DOWNCAST(CContainerNode, box);
    return b ? DYNAMIC_DOWNCAST(CRowNode, b->GetChild(r)) : nullptr;
}
inline CNode* ChildOf(CNode* node, int i) {
    auto c = DYNAMIC_DOWNCAST(CContainerNode, node);
    return c ? c->GetChild(i) : nullptr;
}
