// CGPage: one page of a document: its cells by id, the id and vertex counters, its own view,
// label and placement counters, selection lists, running buttons, traces, tool state and undo
// history, and the page record.
#pragma once

#include "document/cmd_processor.h"
#include "model/cell.h"

#include <vector>

class CRecord;

// The marks of the transform commands: ids only, 0 (kind 0) for none; not stored with the page.
struct CTransformMarks {
    WORD m_centerId = 0; // a point
    WORD m_axisId = 0;   // a line
    WORD m_mirrorId = 0; // a face
    int m_ratioKind = 0; // 1 a value, 2 two lines, 3 three points
    WORD m_ratioPoints[3] = {0, 0, 0};
    WORD m_ratioLines[2] = {0, 0};
    WORD m_ratioValue = 0;
    int m_vectorKind = 0; // 1 two points, 2 a vector item
    WORD m_vectorPoints[2] = {0, 0};
    WORD m_vectorItem = 0;
    int m_angleKind = 0; // 1 three points, 2 a value
    WORD m_anglePoints[3] = {0, 0, 0};
    WORD m_angleValue = 0;
};

// The most pixels a unit of length may take on a page (the page dialog's largest).
constexpr int kMaxUnitsPerLength = 200;

class CGPage : public CObject {
    DECLARE_SERIAL(CGPage)
public:
    // The largest id a page hands out: ids are 16-bit and never wrap, so a page holds at most
    // this many cells and m_nextId never passes 65535.
    static constexpr WORD kMaxCellId = 0xFFFE;

    // A new page starts with the view the user is looking at (the view globals).
    CGPage();
    ~CGPage() override;
    CGPage(const CGPage&) = delete;
    CGPage& operator=(const CGPage&) = delete;

    // The page record.  Loading replaces the page's cells and record fields and empties everything
    // the record does not hold; a record that is cut short or inconsistent (a cell of another class,
    // a key that is not the cell's id, a parent id that is missing or not below the cell's own)
    // throws CArchiveException and leaves the page as it was.
    void Serialize(CArchive& ar) override;
    void AssertValid() const override {}
    void Dump() const override {}

    // TRUE when count new cells can still get ids (m_nextId .. m_nextId + count - 1 <= kMaxCellId).
    BOOL CanTakeIds(int count) const;
    // TRUE when count new points can still get vertex indices without the 16-bit counter passing
    // 65535 (m_nextVertex .. m_nextVertex + count - 1 <= kMaxCellId).
    BOOL CanTakeVertexIndices(int count) const;

    // The cell with that id in this page, or null.
    CGCell* FindCell(WORD id) const { return m_cells.Find(id); }

    // ---- Dependency order and recomputation ----
    // Every cell's id is above its parents' ids, so ascending ids are a recomputation order: mark
    // what must change (MarkDescendants of the moved cells, MarkButtonDrivenCells or the selection
    // marks), collect the marked ids, then update the cells in that order.

    // Empties ids, appends the id of every marked cell of the map (clearing the mark) and sorts
    // them ascending.
    void CollectMarkedIds(std::vector<WORD>& ids);
    // The ids of the cell's descendants, ascending, gathered while they are marked (no walk of the
    // whole map) and their marks cleared again: what MarkDescendants and CollectMarkedIds give when
    // no other cell is marked, at the cost of the descendants alone.
    void CollectDescendantIds(CGCell& cell, std::vector<WORD>& ids);
    // Recompute (UpdateName) of each cell in the order given.  Ids that are no longer in the page
    // (a cell removed while its id waited in a list) are skipped.
    void UpdateCellsById(const std::vector<WORD>& ids);
    void UpdateTextsById(const std::vector<WORD>& ids);
    // Marks every selected cell and all its descendants (ancestors).
    void MarkSelectionWithDescendants();
    void MarkSelectionWithAncestors();
    // The ids of the selected cells and all their descendants, ascending, appended to ids (also
    // left in m_scratchIds); the drag target is forgotten.
    void CollectDeletionIds(CList<WORD, WORD>& ids);

    // ---- Selection ----
    // Unselects every listed cell, empties the ten selection lists and the walk list, unselects
    // the page and tells the main frame (UM_SELECTION_CHANGED, 2).
    void ClearSelection();
    // The number of values (CGTmVariable) among the selected values.
    int CountSelectedVariables() const;

