// Writes the sample documents that the 样例 command lists: a cube with its diagonal section, a
// pyramid with the centres of its base and the feet of its height, circles through three points,
// a triangle with translated and rotated copies, a lesson of several pages, the solids of revolution
// with their display styles, the polyhedra of the solid commands one a page, the spheres, the
// frame and circles with their crossing and division points, an iteration with a trace of figures,
// and formula texts, vectors, a picture, a command button and a table.  Every figure is built on a
// few free points, the rest tied to them, with the program's own classes and commands, and saved
// through the document.  The samples and their folder are left read-only, as an installed program's
// are.
// Usage: halvix_make_samples <output folder>
#include "document/doc_globals.h"
#include "document/clipboard_picture.h"
#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "measure/vector_items.h"
#include "dynamics/iterate.h"
#include "dynamics/iterate_dialogs.h"
#include "dynamics/track.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "points/transform_dialogs.h"
#include "points/translated_points.h"
#include "points/triangle_centres.h"
#include "solids/revolution_constructed.h"
#include "view/vertex_array.h"
#include "view/view_colors.h"
#include "view/view_camera.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Cells added to a page as the drawing tools add them: ids and vertex places from the page's
// counters.
class Builder {
public:
    explicit Builder(CGPage* page) : m_page(page) {}

    // Figures are drawn on a grid of kScale units, large enough to fill the view at its default zoom.
    static constexpr float kScale = 1.6f;
    WORD Point(const char16_t* name, float x, float y, float z) {
        Named(name);
        return Add(new CGVerFreeXyz(m_page->m_nextId, m_page->m_nextVertex++, name, x * kScale, y * kScale,
                                    z * kScale));
    }
    WORD Segment(WORD a, WORD b, BYTE kind = CGLine::kSegment) {
        return Add(new CGLine(m_page->m_nextId, a, b, kind));
    }
    // The sides of a polygon, corner to corner and back to the first.
    void Edges(std::initializer_list<WORD> corners) {
        const std::vector<WORD> c(corners);
        for (size_t i = 0; i < c.size(); ++i)
            Segment(c[i], c[(i + 1) % c.size()]);
    }
    // A translucent face (the edges behind it show through), or one that only hides what lies
    // behind it, so that the hidden edges of a solid are drawn dashed.
    WORD Face(std::initializer_list<WORD> corners, COLORREF color, BYTE style = CGFace::kStyleTranslucent) {
        CList<WORD, WORD> list;
        for (WORD id : corners)
            list.AddTail(id);
        auto* face = new CGFace(m_page->m_nextId, list, color);
        face->m_style = style;
        face->m_color.a = 140;
        return Add(face);
    }
    WORD Circle3(WORD a, WORD b, WORD c) { return Add(new CGArcCircle3P(m_page->m_nextId, a, b, c, 0)); }
    template <class T, class... Args> WORD Dependent(const char16_t* name, Args... parents) {
        Named(name);
        return Add(new T(m_page->m_nextId, m_page->m_nextVertex++, name, parents...));
    }
    // A point tied to others (constructed, or free only along the path they give it).
    template <class T, class... Args> WORD Tied(const char16_t* name, Args... parents) {
        return Dependent<T>(name, WORD(parents)...);
    }
    CGPage* Page() const { return m_page; }
    // A cell made by the caller with the page's next id.
    WORD Add(CGCell* cell) {
        m_page->m_cells.SetAt(cell->m_id, cell);
        ++m_page->m_nextId;
        cell->Recompute();
        return cell->m_id;
    }

private:
    // The page's automatic point names go on after the letters the sample used, so that a point
    // the user adds never repeats one.
    void Named(const char16_t* name) {
        const char16_t letter = name[0];
        if (letter >= u'A' && letter <= u'Z' && char(letter) >= m_page->m_labelLetter)
            m_page->m_labelLetter = char(letter + 1);
    }
    CGPage* m_page;
};

bool g_failed = false;

constexpr COLORREF kSectionColor = RGB(255, 190, 60);
constexpr COLORREF kBaseColor = RGB(120, 170, 255);
constexpr COLORREF kFigureColor = RGB(120, 210, 140);

