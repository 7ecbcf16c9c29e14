// The view's animation timer (running action buttons, or the scene turning about a world axis), the
// commands that start, steer and stop it, the arrow keys, and the view options: coordinate system,
// snapping, coordinate lines, three views and standard views, the plane view, locks, trackball,
// borders, full screen, page stepping and the preferences.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "model/constrained_points.h"
#include "model/free_points.h"
#include "model/page.h"
#include "points/confined_points.h"
#include "view/glyph_lists.h"
#include "view/picture_commands.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_services.h"
#include "view/view_settings.h"
#include "view/view_tool_globals.h"

#include <GL/gl.h>

namespace {

constexpr UINT_PTR kAnimationTimer = 1;
constexpr BYTE kModeButtons = 0;
constexpr BYTE kModeZ = 1;
constexpr BYTE kModeX = 2;
constexpr BYTE kModeY = 3;
constexpr BYTE kModeNone = 5;

BYTE AnimMode() {
    return g_pCurPage ? g_pCurPage->m_timerMode : kModeNone;
}

void SetAnimMode(BYTE mode) {
    if (g_pCurPage)
        g_pCurPage->m_timerMode = mode;
}

// The rotation commands: their axis (as a mode) and direction.
struct CRotateCommand {
    UINT id;
    BYTE mode;
    bool plus;
};
constexpr CRotateCommand kRotateCommands[] = {
    {ID_ROT_ZPLUS, kModeZ, true},   {ID_ROT_XPLUS, kModeX, true},   {ID_ROT_YPLUS, kModeY, true},
    {ID_ROT_ZMINUS, kModeZ, false}, {ID_ROT_XMINUS, kModeX, false}, {ID_ROT_YMINUS, kModeY, false},
};

const CRotateCommand* FindRotateCommand(UINT id) {
    for (const CRotateCommand& c : kRotateCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

void MakeSpeedNonNegative() {
    if (g_viewSpeed < 0.0f)
        g_viewSpeed = -g_viewSpeed;
}

void MakeSpeedNonPositive() {
    if (g_viewSpeed > 0.0f)
        g_viewSpeed = -g_viewSpeed;
}

// Free points whose Left and Right keys step their parameter along a path rather than their x.
bool StepsAlongPath(const CGCell* cell) {
    return !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeXyz)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFree2dHenchman)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeUpright)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInFace)) &&
           !cell->IsKindOf(RUNTIME_CLASS(CGVerFreeInPlane));
}

enum EArrowKey { kLeft, kRight, kUp, kDown };

} // namespace

// ---------------------------------------------------------------------------------------------
// Timer

void CHalvixView::StartAnimationTimer() {
    SetTimer(kAnimationTimer, HxAnimationPeriod());
    g_animationRunning = 1;
}

void CHalvixView::OnTimer(UINT_PTR id) {
    // A tick that arrives while one is handled (a modal box inside it) is dropped.
    if (m_inTimer)
        return;
    m_inTimer = true;
    CGPage* page = g_pCurPage;
    if (id == kAnimationTimer) {
        const BYTE mode = AnimMode();
        const double angle = 2.0 * double(g_viewSpeed);
        if (!page) {
            StopAnimationTimer();
        } else if (mode == kModeButtons) {
            if (g_tracing)
                RedrawBackground();
            if (!page->StepButtons()) {
                StopAnimationTimer();
                SetAnimMode(kModeZ);
            }
        } else if (mode == kModeZ) {
            RotateViewYaw(angle);
        } else if (mode == kModeX) {
            RotateViewPitch(angle);
        } else if (mode == kModeY) {
            RotateViewRoll(angle);
        } else {
            StopAnimationTimer();
            SetAnimMode(kModeZ);
        }
    } else if (id == kMediaTimer) {
        PollMedia();
    }
    RenderScene();
    m_inTimer = false;
}

void CHalvixView::ToggleAnimation() {
    if (AnimMode() == kModeButtons)
        return;
    if (g_animationRunning) {
        StopAnimationTimer();
        RenderScene();
        return;
    }
    StartAnimationTimer();
    if (AnimMode() > kModeY)
        SetAnimMode(kModeZ);
    RenderScene();
}

void CHalvixView::OnUpdateAnimation(CCmdUI* pCmdUI) {
    const BYTE mode = AnimMode();
    pCmdUI->Enable(mode != kModeButtons);
    pCmdUI->SetCheck(g_animationRunning && mode != kModeButtons ? 1 : 0);
}

