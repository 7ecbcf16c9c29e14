// The property dialog windows: which controls are writable or enabled and how they follow the
// choices, numbers refused with the window kept open, the fields written back on OK, the presenters
// behind DoModal, and the properties command answered in them; the picture and label dialogs.
#include "app/property_dialogs_ui.h"

#include "app/color_picker.h"
#include "app/label_dialog_ui.h"
#include "construct/construct_fixture.h"
#include "document/halvix_doc.h"
#include "solids/revolution.h"
#include "view/view_colors.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include <functional>

#include <vector>

namespace {

class PropertyDialogWindows : public ::testing::Test {
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
    static bool Writable(CHxExchangeDialog& window, int id) {
        QLineEdit* e = window.Edit(id);
        EXPECT_NE(e, nullptr) << id;
        return e && !e->isReadOnly();
    }
    // Clicks button `index` of the radio group of `id`.
    static void Choose(CHxExchangeDialog& window, int id, int index) {
        QButtonGroup* group = window.Group(id);
        ASSERT_NE(group, nullptr) << id;
        group->buttons().at(index)->click();
    }
    static void Type(CHxExchangeDialog& window, int id, const char16_t* text) {
        QLineEdit* e = window.Edit(id);
        ASSERT_NE(e, nullptr) << id;
        e->setText(QString::fromUtf16(text));
    }
    // OK pressed: true when the window closed accepted.
    static bool Ok(CHxExchangeDialog& window) {
        window.setResult(QDialog::Rejected);
        window.accept();
        return window.result() == QDialog::Accepted;
    }

    std::vector<CString> m_messages;
};

TEST_F(PropertyDialogWindows, APointOffersTheCoordinatesItsModeAllows) {
    using D = CDlgPropertyPoint;
    D fields;
    fields.m_coordinateMode = D::kCoordinatesXy;
    fields.m_x = 1.2345678f;
    fields.m_y = 2.0f;
    fields.m_z = 3.0f;
    fields.m_description = u"随点A移动的自由点";
    CPropertyPointWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("点的属性"));
    EXPECT_TRUE(Writable(window, D::kEditX) && Writable(window, D::kEditY));
    EXPECT_FALSE(Writable(window, D::kEditZ));
    EXPECT_FALSE(Writable(window, D::kEditT));
    EXPECT_FALSE(Writable(window, D::kDescription));
    EXPECT_EQ(window.Edit(D::kEditX)->text(), QStringLiteral("1.23457"));
    EXPECT_TRUE(window.Button(D::kLabelHiddenCheck)->isChecked());

    // A size outside 0.5 .. 20 is refused; an x shown and left alone keeps all its digits.
    Type(window, D::kSizeEdit, u"25");
    Type(window, D::kEditY, u" -4.5 ");
    EXPECT_FALSE(Ok(window));
    ASSERT_EQ(m_messages.size(), 1u);
    Type(window, D::kSizeEdit, u"8");
    Choose(window, D::kShapeRadio, 2);
    EXPECT_TRUE(Ok(window));
    EXPECT_EQ(fields.m_x, 1.2345678f);
    EXPECT_EQ(fields.m_y, -4.5f);
    EXPECT_EQ(fields.m_size, 8.0f);
    EXPECT_EQ(fields.m_shape, 2);

    D path;
    path.m_paramEditable = true;
    CPropertyPointWindow pathWindow(path);
    EXPECT_TRUE(Writable(pathWindow, D::kEditT));
    EXPECT_FALSE(Writable(pathWindow, D::kEditX) || Writable(pathWindow, D::kEditZ));
}

