// Test support for the constructed points: a current page on which points, lines, faces, circles
// and values are made as the commands make them, position checks, and a cell's record round trip.
#pragma once

#include "measure/text_items.h"
#include "model/arc.h"
#include "model/face.h"
#include "support/archive_helpers.h"
#include "support/page_fixture.h"

#include <cmath>
#include <memory>

class ConstructedPointsTest : public PageFixture {
protected:
    // A constructed point with the next id, vertex index and point name.
    template <class T, class... Args> T* Add(Args... args) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        return Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), args...));
    }
    CGLine* Line(float ax, float ay, float az, float bx, float by, float bz, BYTE kind = CGLine::kSegment) {
        CGVertex* a = AddPoint(ax, ay, az);
        CGVertex* b = AddPoint(bx, by, bz);
        return AddLine(a->m_id, b->m_id, kind);
    }
    CGFace* Face(WORD a, WORD b, WORD c) { return Insert(new CGFace(NextId(), a, b, c, RGB(0, 0, 255))); }
    CGFace* Face(const float a[3], const float b[3], const float c[3]) {
        // One after the other, so that the corners are named in order.
        const WORD pa = AddPoint(a[0], a[1], a[2])->m_id;
        const WORD pb = AddPoint(b[0], b[1], b[2])->m_id;
        const WORD pc = AddPoint(c[0], c[1], c[2])->m_id;
        return Face(pa, pb, pc);
    }
    // The positioned circle about c with the radius vectors u and v.
    CGArc* Circle(const float c[3], const float u[3], const float v[3], BYTE kind = CGArc::kCircle) {
        return Insert(
            new CGArc(NextId(), c[0], c[1], c[2], u[0], u[1], u[2], v[0], v[1], v[2], 0.0f, 6.28f, kind));
    }
    // A value (a measurement or parameter) named name, holding value.
    CGTmVariable* Value(const char16_t* name, float value) {
        auto* cell = new CGTmVariable;
        cell->m_id = NextId();
        cell->m_name = name;
        cell->m_param1 = value;
        return Insert(cell);
    }
    CGTmVector* Vector(const char16_t* name, float x, float y, float z) {
        auto* cell = new CGTmVector;
        cell->m_id = NextId();
        cell->m_name = name;
        cell->m_vx = x;
        cell->m_vy = y;
        cell->m_vz = z;
        return Insert(cell);
    }
    // Recomputes a cell's descendants in ascending ids, as the page does after a change.
    void Refresh(CGCell* cell) {
        cell->MarkDescendants();
        m_page->CollectMarkedIds(m_page->m_scratchIds);
        m_page->UpdateCellsById(m_page->m_scratchIds);
    }
};

inline void ExpectAt(const CGVertex& p, double x, double y, double z, double tolerance = 1e-5) {
    EXPECT_NEAR(p.m_x, x, tolerance);
    EXPECT_NEAR(p.m_y, y, tolerance);
    EXPECT_NEAR(p.m_z, z, tolerance);
}

// The point's entry in the vertex array and its label anchor agree with its position.
inline void ExpectSynced(const CGVertex& p) {
    const float* slot = HxVertexSlot(p.m_vertexIndex);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot[0], p.m_x);
    EXPECT_EQ(slot[1], p.m_y);
    EXPECT_EQ(slot[2], p.m_z);
    EXPECT_EQ(p.m_labelPos[0], p.m_x + p.m_labelOffset[0]);
    EXPECT_EQ(p.m_labelPos[1], p.m_y + p.m_labelOffset[1]);
    EXPECT_EQ(p.m_labelPos[2], p.m_z + p.m_labelOffset[2]);
}

// The cell stored on its own (class tag and record) and loaded back; null when loading threw.
inline std::unique_ptr<CObject> RoundTrip(const CObject* cell, std::vector<BYTE>* bytesOut = nullptr) {
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << cell; });
    if (bytesOut)
        *bytesOut = bytes;
    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    return std::unique_ptr<CObject>(loaded);
}
