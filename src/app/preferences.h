// The preferences dialog "首选项": the fields it edits (the default colours, the two fonts and their
// sizes, line width, point size, frame rate, the mouse options), its four presets, and how its values
// reach the process-wide drawing defaults.  The window (preferences_ui.cpp) shows these fields.
#pragma once

#include "platform/afx.h"

class CDlgPreferonces : public CDialog {
    DECLARE_DYNAMIC(CDlgPreferonces)
public:
    enum { IDD = 221 };
    // The colour buttons, in the order of m_colors.
    static constexpr int kColorCount = 10;
    static const int kColorButtons[kColorCount];
    static const char16_t* const kColorNames[kColorCount]; // "背景", "选中", ...
    static constexpr int kLabelFontCombo = 1023, kLabelSizeCombo = 1026;
    static constexpr int kMeasureFontCombo = 1041, kMeasureSizeCombo = 1045;
    static constexpr int kLineWidthEdit = 1018, kPointSizeEdit = 1033, kFpsEdit = 1037;
    static constexpr int kCurrentPageCheck = 1005, kNoDoubleClickCheck = 1004, kScreenRotationCheck = 1006;
    static constexpr int kPresetCount = 4;
    static const int kPresetButtons[kPresetCount]; // 1027, 1049, 1056, 1046
    static const char16_t* const kPresetNames[kPresetCount]; // "白板投影", "黑屏展示", "打印输出", "网页插图"
    static constexpr int kLightButton = 1243;
    static constexpr int kApplyNowButton = 187;
    static constexpr float kMinLineWidth = 0.5f, kMaxLineWidth = 5.0f;
    static constexpr float kMinPointSize = 0.5f, kMaxPointSize = 10.0f;
    static constexpr int kMinFps = 1, kMaxFps = 100;
    // The sizes both size lists offer, in points.
    static constexpr int kSizeCount = 11;
    static const char16_t* const kSizes[kSizeCount];
    enum ColorIndex {
        kBackground,
        kSelection,
        kFreePoint,
        kFixedPoint,
        kLine,
        kCurve,
        kLabel,
        kMeasure,
        kText,
        kTable
    };

    // Line width and point size from the defaults; the rest as OnInitDialog sets it.
    CDlgPreferonces();

    // The fields from the globals: colours, font names and sizes (pixels shown as points), frame rate
    // and the two mouse options.
    void OnInitDialog();
    // A preset fills the colours, fonts, sizes, line width, point size and frame rate, clears the
    // screen-axes rotation and sets the light globals at once.
    void ApplyPreset(int preset);
    // The fields into the globals (and OpenGL's line width, point size and light when a context can
    // be made current); m_fontsChanged set when a font name or size changed.
    void ApplySettings();

    // Pixels shown as points, rounded: (pixels x 72 + 48) / 96.
    static int PointsFromPixels(int pixels);
    // A size text in points as pixels: its leading number (0 when none) x 96 / 72 + 0.5, truncated,
    // kept within 8 to 500.
    static int PixelsFromPoints(const CString& points);

    COLORREF m_colors[kColorCount] = {};
    CString m_labelFontName, m_measureFontName;
    CString m_labelSize, m_measureSize; // in points
    float m_lineWidth;
    float m_pointSize;
    int m_fps = 25;
    BOOL m_currentPageOnly = TRUE;
    BOOL m_disableDoubleClick = FALSE;
    BOOL m_rotateRelativeToScreen = FALSE;
    BYTE m_fontsChanged = 0;
};
