// The task editor's date rules and checks.
#include "editors/task_rules.h"

#include <algorithm>

#include "editors/text_rules.h"
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

TaskCheck Refuse(int control, int messageId)
{
    return {control, messageId};
}

// The dates of a one-time task: each box either gives its date or the "no date" value.
TaskCheck CheckOneTimeDates(const TaskForm& form, pim::ItemFields& fields)
{
    if (form.hasStart && form.start.wYear < 1900)
        return Refuse(kTaskStart, res::IDS_START_AFTER_1900);
    fields.StartDate = form.hasStart ? DayOf(form.start) : pim::kNoDate;
    fields.DueDate = form.hasDue ? DayOf(form.due) : pim::kNoDate;
    if (form.hasDue && form.hasStart && IsEarlier(form.due, form.start))
        return Refuse(kTaskDue, res::IDS_START_BEFORE_DUE);
    if (!form.hasDue && form.hasStart)
        return Refuse(kTaskDue, res::IDS_ONLY_START_DATE);
    if (form.hasDue && form.due.wYear >= 3000)
        return Refuse(kTaskDue, res::IDS_END_BEFORE_3000);
    fields.Complete = form.complete;
    return {};
}

// A recurring task keeps the dates the recurrence editor put into the pickers.
TaskCheck CheckRecurringDates(const TaskForm& form, const ItemValues& values,
                              pim::ItemFields& fields)
{
    if (!values.pattern)
        return Refuse(kTaskRecurDetail, res::IDS_RECURRENCE_NOT_SET);
    if (form.start.wYear < 1900)
        return Refuse(kTaskStart, res::IDS_START_AFTER_1900);
    fields.StartDate = DayOf(form.start);
    if (form.due.wYear >= 3000)
        return Refuse(kTaskDue, res::IDS_END_BEFORE_3000);
    fields.DueDate = DayOf(form.due);
    return {};
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
    if (!InPickerYears(start) || !InPickerYears(due))
        return 1;
    return std::max(0, DaysBetween(start, due));
}

TaskCheck CheckTaskForm(const TaskForm& form, ItemValues& values)
{
    if (const int problem = LineTextProblem(form.title))
        return Refuse(kTaskTitle, problem);
    if (const int problem = LineTextProblem(form.category))
        return Refuse(kTaskCategory, problem);
    ItemValues edited = values;
    pim::ItemFields& fields = edited.fields;
    fields.Subject = form.title;
    fields.Importance = form.importance;
    if (!form.recurring)
        edited.pattern.reset();
    const TaskCheck dates = form.recurring ? CheckRecurringDates(form, values, fields)
                                           : CheckOneTimeDates(form, fields);
    if (dates.control != 0)
        return dates;
    // The alarm choice counts for a recurring task too, or switching it would be lost.
    fields.ReminderSet = form.alarm;
    fields.Categories = form.category;
    fields.Sensitivity = form.sensitivity;
    values = edited;
    return {};
}
