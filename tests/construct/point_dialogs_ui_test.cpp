// The point commands' dialog windows offscreen: the crossing count under its prompt, the N of the
// N-division with its check, the range checks of OK and the presenters; and the ribbon's figure
// commands in the 构造 and 立体 categories with their prompts, icons and handlers.
#include "app/point_dialogs_ui.h"
#include "app/ribbon_definition.h"
#include "app/ribbon_icons.h"
#include "construct/construct_ids.h"
#include "document/halvix_doc.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <vector>

namespace {

class PointDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }
    static QLineEdit* EditOf(CHxExchangeDialog& window, int id) {
        auto* edit = window.Edit(id);
        EXPECT_NE(edit, nullptr) << id;
        return edit;
    }
    std::vector<CString> m_messages;
};

TEST_F(PointDialogWindows, TheCrossingCountUnderItsPrompt) {
    using D = CDlgIntersectionNum;
    D fields;
    fields.m_number = 3;
    CIntersectionNumWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("添加交点数"));
    auto* prompt = dynamic_cast<QLabel*>(window.Control(D::kPromptText));
    ASSERT_NE(prompt, nullptr);
    // The line break as written: a line feed, then a carriage return.
    EXPECT_EQ(prompt->text(), D::PromptFor(3).ToQString());
    EXPECT_TRUE(prompt->text().contains(QStringLiteral("\n\r（多余的交点")));
    QLineEdit* edit = EditOf(window, D::kEditNumber);
    EXPECT_EQ(edit->text(), QStringLiteral("3"));

    // Out of range or no number: refused, the window stays and the field keeps its value.
    for (const char* text : {"33", "-1", "x"}) {
        edit->setText(QString::fromLatin1(text));
        window.accept();
        EXPECT_EQ(window.result(), QDialog::Rejected) << text;
        EXPECT_EQ(fields.m_number, 3) << text;
    }
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[0], CString(u"请输入一个在 0 和 32 之间的整数。"));
    EXPECT_EQ(m_messages[2], CString(u"请输入一个整数。"));
    edit->setText(QStringLiteral(" 32 "));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_number, 32);

    // Forty crossings: the other prompt.
    D many;
    many.m_number = 40;
    CIntersectionNumWindow second(many);
    EXPECT_EQ(dynamic_cast<QLabel*>(second.Control(D::kPromptText))->text(),
              QString::fromUtf16(
                  u"当前状态至少有40 个交点，请输入你要添加的个数：\n\r（不超过32个；按“取消”不添加）"));
}

TEST_F(PointDialogWindows, TheNOfTheNDivisionAndItsCheck) {
    using D = DlgDivPoint;
    D fields;
    CDivPointWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("N等分点"));
    QLineEdit* edit = EditOf(window, D::kEditN);
    EXPECT_EQ(edit->text(), QStringLiteral("2"));
    auto* check = dynamic_cast<QCheckBox*>(window.Control(D::kOnlyFirstCheck));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), QStringLiteral("仅添加首个等分点"));
    EXPECT_FALSE(check->isChecked());
    for (const char* text : {"1", "257"}) {
        edit->setText(QString::fromLatin1(text));
        window.accept();
        EXPECT_EQ(window.result(), QDialog::Rejected) << text;
    }
    EXPECT_EQ(m_messages, std::vector<CString>(2, CString(u"请输入一个在 2 和 256 之间的整数。")));
    EXPECT_EQ(fields.m_n, 2);
    edit->setText(QStringLiteral("256"));
    check->setChecked(true);
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_n, 256);
    EXPECT_TRUE(fields.m_onlyFirst);

    // Opened again with the fields it was given.
    CDivPointWindow again(fields);
    EXPECT_EQ(EditOf(again, D::kEditN)->text(), QStringLiteral("256"));
    EXPECT_TRUE(dynamic_cast<QCheckBox*>(again.Control(D::kOnlyFirstCheck))->isChecked());
}

