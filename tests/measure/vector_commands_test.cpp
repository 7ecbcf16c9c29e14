// The vector commands: their enabling rules, the cells they make with their parents and values, their
// one undo step and its text, handlers reached with values of the wrong class; and the label edit's
// three branches (measurement labels, formula-text scaling, the label dialog of other objects).
#include "construct/construct_fixture.h"
#include "formula/mtf_dialogs.h"
#include "measure/measure_ids.h"
#include "measure/measurements.h"
#include "measure/vector_items.h"
#include "model/face.h"
#include "view/label_dialog.h"

#include <QString>

#include <string>

namespace {

class VectorCommandsTest : public ConstructTest {
protected:
    void SetUp() override {
        ConstructTest::SetUp();
        m_a = AddPoint(0, 0, 0)->m_id;
        m_b = AddPoint(1, 0, 0)->m_id;
        m_c = AddPoint(0, 2, 0)->m_id;
        m_d = AddPoint(0, 0, 3)->m_id;
        m_face = AddFace({m_a, m_b, m_c})->m_id;
        m_u = Insert(new CGTmVectorPP(NextId(), m_a, m_b))->m_id;   // (1, 0, 0)
        m_v = Insert(new CGTmVectorPP(NextId(), m_a, m_c))->m_id;   // (0, 2, 0)
        m_w = Insert(new CGTmVectorPP(NextId(), m_a, m_d))->m_id;   // (0, 0, 3)
        m_k = Insert(new CGTmVarVectorLength(NextId(), m_v))->m_id; // 2
        for (WORD id : {m_u, m_v, m_w, m_k})
            m_page->FindCell(id)->Recompute();
        m_doc->SetModifiedFlag(FALSE);
    }
    std::vector<WORD> ParentsOf(WORD id) { return Parents(m_page->FindCell(id)); }
    CGTmVector* Vector(WORD id) { return Cell<CGTmVector>(id); }

