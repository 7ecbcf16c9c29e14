// CBinTree, the formula document: the root of the layout tree, the default font and colours, the
// one-letter formula markup (reading and writing) and ".mtf" files.
#pragma once

#include "formula/node.h"

class CBoxNode;
class QImage;

// The markup of a formula without content.
constexpr const char16_t* HX_EMPTY_FORMULA = u"<#><l></l></#>";

class CBinTree : public CObject {
    DECLARE_DYNAMIC(CBinTree)
public:
    CBinTree();
    ~CBinTree() override;
    CBinTree(const CBinTree&) = delete;
    CBinTree& operator=(const CBinTree&) = delete;

    virtual void Clear();

    // Builds a tree from markup with this document's defaults; the document's root is not touched.
    // Null when the text is not markup.  Malformed markup stops the reading and keeps what was
    // built so far (IsLastParseComplete then reports false).
    CNode* ParseMarkup(const CString& markup);
    // Replaces the formula by the markup, normalised, in the default font, with the caret at the
    // end.  A text that gives no formula is refused: the document keeps its formula and FALSE
    // comes back, with the reason in GetLastError.
    BOOL SetMarkup(const CString& markup);
    // Wraps a root that is not a box into one; then normalises the tree.  FALSE without a root.
    BOOL NormalizeRoot();
    // Gives the root the default font fields it has no explicit values for, then passes the
    // fonts down the tree.
    void ApplyDefaultFont();
    void LayoutAll(CDC* dc);
    // Mode 0: the markup; 1: the markup of the selection; 2: the plain text; 3: the plain text of
    // the selection.  Without a root, modes 0 and 1 give the empty formula.
    CString& GetMarkup(CString& out, int mode);
    CString GetMarkup(int mode = 0) {
        CString s;
        return GetMarkup(s, mode);
    }
    BOOL IsEmpty() const;

    // ".mtf" files: the byte-order mark FF FE, then the markup in UTF-16LE.
    BOOL SaveMtf(const CString& path);
    // Loads a ".mtf" file.  A file that cannot be read, has no byte-order mark or holds no formula
    // is refused: FALSE, the formula unchanged, the reason in GetLastError.
    BOOL LoadMtf(const CString& path);
    static std::vector<BYTE> MtfBytes(const CString& markup);
    // The markup text of ".mtf" bytes; false without the byte-order mark.
    static bool MtfText(const std::vector<BYTE>& bytes, CString& markup);

    // Whether the last ParseMarkup read its text to the end without a problem.
    bool IsLastParseComplete() const { return m_parseComplete; }
    // Why the last SetMarkup, LoadMtf or SaveMtf failed (a message for the user), else empty.
    const CString& GetLastError() const { return m_lastError; }

    CBoxNode* GetRootBox() const;

    // Pictures of the formula (formula_render.cpp).  Each one lays the tree out again, except the
    // metafile and the selection picture, which draw the layout of the last display.
    // The formula on the document's background in its default font and colour; null without a
    // root, or when the picture would be too large to make.
    QImage RenderBitmap();
    // RenderBitmap as RGBA bytes, bottom row first; the background colour takes `alpha`, every
    // other pixel 255.  Empty without a picture.
    std::vector<BYTE> MakeTexture(int* width, int* height, BYTE alpha);
    // The colour of the root's only row when the root is a box of exactly one row, else the root's.
    COLORREF GetTextColor() const;
    // The formula in the root's font and colour on white as a ".bmp" file at screen depth.
    BOOL SaveBmp(const CString& path);
    // An enhanced metafile (".emf" bytes) of the whole formula or of its selection, described
    // "xxz"; empty without a root.
    std::vector<BYTE> MakeMetafile(bool selectionOnly);
    BOOL SaveEmf(const CString& path);
    // The selection as a picture on the document's background (what a copy offers besides its
    // markup); null when nothing is selected.
    QImage RenderSelectionPicture();

    CNode* m_pRoot = nullptr;
    CMap<CString, LPCWSTR, int, int&> m_stringMapA;
    CMap<CString, LPCWSTR, int, int&> m_stringMapB;
    LOGFONT m_defaultFont;
    COLORREF m_color = 0;
    COLORREF m_backColor = 0xFFFFFF;

private:
    void ReplaceRoot(CNode* root);

    bool m_parseComplete = true;
    CString m_lastError;
};

// Whether a text has the shape of formula markup: at least 7 characters, "<" first, ">" last and
// "</" four characters before the end.
bool HxIsFormulaMarkup(const CString& text);

// The markup re-written from its parsed tree in a document whose default face is "宋体"; a text
// that is not markup gives the empty formula.  Used to bring stored markup up to date.
CString NormalizeFormulaMarkup(const CString& markup);
CString ConvertFormulaMarkup(CString markup);

// Nesting deeper than this ends the reading (the tree read so far is kept).
constexpr int HX_MAX_MARKUP_DEPTH = 256;
