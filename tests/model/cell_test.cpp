// The cell base: defaults, the common record in both layouts, copying, validity from the parents,
// the marking walks, the number format and the view-direction probe.
#include "model/cell.h"

#include "support/archive_helpers.h"
#include "support/model_fixture.h"
#include "model_checks.h"

#include <cmath>
#include <memory>

namespace {

// A cell class with a pass of its own, to see which virtual operations reach it.
class CProbeCell : public CGCell {
    DECLARE_SERIAL(CProbeCell)
public:
    int m_litCalls = 0;
    void DrawLit() override { ++m_litCalls; }
};
IMPLEMENT_SERIAL(CProbeCell, CGCell, 1)

std::vector<BYTE> StoreRecord(CGCell& cell) {
    return StoreBytes([&](CArchive& ar) { cell.Serialize(ar); });
}

// The common record of a default cell, field by field.
ByteBuilder DefaultRecord(bool gf) {
    ByteBuilder b;
    b.U16(0).Str(u"").U8(1).I32(0).I32(1).U8(0).U8(0);
    b.F32(0).F32(0).F32(0);
    b.U8(0).U8(0).U8(128).U8(255).U8(0).U8(0).U8(0).U8(255);
    b.F32(0).F32(0).F32(0).I32(0).Str(u"").U8(0).F32(2.0f).U8(0);
    b.I32(0).I32(0).F32(0).Str(u"");
    if (!gf)
        b.I32(0).I32(0).I32(0).I32(0).F32(0).Str(u"");
    b.U16(0).U16(0);
    return b;
}

void FillEveryField(CGCell& c) {
    c.m_id = 0x1234;
    c.m_name = u"AB'";
    c.m_valid = false;
    c.m_hidden = 7;
    c.m_labelHidden = 0;
    c.m_style = 4;
    c.m_kind = 3;
    c.m_labelPos[0] = 1.5f;
    c.m_labelPos[1] = -2.25f;
    c.m_labelPos[2] = 3.0f;
    c.m_color = CRgba{10, 20, 30, 90};
    c.m_labelColor = CRgba{40, 50, 60, 70};
    c.m_param1 = 0.5f;
    c.m_param2 = -1.0f;
    c.m_param3 = 1e6f;
    c.m_param4 = -3;
    c.m_text1 = u"第一";
    c.m_nameFixed = true;
    c.m_size = 6.5f;
    c.m_traced = true;
    c.m_extA1 = 11;
    c.m_extA2 = -12;
    c.m_extA3 = 0.125f;
    c.m_text3 = u"<#><l></l></#>";
    c.m_extB1 = 1;
    c.m_extB2 = 2;
    c.m_extB3 = 3;
    c.m_extB4 = 4;
    c.m_extB5 = 5.5f;
    c.m_text4 = u"四";
    c.m_parents.Add(3);
    c.m_parents.Add(5);
    c.m_children.AddTail(0x2000);
    c.m_children.AddTail(0x1300);
    c.m_children.AddTail(0x1400);
    // Never stored:
    c.m_selected = true;
    c.m_highlighted = true;
    c.m_mark = true;
    c.m_flag2 = false;
    c.m_text2 = u"\x0101\x0102";
}

ByteBuilder FullRecord(bool gf) {
    ByteBuilder b;
    b.U16(0x1234).Str(u"AB'").U8(0).I32(7).I32(0).U8(4).U8(3);
    b.F32(1.5f).F32(-2.25f).F32(3.0f);
    b.U8(10).U8(20).U8(30).U8(90).U8(40).U8(50).U8(60).U8(70);
    b.F32(0.5f).F32(-1.0f).F32(1e6f).I32(-3).Str(u"第一").U8(1).F32(6.5f).U8(1);
    b.I32(11).I32(-12).F32(0.125f).Str(u"<#><l></l></#>");
    if (!gf)
        b.I32(1).I32(2).I32(3).I32(4).F32(5.5f).Str(u"四");
    b.U16(2).U16(3).U16(5);
    b.U16(3).U16(0x2000).U16(0x1300).U16(0x1400);
    return b;
}

// A small page of cells kept in a map of its own, current through g_cellMap.
class CellGraph {
public:
    CellGraph() { g_cellMap = &m_map; }
    ~CellGraph() {
        for (POSITION p = m_map.GetStartPosition(); p;) {
            WORD id;
            CGCell* c;
            m_map.GetNextAssoc(p, id, c);
            delete c;
        }
        m_map.RemoveAll();
        g_cellMap = nullptr;
    }
    CGCell* Add(WORD id, std::initializer_list<WORD> parents) {
        auto* c = new CGCell;
        c->m_id = id;
        for (WORD p : parents)
            c->AddParent(p);
        m_map.SetAt(id, c);
        return c;
    }
    CGCell* operator[](WORD id) { return m_map.Find(id); }
    std::vector<WORD> Marked() {
        std::vector<WORD> ids;
        for (WORD id : m_map.Keys())
            if (m_map.Find(id)->m_mark)
                ids.push_back(id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    CCellMap m_map;
};

class CellTest : public ModelTest {};

} // namespace

// The stored defaults are in the default record below; here the globals they come from.
TEST_F(CellTest, DefaultsComeFromTheGlobals) {
    g_colorObject = CRgba{1, 2, 3, 4};
    g_colorLabel = CRgba{5, 6, 7, 8};
    g_lineWidth = 3.5f;
    CGCell d;
    EXPECT_EQ(d.m_color, (CRgba{1, 2, 3, 4}));
    EXPECT_EQ(d.m_labelColor, (CRgba{5, 6, 7, 8}));
    EXPECT_EQ(d.m_size, 3.5f);
}

TEST_F(CellTest, DefaultAndFullRecordsInBothLayouts) {
    CGCell def, full;
    FillEveryField(full);
    for (BOOL gf : {FALSE, TRUE}) {
        g_saveGfFormat = gf;
        EXPECT_EQ(StoreRecord(def).size(), gf ? 83u : 107u);
        EXPECT_EQ(StoreRecord(def), DefaultRecord(gf).Bytes()) << gf;
        EXPECT_EQ(StoreRecord(full), FullRecord(gf).Bytes()) << gf;
    }
}

TEST_F(CellTest, RoundTripKeepsStoredFieldsAndDefaultsTheOthers) {
    for (BOOL gf : {FALSE, TRUE}) {
        SCOPED_TRACE(gf);
        g_saveGfFormat = gf;
        CGCell c;
        FillEveryField(c);
        std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << &c; });
        std::unique_ptr<CGCell> back;
        LoadBytes(bytes, [&](CArchive& ar) {
            CGCell* p = nullptr;
            ar >> p;
            back.reset(p);
        });
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetRuntimeClass(), RUNTIME_CLASS(CGCell));
        // Every stored field came back: stored again, the record is the same.
        EXPECT_EQ(StoreRecord(*back), FullRecord(gf).Bytes());
        EXPECT_EQ(back->m_text4, gf ? u"" : u"四");
        EXPECT_EQ(back->m_extB5, gf ? 0.0f : 5.5f);
        EXPECT_EQ(back->m_extB1, gf ? 0 : 1);
        // Never stored: constructor defaults.
        EXPECT_FALSE(back->m_selected || back->m_highlighted || back->m_mark);
        EXPECT_TRUE(back->m_flag2);
        EXPECT_TRUE(back->m_text2.IsEmpty());
    }
}

