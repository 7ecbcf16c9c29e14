// The records of the action buttons byte by byte (the common record, the speed, each class's own
// fields), what loading mends (a repeat byte read as 0 or 1, a series member index that names no
// member, the started flag of loops), refused cuts, the defaults of each class, and a document of
// every button class stored and loaded with its buttons idle.
#include "button_fixture.h"

#include "document/halvix_doc.h"

namespace {

class ButtonRecordTest : public ButtonTest {};

} // namespace

TEST_F(ButtonRecordTest, DefaultsOfEveryClass) {
    CGButton base;
    EXPECT_EQ(base.m_color, (CRgba{51, 102, 255, 255}));
    EXPECT_EQ(base.m_labelColor.r + base.m_labelColor.g + base.m_labelColor.b, 0);
    EXPECT_EQ(base.m_labelHidden, 0);
    EXPECT_EQ(base.m_speed, 0.01f);
    EXPECT_EQ(base.m_width, 60);
    EXPECT_EQ(base.m_height, 25);
    EXPECT_FALSE(base.m_running);
    EXPECT_TRUE(base.Step());
    CGButnAnimation animation;
    EXPECT_EQ(animation.m_min, 0.0f);
    EXPECT_EQ(animation.m_max, 1.0f);
    EXPECT_EQ(animation.m_mode, CGButnAnimation::kBackAndForth);
    EXPECT_EQ(animation.m_repeat, 1);
    EXPECT_EQ(animation.m_state, 0);
    EXPECT_EQ(CGButnMove().m_direction, 1);
    CGButnSHide showHide;
    EXPECT_EQ(showHide.m_name, CString(u"隐藏"));
    EXPECT_EQ(showHide.m_kind, CGButnSHide::kToggle);
    CGButnPresentat series;
    EXPECT_EQ(series.m_name, CString(u"并行"));
    EXPECT_EQ(series.m_runNumber, 1);
    EXPECT_EQ(series.m_repeatCount, 2);
    EXPECT_EQ(series.m_counterNumber, 1);
    EXPECT_EQ(series.m_start, 1.0);
    EXPECT_EQ(series.m_end, 3.0);
    EXPECT_EQ(series.m_step, 1.0);
    EXPECT_TRUE(CGButnLink().m_target.IsEmpty());
}

TEST_F(ButtonRecordTest, NewButtonsTakeTheNextSlotsDownTheLeftEdge) {
    // 20 units of 0.05: the first slot is (-18, 12), each next one 1.5 lower.
    CGTmVariable* value = AddValue(0, u"a");
    CGButnAnimation* first = AddSweep(value->m_id, 0, 1, 0, 0, 0.1f);
    CGButnAnimation* second = AddSweep(value->m_id, 0, 1, 0, 0, 0.1f);
    EXPECT_FLOAT_EQ(first->m_labelPos[0], -18.0f);
    EXPECT_FLOAT_EQ(first->m_labelPos[1], 12.0f);
    EXPECT_FLOAT_EQ(second->m_labelPos[1], 10.5f);
    // A button dragged places the next one below it.
    g_mouseDX = 100;
    g_mouseDY = 40;
    first->DragBy();
    EXPECT_FLOAT_EQ(first->m_labelPos[0], -13.0f);
    EXPECT_FLOAT_EQ(first->m_labelPos[1], 10.0f);
    CGButnAnimation* third = AddSweep(value->m_id, 0, 1, 0, 0, 0.1f);
    EXPECT_FLOAT_EQ(third->m_labelPos[0], -13.0f);
    EXPECT_FLOAT_EQ(third->m_labelPos[1], 8.5f);
}

