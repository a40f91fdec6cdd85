// The day-count conversions: exact to the second, split at the second a date rounds to.
#include "platform/systemtime.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// One rounding decides day and time: a hair below midnight is 00:00, also before the epoch.
TEST(SystemTime, DatesSplitAtTheSecondTheyRoundTo)
{
    const DATE noon = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 12));
    const struct {
        DATE date;
        int64_t day;
        int32_t seconds;
        int wDay; // of VariantTimeToSystemTime
    } cases[] = {
        {noon - 1e-9, 46363, 43200, 7}, {46366.999999999993, 46367, 0, 11},
        {46366.9999, 46366, 86391, 10}, {-1.25, -1, 21600, 29},
        {-1.9999999999, 0, 0, 30},      {-0.9999999999, 1, 0, 31},
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
