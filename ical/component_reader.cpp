// Reading VEVENT and VTODO. Every value is checked before it is used: a missing or impossible
// start, an end before the start, a rule that cannot be stated exactly all skip the component
// with the reason, so nothing half-read reaches the store.
#include "ical/component_reader.h"

#include "ical/component_alarm.h"
#include "ical/component_fields.h"
#include "ical/component_scan.h"
#include "ical/component_series.h"
#include "ical/component_times.h"
#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "model/pim_records.h"

namespace ical {
namespace {

// The appointment's own fields and times; false with out.problem when they cannot be read.
bool ReadAppointment(icalcomponent* c, std::string_view unfolded, const ZoneTable& zones,
                     SeriesStart& series, ReadComponent& out)
{
    pim::ItemFields& f = out.item.fields;
    out.item.kind = pim::kAppointmentKind;
    f.Location = ReadLocation(c, unfolded, out);
    f.BusyStatus = BusyOf(c);
    const AppointmentTimes times = ReadAppointmentTimes(c, zones, out);
    if (!times.problem.empty()) {
        out.problem = times.problem;
        return false;
    }
    f.Zone = Wide(times.zone.c_str());
    f.Start = times.start;
    f.End = times.end;
    f.AllDayEvent = times.allDay;
    ReadAlarm(c, false, times.start, times.end, zones, f, out);
    series = {times.start, MinutesBetween(times.start, times.end), times.zone, times.allDay};
    return true;
}

bool ReadTask(icalcomponent* c, const ZoneTable& zones, SeriesStart& series, ReadComponent& out)
{
    pim::ItemFields& f = out.item.fields;
    out.item.kind = pim::kTaskKind;
    const TaskDates dates = ReadTaskDates(c, zones, out);
    if (!dates.problem.empty()) {
        out.problem = dates.problem;
        return false;
    }
    f.StartDate = dates.start.value_or(pim::kNoDate);
    f.DueDate = dates.due.value_or(pim::kNoDate);
    f.Importance = ImportanceOf(c);
    f.Complete = dates.completed.has_value() || StatusCompleted(c);
    f.DateCompleted = dates.completed.value_or(pim::kNoDate);
    // A task without dates keeps an alarm at a fixed time; one relative to no date cannot be.
    ReadAlarm(c, true, dates.start.value_or(dates.due.value_or(pim::kNoDate)),
              dates.due.value_or(dates.start.value_or(pim::kNoDate)), zones, f, out);
    series = {IsTaskDate(f.StartDate) ? f.StartDate : f.DueDate, 0, std::string(), true};
    return true;
}

void Read(icalcomponent* c, const std::string& text, const ZoneTable& zones,
          const ReadOptions& options, ReadComponent& out)
{
    const icalcomponent_kind kind = icalcomponent_isa(c);
    const bool event = kind == ICAL_VEVENT_COMPONENT;
    if (!event && kind != ICAL_VTODO_COMPONENT) {
        const char* name = icalcomponent_kind_to_string(kind); // null for unknown kinds
        out.problem =
            std::string("not an appointment or task: ") + (name != nullptr ? name : "unknown");
        return;
    }
    const std::string unfolded = Unfolded(text);
    ReadCommonFields(c, text, unfolded, out.item.fields, out);
    out.problem = UnreadValue(c, unfolded);
    SeriesStart series;
    if (!out.problem.empty() || !(event ? ReadAppointment(c, unfolded, zones, series, out)
                                        : ReadTask(c, zones, series, out))) {
        return;
    }
    if (icalproperty* id = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
        ReadChangedOccurrence(id, event, zones, out);
        return;
    }
    if (!IsTaskDate(series.start) &&
        icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY) != nullptr) {
        out.problem = "a recurring task without dates";
        return;
    }
    ReadSeries(c, RawRule(unfolded), series, zones, options, out);
}

} // namespace

ReadComponent ReadItemComponent(icalcomponent* component, const std::string& text,
                                const ZoneTable& zones, const ReadOptions& options)
{
    ReadComponent out;
    Read(component, text, zones, options, out);
    if (out.problem.empty() || !out.expanded.empty()) {
        // Whatever the item is read as, it keeps the whole component it came as.
        const std::string kept = KeptText(text, zones);
        out.item.fields.Kept = kept;
        if (out.startOccurrence) {
            out.startOccurrence->fields.Kept = kept;
        }
        for (pim::StoredItem& single : out.expanded) {
            single.fields.Kept = kept;
        }
    }
    return out;
}

} // namespace ical
