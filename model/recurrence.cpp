// Recurrence rules on whole day numbers (days since 1899-12-30), so day steps are plain integer
// sums and no stepping can drift. Out-of-range pattern values never divide by zero or loop
// unboundedly: an Interval below 1 counts as 1, and values that name no day never match.
#include "model/recurrence.h"

#include <algorithm>
#include <bit>

#include "model/date_time.h"
#include "platform/pim/zone_time.h"

namespace {

constexpr int64_t kMinutesPerDay = 1440;
constexpr int kAllWeekdays = 0x7F;
constexpr int kLastInstance = 5;

int64_t FloorMod(int64_t value, int64_t divisor)
{
    const int64_t r = value % divisor;
    return r < 0 ? r + divisor : r;
}

int64_t FloorDiv(int64_t value, int64_t divisor)
{
    return (value - FloorMod(value, divisor)) / divisor;
}

SYSTEMTIME DateOfDayNumber(int64_t day)
{
    return VariantTimeToSystemTime(static_cast<double>(day));
}

// Day 0, 1899-12-30, was a Saturday.
int WeekdayOfDayNumber(int64_t day)
{
    return static_cast<int>(FloorMod(day + 6, 7));
}

int64_t EffectiveInterval(const pim::RecurrenceFields& pattern)
{
    return std::max<int64_t>(pattern.Interval, 1);
}

int64_t MonthsBetween(const SYSTEMTIME& from, const SYSTEMTIME& to)
{
    return (int64_t{to.wYear} - from.wYear) * 12 - from.wMonth + to.wMonth;
}

bool IsYearly(int32_t type)
{
    return type == kRecursYearly || type == kRecursYearNth;
}

bool UsesInstance(int32_t type)
{
    return type == kRecursMonthNth || type == kRecursYearNth;
}

// Whether an occurrence may start on day c, the pattern starting on day s.
bool StartsOn(const pim::RecurrenceFields& pattern, int64_t s, int64_t c)
{
    const int64_t d = c - s;
    const int64_t interval = EffectiveInterval(pattern);
    const int mask = pattern.DayOfWeekMask;
    const int weekday = WeekdayOfDayNumber(c);
    switch (pattern.RecurrenceType) {
    case kRecursDaily:
        return interval < 2 ? (mask == 0 || IsWeekdayInMask(weekday, mask)) : d % interval == 0;
    case kRecursWeekly: {
        const int64_t weeksApart = d - weekday + WeekdayOfDayNumber(s);
        return (interval < 2 || weeksApart % (7 * interval) == 0) && IsWeekdayInMask(weekday, mask);
    }
    case kRecursMonthly:
    case kRecursMonthNth: {
        const SYSTEMTIME date = DateOfDayNumber(c);
        return (interval < 2 || MonthsBetween(DateOfDayNumber(s), date) % interval == 0) &&
               MatchesMonthPattern(pattern, date);
    }
    case kRecursYearly:
    case kRecursYearNth:
        return MatchesMonthPattern(pattern, DateOfDayNumber(c));
    default:
        return false;
    }
}

// The pattern's day in a given month for the monthly and yearly types: the day of month lowered
// to the month's length, or the nth weekday; 0 when the pattern names no day there.
int PatternDayIn(const pim::RecurrenceFields& pattern, int year, int month)
{
    if (UsesInstance(pattern.RecurrenceType)) {
        return NthWeekdayOfMonth(year, month, pattern.Instance,
                                 WeekdayFromMask(pattern.DayOfWeekMask));
    }
    return pattern.DayOfMonth < 1 ? 0 : std::min(pattern.DayOfMonth, DaysInMonth(year, month));
}

std::optional<SYSTEMTIME> DateIfKeyable(int64_t day)
{
    if (day < kFirstKeyDayNumber || day > kLastKeyDayNumber) {
        return std::nullopt;
    }
    return DateOfDayNumber(day);
}

std::optional<SYSTEMTIME> PatternDayInMonthIndex(const pim::RecurrenceFields& pattern,
                                                 int64_t monthIndex)
{
    const int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(FloorMod(monthIndex, 12)) + 1;
    if (year < 1 || year > 9999) {
        return std::nullopt;
    }
    const int day = PatternDayIn(pattern, static_cast<int>(year), month);
    if (day < 1) {
        return std::nullopt;
    }
    return TruncateSystemTime(MakeSystemTime(static_cast<int>(year), month, day), 3);
}

std::optional<SYSTEMTIME> FirstMaskDayAfter(int64_t f, int mask)
{
    for (int64_t day = f + 1; day <= f + 7; ++day) {
        if (IsWeekdayInMask(WeekdayOfDayNumber(day), mask)) {
            return DateIfKeyable(day);
        }
    }
    return std::nullopt;
}

std::optional<SYSTEMTIME> NextDaily(const pim::RecurrenceFields& pattern, int64_t s, int64_t f)
{
    const int64_t interval = EffectiveInterval(pattern);
    if (interval < 2) {
        // An empty mask counts every day, as the day test does.
        return pattern.DayOfWeekMask == 0 ? DateIfKeyable(f + 1)
                                          : FirstMaskDayAfter(f, pattern.DayOfWeekMask);
    }
    const int64_t d = f - s;
    return d < 0 ? DateIfKeyable(s) : DateIfKeyable(f + interval - d % interval);
}

// Weeks are Sunday-based and counted from the week holding the pattern start, as the day test
// counts them; from a week that is not active the result is the first day of the next active one.
std::optional<SYSTEMTIME> NextWeekly(const pim::RecurrenceFields& pattern, int64_t s, int64_t f)
{
    const int mask = pattern.DayOfWeekMask;
    const int firstWeekday = WeekdayFromMask(mask);
    if (firstWeekday < 0) {
        return std::nullopt;
    }
    const int64_t interval = EffectiveInterval(pattern);
    const int weekday = WeekdayOfDayNumber(f);
    const int64_t weekOffset =
        FloorMod(FloorDiv(f - weekday - (s - WeekdayOfDayNumber(s)), 7), interval);
    const bool laterDayThisWeek = ((mask & kAllWeekdays) >> (weekday + 1)) != 0;
    if (weekOffset == 0 && laterDayThisWeek) {
        return FirstMaskDayAfter(f, mask);
    }
    return DateIfKeyable(f - weekday + 7 * (interval - weekOffset) + firstWeekday);
}

std::optional<SYSTEMTIME> NextMonthly(const pim::RecurrenceFields& pattern, int64_t s, int64_t f)
{
    const SYSTEMTIME from = DateOfDayNumber(f);
    const int64_t interval = EffectiveInterval(pattern);
    const int64_t offset =
        interval < 2 ? 0 : FloorMod(MonthsBetween(DateOfDayNumber(s), from), interval);
    const int64_t monthIndex = int64_t{from.wYear} * 12 + from.wMonth - 1;
    if (offset != 0) {
        return PatternDayInMonthIndex(pattern, monthIndex + interval - offset);
    }
    const bool staysInMonth = from.wDay < PatternDayIn(pattern, from.wYear, from.wMonth);
    return PatternDayInMonthIndex(pattern, staysInMonth ? monthIndex : monthIndex + interval);
}

std::optional<SYSTEMTIME> NextYearly(const pim::RecurrenceFields& pattern, int64_t f)
{
    const SYSTEMTIME from = DateOfDayNumber(f);
    const int month = pattern.MonthOfYear;
    if (month < 1 || month > 12) {
        return std::nullopt;
    }
    const bool thisYear =
        from.wMonth < month ||
        (from.wMonth == month && from.wDay < PatternDayIn(pattern, from.wYear, month));
    const int64_t year = from.wYear + (thisYear ? 0 : 1);
    return PatternDayInMonthIndex(pattern, year * 12 + month - 1);
}

// The occurrence test of a zoned pattern: its start days are the zone's (the plain rule on the
// zone's own days), each start is converted, and the local days it covers are reported.
int ZonedOccurrenceOnDay(const pim::RecurrenceFields& pattern, int64_t target,
                         int32_t durationOverride)
{
    pim::RecurrenceFields inZone = pattern;
    inZone.Zone.clear();
    const int64_t duration =
        durationOverride >= 0 ? durationOverride : std::max<int32_t>(pattern.Duration, 0);
    const int zoneSpan = DaysSpanned(pattern.StartTime, duration, true);
    int found = kNoOccurrence;
    int64_t foundK = -1;
    for (int64_t c = target + pim::kZoneDayReach; c >= target - zoneSpan - pim::kZoneDayReach;
         --c) {
        const int r = OccurrenceOnDayNumber(inZone, c, durationOverride);
        if (r != kOneDayStarts && r != kLongerStarts) {
            continue;
        }
        const std::optional<DATE> start = LocalStartOfPatternDay(pattern, c);
        if (!start) {
            continue;
        }
        const int localSpan = DaysSpanned(*start, duration, true);
        const int64_t k = target - DayNumber(*start);
        if (k == 0) {
            return localSpan == 0 ? kOneDayStarts : kLongerStarts;
        }
        if (k > 0 && k <= localSpan && (foundK < 0 || k < foundK)) {
            foundK = k;
            found = k == localSpan ? kLastDay : kMiddleDay;
        }
    }
    return found;
}

// Starts from day `from` on, day by day, until the nth; at most `reach` days are looked at.
std::optional<int64_t> NthStartFrom(const pim::RecurrenceFields& pattern, int64_t s, int64_t from,
                                    int64_t n, int64_t reach)
{
    for (int64_t day = from; day < from + reach && day <= kLastKeyDayNumber; ++day) {
        if (StartsOn(pattern, s, day) && --n == 0) {
            return day;
        }
    }
    return std::nullopt;
}

// Monthly and yearly patterns: the months with occurrences each hold the same number of them
// (one day, or each weekday of the mask once), so whole active months are skipped at once.
std::optional<int64_t> NthMonthlyDay(const pim::RecurrenceFields& pattern, int64_t s, int64_t n)
{
    const bool yearly = IsYearly(pattern.RecurrenceType);
    const int64_t perMonth = UsesInstance(pattern.RecurrenceType)
                                 ? std::popcount(unsigned(pattern.DayOfWeekMask & kAllWeekdays))
                                 : 1;
    if ((yearly && (pattern.MonthOfYear < 1 || pattern.MonthOfYear > 12)) ||
        (!UsesInstance(pattern.RecurrenceType) && pattern.DayOfMonth < 1) || perMonth == 0 ||
        (UsesInstance(pattern.RecurrenceType) &&
         (pattern.Instance < 1 || pattern.Instance > kLastInstance))) {
        return std::nullopt;
    }
    const SYSTEMTIME first = DateOfDayNumber(s);
    const int64_t firstMonth = int64_t{first.wYear} * 12 + first.wMonth - 1;
    const int64_t monthStep = yearly ? 12 : EffectiveInterval(pattern);
    const int64_t monthEnd = DayNumber(
        MakeSystemTime(first.wYear, first.wMonth, DaysInMonth(first.wYear, first.wMonth)));
    int64_t inFirstMonth = 0;
    for (int64_t day = s; day <= monthEnd; ++day) {
        if (StartsOn(pattern, s, day) && ++inFirstMonth == n) {
            return day;
        }
    }
    n -= inFirstMonth;
    int64_t nextMonth = firstMonth + monthStep;
    if (yearly) {
        nextMonth = firstMonth + 1 + FloorMod(pattern.MonthOfYear - 1 - (firstMonth + 1), 12);
    }
    const int64_t month = nextMonth + (n - 1) / perMonth * monthStep;
    const int64_t year = FloorDiv(month, 12);
    if (year > 9999) {
        return std::nullopt;
    }
    const int64_t monthStart = DayNumber(
        MakeSystemTime(static_cast<int>(year), static_cast<int>(FloorMod(month, 12)) + 1, 1));
    return NthStartFrom(pattern, s, monthStart, (n - 1) % perMonth + 1, 31);
}

// The pattern's days moved by `shift` days (-2..2): the first start is moved by the caller.
void MoveDays(pim::RecurrenceFields& p, int64_t shift)
{
    if (shift == 0) {
        return;
    }
    if (!p.NoEndDate) {
        p.PatternEndDate += static_cast<DATE>(shift);
    }
    const int turn = static_cast<int>(FloorMod(shift, 7));
    const int mask = p.DayOfWeekMask & kAllWeekdays;
    p.DayOfWeekMask = ((mask << turn) | (mask >> (7 - turn))) & kAllWeekdays;
    if (p.RecurrenceType == kRecursMonthly || p.RecurrenceType == kRecursYearly) {
        // Day 31 stands for the last day of the month, the day before the 1st.
        p.DayOfMonth =
            static_cast<int32_t>(FloorMod(std::min(p.DayOfMonth, 31) - 1 + shift, 31)) + 1;
    }
}

pim::RecurrenceFields Converted(pim::RecurrenceFields p, const std::optional<DATE>& start)
{
    if (!start) {
        return p;
    }
    const DayAndSeconds at = SplitDate(*start);
    const int64_t shift = at.day - DayNumber(p.PatternStartDate);
    MoveDays(p, shift);
    p.PatternStartDate = static_cast<DATE>(at.day);
    p.StartTime = JoinDate(0, at.seconds);
    p.EndTime = JoinDate(0, (at.seconds + int64_t{p.Duration} * 60) % 86400);
    return p;
}

} // namespace

