// Saves that fail part-way, under a file-size limit and on a full file system: the document's Save,
// Save As and ".gf" copy, a formula's ".mtf", BMP and EMF files, the four picture formats and the
// settings file each report the failure and leave the old file byte for byte (and the document
// modified); a refused document save says why, one past the largest document that opens before
// anything is written; files that are not regular (a pipe, a device) are refused at once.
#include "document_test_support.h"

#include "app/settings_file.h"
#include "formula/bin_tree.h"
#include "support/archive_helpers.h"
#include "support/child_process.h"
#include "view/image_loading.h"
#include "view/picture_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <new>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

// A cell that runs out of memory as it is stored.
class COutOfMemoryCell : public CGCell {
    DECLARE_SERIAL(COutOfMemoryCell)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            throw std::bad_alloc();
        CGCell::Serialize(ar);
    }
};
IMPLEMENT_SERIAL(COutOfMemoryCell, CGCell, 1)

// A cell whose record is longer than the largest document the program reads, though it costs no
// memory: the same block of zeros is stored again and again.
class CHugeRecordCell : public CGCell {
    DECLARE_SERIAL(CHugeRecordCell)
public:
    void Serialize(CArchive& ar) override {
        CGCell::Serialize(ar);
        if (!ar.IsStoring())
            return;
        StoreZeros(ar, kHxMaxDocumentBytes);
    }
};
IMPLEMENT_SERIAL(CHugeRecordCell, CGCell, 1)

