// Test support for the constructed points: a page with points, lines, faces, circles and values made
// as construction commands make them, the mouse ray and drags of the free-point fixture, and the
// point record built field by field.
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
    CGFace* AddFace(std::initializer_list<WORD> corners) {
        CList<WORD, WORD> list;
        for (WORD corner : corners)
            list.AddTail(corner);
        return Insert(new CGFace(NextId(), list, RGB(1, 2, 3)));
    }
    // A positioned circle of radius r about (cx, cy, cz) in the plane of constant z (U along x, V
    // along y), with the sweep given.
    CGArc* AddCircle(float cx, float cy, float cz, float r, BYTE kind = CGArc::kCircle, float start = 0.0f,
                     float end = 6.2831855f) {
        return Insert(new CGArc(NextId(), cx, cy, cz, r, 0, 0, 0, r, 0, start, end, kind));
    }
    static CList<WORD, WORD> IdList(std::initializer_list<WORD> ids) {
        CList<WORD, WORD> list;
        for (WORD id : ids)
            list.AddTail(id);
        return list;
    }

    // The common record of a point as it must be stored: the cell's own values in the order of
    // the record.
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
    // Recomputes what depends on a cell whose value the test has just changed, as a drag does.
    void Changed(CGCell* cell) {
        cell->MarkDescendants();
        m_page->CollectMarkedIds(m_page->m_scratchIds);
        m_page->UpdateCellsById(m_page->m_scratchIds);
    }
    // A point's position as three floats.
    static std::vector<float> Pos(const CGVertex& p) { return {p.m_x, p.m_y, p.m_z}; }
};
