// The factory of the view's media player, and the media files that play in music mode.
#include "view/media_player.h"

namespace {
HxMediaPlayerFactory& Factory() {
    static HxMediaPlayerFactory factory;
    return factory;
}
} // namespace

CString g_mediaPath;
bool g_mediaFullScreen = false;

void HxSetMediaPlayerFactory(HxMediaPlayerFactory factory) {
    Factory() = std::move(factory);
}

CMediaPlayer* HxCreateMediaPlayer() {
    return Factory() ? Factory()() : HxCreateQtMediaPlayer();
}

bool HxIsMusicFile(const CString& path) {
    static const char16_t* const kMusic[] = {u".mp3",  u".wav", u".au",  u".mid",
                                             u".midi", u".wma", u".tta", u".m3u"};
    const int dot = path.ReverseFind(u'.');
    if (dot < 0)
        return false;
    const CString ext = path.Mid(dot);
    for (const char16_t* m : kMusic)
        if (ext == CString(m))
            return true;
    return false;
}
