// The 3DS reader: the chunk routines with their byte accounting, the bounded reads of lists and names,
// the material matching of face groups, and the vertex normals.
#include "solids/model3ds_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the 3DS records are read as stored");

namespace {

// The chunks the reader acts on; every other id is passed over.
constexpr WORD kMain = 0x4D4D;
constexpr WORD kVersion = 0x0002;
constexpr WORD kEditor = 0x3D3D;
constexpr WORD kObject = 0x4000;
constexpr WORD kTriangleMesh = 0x4100;
constexpr WORD kVertexList = 0x4110;
constexpr WORD kFaceList = 0x4120;
constexpr WORD kFaceMaterial = 0x4130;
constexpr WORD kTexCoords = 0x4140;
constexpr WORD kMaterial = 0xAFFF;
constexpr WORD kMaterialName = 0xA000;
constexpr WORD kDiffuse = 0xA020;
constexpr WORD kTextureMap = 0xA200;
constexpr WORD kMapFileName = 0xA300;
// The colour forms of a colour sub-chunk with three floats; the others (0x0011 and 0x0012, three
// bytes) give their first three bytes.
constexpr WORD kColorFloat = 0x0010;
constexpr WORD kColorFloatGamma = 0x0013;

constexpr UINT kHeaderSize = 6;

DWORD ReadDword(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

BYTE ColorByte(float v) {
    if (!(v > 0.0f))
        return 0;
    return v >= 1.0f ? BYTE(255) : BYTE(std::lround(v * 255.0f));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Model data

void Model3dsData::Clear() {
    objectCount = 0;
    materialCount = 0;
    materials.clear();
    objects.clear();
}

size_t Model3dsData::VertexCount() const {
    size_t n = 0;
    for (const Object3ds& o : objects)
        n += size_t(o.vertexCount);
    return n;
}

size_t Model3dsData::FaceCount() const {
    size_t n = 0;
    for (const Object3ds& o : objects)
        n += size_t(o.faceCount);
    return n;
}

// ---------------------------------------------------------------------------------------------
// The file

BOOL Model3ds::ReadFile(const CString& path, Model3dsData& model) {
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        // A folder, a pipe or a device is there all right, but is no model file.
        if (error.m_cause == CFileException::invalidFile)
            HxMessageBox(HxFormat(u"%s 不是3ds文件!", path), u"错误", MB_OK);
        else
            HxMessageBox(HxFormat(u"文件 %s 未找到！\n", path), u"错误", MB_OK);
        return FALSE;
    }
    Model3ds loader;
    return loader.Read(file, path, model);
}

BOOL Model3ds::Read(CFile& file, const CString& path, Model3dsData& model) {
    m_file = &file;
    m_pos = file.GetPosition();
    m_fileEnd = std::max(file.GetLength(), m_pos);
    m_ended = false;
    m_materialIndexStale = true;

    Chunk3ds whole;
    whole.length = DWORD(std::min<ULONGLONG>(m_fileEnd - m_pos, 0xFFFFFFFFu));
    Chunk3ds main;
    main.start = m_pos;
    BYTE header[kHeaderSize];
    if (!ReadBytes(whole, header, kHeaderSize) || WORD(header[0] | header[1] << 8) != kMain) {
        HxMessageBox(HxFormat(u"%s 不是3ds文件!", path), u"错误", MB_OK);
        m_file = nullptr;
        return FALSE;
    }
    // The main chunk's length is taken as stated: a file that ends before it keeps what was read
    // whole before the end.
    main.id = kMain;
    main.length = std::max<DWORD>(ReadDword(header + 2), kHeaderSize);
    main.bytesRead = kHeaderSize;
    ReadChunks(model, main, 1);
    for (Object3ds& object : model.objects)
        DropBadFaces(object);
    if (!model.objects.empty())
        ComputeNormals(model);
    m_file = nullptr;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Bounded reading

bool Model3ds::ReadBytes(Chunk3ds& chunk, void* buffer, UINT count) {
    if (m_ended || count > chunk.Left())
        return false;
    if (count == 0)
        return true;
    if (m_fileEnd - m_pos < count || m_file->Read(buffer, count) != count) {
        m_ended = true;
        return false;
    }
    m_pos += count;
    chunk.bytesRead += count;
    return true;
}

bool Model3ds::ReadWord(Chunk3ds& chunk, WORD& value) {
    BYTE b[2];
    if (!ReadBytes(chunk, b, 2))
        return false;
    value = WORD(b[0] | b[1] << 8);
    return true;
}

bool Model3ds::ReadHeader(Chunk3ds& chunk, const Chunk3ds& parent) {
    if (m_ended || parent.Left() < kHeaderSize)
        return false;
    // Only the header's own bytes count here; the parent counts the chunk once it has been read.
    Chunk3ds room;
    room.length = parent.Left();
    chunk.start = m_pos;
    BYTE header[kHeaderSize];
    if (!ReadBytes(room, header, kHeaderSize))
        return false;
    chunk.id = WORD(header[0] | header[1] << 8);
    chunk.length = ReadDword(header + 2);
    chunk.bytesRead = kHeaderSize;
    return chunk.length >= kHeaderSize && chunk.length <= parent.Left();
}

void Model3ds::SkipRest(Chunk3ds& chunk) {
    // To the chunk's end, wherever a damaged sub-chunk header left the reading.
    const ULONGLONG end = chunk.start + chunk.length;
    chunk.bytesRead = std::max(chunk.bytesRead, chunk.length);
    if (m_ended || end == m_pos)
        return;
    if (end > m_fileEnd) {
        // The file ends inside the chunk.
        m_ended = true;
        return;
    }
    m_pos = end;
    if (m_file->Seek(LONGLONG(m_pos), CFile::begin) != m_pos)
        m_ended = true;
}

std::string Model3ds::ReadName(Chunk3ds& chunk) {
    std::string name;
    char block[256];
    while (chunk.Left() > 0 && !m_ended) {
        const UINT want = std::min<UINT>(chunk.Left(), sizeof block);
        const ULONGLONG at = m_pos;
        Chunk3ds room;
        room.length = want;
        if (!ReadBytes(room, block, want))
            break;
        const char* zero = static_cast<const char*>(std::memchr(block, 0, want));
        const UINT used = zero ? UINT(zero - block) + 1 : want;
        const size_t length = zero ? used - 1 : used;
        name.append(block, std::min(length, kModel3dsNameLength - name.size()));
        chunk.bytesRead += used;
        if (zero) {
            // Back to the byte after the zero.
            m_pos = at + used;
            if (m_file->Seek(LONGLONG(m_pos), CFile::begin) != m_pos)
                m_ended = true;
            break;
        }
    }
    return name;
}

bool Model3ds::ReadRecords(Chunk3ds& chunk, UINT recordSize, std::vector<BYTE>& bytes, int& count,
                           WORD* statedCount) {
    WORD stated = 0;
    if (!ReadWord(chunk, stated))
        return false;
    if (statedCount)
        *statedCount = stated;
    count = int(std::min<DWORD>(stated, chunk.Left() / recordSize));
    bytes.resize(size_t(count) * recordSize);
    return ReadBytes(chunk, bytes.data(), UINT(bytes.size()));
}

// ---------------------------------------------------------------------------------------------
// The chunk routines

template <class Handle> void Model3ds::ForEachSubChunk(Chunk3ds& parent, int depth, Handle&& handle) {
    while (parent.bytesRead < parent.length && !m_ended) {
        Chunk3ds chunk;
        if (!ReadHeader(chunk, parent)) {
            // A damaged sub-chunk ends this level: the rest of the parent is passed over.
            SkipRest(parent);
            return;
        }
        // Too deep, or passed over by the handler: the rest of the chunk is skipped.
        if (depth >= kModel3dsMaxDepth || handle(chunk))
            SkipRest(chunk);
        parent.bytesRead += chunk.bytesRead;
    }
}

void Model3ds::ReadChunks(Model3dsData& model, Chunk3ds& parent, int depth) {
    ForEachSubChunk(parent, depth, [&](Chunk3ds& chunk) {
        switch (chunk.id) {
        case kVersion:
            ReadVersion(chunk);
            break;
        case kEditor: {
            // Its first sub-chunk (the mesh version in ordinary files) is passed over whole.
            Chunk3ds first;
            if (ReadHeader(first, chunk)) {
                SkipRest(first);
                chunk.bytesRead += first.bytesRead;
                ReadChunks(model, chunk, depth + 1);
            }
            break;
        }
        case kObject:
            if (model.objectCount >= kModel3dsMaxObjects)
                break;
            ++model.objectCount;
            model.objects.emplace_back();
            model.objects.back().name = ReadName(chunk);
            ReadMeshChunks(model, model.objects.back(), chunk, depth + 1);
            if (m_ended) {
                // Cut short by the end of the file: not kept.
                --model.objectCount;
                model.objects.pop_back();
            }
            break;
        case kMaterial:
            if (model.materialCount >= kModel3dsMaxMaterials)
                break;
            ++model.materialCount;
            model.materials.emplace_back();
            m_materialIndexStale = true;
            ReadMaterialChunks(model, chunk, depth + 1);
            if (m_ended) {
                --model.materialCount;
                model.materials.pop_back();
            }
            break;
        default:
            break;
        }
        return true;
    });
}

void Model3ds::ReadMeshChunks(Model3dsData& model, Object3ds& object, Chunk3ds& parent, int depth) {
    ForEachSubChunk(parent, depth, [&](Chunk3ds& chunk) {
        switch (chunk.id) {
        case kTriangleMesh:
            ReadMeshChunks(model, object, chunk, depth + 1);
            break;
        case kVertexList:
            ReadVertices(object, chunk);
            break;
        case kFaceList:
            // Only the count and the faces: the list's own sub-chunks (face groups, smoothing groups)
            // follow in this loop as if they were its siblings.  A list whose count runs past it is
            // damaged, and so is what follows in it: passed over.
            return !ReadFaces(object, chunk);
        case kFaceMaterial:
            ReadObjectMaterial(model, object, chunk);
            break;
        case kTexCoords:
            ReadTexCoords(object, chunk);
            break;
        default:
            break;
        }
        return true;
    });
}

void Model3ds::ReadMaterialChunks(Model3dsData& model, Chunk3ds& parent, int depth) {
    Material3ds& material = model.materials.back();
    ForEachSubChunk(parent, depth, [&](Chunk3ds& chunk) {
        switch (chunk.id) {
        case kMaterialName:
            material.name = ReadName(chunk);
            m_materialIndexStale = true;
            break;
        case kDiffuse:
            ReadColor(material, chunk);
            break;
        case kTextureMap:
            ReadMaterialChunks(model, chunk, depth + 1);
            break;
        case kMapFileName:
            material.textureName = ReadName(chunk);
            break;
        default:
            break;
        }
        return true;
    });
}

void Model3ds::ReadVersion(Chunk3ds& chunk) {
    BYTE b[4];
    if (chunk.Left() != 4 || !ReadBytes(chunk, b, 4))
        return;
    if (ReadDword(b) > 3)
        HxMessageBox(u"This 3DS file is over version 3 so it may load incorrectly", u"Warning", MB_OK);
}

void Model3ds::ReadVertices(Object3ds& object, Chunk3ds& chunk) {
    ReadFloats(chunk, 3, object.vertices, object.vertexCount);
}

void Model3ds::ReadTexCoords(Object3ds& object, Chunk3ds& chunk) {
    ReadFloats(chunk, 2, object.texCoords, object.texCoordCount);
}

void Model3ds::ReadFloats(Chunk3ds& chunk, UINT perRecord, std::vector<float>& values, int& count) {
    std::vector<BYTE> bytes;
    int n = 0;
    if (!ReadRecords(chunk, perRecord * 4, bytes, n))
        return;
    count = n;
    values.assign(size_t(n) * perRecord, 0.0f);
    if (!bytes.empty())
        std::memcpy(values.data(), bytes.data(), bytes.size());
}

bool Model3ds::ReadFaces(Object3ds& object, Chunk3ds& chunk) {
    std::vector<BYTE> bytes;
    int count = 0;
    WORD stated = 0;
    if (!ReadRecords(chunk, 8, bytes, count, &stated))
        return false;
    object.faceCount = count;
    object.faces.resize(size_t(count) * 3);
    for (size_t i = 0; i < size_t(count); ++i) {
        const BYTE* r = bytes.data() + i * 8; // a, b, c and a flags word that is dropped
        for (size_t k = 0; k < 3; ++k)
            object.faces[i * 3 + k] = int(r[2 * k] | r[2 * k + 1] << 8);
    }
    return count == int(stated);
}

int Model3ds::FindMaterial(const Model3dsData& model, const std::string& name) {
    if (m_materialIndexStale) {
        m_materialIndex.clear();
        for (size_t i = 0; i < model.materials.size(); ++i)
            m_materialIndex.emplace(model.materials[i].name, int(i)); // the first of a name stays
        m_materialIndexStale = false;
    }
    auto it = m_materialIndex.find(name);
    return it == m_materialIndex.end() ? -1 : it->second;
}

void Model3ds::ReadObjectMaterial(Model3dsData& model, Object3ds& object, Chunk3ds& chunk) {
    const std::string name = ReadName(chunk);
    if (model.materials.empty())
        return;
    object.materialIndex = FindMaterial(model, name);
    if (object.materialIndex >= 0 && !model.materials[size_t(object.materialIndex)].textureName.empty())
        object.textured = 1;
}

void Model3ds::ReadColor(Material3ds& material, Chunk3ds& chunk) {
    Chunk3ds color;
    if (!ReadHeader(color, chunk))
        return;
    BYTE data[12] = {};
    const UINT n = std::min<UINT>(color.Left(), sizeof data);
    if (ReadBytes(color, data, n)) {
        if ((color.id == kColorFloat || color.id == kColorFloatGamma) && n >= 12) {
            float rgb[3];
            std::memcpy(rgb, data, sizeof rgb);
            for (int i = 0; i < 3; ++i)
                material.color[i] = ColorByte(rgb[i]);
        } else if (n >= 3) {
            std::memcpy(material.color, data, 3);
        }
    }
    SkipRest(color);
    chunk.bytesRead += color.bytesRead;
}

// ---------------------------------------------------------------------------------------------
// Faces and normals

void Model3ds::DropBadFaces(Object3ds& object) {
    const int n = object.vertexCount;
    size_t kept = 0;
    const size_t faces = std::min(size_t(std::max(object.faceCount, 0)), object.faces.size() / 3);
    for (size_t i = 0; i < faces; ++i) {
        const int* f = &object.faces[i * 3];
        if (f[0] < 0 || f[0] >= n || f[1] < 0 || f[1] >= n || f[2] < 0 || f[2] >= n)
            continue;
        if (kept != i)
            std::copy(f, f + 3, &object.faces[kept * 3]);
        ++kept;
    }
    object.faces.resize(kept * 3);
    object.faceCount = int(kept);
}

void Model3ds::ComputeNormals(Model3dsData& model) {
    for (Object3ds& o : model.objects) {
        const size_t n = size_t(std::max(o.vertexCount, 0));
        o.normals.assign(n * 3, 0.0f);
        if (o.vertices.size() < n * 3)
            continue;
        std::vector<int> count(n, 0);
        const float* p = o.vertices.data();
        const size_t faces = std::min(size_t(std::max(o.faceCount, 0)), o.faces.size() / 3);
        for (size_t i = 0; i < faces; ++i) {
            const int* f = &o.faces[i * 3];
            if (f[0] < 0 || size_t(f[0]) >= n || f[1] < 0 || size_t(f[1]) >= n || f[2] < 0 ||
                size_t(f[2]) >= n)
                continue;
            const float* a = p + size_t(f[0]) * 3;
            const float* b = p + size_t(f[1]) * 3;
            const float* c = p + size_t(f[2]) * 3;
            // (Pa - Pc) x (Pc - Pb), unnormalised.
            const float u[3] = {a[0] - c[0], a[1] - c[1], a[2] - c[2]};
            const float v[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
            const float nf[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                 u[0] * v[1] - u[1] * v[0]};
            // Each vertex of the face once, in face order: the sums come out as a search over the
            // faces of each vertex would add them.
            for (int k = 0; k < 3; ++k) {
                const int w = f[k];
                if ((k >= 1 && w == f[0]) || (k == 2 && w == f[1]))
                    continue;
                float* s = &o.normals[size_t(w) * 3];
                s[0] += nf[0];
                s[1] += nf[1];
                s[2] += nf[2];
                ++count[size_t(w)];
            }
        }
        for (size_t i = 0; i < n; ++i) {
            float* s = &o.normals[i * 3];
            if (count[i] == 0)
                continue;
            const float k = -float(count[i]);
            const float x = s[0] / k, y = s[1] / k, z = s[2] / k;
            const float length = std::sqrt(x * x + y * y + z * z);
            if (!(length > 0.0f) || !std::isfinite(length)) {
                s[0] = s[1] = s[2] = 0.0f;
                continue;
            }
            s[0] = x / length;
            s[1] = y / length;
            s[2] = z / length;
        }
    }
}
