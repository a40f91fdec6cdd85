// The furthest end reached by earlier busy items; an item starting exactly there does not
// conflict.
#include "view/conflict_tracker.h"

namespace {

bool TakesPart(const DayEntries& entries, int day, int pos)
{
    return entries.Busy(day, pos) != 0 && !IsMovedOrDeleted(entries.EntryState(day, pos));
}

} // namespace

bool ConflictTracker::Conflicts(const DayEntries& entries, int day, int pos, int start) const
{
    return reached_ > start && TakesPart(entries, day, pos);
}

void ConflictTracker::Pass(const DayEntries& entries, int day, int pos, int end)
{
    if (end > reached_ && TakesPart(entries, day, pos) && entries.DayKind(day, pos) == 0) {
        reached_ = end;
    }
}
