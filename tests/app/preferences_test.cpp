// The preferences dialog: points and pixels, the fields from the drawing defaults, the four presets,
// applying with OK against "立即修改" (on the current page or every page), Cancel after a preset,
// numbers refused, the service the view runs, and the configuration file after a change.
#include "app/preferences_ui.h"

#include "app/color_picker.h"
#include "app/settings_file.h"
#include "document/halvix_doc.h"
#include "document/neighbour_services.h"
#include "model/model_globals.h"
#include "model/vertex.h"
#include "view/view_globals.h"
#include "view/view_services.h"
#include "view/view_settings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <vector>

namespace {

using D = CDlgPreferonces;

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_savedHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toLocal8Bit());
        HxResetPreferenceSettings();
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
        qputenv("XDG_DATA_HOME", m_savedHome);
        HxResetPreferenceSettings();
        HxResetModelGlobals();
        HxResetViewGlobals();
    }

    QTemporaryDir m_home;
    QByteArray m_savedHome;
    std::vector<CString> m_messages;
};

TEST_F(PreferencesTest, SizesGoBetweenPointsAndPixels) {
    const struct {
        const char16_t* points;
        int pixels;
    } cases[] = {{u"18", 24}, {u"500", 500}, {u"1", 8},  {u"400", 500},
                 {u" 8", 11}, {u"12.5", 17}, {u"大", 8}, {u"", 8}};
    for (const auto& c : cases)
        EXPECT_EQ(D::PixelsFromPoints(c.points), c.pixels) << QString::fromUtf16(c.points).toStdString();
    EXPECT_EQ(D::PointsFromPixels(24), 18);
    EXPECT_EQ(D::PointsFromPixels(25), 19);
}

TEST_F(PreferencesTest, TheFieldsComeFromTheDrawingDefaults) {
    g_backgroundColor[1] = 0.5f;
    g_colorValue = {1, 2, 3, 4};
    g_labelFontHeight = 25;
    g_fontHeight = 32;
    g_animationFps = 40;
    g_trackballMode = 1;
    g_lineWidth = 3.0f;
    D dlg;
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.m_colors[D::kBackground], RGB(255, 127, 255));
    EXPECT_EQ(dlg.m_colors[D::kMeasure], RGB(1, 2, 3));
    EXPECT_EQ(dlg.m_colors[D::kFixedPoint], RGB(128, 0, 0));
    EXPECT_EQ(dlg.m_labelSize, CString(u"19"));
    EXPECT_EQ(dlg.m_measureSize, CString(u"24"));
    EXPECT_EQ(dlg.m_fps, 40);
    EXPECT_EQ(dlg.m_lineWidth, 3.0f);
    EXPECT_TRUE(dlg.m_rotateRelativeToScreen && !dlg.m_disableDoubleClick && dlg.m_currentPageOnly);
}

TEST_F(PreferencesTest, EachPresetFillsAWholeScheme) {
    const struct {
        COLORREF background, freePoint, measure;
        const char16_t* size;
        float lineWidth, pointSize;
    } presets[D::kPresetCount] = {{RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 0), u"18", 2.0f, 6.0f},
                                  {RGB(0, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255), u"18", 1.5f, 4.5f},
                                  {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), u"12", 1.5f, 2.0f},
                                  {RGB(255, 255, 255), RGB(255, 0, 0), RGB(128, 0, 128), u"12", 1.5f, 3.0f}};
    for (int i = 0; i < D::kPresetCount; ++i) {
        D dlg;
        dlg.OnInitDialog();
        dlg.m_fps = 60;
        dlg.m_rotateRelativeToScreen = TRUE;
        dlg.m_labelFontName = u"楷体";
        g_lightPosition[0] = 1.0f;
        dlg.ApplyPreset(i);
        EXPECT_EQ(dlg.m_colors[D::kBackground], presets[i].background) << i;
        EXPECT_EQ(dlg.m_colors[D::kFreePoint], presets[i].freePoint) << i;
        EXPECT_EQ(dlg.m_colors[D::kMeasure], presets[i].measure) << i;
        EXPECT_EQ(dlg.m_labelSize, CString(presets[i].size)) << i;
        EXPECT_EQ(dlg.m_measureSize, CString(presets[i].size)) << i;
        EXPECT_EQ(dlg.m_lineWidth, presets[i].lineWidth) << i;
        EXPECT_EQ(dlg.m_pointSize, presets[i].pointSize) << i;
        EXPECT_EQ(dlg.m_fps, 25);
        EXPECT_FALSE(dlg.m_rotateRelativeToScreen);
        EXPECT_EQ(dlg.m_labelFontName, CString(u"Times New Roman"));
        EXPECT_EQ(g_lightPosition[0], 200.0f) << "the light is set at once";
    }
}

