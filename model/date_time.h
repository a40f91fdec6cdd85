// Calendar arithmetic for the whole program: weekdays, month lengths, day and month stepping,
// the 1900..2999 year bounds and the fixed-width date keys written into strings. Stateless;
// nothing here touches the store, the settings or the screen.
#pragma once

#include <cstdint>
#include <string>

#include "platform/systemtime.h"

// Day numbers (whole days since 1899-12-30) of 0001-01-01 and 9999-12-31, the first and last
// day with a four-digit year; results of day arithmetic are kept between them.
constexpr int64_t kFirstKeyDayNumber = -693593;
constexpr int64_t kLastKeyDayNumber = 2958465;

// Whole days since 1899-12-30, negative before it, of the day a date rounds to (SplitDate): a
// hair below midnight is the next day.
int64_t DayNumber(DATE date);
int64_t DayNumber(const SYSTEMTIME& st);

// Weekday 0 Sunday .. 6 Saturday of a calendar date.
int DayOfWeek(int year, int month, int day);

// 28..31; 0 when the month is outside 1..12.
int DaysInMonth(int year, int month);

// A month and day without a year; 29 February counts as valid.
bool IsValidMonthDay(int month, int day);

// The integer at the start of text as the wide-text-to-long conversion reads it (leading blanks,
// a sign, then digits), 0 without digits; saturated to the int range instead of overflowing.
int TextToInt(const std::wstring& text);

// Sets hour and minute from "hhmm" or "hh:mm"; any other length, or a time outside
// 00:00..24:00, leaves st unchanged.
void ParseTimeText(const std::wstring& text, SYSTEMTIME& st);

// Year below 1900: st becomes 1 January 1900 (time kept), result -1. Year 3000 or later:
// unchanged, result 1. Otherwise 0.
int ClampYear(SYSTEMTIME& st);

// Signed whole calendar days from a to b; the time of day plays no part.
int DaysBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

// Resets the fields below level: 0 milliseconds, 1 seconds, 2 minutes, 3 hours (date only),
// 4 day, 5 month; -1 keeps everything. The day of week is recomputed.
SYSTEMTIME TruncateSystemTime(const SYSTEMTIME& st, int level);

// Steps by whole days keeping the time of day; lifted to 1900-01-01 below the supported years.
SYSTEMTIME AddDays(const SYSTEMTIME& st, int days);

// Signed whole seconds from a to b.
int64_t SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

// The date `seconds` later than date's own whole second, so the result is on a whole second.
DATE AddSeconds(DATE date, int64_t seconds);

// Steps by months; the day is lowered to the new month's length (31 January + 1 is 28/29 Feb).
SYSTEMTIME AddMonths(const SYSTEMTIME& st, int months);

// True when a is strictly earlier than b (the day of week is ignored).
bool IsEarlier(const SYSTEMTIME& a, const SYSTEMTIME& b);

// "Sunday" .. "Saturday", or "Su" .. "Sa" when shortForm; empty outside 0..6.
std::wstring WeekdayName(int weekday, bool shortForm);

// "January" .. "December" for 1..12; empty for any other month.
std::wstring MonthName(int month);

// The lowest weekday whose bit is set in mask (Sunday 1 .. Saturday 64); -1 when none is.
int WeekdayFromMask(int mask);

// "yyyy/mm/dd" and "hh:mm", the forms in which days and times of day are shown to the user.
std::wstring DayText(const SYSTEMTIME& st);
std::wstring DayText(DATE date);
std::wstring ClockText(const SYSTEMTIME& st);
std::wstring ClockText(DATE date);

// Key modes: the 14-digit time stamp "yyyymmddhhmmss" and the 8-digit day "yyyymmdd".
constexpr int kTimeStampKey = 0;
constexpr int kDayKey = 1;

// The key of date in the given mode; empty text for any other mode.
std::wstring DateToKey(DATE date, int mode);

// The date a key stands for (time 00:00:00 for a day key). A key that is too short, holds
// anything but digits where fields are read, or names no real date or time gives 0.0, the
// value the store uses for "no date".
DATE KeyToDate(const std::wstring& key, int mode);