void CHalvixView::OnActionButton(UINT id) {
    if (id >= ID_ACTION_BUTTON_FIRST && id <= ID_ACTION_BUTTON_LAST)
        PressButton(WORD(id - ID_ACTION_BUTTON_FIRST));
}

LRESULT CHalvixView::OnPressButton(WPARAM, LPARAM lParam) {
    if (lParam >= 0 && lParam <= 0xFFFF)
        PressButton(WORD(lParam));
    return 0;
}

void CHalvixView::PressButton(WORD cellId) {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    auto* button = DYNAMIC_DOWNCAST(CGButton, page->FindCell(cellId));
    if (!button)
        return;
    if (button->m_running) {
        page->StartButton(FALSE, cellId);
        if (!page->m_runningButtons.IsEmpty()) {
            page->RefreshButtonAnimations();
        } else {
            StopAnimationTimer();
            SetAnimMode(kModeZ);
        }
        RenderScene();
        return;
    }
    if (page->StartButton(TRUE, cellId)) {
        page->RefreshButtonAnimations();
        SetAnimMode(kModeButtons);
        if (!IsTimerSet(kAnimationTimer))
            StartAnimationTimer();
    }
    RenderScene();
}

void CHalvixView::OnRotateAxis(UINT id) {
    const CRotateCommand* command = FindRotateCommand(id);
    if (!command)
        return;
    // While buttons run the timer is theirs.
    if (AnimMode() == kModeButtons && g_animationRunning)
        return;
    SetAnimMode(command->mode);
    if (command->plus)
        MakeSpeedNonNegative();
    else
        MakeSpeedNonPositive();
    if (!g_animationRunning) {
        StartAnimationTimer();
        RenderScene();
    }
}

