// The view's OpenGL set-up and frame: default state, resources, drawing area, the frame of the
// current page with its three-view quadrants and overlays, and the kept trace image.
#include "view/scene_renderer.h"

#include "model/cell_draw.h"
#include "model/page.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/label_hooks.h"
#include "view/texture_loading.h"
#include "view/texture_text.h"
#include "view/vertex_array.h"
#include "view/view_camera.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"
#include "view/glyph_font.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <new>

CRgba g_colorCoordLines{64, 64, 64, 255};

namespace {

// The screen-door pattern of stippled faces: a diagonal hatch.
void SetHatchStipple() {
    static const GLuint rows[8] = {0x80808080, 0x40404040, 0x20202020, 0x10101010,
                                   0x08080808, 0x04040404, 0x02020202, 0x01010101};
    GLubyte mask[128];
    for (int r = 0; r < 32; ++r)
        for (int b = 0; b < 4; ++b)
            mask[r * 4 + b] = GLubyte(rows[r % 8] >> (8 * (3 - b)));
    glPolygonStipple(mask);
}

} // namespace

void HxApplyDefaultGlState() {
    glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glLineStipple(1, 0x03FF);
    glShadeModel(GL_FLAT);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glLineWidth(g_lineWidth);
    glPointSize(g_pointSize);
    glPolygonOffset(1.6f, 1.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    SetHatchStipple();
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);

    static const GLfloat modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_AMBIENT, g_lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, g_lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, g_lightSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, g_lightPosition);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glEnable(GL_LIGHT0);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_BACK, GL_AMBIENT, g_materialAmbient);
    glMaterialfv(GL_BACK, GL_DIFFUSE, g_materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, g_materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, g_materialShininess);
}

namespace {

// Texture numbers 1 to 15 of the cells are the view's fifteen textures.
bool BindViewTexture(int number) {
    if (number < 1 || number > HX_TEXTURE_COUNT || g_textureIds[number - 1] == 0)
        return false;
    glBindTexture(GL_TEXTURE_2D, g_textureIds[number - 1]);
    return true;
}

void SetViewport(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    g_viewport[0] = x;
    g_viewport[1] = y;
    g_viewport[2] = width;
    g_viewport[3] = height;
}

CString ReadoutNumber(double v, const char16_t* whole, const char16_t* tenths) {
    return HxFormat(std::fabs(v - std::round(v)) < 1e-6 ? whole : tenths, v);
}

// A rectangle of half-width w and half-height h (world units) at the depth of the window plane.
void WindowLoop(double w, double h) {
    glBegin(GL_LINE_LOOP);
    glVertex3d(-w, -h, -50.0);
    glVertex3d(w, -h, -50.0);
    glVertex3d(w, h, -50.0);
    glVertex3d(-w, h, -50.0);
    glEnd();
}

} // namespace

CString FormatCoordinateReadout(const double p[3], bool arrowTool) {
    CString text = ReadoutNumber(p[0], arrowTool ? u"   ( %.0f, " : u"( %.0f, ",
                                 arrowTool ? u"   ( %.1f, " : u"( %.1f, ");
    text += ReadoutNumber(p[1], u"%.0f, ", u"%.1f, ");
    text += ReadoutNumber(p[2], u"%.0f )", u"%.1f )");
    return text;
}

void CoordinateReadoutOffset(double x, double y, int textWidth, int textHeight, const int viewport[4],
                             int& dx, int& dy) {
    // The mouse pointer covers about 12 x 20 pixels below and right of the point; the point's label
    // sits above and to the right of it.
    constexpr int kPointerWidth = 16, kGap = 6;
    const double left = viewport[0] + 2, right = viewport[0] + viewport[2] - 2;
    const double bottom = viewport[1] + 2;
    dx = kPointerWidth;
    dy = -(textHeight + kGap);
    const bool below = y + dy >= bottom;
    if (!below)
        dy = kGap + 4;
    // Left of the point when the text would pass the right edge, or when it is above the point
    // (where the label is on the right).
    if (x + dx + textWidth > right || !below)
        dx = -(textWidth + kGap);
    if (x + dx < left)
        dx = int(std::ceil(left - x));
}

