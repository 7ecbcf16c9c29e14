// The per-user settings file: its place, its bytes with the built-in settings (built here from the
// field table), a round trip of every field, files cut short at every byte or holding a bad string
// (the values held whole taken, the rest built in), values out of range brought into range, and a
// new document reading the file again.
#include "app/settings_file.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/neighbour_services.h"
#include "model/model_globals.h"
#include "support/archive_helpers.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Every value the file holds, to compare whole states.
struct Settings {
    CString labelFont, measureFont;
    int labelHeight, measureHeight;
    float lineWidth, pointSize;
    std::array<float, 4> background;
    std::array<CRgba, 9> colors;
    std::array<std::array<float, 4>, 4> light;
    int fps, noDoubleClick, trackball, autoScale;

    static Settings Current() {
        Settings s{g_labelFontName,
                   g_textFontName,
                   g_labelFontHeight,
                   g_fontHeight,
                   g_lineWidth,
                   g_pointSize,
                   {},
                   {g_colorSelection, g_colorPoint, g_colorFreePoint, g_colorObject, g_colorArcSolid,
                    g_colorLabel, g_colorText, g_colorValue, g_colorTable},
                   {},
                   g_animationFps,
                   g_disableDoubleClick,
                   g_trackballMode,
                   g_labelAutoScale};
        std::copy(g_backgroundColor, g_backgroundColor + 4, s.background.begin());
        const float* light[4] = {g_lightAmbient, g_lightDiffuse, g_lightSpecular, g_lightPosition};
        for (int k = 0; k < 4; ++k)
            std::copy(light[k], light[k] + 4, s.light[size_t(k)].begin());
        return s;
    }
    bool operator==(const Settings&) const = default;
};

// A setting differing from the built-in one in every field.
void SetEveryField() {
    g_labelFontName = u"楷体";
    g_textFontName = u"Liberation Sans";
    g_labelFontHeight = 32;
    g_fontHeight = 17;
    g_lineWidth = 3.5f;
    g_pointSize = 4.25f;
    const float background[4] = {0.25f, 0.5f, 0.75f, 0.875f};
    std::copy(background, background + 4, g_backgroundColor);
    CRgba* colors[9] = {&g_colorSelection, &g_colorPoint, &g_colorFreePoint, &g_colorObject, &g_colorArcSolid,
                        &g_colorLabel,     &g_colorText,  &g_colorValue,     &g_colorTable};
    for (int c = 0; c < 9; ++c)
        *colors[c] = CRgba{BYTE(10 + c), BYTE(100 + c), BYTE(200 + c), BYTE(50 + c)};
    float* light[4] = {g_lightAmbient, g_lightDiffuse, g_lightSpecular, g_lightPosition};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 4; ++i)
            light[k][i] = float(k) * 10.0f + float(i) + 0.5f;
    g_animationFps = 40;
    g_disableDoubleClick = 1;
    g_trackballMode = 1;
    g_labelAutoScale = 0;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_savedHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_home.path().toLocal8Bit());
        HxResetPreferenceSettings();
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", m_savedHome);
        HxResetPreferenceSettings();
        HxResetModelGlobals();
        HxResetViewGlobals();
    }

    QTemporaryDir m_home;
    QByteArray m_savedHome;
};

} // namespace

TEST_F(SettingsFileTest, LivesInTheDataFolderUnderHalvix) {
    EXPECT_EQ(HxSettingsFolder(), m_home.path() + QStringLiteral("/Halvix"));
    EXPECT_EQ(HxSettingsFilePath(), m_home.path() + QStringLiteral("/Halvix/config601.dat"));
    EXPECT_FALSE(QDir(HxSettingsFolder()).exists());
    SetEveryField();
    const Settings before = Settings::Current();
    EXPECT_FALSE(LoadSaveSettings(false)) << "no file yet";
    EXPECT_TRUE(QDir(HxSettingsFolder()).exists()) << "the folder is made when missing";
    EXPECT_TRUE(Settings::Current() == before) << "a missing file changes nothing";

    // The data folder is a file: the "Halvix" folder cannot be made.
    const QString blocker = m_home.filePath(QStringLiteral("file"));
    WriteAll(blocker, "x");
    qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
    EXPECT_FALSE(LoadSaveSettings(true));
    EXPECT_FALSE(LoadSaveSettings(false));
    EXPECT_TRUE(Settings::Current() == before);
}

