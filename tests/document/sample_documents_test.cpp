// The sample documents beside the program: each opens through the document's open path without a
// message, with every object valid, and holds the figure its name promises; they are read-only;
// the cube stays a cube, with a plane diagonal section, whatever its caption invites to drag.
#include "document_test_support.h"

#include "model/constrained_points.h"
#include "model/face.h"
#include "platform/file.h"

#include <QDir>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

int CountOfClass(CGPage* page, const char* name) {
    int count = 0;
    for (WORD id : page->m_cells.Keys())
        for (const CRuntimeClass* c = page->FindCell(id)->GetRuntimeClass(); c; c = c->m_pBaseClass)
            if (std::strcmp(c->m_lpszClassName, name) == 0) {
                ++count;
                break;
            }
    return count;
}

CGVertex* PointNamed(CGPage* page, const CString& name) {
    for (WORD id : page->m_cells.Keys())
        if (auto* point = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(id)); point && point->m_name == name)
            return point;
    return nullptr;
}

struct Vec {
    double x, y, z;
};
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(Vec a) {
    return std::sqrt(Dot(a, a));
}

// Checks that the eight named corners are a cube and its diagonal section AA1C1C lies in a plane.
void ExpectCube(CGPage* page, const char* when) {
    auto at = [&](const char16_t* name) {
        const CGVertex* p = PointNamed(page, name);
        EXPECT_NE(p, nullptr) << CString(name).ToUtf8();
        EXPECT_TRUE(p && p->m_valid) << CString(name).ToUtf8() << " " << when;
        return p ? Vec{p->m_x, p->m_y, p->m_z} : Vec{0, 0, 0};
    };
    const Vec A = at(u"A"), B = at(u"B"), C = at(u"C"), D = at(u"D");
    const Vec A1 = at(u"A1"), B1 = at(u"B1"), C1 = at(u"C1"), D1 = at(u"D1");
    const double edge = Length(B - A);
    ASSERT_GT(edge, 1.0) << when;
    const double tolerance = 1e-4 * edge;
    const Vec edges[12][2] = {{A, B},   {B, C},   {C, D},  {D, A},  {A1, B1}, {B1, C1},
                              {C1, D1}, {D1, A1}, {A, A1}, {B, B1}, {C, C1},  {D, D1}};
    for (const auto& e : edges)
        EXPECT_NEAR(Length(e[1] - e[0]), edge, tolerance) << when;
    // Square corners at A between the three edges, and at C and C1 within their faces.
    EXPECT_NEAR(Dot(B - A, D - A), 0.0, tolerance * edge) << when;
    EXPECT_NEAR(Dot(B - A, A1 - A), 0.0, tolerance * edge) << when;
    EXPECT_NEAR(Dot(D - A, A1 - A), 0.0, tolerance * edge) << when;
    EXPECT_NEAR(Dot(B - C, D - C), 0.0, tolerance * edge) << when;
    EXPECT_NEAR(Dot(B1 - C1, D1 - C1), 0.0, tolerance * edge) << when;
    // C1 in the plane of A, C and A1.
    const Vec normal = Cross(C - A, A1 - A);
    EXPECT_NEAR(Dot(normal, C1 - A) / Length(normal), 0.0, tolerance) << when;
}

// A free point moved as a drag moves it, and everything built on it recomputed.
void Drag(CGPage* page, CGVertex* point, const std::function<void()>& move) {
    move();
    point->SyncVertex();
    page->m_recomputeIds.clear();
    point->MarkDescendants();
    page->CollectMarkedIds(page->m_recomputeIds);
    page->UpdateCellsById(page->m_recomputeIds);
}

} // namespace

