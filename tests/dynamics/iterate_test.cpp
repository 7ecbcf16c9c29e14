// The iteration figure without a window: what it takes from the construction (chain, drawables,
// values, parents), the nested triangles of midpoints drawn level by level and branch by branch,
// the page put back after every pass, the value table's rows, the depth from a value, ids that do not
// resolve, the record byte by byte and damaged, and the ids of a pasted iteration.
#include "iterate_fixture.h"

#include "model/cell_clipboard.h"
#include "model/dependent_points.h"
#include "support/cell_record.h"

#include <functional>

namespace {

using IterateTest = IterateFixtureT<PageFixture>;

struct P {
    float x, y;
};
P Mid(P a, P b) {
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f};
}

// The midpoint of AB at every drawing of the three Sierpinski mappings (A, D, F), (D, B, E),
// (F, E, C), depth first: an independent model of what the iteration draws.
void Sierpinski(P a, P b, P c, int level, int depth, std::vector<std::pair<float, float>>& out) {
    if (level > depth)
        return;
    const P d = Mid(a, b), e = Mid(b, c), f = Mid(c, a);
    const P maps[3][3] = {{a, d, f}, {d, b, e}, {f, e, c}};
    for (const auto& m : maps) {
        const P x = Mid(m[0], m[1]);
        out.emplace_back(x.x, x.y);
        Sierpinski(m[0], m[1], m[2], level + 1, depth, out);
    }
}

std::vector<WORD> Ids(const std::vector<WORD>& v) {
    return v;
}
std::vector<WORD> Ids(const CWordArray& a) {
    std::vector<WORD> v;
    for (WORD id : a)
        v.push_back(id);
    return v;
}
std::vector<WORD> Ids(const CList<WORD, WORD>& l) {
    std::vector<WORD> v;
    for (WORD id : l)
        v.push_back(id);
    return v;
}

using Places = std::vector<std::pair<float, float>>;

} // namespace

TEST_F(IterateTest, TakesTheChainDrawablesValuesAndParentsFromThePreImage) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    auto* text = new CGTmSingleline;
    text->m_id = NextId();
    text->AddParent(d->m_id);
    Insert(text);
    CGIterate* it = Iterate({Nested()}, 3);

    EXPECT_EQ(Ids(it->m_chain), std::vector<WORD>({d->m_id, e->m_id, f->m_id, recorder->m_id, x->m_id}));
    EXPECT_EQ(Ids(it->m_drawables), std::vector<WORD>({d->m_id, e->m_id, f->m_id, recorder->m_id}));
    EXPECT_EQ(Ids(it->m_values), std::vector<WORD>({x->m_id}));
    // A, B, C, D stand behind their first children; E, F, the recorder and the value have none.
    EXPECT_EQ(Ids(it->m_parents), std::vector<WORD>({e->m_id, f->m_id, recorder->m_id, x->m_id}));
    for (CGCell* parent : std::vector<CGCell*>{e, f, recorder, x})
        EXPECT_EQ(Ids(parent->m_children).back(), it->m_id);
    for (CGCell* cell : std::vector<CGCell*>{a, b, c, d, e, f, recorder, x, text})
        EXPECT_FALSE(cell->m_mark);
    // The figures' labels are hidden, the text is left as it was.
    EXPECT_EQ(recorder->m_labelHidden, 1);
    EXPECT_EQ(d->m_labelHidden, 1);
    EXPECT_EQ(it->m_branchCount, 1);
    EXPECT_EQ(it->m_depth, 3);
    EXPECT_EQ(it->m_valueCount, 1);
    EXPECT_EQ(it->m_showTable, 1);
    EXPECT_EQ(it->m_labelHidden, 0);
    EXPECT_EQ(it->m_showFull, 1);
    EXPECT_EQ(it->m_solidOnly, 0);
    EXPECT_FALSE(it->DepthFromValue());
    EXPECT_TRUE(it->m_valid);
    EXPECT_EQ(it->m_name, u"迭代");
    EXPECT_EQ(it->m_color, (CRgba{0, 0, 0, 255}));
    EXPECT_EQ(it->m_labelPos[0], -15.0f);
    EXPECT_EQ(it->m_labelPos[1], 8.0f);
    EXPECT_EQ(it->GetDescription(), u"3个对象的迭代图");
}

