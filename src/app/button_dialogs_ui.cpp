// The action-button dialog windows: their layouts, the speed choice, the rules that show or enable
// controls, the data exchange on OK, and their registration as the presenters of the dialog classes.
#include "app/button_dialogs_ui.h"

#include "app/dialog_window.h"
#include "platform/document.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <climits>
#include <initializer_list>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

// Radio buttons with the dialog ids first, first + 1, ... in one group.
QButtonGroup* AddRadios(QWidget* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    int i = 0;
    for (QRadioButton* b : buttons)
        group->addButton(b, i++);
    return group;
}

void ShowAll(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets) {
        if (w)
            w->setVisible(on);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The speed choice

class CHxSpeedChoice {
public:
    // Opens with the choice the step gives: a preset it equals, else the custom choice with the
    // step in the edit (which only the custom choice enables).
    CHxSpeedChoice(QButtonGroup* group, QLineEdit* edit, const CHxSpeedPresets& presets, float step,
                   float custom)
        : m_group(group), m_edit(edit), m_presets(presets), m_step(step) {
        const int choice = presets.ChoiceFor(step);
        m_edit->setText(CHxExchangeDialog::FloatText(choice == CHxSpeedPresets::kCustom ? step : custom));
        CHxExchangeDialog::SetRadioIndex(m_group, choice);
        m_edit->setEnabled(choice == CHxSpeedPresets::kCustom);
        QObject::connect(m_group, &QButtonGroup::idClicked, m_edit, [this](int id) { Choose(id); });
        QObject::connect(m_edit, &QLineEdit::textEdited, m_edit, [this](const QString& text) {
            float v = 0.0f;
            if (CHxExchangeDialog::ParseFloat(text, v))
                m_step = v;
        });
    }
    int Choice() const { return CHxExchangeDialog::RadioIndex(m_group); }
    float Step() const { return m_step; }
    float CustomText(float fallback) const {
        float v = fallback;
        CHxExchangeDialog::ParseFloat(m_edit->text(), v);
        return v;
    }
    // A click on a preset takes its step; one on the custom choice puts the step into the edit.
    void Choose(int choice) {
        if (choice == CHxSpeedPresets::kCustom) {
            m_edit->setEnabled(true);
            m_edit->setText(CHxExchangeDialog::FloatText(m_step));
        } else {
            m_step = m_presets.StepFor(choice, m_step);
            m_edit->setEnabled(false);
        }
    }
    // On OK: the custom step must read (and lie within its range, where it has one).
    bool Read(CHxExchangeDialog& window, int editId, float& step, float& custom) {
        if (Choice() == CHxSpeedPresets::kCustom) {
            float v = 0.0f;
            const bool ok = m_presets.hasRange ? window.GetFloat(editId, v, m_presets.least, m_presets.most)
                                               : window.GetFloat(editId, v);
            if (!ok)
                return false;
            m_step = v;
        }
        step = m_step;
        custom = CustomText(custom);
        return true;
    }

private:
    QButtonGroup* m_group;
    QLineEdit* m_edit;
    CHxSpeedPresets m_presets;
    float m_step;
};

namespace {

// The four speed buttons and the custom edit in a row of the grid.
QButtonGroup* SpeedRow(CHxExchangeDialog& window, QGridLayout* grid, int row, const char16_t* label,
                       QRadioButton* b[4], QLineEdit* edit) {
    grid->addWidget(new QLabel(Text(label), &window), row, 0);
    auto* line = new QHBoxLayout;
    for (int i = 0; i < 4; ++i)
        line->addWidget(b[i]);
    line->addWidget(edit);
    line->addStretch(1);
    grid->addLayout(line, row, 1, 1, 3);
    return AddRadios(&window, {b[0], b[1], b[2], b[3]});
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Path animation

CBtnAnimationWindow::CBtnAnimationWindow(CDlgBtnAnimation& fields, QWidget* parent)
    : CHxExchangeDialog(u"操作类按钮　路径动画属性", parent), m_fields(fields) {
    using D = CDlgBtnAnimation;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(Text(u"按钮标签："), this), row, 0);
    grid->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"动画对象："), this), row, 0);
    grid->addWidget(AddDescription(D::kDriven, fields.m_driven), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"参数范围："), this), row, 0);
    grid->addWidget(AddNumberEdit(D::kRangeStart, fields.m_min), row, 1);
    grid->addWidget(new QLabel(Text(u"→"), this), row, 2, Qt::AlignCenter);
    grid->addWidget(AddNumberEdit(D::kRangeEnd, fields.m_max), row++, 3);

    grid->addWidget(new QLabel(Text(u"运动方向："), this), row, 0);
    auto* forward = Add(D::kDirection, new QRadioButton(Text(u"正向"), this));
    auto* backward = Add(D::kDirection + 1, new QRadioButton(Text(u"反向"), this));
    auto* both = Add(D::kDirection + 2, new QRadioButton(Text(u"双向"), this));
    m_direction = AddRadios(this, {forward, backward, both});
    auto* directions = new QHBoxLayout;
    for (QWidget* w :
         {static_cast<QWidget*>(forward), static_cast<QWidget*>(backward), static_cast<QWidget*>(both)})
        directions->addWidget(w);
    directions->addStretch(1);
    grid->addLayout(directions, row++, 1, 1, 3);

    grid->addWidget(new QLabel(Text(u"播放次数："), this), row, 0);
    auto* once = Add(D::kRepeat, new QRadioButton(Text(u"一次"), this));
    auto* loop = Add(D::kRepeat + 1, new QRadioButton(Text(u"循环"), this));
    m_repeat = AddRadios(this, {once, loop});
    auto* repeats = new QHBoxLayout;
    repeats->addWidget(once);
    repeats->addWidget(loop);
    m_pauseLabel = new QLabel(Text(u"间隔"), this);
    m_pauseUnit = new QLabel(Text(u"秒"), this);
    repeats->addWidget(m_pauseLabel);
    repeats->addWidget(AddNumberEdit(D::kPause, fields.m_pause));
    repeats->addWidget(m_pauseUnit);
    repeats->addStretch(1);
    grid->addLayout(repeats, row++, 1, 1, 3);

    QRadioButton* speeds[4] = {Add(D::kSpeedChoice, new QRadioButton(Text(u"快速"), this)),
                               Add(D::kSpeedChoice + 1, new QRadioButton(Text(u"中速"), this)),
                               Add(D::kSpeedChoice + 2, new QRadioButton(Text(u"慢速"), this)),
                               Add(D::kSpeedChoice + 3, new QRadioButton(Text(u"自定义："), this))};
    QLineEdit* custom = AddNumberEdit(D::kCustomStep, fields.m_customStep);
    QButtonGroup* speedGroup = SpeedRow(*this, grid, row++, u"参数增速：", speeds, custom);
    m_speed =
        std::make_unique<CHxSpeedChoice>(speedGroup, custom, D::kPresets, fields.m_step, fields.m_customStep);
    layout->addLayout(grid);
    AddOkCancel(layout);

    SetRadioIndex(m_direction, fields.m_direction);
    SetRadioIndex(m_repeat, fields.m_repeat);
    ApplyPauseRule();
    connect(m_direction, &QButtonGroup::idClicked, this, [this] { ApplyPauseRule(); });
    connect(m_repeat, &QButtonGroup::idClicked, this, [this] { ApplyPauseRule(); });
}

