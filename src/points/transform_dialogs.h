// The fields of the four transform dialogs (translate, rotate, dilate, reflect): what the transform
// commands preset and read back after OK.  The windows show them through their presenters.
#pragma once

#include "platform/afx.h"

// "平移": a marked vector or a typed one.
class CDlgTransTranslate : public CDialog {
    DECLARE_DYNAMIC(CDlgTransTranslate)
public:
    enum { IDD = 193 };
    // Control ids.
    static constexpr int kMarkedButton = 1007;
    static constexpr int kFixedButton = 1010;
    static constexpr int kEditX = 1036;
    static constexpr int kEditY = 1040;
    static constexpr int kEditZ = 1044;
    static constexpr int kMarkedText = 1032;

    CDlgTransTranslate() : CDialog(IDD) {}

    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 1.0f;
    int m_choice = 0; // 0 the marked vector, 1 the typed vector
    CString m_vectorText;
};

// "旋转": the axis (marked line, typed axis, or the vertical through the marked centre) and the
// angle (marked or typed, in degrees).
class CDlgTransRotate : public CDialog {
    DECLARE_DYNAMIC(CDlgTransRotate)
public:
    enum { IDD = 194 };
    static constexpr int kAxisMarkedButton = 1065;
    static constexpr int kAxisFixedButton = 1067;
    static constexpr int kAxisCenterButton = 1068;
    static constexpr int kAngleMarkedButton = 1069;
    static constexpr int kAngleFixedButton = 1016;
    static constexpr int kEditDirX = 1036;
    static constexpr int kEditDirY = 1040;
    static constexpr int kEditDirZ = 1044;
    static constexpr int kEditPointX = 1057;
    static constexpr int kEditPointY = 1059;
    static constexpr int kEditPointZ = 1062;
    static constexpr int kEditAngle = 1048;
    static constexpr int kAxisText = 1032;
    static constexpr int kAngleText = 1050;
    static constexpr int kCenterText = 1033;

    // m_axisChoice
    static constexpr int kAxisMarked = 0;
    static constexpr int kAxisFixed = 1;
    static constexpr int kAxisCenter = 2;
    // m_available
    static constexpr int kNoMarks = 0;
    static constexpr int kAxisOnly = 1;
    static constexpr int kCenterOnly = 2;
    static constexpr int kAxisAndCenter = 3;

    CDlgTransRotate() : CDialog(IDD) {}

    int m_axisChoice = kAxisMarked;
    int m_angleChoice = 0; // 0 the marked angle, 1 the typed angle
    float m_dirX = 0.0f;
    float m_dirY = 0.0f;
    float m_dirZ = 1.0f;
    float m_pointX = 0.0f;
    float m_pointY = 0.0f;
    float m_pointZ = 0.0f;
    float m_angle = 1.5708f; // degrees once the command has preset it
    CString m_axisText;
    CString m_angleText;
    CString m_centerText;
    int m_available = kNoMarks;
};

// "缩放": a marked or a typed ratio about the marked centre (or the origin).
class CDlgTransScale : public CDialog {
    DECLARE_DYNAMIC(CDlgTransScale)
public:
    enum { IDD = 195 };
    static constexpr int kMarkedButton = 1079;
    static constexpr int kFixedButton = 1082;
    static constexpr int kEditRatio = 1084;
    static constexpr int kCenterText = 1086;
    static constexpr int kRatioText = 1088;

    CDlgTransScale() : CDialog(IDD) {}

    float m_ratio = 0.5f;
    int m_choice = 0; // 0 the marked ratio, 1 the typed ratio
    CString m_ratioText;
    CString m_centerText;
};

// "对称": in the marked point, axis or face, or in a coordinate element chosen from a list.
class CDlgTransDeflect : public CDialog {
    DECLARE_DYNAMIC(CDlgTransDeflect)
public:
    enum { IDD = 196 };
    static constexpr int kPointButton = 1007;
    static constexpr int kAxisButton = 1010;
    static constexpr int kFaceButton = 1013;
    static constexpr int kElementButton = 1022;
    static constexpr int kElementList = 1015;
    static constexpr int kPointText = 1076;
    static constexpr int kAxisText = 1078;
    static constexpr int kFaceText = 1081;

    // m_choice
    static constexpr int kAboutPoint = 0;
    static constexpr int kAboutAxis = 1;
    static constexpr int kAboutFace = 2;
    static constexpr int kAboutElement = 3;

    // The list of coordinate elements and the mask of each (bit 0 x, bit 1 y, bit 2 z change sign).
    static constexpr int kElementCount = 7;
    static const char16_t* const kElementNames[kElementCount];
    static const BYTE kElementMasks[kElementCount];
    // The list entry of a mask, or -1 for a mask no entry has.
    static int ElementIndexOf(BYTE mask);

    CDlgTransDeflect() : CDialog(IDD) {}

    int m_choice = kAboutElement;
    BYTE m_mask = 7;
    BYTE m_hasPoint = 0; // the marked element exists (0: its choice is not offered)
    BYTE m_hasAxis = 0;
    BYTE m_hasFace = 0;
    CString m_pointText;
    CString m_axisText;
    CString m_faceText;
};
