// The surface dialog window: its layout, the rules that name the expressions and enable the texture
// controls, the examples, the expression buttons, the data exchange on OK and its registration as the
// presenter of CDlgSurface.
#include "app/surface_dialog_ui.h"

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

namespace {

using HxDialogUi::Text;

using D = CDlgSurface;

QButtonGroup* RadioGroup(CHxExchangeDialog* owner, QGroupBox* box,
                         std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    auto* line = new QHBoxLayout(box);
    int i = 0;
    for (QRadioButton* b : buttons) {
        group->addButton(b, i++);
        line->addWidget(b);
    }
    line->addStretch(1);
    return group;
}

} // namespace

CSurfaceWindow::CSurfaceWindow(CDlgSurface& fields, QWidget* parent)
    : CHxExchangeDialog(u"曲面属性", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(u"单击左边按钮修改参数方程及参数范围："), this));

    // The three expressions.
    auto* grid = new QGridLayout;
    const char16_t* initial[3] = {u"x[ρ](u,v)=", u"y[θ](u,v)=", u"z[φ](u,v)="};
    for (int i = 0; i < 3; ++i) {
        auto* button = Add(D::kButtons[i], new QPushButton(Text(initial[i]), this));
        grid->addWidget(button, i, 0);
        grid->addWidget(Add(D::kEdits[i], new QLineEdit(this)), i, 1, 1, 5);
    }
    // The ranges and steps.
    const char16_t* rangeLabels[4] = {u"u:从", u"到", u"v:从", u"到"};
    const int stepIds[2] = {D::kUStep, D::kVStep};
    const char16_t* stepLabels[2] = {u"精度（参数u增减步长）：", u"精度（参数v增减步长）："};
    for (int r = 0; r < 2; ++r) {
        const int row = 3 + r;
        for (int k = 0; k < 2; ++k) {
            const int i = 3 + 2 * r + k;
            grid->addWidget(Add(D::kButtons[i], new QPushButton(Text(rangeLabels[2 * r + k]), this)), row,
                            2 * k);
            auto* edit = Add(D::kEdits[i], new QLineEdit(this));
            edit->setMaximumWidth(110);
            grid->addWidget(edit, row, 2 * k + 1);
        }
        grid->addWidget(new QLabel(Text(stepLabels[r]), this), row, 4, Qt::AlignRight);
        grid->addWidget(AddNumberEdit(stepIds[r], QString()), row, 5);
    }
    layout->addLayout(grid);
    for (int i = 0; i < 7; ++i) {
        const int id = D::kButtons[i];
        connect(Button(id), &QAbstractButton::clicked, this, [this, id] { EditExpression(id); });
    }

    // Coordinate system and display mode.
    auto* choices = new QHBoxLayout;
    auto* systemBox = new QGroupBox(Text(u"坐标系"), this);
    m_system = RadioGroup(this, systemBox,
                          {Add(D::kCartesian, new QRadioButton(Text(u"空间直角"), this)),
                           Add(D::kSpherical, new QRadioButton(Text(u"球坐标系"), this)),
                           Add(D::kCylindrical, new QRadioButton(Text(u"柱坐标系"), this))});
    auto* displayBox = new QGroupBox(Text(u"显示方式"), this);
    m_display = RadioGroup(this, displayBox,
                           {Add(D::kLit, new QRadioButton(Text(u"光照模式"), this)),
                            Add(D::kTranslucent, new QRadioButton(Text(u"半透明材质"), this)),
                            Add(D::kWire, new QRadioButton(Text(u"线框模式"), this))});
    choices->addWidget(systemBox);
    choices->addWidget(displayBox);
    layout->addLayout(choices);

    // Examples and texture.
    auto* lists = new QHBoxLayout;
    lists->addWidget(new QLabel(Text(u"曲面示例："), this));
    m_examples = Add(D::kExampleList, new QComboBox(this));
    for (const D::CExample& e : D::kExamples)
        m_examples->addItem(Text(e.name));
    lists->addWidget(m_examples);
    lists->addSpacing(16);
    lists->addWidget(new QLabel(Text(u"选择正面纹理"), this));
    m_texture = Add(D::kTexture, new QComboBox(this));
    m_texture->addItem(Text(u"不使用"));
    for (int k = 1; k < D::kTextureChoices; ++k)
        m_texture->addItem(QStringLiteral("图%1").arg(k));
    lists->addWidget(m_texture);
    lists->addStretch(1);
    layout->addLayout(lists);
    m_back = Add(D::kBackTexture,
                 new QCheckBox(Text(u"两面纹理不同：正面非3号时反面为3号；正面为3号反面无"), this));
    layout->addWidget(m_back);

    auto* mappingBox = new QGroupBox(Text(u"纹理坐标"), this);
    auto* mappingGrid = new QGridLayout(mappingBox);
    auto* automatic = Add(D::kAutomatic, new QRadioButton(Text(u"自动映射"), this));
    auto* defined = Add(D::kDefined, new QRadioButton(Text(u"定义变换："), this));
    m_mapping = new QButtonGroup(this);
    m_mapping->addButton(automatic, 0);
    m_mapping->addButton(defined, 1);
    mappingGrid->addWidget(automatic, 0, 0);
    mappingGrid->addWidget(defined, 1, 0);
    const int coefficientIds[2][2] = {{D::kSScale, D::kSOffset}, {D::kTScale, D::kTOffset}};
    const char16_t* before[2] = {u"s=", u"t="};
    const char16_t* middle[2] = {u"*u+", u"*v+"};
    for (int r = 0; r < 2; ++r) {
        mappingGrid->addWidget(new QLabel(Text(before[r]), this), r, 1, Qt::AlignRight);
        mappingGrid->addWidget(AddNumberEdit(coefficientIds[r][0], QString()), r, 2);
        mappingGrid->addWidget(new QLabel(Text(middle[r]), this), r, 3);
        mappingGrid->addWidget(AddNumberEdit(coefficientIds[r][1], QString()), r, 4);
    }
    layout->addWidget(mappingBox);
    AddOkCancel(layout);

    Refresh();
    connect(m_system, &QButtonGroup::idClicked, this, [this] { ApplyLabels(); });
    connect(m_display, &QButtonGroup::idClicked, this, [this] { ApplyTextureRule(); });
    connect(m_mapping, &QButtonGroup::idClicked, this, [this] { ApplyTextureRule(); });
    connect(m_texture, &QComboBox::currentIndexChanged, this, [this] { ApplyTextureRule(); });
    connect(m_examples, &QComboBox::activated, this, [this](int index) { ChooseExample(index); });
}

