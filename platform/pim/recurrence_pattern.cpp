// Pattern values, exceptions and occurrences. A pattern object is only a view onto the values
// its item holds; occurrences are built from the item and saved back into it.
#include "platform/pim/recurrence_pattern.h"

#include <cmath>

#include "platform/pim/appointment_item.h"
#include "platform/pim/store_database.h"
#include "platform/pim/zone_time.h"

namespace pim {
namespace {

constexpr double kMinutesPerDay = 1440.0;

// The time of day of a date, rounded to the second as every date is read.
DATE TimeOfDay(DATE value)
{
    return JoinDate(0, SplitDate(value).seconds);
}

} // namespace

RecurrenceFields RecurrencePattern::WeeklyFrom(DATE start, int32_t minutes)
{
    RecurrenceFields p;
    const auto day = static_cast<DATE>(SplitDate(start).day);
    p.RecurrenceType = 1;
    p.PatternStartDate = day;
    p.StartTime = TimeOfDay(start);
    p.Duration = minutes;
    p.EndTime = TimeOfDay(start + minutes / kMinutesPerDay);
    p.DayOfWeekMask = 1 << VariantTimeToSystemTime(day).wDayOfWeek;
    return p;
}

const RecurrenceFields& RecurrencePattern::Fields() const
{
    return owner_->Stored().pattern ? *owner_->Stored().pattern : none_;
}

RecurrenceFields& RecurrencePattern::Edit()
{
    return owner_->EditablePattern();
}

void RecurrencePattern::SetStartTime(DATE v)
{
    RecurrenceFields& p = Edit();
    p.StartTime = v;
    p.EndTime = TimeOfDay(v + p.Duration / kMinutesPerDay);
}

void RecurrencePattern::SetEndTime(DATE v)
{
    RecurrenceFields& p = Edit();
    p.EndTime = v;
    double minutes = std::round((TimeOfDay(v) - TimeOfDay(p.StartTime)) * kMinutesPerDay);
    if (minutes < 0) {
        minutes += kMinutesPerDay;
    }
    p.Duration = static_cast<int32_t>(minutes);
}

void RecurrencePattern::SetDuration(int32_t minutes)
{
    RecurrenceFields& p = Edit();
    p.Duration = minutes;
    p.EndTime = TimeOfDay(p.StartTime + minutes / kMinutesPerDay);
}

std::shared_ptr<AppointmentItem> RecurrencePattern::Occurrence(const ItemFields& fields,
                                                               DATE originalDay) const
{
    return std::make_shared<AppointmentItem>(owner_, fields, originalDay);
}

int32_t RecurrencePattern::GetExceptions(std::shared_ptr<Exceptions>* out) const
{
    if (out == nullptr) {
        return -1;
    }
    std::vector<std::shared_ptr<Exception>> list;
    const StoredItem& stored = owner_->Stored();
    for (const ExceptionFields& e : stored.exceptions) {
        const bool appointment = stored.kind == kAppointmentKind && !e.Deleted;
        list.push_back(std::make_shared<Exception>(
            e, appointment ? Occurrence(e.occurrence, e.OriginalDate) : nullptr));
    }
    *out = std::make_shared<Exceptions>(std::move(list));
    return 0;
}

int32_t RecurrencePattern::GetOccurrence(DATE date, std::shared_ptr<AppointmentItem>* out) const
{
    const StoredItem& stored = owner_->Stored();
    const OccurrenceRule* rule = owner_->Rule();
    if (out == nullptr || rule == nullptr || !stored.pattern || stored.kind != kAppointmentKind) {
        return -1;
    }
    const int64_t dayNumber = SplitDate(date).day;
    const auto day = static_cast<DATE>(dayNumber);
    for (const ExceptionFields& e : stored.exceptions) {
        if (e.OriginalDate == day) {
            if (e.Deleted) {
                return -1;
            }
            *out = Occurrence(e.occurrence, day);
            return 0;
        }
    }
    const RecurrenceFields& p = *stored.pattern;
    const int state = (*rule)(p, VariantTimeToSystemTime(day), -1);
    if (state != 1 && state != 2) {
        return -1;
    }
    ItemFields fields = stored.fields;
    const int32_t startSecond = SplitDate(p.StartTime).seconds;
    fields.Start = JoinDate(dayNumber, startSecond);
    if (!p.Zone.empty()) {
        // A zoned series starts at its zone's time of day, converted for this day.
        RecurrenceFields inZone = p;
        inZone.Zone.clear();
        const std::optional<DATE> start =
            ZonedStartOnDay(p.Zone, startSecond, dayNumber, [&](int64_t zoneDay) {
                const int r = (*rule)(inZone, VariantTimeToSystemTime(double(zoneDay)), -1);
                return r == 1 || r == 2;
            });
        if (!start) {
            return -1;
        }
        fields.Start = *start;
    }
    const DayAndSeconds at = SplitDate(fields.Start);
    fields.End = JoinDate(at.day, at.seconds + int64_t{p.Duration} * 60);
    *out = Occurrence(fields, day);
    return 0;
}

} // namespace pim
