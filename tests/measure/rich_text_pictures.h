// What the tests of the rich text's one-bit picture compare it with: the picture drawn from the
// whole document laid out at once, and the dark bits of a picture.
#pragma once

#include "measure/rich_text.h"
#include "platform/bitmap_bits.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <memory>
#include <vector>

// The picture as drawn from the whole document laid out: what the part that shows must give.
inline std::vector<BYTE> WholeDocumentPicture(const QTextDocument& doc, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    std::unique_ptr<QTextDocument> copy(doc.clone());
    HxInstallRichObjectHandler(*copy);
    copy->setDocumentMargin(doc.documentMargin());
    copy->setDefaultFont(doc.defaultFont());
    copy->setTextWidth(w);
    copy->documentLayout()->documentSize(); // every line laid out
    {
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        context.clip = QRectF(0, 0, w, h);
        painter.setClipRect(context.clip);
        copy->documentLayout()->draw(&painter, context);
    }
    int ow = 0, oh = 0;
    return BitmapToMonochrome(image, &ow, &oh, TRUE);
}

// The dark bits of a one-bit picture.
inline int DarkBits(const std::vector<BYTE>& bits) {
    int n = 0;
    for (BYTE b : bits)
        n += __builtin_popcount(b);
    return n;
}
