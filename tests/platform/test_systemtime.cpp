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

TEST(SystemTime, FloatingPointNoiseRoundsToTheNearestSecond)
{
    const DATE noon = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 12));
    const SYSTEMTIME below = VariantTimeToSystemTime(noon - 1e-9);
    EXPECT_EQ(below.wHour, 12);
    EXPECT_EQ(below.wMinute, 0);
    const DATE almostMidnight = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7)) + 1.0 - 1e-9;
    const SYSTEMTIME next = VariantTimeToSystemTime(almostMidnight);
    EXPECT_EQ(next.wDay, 8);
    EXPECT_EQ(next.wHour, 0);
}
