// CMatrixNode: a grid of boxes in row-major order; m_type holds the number of columns.
#pragma once

#include "formula/node.h"

class CMatrixNode : public CContainerNode {
    DECLARE_DYNAMIC(CMatrixNode)
public:
    CMatrixNode();
    // A rows x columns grid whose first cell holds `content` (normalised into a box) and the caret.
    CMatrixNode(CNode* parent, int rows, int columns, CNode* content);

    void Layout(CDC* dc) override;
    bool HandleKey(int code) override;
    BOOL NormalizeTree() override;

    // The number of columns (a type of 0 or less counts as 2).
    int GetColumns() const { return m_type > 0 ? m_type : 2; }
};
