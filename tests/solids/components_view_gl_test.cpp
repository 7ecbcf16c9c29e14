// Components in the drawing view itself: a lit textured cube and a 3D text in the view's frame with
// its own textures and glyphs, a click that picks and selects a component, its drag in the
// horizontal plane (and with Ctrl the vertical one), and the current material given to the one
// selected component when UM_MATERIAL_CHANGED arrives.
#include "solids/subassembly.h"
#include "view/view_mouse_fixture.h"

#include <QImage>

namespace {

class ComponentsViewTest : public ViewMouseTest {
protected:
    CGSubassembly* Add(BYTE kind, float scale, float cx = 0, float cy = 0, float cz = 0) {
        const double p1[4] = {0, 0, 1, 0}, p2[4] = {0, 0, -1, 0};
        auto* cell = Insert(new CGSubassembly(m_page->m_nextId++, kind, 0, 0, 0, 0, cx, cy, cz, 0, 0, 1, 0,
                                              scale, scale, scale, CGSubassembly::kClipNone, p1, p2));
        Redraw();
        return cell;
    }
    QImage Frame() {
        m_view->RenderSceneNow();
        return m_view->grabFramebuffer();
    }
    static bool Inked(QRgb c) { return qRed(c) + qGreen(c) + qBlue(c) < 600; }
};

} // namespace

TEST_F(ComponentsViewTest, ALitTexturedCubeAndA3DTextInTheViewsFrame) {
    CGSubassembly* cube = Add(kSubassemblyCube, 4.0f, -4.0f, 0.0f);
    CGSubassembly* plain = Add(kSubassemblyCube, 4.0f, 4.0f, 0.0f);
    cube->m_texture = 1;
    const QImage frame = Frame();
    // The textured cube shows the document's first texture, unlit; the plain one its lit colour.
    const QPoint t = Pixel(-4.5, 0.5), p = Pixel(4.5, 0.5);
    const QRgb textured = frame.pixel(t), lit = frame.pixel(p);
    EXPECT_TRUE(Inked(textured));
    EXPECT_NE(textured, lit);
    EXPECT_GT(qRed(lit), qGreen(lit));
    EXPECT_GT(qGreen(lit), qBlue(lit));
    // The texture varies over the face; the lit face of the plain cube is even.
    int varied = 0;
    for (int dx = -30; dx <= 30; dx += 6)
        varied += frame.pixel(Pixel(-4.0, 0.0) + QPoint(dx, 0)) != frame.pixel(Pixel(-4.0, 0.0)) ? 1 : 0;
    EXPECT_GT(varied, 2);
    EXPECT_TRUE(cube->HasShapeList());
    EXPECT_TRUE(plain->HasShapeList());

    cube->m_hidden = plain->m_hidden = 1;
    CGSubassembly* text = Add(kSubassemblyText, 3.0f, -6.0f, -2.0f);
    text->m_name = u"Halvix";
    text->m_text1 = u"楷体";
    const QImage withText = Frame();
    ASSERT_TRUE(text->HasGlyphLists());
    int ink = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ink += Inked(withText.pixel(x, y)) ? 1 : 0;
    EXPECT_GT(ink, 1500) << "six letters of two units";
    EXPECT_FALSE(Inked(withText.pixel(Pixel(-7.0, -1.0)))) << "the text starts at its centre";
    // The view's context goes: the lists are stale, and the next frame makes them again.
    m_view.reset();
    EXPECT_FALSE(text->HasGlyphLists());
}

TEST_F(ComponentsViewTest, AClickPicksTheComponentAndADragMovesItsCentre) {
    CGSubassembly* sphere = Add(kSubassemblySphere, 2.0f, 1.0f, 1.0f, 0.0f);
    // Picked and selected by the press, and dragged in its horizontal plane: the centre follows.
    Press(Pixel(1.0, 1.0));
    ASSERT_EQ(m_page->m_selOthers.GetCount(), 1);
    EXPECT_EQ(m_page->m_selOthers.GetHead(), sphere->m_id);
    EXPECT_TRUE(sphere->m_selected);
    Move(Pixel(3.0, -2.0));
    Release(Pixel(3.0, -2.0));
    EXPECT_NEAR(sphere->m_center[0], 3.0, 1e-3);
    EXPECT_NEAR(sphere->m_center[1], -2.0, 1e-3);
    EXPECT_NEAR(sphere->m_center[2], 0.0, 1e-3);
    EXPECT_TRUE(m_doc->IsModified());
    // Seen from above the vertical plane is edge on: with Ctrl the centre stays.
    m_page->ClearSelection();
    Redraw();
    Press(Pixel(3.0, -2.0));
    Move(Pixel(5.0, 0.0), Qt::LeftButton, Qt::ControlModifier);
    Release(Pixel(5.0, 0.0), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_NEAR(sphere->m_center[0], 3.0, 1e-3);
    // Locked, it does not move.
    sphere->m_fixed = true;
    m_page->ClearSelection();
    Redraw();
    Press(Pixel(3.0, -2.0));
    Move(Pixel(0.0, 0.0));
    Release(Pixel(0.0, 0.0));
    EXPECT_NEAR(sphere->m_center[0], 3.0, 1e-3);
}

TEST_F(ComponentsViewTest, TheCurrentMaterialGoesToTheOneSelectedComponent) {
    CGSubassembly* a = Add(kSubassemblySphere, 2.0f, -4.0f);
    CGSubassembly* b = Add(kSubassemblyTorus, 2.0f, 4.0f);
    g_materialDiffuse[1] = 0.9f;
    g_materialShininess = 20.0f;
    // Nothing selected: nothing changes.
    m_view->PostMessage(UM_MATERIAL_CHANGED);
    HxPumpPostedMessages();
    EXPECT_EQ(a->m_ownMaterial, 0);
    EXPECT_EQ(b->m_ownMaterial, 0);
    // Two selected: nothing either.
    m_page->SelectCell(a->m_id);
    m_page->SelectCell(b->m_id);
    m_view->PostMessage(UM_MATERIAL_CHANGED);
    HxPumpPostedMessages();
    EXPECT_EQ(a->m_ownMaterial, 0);
    // One: it takes the material as its own.
    m_page->ClearSelection();
    m_page->SelectCell(b->m_id);
    EXPECT_EQ(m_view->SendMessage(UM_MATERIAL_CHANGED), 0);
    EXPECT_EQ(b->m_ownMaterial, 1);
    EXPECT_FLOAT_EQ(b->m_diffuse[1], 0.9f);
    EXPECT_FLOAT_EQ(b->m_shininess, 20.0f);
    EXPECT_EQ(a->m_ownMaterial, 0);
    EXPECT_TRUE(m_doc->IsModified());
    // A selected object that is no component: nothing.
    CGVertex* point = AddPoint(0, 0);
    m_page->ClearSelection();
    m_page->SelectCell(point->m_id);
    g_materialDiffuse[1] = 0.1f;
    m_view->SendMessage(UM_MATERIAL_CHANGED);
    EXPECT_FLOAT_EQ(b->m_diffuse[1], 0.9f);
}