TEST_F(PropertyDialogWindows, LineWidthsOutsideTheirRangeAreRefused) {
    using D = CDlgPropertyLine;
    D fields;
    CPropertyLineWindow window(fields);
    for (const char16_t* bad : {u"0.4", u"20.5", u"宽"}) {
        m_messages.clear();
        Type(window, D::kWidthEdit, bad);
        EXPECT_FALSE(Ok(window)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(m_messages.size(), 1u);
    }
    Type(window, D::kWidthEdit, u"20");
    Choose(window, D::kKindRadio, 3);
    Choose(window, D::kStyleRadio, 4);
    window.Button(D::kApplyToAllCheck)->click();
    EXPECT_TRUE(Ok(window));
    EXPECT_TRUE(fields.m_width == 20.0f && fields.m_kind == 3 && fields.m_style == 4 && fields.m_applyToAll);
}

TEST_F(PropertyDialogWindows, TheTextureListFollowsTheStyle) {
    CDlgPropertyFace face;
    face.m_style = 1; // "填充颜色"
    CPropertyFaceWindow faceWindow(face);
    EXPECT_FALSE(On(faceWindow, CDlgPropertyFace::kTextureList));
    EXPECT_EQ(qobject_cast<QComboBox*>(faceWindow.Control(CDlgPropertyFace::kTextureList))->count(), 16);
    Choose(faceWindow, CDlgPropertyFace::kStyleRadio, 4); // "半透明材质"
    EXPECT_TRUE(On(faceWindow, CDlgPropertyFace::kTextureList));
    qobject_cast<QComboBox*>(faceWindow.Control(CDlgPropertyFace::kTextureList))->setCurrentIndex(6);
    EXPECT_TRUE(Ok(faceWindow));
    EXPECT_TRUE(face.m_style == 4 && face.m_texture == 6);

    using C = CDlgPropertyCircle;
    C arc;
    arc.m_kind = 1;  // "弧"
    arc.m_style = 1; // "光照处理"
    CPropertyCircleWindow circle(arc);
    EXPECT_EQ(circle.windowTitle(), QStringLiteral("圆（弧）属性"));
    EXPECT_FALSE(On(circle, C::kTextureList));
    EXPECT_FALSE(On(circle, C::kFromEdit) || On(circle, C::kToEdit)) << "自动";
    Choose(circle, C::kKindRadio, 3); // "扇形面"
    EXPECT_TRUE(On(circle, C::kTextureList));
    Choose(circle, C::kStyleRadio, 3); // "全实线"
    EXPECT_FALSE(On(circle, C::kTextureList));
    Choose(circle, C::kArcRadio, 1); // "自定义:"
    EXPECT_TRUE(On(circle, C::kFromEdit) && On(circle, C::kToEdit));
    Type(circle, C::kToEdit, u"120");
    Type(circle, C::kWidthEdit, u"0.5");
    EXPECT_FALSE(Ok(circle)) << "a circle's width starts at 1";
    Type(circle, C::kWidthEdit, u"1");
    EXPECT_TRUE(Ok(circle));
    EXPECT_TRUE(arc.m_kind == 3 && arc.m_style == 3 && arc.m_arcMode == 1 && arc.m_to == 120.0f);

    CDlgPropertySolid solid;
    CPropertySolidWindow solidWindow(solid);
    EXPECT_FALSE(On(solidWindow, CDlgPropertySolid::kTextureList));
    Choose(solidWindow, CDlgPropertySolid::kStyleRadio, 2);
    EXPECT_TRUE(On(solidWindow, CDlgPropertySolid::kTextureList));
}

TEST_F(PropertyDialogWindows, TheAxesSpacingsCheckEachOther) {
    using D = CDlgProScaleLine;
    D fields;
    CProScaleLineWindow window(fields);
    EXPECT_FALSE(On(window, D::kTickList)) << "automatic spacing";
    window.Button(D::kAutoCheck)->click();
    EXPECT_TRUE(On(window, D::kTickList) && On(window, D::kValueList));
    auto* ticks = qobject_cast<QComboBox*>(window.Control(D::kTickList));
    ticks->setCurrentIndex(12);
    window.OnTickChosen(12); // "1000" against "2"
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CString(u"刻度线间距不能大于刻度值间距！"));
    EXPECT_EQ(ticks->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(Ok(window));
    EXPECT_FALSE(fields.m_autoSpacing);
    EXPECT_EQ(fields.m_tickIndex, 4);
}

TEST_F(PropertyDialogWindows, ThePageUnitIsTypedOrSlidAndKeptInRange) {
    using D = CDlgPageProperty;
    D fields;
    fields.m_title = u"第一页";
    fields.m_background = RGB(10, 20, 30);
    CPagePropertyWindow window(fields);
    EXPECT_EQ(window.Slider()->value(), 20);
    EXPECT_EQ(window.ColorButton()->GetColor(), RGB(10, 20, 30));
    window.Slider()->setValue(77);
    EXPECT_EQ(window.Edit(D::kUnitEdit)->text(), QStringLiteral("77"));
    window.Edit(D::kUnitEdit)->setText(QStringLiteral("150"));
    emit window.Edit(D::kUnitEdit)->textEdited(QStringLiteral("150"));
    EXPECT_EQ(window.Slider()->value(), 150);
    window.Button(D::kDefaultButton)->click();
    EXPECT_EQ(window.Edit(D::kUnitEdit)->text(), QStringLiteral("20"));
    for (const char16_t* bad : {u"4", u"201", u"0"}) {
        m_messages.clear();
        Type(window, D::kUnitEdit, bad);
        EXPECT_FALSE(Ok(window));
        EXPECT_EQ(m_messages.size(), 1u);
    }
    Type(window, D::kUnitEdit, u"200");
    window.ColorButton()->SetColor(RGB(0, 0, 0));
    EXPECT_TRUE(Ok(window));
    EXPECT_EQ(fields.m_unitPixels, 200);
    EXPECT_EQ(fields.m_background, RGB(0, 0, 0));
    EXPECT_EQ(fields.m_title, CString(u"第一页"));
}

TEST_F(PropertyDialogWindows, DoModalShowsEachWindow) {
    CDlgTrace trace;
    QTimer::singleShot(0, [] {
        auto* window = dynamic_cast<CTraceWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("追踪属性"));
        window->Group(CDlgTrace::kModeRadio)->buttons().at(1)->click();
        window->accept();
    });
    EXPECT_EQ(trace.DoModal(), IDOK);
    EXPECT_EQ(trace.m_mode, 1);

    CDlgPropertyLine line;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(line.DoModal(), IDCANCEL);
}

