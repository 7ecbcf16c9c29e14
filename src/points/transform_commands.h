// The transform commands of the document: marking a centre, axis, ratio, vector, angle or mirror on
// the current page, and translating, rotating, dilating and reflecting the selection into tied
// copies; the values the dialogs remember between commands.
#pragma once

#include "platform/afx.h"

constexpr UINT ID_TRANS_MARKCENTER = 33101;
constexpr UINT ID_TRANS_MARKAXIS = 33102;
constexpr UINT ID_TRANS_MARKRATIO = 33103;
constexpr UINT ID_TRANS_MARKVECTOR = 33104;
constexpr UINT ID_TRANS_MARKANGLE = 33105;
constexpr UINT ID_TRANS_MARKMIRROR = 33106;
constexpr UINT ID_TRANS_TRANSLATE = 33107;
constexpr UINT ID_TRANS_ROTATE = 33108;
constexpr UINT ID_TRANS_DILATE = 33109;
constexpr UINT ID_TRANS_DEFLECT = 33110;

// The values typed into the transform dialogs, kept for the next command of the run (all pages and
// documents; never stored).
struct CTransformEntries {
    float m_vector[3] = {0.0f, 0.0f, 1.0f};
    float m_axisDirection[3] = {0.0f, 0.0f, 1.0f};
    float m_axisPoint[3] = {0.0f, 0.0f, 0.0f};
    float m_angleDegrees = 90.0f;
    float m_ratio = 0.5f;
    BYTE m_reflectMask = 7; // the origin
};
extern CTransformEntries g_transformEntries;
void HxResetTransformEntries();

// The undo names of the four commands.
extern const char16_t* const g_transTranslateName; // "添加图元平移"
extern const char16_t* const g_transRotateName;    // "添加图元旋转"
extern const char16_t* const g_transScaleName;     // "添加图元缩放"
extern const char16_t* const g_transReflectName;   // "添加图元反射"