// The id of the point of the page with this name.
WORD PointId(CGPage* page, const char16_t* name) {
    for (WORD id : page->m_cells.Keys())
        if (auto* point = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(id)); point && point->m_name == name)
            return id;
    std::fprintf(stderr, "halvix_make_samples: the cube has no point %s\n", CString(name).ToUtf8().c_str());
    g_failed = true;
    return 0;
}

// 正方体 ABCD-A1B1C1D1 with edge 10, made by the cube command on the current page, so that it stays
// a cube whatever is dragged: A free, B following A, D turning about A square to AB at the distance
// AB, A1 on A square to the base, the rest tied to them.  Its faces only hide what lies behind them,
// so that the hidden edges are dashed; the translucent diagonal section AA1C1C shows through them.
void BuildCube(CHalvixDoc& doc, bool section) {
    CGPage* page = g_pCurPage;
    page->ClearSelection();
    doc.OnCube();
    if (!section)
        return;
    Builder b(page);
    const WORD A = PointId(page, u"A"), C = PointId(page, u"C");
    const WORD A1 = PointId(page, u"A1"), C1 = PointId(page, u"C1");
    b.Segment(A, C);
    b.Segment(A1, C1);
    b.Face({A, C, C1, A1}, kSectionColor);
}

// 棱锥 P-ABC: the base's centroid, circumcentre, incentre and orthocentre, the foot of the height
// from P on the base and the foot of the perpendicular from P to AB.
void BuildPyramid(Builder& b) {
    const WORD A = b.Point(u"A", -9, -6, -5), B = b.Point(u"B", 10, -5, -5), C = b.Point(u"C", -3, 9, -5);
    const WORD P = b.Point(u"P", 2, 1, 7);
    b.Edges({A, B, C});
    for (WORD v : {A, B, C})
        b.Segment(P, v);
    b.Face({A, B, C}, kBaseColor);
    // The sides only hide what lies behind them: the edges and lines behind the pyramid are dashed.
    b.Face({P, A, B}, kBaseColor, CGFace::kStyleDepthOnly);
    b.Face({P, B, C}, kBaseColor, CGFace::kStyleDepthOnly);
    b.Face({P, C, A}, kBaseColor, CGFace::kStyleDepthOnly);
    b.Dependent<CGVerBarycenter>(u"G", A, B, C);
    b.Dependent<CGVerExcenter>(u"O", A, B, C);
    b.Dependent<CGVerIncenter>(u"I", A, B, C);
    b.Dependent<CGVerOrthocenter>(u"H", A, B, C);
    const WORD foot = b.Dependent<CGVerFootpf>(u"Q", P, A, B, C);
    b.Segment(P, foot);
    const WORD side = b.Dependent<CGVerFootpl>(u"E", P, A, B);
    b.Segment(P, side);
    b.Segment(foot, side);
}

// Circles through three points: one in the ground plane, one upright through two of its points,
// with the centre of the first.
void BuildCircles(Builder& b) {
    const WORD A = b.Point(u"A", -6, -4, -3), B = b.Point(u"B", 6, -5, -3), C = b.Point(u"C", 2, 7, -3);
    const WORD D = b.Point(u"D", 0, -4.5f, 6);
    b.Edges({A, B, C});
    b.Circle3(A, B, C);
    b.Dependent<CGVerExcenter>(u"O", A, B, C);
    b.Circle3(A, B, D);
    b.Segment(A, D);
    b.Segment(B, D);
}

// The dialogs of the transform commands answered as a user would: a marked vector, or a marked
// axis with a typed angle.
float g_rotationAngle = 60.0f;
INT_PTR AnswerDialog(CDialog& dialog) {
    if (auto* rotate = dynamic_cast<CDlgTransRotate*>(&dialog)) {
        rotate->m_axisChoice = CDlgTransRotate::kAxisMarked;
        rotate->m_angleChoice = 1;
        rotate->m_angle = g_rotationAngle;
        return IDOK;
    }
    if (auto* translate = dynamic_cast<CDlgTransTranslate*>(&dialog)) {
        translate->m_choice = 0;
        return IDOK;
    }
    return IDCANCEL;
}

void Select(CGPage* page, std::initializer_list<WORD> ids) {
    page->ClearSelection();
    for (WORD id : ids)
        page->SelectCell(id);
}

