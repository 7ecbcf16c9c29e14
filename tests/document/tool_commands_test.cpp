// User-defined tools: made from constructions of several kinds, matched click by click, applied with
// F5 to several input sets and undone; value-only tools; the tool menu after new and open; the tool
// options and the script view's texts; refused tool records.
#include "tool_test_support.h"

#include "measure/calculator.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/arc_circles.h"
#include "model/dependent_points.h"
#include "model/line.h"
#include "points/scaled_points.h"
#include "view/view_services.h"

#include <cmath>

namespace {

class ToolCommandsTest : public ToolTest {
protected:
    // A, B free in space, the segment AB and its midpoint M; returns M.
    WORD Midpoint() {
        m_a = Free(0, 0, 0);
        m_b = Free(4, 2, 0);
        const WORD ab = Add(new CGLine(NextId(), m_a, m_b, CGLine::kSegment))->m_id;
        return Add(new CGVerMid(NextId(), m_page->m_nextVertex++, m_page->MakeAutoLabel(1), ab))->m_id;
    }
    // A tool made from the selection through the new-tool command.
    CRecord* MakeTool(std::initializer_list<WORD> selection, const CString& name) {
        Select(selection);
        m_toolName = name;
        if (!Run(ID_TOOL_CREATE) || m_doc->m_tools.IsEmpty())
            return nullptr;
        return m_doc->m_tools.GetTail();
    }
    int Cells() const { return m_page->m_cells.GetCount(); }
    static void ExpectAt(const float* p, float x, float y, float z) {
        ASSERT_NE(p, nullptr);
        EXPECT_NEAR(p[0], x, 1e-5f);
        EXPECT_NEAR(p[1], y, 1e-5f);
        EXPECT_NEAR(p[2], z, 1e-5f);
    }

    WORD m_a = 0, m_b = 0;
};

} // namespace

TEST_F(ToolCommandsTest, TheMidpointBecomesAToolOfItsTwoFreePointsAfterTheQuestion) {
    const WORD m = Midpoint();
    CRecord* tool = MakeTool({m}, u"中点工具");
    ASSERT_NE(tool, nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, u"继续创建工具？");
    EXPECT_EQ(m_presetName, u"工具#1");
    EXPECT_EQ(tool->m_name, u"中点工具");
    EXPECT_EQ(tool->m_cellCount, 4);
    EXPECT_EQ(tool->m_pointCount, 3);
    EXPECT_EQ(tool->m_inputCount, 2);
    EXPECT_EQ(tool->m_pointInputCount, 2);
    ASSERT_EQ(tool->m_conditions.GetSize(), 2);
    EXPECT_EQ(tool->m_conditions[0]->m_text, u"点A");
    EXPECT_EQ(tool->m_conditions[1]->m_text, u"点B");
    // Tool-local ids, parents through them, the descriptions kept.
    CGCell* mid = tool->m_recordedCells.GetTail();
    EXPECT_EQ(mid->m_id, 3);
    EXPECT_EQ(mid->m_parents[0], 2);
    EXPECT_FALSE(mid->m_text1.IsEmpty());
    EXPECT_TRUE(mid->m_children.IsEmpty());
    EXPECT_EQ(g_pCurrentTool, tool);
    EXPECT_EQ(g_currentToolCommand, 20000);
    EXPECT_EQ(m_menu.m_items,
              (std::vector<std::string>{"create", "apply", "script", "options", "label:当前文档工具",
                                        "20000:中点工具|请在\"工具属性\"中输入工具注释", "set-label"}));
    EXPECT_TRUE(m_doc->IsModified());
    // Nothing of the page changed; the marks are all cleared.
    EXPECT_EQ(Cells(), 4);
    for (POSITION pos = m_page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_page->m_cells.GetNextAssoc(pos, id, cell);
        EXPECT_FALSE(cell->m_mark);
    }
}

