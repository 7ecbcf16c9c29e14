// Files kept from fuzzing the document loader: each one either loads (and then runs its buttons,
// stores and loads again) or is refused with the open document left as it was, as a ".hvx" file and
// as a ".gf" file.
// They are read as the fuzzer reads them, beside a folder of 3DS models for the model cells they hold.
#include "document_test_support.h"
#include "document/fuzz/button_runs.h"
#include "dynamics/color_modifier.h"
#include "document/fuzz/surface_samples.h"
#include "dynamics/curves.h"
#include "platform/shell.h"
#include "support/model3ds_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class DocumentCorpusTest : public DocumentTest {
protected:
    static QString CorpusFolder() {
        return QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
            .filePath(QStringLiteral("tests/document/fuzz/corpus"));
    }
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(m_models.isValid());
        ASSERT_TRUE(Write3dsDocumentModels(m_models.path().toStdString()));
        HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
    }
    // Read as a ".hvx" file, or as the open command reads a ".gf" file (in either layout).
    BOOL LoadBeside(const std::vector<BYTE>& bytes, bool gf = false) {
        g_lastDocumentPath = CString::FromQString(m_models.filePath(QStringLiteral("fuzz.hvx")));
        if (!gf)
            return Load(bytes);
        CMemFile file(bytes);
        return m_doc->ReadGfDocument(file, u"fuzz.gf");
    }
    void Check(const std::vector<BYTE>& bytes, bool gf, const std::string& name) {
        CGPage* current = g_pCurPage;
        int pages = m_doc->GetPageCount();
        std::vector<BYTE> before = Store();
        if (!LoadBeside(bytes, gf)) {
            EXPECT_EQ(g_pCurPage, current) << name;
            EXPECT_EQ(m_doc->GetPageCount(), pages) << name;
            EXPECT_EQ(Store(), before) << name;
        } else {
            ++m_loaded;
            m_doc->OnInitialUpdate();
            ASSERT_NE(g_pCurPage, nullptr) << name;
            HxRunAllButtons(*g_pCurPage);
            HxRunFigurePasses(*g_pCurPage);
            EXPECT_TRUE(HxSampleAllSurfaces(*g_pCurPage)) << name;
            // Loading forgets that a counting loop had started, so the first round trip after the
            // buttons ran may change the file.
            ASSERT_TRUE(LoadBeside(Store())) << name;
            // A map read back walks its buckets the other way round, so two round trips give the
            // same file again.
            std::vector<BYTE> stored = Store();
            ASSERT_TRUE(LoadBeside(stored)) << name;
            ASSERT_TRUE(LoadBeside(Store())) << name;
            EXPECT_EQ(Store(), stored) << name;
        }
        EXPECT_FALSE(g_saveGfFormat) << name;
        EXPECT_EQ(g_storeMtfImages, 0) << name;
    }
    int m_loaded = 0;
    QTemporaryDir m_models;
};

} // namespace

TEST_F(DocumentCorpusTest, KeptFilesLoadOrAreRefusedCleanly) {
    QDir dir(CorpusFolder());
    ASSERT_TRUE(dir.exists()) << CorpusFolder().toStdString();
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 10);
    // The links of the kept files open nothing.
    struct CNoShell {
        CNoShell() {
            HxSetShellOpenHandler([](const CString&, const CString&) { return false; });
        }
        ~CNoShell() { HxSetShellOpenHandler(nullptr); }
    } noShell;
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray data = file.readAll();
        std::vector<BYTE> bytes(data.begin(), data.end());
        Check(bytes, false, name.toStdString());
        Check(bytes, true, name.toStdString() + " (.gf)");
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(m_loaded, 0) << "some of the kept files are whole documents";
}

