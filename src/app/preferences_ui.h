// The window of the preferences dialog "首选项", and the preferences service of the view: the dialog
// run over the program's window, its values applied after OK.
#pragma once

#include "app/exchange_dialog.h"
#include "app/preferences.h"

class CColorPicker;
class CFontComboBox;
class CHalvixDoc;
class CHalvixView;
class QComboBox;

class CPreferencesWindow : public CHxExchangeDialog {
public:
    // The view (null: none) is what "立即修改" and the light editor repaint.
    CPreferencesWindow(CDlgPreferonces& fields, CHalvixView* view, QWidget* parent = nullptr);

    // The controls into the fields (false, with the dialog kept open, when a number is refused), and
    // the fields into the controls.
    bool ReadControls();
    void FillControls();
    void accept() override;

    void OnPreset(int preset);
    // "设置灯光属性": the light editor on the light globals.
    void OnLight();
    // "立即修改": the values applied now, the fonts rebuilt when they changed, and the document's
    // objects recoloured (on the current page only, or on every page).
    void OnApplyNow();

    CColorPicker* ColorButton(int index) const { return m_colors[index]; }
    // The document "立即修改" recolours: the view's unless set.
    void SetDocument(CHalvixDoc* doc) { m_doc = doc; }

private:
    CDlgPreferonces& m_fields;
    CHalvixView* m_view;
    CHalvixDoc* m_doc = nullptr;
    CColorPicker* m_colors[CDlgPreferonces::kColorCount];
    CFontComboBox* m_labelFont;
    CFontComboBox* m_measureFont;
    QComboBox* m_labelSize;
    QComboBox* m_measureSize;
};

// What the view's preferences command runs: 0 cancelled, 1 accepted, 2 accepted with other fonts.
int HxRunPreferences();
