// The coordinate dialog's rules on point texts: which texts are complete and well formed, the
// number tokens of pasted text, the numbers typed texts read as, and the preset point sets.
#include "construct/input_dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(CoordinateText, LinesOfThreeSeparatedNumbersEndedByCrLf) {
    const struct {
        const char16_t* text;
        bool valid;
    } rows[] = {
        {u"1\t2\t3\r\n4\t5\t6", true},  // the last line without a break
        {u"1,2,3\r\n", true},           // an empty last line
        {u"-1.5;+2;.5", true},          // signs and points inside numbers
        {u"1-2,3,4", true},             // a sign inside a number is part of it
        {u"", false},                   // nothing
        {u"1\t2\t3\r\n4, 5\t6", false}, // a blank
        {u"1,2,3,4", false},            // four numbers
        {u",1,2,3", false},             // a separator before the first number
        {u"1,,2,3", false},             // two separators in a row
        {u"1,2", false},                // an unfinished last line
        {u"1.2.3,4,5", false},          // a second point in a number
        {u"1+-2,3,4", false},           // a second sign in a number
        {u"1,2,3\n4,5,6", false},       // a line feed without its carriage return
        {u"1,2,3\r\n\r\n4,5,6", false}, // an empty line in between
        {u"1,2,3\r\r\n\n", false},      // the second return ends an empty line
        {u"1,2,3\r\n\n", false},        // a line feed matching nothing
        {u"1,2,3\r4,5,6", true},        // a return alone ends a line
        {u"1;2;3x", false},             // any other character
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CDlgCoordinates::IsValidPointText(CString(row.text)), row.valid)
            << CString(row.text).ToUtf8();
        EXPECT_EQ(CString(CDlgCoordinates::StatusOf(CString(row.text))),
                  CString(row.valid ? u"数据输入正确！可继续输入或按\"确定\"按钮。"
                                    : u"数据不全或格式有误，请继续输入或修改！"));
    }
}

TEST(CoordinateText, TokensAreRunsOfDigitsPointsAndSigns) {
    const struct {
        const char16_t* text;
        std::vector<std::u16string> tokens;
    } rows[] = {
        {u"-1.5 2e3 4", {u"-1.5", u"2", u"3", u"4"}},
        {u"1,2,3\r\n4;5;6\r\n7\t8", {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8"}},
        {u"（1，+2）x-3..4", {u"1", u"+2", u"-3..4"}},
        {u"", {}},
    };
    for (const auto& row : rows) {
        CDlgCoordinates dlg;
        dlg.m_pointText = row.text;
        dlg.BuildExpressionList();
        std::vector<std::u16string> tokens;
        for (const CString& t : dlg.m_numbers)
            tokens.push_back(t.Str());
        EXPECT_EQ(tokens, row.tokens);
    }
    const std::pair<const char16_t*, float> numbers[] = {
        {u"-1.5", -1.5f},  {u"+2", 2.0f},     {u"-3..4", -3.0f}, {u"-", 0.0f},  {u"abc", 0.0f},
        {u" 7.25", 7.25f}, {u"1e3", 1000.0f}, {u"1e99", 0.0f},   {u"5度", 5.0f}};
    for (auto [text, value] : numbers)
        EXPECT_EQ(CDlgCoordinates::ToNumber(CString(text)), value) << CString(text).ToUtf8();
}

TEST(CoordinateText, PresetsAreValidPointTextsOfTheirSets) {
    const int points[CDlgCoordinates::kPresetCount] = {4, 8, 3, 4, 4, 6, 8, 4, 4, 6};
    for (int row = 0; row < CDlgCoordinates::kPresetCount; ++row) {
        CDlgCoordinates dlg;
        dlg.m_pointText = CDlgCoordinates::PresetText(row);
        EXPECT_TRUE(CDlgCoordinates::IsValidPointText(dlg.m_pointText)) << row;
        dlg.BuildExpressionList();
        EXPECT_EQ(dlg.m_numbers.size(), size_t(3 * points[row])) << row;
    }
    EXPECT_EQ(CString(CDlgCoordinates::PresetName(0)), CString(u"正四面体顶点"));
    EXPECT_EQ(CDlgCoordinates::PresetText(0).Left(24), CString(u"0\t0\t11.0227038\r\n0\t-10.39"));
    EXPECT_EQ(CString(CDlgCoordinates::PresetName(9)), CString(u"正六边形顶点"));
    EXPECT_TRUE(CDlgCoordinates::PresetText(10).IsEmpty());
}

} // namespace
