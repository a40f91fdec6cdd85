// Copy and shift on live store items. Copies and shifts write the end after the start, because
// the store may move an item's end when its start changes.
#include "model/pim_records.h"

#include "model/date_time.h"
#include "model/item_values.h"

namespace {

// Bounds of the task date years 1900..4000 as day numbers, so wild values are never converted.
const int64_t kFirstTaskDay = DayNumber(MakeSystemTime(1900, 1, 1));
const int64_t kPastLastTaskDay = DayNumber(MakeSystemTime(4001, 1, 1));
constexpr DATE kReminderTimeLimit = 900000.0;

bool MovesStart(int mode)
{
    return mode == kShiftStart || mode == kShiftBoth;
}

bool MovesEnd(int mode)
{
    return mode == kShiftEnd || mode == kShiftBoth;
}

}  // namespace

bool IsTaskDate(DATE date)
{
    const int64_t day = DayNumber(date);
    return day >= kFirstTaskDay && day < kPastLastTaskDay;
}

bool IsReminderTimeSet(DATE reminderTime)
{
    return reminderTime > 0.0 && reminderTime < kReminderTimeLimit;
}

// A copy is the source's values written without a pattern, so it never recurs.
void CopyAppointment(const pim::AppointmentItem& source, pim::AppointmentItem& destination)
{
    WriteValues({source.Stored().fields, std::nullopt}, destination);
}

void CopyTask(const pim::TaskItem& source, pim::TaskItem& destination)
{
    WriteValues({source.Stored().fields, std::nullopt}, destination);
}

// Shifts count whole seconds, so a moved time lands on its second and not a hair beside it.
void ShiftAppointment(pim::AppointmentItem& item, const SYSTEMTIME& from, const SYSTEMTIME& to,
                      int mode)
{
    const int64_t delta = SecondsBetween(from, to);
    const DATE start = item.GetStart();
    const DATE end = item.GetEnd();
    item.SetStart(MovesStart(mode) ? AddSeconds(start, delta) : start);
    item.SetEnd(MovesEnd(mode) ? AddSeconds(end, delta) : end);
}

void ShiftTask(pim::TaskItem& task, const SYSTEMTIME& from, const SYSTEMTIME& to, int mode)
{
    const int64_t delta = SecondsBetween(from, to);
    const DATE start = task.GetStartDate();
    const DATE due = task.GetDueDate();
    if (MovesStart(mode) && IsTaskDate(start))
        task.SetStartDate(AddSeconds(start, delta));
    if (MovesEnd(mode) && IsTaskDate(due))
        task.SetDueDate(AddSeconds(due, delta));
}
