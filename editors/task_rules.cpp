// The task editor's date rules and checks.
#include "editors/task_rules.h"

#include <algorithm>

#include "model/date_time.h"
#include "res/string_table.h"

namespace {

bool InPickerYears(const SYSTEMTIME& day)
{
    return day.wYear >= 1900 && day.wYear <= 3999;
}

DATE DayOf(const SYSTEMTIME& day)
{
    return SystemTimeToVariantTime(TruncateSystemTime(day, 3));
}

// The dates of a one-time task: each box either gives its date or the "no date" value.
Verdict CheckOneTimeDates(const TaskForm& form, pim::ItemFields& fields)
{
    if (form.hasStart && form.start.wYear < 1900) {
        return Refusal{kTaskStart, res::IDS_START_AFTER_1900};
    }
    if (form.hasStart && form.start.wYear >= 3000) {
        return Refusal{kTaskStart, res::IDS_START_BEFORE_3000};
    }
    fields.StartDate = form.hasStart ? DayOf(form.start) : pim::kNoDate;
    fields.DueDate = form.hasDue ? DayOf(form.due) : pim::kNoDate;
    if (form.hasDue && form.hasStart && IsEarlier(form.due, form.start)) {
        return Refusal{kTaskDue, res::IDS_START_BEFORE_DUE};
    }
    if (!form.hasDue && form.hasStart) {
        return Refusal{kTaskDue, res::IDS_ONLY_START_DATE};
    }
    if (form.hasDue && form.due.wYear >= 3000) {
        return Refusal{kTaskDue, res::IDS_END_BEFORE_3000};
    }
    fields.Complete = form.complete;
    return std::nullopt;
}

// A recurring task keeps the dates the recurrence editor put into the pickers.
Verdict CheckRecurringDates(const TaskForm& form, const ItemValues& values, pim::ItemFields& fields)
{
    if (!values.pattern) {
        return Refusal{kTaskRecurDetail, res::IDS_RECURRENCE_NOT_SET};
    }
    if (form.start.wYear < 1900) {
        return Refusal{kTaskStart, res::IDS_START_AFTER_1900};
    }
    if (form.start.wYear >= 3000) {
        return Refusal{kTaskStart, res::IDS_START_BEFORE_3000};
    }
    fields.StartDate = DayOf(form.start);
    if (form.due.wYear >= 3000) {
        return Refusal{kTaskDue, res::IDS_END_BEFORE_3000};
    }
    fields.DueDate = DayOf(form.due);
    return std::nullopt;
}

} // namespace

bool IsCheckedTaskDate(DATE date)
{
    return date > 0.0 && date < 900000.0;
}

SYSTEMTIME PickerDay(DATE date, const SYSTEMTIME& today)
{
    const SYSTEMTIME day = VariantTimeToSystemTime(date);
    return TruncateSystemTime(IsCheckedTaskDate(date) && InPickerYears(day) ? day : today, 3);
}

int TaskSpanDays(const SYSTEMTIME& start, const SYSTEMTIME& due)
{
    if (!InPickerYears(start) || !InPickerYears(due)) {
        return 1;
    }
    return std::max(0, DaysBetween(start, due));
}

Verdict CheckTaskForm(const TaskForm& form, ItemValues& values)
{
    ItemValues edited = values;
    pim::ItemFields& fields = edited.fields;
    if (Verdict refused = TakeText(form.title, fields.Subject, TextKind::kLine, kTaskTitle)) {
        return refused;
    }
    if (Verdict refused =
            TakeText(form.category, fields.Categories, TextKind::kLine, kTaskCategory)) {
        return refused;
    }
    fields.Importance = form.importance;
    if (!form.recurring) {
        edited.pattern.reset();
    }
    if (Verdict refused = form.recurring ? CheckRecurringDates(form, values, fields)
                                         : CheckOneTimeDates(form, fields)) {
        return refused;
    }
    // The alarm choice counts for a recurring task too, or switching it would be lost.
    fields.ReminderSet = form.alarm;
    fields.Sensitivity = form.sensitivity;
    values = edited;
    return std::nullopt;
}
