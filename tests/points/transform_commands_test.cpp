// The transform commands: marks and their update handlers, dialog presets, the image classes each
// choice makes, names, colours, the new selection and the one undo step.
#include "transform_fixture.h"

#include "model/arc_circles.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"

namespace {

class TransformCommands : public TransformTest {
protected:
    // Points A(0, 0, 0), B(1, 0, 0), C(0, 1, 0), segments AB and BC, the face ABC, the value m and
    // the vector item v.
    void MakeFigure() {
        a = AddPoint(0, 0, 0);
        b = AddPoint(1, 0, 0);
        c = AddPoint(0, 1, 0);
        ab = AddLine(a->m_id, b->m_id);
        bc = AddLine(b->m_id, c->m_id);
        face = AddFace({a->m_id, b->m_id, c->m_id});
        value = AddValue(2.0f, u"m");
        vector = Vector(u"v", 1, 2, 3);
    }
    // Runs a mark command on the selection given.
    void Mark(UINT id, std::initializer_list<WORD> selection) {
        Select(selection);
        Run(id);
    }
    CGVertex *a = nullptr, *b = nullptr, *c = nullptr;
    CGLine *ab = nullptr, *bc = nullptr;
    CGFace* face = nullptr;
    CGTmVariable* value = nullptr;
    CGTmVector* vector = nullptr;
};

// Update handlers

TEST_F(TransformCommands, MarkCommandsAreEnabledByTheirSelectionCounts) {
    MakeFigure();
    const UINT center = ID_TRANS_MARKCENTER, axis = ID_TRANS_MARKAXIS, ratio = ID_TRANS_MARKRATIO,
               vec = ID_TRANS_MARKVECTOR, angle = ID_TRANS_MARKANGLE, mirror = ID_TRANS_MARKMIRROR;
    struct Row {
        std::vector<WORD> selection;
        std::vector<UINT> on, off;
    };
    const Row rows[] = {
        {{}, {}, {center, axis, ratio, vec, angle, mirror}},
        {{a->m_id}, {center}, {vec}},
        {{a->m_id, b->m_id}, {vec}, {center, ratio}},
        {{a->m_id, b->m_id, c->m_id}, {ratio, angle}, {vec}},
        // Three points whatever else is selected.
        {{a->m_id, ab->m_id, b->m_id, face->m_id, c->m_id}, {ratio, mirror, axis}, {}},
        {{a->m_id, b->m_id, vector->m_id, c->m_id}, {ratio}, {}},
        {{ab->m_id, bc->m_id}, {ratio}, {axis}},
        // A value is a ratio or an angle; a vector item only a vector.
        {{value->m_id}, {ratio, angle}, {vec}},
        {{vector->m_id}, {vec}, {ratio, angle}},
        {{value->m_id, vector->m_id}, {}, {ratio, vec}},
    };
    for (const Row& row : rows) {
        m_page->ClearSelection();
        for (WORD id : row.selection)
            m_page->SelectCell(id);
        for (UINT id : row.on)
            EXPECT_TRUE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
        for (UINT id : row.off)
            EXPECT_FALSE(Enabled(id)) << id << " with " << row.selection.size() << " selected";
    }
}

TEST_F(TransformCommands, TransformCommandsNeedSomethingTheyCanCopy) {
    MakeFigure();
    auto* built = Insert(new CGArcCircle3P(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kCircle));
    CGArc* placed = AddCircle(0, 0, 0, 2);
    // A positioned circle and a value have no points to map.
    for (auto [selected, enabled] : {std::pair{a->m_id, true},
                                     {ab->m_id, true},
                                     {face->m_id, true},
                                     {built->m_id, true},
                                     {WORD(0), false},
                                     {placed->m_id, false},
                                     {value->m_id, false}}) {
        Select({});
        if (selected)
            m_page->SelectCell(selected);
        for (UINT id : {ID_TRANS_TRANSLATE, ID_TRANS_ROTATE, ID_TRANS_DILATE, ID_TRANS_DEFLECT})
            EXPECT_EQ(Enabled(id), enabled) << id << " " << selected;
    }
}

// Marks

TEST_F(TransformCommands, EachMarkTakesItsCellsInSelectionOrder) {
    MakeFigure();
    const CTransformMarks& marks = m_page->m_transformMarks;
    Select({c->m_id});
    EXPECT_TRUE(Run(ID_TRANS_MARKCENTER));
    EXPECT_EQ(marks.m_centerId, c->m_id);
    Mark(ID_TRANS_MARKAXIS, {bc->m_id});
    EXPECT_EQ(marks.m_axisId, bc->m_id);
    Mark(ID_TRANS_MARKMIRROR, {face->m_id});
    EXPECT_EQ(marks.m_mirrorId, face->m_id);

    Mark(ID_TRANS_MARKRATIO, {bc->m_id, ab->m_id});
    EXPECT_EQ(marks.m_ratioKind, 2);
    EXPECT_EQ(marks.m_ratioLines[0], bc->m_id);
    EXPECT_EQ(marks.m_ratioLines[1], ab->m_id);
    Mark(ID_TRANS_MARKRATIO, {value->m_id});
    EXPECT_EQ(marks.m_ratioKind, 1);
    EXPECT_EQ(marks.m_ratioValue, value->m_id);
    Mark(ID_TRANS_MARKRATIO, {c->m_id, a->m_id, b->m_id});
    EXPECT_EQ(marks.m_ratioKind, 3);
    EXPECT_EQ(std::vector<WORD>(marks.m_ratioPoints, marks.m_ratioPoints + 3),
              (std::vector<WORD>{c->m_id, a->m_id, b->m_id}));
    // Nothing that makes a ratio leaves the mark as it was.
    Select({a->m_id});
    m_doc->OnMarkRatio();
    EXPECT_EQ(marks.m_ratioKind, 3);
    // Three points beside a vector item make a ratio of the points.
    Mark(ID_TRANS_MARKRATIO, {a->m_id, b->m_id, vector->m_id, c->m_id});
    EXPECT_EQ(marks.m_ratioKind, 3);
    EXPECT_EQ(marks.m_ratioPoints[2], c->m_id);

    Mark(ID_TRANS_MARKVECTOR, {b->m_id, a->m_id});
    EXPECT_EQ(marks.m_vectorKind, 1);
    EXPECT_EQ(marks.m_vectorPoints[0], b->m_id);
    EXPECT_EQ(marks.m_vectorPoints[1], a->m_id);
    Mark(ID_TRANS_MARKVECTOR, {vector->m_id});
    EXPECT_EQ(marks.m_vectorKind, 2);
    EXPECT_EQ(marks.m_vectorItem, vector->m_id);

    Mark(ID_TRANS_MARKANGLE, {a->m_id, b->m_id, c->m_id});
    EXPECT_EQ(marks.m_angleKind, 1);
    EXPECT_EQ(marks.m_anglePoints[1], b->m_id);
    Mark(ID_TRANS_MARKANGLE, {value->m_id});
    EXPECT_EQ(marks.m_angleKind, 2);
    EXPECT_EQ(marks.m_angleValue, value->m_id);
    // Anything else clears the angle mark.
    Select({a->m_id});
    m_doc->OnMarkAngle();
    EXPECT_EQ(marks.m_angleKind, 0);
}

// Translate

TEST_F(TransformCommands, TranslatingASegmentByAMarkedVectorIsOneUndoStep) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* c = AddPoint(1, 1, 1);
    CGVertex* d = AddPoint(2, 3, 4);
    Mark(ID_TRANS_MARKVECTOR, {c->m_id, d->m_id});
    Select({ab->m_id});
    CString shown;
    int choice = -1;
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) {
        shown = dlg.m_vectorText;
        choice = dlg.m_choice;
    });
    const int before = CellCount();
    const WORD first = m_page->m_nextId;
    ASSERT_TRUE(Enabled(ID_TRANS_TRANSLATE));
    ASSERT_TRUE(Run(ID_TRANS_TRANSLATE));
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(shown, u"CD=(1.0000, 2.0000, 3.0000)");

    ASSERT_EQ(CellCount(), before + 3);
    auto* a1 = Cell<CGVerTranslate>(first);
    auto* b1 = Cell<CGVerTranslate>(first + 1);
    auto* copy = Cell<CGLine>(first + 2);
    ASSERT_TRUE(a1 && b1 && copy);
    EXPECT_EQ(a1->m_name, u"A'");
    EXPECT_EQ(b1->m_name, u"B'");
    ExpectNear(*a1, 1, 2, 3);
    ExpectNear(*b1, 5, 2, 3);
    ExpectSynced(*b1);
    EXPECT_EQ(Parents(copy), (std::vector<WORD>{a1->m_id, b1->m_id}));
    EXPECT_EQ(copy->m_kind, ab->m_kind);
    EXPECT_EQ(copy->m_name, u"A'B'");

    // The new cells are the selection; the sources are not.
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{a1->m_id, b1->m_id}));
    EXPECT_EQ(Ids(m_page->m_selLines), (std::vector<WORD>{copy->m_id}));
    EXPECT_EQ(Ids(m_page->m_selAll), (std::vector<WORD>{a1->m_id, b1->m_id, copy->m_id}));
    EXPECT_TRUE(a1->m_selected && copy->m_selected);
    EXPECT_FALSE(a->m_selected || b->m_selected || ab->m_selected);
    EXPECT_TRUE(m_doc->IsModified());

    CCmdProcessor& history = m_page->m_cmdProcessor;
    ASSERT_EQ(history.GetCount(), 1);
    EXPECT_EQ(history.GetCurrent()->GetName(), u"添加图元平移");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(CellCount(), before);
    EXPECT_EQ(m_page->m_nextId, first);
    EXPECT_EQ(a->m_children.Find(first), nullptr);
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(CellCount(), before + 3);
    auto* redone = Cell<CGVerTranslate>(first + 1);
    ASSERT_NE(redone, nullptr);
    ExpectNear(*redone, 5, 2, 3);
    EXPECT_NE(b->m_children.Find(redone->m_id), nullptr);
}