TEST_F(IterateTest, DrawsTheNestedTrianglesLevelByLevelAndPutsThePageBack) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    // Without values there is no table and the name is hidden.
    EXPECT_EQ(it->m_showTable, 0);
    EXPECT_EQ(it->m_labelHidden, 1);
    DrawOnlyTheRecorder(it);
    const std::vector<float> before = State();
    it->DrawVisible();
    EXPECT_EQ(Places(), (::Places{{0.0f, -1.5f}, {-0.75f, -0.75f}, {-1.125f, -0.75f}}));
    EXPECT_EQ(State(), before) << "every point, vertex-array entry and parameter as before";
    EXPECT_FLOAT_EQ(recorder->m_x, 0.0f);
    EXPECT_FLOAT_EQ(recorder->m_y, -3.0f);

    // Only the last level, and nothing at depth 0.
    log.clear();
    it->m_showFull = 0;
    it->DrawVisible();
    EXPECT_EQ(Places(), (::Places{{-1.125f, -0.75f}}));
    log.clear();
    it->m_showFull = 1;
    it->SetDepth(0);
    it->DrawVisible();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(State(), before);
}

TEST_F(IterateTest, BranchesAreVisitedDepthFirstFromTheStateTheirLevelLeft) {
    BuildTriangle();
    CGIterate* it =
        Iterate({{a->m_id, d->m_id, f->m_id}, {d->m_id, b->m_id, e->m_id}, {f->m_id, e->m_id, c->m_id}}, 2);
    DrawOnlyTheRecorder(it);
    EXPECT_EQ(it->m_branchCount, 3);
    const std::vector<float> before = State();
    it->DrawVisible();
    ::Places expected;
    Sierpinski({-3, -3}, {3, -3}, {-3, 3}, 1, 2, expected);
    ASSERT_EQ(expected.size(), 12u) << "3 + 9 figures";
    EXPECT_EQ(Places(), expected);
    EXPECT_EQ(State(), before);
}

TEST_F(IterateTest, EveryPassDrawsItsOwnOperationAndSolidOnlyKeepsTheVisibleEdges) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 2);
    DrawOnlyTheRecorder(it);
    it->DrawFill();
    it->DrawDepth();
    it->DrawHidden();
    it->DrawVisible();
    it->DrawOnTop();
    it->DrawLit();
    it->DrawTranslucent();
    std::string passes;
    for (const CRecorded& r : log)
        passes += r.pass;
    EXPECT_EQ(passes, "ffddhhvvttlluu");

    log.clear();
    it->m_solidOnly = 1;
    for (auto pass : {&CGCell::DrawFill, &CGCell::DrawDepth, &CGCell::DrawHidden, &CGCell::DrawVisible,
                      &CGCell::DrawOnTop, &CGCell::DrawLit, &CGCell::DrawTranslucent})
        (it->*pass)();
    passes.clear();
    for (const CRecorded& r : log)
        passes += r.pass;
    EXPECT_EQ(passes, "vv");

    // Hidden or invalid, the iteration draws nothing.
    log.clear();
    it->m_solidOnly = 0;
    it->m_hidden = 1;
    it->DrawVisible();
    EXPECT_TRUE(log.empty());
}

TEST_F(IterateTest, AFigureTheUserHidIsDrawnAtEveryLevelAndStaysHidden) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    DrawOnlyTheRecorder(it);
    recorder->m_hidden = 1;
    it->DrawVisible();
    ASSERT_EQ(log.size(), 3u);
    for (const CRecorded& r : log)
        EXPECT_EQ(r.hidden, 0);
    EXPECT_EQ(recorder->m_hidden, 1);
}

