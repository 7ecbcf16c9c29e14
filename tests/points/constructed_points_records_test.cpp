// The records of the constructed points byte by byte, their round trips, the refusal of truncated
// records and of parent lists of the wrong length, pages of them stored, loaded and recomputed, and
// every class invalid while any one of its parents is and valid again after.
#include "points/intersection_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"

#include "constructed_points_fixture.h"
#include "support/cell_record.h"

#include <numbers>
#include <vector>

namespace {

constexpr float kHalfPi = 1.5707964f;

// The record of a point: the common record (with the first word of its three-word block, which the
// shared test builder leaves 0) and the point's position and label offset.
std::vector<BYTE> PointRecord(const char* className, const CommonRecord& common, int extA1,
                              const float xyz[3]) {
    ByteBuilder head;
    head.NewClass(className);
    ByteBuilder body;
    common.AppendTo(body);
    std::vector<BYTE> bytes = body.Bytes();
    // Counted from the end: children and parents, the third block (four ints, a float, a string),
    // the text of the second block, its float and second int, then its first int.
    const size_t tail = 2 + 2 * common.children.size() + 2 + 2 * common.parents.size() + 24 + 4 + 4 + 4 + 4;
    const ByteBuilder word = ByteBuilder().I32(extA1);
    std::copy(word.Bytes().begin(), word.Bytes().end(), bytes.end() - long(tail));
    ByteBuilder out;
    out.Append(head.Bytes()).Append(bytes);
    out.F32(xyz[0]).F32(xyz[1]).F32(xyz[2]).F32(4.0f * 0.05f).F32(0).F32(4.0f * 0.05f);
    return out.Bytes();
}

// The common record of a constructed point as the constructors leave it.
CommonRecord PointCommon(const CGVertex& p) {
    CommonRecord c;
    c.id = p.m_id;
    c.name = std::u16string(p.m_name.GetString(), size_t(p.m_name.GetLength()));
    c.labelHidden = 0;
    c.kind = p.m_kind;
    c.labelPos[0] = p.m_x + 4.0f * 0.05f;
    c.labelPos[1] = p.m_y;
    c.labelPos[2] = p.m_z + 4.0f * 0.05f;
    c.color = CRgba{128, 0, 0, 255};
    c.size = 6.0f;
    c.param[0] = p.m_param1;
    for (WORD parent : p.m_parents)
        c.parents.push_back(parent);
    return c;
}

class ConstructedRecordsTest : public ConstructedPointsTest {
protected:
    // One figure with every class of constructed point, all of them valid; without values the
    // classes that need a value or a vector item are left out.
    std::vector<CGVertex*> BuildEveryClass(bool withValues = true) {
        CGVertex* p = AddPoint(1, 2, 3);
        CGVertex* o = AddPoint(0, 0, 0);
        CGVertex* a = AddPoint(1, 0, 0);
        CGVertex* c = AddPoint(0, 1, 0);
        CGVertex* d = AddPoint(2, 0, 0);
        CGLine* l1 = Line(-4, 0, 0, 4, 0, 0);
        CGLine* l2 = Line(1, -1, 0, 1, 3, 0);
        CGLine* l3 = Line(0.5f, 0.5f, 2, 0.5f, 0.5f, -2);
        const float f0[] = {0, 0, 0}, f1[] = {1, 0, 0}, f2[] = {0, 1, 0};
        CGFace* flat = Face(f0, f1, f2);
        const float g0[] = {1, 0, 0}, g1[] = {1, 1, 0}, g2[] = {1, 0, 1};
        CGFace* upright = Face(g0, g1, g2);
        const float k1c[] = {0, 0, 0}, k2c[] = {2, 0, 0}, u[] = {2, 0, 0}, v[] = {0, 2, 0};
        CGArc* k1 = Circle(k1c, u, v);
        CGArc* k2 = Circle(k2c, u, v);
        std::vector<CGVertex*> cells = {
            Add<CGVerIntersection>(l1->m_id, l2->m_id),
            Add<CGVerIntersectionLF>(l3->m_id, flat->m_id),
            Add<CGVerIntersectionLS>(BYTE(0), l1->m_id, k1->m_id),
            Add<CGVerIntersectionLS>(BYTE(1), l1->m_id, k1->m_id),
            Add<CGVerIntersectionSS>(BYTE(1), k1->m_id, k2->m_id),
            Add<CGVerIntersectionCF>(BYTE(0), k1->m_id, upright->m_id),
            Add<CGVerTranslate>(p->m_id, a->m_id, c->m_id),
            Add<CGVerTranslateStc>(p->m_id, 1.0f, 2.0f, -3.0f),
            Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, kHalfPi),
            Add<CGVerRotateA>(p->m_id, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, a->m_id, o->m_id, c->m_id),
            Add<CGVerRotateX>(p->m_id, l1->m_id, kHalfPi, BYTE(0)),
            Add<CGVerRotateX>(p->m_id, a->m_id, kHalfPi, BYTE(1)),
            Add<CGVerRotateXA>(p->m_id, l2->m_id, a->m_id, o->m_id, c->m_id, BYTE(0)),
            Add<CGVerScaleP>(p->m_id, o->m_id, o->m_id, a->m_id, d->m_id),
            Add<CGVerScaleL>(p->m_id, o->m_id, l2->m_id, l1->m_id),
            Add<CGVerScale>(p->m_id, o->m_id, 0.5f),
            Add<CGVerScaleO>(p->m_id, 2.0f),
            Add<CGVerSymmetry>(p->m_id, BYTE(5)),
            Add<CGVerSymmetryP>(p->m_id, c->m_id),
            Add<CGVerSymmetryL>(p->m_id, l2->m_id),
            Add<CGVerSymmetryF>(p->m_id, flat->m_id),
        };
        if (withValues) {
            CGTmVariable* m = Value(u"m", kHalfPi);
            CGTmVector* vec = Vector(u"v", 1, -1, 2);
            cells.push_back(Add<CGVerTranslateM>(p->m_id, vec->m_id));
            cells.push_back(Add<CGVerRotateA2>(p->m_id, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, m->m_id));
            cells.push_back(Add<CGVerRotateXA2>(p->m_id, o->m_id, m->m_id, BYTE(1)));
            cells.push_back(Add<CGVerScaleM>(p->m_id, c->m_id, m->m_id));
        }
        return cells;
    }
};

} // namespace

