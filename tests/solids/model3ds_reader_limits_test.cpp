// The 3DS reader at each of its limits and one step past it: how many objects and materials a file
// holds, how deep chunks nest, chunk lengths against their parent and the end of the file, name
// lengths, list counts against their chunk, face indices against the vertex count, and colour forms.
#include "model3ds_chunk_helpers.h"
#include "model3ds_fixture.h"

#include <cstring>

namespace {

using namespace C3dsId;

// An id no reader acts on (a mesh's local axes): passed over whole.
constexpr uint16_t kPassedOver = 0x4160;

class Model3dsLimitsTest : public Model3dsTest {
protected:
    // `empty` empty chunks of `id` under the main chunk, then what `last` writes.
    template <class F> static std::vector<uint8_t> ManyEmpty(uint16_t id, int empty, F&& last) {
        C3dsChunkWriter w;
        w.Begin(Main);
        for (int i = 0; i < empty; ++i) {
            w.Begin(id);
            w.End();
        }
        last(w);
        w.End();
        return w.Bytes();
    }
    // The stated length of the chunk whose header starts at `at`, changed by `delta`.
    static void ChangeLength(std::vector<uint8_t>& bytes, size_t at, int delta) {
        uint32_t length = 0;
        std::memcpy(&length, &bytes[at + 2], 4);
        length = uint32_t(int64_t(length) + delta);
        std::memcpy(&bytes[at + 2], &length, 4);
    }
    static std::vector<std::string> Names(const Model3dsData& m) {
        std::vector<std::string> names;
        for (const Object3ds& o : m.objects)
            names.push_back(o.name);
        return names;
    }
    static std::vector<int> Color(const Material3ds& m) { return {m.color[0], m.color[1], m.color[2]}; }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// How many objects and materials, how deep

TEST_F(Model3dsLimitsTest, AFileHoldsAtMost65535Objects) {
    // The 65535th object is read; one more is passed over and what follows it still reads.
    const Model3dsData full =
        Read(ManyEmpty(Object, 65534, [](C3dsChunkWriter& w) { TriangleObject(w, "last"); }));
    ASSERT_EQ(full.objectCount, 65535);
    ASSERT_EQ(full.objects.size(), 65535u);
    EXPECT_EQ(full.objects.back().name, "last");
    EXPECT_EQ(full.objects.back().faceCount, 1);
    EXPECT_EQ(full.objects.front().name, "");
    EXPECT_EQ(full.objects.front().vertexCount, 0);

    const Model3dsData past = Read(ManyEmpty(Object, 65535, [](C3dsChunkWriter& w) {
        TriangleObject(w, "past");
        AddMaterial(w, "after");
    }));
    ASSERT_EQ(past.objectCount, 65535);
    ASSERT_EQ(past.objects.size(), 65535u);
    EXPECT_EQ(past.objects.back().name, "");
    ASSERT_EQ(past.materialCount, 1);
    EXPECT_EQ(past.materials[0].name, "after");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(Model3dsLimitsTest, AFileHoldsAtMost65535Materials) {
    const auto file = [](int empty, const std::string& name) {
        return ManyEmpty(C3dsId::Material, empty, [&](C3dsChunkWriter& w) {
            AddMaterial(w, name, name + ".png");
            TriangleObject(w, "O", [&](C3dsChunkWriter& w) { Group(w, name); });
        });
    };
    const Model3dsData full = Read(file(65534, "last"));
    ASSERT_EQ(full.materialCount, 65535);
    ASSERT_EQ(full.materials.size(), 65535u);
    EXPECT_EQ(full.materials.back().name, "last");
    EXPECT_EQ(full.materials.back().textureName, "last.png");
    ASSERT_EQ(full.objectCount, 1);
    EXPECT_EQ(full.objects[0].materialIndex, 65534);
    EXPECT_EQ(full.objects[0].textured, 1);

    // The one past the limit is not read: the group names no material, and the object after it reads.
    const Model3dsData past = Read(file(65535, "past"));
    ASSERT_EQ(past.materialCount, 65535);
    ASSERT_EQ(past.materials.size(), 65535u);
    EXPECT_EQ(past.materials.back().name, "");
    ASSERT_EQ(past.objectCount, 1);
    EXPECT_EQ(past.objects[0].materialIndex, -1);
    EXPECT_EQ(past.objects[0].textured, 0);
}

TEST_F(Model3dsLimitsTest, ChunksNestedPastThirtyTwoLevelsArePassedOver) {
    // An object's vertex list inside `meshes` mesh chunks: the object is the main chunk's child
    // (level 1), so the list sits at level meshes + 2.  Level 31 is read, level 32 is not; the
    // object after it reads either way.
    for (int meshes : {29, 30}) {
        C3dsChunkWriter w;
        w.Begin(Main);
        w.Begin(Object);
        w.Name("deep");
        for (int i = 0; i < meshes; ++i)
            w.Begin(Mesh);
        w.FloatList(Vertices, 1, {1, 2, 3});
        for (int i = 0; i < meshes; ++i)
            w.End();
        w.End();
        TriangleObject(w, "after");
        w.End();
        const Model3dsData m = Read(w.Bytes());
        ExpectSound(m);
        ASSERT_EQ(Names(m), (std::vector<std::string>{"deep", "after"})) << meshes;
        EXPECT_EQ(m.objects[0].vertexCount, meshes == 29 ? 1 : 0) << meshes;
        EXPECT_EQ(m.objects[1].faceCount, 1) << meshes;
    }
    // A material's texture map nested in texture maps is bounded the same way.
    for (int maps : {29, 30}) {
        C3dsChunkWriter w;
        w.Begin(Main);
        w.Begin(C3dsId::Material);
        w.NameChunk(MaterialName, "M");
        for (int i = 0; i < maps; ++i)
            w.Begin(TextureMap);
        w.NameChunk(MapFile, "t.png");
        for (int i = 0; i < maps; ++i)
            w.End();
        w.End();
        w.End();
        const Model3dsData m = Read(w.Bytes());
        ASSERT_EQ(m.materialCount, 1);
        EXPECT_EQ(m.materials[0].textureName, maps == 29 ? "t.png" : "") << maps;
    }
}

// ---------------------------------------------------------------------------------------------
// Chunk lengths

TEST_F(Model3dsLimitsTest, AChunkOfSixBytesIsWholeAndOfFiveEndsItsLevel) {
    for (uint32_t length : {6u, 5u}) {
        C3dsChunkWriter w;
        w.Begin(Main);
        TriangleObject(w, "before");
        w.BeginStated(kPassedOver, length);
        w.End();
        TriangleObject(w, "after");
        w.End();
        const Model3dsData m = Read(w.Bytes());
        ExpectSound(m);
        EXPECT_EQ(Names(m), length == 6 ? (std::vector<std::string>{"before", "after"})
                                        : (std::vector<std::string>{"before"}))
            << length;
    }
    // An empty object chunk in the last six bytes of its parent is still an object.
    C3dsChunkWriter w;
    w.Begin(Main);
    TriangleObject(w, "before");
    w.Begin(Object);
    w.End();
    w.End();
    const Model3dsData m = Read(w.Bytes());
    ASSERT_EQ(Names(m), (std::vector<std::string>{"before", ""}));
    EXPECT_EQ(m.objects[1].vertexCount, 0);
}

TEST_F(Model3dsLimitsTest, AChunkMayEndWithItsParentButNotOneBytePast) {
    C3dsChunkWriter w;
    w.Begin(Main);
    TriangleObject(w, "first");
    const size_t last = w.Bytes().size();
    TriangleObject(w, "last");
    w.End();
    const std::vector<uint8_t> exact = w.Bytes();
    EXPECT_EQ(Names(Read(exact)), (std::vector<std::string>{"first", "last"}));

    // The last object one byte longer than what is left of the main chunk: refused.  The main chunk
    // stated one byte longer too: taken, as far as the file goes.
    std::vector<uint8_t> past = exact;
    ChangeLength(past, last, 1);
    EXPECT_EQ(Names(Read(past)), (std::vector<std::string>{"first"}));
    past.push_back(0);
    ChangeLength(past, 0, 1);
    EXPECT_EQ(Names(Read(past)), (std::vector<std::string>{"first", "last"}));

    // The same inside an object: a mesh one byte past the object loses the whole mesh.
    std::vector<uint8_t> mesh = exact;
    ChangeLength(mesh, last + 6 + 5, 1); // the object's header and its name "last"
    const Model3dsData m = Read(mesh);
    ASSERT_EQ(Names(m), (std::vector<std::string>{"first", "last"}));
    EXPECT_EQ(m.objects[1].vertexCount, 0);
    EXPECT_EQ(m.objects[1].faceCount, 0);
}

TEST_F(Model3dsLimitsTest, AChunkPassedOverToTheEndOfTheFileKeepsItsObjectAndOnePastDropsIt) {
    C3dsChunkWriter w;
    w.Begin(Main);
    TriangleObject(w, "first");
    TriangleObject(w, "last", [](C3dsChunkWriter& w) {
        w.Begin(kPassedOver);
        for (int i = 0; i < 12; ++i)
            w.Float(float(i));
        w.End();
    });
    w.End();
    const std::vector<uint8_t> whole = w.Bytes();
    Model3dsData m;
    EXPECT_TRUE(ReadBytes(whole, m));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"first", "last"}));
    // The file one byte short of the chunk's end: the object is cut short and not kept.
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 1);
    Model3dsData shorter;
    EXPECT_TRUE(ReadBytes(cut, shorter));
    EXPECT_EQ(Names(shorter), (std::vector<std::string>{"first"}));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(Model3dsLimitsTest, AFileOfSixBytesIsAnEmptyModelAndOfFiveIsRefused) {
    for (uint32_t stated : {0u, 6u, 100u}) {
        std::vector<uint8_t> bytes = {0x4D, 0x4D, 0, 0, 0, 0};
        std::memcpy(&bytes[2], &stated, 4);
        m_messages.clear();
        Model3dsData m;
        EXPECT_TRUE(ReadBytes(bytes, m)) << stated;
        EXPECT_EQ(m.objectCount, 0);
        EXPECT_TRUE(m_messages.empty());
        bytes.pop_back();
        EXPECT_FALSE(ReadBytes(bytes, m)) << stated;
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, HxFormat(u"%s 不是3ds文件!", CString(u"test.3ds")));
    }
}

