// What a screen reader reads of the schedule: a day's name ("Tuesday 8 December, holiday") and
// its items, each named "Dentist, 10:00 to 11:00, Room 4" with its states. Plain functions over
// the day entries the painters read, so the names are tested without a window.
#pragma once

#include <string>
#include <vector>

#include "view/day_entries.h"
#include "view/item_selection.h"

struct AccessibleItem {
    ItemKind kind = ItemKind::None;
    int pos = -1; // the entry's position in its day
    std::wstring name;
    bool selected = false;
    bool conflicting = false;
    bool recurring = false;
    bool completed = false;
};

// "Tuesday 8 December" and, on a day a holiday entry heads, its kind and name ("Friday 25
// December, holiday, Christmas Day").
std::wstring AccessibleDayName(const DayEntries& entries, int day);
// The tasks and then the appointments of day row `day`, as the detail list orders them; the
// holiday entry that names the day is no item of the chart, but a line of the detail list
// (`withHoliday`). `selection` marks the selected one when `selectedRow` is `day`.
std::vector<AccessibleItem> AccessibleItems(const DayEntries& entries, int day,
                                            const ItemSelection& selection, int selectedRow,
                                            bool withHoliday = false);
// "Dentist, 10:00 to 11:00, Room 4"; "Holiday party, all day"; the place only when there is one.
std::wstring AppointmentAccessibleName(const std::wstring& subject, const std::wstring& start,
                                       const std::wstring& end, const std::wstring& place,
                                       bool allDay);
// "Report, task" or "Report, task due 12/09".
std::wstring TaskAccessibleName(const std::wstring& subject, const std::wstring& due);
// The item's states in words ("selected, recurring"), for its description.
std::wstring AccessibleStateWords(const AccessibleItem& item);
