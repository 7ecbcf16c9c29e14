// The action buttons: the common button (its caption and size, drawing and picking in the screen
// plane, the drag of its handle, its record and the step the animation timer calls), the animation,
// move, show/hide, series and link buttons, and the view buttons that turn, pan and zoom the camera.
#pragma once

#include "dynamics/button_press.h"
#include "model/cell.h"

#include <vector>

class CGButton : public CGCell {
    DECLARE_SERIAL(CGButton)
public:
    // The least size of a button, in pixels.
    static constexpr int kMinWidth = 60;
    static constexpr int kMinHeight = 25;

    // Button colour (51, 102, 255), black caption shown, speed 0.01, 60 x 25 pixels.
    CGButton();

    // The common record, then the speed.  Size and running state are not stored: a loaded button
    // is idle and measures its caption when it is first drawn.
    void Serialize(CArchive& ar) override;
    // In the screen plane, following the view's panning only: the handle on the left, the frame, the
    // face raised (idle) or pressed in (running), the caption.  Not while hidden or in the three
    // views; an invalid button is still drawn.
    void DrawOnTop() override;
    // From pick mode 3 (the arrow tool): the handle under pick class 5, the body under class 10.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "动作按钮"

    // One tick of the button's action; TRUE when the action is complete and the button leaves
    // the page's running list.  A button without an action of its own completes at once.
    virtual BOOL Step();
    // The drag of the arrow tool: the button (its anchor, the upper left corner) moves by the last
    // mouse movement times g_unitLength, and the page places its next new button below this one.
    virtual void DragBy();

    // The size of a button for a caption of that extent (pixels): 60 x 25 for a caption narrower
    // than 31 and lower than 17 pixels, else the extent plus 30 across and 9 down.
    static void SizeForCaption(int extentWidth, int extentHeight, int& width, int& height);
    // After the caption changed (m_flag2): the size from the caption's extent in the button font and,
    // when an OpenGL context is current, the caption's glyph string (m_text2), which clears the flag.
    void UpdateCaption();
    // The caption, marked for measuring again.
    void SetCaption(const CString& caption);
    // The button's rectangle in the screen plane (x0, y0 the upper left corner, x1, y1 the lower
    // right), in world units before the view's panning.
    void GetBodyRect(float& x0, float& y0, float& x1, float& y1) const;

    bool m_running = false; // set while the button is in its page's running list
    float m_speed = 0.01f;
    int m_width = kMinWidth; // pixels
    int m_height = kMinHeight;

protected:
    // A new button of the current page: id and caption, placed below the last one.
    CGButton(WORD id, const CString& caption);
};

// Animates its first parent, the driven cell: its value (the first parameter word: the parameter of
// a point on a path, a value, the state of a net, cut or model) swept between m_min and m_max
// (kind 0), or a point in a face (kind 1) or in a plane (kind 2) walked at random for m_max steps.
// The pause at the ends is m_extA3 seconds.
class CGButnAnimation : public CGButton {
    DECLARE_SERIAL(CGButnAnimation)
public:
    static constexpr BYTE kSweep = 0;
    static constexpr BYTE kWalkInFace = 1;
    static constexpr BYTE kWalkInPlane = 2;
    // m_mode
    static constexpr int kForward = 0;
    static constexpr int kBackward = 1;
    static constexpr int kBackAndForth = 2;
    // m_state of a sweep
    static constexpr int kRising = 0;
    static constexpr int kFalling = 1;
    static constexpr int kRestart = 2;

    CGButnAnimation(); // 0 to 1, back and forth, repeated
    // A sweep (the creating command sets the kind for a walk), placed below the last button.
    CGButnAnimation(WORD id, const CString& caption, WORD drivenId, float min, float max, int mode,
                    BYTE repeat, float speed, float pauseSeconds);

    // The button record, then min, max, mode, repeat (one byte) and state.
    void Serialize(CArchive& ar) override;
    BOOL Step() override;
    // "参数%s的动画按钮" for a value, else "点%s的动画按钮".
    CString GetDescription() override;

    // The ticks a pause lasts: trunc(g_animationFps x seconds + 1).
    static int PauseLimit(float seconds);

