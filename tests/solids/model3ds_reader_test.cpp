// The 3DS reader on files of our generator (meshes, materials, textures, the chunk hierarchy, material
// matching), on every damaged form (truncations, bad lengths and counts, faces past the vertices, long
// names, deep nesting, many materials), and its vertex normals.
#include "model3ds_chunk_helpers.h"
#include "model3ds_fixture.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using namespace C3dsId;

class Model3dsReaderTest : public Model3dsTest {};

} // namespace

// ---------------------------------------------------------------------------------------------
// Whole files

TEST_F(Model3dsReaderTest, AGeneratedModelReadsAsWritten) {
    const std::vector<C3dsMeshSpec> meshes = Meshes();
    const Model3dsData m = Read(SmallModel());
    ExpectSound(m);
    ASSERT_EQ(m.materialCount, 2);
    EXPECT_EQ(m.materials[0].name, "Red");
    EXPECT_EQ(m.materials[0].textureName, "");
    EXPECT_EQ((std::vector<int>{m.materials[0].color[0], m.materials[0].color[1], m.materials[0].color[2]}),
              (std::vector<int>{200, 0, 0}));
    EXPECT_EQ(m.materials[1].name, "Wood");
    EXPECT_EQ(m.materials[1].textureName, "wood.png");
    ASSERT_EQ(m.objectCount, 2);
    for (size_t i = 0; i < 2; ++i) {
        const Object3ds& o = m.objects[i];
        EXPECT_EQ(o.name, meshes[i].name);
        EXPECT_EQ(o.vertices, meshes[i].vertices);
        EXPECT_EQ(o.texCoords, meshes[i].texCoords);
        EXPECT_EQ(o.faces, std::vector<int>(meshes[i].faces.begin(), meshes[i].faces.end()));
        EXPECT_EQ(o.materialIndex, int(i));
        EXPECT_EQ(o.textured, i == 1 ? 1 : 0);
    }
    EXPECT_EQ(m.objects[0].vertexCount, 24);
    EXPECT_EQ(m.objects[0].faceCount, 12);
    EXPECT_EQ(m.objects[1].vertexCount, 72);
    EXPECT_EQ(m.objects[1].faceCount, 144);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(Model3dsReaderTest, MissingAndForeignFilesAreRefusedWithTheirPath) {
    Model3dsData m;
    const CString missing = CString::FromQString(m_dir.filePath(QStringLiteral("无.3ds")));
    EXPECT_FALSE(Model3ds::ReadFile(missing, m));
    const CString other = WriteFile(QStringLiteral("other.3ds"), {0x4D, 0x4C, 20, 0, 0, 0, 1, 2, 3});
    EXPECT_FALSE(Model3ds::ReadFile(other, m));
    const CString tiny = WriteFile(QStringLiteral("tiny.3ds"), {0x4D, 0x4D, 6});
    EXPECT_FALSE(Model3ds::ReadFile(tiny, m));
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[0].text, HxFormat(u"文件 %s 未找到！\n", missing));
    EXPECT_EQ(m_messages[1].text, HxFormat(u"%s 不是3ds文件!", other));
    EXPECT_EQ(m_messages[2].text, HxFormat(u"%s 不是3ds文件!", tiny));
    for (const CShownMessage& shown : m_messages)
        EXPECT_EQ(shown.caption, CString(u"错误"));
    EXPECT_EQ(m.objectCount, 0);
    // A folder is no file.
    EXPECT_FALSE(Model3ds::ReadFile(CString::FromQString(m_dir.path()), m));
}

TEST_F(Model3dsReaderTest, TheFileIsReadFromItsPathAndTheCurrentFolderStays) {
    const QString before = QDir::currentPath();
    Model3dsData m;
    EXPECT_TRUE(Model3ds::ReadFile(WriteFile(QStringLiteral("sub/模型.3ds"), SmallModel()), m));
    EXPECT_EQ(m.objectCount, 2);
    EXPECT_EQ(QDir::currentPath(), before);
    // Reading appends: the cell empties the model before it reads again.
    EXPECT_TRUE(Model3ds::ReadFile(WriteFile(QStringLiteral("again.3ds"), SmallModel()), m));
    EXPECT_EQ(m.objectCount, 4);
    EXPECT_EQ(m.objects.size(), 4u);
}

