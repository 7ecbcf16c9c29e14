// The fields of the dialogs of the document's option and display commands: the document options
// (page list, author, description, renaming and the formula-picture option), the weight of the
// selected objects and the size of a new table.  The windows show them through their presenters.
#pragma once

#include "platform/afx.h"

#include <vector>

class CHalvixDoc;

// "文档选项": the pages of the document (titles, in order, not edited here), its author (read only),
// its description and two options.  Only "确定" accepts; closing the window cancels.
class CDlgPage : public CDialog {
    DECLARE_DYNAMIC(CDlgPage)
public:
    static constexpr UINT IDD = 216;
    static constexpr int kPageList = 1112;
    static constexpr int kAuthor = 1000;
    static constexpr int kDescription = 1001;
    static constexpr int kRenamePages = 1003;
    static constexpr int kStoreFormulaGraphics = 1004;

    explicit CDlgPage(CHalvixDoc* doc = nullptr) : CDialog(IDD), m_pDoc(doc) {}

    // What the dialog shows when it opens: the document's author, description, formula-picture
    // option and page titles (row 0 selected).
    void FillFromDocument();

    CHalvixDoc* m_pDoc; // not owned
    CString m_author;
    CString m_description;
    BOOL m_storeFormulaGraphics = FALSE; // "将MTF文本加存图形数据"
    BOOL m_renamePages = FALSE;          // "页名称按序自动重命名"
    std::vector<CString> m_pageTitles;
    int m_selectedPage = 0;
};

// "线宽、点大小、值精度": one number for the selected points (size), lines and circles (width) or
// values (precision step).
class CDlgWeight : public CDialog {
    DECLARE_DYNAMIC(CDlgWeight)
public:
    static constexpr UINT IDD = 234;
    static constexpr int kValue = 1000;
    static constexpr float kMin = 0.000001f;
    static constexpr float kMax = 20.0f;

    CDlgWeight() : CDialog(IDD) {}

    float m_value = 0.0f;
};

// "添加表格": the rows and columns of a new table, 1 to 20 each.
class CDlgTable : public CDialog {
    DECLARE_DYNAMIC(CDlgTable)
public:
    static constexpr UINT IDD = 235;
    static constexpr int kRows = 1000;
    static constexpr int kColumns = 1001;
    static constexpr int kMinCount = 1;
    static constexpr int kMaxCount = 20;

    CDlgTable() : CDialog(IDD) {}

    int m_rows = 4;
    int m_columns = 4;
};
