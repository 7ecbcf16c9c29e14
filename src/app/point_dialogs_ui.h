// The windows of the point commands' input dialogs: the number of crossing points to add, under the
// prompt that tells how many there are, and the N of the N-division with its only-the-first check.
// Each shows the fields of its dialog class and writes them back on OK once the number is in range.
#pragma once

#include "app/exchange_dialog.h"
#include "construct/point_dialogs.h"

class QCheckBox;

class CIntersectionNumWindow : public CHxExchangeDialog {
public:
    explicit CIntersectionNumWindow(CDlgIntersectionNum& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgIntersectionNum& m_fields;
};

class CDivPointWindow : public CHxExchangeDialog {
public:
    explicit CDivPointWindow(DlgDivPoint& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    DlgDivPoint& m_fields;
    QCheckBox* m_onlyFirst;
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowIntersectionNumDialog(CDialog& dialog);
INT_PTR HxShowDivPointDialog(CDialog& dialog);
