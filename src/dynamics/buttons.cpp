// The common action button: defaults and record, the caption's size and glyphs, drawing and picking
// in the screen plane, the drag of the handle, and the press of a button by its id.
#include "dynamics/buttons.h"

#include "model/page.h"
#include "platform/cmdtarget.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <cmath>

IMPLEMENT_SERIAL(CGButton, CGCell, 1)

namespace {

// Every button lies in this plane of the eye's frame, square to the line of sight.
constexpr float kScreenZ = -50.0f;
// The handle's width in units, drawn; its pick area is half a world unit wide.
constexpr float kHandleUnits = 12.0f;
constexpr float kHandlePickWidth = 0.5f;
// Pick classes of the handle and the body.
constexpr GLuint kPickHandle = 5;
constexpr GLuint kPickBody = 10;

void Quad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex3f(x0, y0, kScreenZ);
    glVertex3f(x1, y0, kScreenZ);
    glVertex3f(x1, y1, kScreenZ);
    glVertex3f(x0, y1, kScreenZ);
    glEnd();
}

// The button frame: the view's panning, but not its turning or zoom.
void PushScreenFrame() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(g_viewTransX, g_viewTransY, 0.0f);
}

bool ShownInThisLayout(const CGCell& button) {
    return button.m_hidden == 0 && !(g_pCurPage && g_pCurPage->m_threeView);
}

} // namespace

void HxPostButtonPress(CWnd* target, WORD id) {
    if (!target)
        return;
    if (id <= kMaxButtonCommandId)
        target->PostMessage(WM_COMMAND, ID_ACTION_BUTTON_FIRST + id, 0);
    else
        target->PostMessage(UM_PRESS_BUTTON, 0, LPARAM(id));
}

CGButton::CGButton() {
    m_color = CRgba{51, 102, 255, 255};
    m_labelColor.r = m_labelColor.g = m_labelColor.b = 0;
    m_labelHidden = 0;
}

CGButton::CGButton(WORD id, const CString& caption) : CGButton() {
    m_id = id;
    m_name = caption;
    if (g_pCurPage)
        g_pCurPage->PlaceNewButton(m_labelPos[0], m_labelPos[1]);
}

void CGButton::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_speed;
    } else {
        ar >> m_speed;
        m_running = false;
        m_flag2 = true;
    }
}

BOOL CGButton::Step() {
    return TRUE;
}

CString CGButton::GetDescription() {
    return CString(u"动作按钮");
}

void CGButton::SizeForCaption(int extentWidth, int extentHeight, int& width, int& height) {
    width = extentWidth < 31 ? kMinWidth : extentWidth + 30;
    height = extentHeight < 17 ? kMinHeight : extentHeight + 9;
}

void CGButton::UpdateCaption() {
    int w = 0, h = 0;
    HxButtonCaptionExtent(m_name, w, h);
    SizeForCaption(w, h, m_width, m_height);
    // The glyphs need a context; without one the caption is measured again at the next drawing.
    if (HxHasCurrentGlContext()) {
        m_text2 = GetButtonGlyphLists(m_name);
        m_flag2 = false;
    }
}

void CGButton::SetCaption(const CString& caption) {
    m_name = caption;
    m_flag2 = true;
}

void CGButton::GetBodyRect(float& x0, float& y0, float& x1, float& y1) const {
    const float u = g_unitLength;
    x0 = m_labelPos[0];
    y0 = m_labelPos[1];
    x1 = x0 + float(m_width) * u;
    y1 = y0 - float(m_height) * u;
}

void CGButton::DrawOnTop() {
    if (!ShownInThisLayout(*this))
        return;
    if (m_flag2)
        UpdateCaption();
    const float u = g_unitLength;
    float x0, y0, x1, y1;
    GetBodyRect(x0, y0, x1, y1);
    PushScreenFrame();
    const CRgba& handle = m_selected ? g_colorSelection : m_color;
    glColor4ub(handle.r, handle.g, handle.b, handle.a);
    Quad(x0 - kHandleUnits * u, y1, x0, y0);
    glColor4f(0.55f, 0.53f, 0.47f, 1.0f);
    Quad(x0, y1, x1, y0);
    // The light edge on the upper left of a raised button, on the lower right of a pressed one.
    glColor4f(0.92f, 0.92f, 0.92f, 1.0f);
    if (m_running)
        Quad(x0 + 2.0f * u, y1, x1, y0 - 2.0f * u);
    else
        Quad(x0, y1 + 2.0f * u, x1 - 2.0f * u, y0);
    if (m_running)
        glColor4f(0.80f, 0.78f, 0.72f, 1.0f);
    else
        glColor4f(0.88f, 0.86f, 0.80f, 1.0f);
    Quad(x0 + 2.0f * u, y1 + 2.0f * u, x1 - 2.0f * u, y0 - 2.0f * u);
    if (m_labelHidden == 0 && !m_text2.IsEmpty()) {
        glColor4ub(m_labelColor.r, m_labelColor.g, m_labelColor.b, m_labelColor.a);
        if (HxRasterPosForGlyphs(x0 + 17.0f * u, y1 + (m_running ? 8.0f : 9.0f) * u, kScreenZ, m_text2))
            DrawGlyphString(m_text2);
    }
    glPopMatrix();
}

void CGButton::DrawForPick(int mode) {
    if (mode < 3 || !ShownInThisLayout(*this))
        return;
    float x0, y0, x1, y1;
    GetBodyRect(x0, y0, x1, y1);
    PushScreenFrame();
    glLoadName(kPickHandle);
    glPushName(m_id);
    Quad(x0 - kHandlePickWidth, y1, x0, y0);
    glPopName();
    glLoadName(kPickBody);
    glPushName(m_id);
    Quad(x0, y1, x1, y0);
    glPopName();
    glPopMatrix();
}

void CGButton::DragBy() {
    const float u = g_unitLength;
    m_labelPos[1] -= float(g_mouseDY) * u;
    m_labelPos[0] += float(g_mouseDX) * u;
    if (!g_pCurPage || u <= 0.0f)
        return;
    const float k = 1.0f / (20.0f * u);
    const float x = m_labelPos[0] * k, y = m_labelPos[1] * k;
    g_pCurPage->m_lastButtonX = x;
    g_pCurPage->m_lastButtonY = y;
    g_pCurPage->m_buttonSlot = BYTE(int(std::trunc((12.0f - y + 0.75f) / 1.5f)) -
                                    16 * int(std::trunc((x + 18.0f + 2.5f) / -5.0f)) + 1);
}