    float m_min = 0.0f; // a walk counts its steps here
    float m_max = 1.0f; // a walk's number of steps
    int m_mode = kBackAndForth;
    BYTE m_repeat = 1;
    int m_state = kRising; // a walk keeps its last direction, 0 to 3
    int m_pauseCount = 0;  // not stored

private:
    BOOL Sweep(CGCell& driven);
    BOOL WalkInFace(CGCell& driven);
    BOOL WalkInPlane(CGCell& driven);
    // A direction 0 to 3 that does not turn the last one back.
    int DrawDirection();
    bool CountPause();
};

// Moves its first parent, a free point, step by step towards its second parent, the target, along
// whatever carries it (m_kind): 0 space, 1 its line, 2 its circle, 3 its curve, 4 its locus, 5 its
// face, 6 the plane of its three points, 7 the closed border through its points, 8 the horizontal
// plane; it stops at the place of the carrier nearest to the target.
class CGButnMove : public CGButton {
    DECLARE_SERIAL(CGButnMove)
public:
    static constexpr BYTE kInSpace = 0;
    static constexpr BYTE kOnLine = 1;
    static constexpr BYTE kOnCircle = 2;
    static constexpr BYTE kOnCurve = 3;
    static constexpr BYTE kOnLocus = 4;
    static constexpr BYTE kInFace = 5;
    static constexpr BYTE kInPlane = 6;
    static constexpr BYTE kOnBorder = 7;
    static constexpr BYTE kInHorizontalPlane = 8;

    CGButnMove() = default;
    CGButnMove(WORD id, const CString& caption, WORD movingId, WORD targetId, float speed, BYTE kind);

    BOOL Step() override;
    // Unless the user fixed it, the caption is the moving point's name, "→" and the target's.
    void UpdateName() override;
    CString GetDescription() override; // "点%s向点%s移动的动画按钮"

    // The kind for a moving point of this class, or -1 when the move button cannot move it.
    static int KindForPoint(const CGCell* point);

    int m_direction = 1; // +1 or -1: the side on which the line and circle kinds last found the target

private:
    BOOL StepFree(bool horizontal);
    BOOL StepLineOrCircle();
    BOOL StepCurve();
    BOOL StepLocus();
    BOOL StepInFace();
    BOOL StepInPlane();
    BOOL StepOnBorder();
};

// Shows or hides its parents, the targets (m_kind): 0 always shows, 1 always hides, 2 toggles (the
// style byte: the targets are hidden; the caption names the next action), 3 shows them one by one
// (the style byte counts those shown) and then hides them all.  Acts in one tick.
class CGButnSHide : public CGButton {
    DECLARE_SERIAL(CGButnSHide)
public:
    static constexpr BYTE kShow = 0;
    static constexpr BYTE kHide = 1;
    static constexpr BYTE kToggle = 2;
    static constexpr BYTE kOneByOne = 3;

    CGButnSHide(); // toggle, caption "隐藏"
    // The targets are the page's selected cells, in selection order.
    explicit CGButnSHide(WORD id);

    BOOL Step() override;
    CString GetDescription() override; // "显示隐藏对象的动作按钮"

private:
    // The toggle's new verb: the whole caption, or only the first two characters of a caption the
    // user fixed (and only when it has three or more).
    void SetVerb(const char16_t* verb);
};

// Runs other buttons, its parents (the members): all at once (m_kind 0) or one after another
// (m_kind non-zero, the member now running in m_param4, m_extA3 seconds between them), repeating by
// the loop kind in m_extA1: 0 none, 1 a fixed count, 2 a counting loop over an expression counter,
// 3 while and 4 until a counter is positive.  m_style is the started flag of loop kinds 2 and 3.
class CGButnPresentat : public CGButton {
    DECLARE_SERIAL(CGButnPresentat)
public:
    static constexpr int kNoLoop = 0;
    static constexpr int kFixedCount = 1;
    static constexpr int kForLoop = 2;
    static constexpr int kWhileLoop = 3;
    static constexpr int kUntilLoop = 4;

    CGButnPresentat(); // parallel, caption "并行"
    // The members are the page's selected buttons, in selection order; the loop is set afterwards.
    CGButnPresentat(WORD id, const CString& caption, int kind, float pauseSeconds);

