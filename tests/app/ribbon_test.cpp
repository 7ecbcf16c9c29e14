// The ribbon widget: building from a definition, clicks through the command router, the idle
// update (states, hidden commands), sub-items, sliders, minimising, the idle hook and pages wider
// than the ribbon.
#include "app_test_support.h"

#include "app/idle_hook.h"
#include "app/ribbon_bar.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLayout>
#include <QTimer>
#include <QMenu>
#include <QSlider>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const QByteArray kDefinition = R"(<ribbon>
  <images><image index="2" icon="line-segment"/><image index="3" icon="line-ray"/></images>
  <application text="文件"><button id="100" text="新建"/><button id="999" text="没有处理"/></application>
  <category text="甲">
    <panel text="一">
      <button id="100" text="运行" icon="point" size="large"/>
      <button id="200" text="可停用" image="2" size="large"/>
      <button id="300" text="勾选"/>
      <button id="998" text="尚无处理"/>
      <button id="101" text="工具" menu="1"/>
      <check id="300" text="勾选框"/>
    </panel>
    <panel text="二">
      <button id="997" text="都没有"/>
      <button id="996" text="也没有"/>
    </panel>
  </category>
  <category text="乙">
    <panel text="滑块">
      <slider id="102" text="X" min="-100" max="100"/>
      <button id="500" text="只有更新"/>
    </panel>
  </category>
  <category text="丙">
    <panel text="空"><button id="995" text="无"/></panel>
  </category>
</ribbon>)";

class RibbonTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxRibbonDefinition def;
        QString error;
        ASSERT_TRUE(HxParseRibbonDefinition(kDefinition, def, &error)) << error.toStdString();
        m_ribbon.Load(def);
        m_ribbon.resize(1000, 140);
        m_ribbon.show();
        m_ribbon.OnIdleUpdate();
    }

    QToolButton* Button(UINT id) {
        return qobject_cast<QToolButton*>(m_ribbon.GetElementWidget(m_ribbon.FindByID(id)));
    }

    // The status prompt that reaches the ribbon's window when w shows its own.
    QString PromptReachingTheRibbon(QWidget* w) {
        struct PromptCatcher : QObject {
            QString prompt;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::StatusTip)
                    prompt = static_cast<QStatusTipEvent*>(e)->tip();
                return false;
            }
        } catcher;
        m_ribbon.installEventFilter(&catcher);
        QStatusTipEvent tip(w->statusTip());
        QApplication::sendEvent(w, &tip);
        m_ribbon.removeEventFilter(&catcher);
        return catcher.prompt;
    }

    // The visible scroll arrow of the ribbon with text, if any.
    QToolButton* ScrollArrow(const char16_t* text) {
        for (QToolButton* b : m_ribbon.findChildren<QToolButton*>(QStringLiteral("HxRibbonScrollArrow"))) {
            if (b->isVisibleTo(&m_ribbon) && b->text() == QString::fromUtf16(text))
                return b;
        }
        return nullptr;
    }

    CTestCommands m_commands;
    RouterScope m_scope{{&m_commands}};
    HxRibbon m_ribbon;
};

} // namespace

TEST_F(RibbonTest, BuildsCategoriesPanelsAndElements) {
    ASSERT_EQ(m_ribbon.GetCategoryCount(), 3);
    HxRibbonCategory* first = m_ribbon.GetCategory(0);
    EXPECT_TRUE(first->GetName() == u"甲" && first->GetPanelCount() == 2);
    EXPECT_TRUE(first->GetPanel(0)->GetName() == u"一" && first->GetPanel(0)->GetCount() == 6);
    EXPECT_EQ(m_ribbon.GetTabBar()->count(), 3);
    EXPECT_EQ(m_ribbon.GetApplicationButton()->GetSubItemCount(), 2);

    // FindByID finds the first element of an id; GetElementsByID all of them, the menu's too.
    ASSERT_NE(m_ribbon.FindByID(300), nullptr);
    EXPECT_EQ(m_ribbon.FindByID(300)->GetKind(), HxRibbonKind::Button);
    std::vector<HxRibbonBaseElement*> all;
    m_ribbon.GetElementsByID(300, all);
    EXPECT_EQ(all.size(), 2u);
    all.clear();
    m_ribbon.GetElementsByID(100, all);
    EXPECT_EQ(all.size(), 2u) << "the panel's and the application menu's";
    EXPECT_NE(m_ribbon.FindByIDAs<HxRibbonSlider>(102), nullptr);
    EXPECT_EQ(m_ribbon.FindByIDAs<HxRibbonSlider>(100), nullptr);
    EXPECT_EQ(m_ribbon.FindByID(12345), nullptr);
}

