// The view's media commands: the page's media file opened and played over the drawing in video or
// music mode, the playback settings (full screen with the control bar), the switch between the two
// modes, closing, the poll that closes the player when the playback has stopped or ended, and what
// a click and the arrow keys do while it plays.
#include "view/halvix_view.h"

#include "document/halvix_doc.h"
#include "model/page.h"
#include "view/media_player.h"
#include "view/view_globals.h"
#include "view/view_ids.h"

#include <QFileInfo>

namespace {

constexpr int kInfoPane = 0;

const char16_t* const kMediaFilter = u"媒体文件|*.mp3;*.rmvb;*.rm;*.jpg;*.mpeg;*.mpg;*.avi;*.wma;*.wmv;*.wav;"
                                     u"*au;*.mid;*.midi;*.asf;*.wm;*.tta;"
                                     u"*.dvr-ms;*.asx;*wax;*.m3u;*.wpl;*.swf|所有文件|*.*||";

bool CanReadFile(const CString& path) {
    const QFileInfo info(path.ToQString());
    return info.isFile() && info.isReadable();
}

// The name of a path after its last "\" or "/".
CString NameOf(const CString& path) {
    const int cut = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
    return path.Mid(cut + 1);
}

// The folder of a path up to and with its last "\" or "/" (empty without one).
CString FolderOf(const CString& path) {
    const int cut = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
    return cut < 0 ? CString() : path.Left(cut + 1);
}

} // namespace

QRect CHalvixView::MediaRect(QWidget** host) const {
    QWidget* top = window();
    if (host)
        *host = const_cast<QWidget*>(top);
    if (top == this)
        return rect();
    return QRect(mapTo(top, QPoint(0, 0)), size());
}

void CHalvixView::MoveMediaWindow() {
    if (!g_pMediaPlayer)
        return;
    g_traceImageEmpty = 1;
    g_pMediaPlayer->MoveWindow(MediaRect(nullptr));
}

void CHalvixView::moveEvent(QMoveEvent* event) {
    QOpenGLWidget::moveEvent(event);
    MoveMediaWindow();
}

void CHalvixView::OnMediaPlay() {
    CGPage* page = g_pCurPage;
    if (!page)
        return;
    CString path = page->m_mediaFile;
    bool choose = (g_pMediaPlayer && path == g_mediaPath) || path.GetLength() <= 3;
    if (!choose && !CanReadFile(path)) {
        // A page whose file moved along with the document finds it beside the document.
        const CString folder = m_pDocument ? FolderOf(m_pDocument->GetPathName()) : CString();
        const CString beside = folder + NameOf(path);
        if (!folder.IsEmpty() && CanReadFile(beside)) {
            path = beside;
        } else {
            AfxMessageBox(HxFormat(u"原来设定的影音文件:\n“ %s ”未找到，请重新选择！", page->m_mediaFile));
            choose = true;
        }
    }
    if (choose) {
        CFileDialog dialog(TRUE, CString(), CString(), OFN_HIDEREADONLY | OFN_EXPLORER, kMediaFilter);
        if (dialog.DoModal() != IDOK || dialog.GetPathName().IsEmpty())
            return;
        path = dialog.GetPathName();
        page->m_mediaFile = path;
        SetModified();
    }
    HxSetStatusText(kInfoPane, u"正在打开，请稍候！");
    if (!g_pMediaPlayer) {
        CMediaPlayer* player = HxCreateMediaPlayer();
        RenderScene();
        QWidget* host = nullptr;
        const QRect area = MediaRect(&host);
        if (!player || !player->Create(host, area)) {
            delete player;
            AfxMessageBox(u"不能播放此媒体！");
            return;
        }
        g_pMediaPlayer = player;
        // Presses on the player's window are presses on the drawing it covers; the right button
        // does nothing while it shows.
        player->m_onPress = [this](QPoint global, bool right) {
            if (!right)
                OnLButtonDown(MK_LBUTTON, ClientPoint(QPointF(mapFromGlobal(global))));
        };
        player->m_onKey = [this](int key, Qt::KeyboardModifiers) { OnMediaKey(key); };
        player->SetUiMode(u"None");
        player->SetEnableContextMenu(false);
        SetTimer(kMediaTimer, 1000);
    }
    g_pMediaPlayer->SetUrl(path);
    HxSetStatusText(kInfoPane, u"ESC：退出全屏或关闭影音;上下方向键：视频伸展;");
    g_mediaPath = path;
    m_mediaShown = HxIsMusicFile(path) ? 0 : 1;
    g_pMediaPlayer->ShowWindow(m_mediaShown != 0);
}

