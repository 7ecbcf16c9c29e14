// The fields of the three view-button dialogs (turn, pan and zoom the view over a time span): what
// the view-button commands and the properties of a view button fill in and read back after OK.  The
// windows show them through their presenters.
#pragma once

#include "platform/afx.h"

// What the three dialogs share: the caption, one way or there and back, once or in a loop, the
// duration of a pass and the interval between passes.
class CDlgViewButton : public CDialog {
    DECLARE_DYNAMIC(CDlgViewButton)
public:
    static constexpr int kCaption = 1018;
    static constexpr int kOneWay = 1022;
    static constexpr int kBothWays = 1025;
    static constexpr int kOnce = 1010;
    static constexpr int kLoop = 1013;
    static constexpr int kSeconds = 1009;
    static constexpr int kInterval = 1011;
    // The labels on either side of the interval edit ("间隔", "秒").
    static constexpr int kIntervalLabel = 1012;
    static constexpr int kIntervalUnit = 1016;

    // The interval (and its two labels) shows only for "双向" or "循环".
    static bool ShowsInterval(int direction, int repeat) { return direction != 0 || repeat != 0; }

    CString m_caption;
    int m_direction = 0; // 0 "单向", 1 "双向"
    int m_repeat = 0;    // 0 "一次", 1 "循环"
    float m_seconds = 5.0f;
    float m_interval = 0.0f;

protected:
    CDlgViewButton(UINT idd, const char16_t* caption) : CDialog(idd), m_caption(caption) {}
};

// "视旋转按钮": the start state (F8), the axis and the angle in degrees.
class CDlgViewRotate : public CDlgViewButton {
    DECLARE_DYNAMIC(CDlgViewRotate)
public:
    enum { IDD = 229 };
    static constexpr int kStartW = 1003;
    static constexpr int kStartX = 1000;
    static constexpr int kStartY = 1001;
    static constexpr int kStartZ = 1002;
    static constexpr int kAxisX = 1004;
    static constexpr int kAxisY = 1006;
    static constexpr int kAxisZ = 1029;
    static constexpr int kAngle = 1014;

    CDlgViewRotate() : CDlgViewButton(IDD, u"视旋转") {}

    float m_start[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // the quaternion w, x, y, z
    float m_axis[3] = {0.0f, 0.0f, 0.0f};
    float m_angle = 0.0f;
    // Shown only (the properties of a button: its start stays what F8 made it).
    bool m_startReadOnly = false;
};

// "视平移按钮": the start and target centres (translations).
class CDlgViewTrans : public CDlgViewButton {
    DECLARE_DYNAMIC(CDlgViewTrans)
public:
    enum { IDD = 230 };
    static constexpr int kStartX = 1000;
    static constexpr int kStartY = 1001;
    static constexpr int kStartZ = 1002;
    static constexpr int kEndX = 1004;
    static constexpr int kEndY = 1006;
    static constexpr int kEndZ = 1029;

    CDlgViewTrans() : CDlgViewButton(IDD, u"视平移") {}

    float m_start[3] = {0.0f, 0.0f, 0.0f};
    float m_end[3] = {0.0f, 0.0f, 0.0f};
};

// "视缩放按钮": the start and target zoom.
class CDlgViewScale : public CDlgViewButton {
    DECLARE_DYNAMIC(CDlgViewScale)
public:
    enum { IDD = 231 };
    static constexpr int kStartZoom = 1000;
    static constexpr int kEndZoom = 1001;

    CDlgViewScale() : CDlgViewButton(IDD, u"视缩放") {}

    float m_startZoom = 0.0f;
    float m_endZoom = 0.0f;
};

// The turn from the start mark to the target mark (g_viewMarkStart, g_viewMarkTarget): its angle in
// degrees within -180..180 and its unit axis; 360 about (0, 0, 1) when the two orientations agree.
void HxViewTurnBetweenMarks(float& angle, float axis[3]);