TEST_F(ConstructedRecordsTest, IntersectionRecordsCarryTheRootAndTheLineParameter) {
    CGLine* l1 = Line(0, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(1, -1, 0, 1, 3, 0);
    auto* x = Add<CGVerIntersection>(l1->m_id, l2->m_id);
    ASSERT_EQ(x->m_param1, 0.25f);
    std::vector<BYTE> bytes;
    std::unique_ptr<CObject> back = RoundTrip(x, &bytes);
    const float at[] = {1, 0, 0};
    EXPECT_EQ(bytes, PointRecord("CGVerIntersection", PointCommon(*x), 0, at));
    auto* loaded = DYNAMIC_DOWNCAST(CGVerIntersection, back.get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_param1, 0.25f);

    const float c[] = {0, 0, 0}, u[] = {2, 0, 0}, v[] = {0, 2, 0};
    CGArc* k = Circle(c, u, v);
    auto* r1 = Add<CGVerIntersectionLS>(BYTE(1), l1->m_id, k->m_id);
    CommonRecord common = PointCommon(*r1);
    EXPECT_EQ(common.kind, 1);
    const float r1At[] = {2, 0, 0};
    back = RoundTrip(r1, &bytes);
    EXPECT_EQ(bytes, PointRecord("CGVerIntersectionLS", common, 0, r1At));
    EXPECT_EQ(static_cast<CGCell*>(back.get())->m_kind, 1);
}

TEST_F(ConstructedRecordsTest, OwnFieldsFollowThePointRecord) {
    CGVertex* p = AddPoint(1, 2, 3);
    CGVertex* x = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(1, 0, 0);
    std::vector<BYTE> bytes;

    auto* stc = Add<CGVerTranslateStc>(p->m_id, 1.0f, 2.0f, -3.0f);
    RoundTrip(stc, &bytes);
    const float stcAt[] = {2, 4, 0};
    EXPECT_EQ(bytes, ByteBuilder()
                         .Append(PointRecord("CGVerTranslateStc", PointCommon(*stc), 0, stcAt))
                         .F32(1)
                         .F32(2)
                         .F32(-3)
                         .Bytes());

    // Direction, then the axis point, then the angle.
    auto* rot = Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 2.0f, 1.0f, 0.5f, 0.25f, kHalfPi);
    RoundTrip(rot, &bytes);
    const float rotAt[] = {rot->m_x, rot->m_y, rot->m_z};
    EXPECT_EQ(bytes, ByteBuilder()
                         .Append(PointRecord("CGVerRotate", PointCommon(*rot), 0, rotAt))
                         .F32(0)
                         .F32(0)
                         .F32(2)
                         .F32(1)
                         .F32(0.5f)
                         .F32(0.25f)
                         .F32(kHalfPi)
                         .Bytes());

    auto* rotA = Add<CGVerRotateA>(p->m_id, 0.0f, 1.0f, 0.0f, 3.0f, 4.0f, 5.0f, a->m_id, x->m_id, p->m_id);
    RoundTrip(rotA, &bytes);
    const float rotAAt[] = {rotA->m_x, rotA->m_y, rotA->m_z};
    EXPECT_EQ(bytes, ByteBuilder()
                         .Append(PointRecord("CGVerRotateA", PointCommon(*rotA), 0, rotAAt))
                         .F32(0)
                         .F32(1)
                         .F32(0)
                         .F32(3)
                         .F32(4)
                         .F32(5)
                         .Bytes());

    CGTmVariable* m = Value(u"m", 1.0f);
    auto* rotA2 = Add<CGVerRotateA2>(p->m_id, 0.0f, 1.0f, 0.0f, 3.0f, 4.0f, 5.0f, m->m_id);
    RoundTrip(rotA2, &bytes);
    const float rotA2At[] = {rotA2->m_x, rotA2->m_y, rotA2->m_z};
    EXPECT_EQ(bytes, ByteBuilder()
                         .Append(PointRecord("CGVerRotateA2", PointCommon(*rotA2), 0, rotA2At))
                         .F32(0)
                         .F32(1)
                         .F32(0)
                         .F32(3)
                         .F32(4)
                         .F32(5)
                         .Bytes());

    // The selector travels in the common record, the angle after the point.
    auto* rotX = Add<CGVerRotateX>(p->m_id, x->m_id, kHalfPi, BYTE(1));
    std::unique_ptr<CObject> back = RoundTrip(rotX, &bytes);
    const float rotXAt[] = {rotX->m_x, rotX->m_y, rotX->m_z};
    EXPECT_EQ(bytes, ByteBuilder()
                         .Append(PointRecord("CGVerRotateX", PointCommon(*rotX), 1, rotXAt))
                         .F32(kHalfPi)
                         .Bytes());
    auto* loadedX = DYNAMIC_DOWNCAST(CGVerRotateX, back.get());
    ASSERT_NE(loadedX, nullptr);
    EXPECT_TRUE(loadedX->AboutCenter());
    EXPECT_EQ(loadedX->m_angle, kHalfPi);

    auto* rotXA2 = Add<CGVerRotateXA2>(p->m_id, x->m_id, m->m_id, BYTE(1));
    RoundTrip(rotXA2, &bytes);
    const float rotXA2At[] = {rotXA2->m_x, rotXA2->m_y, rotXA2->m_z};
    EXPECT_EQ(bytes, PointRecord("CGVerRotateXA2", PointCommon(*rotXA2), 1, rotXA2At));

    auto* scale = Add<CGVerScale>(p->m_id, x->m_id, 0.5f);
    RoundTrip(scale, &bytes);
    const float scaleAt[] = {0.5f, 1, 1.5f};
    EXPECT_EQ(
        bytes,
        ByteBuilder().Append(PointRecord("CGVerScale", PointCommon(*scale), 0, scaleAt)).F32(0.5f).Bytes());

    auto* scaleO = Add<CGVerScaleO>(p->m_id, -1.0f);
    RoundTrip(scaleO, &bytes);
    const float scaleOAt[] = {-1, -2, -3};
    EXPECT_EQ(
        bytes,
        ByteBuilder().Append(PointRecord("CGVerScaleO", PointCommon(*scaleO), 0, scaleOAt)).F32(-1).Bytes());

    auto* sym = Add<CGVerSymmetry>(p->m_id, BYTE(6));
    back = RoundTrip(sym, &bytes);
    const float symAt[] = {1, -2, -3};
    EXPECT_EQ(bytes,
              ByteBuilder().Append(PointRecord("CGVerSymmetry", PointCommon(*sym), 0, symAt)).U8(6).Bytes());
    EXPECT_EQ(static_cast<CGVerSymmetry*>(back.get())->m_mask, 6);

    // No fields of its own.
    auto* tr = Add<CGVerTranslate>(p->m_id, x->m_id, a->m_id);
    RoundTrip(tr, &bytes);
    const float trAt[] = {2, 2, 3};
    EXPECT_EQ(bytes, PointRecord("CGVerTranslate", PointCommon(*tr), 0, trAt));
}

