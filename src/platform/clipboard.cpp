// The clipboard: registered format names, the clipboard in memory and Qt's clipboard.
#include "platform/clipboard.h"

#include "platform/image_reading.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kFirstRegisteredFormat = 0xC000;

std::vector<CString>& RegisteredNames() {
    static std::vector<CString> names;
    return names;
}

CClipboardBackend* g_clipboardBackend = nullptr;

// A picture in the layout of a device bitmap of its depth.  Pictures with transparent parts are laid
// on white first, as a device bitmap would show them.
HxClipboardBitmap DeviceBitmapOf(QImage image) {
    HxClipboardBitmap out;
    if (image.isNull())
        return out;
    int bits = 32;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        bits = 1;
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        bits = 8;
        break;
    case QImage::Format_RGB16:
        bits = 16;
        break;
    case QImage::Format_RGB888:
        image = image.convertToFormat(QImage::Format_BGR888);
        bits = 24;
        break;
    case QImage::Format_BGR888:
        bits = 24;
        break;
    case QImage::Format_RGB32:
        break;
    default:
        if (image.hasAlphaChannel()) {
            QImage onWhite(image.size(), QImage::Format_RGB32);
            onWhite.fill(Qt::white);
            QPainter painter(&onWhite);
            painter.drawImage(0, 0, image);
            painter.end();
            image = onWhite;
        } else {
            image = image.convertToFormat(QImage::Format_RGB32);
        }
        break;
    }
    out.width = image.width();
    out.height = image.height();
    out.bitsPerPixel = bits;
    out.widthBytes = int(image.bytesPerLine());
    out.bits.resize(size_t(out.widthBytes) * size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.bits.data() + size_t(y) * size_t(out.widthBytes), image.constScanLine(y),
                    size_t(out.widthBytes));
    return out;
}

// A MIME type of picture file bytes this program decodes itself (drawings in SVG are not pictures
// here).
bool IsPictureFileType(const QString& type) {
    return type.startsWith(QLatin1String("image/")) && !type.contains(QLatin1String("svg"));
}

// Qt's clipboard: the registered formats travel as MIME formats of their names.
class CQtClipboard : public CClipboardBackend {
public:
    bool Open() override { return QGuiApplication::clipboard() != nullptr; }
    void Close() override {}
    bool SetData(UINT format, const std::vector<BYTE>& data) override {
        const QString name = HxGetClipboardFormatName(format).ToQString();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (name.isEmpty() || !clipboard)
            return false;
        auto* mime = new QMimeData;
        mime->setData(name, QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
        clipboard->setMimeData(mime);
        return true;
    }
    bool IsFormatAvailable(UINT format) const override {
        const QMimeData* mime = Mime();
        const QString name = HxGetClipboardFormatName(format).ToQString();
        return mime && !name.isEmpty() && mime->hasFormat(name);
    }
    bool GetData(UINT format, std::vector<BYTE>& data) const override {
        if (!IsFormatAvailable(format))
            return false;
        const QByteArray bytes = Mime()->data(HxGetClipboardFormatName(format).ToQString());
        data.assign(bytes.begin(), bytes.end());
        return true;
    }
    bool HasBitmap() const override {
        const QMimeData* mime = Mime();
        if (!mime)
            return false;
        if (mime->hasImage())
            return true;
        const QStringList formats = mime->formats();
        return std::any_of(formats.begin(), formats.end(), IsPictureFileType);
    }
    bool GetBitmap(HxClipboardBitmap& bitmap) const override {
        bitmap = DeviceBitmapOf(HxGetQtClipboardPicture());
        return !bitmap.bits.empty();
    }
    bool SetText(const CString& text) override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        clipboard->setText(text.ToQString());
        return true;
    }
    bool HasText() const override {
        const QMimeData* mime = Mime();
        return mime && mime->hasText();
    }
    bool GetText(CString& text) const override {
        if (!HasText())
            return false;
        text = CString::FromQString(Mime()->text());
        return true;
    }

    bool SetOffer(const HxClipboardOffer& offer) override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        auto* mime = new QMimeData;
        for (const auto& [format, bytes] : offer.data) {
            const QString name = HxGetClipboardFormatName(format).ToQString();
            if (name.isEmpty()) {
                delete mime;
                return false;
            }
            mime->setData(name,
                          QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        }
        if (offer.picture && !offer.picture->isNull())
            mime->setImageData(*offer.picture);
        if (offer.hasText)
            mime->setText(offer.text.ToQString());
        clipboard->setMimeData(mime);
        return true;
    }

private:
    static const QMimeData* Mime() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        return clipboard ? clipboard->mimeData() : nullptr;
    }
};

} // namespace

