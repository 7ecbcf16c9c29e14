// The input dialogs' classes: the preset point sets, the point text's check, its number tokens and
// the conversion of typed numbers.
#include "construct/input_dialogs.h"

#include <charconv>
#include <cmath>
#include <string>

IMPLEMENT_DYNAMIC(CDlgVector, CDialog)
IMPLEMENT_DYNAMIC(CDlgAngle, CDialog)
IMPLEMENT_DYNAMIC(CDlgValue, CDialog)
IMPLEMENT_DYNAMIC(CDlgCoordinates, CDialog)
IMPLEMENT_DYNAMIC(CDlgAlpha, CDialog)
IMPLEMENT_DYNAMIC(CDlgNumber, CDialog)

CConstructEntries g_constructEntries;

void HxResetConstructEntries() {
    g_constructEntries = CConstructEntries();
}

const char16_t* const CDlgCoordinates::kTextValid = u"数据输入正确！可继续输入或按\"确定\"按钮。";
const char16_t* const CDlgCoordinates::kTextInvalid = u"数据不全或格式有误，请继续输入或修改！";
const char16_t* const CDlgCoordinates::kTextEnterPoints = u"请输入点的坐标！";
const char16_t* const CDlgCoordinates::kNoClipboardText = u"剪贴板上没有符合要求的数据！";

namespace {

struct CPreset {
    const char16_t* name;
    const char16_t* text;
};

// Each number as the set gives it; a tab between the numbers, CR LF after every point.
const CPreset kPresets[CDlgCoordinates::kPresetCount] = {
    {u"正四面体顶点", u"0\t0\t11.0227038\r\n0\t-10.3923048\t-3.6742347\r\n9\t5.1961524\t-3.6742347\r\n"
                      u"-9\t5.1961524\t-3.6742347\r\n"},
    {u"正方体顶点",
     u"-6\t-6\t-6\r\n6\t-6\t-6\r\n6\t6\t-6\r\n-6\t6\t-6\r\n-6\t-6\t6\r\n6\t-6\t6\r\n6\t6\t6\r\n"
     u"-6\t6\t6\r\n"},
    {u"正三边形顶点", u"-10\t-5.7735027\t-5\r\n10\t-5.7735027\t-5\r\n0\t11.5470054\t-5\r\n"},
    {u"正方形顶点", u"-6\t-6\t-6\r\n6\t-6\t-6\r\n6\t6\t-6\r\n-6\t6\t-6\r\n"},
    {u"方块顶点", u"0\t10\t-6\r\n-10\t0\t-6\r\n0\t-10\t-6\r\n10\t0\t-6\r\n"},
    {u"矩形(2*1)顶点", u"-10\t-5\t-5\r\n0\t-5\t-5\r\n10\t-5\t-5\r\n10\t5\t-5\r\n0\t5\t-5\r\n-10\t5\t-5\r\n"},
    {u"矩形(3*1)顶点", u"-9\t-3\t-5\r\n-3\t-3\t-5\r\n3\t-3\t-5\r\n9\t-3\t-5\r\n9\t3\t-5\r\n3\t3\t-5\r\n"
                       u"-3\t3\t-5\r\n-9\t3\t-5\r\n"},
    {u"菱形顶点1", u"-8.6602540\t0\t-6\r\n0\t-5\t-6\r\n8.6602540\t0\t-6\r\n0\t5\t-6\r\n"},
    {u"菱形顶点2", u"0\t8.6602540\t-6\r\n-5\t0\t-6\r\n0\t-8.6602540\t-6\r\n5\t0\t-6\r\n"},
    {u"正六边形顶点", u"-4\t-6.9282032\t-4\r\n4\t-6.9282032\t-4\r\n8\t0\t-4\r\n4\t6.9282032\t-4\r\n"
                      u"-4\t6.9282032\t-4\r\n-8\t0\t-4\r\n"},
};

bool IsNumberChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-';
}

} // namespace

CString CDlgAlpha::OpacityText(int percent) {
    CString text;
    text.Format(u"不透明度：%d%%", percent);
    return text;
}

void CDlgAlpha::SetOpacity(int percent) {
    m_opacity = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    m_text = OpacityText(m_opacity);
}

const char16_t* CDlgCoordinates::PresetName(int row) {
    return row >= 0 && row < kPresetCount ? kPresets[row].name : u"";
}

CString CDlgCoordinates::PresetText(int row) {
    return CString(row >= 0 && row < kPresetCount ? kPresets[row].text : u"");
}

bool CDlgCoordinates::IsValidPointText(const CString& text) {
    const std::u16string& s = text.Str();
    if (s.empty())
        return false;
    int numbers = 0, separators = 0; // on the line
    int complete = 0;
    int returns = 0, feeds = 0; // since the last matched pair
    bool inNumber = false;
    int points = 0, signs = 0; // in the number
    for (char16_t c : s) {
        if (IsNumberChar(c)) {
            if (!inNumber) {
                inNumber = true;
                ++numbers;
                points = signs = 0;
            }
            if (c == u'.' && ++points > 1)
                return false;
            if ((c == u'+' || c == u'-') && ++signs > 1)
                return false;
            continue;
        }
        inNumber = false;
        if (c == u'\t' || c == u',' || c == u';') {
            // Only right after a number.
            if (numbers != separators + 1)
                return false;
            ++separators;
        } else if (c == u'\r') {
            if (numbers != 3 || separators != 2)
                return false;
            ++complete;
            numbers = separators = 0;
            ++returns;
        } else if (c == u'\n') {
            ++feeds;
            if (feeds != returns)
                return false;
            returns = feeds = 0;
        } else {
            return false; // blanks too
        }
    }
    if (numbers != 0 || separators != 0) {
        if (numbers != 3 || separators != 2)
            return false;
        ++complete;
    }
    return complete > 0;
}

const char16_t* CDlgCoordinates::StatusOf(const CString& text) {
    return IsValidPointText(text) ? kTextValid : kTextInvalid;
}

void CDlgCoordinates::BuildExpressionList() {
    m_numbers.clear();
    std::u16string token;
    for (char16_t c : m_pointText.Str()) {
        if (IsNumberChar(c)) {
            token.push_back(c);
        } else if (!token.empty()) {
            m_numbers.emplace_back(token);
            token.clear();
        }
    }
    if (!token.empty())
        m_numbers.emplace_back(token);
}

float CDlgCoordinates::ToNumber(const CString& text) {
    // Typed numbers are ASCII; anything else ends the number.  Read with the C locale's "." whatever
    // the user's locale.
    std::string ascii;
    for (char16_t c : text.Str()) {
        if (c >= 0x80)
            break;
        ascii.push_back(char(c));
    }
    size_t start = ascii.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return 0.0f;
    if (ascii[start] == '+')
        ++start;
    double value = 0.0;
    const std::from_chars_result read =
        std::from_chars(ascii.data() + start, ascii.data() + ascii.size(), value);
    const float number = read.ec == std::errc() ? float(value) : 0.0f;
    // Too large for a coordinate: as no number at all.
    return std::isfinite(number) ? number : 0.0f;
}
