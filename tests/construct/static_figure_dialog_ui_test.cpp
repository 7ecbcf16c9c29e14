// The positioning-figure dialog's window offscreen: its type list and defaults, the fields each type
// enables, the typed type box, the ranges OK enforces (on every field, used or not), what OK writes
// back, the presenter behind DoModal, and the command's place on the ribbon; and the point-label
// dialog's two drop-down lists.
#include "app/ribbon_definition.h"
#include "app/static_figure_dialog_ui.h"
#include "construct/static_figure_commands.h"
#include "document/display_dialogs.h"
#include "document/halvix_doc.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <vector>

namespace {

using D = CDlgStaticHalvix;

class StaticFigureWindow : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }
    // The size and axis fields enabled, in the order of kSizeFields.
    static std::vector<int> EnabledFields(CHxExchangeDialog& window) {
        std::vector<int> on;
        for (int id : D::kSizeFields)
            if (window.Control(id)->isEnabled())
                on.push_back(id);
        return on;
    }
    static bool CentreEnabled(CHxExchangeDialog& window) {
        return window.Control(D::kCentreX)->isEnabled() && window.Control(D::kCentreY)->isEnabled() &&
               window.Control(D::kCentreZ)->isEnabled();
    }
    std::vector<CString> m_messages;
};

TEST_F(StaticFigureWindow, OpensOnTheCuboidWithItsDefaults) {
    D fields;
    CStaticHalvixWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("添加定位图"));
    QComboBox* type = window.TypeBox();
    ASSERT_EQ(type->count(), 15);
    EXPECT_EQ(type->itemText(0), QStringLiteral("长方体"));
    EXPECT_EQ(type->itemText(9), QStringLiteral("正二十面体"));
    EXPECT_EQ(type->itemText(14), QStringLiteral("球"));
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_TRUE(type->isEditable());
    const struct {
        int id;
        const char* text;
    } texts[] = {{D::kLength, "12"}, {D::kWidth, "8"},   {D::kHeight, "10"}, {D::kSideCount, "6"},
                 {D::kRadius, "8"},  {D::kRatio, "0.5"}, {D::kCentreX, "0"}, {D::kCentreY, "0"},
                 {D::kCentreZ, "0"}, {D::kAxisX, "0"},   {D::kAxisY, "0"},   {D::kAxisZ, "1"}};
    for (const auto& t : texts)
        EXPECT_EQ(window.Edit(t.id)->text(), QString::fromLatin1(t.text)) << t.id;
    EXPECT_EQ(EnabledFields(window), (std::vector<int>{D::kLength, D::kWidth, D::kHeight}));
    EXPECT_TRUE(CentreEnabled(window));
}

TEST_F(StaticFigureWindow, EachTypeEnablesExactlyTheFieldsItUses) {
    const std::vector<int> none;
    const std::vector<int> sizes = {D::kHeight, D::kSideCount, D::kRadius};
    const std::vector<int> radius = {D::kRadius};
    const std::vector<int> flat = {D::kSideCount, D::kRadius};
    const std::vector<int> round = {D::kRadius, D::kAxisX, D::kAxisY, D::kAxisZ};
    const std::vector<int> roundSolid = {D::kHeight, D::kRadius, D::kAxisX, D::kAxisY, D::kAxisZ};
    const std::vector<std::vector<int>> expected = {
        {D::kLength, D::kWidth, D::kHeight},
        sizes,
        sizes,
        {D::kHeight, D::kSideCount, D::kRadius, D::kRatio},
        flat,
        radius,
        radius,
        radius,
        radius,
        radius,
        round,
        roundSolid,
        roundSolid,
        {D::kHeight, D::kRadius, D::kRatio, D::kAxisX, D::kAxisY, D::kAxisZ},
        round,
    };
    D fields;
    CStaticHalvixWindow window(fields);
    // Forwards and back, so that every field is switched both ways.
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < 15; ++k) {
            const int type = pass == 0 ? k : 14 - k;
            window.TypeBox()->setCurrentIndex(type);
            EXPECT_EQ(EnabledFields(window), expected[size_t(type)]) << type;
            EXPECT_TRUE(CentreEnabled(window)) << type;
        }
    }
}