TEST_F(RibbonTest, ClickRunsTheHandlerThroughTheRouterAfterTheCurrentEvent) {
    QToolButton* run = Button(100);
    ASSERT_NE(run, nullptr);
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(m_commands.m_runs.empty()) << "posted, not run inside the click";
    ProcessEvents();
    ASSERT_EQ(m_commands.m_runs.size(), 1u);
    EXPECT_EQ(m_commands.m_runs[0], 100u);

    // A check box runs its command; its mark follows the update handler, not the click.
    auto* box = qobject_cast<QCheckBox*>(
        m_ribbon.GetElementWidget(m_ribbon.GetCategory(0)->GetPanel(0)->GetElement(5)));
    ASSERT_NE(box, nullptr);
    box->click();
    EXPECT_FALSE(box->isChecked());
    ProcessEvents();
    EXPECT_EQ(m_commands.m_runs.back(), 300u);
}

TEST_F(RibbonTest, IdleUpdateSetsEnabledCheckedAndText) {
    QToolButton* disabling = Button(200);
    EXPECT_TRUE(disabling->isEnabled());
    m_commands.m_enable200 = false;
    m_ribbon.OnIdleUpdate();
    EXPECT_FALSE(disabling->isEnabled());
    EXPECT_TRUE(m_ribbon.FindByID(200)->IsDisabled());

    // A disabled command does not run even when its click arrives.
    m_ribbon.ExecuteCommand(200);
    ProcessEvents();
    EXPECT_TRUE(m_commands.m_runs.empty());
    m_commands.m_enable200 = true;
    m_ribbon.OnIdleUpdate();
    EXPECT_TRUE(disabling->isEnabled());

    m_commands.m_check300 = 1;
    m_commands.m_text300 = u"已勾选(&C)";
    m_ribbon.OnIdleUpdate();
    HxRibbonBaseElement* check = m_ribbon.FindByID(300);
    EXPECT_TRUE(check->IsChecked());
    EXPECT_EQ(check->GetText(), u"已勾选(&C)");
    EXPECT_EQ(Button(300)->text(), "已勾选");
    EXPECT_TRUE(Button(300)->property("hxChecked").toBool());
    auto* box = qobject_cast<QCheckBox*>(
        m_ribbon.GetElementWidget(m_ribbon.GetCategory(0)->GetPanel(0)->GetElement(5)));
    EXPECT_TRUE(box->isChecked());
}

TEST_F(RibbonTest, CommandsWithoutHandlersAreNotShown) {
    HxRibbonBaseElement* missing = m_ribbon.FindByID(998);
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->IsShown());
    EXPECT_FALSE(m_ribbon.GetElementWidget(missing)->isVisible());
    EXPECT_TRUE(m_ribbon.GetElementWidget(m_ribbon.FindByID(100))->isVisible());

    // A panel with nothing to show is hidden; a category with nothing to show loses its tab.
    EXPECT_FALSE(m_ribbon.GetCategory(0)->GetPanel(1)->IsShown());
    EXPECT_FALSE(m_ribbon.GetPanelWidget(m_ribbon.GetCategory(0)->GetPanel(1))->isVisible());
    EXPECT_FALSE(m_ribbon.GetTabBar()->isTabVisible(2));
    EXPECT_TRUE(m_ribbon.GetTabBar()->isTabVisible(1));

    // An update handler alone makes a command exist: shown, and disabled without a handler.
    HxRibbonBaseElement* updateOnly = m_ribbon.FindByID(500);
    EXPECT_TRUE(updateOnly->IsAvailable());

    // A menu button without a command is shown once one of its items is.
    auto* menu = dynamic_cast<HxRibbonButton*>(m_ribbon.FindByID(101));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->IsShown()) << "101 itself has a handler";

    // When a handler arrives (a document joins the chain), the command appears.
    class CLater : public CCmdTarget {
    public:
        CLater() { OnCommandId(998, &CLater::On998); }
        void On998() { ++m_runs; }
        int m_runs = 0;
    } later;
    {
        RouterScope scope({&later});
        m_ribbon.OnIdleUpdate();
        EXPECT_TRUE(missing->IsShown());
        EXPECT_TRUE(m_ribbon.GetElementWidget(missing)->isVisible());
        Button(998)->click();
        ProcessEvents();
        EXPECT_EQ(later.m_runs, 1);
    }
    m_ribbon.OnIdleUpdate();
    EXPECT_FALSE(missing->IsShown());
}

