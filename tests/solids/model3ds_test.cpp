// The model cell without a window: construction and scale, its record, finding a moved file or asking
// for it, reading again without appending, textures beside the model, what the display list is given,
// the document folder, and the edit of its properties with its undo step.
#include "model3ds_fixture.h"

#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "construct/model_commands.h"
#include "support/cell_record.h"

#include <cmath>
#include <numbers>

namespace {

// Records what the display list would be given.
struct CRecordingSink {
    struct Object {
        bool textured;
        int material;
        std::vector<std::vector<float>> texCoords; // per corner, empty when none given
        std::vector<std::vector<int>> colors;      // per corner, empty when none given
        std::vector<std::vector<float>> positions;
    };
    void BeginObject(bool textured, int material) { objects.push_back({textured, material, {}, {}, {}}); }
    void Corner(const float* normal, const float* t, const BYTE* c, const float* p) {
        Object& o = objects.back();
        o.texCoords.push_back(t ? std::vector<float>{t[0], t[1]} : std::vector<float>{});
        o.colors.push_back(c ? std::vector<int>{c[0], c[1], c[2]} : std::vector<int>{});
        o.positions.push_back({p[0], p[1], p[2]});
        normals.push_back({normal[0], normal[1], normal[2]});
    }
    void EndObject() {}
    std::vector<Object> objects;
    std::vector<std::vector<float>> normals;
};

class ModelCellTest : public Model3dsTest {
protected:
    void SetUp() override {
        Model3dsTest::SetUp();
        HxResetDocumentGlobals();
    }
    void TearDown() override {
        HxResetDocumentGlobals();
        Model3dsTest::TearDown();
    }
    CGModel3ds* AddModel(const CString& path, BYTE style = 1) {
        return Insert(new CGModel3ds(NextId(), path, style));
    }
    // File dialogs answered with `path` (OK) or cancelled (empty path); the dialogs shown are kept.
    void AnswerFileDialogs(const CString& path) {
        HxSetDialogRunner([this, path](CDialog& d) -> INT_PTR {
            auto* file = DYNAMIC_DOWNCAST(CFileDialog, &d);
            if (!file)
                return IDCANCEL;
            m_fileDialogs.push_back({file->m_strDefExt, file->m_strFilter, file->m_bOpenFileDialog != FALSE});
            if (path.IsEmpty())
                return IDCANCEL;
            file->SetResult(path);
            return IDOK;
        });
    }
    struct CShownFileDialog {
        CString ext, filter;
        bool open;
    };
    std::vector<CShownFileDialog> m_fileDialogs;
};

} // namespace

TEST_F(ModelCellTest, ANewModelIsNamedAfterItsFileAndScaledToA30UnitDiagonal) {
    const CString path = WriteSmallModel(QStringLiteral("房子.3ds"));
    CGModel3ds* model = AddModel(path);
    EXPECT_TRUE(model->m_valid);
    EXPECT_EQ(model->m_name, CString(u"房子.3ds"));
    EXPECT_EQ(model->m_path, path);
    EXPECT_EQ(model->m_style, 1);
    EXPECT_EQ(model->GetDescription(), CString(u"3dsMax模型"));
    // The torus (radius 4 + 1, tube height 1) and the box (z from -3 to 3) make the box.
    const double box[6] = {-5, 5, -5, 5, -3, 3};
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(model->m_box[k], box[k], 1e-5) << k;
    EXPECT_NEAR(model->m_halfDiagonal, std::sqrt(100.0 + 100.0 + 36.0) / 2.0, 1e-5);
    EXPECT_FLOAT_EQ(model->m_scale, float(15.0 / model->m_halfDiagonal));
    EXPECT_NEAR(model->m_halfDiagonal * model->m_scale * 2.0, 30.0, 1e-4);
    for (float c : model->m_center)
        EXPECT_EQ(c, 0.0f);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ModelCellTest, ModelsThatDidNotLoadOrHaveNoExtentKeepScaleOne) {
    // No objects at all; one point only; not a 3DS file.
    const CString empty = WriteFile(QStringLiteral("empty.3ds"), Write3ds({{"M", 1, 2, 3, ""}}, {}));
    C3dsMeshSpec point;
    point.name = "P";
    point.vertices = {1, 2, 3};
    const CString single = WriteFile(QStringLiteral("point.3ds"), Write3ds({}, {point}));
    const CString foreign = WriteFile(QStringLiteral("foreign.3ds"), {1, 2, 3, 4, 5, 6, 7, 8});
    for (const CString& path : {empty, single, foreign}) {
        CGModel3ds* model = AddModel(path);
        EXPECT_EQ(model->m_valid, path != foreign) << path.ToUtf8();
        EXPECT_EQ(model->m_scale, 1.0f) << path.ToUtf8();
        for (float c : model->m_center)
            EXPECT_EQ(c, 0.0f);
        EXPECT_TRUE(std::isfinite(model->m_halfDiagonal));
    }
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, HxFormat(u"%s 不是3ds文件!", foreign));
    // The default model, as dynamic creation makes it before its record is read.
    CGModel3ds fresh;
    EXPECT_EQ(fresh.m_path, CString());
    EXPECT_EQ((std::vector<float>(fresh.m_center, fresh.m_center + 3)), (std::vector<float>{0, 0, -10}));
    EXPECT_EQ(fresh.m_scale, 1.0f);
}

