// Cell kinds by class: the classes of other parts of the program recognised by their registered
// names, and the selection kind (and pick class) that each class of cell belongs to.
#pragma once

#include "model/cell.h"

#include <initializer_list>

// True when the object's class, or one of its base classes, is registered under that name.  Used
// for classes that other parts of the program define, so that rules about them hold as soon as
// they exist, whatever header declares them.
bool HxIsOfClassNamed(const CObject* object, const char* name);
bool HxIsOfAnyClassNamed(const CObject* object, std::initializer_list<const char*> names);

// The nine kind lists of a page's selection.
enum class HxSelectionKind { Points, Lines, Faces, Curves, Buttons, Values, Texts, Solids, Others };

// The kind of a cell: the first of these tests that holds (a class or any subclass of it):
// points, lines, faces, curves (arcs, loci, ink, curves), buttons, values (values and vectors),
// texts (pictures, single lines, formula texts, iterations), solids (spheres, cylinders, cones,
// frustums, traces, surfaces), and everything else.
HxSelectionKind HxSelectionKindOf(const CGCell* cell);
// The pick class cells of a kind push: 1 points, 2 lines, 8 faces, 4 curves, 5 buttons, 6 values,
// 7 texts, 9 solids, 11 others.
int HxPickClassOf(HxSelectionKind kind);

// Point classes whose position the user drags (free points and their subclasses).
bool HxIsFreePoint(const CGCell* cell);