    // ---- Transformed copies (the transform commands) ----
    // Selects the defining points of the selected lines, faces and circles built on points (into
    // the flags and m_selPoints only, after the points selected already, each point once).
    // Returns how many points it added.
    int CollectTransformTargets();
    // Once the image of every point of m_selPoints has been made, in list order, as the newest
    // cells: copies each selected line, face and circle built on points onto the images of its
    // points (same kind, style, size, flags and colour) with the next ids.  Returns how many
    // copies it made.
    int BuildTransformedImages();
    // How many copies BuildTransformedImages would make of the present selection.
    int CountTransformedCopies() const;

    // ---- Figure builders (the construct commands) ----
    // Each makes a whole figure on this page, which must be the current page, with consecutive new
    // ids (points first, then edges, then faces, unless said otherwise), records no undo step and
    // returns how many cells it made: 0, having made nothing, when the ids or the vertex array give
    // out or its input is no figure.  Faces take the next colours of the automatic sequence.
    // The prism over a base face whose top vertex T stands over the first base vertex: T is renamed
    // after that vertex with "1"; the other top vertices follow T by translation.  4n cells.
    int BuildPrism(WORD topId, WORD faceId);
    // The pyramid over a base face with apex V: the lateral edges and faces only.  2n cells.
    int BuildPyramid(WORD apexId, WORD faceId);
    // The frustum cut from the pyramid over a base face with apex V: a hidden line from V to the first
    // base vertex carrying a draggable first top vertex, the other top vertices scaled about V by the
    // same ratio, the top, lateral edges and faces.  4n + 2 cells.
    int BuildFrustum(WORD apexId, WORD faceId);
    // Fixed round figures about the centre M along the axis (ax, ay, az): a circle (2 cells), a
    // cylinder, a cone and a frustum of height H standing about M with their base circles (5, 4, 5)
    // and a sphere with three great circles (5).  Their points are fixed and take automatic names.
    int BuildStaticCircle(float cx, float cy, float cz, float radius, float ax, float ay, float az);
    int BuildStaticCylinder(float cx, float cy, float cz, float radius, float height, float ax, float ay,
                            float az);
    int BuildStaticCone(float cx, float cy, float cz, float radius, float height, float ax, float ay,
                        float az);
    int BuildStaticFrustum(float cx, float cy, float cz, float radius, float height, float ratio, float ax,
                           float ay, float az);
    int BuildStaticSphere(float cx, float cy, float cz, float radius, float ax, float ay, float az);
    // Fixed figures with straight edges about the centre M (construct/static_builders.cpp): points
    // first, then edges, then faces, each face counter-clockwise seen from outside (a polygon from
    // +z).  The regular n-gons start with the side parallel to x below M.  The cuboid of length L
    // (x), width W (y) and height H (z) has 26 cells, its top corners named after the bottom ones
    // with "1"; the prism (a frustum for a ratio q other than 1: the top scaled by q) 6n + 2, named
    // the same way; the pyramid 4n + 2, its apex named last; the polygon 2n + 1; the regular solids
    // of circumradius r 14, 26, 62 and 62 (the last two drawn as filled solids without point marks).
    int BuildStaticCuboid(float cx, float cy, float cz, float length, float width, float height);
    int BuildStaticPrism(float cx, float cy, float cz, int n, float radius, float height, float ratio);
    int BuildStaticPyramid(float cx, float cy, float cz, int n, float radius, float height);
    int BuildStaticRegularPolygon(float cx, float cy, float cz, int n, float radius);
    int BuildStaticTetrahedron(float cx, float cy, float cz, float radius);
    int BuildStaticOctahedron(float cx, float cy, float cz, float radius);
    int BuildStaticDodecahedron(float cx, float cy, float cz, float radius);
    int BuildStaticIcosahedron(float cx, float cy, float cz, float radius);
    // The points dividing the segment from A to B into n equal parts, each following A and B: all
    // n - 1 of them, or only the first.  Returns how many it made.
    int BuildDivisionPoints(WORD a, WORD b, int n, BOOL onlyFirst);