TEST_F(StaticFigureWindow, TypingIntoTheTypeBoxMakesTheCubeOfEdgeTen) {
    D fields;
    CStaticHalvixWindow window(fields);
    window.show();
    QApplication::setActiveWindow(&window);
    window.TypeBox()->setCurrentIndex(13);
    window.TypeBox()->lineEdit()->setFocus();
    QTest::keyClicks(window.TypeBox()->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(window.TypeBox()->currentText(), QStringLiteral("正方体(棱长10)"));
    EXPECT_EQ(window.TypeBox()->currentIndex(), -1);
    EXPECT_TRUE(EnabledFields(window).empty());
    EXPECT_TRUE(CentreEnabled(window));
    EXPECT_EQ(window.focusWidget(), window.Control(D::kCentreX));
    window.Edit(D::kCentreX)->setText(QStringLiteral("4"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_type, -1);
    EXPECT_FLOAT_EQ(fields.m_centreX, 4.0f);
    // Choosing a row afterwards brings its fields back.
    window.TypeBox()->setCurrentIndex(4);
    EXPECT_EQ(EnabledFields(window), (std::vector<int>{D::kSideCount, D::kRadius}));
    EXPECT_EQ(window.TypeBox()->currentText(), QStringLiteral("正多边形"));
}

TEST_F(StaticFigureWindow, OkWritesEveryFieldBack) {
    D fields;
    CStaticHalvixWindow window(fields);
    window.TypeBox()->setCurrentIndex(D::kRoundFrustum);
    const struct {
        int id;
        const char* text;
    } texts[] = {{D::kHeight, "7.5"}, {D::kRadius, "100"},  {D::kRatio, "0.0001"},
                 {D::kCentreX, "-1"}, {D::kCentreY, "2.5"}, {D::kCentreZ, "1e3"},
                 {D::kAxisX, "1"},    {D::kAxisY, "-2"},    {D::kAxisZ, "0"}};
    for (const auto& t : texts)
        window.Edit(t.id)->setText(QString::fromLatin1(t.text));
    window.accept();
    ASSERT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(fields.m_type, D::kRoundFrustum);
    EXPECT_FLOAT_EQ(fields.m_height, 7.5f);
    EXPECT_FLOAT_EQ(fields.m_radius, 100.0f);
    EXPECT_FLOAT_EQ(fields.m_ratio, 0.0001f);
    EXPECT_FLOAT_EQ(fields.m_centreZ, 1000.0f);
    EXPECT_FLOAT_EQ(fields.m_axisY, -2.0f);
    EXPECT_FLOAT_EQ(fields.m_length, 12.0f) << "the unused fields as they were";
    EXPECT_EQ(fields.m_sideCount, 6);
}

TEST_F(StaticFigureWindow, OkRefusesValuesOutsideTheirRangesUsedOrNot) {
    const struct Row {
        int id;
        const char* text;
        int type; // the type chosen before OK
    } rows[] = {
        {D::kLength, "0", D::kCuboid},
        {D::kWidth, "100.01", D::kCuboid},
        {D::kHeight, "-1", D::kPrism},
        {D::kSideCount, "2", D::kPrism},
        {D::kSideCount, "101", D::kPolygon},
        {D::kSideCount, "4.5", D::kPolygon},
        {D::kRadius, "0.00001", D::kSphere},
        {D::kRatio, "200", D::kFrustum},
        {D::kCentreY, "abc", D::kCuboid},
        {D::kAxisZ, "", D::kCircle},
        // Fields the chosen type does not use are checked all the same.
        {D::kLength, "0", D::kSphere},
        {D::kRatio, "0", D::kCuboid},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        D fields;
        CStaticHalvixWindow window(fields);
        window.Edit(row.id)->setText(QString::fromLatin1(row.text));
        window.TypeBox()->setCurrentIndex(row.type);
        m_messages.clear();
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << row.id;
        EXPECT_EQ(m_messages.size(), 1u) << row.id;
        EXPECT_EQ(fields.m_type, 0) << "nothing written back";
        EXPECT_FLOAT_EQ(fields.m_length, 12.0f);
    }
    // The ends of the ranges are accepted.
    D fields;
    CStaticHalvixWindow window(fields);
    window.Edit(D::kLength)->setText(QStringLiteral("0.0001"));
    window.Edit(D::kWidth)->setText(QStringLiteral("100"));
    window.Edit(D::kSideCount)->setText(QStringLiteral("3"));
    m_messages.clear();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(fields.m_sideCount, 3);
}

TEST_F(StaticFigureWindow, ThePresenterRunsTheWindowBehindDoModal) {
    D fields;
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<CStaticHalvixWindow*>(w)) {
                window->TypeBox()->setCurrentIndex(D::kDodecahedron);
                window->Edit(D::kRadius)->setText(QStringLiteral("6"));
                window->accept();
            }
        }
    });
    EXPECT_EQ(fields.DoModal(), IDOK);
    EXPECT_EQ(fields.m_type, D::kDodecahedron);
    EXPECT_FLOAT_EQ(fields.m_radius, 6.0f);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<CStaticHalvixWindow*>(w))
                window->reject();
        }
    });
    EXPECT_EQ(fields.DoModal(), IDCANCEL);
}

