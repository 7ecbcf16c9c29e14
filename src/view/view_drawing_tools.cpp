// The drawing tools of the view: points, lines, faces and circles built by clicks on existing points,
// lines and circles or in space (a press on empty space puts a point on the ground plane and a drag
// before the release lifts it), each finished step one undo step; the custom tool's part of the
// mouse; and the rubber bands of the figure in progress.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "document/tool_record.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/arc_circles.h"
#include "model/cell_draw.h"
#include "model/constrained_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/page.h"
#include "points/confined_points.h"
#include "points/constructed_arcs.h"
#include "view/vertex_array.h"
#include "view/view_colors.h"
#include "view/view_globals.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr int kInfoPane = 0;
constexpr int kPointTool = 2;
constexpr int kLineTool = 3;
constexpr int kFaceTool = 4;
constexpr int kCircleTool = 5;

const char16_t* const kEndDrawingPrompt = u"欲结束当前绘图，请右击鼠标！";
const char16_t* const kNoMorePoints = u"多边形的各顶点要共面，不再选已有点.\n添加结束，请右击鼠标！";
const char16_t* const kNoMoreCarriers = u"多边形的各顶点要共面，不再选已有线或圆上的点";

CString LineKindName(int kind) {
    static const char16_t* const names[4] = {u"线段", u"射线", u"直线", u"向量"};
    return (kind >= 0 && kind <= 3) ? CString(names[kind]) : CString(names[0]);
}

BYTE LineKindByte(int kind) {
    return BYTE(kind >= 0 && kind <= 3 ? kind : 0);
}

void CopyPosition(const CGVertex& p, double* out) {
    out[0] = p.m_x;
    out[1] = p.m_y;
    out[2] = p.m_z;
}

// A cell that has just been given the page's next id goes into the page's map.
template <class T> T* Store(CGPage& page, T* cell) {
    page.m_cells.SetAt(cell->m_id, cell);
    return cell;
}

// A new point of class T with the page's next id, next vertex index and next automatic name.
template <class T, class... Args> T* NewPoint(CGPage& page, Args... args) {
    const WORD id = page.m_nextId++;
    const DWORD vertex = page.m_nextVertex++;
    const CString name = page.MakeAutoLabel(CGPage::kAutoLabelPoint);
    return Store(page, new T(id, vertex, name, args...));
}

CGLine* NewLine(CGPage& page, WORD a, WORD b, BYTE kind) {
    return Store(page, new CGLine(page.m_nextId++, a, b, kind));
}

