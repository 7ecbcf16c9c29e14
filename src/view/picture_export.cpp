// Crop boxes, picture files, screen grabs, the clipboard picture, masks and texture bytes.
#include "view/picture_export.h"

#include "platform/file.h"
#include "platform/image_reading.h"
#include "view/view_globals.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <cstring>
#include <map>

void HxBackgroundBytes(BYTE out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = BYTE(int(g_backgroundColor[i] * 255.0f));
}

bool HxFindFigureBox(const BYTE* rgba, int width, int height, const BYTE background[3], int* left, int* right,
                     int* top, int* bottom) {
    if (!rgba || width <= 0 || height <= 0)
        return false;
    auto isFigure = [&](int x, int y) {
        const BYTE* p = rgba + (size_t(y) * size_t(width) + size_t(x)) * 4;
        return p[0] != background[0] || p[1] != background[1] || p[2] != background[2];
    };
    auto rowHasFigure = [&](int y) {
        for (int x = 0; x < width; ++x)
            if (isFigure(x, y))
                return true;
        return false;
    };
    auto columnHasFigure = [&](int x, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            if (isFigure(x, y))
                return true;
        return false;
    };
    int b = 0;
    while (b < height && !rowHasFigure(b))
        ++b;
    if (b == height)
        return false;
    int t = height;
    while (!rowHasFigure(t - 1))
        --t;
    int l = 0;
    while (!columnHasFigure(l, b, t))
        ++l;
    int r = width;
    while (!columnHasFigure(r - 1, b, t))
        --r;
    if (l > 4)
        l -= 4;
    if (width - r > 4)
        r += 4;
    if (b > 4)
        b -= 4;
    if (height - t > 4)
        t += 4;
    *left = l;
    *right = r;
    *bottom = b;
    *top = t;
    return true;
}

