// CGPage: one page of a document: its cells by id, the id and vertex counters, its own view,
// label and placement counters, selection lists, running buttons, traces, tool state and undo
// history, and the page record.
#pragma once

#include "document/cmd_processor.h"
#include "model/cell.h"

#include <vector>

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
    int m_unitsPerLength = 20;
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
    void Store(CArchive& ar);
    void Load(CArchive& ar);
    // The record fields after the map, stored and loaded by the same code.
    void SerializeHeader(CArchive& ar);
    // Deletes the cells and empties every list, the tool state and the undo history.
    void DeleteContents();
};
