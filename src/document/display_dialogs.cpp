// The display commands' dialog fields: the rows of the label lists and the checks of their texts,
// the transparency caption and the parameter colour's choices.
#include "document/display_dialogs.h"

IMPLEMENT_DYNAMIC(CDlgLabel, CDialog)
IMPLEMENT_DYNAMIC(CDlgParametricColor, CDialog)
IMPLEMENT_DYNAMIC(CMFCColorDialog, CDialog)

namespace {

bool IsSuffixChar(char16_t c) {
    return c == u' ' || c == u'\'' || (c >= u'0' && c <= u'9');
}

} // namespace

const std::vector<CString>& CDlgLabel::LetterRows() {
    static const std::vector<CString> rows = [] {
        std::vector<CString> a;
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            a.push_back(CString(c));
        return a;
    }();
    return rows;
}

const std::vector<CString>& CDlgLabel::SuffixRows() {
    static const std::vector<CString> rows = [] {
        std::vector<CString> a;
        a.push_back(CString(u" "));
        for (char16_t c = u'0'; c <= u'9'; ++c)
            a.push_back(CString(c));
        a.push_back(CString(u"'"));
        return a;
    }();
    return rows;
}

char CDlgLabel::LetterOf(const CString& text) {
    if (text.IsEmpty())
        return 0;
    const char16_t c = text[0];
    return c >= u'A' && c <= u'Z' ? char(c) : 0;
}

char CDlgLabel::SuffixOf(const CString& text) {
    if (text.IsEmpty())
        return 0;
    const char16_t c = text[0];
    return IsSuffixChar(c) ? char(c) : 0;
}

CString CDlgParametricColor::FirstChoiceText() const {
    return m_parameters == 1 ? CString(u"颜色（C）") : CString(u"红色、绿色、蓝色（RGB）");
}

CString CDlgParametricColor::SecondChoiceText() const {
    return m_parameters == 1 ? CString(u"灰度（G）") : CString(u"色调、饱和度、亮度（HSL）");
}