// A triangle with its copy moved along the marked vector MN, and that copy turned by 120 degrees
// about the marked vertical axis OU; each copy follows its original when a point is dragged.
void BuildTransforms(CHalvixDoc& doc, Builder& b) {
    CGPage* page = b.Page();
    const WORD A = b.Point(u"A", 3, -4, -7), B = b.Point(u"B", 10, -3, -7), C = b.Point(u"C", 6, 2, -5);
    b.Edges({A, B, C});
    const WORD face = b.Face({A, B, C}, kFigureColor);
    const WORD M = b.Point(u"M", -10, -9, -7), N = b.Point(u"N", -10, -9, 0);
    b.Segment(M, N, CGLine::kVector);
    const WORD O = b.Point(u"O", 0, 0, -7), U = b.Point(u"U", 0, 0, 3);
    const WORD axis = b.Segment(O, U, CGLine::kLine);

    HxSetDialogRunner(AnswerDialog);
    Select(page, {M, N});
    doc.OnMarkVector();
    Select(page, {face});
    doc.OnTransTranslate();
    // The copy of the face is the newest cell, and the command leaves the copies selected.
    const WORD copy = WORD(page->m_nextId - 1);
    Select(page, {axis});
    doc.OnMarkAxis();
    g_rotationAngle = 120.0f;
    Select(page, {copy});
    doc.OnTransRotate();
    HxSetDialogRunner(nullptr);
    page->ClearSelection();
}

// A cylinder, a cone and a frustum built by their commands on a bottom centre and a top centre (the
// commands add the point of the base circle square to the axis, and the frustum's top point), and a
// sphere on its centre and north pole; dragging the points changes them.
void BuildSolidsOnPoints(CHalvixDoc& doc, Builder& b) {
    CGPage* page = b.Page();
    // Each command names the points it adds after the two of the axis.
    const struct {
        void (CHalvixDoc::*command)();
        float x, top;
        const char16_t *bottomName, *topName;
    } solids[] = {{&CHalvixDoc::OnCylinder, -9, 3, u"A", u"B"},
                  {&CHalvixDoc::OnCone, 0, 4, u"E", u"F"},
                  {&CHalvixDoc::OnFrustum, 9, 2, u"H", u"I"}};
    for (const auto& solid : solids) {
        const WORD bottom = b.Point(solid.bottomName, solid.x, 0, -5);
        const WORD top = b.Point(solid.topName, solid.x, 0, solid.top);
        Select(page, {top, bottom});
        (doc.*solid.command)();
    }
    page->ClearSelection();
    const WORD centre = b.Point(u"O", 0, 8, 6), pole = b.Point(u"N", 0, 8, 8.5f);
    b.Segment(centre, pole);
    b.Add(new CGSphereCN(page->m_nextId, centre, pole));
}

// The four display styles, one row each: the outline with its hidden parts dashed, the wire mesh,
// lit (the sphere textured), translucent.
void BuildDisplayStyles(Builder& b) {
    CGPage* page = b.Page();
    const float s = Builder::kScale;
    for (int style = 0; style < 4; ++style) {
        const float y = (6.0f - 4.0f * float(style)) * s, r = 1.5f * s, h = 3.0f * s, z = -1.5f * s;
        CGCell* cells[4] = {
            new CGSphere(0, -12 * s, y, 0, r, 0, 0, r), new CGCylinder(0, -4 * s, y, z, r, h, 0, 0, 1),
            new CGCone(0, 4 * s, y, z, r, h, 0, 0, 1), new CGFrustum(0, 12 * s, y, z, r, h, 0, 0, 1, 0.5f)};
        for (CGCell* cell : cells) {
            cell->m_id = page->m_nextId;
            cell->m_style = BYTE(style);
            if (style == 3)
                cell->m_color.a = 90;
            b.Add(cell);
        }
        if (style == 2)
            cells[0]->m_param4 = 9;
        // The bases, as the commands draw them beside their solids.
        for (float x : {-4.0f, 4.0f, 12.0f}) {
            const float top = x == 12.0f ? 0.5f * r : (x == 4.0f ? 0.0f : r);
            for (auto [height, radius] : {std::pair{z, r}, {z + h, top}}) {
                if (radius <= 0.0f)
                    continue;
                auto* base = new CGArc(page->m_nextId, x * s, y, height, radius, 0, 0, 0, radius, 0, 0.0f,
                                       6.2831853f, CGArc::kCircle);
                base->m_labelHidden = 1;
                b.Add(base);
            }
        }
    }
}

