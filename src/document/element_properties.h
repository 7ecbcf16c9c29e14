// The properties command's dialogs of single objects: each pair fills the dialog from the cell and,
// after OK, writes the answer back with the undo steps and refreshes the dialog's rules ask for.
// The Edit... functions run the dialog between the two and return TRUE after OK.
#pragma once

#include "document/property_dialogs.h"

class CGArc;
class CGCell;
class CGFace;
class CGLine;
class CGPage;
class CGScaleline;
class CGVertex;

// Which coordinates of a point may be typed (CDlgPropertyPoint::kNoCoordinates ...), and whether its
// path parameter may (a point that runs on a path: only its parameter).
int HxPointCoordinateMode(const CGVertex& point, bool& paramEditable);

// Points: a changed position (or parameter) is one undo step, "修改点坐标" ("修改动点参数"), recorded
// with the point as it was; the style and size (for every point of the page when asked).
void HxFillPointDialog(CGVertex& point, CDlgPropertyPoint& dlg);
void HxApplyPointDialog(CGPage& page, CGVertex& point, const CDlgPropertyPoint& dlg);
BOOL HxEditPointProperties(CGPage& page, CGVertex& point);

// Lines: style, kind and width (the style and width for every line when asked); no undo step.
void HxFillLineDialog(CGLine& line, CDlgPropertyLine& dlg);
void HxApplyLineDialog(CGPage& page, CGLine& line, const CDlgPropertyLine& dlg);
BOOL HxEditLineProperties(CGPage& page, CGLine& line);

// Faces: the style with its opacity (translucent faces 90, the others opaque) and the texture of
// lit and translucent faces; with every face of the page when asked.
void HxFillFaceDialog(CGFace& face, CDlgPropertyFace& dlg);
void HxApplyFaceDialog(CGPage& page, CGFace& face, const CDlgPropertyFace& dlg);
BOOL HxEditFaceProperties(CGPage& page, CGFace& face);

// Circles and arcs: kind (a filled kind takes its outline and area colours apart), style, sweep in
// degrees, width and texture; recomputed with what depends on it.
void HxFillCircleDialog(CGArc& circle, CDlgPropertyCircle& dlg);
void HxApplyCircleDialog(CGPage& page, CGArc& circle, const CDlgPropertyCircle& dlg);
BOOL HxEditCircleProperties(CGPage& page, CGArc& circle);

// Spheres, cylinders, cones and frustums: hidden, style (translucent at 90) and texture.
void HxFillSolidDialog(CGCell& solid, CDlgPropertySolid& dlg);
void HxApplySolidDialog(CGCell& solid, const CDlgPropertySolid& dlg);
BOOL HxEditSolidProperties(CGCell& solid);

// The plane axes: numbers in decimals or multiples of pi/2, the x axis alone, and the spacings.
void HxFillScaleLineDialog(const CGScaleline& axes, CDlgProScaleLine& dlg);
void HxApplyScaleLineDialog(CGScaleline& axes, const CDlgProScaleLine& dlg);
BOOL HxEditScaleLineProperties(CGScaleline& axes);

// One value: a parameter ("参数") or a calculation ("编辑计算") through its dialog, recomputed with
// what is built on it; a vector asked whether to show two or three components ("坐标形式"); any
// other value described in a message.  TRUE after a dialog's OK.
BOOL HxEditValueProperties(CGPage& page, CGCell& value);

// The page's traces: lines and points only (0) or every pass of every traced object (1).
BOOL HxEditTraceProperties(CGPage& page);

// The page dialog's fields from the page and the view globals.
void HxFillPageDialog(const CGPage& page, CDlgPageProperty& dlg);
