// Editing inside rows and boxes: caret movement, keys at the ends of runs, rows and slots,
// typing, inserting structures, and caret paths for undo.
#include "formula_test_util.h"

namespace {

CTextNode* RunAt(CNode* row, int i) {
    return DYNAMIC_DOWNCAST(CTextNode, ChildOf(row, i));
}

TEST(Editing, TypingIntoAnEmptyFormula) {
    CTestEditor ed;
    ed.Type(u"ab");
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e>ab</e></l></#>"));
    EXPECT_EQ(ed.m_mode, 1);
    EXPECT_TRUE(ed.m_caretTop == CPoint(34, 0) && ed.m_caretBottom == CPoint(34, 35)) << "as tall as the row";
    EXPECT_TRUE(ed.m_lineStart == CPoint(0, 35) && ed.m_lineEnd == CPoint(34, 35));
    ExpectTreeConsistent(ed.Root());
}

TEST(Editing, EnterSplitsRowsAndBackspaceOrDeleteJoinThem) {
    CTestEditor ed(u"<#><l:i=1><e>abcd</e></l></#>");
    RunAt(RowOf(ed.Root(), 0), 0)->m_caretIndex = 2;
    EXPECT_TRUE(ed.Key(FKEY_ENTER));
    EXPECT_EQ(ed.Markup(), CString(u"<#><l:i=1><e>ab</e></l><l:i=1><e>cd</e></l></#>"))
        << "the new row copies the row's font settings";
    EXPECT_EQ(ed.Root()->m_pActiveChild, RowOf(ed.Root(), 1));
    EXPECT_EQ(ed.m_caretTop.x, 0);
    ExpectTreeConsistent(ed.Root());

    // Backspace at the start of the second row joins it to the first, keeping two runs.
    EXPECT_TRUE(ed.Key(FKEY_BACK));
    EXPECT_EQ(ed.Markup(), CString(u"<#><l:i=1><e>ab</e><e>cd</e></l></#>"));
    EXPECT_EQ(ed.m_caretTop.x, 34) << "the caret is where the rows joined";
    ed.Type(u"X");
    EXPECT_EQ(ed.Text(), CString(u"abXcd"));
    ExpectTreeConsistent(ed.Root());

    // Delete at the end of a row joins the next row.
    CTestEditor rows(u"<#><l><e>ab</e></l><l><e>cd</e></l></#>");
    rows.Root()->CaretToStart();
    EXPECT_TRUE(rows.Key(FKEY_END));
    EXPECT_TRUE(rows.Key(FKEY_DELETE));
    EXPECT_EQ(rows.Markup(), CString(u"<#><l><e>ab</e><e>cd</e></l></#>"));
    EXPECT_TRUE(rows.Key(FKEY_DELETE));
    EXPECT_EQ(rows.Text(), CString(u"abd"));
}

TEST(Editing, BackspaceAtTheVeryStartIsRefused) {
    CTestEditor ed(u"<#><l><e>ab</e></l></#>");
    ed.Root()->CaretToStart();
    const CString before = ed.Markup();
    for (int key : {FKEY_BACK, FKEY_LEFT, FKEY_UP})
        EXPECT_FALSE(ed.Key(key)) << key;
    ed.Root()->CaretToEnd();
    for (int key : {FKEY_DELETE, FKEY_RIGHT, FKEY_DOWN})
        EXPECT_FALSE(ed.Key(key)) << key;
    EXPECT_EQ(ed.Markup(), before);

    // Deleting the last character removes the run; typing makes a new one.
    CTestEditor one(u"<#><l><e>a</e></l></#>");
    EXPECT_TRUE(one.Key(FKEY_BACK));
    EXPECT_EQ(one.Markup(), CString(HX_EMPTY_FORMULA));
    EXPECT_EQ(one.m_mode, 1);
    EXPECT_FALSE(one.Key(FKEY_BACK));
    one.Type(u"z");
    EXPECT_EQ(one.Markup(), CString(u"<#><l><e>z</e></l></#>"));
}

TEST(Editing, ArrowsCrossRowsAndUpAndDownKeepTheCaretsX) {
    CTestEditor rows(u"<#><l><e>ab</e></l><l><e>cd</e></l></#>");
    rows.Root()->CaretToEnd();
    EXPECT_TRUE(rows.Key(FKEY_HOME));
    EXPECT_TRUE(rows.Key(FKEY_LEFT)) << "from the start of the second row to the end of the first";
    EXPECT_EQ(rows.Root()->m_caretIndex, 0);
    EXPECT_EQ(rows.m_caretTop, CPoint(34, 0));
    EXPECT_TRUE(rows.Key(FKEY_RIGHT));
    EXPECT_EQ(rows.Root()->m_caretIndex, 1);
    EXPECT_EQ(rows.m_caretTop, CPoint(0, 46));

    CTestEditor ed(u"<#><l><e>abcdef</e></l><l><e>uvwxyz</e></l></#>");
    ed.Click(3 * 17 + 2, 60); // after "uvw" in the second row
    EXPECT_EQ(ed.Root()->m_caretIndex, 1);
    EXPECT_EQ(ed.m_caretTop.x, 51);
    EXPECT_TRUE(ed.Key(FKEY_UP));
    EXPECT_EQ(ed.Root()->m_caretIndex, 0);
    EXPECT_EQ(RunAt(RowOf(ed.Root(), 0), 0)->m_caretIndex, 3);
    EXPECT_EQ(ed.m_caretTop.x, 51);
    EXPECT_FALSE(ed.Key(FKEY_UP));
    EXPECT_TRUE(ed.Key(FKEY_DOWN));
    EXPECT_EQ(ed.Root()->m_caretIndex, 1);
    EXPECT_EQ(ed.m_caretTop.x, 51);
}

TEST(Editing, HomeAndEndDropASelection) {
    CTestEditor ed(u"<#><l><e>abc</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f><e>de</e></l></#>");
    ed.Root()->SelectAll();
    ed.Relayout();
    EXPECT_EQ(ed.m_mode, 2);
    EXPECT_TRUE(ed.Key(FKEY_HOME));
    EXPECT_EQ(ed.m_mode, 1);
    EXPECT_EQ(ed.m_caretTop.x, 0);
    ed.Root()->SelectAll();
    EXPECT_TRUE(ed.Key(FKEY_END));
    EXPECT_EQ(ed.m_mode, 1);
    EXPECT_EQ(ed.m_caretTop.x, RowOf(ed.Root(), 0)->m_rect.right);
}

TEST(Editing, DeleteSelectsAStructureFirst) {
    CTestEditor ed(u"<#><l><e>a</e><r><#><l><e>2</e></l></#></r><e>b</e></l></#>");
    CRowNode* row = RowOf(ed.Root(), 0);
    RunAt(row, 0)->CaretToEnd();
    row->SetActiveChild(0);
    EXPECT_TRUE(ed.Key(FKEY_DELETE));
    EXPECT_TRUE(row->m_hasSelection);
    EXPECT_EQ(row->GetSelectedStructure(), row->GetChild(1));
    EXPECT_EQ(ed.m_mode, 2);
    EXPECT_EQ(ed.Text(), CString(u"a√2 b"));
    EXPECT_TRUE(ed.Key(FKEY_DELETE));
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e>a</e><e>b</e></l></#>"));

    // Backspace from the run after a structure selects it the same way.
    CTestEditor ed2(u"<#><l><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f><e>b</e></l></#>");
    CRowNode* row2 = RowOf(ed2.Root(), 0);
    row2->SetActiveChild(1);
    RunAt(row2, 1)->CaretToStart();
    EXPECT_TRUE(ed2.Key(FKEY_BACK));
    EXPECT_EQ(row2->GetSelectedStructure(), row2->GetChild(0));
    EXPECT_TRUE(ed2.Key(FKEY_BACK));
    EXPECT_EQ(ed2.Markup(), CString(u"<#><l><e>b</e></l></#>"));
}

TEST(Editing, LeftAndRightStepThroughStructures) {
    CTestEditor ed(u"<#><l><e>a</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f><e>b</e></l></#>");
    ed.Root()->CaretToStart();
    int steps = 0;
    while (ed.Key(FKEY_RIGHT))
        ++steps;
    // a|, |1 and 1| in the numerator (Up and Down reach the denominator), the gap after it, b|.
    EXPECT_EQ(steps, 5);
    EXPECT_FALSE(ed.Key(FKEY_RIGHT));
    int back = 0;
    while (ed.Key(FKEY_LEFT))
        ++back;
    EXPECT_EQ(back, steps);
    ExpectTreeConsistent(ed.Root());
}

TEST(Editing, FractionSlotsByUpAndDown) {
    CTestEditor ed(u"<#><l><f><#><l><e>123</e></l></#><#><l><e>456</e></l></#></f></l></#>");
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 0));
    CRect num = fr->m_pFirst->m_rect;
    ed.Click(num.left + 18, num.top + 10); // after "1"
    EXPECT_EQ(fr->m_pActiveChild, fr->m_pFirst);
    int x = ed.m_caretTop.x;
    EXPECT_TRUE(ed.Key(FKEY_DOWN));
    EXPECT_EQ(fr->m_pActiveChild, fr->m_pSecond);
    EXPECT_EQ(ed.m_caretTop.x, x) << "the caret keeps its x in the denominator";
    EXPECT_FALSE(ed.Key(FKEY_DOWN));
    EXPECT_TRUE(ed.Key(FKEY_UP));
    EXPECT_EQ(fr->m_pActiveChild, fr->m_pFirst);
    EXPECT_EQ(ed.m_caretTop.x, x);
}

