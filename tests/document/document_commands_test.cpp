// The file commands with real files: new, open, save, save as, the save prompt of a modified
// document, the ".gf" copy and open commands, the recent files, refused files that leave the open
// document (and its path) alone, and the show-all command.
#include "document_test_support.h"

#include "measure/text_items.h"
#include "support/page_snapshot.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

class DocumentCommandsTest : public DocumentTest {
protected:
    static void SetUpTestSuite() {
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }
    void SetUp() override {
        DocumentTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_recent.ReadList();
        while (m_recent.GetSize() > 0)
            m_recent.Remove(0);
        m_doc->m_pRecentFileList = &m_recent;
        m_doc->m_onTitleChanged = [this](const CString& title) { m_titles.push_back(title); };
        AfxGetCommandRouter().SetChain({m_doc.get()});
        HxSetDialogRunner([this](CDialog& dlg) {
            auto* files = DYNAMIC_DOWNCAST(CFileDialog, &dlg);
            if (!files)
                return INT_PTR(IDCANCEL);
            m_dialogs.push_back({files->m_bOpenFileDialog, files->m_strDefExt, files->m_strFileName,
                                 files->m_dwFlags, files->m_strFilter});
            if (m_choice.IsEmpty())
                return INT_PTR(IDCANCEL);
            files->SetResult(m_choice);
            return INT_PTR(IDOK);
        });
    }
    void TearDown() override {
        AfxGetCommandRouter().SetChain({});
        DocumentTest::TearDown();
    }

    CString Path(const char16_t* name) {
        return CString::FromQString(m_dir.filePath(QString::fromUtf16(name)));
    }
    bool Run(UINT id) { return AfxGetCommandRouter().Execute(id); }
    std::vector<BYTE> FileBytes(const CString& path) {
        QFile f(path.ToQString());
        QByteArray data = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return std::vector<BYTE>(data.begin(), data.end());
    }
    void WriteFile(const CString& path, const std::vector<BYTE>& bytes) {
        QFile f(path.ToQString());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    bool Enabled(UINT id, CString* text = nullptr) {
        CCmdUI ui;
        ui.m_nID = id;
        AfxGetCommandRouter().Update(ui);
        if (text)
            *text = ui.m_text;
        return ui.m_enabled;
    }
    // Saves the sample document as `name` through Save As.
    CString SaveSample(const char16_t* name) {
        BuildSampleDocument();
        m_choice = Path(name);
        EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
        m_choice.Empty();
        return Path(name);
    }

    struct Dialog {
        BOOL open;
        CString defExt, fileName;
        DWORD flags;
        CString filter;
    };
    QTemporaryDir m_dir;
    CRecentFileList m_recent;
    CString m_choice; // the path the file dialogs choose; empty cancels them
    std::vector<Dialog> m_dialogs;
    std::vector<CString> m_titles;
};

} // namespace

