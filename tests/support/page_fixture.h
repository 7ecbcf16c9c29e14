// Test support for pages of points and lines: a current page with a vertex array, cells added as
// a construction command adds them, and a point class whose position follows its parents.
#pragma once

#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "support/model_fixture.h"

#include <memory>
#include <vector>

// A point at the midpoint of its two parent points that records the order in which cells were
// recomputed (its own id, in g_recomputeLog when one is set).
class CTestMidpoint : public CGVertex {
public:
    CTestMidpoint(WORD id, DWORD vertexIndex, const CString& name, WORD a, WORD b) {
        m_id = id;
        m_vertexIndex = vertexIndex;
        m_name = name;
        AddParent(a);
        AddParent(b);
        Recompute();
    }
    void Recompute() override {
        if (s_log)
            s_log->push_back(m_id);
        auto* a = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
        auto* b = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[1]));
        if (!a || !b || !a->m_valid || !b->m_valid) {
            m_valid = false;
            return;
        }
        m_valid = true;
        SetPosition((a->m_x + b->m_x) * 0.5f, (a->m_y + b->m_y) * 0.5f, (a->m_z + b->m_z) * 0.5f);
    }
    inline static std::vector<WORD>* s_log = nullptr;
};

// A current page whose cells are added the way construction commands add them.
class PageFixture : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        g_vertexArrayCapacity = 1000;
        g_vertexArray = new float[size_t(g_vertexArrayCapacity + 10) * 3]();
        m_page = std::make_unique<CGPage>();
        g_pCurPage = m_page.get();
        g_cellMap = &m_page->m_cells;
        CTestMidpoint::s_log = nullptr;
    }
    void TearDown() override {
        CTestMidpoint::s_log = nullptr;
        m_page.reset();
        ModelTest::TearDown();
    }

    template <class T> T* Insert(T* cell) {
        m_page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    WORD NextId() { return m_page->m_nextId++; }
    DWORD NextVertex() { return m_page->m_nextVertex++; }

    CGVertex* AddPoint(float x, float y, float z) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        return Insert(new CGVertex(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), x, y, z));
    }
    CGLine* AddLine(WORD a, WORD b, BYTE kind = CGLine::kSegment) {
        WORD id = NextId();
        return Insert(new CGLine(id, a, b, kind));
    }
    CTestMidpoint* AddMidpoint(WORD a, WORD b) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        return Insert(new CTestMidpoint(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), a, b));
    }
    // Moves a point as a drag does: new position, then its descendants in ascending id order.
    void MovePoint(CGVertex* point, float x, float y, float z) {
        point->SetPosition(x, y, z);
        point->MarkDescendants();
        m_page->CollectMarkedIds(m_page->m_scratchIds);
        m_page->UpdateCellsById(m_page->m_scratchIds);
    }
    const float* Slot(DWORD index) { return HxVertexSlot(index); }

    std::unique_ptr<CGPage> m_page;
};
