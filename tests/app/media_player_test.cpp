// The program's own media player: how Qt Multimedia's states read as play states, and a short PCM
// WAV file written by the test played to its end (skipped where no back end can play it, such as a
// machine without an audio device).
#include "view/media_player.h"
#include "view/media_player_qt.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// A mono 16-bit PCM WAV of `ms` milliseconds of a 440 Hz tone at 8000 samples a second.
bool WriteWav(const QString& path, int ms) {
    const int rate = 8000, samples = rate * ms / 1000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (int i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * 3.14159265358979 * 440 * i / rate));
    return out.status() == QDataStream::Ok;
}

} // namespace

TEST(MediaPlayerStates, QtStatesReadAsPlayStates) {
    using P = QMediaPlayer;
    EXPECT_EQ(HxMediaPlayStateOf(P::PlayingState, P::BufferedMedia, false, true), HX_MEDIA_PLAYING);
    EXPECT_EQ(HxMediaPlayStateOf(P::PausedState, P::BufferedMedia, false, true), HX_MEDIA_PAUSED);
    EXPECT_EQ(HxMediaPlayStateOf(P::StoppedState, P::EndOfMedia, false, true), HX_MEDIA_ENDED);
    // Stopped after it played (its own stop button): stopped; still loading before it played: ready.
    EXPECT_EQ(HxMediaPlayStateOf(P::StoppedState, P::LoadedMedia, false, true), HX_MEDIA_STOPPED);
    EXPECT_EQ(HxMediaPlayStateOf(P::StoppedState, P::LoadingMedia, false, false), HX_MEDIA_READY);
    EXPECT_EQ(HxMediaPlayStateOf(P::StoppedState, P::LoadedMedia, false, false), HX_MEDIA_READY);
    // A file that cannot be played reads stopped, so the poll closes the player.
    EXPECT_EQ(HxMediaPlayStateOf(P::StoppedState, P::InvalidMedia, false, false), HX_MEDIA_STOPPED);
    EXPECT_EQ(HxMediaPlayStateOf(P::PlayingState, P::LoadingMedia, true, false), HX_MEDIA_STOPPED);
}

TEST(MediaPlayerFiles, MusicModeBelongsToMusicExtensionsAsWritten) {
    for (const char16_t* music :
         {u"a.mp3", u"/x/b.wav", u"c.au", u"d.mid", u"e.midi", u"f.wma", u"g.tta", u"h.m3u"})
        EXPECT_TRUE(HxIsMusicFile(music)) << CString(music).ToQString().toStdString();
    for (const char16_t* video : {u"a.MP3", u"b.wmv", u"c.avi", u"d", u"/dir.mp3/e", u"f.mp3.avi"})
        EXPECT_FALSE(HxIsMusicFile(video)) << CString(video).ToQString().toStdString();
}

TEST(MediaPlayerPlayback, AShortWavPlaysToItsEnd) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    ASSERT_TRUE(WriteWav(path, 300));
    QWidget host;
    host.resize(200, 150);
    std::unique_ptr<CMediaPlayer> player(HxCreateQtMediaPlayer());
    ASSERT_TRUE(player->Create(&host, host.rect()));
    player->SetUiMode(u"Full");
    EXPECT_EQ(player->GetUiMode(), CString(u"full"));
    player->SetUrl(CString::FromQString(path));
    EXPECT_EQ(player->GetUrl(), CString::FromQString(path));
    bool played = false;
    int state = HX_MEDIA_READY;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 8000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        state = player->GetPlayState();
        played = played || state == HX_MEDIA_PLAYING;
        if (state == HX_MEDIA_ENDED || state == HX_MEDIA_STOPPED)
            break;
    }
    if (player->HasError() || !played)
        GTEST_SKIP() << "no media back end here can play a WAV file (state " << state << ")";
    EXPECT_EQ(state, HX_MEDIA_ENDED);
    player->Close();
}
