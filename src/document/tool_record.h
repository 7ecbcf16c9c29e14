// User-defined tools: CRecord, a recorded construction (cells copied out of a page with their
// links, the cells without parents being its inputs), and CCondition, one input of it; their
// records, deep copies and the default colours an application gives the copied cells.
#pragma once

#include "model/cell.h"

// One input of a tool.
class CCondition : public CObject {
    DECLARE_SERIAL(CCondition)
public:
    CCondition() = default;
    CCondition(WORD id, const CString& text, bool isPoint) : m_id(id), m_text(text), m_isPoint(isPoint) {}
    // WORD id, string prompt, bool byte.
    void Serialize(CArchive& ar) override;

    WORD m_id = 0;  // tool-local id of the recorded cell that is this input
    CString m_text; // "点" or "值" followed by the cell's name
    bool m_isPoint = false;
};

class CRecord : public CObject {
    DECLARE_SERIAL(CRecord)
public:
    CRecord();
    ~CRecord() override;
    CRecord(const CRecord&) = delete;
    CRecord& operator=(const CRecord&) = delete;

    // The record: name, comment, the seven counts and flags (the input count before the point
    // count), a string, the cells as an object list and the conditions as an object array.
    // Loading checks that the tool is whole (below) and throws CArchiveException otherwise.
    void Serialize(CArchive& ar) override;
    // A deep copy through an archive in memory.
    CRecord* Clone() const;
    // With m_useDefaultColors set, gives every recorded cell the default colours of its kind
    // (faces one colour each of the automatic sequence) and returns 1; otherwise changes nothing
    // and returns 0.
    int ApplyDefaultStyles();

    // A tool is whole when its cells carry the ids 0, 1, 2, ... of their places, every parent id
    // lies below the cell's own, the child lists are empty, and the conditions name exactly the
    // cells without parents, in ascending order, points as point inputs and values as value inputs.
    // Sets the counts from the content.  False (and nothing changed) when it is not whole.
    bool Validate();

    CString m_name;
    CString m_comment;
    int m_cellCount = 0;
    int m_pointCount = 0; // the points among the cells, inputs included
    int m_inputCount = 0;
    int m_pointInputCount = 0;
    int m_useDefaultColors = 1;
    int m_flag2 = 1;
    int m_flag3 = 0;
    CString m_extra;
    CTypedPtrArray<CObArray, CCondition*> m_conditions; // ascending m_id (owned)
    CTypedPtrList<CObList, CGCell*> m_recordedCells;    // ascending tool-local ids (owned)

private:
    void DeleteContents();
};

// The document's tools, and the tool lists of tool-set files.
using CRecordList = CTypedPtrList<CObList, CRecord*>;
// Deletes every record of the list and empties it.
void HxDeleteRecords(CRecordList& list);
// Reads a list of tools as documents and tool-set files hold it (a count, then the records), each
// entry checked to be a whole tool: a null entry or a tool that is not whole throws
// CArchiveException.  On a throw the list is left empty.
void HxLoadToolList(CArchive& ar, CRecordList& tools);
// Reads a tool-set file: its tools, or false (and an empty list) when the file is larger than a
// tool set can be, damaged, or holds any record that is not a whole tool.
constexpr ULONGLONG kMaxToolSetBytes = 16 << 20;
bool HxReadToolSet(CFile& file, CRecordList& tools);

// The tools of the tool-set files the main frame found under the installation folder's "Tools"
// (owned; the frame deletes them), the number of tool buttons made (tool n has command id
// 20000 + n) and the number of tool-set buttons made (set k has command id 34000 + k).
extern CRecordList g_globalTools;
extern int g_toolCommandCount;
extern int g_toolSetCount;
