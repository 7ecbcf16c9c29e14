// Printing the document: each drawing page is made current in turn, drawn and read back before the
// job starts; each sheet then frames and scales one of these pictures.  The print commands (with the
// print dialog, straight to the default printer, and the preview) and the printers they reach.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "model/page.h"
#include "view/print_sheet.h"
#include "view/view_globals.h"
#include "view/view_ids.h"
#include "view/view_tool_globals.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

HxPrintServices DefaultPrintServices() {
    HxPrintServices s;
    s.makePrinter = [](const CString& name) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!name.IsEmpty())
            printer->setPrinterName(name.ToQString());
        return printer;
    };
    s.runPrintDialog = [](QPrinter& printer, QWidget* parent, int minPage, int maxPage) {
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(minPage, maxPage);
        return dialog.exec() == QDialog::Accepted;
    };
    s.runPreview = [](QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& paint) {
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(QStringLiteral("打印预览"));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, paint);
        preview.exec();
    };
    return s;
}

// What a failed job says: a machine without any printer is named as the cause, unless the job was
// to go into a file.  (Without a printer Qt makes the default printer a PDF writer with no file
// name, so the output format alone does not tell.)
CString PrintFailureText(const QPrinter& printer) {
    if (printer.outputFileName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty())
        return u"没有可用的打印机，打印失败！";
    return u"打印失败！";
}

} // namespace

HxPrintServices& HxGetPrintServices() {
    static HxPrintServices services = DefaultPrintServices();
    return services;
}

void HxResetPrintServices() {
    HxGetPrintServices() = DefaultPrintServices();
}

BOOL CHalvixView::RenderPagesForPrinting() {
    CHalvixDoc* doc = m_pDocument;
    if (!doc || doc->GetPageCount() == 0)
        return FALSE;
    CGPage* remembered = g_pCurPage;
    if (remembered) {
        // The camera of the page printing starts from comes back with it afterwards (whichever page
        // that is).
        doc->KeepCurrentPageView();
        if (remembered != doc->GetPage(0)) {
            remembered->ResetButtonStates();
            g_tracing = FALSE;
            g_traceImageEmpty = 1;
            OnEraseInk();
        }
    }
    CloseRunningTool();
    if (g_pCurPage)
        g_pCurPage->ClearSelection();
    for (int i = 0; i < doc->GetPageCount(); ++i) {
        CGPage* page = doc->GetPage(i);
        doc->ShowPageForPrinting(page);
        RenderSceneNow();
        QImage image(g_clientWidth, g_clientHeight, QImage::Format_RGB32);
        if (image.isNull())
            break;
        RenderSceneNow();
        image = ReadFrameBox(0, 0, g_clientWidth, g_clientHeight);
        if (image.isNull())
            break;
        m_printImages.push_back(image);
        m_printTitles.push_back(page->m_title);
        // Left as a page switch leaves a page: its start button, pressed for the picture, stops,
        // so that the next visit (or the return below) starts it afresh rather than stopping it.
        page->ResetButtonStates();
    }
    if (remembered)
        doc->SetCurrentPage(remembered);
    RenderScene();
    return TRUE;
}

void CHalvixView::OnBeginPrinting() {
    m_printImages.clear();
    m_printTitles.clear();
    RenderPagesForPrinting();
}

void CHalvixView::OnPrint(CPrintSheet& sheet, const QRect& pageRect, int n) {
    HxDrawPrintSheet(sheet, pageRect, n, m_printImages, m_printTitles);
}

void CHalvixView::OnEndPrinting() {
    m_printImages.clear();
    m_printTitles.clear();
}

int CHalvixView::PrintDocument(CPrintJob& job, int from, int to) {
    OnBeginPrinting();
    int printed = 0;
    for (int n = from; n <= to; ++n) {
        if (n > from && !job.NewSheet())
            break;
        OnPrint(job, job.PageRect(), n);
        ++printed;
    }
    OnEndPrinting();
    return printed;
}

bool CHalvixView::PrintTo(QPrinter& printer) {
    if (!m_pDocument || !printer.isValid())
        return false;
    const int count = m_pDocument->GetPageCount();
    int from = 1, to = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(count, std::max(from, printer.toPage()));
    }
    if (from > to)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    CPainterPrintJob job(painter, page, [&printer] { return printer.newPage(); });
    PrintDocument(job, from, to);
    return painter.end();
}

void CHalvixView::OnFilePrint() {
    if (!m_pDocument)
        return;
    std::unique_ptr<QPrinter> printer = HxGetPrintServices().makePrinter(CString());
    if (!printer)
        return;
    printer->setFromTo(0, 0);
    printer->setPrintRange(QPrinter::AllPages);
    // The print dialog offers the pages 1 to the number of pages.
    if (!HxGetPrintServices().runPrintDialog(*printer, window(), 1, m_pDocument->GetPageCount()))
        return;
    if (!PrintTo(*printer))
        AfxMessageBox(PrintFailureText(*printer));
}

void CHalvixView::OnFilePrintDirect() {
    if (!m_pDocument)
        return;
    std::unique_ptr<QPrinter> printer = HxGetPrintServices().makePrinter(CString());
    if (printer && !PrintTo(*printer))
        AfxMessageBox(PrintFailureText(*printer));
}

void CHalvixView::OnFilePrintPreview() {
    if (!m_pDocument)
        return;
    std::unique_ptr<QPrinter> printer = HxGetPrintServices().makePrinter(CString());
    if (!printer)
        return;
    HxGetPrintServices().runPreview(*printer, window(), [this](QPrinter* p) { PrintTo(*p); });
}

void CHalvixView::OnUpdateFilePrint(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pDocument != nullptr && m_pDocument->GetPageCount() > 0);
}