TEST_F(DocumentTest, TheSamplesAreReadOnlyAndTheCubeStaysACube) {
    const QDir folder(QStringLiteral(HALVIX_SAMPLES_DIR));
    EXPECT_TRUE(HxIsReadOnlyPath(folder.path()));
    for (const QString& name : folder.entryList({QStringLiteral("*.hvx")}, QDir::Files))
        EXPECT_TRUE(HxIsReadOnlyPath(folder.filePath(name))) << name.toStdString();

    for (const char* sample : {"1-正方体的对角截面", "5-多页的课件"}) {
        const QString path = folder.filePath(QString::fromUtf8(sample) + QStringLiteral(".hvx"));
        ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(path), FALSE)) << sample;
        CGPage* page = m_doc->GetPage(0);
        ExpectCube(page, "as opened");
        CGVertex* A = PointNamed(page, u"A");
        CGVertex* B = PointNamed(page, u"B");
        auto* D = DYNAMIC_DOWNCAST(CGVerFreeUprightEquid, PointNamed(page, u"D"));
        ASSERT_TRUE(A && B && D) << "A and B free, D turning about AB";
        EXPECT_TRUE(A->IsKindOf(RUNTIME_CLASS(CGVerFree)) && B->IsKindOf(RUNTIME_CLASS(CGVerFree)));
        EXPECT_TRUE(B->IsKindOf(RUNTIME_CLASS(CGVerFreeHenchman))) << "the cube command's B follows A";
        // The cube command's six faces, shown and only hiding what lies behind them (so that the
        // back edges are dashed), and with the section its translucent face, shown too.
        int faces = 0, shown = 0, depthOnly = 0;
        for (WORD id : page->m_cells.Keys())
            if (const auto* face = DYNAMIC_DOWNCAST(CGFace, page->FindCell(id))) {
                ++faces;
                shown += face->m_hidden ? 0 : 1;
                depthOnly += face->m_style == CGFace::kStyleDepthOnly ? 1 : 0;
            }
        EXPECT_EQ(faces, sample[0] == '1' ? 7 : 6) << sample;
        EXPECT_EQ(shown, faces) << sample;
        EXPECT_EQ(depthOnly, 6) << sample;
        for (const char16_t* tied : {u"C", u"A1", u"B1", u"C1", u"D1"})
            EXPECT_FALSE(PointNamed(page, tied)->IsKindOf(RUNTIME_CLASS(CGVerFree)))
                << CString(tied).ToUtf8();
        Drag(page, A, [&] { A->SetPosition(A->m_x - 3.0f, A->m_y + 1.5f, A->m_z + 2.0f); });
        ExpectCube(page, "A dragged");
        Drag(page, B, [&] { B->SetPosition(B->m_x + 4.0f, B->m_y + 6.0f, B->m_z - 1.0f); });
        ExpectCube(page, "B dragged");
        Drag(page, D, [&] { D->m_param1 = 0.9f; });
        ExpectCube(page, "D turned");
    }
}

