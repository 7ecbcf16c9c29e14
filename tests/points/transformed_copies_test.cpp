// Transformed copies of lines, faces and circles: the points collected, the copies on the images,
// copies that follow drags, a page without ids and a vertex array that must grow first.
#include "transform_fixture.h"

#include "model/arc_circles.h"
#include "points/constructed_arcs.h"
#include "points/translated_points.h"

namespace {

using TransformedCopies = TransformTest;

// Translates the selection by a typed vector.
class TypedTranslation : public TransformTest {
protected:
    void TranslateBy(float x, float y, float z) {
        Script<CDlgTransTranslate>([=](CDlgTransTranslate& dlg) {
            dlg.m_choice = 1;
            dlg.m_x = x;
            dlg.m_y = y;
            dlg.m_z = z;
        });
        ASSERT_TRUE(Run(ID_TRANS_TRANSLATE));
    }
};

TEST_F(TypedTranslation, AFaceAndOneOfItsEdgesShareTheImagesOfTheirCorners) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(2, 0, 0);
    CGVertex* c = AddPoint(0, 2, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id, CGLine::kRay);
    CGFace* face = AddFace({a->m_id, b->m_id, c->m_id});
    ab->m_style = 3;
    ab->m_size = 5.0f;
    ab->m_color = CRgba{9, 8, 7, 6};
    face->m_style = CGFace::kStyleTranslucent;
    face->m_kind = 2;
    face->m_color = CRgba{10, 20, 30, 40};
    face->m_labelHidden = 1;
    // B is chosen too: it is not collected a second time.
    Select({face->m_id, b->m_id, ab->m_id});
    const WORD first = m_page->m_nextId;
    TranslateBy(0, 0, 1);

    // B first (selected by the user), then the edge's A, then the face's C.
    ASSERT_EQ(CellCount(), 5 + 5);
    auto* b1 = Cell<CGVerTranslateStc>(first);
    auto* a1 = Cell<CGVerTranslateStc>(first + 1);
    auto* c1 = Cell<CGVerTranslateStc>(first + 2);
    ASSERT_TRUE(a1 && b1 && c1);
    EXPECT_EQ(Parents(b1), std::vector<WORD>{b->m_id});
    EXPECT_EQ(Parents(a1), std::vector<WORD>{a->m_id});
    EXPECT_EQ(Parents(c1), std::vector<WORD>{c->m_id});
    ExpectNear(*c1, 0, 2, 1);

    auto* edge = Cell<CGLine>(first + 3);
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(Parents(edge), (std::vector<WORD>{a1->m_id, b1->m_id}));
    EXPECT_EQ(edge->m_kind, CGLine::kRay);
    EXPECT_EQ(edge->m_style, 3);
    EXPECT_EQ(edge->m_size, 5.0f);
    EXPECT_EQ(edge->m_color, (CRgba{9, 8, 7, 6}));

    auto* faceCopy = Cell<CGFace>(first + 4);
    ASSERT_NE(faceCopy, nullptr);
    EXPECT_EQ(Parents(faceCopy), (std::vector<WORD>{a1->m_id, b1->m_id, c1->m_id}));
    EXPECT_EQ(faceCopy->m_style, CGFace::kStyleTranslucent);
    EXPECT_EQ(faceCopy->m_kind, 2);
    EXPECT_EQ(faceCopy->m_labelHidden, 1);
    // Red, green and blue from the source; the alpha of a new face.
    EXPECT_EQ(faceCopy->m_color.ToColorRef(), RGB(10, 20, 30));
    EXPECT_TRUE(faceCopy->m_valid);

    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{b1->m_id, a1->m_id, c1->m_id}));
    EXPECT_EQ(Ids(m_page->m_selLines), (std::vector<WORD>{edge->m_id}));
    EXPECT_EQ(Ids(m_page->m_selFaces), (std::vector<WORD>{faceCopy->m_id}));
    EXPECT_EQ(m_page->m_selAll.GetCount(), 5);
    EXPECT_FALSE(a->m_selected || b->m_selected || c->m_selected);

    ASSERT_TRUE(m_page->m_cmdProcessor.Undo());
    EXPECT_EQ(CellCount(), 5);
    // The edge and the face stay A's only children.
    EXPECT_EQ(a->m_children.GetCount(), 2);
}

