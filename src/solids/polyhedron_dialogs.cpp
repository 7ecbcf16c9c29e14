// The hull, net and cut dialogs' classes: titles and the presets of their openers.
#include "solids/polyhedron_dialogs.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDlgPolyhedron, CDialog)
IMPLEMENT_DYNAMIC(CDlgFold, CDialog)
IMPLEMENT_DYNAMIC(CDlgSplit, CDialog)

const char16_t* const CDlgSplit::kNoteFixedPlanes = u"当前页未选择面,切割面将由程序自动生成,且是固定的";
const char16_t* const CDlgSplit::kNoteSelectedFaces = u"切割面由当前页所选面确定,随面而变化";

CString CDlgPolyhedron::Title() const {
    return CString(m_building ? u"构建凸包" : u"凸包属性");
}

CString CDlgSplit::Title() const {
    return CString(m_building ? u"构建多面体切割图" : u"多面体切割图属性");
}

void CDlgSplit::PresetForBuilding(int selectedFaces) {
    m_building = true;
    if (selectedFaces <= 0)
        return;
    m_planeCount = std::min(selectedFaces, int(kMaxPlanes));
    m_note = kNoteSelectedFaces;
}

void CDlgSplit::PresetForProperties(bool planesFollowFaces) {
    m_building = false;
    m_planesFixed = planesFollowFaces;
    m_note = planesFollowFaces ? kNoteSelectedFaces : kNoteFixedPlanes;
}
