// CGVerConstructed: the role tests of the parents, the record with its parent-count check, and the
// positions of line and face parents.
#include "points/constructed_point.h"

#include "dynamics/curves.h"
#include "measure/text_items.h"

void CGVerConstructed::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializeOwn(ar);
    if (ar.IsLoading() && m_parents.GetSize() != ParentCount())
        throw CArchiveException(CArchiveException::badIndex);
}

bool CGVerConstructed::ParentsUsable() const {
    const int count = ParentCount();
    if (m_parents.GetSize() != count)
        return false;
    for (int i = 0; i < count; ++i) {
        bool usable = false;
        switch (RoleOf(i)) {
        case HxParentRole::Point:
            usable = PointParent(i) != nullptr;
            break;
        case HxParentRole::Line:
            usable = LineParent(i) != nullptr;
            break;
        case HxParentRole::Face:
            usable = FaceParent(i) != nullptr;
            break;
        case HxParentRole::Circle:
            usable = CircleParent(i) != nullptr;
            break;
        case HxParentRole::Value:
            usable = ValueParent(i) != nullptr;
            break;
        case HxParentRole::Vector:
            usable = VectorParent(i) != nullptr;
            break;
        case HxParentRole::Curve:
            usable = CurveParent(i) != nullptr;
            break;
        case HxParentRole::Locus:
            usable = LocusParent(i) != nullptr;
            break;
        }
        if (!usable)
            return false;
    }
    return true;
}

namespace {

template <class T> T* ParentAs(const CGCell& cell, int i) {
    if (i < 0 || i >= cell.m_parents.GetSize())
        return nullptr;
    return DYNAMIC_DOWNCAST(T, HxFindCell(cell.m_parents[i]));
}

} // namespace

CGLine* CGVerConstructed::LineParent(int i) const {
    CGLine* line = ParentAs<CGLine>(*this, i);
    return line && line->GetEnd(0) && line->GetEnd(1) ? line : nullptr;
}

CGFace* CGVerConstructed::FaceParent(int i) const {
    CGFace* face = ParentAs<CGFace>(*this, i);
    return face && face->GetCorner(0) && face->GetCorner(1) && face->GetCorner(2) ? face : nullptr;
}

CGArc* CGVerConstructed::CircleParent(int i) const {
    return ParentAs<CGArc>(*this, i);
}

CGTmVariable* CGVerConstructed::ValueParent(int i) const {
    return ParentAs<CGTmVariable>(*this, i);
}

CGTmVector* CGVerConstructed::VectorParent(int i) const {
    return ParentAs<CGTmVector>(*this, i);
}

CGCurve* CGVerConstructed::CurveParent(int i) const {
    return ParentAs<CGCurve>(*this, i);
}

CGLocus* CGVerConstructed::LocusParent(int i) const {
    return ParentAs<CGLocus>(*this, i);
}

CString CGVerConstructed::ParentName(int i) const {
    const CGCell* parent = ParentAs<CGCell>(*this, i);
    return parent ? parent->m_name : CString();
}

void HxLineEnds(const CGLine& line, float a[3], float b[3]) {
    line.GetEnd(0)->GetPosition(a);
    line.GetEnd(1)->GetPosition(b);
}

void HxPlanePoints(const CGFace& face, float p0[3], float p1[3], float p2[3]) {
    face.GetCorner(0)->GetPosition(p0);
    face.GetCorner(1)->GetPosition(p1);
    face.GetCorner(2)->GetPosition(p2);
}
