// Between iCalendar date values and the store's DATE of local wall time. The store knows no
// zones: UTC and zoned values become the machine's local time (TZ honoured) on the way in.
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>

#include "platform/systemtime.h"

namespace ical {

// The local time of a value: a DATE value or a floating time as it stands, a UTC time or a time
// in `zone` converted to local time. Empty for a value that names no real date or time, or one
// outside the years 1900 to 2999.
std::optional<DATE> LocalDate(const icaltimetype& value, icaltimezone* zone);

// The same for a time in the IANA zone `iana`, by the system's zone data.
std::optional<DATE> LocalDateInZone(const icaltimetype& value, const std::string& iana);

// The value's own fields (its wall time), empty as for LocalDate.
std::optional<DATE> WallDate(const icaltimetype& value);

// A local DATE as a DATE value, or as a floating time whose fields are the local wall time.
icaltimetype WallValue(DATE local, bool wholeDay);

// A local DATE as a UTC time, for values that must be UTC (UNTIL of a zoned start, COMPLETED).
icaltimetype UtcValue(DATE local);

// The local wall time of a UTC time_t.
DATE LocalDateOfUtc(time_t utc);

// The day part and the time of day in whole seconds, rounded as the store rounds.
int64_t DayOf(DATE date);
int32_t SecondsOf(DATE date);

} // namespace ical
