// The input dialog windows of the construct commands: their layouts, the coordinates window's
// modes, point-text check, presets and clipboard paste, and their registration as presenters.
#include "app/input_dialogs_ui.h"

#include "app/dialog_window.h"
#include "platform/clipboard.h"

#include <QApplication>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

// The edit control keeps line breaks as LF; the dialog's text (as the check and the command read
// it) ends its lines with CR LF, as the point sets and other programs' clipboards do.
QString ToEditText(const CString& text) {
    QString s = text.ToQString();
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar(u'\r'), QChar(u'\n'));
    return s;
}

CString FromEditText(const QString& text) {
    QString s = text;
    s.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return CString::FromQString(s);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Vector

CVectorWindow::CVectorWindow(CDlgVector& fields, QWidget* parent)
    : CHxExchangeDialog(u"向量", parent), m_fields(fields) {
    using D = CDlgVector;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const float values[3] = {fields.m_x, fields.m_y, fields.m_z};
    const int ids[3] = {D::kEditX, D::kEditY, D::kEditZ};
    const char16_t* labels[3] = {u"x:", u"y:", u"z:"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(Text(labels[i]), this), 0, 2 * i, Qt::AlignRight);
        grid->addWidget(AddNumberEdit(ids[i], values[i]), 0, 2 * i + 1);
    }
    layout->addLayout(grid);
    AddOkCancel(layout);
}

void CVectorWindow::accept() {
    using D = CDlgVector;
    float x, y, z;
    if (!GetFloat(D::kEditX, x) || !GetFloat(D::kEditY, y) || !GetFloat(D::kEditZ, z))
        return;
    m_fields.m_x = x;
    m_fields.m_y = y;
    m_fields.m_z = z;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Angle

CAngleWindow::CAngleWindow(CDlgAngle& fields, QWidget* parent)
    : CHxExchangeDialog(u"输入角度", parent), m_fields(fields) {
    using D = CDlgAngle;
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(u"角："), this));
    row->addWidget(AddNumberEdit(D::kEditAngle, fields.m_angle));
    m_unit = new QButtonGroup(this);
    auto* degrees = Add(D::kDegreesButton, new QRadioButton(Text(u"角度"), this));
    auto* radians = Add(D::kRadiansButton, new QRadioButton(Text(u"弧度"), this));
    m_unit->addButton(degrees, D::kDegrees);
    m_unit->addButton(radians, D::kRadians);
    row->addWidget(degrees);
    row->addWidget(radians);
    layout->addLayout(row);
    AddOkCancel(layout);
    SetRadioIndex(m_unit, fields.m_unit);
}

void CAngleWindow::accept() {
    float angle;
    if (!GetFloat(CDlgAngle::kEditAngle, angle))
        return;
    m_fields.m_angle = angle;
    m_fields.m_unit = std::max(0, RadioIndex(m_unit));
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Opacity

CAlphaWindow::CAlphaWindow(CDlgAlpha& fields, QWidget* parent)
    : CHxExchangeDialog(u"alpha-透明度设置", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    m_trackbar = Add(CDlgAlpha::kTrackbar, new QSlider(Qt::Horizontal, this));
    m_trackbar->setRange(0, 100);
    m_trackbar->setValue(fields.m_opacity);
    m_text = Add(CDlgAlpha::kText, new QLabel(fields.m_text.ToQString(), this));
    layout->addWidget(m_trackbar);
    layout->addWidget(m_text);
    AddOkCancel(layout);
    connect(m_trackbar, &QSlider::valueChanged, this, [this](int value) {
        m_fields.SetOpacity(value);
        m_text->setText(m_fields.m_text.ToQString());
    });
}

void CAlphaWindow::accept() {
    m_fields.SetOpacity(m_trackbar->value());
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Number of sides

CNumberWindow::CNumberWindow(CDlgNumber& fields, QWidget* parent)
    : CHxExchangeDialog(u"输入边数", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(u"边数："), this));
    row->addWidget(AddNumberEdit(CDlgNumber::kEditNumber, QString::number(fields.m_number)));
    layout->addLayout(row);
    AddOkCancel(layout);
}

void CNumberWindow::accept() {
    int number;
    if (!GetInt(CDlgNumber::kEditNumber, number, CDlgNumber::kLeast, CDlgNumber::kMost))
        return;
    m_fields.m_number = number;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Value

CValueWindow::CValueWindow(CDlgValue& fields, QWidget* parent)
    : CHxExchangeDialog(u"输入值", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddNumberEdit(CDlgValue::kEditValue, fields.m_value));
    AddOkCancel(layout);
}