TEST_F(RibbonTest, SubItemsAddedAndRemovedById) {
    auto* tools = dynamic_cast<HxRibbonButton*>(m_ribbon.FindByID(101));
    ASSERT_NE(tools, nullptr);
    tools->AddSubItem(new HxRibbonLabel(u"工具文件夹"));
    auto* set = new HxRibbonButton(34000, u"工具集");
    set->SetDescription(u"自定义工具集：/tmp/工具集.hvx");
    set->SetImageIndex(69, FALSE);
    tools->AddSubItem(set);
    auto* tool = new HxRibbonButton(20000, u"中垂面");
    tool->SetToolTipText(u"中垂面");
    set->AddSubItem(tool);
    set->AddSubItem(new HxRibbonButton(20001, u"角平分面"));
    tools->AddSubItem(new HxRibbonButton(20002, u"最前"), 0);

    EXPECT_TRUE(m_ribbon.FindByID(20000) == tool && tool->GetParentElement() == set);
    EXPECT_TRUE(tools->FindSubItemIndexByID(20002) == 0 && tools->FindSubItemIndexByID(34000) == 2);
    EXPECT_EQ(set->FindSubItemIndexByID(20001), 1);

    // The menu, built when it opens: the new item first, the heading, the tool-set sub-menu.
    QToolButton* button = Button(101);
    ASSERT_NE(button->menu(), nullptr);
    HxFillMenu(&m_ribbon, button->menu(), tools);
    QList<QAction*> actions = button->menu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "最前");
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(actions[2]->text(), "工具集");
    HxFillMenu(&m_ribbon, actions[2]->menu(), set);
    ASSERT_EQ(actions[2]->menu()->actions().size(), 2);
    actions[2]->menu()->actions()[1]->trigger();
    ProcessEvents();
    ASSERT_FALSE(m_commands.m_runs.empty());
    EXPECT_EQ(m_commands.m_runs.back(), 20001u);

    // Removing by index (found by id) takes the item and its sub-items away.
    EXPECT_TRUE(set->RemoveSubItem(set->FindSubItemIndexByID(20000)));
    EXPECT_EQ(m_ribbon.FindByID(20000), nullptr);
    EXPECT_FALSE(tools->RemoveSubItem(17));
    EXPECT_TRUE(tools->RemoveSubItem(tools->FindSubItemIndexByID(34000)));
    EXPECT_EQ(m_ribbon.FindByID(20001), nullptr);
    EXPECT_EQ(m_ribbon.FindByID(34000), nullptr);
    tools->RemoveAllSubItems();
    EXPECT_EQ(tools->GetSubItemCount(), 0);
    ProcessEvents();
    EXPECT_EQ(Button(101)->menu(), nullptr);
}

TEST_F(RibbonTest, MenuShowsOnlyItemsWhoseCommandsExistWithTheirStates) {
    auto* menuButton = dynamic_cast<HxRibbonButton*>(m_ribbon.FindByID(101));
    for (UINT id : {401u, 402u, 403u, 994u})
        menuButton->AddSubItem(new HxRibbonButton(id, CString(u"项") + CString(std::to_string(id).c_str())));
    m_commands.m_radio = 402;
    QMenu menu;
    HxFillMenu(&m_ribbon, &menu, menuButton);
    QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 3) << "994 has no handler";
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_FALSE(actions[2]->isChecked());
}

TEST_F(RibbonTest, SliderMovesRunTheCommandButPositionsSetByTheProgramDoNot) {
    auto* slider = m_ribbon.FindByIDAs<HxRibbonSlider>(102);
    ASSERT_NE(slider, nullptr);
    m_ribbon.SetActiveCategory(m_ribbon.GetCategory(1));
    m_ribbon.OnIdleUpdate();
    auto* widget = qobject_cast<HxRibbonSliderWidget*>(m_ribbon.GetElementWidget(slider));
    ASSERT_NE(widget, nullptr);

    slider->SetPos(-37);
    EXPECT_EQ(widget->GetSlider()->value(), -37);
    slider->SetPos(500);
    EXPECT_EQ(slider->GetPos(), 100) << "kept in range";
    ProcessEvents();
    EXPECT_TRUE(m_commands.m_runs.empty());

    widget->GetSlider()->setValue(25);
    EXPECT_EQ(slider->GetPos(), 25);
    ProcessEvents();
    ASSERT_EQ(m_commands.m_runs.size(), 1u);
    EXPECT_EQ(m_commands.m_runs[0], 102u);
}

