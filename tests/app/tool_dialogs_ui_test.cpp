// The tool dialogs' windows offscreen: "新建工具" writes its fields back, the script view shows a
// tool's inputs and steps and lays them out by its rule, and "工具属性" renames, copies and deletes
// the document's tools through its controls.
#include "app/tool_dialogs_ui.h"

#include "document/halvix_doc.h"
#include "document/tool_commands.h"
#include "document/tool_record.h"
#include "model/free_points.h"
#include "model/line.h"
#include "platform/document.h"
#include "view/view_tool_globals.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

namespace {

// Two free points and the segment between them.
CRecord* SegmentTool(const CString& name) {
    auto* tool = new CRecord;
    tool->m_name = name;
    tool->m_recordedCells.AddTail(new CGVerFreeXyz(0, 0, u"A", 0, 0, 0));
    tool->m_recordedCells.AddTail(new CGVerFreeXyz(1, 0, u"B", 1, 0, 0));
    auto* line = new CGLine;
    line->m_id = 2;
    line->m_parents.Add(0);
    line->m_parents.Add(1);
    line->m_name = u"a";
    line->m_text1 = u"点A、B 确定的线段";
    tool->m_recordedCells.AddTail(line);
    tool->m_conditions.Add(new CCondition(0, u"点A", true));
    tool->m_conditions.Add(new CCondition(1, u"点B", true));
    EXPECT_TRUE(tool->Validate());
    return tool;
}

class ToolDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetScreenSizeOverride(1920, 1080);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        m_doc = std::make_unique<CHalvixDoc>();
        m_doc->OnNewDocument();
    }
    void TearDown() override {
        g_pCurrentTool = nullptr;
        m_doc.reset();
        HxDestroyToolScriptView();
        HxSetMessageBoxHandler(nullptr);
        HxSetScreenSizeOverride(0, 0);
    }
    std::unique_ptr<CHalvixDoc> m_doc;
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(ToolDialogWindows, TheNewToolWindowWritesItsFieldsBack) {
    CDlgTool fields;
    fields.m_name = u"工具#3";
    CNewToolWindow window(fields);
    auto* name = window.Edit(CDlgTool::kName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("工具#3"));
    name->setText(QStringLiteral("垂足"));
    static_cast<QCheckBox*>(window.Control(CDlgTool::kShowScript))->setChecked(true);
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_name, u"垂足");
    EXPECT_EQ(fields.m_showScript, TRUE);
}

TEST_F(ToolDialogWindows, TheScriptViewShowsInputsAndStepsInItsLayout) {
    std::unique_ptr<CRecord> tool(SegmentTool(u"线段"));
    tool->m_comment = u"两点连线";
    g_pToolScriptView = new CDlgToolView;
    g_pToolScriptView->Fill(*tool);
    g_pToolScriptView->Show();
    CToolScriptWindow* window = HxToolScriptWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("线段脚本"));
    EXPECT_EQ(window->Comment()->toPlainText(), QStringLiteral("两点连线"));
    ASSERT_EQ(window->Conditions()->count(), 2);
    EXPECT_EQ(window->Conditions()->item(1)->text(), QStringLiteral("2. B__点B"));
    QTreeWidgetItem* root = window->Steps()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("线段"));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(2)->text(0), QStringLiteral("  2. a----点A、B 确定的线段"));
    EXPECT_EQ(root->child(2)->childCount(), 2) << "its two parents below it";
    window->resize(400, 500);
    EXPECT_EQ(window->Steps()->geometry(), QRect(12, 170, 376, 315));
    EXPECT_EQ(window->Comment()->geometry(), QRect(12, 15, 376, 50));
    // Refilled with another tool; hidden with none.
    std::unique_ptr<CRecord> other(SegmentTool(u"另一个"));
    HxRefillToolScriptView(other.get());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("另一个脚本"));
    HxRefillToolScriptView(nullptr);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ToolDialogWindows, TheOptionsWindowRenamesCopiesAndDeletes) {
    m_doc->m_tools.AddTail(SegmentTool(u"甲"));
    m_doc->m_tools.AddTail(SegmentTool(u"乙"));
    CDlgPropertyTool fields(m_doc.get());
    fields.OnInitDialog();
    CToolOptionsWindow window(fields);
    auto* tools = static_cast<QComboBox*>(window.Control(CDlgPropertyTool::kTools));
    ASSERT_EQ(tools->count(), 2);
    EXPECT_EQ(tools->currentIndex(), 0);
    auto* conditions = static_cast<QComboBox*>(window.Control(CDlgPropertyTool::kConditions));
    EXPECT_EQ(conditions->itemText(0), QStringLiteral("1. A"));
    EXPECT_EQ(window.Edit(CDlgPropertyTool::kConditionComment)->text(), QStringLiteral("点A"));

    // The second tool chosen and renamed when the name edit is left.
    emit tools->activated(1);
    QLineEdit* name = window.Edit(CDlgPropertyTool::kName);
    EXPECT_EQ(name->text(), QStringLiteral("乙"));
    name->setText(QStringLiteral("丙"));
    emit name->editingFinished();
    EXPECT_EQ(m_doc->m_tools.GetTail()->m_name, u"丙");
    EXPECT_EQ(tools->itemText(1), QStringLiteral("丙"));

    // Copy without a current tool: the hint; with one, after the chosen row.
    auto* copy = static_cast<QPushButton*>(window.Button(CDlgPropertyTool::kCopy));
    EXPECT_EQ(copy->text(), QStringLiteral("复制工具"));
    copy->click();
    EXPECT_EQ(m_messages.back(), u"请先在菜单中选择一个自定义工具，然后再复制它到当前文档！");
    g_pCurrentTool = m_doc->m_tools.GetHead();
    copy->click();
    EXPECT_EQ(copy->text(), QStringLiteral("再次复制"));
    EXPECT_EQ(m_doc->m_tools.GetCount(), 3);
    EXPECT_EQ(tools->count(), 3);
    EXPECT_EQ(tools->currentIndex(), 2);

    // Delete all three: the last message, then the empty state.
    auto* remove = static_cast<QPushButton*>(window.Button(CDlgPropertyTool::kDelete));
    remove->click();
    EXPECT_EQ(m_messages.back(), u"删除后不能恢复，是否继续？");
    EXPECT_EQ(tools->currentIndex(), 0) << "the last row deleted: the first is chosen";
    remove->click();
    remove->click();
    EXPECT_TRUE(m_doc->m_tools.IsEmpty());
    EXPECT_EQ(g_pCurrentTool, nullptr) << "the current tool was forgotten before it went";
    EXPECT_EQ(static_cast<QPlainTextEdit*>(window.Control(CDlgPropertyTool::kComment))->toPlainText(),
              QStringLiteral("当前文档已不含工具！"));
    EXPECT_FALSE(remove->isEnabled());
}
