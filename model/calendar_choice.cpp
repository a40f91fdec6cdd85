// The listing rule of calendars, shared by the document's load and Find.
#include "model/calendar_choice.h"

#include <algorithm>

bool CalendarChoice::Holds(const std::vector<pim::Calendar>& calendars, int32_t calendar) const
{
    if (!only.empty()) {
        return std::find(only.begin(), only.end(), calendar) != only.end();
    }
    if (hiddenToo) {
        return true;
    }
    const auto known =
        std::find_if(calendars.begin(), calendars.end(),
                     [calendar](const pim::Calendar& c) { return c.id == calendar; });
    return known == calendars.end() || known->shown;
}