namespace {

// What a child found, one bit each.
enum : int { kRefused = 1, kOldFileKept = 2, kStillModified = 4, kMessageShown = 8, kNothingBeside = 16 };

const std::vector<BYTE> kOldBytes(16, 0x5A);
constexpr long kSizeLimit = 32; // below every new file written here

struct Saver {
    const char* name;
    const char16_t* file;
    bool document; // a document save: the flag and the message are checked as well
    std::function<bool(CHalvixDoc&, const CString&)> save;
};

QImage NoisyPicture() {
    QImage picture(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb((x * 37) & 255, (y * 91) & 255, (x * y) & 255));
    return picture;
}

bool SavePicture(const CString& path) {
    CString error;
    return HxSavePicture(NoisyPicture(), path, &error) || error.IsEmpty();
}

const std::vector<Saver>& Savers() {
    static const std::vector<Saver> savers = {
        {"Save", u"a.hvx", true,
         [](CHalvixDoc& doc, const CString& path) {
             doc.SetPathName(path, FALSE);
             return bool(doc.DoFileSave());
         }},
        {"Save As", u"b.hvx", true,
         [](CHalvixDoc& doc, const CString& path) { return bool(doc.DoSave(path)); }},
        {".gf copy", u"c.gf", true,
         [](CHalvixDoc& doc, const CString& path) {
             HxSetDialogRunner([path](CDialog& dlg) {
                 static_cast<CFileDialog&>(dlg).SetResult(path);
                 return INT_PTR(IDOK);
             });
             doc.OnFileSaveGf();
             return !doc.IsModified();
         }},
        {".mtf", u"d.mtf", false,
         [](CHalvixDoc&, const CString& path) {
             CBinTree formula;
             formula.SetMarkup(u"<#><l><e>a+b+c+d+e+f</e></l></#>");
             return formula.SaveMtf(path) || formula.GetLastError().IsEmpty();
         }},
        {"formula BMP", u"d.bmp", false,
         [](CHalvixDoc&, const CString& path) {
             CBinTree formula;
             formula.SetMarkup(u"<#><l><e>a+b</e></l></#>");
             return bool(formula.SaveBmp(path));
         }},
        {"formula EMF", u"d.emf", false,
         [](CHalvixDoc&, const CString& path) {
             CBinTree formula;
             formula.SetMarkup(u"<#><l><e>a+b</e></l></#>");
             return bool(formula.SaveEmf(path));
         }},
        {"BMP", u"e.bmp", false, [](CHalvixDoc&, const CString& path) { return SavePicture(path); }},
        {"JPEG", u"f.jpg", false, [](CHalvixDoc&, const CString& path) { return SavePicture(path); }},
        {"PNG", u"g.png", false, [](CHalvixDoc&, const CString& path) { return SavePicture(path); }},
        {"GIF", u"h.gif", false, [](CHalvixDoc&, const CString& path) { return SavePicture(path); }},
        {"settings", nullptr, false, [](CHalvixDoc&, const CString&) { return LoadSaveSettings(true); }},
    };
    return savers;
}

class SafeSaveTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        BuildSampleDocument();
    }
    void TearDown() override {
        HxSetDialogRunner(nullptr);
        // Writable again, so that the temporary folder can go.
        for (const QString& path : m_locked)
            chmod(QFile::encodeName(path).constData(), 0755);
        DocumentTest::TearDown();
    }

    // Each file in a folder of its own, where nothing else lies.
    QString FolderOf(const Saver& saver) const {
        return saver.file ? m_dir.filePath(QString::fromUtf16(saver.file).replace(u'.', u'_'))
                          : HxSettingsFolder();
    }
    CString PathOf(const Saver& saver) const {
        return saver.file ? CString::FromQString(FolderOf(saver) + u'/' + QString::fromUtf16(saver.file))
                          : CString::FromQString(HxSettingsFilePath());
    }
    static QByteArray Bytes(const CString& path) {
        QFile f(path.ToQString());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    static QByteArray OldBytes() {
        return QByteArray(reinterpret_cast<const char*>(kOldBytes.data()), qsizetype(kOldBytes.size()));
    }
    static bool WriteOldFile(const CString& path) {
        QFile old(path.ToQString());
        return old.open(QIODevice::WriteOnly) && old.write(OldBytes()) == OldBytes().size();
    }
    // Gives the file or folder `mode` (taken back when the test ends).
    void Lock(const QString& path, mode_t mode) {
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
        m_locked.push_back(path);
    }
    // An empty folder of its own for each case.
    QString NewFolder() {
        const QString folder = m_dir.filePath(QString::number(++m_folders));
        QDir().mkpath(folder);
        return folder;
    }
    static QStringList FilesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    // Saves the modified document to `path`: refused, still modified, and the one message names the
    // file and gives `reason` after it.
    void ExpectRefused(const Saver& saver, const CString& path, const char16_t* reason) {
        m_messages.clear();
        m_doc->SetModifiedFlag(TRUE);
        EXPECT_FALSE(saver.save(*m_doc, path));
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_EQ(m_messages,
                  std::vector<CString>{HxFormat(u"无法保存文档“%s”：%s。", path, CString(reason))});
        EXPECT_FALSE(g_saveGfFormat);
    }

    // In the child: the old file in place, the save, and what held afterwards.
    int SaveOverOldFile(const Saver& saver, bool fillFirst) {
        const CString path = PathOf(saver);
        const QString folder = FolderOf(saver);
        if (!WriteOldFile(path))
            return 100;
        if (fillFirst)
            HxFillFileSystem(folder);
        m_messages.clear();
        m_doc->SetModifiedFlag(TRUE);
        const bool saved = saver.save(*m_doc, path);
        int found = 0;
        if (!saved)
            found |= kRefused;
        if (Bytes(path) == OldBytes())
            found |= kOldFileKept;
        if (saver.document && m_doc->IsModified())
            found |= kStillModified;
        // A file-size limit and a full file system both read as a full disk.
        if (saver.document && m_messages.size() == 1 &&
            m_messages[0] == HxFormat(u"无法保存文档“%s”：磁盘已满。", path))
            found |= kMessageShown;
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        if (left.size() == (fillFirst ? 2 : 1))
            found |= kNothingBeside;
        return found;
    }
    static int Expected(const Saver& saver) {
        return kRefused | kOldFileKept | kNothingBeside |
               (saver.document ? kStillModified | kMessageShown : 0);
    }

    QTemporaryDir m_dir;
    std::vector<QString> m_locked;
    int m_folders = 0;
};

} // namespace

