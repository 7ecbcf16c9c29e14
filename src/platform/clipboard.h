// The clipboard: formats registered by name, blocks of bytes offered and read under a format, and the
// clipboard's picture as a device bitmap.  The program uses Qt's clipboard (a MIME format of the
// registered name); without a GUI application, and in tests that install it, a clipboard in memory.
#pragma once

#include "platform/cstring.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QByteArray;
class QImage;

// A picture as a device bitmap: `height` rows from the top, each `widthBytes` long, of
// `bitsPerPixel` (16 bits 5-6-5 in a little-endian word; 24 and 32 bits blue, green, red first).
struct HxClipboardBitmap {
    int width = 0;
    int height = 0;
    int widthBytes = 0;
    int bitsPerPixel = 0;
    std::vector<BYTE> bits;
};

// A picture file's bytes (PNG, BMP, JPEG, GIF, as other programs offer pictures) as a device
// bitmap, decoded within the program's picture limits; false (and an empty bitmap) when they are
// damaged or beyond the limits.
bool HxBitmapFromPictureBytes(const QByteArray& bytes, HxClipboardBitmap& bitmap);
// The picture on Qt's clipboard, decoded the same way; null when there is none, when it is damaged
// or beyond the limits, or without a GUI application.
QImage HxGetQtClipboardPicture();

// Registers a format by name: the same name always gives the same id, ids counting from 0xC000.
// 0 for an empty name.
UINT HxRegisterClipboardFormat(const CString& name);
// The name a format id was registered with ("" for none).
CString HxGetClipboardFormatName(UINT format);

class QImage;

// What one copy offers together: blocks under registered formats, a picture and a text (each part
// may be left out).
struct HxClipboardOffer {
    std::vector<std::pair<UINT, std::vector<BYTE>>> data;
    std::shared_ptr<const QImage> picture;
    bool hasText = false;
    CString text;
};

class CClipboardBackend {
public:
    virtual ~CClipboardBackend() = default;
    // The clipboard is opened before it is read or written and closed afterwards; false when it
    // cannot be opened.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Empties the clipboard and offers the bytes under a registered format; false when refused.
    virtual bool SetData(UINT format, const std::vector<BYTE>& data) = 0;
    virtual bool IsFormatAvailable(UINT format) const = 0;
    // The bytes of a format; false when the clipboard does not offer it.
    virtual bool GetData(UINT format, std::vector<BYTE>& data) const = 0;
    // Whether the clipboard holds a picture, and the picture (false when it cannot be had).
    virtual bool HasBitmap() const = 0;
    virtual bool GetBitmap(HxClipboardBitmap& bitmap) const = 0;
    // Plain text: offering it empties the clipboard first; reading it is false when there is none.
    virtual bool SetText(const CString& text) = 0;
    virtual bool HasText() const = 0;
    virtual bool GetText(CString& text) const = 0;
    // Empties the clipboard and offers every part of the offer at once; false when refused (a
    // block under a format that was never registered).
    virtual bool SetOffer(const HxClipboardOffer& offer) = 0;
};

// A clipboard in memory: what tests and programs without a display use.  The failures of a system
// clipboard can be asked for.
class CMemoryClipboard : public CClipboardBackend {
public:
    bool Open() override;
    void Close() override { m_open = false; }
    bool SetData(UINT format, const std::vector<BYTE>& data) override;
    bool IsFormatAvailable(UINT format) const override { return m_data.count(format) != 0; }
    bool GetData(UINT format, std::vector<BYTE>& data) const override;
    bool HasBitmap() const override { return m_hasBitmap; }
    bool GetBitmap(HxClipboardBitmap& bitmap) const override;
    bool SetText(const CString& text) override;
    bool HasText() const override { return m_hasText; }
    bool GetText(CString& text) const override;
    bool SetOffer(const HxClipboardOffer& offer) override;

    // Empties the clipboard and puts a picture on it.
    void SetBitmap(const HxClipboardBitmap& bitmap);
    void Empty();
    bool IsOpen() const { return m_open; }

    bool m_openFails = false;   // Open returns false
    bool m_bitmapFails = false; // a picture is offered but cannot be had
    int m_openCount = 0;        // how often the clipboard was opened

private:
    std::map<UINT, std::vector<BYTE>> m_data;
    HxClipboardBitmap m_bitmap;
    bool m_hasBitmap = false;
    CString m_text;
    bool m_hasText = false;
    bool m_open = false;
};

// The clipboard in use: the one installed, else Qt's while a GUI application runs, else one in
// memory.
CClipboardBackend& HxGetClipboard();
// Installs a clipboard (not owned); null goes back to the default.
void HxSetClipboardBackend(CClipboardBackend* backend);
