// The windows of the three view-button dialogs ("视旋转按钮", "视平移按钮", "视缩放按钮"): the
// view values, the play settings with the interval shown only where it applies, and the fields
// written back on OK once every number reads.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "dynamics/view_button_dialogs.h"

class QButtonGroup;
class QGridLayout;
class QLabel;

class CViewButtonWindow : public CHxExchangeDialog {
public:
    void accept() override;

protected:
    CViewButtonWindow(CDlgViewButton& fields, const char16_t* title, QWidget* parent);
    // The caption row first; the subclass adds its values; then the play rows and OK, Cancel.
    void AddCaptionRow();
    void FinishLayout();
    // The subclass's values read back; false (after the refusal) when one does not read.
    virtual bool ReadValues() = 0;
    // Shows or hides the interval by the direction and repetition chosen.
    void ApplyIntervalRule();

    CDlgViewButton& m_base;
    QGridLayout* m_grid;
    int m_row = 0;

private:
    QButtonGroup* m_direction = nullptr;
    QButtonGroup* m_repeat = nullptr;
};

class CViewRotateWindow : public CViewButtonWindow {
public:
    explicit CViewRotateWindow(CDlgViewRotate& fields, QWidget* parent = nullptr);

private:
    bool ReadValues() override;
    CDlgViewRotate& m_fields;
};

class CViewTransWindow : public CViewButtonWindow {
public:
    explicit CViewTransWindow(CDlgViewTrans& fields, QWidget* parent = nullptr);

private:
    bool ReadValues() override;
    CDlgViewTrans& m_fields;
};

class CViewScaleWindow : public CViewButtonWindow {
public:
    explicit CViewScaleWindow(CDlgViewScale& fields, QWidget* parent = nullptr);

private:
    bool ReadValues() override;
    CDlgViewScale& m_fields;
};

INT_PTR HxShowViewRotateDialog(CDialog& dialog);
INT_PTR HxShowViewTransDialog(CDialog& dialog);
INT_PTR HxShowViewScaleDialog(CDialog& dialog);
