// The common record of a cell as expected bytes, built field by field from the values a test gives.
#pragma once

#include "model/model_globals.h"
#include "support/archive_helpers.h"

#include <string>
#include <vector>

// The common record of a cell, field by field, from the values a test gives.
struct CommonRecord {
    WORD id = 0;
    std::u16string name;
    bool valid = true;
    int hidden = 0;
    int labelHidden = 1;
    BYTE style = 0, kind = 0;
    float labelPos[3] = {0, 0, 0};
    CRgba color{0, 0, 128, 255};
    CRgba labelColor{0, 0, 0, 255};
    float size = 2.0f;
    float param[3] = {0, 0, 0}; // m_param1 to m_param3
    int param4 = 0;
    std::u16string text1 = {}; // the second string (the font of a component)
    bool nameFixed = false;
    std::vector<WORD> parents = {}, children = {};
    int extA1 = 0, extA2 = 0; // the three-word block
    float extA3 = 0.0f;
    std::u16string text3 = {};

    void AppendTo(ByteBuilder& b) const {
        b.U16(id).Str(name).U8(valid).I32(hidden).I32(labelHidden).U8(style).U8(kind);
        b.F32(labelPos[0]).F32(labelPos[1]).F32(labelPos[2]);
        b.U8(color.r).U8(color.g).U8(color.b).U8(color.a);
        b.U8(labelColor.r).U8(labelColor.g).U8(labelColor.b).U8(labelColor.a);
        b.F32(param[0]).F32(param[1]).F32(param[2]).I32(param4).Str(text1).U8(nameFixed).F32(size).U8(0);
        b.I32(extA1).I32(extA2).F32(extA3).Str(text3);
        b.I32(0).I32(0).I32(0).I32(0).F32(0).Str(u"");
        b.U16(unsigned(parents.size()));
        for (WORD p : parents)
            b.U16(p);
        b.U16(unsigned(children.size()));
        for (WORD c : children)
            b.U16(c);
    }
};
