// Every surface of a page sampled into its grid, as the first drawing samples it, with the grid's
// shape checked: what a loaded document's surfaces do, for the fuzzer and the replay of its kept
// files.
#pragma once

#include "dynamics/surface.h"
#include "model/page.h"

// False when a surface's grid does not have the shape its counts say or passes the bound.
inline bool HxSampleAllSurfaces(CGPage& page) {
    for (POSITION pos = page.m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page.m_cells.GetNextAssoc(pos, id, cell);
        auto* surface = DYNAMIC_DOWNCAST(CGSurface, cell);
        if (!surface || !surface->m_valid)
            continue;
        CSurfaceMesh mesh;
        if (!surface->SampleMesh(mesh))
            continue;
        const size_t points = size_t(mesh.nu) * size_t(mesh.nv);
        if (mesh.nu < 2 || mesh.nv < 2 || double(points) > CGSurface::kMaxGridPoints ||
            mesh.points.size() != points * 3 || (!mesh.wire && mesh.normals.size() != points * 3) ||
            mesh.s.size() != size_t(mesh.nu) || mesh.t.size() != size_t(mesh.nv))
            return false;
    }
    return true;
}