pim::RecurrenceFields PatternInLocalTime(const pim::RecurrenceFields& zoned)
{
    if (zoned.Zone.empty()) {
        return zoned;
    }
    pim::RecurrenceFields local =
        Converted(zoned, pim::ZoneToLocal(zoned.Zone, JoinDate(DayNumber(zoned.PatternStartDate),
                                                               SecondsOfDay(zoned.StartTime))));
    local.Zone.clear();
    return local;
}

pim::RecurrenceFields PatternInZone(const pim::RecurrenceFields& local, const std::wstring& zone)
{
    if (zone.empty()) {
        return local;
    }
    pim::RecurrenceFields zoned =
        Converted(local, pim::LocalToZone(zone, JoinDate(DayNumber(local.PatternStartDate),
                                                         SecondsOfDay(local.StartTime))));
    zoned.Zone = zone;
    return zoned;
}

bool IsWeekdayInMask(int weekday, int mask)
{
    return weekday >= 0 && weekday <= 6 && (mask & (1 << weekday)) != 0;
}

int NthWeekdayOfMonth(int year, int month, int n, int weekday)
{
    const int length = DaysInMonth(year, month);
    if (length == 0 || n < 1 || n > kLastInstance || weekday < 0 || weekday > 6) {
        return 0;
    }
    const int first = DayOfWeek(year, month, 1);
    int day = 7 * n - 7 - first + weekday + 1 + (first > weekday ? 7 : 0);
    if (day > length) {
        day -= 7;
    }
    return day;
}

