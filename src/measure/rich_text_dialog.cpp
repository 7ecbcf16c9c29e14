// The fields of the rich-text editor: the document it opens with and what OK takes from it.
#include "measure/rich_text_dialog.h"

#include "measure/rich_text.h"
#include "measure/rich_text_format.h"

#include <QTextCursor>

#include <algorithm>

const char16_t* const g_rtNoEquationMessage = u"您未安装公式编辑器Equation3 ";
const char16_t* const g_rtInsertObjectMessage = u"插入OLE对象出错！";
const char16_t* const g_rtEmptyMessage = u"还未输入文本，请按关闭按钮！";
const char16_t* const g_rtTooLongMessage =
    u"文本太长（超过32767个字符），不能在编辑器中打开，原文本保持不变！";
const char16_t* const g_rtPasteTooLongMessage = u"粘贴的内容太长，文本不能超过32767个字符！";

IMPLEMENT_DYNAMIC(CDlgRtEdit, CDialog)

QTextCharFormat CDlgRtEdit::DefaultCharFormat() {
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setFontPointSize(26.0);
    f.setFontFamilies({QStringLiteral("宋体")});
    f.setProperty(HxRtf::kFontCharset, 134);
    return f;
}

bool CDlgRtEdit::LoadDocument(QTextDocument& doc, bool* tooLong) const {
    doc.clear();
    HxInstallRichObjectHandler(doc);
    if (tooLong)
        *tooLong = false;
    if (m_plainText) {
        if (m_rtf.GetLength() > kMaxTextLength) {
            if (tooLong)
                *tooLong = true;
            return false;
        }
        QTextCharFormat f;
        f.setFontFamilies({m_plainFace.ToQString()});
        f.setFontPointSize(std::max(m_plainTwips, 20) / 20.0);
        QTextCursor(&doc).insertText(m_rtf.ToQString(), f);
        return true;
    }
    if (m_rtf.IsEmpty())
        return true;
    return HxRtfToDocument(UnpackRtfBytes(m_rtf), doc, nullptr, kMaxTextLength, tooLong);
}

bool CDlgRtEdit::PasteRichText(const QTextDocument& pasted, int width, int height, HxLayoutBudget* budget) {
    m_picture.clear();
    m_pictureWidth = 0;
    m_pictureHeight = 0;
    if (HxRichPlainText(pasted).trimmed().isEmpty())
        return false;
    return TakeDocument(pasted, width, height, budget);
}

bool CDlgRtEdit::TakeDocument(const QTextDocument& doc, int width, int height, HxLayoutBudget* budget) {
    if (doc.toPlainText().isEmpty()) {
        AfxMessageBox(g_rtEmptyMessage, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_rtf = PackRtfBytes(HxDocumentToRtf(doc));
    m_plainText = 0;
    m_name = HxRichTextShortName(HxRichPlainText(doc));
    m_picture = HxRenderRichText(doc, width, height, &m_pictureWidth, &m_pictureHeight, budget);
    m_editorWidth = m_pictureWidth;
    m_editorHeight = m_pictureHeight;
    return true;
}
