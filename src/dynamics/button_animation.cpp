// The animation button: the sweep of its driven cell's value between two bounds (forward, backward
// or back and forth, once or in a loop, pausing at the ends) and the random walks of a point in a
// face or in a plane.
#include "dynamics/buttons.h"

#include "measure/text_items.h"
#include "model/face.h"
#include "model/page.h"
#include "platform/random.h"
#include "points/confined_points.h"
#include "view/view_settings.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGButnAnimation, CGButton, 1)

namespace {

// A plane walk stays within this square of its two coordinates.
constexpr float kPlaneWalkLimit = 3.0f;

} // namespace

CGButnAnimation::CGButnAnimation() = default;

CGButnAnimation::CGButnAnimation(WORD id, const CString& caption, WORD drivenId, float min, float max,
                                 int mode, BYTE repeat, float speed, float pauseSeconds)
    : CGButton(id, caption) {
    m_extA3 = pauseSeconds;
    m_pauseCount = 0;
    m_speed = speed;
    m_repeat = repeat ? 1 : 0;
    m_mode = mode;
    m_min = min;
    m_max = max;
    m_state = mode == kBackAndForth ? kRising : mode;
    AddParent(drivenId);
    const CGCell* driven = HxFindCell(drivenId);
    if (!driven || !driven->m_valid)
        m_valid = false;
}

void CGButnAnimation::Serialize(CArchive& ar) {
    CGButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_min << m_max << m_mode << m_repeat << m_state;
    } else {
        BYTE repeat = 0;
        ar >> m_min >> m_max >> m_mode >> repeat >> m_state;
        m_repeat = repeat ? 1 : 0;
        m_pauseCount = 0;
    }
}

CString CGButnAnimation::GetDescription() {
    const CGCell* driven = m_parents.IsEmpty() ? nullptr : HxFindCell(m_parents[0]);
    const CString name = driven ? driven->m_name : CString();
    if (driven && driven->IsKindOf(RUNTIME_CLASS(CGTmVariable)))
        return HxFormat(u"参数%s的动画按钮", name.GetString());
    return HxFormat(u"点%s的动画按钮", name.GetString());
}

int CGButnAnimation::PauseLimit(float seconds) {
    const float ticks = float(g_animationFps) * seconds + 1.0f;
    // A pause that is no number (a damaged record) ends at once; the count stays an int.
    if (std::isnan(ticks))
        return 0;
    return int(std::trunc(std::clamp(ticks, -2.0e9f, 2.0e9f)));
}

bool CGButnAnimation::CountPause() {
    ++m_pauseCount;
    return m_pauseCount > PauseLimit(m_extA3);
}

BOOL CGButnAnimation::Step() {
    if (!m_valid || m_parents.IsEmpty())
        return TRUE;
    CGCell* driven = HxFindCell(m_parents[0]);
    if (!driven)
        return TRUE;
    switch (m_kind) {
    case kSweep:
        return Sweep(*driven);
    case kWalkInFace:
        return WalkInFace(*driven);
    case kWalkInPlane:
        return WalkInPlane(*driven);
    default:
        return TRUE;
    }
}