CBtnAnimationWindow::~CBtnAnimationWindow() = default;

void CBtnAnimationWindow::ApplyPauseRule() {
    const bool on = CDlgBtnAnimation::ShowsPause(RadioIndex(m_direction), RadioIndex(m_repeat));
    ShowAll({m_pauseLabel, Edit(CDlgBtnAnimation::kPause), m_pauseUnit}, on);
}

void CBtnAnimationWindow::accept() {
    using D = CDlgBtnAnimation;
    float min, max, pause = m_fields.m_pause, step, custom = m_fields.m_customStep;
    if (!GetFloat(D::kRangeStart, min) || !GetFloat(D::kRangeEnd, max) || !GetFloat(D::kPause, pause) ||
        !m_speed->Read(*this, D::kCustomStep, step, custom))
        return;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_min = min;
    m_fields.m_max = max;
    m_fields.m_pause = pause;
    m_fields.m_direction = RadioIndex(m_direction);
    m_fields.m_repeat = RadioIndex(m_repeat);
    m_fields.m_speedChoice = m_speed->Choice();
    m_fields.m_customStep = custom;
    m_fields.m_step = step;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Walk of a point in a face or plane

CBtnAnimation2Window::CBtnAnimation2Window(CDlgBtnAnimation2& fields, QWidget* parent)
    : CHxExchangeDialog(u"操作类按钮　面内点动画属性", parent), m_fields(fields) {
    using D = CDlgBtnAnimation2;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(Text(u"按钮标签："), this), row, 0);
    grid->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"动画对象："), this), row, 0);
    grid->addWidget(AddDescription(D::kDriven, fields.m_driven), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"播放时长："), this), row, 0);
    auto* frames = new QHBoxLayout;
    frames->addWidget(AddNumberEdit(D::kFrames, fields.m_frames));
    frames->addWidget(new QLabel(Text(u"帧"), this));
    frames->addStretch(1);
    grid->addLayout(frames, row++, 1, 1, 3);
    QRadioButton* speeds[4] = {Add(D::kSpeedChoice, new QRadioButton(Text(u"快速"), this)),
                               Add(D::kSpeedChoice + 1, new QRadioButton(Text(u"中速"), this)),
                               Add(D::kSpeedChoice + 2, new QRadioButton(Text(u"慢速"), this)),
                               Add(D::kSpeedChoice + 3, new QRadioButton(Text(u"自定义："), this))};
    QLineEdit* custom = AddNumberEdit(D::kCustomStep, fields.m_customStep);
    QButtonGroup* speedGroup = SpeedRow(*this, grid, row++, u"步长（速度）：", speeds, custom);
    m_speed =
        std::make_unique<CHxSpeedChoice>(speedGroup, custom, D::kPresets, fields.m_step, fields.m_customStep);
    layout->addLayout(grid);
    AddOkCancel(layout);
}