TEST_F(ConstructedRecordsTest, EveryClassRoundTripsUnderItsOwnName) {
    const std::vector<CGVertex*> cells = BuildEveryClass();
    for (CGVertex* cell : cells) {
        const char* name = cell->GetRuntimeClass()->m_lpszClassName;
        SCOPED_TRACE(name);
        EXPECT_TRUE(cell->m_valid);
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->m_wSchema, 1u);
        EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CGVertex));
        std::vector<BYTE> bytes;
        std::unique_ptr<CObject> back = RoundTrip(cell, &bytes);
        ASSERT_NE(back, nullptr);
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, name);
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << back.get(); }), bytes);
        const auto* loaded = static_cast<const CGVertex*>(back.get());
        EXPECT_EQ(loaded->m_x, cell->m_x);
        EXPECT_EQ(loaded->m_kind, cell->m_kind);
        EXPECT_EQ(loaded->m_extA1, cell->m_extA1);
        ASSERT_EQ(loaded->m_parents.GetSize(), cell->m_parents.GetSize());
        for (int i = 0; i < cell->m_parents.GetSize(); ++i)
            EXPECT_EQ(loaded->m_parents[i], cell->m_parents[i]);
    }
}

TEST_F(ConstructedRecordsTest, TruncatedRecordsAndWrongParentCountsAreRefused) {
    for (CGVertex* cell : BuildEveryClass()) {
        const char* name = cell->GetRuntimeClass()->m_lpszClassName;
        SCOPED_TRACE(name);
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { cell->Serialize(ar); });
        for (size_t n = 0; n < bytes.size(); ++n) {
            std::vector<BYTE> cut(bytes.begin(), bytes.begin() + long(n));
            std::unique_ptr<CObject> fresh(cell->GetRuntimeClass()->CreateObject());
            EXPECT_THROW(LoadBytes(cut, [&](CArchive& ar) { fresh->Serialize(ar); }), CArchiveException) << n;
        }
        // One parent more, and none at all.
        for (int change : {+1, -1}) {
            std::unique_ptr<CObject> copy(cell->GetRuntimeClass()->CreateObject());
            LoadBytes(bytes, [&](CArchive& ar) { copy->Serialize(ar); });
            auto* damaged = static_cast<CGCell*>(copy.get());
            if (change > 0)
                damaged->m_parents.Add(1);
            else
                damaged->m_parents.RemoveAll();
            std::vector<BYTE> wrong = StoreBytes([&](CArchive& ar) { damaged->Serialize(ar); });
            std::unique_ptr<CObject> fresh(cell->GetRuntimeClass()->CreateObject());
            try {
                LoadBytes(wrong, [&](CArchive& ar) { fresh->Serialize(ar); });
                ADD_FAILURE() << "parent count " << damaged->m_parents.GetSize() << " accepted";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
            }
        }
    }
}