TEST_F(SafeSaveTest, SavesPastAFileSizeLimitKeepTheOldFile) {
    for (const Saver& saver : Savers()) {
        QDir().mkpath(FolderOf(saver));
        EXPECT_EQ(HxRunInChild([&] { return SaveOverOldFile(saver, false); }, kSizeLimit), Expected(saver))
            << saver.name;
    }
    // Without the limit the same saves go through.
    for (const Saver& saver : Savers()) {
        EXPECT_TRUE(saver.save(*m_doc, PathOf(saver))) << saver.name;
        EXPECT_GT(Bytes(PathOf(saver)).size(), kSizeLimit) << saver.name;
    }
}

TEST_F(SafeSaveTest, SavesOntoAFullFileSystemKeepTheOldFile) {
    for (const Saver& saver : Savers()) {
        const QString folder = FolderOf(saver);
        QDir().mkpath(folder);
        const int found = HxRunInChild([&] {
            if (!HxMountSmallFileSystem(folder, 64))
                return kNoFileSystem;
            return SaveOverOldFile(saver, true);
        });
        if (found == kNoFileSystem)
            GTEST_SKIP() << "this machine cannot mount a small file system";
        EXPECT_EQ(found, Expected(saver)) << saver.name;
    }
}

TEST_F(SafeSaveTest, ARefusedDocumentSaveSaysWhyAndLeavesWhatWasThere) {
    for (const Saver& saver : Savers()) {
        if (!saver.document)
            continue;
        SCOPED_TRACE(saver.name);
        const QString file = QString::fromUtf16(saver.file);

        // A missing folder: none is made.
        QString folder = NewFolder();
        CString path = CString::FromQString(folder + QStringLiteral("/没有的文件夹/") + file);
        ExpectRefused(saver, path, u"找不到文件夹");
        EXPECT_TRUE(QDir(folder).isEmpty());

        // A folder no one may write to (not even the administrator): the old file in it stays, and
        // nothing is put beside it.
        folder = NewFolder();
        path = CString::FromQString(folder + u'/' + file);
        ASSERT_TRUE(WriteOldFile(path));
        Lock(folder, 0555);
        ExpectRefused(saver, path, u"没有写入权限");
        EXPECT_EQ(Bytes(path), OldBytes());
        EXPECT_EQ(FilesIn(folder), QStringList{file});

        // A read-only file, written over by name (Save takes such a file to Save As instead).
        if (saver.name != std::string("Save")) {
            folder = NewFolder();
            path = CString::FromQString(folder + u'/' + file);
            ASSERT_TRUE(WriteOldFile(path));
            Lock(path.ToQString(), 0444);
            ExpectRefused(saver, path, u"没有写入权限");
            EXPECT_EQ(Bytes(path), OldBytes());
            EXPECT_EQ(FilesIn(folder), QStringList{file});
        }

        // A folder of the document's name: it stays as it was, with what it holds.
        folder = NewFolder();
        path = CString::FromQString(folder + u'/' + file);
        ASSERT_TRUE(QDir().mkpath(path.ToQString()));
        ASSERT_TRUE(WriteOldFile(path + u"/inside"));
        ExpectRefused(saver, path, u"不是普通文件");
        EXPECT_TRUE(QFileInfo(path.ToQString()).isDir());
        EXPECT_EQ(Bytes(path + u"/inside"), OldBytes());
        EXPECT_EQ(FilesIn(folder), QStringList());
    }
}

TEST_F(SafeSaveTest, AFolderTheUserMayNotWriteToRefusesTheSave) {
    if (geteuid() == 0)
        GTEST_SKIP() << "run as root, whom the permissions of a folder do not keep out";
    // Its group may write there, its owner (this user) may not.  Each save is given the name it
    // writes (the ".gf" copy a ".gf" name), so that the message names the file asked for.
    for (const Saver& saver : Savers()) {
        if (!saver.document)
            continue;
        SCOPED_TRACE(saver.name);
        const QString folder = NewFolder();
        const QString file = QString::fromUtf16(saver.file);
        const CString path = CString::FromQString(folder + u'/' + file);
        ASSERT_TRUE(WriteOldFile(path));
        Lock(folder, 0575);
        ExpectRefused(saver, path, u"没有写入权限");
        EXPECT_EQ(Bytes(path), OldBytes());
        EXPECT_EQ(FilesIn(folder), QStringList{file});
    }
}

