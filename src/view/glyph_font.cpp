// Font mapping and 1-bit glyph rasterising for the OpenGL glyph builders.
#include "view/glyph_font.h"

#include "platform/dc_painter.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

void HxInstallFontSubstitutions() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const HxFaceSubstitute& e : HxFaceSubstitutes())
        QFont::insertSubstitutions(QString::fromUtf16(e.face), {QString::fromLatin1(e.family)});
}

QFont HxCreateFont(const CString& face, int height, int weight, bool italic, bool antialias) {
    HxInstallFontSubstitutions();
    QFont font(face.ToQString());
    font.setBold(weight >= 700);
    font.setItalic(italic);
    font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height == 0) {
        font.setPixelSize(16);
    } else {
        // A cell height: find the em size whose ascent plus descent comes to it.
        QFont probe(font);
        probe.setPixelSize(1000);
        QFontMetricsF fm(probe);
        double cell = fm.ascent() + fm.descent();
        int px = cell > 0 ? int(std::lround(height * 1000.0 / cell)) : height;
        font.setPixelSize(std::max(1, px));
    }
    return font;
}

CBitmapGlyph HxRasterizeGlyph(const QFont& font, char16_t ch) {
    CBitmapGlyph glyph;
    QFontMetrics fm(font);
    const QString text(QChar{ch});
    glyph.advance = fm.horizontalAdvance(text);
    QRect box = fm.boundingRect(text);
    if (box.isEmpty())
        return glyph;

    // Draw with a margin, since the reported box may miss a pixel of italic or hinted outlines.
    const int margin = 4 + fm.height() / 8;
    const int originX = margin - box.left();
    const int baseline = margin - box.top();
    QImage image(box.width() + 2 * margin, box.height() + 2 * margin, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(originX, baseline), text);
    }

    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] >= 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return glyph;

    glyph.width = right - left + 1;
    glyph.height = bottom - top + 1;
    glyph.originX = originX - left;
    glyph.originY = bottom + 1 - baseline;
    const int rowBytes = (glyph.width + 7) / 8;
    glyph.bits.assign(size_t(rowBytes * glyph.height), 0);
    for (int row = 0; row < glyph.height; ++row) {
        const uchar* line = image.constScanLine(bottom - row);
        BYTE* out = glyph.bits.data() + size_t(row * rowBytes);
        for (int x = 0; x < glyph.width; ++x)
            if (line[left + x] >= 128)
                out[x / 8] |= BYTE(0x80 >> (x % 8));
    }
    return glyph;
}
