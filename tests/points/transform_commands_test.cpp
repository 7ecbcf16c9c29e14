// The transform commands: the marks and their update handlers, the dialog presets from marks and
// remembered entries, the image classes each choice makes, names, colours, the new selection and
// the one undo step.
#include "transform_fixture.h"

#include "model/arc_circles.h"
#include "points/scaled_points.h"
#include "points/translated_points.h"

namespace {

using TransformCommands = TransformTest;

// ---------------------------------------------------------------------------------------------
// Update handlers

TEST_F(TransformCommands, MarkCommandsAreEnabledByTheirSelectionCounts) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    CGTmVariable* value = AddValue(2.0f, u"m");
    CGTmVector* vector = Vector(u"v", 1, 2, 3);

    Select({});
    for (UINT id : {ID_TRANS_MARKCENTER, ID_TRANS_MARKAXIS, ID_TRANS_MARKRATIO, ID_TRANS_MARKVECTOR,
                    ID_TRANS_MARKANGLE, ID_TRANS_MARKMIRROR})
        EXPECT_FALSE(Enabled(id)) << id;

    Select({a->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_MARKCENTER));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKVECTOR));
    Select({a->m_id, b->m_id});
    EXPECT_FALSE(Enabled(ID_TRANS_MARKCENTER));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKVECTOR));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKRATIO));
    Select({a->m_id, b->m_id, c->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKANGLE));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKVECTOR));
    // Three points whatever else is selected.
    Select({a->m_id, ab->m_id, b->m_id, face->m_id, c->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKMIRROR));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKAXIS));

    Select({ab->m_id, bc->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKAXIS));

    // A value is a ratio or an angle; a vector item only a vector.
    Select({value->m_id});
    EXPECT_TRUE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKANGLE));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKVECTOR));
    Select({vector->m_id});
    EXPECT_FALSE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKANGLE));
    EXPECT_TRUE(Enabled(ID_TRANS_MARKVECTOR));
    Select({value->m_id, vector->m_id});
    EXPECT_FALSE(Enabled(ID_TRANS_MARKRATIO));
    EXPECT_FALSE(Enabled(ID_TRANS_MARKVECTOR));
}

TEST_F(TransformCommands, TransformCommandsNeedSomethingTheyCanCopy) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    auto* built = Insert(new CGArcCircle3P(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kCircle));
    CGArc* placed = AddCircle(0, 0, 0, 2);
    CGTmVariable* value = AddValue(2.0f, u"m");
    const UINT commands[] = {ID_TRANS_TRANSLATE, ID_TRANS_ROTATE, ID_TRANS_DILATE, ID_TRANS_DEFLECT};

    for (WORD selected : {a->m_id, ab->m_id, face->m_id, built->m_id}) {
        Select({selected});
        for (UINT id : commands)
            EXPECT_TRUE(Enabled(id)) << id << " " << selected;
    }
    // A positioned circle and a value have no points to map.
    Select({});
    for (UINT id : commands)
        EXPECT_FALSE(Enabled(id)) << id;
    for (WORD selected : {placed->m_id, value->m_id}) {
        Select({selected});
        for (UINT id : commands)
            EXPECT_FALSE(Enabled(id)) << id << " " << selected;
    }
}

// ---------------------------------------------------------------------------------------------
// Marks

