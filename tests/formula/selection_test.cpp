// Selections: dragging across runs, structures and rows, the highlighted region, font changes of a
// selection, cutting, copying as markup and pasting.
#include "formula_test_util.h"

namespace {

// "abcd", a fraction 1/2, "efgh" at height 35: the run from 0 to 68, the fraction from 68 to 92,
// the last run from 92 to 160; the row's baseline is the fraction's axis, 38.
const char16_t* kRunFractionRun =
    u"<#><l><e>abcd</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f><e>efgh</e></l></#>";

TEST(Selection, DragAcrossAFractionSelectsItWholeAndTheRunsInPart) {
    CTestEditor ed(kRunFractionRun);
    CRowNode* row = RowOf(ed.Root(), 0);
    EXPECT_EQ(row->m_box, CRect(0, 0, 160, 78));
    ed.Click(36, 40);   // between "ab" and "cd"
    ed.DragTo(112, 40); // after "e"
    EXPECT_EQ(ed.m_mode, 2);
    EXPECT_TRUE(row->m_hasSelection && row->m_selStart == 0 && row->m_selEnd == 3);
    EXPECT_EQ(ed.SelectionText(), CString(u"cd1/2e"));
    EXPECT_EQ(ed.m_region.GetRgnBox(), CRect(34, 0, 109, 78));
    EXPECT_TRUE(ed.m_region.PtInRegion(CPoint(80, 10))) << "the fraction between the runs is covered";
    EXPECT_FALSE(ed.m_region.PtInRegion(CPoint(20, 10)));

    // The selection's markup carries the whole look and reads back to the same text.
    CString copied = ed.SelectionMarkup();
    EXPECT_EQ(copied.Find(u"<l:name=Times New Roman,cset=0,size=35,b=1,i=0,u=0><e"), 0);
    CTestEditor pasted;
    std::unique_ptr<CNode> node(pasted.m_doc.ParseMarkup(copied));
    ASSERT_TRUE(node);
    ASSERT_TRUE(pasted.Root()->InsertNodeAtCaret(node.release()));
    pasted.Relayout();
    EXPECT_EQ(pasted.Text(), CString(u"cd1/2e"));

    // Back over the start point: a caret again.
    ed.DragTo(36, 40);
    EXPECT_EQ(ed.m_mode, 1);
    EXPECT_EQ(ed.m_caretTop.x, 34);
    ExpectTreeConsistent(ed.Root());
}

TEST(Selection, DragLeftMirrorsDragRight) {
    CTestEditor ed(kRunFractionRun);
    CRowNode* row = RowOf(ed.Root(), 0);
    ed.Click(112, 40);
    ed.DragTo(36, 40);
    EXPECT_TRUE(row->m_selStart == 0 && row->m_selEnd == 3);
    EXPECT_EQ(ed.SelectionText(), CString(u"cd1/2e"));
    EXPECT_EQ(row->m_caretIndex, 0) << "the caret follows the point";

    // Stopping short of the fraction's middle leaves it out, and the run then selects alone.
    ed.DragTo(85, 40);
    EXPECT_EQ(ed.SelectionText(), CString(u"e"));
}

TEST(Selection, DragInsideOneSlotStaysThere) {
    CTestEditor ed(u"<#><l><f><#><l><e>1234</e></l></#><#><l><e>5</e></l></#></f></l></#>");
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 0));
    CRect num = fr->m_pFirst->m_rect;
    ed.Click(num.left + 1, num.top + 5);
    ed.DragTo(num.left + 40, num.top + 5);
    EXPECT_EQ(ed.SelectionText(), CString(u"12"));
    EXPECT_EQ(ed.m_mode, 2);
    // Out of the slot but still over the fraction: the whole fraction once past its middle.
    ed.DragTo(fr->m_rect.right - 1, fr->m_pSecond->m_rect.bottom + 1);
    EXPECT_EQ(ed.SelectionText(), CString(u"1234/5"));
    EXPECT_EQ(RowOf(ed.Root(), 0)->GetSelectedStructure(), fr);
}

