// Fuzz target: arbitrary bytes read as a tool-set file from the Tools folder.  A set that is taken
// holds only whole tools, which copy and check again as they were.
#include "document/tool_record.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile file(data, size);
    CRecordList tools;
    if (!HxReadToolSet(file, tools)) {
        Check(tools.IsEmpty());
        return 0;
    }
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
    }
    HxDeleteRecords(tools);
    return 0;
}
