// Printing the document: every page drawn and read back on its own sheet (recorded, and once into a
// PDF file), the print dialog's range and the preview, and what printing leaves behind: the page it
// started from current again with its camera, no selection, no ink, start buttons checked.
#include "view_tools_fixture.h"

#include "dynamics/buttons.h"
#include "dynamics/ink.h"
#include "measure/text_items.h"
#include "view/print_sheet.h"
#include "view/view_ids.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A print job that keeps what each sheet draws.
class CRecordedJob : public CPrintJob {
public:
    struct Sheet {
        std::vector<QRect> frames;
        std::vector<CString> texts;
        std::vector<QImage> images;
    };
    QRect PageRect() const override { return QRect(0, 0, 2100, 2970); }
    bool NewSheet() override {
        m_sheets.emplace_back();
        return true;
    }
    void Rectangle(const QRect& rect) override { Current().frames.push_back(rect); }
    void TextCentred(int, int, const CString& text, int) override { Current().texts.push_back(text); }
    void DrawImage(const QRect&, const QImage& image) override { Current().images.push_back(image); }
    Sheet& Current() {
        if (m_sheets.empty())
            m_sheets.emplace_back();
        return m_sheets.back();
    }
    std::vector<Sheet> m_sheets;
};

// Pixels of a picture that are not the white background.
int Inked(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)).lightness() < 200)
                ++n;
    return n;
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF"))
        return -1;
    return int(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

class PrintTest : public ViewToolsTest {
protected:
    void SetUp() override {
        ViewToolsTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        // Three pages: a point on the first two, the third empty.
        m_pages[0] = m_page;
        AddPoint(0, 0);
        m_doc->OnNewPage();
        m_pages[1] = g_pCurPage;
        m_page = g_pCurPage;
        AddPoint(2, 1);
        m_doc->OnNewPage();
        m_pages[2] = g_pCurPage;
        m_page = g_pCurPage;
        HxGetPrintServices().makePrinter = [this](const CString& name) {
            m_printerNames.push_back(name);
            auto printer = std::make_unique<QPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(PdfPath());
            return printer;
        };
    }
    void TearDown() override {
        HxResetPrintServices();
        ViewToolsTest::TearDown();
    }
    QString PdfPath() const { return m_dir.filePath(QStringLiteral("print.pdf")); }
    void GoTo(int index) {
        m_doc->SetCurrentPage(m_pages[index]);
        m_page = m_pages[index];
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    CGPage* m_pages[3] = {};
    std::vector<CString> m_printerNames;
};

} // namespace

TEST_F(PrintTest, EachPageOnItsOwnSheetWithItsTitleAndNumber) {
    GoTo(0);
    CRecordedJob job;
    ASSERT_EQ(m_view->PrintDocument(job, 1, 3), 3);
    ASSERT_EQ(job.m_sheets.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const CRecordedJob::Sheet& sheet = job.m_sheets[size_t(n - 1)];
        ASSERT_EQ(sheet.frames.size(), 1u);
        EXPECT_EQ(sheet.frames[0], HxLayoutPrintSheet(job.PageRect(), QSize(kWidth, kHeight)).frame);
        EXPECT_EQ(sheet.texts, (std::vector<CString>{m_pages[n - 1]->m_title, HxFormat(u"第 %d 页", n)}));
        ASSERT_EQ(sheet.images.size(), 1u);
        EXPECT_EQ(sheet.images[0].size(), QSize(kWidth, kHeight));
    }
    // The pictures are of their own pages: points on the first two, nothing on the third.
    EXPECT_GT(Inked(job.m_sheets[0].images[0]), 10);
    EXPECT_GT(Inked(job.m_sheets[1].images[0]), 10);
    EXPECT_EQ(Inked(job.m_sheets[2].images[0]), 0);
    EXPECT_NE(job.m_sheets[0].images[0], job.m_sheets[1].images[0]);
    EXPECT_TRUE(m_view->m_printImages.empty()) << "the pictures go with the job";
    // A range prints its own sheets.
    CRecordedJob second;
    ASSERT_EQ(m_view->PrintDocument(second, 2, 3), 2);
    EXPECT_EQ(second.m_sheets[0].texts[1], CString(u"第 2 页"));
}

TEST_F(PrintTest, PrintingFromAPageReturnsToItWithItsCameraNoSelectionAndNoInk) {
    for (int start : {1, 0}) {
        SCOPED_TRACE(start);
        GoTo(start);
        // The camera of this page as the user left it, a selection and some ink.
        g_viewTransX = 1.5f;
        g_viewZoom = 1.25f;
        g_viewRotation[0] = 0.5;
        g_viewRotation[1] = 0.5;
        g_viewRotation[2] = 0.5;
        g_viewRotation[3] = 0.5;
        CGCell* point = m_page->m_cells.GetCount() ? m_page->FindCell(1) : nullptr;
        if (point)
            m_page->SelectCell(point->m_id);
        const float ink[6] = {0, 0, -50, 1, 1, -50};
        m_view->m_inkStrokes.Add(new CStroke(2, ink));
        CRecordedJob job;
        ASSERT_EQ(m_view->PrintDocument(job, 1, 3), 3);
        EXPECT_EQ(g_pCurPage, m_pages[start]);
        EXPECT_FLOAT_EQ(g_viewTransX, 1.5f);
        EXPECT_FLOAT_EQ(g_viewZoom, 1.25f);
        EXPECT_DOUBLE_EQ(g_viewRotation[0], 0.5);
        EXPECT_TRUE(m_page->m_selAll.IsEmpty());
        if (point) {
            EXPECT_FALSE(point->m_selected);
        }
        EXPECT_EQ(m_view->m_inkStrokes.GetSize(), 0);
        EXPECT_EQ(g_traceImageEmpty, 1);
    }
}

TEST_F(PrintTest, APhotoWhoseCornerIsBelowTheViewIsOnItsSheet) {
    // A photo of 120 x 90 pixels, each of its own colour, its lower-left pixel at (20, -10) of the
    // window (y up): the 80 rows above the bottom edge are in the view.
    constexpr int w = 120, h = 90, x0 = 20, y0 = -10;
    auto colour = [](int c, int r) { return qRgb(20 + c, 30 + 2 * r, 100); };
    const size_t rowBytes = size_t(CGTextbit::PictureRowBytes(w));
    std::vector<BYTE> pixels(rowBytes * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            BYTE* at = &pixels[size_t(r) * rowBytes + size_t(c) * 3];
            at[0] = BYTE(qRed(colour(c, r)));
            at[1] = BYTE(qGreen(colour(c, r)));
            at[2] = BYTE(qBlue(colour(c, r)));
        }
    const WORD id = m_pages[0]->m_nextId++;
    auto* photo = new CGTbImage(id, w, h, std::move(pixels));
    m_pages[0]->m_cells.SetAt(id, photo);
    // A quarter pixel past the corner of window pixel (x0, y0), 20 pixels a unit.
    photo->m_labelPos[0] = float((x0 + 0.25 - kWidth / 2) / 20.0);
    photo->m_labelPos[1] = float((y0 + 0.25 - kHeight / 2) / 20.0);
    CRecordedJob job;
    ASSERT_EQ(m_view->PrintDocument(job, 1, 1), 1);
    ASSERT_EQ(job.m_sheets.size(), 1u);
    ASSERT_EQ(job.m_sheets[0].images.size(), 1u);
    const QImage& sheet = job.m_sheets[0].images[0];
    ASSERT_EQ(sheet.size(), QSize(kWidth, kHeight));
    int differing = 0;
    for (int r = -y0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            differing +=
                (sheet.pixel(x0 + c, kHeight - 1 - (y0 + r)) & 0xFFFFFF) != (colour(c, r) & 0xFFFFFF);
    EXPECT_EQ(differing, 0) << "of " << w * (h + y0) << " pixels of the photo";
}

TEST_F(PrintTest, AStartButtonThatIsGoneIsForgotten) {
    m_pages[1]->m_autoButton = 77;
    GoTo(0);
    CRecordedJob job;
    ASSERT_EQ(m_view->PrintDocument(job, 1, 3), 3);
    EXPECT_EQ(m_pages[1]->m_autoButton, 0);
    EXPECT_TRUE(m_pages[1]->m_runningButtons.IsEmpty());
}

TEST_F(PrintTest, StartButtonsArePressedForThePictureAndStartAfreshOnTheReturn) {
    const WORD id = m_pages[1]->m_nextId++;
    // Its commands wait far longer than the test runs between them: however slowly the machine prints,
    // the button is still running when it is looked at.
    auto* start =
        new CGButnCommand(id, u"开始", std::vector<int>{int(ID_VIEW_SNAP), int(ID_VIEW_SNAP)}, 100000);
    m_pages[1]->m_cells.SetAt(id, start);
    m_pages[1]->m_autoButton = id;
    // The page switch presses the start button through the main window: the view stands for it.
    AfxSetMainWnd(m_view.get());
    // From the page itself: its button runs again afterwards.
    GoTo(1);
    HxPumpPostedMessages();
    ASSERT_TRUE(start->m_running);
    CRecordedJob job;
    ASSERT_EQ(m_view->PrintDocument(job, 1, 3), 3);
    HxPumpPostedMessages();
    EXPECT_EQ(g_pCurPage, m_pages[1]);
    EXPECT_TRUE(start->m_running);
    // From another page: the page printed keeps no running button.
    GoTo(0);
    HxPumpPostedMessages();
    ASSERT_FALSE(start->m_running);
    CRecordedJob again;
    ASSERT_EQ(m_view->PrintDocument(again, 1, 3), 3);
    HxPumpPostedMessages();
    EXPECT_FALSE(start->m_running);
    EXPECT_TRUE(m_pages[1]->m_runningButtons.IsEmpty());
    AfxSetMainWnd(nullptr);
}

TEST_F(PrintTest, TheDirectCommandPrintsEveryPageIntoTheDefaultPrinter) {
    ASSERT_TRUE(Update(ID_FILE_PRINT_DIRECT).m_enabled);
    ASSERT_TRUE(Run(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(m_printerNames, (std::vector<CString>{CString()}));
    EXPECT_EQ(PdfPages(PdfPath()), 3);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(g_pCurPage, m_pages[2]);
}

TEST_F(PrintTest, AJobThePrinterRefusesIsReported) {
    HxGetPrintServices().makePrinter = [](const CString&) {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QStringLiteral("/nonexistent-folder/for/print.pdf"));
        return printer;
    };
    ASSERT_TRUE(Run(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(m_messages, (std::vector<CString>{u"打印失败！"}));
    EXPECT_EQ(g_pCurPage, m_pages[2]);
}

TEST_F(PrintTest, WithoutAnyPrinterPrintingSaysSo) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer, which the program's own printing would use";
    // The program's own printer: its default, which is no printer here.
    HxResetPrintServices();
    ASSERT_TRUE(Run(ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(m_messages, (std::vector<CString>{u"没有可用的打印机，打印失败！"}));
    // The print dialog accepted as it stands says the same.
    m_messages.clear();
    HxGetPrintServices().runPrintDialog = [](QPrinter&, QWidget*, int, int) { return true; };
    ASSERT_TRUE(Run(ID_FILE_PRINT));
    EXPECT_EQ(m_messages, (std::vector<CString>{u"没有可用的打印机，打印失败！"}));
    EXPECT_EQ(g_pCurPage, m_pages[2]);
}

TEST_F(PrintTest, ThePrintDialogOffersThePagesAndItsRangeIsPrinted) {
    int offeredMin = 0, offeredMax = 0;
    bool accept = false;
    HxGetPrintServices().runPrintDialog = [&](QPrinter& printer, QWidget*, int minPage, int maxPage) {
        offeredMin = minPage;
        offeredMax = maxPage;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return accept;
    };
    ASSERT_TRUE(Run(ID_FILE_PRINT));
    EXPECT_EQ(offeredMin, 1);
    EXPECT_EQ(offeredMax, 3);
    EXPECT_FALSE(QFile::exists(PdfPath())) << "cancelled";
    accept = true;
    ASSERT_TRUE(Run(ID_FILE_PRINT));
    EXPECT_EQ(PdfPages(PdfPath()), 2);
}

TEST_F(PrintTest, ThePreviewDrawsThePagesItAsksFor) {
    int previews = 0;
    HxGetPrintServices().runPreview = [&](QPrinter& printer, QWidget*,
                                          const std::function<void(QPrinter*)>& paint) {
        ++previews;
        paint(&printer);
    };
    ASSERT_TRUE(Run(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(PdfPages(PdfPath()), 3);
}