TEST_F(ModelCellTest, TheRecordIsThePathTheCentreAndTheScale) {
    const CString path = WriteSmallModel(QStringLiteral("m.3ds"));
    CGModel3ds* model = AddModel(path, 0);
    model->m_center[0] = 1.5f;
    model->m_center[1] = -2.0f;
    model->m_center[2] = 3.25f;
    model->m_scale = 0.75f;
    model->m_param1 = 1.0f;
    ByteBuilder b;
    b.NewClass("CGModel3ds");
    CommonRecord c;
    c.id = model->m_id;
    c.name = model->m_name.Str();
    c.color = model->m_color;
    c.size = model->m_size;
    c.param[0] = 1.0f;
    c.AppendTo(b);
    b.Str(path.Str()).F32(1.5f).F32(-2.0f).F32(3.25f).F32(0.75f);
    const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << model; });
    EXPECT_EQ(bytes, b.Bytes());
    // Read back: the fields, and nothing read from the file until the page recomputes it.
    CObject* object = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { object = ar.ReadObject(RUNTIME_CLASS(CGCell)); });
    std::unique_ptr<CGModel3ds> back(DYNAMIC_DOWNCAST(CGModel3ds, object));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_path, path);
    EXPECT_EQ(back->m_scale, 0.75f);
    EXPECT_EQ(back->m_center[2], 3.25f);
    EXPECT_EQ(back->m_model.objectCount, 0);
    back->Recompute();
    EXPECT_TRUE(back->m_valid);
    EXPECT_EQ(back->m_model.objectCount, 2);
    EXPECT_EQ(back->m_scale, 0.75f) << "a loaded model keeps its stored scale";
    for (size_t size : {bytes.size() - 1, bytes.size() - 4, bytes.size() - 13}) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
        EXPECT_THROW(LoadBytes(cut, [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CGCell)); }),
                     CArchiveException)
            << size;
    }
}

TEST_F(ModelCellTest, AShortPathIsNeverRead) {
    CGModel3ds model;
    model.m_path = u"a.3d";
    model.m_valid = true;
    AnswerFileDialogs(CString());
    model.Recompute();
    EXPECT_TRUE(model.m_valid);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(m_fileDialogs.empty());
    EXPECT_EQ(model.m_model.objectCount, 0);
}

