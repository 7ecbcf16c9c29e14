// The rules of the iteration dialogs and the trace dialog: the mappings of a new iteration, the
// properties applied to an iteration at once, and the trace's list of figures.
#include "dynamics/iterate_dialogs.h"

#include "dynamics/buttons.h"
#include "dynamics/iterate.h"
#include "dynamics/track.h"
#include "measure/text_items.h"
#include "model/cell_kinds.h"
#include "model/page.h"
#include "model/vertex.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CDlgIterate, CDialog)
IMPLEMENT_DYNAMIC(CDlgPropertyIterate, CDialog)
IMPLEMENT_DYNAMIC(CDlgTrack, CDialog)

const char16_t* const CDlgPropertyIterate::kDepthFromValueLabel = u"深度：（参数值）";
const char16_t* const CDlgTrack::kStepMessage = u"步长应大于0，且在参数范围内不超过100000步！";

namespace {

CString NameOf(WORD id) {
    const CGCell* cell = HxFindCell(id);
    return cell ? cell->m_name : CString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// 构造迭代

void CDlgIterate::Open(CGPage& page) {
    m_sources.clear();
    m_images.clear();
    std::vector<WORD> sources;
    for (WORD id : page.m_selPoints)
        sources.push_back(id);
    m_pointCount = int(sources.size());
    for (WORD id : page.m_selValues)
        sources.push_back(id);
    m_sourceCount = int(sources.size());
    for (WORD id : sources)
        m_sources.push_back({NameOf(id), id});

    // The points and values built on the sources, ascending; then the sources themselves, which a
    // mapping may keep where they are.
    for (WORD id : sources) {
        CGCell* cell = page.FindCell(id);
        if (cell && !cell->m_mark)
            cell->MarkDescendants();
    }
    std::vector<WORD> built;
    page.CollectMarkedIds(built);
    for (WORD id : built) {
        const CGCell* cell = page.FindCell(id);
        if (cell && (cell->IsKindOf(RUNTIME_CLASS(CGVertex)) || cell->IsKindOf(RUNTIME_CLASS(CGTmVariable))))
            m_images.push_back({cell->m_name, id});
    }
    for (WORD id : sources)
        m_images.push_back({NameOf(id), id});

    m_tuples.clear();
    m_tuples.push_back(sources);
    m_tuples.emplace_back(sources.size(), WORD(0));
    m_currentMapping = 0;
    m_currentSource = 0;
    m_imageChoice = -1;
    m_okEnabled = false;
}

std::vector<CString> CDlgIterate::TableLines(const std::vector<std::vector<WORD>>& tuples) {
    std::vector<CString> lines;
    if (tuples.empty())
        return lines;
    for (size_t s = 0; s < tuples[0].size(); ++s) {
        CString line = NameOf(tuples[0][s]);
        for (size_t m = 1; m < tuples.size(); ++m) {
            const WORD image = s < tuples[m].size() ? tuples[m][s] : WORD(0);
            line += image != 0 ? CString(u"=>") + NameOf(image) : CString(u"=> ");
        }
        lines.push_back(line);
    }
    return lines;
}

CString CDlgIterate::MappingName(int number) {
    CString name;
    name.Format(u"映射#%d", number);
    return name;
}

bool CDlgIterate::CurrentComplete() const {
    const size_t mapping = size_t(m_currentMapping) + 1;
    if (mapping >= m_tuples.size())
        return false;
    const std::vector<WORD>& images = m_tuples[mapping];
    return !images.empty() && std::all_of(images.begin(), images.end(), [](WORD id) { return id != 0; });
}

bool CDlgIterate::ChooseImage(int imageRow) {
    if (imageRow < 0 || imageRow >= int(m_images.size()) || m_currentSource < 0 ||
        m_currentSource >= m_sourceCount)
        return false;
    const size_t mapping = size_t(m_currentMapping) + 1;
    if (mapping >= m_tuples.size())
        return false;
    const WORD image = m_images[size_t(imageRow)].id;
    const CGCell* cell = HxFindCell(image);
    const bool isPoint = cell && cell->IsKindOf(RUNTIME_CLASS(CGVertex));
    const bool pointSource = m_currentSource < m_pointCount;
    if (pointSource != isPoint) {
        HxMessageBox(CString(pointSource ? u"点不能映射到值！" : u"值不能映射到点！"), CString(u"映射错误"),
                     MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_tuples[mapping][size_t(m_currentSource)] = image;
    m_currentSource = (m_currentSource + 1) % m_sourceCount;
    m_imageChoice = -1;
    if (CurrentComplete())
        m_okEnabled = true;
    return true;
}

bool CDlgIterate::AddMapping() {
    if (!m_okEnabled) {
        HxMessageBox(CString(u"当前映射未完成，不能添加！"), CString(u"添加新映射"), MB_OK);
        return false;
    }
    m_tuples.emplace_back(size_t(m_sourceCount), WORD(0));
    m_currentMapping = MappingCount() - 1;
    m_currentSource = 0;
    m_okEnabled = false;
    return true;
}

bool CDlgIterate::ChooseMapping(int index) {
    if (index < 0 || index >= MappingCount())
        return false;
    if (!m_okEnabled) {
        HxMessageBox(CString(u"当前映射未完成，不能切换！"), CString(u"修改映射"), MB_OK);
        return false;
    }
    m_currentMapping = index;
    m_currentSource = 0;
    return true;
}

bool CDlgIterate::DeleteMapping() {
    if (MappingCount() <= 1) {
        HxMessageBox(CString(u"只有一个映射，不能删除！"), CString(u"删除映射"), MB_OK);
        return false;
    }
    m_tuples.erase(m_tuples.begin() + std::ptrdiff_t(m_currentMapping) + 1);
    m_currentMapping = 0;
    m_currentSource = 0;
    // Every mapping left is complete: only the newest can be incomplete, and it is left only by
    // completing or deleting it.
    m_okEnabled = true;
    return true;
}

// ---------------------------------------------------------------------------------------------
// 迭代属性

void CDlgPropertyIterate::Open() {
    CGIterate* it = m_pIterate;
    if (!it)
        return;
    m_label = it->m_name;
    m_depth = it->m_depth >= 0 && it->m_depth <= CGIterate::kMaxDepth ? it->m_depth : 0;
    m_depthFromValue = it->DepthFromValue();
    m_colorMode = it->m_style;
    m_showTable = it->m_showTable != 0;
    m_showFull = it->m_showFull != 0;
    m_solidOnly = it->m_solidOnly != 0;
    m_rows.clear();
    for (WORD id : it->IterableCells())
        m_rows.push_back({NameOf(id), id, it->IsCreated(id)});
    m_rules = CDlgIterate::TableLines(it->m_idSets);
    m_changed = false;
}

void CDlgPropertyIterate::Changed() {
    m_changed = true;
    if (m_onChanged)
        m_onChanged();
}

void CDlgPropertyIterate::SetChecked(int row, bool checked) {
    if (!m_pIterate || row < 0 || row >= int(m_rows.size()))
        return;
    m_rows[size_t(row)].checked = checked;
    m_pIterate->SetCreated(m_rows[size_t(row)].id, checked);
    Changed();
}

void CDlgPropertyIterate::SetShowTable(bool show) {
    if (!m_pIterate)
        return;
    m_pIterate->SetShowTable(show);
    m_showTable = show;
    if (show)
        m_solidOnly = false;
    Changed();
}

void CDlgPropertyIterate::SetSolidOnly(bool solidOnly) {
    if (!m_pIterate)
        return;
    m_pIterate->SetSolidOnly(solidOnly);
    m_solidOnly = solidOnly;
    if (solidOnly)
        m_showTable = false;
    Changed();
}

void CDlgPropertyIterate::SetShowFull(bool show) {
    if (!m_pIterate)
        return;
    m_pIterate->m_showFull = show ? 1 : 0;
    m_showFull = show;
    Changed();
}

void CDlgPropertyIterate::SetColorMode(int mode) {
    if (!m_pIterate || mode < 0 || mode > 2)
        return;
    m_pIterate->m_style = BYTE(mode);
    m_colorMode = mode;
    Changed();
}

void CDlgPropertyIterate::SetLabel(const CString& label) {
    if (!m_pIterate)
        return;
    m_label = label;
    m_pIterate->m_name = label;
    m_pIterate->m_nameFixed = true;
    m_pIterate->m_flag2 = true;
    Changed();
}

int CDlgPropertyIterate::SuggestedDepth() const {
    if (!m_pIterate)
        return CGIterate::kMaxDepth;
    return CGIterate::SuggestedDepth(m_pIterate->m_branchCount, m_pIterate->m_itemCount);
}

bool CDlgPropertyIterate::SetDepth(int depth) {
    if (!m_pIterate || depth < 0 || depth > CGIterate::kMaxDepth)
        return false;
    const int suggestion = SuggestedDepth();
    if (depth > suggestion) {
        CString text;
        text.Format(u"建议输入1-%d的整数，否则可能运行缓慢！", suggestion);
        HxMessageBox(text, CString(u"迭代深度"), MB_OK | MB_ICONINFORMATION);
    }
    m_depth = depth;
    m_pIterate->SetDepth(depth);
    Changed();
    return true;
}

// ---------------------------------------------------------------------------------------------
// 形迹属性

void CDlgTrack::BuildList() {
    m_entries.clear();
    m_flags.resize(m_ids.size(), 0);
    if (m_ids.empty())
        return;
    auto entryText = [](CGCell* cell) {
        CString text = cell->m_name;
        text += u"  ";
        text += cell->GetDescription();
        return text;
    };
    if (CGCell* driver = HxFindCell(m_ids[0]); driver && driver->IsKindOf(RUNTIME_CLASS(CGVertex)))
        m_entries.push_back({entryText(driver), 0});
    for (size_t i = m_dynamic ? 3 : 1; i < m_ids.size(); ++i) {
        CGCell* cell = HxFindCell(m_ids[i]);
        if (!cell || cell->IsKindOf(RUNTIME_CLASS(CGTextmap)) || cell->IsKindOf(RUNTIME_CLASS(CGTextbit)) ||
            cell->IsKindOf(RUNTIME_CLASS(CGButton)) || HxIsOfClassNamed(cell, "CGModifier"))
            continue;
        m_entries.push_back({entryText(cell), int(i)});
    }
    if (m_newTrace) {
        for (const CEntry& entry : m_entries)
            m_flags[size_t(entry.index)] = 1;
    }
}

void CDlgTrack::SetTraced(int row, bool traced) {
    if (row < 0 || row >= int(m_entries.size()))
        return;
    const size_t index = size_t(m_entries[size_t(row)].index);
    if (index < m_flags.size())
        m_flags[index] = traced ? 1 : 0;
}

bool CDlgTrack::IsTraced(int row) const {
    if (row < 0 || row >= int(m_entries.size()))
        return false;
    const size_t index = size_t(m_entries[size_t(row)].index);
    return index < m_flags.size() && m_flags[index] == 1;
}

bool CDlgTrack::StepAcceptable(float start, float end, float step) {
    if (!(step > 0.0f) || !std::isfinite(step) || !std::isfinite(start) || !std::isfinite(end))
        return false;
    return std::fabs(double(end) - double(start)) / double(step) <= double(CGTrack::kMaxSteps);
}
