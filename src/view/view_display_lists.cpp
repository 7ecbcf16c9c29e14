// The view's fixed display lists.
#include "view/view_display_lists.h"

#include "model/model_globals.h"
#include "view/gl_context.h"
#include "view/glyph_lists.h"
#include "view/view_colors.h"
#include "view/view_globals.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

void CompileCircle(GLuint list) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; 0.1 * i < 2.0 * M_PI; ++i)
        glVertex3d(std::cos(0.1 * i), std::sin(0.1 * i), 0.0);
    glEnd();
    glEndList();
}

void CompileArrowHead(GLuint list) {
    double rim[8][3];
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4.0;
        rim[i][0] = 0.2 * std::cos(a);
        rim[i][1] = 0.2 * std::sin(a);
        rim[i][2] = -1.0;
    }
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLE_FAN);
    glVertex3d(0.0, 0.0, 0.0);
    for (int i = 0; i <= 8; ++i)
        glVertex3dv(rim[i % 8]);
    glEnd();
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    for (const auto& p : rim)
        glVertex3dv(p);
    glEnd();
    glBegin(GL_LINES);
    for (const auto& p : rim) {
        glVertex3d(0.0, 0.0, 0.0);
        glVertex3dv(p);
    }
    glEnd();
    glLineWidth(g_lineWidth);
    glEndList();
}

// Three levels of annuli, hue running round each ring and lightness growing outwards.
void CompileColorRings(GLuint list) {
    glNewList(list, GL_COMPILE);
    for (int k = -1; k <= 1; ++k) {
        const int level = std::abs(k);
        for (int j = 0; j < 5 - 2 * level; ++j) {
            const double inner = 2.0 * (level + j), outer = inner + 2.0;
            const double lightness = 0.35 + 0.08 * j;
            glBegin(GL_QUAD_STRIP);
            for (int i = 0; i <= 12; ++i) {
                const double a = i * M_PI / 6.0;
                double rgb[3];
                HslToRgb(rgb, i / 12.0, 1.0, lightness);
                glColor3dv(rgb);
                glVertex3d(inner * std::cos(a), inner * std::sin(a), 5.0 * k);
                glVertex3d(outer * std::cos(a), outer * std::sin(a), 5.0 * k);
            }
            glEnd();
        }
    }
    glEndList();
}

void CallLetter(const char16_t* letter) {
    CString glyphs = GetLabelGlyphLists(letter);
    if (!glyphs.IsEmpty())
        glCallLists(glyphs.GetLength(), GL_UNSIGNED_SHORT, glyphs.GetString());
}

// The axes: arrow heads at the ends (list 1 turned from +z onto each axis) with their letters,
// "o" at the origin, then the three lines.
void CompileAxes(GLuint list, GLuint arrowHead) {
    struct Axis {
        float color[3];
        double turn[4]; // angle, axis
        double letter[3];
        const char16_t* name;
    };
    static const Axis axes[3] = {{{0, 0, 1}, {0, 1, 0, 0}, {0.3, 0.0, 12.3}, u"z"},
                                 {{1, 0, 0}, {90, 0, 1, 0}, {12.3, 0.0, 0.3}, u"x"},
                                 {{0, 1, 0}, {-90, 1, 0, 0}, {0.0, 12.3, 0.3}, u"y"}};
    glNewList(list, GL_COMPILE);
    glLineWidth(g_lineWidth);
    for (const Axis& axis : axes) {
        glColor3fv(axis.color);
        glPushMatrix();
        glRotated(axis.turn[0], axis.turn[1], axis.turn[2], axis.turn[3]);
        glTranslated(0.0, 0.0, 12.0);
        glCallList(arrowHead);
        glPopMatrix();
        glRasterPos3dv(axis.letter);
        CallLetter(axis.name);
    }
    glColor3f(0.5f, 0.5f, 0.0f);
    glRasterPos3d(0.5, 0.5, 0.0);
    CallLetter(u"o");
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(12, 0, 0);
    glColor3f(0, 1, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 12, 0);
    glColor3f(0, 0, 1);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 0, 12);
    glEnd();
    glEndList();
}

