// The view's picture commands without their window: texture replacement, picture files inserted as
// picture items, and clipboard pictures of dark text pasted as bitmap texts.
#include "view/picture_commands.h"

#include "construct/construction.h"
#include "document/clipboard_picture.h"
#include "document/halvix_doc.h"
#include "document/option_ids.h"
#include "document/undo_cmds.h"
#include "measure/text_items.h"
#include "model/vertex.h"
#include "platform/clipboard.h"
#include "view/image_loading.h"
#include "view/picture_export.h"
#include "view/texture_loading.h"
#include "view/view_settings.h"

#include <QPainter>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDlgReTextext, CDialog)

const char16_t* const g_pictureFileFilter =
    u"所有图片文件|*.bmp;*.dib;*.rle;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.tif;*.tiff;*.png|BMP "
    u"(*.bmp;*.dib;*.rle)|*.bmp;"
    u"*.dib;*.rle|JPEG (*.jpg;*.jpeg;*.jpe;*.jfif)|*.jpg;*.jpeg;*.jpe;*.jfif|GIF (*.gif)|*.gif|TIFF "
    u"(*.tif;*.tiff)|*."
    u"tif;*.tiff|PNG (*.png)|*.png||";

BOOL CDlgReTextext::Browse() {
    CFileDialog dialog(TRUE, CString(), CString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, g_pictureFileFilter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    m_path = dialog.GetPathName();
    m_builtIn = FALSE;
    return TRUE;
}

void CDlgReTextext::RestoreBuiltIn() {
    m_path = HxInstallImagePath(std::clamp(m_texture, 0, 2) + 1);
    m_builtIn = TRUE;
}

bool HxReadPictureFile(const CString& path, int* width, int* height, std::vector<BYTE>& pixels,
                       CString* message) {
    pixels.clear();
    auto fail = [message](const CString& text) {
        if (message)
            *message = text;
        return false;
    };
    QImage image;
    DWORD code = 0;
    CString why;
    if (!HxLoadImageFile(path, image, code, why))
        return fail(HxFormat(u"打开图象文件失败:\n%x - %s", code, why));
    // Transparent parts are shown on white, as the picture reads in most programs.
    if (image.hasAlphaChannel()) {
        QImage onWhite(image.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, image);
        painter.end();
        image = onWhite;
    }
    if (HxImageBitsPerPixel(image) < 24 && !MakeTrueColourImage(image))
        return fail(u"打开图象文件失败，请使用真彩色图！");
    const int bits = HxImageBitsPerPixel(image);
    if (image.isNull() || image.width() <= 0 || image.height() <= 0 || (bits != 24 && bits != 32))
        return fail(u"打开图象文件失败，请使用24位或32位真彩图！");
    pixels = HxPictureRows(image);
    if (pixels.empty())
        return fail(u"打开图象文件失败，请使用24位或32位真彩图！");
    *width = image.width();
    *height = image.height();
    return true;
}

BOOL HxReplaceTexture(CHalvixDoc* doc) {
    CDlgReTextext dialog;
    if (dialog.DoModal() != IDOK || dialog.m_path.IsEmpty())
        return FALSE;
    if (!LoadTextureImage(std::clamp(dialog.m_texture, 0, 2), dialog.m_path, dialog.m_builtIn != FALSE))
        return FALSE;
    if (doc)
        doc->SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL HxInsertPictureFile(CHalvixDoc* doc) {
    CFileDialog dialog(TRUE, CString(), CString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, g_pictureFileFilter);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    int width = 0, height = 0;
    std::vector<BYTE> pixels;
    CString message;
    if (!HxReadPictureFile(dialog.GetPathName(), &width, &height, pixels, &message)) {
        AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    return doc ? doc->InsertImage(width, height, std::move(pixels), kUndoInsertPicture) : FALSE;
}

bool HxCanPasteBitmapText() {
    return HxGetClipboard().HasBitmap();
}

BOOL HxPasteBitmapText(CHalvixDoc* doc) {
    CGPage* page = g_pCurPage;
    if (!doc || !page)
        return FALSE;
    int width = 0, height = 0;
    std::vector<BYTE> bits = ClipboardBitmapToMonochrome(&width, &height);
    if (bits.empty()) {
        AfxMessageBox(u"无法获取图象数据，不能构造图文！可能是因为文字是白色的，建议改为深色。",
                      MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    if (!page->CanTakeIds(1)) {
        AfxMessageBox(g_pageFullMessage, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    const CGCell* point = page->m_selPoints.IsEmpty() ? nullptr : page->FindCell(page->m_selPoints.GetHead());
    CGTextbit* text = nullptr;
    if (point && point->IsKindOf(RUNTIME_CLASS(CGVertex)))
        text = new CGTbHenchman(page->m_nextId, width, height, std::move(bits), point->m_id);
    else
        text = new CGTextbit(page->m_nextId, width, height, std::move(bits));
    ++page->m_nextId;
    page->m_cells.SetAt(text->m_id, text);
    text->m_kind = 0;
    page->m_cmdProcessor.Submit(new CCmdAddCell(u"粘贴图形文本"));
    doc->SetModifiedFlag(TRUE);
    return TRUE;
}