bool MatchesMonthPattern(const pim::RecurrenceFields& pattern, const SYSTEMTIME& date)
{
    const int32_t type = pattern.RecurrenceType;
    if (IsYearly(type) && date.wMonth != pattern.MonthOfYear) {
        return false;
    }
    const int length = DaysInMonth(date.wYear, date.wMonth);
    if (type == kRecursMonthly || type == kRecursYearly) {
        return pattern.DayOfMonth >= 1 && std::min(pattern.DayOfMonth, length) == date.wDay;
    }
    if (!UsesInstance(type) ||
        !IsWeekdayInMask(DayOfWeek(date.wYear, date.wMonth, date.wDay), pattern.DayOfWeekMask)) {
        return false;
    }
    if (pattern.Instance == kLastInstance) {
        return date.wDay + 6 >= length;
    }
    return (date.wDay + 6) / 7 == pattern.Instance;
}

int DaysSpanned(DATE startTime, int64_t durationMinutes, bool allDay)
{
    const int64_t minutes = std::max<int64_t>(SecondsOfDay(startTime) / 60 + durationMinutes, 0);
    int64_t spans = minutes / kMinutesPerDay;
    if (allDay && minutes > 0 && minutes % kMinutesPerDay == 0) {
        --spans;
    }
    return static_cast<int>(std::min<int64_t>(spans, kLastKeyDayNumber - kFirstKeyDayNumber));
}