    WORD m_a, m_b, m_c, m_d, m_face, m_u, m_v, m_w, m_k;
};

TEST_F(VectorCommandsTest, EnablingRulesByTheSelection) {
    const struct {
        UINT id;
        std::vector<WORD> selection;
        bool enabled;
    } rows[] = {
        {ID_MEASURE_VECFN, {m_a, m_b, m_c}, true},
        {ID_MEASURE_VECFN, {m_face}, true},
        {ID_MEASURE_VECFN, {m_a, m_b}, false},
        {ID_MEASURE_VEC_HE, {m_u, m_v}, true},
        {ID_MEASURE_VEC_HE, {m_u, m_k}, false}, // one of them a scalar
        {ID_MEASURE_VEC_CHA, {m_u}, false},
        {ID_MEASURE_VEC_SHUCHENG, {m_k, m_v}, true},
        {ID_MEASURE_VEC_SHUCHENG, {m_v, m_k}, true},
        {ID_MEASURE_VEC_SHUCHENG, {m_u, m_v}, false},
        {ID_MEASURE_VEC_SHIJI, {m_u, m_v}, true},
        {ID_MEASURE_VEC_SHUJI, {m_u, m_v, m_w}, false},
        {ID_MEASURE_VEC_MO, {m_u}, true},
        {ID_MEASURE_VEC_MO, {m_k}, false},
        {ID_MEASURE_VEC_HUNJI, {m_u, m_v, m_w}, true},
        {ID_MEASURE_VEC_HUNJI, {m_u, m_v, m_k}, false},
        {ID_MEASURE_VEC_COMPONENT, {m_w}, true},
        {ID_MEASURE_VEC_COMPONENT, {}, false},
    };
    for (const auto& r : rows) {
        m_page->ClearSelection();
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        EXPECT_EQ(Enabled(r.id), r.enabled) << r.id << " with " << r.selection.size() << " selected";
    }
    m_page->ClearSelection();
    EXPECT_TRUE(Enabled(ID_EDIT_LABELMOD)) << "always";
}

TEST_F(VectorCommandsTest, EachCommandMakesItsCellOnItsParentsAsOneUndoStep) {
    const struct {
        UINT id;
        std::vector<WORD> selection;
        const char* cls;
        std::vector<WORD> parents;
        const char16_t* undo;
        double x, y, z; // the vector, or the value in x
    } rows[] = {
        {ID_MEASURE_VECFN,
         {m_a, m_b, m_c},
         "CGTmVectorNface",
         {m_a, m_b, m_c},
         u"添加向量坐标：平面法向量坐标",
         0,
         0,
         1},
        {ID_MEASURE_VECFN,
         {m_face},
         "CGTmVectorNface",
         {m_a, m_b, m_c},
         u"添加向量坐标：平面法向量坐标",
         0,
         0,
         1},
        {ID_MEASURE_VEC_HE, {m_u, m_v}, "CGTmVectorAdd", {m_u, m_v}, u"添加向量坐标：向量和", 1, 2, 0},
        {ID_MEASURE_VEC_CHA, {m_u, m_v}, "CGTmVectorMinus", {m_u, m_v}, u"添加向量坐标：向量差", 1, -2, 0},
        {ID_MEASURE_VEC_SHUCHENG,
         {m_k, m_v},
         "CGTmVectorScaled",
         {m_k, m_v},
         u"添加向量坐标：数乘向量",
         0,
         4,
         0},
        // The scalar comes first whatever the order of the selection.
        {ID_MEASURE_VEC_SHUCHENG,
         {m_v, m_k},
         "CGTmVectorScaled",
         {m_k, m_v},
         u"添加向量坐标：数乘向量",
         0,
         4,
         0},
        {ID_MEASURE_VEC_SHIJI,
         {m_u, m_v},
         "CGTmVectorCross",
         {m_u, m_v},
         u"添加向量坐标：向量的向量积",
         0,
         0,
         2},
        {ID_MEASURE_VEC_SHUJI,
         {m_u, m_v},
         "CGTmVarVectorDot",
         {m_u, m_v},
         u"添加向量坐标：向量的数量积",
         0,
         0,
         0},
        {ID_MEASURE_VEC_MO, {m_w}, "CGTmVarVectorLength", {m_w}, u"添加向量坐标：向量模", 3, 0, 0},
        {ID_MEASURE_VEC_HUNJI,
         {m_u, m_v, m_w},
         "CGTmVarVecProduct",
         {m_u, m_v, m_w},
         u"添加向量坐标：向量混合积",
         6,
         0,
         0},
    };
    for (const auto& r : rows) {
        const PageSnapshot before = TakeSnapshot(*m_page);
        const WORD first = m_page->m_nextId;
        m_page->ClearSelection();
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        ASSERT_TRUE(Run(r.id));
        ASSERT_EQ(ClassesFrom(first), std::vector<std::string>({r.cls})) << r.cls;
        EXPECT_EQ(ParentsOf(first), r.parents) << r.cls;
        ExpectUndoStep<CCmdAddCell>(r.undo);
        if (CGTmVector* v = Vector(first)) {
            EXPECT_NEAR(v->m_vx, r.x, 1e-5) << r.cls;
            EXPECT_NEAR(v->m_vy, r.y, 1e-5) << r.cls;
            EXPECT_NEAR(v->m_vz, r.z, 1e-5) << r.cls;
        } else {
            EXPECT_NEAR(m_page->FindCell(first)->m_param1, r.x, 1e-5) << r.cls;
        }
        EXPECT_TRUE(m_doc->IsModified());
        ExpectUndoRedo(before);
        ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
        m_doc->SetModifiedFlag(FALSE);
    }
}

TEST_F(VectorCommandsTest, ComponentsAreThreeCellsInOneStep) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const WORD first = m_page->m_nextId;
    RunOn(ID_MEASURE_VEC_COMPONENT, {m_v});
    EXPECT_EQ(ClassesFrom(first),
              std::vector<std::string>(
                  {"CGTmVarVectorComponentX", "CGTmVarVectorComponentY", "CGTmVarVectorComponentZ"}));
    ExpectUndoStep<CCmdAddCells>(u"添加计算值：向量分量", 3);
    EXPECT_NEAR(m_page->FindCell(WORD(first + 1))->m_param1, 2.0, 1e-6);
    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(TakeSnapshot(*m_page), before) << "one undo takes back all three";
}

