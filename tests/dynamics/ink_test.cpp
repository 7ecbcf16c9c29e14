// Ink: strokes made from the pen's points, the ink cell's bounding box, records stored and loaded
// (stroke colours not kept, the cell's colour kept), damaged counts refused, and keeping the pen's
// strokes as ink cells grouped by colour in one undo step.
#include "construct/construct_fixture.h"
#include "dynamics/ink.h"
#include "support/archive_helpers.h"

#include <memory>

namespace {

std::vector<float> Points(std::initializer_list<float> xy) {
    std::vector<float> p;
    for (auto it = xy.begin(); it != xy.end(); it += 2)
        p.insert(p.end(), {it[0], it[1], 7.0f});
    return p;
}

// A stroke as the pen makes it, then drawn in `color` (as if the pen had had it).
CStroke* StrokeIn(CRgba color, std::initializer_list<float> xy) {
    const std::vector<float> p = Points(xy);
    auto* s = new CStroke(int(p.size() / 3), p.data());
    s->m_color = color;
    return s;
}

constexpr CRgba kRed{255, 0, 0, 255};
constexpr CRgba kRedOtherAlpha{255, 0, 0, 10};
constexpr CRgba kBlue{0, 0, 255, 255};

class InkTest : public ConstructTest {
protected:
    std::vector<CStroke*> m_strokes;
    void TearDown() override {
        for (CStroke* s : m_strokes)
            delete s;
        m_strokes.clear();
        ConstructTest::TearDown();
    }
};

} // namespace

TEST(InkStroke, MadeFromThePensPoints) {
    const std::vector<float> p = Points({1, 2, 3, 4});
    std::unique_ptr<CStroke> s(new CStroke(2, p.data()));
    ASSERT_EQ(s->GetCount(), 2);
    EXPECT_EQ(s->m_points, (std::vector<float>{1, 2, -50, 3, 4, -50}));
    EXPECT_EQ(s->m_color, HxInkPenColor());
    // The pen colour is the one current colour that the colour commands set.
    const CRgba saved = g_currentColor;
    g_currentColor = CRgba{0, 128, 64, 255};
    EXPECT_EQ(HxInkPenColor(), (CRgba{0, 128, 64, 255}));
    std::unique_ptr<CStroke> green(new CStroke(2, p.data()));
    EXPECT_EQ(green->m_color, (CRgba{0, 128, 64, 255}));
    g_currentColor = saved;
    // A stroke made by loading: no points, colour (255, 0, 0, 0).
    CStroke loaded;
    EXPECT_EQ(loaded.GetCount(), 0);
    EXPECT_EQ(loaded.m_color, (CRgba{255, 0, 0, 0}));
}

TEST(InkStroke, RecordIsCountThenXyPairs) {
    std::unique_ptr<CStroke> s(StrokeIn(kBlue, {1.5f, -2, 3, 4.25f}));
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { s->Serialize(ar); });
    EXPECT_EQ(bytes, ByteBuilder().I32(2).F32(1.5f).F32(-2).F32(3).F32(4.25f).Bytes());
    CStroke back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.m_points, (std::vector<float>{1.5f, -2, -50, 3, 4.25f, -50}));
}

TEST(InkStroke, LyingCountsRefused) {
    const std::vector<BYTE> cases[] = {
        ByteBuilder().I32(-1).Bytes(),
        ByteBuilder().I32(3).F32(1).F32(2).Bytes(),
        ByteBuilder().I32(0x7FFFFFFF).F32(1).F32(2).Bytes(),
    };
    for (const std::vector<BYTE>& bytes : cases) {
        CStroke s;
        EXPECT_THROW(LoadBytes(bytes, [&](CArchive& ar) { s.Serialize(ar); }), CArchiveException);
        EXPECT_EQ(s.GetCount(), 0);
    }
}

TEST(InkCell, BoundingBoxIsMinMaxXThenMinMaxY) {
    CGInkmarks ink;
    EXPECT_EQ(std::vector<float>(ink.m_box, ink.m_box + 4), (std::vector<float>{8000, -8000, 8000, -8000}));
    CGInkmarks cell(5, StrokeIn(kBlue, {1, 2, -3, 4}));
    EXPECT_EQ(cell.m_name, CString(u"Ink Marks"));
    EXPECT_FLOAT_EQ(cell.m_size, 3.0f);
    EXPECT_EQ(cell.m_color, kBlue);
    cell.AddStroke(StrokeIn(kRed, {5, -6}));
    EXPECT_EQ(std::vector<float>(cell.m_box, cell.m_box + 4), (std::vector<float>{-3, 5, -6, 4}));
    EXPECT_EQ(cell.GetDescription(), CString(u"画笔留下的墨迹"));
}