// ---------------------------------------------------------------------------------------------
// Names, counts and indices

TEST_F(Model3dsLimitsTest, NamesKeep254BytesAndWhatFollowsStillReads) {
    for (size_t length : {253u, 254u, 255u, 256u, 257u, 600u}) {
        const std::string name(length, 'a');
        const std::string texture = std::string(length - 4, 'b') + ".png";
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            AddMaterial(w, name, texture);
            TriangleObject(w, name, [&](C3dsChunkWriter& w) { Group(w, name); });
        });
        const Model3dsData m = Read(bytes);
        ExpectSound(m);
        const size_t kept = std::min<size_t>(length, 254);
        ASSERT_EQ(m.materialCount, 1) << length;
        EXPECT_EQ(m.materials[0].name, name.substr(0, kept)) << length;
        EXPECT_EQ(m.materials[0].textureName, texture.substr(0, kept)) << length;
        EXPECT_EQ(m.materials[0].color[2], 30) << length;
        ASSERT_EQ(m.objectCount, 1) << length;
        EXPECT_EQ(m.objects[0].name, name.substr(0, kept)) << length;
        EXPECT_EQ(m.objects[0].vertexCount, 3) << length;
        EXPECT_EQ(m.objects[0].faceCount, 1) << length;
        EXPECT_EQ(m.objects[0].materialIndex, 0) << length;
        EXPECT_EQ(m.objects[0].textured, 1) << length;
    }
}

