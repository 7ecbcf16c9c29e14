// The records of the constructed points byte by byte, round trips, refusal of damaged records and
// pages, recomputation of a loaded page, and validity that follows every parent.
#include "points/intersection_points.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"

#include "points_fixture.h"

#include <vector>

namespace {

constexpr float kHalfPi = 1.5707964f;

// The record of a constructed point from the values its constructor leaves (the label 0.2 off in x
// and z, the point colour and size), with the first word of the common record's three-word block.
std::vector<BYTE> LiteralRecord(const char* className, const CGVertex& p, int extA1,
                                const std::vector<float>& at) {
    CommonRecord c;
    c.id = p.m_id;
    c.name = p.m_name.Str();
    c.labelHidden = 0;
    c.kind = p.m_kind;
    c.labelPos[0] = at[0] + 4.0f * 0.05f;
    c.labelPos[1] = at[1];
    c.labelPos[2] = at[2] + 4.0f * 0.05f;
    c.color = CRgba{128, 0, 0, 255};
    c.size = 6.0f;
    c.param[0] = p.m_param1;
    for (WORD parent : p.m_parents)
        c.parents.push_back(parent);
    ByteBuilder body;
    c.AppendTo(body);
    std::vector<BYTE> bytes = body.Bytes();
    // Counted from the end: children and parents, the third block (four ints, a float, a string),
    // the text of the second block, its float and second int, then its first int.
    const size_t tail = 2 + 2 * c.children.size() + 2 + 2 * c.parents.size() + 24 + 4 + 4 + 4 + 4;
    const ByteBuilder word = ByteBuilder().I32(extA1);
    std::copy(word.Bytes().begin(), word.Bytes().end(), bytes.end() - long(tail));
    ByteBuilder out;
    out.NewClass(className).Append(bytes);
    out.F32(at[0]).F32(at[1]).F32(at[2]).F32(4.0f * 0.05f).F32(0).F32(4.0f * 0.05f);
    return out.Bytes();
}

class ConstructedRecordsTest : public PointsTest {
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
            CGTmVariable* m = AddValue(kHalfPi, u"m");
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

TEST_F(ConstructedRecordsTest, OwnFieldsFollowThePointRecord) {
    CGVertex* p = AddPoint(1, 2, 3);
    CGVertex* x = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(1, 0, 0);
    CGLine* l1 = Line(0, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(1, -1, 0, 1, 3, 0);
    const float c[] = {0, 0, 0}, u[] = {2, 0, 0}, v[] = {0, 2, 0};
    CGArc* k = Circle(c, u, v);
    CGTmVariable* m = AddValue(1.0f, u"m");
    // The record under the class name, with the selector of the rotations about X in the common
    // record, at the position given (or the cell's own), and the class's own fields after the point's.
    auto expect = [](const char* name, CGVertex* cell, int extA1, std::vector<float> at, ByteBuilder own) {
        SCOPED_TRACE(name);
        if (at.empty())
            at = Pos(*cell);
        EXPECT_EQ(Stored(cell),
                  ByteBuilder().Append(LiteralRecord(name, *cell, extA1, at)).Append(own.Bytes()).Bytes());
    };
    auto floats = [](std::initializer_list<float> values) {
        ByteBuilder b;
        for (float v : values)
            b.F32(v);
        return b;
    };
    // The line parameter travels in the common record, the root in its kind byte.
    expect("CGVerIntersection", Add<CGVerIntersection>(l1->m_id, l2->m_id), 0, {1, 0, 0}, {});
    expect("CGVerIntersectionLS", Add<CGVerIntersectionLS>(BYTE(1), l1->m_id, k->m_id), 0, {2, 0, 0}, {});
    expect("CGVerTranslate", Add<CGVerTranslate>(p->m_id, x->m_id, a->m_id), 0, {2, 2, 3}, {});
    expect("CGVerTranslateStc", Add<CGVerTranslateStc>(p->m_id, 1.0f, 2.0f, -3.0f), 0, {2, 4, 0},
           floats({1, 2, -3}));
    // Direction, then the axis point, then the angle.
    expect("CGVerRotate", Add<CGVerRotate>(p->m_id, 0.0f, 0.0f, 2.0f, 1.0f, 0.5f, 0.25f, kHalfPi), 0, {},
           floats({0, 0, 2, 1, 0.5f, 0.25f, kHalfPi}));
    expect("CGVerRotateA",
           Add<CGVerRotateA>(p->m_id, 0.0f, 1.0f, 0.0f, 3.0f, 4.0f, 5.0f, a->m_id, x->m_id, p->m_id), 0, {},
           floats({0, 1, 0, 3, 4, 5}));
    expect("CGVerRotateA2", Add<CGVerRotateA2>(p->m_id, 0.0f, 1.0f, 0.0f, 3.0f, 4.0f, 5.0f, m->m_id), 0, {},
           floats({0, 1, 0, 3, 4, 5}));
    expect("CGVerRotateX", Add<CGVerRotateX>(p->m_id, x->m_id, kHalfPi, BYTE(1)), 1, {}, floats({kHalfPi}));
    expect("CGVerRotateXA2", Add<CGVerRotateXA2>(p->m_id, x->m_id, m->m_id, BYTE(1)), 1, {}, {});
    expect("CGVerScale", Add<CGVerScale>(p->m_id, x->m_id, 0.5f), 0, {0.5f, 1, 1.5f}, floats({0.5f}));
    expect("CGVerScaleO", Add<CGVerScaleO>(p->m_id, -1.0f), 0, {-1, -2, -3}, floats({-1}));
    expect("CGVerSymmetry", Add<CGVerSymmetry>(p->m_id, BYTE(6)), 0, {1, -2, -3}, ByteBuilder().U8(6));
}

TEST_F(ConstructedRecordsTest, EveryClassRoundTripsUnderItsOwnNameAndRefusesDamage) {
    for (CGVertex* cell : BuildEveryClass()) {
        const char* name = cell->GetRuntimeClass()->m_lpszClassName;
        SCOPED_TRACE(name);
        EXPECT_TRUE(cell->m_valid);
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->m_wSchema, 1u);
        EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CGVertex));
        const std::vector<BYTE> tagged = Stored(cell);
        std::unique_ptr<CGVertex> back = Loaded<CGVertex>(tagged);
        ASSERT_NE(back, nullptr);
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, name);
        EXPECT_EQ(Stored(back.get()), tagged);
        EXPECT_EQ(back->m_x, cell->m_x);
        EXPECT_EQ(back->m_kind, cell->m_kind);
        EXPECT_EQ(back->m_extA1, cell->m_extA1);
        ASSERT_EQ(back->m_parents.GetSize(), cell->m_parents.GetSize());
        for (int i = 0; i < cell->m_parents.GetSize(); ++i)
            EXPECT_EQ(back->m_parents[i], cell->m_parents[i]);

