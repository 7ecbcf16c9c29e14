// Building from the selection: the commands the dispatcher of the tool buttons and galleries runs,
// and the observer through which tests see them.
#pragma once

#include "platform/afx.h"

#include <functional>

// Observes every command the dispatcher runs, before it runs (tests record them).
void HxSetSelectionCommandObserver(std::function<void(UINT id)> observer);

// The commands of the rows, by their ids (the handlers belong to their own subsystems).
namespace HxSelectionCommands {
constexpr UINT kPointMiddle = 32796;        // ID_CREATE_POINT_MIDDLE
constexpr UINT kPointInter = 32797;         // ID_CREATE_POINT_INTER
constexpr UINT kPointOnObject = 32820;      // ID_CREATE_POINT_ONOBJECT
constexpr UINT kPointInObjFt = 33695;       // ID_CREATE_POINT_INOBJ_FT
constexpr UINT kPointPerEq = 33057;         // ID_CREATE_POINT_PER_EQ
constexpr UINT kLineSegment = 32834;        // ID_CREATE_LINE_SEGMENT
constexpr UINT kLineHalf = 32835;           // ID_CREATE_LINE_HALF
constexpr UINT kLineStraight = 32836;       // ID_CREATE_LINE_STRAIGHT
constexpr UINT kLineVector = 32837;         // ID_CREATE_LINE_VECTOR
constexpr UINT kLinePerpendicular = 33132;  // ID_CREATE_LINE_PERPENDICULAR
constexpr UINT kLineParallel = 32803;       // ID_CREATE_LINE_PARALLEL
constexpr UINT kFace = 32805;               // ID_CREATE_FACE
constexpr UINT kFill = 33202;               // ID_VIEW_FILL
constexpr UINT kFaceParface = 33075;        // ID_CREATE_FACE_PARFACE
constexpr UINT kFacePerline = 33073;        // ID_CREATE_FACE_PERLINE
constexpr UINT kCirclePnz2 = 33677;         // ID_CREATE_CIRCLE_PNZ2
constexpr UINT kCircleCentreRadius = 34181; // "添加心径圆"
constexpr UINT kCircle3p = 32806;           // ID_CREATE_CIRCLE_3P
constexpr UINT kSolidPrism = 33090;         // ID_CREATE_SOLID_PRISM
constexpr UINT kCylinder = 32956;           // ID_CREATE_CYLINDER
constexpr UINT kBox = 32830;                // ID_CREATE_BOX
constexpr UINT kSolidPyramid = 33096;       // ID_CREATE_SOLID_PYRAMID
constexpr UINT kCone = 32957;               // ID_CREATE_CONE
constexpr UINT kSolidTrun = 33092;          // ID_CREATE_SOLID_TRUN
constexpr UINT kPlatform = 32958;           // ID_CREATE_PLATFORM
constexpr UINT kGeo = 33230;                // ID_CREATE_GEO
constexpr UINT kSphereBody = 32808;         // the sphere with its circles of latitude and longitude
constexpr UINT kMeasureFun = 32978;         // ID_MEASURE_FUN
constexpr UINT kMeasurePt = 33228;          // ID_MEASURE_PT
constexpr UINT kMeasurePxyz = 33115;        // ID_MEASURE_PXYZ
constexpr UINT kMeasureDpp = 32963;         // ID_MEASURE_D_PP
constexpr UINT kMeasureArea = 33126;        // ID_MEASURE_AREA
constexpr UINT kMeasureLenC = 33175;        // ID_MEASURE_LEN_C
constexpr UINT kMeasureVolumeS = 33177;     // ID_MEASURE_VOLUME_S
constexpr UINT kLabelModify = 33251;        // ID_EDIT_LABELMOD
constexpr UINT kBatchLabels = 33205;        // ID_EDIT_LABEL
constexpr UINT kLocus = 32977;              // ID_CREATE_LOCUS
constexpr UINT kCurve = 32823;              // ID_CREATE_CURVE
constexpr UINT kTrack = 33694;              // ID_CREATE_TRACK
constexpr UINT kButtonHideShow = 32971;     // ID_EDIT_BTN_HIDESHOW
constexpr UINT kButtonAnimation = 32972;    // ID_EDIT_BTN_ANIMATION
constexpr UINT kButtonMove = 32973;         // ID_EDIT_BTN_MOVE
constexpr UINT kButtonSeries = 32974;       // ID_EDIT_BTN_PRESENTAT
} // namespace HxSelectionCommands

// The gallery commands of the ribbon.
constexpr UINT ID_CREATE_PRISM = 33628;
constexpr UINT ID_CREATE_PYRAMID = 33627;
constexpr UINT ID_CREATE_FRUSTUM = 33626;
constexpr UINT ID_CREATE_SPHERE = 33629;
constexpr UINT ID_CREATE_MEASCALC = 33624;
constexpr UINT ID_CREATE_TEXTLABEL = 33625;
constexpr UINT ID_CREATE_CURVE_LOCUS = 33648;
