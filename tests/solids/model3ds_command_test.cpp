// The 3DS model command: its file dialog (the Models folder, else the program's folder), the model and
// its turning button as one undo step, nothing when cancelled, the button turning the model once round,
// and the properties command on a selected model.
#include "construct/construct_fixture.h"
#include "construct/model_commands.h"
#include "document/property_dialogs.h"
#include "dynamics/buttons.h"
#include "solids/model3ds.h"
#include "support/model3ds_writer.h"
#include "view/view_settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <sys/stat.h>

namespace {

class ModelCommandTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_installFolder = g_installFolder;
        g_installFolder = CString::FromQString(m_dir.path());
    }
    void TearDown() override {
        g_installFolder = m_installFolder;
        ConstructTest::TearDown();
    }
    CString WriteModel(const QString& name) {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        const std::vector<uint8_t> bytes =
            Write3ds({{"Wall", 230, 220, 190, ""}, {"Roof", 180, 50, 40, ""}},
                     {Box3ds("Walls", -4, -3, 0, 4, 3, 5, "Wall"),
                      Prism3ds("Roof", -4.5f, 4.5f, -3.5f, 3.5f, 5, 8, "Roof")});
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return CString::FromQString(path);
    }
    // The file dialog's start, type and extension; answered with `path`.
    void ChooseFile(const CString& path) {
        Script<CFileDialog>([this, path](CFileDialog& d) {
            m_start = d.m_strFileName;
            m_filter = d.m_strFilter;
            m_ext = d.m_strDefExt;
            m_open = d.m_bOpenFileDialog != FALSE;
            if (!path.IsEmpty())
                d.SetResult(path);
        });
    }

    QTemporaryDir m_dir;
    CString m_installFolder;
    CString m_start, m_filter, m_ext;
    bool m_open = false;
};

} // namespace

