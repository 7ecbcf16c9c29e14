// The document's option and display commands: the options dialog with the renaming of pages, the
// weight table on its edge values and the typed weight, translucent toggles, tables through the
// builder, the automatic button across pages, the command-sequence button, and the insertion of
// pictures and formula texts with their undo steps.
#include "edit_test_support.h"

#include "document/option_ids.h"
#include "document/options_dialogs.h"
#include "dynamics/button_dialogs.h"
#include "dynamics/buttons.h"
#include "formula/mtf_dialogs.h"
#include "measure/measurements.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/face.h"
#include "solids/revolution.h"
#include "support/page_snapshot.h"
#include "view/view_globals.h"
#include "view/view_services.h"

#include <functional>

namespace {

class OptionsCommandsTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        HxSetDialogRunner([this](CDialog& dialog) {
            ++m_dialogs;
            if (m_script)
                m_script(dialog);
            return m_dialogAnswer;
        });
        m_page = g_pCurPage;
        m_a = AddPoint(m_page, 0, 0, 0);
        m_b = AddPoint(m_page, 4, 0, 0);
        m_c = AddPoint(m_page, 0, 3, 0);
        m_ab = AddLine(m_page, m_a->m_id, m_b->m_id);
        m_doc->SetModifiedFlag(FALSE);
    }
    template <class T> void Script(std::function<void(T&)> script) {
        m_script = [script](CDialog& dialog) {
            T* typed = DYNAMIC_DOWNCAST(T, &dialog);
            ASSERT_NE(typed, nullptr) << dialog.GetRuntimeClass()->m_lpszClassName;
            script(*typed);
        };
    }
    void Select(std::initializer_list<WORD> ids) {
        m_page->ClearSelection();
        for (WORD id : ids)
            m_page->SelectCell(id);
    }
    CCmd* LastStep() const { return m_page->m_cmdProcessor.GetCurrent(); }

    CGPage* m_page = nullptr;
    CGVertex *m_a, *m_b, *m_c;
    CGLine* m_ab;
    std::function<void(CDialog&)> m_script;
    INT_PTR m_dialogAnswer = IDOK;
    int m_dialogs = 0;
};

// ---------------------------------------------------------------------------------------------
// Document options

TEST_F(OptionsCommandsTest, OptionsRenameTwelvePagesInOrderAndKeepTheDescription) {
    for (int i = 1; i < 12; ++i)
        m_doc->OnNewPage();
    ASSERT_EQ(m_doc->GetPageCount(), 12);
    m_doc->m_author = u"作者甲";
    m_doc->m_description = u"旧说明";
    m_doc->SetModifiedFlag(FALSE);
    Script<CDlgPage>([](CDlgPage& dialog) {
        EXPECT_EQ(dialog.m_author, u"作者甲");
        EXPECT_EQ(dialog.m_description, u"旧说明");
        EXPECT_EQ(dialog.m_pageTitles.size(), 12u);
        EXPECT_EQ(dialog.m_selectedPage, 0);
        EXPECT_FALSE(dialog.m_renamePages);
        dialog.m_description = u"新说明\n第二行";
        dialog.m_renamePages = TRUE;
        dialog.m_storeFormulaGraphics = TRUE;
    });
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_FILE_OPTIONS));
    const std::vector<CString> titles = Titles();
    const std::vector<CString> expected = {u"第一页", u"第二页", u"第三页", u"第四页", u"第五页", u"第六页",
                                           u"第七页", u"第八页", u"第九页", u"第十页", u"第11页", u"第12页"};
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(m_doc->m_description, u"新说明\n第二行");
    EXPECT_EQ(m_doc->m_storeMtfImages, 1);
    EXPECT_TRUE(m_doc->IsModified());
    const std::vector<HxMessageRecord> sent = Sent(UM_CELL_TEXTS_CHANGED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].wParam, WPARAM(3));
    EXPECT_EQ(sent[0].lParam, LPARAM(g_pCurPage->m_pageId));
}

TEST_F(OptionsCommandsTest, CancelledOptionsChangeNothing) {
    m_doc->m_description = u"说明";
    Script<CDlgPage>([](CDlgPage& dialog) {
        dialog.m_description = u"改过";
        dialog.m_renamePages = TRUE;
    });
    m_dialogAnswer = IDCANCEL;
    const std::vector<CString> before = Titles();
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_FILE_OPTIONS));
    EXPECT_EQ(m_doc->m_description, u"说明");
    EXPECT_EQ(Titles(), before);
    EXPECT_FALSE(m_doc->IsModified());
}

