// The property dialogs of points, lines, faces, circles, solids of revolution, the plane axes and the
// page's traces: filling them from the cell, and writing an accepted answer back.
#include "document/element_properties.h"

#include "document/undo_cmds.h"
#include "measure/scale_line.h"
#include "model/arc.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "points/confined_points.h"
#include "solids/revolution.h"
#include "view/view_colors.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;
constexpr BYTE kTranslucentAlpha = 90; // 'Z'

// A typed name that differs from the stored one is kept: automatic renaming leaves it alone from
// now on, and the label is drawn again.
void TakeName(CGCell& cell, const CString& name) {
    if (name == cell.m_name)
        return;
    cell.m_name = name;
    cell.m_flag2 = true;
    cell.m_nameFixed = true;
}

void TakeFlags(CGCell& cell, BOOL hidden, BOOL labelHidden) {
    cell.m_hidden = hidden ? 1 : 0;
    cell.m_labelHidden = labelHidden ? 1 : 0;
}

// The object tree shows names and descriptions again.
void PostTextsChanged(const CGPage& page) {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_CELL_TEXTS_CHANGED, 0, LPARAM(page.m_pageId));
}

// The descendants of the cell, ascending (kept in the page's id vector).
std::vector<WORD>& Descendants(CGPage& page, CGCell& cell) {
    cell.MarkDescendants();
    page.CollectMarkedIds(page.m_recomputeIds);
    return page.m_recomputeIds;
}

// The opacity that goes with a change of style: translucent at 90, opaque again when it stops being so.
void TakeAlphaForStyle(CGCell& cell, int oldStyle, int newStyle, int translucentStyle) {
    if (newStyle == translucentStyle && oldStyle != translucentStyle)
        cell.m_color.a = kTranslucentAlpha;
    else if (oldStyle == translucentStyle && newStyle != translucentStyle)
        cell.m_color.a = 255;
}

int ClampedIndex(int value, int count) {
    return value >= 0 && value < count ? value : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Points

int HxPointCoordinateMode(const CGVertex& point, bool& paramEditable) {
    paramEditable = false;
    const bool onPath =
        point.IsKindOf(RUNTIME_CLASS(CGVerFree)) && !point.IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) &&
        !point.IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) &&
        !point.IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) &&
        !point.IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)) && !point.IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)) &&
        !point.IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane));
    if (onPath) {
        paramEditable = true;
        return CDlgPropertyPoint::kNoCoordinates;
    }
    if (point.m_parents.GetSize() == 0 || point.IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)))
        return CDlgPropertyPoint::kCoordinatesXyz;
    if (point.IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)))
        return CDlgPropertyPoint::kCoordinatesXy;
    return CDlgPropertyPoint::kNoCoordinates;
}

void HxFillPointDialog(CGVertex& point, CDlgPropertyPoint& dlg) {
    dlg.m_description = point.GetDescription();
    dlg.m_label = point.m_name;
    dlg.m_hidden = point.m_hidden ? TRUE : FALSE;
    dlg.m_labelHidden = point.m_labelHidden ? TRUE : FALSE;
    dlg.m_x = point.m_x;
    dlg.m_y = point.m_y;
    dlg.m_z = point.m_z;
    dlg.m_t = point.m_param1;
    dlg.m_size = point.m_size;
    dlg.m_visibility = point.m_style & 1;
    dlg.m_shape = point.m_style >> 1;
    dlg.m_coordinateMode = HxPointCoordinateMode(point, dlg.m_paramEditable);
}

