// Picture decoding within the program's limits: giflib for GIF (the first frame on its logical
// screen, read record by record so that no frame is decoded before its size is checked), Qt's
// readers for the rest.
#include "platform/image_reading.h"

#include "platform/file.h"

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

bool Fail(DWORD code, const CString& text, DWORD& errorCode, CString& errorText) {
    errorCode = code;
    errorText = text;
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
            return Fail(HX_E_FAIL, HxGifErrorReason(error), m_errorCode, m_errorText);
        if (!SkipToFirstFrame())
            return false;
        const GifImageDesc& desc = m_gif->Image;
        const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : m_gif->SColorMap;
        if (!colors || colors->ColorCount <= 0 || !colors->Colors)
            return Refuse(HX_E_FAIL, HxGifErrorReason(D_GIF_ERR_NO_COLOR_MAP));
        if (desc.Width <= 0 || desc.Height <= 0)
            return Refuse(HX_E_FAIL, HxGifErrorReason(D_GIF_ERR_IMAGE_DEFECT));
        // The frame's own size bounds the work of decoding it, whatever part the screen shows.
        if (!HxImageSizeAllowed(desc.Width, desc.Height))
            return Refuse(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::TooLarge));
        const long long width = m_gif->SWidth > 0 ? m_gif->SWidth : (long long)desc.Left + desc.Width;
        const long long height = m_gif->SHeight > 0 ? m_gif->SHeight : (long long)desc.Top + desc.Height;
        if (!HxImageSizeAllowed(width, height))
            return Refuse(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::TooLarge));

        const int colorCount = std::min(colors->ColorCount, 256);
        QImage canvas(int(width), int(height), QImage::Format_Indexed8);
        if (canvas.isNull())
            return Refuse(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::OutOfMemory));
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
            return Refuse(HX_E_FAIL, HxGifErrorReason(m_gif->Error));
        image = canvas;
        return true;
    }

private:
    bool Refuse(DWORD code, const CString& text) { return Fail(code, text, m_errorCode, m_errorText); }

    // Reads the records before the first frame and that frame's descriptor, keeping the
    // transparent colour of the first graphics control block met.
    bool SkipToFirstFrame() {
        bool haveControl = false;
        for (;;) {
            GifRecordType type;
            if (DGifGetRecordType(m_gif, &type) != GIF_OK)
                break;
            if (type == TERMINATE_RECORD_TYPE)
                return Refuse(HX_E_FAIL, HxGifErrorReason(D_GIF_ERR_NO_IMAG_DSCR));
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
                    return Refuse(HX_E_FAIL, HxGifErrorReason(m_gif->Error));
            }
        }
        return Refuse(HX_E_FAIL, HxGifErrorReason(m_gif->Error));
    }

    GifSource m_source;
    GifFileType* m_gif = nullptr;
    int m_transparent = -1;
    DWORD& m_errorCode;
    CString& m_errorText;
    HxImageCost& m_cost;
};

// The reason of a failed read of Qt's reader (its errorString() is English).
CString QtReadFailureReason(QImageReader::ImageReaderError error) {
    switch (error) {
    case QImageReader::FileNotFoundError:
        return HxImageFailureReason(HxImageFailure::NotFound);
    case QImageReader::DeviceError:
        return HxImageFailureReason(HxImageFailure::CannotRead);
    case QImageReader::InvalidDataError:
        return HxImageFailureReason(HxImageFailure::Damaged);
    case QImageReader::UnsupportedFormatError:
    case QImageReader::UnknownError:
        break;
    }
    return HxImageFailureReason(HxImageFailure::UnsupportedFormat);
}

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
        return Fail(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::TooLarge), errorCode, errorText);
    QImage loaded;
    if (!reader.read(&loaded) || loaded.isNull())
        return Fail(HX_E_FAIL, QtReadFailureReason(reader.error()), errorCode, errorText);
    cost.peakBytes = std::max(cost.peakBytes, (long long)loaded.sizeInBytes());
    cost.pixelsDecoded += (long long)loaded.width() * loaded.height();
    if (!HxImageSizeAllowed(loaded.width(), loaded.height()))
        return Fail(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::TooLarge), errorCode, errorText);
    image = loaded;
    return true;
}

} // namespace