    // The button record, then, with a loop: repeat count, counter number, start, end and step.
    // Loading puts a member index that names no member back to 0 and clears the started flag of
    // the loops that keep one.
    void Serialize(CArchive& ar) override;
    BOOL Step() override;
    // "%d个按钮的串行动作按钮" or "%d个按钮的并行动作按钮".
    CString GetDescription() override;

    // The start check: FALSE when the loop's condition already stops it (a counting loop whose start
    // lies beyond its end, a while loop whose counter is not positive); otherwise marks the loop
    // started (counting loops set their counter to the start) and returns TRUE.
    BOOL CanStart();
    // Member i as a button, or null (an index out of range, a member gone or no button).
    CGButton* Member(int i) const;

    int m_pauseCount = 0;
    int m_runNumber = 1;
    int m_repeatCount = 2;
    int m_counterNumber = 1; // which of the six expression counters the loop uses, 1 to 6
    double m_start = 1.0;
    double m_end = 3.0;
    double m_step = 1.0;

private:
    // The run is over: finish, restart or stop by the loop kind.
    BOOL EndOfRun();
    BOOL Restart();
};

// Goes to a page of the document (m_kind 0) or opens a file, folder or web address with the
// desktop's handler (m_kind 1).  Acts in one tick.
class CGButnLink : public CGButton {
    DECLARE_SERIAL(CGButnLink)
public:
    static constexpr BYTE kToPage = 0;
    static constexpr BYTE kToTarget = 1;

    CGButnLink() = default;
    CGButnLink(WORD id, const CString& caption, BYTE kind, WORD pageId, const CString& target);

    // The button record, then the page id and the target.
    void Serialize(CArchive& ar) override;
    // A page link posts UM_GOTO_PAGE to the drawing view (which reports a page that is gone); any
    // other opens the target through HxShellOpen, whose result is not reported.
    BOOL Step() override;
    CString GetDescription() override; // "页链接按钮" or "链接按钮"

    WORD m_pageId = 0;
    CString m_target;
};

// The common part of the three view buttons, which drive the camera instead of a cell: a pass of
// N = trunc(g_animationFps x m_seconds) ticks from the start value to the end value (one tick more
// sets the end exactly), once, in a loop, or there and back, pausing m_extA3 seconds between passes.
// They have no parents.
class CGButnView : public CGButton {
    DECLARE_DYNAMIC(CGButnView)
public:
    // One tick of the pass (the stepping scheme shared by the three).
    BOOL Step() override;

    // The number of ticks of a pass: at least 1, so that a duration shorter than one tick (or one
    // that is no number) jumps straight to the end.
    int PassTicks() const;
    // A new pass starts at the next press (the properties command after an edit).
    void Rewind();

    float m_seconds = 5.0f;
    int m_backAndForth = 0; // 0 one way, else back to the start after each pass
    BYTE m_repeat = 0;
    // Runtime only: the tick within the pass (0 = not started), going back, the pause ticks counted.
    int m_tickCount = 0;
    int m_returning = 0;
    int m_pauseCount = 0;

protected:
    CGButnView() = default;
    CGButnView(WORD id, const CString& caption, int backAndForth, BYTE repeat, float seconds,
               float pauseSeconds);
    // The record tail the three share: back-and-forth, repeat (one byte, read back as 0 or 1),
    // seconds; loading clears the runtime fields.
    void SerializePlay(CArchive& ar);

    // The view value at the start (the end) of the pass, exactly.
    virtual void SetStart() = 0;
    virtual void SetEnd() = 0;
    // Tick 0 of a pass: the per-tick increment for N ticks.
    virtual void BeginPass(int ticks) = 0;
    // One increment further.
    virtual void Advance() = 0;
    // At an end: the increment negated; `back` tells which way the new pass goes.
    virtual void TurnAround(bool back) = 0;

private:
    bool CountPause();
};

// Turns the view from the start orientation (a quaternion: x, y, z here, w in m_param2) by the angle
// in m_param3 (degrees) about the axis.
class CGButnRotate : public CGButnView {
    DECLARE_SERIAL(CGButnRotate)
public:
    CGButnRotate(); // caption "视转动", identity start, axis (0, 0, 1), angle 0
    CGButnRotate(WORD id, const CString& caption, float startW, float startX, float startY, float startZ,
                 float axisX, float axisY, float axisZ, float angle, int backAndForth, BYTE repeat,
                 float seconds, float pauseSeconds);