// ---------------------------------------------------------------------------------------------
// Weights

TEST_F(OptionsCommandsTest, WeightStepsStopAtTheirEdges) {
    auto* value = AddCell(m_page, new CGTmVarCoordX(0, m_a->m_id));
    const struct {
        UINT id;
        float pointBefore, pointAfter;
        float lineBefore, lineAfter;
        float stepBefore, stepAfter;
    } rows[] = {
        {ID_VIEW_WEIGHT_JIA, 19.0f, 19.5f, 2.0f, 2.5f, 0.01f, 0.001f},
        {ID_VIEW_WEIGHT_JIA, 19.5f, 19.5f, 19.6f, 19.6f, 0.0001f, 0.00001f},
        // Past the finest step the increase adds 0.5 as to any other object.
        {ID_VIEW_WEIGHT_JIA, 3.0f, 3.5f, 1.0f, 1.5f, 0.00001f, 0.50001f},
        {ID_VIEW_WEIGHT_JIAN, 1.5f, 1.0f, 1.0f, 1.0f, 0.1f, 1.0f},
        {ID_VIEW_WEIGHT_JIAN, 0.8f, 0.8f, 20.0f, 19.5f, 0.001f, 0.01f},
        // A step of 1 is not refined by the decrease, nor above 1.
        {ID_VIEW_WEIGHT_JIAN, 6.0f, 5.5f, 2.0f, 1.5f, 1.0f, 1.0f},
        {ID_VIEW_WEIGHT_MOREN, 9.0f, g_pointSize, 9.0f, g_lineWidth, 0.1f, 0.01f},
    };
    for (const auto& r : rows) {
        m_a->m_size = r.pointBefore;
        m_ab->m_size = r.lineBefore;
        value->m_size = r.stepBefore;
        Select({m_a->m_id, m_ab->m_id, value->m_id});
        ASSERT_TRUE(Enabled(r.id));
        ASSERT_TRUE(AfxGetCommandRouter().Execute(r.id));
        EXPECT_FLOAT_EQ(m_a->m_size, r.pointAfter) << r.id << " from " << r.pointBefore;
        EXPECT_FLOAT_EQ(m_ab->m_size, r.lineAfter) << r.id << " from " << r.lineBefore;
        EXPECT_FLOAT_EQ(value->m_size, r.stepAfter) << r.id << " from " << r.stepBefore;
    }
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "no undo step";
    // Unselected cells keep theirs; with no point, line, circle or value the commands are off.
    Select({});
    for (UINT id : {ID_VIEW_WEIGHT_JIA, ID_VIEW_WEIGHT_JIAN, ID_VIEW_WEIGHT_MOREN, ID_VIEW_WEIGHT_SHURU})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(OptionsCommandsTest, TypedWeightTakesTheFirstPointAsReference) {
    auto* value = AddCell(m_page, new CGTmVarCoordX(0, m_a->m_id));
    m_b->m_size = 7.0f;
    Script<CDlgWeight>([](CDlgWeight& dialog) {
        EXPECT_FLOAT_EQ(dialog.m_value, 7.0f);
        dialog.m_value = 3.0f;
    });
    Select({m_ab->m_id, m_b->m_id, value->m_id});
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_WEIGHT_SHURU));
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_FLOAT_EQ(m_b->m_size, 3.0f);
    EXPECT_FLOAT_EQ(m_ab->m_size, 3.0f);
    EXPECT_FLOAT_EQ(value->m_size, 0.01f) << "a step above 1 is the default step";

    // A value as reference with a coarse step opens with the default step.
    value->m_size = 5.0f;
    Script<CDlgWeight>([](CDlgWeight& dialog) {
        EXPECT_FLOAT_EQ(dialog.m_value, 0.01f);
        dialog.m_value = 0.001f;
    });
    Select({value->m_id});
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_WEIGHT_SHURU));
    EXPECT_FLOAT_EQ(value->m_size, 0.001f);

    // A face alone is no reference: no dialog.
    auto* face = AddCell(m_page, new CGFace(0, m_a->m_id, m_b->m_id, m_c->m_id, RGB(1, 2, 3)));
    Select({face->m_id});
    AfxGetCommandRouter().Execute(ID_VIEW_WEIGHT_SHURU);
    EXPECT_EQ(m_dialogs, 2);
}