void CHalvixView::OnUpdateRotateAxis(CCmdUI* pCmdUI) {
    const CRotateCommand* command = FindRotateCommand(pCmdUI->m_nID);
    const bool on =
        command && AnimMode() == command->mode && (command->plus ? g_viewSpeed >= 0.0f : g_viewSpeed < 0.0f);
    pCmdUI->SetCheck(on ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Arrow keys

void CHalvixView::OnKeyLeft() {
    ArrowKey(kLeft, false);
}
void CHalvixView::OnKeyRight() {
    ArrowKey(kRight, false);
}
void CHalvixView::OnKeyUp() {
    ArrowKey(kUp, false);
}
void CHalvixView::OnKeyDown() {
    ArrowKey(kDown, false);
}
void CHalvixView::OnCtrlKeyLeft() {
    ArrowKey(kLeft, true);
}
void CHalvixView::OnCtrlKeyRight() {
    ArrowKey(kRight, true);
}
void CHalvixView::OnCtrlKeyUp() {
    ArrowKey(kUp, true);
}
void CHalvixView::OnCtrlKeyDown() {
    ArrowKey(kDown, true);
}

void CHalvixView::ArrowKey(int key, bool ctrl) {
    CGPage* page = g_pCurPage;
    // 0. An open media player takes the arrows.
    if (MediaArrowKey(key == kLeft, key == kRight, key == kUp))
        return;
    // 1. Steering the rotation while it runs.
    if (g_animationRunning && AnimMode() > kModeButtons) {
        if (!ctrl) {
            SetAnimMode(key == kLeft || key == kRight ? kModeZ : kModeX);
            if (key == kLeft || key == kUp)
                MakeSpeedNonPositive();
            else
                MakeSpeedNonNegative();
        } else if (key == kLeft || key == kRight) {
            SetAnimMode(kModeY);
            if (key == kLeft)
                MakeSpeedNonPositive();
            else
                MakeSpeedNonNegative();
        } else if (key == kUp) {
            if (g_viewSpeed > 0.02f)
                g_viewSpeed -= 0.01f;
            else if (g_viewSpeed < -0.02f)
                g_viewSpeed += 0.01f;
        } else {
            if (g_viewSpeed > 0.0f)
                g_viewSpeed += 0.01f;
            else
                g_viewSpeed -= 0.01f;
        }
        return;
    }
    // 2. The corner of the screenshot rectangle.
    if (g_mouseTool == 8) {
        if (ctrl)
            return;
        if (key == kLeft)
            m_grabWidth = std::max(1, m_grabWidth - 1);
        else if (key == kRight)
            ++m_grabWidth;
        else if (key == kUp)
            m_grabHeight = std::max(1, m_grabHeight - 1);
        else
            ++m_grabHeight;
        g_mouseX = g_pressX + m_grabWidth;
        g_mouseY = g_pressY + m_grabHeight;
        RenderScene();
        return;
    }
    if (g_mouseTool != 1)
        return;
    // 3. Nudging the one selected point (Ctrl with Left and Right turns the view instead).
    CGCell* selected =
        page && page->m_selPoints.GetCount() == 1 ? page->FindCell(page->m_selPoints.GetHead()) : nullptr;
    if (selected && !(ctrl && (key == kLeft || key == kRight))) {
        auto* free = DYNAMIC_DOWNCAST(CGVerFree, selected);
        if (!free) {
            if (ctrl)
                return;
            selected->Recompute();
            RenderScene();
            return;
        }
        if (ctrl)
            free->m_z += key == kUp ? 0.01f : -0.01f;
        else if (key == kUp || key == kDown)
            free->m_y += key == kUp ? 0.01f : -0.01f;
        else if (StepsAlongPath(free))
            free->m_param1 += key == kLeft ? -0.001f : 0.001f;
        else
            free->m_x += key == kLeft ? -0.01f : 0.01f;
        free->SyncVertex();
        page->CollectDescendantIds(*free, page->m_scratchIds);
        page->UpdateCellsById(page->m_scratchIds);
        SetModified();
        RenderScene();
        return;
    }
    // 4. Turning the view.
    if (ctrl && (key == kUp || key == kDown))
        return;
    if (ctrl) {
        if (!g_viewLocked) {
            RotateViewRoll(key == kLeft ? -1.0 : 1.0);
            RenderScene();
        }
        return;
    }
    if (!g_viewLocked) {
        if (key == kLeft || key == kRight)
            RotateViewYaw(key == kLeft ? -1.0 : 1.0);
        else
            RotateViewPitch(key == kUp ? -1.0 : 1.0);
    }
    RenderScene();
}

// ---------------------------------------------------------------------------------------------
// Display switches

void CHalvixView::OnToggleCoordSystem() {
    if (g_coordDisplayFlags & 1) {
        g_coordDisplayFlags &= ~1;
    } else if (g_coordDisplayFlags & 2) {
        g_coordDisplayFlags &= ~2;
    } else if (g_viewRotation[0] == 1.0) {
        g_coordDisplayFlags |= 2;
    } else {
        g_coordDisplayFlags |= 1;
        const int type =
            g_projectionType >= 0 && g_projectionType <= 2 ? g_projectionType : HX_PROJ_ORTHOGRAPHIC;
        const CProjectionOrientation& o = g_projectionOrientations[type];
        SetViewRotation(o.axes[0], o.axes[1]);
    }
    RenderScene();
}

void CHalvixView::OnUpdateCoordSystem(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck((g_coordDisplayFlags & 3) ? 1 : 0);
}

void CHalvixView::OnToggleSnap() {
    g_snapToGrid = g_snapToGrid ? 0 : 1;
}

void CHalvixView::OnUpdateSnap(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_snapToGrid ? 1 : 0);
}

void CHalvixView::OnToggleCoordLines() {
    m_showCoordLines = m_showCoordLines ? 0 : 1;
}

void CHalvixView::OnUpdateCoordLines(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_showCoordLines ? 1 : 0);
}

void CHalvixView::OnThreeView() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    page->m_threeView = page->m_threeView ? 0 : 1;
    if (page->m_threeView) {
        g_tracing = FALSE;
        g_traceImageEmpty = 1;
        if (g_projectionType != HX_PROJ_ORTHOGRAPHIC)
            ApplyProjection(HX_PROJ_ORTHOGRAPHIC);
        g_viewRotation[0] = 0.2;
        g_viewRotation[1] = -0.15;
        g_viewRotation[2] = -0.56;
        g_viewRotation[3] = -0.79;
    } else if (MakeContextCurrent()) {
        glViewport(0, 0, g_clientWidth, g_clientHeight);
        glGetIntegerv(GL_VIEWPORT, g_viewport);
    } else {
        g_viewport[0] = g_viewport[1] = 0;
        g_viewport[2] = g_clientWidth;
        g_viewport[3] = g_clientHeight;
    }
    RenderScene();
}

void CHalvixView::OnUpdateThreeView(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_pCurPage && g_pCurPage->m_threeView ? 1 : 0);
}

