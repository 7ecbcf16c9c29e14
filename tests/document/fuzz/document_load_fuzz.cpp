// Fuzz target: arbitrary bytes read as a document: as a ".hvx" file, and as a ".gf" file (in the older
// layout, or in the present one when the older does not read the whole file).
// A file that is refused must leave the open document as it was; one that loads must run its action
// buttons for a while, sample its surfaces, store and load again, and survive deleting all its cells
// and undoing that. The documents are read as if they lay in a folder of 3DS models (whole, damaged
// and no model at all), so that the models they name are found there and read; a model found nowhere
// is not asked for.
#include "button_runs.h"
#include "surface_samples.h"

#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "platform/shell.h"
#include "support/model3ds_writer.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The folder of models the documents are read from, removed when the run ends.
struct CModelFolder {
    CModelFolder() {
        char name[] = "/tmp/halvix-fuzz-models-XXXXXX";
        if (!mkdtemp(name) || !Write3dsDocumentModels(name))
            std::abort();
        folder = name;
        document = CString::FromUtf8(folder + "/fuzz.hvx");
    }
    ~CModelFolder() {
        for (const char* file : {"cube.3ds", "cut.3ds", "past.3ds", "notes.3ds"})
            std::remove((folder + "/" + file).c_str());
        rmdir(folder.c_str());
    }
    std::string folder;
    CString document;
};

const CString& DocumentPath() {
    static const CModelFolder models;
    return models.document;
}

CHalvixDoc* Document() {
    static CHalvixDoc* doc = [] {
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
        HxSetScreenSizeOverride(1920, 1080);
        // Link buttons open nothing here.
        HxSetShellOpenHandler([](const CString&, const CString&) { return false; });
        auto* d = new CHalvixDoc;
        d->OnNewDocument();
        return d;
    }();
    return doc;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Deletes every cell of the current page as one undoable step, then undoes and redoes it.
void DeleteEverythingAndUndo(CGPage* page) {
    page->SelectAllOfKind(0);
    auto* ids = new CList<WORD, WORD>;
    page->CollectDeletionIds(*ids);
    int count = page->m_cells.GetCount();
    auto* cmd = new CCmdDelCells(ids, u"清除对象");
    page->m_cmdProcessor.Submit(cmd);
    cmd->Redo();
    Check(page->m_cells.IsEmpty());
    Check(page->m_cmdProcessor.Undo());
    Check(page->m_cells.GetCount() == count);
    Check(page->m_cmdProcessor.Redo());
    Check(page->m_cmdProcessor.Undo());
    page->m_cmdProcessor.ClearAll();
}

void TryLoad(const uint8_t* data, size_t size, bool gf) {
    CHalvixDoc* doc = Document();
    CGPage* current = g_pCurPage;
    const int pages = doc->GetPageCount();
    BOOL loaded;
    g_lastDocumentPath = DocumentPath();
    {
        CMemFile file(data, size);
        if (gf) {
            loaded = doc->ReadGfDocument(file, u"fuzz.gf", FALSE);
        } else {
            loaded = doc->ReadDocument(file, u"fuzz.hvx", FALSE);
        }
    }
    Check(!g_saveGfFormat);
    Check(g_storeMtfImages == 0);
    if (!loaded) {
        Check(g_pCurPage == current);
        Check(doc->GetPageCount() == pages);
        return;
    }
    Check(g_pCurPage && doc->GetPageCount() >= 1);
    doc->OnInitialUpdate();
    HxRunAllButtons(*g_pCurPage);
    HxRunFigurePasses(*g_pCurPage);
    Check(HxSampleAllSurfaces(*g_pCurPage));
    DeleteEverythingAndUndo(g_pCurPage);
    std::vector<BYTE> stored = doc->StoreToBytes();
    g_lastDocumentPath = DocumentPath();
    CMemFile again(stored);
    Check(doc->ReadDocument(again, u"fuzz.hvx", FALSE));
}

} // namespace

// The font library keeps its caches until the process ends: not a leak of the loader.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

// Formula texts render their pictures with the application's fonts, as in the program.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TryLoad(data, size, false);
    TryLoad(data, size, true);
    return 0;
}
