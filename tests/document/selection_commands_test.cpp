// The selection, visibility, label, fill and trace commands: what each selects, hides, shows or
// switches, the object tree's messages, the batch labels (with the texts they refuse), the update
// texts, and which commands mark the document modified.
#include "construct/construct_fixture.h"

#include "document/display_dialogs.h"
#include "document/display_ids.h"
#include "document/neighbour_services.h"
#include "view/view_colors.h"
#include "view/view_settings.h"

#include <QString>

namespace {

class SelectionCommands : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSetMessageObserver([this](const HxMessageRecord& m) {
            if (m.target == &m_frame)
                m_messages.push_back({m.message, m.wParam, m.lParam, m.posted});
        });
        m_page->m_pageId = 3;
        a = AddPoint(0, 0, 0);
        b = AddPoint(1, 0, 0);
        c = AddPoint(0, 1, 0);
        ab = AddLine(a->m_id, b->m_id);
        face = AddFace({a->m_id, b->m_id, c->m_id});
        circle = AddCircle(0, 0, 0, 2);
        value = AddValue(1.5f, u"t");
    }
    struct CMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool posted;
        bool operator==(const CMessage&) const = default;
    };
    std::vector<CMessage> TreeMessages() const {
        std::vector<CMessage> found;
        for (const CMessage& m : m_messages) {
            if (m.message == UM_SELECTION_CHANGED || m.message == UM_CELL_TEXTS_CHANGED)
                found.push_back(m);
        }
        return found;
    }

    std::vector<CMessage> m_messages;
    CGVertex *a, *b, *c;
    CGLine* ab;
    CGFace* face;
    CGArc* circle;
    CGTmVariable* value;
};

TEST_F(SelectionCommands, SelectingTellsTheObjectTree) {
    const LPARAM item = 40000 + 3;
    ASSERT_TRUE(Run(ID_SELECT_POINT));
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 3);
    EXPECT_EQ(m_page->m_selAll.GetCount(), 3);
    m_page->ClearSelection();
    m_messages.clear();
    a->m_hidden = 1;
    ASSERT_TRUE(Run(ID_SELECT_POINT));
    EXPECT_EQ(m_page->m_selPoints.GetCount(), 2) << "hidden points are not selected";
    ASSERT_TRUE(Run(ID_SELECT_LINE));
    ASSERT_TRUE(Run(ID_SELECT_FACE));
    EXPECT_EQ(m_page->m_selLines.GetCount(), 1);
    EXPECT_EQ(m_page->m_selFaces.GetCount(), 1);
    ASSERT_TRUE(Run(ID_EDIT_SELECT_ALL));
    EXPECT_EQ(m_page->m_selAll.GetCount(), m_page->m_cells.GetCount()) << "hidden ones too";
    ASSERT_TRUE(Run(ID_SELECT_PAGE));
    EXPECT_EQ(m_page->m_pageSelected, 1);
    EXPECT_EQ(TreeMessages(), (std::vector<CMessage>{{UM_SELECTION_CHANGED, 5, item, true},
                                                     {UM_SELECTION_CHANGED, 6, item, true},
                                                     {UM_SELECTION_CHANGED, 7, item, true},
                                                     {UM_SELECTION_CHANGED, 3, item, true},
                                                     {UM_SELECTION_CHANGED, 4, item, false}}));
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(SelectionCommands, VisibleKindsWithNothingToSelectSayNothing) {
    face->m_hidden = 1;
    ASSERT_TRUE(Run(ID_SELECT_FACE));
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_TRUE(TreeMessages().empty());
}

TEST_F(SelectionCommands, ParentsAndChildrenReplaceTheSelection) {
    Select({ab->m_id});
    m_messages.clear();
    ASSERT_TRUE(Run(ID_SELECT_PARENTS));
    // The new selection lists follow the map's order.
    EXPECT_EQ(HxSelectedIds(m_page->m_selPoints), (std::vector<WORD>{b->m_id, a->m_id}));
    EXPECT_TRUE(m_page->m_selLines.IsEmpty());
    ASSERT_TRUE(Run(ID_SELECT_CHILDREN));
    EXPECT_TRUE(m_page->m_selPoints.IsEmpty());
    EXPECT_EQ(m_page->m_selLines.GetCount(), 1);
    EXPECT_EQ(m_page->m_selFaces.GetCount(), 1);
    std::vector<WPARAM> codes;
    for (const CMessage& m : TreeMessages())
        codes.push_back(m.wParam);
    EXPECT_EQ(codes, (std::vector<WPARAM>{9, 10}));
    m_page->ClearSelection();
    EXPECT_FALSE(Enabled(ID_SELECT_PARENTS));
}

