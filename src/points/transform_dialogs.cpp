// The transform dialogs' classes and the coordinate elements of the reflection.
#include "points/transform_dialogs.h"

IMPLEMENT_DYNAMIC(CDlgTransTranslate, CDialog)
IMPLEMENT_DYNAMIC(CDlgTransRotate, CDialog)
IMPLEMENT_DYNAMIC(CDlgTransScale, CDialog)
IMPLEMENT_DYNAMIC(CDlgTransDeflect, CDialog)

const char16_t* const CDlgTransDeflect::kElementNames[kElementCount] = {u"原点",  u"X轴",   u"Y轴",  u"Z轴",
                                                                        u"YOZ面", u"XOZ面", u"XOY面"};
const BYTE CDlgTransDeflect::kElementMasks[kElementCount] = {7, 6, 5, 3, 1, 2, 4};

int CDlgTransDeflect::ElementIndexOf(BYTE mask) {
    for (int i = 0; i < kElementCount; ++i) {
        if (kElementMasks[i] == mask)
            return i;
    }
    return -1;
}
