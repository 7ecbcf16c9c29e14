// CStandardNode and the structures built on it: fractions, roots, scripts, big operators, limits,
// fences, vector marks and arrows.  Each has two slots, normally boxes, whose fonts are scaled.
#pragma once

#include "formula/node.h"

// The Symbol font's characters as documents keep them (the font's code + 0xF000).
constexpr char16_t SYM_SUM = 0xF0E5;
constexpr char16_t SYM_PRODUCT = 0xF0D5;
constexpr char16_t SYM_INTEGRAL = 0xF0F2;
constexpr char16_t SYM_RADICAL = 0xF0D6;
constexpr char16_t SYM_PAREN_L = 0xF028, SYM_PAREN_R = 0xF029;
constexpr char16_t SYM_BRACKET_L = 0xF05B, SYM_BRACKET_R = 0xF05D;
constexpr char16_t SYM_BRACE_L = 0xF07B, SYM_BRACE_R = 0xF07D;
constexpr char16_t SYM_ANGLE_L = 0xF0E1, SYM_ANGLE_R = 0xF0F1;
constexpr char16_t SYM_BAR = 0xF07C;
constexpr char16_t SYM_LESS = 0xF03C, SYM_GREATER = 0xF03E;

// The font template every structure drawing with the Symbol font starts from (each drawing writes
// its own height and width into it first).
LOGFONT& HxSymbolFontTemplate();

class CStandardNode : public CNode {
    DECLARE_DYNAMIC(CStandardNode)
public:
    // Both slots empty: the markup reader fills them with InsertChild.
    CStandardNode();
    // `content` normalised into a box; selector 0: into the first slot (active); 1: into the second
    // (active); 2: into the first, a new empty box into the second, the second active when content
    // was given, else the first.
    CStandardNode(CNode* parent, int selector, CNode* content);
    ~CStandardNode() override;

    void Layout(CDC* dc) override;
    void Offset(int x, int y) override;
    void Draw(CDC* dc) override;
    void DrawSelection(CDC* dc) override;
    BOOL InsertChild(CNode* node, int which) override;
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    void InheritFont() override;
    void SetFontAttribute(COLORREF color, const LOGFONT* font, bool selectionOnly, int which) override;
    BOOL SetCaretFromPoint(int x, int y) override;
    void CaretToStart() override;
    void CaretToEnd() override;
    void AddSelectionRegion(CPoint* lineStart, CPoint* lineEnd, CPoint* caretTop, CPoint* caretBottom,
                            CRgn* region, COLORREF* color, LOGFONT* font, int* mode) override;
    int ExtendSelectionToPoint(int x, int y) override;
    void InsertText(const CString& text) override;
    bool HandleKey(int code) override;
    BOOL SaveCaretPath(CCaretPath& path) override;
    BOOL RestoreCaretPath(const CCaretPath& path, int& pos) override;
    BOOL NormalizeTree() override;
    CNode* GetFirstChild() override;

    CNode* GetSlot(int i) const { return i == 0 ? m_pFirst : (i == 1 ? m_pSecond : nullptr); }
    // Makes slot i (0 or 1) the one holding the caret.
    void SetActiveSlot(int i);

    CNode* m_pFirst = nullptr;
    CNode* m_pSecond = nullptr;
    float m_firstScale = 1.0f;
    float m_secondScale = 1.0f;

protected:
    // The slots' plain texts (empty for an absent slot).
    CString SlotText(int i) const;
    // The node's element: its tag, attributes, slots and own text (see HxWriteElementText).
    void WriteElement(CString& out, bool escapeAngles);
    // Lays out the slots that are present (within the caller's font scope).
    void LayoutSlots(CDC* dc);
    // Moves a laid-out slot so that its box starts at (x, y) in this node's coordinates.
    static void PlaceSlot(CNode* slot, int x, int y);
    void SetSlotsFromContent(int selector, CNode* content);
};

