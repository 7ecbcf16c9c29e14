// The transform commands of the document: the six marks, their update handlers, and the translate,
// rotate, dilate and reflect commands, which preset their dialog from the marks and the remembered
// entries, make one image point per selected point and copy the selected lines, faces and circles
// onto the images, as one undo step.
#include "points/transform_commands.h"

#include "document/halvix_doc.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/geometry.h"
#include "model/line.h"
#include "points/constructed_arcs.h"
#include "points/scaled_points.h"
#include "points/transform_dialogs.h"
#include "points/translated_points.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"

#include "model/arc_circles.h"

#include <cmath>
#include <functional>

CTransformEntries g_transformEntries;

void HxResetTransformEntries() {
    g_transformEntries = CTransformEntries();
}

const char16_t* const g_transTranslateName = u"添加图元平移";
const char16_t* const g_transRotateName = u"添加图元旋转";
const char16_t* const g_transScaleName = u"添加图元缩放";
const char16_t* const g_transReflectName = u"添加图元反射";

namespace {

// Shown when the page has no ids left for the images and copies.
const char16_t* const kNoIdsLeft = u"当前页的对象已达上限，不能再添加。";

// ---- Marked cells: a mark counts only while its cell is in the page and of the marked kind ----

CGVertex* MarkedPoint(WORD id) {
    return id ? DYNAMIC_DOWNCAST(CGVertex, HxFindCell(id)) : nullptr;
}

// A line with both of its points.
CGLine* MarkedLine(WORD id) {
    auto* line = id ? DYNAMIC_DOWNCAST(CGLine, HxFindCell(id)) : nullptr;
    return line && line->GetEnd(0) && line->GetEnd(1) ? line : nullptr;
}

// A face whose first three corners span its plane.
CGFace* MarkedFace(WORD id) {
    auto* face = id ? DYNAMIC_DOWNCAST(CGFace, HxFindCell(id)) : nullptr;
    return face && face->GetCorner(0) && face->GetCorner(1) && face->GetCorner(2) ? face : nullptr;
}

CGTmVariable* MarkedValue(WORD id) {
    return id ? DYNAMIC_DOWNCAST(CGTmVariable, HxFindCell(id)) : nullptr;
}

CGTmVector* MarkedVector(WORD id) {
    return id ? DYNAMIC_DOWNCAST(CGTmVector, HxFindCell(id)) : nullptr;
}

bool AllPoints(const WORD* ids, int count) {
    for (int i = 0; i < count; ++i) {
        if (!MarkedPoint(ids[i]))
            return false;
    }
    return true;
}

CString EndName(const CGLine& line, int i) {
    const CGVertex* end = line.GetEnd(i);
    return end ? end->m_name : CString();
}

// The first n ids of a selection list.
void FirstIds(const CList<WORD, WORD>& list, WORD* out, int n) {
    int i = 0;
    for (WORD id : list) {
        if (i == n)
            break;
        out[i++] = id;
    }
}

bool IsSingleVariable(const CGPage& page) {
    return page.m_selValues.GetCount() == 1 && page.CountSelectedVariables() == 1;
}

// Circles that are copied onto the images of their points.
bool IsCopiedCircle(const CGCell* cell) {
    return cell->IsKindOf(RUNTIME_CLASS(CGArcCenterP)) || cell->IsKindOf(RUNTIME_CLASS(CGArcCircle3P)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGArcPointN)) || cell->IsKindOf(RUNTIME_CLASS(CGArcPoint2)) ||
           cell->IsKindOf(RUNTIME_CLASS(CGArcCenterR));
}

bool Finite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// Makes the image of point p with the given id, vertex index and name.
using CImageMaker = std::function<CGVertex*(WORD id, DWORD vertex, const CString& name, WORD p)>;