void CHalvixView::OnMediaSettings() {
    CMediaPlayer* player = g_pMediaPlayer;
    if (!player || player->GetFullScreen())
        return;
    if (player->GetUiMode() != CString(u"full")) {
        player->SetUiMode(u"Full");
        player->SetFullScreen(true);
        g_mediaFullScreen = true;
    } else {
        player->SetUiMode(u"None");
    }
}

void CHalvixView::OnToggleMediaControl() {
    m_mediaShown = m_mediaShown ? 0 : 1;
    if (g_pMediaPlayer)
        g_pMediaPlayer->ShowWindow(m_mediaShown != 0);
    AfxMessageBox(m_mediaShown ? u"现在鼠标用以操作播放器（视频模式），按ESC键关闭播放器！"
                               : u"现在鼠标用以操作图形（音乐模式），按ESC键关闭播放器！");
}

void CHalvixView::OnUpdateMediaControl(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pMediaPlayer != nullptr);
    pCmdUI->SetCheck(g_pMediaPlayer && m_mediaShown ? 1 : 0);
}

void CHalvixView::OnUpdateMediaClose(CCmdUI* pCmdUI) {
    pCmdUI->Enable(g_pMediaPlayer != nullptr);
}

void CHalvixView::CloseMedia() {
    CMediaPlayer* player = g_pMediaPlayer;
    if (!player)
        return;
    g_pMediaPlayer = nullptr;
    player->Close();
    delete player;
    if (IsTimerSet(kMediaTimer))
        KillTimer(kMediaTimer);
    g_mediaFullScreen = false;
    RenderScene();
}

void CHalvixView::PollMedia() {
    CMediaPlayer* player = g_pMediaPlayer;
    if (!player)
        return;
    const int state = player->GetPlayState();
    if (state != HX_MEDIA_STOPPED && state != HX_MEDIA_ENDED)
        return;
    // A file no decoder could read stops at once: say so rather than close without a word.
    const bool failed = player->HasError();
    CloseMedia();
    if (failed)
        AfxMessageBox(u"不能播放此媒体！");
}

bool CHalvixView::MediaClick() {
    CMediaPlayer* player = g_pMediaPlayer;
    if (!player || !m_mediaShown)
        return false;
    switch (player->GetPlayState()) {
    case HX_MEDIA_PAUSED:
        player->Play();
        HxSetStatusText(kInfoPane, u"正在播放影音，单击暂停，“ESC”键关闭");
        break;
    case HX_MEDIA_PLAYING:
        player->Pause();
        HxSetStatusText(kInfoPane, u"暂停播放，单击继续，“ESC”键关闭");
        break;
    case HX_MEDIA_READY:
        AfxMessageBox(u"请稍等…，如不能播放，请按“影音播放”按钮打开另一文件！");
        break;
    default:
        break;
    }
    return true;
}

bool CHalvixView::MediaArrowKey(bool left, bool right, bool up) {
    CMediaPlayer* player = g_pMediaPlayer;
    if (!player)
        return false;
    if (left)
        player->Previous();
    else if (right)
        player->Next();
    else
        player->SetStretchToFit(up);
    return true;
}

void CHalvixView::OnMediaKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        MediaArrowKey(true, false, false);
        break;
    case Qt::Key_Right:
        MediaArrowKey(false, true, false);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        MediaArrowKey(false, false, key == Qt::Key_Up);
        break;
    case Qt::Key_Escape:
        AfxGetCommandRouter().Execute(ID_VIEW_ESCAPE);
        break;
    case Qt::Key_F4:
        AfxGetCommandRouter().Execute(ID_VIEW_FULLSCREEN);
        break;
    default:
        break;
    }
}