TEST_F(ModelCommandTest, AModelAndTheButtonThatTurnsItAreOneUndoStep) {
    const CString path = WriteModel(QStringLiteral("Models/小屋.3ds"));
    ChooseFile(path);
    const WORD first = m_page->m_nextId;
    const PageSnapshot before = TakeSnapshot(*m_page);
    EXPECT_TRUE(Enabled(ID_3DSMODEL));
    ASSERT_TRUE(Run(ID_3DSMODEL));
    EXPECT_EQ(m_dialogCount, 1);
    EXPECT_TRUE(m_open);
    EXPECT_EQ(m_start, g_installFolder + u"/Models/*.3ds");
    EXPECT_EQ(m_filter, CString(u"3ds Max file (*.3ds)|*.3ds||"));
    EXPECT_EQ(m_ext, CString(u"3ds"));
    ASSERT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGModel3ds", "CGButnAnimation"}));

    auto* model = Cell<CGModel3ds>(first);
    EXPECT_TRUE(model->m_valid);
    EXPECT_EQ(model->m_style, 1);
    EXPECT_EQ(model->m_name, CString(u"小屋.3ds"));
    EXPECT_EQ(model->m_path, path);
    EXPECT_NEAR(model->m_halfDiagonal * model->m_scale, 15.0, 1e-4);
    for (float c : model->m_center)
        EXPECT_EQ(c, 0.0f);
    EXPECT_EQ(model->m_param1, 0.0f);
    auto* button = Cell<CGButnAnimation>(WORD(first + 1));
    EXPECT_EQ(button->m_name, CString(u"旋转模型"));
    EXPECT_EQ(Parents(button), std::vector<WORD>{model->m_id});
    EXPECT_EQ(button->m_min, 0.0f);
    EXPECT_EQ(button->m_max, 6.283f);
    EXPECT_EQ(button->m_mode, CGButnAnimation::kForward);
    EXPECT_EQ(button->m_repeat, 0);
    EXPECT_EQ(button->m_speed, 0.02f);
    EXPECT_EQ(button->m_extA3, 0.0f);
    EXPECT_EQ(button->m_kind, 0);
    EXPECT_TRUE(button->m_valid);

    ExpectUndoStep<CCmdAddCells>(u"添加3dsmax模型", 2);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_GT(m_viewUpdates, 0);
    ExpectUndoRedo(before);
    EXPECT_EQ(model->m_model.objectCount, 2) << "read again on redo, not appended";
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ModelCommandTest, AFolderPipeOrDeviceChosenIsNoModelFile) {
    const QString folder = m_dir.filePath(QStringLiteral("文件夹.3ds"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString pipe = m_dir.filePath(QStringLiteral("管道.3ds"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& chosen : {folder, pipe, QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(chosen.toStdString());
        const CString path = CString::FromQString(chosen);
        ChooseFile(path);
        m_messages.clear();
        m_dialogCount = 0;
        const WORD first = m_page->m_nextId;
        const PageSnapshot before = TakeSnapshot(*m_page);
        ASSERT_TRUE(Run(ID_3DSMODEL));
        // Said at once for what it is: not searched for, nor asked for again.
        EXPECT_EQ(m_messages, std::vector<CString>{HxFormat(u"%s 不是3ds文件!", path)});
        EXPECT_EQ(m_dialogCount, 1) << "the command's own file dialog only";
        // The model (that did not load) and its button are made all the same, as one undo step.
        ASSERT_EQ(ClassesFrom(first), (std::vector<std::string>{"CGModel3ds", "CGButnAnimation"}));
        auto* model = Cell<CGModel3ds>(first);
        EXPECT_FALSE(model->m_valid);
        EXPECT_EQ(model->m_path, path);
        EXPECT_EQ(model->m_model.objectCount, 0);
        ExpectUndoStep<CCmdAddCells>(u"添加3dsmax模型", 2);
        m_messages.clear();
        ExpectUndoRedo(before);
        EXPECT_EQ(m_messages, std::vector<CString>{HxFormat(u"%s 不是3ds文件!", path)})
            << "read again on redo";
        EXPECT_EQ(m_dialogCount, 1);
    }
}

TEST_F(ModelCommandTest, ACancelledDialogMakesNothing) {
    WriteModel(QStringLiteral("Models/小屋.3ds"));
    ChooseFile(CString());
    m_answer = IDCANCEL;
    const PageSnapshot before = TakeSnapshot(*m_page);
    Run(ID_3DSMODEL);
    EXPECT_EQ(m_dialogCount, 1);
    ExpectNothingDone(before);
}

TEST_F(ModelCommandTest, WithoutAModelsFolderTheDialogStartsInTheProgramsFolder) {
    ChooseFile(CString());
    m_answer = IDCANCEL;
    Run(ID_3DSMODEL);
    EXPECT_EQ(m_start, g_installFolder + u"/*.3ds");
}

TEST_F(ModelCommandTest, TheButtonTurnsTheModelOnceRoundAndStops) {
    ChooseFile(WriteModel(QStringLiteral("Models/m.3ds")));
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_3DSMODEL));
    auto* model = Cell<CGModel3ds>(first);
    auto* button = Cell<CGButnAnimation>(WORD(first + 1));
    int steps = 0;
    float last = model->m_param1;
    while (!button->Step()) {
        ASSERT_LT(++steps, 1000);
        EXPECT_NEAR(model->m_param1 - last, 0.02f, 1e-4f) << steps;
        last = model->m_param1;
    }
    EXPECT_EQ(model->m_param1, 6.283f);
    EXPECT_NEAR(steps, 6.283 / 0.02, 1.0);
}

TEST_F(ModelCommandTest, ThePropertiesCommandEditsTheOneSelectedModel) {
    ChooseFile(WriteModel(QStringLiteral("Models/m.3ds")));
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Run(ID_3DSMODEL));
    auto* model = Cell<CGModel3ds>(first);
    Select({model->m_id});
    ASSERT_TRUE(Enabled(ID_EDIT_PROPERTY));
    Script<CDlg3ds>([](CDlg3ds& dlg) {
        EXPECT_EQ(dlg.m_displayMode, 1);
        dlg.m_displayMode = 0;
        dlg.m_scale = 3.0f;
    });
    ASSERT_TRUE(Run(ID_EDIT_PROPERTY));
    EXPECT_EQ(model->m_style, CGModel3ds::kStyleWire);
    EXPECT_EQ(model->m_scale, 3.0f);
    ExpectUndoStep<CCmdModifyModel3ds>(u"修改3ds模型属性");
    // With a point selected as well, the point's dialog is the one the command opens.
    const WORD point = AddPoint(1, 2, 3)->m_id;
    Select({model->m_id, point});
    m_dialogCount = 0;
    Script<CDlgPropertyPoint>([](CDlgPropertyPoint&) {});
    Run(ID_EDIT_PROPERTY);
    EXPECT_EQ(m_dialogCount, 1);
    EXPECT_EQ(model->m_scale, 3.0f);
}
