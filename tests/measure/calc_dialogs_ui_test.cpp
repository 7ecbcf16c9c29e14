// The calculation and parameter windows: the keypad's state as the caret moves through the
// expression edit, the keys and lists that insert at the caret, the prompt and OK, the preview and
// its scroll bar, the keys of each mode, what OK writes back; the parameter window's checks and
// numbers; the presenters behind DoModal.
#include "app/calc_dialogs_ui.h"
#include "app/formula_ctrl.h"
#include "app/main_frame.h"
#include "measure/calc_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>
#include <QTimer>

namespace {

using D = CDlgCalculator;

class CalculatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        for (const char16_t* name : {u"AB", u"CD"}) {
            m_fields.m_names.push_back(name);
            m_fields.m_nameMarkups.push_back(u"<e>" + CString(name) + u"</e>");
        }
        m_fields.m_values = {3.0, 4.0};
        m_fields.m_precedences = {17, 17};
        m_fields.m_title = u"新建计算";
    }
    void TearDown() override { HxSetMessageBoxHandler(nullptr); }

    static bool On(CHxExchangeDialog& w, int id) {
        QWidget* c = w.Control(id);
        EXPECT_NE(c, nullptr) << id;
        return c && c->isEnabled();
    }
    static QString Prompt(CHxExchangeDialog& w) { return w.Edit(D::kPromptEdit)->text(); }
    // Types text into the edit at its caret, as the keyboard does.
    static void Type(CCalculatorWindow& w, const QString& text) {
        QTest::keyClicks(w.ExpressionEdit(), text);
    }
    static void Click(CHxExchangeDialog& w, int id) {
        QAbstractButton* b = w.Button(id);
        ASSERT_NE(b, nullptr) << id;
        b->click();
    }

    D m_fields;
    std::vector<CString> m_messages;
};

TEST_F(CalculatorWindowTest, OpensWithZeroAndTheKeysOfACalculation) {
    CCalculatorWindow w(m_fields);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("新建计算"));
    EXPECT_EQ(Prompt(w), QStringLiteral("0=0.0000"));
    EXPECT_TRUE(On(w, IDOK));
    EXPECT_EQ(w.ValueList()->count(), 3);
    EXPECT_EQ(w.ValueList()->itemText(2), QStringLiteral("CD"));
    EXPECT_EQ(w.FunctionList()->count(), 30);
    EXPECT_EQ(w.FunctionList()->itemText(29), QStringLiteral("time"));
    EXPECT_FALSE(w.Control(D::kAngleCheck)->isHidden());
    for (int id : {D::kKeyT, D::kKeyU, D::kKeyV})
        EXPECT_TRUE(w.Control(id)->isHidden()) << id;
    EXPECT_EQ(w.Button(D::kKeyPlus)->text(), QString::fromUtf16(u"\u253C"));
    EXPECT_EQ(w.Button(D::kKeyPi)->text(), QString::fromUtf16(u"\u03C0"));
    EXPECT_TRUE(w.Preview()->m_displayOnly);
    EXPECT_NE(w.Preview()->GetDocument()->m_pRoot, nullptr);

    D curve;
    curve.m_mode = D::kModeCurve;
    CCalculatorWindow c(curve);
    EXPECT_FALSE(c.Control(D::kKeyT)->isHidden());
    EXPECT_TRUE(c.Control(D::kKeyU)->isHidden());
    EXPECT_TRUE(c.Control(D::kAngleCheck)->isHidden());
    D surface;
    surface.m_mode = D::kModeSurface;
    CCalculatorWindow s(surface);
    EXPECT_TRUE(s.Control(D::kKeyT)->isHidden());
    EXPECT_FALSE(s.Control(D::kKeyU)->isHidden() || s.Control(D::kKeyV)->isHidden());
}