TEST(Editing, EnterInsideASlotSplitsTheSlotsRow) {
    CTestEditor ed(u"<#><l><f><#><l><e>ab</e></l></#><#><l><e>2</e></l></#></f></l></#>");
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 0));
    ed.Click(fr->m_pFirst->m_rect.left + 18, fr->m_pFirst->m_rect.top + 5);
    EXPECT_TRUE(ed.Key(FKEY_ENTER));
    EXPECT_EQ(ed.Markup(),
              CString(u"<#><l><f><#><l><e>a</e></l><l><e>b</e></l></#><#><l><e>2</e></l></#></f></l></#>"));
    EXPECT_EQ(ed.Root()->GetChildCount(), 1);
}

TEST(Editing, TypingInGapsJoinsNeighbouringRuns) {
    CTestEditor ed(u"<#><l><e:i=1>a</e><r><#><l><e>2</e></l></#></r></l></#>");
    CRowNode* row = RowOf(ed.Root(), 0);
    row->SetCaretGap(1);
    ed.Type(u"b");
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e:i=1>ab</e><r><#><l><e>2</e></l></#></r></l></#>"));
    row->SetCaretGap(2);
    ed.Type(u"c");
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e:i=1>ab</e><r><#><l><e>2</e></l></#></r><e>c</e></l></#>"))
        << "a new run after a structure copies the structure's look";
    row->SetCaretGap(0);
    ed.Type(u"z");
    EXPECT_EQ(ed.Text(), CString(u"zab√2 c"));
}

