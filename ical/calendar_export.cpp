// The calendar is written item by item straight to the stream, so a large store never sits in
// memory as one libical tree.
#include "ical/calendar_export.h"

#include <libical/ical.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "ical/component_writer.h"
#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "ical/zone_table.h"

namespace ical {
namespace {

constexpr const char* kProductId = "-//Velloran//Tamberlo//EN";

// The definitions the written components need, by TZID: a file's own definition an item kept,
// or empty for the system's definition of the zone the TZID names.
using ZoneDefinitions = std::map<std::string, std::string>;

// The system's definition of a zone under `tzid` (its plain name, so other programs recognise
// it, or the name a kept component gives it).
std::string LocalZoneText(const std::string& name, const std::string& tzid)
{
    icaltimezone* zone = icaltimezone_get_builtin_timezone(name.c_str());
    icalcomponent* definition = zone != nullptr ? icaltimezone_get_component(zone) : nullptr;
    if (definition == nullptr) {
        return {};
    }
    icalcomponent* copy = icalcomponent_new_clone(definition);
    if (icalproperty* named = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY)) {
        icalproperty_set_tzid(named, tzid.c_str());
    }
    char* text = icalcomponent_as_ical_string_r(copy);
    std::string out = Refolded(text);
    free(text);
    icalcomponent_free(copy);
    return out;
}

TimeStyle LocalStyle()
{
    TimeStyle style;
    const std::string name = ZoneTable::LocalZoneName();
    style.utc = name == "UTC";
    style.tzid = style.utc ? std::string() : name;
    return style;
}

// What each of the item's written components stands for: a series is written first (null),
// then its changed occurrences in their order.
std::vector<const pim::ExceptionFields*> ComponentOccurrences(const pim::StoredItem& item,
                                                              size_t components)
{
    std::vector<const pim::ExceptionFields*> out{nullptr};
    for (const pim::ExceptionFields& e : item.exceptions) {
        if (!e.Deleted) {
            out.push_back(&e);
        }
    }
    out.resize(components, nullptr);
    return out;
}

// The item's components, each merged with the component it came as; the zones they name join
// `zones`.
void WriteComponents(const pim::StoredItem& item, const TimeStyle& style,
                     const ExportOptions& options, std::ostream& out, ExportReport& report,
                     ZoneDefinitions& zones)
{
    const std::vector<icalcomponent*> components =
        WriteItemComponents(item, style, options.now, report.notes);
    ++(components.empty() ? report.leftOut : report.written);
    const std::vector<const pim::ExceptionFields*> occurrences =
        ComponentOccurrences(item, components.size());
    for (size_t i = 0; i < components.size(); ++i) {
        const pim::ExceptionFields* occurrence = occurrences[i];
        const std::string text = MergedComponentText(item, occurrence, components[i]);
        icalcomponent_free(components[i]);
        out << text;
        const std::map<std::string, std::string> kept =
            KeptZones(occurrence != nullptr ? occurrence->occurrence.Kept : item.fields.Kept);
        for (const std::string& tzid : NamedZones(text)) {
            const auto own = kept.find(tzid);
            std::string& definition = zones[tzid];
            if (definition.empty() && own != kept.end()) {
                definition = own->second;
            }
        }
    }
}

// The definitions of the zones the items name, after the items (the order of a calendar's
// components carries no meaning). UTC needs none; the local zone's leads the calendar.
void WriteItemZones(const ZoneDefinitions& zones, const TimeStyle& style, std::ostream& out)
{
    for (const auto& [tzid, definition] : zones) {
        if (tzid == "UTC" || tzid == style.tzid) {
            continue;
        }
        const std::string iana = ZoneTable::IanaName(tzid);
        if (!definition.empty()) {
            out << Refolded(definition);
        } else if (!iana.empty() && iana != "UTC") {
            out << LocalZoneText(iana, tzid);
        }
    }
}

void WriteHeader(const TimeStyle& style, std::ostream& out, ExportReport& report)
{
    out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:" << kProductId << "\r\n";
    if (!style.tzid.empty()) {
        out << LocalZoneText(style.tzid, style.tzid);
    } else if (!style.utc) {
        report.notes.push_back("the local time zone has no known name; times written as "
                               "floating local times");
    }
}

} // namespace

ExportReport ExportCalendar(PimSession& session, const ExportOptions& options, std::ostream& out)
{
    ExportReport report;
    const bool connected = session.IsConnected();
    if (!connected && (report.status = session.Connect()) < 0) {
        return report;
    }
    const TimeStyle style = LocalStyle();
    WriteHeader(style, out, report);
    ZoneDefinitions zones;
    const auto wanted = [&options](const pim::StoredItem& item) {
        return options.calendars.empty() ||
               std::find(options.calendars.begin(), options.calendars.end(), item.calendar) !=
                   options.calendars.end();
    };
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        if (const AppointItem item = session.FetchAppointment(n); item && wanted(item->Stored())) {
            WriteComponents(item->Stored(), style, options, out, report, zones);
        }
    }
    for (int32_t n = 1; n <= session.TaskCount(); ++n) {
        if (const TaskItem item = session.FetchTask(n); item && wanted(item->Stored())) {
            WriteComponents(item->Stored(), style, options, out, report, zones);
        }
    }
    session.ReleaseAppointment();
    session.ReleaseTask();
    WriteItemZones(zones, style, out);
    out << "END:VCALENDAR\r\n";
    if (!connected) {
        session.Disconnect();
    }
    return report;
}

std::string ItemCalendarText(const pim::StoredItem& item, const ExportOptions& options)
{
    std::ostringstream out;
    ExportReport report;
    const TimeStyle style = LocalStyle();
    WriteHeader(style, out, report);
    ZoneDefinitions zones;
    WriteComponents(item, style, options, out, report, zones);
    WriteItemZones(zones, style, out);
    out << "END:VCALENDAR\r\n";
    return out.str();
}

// Every component is compared as the reader keeps it (unfolded), so no folding counts.
bool WritesBackAsKept(const pim::StoredItem& item, const ExportOptions& options)
{
    std::vector<std::string> notes;
    const std::vector<icalcomponent*> components =
        WriteItemComponents(item, LocalStyle(), options.now, notes);
    const std::vector<const pim::ExceptionFields*> occurrences =
        ComponentOccurrences(item, components.size());
    const size_t changed = static_cast<size_t>(
        std::count_if(item.exceptions.begin(), item.exceptions.end(),
                      [](const pim::ExceptionFields& e) { return !e.Deleted; }));
    bool same = notes.empty() && components.size() == changed + 1;
    const ZoneTable noOwnZones;
    for (size_t i = 0; i < components.size(); ++i) {
        const pim::ExceptionFields* occurrence = occurrences[i];
        const std::string& kept =
            occurrence != nullptr ? occurrence->occurrence.Kept : item.fields.Kept;
        same = same && !kept.empty() &&
               KeptText(MergedComponentText(item, occurrence, components[i], true), noOwnZones) ==
                   kept;
        icalcomponent_free(components[i]);
    }
    return same;
}

} // namespace ical
