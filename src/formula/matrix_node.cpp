// CMatrixNode: cells laid out in rows and columns, and caret moves between neighbouring cells.
#include "formula/matrix_node.h"

#include "formula/box_node.h"
#include "formula/standard_node.h"

#include <cstdlib>
#include <vector>

IMPLEMENT_DYNAMIC(CMatrixNode, CContainerNode)

CMatrixNode::CMatrixNode() {
    m_tag = CString(u'm');
    m_kind = NK_MATRIX;
}

CMatrixNode::CMatrixNode(CNode* parent, int rows, int columns, CNode* content) : CMatrixNode() {
    m_pParent = parent;
    m_type = columns;
    AppendChild(HxMakeSlotBox(content, this));
    for (int i = 1; i < rows * columns; ++i)
        AppendChild(HxMakeSlotBox(nullptr, this));
    SetActiveChild(0);
    if (content)
        GetChild(0)->CaretToEnd();
}

void CMatrixNode::Layout(CDC* dc) {
    CNodeDCScope scope(dc, this);
    int n = GetChildCount();
    m_content = CRect();
    if (n == 0) {
        m_box = CRect();
        m_baseline = 0;
        return;
    }
    // Only the cells that exist take part: a grid read from markup may end in a short row.
    int columns = std::min(GetColumns(), n);
    int rows = (n - 1) / columns + 1;
    for (int i = 0; i < n; ++i)
        GetChild(i)->Layout(dc);
    std::vector<int> width(size_t(columns), 0), x(size_t(columns), 0);
    for (int i = 0; i < n; ++i)
        width[size_t(i % columns)] = std::max(width[size_t(i % columns)], int(GetChild(i)->m_box.Width()));
    int h = int(std::min(std::labs(long(m_font.lfHeight)), 100000L));
    int colGap = h / 2, rowGap = h / 3;
    for (int c = 1; c < columns; ++c)
        x[size_t(c)] = x[size_t(c - 1)] + width[size_t(c - 1)] + colGap;
    int y = 0;
    for (int r = 0; r < rows; ++r) {
        int axis = 0;
        for (int i = r * columns; i < std::min(n, (r + 1) * columns); ++i)
            axis = std::max(axis, GetChild(i)->m_baseline);
        int rowHeight = 0;
        for (int i = r * columns; i < std::min(n, (r + 1) * columns); ++i) {
            CNode* cell = GetChild(i);
            int c = i % columns;
            int cx = x[size_t(c)] + (width[size_t(c)] - cell->m_box.Width()) / 2;
            int cy = y + axis - cell->m_baseline;
            cell->m_box.OffsetRect(cx - cell->m_box.left, cy - cell->m_box.top);
            rowHeight = std::max(rowHeight, int(cell->m_box.Height()) + axis - cell->m_baseline);
        }
        y += rowHeight + rowGap;
    }
    int total = y - rowGap;
    m_box = CRect(0, 0, x[size_t(columns - 1)] + width[size_t(columns - 1)], total);
    m_baseline = total / 2;
}

bool CMatrixNode::HandleKey(int code) {
    ValidateCaret();
    if (!m_pActiveChild)
        return false;
    if (m_pActiveChild->HandleKey(code))
        return true;
    int n = GetChildCount();
    int k = GetColumns();
    int i = m_caretIndex;
    int column = i % k, row = i / k;
    switch (code) {
    case FKEY_LEFT:
        if (column == 0)
            return false;
        SetActiveChild(i - 1);
        m_pActiveChild->CaretToEnd();
        return true;
    case FKEY_RIGHT:
        if (column >= k - 1 || i + 1 >= n)
            return false;
        SetActiveChild(i + 1);
        m_pActiveChild->CaretToStart();
        return true;
    case FKEY_UP:
    case FKEY_DOWN: {
        bool up = code == FKEY_UP;
        if (up ? row == 0 : (row >= (n - 1) / k || i + k >= n))
            return false;
        int x = m_pActiveChild->m_selLeft;
        SetActiveChild(up ? i - k : i + k);
        const CRect& r = m_pActiveChild->m_rect;
        m_pActiveChild->SetCaretFromPoint(x, up ? r.bottom - 4 : r.top + 4);
        return true;
    }
    default:
        return false;
    }
}

BOOL CMatrixNode::NormalizeTree() {
    BOOL changed = FALSE;
    for (int i = 0; i < GetChildCount(); ++i) {
        CNode* cell = GetChild(i);
        if (!cell->IsBox()) {
            bool wasActive = m_pActiveChild == cell;
            CBoxNode* box = new CBoxNode();
            box->AppendChild(DetachChild(i));
            InsertChildAt(i, box);
            if (wasActive)
                m_pActiveChild = box;
            changed = TRUE;
        }
        if (GetChild(i)->NormalizeTree())
            changed = TRUE;
    }
    ValidateCaret();
    return changed;
}
