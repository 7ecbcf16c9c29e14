// Command ids of the document's point, iteration, trace and style commands, and their undo texts.
#pragma once

#include "platform/types.h"

constexpr UINT ID_TRANS_ITERATE = 33225;               // "变换(&T)/迭代(&I)..."
constexpr UINT ID_CREATE_POINT_PATH = 34154;           // "复合路径上的点"
constexpr UINT ID_CREATE_POINT_ORIGIN = 34040;         // "坐标原点"
constexpr UINT ID_CREATE_POINT_INOBJ_FT = 33695;       // "对象上同参点"
constexpr UINT ID_CREATE_TRACK = 33694;                // "形迹"
constexpr UINT ID_VIEW_FLATOBJ_IN = 33711;             // "越界的平面对象入境"
constexpr UINT ID_CREATE_FREE3_POINT = 34190;          // "全自由点": our own number, no table gives one
constexpr UINT ID_CREATE_POINT_SCALE_INCIRCLE = 34191; // "圆上分点": our own number
constexpr UINT ID_CREATE_POINT_TOUYING = 34192;        // "投影点": our own number
constexpr UINT ID_EDIT_BTN_ADDOBJ = 34193;             // "增删"隐藏/显示"对象": our own number
constexpr UINT ID_EDIT_STYLES = 34194;                 // "格式刷": our own number

// The refusals of the iterate command (captions after the texts).
inline constexpr const char16_t* kIterateValueNotFree = u"所选值不独立。\r\n请重新选择！";
inline constexpr const char16_t* kIterateValueNotFreeCaption = u"选择不合条件";
inline constexpr const char16_t* kIterateConflict =
    u"迭代的时候您不能将迭代点构造于当前的迭代对象上。\r\n这些对象不可作为原象出现！";
inline constexpr const char16_t* kIterateConflictCaption = u"与原象相冲突";
inline constexpr const char16_t* kIterateNoImage = u"不合条件，无法构建初像。\r\n请重新选择！";
inline constexpr const char16_t* kIterateNoImageCaption = u"丢失初像";
// The point on a compound path: the pieces it takes.
inline constexpr const char16_t* kPathPiecesMessage =
    u"请只选择线段、圆弧、曲线或轨迹对象至少两个,至多32个！";
// The point at the same or a fixed parameter.
inline constexpr const char16_t* kOneDriverMessage = u"数值或路径上点只要选择一个！";
inline constexpr const char16_t* kPathObjectsMessage = u"请选择线段、圆弧、曲线或轨迹对象至少两个,至多32个！";
// The shape trace (caption "形迹").
inline constexpr const char16_t* kTrackCaption = u"形迹";
inline constexpr const char16_t* kTrackNotPathPoint = u"选择的不是路径点，无法构建。\r\n请重新选择！";
inline constexpr const char16_t* kTrackTwoValues = u"应选择2个度量值\r\n请重新选择！";
inline constexpr const char16_t* kTrackNothing = u"不合条件，无法构建。\r\n请重新选择！";
inline constexpr const char16_t* kTrackNotParameter = u"选择的不是可变参数，无法构建。\r\n请重新选择！";
inline constexpr const char16_t* kTrackThreeValues = u"应选择3个度量值\r\n请重新选择！";
inline constexpr const char16_t* kTrackNoFigure = u"后代无适合绘制的图元，无法构建。\r\n请重新选择！";
// The objects of a show/hide button.
inline constexpr const char16_t* kAddObjectsLater = u"有些对象不能添加，它们生成于该按钮之后。";
inline constexpr const char16_t* kAddObjectsEmpty = u"当前按钮控制对象为空，建议删除它。";
// Bringing planar objects into view.
inline constexpr const char16_t* kFlatObjectsMoved =
    u"当前文档中 %d个 越界对象已经调整入境，请全屏显示、拖动修改！";
inline constexpr const char16_t* kFlatObjectsNone = u"当前文档中无越界对象，全屏显示或许可以看到！";
// The depth value of an iteration (the properties command).
inline constexpr const char16_t* kDepthValueNotVariable = u"未能添加含参数的迭代\n选中的不是一个数值参数！";
inline constexpr const char16_t* kDepthValueTooLate =
    u"未能添加含参数的迭代\n选中的参数必须先于迭代之前创建（父不能小于子）！";
inline constexpr const char16_t* kDepthValueLarge = u"参数的当前值较大，建议深度为1-%d，请控制参数值范围！";
inline constexpr const char16_t* kDepthValueNegative = u"参数的当前值为负，建议深度为1-%d，请控制参数值范围";
inline constexpr const char16_t* kDepthValueTaken =
    u"选中的参数将作为迭代深度，建议控制在1-%d，否则可能运行缓慢！";
