// The view-button commands of the document: the two view marks (F8, F9) and the turn, pan and zoom
// buttons made from them through their dialogs, each as one undo step.
#include "document/halvix_doc.h"

#include "construct/construction.h"
#include "document/doc_globals.h"
#include "dynamics/buttons.h"
#include "dynamics/edit_ids.h"
#include "dynamics/view_button_dialogs.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansToDegrees = 57.29577951308232;

void MarkView(float* mark) {
    mark[kMarkTransX] = g_viewTransX;
    mark[kMarkTransY] = g_viewTransY;
    mark[kMarkTransZ] = g_viewTransZ;
    for (int i = 0; i < 4; ++i)
        mark[kMarkRotW + i] = float(g_viewRotation[i]);
    mark[kMarkZoom] = g_viewZoom;
}

// A duration that is not above 0 becomes the least one given.
float PositiveOr(float seconds, float least) {
    return seconds > 0.0f ? seconds : least;
}

} // namespace

void HxViewTurnBetweenMarks(float& angle, float axis[3]) {
    // q = conjugate(start) (x) target.
    const double s[4] = {g_viewMarkStart[kMarkRotW], g_viewMarkStart[kMarkRotX], g_viewMarkStart[kMarkRotY],
                         g_viewMarkStart[kMarkRotZ]};
    const double t[4] = {g_viewMarkTarget[kMarkRotW], g_viewMarkTarget[kMarkRotX],
                         g_viewMarkTarget[kMarkRotY], g_viewMarkTarget[kMarkRotZ]};
    const double c[4] = {s[0], -s[1], -s[2], -s[3]};
    const double w = c[0] * t[0] - c[1] * t[1] - c[2] * t[2] - c[3] * t[3];
    const double x = c[0] * t[1] + c[1] * t[0] + c[2] * t[3] - c[3] * t[2];
    const double y = c[0] * t[2] - c[1] * t[3] + c[2] * t[0] + c[3] * t[1];
    const double z = c[0] * t[3] + c[1] * t[2] - c[2] * t[1] + c[3] * t[0];
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0)) {
        angle = 360.0f;
        axis[0] = 0.0f;
        axis[1] = 0.0f;
        axis[2] = 1.0f;
        return;
    }
    double degrees = 2.0 * std::acos(std::clamp(w, -1.0, 1.0)) * kRadiansToDegrees;
    if (degrees > 180.0)
        degrees -= 360.0;
    angle = float(degrees);
    axis[0] = float(x / length);
    axis[1] = float(y / length);
    axis[2] = float(z / length);
}

void CHalvixDoc::OnMarkViewStart() {
    MarkView(g_viewMarkStart);
}

void CHalvixDoc::OnMarkViewTarget() {
    MarkView(g_viewMarkTarget);
}

void CHalvixDoc::OnAddViewTranslateButton() {
    if (!g_pCurPage)
        return;
    CDlgViewTrans dialog;
    float most = 0.0f;
    for (int i = 0; i < 3; ++i) {
        dialog.m_start[i] = g_viewMarkStart[kMarkTransX + i];
        dialog.m_end[i] = g_viewMarkTarget[kMarkTransX + i];
        most = std::max(most, std::fabs(dialog.m_end[i] - dialog.m_start[i]));
    }
    dialog.m_seconds = PositiveOr(most / 5.0f, 0.1f);
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnTranslate>(dialog.m_caption, dialog.m_start[0], dialog.m_start[1], dialog.m_start[2],
                                 dialog.m_end[0], dialog.m_end[1], dialog.m_end[2], dialog.m_direction,
                                 BYTE(dialog.m_repeat ? 1 : 0), PositiveOr(dialog.m_seconds, 0.1f),
                                 dialog.m_interval);
    run.CommitCell(kUndoAddViewTranslateButton);
}

void CHalvixDoc::OnAddViewRotateButton() {
    if (!g_pCurPage)
        return;
    CDlgViewRotate dialog;
    for (int i = 0; i < 4; ++i)
        dialog.m_start[i] = g_viewMarkStart[kMarkRotW + i];
    HxViewTurnBetweenMarks(dialog.m_angle, dialog.m_axis);
    const float seconds = std::trunc(std::fabs(dialog.m_angle) / (2.0f * float(g_animationFps)));
    dialog.m_seconds = PositiveOr(seconds, 0.1f);
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnRotate>(dialog.m_caption, dialog.m_start[0], dialog.m_start[1], dialog.m_start[2],
                              dialog.m_start[3], dialog.m_axis[0], dialog.m_axis[1], dialog.m_axis[2],
                              dialog.m_angle, dialog.m_direction, BYTE(dialog.m_repeat ? 1 : 0),
                              PositiveOr(dialog.m_seconds, 0.01f), dialog.m_interval);
    run.CommitCell(kUndoAddViewRotateButton);
}

void CHalvixDoc::OnAddViewZoomButton() {
    if (!g_pCurPage)
        return;
    CDlgViewScale dialog;
    dialog.m_startZoom = g_viewMarkStart[kMarkZoom];
    dialog.m_endZoom = g_viewMarkTarget[kMarkZoom];
    dialog.m_seconds = PositiveOr(std::fabs(dialog.m_endZoom - dialog.m_startZoom) * 5.0f, 0.1f);
    if (dialog.DoModal() != IDOK)
        return;
    CConstruction run(*this);
    if (!run.Reserve(1, 0))
        return;
    run.AddCell<CGButnScale>(dialog.m_caption, dialog.m_startZoom, dialog.m_endZoom, dialog.m_direction,
                             BYTE(dialog.m_repeat ? 1 : 0), PositiveOr(dialog.m_seconds, 0.1f),
                             dialog.m_interval);
    run.CommitCell(kUndoAddViewZoomButton);
}