QImage CaptureWindowRect(const CRect& rect) {
    CRect r = rect;
    r.NormalizeRect();
    if (r.IsRectEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QImage();
    QScreen* screen = QGuiApplication::screenAt(QPoint(r.left, r.top));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    const QPoint origin = screen->geometry().topLeft();
    QImage image =
        screen->grabWindow(0, r.left - origin.x(), r.top - origin.y(), r.Width(), r.Height()).toImage();
    if (image.isNull() || image.width() != r.Width() || image.height() != r.Height())
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

bool HxCopyBitmapToClipboard(const QImage& bitmap) {
    if (bitmap.isNull() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    clipboard->setImage(bitmap);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The clipboard picture as a mask

std::vector<BYTE> HxPictureToMonochrome(const QImage& picture, int* width, int* height, CPoint* cropped) {
    if (cropped)
        *cropped = CPoint(0, 0);
    if (picture.isNull())
        return {};
    QImage bitmap;
    if (picture.hasAlphaChannel()) {
        bitmap = QImage(picture.size(), QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, picture);
        painter.end();
    } else {
        switch (picture.format()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
        case QImage::Format_RGB16:
        case QImage::Format_RGB888:
        case QImage::Format_BGR888:
        case QImage::Format_RGB32:
            bitmap = picture;
            break;
        default:
            bitmap = picture.convertToFormat(QImage::Format_RGB32);
            break;
        }
    }
    return BitmapToMonochrome(bitmap, width, height, FALSE, cropped);
}

std::vector<BYTE> ClipboardBitmapToMonochrome(int* width, int* height) {
    // Decoded within the picture limits, as every picture the program reads.
    return HxPictureToMonochrome(HxGetQtClipboardPicture(), width, height);
}

// ---------------------------------------------------------------------------------------------
// Picture files

QString HxPictureFormatOf(const CString& path) {
    const QString suffix = QFileInfo(path.ToQString()).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return QStringLiteral("BMP");
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return QStringLiteral("JPEG");
    if (suffix == QLatin1String("gif"))
        return QStringLiteral("GIF");
    if (suffix == QLatin1String("png"))
        return QStringLiteral("PNG");
    return QString();
}

namespace {

int AppendGifBytes(GifFileType* file, const GifByteType* bytes, int count) {
    static_cast<QByteArray*>(file->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

// The GIF file of a picture, built in memory.
int EncodeGif(const QImage& picture, QByteArray& out) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    if (w <= 0 || h <= 0)
        return D_GIF_ERR_DATA_TOO_BIG;
    std::vector<GifByteType> indices(size_t(w) * size_t(h));
    std::vector<GifColorType> colors;
    // The picture's own colours when they fit a palette.
    std::map<unsigned, GifByteType> palette;
    bool exact = true;
    for (int y = 0; y < h && exact; ++y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const unsigned c =
                (unsigned(line[3 * x]) << 16) | (unsigned(line[3 * x + 1]) << 8) | line[3 * x + 2];
            auto found = palette.find(c);
            if (found == palette.end()) {
                if (palette.size() == 256) {
                    exact = false;
                    break;
                }
                found = palette.emplace(c, GifByteType(palette.size())).first;
                colors.push_back({line[3 * x], line[3 * x + 1], line[3 * x + 2]});
            }
            indices[size_t(y) * size_t(w) + size_t(x)] = found->second;
        }
    }
    if (!exact) {
        std::vector<GifByteType> red(indices.size()), green(indices.size()), blue(indices.size());
        for (int y = 0; y < h; ++y) {
            const uchar* line = rgb.constScanLine(y);
            for (int x = 0; x < w; ++x) {
                const size_t i = size_t(y) * size_t(w) + size_t(x);
                red[i] = line[3 * x];
                green[i] = line[3 * x + 1];
                blue[i] = line[3 * x + 2];
            }
        }
        int count = 256;
        colors.assign(256, GifColorType{0, 0, 0});
        if (GifQuantizeBuffer(unsigned(w), unsigned(h), &count, red.data(), green.data(), blue.data(),
                              indices.data(), colors.data()) != GIF_OK)
            return D_GIF_ERR_NOT_ENOUGH_MEM;
        colors.resize(size_t(count));
    }
    // A palette holds a power of two of colours, at least two.
    size_t mapSize = 2;
    while (mapSize < colors.size())
        mapSize *= 2;
    colors.resize(mapSize, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(int(mapSize), colors.data());
    if (!map)
        return D_GIF_ERR_NOT_ENOUGH_MEM;

    int error = 0;
    GifFileType* file = EGifOpen(&out, AppendGifBytes, &error);
    if (!file) {
        GifFreeMapObject(map);
        return error ? error : E_GIF_ERR_OPEN_FAILED;
    }
    bool ok = EGifPutScreenDesc(file, w, h, map->BitsPerPixel, 0, map) == GIF_OK &&
              EGifPutImageDesc(file, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(file, indices.data() + size_t(y) * size_t(w), w) == GIF_OK;
    if (!ok)
        error = file->Error ? file->Error : E_GIF_ERR_WRITE_FAILED;
    int closeError = 0;
    if (EGifCloseFile(file, &closeError) != GIF_OK && ok)
        error = closeError ? closeError : E_GIF_ERR_CLOSE_FAILED;
    GifFreeMapObject(map);
    return error;
}

// Why Qt's writer refused a picture (its errorString() is English).  It writes into memory here, so
// a device error is a write that could not be done.
HxImageFailure QtWriteFailure(QImageWriter::ImageWriterError error) {
    switch (error) {
    case QImageWriter::DeviceError:
        return HxImageFailure::CannotWrite;
    case QImageWriter::UnsupportedFormatError:
        return HxImageFailure::UnsupportedFormat;
    case QImageWriter::InvalidImageError: // the writer's word for a null picture
        return HxImageFailure::Empty;
    case QImageWriter::UnknownError:
        break;
    }
    return HxImageFailure::CannotEncode;
}

} // namespace

int HxWriteGif(const QImage& picture, const QString& path, CFileException* fileError) {
    QByteArray bytes;
    if (int error = EncodeGif(picture, bytes))
        return error;
    // Put in place only when whole: a failed save leaves the old picture as it was.
    return HxWriteFileSafely(CString::FromQString(path), bytes.constData(), size_t(bytes.size()), fileError)
               ? 0
               : E_GIF_ERR_WRITE_FAILED;
}

bool HxSavePicture(const QImage& picture, const CString& path, CString* error) {
    const QString format = HxPictureFormatOf(path);
    int code = 0;
    CString reason;
    CFileException fileError; // the cause when the encoded picture could not be put in place
    if (picture.isNull()) {
        code = 1;
        reason = HxImageFailureReason(HxImageFailure::Empty);
    } else if (format.isEmpty()) {
        code = 2;
        reason = HxImageFailureReason(HxImageFailure::UnsupportedFormat);
    } else if (format == QLatin1String("GIF")) {
        code = HxWriteGif(picture, path.ToQString(), &fileError);
        if (code != 0)
            reason = HxGifErrorReason(code);
    } else {
        QBuffer bytes;
        bytes.open(QIODevice::WriteOnly);
        QImageWriter writer(&bytes, format.toLatin1());
        if (format == QLatin1String("JPEG"))
            writer.setQuality(90);
        const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
        if (!writer.write(opaque)) {
            code = 0x100 + int(writer.error());
            reason = HxImageFailureReason(QtWriteFailure(writer.error()));
        } else if (!HxWriteFileSafely(path, bytes.data().constData(), size_t(bytes.data().size()),
                                      &fileError)) {
            code = 0x100 + int(QImageWriter::DeviceError);
        }
    }
    if (code == 0)
        return true;
    // A file that could not be written says why in the same words whatever its format.
    if (fileError.m_cause != CFileException::none)
        reason = HxWriteFailureReason(fileError.m_cause);
    if (error)
        *error = HxFormat(u"Save image failed:\n%x - %s", code, reason);
    return false;
}