TEST_F(Model3dsLimitsTest, ListCountsAreCutToTheWholeRecordsTheirChunkHolds) {
    // Three vertices and three texture coordinates held; counts of 2, 3 and 4 stated.
    for (uint16_t stated : {uint16_t(2), uint16_t(3), uint16_t(4)}) {
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            w.Begin(Object);
            w.Name("O");
            w.Begin(Mesh);
            w.FloatList(Vertices, stated, {0, 0, 0, 1, 0, 0, 0, 1, 0});
            w.FloatList(TexCoords, stated, {0, 0, 1, 0, 0, 1});
            w.BeginFaces(1, {0, 1, 2, 0});
            w.End();
            w.End();
            w.End();
        });
        const Model3dsData m = Read(bytes);
        ExpectSound(m);
        ASSERT_EQ(m.objectCount, 1);
        const int held = std::min<int>(stated, 3);
        EXPECT_EQ(m.objects[0].vertexCount, held) << stated;
        EXPECT_EQ(m.objects[0].texCoordCount, held) << stated;
        // The face list follows either way; its face needs vertex 2.
        EXPECT_EQ(m.objects[0].faceCount, held == 3 ? 1 : 0) << stated;
    }
}

TEST_F(Model3dsLimitsTest, AFaceListThatHoldsFewerFacesThanItStatesIsPassedOver) {
    // The list holds one face and a face group for "B" (together two records' worth of bytes).  As
    // many faces stated as records fit: the group is read as the list's sub-chunk; more: the rest of
    // the list is passed over; either way the texture coordinates after the list are read.
    for (uint16_t stated : {uint16_t(1), uint16_t(3)}) {
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            AddMaterial(w, "A");
            AddMaterial(w, "B");
            w.Begin(Object);
            w.Name("O");
            w.Begin(Mesh);
            w.FloatList(Vertices, 3, {0, 0, 0, 1, 0, 0, 0, 1, 0});
            w.BeginFaces(stated, {0, 1, 2, 0});
            Group(w, "B");
            w.End();
            w.FloatList(TexCoords, 3, {0, 0, 1, 0, 0, 1});
            w.End();
            w.End();
        });
        const Model3dsData m = Read(bytes);
        ExpectSound(m);
        ASSERT_EQ(m.objectCount, 1);
        EXPECT_EQ(m.objects[0].faces, (std::vector<int>{0, 1, 2})) << stated;
        EXPECT_EQ(m.objects[0].materialIndex, stated == 1 ? 1 : 0) << stated;
        EXPECT_EQ(m.objects[0].texCoordCount, 3) << stated;
    }
}

