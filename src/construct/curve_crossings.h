// Where the intersection command meets the crossings of lines and circles with curves and loci: for
// each pair of kinds, how many crossings there are now and how the point of one crossing is made.
// The curve and locus code installs them with its crossing point classes; until a pair is installed
// the command is not enabled for it.
#pragma once

#include "construct/construction.h"

class CGVertex;

// The pairs, their first object always before the second in the order line, circle, curve, locus.
enum class CCrossingPair {
    LineCurve,
    LineLocus,
    CircleCurve,
    CircleLocus,
    CurveCurve,
    LocusLocus,
    CurveLocus
};
constexpr int kCrossingPairCount = 7;

// How many crossings the two objects have now; the one of that index into out when there is one.
using HxCrossingCounter = int (*)(WORD first, WORD second, int index, float out[3]);
// Makes the point of crossing `index` with make's next id, vertex index and automatic name.
using HxCrossingPointMaker = CGVertex* (*)(CCellMaker& make, int index, WORD first, WORD second);

// Installs (or, with nulls, removes) the crossings of a pair.
void HxSetCrossingKind(CCrossingPair pair, HxCrossingCounter count, HxCrossingPointMaker make);
// Whether the pair's crossings are installed.
bool HxCrossingKindReady(CCrossingPair pair);