CBtnAnimation2Window::~CBtnAnimation2Window() = default;

void CBtnAnimation2Window::accept() {
    using D = CDlgBtnAnimation2;
    float frames, step, custom = m_fields.m_customStep;
    if (!GetFloat(D::kFrames, frames) || !m_speed->Read(*this, D::kCustomStep, step, custom))
        return;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_frames = frames;
    m_fields.m_speedChoice = m_speed->Choice();
    m_fields.m_customStep = custom;
    m_fields.m_step = step;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Move

CBtnMoveWindow::CBtnMoveWindow(CDlgBtnMove& fields, QWidget* parent)
    : CHxExchangeDialog(u"操作类按钮　移动属性", parent), m_fields(fields) {
    using D = CDlgBtnMove;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(Text(u"按钮标签："), this), row, 0);
    grid->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"移动点："), this), row, 0);
    grid->addWidget(AddDescription(D::kMoving, fields.m_moving), row++, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"目标点："), this), row, 0);
    grid->addWidget(AddDescription(D::kTarget, fields.m_target), row++, 1, 1, 3);
    QRadioButton* speeds[4] = {Add(D::kSpeedChoice, new QRadioButton(Text(u"快速"), this)),
                               Add(D::kSpeedChoice + 1, new QRadioButton(Text(u"中速"), this)),
                               Add(D::kSpeedChoice + 2, new QRadioButton(Text(u"慢速"), this)),
                               Add(D::kSpeedChoice + 3, new QRadioButton(Text(u"自定义："), this))};
    QLineEdit* custom = AddNumberEdit(D::kCustomStep, fields.m_customStep);
    QButtonGroup* speedGroup = SpeedRow(*this, grid, row++, u"参数增速：", speeds, custom);
    m_speed =
        std::make_unique<CHxSpeedChoice>(speedGroup, custom, D::kPresets, fields.m_step, fields.m_customStep);
    layout->addLayout(grid);
    AddOkCancel(layout);
}