QImage HxGetQtClipboardPicture() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QImage();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime)
        return QImage();
    // Pictures from other programs come as file bytes: decoded here within the program's limits,
    // never by Qt's unchecked conversion.
    const QStringList formats = mime->formats();
    for (const QString& format : formats) {
        if (!IsPictureFileType(format))
            continue;
        const QByteArray bytes = mime->data(format);
        if (bytes.isEmpty())
            continue;
        QImage image;
        DWORD code = 0;
        CString why;
        HxLoadImageData(bytes, image, code, why);
        return image;
    }
    // A picture this program put there itself is an image already; still held to the limits.
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    return HxImageSizeAllowed(image.width(), image.height()) ? image : QImage();
}

bool HxBitmapFromPictureBytes(const QByteArray& bytes, HxClipboardBitmap& bitmap) {
    bitmap = HxClipboardBitmap();
    QImage image;
    DWORD code = 0;
    CString why;
    if (!HxLoadImageData(bytes, image, code, why))
        return false;
    bitmap = DeviceBitmapOf(image);
    return !bitmap.bits.empty();
}

UINT HxRegisterClipboardFormat(const CString& name) {
    if (name.IsEmpty())
        return 0;
    std::vector<CString>& names = RegisteredNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return kFirstRegisteredFormat + UINT(i);
    names.push_back(name);
    return kFirstRegisteredFormat + UINT(names.size() - 1);
}

CString HxGetClipboardFormatName(UINT format) {
    const std::vector<CString>& names = RegisteredNames();
    if (format < kFirstRegisteredFormat || format - kFirstRegisteredFormat >= names.size())
        return CString();
    return names[format - kFirstRegisteredFormat];
}

// ---------------------------------------------------------------------------------------------

bool CMemoryClipboard::Open() {
    if (m_openFails || m_open)
        return false;
    m_open = true;
    ++m_openCount;
    return true;
}

bool CMemoryClipboard::SetData(UINT format, const std::vector<BYTE>& data) {
    if (HxGetClipboardFormatName(format).IsEmpty())
        return false;
    Empty();
    m_data[format] = data;
    return true;
}

bool CMemoryClipboard::GetData(UINT format, std::vector<BYTE>& data) const {
    auto it = m_data.find(format);
    if (it == m_data.end())
        return false;
    data = it->second;
    return true;
}

bool CMemoryClipboard::GetBitmap(HxClipboardBitmap& bitmap) const {
    if (!m_hasBitmap || m_bitmapFails)
        return false;
    bitmap = m_bitmap;
    return true;
}

void CMemoryClipboard::SetBitmap(const HxClipboardBitmap& bitmap) {
    Empty();
    m_bitmap = bitmap;
    m_hasBitmap = true;
}

bool CMemoryClipboard::SetText(const CString& text) {
    Empty();
    m_text = text;
    m_hasText = true;
    return true;
}

bool CMemoryClipboard::GetText(CString& text) const {
    if (!m_hasText)
        return false;
    text = m_text;
    return true;
}

bool CMemoryClipboard::SetOffer(const HxClipboardOffer& offer) {
    for (const auto& part : offer.data)
        if (HxGetClipboardFormatName(part.first).IsEmpty())
            return false;
    Empty();
    for (const auto& [format, bytes] : offer.data)
        m_data[format] = bytes;
    if (offer.picture && !offer.picture->isNull()) {
        m_bitmap = DeviceBitmapOf(*offer.picture);
        m_hasBitmap = true;
    }
    if (offer.hasText) {
        m_text = offer.text;
        m_hasText = true;
    }
    return true;
}

void CMemoryClipboard::Empty() {
    m_text.Empty();
    m_hasText = false;
    m_data.clear();
    m_bitmap = HxClipboardBitmap();
    m_hasBitmap = false;
}

// ---------------------------------------------------------------------------------------------

CClipboardBackend& HxGetClipboard() {
    if (g_clipboardBackend)
        return *g_clipboardBackend;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        static CQtClipboard qt;
        return qt;
    }
    static CMemoryClipboard memory;
    return memory;
}

void HxSetClipboardBackend(CClipboardBackend* backend) {
    g_clipboardBackend = backend;
}
