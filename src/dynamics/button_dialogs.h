// The fields of the six action-button dialogs (animation on a path or of a value, walk of a point in
// a face or plane, move, show/hide, series, link): what the button commands and the properties of a
// button fill in and read back after OK, and the rule that ties a step to its speed choice.  The
// windows show them through their presenters.
#pragma once

#include "platform/afx.h"

#include <vector>

// The speed choice of the animation, walk and move dialogs: "快速", "中速", "慢速" (three preset
// steps) or "自定义：" with a step of the user's own.
struct CHxSpeedPresets {
    float fast;
    float medium;
    float slow;
    // The range a custom step must lie in, when it has one.
    bool hasRange;
    float least;
    float most;

    static constexpr int kFast = 0;
    static constexpr int kMedium = 1;
    static constexpr int kSlow = 2;
    static constexpr int kCustom = 3;

    // The choice a step opens with: the preset it equals, else the custom choice.
    int ChoiceFor(float step) const;
    // The step of a preset choice (the custom choice keeps the step given).
    float StepFor(int choice, float step) const;
};

// "操作类按钮　路径动画属性": a point on a path or a value swept between two bounds.
class CDlgBtnAnimation : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnAnimation)
public:
    enum { IDD = 217 };
    static constexpr int kCaption = 1000;
    static constexpr int kDriven = 1001;
    static constexpr int kRangeStart = 1002;
    static constexpr int kRangeEnd = 1004;
    static constexpr int kDirection = 1007;
    static constexpr int kRepeat = 1031;
    static constexpr int kPause = 1011;
    static constexpr int kSpeedChoice = 1017;
    static constexpr int kCustomStep = 1029;
    static constexpr CHxSpeedPresets kPresets{0.5f, 0.1f, 0.01f, false, 0.0f, 0.0f};

    CDlgBtnAnimation() : CDialog(IDD) {}
    // The interval edit shows only for "双向" or "循环".
    static bool ShowsPause(int direction, int repeat) { return direction == 2 || repeat == 1; }

    CString m_caption;
    CString m_driven; // the driven object's description
    float m_min = 0.0f;
    float m_max = 1.0f;
    int m_direction = 0; // "正向", "反向", "双向"
    int m_repeat = 0;    // "一次", "循环"
    float m_pause = 0.0f;
    int m_speedChoice = CHxSpeedPresets::kMedium;
    float m_customStep = 0.1f;
    float m_step = 0.1f;
};

// "操作类按钮　面内点动画属性": a point walking at random in a face or a plane.
class CDlgBtnAnimation2 : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnAnimation2)
public:
    enum { IDD = 228 };
    static constexpr int kCaption = 1000;
    static constexpr int kDriven = 1001;
    static constexpr int kFrames = 1002;
    static constexpr int kSpeedChoice = 1007;
    static constexpr int kCustomStep = 1004;
    static constexpr CHxSpeedPresets kPresets{0.2f, 0.02f, 0.002f, true, 0.001f, 0.5f};

    CDlgBtnAnimation2() : CDialog(IDD) {}

    CString m_caption;
    CString m_driven;
    float m_frames = 120.0f; // "播放时长" in frames: the walk's number of steps
    int m_speedChoice = CHxSpeedPresets::kMedium;
    float m_customStep = 0.02f;
    float m_step = 0.02f;
};

// "操作类按钮　移动属性": a point moved towards a target.
class CDlgBtnMove : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnMove)
public:
    enum { IDD = 207 };
    static constexpr int kCaption = 1000;
    static constexpr int kMoving = 1001;
    static constexpr int kTarget = 1002;
    static constexpr int kSpeedChoice = 1017;
    static constexpr int kCustomStep = 1029;
    static constexpr CHxSpeedPresets kPresets{0.2f, 0.1f, 0.05f, false, 0.0f, 0.0f};

    CDlgBtnMove() : CDialog(IDD) {}

    CString m_caption;
    CString m_moving; // "A： " and the moving point's description
    CString m_target;
    int m_speedChoice = CHxSpeedPresets::kMedium;
    float m_customStep = 0.1f;
    float m_step = 0.1f;
};

// "操作类按钮　显示隐藏属性": the action of a show/hide button.
class CDlgBtnShide : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnShide)
public:
    enum { IDD = 208 };
    static constexpr int kInfo = 1001;
    static constexpr int kCaption = 1000;
    static constexpr int kAction = 1007;
    static const char16_t* const kActionNames[4];

    CDlgBtnShide() : CDialog(IDD) {}

    CString m_info; // "此按钮显示或隐藏 %d个对象"
    CString m_caption;
    int m_action = 2;
};

