// The local date and time as the program reads it (year down to milliseconds, day of the week),
// from the system clock or from a source that tests put in its place.
#pragma once

#include <functional>

struct HxLocalTime {
    int year = 0;
    int month = 1;     // 1 to 12
    int dayOfWeek = 0; // 0 Sunday to 6 Saturday
    int day = 1;       // of the month
    int hour = 0;      // 0 to 23
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

// The current local time, from the source set below or else from the system clock.
HxLocalTime HxGetLocalTime();
// Replaces the clock (an empty function gives the system clock back).
void HxSetLocalTimeSource(std::function<HxLocalTime()> source);