void HxApplyPointDialog(CGPage& page, CGVertex& point, const CDlgPropertyPoint& dlg) {
    const CString nameBefore = point.m_name;
    TakeName(point, dlg.m_label);
    TakeFlags(point, dlg.m_hidden, dlg.m_labelHidden);
    const BYTE style = BYTE(dlg.m_shape * 2 + (dlg.m_visibility & 1));
    point.m_style = style;
    point.m_size = dlg.m_size;
    if (dlg.m_applyToAll) {
        ForEachCell(page.m_cells, [&](CGCell* cell) {
            if (cell->IsKindOf(RUNTIME_CLASS(CGVertex))) {
                cell->m_style = style;
                cell->m_size = dlg.m_size;
            }
        });
    }
    bool paramEditable = false;
    const int mode = HxPointCoordinateMode(point, paramEditable);
    CCmdModifiPoint* cmd = nullptr;
    if (mode != CDlgPropertyPoint::kNoCoordinates) {
        const bool zEditable = mode == CDlgPropertyPoint::kCoordinatesXyz;
        if (dlg.m_x != point.m_x || dlg.m_y != point.m_y || (zEditable && dlg.m_z != point.m_z)) {
            cmd = new CCmdModifiPoint(point.m_id, u"修改点坐标");
            page.m_cmdProcessor.Submit(cmd);
            point.m_x = dlg.m_x;
            point.m_y = dlg.m_y;
            if (zEditable)
                point.m_z = dlg.m_z;
        }
    } else if (paramEditable && dlg.m_t != point.m_param1) {
        cmd = new CCmdModifiPoint(point.m_id, u"修改动点参数");
        page.m_cmdProcessor.Submit(cmd);
        point.m_param1 = dlg.m_t;
    }
    point.SyncVertex();
    std::vector<WORD>& ids = Descendants(page, point);
    // The names built again below belong to the step that moved the point, so that its undo gives
    // them back; not when the point was renamed too, whose new name the undo keeps.
    std::vector<CString> names;
    const bool keepRenames = cmd && point.m_name == nameBefore;
    if (keepRenames) {
        for (WORD id : ids) {
            const CGCell* cell = page.FindCell(id);
            names.push_back(cell ? cell->m_name : CString());
        }
    }
    page.UpdateTextsById(ids);
    if (keepRenames) {
        for (size_t i = 0; i < ids.size(); ++i) {
            const CGCell* cell = page.FindCell(ids[i]);
            if (cell && cell->m_name != names[i])
                cmd->m_renames.push_back({ids[i], names[i], cell->m_name});
        }
    }
    page.UpdateCellsById(ids);
    PostTextsChanged(page);
}