TEST_F(ConstructedRecordsTest, PageOfEveryClassLoadsAndRecomputesToTheSameFigure) {
    // Value and vector items have no record of their own yet: the page holds the other classes.
    const std::vector<CGVertex*> cells = BuildEveryClass(false);
    std::vector<BYTE> page = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });
    CGPage loaded;
    LoadBytes(page, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.m_cells.GetCount(), m_page->m_cells.GetCount());
    g_pCurPage = &loaded;
    g_cellMap = &loaded.m_cells;
    // Forget the stored positions: the recomputation of the page puts every point back.
    for (CGVertex* cell : cells) {
        auto* back = DYNAMIC_DOWNCAST(CGVertex, loaded.FindCell(cell->m_id));
        ASSERT_NE(back, nullptr);
        back->m_x = back->m_y = back->m_z = 99.0f;
    }
    std::vector<WORD> ids;
    for (WORD id = 1; id < loaded.m_nextId; ++id)
        ids.push_back(id);
    loaded.UpdateCellsById(ids);
    for (CGVertex* cell : cells) {
        auto* back = static_cast<CGVertex*>(loaded.FindCell(cell->m_id));
        SCOPED_TRACE(cell->GetRuntimeClass()->m_lpszClassName);
        EXPECT_TRUE(back->m_valid);
        EXPECT_EQ(back->m_x, cell->m_x);
        EXPECT_EQ(back->m_y, cell->m_y);
        EXPECT_EQ(back->m_z, cell->m_z);
        EXPECT_EQ(back->GetDescription(), cell->GetDescription());
    }
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}