TEST_F(ToolCommandsTest, ARootThatIsNoFreePointFailsAndCancelMakesNothing) {
    const WORD fixed = AddPoint(m_page, 0, 0, 0)->m_id;
    const WORD b = Free(1, 0, 0);
    const WORD line = Add(new CGLine(NextId(), fixed, b, CGLine::kSegment))->m_id;
    EXPECT_EQ(MakeTool({line}, u"x"), nullptr);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, u"创建工具失败");
    EXPECT_EQ(m_dialogs, 0);

    // The whole structure selected: no question; Cancel in the dialog drops the tool.
    m_boxes.clear();
    const WORD m = Midpoint();
    const WORD ab = m_page->FindCell(m)->m_parents[0];
    m_dialogAnswer = IDCANCEL;
    EXPECT_EQ(MakeTool({m_a, m_b, ab, m}, u"x"), nullptr);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(g_pCurrentTool, nullptr);
    EXPECT_EQ(m_menu.GetCount(), 5);
}

TEST_F(ToolCommandsTest, F5AppliesTheToolToEachPairOfSelectedPointsAsOneStep) {
    const WORD m = Midpoint();
    CRecord* tool = MakeTool({m}, u"中点");
    ASSERT_NE(tool, nullptr);
    const WORD p[5] = {Free(10, 0, 0), Free(12, 4, 2), Free(-2, -2, 0), Free(2, 2, 6), Free(9, 9, 9)};
    Select({p[0], p[1], p[2], p[3], p[4]});
    const int before = Cells();
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    // Points 1-2 and 3-4: a segment and its midpoint each; point 5 takes no part.
    EXPECT_EQ(Cells(), before + 4);
    ExpectAt(PositionOf(WORD(first + 1)), 11, 2, 1);
    ExpectAt(PositionOf(WORD(first + 3)), 0, 0, 3);
    const CGCell* segment = m_page->FindCell(first);
    EXPECT_EQ(segment->m_parents[0], p[0]);
    EXPECT_EQ(segment->m_parents[1], p[1]);
    EXPECT_NE(m_page->FindCell(p[0])->m_children.Find(first), nullptr);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"中点");
    // Moving an input moves what the tool built on it.
    auto* a = static_cast<CGVertex*>(m_page->FindCell(p[0]));
    a->SetPosition(20, 0, 0);
    std::vector<WORD> ids;
    m_page->CollectDescendantIds(*a, ids);
    m_page->UpdateCellsById(ids);
    ExpectAt(PositionOf(WORD(first + 1)), 16, 2, 1);

    EXPECT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(m_page->m_nextId, first);
    EXPECT_EQ(m_page->FindCell(p[0])->m_children.Find(first), nullptr);
    EXPECT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(Cells(), before + 4);

    // Too few points: disabled; none: nothing.
    Select({p[4]});
    EXPECT_FALSE(Enabled(ID_TOOL_AUTODO));
    EXPECT_EQ(m_page->ApplyCurrentTool(), 0);
    // Only with the arrow tool.
    Select({p[0], p[1]});
    g_mouseTool = 6;
    EXPECT_FALSE(Enabled(ID_TOOL_AUTODO));
}

// A tool of a text on a point: applied with F5, its text follows the selected point without hiding
// the point's label, and the undo and redo of the step leave that label as it was, shown or hidden.
TEST_F(ToolCommandsTest, AToolsTextOnAPointLeavesThePointsLabelThroughUndoAndRedo) {
    m_a = Free(0, 0, 0);
    CCellMap* saved = g_cellMap;
    g_cellMap = &m_page->m_cells;
    const WORD text = Add(new CGTbHenchman(NextId(), 4, 1, std::vector<BYTE>(4, 0xF0), m_a))->m_id;
    g_cellMap = saved;
    CRecord* tool = MakeTool({text}, u"随点文本");
    ASSERT_NE(tool, nullptr);
    ASSERT_EQ(tool->m_pointInputCount, 1);
    for (const int hidden : {0, 1}) {
        const WORD p = Free(6, 0, 0);
        CGCell* point = m_page->FindCell(p);
        point->m_labelHidden = hidden;
        Select({p});
        const WORD made = m_page->m_nextId;
        ASSERT_TRUE(Run(ID_TOOL_AUTODO));
        auto* follower = DYNAMIC_DOWNCAST(CGTbHenchman, m_page->FindCell(made));
        ASSERT_NE(follower, nullptr);
        ASSERT_EQ(follower->m_parents[0], p);
        EXPECT_EQ(point->m_labelHidden, hidden) << "the tool's text hides no label";
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        EXPECT_EQ(m_page->FindCell(made), nullptr);
        EXPECT_EQ(point->m_labelHidden, hidden) << "undo";
        ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
        EXPECT_EQ(m_page->FindCell(made), follower);
        EXPECT_EQ(point->m_labelHidden, hidden) << "redo";
    }
}