int OccurrenceOnDay(const pim::RecurrenceFields& pattern, const SYSTEMTIME& day,
                    int32_t durationOverride)
{
    return OccurrenceOnDayNumber(pattern, DayNumber(day), durationOverride);
}

int OccurrenceOnDayNumber(const pim::RecurrenceFields& pattern, int64_t target,
                          int32_t durationOverride)
{
    if (!pattern.Zone.empty()) {
        return ZonedOccurrenceOnDay(pattern, target, durationOverride);
    }
    const int64_t s = DayNumber(pattern.PatternStartDate);
    const int64_t e = DayNumber(pattern.PatternEndDate);
    if (s > target) {
        return kNoOccurrence;
    }
    const int64_t duration =
        durationOverride >= 0 ? durationOverride : std::max<int32_t>(pattern.Duration, 0);
    const int span = DaysSpanned(pattern.StartTime, duration, true);
    // Only start days within the pattern's own period count: none before its first day (so the
    // first day is reported as a start) and none after its last (whose tail still shows).
    const int64_t firstK = pattern.NoEndDate ? 0 : std::max<int64_t>(target - e, 0);
    const int64_t lastK = std::min<int64_t>(span, target - s);
    for (int64_t k = firstK; k <= lastK; ++k) {
        if (!StartsOn(pattern, s, target - k)) {
            continue;
        }
        if (k == 0) {
            return span == 0 ? kOneDayStarts : kLongerStarts;
        }
        return k == span ? kLastDay : kMiddleDay;
    }
    return kNoOccurrence;
}