TEST_F(RibbonTest, ProgramChangesReachTheWidgets) {
    HxRibbonBaseElement* e = m_ribbon.FindByID(100);
    e->SetText(u"运行(&R)");
    e->SetToolTipText(u"运行命令");
    e->SetDescription(u"运行一个命令");
    EXPECT_EQ(Button(100)->text(), "运行");
    EXPECT_TRUE(Button(100)->toolTip().contains("运行命令") &&
                Button(100)->toolTip().contains("运行一个命令"));
    HxRibbonBaseElement* image = m_ribbon.FindByID(200);
    EXPECT_EQ(m_ribbon.ElementIconName(image, true), "line-segment");
    image->SetImageIndex(3, TRUE);
    EXPECT_EQ(m_ribbon.ElementIconName(image, true), "line-ray");
    EXPECT_EQ(m_ribbon.ElementIconName(e, true), "point");

    // Elements hidden by the program, and categories it adds.
    e->SetVisible(false);
    m_ribbon.OnIdleUpdate();
    EXPECT_FALSE(m_ribbon.GetElementWidget(e)->isVisible());
    e->SetVisible(true);
    m_ribbon.OnIdleUpdate();
    EXPECT_TRUE(m_ribbon.GetElementWidget(e)->isVisible());

    HxRibbonCategory* added = m_ribbon.AddCategory(u"丁");
    HxRibbonPanel* panel = added->AddPanel(u"新");
    panel->Add(new HxRibbonButton(103, u"新按钮"));
    m_ribbon.OnIdleUpdate();
    EXPECT_EQ(m_ribbon.GetCategoryCount(), 4);
    EXPECT_TRUE(m_ribbon.GetTabBar()->isTabVisible(3));
    ASSERT_NE(m_ribbon.GetElementWidget(m_ribbon.FindByID(103)), nullptr);
    EXPECT_TRUE(m_ribbon.SetActiveCategory(added));
    EXPECT_EQ(m_ribbon.GetActiveCategory(), added);
    EXPECT_FALSE(m_ribbon.SetActiveCategory(m_ribbon.GetCategory(2))) << "a hidden category";

    EXPECT_TRUE(panel->Remove(0));
    EXPECT_EQ(m_ribbon.FindByID(103), nullptr);
    m_ribbon.OnIdleUpdate();
    EXPECT_FALSE(m_ribbon.GetTabBar()->isTabVisible(3));

    // A failed load keeps the ribbon.
    QString error;
    EXPECT_FALSE(m_ribbon.LoadFromResource(QStringLiteral("/nonexistent.xml"), &error));
    EXPECT_EQ(m_ribbon.GetCategoryCount(), 4);
    EXPECT_NE(m_ribbon.FindByID(100), nullptr);
}

TEST_F(RibbonTest, MinimisedRibbonShowsOnlyItsTabs) {
    int changes = 0;
    QObject::connect(&m_ribbon, &HxRibbon::MinimizedChanged, [&](bool) { ++changes; });
    int fullHeight = m_ribbon.sizeHint().height();
    m_ribbon.ToggleMinimizeState();
    EXPECT_TRUE(m_ribbon.IsMinimized());
    EXPECT_LT(m_ribbon.sizeHint().height(), fullHeight / 2);
    m_ribbon.SetMinimized(true);
    m_ribbon.ToggleMinimizeState();
    EXPECT_FALSE(m_ribbon.IsMinimized());
    EXPECT_EQ(m_ribbon.sizeHint().height(), fullHeight);
    EXPECT_EQ(changes, 2);

    // A click on a tab drops the panels down; the prompts of their elements reach the window.
    m_ribbon.SetMinimized(true);
    emit m_ribbon.GetTabBar()->tabBarClicked(0);
    QWidget* button = Button(100);
    button->setStatusTip(QStringLiteral("运行的提示"));
    EXPECT_TRUE(button->isVisible());
    EXPECT_NE(button->window(), &m_ribbon);
    EXPECT_EQ(PromptReachingTheRibbon(button), QStringLiteral("运行的提示"));
    m_ribbon.SetMinimized(false);
}