TEST_F(ToolCommandsTest, FeetAndCirclesThroughThreePointsReplayOnNewPoints) {
    // The foot of P on the line through A and B.
    const WORD pp = Free(0, 5, 0), a = Free(-1, 0, 0), b = Free(1, 0, 0);
    const WORD foot = Add(new CGVerFootpl(NextId(), m_page->m_nextVertex++, u"F", pp, a, b))->m_id;
    CRecord* footTool = MakeTool({foot}, u"垂足");
    ASSERT_NE(footTool, nullptr);
    EXPECT_EQ(footTool->m_pointInputCount, 3);
    const WORD q[3] = {Free(3, 7, 1), Free(0, 0, 1), Free(0, 2, 1)};
    Select({q[0], q[1], q[2]});
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    ExpectAt(PositionOf(first), 0, 7, 1);

    // The circle through three points.
    const WORD c[3] = {Free(0, 0, 0), Free(2, 0, 0), Free(0, 2, 0)};
    const WORD circle = Add(new CGArcCircle3P(NextId(), c[0], c[1], c[2], 0))->m_id;
    CRecord* circleTool = MakeTool({c[0], c[1], c[2], circle}, u"三点圆");
    ASSERT_NE(circleTool, nullptr);
    EXPECT_EQ(circleTool->m_cellCount, 4);
    const WORD d[6] = {Free(10, 0, 0), Free(14, 0, 0), Free(10, 4, 0),
                       Free(0, 0, 5),  Free(0, 6, 5),  Free(0, 0, 11)};
    Select({d[0], d[1], d[2], d[3], d[4], d[5]});
    const WORD circles = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    const auto* one = DYNAMIC_DOWNCAST(CGArc, m_page->FindCell(circles));
    const auto* two = DYNAMIC_DOWNCAST(CGArc, m_page->FindCell(WORD(circles + 1)));
    ASSERT_TRUE(one && two);
    ExpectAt(one->m_center, 12, 2, 0);
    EXPECT_NEAR(one->m_radius, std::sqrt(8.0f), 1e-4f);
    ExpectAt(two->m_center, 0, 3, 8);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"三点圆");
    EXPECT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(m_page->FindCell(circles), nullptr);
}

TEST_F(ToolCommandsTest, AToolOfValuesAloneRepeatsByItsValues) {
    auto value = [&](float v) {
        auto* parameter = Add(new CGTmVarParameter(NextId(), u"p", v));
        return parameter->m_id;
    };
    const WORD x = value(2), y = value(3);
    CList<WORD, WORD> parents;
    parents.AddTail(x);
    parents.AddTail(y);
    const WORD sum = Add(new CGTmVarCalculator(NextId(), parents, u"No1+No2", CString()))->m_id;
    CRecord* tool = MakeTool({sum}, u"和");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->m_inputCount, 2);
    EXPECT_EQ(tool->m_pointInputCount, 0);
    EXPECT_EQ(tool->m_conditions[0]->m_text.Left(1), u"值");
    // No value selected: nothing, and no division by zero.
    Select({});
    EXPECT_FALSE(Enabled(ID_TOOL_AUTODO));
    EXPECT_EQ(m_page->ApplyCurrentTool(), 0);
    const WORD v[5] = {value(1), value(10), value(5), value(7), value(100)};
    Select({v[0], v[1], v[2], v[3], v[4]});
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    const auto* s1 = DYNAMIC_DOWNCAST(CGTmVariable, m_page->FindCell(first));
    const auto* s2 = DYNAMIC_DOWNCAST(CGTmVariable, m_page->FindCell(WORD(first + 1)));
    ASSERT_TRUE(s1 && s2);
    EXPECT_FLOAT_EQ(s1->m_param1, 11.0f);
    EXPECT_FLOAT_EQ(s2->m_param1, 12.0f);
    EXPECT_EQ(m_page->FindCell(WORD(first + 2)), nullptr);
}