TEST_F(ModelCellTest, AMovedModelIsFoundBesideTheDocument) {
    WriteSmallModel(QStringLiteral("docs/机器.3ds"));
    g_lastDocumentPath = CString::FromQString(m_dir.filePath(QStringLiteral("docs/课件.hvx")));
    AnswerFileDialogs(CString());
    for (const char16_t* stored : {u"C:\\Users\\老师\\模型\\机器.3ds", u"/home/someone/gone/机器.3ds"}) {
        CGModel3ds model;
        model.m_path = stored;
        model.Recompute();
        EXPECT_TRUE(model.m_valid) << CString(stored).ToUtf8();
        EXPECT_EQ(model.m_path, CString::FromQString(m_dir.filePath(QStringLiteral("docs/机器.3ds"))));
        EXPECT_EQ(model.m_model.objectCount, 2);
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(m_fileDialogs.empty());
}

TEST_F(ModelCellTest, AModelFoundNowhereIsAskedForAndKeepsItsPathOnCancel) {
    g_lastDocumentPath = CString::FromQString(m_dir.filePath(QStringLiteral("docs/课件.hvx")));
    const CString stored = u"D:\\lessons\\gone.3ds";
    // Cancelled: invalid, the stored path as it was (not the folder beside the document).
    AnswerFileDialogs(CString());
    CGModel3ds model;
    model.m_path = stored;
    model.Recompute();
    EXPECT_FALSE(model.m_valid);
    EXPECT_EQ(model.m_path, stored);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text,
              CString(u"原来设定的3ds模型文件:\n“ D:\\lessons\\gone.3ds ”未找到，请重新指定其路径！"));
    ASSERT_EQ(m_fileDialogs.size(), 1u);
    EXPECT_TRUE(m_fileDialogs[0].open);
    EXPECT_EQ(m_fileDialogs[0].ext, CString(u"3ds"));
    EXPECT_EQ(m_fileDialogs[0].filter, CString(u"3ds Max file (*.3ds)|*.3ds||"));
    // Chosen: the new path is kept and read.
    const CString chosen = WriteSmallModel(QStringLiteral("found/here.3ds"));
    AnswerFileDialogs(chosen);
    model.Recompute();
    EXPECT_TRUE(model.m_valid);
    EXPECT_EQ(model.m_path, chosen);
    EXPECT_EQ(model.m_model.objectCount, 2);
    // Without a document folder the file is asked for at once.
    m_messages.clear();
    g_lastDocumentPath.Empty();
    AnswerFileDialogs(CString());
    model.m_path = stored;
    model.Recompute();
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_FALSE(model.m_valid);
}

TEST_F(ModelCellTest, RedoReadsTheModelAgainWithoutAppending) {
    const CString path = WriteSmallModel(QStringLiteral("m.3ds"));
    CGModel3ds* model = AddModel(path);
    const size_t faces = model->m_model.FaceCount();
    m_page->m_cmdProcessor.Submit(new CCmdAddCells(1, u"添加3dsmax模型"));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        EXPECT_EQ(m_page->FindCell(model->m_id), nullptr);
        ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
        ASSERT_EQ(m_page->FindCell(model->m_id), model);
        EXPECT_EQ(model->m_model.objectCount, 2);
        EXPECT_EQ(model->m_model.objects.size(), 2u);
        EXPECT_EQ(model->m_model.FaceCount(), faces);
    }
    // A file changed since is read as it is now.
    WriteFile(QStringLiteral("m.3ds"), Write3ds({}, {Box3ds("B", 0, 0, 0, 1, 1, 1)}));
    model->Recompute();
    EXPECT_EQ(model->m_model.objectCount, 1);
    EXPECT_EQ(model->m_model.materialCount, 0);
}

TEST_F(ModelCellTest, TexturesAreFoundInTheModelsFolder) {
    WriteImage(QStringLiteral("lib/maps/wood.png"), 4, 4, Qt::green);
    WriteImage(QStringLiteral("lib/STONE.PNG"), 4, 4, Qt::gray);
    const CString path =
        WriteFile(QStringLiteral("lib/m.3ds"),
                  Write3ds({{"Wood", 255, 255, 255, "maps\\wood.png"},
                            {"Stone", 255, 255, 255, "C:\\3dsmax\\maps\\stone.png"},
                            {"Plain", 1, 2, 3, ""}},
                           {Box3ds("A", 0, 0, 0, 1, 1, 1, "Wood"), Box3ds("B", 2, 0, 0, 3, 1, 1, "Stone")}));
    CGModel3ds* model = AddModel(path);
    EXPECT_TRUE(model->m_valid);
    EXPECT_TRUE(m_messages.empty());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(model->m_model.materials[size_t(i)].textureIndex, i);
    CRecordingSink sink;
    model->EmitMesh(sink);
    ASSERT_EQ(sink.objects.size(), 2u);
    EXPECT_TRUE(sink.objects[0].textured);
    EXPECT_EQ(sink.objects[1].material, 1);
    // A texture that is not there: reported, the model shown all the same.
    const CString missing =
        WriteFile(QStringLiteral("other/m.3ds"), Write3ds({{"Wood", 255, 255, 255, "nowhere.png"}},
                                                          {Box3ds("A", 0, 0, 0, 1, 1, 1, "Wood")}));
    CGModel3ds* second = AddModel(missing);
    EXPECT_TRUE(second->m_valid);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, CString(u"纹理未能全部装入\n\n请检查文件位置及格式是否正确！"));
}