// Unselects the points the collection added after the first `kept` of the points list.
void DropCollectedPoints(CGPage& page, int kept) {
    while (page.m_selPoints.GetCount() > kept) {
        if (CGCell* cell = page.FindCell(page.m_selPoints.GetTail()))
            cell->m_selected = false;
        page.m_selPoints.RemoveTail();
    }
}

// The common procedure of the four commands, once the dialog has been confirmed.
void MakeTransformedCopies(CHalvixDoc& doc, const CImageMaker& makeImage, const char16_t* undoName) {
    CGPage* page = g_pCurPage;
    const WORD first = page->m_nextId;
    const int chosenPoints = page->m_selPoints.GetCount();
    page->CollectTransformTargets();

    const int n = page->m_selPoints.GetCount();
    bool ok = n > 0;
    if (ok && (!page->CanTakeIds(n + page->CountTransformedCopies()) || !page->CanTakeVertexIndices(n))) {
        AfxMessageBox(kNoIdsLeft, MB_OK);
        ok = false;
    }
    // Each enlargement adds at least n places; a failure has been reported.
    while (ok && static_cast<long long>(page->m_nextVertex) + n > g_vertexArrayCapacity)
        ok = EnsureVertexArray(n);
    if (!ok) {
        // Nothing is made: the selection is the user's again.
        DropCollectedPoints(*page, chosenPoints);
        return;
    }

    // The images, in list order, with consecutive ids from first.
    for (WORD sourceId : page->m_selPoints) {
        auto* source = DYNAMIC_DOWNCAST(CGVertex, page->FindCell(sourceId));
        const WORD id = page->m_nextId;
        const DWORD vertex = page->m_nextVertex;
        CGVertex* image = makeImage(id, vertex, (source ? source->m_name : CString()) + u"'", sourceId);
        page->m_cells.SetAt(id, image);
        ++page->m_nextId;
        ++page->m_nextVertex;
        if (!source)
            continue;
        image->m_style = source->m_style;
        image->m_size = source->m_size;
        image->m_hidden = source->m_hidden;
        image->m_labelHidden = source->m_labelHidden;
        // The image of a free point is no free point: it keeps the colour of fixed points.
        if (!source->IsKindOf(RUNTIME_CLASS(CGVerFree)))
            image->m_color = source->m_color;
    }
    const int m = page->BuildTransformedImages();

    page->ClearSelection();
    for (int id = first; id < int(first) + n + m; ++id)
        page->SelectCell(WORD(id));
    page->m_cmdProcessor.Submit(new CCmdAddCells(n + m, undoName));
    doc.SetModifiedFlag(TRUE);
    doc.UpdateAllViews(nullptr);
}

} // namespace

void CHalvixDoc::AddTransformCommands() {
    OnCommandId(ID_TRANS_MARKCENTER, &CHalvixDoc::OnMarkCenter);
    OnUpdateId(ID_TRANS_MARKCENTER, &CHalvixDoc::OnUpdateOnePoint);
    OnCommandId(ID_TRANS_MARKAXIS, &CHalvixDoc::OnMarkAxis);
    OnUpdateId(ID_TRANS_MARKAXIS, &CHalvixDoc::OnUpdateOneLine);
    OnCommandId(ID_TRANS_MARKRATIO, &CHalvixDoc::OnMarkRatio);
    OnUpdateId(ID_TRANS_MARKRATIO, &CHalvixDoc::OnUpdateMarkRatio);
    OnCommandId(ID_TRANS_MARKVECTOR, &CHalvixDoc::OnMarkVector);
    OnUpdateId(ID_TRANS_MARKVECTOR, &CHalvixDoc::OnUpdateMarkVector);
    OnCommandId(ID_TRANS_MARKANGLE, &CHalvixDoc::OnMarkAngle);
    OnUpdateId(ID_TRANS_MARKANGLE, &CHalvixDoc::OnUpdateMarkAngle);
    OnCommandId(ID_TRANS_MARKMIRROR, &CHalvixDoc::OnMarkMirror);
    OnUpdateId(ID_TRANS_MARKMIRROR, &CHalvixDoc::OnUpdateOneFace);
    OnCommandId(ID_TRANS_TRANSLATE, &CHalvixDoc::OnTransTranslate);
    OnUpdateId(ID_TRANS_TRANSLATE, &CHalvixDoc::OnUpdateTransTranslate);
    OnCommandId(ID_TRANS_ROTATE, &CHalvixDoc::OnTransRotate);
    OnUpdateId(ID_TRANS_ROTATE, &CHalvixDoc::OnUpdateTransRotateScaleReflect);
    OnCommandId(ID_TRANS_DILATE, &CHalvixDoc::OnTransScale);
    OnUpdateId(ID_TRANS_DILATE, &CHalvixDoc::OnUpdateTransRotateScaleReflect);
    OnCommandId(ID_TRANS_DEFLECT, &CHalvixDoc::OnTransReflect);
    OnUpdateId(ID_TRANS_DEFLECT, &CHalvixDoc::OnUpdateTransRotateScaleReflect);
}

