// The schedule as the view uses it: the day entries it paints, plus moving the shown period and
// telling how many days are shown. The document provides it through an adapter.
#pragma once

#include "view/day_entries.h"

class ScheduleSource : public DayEntries {
public:
    // Moves the first shown day; false when the new period is not held and must be reloaded.
    virtual bool SetShownStart(const SYSTEMTIME& firstDay) = 0;
    virtual void Reload() = 0;
    virtual void SetShownDayCount(int count) = 0;
};