TEST_F(TransformCommands, ImagesOfImagesGetAnotherApostropheAndAVectorItemTranslates) {
    CGVertex* a = AddPoint(1, 0, 0);
    CGTmVector* v = Vector(u"v", 0, 0, 2);
    v->m_text = u"v=(0, 0, 2)";
    Mark(ID_TRANS_MARKVECTOR, {v->m_id});
    CString shown;
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) { shown = dlg.m_vectorText; });
    Select({a->m_id});
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(shown, u"v=(0, 0, 2)");
    auto* a1 = LastAt<CGVerTranslateM>(1, 0, 2);
    ASSERT_NE(a1, nullptr);
    // The new image is selected: translating again works on it.
    Run(ID_TRANS_TRANSLATE);
    auto* a2 = LastAt<CGVerTranslateM>(1, 0, 4);
    ASSERT_NE(a2, nullptr);
    EXPECT_EQ(a2->m_name, u"A''");
    EXPECT_EQ(a2->m_parents[0], a1->m_id);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 2);
}

TEST_F(TransformCommands, WithoutMarksTheTypedValuesArePresetAndRemembered) {
    Select({AddPoint(1, 0, 0)->m_id});
    std::vector<float> shown;
    int choice = -1;
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) {
        shown = {dlg.m_x, dlg.m_y, dlg.m_z};
        choice = dlg.m_choice;
        dlg.m_x = 2;
        dlg.m_y = -1;
        dlg.m_z = 0.5f;
    });
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(choice, 1);
    EXPECT_EQ(shown, (std::vector<float>{0, 0, 1}));
    EXPECT_TRUE(LastAt<CGVerTranslateStc>(3, -1, 0.5));
    // The next dialog starts from what was typed.
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) { shown = {dlg.m_x, dlg.m_y, dlg.m_z}; });
    m_answer = IDCANCEL;
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(shown, (std::vector<float>{2, -1, 0.5f}));
}

