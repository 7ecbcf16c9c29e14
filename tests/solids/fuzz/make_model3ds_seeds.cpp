// Writes the 3DS files the reader's fuzzer starts from with our own generator: whole models of several
// layouts and damaged forms (cut short, a length past its parent, a count past its chunk).
// Usage: make_model3ds_seeds DIR
#include "support/model3ds_writer.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 1;
    }
    const std::string dir = argv[1];
    using namespace C3dsId;
    const std::vector<C3dsMaterialSpec> materials = {{"Red", 200, 0, 0, ""},
                                                     {"Wood", 255, 255, 255, "wood.png"}};
    const std::vector<uint8_t> small = Write3ds(materials, {Box3ds("Box", -1, -2, -3, 1, 2, 3, "Red"),
                                                            Torus3ds("Ring", 0, 0, 0, 4, 1, 6, 4, "Wood")});
    Write(dir + "/small.3ds", small);
    Write(dir + "/box.3ds",
          Write3ds({{"Tex", 255, 255, 255, "maps\\t.png"}}, {Box3ds("B", 0, 0, 0, 1, 1, 1, "Tex")}));
    Write(dir + "/roof.3ds", Write3ds({}, {Prism3ds("Roof", 0, 2, 0, 1, 0, 1, "None")}));
    Write(dir + "/empty.3ds", Write3ds({}, {}));

    // Objects straight under the main chunk, texture coordinates after the faces, a nested mesh.
    C3dsChunkWriter w;
    w.Begin(Main);
    Write3dsMaterial(w, {"M", 1, 2, 3, "m.jpg"});
    w.Begin(Object);
    w.Name("O");
    w.Begin(Mesh);
    w.Begin(Mesh);
    w.FloatList(Vertices, 3, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    w.End();
    w.BeginFaces(1, {0, 1, 2, 0});
    w.Begin(FaceMaterial);
    w.Name("M");
    w.Word(1);
    w.Word(0);
    w.End();
    w.End();
    w.FloatList(TexCoords, 3, {0, 0, 1, 0, 0, 1});
    w.End();
    w.End();
    w.End();
    Write(dir + "/direct.3ds", w.Bytes());

    // Damaged: cut in the middle, an object length past its parent, a vertex count past its chunk.
    Write(dir + "/cut.3ds", std::vector<uint8_t>(small.begin(), small.begin() + long(small.size() / 2)));
    std::vector<uint8_t> past = small;
    for (size_t i = 0; i + 6 < past.size(); ++i)
        if (past[i] == 0x10 && past[i + 1] == 0x41) {
            const uint32_t huge = 0x00FFFFFF;
            std::memcpy(&past[i + 2], &huge, 4);
            break;
        }
    Write(dir + "/past.3ds", past);
    std::vector<uint8_t> count = small;
    for (size_t i = 0; i + 8 < count.size(); ++i)
        if (count[i] == 0x20 && count[i + 1] == 0x41) {
            count[i + 6] = 0xFF;
            count[i + 7] = 0xFF;
            break;
        }
    Write(dir + "/count.3ds", count);
    return 0;
}
