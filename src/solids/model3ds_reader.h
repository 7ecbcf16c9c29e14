// The 3DS model file reader: the chunk tree of a 3D Studio file read into triangle-mesh objects and
// their materials (name, diffuse colour, texture file name), every read bounded by the file and the
// enclosing chunk, and the vertex normals computed from the faces.  No OpenGL: the model cell draws.
#pragma once

#include "platform/afx.h"

#include <string>
#include <unordered_map>
#include <vector>

class CFile;

// One chunk while it is read: its id, its whole length (the 6-byte header included) and how many of
// its bytes have been consumed; `start` is the file offset of its header.
struct Chunk3ds {
    WORD id = 0;
    DWORD length = 0;
    DWORD bytesRead = 0;
    ULONGLONG start = 0;

    DWORD Left() const { return length > bytesRead ? length - bytesRead : 0; }
};

// The name fields hold at most this many bytes (a longer name is cut there).
constexpr size_t kModel3dsNameLength = 254;

// One triangle-mesh object.  The arrays hold vertexCount triples (x, y, z), texCoordCount pairs
// (u, v) and faceCount triples of vertex indices, every index below vertexCount once read.
struct Object3ds {
    int vertexCount = 0;
    int faceCount = 0;
    int texCoordCount = 0;
    // Index of the material the object's last face group names; -1 for a name no material has, 0
    // when the object names none (or names one before any material was read).
    int materialIndex = 0;
    BYTE textured = 0; // some face group named a material with a texture file
    std::string name;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<int> faces;
};

struct Material3ds {
    std::string name;
    std::string textureName; // 8-bit text as stored; empty without a texture map
    BYTE color[3] = {0, 0, 0};
    int textureIndex = 0; // set by the model cell to the material's own index
};

struct Model3dsData {
    int objectCount = 0;
    int materialCount = 0;
    std::vector<Material3ds> materials;
    std::vector<Object3ds> objects;

    void Clear();
    // Vertices and faces of all objects.
    size_t VertexCount() const;
    size_t FaceCount() const;
};

// A file holds at most this many objects and materials; further object and material chunks are
// passed over, so that a file of nothing but tiny chunks cannot take memory without bound.
constexpr int kModel3dsMaxObjects = 65535;
constexpr int kModel3dsMaxMaterials = 65535;
// Chunks nested deeper than this are passed over (ordinary files nest about five deep).
constexpr int kModel3dsMaxDepth = 32;

// The loader: one call of ReadFile (or Read) reads one file into a model that it appends to.
class Model3ds {
public:
    // Opens and reads the whole file.  FALSE when the file cannot be opened ("文件 %s 未找到！\n") or
    // does not start with a main chunk ("%s 不是3ds文件!"), each shown with the caption "错误".  A
    // chunk whose length is shorter than a header or runs past its parent ends the reading of that
    // parent; a file that ends early keeps the objects and materials it holds whole.
    static BOOL ReadFile(const CString& path, Model3dsData& model);
    // The same over a file already open (or bytes in memory); `path` is only for the messages.
    BOOL Read(CFile& file, const CString& path, Model3dsData& model);

    // Per vertex: the unit vector of the sum of the counter-clockwise normals (unnormalised, so each
    // face weighs by its area) of the faces around it; (0, 0, 0) where no face with an area uses the
    // vertex.  One pass over the faces; faces naming a vertex that does not exist count for nothing.
    static void ComputeNormals(Model3dsData& model);
    // Drops every face that names a vertex the object does not have.
    static void DropBadFaces(Object3ds& object);

private:
    // The sub-chunks of `parent` in turn, each handed to `handle` (which returns whether the rest of
    // the chunk is to be passed over), counted into the parent when done.
    template <class Handle> void ForEachSubChunk(Chunk3ds& parent, int depth, Handle&& handle);
    void ReadChunks(Model3dsData& model, Chunk3ds& parent, int depth);
    void ReadMeshChunks(Model3dsData& model, Object3ds& object, Chunk3ds& parent, int depth);
    void ReadMaterialChunks(Model3dsData& model, Chunk3ds& parent, int depth);
    void ReadVersion(Chunk3ds& chunk);
    void ReadVertices(Object3ds& object, Chunk3ds& chunk);
    // False when the list's count runs past it.
    bool ReadFaces(Object3ds& object, Chunk3ds& chunk);
    void ReadTexCoords(Object3ds& object, Chunk3ds& chunk);
    // A list of records of `perRecord` floats into `values`, their number into `count`.
    void ReadFloats(Chunk3ds& chunk, UINT perRecord, std::vector<float>& values, int& count);
    void ReadObjectMaterial(Model3dsData& model, Object3ds& object, Chunk3ds& chunk);
    void ReadColor(Material3ds& material, Chunk3ds& chunk);

    // The header of the next sub-chunk of `parent`; false when there is no room for one or when its
    // length is shorter than a header or runs past the parent's stated length.  A chunk that runs
    // past the end of the file is read up to it.
    bool ReadHeader(Chunk3ds& chunk, const Chunk3ds& parent);
    // Reads `count` bytes of the chunk; false (nothing counted) when the chunk has fewer left or the
    // file ended.
    bool ReadBytes(Chunk3ds& chunk, void* buffer, UINT count);
    bool ReadWord(Chunk3ds& chunk, WORD& value);
    // A zero-terminated name, the zero included, bounded by the chunk; cut to its first 254 bytes.
    std::string ReadName(Chunk3ds& chunk);
    // Passes over the rest of the chunk.
    void SkipRest(Chunk3ds& chunk);
    // The list of a vertex, face or texture-coordinate chunk: its count, cut to the whole records
    // the chunk still holds, and the records' bytes.
    bool ReadRecords(Chunk3ds& chunk, UINT recordSize, std::vector<BYTE>& bytes, int& count,
                     WORD* statedCount = nullptr);
    int FindMaterial(const Model3dsData& model, const std::string& name);

    CFile* m_file = nullptr;
    ULONGLONG m_pos = 0;     // the file offset reached
    ULONGLONG m_fileEnd = 0; // the file's length
    bool m_ended = false;    // the file ended inside a chunk: nothing more is read
    // The first material of each name, rebuilt when a material has been named since.
    std::unordered_map<std::string, int> m_materialIndex;
    bool m_materialIndexStale = true;
};
