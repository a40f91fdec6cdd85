// The recurrence rules: whether a pattern has an occurrence on a given day and which day its
// next occurrence falls on. Pure functions over the plain pattern values; OccurrenceOnDay is
// also the occurrence rule handed to the store, so the store and the document always agree.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/pim/recurrence_fields.h"
#include "platform/systemtime.h"

// RecurrenceType values (4 is not used).
constexpr int32_t kRecursDaily = 0;
constexpr int32_t kRecursWeekly = 1;
constexpr int32_t kRecursMonthly = 2;
constexpr int32_t kRecursMonthNth = 3;
constexpr int32_t kRecursYearly = 5;
constexpr int32_t kRecursYearNth = 6;

// Results of OccurrenceOnDay.
constexpr int kNoOccurrence = 0;
constexpr int kOneDayStarts = 1;
constexpr int kLongerStarts = 2;
constexpr int kMiddleDay = 3;
constexpr int kLastDay = 4;

// True when weekday (0 Sunday .. 6 Saturday) has its bit in mask; false above 6 or below 0.
bool IsWeekdayInMask(int weekday, int mask);

// The day of the nth weekday of a month; n 5 is the last one. 0 when there is no such day
// (n outside 1..5, weekday outside 0..6, month outside 1..12).
int NthWeekdayOfMonth(int year, int month, int n, int weekday);

// The day rule of the monthly and yearly types: DayOfMonth (lowered to the month's length),
// or Instance and DayOfWeekMask; the yearly types also need MonthOfYear. Other types: false.
bool MatchesMonthPattern(const pim::RecurrenceFields& pattern, const SYSTEMTIME& date);

// Days after the start day that an occurrence starting at the time of day of startTime and
// lasting durationMinutes still covers. With allDay, an end exactly at midnight does not count.
int DaysSpanned(DATE startTime, int64_t durationMinutes, bool allDay);

// kNoOccurrence .. kLastDay for the calendar day of `day`. A negative durationOverride uses the
// pattern's Duration. Has exactly the store's pim::OccurrenceRule signature.
int OccurrenceOnDay(const pim::RecurrenceFields& pattern, const SYSTEMTIME& day,
                    int32_t durationOverride);
// The same for a day number (see DayNumber), for callers that walk many days.
int OccurrenceOnDayNumber(const pim::RecurrenceFields& pattern, int64_t target,
                          int32_t durationOverride);

// The local start of the occurrence that starts on local day `day` (a day number), or empty.
// For a zoned pattern the occurrence is found among the zone's days and converted.
std::optional<DATE> OccurrenceStartOnDay(const pim::RecurrenceFields& pattern, int64_t day);

// The local start of an occurrence on the pattern's own day `day` (a day number; a zoned
// pattern's days are its zone's), whether or not one starts there; empty when the zone cannot
// say.
std::optional<DATE> LocalStartOfPatternDay(const pim::RecurrenceFields& pattern, int64_t day);

// A zoned pattern as the editors show it, in local time (Zone empty): its first start converted,
// its days moved with it (weekdays turned, a day of the month moved, the end day moved); and
// back into a zone. The two undo each other, so an unchanged edit writes the pattern unchanged.
pim::RecurrenceFields PatternInLocalTime(const pim::RecurrenceFields& zoned);
pim::RecurrenceFields PatternInZone(const pim::RecurrenceFields& local, const std::wstring& zone);

// The day number (in the pattern's own days) on which the nth occurrence (1-based) starts,
// PatternEndDate not applied, found by whole periods rather than day by day. Empty when the
// pattern never occurs or the day lies beyond the supported years.
std::optional<int64_t> NthOccurrenceDay(const pim::RecurrenceFields& pattern, int64_t n);

// The first day after `after` (and not before PatternStartDate) on which an occurrence starts,
// at 00:00. PatternEndDate is not applied; callers compare with it. Empty when the pattern can
// never occur (no usable weekday, day, instance or month) or the day lies beyond year 9999.
std::optional<SYSTEMTIME> NextOccurrence(const pim::RecurrenceFields& pattern,
                                         const SYSTEMTIME& after);