TEST_F(ToolCommandsTest, AToolOfPointsAndValuesRepeatsAsOftenAsTheFewerSetsAllow) {
    // P scaled about O by the value k: two point inputs and one value input.
    const WORD p = Free(2, 0, 0), o = Free(0, 0, 0);
    const WORD k = Add(new CGTmVarParameter(NextId(), u"k", 2.0f))->m_id;
    const WORD scaled =
        Add(new CGVerScaleM(NextId(), m_page->m_nextVertex++, m_page->MakeAutoLabel(1), p, o, k))->m_id;
    CRecord* tool = MakeTool({scaled}, u"缩放");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->m_inputCount, 3);
    EXPECT_EQ(tool->m_pointInputCount, 2);
    auto value = [&](float v) { return Add(new CGTmVarParameter(NextId(), u"v", v))->m_id; };
    const WORD q[6] = {Free(1, 0, 0), Free(0, 0, 0), Free(0, 4, 0),
                       Free(0, 2, 0), Free(9, 9, 9), Free(8, 8, 8)};
    const WORD v[3] = {value(3), value(0.5f), value(7)};

    // Three pairs of points and two values: twice, each pair with its value in selection order.
    Select({q[0], q[1], q[2], q[3], q[4], q[5], v[0], v[1]});
    EXPECT_EQ(m_page->CountToolRepetitions(*tool), 2);
    int before = Cells();
    WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    EXPECT_EQ(Cells(), before + 2);
    EXPECT_EQ(m_page->m_nextId, first + 2);
    ExpectAt(PositionOf(first), 3, 0, 0);
    ExpectAt(PositionOf(WORD(first + 1)), 0, 3, 0);
    const CGCell* second = m_page->FindCell(WORD(first + 1));
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->m_parents.GetSize(), 3);
    EXPECT_EQ((std::vector<WORD>{second->m_parents[0], second->m_parents[1], second->m_parents[2]}),
              (std::vector<WORD>{q[2], q[3], v[1]}));
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"缩放");
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(Cells(), before);

    // One pair of points and three values: once.
    Select({q[4], q[5], v[2], v[1], v[0]});
    EXPECT_EQ(m_page->CountToolRepetitions(*tool), 1);
    first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_TOOL_AUTODO));
    EXPECT_EQ(Cells(), before + 1);
    ExpectAt(PositionOf(first), 15, 15, 15);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());

    // One point short of a pair, or no value: nothing, however many of the other kind.
    Select({q[0], v[0], v[1]});
    EXPECT_FALSE(Enabled(ID_TOOL_AUTODO));
    EXPECT_EQ(m_page->ApplyCurrentTool(), 0);
    Select({q[0], q[1], q[2], q[3]});
    EXPECT_FALSE(Enabled(ID_TOOL_AUTODO));
    EXPECT_EQ(m_page->ApplyCurrentTool(), 0);
    EXPECT_EQ(Cells(), before);

    // A vector is no value for a value input; a tool of points alone lets a selected vector be.
    auto* vector = new CGTmVector;
    vector->m_id = NextId();
    Add(vector);
    Select({q[0], q[1], vector->m_id});
    EXPECT_EQ(m_page->ApplyCurrentTool(), 0);
    EXPECT_EQ(Cells(), before + 1);
    const WORD mid = Midpoint();
    ASSERT_NE(MakeTool({mid}, u"中点"), nullptr);
    before = Cells();
    Select({q[0], q[2], vector->m_id});
    EXPECT_EQ(m_page->ApplyCurrentTool(), 2);
    EXPECT_EQ(Cells(), before + 2);
}