TEST_F(DocumentCommandsTest, SaveAsWritesTheFileAndNamesTheDocument) {
    // Save of an untitled document asks for a name; Cancel saves nothing.
    m_doc->SetModifiedFlag();
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(m_doc->GetPathName().IsEmpty());
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    m_dialogs.clear();

    CString path = SaveSample(u"立方体.hvx");
    ASSERT_EQ(m_dialogs.size(), 1u);
    EXPECT_FALSE(m_dialogs[0].open);
    EXPECT_EQ(m_dialogs[0].defExt, u"hvx");
    EXPECT_EQ(m_dialogs[0].filter, u"Halvix文档(*.hvx)|*.hvx||");
    EXPECT_EQ(m_doc->GetPathName(), path);
    EXPECT_TRUE(m_doc->GetTitle() == u"立方体.hvx" && m_titles.back() == u"立方体.hvx");
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(g_lastDocumentPath, path);
    EXPECT_EQ(FileBytes(path), Store());
    ASSERT_EQ(m_recent.GetSize(), 1);
    EXPECT_EQ(m_recent[0], path);
    EXPECT_EQ(m_recent.GetDisplayName(0), u"&1 立方体.hvx");

    // Save goes to the same file without asking.
    m_doc->m_author = u"李老师";
    m_doc->SetModifiedFlag();
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(m_dialogs.size(), 1u);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(FileBytes(path), Store());

    // A name without extension gets ".hvx".
    m_choice = Path(u"无扩展名");
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(m_doc->GetPathName(), Path(u"无扩展名.hvx"));
    // So does a name with a dot in it; ".hvx" in capitals stays as it is.
    m_choice = Path(u"第1.2节");
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(m_doc->GetPathName(), Path(u"第1.2节.hvx"));
    EXPECT_EQ(FileBytes(Path(u"第1.2节.hvx")), Store());
    m_choice = Path(u"课件.HVX");
    EXPECT_TRUE(Run(ID_FILE_SAVE_AS));
    EXPECT_EQ(m_doc->GetPathName(), Path(u"课件.HVX"));
    EXPECT_FALSE(QFile::exists(Path(u"第1.2节").ToQString()));
    EXPECT_FALSE(QFile::exists(Path(u"课件.HVX.hvx").ToQString()));
}

TEST_F(DocumentCommandsTest, OpenReadsTheFileInPlaceOfTheDocument) {
    CString path = SaveSample(u"a.hvx");
    std::vector<BYTE> saved = FileBytes(path);
    EXPECT_TRUE(Run(ID_FILE_NEW));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    EXPECT_TRUE(m_doc->GetPathName().IsEmpty() && m_titles.back().IsEmpty() && g_lastDocumentPath.IsEmpty());

    m_choice = path;
    EXPECT_TRUE(Run(ID_FILE_OPEN));
    ASSERT_EQ(m_dialogs.size(), 2u);
    EXPECT_TRUE(m_dialogs[1].open);
    EXPECT_EQ(m_dialogs[1].filter, u"Halvix文档(*.hvx)|*.hvx||");
    EXPECT_TRUE(m_doc->GetPageCount() == 3 && m_doc->m_author == u"张老师");
    EXPECT_TRUE(m_doc->GetPathName() == path && g_lastDocumentPath == path);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(HxGetStatusText(2), u"当前页：第一页");
    EXPECT_EQ(FileBytes(path), saved) << "opening writes nothing";
}

TEST_F(DocumentCommandsTest, AModifiedDocumentAsksBeforeItIsReplaced) {
    CString path = SaveSample(u"b.hvx");
    m_doc->m_author = u"未保存";
    m_doc->SetModifiedFlag();

    m_answer = IDCANCEL;
    EXPECT_TRUE(Run(ID_FILE_NEW));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"是否保存对 b.hvx 的更改？");
    EXPECT_EQ(m_doc->m_author, u"未保存") << "cancel keeps the document";
    EXPECT_EQ(m_doc->GetPageCount(), 3);

    m_answer = IDNO;
    m_choice = path;
    EXPECT_TRUE(Run(ID_FILE_OPEN));
    EXPECT_EQ(m_doc->m_author, u"张老师") << "the changes were dropped";

    m_doc->m_author = u"要保存";
    m_doc->SetModifiedFlag();
    m_answer = IDYES;
    EXPECT_TRUE(Run(ID_FILE_NEW));
    EXPECT_EQ(m_doc->GetPageCount(), 1);
    m_doc->OnOpenDocument(path);
    EXPECT_EQ(m_doc->m_author, u"要保存") << "saved before the new document";
}

