// Fuzz target: arbitrary bytes read as a 3DS file, taken into a model cell and handed out as its
// display list would get it; a broken invariant (an index, an array size, a name, a material index, a
// box or scale that is no number) stops the run.
#include "solids/model3ds.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "3DS invariant broken: %s\n", what);
        std::abort();
    }
}

// Reads every value the list would be given.
struct CTouchingSink {
    void BeginObject(bool textured, int material) {
        Check(!textured || (material >= 0 && material < CGModel3ds::kTextureSlots), "texture slot");
    }
    void Corner(const float* normal, const float* texCoord, const BYTE* color, const float* position) {
        sum += normal[0] + normal[1] + normal[2] + position[0] + position[1] + position[2];
        if (texCoord)
            sum += texCoord[0] + texCoord[1];
        if (color)
            sum += float(color[0] + color[1] + color[2]);
        ++corners;
    }
    void EndObject() {}
    float sum = 0.0f;
    size_t corners = 0;
};

void CheckModel(const Model3dsData& m) {
    Check(m.objectCount == int(m.objects.size()), "object count");
    Check(m.materialCount == int(m.materials.size()), "material count");
    for (const Object3ds& o : m.objects) {
        Check(o.vertices.size() == size_t(o.vertexCount) * 3, "vertex array");
        Check(o.normals.size() == size_t(o.vertexCount) * 3, "normal array");
        Check(o.texCoords.size() == size_t(o.texCoordCount) * 2, "texture coordinate array");
        Check(o.faces.size() == size_t(o.faceCount) * 3, "face array");
        for (int v : o.faces)
            Check(v >= 0 && v < o.vertexCount, "face index");
        Check(o.name.size() <= kModel3dsNameLength, "object name");
        Check(o.materialIndex >= -1 && o.materialIndex < (m.materialCount > 0 ? m.materialCount : 1),
              "material index");
        for (float n : o.normals)
            Check(std::isfinite(n), "normal");
    }
    for (const Material3ds& mat : m.materials)
        Check(mat.name.size() <= kModel3dsNameLength && mat.textureName.size() <= kModel3dsNameLength,
              "material names");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
        return true;
    }();
    (void)quiet;
    CMemFile file(data, size);
    Model3dsData model;
    Model3ds loader;
    if (!loader.Read(file, u"fuzz.3ds", model)) {
        Check(model.objects.empty() && model.materials.empty(), "a refused file added something");
        return 0;
    }
    CheckModel(model);
    const size_t faces = model.FaceCount();
    CGModel3ds cell;
    cell.TakeModel(std::move(model), false);
    for (double b : cell.m_box)
        Check(std::isfinite(b), "box");
    Check(std::isfinite(cell.m_halfDiagonal) && cell.m_halfDiagonal >= 0.0, "half diagonal");
    CTouchingSink sink;
    cell.EmitMesh(sink);
    Check(sink.corners == faces * 3, "every face drawn once");
    return 0;
}