// ---------------------------------------------------------------------------------------------
// Update handlers

void CHalvixDoc::OnUpdateOnePoint(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_selPoints.GetCount() == 1);
}

void CHalvixDoc::OnUpdateOneLine(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_selLines.GetCount() == 1);
}

void CHalvixDoc::OnUpdateOneFace(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pCurPage && g_pCurPage->m_selFaces.GetCount() == 1);
}

void CHalvixDoc::OnUpdateMarkRatio(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selPoints.GetCount() == 3 || page->m_selLines.GetCount() == 2 ||
                            IsSingleVariable(*page)));
}

void CHalvixDoc::OnUpdateMarkVector(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selPoints.GetCount() == 2 ||
                            (page->m_selValues.GetCount() == 1 && page->CountSelectedVariables() == 0)));
}

void CHalvixDoc::OnUpdateMarkAngle(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    pCmdUI->Enable(page && (page->m_selPoints.GetCount() == 3 || IsSingleVariable(*page)));
}

void CHalvixDoc::OnUpdateTransTranslate(CCmdUI* pCmdUI) {
    const CGPage* page = g_pCurPage;
    bool enable =
        page && (!page->m_selPoints.IsEmpty() || !page->m_selLines.IsEmpty() || !page->m_selFaces.IsEmpty());
    if (page && !enable) {
        for (WORD id : page->m_selCurves) {
            const CGCell* cell = page->FindCell(id);
            if (cell && IsCopiedCircle(cell)) {
                enable = true;
                break;
            }
        }
    }
    pCmdUI->Enable(enable);
}

void CHalvixDoc::OnUpdateTransRotateScaleReflect(CCmdUI* pCmdUI) {
    OnUpdateTransTranslate(pCmdUI);
}

// ---------------------------------------------------------------------------------------------
// Marks

void CHalvixDoc::OnMarkCenter() {
    if (g_pCurPage && !g_pCurPage->m_selPoints.IsEmpty())
        g_pCurPage->m_transformMarks.m_centerId = g_pCurPage->m_selPoints.GetHead();
}

void CHalvixDoc::OnMarkAxis() {
    if (g_pCurPage && !g_pCurPage->m_selLines.IsEmpty())
        g_pCurPage->m_transformMarks.m_axisId = g_pCurPage->m_selLines.GetHead();
}

void CHalvixDoc::OnMarkMirror() {
    if (g_pCurPage && !g_pCurPage->m_selFaces.IsEmpty())
        g_pCurPage->m_transformMarks.m_mirrorId = g_pCurPage->m_selFaces.GetHead();
}

