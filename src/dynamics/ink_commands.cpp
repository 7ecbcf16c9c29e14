// Keeping the pen's strokes as ink cells of the page, in one undo step.
#include "construct/construction.h"
#include "document/halvix_doc.h"
#include "dynamics/ink.h"
#include "model/page.h"

namespace {

bool SameRgb(const CRgba& a, const CRgba& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

} // namespace

int HxSaveInk(CHalvixDoc* doc, std::vector<CStroke*>& strokes, float panX, float panY, float lineWidth) {
    if (!doc || !g_pCurPage || strokes.empty())
        return 0;
    int cells = 1;
    for (size_t i = 1; i < strokes.size(); ++i)
        if (!SameRgb(strokes[i]->m_color, strokes[i - 1]->m_color))
            ++cells;
    CConstruction make(*doc);
    if (!make.Reserve(cells, 0))
        return 0;
    CGInkmarks* current = nullptr;
    for (CStroke* stroke : strokes) {
        if (current && SameRgb(stroke->m_color, current->m_color)) {
            current->AddStroke(stroke);
            continue;
        }
        current = make.AddCell<CGInkmarks>(stroke);
        current->m_labelPos[0] = -panX;
        current->m_labelPos[1] = -panY;
        current->m_size = lineWidth;
    }
    strokes.clear();
    const int made = make.Count();
    if (made > 1)
        make.CommitCells(CString(u"添加墨迹"));
    else
        make.CommitCell(CString(u"添加墨迹"));
    return made;
}
