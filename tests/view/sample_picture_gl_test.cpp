// The cube sample as a teacher sees it, in the view and on the printed sheet: its back edges dashed,
// its front edges solid and its translucent diagonal section one even colour, as opened, after a
// click on vertex A and after A is dragged; a cube whose faces are hidden, which hides nothing; and
// the pyramids of the samples with their back edges dashed.
#include "view_tools_fixture.h"

#include "model/face.h"
#include "view/print_sheet.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// Where a point of the drawing area (pixels from the top left) lands on a picture of it.
using CMapping = QTransform;

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

// A line's ends on the screen.
struct CScreenEdge {
    CString name;
    QPointF a, b;
};

// What a line looks like along its middle: the positions sampled, how many show its ink, and how
// many runs without ink (gaps) lie between them.
struct CEdgeProfile {
    int samples = 0;
    int inked = 0;
    int gaps = 0;
};

int Lightness(QRgb c) {
    return QColor(c).lightness();
}

// The ink of a line is much darker than the paper, the section and the faces seen through.
constexpr int kInkLightness = 150;

CEdgeProfile Profile(const QImage& image, const CMapping& map, const CScreenEdge& edge) {
    CEdgeProfile profile;
    const QPointF d = edge.b - edge.a;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1.0)
        return profile;
    const QPointF across(-d.y() / length, d.x() / length);
    // The middle of the line, clear of the corner points, their labels and the lines meeting there.
    bool inGap = false;
    int gapLength = 0;
    for (double s = 0.2 * length; s <= 0.8 * length; s += 1.0) {
        const QPointF on = edge.a + d * (s / length);
        int darkest = 255;
        for (double w = -1.5; w <= 1.5; w += 0.5) {
            const QPoint at = map.map(on + across * w).toPoint();
            if (image.rect().contains(at))
                darkest = std::min(darkest, Lightness(image.pixel(at)));
        }
        ++profile.samples;
        if (darkest < kInkLightness) {
            ++profile.inked;
            if (inGap && gapLength >= 2)
                ++profile.gaps;
            inGap = false;
            gapLength = 0;
        } else {
            inGap = true;
            ++gapLength;
        }
    }
    return profile;
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double l2 = d.x() * d.x() + d.y() * d.y();
    double t = l2 > 0 ? ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF q = a + d * t;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

bool InsideConvex(QPointF p, const std::vector<QPointF>& corners) {
    int sign = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const QPointF a = corners[i], b = corners[(i + 1) % corners.size()];
        const double cross = (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
        const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s != 0 && sign != 0 && s != sign)
            return false;
        if (s != 0)
            sign = s;
    }
    return true;
}

// How the inside of a face looks, away from every line, point and label: the largest difference
// of a pixel from its neighbours (light dots), and the spread of its colours over the whole face.
struct CFaceLook {
    int samples = 0;
    int dots = 0;   // pixels more than a few levels off their neighbours
    int spread = 0; // largest difference of one channel over the face
};

int ChannelDifference(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

CFaceLook Look(const QImage& image, const CMapping& map, const std::vector<QPointF>& corners,
               const std::vector<CScreenEdge>& lines, const std::vector<QPointF>& points) {
    CFaceLook look;
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    // Neighbours one pixel of the picture away.
    const QPoint steps[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int y = 0; y < kViewHeight; y += 2)
        for (int x = 0; x < kViewWidth; x += 2) {
            const QPointF p(x, y);
            if (!InsideConvex(p, corners))
                continue;
            bool clear = true;
            for (const CScreenEdge& line : lines)
                clear = clear && DistanceToSegment(p, line.a, line.b) > 6.0;
            for (QPointF point : points)
                clear = clear && std::hypot(p.x() - point.x(), p.y() - point.y()) > 45.0;
            if (!clear)
                continue;
            const QPoint at = map.map(p).toPoint();
            if (!image.rect().adjusted(1, 1, -1, -1).contains(at))
                continue;
            const QRgb c = image.pixel(at);
            ++look.samples;
            int off = 0;
            for (QPoint step : steps)
                off = std::max(off, ChannelDifference(c, image.pixel(at + step)));
            if (off > 4)
                ++look.dots;
            const int channels[3] = {qRed(c), qGreen(c), qBlue(c)};
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], channels[i]);
                high[i] = std::max(high[i], channels[i]);
            }
        }
    for (int i = 0; i < 3; ++i)
        look.spread = std::max(look.spread, high[i] - low[i]);
    return look;
}

class SamplePictureTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        m_view->resize(kViewWidth, kViewHeight);
        QCoreApplication::processEvents();
        ASSERT_EQ(g_clientWidth, kViewWidth);
        ASSERT_EQ(g_clientHeight, kViewHeight);
    }

    void Open(const char* sample) {
        const QString path = QStringLiteral(HALVIX_SAMPLES_DIR) + QLatin1Char('/') +
                             QString::fromUtf8(sample) + QStringLiteral(".hvx");
        ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(path), FALSE)) << sample;
        m_page = g_pCurPage;
        ASSERT_NE(m_page, nullptr);
    }
    void OpenCube() {
        Open("1-正方体的对角截面");
        for (const char16_t* name : {u"A", u"B", u"C", u"D", u"A1", u"B1", u"C1", u"D1"})
            ASSERT_NE(Point(name), nullptr) << CString(name).ToUtf8();
    }
    CGVertex* Point(const CString& name) const {
        for (WORD id : m_page->m_cells.Keys())
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(id)); p && p->m_name == name)
                return p;
        return nullptr;
    }
    // The frame on the screen, drawn for the present camera.
    QImage Frame() {
        m_view->RenderScene();
        QCoreApplication::processEvents();
        return m_view->grabFramebuffer();
    }
    // Where a point of space is drawn, in pixels from the top left of the drawing area.
    static QPointF Screen(const CGVertex& p) {
        GLdouble wx, wy, wz;
        gluProject(p.m_x, p.m_y, p.m_z, g_modelviewMatrix, g_projectionMatrix, g_viewport, &wx, &wy, &wz);
        return QPointF(wx, g_clientHeight - wy);
    }
    CScreenEdge Edge(const char16_t* from, const char16_t* to) const {
        return {CString(from) + to, Screen(*Point(from)), Screen(*Point(to))};
    }
    std::vector<CScreenEdge> AllLines() const {
        std::vector<CScreenEdge> lines;
        for (WORD id : m_page->m_cells.Keys())
            if (auto* line = DYNAMIC_DOWNCAST(CGLine, m_page->FindCell(id))) {
                auto* a = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(line->m_parents[0]));
                auto* b = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(line->m_parents[1]));
                if (a && b)
                    lines.push_back({line->m_name, Screen(*a), Screen(*b)});
            }
        return lines;
    }
    std::vector<QPointF> AllPoints() const {
        std::vector<QPointF> points;
        for (WORD id : m_page->m_cells.Keys())
            if (auto* p = DYNAMIC_DOWNCAST(CGVertex, m_page->FindCell(id)))
                points.push_back(Screen(*p));
        return points;
    }
    CFaceLook Section(const QImage& image, const CMapping& map) const {
        const std::vector<QPointF> corners = {Screen(*Point(u"A")), Screen(*Point(u"C")),
                                              Screen(*Point(u"C1")), Screen(*Point(u"A1"))};
        return Look(image, map, corners, AllLines(), AllPoints());
    }
    // The page printed on a sheet through the print path, and where the drawing area lies on it.
    QImage Printed(CMapping& map) {
        QImage sheet(2480, 3508, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        CPainterPrintJob job(painter, sheet.rect(), [] { return false; });
        EXPECT_EQ(m_view->PrintDocument(job, 1, 1), 1);
        painter.end();
        const QRect picture = HxLayoutPrintSheet(sheet.rect(), QSize(kViewWidth, kViewHeight)).image;
        map = QTransform::fromTranslate(picture.left(), picture.top());
        map.scale(double(picture.width()) / kViewWidth, double(picture.height()) / kViewHeight);
        // Printing draws every page afresh: the frame of the screen is drawn again.
        m_view->RenderScene();
        QCoreApplication::processEvents();
        return sheet;
    }
    // Press on A, move by the steps, release at the last place.
    void DragA(std::initializer_list<QPoint> steps) {
        const QPoint from = Screen(*Point(u"A")).toPoint();
        Press(from);
        QPoint last = from;
        for (QPoint step : steps) {
            last = from + step;
            Move(last);
        }
        Release(last);
        QCoreApplication::processEvents();
    }
};

// Edges of the cube behind it and in front of it, as the sample shows it.
const char16_t* const kBackEdges[3][2] = {{u"A", u"D"}, {u"D", u"C"}, {u"D", u"D1"}};
const char16_t* const kFrontEdges[3][2] = {{u"A", u"B"}, {u"B", u"B1"}, {u"A1", u"B1"}};

} // namespace