TEST_F(Model3dsReaderTest, VersionsAboveThreeAreWarnedOfAndRead) {
    for (uint32_t version : {3u, 4u}) {
        for (bool longer : {false, true}) {
            m_messages.clear();
            C3dsChunkWriter w;
            w.Begin(Main);
            w.Begin(Version);
            w.Dword(version);
            if (longer)
                w.Word(0);
            w.End();
            TriangleObject(w, "T");
            w.End();
            const Model3dsData m = Read(w.Bytes());
            EXPECT_EQ(m.objectCount, 1);
            const bool warned = version > 3 && !longer;
            ASSERT_EQ(m_messages.size(), warned ? 1u : 0u) << version << longer;
            if (warned) {
                EXPECT_EQ(m_messages[0].text,
                          CString(u"This 3DS file is over version 3 so it may load incorrectly"));
                EXPECT_EQ(m_messages[0].caption, CString(u"Warning"));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Hierarchy

TEST_F(Model3dsReaderTest, ObjectsAndMaterialsAreTakenUnderTheMainChunkAndTheEditorAlike) {
    C3dsChunkWriter w;
    w.Begin(Main);
    AddMaterial(w, "A");
    TriangleObject(w, "direct", [](C3dsChunkWriter& w) { Group(w, "A"); });
    w.Begin(Editor);
    // The editor's first sub-chunk is passed over whatever it is: this object is not read.
    TriangleObject(w, "skipped");
    TriangleObject(w, "inner");
    w.Begin(Editor);
    w.Begin(MeshVersion);
    w.Dword(3);
    w.End();
    AddMaterial(w, "B", "b.jpg");
    TriangleObject(w, "nested", [](C3dsChunkWriter& w) { Group(w, "B"); });
    w.End();
    w.End();
    w.End();
    const Model3dsData m = Read(w.Bytes());
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 3);
    EXPECT_EQ(m.objects[0].name, "direct");
    EXPECT_EQ(m.objects[1].name, "inner");
    EXPECT_EQ(m.objects[2].name, "nested");
    EXPECT_EQ(m.objects[0].materialIndex, 0);
    EXPECT_EQ(m.objects[2].materialIndex, 1);
    EXPECT_EQ(m.objects[2].textured, 1);
    ASSERT_EQ(m.materialCount, 2);
    EXPECT_EQ(m.materials[1].textureName, "b.jpg");
}

TEST_F(Model3dsReaderTest, FaceListSubChunksAreMetAsItsSiblings) {
    // Faces, then inside the face list a material group and smoothing groups, then texture
    // coordinates after the face list; mesh chunks nested in mesh chunks.
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        AddMaterial(w, "M");
        w.Begin(Object);
        w.Name("O");
        w.Begin(Mesh);
        w.Begin(Mesh);
        w.FloatList(Vertices, 3, {0, 0, 0, 2, 0, 0, 0, 2, 0});
        w.End();
        w.BeginFaces(1, {0, 1, 2, 7});
        Group(w, "M");
        w.Begin(Smoothing);
        w.Dword(1);
        w.End();
        w.End();
        w.FloatList(TexCoords, 3, {0, 0, 1, 0, 0, 1});
        w.End();
        w.End();
        TriangleObject(w, "next");
    });
    const Model3dsData m = Read(bytes);
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 2);
    const Object3ds& o = m.objects[0];
    EXPECT_EQ(o.vertexCount, 3);
    EXPECT_EQ(o.faces, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(o.materialIndex, 0);
    EXPECT_EQ(o.texCoords, (std::vector<float>{0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(m.objects[1].name, "next");
}

TEST_F(Model3dsReaderTest, FaceGroupsMatchMaterialsByName) {
    struct Case {
        const char* what;
        std::vector<std::string> groups;
        bool materialsFirst;
        int index;
        BYTE textured;
    };
    const Case cases[] = {
        {"no group", {}, true, 0, 0},
        {"a plain material", {"Plain"}, true, 0, 0},
        {"a textured material", {"Tex"}, true, 1, 1},
        {"a name no material has", {"Nothing"}, true, -1, 0},
        {"names are case-sensitive", {"plain"}, true, -1, 0},
        {"the last group gives the index, any textured group the flag", {"Tex", "Plain"}, true, 0, 1},
        {"an unknown last group", {"Tex", "Nothing"}, true, -1, 1},
        {"the first of two equal names", {"Twin"}, true, 2, 0},
        {"groups before any material leave the index", {"Tex"}, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            auto materials = [&] {
                AddMaterial(w, "Plain");
                AddMaterial(w, "Tex", "t.png");
                AddMaterial(w, "Twin");
                AddMaterial(w, "Twin", "twin.png");
            };
            if (c.materialsFirst)
                materials();
            TriangleObject(w, "O", [&](C3dsChunkWriter& w) {
                for (const std::string& g : c.groups)
                    Group(w, g);
            });
            if (!c.materialsFirst)
                materials();
        });
        const Model3dsData m = Read(bytes);
        ASSERT_EQ(m.objectCount, 1) << c.what;
        EXPECT_EQ(m.objects[0].materialIndex, c.index) << c.what;
        EXPECT_EQ(m.objects[0].textured, c.textured) << c.what;
    }
}

TEST_F(Model3dsReaderTest, WithoutMaterialsObjectsKeepIndexZeroUntextured) {
    const Model3dsData m = Read(Write3ds({}, {Box3ds("B", 0, 0, 0, 1, 1, 1, "Missing")}));
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_EQ(m.objects[0].materialIndex, 0);
    EXPECT_EQ(m.objects[0].textured, 0);
}

TEST_F(Model3dsReaderTest, AMaterialsColourAndTextureMapForms) {
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        w.Begin(C3dsId::Material);
        w.NameChunk(MaterialName, "Float");
        w.Begin(Diffuse);
        w.Begin(ColorFloat);
        for (float v : {1.0f, 0.5f, -3.0f})
            w.Float(v);
        w.End();
        w.End();
        // A texture map without a file name leaves it untextured.
        w.Begin(TextureMap);
        w.Begin(0x0030);
        w.Word(50);
        w.End();
        w.End();
        w.End();
        w.Begin(C3dsId::Material);
        w.NameChunk(MaterialName, "Short");
        w.Begin(Diffuse);
        w.Begin(Color24);
        w.Word(0x0102); // two bytes only: the colour stays black
        w.End();
        w.End();
        w.End();
        TriangleObject(w, "O", [](C3dsChunkWriter& w) { Group(w, "Float"); });
    });
    const Model3dsData m = Read(bytes);
    ASSERT_EQ(m.materialCount, 2);
    EXPECT_EQ((std::vector<int>{m.materials[0].color[0], m.materials[0].color[1], m.materials[0].color[2]}),
              (std::vector<int>{255, 128, 0}));
    EXPECT_EQ(m.materials[0].textureName, "");
    EXPECT_EQ((std::vector<int>{m.materials[1].color[0], m.materials[1].color[1], m.materials[1].color[2]}),
              (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(m.objects[0].textured, 0);
}

// ---------------------------------------------------------------------------------------------
// Damaged files

TEST_F(Model3dsReaderTest, EveryTruncationKeepsOnlyWholeObjects) {
    // The small model as Write3ds lays it out, with the offset where each object chunk ends.
    std::vector<size_t> ends;
    C3dsChunkWriter w;
    w.Begin(Main);
    w.Begin(Version);
    w.Dword(3);
    w.End();
    w.Begin(Editor);
    w.Begin(MeshVersion);
    w.Dword(3);
    w.End();
    for (const C3dsMaterialSpec& m : Materials())
        Write3dsMaterial(w, m);
    for (const C3dsMeshSpec& m : Meshes()) {
        Write3dsMesh(w, m);
        ends.push_back(w.Bytes().size());
    }
    w.End();
    w.Begin(Keyframes);
    w.Word(0);
    w.End();
    w.End();
    const std::vector<uint8_t> full = w.Bytes();
    ASSERT_EQ(full, SmallModel());
    const Model3dsData whole = Read(full);
    for (size_t n = 0; n < full.size(); ++n) {
        m_messages.clear();
        const std::vector<uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        Model3dsData m;
        const BOOL read = ReadBytes(cut, m);
        EXPECT_EQ(read != FALSE, n >= 6) << n;
        ExpectSound(m);
        const int whole_objects =
            int(std::count_if(ends.begin(), ends.end(), [&](size_t e) { return e <= n; }));
        ASSERT_EQ(m.objectCount, whole_objects) << n;
        for (int i = 0; i < whole_objects; ++i) {
            EXPECT_EQ(m.objects[size_t(i)].vertices, whole.objects[size_t(i)].vertices) << n;
            EXPECT_EQ(m.objects[size_t(i)].faces, whole.objects[size_t(i)].faces) << n;
        }
        EXPECT_EQ(m_messages.size(), n >= 6 ? 0u : 1u) << n;
    }
}

TEST_F(Model3dsReaderTest, LengthsPastTheParentOrShorterThanAHeaderEndTheirLevel) {
    struct Case {
        const char* what;
        uint32_t length;
    };
    for (const Case& c : {Case{"past the mesh", 5000}, Case{"shorter than a header", 3}, Case{"zero", 0},
                          Case{"huge", 0xFFFFFFFFu}}) {
        const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
            TriangleObject(w, "damaged", [&](C3dsChunkWriter& w) {
                w.BeginStated(0x4160, c.length); // a local axis chunk with a damaged length
                w.Word(0);
                w.End();
                w.FloatList(TexCoords, 3, std::vector<float>(6, 0.5f)); // never reached
            });
            TriangleObject(w, "after");
        });
        const Model3dsData m = Read(bytes);
        ExpectSound(m);
        ASSERT_EQ(m.objectCount, 2) << c.what;
        EXPECT_EQ(m.objects[0].vertexCount, 3) << c.what;
        EXPECT_EQ(m.objects[0].faceCount, 1) << c.what;
        EXPECT_EQ(m.objects[0].texCoordCount, 0) << c.what;
        EXPECT_EQ(m.objects[1].name, "after") << c.what;
        EXPECT_EQ(m.objects[1].faceCount, 1) << c.what;
    }
    // A main chunk longer than the file is read to the file's end.
    C3dsChunkWriter w;
    w.BeginStated(Main, 1000000);
    TriangleObject(w, "one");
    w.End();
    EXPECT_EQ(Read(w.Bytes()).objectCount, 1);
}

TEST_F(Model3dsReaderTest, CountsBeyondTheChunkKeepTheWholeRecordsItHolds) {
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        w.Begin(Object);
        w.Name("O");
        w.Begin(Mesh);
        w.FloatList(Vertices, 60000, {0, 0, 0, 1, 0, 0, 7}); // two whole vertices and a part of one
        // One face and a part of one: what follows in the list is no sub-chunk and is passed over.
        w.BeginFaces(65535, {0, 1, 1, 0, 1, 0});
        w.End();
        w.FloatList(TexCoords, 9, {0.25f, 0.75f});
        w.End();
        w.End();
    });
    const Model3dsData m = Read(bytes);
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 1);
    const Object3ds& o = m.objects[0];
    EXPECT_EQ(o.vertexCount, 2);
    EXPECT_EQ(o.vertices, (std::vector<float>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(o.faceCount, 1);
    EXPECT_EQ(o.faces, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(o.texCoordCount, 1);
    EXPECT_EQ(o.texCoords, (std::vector<float>{0.25f, 0.75f}));
}

TEST_F(Model3dsReaderTest, FacesBeyondTheVerticesAreDropped) {
    C3dsMeshSpec mesh;
    mesh.name = "M";
    mesh.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
    mesh.faces = {0, 1, 2, 1, 3, 2, 0, 4, 2, 65535, 0, 1, 3, 2, 9};
    const Model3dsData m = Read(Write3ds({}, {mesh}));
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_EQ(m.objects[0].faces, (std::vector<int>{0, 1, 2, 1, 3, 2}));
    // Faces read before any vertex name none that exist.
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        w.Begin(Object);
        w.Name("no vertices");
        w.Begin(Mesh);
        w.BeginFaces(1, {0, 0, 0, 0});
        w.End();
        w.End();
        w.End();
    });
    const Model3dsData empty = Read(bytes);
    ASSERT_EQ(empty.objectCount, 1);
    EXPECT_EQ(empty.objects[0].faceCount, 0);
}

