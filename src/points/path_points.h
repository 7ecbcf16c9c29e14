// Points on paths made of several pieces.  A compound path is parameterised piece by piece (piece k
// covers [k, k + 1]) and may hold lines, arcs, curves and loci, or be the closed polygon through
// points; a combined path of segments and arcs is parameterised by length over [0, 1].  Free points
// are dragged along them; the drawn points sit at a fixed parameter or at another cell's.
#pragma once

#include "model/free_points.h"

// The most pieces a path of segments and arcs can have.
constexpr int kMaxPathPieces = 32;

// The length parameterisation of a combined path, shared by its free and its drawn point.
struct CHxLengthPath {
    // The pieces are parents[0 .. count - 1], each a valid line or arc.  Fills ends with the pieces'
    // lengths and returns their sum; false (and the point has none) for a count outside
    // 1..kMaxPathPieces or beyond the parents, a missing, invalid or other piece, or a total below
    // 1e-12.
    static bool Measure(const CWordArray& parents, int count, double& total, double ends[kMaxPathPieces]);
    // The lengths into the fraction of the total at the end of each piece (the last one 1).
    static void MakeCumulative(int count, double total, double ends[kMaxPathPieces]);
    // t into [0, 1]: t - trunc(t) above 1, t - (trunc(t) - 1) below 0; 1 stays 1.
    static double Reduce(double t);
    // The point at the reduced parameter t from the cumulative fractions; false when a piece is
    // missing or is no line or arc.
    static bool Place(const CWordArray& parents, int count, const double ends[kMaxPathPieces], double t,
                      float out[3]);
};

// A free point on a compound path: its parents are the pieces in order, m_pieceCount of them, and
// its parameter m_param1 runs over [0, m_pieceCount] (0.5 at first).  When piece 0 is a point, the
// path is the closed polygon through the pieces.
class CGVerFreeInBorder : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInBorder)
public:
    CGVerFreeInBorder(); // three pieces, parameter 0.5
    CGVerFreeInBorder(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& pieces,
                      float t);

    // The point record, then the piece count (32-bit integer).  Loading refuses a count below 0 or
    // above the number of parents.
    void Serialize(CArchive& ar) override;
    // The point of piece k at the fraction f, k + f being the parameter brought into [0, n] (the
    // stored parameter stays); invalid while that piece (or the polygon's next point) is.
    void Recompute() override;
    void SyncVertex() override; // Recompute
    // To the point of the path nearest to the mouse ray (the first piece on ties); a piece that
    // finds no nearest point refuses the whole step.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "3段曲线组成的复合路径上的点"

    int m_pieceCount = 3;
};

// A free point on a combined path of segments and arcs (at most kMaxPathPieces), parameterised by
// length: m_param1 in [0, 1] (0.6 at first).  The fractions of the last recomputation are kept for
// SyncVertex and the drag.
class CGVerFreeInPaths : public CGVerFree {
    DECLARE_SERIAL(CGVerFreeInPaths)
public:
    CGVerFreeInPaths(); // parameter 0.6
    // The pieces are the current page's selected cells, in selection order.
    CGVerFreeInPaths(WORD id, DWORD vertexIndex, const CString& name);

    // As CGVerFreeInBorder's record; the lengths and fractions are rebuilt by recomputation.
    void Serialize(CArchive& ar) override;
    // Measures the pieces, brings the parameter into [0, 1] and places the point.
    void Recompute() override;
    // Places the point again from the parameter and the kept fractions (nothing while invalid).
    void SyncVertex() override;
    // To the point of a piece nearest to the mouse ray, its parameter converted with the kept
    // fractions; a piece that finds none refuses the whole step.
    void ConstrainToCarrier() override;
    CString GetDescription() override; // "2条线段或圆弧合成的组合路径上的点"

    int m_pieceCount = 0;
    double m_totalLength = 0.0;
    double m_pieceEnds[kMaxPathPieces] = {};

private:
    bool m_haveFractions = false; // m_pieceEnds holds the fractions of a recomputation
};

// A point drawn on a combined path of segments and arcs: at its own parameter (mode m_kind 0), or
// at the parameter of a driver, the last parent (mode not 0).  The point record only.
class CGVerInPaths : public CGVertex {
    DECLARE_SERIAL(CGVerInPaths)
public:
    CGVerInPaths() = default;
    CGVerInPaths(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& ids, BYTE mode,
                 float t);

    void Recompute() override;
    // "组合路径上绘制的与A同参的点", or "组合路径上绘制的参数为0.250000的点" in mode 0.
    CString GetDescription() override;

    int m_pieceCount = 0;
    double m_totalLength = 0.0;
    double m_pieceEnds[kMaxPathPieces] = {};
};

// A point drawn on a compound path (lines, arcs, curves and loci), at its own parameter or at a
// driver's, as CGVerInPaths.  The point record only.
class CGVerInBorder : public CGVertex {
    DECLARE_SERIAL(CGVerInBorder)
public:
    CGVerInBorder() = default;
    CGVerInBorder(WORD id, DWORD vertexIndex, const CString& name, const CList<WORD, WORD>& ids, BYTE mode,
                  float t);

    void Recompute() override;
    // "复合路径上绘制的与A同参的点", or "复合路径上绘制的参数为1.500000的点" in mode 0.
    CString GetDescription() override;

    int m_pieceCount = 0;
};
