// The transform dialog windows: enabling rules, numbers refused with the dialog kept open, fields
// written back on OK, the element codes, the presenters behind DoModal and the ribbon's commands.
#include "app/ribbon_definition.h"
#include "app/ribbon_icons.h"
#include "app/transform_dialogs_ui.h"
#include "document/halvix_doc.h"
#include "points/transform_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <vector>

namespace {

class TransformDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }

    static bool On(CHxExchangeDialog& window, int id) {
        QWidget* w = window.Control(id);
        EXPECT_NE(w, nullptr) << id;
        return w && w->isEnabled();
    }
    static void Click(CHxExchangeDialog& window, int id) {
        QAbstractButton* b = window.Button(id);
        ASSERT_NE(b, nullptr) << id;
        b->click();
    }
    static void Type(CHxExchangeDialog& window, int id, const char16_t* text) {
        QLineEdit* e = window.Edit(id);
        ASSERT_NE(e, nullptr) << id;
        e->setText(QString::fromUtf16(text));
    }

    std::vector<CString> m_messages;
};

using T = CDlgTransTranslate;
using R = CDlgTransRotate;
using S = CDlgTransScale;
using D = CDlgTransDeflect;

TEST_F(TransformDialogWindows, TranslateSwitchesTheEditsWithTheChoiceAndRefusesWhatIsNoNumber) {
    // Nothing marked: only the typed vector.
    T typed;
    typed.m_choice = 1;
    typed.m_x = 0.25f;
    CTransTranslateWindow first(typed);
    EXPECT_EQ(first.windowTitle(), QStringLiteral("平移"));
    EXPECT_FALSE(On(first, T::kMarkedButton));
    EXPECT_TRUE(first.Button(T::kFixedButton)->isChecked());
    EXPECT_TRUE(On(first, T::kEditX) && On(first, T::kEditY) && On(first, T::kEditZ));
    EXPECT_EQ(first.Edit(T::kEditX)->text(), QStringLiteral("0.25"));
    EXPECT_EQ(first.Edit(T::kEditZ)->text(), QStringLiteral("1"));

    T fields;
    fields.m_choice = 0;
    fields.m_vectorText = u"AB=(1.0000, 0.0000, 0.0000)";
    CTransTranslateWindow window(fields);
    EXPECT_TRUE(On(window, T::kMarkedButton));
    EXPECT_FALSE(On(window, T::kEditX) || On(window, T::kEditY) || On(window, T::kEditZ));
    EXPECT_EQ(window.Edit(T::kMarkedText)->text(), QStringLiteral("AB=(1.0000, 0.0000, 0.0000)"));
    EXPECT_TRUE(window.Edit(T::kMarkedText)->isReadOnly());
    Click(window, T::kFixedButton);
    EXPECT_TRUE(On(window, T::kEditY));
    Click(window, T::kMarkedButton);
    EXPECT_FALSE(On(window, T::kEditY));
    Click(window, T::kFixedButton);

    Type(window, T::kEditX, u" 2.5 ");
    Type(window, T::kEditY, u"1,5");
    window.accept();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"请输入一个数字。");
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(window.Edit(T::kEditY)->selectedText(), QStringLiteral("1,5"));
    EXPECT_EQ(fields.m_x, 0.0f); // nothing written back yet
    for (const char16_t* bad : {u"", u"abc", u"1e40", u"nan", u"2x"}) {
        Type(window, T::kEditY, bad);
        window.accept();
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    EXPECT_EQ(m_messages.size(), 6u);
    Type(window, T::kEditY, u"-1e2");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_x, 2.5f);
    EXPECT_EQ(fields.m_y, -100.0f);
    EXPECT_EQ(fields.m_z, 1.0f);
    EXPECT_EQ(fields.m_choice, 1);
}

TEST_F(TransformDialogWindows, RotateOffersWhatIsMarked) {
    struct Case {
        int available, axisChoice;
        bool axisButton, centreButton, edits;
    };
    const Case cases[] = {{R::kNoMarks, R::kAxisFixed, false, false, true},
                          {R::kAxisOnly, R::kAxisMarked, true, false, false},
                          {R::kCenterOnly, R::kAxisCenter, false, true, false},
                          {R::kAxisAndCenter, R::kAxisMarked, true, false, false}};
    for (const Case& c : cases) {
        R fields;
        fields.m_available = c.available;
        fields.m_axisChoice = c.axisChoice;
        fields.m_angleChoice = 1;
        CTransRotateWindow window(fields);
        EXPECT_EQ(On(window, R::kAxisMarkedButton), c.axisButton) << c.available;
        EXPECT_EQ(On(window, R::kAxisCenterButton), c.centreButton) << c.available;
        EXPECT_TRUE(On(window, R::kAxisFixedButton));
        for (int id : {R::kEditDirX, R::kEditDirZ, R::kEditPointX, R::kEditPointZ})
            EXPECT_EQ(On(window, id), c.edits) << c.available << " " << id;
        EXPECT_TRUE(window
                        .Button(c.axisChoice == R::kAxisMarked   ? R::kAxisMarkedButton
                                : c.axisChoice == R::kAxisCenter ? R::kAxisCenterButton
                                                                 : R::kAxisFixedButton)
                        ->isChecked());
        // A typed angle: the marked angle is not offered.
        EXPECT_FALSE(On(window, R::kAngleMarkedButton));
        EXPECT_TRUE(On(window, R::kEditAngle));
    }
}

