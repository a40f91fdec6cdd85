// Recurrence rules: the day test, spans across midnight, bad values, next and nth occurrences.
#include "model/recurrence.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "model/date_time.h"
#include "tests/support/dates.h"

namespace {

struct PatternShape {
    int32_t type;
    DATE start;
    int32_t interval = 1;
    int32_t mask = 0;
    int32_t dayOfMonth = 0;
    int32_t instance = 0;
    int32_t monthOfYear = 0;
    DATE startTime = 0.0;
    int32_t duration = 60;
    DATE end = 0.0; // 0.0: no end date
};

pim::RecurrenceFields Pattern(const PatternShape& shape)
{
    pim::RecurrenceFields p;
    p.RecurrenceType = shape.type;
    p.PatternStartDate = shape.start;
    p.StartTime = shape.startTime;
    p.PatternEndDate = shape.end;
    p.NoEndDate = shape.end == 0.0;
    p.Interval = shape.interval;
    p.DayOfWeekMask = shape.mask;
    p.DayOfMonth = shape.dayOfMonth;
    p.Instance = shape.instance;
    p.MonthOfYear = shape.monthOfYear;
    p.Duration = shape.duration;
    return p;
}

int On(const pim::RecurrenceFields& p, DATE day, int32_t durationOverride = -1)
{
    return OccurrenceOnDay(p, VariantTimeToSystemTime(day), durationOverride);
}

bool UsesNth(int32_t type)
{
    return type == kRecursMonthNth || type == kRecursYearNth;
}

constexpr int kMon = 2, kWed = 8;

} // namespace

