// Copy and shift on live store items. Copies write the fields in a fixed order, and shifts write
// the end after the start, because the store may move an item's end when its start changes.
#include "model/pim_records.h"

#include "model/date_time.h"

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

void CopyAppointment(const pim::AppointmentItem& source, pim::AppointmentItem& destination)
{
    destination.ClearRecurrencePattern();
    destination.SetSubject(source.GetSubject());
    destination.SetLocation(source.GetLocation());
    destination.SetStart(source.GetStart());
    destination.SetEnd(source.GetEnd());
    destination.SetAllDayEvent(source.GetAllDayEvent());
    destination.SetReminderSet(source.GetReminderSet());
    destination.SetCategories(source.GetCategories());
    destination.SetBusyStatus(source.GetBusyStatus());
    destination.SetSensitivity(source.GetSensitivity());
    destination.SetBody(source.GetBody());
    destination.SetReminderMinutesBeforeStart(source.GetReminderMinutesBeforeStart());
    destination.SetReminderOptions(source.GetReminderOptions());
    destination.SetReminderSoundFile(source.GetReminderSoundFile());
}

void CopyTask(const pim::TaskItem& source, pim::TaskItem& destination)
{
    destination.SetSubject(source.GetSubject());
    destination.SetImportance(source.GetImportance());
    destination.ClearRecurrencePattern();
    destination.SetStartDate(source.GetStartDate());
    destination.SetDueDate(source.GetDueDate());
    destination.SetComplete(source.GetComplete());
    destination.SetReminderSet(source.GetReminderSet());
    destination.SetReminderTime(source.GetReminderTime());
    destination.SetReminderOptions(source.GetReminderOptions());
    destination.SetReminderSoundFile(source.GetReminderSoundFile());
    destination.SetCategories(source.GetCategories());
    destination.SetBody(source.GetBody());
    destination.SetSensitivity(source.GetSensitivity());
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