// ---------------------------------------------------------------------------------------------
// Translucency

TEST_F(OptionsCommandsTest, TranslucentTogglesByClassAndEndsOpaque) {
    auto* face = AddCell(m_page, new CGFace(0, m_a->m_id, m_b->m_id, m_c->m_id, RGB(1, 2, 3)));
    auto* arc = AddCell(m_page, new CGArc(0, 8, -5, 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831853f, 0));
    auto* sphere = AddCell(m_page, new CGSphere(0, 0, 0, 0, 2, 0, 0, 1));
    face->m_style = 1;
    arc->m_style = 1;
    sphere->m_style = 0;
    const struct {
        BYTE face, arc, sphere, alpha;
    } expected[] = {{4, 2, 3, 90}, {3, 1, 2, 255}, {4, 2, 3, 90}};
    for (const auto& e : expected) {
        Select({face->m_id, arc->m_id, sphere->m_id, m_a->m_id});
        ASSERT_TRUE(Enabled(ID_VIEW_TRANSLUCENT));
        ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_TRANSLUCENT));
        EXPECT_EQ(face->m_style, e.face);
        EXPECT_EQ(arc->m_style, e.arc);
        EXPECT_EQ(sphere->m_style, e.sphere);
        for (CGCell* cell : std::initializer_list<CGCell*>{face, arc, sphere})
            EXPECT_EQ(cell->m_color.a, e.alpha);
        EXPECT_EQ(m_a->m_style, 0) << "a point is left alone";
        EXPECT_TRUE(m_page->m_selAll.IsEmpty()) << "the selection is cleared";
    }
    Select({m_a->m_id});
    EXPECT_FALSE(Enabled(ID_VIEW_TRANSLUCENT));
}

// ---------------------------------------------------------------------------------------------
// Tables

TEST_F(OptionsCommandsTest, TheTableCommandBuildsTheGridAsOneStep) {
    g_clientWidth = 800;
    g_clientHeight = 600;
    g_unitLength = 0.05f;
    const WORD first = m_page->m_nextId;
    Script<CDlgTable>([](CDlgTable& dialog) {
        EXPECT_EQ(dialog.m_rows, 4);
        EXPECT_EQ(dialog.m_columns, 4);
    });
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_CREATE_TABLE));
    EXPECT_EQ(m_page->m_nextId - first, 98);
    auto* step = DYNAMIC_DOWNCAST(CCmdAddCells, LastStep());
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->m_count, 98);
    EXPECT_EQ(step->m_name, u"添加表格");
    auto* anchor = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(first));
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(anchor->m_name, u"Table");
    EXPECT_NEAR(anchor->m_x, -40.0 / 6.0 * 2.0, 1e-4);
    EXPECT_NEAR(anchor->m_y, 10.0, 1e-4);
    EXPECT_EQ(anchor->m_hidden, 1);
    auto* button = DYNAMIC_DOWNCAST(CGButnSHide, m_page->FindCell(WORD(first + 97)));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->m_name, u"显示控位点");
    EXPECT_TRUE(button->m_nameFixed);
    // Its targets: the anchor, the four column and four row points and the sixteen cell points.
    EXPECT_EQ(button->m_parents.GetSize(), 1 + 4 + 4 + 16);
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->m_nextId, first);
}