TEST_F(Model3dsReaderTest, LongNamesAreCutAndWhatFollowsStillReads) {
    const std::string longName(300, 'n');
    const std::string longTexture = std::string(400, 't') + ".png";
    const std::vector<uint8_t> bytes = EditorFile([&](C3dsChunkWriter& w) {
        AddMaterial(w, longName, longTexture);
        TriangleObject(w, longName, [&](C3dsChunkWriter& w) { Group(w, longName); });
        // A name without its closing zero takes the rest of its chunk.
        w.Begin(Object);
        w.Raw(std::string(20, 'x').data(), 20);
        w.End();
    });
    const Model3dsData m = Read(bytes);
    ExpectSound(m);
    ASSERT_EQ(m.materialCount, 1);
    EXPECT_EQ(m.materials[0].name, longName.substr(0, 254));
    EXPECT_EQ(m.materials[0].textureName, longTexture.substr(0, 254));
    ASSERT_EQ(m.objectCount, 2);
    EXPECT_EQ(m.objects[0].name, longName.substr(0, 254));
    EXPECT_EQ(m.objects[0].vertexCount, 3);
    EXPECT_EQ(m.objects[0].materialIndex, 0);
    EXPECT_EQ(m.objects[0].textured, 1);
    EXPECT_EQ(m.objects[1].name, std::string(20, 'x'));
}

