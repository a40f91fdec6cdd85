// Exporting the whole store as one VCALENDAR: appointments as VEVENT, tasks as VTODO, patterns
// as RRULE, exceptions as EXDATE and RECURRENCE-ID, reminders as VALARM, UIDs kept.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/pim_session.h"
#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace ical {

struct ExportOptions {
    SYSTEMTIME now{};                 // the DTSTAMP of every component
    std::vector<int32_t> calendars{}; // only the items of these calendars; empty: every item
};

struct ExportReport {
    int written = 0; // items
    int leftOut = 0;
    std::vector<std::string> notes; // one line per item not written as it is
    int32_t status = 0;             // negative when the store could not be opened
};

// Connects the session for the export when it is not connected, and disconnects it after.
ExportReport ExportCalendar(PimSession& session, const ExportOptions& options, std::ostream& out);

// One item as a text/calendar document (for the clipboard).
std::string ItemCalendarText(const pim::StoredItem& item, const ExportOptions& options);

// Whether the item, its fields as just read from the components it kept, is written back as
// exactly those components (every one, nothing added, no zone of a file's own definition):
// its text then reads back as the item itself, with no need to write and parse it.
bool WritesBackAsKept(const pim::StoredItem& item, const ExportOptions& options);

} // namespace ical