// "操作类按钮　系列按钮属性": members at once or in turn, and the loop.
class CDlgBtnPresentat : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnPresentat)
public:
    enum { IDD = 209 };
    static constexpr int kCaption = 1000;
    static constexpr int kMode = 1007;
    static constexpr int kPause = 1001;
    static constexpr int kLoop = 1251;
    static constexpr int kRepeatCount = 1002;
    static constexpr int kStart = 1180;
    static constexpr int kEnd = 1003;
    static constexpr int kStep = 1004;
    static constexpr int kCounter = 1015;
    static const char16_t* const kLoopNames[5];

    // Which controls a loop kind shows: the repeat count, the for loop's three values, the loop
    // variable, the while text, the until text.
    struct CLoopControls {
        bool repeatCount, forValues, variable, whileText, untilText;
    };
    static CLoopControls ControlsFor(int loopKind);

    CDlgBtnPresentat() : CDialog(IDD) {}

    CString m_caption;
    int m_mode = 0; // "同时执行", "依序执行"
    float m_pause = 0.0f;
    int m_loopKind = 0;
    int m_repeatCount = 2;
    double m_start = 0.0;
    double m_end = 3.0;
    double m_step = 1.0;
    int m_counter = 0; // the loop variable "No.1" to "No.6", from 0
};

// "链接": a page of the document or a file, folder or address.
class CDlgBtnLink : public CDialog {
    DECLARE_DYNAMIC(CDlgBtnLink)
public:
    enum { IDD = 210 };
    static constexpr int kCaption = 1001;
    static constexpr int kKind = 1007;
    static constexpr int kPage = 1015;
    static constexpr int kHyperlink = 1000;
    static constexpr int kBrowse = 1027;
    static const char16_t* const kDefaultHyperlink;

    CDlgBtnLink() : CDialog(IDD) {}

    CString m_caption;
    int m_kind = 0;      // "链到页面：", "超级链接："
    int m_pageIndex = 0; // into m_pageTitles
    std::vector<CString> m_pageTitles;
    CString m_hyperlink = kDefaultHyperlink;
};

// "命令按钮": the caption, the delay between commands (in ticks of 0.04 s) and the sequence of
// commands picked from the fixed list of available ones.  The editing of the sequence lives here
// so that the window only shows it: double click appends, "上移" and "下移" swap the selected
// command with its neighbour, "删除" removes it; OK only while the sequence holds a command.
class CDlgCmdBtn : public CDialog {
    DECLARE_DYNAMIC(CDlgCmdBtn)
public:
    enum { IDD = 244 };
    static constexpr int kCaption = 1000;
    static constexpr int kDelay = 1001;
    static constexpr int kAvailable = 1115;
    static constexpr int kSequence = 1116;
    static constexpr int kUp = 1027;
    static constexpr int kDown = 1028;
    static constexpr int kDelete = 1029;

    // A command the sequence may hold: its name and id.
    struct CCommand {
        const char16_t* name;
        int id;
    };
    // The 24 commands offered, in their order.
    static const std::vector<CCommand>& Available();
    // The name of a command id ("" for an id not offered), from a table made once.
    static CString CommandName(int id);

    CDlgCmdBtn() : CDialog(IDD) {}

    // Appends the available command at `index` and selects it.
    void Append(int index);
    // The selected command swapped with the one before (after) it; nothing at the ends.
    void MoveUp();
    void MoveDown();
    // Removes the selected command and selects the next one, or the new last.
    void Delete();
    // Selects the last command (as the dialog opens), or none for an empty sequence.
    void SelectLast() { m_selected = int(m_sequence.size()) - 1; }

    bool CanAccept() const { return !m_sequence.empty(); }
    bool CanMoveUp() const { return m_selected > 0 && m_selected < int(m_sequence.size()); }
    bool CanMoveDown() const { return m_selected >= 0 && m_selected + 1 < int(m_sequence.size()); }
    bool CanDelete() const { return m_selected >= 0 && m_selected < int(m_sequence.size()); }

    CString m_caption = u"命令序列";
    int m_delay = 12;
    std::vector<int> m_sequence; // command ids in order
    int m_selected = -1;         // place in the sequence, -1 none
};
