// Test support for free points: a page that creates them as construction commands do, the mouse ray
// set as the view sets it before a drag step, and a drag run as the view runs one (descendants
// collected once when it begins, recomputed in ascending id order after every move).
#pragma once

#include "model/constrained_points.h"
#include "model/free_points.h"
#include "support/page_fixture.h"
#include "model_checks.h"
#include "view/view_globals.h"

#include <cmath>
#include <vector>

class FreePointTest : public PageFixture {
protected:
    // A new point of class T with the page's next id and vertex index and an automatic name, the
    // remaining constructor arguments as given.
    template <class T, class... Args> T* Add(Args... args) {
        WORD id = NextId();
        DWORD vertex = NextVertex();
        return Insert(new T(id, vertex, m_page->MakeAutoLabel(CGPage::kAutoLabelPoint), args...));
    }

    // The mouse ray as the view leaves it: near and far points, the direction near minus far.
    static void SetRay(double nx, double ny, double nz, double fx, double fy, double fz) {
        g_pickRayNear[0] = nx;
        g_pickRayNear[1] = ny;
        g_pickRayNear[2] = nz;
        g_pickRayFar[0] = fx;
        g_pickRayFar[1] = fy;
        g_pickRayFar[2] = fz;
        g_viewDirX = float(nx - fx);
        g_viewDirY = float(ny - fy);
        g_viewDirZ = float(nz - fz);
    }
    // Looking down the z axis at (x, y): near z = 100, far z = -100.
    static void RayDownZ(double x, double y) { SetRay(x, y, 100, x, y, -100); }
    // Looking along -x at (y, z), and along -y at (x, z).
    static void RayAlongX(double y, double z) { SetRay(100, y, z, -100, y, z); }
    static void RayAlongY(double x, double z) { SetRay(x, 100, z, x, -100, z); }
    // One drag step of p onto its carrier under the ray the helper of the same name sets.
    static void Drag(CGVerFree* p, double nx, double ny, double nz, double fx, double fy, double fz) {
        SetRay(nx, ny, nz, fx, fy, fz);
        p->ConstrainToCarrier();
    }
    static void DragDownZ(CGVerFree* p, double x, double y) { Drag(p, x, y, 100, x, y, -100); }
    static void DragAlongX(CGVerFree* p, double y, double z) { Drag(p, 100, y, z, -100, y, z); }
    static void DragAlongY(CGVerFree* p, double x, double z) { Drag(p, x, 100, z, x, -100, z); }

    static void ExpectAt(const CGVertex& p, float x, float y, float z) {
        EXPECT_FLOAT_EQ(p.m_x, x);
        EXPECT_FLOAT_EQ(p.m_y, y);
        EXPECT_FLOAT_EQ(p.m_z, z);
    }
    // The position and the first parameter (the place on the carrier, a distance or an angle).
    static void ExpectAt(const CGVertex& p, float x, float y, float z, float t) {
        ExpectAt(p, x, y, z);
        EXPECT_FLOAT_EQ(p.m_param1, t);
    }
    static void ExpectNear(const CGVertex& p, double x, double y, double z, double tolerance = 1e-5) {
        EXPECT_NEAR(p.m_x, x, tolerance);
        EXPECT_NEAR(p.m_y, y, tolerance);
        EXPECT_NEAR(p.m_z, z, tolerance);
    }
    // The vertex-array entry and the label anchor agree with the position.
    void ExpectSynced(const CGVertex& p) {
        const float* slot = Slot(p.m_vertexIndex);
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot[0], p.m_x);
        EXPECT_EQ(slot[1], p.m_y);
        EXPECT_EQ(slot[2], p.m_z);
        EXPECT_EQ(p.m_labelPos[0], p.m_x + p.m_labelOffset[0]);
        EXPECT_EQ(p.m_labelPos[1], p.m_y + p.m_labelOffset[1]);
        EXPECT_EQ(p.m_labelPos[2], p.m_z + p.m_labelOffset[2]);
    }
    // Everything a failed drag step must leave alone.
    struct CPointState {
        float x, y, z, p1, p2, p3;
        bool operator==(const CPointState&) const = default;
    };
    static CPointState StateOf(const CGVertex& p) {
        return {p.m_x, p.m_y, p.m_z, p.m_param1, p.m_param2, p.m_param3};
    }
};

// One drag of a free point, as the view runs it.  The descendants go into the page's scratch list,
// which the trace list of a drag reads; m_recomputeIds belongs to the running buttons.
class CDragRun {
public:
    CDragRun(CGPage& page, CGVerFree& point) : m_page(page), m_point(point) {
        g_draggedId = point.m_id;
        point.MarkDescendants();
        page.CollectMarkedIds(page.m_scratchIds);
        page.RebuildTraceList(2);
    }
    ~CDragRun() { g_draggedId = 0; }
    CDragRun(const CDragRun&) = delete;
    CDragRun& operator=(const CDragRun&) = delete;

    // One mouse move: the caller has set the ray; the point goes onto its carrier and the collected
    // descendants follow.
    void Move() {
        m_point.ConstrainToCarrier();
        m_page.UpdateCellsById(m_page.m_scratchIds);
    }

private:
    CGPage& m_page;
    CGVerFree& m_point;
};