void CHalvixDoc::OnMarkRatio() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    if (page->m_selLines.GetCount() == 2) {
        marks.m_ratioKind = 2;
        FirstIds(page->m_selLines, marks.m_ratioLines, 2);
    } else if (IsSingleVariable(*page)) {
        // Only a value whose number is a ratio; a vector item leaves the points their turn.
        marks.m_ratioKind = 1;
        marks.m_ratioValue = page->m_selValues.GetHead();
    } else if (page->m_selPoints.GetCount() == 3) {
        marks.m_ratioKind = 3;
        FirstIds(page->m_selPoints, marks.m_ratioPoints, 3);
    }
}

void CHalvixDoc::OnMarkVector() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    if (page->m_selPoints.GetCount() == 2) {
        marks.m_vectorKind = 1;
        FirstIds(page->m_selPoints, marks.m_vectorPoints, 2);
    } else if (!page->m_selValues.IsEmpty()) {
        marks.m_vectorKind = 2;
        marks.m_vectorItem = page->m_selValues.GetHead();
    }
}

void CHalvixDoc::OnMarkAngle() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    if (page->m_selPoints.GetCount() == 3) {
        marks.m_angleKind = 1;
        FirstIds(page->m_selPoints, marks.m_anglePoints, 3);
    } else if (IsSingleVariable(*page)) {
        marks.m_angleKind = 2;
        marks.m_angleValue = page->m_selValues.GetHead();
    } else {
        marks.m_angleKind = 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Translate

void CHalvixDoc::OnTransTranslate() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    CDlgTransTranslate dlg;
    dlg.m_x = g_transformEntries.m_vector[0];
    dlg.m_y = g_transformEntries.m_vector[1];
    dlg.m_z = g_transformEntries.m_vector[2];
    const CGVertex* a = MarkedPoint(marks.m_vectorPoints[0]);
    const CGVertex* b = MarkedPoint(marks.m_vectorPoints[1]);
    const CGTmVector* item = MarkedVector(marks.m_vectorItem);
    if (marks.m_vectorKind == 1 && a && b) {
        dlg.m_choice = 0;
        dlg.m_vectorText = HxFormat(u"%s%s=(%.4f, %.4f, %.4f)", a->m_name, b->m_name, b->m_x - a->m_x,
                                    b->m_y - a->m_y, b->m_z - a->m_z);
    } else if (marks.m_vectorKind == 2 && item) {
        dlg.m_choice = 0;
        dlg.m_vectorText = item->m_text;
    } else {
        dlg.m_choice = 1;
        marks.m_vectorKind = 0;
    }
    if (dlg.DoModal() != IDOK)
        return;

    CImageMaker make;
    const WORD idA = marks.m_vectorPoints[0], idB = marks.m_vectorPoints[1], idV = marks.m_vectorItem;
    if (dlg.m_choice == 0 && marks.m_vectorKind == 1) {
        make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerTranslate(id, vertex, name, p, idA, idB);
        };
    } else if (dlg.m_choice == 0 && marks.m_vectorKind == 2) {
        make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerTranslateM(id, vertex, name, p, idV);
        };
    } else if (dlg.m_choice == 1 && Finite({dlg.m_x, dlg.m_y, dlg.m_z})) {
        float* v = g_transformEntries.m_vector;
        v[0] = dlg.m_x;
        v[1] = dlg.m_y;
        v[2] = dlg.m_z;
        const float x = v[0], y = v[1], z = v[2];
        make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerTranslateStc(id, vertex, name, p, x, y, z);
        };
    } else {
        return; // a choice the dialog does not offer
    }
    MakeTransformedCopies(*this, make, g_transTranslateName);
}

// ---------------------------------------------------------------------------------------------
// Rotate