TEST_F(SafeSaveTest, ADocumentThatRunsOutOfMemoryAsItIsStoredSaysSo) {
    AddCell(m_doc->GetPage(0), new COutOfMemoryCell);
    for (const Saver& saver : Savers()) {
        if (!saver.document)
            continue;
        SCOPED_TRACE(saver.name);
        const CString path = CString::FromQString(NewFolder() + u'/' + QString::fromUtf16(saver.file));
        ASSERT_TRUE(WriteOldFile(path));
        ExpectRefused(saver, path, u"内存不足");
        EXPECT_EQ(Bytes(path), OldBytes());
    }
}

TEST_F(SafeSaveTest, ADocumentPastTheLargestThatOpensIsRefusedBeforeAnythingIsWritten) {
    AddCell(m_doc->GetPage(0), new CHugeRecordCell);
    const int pages = m_doc->GetPageCount();
    std::vector<Saver> savers;
    for (const Saver& saver : Savers())
        if (saver.document)
            savers.push_back(saver);
    savers.push_back({"first Save", u"e.hvx", true, [](CHalvixDoc& doc, const CString& path) {
                          doc.SetPathName(CString(), FALSE);
                          HxSetDialogRunner([path](CDialog& dlg) {
                              static_cast<CFileDialog&>(dlg).SetResult(path);
                              return INT_PTR(IDOK);
                          });
                          return bool(doc.DoFileSave());
                      }});
    for (const Saver& saver : savers) {
        SCOPED_TRACE(saver.name);
        const QString folder = NewFolder();
        const CString path = CString::FromQString(folder + u'/' + QString::fromUtf16(saver.file));
        ASSERT_TRUE(WriteOldFile(path));
        const CString earlierPath = m_doc->GetPathName();
        // Nothing is made, written, renamed or removed in the folder.
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                    IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM |
                                        IN_MOVED_TO | IN_DELETE),
                  0);
        ExpectRefused(saver, path, u"文档太大（超过2048MB），请删去一些图片或页面后再保存");
        char events[4096];
        EXPECT_LE(read(watch, events, sizeof events), 0) << "something was written";
        close(watch);
        EXPECT_EQ(Bytes(path), OldBytes());
        EXPECT_EQ(FilesIn(folder), QStringList{QString::fromUtf16(saver.file)});
        EXPECT_EQ(m_doc->GetPageCount(), pages);
        // The document keeps the file it had (Save sets its own, a first Save none).
        CString kept = earlierPath;
        if (saver.name == std::string("Save"))
            kept = path;
        else if (saver.name == std::string("first Save"))
            kept.Empty();
        EXPECT_EQ(m_doc->GetPathName(), kept);
    }
}

TEST_F(SafeSaveTest, AFileWrittenAsItIsMadeReplacesTheOldOneOnlyWhenWhole) {
    const QString folder = NewFolder();
    const CString path = CString::FromQString(folder + QStringLiteral("/a.hvx"));
    ASSERT_TRUE(WriteOldFile(path));
    const std::vector<BYTE> part(size_t(3) << 20, 0x33);
    auto writePart = [&](CFile& file) { file.Write(part.data(), UINT(part.size())); };
    // Stopped part-way by what makes the content: the exception goes on, the old file stays.
    EXPECT_THROW(HxWriteFileSafely(path,
                                   [&](CFile& file) {
                                       writePart(file);
                                       throw CArchiveException(CArchiveException::badIndex);
                                   }),
                 CArchiveException);
    EXPECT_EQ(Bytes(path), OldBytes());
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("a.hvx")});
    // A failed write: its cause, the old file as it was.
    CFileException error;
    EXPECT_FALSE(HxWriteFileSafely(
        path,
        [&](CFile& file) {
            writePart(file);
            throw CFileException(CFileException::diskFull);
        },
        &error));
    EXPECT_EQ(error.m_cause, CFileException::diskFull);
    EXPECT_EQ(Bytes(path), OldBytes());
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("a.hvx")});
    // Whole: the new content in the old file's place.
    EXPECT_TRUE(HxWriteFileSafely(path, [&](CFile& file) {
        writePart(file);
        writePart(file);
    }));
    EXPECT_EQ(Bytes(path), QByteArray(qsizetype(part.size()) * 2, char(0x33)));
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("a.hvx")});
}