TEST_F(IterateTest, TheTableRecordsEachLevelAndNeverPassesTwentyOneRows) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested()}, 3);
    DrawOnlyTheRecorder(it);
    it->DrawOnTop();
    ASSERT_EQ(it->TableRows(), 4);
    const float expected[4][2] = {{0, 0.0f}, {1, 0.0f}, {2, -0.75f}, {3, -1.125f}};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(it->TableAt(row, 0), expected[row][0]) << row;
        EXPECT_EQ(it->TableAt(row, 1), expected[row][1]) << row;
    }
    EXPECT_EQ(x->m_param1, 0.0f) << "the value is back";

    // Deep: row 0 and twenty recorded rows; the deepest levels overwrite the last row.
    it->SetDepth(30);
    it->DrawOnTop();
    EXPECT_EQ(it->TableRows(), 21);
    EXPECT_EQ(it->TableAt(19, 0), 19.0f);
    EXPECT_EQ(it->TableAt(20, 0), 30.0f);
    // Three branches of depth 4 (120 figures) keep to 21 rows too.
    CGIterate* tree =
        Iterate({{a->m_id, d->m_id, f->m_id}, {d->m_id, b->m_id, e->m_id}, {f->m_id, e->m_id, c->m_id}}, 4);
    DrawOnlyTheRecorder(tree);
    tree->DrawOnTop();
    EXPECT_EQ(tree->TableRows(), 21);

    // Without the table nothing is recorded.
    it->SetShowTable(false);
    it->DrawOnTop();
    EXPECT_EQ(it->TableRows(), 1);
}

TEST_F(IterateTest, TheDepthFollowsAValueWithinZeroToAThousand) {
    auto* depth = Insert(new CGTmVarParameter(NextId(), CString(u"n"), 2.9f));
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    it->FollowDepthValue(depth->m_id);
    EXPECT_TRUE(it->DepthFromValue());
    EXPECT_EQ(Ids(it->m_parents).back(), depth->m_id);
    EXPECT_EQ(Ids(depth->m_children).back(), it->m_id);
    it->Recompute();
    EXPECT_EQ(it->m_depth, 2);
    for (auto [value, expected] : {std::pair{5000.0f, 1000}, {1000.5f, 1000}, {-3.0f, 0}, {7.9f, 7}}) {
        depth->m_param1 = value;
        it->Recompute();
        EXPECT_EQ(it->m_depth, expected) << value;
    }
    // The step keys leave such a depth alone; they work within 1..1000 otherwise.
    CGIterate* own = Iterate({Nested()}, 1000);
    EXPECT_FALSE(own->RaiseDepth());
    own->SetDepth(1);
    EXPECT_FALSE(own->LowerDepth());
    EXPECT_TRUE(own->RaiseDepth());
    EXPECT_EQ(own->m_depth, 2);
}

TEST_F(IterateTest, DefaultAndSuggestedDepths) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    EXPECT_EQ(it->m_chain.size(), 4u);
    EXPECT_EQ(it->DefaultDepth(), 1000) << "32000 / 4 is beyond the limit";
    it->m_branchCount = 2;
    EXPECT_EQ(it->DefaultDepth(), 11) << "log2(32000 / 8)";
    EXPECT_EQ(CGIterate::SuggestedDepth(2, 3), 12);
    EXPECT_EQ(CGIterate::SuggestedDepth(1, 100), 320);
    EXPECT_EQ(CGIterate::SuggestedDepth(1, 3), 1000);
    EXPECT_EQ(CGIterate::SuggestedDepth(3, 3), 8) << "log3(2 x 32000 / 9) = 8.07";
}

TEST_F(IterateTest, AnIdThatDoesNotResolveMakesItInvalidUntilItDoes) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    DrawOnlyTheRecorder(it);
    // A renumbering that misses E: every E becomes 0.
    CMap<WORD, WORD, WORD, WORD> map(10);
    map.InitHashTable(17);
    for (CGCell* cell : std::vector<CGCell*>{a, b, c, d, f, recorder})
        map.SetAt(cell->m_id, cell->m_id);
    it->RemapIds(map);
    EXPECT_EQ(it->m_idSets[1][1], 0);
    EXPECT_EQ(it->m_chain[1], 0);
    it->Recompute();
    EXPECT_FALSE(it->m_valid);
    it->DrawVisible();
    it->DrawOnTop();
    EXPECT_TRUE(log.empty());
    // Put back, it works again.
    it->ReplaceId(0, e->m_id);
    it->Recompute();
    EXPECT_TRUE(it->m_valid);
    it->DrawVisible();
    EXPECT_EQ(log.size(), 3u);

    // A point item that is no point is as bad as a missing one.
    auto* value = Insert(new CXValue(NextId(), d->m_id, u"v"));
    it->ReplaceId(e->m_id, value->m_id);
    it->Recompute();
    EXPECT_FALSE(it->m_valid);
}

