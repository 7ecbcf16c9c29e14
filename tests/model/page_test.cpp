// The page: defaults from the view globals, the page record in both layouts, cells stored and
// loaded by class, the map's walking order, and the refusal of damaged records.
#include "model/page.h"

#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/model_fixture.h"
#include "model_checks.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace {

// A cell class with fields of its own that counts its live instances.
class CTestPagePoint : public CGCell {
    DECLARE_SERIAL(CTestPagePoint)
public:
    CTestPagePoint() { ++s_live; }
    ~CTestPagePoint() override { --s_live; }
    void Serialize(CArchive& ar) override {
        CGCell::Serialize(ar);
        if (ar.IsStoring())
            ar << m_x << m_y << m_z;
        else
            ar >> m_x >> m_y >> m_z;
    }
    float m_x = 0, m_y = 0, m_z = 0;
    static int s_live;
};
int CTestPagePoint::s_live = 0;
IMPLEMENT_SERIAL(CTestPagePoint, CGCell, 1)

class CCountedState : public CObject {
public:
    CCountedState() { ++s_live; }
    ~CCountedState() override { --s_live; }
    static int s_live;
};
int CCountedState::s_live = 0;

class CCountedCmd : public CCmd {
public:
    CCountedCmd() : CCmd(u"x") { ++s_live; }
    ~CCountedCmd() override { --s_live; }
    BOOL Undo() override { return TRUE; }
    BOOL Redo() override { return TRUE; }
    static int s_live;
};
int CCountedCmd::s_live = 0;

CTestPagePoint* AddPoint(CGPage& page, WORD id, std::initializer_list<WORD> parents = {}, float x = 0) {
    auto* p = new CTestPagePoint;
    p->m_id = id;
    p->m_x = x;
    for (WORD parent : parents) {
        p->m_parents.Add(parent);
        if (CGCell* c = page.m_cells.Find(parent))
            c->m_children.AddTail(id);
    }
    page.m_cells.SetAt(id, p);
    return p;
}

std::vector<BYTE> StorePage(CGPage& page) {
    return StoreBytes([&](CArchive& ar) { page.Serialize(ar); });
}

void LoadPage(CGPage& page, const std::vector<BYTE>& bytes) {
    LoadBytes(bytes, [&](CArchive& ar) { page.Serialize(ar); });
}

// The common record of a cell with default fields but for its id and links.
void AppendCellRecord(ByteBuilder& b, WORD id, std::vector<WORD> parents, std::vector<WORD> children) {
    CommonRecord r{.id = id, .name = {}, .parents = std::move(parents), .children = std::move(children)};
    r.AppendTo(b);
}

// The ids from `from` to `to`, both included, counting up or down.
std::vector<WORD> IdRun(int from, int to) {
    std::vector<WORD> ids;
    for (int k = from;; k += from < to ? 1 : -1) {
        ids.push_back(WORD(k));
        if (k == to)
            return ids;
    }
}

// The record of a new page after the map, with the start values of the view globals.
void AppendDefaultHeader(ByteBuilder& b, WORD nextId, bool gf) {
    b.U16(0).Str(u"").U16(nextId).U16(1).U8('A').U8(' ').U8(1).I32(0).U8(1).U8(0).U8(0).I32(0).I32(0);
    b.F32(float(-0.6035533905932737)).F32(float(-0.07945931129894555)).F32(float(-0.10355339059327374));
    b.F32(0).F32(0).F32(-50.0f).F32(1.0f).I32(1).U8(0).U8(0);
    b.F32(1).F32(1).F32(1).F32(1);
    b.I32(gf ? 0 : 1).I32(0).F32(float(0.786566092485493)).Str(u"");
    if (!gf)
        b.I32(1).I32(20).I32(0).I32(0).I32(0).Str(u"");
}

class PageTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        m_liveBefore = CTestPagePoint::s_live;
    }
    void TearDown() override {
        EXPECT_EQ(CTestPagePoint::s_live, m_liveBefore) << "cells leaked or deleted twice";
        ModelTest::TearDown();
    }
    int m_liveBefore = 0;
};

} // namespace

