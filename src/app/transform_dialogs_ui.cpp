// The transform dialog windows: their layouts, enabling rules and data exchange, and their
// registration as the presenters of the dialog classes.
#include "app/transform_dialogs_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void EnableAll(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets) {
        if (w)
            w->setEnabled(on);
    }
}

// Runs a window over the application's active window.
} // namespace

// ---------------------------------------------------------------------------------------------
// Translate

CTransTranslateWindow::CTransTranslateWindow(CDlgTransTranslate& fields, QWidget* parent)
    : CHxExchangeDialog(u"平移", parent), m_fields(fields) {
    using D = CDlgTransTranslate;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_choice = new QButtonGroup(this);
    auto* marked = Add(D::kMarkedButton, new QRadioButton(Text(u"标志向量"), this));
    auto* fixed = Add(D::kFixedButton, new QRadioButton(Text(u"固定向量"), this));
    m_choice->addButton(marked, 0);
    m_choice->addButton(fixed, 1);
    grid->addWidget(marked, 0, 0);
    grid->addWidget(AddDescription(D::kMarkedText, fields.m_vectorText), 0, 1, 1, 6);
    grid->addWidget(fixed, 1, 0);
    const float values[3] = {fields.m_x, fields.m_y, fields.m_z};
    const int ids[3] = {D::kEditX, D::kEditY, D::kEditZ};
    const char16_t* labels[3] = {u"x:", u"y:", u"z:"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(Text(labels[i]), this), 1, 1 + 2 * i, Qt::AlignRight);
        grid->addWidget(AddNumberEdit(ids[i], values[i]), 1, 2 + 2 * i);
    }
    layout->addLayout(grid);
    AddOkCancel(layout);

    SetRadioIndex(m_choice, fields.m_choice);
    if (fields.m_choice != 0)
        marked->setEnabled(false);
    else
        ApplyChoice(0);
    connect(marked, &QAbstractButton::clicked, this, [this] { ApplyChoice(0); });
    connect(fixed, &QAbstractButton::clicked, this, [this] { ApplyChoice(1); });
}

void CTransTranslateWindow::ApplyChoice(int choice) {
    using D = CDlgTransTranslate;
    EnableAll({Edit(D::kEditX), Edit(D::kEditY), Edit(D::kEditZ)}, choice != 0);
}

