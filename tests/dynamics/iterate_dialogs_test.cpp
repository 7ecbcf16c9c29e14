// The rules of the iteration and trace dialogs without their windows: the sources and images offered,
// the mapping rules with their refusals, the table of rules, the properties applied to an iteration
// at once with the depth suggestion, and the trace's list and step.
#include "iterate_fixture.h"

#include "dynamics/iterate_dialogs.h"
#include "dynamics/track.h"

namespace {

class IterateDialogTest : public IterateFixtureT<PageFixture> {
protected:
    void SetUp() override {
        IterateFixtureT<PageFixture>::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
            m_messages.push_back({text, caption, type});
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        IterateFixtureT<PageFixture>::TearDown();
    }
    struct Message {
        CString text, caption;
        UINT type;
    };
    std::vector<Message> m_messages;

    // The row of the image list that names a cell.
    static int ImageRow(const CDlgIterate& dlg, WORD id) {
        for (size_t i = 0; i < dlg.m_images.size(); ++i)
            if (dlg.m_images[i].id == id)
                return int(i);
        return -1;
    }
};

} // namespace

TEST_F(IterateDialogTest, SourcesAndImagesComeFromTheSelection) {
    BuildTriangle();
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    auto* w = Insert(new CXValue(NextId(), d->m_id, u"w"));
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(b->m_id);
    m_page->SelectCell(v->m_id);
    CDlgIterate dlg;
    dlg.Open(*m_page);
    EXPECT_EQ(dlg.m_sourceCount, 3);
    EXPECT_EQ(dlg.m_pointCount, 2);
    ASSERT_EQ(dlg.m_sources.size(), 3u);
    EXPECT_EQ(dlg.m_sources[0].name, a->m_name);
    EXPECT_EQ(dlg.m_sources[2].id, v->m_id);
    // Points and values built on the sources, ascending (the recorder is neither), then the sources.
    std::vector<WORD> images;
    for (const auto& entry : dlg.m_images)
        images.push_back(entry.id);
    EXPECT_EQ(images, std::vector<WORD>({d->m_id, e->m_id, f->m_id, w->m_id, a->m_id, b->m_id, v->m_id}));
    for (CGCell* cell : std::vector<CGCell*>{d, e, f, recorder, w})
        EXPECT_FALSE(cell->m_mark);
    EXPECT_EQ(dlg.MappingCount(), 1);
    EXPECT_FALSE(dlg.m_okEnabled);
    EXPECT_EQ(dlg.m_depth, 3);
    EXPECT_EQ(CDlgIterate::MappingName(1), u"映射#1");
    EXPECT_EQ(dlg.TableLines(),
              std::vector<CString>({a->m_name + u"=> ", b->m_name + u"=> ", CString(u"v=> ")}));
}

