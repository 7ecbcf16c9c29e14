// The hull, net and cut dialog windows: titles and what can be changed when building and afterwards,
// the fields written back on OK, counts refused with the dialog kept open, and the presenters.
#include "app/polyhedron_dialogs_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <vector>

namespace {

class PolyhedronDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }
    static void Type(CHxExchangeDialog& window, int id, const char* text) {
        ASSERT_NE(window.Edit(id), nullptr) << id;
        window.Edit(id)->setText(QString::fromUtf8(text));
    }
    std::vector<CString> m_messages;
};

TEST_F(PolyhedronDialogWindows, TheHullDialogOffersTheVertexSetsOnlyWhileBuilding) {
    CDlgPolyhedron fields;
    fields.m_vertexSet = 1;
    fields.m_style = 2;
    {
        CPolyhedronWindow window(fields);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("构建凸包"));
        auto* list = qobject_cast<QComboBox*>(window.Control(CDlgPolyhedron::kVertexSetList));
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isEnabled());
        EXPECT_EQ(list->count(), 10);
        EXPECT_EQ(list->currentText(), QStringLiteral("长方体"));
        EXPECT_EQ(list->itemText(9), QStringLiteral("正二十面体"));
        EXPECT_EQ(window.Edit(CDlgPolyhedron::kLabelEdit)->text(), QStringLiteral("多面体"));
        EXPECT_TRUE(window.StyleGroup()->button(2)->isChecked());
        list->setCurrentIndex(0);
        window.StyleGroup()->button(0)->click();
        window.Button(CDlgPolyhedron::kHiddenCheck)->click();
        Type(window, CDlgPolyhedron::kLabelEdit, "凸包一");
        window.accept();
    }
    EXPECT_EQ(fields.m_vertexSet, 0);
    EXPECT_EQ(fields.m_style, 0);
    EXPECT_TRUE(fields.m_hidden);
    EXPECT_EQ(fields.m_label, CString(u"凸包一"));
    fields.m_building = false;
    CPolyhedronWindow properties(fields);
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("凸包属性"));
    EXPECT_FALSE(properties.Control(CDlgPolyhedron::kVertexSetList)->isEnabled());
}

TEST_F(PolyhedronDialogWindows, TheNetDialogExchangesItsModes) {
    CDlgFold fields;
    CFoldWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("多面体表面展开与折叠属性"));
    EXPECT_TRUE(window.UnfoldGroup()->button(1)->isChecked());
    EXPECT_TRUE(window.StyleGroup()->button(2)->isChecked());
    EXPECT_EQ(window.Edit(CDlgFold::kLabelEdit)->text(), QStringLiteral("展开图"));
    window.UnfoldGroup()->button(0)->click();
    window.StyleGroup()->button(1)->click();
    window.accept();
    EXPECT_EQ(fields.m_unfoldMode, 0);
    EXPECT_EQ(fields.m_style, 1);
}

TEST_F(PolyhedronDialogWindows, TheCutDialogKeepsItsCountInRange) {
    CDlgSplit fields;
    fields.PresetForBuilding(2);
    CSplitWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("构建多面体切割图"));
    EXPECT_EQ(window.Edit(CDlgSplit::kCountEdit)->text(), QStringLiteral("2"));
    EXPECT_EQ(window.Edit(CDlgSplit::kNoteEdit)->text(),
              QStringLiteral("切割面由当前页所选面确定,随面而变化"));
    EXPECT_TRUE(window.Edit(CDlgSplit::kNoteEdit)->isReadOnly());
    EXPECT_EQ(window.Edit(CDlgSplit::kShiftEdit)->text(), QStringLiteral("2"));
    struct Row {
        const char* count;
        const char* shift;
        const char16_t* message;
    };
    const Row refused[] = {{"11", "2", u"请输入一个在 1 和 10 之间的整数。"},
                           {"0", "2", u"请输入一个在 1 和 10 之间的整数。"},
                           {"2.5", "2", u"请输入一个整数。"},
                           {"3", "abc", u"请输入一个数字。"}};
    for (const Row& r : refused) {
        m_messages.clear();
        Type(window, CDlgSplit::kCountEdit, r.count);
        Type(window, CDlgSplit::kShiftEdit, r.shift);
        window.accept();
        EXPECT_EQ(m_messages, std::vector<CString>{CString(r.message)}) << r.count << " " << r.shift;
        EXPECT_EQ(window.result(), 0);
        EXPECT_EQ(fields.m_planeCount, 2);
    }
    Type(window, CDlgSplit::kCountEdit, " 10 ");
    Type(window, CDlgSplit::kShiftEdit, "-1.5");
    window.accept();
    EXPECT_EQ(window.result(), int(QDialog::Accepted));
    EXPECT_EQ(fields.m_planeCount, 10);
    EXPECT_EQ(fields.m_shift, -1.5);

    // Opened on a cut whose planes follow faces: the count is shown and cannot be changed.
    CDlgSplit following;
    following.m_planeCount = 2;
    following.PresetForProperties(true);
    CSplitWindow properties(following);
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("多面体切割图属性"));
    EXPECT_TRUE(properties.Edit(CDlgSplit::kCountEdit)->isReadOnly());
    Type(properties, CDlgSplit::kCountEdit, "99");
    properties.accept();
    EXPECT_EQ(following.m_planeCount, 2);
    CDlgSplit fixed;
    fixed.PresetForProperties(false);
    EXPECT_TRUE(fixed.CountEditable());
    EXPECT_EQ(fixed.m_note, CString(CDlgSplit::kNoteFixedPlanes));
}

template <class Window> void AnswerNextWindow(std::function<void(Window&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        answer(*window);
    });
}

TEST_F(PolyhedronDialogWindows, DoModalShowsTheRegisteredWindows) {
    CDlgPolyhedron hull;
    AnswerNextWindow<CPolyhedronWindow>([](CPolyhedronWindow& w) { w.accept(); });
    EXPECT_EQ(hull.DoModal(), IDOK);
    CDlgFold net;
    AnswerNextWindow<CFoldWindow>([](CFoldWindow& w) { w.reject(); });
    EXPECT_EQ(net.DoModal(), IDCANCEL);
    CDlgSplit cut;
    AnswerNextWindow<CSplitWindow>([](CSplitWindow& w) { w.accept(); });
    EXPECT_EQ(cut.DoModal(), IDOK);
    EXPECT_EQ(cut.m_planeCount, 3);
}

} // namespace