TEST_F(CellTest, AnyNonZeroBoolByteReadsAsSet) {
    CGCell c;
    std::vector<BYTE> bytes = StoreRecord(c);
    bytes[6] = 0x07;  // m_valid, after the id and the empty name
    bytes[57] = 0x80; // m_nameFixed, after m_text1
    bytes[62] = 0x02; // m_traced, after m_size
    CGCell back;
    back.m_valid = false;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_TRUE(back.m_valid);
    EXPECT_TRUE(back.m_nameFixed);
    EXPECT_TRUE(back.m_traced);
}

TEST_F(CellTest, EveryTruncatedRecordThrows) {
    CGCell c;
    FillEveryField(c);
    std::vector<BYTE> bytes = StoreRecord(c);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + long(n));
        CGCell back;
        EXPECT_THROW(LoadBytes(cut, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException) << n;
    }
}

TEST_F(CellTest, AssignmentCopiesTheCommonAttributesAndTheChildList) {
    CGCell src;
    FillEveryField(src);
    CGCell dst;
    dst.m_parents.Add(77);
    dst.m_children.AddTail(99);
    dst.m_extA1 = 100;
    dst.m_extA3 = 9.0f;
    dst.m_text3 = u"keep3";
    dst.m_extB2 = 200;
    dst.m_extB5 = 8.0f;
    dst.m_text4 = u"keep4";
    dst = src;

    // Copied: the common attributes, the flags and texts that go with them, the child list.
    EXPECT_EQ(dst.m_id, src.m_id);
    EXPECT_EQ(dst.m_name, src.m_name);
    EXPECT_EQ(dst.m_color, src.m_color);
    EXPECT_EQ(dst.m_labelColor, src.m_labelColor);
    EXPECT_EQ(dst.m_style, 4);
    EXPECT_EQ(dst.m_kind, 3);
    EXPECT_EQ(dst.m_size, 6.5f);
    EXPECT_EQ(dst.m_labelPos[0], 1.5f);
    EXPECT_EQ(Ids(dst.m_children), Ids(src.m_children));
    EXPECT_FALSE(dst.m_valid || dst.m_flag2);
    EXPECT_EQ(dst.m_hidden, 7);
    EXPECT_EQ(dst.m_labelHidden, 0);
    EXPECT_TRUE(dst.m_nameFixed);
    EXPECT_EQ(dst.m_param1, 0.5f);
    EXPECT_EQ(dst.m_param4, -3);
    EXPECT_EQ(dst.m_text1, src.m_text1);
    EXPECT_EQ(dst.m_text2, src.m_text2);
    EXPECT_EQ(dst.m_extB1, 1);
    // Not copied:
    EXPECT_EQ(dst.m_parents.Vector(), (std::vector<WORD>{77}));
    EXPECT_EQ(dst.m_extA1, 100);
    EXPECT_EQ(dst.m_extA3, 9.0f);
    EXPECT_EQ(dst.m_text3, u"keep3");
    EXPECT_EQ(dst.m_extB2, 200);
    EXPECT_EQ(dst.m_extB5, 8.0f);
    EXPECT_EQ(dst.m_text4, u"keep4");
    // Cleared even though the source has them set:
    EXPECT_FALSE(dst.m_selected || dst.m_highlighted || dst.m_mark || dst.m_traced);

    // Onto itself: nothing changes, the flags stay.
    src = *&src;
    EXPECT_TRUE(src.m_selected && src.m_highlighted && src.m_mark && src.m_traced);
    EXPECT_EQ(Ids(src.m_children), (std::vector<WORD>{0x2000, 0x1300, 0x1400}));
}

