// The status bar: elements by index, the panes' texts, the tool group's commands.
#include "app_test_support.h"

#include "app/frame_ids.h"
#include "app/status_bar.h"

#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxRibbonDefinition def;
        ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def));
        m_bar.Load(def.statusBar);
        m_bar.resize(1400, 24);
        m_bar.show();
        m_bar.OnIdleUpdate();
    }
    CTestCommands m_commands;
    RouterScope m_scope{{&m_commands}};
    HxStatusBar m_bar;
};

} // namespace

TEST_F(StatusBarTest, PanesByIndexWithTheirTexts) {
    ASSERT_EQ(m_bar.GetCount(), 3);
    EXPECT_EQ(m_bar.GetElement(HX_STATUS_ELEMENT_INFO)->GetID(), ID_STATUSBAR_PANE_INFO);
    EXPECT_EQ(m_bar.GetElement(1)->GetKind(), HxRibbonKind::Separator);
    EXPECT_EQ(m_bar.GetElement(HX_STATUS_ELEMENT_PAGE)->GetID(), ID_STATUSBAR_PANE_PAGE);
    EXPECT_EQ(m_bar.GetElement(3), nullptr);
    EXPECT_TRUE(m_bar.GetElement(0)->GetToolTipText() == u"信息" &&
                m_bar.GetElement(2)->GetToolTipText() == u"当前页");

    auto* info = qobject_cast<QLabel*>(m_bar.GetElementWidget(m_bar.GetElement(0)));
    auto* page = qobject_cast<QLabel*>(m_bar.GetElementWidget(m_bar.GetElement(2)));
    ASSERT_NE(info, nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(info->text(), "欢迎使用《Halvix》！");
    EXPECT_EQ(page->text(), "当前页：第一页");
    EXPECT_TRUE(info->isVisible()) << "panes show without any command";

    m_bar.GetElement(2)->SetText(u"当前页：第二页");
    EXPECT_EQ(page->text(), "当前页：第二页");
}

TEST_F(StatusBarTest, ToolButtonsShowWithTheirHandlersAndRunThem) {
    ASSERT_GE(m_bar.GetExCount(), 1);
    auto* group = dynamic_cast<HxRibbonButtonsGroup*>(m_bar.GetExElement(0));
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->IsShown()) << "no tool has a handler yet";
    EXPECT_EQ(m_bar.FindElement(33610), group->GetButton(1));
    HxRibbonBaseElement* link = m_bar.FindElement(ID_STATUS_LINK);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetKind(), HxRibbonKind::Link);
    EXPECT_FALSE(link->IsShown()) << "nor the link";

    class CTools : public CCmdTarget {
    public:
        CTools() {
            OnCommandId(33610, &CTools::OnPoint);
            OnUpdateId(33610, &CTools::OnUpdatePoint);
        }
        void OnPoint() { ++m_points; }
        void OnUpdatePoint(CCmdUI* ui) { ui->SetCheck(m_tool == 2); }
        int m_points = 0;
        int m_tool = 2;
    } tools;
    RouterScope scope({&tools});
    m_bar.OnIdleUpdate();
    EXPECT_TRUE(group->IsShown());
    auto* point = qobject_cast<QToolButton*>(m_bar.GetElementWidget(group->GetButton(1)));
    ASSERT_NE(point, nullptr);
    EXPECT_TRUE(point->isVisible());
    EXPECT_TRUE(point->property("hxChecked").toBool());
    EXPECT_FALSE(m_bar.GetElementWidget(group->GetButton(0))->isVisible());
    EXPECT_EQ(point->toolTip(), "点工具");
    point->click();
    ProcessEvents();
    EXPECT_EQ(tools.m_points, 1);
}

TEST_F(StatusBarTest, AddedElementsKeepTheirOrder) {
    HxStatusBar bar;
    bar.AddElement(new HxRibbonStatusBarPane(120, u"甲", u"信息"));
    bar.AddSeparator();
    bar.AddElement(new HxRibbonStatusBarPane(121, u"乙", u"当前页"));
    bar.AddExtendedElement(new HxRibbonLinkCtrl(33818, u"链接", u"http://localhost/"));
    EXPECT_TRUE(bar.GetCount() == 3 && bar.GetExCount() == 1);
    EXPECT_EQ(bar.GetElement(2)->GetText(), u"乙");
    bar.RemoveAll();
    EXPECT_TRUE(bar.GetCount() == 0 && bar.GetExCount() == 0);
}