void CHalvixView::SetStandardView(const double* angles, bool planeView) {
    if (AnimMode() == kModeButtons)
        return;
    if (g_animationRunning)
        StopAnimationTimer();
    if (g_projectionType != HX_PROJ_ORTHOGRAPHIC)
        ApplyProjection(HX_PROJ_ORTHOGRAPHIC);
    g_viewTransX = 0.0f;
    g_viewTransY = 0.0f;
    g_viewTransZ = -50.0f;
    g_viewZoom = 1.0f;
    if (planeView) {
        SetPlaneViewRotation();
        if (g_coordDisplayFlags & 1)
            g_coordDisplayFlags = (g_coordDisplayFlags & ~1) | 2;
    } else {
        SetViewRotation(angles[0], angles[1]);
        g_coordDisplayFlags = 1;
    }
    RenderScene();
    if (planeView)
        UpdatePanSliders();
}

void CHalvixView::OnFrontView() {
    SetStandardView(g_frontViewAngles, false);
}

void CHalvixView::OnLeftView() {
    SetStandardView(g_leftViewAngles, false);
}

void CHalvixView::OnTopView() {
    SetStandardView(g_topViewAngles, false);
}

void CHalvixView::OnView2D() {
    SetStandardView(nullptr, true);
}

void CHalvixView::OnThreeViewDirect() {
    if (!g_pCurPage)
        return;
    g_pCurPage->m_threeViewPersp = !g_pCurPage->m_threeViewPersp;
    RenderScene();
}

void CHalvixView::OnUpdateThreeViewDirect(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_pCurPage && g_pCurPage->m_threeViewPersp ? 1 : 0);
}

void CHalvixView::OnViewLock() {
    g_viewLocked = g_viewLocked ? 0 : 1;
    if (g_pCurPage)
        g_pCurPage->m_viewLocked = g_viewLocked != 0;
}

void CHalvixView::OnUpdateViewLock(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_viewLocked ? 1 : 0);
}

void CHalvixView::OnDragLock() {
    g_dragLocked = g_dragLocked ? 0 : 1;
    if (g_pCurPage)
        g_pCurPage->m_dragLocked = g_dragLocked != 0;
}

void CHalvixView::OnUpdateDragLock(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_dragLocked ? 1 : 0);
}

void CHalvixView::OnToggleTrackball() {
    g_trackballMode = g_trackballMode ? 0 : 1;
}

void CHalvixView::OnUpdateTrackball(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(g_trackballMode ? 1 : 0);
}

void CHalvixView::OnToggleBorders() {
    m_showBorders = m_showBorders ? 0 : 1;
    RenderScene();
}

void CHalvixView::OnUpdateBorders(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_showBorders ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Commands served by other parts of the program

void CHalvixView::OnColorImageText() {
    if (!m_pDocument || !HxGetViewServices().insertMtfColourText)
        return;
    const QPoint client(int((g_clientWidth / 2 - 300) / devicePixelRatioF()),
                        int((g_clientHeight / 2 - 128) / devicePixelRatioF()));
    const QPoint screen = mapToGlobal(client);
    HxGetViewServices().insertMtfColourText(*m_pDocument, CPoint(screen.x(), screen.y()), 1);
}

void CHalvixView::OnUpdateColorImageText(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pDocument && HxGetViewServices().insertMtfColourText ? TRUE : FALSE);
}

void CHalvixView::OnReplaceTexture() {
    if (HxReplaceTexture(m_pDocument))
        RenderScene();
}

void CHalvixView::OnInsertPicture() {
    HxInsertPictureFile(m_pDocument);
}

void CHalvixView::OnPasteBitmapText() {
    if (m_pDocument && HxPasteBitmapText(m_pDocument))
        RenderScene();
}

void CHalvixView::OnUpdatePasteBitmapText(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pDocument && HxCanPasteBitmapText() ? TRUE : FALSE);
}

void CHalvixView::OnEditPreferences() {
    if (!HxGetViewServices().runPreferences)
        return;
    const int result = HxGetViewServices().runPreferences();
    if (result == 0 || !m_pDocument)
        return;
    m_pDocument->SetModifiedFlag(TRUE);
    if (result == 2 && MakeContextCurrent()) {
        BuildFontLists();
        BuildCaptionFontLists();
        m_pDocument->RefreshAllPages();
    }
    g_traceImageEmpty = 1;
    if (g_pCurPage)
        for (int i = 0; i < 4; ++i)
            g_pCurPage->m_background[i] = g_backgroundColor[i];
    if (MakeContextCurrent())
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);
    RenderScene();
}

void CHalvixView::OnUpdateEditPreferences(CCmdUI* pCmdUI) {
    pCmdUI->Enable(HxGetViewServices().runPreferences ? TRUE : FALSE);
}
