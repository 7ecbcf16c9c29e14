// Test support for the documents the fuzz seed tool writes (kept in the document corpus): a new
// document to read them into, the seed's bytes by name, and the cells of a class on one of its pages.
#pragma once

#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "support/model_fixture.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <memory>
#include <vector>

class SeedDocumentTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        HxResetDocumentGlobals();
        HxSetScreenSizeOverride(1920, 1080);
        HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
        m_doc = std::make_unique<CHalvixDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
    }
    void TearDown() override {
        m_doc.reset();
        HxSetMessageBoxHandler(nullptr);
        HxSetScreenSizeOverride(0, 0);
        HxResetDocumentGlobals();
        ModelTest::TearDown();
    }
    // The bytes of the kept seed "seed-<name>-hvx".
    static std::vector<BYTE> Seed(const char* name) {
        QFile file(
            QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                .filePath(QStringLiteral("tests/document/fuzz/corpus/seed-%1-hvx").arg(QLatin1String(name))));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray data = file.readAll();
        return std::vector<BYTE>(data.begin(), data.end());
    }
    BOOL LoadBytes(const std::vector<BYTE>& bytes) {
        CMemFile memory(bytes);
        return m_doc->ReadDocument(memory, u"seed.hvx", FALSE);
    }
    BOOL Load(const char* seed) { return LoadBytes(Seed(seed)); }
    // The cells of class T on a page, by ascending id.
    template <class T> std::vector<T*> CellsOf(int page) {
        std::vector<T*> out;
        ForEachCell(m_doc->GetPage(page)->m_cells, [&](CGCell* c) {
            if (auto* t = DYNAMIC_DOWNCAST(T, c))
                out.push_back(t);
        });
        std::sort(out.begin(), out.end(), [](const T* a, const T* b) { return a->m_id < b->m_id; });
        return out;
    }
    std::unique_ptr<CHalvixDoc> m_doc;
};
