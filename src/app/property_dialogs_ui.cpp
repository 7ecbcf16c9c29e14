// The property dialog windows of points, lines, faces, circles, solids, the plane axes, the traces,
// the page and a picture: layouts, enabling rules, data exchange and their registration as presenters.
#include "app/property_dialogs_ui.h"

#include "app/color_picker.h"
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
#include <QSlider>
#include <QVBoxLayout>

#include <utility>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

QLabel* Caption(QWidget* parent, const char16_t* text) {
    return new QLabel(Text(text), parent);
}

// Calls `handler` whenever a button of the group is clicked.
template <class F> void OnClicked(QButtonGroup* group, QObject* context, F handler) {
    QObject::connect(group, &QButtonGroup::idClicked, context, [handler](int) { handler(); });
}

} // namespace

// ---------------------------------------------------------------------------------------------
// What the element dialogs share

void CElementWindowBase::AddCommonControls(QBoxLayout* layout, const CString& description,
                                           const CString& label, BOOL hidden, BOOL labelHidden) {
    using D = CElementDialogIds;
    auto* grid = new QGridLayout;
    grid->addWidget(Caption(this, u"说明："), 0, 0);
    grid->addWidget(AddDescription(D::kDescription, description), 0, 1, 1, 3);
    grid->addWidget(Caption(this, u"标签："), 1, 0);
    grid->addWidget(Add(D::kLabelEdit, new QLineEdit(label.ToQString(), this)), 1, 1);
    grid->addWidget(AddCheck(D::kLabelHiddenCheck, u"隐藏标签", labelHidden), 1, 2);
    grid->addWidget(AddCheck(D::kHiddenCheck, u"隐藏对象", hidden), 1, 3);
    layout->addLayout(grid);
}

void CElementWindowBase::ReadCommonControls(CString& label, BOOL& hidden, BOOL& labelHidden) const {
    using D = CElementDialogIds;
    label = CString::FromQString(Edit(D::kLabelEdit)->text());
    hidden = Checked(D::kHiddenCheck);
    labelHidden = Checked(D::kLabelHiddenCheck);
}

// ---------------------------------------------------------------------------------------------
// Point

CPropertyPointWindow::CPropertyPointWindow(CDlgPropertyPoint& fields, QWidget* parent)
    : CElementWindowBase(CString(u"点的属性"), parent), m_fields(fields) {
    using D = CDlgPropertyPoint;
    auto* layout = new QVBoxLayout(this);
    AddCommonControls(layout, fields.m_description, fields.m_label, fields.m_hidden, fields.m_labelHidden);

    auto* coordinates = new QGroupBox(Text(u"坐标"), this);
    auto* grid = new QGridLayout(coordinates);
    const int ids[3] = {D::kEditX, D::kEditY, D::kEditZ};
    const float values[3] = {fields.m_x, fields.m_y, fields.m_z};
    const char16_t* names[3] = {u"x：", u"y：", u"z："};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(Caption(coordinates, names[i]), 0, 2 * i);
        QLineEdit* edit = AddNumberEdit(ids[i], values[i]);
        const bool writable = fields.m_coordinateMode == D::kCoordinatesXyz ||
                              (fields.m_coordinateMode == D::kCoordinatesXy && i < 2);
        edit->setReadOnly(!writable);
        grid->addWidget(edit, 0, 2 * i + 1);
    }
    grid->addWidget(Caption(coordinates, u"t："), 1, 0);
    QLineEdit* t = AddNumberEdit(D::kEditT, fields.m_t);
    t->setReadOnly(!fields.m_paramEditable);
    grid->addWidget(t, 1, 1);
    grid->addWidget(Caption(coordinates, u"（参数t控制单参自由点的坐标）"), 1, 2, 1, 4);
    layout->addWidget(coordinates);

    auto* looks = new QHBoxLayout;
    looks->addWidget(AddRadioGroup(D::kShapeRadio, u"形状", {u"圆形", u"隐形", u"球形（光照处理）"},
                                   fields.m_shape, true));
    looks->addWidget(AddRadioGroup(D::kVisibilityRadio, u"可见性", {u"总可见", u"被遮住时不可见（点或标签）"},
                                   fields.m_visibility, true));
    layout->addLayout(looks);
    auto* size = new QHBoxLayout;
    size->addWidget(Caption(this, u"大小："));
    size->addWidget(AddNumberEdit(D::kSizeEdit, fields.m_size));
    size->addStretch(1);
    layout->addLayout(size);
    layout->addWidget(
        AddCheck(D::kApplyToAllCheck, u"将点的大小与显示方式用于本页已有点", fields.m_applyToAll));
    AddOkCancel(layout);
}

