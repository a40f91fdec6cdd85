// Task-date and reminder bounds: the years a task date counts in and the reminder-time window.
#include "model/pim_records.h"

#include <gtest/gtest.h>

#include "model/date_time.h"

namespace {

DATE At(int year, int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute));
}

} // namespace

TEST(Records, TaskDateAndReminderBounds)
{
    const struct {
        DATE date;
        bool isTaskDate;
    } dates[] = {
        {At(1899, 12, 31), false},      {At(1900, 1, 1), true}, {At(4000, 12, 31, 23, 59), true},
        {At(4001, 1, 1), false},        {0.0, false},           {1e300, false},
        {At(1900, 1, 1) - 1e-11, true}, // rounds to its second, 1 January 1900
    };
    for (const auto& entry : dates)
        EXPECT_EQ(IsTaskDate(entry.date), entry.isTaskDate) << entry.date;

    EXPECT_EQ((std::vector{IsReminderTimeSet(0.0), IsReminderTimeSet(-1.0), IsReminderTimeSet(0.5),
                           IsReminderTimeSet(899999.9), IsReminderTimeSet(900000.0)}),
              (std::vector{false, false, true, true, false}));
}

