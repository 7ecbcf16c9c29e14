// The windows of the curve dialog (coordinate system, the equation and range buttons that open the
// calculation dialog, step, draw level, break distance, examples) and of the locus dialog.  They are
// the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "dynamics/curve_dialogs.h"

class QButtonGroup;
class QComboBox;

class CCurveWindow : public CHxExchangeDialog {
public:
    explicit CCurveWindow(CDlgCurve& fields, QWidget* parent = nullptr);
    void accept() override;

    // A row of the example list chosen; an equation or range button pressed (0 to 4).
    void ChooseExample(int row);
    void EditExpression(int which);
    // The captions of the equation buttons for the system checked.
    void Relabel();

private:
    // What the controls hold that reads, into the fields, without a word about what does not.
    void ReadFields();
    void ShowFields();

    CDlgCurve& m_fields;
    QButtonGroup* m_system;
    QButtonGroup* m_display;
    QComboBox* m_examples;
};

class CLocusWindow : public CHxExchangeDialog {
public:
    explicit CLocusWindow(CDlgLocus& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgLocus& m_fields;
    QButtonGroup* m_display;
};

INT_PTR HxShowCurveDialog(CDialog& dialog);
INT_PTR HxShowLocusDialog(CDialog& dialog);
