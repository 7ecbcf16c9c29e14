// The idle hook: runs a callback each time the event loop is about to wait for events, as the frame
// refreshes its command states when the program goes idle.  A pass that changes nothing posts no
// events, so the loop then sleeps until the next input.
#pragma once

#include <QObject>

#include <functional>

class HxIdleHook : public QObject {
    Q_OBJECT
public:
    explicit HxIdleHook(std::function<void()> onIdle, QObject* parent = nullptr);
    ~HxIdleHook() override;
    // Runs the callback now (and after a change that must show at once).
    void RunNow();
    int GetRunCount() const { return m_runs; }

private:
    std::function<void()> m_onIdle;
    bool m_running = false;
    int m_runs = 0;
};
