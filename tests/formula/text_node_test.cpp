// Text runs: measuring, hit testing, character keys, selections, splitting and their markup.
#include "formula_test_util.h"

namespace {

// A run of `text` in a row of its own, laid out at height 20 (characters 10 pixels wide).
struct RunFixture {
    CRowNode row;
    CTextNode* run;
    CFixedMetricsDC dc;
    explicit RunFixture(const CString& text) {
        run = new CTextNode(text);
        row.AppendChild(run);
        row.SetActiveChild(0);
        LOGFONT lf = HxDefaultNodeFont();
        lf.lfHeight = 20;
        dc.SelectFont(lf);
        row.Layout(&dc);
        row.Offset(100, 50);
    }
};

TEST(TextRun, MeasuresTheWholeTextAndEachCharacter) {
    RunFixture f(u"ab中");
    EXPECT_EQ(f.run->m_box, CRect(0, 0, 40, 20));
    EXPECT_EQ(f.run->m_baseline, 10);
    EXPECT_EQ(f.run->GetWidths().Vector(), (std::vector<int>{10, 10, 20}));
    EXPECT_EQ(f.run->m_rect, CRect(100, 50, 140, 70));

    RunFixture empty(u"");
    EXPECT_EQ(empty.run->m_box, CRect(0, 0, 10, 20)) << "an empty run measures the placeholder";
    EXPECT_EQ(empty.run->GetWidths().Vector(), (std::vector<int>{10}));
    empty.run->Draw(&empty.dc);
    auto texts = empty.dc.OpsOf(CFixedMetricsDC::OpText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, CString(u"?"));
}

TEST(TextRun, CharIndexUsesTheHalfWidthRule) {
    RunFixture f(u"abc");
    // Exactly at the middle (105) lands after the character.
    for (auto [x, index] : {std::pair{0, 0}, {104, 0}, {105, 1}, {114, 1}, {125, 3}, {500, 3}})
        EXPECT_EQ(f.run->CharIndexFromX(x), index) << x;
    RunFixture empty(u"");
    EXPECT_EQ(empty.run->CharIndexFromX(500), 0);

    EXPECT_TRUE(f.run->SetCaretFromPoint(116, 55));
    EXPECT_EQ(f.run->m_caretIndex, 2);
    EXPECT_EQ(f.run->GetCaretPoint(), CPoint(120, 50));
}

TEST(TextRun, KeysAtTheEndsAreRefusedAndLeaveTheText) {
    RunFixture f(u"abc");
    f.run->CaretToStart();
    for (int key : {FKEY_BACK, FKEY_LEFT, FKEY_HOME})
        EXPECT_FALSE(f.run->HandleKey(key)) << key;
    EXPECT_EQ(f.run->m_text, CString(u"abc"));
    EXPECT_TRUE(f.run->HandleKey(FKEY_DELETE));
    EXPECT_EQ(f.run->m_text, CString(u"bc"));
    f.run->CaretToEnd();
    for (int key : {FKEY_DELETE, FKEY_RIGHT, FKEY_END})
        EXPECT_FALSE(f.run->HandleKey(key)) << key;
    EXPECT_TRUE(f.run->HandleKey(FKEY_BACK));
    EXPECT_EQ(f.run->m_text, CString(u"b"));
    EXPECT_EQ(f.run->m_caretIndex, 1);
    for (int key : {int(FKEY_UP), int(FKEY_DOWN), 99}) // Up and Down without a selection belong to others
        EXPECT_FALSE(f.run->HandleKey(key)) << key;
}

TEST(TextRun, KeysWithASelection) {
    RunFixture f(u"abcdef");
    f.run->m_anchorIndex = 1;
    EXPECT_EQ(f.run->ExtendSelectionToPoint(140, 55), FSEL_PART); // characters 1..4
    EXPECT_EQ(f.run->m_selStart, 1);
    EXPECT_EQ(f.run->m_selEnd, 4);
    EXPECT_TRUE(f.run->HandleKey(FKEY_RIGHT));
    EXPECT_EQ(f.run->m_caretIndex, 4);
    EXPECT_FALSE(f.run->m_hasSelection);

    f.run->m_anchorIndex = 1;
    f.run->ExtendSelectionToPoint(140, 55);
    EXPECT_TRUE(f.run->HandleKey(FKEY_UP));
    EXPECT_EQ(f.run->m_caretIndex, 1);

    f.run->ExtendSelectionToPoint(140, 55);
    EXPECT_TRUE(f.run->HandleKey(FKEY_BACK));
    EXPECT_EQ(f.run->m_text, CString(u"aef"));
    EXPECT_EQ(f.run->m_caretIndex, 1);

    // Back over the anchor: a caret again.
    f.run->m_anchorIndex = 2;
    for (auto [x, state] : {std::pair{121, FSEL_CARET}, {100, FSEL_PART}, {200, FSEL_PART}})
        EXPECT_EQ(f.run->ExtendSelectionToPoint(x, 55), state) << x;
    f.run->m_anchorIndex = 0;
    EXPECT_EQ(f.run->ExtendSelectionToPoint(200, 55), FSEL_WHOLE);
}

TEST(TextRun, RangeSelectionsReportTheirState) {
    RunFixture f(u"abcd");
    EXPECT_EQ(f.run->SelectStartToPoint(100), FSEL_CARET);
    EXPECT_EQ(f.run->SelectStartToPoint(121), FSEL_PART);
    EXPECT_EQ(f.run->SelectStartToPoint(300), FSEL_WHOLE);
    EXPECT_EQ(f.run->SelectPointToEnd(300), FSEL_CARET);
    EXPECT_EQ(f.run->SelectPointToEnd(121), FSEL_PART);
    EXPECT_EQ(f.run->m_selStart, 2);
    EXPECT_EQ(f.run->m_caretIndex, 4);
    EXPECT_EQ(f.run->SelectPointToEnd(0), FSEL_WHOLE);
    f.run->m_anchorIndex = 0;
    EXPECT_EQ(f.run->SelectAnchorToEnd(), FSEL_WHOLE);
    EXPECT_EQ(f.run->SelectStartToAnchor(), FSEL_CARET);

    RunFixture empty(u"");
    // An empty run is always wholly selected.
    EXPECT_EQ(std::vector<int>({empty.run->SelectStartToPoint(0), empty.run->SelectPointToEnd(500),
                                empty.run->SelectAnchorToEnd(), empty.run->SelectStartToAnchor()}),
              std::vector<int>(4, FSEL_WHOLE));
    EXPECT_TRUE(empty.run->IsWholeSelected());
}

TEST(TextRun, CutSplitAndInsert) {
    RunFixture f(u"hello");
    EXPECT_EQ(f.run->CutSelection(), nullptr) << "nothing to cut without a selection";
    SelectRange(f.run, 1, 3);
    std::unique_ptr<CNode> piece(f.run->CutSelection());
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->m_text, CString(u"el"));
    EXPECT_EQ(f.run->m_text, CString(u"hlo"));
    EXPECT_EQ(f.run->m_caretIndex, 1);

