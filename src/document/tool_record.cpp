// CRecord and CCondition: the records, the check of a loaded tool, the deep copy and the default
// colours of an application.
#include "document/tool_record.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/line.h"
#include "model/vertex.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <new>
#include <vector>

IMPLEMENT_SERIAL(CCondition, CObject, 1)
IMPLEMENT_SERIAL(CRecord, CObject, 1)

namespace {

template <class T> void Transfer(CArchive& ar, T& v) {
    if (ar.IsStoring())
        ar << v;
    else
        ar >> v;
}

void SetRgb(CRgba& target, BYTE r, BYTE g, BYTE b) {
    target.r = r;
    target.g = g;
    target.b = b;
}

void SetRgb(CRgba& target, const CRgba& source) {
    SetRgb(target, source.r, source.g, source.b);
}

} // namespace

void CCondition::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    Transfer(ar, m_id);
    Transfer(ar, m_text);
    Transfer(ar, m_isPoint);
}

// ---------------------------------------------------------------------------------------------

CRecord::CRecord() : m_comment(u"请在\"工具属性\"中输入工具注释") {}

CRecord::~CRecord() {
    DeleteContents();
}

void CRecord::DeleteContents() {
    while (!m_recordedCells.IsEmpty())
        delete m_recordedCells.RemoveHead();
    for (int i = 0; i < m_conditions.GetSize(); ++i)
        delete m_conditions.GetAt(i);
    m_conditions.RemoveAll();
}

void CRecord::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsLoading())
        DeleteContents();
    Transfer(ar, m_name);
    Transfer(ar, m_comment);
    Transfer(ar, m_cellCount);
    Transfer(ar, m_inputCount);
    Transfer(ar, m_pointCount);
    Transfer(ar, m_pointInputCount);
    Transfer(ar, m_useDefaultColors);
    Transfer(ar, m_flag2);
    Transfer(ar, m_flag3);
    Transfer(ar, m_extra);
    m_recordedCells.Serialize(ar);
    m_conditions.Serialize(ar);
    if (ar.IsLoading() && !Validate())
        throw CArchiveException(CArchiveException::badIndex);
}

bool CRecord::Validate() {
    std::vector<CGCell*> cells;
    for (POSITION pos = m_recordedCells.GetHeadPosition(); pos;) {
        CGCell* cell = m_recordedCells.GetNext(pos);
        if (!cell)
            return false;
        cells.push_back(cell);
    }
    // Every input names a cell without parents, once, in ascending order.
    std::vector<bool> isInput(cells.size(), false);
    int pointInputs = 0;
    int previous = -1;
    for (int i = 0; i < m_conditions.GetSize(); ++i) {
        const CCondition* condition = m_conditions.GetAt(i);
        if (!condition || int(condition->m_id) <= previous || condition->m_id >= cells.size())
            return false;
        previous = condition->m_id;
        const CGCell* cell = cells[condition->m_id];
        if (!cell->m_parents.IsEmpty())
            return false;
        // Point inputs are points (the placeholder follows the mouse and a click may put a new point
        // in its place); value inputs are values.
        if (condition->m_isPoint ? !cell->IsKindOf(RUNTIME_CLASS(CGVertex))
                                 : !cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)))
            return false;
        isInput[condition->m_id] = true;
        if (condition->m_isPoint)
            ++pointInputs;
    }
    int points = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        const CGCell* cell = cells[i];
        if (cell->m_id != i || !cell->m_children.IsEmpty())
            return false;
        if (cell->m_parents.IsEmpty() != isInput[i])
            return false;
        for (WORD parentId : cell->m_parents) {
            if (parentId >= cell->m_id)
                return false;
        }
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex)))
            ++points;
    }
    m_cellCount = int(cells.size());
    m_inputCount = m_conditions.GetSize();
    m_pointInputCount = pointInputs;
    m_pointCount = points;
    return true;
}

CRecord* CRecord::Clone() const {
    CMemFile file(1024);
    {
        CArchive store(&file, CArchive::store);
        const_cast<CRecord*>(this)->Serialize(store);
        store.Close();
    }
    file.Seek(0, CFile::begin);
    auto* copy = new CRecord;
    try {
        CArchive load(&file, CArchive::load);
        copy->Serialize(load);
    } catch (...) {
        delete copy;
        throw;
    }
    return copy;
}

int CRecord::ApplyDefaultStyles() {
    if (m_useDefaultColors == 0)
        return 0;
    for (POSITION pos = m_recordedCells.GetHeadPosition(); pos;) {
        CGCell* cell = m_recordedCells.GetNext(pos);
        SetRgb(cell->m_labelColor, g_colorLabel);
        if (cell->IsKindOf(RUNTIME_CLASS(CGVertex))) {
            SetRgb(cell->m_color, HxIsFreePoint(cell) ? g_colorFreePoint : g_colorPoint);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGLine))) {
            SetRgb(cell->m_color, g_colorObject);
            cell->m_size = g_lineWidth;
        } else if (HxIsOfClassNamed(cell, "CGFace")) {
            COLORREF c = NextAutoColor();
            SetRgb(cell->m_color, GetRValue(c), GetGValue(c), GetBValue(c));
        } else if (HxIsOfClassNamed(cell, "CGArc")) {
            if (cell->m_kind < 2)
                SetRgb(cell->m_color, g_colorArcSolid);
            else
                SetRgb(cell->m_labelColor, g_colorArcSolid);
        } else if (HxIsOfAnyClassNamed(cell, {"CGLocus", "CGCurve"})) {
            SetRgb(cell->m_color, g_colorArcSolid);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGButton))) {
            SetRgb(cell->m_color, 51, 102, 255);
            SetRgb(cell->m_labelColor, 0, 0, 0);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVector)) ||
                   HxIsOfClassNamed(cell, "CGIterate")) {
            SetRgb(cell->m_color, g_colorValue);
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) || cell->IsKindOf(RUNTIME_CLASS(CGTextmap))) {
            SetRgb(cell->m_color, g_colorText);
            if (auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, cell)) {
                formula->m_background =
                    RGB(BYTE(g_backgroundColor[0] * 255.0f), BYTE(g_backgroundColor[1] * 255.0f),
                        BYTE(g_backgroundColor[2] * 255.0f));
                formula->UpdateTexture();
            }
        } else if (HxIsOfAnyClassNamed(
                       cell, {"CGSphere", "CGCylinder", "CGCone", "CGFrustum", "CGTrack", "CGSurface"})) {
            SetRgb(cell->m_color, g_colorArcSolid);
        }
    }
    return 1;
}

void HxDeleteRecords(CRecordList& list) {
    while (!list.IsEmpty())
        delete list.RemoveHead();
}

void HxLoadToolList(CArchive& ar, CRecordList& tools) {
    try {
        tools.Serialize(ar);
        for (POSITION pos = tools.GetHeadPosition(); pos;) {
            if (!tools.GetNext(pos))
                throw CArchiveException(CArchiveException::badIndex);
        }
    } catch (...) {
        HxDeleteRecords(tools);
        throw;
    }
}

bool HxReadToolSet(CFile& file, CRecordList& tools) {
    HxDeleteRecords(tools);
    if (file.GetLength() > kMaxToolSetBytes)
        return false;
    try {
        CArchive ar(&file, CArchive::load);
        HxLoadToolList(ar, tools);
        return true;
    } catch (const CException&) {
    } catch (const std::bad_alloc&) {
    }
    HxDeleteRecords(tools);
    return false;
}

CRecordList g_globalTools;
int g_toolCommandCount = 0;
int g_toolSetCount = 0;
