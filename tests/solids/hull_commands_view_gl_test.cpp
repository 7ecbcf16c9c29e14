// The net command in the view on the X server: the net of a cube made with its button, lying open
// round its base face, folded shut by a click on the button and opened again; and a cut pressed into
// its parts.  With HALVIX_TEST_SHOTS set to a folder, the frames are kept there as pictures.
#include "view/view_tools_fixture.h"

#include "construct/hull_commands.h"
#include "dynamics/buttons.h"
#include "solids/fold.h"
#include "solids/polyhedron.h"
#include "solids/polyhedron_dialogs.h"
#include "solids/split.h"

#include <QDir>
#include <QImage>

#include <algorithm>

namespace {

class HullCommandsViewTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        HxSetDialogRunner([this](CDialog& dialog) {
            if (m_script)
                m_script(dialog);
            return IDOK;
        });
        m_view->activateWindow();
        m_view->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    }
    // The cube with corners (±2, ±2, ±2), selected.
    CGPolyhedron* AddSelectedCube() {
        std::vector<double> cube;
        for (int i = 0; i < 8; ++i)
            cube.insert(cube.end(), {i & 1 ? 2.0 : -2.0, i & 2 ? 2.0 : -2.0, i & 4 ? 2.0 : -2.0});
        auto* hull = new CGPolyhedron;
        hull->m_id = m_page->m_nextId++;
        EXPECT_TRUE(BuildConvexHull(cube.data(), 8, *hull));
        Insert(hull);
        m_page->ClearSelection();
        m_page->SelectCell(hull->m_id);
        return hull;
    }
    // The newest button, moved to the lower right corner, out of the figure's way.
    CGButnAnimation* ButtonInTheCorner() {
        auto* button = NewestAs<CGButnAnimation>();
        EXPECT_NE(button, nullptr);
        button->m_labelPos[0] = 8.0f;
        button->m_labelPos[1] = -6.2f;
        return button;
    }
    // The middle of a button's body, in pixels.
    static QPoint BodyOf(const CGButton& b) { return Pixel(b.m_labelPos[0] + 1.5, b.m_labelPos[1] - 0.6); }
    // The frame as it is now, kept as a picture when asked for.
    QImage Frame(const char* name) {
        m_view->RenderScene();
        QImage image = m_view->grabFramebuffer();
        if (const QByteArray dir = qgetenv("HALVIX_TEST_SHOTS"); !dir.isEmpty())
            image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromUtf8(name) + ".png"));
        return image;
    }
    // The box of the pixels left of the button's column that differ from the background, as width x
    // height; 0 x 0 when none does.
    static QSize InkedBox(const QImage& image) {
        const QColor background = image.pixelColor(0, 0);
        int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < 330; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                        std::abs(c.blue() - background.blue()) >
                    30) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = std::max(y1, y);
                }
            }
        return x1 < 0 ? QSize(0, 0) : QSize(x1 - x0 + 1, y1 - y0 + 1);
    }

    std::function<void(CDialog&)> m_script;
};

} // namespace

TEST_F(HullCommandsViewTest, ANetOpensRoundItsBaseAndItsButtonFoldsItShutAndOpensItAgain) {
    AddSelectedCube();
    ASSERT_TRUE(Update(ID_FOLD).m_enabled);
    ASSERT_TRUE(Run(ID_FOLD)); // the dialog's own answer: lit, level by level
    ExpectStep(u"添加展开图", 2);
    CGButnAnimation* button = ButtonInTheCorner();
    auto* net = Cell<CGFold>(WORD(button->m_id - 1));
    ASSERT_NE(net, nullptr);
    ASSERT_FLOAT_EQ(button->m_max, 3.0f);
    Redraw();

    // Open: the base face (4 x 4 units, 80 pixels) with a side on each edge, three faces (240 pixels)
    // across, and the top beyond one of them, reaching the edge of the view, as seen from above.
    const QSize open = InkedBox(Frame("net-1-open"));
    EXPECT_GE(std::min(open.width(), open.height()), 238) << open.width() << " x " << open.height();
    EXPECT_GE(std::max(open.width(), open.height()), 268) << open.width() << " x " << open.height();

    Click(BodyOf(*button));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->m_running && net->m_param1 > 1.5f; }, 5000));
    const float halfway = net->m_param1;
    const QSize folding = InkedBox(Frame("net-2-folding"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return net->m_param1 >= 2.999f; }, 8000)) << net->m_param1;
    // Shut: only the cube's outline from above is left, 80 pixels across.
    const QSize shut = InkedBox(Frame("net-3-shut"));
    EXPECT_NEAR(shut.width(), 81, 3);
    EXPECT_NEAR(shut.height(), 81, 3);
    EXPECT_LT(shut.width(), folding.width()) << "at t = " << halfway;
    EXPECT_LE(folding.width(), open.width());

    // After a second at the top it opens again and stops where it began.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !button->m_running; }, 12000)) << net->m_param1;
    EXPECT_NEAR(net->m_param1, 1.0f, 1e-4);
    EXPECT_EQ(InkedBox(Frame("net-4-open-again")), open);
}

TEST_F(HullCommandsViewTest, ACutPressedOnceLeavesEightPartsMovedApart) {
    CGPolyhedron* hull = AddSelectedCube();
    m_script = [](CDialog& dialog) {
        if (auto* split = DYNAMIC_DOWNCAST(CDlgSplit, &dialog)) {
            split->m_shift = 1.0;
            split->m_style = CGPolyhedron::kStyleLit;
        }
    };
    ASSERT_TRUE(Run(ID_TI_SPLIT));
    ExpectStep(u"添加多面体切割图", 2);
    CGButnAnimation* button = ButtonInTheCorner();
    auto* cut = Cell<CGSplit>(WORD(button->m_id - 1));
    ASSERT_NE(cut, nullptr);
    Redraw();
    const QImage whole = Frame("cut-1-whole");
    EXPECT_FALSE(hull->m_hidden);

    Click(BodyOf(*button));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !button->m_running && cut->m_planesUsed == 3; }, 10000))
        << cut->m_param1;
    EXPECT_EQ(cut->m_partCount, 8);
    EXPECT_TRUE(hull->m_hidden);
    const QImage parts = Frame("cut-2-parts");
    // The parts on the positive side of x = 0 and of y = 0 moved off by the normal: the seen square
    // grew, and a gap of background runs between the lit halves where the hull was whole.
    EXPECT_GT(InkedBox(parts).width(), InkedBox(whole).width() + 15);
    const QColor background = parts.pixelColor(0, 0);
    EXPECT_EQ(parts.pixelColor(Pixel(0.5, -1.0)), background);
    EXPECT_NE(parts.pixelColor(Pixel(-1.0, -1.0)), background);
}
