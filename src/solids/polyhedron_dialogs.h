// The fields of the hull, net and cut property dialogs: what their openers preset and read back after
// OK.  The windows show them through their presenters.
#pragma once

#include "platform/afx.h"

// Controls the three dialogs share.
struct CPolyhedronDialogIds {
    static constexpr int kLabelEdit = 1002;   // "标签："
    static constexpr int kHiddenCheck = 1003; // "隐藏对象"
    static constexpr int kStyleRadio = 1007;  // "显示方式": "自动虚实", "仅实线", "光照处理"
};

// "凸包属性": a hull built from a vertex set, or the properties of one.
class CDlgPolyhedron : public CDialog, public CPolyhedronDialogIds {
    DECLARE_DYNAMIC(CDlgPolyhedron)
public:
    enum { IDD = 352 };
    static constexpr int kVertexSetList = 1015; // "顶点集："

    CDlgPolyhedron() : CDialog(IDD) {}
    // "构建凸包" while building (the vertex set can be chosen), else "凸包属性".
    CString Title() const;

    CString m_label = u"多面体";
    int m_vertexSet = 0; // an item of g_hullPresetNames
    int m_style = 0;
    BOOL m_hidden = FALSE;
    bool m_building = true;
};

// "多面体表面展开与折叠属性": the net's style and how it unfolds.
class CDlgFold : public CDialog, public CPolyhedronDialogIds {
    DECLARE_DYNAMIC(CDlgFold)
public:
    enum { IDD = 353 };
    static constexpr int kUnfoldRadio = 1008; // "展开方式": "同时展开" 0, "分级展开" 1

    CDlgFold() : CDialog(IDD) {}
    static CString Title() { return CString(u"多面体表面展开与折叠属性"); }

    int m_style = 2;
    int m_unfoldMode = 1;
    CString m_label = u"展开图";
    BOOL m_hidden = FALSE;
};

// "多面体切割图属性": the number of cutting planes (1 to 10), where they come from, and how far the
// pieces move apart.
class CDlgSplit : public CDialog, public CPolyhedronDialogIds {
    DECLARE_DYNAMIC(CDlgSplit)
public:
    enum { IDD = 354 };
    static constexpr int kCountEdit = 1000; // "切割面个数(1-10):"
    static constexpr int kNoteEdit = 1001;  // read-only
    static constexpr int kShiftEdit = 1004; // "切割后平移量:"
    static constexpr int kMinPlanes = 1;
    static constexpr int kMaxPlanes = 10;
    static const char16_t* const kNoteFixedPlanes;   // the program's fixed planes
    static const char16_t* const kNoteSelectedFaces; // planes that follow the selected faces

    CDlgSplit() : CDialog(IDD) {}
    // "构建多面体切割图" while building, else "多面体切割图属性".
    CString Title() const;
    // The count can be typed while building, and afterwards unless the selection fixed the planes.
    bool CountEditable() const { return m_building || !m_planesFixed; }
    // Opened to build a cut: with faces selected, their number (at most 10) and the note about them.
    void PresetForBuilding(int selectedFaces);
    // Opened on a cut: one whose planes follow faces shows the note and keeps its count.
    void PresetForProperties(bool planesFollowFaces);

    int m_planeCount = 3;
    CString m_note = kNoteFixedPlanes;
    CString m_label = u"多面体切割图";
    int m_style = 0;
    BOOL m_hidden = FALSE;
    double m_shift = 2.0;
    bool m_building = true;
    bool m_planesFixed = false;
};
