// The windows of the calculation dialog (expression edit, keypad, value and function lists, the
// typeset preview with its value and scroll bar) and of the parameter dialog.  They are the
// presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "measure/calc_dialogs.h"

class CFormulaCtrl;
class QCheckBox;
class QComboBox;
class QScrollBar;

class CCalculatorWindow : public CHxExchangeDialog {
public:
    explicit CCalculatorWindow(CDlgCalculator& fields, QWidget* parent = nullptr);
    void accept() override;

    CFormulaCtrl* Preview() const { return m_preview; }
    QScrollBar* ScrollBar() const { return m_scroll; }
    QLineEdit* ExpressionEdit() const { return m_edit; }
    QComboBox* ValueList() const { return m_valueList; }
    QComboBox* FunctionList() const { return m_functionList; }
    // The dialog's refresh at the edit's caret, then the fields shown in the controls.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The edit's selection as [start, end) (the caret twice when nothing is selected).
    void Selection(int& start, int& end) const;
    // The expression and caret of the fields into the edit, the keypad's state, the prompt, OK and
    // the preview.
    void ShowFields();
    // The preview's scroll bar and offset from the laid-out formula's width.
    void FitPreview();
    void ScrollPreview(int offset);
    void Refocus();

    CDlgCalculator& m_fields;
    CFormulaCtrl* m_preview;
    QScrollBar* m_scroll;
    QLineEdit* m_edit;
    QComboBox* m_valueList;
    QComboBox* m_functionList;
    QCheckBox* m_angle;
    bool m_updating = false; // the edit is being written from the fields
};

class CParameterWindow : public CHxExchangeDialog {
public:
    explicit CParameterWindow(CDlgParameter& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    void ShowChecks();
    CDlgParameter& m_fields;
};

INT_PTR HxShowCalculatorDialog(CDialog& dialog);
INT_PTR HxShowParameterDialog(CDialog& dialog);
