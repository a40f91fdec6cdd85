// The limits that decide whether a task date or a reminder time counts as set.
#include "model/pim_records.h"

#include "model/date_time.h"

namespace {

// Bounds of the task date years 1900..4000 as day numbers, so wild values are never converted.
const int64_t kFirstTaskDay = DayNumber(MakeSystemTime(1900, 1, 1));
const int64_t kPastLastTaskDay = DayNumber(MakeSystemTime(4001, 1, 1));
constexpr DATE kReminderTimeLimit = 900000.0;

} // namespace

bool IsTaskDate(DATE date)
{
    const int64_t day = DayNumber(date);
    return day >= kFirstTaskDay && day < kPastLastTaskDay;
}

bool IsReminderTimeSet(DATE reminderTime)
{
    return reminderTime > 0.0 && reminderTime < kReminderTimeLimit;
}
