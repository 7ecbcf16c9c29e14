// The clipboard blocks of a page: their bytes, the cells of a block pasted with new ids (parents and
// children linked anew, buttons and texts placed as new ones), and blocks that are cut short, damaged
// or too large for the page's ids refused without a change.
#include "model/cell_clipboard.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/dependent_points.h"
#include "support/cell_record.h"
#include "support/page_fixture.h"
#include "model_checks.h"

#include <functional>

namespace {

// A cell that counts its live instances, so that a refused block is seen to leave nothing behind.
class CCountedCell : public CGCell {
    DECLARE_SERIAL(CCountedCell)
public:
    CCountedCell() { ++s_live; }
    ~CCountedCell() override { --s_live; }
    inline static int s_live = 0;
};
IMPLEMENT_SERIAL(CCountedCell, CGCell, 1)

// Buttons, values, vectors and formula texts whose records are the common one (the formula keeps its
// background colour too).
class CPasteButton : public CGButton {
    DECLARE_SERIAL(CPasteButton)
};
IMPLEMENT_SERIAL(CPasteButton, CGButton, 1)

class CPasteValue : public CGTmVariable {
    DECLARE_SERIAL(CPasteValue)
};
IMPLEMENT_SERIAL(CPasteValue, CGTmVariable, 1)

class CPasteVector : public CGTmVector {
    DECLARE_SERIAL(CPasteVector)
};
IMPLEMENT_SERIAL(CPasteVector, CGTmVector, 1)

class CPasteFormula : public CGTbMtfText {
    DECLARE_SERIAL(CPasteFormula)
public:
    void Serialize(CArchive& ar) override {
        CGCell::Serialize(ar);
        if (ar.IsStoring())
            ar << UINT(m_background);
        else {
            UINT v;
            ar >> v;
            m_background = v;
        }
    }
};
IMPLEMENT_SERIAL(CPasteFormula, CGTbMtfText, 1)

class PageClipboardTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_liveBefore = CCountedCell::s_live;
        m_target = std::make_unique<CGPage>();
    }
    void TearDown() override {
        m_target.reset();
        PageFixture::TearDown();
        EXPECT_EQ(CCountedCell::s_live, m_liveBefore) << "cells leaked or deleted twice";
    }

    // A plain cell of the source page, linked to its parents as constructors link themselves.
    CGCell* AddCell(WORD id, std::initializer_list<WORD> parents = {}) {
        auto* cell = new CCountedCell;
        cell->m_id = id;
        for (WORD parent : parents)
            cell->AddParent(parent);
        m_page->m_cells.SetAt(id, cell);
        if (m_page->m_nextId <= id)
            m_page->m_nextId = WORD(id + 1);
        return cell;
    }
    std::vector<BYTE> Block() {
        return StoreBytes([&](CArchive& ar) { m_page->WriteClipboardBlock(ar); });
    }
    // The block pasted into the target page, made current for it (the source page is current again
    // afterwards).
    int PasteInto(CGPage& page, const std::vector<BYTE>& block) {
        g_pCurPage = &page;
        g_cellMap = &page.m_cells;
        int n = 0;
        struct Restore {
            CGPage* page;
            ~Restore() {
                g_pCurPage = page;
                g_cellMap = &page->m_cells;
            }
        } restore{m_page.get()};
        LoadBytes(block, [&](CArchive& ar) {
            int kind;
            ar >> kind;
            EXPECT_EQ(kind, CGPage::kClipboardCells);
            n = page.PasteFromClipboard(ar);
        });
        return n;
    }
    // A cells block written field by field: the kind, the count, then each key with its object.
    static ByteBuilder CellsBlock(unsigned count) {
        ByteBuilder b;
        b.I32(2).U16(count);
        return b;
    }
    static CommonRecord Record(WORD id, std::vector<WORD> parents = {}, std::vector<WORD> children = {}) {
        CommonRecord r{.id = id, .name = {}, .parents = std::move(parents), .children = std::move(children)};
        return r;
    }

    std::unique_ptr<CGPage> m_target;
    int m_liveBefore = 0;
};

} // namespace

TEST_F(PageClipboardTest, TheFormatIsRegisteredOnceByName) {
    RegisterCellClipboardFormat();
    const UINT id = g_cfGraph;
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(HxGetClipboardFormatName(id), u"CF_GRAPH");
    RegisterCellClipboardFormat();
    EXPECT_EQ(g_cfGraph, id);
    EXPECT_EQ(HxCellClipboardFormat(), id);
}

