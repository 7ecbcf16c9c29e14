// Textures built from image files in a real context: the view's names, the installation images, the
// texels of a loaded picture, and documents loaded before the context existed.
#include "gl_test_fixture.h"
#include "image_test_support.h"
#include "view/image_loading.h"
#include "view/texture_loading.h"

#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

#include <vector>

namespace {
#ifndef GL_BGR
constexpr GLenum GL_BGR = 0x80E0;
#endif

class TextureGlTest : public GlViewTest {
protected:
    QTemporaryDir dir;
    void SetUp() override {
        GlViewTest::SetUp();
        HxReleaseViewTextures();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        HxReleaseViewTextures();
        GlViewTest::TearDown();
    }
    CString Path(const char* name) const {
        return CString::FromQString(dir.filePath(QString::fromUtf8(name)));
    }

    // Level 0 of a texture in the packed layout, 4-byte rows.
    std::vector<BYTE> Texels(UINT name, int& width, int& height) {
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<BYTE> texels(size_t(HxPackedRowBytes(width) * std::max(height, 0)));
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        if (!texels.empty())
            glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
};

// The tests run from the build's program folder, where the build puts the installation images.
QString ImagesFolder() {
    return QCoreApplication::applicationDirPath();
}
} // namespace

TEST_F(TextureGlTest, TheInstallationImagesLoadFromBesideTheProgram) {
    ASSERT_TRUE(HxCreateViewTextures());
    for (UINT name : g_textureIds) {
        ASSERT_NE(name, 0u);
        EXPECT_TRUE(glIsTexture(name));
    }
    GLint minFilter = 0;
    glBindTexture(GL_TEXTURE_2D, g_textureIds[4]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_REPLACE);

    g_installFolder = CString::FromQString(ImagesFolder());
    MessageRecorder messages;
    ASSERT_TRUE(LoadInstallationTextures()) << g_installFolder.ToUtf8();
    EXPECT_TRUE(messages.texts.empty());
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        EXPECT_EQ(g_textureBuiltIn[i], 1);
        EXPECT_EQ(g_documentImages[i], nullptr);
        EXPECT_EQ(g_textureWidth[i], 256);
        EXPECT_EQ(g_textureHeight[i], 256);
    }
    for (int i = 0; i < HX_TEXTURE_COUNT; ++i) {
        int w = 0, h = 0;
        Texels(g_textureIds[i], w, h);
        EXPECT_EQ(w, 256) << i;
        GLint levels = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 8, GL_TEXTURE_WIDTH, &levels);
        EXPECT_EQ(levels, 1) << i; // mipmapped down to 1 x 1
    }

    // Without the images the view cannot start: the first missing one stops the loading.
    g_installFolder = Path("nowhere");
    EXPECT_FALSE(LoadInstallationTextures());
    EXPECT_EQ(messages.texts.size(), 1u);
    HxReleaseViewTextures();
    EXPECT_EQ(g_textureIds[0], 0u);
}

TEST_F(TextureGlTest, LoadedTexelsMatchThePicture) {
    ASSERT_TRUE(HxCreateViewTextures());
    QImage image(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(60 * x, 50 * y + 10, 255 - 20 * x));
    ASSERT_TRUE(image.save(Path("p.png").ToQString(), "PNG"));
    ASSERT_TRUE(LoadTextureImage(1, Path("p.png"), false));
    int w = 0, h = 0;
    std::vector<BYTE> texels = Texels(g_textureIds[1], w, h);
    ASSERT_EQ(w, 4);
    ASSERT_EQ(h, 4);
    // Texel row 0 is the picture's bottom row: pixel (2, 3) from the top.
    EXPECT_EQ(std::vector<BYTE>(texels.begin() + 6, texels.begin() + 9), (std::vector<BYTE>{215, 160, 120}));
    ASSERT_NE(g_documentImages[1], nullptr);
    EXPECT_EQ(std::vector<BYTE>(g_documentImages[1], g_documentImages[1] + 48), texels);

    ASSERT_TRUE(LoadTextureFromImage(Path("p.png"), g_textureIds[9]));
    EXPECT_EQ(Texels(g_textureIds[9], w, h), texels);
    ASSERT_TRUE(WriteBytes(Path("bad.png").ToQString(), QByteArray("\x89PNG\r\n\x1a\n", 8)));
    MessageRecorder messages;
    EXPECT_FALSE(LoadTextureFromImage(Path("bad.png"), g_textureIds[10]));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TextureGlTest, APictureLoadedWithoutAContextIsUploadedLater) {
    ASSERT_TRUE(HxCreateViewTextures());
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(image.save(Path("q.bmp").ToQString(), "BMP"));
    context.doneCurrent();
    ASSERT_TRUE(LoadTextureImage(0, Path("q.bmp"), true)); // a document load in the background
    EXPECT_EQ(g_textureWidth[0], 2);
    EXPECT_EQ(g_documentImages[0], nullptr);
    ASSERT_TRUE(context.makeCurrent(&surface));
    int w = 0, h = 0;
    Texels(g_textureIds[0], w, h);
    EXPECT_EQ(w, 0);
    HxUploadPendingTextures();
    std::vector<BYTE> texels = Texels(g_textureIds[0], w, h);
    ASSERT_EQ(w, 2);
    EXPECT_EQ(std::vector<BYTE>(texels.begin(), texels.begin() + 3), (std::vector<BYTE>{3, 2, 1}));
}
