// The calculation and parameter dialog windows: their layouts, the keypad and lists that insert at
// the caret, the refresh after every change, the preview and its scrolling, and their registration
// as the presenters of the dialog classes.
#include "app/calc_dialogs_ui.h"

#include "app/dialog_window.h"
#include "app/formula_ctrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

// Where each key sits on the keypad: five columns.
struct KeyPlace {
    int id;
    int row;
    int column;
};
constexpr KeyPlace kKeyPlaces[] = {
    {1049, 0, 0},
    {1056, 0, 1},
    {1058, 0, 2},
    {CDlgCalculator::kKeyPlus, 0, 3},
    {CDlgCalculator::kKeyOpen, 0, 4},
    {1038, 1, 0},
    {1042, 1, 1},
    {1046, 1, 2},
    {CDlgCalculator::kKeyMinus, 1, 3},
    {CDlgCalculator::kKeyClose, 1, 4},
    {1027, 2, 0},
    {1030, 2, 1},
    {1034, 2, 2},
    {CDlgCalculator::kKeyTimes, 2, 3},
    {CDlgCalculator::kKeyPower, 2, 4},
    {1061, 3, 0},
    {CDlgCalculator::kKeyPoint, 3, 1},
    {CDlgCalculator::kKeyBack, 3, 2},
    {CDlgCalculator::kKeyDivide, 3, 3},
    {CDlgCalculator::kKeyMod, 3, 4},
    {CDlgCalculator::kKeyPi, 4, 0},
    {CDlgCalculator::kKeyE, 4, 1},
    {CDlgCalculator::kKeyT, 4, 2},
    {CDlgCalculator::kKeyU, 4, 3},
    {CDlgCalculator::kKeyV, 4, 4},
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Calculation

CCalculatorWindow::CCalculatorWindow(CDlgCalculator& fields, QWidget* parent)
    : CHxExchangeDialog(fields.m_title, parent), m_fields(fields) {
    using D = CDlgCalculator;
    auto* layout = new QVBoxLayout(this);

    m_preview = Add(D::kPreview, new CFormulaCtrl(this));
    m_preview->m_displayOnly = 1;
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_preview->setMinimumWidth(360);
    m_preview->setFixedHeight(80);
    m_preview->SetDocument(&m_fields.m_preview);
    layout->addWidget(m_preview);
    m_scroll = Add(D::kScrollBar, new QScrollBar(Qt::Horizontal, this));
    m_scroll->setRange(0, 0);
    m_scroll->setSingleStep(10);
    m_scroll->setPageStep(50);
    m_scroll->hide();
    layout->addWidget(m_scroll);

    auto* prompt = Add(D::kPromptEdit, new QLineEdit(this));
    prompt->setReadOnly(true);
    layout->addWidget(prompt);
    m_edit = Add(D::kExpressionEdit, new QLineEdit(fields.m_expression.ToQString(), this));
    layout->addWidget(m_edit);

    auto* lists = new QHBoxLayout;
    m_valueList = Add(D::kValueList, new QComboBox(this));
    m_valueList->addItem(Text(u"    数  值"));
    for (const CString& name : fields.m_names)
        m_valueList->addItem(name.ToQString());
    m_functionList = Add(D::kFunctionList, new QComboBox(this));
    m_functionList->addItem(Text(u"  函  数"));
    for (const char16_t* name : D::FunctionNames())
        m_functionList->addItem(Text(name));
    lists->addWidget(m_valueList, 1);
    lists->addWidget(m_functionList, 1);
    layout->addLayout(lists);

    auto* keypad = new QGridLayout;
    for (const D::CKey& key : D::Keys()) {
        auto* button = Add(key.id, new QPushButton(Text(key.caption), this));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setMinimumWidth(48);
        for (const KeyPlace& place : kKeyPlaces) {
            if (place.id == key.id)
                keypad->addWidget(button, place.row, place.column);
        }
        const int id = key.id;
        const CString text = key.text;
        connect(button, &QPushButton::clicked, this, [this, id, text] {
            int start = 0, end = 0;
            Selection(start, end);
            if (id == CDlgCalculator::kKeyBack)
                m_fields.Backspace(start, end);
            else
                m_fields.Insert(text, start, end);
            ShowFields();
            Refocus();
        });
    }
    layout->addLayout(keypad);

    m_angle = Add(D::kAngleCheck, new QCheckBox(Text(u"确定后显示为角度"), this));
    m_angle->setChecked(fields.m_showAsAngle);
    layout->addWidget(m_angle);
    AddOkCancel(layout);
    if (auto* ok = qobject_cast<QPushButton*>(Button(IDOK)))
        ok->setAutoDefault(false);

    // The parameter keys of the mode, or the angle check of a calculation.
    Control(D::kKeyT)->setVisible(fields.m_mode == D::kModeCurve);
    Control(D::kKeyU)->setVisible(fields.m_mode == D::kModeSurface);
    Control(D::kKeyV)->setVisible(fields.m_mode == D::kModeSurface);
    m_angle->setVisible(fields.m_mode == D::kModeCalculation);

    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        if (!m_updating)
            Refresh();
    });
    // The keypad follows the caret wherever it is put (a click, the arrow keys).
    connect(m_edit, &QLineEdit::cursorPositionChanged, this, [this] {
        if (!m_updating)
            Refresh();
    });
    connect(m_valueList, qOverload<int>(&QComboBox::activated), this, [this](int row) {
        int start = 0, end = 0;
        Selection(start, end);
        m_fields.InsertValue(row, start, end);
        m_valueList->setCurrentIndex(0);
        ShowFields();
        Refocus();
    });
    connect(m_functionList, qOverload<int>(&QComboBox::activated), this, [this](int row) {
        int start = 0, end = 0;
        Selection(start, end);
        m_fields.InsertFunction(row, start, end);
        m_functionList->setCurrentIndex(0);
        ShowFields();
        Refocus();
    });
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) { ScrollPreview(value); });

    m_fields.OnInitDialog();
    m_edit->setCursorPosition(m_edit->text().length());
    m_fields.Refresh(m_edit->cursorPosition());
    ShowFields();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CCalculatorWindow::Selection(int& start, int& end) const {
    if (m_edit->hasSelectedText()) {
        start = m_edit->selectionStart();
        end = m_edit->selectionEnd();
    } else {
        start = end = m_edit->cursorPosition();
    }
}