TEST_F(PageClipboardTest, CellsBlockHoldsTheSelectionWithItsAncestorsByteByByte) {
    AddCell(3);
    AddCell(4, {3});
    AddCell(5);
    AddCell(7, {3, 5});
    AddCell(9, {7});
    m_page->SelectCell(7);
    g_draggedId = 9;

    // Keys 0, 1, 2 for ids 3, 5, 7; the map walks its first bucket newest first.  The cells keep
    // their ids, parents and whole child lists; the class is named once, then referred to (0x8001).
    ByteBuilder expected = CellsBlock(3);
    expected.U16(2).NewClass("CCountedCell");
    Record(7, {3, 5}, {9}).AppendTo(expected);
    expected.U16(1).U16(0x8001);
    Record(5, {}, {7}).AppendTo(expected);
    expected.U16(0).U16(0x8001);
    Record(3, {}, {4, 7}).AppendTo(expected);
    EXPECT_EQ(Block(), expected.Bytes());

    EXPECT_EQ(g_draggedId, 0);
    for (WORD id : {3, 4, 5, 7, 9})
        EXPECT_FALSE(m_page->FindCell(id)->m_mark) << id;
    EXPECT_EQ(m_page->m_scratchIds, std::vector<WORD>({3, 5, 7}));
    EXPECT_EQ(Ids(m_page->m_selAll), std::vector<WORD>({7})) << "the selection stays";
    EXPECT_EQ(m_page->m_cells.GetCount(), 5) << "the cells stay the page's";
}

TEST_F(PageClipboardTest, ASelectedPageGivesItsWholeRecord) {
    AddCell(1);
    AddCell(2, {1});
    m_page->m_title = u"第一页";
    m_page->m_pageSelected = 1;
    const std::vector<BYTE> record = StoreBytes([&](CArchive& ar) { m_page->Serialize(ar); });
    EXPECT_EQ(Block(), ByteBuilder().I32(1).Append(record).Bytes());

    m_page->m_pageSelected = 0;
    EXPECT_EQ(Block(), CellsBlock(0).Bytes()) << "nothing selected: an empty cells block";
}

TEST_F(PageClipboardTest, ALineCopiedAloneBringsItsEndsAndPastesWithNewIds) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(4, 0, 0), *c = AddPoint(4, 3, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    AddLine(b->m_id, c->m_id);
    m_page->SelectCell(ab->m_id);
    const std::vector<BYTE> block = Block();

    m_target->m_nextId = 10;
    m_target->m_nextVertex = 1;
    ASSERT_EQ(PasteInto(*m_target, block), 3);
    EXPECT_EQ(m_target->m_nextId, 13);
    auto* a2 = DYNAMIC_DOWNCAST(CGVertex, m_target->FindCell(10));
    auto* b2 = DYNAMIC_DOWNCAST(CGVertex, m_target->FindCell(11));
    auto* line = DYNAMIC_DOWNCAST(CGLine, m_target->FindCell(12));
    ASSERT_TRUE(a2 && b2 && line);
    EXPECT_EQ(a2->m_name, u"A");
    EXPECT_EQ(b2->m_name, u"B");
    EXPECT_EQ(Ids(line->m_parents), std::vector<WORD>({10, 11}));
    // B had another child where it came from; here its only child is the new line.
    EXPECT_EQ(Ids(a2->m_children), std::vector<WORD>({12}));
    EXPECT_EQ(Ids(b2->m_children), std::vector<WORD>({12}));
    EXPECT_TRUE(line->m_children.IsEmpty());
    EXPECT_FLOAT_EQ(b2->m_x, 4.0f);
    // The points are numbered into the vertex array of the page they joined.
    EXPECT_EQ(m_target->m_nextVertex, 3);
    ASSERT_NE(Slot(b2->m_vertexIndex), nullptr);
    EXPECT_FLOAT_EQ(Slot(b2->m_vertexIndex)[0], 4.0f);
    EXPECT_TRUE(line->m_valid);
    for (WORD id : {10, 11, 12})
        EXPECT_FALSE(m_target->FindCell(id)->m_mark) << "recomputed and unmarked";
    // The source page is untouched.
    EXPECT_EQ(Ids(b->m_children), std::vector<WORD>({4, 5}));
}

