// The window of the slide import's dialog "从PPT导入文本" (CDlgPPT).
#pragma once

#include "app/exchange_dialog.h"
#include "view/slide_import.h"

// The source, the range of slides (1 to 100 each, a number outside refused with the dialog kept
// open), the conversion check box and the help text.
class CSlideImportWindow : public CHxExchangeDialog {
public:
    explicit CSlideImportWindow(CDlgPPT& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgPPT& m_fields;
};
