// Test support for the action buttons: a page on which buttons are made as the commands make them,
// ticks of the animation timer run as the view runs them, a test curve and a test locus with points
// on them under the class names the move and animation buttons recognise, and the records of
// buttons as expected bytes.
#pragma once

#include "dynamics/buttons.h"
#include "dynamics/curves.h"
#include "measure/expression_counters.h"
#include "model/page.h"
#include "points/points_fixture.h"
#include "view/view_settings.h"

#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

// A curve given by a function of t, sampled at n equal steps over its range.
class CTestCurve : public CGCurve {
public:
    CTestCurve(WORD id, double tMin, double tMax, int samples, std::function<void(double, double*)> f)
        : m_f(std::move(f)) {
        m_id = id;
        m_tMin = tMin;
        m_tMax = tMax;
        m_sampleCount = samples;
        const double dt = (tMax - tMin) / double(samples - 1);
        for (int i = 0; i < samples; ++i) {
            double p[3];
            PointAt(i == samples - 1 ? tMax : tMin + double(i) * dt, p);
            m_samples.insert(m_samples.end(), p, p + 3);
        }
    }
    void PointAt(double t, double out[3]) override {
        ++m_evaluations;
        m_f(t, out);
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
    std::function<void(double, double*)> m_f;
    long m_evaluations = 0;
};

// A point on a test curve at the parameter m_param1, under the name of the point-on-curve class.
class CTestPointOnCurve : public CGVerFree {
public:
    static const CRuntimeClass s_class;
    const CRuntimeClass* GetRuntimeClass() const override { return &s_class; }
    CTestPointOnCurve(WORD id, DWORD vertex, WORD curve, float t) {
        m_id = id;
        m_vertexIndex = vertex;
        m_name = u"P";
        m_param1 = t;
        AddParent(curve);
        Recompute();
    }
    void Recompute() override {
        auto* curve = DYNAMIC_DOWNCAST(CGCurve, HxFindCell(m_parents[0]));
        double p[3];
        curve->PointAt(m_param1, p);
        Place(float(p[0]), float(p[1]), float(p[2]));
    }
    void Place(float x, float y, float z) {
        m_x = x;
        m_y = y;
        m_z = z;
        CGVertex::SyncVertex();
    }
    void SyncVertex() override { Recompute(); }
};
inline const CRuntimeClass CTestPointOnCurve::s_class = {"CGVerFreeInCurve", int(sizeof(CTestPointOnCurve)),
                                                         0xFFFF, nullptr, RUNTIME_CLASS(CGVerFree)};

// A locus of its last parent while its first (the driver) runs over [t0, t1], sampled at n steps.
class CTestLocus : public CGLocus {
public:
    CTestLocus(WORD id, WORD driver, WORD traced, float t0, float t1, int samples) {
        m_id = id;
        m_t0 = t0;
        m_t1 = t1;
        AddParent(driver);
        AddParent(traced);
        Sample(samples);
    }
    void Sample(int samples) {
        CGCell* driver = HxFindCell(m_parents[0]);
        const float saved = driver->m_param1;
        m_sampleCount = samples;
        m_samples.clear();
        const float dt = (m_t1 - m_t0) / float(samples - 1);
        for (int i = 0; i < samples; ++i) {
            float p[3];
            PointAtParameter(p, i == samples - 1 ? m_t1 : m_t0 + float(i) * dt);
            m_samples.insert(m_samples.end(), p, p + 3);
        }
        float p[3];
        PointAtParameter(p, saved);
    }
    BOOL NearestParameter(float[3], double&, double&, int) override { return FALSE; }
};

// A point on a test locus at the driver parameter m_param1, under the name of the point-on-locus
// class: placing it runs the locus chain and puts the driver back.
class CTestPointOnLocus : public CGVerFree {
public:
    static const CRuntimeClass s_class;
    const CRuntimeClass* GetRuntimeClass() const override { return &s_class; }
    CTestPointOnLocus(WORD id, DWORD vertex, WORD locus, float t) {
        m_id = id;
        m_vertexIndex = vertex;
        m_name = u"Q";
        m_param1 = t;
        AddParent(locus);
        Recompute();
    }
    void Recompute() override {
        auto* locus = DYNAMIC_DOWNCAST(CGLocus, HxFindCell(m_parents[0]));
        CGCell* driver = HxFindCell(locus->m_parents[0]);
        const float saved = driver->m_param1;
        float p[3];
        locus->PointAtParameter(p, m_param1);
        m_x = p[0];
        m_y = p[1];
        m_z = p[2];
        CGVertex::SyncVertex();
        locus->PointAtParameter(p, saved);
    }
    void SyncVertex() override { Recompute(); }
};
inline const CRuntimeClass CTestPointOnLocus::s_class = {"CGVerFreeInLocus", int(sizeof(CTestPointOnLocus)),
                                                         0xFFFF, nullptr, RUNTIME_CLASS(CGVerFree)};

class ButtonTest : public PointsTest {
protected:
    void SetUp() override {
        PointsTest::SetUp();
        for (double& c : g_counters)
            c = 0.0;
        g_animationFps = 25;
        g_buttonsToStart.clear();
        g_finishedButtons.clear();
    }
    void TearDown() override {
        g_buttonsToStart.clear();
        g_finishedButtons.clear();
        PointsTest::TearDown();
    }