TEST_F(PageTest, NewPageTakesTheCurrentView) {
    g_viewTransX = 1.5f;
    g_viewTransY = -2.0f;
    g_viewTransZ = -30.0f;
    g_viewRotation[0] = 0.5; // w
    g_viewRotation[1] = 0.1; // x
    g_viewRotation[2] = 0.2; // y
    g_viewRotation[3] = 0.3; // z
    g_viewZoom = 2.5f;
    g_backgroundColor[0] = 0.25f;
    g_backgroundColor[3] = 0.75f;
    g_projectionType = 2;
    g_viewLocked = 1;
    g_dragLocked = 1;
    CGPage page;
    EXPECT_EQ(page.m_viewTrans[0], 1.5f);
    EXPECT_EQ(page.m_viewTrans[1], -2.0f);
    EXPECT_EQ(page.m_viewTrans[2], -30.0f);
    EXPECT_EQ(page.m_viewRot[0], 0.1f);
    EXPECT_EQ(page.m_viewRot[1], 0.2f);
    EXPECT_EQ(page.m_viewRot[2], 0.3f);
    EXPECT_EQ(page.m_viewRot[3], 0.5f);
    EXPECT_EQ(page.m_viewZoom, 2.5f);
    EXPECT_EQ(page.m_background[0], 0.25f);
    EXPECT_EQ(page.m_background[1], 1.0f);
    EXPECT_EQ(page.m_background[3], 0.75f);
    EXPECT_EQ(page.m_projection, 2);
    EXPECT_TRUE(page.m_viewLocked);
    EXPECT_TRUE(page.m_dragLocked);
}

TEST_F(PageTest, EmptyPageRecordInBothLayouts) {
    CGPage page;
    ByteBuilder hvx;
    hvx.U16(0);
    AppendDefaultHeader(hvx, 1, false);
    std::vector<BYTE> bytes = StorePage(page);
    EXPECT_EQ(bytes.size(), 120u);
    EXPECT_EQ(bytes, hvx.Bytes());
    EXPECT_EQ(page.m_hasExtBlock, 1);

    g_saveGfFormat = TRUE;
    ByteBuilder gf;
    gf.U16(0);
    AppendDefaultHeader(gf, 1, true);
    bytes = StorePage(page);
    EXPECT_EQ(bytes.size(), 96u);
    EXPECT_EQ(bytes, gf.Bytes());
    EXPECT_EQ(bytes[80], 0);
    EXPECT_EQ(page.m_hasExtBlock, 0); // the member takes the flag written
}

TEST_F(PageTest, CellsAreWrittenByClassInMapOrder) {
    CGPage page;
    AddPoint(page, 1);
    auto* plain = new CGCell;
    plain->m_id = 2;
    page.m_cells.SetAt(2, plain);
    AddPoint(page, 3, {1, 2});
    page.m_nextId = 4;

    ByteBuilder b;
    b.U16(3);
    // keys 1..3 share bucket 0 and walk newest first: 3, 2, 1
    b.U16(3).NewClass("CTestPagePoint");
    AppendCellRecord(b, 3, {1, 2}, {});
    b.F32(0).F32(0).F32(0);
    b.U16(2).NewClass("CGCell");
    AppendCellRecord(b, 2, {}, {3});
    b.U16(1).U16(0x8001); // the class of the first object written
    AppendCellRecord(b, 1, {}, {3});
    b.F32(0).F32(0).F32(0);
    AppendDefaultHeader(b, 4, false);
    EXPECT_EQ(StorePage(page), b.Bytes());
}

TEST_F(PageTest, RoundTripKeepsCellsFieldsAndMfcMapOrder) {
    CGPage page;
    for (WORD id = 1; id <= 40; ++id) {
        if (id % 3 == 0)
            AddPoint(page, id, {WORD(id - 1), WORD(id - 2)}, float(id));
        else
            AddPoint(page, id, {}, float(id));
    }
    page.m_pageId = 7;
    page.m_title = u"第二页";
    page.m_nextId = 41;
    page.m_nextVertex = 28;
    page.m_labelLetter = 'M';
    page.m_labelSuffix = '1';
    page.m_circleCounter = 200;
    page.m_threeView = 1;
    page.m_threeViewPersp = false;
    page.m_buttonSlot = 130;
    page.m_textSlot = 17;
    page.m_pageSelected = 1;
    page.m_snapshot = 1;
    page.m_viewRot[0] = 0.1f;
    page.m_viewRot[1] = 0.2f;
    page.m_viewRot[2] = 0.3f;
    page.m_viewRot[3] = 0.9f;
    page.m_viewTrans[0] = 4.0f;
    page.m_viewZoom = 0.5f;
    page.m_projection = 0;
    page.m_viewLocked = true;
    page.m_background[2] = 0.5f;
    page.m_autoButton = 39;
    page.m_mediaFile = u"/media/片.mp4";
    page.m_dashedBehindLit = 0;
    page.m_unitsPerLength = 10;
    page.m_reserved2 = 5;
    page.m_reservedText = u"r";

    std::vector<WORD> walk = IdRun(15, 1), second = IdRun(31, 16), third = IdRun(40, 32);
    walk.insert(walk.end(), second.begin(), second.end());
    walk.insert(walk.end(), third.begin(), third.end());
    EXPECT_EQ(page.m_cells.Keys(), walk);

    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << &page; });
    std::unique_ptr<CGPage> back;
    LoadBytes(bytes, [&](CArchive& ar) {
        CGPage* p = nullptr;
        ar >> p;
        back.reset(p);
    });
    ASSERT_TRUE(back);
    // Loading inserts in the stored order, so each bucket walks the other way round, as it does
    // in every program that reads MFC maps.
    EXPECT_EQ(back->m_cells.Keys(), IdRun(1, 40));
    // Loaded once more, each bucket walks as it first did: every field came back.
    CGPage again;
    LoadPage(again, StoreBytes([&](CArchive& ar) { back->Serialize(ar); }));
    EXPECT_EQ(StorePage(again), StorePage(page));
    EXPECT_EQ(back->m_title, u"第二页");
    EXPECT_EQ(back->m_mediaFile, u"/media/片.mp4");
}