TEST_F(TransformDialogWindows, RotateClicksSwitchTheEditsAndOkReadsEverything) {
    R fields;
    fields.m_available = R::kCenterOnly;
    fields.m_axisChoice = R::kAxisCenter;
    fields.m_angleChoice = 0;
    fields.m_angle = 90.0f;
    fields.m_angleText = u" ∠ABC=90.0000°";
    CTransRotateWindow window(fields);
    EXPECT_FALSE(On(window, R::kEditAngle));
    EXPECT_EQ(window.Edit(R::kEditAngle)->text(), QStringLiteral("90"));
    EXPECT_EQ(window.Edit(R::kAngleText)->text(), QStringLiteral(" ∠ABC=90.0000°"));

    Click(window, R::kAxisFixedButton);
    EXPECT_TRUE(On(window, R::kEditPointY));
    Click(window, R::kAxisCenterButton);
    EXPECT_FALSE(On(window, R::kEditPointY));
    Click(window, R::kAxisFixedButton);
    Click(window, R::kAngleFixedButton);
    EXPECT_TRUE(On(window, R::kEditAngle));
    Click(window, R::kAngleMarkedButton);
    EXPECT_FALSE(On(window, R::kEditAngle));
    Click(window, R::kAngleFixedButton);

    Type(window, R::kEditDirX, u"1");
    Type(window, R::kEditPointZ, u"-3.5");
    Type(window, R::kEditAngle, u"45度");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Rejected);
    ASSERT_EQ(m_messages.size(), 1u);
    Type(window, R::kEditAngle, u"45");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_axisChoice, R::kAxisFixed);
    EXPECT_EQ(fields.m_angleChoice, 1);
    EXPECT_EQ(fields.m_dirX, 1.0f);
    EXPECT_EQ(fields.m_pointZ, -3.5f);
    EXPECT_EQ(fields.m_angle, 45.0f);
}

TEST_F(TransformDialogWindows, ScaleSwitchesTheRatioEdit) {
    S typed;
    typed.m_choice = 1;
    typed.m_centerText = u"缩放中心：原点 O（0,0,0）";
    CTransScaleWindow window(typed);
    EXPECT_FALSE(On(window, S::kMarkedButton));
    EXPECT_TRUE(On(window, S::kEditRatio));
    EXPECT_EQ(window.Edit(S::kEditRatio)->text(), QStringLiteral("0.5"));
    EXPECT_EQ(window.Edit(S::kCenterText)->text(), QStringLiteral("缩放中心：原点 O（0,0,0）"));
    Type(window, S::kEditRatio, u"0.125");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(typed.m_ratio, 0.125f);
    EXPECT_EQ(typed.m_choice, 1);

    S marked;
    marked.m_choice = 0;
    marked.m_ratioText = u"k";
    CTransScaleWindow second(marked);
    EXPECT_TRUE(On(second, S::kMarkedButton));
    EXPECT_FALSE(On(second, S::kEditRatio));
    EXPECT_EQ(second.Edit(S::kRatioText)->text(), QStringLiteral("k"));
    Click(second, S::kFixedButton);
    EXPECT_TRUE(On(second, S::kEditRatio));
    Click(second, S::kMarkedButton);
    EXPECT_FALSE(On(second, S::kEditRatio));
    second.accept();
    EXPECT_EQ(marked.m_choice, 0);
}