TEST_F(Model3dsLimitsTest, AFaceIndexEqualToTheVertexCountIsDroppedInEveryCorner) {
    C3dsMeshSpec mesh;
    mesh.name = "M";
    mesh.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    mesh.faces = {3, 0, 1, 0, 1, 2, 0, 3, 1, 2, 1, 0, 0, 1, 3, 2, 0, 1};
    const Model3dsData m = Read(Write3ds({}, {mesh}));
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_EQ(m.objects[0].faceCount, 3);
    EXPECT_EQ(m.objects[0].faces, (std::vector<int>{0, 1, 2, 2, 1, 0, 2, 0, 1}));

    // A model cell handed faces that were never dropped leaves the same ones out of its list.
    Model3dsData unread;
    Object3ds& o = unread.objects.emplace_back();
    unread.objectCount = 1;
    o.vertexCount = 3;
    o.vertices = mesh.vertices;
    o.faces.assign(mesh.faces.begin(), mesh.faces.end());
    o.faceCount = 6;
    Model3ds::ComputeNormals(unread);
    struct CSink {
        void BeginObject(bool, int) {}
        void Corner(const float*, const float*, const BYTE*, const float* position) {
            corners.push_back(int(position[0] + 2 * position[1]));
        }
        void EndObject() {}
        std::vector<int> corners;
    } sink;
    CGModel3ds cell;
    cell.TakeModel(std::move(unread), false);
    cell.EmitMesh(sink);
    EXPECT_EQ(sink.corners, (std::vector<int>{0, 1, 2, 2, 1, 0, 2, 0, 1}));
}

TEST_F(Model3dsLimitsTest, AListOf65535VerticesIsReadWholeWithItsTwoByteIndices) {
    // The largest list a count can state: faces may name any of its vertices, the last one
    // included; the index 65535 (the vertex count) names none.
    C3dsMeshSpec mesh;
    mesh.name = "big";
    for (int i = 0; i < 65535; ++i) {
        mesh.vertices.push_back(float(i));
        mesh.vertices.push_back(float(i % 7));
        mesh.vertices.push_back(0.0f);
    }
    mesh.faces = {0, 256, 257, 65534, 1, 511, 2, 3, 65535, 65535, 4, 5};
    const Model3dsData m = Read(Write3ds({}, {mesh}));
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_EQ(m.objects[0].vertexCount, 65535);
    EXPECT_EQ(m.objects[0].vertices[65534 * 3], 65534.0f);
    EXPECT_EQ(m.objects[0].faces, (std::vector<int>{0, 256, 257, 65534, 1, 511}));
}

