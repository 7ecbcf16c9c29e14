// CGPage::UpgradeFromVersion: the fields of pages and cells read from files of older format
// versions brought up to their present meaning (button colours, picture scales, rotation buttons
// and views kept as angles, formula markup, text items, the unit length).
#include "model/page.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "formula/bin_tree.h"
#include "view/view_camera.h"

#include <algorithm>
#include <cmath>

namespace {

// Versions below which each step applies.
constexpr int kButtonColors = 240;
constexpr int kPictureScale = 300;
constexpr int kQuaternions = 320;
constexpr int kFormulaMarkup = 335;
constexpr int kUnitsPerLength = 600;
constexpr int kTextPictures = 602;

constexpr float kTwoRadiansToDegrees = 114.59156f;

// A rotation button of an old file kept its start and end orientations as three angles each (in
// the quaternion and the axis fields); now it keeps the start as a quaternion and the turn between
// the two as an angle about an axis.
void UpgradeRotationButton(CGButnRotate& button) {
    double q1[4], q2[4];
    EulerToQuaternion(q1, button.m_startRotation[0], button.m_startRotation[1], button.m_startRotation[2]);
    button.m_param2 = float(q1[0]);
    for (int i = 0; i < 3; ++i)
        button.m_startRotation[i] = float(q1[i + 1]);
    EulerToQuaternion(q2, button.m_axis[0], button.m_axis[1], button.m_axis[2]);

    // r = conjugate(q1) q2
    double w = std::clamp(q1[0] * q2[0] + q1[1] * q2[1] + q1[2] * q2[2] + q1[3] * q2[3], -1.0, 1.0);
    double x = q1[0] * q2[1] - q1[1] * q2[0] - q1[2] * q2[3] + q1[3] * q2[2];
    double y = q1[0] * q2[2] - q1[2] * q2[0] - q1[3] * q2[1] + q1[1] * q2[3];
    double z = q1[0] * q2[3] - q1[3] * q2[0] - q1[1] * q2[2] + q1[2] * q2[1];
    float n = float(x) * float(x) + float(y) * float(y) + float(z) * float(z);
    if (n > 0.0f) {
        button.m_param3 = float(std::acos(w)) * kTwoRadiansToDegrees;
        float length = std::sqrt(n);
        button.m_axis[0] = float(x) / length;
        button.m_axis[1] = float(y) / length;
        button.m_axis[2] = float(z) / length;
    } else {
        button.m_param3 = 0.0f;
        button.m_axis[0] = 0.0f;
        button.m_axis[1] = 0.0f;
        button.m_axis[2] = 1.0f;
    }
    // Equal orientations: whole turns, when the button turned more than once.  Records of that age
    // kept the number of turns in the float that now holds the duration.
    const float turns = button.m_seconds;
    if (button.m_param3 == 0.0f && turns >= 2.0f)
        button.m_param3 = std::trunc(turns * 0.5f) * 360.0f;
}

void UpgradeCell(CGCell* cell, int version) {
    if (version < kButtonColors && cell->IsKindOf(RUNTIME_CLASS(CGButton))) {
        cell->m_color.r = 51;
        cell->m_color.g = 102;
        cell->m_color.b = 255;
        cell->m_labelColor.r = cell->m_labelColor.g = cell->m_labelColor.b = 0;
        cell->m_labelHidden = 0;
    }
    if (version < kPictureScale && HxIsOfClassNamed(cell, "CGTbImage")) {
        cell->m_param2 = 1.0f;
        cell->m_param3 = 1.0f;
    }
    if (version < kQuaternions) {
        if (auto* button = DYNAMIC_DOWNCAST(CGButnRotate, cell))
            UpgradeRotationButton(*button);
    }
    if (version < kFormulaMarkup) {
        if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell)) {
            formula->m_textureMode = cell->IsKindOf(RUNTIME_CLASS(CGTbMhc)) ? 1 : 0;
            formula->m_markup = ConvertFormulaMarkup(formula->m_markup);
        }
    }
    if (version < kTextPictures && cell->IsKindOf(RUNTIME_CLASS(CGTextmap))) {
        cell->m_labelHidden = 0;
        cell->m_flag2 = true;
    }
}

} // namespace

void CGPage::UpgradeFromVersion(int storedVersion) {
    for (POSITION pos = m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_cells.GetNextAssoc(pos, id, cell);
        UpgradeCell(cell, storedVersion);
    }
    if (storedVersion < kQuaternions) {
        // The view was kept as three angles in degrees.
        double q[4];
        EulerToQuaternion(q, m_viewRot[0], m_viewRot[1], m_viewRot[2]);
        m_viewRot[3] = float(q[0]);
        m_viewRot[0] = float(q[1]);
        m_viewRot[1] = float(q[2]);
        m_viewRot[2] = float(q[3]);
    }
    if (storedVersion < kUnitsPerLength)
        m_unitsPerLength = 20;
}