TEST_F(CellTest, ValidityFollowsTheParents) {
    CGCell lone;
    lone.m_valid = false;
    lone.Recompute();
    EXPECT_TRUE(lone.m_valid);

    CellGraph g;
    g.Add(1, {});
    g.Add(2, {});
    CGCell* c = g.Add(3, {1, 2});
    c->Recompute();
    EXPECT_TRUE(c->m_valid);
    g[2]->m_valid = false;
    c->Recompute();
    EXPECT_FALSE(c->m_valid);
    g[2]->m_valid = true;
    c->Recompute();
    EXPECT_TRUE(c->m_valid);
    // A parent that is not in the page leaves nothing to stand on.
    c->m_parents.Add(40);
    c->Recompute();
    EXPECT_FALSE(c->m_valid);
}

TEST_F(CellTest, ConstructionLinksIntoTheParentsInOrder) {
    CellGraph g;
    g.Add(1, {});
    g.Add(2, {});
    g.Add(3, {2, 1});
    g.Add(4, {1});
    EXPECT_EQ(g[3]->m_parents.Vector(), (std::vector<WORD>{2, 1}));
    EXPECT_EQ(Ids(g[1]->m_children), (std::vector<WORD>{3, 4}));
    EXPECT_EQ(Ids(g[2]->m_children), (std::vector<WORD>{3}));
}

// 1, 2 -> 3 -> 4, 5 -> 6 (a diamond below 3), 7 alone.
TEST_F(CellTest, MarkingWalksNeverMarkTheStartCell) {
    CellGraph g;
    g.Add(1, {});
    g.Add(2, {});
    g.Add(3, {1, 2});
    g.Add(4, {3});
    g.Add(5, {3});
    g.Add(6, {4, 5});
    g.Add(7, {});
    // Clears every mark, then sets those given.
    auto marks = [&](std::initializer_list<WORD> ids) {
        for (WORD id = 1; id <= 7; ++id)
            g[id]->m_mark = false;
        for (WORD id : ids)
            g[id]->m_mark = true;
    };
    g[3]->MarkDescendants();
    EXPECT_EQ(g.Marked(), (std::vector<WORD>{4, 5, 6}));
    marks({});
    g[6]->MarkAncestors();
    EXPECT_EQ(g.Marked(), (std::vector<WORD>{1, 2, 3, 4, 5}));
    // A marked start cell marks nothing.
    marks({3});
    g[3]->MarkDescendants();
    g[3]->MarkAncestors();
    EXPECT_EQ(g.Marked(), (std::vector<WORD>{3}));
    // A marked cell is not walked through: 6 is reached through 5 only.
    marks({4});
    g[3]->MarkDescendants();
    EXPECT_EQ(g.Marked(), (std::vector<WORD>{4, 5, 6}));
    marks({4, 5});
    g[3]->MarkDescendants();
    EXPECT_EQ(g.Marked(), (std::vector<WORD>{4, 5}));
    // Cells without children or parents mark nothing.
    marks({});
    g[7]->MarkDescendants();
    g[7]->MarkAncestors();
    g[6]->MarkDescendants();
    g[1]->MarkAncestors();
    EXPECT_TRUE(g.Marked().empty());
}

