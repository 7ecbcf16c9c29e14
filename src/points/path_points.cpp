// The points on compound and combined paths: the two parameterisations, the points of each kind of
// piece, the records, and the drags along the pieces.
#include "points/path_points.h"

#include "dynamics/curves.h"
#include "model/geometry.h"
#include "model/page.h"
#include "view/view_globals.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGVerFreeInBorder, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerFreeInPaths, CGVerFree, 1)
IMPLEMENT_SERIAL(CGVerInPaths, CGVertex, 1)
IMPLEMENT_SERIAL(CGVerInBorder, CGVertex, 1)

namespace {

// Below this total length a combined path has no parameterisation.
constexpr double kMinTotalLength = 1e-12;
constexpr double kTwoPi = 6.283185307179586;

bool Finite(const float p[3]) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

void ToFloats(const double in[3], float out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = float(in[i]);
}

CGCell* Piece(const CWordArray& parents, int i) {
    return i >= 0 && i < parents.GetSize() ? HxFindCell(parents[i]) : nullptr;
}

// The record of the path points: the point record, then the piece count, which may not exceed the
// number of parents.
void SerializePieceCount(CArchive& ar, int& count, int parentCount) {
    if (ar.IsStoring()) {
        ar << count;
        return;
    }
    ar >> count;
    if (count < 0 || count > parentCount)
        throw CArchiveException(CArchiveException::badIndex);
}

// The point of a locus at the fraction f of its driver range; the locus and its driver are put back
// at the driver's parameter afterwards.
bool LocusPointAt(CGLocus& locus, double f, float out[3]) {
    const double u = f < 0.0 || f > 1.0 || locus.m_t0 >= locus.m_t1
                         ? locus.m_t1
                         : locus.m_t0 + f * (locus.m_t1 - locus.m_t0);
    CGCell* driver = Piece(locus.m_parents, 0);
    const float saved = driver ? driver->m_param1 : 0.0f;
    const BOOL found = locus.PointAtParameter(out, float(u));
    if (driver) {
        float back[3];
        locus.PointAtParameter(back, saved);
    }
    return found != FALSE;
}

// The point of a piece of a compound path at the fraction f, the kinds tried in the order locus,
// line, arc, curve; false for any other kind.
bool PiecePointAt(CGCell* piece, double f, float out[3]) {
    double p[3];
    if (auto* locus = DYNAMIC_DOWNCAST(CGLocus, piece))
        return LocusPointAt(*locus, f, out);
    if (const auto* line = DYNAMIC_DOWNCAST(CGLine, piece))
        line->PointAt(f, p);
    else if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, piece))
        arc->PointAt(f, p);
    else if (auto* curve = DYNAMIC_DOWNCAST(CGCurve, piece))
        curve->PointAtRatio(p, f);
    else
        return false;
    ToFloats(p, out);
    return true;
}

// The point of a compound path of n pieces at the parameter t, brought into [0, n] on a working
// copy.  With polygon set, a piece that is a point makes the path the closed polygon through the
// pieces.
bool CompoundPathPoint(const CWordArray& parents, int n, double t, bool polygon, float out[3]) {
    if (n < 1 || n > parents.GetSize() || !std::isfinite(t))
        return false;
    if (t < 0.0 || t > n) {
        const double q = std::trunc(t / n);
        t = t > 0.0 ? t - n * q : t - n * (q - 1.0);
    }
    int k = int(std::trunc(t));
    double f = t - k;
    if (k >= n) {
        k = n - 1;
        f = 1.0;
    } else if (k < 0) {
        k = 0;
        f = 0.0;
    }
    CGCell* piece = Piece(parents, k);
    if (!piece || !piece->m_valid)
        return false;
    if (polygon) {
        if (const auto* corner = DYNAMIC_DOWNCAST(CGVertex, piece)) {
            const auto* next = DYNAMIC_DOWNCAST(CGVertex, Piece(parents, k + 1 < n ? k + 1 : 0));
            if (!next || !next->m_valid)
                return false;
            const double p[3] = {corner->m_x + f * (double(next->m_x) - corner->m_x),
                                 corner->m_y + f * (double(next->m_y) - corner->m_y),
                                 corner->m_z + f * (double(next->m_z) - corner->m_z)};
            ToFloats(p, out);
            return true;
        }
    }
    return PiecePointAt(piece, f, out);
}