TEST(Recurrence, DayTestOfEveryType)
{
    struct Case {
        const char* name;
        PatternShape shape;
        DATE day;
        int expected;
    };
    const DATE s2011 = At(2011, 1, 1);
    const DATE sunday = At(2011, 11, 6);
    // Usual values are the libical cross-check's; these are month ends, bounds and odd values.
    const Case cases[] = {
        {"monthly 31 on 30 Apr", {kRecursMonthly, s2011, 1, 0, 31}, At(2011, 4, 30), 1},
        {"monthly 31 on 28 Feb leap", {kRecursMonthly, s2011, 1, 0, 31}, At(2012, 2, 28), 0},
        {"monthly 31 on 29 Feb leap", {kRecursMonthly, s2011, 1, 0, 31}, At(2012, 2, 29), 1},
        {"yearly 29 Feb in 2011", {kRecursYearly, s2011, 1, 0, 29, 0, 2}, At(2011, 2, 28), 1},
        {"last Monday of May", {kRecursMonthNth, s2011, 1, kMon, 0, 5}, At(2011, 5, 30), 1},
        {"weekly 2, off week", {kRecursWeekly, sunday, 2, kMon | kWed}, At(2011, 11, 14), 0},
        {"on the end", {kRecursDaily, s2011, 1, 0, 0, 0, 0, 0.0, 60, sunday}, sunday, 1},
        {"end before start", {kRecursDaily, sunday, 1, 0, 0, 0, 0, 0.0, 60, s2011}, sunday, 0},
        // Out-of-range values: an Interval below 1 counts as 1; values naming no day never match.
        {"daily Interval 0", {kRecursDaily, s2011, 0}, At(2011, 5, 5), 1},
        {"weekly Interval 0", {kRecursWeekly, s2011, 0, kMon}, At(2011, 11, 14), 1},
        {"weekly empty mask", {kRecursWeekly, s2011, 1, 0}, At(2011, 11, 14), 0},
        {"DayOfMonth 0", {kRecursMonthly, s2011, 1, 0, 0}, At(2011, 5, 1), 0},
        {"DayOfMonth 40 is last", {kRecursMonthly, s2011, 1, 0, 40}, At(2011, 4, 30), 1},
        {"Instance 9", {kRecursMonthNth, s2011, 1, kMon, 0, 9}, At(2011, 5, 30), 0},
        {"MonthOfYear 13", {kRecursYearly, s2011, 1, 0, 1, 0, 13}, At(2012, 1, 1), 0},
        {"type 4", {4, s2011, 1, 127, 1, 1, 1}, At(2011, 1, 1), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(On(Pattern(c.shape), c.day), c.expected) << c.name;
    }
}

TEST(Recurrence, DaysSpannedAndOccurrencesAcrossMidnight)
{
    EXPECT_EQ(DaysSpanned(At(2011, 11, 6, 22), 120, false), 1);
    EXPECT_EQ(DaysSpanned(At(2011, 11, 6), 1440, true), 0);
    EXPECT_EQ(DaysSpanned(At(2011, 11, 6, 10), -6000, true), 0);
    EXPECT_EQ(DaysSpanned(At(2011, 11, 6, 23, 59), INT_MAX, false), 1491309);
    const DATE start = At(2011, 11, 6);
    const DATE at22 = At(2011, 11, 6, 22);
    const DATE tue = At(2011, 11, 8);
    const DATE mon = At(2011, 11, 14);
    // Each digit the day test's answer from 6 November on, with the duration override (-1: none).
    const struct {
        PatternShape shape;
        int32_t durationOverride;
        const char* days;
    } cases[] = {
        {{kRecursWeekly, start, 1, 1, 0, 0, 0, at22, 180}, -1, "240000024"},
        {{kRecursWeekly, start, 1, 1, 0, 0, 0, at22, 120}, -1, "100000010"}, // ends at midnight
        {{kRecursWeekly, start, 1, 1, 0, 0, 0, at22, 3000}, -1, "2340"},     // 50 hours
        {{kRecursWeekly, start, 1, 1, 0, 0, 0, at22, 180}, 0, "10"},
        {{kRecursWeekly, start, 1, 1, 0, 0, 0, at22, -500}, -1, "10"}, // a negative Duration
        // The first day of a daily multi-day pattern is a start, not the tail of a day before.
        {{kRecursDaily, start, 1, 0, 0, 0, 0, at22, 180}, -1, "222"},
        // A Monday pattern starting on a Tuesday has no occurrence reaching into that Tuesday.
        {{kRecursWeekly, tue, 1, kMon, 0, 0, 0, at22, 180}, -1, "0000000024"},
        // The last occurrence keeps its tail past the end date.
        {{kRecursWeekly, start, 1, kMon, 0, 0, 0, at22, 180, mon}, -1, "02400000240000000"},
    };
    for (const auto& c : cases) {
        const pim::RecurrenceFields p = Pattern(c.shape);
        for (size_t k = 0; c.days[k] != 0; ++k) {
            EXPECT_EQ(On(p, start + static_cast<double>(k), c.durationOverride), c.days[k] - '0')
                << &c - cases << ", day " << k;
        }
    }
    // A huge span is bounded by the days since the pattern start, never an endless scan.
    const pim::RecurrenceFields huge =
        Pattern({kRecursMonthly, At(1990, 1, 1), INT_MAX, 0, 1, 0, 0, 0.0, INT_MAX});
    EXPECT_EQ(On(huge, At(2999, 12, 31)), kMiddleDay);
    EXPECT_EQ(On(huge, At(1990, 1, 1)), kLongerStarts);
}

TEST(Recurrence, NextOccurrence)
{
    const DATE s2011 = At(2011, 1, 1);
    const DATE sunday = At(2011, 11, 6);
    // Usual values are checked against the day test below; these are edges it does not draw.
    const struct {
        PatternShape shape;
        DATE after;
        DATE expected; // 0.0: none
    } cases[] = {
        {{kRecursDaily, s2011, 1, 0, 0, 0, 0, 0.0, 60, s2011}, sunday, At(2011, 11, 7)},
        {{kRecursYearly, s2011, 1, 0, 1, 0, 1}, At(2999, 12, 31), At(3000, 1, 1)},
        {{kRecursYearly, s2011, 1, 0, 1, 0, 1}, At(9999, 6, 1), 0.0},
        {{kRecursDaily, s2011, INT_MAX}, sunday, 0.0},
        {{kRecursMonthly, s2011, INT_MAX, 0, 5}, At(2011, 1, 5), 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const std::optional<SYSTEMTIME> next =
            NextOccurrence(Pattern(c.shape), VariantTimeToSystemTime(c.after + 0.75));
        EXPECT_EQ(next ? SystemTimeToVariantTime(*next) : 0.0, c.expected);
        if (next) {
            EXPECT_EQ(next->wDayOfWeek, VariantTimeToSystemTime(c.expected).wDayOfWeek);
        }
    }
}

// Random patterns walked day by day give the next and nth occurrence (nth: lowest weekday only).
TEST(Recurrence, NextAndNthOccurrenceAgreeWithTheDayTest)
{
    const int32_t types[] = {kRecursDaily,    kRecursWeekly, kRecursMonthly,
                             kRecursMonthNth, kRecursYearly, kRecursYearNth};
    std::mt19937 rng(25);
    auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    for (int i = 0; i < 2000; ++i) {
        PatternShape shape{types[pick(0, 5)], At(1990, 1, 1) + pick(0, 15000)};
        shape.interval = pick(-1, 4);
        const bool singleWeekday = UsesNth(shape.type) && pick(0, 3) != 0;
        shape.mask = pick(0, 4) == 0 ? 0 : singleWeekday ? 1 << pick(0, 6) : pick(1, 127);
        shape.dayOfMonth = pick(0, 33);
        shape.instance = pick(0, 5);
        shape.monthOfYear = pick(0, 12);
        shape.startTime = pick(0, 23) / 24.0;
        shape.duration = pick(0, 3000);
        const pim::RecurrenceFields p = Pattern(shape);
        const int64_t first = DayNumber(shape.start);
        const DATE afterDay = shape.start + pick(-40, 400);
        const int64_t after = DayNumber(afterDay);
        const int wanted = pick(1, 40);
        std::optional<int64_t> nextStart;
        std::optional<int64_t> nth;
        int found = 0;
        // 45 years: longer than any gap of the patterns drawn here.
        for (int64_t day = first; day < first + int64_t{366} * 45 && !(nth && nextStart); ++day) {
            const int r = OccurrenceOnDayNumber(p, day, -1);
            if (r != kOneDayStarts && r != kLongerStarts) {
                continue;
            }
            nth = ++found == wanted ? std::optional(day) : nth;
            nextStart = day > after && !nextStart ? std::optional(day) : nextStart;
        }
        SCOPED_TRACE(testing::Message() << "case " << i << " type " << shape.type);
        EXPECT_EQ(NthOccurrenceDay(p, wanted), nth);
        const std::optional<SYSTEMTIME> next = NextOccurrence(p, VariantTimeToSystemTime(afterDay));
        ASSERT_EQ(next.has_value(), nextStart.has_value());
        if (!next) {
            continue;
        }
        const int64_t nextDay = DayNumber(SystemTimeToVariantTime(*next));
        if (UsesNth(shape.type) && (shape.mask & (shape.mask - 1)) != 0) {
            EXPECT_GE(nextDay, *nextStart);
            EXPECT_GE(OccurrenceOnDayNumber(p, nextDay, -1), kOneDayStarts);
        } else {
            ASSERT_EQ(nextDay, *nextStart);
        }
    }
    // Huge counts land exactly, without a walk.
    const pim::RecurrenceFields workdays = Pattern({kRecursWeekly, At(2026, 12, 7), 1, 0x3E});
    EXPECT_EQ(NthOccurrenceDay(workdays, 5 * 52 + 1), DayNumber(At(2026, 12, 7)) + int64_t{7} * 52);
    EXPECT_EQ(NthOccurrenceDay(workdays, 999999),
              DayNumber(At(2026, 12, 7)) + int64_t{7} * 199999 + 3);
    EXPECT_EQ(NthOccurrenceDay(Pattern({kRecursYearly, At(2026, 1, 1), 1, 0, 1, 0, 1}), 9000),
              std::nullopt);
    EXPECT_EQ(NthOccurrenceDay(Pattern({kRecursMonthly, At(2026, 1, 31), 1, 0, 31}), 2),
              DayNumber(At(2026, 2, 28)));
}
