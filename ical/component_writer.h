// One stored item written as iCalendar components: a VEVENT or VTODO with its RRULE, EXDATEs
// and VALARM, plus one VEVENT per changed occurrence. An item that keeps a zone is written in
// it; other times are local wall times, written in the local zone's TZID, as UTC when the
// machine runs on UTC, or floating when the zone has no name libical knows.
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace ical {

struct TimeStyle {
    std::string tzid; // the local zone's name, written as TZID; empty: see utc
    bool utc = false; // the machine runs on UTC: write UTC times
    // The times handed over are already the wall times of tzid (or of UTC): an item that keeps
    // its own zone.
    bool zoneWall = false;
};

// How an item that keeps its own zone writes its times; empty when it has none the system
// knows (then it is written in local time).
std::optional<TimeStyle> ItemZoneStyle(const pim::ItemFields& fields);

// The components of one item, to be freed by the caller; empty with a note when the item
// cannot be written (a pattern with no day at all).
std::vector<icalcomponent*> WriteItemComponents(const pim::StoredItem& item, const TimeStyle& style,
                                                const SYSTEMTIME& now,
                                                std::vector<std::string>& notes);

// A component serialised as the file holds it: category commas escaped, every line folded.
std::string ComponentText(icalcomponent* component);

// The UID an item is exported under: its own, or a stable one from its object id.
std::string ExportUid(const pim::ItemFields& fields);

} // namespace ical
