// The view's mouse: the arrow tool's click (select, toggle, cycle, start a drag) and its drags (free
// points along their carriers with their descendants, labels, texts, values, buttons, pictures,
// sliders, component solids), turning, panning and zooming the view, the box select, the region
// screenshot and the ink pen, with the overlays they draw.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/cell_draw.h"
#include "model/cell_kinds.h"
#include "model/free_points.h"
#include "model/page.h"
#include "solids/subassembly.h"
#include "view/glyph_lists.h"
#include "view/picture_export.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int kInfoPane = 0;
constexpr int kInkCapacity = CHalvixView::kInkBufferPoints - 1;

void PostSelectionChanged(WPARAM wParam, WORD id) {
    if (CWnd* frame = AfxGetMainWnd())
        frame->PostMessage(UM_SELECTION_CHANGED, wParam, LPARAM(id));
}

// The ink point of a client pixel: in the screen-aligned plane at depth -50.
void InkPointOf(CPoint p, float* out) {
    out[0] = (float(p.x) - float(g_clientWidth) * 0.5f) * g_unitLength;
    out[1] = (float(g_clientHeight) * 0.5f - float(p.y)) * g_unitLength;
    out[2] = -50.0f;
}

// Client pixels in the plane of the window overlays.
double OverlayX(int x) {
    return (x - g_clientWidth * 0.5) * g_unitLength;
}
double OverlayY(int y) {
    return (g_clientHeight * 0.5 - y) * g_unitLength;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Qt events

CPoint CHalvixView::ClientPoint(const QPointF& logical) const {
    return CPoint(LONG(std::lround(logical.x() * devicePixelRatioF())),
                  LONG(std::lround(logical.y() * devicePixelRatioF())));
}

namespace {
UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}
} // namespace

void CHalvixView::mousePressEvent(QMouseEvent* event) {
    const UINT flags = MouseFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(flags, ClientPoint(event->position()));
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(flags, ClientPoint(event->position()));
    event->accept();
}

// The second press of a double click with the left button is the double click; with the other
// buttons it is a press like the first.
void CHalvixView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDblClk(MouseFlags(event->buttons(), event->modifiers()), ClientPoint(event->position()));
        event->accept();
        return;
    }
    mousePressEvent(event);
}

void CHalvixView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(MouseFlags(event->buttons(), event->modifiers()), ClientPoint(event->position()));
    UpdateToolCursor();
    event->accept();
}

void CHalvixView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(MouseFlags(event->buttons(), event->modifiers()), ClientPoint(event->position()));
    event->accept();
}

void CHalvixView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    OnMouseWheel(MouseFlags(event->buttons(), event->modifiers()), short(std::clamp(delta, -32768, 32767)),
                 ClientPoint(event->position()));
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// Press, move, release

void CHalvixView::SetModified() {
    if (m_pDocument)
        m_pDocument->SetModifiedFlag(TRUE);
}

// While the page shows the three views without the direct view the mouse does nothing.
bool CHalvixView::MouseBlocked() const {
    return g_pCurPage && g_pCurPage->m_threeView && !g_pCurPage->m_threeViewPersp;
}

void CHalvixView::OnLButtonDown(UINT nFlags, CPoint point) {
    // While the player is shown a click pauses or resumes it.
    if (MediaClick())
        return;
    if (!m_pDocument || !g_pCurPage || MouseBlocked())
        return;
    g_pressX = g_mouseX = point.x;
    g_pressY = g_mouseY = point.y;
    g_mouseDX = g_mouseDY = 0;
    switch (g_mouseTool) {
    case 1:
        ArrowPress(nFlags, point);
        break;
    case 7:
        m_toolStage = 1;
        RenderScene();
        break;
    case 8:
        m_toolStage = 2;
        break;
    case 9:
        InkPress(point);
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        DrawingPress(point);
        break;
    case 6:
        CustomToolPress(point);
        break;
    default:
        break;
    }
}

