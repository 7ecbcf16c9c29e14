// Tool records: the bytes of a condition and a tool, round trips and deep copies, the check that
// refuses a tool whose inputs, ids or links do not hold together, and the default colours an
// application gives the copied cells.
#include "document/tool_record.h"

#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/line.h"
#include "support/archive_helpers.h"
#include "support/class_stand_ins.h"
#include "support/model_fixture.h"
#include "view/view_colors.h"

namespace {

inline constexpr char kFaceName[] = "CGFace";
using CFaceStandIn = CNamedStandIn<kFaceName>;

// Two free points and the segment between them, recorded with tool-local ids 0, 1, 2.
CRecord* SegmentTool() {
    auto* tool = new CRecord;
    tool->m_name = u"线段工具";
    auto* a = new CGVertex(0, 0, u"A", 0, 0, 0);
    auto* b = new CGVertex(1, 0, u"B", 1, 0, 0);
    auto* line = new CGLine;
    line->m_id = 2;
    line->m_parents.Add(0);
    line->m_parents.Add(1);
    line->m_text1 = u"点A、B 确定的线段";
    tool->m_recordedCells.AddTail(a);
    tool->m_recordedCells.AddTail(b);
    tool->m_recordedCells.AddTail(line);
    tool->m_conditions.Add(new CCondition(0, u"点A", true));
    tool->m_conditions.Add(new CCondition(1, u"点B", true));
    tool->m_cellCount = 3;
    tool->m_pointCount = 2;
    tool->m_inputCount = 2;
    tool->m_pointInputCount = 2;
    return tool;
}

std::vector<BYTE> StoreTool(CRecord* tool) {
    return StoreBytes([&](CArchive& ar) { ar.WriteObject(tool); });
}

// Loads one tool; null when the archive refused it.
CRecord* LoadTool(const std::vector<BYTE>& bytes) {
    CRecord* tool = nullptr;
    try {
        LoadBytes(bytes, [&](CArchive& ar) { ar >> tool; });
    } catch (const CArchiveException&) {
        return nullptr;
    }
    return tool;
}

class ToolRecordTest : public ModelTest {};

} // namespace

TEST_F(ToolRecordTest, DefaultsAndBytesOfAnEmptyTool) {
    CRecord tool; // the default comment and flags 1, 1, 0
    tool.m_cellCount = 4;
    tool.m_inputCount = 5;
    tool.m_pointCount = 6;
    tool.m_pointInputCount = 7;
    tool.m_extra = u"x";
    // The input count comes before the point count.
    ByteBuilder b;
    b.NewClass("CRecord").Str(u"").Str(u"请在\"工具属性\"中输入工具注释").I32(4).I32(5).I32(6).I32(7);
    b.I32(1).I32(1).I32(0).Str(u"x").U16(0).U16(0);
    EXPECT_EQ(StoreTool(&tool), b.Bytes());
}

TEST_F(ToolRecordTest, BytesOfAToolWithCellsAndConditions) {
    std::unique_ptr<CRecord> tool(SegmentTool());
    ByteBuilder b;
    b.NewClass("CRecord").Str(u"线段工具").Str(u"请在\"工具属性\"中输入工具注释");
    b.I32(3).I32(2).I32(2).I32(2).I32(1).I32(1).I32(0).Str(u"");
    b.U16(3);
    // Classes and objects share the archive's indices: CRecord 1, the tool 2, CGVertex 3, A 4, B 5,
    // CGLine 6, the line 7, CCondition 8.  The cells write their own records.
    auto cellRecord = [&](int i) {
        CGCell* cell = tool->m_recordedCells.GetAt(tool->m_recordedCells.FindIndex(i));
        return StoreBytes([&](CArchive& ar) { cell->Serialize(ar); });
    };
    b.NewClass("CGVertex").Append(cellRecord(0));
    b.U16(0x8003).Append(cellRecord(1));
    b.NewClass("CGLine").Append(cellRecord(2));
    b.U16(2);
    b.NewClass("CCondition").U16(0).Str(u"点A").U8(1);
    b.U16(0x8008).U16(1).Str(u"点B").U8(1);
    std::vector<BYTE> stored = StoreTool(tool.get());
    ASSERT_EQ(stored.size(), b.Bytes().size());
    EXPECT_EQ(stored, b.Bytes());
}

TEST_F(ToolRecordTest, RoundTripAndCloneKeepEverything) {
    std::unique_ptr<CRecord> tool(SegmentTool());
    tool->m_comment = u"画一条线段";
    tool->m_useDefaultColors = 0;
    tool->m_flag2 = 17;
    tool->m_flag3 = -4;
    tool->m_extra = u"保留";
    std::vector<BYTE> bytes = StoreTool(tool.get());
    std::unique_ptr<CRecord> loaded(LoadTool(bytes));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(StoreTool(loaded.get()), bytes);
    ASSERT_EQ(loaded->m_recordedCells.GetCount(), 3);
    CGCell* line = loaded->m_recordedCells.GetTail();
    EXPECT_TRUE(line->IsKindOf(RUNTIME_CLASS(CGLine)));
    EXPECT_EQ(line->m_parents[1], 1);
    EXPECT_EQ(line->m_text1, u"点A、B 确定的线段");
    EXPECT_EQ(loaded->m_conditions[1]->m_text, u"点B");

    std::unique_ptr<CRecord> copy(tool->Clone());
    EXPECT_EQ(StoreTool(copy.get()), bytes);
    EXPECT_NE(copy->m_recordedCells.GetHead(), tool->m_recordedCells.GetHead()) << "fresh cells";
    EXPECT_NE(copy->m_conditions[0], tool->m_conditions[0]);
}