// The box every slot is normalised into: a box as it is, a row or run wrapped into a box, anything
// else (or nothing) replaced by a box with one empty row.
CNode* HxMakeSlotBox(CNode* content, CNode* parent);

class CDivisionNode : public CStandardNode {
    DECLARE_DYNAMIC(CDivisionNode)
public:
    CDivisionNode();
    CDivisionNode(CNode* parent, CNode* content);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    void GetText(CString& out, bool selectionOnly) override;
};

class CNthRootNode : public CStandardNode {
    DECLARE_DYNAMIC(CNthRootNode)
public:
    CNthRootNode();
    // With flag 2 only the radicand is filled; otherwise radicand and an empty index.
    CNthRootNode(CNode* parent, CNode* content, int flag);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    void GetText(CString& out, bool selectionOnly) override;
};

class CSqrtNode : public CNthRootNode {
    DECLARE_DYNAMIC(CSqrtNode)
public:
    CSqrtNode();
    CSqrtNode(CNode* parent, CNode* content);
    void GetText(CString& out, bool selectionOnly) override;
};

class CSupNode : public CStandardNode {
    DECLARE_DYNAMIC(CSupNode)
public:
    CSupNode();
    CSupNode(CNode* parent, CNode* content);
    void Layout(CDC* dc) override;
};

class CSubNode : public CStandardNode {
    DECLARE_DYNAMIC(CSubNode)
public:
    CSubNode();
    CSubNode(CNode* parent, CNode* content);
    void Layout(CDC* dc) override;
};

// Sub- and superscript together, set against the first slot of its parent (the base).
class CSupbNode : public CStandardNode {
    DECLARE_DYNAMIC(CSupbNode)
public:
    CSupbNode();
    explicit CSupbNode(CNode* parent);
    void Layout(CDC* dc) override;
};

class CSumNode : public CStandardNode {
    DECLARE_DYNAMIC(CSumNode)
public:
    CSumNode();
    CSumNode(CNode* parent, char16_t sign);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    void GetText(CString& out, bool selectionOnly) override;
};

class CIntegralNode : public CStandardNode {
    DECLARE_DYNAMIC(CIntegralNode)
public:
    CIntegralNode();
    explicit CIntegralNode(CNode* parent);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    void GetText(CString& out, bool selectionOnly) override;
};

class CLimNode : public CStandardNode {
    DECLARE_DYNAMIC(CLimNode)
public:
    CLimNode();
    void Layout(CDC* dc) override;
    void GetText(CString& out, bool selectionOnly) override;
};

class CBraceNode : public CStandardNode {
    DECLARE_DYNAMIC(CBraceNode)
public:
    CBraceNode();
    CBraceNode(CNode* parent, CNode* content, const CString& pair);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    void GetMarkup(CString& out, bool selectionOnly) override;
    void GetText(CString& out, bool selectionOnly) override;
    // Steps the fence pair through the editor's list of pairs (wrapping at both ends).
    void CycleFence(int step);
    // The left and right fence (a space: no fence on that side).
    char16_t LeftFence() const;
    char16_t RightFence() const;
};

class CVectorNode : public CStandardNode {
    DECLARE_DYNAMIC(CVectorNode)
public:
    CVectorNode();
    CVectorNode(CNode* parent, CNode* content, int type);
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
};

class CArrowsNode : public CStandardNode {
    DECLARE_DYNAMIC(CArrowsNode)
public:
    CArrowsNode();
    void Layout(CDC* dc) override;
    void DrawContent(CDC* dc) override;
    // Steps the arrow style through 0..13 (wrapping at both ends).
    void CycleStyle(int step);
};

// The editor's fence pairs: 36 combinations of the left fences ( [ { angle | none with the right
// fences ) ] } angle | none (index = 6 x right + left), then < >, < alone and > alone.
constexpr int HX_FENCE_PAIR_COUNT = 39;
CString HxFencePair(int index);
// The index of a pair in the list, or -1.
int HxFencePairIndex(const CString& pair);