TEST_F(CalculatorWindowTest, KeypadFollowsTheCaret) {
    CCalculatorWindow w(m_fields);
    QLineEdit* edit = w.ExpressionEdit();
    edit->clear();
    Type(w, QStringLiteral("No1+2*(3"));
    EXPECT_EQ(Prompt(w), QString::fromUtf16(u"请继续输入……"));
    EXPECT_FALSE(On(w, IDOK));
    // After "(3" inside the open bracket: ")" may follow.
    EXPECT_TRUE(On(w, D::kKeyClose));
    EXPECT_TRUE(On(w, 1061));
    // Right after No1: operators, no digits, no "(", no lists.
    edit->setCursorPosition(3);
    EXPECT_TRUE(On(w, D::kKeyPlus) && On(w, D::kKeyTimes));
    EXPECT_FALSE(On(w, 1061) || On(w, D::kKeyPoint) || On(w, D::kKeyOpen) || On(w, D::kValueList) ||
                 On(w, D::kFunctionList) || On(w, D::kKeyClose));
    // At the very start "←" is off.
    edit->setCursorPosition(0);
    EXPECT_FALSE(On(w, D::kKeyBack));
    EXPECT_TRUE(On(w, D::kKeyOpen) && On(w, D::kValueList));
    // A selection counts from its start.
    edit->setSelection(8, -4);
    EXPECT_TRUE(On(w, D::kKeyOpen)); // after "No1+"
    EXPECT_FALSE(On(w, D::kKeyTimes));

    edit->setCursorPosition(edit->text().length());
    Click(w, D::kKeyClose);
    EXPECT_EQ(edit->text(), QStringLiteral("No1+2*(3)"));
    EXPECT_EQ(Prompt(w), QStringLiteral("[AB]+2*(3)=9.0000"));
    EXPECT_TRUE(On(w, IDOK));
    EXPECT_FALSE(On(w, D::kKeyClose));
}

TEST_F(CalculatorWindowTest, KeysAndListsInsertAtTheCaret) {
    CCalculatorWindow w(m_fields);
    QLineEdit* edit = w.ExpressionEdit();
    edit->setText(QStringLiteral("2"));
    edit->setCursorPosition(1);
    Click(w, D::kKeyTimes);
    w.ValueList()->setCurrentIndex(2);
    emit w.ValueList()->activated(2);
    EXPECT_EQ(edit->text(), QStringLiteral("2*No2"));
    EXPECT_EQ(w.ValueList()->currentIndex(), 0);
    EXPECT_EQ(Prompt(w), QStringLiteral("2*[CD]=8.0000"));
    Click(w, D::kKeyPlus);
    emit w.FunctionList()->activated(5); // sqrt
    Click(w, 1034);                      // 3
    Click(w, D::kKeyClose);
    EXPECT_EQ(edit->text(), QStringLiteral("2*No2+sqrt(3)"));
    Click(w, D::kKeyBack);
    Click(w, D::kKeyBack);
    EXPECT_EQ(edit->text(), QStringLiteral("2*No2+sqrt("));
    EXPECT_EQ(edit->cursorPosition(), 11);
    edit->setCursorPosition(0);
    Click(w, D::kKeyPi);
    EXPECT_EQ(edit->text(), QStringLiteral("Pi2*No2+sqrt("));
    EXPECT_EQ(edit->cursorPosition(), 2);
    EXPECT_EQ(Prompt(w), QString::fromUtf16(u"表达式错误，请修改！"));
}

TEST_F(CalculatorWindowTest, WideFormulasScrollToTheirEnd) {
    CCalculatorWindow w(m_fields);
    w.resize(420, 400);
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.ScrollBar()->isHidden());
    EXPECT_EQ(m_fields.m_previewOffset, 0);
    QString text;
    for (int k = 0; k < 30; ++k)
        text += QStringLiteral("No1+");
    text += QStringLiteral("No2");
    w.ExpressionEdit()->setText(text);
    w.Refresh();
    EXPECT_FALSE(w.ScrollBar()->isHidden());
    EXPECT_GT(w.ScrollBar()->maximum(), 0);
    EXPECT_EQ(w.ScrollBar()->value(), w.ScrollBar()->maximum());
    EXPECT_EQ(m_fields.m_previewOffset, w.ScrollBar()->maximum());
    EXPECT_EQ(w.Preview()->m_origin.x, w.ScrollBar()->maximum());
    w.ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m_fields.m_previewOffset, w.ScrollBar()->maximum() - 10);
    w.ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_fields.m_previewOffset, w.ScrollBar()->maximum() - 60);
    // Short again: no scroll bar.
    w.ExpressionEdit()->setText(QStringLiteral("1"));
    w.Refresh();
    EXPECT_TRUE(w.ScrollBar()->isHidden());
    EXPECT_EQ(m_fields.m_previewOffset, 0);
    w.hide();
}