TEST_F(TransformCommands, CancelAndChoicesTheDialogDoesNotOfferMakeNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGLine* ab = AddLine(a->m_id, AddPoint(4, 0, 0)->m_id);
    Select({ab->m_id});
    const int before = CellCount();
    m_answer = IDCANCEL;
    for (UINT id : {ID_TRANS_TRANSLATE, ID_TRANS_ROTATE, ID_TRANS_DILATE, ID_TRANS_DEFLECT})
        Run(id);
    EXPECT_EQ(m_dialogCount, 4);
    EXPECT_EQ(CellCount(), before);
    EXPECT_EQ(Ids(m_page->m_selPoints), std::vector<WORD>{});
    EXPECT_EQ(Ids(m_page->m_selLines), std::vector<WORD>{ab->m_id});

    // A marked choice without its mark (a script can ask for anything).
    m_answer = IDOK;
    Script<CDlgTransTranslate>([](CDlgTransTranslate& dlg) { dlg.m_choice = 0; });
    Run(ID_TRANS_TRANSLATE);
    Script<CDlgTransDeflect>([](CDlgTransDeflect& dlg) { dlg.m_choice = CDlgTransDeflect::kAboutFace; });
    Run(ID_TRANS_DEFLECT);
    Script<CDlgTransDeflect>([](CDlgTransDeflect& dlg) { dlg.m_mask = 0; });
    Run(ID_TRANS_DEFLECT);
    EXPECT_EQ(CellCount(), before);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
}