BOOL CGButnAnimation::Sweep(CGCell& driven) {
    float v = driven.m_param1;
    BOOL finished = FALSE;
    // A state that no sweep sets (a damaged record) starts the sweep again.
    if (m_state != kRising && m_state != kFalling)
        m_state = kRestart;
    if (m_state == kRising) {
        const float w = v + m_speed;
        if (w <= m_max) {
            v = w < m_min ? m_min : w;
        } else {
            v = m_max;
            if (m_mode == kBackAndForth) {
                if (CountPause()) {
                    m_state = kFalling;
                    m_pauseCount = 0;
                }
            } else if (m_repeat) {
                if (CountPause()) {
                    m_state = kRestart;
                    m_pauseCount = 0;
                }
            } else {
                m_state = m_min == m_max ? kRising : kRestart;
                finished = TRUE;
            }
        }
    } else if (m_state == kFalling) {
        const float w = v - m_speed;
        if (w >= m_min) {
            v = w > m_max ? m_max : w;
        } else {
            v = m_min;
            if (m_repeat) {
                if (CountPause()) {
                    m_state = m_mode == kBackAndForth ? kRising : kRestart;
                    m_pauseCount = 0;
                }
            } else {
                m_state = m_min == m_max ? kFalling : kRestart;
                finished = TRUE;
            }
        }
    } else {
        if (m_mode == kBackward) {
            v = m_max;
            m_state = kFalling;
        } else {
            v = m_min;
            m_state = kRising;
        }
        m_pauseCount = 0;
    }
    driven.m_param1 = v;
    // A parameter in integer mode keeps the unrounded value beside the one it shows.
    if (driven.m_extA1 == 1)
        driven.m_extA3 = v;
    return finished;
}

int CGButnAnimation::DrawDirection() {
    int r = HxRand() % 4;
    while (m_state + r == 3)
        r = HxRand() % 4;
    m_state = r;
    return r;
}

BOOL CGButnAnimation::WalkInPlane(CGCell& driven) {
    auto* point = DYNAMIC_DOWNCAST(CGVerFreeInPlane, &driven);
    if (!point)
        return TRUE;
    if (m_min > m_max) {
        m_min = 0.0f;
        return TRUE;
    }
    float& s = point->m_weightA;
    float& t = point->m_weightB;
    switch (DrawDirection()) {
    case 0:
        s -= m_speed;
        if (s < -kPlaneWalkLimit)
            s += m_speed;
        break;
    case 1:
        t -= m_speed;
        if (t < -kPlaneWalkLimit)
            t += m_speed;
        break;
    case 2:
        t += m_speed;
        if (t > kPlaneWalkLimit)
            t -= m_speed;
        break;
    default:
        s += m_speed;
        if (s > kPlaneWalkLimit)
            s -= m_speed;
        break;
    }
    m_min += 1.0f;
    return FALSE;
}

BOOL CGButnAnimation::WalkInFace(CGCell& driven) {
    auto* point = DYNAMIC_DOWNCAST(CGVerFreeInFace, &driven);
    const CGFace* face = point ? point->GetFace() : nullptr;
    if (!face)
        return TRUE;
    if (m_min > m_max) {
        m_min = 0.0f;
        return TRUE;
    }
    const int n = int(face->m_parents.GetSize());
    int& k = point->m_fanIndex;
    float b = point->m_weightK;
    float c = 1.0f - point->m_weight0 - point->m_weightK;
    const float speed = m_speed;
    switch (DrawDirection()) {
    case 0: {
        // Towards the edge of corner k + 1: across it into the next fan triangle.
        const float nb = b - speed;
        if (nb < 0.0f) {
            if (k < n - 2) {
                ++k;
                b = c - nb > 1.0f ? c - speed : c;
                c = -nb;
            } else {
                b = -nb;
                if (c + b > 1.0f)
                    c -= speed;
            }
        } else {
            b = nb;
        }
        break;
    }
    case 1: {
        const float nc = c - speed;
        if (nc < 0.0f) {
            if (k > 1) {
                --k;
                c = b - nc > 1.0f ? b - speed : b;
                b = -nc;
            } else {
                c = -nc;
                if (c + b > 1.0f)
                    b -= speed;
            }
        } else {
            c = nc;
        }
        break;
    }
    case 2:
        c += speed;
        if (c + b > 1.0f) {
            c -= speed;
            m_state = 1;
        }
        break;
    default:
        b += speed;
        if (c + b > 1.0f) {
            b -= speed;
            m_state = 0;
        }
        break;
    }
    point->m_weightK = b;
    point->m_weight0 = 1.0f - b - c;
    m_min += 1.0f;
    return FALSE;
}
