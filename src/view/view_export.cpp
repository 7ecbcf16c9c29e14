// The view's pictures: the figure cropped out of the frame, Save As of the document or of the figure
// as a picture, and the figure or a region copied to the clipboard.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "view/picture_export.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <QWidget>

namespace {
constexpr UINT_PTR kAnimationTimer = 1;
const char16_t* const kSaveAsFilter = u"Halvix文档(*.hvx)|*.hvx|图片文件(*.bmp)|*.bmp|图片文件(*.jpg)|*.jpg|"
                                      u"图片文件(*.gif)|*.gif|图片文件(*.png)|*.png||";
} // namespace

QImage CHalvixView::ReadFrameBox(int left, int bottom, int width, int height) {
    if (width <= 0 || height <= 0 || !MakeContextCurrent())
        return QImage();
    QImage box(width, height, QImage::Format_RGBA8888);
    if (box.isNull())
        return QImage();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(left, bottom, width, height, GL_RGBA, GL_UNSIGNED_BYTE, box.bits());
    // The rows came bottom-up; the alpha of the frame is not part of the picture.
    return box.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

bool CHalvixView::GrabViewImage(int* left, int* right, int* top, int* bottom) {
    if (!context() || !IsCreated())
        return false;
    RenderSceneNow();
    if (!MakeContextCurrent())
        return false;
    const int w = g_clientWidth, h = g_clientHeight;
    std::vector<BYTE> frame;
    try {
        frame.resize(size_t(w) * size_t(h) * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    BYTE background[3];
    HxBackgroundBytes(background);
    return HxFindFigureBox(frame.data(), w, h, background, left, right, top, bottom);
}

QImage CHalvixView::CaptureClientRect(const CRect& rect) {
    CRect r = rect;
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return QImage();
    if (r.left >= 0 && r.top >= 0 && r.right <= g_clientWidth && r.bottom <= g_clientHeight && context()) {
        RenderSceneNow();
        return ReadFrameBox(r.left, g_clientHeight - r.bottom, r.Width(), r.Height());
    }
    const double ratio = devicePixelRatioF();
    const QPoint topLeft = mapToGlobal(QPoint(int(r.left / ratio), int(r.top / ratio)));
    return CaptureWindowRect(CRect(topLeft.x(), topLeft.y(), topLeft.x() + int(r.Width() / ratio),
                                   topLeft.y() + int(r.Height() / ratio)));
}

void CHalvixView::OnCopyFullImage() {
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!GrabViewImage(&left, &right, &top, &bottom))
        return;
    CRect rect(left, g_clientHeight - top, right, g_clientHeight - bottom);
    rect.NormalizeRect();
    const QImage bitmap = CaptureClientRect(rect);
    if (bitmap.isNull())
        return;
    HxCopyBitmapToClipboard(bitmap);
}

void CHalvixView::OnUpdateCopyFullImage(CCmdUI* ui) {
    ui->Enable(g_pCurPage != nullptr && IsCreated());
}

void CHalvixView::OnUpdateFileSaveAs(CCmdUI* ui) {
    ui->Enable(m_pDocument != nullptr);
}

void CHalvixView::OnFileSaveAs() {
    if (!m_pDocument)
        return;
    // The view animation stops while the dialog is up.
    if (IsTimerSet(kAnimationTimer))
        KillTimer(kAnimationTimer);
    CString proposed = m_pDocument->GetPathName();
    proposed = proposed.IsEmpty() ? CString() : proposed.Left(std::max(0, proposed.GetLength() - 4));
    CFileDialog dlg(FALSE, u"hvx", proposed, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER,
                    kSaveAsFilter);
    // A name without the chosen type's extension gets it appended: the dialog does it, so that it
    // asks about the file written.  A picture's is compared case-sensitively ("a.txt" as BMP is
    // "a.txt.bmp", "A.BMP" is "A.BMP.bmp"), the document's ignoring case ("课件.HVX" stays).
    dlg.m_bAlwaysAddTypeExt = TRUE;
    dlg.m_nDocumentType = 1;
    if (dlg.DoModal() != IDOK)
        return;
    // A type index outside the list still writes the type it is taken for.
    const int type = std::clamp(dlg.m_nFilterIndex, 1, 5);
    const CString path = dlg.GetSavePath(dlg.GetPathName(), type);
    if (type == 1) {
        m_pDocument->DoSave(path, TRUE);
        return;
    }
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!GrabViewImage(&left, &right, &top, &bottom)) {
        AfxMessageBox(u"当前显示区图形不可见！");
        return;
    }
    const QImage picture = ReadFrameBox(left, bottom, right - left, top - bottom);
    CString error;
    if (!HxSavePicture(picture, path, &error))
        AfxMessageBox(error);
}