TEST_F(IterateTest, ReplaceIdTouchesSetsChainDrawablesAndValues) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested()}, 3);
    it->ReplaceId(d->m_id, 500);
    it->ReplaceId(x->m_id, 501);
    EXPECT_EQ(it->m_idSets[1][0], 500);
    EXPECT_EQ(it->m_chain[0], 500);
    EXPECT_EQ(it->m_drawables[0], 500);
    EXPECT_EQ(it->m_values[0], 501);
}

// ---------------------------------------------------------------------------------------------
// Record

namespace {

ByteBuilder IterateRecord(const CGIterate& it) {
    CommonRecord r;
    r.id = it.m_id;
    r.name = it.m_name.Str();
    r.valid = it.m_valid;
    r.labelHidden = it.m_labelHidden;
    r.style = it.m_style;
    r.labelPos[0] = it.m_labelPos[0];
    r.labelPos[1] = it.m_labelPos[1];
    r.color = it.m_color;
    r.labelColor = it.m_labelColor;
    r.size = it.m_size;
    for (WORD p : it.m_parents)
        r.parents.push_back(p);
    ByteBuilder b;
    b.NewClass("CGIterate");
    r.AppendTo(b);
    b.I32(it.m_itemCount)
        .I32(it.m_pointCount)
        .I32(it.m_branchCount)
        .I32(it.m_depth)
        .I32(int(it.m_values.size()));
    b.U8(it.m_showFull).U8(it.m_showTable).U8(it.m_solidOnly);
    for (const auto& set : it.m_idSets)
        for (WORD id : set)
            b.U16(id);
    for (const auto* list : {&it.m_chain, &it.m_drawables, &it.m_values}) {
        b.I32(int(list->size()));
        for (WORD id : *list)
            b.U16(id);
    }
    return b;
}

std::unique_ptr<CGIterate> LoadIterate(const std::vector<BYTE>& bytes) {
    CObject* loaded = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { loaded = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    auto* it = DYNAMIC_DOWNCAST(CGIterate, loaded);
    if (!it)
        delete loaded;
    return std::unique_ptr<CGIterate>(it);
}

} // namespace

TEST_F(IterateTest, TheRecordIsTheCommonRecordThenCountsFlagsAndIdListsByteByByte) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested(), {e->m_id, f->m_id, d->m_id}}, 4);
    it->m_style = CGIterate::kDepthColors;
    it->m_solidOnly = 1;
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << it; });
    EXPECT_EQ(bytes, IterateRecord(*it).Bytes());
    auto back = LoadIterate(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_itemCount, 3);
    EXPECT_EQ(back->m_pointCount, 3);
    EXPECT_EQ(back->m_branchCount, 2);
    EXPECT_EQ(back->m_depth, 4);
    EXPECT_EQ(back->m_idSets, it->m_idSets);
    EXPECT_EQ(back->m_chain, it->m_chain);
    EXPECT_EQ(back->m_drawables, it->m_drawables);
    EXPECT_EQ(Ids(back->m_values), std::vector<WORD>({x->m_id}));
    EXPECT_EQ(back->m_style, CGIterate::kDepthColors);
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar << back.get(); }), bytes);
    // Every cut is refused.
    for (size_t size : {bytes.size() - 1, bytes.size() - 2, bytes.size() - 30, bytes.size() / 2}) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        EXPECT_THROW(LoadIterate(cut), CArchiveException) << size;
    }
}

