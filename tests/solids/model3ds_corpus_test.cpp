// The files kept from fuzzing the 3DS reader: each is read (or refused) without going past its data,
// and what was read is taken into a model cell and handed out as its display list would get it.
#include "model3ds_fixture.h"

#include <QDir>

namespace {

struct CCountingSink {
    void BeginObject(bool, int) {}
    void Corner(const float*, const float*, const BYTE*, const float*) { ++corners; }
    void EndObject() {}
    size_t corners = 0;
};

class Model3dsCorpusTest : public Model3dsTest {};

} // namespace

TEST_F(Model3dsCorpusTest, KeptFilesAreReadSoundly) {
    QDir dir(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                 .filePath(QStringLiteral("tests/solids/fuzz/corpus-model3ds")));
    ASSERT_TRUE(dir.exists()) << dir.path().toStdString();
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    int read = 0;
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        Model3dsData model;
        if (!ReadBytes(std::vector<uint8_t>(data.begin(), data.end()), model)) {
            EXPECT_TRUE(model.objects.empty()) << name.toStdString();
            continue;
        }
        ++read;
        EXPECT_EQ(model.objectCount, int(model.objects.size())) << name.toStdString();
        for (const Object3ds& o : model.objects) {
            EXPECT_EQ(o.vertices.size(), size_t(o.vertexCount) * 3) << name.toStdString();
            EXPECT_EQ(o.normals.size(), size_t(o.vertexCount) * 3) << name.toStdString();
            for (int v : o.faces)
                ASSERT_TRUE(v >= 0 && v < o.vertexCount) << name.toStdString();
        }
        const size_t faces = model.FaceCount();
        CGModel3ds cell;
        cell.TakeModel(std::move(model), false);
        CCountingSink sink;
        cell.EmitMesh(sink);
        EXPECT_EQ(sink.corners, faces * 3) << name.toStdString();
        EXPECT_TRUE(std::isfinite(cell.m_halfDiagonal)) << name.toStdString();
    }
    EXPECT_GT(read, 0);
}
