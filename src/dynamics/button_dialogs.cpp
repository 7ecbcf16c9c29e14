// The action-button dialogs' fields: the speed presets and the loop controls of the series dialog.
#include "dynamics/button_dialogs.h"

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
