// The printed sheets of the document: each drawing page's picture framed and scaled on its own
// sheet, with its title above the frame and "第 %d 页" below; the drawing goes through a small
// interface (a printer's painter in the program, a recorder in tests).
#pragma once

#include "platform/afx.h"

#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

class QPainter;

// One sheet's drawing, in device units.
class CPrintSheet {
public:
    virtual ~CPrintSheet() = default;
    // The outline of a rectangle.
    virtual void Rectangle(const QRect& rect) = 0;
    // A line of text centred on x with its top at top, in letters about height units tall.
    virtual void TextCentred(int x, int top, const CString& text, int height) = 0;
    // The picture stretched onto target.
    virtual void DrawImage(const QRect& target, const QImage& image) = 0;
};

// A print job: the drawing rectangle of its sheets, and the start of each sheet after the first.
class CPrintJob : public CPrintSheet {
public:
    virtual QRect PageRect() const = 0;
    // False when the printer cannot take another sheet.
    virtual bool NewSheet() = 0;
};

// Where the parts of a sheet go, for the drawing rectangle of the sheet and a picture's size.
struct HxPrintLayout {
    QRect frame;   // the frame drawn around the picture
    int margin;    // one hundredth of the sheet's height
    QPoint title;  // centre and top of the title
    QPoint number; // centre and top of "第 %d 页"
    QRect image;   // the picture, scaled into the frame less 20 units and centred
};
HxPrintLayout HxLayoutPrintSheet(const QRect& page, QSize imageSize);

// Sheet n (from 1) of the document: the frame, and when the n-th picture exists, the page's title,
// "第 n 页" and the picture.
void HxDrawPrintSheet(CPrintSheet& sheet, const QRect& page, int n, const std::vector<QImage>& images,
                      const std::vector<CString>& titles);

// A print job on a painter's device (a printer or a PDF file).
class CPainterPrintJob : public CPrintJob {
public:
    // pageRect: the drawing rectangle in the painter's coordinates; newSheet starts the next sheet.
    CPainterPrintJob(QPainter& painter, const QRect& pageRect, std::function<bool()> newSheet);
    void Rectangle(const QRect& rect) override;
    void TextCentred(int x, int top, const CString& text, int height) override;
    void DrawImage(const QRect& target, const QImage& image) override;
    QRect PageRect() const override { return m_pageRect; }
    bool NewSheet() override { return m_newSheet ? m_newSheet() : false; }

private:
    QPainter& m_painter;
    QRect m_pageRect;
    std::function<bool()> m_newSheet;
};
