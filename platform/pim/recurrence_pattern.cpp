// Pattern values, exceptions and occurrences. The pattern's values live in its item, so the
// item's save writes them and a pattern object is only a view onto them.
#include "platform/pim/recurrence_pattern.h"

#include <cmath>

#include "platform/pim/pim_item.h"
#include "platform/pim/store_database.h"

namespace pim {
namespace {

constexpr double kMinutesPerDay = 1440.0;

double TimeOfDay(DATE value) { return value - std::floor(value); }

}  // namespace

int32_t Exception::GetAppointmentItem(std::shared_ptr<AppointmentItem>* out) const
{
    if (out == nullptr || item_ == nullptr) {
        return -1;
    }
    *out = item_;
    return 0;
}

int32_t Exceptions::Item(int32_t n, std::shared_ptr<Exception>* out) const
{
    if (out == nullptr || n < 1 || n > Count()) {
        return -1;
    }
    *out = items_[static_cast<size_t>(n - 1)];
    return 0;
}

const RecurrenceFields& RecurrencePattern::Fields() const
{
    static const RecurrenceFields none;
    const std::shared_ptr<PimItem> owner = owner_.lock();
    return owner && owner->stored_.pattern ? *owner->stored_.pattern : none;
}

RecurrenceFields& RecurrencePattern::Edit()
{
    static RecurrenceFields detached;
    const std::shared_ptr<PimItem> owner = owner_.lock();
    if (!owner) {
        return detached;
    }
    if (!owner->stored_.pattern) {
        owner->stored_.pattern = RecurrenceFields{};
    }
    return *owner->stored_.pattern;
}

void RecurrencePattern::SetStartTime(DATE v)
{
    RecurrenceFields& p = Edit();
    p.StartTime = v;
    p.EndTime = TimeOfDay(v) + p.Duration / kMinutesPerDay;
}

void RecurrencePattern::SetEndTime(DATE v)
{
    RecurrenceFields& p = Edit();
    p.EndTime = v;
    double minutes = std::round((TimeOfDay(v) - TimeOfDay(p.StartTime)) * kMinutesPerDay);
    if (minutes < 0) {
        minutes += kMinutesPerDay;  // an end before the start of day ends on the next day
    }
    p.Duration = static_cast<int32_t>(minutes);
}

void RecurrencePattern::SetDuration(int32_t minutes)
{
    RecurrenceFields& p = Edit();
    p.Duration = minutes;
    p.EndTime = TimeOfDay(p.StartTime) + minutes / kMinutesPerDay;
}

std::shared_ptr<AppointmentItem> RecurrencePattern::MakeOccurrence(const ItemFields& fields,
                                                                   DATE originalDay) const
{
    const std::shared_ptr<PimItem> owner = owner_.lock();
    if (!owner) {
        return nullptr;
    }
    StoredItem stored{kAppointmentKind, fields, std::nullopt, {}};
    stored.fields.Oid = owner->GetOid();
    auto item = std::make_shared<AppointmentItem>(owner->db_, std::move(stored));
    item->master_ = owner;
    item->originalDate_ = originalDay;
    return item;
}

int32_t RecurrencePattern::GetExceptions(std::shared_ptr<Exceptions>* out) const
{
    const std::shared_ptr<PimItem> owner = owner_.lock();
    if (out == nullptr || !owner) {
        return -1;
    }
    std::vector<std::shared_ptr<Exception>> list;
    for (const ExceptionFields& e : owner->stored_.exceptions) {
        list.push_back(std::make_shared<Exception>(
            e, e.Deleted ? nullptr : MakeOccurrence(e.occurrence, e.OriginalDate)));
    }
    *out = std::make_shared<Exceptions>(std::move(list));
    return 0;
}

int32_t RecurrencePattern::GetOccurrence(DATE date, std::shared_ptr<AppointmentItem>* out) const
{
    const std::shared_ptr<PimItem> owner = owner_.lock();
    if (out == nullptr || !owner || !owner->stored_.pattern || !owner->db_->Rule()) {
        return -1;
    }
    const DATE day = std::floor(date);
    for (const ExceptionFields& e : owner->stored_.exceptions) {
        if (e.OriginalDate == day) {
            if (e.Deleted) {
                return -1;
            }
            *out = MakeOccurrence(e.occurrence, day);
            return 0;
        }
    }
    const RecurrenceFields& p = *owner->stored_.pattern;
    const int state = owner->db_->Rule()(p, VariantTimeToSystemTime(day), -1);
    if (state != 1 && state != 2) {
        return -1;
    }
    ItemFields fields = owner->stored_.fields;
    fields.Start = day + TimeOfDay(p.StartTime);
    fields.End = fields.Start + p.Duration / kMinutesPerDay;
    *out = MakeOccurrence(fields, day);
    return 0;
}

}  // namespace pim
