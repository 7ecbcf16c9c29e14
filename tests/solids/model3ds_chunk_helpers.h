// Pieces of 3DS files for the reader's tests (an editor chunk around what a test writes, a one-triangle
// object, a material, a face group) and the invariants every model read must keep.
#pragma once

#include "solids/model3ds_reader.h"
#include "support/model3ds_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// A file whose editor chunk holds what `body` writes (after the mesh version).
template <class F> std::vector<uint8_t> EditorFile(F&& body) {
    C3dsChunkWriter w;
    w.Begin(C3dsId::Main);
    w.Begin(C3dsId::Editor);
    w.Begin(C3dsId::MeshVersion);
    w.Dword(3);
    w.End();
    body(w);
    w.End();
    w.End();
    return w.Bytes();
}

// An object of one triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) whose mesh chunk ends with what `extra`
// writes.
template <class F> void TriangleObject(C3dsChunkWriter& w, const std::string& name, F&& extra) {
    w.Begin(C3dsId::Object);
    w.Name(name);
    w.Begin(C3dsId::Mesh);
    w.FloatList(C3dsId::Vertices, 3, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    w.BeginFaces(1, {0, 1, 2, 0});
    w.End();
    extra(w);
    w.End();
    w.End();
}
inline void TriangleObject(C3dsChunkWriter& w, const std::string& name) {
    TriangleObject(w, name, [](C3dsChunkWriter&) {});
}

inline void AddMaterial(C3dsChunkWriter& w, const std::string& name,
                        const std::string& texture = std::string()) {
    Write3dsMaterial(w, {name, 10, 20, 30, texture});
}

inline void Group(C3dsChunkWriter& w, const std::string& material) {
    w.Begin(C3dsId::FaceMaterial);
    w.Name(material);
    w.Word(1);
    w.Word(0);
    w.End();
}

// Every object keeps the invariants the drawing relies on.
inline void ExpectSound(const Model3dsData& m) {
    EXPECT_EQ(m.objectCount, int(m.objects.size()));
    EXPECT_EQ(m.materialCount, int(m.materials.size()));
    for (const Object3ds& o : m.objects) {
        EXPECT_EQ(o.vertices.size(), size_t(o.vertexCount) * 3);
        EXPECT_EQ(o.normals.size(), size_t(o.vertexCount) * 3);
        EXPECT_EQ(o.texCoords.size(), size_t(o.texCoordCount) * 2);
        EXPECT_EQ(o.faces.size(), size_t(o.faceCount) * 3);
        for (int v : o.faces) {
            EXPECT_GE(v, 0);
            EXPECT_LT(v, o.vertexCount);
        }
        EXPECT_LE(o.name.size(), kModel3dsNameLength);
        EXPECT_GE(o.materialIndex, -1);
        EXPECT_LT(o.materialIndex, std::max(1, m.materialCount));
    }
    for (const Material3ds& mat : m.materials) {
        EXPECT_LE(mat.name.size(), kModel3dsNameLength);
        EXPECT_LE(mat.textureName.size(), kModel3dsNameLength);
    }
}