TEST_F(PropertyDialogWindows, APictureRefusesAZeroOrAWordAndRestoresOneToOne) {
    using D = CDlgImagePropy;
    D fields;
    fields.m_scaleX = 2.5f;
    fields.m_scaleY = -0.5f;
    fields.m_size = u"原始大小：宽*高=40*30";
    CImagePropyWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("图片属性"));
    EXPECT_EQ(window.Edit(D::kWidthEdit)->text(), QStringLiteral("2.5"));
    EXPECT_EQ(window.Edit(D::kHeightEdit)->text(), QStringLiteral("-0.5"));
    ASSERT_NE(window.Control(D::kSizeText), nullptr);

    const struct {
        int id;
        const char16_t* text;
        const char16_t* message;
    } refused[] = {
        {D::kWidthEdit, u"0", D::kZeroFactor},
        {D::kHeightEdit, u"-0", D::kZeroFactor},
        {D::kWidthEdit, u"宽", CHxExchangeDialog::kNotANumber},
        {D::kHeightEdit, u"", CHxExchangeDialog::kNotANumber},
    };
    for (const auto& r : refused) {
        CImagePropyWindow w(fields);
        m_messages.clear();
        Type(w, r.id, r.text);
        EXPECT_FALSE(Ok(w)) << QString::fromUtf16(r.text).toStdString();
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CString(r.message));
        EXPECT_EQ(fields.m_scaleX, 2.5f) << "nothing written while refused";
    }

    // "恢复原始比例（1, 1）" shows 1 and 1; OK writes them.
    window.Button(D::kRestoreButton)->click();
    EXPECT_EQ(window.Edit(D::kWidthEdit)->text(), QStringLiteral("1"));
    EXPECT_EQ(window.Edit(D::kHeightEdit)->text(), QStringLiteral("1"));
    EXPECT_TRUE(Ok(window));
    EXPECT_EQ(fields.m_scaleX, 1.0f);
    EXPECT_EQ(fields.m_scaleY, 1.0f);

    // Untouched factors keep every digit.
    fields.m_scaleX = 1.23456789f;
    CImagePropyWindow same(fields);
    Type(same, D::kHeightEdit, u"  1.2 ");
    EXPECT_TRUE(Ok(same));
    EXPECT_EQ(fields.m_scaleX, 1.23456789f);
    EXPECT_EQ(fields.m_scaleY, 1.2f);
}

