// The idle hook over QAbstractEventDispatcher::aboutToBlock.
#include "app/idle_hook.h"

#include <QAbstractEventDispatcher>
#include <QThread>

HxIdleHook::HxIdleHook(std::function<void()> onIdle, QObject* parent)
    : QObject(parent), m_onIdle(std::move(onIdle)) {
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(QThread::currentThread()))
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &HxIdleHook::RunNow);
}

HxIdleHook::~HxIdleHook() = default;

void HxIdleHook::RunNow() {
    if (m_running)
        return;
    m_running = true;
    ++m_runs;
    m_onIdle();
    m_running = false;
}
