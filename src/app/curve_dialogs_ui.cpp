// The curve and locus dialog windows: their layouts, the examples, the relabelling of the equation
// buttons with the coordinate system, the calculation dialog behind the equation and range buttons,
// the data exchange on OK, and their registration as presenters.
#include "app/curve_dialogs_ui.h"

#include "app/dialog_window.h"

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

#include <algorithm>
#include <initializer_list>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

const char16_t* const kDisplayNames[4] = {u"全实线", u"全虚线", u"仅实线", u"自动虚实"};

} // namespace

// ---------------------------------------------------------------------------------------------
// Curve

CCurveWindow::CCurveWindow(CDlgCurve& fields, QWidget* parent)
    : CHxExchangeDialog(u"曲线属性", parent), m_fields(fields) {
    using D = CDlgCurve;
    auto* layout = new QVBoxLayout(this);

    auto* systemBox = new QGroupBox(Text(u"坐标系"), this);
    auto* systemRow = new QHBoxLayout(systemBox);
    m_system = new QButtonGroup(this);
    const int systemIds[3] = {D::kCartesianButton, D::kSphericalButton, D::kCylindricalButton};
    const char16_t* systemNames[3] = {u"空间直角", u"球坐标系", u"柱坐标系"};
    for (int i = 0; i < 3; ++i) {
        auto* button = Add(systemIds[i], new QRadioButton(Text(systemNames[i]), systemBox));
        m_system->addButton(button, i);
        systemRow->addWidget(button);
    }
    layout->addWidget(systemBox);

    layout->addWidget(new QLabel(Text(u"单击左边按钮修改参数方程及参数t的范围："), this));
    auto* grid = new QGridLayout;
    const int buttonIds[5] = {D::kButtonX, D::kButtonY, D::kButtonZ, D::kButtonFrom, D::kButtonTo};
    const int editIds[5] = {D::kEditX, D::kEditY, D::kEditZ, D::kEditFrom, D::kEditTo};
    for (int i = 0; i < 5; ++i) {
        auto* button = Add(buttonIds[i], new QPushButton(this));
        button->setAutoDefault(false);
        auto* edit = Add(editIds[i], new QLineEdit(this));
        edit->setReadOnly(true);
        connect(button, &QPushButton::clicked, this, [this, i] { EditExpression(i); });
        if (i < 3) {
            grid->addWidget(button, i, 0);
            grid->addWidget(edit, i, 1, 1, 3);
        } else {
            grid->addWidget(button, 3, i == 3 ? 0 : 2);
            grid->addWidget(edit, 3, i == 3 ? 1 : 3);
        }
    }
    Button(D::kButtonFrom)->setText(Text(u"从"));
    Button(D::kButtonTo)->setText(Text(u"到"));
    layout->addLayout(grid);

    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(Text(u"精度（步长）："), this));
    stepRow->addWidget(AddNumberEdit(D::kEditStep, fields.m_step));
    layout->addLayout(stepRow);

    auto* displayBox = new QGroupBox(Text(u"显示方式"), this);
    auto* displayRow = new QHBoxLayout(displayBox);
    m_display = new QButtonGroup(this);
    const int displayIds[4] = {D::kOnTopButton, D::kOnTopDashedButton, D::kVisibleOnlyButton, D::kAutoButton};
    for (int i = 0; i < 4; ++i) {
        auto* button = Add(displayIds[i], new QRadioButton(Text(kDisplayNames[i]), displayBox));
        m_display->addButton(button, i);
        displayRow->addWidget(button);
    }
    layout->addWidget(displayBox);

    layout->addWidget(new QLabel(Text(u"相邻样本点的距离达到此值时曲线间断："), this));
    layout->addWidget(AddNumberEdit(D::kEditBreak, fields.m_breakDistance));

    auto* exampleRow = new QHBoxLayout;
    exampleRow->addWidget(new QLabel(Text(u"示例："), this));
    m_examples = Add(D::kExampleList, new QComboBox(this));
    for (int row = 0; row < D::kExampleCount; ++row)
        m_examples->addItem(Text(D::Example(row).name));
    m_examples->setCurrentIndex(-1);
    exampleRow->addWidget(m_examples, 1);
    layout->addLayout(exampleRow);
    AddOkCancel(layout);

    ShowFields();
    connect(m_system, &QButtonGroup::idClicked, this, [this] { Relabel(); });
    connect(m_examples, QOverload<int>::of(&QComboBox::activated), this,
            [this](int row) { ChooseExample(row); });
}

void CCurveWindow::Relabel() {
    using D = CDlgCurve;
    const int system = RadioIndex(m_system);
    const int ids[3] = {D::kButtonX, D::kButtonY, D::kButtonZ};
    for (int i = 0; i < 3; ++i)
        Button(ids[i])->setText(Text(D::EquationLabel(system < 0 ? 0 : system, i)));
}

