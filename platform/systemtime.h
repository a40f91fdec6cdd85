// The broken-down calendar time and the day-count date the store speaks in, with the exact
// conversions between them. These stand in for the automation date functions of the handheld.
#pragma once

#include <cstdint>

// Days since 1899-12-30 00:00; the fraction is the time of day (0.5 is noon).
using DATE = double;

struct SYSTEMTIME {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;  // 0 Sunday .. 6 Saturday
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

// The time of day of a date in whole seconds, 0..86399, rounded as VariantTimeToSystemTime
// rounds it (a time that rounds up to midnight is 0 of the next day).
int32_t SecondsOfDay(DATE date);

// Convenience for callers that build a SYSTEMTIME from fields.
SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
