// Rich-text items: the bitmap text items made from the rich-text editor's result, with their RTF
// kept in the item's m_text1 (the bytes packed two a unit and ended by a zero, PackRtfBytes), and
// the editing of such items and of single-line texts through the properties command, one undo step.
#pragma once

#include "document/cmd_processor.h"
#include "platform/afx.h"

#include <memory>
#include <vector>

class CDlgRtEdit;
class CGCell;
class CGPage;
class CGTextbit;

// The kind byte of a text item typed in the rich-text editor.
constexpr BYTE kRichTextKind = 1;

extern const char16_t* const g_undoInsertRichText; // "插入文本"
extern const char16_t* const g_undoEditRichText;   // "修改文本"

// The editor's result written into an item: picture and its size, name, kind 1, the packed RTF in
// m_text1 and the formatting rectangle's width and height in m_param2 and m_param3.
void HxTakeRichText(CGTextbit& item, const CDlgRtEdit& dlg);
// The editor's inputs for an existing item: the RTF of a rich-text item, or the text of a
// single-line text shown in "Times New Roman" at 15 points (plain-text mode).
void HxOpenRichText(const CGCell& cell, CDlgRtEdit& dlg);
// Whether the properties command edits the cell in the rich-text editor: a single-line text, or a
// bitmap text of kind 1 to 3 (neither a picture nor a formula text).
bool HxIsRichTextCell(const CGCell* cell);
// The properties edit of such a cell on the page: the editor opens on its rich text; on OK with a
// picture the item takes the result (a single-line text is replaced by a rich-text item with its
// id, place, colours and links) and one undo step "修改文本" is recorded.  False when cancelled,
// when the editor made no picture, or for a cell of another kind.
bool HxEditRichText(CGPage& page, CGCell& cell);

// The edit of one text item.  It holds the version of the item that is not in the page: either the
// fields the editor changes (an item edited in place) or a whole cell (a single-line text that a
// rich-text item replaced); undo and redo exchange it with the page's.
class CCmdEditRichText : public CCmd {
    DECLARE_DYNAMIC(CCmdEditRichText)
public:
    struct CState {
        CString m_name;
        CString m_rtf;
        int m_width = 0;
        int m_height = 0;
        std::vector<BYTE> m_bits;
        float m_sizeX = 0.0f;
        float m_sizeY = 0.0f;
        BYTE m_kind = 0;
    };
    // The fields of `item` before the edit.
    CCmdEditRichText(WORD id, CState before, const CString& name);
    // The cell that `after` replaced in the page (owned from now on).
    CCmdEditRichText(std::unique_ptr<CGCell> replaced, const CString& name);
    BOOL Undo() override { return Exchange(); }
    BOOL Redo() override { return Exchange(); }

    static CState StateOf(const CGTextbit& item);

    WORD m_id;
    CState m_state;
    std::unique_ptr<CGCell> m_replaced;

private:
    BOOL Exchange();
};
