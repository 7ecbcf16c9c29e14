// The common-perpendicular foot, the point on values and the circle points at another cell's
// parameter: constructions, records and descriptions.
#include "points/misc_points.h"

#include "measure/text_items.h"
#include "model/geometry.h"
#include "model/line.h"

#include <cmath>

IMPLEMENT_SERIAL(CGVerCommonperpen, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerCoordinates, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCircleRot, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInCircleFt, CGVertex, 1)

namespace {

// Radians to the degrees the descriptions show.
constexpr double kDegreesPerRadian = 57.29578;

const CGLine* LineOf(WORD id) {
    return DYNAMIC_DOWNCAST(CGLine, HxFindCell(id));
}

CString NameOf(const CGCell* cell) {
    return cell ? cell->m_name : CString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Foot of the common perpendicular

CGVerCommonperpen::CGVerCommonperpen(WORD id, DWORD vertexIndex, const CString& name, WORD lineA, WORD lineB)
    : CGVerDependent(id, vertexIndex, name, {lineA, lineB}) {
    Recompute();
}

bool CGVerCommonperpen::ParentsUsable() const {
    if (m_parents.GetSize() != 2)
        return false;
    for (WORD id : m_parents) {
        const CGLine* line = LineOf(id);
        if (!line || !line->GetEnd(0) || !line->GetEnd(1))
            return false;
    }
    return true;
}

bool CGVerCommonperpen::ComputePosition(float out[3]) {
    // Only the lines' valid flags are asked: their points stand behind them.
    const CGLine* a = LineOf(m_parents[0]);
    const CGLine* b = LineOf(m_parents[1]);
    float a0[3], a1[3], b0[3], b1[3];
    a->GetEnd(0)->GetPosition(a0);
    a->GetEnd(1)->GetPosition(a1);
    b->GetEnd(0)->GetPosition(b0);
    b->GetEnd(1)->GetPosition(b1);
    return CommonPerpendicularF(a0, a1, b0, b1, out) != FALSE;
}

CString CGVerCommonperpen::GetDescription() {
    const int count = int(m_parents.GetSize());
    CString text;
    text.Format(u"直线%s上与直线%s距离最小的点", NameOf(count > 0 ? LineOf(m_parents[0]) : nullptr),
                NameOf(count > 1 ? LineOf(m_parents[1]) : nullptr));
    return text;
}

// ---------------------------------------------------------------------------------------------
// Point on values

CGVerCoordinates::CGVerCoordinates(WORD id, DWORD vertexIndex, const CString& name,
                                   const CList<WORD, WORD>& values, int sourceX, int sourceY, int sourceZ,
                                   float x, float y, float z)
    : CGVerDependent(id, vertexIndex, name, {}) {
    for (WORD value : values) {
        if (m_parents.GetSize() == kMaxValues)
            break;
        AddParent(value);
    }
    m_sourceX = sourceX;
    m_sourceY = sourceY;
    m_sourceZ = sourceZ;
    SetPosition(x, y, z);
    Recompute();
}

void CGVerCoordinates::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_sourceX << m_sourceY << m_sourceZ;
        return;
    }
    ar >> m_sourceX >> m_sourceY >> m_sourceZ;
    if (m_parents.GetSize() > kMaxValues || !SourceUsable(m_sourceX) || !SourceUsable(m_sourceY) ||
        !SourceUsable(m_sourceZ))
        throw CArchiveException(CArchiveException::badIndex);
}

bool CGVerCoordinates::ParentsUsable() const {
    if (m_parents.GetSize() > kMaxValues || !SourceUsable(m_sourceX) || !SourceUsable(m_sourceY) ||
        !SourceUsable(m_sourceZ))
        return false;
    for (WORD id : m_parents) {
        if (!DYNAMIC_DOWNCAST(CGTmVariable, HxFindCell(id)))
            return false;
    }
    return true;
}

