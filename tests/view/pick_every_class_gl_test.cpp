// One object of every drawable class on one page, each clicked through the view's own mouse press
// (the arrow tool's pick pass) in every display style it has, in central, orthographic and oblique
// projection and in the three views, and again after the document is saved and opened; and empty
// space, which picks nothing.  Where to click is found by drawing each object alone.
#include "dynamics/buttons.h"
#include "dynamics/color_modifier.h"
#include "dynamics/curves.h"
#include "dynamics/ink.h"
#include "dynamics/iterate.h"
#include "dynamics/surface.h"
#include "dynamics/track.h"
#include "measure/calculator.h"
#include "measure/measurements.h"
#include "measure/rich_text_items.h"
#include "measure/scale_line.h"
#include "measure/text_items.h"
#include "measure/vector_items.h"
#include "model/arc.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/free_points.h"
#include "solids/fold.h"
#include "solids/hull_presets.h"
#include "solids/model3ds.h"
#include "solids/polyhedron.h"
#include "solids/polyhedron_data.h"
#include "solids/revolution.h"
#include "solids/revolution_constructed.h"
#include "solids/section.h"
#include "solids/split.h"
#include "solids/subassembly.h"
#include "support/model3ds_writer.h"
#include "view/view_camera.h"
#include "view/view_ids.h"
#include "view/view_mouse_fixture.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// The view: 60 x 38 units at 20 pixels a unit, room for 11 x 7 places of 5 units.
constexpr int kViewWidth = 1200;
constexpr int kViewHeight = 760;
constexpr int kColumns = 11;
constexpr int kRows = 7;
constexpr float kPlace = 5.0f;
// A click must be this far (pixels) from everything else drawn: the pick window reaches 5 pixels.
constexpr int kClearance = 8;

// One object the test clicks: the looks it is clicked in (display style, texture), where it stands
// (a point of it in space, for looks that draw nothing where the pick still finds it), and how it
// is clicked when not where it is drawn.
struct CPickTarget {
    WORD id = 0;
    std::string what;
    std::vector<std::function<void(CGCell&)>> looks;
    bool hasAnchor = false;
    float anchor[3] = {0.0f, 0.0f, 0.0f};
    bool pickedInThreeViews = true;
    // Picked by its outline only: clicked on the edge of what it draws.
    bool byEdge = false;
    // The window pixel to click instead of one where it is drawn (buttons by their handle, the
    // colour modifier by its corner).
    std::function<QPoint(CGCell&)> clickAt;
};

// A look that sets the display style.
std::function<void(CGCell&)> Style(BYTE style) {
    return [style](CGCell& cell) { cell.m_style = style; };
}

class PickEveryClassTest : public ViewMouseTest {
protected:
    void SetUp() override {
        ViewMouseTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        HxSetDialogRunner([](CDialog&) { return IDOK; });
        AfxGetCommandRouter().SetChain({m_view.get(), m_doc.get()});
        m_view->resize(kViewWidth, kViewHeight);
        ASSERT_TRUE(
            QTest::qWaitFor([] { return g_clientWidth == kViewWidth && g_clientHeight == kViewHeight; }));
        LookFromAbove();
    }
    void TearDown() override {
        AfxGetCommandRouter().SetChain({});
        ViewMouseTest::TearDown();
    }

    // The middle of place `i` (row by row from the upper left) in the plane z = 0.
    static void PlaceAt(int i, float& x, float& y) {
        x = (float(i % kColumns) - (kColumns - 1) * 0.5f) * kPlace;
        y = ((kRows - 1) * 0.5f - float(i / kColumns)) * kPlace;
    }
    static float PlaceX(int i) {
        float x, y;
        PlaceAt(i, x, y);
        return x;
    }
    static float PlaceY(int i) {
        float x, y;
        PlaceAt(i, x, y);
        return y;
    }

    // The window pixel (y down) of a point of space with the present camera.
    static QPoint At(double x, double y, double z) {
        GLdouble wx, wy, wz;
        gluProject(x, y, z, g_modelviewMatrix, g_projectionMatrix, g_viewport, &wx, &wy, &wz);
        return QPoint(int(std::lround(wx)), int(std::lround(g_clientHeight - wy)));
    }
    // The window pixel (y down) of a point of the screen plane, where texts, pictures and buttons
    // lie: the view's panning but not its turning or zoom.
    static QPoint ScreenPlanePixel(float x, float y) {
        const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        GLdouble wx, wy, wz;
        gluProject(x + g_viewTransX, y + g_viewTransY, -50.0, identity, g_projectionMatrix, g_viewport, &wx,
                   &wy, &wz);
        return QPoint(int(std::lround(wx)), int(std::lround(g_clientHeight - wy)));
    }