CBtnMoveWindow::~CBtnMoveWindow() = default;

void CBtnMoveWindow::accept() {
    using D = CDlgBtnMove;
    float step, custom = m_fields.m_customStep;
    if (!m_speed->Read(*this, D::kCustomStep, step, custom))
        return;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_speedChoice = m_speed->Choice();
    m_fields.m_customStep = custom;
    m_fields.m_step = step;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Show/hide

CBtnShideWindow::CBtnShideWindow(CDlgBtnShide& fields, QWidget* parent)
    : CHxExchangeDialog(u"操作类按钮　显示隐藏属性", parent), m_fields(fields) {
    using D = CDlgBtnShide;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddDescription(D::kInfo, fields.m_info));
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(new QLabel(Text(u"按钮标签："), this));
    captionRow->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)));
    layout->addLayout(captionRow);
    auto* box = new QGroupBox(Text(u"显隐动作："), this);
    auto* actions = new QVBoxLayout(box);
    QRadioButton* b[4];
    for (int i = 0; i < 4; ++i) {
        b[i] = Add(D::kAction + i, new QRadioButton(Text(D::kActionNames[i]), box));
        actions->addWidget(b[i]);
    }
    m_action = AddRadios(this, {b[0], b[1], b[2], b[3]});
    layout->addWidget(box);
    AddOkCancel(layout);
    SetRadioIndex(m_action, fields.m_action);
}

void CBtnShideWindow::accept() {
    m_fields.m_caption = CString::FromQString(Edit(CDlgBtnShide::kCaption)->text());
    m_fields.m_action = RadioIndex(m_action);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Series

CBtnPresentatWindow::CBtnPresentatWindow(CDlgBtnPresentat& fields, QWidget* parent)
    : CHxExchangeDialog(u"操作类按钮　系列按钮属性", parent), m_fields(fields) {
    using D = CDlgBtnPresentat;
    auto* layout = new QVBoxLayout(this);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(new QLabel(Text(u"按钮标签："), this));
    captionRow->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)));
    layout->addLayout(captionRow);

    auto* modeBox = new QGroupBox(Text(u"系列动作"), this);
    auto* modes = new QHBoxLayout(modeBox);
    auto* together = Add(D::kMode, new QRadioButton(Text(u"同时执行"), modeBox));
    auto* inTurn = Add(D::kMode + 1, new QRadioButton(Text(u"依序执行"), modeBox));
    m_mode = AddRadios(this, {together, inTurn});
    modes->addWidget(together);
    modes->addWidget(inTurn);
    m_pauseLabel = new QLabel(Text(u"动作之间暂停"), modeBox);
    m_pauseUnit = new QLabel(Text(u"秒"), modeBox);
    modes->addWidget(m_pauseLabel);
    modes->addWidget(AddNumberEdit(D::kPause, fields.m_pause));
    modes->addWidget(m_pauseUnit);
    modes->addStretch(1);
    layout->addWidget(modeBox);

    auto* loopBox = new QGroupBox(Text(u"循环"), this);
    auto* grid = new QGridLayout(loopBox);
    QRadioButton* loops[5];
    for (int i = 0; i < 5; ++i) {
        loops[i] = Add(D::kLoop + i, new QRadioButton(Text(D::kLoopNames[i]), loopBox));
        grid->addWidget(loops[i], i, 0);
    }
    m_loop = AddRadios(this, {loops[0], loops[1], loops[2], loops[3], loops[4]});
    m_repeatLabel = new QLabel(Text(u"次数"), loopBox);
    grid->addWidget(m_repeatLabel, 1, 1);
    grid->addWidget(AddNumberEdit(D::kRepeatCount, QString::number(fields.m_repeatCount)), 1, 2);
    m_startLabel = new QLabel(Text(u"初值"), loopBox);
    m_endLabel = new QLabel(Text(u"终值"), loopBox);
    m_stepLabel = new QLabel(Text(u"步长"), loopBox);
    auto* forRow = new QHBoxLayout;
    forRow->addWidget(m_startLabel);
    forRow->addWidget(AddNumberEdit(D::kStart, DoubleText(fields.m_start)));
    forRow->addWidget(m_endLabel);
    forRow->addWidget(AddNumberEdit(D::kEnd, DoubleText(fields.m_end)));
    forRow->addWidget(m_stepLabel);
    forRow->addWidget(AddNumberEdit(D::kStep, DoubleText(fields.m_step)));
    grid->addLayout(forRow, 2, 1, 1, 3);
    m_counterLabel = new QLabel(Text(u"循环变量"), loopBox);
    m_counter = Add(D::kCounter, new QComboBox(loopBox));
    for (int n = 1; n <= 6; ++n)
        m_counter->addItem(QStringLiteral("No.%1").arg(n));
    m_counter->setCurrentIndex(fields.m_counter >= 0 && fields.m_counter < 6 ? fields.m_counter : 0);
    grid->addWidget(m_counterLabel, 5, 0);
    grid->addWidget(m_counter, 5, 1);
    m_whileText = new QLabel(Text(u"先判断，再执行。变量值为正时循环。"), loopBox);
    m_untilText = new QLabel(Text(u"先执行，再判断。变量值为正时退出。"), loopBox);
    grid->addWidget(m_whileText, 3, 1, 1, 3);
    grid->addWidget(m_untilText, 4, 1, 1, 3);
    grid->addWidget(new QLabel(Text(u"请认真阅读帮助文档后在此栏目设置循环！"), loopBox), 6, 0, 1, 4);
    layout->addWidget(loopBox);
    AddOkCancel(layout);

    SetRadioIndex(m_mode, fields.m_mode);
    SetRadioIndex(m_loop, fields.m_loopKind);
    ApplyModeRule();
    ApplyLoopRule();
    connect(m_mode, &QButtonGroup::idClicked, this, [this] { ApplyModeRule(); });
    connect(m_loop, &QButtonGroup::idClicked, this, [this] { ApplyLoopRule(); });
}