TEST_F(SafeSaveTest, PipesAndDevicesAreRefusedAtOnce) {
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.hvx"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const CString path = CString::FromQString(pipe);
    // Each open in a child that the alarm ends should it block.
    const std::vector<std::pair<const char*, std::function<bool()>>> refusals = {
        {"document",
         [&] {
             return !m_doc->OpenDocumentFile(path, FALSE) && m_messages.size() == 1 &&
                    m_messages[0] ==
                        HxFormat(u"无法打开文件“%s”：它不是普通文件（可能是文件夹、管道或设备）。", path);
         }},
        {"document from a device, a folder and a .gf pipe",
         [&] {
             const CString folder = CString::FromQString(m_dir.path());
             const CString gf = CString::FromQString(m_dir.filePath(QStringLiteral("pipe.gf")));
             if (mkfifo(QFile::encodeName(gf.ToQString()).constData(), 0600) != 0)
                 return false;
             const char16_t* const kNotRegular =
                 u"无法打开文件“%s”：它不是普通文件（可能是文件夹、管道或设备）。";
             return !m_doc->OpenDocumentFile(u"/dev/zero", FALSE) &&
                    !m_doc->OpenDocumentFile(folder, FALSE) && !m_doc->OpenDocumentFile(gf, FALSE) &&
                    m_messages.size() == 3 && m_messages[0] == HxFormat(kNotRegular, CString(u"/dev/zero")) &&
                    m_messages[1] == HxFormat(kNotRegular, folder) &&
                    m_messages[2] == HxFormat(kNotRegular, gf);
         }},
        {"a missing document keeps the plain message",
         [&] {
             const CString missing = CString::FromQString(m_dir.filePath(QStringLiteral("none.hvx")));
             return !m_doc->OpenDocumentFile(missing, FALSE) && m_messages.size() == 1 &&
                    m_messages[0] == HxFormat(u"无法打开文件“%s”。", missing);
         }},
        {"read",
         [&] {
             CFile file;
             CFileException error;
             return !file.Open(path, CFile::modeRead, &error) && error.m_cause == CFileException::invalidFile;
         }},
        {"write",
         [&] {
             CFile file;
             return !file.Open(path, CFile::modeCreate | CFile::modeWrite);
         }},
        {"device",
         [&] {
             CFile file;
             QFile qfile;
             return !file.Open(u"/dev/zero", CFile::modeRead) &&
                    HxOpenRegularFile(qfile, QStringLiteral("/dev/zero")) == CFileException::invalidFile;
         }},
        {"picture",
         [&] {
             QImage image;
             DWORD code = 0;
             CString text;
             return !HxLoadImageFile(path, image, code, text) && code == HX_E_ACCESS_DENIED;
         }},
        {"formula", [&] { return !CBinTree().LoadMtf(path); }},
        // A save does not put a file in a pipe's place.
        {"save",
         [&] {
             struct stat info;
             return !HxWriteFileSafely(path, kOldBytes) &&
                    stat(QFile::encodeName(pipe).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
         }},
    };
    for (const auto& [name, refused] : refusals)
        EXPECT_EQ(HxRunInChild([&] { return refused() ? 0 : 1; }, -1, 5), 0) << name;
}

TEST_F(SafeSaveTest, FileWritesReportWhatFlushAndCloseFind) {
    const CString path = CString::FromQString(m_dir.filePath(QStringLiteral("plain.bin")));
    // Buffered bytes past the limit: the write seems to succeed, the flush or the close must not.
    const int found = HxRunInChild(
        [&] {
            HxIgnoreFileSizeSignal();
            int result = 0;
            for (bool closeOnly : {false, true}) {
                CFile file;
                if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
                    return 100;
                const std::vector<BYTE> bytes(100, 1);
                file.Write(bytes.data(), UINT(bytes.size()));
                try {
                    if (closeOnly)
                        file.Close();
                    else
                        file.Flush();
                } catch (const CFileException& e) {
                    result |= (e.m_cause == CFileException::diskFull ? 1 : 0) << int(closeOnly);
                }
            }
            return result;
        },
        kSizeLimit);
    EXPECT_EQ(found, 3);
}

TEST_F(SafeSaveTest, AReadOnlyDocumentIsSavedThroughSaveAsAndNothingIsLost) {
    const QString folder = m_dir.filePath(QStringLiteral("samples"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const CString sample = CString::FromQString(folder + QStringLiteral("/1-正方体.hvx"));
    ASSERT_TRUE(m_doc->OnSaveDocument(sample));
    ASSERT_EQ(chmod(QFile::encodeName(sample.ToQString()).constData(), 0444), 0);
    const QByteArray before = Bytes(sample);
    m_doc->SetPathName(sample, FALSE);
    m_doc->SetModifiedFlag(TRUE);

    // Save asks for a new name; cancelled, nothing changes and the document stays modified.
    std::vector<CString> suggested;
    CString answer;
    HxSetDialogRunner([&](CDialog& dlg) {
        auto* files = dynamic_cast<CFileDialog*>(&dlg);
        if (!files || files->m_bOpenFileDialog)
            return INT_PTR(IDABORT);
        suggested.push_back(files->m_strFileName);
        if (answer.IsEmpty())
            return INT_PTR(IDCANCEL);
        files->SetResult(answer);
        return INT_PTR(IDOK);
    });
    EXPECT_FALSE(m_doc->DoFileSave());
    EXPECT_EQ(suggested.size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->GetPathName(), sample);
    EXPECT_TRUE(m_messages.empty());

    // Save As onto the read-only file itself is refused with the failure message.
    answer = sample;
    EXPECT_FALSE(m_doc->DoFileSave());
    EXPECT_EQ(m_messages, std::vector<CString>{HxFormat(u"无法保存文档“%s”：没有写入权限。", sample)});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->GetPathName(), sample);
    m_messages.clear();

    // A name of the user's: saved there, and the document is that file from now on.
    const CString mine = CString::FromQString(m_dir.filePath(QStringLiteral("我的正方体.hvx")));
    answer = mine;
    EXPECT_TRUE(m_doc->DoFileSave());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_doc->GetPathName(), mine);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(Bytes(sample), before) << "the sample is as it was";
    EXPECT_TRUE(HxIsReadOnlyPath(sample.ToQString()));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1) << "nothing left beside it";
    const int pages = m_doc->GetPageCount();
    EXPECT_TRUE(m_doc->OpenDocumentFile(mine, FALSE));
    EXPECT_EQ(m_doc->GetPageCount(), pages);
    // The next Save goes to the user's file without asking.
    suggested.clear();
    m_doc->SetModifiedFlag(TRUE);
    EXPECT_TRUE(m_doc->DoFileSave());
    EXPECT_TRUE(suggested.empty());
}