TEST(Editing, InsertingAFractionTakesTheSelectedCharacters) {
    CTestEditor ed(u"<#><l><e>abcd</e></l></#>");
    CTextNode* run = RunAt(RowOf(ed.Root(), 0), 0);
    SelectRange(run, 1, 3);
    ed.Insert(2);
    EXPECT_EQ(ed.Markup(),
              CString(u"<#><l><e>a</e><f><#><l><e>bc</e></l></#><#><l></l></#></f><e>d</e></l></#>"));
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 1));
    EXPECT_EQ(fr->m_pActiveChild, fr->m_pSecond) << "the caret waits in the empty denominator";
    ed.Type(u"2");
    EXPECT_EQ(ed.Text(), CString(u"abc/2d"));

    CTestEditor plain;
    plain.Insert(2);
    auto fr2 = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(plain.Root(), 0), 0));
    EXPECT_EQ(fr2->m_pActiveChild, fr2->m_pFirst) << "without a selection the caret is in the numerator";
    ExpectTreeConsistent(plain.Root());
}

TEST(Editing, EveryInsertCodeBuildsItsStructure) {
    const char16_t* expected[21] = {
        nullptr,
        u"<#><l><e>a</e><e></e></l></#>",
        u"<#><l><e>a</e><f><#><l></l></#><#><l></l></#></f></l></#>",
        u"<#><l><e>a</e><r><#><l></l></#></r></l></#>",
        u"<#><l><e>a</e><n><#><l></l></#><#:size=20><l></l></#></n></l></#>",
        u"<#><l><e>a</e><^><#><l></l></#><#:size=22><l></l></#></^></l></#>",
        u"<#><l><e>a</e><_><#><l></l></#><#:size=22><l></l></#></_></l></#>",
        u"<#><l><e>a</e><d><#><l></l></#><c><#:size=22><l></l></#><#:size=22><l></l></#></c></d></l></#>",
        u"<#><l><e>a</e><v><#><l></l></#></v></l></#>",
        u"<#><l><e>a</e><v:type=1><#><l></l></#></v></l></#>",
        u"<#><l><e>a</e><v:type=2><#><l></l></#></v></l></#>",
        u"<#><l><e>a</e><d><s><#:size=20><l></l></#><#:size=20><l></l></#>\uF0E5</s><#><l></l></#></d></l></"
        u"#>",
        u"<#><l><e>a</e><d><s><#:size=20><l></l></#><#:size=20><l></l></#>\uF0D5</s><#><l></l></#></d></l></"
        u"#>",
        u"<#><l><e>a</e><d><i><#:size=20><l></l></#><#:size=20><l></l></#>\uF0F2</i><#><l></l></#></d></l></"
        u"#>",
        u"<#><l><e>a</e><b><#><l></l></#>\uF028\uF029</b></l></#>",
        u"<#><l><e>a</e><b><#><l></l></#>\uF05B\uF05D</b></l></#>",
        u"<#><l><e>a</e><b><#><l></l></#>\uF07B\uF07D</b></l></#>",
        u"<#><l><e>a</e><b><#><l></l></#>\uF07C\uF07C</b></l></#>",
        u"<#><l><e>a</e><b><#><l></l></#>\uF07B </b></l></#>",
        u"<#><l><e>a</e><b><#><l></l></#> \uF07D</b></l></#>",
        u"<#><l><e>a</e><m:type=3><#><l></l></#><#><l></l></#><#><l></l></#><#><l></l></#><#><l></l></#>"
        u"<#><l></l></#></m></l></#>",
    };
    for (int code = 1; code <= 20; ++code) {
        CTestEditor ed(u"<#><l><e>a</e></l></#>");
        ed.Insert(code, 2, 3);
        EXPECT_EQ(ed.Markup(), CString(expected[code])) << code;
        ExpectTreeConsistent(ed.Root());
        CBinTree back;
        ASSERT_TRUE(back.SetMarkup(ed.Markup()));
        EXPECT_EQ(back.GetMarkup(0), ed.Markup()) << code;
    }
    CTestEditor ed(u"<#><l><e>a</e></l></#>");
    ed.Insert(21);
    ed.Insert(0);
    EXPECT_EQ(ed.Markup(), CString(u"<#><l><e>a</e></l></#>")) << "codes outside 1..20 change nothing";
}

