// The editing control's operations without a window (CFormulaEditor): undo records and their limit,
// pasting markup and text, templates, colours and fonts of the selection, style cycling and node
// styles, import and export, and indices from messages that are out of range.
#include "formula/formula_editor.h"
#include "formula/formula_templates.h"
#include "formula_test_util.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// An editor over a document of its own, laid out with fixed metrics after every step.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { Load(HX_EMPTY_FORMULA); }
    void Load(const CString& markup) {
        ASSERT_TRUE(m_doc.SetMarkup(markup));
        m_ed.SetDocument(&m_doc);
        m_ed.m_undo.RemoveAll();
        m_ed.RecordUndo();
        Refresh();
    }
    void Refresh() {
        m_dc.SelectFont(m_doc.m_defaultFont);
        m_ed.Invalidate(2);
        m_ed.RefreshLayout(&m_dc);
    }
    void Type(const CString& text) {
        for (char16_t c : text.Str()) {
            m_ed.TypeChar(c);
            Refresh();
        }
    }
    bool Key(int code) {
        bool r = m_ed.HandleKey(code);
        Refresh();
        return r;
    }
    void SelectAll() {
        m_ed.SelectAll();
        Refresh();
    }
    CString Text() { return m_doc.GetMarkup(2); }
    int Rows() { return m_doc.GetRootBox() ? m_doc.GetRootBox()->GetChildCount() : 0; }

    CBinTree m_doc;
    CFormulaEditor m_ed;
    CFixedMetricsDC m_dc;
};

} // namespace

TEST_F(EditorTest, TypingAndKeysRecordUndoStepsThatRestoreFormulaAndCaret) {
    Type(u"ab");
    EXPECT_EQ(m_ed.m_undo.Count(), 3);
    EXPECT_EQ(m_ed.m_undo.At(2)->m_name, CString(u"格式文本编辑"));
    EXPECT_TRUE(Key(FKEY_BACK));
    EXPECT_EQ(m_ed.m_undo.Count(), 4);
    EXPECT_TRUE(Key(FKEY_LEFT)); // caret moves record nothing
    EXPECT_EQ(m_ed.m_undo.Count(), 4);
    EXPECT_EQ(Text(), CString(u"a"));
    ASSERT_TRUE(m_ed.Undo());
    Refresh();
    EXPECT_EQ(Text(), CString(u"ab"));
    EXPECT_EQ(PathOf(m_ed.m_undo.At(2)->m_caretPath), [&] {
        CCaretPath p;
        m_doc.m_pRoot->SaveCaretPath(p);
        return PathOf(p);
    }());
    ASSERT_TRUE(m_ed.Redo());
    EXPECT_FALSE(m_ed.Redo());
    // A refused key changes nothing and records nothing.
    Key(FKEY_HOME);
    const int before = m_ed.m_undo.Count();
    EXPECT_FALSE(Key(FKEY_BACK));
    EXPECT_EQ(m_ed.m_undo.Count(), before);
    // Without a formula every key is refused.
    CBinTree empty;
    CFormulaEditor none;
    none.SetDocument(&empty);
    EXPECT_FALSE(none.HandleKey(FKEY_LEFT));
    EXPECT_FALSE(none.TypeChar(u'x'));
}

TEST_F(EditorTest, TheUndoListKeepsFiftyRecordsAndDropsTheRedoTail) {
    for (int i = 0; i < 55; ++i)
        Type(CString(char16_t(u'a' + i % 26)));
    EXPECT_EQ(m_ed.m_undo.Count(), CUndoRedo::kMaxRecords);
    EXPECT_EQ(m_ed.m_undo.Current(), 49);
    while (m_ed.Undo())
        ;
    EXPECT_EQ(m_ed.m_undo.Current(), 0);
    EXPECT_EQ(Text().GetLength(), 6); // the empty formula and the first five letters are gone
    // With fifty held, the new step drops the first record, which was the current one, and with
    // it every later one.
    Type(u"z");
    EXPECT_EQ(m_ed.m_undo.Count(), 1);
    EXPECT_FALSE(m_ed.CanRedo());
}