TEST_F(TypedTranslation, CirclesOnPointsAreCopiedWithTheirClassKindAndSweep) {
    CGVertex* a = AddPoint(2, 0, 0);
    CGVertex* b = AddPoint(0, 2, 0);
    CGVertex* c = AddPoint(-2, 0, 0);
    auto* arc = Insert(new CGArcCircle3P(NextId(), a->m_id, b->m_id, c->m_id, CGArc::kArc));
    CGVertex* o = AddPoint(5, 5, 0);
    CGTmVariable* r = AddValue(3.0f, u"r");
    auto* onValue = Insert(new CGArcCenterR(NextId(), o->m_id, r->m_id, CGArc::kDisc));
    onValue->m_style = CGArc::kStyleTranslucent;
    onValue->m_color = CRgba{1, 2, 3, 4};
    CGArc* placed = AddCircle(0, 0, 9, 1);

    Select({arc->m_id, onValue->m_id, placed->m_id});
    const WORD first = m_page->m_nextId;
    TranslateBy(0, 0, 5);

    // Images of A, B, C and O; the two circles; the positioned circle is left alone.
    ASSERT_EQ(m_page->m_nextId, first + 6);
    auto* arcCopy = Cell<CGArcCircle3P>(first + 4);
    ASSERT_NE(arcCopy, nullptr);
    EXPECT_EQ(arcCopy->m_kind, CGArc::kArc);
    EXPECT_EQ(Parents(arcCopy), (std::vector<WORD>{first, WORD(first + 1), WORD(first + 2)}));
    EXPECT_TRUE(arcCopy->m_valid);
    EXPECT_NEAR(arcCopy->m_center[2], 5.0, 1e-6);
    EXPECT_NEAR(arcCopy->m_radius, arc->m_radius, 1e-5);
    EXPECT_FLOAT_EQ(arcCopy->m_startAngle, arc->m_startAngle);
    EXPECT_FLOAT_EQ(arcCopy->m_endAngle, arc->m_endAngle);

    auto* valueCopy = Cell<CGArcCenterR>(first + 5);
    ASSERT_NE(valueCopy, nullptr);
    EXPECT_EQ(Parents(valueCopy), (std::vector<WORD>{WORD(first + 3), r->m_id}));
    EXPECT_EQ(valueCopy->m_kind, CGArc::kDisc);
    EXPECT_EQ(valueCopy->m_style, CGArc::kStyleTranslucent);
    EXPECT_EQ(valueCopy->m_color, (CRgba{1, 2, 3, 4}));
    EXPECT_NEAR(valueCopy->m_center[2], 5.0, 1e-6);
    EXPECT_NEAR(valueCopy->m_radius, 3.0, 1e-6);
    EXPECT_EQ(Ids(m_page->m_selCurves), (std::vector<WORD>{arcCopy->m_id, valueCopy->m_id}));

    // Both circles hang on the one value.
    r->m_param1 = 4.0f;
    Changed(r);
    EXPECT_NEAR(onValue->m_radius, 4.0, 1e-6);
    EXPECT_NEAR(valueCopy->m_radius, 4.0, 1e-6);
}