TEST_F(SelectionCommands, HidingClearsTheSelectionAndMarksTheDocument) {
    Select({});
    EXPECT_FALSE(Enabled(ID_VIEW_HIDEOBJECTS));
    ASSERT_TRUE(Run(ID_VIEW_HIDEOBJECTS));
    EXPECT_TRUE(m_doc->IsModified()) << "even with nothing to hide";
    Select({a->m_id, ab->m_id});
    EXPECT_TRUE(Enabled(ID_VIEW_HIDEOBJECTS));
    ASSERT_TRUE(Run(ID_VIEW_HIDEOBJECTS));
    EXPECT_EQ(a->m_hidden, 1);
    EXPECT_EQ(ab->m_hidden, 1);
    EXPECT_EQ(b->m_hidden, 0);
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    Select({a->m_id});
    EXPECT_FALSE(Enabled(ID_VIEW_HIDEOBJECTS)) << "everything selected is hidden already";
}

TEST_F(SelectionCommands, LabelsFollowTheFirstSelectedCellInMapOrder) {
    a->m_labelHidden = 1;
    b->m_labelHidden = 1;
    value->m_labelHidden = 0;
    value->m_flag2 = false;
    // Selected in the order b, a, value: the map (newest small keys first) meets the value first,
    // whose label is shown.
    Select({b->m_id, a->m_id, value->m_id});
    CCmdUI ui;
    ui.m_nID = ID_VIEW_SHOWHIDE_LABEL;
    AfxGetCommandRouter().Update(ui);
    EXPECT_TRUE(ui.m_enabled);
    EXPECT_EQ(ui.m_text, CString(u"隐藏标签"));
    ASSERT_TRUE(Run(ID_VIEW_SHOWHIDE_LABEL));
    EXPECT_EQ(a->m_labelHidden, 1);
    EXPECT_EQ(b->m_labelHidden, 1);
    EXPECT_EQ(value->m_labelHidden, 1);
    EXPECT_TRUE(value->m_flag2 || value->m_text2.IsEmpty()) << "a value's text is built again";
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_TRUE(Run(ID_VIEW_SHOWHIDE_LABEL));
    EXPECT_EQ(a->m_labelHidden, 0);
    EXPECT_EQ(b->m_labelHidden, 0);
    Select({});
    CCmdUI none;
    none.m_nID = ID_VIEW_SHOWHIDE_LABEL;
    AfxGetCommandRouter().Update(none);
    EXPECT_FALSE(none.m_enabled);
    EXPECT_EQ(none.m_text, CString(u"显示标签"));
}

TEST_F(SelectionCommands, FillTogglesFacesAndCircles) {
    face->m_style = CGFace::kStyleTranslucent;
    face->m_color.a = 90;
    g_colorLabel = CRgba{0, 0, 0, 255};
    circle->m_labelColor = g_colorLabel;
    circle->m_color = CRgba{0, 128, 0, 255};
    const int hue = g_autoColorHueIndex;
    Select({face->m_id, circle->m_id});
    EXPECT_TRUE(Enabled(ID_VIEW_FILL));
    ASSERT_TRUE(Run(ID_VIEW_FILL));
    EXPECT_EQ(face->m_style, CGFace::kStyleFilled);
    EXPECT_EQ(face->m_color.a, 255);
    EXPECT_EQ(circle->m_kind, CGArc::kDisc);
    EXPECT_EQ(circle->m_labelColor, (CRgba{0, 128, 0, 255})) << "the outline colour goes to the label";
    EXPECT_EQ(g_autoColorHueIndex, (hue + 1) % 12) << "the fill takes the next automatic colour";
    const CRgba fill = circle->m_color;
    ASSERT_TRUE(Run(ID_VIEW_FILL));
    EXPECT_EQ(face->m_style, CGFace::kStyleDepthOnly);
    EXPECT_EQ(circle->m_kind, CGArc::kCircle);
    EXPECT_EQ(circle->m_color.ToColorRef(), (CRgba{0, 128, 0, 255}).ToColorRef());
    EXPECT_EQ(circle->m_labelColor.ToColorRef(), fill.ToColorRef());
    // A label colour of the user's own: the colours are exchanged instead.
    circle->m_labelColor = CRgba{10, 20, 30, 255};
    circle->m_color = CRgba{1, 2, 3, 255};
    ASSERT_TRUE(Run(ID_VIEW_FILL));
    EXPECT_EQ(circle->m_color, (CRgba{10, 20, 30, 255}));
    EXPECT_EQ(circle->m_labelColor, (CRgba{1, 2, 3, 255}));
    Select({a->m_id});
    EXPECT_FALSE(Enabled(ID_VIEW_FILL));
}