    // A button made as a command makes it: the page's next id, stored in the page.
    template <class T, class... Args> T* AddButton(Args&&... args) {
        return Insert(new T(NextId(), std::forward<Args>(args)...));
    }
    CGButnAnimation* AddSweep(WORD driven, float min, float max, int mode, BYTE repeat, float speed,
                              float pause = 0.0f) {
        return AddButton<CGButnAnimation>(CString(u"动画"), driven, min, max, mode, repeat, speed, pause);
    }
    // A press: the button starts, and the running set is refreshed as the view does.
    bool Start(CGButton* button) {
        if (!m_page->StartButton(TRUE, button->m_id))
            return false;
        m_page->RefreshButtonAnimations();
        return true;
    }
    // Ticks of the timer until none runs or `most` ticks have passed; the number of ticks run.
    int Tick(int most = 1) {
        int ticks = 0;
        while (ticks < most) {
            ++ticks;
            if (!m_page->StepButtons())
                break;
        }
        return ticks;
    }
    std::vector<WORD> Running() const { return Ids(m_page->m_runningButtons); }
    // The selection replaced by these cells, in this order.
    void Select(std::initializer_list<WORD> ids) {
        m_page->ClearSelection();
        for (WORD id : ids)
            m_page->SelectCell(id);
    }
    static std::vector<WORD> Parents(const CGCell* cell) {
        std::vector<WORD> ids;
        for (WORD id : cell->m_parents)
            ids.push_back(id);
        return ids;
    }

    // The common record of a button as it must be stored: its own values in record order.
    static CommonRecord ButtonCommon(const CGCell& c) {
        CommonRecord r;
        r.id = c.m_id;
        r.name = c.m_name.Str();
        r.valid = c.m_valid;
        r.hidden = c.m_hidden;
        r.labelHidden = c.m_labelHidden;
        r.style = c.m_style;
        r.kind = c.m_kind;
        for (int i = 0; i < 3; ++i)
            r.labelPos[i] = c.m_labelPos[i];
        r.color = c.m_color;
        r.labelColor = c.m_labelColor;
        r.size = c.m_size;
        r.param[0] = c.m_param1;
        r.param[1] = c.m_param2;
        r.param[2] = c.m_param3;
        r.param4 = c.m_param4;
        r.extA1 = c.m_extA1;
        r.extA2 = c.m_extA2;
        r.extA3 = c.m_extA3;
        for (WORD parent : c.m_parents)
            r.parents.push_back(parent);
        for (WORD child : c.m_children)
            r.children.push_back(child);
        return r;
    }
    // The class tag, the common record and the speed.
    static ByteBuilder ButtonRecord(const char* className, const CGButton& b) {
        ByteBuilder bytes;
        bytes.NewClass(className);
        ButtonCommon(b).AppendTo(bytes);
        bytes.F32(b.m_speed);
        return bytes;
    }
};