void CSurfaceWindow::ReadControls() {
    for (int i = 0; i < 7; ++i)
        *m_fields.TextOf(D::kEdits[i]) = CString::FromQString(Edit(D::kEdits[i])->text());
    auto readDouble = [this](int id, double& field) {
        double v = 0.0;
        if (ParseDouble(Edit(id)->text(), v))
            field = v;
    };
    readDouble(D::kUStep, m_fields.m_uStep);
    readDouble(D::kVStep, m_fields.m_vStep);
    readDouble(D::kSScale, m_fields.m_sScale);
    readDouble(D::kSOffset, m_fields.m_sOffset);
    readDouble(D::kTScale, m_fields.m_tScale);
    readDouble(D::kTOffset, m_fields.m_tOffset);
    m_fields.m_system = RadioIndex(m_system);
    m_fields.m_displayMode = RadioIndex(m_display);
    m_fields.m_mapping = RadioIndex(m_mapping);
    m_fields.m_texture = m_texture->currentIndex();
    m_fields.m_back = m_back->isChecked() ? TRUE : FALSE;
    m_fields.m_example = m_examples->currentIndex();
}

void CSurfaceWindow::Refresh() {
    for (int i = 0; i < 7; ++i)
        Edit(D::kEdits[i])->setText(m_fields.TextOf(D::kEdits[i])->ToQString());
    Edit(D::kUStep)->setText(DoubleText(m_fields.m_uStep));
    Edit(D::kVStep)->setText(DoubleText(m_fields.m_vStep));
    Edit(D::kSScale)->setText(DoubleText(m_fields.m_sScale));
    Edit(D::kSOffset)->setText(DoubleText(m_fields.m_sOffset));
    Edit(D::kTScale)->setText(DoubleText(m_fields.m_tScale));
    Edit(D::kTOffset)->setText(DoubleText(m_fields.m_tOffset));
    SetRadioIndex(m_system, m_fields.m_system);
    SetRadioIndex(m_display, m_fields.m_displayMode);
    SetRadioIndex(m_mapping, m_fields.m_mapping);
    {
        const QSignalBlocker block(m_texture);
        m_texture->setCurrentIndex(m_fields.m_texture);
    }
    m_back->setChecked(m_fields.m_back != FALSE);
    m_examples->setCurrentIndex(m_fields.m_example);
    ApplyLabels();
    ApplyTextureRule();
}