    f.run->InsertText(u"XY");
    EXPECT_EQ(f.run->m_text, CString(u"hXYlo"));
    EXPECT_EQ(f.run->m_caretIndex, 3);

    f.run->m_font.lfItalic = 1;
    f.run->m_fontSet = FONTBIT_ITALIC;
    f.run->m_color = RGB(255, 0, 0);
    f.run->m_colorSet = TRUE;
    std::unique_ptr<CNode> tail(f.run->SplitAtCaret(&f.row));
    EXPECT_EQ(f.run->m_text, CString(u"hXY"));
    EXPECT_EQ(tail->m_text, CString(u"lo"));
    EXPECT_EQ(tail->m_pParent, &f.row);
    EXPECT_EQ(tail->m_fontSet, FONTBIT_ITALIC) << "the tail keeps the run's look";
    EXPECT_EQ(tail->m_color, RGB(255, 0, 0));
    EXPECT_TRUE(tail->m_colorSet);
}

TEST(TextRun, IsolateSelectionMakesTheSelectedCharactersARun) {
    CRowNode row;
    CTextNode* run = new CTextNode(u"abcdef");
    run->m_fontSet = FONTBIT_BOLD;
    row.AppendChild(run);
    int moved = -1;
    run->SelectAll();
    EXPECT_EQ(run->IsolateSelection(&row, 0, moved), 0) << "a whole run stays as it is";
    EXPECT_EQ(moved, 0);

    SelectRange(run, 2, 4);
    EXPECT_EQ(run->IsolateSelection(&row, 0, moved), 2);
    EXPECT_EQ(moved, 1);
    ASSERT_EQ(row.GetChildCount(), 3);
    EXPECT_EQ(row.GetChild(0)->m_text, CString(u"ab"));
    EXPECT_EQ(row.GetChild(1), run);
    EXPECT_EQ(run->m_text, CString(u"cd"));
    EXPECT_TRUE(run->IsWholeSelected());
    EXPECT_EQ(row.GetChild(2)->m_text, CString(u"ef"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(row.GetChild(i)->m_fontSet, FONTBIT_BOLD);
        EXPECT_EQ(row.GetChild(i)->m_pParent, &row);
    }

    // A selected head: the tail becomes a run after it.
    CTextNode* head = static_cast<CTextNode*>(row.GetChild(0));
    SelectRange(head, 0, 1);
    EXPECT_EQ(head->IsolateSelection(&row, 0, moved), 1);
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(head->m_text, CString(u"a"));
    EXPECT_TRUE(head->IsWholeSelected());
    EXPECT_EQ(row.GetChild(1)->m_text, CString(u"b"));

    // A selected tail: it becomes the run after this one, wholly selected.
    CTextNode* last = static_cast<CTextNode*>(row.GetChild(3));
    SelectRange(last, 1, 2);
    EXPECT_EQ(last->IsolateSelection(&row, 3, moved), 1);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(last->m_text, CString(u"e"));
    EXPECT_EQ(row.GetChild(4)->m_text, CString(u"f"));
    EXPECT_TRUE(row.GetChild(4)->IsWholeSelected());
}

TEST(TextRun, CaretPathsOfARun) {
    RunFixture f(u"abcd");
    f.run->m_caretIndex = 3;
    CCaretPath path;
    f.run->SaveCaretPath(path);
    EXPECT_EQ(PathOf(path), (std::vector<int>{3, 3}));
    SelectRange(f.run, 1, 2);
    path.RemoveAll();
    f.run->SaveCaretPath(path);
    EXPECT_EQ(PathOf(path), (std::vector<int>{2, 1, 2, 2}));

    f.run->CaretToEnd();
    int pos = 0;
    EXPECT_TRUE(f.run->RestoreCaretPath(path, pos));
    EXPECT_EQ(pos, 4);
    EXPECT_TRUE(f.run->m_hasSelection && f.run->m_selStart == 1 && f.run->m_selEnd == 2);

    CCaretPath bad = MakePath({7}), shortPath = MakePath({2, 1}), beyond = MakePath({3, 999});
    pos = 0;
    EXPECT_FALSE(f.run->RestoreCaretPath(bad, pos));
    pos = 0;
    EXPECT_FALSE(f.run->RestoreCaretPath(shortPath, pos)) << "a path that ends early";
    pos = 0;
    EXPECT_TRUE(f.run->RestoreCaretPath(beyond, pos));
    EXPECT_EQ(f.run->m_caretIndex, 4) << "a caret beyond the text stays at its end";
}

TEST(TextRun, MarkupOfARunAndOfItsSelection) {
    CString out;
    CTextNode run(u"abc");
    run.GetMarkup(out, false);
    EXPECT_EQ(out, CString(u"<e>abc</e>"));
    out.Empty();
    run.m_fontSet = FONTBIT_BOLD;
    run.GetMarkup(out, false);
    EXPECT_EQ(out, CString(u"<e:b=1>abc</e>"));

    out.Empty();
    run.GetMarkup(out, true);
    EXPECT_TRUE(out.IsEmpty()) << "no selection, no markup";
    SelectRange(&run, 1, 3);
    run.GetMarkup(out, true);
    EXPECT_EQ(out, CString(u"<e:name=Times New Roman,cset=0,size=21,b=1,i=0,u=0>bc</e>"))
        << "a copied piece carries all six font attributes";
    EXPECT_EQ(run.m_fontSet, FONTBIT_BOLD);

    CString text;
    run.GetText(text, true);
    EXPECT_EQ(text, CString(u"bc"));

    CTextNode empty;
    out.Empty();
    empty.GetMarkup(out, false);
    EXPECT_EQ(out, CString(u"<e></e>"));
}

TEST(TextRun, TextHoldingAnEndTagOpenerIsWrittenSoThatItReadsBack) {
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(u"<#><l><e>a</e></l></#>"));
    auto run = static_cast<CTextNode*>(ChildOf(RowOf(doc.m_pRoot, 0), 0));
    run->m_text = u"x</e>y</l>z<";
    run->m_fontSet = FONTBIT_ITALIC;
    run->m_font.lfItalic = 1;
    CString markup = doc.GetMarkup(0);
    EXPECT_EQ(markup, CString(u"<#><l><e:i=1>x</e><e:i=1><</e><e:i=1>/e>y</e><e:i=1><</e><e:i=1>/l>z<</e>"
                              u"</l></#>"));
    CBinTree back;
    ASSERT_TRUE(back.SetMarkup(markup));
    EXPECT_TRUE(back.IsLastParseComplete());
    EXPECT_EQ(back.GetMarkup(2), CString(u"x</e>y</l>z<")) << "the text survives a reload";
    EXPECT_EQ(back.GetMarkup(0), markup);
}

} // namespace