TEST_F(PageTest, GfRecordStopsAfterTheMediaFileAndLoadsWithDefaults) {
    CGPage page;
    page.m_dashedBehindLit = 0;
    page.m_unitsPerLength = 10;
    page.m_reserved1 = 3;
    page.m_mediaFile = u"m";
    std::vector<BYTE> bytes;
    {
        CGfFormatScope gf;
        bytes = StorePage(page);
    }
    EXPECT_FALSE(g_saveGfFormat);
    EXPECT_EQ(bytes.size(), 96u + 2);
    EXPECT_EQ(bytes[80], 0);

    for (BOOL gf : {FALSE, TRUE}) {
        g_saveGfFormat = gf;
        CGPage back;
        LoadPage(back, bytes);
        EXPECT_EQ(back.m_hasExtBlock, 1);
        EXPECT_EQ(back.m_dashedBehindLit, 1);
        EXPECT_EQ(back.m_unitsPerLength, 20);
        EXPECT_EQ(back.m_reserved1, 0);
        EXPECT_EQ(back.m_mediaFile, u"m");
    }
}

TEST_F(PageTest, GfScopeClearsTheFlagWhenAnExceptionLeaves) {
    try {
        CGfFormatScope gf;
        EXPECT_TRUE(g_saveGfFormat);
        throw CArchiveException(CArchiveException::endOfFile);
    } catch (const CArchiveException&) {
    }
    EXPECT_FALSE(g_saveGfFormat);
}

// Counters read from a file are kept usable: the next id above every cell, a positive unit count.
TEST_F(PageTest, LoadedCountersStayInRange) {
    auto reloaded = [](CGPage& page) {
        auto back = std::make_unique<CGPage>();
        LoadPage(*back, StorePage(page));
        return back;
    };
    for (WORD stored : {WORD(0), WORD(2), WORD(6), WORD(100)}) {
        CGPage page;
        AddPoint(page, 1);
        AddPoint(page, 5, {1});
        page.m_nextId = stored;
        EXPECT_EQ(reloaded(page)->m_nextId, stored > 5 ? stored : 6) << stored;
    }
    CGPage empty;
    empty.m_nextId = 0;
    EXPECT_EQ(reloaded(empty)->m_nextId, 1);
    for (int stored : {0, -4}) {
        empty.m_unitsPerLength = stored;
        EXPECT_EQ(reloaded(empty)->m_unitsPerLength, 20) << stored;
    }
    for (int stored : {1, kMaxUnitsPerLength, kMaxUnitsPerLength + 1, INT_MAX}) {
        empty.m_unitsPerLength = stored;
        EXPECT_EQ(reloaded(empty)->m_unitsPerLength, std::min(stored, kMaxUnitsPerLength)) << stored;
    }
}

TEST_F(PageTest, IdsNeverWrap) {
    const struct {
        WORD next;
        int count;
        bool ok;
    } rows[] = {{65533, 2, true}, {65533, 3, false}, {65534, 1, true},
                {65534, 2, false}, {65535, 1, false}, {0, 1, false}};
    CGPage page;
    for (const auto& r : rows) {
        page.m_nextId = r.next;
        EXPECT_EQ(bool(page.CanTakeIds(r.count)), r.ok) << r.next << " + " << r.count;
    }
}