TEST_F(ToolCommandsTest, ClickByClickEachApplicationIsOneStep) {
    const WORD m = Midpoint();
    ASSERT_NE(MakeTool({m}, u"中点"), nullptr);
    m_page->ClearSelection();
    // The tool picked in the menu: the custom-tool mouse tool, armed.
    AfxGetCommandRouter().Execute(20000);
    EXPECT_EQ(g_mouseTool, 6);
    EXPECT_EQ(m_page->m_constructMarker, -1);
    const WORD p = Free(6, 0, 0);
    const WORD value = Add(new CGTmVarParameter(NextId(), u"t", 1.0f))->m_id;
    const int before = Cells();
    HxViewServices& services = HxGetViewServices();
    ASSERT_TRUE(services.applyToolStep && services.matchToolInput);
    const float at[3] = {1, 1, 1};
    services.applyToolStep(*m_page, at);
    const WORD placeholder = WORD(m_page->m_constructMarker);
    ASSERT_GT(placeholder, p);
    EXPECT_EQ(m_status[0], u"匹配点A");
    ExpectAt(PositionOf(placeholder), 1, 1, 1);
    // A value is no point: it matches nothing.
    EXPECT_EQ(services.matchToolInput(*m_page, value, nullptr), 0);
    EXPECT_EQ(WORD(m_page->m_constructMarker), placeholder);
    EXPECT_EQ(services.matchToolInput(*m_page, p, nullptr), 0);
    EXPECT_EQ(m_status[0], u"匹配点B");
    EXPECT_EQ(m_page->FindCell(placeholder), nullptr) << "the first placeholder is gone";
    // The second input: a new point in space where the user clicked.
    const WORD second = WORD(m_page->m_constructMarker);
    auto* clicked = new CGVerFreeXyz(second, m_page->m_nextVertex++, CString(), 8, 4, 2);
    const int n = services.matchToolInput(*m_page, 0, clicked);
    EXPECT_GT(n, 0);
    EXPECT_EQ(m_page->m_constructMarker, -1);
    EXPECT_EQ(m_status[0], u"要结束请右击鼠标！");
    EXPECT_EQ(m_page->FindCell(second), clicked);
    // The midpoint of P and the clicked point.
    ExpectAt(PositionOf(WORD(m_page->m_nextId - 1)), 7, 2, 1);
    EXPECT_EQ(Cells(), before + 3) << "the clicked point, the segment and the midpoint";
    m_page->m_cmdProcessor.Submit(new CCmdAddCells(n, CString(u"使用工具：") + g_pCurrentTool->m_name));
    EXPECT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(Cells(), before);
    EXPECT_TRUE(m_page->FindCell(p)->m_children.IsEmpty());
}

TEST_F(ToolCommandsTest, PickingAnotherToolEndsTheApplicationAsOneStep) {
    const WORD m = Midpoint();
    ASSERT_NE(MakeTool({m}, u"中点"), nullptr);
    AfxGetCommandRouter().Execute(20000);
    const WORD p = Free(6, 0, 0);
    const int before = Cells();
    const float at[3] = {0, 0, 0};
    ASSERT_TRUE(m_page->StartToolApplication(at[0], at[1], at[2]));
    EXPECT_EQ(m_page->MatchToolInput(p, nullptr), 0);
    // The second input waits: picking the tool again finishes what stands (nothing depends on the
    // first input alone), hands the pending ids back and arms again.
    AfxGetCommandRouter().Execute(20000);
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(m_page->m_constructMarker, -1);
    EXPECT_EQ(m_page->m_toolState, nullptr);
    // The tool-set buttons run nothing.
    AfxGetCommandRouter().Execute(34000);
    EXPECT_EQ(g_currentToolCommand, 20000);
}