void CCurveWindow::ReadFields() {
    using D = CDlgCurve;
    float value;
    if (ParseFloat(Edit(D::kEditStep)->text(), value))
        m_fields.m_step = value;
    if (ParseFloat(Edit(D::kEditBreak)->text(), value))
        m_fields.m_breakDistance = value;
    if (RadioIndex(m_system) >= 0)
        m_fields.m_system = RadioIndex(m_system);
    if (RadioIndex(m_display) >= 0)
        m_fields.m_display = RadioIndex(m_display);
}

void CCurveWindow::ShowFields() {
    using D = CDlgCurve;
    const int editIds[5] = {D::kEditX, D::kEditY, D::kEditZ, D::kEditFrom, D::kEditTo};
    for (int i = 0; i < 5; ++i)
        Edit(editIds[i])->setText(m_fields.m_texts[i].ToQString());
    SetFloat(D::kEditStep, m_fields.m_step);
    SetFloat(D::kEditBreak, m_fields.m_breakDistance);
    SetRadioIndex(m_system, m_fields.m_system);
    SetRadioIndex(m_display, m_fields.m_display);
    Relabel();
}

void CCurveWindow::ChooseExample(int row) {
    ReadFields();
    m_fields.ChooseExample(row);
    ShowFields();
}

void CCurveWindow::EditExpression(int which) {
    ReadFields();
    if (m_fields.EditExpression(which) == IDOK)
        ShowFields();
}

void CCurveWindow::accept() {
    using D = CDlgCurve;
    float step, breakDistance;
    if (!GetFloat(D::kEditStep, step, D::kLeastStep, D::kMostStep) || !GetFloat(D::kEditBreak, breakDistance))
        return;
    m_fields.m_step = step;
    m_fields.m_breakDistance = breakDistance;
    m_fields.m_system = std::max(0, RadioIndex(m_system));
    m_fields.m_display = std::max(0, RadioIndex(m_display));
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Locus

CLocusWindow::CLocusWindow(CDlgLocus& fields, QWidget* parent)
    : CHxExchangeDialog(u"轨迹属性", parent), m_fields(fields) {
    using D = CDlgLocus;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(u"说明"), this));
    layout->addWidget(AddDescription(D::kDescription, fields.m_description));

    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(new QLabel(Text(u"标签："), this));
    auto* label = Add(D::kEditLabel, new QLineEdit(fields.m_label.ToQString(), this));
    labelRow->addWidget(label, 1);
    auto* hidden = Add(D::kHiddenCheck, new QCheckBox(Text(u"隐藏对象"), this));
    hidden->setChecked(fields.m_hidden != FALSE);
    labelRow->addWidget(hidden);
    layout->addLayout(labelRow);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(Text(u"主动点参数范围："), this));
    rangeRow->addWidget(AddNumberEdit(D::kEditFrom, fields.m_from));
    rangeRow->addWidget(new QLabel(Text(u"，"), this));
    rangeRow->addWidget(AddNumberEdit(D::kEditTo, fields.m_to));
    layout->addLayout(rangeRow);

    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(Text(u"精度（参数增减步长）："), this));
    stepRow->addWidget(AddNumberEdit(D::kEditStep, fields.m_step));
    layout->addLayout(stepRow);

    auto* displayBox = new QGroupBox(Text(u"显示方式"), this);
    auto* displayRow = new QHBoxLayout(displayBox);
    m_display = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* button = Add(D::kDisplayButton + i, new QRadioButton(Text(kDisplayNames[i]), displayBox));
        m_display->addButton(button, i);
        displayRow->addWidget(button);
    }
    SetRadioIndex(m_display, fields.m_display);
    layout->addWidget(displayBox);

    layout->addWidget(new QLabel(Text(u"相邻样本点的距离达到此值时轨迹间断："), this));
    layout->addWidget(AddNumberEdit(D::kEditBreak, fields.m_breakDistance));
    AddOkCancel(layout);
}

void CLocusWindow::accept() {
    using D = CDlgLocus;
    float from, to, step, breakDistance;
    if (!GetFloat(D::kEditFrom, from) || !GetFloat(D::kEditTo, to) ||
        !GetFloat(D::kEditStep, step, D::kLeastStep, D::kMostStep) || !GetFloat(D::kEditBreak, breakDistance))
        return;
    m_fields.m_label = CString::FromQString(Edit(D::kEditLabel)->text());
    m_fields.m_hidden = static_cast<QCheckBox*>(Control(D::kHiddenCheck))->isChecked() ? TRUE : FALSE;
    m_fields.m_from = from;
    m_fields.m_to = to;
    m_fields.m_step = step;
    m_fields.m_display = std::max(0, RadioIndex(m_display));
    m_fields.m_breakDistance = breakDistance;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowCurveDialog(CDialog& dialog) {
    return Run<CCurveWindow, CDlgCurve>(dialog);
}

INT_PTR HxShowLocusDialog(CDialog& dialog) {
    return Run<CLocusWindow, CDlgLocus>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgCurve), HxShowCurveDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgLocus), HxShowLocusDialog);
    return true;
}();
} // namespace