TEST_F(TransformCommands, EachMarkTakesItsCellsInSelectionOrder) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    CGTmVariable* value = AddValue(2.0f, u"m");
    CGTmVector* vector = Vector(u"v", 1, 2, 3);
    const CTransformMarks& marks = m_page->m_transformMarks;

    Select({c->m_id});
    EXPECT_TRUE(Run(ID_TRANS_MARKCENTER));
    EXPECT_EQ(marks.m_centerId, c->m_id);
    Select({bc->m_id});
    Run(ID_TRANS_MARKAXIS);
    EXPECT_EQ(marks.m_axisId, bc->m_id);
    Select({face->m_id});
    Run(ID_TRANS_MARKMIRROR);
    EXPECT_EQ(marks.m_mirrorId, face->m_id);

    Select({bc->m_id, ab->m_id});
    Run(ID_TRANS_MARKRATIO);
    EXPECT_EQ(marks.m_ratioKind, 2);
    EXPECT_EQ(marks.m_ratioLines[0], bc->m_id);
    EXPECT_EQ(marks.m_ratioLines[1], ab->m_id);
    Select({value->m_id});
    Run(ID_TRANS_MARKRATIO);
    EXPECT_EQ(marks.m_ratioKind, 1);
    EXPECT_EQ(marks.m_ratioValue, value->m_id);
    Select({c->m_id, a->m_id, b->m_id});
    Run(ID_TRANS_MARKRATIO);
    EXPECT_EQ(marks.m_ratioKind, 3);
    EXPECT_EQ(std::vector<WORD>(marks.m_ratioPoints, marks.m_ratioPoints + 3),
              (std::vector<WORD>{c->m_id, a->m_id, b->m_id}));
    // Nothing that makes a ratio leaves the mark as it was.
    Select({a->m_id});
    m_doc->OnMarkRatio();
    EXPECT_EQ(marks.m_ratioKind, 3);

    Select({b->m_id, a->m_id});
    Run(ID_TRANS_MARKVECTOR);
    EXPECT_EQ(marks.m_vectorKind, 1);
    EXPECT_EQ(marks.m_vectorPoints[0], b->m_id);
    EXPECT_EQ(marks.m_vectorPoints[1], a->m_id);
    Select({vector->m_id});
    Run(ID_TRANS_MARKVECTOR);
    EXPECT_EQ(marks.m_vectorKind, 2);
    EXPECT_EQ(marks.m_vectorItem, vector->m_id);

    Select({a->m_id, b->m_id, c->m_id});
    Run(ID_TRANS_MARKANGLE);
    EXPECT_EQ(marks.m_angleKind, 1);
    EXPECT_EQ(marks.m_anglePoints[1], b->m_id);
    Select({value->m_id});
    Run(ID_TRANS_MARKANGLE);
    EXPECT_EQ(marks.m_angleKind, 2);
    EXPECT_EQ(marks.m_angleValue, value->m_id);
    // Anything else clears the angle mark.
    Select({a->m_id});
    m_doc->OnMarkAngle();
    EXPECT_EQ(marks.m_angleKind, 0);
}

TEST_F(TransformCommands, RatioMarkOfThreePointsBesideAVectorItemTakesThePoints) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(3, 0, 0);
    CGTmVector* vector = Vector(u"v", 1, 2, 3);
    Select({a->m_id, b->m_id, vector->m_id, c->m_id});
    ASSERT_TRUE(Enabled(ID_TRANS_MARKRATIO));
    Run(ID_TRANS_MARKRATIO);
    EXPECT_EQ(m_page->m_transformMarks.m_ratioKind, 3);
    EXPECT_EQ(m_page->m_transformMarks.m_ratioValue, 0);
}

// ---------------------------------------------------------------------------------------------
// Translate

TEST_F(TransformCommands, TranslatingASegmentByAMarkedVectorIsOneUndoStep) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGVertex* c = AddPoint(1, 1, 1);
    CGVertex* d = AddPoint(2, 3, 4);
    Select({c->m_id, d->m_id});
    Run(ID_TRANS_MARKVECTOR);
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
    EXPECT_EQ(copy->m_parents[0], a1->m_id);
    EXPECT_EQ(copy->m_parents[1], b1->m_id);
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
    Select({v->m_id});
    Run(ID_TRANS_MARKVECTOR);
    CString shown;
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) { shown = dlg.m_vectorText; });

    Select({a->m_id});
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(shown, u"v=(0, 0, 2)");
    auto* a1 = Cell<CGVerTranslateM>(m_page->m_nextId - 1);
    ASSERT_NE(a1, nullptr);
    ExpectNear(*a1, 1, 0, 2);
    // The new image is selected: translating again works on it.
    Run(ID_TRANS_TRANSLATE);
    auto* a2 = Cell<CGVerTranslateM>(m_page->m_nextId - 1);
    ASSERT_NE(a2, nullptr);
    EXPECT_EQ(a2->m_name, u"A''");
    EXPECT_EQ(a2->m_parents[0], a1->m_id);
    ExpectNear(*a2, 1, 0, 4);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 2);
}