BOOL HxEditPointProperties(CGPage& page, CGVertex& point) {
    CDlgPropertyPoint dlg;
    HxFillPointDialog(point, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyPointDialog(page, point, dlg);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Lines

void HxFillLineDialog(CGLine& line, CDlgPropertyLine& dlg) {
    dlg.m_description = line.GetDescription();
    dlg.m_label = line.m_name;
    dlg.m_hidden = line.m_hidden ? TRUE : FALSE;
    dlg.m_labelHidden = line.m_labelHidden ? TRUE : FALSE;
    dlg.m_style = line.m_style;
    dlg.m_kind = line.m_kind;
    dlg.m_width = line.m_size;
}

void HxApplyLineDialog(CGPage& page, CGLine& line, const CDlgPropertyLine& dlg) {
    TakeName(line, dlg.m_label);
    TakeFlags(line, dlg.m_hidden, dlg.m_labelHidden);
    line.m_style = BYTE(dlg.m_style);
    line.m_kind = BYTE(dlg.m_kind);
    line.m_size = dlg.m_width;
    if (dlg.m_applyToAll) {
        ForEachCell(page.m_cells, [&](CGCell* cell) {
            if (cell->IsKindOf(RUNTIME_CLASS(CGLine))) {
                cell->m_style = BYTE(dlg.m_style);
                cell->m_size = dlg.m_width;
            }
        });
    }
    page.UpdateTextsById(Descendants(page, line));
    PostTextsChanged(page);
}

BOOL HxEditLineProperties(CGPage& page, CGLine& line) {
    CDlgPropertyLine dlg;
    HxFillLineDialog(line, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyLineDialog(page, line, dlg);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Faces

void HxFillFaceDialog(CGFace& face, CDlgPropertyFace& dlg) {
    dlg.m_description = face.GetDescription();
    dlg.m_label = face.m_name;
    dlg.m_hidden = face.m_hidden ? TRUE : FALSE;
    dlg.m_labelHidden = face.m_labelHidden ? TRUE : FALSE;
    dlg.m_style = face.m_style;
    dlg.m_texture = ClampedIndex(face.m_param4, CDlgPropertyFace::kTextureChoices);
}

void HxApplyFaceDialog(CGPage& page, CGFace& face, const CDlgPropertyFace& dlg) {
    TakeName(face, dlg.m_label);
    TakeFlags(face, dlg.m_hidden, dlg.m_labelHidden);
    if (CDlgPropertyFace::TextureEnabled(dlg.m_style)) {
        if (face.m_param4 == 0 && dlg.m_texture != 0)
            face.m_texCoordsDirty = true;
        face.m_param4 = dlg.m_texture;
    }
    TakeAlphaForStyle(face, face.m_style, dlg.m_style, CGFace::kStyleTranslucent);
    face.m_style = BYTE(dlg.m_style);
    if (dlg.m_applyToAll) {
        const bool textureChosen = dlg.m_texture != 0;
        ForEachCell(page.m_cells, [&](CGCell* cell) {
            auto* other = DYNAMIC_DOWNCAST(CGFace, cell);
            if (!other)
                return;
            if (CDlgPropertyFace::TextureEnabled(dlg.m_style)) {
                if (other->m_param4 == 0 || other->m_param4 > 15) {
                    other->m_param4 = textureChosen ? HxNextTextureNumber() : 0;
                    other->m_texCoordsDirty = other->m_texCoordsDirty || textureChosen;
                } else if (!textureChosen) {
                    other->m_param4 = 0;
                }
            }
            TakeAlphaForStyle(*other, other->m_style, dlg.m_style, CGFace::kStyleTranslucent);
            other->m_style = BYTE(dlg.m_style);
        });
    }
    page.UpdateTextsById(Descendants(page, face));
    PostTextsChanged(page);
}

BOOL HxEditFaceProperties(CGPage& page, CGFace& face) {
    CDlgPropertyFace dlg;
    HxFillFaceDialog(face, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyFaceDialog(page, face, dlg);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Circles and arcs

void HxFillCircleDialog(CGArc& circle, CDlgPropertyCircle& dlg) {
    dlg.m_description = circle.GetDescription();
    dlg.m_label = circle.m_name;
    dlg.m_hidden = circle.m_hidden ? TRUE : FALSE;
    dlg.m_labelHidden = circle.m_labelHidden ? TRUE : FALSE;
    dlg.m_kind = circle.m_kind;
    dlg.m_style = circle.m_style;
    dlg.m_from = float(circle.m_startAngle * kDegrees);
    dlg.m_to = float(circle.m_endAngle * kDegrees);
    dlg.m_arcMode = circle.m_sweepFromPoints ? 0 : 1;
    dlg.m_width = circle.m_size;
    dlg.m_texture = ClampedIndex(circle.m_param4, CDlgPropertyCircle::kTextureChoices);
}

void HxApplyCircleDialog(CGPage& page, CGArc& circle, const CDlgPropertyCircle& dlg) {
    TakeName(circle, dlg.m_label);
    TakeFlags(circle, dlg.m_hidden, dlg.m_labelHidden);
    const int oldKind = circle.m_kind;
    const int newKind = dlg.m_kind;
    // A filled figure draws its area in the object colour and its outline in the label colour.
    const auto swapColors = [&] {
        std::swap(circle.m_color.r, circle.m_labelColor.r);
        std::swap(circle.m_color.g, circle.m_labelColor.g);
        std::swap(circle.m_color.b, circle.m_labelColor.b);
    };
    if (oldKind < 2 && newKind >= 2) {
        if (circle.m_labelColor == g_colorLabel) {
            circle.m_labelColor = circle.m_color;
            const COLORREF next = NextAutoColor();
            circle.m_color.r = GetRValue(next);
            circle.m_color.g = GetGValue(next);
            circle.m_color.b = GetBValue(next);
        } else {
            swapColors();
        }
    } else if (oldKind >= 2 && newKind < 2) {
        swapColors();
    }
    TakeAlphaForStyle(circle, circle.m_style, dlg.m_style, CGArc::kStyleTranslucent);
    circle.m_kind = BYTE(newKind);
    circle.m_style = BYTE(dlg.m_style);
    circle.m_sweepFromPoints = dlg.m_arcMode == 0;
    circle.m_startAngle = float(dlg.m_from / kDegrees);
    circle.m_endAngle = float(dlg.m_to / kDegrees);
    circle.NormalizeAngles();
    if (double(circle.m_endAngle) - double(circle.m_startAngle) < 1e-6)
        circle.m_endAngle = float(circle.m_startAngle + kTwoPi);
    circle.m_size = dlg.m_width;
    if (CDlgPropertyCircle::TextureEnabled(dlg.m_kind, dlg.m_style))
        circle.m_param4 = dlg.m_texture;
    circle.Recompute();
    std::vector<WORD>& ids = Descendants(page, circle);
    page.UpdateCellsById(ids);
    page.UpdateTextsById(ids);
    PostTextsChanged(page);
}

BOOL HxEditCircleProperties(CGPage& page, CGArc& circle) {
    CDlgPropertyCircle dlg;
    HxFillCircleDialog(circle, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyCircleDialog(page, circle, dlg);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Solids of revolution

void HxFillSolidDialog(CGCell& solid, CDlgPropertySolid& dlg) {
    dlg.m_description = solid.GetDescription();
    dlg.m_hidden = solid.m_hidden ? TRUE : FALSE;
    dlg.m_style = solid.m_style;
    dlg.m_texture = ClampedIndex(solid.m_param4, CElementDialogIds::kTextureChoices);
}

void HxApplySolidDialog(CGCell& solid, const CDlgPropertySolid& dlg) {
    solid.m_hidden = dlg.m_hidden ? 1 : 0;
    TakeAlphaForStyle(solid, solid.m_style, dlg.m_style, kRevStyleTranslucent);
    solid.m_style = BYTE(dlg.m_style);
    solid.m_param4 = dlg.m_texture;
}

BOOL HxEditSolidProperties(CGCell& solid) {
    CDlgPropertySolid dlg;
    HxFillSolidDialog(solid, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplySolidDialog(solid, dlg);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The plane axes and the traces

void HxFillScaleLineDialog(const CGScaleline& axes, CDlgProScaleLine& dlg) {
    dlg.m_kind = axes.m_kind != 0 ? 1 : 0;
    dlg.m_xOnly = axes.m_style != 0 ? TRUE : FALSE;
    dlg.m_autoSpacing = axes.m_autoSpacing != 0 ? TRUE : FALSE;
    dlg.m_tickIndex = CDlgProScaleLine::SpacingIndex(axes.m_tickSpacing);
    dlg.m_valueIndex = CDlgProScaleLine::SpacingIndex(axes.m_valueSpacing);
}

void HxApplyScaleLineDialog(CGScaleline& axes, const CDlgProScaleLine& dlg) {
    axes.m_kind = BYTE(dlg.m_kind != 0 ? 1 : 0);
    axes.m_style = BYTE(dlg.m_xOnly ? 1 : 0);
    axes.m_autoSpacing = dlg.m_autoSpacing ? 1 : 0;
    axes.m_tickSpacing =
        CDlgProScaleLine::kSpacings[ClampedIndex(dlg.m_tickIndex, CDlgProScaleLine::kSpacingCount)];
    axes.m_valueSpacing =
        CDlgProScaleLine::kSpacings[ClampedIndex(dlg.m_valueIndex, CDlgProScaleLine::kSpacingCount)];
}

BOOL HxEditScaleLineProperties(CGScaleline& axes) {
    CDlgProScaleLine dlg;
    HxFillScaleLineDialog(axes, dlg);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    HxApplyScaleLineDialog(axes, dlg);
    return TRUE;
}

BOOL HxEditTraceProperties(CGPage& page) {
    CDlgTrace dlg;
    dlg.m_mode = page.m_snapshot != 0 ? 1 : 0;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    page.m_snapshot = dlg.m_mode != 0 ? 1 : 0;
    return TRUE;
}
