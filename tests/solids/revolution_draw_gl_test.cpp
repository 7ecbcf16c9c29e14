// Solids of revolution drawn by the page's passes into an offscreen framebuffer with the view's
// display lists: the outline that keeps facing the viewer with its hidden rim dashed, the lit and
// textured surface, the translucent surface with a segment seen through it, the selection mesh, the
// frustum's top ratio after its outline, the orientation along the axis, and a pick on each solid.
#include "solids/revolution_constructed.h"
#include "support/render_fixture.h"
#include "view/view_display_lists.h"
#include "view/view_globals.h"

#include "model/arc_circles.h"

#include <cmath>
#include <functional>

namespace {

// 400 x 300 pixels, 20 pixels a unit, the origin at pixel (200, 150).
class RevolutionDrawTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        ASSERT_TRUE(HxBuildViewDisplayLists());
    }
    void TearDown() override {
        HxSetTextureBinder(nullptr);
        HxDeleteViewDisplayLists();
        RenderFixture::TearDown();
    }
    // The scene turned about x so that +z leans up and toward the viewer: seen from above and in
    // front (the viewer in the direction (0, -sin a, cos a)).
    static void TiltView(double degrees) {
        const double half = -degrees * M_PI / 360.0;
        g_viewRotation[0] = std::cos(half);
        g_viewRotation[1] = std::sin(half);
        g_viewRotation[2] = 0.0;
        g_viewRotation[3] = 0.0;
    }
    static void TurnView(double degrees, double ax, double ay, double az) {
        const double half = degrees * M_PI / 360.0, n = std::sqrt(ax * ax + ay * ay + az * az);
        g_viewRotation[0] = std::cos(half);
        g_viewRotation[1] = std::sin(half) * ax / n;
        g_viewRotation[2] = std::sin(half) * ay / n;
        g_viewRotation[3] = std::sin(half) * az / n;
    }
    template <class T> T* Add(T* cell) {
        cell->m_id = NextId();
        return Insert(cell);
    }
    CGVertex* Corner(float x, float y, float z) {
        CGVertex* p = AddPoint(x, y, z);
        p->m_style = 2;
        p->m_labelHidden = 1;
        return p;
    }
    static bool IsGreen(const std::array<int, 4>& p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; }
    static bool IsMagenta(const std::array<int, 4>& p) { return p[0] > p[1] + 60 && p[2] > p[1] + 60; }
    int CountIn(int x0, int y0, int x1, int y1, const std::function<bool(const std::array<int, 4>&)>& test) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += test(Pixel(x, y)) ? 1 : 0;
        return n;
    }
    // Of the points of the circle of radius r about c in the plane z = c.z between the angles a0 and
    // a1, how many have ink within a pixel.
    std::pair<int, int> InkAlongCircle(double cx, double cy, double cz, double r, double a0, double a1) {
        int inked = 0, all = 0;
        for (double a = a0; a <= a1; a += 0.01) {
            const auto p = ToPixel(cx + r * std::cos(a), cy + r * std::sin(a), cz);
            inked += InkAt(p[0], p[1]) ? 1 : 0;
            ++all;
        }
        return {inked, all};
    }

    std::vector<std::vector<GLuint>> Pick(int x, int y) {
        std::vector<GLuint> buffer(1024);
        glSelectBuffer(GLsizei(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(GLuint(-1));
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(x, y, 10, 10, g_viewport);
        glMultMatrixd(g_projectionMatrix);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        ApplyViewCamera();
        const BOOL colours = g_useObjectColors;
        g_useObjectColors = FALSE;
        m_page->DrawPickNames(3);
        g_useObjectColors = colours;
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        GLint hits = glRenderMode(GL_RENDER);
        std::vector<std::vector<GLuint>> records;
        size_t at = 0;
        for (GLint i = 0; i < hits; ++i) {
            GLuint count = buffer[at];
            records.emplace_back(buffer.begin() + long(at) + 3, buffer.begin() + long(at) + 3 + count);
            at += 3 + count;
        }
        return records;
    }
    std::vector<GLuint> PickedAt(double x, double y, double z) {
        DrawPage(); // the camera of the frame, as the view has it when the user clicks
        const auto p = ToPixel(x, y, z);
        auto hits = Pick(p[0], p[1]);
        return hits.size() == 1 ? hits[0] : std::vector<GLuint>{};
    }
};

TEST_F(RevolutionDrawTest, TheSphereOutlineFacesTheViewerWhateverTheTurn) {
    auto* sphere = Add(new CGSphere(0, 0, 0, 0, 3, 0, 0, 3));
    const struct {
        double angle, ax, ay, az;
    } turns[] = {{0, 0, 0, 1}, {70, 1, 0, 0}, {-120, 1, 1, 0}, {35, 0.3, -1, 0.5}};
    for (const auto& t : turns) {
        TurnView(t.angle, t.ax, t.ay, t.az);
        DrawPage();
        // A circle of radius 60 pixels round the centre on the screen, and nothing inside.
        const auto c = ToPixel(0, 0, 0);
        for (int i = 0; i < 12; ++i) {
            const double a = i * M_PI / 6.0;
            EXPECT_TRUE(
                InkNear(c[0] + int(std::lround(60 * std::cos(a))), c[1] + int(std::lround(60 * std::sin(a)))))
                << t.angle << " at " << i;
        }
        EXPECT_EQ(InkIn(c[0] - 40, c[1] - 40, c[0] + 40, c[1] + 40), 0) << t.angle;
        EXPECT_EQ(InkIn(c[0] + 66, c[1] - 5, c[0] + 80, c[1] + 5), 0) << t.angle;
    }
    EXPECT_EQ(sphere->m_style, kRevStyleOutline);
}

TEST_F(RevolutionDrawTest, TheOutlineCylinderKeepsItsGeneratorsAtItsSidesAndDashesItsHiddenRim) {
    // Radius 3, from z = -2 to 2, with its two base circles.
    CGVertex* o = Corner(0, 0, -2);
    CGVertex* r = Corner(3, 0, -2);
    CGVertex* v = Corner(0, 0, 2);
    CGVertex* q = Corner(3, 0, 2);
    Insert(new CGCylinderCPC(NextId(), o->m_id, r->m_id, v->m_id));
    Insert(new CGArcPointN(NextId(), o->m_id, r->m_id, v->m_id, 0, 1))->m_labelHidden = 1;
    Insert(new CGArcPointN(NextId(), v->m_id, q->m_id, o->m_id, 0, 1))->m_labelHidden = 1;
    for (double tilt : {60.0, 30.0}) {
        TiltView(tilt);
        DrawPage();
        // The generators stay at x = +-3 on the screen, from the bottom rim to the top rim.
        for (double x : {-3.0, 3.0}) {
            const auto p = ToPixel(x, 0, 0);
            EXPECT_TRUE(InkNear(p[0], p[1])) << tilt << " " << x;
            const auto inside = ToPixel(x * 0.7, 0, 0);
            EXPECT_FALSE(InkNear(inside[0], inside[1])) << tilt << " " << x;
        }
        // The near half of the bottom rim is drawn whole, the far half (behind the body) dashed;
        // the top rim, in front of everything, whole all round.
        const auto [nearInk, nearAll] = InkAlongCircle(0, 0, -2, 3, M_PI + 0.2, 2 * M_PI - 0.2);
        const auto [farInk, farAll] = InkAlongCircle(0, 0, -2, 3, 0.2, M_PI - 0.2);
        const auto [topInk, topAll] = InkAlongCircle(0, 0, 2, 3, 0.0, 2 * M_PI);
        EXPECT_GT(nearInk, nearAll * 95 / 100) << tilt;
        EXPECT_LT(farInk, farAll * 85 / 100) << tilt << ": dashed";
        EXPECT_GT(farInk, farAll * 40 / 100) << tilt << ": but drawn";
        EXPECT_GT(topInk, topAll * 95 / 100) << tilt;
    }
}

TEST_F(RevolutionDrawTest, ALitSphereIsShadedAndTexturedAndSelectedItIsAMesh) {
    auto* sphere = Add(new CGSphere(0, 0, 0, 0, 3, 0, 0, 3));
    sphere->m_style = kRevStyleLit;
    DrawPage();
    // Lit from the front: the middle is green, brighter than the rim, and fills the disk.
    const auto middle = Pixel(200, 150);
    EXPECT_TRUE(IsGreen(middle)) << middle[0] << " " << middle[1] << " " << middle[2];
    EXPECT_EQ(CountIn(160, 110, 240, 190, [](const auto& p) { return p[0] + p[1] + p[2] > 700; }), 0)
        << "no white inside";
    EXPECT_FALSE(InkAt(200 + 65, 150));

    // Textured: the texture replaces the colour.
    static GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLubyte red[4 * 4] = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, red);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    HxSetTextureBinder([](int number) {
        if (number != 5)
            return false;
        glBindTexture(GL_TEXTURE_2D, texture);
        return true;
    });
    sphere->m_param4 = 5;
    DrawPage();
    EXPECT_EQ(Pixel(200, 150), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is switched off again";
    sphere->m_param4 = 6; // no such texture: drawn in its colour
    DrawPage();
    EXPECT_TRUE(IsGreen(Pixel(200, 150)));

    // Selected: only the mesh in the selection colour, whatever the style.
    sphere->m_selected = true;
    DrawPage();
    EXPECT_GT(CountIn(140, 90, 260, 210, IsMagenta), 300);
    EXPECT_EQ(CountIn(140, 90, 260, 210, IsGreen), 0);
    EXPECT_GT(CountIn(140, 90, 260, 210, [](const auto& p) { return p[0] + p[1] + p[2] > 700; }), 3000)
        << "a mesh, not a surface";
    glDeleteTextures(1, &texture);
}

TEST_F(RevolutionDrawTest, AWireSphereHasNoDashedBackWhileASelectedOneHas) {
    auto* sphere = Add(new CGSphere(0, 0, 0, 0, 3, 0, 0, 3));
    sphere->m_style = kRevStyleWire;
    TiltView(60);
    DrawPage();
    const int wire = InkIn(130, 80, 270, 220);
    EXPECT_GT(wire, 500);
    sphere->m_selected = true;
    DrawPage();
    const int selected = InkIn(130, 80, 270, 220);
    EXPECT_GT(selected, wire + 200) << "the back half comes dashed only while selected";
}

TEST_F(RevolutionDrawTest, ASegmentShowsThroughATranslucentCylinder) {
    // A segment along x at z = -5 behind a translucent cylinder lying along y.
    WORD a = Corner(-8, 0, -5)->m_id, b = Corner(8, 0, -5)->m_id;
    AddLine(a, b)->m_labelHidden = 1;
    auto* cylinder = Add(new CGCylinder(0, 0, -4, 0, 3, 8, 0, 1, 0));
    cylinder->m_style = kRevStyleTranslucent;
    cylinder->m_color = CRgba{0, 128, 0, 90};
    DrawPage();
    const auto bare = Pixel(100, 150);    // the segment alone, at x = -5
    const auto through = Pixel(200, 150); // behind the cylinder
    const auto tint = Pixel(200, 180);    // the cylinder alone
    EXPECT_EQ(bare[2], 128);
    EXPECT_TRUE(IsGreen(tint)) << tint[0] << " " << tint[1] << " " << tint[2];
    EXPECT_GT(tint[0], 60) << "white shows through";
    EXPECT_LT(through[0] + 30, tint[0]) << "the segment shows through";
    EXPECT_LT(through[1] + 30, tint[1]);
    // Opaque and lit it hides the segment, or shows it dashed when the page asks for lines behind
    // lit solids.
    cylinder->m_style = kRevStyleLit;
    cylinder->m_color.a = 255;
    m_page->m_dashedBehindLit = 0;
    DrawPage();
    const auto lit = Pixel(200, 150);
    EXPECT_TRUE(IsGreen(lit)) << lit[0] << " " << lit[1] << " " << lit[2];
    m_page->m_dashedBehindLit = 1;
    DrawPage();
    int segment = 0;
    for (int x = 150; x < 250; ++x)
        segment += Pixel(x, 150)[2] > 100 ? 1 : 0;
    EXPECT_GT(segment, 30);
    EXPECT_LT(segment, 80);
}

TEST_F(RevolutionDrawTest, AFrustumTakesItsReplacementRatiosOnlyFromItsOutline) {
    auto* flat = Add(new CGFrustum(0, 0, 0, 0, 2, 3, 0, 1, 0, 1.0f));
    auto* pointed = Add(new CGFrustum(0, 5, 0, 0, 2, 3, 0, 1, 0, 0.0f));
    flat->m_style = kRevStyleLit;
    pointed->m_style = kRevStyleWire;
    DrawPage();
    EXPECT_EQ(flat->m_topRatio, 1.0f);
    EXPECT_EQ(pointed->m_topRatio, 0.0f);
    flat->m_style = kRevStyleOutline;
    pointed->m_style = kRevStyleOutline;
    DrawPage();
    EXPECT_EQ(flat->m_topRatio, 0.999f);
    EXPECT_EQ(pointed->m_topRatio, 0.0001f);
    // The nearly straight sides of the first and the cone-like sides of the second.
    EXPECT_TRUE(InkNear(ToPixel(-2, 1.5, 0)[0], ToPixel(-2, 1.5, 0)[1]));
    EXPECT_TRUE(InkNear(ToPixel(5 + 1, 1.5, 0)[0], ToPixel(5 + 1, 1.5, 0)[1]));
    EXPECT_FALSE(InkNear(ToPixel(5 + 1.9, 2.5, 0)[0], ToPixel(5 + 1.9, 2.5, 0)[1]));
}

TEST_F(RevolutionDrawTest, SolidsTurnOntoTheirAxes) {
    auto matrixFor = [](std::initializer_list<float> axis) {
        std::vector<float> a(axis);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        HxOrientAlongAxis(a.data());
        std::array<double, 16> m{};
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
        glPopMatrix();
        return m;
    };
    // Along -z: half a turn about x, so z and y change sign.
    auto down = matrixFor({0, 0, -1});
    EXPECT_NEAR(down[5], -1.0, 1e-6);
    EXPECT_NEAR(down[10], -1.0, 1e-6);
    // Along x: the local z axis is the world x axis.
    auto across = matrixFor({2, 0, 0});
    EXPECT_NEAR(across[8], 1.0, 1e-6);
    EXPECT_NEAR(across[10], 0.0, 1e-6);
    // A sphere axis longer than its radius still turns by a finite angle.
    auto skew = matrixFor({1, 0, 5});
    for (double v : skew)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(skew[10], 0.9);
    // A cone along -z opens upwards: its apex lies below the base centre.
    auto* cone = Add(new CGCone(0, 0, 0, 2, 3, 4, 0, 0, -1));
    cone->m_style = kRevStyleLit;
    TiltView(80);
    DrawPage();
    EXPECT_TRUE(InkAt(ToPixel(0, 0, -1)[0], ToPixel(0, 0, -1)[1]));
    EXPECT_FALSE(InkAt(ToPixel(0, 0, 3)[0], ToPixel(0, 0, 3)[1]));
}

TEST_F(RevolutionDrawTest, EachSolidIsPickedAsASolid) {
    TiltView(40);
    auto* sphere = Add(new CGSphere(0, -6, 0, 0, 2, 0, 0, 2));
    auto* cylinder = Add(new CGCylinder(0, 0, 0, -1, 1.5f, 2, 0, 0, 1));
    auto* cone = Add(new CGCone(0, 6, 0, -1, 1.5f, 3, 0, 0, 1));
    auto* frustum = Add(new CGFrustum(0, 0, 5, -1, 1.5f, 2, 0, 0, 1, 0.5f));
    for (BYTE style : {kRevStyleLit, kRevStyleWire, kRevStyleTranslucent}) {
        for (CGCell* c : std::initializer_list<CGCell*>{sphere, cylinder, cone, frustum})
            c->m_style = style;
        EXPECT_EQ(PickedAt(-6, 0, 0), (std::vector<GLuint>{kPickClassSolid, sphere->m_id})) << int(style);
        // The cylinder is open at its ends: picked on its side.
        EXPECT_EQ(PickedAt(0, -1.5, 0), (std::vector<GLuint>{kPickClassSolid, cylinder->m_id})) << int(style);
        EXPECT_EQ(PickedAt(6, 0, 0), (std::vector<GLuint>{kPickClassSolid, cone->m_id})) << int(style);
        EXPECT_EQ(PickedAt(0, 5, 0), (std::vector<GLuint>{kPickClassSolid, frustum->m_id})) << int(style);
    }
    // In the outline style only the outline picks.
    for (CGCell* c : std::initializer_list<CGCell*>{sphere, cylinder, cone, frustum})
        c->m_style = kRevStyleOutline;
    EXPECT_TRUE(PickedAt(-6, 0, 0).empty()) << "inside the circle";
    EXPECT_EQ(PickedAt(-8, 0, 0), (std::vector<GLuint>{kPickClassSolid, sphere->m_id}));
    EXPECT_EQ(PickedAt(1.5, 0, 0), (std::vector<GLuint>{kPickClassSolid, cylinder->m_id}));
    // Hidden or invalid: never.
    sphere->m_hidden = 1;
    cylinder->m_valid = false;
    EXPECT_TRUE(PickedAt(-8, 0, 0).empty());
    EXPECT_TRUE(PickedAt(1.5, 0, 0).empty());
}

TEST_F(RevolutionDrawTest, AConeSeenFromAboveItsApexHasNoOutline) {
    auto* cone = Add(new CGCone(0, 0, 0, 0, 3, 2, 0, 0, 1));
    SetPlaneViewRotation();
    DrawPage();
    EXPECT_EQ(InkIn(0, 0, m_w, m_h), 0);
    const auto apex = ToPixel(0, 0, 2);
    EXPECT_TRUE(Pick(apex[0], apex[1]).empty());
    cone->m_style = kRevStyleWire;
    DrawPage();
    EXPECT_GT(InkIn(0, 0, m_w, m_h), 100);
}

TEST_F(RevolutionDrawTest, SolidsWithoutSizeOrWithNumbersThatAreNoneDrawNothingAmiss) {
    std::vector<CGCell*> odd = {
        Add(new CGSphere(0, 0, 0, 0, std::nanf(""), 0, 0, 1)),
        Add(new CGCylinder(0, 0, 0, 0, 2, 3, INFINITY, 0, 1)),
        Add(new CGCone(0, 0, 0, 0, 2, std::nanf(""), 0, 0, 1)),
        Add(new CGCone(0, 0, 0, 0, 2, 0, 0, 0, 0)),          // an apex on the base centre
        Add(new CGFrustum(0, 0, 0, 0, 0, 3, 0, 0, 1, 0.5f)), // no bottom radius
        Add(new CGFrustum(0, 0, 0, 0, 2, 3, 0, 0, 1, std::nanf(""))),
        Add(new CGSphere(0, 0, 0, 0, 0, 0, 0, 0)),
    };
    auto* sane = Add(new CGSphere(0, 6, 0, 0, 1, 0, 0, 1));
    TiltView(50);
    for (BYTE style : {kRevStyleOutline, kRevStyleWire, kRevStyleLit, kRevStyleTranslucent}) {
        for (CGCell* c : odd)
            c->m_style = style;
        sane->m_style = style;
        DrawPage();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << int(style);
        const auto at = ToPixel(6, 0, 0);
        Pick(at[0], at[1]);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << int(style);
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, 1) << "every matrix pushed is popped";
        EXPECT_GT(InkIn(at[0] - 25, at[1] - 25, at[0] + 25, at[1] + 25), 20) << int(style);
    }
    for (CGCell* c : odd)
        c->m_selected = true;
    DrawPage();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
