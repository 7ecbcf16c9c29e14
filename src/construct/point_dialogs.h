// The fields of the two input dialogs of the point commands: how many crossing points of a curve or
// a locus to add, and into how many parts the N-division divides a segment.  Their windows show them
// through their presenters.
#pragma once

#include "platform/afx.h"

// "添加交点数": the number of crossing points to add, 0 to 32; the prompt above it tells how many
// there are now.
class CDlgIntersectionNum : public CDialog {
    DECLARE_DYNAMIC(CDlgIntersectionNum)
public:
    enum { IDD = 279 };
    static constexpr int kEditNumber = 1001;
    static constexpr int kPromptText = 1256;
    static constexpr int kMaxNumber = 32;

    CDlgIntersectionNum() : CDialog(IDD) {}

    // The prompt for the number of crossings there are now (the field's value when the dialog
    // opens): "当前状态有%d 个交点…" below 32, "当前状态至少有%d 个交点…" from 32 on.  Its line break
    // is a line feed followed by a carriage return.
    static CString PromptFor(int count);

    int m_number = 0;
};

// "N等分点": N, 2 to 256, and whether only the first division point is added.
class DlgDivPoint : public CDialog {
    DECLARE_DYNAMIC(DlgDivPoint)
public:
    enum { IDD = 285 };
    static constexpr int kEditN = 1000;
    static constexpr int kOnlyFirstCheck = 1003;
    static constexpr int kMinN = 2;
    static constexpr int kMaxN = 256;

    DlgDivPoint() : CDialog(IDD) {}

    int m_n = 2;
    BOOL m_onlyFirst = FALSE;
};
