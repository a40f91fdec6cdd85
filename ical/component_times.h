// The times of a component in the store's local time: each property's value by its TZID, the
// zone a start keeps, and an appointment's start and end or a task's dates, checked together.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ical/component_reader.h"
#include "platform/systemtime.h"

namespace ical {

class ZoneTable;

constexpr double kMinutesPerDay = 1440.0;
int32_t MinutesBetween(DATE from, DATE to);

// Whether the component's first property of `kind` holds a DATE (not a DATE-TIME).
bool IsDateValue(icalcomponent* c, icalproperty_kind kind);

// `value` of property `p` (named `name` in notes) in local time, by the zone its TZID names.
std::optional<DATE> PropertyTime(icalproperty* p, const icaltimetype& value, const char* name,
                                 const ZoneTable& zones, ReadNotes& said);

// The first property of `kind` as a local time; empty when absent or not a date or time.
std::optional<DATE> TimeOf(icalcomponent* c, icalproperty_kind kind, const char* name,
                           const ZoneTable& zones, ReadNotes& said);

// The zone a timed start names by a system zone name, "UTC" for a UTC one, else empty.
std::string StartZone(icalcomponent* c);

struct AppointmentTimes {
    DATE start = 0.0;
    DATE end = 0.0;
    bool allDay = false;
    std::string zone;    // as StartZone
    std::string problem; // non-empty: the times cannot be read
};
AppointmentTimes ReadAppointmentTimes(icalcomponent* c, const ZoneTable& zones, ReadNotes& said);

struct TaskDates {
    std::optional<DATE> start;
    std::optional<DATE> due;
    std::optional<DATE> completed;
    std::string problem; // non-empty: the dates cannot be read
};
TaskDates ReadTaskDates(icalcomponent* c, const ZoneTable& zones, ReadNotes& said);

} // namespace ical