// The Sierpinski triangle: the triangle ABC with the midpoints D, E, F of its sides, iterated by the
// three mappings that take it to its corner triangles, four levels deep, each level in its colour.
void BuildIteration(CHalvixDoc& doc, Builder& b) {
    CGPage* page = b.Page();
    const WORD A = b.Point(u"A", -10, -8, 0), B = b.Point(u"B", 10, -8, 0), C = b.Point(u"C", 0, 9, 0);
    const WORD ab = b.Segment(A, B), bc = b.Segment(B, C), ca = b.Segment(C, A);
    const WORD D = b.Dependent<CGVerMid>(u"D", ab);
    const WORD E = b.Dependent<CGVerMid>(u"E", bc);
    const WORD F = b.Dependent<CGVerMid>(u"F", ca);
    HxSetDialogRunner([&](CDialog& dialog) -> INT_PTR {
        auto* dlg = dynamic_cast<CDlgIterate*>(&dialog);
        if (!dlg)
            return IDCANCEL;
        const WORD mappings[3][3] = {{A, D, F}, {D, B, E}, {F, E, C}};
        for (int m = 0; m < 3; ++m) {
            if (m > 0)
                dlg->AddMapping();
            for (WORD image : mappings[m])
                for (size_t row = 0; row < dlg->m_images.size(); ++row)
                    if (dlg->m_images[row].id == image)
                        dlg->ChooseImage(int(row));
        }
        dlg->m_depth = 4;
        return IDOK;
    });
    Select(page, {A, B, C});
    doc.OnTransIterate();
    HxSetDialogRunner(nullptr);
    page->ClearSelection();
    if (auto* iterate = DYNAMIC_DOWNCAST(CGIterate, page->FindCell(WORD(page->m_nextId - 1))))
        iterate->m_style = CGIterate::kDepthColors;
}

// A point P running round a circle in the ground plane, joined to the apex Q above its centre: the
// trace of PQ and of its midpoint M shows the cone the segment sweeps.
void BuildTrace(CHalvixDoc& doc, Builder& b) {
    CGPage* page = b.Page();
    const float r = 8.0f * Builder::kScale;
    const WORD circle = b.Add(new CGArc(page->m_nextId, 0, 0, -4 * Builder::kScale, r, 0, 0, 0, r, 0, 0.0f,
                                        6.2831853f, CGArc::kCircle));
    const WORD P = b.Dependent<CGVerFreeInCircle>(u"P", circle, 0.6f);
    const WORD Q = b.Point(u"Q", 0, 0, 8);
    const WORD pq = b.Segment(P, Q);
    b.Dependent<CGVerMid>(u"M", pq);
    HxSetDialogRunner([](CDialog& dialog) -> INT_PTR {
        auto* dlg = dynamic_cast<CDlgTrack*>(&dialog);
        if (!dlg)
            return IDCANCEL;
        dlg->m_step = 6.2831853f / 36.0f;
        dlg->m_colorMode = 1;
        return IDOK;
    });
    Select(page, {P});
    doc.OnCreateTrack();
    HxSetDialogRunner(nullptr);
    page->ClearSelection();
}

CString Description(const char16_t* text) {
    return CString(u"（文档说明：）\r\n") + text + u"\r\n\r\n（版权信息：）\r\nHalvix 样例";
}

// A new document whose first page is titled `title`, seen from a little higher than a new
// document's default, so that the figures' bases show.
void StartDocument(CHalvixDoc& doc, const char16_t* title, const char16_t* description) {
    doc.OnNewDocument();
    SetViewRotation(-62.0, -25.0);
    doc.GetPage(0)->m_title = title;
    doc.m_description = Description(description);
}

// A page made current, as the page commands leave it (its points in the vertex array).
CGPage* NewPage(CHalvixDoc& doc, const char16_t* title) {
    CGPage* page = doc.AppendPage(title);
    doc.SetCurrentPage(page);
    return page;
}