TEST_F(DocumentTest, TheSamplesOpenWithoutAMessageAndShowTheirFigures) {
    const QDir folder(QStringLiteral(HALVIX_SAMPLES_DIR));
    const QStringList files = folder.entryList({QStringLiteral("*.hvx")}, QDir::Files, QDir::Name);
    const struct {
        const char* name;
        int pages;
        const char* cls; // on the first page
        int count;
    } samples[] = {
        {"1-正方体的对角截面", 1, "CGFace", 7},  {"2-棱锥的中心与垂足", 1, "CGVerIncenter", 1},
        {"3-过三点的圆", 1, "CGArcCircle3P", 2}, {"4-平移与旋转", 1, "CGVerTranslate", 3},
        {"5-多页的课件", 4, "CGFace", 6},        {"6-旋转体", 2, "CGArcPointN", 5},
        {"7-多面体", 12, "CGFace", 6},           {"8-球、圆与标架", 4, "CGSphereCN", 1},
        {"9-迭代与形迹", 2, "CGIterate", 1},     {"10-文本与向量", 2, "CGTbMtfText", 2},
    };
    ASSERT_EQ(files.size(), int(std::size(samples)));
    for (const auto& s : samples) {
        const QString name = QString::fromUtf8(s.name) + QStringLiteral(".hvx");
        ASSERT_TRUE(files.contains(name)) << s.name;
        m_messages.clear();
        ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(folder.filePath(name)), FALSE)) << s.name;
        EXPECT_TRUE(m_messages.empty()) << s.name;
        ASSERT_EQ(m_doc->GetPageCount(), s.pages) << s.name;
        EXPECT_EQ(CountOfClass(m_doc->GetPage(0), s.cls), s.count) << s.name;
        for (int i = 0; i < s.pages; ++i) {
            CGPage* page = m_doc->GetPage(i);
            EXPECT_GT(page->m_cells.GetCount(), 0) << s.name << " page " << i;
            for (WORD id : page->m_cells.Keys())
                EXPECT_TRUE(page->FindCell(id)->m_valid) << s.name << " page " << i << " cell " << id;
        }
    }
    // The rotated copies of the translated triangle; the centres and feet of the pyramid.
    ASSERT_TRUE(m_doc->OpenDocumentFile(
        CString::FromQString(folder.filePath(QStringLiteral("4-平移与旋转.hvx"))), FALSE));
    EXPECT_EQ(CountOfClass(m_doc->GetPage(0), "CGVerRotateX"), 3);
    ASSERT_TRUE(m_doc->OpenDocumentFile(
        CString::FromQString(folder.filePath(QStringLiteral("2-棱锥的中心与垂足.hvx"))), FALSE));
    int centresAndFeet = 0;
    for (const char* cls :
         {"CGVerBarycenter", "CGVerExcenter", "CGVerOrthocenter", "CGVerFootpf", "CGVerFootpl"})
        centresAndFeet += CountOfClass(m_doc->GetPage(0), cls);
    EXPECT_EQ(centresAndFeet, 5);

    // The polyhedra, one a page as their commands build them.
    ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(folder.filePath(QStringLiteral("7-多面体.hvx"))),
                                        FALSE));
    const int cells[12] = {26, 26, 26, 26, 20, 36, 15, 19, 15, 14, 21, 41};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(m_doc->GetPage(i)->m_cells.GetCount(), cells[i]) << i;
    EXPECT_EQ(m_doc->GetPage(11)->m_title, CString(u"正六棱台"));
}

// The solids of the samples are drawn as a textbook draws them: no face of theirs is hidden (a hidden
// face hides nothing), and the pyramids have sides that only hide what lies behind them.
TEST_F(DocumentTest, TheSamplesSolidsHideTheirBackEdges) {
    const QDir folder(QStringLiteral(HALVIX_SAMPLES_DIR));
    for (const QString& name : folder.entryList({QStringLiteral("*.hvx")}, QDir::Files, QDir::Name)) {
        ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(folder.filePath(name)), FALSE))
            << name.toStdString();
        for (int i = 0; i < m_doc->GetPageCount(); ++i) {
            CGPage* page = m_doc->GetPage(i);
            for (WORD id : page->m_cells.Keys()) {
                if (const auto* face = DYNAMIC_DOWNCAST(CGFace, page->FindCell(id))) {
                    EXPECT_EQ(face->m_hidden, 0) << name.toStdString() << " page " << i << " face " << id;
                }
            }
        }
    }
    const struct {
        const char* name;
        int page;
        int depthOnly; // the sides, and the base where it is not translucent
    } pyramids[] = {{"2-棱锥的中心与垂足", 0, 3}, {"5-多页的课件", 2, 3}, {"10-文本与向量", 0, 5}};
    for (const auto& p : pyramids) {
        const QString path = folder.filePath(QString::fromUtf8(p.name) + QStringLiteral(".hvx"));
        ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(path), FALSE)) << p.name;
        CGPage* page = m_doc->GetPage(p.page);
        int depthOnly = 0;
        for (WORD id : page->m_cells.Keys())
            if (const auto* face = DYNAMIC_DOWNCAST(CGFace, page->FindCell(id)))
                depthOnly += face->m_style == CGFace::kStyleDepthOnly ? 1 : 0;
        EXPECT_EQ(depthOnly, p.depthOnly) << p.name;
        EXPECT_NE(PointNamed(page, u"P"), nullptr) << p.name;
    }
}