TEST_F(PropertyDialogWindows, TheLabelDialogInsertsCharactersAndWritesItsFieldsBack) {
    using D = CDlgPropertyLabel;
    D fields;
    fields.m_label = u"AB";
    fields.m_color = RGB(200, 0, 0);
    fields.m_autoScale = TRUE;
    CPropertyLabelWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("标签属性"));
    QLineEdit* name = window.Edit(D::kLabelEdit);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->selectedText(), QStringLiteral("AB")) << "ready to be typed over";
    auto* list = qobject_cast<QComboBox*>(window.Control(D::kCharacterList));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 1 + HxLabelCharacters().GetLength());
    // A character replaces the selection, then goes in at the caret.
    const int alpha = list->findText(QStringLiteral("α"));
    ASSERT_GT(alpha, 0);
    window.InsertCharacter(alpha);
    EXPECT_EQ(name->text(), QStringLiteral("α"));
    window.InsertCharacter(list->findText(QStringLiteral("'")));
    EXPECT_EQ(name->text(), QStringLiteral("α'"));
    EXPECT_EQ(list->currentIndex(), 0);

    EXPECT_EQ(window.ColorButton()->GetColor(), RGB(200, 0, 0));
    EXPECT_TRUE(window.Button(D::kShowLabelCheck)->isChecked());
    window.Button(D::kShowLabelCheck)->click();
    window.Button(D::kApplyColorCheck)->click();
    window.Button(D::kAutoScaleCheck)->click();
    EXPECT_TRUE(Ok(window));
    EXPECT_EQ(fields.m_label, CString(u"α'"));
    EXPECT_FALSE(fields.m_showLabel);
    EXPECT_TRUE(fields.m_applyToSelected);
    EXPECT_TRUE(fields.m_autoName);
    EXPECT_FALSE(fields.m_autoScale);
}

// The properties command on one selected object with its real window, answered as a user answers
// it.
class PropertiesThroughTheirWindows : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        HxSetDialogRunner(nullptr);
    }
    // The command on the object; in the window it opens `act` is done, then OK.
    void Edit(WORD id, std::function<void(CHxExchangeDialog&)> act = nullptr) {
        bool shown = false;
        QTimer::singleShot(0, [act, &shown] {
            auto* window = dynamic_cast<CHxExchangeDialog*>(QApplication::activeModalWidget());
            if (!window) {
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close();
                return;
            }
            shown = true;
            if (act)
                act(*window);
            window->accept();
        });
        RunOn(ID_EDIT_PROPERTY, {id});
        EXPECT_TRUE(shown);
    }
    static void Choose(CHxExchangeDialog& window, int id, int index) {
        QButtonGroup* group = window.Group(id);
        ASSERT_NE(group, nullptr) << id;
        group->buttons().at(index)->click();
    }
    // What the properties may change of a face, circle or solid, in one comparable row.
    struct CLook {
        int style, kind, texture;
        CRgba color, label;
        bool operator==(const CLook&) const = default;
    };
    static CLook LookOf(const CGCell& cell) {
        return {cell.m_style, cell.m_kind, cell.m_param4, cell.m_color, cell.m_labelColor};
    }
    static std::string Describe(const CLook& l) {
        auto rgba = [](const CRgba& c) {
            return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," +
                   std::to_string(c.a);
        };
        return "style " + std::to_string(l.style) + " kind " + std::to_string(l.kind) + " texture " +
               std::to_string(l.texture) + " colour " + rgba(l.color) + " label " + rgba(l.label);
    }
    // Confirming the window unchanged leaves the object as it was.
    void ExpectConfirmKeeps(CGCell& cell, const char* what) {
        const CLook before = LookOf(cell);
        Edit(cell.m_id);
        const CLook after = LookOf(cell);
        EXPECT_TRUE(after == before) << what << ": " << Describe(before) << " became " << Describe(after);
    }
};

