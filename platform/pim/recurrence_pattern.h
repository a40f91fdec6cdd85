// The recurrence pattern of an item, its exceptions, and the occurrence of a given day,
// decided by the occurrence rule the store was opened with.
#pragma once

#include <memory>
#include <vector>

#include "platform/pim/item_fields.h"

namespace pim {

class AppointmentItem;
class PimItem;

// One changed or deleted occurrence of a recurring appointment.
class Exception {
public:
    Exception(ExceptionFields fields, std::shared_ptr<AppointmentItem> item)
        : fields_(std::move(fields)), item_(std::move(item)) {}
    DATE GetOriginalDate() const { return fields_.OriginalDate; }
    bool GetDeleted() const { return fields_.Deleted; }
    // The changed occurrence; fails for a deleted one.
    int32_t GetAppointmentItem(std::shared_ptr<AppointmentItem>* out) const;

private:
    ExceptionFields fields_;
    std::shared_ptr<AppointmentItem> item_;
};

class Exceptions {
public:
    explicit Exceptions(std::vector<std::shared_ptr<Exception>> items) : items_(std::move(items)) {}
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // 1-based; fails outside 1..Count.
    int32_t Item(int32_t n, std::shared_ptr<Exception>* out) const;

private:
    std::vector<std::shared_ptr<Exception>> items_;
};

class RecurrencePattern {
public:
    // The pattern lives in its item; it holds the item weakly so neither keeps the other alive.
    explicit RecurrencePattern(std::weak_ptr<PimItem> owner) : owner_(std::move(owner)) {}

    const RecurrenceFields& Fields() const;
    int32_t GetRecurrenceType() const { return Fields().RecurrenceType; }
    void SetRecurrenceType(int32_t v) { Edit().RecurrenceType = v; }
    DATE GetPatternStartDate() const { return Fields().PatternStartDate; }
    void SetPatternStartDate(DATE v) { Edit().PatternStartDate = v; }
    DATE GetPatternEndDate() const { return Fields().PatternEndDate; }
    void SetPatternEndDate(DATE v) { Edit().PatternEndDate = v; }
    DATE GetStartTime() const { return Fields().StartTime; }
    // Moving the start keeps the duration, so the end time moves with it.
    void SetStartTime(DATE v);
    DATE GetEndTime() const { return Fields().EndTime; }
    // Setting the end changes the duration.
    void SetEndTime(DATE v);
    int32_t GetDuration() const { return Fields().Duration; }
    // Setting the duration moves the end time.
    void SetDuration(int32_t minutes);
    bool GetNoEndDate() const { return Fields().NoEndDate; }
    void SetNoEndDate(bool v) { Edit().NoEndDate = v; }
    int32_t GetOccurrences() const { return Fields().Occurrences; }
    void SetOccurrences(int32_t v) { Edit().Occurrences = v; }
    int32_t GetInterval() const { return Fields().Interval; }
    void SetInterval(int32_t v) { Edit().Interval = v; }
    int32_t GetDayOfWeekMask() const { return Fields().DayOfWeekMask; }
    void SetDayOfWeekMask(int32_t v) { Edit().DayOfWeekMask = v; }
    int32_t GetDayOfMonth() const { return Fields().DayOfMonth; }
    void SetDayOfMonth(int32_t v) { Edit().DayOfMonth = v; }
    int32_t GetInstance() const { return Fields().Instance; }
    void SetInstance(int32_t v) { Edit().Instance = v; }
    int32_t GetMonthOfYear() const { return Fields().MonthOfYear; }
    void SetMonthOfYear(int32_t v) { Edit().MonthOfYear = v; }

    int32_t GetExceptions(std::shared_ptr<Exceptions>* out) const;
    // The occurrence that starts on the day of `date` (the exception's item when it was
    // changed); fails when none starts there or it was deleted.
    int32_t GetOccurrence(DATE date, std::shared_ptr<AppointmentItem>* out) const;

private:
    RecurrenceFields& Edit();
    std::shared_ptr<AppointmentItem> MakeOccurrence(const ItemFields& fields, DATE originalDay) const;

    std::weak_ptr<PimItem> owner_;
};

}  // namespace pim
