// The action buttons as far as the page steps and starts them: the common button with its running
// flag and step operation, the animation and move buttons that drive their first parent, and the
// series button with its start check.  The buttons' records, drawing and actions belong to the
// button code and come with it.
#pragma once

#include "model/cell.h"

class CGButton : public CGCell {
    DECLARE_DYNAMIC(CGButton)
public:
    // Button colour (51, 102, 255), black caption shown, speed 0.01, 60 x 25 pixels.
    CGButton();

    // One tick of the button's action; TRUE when the action is complete and the button leaves
    // the page's running list.  A button without an action of its own completes at once.
    virtual BOOL Step();
    CString GetDescription() override; // "动作按钮"
    // The drag of the arrow tool: the button (its anchor, the upper left corner) moves by the last
    // mouse movement times g_unitLength, and the page places its next new button below this one.
    virtual void DragBy();

    bool m_running = false; // set while the button is in its page's running list
    float m_speed = 0.01f;
    int m_width = 60; // pixels
    int m_height = 25;
};

// Animates its first parent, the driven point (or value).
class CGButnAnimation : public CGButton {
    DECLARE_DYNAMIC(CGButnAnimation)
};

// Moves its first parent, a point, towards a target.
class CGButnMove : public CGButton {
    DECLARE_DYNAMIC(CGButnMove)
};

// Runs its parents, the member buttons: all at once (m_kind 0) or one after another (m_kind
// non-zero, the member now running in m_param4), repeating by the loop kind in m_extA1 (0 none,
// 1 a fixed count, 2 a counting loop, 3 while, 4 until a counter is positive); m_style is the
// started flag of loop kinds 2 and 3.
class CGButnPresentat : public CGButton {
    DECLARE_DYNAMIC(CGButnPresentat)
public:
    // The start check: FALSE when the loop's condition already stops it (a counting loop whose start
    // lies beyond its end, a while loop whose counter is not positive); otherwise marks the loop
    // started (counting loops set their counter to the start) and returns TRUE.
    BOOL CanStart();

    int m_pauseCount = 0;
    int m_runNumber = 1;
    int m_repeatCount = 2;
    int m_counterNumber = 1; // which of the six expression counters the loop uses, 1 to 6
    double m_start = 1.0;
    double m_end = 3.0;
    double m_step = 1.0;
};

// Turns the view by an angle about an axis: the start orientation as a quaternion (x, y, z here,
// w in m_param2), the angle in degrees in m_param3, the axis and the number of turns.
class CGButnRotate : public CGButton {
    DECLARE_DYNAMIC(CGButnRotate)
public:
    float m_startRotation[3] = {0.0f, 0.0f, 0.0f};
    float m_axis[3] = {0.0f, 0.0f, 1.0f};
    float m_turnCount = 1.0f;
};