TEST_F(TypedTranslation, EveryLineKindAndEveryCircleClassKeepsItsLookAndTrailingFields) {
    CGVertex* o = AddPoint(0, 0, 0);
    CGVertex* a = AddPoint(2, 0, 0);
    CGVertex* b = AddPoint(0, 2, 1);
    std::vector<CGCell*> sources;
    for (BYTE kind = CGLine::kSegment; kind <= CGLine::kVector; ++kind) {
        CGLine* line = AddLine(o->m_id, kind % 2 ? a->m_id : b->m_id, kind);
        line->m_style = BYTE(kind + 1);
        line->m_size = 1.0f + kind;
        line->m_hidden = kind % 2;
        line->m_labelHidden = 0;
        line->m_color = CRgba{kind, 2, 3, 4};
        sources.push_back(line);
    }
    CGArc* arcs[] = {Insert(new CGArcCenterP(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kSector)),
                     Insert(new CGArcPointN(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kArc, 1)),
                     Insert(new CGArcPoint2(NextId(), o->m_id, b->m_id, CGArc::kSegment)),
                     Insert(new CGArcCircle3P(NextId(), o->m_id, a->m_id, b->m_id, CGArc::kDisc))};
    for (int i = 0; i < 4; ++i) {
        CGArc* arc = arcs[i];
        // A sweep no longer taken from the points, and values a creator set.
        arc->m_sweepFromPoints = i % 2 == 0;
        arc->m_startAngle = 0.25f * float(i);
        arc->m_endAngle = 1.5f + float(i);
        arc->m_extA2 = i == 2 ? 1 : arc->m_extA2;
        arc->m_style = BYTE(i + 2);
        arc->m_size = 3.5f;
        arc->m_color = CRgba{9, 9, BYTE(i), 9};
        arc->Recompute();
        sources.push_back(arc);
    }
    Select({});
    for (const CGCell* cell : sources)
        m_page->SelectCell(cell->m_id);
    const WORD first = m_page->m_nextId;
    TranslateBy(0, 0, 3);

    ASSERT_EQ(m_page->m_nextId, first + 3 + sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        const CGCell* source = sources[i];
        const CGCell* copy = m_page->FindCell(WORD(first + 3 + i));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->GetRuntimeClass(), source->GetRuntimeClass()) << i;
        EXPECT_EQ(copy->m_kind, source->m_kind) << i;
        EXPECT_EQ(copy->m_style, source->m_style) << i;
        EXPECT_EQ(copy->m_size, source->m_size) << i;
        EXPECT_EQ(copy->m_hidden, source->m_hidden) << i;
        EXPECT_EQ(copy->m_labelHidden, source->m_labelHidden) << i;
        EXPECT_EQ(copy->m_color, source->m_color) << i;
        EXPECT_EQ(copy->m_parents.GetSize(), source->m_parents.GetSize()) << i;
        if (const auto* arc = DYNAMIC_DOWNCAST(CGArc, source)) {
            const auto* arcCopy = static_cast<const CGArc*>(copy);
            EXPECT_EQ(arcCopy->m_startAngle, arc->m_startAngle) << i;
            EXPECT_EQ(arcCopy->m_endAngle, arc->m_endAngle) << i;
            EXPECT_EQ(arcCopy->m_sweepFromPoints, arc->m_sweepFromPoints) << i;
            EXPECT_EQ(arcCopy->m_extA2, arc->m_extA2) << i;
            EXPECT_EQ(arcCopy->m_valid, arc->m_valid) << i;
            EXPECT_NEAR(arcCopy->m_center[2], arc->m_center[2] + 3.0f, 1e-5) << i;
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(arcCopy->m_axisU[k], arc->m_axisU[k], 1e-5) << i;
                EXPECT_NEAR(arcCopy->m_axisV[k], arc->m_axisV[k], 1e-5) << i;
            }
        }
    }
}

