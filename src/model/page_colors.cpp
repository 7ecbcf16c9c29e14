// CGPage colour and label operations: default colours of every class, colouring the selection
// (explicitly or automatically), the label colour and label font of the selection, and the
// re-rendering of text pictures.
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/free_points.h"
#include "model/line.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <cstring>
#include <initializer_list>

namespace {

// Classes of other parts of the program are recognised by their registered names, so that these
// colour rules hold for them as soon as they exist, whatever header declares them.
bool IsOfClassNamed(const CObject* object, const char* name) {
    for (const CRuntimeClass* c = object->GetRuntimeClass(); c; c = c->m_pBaseClass) {
        if (std::strcmp(c->m_lpszClassName, name) == 0)
            return true;
    }
    return false;
}

bool IsOfAnyClassNamed(const CObject* object, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (IsOfClassNamed(object, name))
            return true;
    }
    return false;
}

void SetRgb(CRgba& target, const CRgba& source) {
    target.r = source.r;
    target.g = source.g;
    target.b = source.b;
}

CRgba FromColorRef(COLORREF color) {
    return CRgba{GetRValue(color), GetGValue(color), GetBValue(color), 255};
}

constexpr CRgba kButtonColor{51, 102, 255, 255};
constexpr CRgba kButtonLabelColor{0, 0, 0, 255};

bool IsArc(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGArc));
}

// Filled circle kinds (disc, sector, segment) keep their fill colour when colours are reset.
bool IsFilledArc(const CGCell* cell) {
    return IsArc(cell) && cell->m_kind > 1;
}

bool IsFreePoint(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGVerFree));
}

bool IsColorModifier(const CGCell* cell) {
    return IsOfClassNamed(cell, "CGMdfColor");
}

} // namespace

void CGPage::ApplyDefaultColors() {
    for (int i = 0; i < 4; ++i)
        m_background[i] = g_backgroundColor[i];
    const COLORREF background =
        RGB(BYTE(m_background[0] * 255.0f), BYTE(m_background[1] * 255.0f), BYTE(m_background[2] * 255.0f));
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        SetRgb(cell->m_labelColor, g_colorLabel);
        if (IsFreePoint(cell)) {
            SetRgb(cell->m_color, g_colorFreePoint);
            cell->m_size = g_pointSize;
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGVertex))) {
            SetRgb(cell->m_color, g_colorPoint);
            cell->m_size = g_pointSize;
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGLine))) {
            SetRgb(cell->m_color, g_colorObject);
            cell->m_size = g_lineWidth;
        } else if (IsFilledArc(cell)) {
            SetRgb(cell->m_labelColor, g_colorArcSolid);
            cell->m_size = g_lineWidth;
        } else if (IsArc(cell) || IsOfAnyClassNamed(cell, {"CGLocus", "CGCurve"})) {
            SetRgb(cell->m_color, g_colorArcSolid);
            cell->m_size = g_lineWidth;
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGButton))) {
            SetRgb(cell->m_color, kButtonColor);
            SetRgb(cell->m_labelColor, kButtonLabelColor);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector)) ||
                   IsOfClassNamed(cell, "CGIterate")) {
            SetRgb(cell->m_color, g_colorValue);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) || cell->IsKindOf(RUNTIME_CLASS(CGTextmap))) {
            SetRgb(cell->m_color, g_colorText);
            if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell)) {
                formula->m_background = background;
                formula->UpdateTexture();
            }
        } else if (IsOfAnyClassNamed(
                       cell, {"CGSphere", "CGCylinder", "CGCone", "CGFrustum", "CGTrack", "CGSurface"})) {
            SetRgb(cell->m_color, g_colorArcSolid);
        }
    }
}

BOOL CGPage::ColorSelection(COLORREF color) {
    const bool automatic = color == kAutoColor;
    const CRgba chosen = FromColorRef(color);
    const COLORREF background =
        RGB(BYTE(m_background[0] * 255.0f), BYTE(m_background[1] * 255.0f), BYTE(m_background[2] * 255.0f));
    BOOL coloured = FALSE;
    // Explicit colours keep each cell's alpha; automatic ones make it opaque.
    auto paint = [&](CGCell* cell, const CRgba& automaticColor) {
        if (automatic)
            cell->m_color = CRgba{automaticColor.r, automaticColor.g, automaticColor.b, 255};
        else
            SetRgb(cell->m_color, chosen);
    };
    auto forEach = [&](const CList<WORD, WORD>& list, auto&& f) {
        for (WORD id : list) {
            if (CGCell* cell = m_cells.Find(id))
                f(cell);
        }
    };

    forEach(m_selPoints, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, IsFreePoint(cell) ? g_colorFreePoint : g_colorPoint);
        if (automatic)
            SetRgb(cell->m_labelColor, g_colorLabel);
    });
    forEach(m_selLines, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, g_colorObject);
    });
    forEach(m_selFaces, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, automatic ? FromColorRef(NextAutoColor()) : chosen);
    });
    forEach(m_selCurves, [&](CGCell* cell) {
        coloured = TRUE;
        if (automatic && IsFilledArc(cell))
            SetRgb(cell->m_labelColor, g_colorArcSolid);
        else
            paint(cell, IsOfClassNamed(cell, "CGInkmarks") ? g_currentColor : g_colorArcSolid);
    });
    forEach(m_selTexts, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, g_colorText);
        if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell)) {
            formula->m_background = background;
            formula->UpdateTexture();
        }
    });
    forEach(m_selValues, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, g_colorValue);
    });
    forEach(m_selButtons, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, kButtonColor);
        if (automatic)
            SetRgb(cell->m_labelColor, kButtonLabelColor);
    });
    forEach(m_selSolids, [&](CGCell* cell) {
        coloured = TRUE;
        paint(cell, g_colorArcSolid);
    });
    forEach(m_selOthers, [&](CGCell* cell) {
        if (IsColorModifier(cell))
            return; // colour modifiers colour others and are never coloured themselves
        coloured = TRUE;
        paint(cell, g_colorObject);
    });
    return coloured;
}

void CGPage::SetLabelStyleOfSelection(COLORREF color) {
    const CRgba chosen = FromColorRef(color);
    for (const CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selCurves, &m_selTexts,
                                          &m_selValues, &m_selButtons, &m_selSolids, &m_selOthers}) {
        for (WORD id : *list) {
            if (CGCell* cell = m_cells.Find(id))
                SetRgb(cell->m_labelColor, chosen);
        }
    }
}

void CGPage::SetFlagOnSelection(int flag) {
    for (const CList<WORD, WORD>* list : {&m_selPoints, &m_selLines, &m_selFaces, &m_selCurves}) {
        for (WORD id : *list) {
            if (CGCell* cell = m_cells.Find(id)) {
                cell->m_extB1 = flag == 0 ? 1 : 0;
                cell->m_flag2 = true; // the label's glyphs follow the font
            }
        }
    }
}

void CGPage::InvalidateTextImages() {
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        if (cell->m_style == 1 && cell->IsKindOf(RUNTIME_CLASS(CGTextmap)))
            cell->m_flag2 = true;
    }
}