// The documents of the construct commands' figures: whole, with numbers that are none and with
// parents of the wrong kind they load and every cell computes (a damaged one invalid, never a
// crash); with a parent too few, or cut short, they are refused.
TEST_F(DocumentCorpusTest, TheFigureSeedsLoadOrAreRefused) {
    QDir dir(CorpusFolder());
    const struct {
        const char* name;
        bool loads;
    } rows[] = {{"seed-figures-hvx", true},
                {"seed-figures-no-numbers-hvx", true},
                {"seed-figures-parents-hvx", true},
                {"seed-figures-parent-count-hvx", false},
                {"seed-figures-cut-hvx", false}};
    for (const auto& row : rows) {
        QFile file(dir.filePath(QString::fromLatin1(row.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.name;
        const QByteArray data = file.readAll();
        EXPECT_EQ(Load(std::vector<BYTE>(data.begin(), data.end()), false), row.loads) << row.name;
        if (!row.loads)
            continue;
        ASSERT_EQ(m_doc->GetPageCount(), 3) << row.name;
        m_doc->OnInitialUpdate();
        int invalid = 0, cells = 0;
        for (int i = 0; i < 3; ++i) {
            CGPage* page = m_doc->GetPage(i);
            for (WORD id : page->m_cells.Keys()) {
                ++cells;
                invalid += page->FindCell(id)->m_valid ? 0 : 1;
            }
        }
        EXPECT_GT(cells, 200) << row.name;
        if (std::string(row.name) == "seed-figures-hvx")
            EXPECT_EQ(invalid, 0) << row.name;
        else
            EXPECT_GT(invalid, 0) << row.name;
    }
}

// The documents of polygons and colour modifiers: whole and with modes or ranges that make no colour
// they load and recompute without harm; with a parent made after its modifier, or cut short, they
// are refused.
TEST_F(DocumentCorpusTest, TheModifierSeedsLoadOrAreRefused) {
    QDir dir(CorpusFolder());
    const struct {
        const char* name;
        bool loads;
    } rows[] = {{"seed-modifiers-hvx", true},
                {"seed-modifiers-modes-hvx", true},
                {"seed-modifiers-ranges-hvx", true},
                {"seed-modifiers-parents-hvx", false}, // a later modifier as a parent
                {"seed-modifiers-cut-hvx", false}};
    for (const auto& row : rows) {
        QFile file(dir.filePath(QString::fromLatin1(row.name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.name;
        const QByteArray data = file.readAll();
        EXPECT_EQ(Load(std::vector<BYTE>(data.begin(), data.end()), false), row.loads) << row.name;
        if (!row.loads)
            continue;
        m_doc->OnInitialUpdate();
        int modifiers = 0;
        ForEachCell(g_pCurPage->m_cells, [&](CGCell* cell) {
            if (cell->IsKindOf(RUNTIME_CLASS(CGMdfColor))) {
                ++modifiers;
                cell->Recompute();
            }
        });
        EXPECT_EQ(modifiers, 4) << row.name;
        // Stored again, the document reads back the same.
        const std::vector<BYTE> stored = Store();
        ASSERT_TRUE(Load(stored, false)) << row.name;
    }
}

TEST_F(DocumentCorpusTest, TheWholeLociSeedLoadsWithItsPathsSampled) {
    QFile file(QDir(CorpusFolder()).filePath(QStringLiteral("seed-loci-hvx")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    ASSERT_TRUE(Load(std::vector<BYTE>(data.begin(), data.end())));
    m_doc->OnInitialUpdate();
    int loci = 0, curves = 0;
    ForEachCell(g_pCurPage->m_cells, [&](CGCell* cell) {
        if (auto* locus = DYNAMIC_DOWNCAST(CGLocus, cell)) {
            ++loci;
            EXPECT_TRUE(locus->m_valid) << locus->m_id;
            EXPECT_GT(locus->m_sampleCount, 100) << locus->m_id;
        } else if (auto* curve = DYNAMIC_DOWNCAST(CGCurve, cell)) {
            ++curves;
            EXPECT_TRUE(curve->m_valid) << curve->m_id;
        }
    });
    EXPECT_EQ(loci, 2);
    EXPECT_EQ(curves, 2);
}
