// The fields and rules of the iteration dialogs and the trace dialog: building the mappings of a new
// iteration ("构造迭代"), the properties of an iteration applied while the dialog is open ("迭代属性"),
// and the figures and range of a trace of figures ("形迹属性").  The windows show them through their
// presenters; the rules live here so that they run without a window.
#pragma once

#include "platform/afx.h"

#include <functional>
#include <vector>

class CGIterate;
class CGPage;

// "构造迭代": the sources are the selected points and then the selected values; each mapping gives
// every source an image (a point for a point, a value for a value).
class CDlgIterate : public CDialog {
    DECLARE_DYNAMIC(CDlgIterate)
public:
    enum { IDD = 215 };
    static constexpr int kMappingList = 1023;
    static constexpr int kSourceList = 1015;
    static constexpr int kImageList = 1019;
    static constexpr int kTable = 1115;
    static constexpr int kDepthEdit = 1000;
    static constexpr int kDepthSpin = 1117;
    static constexpr int kAddMapping = 1027;
    static constexpr int kDeleteMapping = 1030;

    struct CEntry {
        CString name;
        WORD id = 0;
    };

    CDlgIterate() : CDialog(IDD) {}

    // The sources from the page's selection, the candidate images (the points and values built on the
    // sources, then the selected points and values themselves), one empty mapping "映射#1".
    void Open(CGPage& page);

    // The table: a line per source, its name and then, per mapping, "=>" and the image's name ("=> "
    // while there is none yet).
    static std::vector<CString> TableLines(const std::vector<std::vector<WORD>>& tuples);
    std::vector<CString> TableLines() const { return TableLines(m_tuples); }
    // "映射#%d".
    static CString MappingName(int number);

    // The chosen source takes the image of that row of the image list: refused with a message when a
    // point would go to a value or a value to a point.  Then the next source is chosen (the first
    // after the last) and OK is enabled once the mapping is complete.
    bool ChooseImage(int imageRow);
    // "增加映射": a new empty mapping, made current; refused while the current one is incomplete.
    bool AddMapping();
    // Another mapping (0 for the first) made current; refused while the current one is incomplete.
    bool ChooseMapping(int index);
    // "删除映射": the current mapping removed and the first one made current; refused when it is the
    // only one.
    bool DeleteMapping();

    int MappingCount() const { return int(m_tuples.size()) - 1; }
    bool CurrentComplete() const;

    int m_sourceCount = 0; // N
    int m_pointCount = 0;  // P: the first P sources are points
    std::vector<CEntry> m_sources;
    std::vector<CEntry> m_images;
    // m_tuples[0]: the sources; then one array per mapping, 0 where no image is chosen yet.
    std::vector<std::vector<WORD>> m_tuples;
    int m_currentMapping = 0; // 0 for the first mapping (m_tuples[1])
    int m_currentSource = 0;  // the chosen row of the source list
    int m_imageChoice = -1;   // the chosen row of the image list, -1 for none
    bool m_okEnabled = false;
    int m_depth = 3; // 0 to 1000
};

// "迭代属性": every change goes into the iteration at once and the view is asked to repaint.
class CDlgPropertyIterate : public CDialog {
    DECLARE_DYNAMIC(CDlgPropertyIterate)
public:
    enum { IDD = 218 };
    static constexpr int kLabel = 1001;
    static constexpr int kCreatedList = 1115;
    static constexpr int kRules = 1116;
    static constexpr int kShowTable = 1003;
    static constexpr int kShowFull = 1005;
    static constexpr int kSolidOnly = 1008;
    static constexpr int kColorMode = 1007;
    static constexpr int kDepthEdit = 1000;
    static constexpr int kDepthLabel = 1185;
    static const char16_t* const kDepthFromValueLabel; // "深度：（参数值）"

    struct CRow {
        CString name;
        WORD id = 0;
        bool checked = false;
    };

    CDlgPropertyIterate() : CDialog(IDD) {}

    // The fields from the iteration (which must be set).
    void Open();
    // The changes, each applied at once.
    void SetChecked(int row, bool checked);
    void SetShowTable(bool show);
    void SetShowFull(bool show);
    void SetSolidOnly(bool solidOnly);
    void SetColorMode(int mode);
    void SetLabel(const CString& label);
    // Stores the depth (within 0..1000); one above the suggestion is stored after the suggestion's
    // message.  False for a depth outside 0..1000, which changes nothing.
    bool SetDepth(int depth);
    // The greatest depth suggested for the iteration's mappings and sources.
    int SuggestedDepth() const;

    CGIterate* m_pIterate = nullptr;   // set by the opener, not owned
    std::function<void()> m_onChanged; // the opener's repaint
    CString m_label;
    int m_depth = 1;
    bool m_depthFromValue = false; // the depth edit is read-only
    int m_colorMode = 0;
    bool m_showTable = false;
    bool m_showFull = false;
    bool m_solidOnly = false;
    std::vector<CRow> m_rows;
    std::vector<CString> m_rules;
    bool m_changed = false; // something was applied

private:
    void Changed();
};

// "形迹属性" ("构建图形轨迹" while a new trace is made): the candidates are the trace's parents in
// order (the driver, the two range values with the dynamic range, the figures); the list offers the
// driver when it is a point and the figures that can be drawn, each traced while selected.
class CDlgTrack : public CDialog {
    DECLARE_DYNAMIC(CDlgTrack)
public:
    enum { IDD = 281 };
    static constexpr int kList = 1115;
    static constexpr int kStart = 1000;
    static constexpr int kEnd = 1001;
    static constexpr int kStep = 1002;
    static constexpr int kDynamic = 1003;
    static constexpr int kOwnColors = 1007;
    static constexpr int kTraceColor = 1010;
    static constexpr int kSolidMode = 1055;
    static constexpr int kAutoDashed = 1060;
    static constexpr int kShowAll = 1063;
    static const char16_t* const kStepMessage;

    struct CEntry {
        CString text;
        int index = 0; // the candidate's place
    };

    CDlgTrack() : CDialog(IDD) {}

    // The list from the candidates; for a new trace every listed candidate starts traced.
    void BuildList();
    CString Title() const { return CString(m_newTrace ? u"构建图形轨迹" : u"形迹属性"); }
    // A list row selected (traced) or not.
    void SetTraced(int row, bool traced);
    bool IsTraced(int row) const;
    // A step a sweep can take over the range: above 0, and not so small that it would take more
    // steps than a trace draws.
    static bool StepAcceptable(float start, float end, float step);

    std::vector<WORD> m_ids;   // the candidates
    std::vector<WORD> m_flags; // one per candidate: 1 traced
    float m_start = 0.0f;
    float m_end = 1.0f;
    float m_step = 0.02f;
    bool m_dynamic = false; // shown only
    int m_colorMode = 0;
    int m_displayMode = 0;
    bool m_newTrace = false;
    std::vector<CEntry> m_entries;
};
