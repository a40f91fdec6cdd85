// The recurrence pattern of an item: its values, its exceptions and the occurrence of a given
// day, decided by the occurrence rule the store was opened with. The values live in the item,
// so the item's Save writes them.
#pragma once

#include <memory>

#include "platform/pim/exceptions.h"
#include "platform/pim/item_fields.h"

namespace pim {

class AppointmentItem;
class PimItem;

class RecurrencePattern {
public:
    explicit RecurrencePattern(std::shared_ptr<PimItem> owner) : owner_(std::move(owner)) {}

    // Weekly on the weekday of `start`, every week, no end, occurrences of `minutes`.
    static RecurrenceFields WeeklyFrom(DATE start, int32_t minutes);

    // 0 daily, 1 weekly, 2 monthly on a day, 3 monthly on the nth weekday, 5 and 6 yearly.
    int32_t GetRecurrenceType() const { return Fields().RecurrenceType; }
    void SetRecurrenceType(int32_t v) { Edit().RecurrenceType = v; }
    DATE GetPatternStartDate() const { return Fields().PatternStartDate; }
    void SetPatternStartDate(DATE v) { Edit().PatternStartDate = v; }
    DATE GetPatternEndDate() const { return Fields().PatternEndDate; }
    void SetPatternEndDate(DATE v) { Edit().PatternEndDate = v; }
    // Times of day. Moving the start keeps the duration, so the end moves with it.
    DATE GetStartTime() const { return Fields().StartTime; }
    void SetStartTime(DATE v);
    // Setting the end changes the duration (an end before the start ends the next day).
    DATE GetEndTime() const { return Fields().EndTime; }
    void SetEndTime(DATE v);
    // Minutes; setting it moves the end time.
    int32_t GetDuration() const { return Fields().Duration; }
    void SetDuration(int32_t minutes);
    bool GetNoEndDate() const { return Fields().NoEndDate; }
    void SetNoEndDate(bool v) { Edit().NoEndDate = v; }
    int32_t GetOccurrences() const { return Fields().Occurrences; }
    void SetOccurrences(int32_t v) { Edit().Occurrences = v; }
    int32_t GetInterval() const { return Fields().Interval; }
    void SetInterval(int32_t v) { Edit().Interval = v; }
    // Sunday 1, Monday 2, ... Saturday 64.
    int32_t GetDayOfWeekMask() const { return Fields().DayOfWeekMask; }
    void SetDayOfWeekMask(int32_t v) { Edit().DayOfWeekMask = v; }
    int32_t GetDayOfMonth() const { return Fields().DayOfMonth; }
    void SetDayOfMonth(int32_t v) { Edit().DayOfMonth = v; }
    // 1..4 first to fourth, 5 last.
    int32_t GetInstance() const { return Fields().Instance; }
    void SetInstance(int32_t v) { Edit().Instance = v; }
    int32_t GetMonthOfYear() const { return Fields().MonthOfYear; }
    void SetMonthOfYear(int32_t v) { Edit().MonthOfYear = v; }

    int32_t GetExceptions(std::shared_ptr<Exceptions>* out) const;
    // The occurrence that originally starts on the day of `date`: the exception's item when it
    // was changed. Fails when the rule says none starts there or the occurrence was deleted.
    int32_t GetOccurrence(DATE date, std::shared_ptr<AppointmentItem>* out) const;

    // All values at once, for the occurrence algorithms.
    const RecurrenceFields& Fields() const;

private:
    RecurrenceFields& Edit();
    std::shared_ptr<AppointmentItem> Occurrence(const ItemFields& fields, DATE originalDay) const;

    std::shared_ptr<PimItem> owner_;
    RecurrenceFields none_; // what a cleared pattern reads as
};

} // namespace pim
