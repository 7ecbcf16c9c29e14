// The light and material editors: property sheets of slider pages.  CLightEditor ("灯光属性") edits
// OpenGL light 0 (ambient, diffuse, specular colour and position); CMatEditor ("材质属性") edits the
// current material of lit components (three colours and the shininess).  Each page posts
// UM_MATERIAL_CHANGED to its sheet when applied; the sheet then copies the pages back.
#pragma once

#include "app/property_sheet.h"
#include "model/model_globals.h"

class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;
class CHalvixView;

// Three values on sliders with read-only edits beside them; the fourth value stays as loaded.  The
// pages differ in how a value sits on its slider and how its text is written.
class CSliderPage : public CPropertyPage {
public:
    void OnInitPage() override;
    // The values take effect: UM_MATERIAL_CHANGED posted to the sheet.
    void OnApply() override;
    QSlider* Slider(int i) const { return m_sliders[i]; }
    QLineEdit* Edit(int i) const { return m_edits[i]; }
    // A slider moved to a position (what dragging it does).
    void OnSliderMoved(int i, int position);

    float m_value[4] = {0.0f, 0.0f, 0.0f, 1.0f};

protected:
    struct CScale {
        const char16_t* labels[3];
        int sliderIds[3];
        int editIds[3];
        int maximum;
        int tick;
        const char16_t* openingFormat; // the texts as the page opens
        const char16_t* movedFormat;   // after a slider move
    };
    CSliderPage(const CString& caption, const CScale& scale);
    virtual int ToPosition(float value) const = 0;
    virtual float FromPosition(int position) const = 0;

private:
    const char16_t* m_openingFormat;
    const char16_t* m_movedFormat;
    QSlider* m_sliders[3] = {};
    QLineEdit* m_edits[3] = {};
};

// A colour: red, green and blue on sliders of 0 to 1000 (value x 1000, truncated), shown "%.2f".
class CEditor : public CSliderPage {
public:
    enum { IDD = 247 };
    static constexpr int kSliders[3] = {1239, 1232, 1233};
    static constexpr int kEdits[3] = {1236, 1237, 1238};
    explicit CEditor(const CString& caption);

protected:
    int ToPosition(float value) const override { return int(value * 1000.0f); }
    float FromPosition(int position) const override { return float(position) / 1000.0f; }
};

// The light's position: x, y, z on sliders of 0 to 2000 (value + 1000), shown "%.1f" at first and
// "%.2f" once moved.
class CEditPos : public CSliderPage {
public:
    enum { IDD = 249 };
    static constexpr int kSliders[3] = {1212, 1213, 1214};
    static constexpr int kEdits[3] = {1215, 1216, 1217};
    CEditPos();

protected:
    int ToPosition(float value) const override { return int(value + 1000.0f); }
    float FromPosition(int position) const override { return float(position - 1000); }
};

// The shininess, a whole number from 0 to 128, typed or stepped.
class CShineEdit : public CPropertyPage {
public:
    enum { IDD = 350 };
    static constexpr int kEdit = 1283;
    static constexpr int kSpin = 1284;
    CShineEdit();

    void OnInitPage() override;
    // The typed number, refused with the range message outside 0 to 128.
    bool OnKillActive() override;
    void OnApply() override;
    QLineEdit* Edit() const { return m_edit; }
    // One step of the spin buttons (+1 or -1), kept within 0 to 128.
    void Step(int delta);

    int m_value = 0;

private:
    QLineEdit* m_edit = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};

class CLightEditor : public CPropertySheet {
public:
    // The view is repainted after each apply (null: none).
    explicit CLightEditor(CHalvixView* view, QWidget* parent = nullptr);

    CEditor* m_ambient;
    CEditor* m_diffuse;
    CEditor* m_specular;
    CEditPos* m_position;
    CHalvixView* m_pView;

protected:
    void OnInitDialog() override; // the pages from g_lightAmbient ... g_lightPosition

private:
    // The pages back into the light, light 0 set, the view repainted.
    LRESULT OnMaterialChanged(WPARAM, LPARAM);
};

class CMatEditor : public CPropertySheet {
public:
    explicit CMatEditor(QWidget* parent = nullptr);

    CEditor* m_ambient;
    CEditor* m_diffuse;
    CEditor* m_specular;
    CShineEdit* m_shine;
    // Where UM_MATERIAL_CHANGED goes after the pages are copied back: the drawing view by default.
    CWnd* m_pViewWnd;

protected:
    void OnInitDialog() override; // the pages from g_materialAmbient ... g_materialShininess

private:
    // The pages back into the current material, then UM_MATERIAL_CHANGED posted to the view.
    LRESULT OnMaterialChanged(WPARAM, LPARAM);
};
