// MessageBeep and Sleep through replaceable handlers.
#include "platform/beep.h"

#include <chrono>
#include <thread>

namespace {
std::function<void(UINT)>& BeepHandler() {
    static std::function<void(UINT)> handler;
    return handler;
}
std::function<void(DWORD)>& SleepHandler() {
    static std::function<void(DWORD)> handler;
    return handler;
}
} // namespace

void MessageBeep(UINT type) {
    if (BeepHandler())
        BeepHandler()(type);
}

void HxSetBeepHandler(std::function<void(UINT type)> handler) {
    BeepHandler() = std::move(handler);
}

void Sleep(DWORD ms) {
    if (SleepHandler())
        SleepHandler()(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void HxSetSleepHandler(std::function<void(DWORD ms)> handler) {
    SleepHandler() = std::move(handler);
}