// One page a polyhedron, each the default figure of its command: draggable as the command left it.
struct CGalleryPage {
    const char16_t* title;
    void (*build)(CHalvixDoc& doc);
};
const CGalleryPage kPolyhedra[] = {
    {u"长方体", [](CHalvixDoc& doc) { doc.OnCuboid(); }},
    {u"正方体", [](CHalvixDoc& doc) { doc.OnCube(); }},
    {u"平行六面体", [](CHalvixDoc& doc) { doc.OnParallelepiped(); }},
    {u"轴向长方体", [](CHalvixDoc& doc) { doc.OnCuboidAxis(0); }},
    {u"三棱柱", [](CHalvixDoc& doc) { doc.OnPrism(); }},
    {u"正五棱柱", [](CHalvixDoc& doc) { doc.OnPrismPentagonRegular(); }},
    {u"三棱锥", [](CHalvixDoc& doc) { doc.OnPyramid(); }},
    {u"正四棱锥", [](CHalvixDoc& doc) { doc.OnPyramidSquareRegular(); }},
    {u"正三棱锥", [](CHalvixDoc& doc) { doc.OnPyramidTriangleRegular(0); }},
    {u"正四面体", [](CHalvixDoc& doc) { doc.OnTetrahedronRegular(0); }},
    {u"三棱台", [](CHalvixDoc& doc) { doc.OnPyramidFrustum(); }},
    {u"正六棱台", [](CHalvixDoc& doc) { doc.OnFrustumHexagonRegular(); }},
};

void BuildPolyhedra(CHalvixDoc& doc) {
    for (size_t i = 0; i < std::size(kPolyhedra); ++i) {
        CGPage* page = i == 0 ? doc.GetPage(0) : NewPage(doc, kPolyhedra[i].title);
        page->m_title = kPolyhedra[i].title;
        page->ClearSelection();
        kPolyhedra[i].build(doc);
    }
}

// The sphere with its teaching figure; the plain sphere on the frame; a circle through three points
// crossed by a segment, with the trisection points of a chord; the horizontal circle.
void BuildSpheresAndCircles(CHalvixDoc& doc) {
    doc.GetPage(0)->m_title = u"球体";
    doc.OnCreateBall();
    CGPage* page = NewPage(doc, u"球与标架");
    doc.OnCreateGeo();
    doc.OnCreateBase();
    page = NewPage(doc, u"圆与交点");
    {
        Builder b(page);
        const WORD a = b.Point(u"A", -6, -4, 0), bb = b.Point(u"B", 6, -4, 0), c = b.Point(u"C", 0, 7, 0);
        Select(page, {a, bb, c});
        doc.OnCreateCircle3p();
        const WORD circle = WORD(page->m_nextId - 1);
        const WORD chord = b.Segment(a, bb);
        const WORD d = b.Point(u"D", -10, 1, 0), e = b.Point(u"E", 10, 3, 0);
        const WORD line = b.Segment(d, e);
        Select(page, {line, circle});
        doc.OnPointIntersection();
        Select(page, {chord});
        doc.OnPointDiv3();
        page->ClearSelection();
    }
    page = NewPage(doc, u"水平圆");
    doc.OnCreateCirclePnz2();
}

// A pyramid P-ABCD with a formula text of its volume, the label of P as a formula, the vectors PA
// and PC with their sum, cross product and the normal of the base, a picture and a command button
// that goes on to the next page; there, a table of three rows and four columns with a heading.
CGTbMtfText* FormulaText(Builder& b, const char16_t* markup, float x, float y) {
    auto* text = new CGTbMtfText(b.Page()->m_nextId, markup, RGB(255, 255, 255), 1);
    text->m_kind = 4;
    text->m_labelPos[0] = x;
    text->m_labelPos[1] = y;
    b.Add(text);
    return text;
}

