// CDlgRtEdit ("RTF单色普通文本编辑", dialog 240): the fields of the rich-text editor that callers
// set and read, and what opening and OK make of them; the window is in the application.
#pragma once

#include "platform/afx.h"

#include <QTextDocument>
#include <QTextFormat>

#include <vector>

struct HxLayoutBudget;

class CDlgRtEdit : public CDialog {
    DECLARE_DYNAMIC(CDlgRtEdit)
public:
    static constexpr UINT IDD = 240;
    CDlgRtEdit() : CDialog(IDD) {}

    // The default character format of new text: bold, 26 points, "宋体" in GB2312.
    static QTextCharFormat DefaultCharFormat();

    // The most characters the editor holds (paragraph ends and objects one each): a text far longer
    // would keep the editor busy laying it out.
    static constexpr int kMaxTextLength = 32767;

    // The document the editor opens with: the plain text in its face and size in plain-text mode,
    // else the item's RTF (none for a new item).  False when the stored RTF cannot be read or its
    // text is longer than kMaxTextLength (`tooLong` then set); the document is then empty.
    bool LoadDocument(QTextDocument& doc, bool* tooLong = nullptr) const;
    // OK: with no text in the document, "还未输入文本，请按关闭按钮！" and false (the dialog stays
    // open); else the RTF, the name and the picture of the formatting rectangle (width x height
    // pixels, laid out within `budget` when one is given) are taken into the fields and true is
    // returned.
    bool TakeDocument(const QTextDocument& doc, int width, int height, HxLayoutBudget* budget = nullptr);
    // The editor's paste without the window (the slide import): `pasted` replaces the content; with
    // no text in it, false and no picture; else OK's RTF, name and picture of width x height pixels,
    // laid out within `budget` when one is given (HxRenderRichText).
    bool PasteRichText(const QTextDocument& pasted, int width, int height, HxLayoutBudget* budget = nullptr);

    CString m_name = u"Text";    // out: the plain text, shortened beyond five characters
    CString m_rtf;               // in and out: the RTF bytes packed two a unit (PackRtfBytes)
    std::vector<BYTE> m_picture; // out: one bit a pixel, rows of ((w + 31) / 32) x 4 bytes, bottom-up
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    int m_editorWidth = 584; // out: the formatting rectangle the picture was made of
    int m_editorHeight = 135;
    BYTE m_plainText = 0; // in: m_rtf holds plain text (not packed), shown in the face and size below
    CString m_plainFace;
    int m_plainTwips = 0;
};

// The rich-text item command ("插入文本", "构造(&C)/文本(&T)/添加单色普通文本(&B)") comes with the
// bitmap text items.  It runs CDlgRtEdit (DoModal; the application presents the editor) and on IDOK
// makes a CGTextbit (or, with a point selected, a CGTbHenchman) of m_pictureWidth x m_pictureHeight
// from m_picture, of kind 1, named m_name, with m_rtf as its rich-text string exactly as given (the
// packed bytes) and m_editorWidth, m_editorHeight as its two size floats; the properties command
// of such an item sets m_rtf from that string before DoModal.  Until then no handler exists.
constexpr UINT ID_CREATE_TEXT2 = 33159;

// What the editor's commands say about what cannot be built here: the formula server and OLE
// objects.
extern const char16_t* const g_rtNoEquationMessage;   // "您未安装公式编辑器Equation3 "
extern const char16_t* const g_rtInsertObjectMessage; // "插入OLE对象出错！"
extern const char16_t* const g_rtEmptyMessage;
// A stored text longer than the editor holds, and a paste that would make it so.
extern const char16_t* const g_rtTooLongMessage; // "文本太长（超过32767个字符），..."
extern const char16_t* const g_rtPasteTooLongMessage; // "粘贴的内容太长，文本不能超过32767个字符！"        //
                                                      // "还未输入文本，请按关闭按钮！"