TEST_F(ConstructedRecordsTest, PageWithADamagedPointIsRefusedAndLeavesThePage) {
    CGLine* l1 = Line(0, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(1, -1, 0, 1, 3, 0);
    auto* x = Add<CGVerIntersection>(l1->m_id, l2->m_id);
    x->m_parents.RemoveAt(1);
    std::vector<BYTE> page = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });
    CGPage other;
    CGVertex* keep = new CGVertex(1, 1, u"K", 0, 0, 0);
    other.m_cells.SetAt(1, keep);
    EXPECT_THROW(LoadBytes(page, [&](CArchive& ar) { other.Serialize(ar); }), CArchiveException);
    EXPECT_EQ(other.m_cells.GetCount(), 1);
    EXPECT_EQ(other.FindCell(1), keep);
}

TEST_F(ConstructedRecordsTest, EveryClassIsInvalidWhileAnyParentIsAndValidAgainAfter) {
    for (CGVertex* cell : BuildEveryClass()) {
        SCOPED_TRACE(cell->GetRuntimeClass()->m_lpszClassName);
        ASSERT_TRUE(cell->m_valid);
        const float x = cell->m_x, y = cell->m_y, z = cell->m_z;
        for (WORD parentId : cell->m_parents) {
            CGCell* parent = m_page->FindCell(parentId);
            parent->m_valid = false;
            // Moving the vertex-array entry shows that an invalid point writes nothing there.
            float* slot = HxVertexSlot(cell->m_vertexIndex);
            slot[0] = 123.0f;
            cell->Recompute();
            EXPECT_FALSE(cell->m_valid) << parentId;
            EXPECT_EQ(cell->m_x, x);
            EXPECT_EQ(cell->m_y, y);
            EXPECT_EQ(cell->m_z, z);
            EXPECT_EQ(slot[0], 123.0f);
            parent->m_valid = true;
            cell->Recompute();
            EXPECT_TRUE(cell->m_valid) << parentId;
            EXPECT_EQ(cell->m_x, x);
            ExpectSynced(*cell);
        }
        // Hidden parents are still there.
        for (WORD parentId : cell->m_parents)
            m_page->FindCell(parentId)->m_hidden = 1;
        cell->Recompute();
        EXPECT_TRUE(cell->m_valid);
        for (WORD parentId : cell->m_parents)
            m_page->FindCell(parentId)->m_hidden = 0;
    }
}
