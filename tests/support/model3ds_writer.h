// Our own writer of 3DS model files (for tests, fuzz seeds, the benchmark and the Models folder):
// chunks with their lengths filled in or stated as given (for damaged files), whole files of materials
// and meshes laid out as 3D Studio lays them out, and boxes, tori and prisms.  Plain C++.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// The chunk ids the writer uses.
namespace C3dsId {
constexpr uint16_t Main = 0x4D4D, Version = 0x0002, Editor = 0x3D3D, MeshVersion = 0x3D3E, Object = 0x4000,
                   Mesh = 0x4100, Vertices = 0x4110, Faces = 0x4120, FaceMaterial = 0x4130,
                   Smoothing = 0x4150, TexCoords = 0x4140, Material = 0xAFFF, MaterialName = 0xA000,
                   Diffuse = 0xA020, Color24 = 0x0011, ColorFloat = 0x0010, TextureMap = 0xA200,
                   MapFile = 0xA300, Keyframes = 0xB000;
}

class C3dsChunkWriter {
public:
    // Opens a chunk whose length End fills in; or one whose stated length is kept as given.
    void Begin(uint16_t id) {
        Word(id);
        m_open.push_back({m_bytes.size(), true});
        Dword(0);
    }
    void BeginStated(uint16_t id, uint32_t length) {
        Word(id);
        m_open.push_back({m_bytes.size(), false});
        Dword(length);
    }
    void End() {
        const Open open = m_open.back();
        m_open.pop_back();
        if (open.patch) {
            const uint32_t length = uint32_t(m_bytes.size() - open.at + 2);
            std::memcpy(&m_bytes[open.at], &length, 4);
        }
    }
    void Word(uint16_t v) { Raw(&v, 2); }
    void Dword(uint32_t v) { Raw(&v, 4); }
    void Float(float v) { Raw(&v, 4); }
    // The name's bytes and a closing zero.
    void Name(const std::string& s) {
        Raw(s.data(), s.size());
        m_bytes.push_back(0);
    }
    void Raw(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + n);
    }
    // A whole chunk of one name, one 16-bit value, or raw data.
    void NameChunk(uint16_t id, const std::string& s) {
        Begin(id);
        Name(s);
        End();
    }
    void DataChunk(uint16_t id, const std::vector<uint8_t>& data) {
        Begin(id);
        Raw(data.data(), data.size());
        End();
    }
    // A list chunk of floats (vertices, texture coordinates): the count it states, which a damaged
    // file may make other than what follows, then the values.
    void FloatList(uint16_t id, uint16_t stated, const std::vector<float>& values) {
        Begin(id);
        Word(stated);
        for (float v : values)
            Float(v);
        End();
    }
    // Opens a face list with the count it states and the words of its faces (three corners and the
    // edge flags each); the chunks inside it follow, then End.
    void BeginFaces(uint16_t stated, const std::vector<uint16_t>& words) {
        Begin(C3dsId::Faces);
        Word(stated);
        for (uint16_t v : words)
            Word(v);
    }

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    struct Open {
        size_t at;
        bool patch;
    };
    std::vector<uint8_t> m_bytes;
    std::vector<Open> m_open;
};

struct C3dsMaterialSpec {
    std::string name;
    uint8_t r = 200, g = 200, b = 200;
    std::string texture; // a map file name, or none
};

struct C3dsMeshSpec {
    std::string name;
    std::vector<float> vertices;  // x, y, z
    std::vector<uint16_t> faces;  // a, b, c, counter-clockwise seen from outside
    std::vector<float> texCoords; // u, v per vertex, or none
    std::string material;         // the face group's material, or none
};

inline void Write3dsMaterial(C3dsChunkWriter& w, const C3dsMaterialSpec& m) {
    w.Begin(C3dsId::Material);
    w.NameChunk(C3dsId::MaterialName, m.name);
    w.Begin(C3dsId::Diffuse);
    w.Begin(C3dsId::Color24);
    const uint8_t rgb[3] = {m.r, m.g, m.b};
    w.Raw(rgb, 3);
    w.End();
    w.End();
    if (!m.texture.empty()) {
        w.Begin(C3dsId::TextureMap);
        w.Begin(0x0030); // the map's strength, passed over by readers that want only the file
        w.Word(100);
        w.End();
        w.NameChunk(C3dsId::MapFile, m.texture);
        w.End();
    }
    w.End();
}