namespace {
void RunEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

TEST(IdleHook, RunsWhenTheEventLoopWaits) {
    int runs = 0;
    HxIdleHook hook([&] { ++runs; });
    RunEventLoopFor(30);
    EXPECT_GT(runs, 0);
    // A pass that changes nothing posts nothing: the loop then sleeps instead of spinning.
    int before = runs;
    RunEventLoopFor(200);
    EXPECT_LT(runs - before, 10);
}

TEST_F(RibbonTest, IdleHookRefreshesTheRibbon) {
    HxIdleHook hook([this] { m_ribbon.OnIdleUpdate(); });
    m_commands.m_enable200 = false;
    RunEventLoopFor(30);
    EXPECT_FALSE(Button(200)->isEnabled());
}

TEST_F(RibbonTest, APageWiderThanTheRibbonScrollsInsteadOfOverlappingItsPanels) {
    HxRibbonCategory* wide = m_ribbon.AddCategory(u"宽");
    std::vector<HxRibbonPanel*> panels;
    for (int i = 0; i < 8; ++i) {
        panels.push_back(wide->AddPanel(u"面板"));
        panels.back()->Add(new HxRibbonButton(100, u"一个相当长的按钮"));
    }
    m_ribbon.OnIdleUpdate();
    QApplication::processEvents();
    ASSERT_TRUE(m_ribbon.SetActiveCategory(wide));
    // So narrow that even the panels collapsed to their buttons do not fit.
    m_ribbon.resize(250, 140);
    QApplication::processEvents();
    QWidget* first = m_ribbon.GetPanelWidget(panels.front());
    ASSERT_NE(first, nullptr);
    for (HxRibbonPanel* panel : panels)
        EXPECT_TRUE(m_ribbon.IsPanelCollapsed(panel));
    // The panels keep their widths and their order: nothing overlaps.
    for (size_t i = 1; i < panels.size(); ++i) {
        QWidget* a = m_ribbon.GetPanelWidget(panels[i - 1]);
        QWidget* b = m_ribbon.GetPanelWidget(panels[i]);
        EXPECT_GE(b->mapTo(&m_ribbon, QPoint(0, 0)).x(), a->mapTo(&m_ribbon, QPoint(a->width(), 0)).x()) << i;
    }
    const auto arrow = [&](const char16_t* text) { return ScrollArrow(text); };
    EXPECT_EQ(arrow(u"◀"), nullptr) << "nothing lies to the left at first";
    ASSERT_NE(arrow(u"▶"), nullptr);
    const int before = first->mapTo(&m_ribbon, QPoint(0, 0)).x();
    arrow(u"▶")->click();
    QApplication::processEvents();
    EXPECT_LT(first->mapTo(&m_ribbon, QPoint(0, 0)).x(), before);
    EXPECT_NE(arrow(u"◀"), nullptr);
    // Wide enough again: no arrows, nothing collapsed.
    m_ribbon.resize(2400, 140);
    QApplication::processEvents();
    EXPECT_EQ(arrow(u"◀"), nullptr);
    EXPECT_EQ(arrow(u"▶"), nullptr);
    for (HxRibbonPanel* panel : panels)
        EXPECT_FALSE(m_ribbon.IsPanelCollapsed(panel));
}

// A page of five panels of large buttons, for collapsing panels in a narrow ribbon.
class RibbonCollapseTest : public RibbonTest {
protected:
    void SetUp() override {
        RibbonTest::SetUp();
        m_page = m_ribbon.AddCategory(u"窄");
        const UINT ids[5][2] = {{100, 101}, {102, 103}, {104, 105}, {106, 107}, {200, 108}};
        for (int i = 0; i < 5; ++i) {
            m_panels.push_back(m_page->AddPanel(CString::FromQString(QStringLiteral("面板%1").arg(i + 1))));
            for (UINT id : ids[i]) {
                auto* b = new HxRibbonButton(id, u"较长的大按钮");
                b->SetDescription(u"按钮的提示");
                b->SetLarge(true);
                m_panels.back()->Add(b);
            }
        }
        m_ribbon.OnIdleUpdate();
        ProcessEvents();
        ASSERT_TRUE(m_ribbon.SetActiveCategory(m_page));
        // The widths of each panel laid out in full and collapsed.
        Resize(2400);
        for (HxRibbonPanel* p : m_panels)
            m_full.push_back(m_ribbon.GetPanelWidget(p)->width());
        Resize(60);
        for (HxRibbonPanel* p : m_panels)
            m_collapsed.push_back(m_ribbon.GetPanelWidget(p)->width());
    }

