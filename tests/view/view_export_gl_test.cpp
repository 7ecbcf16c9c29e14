// Pictures of the view: Save As in each picture type cropped with margins, the extension rules (and
// the program's file dialog asking about the picture it writes, of the type chosen last), the empty
// figure, a refused save's reason, the document itself; F7 and the region screenshot onto the
// clipboard.
#include "view_mouse_fixture.h"

#include "app/halvix_app.h"
#include "support/dialog_user.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class ViewExportTest : public ViewMouseTest {
protected:
    void SetUp() override {
        ViewMouseTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    // A segment from (-4, 1) to (4, 1): 160 pixels wide on row 130.
    void AddSegment() {
        CGVertex* a = AddPoint(-4, 1);
        CGVertex* b = AddPoint(4, 1);
        a->m_hidden = b->m_hidden = 1;
        CGLine* ab = AddLine(a->m_id, b->m_id);
        ab->m_color = CRgba{0, 0, 200, 255};
        Redraw();
    }
    // Save As through its dialog: the name typed and the file type chosen (1 document, 2 bmp, 3 jpg,
    // 4 gif, 5 png).
    void SaveAs(const QString& typed, int type) {
        HxSetDialogRunner([&](CDialog& d) {
            auto& dlg = static_cast<CFileDialog&>(d);
            m_offeredFilter = dlg.m_strFilter;
            dlg.SetResult(CString::FromQString(m_dir.filePath(typed)), type);
            return INT_PTR(IDOK);
        });
        ASSERT_TRUE(m_view->OnCmdMsg(ID_FILE_SAVE_AS, CN_COMMAND, nullptr));
        HxSetDialogRunner(nullptr);
    }
    // Save As through the program's own window, as a user types the name, chooses the file type and
    // presses 保存; what it asked is left in `user`.
    void SaveAsThroughWindow(CDialogUser& user, const QString& typed, int type) {
        user.Type(typed);
        user.ChooseType(type);
        user.Save();
        user.Start();
        EXPECT_TRUE(m_view->OnCmdMsg(ID_FILE_SAVE_AS, CN_COMMAND, nullptr));
        EXPECT_TRUE(user.Done());
        user.Stop();
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
    CString m_offeredFilter;
};

bool Coloured(QRgb p) {
    return qBlue(p) > qRed(p) + 60 && qBlue(p) > qGreen(p) + 60;
}

} // namespace