TEST_F(Model3dsReaderTest, MoreThanAHundredMaterialsAreAllRead) {
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        for (int i = 0; i < 120; ++i)
            AddMaterial(w, "m" + std::to_string(i), "t" + std::to_string(i) + ".png");
        TriangleObject(w, "last", [](C3dsChunkWriter& w) { Group(w, "m119"); });
    });
    const Model3dsData m = Read(bytes);
    ASSERT_EQ(m.materialCount, 120);
    EXPECT_EQ(m.materials[119].textureName, "t119.png");
    EXPECT_EQ(m.objects[0].materialIndex, 119);
    EXPECT_EQ(m.objects[0].textured, 1);
}

TEST_F(Model3dsReaderTest, DeepNestingIsPassedOverWithoutExhaustingTheStack) {
    // 20,000 mesh chunks, each inside the one before, then an object that must still be read.
    C3dsChunkWriter w;
    w.Begin(Main);
    TriangleObject(w, "deep", [](C3dsChunkWriter& w) {
        for (int i = 0; i < 20000; ++i)
            w.Begin(Mesh);
        for (int i = 0; i < 20000; ++i)
            w.End();
    });
    TriangleObject(w, "after");
    w.End();
    const Model3dsData m = Read(w.Bytes());
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 2);
    EXPECT_EQ(m.objects[0].faceCount, 1);
    EXPECT_EQ(m.objects[1].name, "after");
}