std::optional<SYSTEMTIME> NextOccurrence(const pim::RecurrenceFields& pattern,
                                         const SYSTEMTIME& after)
{
    const int64_t s = DayNumber(pattern.PatternStartDate);
    const int64_t f = std::max(DayNumber(after), s - 1);
    switch (pattern.RecurrenceType) {
    case kRecursDaily:
        return NextDaily(pattern, s, f);
    case kRecursWeekly:
        return NextWeekly(pattern, s, f);
    case kRecursMonthly:
    case kRecursMonthNth:
        return NextMonthly(pattern, s, f);
    case kRecursYearly:
    case kRecursYearNth:
        return NextYearly(pattern, f);
    default:
        return std::nullopt;
    }
}

std::optional<DATE> LocalStartOfPatternDay(const pim::RecurrenceFields& pattern, int64_t day)
{
    const DATE start = JoinDate(day, SecondsOfDay(pattern.StartTime));
    return pattern.Zone.empty() ? std::optional<DATE>(start)
                                : pim::ZoneToLocal(pattern.Zone, start);
}

std::optional<DATE> OccurrenceStartOnDay(const pim::RecurrenceFields& pattern, int64_t day)
{
    if (pattern.Zone.empty()) {
        const int r = OccurrenceOnDayNumber(pattern, day, -1);
        return r == kOneDayStarts || r == kLongerStarts
                   ? std::optional<DATE>(JoinDate(day, SecondsOfDay(pattern.StartTime)))
                   : std::nullopt;
    }
    pim::RecurrenceFields inZone = pattern;
    inZone.Zone.clear();
    return pim::ZonedStartOnDay(pattern.Zone, SecondsOfDay(pattern.StartTime), day,
                                [&](int64_t zoneDay) {
                                    const int r = OccurrenceOnDayNumber(inZone, zoneDay, -1);
                                    return r == kOneDayStarts || r == kLongerStarts;
                                });
}

std::optional<int64_t> NthOccurrenceDay(const pim::RecurrenceFields& pattern, int64_t n)
{
    const int64_t s = DayNumber(pattern.PatternStartDate);
    const int64_t interval = EffectiveInterval(pattern);
    const int mask = pattern.DayOfWeekMask & kAllWeekdays;
    if (n < 1) {
        return std::nullopt;
    }
    std::optional<int64_t> day;
    switch (pattern.RecurrenceType) {
    case kRecursDaily:
        if (interval >= 2) {
            day = s + (n - 1) * interval;
            break;
        }
        [[fallthrough]];
    case kRecursWeekly: {
        // Any run of whole cycles (a week, or Interval weeks) from the start holds each weekday
        // of the mask once.
        const bool everyDay = pattern.RecurrenceType == kRecursDaily && mask == 0;
        const int64_t perCycle = everyDay ? 7 : std::popcount(unsigned(mask));
        const int64_t cycle = pattern.RecurrenceType == kRecursWeekly ? 7 * interval : 7;
        if (perCycle == 0) {
            return std::nullopt;
        }
        const int64_t cycles = (n - 1) / perCycle;
        if (cycles > (kLastKeyDayNumber - s) / cycle) {
            return std::nullopt;
        }
        day = NthStartFrom(pattern, s, s + cycles * cycle, n - cycles * perCycle, cycle);
        break;
    }
    case kRecursMonthly:
    case kRecursMonthNth:
    case kRecursYearly:
    case kRecursYearNth:
        day = NthMonthlyDay(pattern, s, n);
        break;
    default:
        return std::nullopt;
    }
    if (!day || *day > kLastKeyDayNumber) {
        return std::nullopt;
    }
    return day;
}
