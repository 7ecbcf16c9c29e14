// What the prism and the pyramid commands share: the edges of a polygon, the default triangular base
// A B C that turns about the z axis, and the build on a selected top vertex (or apex) and base face.
#pragma once

#include "construct/construction.h"

#include <initializer_list>

// A third of a turn (120 degrees, 2 pi / 3 as a float).
constexpr float kThirdTurn = 2.0943952f;

// The segments of the closed polygon through the corners, in order: AB, BC, ..., and back to A.
// Returns the id of the first, AB.
WORD HxAddEdges(CConstruction& run, std::initializer_list<WORD> corners);

// The default triangle: "A" free at (-8, -5, -6), "B" and "C" A turned by a third of a turn either
// way about the z axis, the edges AB, BC, CA and the face ABC in the next automatic colour.
struct CBaseTriangle {
    WORD a, b, c, face;
};
CBaseTriangle HxAddDefaultTriangle(CConstruction& run);

// With exactly one point and one face selected, the solid the builder makes on them as one undo
// step (the point keeps its old name on undo when the builder renames it), or nothing when it made
// nothing; true.  False for any other selection: the command builds its default figure.
bool HxBuildOnSelection(CHalvixDoc& doc, int (CGPage::*build)(WORD, WORD), const char16_t* undoText);
