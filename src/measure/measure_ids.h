// Command ids of the Measure menu (the 度量 category of the ribbon).
#pragma once

#include "platform/types.h"

constexpr UINT ID_MEASURE_PXYZ = 33115;
constexpr UINT ID_MEASURE_COORD_X = 33117;
constexpr UINT ID_MEASURE_COORD_Y = 33118;
constexpr UINT ID_MEASURE_COORD_Z = 33119;
constexpr UINT ID_MEASURE_LLA = 33120;
constexpr UINT ID_MEASURE_LFA = 33121;
constexpr UINT ID_MEASURE_FFA = 33122;
constexpr UINT ID_MEASURE_ANGLE = 33123;
constexpr UINT ID_MEASURE_D_PF = 33124;
constexpr UINT ID_MEASURE_D_LL = 33125;
constexpr UINT ID_MEASURE_AREA = 33126;
constexpr UINT ID_MEASURE_VOLUME = 33127;
constexpr UINT ID_MEASURE_D_PP = 32963;
constexpr UINT ID_MEASURE_D_PL = 32964;
constexpr UINT ID_MEASURE_AREA_C = 33174;
constexpr UINT ID_MEASURE_LEN_C = 33175;
constexpr UINT ID_MEASURE_AREA_S = 33176;
constexpr UINT ID_MEASURE_VOLUME_S = 33177;
constexpr UINT ID_MEASURE_RADIUS = 33178;
constexpr UINT ID_MEASURE_PT = 33228;
constexpr UINT ID_MEASURE_VXYZ = 33231;

// The vector commands ("向量运算" and "平面法向量") and the label edit.
constexpr UINT ID_MEASURE_VEC_HE = 33239;        // "和"
constexpr UINT ID_MEASURE_VEC_CHA = 33240;       // "差"
constexpr UINT ID_MEASURE_VEC_SHUCHENG = 33241;  // "数乘向量"
constexpr UINT ID_MEASURE_VEC_SHUJI = 33242;     // "数量积"
constexpr UINT ID_MEASURE_VEC_SHIJI = 33243;     // "向量积"
constexpr UINT ID_MEASURE_VEC_HUNJI = 33244;     // "混合积"
constexpr UINT ID_MEASURE_VECFN = 33246;         // "平面法向量(&K)"
constexpr UINT ID_MEASURE_VEC_MO = 33248;        // "模"
constexpr UINT ID_EDIT_LABELMOD = 33251;         // "修改标签(&J)..."
constexpr UINT ID_MEASURE_VEC_COMPONENT = 33252; // "分量"
