// The window of the surface dialog "曲面属性": the expressions with their calculation-dialog
// buttons, ranges and steps, the coordinate system (which names the expressions), the display mode,
// the examples, the texture and its mapping with their enabling rules.  It is the presenter of
// CDlgSurface.
#pragma once

#include "app/exchange_dialog.h"
#include "dynamics/surface_dialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

class CSurfaceWindow : public CHxExchangeDialog {
public:
    explicit CSurfaceWindow(CDlgSurface& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    // The fields from the controls as they stand (numbers that do not read keep the field's value).
    void ReadControls();
    // The controls from the fields.
    void Refresh();
    void ApplyLabels();
    void ApplyTextureRule();
    void EditExpression(int buttonId);
    void ChooseExample(int index);

    CDlgSurface& m_fields;
    QButtonGroup* m_system;
    QButtonGroup* m_display;
    QButtonGroup* m_mapping;
    QComboBox* m_examples;
    QComboBox* m_texture;
    QCheckBox* m_back;
};

INT_PTR HxShowSurfaceDialog(CDialog& dialog);
