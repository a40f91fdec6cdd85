// The calendar is written item by item straight to the stream, so a large store never sits in
// memory as one libical tree.
#include "ical/calendar_export.h"

#include <libical/ical.h>

#include <set>
#include <sstream>

#include "ical/component_writer.h"
#include "ical/ical_text.h"
#include "ical/zone_table.h"

namespace ical {
namespace {

constexpr const char* kProductId = "-//Velloran//Tamberlo//EN";

// The local zone's definition under its plain name, so other programs recognise it.
std::string LocalZoneText(const std::string& name)
{
    icaltimezone* zone = icaltimezone_get_builtin_timezone(name.c_str());
    icalcomponent* definition = zone ? icaltimezone_get_component(zone) : nullptr;
    if (definition == nullptr) {
        return {};
    }
    icalcomponent* copy = icalcomponent_new_clone(definition);
    if (icalproperty* tzid = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY)) {
        icalproperty_set_tzid(tzid, name.c_str());
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

void WriteComponents(const pim::StoredItem& item, const TimeStyle& style,
                     const ExportOptions& options, std::ostream& out, ExportReport& report)
{
    const std::vector<icalcomponent*> components =
        WriteItemComponents(item, style, options.now, report.notes);
    ++(components.empty() ? report.leftOut : report.written);
    for (icalcomponent* c : components) {
        out << ComponentText(c);
        icalcomponent_free(c);
    }
}

// The definitions of the zones items keep, after the items (the order of a calendar's
// components carries no meaning).
void WriteItemZones(const std::set<std::wstring>& zones, const TimeStyle& style,
                    std::ostream& out)
{
    for (const std::wstring& zone : zones) {
        const std::string name = Utf8(zone);
        if (name != "UTC" && name != style.tzid) {
            out << LocalZoneText(name);
        }
    }
}

void WriteHeader(const TimeStyle& style, std::ostream& out, ExportReport& report)
{
    out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:" << kProductId << "\r\n";
    if (!style.tzid.empty()) {
        out << LocalZoneText(style.tzid);
    } else if (!style.utc) {
        report.notes.push_back("the local time zone has no known name; times written as "
                               "floating local times");
    }
}

}  // namespace

ExportReport ExportCalendar(PimSession& session, const ExportOptions& options, std::ostream& out)
{
    ExportReport report;
    const bool connected = session.IsConnected();
    if (!connected && (report.status = session.Connect()) < 0) {
        return report;
    }
    const TimeStyle style = LocalStyle();
    WriteHeader(style, out, report);
    std::set<std::wstring> zones;
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        if (const AppointItem item = session.FetchAppointment(n)) {
            WriteComponents(item->Stored(), style, options, out, report);
            if (ItemZoneStyle(item->Stored().fields)) {
                zones.insert(item->Stored().fields.Zone);
            }
        }
    }
    for (int32_t n = 1; n <= session.TaskCount(); ++n) {
        if (const TaskItem item = session.FetchTask(n)) {
            WriteComponents(item->Stored(), style, options, out, report);
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
    WriteComponents(item, style, options, out, report);
    if (ItemZoneStyle(item.fields)) {
        WriteItemZones({item.fields.Zone}, style, out);
    }
    out << "END:VCALENDAR\r\n";
    return out.str();
}

}  // namespace ical