    // ---- The table grid (construct/table_builder.cpp) ----
    // A table of `rows` x `columns` cells (1 to 20 each) on this page, which must be current: hidden
    // control points (an anchor, a point per column and row, a point inside every cell), the grid
    // points, the segments, the cell faces and a show/hide button "显示控位点" for the control
    // points.  Its top left corner and the sizes of its columns and rows (indices 1 .. columns and
    // 1 .. rows) come from the arguments when fromData is set (a missing array gives default sizes);
    // otherwise it fills the drawing area with a margin of one cell, centred.  The selection is
    // cleared first.  Returns the number of cells made, TableCellCount(rows, columns), or 0 (nothing
    // made) for counts outside 1 .. 20 or when the ids or the vertex array give out.  Records no undo
    // step.
    int BuildTable(int rows, int columns, BOOL fromData, float x0, float y0, const float* columnWidths,
                   const float* rowHeights);
    // 5 rows columns + 2 (rows + columns) + 2 for counts within 1 .. 20, else 0.
    static int TableCellCount(int rows, int columns);

    // ---- Colours and labels ----
    static constexpr COLORREF kAutoColor = 0xFFFFFFFF;
    // The page background and every cell's colours back to the defaults of its class.
    void ApplyDefaultColors();
    // Colours the selected cells with a colour's R, G, B, or with kAutoColor each with the
    // default of its kind (faces from the automatic colour sequence, one colour each).  TRUE when
    // anything was coloured.
    BOOL ColorSelection(COLORREF color);
    // R, G, B of the label colour of every selected cell.
    void SetLabelStyleOfSelection(COLORREF color);
    // The label font of the selected points, lines, faces and curves: bitmap glyphs (m_extB1 1)
    // when flag is 0, textured glyphs otherwise.
    void SetFlagOnSelection(int flag);
    // Asks every text item drawn from a rendered picture to render it again.
    void InvalidateTextImages();
    // The next automatic name: kind 1 a point ("A".."Z", then again with the suffixes "1".."9",
    // "'" and "0", then plain again), any other kind a circle ("c1", "c2", ...).
    static constexpr int kAutoLabelPoint = 1;
    static constexpr int kAutoLabelCircle = 4;
    CString MakeAutoLabel(int kind);
    const CString& MakeAutoLabel(CString& name, int kind);

    // ---- Places of screen items (screen units times 20 x g_unitLength) ----
    // Below the last text item placed or moved, else in the next free slot: columns of 16 rows
    // from the upper right, 64 slots.  rows: how many rows of 1.5 units the item takes.
    void PlaceNewTextItem(float& x, float& y, BYTE rows);
    // Below the last button placed or moved, else in the next free slot: columns 5 units apart
    // from the upper left, 128 slots.
    void PlaceNewButton(float& x, float& y);
    // Moves texts, pictures and buttons lying outside the window (half-width, half-height in
    // screen units) back inside; returns how many moved.
    int BringFlatObjectsIntoView(float halfWidth, float halfHeight);

    // ---- Action buttons and traces ----
    // Marks the descendants of the point driven by every running animation and move button.
    void MarkButtonDrivenCells();
    // After the running set changed: the descendants of the driven cells of the running buttons
    // marked and collected into m_recomputeIds, and the trace list rebuilt for the animation.
    void RefreshButtonAnimations();
    // Rebuilds m_tracedCells from the cells being recomputed: mode 1 during animation (with the
    // driven points), else while dragging (with the dragged cell); sets g_tracing.
    void RebuildTraceList(int mode);
    // Stops every button at once (page switch, paste, page activation).
    void ResetButtonStates();
    // One animation tick: steps the running buttons, recomputes what they drive, removes those
    // that completed and starts those asked for.  FALSE when no button runs any more.
    BOOL StepButtons();
    // After undo or redo changed cells: the running list again from the buttons' running flags.
    // FALSE when none runs.
    BOOL RestartButtonsAfterEdit();
    // Starts (start TRUE) or stops one button, with the members of a series button.  FALSE when
    // the button already was in that state, is no button, or a series button's start check fails.
    BOOL StartButton(BOOL start, WORD id);

