// The printed sheets: the layout of a sheet and its drawing through a painter.
#include "view/print_sheet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

HxPrintLayout HxLayoutPrintSheet(const QRect& page, QSize imageSize) {
    // The page in left, top, right, bottom; the parts of it are truncated to whole units.
    const int left = page.left(), top = page.top();
    const int right = page.left() + page.width(), bottom = page.top() + page.height();
    const int dx = int((right - left) * 0.08);
    const int h = bottom - top;
    const int m = int(h * 0.01);
    const int dy = int(h * 0.09);
    HxPrintLayout layout;
    const int fl = left + dx, ft = top + dy, fr = right - dx, fb = bottom - dy;
    layout.frame = QRect(QPoint(fl, ft), QPoint(fr - 1, fb - 1));
    layout.margin = m;
    const int middle = (fl + fr) / 2;
    layout.title = QPoint(middle, ft - 2 * m);
    layout.number = QPoint(middle, fb + m);
    // Inside the frame, 20 units in on every side.
    const int il = fl + 20, it = ft + 20, ir = fr - 20, ib = fb - 20;
    const int fw = ir - il, fh = ib - it;
    if (imageSize.width() <= 0 || imageSize.height() <= 0 || fw <= 0 || fh <= 0) {
        layout.image = QRect();
        return layout;
    }
    const double s = std::min(double(fw) / imageSize.width(), double(fh) / imageSize.height());
    const int w = int(imageSize.width() * s), hh = int(imageSize.height() * s);
    layout.image = QRect(il + (fw - w) / 2, it + (fh - hh) / 2, w, hh);
    return layout;
}

void HxDrawPrintSheet(CPrintSheet& sheet, const QRect& page, int n, const std::vector<QImage>& images,
                      const std::vector<CString>& titles) {
    const bool hasImage = n >= 1 && size_t(n) <= images.size();
    const HxPrintLayout layout = HxLayoutPrintSheet(page, hasImage ? images[size_t(n - 1)].size() : QSize());
    sheet.Rectangle(layout.frame);
    if (!hasImage)
        return;
    // Letters one and a half hundredths of the sheet tall fit between the frame and the text.
    const int textHeight = std::max(1, layout.margin * 3 / 2);
    const CString title = size_t(n) <= titles.size() ? titles[size_t(n - 1)] : CString();
    sheet.TextCentred(layout.title.x(), layout.title.y(), title, textHeight);
    sheet.TextCentred(layout.number.x(), layout.number.y(), HxFormat(u"第 %d 页", n), textHeight);
    if (!layout.image.isEmpty())
        sheet.DrawImage(layout.image, images[size_t(n - 1)]);
}

CPainterPrintJob::CPainterPrintJob(QPainter& painter, const QRect& pageRect, std::function<bool()> newSheet)
    : m_painter(painter), m_pageRect(pageRect), m_newSheet(std::move(newSheet)) {}

void CPainterPrintJob::Rectangle(const QRect& rect) {
    m_painter.save();
    // A thin line that still shows at a printer's resolution.
    m_painter.setPen(QPen(Qt::black, std::max(1, m_pageRect.height() / 1500)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(rect);
    m_painter.restore();
}

void CPainterPrintJob::TextCentred(int x, int top, const CString& text, int height) {
    m_painter.save();
    QFont font = m_painter.font();
    font.setPixelSize(std::max(1, height));
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    const QFontMetrics metrics(font, m_painter.device());
    const int width = metrics.horizontalAdvance(text.ToQString()) + 2;
    m_painter.drawText(QRect(x - width / 2, top, width, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                       text.ToQString());
    m_painter.restore();
}

void CPainterPrintJob::DrawImage(const QRect& target, const QImage& image) {
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.drawImage(target, image);
    m_painter.restore();
}
