// The slider pages of the light and material editors, and the two sheets that load them from and copy
// them back into the light and the current material.
#include "app/light_editors.h"

#include "app/exchange_dialog.h"
#include "view/gl_context.h"
#include "view/halvix_view.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QString Format(const char16_t* format, double value) {
    return CString(HxFormat(format, value)).ToQString();
}

// The page posts to its sheet when applied.
void PostToSheet(CPropertyPage* page) {
    if (page->m_pSheet)
        page->m_pSheet->PostMessage(UM_MATERIAL_CHANGED);
}

void CopyVector(float to[4], const float from[4]) {
    std::copy(from, from + 4, to);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Slider pages

CSliderPage::CSliderPage(const CString& caption, const CScale& scale)
    : CPropertyPage(caption), m_openingFormat(scale.openingFormat), m_movedFormat(scale.movedFormat) {
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf16(scale.labels[i]), this), i, 0);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::number(scale.sliderIds[i]));
        slider->setRange(0, scale.maximum);
        slider->setTickInterval(scale.tick);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setPageStep(100);
        slider->setMinimumWidth(220);
        grid->addWidget(slider, i, 1);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(scale.editIds[i]));
        edit->setReadOnly(true);
        edit->setMaximumWidth(80);
        grid->addWidget(edit, i, 2);
        m_sliders[i] = slider;
        m_edits[i] = edit;
        connect(edit, &QLineEdit::textChanged, this, [this] { SetModified(true); });
        connect(slider, &QSlider::valueChanged, this, [this, i](int p) { OnSliderMoved(i, p); });
    }
    grid->setRowStretch(3, 1);
}

void CSliderPage::OnInitPage() {
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_sliders[i]);
        m_sliders[i]->setValue(ToPosition(m_value[i]));
        m_edits[i]->setText(Format(m_openingFormat, m_value[i]));
    }
}

void CSliderPage::OnSliderMoved(int i, int position) {
    m_value[i] = FromPosition(position);
    m_edits[i]->setText(Format(m_movedFormat, m_value[i]));
}

void CSliderPage::OnApply() {
    PostToSheet(this);
    CPropertyPage::OnApply();
}

CEditor::CEditor(const CString& caption)
    : CSliderPage(caption, {{u"红", u"绿", u"蓝"},
                            {kSliders[0], kSliders[1], kSliders[2]},
                            {kEdits[0], kEdits[1], kEdits[2]},
                            1000,
                            100,
                            u"%.2f",
                            u"%.2f"}) {}

CEditPos::CEditPos()
    : CSliderPage(u"光源位置", {{u"X:", u"Y:", u"Z:"},
                                {kSliders[0], kSliders[1], kSliders[2]},
                                {kEdits[0], kEdits[1], kEdits[2]},
                                2000,
                                200,
                                u"%.1f",
                                u"%.2f"}) {}

// ---------------------------------------------------------------------------------------------
// Shininess page

CShineEdit::CShineEdit() : CPropertyPage(u"亮度") {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("亮度值"), this));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QString::number(kEdit));
    m_edit->setMaximumWidth(80);
    row->addWidget(m_edit);
    auto* spin = new QWidget(this);
    spin->setObjectName(QString::number(kSpin));
    auto* spinLayout = new QVBoxLayout(spin);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->setSpacing(0);
    m_up = new QToolButton(spin);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(spin);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
        spinLayout->addWidget(b);
    }
    row->addWidget(spin);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("材质的亮度值可以从0到128"), this));
    layout->addStretch(1);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(m_edit, &QLineEdit::textChanged, this, [this] { SetModified(true); });
}

void CShineEdit::OnInitPage() {
    const QSignalBlocker block(m_edit);
    m_edit->setText(QString::number(m_value));
}

void CShineEdit::Step(int delta) {
    // The spin buttons work from what the edit shows; an unreadable text starts from the value kept.
    int value = m_value;
    CHxExchangeDialog::ParseInt(m_edit->text(), value);
    value = std::clamp(value + delta, 0, 128);
    m_edit->setText(QString::number(value));
}

bool CShineEdit::OnKillActive() {
    int value = 0;
    QString message;
    if (!CHxExchangeDialog::ParseInt(m_edit->text(), value))
        message = QString::fromUtf16(CHxExchangeDialog::kNotAnInteger);
    else if (value < 0 || value > 128)
        message = CString(HxFormat(u"请输入一个在 %d 和 %d 之间的整数。", 0, 128)).ToQString();
    if (!message.isEmpty()) {
        AfxMessageBox(CString::FromQString(message), MB_OK | MB_ICONEXCLAMATION);
        m_edit->setFocus();
        m_edit->selectAll();
        return false;
    }
    m_value = value;
    return true;
}

void CShineEdit::OnApply() {
    PostToSheet(this);
    CPropertyPage::OnApply();
}

// ---------------------------------------------------------------------------------------------
// Sheets

CLightEditor::CLightEditor(CHalvixView* view, QWidget* parent)
    : CPropertySheet(u"灯光属性", parent), m_ambient(new CEditor(u"环境光")),
      m_diffuse(new CEditor(u"散射光")), m_specular(new CEditor(u"镜面光")), m_position(new CEditPos),
      m_pView(view) {
    AddPage(m_ambient);
    AddPage(m_diffuse);
    AddPage(m_specular);
    AddPage(m_position);
    OnMessageId(UM_MATERIAL_CHANGED, &CLightEditor::OnMaterialChanged);
}

void CLightEditor::OnInitDialog() {
    CopyVector(m_ambient->m_value, g_lightAmbient);
    CopyVector(m_diffuse->m_value, g_lightDiffuse);
    CopyVector(m_specular->m_value, g_lightSpecular);
    CopyVector(m_position->m_value, g_lightPosition);
}

LRESULT CLightEditor::OnMaterialChanged(WPARAM, LPARAM) {
    CopyVector(g_lightAmbient, m_ambient->m_value);
    CopyVector(g_lightDiffuse, m_diffuse->m_value);
    CopyVector(g_lightSpecular, m_specular->m_value);
    CopyVector(g_lightPosition, m_position->m_value);
    if (m_pView && m_pView->MakeContextCurrent())
        HxApplyLightToGl();
    if (m_pView)
        m_pView->RenderScene();
    return 0;
}

CMatEditor::CMatEditor(QWidget* parent)
    : CPropertySheet(u"材质属性", parent), m_ambient(new CEditor(u"环境光")),
      m_diffuse(new CEditor(u"散射光")), m_specular(new CEditor(u"镜面光")), m_shine(new CShineEdit),
      m_pViewWnd(g_pView) {
    AddPage(m_ambient);
    AddPage(m_diffuse);
    AddPage(m_specular);
    AddPage(m_shine);
    OnMessageId(UM_MATERIAL_CHANGED, &CMatEditor::OnMaterialChanged);
}

void CMatEditor::OnInitDialog() {
    CopyVector(m_ambient->m_value, g_materialAmbient);
    CopyVector(m_diffuse->m_value, g_materialDiffuse);
    CopyVector(m_specular->m_value, g_materialSpecular);
    m_shine->m_value = int(g_materialShininess);
}

LRESULT CMatEditor::OnMaterialChanged(WPARAM, LPARAM) {
    CopyVector(g_materialAmbient, m_ambient->m_value);
    CopyVector(g_materialDiffuse, m_diffuse->m_value);
    CopyVector(g_materialSpecular, m_specular->m_value);
    g_materialShininess = float(m_shine->m_value);
    if (m_pViewWnd)
        m_pViewWnd->PostMessage(UM_MATERIAL_CHANGED);
    return 0;
}