TEST_F(IterateDialogTest, PointsGoToPointsAndValuesToValues) {
    BuildTriangle();
    auto* v = Insert(new CGTmVarParameter(NextId(), CString(u"v"), 1.0f));
    auto* w = Insert(new CXValue(NextId(), d->m_id, u"w"));
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(b->m_id);
    m_page->SelectCell(v->m_id);
    CDlgIterate dlg;
    dlg.Open(*m_page);

    // A to a value is refused, and nothing moves on.
    EXPECT_FALSE(dlg.ChooseImage(ImageRow(dlg, w->m_id)));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, u"点不能映射到值！");
    EXPECT_EQ(m_messages[0].caption, u"映射错误");
    EXPECT_EQ(m_messages[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(dlg.m_currentSource, 0);
    EXPECT_EQ(dlg.m_tuples[1], std::vector<WORD>({0, 0, 0}));

    EXPECT_TRUE(dlg.ChooseImage(ImageRow(dlg, d->m_id)));
    EXPECT_EQ(dlg.m_currentSource, 1);
    EXPECT_TRUE(dlg.ChooseImage(ImageRow(dlg, b->m_id))) << "a source may be its own image";
    // The value source refuses a point.
    EXPECT_FALSE(dlg.ChooseImage(ImageRow(dlg, e->m_id)));
    EXPECT_EQ(m_messages.back().text, u"值不能映射到点！");
    EXPECT_FALSE(dlg.m_okEnabled);
    EXPECT_TRUE(dlg.ChooseImage(ImageRow(dlg, w->m_id)));
    EXPECT_TRUE(dlg.m_okEnabled);
    EXPECT_EQ(dlg.m_currentSource, 0) << "wraps to the first source";
    EXPECT_EQ(dlg.TableLines(), std::vector<CString>({a->m_name + u"=>" + d->m_name,
                                                      b->m_name + u"=>" + b->m_name, CString(u"v=>w")}));
}

TEST_F(IterateDialogTest, MappingsAreAddedSwitchedAndDeletedByTheRules) {
    BuildTriangle();
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(b->m_id);
    m_page->SelectCell(c->m_id);
    CDlgIterate dlg;
    dlg.Open(*m_page);
    // Nothing may be added or switched to while the current mapping is incomplete; the only
    // mapping cannot be deleted.
    EXPECT_FALSE(dlg.AddMapping());
    EXPECT_EQ(m_messages.back().text, u"当前映射未完成，不能添加！");
    EXPECT_EQ(m_messages.back().caption, u"添加新映射");
    EXPECT_FALSE(dlg.DeleteMapping());
    EXPECT_EQ(m_messages.back().text, u"只有一个映射，不能删除！");
    EXPECT_EQ(m_messages.back().caption, u"删除映射");
    for (CGVertex* p : {d, e, f})
        dlg.ChooseImage(ImageRow(dlg, p->m_id));
    ASSERT_TRUE(dlg.m_okEnabled);

    EXPECT_TRUE(dlg.AddMapping());
    EXPECT_EQ(dlg.MappingCount(), 2);
    EXPECT_EQ(dlg.m_currentMapping, 1);
    EXPECT_FALSE(dlg.m_okEnabled);
    EXPECT_FALSE(dlg.ChooseMapping(0));
    EXPECT_EQ(m_messages.back().text, u"当前映射未完成，不能切换！");
    EXPECT_EQ(m_messages.back().caption, u"修改映射");
    EXPECT_EQ(dlg.m_currentMapping, 1);
    dlg.ChooseImage(ImageRow(dlg, a->m_id));
    dlg.ChooseImage(ImageRow(dlg, d->m_id));
    dlg.ChooseImage(ImageRow(dlg, f->m_id));
    EXPECT_TRUE(dlg.m_okEnabled);
    EXPECT_TRUE(dlg.ChooseMapping(0));
    EXPECT_EQ(dlg.m_currentSource, 0);
    EXPECT_EQ(dlg.TableLines()[0], a->m_name + u"=>" + d->m_name + u"=>" + a->m_name);

    // A third, deleted while incomplete: the first becomes current and OK comes back.
    EXPECT_TRUE(dlg.AddMapping());
    dlg.ChooseImage(ImageRow(dlg, e->m_id));
    EXPECT_TRUE(dlg.DeleteMapping());
    EXPECT_EQ(dlg.MappingCount(), 2);
    EXPECT_EQ(dlg.m_currentMapping, 0);
    EXPECT_TRUE(dlg.m_okEnabled);
    EXPECT_EQ(dlg.m_tuples.size(), 3u);
}

TEST_F(IterateDialogTest, PropertiesApplyAtOnceAndTheDepthIsAdvised) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested(), {e->m_id, f->m_id, d->m_id}}, 3);
    int repaints = 0;
    CDlgPropertyIterate dlg;
    dlg.m_pIterate = it;
    dlg.m_onChanged = [&] { ++repaints; };
    dlg.Open();
    EXPECT_EQ(dlg.m_label, u"迭代");
    EXPECT_EQ(dlg.m_depth, 3);
    EXPECT_FALSE(dlg.m_depthFromValue);
    EXPECT_TRUE(dlg.m_showTable);
    EXPECT_TRUE(dlg.m_showFull);
    EXPECT_FALSE(dlg.m_solidOnly);
    ASSERT_EQ(dlg.m_rows.size(), 5u);
    for (const auto& row : dlg.m_rows)
        EXPECT_TRUE(row.checked);
    ASSERT_EQ(dlg.m_rules.size(), 3u);
    EXPECT_EQ(dlg.m_rules[0], a->m_name + u"=>" + d->m_name + u"=>" + e->m_name);

    // Unchecking a figure and the value takes them out of the iteration.
    dlg.SetChecked(0, false);
    dlg.SetChecked(4, false);
    EXPECT_EQ(it->m_drawables, std::vector<WORD>({e->m_id, f->m_id, recorder->m_id}));
    EXPECT_TRUE(it->m_values.empty());
    dlg.SetChecked(4, true);
    EXPECT_EQ(it->m_values, std::vector<WORD>({x->m_id}));
    // The table and the solid display exclude each other.
    dlg.SetSolidOnly(true);
    EXPECT_EQ(it->m_solidOnly, 1);
    EXPECT_EQ(it->m_showTable, 0);
    EXPECT_FALSE(dlg.m_showTable);
    dlg.SetShowTable(true);
    EXPECT_EQ(it->m_solidOnly, 0);
    EXPECT_EQ(it->m_showTable, 1);
    dlg.SetShowFull(false);
    EXPECT_EQ(it->m_showFull, 0);
    dlg.SetColorMode(2);
    EXPECT_EQ(it->m_style, CGIterate::kOwnColor);
    dlg.SetLabel(CString(u"树"));
    EXPECT_EQ(it->m_name, u"树");
    EXPECT_TRUE(it->m_nameFixed);

    // Two mappings over three sources: up to 12 silently, above with the advice, stored either way.
    m_messages.clear();
    EXPECT_EQ(dlg.SuggestedDepth(), 12);
    EXPECT_TRUE(dlg.SetDepth(12));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(dlg.SetDepth(13));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, u"建议输入1-12的整数，否则可能运行缓慢！");
    EXPECT_EQ(m_messages[0].caption, u"迭代深度");
    EXPECT_EQ(m_messages[0].type & MB_ICONMASK, MB_ICONINFORMATION);
    EXPECT_EQ(it->m_depth, 13);
    // Beyond the figure's limit nothing is stored.
    EXPECT_FALSE(dlg.SetDepth(1001));
    EXPECT_FALSE(dlg.SetDepth(-1));
    EXPECT_EQ(it->m_depth, 13);
    EXPECT_TRUE(dlg.m_changed);
    EXPECT_EQ(repaints, 10);
}