TEST_F(EditorTest, PlainTextPastesAsARunOrOneRowALine) {
    struct Case {
        CString text;
        int rows; // rows of the formula afterwards (0: nothing pasted)
        CString plain;
    } cases[] = {
        {u"x+1", 1, u"x+1"},
        {u"a\nb", 2, u"ab"},
        {u"a\r\nb\r\n", 2, u"ab"}, // the last line break ends the last line
        {u"a\n\nb", 3, u"ab"},
        {CString(std::u16string(1023, u'q')), 1, CString(std::u16string(1023, u'q'))},
        {CString(std::u16string(1024, u'q')), 0, u""},
        {u"", 0, u""},
    };
    for (const Case& c : cases) {
        Load(HX_EMPTY_FORMULA);
        const bool pasted = m_ed.PasteText(c.text);
        Refresh();
        EXPECT_EQ(pasted, c.rows > 0) << c.text.GetLength();
        EXPECT_EQ(Text(), c.plain);
        if (c.rows) {
            EXPECT_EQ(Rows(), c.rows);
        }
        ExpectTreeConsistent(m_doc.m_pRoot);
    }
    std::u16string many;
    for (int i = 0; i < 30; ++i)
        many += u"L\n";
    Load(HX_EMPTY_FORMULA);
    m_ed.PasteText(CString(many));
    EXPECT_EQ(Rows(), HX_PASTE_TEXT_ROWS);
}

TEST_F(EditorTest, ThePrivateFormatCarriesTheSelectionsMarkup) {
    Load(u"<#><l><e>ab</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f></l></#>");
    SelectAll();
    ASSERT_TRUE(m_ed.HasSelection());
    const std::vector<BYTE> bytes = HxFormulaClipboardBytes(m_ed.SelectionMarkup());
    ASSERT_GE(bytes.size(), size_t(2));
    EXPECT_EQ(bytes[bytes.size() - 1], 0); // the terminator
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(HxFormulaFromClipboardBytes(bytes), m_ed.SelectionMarkup());
    Key(FKEY_END);
    ASSERT_TRUE(m_ed.PastePrivate(bytes));
    Refresh();
    EXPECT_EQ(Text(), CString(u"ab1/2ab1/2"));
    // Damaged blocks: an odd byte, text after the terminator, no markup at all.
    std::vector<BYTE> odd = bytes;
    odd.insert(odd.end() - 2, 0x41);
    EXPECT_EQ(HxFormulaFromClipboardBytes({0x3C, 0x00, 0x00, 0x00, 0x3E, 0x00}), CString(u"<"));
    EXPECT_FALSE(m_ed.PastePrivate({}));
    const CString before = m_doc.GetMarkup(0);
    m_ed.PastePrivate(HxFormulaClipboardBytes(u"not markup"));
    EXPECT_EQ(m_doc.GetMarkup(0), before);
}

TEST_F(EditorTest, EveryTemplateInsertsAndOtherNumbersAreIgnored) {
    for (int i = 0; i < HX_FORMULA_TEMPLATE_COUNT; ++i) {
        Load(HX_EMPTY_FORMULA);
        EXPECT_TRUE(m_ed.InsertTemplate(i)) << i;
        Refresh();
        EXPECT_FALSE(m_doc.IsEmpty()) << i;
        ExpectTreeConsistent(m_doc.m_pRoot);
    }
    const int records = m_ed.m_undo.Count();
    for (int i : {-1, HX_FORMULA_TEMPLATE_COUNT, 1000})
        EXPECT_FALSE(m_ed.InsertTemplate(i));
    for (int i : {-1, HX_FORMULA_SYMBOL_COUNT})
        EXPECT_FALSE(m_ed.InsertSymbol(i));
    for (int i : {-1, 16, 29})
        EXPECT_FALSE(m_ed.SetColorIndex(i));
    EXPECT_EQ(m_ed.m_undo.Count(), records);
    Load(HX_EMPTY_FORMULA);
    EXPECT_TRUE(m_ed.InsertSymbol(127));
    EXPECT_EQ(Text(), CString(u"☭"));
}

