// Task-date and reminder bounds, and copies of appointment and task records through a real
// store so that what reaches the file is what the program meant.
#include "model/pim_records.h"

#include <gtest/gtest.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/item_text.h"
#include "tests/support/temp_paths.h"

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

// A copy takes every field but the id, the calendar-exchange id and the recurrence. (Every
// field reaching the file and coming back is the store's own round trip.)
TEST(Records, CopiesTakeEveryFieldButTheIdsAndTheRecurrence)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30)); // the completion stamp
    const ScopedClock useClock(clock);
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    AppointItem source = session.CreateAppointment();
    SetEveryField(*source);
    std::shared_ptr<pim::RecurrencePattern> pattern;
    ASSERT_GE(source->GetRecurrencePattern(&pattern), 0);
    TaskItem task = session.CreateTask();
    SetEveryField(*task);
    ASSERT_GE(task->GetRecurrencePattern(&pattern), 0);
    ASSERT_GE(source->Save(), 0); // so that the source has an id the copy must not take
    ASSERT_GE(task->Save(), 0);

    AppointItem copy = session.CreateAppointment();
    CopyAppointment(*source, *copy);
    TaskItem taskCopy = session.CreateTask();
    CopyTask(*task, *taskCopy);
    const auto expected = [](pim::ItemFields fields) {
        fields.Oid = 0;
        fields.UID.clear();
        return FieldsText(fields);
    };
    EXPECT_EQ(FieldsText(copy->Stored().fields), expected(source->Stored().fields));
    EXPECT_EQ(FieldsText(taskCopy->Stored().fields), expected(task->Stored().fields));
    EXPECT_FALSE(copy->GetIsRecurring());
    EXPECT_FALSE(taskCopy->GetIsRecurring());
}