void CompileGrid(GLuint list) {
    glNewList(list, GL_COMPILE);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    for (int i = -12; i <= 12; ++i) {
        glVertex3d(i, -12.0, 0.0);
        glVertex3d(i, 12.0, 0.0);
        glVertex3d(-12.0, i, 0.0);
        glVertex3d(12.0, i, 0.0);
    }
    glEnd();
    glLineWidth(g_lineWidth);
    glEndList();
}

void CompileQuadrics(GLuint base) {
    GLUquadric* q = gluNewQuadric();
    if (!q)
        return;
    gluQuadricNormals(q, GLU_SMOOTH);
    gluQuadricTexture(q, GL_TRUE);
    gluQuadricDrawStyle(q, GLU_FILL);
    glNewList(base + HX_LIST_DISK, GL_COMPILE);
    gluDisk(q, 0.0, 1.0, 24, 2);
    glEndList();
    glNewList(base + HX_LIST_SPHERE, GL_COMPILE);
    gluSphere(q, 1.0, 48, 24);
    glEndList();
    glNewList(base + HX_LIST_CYLINDER, GL_COMPILE);
    gluCylinder(q, 1.0, 1.0, 1.0, 48, 12);
    glEndList();
    glNewList(base + HX_LIST_CONE, GL_COMPILE);
    gluCylinder(q, 1.0, 0.0, 1.0, 48, 12);
    glEndList();

    gluQuadricTexture(q, GL_FALSE);
    gluQuadricDrawStyle(q, GLU_LINE);
    glNewList(base + HX_LIST_WIRE_SPHERE, GL_COMPILE);
    gluSphere(q, 1.0, 24, 12);
    glEndList();
    glNewList(base + HX_LIST_WIRE_DISK, GL_COMPILE);
    gluDisk(q, 0.0, 1.0, 24, 1);
    glEndList();
    glNewList(base + HX_LIST_WIRE_CYLINDER, GL_COMPILE);
    gluCylinder(q, 1.0, 1.0, 1.0, 24, 5);
    glEndList();
    glNewList(base + HX_LIST_WIRE_CONE, GL_COMPILE);
    gluCylinder(q, 1.0, 0.0, 1.0, 24, 5);
    glEndList();
    glNewList(base + HX_LIST_WIRE_CYLINDER2, GL_COMPILE);
    gluCylinder(q, 1.0, 1.0, 1.0, 24, 5);
    glEndList();
    gluDeleteQuadric(q);
}

} // namespace

bool HxBuildViewDisplayLists() {
    if (!HxMakeGlCurrent())
        return false;
    if (g_listBase != 0)
        HxDeleteViewDisplayLists();
    const GLuint base = glGenLists(HX_VIEW_LIST_COUNT);
    if (base == 0)
        return false;
    if (!HxReserveGlyphBlocks()) {
        glDeleteLists(base, HX_VIEW_LIST_COUNT);
        return false;
    }
    g_listBase = base;
    CompileCircle(base + HX_LIST_CIRCLE);
    CompileArrowHead(base + HX_LIST_ARROW_HEAD);
    CompileColorRings(base + HX_LIST_COLOR_RINGS);
    CompileAxes(base + HX_LIST_AXES, base + HX_LIST_ARROW_HEAD);
    CompileGrid(base + HX_LIST_GRID);
    CompileQuadrics(base);
    return true;
}

void HxDeleteViewDisplayLists() {
    if (g_listBase != 0 && HxMakeGlCurrent())
        glDeleteLists(g_listBase, HX_VIEW_LIST_COUNT);
    g_listBase = 0;
}

GLUquadric* g_gluQuadric = nullptr;

GLUquadric* HxGluQuadric() {
    if (!g_gluQuadric)
        g_gluQuadric = gluNewQuadric();
    return g_gluQuadric;
}
