// Cells that carry the registered names of classes other parts of the program define later
// (colour modifiers, ink marks), so that rules which recognise those classes
// by name can be tried now.
#pragma once

#include "model/cell.h"
#include "model/vertex.h"

template <const char* Name> class CNamedStandIn : public CGCell {
public:
    static const CRuntimeClass s_class;
    const CRuntimeClass* GetRuntimeClass() const override { return &s_class; }
};
template <const char* Name>
const CRuntimeClass CNamedStandIn<Name>::s_class = {Name, int(sizeof(CGCell)), 0xFFFF, nullptr,
                                                    RUNTIME_CLASS(CGCell)};

inline constexpr char kColorModifierName[] = "CGMdfColor";
inline constexpr char kInkmarksName[] = "CGInkmarks";
using CColorModifierStandIn = CNamedStandIn<kColorModifierName>;
using CInkmarksStandIn = CNamedStandIn<kInkmarksName>;