TEST(Selection, DragAcrossRowsMakesABoxSelection) {
    CTestEditor ed(u"<#><l><e>abcd</e></l><l><e>efgh</e></l><l><e>ijkl</e></l></#>");
    ed.Click(36, 10);   // row 0 after "ab"
    ed.DragTo(36, 100); // row 2 after "ij"
    auto box = ed.Root();
    EXPECT_TRUE(box->m_hasSelection && box->m_selStart == 0 && box->m_selEnd == 2);
    EXPECT_EQ(ed.SelectionText(), CString(u"cdefghij"));
    EXPECT_EQ(ed.m_mode, 2);
    // The region joins the rows: the gap between rows 0 and 1 is filled where their bands overlap.
    EXPECT_TRUE(ed.m_region.PtInRegion(CPoint(50, 40)));
    EXPECT_FALSE(ed.m_region.PtInRegion(CPoint(10, 40)));
    EXPECT_TRUE(ed.m_region.PtInRegion(CPoint(10, 60)));

    CString copied = ed.SelectionMarkup();
    EXPECT_EQ(copied.Left(2), CString(u"<#"));

    // Cutting it joins what is left of the first and last rows.
    std::unique_ptr<CNode> cut(box->CutSelection());
    ed.Relayout();
    ASSERT_TRUE(cut);
    CString cutText;
    cut->GetText(cutText, false);
    EXPECT_EQ(cutText, CString(u"cdefghij"));
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e>ab</e><e>kl</e></l></#>"));
    EXPECT_EQ(ed.m_caretTop.x, 34);
    ExpectTreeConsistent(box);

    // Going up works the same way.
    CTestEditor up(u"<#><l><e>abcd</e></l><l><e>efgh</e></l></#>");
    up.Click(36, 60);
    up.DragTo(36, 10);
    EXPECT_EQ(up.SelectionText(), CString(u"cdef"));
    // Dropping back into the anchor row gives a selection inside it again.
    up.DragTo(60, 60);
    EXPECT_FALSE(up.Root()->m_hasSelection);
    EXPECT_EQ(up.SelectionText(), CString(u"gh"));

    // From the end of a row to the start of the next: a caret.
    CTestEditor ends(u"<#><l><e>ab</e></l><l><e>cd</e></l></#>");
    ends.Click(200, 10);
    ends.DragTo(0, 60);
    EXPECT_EQ(ends.m_mode, 1);
    EXPECT_FALSE(ends.Root()->m_hasSelection);
}

TEST(Selection, SelectAllAndCut) {
    CTestEditor ed(kRunFractionRun);
    ed.Root()->SelectAll();
    ed.Relayout();
    EXPECT_TRUE(ed.Root()->IsWholeSelected());
    EXPECT_EQ(ed.SelectionText(), CString(u"abcd1/2efgh"));
    std::unique_ptr<CNode> cut(ed.Root()->CutSelection());
    ed.Relayout();
    ASSERT_TRUE(cut);
    CString text;
    cut->GetText(text, false);
    EXPECT_EQ(text, CString(u"abcd1/2efgh"));
    EXPECT_EQ(ed.Markup(), CString(HX_EMPTY_FORMULA));

    CTestEditor two(u"<#><l><e>ab</e></l><l></l><l><e>cd</e></l></#>");
    two.Root()->SelectAll();
    two.Relayout();
    EXPECT_TRUE(two.Root()->IsWholeSelected());
    EXPECT_EQ(two.m_mode, 2);
    std::unique_ptr<CNode> all(two.Root()->CutSelection());
    two.Relayout();
    EXPECT_EQ(two.Markup(), CString(HX_EMPTY_FORMULA));
    CString allMarkup;
    all->GetMarkup(allMarkup, false);
    EXPECT_EQ(allMarkup, CString(u"<#><l><e>ab</e></l><l></l><l><e>cd</e></l></#>"));
}

TEST(Selection, BoldOnPartOfARunIsolatesTheSelectedCharacters) {
    CTestEditor ed(u"<#><l><e>abcdef</e></l></#>");
    ed.Click(36, 10);
    ed.DragTo(70, 10); // "cd"
    EXPECT_FALSE(ed.Root()->IsWholeSelected());
    LOGFONT lf = ed.m_font;
    lf.lfWeight = FW_NORMAL;
    ed.Root()->SetFontAttribute(ed.m_color, &lf, true, FONTATTR_BOLD);
    ed.Relayout();
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e>ab</e><e:b=0>cd</e><e>ef</e></l></#>"));
    EXPECT_EQ(ed.SelectionText(), CString(u"cd")) << "the changed characters stay selected";

    // Across a run and a structure: the run's part and the structure change.
    CTestEditor mixed(kRunFractionRun);
    mixed.Click(36, 40);
    mixed.DragTo(112, 40);
    LOGFONT italic = mixed.m_font;
    italic.lfItalic = 1;
    mixed.Root()->SetFontAttribute(0, &italic, true, FONTATTR_ITALIC);
    mixed.Relayout();
    EXPECT_EQ(mixed.Markup(),
              CString(u"<#><l><e>ab</e><e:i=1>cd</e><f:i=1><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f>"
                      u"<e:i=1>e</e><e>fgh</e></l></#>"));
    ExpectTreeConsistent(mixed.Root());
}