TEST_F(SettingsFileTest, BuiltInSettingsWriteTheseBytes) {
    ASSERT_TRUE(LoadSaveSettings(true));
    ByteBuilder b;
    b.Str(u"Times New Roman").Str(u"Times New Roman").I32(24).I32(24).F32(2.0f).F32(6.0f);
    // The colour block by component: background, the nine colours, the four light vectors.
    const BYTE colors[9][4] = {{255, 0, 255, 255}, {128, 0, 0, 255}, {255, 0, 0, 255},
                               {0, 0, 128, 255},   {0, 128, 0, 255}, {0, 0, 0, 255},
                               {0, 0, 152, 255},   {0, 0, 0, 255},   {64, 64, 64, 255}};
    const float light[4][4] = {{0.2f, 0.2f, 0.2f, 1.0f},
                               {0.8f, 0.8f, 0.8f, 1.0f},
                               {1.0f, 1.0f, 1.0f, 1.0f},
                               {200.0f, 100.0f, 300.0f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        b.F32(1.0f);
        for (const auto& c : colors)
            b.U8(c[i]);
        for (const auto& v : light)
            b.F32(v[i]);
    }
    b.I32(25).I32(0).I32(0).I32(1);
    const QByteArray file = ReadAll(HxSettingsFilePath());
    ASSERT_EQ(file.size(), 216);
    // Each string: the Unicode marker FF FE FF, the length 15, thirty bytes of text.
    EXPECT_EQ(std::vector<BYTE>(file.begin(), file.end()), b.Bytes());
}

TEST_F(SettingsFileTest, EveryFieldRoundTrips) {
    SetEveryField();
    const Settings written = Settings::Current();
    ASSERT_TRUE(LoadSaveSettings(true));
    HxResetPreferenceSettings();
    ASSERT_FALSE(Settings::Current() == written);
    ASSERT_TRUE(LoadSaveSettings(false));
    EXPECT_TRUE(Settings::Current() == written);
    // Writing again gives the same bytes.
    const QByteArray first = ReadAll(HxSettingsFilePath());
    ASSERT_TRUE(LoadSaveSettings(true));
    EXPECT_EQ(ReadAll(HxSettingsFilePath()), first);
}

// The first k values of `from` in file order over `into`, and where each value of a file of `from`
// ends (in bytes).
Settings FirstValues(const Settings& from, Settings into, int k, std::vector<int>* ends = nullptr) {
    int index = 0;
    int offset = 0;
    const auto take = [&](auto& to, const auto& value, int bytes) {
        if (index++ < k)
            to = value;
        offset += bytes;
        if (ends)
            ends->push_back(offset);
    };
    take(into.labelFont, from.labelFont, 4 + 2 * from.labelFont.GetLength());
    take(into.measureFont, from.measureFont, 4 + 2 * from.measureFont.GetLength());
    take(into.labelHeight, from.labelHeight, 4);
    take(into.measureHeight, from.measureHeight, 4);
    take(into.lineWidth, from.lineWidth, 4);
    take(into.pointSize, from.pointSize, 4);
    for (size_t i = 0; i < 4; ++i) {
        take(into.background[i], from.background[i], 4);
        for (size_t c = 0; c < 9; ++c)
            take(into.colors[c][int(i)], from.colors[c][int(i)], 1);
        for (size_t v = 0; v < 4; ++v)
            take(into.light[v][i], from.light[v][i], 4);
    }
    take(into.fps, from.fps, 4);
    take(into.noDoubleClick, from.noDoubleClick, 4);
    take(into.trackball, from.trackball, 4);
    take(into.autoScale, from.autoScale, 4);
    return into;
}

TEST_F(SettingsFileTest, AFileCutShortKeepsTheValuesItHoldsWhole) {
    SetEveryField();
    const Settings written = Settings::Current();
    ASSERT_TRUE(LoadSaveSettings(true));
    const QByteArray whole = ReadAll(HxSettingsFilePath());
    ASSERT_EQ(whole.size(), 190); // the font names of 2 and 15 characters
    HxResetPreferenceSettings();
    const Settings defaults = Settings::Current();
    std::vector<int> ends;
    FirstValues(written, defaults, 0, &ends);
    ASSERT_EQ(int(ends.size()), kSettingsValueCount);
    ASSERT_EQ(ends.back(), whole.size());
    for (int n = 0; n <= whole.size(); ++n) {
        // Whatever was in memory before, the values the file does not hold are the built-in ones.
        SetEveryField();
        WriteAll(HxSettingsFilePath(), whole.left(n));
        ASSERT_TRUE(LoadSaveSettings(false)) << n;
        const int held = int(std::count_if(ends.begin(), ends.end(), [n](int end) { return end <= n; }));
        ASSERT_TRUE(Settings::Current() == FirstValues(written, defaults, held))
            << "cut after " << n << " bytes, " << held << " values whole";
    }
}

TEST_F(SettingsFileTest, AMalformedStringEndsTheReading) {
    SetEveryField();
    ASSERT_TRUE(LoadSaveSettings(true));
    const QByteArray good = ReadAll(HxSettingsFilePath());
    HxResetPreferenceSettings();
    const Settings defaults = Settings::Current();
    // A length of 0xFFFF characters, far more than the file holds: nothing is read.
    QByteArray bytes = good;
    bytes[3] = char(0xFF);
    bytes.insert(4, QByteArray("\xFF\xFF", 2));
    WriteAll(HxSettingsFilePath(), bytes);
    g_labelFontName = u"黑体";
    EXPECT_TRUE(LoadSaveSettings(false));
    EXPECT_TRUE(Settings::Current() == defaults);
    // The second name four billion characters long: the first is taken, the rest built in.
    bytes = good;
    const int second = 4 + 2 * 2;
    bytes[second + 3] = char(0xFF);
    bytes.insert(second + 4, QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF", 6));
    WriteAll(HxSettingsFilePath(), bytes);
    EXPECT_TRUE(LoadSaveSettings(false));
    Settings expected = defaults;
    expected.labelFont = u"楷体";
    EXPECT_TRUE(Settings::Current() == expected);
    // A file far larger than any settings file is not read at all.
    WriteAll(HxSettingsFilePath(), QByteArray(2 << 20, '\0'));
    SetEveryField();
    const Settings before = Settings::Current();
    EXPECT_FALSE(LoadSaveSettings(false));
    EXPECT_TRUE(Settings::Current() == before);
}

TEST_F(SettingsFileTest, ValuesOutOfRangeAreBroughtIntoRange) {
    g_animationFps = 0; // a frame rate of 0 would divide the timer period by zero
    g_labelFontHeight = -5;
    g_fontHeight = 100000;
    g_lineWidth = 80.0f;
    g_pointSize = std::nanf("");
    g_labelFontName.Empty();
    g_backgroundColor[1] = 7.0f;
    g_lightDiffuse[2] = std::numeric_limits<float>::infinity();
    ASSERT_TRUE(LoadSaveSettings(true));
    HxResetPreferenceSettings();
    g_pointSize = 5.0f;
    ASSERT_TRUE(LoadSaveSettings(false));
    EXPECT_TRUE(g_animationFps == 1 && g_labelFontHeight == 8 && g_fontHeight == 500);
    EXPECT_FLOAT_EQ(g_lineWidth, 5.0f);
    EXPECT_FLOAT_EQ(g_pointSize, 5.0f) << "not a number: the present value stays";
    EXPECT_EQ(g_labelFontName, u"Times New Roman");
    EXPECT_FLOAT_EQ(g_backgroundColor[1], 1.0f);
    EXPECT_FLOAT_EQ(g_lightDiffuse[2], 0.8f);

    g_animationFps = 1000;
    ASSERT_TRUE(LoadSaveSettings(true));
    ASSERT_TRUE(LoadSaveSettings(false));
    EXPECT_EQ(g_animationFps, 100);
}

TEST_F(SettingsFileTest, ANewDocumentReadsTheFileAgain) {
    SetEveryField();
    ASSERT_TRUE(LoadSaveSettings(true));
    const Settings saved = Settings::Current();
    g_labelFontName = u"仿宋";
    g_animationFps = 12;
    CHalvixDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(Settings::Current() == saved);
    doc.DeleteContents();
}