void CHalvixDoc::OnTransRotate() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    CTransformEntries& entries = g_transformEntries;
    CDlgTransRotate dlg;
    dlg.m_dirX = entries.m_axisDirection[0];
    dlg.m_dirY = entries.m_axisDirection[1];
    dlg.m_dirZ = entries.m_axisDirection[2];
    dlg.m_pointX = entries.m_axisPoint[0];
    dlg.m_pointY = entries.m_axisPoint[1];
    dlg.m_pointZ = entries.m_axisPoint[2];
    dlg.m_angle = entries.m_angleDegrees;
    constexpr int kNoAxisYet = 10;
    dlg.m_axisChoice = kNoAxisYet;
    dlg.m_available = CDlgTransRotate::kNoMarks;

    // A marked axis comes first, a marked centre second, a typed axis last.
    const CGLine* axis = MarkedLine(marks.m_axisId);
    const CGVertex* centre = MarkedPoint(marks.m_centerId);
    if (axis) {
        dlg.m_axisChoice = CDlgTransRotate::kAxisMarked;
        dlg.m_available = CDlgTransRotate::kAxisOnly;
        dlg.m_axisText = HxFormat(u"有向直线：%s%s", EndName(*axis, 0), EndName(*axis, 1));
    }
    if (centre) {
        if (dlg.m_axisChoice != CDlgTransRotate::kAxisMarked)
            dlg.m_axisChoice = CDlgTransRotate::kAxisCenter;
        dlg.m_available = dlg.m_available == CDlgTransRotate::kAxisOnly ? CDlgTransRotate::kAxisAndCenter
                                                                        : CDlgTransRotate::kCenterOnly;
        dlg.m_centerText = HxFormat(u"旋转中心：点%s", centre->m_name);
    }
    if (dlg.m_axisChoice > 3)
        dlg.m_axisChoice = CDlgTransRotate::kAxisFixed;

    const bool anglePoints = marks.m_angleKind == 1 && AllPoints(marks.m_anglePoints, 3);
    const CGTmVariable* angleValue = MarkedValue(marks.m_angleValue);
    if (anglePoints) {
        dlg.m_angleChoice = 0;
        float pa[3], pb[3], pc[3];
        MarkedPoint(marks.m_anglePoints[0])->GetPosition(pa);
        MarkedPoint(marks.m_anglePoints[1])->GetPosition(pb);
        MarkedPoint(marks.m_anglePoints[2])->GetPosition(pc);
        const float degrees = RotationAngleF(pa, pb, pc) * 57.29578f;
        dlg.m_angleText = HxFormat(u" ∠%s%s%s=%.4f°", MarkedPoint(marks.m_anglePoints[0])->m_name,
                                   MarkedPoint(marks.m_anglePoints[1])->m_name,
                                   MarkedPoint(marks.m_anglePoints[2])->m_name, degrees);
    } else if (marks.m_angleKind == 2 && angleValue) {
        dlg.m_angleChoice = 0;
        dlg.m_angleText = HxFormat(u"%s", angleValue->m_name);
    } else {
        dlg.m_angleChoice = 1;
        marks.m_angleKind = 0;
    }
    if (dlg.DoModal() != IDOK)
        return;

    const int angleKind = dlg.m_angleChoice == 0 ? marks.m_angleKind : 0;
    if (dlg.m_angleChoice == 0 && angleKind == 0)
        return; // a choice the dialog does not offer
    if (angleKind == 0 && !Finite({dlg.m_angle}))
        return;
    const float radians = (dlg.m_angle * 3.1415927f) / 180.0f;
    const WORD a = marks.m_anglePoints[0], b = marks.m_anglePoints[1], c = marks.m_anglePoints[2];
    const WORD value = marks.m_angleValue;

    CImageMaker make;
    if (dlg.m_axisChoice == CDlgTransRotate::kAxisMarked ||
        dlg.m_axisChoice == CDlgTransRotate::kAxisCenter) {
        const bool aboutCentre = dlg.m_axisChoice == CDlgTransRotate::kAxisCenter;
        if (aboutCentre ? !centre : !axis)
            return;
        const WORD x = aboutCentre ? centre->m_id : axis->m_id;
        const BYTE selector = aboutCentre ? 1 : 0;
        if (angleKind == 1) {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotateXA(id, vertex, name, p, x, a, b, c, selector);
            };
        } else if (angleKind == 2) {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotateXA2(id, vertex, name, p, x, value, selector);
            };
        } else {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotateX(id, vertex, name, p, x, radians, selector);
            };
        }
    } else if (dlg.m_axisChoice == CDlgTransRotate::kAxisFixed) {
        if (!Finite({dlg.m_dirX, dlg.m_dirY, dlg.m_dirZ, dlg.m_pointX, dlg.m_pointY, dlg.m_pointZ}))
            return;
        float* dir = entries.m_axisDirection;
        dir[0] = dlg.m_dirX;
        dir[1] = dlg.m_dirY;
        dir[2] = dlg.m_dirZ;
        entries.m_axisPoint[0] = dlg.m_pointX;
        entries.m_axisPoint[1] = dlg.m_pointY;
        entries.m_axisPoint[2] = dlg.m_pointZ;
        float s = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
        if (s == 0.0f) {
            dir[0] = 0.0f;
            dir[1] = 0.0f;
            dir[2] = 1.0f;
            s = 1.0f;
        }
        const float dx = dir[0] / s, dy = dir[1] / s, dz = dir[2] / s;
        const float px = dlg.m_pointX, py = dlg.m_pointY, pz = dlg.m_pointZ;
        if (angleKind == 1) {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotateA(id, vertex, name, p, dx, dy, dz, px, py, pz, a, b, c);
            };
        } else if (angleKind == 2) {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotateA2(id, vertex, name, p, dx, dy, dz, px, py, pz, value);
            };
        } else {
            // Only a typed angle about a typed axis is kept for the next time.
            entries.m_angleDegrees = dlg.m_angle;
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerRotate(id, vertex, name, p, dx, dy, dz, px, py, pz, radians);
            };
        }
    } else {
        return;
    }
    MakeTransformedCopies(*this, make, g_transRotateName);
}

