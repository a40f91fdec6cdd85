// Every appointment occurrence that starts in a range of days, by the program's own recurrence
// rule: what the schedule would show, as plain lines for tools and checks.
#pragma once

#include <string>
#include <vector>

#include "model/pim_session.h"
#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace ical {

// "START END SUMMARY" lines sorted by start then summary. START and END are YYYYMMDDTHHMMSS
// local time, or YYYYMMDD for all-day items with an exclusive END. Deleted occurrences are
// left out, changed ones are at their own times; tasks are not listed.
std::vector<std::string> OccurrenceLines(const std::vector<pim::StoredItem>& appointments,
                                         const SYSTEMTIME& from, int days);

// The same over the store of the session (connected for the call, to the items of the days
// alone, when it is not).
int32_t ListOccurrences(PimSession& session, const SYSTEMTIME& from, int days,
                        std::vector<std::string>& lines);

} // namespace ical