TEST_F(TransformCommands, ImagesCopyTheLookOfTheirSourcesAndFreePointsGiveFixedPointColours) {
    auto* free = Add<CGVerFreeXyz>(1.0f, 0.0f, 0.0f);
    CGVertex* fixed = AddPoint(0, 1, 0);
    fixed->m_color = CRgba{1, 2, 3, 200};
    fixed->m_style = 2;
    fixed->m_size = 9.0f;
    fixed->m_hidden = 1;
    fixed->m_labelHidden = 1;
    free->m_style = 3;
    Select({free->m_id, fixed->m_id});
    Run(ID_TRANS_TRANSLATE);
    auto* freeImage = Cell<CGVerTranslateStc>(m_page->m_nextId - 2);
    auto* fixedImage = Cell<CGVerTranslateStc>(m_page->m_nextId - 1);
    ASSERT_TRUE(freeImage && fixedImage);
    EXPECT_FALSE(freeImage->IsKindOf(RUNTIME_CLASS(CGVerFree)));
    EXPECT_EQ(freeImage->m_color, g_colorPoint);
    EXPECT_EQ(freeImage->m_style, 3);
    EXPECT_EQ(fixedImage->m_color, (CRgba{1, 2, 3, 200}));
    EXPECT_EQ(fixedImage->m_style, 2);
    EXPECT_EQ(fixedImage->m_size, 9.0f);
    EXPECT_EQ(fixedImage->m_hidden, 1);
    EXPECT_EQ(fixedImage->m_labelHidden, 1);
}

// Rotate

TEST_F(TransformCommands, RotateWithoutMarksTurnsAboutTheTypedAxis) {
    Select({AddPoint(1, 0, 0)->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        EXPECT_EQ(dlg.m_axisChoice, CDlgTransRotate::kAxisFixed);
        EXPECT_EQ(dlg.m_angleChoice, 1);
        EXPECT_EQ(dlg.m_available, CDlgTransRotate::kNoMarks);
        EXPECT_EQ(std::vector<float>({dlg.m_dirX, dlg.m_dirY, dlg.m_dirZ}), (std::vector<float>{0, 0, 1}));
        EXPECT_EQ(std::vector<float>({dlg.m_pointX, dlg.m_pointY, dlg.m_pointZ}),
                  (std::vector<float>{0, 0, 0}));
        EXPECT_EQ(dlg.m_angle, 90.0f);
        // About the vertical through (1, 1, 0), by a quarter turn the other way.
        dlg.m_dirZ = 2;
        dlg.m_pointX = 1;
        dlg.m_pointY = 1;
        dlg.m_angle = -90;
    });
    Run(ID_TRANS_ROTATE);
    auto* image = LastAt<CGVerRotate>(0, 1, 0);
    ASSERT_NE(image, nullptr);
    // The stored direction is a unit vector; typed axis and angle are remembered.
    EXPECT_EQ(std::vector<float>(image->m_direction, image->m_direction + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_FLOAT_EQ(image->m_angle, -1.5707964f);
    EXPECT_EQ(g_transformEntries.m_axisDirection[2], 2.0f);
    EXPECT_EQ(g_transformEntries.m_axisPoint[0], 1.0f);
    EXPECT_EQ(g_transformEntries.m_angleDegrees, -90.0f);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元旋转");

    // A zero typed axis becomes the vertical, and is remembered so.
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        dlg.m_dirX = dlg.m_dirY = dlg.m_dirZ = 0;
        dlg.m_pointX = dlg.m_pointY = 0;
        dlg.m_angle = 90;
    });
    Select({AddPoint(1, 0, 0)->m_id});
    Run(ID_TRANS_ROTATE);
    image = LastAt<CGVerRotate>(0, 1, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_direction[2], 1.0f);
    std::vector<float> shown;
    Script<CDlgTransRotate>([&](CDlgTransRotate& dlg) { shown = {dlg.m_dirX, dlg.m_dirY, dlg.m_dirZ}; });
    m_answer = IDCANCEL;
    Run(ID_TRANS_ROTATE);
    EXPECT_EQ(shown, (std::vector<float>{0, 0, 1}));
}

