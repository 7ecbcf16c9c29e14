// The fields of the rich-text editor: the document it opens with and what OK takes from it.
#include "measure/rich_text_dialog.h"

#include "measure/rich_text.h"
#include "measure/rich_text_format.h"

#include <QTextCursor>

#include <algorithm>

const char16_t* const g_rtNoEquationMessage = u"您未安装公式编辑器Equation3 ";
const char16_t* const g_rtInsertObjectMessage = u"插入OLE对象出错！";
const char16_t* const g_rtEmptyMessage = u"还未输入文本，请按关闭按钮！";

IMPLEMENT_DYNAMIC(CDlgRtEdit, CDialog)

QTextCharFormat CDlgRtEdit::DefaultCharFormat() {
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setFontPointSize(26.0);
    f.setFontFamilies({QStringLiteral("宋体")});
    f.setProperty(HxRtf::kFontCharset, 134);
    return f;
}

bool CDlgRtEdit::LoadDocument(QTextDocument& doc) const {
    doc.clear();
    HxInstallRichObjectHandler(doc);
    if (m_plainText) {
        QTextCharFormat f;
        f.setFontFamilies({m_plainFace.ToQString()});
        f.setFontPointSize(std::max(m_plainTwips, 20) / 20.0);
        QTextCursor(&doc).insertText(m_rtf.ToQString(), f);
        return true;
    }
    if (m_rtf.IsEmpty())
        return true;
    return HxRtfToDocument(UnpackRtfBytes(m_rtf), doc);
}

bool CDlgRtEdit::PasteRichText(const QTextDocument& pasted, int width, int height) {
    m_picture.clear();
    m_pictureWidth = 0;
    m_pictureHeight = 0;
    if (HxRichPlainText(pasted).trimmed().isEmpty())
        return false;
    return TakeDocument(pasted, width, height);
}

bool CDlgRtEdit::TakeDocument(const QTextDocument& doc, int width, int height) {
    if (doc.toPlainText().isEmpty()) {
        AfxMessageBox(g_rtEmptyMessage, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_rtf = PackRtfBytes(HxDocumentToRtf(doc));
    m_plainText = 0;
    m_name = HxRichTextShortName(HxRichPlainText(doc));
    m_picture = HxRenderRichText(doc, width, height, &m_pictureWidth, &m_pictureHeight);
    m_editorWidth = m_pictureWidth;
    m_editorHeight = m_pictureHeight;
    return true;
}
