// The window of the positioning-figure dialog "添加定位图": the type box, the sizes, centre and axis,
// the fields each type uses enabled, a typed type box turned into the cube of edge 10, and the ranges
// OK enforces before it writes the fields back.
#pragma once

#include "app/exchange_dialog.h"
#include "construct/static_figure_dialog.h"

class QComboBox;

class CStaticHalvixWindow : public CHxExchangeDialog {
public:
    explicit CStaticHalvixWindow(CDlgStaticHalvix& fields, QWidget* parent = nullptr);
    void accept() override;

    QComboBox* TypeBox() const { return m_type; }

private:
    // Enables the size and axis fields the type uses and disables the others.
    void ApplyType(int type);
    // The type box was typed into: it shows the cube of edge 10, which uses no field.
    void OnTypeTyped();

    CDlgStaticHalvix& m_fields;
    QComboBox* m_type;
    bool m_settingText = false;
};

// The presenter: runs the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowStaticHalvixDialog(CDialog& dialog);
