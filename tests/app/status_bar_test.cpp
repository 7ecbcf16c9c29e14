// The status bar: elements by index, the panes' texts, the tool group's commands.
#include "app_test_support.h"

#include "app/frame_ids.h"
#include "app/status_bar.h"

#include <QLabel>
#include <QPaintEngine>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A paint device that keeps the texts painted on it, in the order they were drawn, and nothing else.
class CTextRecorder : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QString& Text() const { return m_engine.m_text; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 2000;
        case PdmHeight:
            return 100;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmWidthMM:
            return 529;
        case PdmHeightMM:
            return 26;
        case PdmNumColors:
            return 0xFFFFFF;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    class CEngine : public QPaintEngine {
    public:
        CEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { m_text += item.text(); }
        Type type() const override { return QPaintEngine::User; }
        QString m_text;
    };
    mutable CEngine m_engine;
};

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

TEST_F(StatusBarTest, AnInformationTooLongForItsPaneIsCutAtItsEndWithAnEllipsis) {
    auto* info = qobject_cast<QLabel*>(m_bar.GetElementWidget(m_bar.GetElement(HX_STATUS_ELEMENT_INFO)));
    ASSERT_NE(info, nullptr);
    QString prompt = QStringLiteral("请先选中两点，");
    while (prompt.size() < 200)
        prompt += QStringLiteral("再选中一条直线，");
    prompt += QStringLiteral("最后单击确定");
    m_bar.GetElement(HX_STATUS_ELEMENT_INFO)->SetText(CString::FromQString(prompt));
    m_bar.resize(400, 24);
    ProcessEvents();
    ASSERT_EQ(info->text(), prompt);
    ASSERT_LT(info->contentsRect().width(), info->fontMetrics().horizontalAdvance(prompt)) << "narrowed";

    CTextRecorder shown;
    info->render(&shown);
    EXPECT_TRUE(shown.Text().startsWith(QStringLiteral("请先选中两点"))) << shown.Text().toStdString();
    EXPECT_TRUE(shown.Text().endsWith(QChar(0x2026))) << shown.Text().toStdString();
    EXPECT_LT(shown.Text().size(), prompt.size()) << "the whole text does not show";
    EXPECT_FALSE(shown.Text().contains(QStringLiteral("最后单击确定")));
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
