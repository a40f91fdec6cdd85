// Reading and writing item values property by property, the only way the store's items are
// read and changed. Each property is named once, with its field, getter and setter, so reading
// and writing cannot drift apart.
#include "model/item_values.h"

#include <memory>

#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"

namespace {

using pim::ItemFields;

template <typename Visit> void SharedProperties(Visit&& visit)
{
    using pim::PimItem;
    visit(&ItemFields::Subject, &PimItem::GetSubject, &PimItem::SetSubject);
    visit(&ItemFields::Categories, &PimItem::GetCategories, &PimItem::SetCategories);
    visit(&ItemFields::Body, &PimItem::GetBody, &PimItem::SetBody);
    visit(&ItemFields::Sensitivity, &PimItem::GetSensitivity, &PimItem::SetSensitivity);
    visit(&ItemFields::ReminderSet, &PimItem::GetReminderSet, &PimItem::SetReminderSet);
    visit(&ItemFields::ReminderOptions, &PimItem::GetReminderOptions, &PimItem::SetReminderOptions);
    visit(&ItemFields::ReminderSoundFile, &PimItem::GetReminderSoundFile,
          &PimItem::SetReminderSoundFile);
    visit(&ItemFields::Kept, &PimItem::GetKept, &PimItem::SetKept);
}

template <typename Visit> void OwnProperties(const pim::AppointmentItem& /*item*/, Visit&& visit)
{
    using Item = pim::AppointmentItem;
    visit(&ItemFields::Location, &Item::GetLocation, &Item::SetLocation);
    visit(&ItemFields::Start, &Item::GetStart, &Item::SetStart);
    visit(&ItemFields::End, &Item::GetEnd, &Item::SetEnd);
    visit(&ItemFields::AllDayEvent, &Item::GetAllDayEvent, &Item::SetAllDayEvent);
    visit(&ItemFields::BusyStatus, &Item::GetBusyStatus, &Item::SetBusyStatus);
    visit(&ItemFields::ReminderMinutesBeforeStart, &Item::GetReminderMinutesBeforeStart,
          &Item::SetReminderMinutesBeforeStart);
}

// Completion is left out: it is read as two fields and written only on a real change.
template <typename Visit> void OwnProperties(const pim::TaskItem& /*item*/, Visit&& visit)
{
    using Item = pim::TaskItem;
    visit(&ItemFields::StartDate, &Item::GetStartDate, &Item::SetStartDate);
    visit(&ItemFields::DueDate, &Item::GetDueDate, &Item::SetDueDate);
    visit(&ItemFields::ReminderTime, &Item::GetReminderTime, &Item::SetReminderTime);
    visit(&ItemFields::Importance, &Item::GetImportance, &Item::SetImportance);
}

std::optional<pim::RecurrenceFields> ReadPattern(pim::PimItem& item)
{
    const auto pattern = PatternOfRecurring(item);
    if (!pattern) {
        return std::nullopt;
    }
    // The editors work in local time; a zoned series is shown converted.
    return PatternInLocalTime(pattern->Fields());
}

// The start time before the duration: the store derives the end time from both.
void WritePattern(const std::optional<pim::RecurrenceFields>& fields, pim::PimItem& item)
{
    if (item.IsOccurrence()) {
        return;
    }
    std::shared_ptr<pim::RecurrencePattern> pattern;
    if (!fields || item.GetRecurrencePattern(&pattern) < 0 || !pattern) {
        item.ClearRecurrencePattern();
        return;
    }
    // A zoned series keeps its zone: the local values are converted into it.
    const pim::RecurrenceFields p = PatternInZone(*fields, pattern->Fields().Zone);
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

template <typename Item> ItemValues Read(Item& item)
{
    ItemValues values;
    ItemFields& f = values.fields;
    f.Oid = item.GetOid();
    const auto read = [&](auto field, auto get, auto) { f.*field = (item.*get)(); };
    SharedProperties(read);
    OwnProperties(item, read);
    values.pattern = ReadPattern(item);
    values.calendar = item.GetCalendar();
    return values;
}

template <typename Item> void Write(const ItemValues& values, Item& item)
{
    const auto write = [&](auto field, auto, auto set) { (item.*set)(values.fields.*field); };
    SharedProperties(write);
    OwnProperties(item, write);
    WritePattern(values.pattern, item);
    if (values.calendar != 0) {
        item.SetCalendar(values.calendar);
    }
}

} // namespace

std::shared_ptr<pim::RecurrencePattern> PatternOfRecurring(pim::PimItem& item)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    if (!item.GetIsRecurring() || item.GetRecurrencePattern(&pattern) < 0) {
        return nullptr;
    }
    return pattern;
}

ItemValues ReadValues(pim::AppointmentItem& item)
{
    return Read(item);
}

ItemValues ReadValues(pim::TaskItem& task)
{
    ItemValues values = Read(task);
    values.fields.DateCompleted = task.GetDateCompleted();
    values.fields.Complete = task.GetComplete();
    return values;
}

void WriteValues(const ItemValues& values, pim::AppointmentItem& item)
{
    Write(values, item);
}

void WriteValues(const ItemValues& values, pim::TaskItem& task)
{
    // Setting it stamps the completion date, so only a real change is written.
    if (task.GetComplete() != values.fields.Complete) {
        task.SetComplete(values.fields.Complete);
    }
    Write(values, task);
}

ItemValues MergeEdits(const ItemValues& base, const ItemValues& mine, const ItemValues& theirs)
{
    ItemValues merged = theirs;
    const auto keepMine = [&](auto field) {
        if (mine.fields.*field != base.fields.*field) {
            merged.fields.*field = mine.fields.*field;
        }
    };
    using F = pim::ItemFields;
    keepMine(&F::Subject);
    keepMine(&F::Location);
    keepMine(&F::Categories);
    keepMine(&F::Body);
    keepMine(&F::Start);
    keepMine(&F::End);
    keepMine(&F::AllDayEvent);
    keepMine(&F::BusyStatus);
    keepMine(&F::Sensitivity);
    keepMine(&F::ReminderSet);
    keepMine(&F::ReminderMinutesBeforeStart);
    keepMine(&F::ReminderOptions);
    keepMine(&F::ReminderSoundFile);
    keepMine(&F::StartDate);
    keepMine(&F::DueDate);
    keepMine(&F::DateCompleted);
    keepMine(&F::ReminderTime);
    keepMine(&F::Importance);
    keepMine(&F::Complete);
    if (mine.pattern != base.pattern) {
        merged.pattern = mine.pattern;
    }
    if (mine.calendar != base.calendar) {
        merged.calendar = mine.calendar;
    }
    return merged;
}
