// Command ids handled by the view.
#pragma once

#include "dynamics/button_press.h"
#include "platform/types.h"

constexpr UINT ID_VIEW_TSFM_RESET = 32776;      // "三维视图复位" (Home)
constexpr UINT ID_VIEW_PROJ_PERSPEC = 32777;    // "中心投影"
constexpr UINT ID_VIEW_PROJ_ID_ORTHO = 32778;   // "正(等测)投影"
constexpr UINT ID_VIEW_PROJ_ID_XIEERCE = 32779; // "斜(二测)投影"
constexpr UINT ID_VIEW_PAN_DOWN = 33281;        // Shift+Down
constexpr UINT ID_VIEW_PAN_UP = 33282;          // Shift+Up
constexpr UINT ID_VIEW_PAN_LEFT = 33283;        // Shift+Left
constexpr UINT ID_VIEW_PAN_RIGHT = 33285;       // Shift+Right
constexpr UINT ID_VIEW_ZOOM_OUT = 33286;        // Alt+Down
constexpr UINT ID_VIEW_ZOOM_IN = 33287;         // Alt+Up
constexpr UINT ID_ANIMA_DA = 34074;             // "放大"
constexpr UINT ID_ANIMA_XIAO = 34075;           // "缩小"
constexpr UINT ID_VIEW_COLOR_RINGS = 33304;     // Ctrl+Alt+C: the coloured rings

// The tools.
constexpr UINT ID_EDIT_SELECT = 32771;        // "箭头工具"
constexpr UINT ID_CREATE_POINT = 33610;       // 点 (Shift+P)
constexpr UINT ID_CREATE_LINE_TOOL = 33429;   // 线 (Shift+L), ID_CREATE_LINE
constexpr UINT ID_CREATE_POLYGON = 33612;     // 面 (Shift+F)
constexpr UINT ID_CREATE_CIRCLE = 33611;      // 圆 (Shift+C)
constexpr UINT ID_CREATE_PLAY = 33643;        // 动画 影音: action buttons from the selection, else the media
constexpr UINT ID_VIEW_MEDIA = 33309;         // 影音播放
constexpr UINT ID_CUSTOM_TOOL_BUTTON = 33621; // 自定义, ID_CUSTOM_TOOL (the frame runs it)
constexpr UINT ID_EDIT_SELBOX = 33278;        // 框选
constexpr UINT ID_EDIT_COPYBIT = 33279;       // 区域截图 (Ctrl+B)
constexpr UINT ID_VIEW_GRID3 = 33606;         // 网格
constexpr UINT ID_VIEW_ERASE = 33638;         // 擦除踪迹、墨迹
constexpr UINT ID_VIEW_SNAPSHOT = 33267;      // 对象快照
constexpr UINT ID_CREATE_INKMARKS = 33587;    // 画笔 ("画笔手绘")
constexpr UINT ID_INK_SAVE = 33594;           // "保存墨迹" (ID_INK_ERASE 33593 "擦除墨迹")

// The media player's other commands, and the frame's full-screen (F4) and Esc commands, which the
// player's full-screen window hands on.
constexpr UINT ID_VIEW_MEDIA_SETTINGS = 33310; // "播放设置" (Ctrl+Alt+M)
constexpr UINT ID_VIEW_MEDIA_CTRL = 33510;     // 切换播放控制
constexpr UINT ID_VIEW_MEDIA_CLOSE = 32789;    // 关闭影音 (Esc closes it through the frame)
constexpr UINT ID_VIEW_FULLSCREEN = 32772;
constexpr UINT ID_VIEW_ESCAPE = 32787;

// Printing.
constexpr UINT ID_FILE_PRINT = 57607;         // "打印"
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;  // "快速打印": the default printer, no dialog
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609; // "打印预览" ("显示整页")

// Undo and redo (Ctrl+Z and Alt+Backspace, Ctrl+R) are ID_EDIT_UNDO and ID_EDIT_REDO.

// Animation and view options.
constexpr UINT ID_ANIMA_PLAYSTOP = 32783;    // "视变换启动与停止" (Space)
constexpr UINT ID_VIEW_GRID = 32981;         // "坐标系"
constexpr UINT ID_VIEW_SNAP = 32982;         // "自动吸附"
constexpr UINT ID_VIEW_COORDLINE = 33137;    // "坐标线"
constexpr UINT ID_VIEW_PORT = 32984;         // "三视图" (F3)
constexpr UINT ID_VIEW_PORT_F = 33111;       // "前视图"
constexpr UINT ID_VIEW_PORT_T = 33112;       // "顶视图"
constexpr UINT ID_VIEW_PORT_L = 33114;       // "左视图"
constexpr UINT ID_VIEW_3VIEWSHOWPER = 33157; // "画三视图时画直观图"
constexpr UINT ID_VIEW_LOCK = 33145;         // "锁定视变换"
constexpr UINT ID_VIEW_LOCKTOW = 33206;      // "锁定拖移"
constexpr UINT ID_KEY_LEFT = 33148;          // Left
constexpr UINT ID_KEY_RIGHT = 33149;         // Right
constexpr UINT ID_KEY_UP = 33150;            // Up
constexpr UINT ID_KEY_DOWN = 33151;          // Down
constexpr UINT ID_KEY_CTRL_DOWN = 33152;     // Ctrl+Down: faster, z down
constexpr UINT ID_KEY_CTRL_LEFT = 33154;     // Ctrl+Left
constexpr UINT ID_KEY_CTRL_UP = 33155;       // Ctrl+Up: slower, z up
constexpr UINT ID_KEY_CTRL_RIGHT = 33156;    // Ctrl+Right
constexpr UINT ID_ROT_XPLUS = 34066;         // "绕X轴正转"
constexpr UINT ID_ROT_XMINUS = 34067;        // "绕X轴反转"
constexpr UINT ID_ROT_ZPLUS = 34068;         // "绕Z轴正转"
constexpr UINT ID_ROT_ZMINUS = 34069;        // "绕Z轴反转"
constexpr UINT ID_ROT_YMINUS = 34070;        // "绕Y轴反转"
constexpr UINT ID_ROT_YPLUS = 34071;         // "绕Y轴正转"
constexpr UINT ID_VIEW_PORT_TT = 33221;      // "二维视图"
constexpr UINT ID_EDIT_PREFERONCES = 33229;  // "选项"
constexpr UINT ID_VIEW_TRACKBALL = 33715;    // Ctrl+Alt+W
constexpr UINT ID_VIEW_BORDERS = 33724;      // "显示/隐藏1024*768边界线"
constexpr UINT ID_CREATE_TEXT_MTF = 33160;   // "添加彩色图象文本"
constexpr UINT ID_EDIT_RETEXTURE = 33303;    // "更换纹理图片(&M)"
constexpr UINT ID_CREATE_IMAGE = 33600;      // "图片(&E)..."
constexpr UINT ID_CREATE_TEXT = 32881;       // "粘贴单色位图文本(&P)"
constexpr UINT ID_CREATE_BASE_2D = 33713;    // "二维坐标轴": plane axes with ticks, then the plane view

// Window messages to the view: the main frame's colour button (UM_APPLY_COLOR, wParam the colour).
constexpr UINT UM_VIEW_APPLY_COLOR = 0x7E9;
