// Fuzz target: arbitrary bytes offered on the clipboard as a block of copied objects or a copied
// page, pasted into a new document.  A refused block changes nothing; a pasted one can be undone
// and redone, and the document holding it stores and loads again.
#include "document/halvix_doc.h"
#include "model/cell_clipboard.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

CMemoryClipboard& Clipboard() {
    static CMemoryClipboard* clipboard = [] {
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        HxSetScreenSizeOverride(1920, 1080);
        auto* c = new CMemoryClipboard;
        HxSetClipboardBackend(c);
        return c;
    }();
    return *clipboard;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemoryClipboard& clipboard = Clipboard();
    CHalvixDoc doc;
    doc.OnNewDocument();
    doc.OnInitialUpdate();
    CGPage* page = g_pCurPage;
    Check(page != nullptr);
    const int cells = page->m_cells.GetCount();
    clipboard.SetData(HxCellClipboardFormat(), std::vector<BYTE>(data, data + size));
    doc.OnEditPaste();
    if (doc.GetPageCount() == 1 && g_pCurPage == page && page->m_cells.GetCount() > cells) {
        const int pasted = page->m_cells.GetCount();
        Check(page->m_cmdProcessor.Undo());
        Check(page->m_cells.GetCount() == cells);
        Check(page->m_cmdProcessor.Redo());
        Check(page->m_cells.GetCount() == pasted);
    } else if (doc.GetPageCount() == 1) {
        Check(g_pCurPage == page && page->m_cells.GetCount() == cells);
    }
    std::vector<BYTE> stored = doc.StoreToBytes();
    CMemFile again(stored);
    Check(doc.ReadDocument(again, u"fuzz.hvx", FALSE));
    return 0;
}