void CCalculatorWindow::Refresh() {
    // The caret is the start of the selection.
    int start = 0, end = 0;
    Selection(start, end);
    m_fields.m_expression = CString::FromQString(m_edit->text());
    m_fields.Refresh(start);
    ShowFields();
}

void CCalculatorWindow::ShowFields() {
    using D = CDlgCalculator;
    m_updating = true;
    const QString text = m_fields.m_expression.ToQString();
    if (m_edit->text() != text)
        m_edit->setText(text);
    if (m_edit->cursorPosition() != m_fields.m_caret && !m_edit->hasSelectedText())
        m_edit->setCursorPosition(m_fields.m_caret);
    m_updating = false;

    Edit(D::kPromptEdit)->setText(m_fields.m_prompt.ToQString());
    for (const D::CKey& key : D::Keys())
        Control(key.id)->setEnabled(m_fields.IsEnabled(key.id));
    m_valueList->setEnabled(m_fields.IsEnabled(D::kValueList));
    m_functionList->setEnabled(m_fields.IsEnabled(D::kFunctionList));
    Button(IDOK)->setEnabled(m_fields.IsEnabled(IDOK));
    if (m_fields.m_parsed) {
        m_preview->SetDocument(&m_fields.m_preview);
        FitPreview();
    }
}

void CCalculatorWindow::FitPreview() {
    const CRect box = m_preview->PaintStatic();
    const int wider = int(box.Width()) - m_preview->width();
    if (wider > 0) {
        m_scroll->setRange(0, wider);
        m_scroll->setValue(wider);
        m_scroll->show();
        ScrollPreview(wider);
    } else {
        m_scroll->setRange(0, 0);
        m_scroll->hide();
        ScrollPreview(0);
    }
}

void CCalculatorWindow::ScrollPreview(int offset) {
    m_fields.m_previewOffset = offset;
    m_preview->m_origin.x = offset;
    m_preview->update();
}

void CCalculatorWindow::Refocus() {
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CCalculatorWindow::showEvent(QShowEvent* event) {
    CHxExchangeDialog::showEvent(event);
    // The edit opens with its caret after the text, nothing selected, as the keypad expects (the
    // focus given at the first showing selects the whole text afterwards).
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_edit->deselect();
            m_edit->setCursorPosition(m_edit->text().length());
        },
        Qt::QueuedConnection);
    if (m_fields.m_parsed)
        FitPreview();
}