CString HxImageFailureReason(HxImageFailure failure) {
    switch (failure) {
    case HxImageFailure::NotFound:
        return u"找不到文件";
    case HxImageFailure::NotRegularFile:
        return HxWriteFailureReason(CFileException::invalidFile);
    case HxImageFailure::CannotOpen:
        return u"无法打开文件";
    case HxImageFailure::CannotRead:
        return u"无法读取文件";
    case HxImageFailure::TooLarge:
        return u"图象太大";
    case HxImageFailure::UnsupportedFormat:
        return u"不支持的图象格式";
    case HxImageFailure::Damaged:
        return u"图象文件已损坏";
    case HxImageFailure::OutOfMemory:
        return u"内存不足";
    case HxImageFailure::Empty:
        return u"图象为空";
    // A file that cannot be written says why in the words every save uses.
    case HxImageFailure::FolderNotFound:
        return HxWriteFailureReason(CFileException::fileNotFound);
    case HxImageFailure::AccessDenied:
        return HxWriteFailureReason(CFileException::accessDenied);
    case HxImageFailure::DiskFull:
        return HxWriteFailureReason(CFileException::diskFull);
    case HxImageFailure::TooManyOpenFiles:
        return HxWriteFailureReason(CFileException::tooManyOpenFiles);
    case HxImageFailure::CannotWrite:
        return HxWriteFailureReason(CFileException::genericException);
    case HxImageFailure::CannotEncode:
        return u"图象编码失败";
    }
    return u"图象文件已损坏";
}

CString HxGifErrorReason(int gifError) {
    switch (gifError) {
    // Reading.  The decoder reads bytes already in memory: a short read is the file ending early.
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON:
        return u"GIF文件不完整";
    case D_GIF_ERR_OPEN_FAILED:
        return HxImageFailureReason(HxImageFailure::CannotOpen);
    case D_GIF_ERR_NOT_READABLE:
        return HxImageFailureReason(HxImageFailure::CannotRead);
    case D_GIF_ERR_NOT_GIF_FILE:
        return u"文件不是GIF图象";
    case D_GIF_ERR_NO_SCRN_DSCR:
        return u"GIF文件中缺少屏幕描述";
    case D_GIF_ERR_NO_IMAG_DSCR:
        return u"GIF文件中没有图象";
    case D_GIF_ERR_NO_COLOR_MAP:
        return u"GIF文件中缺少颜色表";
    case D_GIF_ERR_WRONG_RECORD:
        return u"GIF文件已损坏";
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM:
        return HxImageFailureReason(HxImageFailure::OutOfMemory);
    case D_GIF_ERR_CLOSE_FAILED:
    case E_GIF_ERR_CLOSE_FAILED:
        return u"关闭文件失败";
    // Writing.
    case E_GIF_ERR_OPEN_FAILED:
        return u"无法创建文件";
    case E_GIF_ERR_WRITE_FAILED:
        return HxImageFailureReason(HxImageFailure::CannotWrite);
    case E_GIF_ERR_DISK_IS_FULL:
        return HxImageFailureReason(HxImageFailure::DiskFull);
    case E_GIF_ERR_NOT_WRITEABLE:
        return u"文件不可写";
    default:
        break;
    }
    // giflib numbers the writer's errors below 100 and the reader's from 101.
    return gifError > 0 && gifError < 100 ? u"写入GIF文件失败" : u"GIF图象已损坏";
}

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
        return Fail(HX_E_OUT_OF_MEMORY, HxImageFailureReason(HxImageFailure::TooLarge), errorCode, errorText);
    if (data.startsWith("GIF8")) {
        GifDecoder decoder(data, errorCode, errorText, counted);
        return decoder.Decode(image);
    }
    return DecodeWithQt(data, image, errorCode, errorText, counted);
}