TEST_F(PageClipboardTest, PastingTwiceGivesTwoIndependentSets) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    auto* mid = Insert(new CGVerMid(NextId(), NextVertex(), u"M", ab->m_id));
    m_page->SelectCell(mid->m_id);
    const std::vector<BYTE> block = Block();
    ASSERT_EQ(PasteInto(*m_target, block), 4);
    ASSERT_EQ(PasteInto(*m_target, block), 4);
    EXPECT_EQ(m_target->m_cells.GetCount(), 8);
    EXPECT_EQ(Ids(m_target->FindCell(7)->m_parents), std::vector<WORD>({5, 6}));
    EXPECT_EQ(Ids(m_target->FindCell(8)->m_parents), std::vector<WORD>({7}));
    EXPECT_EQ(Ids(m_target->FindCell(5)->m_children), std::vector<WORD>({7}));
    EXPECT_EQ(Ids(m_target->FindCell(1)->m_children), std::vector<WORD>({3}));
    // Each midpoint follows its own segment.
    g_pCurPage = m_target.get();
    g_cellMap = &m_target->m_cells;
    auto* first = static_cast<CGVertex*>(m_target->FindCell(1));
    first->SetPosition(3, 0, 0);
    first->MarkDescendants();
    m_target->CollectMarkedIds(m_target->m_scratchIds);
    m_target->UpdateCellsById(m_target->m_scratchIds);
    EXPECT_FLOAT_EQ(static_cast<CGVertex*>(m_target->FindCell(4))->m_x, 2.0f);
    EXPECT_FLOAT_EQ(static_cast<CGVertex*>(m_target->FindCell(8))->m_x, 0.5f);
    g_pCurPage = m_page.get();
    g_cellMap = &m_page->m_cells;
}

TEST_F(PageClipboardTest, NewIdsFollowTheKeysWhateverTheWalkingOrder) {
    // Twenty cells in a chain: keys 0..15 lie in the first bucket, 16..19 in the second, so the block
    // and the map read from it walk 15..0 then 19..16.
    AddCell(1);
    for (WORD id = 2; id <= 20; ++id)
        AddCell(id, {WORD(id - 1)});
    m_page->SelectCell(20);
    const std::vector<BYTE> block = Block();
    EXPECT_EQ(block[6] | (block[7] << 8), 15) << "the first key written";
    m_target->m_nextId = 100;
    ASSERT_EQ(PasteInto(*m_target, block), 20);
    for (WORD id = 101; id < 120; ++id)
        EXPECT_EQ(Ids(m_target->FindCell(id)->m_parents), std::vector<WORD>({WORD(id - 1)})) << id;
    EXPECT_TRUE(m_target->FindCell(100)->m_parents.IsEmpty());
}

TEST_F(PageClipboardTest, ButtonsAndTextsTakeNewPlacesAndFormulasTheBackground) {
    auto add = [&](CGCell* cell, WORD id) {
        cell->m_id = id;
        m_page->m_cells.SetAt(id, cell);
        m_page->SelectCell(id);
        return cell;
    };
    add(new CPasteButton, 1)->m_labelPos[0] = 99.0f;
    add(new CPasteButton, 2);
    CGCell* value = add(new CPasteValue, 3);
    value->m_style = 1; // a measurement of three rows
    value->m_extA2 = 3;
    add(new CPasteVector, 4);
    auto* dark = static_cast<CPasteFormula*>(add(new CPasteFormula, 5));
    dark->m_background = RGB(0, 0, 0);
    m_page->m_nextId = 6;
    g_backgroundColor[0] = g_backgroundColor[1] = g_backgroundColor[2] = 1.0f;

    ASSERT_EQ(PasteInto(*m_target, Block()), 5);
    // The first button takes the first free slot of the upper left column, the second goes below it
    // (units of 20 x g_unitLength = 1).
    const float* b1 = m_target->FindCell(1)->m_labelPos;
    const float* b2 = m_target->FindCell(2)->m_labelPos;
    EXPECT_FLOAT_EQ(b1[0], -18.0f);
    EXPECT_FLOAT_EQ(b1[1], 12.0f);
    EXPECT_FLOAT_EQ(b2[0], -18.0f);
    EXPECT_FLOAT_EQ(b2[1], 10.5f);
    // The value of three rows takes slots 1-3 of the upper right column; the vector one row below.
    const float* v = m_target->FindCell(3)->m_labelPos;
    const float* w = m_target->FindCell(4)->m_labelPos;
    EXPECT_FLOAT_EQ(v[0], 13.0f);
    EXPECT_FLOAT_EQ(v[1], 8.0f);
    EXPECT_FLOAT_EQ(w[0], 13.0f);
    EXPECT_FLOAT_EQ(w[1], 6.5f);
    auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, m_target->FindCell(5));
    ASSERT_NE(formula, nullptr);
    EXPECT_EQ(formula->m_background, RGB(255, 255, 255));
}

