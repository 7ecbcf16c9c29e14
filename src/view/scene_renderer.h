// The drawing of the view without its window: the OpenGL set-up (default state, textures, display
// lists, glyphs), the drawing area, one frame of the current page (trace background, camera or the
// three-view quadrants with their captions, the page's render passes, the overlays) and the kept
// trace image.  The view widget derives from it; tests and benchmarks draw with it into a framebuffer.
#pragma once

#include "model/model_globals.h"

#include <vector>

// Colour of the coordinate lines and of the editing-area border: 64, 64, 64, 255.
extern CRgba g_colorCoordLines;

// The coordinate read-out of the drawing tools: "( x, y, z )", each number "%.0f" within 1e-6 of a
// whole number and "%.1f" otherwise; the arrow tool's starts with three spaces.
CString FormatCoordinateReadout(const double p[3], bool arrowTool);
// Where the read-out is drawn, in window pixels from the cursor point at window position (x, y) to
// the start of the text's baseline (dx right, dy up): right of the mouse pointer and below the
// point, clear of the point's label above it; left of the point when the text would pass the
// drawing area's right edge; above it, on the left, when it would pass the bottom edge.
void CoordinateReadoutOffset(double x, double y, int textWidth, int textHeight, const int viewport[4],
                             int& dx, int& dy);

// The OpenGL state every frame starts from (stipples, smoothing, blending, polygon offset, light 0
// and the material); the set-up applies it once.
void HxApplyDefaultGlState();

// Bytes of the kept image for a width and height: rows of 24-bit pixels padded to 4 bytes, with
// room to spare ((width x 24 + 271) / 32 x 4 per row, height + 10 rows).
size_t TraceImageBytes(int width, int height);

class CSceneRenderer {
public:
    // Reads the screen size and makes the kept image for it; no OpenGL is touched.
    CSceneRenderer();
    virtual ~CSceneRenderer();
    CSceneRenderer(const CSceneRenderer&) = delete;
    CSceneRenderer& operator=(const CSceneRenderer&) = delete;

    // With the view's context current: the vertex array, the default state, the fifteen textures
    // (three document textures and the installation images), the textured glyphs, the display
    // lists and the glyph lists.  False when an installation image is missing or no display lists
    // can be had; the view is then not usable.
    bool InitOpenGL();
    // The 31 lists, the two glyph blocks and the caption glyphs; false without ids.
    bool BuildDisplayLists();
    // Deletes every list, glyph, texture and the textured glyphs (the context must be current).
    void ReleaseOpenGL();
    bool IsGlReady() const { return m_glReady; }
    // InitOpenGL ran (and may have made some resources even when it failed) since the last release.
    bool HasGlResources() const { return m_glStarted; }

    // A new drawing area of cx x cy pixels (ignored unless both exceed 2): pixel scales, the kept
    // image, the projection, the viewport.  Returns false when nothing changed.
    bool OnSize(int cx, int cy);
    // The screen changed size: the kept image is made again, empty.
    void OnDisplayChange(int width, int height);

    // One frame of the current page into the bound framebuffer (the caller presents it).  It does
    // not wait for the drawing to finish: whoever reads the pixels back does.
    void DrawFrame();
    // The camera matrix and viewport a frame drawn now would leave in g_modelviewMatrix and
    // g_viewport (the mouse works with them), without drawing; the context must be current.
    void ApplyFrameCamera();
    // Adds the traced cells to the kept image: the image so far, the traced cells over it, and the
    // whole frame read back.
    void RedrawBackground();

    std::vector<BYTE> m_traceImage;
    // Glyph strings (text cache) of "主视图", "左视图", "俯视图", "直观图" and "左击或右击".
    CString m_captionGlyphs[5];
    BYTE m_showCoordLines = 0;
    BYTE m_showBorders = 0;
    BYTE m_showColorRings = 0;
    // The drawing tools' cursor point and that of a dragged point; -1000 each when there is none.
    double m_curPoint[3] = {-1000.0, -1000.0, -1000.0};

protected:
    // Tool overlays of the mouse tools: inside the camera after the coordinate read-out (rubber
    // bands of the drawing tools), and in window units after the page frame (selection rectangle,
    // ink being drawn, finished ink strokes).
    virtual void DrawToolOverlays() {}
    virtual void DrawScreenOverlays() {}

private:
    void DrawBackground();
    void DrawTraceImage();
    void DrawCaption(int index);
    void DrawThreeViews();
    void DrawCameraOverlays();
    // The cursor point's coordinates beside it, placed by CoordinateReadoutOffset.
    void DrawCoordinateReadout(bool arrowTool);
    void DrawWindowOverlays();
    bool HasCurrentPoint() const;
    bool AllocateTraceImage(int width, int height);

    int m_maxWidth = 0; // largest drawing area seen so far
    int m_maxHeight = 0;
    bool m_glReady = false;
    bool m_glStarted = false;
};
