// Models drawn under Xvfb: lit and textured, as a wire frame, selected with their box, placed and
// turned, picked by their box, their list and textures made at draw time and deleted through the
// queue; and a page with a loaded model drawn by the view's passes, lit and as a wire frame.
#include "model3ds_fixture.h"

#include "support/gl_page_fixture.h"
#include "support/render_fixture.h"
#include "view/gl_context.h"

#include <cmath>
#include <numbers>

namespace {

constexpr CRgba kRed{200, 0, 0, 255};
constexpr CRgba kMagenta{255, 0, 255, 255};

// A temporary folder for the model files the tests write.
class CModelFiles {
public:
    CString Write(const QString& name, const std::vector<uint8_t>& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return CString::FromQString(path);
    }
    void Image(const QString& name, QColor color) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(color);
        image.save(m_dir.filePath(name));
    }

private:
    QTemporaryDir m_dir;
};

class ModelDrawTest : public GlPageFixture {
protected:
    void SetUp() override {
        GlPageFixture::SetUp();
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        HxSetGlContextProvider(nullptr);
    }
    void TearDown() override {
        m_models.clear();
        HxFlushGlDeletions();
        HxSetMessageBoxHandler(nullptr);
        GlPageFixture::TearDown();
    }
    // A model of the given meshes placed as it is read (centre 0, scale 1: model units are world units).
    CGModel3ds* Model(const std::vector<C3dsMaterialSpec>& materials, const std::vector<C3dsMeshSpec>& meshes,
                      BYTE style) {
        const CString path =
            m_files.Write(QStringLiteral("m%1.3ds").arg(m_models.size()), Write3ds(materials, meshes));
        auto* model = Insert(new CGModel3ds(NextId(), path, style));
        model->m_scale = 1.0f;
        for (int k = 0; k < 3; ++k)
            model->m_center[k] = float(model->m_modelCenter[k]);
        m_models.push_back(model->m_id);
        return model;
    }
    CGModel3ds* RedBox(BYTE style, float x0 = -1, float y0 = -1, float x1 = 1, float y1 = 1) {
        return Model({{"Red", kRed.r, kRed.g, kRed.b, ""}}, {Box3ds("B", x0, y0, -1, x1, y1, 1, "Red")},
                     style);
    }
    static void Lit(const std::function<void()>& draw) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_NORMALIZE);
        draw();
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHTING);
    }
    // Whether a pixel of the 3 x 3 neighbourhood of world (x, y) has the colour (lines may fall on
    // either side of a pixel boundary).
    bool Near(float x, float y, CRgba color) {
        const int px = int((x + 4.0f) * 8.0f), py = int((y + 4.0f) * 8.0f);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Pixel(px + dx, py + dy) == color)
                    return true;
        return false;
    }
    // Pixels of a colour other than white.
    int Inked() {
        int n = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                n += Pixel(x, y) == kWhite ? 0 : 1;
        return n;
    }

    CModelFiles m_files;
    std::vector<WORD> m_models;
};

} // namespace

TEST_F(ModelDrawTest, ALitModelTakesItsMaterialColourInTheLitPassOnly) {
    CGModel3ds* model = RedBox(1);
    model->DrawVisible();
    EXPECT_EQ(Inked(), 0) << "not selected: nothing in the visible pass";
    model->DrawLit();
    EXPECT_EQ(At(0.2f, -0.5f), kRed);
    EXPECT_EQ(At(1.5f, 0.0f), kWhite);
    // Lit from the viewer: the top side in the material's colour, lit.
    Clear();
    Lit([&] { model->DrawLit(); });
    const CRgba lit = At(0.2f, -0.5f);
    EXPECT_GT(lit.r, 150);
    EXPECT_LT(lit.g, 40);
    EXPECT_LT(lit.b, 40);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ModelDrawTest, AWireFrameIsDrawnInTheVisiblePassWithThinLinesInTheListsColours) {
    CGModel3ds* model = RedBox(CGModel3ds::kStyleWire);
    model->DrawLit();
    EXPECT_EQ(Inked(), 0) << "a wire frame is not drawn lit";
    model->DrawVisible();
    EXPECT_TRUE(Near(1.0f, 0.5f, kRed)) << "an edge of the box";
    EXPECT_EQ(At(0.5f, -0.3f), kWhite) << "inside a side, off its diagonal";
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
}

TEST_F(ModelDrawTest, ASelectedModelShowsItsMagentaBox) {
    CGModel3ds* model = RedBox(1, -2, -1, 2, 1);
    model->m_selected = true;
    model->DrawLit();
    model->DrawVisible();
    EXPECT_TRUE(Near(2.0f, 0.3f, kMagenta));
    EXPECT_EQ(At(0.3f, 0.3f), kRed) << "the lit model inside its box";
    model->m_hidden = 1;
    Clear();
    model->DrawLit();
    model->DrawVisible();
    EXPECT_EQ(Inked(), 0);
    model->m_hidden = 0;
    model->m_valid = false;
    model->DrawLit();
    model->DrawVisible();
    EXPECT_EQ(Inked(), 0);
}

TEST_F(ModelDrawTest, TexturedObjectsShowTheirTexture) {
    m_files.Image(QStringLiteral("grass.png"), QColor(0, 255, 0));
    CGModel3ds* model =
        Model({{"Grass", 255, 255, 255, "grass.png"}}, {Box3ds("B", -1, -1, -1, 1, 1, 1, "Grass")}, 1);
    model->DrawLit();
    const CRgba p = At(0.3f, -0.4f);
    EXPECT_EQ(p, (CRgba{0, 255, 0, 255}));
    GLboolean texturing = GL_TRUE;
    glGetBooleanv(GL_TEXTURE_2D, &texturing);
    EXPECT_EQ(texturing, GL_FALSE) << "texturing is off after the list";
}