TEST_F(EditorTest, FontCommandsChangeTheWholeFormulaOrOnlyTheSelectedRuns) {
    Load(u"<#><l><e>abcd</e></l></#>");
    SelectAll();
    ASSERT_TRUE(m_doc.m_pRoot->IsWholeSelected());
    ASSERT_EQ(m_ed.m_font.lfWeight, FW_BOLD); // the typing font follows the selection
    m_ed.ToggleBold();
    Refresh();
    // The root takes the weight as its own (it differs from the default) and passes it to its row.
    EXPECT_EQ(m_doc.m_pRoot->m_font.lfWeight, FW_NORMAL);
    EXPECT_TRUE(m_doc.m_pRoot->m_fontSet & FONTBIT_BOLD);
    EXPECT_EQ(RowOf(m_doc.m_pRoot, 0)->m_font.lfWeight, FW_NORMAL);

    Load(u"<#><l><e>abcd</e></l></#>");
    const int w = CFixedMetricsDC::CharWidth(m_doc.m_defaultFont, u'a');
    const int y = (m_doc.m_pRoot->m_rect.top + m_doc.m_pRoot->m_rect.bottom) / 2;
    m_doc.m_pRoot->SetCaretFromPoint(w, y);
    m_doc.m_pRoot->ExtendSelectionToPoint(3 * w, y);
    Refresh();
    ASSERT_EQ(m_doc.GetMarkup(3), CString(u"bc"));
    EXPECT_TRUE(m_ed.SetColorIndex(0));
    Refresh();
    CRowNode* row = RowOf(m_doc.m_pRoot, 0);
    ASSERT_EQ(row->GetChildCount(), 3);
    EXPECT_EQ(row->GetChild(1)->m_color, RGB(255, 0, 0));
    EXPECT_EQ(row->GetChild(0)->m_color, RGB(0, 0, 0));
    EXPECT_FALSE(m_doc.m_pRoot->m_colorSet);
    EXPECT_EQ(Text(), CString(u"abcd"));

    // Sizes from the toolbar: whole points at 96 pixels an inch.
    m_ed.SetSizeTwips(240, 96);
    EXPECT_EQ(m_ed.m_font.lfHeight, 16);
    m_ed.SetSizeTwips(250, 96);
    EXPECT_EQ(m_ed.m_font.lfHeight, 17);
    // A face longer than the face field keeps its terminator.
    m_ed.SetFace(CString(std::u16string(40, u'F')), 0);
    EXPECT_EQ(HxGetFaceName(m_ed.m_font).GetLength(), LF_FACESIZE - 1);
}