TEST(InkCell, StoredAndLoadedWithoutStrokeColours) {
    CGInkmarks cell(9, StrokeIn(kBlue, {1, 2, 3, 4}));
    cell.AddStroke(StrokeIn(kRed, {-1, -2, 5, 6, 7, 8}));
    cell.m_labelPos[0] = 0.5f;
    cell.m_labelPos[1] = -0.25f;
    cell.m_size = 2.0f;
    const std::vector<BYTE> bytes =
        StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(&cell); });
    std::unique_ptr<CObject> object;
    LoadBytes(bytes, [&](CArchive& ar) { object.reset(ar.ReadObject(RUNTIME_CLASS(CGInkmarks))); });
    auto* back = DYNAMIC_DOWNCAST(CGInkmarks, object.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_id, 9);
    EXPECT_EQ(back->m_color, kBlue);
    EXPECT_FLOAT_EQ(back->m_labelPos[0], 0.5f);
    EXPECT_FLOAT_EQ(back->m_labelPos[1], -0.25f);
    EXPECT_FLOAT_EQ(back->m_size, 2.0f);
    EXPECT_EQ(std::vector<float>(back->m_box, back->m_box + 4),
              std::vector<float>(cell.m_box, cell.m_box + 4));
    ASSERT_EQ(back->m_strokes.size(), 2u);
    EXPECT_EQ(back->m_strokes[0]->m_points, cell.m_strokes[0]->m_points);
    EXPECT_EQ(back->m_strokes[1]->m_points, cell.m_strokes[1]->m_points);
    for (const CStroke* s : back->m_strokes)
        EXPECT_EQ(s->m_color, (CRgba{255, 0, 0, 0}));
    // The record ends with the stroke array: its count, then each stroke as an object.
    const std::vector<BYTE> tail =
        ByteBuilder()
            .U16(2)
            .NewClass("CStroke")
            .I32(2)
            .F32(1)
            .F32(2)
            .F32(3)
            .F32(4)
            .U16(0x8000 | 3) // the class CStroke: index 3, after the cell's class and the cell
            .I32(3)
            .F32(-1)
            .F32(-2)
            .F32(5)
            .F32(6)
            .F32(7)
            .F32(8)
            .Bytes();
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - long(tail.size()), bytes.end()), tail);
}

TEST(InkCell, LyingStrokeCountsRefused) {
    CGInkmarks cell(9, StrokeIn(kBlue, {1, 2, 3, 4}));
    const std::vector<BYTE> good =
        StoreBytes([&](CArchive& ar) { ar << static_cast<const CObject*>(&cell); });
    // The array count (a WORD) sits before the first stroke: its class (2 + 2 + 2 + 7), point count and
    // two points follow.
    const size_t countAt = good.size() - (2 + 13 + 4 + 16);
    ASSERT_EQ(good[countAt], 1);
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases;
    std::vector<BYTE> b = good;
    b[countAt] = 200; // more strokes than bytes
    cases.push_back({"array count", b});
    b = good;
    b[countAt] = 0xFF; // a DWORD count follows
    b[countAt + 1] = 0xFF;
    b.insert(b.begin() + long(countAt) + 2, {0xFF, 0xFF, 0xFF, 0x7F});
    cases.push_back({"huge array count", b});
    b = good;
    b[good.size() - 20] = 0xFF; // the stroke's point count made negative
    b[good.size() - 17] = 0xFF;
    cases.push_back({"negative point count", b});
    b = good;
    b[good.size() - 20] = 9; // more points than bytes
    cases.push_back({"point count", b});
    for (const Case& c : cases) {
        EXPECT_THROW(
            LoadBytes(c.bytes, [&](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CGInkmarks)); }),
            CArchiveException)
            << c.what;
    }
}

TEST_F(InkTest, RedRedBlueMakeTwoCellsInOneStep) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    m_strokes = {StrokeIn(kRed, {0, 0, 1, 1}), StrokeIn(kRedOtherAlpha, {2, 2, 3, 3}),
                 StrokeIn(kBlue, {4, 4, 5, 5})};
    EXPECT_EQ(HxSaveInk(m_doc.get(), m_strokes, 1.5f, -2.0f, 4.0f), 2);
    EXPECT_TRUE(m_strokes.empty());
    ExpectUndoStep<CCmdAddCells>(u"添加墨迹", 2);
    auto* red = DYNAMIC_DOWNCAST(CGInkmarks, m_page->FindCell(first));
    auto* blue = DYNAMIC_DOWNCAST(CGInkmarks, m_page->FindCell(WORD(first + 1)));
    ASSERT_NE(red, nullptr);
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(red->m_strokes.size(), 2u);
    EXPECT_EQ(blue->m_strokes.size(), 1u);
    EXPECT_EQ(red->m_color, kRed);
    EXPECT_EQ(blue->m_color, kBlue);
    for (CGInkmarks* ink : {red, blue}) {
        EXPECT_FLOAT_EQ(ink->m_labelPos[0], -1.5f);
        EXPECT_FLOAT_EQ(ink->m_labelPos[1], 2.0f);
        EXPECT_FLOAT_EQ(ink->m_size, 4.0f);
    }
    EXPECT_EQ(std::vector<float>(red->m_box, red->m_box + 4), (std::vector<float>{0, 3, 0, 3}));
    EXPECT_TRUE(m_doc->IsModified());
    ExpectUndoRedo(before);
}

TEST_F(InkTest, ColourChangesStartNewCells) {
    m_strokes = {StrokeIn(kRed, {0, 0, 1, 1}), StrokeIn(kBlue, {2, 2, 3, 3}), StrokeIn(kRed, {4, 4, 5, 5})};
    EXPECT_EQ(HxSaveInk(m_doc.get(), m_strokes, 0, 0, 2), 3);
    ExpectUndoStep<CCmdAddCells>(u"添加墨迹", 3);
    m_strokes = {StrokeIn(kBlue, {0, 0, 1, 1})};
    EXPECT_EQ(HxSaveInk(m_doc.get(), m_strokes, 0, 0, 2), 1);
    ExpectUndoStep<CCmdAddCell>(u"添加墨迹");
}

TEST_F(InkTest, NoStrokesNoStep) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    EXPECT_EQ(HxSaveInk(m_doc.get(), m_strokes, 0, 0, 2), 0);
    m_strokes = {StrokeIn(kRed, {0, 0, 1, 1})};
    EXPECT_EQ(HxSaveInk(nullptr, m_strokes, 0, 0, 2), 0);
    EXPECT_EQ(m_strokes.size(), 1u);
    ExpectNothingDone(before);
}
