// A lesson of camera photos, one a page, inserted as 插入图片 inserts them: saved as a file larger
// than any document of points and lines, and opened again with every picture's pixels as they were,
// and so is its ".gf" copy.
#include "document_test_support.h"

#include "measure/text_items.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kPhotoWidth = 4000; // a 12-megapixel camera's picture
constexpr int kPhotoHeight = 3000;
constexpr int kPhotos = 8;

// The rows of photo `index`: every byte depends on its place and on the photo, so that pictures
// swapped between pages, rows shifted or bytes lost all show.
BYTE PhotoByte(size_t place, int index) {
    return BYTE(place * 7 + (place >> 12) * 13 + size_t(index) * 31);
}

std::vector<BYTE> Photo(int index) {
    std::vector<BYTE> rows(size_t(CGTextbit::PictureRowBytes(kPhotoWidth) * kPhotoHeight));
    for (size_t k = 0; k < rows.size(); ++k)
        rows[k] = PhotoByte(k, index);
    return rows;
}

// The first byte of the page's picture that differs from photo `index`, or -1 when all agree.
long long FirstDifference(const CGTbImage& picture, int index) {
    for (size_t k = 0; k < picture.m_bits.size(); ++k)
        if (picture.m_bits[k] != PhotoByte(k, index))
            return static_cast<long long>(k);
    return -1;
}

// The one picture of the page, or null.
CGTbImage* PictureOf(CGPage* page) {
    CGTbImage* found = nullptr;
    for (POSITION pos = page->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        page->m_cells.GetNextAssoc(pos, id, cell);
        if (auto* picture = DYNAMIC_DOWNCAST(CGTbImage, cell)) {
            if (found)
                return nullptr;
            found = picture;
        }
    }
    return found;
}

class PhotoLessonTest : public DocumentTest {};

} // namespace

TEST_F(PhotoLessonTest, EightPagesOfCameraPhotosSaveAndOpenAgainPixelForPixel) {
    g_clientWidth = 1600;
    g_clientHeight = 900;
    for (int i = 0; i < kPhotos; ++i) {
        if (i > 0)
            m_doc->OnNewPage();
        ASSERT_TRUE(m_doc->InsertImage(kPhotoWidth, kPhotoHeight, Photo(i)));
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CString path = CString::FromQString(dir.filePath(QStringLiteral("八张照片.hvx")));
    ASSERT_TRUE(m_doc->DoSave(path));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(m_doc->IsModified());
    // Larger than a quarter of a gigabyte: the rows of the photos are kept as they are.
    EXPECT_GT(QFileInfo(path.ToQString()).size(), qint64(kPhotos) * 36'000'000);

    // Opened again in place of a document that differs from it; then its ".gf" copy the same way.
    const CString copy = CString::FromQString(dir.filePath(QStringLiteral("八张照片.gf")));
    for (const CString& opened : {path, copy}) {
        SCOPED_TRACE(opened.ToQString().toStdString());
        if (opened == copy) {
            HxSetDialogRunner([copy](CDialog& dlg) {
                static_cast<CFileDialog&>(dlg).SetResult(copy);
                return INT_PTR(IDOK);
            });
            m_doc->OnFileSaveGf();
            ASSERT_TRUE(QFileInfo::exists(copy.ToQString()));
        }
        m_doc->AppendPage(u"多出的一页");
        ASSERT_TRUE(m_doc->OpenDocumentFile(opened, FALSE));
        EXPECT_TRUE(m_messages.empty());
        ASSERT_EQ(m_doc->GetPageCount(), kPhotos);
        for (int i = 0; i < kPhotos; ++i) {
            CGTbImage* picture = PictureOf(m_doc->GetPage(i));
            ASSERT_NE(picture, nullptr) << "page " << i;
            EXPECT_EQ(picture->m_width, kPhotoWidth) << "page " << i;
            EXPECT_EQ(picture->m_height, kPhotoHeight) << "page " << i;
            ASSERT_EQ(picture->m_bits.size(), size_t(CGTextbit::PictureRowBytes(kPhotoWidth) * kPhotoHeight))
                << "page " << i;
            EXPECT_EQ(FirstDifference(*picture, i), -1) << "page " << i;
        }
    }
}
