// Test support for hulls and the figures built on them: a current page with hulls of point sets or
// presets, faces on new points, the messages shown, and the checks every closed polyhedron passes.
#pragma once

#include "model/face.h"
#include "platform/random.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/polyhedron.h"
#include "support/page_fixture.h"

#include <initializer_list>
#include <vector>

class HullTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        HxSrand(1);
        g_nextNetTexture = 8;
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        PageFixture::TearDown();
    }

    // A hull on the page from points x, y, z, ...; the builder must succeed.
    CGPolyhedron* AddHull(const std::vector<double>& points) {
        auto* hull = new CGPolyhedron;
        hull->m_id = NextId();
        EXPECT_TRUE(BuildConvexHull(points.data(), int(points.size() / 3), *hull));
        return Insert(hull);
    }
    CGPolyhedron* AddPreset(int item) { return AddHull(HxHullPresetPoints(item)); }
    // The cube with corners (±h, ±h, ±h).
    CGPolyhedron* AddCube(double h = 2.0) {
        std::vector<double> p;
        for (int i = 0; i < 8; ++i)
            p.insert(p.end(), {i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? h : -h});
        return AddHull(p);
    }
    // A face on three new points.
    CGFace* AddPlaneFace(std::initializer_list<float> xyz) {
        std::vector<float> v(xyz);
        CList<WORD, WORD> corners;
        for (size_t i = 0; i + 2 < v.size(); i += 3)
            corners.AddTail(AddPoint(v[i], v[i + 1], v[i + 2])->m_id);
        return Insert(new CGFace(NextId(), corners, RGB(10, 20, 30)));
    }

    // Every loop index is a point, the figure closes (V - E + F = 2) and every point lies on or
    // below every face's plane.
    static void ExpectClosedConvex(const CGPolyhedron& p) {
        EXPECT_EQ(int(p.m_points.size()) - int(p.m_edges.size()) + int(p.m_faces.size()), 2);
        for (const PolyFace& f : p.m_faces) {
            EXPECT_GE(f.loop.size(), 3u);
            for (const PolyPoint& q : p.m_points)
                EXPECT_LE(f.Evaluate(q), 1e-6);
        }
    }

    std::vector<CString> m_messages;
};