void CValueWindow::accept() {
    float value;
    if (!GetFloat(CDlgValue::kEditValue, value))
        return;
    m_fields.m_value = value;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Coordinates

CCoordinatesWindow::CCoordinatesWindow(CDlgCoordinates& fields, QWidget* parent)
    : CHxExchangeDialog(u"绘制坐标点", parent), m_fields(fields) {
    using D = CDlgCoordinates;
    auto* layout = new QVBoxLayout(this);

    m_mode = new QButtonGroup(this);
    auto* single = Add(D::kSingleButton, new QRadioButton(Text(u"创建单个点"), this));
    m_mode->addButton(single, D::kSingle);
    layout->addWidget(single);
    layout->addWidget(new QLabel(Text(u"使用选取的变量值或输入值作为点的坐标："), this));
    auto* coordinates = new QHBoxLayout;
    const int comboIds[3] = {D::kComboX, D::kComboY, D::kComboZ};
    const char16_t* labels[3] = {u"x:", u"y:", u"z:"};
    for (int i = 0; i < 3; ++i) {
        m_chosen[i] = fields.m_chosen[i];
        m_chosenRow[i] = fields.m_chosenRow[i];
        auto* combo = Add(comboIds[i], new QComboBox(this));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const CString& name : fields.m_valueNames)
            combo->addItem(name.ToQString());
        if (m_chosen[i] && m_chosenRow[i] >= 0 && m_chosenRow[i] < combo->count())
            combo->setCurrentIndex(m_chosenRow[i]);
        else
            combo->setEditText(fields.m_text[i].ToQString());
        // A row names a value; typing makes the text count again.
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, i](int row) {
            m_chosen[i] = true;
            m_chosenRow[i] = row;
        });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, i] { m_chosen[i] = false; });
        m_coordinates[i] = combo;
        coordinates->addWidget(new QLabel(Text(labels[i]), this));
        coordinates->addWidget(combo, 1);
    }
    layout->addLayout(coordinates);

    auto* severalRow = new QHBoxLayout;
    auto* several = Add(D::kSeveralButton, new QRadioButton(Text(u"创建多个点      常用点集："), this));
    m_mode->addButton(several, D::kSeveral);
    m_presets = Add(D::kPresetList, new QComboBox(this));
    for (int row = 0; row < D::kPresetCount; ++row)
        m_presets->addItem(Text(D::PresetName(row)));
    m_presets->setCurrentIndex(-1);
    severalRow->addWidget(several);
    severalRow->addWidget(m_presets, 1);
    layout->addLayout(severalRow);
    layout->addWidget(
        new QLabel(Text(u"粘贴或输入各点的坐标\n每点一行，中间用逗号、分号或Tab制表符分隔"), this));
    m_text = Add(D::kPointText, new QPlainTextEdit(this));
    m_text->setTabChangesFocus(true);
    m_text->setPlainText(ToEditText(fields.m_pointText));
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    auto* paste = Add(D::kPasteButton, new QPushButton(Text(u"粘贴数据"), this));
    auto* clear = Add(D::kClearButton, new QPushButton(Text(u"清除数据"), this));
    auto* tab = Add(D::kTabButton, new QPushButton(Text(u"Tab"), this));
    for (QPushButton* b : {paste, clear, tab}) {
        b->setAutoDefault(false);
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    m_status = Add(D::kStatusText, new QLabel(this));
    layout->addWidget(m_status);
    AddOkCancel(layout);

    // Opening: the point text and the point sets wait for the several-points mode; paste only
    // with text on the clipboard.
    SetRadioIndex(m_mode, fields.m_mode);
    m_text->setEnabled(false);
    m_presets->setEnabled(false);
    SetStatus(u"");
    if (fields.m_mode == D::kSeveral)
        ChooseSeveral();

    connect(single, &QAbstractButton::clicked, this, [this] { ChooseSingle(); });
    connect(several, &QAbstractButton::clicked, this, [this] { ChooseSeveral(); });
    connect(clear, &QAbstractButton::clicked, this, [this] { ClearText(); });
    connect(tab, &QAbstractButton::clicked, this, [this] { InsertTab(); });
    connect(paste, &QAbstractButton::clicked, this, [this] { PasteText(); });
    connect(m_presets, QOverload<int>::of(&QComboBox::activated), this,
            [this](int row) { InsertPreset(row); });
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] { CheckText(); });
}

CString CCoordinatesWindow::PointText() const {
    return FromEditText(m_text->toPlainText());
}

void CCoordinatesWindow::SetStatus(const char16_t* text) {
    m_status->setText(Text(text));
}

void CCoordinatesWindow::CheckText() {
    const CString text = PointText();
    Control(IDOK)->setEnabled(CDlgCoordinates::IsValidPointText(text));
    SetStatus(CDlgCoordinates::StatusOf(text));
}