CGVertex* PointOf(const CGPage& page, WORD id) {
    return DYNAMIC_DOWNCAST(CGVertex, page.FindCell(id));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Shared steps

bool CHalvixView::PrepareNewPoints(int count) {
    CGPage* page = g_pCurPage;
    if (!page || !page->CanTakeIds(count) || !page->CanTakeVertexIndices(count))
        return false;
    if (int(page->m_nextVertex) + count > g_vertexArrayCapacity) {
        // The page numbers its points into the new block, so indices are taken afterwards.
        if (!EnsureVertexArray(std::max(count, 100)))
            return false;
    }
    return true;
}

void CHalvixView::RecordStep(CCmd* cmd) {
    g_pCurPage->m_cmdProcessor.Submit(cmd);
    SetModified();
}

void CHalvixView::SetFirstPoint(const CGVertex& p) {
    m_toolPointIds[0] = p.m_id;
    CopyPosition(p, m_planePoints[0]);
    CopyPosition(p, m_planePoints[1]);
    CopyPosition(p, m_curPoint);
    m_drawingPage = g_pCurPage;
    m_drawingPageId = g_pCurPage ? g_pCurPage->m_pageId : 0;
}

void CHalvixView::CheckDrawingState() {
    const CGPage* page = g_pCurPage;
    const int tool = g_mouseTool;
    // A stage that the current tool never reaches comes from another tool.
    if ((tool == kPointTool && m_toolStage > 1) || (tool == kLineTool && m_toolStage > 3) ||
        (tool == kCircleTool && m_toolStage > 5))
        m_toolStage = 0;
    if (m_toolStage < 2) {
        if (m_toolStage == 0)
            m_polyVertexCount = 0;
        return;
    }
    bool sound = page && page == m_drawingPage && page->m_pageId == m_drawingPageId;
    const int known = m_toolStage >= 6 ? 3 : m_toolStage >= 4 ? 2 : 1;
    for (int i = 0; sound && i < known; ++i)
        sound = PointOf(*page, m_toolPointIds[i]) != nullptr;
    if (m_toolStage >= 6 && m_toolStage != 6 + 2 * m_polyVertexCount && (m_toolStage & 1) == 0)
        sound = false;
    if (!sound) {
        m_toolStage = 0;
        m_polyVertexCount = 0;
    }
}

bool CHalvixView::IsConstructionInProgress() const {
    if (g_mouseTool >= kPointTool && g_mouseTool <= kCircleTool)
        return m_toolStage != 0;
    return g_mouseTool == 6 && g_pCurrentTool != nullptr;
}

void CHalvixView::ClearHover() {
    if (g_hoverId != 0 && g_pCurPage) {
        if (CGCell* cell = g_pCurPage->FindCell(g_hoverId))
            cell->m_highlighted = false;
    }
    g_hoverId = 0;
}

void CHalvixView::Hover(CPoint point) {
    int pickClass = 0;
    WORD id = 0;
    const BOOL picked = PickAt(point.x, point.y, &pickClass, &id, FALSE);
    ClearHover();
    if (picked && id != 0) {
        if (CGCell* cell = g_pCurPage->FindCell(id)) {
            cell->m_highlighted = true;
            g_hoverId = id;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing tools: press

void CHalvixView::DrawingPress(CPoint point) {
    CGPage* page = g_pCurPage;
    // A press while the stage waits for a release (the release never came) starts that step again.
    if (m_toolStage & 1)
        --m_toolStage;
    CheckDrawingState();
    int pickClass = 0;
    WORD id = 0;
    if (!PickAt(point.x, point.y, &pickClass, &id, FALSE)) {
        DrawingPressOnEmpty(point);
        RenderScene();
        return;
    }
    CGCell* cell = page->FindCell(id);
    if (pickClass == 1) {
        if (auto* p = DYNAMIC_DOWNCAST(CGVertex, cell))
            DrawingPressOnPoint(p);
    } else if ((pickClass == 2 && DYNAMIC_DOWNCAST(CGLine, cell)) ||
               (pickClass == 4 && DYNAMIC_DOWNCAST(CGArc, cell))) {
        DrawingPressOnCarrier(cell, point);
    }
    RenderScene();
}

void CHalvixView::DrawingPressOnEmpty(CPoint point) {
    if (g_mouseTool == kFaceTool && m_toolStage >= 6) {
        // Further vertices lie in the plane of the first three.
        if (m_polyVertexCount >= kMaxPolyVertices) {
            HxSetStatusText(kInfoPane, kEndDrawingPrompt);
            return;
        }
        double x, y, z;
        float s, t;
        if (!DragOnPlane(point.x, point.y, &x, &y, &z, &s, &t))
            return; // the ray runs along the face's plane, or the plane stands upright
        double* v = m_polyVertices[m_polyVertexCount];
        v[0] = x;
        v[1] = y;
        v[2] = z;
        v[3] = s;
        v[4] = t;
        ++m_polyVertexCount;
        m_curPoint[0] = x;
        m_curPoint[1] = y;
        m_curPoint[2] = z;
        m_toolStage += 2;
        HxSetStatusText(kInfoPane, kEndDrawingPrompt);
        return;
    }
    if (m_toolStage != 0 && m_toolStage != 2 && m_toolStage != 4)
        return;
    UnprojectToPlane(point.x, point.y, FALSE, &m_curPoint[0], &m_curPoint[1], &m_curPoint[2]);
    ++m_toolStage;
}

void CHalvixView::DrawingPressOnPoint(CGVertex* p) {
    CGPage* page = g_pCurPage;
    const int tool = g_mouseTool;
    if (tool == kFaceTool && m_toolStage >= 6) {
        AfxMessageBox(kNoMorePoints);
        return;
    }
    switch (m_toolStage) {
    case 0:
        if (tool == kPointTool) {
            // A follower beside the point, 2 to 5 units away in x and in y, at its height.
            if (!PrepareNewPoints(1))
                return;
            const double r = double(HxRand()) / HX_RAND_MAX * 2.0 - 1.0;
            const double u = double(HxRand()) / HX_RAND_MAX * 3.0 + 2.0;
            const double v = double(HxRand()) / HX_RAND_MAX * 3.0 + 2.0;
            const float x = float(p->m_x + u);
            const float y = float(r > 0.0 ? p->m_y + v : p->m_y - v);
            NewPoint<CGVerFree2dHenchman>(*page, x, y, p->m_id);
            RecordStep(new CCmdAddCell(u"添加二维随动点"));
            return;
        }
        SetFirstPoint(*p);
        m_toolStage = 2;
        return;
    case 2:
        if (p->m_id == m_toolPointIds[0])
            return;
        if (tool == kCircleTool) {
            m_toolPointIds[1] = p->m_id;
            m_toolStage = 4;
        } else {
            if (!page->CanTakeIds(1))
                return;
            const BYTE kind = tool == kLineTool ? LineKindByte(g_lineToolKind) : CGLine::kSegment;
            NewLine(*page, m_toolPointIds[0], p->m_id, kind);
            if (tool == kLineTool) {
                m_toolStage = 0;
            } else {
                m_toolPointIds[1] = p->m_id;
                m_toolStage = 4;
            }
            RecordStep(new CCmdAddCell(CString(u"添加") + LineKindName(kind)));
        }
        CopyPosition(*p, m_planePoints[1]);
        CopyPosition(*p, m_curPoint);
        return;
    case 4:
        if (p->m_id == m_toolPointIds[0] || p->m_id == m_toolPointIds[1])
            return;
        if (tool == kFaceTool) {
            m_toolPointIds[2] = p->m_id;
            m_toolStage = 6;
            m_polyVertexCount = 0;
            CopyPosition(*p, m_planePoints[2]);
            CopyPosition(*p, m_curPoint);
            HxSetStatusText(kInfoPane, kEndDrawingPrompt);
        } else if (tool == kCircleTool) {
            if (!page->CanTakeIds(1))
                return;
            Store(*page,
                  new CGArcCenterP(page->m_nextId++, m_toolPointIds[0], m_toolPointIds[1], p->m_id, 0));
            RecordStep(new CCmdAddCell(u"添加已知圆心和圆上两点的圆"));
            m_toolStage = 0;
        }
        return;
    default:
        return;
    }
}

void CHalvixView::DrawingPressOnCarrier(CGCell* carrier, CPoint point) {
    CGPage* page = g_pCurPage;
    const int tool = g_mouseTool;
    if (tool == kFaceTool && m_toolStage > 4) {
        AfxMessageBox(kNoMoreCarriers);
        return;
    }
    // The line or circle, and for the second point of a line or face the line to it.
    const int cellsNeeded = ((m_toolStage == 2 && tool != kCircleTool) || m_toolStage == 4) ? 2 : 1;
    if (!PrepareNewPoints(1) || !page->CanTakeIds(cellsNeeded))
        return;
    const bool onLine = carrier->IsKindOf(RUNTIME_CLASS(CGLine));
    CGVerFree* q = onLine ? static_cast<CGVerFree*>(NewPoint<CGVerFreeInLine>(*page, carrier->m_id, 0.5f))
                          : static_cast<CGVerFree*>(NewPoint<CGVerFreeInCircle>(*page, carrier->m_id, 0.5f));
    ComputePickRay(point.x, point.y);
    q->ConstrainToCarrier();
    const CString pointStep = onLine ? u"添加线上自由点" : u"添加圆弧上自由点";
    switch (m_toolStage) {
    case 0:
        RecordStep(new CCmdAddCell(pointStep));
        if (tool == kPointTool)
            return;
        SetFirstPoint(*q);
        m_toolStage = 2;
        return;
    case 2:
        if (tool == kCircleTool) {
            m_toolPointIds[1] = q->m_id;
            m_toolStage = 4;
            RecordStep(new CCmdAddCell(pointStep));
        } else {
            NewLine(*page, m_toolPointIds[0], q->m_id,
                    tool == kLineTool ? LineKindByte(g_lineToolKind) : CGLine::kSegment);
            if (tool == kLineTool) {
                m_toolStage = 0;
            } else {
                m_toolPointIds[1] = q->m_id;
                m_toolStage = 4;
            }
            RecordStep(new CCmdAddCells(2, u"添加点与线"));
        }
        CopyPosition(*q, m_planePoints[1]);
        CopyPosition(*q, m_curPoint);
        return;
    case 4:
        if (tool == kFaceTool) {
            m_toolPointIds[2] = q->m_id;
            m_toolStage = 6;
            m_polyVertexCount = 0;
            CopyPosition(*q, m_planePoints[2]);
            CopyPosition(*q, m_curPoint);
            RecordStep(new CCmdAddCell(pointStep));
            HxSetStatusText(kInfoPane, kEndDrawingPrompt);
        } else {
            Store(*page,
                  new CGArcCenterP(page->m_nextId++, m_toolPointIds[0], m_toolPointIds[1], q->m_id, 0));
            RecordStep(new CCmdAddCells(2, u"添加已知圆心和圆上两点的圆"));
            m_toolStage = 0;
        }
        return;
    default:
        RecordStep(new CCmdAddCell(pointStep));
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing tools: move and release

void CHalvixView::DrawingMove(UINT nFlags, CPoint point) {
    if (nFlags & MK_LBUTTON) {
        // Dragging after a press on empty space lifts the new point vertically.
        if (m_toolStage == 1 || m_toolStage == 3 || m_toolStage == 5) {
            UnprojectToPlane(point.x, point.y, TRUE, &m_curPoint[0], &m_curPoint[1], &m_curPoint[2]);
            RenderScene();
        }
        return;
    }
    if (nFlags & (MK_RBUTTON | MK_MBUTTON))
        return;
    CheckDrawingState();
    if (g_mouseTool == kFaceTool && m_toolStage >= 6 && (m_toolStage & 1) == 0) {
        // The cursor slides in the face's plane.
        ClearHover();
        double x, y, z;
        float s, t;
        if (DragOnPlane(point.x, point.y, &x, &y, &z, &s, &t)) {
            m_curPoint[0] = x;
            m_curPoint[1] = y;
            m_curPoint[2] = z;
        }
        RenderScene();
        return;
    }
    if (m_toolStage == 0 || m_toolStage == 2 || m_toolStage == 4) {
        Hover(point);
        UnprojectToPlane(point.x, point.y, FALSE, &m_curPoint[0], &m_curPoint[1], &m_curPoint[2]);
        RenderScene();
    }
}

void CHalvixView::DrawingRelease() {
    CGPage* page = g_pCurPage;
    const int tool = g_mouseTool;
    if (m_toolStage != 1 && m_toolStage != 3 && m_toolStage != 5)
        return;
    CheckDrawingState();
    const int stage = m_toolStage;
    const float x = float(m_curPoint[0]), y = float(m_curPoint[1]), z = float(m_curPoint[2]);
    // Stage 1 makes one point; stages 3 and 5 a point and, for lines, faces and circles, one more
    // cell with it (the line to it, or the circle).
    const int cellsNeeded =
        (stage == 1 || (tool == kFaceTool && stage == 5) || (tool == kCircleTool && stage == 3)) ? 1 : 2;
    if (!PrepareNewPoints(1) || !page->CanTakeIds(cellsNeeded)) {
        m_toolStage = stage - 1;
        RenderScene();
        return;
    }
    if (stage == 1) {
        const CGVertex* p = NewPoint<CGVerFreeXyz>(*page, x, y, z);
        RecordStep(new CCmdAddCell(u"添加全自由点"));
        if (tool == kPointTool) {
            m_toolStage = 0;
        } else {
            SetFirstPoint(*p);
            m_toolStage = 2;
        }
    } else if (stage == 3) {
        for (int i = 0; i < 3; ++i)
            m_planePoints[1][i] = m_curPoint[i];
        const CGVertex* p =
            tool == kFaceTool
                ? static_cast<CGVertex*>(NewPoint<CGVerFreeHenchman>(*page, x, y, z, m_toolPointIds[0]))
                : static_cast<CGVertex*>(NewPoint<CGVerFreeXyz>(*page, x, y, z));
        m_toolPointIds[1] = p->m_id;
        if (tool == kCircleTool) {
            RecordStep(new CCmdAddCell(u"添加全自由点"));
            m_toolStage = 4;
        } else {
            NewLine(*page, m_toolPointIds[0], p->m_id,
                    tool == kLineTool ? LineKindByte(g_lineToolKind) : CGLine::kSegment);
            RecordStep(new CCmdAddCells(2, u"添加点与线"));
            m_toolStage = tool == kLineTool ? 0 : 4;
        }
    } else {
        const CGVertex* p =
            tool == kFaceTool
                ? static_cast<CGVertex*>(NewPoint<CGVerFreeHenchman>(*page, x, y, z, m_toolPointIds[0]))
                : static_cast<CGVertex*>(NewPoint<CGVerFreeXyz>(*page, x, y, z));
        m_toolPointIds[2] = p->m_id;
        if (tool == kFaceTool) {
            for (int i = 0; i < 3; ++i)
                m_planePoints[2][i] = m_curPoint[i];
            m_toolStage = 6;
            m_polyVertexCount = 0;
            RecordStep(new CCmdAddCell(u"添加全自由点"));
            HxSetStatusText(kInfoPane, kEndDrawingPrompt);
        } else {
            Store(*page,
                  new CGArcCenterP(page->m_nextId++, m_toolPointIds[0], m_toolPointIds[1], p->m_id, 0));
            RecordStep(new CCmdAddCells(2, u"添加已知圆心和圆上两点的圆"));
            m_toolStage = 0;
        }
    }
    RenderScene();
}

// ---------------------------------------------------------------------------------------------
// The right button's figures

void CHalvixView::FinishFlatCircle() {
    CGPage* page = g_pCurPage;
    if (!page->CanTakeIds(1))
        return;
    Store(*page, new CGArcPoint2(page->m_nextId++, m_toolPointIds[0], m_toolPointIds[1], 0));
    RecordStep(new CCmdAddCell(u"添加平置圆"));
    m_toolStage = 0;
}

bool CHalvixView::FinishFace() {
    CGPage* page = g_pCurPage;
    const int n = m_polyVertexCount;
    if (m_toolStage < 6 || m_toolStage != 6 + 2 * n)
        return false;
    const WORD a = m_toolPointIds[0], b = m_toolPointIds[1], c = m_toolPointIds[2];
    const int cells = n == 0 ? 3 : 2 * n + 3;
    if (!PrepareNewPoints(n) || !page->CanTakeIds(cells))
        return false;
    CList<WORD, WORD> corners;
    corners.AddTail(a);
    corners.AddTail(b);
    corners.AddTail(c);
    for (int i = 0; i < n; ++i) {
        const double* v = m_polyVertices[i];
        corners.AddTail(NewPoint<CGVerFreeInPlane>(*page, a, b, c, float(v[3]), float(v[4]))->m_id);
    }
    // The edge from the first to the second vertex exists already.
    WORD previous = b;
    for (POSITION pos = corners.FindIndex(2); pos;) {
        const WORD next = corners.GetNext(pos);
        NewLine(*page, previous, next, CGLine::kSegment);
        previous = next;
    }
    NewLine(*page, previous, a, CGLine::kSegment);
    CGFace* face = Store(*page, new CGFace(page->m_nextId++, corners, NextAutoColor()));
    face->m_style = CGFace::kStyleFilled;
    const char16_t* name = n == 0 ? u"添加三边形" : n == 1 ? u"添加四边形" : u"添加多边形面";
    RecordStep(new CCmdAddCells(cells, name));
    HxSetStatusText(kInfoPane, u"就绪");
    return true;
}

// ---------------------------------------------------------------------------------------------
// The custom tool

void CHalvixView::FinishCustomToolMatch(int n) {
    CGPage* page = g_pCurPage;
    if (n > 0) {
        const CString name = g_pCurrentTool ? g_pCurrentTool->m_name : CString();
        RecordStep(new CCmdAddCells(n, CString(u"使用工具：") + name));
    } else if (n == -1) {
        if (CCmd* current = page->m_cmdProcessor.GetCurrent()) {
            current->m_undoable = 0;
            page->m_cmdProcessor.UpdateMenu();
        }
    }
}

void CHalvixView::CustomToolPress(CPoint point) {
    CGPage* page = g_pCurPage;
    HxViewServices& services = HxGetViewServices();
    int pickClass = 0;
    WORD id = 0;
    const BOOL picked = PickAt(point.x, point.y, &pickClass, &id, FALSE);
    if (page->m_constructMarker == 0 || !services.matchToolInput)
        return;
    int n = 0;
    // The placeholder under the mouse is no hit: only cells made before it can be inputs.
    if (!picked || id == 0) {
        m_toolStage = 1;
        return;
    }
    CGCell* cell = page->FindCell(id);
    if (!cell)
        return;
    if (pickClass == 1 || pickClass == 6) {
        n = services.matchToolInput(*page, id, nullptr);
    } else if ((pickClass == 2 && cell->IsKindOf(RUNTIME_CLASS(CGLine))) ||
               (pickClass == 4 && cell->IsKindOf(RUNTIME_CLASS(CGArc)))) {
        if (page->m_constructMarker < 1 || !PrepareNewPoints(1))
            return;
        const WORD floatingId = WORD(page->m_constructMarker);
        const DWORD vertex = page->m_nextVertex++;
        CGVerFree* floating =
            cell->IsKindOf(RUNTIME_CLASS(CGLine))
                ? static_cast<CGVerFree*>(new CGVerFreeInLine(floatingId, vertex, CString(), id, 0.5f))
                : static_cast<CGVerFree*>(new CGVerFreeInCircle(floatingId, vertex, CString(), id, 0.5f));
        ComputePickRay(point.x, point.y);
        floating->ConstrainToCarrier();
        n = services.matchToolInput(*page, 0, floating);
    } else {
        return;
    }
    FinishCustomToolMatch(n);
    RenderScene();
}

void CHalvixView::CustomToolRelease() {
    CGPage* page = g_pCurPage;
    HxViewServices& services = HxGetViewServices();
    if (page->m_constructMarker == 0 || page->m_toolInputIsValue || m_toolStage != 1 ||
        !services.matchToolInput)
        return;
    m_toolStage = 0;
    if (page->m_constructMarker < 1 || !PrepareNewPoints(1))
        return;
    auto* floating = new CGVerFreeXyz(WORD(page->m_constructMarker), page->m_nextVertex++, CString(),
                                      float(m_curPoint[0]), float(m_curPoint[1]), float(m_curPoint[2]));
    FinishCustomToolMatch(services.matchToolInput(*page, 0, floating));
    RenderScene();
}

void CHalvixView::MoveFloatingCell(bool vertical, CPoint point) {
    CGPage* page = g_pCurPage;
    CGCell* floating = page->FindCell(WORD(page->m_constructMarker));
    if (page->m_toolInputIsValue) {
        if (auto* text = DYNAMIC_DOWNCAST(CGTextmap, floating))
            text->MoveByMouse();
        return;
    }
    UnprojectToPlane(point.x, point.y, vertical ? TRUE : FALSE, &m_curPoint[0], &m_curPoint[1],
                     &m_curPoint[2]);
    if (auto* p = DYNAMIC_DOWNCAST(CGVertex, floating)) {
        p->m_x = float(m_curPoint[0]);
        p->m_y = float(m_curPoint[1]);
        p->m_z = float(m_curPoint[2]);
        p->SyncVertex();
        page->UpdateCellsById(page->m_scratchIds);
    }
}

void CHalvixView::CustomToolMove(UINT nFlags, CPoint point) {
    CGPage* page = g_pCurPage;
    if (nFlags & MK_LBUTTON) {
        if (page->m_constructMarker > 0) {
            MoveFloatingCell(true, point);
            RenderScene();
        }
        return;
    }
    if (page->m_constructMarker == -1) {
        if (HxGetViewServices().applyToolStep) {
            const float p[3] = {float(m_curPoint[0]), float(m_curPoint[1]), float(m_curPoint[2])};
            HxGetViewServices().applyToolStep(*page, p);
        }
        RenderScene();
    } else if (page->m_constructMarker > 0) {
        Hover(point);
        MoveFloatingCell(false, point);
        RenderScene();
    }
}

// ---------------------------------------------------------------------------------------------
// Rubber bands

namespace {

void Vertex(const double* p) {
    glVertex3d(p[0], p[1], p[2]);
}

// A circle about c through p in the plane of c, p and q (horizontal when they give no plane).
void CirclePreview(const double* c, const double* p, const double* q) {
    double u[3] = {p[0] - c[0], p[1] - c[1], p[2] - c[2]};
    const double r = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    if (r < 1e-9)
        return;
    double v[3] = {0, 0, 0};
    if (q) {
        const double w[3] = {q[0] - c[0], q[1] - c[1], q[2] - c[2]};
        const double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        v[0] = n[1] * u[2] - n[2] * u[1];
        v[1] = n[2] * u[0] - n[0] * u[2];
        v[2] = n[0] * u[1] - n[1] * u[0];
    }
    double lv = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (lv < 1e-9) {
        // Horizontal: the radius is the distance in space, U along its horizontal part.
        const double h = std::hypot(u[0], u[1]);
        if (h < 1e-9) {
            u[0] = r;
            u[1] = 0;
        } else {
            u[0] = u[0] / h * r;
            u[1] = u[1] / h * r;
        }
        u[2] = 0;
        v[0] = -u[1];
        v[1] = u[0];
        v[2] = 0;
        lv = r;
    }
    for (double& x : v)
        x = x / lv * r;
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 72; ++i) {
        const double a = i * (2.0 * 3.14159265358979323846 / 72.0);
        glVertex3d(c[0] + std::cos(a) * u[0] + std::sin(a) * v[0],
                   c[1] + std::cos(a) * u[1] + std::sin(a) * v[1],
                   c[2] + std::cos(a) * u[2] + std::sin(a) * v[2]);
    }
    glEnd();
}

void LinePreview(const double* a, const double* b, int kind) {
    const double d[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (length < 1e-9)
        return;
    // Rays and lines reach far beyond the window.
    const double far = 400.0 / length;
    double from[3] = {a[0], a[1], a[2]};
    double to[3] = {b[0], b[1], b[2]};
    if (kind == 1 || kind == 2) {
        for (int i = 0; i < 3; ++i)
            to[i] = a[i] + d[i] * far;
    }
    if (kind == 2) {
        for (int i = 0; i < 3; ++i)
            from[i] = a[i] - d[i] * far;
    }
    glBegin(GL_LINES);
    Vertex(from);
    Vertex(to);
    glEnd();
    if (kind == 3) {
        // A small dart at the end, in the plane of the line and the viewing direction.
        const double s = std::min(1.0, length * 0.3) / length;
        const double side[3] = {-d[1] * s * 0.35, d[0] * s * 0.35, 0.0};
        glBegin(GL_LINE_STRIP);
        glVertex3d(b[0] - d[0] * s + side[0], b[1] - d[1] * s + side[1], b[2] - d[2] * s);
        Vertex(b);
        glVertex3d(b[0] - d[0] * s - side[0], b[1] - d[1] * s - side[1], b[2] - d[2] * s);
        glEnd();
    }
}

} // namespace

void CHalvixView::DrawToolOverlays() {
    const int tool = g_mouseTool;
    if (tool < kLineTool || tool > kCircleTool || m_toolStage < 2)
        return;
    if (m_curPoint[0] == -1000.0 && m_curPoint[1] == -1000.0 && m_curPoint[2] == -1000.0)
        return;
    glLineWidth(g_lineWidth);
    DrawRubberBand();
}

void CHalvixView::DrawRubberBand() {
    const int tool = g_mouseTool;
    const double* p = m_curPoint;
    if (m_toolStage == 2 || m_toolStage == 3) {
        if (tool == kCircleTool) {
            HxGlColor(g_colorArcSolid);
            CirclePreview(m_planePoints[0], p, nullptr);
        } else {
            HxGlColor(g_colorObject);
            LinePreview(m_planePoints[0], p, tool == kLineTool ? g_lineToolKind : 0);
        }
        return;
    }
    if (tool == kCircleTool) {
        HxGlColor(g_colorArcSolid);
        CirclePreview(m_planePoints[0], m_planePoints[1], p);
        return;
    }
    if (tool != kFaceTool)
        return;
    std::vector<const double*> corners = {m_planePoints[0], m_planePoints[1]};
    if (m_toolStage >= 6)
        corners.push_back(m_planePoints[2]);
    for (int i = 0; i < m_polyVertexCount && m_toolStage >= 6; ++i)
        corners.push_back(m_polyVertices[i]);
    corners.push_back(p);
    glColor4f(1.0f, 1.0f, 0.0f, 0.35f);
    glBegin(GL_POLYGON);
    for (const double* c : corners)
        Vertex(c);
    glEnd();
    HxGlColor(g_colorObject);
    glBegin(GL_LINE_LOOP);
    for (const double* c : corners)
        Vertex(c);
    glEnd();
    HxGlColor(g_colorSelection);
    glBegin(GL_POINTS);
    for (const double* c : corners)
        Vertex(c);
    glEnd();
}
