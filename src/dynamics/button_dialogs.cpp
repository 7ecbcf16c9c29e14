// The action-button dialogs' fields: the speed presets, the loop controls of the series dialog and
// the command button's list of commands and its editing.
#include "dynamics/button_dialogs.h"

#include <map>
#include <utility>

IMPLEMENT_DYNAMIC(CDlgBtnAnimation, CDialog)
IMPLEMENT_DYNAMIC(CDlgBtnAnimation2, CDialog)
IMPLEMENT_DYNAMIC(CDlgBtnMove, CDialog)
IMPLEMENT_DYNAMIC(CDlgBtnShide, CDialog)
IMPLEMENT_DYNAMIC(CDlgBtnPresentat, CDialog)
IMPLEMENT_DYNAMIC(CDlgBtnLink, CDialog)

const char16_t* const CDlgBtnShide::kActionNames[4] = {u"总是显示对象", u"总是隐藏对象", u"切换显示/隐藏",
                                                       u"逐一显示对象"};
const char16_t* const CDlgBtnPresentat::kLoopNames[5] = {u"不循环", u"固定次数循环", u"for循环", u"While循环",
                                                         u"Until循环"};
// The address a new link offers until the user types another.
const char16_t* const CDlgBtnLink::kDefaultHyperlink = u"https://www.example.com/";

int CHxSpeedPresets::ChoiceFor(float step) const {
    if (step == fast)
        return kFast;
    if (step == medium)
        return kMedium;
    if (step == slow)
        return kSlow;
    return kCustom;
}

float CHxSpeedPresets::StepFor(int choice, float step) const {
    switch (choice) {
    case kFast:
        return fast;
    case kMedium:
        return medium;
    case kSlow:
        return slow;
    default:
        return step;
    }
}

CDlgBtnPresentat::CLoopControls CDlgBtnPresentat::ControlsFor(int loopKind) {
    switch (loopKind) {
    case 1:
        return {true, false, false, false, false};
    case 2:
        return {false, true, true, false, false};
    case 3:
        return {false, false, true, true, false};
    case 4:
        return {false, false, true, false, true};
    default:
        return {false, false, false, false, false};
    }
}

// ---------------------------------------------------------------------------------------------
// The command button's sequence

IMPLEMENT_DYNAMIC(CDlgCmdBtn, CDialog)

const std::vector<CDlgCmdBtn::CCommand>& CDlgCmdBtn::Available() {
    static const std::vector<CCommand> commands = {
        {u"三维视图", 32776},       {u"进入全屏", 32790},         {u"退出全屏", 32786},
        {u"切换全屏状态", 32772},   {u"显示面板及状态栏", 32785}, {u"隐藏面板及状态栏", 32784},
        {u"显隐全屏工具栏", 33271}, {u"中心投影", 32777},         {u"正投影", 32778},
        {u"斜投影", 32779},         {u"切换三视图", 32984},       {u"播放影音", 33309},
        {u"等待播放结束", 32788},   {u"关闭影音", 32789},         {u"视频拉伸", 33150},
        {u"视频复原", 33151},       {u"显隐坐标系", 32981},       {u"擦除踪迹", 33262},
        {u"上一页", 32861},         {u"下一页", 32862},           {u"打开", 57601},
        {u"保存", 57603},           {u"退出程序", 57665},         {u"关于Halvix", 57664},
    };
    return commands;
}

CString CDlgCmdBtn::CommandName(int id) {
    static const std::map<int, CString> names = [] {
        std::map<int, CString> m;
        for (const CCommand& c : Available())
            m[c.id] = c.name;
        return m;
    }();
    const auto it = names.find(id);
    return it == names.end() ? CString() : it->second;
}

void CDlgCmdBtn::Append(int index) {
    if (index < 0 || index >= int(Available().size()))
        return;
    m_sequence.push_back(Available()[size_t(index)].id);
    SelectLast();
}

void CDlgCmdBtn::MoveUp() {
    if (!CanMoveUp())
        return;
    std::swap(m_sequence[size_t(m_selected)], m_sequence[size_t(m_selected - 1)]);
    --m_selected;
}

void CDlgCmdBtn::MoveDown() {
    if (!CanMoveDown())
        return;
    std::swap(m_sequence[size_t(m_selected)], m_sequence[size_t(m_selected + 1)]);
    ++m_selected;
}

void CDlgCmdBtn::Delete() {
    if (!CanDelete())
        return;
    m_sequence.erase(m_sequence.begin() + m_selected);
    if (m_selected >= int(m_sequence.size()))
        m_selected = int(m_sequence.size()) - 1;
}