// The nearest point of a piece of a compound path to the mouse ray, with its fraction along the
// piece in [0, 1]; false when the piece finds none or is of no kind a path holds.
bool NearestOnPiece(CGCell* piece, float point[3], double& f, double& distance) {
    BOOL found = FALSE;
    if (auto* locus = DYNAMIC_DOWNCAST(CGLocus, piece))
        found = locus->NearestParameter(point, f, distance, 1);
    else if (const auto* line = DYNAMIC_DOWNCAST(CGLine, piece))
        found = line->NearestPoint(point, f, distance, 1);
    else if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, piece))
        found = arc->NearestPoint(point, f, distance, 1);
    else if (auto* curve = DYNAMIC_DOWNCAST(CGCurve, piece))
        found = curve->NearestParameter(point, f, distance, 1);
    return found && Finite(point) && std::isfinite(f) && std::isfinite(distance);
}

// The best candidate of a drag: the first of the smallest distance.
struct CNearest {
    double distance = 1e300;
    int piece = -1;
    double f = 0.0;
    float point[3] = {0.0f, 0.0f, 0.0f};

    void Offer(int k, double candidateF, double candidateDistance, const float candidatePoint[3]) {
        if (candidateDistance < distance) {
            distance = candidateDistance;
            piece = k;
            f = candidateF;
            std::copy(candidatePoint, candidatePoint + 3, point);
        }
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The length parameterisation

bool CHxLengthPath::Measure(const CWordArray& parents, int count, double& total,
                            double ends[kMaxPathPieces]) {
    if (count < 1 || count > kMaxPathPieces || count > parents.GetSize())
        return false;
    total = 0.0;
    for (int i = 0; i < count; ++i) {
        const CGCell* piece = Piece(parents, i);
        if (!piece || !piece->m_valid)
            return false;
        double length = 0.0;
        if (const auto* line = DYNAMIC_DOWNCAST(CGLine, piece)) {
            length = line->GetLength();
        } else if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, piece)) {
            const double radius = std::sqrt(double(arc->m_axisU[0]) * arc->m_axisU[0] +
                                            double(arc->m_axisU[1]) * arc->m_axisU[1] +
                                            double(arc->m_axisU[2]) * arc->m_axisU[2]);
            length = kTwoPi * radius;
            if (arc->m_kind == CGArc::kArc || arc->m_kind > CGArc::kDisc)
                length *= std::fabs(double(arc->m_endAngle) - double(arc->m_startAngle)) / kTwoPi;
        } else {
            return false;
        }
        ends[i] = length;
        total += length;
    }
    return std::isfinite(total) && total >= kMinTotalLength;
}

void CHxLengthPath::MakeCumulative(int count, double total, double ends[kMaxPathPieces]) {
    double sum = 0.0;
    for (int i = 0; i < count; ++i) {
        sum += ends[i] / total;
        ends[i] = sum;
    }
}

double CHxLengthPath::Reduce(double t) {
    if (t > 1.0)
        return t - std::trunc(t);
    if (t < 0.0)
        return t - (std::trunc(t) - 1.0);
    return t;
}

bool CHxLengthPath::Place(const CWordArray& parents, int count, const double ends[kMaxPathPieces], double t,
                          float out[3]) {
    if (count < 1 || count > kMaxPathPieces || !std::isfinite(t))
        return false;
    int k = 0;
    while (k < count && ends[k] < t)
        ++k;
    if (k == count) {
        k = count - 1;
        t = 1.0;
    }
    const double low = k >= 1 ? ends[k - 1] : 0.0;
    const double span = ends[k] - low;
    // A piece of no length only ever holds its start.
    const double f = span > 0.0 ? (t - low) / span : 0.0;
    double p[3];
    const CGCell* piece = Piece(parents, k);
    if (const auto* line = DYNAMIC_DOWNCAST(CGLine, piece))
        line->PointAt(f, p);
    else if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, piece))
        arc->PointAt(f, p); // limited to [0, 1]
    else
        return false;
    ToFloats(p, out);
    return Finite(out);
}

// ---------------------------------------------------------------------------------------------
// Free on a compound path

CGVerFreeInBorder::CGVerFreeInBorder() {
    m_param1 = 0.5f;
}

CGVerFreeInBorder::CGVerFreeInBorder(WORD id, DWORD vertexIndex, const CString& name,
                                     const CList<WORD, WORD>& pieces, float t)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    for (WORD piece : pieces)
        AddParent(piece);
    m_pieceCount = int(m_parents.GetSize());
    m_param1 = t;
    Recompute();
}

