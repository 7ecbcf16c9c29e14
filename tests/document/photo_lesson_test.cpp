// A lesson of camera photos, one a page, inserted as 插入图片 inserts them: saved as a file larger
// than any document of points and lines, and opened again with every picture's pixels as they were,
// and so is its ".gf" copy.  An untitled lesson of one picture saved as a ".gf" copy and then saved
// again under that name opens with every pixel, and so does the copy.
#include "document_test_support.h"

#include "measure/text_items.h"
#include "view/picture_commands.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
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

// The one picture item (photo or bitmap text) of the page, or null.
CGTextbit* OnlyPictureOf(CGPage* page) {
    if (page->m_cells.GetCount() != 1)
        return nullptr;
    WORD id;
    CGCell* cell;
    POSITION pos = page->m_cells.GetStartPosition();
    page->m_cells.GetNextAssoc(pos, id, cell);
    return DYNAMIC_DOWNCAST(CGTextbit, cell);
}

// Dark strokes on white that reach every edge, so that the bitmap text pasted from it keeps the
// whole size.
QImage StrokesReachingTheEdges(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            if (edge || (x * 7 + y * 13) % 5 == 0 || (x / 9 + y / 4) % 3 == 0)
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return image;
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

// An untitled lesson of one picture: 保存 .gf 副本 names it after the copy, and 保存 then writes the
// present layout to that name without a dialog.  Opened with the open command that takes both kinds
// of file, the copy and the file saved over it show the same picture as the lesson, byte for byte.
TEST_F(PhotoLessonTest, AnUntitledLessonSavedUnderItsGfCopysNameOpensWithEveryPixel) {
    g_clientWidth = 1600;
    g_clientHeight = 900;
    struct Case {
        const char* what;
        bool bitmapText;
        int width, height;
    };
    for (const Case& c :
         {Case{"photo 100 x 100", false, 100, 100}, Case{"photo 4000 x 3000", false, 4000, 3000},
          Case{"bitmap text 600 x 200", true, 600, 200}}) {
        SCOPED_TRACE(c.what);
        m_doc->SetModifiedFlag(FALSE);
        ASSERT_TRUE(m_doc->NewDocumentFile());
        if (c.bitmapText) {
            QGuiApplication::clipboard()->setImage(StrokesReachingTheEdges(c.width, c.height));
            ASSERT_TRUE(HxPasteBitmapText(m_doc.get()));
        } else {
            std::vector<BYTE> rows(size_t(CGTextbit::PictureRowBytes(c.width) * c.height));
            for (size_t k = 0; k < rows.size(); ++k)
                rows[k] = PhotoByte(k, c.width);
            ASSERT_TRUE(m_doc->InsertImage(c.width, c.height, std::move(rows)));
        }
        const CGTextbit* made = OnlyPictureOf(g_pCurPage);
        ASSERT_NE(made, nullptr);
        ASSERT_EQ(made->m_width, c.width);
        ASSERT_EQ(made->m_height, c.height);
        const std::vector<BYTE> pixels = made->m_bits;
        const CRuntimeClass* pictureClass = made->GetRuntimeClass();
        const long long rowBytes =
            c.bitmapText ? CGTextbit::BitmapRowBytes(c.width) : CGTextbit::PictureRowBytes(c.width);
        ASSERT_EQ(pixels.size(), size_t(rowBytes * c.height));

        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        auto path = [&](const char16_t* name) {
            return CString::FromQString(dir.filePath(QString::fromUtf16(name)));
        };
        const CString lesson = path(u"课件.gf");
        CString chosen;
        int dialogs = 0;
        HxSetDialogRunner([&](CDialog& dlg) {
            ++dialogs;
            auto* files = DYNAMIC_DOWNCAST(CFileDialog, &dlg);
            if (!files || chosen.IsEmpty())
                return INT_PTR(IDCANCEL);
            files->SetResult(chosen);
            return INT_PTR(IDOK);
        });
        chosen = path(u"课件");
        m_doc->OnFileSaveGf();
        ASSERT_EQ(dialogs, 1);
        ASSERT_EQ(m_doc->GetPathName(), lesson) << "an untitled lesson takes the name of its copy";
        // The copy as 保存 .gf 副本 wrote it, kept aside.
        ASSERT_TRUE(QFile::copy(lesson.ToQString(), path(u"副本.gf").ToQString()));

        chosen.Empty();
        m_doc->SetModifiedFlag();
        m_doc->OnFileSave();
        EXPECT_EQ(dialogs, 1) << "保存 writes to the lesson's name without a dialog";
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_TRUE(m_messages.empty());

        for (const char16_t* name : {u"副本", u"课件"}) {
            SCOPED_TRACE(QString::fromUtf16(name).toStdString());
            m_doc->AppendPage(u"多出的一页");
            m_doc->SetModifiedFlag(FALSE);
            chosen = path(name) + u".gf";
            m_doc->OnFileOpenAll();
            EXPECT_TRUE(m_messages.empty());
            EXPECT_EQ(m_doc->GetPathName(), path(name) + u".hvx") << "a .gf file opens under the .hvx name";
            ASSERT_EQ(m_doc->GetPageCount(), 1) << "the lesson took the open document's place";
            const CGTextbit* opened = OnlyPictureOf(m_doc->GetPage(0));
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(opened->GetRuntimeClass(), pictureClass);
            EXPECT_EQ(opened->m_width, c.width);
            EXPECT_EQ(opened->m_height, c.height);
            ASSERT_EQ(opened->m_bits.size(), pixels.size());
            EXPECT_TRUE(opened->m_bits == pixels) << "the pixels are those of the lesson";
        }
        HxSetDialogRunner(nullptr);
    }
}