// ---------------------------------------------------------------------------------------------
// Normals

TEST_F(Model3dsReaderTest, NormalsOfABoxAreItsSideNormals) {
    const Model3dsData m = Read(Write3ds({}, {Box3ds("B", 0, 0, 0, 2, 3, 4)}));
    const Object3ds& o = m.objects[0];
    const float expected[6][3] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};
    for (int v = 0; v < 24; ++v)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(o.normals[size_t(v * 3 + k)], expected[v / 4][k]) << v;
}

TEST_F(Model3dsReaderTest, ANormalIsTheNormalisedSumOfItsFacesWeighedByArea) {
    // Two faces on vertex 0: the first in z = 0 with area 2, the second in x = 0 with area 0.5; vertex
    // 5 is used by no face; face 2 names vertex 0 twice and has no area.
    C3dsMeshSpec mesh;
    mesh.name = "M";
    mesh.vertices = {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 1, 0, 0, 0, 1, 9, 9, 9};
    mesh.faces = {0, 1, 2, 0, 3, 4, 0, 0, 1};
    const Model3dsData m = Read(Write3ds({}, {mesh}));
    const std::vector<float>& n = m.objects[0].normals;
    // (0, 0, 4) + (2 * 0.5 along +x: (1, 0, 0) * 1) → (1, 0, 4) normalised.
    const float len = std::sqrt(17.0f);
    EXPECT_FLOAT_EQ(n[0], 1.0f / len);
    EXPECT_FLOAT_EQ(n[1], 0.0f);
    EXPECT_FLOAT_EQ(n[2], 4.0f / len);
    EXPECT_EQ((std::vector<float>(n.begin() + 15, n.begin() + 18)), (std::vector<float>{0, 0, 0}));
    // Vertex 1 lies on face 0 and on the flat face 2: only face 0's direction.
    EXPECT_EQ((std::vector<float>(n.begin() + 3, n.begin() + 6)), (std::vector<float>{0, 0, 1}));
}

