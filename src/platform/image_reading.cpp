// Picture decoding within the program's limits: giflib for GIF (the first frame on its logical
// screen, read record by record so that no frame is decoded before its size is checked), Qt's
// readers for the rest.
#include "platform/image_reading.h"

#include <QBuffer>
#include <QImageReader>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct GifSource {
    const QByteArray* data;
    qsizetype pos;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int count) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    qsizetype left = src->data->size() - src->pos;
    int n = int(std::min<qsizetype>(left, std::max(count, 0)));
    if (n > 0)
        std::memcpy(out, src->data->constData() + src->pos, size_t(n));
    src->pos += n;
    return n;
}

bool Fail(DWORD code, const QString& text, DWORD& errorCode, CString& errorText) {
    errorCode = code;
    errorText = CString::FromQString(text);
    return false;
}

class GifDecoder {
public:
    GifDecoder(const QByteArray& data, DWORD& errorCode, CString& errorText, HxImageCost& cost)
        : m_source{&data, 0}, m_errorCode(errorCode), m_errorText(errorText), m_cost(cost) {}
    ~GifDecoder() {
        if (m_gif) {
            int e = 0;
            DGifCloseFile(m_gif, &e);
        }
    }
    GifDecoder(const GifDecoder&) = delete;
    GifDecoder& operator=(const GifDecoder&) = delete;

    bool Decode(QImage& image) {
        int error = 0;
        m_gif = DGifOpen(&m_source, ReadGifBytes, &error);
        if (!m_gif)
            return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(error)), m_errorCode, m_errorText);
        if (!SkipToFirstFrame())
            return false;
        const GifImageDesc& desc = m_gif->Image;
        const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : m_gif->SColorMap;
        if (!colors || colors->ColorCount <= 0 || !colors->Colors)
            return Refuse(HX_E_FAIL, "GIF file has no colour table");
        if (desc.Width <= 0 || desc.Height <= 0)
            return Refuse(HX_E_FAIL, "GIF image is empty");
        // The frame's own size bounds the work of decoding it, whatever part the screen shows.
        if (!HxImageSizeAllowed(desc.Width, desc.Height))
            return Refuse(HX_E_OUT_OF_MEMORY, "GIF frame is too large");
        const long long width = m_gif->SWidth > 0 ? m_gif->SWidth : (long long)desc.Left + desc.Width;
        const long long height = m_gif->SHeight > 0 ? m_gif->SHeight : (long long)desc.Top + desc.Height;
        if (!HxImageSizeAllowed(width, height))
            return Refuse(HX_E_OUT_OF_MEMORY, "GIF image is too large");

        const int colorCount = std::min(colors->ColorCount, 256);
        QImage canvas(int(width), int(height), QImage::Format_Indexed8);
        if (canvas.isNull())
            return Refuse(HX_E_OUT_OF_MEMORY, "Out of memory");
        QList<QRgb> table;
        for (int i = 0; i < colorCount; ++i)
            table.push_back(qRgb(colors->Colors[i].Red, colors->Colors[i].Green, colors->Colors[i].Blue));
        canvas.setColorTable(table);
        const int background =
            m_gif->SColorMap && m_gif->SBackGroundColor < colorCount ? m_gif->SBackGroundColor : 0;
        canvas.fill(uint(background));

        // One row of the frame at a time; only the part on the screen is kept.
        std::vector<GifByteType> line(size_t(desc.Width));
        m_cost.peakBytes = std::max(m_cost.peakBytes, (long long)canvas.sizeInBytes() + desc.Width);
        auto readRow = [&](int y) {
            if (DGifGetLine(m_gif, line.data(), desc.Width) != GIF_OK)
                return false; // a frame cut short counts as damaged
            m_cost.pixelsDecoded += desc.Width;
            const long long dy = (long long)desc.Top + y;
            if (dy < 0 || dy >= height)
                return true;
            uchar* dst = canvas.scanLine(int(dy));
            for (int x = 0; x < desc.Width; ++x) {
                const long long dx = (long long)desc.Left + x;
                if (dx < 0 || dx >= width)
                    continue;
                const int index = line[size_t(x)];
                if (index == m_transparent)
                    continue;
                dst[dx] = uchar(index < colorCount ? index : 0);
            }
            return true;
        };
        bool ok = true;
        if (desc.Interlace) {
            const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4 && ok; ++pass)
                for (int y = start[pass]; y < desc.Height && ok; y += step[pass])
                    ok = readRow(y);
        } else {
            for (int y = 0; y < desc.Height && ok; ++y)
                ok = readRow(y);
        }
        if (!ok)
            return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(m_gif->Error)), m_errorCode, m_errorText);
        image = canvas;
        return true;
    }

