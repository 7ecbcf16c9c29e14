// The crossing points of lines and circles with curves and loci, and of curves and loci with each
// other: point n (0 to 31, kept in m_kind) of all the crossings of a pair, and the searches that find
// and count them.  L stands for a line, C a circle, Q a curve, G a locus.
#pragma once

#include "points/constructed_point.h"

// The most crossings a pair has: a search stops storing there.
constexpr int kMaxCrossings = 32;

// The searches, one per pair of kinds, the parents in the order of the class names (line, circle,
// curve, locus).  Each returns the number of crossings of the pair (at most kMaxCrossings) when it is
// above n, with crossing n copied to out; otherwise 0, out untouched.  A parent that is missing, of
// another class or invalid gives 0.  The line searches number the crossings from the line's first
// point towards its second; the others along their first object, and keep what they found for the
// following points of the same pair and recomputation pass.  A locus's driver stands where it stood
// when a search ends.
int IntersectLineLocus(WORD line, WORD locus, int n, float out[3]);
int IntersectLineCurve(WORD line, WORD curve, int n, float out[3]);
int IntersectCircleCurve(WORD circle, WORD curve, int n, float out[3]);
int IntersectCircleLocus(WORD circle, WORD locus, int n, float out[3]);
int IntersectCurveCurve(WORD curve1, WORD curve2, int n, float out[3]);
int IntersectLocusLocus(WORD locus1, WORD locus2, int n, float out[3]);
int IntersectCurveLocus(WORD curve, WORD locus, int n, float out[3]);

// Forgets what the searches kept (tests; a new document does it through a new pass).
void HxResetCrossingTables();

// The frame of the seven classes: the search of the class with its two parents and the crossing
// index; none while the pair has no crossing of that index.
class CGVerCrossing : public CGVerConstructed {
public:
    using Search = int (*)(WORD, WORD, int, float[3]);

protected:
    CGVerCrossing() = default;
    CGVerCrossing(WORD id, DWORD vertexIndex, const CString& name, BYTE index, WORD first, WORD second)
        : CGVerConstructed(id, vertexIndex, name, {first, second}) {
        m_kind = index;
    }
    int ParentCount() const override { return 2; }
    bool ComputePosition(float out[3]) override;
    virtual Search SearchOfClass() const = 0;
    // The description with the parents' names in format.
    CString Describe(const char16_t* format) const;
};

#define HX_DECLARE_CROSSING(Class, Role1, Role2)                                                             \
    class Class : public CGVerCrossing {                                                                     \
        DECLARE_SERIAL(Class)                                                                                \
    public:                                                                                                  \
        Class() = default;                                                                                   \
        Class(WORD id, DWORD vertexIndex, const CString& name, BYTE index, WORD first, WORD second);         \
        CString GetDescription() override;                                                                   \
                                                                                                             \
    protected:                                                                                               \
        HxParentRole RoleOf(int i) const override {                                                          \
            return i == 0 ? HxParentRole::Role1 : HxParentRole::Role2;                                       \
        }                                                                                                    \
        Search SearchOfClass() const override;                                                               \
    };

HX_DECLARE_CROSSING(CGVerIntersectionLG, Line, Locus)   // "直线AB与轨迹的交点"
HX_DECLARE_CROSSING(CGVerIntersectionLQ, Line, Curve)   // "直线AB与曲线q的交点"
HX_DECLARE_CROSSING(CGVerIntersectionCQ, Circle, Curve) // "圆c1与曲线q的交点"
HX_DECLARE_CROSSING(CGVerIntersectionCG, Circle, Locus) // "圆c1与轨迹l的交点"
HX_DECLARE_CROSSING(CGVerIntersectionQQ, Curve, Curve)  // "曲线q与曲线r的交点"
HX_DECLARE_CROSSING(CGVerIntersectionGG, Locus, Locus)  // "轨迹l与轨迹m的交点"
HX_DECLARE_CROSSING(CGVerIntersectionQG, Curve, Locus)  // "曲线q与轨迹l的交点"

#undef HX_DECLARE_CROSSING