TEST_F(OptionsCommandsTest, TheBuilderOnEdgeCounts) {
    const struct {
        int rows, columns, cells;
    } rows[] = {{1, 1, 11}, {20, 20, 2082}, {21, 1, 0}, {1, 21, 0}, {0, 3, 0}, {3, -2, 0}};
    for (const auto& r : rows) {
        const WORD first = m_page->m_nextId;
        EXPECT_EQ(CGPage::TableCellCount(r.rows, r.columns), r.cells);
        EXPECT_EQ(m_page->BuildTable(r.rows, r.columns, FALSE, 0, 0, nullptr, nullptr), r.cells)
            << r.rows << " x " << r.columns;
        EXPECT_EQ(m_page->m_nextId - first, r.cells);
    }
    // The names of a one-cell table in their order.
    const WORD first = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildTable(1, 1, FALSE, 0, 0, nullptr, nullptr), 11);
    const std::vector<CString> names = {u"Table", u"1", u"", u"1",   u"",          u"V11",
                                        u"",      u"",  u"", u"T11", u"显示控位点"};
    for (int i = 0; i < 11; ++i) {
        const CGCell* cell = m_page->FindCell(WORD(first + i));
        ASSERT_NE(cell, nullptr);
        if (!names[size_t(i)].IsEmpty()) {
            EXPECT_EQ(cell->m_name, names[size_t(i)]) << i;
        }
    }
    // Given sizes: the corner and each column and row where asked; a missing array gives defaults.
    const float widths[] = {0, 3.0f, 5.0f}, heights[] = {0, 2.0f};
    const WORD given = m_page->m_nextId;
    ASSERT_EQ(m_page->BuildTable(1, 2, TRUE, -1.0f, 4.0f, widths, heights), CGPage::TableCellCount(1, 2));
    auto* column2 = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(WORD(given + 3)));
    auto* row1 = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(WORD(given + 5)));
    ASSERT_TRUE(column2 && row1);
    EXPECT_NEAR(column2->m_x, 7.0, 1e-5);
    EXPECT_NEAR(row1->m_y, 2.0, 1e-5);
    EXPECT_GT(m_page->BuildTable(2, 2, TRUE, 0, 0, nullptr, nullptr), 0) << "no arrays: default sizes";
}

// ---------------------------------------------------------------------------------------------
// Automatic buttons

TEST_F(OptionsCommandsTest, AutomaticButtonsSetAndClearedAcrossPages) {
    auto* button = AddCell(m_page, new CGButnSHide(0));
    EXPECT_FALSE(Enabled(ID_AUTOBTN));
    Select({button->m_id});
    ASSERT_TRUE(Enabled(ID_AUTOBTN));
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_AUTOBTN));
    EXPECT_EQ(m_page->m_autoButton, button->m_id);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(Enabled(ID_AUTOBTNDEL));

    m_doc->OnNewPage();
    CGPage* second = g_pCurPage;
    ASSERT_NE(second, m_page);
    second->m_autoButton = 3;
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_AUTOBTNDEL));
    EXPECT_EQ(second->m_autoButton, 0);
    EXPECT_EQ(m_page->m_autoButton, button->m_id) << "only the current page";
    EXPECT_FALSE(Enabled(ID_AUTOBTNDEL));
    second->m_autoButton = 3;
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_AUTODELALL));
    EXPECT_EQ(second->m_autoButton, 0);
    EXPECT_EQ(m_page->m_autoButton, 0);
}

// ---------------------------------------------------------------------------------------------
// The command-sequence button

TEST_F(OptionsCommandsTest, TheCommandButtonTakesTheSequenceAndItsUndoText) {
    const WORD id = m_page->m_nextId;
    Script<CDlgCmdBtn>([](CDlgCmdBtn& dialog) {
        EXPECT_EQ(dialog.m_caption, u"命令序列");
        EXPECT_EQ(dialog.m_delay, 12);
        dialog.m_caption = u"演示";
        dialog.Append(0);  // 三维视图
        dialog.Append(12); // 等待播放结束
        dialog.Append(19); // 下一页
        dialog.m_delay = 5;
    });
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_BTN_MEDIA));
    auto* button = DYNAMIC_DOWNCAST(CGButnCommand, m_page->FindCell(id));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->m_commands, std::vector<int>({32776, 32788, 32862}));
    EXPECT_EQ(button->m_delay, 5);
    EXPECT_EQ(button->GetDescription(), u"演示");
    EXPECT_EQ(LastStep()->m_name, u"添加演示命令按钮");
    EXPECT_EQ(m_page->m_nextId, id + 1);

    // An empty sequence makes no button.
    Script<CDlgCmdBtn>([](CDlgCmdBtn&) {});
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_EDIT_BTN_MEDIA));
    EXPECT_EQ(m_page->m_nextId, id + 1);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 1);
}

