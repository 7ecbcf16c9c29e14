// Saves through the program's own file dialog, driven offscreen as a user would: a name typed
// without its extension or with a dot in it, the ".gf" copy's proposed name and another file type
// chosen in the dialog are asked about as the files they will be written to; "No" writes nothing;
// "~" is the home folder; the ".gf" copy's dialog shows the lesson's own name.
#include "app/halvix_app.h"
#include "document_test_support.h"
#include "support/dialog_user.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// $HOME set to another folder while it lives: QDir::homePath follows it.
class CHomeScope {
public:
    explicit CHomeScope(const QString& home)
        : m_had(qEnvironmentVariableIsSet("HOME")), m_old(qgetenv("HOME")) {
        qputenv("HOME", QFile::encodeName(home));
    }
    ~CHomeScope() {
        if (m_had)
            qputenv("HOME", m_old);
        else
            qunsetenv("HOME");
    }
    CHomeScope(const CHomeScope&) = delete;
    CHomeScope& operator=(const CHomeScope&) = delete;

private:
    const bool m_had;
    const QByteArray m_old;
};

class SaveDialogWindows : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(HxInstallChineseTranslations());
        AfxGetCommandRouter().SetChain({m_doc.get()});
    }
    void TearDown() override {
        AfxGetCommandRouter().SetChain({});
        DocumentTest::TearDown();
    }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray Bytes(const std::vector<BYTE>& bytes) {
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
    // The document saved as x.hvx, then changed so that its next save writes other bytes.
    void SaveAsXThenChange() {
        ASSERT_TRUE(m_doc->DoSave(CString::FromQString(Path("x.hvx"))));
        m_doc->m_author = u"后来的修改";
        m_doc->SetModifiedFlag();
    }
    // Runs the command while the user takes the steps given; true when every step was taken.
    bool Run(const std::function<void()>& command) {
        m_user.Start();
        command();
        const bool done = m_user.Done();
        m_user.Stop();
        return done;
    }
    bool Run(UINT id) {
        return Run([id] { AfxGetCommandRouter().Execute(id); });
    }
    QTemporaryDir m_dir;
    CDialogUser m_user;
};

} // namespace

TEST_F(SaveDialogWindows, ANameTypedWithoutItsExtensionIsAskedAboutAsTheFileItBecomes) {
    SaveAsXThenChange();
    const QByteArray before = Bytes(Path("x.hvx"));

    // "x" beside x.hvx: asked about x.hvx; No goes back to the dialog, Cancel writes nothing.
    m_user.TypeAndSave(QStringLiteral("x"));
    m_user.Answer(QMessageBox::No);
    m_user.Cancel();
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    ASSERT_EQ(m_user.m_questions.size(), 1u);
    EXPECT_TRUE(AsksToReplace(m_user.m_questions[0], "x.hvx")) << m_user.m_questions[0].toStdString();
    EXPECT_EQ(m_user.m_titles[0], QStringLiteral("另存为"));
    EXPECT_EQ(Bytes(Path("x.hvx")), before);
    EXPECT_FALSE(QFile::exists(Path("x")));
    EXPECT_TRUE(m_doc->IsModified());

    // Yes: x.hvx holds the document.
    m_user.TypeAndSave(QStringLiteral("x"));
    m_user.Answer(QMessageBox::Yes);
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(m_user.m_questions.size(), 2u);
    EXPECT_EQ(Bytes(Path("x.hvx")), Bytes(Store()));
    EXPECT_FALSE(m_doc->IsModified());

    // "x2" with nothing there: written as x2.hvx without a question.
    m_user.TypeAndSave(QStringLiteral("x2"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(m_user.m_questions.size(), 2u);
    EXPECT_EQ(Bytes(Path("x2.hvx")), Bytes(Store()));
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("x2.hvx"));
}

TEST_F(SaveDialogWindows, TheGfCopysProposedNameIsAskedAboutWithItsExtension) {
    SaveAsXThenChange();
    QFile old(Path("x.gf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older copy");
    old.close();

    // Enter on the proposal "x": asked about x.gf; No, then Cancel, keeps it.
    m_user.PressEnter();
    m_user.Answer(QMessageBox::No);
    m_user.Cancel();
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_user.m_questions.size(), 1u);
    EXPECT_TRUE(AsksToReplace(m_user.m_questions[0], "x.gf")) << m_user.m_questions[0].toStdString();
    EXPECT_EQ(Bytes(Path("x.gf")), QByteArray("an older copy"));

    // Yes writes the copy; the document stays x.hvx, and its next Save writes there unasked.
    m_user.PressEnter();
    m_user.Answer(QMessageBox::Yes);
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    std::vector<BYTE> copy;
    {
        CGfFormatScope layout;
        copy = Store();
    }
    EXPECT_EQ(Bytes(Path("x.gf")), Bytes(copy));
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("x.hvx"));
    m_doc->SetModifiedFlag();
    m_user.Cancel(); // a dialog, were there one, would take this step
    EXPECT_FALSE(Run(ID_FILE_SAVE)) << "no dialog";
    EXPECT_EQ(Bytes(Path("x.hvx")), Bytes(Store()));
    EXPECT_EQ(m_user.m_questions.size(), 2u);
}

