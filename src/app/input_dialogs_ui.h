// The windows of the input dialogs (vector, coordinates, angle, opacity, number of sides): each shows the
// fields of its dialog class and writes them back on OK once every number reads; the coordinates
// window switches its controls with the mode, checks the point text as it changes and pastes the
// clipboard's text.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "construct/input_dialogs.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSlider;

class CVectorWindow : public CHxExchangeDialog {
public:
    explicit CVectorWindow(CDlgVector& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgVector& m_fields;
};

class CAngleWindow : public CHxExchangeDialog {
public:
    explicit CAngleWindow(CDlgAngle& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgAngle& m_fields;
    QButtonGroup* m_unit;
};

class CAlphaWindow : public CHxExchangeDialog {
public:
    explicit CAlphaWindow(CDlgAlpha& fields, QWidget* parent = nullptr);
    void accept() override;
    QSlider* Trackbar() const { return m_trackbar; }

private:
    CDlgAlpha& m_fields;
    QSlider* m_trackbar;
    QLabel* m_text;
};

class CNumberWindow : public CHxExchangeDialog {
public:
    explicit CNumberWindow(CDlgNumber& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgNumber& m_fields;
};

class CValueWindow : public CHxExchangeDialog {
public:
    explicit CValueWindow(CDlgValue& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgValue& m_fields;
};

class CCoordinatesWindow : public CHxExchangeDialog {
public:
    explicit CCoordinatesWindow(CDlgCoordinates& fields, QWidget* parent = nullptr);
    void accept() override;

    // The point text as the dialog keeps it: lines ended by CR LF.
    CString PointText() const;
    // The buttons and lists of each mode.
    void ChooseSingle();
    void ChooseSeveral();
    // "清除数据", "Tab", a preset row and "粘贴数据": the text changed at the caret, then checked.
    void ClearText();
    void InsertTab();
    void InsertPreset(int row);
    void PasteText();

private:
    // Checks the point text: OK and the status line follow.
    void CheckText();
    void InsertAtCaret(const CString& text);
    void SetStatus(const char16_t* text);

    CDlgCoordinates& m_fields;
    QButtonGroup* m_mode;
    QComboBox* m_coordinates[3];
    QComboBox* m_presets;
    QPlainTextEdit* m_text;
    QLabel* m_status;
    bool m_chosen[3];
    int m_chosenRow[3];
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowVectorDialog(CDialog& dialog);
INT_PTR HxShowAngleDialog(CDialog& dialog);
INT_PTR HxShowValueDialog(CDialog& dialog);
INT_PTR HxShowCoordinatesDialog(CDialog& dialog);
INT_PTR HxShowAlphaDialog(CDialog& dialog);
INT_PTR HxShowNumberDialog(CDialog& dialog);