    // The button record, then the start's x, y, z, the axis, back-and-forth, repeat and seconds (the
    // start's w and the angle travel in the common record).
    void Serialize(CArchive& ar) override;
    CString GetDescription() override; // "控制视图转动的动作按钮"

    // The view orientation after turning the start by `radians` about the axis: S (x) R, w clamped.
    void RotationAt(double radians, double out[4]) const;

    float m_startRotation[3] = {0.0f, 0.0f, 0.0f}; // x, y, z of the start quaternion
    float m_axis[3] = {0.0f, 0.0f, 1.0f};
    // Runtime: the angle reached (radians), the increment per tick, the start as doubles.
    double m_currentAngle = 0.0;
    double m_increment = 0.0;
    double m_start[4] = {1.0, 0.0, 0.0, 0.0};

protected:
    void SetStart() override;
    void SetEnd() override;
    void BeginPass(int ticks) override;
    void Advance() override;
    void TurnAround(bool back) override;
};

// Pans the view from the start translation to the end translation.
class CGButnTranslate : public CGButnView {
    DECLARE_SERIAL(CGButnTranslate)
public:
    CGButnTranslate(); // caption "视平移", both ends (0, 0, -50)
    CGButnTranslate(WORD id, const CString& caption, float startX, float startY, float startZ, float endX,
                    float endY, float endZ, int backAndForth, BYTE repeat, float seconds, float pauseSeconds);

    // The button record, then start and end (six floats), back-and-forth, repeat and seconds.
    void Serialize(CArchive& ar) override;
    CString GetDescription() override; // "控制视图平移的动作按钮"

    float m_startTrans[3] = {0.0f, 0.0f, -50.0f};
    float m_endTrans[3] = {0.0f, 0.0f, -50.0f};
    float m_increment[3] = {0.0f, 0.0f, 0.0f}; // runtime

protected:
    void SetStart() override;
    void SetEnd() override;
    void BeginPass(int ticks) override;
    void Advance() override;
    void TurnAround(bool back) override;
};

// Zooms the view from the start zoom to the end zoom.
class CGButnScale : public CGButnView {
    DECLARE_SERIAL(CGButnScale)
public:
    CGButnScale(); // caption "视缩放", both zooms 1
    CGButnScale(WORD id, const CString& caption, float startZoom, float endZoom, int backAndForth, BYTE repeat,
                float seconds, float pauseSeconds);

    // The button record, then start and end zoom, back-and-forth, repeat and seconds.
    void Serialize(CArchive& ar) override;
    CString GetDescription() override; // "控制视图缩放的动作按钮"

    float m_startZoom = 1.0f;
    float m_endZoom = 1.0f;
    float m_increment = 0.0f; // runtime

protected:
    void SetStart() override;
    void SetEnd() override;
    void BeginPass(int ticks) override;
    void Advance() override;
    void TurnAround(bool back) override;
};

// Replays a sequence of menu commands: in its first tick, and then every m_delay + 1 ticks of the
// shared counter, it posts the next command to the main window (the commands run when the message
// loop delivers them, never inside the tick); the entry kWaitForPlayback waits while a media player
// exists.  It has no parents.
class CGButnCommand : public CGButton {
    DECLARE_SERIAL(CGButnCommand)
public:
    static constexpr int kWaitForPlayback = 32788; // "等待播放结束"
    static constexpr int kDefaultDelay = 12;
    // The most commands a record may hold; more in a file is damage.
    static constexpr int kMaxCommands = 10000;

    CGButnCommand() = default; // no commands, delay 12
    CGButnCommand(WORD id, const CString& caption, std::vector<int> commands, int delay);

    // The button record, then the count, delay, two reserved words and the command ids.  Loading
    // refuses a count below 0 or above kMaxCommands and starts at the first command.
    void Serialize(CArchive& ar) override;
    // One tick: a command posted, a wait counted, or the sequence finished (TRUE).  A button without
    // commands finishes at once and posts nothing.
    BOOL Step() override;
    CString GetDescription() override; // the caption

    std::vector<int> m_commands;
    int m_delay = kDefaultDelay; // ticks between commands
    int m_reserved1 = 0;
    int m_reserved2 = 0;
    int m_current = 0; // the next command (not stored)
};