TEST(CommandButtonDialogTest, TheSequenceIsEditedInPlace) {
    CDlgCmdBtn dialog;
    ASSERT_EQ(CDlgCmdBtn::Available().size(), 24u);
    EXPECT_EQ(CDlgCmdBtn::CommandName(57664), u"关于Halvix");
    EXPECT_EQ(CDlgCmdBtn::CommandName(1), u"");
    EXPECT_FALSE(dialog.CanAccept());
    dialog.Append(1);
    dialog.Append(2);
    dialog.Append(3);
    dialog.Append(99); // no such command
    EXPECT_EQ(dialog.m_sequence, std::vector<int>({32790, 32786, 32772}));
    EXPECT_EQ(dialog.m_selected, 2);
    EXPECT_FALSE(dialog.CanMoveDown());
    dialog.MoveUp();
    EXPECT_EQ(dialog.m_sequence, std::vector<int>({32790, 32772, 32786}));
    EXPECT_EQ(dialog.m_selected, 1);
    dialog.m_selected = 0;
    EXPECT_FALSE(dialog.CanMoveUp());
    dialog.MoveUp();
    dialog.MoveDown();
    EXPECT_EQ(dialog.m_sequence, std::vector<int>({32772, 32790, 32786}));
    dialog.m_selected = 2;
    dialog.Delete();
    EXPECT_EQ(dialog.m_selected, 1) << "the new last";
    dialog.Delete();
    dialog.Delete();
    EXPECT_TRUE(dialog.m_sequence.empty());
    EXPECT_EQ(dialog.m_selected, -1);
    EXPECT_FALSE(dialog.CanAccept()) << "the last command deleted: no OK";
    EXPECT_FALSE(dialog.CanDelete());
}

// ---------------------------------------------------------------------------------------------
// Insertions

TEST_F(OptionsCommandsTest, InsertedPicturesFitTheDrawingAreaAndAreCentred) {
    g_clientWidth = 800;
    g_clientHeight = 600;
    g_unitLength = 0.05f;
    // Small: scale 1, centred.
    ASSERT_TRUE(m_doc->InsertImage(100, 50, std::vector<BYTE>(size_t(300) * 50, 9)));
    auto* picture = DYNAMIC_DOWNCAST(CGTbImage, m_page->FindCell(WORD(m_page->m_nextId - 1)));
    ASSERT_NE(picture, nullptr);
    EXPECT_FLOAT_EQ(picture->m_scaleX, 1.0f);
    EXPECT_FLOAT_EQ(picture->m_labelPos[0], -2.5f);
    EXPECT_FLOAT_EQ(picture->m_labelPos[1], -1.25f);
    EXPECT_EQ(LastStep()->m_name, u"插入图片");
    EXPECT_EQ(picture->m_name, u"Img");
    // Taller than the area: the height decides.
    ASSERT_TRUE(m_doc->InsertImage(300, 1200, std::vector<BYTE>(size_t(900) * 1200, 9)));
    picture = DYNAMIC_DOWNCAST(CGTbImage, m_page->FindCell(WORD(m_page->m_nextId - 1)));
    ASSERT_NE(picture, nullptr);
    EXPECT_FLOAT_EQ(picture->m_scaleY, float(0.98 * 600 / 1200));
    EXPECT_FLOAT_EQ(picture->m_labelPos[1], float(-0.5 * 588 * 0.05));
    // Pixels that do not fill the size add nothing.
    const WORD next = m_page->m_nextId;
    EXPECT_FALSE(m_doc->InsertImage(10, 10, std::vector<BYTE>(10, 0)));
    EXPECT_FALSE(m_doc->InsertImage(0, 10, {}));
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(OptionsCommandsTest, FormulaTextsAreInsertedFreeOrAtTheFirstSelectedPoint) {
    const auto insert = HxGetViewServices().insertMtfColourText;
    ASSERT_TRUE(insert) << "installed by the document";
    Script<CMtfDlg>([](CMtfDlg& dialog) {
        EXPECT_EQ(dialog.m_openAt, CPoint(40, 50));
        dialog.m_markup = u"<#><l><e>y=x</e></l></#>";
        dialog.m_empty = false;
    });
    Select({});
    insert(*m_doc, CPoint(40, 50), 1);
    auto* free = DYNAMIC_DOWNCAST(CGTbMtfText, m_page->FindCell(WORD(m_page->m_nextId - 1)));
    ASSERT_NE(free, nullptr);
    EXPECT_FALSE(free->IsKindOf(RUNTIME_CLASS(CGTbMhc)));
    EXPECT_EQ(free->m_textureMode, 1);
    EXPECT_EQ(free->m_kind, 4);
    EXPECT_EQ(free->m_markup, u"<#><l><e>y=x</e></l></#>");
    EXPECT_EQ(LastStep()->m_name, u"插入MTF彩色文本");

    Select({m_b->m_id, m_a->m_id});
    insert(*m_doc, CPoint(40, 50), 0);
    auto* attached = DYNAMIC_DOWNCAST(CGTbMhc, m_page->FindCell(WORD(m_page->m_nextId - 1)));
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached->m_parents[0], m_b->m_id);
    EXPECT_EQ(attached->m_kind, 4);

    // An empty formula or a cancel adds nothing.
    const WORD next = m_page->m_nextId;
    Script<CMtfDlg>([](CMtfDlg& dialog) { dialog.m_empty = true; });
    insert(*m_doc, CPoint(0, 0), 0);
    m_dialogAnswer = IDCANCEL;
    Script<CMtfDlg>([](CMtfDlg& dialog) { dialog.m_empty = false; });
    insert(*m_doc, CPoint(0, 0), 0);
    EXPECT_EQ(m_page->m_nextId, next);
}