void CSurfaceWindow::ApplyLabels() {
    const char16_t* labels[3];
    D::ExpressionLabels(RadioIndex(m_system), labels);
    for (int i = 0; i < 3; ++i)
        Button(D::kButtons[i])->setText(Text(labels[i]));
}

void CSurfaceWindow::ApplyTextureRule() {
    const D::CTextureEnabling on =
        D::TextureEnabling(RadioIndex(m_display), m_texture->currentIndex(), RadioIndex(m_mapping));
    m_texture->setEnabled(on.texture);
    m_back->setEnabled(on.back);
    Button(D::kAutomatic)->setEnabled(on.mapping);
    Button(D::kDefined)->setEnabled(on.mapping);
    for (int id : {D::kSScale, D::kSOffset, D::kTScale, D::kTOffset})
        Edit(id)->setEnabled(on.coefficients);
}

void CSurfaceWindow::EditExpression(int buttonId) {
    ReadControls();
    if (m_fields.EditExpression(buttonId)) {
        const CString* text = m_fields.TextOf(buttonId);
        for (int i = 0; i < 7; ++i) {
            if (D::kButtons[i] == buttonId)
                Edit(D::kEdits[i])->setText(text->ToQString());
        }
    }
}

void CSurfaceWindow::ChooseExample(int index) {
    ReadControls();
    m_fields.ApplyExample(index);
    Refresh();
}

void CSurfaceWindow::accept() {
    double uStep = 0.0, vStep = 0.0, coefficients[4] = {0.0, 0.0, 0.0, 0.0};
    if (!GetDouble(D::kUStep, uStep, D::kLeastStep, D::kMostStep) ||
        !GetDouble(D::kVStep, vStep, D::kLeastStep, D::kMostStep))
        return;
    const int ids[4] = {D::kSScale, D::kSOffset, D::kTScale, D::kTOffset};
    for (int i = 0; i < 4; ++i) {
        if (!GetDouble(ids[i], coefficients[i]))
            return;
    }
    ReadControls();
    m_fields.m_uStep = uStep;
    m_fields.m_vStep = vStep;
    m_fields.m_sScale = coefficients[0];
    m_fields.m_sOffset = coefficients[1];
    m_fields.m_tScale = coefficients[2];
    m_fields.m_tOffset = coefficients[3];
    QDialog::accept();
}

INT_PTR HxShowSurfaceDialog(CDialog& dialog) {
    auto* fields = dynamic_cast<CDlgSurface*>(&dialog);
    if (!fields)
        return IDCANCEL;
    CSurfaceWindow window(*fields, QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgSurface), HxShowSurfaceDialog);
    return true;
}();
} // namespace
