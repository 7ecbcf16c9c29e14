// The program's media player: a QMediaPlayer with its audio output, its picture in a QVideoWidget
// inside a window of ours over the drawing view, and a small control bar in the "full" mode.
#include "view/media_player_qt.h"

#include "view/media_player.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

int HxMediaPlayStateOf(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status, bool error,
                       bool hasPlayed) {
    if (error || status == QMediaPlayer::InvalidMedia)
        return HX_MEDIA_STOPPED;
    switch (state) {
    case QMediaPlayer::PlayingState:
        return HX_MEDIA_PLAYING;
    case QMediaPlayer::PausedState:
        return HX_MEDIA_PAUSED;
    case QMediaPlayer::StoppedState:
        break;
    }
    if (status == QMediaPlayer::EndOfMedia)
        return HX_MEDIA_ENDED;
    return hasPlayed ? HX_MEDIA_STOPPED : HX_MEDIA_READY;
}

namespace {

constexpr qint64 kSkipMs = 5000;

class CQtMediaPlayer;

// The player's window: the picture, and the control bar below it in the "full" mode.  Presses and
// keys go to the player's handlers; it never takes the focus from the view.
class CMediaWindow : public QWidget {
public:
    explicit CMediaWindow(CQtMediaPlayer* owner, QWidget* parent);
    QVideoWidget* m_video = nullptr;
    QWidget* m_bar = nullptr;
    QToolButton* m_playButton = nullptr;
    QSlider* m_position = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }

private:
    CQtMediaPlayer* m_owner;
};

class CQtMediaPlayer : public CMediaPlayer {
public:
    CQtMediaPlayer() {
        m_player.setAudioOutput(&m_audio);
        QObject::connect(&m_player, &QMediaPlayer::playbackStateChanged,
                         [this](QMediaPlayer::PlaybackState s) {
                             if (s == QMediaPlayer::PlayingState)
                                 m_hasPlayed = true;
                             UpdateBar();
                         });
        QObject::connect(
            &m_player, &QMediaPlayer::errorOccurred,
            [this](QMediaPlayer::Error e, const QString&) { m_error = e != QMediaPlayer::NoError; });
        QObject::connect(&m_player, &QMediaPlayer::durationChanged, [this](qint64) { UpdateBar(); });
        QObject::connect(&m_player, &QMediaPlayer::positionChanged, [this](qint64) { UpdateBar(); });
    }
    ~CQtMediaPlayer() override {
        m_player.stop();
        m_player.setVideoOutput(nullptr);
        delete m_window.data();
    }

    bool Create(QWidget* parent, const QRect& rect) override {
        if (!parent)
            return false;
        m_window = new CMediaWindow(this, parent);
        m_player.setVideoOutput(m_window->m_video);
        m_rect = rect;
        m_window->setGeometry(rect);
        m_window->show();
        m_window->raise();
        return true;
    }
    void MoveWindow(const QRect& rect) override {
        m_rect = rect;
        if (m_window && !m_fullScreen)
            m_window->setGeometry(rect);
    }
    void ShowWindow(bool shown) override {
        m_shown = shown;
        if (!m_window || m_fullScreen)
            return;
        m_window->setVisible(shown);
        if (shown)
            m_window->raise();
    }

    void SetUrl(const CString& path) override {
        m_url = path;
        m_error = false;
        m_hasPlayed = false;
        m_player.setSource(QUrl::fromLocalFile(path.ToQString()));
        m_player.play();
    }
    CString GetUrl() const override { return m_url; }
    void Close() override {
        SetFullScreen(false);
        m_player.stop();
        m_player.setSource(QUrl());
    }
    int GetPlayState() const override {
        return HxMediaPlayStateOf(m_player.playbackState(), m_player.mediaStatus(), m_error, m_hasPlayed);
    }
    bool HasError() const override { return m_error; }

