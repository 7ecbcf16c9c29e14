// The labels of a page pixel for pixel against the picture of the same page kept in
// tests/view/data: labels of points, segments, faces and circles, in the textured glyphs (Latin,
// small digits, Greek, Chinese from the prepared set and made on demand) and in the bitmap glyph
// lists, in their own colours, drawn on top or hidden behind a face, and the hidden-label rules.
// HALVIX_WRITE_LABEL_PICTURE=<file> writes the picture instead of comparing.
#include "support/render_fixture.h"
#include "model/arc.h"
#include "view/texture_text.h"
#include "view/view_globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <cmath>

namespace {

class LabelPixelsTest : public RenderFixture {
protected:
    QSize FrameSize() const override { return QSize(480, 360); }
    void SetUp() override {
        RenderFixture::SetUp();
        g_installFolder = CString::FromQString(QCoreApplication::applicationDirPath());
        m_renderer = std::make_unique<CSceneRenderer>();
        ASSERT_TRUE(m_renderer->InitOpenGL());
        ASSERT_TRUE(m_renderer->OnSize(m_w, m_h));
    }
    void TearDown() override {
        m_renderer->ReleaseOpenGL();
        m_renderer.reset();
        RenderFixture::TearDown();
    }
    CGVertex* Named(float x, float y, float z, const char16_t* name, CRgba label = CRgba{0, 0, 0, 255}) {
        CGVertex* p = AddPoint(x, y, z);
        p->m_name = name;
        p->m_labelHidden = 0;
        p->m_labelColor = label;
        return p;
    }
    // The frame read back, top row first.
    QImage Frame() {
        m_renderer->DrawFrame();
        glFinish();
        QImage image(m_w, m_h, QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, m_w, m_h, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        return image.mirrored().convertToFormat(QImage::Format_RGB32);
    }
    static QString PicturePath() {
        return QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR")).filePath("tests/view/data/labels.png");
    }

    std::unique_ptr<CSceneRenderer> m_renderer;
};

} // namespace

TEST_F(LabelPixelsTest, EveryKindOfLabelAsBefore) {
    SetViewRotation(-62.0, 24.0);
    const CRgba green{0, 150, 0, 255}, red{210, 30, 30, 255}, blue{20, 40, 220, 255};
    CGVertex* a = Named(-9, 5, 0, u"A");
    Named(-4, 5, 0, u"B12", red);
    Named(1, 5, 0, u"C'", blue);
    Named(6, 5, 0, u"αβ∠");
    CGVertex* e = Named(-9, 0, 0, u"甲乙", green); // made on demand
    Named(-4, 0, 0, u"点P", red);                  // from the prepared set
    Named(1, 0, 0, u"G", blue)->m_extB1 = 1;       // bitmap glyph lists
    Named(6, 0, 0, u"H")->m_labelHidden = 1;
    Named(6, -3, 0, u"I")->m_hidden = 1;
    CGVertex* k = Named(-2, -5, -2, u"K", red); // behind the face below, hidden where covered
    k->m_style |= 1;
    Named(3, -5, 2, u"L", blue); // in front of it, on top
    CGLine* ae = AddLine(a->m_id, e->m_id);
    ae->m_name = u"a";
    ae->m_labelHidden = 0;
    ae->m_labelColor = blue;
    WORD q[4];
    const float corners[4][2] = {{-5, -8}, {2, -8}, {2, -3}, {-5, -3}};
    for (int i = 0; i < 4; ++i)
        q[i] = AddPoint(corners[i][0], corners[i][1], 0)->m_id;
    CGFace* face = AddFace({q[0], q[1], q[2], q[3]}, CRgba{200, 200, 255, 255}, 0);
    face->m_name = u"面α";
    face->m_labelHidden = 0;
    face->m_labelColor = green;
    auto* circle = Insert(new CGArc(NextId(), 8, -5, 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831853f, 0));
    circle->m_name = u"⊙O";
    circle->m_labelHidden = 0;
    circle->m_labelColor = red;
    for (POSITION pos = m_page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_page->m_cells.GetNextAssoc(pos, id, cell);
        cell->Recompute();
    }
    m_page->RebuildVertexArray();

    const QImage frame = Frame();
    if (const QString out = qEnvironmentVariable("HALVIX_WRITE_LABEL_PICTURE"); !out.isEmpty()) {
        ASSERT_TRUE(frame.save(out));
        GTEST_SKIP() << "picture written to " << out.toStdString();
    }
    const QImage kept = QImage(PicturePath()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(kept.size(), frame.size()) << PicturePath().toStdString();
    int differing = 0, largest = 0;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            const QRgb p = frame.pixel(x, y), r = kept.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(r)), std::abs(qGreen(p) - qGreen(r)),
                                    std::abs(qBlue(p) - qBlue(r))});
            differing += d > 0 ? 1 : 0;
            largest = std::max(largest, d);
        }
    if (differing > 0)
        frame.save(QDir::temp().filePath("halvix-labels-drawn.png"));
    EXPECT_EQ(differing, 0) << "largest difference " << largest << "; the frame is in "
                            << QDir::temp().filePath("halvix-labels-drawn.png").toStdString();
}
