// Saving and deleting items. An occurrence is never stored on its own: its save or delete
// becomes an exception of its series, and the series is saved.
#include "platform/pim/pim_item.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/store_database.h"

namespace pim {
namespace {

constexpr double kMinutesPerDay = 1440.0;

// The exception of a day in a series, created when the day has none yet.
ExceptionFields& ExceptionOf(StoredItem& series, DATE originalDay)
{
    auto& list = series.exceptions;
    const auto at = std::lower_bound(list.begin(), list.end(), originalDay,
                                     [](const ExceptionFields& e, DATE d) { return e.OriginalDate < d; });
    if (at != list.end() && at->OriginalDate == originalDay) {
        return *at;
    }
    ExceptionFields created;
    created.OriginalDate = originalDay;
    return *list.insert(at, created);
}

}  // namespace

PimItem::PimItem(std::shared_ptr<StoreDatabase> db, StoredItem stored)
    : stored_(std::move(stored)), db_(std::move(db))
{
}

PimItem::~PimItem() = default;

int32_t PimItem::GetRecurrencePattern(std::shared_ptr<RecurrencePattern>* out)
{
    if (out == nullptr || IsOccurrence()) {
        return -1;
    }
    if (!stored_.pattern) {
        const DATE anchor = PatternAnchor();
        const DATE day = std::floor(anchor);
        RecurrenceFields p;
        p.RecurrenceType = 1;
        p.PatternStartDate = day;
        p.StartTime = anchor - day;
        p.Duration = std::max(0, static_cast<int32_t>(std::lround(
                                     (stored_.fields.End - stored_.fields.Start) * kMinutesPerDay)));
        p.EndTime = p.StartTime + p.Duration / kMinutesPerDay;
        p.Interval = 1;
        p.DayOfWeekMask = 1 << VariantTimeToSystemTime(day).wDayOfWeek;
        p.NoEndDate = true;
        stored_.pattern = p;
    }
    *out = std::make_shared<RecurrencePattern>(weak_from_this());
    return 0;
}

int32_t PimItem::ClearRecurrencePattern()
{
    if (IsOccurrence()) {
        return -1;
    }
    stored_.pattern.reset();
    stored_.exceptions.clear();
    return 0;
}

int32_t PimItem::Save()
{
    if (IsOccurrence()) {
        ExceptionFields& e = ExceptionOf(master_->stored_, originalDate_);
        e.Deleted = false;
        e.occurrence = stored_.fields;
        return master_->Save();
    }
    return db_->Save(stored_);
}

int32_t PimItem::Delete()
{
    if (IsOccurrence()) {
        ExceptionFields& e = ExceptionOf(master_->stored_, originalDate_);
        e.Deleted = true;
        e.occurrence = master_->stored_.fields;
        return master_->Save();
    }
    if (GetOid() <= 0) {
        return -1;
    }
    return db_->Delete(GetOid());
}

std::shared_ptr<AppointmentItem> AppointmentItem::Copy() const
{
    StoredItem copy{stored_.kind, stored_.fields, std::nullopt, {}};
    copy.fields.Oid = 0;
    return std::make_shared<AppointmentItem>(db_, std::move(copy));
}

std::shared_ptr<TaskItem> TaskItem::Copy() const
{
    StoredItem copy{stored_.kind, stored_.fields, std::nullopt, {}};
    copy.fields.Oid = 0;
    copy.fields.DateCompleted = 0.0;
    return std::make_shared<TaskItem>(db_, std::move(copy));
}

void TaskItem::SetComplete(bool v)
{
    stored_.fields.Complete = v;
    stored_.fields.DateCompleted = v ? SystemTimeToVariantTime(GetLocalTime()) : 0.0;
}

}  // namespace pim
