// The view buttons: the pass scheme they share (start, N increments, the end set exactly, pauses,
// loops and the way back) and what each drives: the orientation turned about an axis, the
// translation panned, the zoom.
#include "dynamics/buttons.h"

#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CGButnView, CGButton)
IMPLEMENT_SERIAL(CGButnRotate, CGButnView, 1)
IMPLEMENT_SERIAL(CGButnTranslate, CGButnView, 1)
IMPLEMENT_SERIAL(CGButnScale, CGButnView, 1)

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

// A value from a damaged record that is no number leaves the camera as it is.
void WriteFinite(float& target, float value) {
    if (std::isfinite(value))
        target = value;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The pass scheme

CGButnView::CGButnView(WORD id, const CString& caption, int backAndForth, BYTE repeat, float seconds,
                       float pauseSeconds)
    : CGButton(id, caption) {
    m_backAndForth = backAndForth;
    m_repeat = repeat ? 1 : 0;
    m_seconds = seconds;
    m_extA3 = pauseSeconds;
}

void CGButnView::SerializePlay(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_backAndForth << m_repeat << m_seconds;
    } else {
        BYTE repeat = 0;
        ar >> m_backAndForth >> repeat >> m_seconds;
        m_repeat = repeat ? 1 : 0;
        Rewind();
    }
}

int CGButnView::PassTicks() const {
    // In single precision, as the duration is kept: 25 x 0.16 gives 4 ticks, not 3.
    const float ticks = std::trunc(float(g_animationFps) * m_seconds);
    if (!(ticks >= 1.0f))
        return 1;
    return int(std::min(ticks, 1.0e9f));
}

void CGButnView::Rewind() {
    m_tickCount = 0;
    m_returning = 0;
    m_pauseCount = 0;
}

bool CGButnView::CountPause() {
    ++m_pauseCount;
    return m_pauseCount > CGButnAnimation::PauseLimit(m_extA3);
}

BOOL CGButnView::Step() {
    const int n = PassTicks();
    if (m_tickCount <= 0) {
        SetStart();
        m_pauseCount = 0;
        m_tickCount = 1;
        BeginPass(n);
        return FALSE;
    }
    if (m_tickCount < n) {
        Advance();
        ++m_tickCount;
        return FALSE;
    }
    if (m_returning == 0) {
        SetEnd();
        if (m_backAndForth == 0 && !m_repeat) {
            m_tickCount = 0;
            return TRUE;
        }
        if (CountPause()) {
            m_pauseCount = 0;
            if (m_backAndForth == 0) {
                m_tickCount = 0;
            } else {
                TurnAround(true);
                m_returning = 1;
                m_tickCount = 1;
            }
        }
        return FALSE;
    }
    SetStart();
    if (!m_repeat) {
        m_tickCount = 0;
        m_returning = 0;
        return TRUE;
    }
    if (CountPause()) {
        m_pauseCount = 0;
        TurnAround(false);
        m_tickCount = 1;
        m_returning = 0;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Turning

CGButnRotate::CGButnRotate() {
    m_name = u"视转动";
    m_param2 = 1.0f;
}

CGButnRotate::CGButnRotate(WORD id, const CString& caption, float startW, float startX, float startY,
                           float startZ, float axisX, float axisY, float axisZ, float angle, int backAndForth,
                           BYTE repeat, float seconds, float pauseSeconds)
    : CGButnView(id, caption, backAndForth, repeat, seconds, pauseSeconds) {
    m_param2 = startW;
    m_startRotation[0] = startX;
    m_startRotation[1] = startY;
    m_startRotation[2] = startZ;
    m_axis[0] = axisX;
    m_axis[1] = axisY;
    m_axis[2] = axisZ;
    m_param3 = angle;
}

void CGButnRotate::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        for (float v : m_startRotation)
            ar << v;
        for (float v : m_axis)
            ar << v;
    } else {
        for (float& v : m_startRotation)
            ar >> v;
        for (float& v : m_axis)
            ar >> v;
        m_currentAngle = 0.0;
        m_increment = 0.0;
    }
    SerializePlay(ar);
}

CString CGButnRotate::GetDescription() {
    return CString(u"控制视图转动的动作按钮");
}

void CGButnRotate::RotationAt(double radians, double out[4]) const {
    const double s[4] = {m_param2, m_startRotation[0], m_startRotation[1], m_startRotation[2]};
    double r[4];
    QuaternionFromAxisAngle(r, radians, m_axis[0], m_axis[1], m_axis[2]);
    out[0] = std::clamp(s[0] * r[0] - s[1] * r[1] - s[2] * r[2] - s[3] * r[3], -1.0, 1.0);
    out[1] = s[0] * r[1] + s[1] * r[0] + s[2] * r[3] - s[3] * r[2];
    out[2] = s[0] * r[2] - s[1] * r[3] + s[2] * r[0] + s[3] * r[1];
    out[3] = s[0] * r[3] + s[1] * r[2] - s[2] * r[1] + s[3] * r[0];
}