TEST(Selection, FontChangeOfTheWholeFormula) {
    CTestEditor ed(u"<#><l><e>ab</e></l><l><e>cd</e></l></#>");
    LOGFONT lf = ed.m_doc.m_defaultFont;
    lf.lfHeight = 50;
    // Not limited to a selection, the change goes down the whole box; the root itself, having no
    // parent, keeps its font, so the rows become explicit and everything below them follows.
    ed.Root()->SetFontAttribute(0, &lf, false, FONTATTR_SIZE);
    ed.Relayout();
    EXPECT_EQ(ed.Markup(), CString(u"<#><l:size=50><e>ab</e></l><l:size=50><e>cd</e></l></#>"));
    EXPECT_EQ(RowOf(ed.Root(), 1)->m_box.Height(), 50);
    EXPECT_EQ(ed.Root()->m_font.lfHeight, 35);
}

TEST(Selection, PastingRowsAndBoxes) {
    auto pasteInto = [](const CString& at, int caret, const CString& markup) {
        CTestEditor ed(at);
        auto run = DYNAMIC_DOWNCAST(CTextNode, ChildOf(RowOf(ed.Root(), 0), 0));
        run->m_caretIndex = caret;
        std::unique_ptr<CNode> node(ed.m_doc.ParseMarkup(markup));
        EXPECT_TRUE(node);
        if (ed.Root()->InsertNodeAtCaret(node.get()))
            node.release();
        ed.Relayout();
        ExpectTreeConsistent(ed.Root());
        return std::make_pair(ed.Markup(), ed.m_caretTop.x);
    };
    // Pasted into "ab|cd": the markup after, and the caret's x (-1: not checked).  A box of one row
    // makes one row of head, content and tail; a run alone is not pasted.
    const struct {
        const char16_t *pasted, *result;
        int caretX;
    } cases[] = {
        {u"<l><e>XY</e></l>", u"<#><l><e>ab</e><e>XY</e><e>cd</e></l></#>", 68},
        {u"<#><l><e>X</e></l><l><e>Y</e></l></#>", u"<#><l><e>ab</e><e>X</e></l><l><e>Y</e><e>cd</e></l></#>",
         17},
        {u"<#><l><e>X</e></l><l><e>M</e></l><l><e>Y</e></l></#>",
         u"<#><l><e>ab</e><e>X</e></l><l><e>M</e></l><l><e>Y</e><e>cd</e></l></#>", -1},
        {u"<#><l><e>XY</e></l></#>", u"<#><l><e>ab</e><e>XY</e><e>cd</e></l></#>", 68},
        {u"<e>XY</e>", u"<#><l><e>abcd</e></l></#>", -1},
    };
    for (const auto& c : cases) {
        auto [markup, caretX] = pasteInto(u"<#><l><e>abcd</e></l></#>", 2, c.pasted);
        EXPECT_EQ(markup, CString(c.result)) << U8(c.pasted);
        if (c.caretX >= 0) {
            EXPECT_EQ(caretX, c.caretX) << U8(c.pasted);
        }
    }
}

TEST(Selection, PastingIntoASlot) {
    CTestEditor ed(u"<#><l><r><#><l><e>ab</e></l></#></r></l></#>");
    auto r = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 0));
    ed.Click(r->m_pFirst->m_rect.left + 18, r->m_pFirst->m_rect.top + 5);
    std::unique_ptr<CNode> node(ed.m_doc.ParseMarkup(u"<#><l><e>1</e></l><l><e>2</e></l></#>"));
    ASSERT_TRUE(ed.Root()->InsertNodeAtCaret(node.release()));
    ed.Relayout();
    EXPECT_EQ(ed.Markup(),
              CString(u"<#><l><r><#><l><e>a</e><e>1</e></l><l><e>2</e><e>b</e></l></#></r></l></#>"));
}

TEST(Selection, CollapseAndSelectedStructure) {
    CTestEditor ed(kRunFractionRun);
    CRowNode* row = RowOf(ed.Root(), 0);
    row->m_pActiveChild = nullptr;
    SelectRange(row, 1, 2);
    EXPECT_EQ(ed.Root()->GetSelectedStructure(), row->GetChild(1));
    EXPECT_TRUE(ed.Root()->CollapseSelection(true));
    EXPECT_EQ(row->m_caretIndex, 2);
    EXPECT_FALSE(ed.Root()->CollapseSelection(true)) << "nothing left to collapse";
    EXPECT_EQ(ed.Root()->GetSelectedStructure(), nullptr);
}

} // namespace