TEST_F(TransformDialogWindows, ReflectElementsGiveTheirCodes) {
    EXPECT_EQ(D::kElementMasks[D::ElementIndexOf(4)], 4);
    EXPECT_EQ(D::ElementIndexOf(0), -1);

    D fields;
    CTransDeflectWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("对称"));
    // Nothing marked: only the coordinate elements, the origin shown.
    EXPECT_FALSE(On(window, D::kPointButton) || On(window, D::kAxisButton) || On(window, D::kFaceButton));
    EXPECT_TRUE(window.Button(D::kElementButton)->isChecked());
    auto* list = qobject_cast<QComboBox*>(window.Control(D::kElementList));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isEnabled());
    ASSERT_EQ(list->count(), 7);
    EXPECT_EQ(list->currentText(), QStringLiteral("原点"));
    const std::pair<QString, BYTE> elements[] = {{QStringLiteral("原点"), 7},  {QStringLiteral("X轴"), 6},
                                                 {QStringLiteral("Y轴"), 5},   {QStringLiteral("Z轴"), 3},
                                                 {QStringLiteral("YOZ面"), 1}, {QStringLiteral("XOZ面"), 2},
                                                 {QStringLiteral("XOY面"), 4}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(list->itemText(i), elements[i].first);
        list->setCurrentIndex(i);
        emit list->activated(i);
        EXPECT_EQ(window.Mask(), elements[i].second) << i;
    }
    list->setCurrentIndex(6);
    emit list->activated(6);
    window.accept();
    EXPECT_EQ(fields.m_mask, 4);
    EXPECT_EQ(fields.m_choice, D::kAboutElement);
}

TEST_F(TransformDialogWindows, ReflectMarkedChoicesTurnTheListOff) {
    D fields;
    fields.m_choice = D::kAboutAxis;
    fields.m_mask = 2;
    fields.m_hasAxis = 1;
    fields.m_hasFace = 1;
    fields.m_axisText = u"AB";
    CTransDeflectWindow window(fields);
    auto* list = qobject_cast<QComboBox*>(window.Control(D::kElementList));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->currentText(), QStringLiteral("XOZ面"));
    EXPECT_FALSE(On(window, D::kPointButton));
    EXPECT_TRUE(On(window, D::kAxisButton) && On(window, D::kFaceButton));
    EXPECT_EQ(window.Edit(D::kAxisText)->text(), QStringLiteral("AB"));
    Click(window, D::kElementButton);
    EXPECT_TRUE(list->isEnabled());
    Click(window, D::kFaceButton);
    EXPECT_FALSE(list->isEnabled());
    window.accept();
    EXPECT_EQ(fields.m_choice, D::kAboutFace);
    EXPECT_EQ(fields.m_mask, 2);
}

// The window DoModal shows, found once it is up, then confirmed or cancelled.
template <class Window> void AnswerNextWindow(std::function<void(Window&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        answer(*window);
    });
}

TEST_F(TransformDialogWindows, DoModalShowsTheRegisteredWindow) {
    S fields;
    fields.m_choice = 1;
    AnswerNextWindow<CTransScaleWindow>([](CTransScaleWindow& window) {
        window.Edit(S::kEditRatio)->setText(QStringLiteral("3"));
        window.accept();
    });
    EXPECT_EQ(fields.DoModal(), IDOK);
    EXPECT_EQ(fields.m_ratio, 3.0f);

    T translate;
    AnswerNextWindow<CTransTranslateWindow>([](CTransTranslateWindow& window) { window.reject(); });
    EXPECT_EQ(translate.DoModal(), IDCANCEL);

    R rotate;
    AnswerNextWindow<CTransRotateWindow>([](CTransRotateWindow& window) { window.accept(); });
    EXPECT_EQ(rotate.DoModal(), IDOK);
    D deflect;
    AnswerNextWindow<CTransDeflectWindow>([](CTransDeflectWindow& window) { window.accept(); });
    EXPECT_EQ(deflect.DoModal(), IDOK);
}

TEST(TransformRibbon, TheTransformCategoryHoldsTheTenCommandsWithTheirHandlers) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();
    const HxRibbonDefinition::Category* category = nullptr;
    for (const auto& c : def.categories) {
        if (c.name == u"变换")
            category = &c;
    }
    ASSERT_NE(category, nullptr);
    CHalvixDoc doc;
    for (UINT id = ID_TRANS_MARKCENTER; id <= ID_TRANS_DEFLECT; ++id) {
        const HxRibbonBaseElement* found = nullptr;
        for (const auto& panel : category->panels) {
            for (const auto& e : panel.elements) {
                if (!found)
                    found = e->FindByID(id);
            }
        }
        ASSERT_NE(found, nullptr) << id;
        EXPECT_FALSE(found->GetDescription().IsEmpty()) << id;
        EXPECT_TRUE(HxHasRibbonIcon(found->GetIconName())) << id;
        EXPECT_TRUE(doc.HasCommandHandler(id)) << id;
        EXPECT_TRUE(doc.HasUpdateHandler(id)) << id;
    }
}

} // namespace
