// Find over the whole calendar: the store's matches of a text as lines of date, time and
// subject, a series as one line at its next occurrence (or its last, once it has ended), in
// date order with the next upcoming line marked. The find bar and the agenda both list these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/calendar_choice.h"
#include "model/schedule_edits.h"
#include "platform/systemtime.h"

class PimSession;

struct FoundItem {
    ItemRef item;      // the item itself (a series as a whole)
    DATE when = 0.0;   // the occurrence shown; a task's due (else start) day; kNoDate undated
    bool timed = true; // false for tasks and all-day appointments
    std::wstring subject;
    int32_t calendar = 0;
};

struct FoundItems {
    int32_t status = 0; // negative when the store could not be read
    std::vector<FoundItem> lines;
    int next = -1; // the first line on or after today; -1 when none is
};

// Only the items of the calendars `choice` holds (by default the shown ones) are listed.
FoundItems FindInCalendar(PimSession& session, const std::wstring& text, const SYSTEMTIME& now,
                          const CalendarChoice& choice = {});

// "yyyy/mm/dd" (empty for an undated task) and "hh:mm" (empty when untimed).
std::wstring FoundDayText(const FoundItem& found);
std::wstring FoundTimeText(const FoundItem& found);