    void Play() override { m_player.play(); }
    void Pause() override { m_player.pause(); }
    void Previous() override { m_player.setPosition(std::max<qint64>(0, m_player.position() - kSkipMs)); }
    void Next() override {
        const qint64 end = m_player.duration();
        const qint64 to = m_player.position() + kSkipMs;
        m_player.setPosition(end > 0 ? std::min(to, end) : to);
    }

    void SetStretchToFit(bool stretch) override {
        if (m_window)
            m_window->m_video->setAspectRatioMode(stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
    }
    bool GetFullScreen() const override { return m_fullScreen; }
    void SetFullScreen(bool fullScreen) override {
        if (!m_window || fullScreen == m_fullScreen)
            return;
        m_fullScreen = fullScreen;
        if (fullScreen) {
            m_window->setWindowFlags(m_window->windowFlags() | Qt::Window);
            m_window->showFullScreen();
            m_window->activateWindow();
            m_window->setFocus();
        } else {
            m_window->setWindowFlags(m_window->windowFlags() & ~Qt::Window);
            m_window->setGeometry(m_rect);
            m_window->setVisible(m_shown);
            if (m_shown)
                m_window->raise();
        }
    }
    void SetEnableContextMenu(bool enable) override { m_contextMenu = enable; }
    CString GetUiMode() const override { return m_uiFull ? CString(u"full") : CString(u"none"); }
    void SetUiMode(const CString& mode) override {
        m_uiFull = mode.ToQString().compare(QStringLiteral("full"), Qt::CaseInsensitive) == 0;
        if (m_window)
            m_window->m_bar->setVisible(m_uiFull);
    }

    void UpdateBar() {
        if (!m_window)
            return;
        m_window->m_playButton->setText(m_player.playbackState() == QMediaPlayer::PlayingState
                                            ? QStringLiteral("暂停")
                                            : QStringLiteral("播放"));
        const QSignalBlocker block(m_window->m_position);
        m_window->m_position->setRange(0, int(std::min<qint64>(m_player.duration(), INT_MAX)));
        m_window->m_position->setValue(int(std::min<qint64>(m_player.position(), INT_MAX)));
    }
    void TogglePlay() {
        if (m_player.playbackState() == QMediaPlayer::PlayingState)
            m_player.pause();
        else
            m_player.play();
    }
    void Seek(int ms) { m_player.setPosition(ms); }

private:
    QMediaPlayer m_player;
    QAudioOutput m_audio;
    QPointer<CMediaWindow> m_window;
    QRect m_rect;
    CString m_url;
    bool m_error = false;
    bool m_hasPlayed = false;
    bool m_fullScreen = false;
    bool m_shown = true;
    bool m_uiFull = false;
    bool m_contextMenu = true;
};

CMediaWindow::CMediaWindow(CQtMediaPlayer* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setObjectName(QStringLiteral("MediaPlayer"));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_video = new QVideoWidget(this);
    m_video->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_video, 1);
    m_bar = new QWidget(this);
    m_bar->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(m_bar);
    row->setContentsMargins(4, 2, 4, 2);
    m_playButton = new QToolButton(m_bar);
    m_playButton->setFocusPolicy(Qt::NoFocus);
    m_position = new QSlider(Qt::Horizontal, m_bar);
    m_position->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_playButton);
    row->addWidget(m_position, 1);
    layout->addWidget(m_bar);
    m_bar->hide();
    connect(m_playButton, &QToolButton::clicked, this, [this] { m_owner->TogglePlay(); });
    connect(m_position, &QSlider::sliderMoved, this, [this](int ms) { m_owner->Seek(ms); });
}

void CMediaWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (m_owner->m_onPress) {
        m_owner->m_onPress(event->globalPosition().toPoint(), event->button() == Qt::RightButton);
    }
}

void CMediaWindow::keyPressEvent(QKeyEvent* event) {
    if (m_owner->m_onKey) {
        event->accept();
        m_owner->m_onKey(event->key(), event->modifiers());
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace

CMediaPlayer* HxCreateQtMediaPlayer() {
    return new CQtMediaPlayer();
}