TEST_F(ToolCommandsTest, TheToolMenuAfterNewAndOpen) {
    const WORD m = Midpoint();
    ASSERT_NE(MakeTool({m}, u"甲"), nullptr);
    ASSERT_NE(MakeTool({m}, u"乙"), nullptr);
    EXPECT_EQ(m_presetName, u"工具#2");
    EXPECT_EQ(g_currentToolCommand, 20001);
    EXPECT_EQ(m_menu.GetCount(), 8);
    const std::vector<BYTE> bytes = Store();

    // New: the document's tools leave the menu, the tool-set entry stays, the current tool goes.
    m_doc->OnNewDocument();
    m_doc->OnInitialUpdate();
    EXPECT_EQ(m_menu.m_items,
              (std::vector<std::string>{"create", "apply", "script", "options", "set-label"}));
    EXPECT_EQ(g_pCurrentTool, nullptr);
    EXPECT_EQ(g_currentToolCommand, 0);
    // Again with no document tools: nothing more is removed.
    m_doc->RebuildToolMenu();
    EXPECT_EQ(m_menu.GetCount(), 5);

    // Open: the stored tools come back into the menu.
    ASSERT_TRUE(Load(bytes));
    m_doc->OnInitialUpdate();
    ASSERT_EQ(m_doc->m_tools.GetCount(), 2);
    EXPECT_EQ(m_menu.m_items[4], "label:当前文档工具");
    EXPECT_EQ(m_menu.m_items[6].substr(0, 9), "20001:乙");
    EXPECT_EQ(m_menu.m_items[7], "set-label");
    // A tool set's tools come first in the numbering.
    g_toolCommandCount = 3;
    m_doc->RebuildToolMenu();
    EXPECT_EQ(m_menu.m_items[5].substr(0, 5), "20003");
    g_toolCommandCount = 0;
}

TEST_F(ToolCommandsTest, ToolOptionsCopyAndDeleteTheCurrentToolSafely) {
    const WORD m = Midpoint();
    CRecord* tool = MakeTool({m}, u"甲");
    ASSERT_NE(tool, nullptr);
    // Copied twice (after the chosen row), then renamed and commented.
    m_script = [&](CDialog& dialog) {
        auto* options = dynamic_cast<CDlgPropertyTool*>(&dialog);
        if (!options)
            return;
        EXPECT_EQ(options->m_toolNames, std::vector<CString>{u"甲"});
        EXPECT_EQ(options->m_conditionTexts, (std::vector<CString>{u"1. A", u"2. B"}));
        options->OnCopy();
        EXPECT_EQ(options->m_copyText, u"再次复制");
        EXPECT_EQ(options->m_toolRow, 1);
        options->OnCopy();
        EXPECT_EQ(options->m_toolNames.size(), 3u);
        options->SetName(u"丙");
        options->SetComment(u"注释");
        options->ChooseCondition(1);
        options->SetConditionComment(u"第二点");
        options->SetDefaultColors(FALSE);
    };
    g_pCurrentTool = tool;
    ASSERT_TRUE(Run(ID_TOOL_OPTION));
    ASSERT_EQ(m_doc->m_tools.GetCount(), 3);
    CRecord* renamed = m_doc->m_tools.GetAt(m_doc->m_tools.FindIndex(2));
    EXPECT_EQ(renamed->m_name, u"丙");
    EXPECT_EQ(renamed->m_comment, u"注释");
    EXPECT_EQ(renamed->m_conditions[1]->m_text, u"第二点");
    EXPECT_EQ(renamed->m_useDefaultColors, 0);
    EXPECT_EQ(m_menu.m_items[7], "20002:丙|注释");

    // Deleting the current tool: it is forgotten first.  Deleting the last row chooses the first.
    g_pCurrentTool = renamed;
    g_currentToolCommand = 20002;
    HxRefillToolScriptView(renamed);
    m_script = [&](CDialog& dialog) {
        auto* options = dynamic_cast<CDlgPropertyTool*>(&dialog);
        if (!options)
            return;
        options->ChooseTool(2);
        m_answer = IDCANCEL;
        options->OnDelete();
        EXPECT_EQ(options->m_toolNames.size(), 3u) << "Cancel keeps it";
        m_answer = IDOK;
        options->OnDelete();
        EXPECT_EQ(g_pCurrentTool, nullptr);
        EXPECT_EQ(options->m_toolRow, 0);
        options->OnDelete();
        options->OnDelete();
        EXPECT_EQ(options->m_comment, u"当前文档已不含工具！");
        EXPECT_EQ(options->m_pTool, nullptr);
    };
    ASSERT_TRUE(Run(ID_TOOL_OPTION));
    EXPECT_TRUE(m_doc->m_tools.IsEmpty());
    EXPECT_EQ(m_menu.GetCount(), 5);
    EXPECT_EQ(m_boxes.back().text, u"删除后不能恢复，是否继续？");
    EXPECT_FALSE(Enabled(ID_TOOL_OPTION)) << "no tool left and none current";

    // Copy with no current tool: the hint.
    g_pCurrentTool = nullptr;
    CDlgPropertyTool options(m_doc.get());
    options.OnInitDialog();
    EXPECT_EQ(options.m_comment, u"当前文档不含工具，\r\n您可复制当前工具！");
    options.OnCopy();
    EXPECT_EQ(m_boxes.back().caption, u"复制当前工具");
}

