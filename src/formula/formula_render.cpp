// Pictures of formulas: bitmaps laid out in a painter DC, RGBA textures, one-bit pictures, ".bmp"
// files, and enhanced metafiles drawn from the layout of the last display.
#include "formula/formula_render.h"

#include "formula/box_node.h"
#include "formula/row_node.h"
#include "platform/bitmap_bits.h"
#include "platform/dc_emf.h"
#include "platform/dc_painter.h"
#include "platform/file.h"

#include <QImage>

#include <cstdlib>

namespace {

// The DC state a rendering starts from: a solid pen of `penWidth` and the text in `color`, the
// font, a transparent background.
void PrepareDC(CDC& dc, const LOGFONT& font, COLORREF color, int penWidth) {
    dc.SetBkMode(TRANSPARENT);
    dc.SelectPen(HxPen{PS_SOLID, penWidth, color});
    dc.SetTextColor(color);
    dc.SelectFont(font);
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Lays the tree out in a painter DC with the given state and draws it on a picture of its box
// filled with `background`; null when the box is empty or too large.
QImage RenderTree(CBinTree& doc, const LOGFONT& font, COLORREF color, int penWidth, COLORREF background) {
    if (!doc.m_pRoot)
        return QImage();
    QImage probe(1, 1, QImage::Format_RGB32);
    {
        CPainterDC dc(&probe);
        PrepareDC(dc, font, color, penWidth);
        doc.LayoutAll(&dc);
    }
    const CRect box = doc.m_pRoot->m_rect;
    if (box.Width() <= 0 || box.Height() <= 0 ||
        (long long)box.Width() * box.Height() > HX_MAX_FORMULA_PIXELS)
        return QImage();
    QImage image(box.Width(), box.Height(), QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    image.fill(ToQColor(background));
    CPainterDC dc(&image);
    PrepareDC(dc, font, color, penWidth);
    dc.SetWindowOrg(box.left, box.top);
    doc.m_pRoot->Draw(&dc);
    return image;
}

// Written beside the file and moved over it only when whole: a failed export keeps the old file.
BOOL WriteFileBytes(const CString& path, const std::vector<BYTE>& bytes) {
    return !bytes.empty() && HxWriteFileSafely(path, bytes);
}

int PenWidthOf(const LOGFONT& font) {
    return int(std::labs(long(font.lfHeight)) / 32 + 1);
}

} // namespace

QImage CBinTree::RenderBitmap() {
    return RenderTree(*this, m_defaultFont, m_color, PenWidthOf(m_defaultFont), m_backColor);
}

std::vector<BYTE> CBinTree::MakeTexture(int* width, int* height, BYTE alpha) {
    if (!m_pRoot)
        return {};
    const QImage picture = RenderBitmap();
    if (picture.isNull())
        return {};
    return BitmapToBits(picture, width, height, m_backColor, alpha);
}

COLORREF CBinTree::GetTextColor() const {
    const CBoxNode* box = GetRootBox();
    if (box && box->GetChildCount() == 1 && box->GetChild(0)->IsRow())
        return box->GetChild(0)->m_color;
    return m_pRoot ? m_pRoot->m_color : m_color;
}

BOOL CBinTree::SaveBmp(const CString& path) {
    if (!m_pRoot)
        return FALSE;
    const LOGFONT font = m_pRoot->m_font;
    const int pen = std::labs(long(m_defaultFont.lfHeight)) > 16 ? 2 : 1;
    const QImage picture = RenderTree(*this, font, m_pRoot->m_color, pen, RGB(255, 255, 255));
    if (picture.isNull())
        return FALSE;
    const std::vector<BYTE> dib = BitmapToDib(picture, BI_RGB);
    if (dib.empty())
        return FALSE;
    return WriteFileBytes(path, HxBmpFileBytes(dib));
}

std::vector<BYTE> CBinTree::MakeMetafile(bool selectionOnly) {
    if (!m_pRoot)
        return {};
    CEmfDC dc(u"xxz");
    PrepareDC(dc, m_defaultFont, m_color, PenWidthOf(m_defaultFont));
    if (selectionOnly)
        m_pRoot->DrawSelection(&dc);
    else
        m_pRoot->Draw(&dc);
    return dc.Finish();
}

BOOL CBinTree::SaveEmf(const CString& path) {
    if (!m_pRoot)
        return FALSE;
    return WriteFileBytes(path, MakeMetafile(false));
}

QImage CBinTree::RenderSelectionPicture() {
    if (!m_pRoot)
        return QImage();
    // The selection's box is found by recording it first.
    CEmfDC probe(u"xxz");
    PrepareDC(probe, m_defaultFont, m_color, PenWidthOf(m_defaultFont));
    m_pRoot->DrawSelection(&probe);
    const CRect box = probe.Bounds();
    if (box.IsRectEmpty() || (long long)box.Width() * box.Height() > HX_MAX_FORMULA_PIXELS)
        return QImage();
    QImage image(box.Width(), box.Height(), QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    image.fill(ToQColor(m_backColor));
    CPainterDC dc(&image);
    PrepareDC(dc, m_defaultFont, m_color, PenWidthOf(m_defaultFont));
    dc.SetWindowOrg(box.left, box.top);
    m_pRoot->DrawSelection(&dc);
    return image;
}

std::vector<BYTE> RenderFormulaToBitmap(COLORREF color, COLORREF background, const CString& markup,
                                        BYTE alpha, int* width, int* height) {
    CBinTree doc;
    doc.m_color = color;
    doc.m_backColor = background;
    HxSetFaceName(doc.m_defaultFont, u"宋体");
    doc.m_defaultFont.lfCharSet = GB2312_CHARSET;
    doc.m_defaultFont.lfHeight = 35;
    if (!doc.SetMarkup(markup))
        return {};
    return doc.MakeTexture(width, height, alpha);
}

CBinTree& HxMonochromeFormulaDocument() {
    static CBinTree doc;
    return doc;
}

std::vector<BYTE> RenderFormulaToMonochrome(int* width, int* height, const CString& markup, COLORREF* color,
                                            const CString& face, int fontHeight, int* baseline) {
    CBinTree& doc = HxMonochromeFormulaDocument();
    HxSetFaceName(doc.m_defaultFont, face);
    doc.m_defaultFont.lfHeight = fontHeight;
    doc.Clear();
    if (!doc.SetMarkup(markup))
        return {};
    const QImage picture = doc.RenderBitmap();
    if (picture.isNull())
        return {};
    if (color)
        *color = doc.GetTextColor();
    if (baseline)
        *baseline = doc.m_pRoot->m_baseline;
    return BitmapToMonochrome(picture, width, height, TRUE);
}
