// Importing an iCalendar stream into the store: VEVENT -> appointment, VTODO -> task, matched
// by UID so a second import updates instead of adding. One stream is one transaction: it lands
// whole or not at all.
#pragma once

#include <functional>
#include <istream>
#include <set>
#include <string>
#include <vector>

#include "model/pim_session.h"
#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace ical {

struct ImportOptions {
    // Import series whose rule the pattern cannot state as single appointments, from their
    // start to two years after `today`, at most 1,000 per series.
    bool expandUnsupported = false;
    SYSTEMTIME today{};
    // The calendar new items go to; 0: the store's default local one, so nothing imported
    // leaves this computer unless a server's calendar is asked for. Items the store holds
    // already stay in theirs.
    int32_t calendar = 0;
    // Asked after each component with the bytes read so far; false cancels the import, which
    // then leaves the store as it was.
    std::function<bool(uint64_t bytesRead)> carryOn{};
};

struct ImportReport {
    int appointments = 0;
    int tasks = 0;
    int skipped = 0;
    // One line per skipped or altered component, named by its SUMMARY (its UID when it has
    // none): "\"Planning\": why".
    std::vector<std::string> notes;
    // Negative when the store could not be opened or written; then nothing was imported.
    int32_t status = 0;
    // False for a file that holds no calendar at all: the callers report that as a failure.
    bool sawCalendar = false;
    bool cancelled = false;
};

// Connects the session for the import when it is not connected, and disconnects it after.
ImportReport ImportCalendar(std::istream& in, PimSession& session, const ImportOptions& options);

// "imported 1 appointment, 2 tasks, 0 skipped".
std::string SummaryLine(const ImportReport& report);

// The items of a text/calendar string without touching a store (for pasting): series with
// their deleted and changed occurrences, notes as for an import.
std::vector<pim::StoredItem> ReadCalendarItems(const std::string& text,
                                               std::vector<std::string>& notes);

// A whole calendar file read as ReadCalendarItems reads it, for a subscription.
struct CalendarFile {
    std::vector<pim::StoredItem> items;
    std::vector<std::string> notes;
    bool sawCalendar = false; // false: no calendar at all (a web page, an error text)
    std::wstring name;        // what it calls itself (X-WR-CALNAME); empty when nothing
    // Of its events and tasks as written: their UIDs (empty for none) and how many are changed
    // occurrences, also those whose series is missing (left out without a note). Components
    // cut off, too large or not parsed at all are counted as unreadable.
    std::set<std::string> uids;
    size_t changedOccurrences = 0;
    size_t unreadable = 0;
};
CalendarFile ReadCalendarFile(const std::string& text);

} // namespace ical
