// The view-button dialog windows: their layouts, the interval rule, the data exchange on OK, and
// their registration as the presenters of the dialog classes.
#include "app/view_button_dialogs_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

// Reads a row of float edits into values; false at the first that does not read.
bool ReadFloats(CHxExchangeDialog& window, std::initializer_list<int> ids, float* values) {
    for (int id : ids) {
        if (!window.GetFloat(id, *values++))
            return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// What the three share

CViewButtonWindow::CViewButtonWindow(CDlgViewButton& fields, const char16_t* title, QWidget* parent)
    : CHxExchangeDialog(title, parent), m_base(fields), m_grid(new QGridLayout) {}

void CViewButtonWindow::AddCaptionRow() {
    m_grid->addWidget(new QLabel(Text(u"按钮标签："), this), m_row, 0);
    m_grid->addWidget(Add(CDlgViewButton::kCaption, new QLineEdit(m_base.m_caption.ToQString(), this)),
                      m_row++, 1, 1, 6);
}

void CViewButtonWindow::FinishLayout() {
    using D = CDlgViewButton;
    auto* oneWay = Add(D::kOneWay, new QRadioButton(Text(u"单向"), this));
    auto* bothWays = Add(D::kBothWays, new QRadioButton(Text(u"双向"), this));
    m_direction = new QButtonGroup(this);
    m_direction->addButton(oneWay, 0);
    m_direction->addButton(bothWays, 1);
    auto* once = Add(D::kOnce, new QRadioButton(Text(u"一次"), this));
    auto* loop = Add(D::kLoop, new QRadioButton(Text(u"循环"), this));
    m_repeat = new QButtonGroup(this);
    m_repeat->addButton(once, 0);
    m_repeat->addButton(loop, 1);

    auto* play = new QHBoxLayout;
    play->addWidget(oneWay);
    play->addWidget(bothWays);
    play->addSpacing(16);
    play->addWidget(once);
    play->addWidget(loop);
    play->addStretch(1);
    m_grid->addLayout(play, m_row++, 0, 1, 7);

    auto* timing = new QHBoxLayout;
    timing->addWidget(new QLabel(Text(u"时长（约）："), this));
    timing->addWidget(AddNumberEdit(D::kSeconds, m_base.m_seconds));
    timing->addWidget(new QLabel(Text(u"秒"), this));
    timing->addSpacing(16);
    timing->addWidget(Add(D::kIntervalLabel, new QLabel(Text(u"间隔"), this)));
    timing->addWidget(AddNumberEdit(D::kInterval, m_base.m_interval));
    timing->addWidget(Add(D::kIntervalUnit, new QLabel(Text(u"秒"), this)));
    timing->addStretch(1);
    m_grid->addLayout(timing, m_row++, 0, 1, 7);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_grid);
    AddOkCancel(layout);

    SetRadioIndex(m_direction, m_base.m_direction != 0 ? 1 : 0);
    SetRadioIndex(m_repeat, m_base.m_repeat != 0 ? 1 : 0);
    ApplyIntervalRule();
    connect(m_direction, &QButtonGroup::idClicked, this, [this] { ApplyIntervalRule(); });
    connect(m_repeat, &QButtonGroup::idClicked, this, [this] { ApplyIntervalRule(); });
}

void CViewButtonWindow::ApplyIntervalRule() {
    using D = CDlgViewButton;
    const bool on = D::ShowsInterval(RadioIndex(m_direction), RadioIndex(m_repeat));
    for (int id : {D::kIntervalLabel, D::kInterval, D::kIntervalUnit}) {
        if (QWidget* w = Control(id))
            w->setVisible(on);
    }
}

void CViewButtonWindow::accept() {
    using D = CDlgViewButton;
    float seconds = 0.0f, interval = 0.0f;
    if (!ReadValues() || !GetFloat(D::kSeconds, seconds) || !GetFloat(D::kInterval, interval))
        return;
    m_base.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_base.m_seconds = seconds;
    m_base.m_interval = interval;
    m_base.m_direction = RadioIndex(m_direction);
    m_base.m_repeat = RadioIndex(m_repeat);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Turning

CViewRotateWindow::CViewRotateWindow(CDlgViewRotate& fields, QWidget* parent)
    : CViewButtonWindow(fields, u"视旋转按钮", parent), m_fields(fields) {
    using D = CDlgViewRotate;
    AddCaptionRow();
    m_grid->addWidget(new QLabel(Text(u"起始状态\n按F8设置"), this), m_row, 0, 2, 1);
    const int startIds[4] = {D::kStartW, D::kStartX, D::kStartY, D::kStartZ};
    const char16_t* startLabels[4] = {u"w:", u"x:", u"y:", u"z:"};
    for (int i = 0; i < 4; ++i) {
        const int r = m_row + i / 2, c = 1 + 3 * (i % 2);
        m_grid->addWidget(new QLabel(Text(startLabels[i]), this), r, c, Qt::AlignRight);
        QLineEdit* edit = AddNumberEdit(startIds[i], fields.m_start[i]);
        edit->setReadOnly(fields.m_startReadOnly);
        m_grid->addWidget(edit, r, c + 1);
    }
    m_row += 2;
    m_grid->addWidget(new QLabel(Text(u"旋转轴："), this), m_row, 0);
    auto* axis = new QHBoxLayout;
    const int axisIds[3] = {D::kAxisX, D::kAxisY, D::kAxisZ};
    for (int i = 0; i < 3; ++i)
        axis->addWidget(AddNumberEdit(axisIds[i], fields.m_axis[i]));
    m_grid->addLayout(axis, m_row++, 1, 1, 6);
    m_grid->addWidget(new QLabel(Text(u"旋转角（度）："), this), m_row, 0);
    m_grid->addWidget(AddNumberEdit(D::kAngle, fields.m_angle), m_row++, 1, 1, 2);
    FinishLayout();
}

bool CViewRotateWindow::ReadValues() {
    using D = CDlgViewRotate;
    float start[4], axis[3], angle;
    if (!ReadFloats(*this, {D::kStartW, D::kStartX, D::kStartY, D::kStartZ}, start) ||
        !ReadFloats(*this, {D::kAxisX, D::kAxisY, D::kAxisZ}, axis) || !GetFloat(D::kAngle, angle))
        return false;
    std::copy(start, start + 4, m_fields.m_start);
    std::copy(axis, axis + 3, m_fields.m_axis);
    m_fields.m_angle = angle;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Panning

CViewTransWindow::CViewTransWindow(CDlgViewTrans& fields, QWidget* parent)
    : CViewButtonWindow(fields, u"视平移按钮", parent), m_fields(fields) {
    using D = CDlgViewTrans;
    AddCaptionRow();
    const int ids[2][3] = {{D::kStartX, D::kStartY, D::kStartZ}, {D::kEndX, D::kEndY, D::kEndZ}};
    const float* values[2] = {fields.m_start, fields.m_end};
    const char16_t* labels[2] = {u"起始中心：", u"目标中心："};
    for (int r = 0; r < 2; ++r) {
        m_grid->addWidget(new QLabel(Text(labels[r]), this), m_row, 0);
        auto* line = new QHBoxLayout;
        for (int i = 0; i < 3; ++i)
            line->addWidget(AddNumberEdit(ids[r][i], values[r][i]));
        m_grid->addLayout(line, m_row++, 1, 1, 6);
    }
    FinishLayout();
}

bool CViewTransWindow::ReadValues() {
    using D = CDlgViewTrans;
    float start[3], end[3];
    if (!ReadFloats(*this, {D::kStartX, D::kStartY, D::kStartZ}, start) ||
        !ReadFloats(*this, {D::kEndX, D::kEndY, D::kEndZ}, end))
        return false;
    std::copy(start, start + 3, m_fields.m_start);
    std::copy(end, end + 3, m_fields.m_end);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Zooming

CViewScaleWindow::CViewScaleWindow(CDlgViewScale& fields, QWidget* parent)
    : CViewButtonWindow(fields, u"视缩放按钮", parent), m_fields(fields) {
    using D = CDlgViewScale;
    AddCaptionRow();
    m_grid->addWidget(new QLabel(Text(u"起始比例："), this), m_row, 0);
    m_grid->addWidget(AddNumberEdit(D::kStartZoom, fields.m_startZoom), m_row++, 1, 1, 2);
    m_grid->addWidget(new QLabel(Text(u"目标比例："), this), m_row, 0);
    m_grid->addWidget(AddNumberEdit(D::kEndZoom, fields.m_endZoom), m_row++, 1, 1, 2);
    FinishLayout();
}

bool CViewScaleWindow::ReadValues() {
    using D = CDlgViewScale;
    float start, end;
    if (!GetFloat(D::kStartZoom, start) || !GetFloat(D::kEndZoom, end))
        return false;
    m_fields.m_startZoom = start;
    m_fields.m_endZoom = end;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowViewRotateDialog(CDialog& dialog) {
    return Run<CViewRotateWindow, CDlgViewRotate>(dialog);
}

INT_PTR HxShowViewTransDialog(CDialog& dialog) {
    return Run<CViewTransWindow, CDlgViewTrans>(dialog);
}

INT_PTR HxShowViewScaleDialog(CDialog& dialog) {
    return Run<CViewScaleWindow, CDlgViewScale>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgViewRotate), HxShowViewRotateDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgViewTrans), HxShowViewTransDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgViewScale), HxShowViewScaleDialog);
    return true;
}();
} // namespace
