// Reading and writing item values property by property, the only way the store's items are
// read and changed.
#include "model/item_values.h"

#include <memory>

#include "platform/pim/recurrence_pattern.h"

namespace {

void ReadShared(pim::PimItem& item, pim::ItemFields& f)
{
    f.Oid = item.GetOid();
    f.Subject = item.GetSubject();
    f.Categories = item.GetCategories();
    f.Body = item.GetBody();
    f.Sensitivity = item.GetSensitivity();
    f.ReminderSet = item.GetReminderSet();
    f.ReminderOptions = item.GetReminderOptions();
    f.ReminderSoundFile = item.GetReminderSoundFile();
}

void WriteShared(const pim::ItemFields& f, pim::PimItem& item)
{
    item.SetSubject(f.Subject);
    item.SetCategories(f.Categories);
    item.SetBody(f.Body);
    item.SetSensitivity(f.Sensitivity);
    item.SetReminderSet(f.ReminderSet);
    item.SetReminderOptions(f.ReminderOptions);
    item.SetReminderSoundFile(f.ReminderSoundFile);
}

std::optional<pim::RecurrenceFields> ReadPattern(pim::PimItem& item)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    // Asking an item without one would give it a pattern.
    if (!item.GetIsRecurring() || item.GetRecurrencePattern(&pattern) < 0 || !pattern)
        return std::nullopt;
    return pattern->Fields();
}

// The start time before the duration: the store derives the end time from both.
void WritePattern(const std::optional<pim::RecurrenceFields>& fields, pim::PimItem& item)
{
    if (item.IsOccurrence())
        return;
    std::shared_ptr<pim::RecurrencePattern> pattern;
    if (!fields || item.GetRecurrencePattern(&pattern) < 0 || !pattern) {
        item.ClearRecurrencePattern();
        return;
    }
    const pim::RecurrenceFields& p = *fields;
    pattern->SetRecurrenceType(p.RecurrenceType);
    pattern->SetPatternStartDate(p.PatternStartDate);
    pattern->SetPatternEndDate(p.PatternEndDate);
    pattern->SetStartTime(p.StartTime);
    pattern->SetDuration(p.Duration);
    pattern->SetNoEndDate(p.NoEndDate);
    pattern->SetOccurrences(p.Occurrences);
    pattern->SetInterval(p.Interval);
    pattern->SetDayOfWeekMask(p.DayOfWeekMask);
    pattern->SetDayOfMonth(p.DayOfMonth);
    pattern->SetInstance(p.Instance);
    pattern->SetMonthOfYear(p.MonthOfYear);
}

} // namespace

ItemValues ReadValues(pim::AppointmentItem& item)
{
    ItemValues values;
    pim::ItemFields& f = values.fields;
    ReadShared(item, f);
    f.Location = item.GetLocation();
    f.Start = item.GetStart();
    f.End = item.GetEnd();
    f.AllDayEvent = item.GetAllDayEvent();
    f.BusyStatus = item.GetBusyStatus();
    f.ReminderMinutesBeforeStart = item.GetReminderMinutesBeforeStart();
    values.pattern = ReadPattern(item);
    return values;
}

ItemValues ReadValues(pim::TaskItem& task)
{
    ItemValues values;
    pim::ItemFields& f = values.fields;
    ReadShared(task, f);
    f.StartDate = task.GetStartDate();
    f.DueDate = task.GetDueDate();
    f.DateCompleted = task.GetDateCompleted();
    f.ReminderTime = task.GetReminderTime();
    f.Importance = task.GetImportance();
    f.Complete = task.GetComplete();
    values.pattern = ReadPattern(task);
    return values;
}

void WriteValues(const ItemValues& values, pim::AppointmentItem& item)
{
    const pim::ItemFields& f = values.fields;
    WriteShared(f, item);
    item.SetLocation(f.Location);
    item.SetStart(f.Start);
    item.SetEnd(f.End);
    item.SetAllDayEvent(f.AllDayEvent);
    item.SetBusyStatus(f.BusyStatus);
    item.SetReminderMinutesBeforeStart(f.ReminderMinutesBeforeStart);
    WritePattern(values.pattern, item);
}

void WriteValues(const ItemValues& values, pim::TaskItem& task)
{
    const pim::ItemFields& f = values.fields;
    WriteShared(f, task);
    task.SetStartDate(f.StartDate);
    task.SetDueDate(f.DueDate);
    task.SetReminderTime(f.ReminderTime);
    task.SetImportance(f.Importance);
    // Setting it stamps the completion date, so only a real change is written.
    if (task.GetComplete() != f.Complete)
        task.SetComplete(f.Complete);
    WritePattern(values.pattern, task);
}