TEST_F(SelectionCommands, BatchLabelsRenameThePointsInSelectionOrder) {
    CGLine* bc = AddLine(b->m_id, c->m_id);
    a->m_labelHidden = b->m_labelHidden = c->m_labelHidden = 1;
    Script<CDlgLabel>([](CDlgLabel& dlg) {
        EXPECT_EQ(dlg.m_letter, CString(u"A"));
        EXPECT_EQ(dlg.m_suffix, CString(u" "));
        dlg.m_letter = u"P";
        dlg.m_suffix = u"1";
        dlg.m_showLabels = TRUE;
    });
    Select({c->m_id, b->m_id});
    ASSERT_TRUE(Run(ID_EDIT_LABEL));
    EXPECT_EQ(c->m_name, CString(u"P1"));
    EXPECT_EQ(b->m_name, CString(u"Q1"));
    EXPECT_EQ(a->m_name, CString(u"A"));
    EXPECT_EQ(c->m_labelHidden, 0);
    EXPECT_EQ(a->m_labelHidden, 1);
    EXPECT_EQ(bc->m_name, CString(u"Q1P1")) << "the line's name follows its points";
    EXPECT_EQ(m_page->m_labelLetter, 'R');
    EXPECT_TRUE(m_doc->IsModified()) << "renamed points are stored";
    std::vector<CMessage> texts;
    for (const CMessage& m : TreeMessages())
        if (m.message == UM_CELL_TEXTS_CHANGED)
            texts.push_back(m);
    EXPECT_EQ(texts, (std::vector<CMessage>{{UM_CELL_TEXTS_CHANGED, 0, 3, true}}));
}

TEST_F(SelectionCommands, BatchLabelsRefuseTextsOutsideTheNamingCycle) {
    const struct {
        const char16_t* letter;
        const char16_t* suffix;
        const char16_t* first; // the name the first point gets
    } rows[] = {
        {u"", u" ", u"D"},     // empty letter: the counters stay
        {u"点", u" ", u"E"},   // not a Latin letter
        {u"a", u" ", u"F"},    // small letters are not in the cycle
        {u"K", u"x", u"G"},    // no such suffix
        {u"K", u"", u"H"},     // empty suffix
        {u"Kx", u"'y", u"K'"}, // only the first characters count
    };
    m_page->m_labelLetter = 'D';
    for (const auto& row : rows) {
        Script<CDlgLabel>([&](CDlgLabel& dlg) {
            dlg.m_letter = row.letter;
            dlg.m_suffix = row.suffix;
        });
        Select({a->m_id});
        ASSERT_TRUE(Run(ID_EDIT_LABEL));
        EXPECT_EQ(a->m_name, CString(row.first)) << CString(row.letter).ToQString().toStdString();
    }
    // Cancelled: nothing renamed.
    m_answer = IDCANCEL;
    ASSERT_TRUE(Run(ID_EDIT_LABEL));
    EXPECT_EQ(a->m_name, CString(u"K'"));
}

TEST_F(SelectionCommands, TracesFollowTheFirstSelectedCellAndAreStored) {
    a->m_traced = true;
    Select({a->m_id, b->m_id});
    CCmdUI ui;
    ui.m_nID = ID_VIEW_TRACE;
    AfxGetCommandRouter().Update(ui);
    EXPECT_EQ(ui.m_text, CString(u"追踪对象")) << "b, first in the map, is not traced";
    ASSERT_TRUE(Run(ID_VIEW_TRACE));
    EXPECT_TRUE(a->m_traced);
    EXPECT_TRUE(b->m_traced);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_viewUpdates, 0);
    ui.m_text.Empty();
    AfxGetCommandRouter().Update(ui);
    EXPECT_EQ(ui.m_text, CString(u"取消追踪"));
    ASSERT_TRUE(Run(ID_VIEW_TRACE));
    EXPECT_FALSE(a->m_traced);
    EXPECT_FALSE(b->m_traced);
}

TEST_F(SelectionCommands, EraseDashedAndLabelZoomSwitches) {
    g_traceImageStale = 0;
    EXPECT_TRUE(Enabled(ID_VIEW_TRACE_ERASE));
    ASSERT_TRUE(Run(ID_VIEW_TRACE_ERASE));
    EXPECT_EQ(g_traceImageStale, 1);
    EXPECT_FALSE(Enabled(ID_VIEW_TRACE_ERASE)) << "until the view stores a new trace picture";
    m_page->m_dashedBehindLit = 1;
    ASSERT_TRUE(Run(ID_VIEW_DASHED_LIT));
    EXPECT_EQ(m_page->m_dashedBehindLit, 0);
    CCmdUI ui;
    ui.m_nID = ID_VIEW_DASHED_LIT;
    AfxGetCommandRouter().Update(ui);
    EXPECT_EQ(ui.m_check, 0);
    ASSERT_TRUE(Run(ID_VIEW_LABEL_ZOOM_OFF));
    EXPECT_EQ(g_labelAutoScale, 0);
    ASSERT_TRUE(Run(ID_VIEW_LABEL_ZOOM_ON));
    EXPECT_EQ(g_labelAutoScale, 1);
    EXPECT_FALSE(m_doc->IsModified());
    g_traceImageStale = 0;
}

} // namespace