private:
    bool Refuse(DWORD code, const char* text) {
        return Fail(code, QString::fromUtf8(text), m_errorCode, m_errorText);
    }

    // Reads the records before the first frame and that frame's descriptor, keeping the
    // transparent colour of the first graphics control block met.
    bool SkipToFirstFrame() {
        bool haveControl = false;
        for (;;) {
            GifRecordType type;
            if (DGifGetRecordType(m_gif, &type) != GIF_OK)
                break;
            if (type == TERMINATE_RECORD_TYPE)
                return Refuse(HX_E_FAIL, "GIF file holds no image");
            if (type == IMAGE_DESC_RECORD_TYPE) {
                if (DGifGetImageDesc(m_gif) != GIF_OK)
                    break;
                return true;
            }
            if (type != EXTENSION_RECORD_TYPE)
                continue;
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(m_gif, &code, &block) != GIF_OK)
                break;
            GraphicsControlBlock gcb;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && !haveControl &&
                DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                m_transparent = gcb.TransparentColor;
                haveControl = true;
            }
            while (block) {
                if (DGifGetExtensionNext(m_gif, &block) != GIF_OK)
                    return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(m_gif->Error)), m_errorCode,
                                m_errorText);
            }
        }
        return Fail(HX_E_FAIL, QString::fromUtf8(GifErrorString(m_gif->Error)), m_errorCode, m_errorText);
    }

    GifSource m_source;
    GifFileType* m_gif = nullptr;
    int m_transparent = -1;
    DWORD& m_errorCode;
    CString& m_errorText;
    HxImageCost& m_cost;
};

bool DecodeWithQt(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText,
                  HxImageCost& cost) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Qt's own check of what a decode may allocate, for readers that cannot tell the size first.
    reader.setAllocationLimit(int(kHxMaxImagePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && !HxImageSizeAllowed(size.width(), size.height()))
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Image is too large"), errorCode, errorText);
    QImage loaded;
    if (!reader.read(&loaded) || loaded.isNull()) {
        QString why = reader.errorString();
        if (why.isEmpty())
            why = QStringLiteral("Unknown image format");
        return Fail(HX_E_FAIL, why, errorCode, errorText);
    }
    cost.peakBytes = std::max(cost.peakBytes, (long long)loaded.sizeInBytes());
    cost.pixelsDecoded += (long long)loaded.width() * loaded.height();
    if (!HxImageSizeAllowed(loaded.width(), loaded.height()))
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Image is too large"), errorCode, errorText);
    image = loaded;
    return true;
}

} // namespace

bool HxImageSizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= kHxMaxImageSide && height <= kHxMaxImageSide &&
           width * height <= kHxMaxImagePixels;
}

bool HxLoadImageData(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText,
                     HxImageCost* cost) {
    image = QImage();
    HxImageCost ownCost;
    HxImageCost& counted = cost ? *cost : ownCost;
    counted = HxImageCost();
    if (data.size() > kHxMaxImageFileBytes)
        return Fail(HX_E_OUT_OF_MEMORY, QStringLiteral("Image is too large"), errorCode, errorText);
    if (data.startsWith("GIF8")) {
        GifDecoder decoder(data, errorCode, errorText, counted);
        return decoder.Decode(image);
    }
    return DecodeWithQt(data, image, errorCode, errorText, counted);
}
