// The view's process-wide state that the model reads and writes: camera, projection, drawing
// area, the matrices kept for unprojection, the pick ray, drag and mouse state, the vertex array.
#pragma once

#include "platform/types.h"

class CWnd;

// Camera of the current page (each page keeps its own copy and restores it when it becomes current).
extern float g_viewTransX;
extern float g_viewTransY;
extern float g_viewTransZ;         // -50.0 at start
extern double g_viewRotation[4];   // unit quaternion w, x, y, z
extern float g_viewZoom;           // 1.0 at start
extern int g_projectionType;       // 0 central, 1 orthographic, 2 oblique
extern float g_unitLength;         // world length of one screen unit, 0.05 at start
extern float g_backgroundColor[4]; // r, g, b, a in 0..1
extern BYTE g_viewLocked;          // mouse drags leave the camera alone
extern BYTE g_dragLocked;          // objects cannot be dragged
extern float g_viewSpeed;          // signed, 1.0: pan step, rotation speed and direction
extern int g_coordDisplayFlags;    // 1 axes, 2 labelled grid, 4 plain grid

// Drawing area in pixels.
extern int g_clientWidth;
extern int g_clientHeight;
// 1 / ((width - 1) / 2) and 1 / ((height - 1) / 2): client pixels to the unit square.
extern float g_pixelScaleX;
extern float g_pixelScaleY;

// OpenGL matrices (column-major) and viewport as the view last read them back: the modelview just
// before the page draws, the projection and viewport after every change of the projection.
extern double g_modelviewMatrix[16];
extern double g_projectionMatrix[16];
extern int g_viewport[4];

// The mouse ray: the window point unprojected at depth 0 (near) and 1 (far); the direction is near
// minus far as floats.
extern double g_pickRayNear[3];
extern double g_pickRayFar[3];
extern float g_viewDirX;
extern float g_viewDirY;
extern float g_viewDirZ;

// Drag state.
extern BYTE g_dragKeepZ;  // 1 unless Ctrl is held: points dragged in space keep z, else y
extern BYTE g_snapToGrid; // points placed or dragged in space get whole coordinates
extern WORD g_draggedId;  // the cell a following drag moves, 0 for none
extern int g_dragMode;    // 1 point, 5 button, 6 value or one-line text, 7 text box
extern BYTE g_dragMoved;
extern float g_labelPickAxisA[3];
extern float g_labelPickAxisB[3];

// Mouse.
extern int
    g_mouseTool; // 1 arrow, 2 point, 3 line, 4 face, 5 circle, 6 custom tool, 7 box, 8 screenshot, 9 ink
extern int g_mouseX;
extern int g_mouseY;
extern int g_mouseDX;
extern int g_mouseDY;
// Client position of the last left-button press: one corner of the box-select and screenshot
// rectangles (the other is the last mouse position).
extern int g_pressX;
extern int g_pressY;

// Shared vertex array: three floats per point of the current page, index 0 unused; the block
// (allocated with new[] by the view) has room for g_vertexArrayCapacity + 10 points.
extern float* g_vertexArray;
extern int g_vertexArrayCapacity;
// The three floats of vertex index `index`, or null when there is no array or the index lies past
// its end; nothing may read or write a point's entry without this check.
float* HxVertexSlot(DWORD index);

// First id of the view's base display lists (grid + 4, disk + 10, sphere + 11, cylinder + 12,
// cone + 13); 0 until the view has built them, and cells call none of them while it is 0.
extern unsigned int g_listBase;
// The deepest modelview matrix stack OpenGL offers, read when the view's context starts (32, the least
// OpenGL promises, until then), so that cells never have to ask OpenGL outside a frame.
extern int g_modelviewStackDepth;

// Screen size in pixels, read when the view is made.
extern int g_screenWidth;
extern int g_screenHeight;
// The view's kept background image of traces holds nothing (1) or the frame it last read back (0);
// any resize, three-view switch or new page sets it again.
extern BYTE g_traceImageEmpty;

// The media player while one plays, shared by media items and the view; none until media playback
// exists in this program (a command button's wait for the end of a playback then passes at once).
class CMediaPlayer;
extern CMediaPlayer* g_pMediaPlayer;

// Every global above back to its start value (frees the vertex block), and the tool and animation
// state of view_tool_globals.h.
void HxResetViewGlobals();

// The drawing view as a window, for the messages the model posts to it (link buttons); null while
// there is none.  The view sets it when it is made and clears it when it goes; the resets of the
// globals leave it alone.
CWnd* HxDrawingViewWindow();
void HxSetDrawingViewWindow(CWnd* view);
