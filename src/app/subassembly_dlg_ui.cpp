// The component dialog's window: layout, the opening and change rules applied to the controls, the
// preset materials posted to the view, the material editor, and the checked reading on OK.
#include "app/subassembly_dlg_ui.h"

#include "app/dialog_window.h"
#include "app/format_toolbar.h"
#include "app/light_editors.h"
#include "solids/subassembly.h"
#include "view/halvix_view.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

// The view takes the current material at once when one component is selected.
void PostMaterialChanged() {
    if (g_pView)
        g_pView->PostMessage(UM_MATERIAL_CHANGED);
}

} // namespace

CCreateSubaWindow::CCreateSubaWindow(CCreateSubaDlg& fields, QWidget* parent)
    : CHxExchangeDialog(CCreateSubaDlg::Title(), parent), m_fields(fields) {
    using D = CCreateSubaDlg;
    auto* layout = new QVBoxLayout(this);

    // Kind, text and font.
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(Text(u"图元类型"), this), 0, 0);
    m_kind = Add(D::kKindList, new QComboBox(this));
    for (const char16_t* name : g_subassemblyKindNames)
        m_kind->addItem(Text(name));
    top->addWidget(m_kind, 0, 1);
    top->addWidget(Add(D::kTextEdit, new QLineEdit(this)), 1, 0);
    m_font = Add(D::kFontCombo, new CFontComboBox(this));
    top->addWidget(m_font, 1, 1);
    layout->addLayout(top);

    // Centre, scale and axis.
    auto* placement = new QHBoxLayout;
    auto addTriple = [&](const char16_t* title, const int(&ids)[3]) {
        auto* box = new QGroupBox(Text(title), this);
        auto* grid = new QGridLayout(box);
        const char16_t* labels[3] = {u"X:", u"Y:", u"Z:"};
        for (int i = 0; i < 3; ++i) {
            grid->addWidget(new QLabel(Text(labels[i]), box), i, 0);
            grid->addWidget(AddNumberEdit(ids[i], 0.0f), i, 1);
        }
        placement->addWidget(box);
    };
    addTriple(u"中心", D::kCenterEdits);
    addTriple(u"尺度", D::kScaleEdits);
    addTriple(u"Z轴方向", D::kAxisEdits);
    layout->addLayout(placement);
    auto* spinRow = new QHBoxLayout;
    spinRow->addWidget(new QLabel(Text(u"转角"), this));
    spinRow->addWidget(AddNumberEdit(D::kSpinEdit, 0.0f));
    m_dragLock = Add(D::kDragLockCheck, new QCheckBox(Text(u"锁定拖移"), this));
    spinRow->addWidget(m_dragLock);
    spinRow->addStretch(1);
    layout->addLayout(spinRow);

    // Style and texture; colouring and material.
    auto* look = new QGridLayout;
    m_style = new QButtonGroup(this);
    auto* lit = Add(D::kStyleLitRadio, new QRadioButton(Text(u"光照处理"), this));
    auto* wire = Add(D::kStyleWireRadio, new QRadioButton(Text(u"线框模式"), this));
    m_style->addButton(lit, 0);
    m_style->addButton(wire, 1);
    look->addWidget(lit, 0, 0);
    look->addWidget(wire, 0, 1);
    m_texture = Add(D::kTextureList, new QComboBox(this));
    m_texture->addItem(Text(u"不使用"));
    for (int i = 1; i < kSubassemblyTextureChoices; ++i)
        m_texture->addItem(QStringLiteral("图%1").arg(i));
    look->addWidget(m_texture, 0, 2);
    m_coloring = new QButtonGroup(this);
    auto* own = Add(D::kColoringOwnRadio, new QRadioButton(Text(u"外颜色内银灰"), this));
    auto* defined = Add(D::kColoringMaterialRadio, new QRadioButton(Text(u"外定义内颜色"), this));
    m_coloring->addButton(own, 0);
    m_coloring->addButton(defined, 1);
    look->addWidget(own, 1, 0);
    look->addWidget(defined, 1, 1);
    m_material = Add(D::kMaterialList, new QComboBox(this));
    for (const char16_t* name : g_materialPresetNames)
        m_material->addItem(Text(name));
    look->addWidget(m_material, 1, 2);
    m_defineMaterial = Add(D::kMaterialButton, new QPushButton(Text(u"另定义材质"), this));
    look->addWidget(m_defineMaterial, 1, 3);
    layout->addLayout(look);

    // Clipping: a·x + b·y + c·z + d > 0 for each plane.
    auto* clipBox = new QGroupBox(Text(u"裁剪"), this);
    auto* clipGrid = new QGridLayout(clipBox);
    m_clip = Add(D::kClipCheck, new QCheckBox(Text(u"裁 剪"), clipBox));
    clipGrid->addWidget(m_clip, 0, 0);
    auto addPlane = [&](int row, QCheckBox*& check, int checkId, const char16_t* checkText,
                        const char16_t* label, const int(&ids)[4]) {
        check = Add(checkId, new QCheckBox(Text(checkText), clipBox));
        clipGrid->addWidget(check, row, 0);
        clipGrid->addWidget(new QLabel(Text(label), clipBox), row, 1);
        const char16_t* after[4] = {u"x+", u"y+", u"z+", u">0"};
        for (int i = 0; i < 4; ++i) {
            clipGrid->addWidget(AddNumberEdit(ids[i], 0.0f), row, 2 + 2 * i);
            clipGrid->addWidget(new QLabel(Text(after[i]), clipBox), row, 3 + 2 * i);
        }
    };
    addPlane(1, m_plane1, D::kPlane1Check, u"1# 面", u"1#:", D::kPlane1Edits);
    addPlane(2, m_plane2, D::kPlane2Check, u"2# 面", u"2#:", D::kPlane2Edits);
    layout->addWidget(clipBox);
    AddOkCancel(layout);

    // Opening.
    m_fields.OnOpen();
    m_font->FillFontList(m_fields.m_fontName, 10);
    PutFields();

    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            OnKindChanged();
    });
    connect(m_clip, &QCheckBox::toggled, this, [this] {
        if (!m_filling)
            OnClipToggled();
    });
    for (QCheckBox* plane : {m_plane1, m_plane2})
        connect(plane, &QCheckBox::toggled, this, [this] {
            if (!m_filling)
                OnPlaneToggled();
        });
    connect(m_material, &QComboBox::activated, this, [this] { OnMaterialChosen(); });
    connect(m_defineMaterial, &QPushButton::clicked, this, [this] { OnDefineMaterial(); });
    connect(m_coloring, &QButtonGroup::idClicked, this, [this] { OnColoringClicked(); });
    connect(m_style, &QButtonGroup::idClicked, this, [this] { OnStyleClicked(); });
}