    // ---- Vertex array and drawing ----
    // Numbers the page's points 1, 2, ... in map order into the shared vertex array (made larger
    // first when it cannot hold them all with 5 to spare), copies their coordinates there, sets
    // m_nextVertex one past the last and lets every cell re-read its points' indices.
    void RebuildVertexArray();
    // Draws every cell of the page through the render passes with the current modelview (hidden
    // edges dashed behind surfaces, lit and translucent solids, the coordinate system, what stays
    // on top).  The view calls it once per viewport after applying the camera.
    void Draw();
    // The spatial axes, and the plane axes with ticks and numbers (called by Draw).
    void DrawAxes();
    void DrawPlaneAxes();
    // The traced cells (all passes of every cell in snapshot mode) into the view's kept image.
    void DrawTraces();
    // Pick names of every cell in pick mode `mode` (with the points first in mode 0), inside the
    // view's selection pass.
    void DrawPickNames(int mode);

    // ---- Picking and cancelling ----
    // Pick names of the points only (mode 0).
    void DrawPickNamesVertices();
    // Cancels the construction in progress: removes the cells from m_constructMarker up, hands
    // their ids (and the automatic names of their points) out again and ends a tool application's
    // step.  Returns 0 when nothing was in progress, -1 after an ordinary construction, else the
    // number of ids the tool application now holds.
    int RemoveCellsAfterMarker();
    // Every list of the page that holds ids (selection, walk, running buttons, traces, the id
    // vectors) with the id of a cell that left the page dropped.
    void ForgetId(WORD id);

    // ---- User-defined tools (document/tool_apply.cpp) ----
    // A tool made from the selected cells and all their ancestors: the cells copied with tool-local
    // ids 0, 1, ..., the free points in space and parameters without parents as its inputs.  Roots
    // that feed no selected cell are dropped (after asking whether to go on); a root of another kind
    // fails with a message.  Null when nothing was made.
    CRecord* CreateTool();
    // Starts one application of the current tool at the mouse's point: its working copy, the first
    // input's placeholder at the point and the cells that depend on that input alone.  False when no
    // tool is current, one is being applied, or the page has no room for it (the mouse tool then
    // returns to the arrow).
    bool StartToolApplication(float x, float y, float z);
    // Matches the current input: an existing cell of the page by its id (newCell null), or a new point
    // the view made under the placeholder's id (id 0; the page owns it from here on).  Returns 0 while
    // inputs remain, the number of ids the finished application took, or -1 when the id counter no
    // longer agrees with that count.  A cell of the wrong kind for the input matches nothing.
    int MatchToolInput(WORD id, CGCell* newCell);
    // The current tool applied at once to the selected points and values, as often as they allow
    // (consumed in selection order).  Returns the number of cells made, 0 when none.
    int ApplyCurrentTool();
    // How often ApplyCurrentTool would apply a tool to the present selection.
    int CountToolRepetitions(const CRecord& tool) const;
    // A text item or value made as a new one: the next free text place (measurements of several rows
    // take their rows).
    void PlaceAsNewTextItem(CGCell& cell);

    // ---- Selection lists ----
    // The kind list a cell belongs in, by its class.
    CList<WORD, WORD>& KindListOf(const CGCell* cell);
    // The kind list of a pick class of the object walk; null for labels (3), the second button
    // area (10) and anything outside 1..11.
    CList<WORD, WORD>* KindListOfPickClass(int pickClass);
    // Selects one cell into m_selAll and its kind list (it does not test whether the cell is
    // selected already).  FALSE when the id is not in the page.
    BOOL SelectCell(WORD id);
    // Unselects one cell: its flag, its first place in m_selAll, its kind list.  FALSE when the id
    // is not in the page or was not in its kind list.
    BOOL DeselectCell(WORD id);
    // Selects every cell not yet selected (mode 0, hidden and invalid ones too), or every shown and
    // valid point (1), line (2) or face (3).
    void SelectAllOfKind(int mode);
    // The ten lists again from the cells' flags, in map order.
    void ResetSelectionLists();
    // Replaces the selection by the parents (children) of the selected cells.
    void SelectParents();
    void SelectChildren();
    // The + and - keys: moves the selection one place along the hits of the last pick; status
    // receives the text for the status bar (empty when nothing changed).
    void SelectNextObject(CString& status);
    void SelectPreviousObject(CString& status);

