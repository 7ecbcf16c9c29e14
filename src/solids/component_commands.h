// The right triangle, component and 3D text commands, the editing of a component through its dialog
// and the undo step of that edit.
#pragma once

#include "document/cmd_processor.h"
#include "solids/subassembly.h"

#include <memory>

constexpr UINT ID_CREATE_RIGHTTRIANGLE = 34129; // "添加直角三角形"
constexpr UINT ID_CREATE_SUBA = 34130;          // "添加组件"
constexpr UINT ID_CREATE_3DTEXT = 34131;        // "添加3D文字"
// The document's properties command, which opens the component's dialog once it exists.
constexpr UINT ID_EDIT_PROPERTY_COMMAND = 32851;
// The view's plane view ("二维"), which follows a new 3D text.
constexpr UINT ID_VIEW_PLANE_COMMAND = 33221;

// The edit of one component: the fields before it (or, while undone, after it), exchanged with the
// component's on undo and redo.  Built once the edit is made, from the fields as they were.
class CCmdModifySubassembly : public CCmd {
    DECLARE_DYNAMIC(CCmdModifySubassembly)
public:
    CCmdModifySubassembly(WORD id, const CGSubassembly& before, const CString& name);
    BOOL Undo() override { return Exchange(); }
    BOOL Redo() override { return Exchange(); }

    WORD m_id;
    std::unique_ptr<CGSubassembly> m_fields;

private:
    BOOL Exchange();
};