void BuildTextsAndVectors(CHalvixDoc& doc) {
    CGPage* page = doc.GetPage(0);
    {
        Builder b(page);
        const WORD a = b.Point(u"A", -5, -5, 0), bb = b.Point(u"B", 5, -5, 0), c = b.Point(u"C", 5, 5, 0),
                   d = b.Point(u"D", -5, 5, 0), p = b.Point(u"P", 0, 0, 8);
        b.Edges({a, bb, c, d});
        for (WORD corner : {a, bb, c, d})
            b.Segment(p, corner);
        // The base and the sides only hide what lies behind them, so that the back edges are dashed.
        b.Face({a, bb, c, d}, kBaseColor, CGFace::kStyleDepthOnly);
        b.Face({p, a, bb}, kBaseColor, CGFace::kStyleDepthOnly);
        b.Face({p, bb, c}, kBaseColor, CGFace::kStyleDepthOnly);
        b.Face({p, c, d}, kBaseColor, CGFace::kStyleDepthOnly);
        b.Face({p, d, a}, kBaseColor, CGFace::kStyleDepthOnly);
        FormulaText(b, u"<#><l><e>V=</e><f><#><l><e>1</e></l></#><#><l><e>3</e></l></#></f><e>Sh</e></l></#>",
                    -16.0f, -10.0f);
        b.Add(new CGTbMhc(page->m_nextId, u"<#><l><e>P(0,0,h)</e></l></#>", RGB(255, 255, 255), p));
        const WORD pa = b.Add(new CGTmVectorPP(page->m_nextId, p, a));
        const WORD pc = b.Add(new CGTmVectorPP(page->m_nextId, p, c));
        Select(page, {pa, pc});
        doc.OnMeasureVectorSum();
        Select(page, {pa, pc});
        doc.OnMeasureVectorCross();
        Select(page, {a, bb, c});
        doc.OnMeasureVectorNormal();
        // A small picture: a colour ramp with a dark frame.
        QImage ramp(96, 64, QImage::Format_RGB32);
        for (int y = 0; y < ramp.height(); ++y)
            for (int x = 0; x < ramp.width(); ++x)
                ramp.setPixel(x, y, qRgb(80 + x, 120 + y, 230 - x));
        QPainter painter(&ramp);
        painter.setPen(QColor(40, 40, 60));
        painter.drawRect(0, 0, ramp.width() - 1, ramp.height() - 1);
        painter.end();
        auto* picture = new CGTbImage(page->m_nextId, ramp.width(), ramp.height(), HxPictureRows(ramp));
        picture->m_labelPos[0] = 12.0f;
        picture->m_labelPos[1] = -11.0f;
        b.Add(picture);
        auto* next = new CGButnCommand(page->m_nextId, u"下一页：表格", {32776, 32862}, 12);
        b.Add(next);
        page->ClearSelection();
    }
    page = NewPage(doc, u"表格");
    page->BuildTable(3, 4, FALSE, 0.0f, 0.0f, nullptr, nullptr);
    Builder b(page);
    FormulaText(b, u"<#><l><e>棱柱、棱锥的体积</e></l></#>", -6.0f, 11.0f);
}

constexpr QFileDevice::Permissions kWritable = QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kSearchable =
    QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

// Readable by all, and with what is asked for besides.
void SetPermissions(const QString& path, QFileDevice::Permissions more) {
    const QFileDevice::Permissions readable =
        QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!QFile::setPermissions(path, readable | more)) {
        std::fprintf(stderr, "halvix_make_samples: cannot set the permissions of %s\n",
                     path.toLocal8Bit().constData());
        g_failed = true;
    }
}