// ---------------------------------------------------------------------------------------------
// Dilate

void CHalvixDoc::OnTransScale() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CTransformMarks& marks = page->m_transformMarks;
    CDlgTransScale dlg;
    dlg.m_ratio = g_transformEntries.m_ratio;
    const CGTmVariable* value = MarkedValue(marks.m_ratioValue);
    const CGLine* l1 = MarkedLine(marks.m_ratioLines[0]);
    const CGLine* l2 = MarkedLine(marks.m_ratioLines[1]);
    const bool ratioPoints = AllPoints(marks.m_ratioPoints, 3);
    if (marks.m_ratioKind == 1 && value) {
        dlg.m_choice = 0;
        dlg.m_ratioText = value->m_name;
    } else if (marks.m_ratioKind == 2 && l1 && l2) {
        dlg.m_choice = 0;
        dlg.m_ratioText =
            HxFormat(u" |%s%s|：|%s%s|", EndName(*l1, 0), EndName(*l1, 1), EndName(*l2, 0), EndName(*l2, 1));
    } else if (marks.m_ratioKind == 3 && ratioPoints) {
        const CString& a = MarkedPoint(marks.m_ratioPoints[0])->m_name;
        const CString& b = MarkedPoint(marks.m_ratioPoints[1])->m_name;
        const CString& c = MarkedPoint(marks.m_ratioPoints[2])->m_name;
        dlg.m_choice = 0;
        dlg.m_ratioText = HxFormat(u" → %s%s：%s%s", a, b, a, c);
    } else {
        dlg.m_choice = 1;
        marks.m_ratioKind = 0;
    }
    // Without a centre only a typed ratio about the origin is offered.
    const CGVertex* centre = MarkedPoint(marks.m_centerId);
    if (centre) {
        dlg.m_centerText = HxFormat(u"缩放中心：%s(%.4f, %.4f, %.4f)", centre->m_name, centre->m_x,
                                    centre->m_y, centre->m_z);
    } else {
        dlg.m_centerText = u"缩放中心：原点 O（0,0,0）";
        dlg.m_choice = 1;
    }
    if (dlg.DoModal() != IDOK)
        return;

    CImageMaker make;
    const WORD o = centre ? centre->m_id : 0;
    if (dlg.m_choice == 0) {
        if (!centre)
            return;
        const WORD m = marks.m_ratioValue, line1 = marks.m_ratioLines[0], line2 = marks.m_ratioLines[1];
        const WORD a = marks.m_ratioPoints[0], b = marks.m_ratioPoints[1], c = marks.m_ratioPoints[2];
        switch (marks.m_ratioKind) {
        case 1:
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerScaleM(id, vertex, name, p, o, m);
            };
            break;
        case 2:
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerScaleL(id, vertex, name, p, o, line1, line2);
            };
            break;
        case 3:
            // The ratio AB : AC of the mark.
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerScaleP(id, vertex, name, p, o, a, b, c);
            };
            break;
        default:
            return;
        }
    } else if (dlg.m_choice == 1 && Finite({dlg.m_ratio})) {
        g_transformEntries.m_ratio = dlg.m_ratio;
        const float k = dlg.m_ratio;
        if (centre) {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerScale(id, vertex, name, p, o, k);
            };
        } else {
            make = [=](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
                return new CGVerScaleO(id, vertex, name, p, k);
            };
        }
    } else {
        return;
    }
    MakeTransformedCopies(*this, make, g_transScaleName);
}