TEST(Editing, ScriptsAndSumsWithContentPutTheCaretInTheOtherPart) {
    CTestEditor ed(u"<#><l><e>x</e></l></#>");
    RunAt(RowOf(ed.Root(), 0), 0)->SelectAll();
    ed.Insert(7);
    auto d = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 0));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->m_caretIndex, 1) << "the caret goes into the script pair";
    ed.Type(u"i");
    EXPECT_EQ(ed.Text(), CString(u"xi"));

    CTestEditor sum(u"<#><l><e>k</e></l></#>");
    RunAt(RowOf(sum.Root(), 0), 0)->SelectAll();
    sum.Insert(11);
    auto s = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(sum.Root(), 0), 0));
    EXPECT_EQ(s->m_caretIndex, 0) << "the operand holds the selection; the caret goes to the limits";
    sum.Type(u"1");
    EXPECT_EQ(sum.Text(), CString(u"∑1  k"));

    CTestEditor empty;
    empty.Insert(13);
    auto in = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(empty.Root(), 0), 0));
    EXPECT_EQ(in->m_caretIndex, 1) << "without content the caret is in the operand";
}

TEST(Editing, MatrixCellsByArrowKeys) {
    CTestEditor ed;
    ed.Insert(20, 2, 2);
    auto m = DYNAMIC_DOWNCAST(CMatrixNode, ChildOf(RowOf(ed.Root(), 0), 0));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->GetChildCount(), 4);
    EXPECT_EQ(m->m_caretIndex, 0);
    for (auto [key, cell] : {std::pair{FKEY_RIGHT, 1}, {FKEY_DOWN, 3}, {FKEY_LEFT, 2}, {FKEY_UP, 0}}) {
        EXPECT_TRUE(ed.Key(key)) << key;
        EXPECT_EQ(m->m_caretIndex, cell) << key;
    }
    ed.Type(u"1");
    EXPECT_EQ(ed.Text(), CString(u"1,,,,"));

    // A short last row: Down from a cell with nothing below is refused by the grid.
    CTestEditor ragged(
        u"<#><l><m:type=2><#><l><e>a</e></l></#><#><l><e>b</e></l></#><#><l><e>c</e></l></#></m></l></#>");
    auto rm = DYNAMIC_DOWNCAST(CMatrixNode, ChildOf(RowOf(ragged.Root(), 0), 0));
    rm->SetActiveChild(1);
    rm->GetChild(1)->CaretToEnd();
    ragged.Relayout();
    EXPECT_FALSE(rm->HandleKey(FKEY_DOWN));
    EXPECT_FALSE(rm->HandleKey(FKEY_RIGHT));
}