TEST_F(CalculatorWindowTest, OkHandsBackTheExpressionMarkupAndAngle) {
    HxSetDialogRunner(nullptr);
    m_fields.m_expression = u"No1*No2";
    QTimer::singleShot(0, [] {
        auto* w = dynamic_cast<CCalculatorWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        static_cast<QCheckBox*>(w->Control(D::kAngleCheck))->setChecked(true);
        w->Button(IDOK)->click();
    });
    ASSERT_EQ(m_fields.DoModal(), IDOK);
    EXPECT_EQ(m_fields.m_expression, u"No1*No2");
    EXPECT_EQ(m_fields.m_resultMarkup, u"<#><l>No1No2</l></#>");
    EXPECT_TRUE(m_fields.m_showAsAngle);

    D cancelled;
    QTimer::singleShot(0, [] {
        auto* w = dynamic_cast<CCalculatorWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        w->ExpressionEdit()->setText(QStringLiteral("5"));
        w->reject();
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_resultMarkup, u"<#><l></l></#>");
}

TEST_F(CalculatorWindowTest, ParameterWindowChecksAndNumbers) {
    using P = CDlgParameter;
    P fields;
    fields.m_name = u"t1";
    fields.m_integer = TRUE;
    CParameterWindow w(fields);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("参数"));
    EXPECT_EQ(w.Edit(P::kEditName)->text(), QStringLiteral("t1"));
    EXPECT_EQ(w.Edit(P::kEditValue)->text(), QStringLiteral("10"));
    EXPECT_EQ(w.Edit(P::kEditEnd)->text(), QStringLiteral("20"));
    EXPECT_TRUE(w.Button(P::kIntegerCheck)->isChecked());
    Click(w, P::kAngleCheck);
    EXPECT_TRUE(w.Button(P::kAngleCheck)->isChecked());
    EXPECT_FALSE(w.Button(P::kIntegerCheck)->isChecked());
    Click(w, P::kIntegerCheck);
    EXPECT_FALSE(w.Button(P::kAngleCheck)->isChecked());
    Click(w, P::kSliderCheck);
    w.Edit(P::kEditName)->setText(QStringLiteral("k"));
    w.Edit(P::kEditValue)->setText(QStringLiteral("3.6"));
    w.Edit(P::kEditStart)->setText(QStringLiteral("x"));
    w.accept();
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(fields.m_name, u"t1"); // nothing written while a number is refused
    w.Edit(P::kEditStart)->setText(QStringLiteral("-5"));
    w.accept();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_name, u"k");
    EXPECT_FLOAT_EQ(fields.m_value, 3.6f);
    EXPECT_FLOAT_EQ(fields.m_start, -5.0f);
    EXPECT_FLOAT_EQ(fields.m_end, 20.0f);
    EXPECT_TRUE(fields.m_integer);
    EXPECT_FALSE(fields.m_angle);
    EXPECT_TRUE(fields.m_showSlider);
    EXPECT_FALSE(fields.m_hideName);
}

// Alt+= opens the calculation; the plus and minus keys of the keypad and of the main keyboard step,
// each reaching its command alone (a keypad key is not taken for the main keyboard's, nor the other
// way round).
TEST(CalculationKeys, EachKeyReachesItsCommand) {
    QKeyCombination key;
    ASSERT_TRUE(HxCommandKey(ID_MEASURE_FUN, &key));
    EXPECT_EQ(HxKeyText(key), u"Alt+=");
    QWidget window;
    window.resize(100, 100);
    std::map<UINT, int> runs;
    int ambiguous = 0;
    for (const CAccelerator& a : HxFrameAccelerators()) {
        if (a.id != ID_MEASURE_FUN && a.id != ID_PARAMETER_STEP_UP && a.id != ID_PARAMETER_STEP_DOWN)
            continue;
        EXPECT_EQ(a.viewFocusOnly, a.id != ID_MEASURE_FUN) << "typing in an edit box keeps + and -";
        auto* shortcut = new QShortcut(QKeySequence(a.key), &window);
        shortcut->setContext(Qt::WindowShortcut);
        const UINT id = a.id;
        QObject::connect(shortcut, &QShortcut::activated, [&runs, id] { ++runs[id]; });
        QObject::connect(shortcut, &QShortcut::activatedAmbiguously, [&ambiguous] { ++ambiguous; });
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        UINT id;
    } presses[] = {
        {Qt::Key_Plus, Qt::KeypadModifier, ID_PARAMETER_STEP_UP},
        {Qt::Key_Equal, Qt::NoModifier, ID_PARAMETER_STEP_UP},
        {Qt::Key_Plus, Qt::NoModifier, ID_PARAMETER_STEP_UP},
        {Qt::Key_Minus, Qt::KeypadModifier, ID_PARAMETER_STEP_DOWN},
        {Qt::Key_Minus, Qt::NoModifier, ID_PARAMETER_STEP_DOWN},
        {Qt::Key_Equal, Qt::AltModifier, ID_MEASURE_FUN},
    };
    for (const auto& p : presses) {
        runs.clear();
        QTest::keyClick(&window, p.key, p.modifiers);
        EXPECT_EQ(runs, (std::map<UINT, int>{{p.id, 1}})) << p.key << " " << p.modifiers;
    }
    EXPECT_EQ(ambiguous, 0);
}

} // namespace
