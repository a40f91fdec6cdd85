// The day-count conversions: exact to the second on every day the program accepts.
#include "platform/systemtime.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(SystemTime, EveryDayFrom1900To2999RoundTrips)
{
    const DATE first = SystemTimeToVariantTime(MakeSystemTime(1900, 1, 1));
    EXPECT_EQ(first, 2.0);
    const DATE last = SystemTimeToVariantTime(MakeSystemTime(2999, 12, 31));
    int expectedWeekday = 1;  // 1900-01-01 was a Monday
    for (DATE day = first; day <= last; day += 1.0) {
        const SYSTEMTIME st = VariantTimeToSystemTime(day);
        ASSERT_EQ(SystemTimeToVariantTime(st), day) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
        ASSERT_EQ(st.wDayOfWeek, expectedWeekday);
        ASSERT_EQ(st.wHour + st.wMinute + st.wSecond, 0);
        expectedWeekday = (expectedWeekday + 1) % 7;
    }
}

TEST(SystemTime, TimesOfDayAreExactToTheSecond)
{
    struct Case {
        int y, mo, d, h, mi, s;
    };
    const Case cases[] = {{1900, 1, 1, 0, 0, 1},    {2000, 2, 29, 23, 59, 59},
                          {2026, 12, 7, 12, 0, 0},  {2999, 12, 31, 23, 59, 59},
                          {1900, 2, 28, 6, 30, 30}, {2100, 3, 1, 0, 0, 0}};
    for (const Case& c : cases) {
        const SYSTEMTIME in = MakeSystemTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
        const SYSTEMTIME out = VariantTimeToSystemTime(SystemTimeToVariantTime(in));
        EXPECT_EQ(out.wYear, c.y);
        EXPECT_EQ(out.wMonth, c.mo);
        EXPECT_EQ(out.wDay, c.d);
        EXPECT_EQ(out.wHour, c.h);
        EXPECT_EQ(out.wMinute, c.mi);
        EXPECT_EQ(out.wSecond, c.s);
    }
    // Known anchors of the day count.
    EXPECT_EQ(SystemTimeToVariantTime(MakeSystemTime(1899, 12, 30)), 0.0);
    EXPECT_EQ(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 12)), 46363.5);
}

// One rounding decides both the day and the time of day: a hair below midnight is the next
// day's 00:00, also before the epoch, where the time is a positive fraction of a negative day.
TEST(SystemTime, DatesSplitAtTheSecondTheyRoundTo)
{
    const DATE noon = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 12));
    const struct {
        DATE date;
        int64_t day;
        int32_t seconds;
        int wDay;  // of VariantTimeToSystemTime
    } cases[] = {
        {noon - 1e-9, 46363, 43200, 7},
        {46366.999999999993, 46367, 0, 11},
        {46366.9999, 46366, 86391, 10},
        {-1.25, -1, 21600, 29},
        {-1.9999999999, 0, 0, 30},
        {-0.9999999999, 1, 0, 31},
        {std::nan(""), 0, 0, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        const DayAndSeconds split = SplitDate(c.date);
        EXPECT_EQ(split.day, c.day);
        EXPECT_EQ(split.seconds, c.seconds);
        EXPECT_EQ(SecondsOfDay(c.date), c.seconds);
        const SYSTEMTIME st = VariantTimeToSystemTime(c.date);
        EXPECT_EQ(st.wDay, c.wDay);
        EXPECT_EQ(st.wHour * 3600 + st.wMinute * 60 + st.wSecond, c.seconds);
    }
    // Joining carries seconds outside one day into the neighbouring days.
    EXPECT_EQ(JoinDate(46364, -1800), SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 23, 30)));
    EXPECT_EQ(JoinDate(46362, 86400 + 43200), noon);
    EXPECT_EQ(JoinDate(-1, -21600), -2.75);
}