void CHalvixView::ArrowPress(UINT nFlags, CPoint point) {
    CGPage* page = g_pCurPage;
    int pickClass = 0;
    WORD id = 0;
    if (!PickAt(point.x, point.y, &pickClass, &id, (nFlags & MK_CONTROL) ? TRUE : FALSE)) {
        page->ClearSelection();
        HxSetStatusText(kInfoPane, u"就绪");
        RenderScene();
        return;
    }
    CGCell* cell = page->FindCell(id);
    if (!cell)
        return;
    const CString& name = cell->m_name;
    auto select = [&](CList<WORD, WORD>& kind) {
        cell->m_selected = true;
        page->m_selAll.AddTail(id);
        kind.AddTail(id);
        PostSelectionChanged(1, id);
    };
    auto drag = [&](int mode) {
        g_dragMode = mode;
        g_draggedId = id;
        g_dragMoved = 0;
    };
    CString status;
    switch (pickClass) {
    case 1:
        select(page->m_selPoints);
        if (HxIsFreePoint(cell)) {
            drag(1);
            status = CString(u"选择自由点") + name;
        } else {
            status = CString(u"选择点") + name;
        }
        break;
    case 2:
        select(page->m_selLines);
        status = CString(u"选择线") + name;
        break;
    case 3:
        drag(3);
        status = CString(u"拖动标签") + name;
        break;
    case 4:
        select(page->m_selCurves);
        if (cell->IsKindOf(RUNTIME_CLASS(CGInkmarks)))
            drag(4);
        status = CString(u"选择") + name;
        break;
    case 5:
        select(page->m_selButtons);
        drag(5);
        status = CString(u"选择操作按钮") + name;
        break;
    case 6:
        select(page->m_selValues);
        drag(6);
        status =
            CString(cell->IsKindOf(RUNTIME_CLASS(CGTmVariable)) ? u"选择度量值变量" : u"选择向量坐标") + name;
        break;
    case 7:
        select(page->m_selTexts);
        if (cell->IsKindOf(RUNTIME_CLASS(CGTextbit))) {
            drag(7);
            status = CString(u"选择文本：") + name;
        } else if (cell->IsKindOf(RUNTIME_CLASS(CGTmSingleline))) {
            drag(6);
            status = u"选择单行文本";
        } else {
            status = CString(u"选择迭代图") + name;
        }
        break;
    case 8:
        select(page->m_selFaces);
        status = CString(u"选择面") + name;
        break;
    case 9:
        select(page->m_selSolids);
        if (HxIsOfClassNamed(cell, "CGSurface"))
            status = u"选择自定义曲面";
        else if (HxIsOfClassNamed(cell, "CGTrack"))
            status = u"选择图形的轨迹";
        else
            status = CString(u"选择旋转体") + name;
        break;
    case 10:
        HxPostButtonPress(this, id);
        break;
    case 11:
        select(page->m_selOthers);
        if (cell->IsKindOf(RUNTIME_CLASS(CGSubassembly))) {
            drag(2);
            status = CString(u"选择组件：") + name;
        } else if (HxIsOfClassNamed(cell, "CGMdfColor")) {
            status = CString(u"选择颜色修改器") + name;
        } else if (HxIsOfClassNamed(cell, "CGPolyhedron")) {
            status = u"选择凸包";
        } else if (HxIsOfClassNamed(cell, "CGModel3ds")) {
            status = u"选择3ds模型";
        } else if (HxIsOfClassNamed(cell, "CGScaleline")) {
            status = u"选择2D坐标系刻度线";
        } else {
            status = CString(u"选择") + name;
        }
        break;
    case 12:
        drag(12);
        status = u"拖动控制点可以缩放图片";
        break;
    case 13:
        drag(13);
        status = u"拖动滑块可以修改参数值";
        break;
    case 0:
        PostSelectionChanged(0, id);
        status = CString(u"取消选择") + name;
        break;
    default:
        break;
    }
    if (!status.IsEmpty())
        HxSetStatusText(kInfoPane, status);
    RenderScene();
}