size_t TraceImageBytes(int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    return size_t((size_t(width) * 24 + 271) / 32 * 4) * size_t(height + 10);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

CSceneRenderer::CSceneRenderer() {
    g_coordDisplayFlags = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            g_screenWidth = screen->size().width();
            g_screenHeight = screen->size().height();
        }
    m_maxWidth = g_screenWidth + 10;
    m_maxHeight = g_screenHeight + 10;
    if (!AllocateTraceImage(g_screenWidth, g_screenHeight))
        AfxMessageBox(u"内存不够!", MB_OK);
}

CSceneRenderer::~CSceneRenderer() = default;

bool CSceneRenderer::AllocateTraceImage(int width, int height) {
    g_traceImageEmpty = 1;
    try {
        m_traceImage.assign(TraceImageBytes(width, height), 0);
    } catch (const std::bad_alloc&) {
        std::vector<BYTE>().swap(m_traceImage);
        return false;
    }
    return true;
}

bool CSceneRenderer::InitOpenGL() {
    if (!HxMakeGlCurrent())
        return false;
    m_glStarted = true;
    // Points may have been made before the context existed: the array is theirs already.
    if (!g_vertexArray && !HxReplaceVertexArray(g_vertexArrayCapacity))
        return false;
    HxBindVertexArray();
    HxApplyDefaultGlState();
    GLint stackDepth = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &stackDepth);
    if (stackDepth > 0)
        g_modelviewStackDepth = stackDepth;

    HxCreateViewTextures();
    const bool imagesLoaded = LoadInstallationTextures();
    delete g_pTextureText;
    g_pTextureText = new CTextrueText;
    if (!imagesLoaded || !BuildDisplayLists())
        return false;
    HxGluQuadric();

    // The glyph blocks were only reserved: give them their glyphs before the first frame.
    HxInstallLabelRenderers();
    HxSetTextureBinder(BindViewTexture);
    BuildFontLists();
    BuildCaptionFontLists();
    if (g_pCurPage)
        g_pCurPage->RebuildVertexArray();
    m_glReady = true;
    return true;
}

bool CSceneRenderer::BuildDisplayLists() {
    if (!HxBuildViewDisplayLists())
        return false;
    for (int i = 0; i < 5; ++i)
        m_captionGlyphs[i] = GetTextGlyphLists(g_viewCaptionTexts[i]);
    return true;
}

void CSceneRenderer::ReleaseOpenGL() {
    HxFlushGlDeletions();
    HxEndGlContextGeneration();
    m_glReady = false;
    m_glStarted = false;
    HxSetLabelRenderers(nullptr, nullptr);
    HxSetTextureBinder(nullptr);
    HxDeleteViewDisplayLists();
    HxReleaseGlyphCaches();
    for (CString& glyphs : m_captionGlyphs)
        glyphs.Empty();
    HxReleaseViewTextures();
    delete g_pTextureText;
    g_pTextureText = nullptr;
    g_traceImageEmpty = 1;
}

// ---------------------------------------------------------------------------------------------
// Drawing area

bool CSceneRenderer::OnSize(int cx, int cy) {
    if (cx <= 2 || cy <= 2)
        return false;
    g_clientWidth = cx;
    g_clientHeight = cy;
    g_pixelScaleX = 1.0f / (float(cx - 1) * 0.5f);
    g_pixelScaleY = 1.0f / (float(cy - 1) * 0.5f);
    g_traceImageEmpty = 1;
    if (cx > m_maxWidth || cy > m_maxHeight) {
        m_maxWidth = cx;
        m_maxHeight = cy;
        if (!AllocateTraceImage(cx, cy)) {
            HxMessageBoxLater(u"内存不够,请保存后关闭程序重新启动!", MB_OK);
            return true;
        }
    }
    ApplyProjection(g_projectionType);
    if (HxHasCurrentGlContext()) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        SetViewport(0, 0, cx, cy);
    } else {
        g_viewport[0] = g_viewport[1] = 0;
        g_viewport[2] = cx;
        g_viewport[3] = cy;
    }
    return true;
}

void CSceneRenderer::OnDisplayChange(int width, int height) {
    g_screenWidth = width;
    g_screenHeight = height;
    if (!AllocateTraceImage(width, height))
        AfxMessageBox(u"内存不够!", MB_OK);
}

// ---------------------------------------------------------------------------------------------
// Frame

