// The window of the component dialog ("组件属性"): its controls, the enabling rules of the fields
// class applied to them as the choices change, the preset materials and the material editor, and the
// fields written back on OK once every number reads.  It is the presenter of CCreateSubaDlg.
#pragma once

#include "app/exchange_dialog.h"
#include "solids/subassembly_dlg.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class CFontComboBox;

class CCreateSubaWindow : public CHxExchangeDialog {
public:
    explicit CCreateSubaWindow(CCreateSubaDlg& fields, QWidget* parent = nullptr);
    void accept() override;

    QComboBox* KindList() const { return m_kind; }
    CFontComboBox* FontCombo() const { return m_font; }
    QComboBox* TextureList() const { return m_texture; }
    QComboBox* MaterialList() const { return m_material; }
    QButtonGroup* StyleGroup() const { return m_style; }
    QButtonGroup* ColoringGroup() const { return m_coloring; }

    // The handlers of the controls (each takes the controls' values first).
    void OnKindChanged();
    void OnClipToggled();
    void OnPlaneToggled();
    void OnMaterialChosen();
    void OnDefineMaterial();
    void OnColoringClicked();
    void OnStyleClicked();

private:
    // The fields into the controls, and the controls' enabled and shown states from the fields.
    void PutFields();
    void ApplyStates();
    // The controls' values into the fields; a number that does not read leaves its field (the checked
    // reading on OK reports it).
    void TakeControls();
    bool TakeNumbers();

    CCreateSubaDlg& m_fields;
    QComboBox* m_kind = nullptr;
    CFontComboBox* m_font = nullptr;
    QComboBox* m_texture = nullptr;
    QComboBox* m_material = nullptr;
    QButtonGroup* m_style = nullptr;
    QButtonGroup* m_coloring = nullptr;
    QCheckBox* m_dragLock = nullptr;
    QCheckBox* m_clip = nullptr;
    QCheckBox* m_plane1 = nullptr;
    QCheckBox* m_plane2 = nullptr;
    QPushButton* m_defineMaterial = nullptr;
    bool m_filling = false;
};