TEST_F(EditorTest, StylesCycleAndNodeStylesMapTypedCodesIntoTheSymbolFont) {
    m_ed.InsertStructure(14); // parentheses
    SelectAll();
    ASSERT_TRUE(m_ed.CycleStyle(-1));
    auto* fence = DYNAMIC_DOWNCAST(CBraceNode, ChildOf(RowOf(m_doc.m_pRoot, 0), 0));
    ASSERT_NE(fence, nullptr);
    EXPECT_EQ(fence->m_text, HxFencePair(HX_FENCE_PAIR_COUNT - 1)); // wrapped round
    Load(u"<#><l><e>x</e></l></#>");
    SelectAll();
    EXPECT_FALSE(m_ed.CycleStyle(1));
    HxNodeStyle none;
    EXPECT_FALSE(m_ed.GetNodeStyle(none));

    struct Case {
        CString markup; // one structure, selected whole
        int mode;
        CString typed;
        int type;
        CString text; // the node's text afterwards
    } cases[] = {
        {u"<#><l><i><#><l></l></#><#><l></l></#></i></l></#>", 1, CString(u"\u00E5"), 0, CString(u"\uF0E5")},
        {u"<#><l><i><#><l></l></#><#><l></l></#></i></l></#>", 1, u"", 0, CString(u"\uF0F2")},
        {u"<#><l><s><#><l></l></#><#><l></l></#></s></l></#>", 1, CString(u"\u0001"), 0, CString(u"\uF0E5")},
        {u"<#><l><b><#><l></l></#></b></l></#>", 1, u"(]", 0, CString(u"\uF028\uF05D")},
        {u"<#><l><b><#><l></l></#></b></l></#>", 1, u" ]", 0, CString(u" \uF05D")},
        {u"<#><l><b><#><l></l></#></b></l></#>", 1, u"x", 0, CString(u"\uF0E1\uF0F1")},
        {u"<#><l><t><#><l></l></#><#><l></l></#>lim</t></l></#>", 2, u"max", 0, u"max"},
        {u"<#><l><t><#><l></l></#><#><l></l></#>lim</t></l></#>", 2, u"", 0, u"lim"},
        {u"<#><l><a:type=6><#><l></l></#><#><l></l></#></a></l></#>", 0, u"", 13, u""},
    };
    for (const Case& c : cases) {
        Load(c.markup);
        SelectAll();
        HxNodeStyle style;
        ASSERT_TRUE(m_ed.GetNodeStyle(style)) << U8(c.markup);
        EXPECT_EQ(style.mode, c.mode) << U8(c.markup);
        if (c.mode == 0) {
            EXPECT_EQ(style.type, 6);
        }
        style.text = c.typed;
        style.type = c.type;
        m_ed.ApplyNodeStyle(style);
        if (c.mode == 0) {
            EXPECT_EQ(style.node->m_type, c.type);
        } else {
            EXPECT_EQ(style.node->m_text, c.text) << U8(c.markup) << " " << U8(c.typed);
        }
    }
}

TEST_F(EditorTest, ImportRefusesWhatIsNoFormulaAndExportGoesByTheExactExtension) {
    Type(u"k");
    const CString before = m_doc.GetMarkup(0);
    const int records = m_ed.m_undo.Count();
    EXPECT_FALSE(m_ed.ImportData(CBinTree::MtfBytes(u"plain words")));
    EXPECT_FALSE(m_ed.ImportData({0x41, 0x00}));
    EXPECT_EQ(m_doc.GetMarkup(0), before);
    EXPECT_EQ(m_ed.m_undo.Count(), records);
    EXPECT_TRUE(m_ed.ImportData(CBinTree::MtfBytes(u"<#><l><e>m</e></l></#>")));
    EXPECT_EQ(Text(), CString(u"m"));
    EXPECT_EQ(m_ed.m_undo.Count(), records + 1);

    QTemporaryDir dir;
    struct Case {
        const char* name;
        bool chosen;
        const char* head;
    } cases[] = {{"f.mtf", true, "\xFF\xFE"}, {"f.bmp", true, "BM"},     {"f.emf", true, "\x01"},
                 {"f.MTF", false, nullptr},   {"f.Bmp", false, nullptr}, {"f.txt", false, nullptr}};
    for (const Case& c : cases) {
        bool written = true;
        EXPECT_EQ(m_ed.Export(CString::FromQString(dir.filePath(c.name)), &written), c.chosen) << c.name;
        QFile f(dir.filePath(c.name));
        EXPECT_EQ(written, c.chosen);
        EXPECT_EQ(f.exists(), c.chosen) << c.name;
        if (c.head && f.open(QIODevice::ReadOnly)) {
            EXPECT_TRUE(f.read(2).startsWith(c.head)) << c.name;
        }
    }
    EXPECT_TRUE(m_ed.Import(CString::FromQString(dir.filePath("f.mtf"))));
    EXPECT_EQ(Text(), CString(u"m"));
}
