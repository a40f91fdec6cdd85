// The broken-down calendar time and the day-count date the store speaks in, with the exact
// conversions between them. These stand in for the automation date functions of the handheld.
#pragma once

#include <cstdint>

// Days since 1899-12-30 00:00; the fraction is the time of day (0.5 is noon).
using DATE = double;

struct SYSTEMTIME {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0; // 0 Sunday .. 6 Saturday
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// Proleptic Gregorian, second resolution. The day-of-week and millisecond fields are ignored.
DATE SystemTimeToVariantTime(const SYSTEMTIME& st);

// Fills the day of week; milliseconds are 0. The time is rounded to the nearest second.
SYSTEMTIME VariantTimeToSystemTime(DATE date);

// A date as the day and the second of that day it rounds to: the one rounding that decides both
// the day and the time of day everywhere. A time that rounds up to midnight is second 0 of the
// next day, so 46366.999999999993 is day 46367 at 00:00:00.
struct DayAndSeconds {
    int64_t day = 0;     // whole days since 1899-12-30, negative before it
    int32_t seconds = 0; // 0..86399
};
DayAndSeconds SplitDate(DATE date);

// The date `seconds` after the start of `day`; seconds may be negative or exceed one day.
DATE JoinDate(int64_t day, int64_t seconds);

// The time of day of a date in whole seconds, 0..86399 (SplitDate's seconds).
int32_t SecondsOfDay(DATE date);

// Convenience for callers that build a SYSTEMTIME from fields.
SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