TEST_F(PropertiesThroughTheirWindows, ConfirmingKeepsOpaqueFacesCirclesAndSolidsOpaque) {
    const float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0};
    CGFace* face = Face(a, b, c);
    face->m_param4 = 3;
    for (BYTE style = 0; style <= CGFace::kStyleTranslucent; ++style) {
        face->m_style = style;
        // Opaque styles at full opacity; the translucent one at an opacity of its own.
        face->m_color.a = style == CGFace::kStyleTranslucent ? 120 : 255;
        ExpectConfirmKeeps(*face, ("face style " + std::to_string(style)).c_str());
    }
    // An opaque face that took a lower opacity from a colour modifier keeps it too.
    face->m_style = CGFace::kStyleFilled;
    face->m_color.a = 200;
    ExpectConfirmKeeps(*face, "face with opacity 200");

    CGArc* circle = AddCircle(0, 0, 0, 2);
    circle->m_labelColor = CRgba{200, 100, 50, 255};
    circle->m_param4 = 2;
    for (BYTE kind = CGArc::kCircle; kind <= CGArc::kSegment; ++kind) {
        for (BYTE style = CGArc::kStyleOutline; style <= CGArc::kStyleVisibleOnly; ++style) {
            circle->m_kind = kind;
            circle->m_style = style;
            circle->m_color.a = style == CGArc::kStyleTranslucent ? 120 : 255;
            ExpectConfirmKeeps(
                *circle, ("circle kind " + std::to_string(kind) + " style " + std::to_string(style)).c_str());
        }
    }

    auto* ball = Insert(new CGSphere(NextId(), 0, 0, 0, 2, 0, 0, 1));
    ball->m_param4 = 4;
    for (BYTE style = 0; style <= kRevStyleTranslucent; ++style) {
        ball->m_style = style;
        ball->m_color.a = style == kRevStyleTranslucent ? 120 : 255;
        ExpectConfirmKeeps(*ball, ("solid style " + std::to_string(style)).c_str());
    }
}

TEST_F(PropertiesThroughTheirWindows, ACircleTurnedIntoADiscAndBackKeepsItsTwoColoursInPlace) {
    using D = CDlgPropertyCircle;
    CGArc* circle = AddCircle(0, 0, 0, 2);
    const CRgba own{10, 20, 30, 255};
    const CRgba outline{200, 100, 50, 255};
    circle->m_color = own;
    circle->m_labelColor = outline;
    // A disc fills its area in the object colour and draws its outline in the label colour: the two
    // change places, and change back when it is a circle again.
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kDisc); });
    EXPECT_EQ(circle->m_kind, CGArc::kDisc);
    EXPECT_EQ(circle->m_color, outline);
    EXPECT_EQ(circle->m_labelColor, own);
    // Between the filled kinds nothing changes places.
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kSector); });
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kSegment); });
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kDisc); });
    EXPECT_EQ(circle->m_color, outline);
    EXPECT_EQ(circle->m_labelColor, own);
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kCircle); });
    EXPECT_EQ(circle->m_kind, CGArc::kCircle);
    EXPECT_EQ(circle->m_color, own);
    EXPECT_EQ(circle->m_labelColor, outline);
    // Between a circle and an arc neither.
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kArc); });
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kCircle); });
    EXPECT_EQ(circle->m_color, own);
    EXPECT_EQ(circle->m_labelColor, outline);

    // With the default label colour the disc's outline takes the circle's colour and its area the
    // next automatic colour; back as a circle, the circle has its own colour again.
    circle->m_labelColor = g_colorLabel;
    HxResetAutoColors();
    const COLORREF next = NextAutoColor();
    HxResetAutoColors();
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kDisc); });
    EXPECT_EQ(circle->m_labelColor, own);
    EXPECT_EQ(circle->m_color.ToColorRef(), next);
    EXPECT_EQ(circle->m_color.a, 255);
    Edit(circle->m_id, [](CHxExchangeDialog& w) { Choose(w, D::kKindRadio, CGArc::kCircle); });
    EXPECT_EQ(circle->m_color, own);
    EXPECT_EQ(circle->m_labelColor.ToColorRef(), next);
}

} // namespace
