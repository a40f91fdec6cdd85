// The plain values of a recurrence pattern, and the occurrence rule the store is handed when
// it is opened. The rule itself lives with the program's recurrence code; the store only calls
// it, so the store and the schedule document can never disagree about a day.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/systemtime.h"

namespace pim {

struct RecurrenceFields {
    int32_t RecurrenceType = 0; // 0 daily, 1 weekly, 2 monthly day, 3 monthly nth, 5/6 yearly
    DATE PatternStartDate = 0.0;
    DATE StartTime = 0.0; // time of day in the fraction
    DATE EndTime = 0.0;
    DATE PatternEndDate = 0.0;
    bool NoEndDate = true;
    int32_t Occurrences = 0;
    int32_t Interval = 1;
    int32_t DayOfWeekMask = 0;
    int32_t DayOfMonth = 0;
    int32_t Instance = 0;
    int32_t Duration = 0; // minutes
    int32_t MonthOfYear = 0;
    // The item's zone. When set, the start and end days, the time of day and the weekdays
    // above are the zone's own; each occurrence is converted to local time by the rule.
    std::wstring Zone;

    bool operator==(const RecurrenceFields&) const = default;
};

// 0 no occurrence covers the day, 1 a one-day occurrence starts, 2 a longer one starts,
// 3 a middle day, 4 the last day. A negative duration override means "use Duration".
using OccurrenceRule = std::function<int(const RecurrenceFields& pattern, const SYSTEMTIME& day,
                                         int32_t durationOverride)>;

} // namespace pim