bool CGVerCoordinates::ComputePosition(float out[3]) {
    const int sources[3] = {m_sourceX, m_sourceY, m_sourceZ};
    GetPosition(out);
    for (int i = 0; i < 3; ++i) {
        if (sources[i] > 0)
            out[i] = HxFindCell(m_parents[sources[i] - 1])->m_param1;
    }
    return true;
}

CString CGVerCoordinates::GetDescription() {
    const int sources[3] = {m_sourceX, m_sourceY, m_sourceZ};
    const float kept[3] = {m_x, m_y, m_z};
    CString fields[3];
    for (int i = 0; i < 3; ++i) {
        if (sources[i] == 0) {
            fields[i].Format(u"%.4f", kept[i]);
        } else if (sources[i] > 0 && sources[i] <= m_parents.GetSize()) {
            fields[i] = NameOf(HxFindCell(m_parents[sources[i] - 1]));
        }
    }
    CString text;
    text.Format(u"根据值绘制点（%s,%s,%s）", fields[0], fields[1], fields[2]);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Circle points at another cell's parameter

CGArc* CGVerOnCircleAt::CircleParent(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(CGArc, HxFindCell(m_parents[i]));
}

CGCell* CGVerOnCircleAt::AnyParent(int i) const {
    if (i < 0 || i >= m_parents.GetSize())
        return nullptr;
    return HxFindCell(m_parents[i]);
}

void CGVerOnCircleAt::CirclePoint(const CGArc& circle, float t, float out[3]) {
    const float c = float(std::cos(double(t)));
    const float s = float(std::sin(double(t)));
    for (int i = 0; i < 3; ++i)
        out[i] = circle.m_center[i] + c * circle.m_axisU[i] + s * circle.m_axisV[i];
}

CGVerInCircleRot::CGVerInCircleRot(WORD id, DWORD vertexIndex, const CString& name, WORD p, WORD circle,
                                   float angle)
    : CGVerOnCircleAt(id, vertexIndex, name, p, circle) {
    m_angle = angle;
    Recompute();
}

void CGVerInCircleRot::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    if (ar.IsStoring())
        ar << m_angle;
    else
        ar >> m_angle;
}

void CGVerInCircleRot::Recompute() {
    const CGCell* p = AnyParent(0);
    if (!p || !p->m_valid) {
        m_valid = false;
        return;
    }
    m_param1 = p->m_param1 + m_angle;
    const CGArc* circle = CircleParent(1);
    if (!circle || !circle->m_valid) {
        m_valid = false;
        return;
    }
    float q[3];
    if (!ComputePosition(q) || !std::isfinite(q[0]) || !std::isfinite(q[1]) || !std::isfinite(q[2])) {
        m_valid = false;
        return;
    }
    SetPosition(q[0], q[1], q[2]);
    m_valid = true;
}

bool CGVerInCircleRot::ComputePosition(float out[3]) {
    CirclePoint(*CircleParent(1), m_param1, out);
    return true;
}

CString CGVerInCircleRot::GetDescription() {
    CString text;
    text.Format(u"在圆%s上绕圆心按点%s的参数再旋转%.4f度的点", NameOf(CircleParent(1)), NameOf(AnyParent(0)),
                double(m_angle) * kDegreesPerRadian);
    return text;
}

CGVerInCircleFt::CGVerInCircleFt(WORD id, DWORD vertexIndex, const CString& name, WORD circle, WORD q)
    : CGVerOnCircleAt(id, vertexIndex, name, circle, q) {
    Recompute();
}

bool CGVerInCircleFt::ParentsUsable() const {
    return m_parents.GetSize() == 2 && CircleParent(0) && AnyParent(1);
}

bool CGVerInCircleFt::ComputePosition(float out[3]) {
    m_param1 = AnyParent(1)->m_param1;
    CirclePoint(*CircleParent(0), m_param1, out);
    return true;
}

CString CGVerInCircleFt::GetDescription() {
    CString text;
    text.Format(u"圆%s上与%s同参数的点", NameOf(CircleParent(0)), NameOf(AnyParent(1)));
    return text;
}