void CCoordinatesWindow::ChooseSingle() {
    using D = CDlgCoordinates;
    m_text->setEnabled(false);
    Control(D::kPasteButton)->setEnabled(false);
    m_presets->setEnabled(false);
    for (QComboBox* combo : m_coordinates)
        combo->setEnabled(true);
    Control(IDOK)->setEnabled(true);
    Control(D::kClearButton)->setEnabled(false);
    Control(D::kTabButton)->setEnabled(false);
    SetStatus(u"");
}

void CCoordinatesWindow::ChooseSeveral() {
    using D = CDlgCoordinates;
    m_text->setEnabled(true);
    m_presets->setEnabled(true);
    Control(D::kPasteButton)->setEnabled(HxGetClipboard().HasText());
    for (QComboBox* combo : m_coordinates)
        combo->setEnabled(false);
    CheckText();
    SetStatus(u"");
    Control(D::kClearButton)->setEnabled(true);
    Control(D::kTabButton)->setEnabled(true);
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->selectAll();
}

void CCoordinatesWindow::InsertAtCaret(const CString& text) {
    m_text->insertPlainText(ToEditText(text));
    m_text->setFocus(Qt::OtherFocusReason);
}

void CCoordinatesWindow::ClearText() {
    m_text->clear();
    Control(IDOK)->setEnabled(false);
    SetStatus(CDlgCoordinates::kTextEnterPoints);
    m_text->setFocus(Qt::OtherFocusReason);
}

void CCoordinatesWindow::InsertTab() {
    InsertAtCaret(CString(u"\t"));
}

void CCoordinatesWindow::InsertPreset(int row) {
    if (row >= 0 && row < CDlgCoordinates::kPresetCount)
        InsertAtCaret(CDlgCoordinates::PresetText(row));
}

void CCoordinatesWindow::PasteText() {
    CClipboardBackend& clipboard = HxGetClipboard();
    CString text;
    bool have = false;
    if (clipboard.Open()) {
        have = clipboard.HasText() && clipboard.GetText(text);
        clipboard.Close();
    }
    if (!have) {
        AfxMessageBox(CDlgCoordinates::kNoClipboardText, MB_OK);
        Control(CDlgCoordinates::kPasteButton)->setEnabled(false);
        return;
    }
    InsertAtCaret(text);
}

void CCoordinatesWindow::accept() {
    using D = CDlgCoordinates;
    const int mode = RadioIndex(m_mode);
    if (mode == D::kSeveral && !D::IsValidPointText(PointText()))
        return;
    // A typed coordinate must read as a number: anything else would silently become 0.
    if (mode != D::kSeveral) {
        for (int i = 0; i < 3; ++i) {
            const bool namesValue =
                m_chosen[i] && m_chosenRow[i] >= 0 && m_chosenRow[i] < m_coordinates[i]->count();
            float number = 0.0f;
            if (!namesValue && !ParseFloat(m_coordinates[i]->currentText(), number)) {
                Refuse(m_coordinates[i]->lineEdit(), kNotANumber);
                return;
            }
        }
    }
    m_fields.m_mode = mode == D::kSeveral ? D::kSeveral : D::kSingle;
    for (int i = 0; i < 3; ++i) {
        m_fields.m_text[i] = CString::FromQString(m_coordinates[i]->currentText());
        m_fields.m_chosen[i] = m_chosen[i];
        m_fields.m_chosenRow[i] = m_chosenRow[i];
    }
    m_fields.m_pointText = PointText();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowVectorDialog(CDialog& dialog) {
    return Run<CVectorWindow, CDlgVector>(dialog);
}

INT_PTR HxShowAngleDialog(CDialog& dialog) {
    return Run<CAngleWindow, CDlgAngle>(dialog);
}

INT_PTR HxShowValueDialog(CDialog& dialog) {
    return Run<CValueWindow, CDlgValue>(dialog);
}

INT_PTR HxShowCoordinatesDialog(CDialog& dialog) {
    return Run<CCoordinatesWindow, CDlgCoordinates>(dialog);
}

INT_PTR HxShowAlphaDialog(CDialog& dialog) {
    return Run<CAlphaWindow, CDlgAlpha>(dialog);
}

INT_PTR HxShowNumberDialog(CDialog& dialog) {
    return Run<CNumberWindow, CDlgNumber>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgVector), HxShowVectorDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgAngle), HxShowAngleDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgValue), HxShowValueDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgCoordinates), HxShowCoordinatesDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgAlpha), HxShowAlphaDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgNumber), HxShowNumberDialog);
    return true;
}();
} // namespace
