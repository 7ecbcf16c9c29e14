// The windows of the six action-button dialogs: each shows the fields of its dialog class, keeps its
// controls consistent (the speed choice and its custom step, the pause shown only where it applies,
// the loop controls of the loop chosen, the page list or the address), and writes the fields back on
// OK once every number reads.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "dynamics/button_dialogs.h"

#include <memory>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;

// The speed radio buttons ("快速", "中速", "慢速", "自定义：") with the custom step's edit.
class CHxSpeedChoice;

class CBtnAnimationWindow : public CHxExchangeDialog {
public:
    explicit CBtnAnimationWindow(CDlgBtnAnimation& fields, QWidget* parent = nullptr);
    ~CBtnAnimationWindow() override;
    void accept() override;

private:
    void ApplyPauseRule();
    CDlgBtnAnimation& m_fields;
    QButtonGroup* m_direction;
    QButtonGroup* m_repeat;
    QLabel* m_pauseLabel;
    QLabel* m_pauseUnit;
    std::unique_ptr<CHxSpeedChoice> m_speed;
};

class CBtnAnimation2Window : public CHxExchangeDialog {
public:
    explicit CBtnAnimation2Window(CDlgBtnAnimation2& fields, QWidget* parent = nullptr);
    ~CBtnAnimation2Window() override;
    void accept() override;

private:
    CDlgBtnAnimation2& m_fields;
    std::unique_ptr<CHxSpeedChoice> m_speed;
};

class CBtnMoveWindow : public CHxExchangeDialog {
public:
    explicit CBtnMoveWindow(CDlgBtnMove& fields, QWidget* parent = nullptr);
    ~CBtnMoveWindow() override;
    void accept() override;

private:
    CDlgBtnMove& m_fields;
    std::unique_ptr<CHxSpeedChoice> m_speed;
};

class CBtnShideWindow : public CHxExchangeDialog {
public:
    explicit CBtnShideWindow(CDlgBtnShide& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgBtnShide& m_fields;
    QButtonGroup* m_action;
};

class CBtnPresentatWindow : public CHxExchangeDialog {
public:
    explicit CBtnPresentatWindow(CDlgBtnPresentat& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    void ApplyModeRule();
    void ApplyLoopRule();
    CDlgBtnPresentat& m_fields;
    QButtonGroup* m_mode;
    QButtonGroup* m_loop;
    QComboBox* m_counter;
    QLabel* m_pauseLabel;
    QLabel* m_pauseUnit;
    QLabel* m_repeatLabel;
    QLabel* m_startLabel;
    QLabel* m_endLabel;
    QLabel* m_stepLabel;
    QLabel* m_counterLabel;
    QLabel* m_whileText;
    QLabel* m_untilText;
};

class CBtnLinkWindow : public CHxExchangeDialog {
public:
    explicit CBtnLinkWindow(CDlgBtnLink& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    void ApplyKindRule();
    void Browse();
    CDlgBtnLink& m_fields;
    QButtonGroup* m_kind;
    QComboBox* m_pages;
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowBtnAnimationDialog(CDialog& dialog);
INT_PTR HxShowBtnAnimation2Dialog(CDialog& dialog);
INT_PTR HxShowBtnMoveDialog(CDialog& dialog);
INT_PTR HxShowBtnShideDialog(CDialog& dialog);
INT_PTR HxShowBtnPresentatDialog(CDialog& dialog);
INT_PTR HxShowBtnLinkDialog(CDialog& dialog);
