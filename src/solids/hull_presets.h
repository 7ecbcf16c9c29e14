// The vertex sets the hull command offers besides the selected points: a cuboid, hexagonal prism,
// pyramid and frustum, and the five regular solids, in drawing units about the origin.
#pragma once

#include <vector>

// The entries of the "顶点集" list, item 0 being the points selected on the current page.
constexpr int kHullPresetCount = 10;
extern const char16_t* const g_hullPresetNames[kHullPresetCount];

// The points of a list item as x, y, z triples; empty for item 0 (the selection), the cube for an
// item outside the list.
std::vector<double> HxHullPresetPoints(int item);