TEST_F(ModelDrawTest, TheParameterTurnsTheModelAboutTheVerticalAndTheCentrePlacesIt) {
    CGModel3ds* model = RedBox(1, -3, -0.5f, 3, 0.5f);
    model->DrawLit();
    EXPECT_EQ(At(2.5f, 0.0f), kRed);
    EXPECT_EQ(At(0.0f, 2.5f), kWhite);
    model->m_param1 = float(std::numbers::pi / 2);
    Clear();
    model->DrawLit();
    EXPECT_EQ(At(2.5f, 0.0f), kWhite);
    EXPECT_EQ(At(0.0f, 2.5f), kRed);
    // Half the size, its centre at (2, 2): the model's own centre lands there.
    model->m_param1 = 0.0f;
    model->m_scale = 0.5f;
    model->m_center[0] = 2.0f;
    model->m_center[1] = 2.0f;
    Clear();
    model->DrawLit();
    EXPECT_EQ(At(2.0f, 2.0f), kRed);
    EXPECT_EQ(At(3.6f, 2.0f), kWhite);
    EXPECT_EQ(At(3.4f, 2.0f), kRed);
    EXPECT_EQ(At(0.0f, 0.0f), kWhite);
    // Numbers that cannot place it draw nothing.
    model->m_scale = std::nanf("");
    Clear();
    model->DrawLit();
    model->m_selected = true;
    model->DrawVisible();
    EXPECT_EQ(Inked(), 0);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(ModelDrawTest, AModelIsPickedByItsBox) {
    CGModel3ds* model = RedBox(1);
    auto hits = Pick([&] { model->DrawForPick(3); });
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (std::vector<GLuint>{kPickClassModel3ds, model->m_id}));
    EXPECT_TRUE(Pick([&] { model->DrawForPick(2); }).empty());
    model->m_hidden = 1;
    EXPECT_TRUE(Pick([&] { model->DrawForPick(3); }).empty());
    model->m_hidden = 0;
    // Moved out of the view: no box face covers it.
    model->m_center[0] = 20.0f;
    EXPECT_TRUE(Pick([&] { model->DrawForPick(3); }).empty());
}

TEST_F(ModelDrawTest, TheListAndTexturesAreMadeAtDrawTimeAndDeletedThroughTheQueue) {
    m_files.Image(QStringLiteral("grass.png"), QColor(0, 255, 0));
    CGModel3ds* model =
        Model({{"Grass", 255, 255, 255, "grass.png"}}, {Box3ds("B", -1, -1, -1, 1, 1, 1, "Grass")}, 1);
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    model->DrawLit();
    // Read again: the texture of the first read is queued, the list name kept and compiled anew.
    model->Recompute();
    EXPECT_EQ(HxPendingGlDeletions(), 1u);
    model->DrawLit();
    EXPECT_EQ(At(0.0f, 0.3f), (CRgba{0, 255, 0, 255}));
    HxFlushGlDeletions();
    // Gone with the page: its list and texture wait for the next frame.
    m_page->m_cells.RemoveKey(model->m_id);
    delete model;
    m_models.clear();
    EXPECT_EQ(HxPendingGlDeletions(), 2u);
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ModelDrawTest, ANewContextGetsItsOwnListAndTextures) {
    CGModel3ds* model = RedBox(1);
    model->DrawLit();
    // The view's context went: the names are stale and made again in the next one.
    HxEndGlContextGeneration();
    Clear();
    model->DrawLit();
    EXPECT_EQ(At(0.0f, 0.0f), kRed);
}

// ---------------------------------------------------------------------------------------------
// A page drawn by the view's passes

namespace {

class ModelPageTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        RenderFixture::TearDown();
    }
    CModelFiles m_files;
};

} // namespace

TEST_F(ModelPageTest, ALoadedModelIsDrawnLitAndAsAWireFrame) {
    // A red box and a green ring, scaled by the model to a diagonal of 30 units (the frame is 20 by
    // 15 units across, looking down z).
    const CString path = m_files.Write(
        QStringLiteral("scene.3ds"),
        Write3ds({{"Red", 200, 0, 0, ""}, {"Green", 0, 160, 0, ""}},
                 {Box3ds("B", -1, -1, -1, 1, 1, 1, "Red"), Torus3ds("R", 0, 0, 0, 4, 0.6f, 24, 8, "Green")}));
    auto* model = Insert(new CGModel3ds(NextId(), path, 1));
    model->m_labelHidden = 1;
    ASSERT_TRUE(model->m_valid);
    DrawPage();
    const auto centre = ToPixel(0, 0, 0);
    const auto ring = ToPixel(4.0 * model->m_scale, 0, 0);
    const auto box = Pixel(centre[0], centre[1]);
    EXPECT_GT(box[0], 100);
    EXPECT_LT(box[1], 60);
    const auto green = Pixel(ring[0], ring[1]);
    EXPECT_GT(green[1], 80);
    EXPECT_LT(green[0], 60);
    const int litInk = InkIn(0, 0, m_w, m_h);
    // As a wire frame: lines of the same colours, far fewer pixels.
    model->m_style = CGModel3ds::kStyleWire;
    DrawPage();
    const int wireInk = InkIn(0, 0, m_w, m_h);
    EXPECT_GT(wireInk, 100);
    EXPECT_LT(wireInk, litInk);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
