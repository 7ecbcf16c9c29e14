// The items of the view's context menus that run the display and colour commands of the document:
// hide, show label, trace, random colour, and the text-and-label edit.
#include "document/display_ids.h"
#include "view/context_menus.h"

#include <gtest/gtest.h>

namespace {

UINT IdOf(UINT menu, const char16_t* text) {
    for (const CContextMenuItem& item : HxContextMenuItems(menu)) {
        if (CString(item.text) == CString(text))
            return item.id;
    }
    ADD_FAILURE() << "no such item in menu " << menu;
    return 0;
}

TEST(ContextMenus, DisplayItemsRunTheirCommands) {
    const struct {
        UINT menu;
        const char16_t* text;
        UINT id;
    } rows[] = {
        {IDR_POPUP_POINT, u"隐藏点", ID_VIEW_HIDEOBJECTS},
        {IDR_POPUP_POINT, u"显示标签", ID_VIEW_SHOWHIDE_LABEL},
        {IDR_POPUP_POINT, u"追踪图元", ID_VIEW_TRACE},
        {IDR_POPUP_LINE, u"隐藏线", ID_VIEW_HIDEOBJECTS},
        {IDR_POPUP_LINE, u"追踪图元", ID_VIEW_TRACE},
        {IDR_POPUP_FACE, u"隐藏面", ID_VIEW_HIDEOBJECTS},
        {IDR_POPUP_FACE, u"追踪图元", ID_VIEW_TRACE},
        {IDR_POPUP_FACE, u"填充颜色", ID_VIEW_FILL},
        {IDR_POPUP_EDIT, u"随机着色", ID_COLOR26},
        {IDR_POPUP_EDIT, u"显示标签", ID_VIEW_SHOWHIDE_LABEL},
        {IDR_POPUP_EDIT, u"编辑文本与标签...", 33251},
        {IDR_POPUP_EDIT, u"隐藏对象", ID_VIEW_HIDEOBJECTS},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IdOf(row.menu, row.text), row.id) << CString(row.text).GetLength();
}

} // namespace