// As a textbook draws it: the faces of the cube hide what lies behind them, so its back edges come
// out dashed, the front ones solid, and the translucent section shows through in one even colour;
// the same on the screen and on paper, before and after A is moved.
TEST_F(SamplePictureTest, TheCubeSampleShowsItsBackEdgesDashedAndItsSectionEven) {
    OpenCube();
    const QTransform screen;
    auto check = [&](const QImage& image, const CMapping& map, const char* when) {
        SCOPED_TRACE(when);
        for (const auto& e : kBackEdges) {
            const CScreenEdge edge = Edge(e[0], e[1]);
            const CEdgeProfile p = Profile(image, map, edge);
            ASSERT_GT(p.samples, 20) << edge.name.ToUtf8();
            EXPECT_GE(p.gaps, 3) << edge.name.ToUtf8() << " is dashed";
            EXPECT_GT(p.inked, p.samples / 4) << edge.name.ToUtf8();
        }
        for (const auto& e : kFrontEdges) {
            const CScreenEdge edge = Edge(e[0], e[1]);
            const CEdgeProfile p = Profile(image, map, edge);
            EXPECT_EQ(p.gaps, 0) << edge.name.ToUtf8() << " is solid";
            EXPECT_EQ(p.inked, p.samples) << edge.name.ToUtf8();
        }
        const CFaceLook look = Section(image, map);
        EXPECT_GT(look.samples, 200);
        EXPECT_EQ(look.dots, 0) << "the section shows light dots";
        EXPECT_LE(look.spread, 6) << "the section is one colour";
    };
    check(Frame(), screen, "as opened");
    CMapping sheet;
    QImage printed = Printed(sheet);
    check(printed, sheet, "printed as opened");

    DragA({});
    check(Frame(), screen, "A clicked");
    DragA({QPoint(4, 2), QPoint(9, 4), QPoint(14, 5)});
    check(Frame(), screen, "A dragged");
    printed = Printed(sheet);
    check(printed, sheet, "printed after the drag");
}

// A document that hides the faces of its cube keeps the picture of hidden faces: they take no part
// in any pass, so nothing is dashed; the translucent section lies over the edges behind it, even.
TEST_F(SamplePictureTest, HiddenFacesHideNothingAndTheSectionStaysEven) {
    OpenCube();
    int hidden = 0;
    for (WORD id : m_page->m_cells.Keys())
        if (auto* face = DYNAMIC_DOWNCAST(CGFace, m_page->FindCell(id));
            face && face->m_style == CGFace::kStyleDepthOnly) {
            face->m_hidden = 1;
            ++hidden;
        }
    ASSERT_EQ(hidden, 6);
    const QTransform screen;
    auto check = [&](const QImage& image, const CMapping& map, const char* when) {
        SCOPED_TRACE(when);
        for (const auto& e : kBackEdges) {
            const CScreenEdge edge = Edge(e[0], e[1]);
            EXPECT_EQ(Profile(image, map, edge).gaps, 0) << edge.name.ToUtf8() << " is solid";
        }
        const CFaceLook look = Section(image, map);
        EXPECT_GT(look.samples, 200);
        EXPECT_EQ(look.dots, 0) << "the section shows light dots";
    };
    check(Frame(), screen, "as opened");
    DragA({QPoint(4, 2), QPoint(9, 4), QPoint(14, 5)});
    check(Frame(), screen, "A dragged");
    CMapping sheet;
    const QImage printed = Printed(sheet);
    check(printed, sheet, "printed after the drag");
    DragA({QPoint(-7, 3), QPoint(-15, 8)});
    check(Frame(), screen, "A dragged again");
}

// The pyramids of the samples are drawn the same way: the edges and lines behind their sides dashed.
TEST_F(SamplePictureTest, ThePyramidSamplesShowTheirBackEdgesDashed) {
    const struct {
        const char* sample;
        std::vector<std::pair<const char16_t*, const char16_t*>> back, front;
    } pyramids[] = {
        // (PC runs too close to the solid PE on its side PAB to be told apart.)
        {"2-棱锥的中心与垂足",
         {{u"A", u"C"}, {u"B", u"C"}, {u"P", u"Q"}},
         {{u"P", u"A"}, {u"P", u"B"}, {u"A", u"B"}}},
        {"10-文本与向量",
         {{u"P", u"D"}, {u"A", u"D"}, {u"D", u"C"}},
         {{u"P", u"A"}, {u"P", u"B"}, {u"A", u"B"}, {u"B", u"C"}}},
    };
    const QTransform screen;
    for (const auto& pyramid : pyramids) {
        SCOPED_TRACE(pyramid.sample);
        Open(pyramid.sample);
        const QImage frame = Frame();
        for (const auto& [from, to] : pyramid.back) {
            const CEdgeProfile p = Profile(frame, screen, Edge(from, to));
            EXPECT_GE(p.gaps, 3) << Edge(from, to).name.ToUtf8() << " is dashed";
        }
        for (const auto& [from, to] : pyramid.front) {
            const CEdgeProfile p = Profile(frame, screen, Edge(from, to));
            EXPECT_EQ(p.gaps, 0) << Edge(from, to).name.ToUtf8() << " is solid";
        }
    }
}