void CCreateSubaWindow::PutFields() {
    using D = CCreateSubaDlg;
    m_filling = true;
    m_kind->setCurrentIndex(m_fields.m_kind);
    Edit(D::kTextEdit)->setText(m_fields.m_text.ToQString());
    m_font->SelectFontName(m_fields.m_fontName);
    if (m_font->isEditable() && m_font->CurrentFace() != m_fields.m_fontName)
        m_font->setEditText(m_fields.m_fontName.ToQString());
    for (int i = 0; i < 3; ++i) {
        SetFloat(D::kCenterEdits[i], m_fields.m_center[i]);
        SetFloat(D::kScaleEdits[i], m_fields.m_scale[i]);
        SetFloat(D::kAxisEdits[i], m_fields.m_axis[i]);
    }
    SetFloat(D::kSpinEdit, m_fields.m_spin);
    m_dragLock->setChecked(m_fields.m_dragLock != 0);
    SetRadioIndex(m_style, m_fields.m_style);
    m_texture->setCurrentIndex(m_fields.m_texture);
    SetRadioIndex(m_coloring, m_fields.m_coloring);
    m_material->setCurrentIndex(m_fields.m_material);
    m_clip->setChecked(m_fields.m_clip != 0);
    m_plane1->setChecked(m_fields.m_plane1On != 0);
    m_plane2->setChecked(m_fields.m_plane2On != 0);
    for (int i = 0; i < 4; ++i) {
        Edit(D::kPlane1Edits[i])->setText(DoubleText(m_fields.m_plane1[i]));
        Edit(D::kPlane2Edits[i])->setText(DoubleText(m_fields.m_plane2[i]));
    }
    m_filling = false;
    ApplyStates();
}

void CCreateSubaWindow::ApplyStates() {
    using D = CCreateSubaDlg;
    const D::CControlStates s = m_fields.States();
    m_font->setEnabled(s.fontEnabled);
    m_clip->setEnabled(s.clipEnabled);
    m_plane1->setVisible(s.planeChecksShown);
    m_plane2->setVisible(s.planeChecksShown);
    for (int i = 0; i < 4; ++i) {
        Edit(D::kPlane1Edits[i])->setEnabled(s.plane1EditsEnabled);
        Edit(D::kPlane2Edits[i])->setEnabled(s.plane2EditsEnabled);
    }
    m_texture->setEnabled(s.textureEnabled);
    m_material->setEnabled(s.materialEnabled);
    m_defineMaterial->setEnabled(s.materialEnabled);
}

