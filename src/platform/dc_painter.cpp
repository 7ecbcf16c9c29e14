// CPainterDC: GDI-shaped text and drawing calls carried out with QPainter.
#include "platform/dc_painter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

static QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

static bool HasFamily(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

std::span<const HxFaceSubstitute> HxFaceSubstitutes() {
    static const HxFaceSubstitute kTable[] = {
        {u"Times New Roman", "Liberation Serif"}, {u"Arial", "Liberation Sans"},
        {u"Courier New", "Liberation Mono"},      {u"宋体", "WenQuanYi Micro Hei"},
        {u"新宋体", "WenQuanYi Micro Hei"},       {u"楷体", "WenQuanYi Micro Hei"},
        {u"黑体", "WenQuanYi Micro Hei"},         {u"隶书", "WenQuanYi Micro Hei"},
        {u"仿宋", "WenQuanYi Micro Hei"},         {u"微软雅黑", "WenQuanYi Micro Hei"},
        {u"SimSun", "WenQuanYi Micro Hei"},       {u"SimHei", "WenQuanYi Micro Hei"},
    };
    return kTable;
}

QString HxResolveFontFamily(const CString& face, BYTE charset) {
    if (HxIsSymbolFace(face) || (face.IsEmpty() && charset == SYMBOL_CHARSET)) {
        // A clone of the Symbol font's shapes when one is installed, else a font with the glyphs.
        static const QString symbolFamily =
            HasFamily("Standard Symbols PS") ? QString("Standard Symbols PS") : QString("DejaVu Sans");
        return symbolFamily;
    }
    for (const HxFaceSubstitute& e : HxFaceSubstitutes())
        if (face.CompareNoCase(e.face) == 0)
            return QString::fromLatin1(e.family);
    if (!face.IsEmpty() && HasFamily(face.ToQString()))
        return face.ToQString();
    if (charset == GB2312_CHARSET)
        return "WenQuanYi Micro Hei";
    return face.IsEmpty() ? QString("Liberation Serif") : face.ToQString();
}

namespace {
struct FontKey {
    LOGFONT lf;
    bool operator<(const FontKey& o) const { return std::memcmp(&lf, &o.lf, sizeof(LOGFONT)) < 0; }
};
} // namespace

QFont HxQFontFromLogFont(const LOGFONT& lfIn) {
    // Only the fields that change the font take part in the key.
    LOGFONT lf = lfIn;
    lf.lfEscapement = lf.lfOrientation = 0;
    lf.lfOutPrecision = lf.lfClipPrecision = lf.lfPitchAndFamily = 0;
    static std::mutex mutex;
    static std::map<FontKey, QFont> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(FontKey{lf});
    if (it != cache.end())
        return it->second;

    QFont font(HxResolveFontFamily(HxGetFaceName(lf), lf.lfCharSet));
    font.setStyleStrategy(lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == DEFAULT_QUALITY
                              ? QFont::PreferAntialias
                              : QFont::NoAntialias);
    LONG weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 100, 900);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    LONG h = std::clamp<LONG>(lf.lfHeight, -4000, 4000);
    if (h < 0) {
        font.setPixelSize(int(-h));
    } else {
        int cell = h == 0 ? 16 : int(h);
        // A positive height is the cell height (ascent + descent): find the em size that gives it.
        font.setPixelSize(cell);
        QFontMetricsF m(font);
        double full = m.ascent() + m.descent();
        int px = full > 0 ? int(std::lround(cell * cell / full)) : cell;
        font.setPixelSize(std::max(1, px));
    }
    if (lf.lfWidth > 0) {
        QFontMetricsF m(font);
        double avg = m.averageCharWidth();
        if (avg > 0)
            font.setStretch(std::clamp(int(std::lround(100.0 * lf.lfWidth / avg)), 1, 4000));
    }
    if (cache.size() > 4096) // documents use a handful of fonts; a flood of them is not kept
        cache.clear();
    cache.emplace(FontKey{lf}, font);
    return font;
}

CPainterDC::CPainterDC(QPainter* painter) : m_painter(painter) {}

CPainterDC::CPainterDC(QImage* image) : m_ownPainter(std::make_unique<QPainter>(image)) {
    m_painter = m_ownPainter.get();
}

CPainterDC::~CPainterDC() {
    if (m_ownPainter)
        m_ownPainter->end();
}

// Text as drawn in a font: Symbol codes become their Unicode characters.
static QString DrawnTextIn(const LOGFONT& font, const CString& text) {
    return HxMapSymbolText(text, HxIsSymbolFace(HxGetFaceName(font))).ToQString();
}

QString CPainterDC::DrawnText(const CString& text) const {
    return DrawnTextIn(m_font, text);
}

CSize HxPainterTextExtent(const LOGFONT& lf, const CString& text) {
    QFont font = HxQFontFromLogFont(lf);
    QFontMetricsF m(font);
    int height = int(std::ceil(m.ascent()) + std::ceil(m.descent()));
    if (text.IsEmpty())
        return CSize(0, height);
    return CSize(int(std::lround(m.horizontalAdvance(DrawnTextIn(lf, text)))), height);
}

