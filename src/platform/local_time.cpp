// The local clock: the system's time of day in the local time zone, or a replacement.
#include "platform/local_time.h"

#include <chrono>
#include <ctime>

namespace {
std::function<HxLocalTime()>& TimeSource() {
    static std::function<HxLocalTime()> source;
    return source;
}
} // namespace

void HxSetLocalTimeSource(std::function<HxLocalTime()> source) {
    TimeSource() = std::move(source);
}

HxLocalTime HxGetLocalTime() {
    if (TimeSource())
        return TimeSource()();
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto sinceEpoch = now.time_since_epoch();
    long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    if (ms < 0)
        ms += 1000;
    std::tm tm{};
    localtime_r(&seconds, &tm);
    HxLocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.dayOfWeek = tm.tm_wday;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.milliseconds = int(ms);
    return t;
}
