// The items of the view's context menus.
#include "view/context_menus.h"

namespace {

// Commands of the menus (their handlers belong to the document, the view and the measurements).
constexpr UINT kProperties = 32851;   // ID_EDIT_PROPERTY
constexpr UINT kMarkCenter = 33101;   // ID_TRANS_MARKCENTER
constexpr UINT kMarkAxis = 33102;     // ID_TRANS_MARKAXIS
constexpr UINT kMarkMirror = 33106;   // ID_TRANS_MARKMIRROR
constexpr UINT kLabelModify = 33251;  // ID_EDIT_LABELMOD
constexpr UINT kRenderSolid = 33276;  // ID_VIEW_RENDERSOLID
constexpr UINT kFill = 33202;         // ID_VIEW_FILL
constexpr UINT kPointValue = 33228;   // ID_MEASURE_PT
constexpr UINT kPointXyz = 33115;     // ID_MEASURE_PXYZ
constexpr UINT kCoordX = 33117;       // ID_MEASURE_COORD_X
constexpr UINT kCoordY = 33118;       // ID_MEASURE_COORD_Y
constexpr UINT kSegment = 32834;      // ID_CREATE_LINE_SEGMENT
constexpr UINT kRay = 32835;          // ID_CREATE_LINE_HALF
constexpr UINT kLine = 32836;         // ID_CREATE_LINE_STRAIGHT
constexpr UINT kVector = 32837;       // ID_CREATE_LINE_VECTOR
constexpr UINT kMidpoint = 32796;     // ID_CREATE_POINT_MIDDLE
constexpr UINT kLength = 32963;       // ID_MEASURE_D_PP
constexpr UINT kVectorXyz = 33231;    // ID_MEASURE_VXYZ
constexpr UINT kNormal = 33246;       // ID_MEASURE_VECFN
constexpr UINT kArea = 33126;         // ID_MEASURE_AREA
constexpr UINT kBoxSelect = 33278;    // ID_EDIT_SELBOX
constexpr UINT kShowHidden = 34160;   // ID_EDIT_SHOWOBJECT
constexpr UINT kCoordSystem = 32981;  // ID_VIEW_GRID
constexpr UINT kGrid = 33606;         // ID_VIEW_GRID3
constexpr UINT kWeightInput = 33326;  // ID_VIEW_WEIGHT_SHURU
constexpr UINT kTranslucent = 33327;  // ID_VIEW_TRANSLUCENT
constexpr UINT kNewParameter = 33173; // ID_MEASURE_PARAMETER
constexpr UINT kCalculate = 32978;    // ID_MEASURE_FUN
constexpr UINT kView2D = 33221;       // ID_VIEW_PORT_TT
constexpr UINT kView3D = 32776;       // ID_VIEW_TSFM_RESET
constexpr UINT kFullScreen = 32772;   // ID_VIEW_FULLSCREEN
constexpr UINT kAnimation = 32972;    // ID_EDIT_BTN_ANIMATION
constexpr UINT kReverse = 33277;      // ID_EDIT_REVERSE
constexpr UINT kSplit = 33284;        // ID_EDIT_SPLIT
constexpr UINT kHide = 33207;         // ID_VIEW_HIDEOBJECTS
constexpr UINT kShowLabel = 33208;    // ID_VIEW_SHOWHIDE_LABEL
constexpr UINT kTrace = 33198;        // ID_VIEW_TRACE
constexpr UINT kRandomColor = 2026;   // ID_COLOR26
constexpr UINT kBorderPoint = 34154;  // ID_CREATE_POINT_PATH (with the face selected: its border)

const std::vector<CContextMenuItem> kPointMenu = {
    {u"属性...", kProperties},  {u"隐藏点", kHide},
    {u"显示标签", kShowLabel},           {u"修改标签...", kLabelModify},
    {u"标志中心", kMarkCenter}, {u"分离点", kSplit},
    {u"点大小...", kWeightInput},          {u"动画...", kAnimation},
    {u"追踪图元", kTrace},           {u"光照处理", kRenderSolid},
    {u"点的值 t", kPointValue}, {u"坐标(x,y,z)", kPointXyz},
    {u"坐标 x", kCoordX},       {u"坐标 y", kCoordY},
};

const std::vector<CContextMenuItem> kLineMenu = {
    {u"属性...", kProperties},
    {u"隐藏线", kHide},
    {u"标志轴", kMarkAxis},
    {u"线反向", kReverse},
    {u"线粗细...", kWeightInput},
    {u"线段", kSegment},
    {u"射线", kRay},
    {u"直线", kLine},
    {u"向量", kVector},
    {u"中点", kMidpoint},
    {u"线上点", 0},
    {u"追踪图元", kTrace},
    {u"光照处理", kRenderSolid},
    {u"长度", kLength},
    {u"向量坐标", kVectorXyz},
};

const std::vector<CContextMenuItem> kFaceMenu = {
    {u"属性...", kProperties},
    {u"隐藏面", kHide},
    {u"标志镜面", kMarkMirror},
    {u"面反向", kReverse},
    {u"追踪图元", kTrace},
    {u"填充颜色", kFill},
    {u"光照处理", kRenderSolid},
    {u"透明材质", kTranslucent},
    {u"面内点", 0},
    {u"边界上的点", kBorderPoint},
    {u"平面法向量", kNormal},
    {u"多边形面积", kArea},
};

const std::vector<CContextMenuItem> kGeneralMenu = {
    {u"属性...", kProperties},
    {u"框选对象", kBoxSelect},
    {u"随机着色", kRandomColor},
    {u"显示标签", kShowLabel},
    {u"编辑文本与标签...", kLabelModify},
    {u"隐藏对象", kHide},
    {u"显示所有隐藏", kShowHidden},
    {u"显示/隐藏坐标系", kCoordSystem},
    {u"显示/隐藏网格", kGrid},
    {u"新建参数...", kNewParameter},
    {u"计算...", kCalculate},
    {u"二维视图", kView2D},
    {u"三维视图", kView3D},
    {u"全屏", kFullScreen},
};

const std::vector<CContextMenuItem> kNoItems;

HxContextMenuPresenter g_presenter;

} // namespace

const char16_t* HxContextMenuTitle(UINT menuId) {
    switch (menuId) {
    case IDR_POPUP_POINT:
        return u"点的快捷菜单";
    case IDR_POPUP_LINE:
        return u"线的快捷菜单";
    case IDR_POPUP_FACE:
        return u"面的快捷菜单";
    case IDR_POPUP_EDIT:
        return u"弹出";
    default:
        return u"";
    }
}

const std::vector<CContextMenuItem>& HxContextMenuItems(UINT menuId) {
    switch (menuId) {
    case IDR_POPUP_POINT:
        return kPointMenu;
    case IDR_POPUP_LINE:
        return kLineMenu;
    case IDR_POPUP_FACE:
        return kFaceMenu;
    case IDR_POPUP_EDIT:
        return kGeneralMenu;
    default:
        return kNoItems;
    }
}

void HxSetContextMenuPresenter(HxContextMenuPresenter presenter) {
    g_presenter = std::move(presenter);
}

void HxShowContextMenu(UINT menuId, CPoint screenPoint) {
    if (g_presenter)
        g_presenter(menuId, screenPoint);
}