        // Every truncation of the record is refused.
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { cell->Serialize(ar); });
        auto load = [&](const std::vector<BYTE>& record) {
            std::unique_ptr<CObject> fresh(cell->GetRuntimeClass()->CreateObject());
            LoadBytes(record, [&](CArchive& ar) { fresh->Serialize(ar); });
        };
        for (size_t n = 0; n < bytes.size(); ++n)
            EXPECT_THROW(load(std::vector<BYTE>(bytes.begin(), bytes.begin() + long(n))), CArchiveException)
                << n;
        // One parent more, and none at all.
        for (int change : {+1, -1}) {
            std::unique_ptr<CObject> copy(cell->GetRuntimeClass()->CreateObject());
            LoadBytes(bytes, [&](CArchive& ar) { copy->Serialize(ar); });
            auto* damaged = static_cast<CGCell*>(copy.get());
            if (change > 0)
                damaged->m_parents.Add(1);
            else
                damaged->m_parents.RemoveAll();
            try {
                load(StoreBytes([&](CArchive& ar) { damaged->Serialize(ar); }));
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
        EXPECT_EQ(Pos(*back), Pos(*cell));
        EXPECT_EQ(back->GetDescription(), cell->GetDescription());
    }
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}

TEST_F(ConstructedRecordsTest, PageWithADamagedPointIsRefusedAndLeavesThePage) {
    CGLine* l1 = Line(0, 0, 0, 4, 0, 0);
    CGLine* l2 = Line(1, -1, 0, 1, 3, 0);
    Add<CGVerIntersection>(l1->m_id, l2->m_id)->m_parents.RemoveAt(1);
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
        const std::vector<float> at = Pos(*cell);
        for (WORD parentId : cell->m_parents) {
            CGCell* parent = m_page->FindCell(parentId);
            parent->m_valid = false;
            // Moving the vertex-array entry shows that an invalid point writes nothing there.
            float* slot = HxVertexSlot(cell->m_vertexIndex);
            slot[0] = 123.0f;
            cell->Recompute();
            EXPECT_FALSE(cell->m_valid) << parentId;
            EXPECT_EQ(Pos(*cell), at);
            EXPECT_EQ(slot[0], 123.0f);
            parent->m_valid = true;
            cell->Recompute();
            EXPECT_TRUE(cell->m_valid) << parentId;
            EXPECT_EQ(Pos(*cell), at);
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