TEST_F(VectorCommandsTest, HandlersReachedWithValuesOfTheWrongClassMakeNothing) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    const struct {
        UINT id;
        std::vector<WORD> selection;
    } rows[] = {
        {ID_MEASURE_VEC_HE, {m_u, m_k}},
        {ID_MEASURE_VEC_CHA, {m_k, m_k}},
        {ID_MEASURE_VEC_SHUCHENG, {m_u, m_v}},
        {ID_MEASURE_VEC_SHIJI, {m_u}},
        {ID_MEASURE_VEC_MO, {m_k}},
        {ID_MEASURE_VEC_HUNJI, {m_u, m_k, m_w}},
        {ID_MEASURE_VEC_COMPONENT, {m_k}},
        {ID_MEASURE_VECFN, {m_a, m_b}},
        {ID_MEASURE_VECFN, {m_u, m_v, m_w}},
    };
    for (const auto& r : rows) {
        m_page->ClearSelection();
        for (WORD id : r.selection)
            m_page->SelectCell(id);
        Run(r.id);
    }
    m_page->ClearSelection();
    ExpectNothingDone(before);
}

// ---------------------------------------------------------------------------------------------
// The label edit

TEST_F(VectorCommandsTest, AMeasurementLabelGetsAFormulaMarkupEvenWhenCancelled) {
    auto* length = Cell<CGTmVariable>(m_k);
    length->m_text3.Empty(); // never had a formula label
    const CString name = length->m_name;
    m_answer = IDCANCEL;
    Script<CDlgLabelMtf>([&](CDlgLabelMtf& dialog) {
        EXPECT_EQ(dialog.m_name, name);
        EXPECT_EQ(dialog.m_display, 0);
        EXPECT_EQ(dialog.m_labelType, 0);
    });
    RunOn(ID_EDIT_LABELMOD, {m_k});
    EXPECT_EQ(m_dialogCount, 1);
    EXPECT_EQ(length->m_text3, CString(u"<#><l><e>") + name + u"</e></l></#>");
    EXPECT_FALSE(length->m_nameFixed);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED), std::vector<LPARAM>({LPARAM(m_page->m_pageId)}));
    EXPECT_TRUE(m_doc->IsModified()) << "also after cancel";
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0) << "no undo step";
}

TEST_F(VectorCommandsTest, MeasurementLabelsAsFormulaPlainTextOrAutomatic) {
    auto* length = Cell<CGTmVariable>(m_k);
    // The user's formula label: name and markup taken.
    Script<CDlgLabelMtf>([](CDlgLabelMtf& dialog) {
        dialog.m_display = 1;
        dialog.m_labelType = 1;
        dialog.m_name = u"L";
        dialog.m_markup = u"<#><l><e>|v|</e></l></#>";
    });
    RunOn(ID_EDIT_LABELMOD, {m_k});
    EXPECT_EQ(length->m_style, 1);
    EXPECT_TRUE(length->m_nameFixed);
    EXPECT_EQ(length->m_name, u"L");
    EXPECT_EQ(length->m_text3, u"<#><l><e>|v|</e></l></#>");

    // The user's plain label with a new name: the markup made from it.
    Script<CDlgLabelMtf>([](CDlgLabelMtf& dialog) {
        dialog.m_display = 0;
        dialog.m_labelType = 1;
        dialog.m_name = u"len";
    });
    RunOn(ID_EDIT_LABELMOD, {m_k});
    EXPECT_EQ(length->m_style, 0);
    EXPECT_EQ(length->m_name, u"len");
    EXPECT_EQ(length->m_text3, u"<#><l><e>len</e></l></#>");

    // Automatic: the name is free again and built by the item.
    Script<CDlgLabelMtf>([](CDlgLabelMtf& dialog) { dialog.m_labelType = 0; });
    RunOn(ID_EDIT_LABELMOD, {m_k});
    EXPECT_FALSE(length->m_nameFixed);
    EXPECT_NE(length->m_name, u"len");
}