TEST(StaticFigureRibbon, TheButtonsHaveTheCommandsPromptAndHandler) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();
    const HxRibbonBaseElement* found = nullptr;
    for (const auto& c : def.categories)
        for (const auto& panel : c.panels)
            for (const auto& e : panel.elements)
                if (!found)
                    found = e->FindByID(ID_CREATE_STATICFIGURE);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetText(), CString(u"定位图"));
    EXPECT_EQ(
        found->GetDescription(),
        CString(u"添加定位图（点不可拖动，但可在属性中修改，图元各自独立，不组合），选择一个凸包（或截面图）"
                u"时，转增为一个多面体（或多边形）"));
    CHalvixDoc doc;
    EXPECT_TRUE(doc.HasCommandHandler(ID_CREATE_STATICFIGURE));
    EXPECT_FALSE(doc.HasUpdateHandler(ID_CREATE_STATICFIGURE)) << "always enabled";
}

// ---------------------------------------------------------------------------------------------
// "点的标签"

TEST_F(StaticFigureWindow, ThePointLabelDialogOffersTwoDropDownLists) {
    CDlgLabel fields;
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = dynamic_cast<CHxExchangeDialog*>(w);
            if (!window || window->windowTitle() != QStringLiteral("点的标签"))
                continue;
            seen = true;
            auto* letter = qobject_cast<QComboBox*>(window->Control(CDlgLabel::kLetterList));
            auto* suffix = qobject_cast<QComboBox*>(window->Control(CDlgLabel::kSuffixList));
            auto* show = qobject_cast<QCheckBox*>(window->Control(CDlgLabel::kShowLabels));
            ASSERT_TRUE(letter && suffix && show);
            EXPECT_FALSE(letter->isEditable()) << "a drop-down list";
            EXPECT_FALSE(suffix->isEditable()) << "a drop-down list";
            EXPECT_EQ(letter->count(), 26);
            EXPECT_EQ(letter->currentText(), QStringLiteral("A"));
            EXPECT_EQ(letter->itemText(25), QStringLiteral("Z"));
            EXPECT_EQ(suffix->count(), 12);
            EXPECT_EQ(suffix->currentText(), QStringLiteral(" "));
            EXPECT_EQ(suffix->itemText(1), QStringLiteral("0"));
            EXPECT_EQ(suffix->itemText(11), QStringLiteral("'"));
            EXPECT_TRUE(show->isChecked());
            EXPECT_EQ(show->text(), QStringLiteral("显示所有被选中点的标签"));
            letter->setCurrentIndex(15);
            suffix->setCurrentIndex(11);
            show->setChecked(false);
            window->accept();
        }
    });
    ASSERT_EQ(fields.DoModal(), IDOK);
    EXPECT_TRUE(seen);
    EXPECT_EQ(fields.m_letter, CString(u"P"));
    EXPECT_EQ(fields.m_suffix, CString(u"'"));
    EXPECT_EQ(fields.m_showLabels, FALSE);
}

} // namespace
