// Files kept from fuzzing the document loader: each one either loads (and then runs its buttons,
// stores and loads again) or is refused with the open document left as it was, in either layout.
#include "document_test_support.h"
#include "document/fuzz/button_runs.h"
#include "document/fuzz/surface_samples.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>

namespace {

class DocumentCorpusTest : public DocumentTest {
protected:
    static QString CorpusFolder() {
        return QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
            .filePath(QStringLiteral("tests/document/fuzz/corpus"));
    }
    void Check(const std::vector<BYTE>& bytes, bool gf, const std::string& name) {
        CGPage* current = g_pCurPage;
        int pages = m_doc->GetPageCount();
        std::vector<BYTE> before = Store();
        if (!Load(bytes, gf)) {
            EXPECT_EQ(g_pCurPage, current) << name;
            EXPECT_EQ(m_doc->GetPageCount(), pages) << name;
            EXPECT_EQ(Store(), before) << name;
        } else {
            ++m_loaded;
            m_doc->OnInitialUpdate();
            ASSERT_NE(g_pCurPage, nullptr) << name;
            HxRunAllButtons(*g_pCurPage);
            EXPECT_TRUE(HxSampleAllSurfaces(*g_pCurPage)) << name;
            // Loading forgets that a counting loop had started, so the first round trip after the
            // buttons ran may change the file.
            ASSERT_TRUE(Load(Store())) << name;
            // A map read back walks its buckets the other way round, so two round trips give the
            // same file again.
            std::vector<BYTE> stored = Store();
            ASSERT_TRUE(Load(stored)) << name;
            ASSERT_TRUE(Load(Store())) << name;
            EXPECT_EQ(Store(), stored) << name;
        }
        EXPECT_FALSE(g_saveGfFormat) << name;
        EXPECT_EQ(g_storeMtfImages, 0) << name;
    }
    int m_loaded = 0;
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
