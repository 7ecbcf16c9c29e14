// The windows of the property dialogs of points, lines, faces, circles, solids of revolution, the
// plane axes, the traces, the page and a picture: each shows the fields of its dialog class, keeps its
// controls enabled as the fields allow, and writes the fields back on OK once every number reads and lies in
// its range (a refused number keeps the window open with a message).  They are the presenters of
// their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "document/property_dialogs.h"

class CColorPicker;
class QSlider;

// The description, label and the two hiding check boxes of the element dialogs.
class CElementWindowBase : public CHxExchangeDialog {
public:
    using CHxExchangeDialog::CHxExchangeDialog;

protected:
    void AddCommonControls(QBoxLayout* layout, const CString& description, const CString& label, BOOL hidden,
                           BOOL labelHidden);
    void ReadCommonControls(CString& label, BOOL& hidden, BOOL& labelHidden) const;
};

class CPropertyPointWindow : public CElementWindowBase {
public:
    explicit CPropertyPointWindow(CDlgPropertyPoint& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgPropertyPoint& m_fields;
};

class CPropertyLineWindow : public CElementWindowBase {
public:
    explicit CPropertyLineWindow(CDlgPropertyLine& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgPropertyLine& m_fields;
};

class CPropertyFaceWindow : public CElementWindowBase {
public:
    explicit CPropertyFaceWindow(CDlgPropertyFace& fields, QWidget* parent = nullptr);
    void accept() override;
    // A style chosen: the texture list follows it.
    void OnStyleClicked();

private:
    CDlgPropertyFace& m_fields;
};

class CPropertyCircleWindow : public CElementWindowBase {
public:
    explicit CPropertyCircleWindow(CDlgPropertyCircle& fields, QWidget* parent = nullptr);
    void accept() override;
    // The sweep edits follow "自动" / "自定义:"; the texture list follows the kind and the style.
    void OnArcModeClicked();
    void OnKindOrStyleClicked();

private:
    CDlgPropertyCircle& m_fields;
};

class CPropertySolidWindow : public CHxExchangeDialog {
public:
    explicit CPropertySolidWindow(CDlgPropertySolid& fields, QWidget* parent = nullptr);
    void accept() override;
    void OnStyleClicked();

private:
    CDlgPropertySolid& m_fields;
};

class CTraceWindow : public CHxExchangeDialog {
public:
    explicit CTraceWindow(CDlgTrace& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgTrace& m_fields;
};

class CProScaleLineWindow : public CHxExchangeDialog {
public:
    explicit CProScaleLineWindow(CDlgProScaleLine& fields, QWidget* parent = nullptr);
    void accept() override;
    // The spacing lists are chosen by hand only without "自动调整间距".
    void OnAutoClicked();
    // A spacing chosen: the other list's rule applied, with its message.
    void OnTickChosen(int index);
    void OnValueChosen(int index);

private:
    CDlgProScaleLine& m_fields;
};

class CPagePropertyWindow : public CHxExchangeDialog {
public:
    explicit CPagePropertyWindow(CDlgPageProperty& fields, QWidget* parent = nullptr);
    void accept() override;
    QSlider* Slider() const { return m_slider; }
    CColorPicker* ColorButton() const { return m_color; }

private:
    CDlgPageProperty& m_fields;
    QSlider* m_slider;
    CColorPicker* m_color;
};

// A picture's zoom factors; "恢复原始比例（1, 1）" shows 1 and 1 again.
class CImagePropyWindow : public CHxExchangeDialog {
public:
    explicit CImagePropyWindow(CDlgImagePropy& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgImagePropy& m_fields;
    bool m_restored = false; // "恢复原始比例（1, 1）" was pressed
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowPropertyPointDialog(CDialog& dialog);
INT_PTR HxShowPropertyLineDialog(CDialog& dialog);
INT_PTR HxShowPropertyFaceDialog(CDialog& dialog);
INT_PTR HxShowPropertyCircleDialog(CDialog& dialog);
INT_PTR HxShowPropertySolidDialog(CDialog& dialog);
INT_PTR HxShowTraceDialog(CDialog& dialog);
INT_PTR HxShowProScaleLineDialog(CDialog& dialog);
INT_PTR HxShowPagePropertyDialog(CDialog& dialog);
INT_PTR HxShowImagePropyDialog(CDialog& dialog);