void CSceneRenderer::DrawFrame() {
    if (!HxHasCurrentGlContext())
        return;
    CGPage* page = g_pCurPage;
    if (!m_glReady) {
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    HxFlushGlDeletions();
    HxUploadPendingTextures();
    HxBindVertexArray();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const bool threeView = page && page->m_threeView;
    if (!threeView)
        SetViewport(0, 0, g_clientWidth, g_clientHeight);
    DrawBackground();
    if (!page)
        return;
    if (threeView) {
        DrawThreeViews();
        if (!page->m_threeViewPersp) {
            glDepthFunc(GL_LESS);
            return;
        }
        DrawCaption(HX_VIEW_DIRECT);
    }

    glPushMatrix();
    ApplyViewCamera();
    page->Draw();
    if (m_showColorRings && g_listBase != 0)
        glCallList(g_listBase + HX_LIST_COLOR_RINGS);
    DrawCameraOverlays();
    glPopMatrix();
    DrawWindowOverlays();
    glDepthFunc(GL_LESS);
}

void CSceneRenderer::ApplyFrameCamera() {
    if (!HxHasCurrentGlContext() || !m_glReady)
        return;
    CGPage* page = g_pCurPage;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (!page || !page->m_threeView) {
        SetViewport(0, 0, g_clientWidth, g_clientHeight);
        if (page)
            ApplyViewCamera();
    } else {
        // The quadrants leave the last one's camera, and the viewport of the direct view.
        ApplyThreeViewCamera(HX_VIEW_TOP);
        glLoadIdentity();
        int viewport[4];
        ThreeViewViewport(HX_VIEW_DIRECT, g_clientWidth, g_clientHeight, viewport);
        SetViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        if (page->m_threeViewPersp)
            ApplyViewCamera();
    }
    glPopMatrix();
}

void CSceneRenderer::DrawBackground() {
    if (!g_traceImageEmpty && !m_traceImage.empty()) {
        glClear(GL_DEPTH_BUFFER_BIT);
        DrawTraceImage();
        return;
    }
    glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void CSceneRenderer::DrawTraceImage() {
    const int w = g_clientWidth, h = g_clientHeight;
    if (m_traceImage.size() < TraceImageBytes(w, h))
        return;
    const float u = g_unitLength;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glRasterPos3f(0.001f - float(w) * u * 0.5f, 0.001f - float(h) * u * 0.5f, -50.0f);
    glDrawPixels(w, h, GL_RGB, GL_UNSIGNED_BYTE, m_traceImage.data());
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void CSceneRenderer::RedrawBackground() {
    if (!HxMakeGlCurrent() || !m_glReady)
        return;
    const int w = g_clientWidth, h = g_clientHeight;
    if (m_traceImage.size() < TraceImageBytes(w, h) && !AllocateTraceImage(w, h))
        return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetViewport(0, 0, w, h);
    glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!g_traceImageEmpty)
        DrawTraceImage();
    HxBindVertexArray();
    glPushMatrix();
    ApplyViewCamera();
    if (g_pCurPage)
        g_pCurPage->DrawTraces();
    glPopMatrix();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, m_traceImage.data());
    g_traceImageEmpty = 0;
}

void CSceneRenderer::DrawCaption(int index) {
    HxGlColor(g_colorSelection);
    float pos[3];
    ThreeViewCaptionPosition(g_clientWidth, g_clientHeight, pos);
    glRasterPos3fv(pos);
    if (ThreeViewCaptionsFit(g_clientWidth, g_clientHeight))
        DrawGlyphString(m_captionGlyphs[index]);
}

void CSceneRenderer::DrawThreeViews() {
    int viewport[4];
    for (int quadrant : {HX_VIEW_FRONT, HX_VIEW_LEFT, HX_VIEW_TOP}) {
        ThreeViewViewport(quadrant, g_clientWidth, g_clientHeight, viewport);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        DrawCaption(quadrant);
        glPushMatrix();
        ApplyThreeViewCamera(quadrant);
        g_pCurPage->Draw();
        glPopMatrix();
    }
    ThreeViewViewport(HX_VIEW_DIRECT, g_clientWidth, g_clientHeight, viewport);
    SetViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

bool CSceneRenderer::HasCurrentPoint() const {
    return !(m_curPoint[0] == -1000.0 && m_curPoint[1] == -1000.0 && m_curPoint[2] == -1000.0);
}

void CSceneRenderer::DrawCameraOverlays() {
    glPointSize(g_pointSize);
    glDepthFunc(GL_ALWAYS);
    const bool arrowDrag = g_mouseTool == 1 && g_dragMoved;
    const bool drawingTool = g_mouseTool >= 2 && g_mouseTool <= 5;
    if (HasCurrentPoint() && (arrowDrag || drawingTool)) {
        const double x = m_curPoint[0], y = m_curPoint[1], z = m_curPoint[2];
        if (m_showCoordLines) {
            glEnable(GL_LINE_STIPPLE);
            HxGlColor(g_colorCoordLines);
            glBegin(GL_LINE_STRIP);
            glVertex3d(0, 0, 0);
            glVertex3d(x, 0, 0);
            glVertex3d(x, y, 0);
            glVertex3d(0, y, 0);
            glVertex3d(0, 0, 0);
            glVertex3d(0, 0, z);
            glVertex3d(0, y, z);
            glVertex3d(0, y, 0);
            glEnd();
            glBegin(GL_LINE_STRIP);
            glVertex3d(0, 0, z);
            glVertex3d(x, 0, z);
            glVertex3d(x, 0, 0);
            glEnd();
            glDisable(GL_LINE_STIPPLE);
            HxGlColor(g_colorArcSolid);
            glBegin(GL_LINES);
            glVertex3d(x, y, z);
            glVertex3d(x, y, 0);
            glVertex3d(x, y, z);
            glVertex3d(x, 0, z);
            glVertex3d(x, y, z);
            glVertex3d(0, y, z);
            glEnd();
        }
        if (drawingTool) {
            HxGlColor(g_colorSelection);
            glBegin(GL_POINTS);
            glVertex3d(x, y, z);
            glEnd();
        }
        if (drawingTool || m_showCoordLines)
            DrawCoordinateReadout(!drawingTool);
    }
    DrawToolOverlays();
}

void CSceneRenderer::DrawCoordinateReadout(bool arrowTool) {
    HxGlColor(g_colorSelection);
    glRasterPos3d(m_curPoint[0], m_curPoint[1], m_curPoint[2]);
    GLint valid = 0;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid)
        return;
    GLdouble raster[4];
    glGetDoublev(GL_CURRENT_RASTER_POSITION, raster);
    const CString text = FormatCoordinateReadout(m_curPoint, arrowTool);
    // The label font's measure (its digits are smaller, so the text never takes more room).
    static CString measuredFont;
    static int measuredHeight = 0;
    static QFontMetrics metrics{QFont()};
    if (measuredFont != g_labelFontName || measuredHeight != g_labelFontHeight) {
        measuredFont = g_labelFontName;
        measuredHeight = g_labelFontHeight;
        metrics = QFontMetrics(HxCreateFont(g_labelFontName, g_labelFontHeight, 700, false));
    }
    int dx = 0, dy = 0;
    CoordinateReadoutOffset(raster[0], raster[1], metrics.horizontalAdvance(text.ToQString()),
                            metrics.ascent(), g_viewport, dx, dy);
    // A bitmap of no size only moves the raster position, by window pixels.
    glBitmap(0, 0, 0.0f, 0.0f, GLfloat(dx), GLfloat(dy), nullptr);
    DrawGlyphString(GetLabelGlyphLists(text));
}

void CSceneRenderer::DrawWindowOverlays() {
    const bool threeView = g_pCurPage && g_pCurPage->m_threeView;
    int quadrant[4] = {g_viewport[0], g_viewport[1], g_viewport[2], g_viewport[3]};
    if (threeView)
        SetViewport(0, 0, g_clientWidth, g_clientHeight);
    const double u = g_unitLength;
    const double halfW = g_clientWidth * u * 0.5, halfH = g_clientHeight * u * 0.5;
    if (g_pCurPage && g_pCurPage->m_pageSelected) {
        HxGlColor(g_colorSelection);
        WindowLoop(halfW - 0.08, halfH - 0.08);
    }
    DrawScreenOverlays();
    if (m_showBorders) {
        // The full screen of 1024 x 768 pixels, and the editing area 10 pixels inside it.
        glColor3f(1.0f, 0.0f, 0.0f);
        WindowLoop(512 * u, 384 * u);
        HxGlColor(g_colorCoordLines);
        WindowLoop(502 * u, 374 * u);
    }
    if (threeView)
        SetViewport(quadrant[0], quadrant[1], quadrant[2], quadrant[3]);
}
