// Test support for the constructed points: a page on which cells are made as commands make them,
// position checks, and the point record with its round trip and refusals.
#pragma once

#include "measure/text_items.h"
#include "model/arc.h"
#include "model/face.h"
#include "model/free_point_fixture.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"

#include <initializer_list>
#include <memory>
#include <numbers>
#include <vector>

class PointsTest : public FreePointTest {
protected:
    static constexpr double kPi = std::numbers::pi;

    // A value cell holding v in its parameter word.
    CGTmVariable* AddValue(float v, const char16_t* name) {
        auto* value = new CGTmVariable;
        value->m_id = NextId();
        value->m_name = CString(name);
        value->m_param1 = v;
        return Insert(value);
    }
    CGTmVector* Vector(const char16_t* name, float x, float y, float z) {
        auto* cell = new CGTmVector;
        cell->m_id = NextId();
        cell->m_name = CString(name);
        cell->m_vx = x;
        cell->m_vy = y;
        cell->m_vz = z;
        return Insert(cell);
    }
    CGFace* AddFace(std::initializer_list<WORD> corners) {
        return Insert(new CGFace(NextId(), IdList(corners), RGB(1, 2, 3)));
    }
    // The face on three new points, made one after the other so that the corners are named in order.
    CGFace* Face(const float a[3], const float b[3], const float c[3]) {
        const WORD pa = AddPoint(a[0], a[1], a[2])->m_id;
        const WORD pb = AddPoint(b[0], b[1], b[2])->m_id;
        const WORD pc = AddPoint(c[0], c[1], c[2])->m_id;
        return AddFace({pa, pb, pc});
    }
    CGLine* Line(float ax, float ay, float az, float bx, float by, float bz, BYTE kind = CGLine::kSegment) {
        const WORD a = AddPoint(ax, ay, az)->m_id;
        return AddLine(a, AddPoint(bx, by, bz)->m_id, kind);
    }
    // Moves both points of a line.
    void MoveLine(CGLine* line, float ax, float ay, float az, float bx, float by, float bz) {
        MovePoint(line->GetEnd(0), ax, ay, az);
        MovePoint(line->GetEnd(1), bx, by, bz);
    }
    // A positioned circle of radius r about (cx, cy, cz) in the plane of constant z (U along x, V
    // along y), with the sweep given.
    CGArc* AddCircle(float cx, float cy, float cz, float r, BYTE kind = CGArc::kCircle, float start = 0.0f,
                     float end = 6.2831855f) {
        return Insert(new CGArc(NextId(), cx, cy, cz, r, 0, 0, 0, r, 0, start, end, kind));
    }
    // The positioned circle about c with the radius vectors u and v.
    CGArc* Circle(const float c[3], const float u[3], const float v[3], BYTE kind = CGArc::kCircle) {
        return Insert(
            new CGArc(NextId(), c[0], c[1], c[2], u[0], u[1], u[2], v[0], v[1], v[2], 0.0f, 6.28f, kind));
    }
    static CList<WORD, WORD> IdList(std::initializer_list<WORD> ids) {
        CList<WORD, WORD> list;
        for (WORD id : ids)
            list.AddTail(id);
        return list;
    }

    // The common record of a point as it must be stored: the cell's own values in record order.
    static CommonRecord PointCommon(const CGVertex& p) {
        CommonRecord r;
        r.id = p.m_id;
        r.name = p.m_name.Str();
        r.valid = p.m_valid;
        r.labelHidden = p.m_labelHidden;
        r.kind = p.m_kind;
        for (int i = 0; i < 3; ++i)
            r.labelPos[i] = p.m_labelPos[i];
        r.color = p.m_color;
        r.size = p.m_size;
        r.param[0] = p.m_param1;
        r.param[1] = p.m_param2;
        r.param[2] = p.m_param3;
        for (WORD parent : p.m_parents)
            r.parents.push_back(parent);
        for (WORD child : p.m_children)
            r.children.push_back(child);
        return r;
    }
    // The class tag, the common record and the point fields x, y, z and the label offset.
    static ByteBuilder PointRecord(const char* className, const CGVertex& p) {
        ByteBuilder b;
        b.NewClass(className);
        PointCommon(p).AppendTo(b);
        b.F32(p.m_x).F32(p.m_y).F32(p.m_z);
        b.F32(p.m_labelOffset[0]).F32(p.m_labelOffset[1]).F32(p.m_labelOffset[2]);
        return b;
    }
    static std::vector<BYTE> Stored(const CObject* cell) {
        return StoreBytes([&](CArchive& ar) { ar << cell; });
    }
    // The object read back from a record with its class tag, as its own class (null when the record
    // holds another).
    template <class T> static std::unique_ptr<T> Loaded(const std::vector<BYTE>& bytes) {
        CObject* loaded = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
        T* typed = DYNAMIC_DOWNCAST(T, loaded);
        if (!typed)
            delete loaded;
        return std::unique_ptr<T>(typed);
    }
    // Loading every shorter prefix of a record throws the archive's exception.
    template <class T> static void ExpectEveryCutRefused(const std::vector<BYTE>& bytes) {
        for (size_t size : {bytes.size() - 1, bytes.size() - 4, bytes.size() / 2, size_t(7)}) {
            std::vector<BYTE> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
            EXPECT_THROW(Loaded<T>(cut), CArchiveException) << size;
        }
    }
    // The cell's record is the expected bytes, loads back as T and stores again to the same bytes,
    // and its cuts are refused; the loaded cell (null when it did not load as T).
    template <class T>
    static std::unique_ptr<T> ExpectRecord(const CObject* cell, const std::vector<BYTE>& expected) {
        const std::vector<BYTE> bytes = Stored(cell);
        EXPECT_EQ(bytes, expected);
        auto back = Loaded<T>(bytes);
        EXPECT_TRUE(back);
        EXPECT_EQ(back ? Stored(back.get()) : std::vector<BYTE>(), bytes);
        ExpectEveryCutRefused<T>(bytes);
        return back;
    }
    // Recomputes what depends on a cell whose value the test has just changed, as a drag does.
    void Changed(CGCell* cell) {
        cell->MarkDescendants();
        m_page->CollectMarkedIds(m_page->m_scratchIds);
        m_page->UpdateCellsById(m_page->m_scratchIds);
    }
    // A point's position as three floats.
    static std::vector<float> Pos(const CGVertex& p) { return {p.m_x, p.m_y, p.m_z}; }
    // Valid and at (x, y, z); invalid and still where it was.
    static void ExpectValidAt(const CGVertex& p, double x, double y, double z, double tolerance = 1e-5) {
        EXPECT_TRUE(p.m_valid);
        ExpectNear(p, x, y, z, tolerance);
    }
    static void ExpectInvalidAt(const CGVertex& p, double x, double y, double z) {
        EXPECT_FALSE(p.m_valid);
        ExpectNear(p, x, y, z);
    }
};
