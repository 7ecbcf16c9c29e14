// Fuzz target: arbitrary bytes read as a tool-set file from the Tools folder.  A set that is taken
// holds only whole tools, which copy and check again as they were; each of them is then applied to
// a small page, at once to its selected points and values (and undone) and click by click.
#include "document/tool_record.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/free_points.h"
#include "model/page.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"
#include "view/view_tool_globals.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Every cell's parents and children are in the page, the parents below the cell.
void CheckLinks(const CGPage& page) {
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        Check(cell->m_id == id && id < page.m_nextId);
        for (WORD parent : cell->m_parents)
            Check(parent < id && page.FindCell(parent) != nullptr);
        for (WORD child : cell->m_children)
            Check(page.FindCell(child) != nullptr);
    }
}

// A page of four free points and three parameters, all selected.
void FillPage(CGPage& page) {
    const float at[4][3] = {{0, 0, 0}, {4, 0, 0}, {1, 3, 0}, {2, 2, 5}};
    for (const auto& p : at) {
        const WORD id = page.m_nextId++;
        page.m_cells.SetAt(
            id, new CGVerFreeXyz(id, page.m_nextVertex++, page.MakeAutoLabel(1), p[0], p[1], p[2]));
    }
    for (float v : {1.0f, 2.5f, -3.0f}) {
        const WORD id = page.m_nextId++;
        page.m_cells.SetAt(id, new CGTmVarParameter(id, u"t", v));
    }
    page.RebuildVertexArray();
    page.SelectAllOfKind(0);
}

// What the view does with the end of an application: the cells as one step, or (the counters
// disagree) the step before made not undoable.
void Record(CGPage& page, int result) {
    if (result > 0) {
        page.m_cmdProcessor.Submit(new CCmdAddCells(result, u"fuzz"));
    } else if (result == -1) {
        if (CCmd* current = page.m_cmdProcessor.GetCurrent())
            current->m_undoable = 0;
    }
}

void ApplyToAPage(CRecord* tool) {
    CGPage page;
    g_pCurPage = &page;
    g_cellMap = &page.m_cells;
    g_pCurrentTool = tool;
    FillPage(page);
    const int cells = page.m_cells.GetCount();
    const WORD first = page.m_nextId;

    // At once, then undone.
    const int made = page.ApplyCurrentTool();
    Check(made >= 0 && int(page.m_nextId) - int(first) == made);
    CheckLinks(page);
    if (made > 0) {
        page.m_cmdProcessor.Submit(new CCmdAddCells(made, u"fuzz"));
        Check(page.m_cmdProcessor.Undo());
        Check(page.m_cells.GetCount() == cells && page.m_nextId == first);
        CheckLinks(page);
    }

    // Click by click: inputs matched with the page's points and values in turn, every third point
    // input with a new point in space; the last application is cancelled half way.
    page.ClearSelection();
    int clicks = 0;
    for (int round = 0; round < 2; ++round) {
        if (!page.StartToolApplication(1.0f, 2.0f, 3.0f))
            break;
        CheckLinks(page);
        while (page.m_constructMarker > 0 && clicks < 40) {
            ++clicks;
            const WORD marker = WORD(page.m_constructMarker);
            int result;
            if (page.m_toolInputIsValue) {
                result = page.MatchToolInput(WORD(5 + clicks % 3), nullptr);
            } else if (clicks % 3 == 0) {
                result = page.MatchToolInput(
                    0, new CGVerFreeXyz(marker, page.m_nextVertex++, CString(), float(clicks), 1.0f, 0.0f));
            } else {
                result = page.MatchToolInput(WORD(1 + clicks % 4), nullptr);
            }
            Check(result >= -1);
            CheckLinks(page);
            Record(page, result);
            if (round == 1 && clicks % 2 == 1)
                break;
        }
        const int kept = page.RemoveCellsAfterMarker();
        Check(kept >= -1);
        CheckLinks(page);
        Record(page, kept);
    }
    while (page.m_cmdProcessor.CanUndo())
        page.m_cmdProcessor.Undo();
    CheckLinks(page);
    g_pCurrentTool = nullptr;
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool arrayMade = HxReplaceVertexArray(200);
    Check(arrayMade);
    CMemFile file(data, size);
    CRecordList tools;
    if (!HxReadToolSet(file, tools)) {
        Check(tools.IsEmpty());
        return 0;
    }
    int applied = 0;
    for (POSITION pos = tools.GetHeadPosition(); pos;) {
        CRecord* tool = tools.GetNext(pos);
        Check(tool != nullptr);
        const int cells = tool->m_cellCount, inputs = tool->m_inputCount;
        Check(tool->Validate());
        Check(tool->m_cellCount == cells && tool->m_inputCount == inputs);
        Check(cells == tool->m_recordedCells.GetCount() && inputs <= cells);
        CRecord* copy = tool->Clone();
        Check(copy->m_cellCount == cells && copy->m_name == tool->m_name);
        delete copy;
        // A few tools per set, of a size a page applies quickly.
        if (applied < 4 && cells <= 400) {
            ++applied;
            ApplyToAPage(tool);
        }
    }
    HxDeleteRecords(tools);
    return 0;
}
