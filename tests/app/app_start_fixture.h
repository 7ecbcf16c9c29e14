// The program started as its command line starts it, in the test program's own QApplication: its
// globals fresh, its settings in a temporary folder, every message it shows kept with its icon and
// buttons, and its printers writing PDF files into a temporary folder.
#pragma once

#include "app_test_support.h"

#include "app/halvix_app.h"
#include "app/settings_file.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "view/halvix_view.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class AppStartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTemporarySettings();
        HxInitInstallFolder();
    }
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT type) {
            m_messages.push_back(text);
            m_types.push_back(type);
            return IDOK;
        });
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
        HxSetMessageBoxHandler(nullptr);
        HxResetModelGlobals();
        HxResetViewGlobals();
        HxResetDocumentGlobals();
        HxResetViewSettings();
    }
    // Where the printers write.
    QString PdfPath() const { return m_dir.filePath(QStringLiteral("out.pdf")); }

    // A document of `pages` pages saved under the temporary folder.
    QString SaveDocument(int pages) {
        const QString path = m_dir.filePath(QStringLiteral("课件.hvx"));
        CHalvixDoc doc;
        EXPECT_TRUE(doc.OnNewDocument());
        for (int i = 1; i < pages; ++i)
            doc.AppendPage(HxPageTitle(i + 1));
        EXPECT_TRUE(doc.OnSaveDocument(CString::FromQString(path)));
        doc.DeleteContents();
        HxResetModelGlobals();
        return path;
    }

    // The application with a command line of its own.
    struct Program {
        int argc = 1;
        char name[8] = "halvix";
        char* argv[2] = {name, nullptr};
        CHalvixApp app{argc, argv};
        explicit Program(const QStringList& args) { app.SetArguments(args); }
    };

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
    std::vector<UINT> m_types;
    std::vector<CString> m_printerNames;
};