TEST_F(CellTest, LongChainsAreMarkedWithoutDeepRecursion) {
    CellGraph g;
    g.Add(1, {});
    for (WORD id = 2; id <= 60000; ++id)
        g.Add(id, {WORD(id - 1)});
    g[1]->MarkDescendants();
    EXPECT_FALSE(g[1]->m_mark);
    EXPECT_TRUE(g[2]->m_mark);
    EXPECT_TRUE(g[60000]->m_mark);
}

// The lit pass of the second kind reaches the class only when asked for.
TEST_F(CellTest, BaseOperations) {
    CProbeCell c;
    c.DrawLit2(FALSE);
    EXPECT_EQ(c.m_litCalls, 0);
    c.DrawLit2(TRUE);
    EXPECT_EQ(c.m_litCalls, 1);
    EXPECT_TRUE(c.GetDescription().IsEmpty());
}

TEST(FormatNumberAuto, ChoosesTheFormatByValueAndStep) {
    // About 1 either side shows whole numbers, just above 1.001 two decimals; whole values (negative
    // ones too) whatever the step.
    const struct {
        float value, step;
        const char16_t* format;
    } rows[] = {{0.1f, 2.0f, u"%.0f"},     {0.1f, 2.5f, u"%.1f"},      {1.0f, 2.5f, u"%.0f"},
                {2.0f, 2.5f, u"%.2f"},     {0.01f, -2.5f, u"%.2f"},    {0.00005f, 2.5f, u"%.5f"},
                {0.001f, 2.5f, u"%.3f"},   {0.0001f, 2.5f, u"%.4f"},   {0.00001f, 2.5f, u"%.5f"},
                {0.9995f, 2.5f, u"%.0f"},  {1.0009f, 2.5f, u"%.0f"},   {1.002f, 2.5f, u"%.2f"},
                {0.00001f, -7.0f, u"%.0f"}, {5.0f, 0.0f, u"%.0f"},     {0.1f, 3.0000002f, u"%.0f"}};
    for (const auto& r : rows)
        EXPECT_EQ(FormatNumberAuto(r.value, r.step), r.format) << r.value << " step " << r.step;
}

TEST_F(CellTest, ViewDirectionThroughTheKeptMatrices) {
    // Identity matrices, viewport 800 x 600: (600, 400) is (0.5, 1/3) in normalised coordinates.
    ComputeViewDirection();
    EXPECT_DOUBLE_EQ(g_pickRayNear[0], 0.5);
    EXPECT_NEAR(g_pickRayNear[1], 1.0 / 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(g_pickRayNear[2], -1.0);
    EXPECT_DOUBLE_EQ(g_pickRayFar[2], 1.0);
    EXPECT_EQ(g_viewDirX, 0.0f);
    EXPECT_FLOAT_EQ(g_viewDirY, 0.0f);
    EXPECT_EQ(g_viewDirZ, -2.0f);

    // Orthographic box x -10..10, y -7.5..7.5, depth -64..200, camera moved back by 50.
    const double l = -10, r = 10, b = -7.5, t = 7.5, n = -64, f = 200;
    const double proj[16] = {2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, -2 / (f - n), 0,
                             -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1};
    std::copy(proj, proj + 16, g_projectionMatrix);
    g_modelviewMatrix[14] = -50.0;
    ComputeViewDirection();
    EXPECT_NEAR(g_pickRayNear[0], 5.0, 1e-9);
    EXPECT_NEAR(g_pickRayNear[1], 2.5, 1e-9);
    EXPECT_NEAR(g_pickRayNear[2], 114.0, 1e-9);
    EXPECT_NEAR(g_pickRayFar[2], -150.0, 1e-9);
    EXPECT_NEAR(g_viewDirX, 0.0f, 1e-6);
    EXPECT_NEAR(g_viewDirY, 0.0f, 1e-6);
    EXPECT_NEAR(g_viewDirZ, 264.0f, 1e-4);

    // A projection that cannot be inverted leaves the ray as it was.
    std::fill(g_projectionMatrix, g_projectionMatrix + 16, 0.0);
    ComputeViewDirection();
    EXPECT_NEAR(g_viewDirZ, 264.0f, 1e-4);
    EXPECT_NEAR(g_pickRayNear[2], 114.0, 1e-9);
}
