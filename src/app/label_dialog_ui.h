// The window of the label dialog "标签属性" of points, lines, faces and other objects: the name
// with a list of characters to insert, the colour button and the four check boxes.
#pragma once

#include "app/exchange_dialog.h"
#include "view/label_dialog.h"

class CColorPicker;

class CPropertyLabelWindow : public CHxExchangeDialog {
public:
    explicit CPropertyLabelWindow(CDlgPropertyLabel& fields, QWidget* parent = nullptr);
    void accept() override;
    // A character of the list put at the caret of the name (over its selection); the focus goes
    // back to the name.
    void InsertCharacter(int row);
    CColorPicker* ColorButton() const { return m_color; }

private:
    CDlgPropertyLabel& m_fields;
    CColorPicker* m_color;
};