TEST_F(PreferencesTest, OkChangesTheDefaultsAndTheFileKeepsThem) {
    g_labelFontName = u"Times New Roman";
    HxSetDialogRunner([&](CDialog& dialog) {
        auto& d = dynamic_cast<D&>(dialog);
        d.ApplyPreset(1);
        d.m_labelFontName = u"黑体";
        d.m_disableDoubleClick = TRUE;
        return INT_PTR(IDOK);
    });
    ASSERT_TRUE(HxGetViewServices().runPreferences) << "the dialog is the view's preferences service";
    EXPECT_EQ(HxGetViewServices().runPreferences(), 2) << "other fonts";
    EXPECT_EQ(g_backgroundColor[0], 0.0f);
    EXPECT_EQ(g_colorFreePoint, (CRgba{255, 255, 0, 255}));
    EXPECT_EQ(g_colorTable, (CRgba{128, 128, 128, 255}));
    EXPECT_EQ(g_labelFontName, CString(u"黑体"));
    EXPECT_EQ(g_labelFontHeight, 24);
    EXPECT_EQ(g_lineWidth, 1.5f);
    EXPECT_EQ(g_pointSize, 4.5f);
    EXPECT_EQ(g_disableDoubleClick, 1);
    // The same answer again changes no font.
    EXPECT_EQ(HxGetViewServices().runPreferences(), 1);

    ASSERT_TRUE(LoadSaveSettings(true));
    HxResetPreferenceSettings();
    ASSERT_TRUE(LoadSaveSettings(false));
    EXPECT_EQ(g_colorFreePoint, (CRgba{255, 255, 0, 255}));
    EXPECT_EQ(g_labelFontName, CString(u"黑体"));
    EXPECT_EQ(g_pointSize, 4.5f);
    EXPECT_EQ(g_disableDoubleClick, 1);

    HxSetDialogRunner([](CDialog&) { return INT_PTR(IDCANCEL); });
    EXPECT_EQ(HxGetViewServices().runPreferences(), 0);
}

TEST_F(PreferencesTest, CloseAfterAPresetKeepsOnlyItsLight) {
    g_lightAmbient[0] = 0.7f;
    const CRgba free = g_colorFreePoint;
    D fields;
    fields.OnInitDialog();
    CPreferencesWindow window(fields, nullptr);
    window.OnPreset(1);
    EXPECT_EQ(window.ColorButton(D::kBackground)->GetColor(), RGB(0, 0, 0)) << "the buttons show the preset";
    window.reject();
    EXPECT_EQ(g_colorFreePoint, free);
    EXPECT_EQ(g_backgroundColor[0], 1.0f);
    EXPECT_EQ(g_lightAmbient[0], 0.2f);
}

TEST_F(PreferencesTest, NumbersOutOfRangeKeepTheWindowOpen) {
    D fields;
    fields.OnInitDialog();
    CPreferencesWindow window(fields, nullptr);
    const struct {
        int id;
        const char16_t* text;
    } bad[] = {
        {D::kLineWidthEdit, u"5.5"}, {D::kPointSizeEdit, u"0.4"}, {D::kFpsEdit, u"0"}, {D::kFpsEdit, u"101"}};
    for (const auto& b : bad) {
        m_messages.clear();
        window.Edit(b.id)->setText(QString::fromUtf16(b.text));
        window.setResult(QDialog::Rejected);
        window.accept();
        EXPECT_EQ(window.result(), QDialog::Rejected) << b.id;
        EXPECT_EQ(m_messages.size(), 1u) << b.id;
        window.FillControls();
    }
    window.Edit(D::kFpsEdit)->setText(QStringLiteral("100"));
    qobject_cast<QComboBox*>(window.Control(D::kMeasureSizeCombo))->setCurrentText(QStringLiteral("36"));
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_fps, 100);
    EXPECT_EQ(fields.m_measureSize, CString(u"36"));
}

TEST_F(PreferencesTest, ApplyNowRecoloursTheCurrentPageOrEveryPage) {
    CHalvixDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CGPage* first = doc.GetCurrentPage();
    CGPage* second = doc.AppendPage(u"第二页");
    CGVertex* points[2];
    CGPage* pages[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        points[i] = new CGVertex;
        points[i]->m_id = 1;
        points[i]->m_color = {1, 1, 1, 255};
        pages[i]->m_cells.SetAt(1, points[i]);
        pages[i]->m_nextId = 2;
    }
    D fields;
    fields.OnInitDialog();
    CPreferencesWindow window(fields, nullptr);
    window.SetDocument(&doc);
    window.ColorButton(D::kFixedPoint)->SetColor(RGB(0, 200, 0));
    window.OnApplyNow();
    EXPECT_EQ(g_colorPoint, (CRgba{0, 200, 0, 255}));
    EXPECT_EQ(points[0]->m_color.ToColorRef(), RGB(0, 200, 0)) << "the current page";
    EXPECT_EQ(points[1]->m_color.ToColorRef(), RGB(1, 1, 1)) << "仅当前页对象";
    EXPECT_TRUE(doc.IsModified());
    window.Button(D::kCurrentPageCheck)->click();
    window.OnApplyNow();
    EXPECT_EQ(points[1]->m_color.ToColorRef(), RGB(0, 200, 0)) << "every page";
    doc.DeleteContents();
}

} // namespace