TEST_F(Model3dsLimitsTest, AGroupFindsEveryMaterialReadBeforeIt) {
    // Materials are matched by name as they stand when the group is read: a material read after an
    // earlier lookup is found too, a nameless one by the empty name.
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        AddMaterial(w, "A");
        TriangleObject(w, "first", [](C3dsChunkWriter& w) { Group(w, "A"); });
        w.Begin(C3dsId::Material);
        w.End();
        TriangleObject(w, "nameless", [](C3dsChunkWriter& w) { Group(w, ""); });
        AddMaterial(w, "B", "b.png");
        TriangleObject(w, "last", [](C3dsChunkWriter& w) { Group(w, "B"); });
    });
    const Model3dsData m = Read(bytes);
    ASSERT_EQ(m.materialCount, 3);
    ASSERT_EQ(m.objectCount, 3);
    EXPECT_EQ(m.objects[0].materialIndex, 0);
    EXPECT_EQ(m.objects[1].materialIndex, 1);
    EXPECT_EQ(m.objects[2].materialIndex, 2);
    EXPECT_EQ(m.objects[2].textured, 1);

    // One loader reading file after file matches each against the model it reads into.
    const std::vector<uint8_t> twoMaterials = EditorFile([](C3dsChunkWriter& w) {
        AddMaterial(w, "X");
        AddMaterial(w, "Y");
        TriangleObject(w, "O", [](C3dsChunkWriter& w) { Group(w, "Y"); });
    });
    const std::vector<uint8_t> groupOnly = EditorFile(
        [](C3dsChunkWriter& w) { TriangleObject(w, "O", [](C3dsChunkWriter& w) { Group(w, "Y"); }); });
    Model3ds loader;
    Model3dsData first;
    CMemFile one(twoMaterials.data(), twoMaterials.size());
    ASSERT_TRUE(loader.Read(one, u"one.3ds", first));
    EXPECT_EQ(first.objects[0].materialIndex, 1);
    // A model that holds only "Y" already.
    Model3dsData second;
    second.materials.push_back({"Y", "", {1, 2, 3}, 0});
    second.materialCount = 1;
    CMemFile two(groupOnly.data(), groupOnly.size());
    ASSERT_TRUE(loader.Read(two, u"two.3ds", second));
    ASSERT_EQ(second.objectCount, 1);
    EXPECT_EQ(second.objects[0].materialIndex, 0);
}

// ---------------------------------------------------------------------------------------------
// Colours

TEST_F(Model3dsLimitsTest, ColourFormsAndTheirLengths) {
    struct Case {
        const char* what;
        uint16_t form;
        std::vector<uint8_t> data;
        std::vector<int> color;
    };
    auto floats = [](std::initializer_list<float> values) {
        std::vector<uint8_t> bytes(values.size() * 4);
        std::memcpy(bytes.data(), values.begin(), bytes.size());
        return bytes;
    };
    std::vector<uint8_t> longer = floats({0.2f, 0.4f, 0.6f, 9.0f});
    const Case cases[] = {
        {"three floats", 0x0010, floats({0.0f, 0.5f, 1.0f}), {0, 128, 255}},
        {"three gamma-corrected floats", 0x0013, floats({1.0f, 0.2f, 0.0f}), {255, 51, 0}},
        {"floats past 1 and below 0", 0x0010, floats({2.0f, 1.5f, -0.5f}), {255, 255, 0}},
        {"floats that are no number", 0x0010, floats({NAN, 0.25f, INFINITY}), {0, 64, 255}},
        {"a float form of eleven bytes gives its first three",
         0x0010,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         {1, 2, 3}},
        {"a float form with more than twelve bytes", 0x0010, longer, {51, 102, 153}},
        {"three bytes", 0x0011, {1, 2, 3}, {1, 2, 3}},
        {"three gamma-corrected bytes", 0x0012, {7, 8, 9}, {7, 8, 9}},
        {"four bytes give their first three", 0x0011, {4, 5, 6, 7}, {4, 5, 6}},
        {"two bytes leave it black", 0x0011, {4, 5}, {0, 0, 0}},
        {"another form", 0x0030, {11, 12, 13}, {11, 12, 13}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            w.Begin(C3dsId::Material);
            w.NameChunk(MaterialName, "M");
            w.Begin(Diffuse);
            w.DataChunk(c.form, c.data);
            w.End();
            w.Begin(TextureMap);
            w.NameChunk(MapFile, "after.png");
            w.End();
            w.End();
        });
        const Model3dsData m = Read(bytes);
        ASSERT_EQ(m.materialCount, 1) << c.what;
        EXPECT_EQ(Color(m.materials[0]), c.color) << c.what;
        EXPECT_EQ(m.materials[0].textureName, "after.png") << c.what;
    }
}
