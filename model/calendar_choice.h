// Which calendars' items a listing holds: the window, the agenda and Find all ask this one rule,
// so a hidden calendar is left out of every one of them alike unless the caller asks for it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/pim/store_calendars.h"

struct CalendarChoice {
    bool hiddenToo = false;    // the hidden calendars' items as well
    std::vector<int32_t> only; // when not empty: these calendars alone, shown or hidden

    // Whether an item of `calendar` is listed, given the store's calendars. An item of a
    // calendar the list does not know (a store older than calendars) is listed.
    bool Holds(const std::vector<pim::Calendar>& calendars, int32_t calendar) const;
};