TEST_F(ModelCellTest, TheListGetsMaterialColoursOrTexturesAndOnlyWhatExists) {
    const CString path = WriteSmallModel(QStringLiteral("m.3ds"));
    CGModel3ds* model = AddModel(path);
    Model3dsData data = std::move(model->m_model);
    // The box on "Red" untextured, the torus on "Wood" textured; then damaged forms.
    Object3ds& box = data.objects[0];
    Object3ds& ring = data.objects[1];
    ring.texCoordCount = 5; // fewer texture coordinates than vertices
    ring.texCoords.resize(10);
    Object3ds broken = box;
    broken.materialIndex = -1; // textured flag kept by an earlier group, index of an unknown name
    broken.textured = 1;
    broken.faces.insert(broken.faces.end(), {0, 1, 99}); // a face past the vertices
    broken.faceCount += 1;
    data.objects.push_back(broken);
    data.objectCount = 3;
    model->TakeModel(std::move(data), false);
    CRecordingSink sink;
    model->EmitMesh(sink);
    ASSERT_EQ(sink.objects.size(), 3u);
    const auto& red = sink.objects[0];
    EXPECT_FALSE(red.textured);
    ASSERT_EQ(red.positions.size(), 36u);
    for (size_t i = 0; i < red.positions.size(); ++i) {
        EXPECT_EQ(red.colors[i], (std::vector<int>{200, 0, 0}));
        EXPECT_TRUE(red.texCoords[i].empty());
    }
    const auto& wood = sink.objects[1];
    EXPECT_TRUE(wood.textured);
    ASSERT_EQ(wood.positions.size(), 144u * 3);
    EXPECT_TRUE(wood.colors[0].empty());
    // Corners of vertices 0 to 4 take their coordinates, the others (0, 0).
    const Object3ds& ringRead = model->m_model.objects[1];
    for (size_t i = 0; i < wood.positions.size(); ++i) {
        const int v = ringRead.faces[i];
        const std::vector<float> expected = v < 5 ? std::vector<float>{ringRead.texCoords[size_t(v) * 2],
                                                                       ringRead.texCoords[size_t(v) * 2 + 1]}
                                                  : std::vector<float>{0, 0};
        EXPECT_EQ(wood.texCoords[i], expected) << i;
    }
    const auto& unknown = sink.objects[2];
    EXPECT_FALSE(unknown.textured) << "no texture for a material that does not exist";
    EXPECT_EQ(unknown.positions.size(), 36u) << "the face past the vertices is left out";
    EXPECT_TRUE(unknown.colors[0].empty());
}

TEST_F(ModelCellTest, MaterialsFromTheHundredthOnGetNoTexture) {
    WriteImage(QStringLiteral("t.png"), 2, 2, Qt::red);
    std::vector<C3dsMaterialSpec> materials;
    for (int i = 0; i < 105; ++i)
        materials.push_back({"m" + std::to_string(i), 9, 8, 7, "t.png"});
    const CString path = WriteFile(QStringLiteral("many.3ds"),
                                   Write3ds(materials, {Box3ds("low", 0, 0, 0, 1, 1, 1, "m99"),
                                                        Box3ds("high", 0, 0, 0, 1, 1, 1, "m100")}));
    CGModel3ds* model = AddModel(path);
    EXPECT_TRUE(model->m_valid);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(model->m_model.materials[104].textureIndex, 104);
    CRecordingSink sink;
    model->EmitMesh(sink);
    ASSERT_EQ(sink.objects.size(), 2u);
    EXPECT_TRUE(sink.objects[0].textured);
    EXPECT_FALSE(sink.objects[1].textured);
    EXPECT_EQ(sink.objects[1].colors[0], (std::vector<int>{9, 8, 7}));
}