void CHalvixView::OnMouseMove(UINT nFlags, CPoint point) {
    if (MouseBlocked() || (g_pMediaPlayer && m_mediaShown))
        return;
    g_mouseDX = point.x - g_mouseX;
    g_mouseDY = point.y - g_mouseY;
    g_dragKeepZ = (nFlags & MK_CONTROL) ? 0 : 1;
    if (m_pDocument && g_pCurPage) {
        if ((nFlags & MK_MBUTTON) && !(nFlags & MK_LBUTTON)) {
            PanView(nFlags);
        } else if (nFlags & MK_LBUTTON) {
            switch (g_mouseTool) {
            case 1:
                ArrowDrag(nFlags, point);
                break;
            case 7:
                RenderScene();
                break;
            case 8:
                if (m_toolStage == 2)
                    RenderScene();
                break;
            case 9:
                InkMove(point);
                break;
            case 2:
            case 3:
            case 4:
            case 5:
                DrawingMove(nFlags, point);
                break;
            case 6:
                CustomToolMove(nFlags, point);
                break;
            default:
                break;
            }
        } else if (g_mouseTool >= 2 && g_mouseTool <= 5 && !(nFlags & (MK_RBUTTON | MK_MBUTTON))) {
            DrawingMove(nFlags, point);
        } else if (g_mouseTool == 6 && !(nFlags & (MK_RBUTTON | MK_MBUTTON))) {
            CustomToolMove(nFlags, point);
        } else if (g_mouseTool == 8 && m_toolStage == 0 && !(nFlags & (MK_RBUTTON | MK_MBUTTON))) {
            // Before the press the rectangle of the last size follows the mouse.
            g_pressX = point.x;
            g_pressY = point.y;
            g_mouseX = point.x + m_grabWidth;
            g_mouseY = point.y + m_grabHeight;
            RenderScene();
            return;
        }
    }
    g_mouseX = point.x;
    g_mouseY = point.y;
}

void CHalvixView::PanView(UINT nFlags) {
    if (g_viewLocked)
        return;
    g_viewTransX += float(g_mouseDX) * g_viewSpeed * 0.2f;
    const float step = float(g_mouseDY) * g_viewSpeed * 0.2f;
    if (nFlags & MK_CONTROL)
        g_viewTransZ -= step;
    else
        g_viewTransY -= step;
    RenderScene();
    UpdatePanSliders();
}

void CHalvixView::TurnView(UINT nFlags, CPoint point) {
    if (g_viewLocked)
        return;
    if (g_trackballMode) {
        TrackballRotate(point.x, point.y);
        RenderScene();
        return;
    }
    const double speed = g_viewSpeed;
    double qa[4], qb[4];
    if (nFlags & MK_CONTROL) {
        const double a = -0.003 * g_mouseDY * speed;
        qa[0] = std::cos(a);
        qa[1] = 0.0;
        qa[2] = std::sin(a);
        qa[3] = 0.0;
    } else {
        const double a = 0.003 * g_mouseDY * speed;
        qa[0] = std::cos(a);
        qa[1] = std::sin(a);
        qa[2] = 0.0;
        qa[3] = 0.0;
    }
    const double b = 0.003 * g_mouseDX * speed;
    qb[0] = std::cos(b);
    qb[1] = 0.0;
    qb[2] = 0.0;
    qb[3] = std::sin(b);
    QuaternionMultiply(qa, g_viewRotation, g_viewRotation);
    QuaternionMultiply(g_viewRotation, qb, g_viewRotation);
    RenderScene();
}