TEST_F(DocumentCommandsTest, AFileThatCannotBeReadLeavesTheDocumentAlone) {
    CString path = SaveSample(u"c.hvx");
    m_doc->SetModifiedFlag();
    m_answer = IDNO;
    std::vector<BYTE> before = Store();
    CGPage* current = g_pCurPage;

    std::vector<BYTE> broken = FileBytes(path);
    broken.resize(broken.size() / 2);
    WriteFile(Path(u"broken.hvx"), broken);
    m_messages.clear();
    EXPECT_FALSE(m_doc->OpenDocumentFile(Path(u"broken.hvx")));
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1], HxFormat(u"无法打开文档“%s”：文件不完整或已损坏。", Path(u"broken.hvx")));
    EXPECT_TRUE(Store() == before && g_pCurPage == current);
    EXPECT_TRUE(m_doc->GetPathName() == path && m_doc->IsModified());

    m_messages.clear();
    EXPECT_FALSE(m_doc->OpenDocumentFile(Path(u"不存在.hvx"), FALSE));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], HxFormat(u"无法打开文件“%s”。", Path(u"不存在.hvx")));
    EXPECT_EQ(m_doc->GetPathName(), path);
}

TEST_F(DocumentCommandsTest, ANewerFileIsRefusedAndASaveCannotOverwriteIt) {
    CString path = SaveSample(u"mine.hvx");
    CString newer = Path(u"newer.hvx");
    std::vector<BYTE> newerBytes = DocumentBytes::OnePage({}, 1, 606);
    WriteFile(newer, newerBytes);
    m_messages.clear();
    EXPECT_FALSE(m_doc->OpenDocumentFile(newer));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"这是高版本生成的文档，请您升级到最新版本！");
    EXPECT_EQ(m_doc->GetPathName(), path);
    EXPECT_EQ(m_doc->GetPageCount(), 3);
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(FileBytes(newer), newerBytes) << "the newer file is untouched";
    ASSERT_EQ(m_recent.GetSize(), 1);
    EXPECT_EQ(m_recent[0], path) << "the refused file is not a recent file";

    // Opened from the .gf command as well.
    WriteFile(Path(u"newer.gf"), newerBytes);
    m_messages.clear();
    EXPECT_FALSE(m_doc->OpenDocumentFile(Path(u"newer.gf")));
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_FALSE(g_saveGfFormat);
}

TEST_F(DocumentCommandsTest, GfCopyKeepsTheDocumentItsHvxFile) {
    CString path = SaveSample(u"课件.hvx");
    m_choice = Path(u"课件副本.gf");
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_dialogs.size(), 2u);
    EXPECT_TRUE(m_dialogs[1].fileName == Path(u"课件") && m_dialogs[1].defExt == u"gf");
    EXPECT_EQ(m_dialogs[1].filter, u"Halvix文档(*.gf)|*.gf||");
    EXPECT_EQ(m_dialogs[1].flags, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER);
    EXPECT_FALSE(g_saveGfFormat || m_doc->IsModified());
    EXPECT_EQ(m_doc->GetPathName(), path);
    std::vector<BYTE> gf = FileBytes(Path(u"课件副本.gf"));
    std::vector<BYTE> expected;
    {
        CGfFormatScope layout;
        expected = Store();
    }
    EXPECT_EQ(gf, expected);
    // A name with a dot in it gets ".gf"; ".gf" in capitals stays as it is.
    m_choice = Path(u"副本1.2");
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(FileBytes(Path(u"副本1.2.gf")), expected);
    m_choice = Path(u"副本.GF");
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(FileBytes(Path(u"副本.GF")), expected);
    EXPECT_FALSE(QFile::exists(Path(u"副本1.2").ToQString()) ||
                 QFile::exists(Path(u"副本.GF.gf").ToQString()));
    EXPECT_EQ(m_doc->GetPathName(), path);

    // An untitled document keeps the name of its copy.
    EXPECT_TRUE(Run(ID_FILE_NEW));
    m_choice = Path(u"新的");
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_TRUE(m_dialogs.back().fileName.IsEmpty());
    EXPECT_EQ(m_doc->GetPathName(), Path(u"新的.gf"));
}