namespace {

// A turn that is no number (a damaged record) leaves the view as it is.
void SetViewOrientation(const double q[4]) {
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(q[i]))
            return;
    }
    std::copy(q, q + 4, g_viewRotation);
}

} // namespace

void CGButnRotate::SetStart() {
    const double start[4] = {m_param2, m_startRotation[0], m_startRotation[1], m_startRotation[2]};
    SetViewOrientation(start);
}

void CGButnRotate::SetEnd() {
    double q[4];
    RotationAt(double(m_param3) * kDegreesToRadians, q);
    SetViewOrientation(q);
}

void CGButnRotate::BeginPass(int ticks) {
    m_start[0] = m_param2;
    for (int i = 0; i < 3; ++i)
        m_start[i + 1] = m_startRotation[i];
    m_increment = double(m_param3) / double(ticks) * kDegreesToRadians;
    m_currentAngle = m_increment;
}

void CGButnRotate::Advance() {
    double q[4];
    RotationAt(m_currentAngle, q);
    SetViewOrientation(q);
    m_currentAngle += m_increment;
}

void CGButnRotate::TurnAround(bool back) {
    m_increment = -m_increment;
    m_currentAngle = back ? double(m_param3) * kDegreesToRadians + m_increment : m_increment;
}

// ---------------------------------------------------------------------------------------------
// Panning

CGButnTranslate::CGButnTranslate() {
    m_name = u"视平移";
}

CGButnTranslate::CGButnTranslate(WORD id, const CString& caption, float startX, float startY, float startZ,
                                 float endX, float endY, float endZ, int backAndForth, BYTE repeat,
                                 float seconds, float pauseSeconds)
    : CGButnView(id, caption, backAndForth, repeat, seconds, pauseSeconds) {
    m_startTrans[0] = startX;
    m_startTrans[1] = startY;
    m_startTrans[2] = startZ;
    m_endTrans[0] = endX;
    m_endTrans[1] = endY;
    m_endTrans[2] = endZ;
}

void CGButnTranslate::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        for (float v : m_startTrans)
            ar << v;
        for (float v : m_endTrans)
            ar << v;
    } else {
        for (float& v : m_startTrans)
            ar >> v;
        for (float& v : m_endTrans)
            ar >> v;
        std::fill(std::begin(m_increment), std::end(m_increment), 0.0f);
    }
    SerializePlay(ar);
}

CString CGButnTranslate::GetDescription() {
    return CString(u"控制视图平移的动作按钮");
}

namespace {

void SetViewTranslation(const float t[3]) {
    WriteFinite(g_viewTransX, t[0]);
    WriteFinite(g_viewTransY, t[1]);
    WriteFinite(g_viewTransZ, t[2]);
}

} // namespace

void CGButnTranslate::SetStart() {
    SetViewTranslation(m_startTrans);
}

void CGButnTranslate::SetEnd() {
    SetViewTranslation(m_endTrans);
}

void CGButnTranslate::BeginPass(int ticks) {
    for (int i = 0; i < 3; ++i)
        m_increment[i] = (m_endTrans[i] - m_startTrans[i]) / float(ticks);
}

void CGButnTranslate::Advance() {
    const float next[3] = {g_viewTransX + m_increment[0], g_viewTransY + m_increment[1],
                           g_viewTransZ + m_increment[2]};
    SetViewTranslation(next);
}

void CGButnTranslate::TurnAround(bool) {
    for (float& v : m_increment)
        v = -v;
}

// ---------------------------------------------------------------------------------------------
// Zooming

CGButnScale::CGButnScale() {
    m_name = u"视缩放";
}

CGButnScale::CGButnScale(WORD id, const CString& caption, float startZoom, float endZoom, int backAndForth,
                         BYTE repeat, float seconds, float pauseSeconds)
    : CGButnView(id, caption, backAndForth, repeat, seconds, pauseSeconds) {
    m_startZoom = startZoom;
    m_endZoom = endZoom;
}

void CGButnScale::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_startZoom << m_endZoom;
    } else {
        ar >> m_startZoom >> m_endZoom;
        m_increment = 0.0f;
    }
    SerializePlay(ar);
}

CString CGButnScale::GetDescription() {
    return CString(u"控制视图缩放的动作按钮");
}

void CGButnScale::SetStart() {
    WriteFinite(g_viewZoom, m_startZoom);
}

void CGButnScale::SetEnd() {
    WriteFinite(g_viewZoom, m_endZoom);
}

void CGButnScale::BeginPass(int ticks) {
    m_increment = (m_endZoom - m_startZoom) / float(ticks);
}

void CGButnScale::Advance() {
    WriteFinite(g_viewZoom, g_viewZoom + m_increment);
}

void CGButnScale::TurnAround(bool) {
    m_increment = -m_increment;
}