TEST_F(ButtonRecordTest, CaptionSizeFromItsExtent) {
    struct Case {
        int w, h, width, height;
    };
    for (const Case& c :
         {Case{0, 0, 60, 25}, {30, 16, 60, 25}, {31, 16, 61, 25}, {30, 17, 60, 26}, {100, 20, 130, 29}}) {
        int width = 0, height = 0;
        CGButton::SizeForCaption(c.w, c.h, width, height);
        EXPECT_EQ(width, c.width) << c.w;
        EXPECT_EQ(height, c.height) << c.h;
    }
    // Measured in the button font: a long caption is wider than a short one, and the glyphs wait for
    // an OpenGL context (none here), so the caption stays marked.
    CGButton b;
    b.SetCaption(u"动画");
    b.UpdateCaption();
    const int shortWidth = b.m_width;
    EXPECT_TRUE(b.m_flag2);
    b.SetCaption(u"点A在圆上的动画与停止按钮");
    b.UpdateCaption();
    EXPECT_GT(b.m_width, shortWidth);
    EXPECT_GE(b.m_height, 25);
}

TEST_F(ButtonRecordTest, AnimationRecord) {
    CGTmVariable* value = AddValue(0, u"a");
    CGButnAnimation* b = AddSweep(value->m_id, -1.5f, 2.5f, CGButnAnimation::kBackward, 1, 0.125f, 0.5f);
    b->m_kind = CGButnAnimation::kSweep;
    b->m_state = CGButnAnimation::kRestart;
    b->m_pauseCount = 9;
    b->m_running = true;
    ByteBuilder expected = ButtonRecord("CGButnAnimation", *b);
    expected.F32(-1.5f).F32(2.5f).I32(1).U8(1).I32(2);
    auto back = ExpectRecord<CGButnAnimation>(b, expected.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_extA3, 0.5f) << "the pause travels in the common record";
    EXPECT_EQ(back->m_speed, 0.125f);
    EXPECT_EQ(back->m_state, CGButnAnimation::kRestart) << "the restart state survives saving";
    EXPECT_EQ(back->m_pauseCount, 0);
    EXPECT_FALSE(back->m_running);
    EXPECT_TRUE(back->m_flag2) << "a loaded button measures its caption again";
    // Any non-zero repeat byte reads as 1.
    std::vector<BYTE> bytes = expected.Bytes();
    bytes[bytes.size() - 5] = 7;
    EXPECT_EQ(Loaded<CGButnAnimation>(bytes)->m_repeat, 1);
}

TEST_F(ButtonRecordTest, MoveShowHideAndBaseRecordsAreTheButtonRecord) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    auto* move = AddButton<CGButnMove>(CString(u"A→B"), a->m_id, b->m_id, 0.2f, BYTE(CGButnMove::kInSpace));
    move->m_direction = -1;
    auto back = ExpectRecord<CGButnMove>(move, ButtonRecord("CGButnMove", *move).Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_direction, 1) << "not stored";
    Select({a->m_id, b->m_id});
    auto* showHide = AddButton<CGButnSHide>();
    showHide->m_kind = CGButnSHide::kOneByOne;
    showHide->m_style = 1;
    auto shBack = ExpectRecord<CGButnSHide>(showHide, ButtonRecord("CGButnSHide", *showHide).Bytes());
    ASSERT_TRUE(shBack);
    EXPECT_EQ(shBack->m_style, 1);
    CGButton plain;
    plain.m_id = 40;
    plain.m_speed = 3.0f;
    ExpectRecord<CGButton>(&plain, ButtonRecord("CGButton", plain).Bytes());
}