    // ---- The clipboard ----
    // A clipboard block starts with its kind: the page's own record, or cells (the selected cells and
    // all their ancestors, keyed 0, 1, 2, ... in ascending order of their ids, which they keep).
    static constexpr int kClipboardPage = 1;
    static constexpr int kClipboardCells = 2;
    // Writes the block of this page: the page itself when it is selected as a whole, else its
    // selected cells with their ancestors.  The drag target is forgotten.
    void WriteClipboardBlock(CArchive& ar);
    // Puts that block on the clipboard under "CF_GRAPH" in place of what was there.  FALSE when the
    // clipboard could not be opened or took nothing.
    BOOL CopySelection();
    // Reads the cells of a cells block (the archive stands after the kind) into this page, which must
    // be the current page: new ids from m_nextId on, in the order of the keys; parents and children
    // linked anew; buttons and texts placed as new ones; the cells recomputed.  Returns their number,
    // or -1 when the page has not ids enough left for them (nothing changes then).  A block that is
    // cut short or damaged, or whose cells are not all there with their parents before them, throws
    // CArchiveException and changes nothing.
    int PasteFromClipboard(CArchive& ar);

    // ---- Older pages ----
    // Brings the fields of a page read from a file of an older format version up to date.
    void UpgradeFromVersion(int storedVersion);

    WORD m_pageId = 0;
    CString m_title;
    WORD m_nextId = 1;
    WORD m_nextVertex = 1;
    int m_pageSelected = 0;
    char m_labelLetter = 'A';
    char m_labelSuffix = ' ';
    BYTE m_circleCounter = 1;
    BYTE m_textSlot = 0;
    BYTE m_buttonSlot = 0;
    float m_lastButtonX = -1000.0f; // not above -800: no button placed yet
    float m_lastButtonY = 11.2f;
    float m_lastTextX = 1000.0f; // not below 800: no text placed yet
    float m_lastTextY = 11.2f;
    float m_viewTrans[3];
    float m_viewRot[4]; // x, y, z, w
    float m_viewZoom;
    float m_background[4]; // r, g, b, a
    int m_projection;
    bool m_viewLocked;
    bool m_dragLocked;
    int m_hasExtBlock = 1;
    int m_dashedBehindLit = 1;
    int m_unitsPerLength = 20; // pixels a unit of length, 1 to kMaxUnitsPerLength
    int m_reserved1 = 0;
    int m_reserved2 = 0;
    int m_reserved3 = 0;
    CString m_reservedText;
    int m_autoButton = 0; // a cell id in the low half, 0 for none
    CString m_mediaFile;
    CCellMap m_cells; // owns the cells
    CList<WORD, WORD> m_selPoints{10};
    CList<WORD, WORD> m_selLines{10};
    CList<WORD, WORD> m_selFaces{10};
    CList<WORD, WORD> m_selSolids{10};
    CList<WORD, WORD> m_selCurves{10};
    CList<WORD, WORD> m_selTexts{10};
    CList<WORD, WORD> m_selValues{10};
    CList<WORD, WORD> m_selButtons{10};
    CList<WORD, WORD> m_selOthers{10};
    CList<WORD, WORD> m_selAll{10};
    int m_walkClass = 0;
    CList<WORD, WORD> m_walkList;
    CCmdProcessor m_cmdProcessor;
    CList<WORD, WORD> m_runningButtons;
    std::vector<WORD> m_scratchIds;
    std::vector<WORD> m_recomputeIds;
    CList<WORD, WORD> m_tracedCells;
    BYTE m_timerMode = 1;
    int m_threeView = 0;
    bool m_threeViewPersp = true;
    CTransformMarks m_transformMarks;
    CObject* m_toolState = nullptr; // owned
    CMap<WORD, WORD, WORD, WORD> m_toolIdMap{10};
    int m_constructMarker = -1; // above 0: first id of the construction in progress; 0 idle; -1 armed
    int m_toolInputOldId = 0;
    int m_toolInputIsValue = 0;
    WORD m_toolFirstId = 0;
    int m_toolNewCount = 0;
    int m_toolNextCondition = 0;
    int m_snapshot = 0;

private:
    void WalkObjects(bool forward, CString& status);
    // Steps the automatic point name back by one (the exact reverse of MakeAutoLabel).
    void StepAutoLabelBack();
    void Store(CArchive& ar);
    void Load(CArchive& ar);
    // The record fields after the map, stored and loaded by the same code.
    void SerializeHeader(CArchive& ar);
    // Deletes the cells and empties every list, the tool state and the undo history.
    void DeleteContents();
};