TEST_F(TransformCommands, AMarkedAxisIsPresetBeforeAMarkedCentreWhichStaysOffered) {
    CGVertex* e = AddPoint(0, 0, 0);
    CGLine* axis = AddLine(e->m_id, AddPoint(0, 0, 1)->m_id);
    CGVertex* g = AddPoint(1, 1, 0);
    CGVertex* p = AddPoint(2, 1, 0);
    CGTmVariable* m = AddValue(1.5707964f, u"m");
    Mark(ID_TRANS_MARKAXIS, {axis->m_id});
    Mark(ID_TRANS_MARKCENTER, {g->m_id});
    Mark(ID_TRANS_MARKANGLE, {m->m_id});
    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        EXPECT_EQ(dlg.m_axisChoice, CDlgTransRotate::kAxisMarked);
        EXPECT_EQ(dlg.m_available, CDlgTransRotate::kAxisAndCenter);
        EXPECT_EQ(dlg.m_axisText, u"有向直线：AB");
        EXPECT_EQ(dlg.m_centerText, u"旋转中心：点C");
        EXPECT_EQ(dlg.m_angleChoice, 0);
        EXPECT_EQ(dlg.m_angleText, u"m");
        dlg.m_axisChoice = CDlgTransRotate::kAxisCenter;
    });
    Run(ID_TRANS_ROTATE);
    auto* aboutCentre = LastAt<CGVerRotateXA2>(1, 2, 0);
    ASSERT_NE(aboutCentre, nullptr);
    EXPECT_TRUE(aboutCentre->AboutCenter());
    EXPECT_EQ(Parents(aboutCentre), (std::vector<WORD>{p->m_id, g->m_id, m->m_id}));

    // About the axis line by a typed angle: the typed angle is not remembered.
    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        dlg.m_angleChoice = 1;
        dlg.m_angle = 180;
    });
    Run(ID_TRANS_ROTATE);
    auto* aboutAxis = LastAt<CGVerRotateX>(-2, -1, 0);
    ASSERT_NE(aboutAxis, nullptr);
    EXPECT_FALSE(aboutAxis->AboutCenter());
    EXPECT_EQ(aboutAxis->m_parents[1], axis->m_id);
    EXPECT_EQ(g_transformEntries.m_angleDegrees, 90.0f);
}

TEST_F(TransformCommands, AnAngleMarkWhosePointWasDeletedFallsBackToATypedAngle) {
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGVertex* p = AddPoint(2, 0, 0);
    Mark(ID_TRANS_MARKANGLE, {a->m_id, b->m_id, c->m_id});
    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        EXPECT_EQ(dlg.m_angleChoice, 0);
        EXPECT_EQ(dlg.m_angleText, u" ∠ABC=90.0000°");
    });
    Run(ID_TRANS_ROTATE);
    EXPECT_TRUE(LastAt<CGVerRotateA>(0, 2, 0));

    // C leaves the page: the next command offers only a typed angle, and the mark is gone for good
    // even though the dialog is cancelled.
    const WORD cId = c->m_id;
    m_page->m_cells.RemoveKey(cId);
    m_page->ForgetId(cId);
    delete c;
    int angleChoice = -1;
    Script<CDlgTransRotate>([&](CDlgTransRotate& dlg) { angleChoice = dlg.m_angleChoice; });
    m_answer = IDCANCEL;
    Select({p->m_id});
    Run(ID_TRANS_ROTATE);
    EXPECT_EQ(angleChoice, 1);
    EXPECT_EQ(m_page->m_transformMarks.m_angleKind, 0);
}

// Dilate