TEST_F(ButtonRecordTest, SeriesRecordKeepsItsLoopOnlyWhenItHasOne) {
    CGTmVariable* value = AddValue(0, u"a");
    CGButnAnimation* m1 = AddSweep(value->m_id, 0, 1, 0, 0, 0.1f);
    CGButnAnimation* m2 = AddSweep(value->m_id, 0, 1, 0, 0, 0.1f);
    Select({m1->m_id, m2->m_id});
    auto* series = AddButton<CGButnPresentat>(CString(u"系列动作"), 1, 0.5f);
    EXPECT_EQ(Parents(series), (std::vector<WORD>{m1->m_id, m2->m_id}));
    // No loop: the button record alone.
    ExpectRecord<CGButnPresentat>(series, ButtonRecord("CGButnPresentat", *series).Bytes());
    // A counting loop: repeat count, counter, start, end, step; loading clears the started flag.
    series->m_extA1 = CGButnPresentat::kForLoop;
    series->m_style = 1;
    series->m_repeatCount = 4;
    series->m_counterNumber = 5;
    series->m_start = 0.5;
    series->m_end = -2.0;
    series->m_step = -0.25;
    series->m_param4 = 1;
    ByteBuilder expected = ButtonRecord("CGButnPresentat", *series);
    expected.I32(4).I32(5).F64(0.5).F64(-2.0).F64(-0.25);
    EXPECT_EQ(Stored(series), expected.Bytes());
    auto back = Loaded<CGButnPresentat>(expected.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_style, 0);
    EXPECT_EQ(back->m_param4, 1);
    EXPECT_EQ(back->m_counterNumber, 5);
    EXPECT_EQ(back->m_end, -2.0);
    ExpectEveryCutRefused<CGButnPresentat>(expected.Bytes());
    // A fixed count keeps its flag; a member index that names no member becomes 0.
    series->m_extA1 = CGButnPresentat::kFixedCount;
    for (int index : {2, 9, -1}) {
        series->m_param4 = index;
        back = Loaded<CGButnPresentat>(Stored(series));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->m_param4, 0) << index;
        EXPECT_EQ(back->m_style, 1) << "a fixed count has no started flag to clear";
    }
}

TEST_F(ButtonRecordTest, LinkRecordKeepsPageAndTarget) {
    auto* link = AddButton<CGButnLink>(CString(u"打开"), CGButnLink::kToTarget, WORD(3),
                                       CString(u"https://例子.cn/a?b=1"));
    ByteBuilder expected = ButtonRecord("CGButnLink", *link);
    expected.U16(3).Str(u"https://例子.cn/a?b=1");
    auto back = ExpectRecord<CGButnLink>(link, expected.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_pageId, 3);
    EXPECT_EQ(back->m_target, CString(u"https://例子.cn/a?b=1"));
    EXPECT_EQ(back->m_kind, CGButnLink::kToTarget);
}

TEST_F(ButtonRecordTest, ADocumentOfEveryButtonClassLoadsWithItsButtonsIdle) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](CGCell* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto* a =
        static_cast<CGVertex*>(add(new CGVertex(page->m_nextId++, page->m_nextVertex++, u"A", 0, 0, 0)));
    auto* b =
        static_cast<CGVertex*>(add(new CGVertex(page->m_nextId++, page->m_nextVertex++, u"B", 1, 0, 0)));
    auto* anim = static_cast<CGButnAnimation*>(
        add(new CGButnAnimation(page->m_nextId++, u"动画", a->m_id, 0, 1, 2, 1, 0.1f, 1.0f)));
    add(new CGButnMove(page->m_nextId++, u"A→B", a->m_id, b->m_id, 0.1f, 0));
    page->SelectCell(a->m_id);
    add(new CGButnSHide(page->m_nextId++));
    page->ClearSelection();
    page->SelectCell(anim->m_id);
    add(new CGButnPresentat(page->m_nextId++, u"系列动作", 1, 0.5f));
    auto* link =
        static_cast<CGButnLink*>(add(new CGButnLink(page->m_nextId++, u"页", 0, page->m_pageId, u"第一页")));
    page->ClearSelection();
    page->StartButton(TRUE, anim->m_id);
    page->m_autoButton = link->m_id;
    const std::vector<BYTE> bytes = doc.StoreToBytes();

    CHalvixDoc loaded;
    CMemFile file(bytes);
    ASSERT_TRUE(loaded.ReadDocument(file, u"buttons.hvx"));
    CGPage* back = loaded.GetPage(0);
    ASSERT_NE(back, nullptr);
    int buttons = 0;
    for (POSITION pos = back->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        back->m_cells.GetNextAssoc(pos, id, cell);
        if (auto* button = DYNAMIC_DOWNCAST(CGButton, cell)) {
            ++buttons;
            EXPECT_FALSE(button->m_running) << id;
        }
    }
    EXPECT_EQ(buttons, 5);
    EXPECT_TRUE(back->m_runningButtons.IsEmpty());
    EXPECT_EQ(back->m_autoButton, link->m_id);
    EXPECT_EQ(loaded.StoreToBytes(), loaded.StoreToBytes());
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
}