TEST(Editing, CaretPathsRestoreTheCaret) {
    CTestEditor ed(u"<#><l><e>ab</e><f><#><l><e>12</e></l></#><#><l><e>34</e></l></#></f></l></#>");
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, ChildOf(RowOf(ed.Root(), 0), 1));
    ed.Click(fr->m_pSecond->m_rect.left + 20, fr->m_pSecond->m_rect.top + 3);
    CCaretPath path = ed.CaretPath();
    EXPECT_EQ(PathOf(path), (std::vector<int>{1, 0, 1, 1, 1, 1, 1, 0, 1, 0, 3, 1}));

    // As the editor's undo does: parse the markup again, caret to the end, then the path.
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(ed.Markup()));
    int pos = 0;
    EXPECT_TRUE(doc.m_pRoot->RestoreCaretPath(path, pos));
    CCaretPath again;
    doc.m_pRoot->SaveCaretPath(again);
    EXPECT_EQ(PathOf(again), PathOf(path));

    // A selection range is kept as 2, start, 2, end.
    ed.Root()->SelectAll();
    CCaretPath sel = ed.CaretPath();
    EXPECT_EQ(PathOf(sel), (std::vector<int>{1, 0, 2, 0, 2, 2, 2, 0, 2, 2}));
    pos = 0;
    ASSERT_TRUE(doc.m_pRoot->RestoreCaretPath(sel, pos));
    EXPECT_TRUE(doc.m_pRoot->IsWholeSelected());

    // Paths that do not fit the tree are refused without harm.
    CCaretPath single = MakePath({1}), wrong = MakePath({1, 5, 0});
    pos = 0;
    EXPECT_FALSE(doc.m_pRoot->RestoreCaretPath(single, pos)) << "a single element does nothing";
    pos = 0;
    EXPECT_FALSE(doc.m_pRoot->RestoreCaretPath(wrong, pos));
    ExpectTreeConsistent(doc.m_pRoot);
}

TEST(Editing, FenceCyclingWrapsAround) {
    CTestEditor ed;
    ed.Insert(14);
    auto brace = DYNAMIC_DOWNCAST(CBraceNode, ChildOf(RowOf(ed.Root(), 0), 0));
    ASSERT_TRUE(brace);
    EXPECT_EQ(HxFencePairIndex(brace->m_text), 0);
    brace->CycleFence(-1);
    EXPECT_EQ(brace->m_text, HxFencePair(38));
    EXPECT_EQ(brace->m_text, CString(u" \uF03E"));
    brace->CycleFence(1);
    EXPECT_EQ(HxFencePairIndex(brace->m_text), 0);
    brace->CycleFence(7);
    EXPECT_EQ(brace->m_text, CString(u"\uF05B\uF05D")) << "index 7 = 6 x 1 + 1";
    EXPECT_EQ(HxFencePair(35), CString(u"  "));
    brace->m_text = u"xy";
    brace->CycleFence(1);
    EXPECT_EQ(brace->m_text, HxFencePair(0)) << "a pair not in the list becomes the parentheses";
}

} // namespace
