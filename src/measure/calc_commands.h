// The calculation, new-parameter and parameter-step commands: their ids, undo texts and the
// process-wide number of the next default parameter name.
#pragma once

#include "platform/afx.h"

constexpr UINT ID_MEASURE_FUN = 32978;         // 计算 (Alt+=)
constexpr UINT ID_MEASURE_PARAMETER = 33173;   // 新建参数
constexpr UINT ID_PARAMETER_STEP_UP = 33226;   // the plus keys
constexpr UINT ID_PARAMETER_STEP_DOWN = 33227; // the minus keys

extern const char16_t* const g_calculationUndoName; // "添加一个表达式"
extern const char16_t* const g_parameterUndoName;   // "添加新参数"

// The number in the next default parameter name "t%d": 1 when the program starts, shared by every
// page and document, advanced only when a parameter is created.
extern int g_parameterCounter;

// Degrees to radians, as the parameter command converts a value shown as an angle.
constexpr float kParameterDegree = 0.017453292f;
