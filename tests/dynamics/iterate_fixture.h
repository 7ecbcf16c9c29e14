// Test support for iterations and traces: a cell that records where its point stands (and, with a
// context, the colour) whenever a pass draws it, a value that follows a point's x, the triangle of
// midpoints the iterations are built on, and a page fixture with those builders.
#pragma once

#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "measure/text_items.h"
#include "support/page_fixture.h"

#include <GL/gl.h>

#include <string>
#include <vector>

// What a recorder saw at one drawing call.
struct CRecorded {
    char pass;   // 'f' fill, 'd' depth, 'h' hidden, 'v' visible, 't' on top, 'l' lit, 'u' translucent
    float x, y;  // where its point stood
    float param; // its point's (or value's) first parameter word
    float color[4];
    int hidden;
    int labelHidden;
};

// A figure built on one parent (a point or a value): it keeps the parent's place at each
// recomputation and logs every drawing call with what it kept.
class CRecorder : public CGCell {
public:
    CRecorder(WORD id, WORD parent, std::vector<CRecorded>* log) : m_log(log) {
        m_id = id;
        m_labelHidden = 0;
        AddParent(parent);
        Recompute();
    }
    void Recompute() override {
        ++m_recomputes;
        const CGCell* parent = HxFindCell(m_parents[0]);
        if (!parent) {
            m_valid = false;
            return;
        }
        m_valid = true;
        m_param = parent->m_param1;
        if (const auto* p = DYNAMIC_DOWNCAST(CGVertex, parent)) {
            m_x = p->m_x;
            m_y = p->m_y;
        }
    }
    void DrawFill() override { Log('f'); }
    void DrawDepth() override { Log('d'); }
    void DrawHidden() override { Log('h'); }
    void DrawVisible() override { Log('v'); }
    void DrawOnTop() override { Log('t'); }
    void DrawLit() override { Log('l'); }
    void DrawTranslucent() override { Log('u'); }

    // Read the current OpenGL colour into each entry (only where a context is current).
    inline static bool s_readColor = false;
    float m_x = 0.0f, m_y = 0.0f, m_param = 0.0f;
    int m_recomputes = 0;

private:
    void Log(char pass) {
        if (!m_log || m_hidden != 0 || !m_valid)
            return;
        CRecorded r{pass, m_x, m_y, m_param, {0, 0, 0, 0}, m_hidden, m_labelHidden};
        if (s_readColor)
            glGetFloatv(GL_CURRENT_COLOR, r.color);
        m_log->push_back(r);
    }
    std::vector<CRecorded>* m_log;
};

// A value that is its point's x.
class CXValue : public CGTmVariable {
public:
    CXValue(WORD id, WORD point, const char16_t* name) {
        m_id = id;
        m_name = CString(name);
        AddParent(point);
        Recompute();
    }
    void Recompute() override {
        const auto* p = DYNAMIC_DOWNCAST(CGVertex, HxFindCell(m_parents[0]));
        m_valid = p != nullptr;
        if (p)
            m_param1 = p->m_x;
    }
};

// The builders over any page fixture.
template <class Base> class IterateFixtureT : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        CRecorder::s_readColor = false;
    }
    void TearDown() override {
        CRecorder::s_readColor = false;
        Base::TearDown();
    }

    // A(-3, -3), B(3, -3), C(-3, 3); D, E, F the midpoints of AB, BC, CA; a recorder on D.
    void BuildTriangle() {
        a = this->AddPoint(-3, -3, 0);
        b = this->AddPoint(3, -3, 0);
        c = this->AddPoint(-3, 3, 0);
        d = this->AddMidpoint(a->m_id, b->m_id);
        e = this->AddMidpoint(b->m_id, c->m_id);
        f = this->AddMidpoint(c->m_id, a->m_id);
        recorder = this->Insert(new CRecorder(this->NextId(), d->m_id, &log));
    }
    // An iteration of the triangle through the given mappings (each three ids for A, B, C).
    CGIterate* Iterate(std::vector<std::vector<WORD>> mappings, int depth) {
        std::vector<std::vector<WORD>> sets{{a->m_id, b->m_id, c->m_id}};
        for (auto& m : mappings)
            sets.push_back(m);
        return this->Insert(new CGIterate(this->NextId(), 3, 3, depth, std::move(sets)));
    }
    // The mapping that nests the triangle of midpoints in its triangle.
    std::vector<WORD> Nested() const { return {d->m_id, e->m_id, f->m_id}; }
    // Only the recorder is drawn (the midpoints stay in the chain, recomputed, not drawn).
    void DrawOnlyTheRecorder(CGIterate* it) {
        for (CGVertex* p : {d, e, f})
            it->SetCreated(p->m_id, false);
    }
    // The (x, y) the recorder logged in one pass.
    std::vector<std::pair<float, float>> Places(char pass = 'v') const {
        std::vector<std::pair<float, float>> out;
        for (const CRecorded& r : log)
            if (r.pass == pass)
                out.emplace_back(r.x, r.y);
        return out;
    }
    // Every point's position and vertex-array entry, every cell's first parameter word.
    std::vector<float> State() {
        std::vector<float> out;
        ForEachCell(this->m_page->m_cells, [&](CGCell* cell) {
            out.push_back(float(cell->m_id));
            out.push_back(cell->m_param1);
            out.push_back(cell->m_valid ? 1.0f : 0.0f);
            out.push_back(float(cell->m_hidden));
            out.push_back(float(cell->m_labelHidden));
            if (const auto* p = DYNAMIC_DOWNCAST(CGVertex, cell)) {
                out.insert(out.end(), {p->m_x, p->m_y, p->m_z, p->m_labelPos[0], p->m_labelPos[1]});
                if (const float* slot = this->Slot(p->m_vertexIndex))
                    out.insert(out.end(), slot, slot + 3);
            }
        });
        return out;
    }

    CGVertex *a = nullptr, *b = nullptr, *c = nullptr;
    CGVertex *d = nullptr, *e = nullptr, *f = nullptr;
    CRecorder* recorder = nullptr;
    std::vector<CRecorded> log;
};
