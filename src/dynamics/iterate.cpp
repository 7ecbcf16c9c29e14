// The iteration figure's depth and its suggested greatest depth.
#include "dynamics/iterate.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CGIterate, CGCell)

CGIterate::CGIterate() {
    m_name = u"迭代";
    m_color = {0, 0, 0, 255};
}

CString CGIterate::GetDescription() {
    CString text;
    text.Format(u"%d个对象的迭代图", m_itemCount);
    return text;
}

int CGIterate::DefaultDepth() const {
    const int objects = std::max<int>(1, int(m_chain.size()));
    if (m_branchCount <= 1)
        return std::min(32000 / objects, kMaxDepth);
    const double b = m_branchCount;
    const double depth = std::log((b - 1.0) * 32000.0 / (b * objects)) / std::log(b);
    // The depth is never beyond 1000, and the logarithm of a ratio below 1 is negative.
    return int(std::trunc(std::clamp(depth, -1.0, double(kMaxDepth))));
}

bool CGIterate::RaiseDepth() {
    if (m_depth >= kMaxDepth)
        return false;
    ++m_depth;
    return true;
}

bool CGIterate::LowerDepth() {
    if (m_depth <= 1)
        return false;
    --m_depth;
    return true;
}

void CGIterate::RemapIds(const CMap<WORD, WORD, WORD, WORD>& map) {
    for (WORD& id : m_chain) {
        WORD to = 0;
        if (map.Lookup(id, to))
            id = to;
    }
}
