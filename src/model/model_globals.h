// Process-wide state of the cell model: the current page and its id map, the record-layout switch
// of ".gf" files, and the default sizes and colours new cells take.
#pragma once

#include "platform/afx.h"

#include <vector>

class CGCell;
class CGPage;

// The id-to-cell map of a page.
using CCellMap = CTypedPtrMap<CMapWordToOb, WORD, CGCell*>;

// Calls f(cell) for every cell of a map, in the map's order.
template <class F> void ForEachCell(const CCellMap& cells, F&& f) {
    for (POSITION pos = cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        cells.GetNextAssoc(pos, id, cell);
        f(cell);
    }
}

// A colour as four bytes red, green, blue, alpha.
struct CRgba {
    BYTE r = 0;
    BYTE g = 0;
    BYTE b = 0;
    BYTE a = 255;

    constexpr bool operator==(const CRgba&) const = default;
    // Byte i: 0 red, 1 green, 2 blue, 3 alpha.
    constexpr BYTE operator[](int i) const { return i == 0 ? r : i == 1 ? g : i == 2 ? b : a; }
    BYTE& operator[](int i) { return i == 0 ? r : i == 1 ? g : i == 2 ? b : a; }
    constexpr COLORREF ToColorRef() const { return RGB(r, g, b); }
};

// The current page and its map; every id a cell refers to is resolved through g_cellMap.
extern CGPage* g_pCurPage;
extern CCellMap* g_cellMap;

// Set only while a ".gf" copy is written or a file that is not a ".hvx" file is read: the cell and
// page records then leave out their newer fields.
extern BOOL g_saveGfFormat;

// Default sizes: point size in pixels and line width.
extern float g_pointSize; // 6.0
extern float g_lineWidth; // 2.0

// Default colours.
extern CRgba g_colorObject;    // 0, 0, 128, 255
extern CRgba g_colorLabel;     // 0, 0, 0, 255
extern CRgba g_colorPoint;     // 128, 0, 0, 255
extern CRgba g_colorFreePoint; // 255, 0, 0, 255
extern CRgba g_colorArcSolid;  // 0, 128, 0, 255
extern CRgba g_colorSelection; // 255, 0, 255, 255
extern CRgba g_colorText;      // 0, 0, 152, 255
extern CRgba g_colorValue;     // 0, 0, 0, 255: measurements and calculations
extern CRgba g_colorTable;     // 64, 64, 64, 255: the lines of tables
extern CRgba g_currentColor;   // 255, 0, 0, 255
// Cleared during the pick and monochrome passes, when cells must not set their own colours.
extern BOOL g_useObjectColors;

// How many stored cells use each document texture (entries 1 to 3; entry 0 is not used): the
// document zeroes them before it stores its pages and the records of textured cells count up.
extern int g_textureUseCount[4];
// Counts one use of a texture number when it is a document texture (1 to 3); others are not counted.
inline void HxCountTextureUse(int number) {
    if (number >= 1 && number <= 3)
        ++g_textureUseCount[number];
}

// Some moving cell leaves a trace (the page's traced list is not empty), so the view keeps its
// trace layer.
extern BOOL g_tracing;

// Counts the recomputation passes: each pass over a page's cells, each page switch or load, and each
// setting of a locus's driver starts a new one.  What is worked out once per pass and kept (the
// crossings of curves and loci) is trusted only within the pass that found it.
extern unsigned g_recomputePass;
inline void HxBeginRecomputePass() {
    ++g_recomputePass;
}

// Used during one animation tick: the buttons whose action completed, and the buttons that other
// buttons asked to start (the page starts them before the tick ends).
extern std::vector<WORD> g_finishedButtons;
extern std::vector<WORD> g_buttonsToStart;
// The wait counter all command buttons share: ticks since the last command went out (0 at start).
extern int g_commandWaitTicks;

// Window messages from the model and the document to the main frame.
constexpr UINT UM_GOTO_PAGE = 0x7FF;           // lParam: a page number (to the view)
constexpr UINT UM_MATERIAL_CHANGED = 0x805;    // the current material or light changed (to the view)
constexpr UINT UM_CELLS_CHANGED = 0x80E;       // cells added (count) or removed (negative count)
constexpr UINT UM_PAGES_CHANGED = 0x80F;       // a page inserted (1) or removed (2)
constexpr UINT UM_SELECTION_CHANGED = 0x810;   // wParam: what changed; lParam: 40000 + page number
constexpr UINT UM_CELL_TEXTS_CHANGED = 0x811;  // names or labels changed; lParam: the page number
constexpr UINT UM_REBUILD_OBJECT_TREE = 0x812; // lParam: the page number
// The object tree's item id of a page.
constexpr int kPageTreeItemBase = 40000;

// Every global above back to its start value.  The current page is only forgotten, not deleted.
void HxResetModelGlobals();

// Sets g_saveGfFormat for the lifetime of the scope and clears it on every way out, including
// an exception, so that a failed ".gf" save or load never leaves later saves in the old layout.
class CGfFormatScope {
public:
    CGfFormatScope() { g_saveGfFormat = TRUE; }
    ~CGfFormatScope() { g_saveGfFormat = FALSE; }
    CGfFormatScope(const CGfFormatScope&) = delete;
    CGfFormatScope& operator=(const CGfFormatScope&) = delete;
};
