// How the Qt Multimedia player's states read as the play states the view compares with.
#pragma once

#include <QMediaPlayer>

// A playing or paused player reads playing or paused; a stopped one reads ended at the end of the
// file, stopped after an error or once it has played, and ready while its file is still loading.
int HxMediaPlayStateOf(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status, bool error,
                       bool hasPlayed);
