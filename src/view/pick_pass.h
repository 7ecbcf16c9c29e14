// The view's OpenGL selection pass (the page's pick names under a small pick window, read back as
// hit records), the label pick diamond, and the rules by which each mouse tool chooses one hit.
#pragma once

#include "platform/afx.h"

#include <vector>

class CGPage;

// One hit record of the pick pass: the priority class the cell loaded and its id.
struct CPickHit {
    unsigned int pickClass = 0;
    WORD id = 0;
    bool operator==(const CPickHit&) const = default;
};

// Pick modes of the page's pick pass: labels and value texts only (the arrow tool with Ctrl), the
// screen items of a custom tool, the geometry the drawing tools build on, and everything.
constexpr int HX_PICK_LABELS = 0;
constexpr int HX_PICK_SCREEN_ITEMS = 1;
constexpr int HX_PICK_GEOMETRY = 2;
constexpr int HX_PICK_ALL = 3;

// A class above every real one: "nothing of a known class".
constexpr int kPickClassNone = 16;

// Words of the selection buffer of a click and of a box.  A crowded spot can hold more records
// than fit (five words each); the pass then runs again with a buffer twice as large, up to
// kMaxPickBufferWords, and beyond that keeps the records that fitted.
constexpr size_t kClickPickBufferWords = 1024;
constexpr size_t kBoxPickBufferWords = 2048;
constexpr size_t kMaxPickBufferWords = 65536;

// The two half-axes of the label pick diamonds for a viewing direction: square to it and to each
// other, 10 unit lengths long (computed in single precision).
void HxLabelPickAxes(const float dir[3], float unitLength, float a[3], float b[3]);
// The viewing direction of the current camera (ComputeViewDirection, which also overwrites the
// pick ray) made into g_labelPickAxisA and g_labelPickAxisB.
void HxUpdateLabelPickAxes();

// Runs the page's pick pass in `mode` with the current camera, projection and viewport, for a pick
// window of w x h pixels centred on the window point (cx, cy) (y from the bottom).  The view's
// context must be current.  Fills hits in record order and returns their number: 0 when nothing
// was hit.  Cells draw with their own colours switched off.
int HxRunPickPass(CGPage& page, double cx, double cy, double w, double h, int mode, size_t bufferWords,
                  std::vector<CPickHit>& hits);

// Decodes a selection buffer: `count` records (or, when count is negative because the buffer
// overflowed, every complete record within `words`).  Records with fewer than two names are
// skipped.
void HxDecodeHitRecords(const unsigned int* buffer, size_t words, int count, std::vector<CPickHit>& hits);

// The arrow tool's choice among the hits of a pick.  The page's walk class becomes the lowest class
// (16 when every class is higher) and its walk list the ids of that class in record order.  Hits of
// that class already selected are deselected (UM_SELECTION_CHANGED with wParam 1 to the main frame,
// their id written to *pId); a deselected free point becomes the dragged cell (drag mode 1).  The
// first unselected selectable hit wins, or the last label, button caption, picture handle or
// slider knob.  *pClass is 0 when no hit won.
void HxChooseArrowPick(CGPage& page, const std::vector<CPickHit>& hits, int* pClass, WORD* pId);
// The drawing tools: the last hit of the lowest class (*pClass 16 and *pId untouched for none).
void HxChooseDrawingPick(const std::vector<CPickHit>& hits, int* pClass, WORD* pId);
// The custom tool: the same among the hits with ids below the construction marker (a signed
// comparison, so nothing qualifies while the marker is 0 or -1).
void HxChooseToolPick(const std::vector<CPickHit>& hits, int marker, int* pClass, WORD* pId);