TEST_F(PointDialogWindows, DoModalShowsTheWindows) {
    DlgDivPoint division;
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<CDivPointWindow*>(w)) {
                window->Edit(DlgDivPoint::kEditN)->setText(QStringLiteral("7"));
                window->accept();
            }
        }
    });
    EXPECT_EQ(division.DoModal(), IDOK);
    EXPECT_EQ(division.m_n, 7);
    CDlgIntersectionNum count;
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<CIntersectionNumWindow*>(w))
                window->reject();
        }
    });
    EXPECT_EQ(count.DoModal(), IDCANCEL);
}

// The figure commands on the ribbon: each in its category with a prompt, an icon of its own and its
// handler; those with an update rule have their update handler.
TEST(FigureRibbon, EveryFigureCommandIsOnTheRibbonWithItsPromptIconAndHandlers) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();
    auto find = [&](const char16_t* categoryName, UINT id) -> const HxRibbonBaseElement* {
        for (const auto& c : def.categories) {
            if (c.name != categoryName)
                continue;
            for (const auto& panel : c.panels)
                for (const auto& e : panel.elements)
                    if (const HxRibbonBaseElement* found = e->FindByID(id))
                        return found;
        }
        return nullptr;
    };
    CHalvixDoc doc;
    const struct {
        const char16_t* category;
        UINT id;
        bool updateRule;
    } rows[] = {
        {u"构造", ID_CREATE_FACE, true},
        {u"构造", ID_CREATE_CIRCLE_3P, true},
        {u"构造", ID_CREATE_CIRCLE_CP, true},
        {u"构造", ID_CREATE_CIRCLE_PN, true},
        {u"构造", ID_CREATE_CIRCLE_PNZ2, false},
        {u"构造", ID_CREATE_CIRCLE_CR, false},
        {u"构造", ID_CREATE_BASE, false},
        {u"构造", ID_CREATE_POINT_INTER, true},
        {u"构造", ID_CREATE_POINT_MIDDLE, true},
        {u"构造", ID_CREATE_POINT_DIV3, true},
        {u"构造", ID_CREATE_POINT_DIVN, true},
        {u"立体", ID_CREATE_BALL, true},
        {u"立体", ID_CREATE_GEO, true},
        {u"立体", ID_CREATE_CUBOID, false},
        {u"立体", ID_CREATE_BOX, false},
        {u"立体", ID_CREATE_SOLID_PARALL, false},
        {u"立体", ID_CREATE_SOLID_PRISM, false},
        {u"立体", ID_CREATE_SOLID_FIVEPRISM, false},
        {u"立体", ID_CREATE_SOLID_PYRAMID, false},
        {u"立体", ID_CREATE_SOLID_TRUN, false},
        {u"立体", ID_CREATE_SOLID_TETRAHEDRON, false},
        {u"立体", ID_CREATE_SOLID_SIXTRUN, false},
    };
    for (const auto& row : rows) {
        const HxRibbonBaseElement* found = find(row.category, row.id);
        ASSERT_NE(found, nullptr) << row.id;
        EXPECT_FALSE(found->GetDescription().IsEmpty()) << row.id;
        EXPECT_TRUE(HxHasRibbonIcon(found->GetIconName())) << row.id;
        EXPECT_TRUE(doc.HasCommandHandler(row.id)) << row.id;
        EXPECT_EQ(doc.HasUpdateHandler(row.id), row.updateRule) << row.id;
    }
    // The prompts the commands are known by.
    EXPECT_EQ(find(u"立体", ID_CREATE_SOLID_PRISM)->GetDescription(),
              CString(u"选中一点（上顶点）一面（下底面），画一棱柱； 否则画一个三棱柱"));
    EXPECT_EQ(find(u"立体", ID_CREATE_BALL)->GetDescription(),
              CString(u"不选或选中两点（球心及北极点），添加球体"));
    EXPECT_EQ(find(u"立体", ID_CREATE_SOLID_SIXTRUN)->GetDescription(),
              CString(u"画一个动态正六棱台（无需先选对象）"));
}

} // namespace
