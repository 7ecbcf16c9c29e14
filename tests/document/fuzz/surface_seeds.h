// Seed documents of surfaces and view buttons for the document fuzzer: a page of surfaces over
// parameters in every coordinate system, display style and texture, and the three view buttons; and
// damaged variants: empty and huge ranges, texts that do not compile, steps and mapping values that
// are no numbers, texture numbers outside the table, view values that are no numbers, odd play
// settings, a file cut short.  Included by the seed tool only.
#pragma once

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "dynamics/surface.h"
#include "measure/text_items.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

struct CSurfaceFigures {
    std::vector<CGSurface*> surfaces;
    CGButnRotate* turn = nullptr;
    CGButnTranslate* pan = nullptr;
    CGButnScale* zoom = nullptr;
};

inline std::vector<BYTE> SurfacesDocument(const std::function<void(CSurfaceFigures&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](auto* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    };
    auto value = [&](float v, const char16_t* name) {
        auto* cell = new CGTmVariable;
        cell->m_id = page->m_nextId++;
        cell->m_name = name;
        cell->m_param1 = v;
        return add(cell);
    };
    const WORD r = value(4.0f, u"r")->m_id;
    const WORD h = value(2.0f, u"h")->m_id;
    const double mapping[CGSurface::kMappingCount] = {1, 0, 0, 1, 0, 0};
    CSurfaceFigures f;
    struct Spec {
        std::vector<WORD> parents;
        const char16_t* texts[7];
        BYTE style;
        int texture, twoSided, mappingMode, kind;
        double uStep, vStep;
    };
    const Spec specs[] = {
        {{}, {u"5", u"u", u"v", u"0", u"2*pi", u"-8", u"8"}, 0, 1, 1, 0, 2, 0.2, 1.0},
        {{}, {u"6", u"v", u"u", u"0", u"2*pi", u"-pi", u"0"}, 1, 2, 0, 1, 1, 0.2, 0.2},
        {{r, h},
         {u"No1*cos(u)", u"No1*sin(u)", u"v*No2", u"0", u"No2*pi", u"-No1", u"No1"},
         2,
         0,
         0,
         0,
         0,
         0.3,
         0.5},
        {{r},
         {u"12+3*v*cos(2*u/2)", u"u", u"3*v*sin(2*u/2)", u"0", u"2*pi", u"-1", u"No1/4"},
         0,
         3,
         1,
         0,
         2,
         0.2,
         0.2},
    };
    for (const Spec& s : specs) {
        f.surfaces.push_back(
            add(new CGSurface(page->m_nextId++, s.parents, s.texts[0], s.texts[1], s.texts[2], s.texts[3],
                              s.texts[4], s.texts[5], s.texts[6], s.style, s.texture, s.twoSided,
                              s.mappingMode, s.kind, s.uStep, s.vStep, mapping)));
    }
    f.turn = add(new CGButnRotate(page->m_nextId++, u"视旋转", 0.9659258f, 0.2588190f, 0.0f, 0.0f, 0.0f, 0.0f,
                                  1.0f, 90.0f, 1, 1, 0.4f, 0.1f));
    f.pan = add(new CGButnTranslate(page->m_nextId++, u"视平移", 0.0f, 0.0f, -50.0f, 5.0f, -2.0f, -40.0f, 0,
                                    1, 0.3f, 0.0f));
    f.zoom = add(new CGButnScale(page->m_nextId++, u"视缩放", 1.0f, 2.5f, 1, 0, 0.2f, 0.0f));
    page->m_autoButton = f.turn->m_id;
    if (damage)
        damage(f);
    std::vector<BYTE> bytes = doc.StoreToBytes();
    g_pCurPage = nullptr;
    g_cellMap = nullptr;
    return bytes;
}

inline void
WriteSurfaceSeeds(const std::function<void(const std::string&, const std::vector<BYTE>&)>& write) {
    using F = CSurfaceFigures;
    write("surfaces", SurfacesDocument(nullptr));
    write("surfaces-empty-ranges", SurfacesDocument([](F& f) {
              for (CGSurface* s : f.surfaces) {
                  s->m_texts[CGSurface::kUStart] = u"";
                  s->m_texts[CGSurface::kVEnd] = u"2";
                  s->m_texts[CGSurface::kVStart] = u"2";
              }
          }));
    write("surfaces-huge-ranges", SurfacesDocument([](F& f) {
              f.surfaces[0]->m_texts[CGSurface::kUEnd] = u"10^9";
              f.surfaces[0]->m_uStep = 0.0001;
              f.surfaces[1]->m_texts[CGSurface::kVStart] = u"-1e300";
              f.surfaces[1]->m_texts[CGSurface::kVEnd] = u"1e300";
              f.surfaces[2]->m_texts[CGSurface::kUEnd] = u"999";
              f.surfaces[2]->m_uStep = 1.0;
              f.surfaces[2]->m_vStep = 0.001;
          }));
    write("surfaces-broken-texts", SurfacesDocument([](F& f) {
              f.surfaces[0]->m_texts[CGSurface::kX] = u"sin(";
              f.surfaces[1]->m_texts[CGSurface::kY] = u"No9*u+No1";
              f.surfaces[2]->m_texts[CGSurface::kUEnd] = u"1/0";
              f.surfaces[3]->m_texts[CGSurface::kZ] = CString(u"u\0+v", 4);
              f.surfaces[3]->m_texts[CGSurface::kVStart] = u"ln(-1)";
          }));
    write("surfaces-odd-numbers", SurfacesDocument([](F& f) {
              const double nan = std::numeric_limits<double>::quiet_NaN();
              f.surfaces[0]->m_uStep = nan;
              f.surfaces[1]->m_vStep = -0.5;
              f.surfaces[2]->m_uStep = 0.0;
              f.surfaces[3]->m_mappingMode = 7;
              f.surfaces[3]->m_mapping[CGSurface::kSScale] = nan;
              f.surfaces[0]->m_frontTexture = 99;
              f.surfaces[1]->m_frontTexture = -4;
              f.surfaces[2]->m_style = 200;
              f.surfaces[3]->m_param1 = std::numeric_limits<float>::infinity();
          }));
    write("views-odd-values", SurfacesDocument([](F& f) {
              const float nan = std::numeric_limits<float>::quiet_NaN();
              f.turn->m_param2 = nan;
              f.turn->m_axis[0] = 0.0f;
              f.turn->m_axis[2] = 0.0f;
              f.turn->m_seconds = -3.0f;
              f.pan->m_endTrans[1] = std::numeric_limits<float>::infinity();
              f.pan->m_seconds = nan;
              f.pan->m_backAndForth = -5;
              f.zoom->m_endZoom = nan;
              f.zoom->m_seconds = 1e30f;
              f.zoom->m_extA3 = nan;
              f.zoom->m_repeat = 1;
          }));
    std::vector<BYTE> cut = SurfacesDocument(nullptr);
    cut.resize(cut.size() * 2 / 3);
    write("surfaces-cut", cut);
}
