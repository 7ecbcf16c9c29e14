// The curve and locus dialog windows offscreen: the examples and the equation labels of each
// coordinate system, the calculation dialog behind the equation and range buttons, the step ranges
// that keep the dialog open, and the fields written back on OK.
#include "app/curve_dialogs_ui.h"

#include "dynamics/curve_dialogs.h"
#include "dynamics/curves.h"
#include "measure/calc_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <vector>

namespace {

using D = CDlgCurve;

class CurveDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
    }
    static QString Label(CHxExchangeDialog& window, int id) { return window.Button(id)->text(); }
    static void ExpectLabels(CHxExchangeDialog& window, const char* x, const char* y, const char* z) {
        EXPECT_EQ(Label(window, D::kButtonX), QString::fromUtf8(x));
        EXPECT_EQ(Label(window, D::kButtonY), QString::fromUtf8(y));
        EXPECT_EQ(Label(window, D::kButtonZ), QString::fromUtf8(z));
    }
    static void Choose(CHxExchangeDialog& window, int row) {
        auto* list = static_cast<QComboBox*>(window.Control(D::kExampleList));
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
    std::vector<CString> m_messages;
};

TEST_F(CurveDialogWindows, ExamplesFillTheFieldsAndRelabelTheEquations) {
    D fields;
    fields.m_texts[0] = u"t";
    fields.m_texts[1] = u"6*sin(t)";
    CCurveWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("曲线属性"));
    auto* list = static_cast<QComboBox*>(window.Control(D::kExampleList));
    ASSERT_EQ(list->count(), 20);
    EXPECT_EQ(list->itemText(0), QStringLiteral("蝶形曲线"));
    EXPECT_EQ(list->itemText(19), QStringLiteral("对数函数"));
    ExpectLabels(window, "x(t)=", "y(t)=", "z(t)=");
    EXPECT_EQ(window.Edit(D::kEditY)->text(), QStringLiteral("6*sin(t)"));
    EXPECT_TRUE(window.Edit(D::kEditY)->isReadOnly());
    EXPECT_EQ(window.Edit(D::kEditStep)->text(), QStringLiteral("0.05"));
    EXPECT_EQ(window.Edit(D::kEditBreak)->text(), QStringLiteral("4"));

    Choose(window, 8); // "圆"
    ExpectLabels(window, "ρ(t)=", "θ(t)=", " z(t)=");
    EXPECT_EQ(window.Edit(D::kEditStep)->text(), QStringLiteral("0.1"));
    EXPECT_EQ(window.Edit(D::kEditTo)->text(), QStringLiteral("2*pi"));
    EXPECT_TRUE(window.Button(D::kCylindricalButton)->isChecked());
    Choose(window, 0); // "蝶形曲线", spherical
    ExpectLabels(window, " r(t)=", "θ(t)=", "φ(t)=");
    EXPECT_EQ(window.Edit(D::kEditX)->text(), QStringLiteral("(6*sin(t)+8*cos(360*t))"));
    EXPECT_EQ(window.Edit(D::kEditStep)->text(), QStringLiteral("0.001"));
    Choose(window, 12); // "正弦曲线", Cartesian
    ExpectLabels(window, "x(t)=", "y(t)=", "z(t)=");
    // A coordinate-system button relabels at once.
    window.Button(D::kSphericalButton)->click();
    ExpectLabels(window, " r(t)=", "θ(t)=", "φ(t)=");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_system, CGCurve::kSpherical);
    EXPECT_EQ(fields.m_texts[1], CString(u"sin(t)"));
    EXPECT_EQ(fields.m_texts[3], CString(u"-3*pi"));
    EXPECT_EQ(fields.m_step, 0.2f);
}

TEST_F(CurveDialogWindows, EveryExampleSwitchesTheSystemOfItsRow) {
    const int systems[20] = {1, 1, 0, 2, 1, 1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int row = 0; row < 20; ++row) {
        D fields;
        fields.m_system = 2;
        fields.ChooseExample(row);
        EXPECT_EQ(fields.m_system, systems[row]) << row;
    }
}

