// The window of the 3DS model's properties ("3ds模型属性"): the file shown, the centre, the scale, the
// display mode and the hidden flag, written back on OK once every number reads; the presenter of
// CDlg3ds.
#pragma once

#include "app/exchange_dialog.h"
#include "solids/model3ds.h"

class QButtonGroup;
class QCheckBox;

class CModel3dsWindow : public CHxExchangeDialog {
public:
    explicit CModel3dsWindow(CDlg3ds& fields, QWidget* parent = nullptr);
    void accept() override;
    QButtonGroup* ModeGroup() const { return m_mode; }

private:
    CDlg3ds& m_fields;
    QButtonGroup* m_mode;
    QCheckBox* m_hide;
};

// Runs the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowModel3dsDialog(CDialog& dialog);
