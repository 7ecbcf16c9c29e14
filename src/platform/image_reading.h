// Pictures from bytes, held to one set of limits whatever their kind or source (textures, inserted
// pictures, the clipboard): BMP, JPEG and PNG through Qt's readers, GIF through giflib frame by frame.
#pragma once

#include "platform/cstring.h"

#include <QByteArray>
#include <QImage>

// Error codes reported with a failed load, in the Windows manner.
constexpr DWORD HX_E_FAIL = 0x80004005;
constexpr DWORD HX_E_FILE_NOT_FOUND = 0x80070002;
constexpr DWORD HX_E_ACCESS_DENIED = 0x80070005;
constexpr DWORD HX_E_OUT_OF_MEMORY = 0x8007000E;

// Why a picture could not be had or saved.  Every failure reaches the user as its Chinese reason
// after the error code; no library's own (English) text is shown.
enum class HxImageFailure {
    NotFound,          // 找不到文件
    NotRegularFile,    // 不是普通文件: a folder, a pipe, a device
    CannotOpen,        // 无法打开文件
    CannotRead,        // 无法读取文件
    TooLarge,          // 图象太大
    UnsupportedFormat, // 不支持的图象格式
    Damaged,           // 图象文件已损坏
    OutOfMemory,       // 内存不足
    // Saving.
    Empty,            // 图象为空: no picture to save
    FolderNotFound,   // 找不到文件夹: the folder to save in is missing
    AccessDenied,     // 没有写入权限: a read-only file or folder
    DiskFull,         // 磁盘已满: the disk, or the size a file may have, is used up
    TooManyOpenFiles, // 打开的文件太多
    CannotWrite,      // 写入文件失败
    CannotEncode,     // 图象编码失败: the encoder gave up on the picture
};
CString HxImageFailureReason(HxImageFailure failure);
// The reason of a giflib error code: D_GIF_ERR_* of reading, E_GIF_ERR_* of writing.  A code giflib
// does not define reads "GIF图象已损坏" (or "写入GIF文件失败" in the range of the writer's codes).
CString HxGifErrorReason(int gifError);

// The largest picture the program takes: 16384 pixels a side and 64 Mi pixels in all (256 MiB at
// four bytes a pixel).  A GIF frame counts against the same limits before a pixel of it is decoded.
constexpr long long kHxMaxImageSide = 16384;
constexpr long long kHxMaxImagePixels = 64LL * 1024 * 1024;
// Picture files larger than this are refused unread.
constexpr long long kHxMaxImageFileBytes = kHxMaxImagePixels * 4 + (1 << 20);

bool HxImageSizeAllowed(long long width, long long height);

// What a decode cost, counted by the decoder itself: the most bytes of pixel buffers it held at once
// and the pixels it decoded.
struct HxImageCost {
    long long peakBytes = 0;
    long long pixelsDecoded = 0;
};

// The picture held in `data` (the first frame of an animated GIF), the kind told by the content.
// On failure `image` is null and `errorCode` and `errorText` say why: HX_E_OUT_OF_MEMORY for a
// picture beyond the limits, HX_E_FAIL for a damaged or unknown one.  Never crashes.
bool HxLoadImageData(const QByteArray& data, QImage& image, DWORD& errorCode, CString& errorText,
                     HxImageCost* cost = nullptr);