    void Resize(int width) {
        m_ribbon.resize(width, 140);
        ProcessEvents();
    }

    QAbstractScrollArea* Scroller() {
        for (auto* s : m_ribbon.findChildren<QAbstractScrollArea*>(QStringLiteral("HxRibbonPageScroller")))
            if (s->isVisibleTo(&m_ribbon))
                return s;
        return nullptr;
    }

    // How many panels, counted from the right, collapse for the page to fit its scroller: the
    // fewest that do, all (and *fits false) when none do.
    size_t ExpectedCollapsed(bool* fits = nullptr) {
        const int available = Scroller()->viewport()->width();
        const QMargins m = Scroller()->findChild<QWidget*>(QStringLiteral("HxRibbonPage"))->layout()->contentsMargins();
        for (size_t k = 0; k <= m_panels.size(); ++k) {
            int total = m.left() + m.right();
            for (size_t i = 0; i < m_panels.size(); ++i)
                total += i + k >= m_panels.size() ? m_collapsed[i] : m_full[i];
            if (total <= available) {
                if (fits)
                    *fits = true;
                return k;
            }
        }
        if (fits)
            *fits = false;
        return m_panels.size();
    }

    size_t CollapsedFromTheRight() {
        size_t k = 0;
        while (k < m_panels.size() && m_ribbon.IsPanelCollapsed(m_panels[m_panels.size() - 1 - k]))
            ++k;
        for (size_t i = 0; i + k < m_panels.size(); ++i)
            EXPECT_FALSE(m_ribbon.IsPanelCollapsed(m_panels[i])) << "panel " << i << " of " << k;
        return k;
    }

    QToolButton* CollapsedButton(HxRibbonPanel* panel) {
        return m_ribbon.GetPanelWidget(panel)->findChild<QToolButton*>(QStringLiteral("HxRibbonPanelButton"),
                                                                       Qt::FindDirectChildrenOnly);
    }

    HxRibbonCategory* m_page = nullptr;
    std::vector<HxRibbonPanel*> m_panels;
    std::vector<int> m_full, m_collapsed;
};

TEST_F(RibbonCollapseTest, PanelsCollapseRightFirstOnlyAsFarAsNeeded) {
    for (size_t i = 0; i < m_panels.size(); ++i)
        ASSERT_LT(m_collapsed[i], m_full[i]) << i;
    int total = 0;
    for (int w : m_full)
        total += w;
    // From wide to narrow and back: each width collapses the fewest panels, right-most first, and
    // the page fits without arrows until even all collapsed do not fit.
    const std::vector<int> widths = {2400, total + 40, total - 40, total - m_full[4] - m_full[3] + 20,
                                     total / 2, 320, 160, total / 2, 2400};
    size_t most = 0;
    for (int width : widths) {
        SCOPED_TRACE(width);
        Resize(width);
        const size_t k = CollapsedFromTheRight();
        bool fits = false;
        EXPECT_EQ(k, ExpectedCollapsed(&fits));
        most = std::max(most, k);
        if (width >= total + 40) {
            EXPECT_EQ(k, 0u);
        }
        EXPECT_EQ(ScrollArrow(u"▶") == nullptr, fits);
    }
    EXPECT_EQ(most, m_panels.size()) << "the narrowest width collapses them all";
    Resize(160);
    EXPECT_NE(ScrollArrow(u"▶"), nullptr) << "all collapsed and still too wide: the arrows are the last resort";
}

TEST_F(RibbonCollapseTest, CollapsedPanelDropsDownWithWorkingButtons) {
    Resize(m_full[0] + m_full[1] + m_full[2] + m_collapsed[3] + m_collapsed[4] + 20);
    ASSERT_EQ(CollapsedFromTheRight(), 2u);
    EXPECT_EQ(ScrollArrow(u"▶"), nullptr);
    HxRibbonPanel* last = m_panels.back();
    QToolButton* dropper = CollapsedButton(last);
    ASSERT_NE(dropper, nullptr);
    EXPECT_TRUE(dropper->isVisible());
    EXPECT_TRUE(dropper->text().startsWith(QStringLiteral("面板5")));
    EXPECT_FALSE(dropper->icon().isNull());

    // The element keeps its widget; the look-up by id and the update reach it in the drop-down.
    HxRibbonBaseElement* element = last->GetElement(0);
    std::vector<HxRibbonBaseElement*> found;
    m_ribbon.GetElementsByID(200, found);
    EXPECT_NE(std::find(found.begin(), found.end(), element), found.end());
    EXPECT_EQ(m_page->FindByID(200), element);
    auto* button = qobject_cast<QToolButton*>(m_ribbon.GetElementWidget(element));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isVisible());
    QTest::mouseClick(dropper, Qt::LeftButton);
    ProcessEvents();
    ASSERT_TRUE(button->isVisible());
    QWidget* popup = button->window();
    ASSERT_NE(popup, m_ribbon.window());
    EXPECT_GE(popup->mapToGlobal(QPoint(0, 0)).y(), dropper->mapToGlobal(QPoint(0, dropper->height())).y())
        << "the panel drops down below its button";
    EXPECT_TRUE(button->isEnabled());
    m_commands.m_enable200 = false;
    m_ribbon.OnIdleUpdate();
    EXPECT_FALSE(button->isEnabled());
    m_commands.m_enable200 = true;
    m_ribbon.OnIdleUpdate();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(button->toolTip().contains(QStringLiteral("按钮的提示")));