TEST_F(ToolRecordTest, CountsFollowTheContentOnLoad) {
    std::unique_ptr<CRecord> tool(SegmentTool());
    tool->m_cellCount = 40;
    tool->m_pointCount = -3;
    tool->m_inputCount = 9;
    tool->m_pointInputCount = 0;
    std::unique_ptr<CRecord> loaded(LoadTool(StoreTool(tool.get())));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(std::vector<int>({loaded->m_cellCount, loaded->m_pointCount, loaded->m_inputCount,
                                loaded->m_pointInputCount}),
              std::vector<int>({3, 2, 2, 2}));
}

TEST_F(ToolRecordTest, ToolsThatDoNotHoldTogetherAreRefused) {
    using Damage = void (*)(CRecord&);
    struct Case {
        const char* what;
        Damage damage;
    };
    const Case cases[] = {
        {"a condition past the cells", [](CRecord& t) { t.m_conditions[1]->m_id = 7; }},
        {"a condition on a cell with parents", [](CRecord& t) { t.m_conditions[1]->m_id = 2; }},
        {"conditions out of order",
         [](CRecord& t) {
             t.m_conditions[0]->m_id = 1;
             t.m_conditions[1]->m_id = 0;
         }},
        {"a point input marked as a value", [](CRecord& t) { t.m_conditions[0]->m_isPoint = false; }},
        {"an input without a condition",
         [](CRecord& t) {
             delete t.m_conditions[1];
             t.m_conditions.RemoveAt(1);
         }},
        {"an id that is not its place", [](CRecord& t) { t.m_recordedCells.GetTail()->m_id = 5; }},
        {"a parent not below the cell", [](CRecord& t) { t.m_recordedCells.GetTail()->m_parents.Add(2); }},
        {"a child list", [](CRecord& t) { t.m_recordedCells.GetHead()->m_children.AddTail(2); }},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CRecord> tool(SegmentTool());
        c.damage(*tool);
        CRecord* loaded = LoadTool(StoreTool(tool.get()));
        EXPECT_EQ(loaded, nullptr) << c.what;
        delete loaded;
    }
    // A null object where a cell belongs.
    std::unique_ptr<CRecord> tool(SegmentTool());
    delete tool->m_recordedCells.RemoveTail();
    tool->m_recordedCells.AddTail(nullptr);
    CRecord* loaded = LoadTool(StoreTool(tool.get()));
    EXPECT_EQ(loaded, nullptr);
    delete loaded;
}

TEST_F(ToolRecordTest, DefaultStylesOnlyWhenAsked) {
    std::unique_ptr<CRecord> tool(SegmentTool());
    auto* face = new CFaceStandIn;
    face->m_id = 3;
    face->m_parents.Add(0);
    face->m_color = CRgba{1, 2, 3, 77};
    tool->m_recordedCells.AddTail(face);
    auto* button = new CGButnAnimation;
    button->m_color = CRgba{9, 9, 9, 9};
    tool->m_recordedCells.AddTail(button);
    auto* text = new CGTbMtfText;
    tool->m_recordedCells.AddTail(text);
    auto* plain = new CGCell;
    plain->m_color = CRgba{5, 5, 5, 5};
    plain->m_labelColor = CRgba{6, 6, 6, 6};
    tool->m_recordedCells.AddTail(plain);
    CGCell* a = tool->m_recordedCells.GetHead();
    a->m_color = CRgba{1, 1, 1, 1};
    CGCell* line = tool->m_recordedCells.GetAt(tool->m_recordedCells.FindIndex(2));
    line->m_size = 7.0f;

    HxResetAutoColors();
    tool->m_useDefaultColors = 0;
    EXPECT_EQ(tool->ApplyDefaultStyles(), 0);
    EXPECT_EQ(a->m_color, (CRgba{1, 1, 1, 1}));
    EXPECT_EQ(g_autoColorHueIndex, 0) << "the colour sequence did not move";

    tool->m_useDefaultColors = 1;
    g_backgroundColor[0] = 0.5f;
    EXPECT_EQ(tool->ApplyDefaultStyles(), 1);
    EXPECT_EQ(a->m_color, (CRgba{128, 0, 0, 1})) << "a fixed point; the alpha stays";
    EXPECT_EQ(line->m_color, (CRgba{0, 0, 128, 255}));
    EXPECT_EQ(line->m_size, 2.0f);
    EXPECT_EQ(g_autoColorHueIndex, 1) << "the face took one colour";
    EXPECT_EQ(face->m_color.a, 77);
    EXPECT_NE(face->m_color, (CRgba{1, 2, 3, 77}));
    EXPECT_EQ(button->m_color, (CRgba{51, 102, 255, 9}));
    EXPECT_EQ(text->m_color, (CRgba{0, 0, 152, text->m_color.a}));
    EXPECT_EQ(text->m_background, RGB(127, 255, 255));
    EXPECT_TRUE(text->m_flag2) << "rendered again";
    EXPECT_EQ(plain->m_color, (CRgba{5, 5, 5, 5}));
    EXPECT_EQ(plain->m_labelColor, (CRgba{0, 0, 0, 6}));
}

TEST_F(ToolRecordTest, ListsOfToolsRoundTrip) {
    CRecordList list;
    list.AddTail(SegmentTool());
    list.AddTail(new CRecord);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    CRecordList loaded;
    LoadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetHead()->m_name, u"线段工具");
    EXPECT_EQ(StoreBytes([&](CArchive& ar) { loaded.Serialize(ar); }), bytes);
    HxDeleteRecords(list);
    HxDeleteRecords(loaded);
    EXPECT_TRUE(loaded.IsEmpty());
}
