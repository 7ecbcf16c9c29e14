// Drawing helpers the cell classes share: colours, raster positions for pictures that reach into the
// view from outside it, the name label drawn at its anchor, and the label's pick square.
#pragma once

#include "model/cell.h"

// Pick classes: the lowest class among the hits wins.
constexpr unsigned int kPickClassPoint = 1;
constexpr unsigned int kPickClassLine = 2;
constexpr unsigned int kPickClassLabel = 3;
constexpr unsigned int kPickClassCircle = 4;  // circles, arcs, curves, loci and ink
constexpr unsigned int kPickClassValue = 6;   // measurements, parameters and vector items
constexpr unsigned int kPickClassText = 7;    // single-line texts, texts and pictures
constexpr unsigned int kPickClassFace = 8;    // only in the arrow tool's pick
constexpr unsigned int kPickClassScale = 11;  // the ticks of the plane axes
constexpr unsigned int kPickClassSlider = 13; // a parameter's slider knob

// A cell takes part in drawing and picking only while it is shown and valid.
inline bool HxIsDrawable(const CGCell& cell) {
    return cell.m_hidden == 0 && cell.m_valid;
}

void HxGlColor(const CRgba& c);
// The look of a highlighted cell: the opaque inverse of its colour.
void HxGlColorInverted(const CRgba& c);

// Sets the raster position at the point (x, y, z) of the present matrices, as glRasterPos does.  OpenGL
// marks that position invalid when the point lies outside the view, and a bitmap or pixel rectangle
// drawn from there shows nothing, even where it reaches into the view.  Then, in render mode, the
// position is set at the point's own window place all the same (through a point inside the view and a
// move by window pixels), provided the point is in front of the eye, within the depth range and on
// the visible side of every user clip plane, and the drawing meets the viewport: it covers the window
// pixels from (left, bottom) to (right, top) relative to the position.  Whether a valid position was
// set; when the point is in the view the position is exactly glRasterPos's.
bool HxRasterPosReaching(double x, double y, double z, double left, double bottom, double right, double top);
// The same for a picture of spanX by spanY window pixels with its corner at the position (a negative
// span draws leftwards or downwards, as a mirroring zoom does).
bool HxRasterPosAnywhere(double x, double y, double z, double spanX, double spanY);

// The name label at m_labelPos when m_labelHidden is 0, in the label colour while g_useObjectColors
// is non-zero, else in the current colour: with the textured glyph font when m_extB1 is 0 (inside a
// label batch the quads wait for its end), else with the bitmap glyph lists at the anchor's raster
// position, rebuilding m_text2 first when m_flag2 is set.
void DrawCellLabel(CGCell& cell);

// When the label is shown: the square m_labelPos + A, + B, - A, - B (the view's label pick
// half-axes) under pick class 3 with the cell's id.
void DrawCellLabelForPick(const CGCell& cell);

// Whole numbers written beside the plane axes, in label sizes: how far left of its tick along x
// the text of n starts, and where along x it starts beside the y axis (negative: left of it).
// Both grow with the number of digits.
double HxAxisNumberShiftX(int n);
double HxAxisNumberOffsetY(int n);

// The view's texture table: binds the OpenGL texture of a texture number (1 to 15; 1 to 3 are the
// document's) and answers whether one was bound.  The view registers it once its textures exist;
// until then, and in a process without a view, textured figures are drawn without their texture.
using HxTextureBinderFn = bool (*)(int number);
void HxSetTextureBinder(HxTextureBinderFn binder);
bool HxBindTexture(int number);
