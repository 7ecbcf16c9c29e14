// The positioning-figure dialog's class record, its type names and which fields each type uses.
#include "construct/static_figure_dialog.h"

IMPLEMENT_DYNAMIC(CDlgStaticHalvix, CDialog)

const char16_t* const CDlgStaticHalvix::kTypeNames[kTypeCount] = {
    u"长方体",     u"正棱柱",     u"正棱锥", u"正棱台", u"正多边形", u"正四面体", u"正六面体", u"正八面体",
    u"正十二面体", u"正二十面体", u"圆",     u"圆柱",   u"圆锥",     u"圆台",     u"球"};
const char16_t* const CDlgStaticHalvix::kTypedText = u"正方体(棱长10)";

bool CDlgStaticHalvix::Uses(int type, int field) {
    const bool round = type >= kCircle && type <= kSphere;
    switch (field) {
    case kLength:
    case kWidth:
        return type == kCuboid;
    case kHeight:
        return type == kCuboid || (type >= kPrism && type <= kFrustum) ||
               (type >= kCylinder && type <= kRoundFrustum);
    case kSideCount:
        return type >= kPrism && type <= kPolygon;
    case kRadius:
        return type >= kPrism && type <= kSphere;
    case kRatio:
        return type == kFrustum || type == kRoundFrustum;
    case kAxisX:
    case kAxisY:
    case kAxisZ:
        return round;
    default:
        return false;
    }
}
