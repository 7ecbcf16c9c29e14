// The fields of the positioning-figure dialog "添加定位图": the figure type, its sizes, centre and
// axis, their ranges, and which fields each type uses.  Its window shows them through its presenter.
#pragma once

#include "platform/afx.h"

class CDlgStaticHalvix : public CDialog {
    DECLARE_DYNAMIC(CDlgStaticHalvix)
public:
    enum { IDD = 205 };
    static constexpr int kSideCount = 1110;
    static constexpr int kRadius = 1111;
    static constexpr int kType = 1113;
    static constexpr int kLength = 1114;
    static constexpr int kWidth = 1116;
    static constexpr int kHeight = 1118;
    static constexpr int kCentreX = 1119;
    static constexpr int kCentreY = 1120;
    static constexpr int kCentreZ = 1122;
    static constexpr int kAxisX = 1123;
    static constexpr int kAxisY = 1124;
    static constexpr int kAxisZ = 1126;
    static constexpr int kRatio = 1181;

    // The figure types, in list order.
    enum EType {
        kCuboid,
        kPrism,
        kPyramid,
        kFrustum,
        kPolygon,
        kTetrahedron,
        kCube,
        kOctahedron,
        kDodecahedron,
        kIcosahedron,
        kCircle,
        kCylinder,
        kCone,
        kRoundFrustum,
        kSphere
    };
    static constexpr int kTypeCount = 15;
    static const char16_t* const kTypeNames[kTypeCount];
    // The text the type box takes when it is typed into: the figure is then a cube of edge 10.
    static const char16_t* const kTypedText; // "正方体(棱长10)"

    // The nine size and axis fields, in the order of the dialog's data exchange.
    static constexpr int kSizeFields[9] = {kLength, kWidth, kHeight, kSideCount, kRadius,
                                           kRatio,  kAxisX, kAxisY,  kAxisZ};
    // Whether a type uses a size or axis field (the centre is always used); a type outside the list
    // (the typed cube) uses none.
    static bool Uses(int type, int field);

    // The ranges OK enforces on every size field, used or not.
    static constexpr float kMinSize = 0.0001f;
    static constexpr float kMaxSize = 100.0f;
    static constexpr int kMinSides = 3;
    static constexpr int kMaxSides = 100;

    CDlgStaticHalvix() : CDialog(IDD) {}

    float m_length = 12.0f;
    float m_width = 8.0f;
    float m_height = 10.0f;
    int m_sideCount = 6;
    float m_radius = 8.0f;
    float m_ratio = 0.5f;
    float m_centreX = 0.0f, m_centreY = 0.0f, m_centreZ = 0.0f;
    float m_axisX = 0.0f, m_axisY = 0.0f, m_axisZ = 1.0f;
    int m_type = kCuboid; // the list row; -1 when the type box was typed into
};
