// A start, end or due that cannot be read, or an end before its start, is a problem that skips
// the component; a zone nobody defines is read as local time and said.
#include "ical/component_times.h"

#include <cmath>

#include "ical/ical_time.h"
#include "ical/zone_table.h"
#include "model/date_time.h"

namespace ical {

int32_t MinutesBetween(DATE from, DATE to)
{
    return static_cast<int32_t>(std::lround((to - from) * kMinutesPerDay));
}

bool IsDateValue(icalcomponent* c, icalproperty_kind kind)
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    icalvalue* v = p != nullptr ? icalproperty_get_value(p) : nullptr;
    return v != nullptr && icalvalue_isa(v) == ICAL_DATE_VALUE;
}

std::optional<DATE> PropertyTime(icalproperty* p, const icaltimetype& value, const char* name,
                                 const ZoneTable& zones, ReadNotes& said)
{
    icaltimezone* zone = nullptr;
    if (icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER)) {
        const char* id = icalparameter_get_tzid(tzid);
        const std::string iana = ZoneTable::IanaName(id != nullptr ? id : "");
        if (!iana.empty()) {
            return LocalDateInZone(value, iana);
        }
        zone = zones.Find(id != nullptr ? id : "");
        if (zone == nullptr) {
            said.unknownZone = true;
            said.notes.push_back(std::string("unknown time zone ") + (id != nullptr ? id : "") +
                                 " in " + name + ", read as local time");
        }
    }
    return LocalDate(value, zone);
}

std::optional<DATE> TimeOf(icalcomponent* c, icalproperty_kind kind, const char* name,
                           const ZoneTable& zones, ReadNotes& said)
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    if (p == nullptr) {
        return std::nullopt;
    }
    icalvalue* v = icalproperty_get_value(p);
    if (v == nullptr) {
        return std::nullopt;
    }
    const icalvalue_kind vk = icalvalue_isa(v);
    if (vk != ICAL_DATE_VALUE && vk != ICAL_DATETIME_VALUE) {
        return std::nullopt;
    }
    return PropertyTime(p,
                        vk == ICAL_DATE_VALUE ? icalvalue_get_date(v) : icalvalue_get_datetime(v),
                        name, zones, said);
}

std::string StartZone(icalcomponent* c)
{
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    if (p == nullptr || IsDateValue(c, ICAL_DTSTART_PROPERTY)) {
        return {};
    }
    if (icaltime_is_utc(icalproperty_get_dtstart(p)) != 0) {
        return "UTC";
    }
    icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char* id = tzid != nullptr ? icalparameter_get_tzid(tzid) : nullptr;
    return id != nullptr ? ZoneTable::IanaName(id) : std::string();
}

AppointmentTimes ReadAppointmentTimes(icalcomponent* c, const ZoneTable& zones, ReadNotes& said)
{
    AppointmentTimes times;
    const std::optional<DATE> start = TimeOf(c, ICAL_DTSTART_PROPERTY, "DTSTART", zones, said);
    if (!start) {
        times.problem = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY) != nullptr
                            ? "invalid DTSTART"
                            : "no DTSTART";
        return times;
    }
    times.allDay = IsDateValue(c, ICAL_DTSTART_PROPERTY);
    times.zone = StartZone(c);
    std::optional<DATE> end = TimeOf(c, ICAL_DTEND_PROPERTY, "DTEND", zones, said);
    icalproperty* dtend = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY);
    if (end && !times.zone.empty() && !IsDateValue(c, ICAL_DTEND_PROPERTY) &&
        icalproperty_get_first_parameter(dtend, ICAL_TZID_PARAMETER) == nullptr &&
        (icaltime_is_utc(icalproperty_get_dtend(dtend)) == 0)) {
        // A floating end of a zoned start is the start's zone's wall time.
        end = LocalDateInZone(icalproperty_get_dtend(dtend), times.zone);
    }
    if (dtend != nullptr && !end) {
        times.problem = "invalid DTEND";
        return times;
    }
    if (!end) {
        icalproperty* duration = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY);
        const int seconds =
            duration != nullptr ? icaldurationtype_as_int(icalproperty_get_duration(duration)) : 0;
        end =
            duration != nullptr ? AddSeconds(*start, seconds) : *start + (times.allDay ? 1.0 : 0.0);
    }
    if (*end < *start) {
        times.problem = "DTEND before DTSTART";
        return times;
    }
    times.start = *start;
    times.end = *end;
    return times;
}

TaskDates ReadTaskDates(icalcomponent* c, const ZoneTable& zones, ReadNotes& said)
{
    TaskDates dates;
    const bool hasStart = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY) != nullptr;
    const bool hasDue = icalcomponent_get_first_property(c, ICAL_DUE_PROPERTY) != nullptr;
    dates.start = TimeOf(c, ICAL_DTSTART_PROPERTY, "DTSTART", zones, said);
    dates.due = TimeOf(c, ICAL_DUE_PROPERTY, "DUE", zones, said);
    if ((hasStart && !dates.start) || (hasDue && !dates.due)) {
        dates.problem = hasStart && !dates.start ? "invalid DTSTART" : "invalid DUE";
    } else if (dates.start && dates.due && *dates.due < *dates.start) {
        dates.problem = "DUE before DTSTART";
    } else {
        dates.completed = TimeOf(c, ICAL_COMPLETED_PROPERTY, "COMPLETED", zones, said);
    }
    return dates;
}

} // namespace ical