TEST_F(ViewExportTest, SavesTheFigureCroppedWithItsMarginsInEachFormat) {
    AddSegment();
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_TRUE(m_view->GrabViewImage(&left, &right, &top, &bottom));
    // The segment spans columns 120..280 at row 130 from the top (169 from the bottom); with its
    // width and smoothing a pixel or two more, then 4 pixels of margin.
    EXPECT_NEAR(left, 120 - 4, 2);
    EXPECT_NEAR(right, 280 + 4, 2);
    EXPECT_NEAR(bottom, 169 - 4, 2);
    EXPECT_NEAR(top, 170 + 4, 2);
    const QSize box(right - left, top - bottom);
    struct Case {
        const char* name;
        int type;
        const char* format;
    };
    for (const Case& c : {Case{"figure.bmp", 2, "bmp"}, Case{"figure.jpg", 3, "jpeg"},
                          Case{"figure.gif", 4, "gif"}, Case{"figure.png", 5, "png"}}) {
        SCOPED_TRACE(c.name);
        SaveAs(QString::fromLatin1(c.name), c.type);
        QImageReader reader(Path(QString::fromLatin1(c.name)));
        EXPECT_EQ(reader.format(), QByteArray(c.format));
        const QImage picture = reader.read();
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), box);
        // The segment crosses the middle of the picture; the corners are background.
        const int row = picture.height() / 2;
        bool found = false;
        for (int dy = -2; dy <= 2 && !found; ++dy)
            found = Coloured(picture.pixel(picture.width() / 2, row + dy));
        EXPECT_TRUE(found);
        EXPECT_GT(qGray(picture.pixel(0, 0)), 240);
        EXPECT_GT(qGray(picture.pixel(picture.width() - 1, picture.height() - 1)), 240);
    }
    EXPECT_EQ(m_offeredFilter, u"Halvix文档(*.hvx)|*.hvx|图片文件(*.bmp)|*.bmp|图片文件(*.jpg)|*.jpg|"
                               u"图片文件(*.gif)|*.gif|图片文件(*.png)|*.png||");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewExportTest, TheTypesExtensionIsAppendedWhenTheNameLacksIt) {
    AddSegment();
    SaveAs(QStringLiteral("a.txt"), 2);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("a.txt.bmp"))));
    SaveAs(QStringLiteral("A.BMP"), 2);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("A.BMP.bmp"))));
    // A name typed without an extension takes the chosen type's.
    SaveAs(QStringLiteral("plain"), 5);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("plain.png"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("plain.hvx.png"))));
    // The document's extension is compared ignoring case: "课件.HVX" stays as it is, while a name
    // with a dot that does not end with it gets it.
    SaveAs(QStringLiteral("课件.HVX"), 1);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("课件.HVX"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("课件.HVX.hvx"))));
    SaveAs(QStringLiteral("第1.2节"), 1);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("第1.2节.hvx"))));
    // The document type saves the document itself.
    SaveAs(QStringLiteral("drawing"), 1);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("drawing.hvx"))));
    EXPECT_EQ(m_doc->GetPathName(),
              CString::FromQString(QFileInfo(Path(QStringLiteral("drawing.hvx"))).absoluteFilePath()));
    EXPECT_EQ(g_lastDocumentPath, m_doc->GetPathName());
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ViewExportTest, TheFileDialogAsksAboutThePictureWithTheAppendedExtension) {
    // The program's own dialog, started in the test's folder, with "a.txt" typed and the BMP type
    // chosen: the picture is a.txt.bmp, and that is the file asked about.
    ASSERT_TRUE(HxInstallChineseTranslations());
    g_lastDocumentPath = CString::FromQString(Path(QStringLiteral("drawing.hvx")));
    AddSegment();
    CDialogUser user;
    auto saveAsTxt = [&](std::initializer_list<QMessageBox::StandardButton> answers, bool cancelAfter) {
        user.ChooseNextType();
        user.TypeAndSave(QStringLiteral("a.txt"));
        for (QMessageBox::StandardButton answer : answers)
            user.Answer(answer);
        if (cancelAfter)
            user.Cancel();
        user.Start();
        EXPECT_TRUE(m_view->OnCmdMsg(ID_FILE_SAVE_AS, CN_COMMAND, nullptr));
        const bool done = user.Done();
        user.Stop();
        return done;
    };
    auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto bytes = [this](const QString& name) {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QString picture = QStringLiteral("a.txt.bmp");

    // Beside an existing a.txt.bmp: asked about it; No goes back to the dialog and writes nothing.
    write(picture, "an older picture");
    EXPECT_TRUE(saveAsTxt({QMessageBox::No}, true));
    ASSERT_EQ(user.m_questions.size(), 1u);
    EXPECT_TRUE(AsksToReplace(user.m_questions[0], "a.txt.bmp")) << user.m_questions[0].toStdString();
    EXPECT_EQ(user.m_titles[0], QStringLiteral("另存为"));
    EXPECT_EQ(bytes(picture), QByteArray("an older picture"));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("a.txt"))));

    // Yes replaces it with the picture.
    EXPECT_TRUE(saveAsTxt({QMessageBox::Yes}, false));
    ASSERT_EQ(user.m_questions.size(), 2u);
    EXPECT_TRUE(AsksToReplace(user.m_questions[1], "a.txt.bmp")) << user.m_questions[1].toStdString();
    EXPECT_EQ(QImageReader(Path(picture)).format(), QByteArray("bmp"));

    // Beside an existing a.txt alone: nothing is asked, a.txt.bmp is written and a.txt untouched.
    ASSERT_TRUE(QFile::remove(Path(picture)));
    write(QStringLiteral("a.txt"), "some text");
    EXPECT_TRUE(saveAsTxt({}, false));
    EXPECT_EQ(user.m_questions.size(), 2u);
    EXPECT_EQ(QImageReader(Path(picture)).format(), QByteArray("bmp"));
    EXPECT_EQ(bytes(QStringLiteral("a.txt")), QByteArray("some text"));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewExportTest, TheFileTypeChosenAfterTheNameIsTheOneWritten) {
    // The dialog shows folder A; "B/k" is typed where B/k.hvx is, then the PNG type is chosen.
    ASSERT_TRUE(HxInstallChineseTranslations());
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("A/B"))));
    g_lastDocumentPath = CString::FromQString(Path(QStringLiteral("A/drawing.hvx")));
    QFile document(Path(QStringLiteral("A/B/k.hvx")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write("a document");
    document.close();
    AddSegment();
    CDialogUser user;
    SaveAsThroughWindow(user, QStringLiteral("B/k"), 5);

    // B/k.png holds the picture; nothing was asked, and the document is untouched.
    EXPECT_TRUE(user.m_questions.empty()) << user.m_questions.front().toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("A/B/k.hvx.png"))));
    QFile picture(Path(QStringLiteral("A/B/k.png")));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_EQ(picture.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    EXPECT_EQ(document.readAll(), QByteArray("a document"));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewExportTest, ANameWithADotKeepsItWhenAPictureTypeIsChosenAfterIt) {
    // The dialog shows folder A; a name is typed, then the PNG type is chosen and 保存 pressed.
    ASSERT_TRUE(HxInstallChineseTranslations());
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("A/B"))));
    g_lastDocumentPath = CString::FromQString(Path(QStringLiteral("A/drawing.hvx")));
    AddSegment();
    struct Case {
        const char* typed;
        const char* written;
        const char* notWritten; // the name a replaced "extension" would give
    };
    // What follows the last dot is replaced only when it is one of the dialog's types, in any case.
    for (const Case& c :
         {Case{"第1.2节", "A/第1.2节.png", "A/第1.png"}, Case{"k.hvx", "A/k.png", "A/k.hvx.png"},
          Case{"K.HVX", "A/K.png", "A/K.HVX.png"}, Case{"B/第1.2节", "A/B/第1.2节.png", "A/B/第1.png"}}) {
        SCOPED_TRACE(c.typed);
        CDialogUser user;
        SaveAsThroughWindow(user, QString::fromUtf8(c.typed), 5);
        EXPECT_TRUE(user.m_questions.empty()) << user.m_questions.front().toStdString();
        QFile picture(Path(QString::fromUtf8(c.written)));
        EXPECT_TRUE(picture.open(QIODevice::ReadOnly));
        EXPECT_EQ(picture.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
        EXPECT_FALSE(QFile::exists(Path(QString::fromUtf8(c.notWritten))));
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ViewExportTest, AnEmptyFigureIsNotSaved) {
    Redraw();
    SaveAs(QStringLiteral("empty.png"), 5);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], u"当前显示区图形不可见！");
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("empty.png"))));
    // A white figure on the white background counts as empty.
    CGVertex* a = AddPoint(-4, 1);
    CGVertex* b = AddPoint(4, 1);
    a->m_hidden = b->m_hidden = 1;
    AddLine(a->m_id, b->m_id)->m_color = CRgba{255, 255, 255, 255};
    Redraw();
    int l, r, t, bo;
    EXPECT_FALSE(m_view->GrabViewImage(&l, &r, &t, &bo));
}