TEST_F(CurveDialogWindows, TheStepAndBreakAreCheckedOnOk) {
    D fields;
    CCurveWindow window(fields);
    for (const char* bad : {"0", "1.5", "x"}) {
        window.Edit(D::kEditStep)->setText(QString::fromUtf8(bad));
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << bad;
    }
    EXPECT_EQ(m_messages.size(), 3u);
    window.Edit(D::kEditStep)->setText(QStringLiteral("0.0001"));
    window.Edit(D::kEditBreak)->setText(QStringLiteral("0"));
    window.Button(D::kAutoButton)->click();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_step, 0.0001f);
    EXPECT_EQ(fields.m_breakDistance, 0.0f);
    EXPECT_EQ(fields.m_display, 3);
}

TEST_F(CurveDialogWindows, EquationAndRangeButtonsEditInTheCalculationDialog) {
    D fields;
    fields.m_texts[0] = u"t";
    fields.m_texts[3] = u"-8";
    fields.AddParameterEntry();
    fields.m_names = {CString(u"a")};
    fields.m_nameMarkups = {CString(u"<e>a</e>")};
    fields.m_values.push_back(2.5);
    fields.m_precedences.push_back(17);
    struct CSeen {
        CString title, expression;
        int mode;
        std::vector<CString> names;
        std::vector<double> values;
        std::vector<int> precedences;
    };
    std::vector<CSeen> seen;
    HxSetDialogRunner([&](CDialog& dialog) {
        auto* calc = DYNAMIC_DOWNCAST(CDlgCalculator, &dialog);
        EXPECT_NE(calc, nullptr);
        if (!calc)
            return INT_PTR(IDCANCEL);
        seen.push_back({calc->m_title, calc->m_expression, calc->m_mode, calc->m_names, calc->m_values,
                        calc->m_precedences});
        calc->m_expression = seen.size() == 1 ? CString(u"a*t") : CString(u"-a");
        return INT_PTR(IDOK);
    });
    CCurveWindow window(fields);
    window.Button(D::kButtonX)->click();
    window.Button(D::kButtonFrom)->click();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, CString(u"编辑参数方程"));
    EXPECT_EQ(seen[0].mode, CDlgCalculator::kModeCurve);
    EXPECT_EQ(seen[0].expression, CString(u"t"));
    EXPECT_EQ(seen[0].values, (std::vector<double>{0.0, 2.5}));
    EXPECT_EQ(seen[1].title, CString(u"编辑参数范围"));
    EXPECT_EQ(seen[1].mode, CDlgCalculator::kModeCalculation);
    EXPECT_EQ(seen[1].values, (std::vector<double>{2.5}));
    EXPECT_EQ(seen[1].precedences, (std::vector<int>{17}));
    EXPECT_EQ(seen[1].names, (std::vector<CString>{u"a"}));
    EXPECT_EQ(window.Edit(D::kEditX)->text(), QStringLiteral("a*t"));
    EXPECT_EQ(window.Edit(D::kEditFrom)->text(), QStringLiteral("-a"));
    // Cancelled, the text stays.
    HxSetDialogRunner([](CDialog&) { return INT_PTR(IDCANCEL); });
    window.Button(D::kButtonY)->click();
    window.accept();
    EXPECT_EQ(fields.m_texts[0], CString(u"a*t"));
    EXPECT_EQ(fields.m_texts[3], CString(u"-a"));
}

TEST_F(CurveDialogWindows, LocusDialogRefusesAStepAboveHalf) {
    CDlgLocus fields;
    fields.m_description = u"点T以点D移动的轨迹";
    fields.m_label = u"轨迹";
    fields.m_display = 2;
    CLocusWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("轨迹属性"));
    EXPECT_EQ(window.Edit(CDlgLocus::kEditTo)->text(), QStringLiteral("6.3"));
    EXPECT_EQ(window.Edit(CDlgLocus::kEditStep)->text(), QStringLiteral("0.1"));
    window.Edit(CDlgLocus::kEditStep)->setText(QStringLiteral("0.6"));
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages.size(), 1u);
    window.Edit(CDlgLocus::kEditStep)->setText(QStringLiteral("0.5"));
    window.Edit(CDlgLocus::kEditLabel)->setText(QStringLiteral("L"));
    window.Edit(CDlgLocus::kEditFrom)->setText(QStringLiteral("-1"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_step, 0.5f);
    EXPECT_EQ(fields.m_from, -1.0f);
    EXPECT_EQ(fields.m_label, CString(u"L"));
    EXPECT_EQ(fields.m_display, 2);
}

} // namespace