TEST_F(IterateTest, DamagedRecordsAreRefusedOrBroughtWithinTheLimits) {
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    const std::vector<BYTE> good = IterateRecord(*it).Bytes();
    // The five counts stand before the three flags, the two id sets and the three lists.
    const size_t lists = 4 + 2 * it->m_chain.size() + 4 + 2 * it->m_drawables.size() + 4;
    const size_t sets = 2 * 3 * 2;
    const size_t counts = good.size() - lists - sets - 3 - 20;
    auto withInt = [&](size_t at, int v) {
        std::vector<BYTE> bytes = good;
        std::memcpy(&bytes[at], &v, 4);
        return bytes;
    };
    EXPECT_THROW(LoadIterate(withInt(counts, -1)), CArchiveException) << "negative item count";
    EXPECT_THROW(LoadIterate(withInt(counts, 0x40000000)), CArchiveException) << "more ids than bytes";
    EXPECT_THROW(LoadIterate(withInt(counts + 4, 4)), CArchiveException) << "more points than items";
    EXPECT_THROW(LoadIterate(withInt(counts + 8, 0x7FFFFFFF)), CArchiveException)
        << "branches beyond the bytes";
    EXPECT_THROW(LoadIterate(withInt(good.size() - 4, -2)), CArchiveException) << "negative value list";
    EXPECT_THROW(LoadIterate(withInt(good.size() - 4, 1000)), CArchiveException) << "values beyond the bytes";
    // A depth beyond the figure's limit loads as the limit, a negative one as 0; a stored value
    // count that disagrees with the values listed follows the list.
    auto deep = LoadIterate(withInt(counts + 12, 5000));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->m_depth, 1000);
    auto negative = LoadIterate(withInt(counts + 12, -7));
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->m_depth, 0);
    auto count = LoadIterate(withInt(counts + 16, 9));
    ASSERT_TRUE(count);
    EXPECT_EQ(count->m_valueCount, 0);

    // Sets of no items take no bytes: a huge branch count beside them loads as no branches (and
    // allocates nothing for them).
    auto* empty = Insert(new CGIterate(NextId(), 0, 0, 3, {{}, {}}));
    std::vector<BYTE> none = IterateRecord(*empty).Bytes();
    const size_t emptyCounts = none.size() - (3 * 4 + 3) - 20;
    const int branches = 0x7FFFFFFF;
    std::memcpy(&none[emptyCounts + 8], &branches, 4);
    auto noItems = LoadIterate(none);
    ASSERT_TRUE(noItems);
    EXPECT_EQ(noItems->m_branchCount, 0);
    EXPECT_EQ(noItems->m_idSets.size(), 1u);
    EXPECT_EQ(IterateRecord(*noItems).Bytes().size(), none.size());
}

// ---------------------------------------------------------------------------------------------
// Paste

TEST_F(IterateTest, APastedIterationKeepsItsIdsThroughTheNewNumbers) {
    CGVertex* pa = AddPoint(-3, -3, 0);
    CGVertex* pb = AddPoint(3, -3, 0);
    CGVertex* pc = AddPoint(-3, 3, 0);
    CGLine* ab = AddLine(pa->m_id, pb->m_id);
    CGLine* bc = AddLine(pb->m_id, pc->m_id);
    CGLine* ca = AddLine(pc->m_id, pa->m_id);
    auto mid = [&](CGLine* line) {
        const WORD id = NextId();
        return Insert(new CGVerMid(id, NextVertex(), m_page->MakeAutoLabel(1), line->m_id));
    };
    CGVerMid* md = mid(ab);
    CGVerMid* me = mid(bc);
    CGVerMid* mf = mid(ca);
    auto* it = Insert(
        new CGIterate(NextId(), 3, 3, 2, {{pa->m_id, pb->m_id, pc->m_id}, {md->m_id, me->m_id, mf->m_id}}));
    ASSERT_TRUE(it->m_valid);
    m_page->SelectCell(it->m_id);
    const std::vector<BYTE> block = StoreBytes([&](CArchive& ar) { m_page->WriteClipboardBlock(ar); });
    const WORD first = m_page->m_nextId;
    int pasted = 0;
    LoadBytes(block, [&](CArchive& ar) {
        int kind;
        ar >> kind;
        pasted = m_page->PasteFromClipboard(ar);
    });
    ASSERT_EQ(pasted, 10) << "the iteration with its nine ancestors";
    auto* copy = DYNAMIC_DOWNCAST(CGIterate, m_page->FindCell(WORD(first + 9)));
    ASSERT_NE(copy, nullptr);
    // The cells keep their order: A B C, the three lines, D E F, then the iteration.
    const std::vector<WORD> preImage{first, WORD(first + 1), WORD(first + 2)};
    const std::vector<WORD> images{WORD(first + 6), WORD(first + 7), WORD(first + 8)};
    EXPECT_EQ(copy->m_idSets[0], preImage);
    EXPECT_EQ(copy->m_idSets[1], images);
    EXPECT_EQ(copy->m_chain, std::vector<WORD>({WORD(first + 3), WORD(first + 4), WORD(first + 5),
                                                WORD(first + 6), WORD(first + 7), WORD(first + 8)}));
    EXPECT_EQ(copy->m_drawables, copy->m_chain);
    EXPECT_TRUE(copy->m_valid);
    // The original still names its own cells.
    EXPECT_EQ(it->m_idSets[0], std::vector<WORD>({pa->m_id, pb->m_id, pc->m_id}));
}