TEST_F(TransformCommands, DilateTakesTheMarkedRatioAboutTheMarkedCentre) {
    CGVertex* o = AddPoint(0, 0, 0);        // A
    CGVertex* a = AddPoint(1, 0, 0);        // B
    CGVertex* b = AddPoint(2, 0, 0);        // C
    CGVertex* c = AddPoint(3, 0, 0);        // D
    CGVertex* p = AddPoint(4, 2, 0);        // E
    CGLine* l1 = AddLine(a->m_id, b->m_id); // length 1
    CGLine* l2 = AddLine(o->m_id, b->m_id); // length 2
    CGTmVariable* m = AddValue(3.0f, u"k");
    Mark(ID_TRANS_MARKCENTER, {o->m_id});
    // The ratio AB : AC of three points.
    Mark(ID_TRANS_MARKRATIO, {a->m_id, b->m_id, c->m_id});
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        EXPECT_EQ(dlg.m_choice, 0);
        EXPECT_EQ(dlg.m_ratioText, u" → BC：BD");
        EXPECT_EQ(dlg.m_centerText, u"缩放中心：A(0.0000, 0.0000, 0.0000)");
        EXPECT_EQ(dlg.m_ratio, 0.5f);
    });
    Run(ID_TRANS_DILATE);
    EXPECT_TRUE(LastAt<CGVerScaleP>(2, 1, 0));
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元缩放");
    // Two lines, then a value.
    Mark(ID_TRANS_MARKRATIO, {l1->m_id, l2->m_id});
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) { EXPECT_EQ(dlg.m_ratioText, u" |BC|：|AC|"); });
    Run(ID_TRANS_DILATE);
    EXPECT_TRUE(LastAt<CGVerScaleL>(2, 1, 0));
    Mark(ID_TRANS_MARKRATIO, {m->m_id});
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) { EXPECT_EQ(dlg.m_ratioText, u"k"); });
    Run(ID_TRANS_DILATE);
    EXPECT_TRUE(LastAt<CGVerScaleM>(12, 6, 0));
    // A typed ratio about the centre, remembered.
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        dlg.m_choice = 1;
        dlg.m_ratio = -1;
    });
    Run(ID_TRANS_DILATE);
    EXPECT_TRUE(LastAt<CGVerScale>(-4, -2, 0));
    EXPECT_EQ(g_transformEntries.m_ratio, -1.0f);
}

TEST_F(TransformCommands, DilateWithoutACentreOffersOnlyATypedRatioAboutTheOrigin) {
    CGVertex* p = AddPoint(4, 2, 0);
    Mark(ID_TRANS_MARKRATIO, {AddValue(3.0f, u"k")->m_id});
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        EXPECT_EQ(dlg.m_choice, 1);
        EXPECT_EQ(dlg.m_centerText, u"缩放中心：原点 O（0,0,0）");
        EXPECT_EQ(dlg.m_ratioText, u"k");
    });
    Run(ID_TRANS_DILATE);
    EXPECT_TRUE(LastAt<CGVerScaleO>(2, 1, 0));
    // The ratio mark itself is still there for a later centre.
    EXPECT_EQ(m_page->m_transformMarks.m_ratioKind, 1);
}

// Reflect

