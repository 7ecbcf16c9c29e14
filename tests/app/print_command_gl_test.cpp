// The command line's print forms: "/p FILE" prints the document on the default printer and ends the
// program, "/pt FILE PRINTER" on the printer named; a file that cannot be opened ends it without
// printing.  The printers here write PDF files.
#include "app_test_support.h"

#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/settings_file.h"
#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "view/halvix_view.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF") ? int(QString::fromLatin1(bytes).count(
                                          QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))))
                                    : -1;
}

class PrintCommandTest : public ::testing::Test {
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
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
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

    struct Program {
        int argc = 1;
        char name[8] = "halvix";
        char* argv[2] = {name, nullptr};
        CHalvixApp app{argc, argv};
        explicit Program(const QStringList& args) { app.SetArguments(args); }
    };

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
    std::vector<CString> m_printerNames;
};

} // namespace

TEST(ShellCommand, TheCommandLineForms) {
    const auto parse = [](std::initializer_list<const char*> args) {
        QStringList list;
        for (const char* a : args)
            list << QString::fromUtf8(a);
        return HxParseShellCommand(list);
    };
    HxShellCommand c = parse({"halvix"});
    EXPECT_EQ(c.kind, HxShellCommand::New);
    c = parse({"halvix", "/home/u/a.hvx"});
    EXPECT_TRUE(c.kind == HxShellCommand::Open && c.file == QStringLiteral("/home/u/a.hvx"));
    c = parse({"halvix", "/p", "a.hvx"});
    EXPECT_TRUE(c.kind == HxShellCommand::Print && c.file == QStringLiteral("a.hvx") && c.printer.isEmpty());
    c = parse({"halvix", "-P", "a.hvx"});
    EXPECT_EQ(c.kind, HxShellCommand::Print);
    c = parse({"halvix", "/pt", "b.gf", "激光打印机"});
    EXPECT_TRUE(c.kind == HxShellCommand::PrintTo && c.file == QStringLiteral("b.gf") &&
                c.printer == QStringLiteral("激光打印机"));
    // "/p" without a file is no print command.
    c = parse({"halvix", "/p"});
    EXPECT_EQ(c.kind, HxShellCommand::New);
}

TEST_F(PrintCommandTest, SlashPPrintsTheDocumentAndEndsTheProgram) {
    const QString path = SaveDocument(3);
    Program program({QStringLiteral("halvix"), QStringLiteral("/p"), path});
    EXPECT_FALSE(program.app.InitInstance()) << "the program ends after printing";
    EXPECT_EQ(program.app.GetShellResult(), 0);
    EXPECT_EQ(m_printerNames, (std::vector<CString>{CString()}));
    EXPECT_EQ(PdfPages(PdfPath()), 3);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(program.app.GetMainFrame()->isVisible());
}

TEST_F(PrintCommandTest, SlashPtPrintsOnThePrinterNamed) {
    const QString path = SaveDocument(2);
    Program program({QStringLiteral("halvix"), QStringLiteral("/pt"), path, QStringLiteral("办公室")});
    EXPECT_FALSE(program.app.InitInstance());
    EXPECT_EQ(program.app.GetShellResult(), 0);
    EXPECT_EQ(m_printerNames, (std::vector<CString>{CString(u"办公室")}));
    EXPECT_EQ(PdfPages(PdfPath()), 2);
}

TEST_F(PrintCommandTest, AFileThatCannotBeOpenedEndsWithoutPrinting) {
    Program program(
        {QStringLiteral("halvix"), QStringLiteral("/p"), m_dir.filePath(QStringLiteral("没有.hvx"))});
    EXPECT_FALSE(program.app.InitInstance());
    EXPECT_EQ(program.app.GetShellResult(), 1);
    EXPECT_TRUE(m_printerNames.empty());
    EXPECT_FALSE(QFile::exists(PdfPath()));
    // The document's own message, none of the program's.
    EXPECT_EQ(m_messages.size(), 1u);
}
