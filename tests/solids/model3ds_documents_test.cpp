// Documents with 3DS models: the fuzz seed read beside a folder of whole, damaged and foreign model
// files (each found by name, read or refused, a missing one asked for), and a document opened from its
// file after it and its model were moved together.
#include "seed_document_fixture.h"
#include "solids/model3ds.h"
#include "support/model3ds_writer.h"

#include <QTemporaryDir>

namespace {

// The seed documents with the message boxes and file dialogs recorded (every file dialog cancelled).
class ModelDocumentTest : public SeedDocumentTest {
protected:
    void SetUp() override {
        SeedDocumentTest::SetUp();
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        HxSetDialogRunner([this](CDialog& d) -> INT_PTR {
            if (DYNAMIC_DOWNCAST(CFileDialog, &d))
                ++m_fileDialogs;
            return IDCANCEL;
        });
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override {
        HxSetDialogRunner(nullptr);
        SeedDocumentTest::TearDown();
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::vector<CString> m_messages;
    int m_fileDialogs = 0;
};

} // namespace

TEST_F(ModelDocumentTest, TheModelsOfADocumentAreFoundBesideItOrAskedFor) {
    ASSERT_TRUE(Write3dsDocumentModels(m_dir.path().toStdString()));
    g_lastDocumentPath = CString::FromQString(Path(QStringLiteral("课件.hvx")));
    ASSERT_TRUE(Load("models"));
    const std::vector<CGModel3ds*> m = CellsOf<CGModel3ds>(0);
    ASSERT_EQ(m.size(), 6u);
    // Whole, relocated from a Windows path: read, with its stored place and scale.
    EXPECT_TRUE(m[0]->m_valid);
    EXPECT_EQ(m[0]->m_path, CString::FromQString(Path(QStringLiteral("cube.3ds"))));
    EXPECT_EQ(m[0]->m_model.objectCount, 2);
    EXPECT_EQ(m[0]->m_scale, 0.5f);
    EXPECT_EQ(m[0]->m_center[0], 0.0f);
    // Cut in the middle: the whole objects before the cut; a main chunk too short: nothing.
    EXPECT_TRUE(m[1]->m_valid);
    EXPECT_LE(m[1]->m_model.objectCount, 1);
    EXPECT_TRUE(m[2]->m_valid);
    EXPECT_EQ(m[2]->m_model.objectCount, 0);
    // No model at all, found nowhere, too short a path.
    EXPECT_FALSE(m[3]->m_valid);
    EXPECT_FALSE(m[4]->m_valid);
    EXPECT_EQ(m[4]->m_path, CString(u"C:\\gone\\gone.3ds"));
    EXPECT_EQ(m[5]->m_path, CString(u"a.3d"));
    EXPECT_EQ(m[5]->m_model.objectCount, 0);
    EXPECT_EQ(m_fileDialogs, 1);
    // cube.png is not there, for the whole model and for the one cut after its materials.
    const std::vector<CString> expected = {
        u"纹理未能全部装入\n\n请检查文件位置及格式是否正确！",
        u"纹理未能全部装入\n\n请检查文件位置及格式是否正确！",
        HxFormat(u"%s 不是3ds文件!", CString::FromQString(Path(QStringLiteral("notes.3ds")))),
        u"原来设定的3ds模型文件:\n“ C:\\gone\\gone.3ds ”未找到，请重新指定其路径！"};
    EXPECT_EQ(m_messages, expected);
}

TEST_F(ModelDocumentTest, ADocumentMovedWithItsModelFindsItWithoutAsking) {
    // Saved in one folder beside its model, then both moved to another.
    QDir().mkpath(Path(QStringLiteral("old")));
    QDir().mkpath(Path(QStringLiteral("new")));
    const std::vector<uint8_t> bytes = Write3ds({}, {Box3ds("B", 0, 0, 0, 2, 2, 2)});
    for (const char* folder : {"old", "new"}) {
        QFile model(Path(QStringLiteral("%1/盒子.3ds").arg(QLatin1String(folder))));
        ASSERT_TRUE(model.open(QIODevice::WriteOnly));
        model.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    CGPage* page = m_doc->GetPage(0);
    auto* model =
        new CGModel3ds(page->m_nextId++, CString::FromQString(Path(QStringLiteral("old/盒子.3ds"))), 1);
    page->m_cells.SetAt(model->m_id, model);
    ASSERT_TRUE(model->m_valid);
    const CString oldDocument = CString::FromQString(Path(QStringLiteral("old/课件.hvx")));
    ASSERT_TRUE(m_doc->DoSave(oldDocument));
    ASSERT_TRUE(QFile::rename(Path(QStringLiteral("old/课件.hvx")), Path(QStringLiteral("new/课件.hvx"))));
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("old/盒子.3ds"))));

    // Another document was the last one: the opened document's own folder counts while it is read.
    g_lastDocumentPath = CString::FromQString(Path(QStringLiteral("old/其他.hvx")));
    ASSERT_TRUE(m_doc->OpenDocumentFile(CString::FromQString(Path(QStringLiteral("new/课件.hvx"))), FALSE));
    const std::vector<CGModel3ds*> m = CellsOf<CGModel3ds>(0);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_TRUE(m[0]->m_valid);
    EXPECT_EQ(m[0]->m_path, CString::FromQString(Path(QStringLiteral("new/盒子.3ds"))));
    EXPECT_EQ(m[0]->m_model.objectCount, 1);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_fileDialogs, 0);
    EXPECT_EQ(CHalvixDoc::GetDocumentFolder(), CString::FromQString(Path(QStringLiteral("new/"))));

    // A document that fails to open leaves the last document path as it was.
    QFile broken(Path(QStringLiteral("broken.hvx")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a document");
    broken.close();
    m_messages.clear();
    EXPECT_FALSE(m_doc->OpenDocumentFile(CString::FromQString(Path(QStringLiteral("broken.hvx"))), FALSE));
    EXPECT_EQ(g_lastDocumentPath, CString::FromQString(Path(QStringLiteral("new/课件.hvx"))));
}
