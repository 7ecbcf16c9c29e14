// The iteration, trace and value dialog windows offscreen: OK waiting for a complete mapping, the
// mapping list growing and shrinking, the table shown, the depth's range; the property window
// changing the iteration as its controls change; the trace window's title, list and step check.
#include "iterate_fixture.h"

#include "app/input_dialogs_ui.h"
#include "app/iterate_dialogs_ui.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace {

class IterateWindowTest : public IterateFixtureT<PageFixture> {
protected:
    void SetUp() override {
        IterateFixtureT<PageFixture>::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        IterateFixtureT<PageFixture>::TearDown();
    }
    static QStringList Items(QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items;
    }
    static int Row(const CDlgIterate& dlg, WORD id) {
        for (size_t i = 0; i < dlg.m_images.size(); ++i)
            if (dlg.m_images[i].id == id)
                return int(i);
        return -1;
    }
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(IterateWindowTest, OkWaitsForACompleteMappingAndTheDepthIsChecked) {
    using D = CDlgIterate;
    BuildTriangle();
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(b->m_id);
    CDlgIterate fields;
    fields.Open(*m_page);
    CIterateWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("构造迭代"));
    EXPECT_FALSE(window.Button(IDOK)->isEnabled());
    auto* mappings = qobject_cast<QComboBox*>(window.Control(D::kMappingList));
    auto* sources = qobject_cast<QComboBox*>(window.Control(D::kSourceList));
    auto* table = qobject_cast<QListWidget*>(window.Control(D::kTable));
    ASSERT_TRUE(mappings && sources && table);
    EXPECT_EQ(mappings->count(), 1);
    EXPECT_EQ(mappings->currentText(), QStringLiteral("映射#1"));
    EXPECT_EQ(sources->count(), 2);
    EXPECT_EQ(window.Edit(D::kDepthEdit)->text(), QStringLiteral("3"));

    window.ChooseImage(Row(fields, d->m_id));
    EXPECT_EQ(sources->currentIndex(), 1) << "the next source is chosen";
    window.ChooseImage(Row(fields, e->m_id));
    EXPECT_TRUE(window.Button(IDOK)->isEnabled());
    EXPECT_EQ(Items(table), QStringList({a->m_name.ToQString() + "=>" + d->m_name.ToQString(),
                                         b->m_name.ToQString() + "=>" + e->m_name.ToQString()}));
    window.AddMapping();
    EXPECT_EQ(mappings->count(), 2);
    EXPECT_EQ(mappings->currentText(), QStringLiteral("映射#2"));
    EXPECT_FALSE(window.Button(IDOK)->isEnabled());
    window.ChooseMapping(0);
    EXPECT_EQ(m_messages.back(), u"当前映射未完成，不能切换！");
    EXPECT_EQ(mappings->currentIndex(), 1) << "the choice goes back";
    window.DeleteMapping();
    EXPECT_EQ(mappings->count(), 1);
    EXPECT_TRUE(window.Button(IDOK)->isEnabled());

    // The depth stays within 0..1000; the up-down control steps it.
    window.StepDepth(1);
    EXPECT_EQ(window.Edit(D::kDepthEdit)->text(), QStringLiteral("4"));
    window.Edit(D::kDepthEdit)->setText(QStringLiteral("1001"));
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.back(), u"请输入一个在 0 和 1000 之间的整数。");
    window.Edit(D::kDepthEdit)->setText(QStringLiteral("7"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_depth, 7);
}

TEST_F(IterateWindowTest, ThePropertyWindowChangesTheIterationAsItsControlsChange) {
    using D = CDlgPropertyIterate;
    BuildTriangle();
    Insert(new CXValue(NextId(), d->m_id, u"x"));
    CGIterate* it = Iterate({Nested(), {e->m_id, f->m_id, d->m_id}}, 3);
    CDlgPropertyIterate fields;
    fields.m_pIterate = it;
    fields.Open();
    CPropertyIterateWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("迭代属性"));
    auto* created = qobject_cast<QListWidget*>(window.Control(D::kCreatedList));
    auto* rules = qobject_cast<QListWidget*>(window.Control(D::kRules));
    ASSERT_TRUE(created && rules);
    EXPECT_EQ(created->count(), 5);
    EXPECT_EQ(rules->count(), 3);
    EXPECT_EQ(created->item(0)->checkState(), Qt::Checked);
    created->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(it->m_drawables.front(), e->m_id);

    auto* table = qobject_cast<QCheckBox*>(window.Control(D::kShowTable));
    auto* solid = qobject_cast<QCheckBox*>(window.Control(D::kSolidOnly));
    EXPECT_TRUE(table->isChecked());
    solid->click();
    EXPECT_TRUE(solid->isChecked());
    EXPECT_FALSE(table->isChecked()) << "the two exclude each other";
    EXPECT_EQ(it->m_solidOnly, 1);
    EXPECT_EQ(it->m_showTable, 0);
    window.Button(D::kColorMode + 2)->click();
    EXPECT_EQ(it->m_style, CGIterate::kDepthColors);
    window.Edit(D::kLabel)->setText(QStringLiteral("谢尔宾斯基"));
    emit window.Edit(D::kLabel)->textEdited(window.Edit(D::kLabel)->text());
    EXPECT_EQ(it->m_name, u"谢尔宾斯基");

    window.Edit(D::kDepthEdit)->setText(QStringLiteral("13"));
    window.ApplyDepth();
    EXPECT_EQ(it->m_depth, 13);
    EXPECT_EQ(m_messages.back(), u"建议输入1-12的整数，否则可能运行缓慢！");
    window.Edit(D::kDepthEdit)->setText(QStringLiteral("2000"));
    window.ApplyDepth();
    EXPECT_EQ(it->m_depth, 13) << "beyond the figure's limit: refused";
    window.Edit(D::kDepthEdit)->setText(QStringLiteral("5"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(it->m_depth, 5);
}

TEST_F(IterateWindowTest, TheTraceWindowListsTheFiguresAndChecksTheStep) {
    using D = CDlgTrack;
    BuildTriangle();
    CDlgTrack fields;
    fields.m_ids = {a->m_id, d->m_id, recorder->m_id};
    fields.m_newTrace = true;
    fields.BuildList();
    CTrackWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("构建图形轨迹"));
    auto* list = qobject_cast<QListWidget*>(window.Control(D::kList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->selectedItems().size(), 3);
    EXPECT_FALSE(window.Control(D::kDynamic)->isEnabled());
    list->item(1)->setSelected(false);
    EXPECT_EQ(fields.m_flags, std::vector<WORD>({1, 0, 1}));
    EXPECT_EQ(window.Edit(D::kStep)->text(), QStringLiteral("0.02"));
    window.Edit(D::kStep)->setText(QStringLiteral("0"));
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.back(), CString(CDlgTrack::kStepMessage));
    window.Edit(D::kStep)->setText(QStringLiteral("0.1"));
    window.Button(D::kAutoDashed)->click();
    window.Button(D::kTraceColor)->click();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_step, 0.1f);
    EXPECT_EQ(fields.m_displayMode, 1);
    EXPECT_EQ(fields.m_colorMode, 1);

    CDlgValue value;
    CValueWindow valueWindow(value);
    EXPECT_EQ(valueWindow.windowTitle(), QStringLiteral("输入值"));
    EXPECT_EQ(valueWindow.Edit(CDlgValue::kEditValue)->text(), QStringLiteral("0.5"));
    valueWindow.Edit(CDlgValue::kEditValue)->setText(QStringLiteral("0.3"));
    valueWindow.accept();
    EXPECT_EQ(value.m_value, 0.3f);
}