TEST_F(PageTest, ChildListsAreRebuiltFromTheParentsWhenTheyDisagree) {
    CGPage page;
    CTestPagePoint* a = AddPoint(page, 1);
    CTestPagePoint* b = AddPoint(page, 2);
    AddPoint(page, 3, {1});
    AddPoint(page, 4, {1, 2});
    AddPoint(page, 5, {1});
    a->m_children.RemoveAll(); // same children, another order: kept
    for (WORD c : {5, 3, 4})
        a->m_children.AddTail(c);
    b->m_children.AddTail(9);                    // a child that does not exist
    page.m_cells.Find(3)->m_children.AddTail(4); // 4 does not have 3 as a parent
    CGPage back;
    LoadPage(back, StorePage(page));
    auto children = [&](WORD id) { return Ids(back.m_cells.Find(id)->m_children); };
    EXPECT_EQ(children(1), (std::vector<WORD>{5, 3, 4}));
    EXPECT_EQ(children(2), (std::vector<WORD>{4}));
    EXPECT_TRUE(children(3).empty());
}

TEST_F(PageTest, DamagedCellMapsAreRefusedAndLeaveThePageAsItWas) {
    auto build = [](const std::function<void(CGPage&)>& damage) {
        CGPage page;
        AddPoint(page, 1);
        AddPoint(page, 2, {1});
        AddPoint(page, 3, {1, 2});
        page.m_nextId = 4;
        damage(page);
        return StorePage(page);
    };
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        int cause;
    };
    // Moves a cell to another key (and, with a new id, to that id as well).
    auto rekey = [](CGPage& p, WORD from, WORD to, bool newId) {
        CGCell* c = p.m_cells.Find(from);
        p.m_cells.RemoveKey(from);
        if (newId)
            c->m_id = to;
        p.m_cells.SetAt(to, c);
    };
    const int badIndex = CArchiveException::badIndex;
    std::vector<Case> cases;
    cases.push_back({"key differs from the id", build([&](CGPage& p) { rekey(p, 3, 7, false); }), badIndex});
    // Parent k of a cell replaced by another id.
    auto parent = [](WORD cell, int k, WORD id) {
        return [=](CGPage& p) { p.m_cells.Find(cell)->m_parents[k] = id; };
    };
    cases.push_back({"missing parent", build(parent(3, 1, 9)), badIndex});
    cases.push_back({"parent is the cell itself", build(parent(3, 0, 3)), badIndex});
    cases.push_back({"parent above the cell", build(parent(2, 0, 3)), badIndex});
    cases.push_back({"id zero", build([&](CGPage& p) {
                         rekey(p, 1, 0, true);
                         p.m_cells.Find(2)->m_parents.RemoveAll();
                         p.m_cells.Find(3)->m_parents.RemoveAll();
                     }),
                     badIndex});
    cases.push_back({"id 65535", build([](CGPage& p) { AddPoint(p, 0xFFFF, {3}); }), badIndex});
    // Maps written by hand: the header of a page with next id 2 after the given entries.
    auto raw = [](ByteBuilder b) {
        AppendDefaultHeader(b, 2, false);
        return b.Bytes();
    };
    const int badClass = CArchiveException::badClass;
    const ByteBuilder array = ByteBuilder().U16(1).U16(1).NewClass("CWordArray").U16(0);
    cases.push_back({"wrong class", raw(array), badClass});
    ByteBuilder inner = ByteBuilder().U16(1).U16(1).NewClass("CGPage").U16(0);
    AppendDefaultHeader(inner, 1, false);
    cases.push_back({"page as a cell", raw(inner), badClass});
    cases.push_back({"null cell", raw(ByteBuilder().U16(1).U16(1).U16(0)), badClass});
    ByteBuilder twice = ByteBuilder().U16(2).U16(1).NewClass("CTestPagePoint");
    AppendCellRecord(twice, 1, {}, {});
    twice.F32(0).F32(0).F32(0).U16(1).U16(0x8001);
    AppendCellRecord(twice, 1, {}, {});
    twice.F32(0).F32(0).F32(0);
    cases.push_back({"duplicate key", raw(twice), badIndex});
    ByteBuilder unknown = ByteBuilder().U16(1).U16(1).NewClass("CGNoSuchCell");
    AppendCellRecord(unknown, 1, {}, {});
    cases.push_back({"unknown class", raw(unknown), badClass});

    for (const Case& c : cases) {
        CGPage target;
        target.m_title = u"kept";
        AddPoint(target, 1, {}, 42.0f);
        target.m_nextId = 2;
        int live = CTestPagePoint::s_live;
        EXPECT_EQ(ArchiveCause([&] { LoadPage(target, c.bytes); }), c.cause) << c.what;
        EXPECT_EQ(CTestPagePoint::s_live, live) << c.what;
        EXPECT_EQ(target.m_title, u"kept") << c.what;
        ASSERT_EQ(target.m_cells.GetCount(), 1) << c.what;
        EXPECT_EQ(static_cast<CTestPagePoint*>(target.m_cells.Find(1))->m_x, 42.0f) << c.what;
        EXPECT_EQ(target.m_nextId, 2) << c.what;

        // Read as an object, the page itself is gone as well.
        ByteBuilder wrapped;
        wrapped.NewClass("CGPage").Append(c.bytes);
        EXPECT_THROW(LoadBytes(wrapped,
                               [](CArchive& ar) {
                                   CGPage* p = nullptr;
                                   ar >> p;
                                   delete p;
                               }),
                     CArchiveException)
            << c.what;
        EXPECT_EQ(CTestPagePoint::s_live, live) << c.what;
    }
}