TEST_F(ViewExportTest, ARefusedSaveSaysWhyInChinese) {
    AddSegment();
    const QString locked = Path(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), 0555), 0);
    SaveAs(QStringLiteral("locked/figure.png"), 5);
    SaveAs(QStringLiteral("missing/figure.gif"), 4);
    chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(m_messages, (std::vector<CString>{u"Save image failed:\n101 - 没有写入权限",
                                                u"Save image failed:\n2 - 找不到文件夹"}));
    EXPECT_FALSE(QFile::exists(locked + QStringLiteral("/figure.png")));
}

TEST_F(ViewExportTest, F7AndTheScreenshotCopyToTheClipboard) {
    AddSegment();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_TRUE(m_view->GrabViewImage(&left, &right, &top, &bottom));
    CCmdUI ui;
    ui.m_nID = ID_EDIT_PRINTSCR;
    ASSERT_TRUE(m_view->OnCmdMsg(ID_EDIT_PRINTSCR, CN_UPDATE_COMMAND_UI, &ui));
    EXPECT_TRUE(ui.m_enabled);
    ASSERT_TRUE(m_view->OnCmdMsg(ID_EDIT_PRINTSCR, CN_COMMAND, nullptr));
    QImage copied = clipboard->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), QSize(right - left, top - bottom));
    EXPECT_TRUE(Coloured(copied.pixel(copied.width() / 2, copied.height() / 2)) ||
                Coloured(copied.pixel(copied.width() / 2, copied.height() / 2 - 1)));

    // A screenshot click without a drag: 200 x 200 pixels at the click.
    clipboard->clear();
    g_mouseTool = 8;
    Move(QPoint(150, 20), Qt::NoButton);
    EXPECT_EQ(g_mouseX, 350);
    Press(QPoint(150, 20));
    EXPECT_EQ(m_view->m_toolStage, 2);
    Release(QPoint(150, 20));
    EXPECT_EQ(g_mouseTool, 1);
    copied = clipboard->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), QSize(200, 200));
    EXPECT_EQ(m_view->m_grabWidth, 200);
    // The segment crosses it at row 130 - 20, from column 120 - 150 on.
    EXPECT_TRUE(Coloured(copied.pixel(60, 110)) || Coloured(copied.pixel(60, 109)));
    // A dragged rectangle: its own size, kept for the next click.
    g_mouseTool = 8;
    Press(QPoint(100, 120));
    Move(QPoint(160, 140));
    Release(QPoint(160, 140));
    copied = clipboard->image();
    EXPECT_EQ(copied.size(), QSize(60, 20));
    EXPECT_EQ(m_view->m_grabWidth, 60);
    EXPECT_EQ(m_view->m_grabHeight, 20);
}