TEST_F(VectorCommandsTest, FormulaTextsToggleTheirScalingAfterTheQuestion) {
    auto* free = Insert(new CGTbMtfText(NextId(), u"<#><l><e>a</e></l></#>", RGB(255, 255, 255), 0));
    auto* other = Insert(new CGTbMtfText(NextId(), u"<#><l><e>b</e></l></#>", RGB(255, 255, 255), 1));
    auto* attached = Insert(new CGTbMhc(NextId(), u"<#><l><e>c</e></l></#>", RGB(255, 255, 255), m_a));
    std::vector<CString> questions;
    int answer = IDNO;
    HxSetMessageBoxHandler([&](const CString& text, const CString& caption, UINT type) {
        questions.push_back(text + u"|" + caption);
        EXPECT_EQ(type, UINT(MB_YESNO | MB_ICONQUESTION));
        return answer;
    });
    RunOn(ID_EDIT_LABELMOD, {free->m_id, other->m_id, attached->m_id});
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], u"改变自动缩放属性？|MTF文本属性修改");
    EXPECT_EQ(free->m_textureMode, 0) << "No changes nothing";
    EXPECT_EQ(m_dialogCount, 0);

    answer = IDYES;
    RunOn(ID_EDIT_LABELMOD, {free->m_id, other->m_id, attached->m_id});
    EXPECT_EQ(free->m_textureMode, 1);
    EXPECT_EQ(other->m_textureMode, 0);
    EXPECT_EQ(attached->m_textureMode, 1) << "a text at a point keeps its texture";
    EXPECT_GT(free->m_width, 0);
    EXPECT_EQ(Posted(UM_CELL_TEXTS_CHANGED).size(), 2u);
}

TEST_F(VectorCommandsTest, OtherObjectsUseTheLabelDialog) {
    auto* coord = Insert(new CGTmVarCoordX(NextId(), m_b));
    coord->Recompute();
    CGCell* b = m_page->FindCell(m_b);
    b->m_name = u"B";
    CGCell* c = m_page->FindCell(m_c);
    c->m_extB1 = 0;
    b->m_extB1 = 0;
    Script<CDlgPropertyLabel>([](CDlgPropertyLabel& dialog) {
        EXPECT_EQ(dialog.m_label, u"B");
        EXPECT_TRUE(dialog.m_autoScale);
        dialog.m_label = u"Q";
        dialog.m_color = RGB(200, 10, 20);
        dialog.m_autoScale = FALSE;
    });
    // The first selected point is edited, even when a line was selected first.
    const WORD line = AddLine(m_a, m_d)->m_id;
    RunOn(ID_EDIT_LABELMOD, {line, m_b, m_c});
    EXPECT_EQ(m_dialogCount, 1);
    EXPECT_EQ(b->m_name, u"Q");
    EXPECT_TRUE(b->m_nameFixed);
    EXPECT_EQ(b->m_labelColor, (CRgba{200, 10, 20, b->m_labelColor.a}));
    EXPECT_NE(coord->m_name.Find(u"Q"), -1)
        << "the measurement on the point shows the new name: " << coord->m_name.ToQString().toStdString();
    // The scaling changed: every selected point and line takes it.
    EXPECT_EQ(b->m_extB1, 1);
    EXPECT_EQ(c->m_extB1, 1);
    EXPECT_EQ(m_page->FindCell(line)->m_extB1, 1);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
}

TEST_F(VectorCommandsTest, TheLabelEditWithNothingSelectedDoesNothing) {
    const PageSnapshot before = TakeSnapshot(*m_page);
    m_page->ClearSelection();
    Run(ID_EDIT_LABELMOD);
    EXPECT_EQ(m_dialogCount, 0);
    ExpectNothingDone(before);
    EXPECT_TRUE(Posted(UM_CELL_TEXTS_CHANGED).empty());
}

} // namespace