void CHalvixView::ArrowDrag(UINT nFlags, CPoint point) {
    if (g_draggedId == 0) {
        TurnView(nFlags, point);
        return;
    }
    if (g_dragLocked)
        return;
    CGPage* page = g_pCurPage;
    ComputePickRay(point.x, point.y);
    CGCell* cell = page->FindCell(g_draggedId);
    if (!cell)
        return;
    // The descendants of the dragged cell are collected once, at the first move of a drag.
    auto collectOnce = [&] {
        if (g_dragMoved)
            return;
        g_dragMoved = 1;
        page->CollectDescendantIds(*cell, page->m_scratchIds);
        page->RebuildTraceList(2);
    };
    switch (g_dragMode) {
    case 1:
        if (auto* point3 = DYNAMIC_DOWNCAST(CGVerFree, cell)) {
            collectOnce();
            point3->ConstrainToCarrier();
            page->UpdateCellsById(page->m_scratchIds);
            m_curPoint[0] = point3->m_x;
            m_curPoint[1] = point3->m_y;
            m_curPoint[2] = point3->m_z;
        }
        break;
    case 2:
        if (auto* solid = DYNAMIC_DOWNCAST(CGSubassembly, cell)) {
            solid->DragCentre();
            for (int i = 0; i < 3; ++i)
                m_curPoint[i] = solid->m_center[i];
            g_dragMoved = 1;
        }
        break;
    case 3:
        cell->MoveLabel();
        break;
    case 4:
        if (auto* ink = DYNAMIC_DOWNCAST(CGInkmarks, cell)) {
            ink->m_labelPos[0] += float(g_mouseDX) * g_unitLength;
            ink->m_labelPos[1] -= float(g_mouseDY) * g_unitLength;
        }
        break;
    case 5:
        for (WORD id : page->m_selButtons)
            if (auto* button = DYNAMIC_DOWNCAST(CGButton, page->FindCell(id)))
                button->DragBy();
        break;
    case 6:
        for (WORD id : page->m_selValues)
            if (auto* text = DYNAMIC_DOWNCAST(CGTextmap, page->FindCell(id)))
                text->MoveByMouse();
        // A single-line text picked with the mouse moves with the values.
        for (WORD id : page->m_selTexts)
            if (auto* text = DYNAMIC_DOWNCAST(CGTmSingleline, page->FindCell(id)))
                text->MoveByMouse();
        break;
    case 7:
        for (WORD id : page->m_selTexts)
            if (auto* text = DYNAMIC_DOWNCAST(CGTextbit, page->FindCell(id)))
                text->MoveByMouse();
        break;
    case 12:
        if (auto* picture = DYNAMIC_DOWNCAST(CGTbImage, cell)) {
            const float w = float(picture->m_width), h = float(picture->m_height);
            if (w > 0.0f && h > 0.0f) {
                picture->m_scaleX = (picture->m_scaleX * w + float(g_mouseDX)) / w;
                picture->m_scaleY = (picture->m_scaleY * h - float(g_mouseDY)) / h;
            }
        }
        break;
    case 13:
        if (auto* parameter = DYNAMIC_DOWNCAST(CGTmVarParameter, cell)) {
            parameter->DragSlider();
            collectOnce();
            page->UpdateCellsById(page->m_scratchIds);
        }
        break;
    default:
        break;
    }
    if ((g_dragMode == 1 || g_dragMode == 13) && g_tracing)
        RedrawBackground();
    SetModified();
    RenderScene();
}

void CHalvixView::OnLButtonUp(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (!m_pDocument || !g_pCurPage || MouseBlocked())
        return;
    switch (g_mouseTool) {
    case 1:
        g_draggedId = 0;
        g_dragMoved = 0;
        RenderScene();
        break;
    case 7:
        SelectInBox(point);
        g_mouseTool = 1;
        m_toolStage = 0;
        RenderScene();
        break;
    case 8:
        FinishScreenshot();
        break;
    case 9:
        InkRelease();
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        DrawingRelease();
        break;
    case 6:
        CustomToolRelease();
        break;
    default:
        break;
    }
}

BOOL CHalvixView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    (void)nFlags;
    (void)pt;
    if (g_viewLocked)
        return FALSE;
    if (zDelta > 0)
        g_viewZoom = std::min(g_viewZoom + 0.05f, 100.0f);
    else if (zDelta < 0)
        g_viewZoom = std::max(g_viewZoom - 0.05f, 0.01f);
    RenderScene();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Region screenshot