TEST_F(ToolCommandsTest, TheScriptViewListsInputsAndSteps) {
    EXPECT_TRUE(Run(ID_TOOL_SCRIPT));
    EXPECT_EQ(m_boxes.back().caption, u"脚本视图");
    EXPECT_EQ(g_pToolScriptView, nullptr);

    const WORD m = Midpoint();
    CRecord* tool = MakeTool({m}, u"中点");
    ASSERT_NE(tool, nullptr);
    tool->m_conditions[1]->m_text = u"第二个点";
    ASSERT_TRUE(Run(ID_TOOL_SCRIPT));
    ASSERT_NE(g_pToolScriptView, nullptr);
    const CDlgToolView& view = *g_pToolScriptView;
    EXPECT_TRUE(view.m_shown);
    EXPECT_EQ(view.m_title, u"中点脚本");
    EXPECT_EQ(view.m_conditions, (std::vector<CString>{u"1. A__点A", u"2. B__第二个点"}));
    EXPECT_EQ(view.m_root.m_text, u"中点");
    EXPECT_EQ(view.m_root.m_icon, 21);
    ASSERT_EQ(view.m_root.m_parents.size(), 4u);
    const CDlgToolView::CStep& mid = view.m_root.m_parents[3];
    EXPECT_EQ(mid.m_text.Left(8), u"  3. C--");
    EXPECT_EQ(mid.m_icon, 1);
    ASSERT_EQ(mid.m_parents.size(), 1u);
    EXPECT_EQ(mid.m_parents[0].m_icon, 3);
    EXPECT_EQ(view.m_root.m_parents[0].m_icon, 2);
    // A new tool refills the open view.
    ASSERT_NE(MakeTool({m}, u"又一个"), nullptr);
    EXPECT_EQ(view.m_title, u"又一个脚本");
    int comment[4], conditions[4], steps[4];
    CDlgToolView::Layout(300, 400, comment, conditions, steps);
    EXPECT_EQ(std::vector<int>(steps, steps + 4), (std::vector<int>{12, 170, 276, 215}));
    EXPECT_EQ(std::vector<int>(conditions, conditions + 4), (std::vector<int>{12, 90, 276, 50}));
}

TEST_F(ToolCommandsTest, RecordsThatAreNoWholeToolAreRefused) {
    const WORD m = Midpoint();
    CRecord* tool = MakeTool({m}, u"中点");
    ASSERT_NE(tool, nullptr);
    const std::vector<BYTE> good = Store();
    // A point taken for a value input, a value for a point input, and an input that is neither a
    // point nor a value: each document is refused and the one open stays.
    using Damage = void (*)(CRecord&);
    const Damage damages[] = {
        [](CRecord& t) { t.m_conditions[0]->m_isPoint = false; },
        [](CRecord& t) {
            delete t.m_recordedCells.GetHead();
            t.m_recordedCells.SetAt(t.m_recordedCells.GetHeadPosition(), new CGTmVarParameter(0, u"t", 1.0f));
        },
        [](CRecord& t) {
            delete t.m_recordedCells.GetHead();
            auto* line = new CGLine;
            t.m_recordedCells.SetAt(t.m_recordedCells.GetHeadPosition(), line);
            t.m_conditions[0]->m_isPoint = false;
        },
    };
    for (Damage damage : damages) {
        damage(*tool);
        const std::vector<BYTE> bad = Store();
        ASSERT_TRUE(Load(good));
        const int pages = m_doc->GetPageCount();
        EXPECT_FALSE(Load(bad));
        EXPECT_EQ(m_doc->GetPageCount(), pages);
        ASSERT_EQ(m_doc->m_tools.GetCount(), 1);
        tool = m_doc->m_tools.GetHead();
    }
}
