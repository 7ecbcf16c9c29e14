// The relation report of the properties command: the distance or angle of two selected elements
// (points, lines through their first two points, planes through a face's first three points), as the
// text and caption of its message box.
#pragma once

#include "platform/afx.h"

enum class HxRelation { PointLine, PointPlane, TwoPoints, LinePlane, TwoLines, TwoPlanes };

// The report on the cells `first` and `second` of the current page (the point before the line before
// the face; of two alike, the first selected).  FALSE, with nothing written, when either cell or a
// point it stands on is missing or not valid.
BOOL HxRelationReport(HxRelation relation, WORD first, WORD second, CString& text, CString& title);
