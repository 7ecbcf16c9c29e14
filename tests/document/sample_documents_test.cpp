// The sample documents beside the program: each opens through the document's open path without a
// message, with every object valid, and holds the figure its name promises.
#include "document_test_support.h"

#include <QDir>

#include <cstring>

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

} // namespace

TEST_F(DocumentTest, TheSamplesOpenWithoutAMessageAndShowTheirFigures) {
    const QDir folder(QStringLiteral(HALVIX_SAMPLES_DIR));
    const QStringList files = folder.entryList({QStringLiteral("*.hvx")}, QDir::Files, QDir::Name);
    const struct {
        const char* name;
        int pages;
        const char* cls; // on the first page
        int count;
    } samples[] = {
        {"1-正方体的对角截面", 1, "CGFace", 1},  {"2-棱锥的中心与垂足", 1, "CGVerIncenter", 1},
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
