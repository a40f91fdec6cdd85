// Wall times of a named time zone (an IANA name such as "America/New_York", from the system's
// zone data) against the machine's local time, which the C library's TZ rules decide as for
// every other program. An empty zone name means local time itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/systemtime.h"

namespace pim {

// Whether the system's zone data knows the name.
bool IsKnownZone(const std::wstring& zone);

// The local wall time of a wall time in `zone` (a time the zone skips moves forward, as
// clocks do). Empty when the zone is unknown or the date lies outside years 1 to 9999.
std::optional<DATE> ZoneToLocal(const std::wstring& zone, DATE wall);
// The wall time in `zone` of a local wall time.
std::optional<DATE> LocalToZone(const std::wstring& zone, DATE local);

// Zones differ from local time by under 27 hours: an occurrence starting on a zone's day c
// starts locally within this many days of c.
constexpr int64_t kZoneDayReach = 2;

// The local start of the occurrence of a zoned series that starts on local day `day` (a day
// number): of the zone's days near it on which `startsOn` (the occurrence rule on the zone's
// own days) has a start at `secondOfDay`, the one whose converted start lands on `day`.
std::optional<DATE> ZonedStartOnDay(const std::wstring& zone, int32_t secondOfDay, int64_t day,
                                    const std::function<bool(int64_t zoneDay)>& startsOn);

// The wall time in `zone` of a moment given in seconds since 1970.
std::optional<DATE> EpochToZone(const std::wstring& zone, int64_t seconds);

// Seconds since 1970 of a local wall time, and back.
int64_t LocalToEpoch(DATE local);
DATE EpochToLocal(int64_t seconds);

} // namespace pim
