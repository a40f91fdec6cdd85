// An alarm the fields cannot state (no trigger, an invalid time, relative to a date the task
// lacks) is left out of the fields with a note; one after the start is moved to the start.
#include "ical/component_alarm.h"

#include <cstdlib>
#include <string>

#include "ical/component_times.h"
#include "ical/ical_text.h"
#include "model/date_time.h"
#include "model/pim_records.h"

namespace ical {
namespace {

// When the alarm fires, or empty with a note why it cannot be said.
std::optional<DATE> AlarmTime(icalproperty* trigger, DATE start, DATE end, const ZoneTable& zones,
                              ReadNotes& said)
{
    const icaltriggertype t = icalproperty_get_trigger(trigger);
    if (icaltime_is_null_time(t.time) == 0) {
        const std::optional<DATE> absolute = PropertyTime(trigger, t.time, "TRIGGER", zones, said);
        if (!absolute) {
            said.notes.push_back("alarm with an invalid time left out");
        }
        return absolute;
    }
    icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
    const bool fromEnd =
        related != nullptr && icalparameter_get_related(related) == ICAL_RELATED_END;
    if (!IsTaskDate(fromEnd ? end : start)) {
        said.notes.push_back("an alarm relative to a date the task has not left out");
        return std::nullopt;
    }
    return AddSeconds(fromEnd ? end : start, icaldurationtype_as_int(t.duration));
}

} // namespace

void ReadAlarm(icalcomponent* c, bool task, DATE start, DATE end, const ZoneTable& zones,
               pim::ItemFields& f, ReadNotes& said)
{
    icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT);
    f.ReminderSet = false;
    if (alarm == nullptr) {
        return;
    }
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trigger == nullptr) {
        said.notes.push_back("alarm without TRIGGER left out");
        return;
    }
    const std::optional<DATE> at = AlarmTime(trigger, start, end, zones, said);
    if (!at) {
        return;
    }
    icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
    const bool audio = action != nullptr && icalproperty_get_action(action) == ICAL_ACTION_AUDIO;
    const std::string options = XProperty(alarm, kReminderOptionsProperty);
    f.ReminderOptions =
        !options.empty() ? std::atoi(options.c_str()) : (audio ? kReminderSound : kReminderDialog);
    if (icalproperty* attach = icalcomponent_get_first_property(alarm, ICAL_ATTACH_PROPERTY)) {
        icalattach* a = icalproperty_get_attach(attach);
        if (a != nullptr && icalattach_get_is_url(a) != 0) {
            f.ReminderSoundFile = Wide(icalattach_get_url(a));
        }
    }
    f.ReminderSet = true;
    if (task) {
        f.ReminderTime = *at;
        return;
    }
    int32_t minutes = MinutesBetween(*at, start);
    if (minutes < 0) {
        said.notes.push_back("alarm after the start moved to the start");
        minutes = 0;
    }
    f.ReminderMinutesBeforeStart = minutes;
}

} // namespace ical