// An object: vertices, texture coordinates, then the faces with their material group and their
// smoothing groups inside the face list.
inline void Write3dsMesh(C3dsChunkWriter& w, const C3dsMeshSpec& m) {
    w.Begin(C3dsId::Object);
    w.Name(m.name);
    w.Begin(C3dsId::Mesh);
    w.FloatList(C3dsId::Vertices, uint16_t(m.vertices.size() / 3), m.vertices);
    if (!m.texCoords.empty())
        w.FloatList(C3dsId::TexCoords, uint16_t(m.texCoords.size() / 2), m.texCoords);
    const size_t faces = m.faces.size() / 3;
    w.Begin(C3dsId::Faces);
    w.Word(uint16_t(faces));
    for (size_t i = 0; i < faces; ++i) {
        for (int k = 0; k < 3; ++k)
            w.Word(m.faces[i * 3 + size_t(k)]);
        w.Word(7); // the edge flags
    }
    if (!m.material.empty()) {
        w.Begin(C3dsId::FaceMaterial);
        w.Name(m.material);
        w.Word(uint16_t(faces));
        for (size_t i = 0; i < faces; ++i)
            w.Word(uint16_t(i));
        w.End();
    }
    w.Begin(C3dsId::Smoothing);
    for (size_t i = 0; i < faces; ++i)
        w.Dword(1);
    w.End();
    w.End(); // faces
    w.End(); // mesh
    w.End(); // object
}

// A whole file: version 3, the editor chunk with its mesh version, the materials, the objects, and
// a keyframe chunk that readers pass over.
inline std::vector<uint8_t> Write3ds(const std::vector<C3dsMaterialSpec>& materials,
                                     const std::vector<C3dsMeshSpec>& meshes) {
    C3dsChunkWriter w;
    w.Begin(C3dsId::Main);
    w.Begin(C3dsId::Version);
    w.Dword(3);
    w.End();
    w.Begin(C3dsId::Editor);
    w.Begin(C3dsId::MeshVersion);
    w.Dword(3);
    w.End();
    for (const C3dsMaterialSpec& m : materials)
        Write3dsMaterial(w, m);
    for (const C3dsMeshSpec& m : meshes)
        Write3dsMesh(w, m);
    w.End();
    w.Begin(C3dsId::Keyframes);
    w.Word(0);
    w.End();
    w.End();
    return w.Bytes();
}

// ---- Shapes ----

// A box from (x0, y0, z0) to (x1, y1, z1): four corners of its own per side (so that the sides stay
// flat when lit), each side's texture running from 0 to 1.
inline C3dsMeshSpec Box3ds(const std::string& name, float x0, float y0, float z0, float x1, float y1,
                           float z1, const std::string& material = std::string()) {
    C3dsMeshSpec m;
    m.name = name;
    m.material = material;
    // Each side as four corners counter-clockwise seen from outside.
    const float sides[6][4][3] = {
        {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}}, // bottom (z0), seen from below
        {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, // top
        {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, // front (y0)
        {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}}, // back (y1)
        {{x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}}, // left (x0)
        {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, // right (x1)
    };
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& side : sides) {
        const uint16_t base = uint16_t(m.vertices.size() / 3);
        for (int k = 0; k < 4; ++k) {
            m.vertices.insert(m.vertices.end(), side[k], side[k] + 3);
            m.texCoords.insert(m.texCoords.end(), uv[k], uv[k] + 2);
        }
        const uint16_t f[6] = {base, uint16_t(base + 1), uint16_t(base + 2),
                               base, uint16_t(base + 2), uint16_t(base + 3)};
        m.faces.insert(m.faces.end(), f, f + 6);
    }
    return m;
}

