// The conflict rule of one day's appointments, in the document's order: an item conflicts when
// an earlier busy item already reaches past its start. The Gantt rows measure in pixels, the
// grid and the detail list in minutes; the rule is the same.
#pragma once

#include "view/day_entries.h"

class ConflictTracker {
public:
    // Whether appointment `pos` of `day`, starting at `start`, overlaps an earlier busy item.
    // Free items and moved or deleted occurrences never conflict.
    bool Conflicts(const DayEntries& entries, int day, int pos, int start) const;
    // Takes the item's end into account; only busy, ordinary (non-holiday) items reach on.
    void Pass(const DayEntries& entries, int day, int pos, int end);
    // The furthest end reached so far.
    int Reached() const { return reached_; }

private:
    int reached_ = 0;
};