TEST_F(TransformedCopies, CopiesFollowWhenTheirOriginalsOrTheMarksAreDragged) {
    auto* p = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    auto* q = Add<CGVerFreeXyz>(1.0f, 0.0f, 0.0f);
    CGLine* pq = AddLine(p->m_id, q->m_id);
    auto* v1 = Add<CGVerFreeXyz>(0.0f, 0.0f, 0.0f);
    auto* v2 = Add<CGVerFreeXyz>(0.0f, 0.0f, 2.0f);
    Select({v1->m_id, v2->m_id});
    Run(ID_TRANS_MARKVECTOR);
    Select({pq->m_id});
    const WORD first = m_page->m_nextId;
    Run(ID_TRANS_TRANSLATE);
    auto* p1 = Cell<CGVerTranslate>(first);
    auto* q1 = Cell<CGVerTranslate>(first + 1);
    auto* copy = Cell<CGLine>(first + 2);
    ASSERT_TRUE(p1 && q1 && copy);
    ExpectNear(*p1, 0, 0, 2);

    {
        // The original: P moves in its horizontal plane, P' and the copy's label go along.
        CDragRun drag(*m_page, *p);
        RayDownZ(3, 4);
        drag.Move();
        ExpectNear(*p, 3, 4, 0);
        ExpectNear(*p1, 3, 4, 2);
        ExpectSynced(*p1);
        EXPECT_NEAR(copy->m_labelPos[0], 2.0 + copy->m_labelOffset[0], 1e-5);
    }
    {
        // A mark: the end of the marked vector.
        CDragRun drag(*m_page, *v2);
        RayDownZ(1, 1);
        drag.Move();
        ExpectNear(*p1, 4, 5, 2);
        ExpectNear(*q1, 2, 1, 2);
    }
}

TEST_F(TypedTranslation, AVertexArrayTooSmallIsEnlargedFirst) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    g_vertexArrayCapacity = int(m_page->m_nextVertex);
    Select({ab->m_id});
    TranslateBy(1, 1, 1);
    EXPECT_GT(g_vertexArrayCapacity, int(m_page->m_nextVertex));
    auto* b1 = Cell<CGVertex>(m_page->m_nextId - 2);
    ASSERT_NE(b1, nullptr);
    ExpectNear(*b1, 2, 1, 1);
    ExpectSynced(*a);
    ExpectSynced(*b1);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(TypedTranslation, APageWithoutIdsForEveryCopyMakesNothingAndGivesBackTheSelection) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    // Ids for two of the four cells (three images and the copy of the line).
    m_page->m_nextId = CGPage::kMaxCellId - 1;
    Select({c->m_id, ab->m_id});
    const int before = CellCount();
    TranslateBy(1, 1, 1);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(CellCount(), before);
    EXPECT_EQ(m_page->m_nextId, CGPage::kMaxCellId - 1);
    EXPECT_EQ(m_page->m_cmdProcessor.GetCount(), 0);
    // The points the command had collected are no longer selected; the user's choice is.
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{c->m_id}));
    EXPECT_EQ(Ids(m_page->m_selLines), (std::vector<WORD>{ab->m_id}));
    EXPECT_FALSE(a->m_selected || b->m_selected);
    EXPECT_TRUE(c->m_selected);
}

TEST_F(TransformedCopies, CollectingTakesEachDefiningPointOnceAndCopyingNeedsTheImages) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    CGVertex* c = AddPoint(0, 1, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    CGLine* bc = AddLine(b->m_id, c->m_id);
    CGArc* placed = AddCircle(0, 0, 0, 1);
    Select({bc->m_id, ab->m_id, placed->m_id});
    EXPECT_EQ(m_page->CountTransformedCopies(), 2);
    EXPECT_EQ(m_page->CollectTransformTargets(), 3);
    EXPECT_EQ(Ids(m_page->m_selPoints), (std::vector<WORD>{b->m_id, c->m_id, a->m_id}));
    // Not in the list of all selected objects.
    EXPECT_EQ(m_page->m_selAll.GetCount(), 3);
    EXPECT_TRUE(a->m_selected);
    EXPECT_EQ(m_page->CollectTransformTargets(), 0);

    // With only points selected no copy is made.
    Select({a->m_id});
    EXPECT_EQ(m_page->BuildTransformedImages(), 0);
}

} // namespace