void CCreateSubaWindow::TakeControls() {
    using D = CCreateSubaDlg;
    m_fields.m_kind = std::max(0, m_kind->currentIndex());
    m_fields.m_text = CString::FromQString(Edit(D::kTextEdit)->text());
    m_fields.m_fontName = m_font->CurrentFace();
    auto readFloat = [this](int id, float& value) { ParseFloat(Edit(id)->text(), value); };
    for (int i = 0; i < 3; ++i) {
        readFloat(D::kCenterEdits[i], m_fields.m_center[i]);
        readFloat(D::kScaleEdits[i], m_fields.m_scale[i]);
        readFloat(D::kAxisEdits[i], m_fields.m_axis[i]);
    }
    readFloat(D::kSpinEdit, m_fields.m_spin);
    m_fields.m_dragLock = m_dragLock->isChecked() ? 1 : 0;
    m_fields.m_style = std::max(0, RadioIndex(m_style));
    m_fields.m_texture = std::max(0, m_texture->currentIndex());
    m_fields.m_coloring = std::max(0, RadioIndex(m_coloring));
    m_fields.m_material = std::max(0, m_material->currentIndex());
    m_fields.m_clip = m_clip->isChecked() ? 1 : 0;
    m_fields.m_plane1On = m_plane1->isChecked() ? 1 : 0;
    m_fields.m_plane2On = m_plane2->isChecked() ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        ParseDouble(Edit(D::kPlane1Edits[i])->text(), m_fields.m_plane1[i]);
        ParseDouble(Edit(D::kPlane2Edits[i])->text(), m_fields.m_plane2[i]);
    }
}

bool CCreateSubaWindow::TakeNumbers() {
    using D = CCreateSubaDlg;
    float center[3], scale[3], axis[3], spin = 0.0f;
    double plane1[4], plane2[4];
    for (int i = 0; i < 3; ++i) {
        if (!GetFloat(D::kCenterEdits[i], center[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!GetFloat(D::kScaleEdits[i], scale[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (!GetFloat(D::kAxisEdits[i], axis[i]))
            return false;
    }
    if (!GetFloat(D::kSpinEdit, spin))
        return false;
    for (int i = 0; i < 4; ++i) {
        if (!GetDouble(D::kPlane1Edits[i], plane1[i]))
            return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!GetDouble(D::kPlane2Edits[i], plane2[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i) {
        m_fields.m_center[i] = center[i];
        m_fields.m_scale[i] = scale[i];
        m_fields.m_axis[i] = axis[i];
    }
    m_fields.m_spin = spin;
    for (int i = 0; i < 4; ++i) {
        m_fields.m_plane1[i] = plane1[i];
        m_fields.m_plane2[i] = plane2[i];
    }
    return true;
}

void CCreateSubaWindow::OnKindChanged() {
    TakeControls();
    m_fields.OnKindChanged(m_fields.m_kind);
    PutFields();
}

void CCreateSubaWindow::OnClipToggled() {
    TakeControls();
    ApplyStates();
}

void CCreateSubaWindow::OnPlaneToggled() {
    TakeControls();
    ApplyStates();
}

void CCreateSubaWindow::OnMaterialChosen() {
    TakeControls();
    if (HxApplyMaterialPreset(m_fields.m_material))
        PostMaterialChanged();
}

void CCreateSubaWindow::OnDefineMaterial() {
    TakeControls();
    // The editor applies its pages and tells the view itself.
    CMatEditor editor(this);
    editor.DoModal();
    PutFields();
}

void CCreateSubaWindow::OnColoringClicked() {
    TakeControls();
    ApplyStates();
}

void CCreateSubaWindow::OnStyleClicked() {
    TakeControls();
    ApplyStates();
}

void CCreateSubaWindow::accept() {
    if (!TakeNumbers())
        return;
    TakeControls();
    QDialog::accept();
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CCreateSubaDlg), [](CDialog& dialog) -> INT_PTR {
        auto* fields = dynamic_cast<CCreateSubaDlg*>(&dialog);
        if (!fields)
            return IDCANCEL;
        CCreateSubaWindow window(*fields, QApplication::activeWindow());
        return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
    return true;
}();
} // namespace