TEST_F(IterateDialogTest, ADepthFromAValueIsShownReadOnly) {
    auto* n = Insert(new CGTmVarParameter(NextId(), CString(u"n"), 4.0f));
    BuildTriangle();
    CGIterate* it = Iterate({Nested()}, 3);
    it->FollowDepthValue(n->m_id);
    CDlgPropertyIterate dlg;
    dlg.m_pIterate = it;
    dlg.Open();
    EXPECT_TRUE(dlg.m_depthFromValue);
    EXPECT_EQ(dlg.m_depth, 4);
    EXPECT_EQ(CString(CDlgPropertyIterate::kDepthFromValueLabel), u"深度：（参数值）");
}

TEST_F(IterateDialogTest, TheTraceListOffersThePointDriverAndTheFiguresThatDraw) {
    BuildTriangle();
    auto* x = Insert(new CXValue(NextId(), d->m_id, u"x"));
    auto* text = new CGTmSingleline;
    text->m_id = NextId();
    Insert(text);
    CDlgTrack dlg;
    dlg.m_ids = {a->m_id, d->m_id, f->m_id, x->m_id, recorder->m_id, text->m_id};
    dlg.m_newTrace = true;
    dlg.BuildList();
    EXPECT_EQ(dlg.Title(), u"构建图形轨迹");
    std::vector<int> indices;
    for (const auto& entry : dlg.m_entries)
        indices.push_back(entry.index);
    EXPECT_EQ(indices, std::vector<int>({0, 1, 2, 4})) << "values and texts are not offered";
    EXPECT_EQ(dlg.m_entries[0].text, a->m_name + u"  固定点");
    EXPECT_EQ(dlg.m_flags, std::vector<WORD>({1, 1, 1, 0, 1, 0}));
    dlg.SetTraced(1, false);
    EXPECT_EQ(dlg.m_flags[1], 0);
    EXPECT_FALSE(dlg.IsTraced(1));
    EXPECT_TRUE(dlg.IsTraced(3));

    // With the dynamic range the two range values are skipped; a value driver is not listed, and
    // the properties of a trace keep its flags.
    CDlgTrack props;
    props.m_ids = {x->m_id, d->m_id, e->m_id, f->m_id, recorder->m_id};
    props.m_flags = {0, 0, 0, 1, 0};
    props.m_dynamic = true;
    props.BuildList();
    EXPECT_EQ(props.Title(), u"形迹属性");
    ASSERT_EQ(props.m_entries.size(), 2u);
    EXPECT_EQ(props.m_entries[0].index, 3);
    EXPECT_EQ(props.m_flags, std::vector<WORD>({0, 0, 0, 1, 0}));

    EXPECT_TRUE(CDlgTrack::StepAcceptable(0.0f, 6.2831855f, 0.05235988f));
    EXPECT_FALSE(CDlgTrack::StepAcceptable(0.0f, 1.0f, 0.0f));
    EXPECT_FALSE(CDlgTrack::StepAcceptable(0.0f, 1.0f, -0.1f));
    EXPECT_FALSE(CDlgTrack::StepAcceptable(0.0f, 1.0f, 1e-6f));
    EXPECT_TRUE(CDlgTrack::StepAcceptable(1.0f, 0.0f, 0.5f));
}