TEST_F(Model3dsReaderTest, OnePassGivesTheSameNormalsAsASearchOverAllFaces) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-5.0f, 5.0f);
    std::uniform_int_distribution<int> vertex(0, 199);
    Model3dsData m;
    m.objectCount = 1;
    Object3ds& o = m.objects.emplace_back();
    o.vertexCount = 200;
    for (int i = 0; i < 600; ++i)
        o.vertices.push_back(coordinate(random));
    o.faceCount = 500;
    for (int i = 0; i < 1500; ++i)
        o.faces.push_back(vertex(random));
    Model3ds::ComputeNormals(m);
    // Per vertex, the faces naming it in face order, as the quadratic search adds them.
    for (int i = 0; i < o.vertexCount; ++i) {
        float s[3] = {0, 0, 0};
        int k = 0;
        for (int f = 0; f < o.faceCount; ++f) {
            const int* idx = &o.faces[size_t(f) * 3];
            if (idx[0] != i && idx[1] != i && idx[2] != i)
                continue;
            const float* a = &o.vertices[size_t(idx[0]) * 3];
            const float* b = &o.vertices[size_t(idx[1]) * 3];
            const float* c = &o.vertices[size_t(idx[2]) * 3];
            const float u[3] = {a[0] - c[0], a[1] - c[1], a[2] - c[2]};
            const float v[3] = {c[0] - b[0], c[1] - b[1], c[2] - b[2]};
            s[0] += u[1] * v[2] - u[2] * v[1];
            s[1] += u[2] * v[0] - u[0] * v[2];
            s[2] += u[0] * v[1] - u[1] * v[0];
            ++k;
        }
        if (k == 0)
            continue;
        const float x = s[0] / -float(k), y = s[1] / -float(k), z = s[2] / -float(k);
        const float len = std::sqrt(x * x + y * y + z * z);
        EXPECT_EQ(o.normals[size_t(i) * 3], x / len) << i;
        EXPECT_EQ(o.normals[size_t(i) * 3 + 1], y / len) << i;
        EXPECT_EQ(o.normals[size_t(i) * 3 + 2], z / len) << i;
    }
}

TEST_F(Model3dsReaderTest, EmptyListsGiveEmptyObjects) {
    const std::vector<uint8_t> bytes = EditorFile([](C3dsChunkWriter& w) {
        w.Begin(Object);
        w.Name("empty");
        w.Begin(Mesh);
        for (uint16_t id : {Vertices, TexCoords, Faces}) {
            w.Begin(id);
            w.Word(0);
            w.End();
        }
        w.End();
        w.End();
    });
    const Model3dsData m = Read(bytes);
    ExpectSound(m);
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_EQ(m.objects[0].vertexCount, 0);
    EXPECT_EQ(m.objects[0].texCoordCount, 0);
    EXPECT_EQ(m.objects[0].faceCount, 0);
}