TEST_F(TransformCommands, WithoutMarksTheTypedValuesArePresetAndRemembered) {
    CGVertex* p = AddPoint(1, 0, 0);
    float shown[3] = {};
    int choice = -1;
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) {
        shown[0] = dlg.m_x;
        shown[1] = dlg.m_y;
        shown[2] = dlg.m_z;
        choice = dlg.m_choice;
        dlg.m_x = 2;
        dlg.m_y = -1;
        dlg.m_z = 0.5f;
    });
    Select({p->m_id});
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(choice, 1);
    EXPECT_EQ(std::vector<float>(shown, shown + 3), (std::vector<float>{0, 0, 1}));
    auto* image = Cell<CGVerTranslateStc>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, 3, -1, 0.5);

    // The next dialog starts from what was typed.
    Script<CDlgTransTranslate>([&](CDlgTransTranslate& dlg) {
        shown[0] = dlg.m_x;
        shown[1] = dlg.m_y;
        shown[2] = dlg.m_z;
    });
    m_answer = IDCANCEL;
    Run(ID_TRANS_TRANSLATE);
    EXPECT_EQ(std::vector<float>(shown, shown + 3), (std::vector<float>{2, -1, 0.5f}));
}

TEST_F(TransformCommands, CancelAndChoicesTheDialogDoesNotOfferMakeNothing) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(4, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
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

// ---------------------------------------------------------------------------------------------
// Rotate

TEST_F(TransformCommands, RotateWithoutMarksTurnsAboutTheTypedAxis) {
    CGVertex* p = AddPoint(1, 0, 0);
    Select({p->m_id});
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
    auto* image = Cell<CGVerRotate>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, 0, 1, 0);
    // The stored direction is a unit vector; typed axis and angle are remembered.
    EXPECT_EQ(std::vector<float>(image->m_direction, image->m_direction + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_FLOAT_EQ(image->m_angle, -1.5707964f);
    EXPECT_EQ(g_transformEntries.m_axisDirection[2], 2.0f);
    EXPECT_EQ(g_transformEntries.m_axisPoint[0], 1.0f);
    EXPECT_EQ(g_transformEntries.m_angleDegrees, -90.0f);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元旋转");
}

TEST_F(TransformCommands, AZeroTypedAxisBecomesTheVertical) {
    CGVertex* p = AddPoint(1, 0, 0);
    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        dlg.m_dirX = 0;
        dlg.m_dirY = 0;
        dlg.m_dirZ = 0;
    });
    Run(ID_TRANS_ROTATE);
    auto* image = Cell<CGVerRotate>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_direction[2], 1.0f);
    ExpectNear(*image, 0, 1, 0);

    std::vector<float> shown;
    Script<CDlgTransRotate>([&](CDlgTransRotate& dlg) { shown = {dlg.m_dirX, dlg.m_dirY, dlg.m_dirZ}; });
    m_answer = IDCANCEL;
    Run(ID_TRANS_ROTATE);
    EXPECT_EQ(shown, (std::vector<float>{0, 0, 1}));
}

TEST_F(TransformCommands, AMarkedAxisIsPresetBeforeAMarkedCentreWhichStaysOffered) {
    CGVertex* e = AddPoint(0, 0, 0);
    CGVertex* f = AddPoint(0, 0, 1);
    CGLine* axis = AddLine(e->m_id, f->m_id);
    CGVertex* g = AddPoint(1, 1, 0);
    CGVertex* p = AddPoint(2, 1, 0);
    CGTmVariable* m = AddValue(1.5707964f, u"m");
    Select({axis->m_id});
    Run(ID_TRANS_MARKAXIS);
    Select({g->m_id});
    Run(ID_TRANS_MARKCENTER);
    Select({m->m_id});
    Run(ID_TRANS_MARKANGLE);

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
    auto* aboutCentre = Cell<CGVerRotateXA2>(m_page->m_nextId - 1);
    ASSERT_NE(aboutCentre, nullptr);
    EXPECT_TRUE(aboutCentre->AboutCenter());
    EXPECT_EQ(aboutCentre->m_parents[1], g->m_id);
    EXPECT_EQ(aboutCentre->m_parents[2], m->m_id);
    ExpectNear(*aboutCentre, 1, 2, 0);

    // About the axis line by a typed angle: the typed angle is not remembered.
    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        dlg.m_angleChoice = 1;
        dlg.m_angle = 180;
    });
    Run(ID_TRANS_ROTATE);
    auto* aboutAxis = Cell<CGVerRotateX>(m_page->m_nextId - 1);
    ASSERT_NE(aboutAxis, nullptr);
    EXPECT_FALSE(aboutAxis->AboutCenter());
    EXPECT_EQ(aboutAxis->m_parents[1], axis->m_id);
    ExpectNear(*aboutAxis, -2, -1, 0);
    EXPECT_EQ(g_transformEntries.m_angleDegrees, 90.0f);
}