void CTransTranslateWindow::accept() {
    using D = CDlgTransTranslate;
    float x, y, z;
    if (!GetFloat(D::kEditX, x) || !GetFloat(D::kEditY, y) || !GetFloat(D::kEditZ, z))
        return;
    m_fields.m_x = x;
    m_fields.m_y = y;
    m_fields.m_z = z;
    m_fields.m_choice = RadioIndex(m_choice);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Rotate

CTransRotateWindow::CTransRotateWindow(CDlgTransRotate& fields, QWidget* parent)
    : CHxExchangeDialog(u"旋转", parent), m_fields(fields) {
    using D = CDlgTransRotate;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_axisChoice = new QButtonGroup(this);
    auto* axisMarked = Add(D::kAxisMarkedButton, new QRadioButton(Text(u"标志轴"), this));
    auto* axisFixed =
        Add(D::kAxisFixedButton, new QRadioButton(Text(u"固定轴（请输入轴向量及轴上一点的坐标）"), this));
    auto* axisCenter =
        Add(D::kAxisCenterButton, new QRadioButton(Text(u"由标志中心及向量（0，0，1）确定的轴"), this));
    m_axisChoice->addButton(axisMarked, D::kAxisMarked);
    m_axisChoice->addButton(axisFixed, D::kAxisFixed);
    m_axisChoice->addButton(axisCenter, D::kAxisCenter);

    int row = 0;
    grid->addWidget(axisMarked, row, 0, 1, 2);
    grid->addWidget(AddDescription(D::kAxisText, fields.m_axisText), row++, 2, 1, 4);
    grid->addWidget(axisCenter, row++, 0, 1, 6);
    grid->addWidget(AddDescription(D::kCenterText, fields.m_centerText), row++, 2, 1, 4);
    grid->addWidget(axisFixed, row++, 0, 1, 6);
    const float values[6] = {fields.m_dirX,   fields.m_dirY,   fields.m_dirZ,
                             fields.m_pointX, fields.m_pointY, fields.m_pointZ};
    const int ids[6] = {D::kEditDirX,   D::kEditDirY,   D::kEditDirZ,
                        D::kEditPointX, D::kEditPointY, D::kEditPointZ};
    const char16_t* labels[6] = {u"vx:", u"vy:", u"vz:", u"px:", u"py:", u"pz:"};
    for (int i = 0; i < 6; ++i) {
        const int r = row + i / 3, c = 2 * (i % 3);
        grid->addWidget(new QLabel(Text(labels[i]), this), r, c, Qt::AlignRight);
        grid->addWidget(AddNumberEdit(ids[i], values[i]), r, c + 1);
    }
    row += 2;
    grid->addWidget(Separator(this), row++, 0, 1, 6);

    m_angleChoice = new QButtonGroup(this);
    auto* angleMarked = Add(D::kAngleMarkedButton, new QRadioButton(Text(u"标志角"), this));
    auto* angleFixed = Add(D::kAngleFixedButton, new QRadioButton(Text(u"固定角"), this));
    m_angleChoice->addButton(angleMarked, 0);
    m_angleChoice->addButton(angleFixed, 1);
    grid->addWidget(angleMarked, row, 0, 1, 2);
    grid->addWidget(AddDescription(D::kAngleText, fields.m_angleText), row++, 2, 1, 4);
    grid->addWidget(angleFixed, row, 0, 1, 2);
    grid->addWidget(AddNumberEdit(D::kEditAngle, fields.m_angle), row, 2, 1, 2);
    grid->addWidget(new QLabel(Text(u"度"), this), row++, 4);
    layout->addLayout(grid);
    AddOkCancel(layout);

    SetRadioIndex(m_axisChoice, fields.m_axisChoice);
    SetRadioIndex(m_angleChoice, fields.m_angleChoice);
    // Marks offered: the typed axis waits behind them; a choice whose mark is missing is not offered.
    if (fields.m_available != D::kNoMarks)
        EnableAxisEdits(false);
    // The axis through the marked centre is offered only while no axis is marked.
    if (fields.m_available == D::kAxisOnly || fields.m_available == D::kAxisAndCenter ||
        fields.m_available == D::kNoMarks)
        axisCenter->setEnabled(false);
    if (fields.m_available == D::kCenterOnly || fields.m_available == D::kNoMarks)
        axisMarked->setEnabled(false);
    if (fields.m_angleChoice != 0)
        angleMarked->setEnabled(false);
    else
        Edit(D::kEditAngle)->setEnabled(false);

    connect(axisMarked, &QAbstractButton::clicked, this, [this] { EnableAxisEdits(false); });
    connect(axisCenter, &QAbstractButton::clicked, this, [this] { EnableAxisEdits(false); });
    connect(axisFixed, &QAbstractButton::clicked, this, [this] { EnableAxisEdits(true); });
    connect(angleMarked, &QAbstractButton::clicked, this, [this] { Edit(D::kEditAngle)->setEnabled(false); });
    connect(angleFixed, &QAbstractButton::clicked, this, [this] { Edit(D::kEditAngle)->setEnabled(true); });
}

void CTransRotateWindow::EnableAxisEdits(bool on) {
    using D = CDlgTransRotate;
    EnableAll({Edit(D::kEditDirX), Edit(D::kEditDirY), Edit(D::kEditDirZ), Edit(D::kEditPointX),
               Edit(D::kEditPointY), Edit(D::kEditPointZ)},
              on);
}

void CTransRotateWindow::accept() {
    using D = CDlgTransRotate;
    const int ids[7] = {D::kEditDirX,   D::kEditDirY,   D::kEditDirZ, D::kEditPointX,
                        D::kEditPointY, D::kEditPointZ, D::kEditAngle};
    float values[7];
    for (int i = 0; i < 7; ++i) {
        if (!GetFloat(ids[i], values[i]))
            return;
    }
    m_fields.m_dirX = values[0];
    m_fields.m_dirY = values[1];
    m_fields.m_dirZ = values[2];
    m_fields.m_pointX = values[3];
    m_fields.m_pointY = values[4];
    m_fields.m_pointZ = values[5];
    m_fields.m_angle = values[6];
    m_fields.m_axisChoice = RadioIndex(m_axisChoice);
    m_fields.m_angleChoice = RadioIndex(m_angleChoice);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Dilate

CTransScaleWindow::CTransScaleWindow(CDlgTransScale& fields, QWidget* parent)
    : CHxExchangeDialog(u"缩放", parent), m_fields(fields) {
    using D = CDlgTransScale;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_choice = new QButtonGroup(this);
    auto* marked = Add(D::kMarkedButton, new QRadioButton(Text(u"标志比"), this));
    auto* fixed = Add(D::kFixedButton, new QRadioButton(Text(u"固定比"), this));
    m_choice->addButton(marked, 0);
    m_choice->addButton(fixed, 1);
    grid->addWidget(AddDescription(D::kCenterText, fields.m_centerText), 0, 0, 1, 2);
    grid->addWidget(marked, 1, 0);
    grid->addWidget(AddDescription(D::kRatioText, fields.m_ratioText), 1, 1);
    grid->addWidget(fixed, 2, 0);
    grid->addWidget(AddNumberEdit(D::kEditRatio, fields.m_ratio), 2, 1, Qt::AlignLeft);
    layout->addLayout(grid);
    AddOkCancel(layout);

    SetRadioIndex(m_choice, fields.m_choice);
    if (fields.m_choice == 1)
        marked->setEnabled(false);
    else
        Edit(D::kEditRatio)->setEnabled(false);
    connect(marked, &QAbstractButton::clicked, this, [this] { Edit(D::kEditRatio)->setEnabled(false); });
    connect(fixed, &QAbstractButton::clicked, this, [this] { Edit(D::kEditRatio)->setEnabled(true); });
}

void CTransScaleWindow::accept() {
    float ratio;
    if (!GetFloat(CDlgTransScale::kEditRatio, ratio))
        return;
    m_fields.m_ratio = ratio;
    m_fields.m_choice = RadioIndex(m_choice);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Reflect

CTransDeflectWindow::CTransDeflectWindow(CDlgTransDeflect& fields, QWidget* parent)
    : CHxExchangeDialog(u"对称", parent), m_fields(fields), m_mask(fields.m_mask) {
    using D = CDlgTransDeflect;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_choice = new QButtonGroup(this);
    struct Row {
        int button;
        const char16_t* text;
        int description;
        const CString* value;
        BYTE available;
    };
    const Row rows[3] = {
        {D::kPointButton, u"关于标志点", D::kPointText, &fields.m_pointText, fields.m_hasPoint},
        {D::kAxisButton, u"关于标志轴", D::kAxisText, &fields.m_axisText, fields.m_hasAxis},
        {D::kFaceButton, u"关于标志面", D::kFaceText, &fields.m_faceText, fields.m_hasFace}};
    for (int i = 0; i < 3; ++i) {
        auto* button = Add(rows[i].button, new QRadioButton(Text(rows[i].text), this));
        m_choice->addButton(button, i);
        grid->addWidget(button, i, 0);
        grid->addWidget(AddDescription(rows[i].description, *rows[i].value), i, 1);
        button->setEnabled(rows[i].available != 0);
        connect(button, &QAbstractButton::clicked, this, [this] { m_elements->setEnabled(false); });
    }
    auto* element = Add(D::kElementButton, new QRadioButton(Text(u"关于："), this));
    m_choice->addButton(element, D::kAboutElement);
    m_elements = Add(D::kElementList, new QComboBox(this));
    for (const char16_t* name : D::kElementNames)
        m_elements->addItem(Text(name));
    grid->addWidget(element, 3, 0);
    grid->addWidget(m_elements, 3, 1, Qt::AlignLeft);
    layout->addLayout(grid);
    AddOkCancel(layout);

    SetRadioIndex(m_choice, fields.m_choice);
    m_elements->setCurrentIndex(D::ElementIndexOf(m_mask));
    m_elements->setEnabled(fields.m_choice >= D::kAboutElement);
    connect(element, &QAbstractButton::clicked, this, [this] { m_elements->setEnabled(true); });
    connect(m_elements, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < CDlgTransDeflect::kElementCount)
            m_mask = CDlgTransDeflect::kElementMasks[index];
    });
}

void CTransDeflectWindow::accept() {
    m_fields.m_choice = RadioIndex(m_choice);
    m_fields.m_mask = m_mask;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowTransTranslateDialog(CDialog& dialog) {
    return Run<CTransTranslateWindow, CDlgTransTranslate>(dialog);
}

INT_PTR HxShowTransRotateDialog(CDialog& dialog) {
    return Run<CTransRotateWindow, CDlgTransRotate>(dialog);
}

INT_PTR HxShowTransScaleDialog(CDialog& dialog) {
    return Run<CTransScaleWindow, CDlgTransScale>(dialog);
}

INT_PTR HxShowTransDeflectDialog(CDialog& dialog) {
    return Run<CTransDeflectWindow, CDlgTransDeflect>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTransTranslate), HxShowTransTranslateDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTransRotate), HxShowTransRotateDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTransScale), HxShowTransScaleDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTransDeflect), HxShowTransDeflectDialog);
    return true;
}();
} // namespace