TEST_F(ModelCellTest, WithoutAContextNothingIsDrawnOrMade) {
    HxSetGlContextProvider([] { return false; });
    CGModel3ds* model = AddModel(WriteSmallModel(QStringLiteral("m.3ds")), 0);
    if (!HxHasCurrentGlContext()) {
        model->DrawLit();
        model->DrawVisible();
        model->m_style = 1;
        model->DrawLit();
    }
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    HxSetGlContextProvider(nullptr);
}

TEST_F(ModelCellTest, TheDocumentFolder) {
    const struct {
        const char16_t* path;
        const char16_t* folder;
    } rows[] = {
        {u"", u""},
        {u"a.hv", u""},
        {u"C:\\a", u""},
        {u"C:\\docs\\a.hvx", u"C:\\docs\\"},
        {u"/home/u/a.hvx", u"/home/u/"},
        {u"/a.hvx", u""},
        {u"\\a.hvx", u""},
        {u"a.hvx", u""},
        {u"dir/sub\\a.hvx", u"dir/sub\\"},
        {u"d\\e/f.hvx", u"d\\"},
    };
    for (const auto& row : rows) {
        g_lastDocumentPath = row.path;
        EXPECT_EQ(CHalvixDoc::GetDocumentFolder(), CString(row.folder)) << CString(row.path).ToUtf8();
    }
}

TEST_F(ModelCellTest, ThePropertiesEditIsOneUndoStepAndReadsNothingAgain) {
    const CString path = WriteSmallModel(QStringLiteral("m.3ds"));
    CGModel3ds* model = AddModel(path);
    model->m_selected = true;
    const float scale = model->m_scale;
    CHalvixDoc doc;
    // The dialog shows the model's fields; the answer moves, scales, shows it as a wire frame, hides.
    CDlg3ds shown;
    int answered = 0;
    HxSetDialogRunner([&](CDialog& d) -> INT_PTR {
        auto* dlg = DYNAMIC_DOWNCAST(CDlg3ds, &d);
        if (!dlg)
            return IDCANCEL;
        ++answered;
        shown.FillFrom(*model);
        EXPECT_EQ(dlg->m_fileName, path);
        EXPECT_EQ(dlg->m_displayMode, shown.m_displayMode);
        EXPECT_EQ(dlg->m_scale, scale);
        dlg->m_center[0] = 4.0f;
        dlg->m_center[2] = -1.0f;
        dlg->m_scale = 2.0f;
        dlg->m_displayMode = 0;
        dlg->m_hide = 1;
        return IDOK;
    });
    // The file is gone: reading it again would ask for it.
    QFile::remove(path.ToQString());
    EXPECT_TRUE(doc.EditModel3ds(model));
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(shown.m_displayMode, 1);
    EXPECT_EQ((std::vector<float>(model->m_center, model->m_center + 3)), (std::vector<float>{4, 0, -1}));
    EXPECT_EQ(model->m_scale, 2.0f);
    EXPECT_EQ(model->m_style, 0);
    EXPECT_EQ(model->m_hidden, 1);
    EXPECT_TRUE(model->m_valid);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), CString(u"修改3ds模型属性"));
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ((std::vector<float>(model->m_center, model->m_center + 3)), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(model->m_scale, scale);
    EXPECT_EQ(model->m_style, 1);
    EXPECT_EQ(model->m_hidden, 0);
    ASSERT_TRUE(m_page->m_cmdProcessor.Redo());
    EXPECT_EQ(model->m_scale, 2.0f);
    EXPECT_EQ(model->m_hidden, 1);
    // Lit again keeps a style other than 1; a cancelled or unchanged dialog records nothing.
    model->m_style = 2;
    HxSetDialogRunner([](CDialog& d) -> INT_PTR {
        static_cast<CDlg3ds&>(d).m_displayMode = 1;
        return IDOK;
    });
    EXPECT_FALSE(doc.EditModel3ds(model));
    EXPECT_EQ(model->m_style, 2);
    HxSetDialogRunner([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_FALSE(doc.EditModel3ds(model));
    EXPECT_FALSE(doc.EditModel3ds(nullptr));
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), CString(u"修改3ds模型属性"));
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_FALSE(m_page->m_cmdProcessor.CanUndo());
}
