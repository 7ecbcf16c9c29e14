// The 3DS model command and the editing of a model through its properties, with the undo step of that
// edit.
#pragma once

#include "document/cmd_processor.h"

class CGModel3ds;

constexpr UINT ID_3DSMODEL = 34138; // "添加3dsmax模型"

// The edit of one model's centre, scale, display style and hidden flag: the fields before it (or,
// while undone, after it), exchanged with the model's on undo and redo.
class CCmdModifyModel3ds : public CCmd {
    DECLARE_DYNAMIC(CCmdModifyModel3ds)
public:
    CCmdModifyModel3ds(const CGModel3ds& before, const CString& name);
    BOOL Undo() override { return Exchange(); }
    BOOL Redo() override { return Exchange(); }

    WORD m_id;
    float m_center[3];
    float m_scale;
    BYTE m_style;
    int m_hidden;

private:
    BOOL Exchange();
};
