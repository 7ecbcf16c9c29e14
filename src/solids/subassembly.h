// The component solid as far as the view drags it: its centre and its fixed flag.  Its record,
// shapes, materials and drawing belong to the solids code and come with it.
#pragma once

#include "model/cell.h"

class CGSubassembly : public CGCell {
    DECLARE_DYNAMIC(CGSubassembly)
public:
    // The drag of the arrow tool: unless the solid is fixed or the drag lock is set, the centre
    // moves to where the mouse ray (g_pickRayNear, g_viewDir*) meets the horizontal plane through
    // it (g_dragKeepZ set) or the plane of constant y (Ctrl held), when the ray crosses that plane
    // by more than 10 units.
    virtual void DragCentre();

    float m_center[3] = {0.0f, 0.0f, 0.0f};
    bool m_fixed = false;
};