std::vector<int> HxPainterCharAdvances(const LOGFONT& lf, const CString& text) {
    QFontMetricsF m(HxQFontFromLogFont(lf));
    const QString drawn = DrawnTextIn(lf, text);
    std::vector<int> advances;
    advances.reserve(size_t(drawn.size()));
    // Whole-pixel positions of the characters' starts, so that the advances add up to the extent.
    int done = 0;
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const int end = int(std::lround(m.horizontalAdvance(drawn.left(i + 1))));
        advances.push_back(end - done);
        done = end;
    }
    return advances;
}

CSize CPainterDC::GetTextExtent(const CString& text) {
    return HxPainterTextExtent(m_font, text);
}

void CPainterDC::TextOut(int x, int y, const CString& text) {
    if (text.IsEmpty())
        return;
    QFont font = HxQFontFromLogFont(m_font);
    m_painter->save();
    m_painter->translate(-m_windowOrg.x, -m_windowOrg.y);
    m_painter->setFont(font);
    m_painter->setPen(ToQColor(m_textColor));
    QFontMetricsF m(font);
    QString s = DrawnText(text);
    if (m_bkMode == OPAQUE) {
        CSize ext = GetTextExtent(text);
        m_painter->fillRect(QRect(x, y, ext.cx, ext.cy), Qt::white);
    }
    m_painter->drawText(QPointF(x, y + std::ceil(m.ascent())), s);
    m_painter->restore();
}

void CPainterDC::DrawText(const CString& text, const CRect& rect, UINT format) {
    if (text.IsEmpty())
        return;
    CSize ext = GetTextExtent(text);
    int x = rect.left, y = rect.top;
    if (format & DT_CENTER)
        x = rect.left + (rect.Width() - ext.cx) / 2;
    else if (format & DT_RIGHT)
        x = rect.right - ext.cx;
    if (format & DT_VCENTER)
        y = rect.top + (rect.Height() - ext.cy) / 2;
    else if (format & DT_BOTTOM)
        y = rect.bottom - ext.cy;
    if (format & DT_NOCLIP) {
        TextOut(x, y, text);
        return;
    }
    m_painter->save();
    m_painter->setClipRect(
        QRect(rect.left - m_windowOrg.x, rect.top - m_windowOrg.y, rect.Width(), rect.Height()),
        Qt::IntersectClip);
    TextOut(x, y, text);
    m_painter->restore();
}

static QPen ToQPen(const HxPen& pen) {
    if (pen.m_style == PS_NULL)
        return QPen(Qt::NoPen);
    QPen p(ToQColor(pen.m_color));
    p.setWidth(std::max(1, pen.m_width));
    p.setStyle(pen.m_style == PS_DOT ? Qt::DotLine : Qt::SolidLine);
    // GDI's wide pens have round ends; one-pixel lines end flat.
    p.setCapStyle(pen.m_width > 1 ? Qt::RoundCap : Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void CPainterDC::DrawLine(CPoint from, CPoint to) {
    m_painter->save();
    m_painter->translate(-m_windowOrg.x, -m_windowOrg.y);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setPen(ToQPen(m_pen));
    m_painter->drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    m_painter->restore();
}

void CPainterDC::Polygon(const CPoint* points, int count) {
    if (!points || count < 2)
        return;
    QPolygon poly;
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].x, points[i].y);
    m_painter->save();
    m_painter->translate(-m_windowOrg.x, -m_windowOrg.y);
    m_painter->setRenderHint(QPainter::Antialiasing, true);
    m_painter->setPen(ToQPen(m_pen));
    if (m_brush.m_null)
        m_painter->setBrush(Qt::NoBrush);
    else
        m_painter->setBrush(ToQColor(m_brush.m_color));
    m_painter->drawPolygon(poly);
    m_painter->restore();
}

void CPainterDC::DrawFocusRect(const CRect& rect) {
    if (rect.IsRectEmpty())
        return;
    // Every other pixel of the border, each inverted once.
    std::set<std::pair<int, int>> dots;
    for (int x = rect.left; x < rect.right; x += 2) {
        dots.insert({x, rect.top});
        dots.insert({x, rect.bottom - 1});
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        dots.insert({rect.left, y});
        dots.insert({rect.right - 1, y});
    }
    QPolygon poly;
    for (const auto& d : dots)
        poly << QPoint(d.first, d.second);
    m_painter->save();
    m_painter->translate(-m_windowOrg.x, -m_windowOrg.y);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter->setPen(QPen(Qt::white, 1));
    m_painter->drawPoints(poly);
    m_painter->restore();
}

void CPainterDC::FillSolidRect(const CRect& rect, COLORREF color) {
    m_painter->fillRect(
        QRect(rect.left - m_windowOrg.x, rect.top - m_windowOrg.y, rect.Width(), rect.Height()),
        ToQColor(color));
}

void CPainterDC::FillRgn(const CRgn& region, COLORREF color) {
    for (const CRect& r : region.Rects())
        FillSolidRect(r, color);
}