TEST_F(OptionsCommandsTest, AFormulaTextOnAPointHidesTheLabelUntilItIsUndone) {
    Script<CMtfDlg>([](CMtfDlg& dialog) {
        dialog.m_markup = u"<#><l><e>A</e></l></#>";
        dialog.m_empty = false;
    });
    m_c->m_labelHidden = 1; // hidden before: stays hidden
    for (CGVertex* point : {m_a, m_c}) {
        const int shown = point->m_labelHidden;
        Select({point->m_id});
        const PageSnapshot before = TakeSnapshot(*m_page);
        HxGetViewServices().insertMtfColourText(*m_doc, CPoint(0, 0), 0);
        ASSERT_NE(DYNAMIC_DOWNCAST(CGTbMhc, m_page->FindCell(WORD(m_page->m_nextId - 1))), nullptr);
        EXPECT_EQ(point->m_labelHidden, 1);
        const PageSnapshot after = TakeSnapshot(*m_page);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        EXPECT_EQ(point->m_labelHidden, shown) << (point == m_a ? "shown before" : "hidden before");
        const PageSnapshot undone = TakeSnapshot(*m_page);
        EXPECT_EQ(undone, before) << SnapshotDifference(undone, before);
        ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
        EXPECT_EQ(point->m_labelHidden, 1);
        const PageSnapshot redone = TakeSnapshot(*m_page);
        EXPECT_EQ(redone, after) << SnapshotDifference(redone, after);
    }
}

TEST_F(OptionsCommandsTest, FormulaTextsKeepOrRenderTheirPicturesAsTheDocumentSays) {
    Script<CMtfDlg>([](CMtfDlg& dialog) {
        dialog.m_markup = u"<#><l><e>a+b</e></l></#>";
        dialog.m_empty = false;
    });
    Select({});
    HxGetViewServices().insertMtfColourText(*m_doc, CPoint(0, 0), 0);
    const std::vector<BYTE> without = Store();
    m_doc->m_storeMtfImages = 1;
    const std::vector<BYTE> with = Store();
    auto* formula = DYNAMIC_DOWNCAST(CGTbMtfText, m_page->FindCell(WORD(m_page->m_nextId - 1)));
    ASSERT_NE(formula, nullptr);
    const int width = formula->m_width, height = formula->m_height;
    ASSERT_GT(width, 0);
    EXPECT_EQ(with.size(), without.size() + 8 + size_t(4) * width * height);
    // (Loading replaces the pages: the cells above are gone.)
    for (const std::vector<BYTE>* bytes : {&without, &with}) {
        ASSERT_TRUE(Load(*bytes));
        CGTbMtfText* back = nullptr;
        ForEachCell(g_pCurPage->m_cells, [&](CGCell* cell) {
            if (auto* text = DYNAMIC_DOWNCAST(CGTbMtfText, cell))
                back = text;
        });
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->m_width, width);
        EXPECT_EQ(back->m_height, height);
        EXPECT_EQ(back->m_markup, u"<#><l><e>a+b</e></l></#>");
    }
    EXPECT_EQ(m_doc->m_storeMtfImages, 1) << "the option travels with the document";
}

} // namespace
