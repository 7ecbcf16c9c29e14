// Test support for 3DS models: a temporary folder for model and texture files written by our own
// generator, the message boxes shown (text and caption), files read from bytes, and a small model of
// two materials (one textured) and two meshes.
#pragma once

#include "solids/model3ds.h"
#include "support/model3ds_writer.h"
#include "support/page_fixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <string>
#include <vector>

struct CShownMessage {
    CString text;
    CString caption;
};

class Model3dsTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        HxSetMessageBoxHandler([this](const CString& text, const CString& caption, UINT) {
            m_messages.push_back({text, caption});
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
        PageFixture::TearDown();
    }

    // A file of the temporary folder (its folder made) holding the bytes; its path.
    CString WriteFile(const QString& name, const std::vector<uint8_t>& bytes) {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return CString::FromQString(path);
    }
    // A picture file of w x h pixels in one colour.
    CString WriteImage(const QString& name, int w, int h, QColor color) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(image.save(path));
        return CString::FromQString(path);
    }
    // The small model and its texture "wood.png" beside it; the model's path.
    CString WriteSmallModel(const QString& name) {
        const QString folder = QFileInfo(name).path();
        WriteImage(folder + QStringLiteral("/wood.png"), 8, 8, QColor(160, 100, 40));
        return WriteFile(name, SmallModel());
    }
    // The bytes read as a 3DS file.
    static BOOL ReadBytes(const std::vector<uint8_t>& bytes, Model3dsData& model) {
        CMemFile file(bytes.data(), bytes.size());
        Model3ds loader;
        return loader.Read(file, u"test.3ds", model);
    }
    static Model3dsData Read(const std::vector<uint8_t>& bytes) {
        Model3dsData model;
        ReadBytes(bytes, model);
        return model;
    }

    // Materials "Red" (200, 0, 0) and "Wood" (255, 255, 255, textured by "wood.png"); a box on "Red"
    // and a torus on "Wood".
    static std::vector<C3dsMaterialSpec> Materials() {
        return {{"Red", 200, 0, 0, ""}, {"Wood", 255, 255, 255, "wood.png"}};
    }
    static std::vector<C3dsMeshSpec> Meshes() {
        return {Box3ds("Box", -1, -2, -3, 1, 2, 3, "Red"), Torus3ds("Ring", 0, 0, 0, 4, 1, 12, 6, "Wood")};
    }
    static std::vector<uint8_t> SmallModel() { return Write3ds(Materials(), Meshes()); }

    QTemporaryDir m_dir;
    std::vector<CShownMessage> m_messages;
};
