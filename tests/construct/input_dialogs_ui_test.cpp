// The input dialog windows: the coordinates window's modes, its check of the point text as it
// changes, its buttons (paste from the clipboard, clear, tab, point sets) and what OK writes back;
// the vector and angle windows' data exchange; the presenters behind DoModal and the ribbon.
#include "app/input_dialogs_ui.h"
#include "app/ribbon_definition.h"
#include "app/ribbon_icons.h"
#include "construct/construct_ids.h"
#include "document/halvix_doc.h"
#include "platform/clipboard.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTimer>

#include <vector>

namespace {

using C = CDlgCoordinates;

class InputDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetDialogRunner(nullptr);
        HxSetClipboardBackend(&m_clipboard);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetClipboardBackend(nullptr);
    }
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
    static QString Status(CHxExchangeDialog& window) {
        return static_cast<QLabel*>(window.Control(C::kStatusText))->text();
    }
    static QPlainTextEdit* TextEdit(CHxExchangeDialog& window) {
        return static_cast<QPlainTextEdit*>(window.Control(C::kPointText));
    }

    CMemoryClipboard m_clipboard;
    std::vector<CString> m_messages;
};

TEST_F(InputDialogWindows, CoordinatesSwitchTheirControlsWithTheMode) {
    C fields;
    fields.m_valueNames = {CString(u"m"), CString(u"n")};
    CCoordinatesWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("绘制坐标点"));
    auto* x = static_cast<QComboBox*>(window.Control(C::kComboX));
    EXPECT_EQ(x->count(), 2);
    EXPECT_EQ(x->currentText(), QStringLiteral("0"));
    // One point: the coordinate lists and OK; the point text and its buttons wait.
    for (int id : {C::kComboX, C::kComboY, C::kComboZ, int(IDOK)})
        EXPECT_TRUE(On(window, id)) << id;
    for (int id : {C::kPointText, C::kPresetList, C::kPasteButton, C::kClearButton, C::kTabButton})
        EXPECT_FALSE(On(window, id)) << id;

    // Several points: paste only with text on the clipboard; an empty text keeps OK off.
    Click(window, C::kSeveralButton);
    EXPECT_FALSE(On(window, C::kPasteButton));
    EXPECT_FALSE(On(window, IDOK));
    EXPECT_TRUE(On(window, C::kPointText) && On(window, C::kClearButton) && On(window, C::kTabButton));
    EXPECT_FALSE(On(window, C::kComboX));
    EXPECT_TRUE(Status(window).isEmpty());
    Click(window, C::kSingleButton);
    EXPECT_TRUE(On(window, IDOK));
    m_clipboard.SetText(u"1");
    Click(window, C::kSeveralButton);
    EXPECT_TRUE(On(window, C::kPasteButton));

    // A chosen row names a value; typing makes the text count again.
    Click(window, C::kSingleButton);
    auto* y = static_cast<QComboBox*>(window.Control(C::kComboY));
    y->setCurrentIndex(1);
    emit y->activated(1);
    auto* z = static_cast<QComboBox*>(window.Control(C::kComboZ));
    emit z->activated(0);
    z->lineEdit()->setText(QStringLiteral("2.5"));
    emit z->lineEdit()->textEdited(QStringLiteral("2.5"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_mode, C::kSingle);
    EXPECT_TRUE(fields.m_chosen[1]);
    EXPECT_EQ(fields.m_chosenRow[1], 1);
    EXPECT_FALSE(fields.m_chosen[0] || fields.m_chosen[2]);
    EXPECT_EQ(fields.m_text[2], CString(u"2.5"));
}