// A torus about the z axis through (cx, cy, cz): `around` steps along the ring of radius R and `across`
// steps around the tube of radius r; around x across vertices, twice as many triangles.
inline C3dsMeshSpec Torus3ds(const std::string& name, float cx, float cy, float cz, float R, float r,
                             int around, int across, const std::string& material = std::string()) {
    C3dsMeshSpec m;
    m.name = name;
    m.material = material;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < around; ++i) {
        const double a = 2.0 * pi * i / around;
        for (int j = 0; j < across; ++j) {
            const double b = 2.0 * pi * j / across;
            const double w = R + r * std::cos(b);
            m.vertices.push_back(cx + float(w * std::cos(a)));
            m.vertices.push_back(cy + float(w * std::sin(a)));
            m.vertices.push_back(cz + float(r * std::sin(b)));
            m.texCoords.push_back(float(i) / float(around));
            m.texCoords.push_back(float(j) / float(across));
        }
    }
    auto at = [&](int i, int j) { return uint16_t((i % around) * across + (j % across)); };
    for (int i = 0; i < around; ++i)
        for (int j = 0; j < across; ++j) {
            const uint16_t q[4] = {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
            const uint16_t f[6] = {q[0], q[1], q[2], q[0], q[2], q[3]};
            m.faces.insert(m.faces.end(), f, f + 6);
        }
    return m;
}

// A triangular prism lying along x from x0 to x1: its cross-section has the base corners (y0, z0) and
// (y1, z0) and the apex (ym, z1): the roof of a house.
inline C3dsMeshSpec Prism3ds(const std::string& name, float x0, float x1, float y0, float y1, float z0,
                             float z1, const std::string& material = std::string()) {
    C3dsMeshSpec m;
    m.name = name;
    m.material = material;
    const float ym = (y0 + y1) / 2;
    // Five sides as corner lists counter-clockwise from outside.
    const std::vector<std::vector<std::vector<float>>> sides = {
        {{x0, y0, z0}, {x0, ym, z1}, {x0, y1, z0}},               // gable at x0
        {{x1, y0, z0}, {x1, y1, z0}, {x1, ym, z1}},               // gable at x1
        {{x0, y0, z0}, {x1, y0, z0}, {x1, ym, z1}, {x0, ym, z1}}, // slope on the y0 side
        {{x1, y1, z0}, {x0, y1, z0}, {x0, ym, z1}, {x1, ym, z1}}, // slope on the y1 side
        {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}}, // underside
    };
    for (const auto& side : sides) {
        const uint16_t base = uint16_t(m.vertices.size() / 3);
        for (const auto& c : side) {
            m.vertices.insert(m.vertices.end(), c.begin(), c.end());
            m.texCoords.push_back(c[0] == x0 ? 0.0f : 1.0f);
            m.texCoords.push_back(c[2] == z0 ? 0.0f : 1.0f);
        }
        for (size_t k = 2; k < side.size(); ++k) {
            const uint16_t f[3] = {base, uint16_t(base + k - 1), uint16_t(base + k)};
            m.faces.insert(m.faces.end(), f, f + 3);
        }
    }
    return m;
}

// ---- A folder of models for documents that name them ----

// Writes into `dir` (which must exist) the models the document fuzz seeds name: "cube.3ds" whole,
// "cut.3ds" cut in the middle, "past.3ds" whose main chunk is shorter than what it holds, and
// "notes.3ds", which is no 3DS file.  False when a file could not be written.
inline bool Write3dsDocumentModels(const std::string& dir) {
    auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    };
    const std::vector<uint8_t> cube = Write3ds(
        {{"Red", 200, 0, 0, ""}, {"Tex", 255, 255, 255, "cube.png"}},
        {Box3ds("Cube", -1, -1, -1, 1, 1, 1, "Red"), Torus3ds("Ring", 0, 0, 0, 3, 0.5f, 8, 4, "Tex")});
    std::vector<uint8_t> past = cube;
    const uint32_t length = 12;
    std::memcpy(&past[2], &length, 4);
    const std::string notes = "这不是模型文件";
    return write("cube.3ds", cube) &&
           write("cut.3ds", std::vector<uint8_t>(cube.begin(), cube.begin() + long(cube.size() / 2))) &&
           write("past.3ds", past) && write("notes.3ds", std::vector<uint8_t>(notes.begin(), notes.end()));
}