void CHalvixView::FinishScreenshot() {
    m_toolStage = 0;
    RenderScene();
    // The frame without the rectangle reaches the screen before it is read.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
    CRect rect(g_pressX, g_pressY, g_mouseX, g_mouseY);
    rect.NormalizeRect();
    if (rect.Width() < 2 && rect.Height() < 2)
        rect = CRect(rect.left, rect.top, rect.left + m_grabWidth, rect.top + m_grabHeight);
    rect.NormalizeRect();
    m_grabWidth = rect.Width();
    m_grabHeight = rect.Height();
    const QImage bitmap = CaptureClientRect(rect);
    if (!bitmap.isNull())
        HxCopyBitmapToClipboard(bitmap);
    g_mouseTool = 1;
}

// ---------------------------------------------------------------------------------------------
// Ink pen

void CHalvixView::InkPress(CPoint point) {
    if (m_inkPoints.empty())
        m_inkPoints.assign(size_t(kInkCapacity + 1) * 3, 0.0f);
    InkPointOf(point, m_inkPoints.data());
    m_inkPointCount = 1;
    m_toolStage = 1;
    RenderScene();
}

void CHalvixView::InkMove(CPoint point) {
    if (m_toolStage == 0 || m_inkPoints.empty() || m_inkPointCount < 1)
        return;
    // A short step, or a full stroke, replaces the last point.
    if (m_toolStage == 2 || m_inkPointCount > kInkCapacity - 1)
        --m_inkPointCount;
    float* p = m_inkPoints.data() + size_t(m_inkPointCount) * 3;
    InkPointOf(point, p);
    const float* before = p - 3;
    const float d = std::fabs(p[0] - before[0]) + std::fabs(p[1] - before[1]);
    m_toolStage = d <= 0.28f ? 2 : 1;
    ++m_inkPointCount;
    RenderScene();
}

void CHalvixView::InkRelease() {
    m_toolStage = 0;
    const bool stroke = m_inkPointCount >= 2;
    if (stroke)
        m_inkStrokes.Add(new CStroke(m_inkPointCount, m_inkPoints.data()));
    m_inkPointCount = 0;
    if (stroke)
        RenderScene();
}

void CHalvixView::DeleteInkStrokes() {
    for (int i = 0; i < m_inkStrokes.GetSize(); ++i)
        delete m_inkStrokes[i];
    m_inkStrokes.RemoveAll();
}

// ---------------------------------------------------------------------------------------------
// Overlays in window units

void CHalvixView::DrawScreenOverlays() {
    const bool boxing = g_mouseTool == 7 && m_toolStage == 1;
    const bool grabbing = g_mouseTool == 8;
    if (boxing || grabbing) {
        const double x0 = OverlayX(g_pressX), y0 = OverlayY(g_pressY);
        const double x1 = OverlayX(g_mouseX), y1 = OverlayY(g_mouseY);
        HxGlColor(g_colorCoordLines);
        glEnable(GL_LINE_STIPPLE);
        glBegin(GL_LINE_LOOP);
        glVertex3d(x0, y0, -50.0);
        glVertex3d(x1, y0, -50.0);
        glVertex3d(x1, y1, -50.0);
        glVertex3d(x0, y1, -50.0);
        glEnd();
        glDisable(GL_LINE_STIPPLE);
        if (grabbing) {
            const CString size =
                HxFormat(u"( %d * %d)", std::abs(g_mouseX - g_pressX), std::abs(g_mouseY - g_pressY));
            glRasterPos3d(std::min(x0, x1), std::max(y0, y1) + 4.0 * g_unitLength, -50.0);
            DrawGlyphString(GetLabelGlyphLists(size));
        }
    }
    glLineWidth(g_lineWidth);
    if (g_mouseTool == 9 && m_inkPointCount > 1) {
        HxGlColor(HxInkPenColor());
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < m_inkPointCount; ++i)
            glVertex3fv(m_inkPoints.data() + size_t(i) * 3);
        glEnd();
    }
    for (int i = 0; i < m_inkStrokes.GetSize(); ++i)
        if (CStroke* stroke = m_inkStrokes[i])
            stroke->DrawColored();
}