TEST_F(InputDialogWindows, ATypedCoordinateThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
    C fields;
    fields.m_valueNames = {CString(u"m")};
    CCoordinatesWindow window(fields);
    window.show();
    auto* y = static_cast<QComboBox*>(window.Control(C::kComboY));
    for (const char16_t* text : {u"abc", u"1.5x", u"", u"1/2", u"1e999"}) {
        m_messages.clear();
        y->lineEdit()->setText(QString::fromUtf16(text));
        emit y->lineEdit()->textEdited(y->lineEdit()->text());
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << CString(text).ToUtf8();
        EXPECT_EQ(m_messages, std::vector<CString>{CString(CHxExchangeDialog::kNotANumber)})
            << CString(text).ToUtf8();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(y->lineEdit()->selectedText(), y->lineEdit()->text()) << "the refused text chosen";
    }
    EXPECT_EQ(fields.m_text[1], CString(u"0")) << "nothing written back";
    // Numbers with blanks around them pass, and a chosen value is no typed text.
    y->lineEdit()->setText(QStringLiteral(" -2.5e1 "));
    emit y->lineEdit()->textEdited(y->lineEdit()->text());
    auto* z = static_cast<QComboBox*>(window.Control(C::kComboZ));
    z->setCurrentIndex(0);
    emit z->activated(0);
    m_messages.clear();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(C::ToNumber(fields.m_text[1]), -25.0f);
    EXPECT_TRUE(fields.m_chosen[2]);
}

TEST_F(InputDialogWindows, ThePointTextIsCheckedAsItChangesAndOkWritesItWithCrLf) {
    C fields;
    fields.m_mode = C::kSeveral;
    // The clipboard's lines (LF, as Linux programs put them) come in as points.
    m_clipboard.SetText(u"1,2,3\n4,5,6");
    CCoordinatesWindow window(fields);
    Click(window, C::kPasteButton);
    EXPECT_EQ(window.PointText(), CString(u"1,2,3\r\n4,5,6"));
    EXPECT_TRUE(On(window, IDOK));
    EXPECT_EQ(Status(window), QString::fromUtf16(u"数据输入正确！可继续输入或按\"确定\"按钮。"));
    Click(window, C::kTabButton);
    EXPECT_FALSE(On(window, IDOK));
    EXPECT_EQ(Status(window), QString::fromUtf16(u"数据不全或格式有误，请继续输入或修改！"));

    Click(window, C::kClearButton);
    EXPECT_TRUE(window.PointText().IsEmpty());
    EXPECT_FALSE(On(window, IDOK));
    EXPECT_EQ(Status(window), QString::fromUtf16(u"请输入点的坐标！"));
    auto* presets = static_cast<QComboBox*>(window.Control(C::kPresetList));
    EXPECT_EQ(presets->count(), C::kPresetCount);
    emit presets->activated(3);
    EXPECT_EQ(window.PointText(), C::PresetText(3));
    EXPECT_TRUE(On(window, IDOK));

    // Nothing on the clipboard: a message, and the button goes off.
    m_clipboard.Empty();
    Click(window, C::kPasteButton);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"剪贴板上没有符合要求的数据！")});
    EXPECT_FALSE(On(window, C::kPasteButton));

    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_mode, C::kSeveral);
    EXPECT_EQ(fields.m_pointText, C::PresetText(3));
}

TEST_F(InputDialogWindows, VectorAndAngleExchangeTheirFields) {
    CDlgVector vector;
    vector.m_x = vector.m_y = vector.m_z = 1.0f;
    CVectorWindow vectorWindow(vector);
    EXPECT_EQ(vectorWindow.windowTitle(), QStringLiteral("向量"));
    EXPECT_EQ(vectorWindow.Edit(CDlgVector::kEditY)->text(), QStringLiteral("1"));
    vectorWindow.Edit(CDlgVector::kEditZ)->setText(QStringLiteral("x"));
    vectorWindow.accept();
    EXPECT_EQ(vectorWindow.result(), QDialog::Rejected);
    EXPECT_EQ(m_messages.size(), 1u);
    vectorWindow.Edit(CDlgVector::kEditZ)->setText(QStringLiteral("-2"));
    vectorWindow.accept();
    EXPECT_EQ(vector.m_z, -2.0f);

    CDlgAngle angle;
    angle.m_angle = 90.0f;
    CAngleWindow angleWindow(angle);
    EXPECT_EQ(angleWindow.windowTitle(), QStringLiteral("输入角度"));
    EXPECT_TRUE(angleWindow.Button(CDlgAngle::kDegreesButton)->isChecked());
    Click(angleWindow, CDlgAngle::kRadiansButton);
    angleWindow.Edit(CDlgAngle::kEditAngle)->setText(QStringLiteral("0.5"));
    angleWindow.accept();
    EXPECT_EQ(angle.m_angle, 0.5f);
    EXPECT_EQ(angle.m_unit, CDlgAngle::kRadians);
}