void Save(CHalvixDoc& doc, const QString& folder, const char16_t* name) {
    if (!doc.GetPage(0))
        return;
    doc.SetCurrentPage(doc.GetPage(0));
    const QString path = folder + QLatin1Char('/') + QString::fromStdU16String(name) + QStringLiteral(".hvx");
    if (!doc.OnSaveDocument(CString::FromQString(path))) {
        std::fprintf(stderr, "halvix_make_samples: cannot write %s\n", path.toLocal8Bit().constData());
        g_failed = true;
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "halvix_make_samples: cannot make %s\n", argv[1]);
        return 1;
    }
    // The samples of an earlier build are read-only, and so is their folder: writable again while
    // they are written anew.
    SetPermissions(folder, kWritable | kSearchable);
    for (const QFileInfo& old : QDir(folder).entryInfoList({QStringLiteral("*.hvx")}, QDir::Files))
        SetPermissions(old.absoluteFilePath(), kWritable);
    // A sample must build without a single message: any would be a fault of the samples.
    HxSetMessageBoxHandler([](const CString& text, const CString&, UINT) {
        std::fprintf(stderr, "halvix_make_samples: %s\n", text.ToQString().toLocal8Bit().constData());
        g_failed = true;
        return IDOK;
    });
    HxSetScreenSizeOverride(1920, 1080);
    EnsureVertexArray(200);
    g_userName = u"Halvix";

    CHalvixDoc doc;
    StartDocument(doc, u"正方体的对角截面",
                  u"正方体ABCD-"
                  u"A1B1C1D1与它的对角截面AA1C1C。拖动顶点A或B，或拖动D使它绕棱AB转动，正方体随之改变，截面始"
                  u"终是它的对角截面。");
    BuildCube(doc, true);
    Save(doc, folder, u"1-正方体的对角截面");

    StartDocument(doc, u"棱锥的中心与垂足",
                  u"三棱锥P-ABC：底面的重心G、外心O、内心I、垂心H，高的垂足Q，P到AB的垂足E。");
    {
        Builder b(doc.GetPage(0));
        BuildPyramid(b);
    }
    Save(doc, folder, u"2-棱锥的中心与垂足");

    StartDocument(doc, u"过三点的圆", u"过A、B、C三点的圆及其圆心O，过A、B、D三点的圆。");
    {
        Builder b(doc.GetPage(0));
        BuildCircles(b);
    }
    Save(doc, folder, u"3-过三点的圆");

    StartDocument(doc, u"平移与旋转",
                  u"三角形ABC按向量MN平移为A'B'C'，A'B'C'又绕轴OU旋转120°；拖动A、B、C，各副本随之改变。");
    {
        Builder b(doc.GetPage(0));
        BuildTransforms(doc, b);
    }
    Save(doc, folder, u"4-平移与旋转");

    StartDocument(doc, u"正方体", u"一节课的几页：正方体，它的对角截面，三棱锥与它的高，过三点的圆。");
    {
        BuildCube(doc, false);
        NewPage(doc, u"对角截面");
        BuildCube(doc, true);
        Builder third(NewPage(doc, u"棱锥"));
        BuildPyramid(third);
        Builder fourth(NewPage(doc, u"过三点的圆"));
        BuildCircles(fourth);
    }
    Save(doc, folder, u"5-多页的课件");
    StartDocument(doc, u"圆柱、圆锥与圆台",
                  u"由轴上两点画出的圆柱、圆锥、圆台，由球心与北极点画出的球；拖动各点，旋转体随之改变。"
                  u"第二页是旋转体的四种显示方式：立几模式、实线网格、光照处理、半透明材质。");
    {
        Builder first(doc.GetPage(0));
        BuildSolidsOnPoints(doc, first);
        Builder second(NewPage(doc, u"四种显示方式"));
        BuildDisplayStyles(second);
    }
    Save(doc, folder, u"6-旋转体");
    HxResetAutoColors();
    StartDocument(
        doc, u"长方体",
        u"立体菜单画出的多面体，每页一个：长方体、正方体、平行六面体、轴向长方体、三棱柱、正五棱柱、"
        u"三棱锥、正四棱锥、正三棱锥、正四面体、三棱台、正六棱台。拖动自由点，它们保持自己的形状。");
    BuildPolyhedra(doc);
    Save(doc, folder, u"7-多面体");
    StartDocument(
        doc, u"球体",
        u"球体及其经线、纬线与直角三角形；带赤道的球与空间标架；过三点的圆与直线的交点、弦的三等分点；"
        u"水平放置的圆。");
    BuildSpheresAndCircles(doc);
    Save(doc, folder, u"8-球、圆与标架");
    StartDocument(
        doc, u"谢尔宾斯基三角形",
        u"三角形ABC按三个映射（到各角上的小三角形）迭代四层，每层一种颜色；拖动A、B、C，整个图形随之改变。"
        u"第二页是线段PQ随圆上的点P运动时的形迹。");
    {
        Builder first(doc.GetPage(0));
        BuildIteration(doc, first);
        Builder second(NewPage(doc, u"形迹"));
        BuildTrace(doc, second);
    }
    Save(doc, folder, u"9-迭代与形迹");
    StartDocument(doc, u"文本与向量",
                  u"四棱锥P-ABCD：公式文本（体积公式、随点P的标签）、向量PA与PC及其和与向量积、底面的法向量、"
                  u"一张图片和转到下一页的命令按钮；第二页是一个三行四列的表格。");
    BuildTextsAndVectors(doc);
    Save(doc, folder, u"10-文本与向量");
    doc.DeleteContents();
    // As an installed program's: a sample opened and changed is saved under a name of the user's
    // elsewhere, never over the sample.
    for (const QFileInfo& sample : QDir(folder).entryInfoList({QStringLiteral("*.hvx")}, QDir::Files))
        SetPermissions(sample.absoluteFilePath(), QFileDevice::Permissions());
    SetPermissions(folder, kSearchable);
    return g_failed ? 1 : 0;
}