TEST_F(TransformCommands, AnAngleMarkWhosePointWasDeletedFallsBackToATypedAngle) {
    CGVertex* a = AddPoint(1, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGVertex* p = AddPoint(2, 0, 0);
    Select({a->m_id, b->m_id, c->m_id});
    Run(ID_TRANS_MARKANGLE);

    Select({p->m_id});
    Script<CDlgTransRotate>([](CDlgTransRotate& dlg) {
        EXPECT_EQ(dlg.m_angleChoice, 0);
        EXPECT_EQ(dlg.m_angleText, u" ∠ABC=90.0000°");
    });
    Run(ID_TRANS_ROTATE);
    auto* image = Cell<CGVerRotateA>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, 0, 2, 0);

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

// ---------------------------------------------------------------------------------------------
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
    Select({o->m_id});
    Run(ID_TRANS_MARKCENTER);

    // The ratio AB : AC of three points.
    Select({a->m_id, b->m_id, c->m_id});
    Run(ID_TRANS_MARKRATIO);
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        EXPECT_EQ(dlg.m_choice, 0);
        EXPECT_EQ(dlg.m_ratioText, u" → BC：BD");
        EXPECT_EQ(dlg.m_centerText, u"缩放中心：A(0.0000, 0.0000, 0.0000)");
        EXPECT_EQ(dlg.m_ratio, 0.5f);
    });
    Run(ID_TRANS_DILATE);
    auto* byPoints = Cell<CGVerScaleP>(m_page->m_nextId - 1);
    ASSERT_NE(byPoints, nullptr);
    ExpectNear(*byPoints, 2, 1, 0);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元缩放");

    // Two lines.
    Select({l1->m_id, l2->m_id});
    Run(ID_TRANS_MARKRATIO);
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) { EXPECT_EQ(dlg.m_ratioText, u" |BC|：|AC|"); });
    Run(ID_TRANS_DILATE);
    auto* byLines = Cell<CGVerScaleL>(m_page->m_nextId - 1);
    ASSERT_NE(byLines, nullptr);
    ExpectNear(*byLines, 2, 1, 0);

    // A value.
    Select({m->m_id});
    Run(ID_TRANS_MARKRATIO);
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) { EXPECT_EQ(dlg.m_ratioText, u"k"); });
    Run(ID_TRANS_DILATE);
    auto* byValue = Cell<CGVerScaleM>(m_page->m_nextId - 1);
    ASSERT_NE(byValue, nullptr);
    ExpectNear(*byValue, 12, 6, 0);

    // A typed ratio about the centre, remembered.
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        dlg.m_choice = 1;
        dlg.m_ratio = -1;
    });
    Run(ID_TRANS_DILATE);
    auto* typed = Cell<CGVerScale>(m_page->m_nextId - 1);
    ASSERT_NE(typed, nullptr);
    ExpectNear(*typed, -4, -2, 0);
    EXPECT_EQ(g_transformEntries.m_ratio, -1.0f);
}

