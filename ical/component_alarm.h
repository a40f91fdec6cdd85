// A component's first VALARM as the item's reminder: further alarms and the alarm's own text
// and attachment stay in what the item keeps, not in its fields.
#pragma once

#include <libical/ical.h>

#include "ical/component_reader.h"
#include "platform/pim/item_fields.h"

namespace ical {

// Sets the reminder fields of `fields` from the alarm, relative to `start` or `end` (a task's
// dates, pim::kNoDate where it has none). A task's reminder is a time, an appointment's the
// minutes before its start.
void ReadAlarm(icalcomponent* c, bool task, DATE start, DATE end, const ZoneTable& zones,
               pim::ItemFields& fields, ReadNotes& said);

} // namespace ical
