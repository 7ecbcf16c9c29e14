// Cell kinds by class name and the selection kind table.
#include "model/cell_kinds.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/vertex.h"

#include <cstring>

bool HxIsOfClassNamed(const CObject* object, const char* name) {
    if (!object)
        return false;
    for (const CRuntimeClass* c = object->GetRuntimeClass(); c; c = c->m_pBaseClass) {
        if (std::strcmp(c->m_lpszClassName, name) == 0)
            return true;
    }
    return false;
}

bool HxIsOfAnyClassNamed(const CObject* object, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (HxIsOfClassNamed(object, name))
            return true;
    }
    return false;
}

HxSelectionKind HxSelectionKindOf(const CGCell* cell) {
    if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
        return HxSelectionKind::Points;
    if (cell->IsKindOf(RUNTIME_CLASS(CGLine)))
        return HxSelectionKind::Lines;
    if (HxIsOfClassNamed(cell, "CGFace"))
        return HxSelectionKind::Faces;
    if (HxIsOfAnyClassNamed(cell, {"CGArc", "CGLocus", "CGInkmarks", "CGCurve"}))
        return HxSelectionKind::Curves;
    if (cell->IsKindOf(RUNTIME_CLASS(CGButton)))
        return HxSelectionKind::Buttons;
    if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector)))
        return HxSelectionKind::Values;
    if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) || cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline)) ||
        cell->IsKindOf(RUNTIME_CLASS(CGTbMtfText)) || HxIsOfClassNamed(cell, "CGIterate"))
        return HxSelectionKind::Texts;
    if (HxIsOfAnyClassNamed(cell, {"CGSphere", "CGCylinder", "CGCone", "CGFrustum", "CGTrack", "CGSurface"}))
        return HxSelectionKind::Solids;
    return HxSelectionKind::Others;
}

int HxPickClassOf(HxSelectionKind kind) {
    switch (kind) {
    case HxSelectionKind::Points:
        return 1;
    case HxSelectionKind::Lines:
        return 2;
    case HxSelectionKind::Faces:
        return 8;
    case HxSelectionKind::Curves:
        return 4;
    case HxSelectionKind::Buttons:
        return 5;
    case HxSelectionKind::Values:
        return 6;
    case HxSelectionKind::Texts:
        return 7;
    case HxSelectionKind::Solids:
        return 9;
    case HxSelectionKind::Others:
        return 11;
    }
    return 11;
}

bool HxIsFreePoint(const CGCell* cell) {
    return cell && cell->IsKindOf(RUNTIME_CLASS(CGVerFree));
}