TEST_F(PageTest, EveryTruncatedRecordThrowsAndLeaksNothing) {
    CGPage page;
    AddPoint(page, 1);
    AddPoint(page, 2, {1});
    AddPoint(page, 3, {1, 2});
    page.m_title = u"页";
    std::vector<BYTE> bytes = StorePage(page);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + long(n));
        CGPage back;
        int live = CTestPagePoint::s_live;
        EXPECT_THROW(LoadPage(back, cut), CArchiveException) << n;
        EXPECT_EQ(CTestPagePoint::s_live, live) << n;
        EXPECT_TRUE(back.m_cells.IsEmpty());
    }
    CGPage whole;
    LoadPage(whole, bytes);
    EXPECT_EQ(whole.m_cells.GetCount(), 3);
}

TEST_F(PageTest, LoadingEmptiesWhatTheRecordDoesNotHold) {
    CGPage source;
    AddPoint(source, 1);
    std::vector<BYTE> bytes = StorePage(source);

    CGPage page;
    AddPoint(page, 1);
    AddPoint(page, 2);
    page.m_selPoints.AddTail(2);
    page.m_selAll.AddTail(2);
    page.m_runningButtons.AddTail(2);
    page.m_tracedCells.AddTail(2);
    page.m_recomputeIds.push_back(2);
    page.m_walkList.AddTail(2);
    page.m_walkClass = 1;
    page.m_constructMarker = 5;
    page.m_transformMarks.m_centerId = 2;
    page.m_toolState = new CCountedState;
    page.m_cmdProcessor.Submit(new CCountedCmd);
    int commands = CCountedCmd::s_live;
    LoadPage(page, bytes);
    EXPECT_EQ(page.m_cells.GetCount(), 1);
    EXPECT_TRUE(page.m_selPoints.IsEmpty() && page.m_selAll.IsEmpty());
    EXPECT_TRUE(page.m_runningButtons.IsEmpty() && page.m_tracedCells.IsEmpty() && page.m_walkList.IsEmpty());
    EXPECT_TRUE(page.m_recomputeIds.empty());
    EXPECT_EQ(page.m_walkClass, 0);
    EXPECT_EQ(page.m_constructMarker, -1);
    EXPECT_EQ(page.m_transformMarks.m_centerId, 0);
    EXPECT_EQ(page.m_toolState, nullptr);
    EXPECT_EQ(CCountedState::s_live, 0);
    EXPECT_EQ(page.m_cmdProcessor.GetCount(), 0);
    EXPECT_EQ(CCountedCmd::s_live, commands - 1);
}

TEST_F(PageTest, DestroyingAPageDeletesWhatItOwns) {
    int live = CTestPagePoint::s_live;
    auto* page = new CGPage;
    AddPoint(*page, 1);
    AddPoint(*page, 2, {1});
    page->m_toolState = new CCountedState;
    page->m_cmdProcessor.Submit(new CCountedCmd);
    page->m_cmdProcessor.Submit(new CCountedCmd);
    page->m_cmdProcessor.Undo();
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    EXPECT_EQ(CTestPagePoint::s_live, live + 2);
    delete page;
    EXPECT_EQ(CTestPagePoint::s_live, live);
    EXPECT_EQ(CCountedState::s_live, 0);
    EXPECT_EQ(CCountedCmd::s_live, 0);
    EXPECT_EQ(g_pCurPage, nullptr);
    EXPECT_EQ(g_cellMap, nullptr);
}
