// The show/hide button: its targets shown, hidden, toggled (the caption naming the next action) or
// shown one by one, in one tick.
#include "dynamics/buttons.h"

#include "model/page.h"

IMPLEMENT_SERIAL(CGButnSHide, CGButton, 1)

CGButnSHide::CGButnSHide() {
    m_kind = kToggle;
    m_name = u"隐藏";
}

CGButnSHide::CGButnSHide(WORD id) : CGButton(id, CString(u"隐藏")) {
    m_kind = kToggle;
    m_style = 0;
    if (g_pCurPage) {
        for (WORD target : g_pCurPage->m_selAll)
            AddParent(target);
    }
}

CString CGButnSHide::GetDescription() {
    return CString(u"显示隐藏对象的动作按钮");
}

void CGButnSHide::SetVerb(const char16_t* verb) {
    if (!m_nameFixed) {
        SetCaption(CString(verb));
        return;
    }
    if (m_name.GetLength() < 3)
        return;
    SetCaption(CString(verb) + m_name.Mid(2));
}

BOOL CGButnSHide::Step() {
    const int count = int(m_parents.GetSize());
    auto setHidden = [&](int i, int hidden) {
        if (CGCell* target = HxFindCell(m_parents[i]))
            target->m_hidden = hidden;
    };
    switch (m_kind) {
    case kShow:
        for (int i = 0; i < count; ++i)
            setHidden(i, 0);
        break;
    case kHide:
        for (int i = 0; i < count; ++i)
            setHidden(i, 1);
        break;
    case kToggle: {
        const bool showNow = m_style != 0;
        SetVerb(showNow ? u"隐藏" : u"显示");
        for (int i = 0; i < count; ++i)
            setHidden(i, showNow ? 0 : 1);
        m_style = showNow ? 0 : 1;
        break;
    }
    case kOneByOne: {
        const int shown = m_style;
        if (shown < count) {
            setHidden(shown, 0);
            m_style = BYTE(shown + 1);
        } else {
            for (int i = 0; i < count; ++i)
                setHidden(i, 1);
            m_style = 0;
        }
        break;
    }
    default:
        break;
    }
    return TRUE;
}