TEST_F(TransformCommands, DilateWithoutACentreOffersOnlyATypedRatioAboutTheOrigin) {
    CGVertex* p = AddPoint(4, 2, 0);
    CGTmVariable* m = AddValue(3.0f, u"k");
    Select({m->m_id});
    Run(ID_TRANS_MARKRATIO);
    Select({p->m_id});
    Script<CDlgTransScale>([](CDlgTransScale& dlg) {
        EXPECT_EQ(dlg.m_choice, 1);
        EXPECT_EQ(dlg.m_centerText, u"缩放中心：原点 O（0,0,0）");
        EXPECT_EQ(dlg.m_ratioText, u"k");
    });
    Run(ID_TRANS_DILATE);
    auto* image = Cell<CGVerScaleO>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, 2, 1, 0);
    // The ratio mark itself is still there for a later centre.
    EXPECT_EQ(m_page->m_transformMarks.m_ratioKind, 1);
}

// ---------------------------------------------------------------------------------------------
// Reflect

TEST_F(TransformCommands, ReflectPrefersThePointThenTheAxisThenTheFace) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGVertex* p = AddPoint(1, 2, 3);
    CGLine* xAxis = AddLine(a->m_id, b->m_id);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    auto runWith = [&](int choice) {
        Select({p->m_id});
        Script<CDlgTransDeflect>([choice](CDlgTransDeflect& dlg) { dlg.m_choice = choice; });
        Run(ID_TRANS_DEFLECT);
        return Cell<CGVertex>(m_page->m_nextId - 1);
    };

    Select({face->m_id});
    Run(ID_TRANS_MARKMIRROR);
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

    Select({xAxis->m_id});
    Run(ID_TRANS_MARKAXIS);
    Select({c->m_id});
    Run(ID_TRANS_MARKCENTER);
    Select({p->m_id});
    Script<CDlgTransDeflect>([&](CDlgTransDeflect& dlg) {
        EXPECT_EQ(dlg.m_choice, CDlgTransDeflect::kAboutPoint);
        EXPECT_EQ(dlg.m_pointText, u"C(0.0000, 1.0000, 0.0000)");
        EXPECT_EQ(dlg.m_axisText, xAxis->m_name);
        EXPECT_EQ(dlg.m_mask, 7);
        EXPECT_TRUE(dlg.m_hasPoint && dlg.m_hasAxis && dlg.m_hasFace);
    });
    Run(ID_TRANS_DEFLECT);
    CGVertex* aboutPoint = Cell<CGVerSymmetryP>(m_page->m_nextId - 1);
    ASSERT_NE(aboutPoint, nullptr);
    ExpectNear(*aboutPoint, -1, 0, -3);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCurrent()->GetName(), u"添加图元反射");

    CGVertex* aboutAxis = runWith(CDlgTransDeflect::kAboutAxis);
    ASSERT_TRUE(aboutAxis && aboutAxis->IsKindOf(RUNTIME_CLASS(CGVerSymmetryL)));
    ExpectNear(*aboutAxis, 1, -2, -3);
    CGVertex* aboutFace = runWith(CDlgTransDeflect::kAboutFace);
    ASSERT_TRUE(aboutFace && aboutFace->IsKindOf(RUNTIME_CLASS(CGVerSymmetryF)));
    ExpectNear(*aboutFace, 1, 2, -3);
}

TEST_F(TransformCommands, ReflectInACoordinateElementRemembersItsMask) {
    CGVertex* p = AddPoint(1, 2, 3);
    Select({p->m_id});
    Script<CDlgTransDeflect>([](CDlgTransDeflect& dlg) {
        EXPECT_EQ(dlg.m_choice, CDlgTransDeflect::kAboutElement);
        EXPECT_EQ(dlg.m_mask, 7);
        EXPECT_FALSE(dlg.m_hasPoint || dlg.m_hasAxis || dlg.m_hasFace);
        dlg.m_mask = 4; // "XOY面"
    });
    Run(ID_TRANS_DEFLECT);
    auto* image = Cell<CGVerSymmetry>(m_page->m_nextId - 1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_mask, 4);
    ExpectNear(*image, 1, 2, -3);
    EXPECT_EQ(g_transformEntries.m_reflectMask, 4);

    BYTE shown = 0;
    Script<CDlgTransDeflect>([&](CDlgTransDeflect& dlg) { shown = dlg.m_mask; });
    m_answer = IDCANCEL;
    Run(ID_TRANS_DEFLECT);
    EXPECT_EQ(shown, 4);
}

} // namespace