TEST_F(PageClipboardTest, APasteThatWouldPassTheLastIdTakesNothing) {
    AddCell(1);
    AddCell(2, {1});
    AddCell(3, {2});
    m_page->SelectCell(3);
    const std::vector<BYTE> block = Block();
    m_target->m_nextId = 65533;
    EXPECT_EQ(PasteInto(*m_target, block), -1);
    EXPECT_TRUE(m_target->m_cells.IsEmpty());
    EXPECT_EQ(m_target->m_nextId, 65533);

    m_page->DeselectCell(3);
    m_page->SelectCell(2);
    EXPECT_EQ(PasteInto(*m_target, Block()), 2);
    EXPECT_NE(m_target->FindCell(65534), nullptr);
    EXPECT_EQ(m_target->m_nextId, 65535) << "the last id is handed out, no id wraps";
}

TEST_F(PageClipboardTest, EveryTruncationIsRefusedAndChangesNothing) {
    CGVertex *a = AddPoint(0, 0, 0), *b = AddPoint(1, 0, 0);
    AddLine(a->m_id, b->m_id);
    AddCell(4, {3});
    m_page->SelectCell(4);
    const std::vector<BYTE> block = Block();
    m_target->m_nextId = 7;
    for (size_t size = 4; size < block.size(); ++size) {
        const std::vector<BYTE> cut(block.begin(), block.begin() + long(size));
        EXPECT_EQ(ArchiveCause([&] { PasteInto(*m_target, cut); }), CArchiveException::endOfFile) << size;
        ASSERT_TRUE(m_target->m_cells.IsEmpty()) << size;
        ASSERT_EQ(m_target->m_nextId, 7) << size;
        ASSERT_EQ(m_target->m_nextVertex, 1) << size;
    }
    EXPECT_EQ(PasteInto(*m_target, block), 4);
}

TEST_F(PageClipboardTest, CraftedBlocksAreRefused) {
    m_target->m_nextId = 50;
    auto refused = [&](const ByteBuilder& b) {
        const int cause = ArchiveCause([&] { PasteInto(*m_target, b.Bytes()); });
        EXPECT_TRUE(m_target->m_cells.IsEmpty());
        EXPECT_EQ(m_target->m_nextId, 50);
        return cause;
    };
    auto cells = [](std::vector<std::pair<unsigned, CommonRecord>> entries, unsigned count) {
        ByteBuilder b = CellsBlock(count);
        bool first = true;
        for (auto& [key, record] : entries) {
            b.U16(key);
            if (first)
                b.NewClass("CCountedCell");
            else
                b.U16(0x8001);
            first = false;
            record.AppendTo(b);
        }
        return b;
    };

    // A count far beyond the bytes.
    EXPECT_EQ(refused(ByteBuilder().I32(2).U16(0xFFFF).U32(100000).U16(0)), CArchiveException::endOfFile);
    // Keys outside 0 .. n - 1, or twice.
    EXPECT_EQ(refused(cells({{0, Record(1)}, {2, Record(2)}}, 2)), CArchiveException::badIndex);
    EXPECT_EQ(refused(cells({{1, Record(1)}, {1, Record(2)}}, 2)), CArchiveException::badIndex);
    // One id twice, or id 0.
    EXPECT_EQ(refused(cells({{1, Record(4)}, {0, Record(4)}}, 2)), CArchiveException::badIndex);
    EXPECT_EQ(refused(cells({{0, Record(0)}}, 1)), CArchiveException::badIndex);
    // A parent that is not in the block, that comes after its child, or the cell itself.
    EXPECT_EQ(refused(cells({{0, Record(5, {3})}}, 1)), CArchiveException::badIndex);
    EXPECT_EQ(refused(cells({{1, Record(2)}, {0, Record(1, {2})}}, 2)), CArchiveException::badIndex);
    EXPECT_EQ(refused(cells({{0, Record(1, {1})}}, 1)), CArchiveException::badIndex);
    // A null object, an unknown class, a class that is no cell.
    EXPECT_EQ(refused(CellsBlock(1).U16(0).U16(0)), CArchiveException::badClass);
    ByteBuilder unknown = CellsBlock(1).U16(0).NewClass("CGNoSuchCell");
    Record(1).AppendTo(unknown);
    EXPECT_NE(refused(unknown), -1);
    ByteBuilder page = CellsBlock(1).U16(0).NewClass("CGPage");
    EXPECT_EQ(refused(page), CArchiveException::badClass);
    // A second reference to a cell read already (two owners).
    ByteBuilder twice = CellsBlock(2).U16(1).NewClass("CCountedCell");
    Record(1).AppendTo(twice);
    twice.U16(0).U16(2);
    EXPECT_NE(refused(twice), -1);

    // The same block without the faults is taken.
    EXPECT_EQ(PasteInto(*m_target, cells({{1, Record(7, {3})}, {0, Record(3)}}, 2).Bytes()), 2);
    EXPECT_EQ(Ids(m_target->FindCell(51)->m_parents), std::vector<WORD>({50}));
}