    template <class T> T* Put(T* cell) {
        m_page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    WORD NewId() { return m_page->m_nextId++; }
    CGVertex* Point(float x, float y, float z = 0.0f, bool hidden = true) {
        auto* p = AddPoint(x, y, z);
        p->m_hidden = hidden ? 1 : 0;
        p->m_labelHidden = 1;
        return p;
    }
    CPickTarget& Target(CGCell* cell, std::string what,
                        std::vector<std::function<void(CGCell&)>> looks = {}) {
        CPickTarget t;
        t.id = cell->m_id;
        t.what = std::move(what);
        t.looks = std::move(looks);
        m_targets.push_back(std::move(t));
        return m_targets.back();
    }
    CPickTarget& Target(CGCell* cell, std::string what, std::vector<std::function<void(CGCell&)>> looks,
                        float ax, float ay, float az = 0.0f) {
        CPickTarget& t = Target(cell, std::move(what), std::move(looks));
        t.hasAnchor = true;
        t.anchor[0] = ax;
        t.anchor[1] = ay;
        t.anchor[2] = az;
        return t;
    }
    // Moves a button (its caption's upper left corner) to a place.
    static void PlaceButton(CGButton& button, int place) {
        button.m_labelPos[0] = PlaceX(place) - 2.0f;
        button.m_labelPos[1] = PlaceY(place) + 0.5f;
    }
    CPickTarget& ButtonTarget(CGButton* button, int place, std::string what) {
        PlaceButton(*button, place);
        CPickTarget& t = Target(button, std::move(what));
        t.pickedInThreeViews = false;
        // The handle left of the caption: 7 pixels from the caption, so that the pick window does not
        // reach it (a press of the caption would run the button).
        t.clickAt = [](CGCell& cell) {
            auto& b = static_cast<CGButton&>(cell);
            float x0, y0, x1, y1;
            b.GetBodyRect(x0, y0, x1, y1);
            return ScreenPlanePixel(x0 - 7.0f * g_unitLength, (y0 + y1) * 0.5f);
        };
        return t;
    }

    std::vector<std::function<void(CGCell&)>> SubassemblyLooks() {
        return {Style(0), Style(1),
                [](CGCell& c) {
                    c.m_style = 0;
                    static_cast<CGSubassembly&>(c).m_texture = 5;
                },
                [](CGCell& c) {
                    c.m_style = 0;
                    static_cast<CGSubassembly&>(c).m_texture = 0;
                    static_cast<CGSubassembly&>(c).TakeCurrentMaterial();
                }};
    }

    // ---- The page ----

    void BuildPage() {
        int place = 0;
        auto next = [&place] {
            // The lower left corner is the colour modifier's, the lower right place stays empty.
            if (place == kColumns * (kRows - 1))
                ++place;
            return place++;
        };
        BuildGeometry(next);
        BuildSolids(next);
        BuildDynamics(next);
        BuildTexts(next);
        BuildButtons(next);
        ASSERT_LT(place, kColumns * kRows) << "every object has a place of its own";
    }

    template <class Next> void BuildGeometry(Next& next) {
        // Points in their four looks: a disc over everything or hidden when covered, a ball.
        int p = next();
        Target(Point(PlaceX(p), PlaceY(p), 0, false), "free point", {Style(0), Style(1), Style(4), Style(5)},
               PlaceX(p), PlaceY(p));
        // A segment and a vector in every line style.
        p = next();
        CGLine* segment =
            AddLine(Point(PlaceX(p) - 2, PlaceY(p) - 1)->m_id, Point(PlaceX(p) + 2, PlaceY(p) + 1)->m_id);
        Target(segment, "segment", {Style(0), Style(1), Style(2), Style(3), Style(4)}, PlaceX(p), PlaceY(p));
        p = next();
        CGLine* vector = AddLine(Point(PlaceX(p) - 2, PlaceY(p) + 1)->m_id,
                                 Point(PlaceX(p) + 2, PlaceY(p) - 1)->m_id, CGLine::kVector);
        Target(vector, "vector", {Style(0), Style(1), Style(2), Style(3), Style(4)}, PlaceX(p), PlaceY(p));
        // A face in its five looks (the last draws nothing, the pick still finds it).
        p = next();
        auto* face = Put(new CGFace(NewId(), Point(PlaceX(p) - 2, PlaceY(p) - 2)->m_id,
                                    Point(PlaceX(p) + 2, PlaceY(p) - 2)->m_id,
                                    Point(PlaceX(p), PlaceY(p) + 2)->m_id, RGB(40, 160, 220)));
        Target(face, "face", {Style(1), Style(2), Style(3), Style(4), Style(0)}, PlaceX(p), PlaceY(p) - 0.5f);
        // A circle on three points and a disc of its own, in every circle style.
        const std::vector<std::function<void(CGCell&)>> circleLooks = {Style(0), Style(1), Style(2),
                                                                       Style(3), Style(4), Style(5)};
        p = next();
        auto* circle = Put(new CGArcCircle3P(NewId(), Point(PlaceX(p) - 2, PlaceY(p))->m_id,
                                             Point(PlaceX(p) + 2, PlaceY(p))->m_id,
                                             Point(PlaceX(p), PlaceY(p) + 2)->m_id, CGArc::kCircle));
        Target(circle, "circle through three points", circleLooks);
        p = next();
        auto* disc = Put(
            new CGArc(NewId(), PlaceX(p), PlaceY(p), 0, 2, 0, 0, 0, 2, 0, 0.0f, 6.2831855f, CGArc::kDisc));
        disc->m_param4 = 2;
        Target(disc, "disc", circleLooks, PlaceX(p) + 0.5f, PlaceY(p) + 0.5f);
        p = next();
        auto* sector = Put(new CGArcCenterP(NewId(), Point(PlaceX(p) - 1, PlaceY(p) - 1)->m_id,
                                            Point(PlaceX(p) + 1.5f, PlaceY(p) - 1)->m_id,
                                            Point(PlaceX(p) - 1, PlaceY(p) + 1.5f)->m_id, CGArc::kSector));
        Target(sector, "sector about a centre", circleLooks, PlaceX(p) - 0.3f, PlaceY(p) - 0.3f);
        // A table of two cells: one of its faces, and the button that shows its control points.
        p = next();
        const float widths[3] = {0.0f, 1.8f, 1.8f}, heights[2] = {0.0f, 1.6f};
        const WORD firstTableId = m_page->m_nextId;
        ASSERT_GT(m_page->BuildTable(1, 2, TRUE, PlaceX(p) - 1.8f, PlaceY(p) + 0.8f, widths, heights), 0);
        for (WORD id = firstTableId; id < m_page->m_nextId; ++id) {
            CGCell* cell = m_page->FindCell(id);
            if (auto* tableButton = DYNAMIC_DOWNCAST(CGButton, cell)) {
                // Its caption is long: it takes two places.
                const int bp = next();
                next();
                ButtonTarget(tableButton, bp, "the table's button");
            } else if (DYNAMIC_DOWNCAST(CGFace, cell) && m_tableFace == 0) {
                m_tableFace = id;
                Target(cell, "a cell of a table", {Style(1), Style(3)}, PlaceX(p) - 0.9f, PlaceY(p));
            }
        }
        ASSERT_NE(m_tableFace, 0);
        // The plane axes, made by their command about a chosen origin and shortened to two units each
        // way: its arrows and its scale.
        p = next();
        CGVertex* origin = Point(PlaceX(p) - 0.5f, PlaceY(p) - 0.5f);
        m_page->ClearSelection();
        m_page->SelectCell(origin->m_id);
        m_view->OnCreateAxes2D();
        m_page->ClearSelection();
        std::vector<WORD> axes;
        for (WORD id = origin->m_id; id < m_page->m_nextId; ++id) {
            CGCell* cell = m_page->FindCell(id);
            if (auto* end = DYNAMIC_DOWNCAST(CGVerFreeParVector, cell)) {
                end->m_param1 = end->m_param1 < 0 ? -1.5f : 2.0f;
                end->m_labelHidden = 1;
            } else if (auto* arrow = DYNAMIC_DOWNCAST(CGLine, cell); arrow && m_axesArrow == 0) {
                m_axesArrow = id;
            } else if (DYNAMIC_DOWNCAST(CGScaleline, cell)) {
                m_axesScale = id;
            }
            axes.push_back(id);
        }
        origin->m_labelHidden = 1;
        m_page->UpdateCellsById(axes);
        ASSERT_NE(m_axesArrow, 0);
        ASSERT_NE(m_axesScale, 0);
        // The scale is picked in a band along its axes, which the arrows of the axes cover: it is clicked
        // 0.6 units below the x axis, where the band reaches and the arrow does not.
        CPickTarget& ts = Target(m_page->FindCell(m_axesScale), "the plane axes' scale", {}, PlaceX(p) - 1.2f,
                                 PlaceY(p) - 1.1f);
        ts.clickAt = [](CGCell& cell) {
            const auto& scale = static_cast<CGScaleline&>(cell);
            return At(scale.m_origin[0] - 0.7, scale.m_origin[1] - 0.6, scale.m_origin[2]);
        };
        Target(m_page->FindCell(m_axesArrow), "an arrow of the plane axes", {}, PlaceX(p) + 0.5f,
               PlaceY(p) - 0.5f);
    }

    template <class Next> void BuildSolids(Next& next) {
        // Every component kind; the 3D text made by its two commands.
        for (int kind = 1; kind < kSubassemblyKindCount; ++kind) {
            const int p = next();
            const double plane1[4] = {0, 0, 1, 0}, plane2[4] = {0, 0, -1, 0};
            const float size = kind == kSubassemblyDodecahedron ? 1.0f : 1.6f;
            auto* cell =
                Put(new CGSubassembly(NewId(), BYTE(kind), 0, 0, 0, 0, PlaceX(p), PlaceY(p), 0, 0, 0.3f, 1, 0,
                                      size, size, size, CGSubassembly::kClipNone, plane1, plane2));
            CPickTarget& t = Target(cell, "component " + std::to_string(kind), SubassemblyLooks());
            t.pickedInThreeViews = false;
        }
        // 立体 -> 3D文字, and 组件 -> 确定 (its default kind is 3D text), in their two styles.
        int p = next();
        m_doc->OnCreate3DText();
        auto* text = DYNAMIC_DOWNCAST(CGSubassembly, m_page->FindCell(WORD(m_page->m_nextId - 1)));
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(text->m_kind, kSubassemblyText);
        text->m_center[0] = PlaceX(p) - 2.2f;
        text->m_center[1] = PlaceY(p) - 0.6f;
        text->m_scale[0] = text->m_scale[1] = text->m_scale[2] = 1.4f;
        CPickTarget& t1 = Target(text, "3D text of the command", SubassemblyLooks());
        t1.pickedInThreeViews = false;
        p = next();
        m_doc->OnCreateSuba();
        auto* suba = DYNAMIC_DOWNCAST(CGSubassembly, m_page->FindCell(WORD(m_page->m_nextId - 1)));
        ASSERT_NE(suba, nullptr);
        ASSERT_EQ(suba->m_kind, kSubassemblyText);
        suba->m_style = 1;
        suba->m_center[0] = PlaceX(p) - 2.0f;
        suba->m_center[1] = PlaceY(p) - 0.8f;
        suba->m_axis[0] = suba->m_axis[1] = 0.0f;
        suba->m_axis[2] = 1.0f;
        suba->m_scale[0] = suba->m_scale[1] = suba->m_scale[2] = 1.3f;
        CPickTarget& t2 = Target(suba, "3D text of the component dialog",
                                 {Style(1), Style(0), SubassemblyLooks()[2], SubassemblyLooks()[3]});
        t2.pickedInThreeViews = false;

        // Every solid of revolution, fixed and on points, in the four solid looks.
        const std::vector<std::function<void(CGCell&)>> solidLooks = {Style(kRevStyleOutline),
                                                                      Style(kRevStyleWire),
                                                                      [](CGCell& c) {
                                                                          c.m_style = kRevStyleLit;
                                                                          c.m_param4 = 4;
                                                                      },
                                                                      [](CGCell& c) {
                                                                          c.m_style = kRevStyleTranslucent;
                                                                          c.m_param4 = 0;
                                                                      },
                                                                      Style(kRevStyleLit)};
        p = next();
        Target(Put(new CGSphere(NewId(), PlaceX(p), PlaceY(p), 0, 1.8f, 0, 0, 1)), "sphere", solidLooks,
               PlaceX(p), PlaceY(p));
        p = next();
        Target(Put(new CGCylinder(NewId(), PlaceX(p), PlaceY(p) - 1.5f, 0, 1.2f, 3, 0, 1, 0)), "cylinder",
               solidLooks, PlaceX(p), PlaceY(p));
        p = next();
        Target(Put(new CGCone(NewId(), PlaceX(p), PlaceY(p) - 1.5f, 0, 1.5f, 3, 0, 1, 0)), "cone", solidLooks,
               PlaceX(p), PlaceY(p) - 1.0f);
        p = next();
        Target(Put(new CGFrustum(NewId(), PlaceX(p), PlaceY(p) - 1.5f, 0, 1.6f, 3, 0, 1, 0, 0.6f)), "frustum",
               solidLooks, PlaceX(p), PlaceY(p) - 1.0f);
        p = next();
        Target(Put(new CGSphereCN(NewId(), Point(PlaceX(p), PlaceY(p))->m_id,
                                  Point(PlaceX(p), PlaceY(p), 1.8f)->m_id)),
               "sphere on points", solidLooks, PlaceX(p), PlaceY(p));
        p = next();
        Target(Put(new CGCylinderCPC(NewId(), Point(PlaceX(p), PlaceY(p) - 1.5f)->m_id,
                                     Point(PlaceX(p) + 1.2f, PlaceY(p) - 1.5f)->m_id,
                                     Point(PlaceX(p), PlaceY(p) + 1.5f)->m_id)),
               "cylinder on points", solidLooks, PlaceX(p), PlaceY(p));
        p = next();
        Target(Put(new CGConeCPV(NewId(), Point(PlaceX(p), PlaceY(p) - 1.5f)->m_id,
                                 Point(PlaceX(p) + 1.5f, PlaceY(p) - 1.5f)->m_id,
                                 Point(PlaceX(p), PlaceY(p) + 1.5f)->m_id)),
               "cone on points", solidLooks, PlaceX(p), PlaceY(p) - 1.0f);
        p = next();
        Target(Put(new CGFrustumCP2(NewId(), Point(PlaceX(p), PlaceY(p) - 1.5f)->m_id,
                                    Point(PlaceX(p) + 1.6f, PlaceY(p) - 1.5f)->m_id,
                                    Point(PlaceX(p), PlaceY(p) + 1.5f)->m_id,
                                    Point(PlaceX(p) + 0.8f, PlaceY(p) + 1.5f)->m_id)),
               "frustum on points", solidLooks, PlaceX(p), PlaceY(p) - 1.0f);

        // A hull, and hulls (not shown) with a net, a section and a cut.
        const std::vector<std::function<void(CGCell&)>> hullLooks = {Style(CGPolyhedron::kStyleAuto),
                                                                     Style(CGPolyhedron::kStyleVisible),
                                                                     Style(CGPolyhedron::kStyleLit)};
        auto hull = [&](int place, float size) {
            std::vector<double> points = HxHullPresetPoints(6);
            for (size_t i = 0; i < points.size(); i += 3) {
                points[i] = PlaceX(place) + size * points[i];
                points[i + 1] = PlaceY(place) + size * points[i + 1];
                points[i + 2] = size * points[i + 2];
            }
            auto* cell = new CGPolyhedron;
            cell->m_id = NewId();
            BuildConvexHull(points.data(), int(points.size() / 3), *cell);
            return Put(cell);
        };
        // A hidden triangle over a place, its corners at the heights given: what cuts a hull there.
        auto hiddenTriangle = [&](int place, float z0, float z1, float z2) {
            auto* face = Put(new CGFace(NewId(), Point(PlaceX(place) - 1, PlaceY(place) - 1, z0)->m_id,
                                        Point(PlaceX(place) + 1, PlaceY(place) - 1, z1)->m_id,
                                        Point(PlaceX(place), PlaceY(place) + 1, z2)->m_id, RGB(9, 9, 9)));
            face->m_hidden = 1;
            return face;
        };
        p = next();
        CPickTarget& th = Target(hull(p, 0.35f), "hull", hullLooks, PlaceX(p), PlaceY(p));
        th.pickedInThreeViews = false;
        p = next();
        CGPolyhedron* netHull = hull(p, 0.08f);
        auto* net = Put(new CGFold(NewId(), netHull->m_id, u"展开图", 2, 1));
        netHull->m_hidden = 1;
        CPickTarget& tn = Target(
            net, "net", {Style(CGFold::kStyleLit), Style(CGFold::kStyleAuto), Style(CGFold::kStyleVisible)});
        tn.pickedInThreeViews = false;
        p = next();
        CGPolyhedron* sectionHull = hull(p, 0.35f);
        sectionHull->m_hidden = 1;
        CGFace* cutFace = hiddenTriangle(p, 0.1f, 0.2f, 0.3f);
        CPickTarget& tsec = Target(Put(new CGSection(NewId(), sectionHull->m_id, cutFace->m_id)), "section",
                                   {Style(0), Style(1), Style(2)});
        tsec.byEdge = true;
        p = next();
        CGPolyhedron* cutHull = hull(p, 0.25f);
        cutHull->m_hidden = 1;
        CGFace* knife = hiddenTriangle(p, 0.2f, 0.2f, 0.4f);
        m_page->ClearSelection();
        m_page->m_selFaces.AddTail(knife->m_id);
        auto* cut = Put(new CGSplit(NewId(), cutHull->m_id, 1, 1, 0.5));
        m_page->ClearSelection();
        m_cut = cut->m_id;
        CutThrough();
        CPickTarget& tc = Target(cut, "cut",
                                 {Style(CGPolyhedron::kStyleAuto), Style(CGPolyhedron::kStyleVisible),
                                  Style(CGPolyhedron::kStyleLit)},
                                 PlaceX(p), PlaceY(p));
        tc.pickedInThreeViews = false;

        // A 3DS model, lit and as a wire frame.
        p = next();
        std::vector<C3dsMeshSpec> meshes = {Box3ds("B", -1, -1, -1, 1, 1, 1, "Red")};
        const QString path = m_dir.filePath(QStringLiteral("box.3ds"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::vector<uint8_t> bytes = Write3ds({{"Red", 200, 30, 30, ""}}, meshes);
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        file.close();
        auto* model = Put(new CGModel3ds(NewId(), CString::FromQString(path), 1));
        model->m_center[0] = PlaceX(p);
        model->m_center[1] = PlaceY(p);
        model->m_center[2] = 0.0f;
        model->m_scale = 0.12f;
        Target(model, "3DS model", {Style(1), Style(CGModel3ds::kStyleWire)}, PlaceX(p), PlaceY(p));
    }

    template <class Next> void BuildDynamics(Next& next) {
        // A surface in its three looks, textured when lit.
        int p = next();
        const double mapping[CGSurface::kMappingCount] = {1, 0, 0, 1, 0, 0};
        CString x, y;
        x.Format(u"u+%g", PlaceX(p));
        y.Format(u"v+%g", PlaceY(p));
        auto* surface = Put(new CGSurface(NewId(), {}, x, y, u"0.3*sin(2*u)", u"-1.8", u"1.8", u"-1.8",
                                          u"1.8", CGSurface::kStyleLit, 2, 1, CGSurface::kMappingAutomatic,
                                          CGSurface::kCartesian, 0.3, 0.3, mapping));
        Target(
            surface, "surface",
            {Style(CGSurface::kStyleLit), Style(CGSurface::kStyleTranslucent), Style(CGSurface::kStyleWire)},
            PlaceX(p), PlaceY(p));
        // A curve on a value, and the locus of a point driven round a circle, in their four levels.
        const std::vector<std::function<void(CGCell&)>> curveLooks = {
            Style(kCurveAuto), Style(kCurveOnTop), Style(kCurveOnTopDashed), Style(kCurveVisibleOnly)};
        p = next();
        auto* value = Put(new CGTmVarParameter(NewId(), u"r", 1.8f));
        value->m_hidden = 1;
        CList<WORD, WORD> values;
        values.AddTail(value->m_id);
        CString cx, cy;
        cx.Format(u"%g+No1*cos(t)", PlaceX(p));
        cy.Format(u"%g+No1*sin(t)*cos(t)", PlaceY(p));
        Target(Put(new CGCurve(NewId(), values, cx, cy, u"0", u"0", u"2*pi", 0.05f, 0)), "curve", curveLooks);
        p = next();
        auto* round = Put(new CGArc(NewId(), PlaceX(p), PlaceY(p), 0, 1.5f, 0, 0, 0, 1.5f, 0, 0.0f,
                                    6.2831855f, CGArc::kCircle));
        round->m_hidden = 1;
        auto* driver = Put(new CGVerFreeInCircle(NewId(), m_page->m_nextVertex++, u"D", round->m_id, 0.5f));
        driver->m_hidden = 1;
        CGLine* spoke = AddLine(Point(PlaceX(p) + 1.5f, PlaceY(p) + 1.5f)->m_id, driver->m_id);
        spoke->m_hidden = 1;
        auto* traced = Put(new CGVerMid(NewId(), m_page->m_nextVertex++, u"M", spoke->m_id));
        traced->m_hidden = 1;
        Target(Put(new CGLocus(NewId(), driver->m_id, traced->m_id, 0.0f, 6.2831f)), "locus", curveLooks);
        // An iteration of the triangle of midpoints, in its three colourings.
        p = next();
        const WORD a = Point(PlaceX(p) - 2, PlaceY(p) - 2)->m_id,
                   b = Point(PlaceX(p) + 2, PlaceY(p) - 2)->m_id, c = Point(PlaceX(p), PlaceY(p) + 2)->m_id;
        const WORD ab = AddLine(a, b)->m_id, bc = AddLine(b, c)->m_id, ca = AddLine(c, a)->m_id;
        auto mid = [&](WORD line) {
            auto* m = Put(new CGVerMid(NewId(), m_page->m_nextVertex++, u"m", line));
            m->m_labelHidden = 1;
            return m->m_id;
        };
        const WORD d = mid(ab), e = mid(bc), f = mid(ca);
        auto* iterate = Put(new CGIterate(NewId(), 3, 3, 3, {{a, b, c}, {d, e, f}}));
        for (WORD id : {ab, bc, ca, d, e, f})
            m_page->FindCell(id)->m_hidden = 1;
        Target(
            iterate, "iteration",
            {Style(CGIterate::kPreImageColors), Style(CGIterate::kDepthColors), Style(CGIterate::kOwnColor)});
        // The trace of a segment turning about a point.
        p = next();
        auto* wheel = Put(new CGArc(NewId(), PlaceX(p), PlaceY(p), 0, 1.8f, 0, 0, 0, 1.8f, 0, 0.0f,
                                    6.2831855f, CGArc::kCircle));
        wheel->m_hidden = 1;
        auto* on = Put(new CGVerFreeInCircle(NewId(), m_page->m_nextVertex++, u"W", wheel->m_id, 0.0f));
        on->m_hidden = 1;
        CGLine* arm = AddLine(on->m_id, Point(PlaceX(p), PlaceY(p))->m_id);
        arm->m_hidden = 1;
        Target(Put(new CGTrack(NewId(), {on->m_id, arm->m_id}, {0, 1}, 0, 0.0f, 6.2831855f, 0.4f, 1, 0)),
               "trace", {Style(0), Style(CGTrack::kTraceColor)});
        // Ink of two strokes, fixed to the screen.
        p = next();
        const float strokes[] = {PlaceX(p) - 2, PlaceY(p) - 1, -50.0f,        PlaceX(p), PlaceY(p) + 1.5f,
                                 -50.0f,        PlaceX(p) + 2, PlaceY(p) - 1, -50.0f};
        auto* ink = Put(new CGInkmarks(NewId(), new CStroke(3, strokes)));
        ink->AddStroke(new CStroke(2, strokes + 3));
        CPickTarget& ti = Target(ink, "ink");
        ti.pickedInThreeViews = false;
        // A colour modifier over a parameter and a face; picked in the view's lower left corner.
        auto* hue = Put(new CGTmVarParameter(NewId(), u"h", 0.3f));
        hue->m_hidden = 1;
        m_page->ClearSelection();
        m_page->SelectCell(hue->m_id);
        m_page->SelectCell(m_tableFace);
        auto* modifier = Put(new CGMdfColor(NewId(), CGMdfColor::kHue, 1.0f, 0, 0.0f));
        m_page->ClearSelection();
        CPickTarget& tm = Target(modifier, "colour modifier");
        tm.pickedInThreeViews = false;
        tm.clickAt = [](CGCell&) {
            return ScreenPlanePixel(3.0f - float(g_clientWidth) * g_unitLength * 0.5f,
                                    1.0f - float(g_clientHeight) * g_unitLength * 0.5f);
        };
    }

    // Screen items stand at their anchor, the lower left corner of their picture or text.
    template <class T> T* Anchored(T* cell, int place) {
        cell->m_labelPos[0] = PlaceX(place) - 1.8f;
        cell->m_labelPos[1] = PlaceY(place) - 0.5f;
        cell->m_labelPos[2] = -50.0f;
        return cell;
    }
    // The cut cut through, as its button leaves it (a cut read from a file starts uncut).
    void CutThrough() {
        auto* cut = DYNAMIC_DOWNCAST(CGSplit, m_page->FindCell(m_cut));
        ASSERT_NE(cut, nullptr);
        cut->m_param1 = cut->FullCutParameter();
        cut->SyncVertex();
    }
    // A text is picked from its anchor over its characters: it is clicked at its first character.
    static void ClickAtFirstCharacter(CPickTarget& t) {
        t.clickAt = [](CGCell& cell) {
            return ScreenPlanePixel(cell.m_labelPos[0] + 6.0f * g_unitLength,
                                    cell.m_labelPos[1] + 8.0f * g_unitLength);
        };
    }
    static std::vector<BYTE> Stripes(size_t n) {
        std::vector<BYTE> bytes(n);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = BYTE(i % 3 == 0 ? 0xF0 : 0x3C);
        return bytes;
    }

    template <class Next> void BuildTexts(Next& next) {
        auto screenItem = [](CPickTarget& t) { t.pickedInThreeViews = false; };
        // Bitmap texts: plain, from the rich-text editor, a formula in colour; one following a point.
        for (BYTE kind : {BYTE(0), kRichTextKind, BYTE(4)}) {
            auto* bits =
                Put(new CGTextbit(NewId(), 60, 16, Stripes(size_t(CGTextbit::BitmapRowBytes(60)) * 16)));
            bits->m_kind = kind;
            screenItem(Target(Anchored(bits, next()), "bitmap text of kind " + std::to_string(kind)));
        }
        int p = next();
        CGVertex* carrier = Point(PlaceX(p), PlaceY(p));
        auto* follower = Put(new CGTbHenchman(
            NewId(), 60, 16, Stripes(size_t(CGTextbit::BitmapRowBytes(60)) * 16), carrier->m_id));
        Target(follower, "text at a point").pickedInThreeViews = false;
        // A picture.
        p = next();
        auto* picture =
            Put(new CGTbImage(NewId(), 50, 40, Stripes(size_t(CGTextbit::PictureRowBytes(50)) * 40)));
        screenItem(Target(Anchored(picture, p), "picture"));
        // Formula texts in pixels and as a texture, and one attached to a point.
        for (int mode : {0, 1}) {
            auto* formula =
                Put(new CGTbMtfText(NewId(), u"<#><l><e>x²+1</e></l></#>", RGB(255, 255, 200), mode));
            screenItem(Target(Anchored(formula, next()), "formula text in mode " + std::to_string(mode)));
        }
        p = next();
        CGVertex* anchorPoint = Point(PlaceX(p), PlaceY(p));
        Target(Put(new CGTbMhc(NewId(), u"<#><l><e>M</e></l></#>", RGB(0, 0, 0), anchorPoint->m_id)),
               "formula text at a point")
            .pickedInThreeViews = false;
        // A single-line text, a measurement, a parameter with its slider, a calculation shown as a
        // formula and a vector item.
        // These are wider than a place: each takes two.
        auto wide = [&next] {
            const int first = next();
            next();
            return first;
        };
        auto* single = new CGTmSingleline;
        single->m_id = NewId();
        single->m_text = u"单行文本";
        CPickTarget& tsl = Target(Anchored(Put(single), wide()), "single-line text");
        screenItem(tsl);
        ClickAtFirstCharacter(tsl);
        CGVertex* from = Point(1, 1);
        CGVertex* to = Point(3, 2);
        auto* distance = Put(new CGTmVarDistancePP(NewId(), from->m_id, to->m_id));
        distance->m_style = 1;
        distance->UpdateName();
        screenItem(Target(Anchored(distance, wide()), "distance"));
        auto* slider = Put(new CGTmVarParameter(NewId(), u"k", 3.0f));
        slider->m_kind = 1;
        slider->m_param3 = 10.0f;
        p = wide();
        Anchored(slider, p)->m_labelPos[0] = PlaceX(p) - 2.0f;
        CPickTarget& tsd = Target(slider, "parameter with a slider");
        screenItem(tsd);
        ClickAtFirstCharacter(tsd);
        CList<WORD, WORD> parents;
        parents.AddTail(distance->m_id);
        auto* calc = Put(new CGTmVarCalculator(NewId(), parents, u"No1*2", u"<#><l></l></#>"));
        calc->m_style = 1;
        screenItem(Target(Anchored(calc, wide()), "calculation"));
        auto* vec = Put(new CGTmVectorPP(NewId(), from->m_id, to->m_id));
        screenItem(Target(Anchored(vec, wide()), "vector item"));
    }

    template <class Next> void BuildButtons(Next& next) {
        CGVertex* mover = AddVertex<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
        mover->m_hidden = 1;
        CGVertex* goal = Point(1, 1);
        ButtonTarget(Put(new CGButnAnimation(NewId(), u"动画", mover->m_id, 0, 1, 2, 1, 0.05f, 1.0f)), next(),
                     "animation button");
        ButtonTarget(
            Put(new CGButnMove(NewId(), u"移动", mover->m_id, goal->m_id, 0.1f, CGButnMove::kInSpace)),
            next(), "move button");
        m_page->ClearSelection();
        m_page->SelectCell(goal->m_id);
        ButtonTarget(Put(new CGButnSHide(NewId())), next(), "show and hide button");
        m_page->ClearSelection();
        const int seriesPlace = next();
        next();
        ButtonTarget(Put(new CGButnPresentat(NewId(), u"系列动作", 1, 0.5f)), seriesPlace, "series button");
        ButtonTarget(Put(new CGButnLink(NewId(), u"首页", CGButnLink::kToPage, 1, u"第一页")), next(),
                     "link button");
        ButtonTarget(Put(new CGButnRotate(NewId(), u"视旋转", 0.9659258f, 0.2588190f, 0.0f, 0.0f, 0.0f, 0.0f,
                                          1.0f, 90.0f, 1, 1, 0.4f, 0.1f)),
                     next(), "turning button");
        ButtonTarget(Put(new CGButnTranslate(NewId(), u"视平移", 0.0f, 0.0f, -50.0f, 5.0f, -2.0f, -40.0f, 0,
                                             1, 0.3f, 0.0f)),
                     next(), "panning button");
        ButtonTarget(Put(new CGButnScale(NewId(), u"视缩放", 1.0f, 2.5f, 1, 0, 0.2f, 0.0f)), next(),
                     "zooming button");
        ButtonTarget(Put(new CGButnCommand(NewId(), u"演示", {32776}, 12)), next(), "command button");
    }

    // ---- Drawing and clicking ----

    void ApplyLook(int round) {
        for (CPickTarget& t : m_targets) {
            CGCell* cell = m_page->FindCell(t.id);
            ASSERT_NE(cell, nullptr) << t.what;
            if (!t.looks.empty())
                t.looks[size_t(round) % t.looks.size()](*cell);
            cell->m_flag2 = true;
        }
    }
    QImage Frame() {
        m_page->RebuildVertexArray();
        m_view->RenderSceneNow();
        return m_view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    static bool Differs(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) >
               24;
    }

    // The pixels each target draws (drawn alone, against the page without targets), and a pixel for
    // each to click where nothing else is drawn near.
    struct CClick {
        bool found = false;
        QPoint at;
    };
    std::vector<CClick> ClickPoints(const QRect& area) {
        const size_t n = m_targets.size();
        std::vector<int> hiddenBefore(n);
        for (size_t i = 0; i < n; ++i) {
            CGCell* cell = m_page->FindCell(m_targets[i].id);
            hiddenBefore[i] = cell->m_hidden;
            cell->m_hidden = 1;
        }
        const QImage background = Frame();
        const int w = background.width(), h = background.height();
        std::vector<std::vector<bool>> masks(n);
        std::vector<int> count(size_t(w) * h, 0);
        // What the other cells draw (points, segments and labels of the figures) is in everyone's way.
        {
            std::vector<CGCell*> shown;
            for (POSITION pos = m_page->m_cells.GetStartPosition(); pos;) {
                WORD id;
                CGCell* cell;
                m_page->m_cells.GetNextAssoc(pos, id, cell);
                if (cell->m_hidden == 0) {
                    shown.push_back(cell);
                    cell->m_hidden = 1;
                }
            }
            const QImage bare = Frame();
            for (CGCell* cell : shown)
                cell->m_hidden = 0;
            for (int y = 0; y < h; ++y) {
                const QRgb* a = reinterpret_cast<const QRgb*>(bare.constScanLine(y));
                const QRgb* b = reinterpret_cast<const QRgb*>(background.constScanLine(y));
                for (int x = 0; x < w; ++x)
                    count[size_t(y) * w + x] += Differs(a[x], b[x]) ? 1 : 0;
            }
        }
        for (size_t i = 0; i < n; ++i) {
            CGCell* cell = m_page->FindCell(m_targets[i].id);
            cell->m_hidden = hiddenBefore[i];
            const QImage alone = Frame();
            cell->m_hidden = 1;
            masks[i].assign(size_t(w) * h, false);
            for (int y = 0; y < h; ++y) {
                const QRgb* a = reinterpret_cast<const QRgb*>(alone.constScanLine(y));
                const QRgb* b = reinterpret_cast<const QRgb*>(background.constScanLine(y));
                for (int x = 0; x < w; ++x) {
                    if (Differs(a[x], b[x])) {
                        masks[i][size_t(y) * w + x] = true;
                        ++count[size_t(y) * w + x];
                    }
                }
            }
        }
        for (size_t i = 0; i < n; ++i)
            m_page->FindCell(m_targets[i].id)->m_hidden = hiddenBefore[i];

        std::vector<CClick> clicks(n);
        std::vector<int> others(size_t(w + 1) * (h + 1));
        for (size_t i = 0; i < n; ++i) {
            // A summed table of what the others draw.
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const size_t k = size_t(y) * w + x;
                    const int o = count[k] - (masks[i][k] ? 1 : 0) > 0 ? 1 : 0;
                    others[size_t(y + 1) * (w + 1) + x + 1] = o + others[size_t(y) * (w + 1) + x + 1] +
                                                              others[size_t(y + 1) * (w + 1) + x] -
                                                              others[size_t(y) * (w + 1) + x];
                }
            auto othersNear = [&](int x, int y) {
                const int x0 = std::max(0, x - kClearance), x1 = std::min(w, x + kClearance + 1);
                const int y0 = std::max(0, y - kClearance), y1 = std::min(h, y + kClearance + 1);
                return others[size_t(y1) * (w + 1) + x1] - others[size_t(y0) * (w + 1) + x1] -
                       others[size_t(y1) * (w + 1) + x0] + others[size_t(y0) * (w + 1) + x0];
            };
            // The drawn pixel with nothing else near that is nearest to where the object stands, or to
            // the middle of its drawing.
            double sx = 0, sy = 0;
            int drawn = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (masks[i][size_t(y) * w + x]) {
                        sx += x;
                        sy += y;
                        ++drawn;
                    }
            if (drawn == 0)
                continue;
            sx /= drawn;
            sy /= drawn;
            if (m_targets[i].hasAnchor) {
                const QPoint a = At(m_targets[i].anchor[0], m_targets[i].anchor[1], m_targets[i].anchor[2]);
                sx = a.x();
                sy = a.y();
            }
            double best = 1e300;
            for (int y = area.top() + kClearance; y <= area.bottom() - kClearance; ++y)
                for (int x = area.left() + kClearance; x <= area.right() - kClearance; ++x) {
                    if (!masks[i][size_t(y) * w + x] || othersNear(x, y) > 0)
                        continue;
                    if (m_targets[i].byEdge && masks[i][size_t(y) * w + x - 1] &&
                        masks[i][size_t(y) * w + x + 1] && masks[i][size_t(y - 1) * w + x] &&
                        masks[i][size_t(y + 1) * w + x])
                        continue;
                    const double d = (x - sx) * (x - sx) + (y - sy) * (y - sy);
                    if (d < best) {
                        best = d;
                        clicks[i] = {true, QPoint(x, y)};
                    }
                }
        }
        return clicks;
    }

    std::vector<WORD> WalkList() const {
        std::vector<WORD> ids;
        for (WORD id : m_page->m_walkList)
            ids.push_back(id);
        return ids;
    }
    // The cells of a walk list by what the test calls them (their class for other cells).
    std::string Describe(const std::vector<WORD>& ids) const {
        std::string text = "class " + std::to_string(m_page->m_walkClass) + ":";
        for (WORD id : ids) {
            auto t = std::find_if(m_targets.begin(), m_targets.end(),
                                  [id](const CPickTarget& t) { return t.id == id; });
            if (t != m_targets.end())
                text += " " + t->what;
            else if (CGCell* cell = m_page->FindCell(id))
                text +=
                    std::string(" ") + cell->GetRuntimeClass()->m_lpszClassName + "#" + std::to_string(id);
            else
                text += " #" + std::to_string(id);
        }
        return text;
    }
    bool Walked(WORD id) const {
        const std::vector<WORD> ids = WalkList();
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    // Clicks every target and empty space in the present camera, layout and looks.
    void ClickEverything(const std::string& round) {
        const bool threeViews = m_page->m_threeView != 0;
        QRect area(0, 0, g_clientWidth, g_clientHeight);
        if (threeViews) {
            int vp[4];
            ThreeViewViewport(HX_VIEW_DIRECT, g_clientWidth, g_clientHeight, vp);
            area = QRect(vp[0], g_clientHeight - vp[1] - vp[3], vp[2], vp[3]);
        }
        m_page->ClearSelection();
        const std::vector<CClick> clicks = ClickPoints(area);
        Frame();
        int clicked = 0;
        for (size_t i = 0; i < m_targets.size(); ++i) {
            const CPickTarget& t = m_targets[i];
            CGCell* cell = m_page->FindCell(t.id);
            ASSERT_NE(cell, nullptr) << t.what;
            QPoint at;
            if (t.clickAt && !threeViews) {
                at = t.clickAt(*cell);
            } else if (clicks[i].found) {
                at = clicks[i].at;
            } else if (t.hasAnchor) {
                at = At(t.anchor[0], t.anchor[1], t.anchor[2]);
            } else {
                EXPECT_TRUE(threeViews && !t.pickedInThreeViews)
                    << round << ": " << t.what << " is not drawn";
                continue;
            }
            ++clicked;
            const bool picked = !threeViews || t.pickedInThreeViews;
            Click(at);
            EXPECT_EQ(Walked(t.id), picked) << round << ": " << t.what << " clicked at " << at.x() << ", "
                                            << at.y() << "; picked " << Describe(WalkList());
            if (!picked)
                continue;
            const int walkClass = m_page->m_walkClass;
            const bool selects = walkClass != 3 && walkClass != 10 && walkClass < 12;
            EXPECT_EQ(cell->m_selected, selects) << round << ": " << t.what;
            // Clicked again while selected: the pass draws it selected, and the click takes it back.
            Click(at);
            EXPECT_TRUE(Walked(t.id)) << round << ": " << t.what << " clicked again";
            EXPECT_FALSE(cell->m_selected) << round << ": " << t.what;
            m_page->ClearSelection();
        }
        EXPECT_GT(clicked, int(m_targets.size()) / 2) << round;
        // Empty space: nothing is picked and the selection goes.
        m_page->SelectCell(m_targets[0].id);
        const int empty = kColumns * kRows - 1;
        const QPoint nowhere =
            threeViews ? area.topLeft() + QPoint(area.width() - 12, 12) : At(PlaceX(empty), PlaceY(empty), 0);
        Click(nowhere);
        EXPECT_TRUE(m_page->m_selAll.IsEmpty()) << round << ": empty space";
        EXPECT_EQ(m_status, u"就绪") << round << ": empty space";
    }

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
    std::vector<CPickTarget> m_targets;
    WORD m_tableFace = 0;
    WORD m_axesArrow = 0;
    WORD m_cut = 0;
    WORD m_axesScale = 0;
};

} // namespace

TEST_F(PickEveryClassTest, EveryObjectIsPickedInEveryLookProjectionAndLayoutAndAfterReopening) {
    BuildPage();
    ASSERT_FALSE(HasFailure());
    Redraw();

    // Every look of every object, in the orthographic view from above.
    size_t rounds = 1;
    for (const CPickTarget& t : m_targets)
        rounds = std::max(rounds, t.looks.size());
    for (size_t round = 0; round < rounds; ++round) {
        ApplyLook(int(round));
        ClickEverything("look " + std::to_string(round));
    }
    // The first looks in central and oblique projection, turned a little.
    ApplyLook(0);
    for (auto [command, name] : {std::pair{ID_VIEW_PROJ_PERSPEC, "central projection"},
                                 std::pair{ID_VIEW_PROJ_ID_XIEERCE, "oblique projection"}}) {
        ASSERT_TRUE(AfxGetCommandRouter().Execute(command));
        SetPlaneViewRotation();
        RotateViewPitch(0.25);
        RotateViewYaw(0.15);
        Redraw();
        ClickEverything(name);
    }
    // The three views with the direct view, which looks from above.
    ASSERT_TRUE(AfxGetCommandRouter().Execute(ID_VIEW_PROJ_ID_ORTHO));
    m_view->OnThreeView();
    m_page->m_threeViewPersp = 1;
    LookFromAbove();
    ClickEverything("three views");
    m_view->OnThreeView();
    LookFromAbove();

    // Saved and opened again (in the first looks): the objects are read back and clicked again.
    const int cells = m_page->m_cells.GetCount();
    const CString path = CString::FromQString(m_dir.filePath(QStringLiteral("每类.hvx")));
    ASSERT_TRUE(m_doc->OnSaveDocument(path));
    ASSERT_TRUE(m_doc->OnNewDocument());
    ASSERT_TRUE(m_doc->OpenDocumentFile(path, FALSE));
    m_page = g_pCurPage;
    ASSERT_NE(m_page, nullptr);
    EXPECT_EQ(m_page->m_cells.GetCount(), cells);
    LookFromAbove();
    CutThrough();
    ClickEverything("opened again");
    EXPECT_TRUE(m_messages.empty()) << "no message box: "
                                    << (m_messages.empty() ? "" : m_messages[0].ToQString().toStdString());
}