void CBtnPresentatWindow::ApplyModeRule() {
    ShowAll({m_pauseLabel, Edit(CDlgBtnPresentat::kPause), m_pauseUnit}, RadioIndex(m_mode) == 1);
}

void CBtnPresentatWindow::ApplyLoopRule() {
    using D = CDlgBtnPresentat;
    const D::CLoopControls shown = D::ControlsFor(RadioIndex(m_loop));
    ShowAll({m_repeatLabel, Edit(D::kRepeatCount)}, shown.repeatCount);
    ShowAll({m_startLabel, Edit(D::kStart), m_endLabel, Edit(D::kEnd), m_stepLabel, Edit(D::kStep)},
            shown.forValues);
    ShowAll({m_counterLabel, m_counter}, shown.variable);
    m_whileText->setVisible(shown.whileText);
    m_untilText->setVisible(shown.untilText);
}

void CBtnPresentatWindow::accept() {
    using D = CDlgBtnPresentat;
    float pause = m_fields.m_pause;
    int repeat = m_fields.m_repeatCount;
    double start = m_fields.m_start, end = m_fields.m_end, step = m_fields.m_step;
    if (!GetFloat(D::kPause, pause) || !GetInt(D::kRepeatCount, repeat, INT_MIN, INT_MAX) ||
        !GetDouble(D::kStart, start) || !GetDouble(D::kEnd, end) || !GetDouble(D::kStep, step))
        return;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_mode = RadioIndex(m_mode);
    m_fields.m_pause = pause;
    m_fields.m_loopKind = RadioIndex(m_loop);
    m_fields.m_repeatCount = repeat;
    m_fields.m_start = start;
    m_fields.m_end = end;
    m_fields.m_step = step;
    m_fields.m_counter = m_counter->currentIndex();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Link

CBtnLinkWindow::CBtnLinkWindow(CDlgBtnLink& fields, QWidget* parent)
    : CHxExchangeDialog(u"链接", parent), m_fields(fields) {
    using D = CDlgBtnLink;
    auto* layout = new QVBoxLayout(this);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(new QLabel(Text(u"按钮标签："), this));
    captionRow->addWidget(Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this)));
    layout->addLayout(captionRow);
    auto* box = new QGroupBox(Text(u"链接到"), this);
    auto* grid = new QGridLayout(box);
    auto* toPage = Add(D::kKind, new QRadioButton(Text(u"链到页面："), box));
    auto* toTarget = Add(D::kKind + 1, new QRadioButton(Text(u"超级链接："), box));
    m_kind = AddRadios(this, {toPage, toTarget});
    m_pages = Add(D::kPage, new QComboBox(box));
    for (const CString& title : fields.m_pageTitles)
        m_pages->addItem(title.ToQString());
    if (fields.m_pageIndex >= 0 && fields.m_pageIndex < m_pages->count())
        m_pages->setCurrentIndex(fields.m_pageIndex);
    grid->addWidget(toPage, 0, 0);
    grid->addWidget(m_pages, 0, 1, 1, 2);
    grid->addWidget(toTarget, 1, 0);
    auto* address = Add(D::kHyperlink, new QLineEdit(fields.m_hyperlink.ToQString(), box));
    address->setMinimumWidth(260);
    grid->addWidget(address, 1, 1);
    auto* browse = Add(D::kBrowse, new QPushButton(Text(u"浏览"), box));
    grid->addWidget(browse, 1, 2);
    grid->addWidget(new QLabel(Text(u"（输入文档、程序、文件夹名或 网页URL）"), box), 2, 1, 1, 2);
    layout->addWidget(box);
    AddOkCancel(layout);

    SetRadioIndex(m_kind, fields.m_kind);
    ApplyKindRule();
    connect(m_kind, &QButtonGroup::idClicked, this, [this] { ApplyKindRule(); });
    connect(m_pages, &QComboBox::activated, this, [this](int index) { m_fields.m_pageIndex = index; });
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
}