// ---------------------------------------------------------------------------------------------
// Reflect

void CHalvixDoc::OnTransReflect() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    const CTransformMarks& marks = page->m_transformMarks;
    CDlgTransDeflect dlg;
    dlg.m_mask = g_transformEntries.m_reflectMask;
    dlg.m_choice = CDlgTransDeflect::kAboutElement;
    // Each mark found overrides the one before: the point is preferred, then the axis, the face.
    const CGFace* face = MarkedFace(marks.m_mirrorId);
    const CGLine* axis = MarkedLine(marks.m_axisId);
    const CGVertex* centre = MarkedPoint(marks.m_centerId);
    if (face) {
        dlg.m_faceText = face->m_name;
        dlg.m_hasFace = 1;
        dlg.m_choice = CDlgTransDeflect::kAboutFace;
    }
    if (axis) {
        dlg.m_axisText = axis->m_name;
        dlg.m_hasAxis = 1;
        dlg.m_choice = CDlgTransDeflect::kAboutAxis;
    }
    if (centre) {
        dlg.m_pointText =
            HxFormat(u"%s(%.4f, %.4f, %.4f)", centre->m_name, centre->m_x, centre->m_y, centre->m_z);
        dlg.m_hasPoint = 1;
        dlg.m_choice = CDlgTransDeflect::kAboutPoint;
    }
    if (dlg.DoModal() != IDOK)
        return;

    CImageMaker make;
    switch (dlg.m_choice) {
    case CDlgTransDeflect::kAboutPoint:
        if (!centre)
            return;
        make = [c = centre->m_id](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerSymmetryP(id, vertex, name, p, c);
        };
        break;
    case CDlgTransDeflect::kAboutAxis:
        if (!axis)
            return;
        make = [l = axis->m_id](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerSymmetryL(id, vertex, name, p, l);
        };
        break;
    case CDlgTransDeflect::kAboutFace:
        if (!face)
            return;
        make = [f = face->m_id](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerSymmetryF(id, vertex, name, p, f);
        };
        break;
    case CDlgTransDeflect::kAboutElement:
        if (CDlgTransDeflect::ElementIndexOf(dlg.m_mask) < 0)
            return;
        g_transformEntries.m_reflectMask = dlg.m_mask;
        make = [mask = dlg.m_mask](WORD id, DWORD vertex, const CString& name, WORD p) -> CGVertex* {
            return new CGVerSymmetry(id, vertex, name, p, mask);
        };
        break;
    default:
        return;
    }
    MakeTransformedCopies(*this, make, g_transReflectName);
}
