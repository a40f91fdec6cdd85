// A component's series: RRULE and EXDATE as the store's pattern and deleted days, a rule the
// pattern cannot state reported (or expanded into single appointments when asked), and the
// day a RECURRENCE-ID names.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <string>

#include "ical/component_reader.h"
#include "platform/systemtime.h"

namespace ical {

class ZoneTable;

// Where the series starts, as the component's times gave it.
struct SeriesStart {
    DATE start = 0.0;    // local; a task's start or else due date
    int32_t minutes = 0; // an appointment's length
    std::string zone;    // the start's zone as StartZone gives it
    bool allDay = false;
};

// Sets out.item.pattern and out.deletedDays from the rule (the RRULE line as written is
// `rawRule`) and moves an appointment's times to the first occurrence; a rule the pattern
// cannot state sets out.problem. Nothing without RRULE or RDATE.
void ReadSeries(icalcomponent* c, const std::string& rawRule, const SeriesStart& series,
                const ZoneTable& zones, const ReadOptions& options, ReadComponent& out);

// The changed occurrence `id` names into out.recurrenceDay; false with out.problem when the
// component cannot be one.
bool ReadChangedOccurrence(icalproperty* id, bool event, const ZoneTable& zones,
                           ReadComponent& out);

} // namespace ical
