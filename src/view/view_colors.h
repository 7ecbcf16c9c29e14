// Colours the view hands out: the conversion from hue, saturation and lightness to red, green and
// blue, and the automatic colour sequence that new faces, surfaces and measurements draw from.
#pragma once

#include "platform/types.h"

// Standard HSL: hue, saturation and lightness from 0 to 1 give red, green and blue from 0 to 1 in
// rgb[0..2]; grey equal to the lightness when the saturation is exactly 0.  Each component's hue
// is brought into range only once, so inputs far outside 0..1 are used as they come.
void HslToRgb(double rgb[3], double hue, double saturation, double lightness);

// A colour component from 0 to 1 as a byte: the integer part of v x 255 + 0.5, low 8 bits.
BYTE HxColorChannel(double v);

// The colour at the current place of the automatic sequence (red in the low byte), then advances
// the sequence: 12 hues, then 3 lightnesses, then 2 saturations, 72 colours in all.  On a dark
// background (red + green + blue of g_backgroundColor below 2.0) the lightness L becomes 1 - L.
COLORREF NextAutoColor();

// The sequence's tables and its counters, shared by every caller that colours automatically.
extern const double g_autoColorHues[12]; // degrees
extern const double g_autoColorLightness[3];
extern const double g_autoColorSaturation[2];
extern int g_autoColorHueIndex;        // 0..11, advances with every colour
extern int g_autoColorLightnessIndex;  // 0..2, advances when the hue index wraps
extern int g_autoColorSaturationIndex; // 0..1, advances when the lightness index wraps

// The sequence back to its first colour (the program never does this; tests start from it).
void HxResetAutoColors();
