// The plain records of a convex polyhedron (points, edges, faces with their planes and colours),
// their archive forms, the small vector routines the polyhedron figures share, and the builder that
// wraps up to 480 points into a convex hull.
#pragma once

#include "platform/afx.h"

#include <cstdint>
#include <vector>

class CGPolyhedron;

// A point in drawing units.
struct PolyPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline PolyPoint MakePoint(double x, double y, double z) {
    return PolyPoint{x, y, z};
}
inline PolyPoint operator-(const PolyPoint& p, const PolyPoint& q) {
    return PolyPoint{p.x - q.x, p.y - q.y, p.z - q.z};
}
inline PolyPoint operator+(const PolyPoint& p, const PolyPoint& q) {
    return PolyPoint{p.x + q.x, p.y + q.y, p.z + q.z};
}
inline PolyPoint operator*(const PolyPoint& p, double s) {
    return PolyPoint{p.x * s, p.y * s, p.z * s};
}
inline double Dot(const PolyPoint& p, const PolyPoint& q) {
    return p.x * q.x + p.y * q.y + p.z * q.z;
}
inline PolyPoint Cross(const PolyPoint& p, const PolyPoint& q) {
    return PolyPoint{p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
}
double Length(const PolyPoint& p);
// The order in which section points are sorted: by y, then by x.
inline bool PointBefore(const PolyPoint& p, const PolyPoint& q) {
    return p.y < q.y || (p.y == q.y && p.x < q.x);
}

// An edge of a polyhedron, stored once in one direction.
struct PolyEdge {
    int32_t first = 0;
    int32_t second = 0;
};

// A face: the loop of its corners, counter-clockwise seen from outside for the faces the hull builder
// makes, and its plane a·x + b·y + c·z + d = 0 with the outward normal (a, b, c).
struct PolyFace {
    std::vector<int32_t> loop;
    double a = 0.0;
    double b = 0.0;
    double c = 1.0;
    double d = 0.0;
    int32_t side = 0; // where the point inserted last lay: -1 below, 0 in the plane, +1 above
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double centre[3] = {0.0, 0.0, 0.0}; // filled when a net is built from the hull
    double height = 0.0;                // above the net's base face

    PolyFace() = default;
    // A face with no corners on a plane.
    PolyFace(double a, double b, double c, double d);
    // The triangle i, j, k of the points: the normal (P[j] - P[i]) × (P[k] - P[i]), made unit when
    // it is longer than 0.0001.
    PolyFace(int32_t i, int32_t j, int32_t k, const std::vector<PolyPoint>& points);

    PolyPoint Normal() const { return PolyPoint{a, b, c}; }
    // a·x + b·y + c·z + d.
    double Evaluate(const PolyPoint& p) const { return a * p.x + b * p.y + c * p.z + d; }
};

// The archive forms: a face as its corner count and corners, plane, side, centre, height and colour
// (96 + 4n bytes); an edge as its two ends.  Reading appends to a default face; a count below 1 reads
// no corners, a count larger than the bytes left can hold throws.
void SerializeFace(PolyFace& face, CArchive& ar);
void SerializeEdge(PolyEdge& edge, CArchive& ar);

// The most points the hull builder takes.
constexpr int kMaxHullPoints = 480;

// Wraps n points (x, y, z each) into their convex hull and fills the target's points, edges and faces;
// true when the hull has more than three vertices.  More than kMaxHullPoints points leave the target
// untouched; one or two points, points on one line and three points give the degenerate figure and
// false.  Points that lie coplanar with a face are merged into its loop, so a cube has six squares.
// Each face gets a colour from the program's random numbers (each part 0.5 to 1).
bool BuildConvexHull(const double* points, int n, CGPolyhedron& target);