TEST_F(SafeSaveTest, ADocumentWhoseNameNearsTheLimitIsSavedOverItself) {
    // File names of 249 to 255 bytes: the temporary file's name does not grow with them.
    const QString chinese = QString(83, QChar(u'正')) + QStringLiteral("aa"); // 251 bytes in UTF-8
    for (const QString& stem : {QString(245, QLatin1Char('a')), QString(251, QLatin1Char('b')), chinese}) {
        const QString name = stem + QStringLiteral(".hvx");
        ASSERT_LE(QFile::encodeName(name).size(), 255);
        const CString path = CString::FromQString(m_dir.filePath(name));
        ASSERT_TRUE(m_doc->DoSave(path)) << name.size();
        const QByteArray first = Bytes(path);
        m_doc->AppendPage(u"又一页");
        m_doc->SetModifiedFlag(TRUE);
        m_messages.clear();
        EXPECT_TRUE(m_doc->DoFileSave()) << QFile::encodeName(name).size();
        EXPECT_TRUE(m_messages.empty());
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_NE(Bytes(path), first);
        const int pages = m_doc->GetPageCount();
        EXPECT_TRUE(m_doc->OpenDocumentFile(path, FALSE));
        EXPECT_EQ(m_doc->GetPageCount(), pages);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file left";
}

TEST_F(SafeSaveTest, AHugeOrPaddedDocumentIsRefusedBeforeItIsRead) {
    const CString path = CString::FromQString(m_dir.filePath(QStringLiteral("padded.hvx")));
    ASSERT_TRUE(m_doc->DoSave(path));
    const int pages = m_doc->GetPageCount();
    const qint64 real = QFileInfo(path.ToQString()).size();
    // Zeros past the document, without the disk space: 4 GiB (where a 32-bit count wraps), 3 GiB,
    // and just past the limit.  Each is refused as too large (not as damaged: nothing in it was
    // read) and the open document stays.
    for (const qint64 padding : {qint64(4) << 30, qint64(3) << 30, qint64(kHxMaxDocumentBytes) - real + 1}) {
        ASSERT_TRUE(QFile::resize(path.ToQString(), real + padding));
        for (const CString& opened :
             {path, CString::FromQString(m_dir.filePath(QStringLiteral("padded.gf")))}) {
            if (opened != path) {
                QFile::remove(opened.ToQString());
                ASSERT_TRUE(QFile::link(path.ToQString(), opened.ToQString()));
            }
            m_messages.clear();
            EXPECT_FALSE(m_doc->OpenDocumentFile(opened, FALSE)) << padding;
            EXPECT_EQ(m_messages,
                      std::vector<CString>{HxFormat(u"无法打开文档“%s”：文件太大（超过2048MB）。", opened)})
                << padding;
            EXPECT_EQ(m_doc->GetPageCount(), pages);
            EXPECT_EQ(m_doc->GetPathName(), path);
        }
    }
    // Just at the limit it is read: the document, and nothing of the padding it does not need.
    ASSERT_TRUE(QFile::resize(path.ToQString(), qint64(kHxMaxDocumentBytes)));
    m_messages.clear();
    m_doc->AppendPage(u"又一页");
    EXPECT_TRUE(m_doc->OpenDocumentFile(path, FALSE));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_doc->GetPageCount(), pages);
    // Back to its own size it opens again.
    ASSERT_TRUE(QFile::resize(path.ToQString(), real));
    m_doc->AppendPage(u"又一页");
    m_messages.clear();
    EXPECT_TRUE(m_doc->OpenDocumentFile(path, FALSE));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_doc->GetPageCount(), pages);
}

namespace {

// A file that says it is longer than 4 GiB and holds a few bytes: the archive asks it for what it
// says it has, in pieces, and keeps what really comes.
class CLongFile : public CMemFile {
public:
    explicit CLongFile(std::vector<BYTE> bytes) : CMemFile(std::move(bytes)) {}
    ULONGLONG GetLength() const override { return (ULONGLONG(1) << 32) + 8; }
    UINT Read(void* buffer, UINT count) override {
        m_asked.push_back(count);
        return CMemFile::Read(buffer, count);
    }
    std::vector<UINT> m_asked;
};

} // namespace

TEST(ArchiveLength, AFilePast4GiBIsNotReadAsItsLengthModulo4GiB) {
    CLongFile file(std::vector<BYTE>(8, 0x41));
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.GetBytesLeft(), 8u);
    ASSERT_FALSE(file.m_asked.empty());
    EXPECT_GT(file.m_asked.front(), 8u) << "the count did not wrap to the 8 bytes past 4 GiB";
}