TEST_F(TransformCommands, ReflectPrefersThePointThenTheAxisThenTheFace) {
    MakeFigure();
    CGVertex* p = AddPoint(1, 2, 3);
    Mark(ID_TRANS_MARKMIRROR, {face->m_id});
    Select({p->m_id});
    Script<CDlgTransDeflect>([&](CDlgTransDeflect& dlg) {
        EXPECT_EQ(dlg.m_choice, CDlgTransDeflect::kAboutFace);
        EXPECT_EQ(dlg.m_faceText, face->m_name);
        EXPECT_EQ(dlg.m_hasFace, 1);
        EXPECT_EQ(dlg.m_hasAxis, 0);
        EXPECT_EQ(dlg.m_hasPoint, 0);
    });
    m_answer = IDCANCEL;
    Run(ID_TRANS_DEFLECT);
    m_answer = IDOK;

    Mark(ID_TRANS_MARKAXIS, {ab->m_id});
    Mark(ID_TRANS_MARKCENTER, {c->m_id});
    Select({p->m_id});
    Script<CDlgTransDeflect>([&](CDlgTransDeflect& dlg) {
        EXPECT_EQ(dlg.m_choice, CDlgTransDeflect::kAboutPoint);
        EXPECT_EQ(dlg.m_pointText, u"C(0.0000, 1.0000, 0.0000)");
        EXPECT_EQ(dlg.m_axisText, ab->m_name);
        EXPECT_EQ(dlg.m_mask, 7);
        EXPECT_TRUE(dlg.m_hasPoint && dlg.m_hasAxis && dlg.m_hasFace);
    });
    Run(ID_TRANS_DEFLECT);
    EXPECT_TRUE(LastAt<CGVerSymmetryP>(-1, 0, -3));
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元反射");
    for (int choice : {CDlgTransDeflect::kAboutAxis, CDlgTransDeflect::kAboutFace}) {
        Select({p->m_id});
        Script<CDlgTransDeflect>([choice](CDlgTransDeflect& dlg) { dlg.m_choice = choice; });
        Run(ID_TRANS_DEFLECT);
    }
    EXPECT_TRUE(Cell<CGVerSymmetryL>(m_page->m_nextId - 2));
    ExpectNear(*Cell<CGVertex>(m_page->m_nextId - 2), 1, -2, -3);
    EXPECT_TRUE(LastAt<CGVerSymmetryF>(1, 2, -3));

    // A coordinate element, its mask remembered.
    Select({p->m_id});
    Script<CDlgTransDeflect>([](CDlgTransDeflect& dlg) {
        dlg.m_choice = CDlgTransDeflect::kAboutElement;
        dlg.m_mask = 4; // "XOY面"
    });
    Run(ID_TRANS_DEFLECT);
    auto* image = LastAt<CGVerSymmetry>(1, 2, -3);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_mask, 4);
    EXPECT_EQ(g_transformEntries.m_reflectMask, 4);
}

TEST_F(TransformCommands, ReflectWithoutMarksOffersTheElementsWithTheRememberedMask) {
    Select({AddPoint(1, 2, 3)->m_id});
    BYTE shown = 0;
    Script<CDlgTransDeflect>([&](CDlgTransDeflect& dlg) {
        EXPECT_EQ(dlg.m_choice, CDlgTransDeflect::kAboutElement);
        EXPECT_FALSE(dlg.m_hasPoint || dlg.m_hasAxis || dlg.m_hasFace);
        shown = dlg.m_mask;
        dlg.m_mask = 2;
    });
    Run(ID_TRANS_DEFLECT);
    EXPECT_EQ(shown, 7);
    EXPECT_TRUE(LastAt<CGVerSymmetry>(1, -2, 3));
    m_answer = IDCANCEL;
    Run(ID_TRANS_DEFLECT);
    EXPECT_EQ(shown, 2);
}

} // namespace

namespace {

// The page's counters are 16-bit: a transform whose images would take the vertex counter past 65535
// is refused with a message, makes nothing and leaves the user's selection as it was.
TEST_F(TransformCommands, ImagesThatWouldPassTheLastVertexIndexAreRefused) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* c = AddPoint(1, 1, 1);
    CGVertex* d = AddPoint(2, 3, 4);
    Mark(ID_TRANS_MARKVECTOR, {c->m_id, d->m_id});
    Select({ab->m_id});
    const int before = CellCount();
    const WORD next = m_page->m_nextId;
    // One index left: the two images of the segment's points do not fit.
    m_page->m_nextVertex = 0xFFFE;
    ASSERT_TRUE(Run(ID_TRANS_TRANSLATE));
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"当前页的对象已达上限，不能再添加。")});
    EXPECT_EQ(CellCount(), before);
    EXPECT_EQ(m_page->m_nextId, next);
    EXPECT_EQ(m_page->m_nextVertex, 0xFFFE);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    EXPECT_EQ(Ids(m_page->m_selPoints), std::vector<WORD>{});
    EXPECT_EQ(Ids(m_page->m_selLines), std::vector<WORD>{ab->m_id});
    EXPECT_FALSE(a->m_selected || b->m_selected);

    // Two left: they do (the array, grown for them, numbers the page's points afresh).
    m_page->m_nextVertex = 0xFFFD;
    ASSERT_TRUE(Run(ID_TRANS_TRANSLATE));
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(CellCount(), before + 3);
    ExpectSynced(*Cell<CGVerTranslate>(next + 1));
}

} // namespace