TEST_F(InputDialogWindows, OpacityFollowsTheTrackbar) {
    CDlgAlpha alpha;
    CAlphaWindow window(alpha);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("alpha-透明度设置"));
    auto* text = static_cast<QLabel*>(window.Control(CDlgAlpha::kText));
    EXPECT_EQ(text->text(), QStringLiteral("不透明度：100%"));
    EXPECT_EQ(window.Trackbar()->maximum(), 100);
    EXPECT_EQ(window.Trackbar()->minimum(), 0);
    window.Trackbar()->setValue(35);
    EXPECT_EQ(text->text(), QStringLiteral("不透明度：35%"));
    window.accept();
    EXPECT_EQ(alpha.m_opacity, 35);
    EXPECT_EQ(alpha.m_text, CString(u"不透明度：35%"));
}

TEST_F(InputDialogWindows, NumberOfSidesFromThreeToAHundred) {
    CDlgNumber number;
    CNumberWindow window(number);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("输入边数"));
    for (const char* bad : {"2", "101", "x"}) {
        window.Edit(CDlgNumber::kEditNumber)->setText(QString::fromUtf8(bad));
        window.accept();
        EXPECT_NE(window.result(), QDialog::Accepted) << bad;
    }
    EXPECT_EQ(m_messages.size(), 3u);
    window.Edit(CDlgNumber::kEditNumber)->setText(QStringLiteral("100"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(number.m_number, 100);
}

TEST_F(InputDialogWindows, DoModalShowsTheWindowsAndTheRibbonOffersTheCommands) {
    CDlgAngle angle;
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<CAngleWindow*>(w))
                window->reject();
        }
    });
    EXPECT_EQ(angle.DoModal(), IDCANCEL);
}

TEST(ConstructRibbon, TheConstructCategoryHoldsEveryCommandWithItsPromptIconAndHandlers) {
    HxRibbonDefinition def;
    QString error;
    ASSERT_TRUE(HxLoadRibbonDefinition(QString::fromLatin1(HX_RIBBON_RESOURCE), def, &error))
        << error.toStdString();
    const HxRibbonDefinition::Category* category = nullptr;
    for (const auto& c : def.categories) {
        if (c.name == u"构造")
            category = &c;
    }
    ASSERT_NE(category, nullptr);
    CHalvixDoc doc;
    const UINT ids[] = {ID_CREATE_LINE_SEGMENT,
                        ID_CREATE_LINE_HALF,
                        ID_CREATE_LINE_STRAIGHT,
                        ID_CREATE_LINE_VECTOR,
                        ID_CREATE_LINE_PERPENDICULAR,
                        ID_CREATE_POINT_PER_SC,
                        ID_CREATE_POINT_PER_EQ,
                        ID_CREATE_POINT_PAR_X,
                        ID_CREATE_POINT_PAR_Y,
                        ID_CREATE_POINT_PAR_Z,
                        ID_CREATE_POINT_VECTOR,
                        ID_CREATE_POINT_2DZ,
                        ID_CREATE_POINT_PAR_L,
                        ID_CREATE_POINT_PAR_V,
                        ID_CREATE_LINE_PARALLEL,
                        ID_CREATE_LINE_COMMON,
                        ID_CREATE_FACE_PARFACE,
                        ID_CREATE_FACE_PERLINE,
                        ID_CREATE_POINT_TRIANGLE_G,
                        ID_CREATE_POINT_TRIANGLE_O,
                        ID_CREATE_POINT_TRIANGLE_I,
                        ID_CREATE_POINT_TRIANGLE_H,
                        ID_CREATE_POINT_TRIANGLE_E,
                        ID_CREATE_POINT_COORDINATES,
                        ID_CREATE_POINT_ROT_INCIRCLE,
                        ID_CREATE_POINT_ONOBJECT,
                        ID_CREATE_LOCUS,
                        ID_CREATE_CURVE};
    for (UINT id : ids) {
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
        // The curve command is always enabled: it has no update rule.
        EXPECT_EQ(doc.HasUpdateHandler(id), id != ID_CREATE_CURVE) << id;
    }
}

} // namespace