void CCalculatorWindow::resizeEvent(QResizeEvent* event) {
    CHxExchangeDialog::resizeEvent(event);
    if (m_fields.m_parsed)
        FitPreview();
}

void CCalculatorWindow::accept() {
    // OK is enabled only while the whole expression compiles; a key may still have changed it.
    Refresh();
    if (!m_fields.m_parsed)
        return;
    m_fields.m_showAsAngle = m_angle->isChecked() ? TRUE : FALSE;
    m_fields.OnOK();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Parameter

CParameterWindow::CParameterWindow(CDlgParameter& fields, QWidget* parent)
    : CHxExchangeDialog(u"参数", parent), m_fields(fields) {
    using D = CDlgParameter;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(u"名称"), this), 0, 0);
    auto* name = Add(D::kEditName, new QLineEdit(fields.m_name.ToQString(), this));
    grid->addWidget(name, 0, 1);
    const struct {
        int id;
        const char16_t* label;
        float value;
    } numbers[] = {{D::kEditValue, u"当前值", fields.m_value},
                   {D::kEditStart, u"起始值", fields.m_start},
                   {D::kEditEnd, u"终止值", fields.m_end}};
    int row = 1;
    for (const auto& n : numbers) {
        grid->addWidget(new QLabel(Text(n.label), this), row, 0);
        grid->addWidget(AddNumberEdit(n.id, n.value), row++, 1);
    }
    layout->addLayout(grid);
    const struct {
        int id;
        const char16_t* label;
    } checks[] = {{D::kHideNameCheck, u"隐藏名称"},
                  {D::kSliderCheck, u"显示滑块"},
                  {D::kIntegerCheck, u"整数值"},
                  {D::kAngleCheck, u"显示为角度"}};
    auto* boxes = new QGridLayout;
    int i = 0;
    for (const auto& c : checks) {
        boxes->addWidget(Add(c.id, new QCheckBox(Text(c.label), this)), i / 2, i % 2);
        ++i;
    }
    layout->addLayout(boxes);
    AddOkCancel(layout);
    ShowChecks();

    connect(Button(D::kIntegerCheck), &QAbstractButton::clicked, this, [this](bool on) {
        m_fields.SetInteger(on);
        ShowChecks();
    });
    connect(Button(D::kAngleCheck), &QAbstractButton::clicked, this, [this](bool on) {
        m_fields.SetAngle(on);
        ShowChecks();
    });
    connect(Button(D::kHideNameCheck), &QAbstractButton::clicked, this,
            [this](bool on) { m_fields.m_hideName = on ? TRUE : FALSE; });
    connect(Button(D::kSliderCheck), &QAbstractButton::clicked, this,
            [this](bool on) { m_fields.m_showSlider = on ? TRUE : FALSE; });
}

void CParameterWindow::ShowChecks() {
    using D = CDlgParameter;
    Button(D::kHideNameCheck)->setChecked(m_fields.m_hideName);
    Button(D::kSliderCheck)->setChecked(m_fields.m_showSlider);
    Button(D::kIntegerCheck)->setChecked(m_fields.m_integer);
    Button(D::kAngleCheck)->setChecked(m_fields.m_angle);
}

void CParameterWindow::accept() {
    using D = CDlgParameter;
    float value = 0, start = 0, end = 0;
    if (!GetFloat(D::kEditValue, value) || !GetFloat(D::kEditStart, start) || !GetFloat(D::kEditEnd, end))
        return;
    m_fields.m_name = CString::FromQString(Edit(D::kEditName)->text());
    m_fields.m_value = value;
    m_fields.m_start = start;
    m_fields.m_end = end;
    m_fields.m_hideName = Button(D::kHideNameCheck)->isChecked() ? TRUE : FALSE;
    m_fields.m_showSlider = Button(D::kSliderCheck)->isChecked() ? TRUE : FALSE;
    m_fields.m_integer = Button(D::kIntegerCheck)->isChecked() ? TRUE : FALSE;
    m_fields.m_angle = Button(D::kAngleCheck)->isChecked() ? TRUE : FALSE;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowCalculatorDialog(CDialog& dialog) {
    return Run<CCalculatorWindow, CDlgCalculator>(dialog);
}

INT_PTR HxShowParameterDialog(CDialog& dialog) {
    return Run<CParameterWindow, CDlgParameter>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgCalculator), HxShowCalculatorDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgParameter), HxShowParameterDialog);
    return true;
}();
} // namespace
