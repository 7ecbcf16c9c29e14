// The media player the view shows over the drawing: an interface of ours (the program's player plays
// through Qt Multimedia, tests script one of their own), its play states, and the factory that makes
// the player the view uses.
#pragma once

#include "platform/afx.h"

#include <QRect>
#include <qnamespace.h>

#include <functional>

class QWidget;

// What the player's play state reads (the numbers the view and its poll compare with).
enum HxMediaPlayState : int {
    HX_MEDIA_UNDEFINED = 0,
    HX_MEDIA_STOPPED = 1,
    HX_MEDIA_PAUSED = 2,
    HX_MEDIA_PLAYING = 3,
    HX_MEDIA_ENDED = 8,
    HX_MEDIA_READY = 10,
};

class CMediaPlayer {
public:
    virtual ~CMediaPlayer() = default;

    // Makes the player's window, a child of parent covering rect (parent coordinates); false when
    // it cannot be made.
    virtual bool Create(QWidget* parent, const QRect& rect) = 0;
    // The window over rect again (the view moved or changed size).
    virtual void MoveWindow(const QRect& rect) = 0;
    // Shows (video mode) or hides (music mode: the figure stays in sight and takes the mouse) the
    // window; playback goes on either way.
    virtual void ShowWindow(bool shown) = 0;

    // The file to play: setting it starts the playback.
    virtual void SetUrl(const CString& path) = 0;
    virtual CString GetUrl() const = 0;
    virtual void Close() = 0;
    // One of HxMediaPlayState.
    virtual int GetPlayState() const = 0;
    // The file could not be played (no such file, a format no installed decoder reads).
    virtual bool HasError() const = 0;

    // The controls: play and pause, a step back and forward in the file.
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Previous() = 0;
    virtual void Next() = 0;

    // The video fills the window (true) or keeps its proportions.
    virtual void SetStretchToFit(bool stretch) = 0;
    virtual bool GetFullScreen() const = 0;
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual void SetEnableContextMenu(bool enable) = 0;
    // "none" (the picture alone) or "full" (with the control bar); read back in lower case.
    virtual CString GetUiMode() const = 0;
    virtual void SetUiMode(const CString& mode) = 0;

    // Mouse presses on the player's window (at a screen point; right is the right button) and keys
    // pressed while it has the keyboard (in full screen).
    std::function<void(QPoint globalPoint, bool right)> m_onPress;
    std::function<void(int key, Qt::KeyboardModifiers modifiers)> m_onKey;
};

// Makes the player the view shows; tests install their own.  Null restores the program's.
using HxMediaPlayerFactory = std::function<CMediaPlayer*()>;
void HxSetMediaPlayerFactory(HxMediaPlayerFactory factory);
// A new player from the factory installed (the program's own without one); null when none can be
// made.
CMediaPlayer* HxCreateMediaPlayer();

// The program's own player, through Qt Multimedia.
CMediaPlayer* HxCreateQtMediaPlayer();

// The file last handed to the player.
extern CString g_mediaPath;
// Set while the player plays in full screen (the playback settings put it there).
extern bool g_mediaFullScreen;

// Music mode belongs to these extensions (compared as written: ".MP3" is not one of them).
bool HxIsMusicFile(const CString& path);
