// One VEVENT or VTODO read into the store's values: the item with its pattern and the
// occurrences its EXDATEs delete, or the changed occurrence a RECURRENCE-ID names. What cannot
// be read exactly is a problem (the component is skipped) or a note (it is read, altered).
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace ical {

class ZoneTable;

// What reading says besides the values: each step that alters or leaves out something adds a
// note, and a time in a zone nobody defines marks the component for reading again later.
struct ReadNotes {
    std::vector<std::string> notes;
    // A TZID neither the system nor the file (so far) defines; the file may define it later.
    bool unknownZone = false;
};

struct ReadComponent : ReadNotes {
    pim::StoredItem item;                  // fields.UID holds the component's UID
    std::vector<DATE> deletedDays;         // EXDATE days of a series
    std::optional<DATE> recurrenceDay;     // set for a changed occurrence of a series
    std::string problem;                   // non-empty: skip the component
    bool unsupportedRule = false;          // the problem is a valid rule the pattern cannot state
    std::vector<pim::StoredItem> expanded; // the series as single items, when asked to expand
    // DTSTART's own occurrence of a series whose DTSTART is not one of the rule's days.
    std::optional<pim::StoredItem> startOccurrence;
};

struct ReadOptions {
    bool expandUnsupported = false;
    DATE expandUntil = 0.0; // local; occurrences starting later are not expanded
    int maxExpanded = 1000;
};

// `text` is the component's own text (used for a UID-less component's stable id and for
// values libical reads too leniently).
ReadComponent ReadItemComponent(icalcomponent* component, const std::string& text,
                                const ZoneTable& zones, const ReadOptions& options);

} // namespace ical