void CGVerFreeInBorder::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializePieceCount(ar, m_pieceCount, int(m_parents.GetSize()));
}

void CGVerFreeInBorder::Recompute() {
    float p[3];
    if (!CompoundPathPoint(m_parents, m_pieceCount, m_param1, true, p) || !Finite(p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeInBorder::SyncVertex() {
    Recompute();
}

void CGVerFreeInBorder::ConstrainToCarrier() {
    const int n = m_pieceCount;
    if (n < 1 || n > m_parents.GetSize())
        return;
    CGCell* first = Piece(m_parents, 0);
    if (!first)
        return;
    CNearest best;
    float point[3];
    double f = 0.0, distance = 0.0;
    if (first->IsKindOf(RUNTIME_CLASS(CGVertex))) {
        // The closed polygon: edge k runs from point k to point k + 1, the last back to point 0.
        const float nearPt[3] = {float(g_pickRayNear[0]), float(g_pickRayNear[1]), float(g_pickRayNear[2])};
        const float farPt[3] = {float(g_pickRayFar[0]), float(g_pickRayFar[1]), float(g_pickRayFar[2])};
        for (int k = 0; k < n; ++k) {
            const auto* a = DYNAMIC_DOWNCAST(CGVertex, Piece(m_parents, k));
            const auto* b = DYNAMIC_DOWNCAST(CGVertex, Piece(m_parents, k + 1 < n ? k + 1 : 0));
            if (!a || !b)
                return;
            if (!a->m_valid || !b->m_valid)
                continue; // an edge that is not drawn is not dragged along
            float pa[3], pb[3];
            a->GetPosition(pa);
            b->GetPosition(pb);
            distance = ClampToBorderF(pa, pb, nearPt, farPt, point, &f);
            if (Finite(point) && std::isfinite(f) && std::isfinite(distance))
                best.Offer(k, f, distance, point);
        }
    } else {
        for (int k = 0; k < n; ++k) {
            CGCell* piece = Piece(m_parents, k);
            if (!piece)
                return;
            if (!piece->m_valid)
                continue;
            if (!NearestOnPiece(piece, point, f, distance))
                return;
            best.Offer(k, f, distance, point);
        }
    }
    if (best.piece < 0)
        return;
    m_param1 = float(best.piece + best.f);
    StorePosition(best.point);
}

CString CGVerFreeInBorder::GetDescription() {
    return HxFormat(u"%d段曲线组成的复合路径上的点", m_pieceCount);
}

// ---------------------------------------------------------------------------------------------
// Free on a combined path

CGVerFreeInPaths::CGVerFreeInPaths() {
    m_param1 = 0.6f;
}

CGVerFreeInPaths::CGVerFreeInPaths(WORD id, DWORD vertexIndex, const CString& name)
    : CGVerFree(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    if (g_pCurPage) {
        for (WORD selected : g_pCurPage->m_selAll) {
            if (HxFindCell(selected))
                AddParent(selected);
        }
    }
    m_pieceCount = int(m_parents.GetSize());
    m_param1 = 0.6f;
    Recompute();
}

void CGVerFreeInPaths::Serialize(CArchive& ar) {
    CGVertex::Serialize(ar);
    SerializePieceCount(ar, m_pieceCount, int(m_parents.GetSize()));
}

void CGVerFreeInPaths::Recompute() {
    m_pieceCount = int(m_parents.GetSize());
    m_haveFractions = false;
    if (!CHxLengthPath::Measure(m_parents, m_pieceCount, m_totalLength, m_pieceEnds)) {
        m_valid = false;
        return;
    }
    m_param1 = float(CHxLengthPath::Reduce(m_param1));
    CHxLengthPath::MakeCumulative(m_pieceCount, m_totalLength, m_pieceEnds);
    m_haveFractions = true;
    float p[3];
    if (!CHxLengthPath::Place(m_parents, m_pieceCount, m_pieceEnds, m_param1, p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    StorePosition(p);
}

void CGVerFreeInPaths::SyncVertex() {
    if (!m_valid || !m_haveFractions)
        return;
    m_param1 = float(CHxLengthPath::Reduce(m_param1));
    float p[3];
    if (CHxLengthPath::Place(m_parents, m_pieceCount, m_pieceEnds, m_param1, p))
        StorePosition(p);
}

void CGVerFreeInPaths::ConstrainToCarrier() {
    const int n = m_pieceCount;
    if (!m_haveFractions || n < 1 || n > kMaxPathPieces || n > m_parents.GetSize())
        return;
    CNearest best;
    float point[3];
    double f = 0.0, distance = 0.0;
    for (int k = 0; k < n; ++k) {
        const CGCell* piece = Piece(m_parents, k);
        if (!piece)
            return;
        if (!piece->m_valid)
            continue;
        BOOL found = FALSE;
        if (const auto* line = DYNAMIC_DOWNCAST(CGLine, piece))
            found = line->NearestPoint(point, f, distance, 1);
        else if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, piece))
            found = arc->NearestPoint(point, f, distance, 1);
        if (!found || !Finite(point) || !std::isfinite(f) || !std::isfinite(distance))
            return;
        best.Offer(k, f, distance, point);
    }
    if (best.piece < 0)
        return;
    const int k = best.piece;
    const double low = k >= 1 ? m_pieceEnds[k - 1] : 0.0;
    m_param1 = float(low + best.f * (m_pieceEnds[k] - low));
    StorePosition(best.point);
}

CString CGVerFreeInPaths::GetDescription() {
    return HxFormat(u"%d条线段或圆弧合成的组合路径上的点", m_pieceCount);
}

// ---------------------------------------------------------------------------------------------
// Drawn on paths

namespace {

// The pieces of a drawn path point: all parents in mode 0; otherwise all but the last, the driver,
// whose parameter the point takes.  -1 when the driver is missing or invalid.
int DrawnPathPieces(CGVertex& point) {
    int n = int(point.m_parents.GetSize());
    if (point.m_kind != 0) {
        --n;
        const CGCell* driver = Piece(point.m_parents, n);
        if (n < 1 || !driver || !driver->m_valid)
            return -1;
        point.m_param1 = driver->m_param1;
    }
    return n;
}

CString DrawnPathDescription(const CGVertex& point, const char16_t* sameFormat, const char16_t* fixedFormat) {
    if (point.m_kind == 0)
        return HxFormat(fixedFormat, point.m_param1);
    const CGCell* driver = Piece(point.m_parents, int(point.m_parents.GetSize()) - 1);
    return HxFormat(sameFormat, driver ? driver->m_name : CString());
}

} // namespace

CGVerInPaths::CGVerInPaths(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& ids,
                           BYTE mode, float t)
    : CGVertex(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    for (WORD piece : ids)
        AddParent(piece);
    m_kind = mode;
    m_param1 = t;
    Recompute();
}

void CGVerInPaths::Recompute() {
    const int n = DrawnPathPieces(*this);
    if (n < 1) {
        m_valid = false;
        return;
    }
    m_pieceCount = n;
    m_param1 = float(CHxLengthPath::Reduce(m_param1));
    if (!CHxLengthPath::Measure(m_parents, n, m_totalLength, m_pieceEnds)) {
        m_valid = false;
        return;
    }
    CHxLengthPath::MakeCumulative(n, m_totalLength, m_pieceEnds);
    float p[3];
    if (!CHxLengthPath::Place(m_parents, n, m_pieceEnds, m_param1, p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    SetPosition(p[0], p[1], p[2]);
}

CString CGVerInPaths::GetDescription() {
    return DrawnPathDescription(*this, u"组合路径上绘制的与%s同参的点", u"组合路径上绘制的参数为%f的点");
}

CGVerInBorder::CGVerInBorder(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& ids,
                             BYTE mode, float t)
    : CGVertex(id, vertexIndex, name, 0.0f, 0.0f, 0.0f) {
    for (WORD piece : ids)
        AddParent(piece);
    m_kind = mode;
    m_param1 = t;
    Recompute();
}

void CGVerInBorder::Recompute() {
    const int n = DrawnPathPieces(*this);
    if (n < 1) {
        m_valid = false;
        return;
    }
    m_pieceCount = n;
    float p[3];
    if (!CompoundPathPoint(m_parents, n, m_param1, false, p) || !Finite(p)) {
        m_valid = false;
        return;
    }
    m_valid = true;
    SetPosition(p[0], p[1], p[2]);
}

CString CGVerInBorder::GetDescription() {
    return DrawnPathDescription(*this, u"复合路径上绘制的与%s同参的点", u"复合路径上绘制的参数为%f的点");
}