TEST_F(DocumentCommandsTest, OpenAllReadsGfFilesInTheOlderLayoutUnderTheHvxName) {
    SaveSample(u"old.hvx");
    m_choice = Path(u"old.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    QFile::remove(Path(u"old.hvx").ToQString());
    EXPECT_TRUE(Run(ID_FILE_NEW));

    m_choice = Path(u"old.gf");
    EXPECT_TRUE(Run(ID_FILE_OPEN_ALL));
    EXPECT_TRUE(m_dialogs.back().open && m_dialogs.back().defExt == u"gf");
    EXPECT_EQ(m_dialogs.back().filter, u"3D图形文档|*.hvx;*.gf||");
    EXPECT_FALSE(g_saveGfFormat);
    EXPECT_TRUE(m_doc->GetPageCount() == 3 && m_doc->GetPathName() == Path(u"old.hvx"));
    EXPECT_EQ(m_doc->m_formatVersion, 605) << "upgraded";
    EXPECT_TRUE(m_doc->IsModified()) << "the upgrade asks for a save";
    EXPECT_EQ(m_recent[0], Path(u"old.gf"));

    // A later save writes the .hvx file beside the .gf file.
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(FileBytes(Path(u"old.hvx")), Store());

    // The extension in any case: "X.GF" is a .gf file, "y.HVX" a document of the present layout.
    QFile::copy(Path(u"old.gf").ToQString(), Path(u"UPPER.GF").ToQString());
    EXPECT_TRUE(m_doc->OpenDocumentFile(Path(u"UPPER.GF"), FALSE));
    EXPECT_EQ(m_doc->GetPathName(), Path(u"UPPER.hvx"));
    QFile::copy(Path(u"old.hvx").ToQString(), Path(u"y.HVX").ToQString());
    EXPECT_TRUE(m_doc->OpenDocumentFile(Path(u"y.HVX"), FALSE));
    EXPECT_EQ(m_doc->GetPathName(), Path(u"y.HVX"));
}

TEST_F(DocumentCommandsTest, TheFirstSaveAfterOpeningAGfCopyAsksBeforeWritingOverTheHvxBesideIt) {
    // x.hvx, and a .gf copy of it proposed under its own name; x.hvx is edited further.
    const CString hvx = SaveSample(u"x.hvx");
    m_choice = Path(u"x.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    m_doc->m_author = u"后来的修改";
    m_doc->SetModifiedFlag();
    m_choice.Empty();
    m_dialogs.clear();
    m_messages.clear();
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    // The copy left the document its own file: Save writes x.hvx without a dialog or a question.
    EXPECT_TRUE(m_dialogs.empty());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(m_doc->IsModified());
    const std::vector<BYTE> later = FileBytes(hvx);
    EXPECT_EQ(later, Store());

    // The copy opened and changed: Save asks for a name, x.hvx proposed with the overwrite question.
    auto openCopyAndChange = [&] {
        ASSERT_TRUE(m_doc->OpenDocumentFile(Path(u"x.gf"), FALSE));
        ASSERT_EQ(m_doc->GetPathName(), hvx);
        m_doc->GetPage(0)->FindCell(4)->m_text4 = u"副本里的修改";
        m_doc->SetModifiedFlag();
        m_dialogs.clear();
    };
    openCopyAndChange();
    Run(ID_FILE_SAVE);
    ASSERT_EQ(m_dialogs.size(), 1u);
    EXPECT_FALSE(m_dialogs[0].open);
    EXPECT_EQ(m_dialogs[0].fileName, hvx);
    EXPECT_TRUE(m_dialogs[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(FileBytes(hvx), later) << "Cancel writes nothing";
    EXPECT_TRUE(m_doc->IsModified());
    // Closing the document (the save prompt answered Yes) asks the same way.
    m_answer = IDYES;
    m_dialogs.clear();
    EXPECT_FALSE(m_doc->SaveModified());
    EXPECT_EQ(m_dialogs.size(), 1u);
    EXPECT_EQ(FileBytes(hvx), later);

    // Confirmed: x.hvx holds the document, and later saves write there without asking.
    m_choice = hvx;
    m_dialogs.clear();
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(m_dialogs.size(), 1u);
    EXPECT_EQ(FileBytes(hvx), Store());
    EXPECT_FALSE(m_doc->IsModified());
    m_doc->SetModifiedFlag();
    m_choice.Empty();
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(m_dialogs.size(), 1u);

    // Another name chosen: that file is written and x.hvx stays.
    const std::vector<BYTE> confirmed = FileBytes(hvx);
    openCopyAndChange();
    m_choice = Path(u"y.hvx");
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(FileBytes(Path(u"y.hvx")), Store());
    EXPECT_EQ(FileBytes(hvx), confirmed);

    // A .gf copy saved again keeps the question for the .hvx name.
    openCopyAndChange();
    m_choice = Path(u"x2.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(m_doc->GetPathName(), hvx);
    m_choice.Empty();
    m_doc->SetModifiedFlag();
    m_dialogs.clear();
    Run(ID_FILE_SAVE);
    EXPECT_EQ(m_dialogs.size(), 1u);
    EXPECT_EQ(FileBytes(hvx), confirmed);

    // No x.hvx: Save writes it without asking.
    ASSERT_TRUE(QFile::remove(hvx.ToQString()));
    openCopyAndChange();
    EXPECT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_TRUE(m_dialogs.empty());
    EXPECT_EQ(FileBytes(hvx), Store());
}

TEST_F(DocumentCommandsTest, AGfNamedFileInThePresentLayoutStillOpens) {
    // An untitled document saved as a .gf copy, then saved again under that name.
    BuildSampleDocument();
    m_choice = Path(u"copy.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    m_doc->SetModifiedFlag();
    ASSERT_TRUE(Run(ID_FILE_SAVE));
    EXPECT_EQ(FileBytes(Path(u"copy.gf")), Store());
    EXPECT_TRUE(Run(ID_FILE_NEW));
    m_messages.clear();
    EXPECT_TRUE(m_doc->OpenDocumentFile(Path(u"copy.gf")));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_doc->GetPageCount(), 3);
    EXPECT_EQ(m_doc->GetPage(0)->FindCell(4)->m_text4, u"只在新格式里");
}

// The ".gf" copy of a lesson of a photo and a point, renamed to a ".hvx" name, opens through 打开 as
// the copy opens under its own name: every cell, and every pixel of the photo.  The copy cut short
// or going on after its record is refused, as the present layout finds it, and the open lesson stays
// as it was; so is a copy of a later version, with its own message.  The lesson itself padded at its
// end still opens.
TEST_F(DocumentCommandsTest, AGfCopyUnderAnHvxNameOpensWhole) {
    g_clientWidth = 1600;
    g_clientHeight = 900;
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<BYTE> pixels(size_t(CGTextbit::PictureRowBytes(kWidth) * kHeight));
    for (size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = BYTE(k * 7 + k / 251);
    ASSERT_TRUE(m_doc->InsertImage(kWidth, kHeight, pixels));
    const WORD point = AddPoint(g_pCurPage, 1.5f, -2.0f, 3.25f)->m_id;
    m_choice = Path(u"课件.hvx");
    ASSERT_TRUE(Run(ID_FILE_SAVE_AS));
    m_choice = Path(u"课件.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    const std::vector<BYTE> lesson = FileBytes(Path(u"课件.hvx"));
    const std::vector<BYTE> copy = FileBytes(Path(u"课件.gf"));
    ASSERT_FALSE(lesson.empty());
    ASSERT_FALSE(copy.empty());
    ASSERT_NE(copy, lesson);

    auto pages = [this] {
        std::vector<PageSnapshot> snapshots;
        for (int i = 0; i < m_doc->GetPageCount(); ++i)
            snapshots.push_back(TakeSnapshot(*m_doc->GetPage(i)));
        return snapshots;
    };
    // The pages as the lesson opens, and as the copy opens under its own name.
    m_choice.Empty();
    ASSERT_TRUE(m_doc->OpenDocumentFile(Path(u"课件.hvx"), FALSE));
    const std::vector<PageSnapshot> saved = pages();
    ASSERT_TRUE(m_doc->OpenDocumentFile(Path(u"课件.gf"), FALSE));
    ASSERT_TRUE(m_messages.empty());
    const std::vector<PageSnapshot> expected = pages();

    // Renamed, opened in place of a lesson of two pages.
    WriteFile(Path(u"改名的副本.hvx"), copy);
    m_doc->SetModifiedFlag(FALSE);
    EXPECT_TRUE(Run(ID_FILE_NEW));
    m_doc->AppendPage(u"第二页");
    m_messages.clear();
    m_choice = Path(u"改名的副本.hvx");
    EXPECT_TRUE(Run(ID_FILE_OPEN));
    EXPECT_TRUE(m_messages.empty()) << m_messages.front().ToQString().toStdString();
    EXPECT_EQ(m_doc->GetPathName(), Path(u"改名的副本.hvx"));
    const std::vector<PageSnapshot> opened = pages();
    ASSERT_EQ(opened.size(), expected.size());
    for (size_t i = 0; i < opened.size(); ++i)
        EXPECT_TRUE(opened[i] == expected[i])
            << "page " << i << ": " << SnapshotDifference(opened[i], expected[i]);
    CGTbImage* photo = nullptr;
    CGVertex* vertex = nullptr;
    for (POSITION pos = m_doc->GetPage(0)->m_cells.GetStartPosition(); pos;) {
        WORD id;
        CGCell* cell;
        m_doc->GetPage(0)->m_cells.GetNextAssoc(pos, id, cell);
        if (auto* p = DYNAMIC_DOWNCAST(CGTbImage, cell))
            photo = p;
        else if (id == point)
            vertex = DYNAMIC_DOWNCAST(CGVertex, cell);
    }
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->m_width, kWidth);
    EXPECT_EQ(photo->m_height, kHeight);
    EXPECT_TRUE(photo->m_bits == pixels) << "the photo's pixels";
    ASSERT_NE(vertex, nullptr);
    EXPECT_TRUE(vertex->m_x == 1.5f && vertex->m_y == -2.0f && vertex->m_z == 3.25f);

    // Files neither layout reads to their end, and a later version: refused, the lesson open stays.
    ASSERT_TRUE(copy[0] == 0 && copy[1] == 0 && (copy[2] | copy[3] << 8) == CHalvixDoc::kGfVersion)
        << "no tools, then the version";
    std::vector<BYTE> later = copy;
    later[2] = BYTE(CHalvixDoc::kFirstRefusedVersion & 0xFF);
    later[3] = BYTE(CHalvixDoc::kFirstRefusedVersion >> 8);
    std::vector<BYTE> longer = copy;
    longer.insert(longer.end(), {1, 2, 3});
    struct Refused {
        const char* what;
        std::vector<BYTE> bytes;
        CString message; // empty: any reason the open gives
    };
    const CString broken = Path(u"坏的副本.hvx");
    std::vector<Refused> refused = {
        {"cut in half", std::vector<BYTE>(copy.begin(), copy.begin() + std::ptrdiff_t(copy.size() / 2)), {}},
        {"cut before the last byte", std::vector<BYTE>(copy.begin(), copy.end() - 1), {}},
        {"three bytes more", longer, {}},
        {"a later version", later, u"这是高版本生成的文档，请您升级到最新版本！"}};
    m_doc->m_author = u"打开的课件";
    m_doc->SetModifiedFlag();
    m_answer = IDNO;
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.what);
        WriteFile(broken, r.bytes);
        const std::vector<BYTE> before = Store();
        CGPage* current = g_pCurPage;
        m_messages.clear();
        m_choice = broken;
        EXPECT_TRUE(Run(ID_FILE_OPEN));
        // The save prompt (answered No), then the refusal.
        ASSERT_EQ(m_messages.size(), 2u);
        if (r.message.IsEmpty())
            EXPECT_EQ(m_messages[1].Find(HxFormat(u"无法打开文档“%s”：", broken)), 0)
                << m_messages[1].ToQString().toStdString();
        else
            EXPECT_EQ(m_messages[1], r.message);
        EXPECT_TRUE(Store() == before && g_pCurPage == current);
        EXPECT_TRUE(m_doc->GetPathName() == Path(u"改名的副本.hvx") && m_doc->IsModified());
        EXPECT_FALSE(g_saveGfFormat);
    }

    // The lesson padded at its end opens as it was saved.
    std::vector<BYTE> padded = lesson;
    padded.resize(padded.size() + 5000);
    WriteFile(Path(u"补齐的课件.hvx"), padded);
    m_messages.clear();
    m_choice = Path(u"补齐的课件.hvx");
    EXPECT_TRUE(Run(ID_FILE_OPEN));
    ASSERT_EQ(m_messages.size(), 1u) << "only the save prompt";
    EXPECT_EQ(m_doc->GetPathName(), Path(u"补齐的课件.hvx"));
    EXPECT_EQ(m_doc->m_formatVersion, CHalvixDoc::kCurrentVersion);
    EXPECT_TRUE(pages() == saved);
}

// 保存 .gf 副本 proposes the lesson's own name: its path without the extension its file has, ".hvx"
// or ".gf" in any case.  A name with a dot but without one of these is proposed whole.
TEST_F(DocumentCommandsTest, TheGfCopyIsProposedUnderTheLessonsOwnName) {
    // An untitled lesson takes the name of its copy, and its next copy is proposed under it.
    m_choice = Path(u"multiA.gf");
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    ASSERT_EQ(m_doc->GetPathName(), Path(u"multiA.gf"));
    m_choice.Empty();
    ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(m_dialogs.back().fileName, Path(u"multiA"));

    const std::pair<const char16_t*, const char16_t*> names[] = {
        {u"课件.hvx", u"课件"},   {u"课件.HVX", u"课件"}, {u"Lesson.Gf", u"Lesson"},
        {u"第1.2节", u"第1.2节"}, {u"a.b.gf", u"a.b"},    {u"x.hvx.txt", u"x.hvx.txt"}};
    for (const auto& [name, proposed] : names) {
        m_doc->SetPathName(Path(name), FALSE);
        const size_t dialogs = m_dialogs.size();
        ASSERT_TRUE(Run(ID_FILE_SAVE_GF));
        ASSERT_EQ(m_dialogs.size(), dialogs + 1);
        EXPECT_EQ(m_dialogs.back().fileName, Path(proposed)) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(m_doc->GetPathName(), Path(name)) << "a cancelled copy leaves the name";
    }
}

TEST_F(DocumentCommandsTest, AFailedSaveReportsItAndKeepsTheOldFile) {
    CString path = SaveSample(u"keep.hvx");
    std::vector<BYTE> saved = FileBytes(path);
    m_messages.clear();
    CString nowhere = Path(u"没有的文件夹/x.hvx");
    EXPECT_FALSE(m_doc->DoSave(nowhere));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], HxFormat(u"无法保存文档“%s”：找不到文件夹。", nowhere));
    EXPECT_EQ(m_doc->GetPathName(), path);

    // The same for a .gf copy: the old layout is not left switched on.
    const CString nowhereGf = Path(u"没有的文件夹/x.gf");
    m_choice = nowhereGf;
    m_messages.clear();
    EXPECT_TRUE(Run(ID_FILE_SAVE_GF));
    EXPECT_EQ(m_messages, std::vector<CString>{HxFormat(u"无法保存文档“%s”：找不到文件夹。", nowhereGf)});
    EXPECT_FALSE(g_saveGfFormat);
    EXPECT_EQ(m_doc->GetPathName(), path);
    EXPECT_EQ(FileBytes(path), saved);
}

TEST_F(DocumentCommandsTest, RecentFilesKeepSixAndOpenFromTheList) {
    std::vector<CString> paths;
    for (int i = 0; i < 8; ++i) {
        m_choice = Path(HxFormat(u"f%d.hvx", i));
        ASSERT_TRUE(Run(ID_FILE_SAVE_AS));
        paths.push_back(m_choice);
    }
    ASSERT_EQ(m_recent.GetSize(), 6);
    EXPECT_TRUE(m_recent[0] == paths[7] && m_recent[5] == paths[2]);
    CRecentFileList reread;
    reread.ReadList();
    ASSERT_EQ(reread.GetSize(), 6);
    EXPECT_EQ(reread[5], paths[2]);

    CString text;
    EXPECT_TRUE(Enabled(ID_FILE_MRU_FILE1 + 1, &text));
    EXPECT_EQ(text, u"&2 f6.hvx");

    // Opening an entry puts it first; an entry whose file has gone leaves the list.
    EXPECT_TRUE(Run(ID_FILE_MRU_FILE1 + 3));
    EXPECT_TRUE(m_doc->GetPathName() == paths[4] && m_recent[0] == paths[4]);
    QFile::remove(paths[2].ToQString());
    m_messages.clear();
    EXPECT_TRUE(Run(ID_FILE_MRU_FILE1 + 5));
    EXPECT_TRUE(m_messages.size() == 1u && m_recent.GetSize() == 5 && m_doc->GetPathName() == paths[4]);

    while (m_recent.GetSize() > 0)
        m_recent.Remove(0);
    EXPECT_FALSE(Enabled(ID_FILE_MRU_FILE1, &text));
    EXPECT_EQ(text, u"最近的文件");
}

TEST_F(DocumentCommandsTest, ShowAllObjectsShowsAndSelectsTheHiddenOnes) {
    CGPage* page = g_pCurPage;
    CGVertex* a = AddPoint(page, 0, 0, 0);
    CGVertex* b = AddPoint(page, 1, 0, 0);
    CGVertex* c = AddPoint(page, 2, 0, 0);
    EXPECT_FALSE(Enabled(ID_EDIT_SHOWOBJECT));
    a->m_hidden = c->m_hidden = 1;
    page->SelectCell(b->m_id);
    EXPECT_TRUE(Enabled(ID_EDIT_SHOWOBJECT));

    CWnd frame;
    AfxSetMainWnd(&frame);
    std::vector<HxMessageRecord> sent;
    HxSetMessageObserver([&](const HxMessageRecord& r) { sent.push_back(r); });
    EXPECT_TRUE(Run(ID_EDIT_SHOWOBJECT));
    HxSetMessageObserver(nullptr);
    AfxSetMainWnd(nullptr);
    EXPECT_TRUE(a->m_hidden == 0 && c->m_hidden == 0 && !b->m_selected);
    EXPECT_EQ(page->m_selAll.GetCount(), 2);
    EXPECT_TRUE(m_doc->IsModified());
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[1].message == UM_SELECTION_CHANGED && sent[1].wParam == 11u && sent[1].lParam == 40001);
}

TEST_F(DocumentCommandsTest, BackgroundColourAndRefreshReachThePages) {
    BuildSampleDocument();
    m_doc->SetModifiedFlag(FALSE);
    g_backgroundColor[0] = 0.25f;
    m_doc->ApplyBackgroundColor(TRUE);
    EXPECT_EQ(m_doc->GetPage(0)->m_background[0], 0.25f);
    EXPECT_EQ(m_doc->GetPage(1)->m_background[0], 1.0f) << "the current page only";
    EXPECT_TRUE(m_doc->IsModified());
    m_doc->ApplyBackgroundColor(FALSE);
    EXPECT_EQ(m_doc->GetPage(2)->m_background[0], 0.25f);

    // Refreshing all pages asks picture texts to render again.
    auto* text = AddCell(m_doc->GetPage(1), new CGTmVariable);
    text->m_style = 1;
    text->m_flag2 = false;
    m_doc->RefreshAllPages();
    EXPECT_TRUE(text->m_flag2);
}
