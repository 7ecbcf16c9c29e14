// The windows of the four transform dialogs: each shows the fields of its dialog class, applies the
// enabling rules when it opens and when a choice is clicked, and writes the fields back on OK once
// every number reads.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "points/transform_dialogs.h"

class QButtonGroup;
class QComboBox;

class CTransTranslateWindow : public CHxExchangeDialog {
public:
    explicit CTransTranslateWindow(CDlgTransTranslate& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    void ApplyChoice(int choice);
    CDlgTransTranslate& m_fields;
    QButtonGroup* m_choice;
};

class CTransRotateWindow : public CHxExchangeDialog {
public:
    explicit CTransRotateWindow(CDlgTransRotate& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    void EnableAxisEdits(bool on);
    CDlgTransRotate& m_fields;
    QButtonGroup* m_axisChoice;
    QButtonGroup* m_angleChoice;
};

class CTransScaleWindow : public CHxExchangeDialog {
public:
    explicit CTransScaleWindow(CDlgTransScale& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgTransScale& m_fields;
    QButtonGroup* m_choice;
};

class CTransDeflectWindow : public CHxExchangeDialog {
public:
    explicit CTransDeflectWindow(CDlgTransDeflect& fields, QWidget* parent = nullptr);
    void accept() override;
    // The reflection code the window holds (set by choosing a list entry).
    BYTE Mask() const { return m_mask; }

private:
    CDlgTransDeflect& m_fields;
    QButtonGroup* m_choice;
    QComboBox* m_elements;
    BYTE m_mask;
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowTransTranslateDialog(CDialog& dialog);
INT_PTR HxShowTransRotateDialog(CDialog& dialog);
INT_PTR HxShowTransScaleDialog(CDialog& dialog);
INT_PTR HxShowTransDeflectDialog(CDialog& dialog);
