// The point commands' input dialogs: their class records and the crossing-count prompt.
#include "construct/point_dialogs.h"

IMPLEMENT_DYNAMIC(CDlgIntersectionNum, CDialog)
IMPLEMENT_DYNAMIC(DlgDivPoint, CDialog)

CString CDlgIntersectionNum::PromptFor(int count) {
    CString text;
    if (count < kMaxNumber)
        text.Format(u"当前状态有%d "
                    u"个交点，请输入你要添加的个数：\n\r（多余的交点在条件适合时才会显示；按“取消”不添加）",
                    count);
    else
        text.Format(u"当前状态至少有%d 个交点，请输入你要添加的个数：\n\r（不超过32个；按“取消”不添加）",
                    count);
    return text;
}