void CPropertyPointWindow::accept() {
    using D = CDlgPropertyPoint;
    CDlgPropertyPoint& f = m_fields;
    float x = f.m_x, y = f.m_y, z = f.m_z, t = f.m_t, size = f.m_size;
    const bool xy = f.m_coordinateMode != D::kNoCoordinates;
    if (xy && (!GetEditedFloat(D::kEditX, x) || !GetEditedFloat(D::kEditY, y)))
        return;
    if (f.m_coordinateMode == D::kCoordinatesXyz && !GetEditedFloat(D::kEditZ, z))
        return;
    if (f.m_paramEditable && !GetEditedFloat(D::kEditT, t))
        return;
    if (!GetEditedFloat(D::kSizeEdit, size, D::kMinSize, D::kMaxSize))
        return;
    f.m_x = x;
    f.m_y = y;
    f.m_z = z;
    f.m_t = t;
    f.m_size = size;
    ReadCommonControls(f.m_label, f.m_hidden, f.m_labelHidden);
    f.m_shape = std::max(RadioIndex(D::kShapeRadio), 0);
    f.m_visibility = std::max(RadioIndex(D::kVisibilityRadio), 0);
    f.m_applyToAll = Checked(D::kApplyToAllCheck);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Line

CPropertyLineWindow::CPropertyLineWindow(CDlgPropertyLine& fields, QWidget* parent)
    : CElementWindowBase(CString(u"线属性"), parent), m_fields(fields) {
    using D = CDlgPropertyLine;
    auto* layout = new QVBoxLayout(this);
    AddCommonControls(layout, fields.m_description, fields.m_label, fields.m_hidden, fields.m_labelHidden);
    auto* looks = new QHBoxLayout;
    looks->addWidget(AddRadioGroup(D::kStyleRadio, u"显示方式",
                                   {u"自动虚实", u"仅实线", u"全实线", u"全虚线", u"光照处理"},
                                   fields.m_style, true));
    looks->addWidget(
        AddRadioGroup(D::kKindRadio, u"类型", {u"线段", u"射线", u"直线", u"向量"}, fields.m_kind, true));
    layout->addLayout(looks);
    auto* width = new QHBoxLayout;
    width->addWidget(Caption(this, u"线宽："));
    width->addWidget(AddNumberEdit(D::kWidthEdit, fields.m_width));
    width->addStretch(1);
    layout->addLayout(width);
    layout->addWidget(AddCheck(D::kApplyToAllCheck, u"将线宽与显示方式用于本页已有线", fields.m_applyToAll));
    AddOkCancel(layout);
}

void CPropertyLineWindow::accept() {
    using D = CDlgPropertyLine;
    float width = m_fields.m_width;
    if (!GetEditedFloat(D::kWidthEdit, width, D::kMinWidth, D::kMaxWidth))
        return;
    m_fields.m_width = width;
    ReadCommonControls(m_fields.m_label, m_fields.m_hidden, m_fields.m_labelHidden);
    m_fields.m_style = std::max(RadioIndex(D::kStyleRadio), 0);
    m_fields.m_kind = std::max(RadioIndex(D::kKindRadio), 0);
    m_fields.m_applyToAll = Checked(D::kApplyToAllCheck);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Face

CPropertyFaceWindow::CPropertyFaceWindow(CDlgPropertyFace& fields, QWidget* parent)
    : CElementWindowBase(CString(u"面属性"), parent), m_fields(fields) {
    using D = CDlgPropertyFace;
    auto* layout = new QVBoxLayout(this);
    AddCommonControls(layout, fields.m_description, fields.m_label, fields.m_hidden, fields.m_labelHidden);
    layout->addWidget(AddRadioGroup(D::kStyleRadio, u"显示方式",
                                    {u"参与消隐", u"填充颜色", u"填充斜线", u"光照处理", u"半透明材质"},
                                    fields.m_style));
    auto* texture = new QHBoxLayout;
    texture->addWidget(Caption(this, u"纹理图："));
    texture->addWidget(AddTextureList(D::kTextureList, fields.m_texture));
    texture->addStretch(1);
    layout->addLayout(texture);
    layout->addWidget(AddCheck(D::kApplyToAllCheck, u"将显示方式用于本页已有面", fields.m_applyToAll));
    AddOkCancel(layout);
    OnClicked(Group(D::kStyleRadio), this, [this] { OnStyleClicked(); });
    OnStyleClicked();
}

void CPropertyFaceWindow::OnStyleClicked() {
    using D = CDlgPropertyFace;
    Control(D::kTextureList)->setEnabled(D::TextureEnabled(RadioIndex(D::kStyleRadio)));
}

void CPropertyFaceWindow::accept() {
    using D = CDlgPropertyFace;
    ReadCommonControls(m_fields.m_label, m_fields.m_hidden, m_fields.m_labelHidden);
    m_fields.m_style = std::max(RadioIndex(D::kStyleRadio), 0);
    m_fields.m_texture = ListIndex(D::kTextureList);
    m_fields.m_applyToAll = Checked(D::kApplyToAllCheck);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Circle

CPropertyCircleWindow::CPropertyCircleWindow(CDlgPropertyCircle& fields, QWidget* parent)
    : CElementWindowBase(CString(u"圆（弧）属性"), parent), m_fields(fields) {
    using D = CDlgPropertyCircle;
    auto* layout = new QVBoxLayout(this);
    AddCommonControls(layout, fields.m_description, fields.m_label, fields.m_hidden, fields.m_labelHidden);
    auto* looks = new QHBoxLayout;
    looks->addWidget(AddRadioGroup(D::kKindRadio, u"类型", {u"圆", u"弧", u"圆面", u"扇形面", u"弓形面"},
                                   fields.m_kind, true));
    looks->addWidget(AddRadioGroup(D::kStyleRadio, u"显示方式",
                                   {u"自动虚实", u"光照处理", u"半透明材质", u"全实线", u"全虚线", u"仅实线"},
                                   fields.m_style, true));
    layout->addLayout(looks);

    auto* arc = new QHBoxLayout;
    arc->addWidget(AddRadioGroup(D::kArcRadio, u"弧的度数", {u"自动", u"自定义:"}, fields.m_arcMode));
    arc->addWidget(Caption(this, u"从"));
    arc->addWidget(AddNumberEdit(D::kFromEdit, fields.m_from));
    arc->addWidget(Caption(this, u"到"));
    arc->addWidget(AddNumberEdit(D::kToEdit, fields.m_to));
    arc->addStretch(1);
    layout->addLayout(arc);

    auto* row = new QHBoxLayout;
    row->addWidget(Caption(this, u"线宽："));
    row->addWidget(AddNumberEdit(D::kWidthEdit, fields.m_width));
    row->addSpacing(20);
    row->addWidget(Caption(this, u"纹理图："));
    row->addWidget(AddTextureList(D::kTextureList, fields.m_texture));
    row->addStretch(1);
    layout->addLayout(row);
    AddOkCancel(layout);
    OnClicked(Group(D::kArcRadio), this, [this] { OnArcModeClicked(); });
    OnClicked(Group(D::kKindRadio), this, [this] { OnKindOrStyleClicked(); });
    OnClicked(Group(D::kStyleRadio), this, [this] { OnKindOrStyleClicked(); });
    OnArcModeClicked();
    OnKindOrStyleClicked();
}

void CPropertyCircleWindow::OnArcModeClicked() {
    using D = CDlgPropertyCircle;
    const bool on = D::ArcEditsEnabled(RadioIndex(D::kArcRadio));
    Control(D::kFromEdit)->setEnabled(on);
    Control(D::kToEdit)->setEnabled(on);
}

void CPropertyCircleWindow::OnKindOrStyleClicked() {
    using D = CDlgPropertyCircle;
    Control(D::kTextureList)
        ->setEnabled(D::TextureEnabled(RadioIndex(D::kKindRadio), RadioIndex(D::kStyleRadio)));
}

void CPropertyCircleWindow::accept() {
    using D = CDlgPropertyCircle;
    float from = m_fields.m_from, to = m_fields.m_to, width = m_fields.m_width;
    if (!GetEditedFloat(D::kFromEdit, from) || !GetEditedFloat(D::kToEdit, to))
        return;
    if (!GetEditedFloat(D::kWidthEdit, width, D::kMinWidth, D::kMaxWidth))
        return;
    m_fields.m_from = from;
    m_fields.m_to = to;
    m_fields.m_width = width;
    ReadCommonControls(m_fields.m_label, m_fields.m_hidden, m_fields.m_labelHidden);
    m_fields.m_kind = std::max(RadioIndex(D::kKindRadio), 0);
    m_fields.m_style = std::max(RadioIndex(D::kStyleRadio), 0);
    m_fields.m_arcMode = std::max(RadioIndex(D::kArcRadio), 0);
    m_fields.m_texture = ListIndex(D::kTextureList);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Solid of revolution

CPropertySolidWindow::CPropertySolidWindow(CDlgPropertySolid& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"旋转体属性"), parent), m_fields(fields) {
    using D = CDlgPropertySolid;
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(Caption(this, u"说明"));
    top->addWidget(AddDescription(D::kDescription, fields.m_description), 1);
    layout->addLayout(top);
    layout->addWidget(AddRadioGroup(D::kStyleRadio, u"显示方式",
                                    {u"立几模式", u"实线网格", u"光照处理", u"半透明材质"}, fields.m_style));
    auto* row = new QHBoxLayout;
    row->addWidget(Caption(this, u"纹理图："));
    row->addWidget(AddTextureList(D::kTextureList, fields.m_texture));
    row->addSpacing(20);
    row->addWidget(AddCheck(D::kHiddenCheck, u"隐藏对象", fields.m_hidden));
    row->addStretch(1);
    layout->addLayout(row);
    AddOkCancel(layout);
    OnClicked(Group(D::kStyleRadio), this, [this] { OnStyleClicked(); });
    OnStyleClicked();
}

void CPropertySolidWindow::OnStyleClicked() {
    using D = CDlgPropertySolid;
    Control(D::kTextureList)->setEnabled(D::TextureEnabled(RadioIndex(D::kStyleRadio)));
}

void CPropertySolidWindow::accept() {
    using D = CDlgPropertySolid;
    m_fields.m_style = std::max(RadioIndex(D::kStyleRadio), 0);
    m_fields.m_texture = ListIndex(D::kTextureList);
    m_fields.m_hidden = Checked(D::kHiddenCheck);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Traces

CTraceWindow::CTraceWindow(CDlgTrace& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"追踪属性"), parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddRadioGroup(CDlgTrace::kModeRadio, u"",
                                    {u"本页内只追踪点与线，无消隐", u"可追踪所有对象，包含面、标签"},
                                    fields.m_mode, true));
    layout->addWidget(Caption(this, u"以上改动重新追踪时生效"));
    AddOkCancel(layout);
}

void CTraceWindow::accept() {
    m_fields.m_mode = std::max(RadioIndex(CDlgTrace::kModeRadio), 0);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Plane axes

CProScaleLineWindow::CProScaleLineWindow(CDlgProScaleLine& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"2维轴部件属性"), parent), m_fields(fields) {
    using D = CDlgProScaleLine;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        AddRadioGroup(D::kKindRadio, u"坐标系类型", {u"普通数值型", u"三角函数型"}, fields.m_kind));
    layout->addWidget(AddCheck(D::kXOnlyCheck, u" 不显示y轴上刻度线及刻度值", fields.m_xOnly));
    layout->addWidget(AddCheck(D::kAutoCheck, u"自动调整间距", fields.m_autoSpacing));
    auto* grid = new QGridLayout;
    grid->addWidget(Caption(this, u"刻度线间距"), 0, 0);
    grid->addWidget(Caption(this, u"刻度值间距"), 1, 0);
    QComboBox* lists[2] = {AddList(D::kTickList, {}, 0), AddList(D::kValueList, {}, 0)};
    for (int i = 0; i < 2; ++i) {
        for (const char16_t* text : D::kSpacingTexts)
            lists[i]->addItem(Text(text));
        grid->addWidget(lists[i], i, 1);
    }
    lists[0]->setCurrentIndex(fields.m_tickIndex);
    lists[1]->setCurrentIndex(fields.m_valueIndex);
    layout->addLayout(grid);
    AddOkCancel(layout);
    connect(Button(D::kAutoCheck), &QAbstractButton::clicked, this, [this] { OnAutoClicked(); });
    connect(lists[0], &QComboBox::activated, this, [this](int index) { OnTickChosen(index); });
    connect(lists[1], &QComboBox::activated, this, [this](int index) { OnValueChosen(index); });
    OnAutoClicked();
}

void CProScaleLineWindow::OnAutoClicked() {
    using D = CDlgProScaleLine;
    const bool byHand = !Checked(D::kAutoCheck);
    Control(D::kTickList)->setEnabled(byHand);
    Control(D::kValueList)->setEnabled(byHand);
}

void CProScaleLineWindow::OnTickChosen(int index) {
    using D = CDlgProScaleLine;
    if (const char16_t* message = m_fields.ChooseTickSpacing(index)) {
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        qobject_cast<QComboBox*>(Control(D::kTickList))->setCurrentIndex(m_fields.m_tickIndex);
    }
}

void CProScaleLineWindow::OnValueChosen(int index) {
    using D = CDlgProScaleLine;
    if (const char16_t* message = m_fields.ChooseValueSpacing(index)) {
        AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        qobject_cast<QComboBox*>(Control(D::kValueList))->setCurrentIndex(m_fields.m_valueIndex);
    }
}

void CProScaleLineWindow::accept() {
    using D = CDlgProScaleLine;
    m_fields.m_kind = std::max(RadioIndex(D::kKindRadio), 0);
    m_fields.m_xOnly = Checked(D::kXOnlyCheck);
    m_fields.m_autoSpacing = Checked(D::kAutoCheck);
    m_fields.m_tickIndex = ListIndex(D::kTickList);
    m_fields.m_valueIndex = ListIndex(D::kValueList);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Page

CPagePropertyWindow::CPagePropertyWindow(CDlgPageProperty& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"页属性"), parent), m_fields(fields) {
    using D = CDlgPageProperty;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(Caption(this, u"页名称"), 0, 0);
    grid->addWidget(Add(D::kTitleEdit, new QLineEdit(fields.m_title.ToQString(), this)), 0, 1, 1, 3);
    grid->addWidget(Caption(this, u"单位长"), 1, 0);
    QLineEdit* unit = AddNumberEdit(D::kUnitEdit, QString::number(fields.m_unitPixels));
    grid->addWidget(unit, 1, 1);
    grid->addWidget(Caption(this, u"象素"), 1, 2);
    m_slider = Add(D::kUnitSlider, new QSlider(Qt::Horizontal, this));
    m_slider->setRange(D::kMinUnit, D::kMaxUnit);
    m_slider->setPageStep(10);
    m_slider->setSingleStep(1);
    m_slider->setValue(fields.m_unitPixels);
    grid->addWidget(m_slider, 2, 0, 1, 3);
    auto* reset = Add(D::kDefaultButton, new QPushButton(Text(u"默认"), this));
    grid->addWidget(reset, 2, 3);
    grid->addWidget(Caption(this, u"背景颜色"), 3, 0);
    m_color = Add(D::kColorButton, new CColorPicker(this));
    m_color->SetColor(fields.m_background);
    grid->addWidget(m_color, 3, 1);
    layout->addLayout(grid);
    layout->addWidget(AddCheck(D::kDashedCheck, u"被光照物体遮住的线显示虚线", fields.m_dashedBehindLit));
    AddOkCancel(layout);

    // The slider and the number follow each other.
    connect(m_slider, &QSlider::valueChanged, this,
            [unit](int value) { unit->setText(QString::number(value)); });
    connect(unit, &QLineEdit::textEdited, this, [this](const QString& text) {
        int value = 0;
        if (ParseInt(text, value)) {
            const QSignalBlocker quiet(m_slider);
            m_slider->setValue(value);
        }
    });
    connect(reset, &QPushButton::clicked, this, [this, unit] {
        m_slider->setValue(CDlgPageProperty::kDefaultUnit);
        unit->setText(QString::number(CDlgPageProperty::kDefaultUnit));
    });
}

void CPagePropertyWindow::accept() {
    using D = CDlgPageProperty;
    int units = m_fields.m_unitPixels;
    if (!GetInt(D::kUnitEdit, units, D::kMinUnit, D::kMaxUnit))
        return;
    m_fields.m_unitPixels = units;
    m_fields.m_title = CString::FromQString(Edit(D::kTitleEdit)->text());
    m_fields.m_background = m_color->GetColor();
    m_fields.m_dashedBehindLit = Checked(D::kDashedCheck);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Picture

CImagePropyWindow::CImagePropyWindow(CDlgImagePropy& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"图片属性"), parent), m_fields(fields) {
    using D = CDlgImagePropy;
    auto* layout = new QVBoxLayout(this);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(Caption(this, u"大小："));
    sizeRow->addWidget(Add(D::kSizeText, new QLabel(fields.m_size.ToQString(), this)), 1);
    layout->addLayout(sizeRow);
    auto* box = new QGroupBox(Text(u"缩放比：（比如：1.2，  -0.5 ）"), this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(Caption(box, u"宽度"), 0, 0);
    grid->addWidget(AddNumberEdit(D::kWidthEdit, fields.m_scaleX), 0, 1);
    grid->addWidget(Caption(box, u"高度"), 1, 0);
    grid->addWidget(AddNumberEdit(D::kHeightEdit, fields.m_scaleY), 1, 1);
    auto* restore = Add(D::kRestoreButton, new QPushButton(Text(u"恢复原始比例（1, 1）"), box));
    grid->addWidget(restore, 0, 2, 2, 1);
    layout->addWidget(box);
    AddOkCancel(layout);
    connect(restore, &QPushButton::clicked, this, [this] {
        // Shown as typed: OK reads the texts again, so that the factors become exactly 1.
        for (int id : {int(CDlgImagePropy::kWidthEdit), int(CDlgImagePropy::kHeightEdit)})
            Edit(id)->setText(FloatText(1.0f));
        m_restored = true;
    });
}

void CImagePropyWindow::accept() {
    using D = CDlgImagePropy;
    float x = m_fields.m_scaleX, y = m_fields.m_scaleY;
    for (auto [id, value] : {std::pair{int(D::kWidthEdit), &x}, std::pair{int(D::kHeightEdit), &y}}) {
        if (!(m_restored ? GetFloat(id, *value) : GetEditedFloat(id, *value)))
            return;
        if (!D::FactorAccepted(*value)) {
            Refuse(Edit(id), D::kZeroFactor);
            return;
        }
    }
    m_fields.m_scaleX = x;
    m_fields.m_scaleY = y;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowPropertyPointDialog(CDialog& dialog) {
    return Run<CPropertyPointWindow, CDlgPropertyPoint>(dialog);
}
INT_PTR HxShowPropertyLineDialog(CDialog& dialog) {
    return Run<CPropertyLineWindow, CDlgPropertyLine>(dialog);
}
INT_PTR HxShowPropertyFaceDialog(CDialog& dialog) {
    return Run<CPropertyFaceWindow, CDlgPropertyFace>(dialog);
}
INT_PTR HxShowPropertyCircleDialog(CDialog& dialog) {
    return Run<CPropertyCircleWindow, CDlgPropertyCircle>(dialog);
}
INT_PTR HxShowPropertySolidDialog(CDialog& dialog) {
    return Run<CPropertySolidWindow, CDlgPropertySolid>(dialog);
}
INT_PTR HxShowTraceDialog(CDialog& dialog) {
    return Run<CTraceWindow, CDlgTrace>(dialog);
}
INT_PTR HxShowProScaleLineDialog(CDialog& dialog) {
    return Run<CProScaleLineWindow, CDlgProScaleLine>(dialog);
}
INT_PTR HxShowPagePropertyDialog(CDialog& dialog) {
    return Run<CPagePropertyWindow, CDlgPageProperty>(dialog);
}
INT_PTR HxShowImagePropyDialog(CDialog& dialog) {
    return Run<CImagePropyWindow, CDlgImagePropy>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyPoint), HxShowPropertyPointDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyLine), HxShowPropertyLineDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyFace), HxShowPropertyFaceDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyCircle), HxShowPropertyCircleDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertySolid), HxShowPropertySolidDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTrace), HxShowTraceDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgProScaleLine), HxShowProScaleLineDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPageProperty), HxShowPagePropertyDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgImagePropy), HxShowImagePropyDialog);
    return true;
}();
} // namespace