void CBtnLinkWindow::ApplyKindRule() {
    using D = CDlgBtnLink;
    const bool toTarget = RadioIndex(m_kind) == 1;
    Edit(D::kHyperlink)->setEnabled(toTarget);
    Button(D::kBrowse)->setEnabled(toTarget);
    m_pages->setEnabled(!toTarget);
}

void CBtnLinkWindow::Browse() {
    CFileDialog dialog(TRUE, CString(), CString(), OFN_HIDEREADONLY, CString());
    if (dialog.DoModal() == IDOK)
        Edit(CDlgBtnLink::kHyperlink)->setText(dialog.GetPathName().ToQString());
}

void CBtnLinkWindow::accept() {
    using D = CDlgBtnLink;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_kind = RadioIndex(m_kind) == 1 ? 1 : 0;
    m_fields.m_pageIndex = m_pages->currentIndex() < 0 ? 0 : m_pages->currentIndex();
    m_fields.m_hyperlink = CString::FromQString(Edit(D::kHyperlink)->text());
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowBtnAnimationDialog(CDialog& dialog) {
    return Run<CBtnAnimationWindow, CDlgBtnAnimation>(dialog);
}

INT_PTR HxShowBtnAnimation2Dialog(CDialog& dialog) {
    return Run<CBtnAnimation2Window, CDlgBtnAnimation2>(dialog);
}

INT_PTR HxShowBtnMoveDialog(CDialog& dialog) {
    return Run<CBtnMoveWindow, CDlgBtnMove>(dialog);
}

INT_PTR HxShowBtnShideDialog(CDialog& dialog) {
    return Run<CBtnShideWindow, CDlgBtnShide>(dialog);
}

INT_PTR HxShowBtnPresentatDialog(CDialog& dialog) {
    return Run<CBtnPresentatWindow, CDlgBtnPresentat>(dialog);
}

INT_PTR HxShowBtnLinkDialog(CDialog& dialog) {
    return Run<CBtnLinkWindow, CDlgBtnLink>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnAnimation), HxShowBtnAnimationDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnAnimation2), HxShowBtnAnimation2Dialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnMove), HxShowBtnMoveDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnShide), HxShowBtnShideDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnPresentat), HxShowBtnPresentatDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgBtnLink), HxShowBtnLinkDialog);
    return true;
}();
} // namespace