// The ".gf" copy's dialog shows the lesson's own name without its extension: "multiA" for multiA.gf
// (an untitled lesson takes the name of its copy), "课件" for 课件.hvx.
TEST_F(SaveDialogWindows, TheGfCopysDialogShowsTheLessonsOwnName) {
    g_lastDocumentPath = CString::FromQString(Path("x.hvx"));
    m_user.TypeAndSave(QStringLiteral("multiA"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_doc->GetPathName().ToQString(), Path("multiA.gf"));
    m_user.KeepName();
    m_user.Cancel();
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_user.m_names.size(), 1u);
    EXPECT_EQ(m_user.m_names[0].toStdString(), "multiA");

    ASSERT_TRUE(m_doc->DoSave(CString::FromQString(Path("课件.hvx"))));
    m_user.KeepName();
    m_user.Cancel();
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_user.m_names.size(), 2u);
    EXPECT_EQ(m_user.m_names[1].toStdString(), "课件");
    EXPECT_TRUE(m_user.m_questions.empty());
    EXPECT_FALSE(QFile::exists(Path("课件.gf")));
}

TEST_F(SaveDialogWindows, ANameWithADotGetsTheDocumentsExtensionWhateverTheCaseOfOneTyped) {
    // An untitled document; the dialog starts in the test's folder.
    g_lastDocumentPath = CString::FromQString(Path("x.hvx"));
    ASSERT_TRUE(m_doc->GetPathName().IsEmpty());

    // The first Save: "第1.2节" is written as 第1.2节.hvx, without a question.
    m_user.TypeAndSave(QStringLiteral("第1.2节"));
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_TRUE(m_user.m_questions.empty());
    EXPECT_EQ(Bytes(Path("第1.2节.hvx")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("第1.2节")));
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("第1.2节.hvx"));

    // Untitled again, beside that file: asked about 第1.2节.hvx; No goes back to the dialog, and
    // "课件.HVX" is written as it is.
    const QByteArray saved = Bytes(Path("第1.2节.hvx"));
    m_doc->SetPathName(CString(), FALSE);
    m_doc->m_author = u"后来的修改";
    m_doc->SetModifiedFlag();
    m_user.TypeAndSave(QStringLiteral("第1.2节"));
    m_user.Answer(QMessageBox::No);
    m_user.TypeAndSave(QStringLiteral("课件.HVX"));
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    ASSERT_EQ(m_user.m_questions.size(), 1u);
    EXPECT_TRUE(AsksToReplace(m_user.m_questions[0], "第1.2节.hvx")) << m_user.m_questions[0].toStdString();
    EXPECT_EQ(Bytes(Path("第1.2节.hvx")), saved);
    EXPECT_EQ(Bytes(Path("课件.HVX")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("课件.HVX.hvx")));
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("课件.HVX"));

    // The ".gf" copy: "副本1.2" is written as 副本1.2.gf, "副本.GF" as it is; the document stays
    // 课件.HVX.
    std::vector<BYTE> copy;
    {
        CGfFormatScope layout;
        copy = Store();
    }
    m_user.TypeAndSave(QStringLiteral("副本1.2"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(Bytes(Path("副本1.2.gf")), Bytes(copy));
    EXPECT_FALSE(QFile::exists(Path("副本1.2")));
    m_user.TypeAndSave(QStringLiteral("副本.GF"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(Bytes(Path("副本.GF")), Bytes(copy));
    EXPECT_FALSE(QFile::exists(Path("副本.GF.gf")));
    EXPECT_EQ(m_user.m_questions.size(), 1u);
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("课件.HVX"));
}

TEST_F(SaveDialogWindows, AFolderTypedIsEnteredAndTheNameTypedNextIsSavedThere) {
    g_lastDocumentPath = CString::FromQString(Path("x.hvx"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("B/C")));
    m_user.TypeAndSave(QStringLiteral("B"));
    m_user.TypeAndSave(QStringLiteral("C/"));
    m_user.TypeAndSave(QStringLiteral("y"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_TRUE(m_user.m_questions.empty()) << m_user.m_questions.front().toStdString();
    EXPECT_EQ(Bytes(Path("B/C/y.hvx")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("B.hvx")));
    EXPECT_FALSE(QFile::exists(Path("B/C.hvx")));

    // Of names typed in quotes, the first is saved, in the folder the dialog shows.
    m_user.TypeAndSave(QStringLiteral("\"z1\" \"z2\""));
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(Bytes(Path("B/C/z1.hvx")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("B/C/z2.hvx")));
}

TEST_F(SaveDialogWindows, AnotherFileTypeChosenInTheDialogGivesItsExtension) {
    // The formula export's types: f typed with the second type chosen is f.bmp.
    QFile old(Path("f.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    auto exportDialog = [this] {
        return CFileDialog(
            FALSE, u"mtf", CString::FromQString(Path("*.mtf")), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
            u"Halvix Mtf file (*.mtf)|*.mtf|Windows Bitmap (*.bmp)|*.bmp|Enhanced MetaFile (*.emf)|*.emf||");
    };
    CFileDialog refused = exportDialog();
    m_user.ChooseNextType();
    m_user.TypeAndSave(QStringLiteral("f"));
    m_user.Answer(QMessageBox::No);
    m_user.Cancel();
    EXPECT_TRUE(Run([&] { EXPECT_EQ(refused.DoModal(), IDCANCEL); }));
    ASSERT_EQ(m_user.m_questions.size(), 1u);
    EXPECT_TRUE(AsksToReplace(m_user.m_questions[0], "f.bmp")) << m_user.m_questions[0].toStdString();

    CFileDialog confirmed = exportDialog();
    m_user.ChooseNextType();
    m_user.TypeAndSave(QStringLiteral("f"));
    m_user.Answer(QMessageBox::Yes);
    EXPECT_TRUE(Run([&] { EXPECT_EQ(confirmed.DoModal(), IDOK); }));
    EXPECT_EQ(confirmed.GetPathName().ToQString(), Path("f.bmp"));
    EXPECT_EQ(confirmed.m_nFilterIndex, 2);
}

TEST_F(SaveDialogWindows, TheHomeFolderIsTypedAsATilde) {
    // The dialog shows the test's folder; the home folder is another one.
    g_lastDocumentPath = CString::FromQString(Path("x.hvx"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("home")));
    const CHomeScope home(Path("home"));
    ASSERT_EQ(QDir::homePath(), Path("home"));

    // "~/课件" is 课件.hvx in the home folder.
    m_user.TypeAndSave(QStringLiteral("~/课件"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_TRUE(m_user.m_questions.empty()) << m_user.m_questions.front().toStdString();
    EXPECT_EQ(Bytes(Path("home/课件.hvx")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("~")));
    EXPECT_EQ(m_doc->GetPathName().ToQString(), Path("home/课件.hvx"));

    // "~" alone, with Enter, enters the home folder (no "~.hvx" is written), and the name typed
    // next is saved there.
    g_lastDocumentPath = CString::FromQString(Path("x.hvx"));
    m_user.Type(QStringLiteral("~"));
    m_user.PressEnter();
    m_user.TypeAndSave(QStringLiteral("课件2"));
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(Bytes(Path("home/课件2.hvx")), Bytes(Store()));
    EXPECT_FALSE(QFile::exists(Path("~.hvx")));
    EXPECT_FALSE(QFile::exists(Path("home/~.hvx")));
    EXPECT_FALSE(QFile::exists(Path("课件2.hvx")));
}