    // The status prompt of an element in the drop-down reaches the ribbon's window.
    EXPECT_EQ(PromptReachingTheRibbon(button), QStringLiteral("按钮的提示"));

    // A click runs the handler and closes the drop-down.
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
    ASSERT_FALSE(m_commands.m_runs.empty());
    EXPECT_EQ(m_commands.m_runs.back(), 200u);
    EXPECT_FALSE(popup->isVisible());

    // Widening puts the panel back in the page with the same widgets.
    Resize(2400);
    EXPECT_EQ(CollapsedFromTheRight(), 0u);
    EXPECT_FALSE(dropper->isVisible());
    EXPECT_EQ(m_ribbon.GetElementWidget(element), button);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->window(), m_ribbon.window());
}

TEST_F(RibbonCollapseTest, SwitchingCategoryFitsTheNewPage) {
    ASSERT_TRUE(m_ribbon.SetActiveCategory(m_ribbon.GetCategory(0)));
    Resize(m_full[0] + m_full[1] + m_collapsed[2] + m_collapsed[3] + m_collapsed[4] + 20);
    EXPECT_FALSE(m_ribbon.IsPanelCollapsed(m_ribbon.GetCategory(0)->GetPanel(0))) << "a small page stays whole";
    ASSERT_TRUE(m_ribbon.SetActiveCategory(m_page));
    ProcessEvents();
    EXPECT_EQ(CollapsedFromTheRight(), 3u);
    EXPECT_EQ(ScrollArrow(u"▶"), nullptr);
}

TEST_F(RibbonCollapseTest, MovingASliderKeepsTheDropDownOpen) {
    HxRibbonPanel* panel = m_page->AddPanel(u"滑块面板");
    panel->Add(new HxRibbonSlider(102, 100));
    auto* b = new HxRibbonButton(103, u"较长的大按钮");
    b->SetLarge(true);
    panel->Add(b);
    m_ribbon.OnIdleUpdate();
    Resize(300);
    ASSERT_TRUE(m_ribbon.IsPanelCollapsed(panel));
    QToolButton* dropper = CollapsedButton(panel);
    QTest::mouseClick(dropper, Qt::LeftButton);
    ProcessEvents();
    auto* slider = m_ribbon.GetElementWidget(panel->GetElement(0))->findChild<QSlider*>();
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->isVisible());
    slider->setValue(slider->value() + 5);
    ProcessEvents();
    ASSERT_FALSE(m_commands.m_runs.empty());
    EXPECT_EQ(m_commands.m_runs.back(), 102u);
    EXPECT_TRUE(slider->isVisible()) << "still open while the slider moves";
    QTest::mouseClick(qobject_cast<QToolButton*>(m_ribbon.GetElementWidget(b)), Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(m_commands.m_runs.back(), 103u);
    EXPECT_FALSE(slider->isVisible());
}
