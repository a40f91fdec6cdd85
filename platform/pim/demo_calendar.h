// A believable calendar for demonstrations, tests and benchmarks: working-week meetings,
// lunches, evenings, all-day and multi-day entries, every kind of recurrence with changed,
// moved and deleted occurrences, and tasks with and without dates. Deterministic per seed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/pim/recurrence_fields.h"
#include "platform/systemtime.h"

namespace pim {

class Application;

// Adds the items to the logged-on store around the given day; 0 on success.
int32_t FillDemoCalendar(Application& app, const SYSTEMTIME& around, int appointmentCount,
                         int taskCount, uint32_t seed);

// Opens (creating) the store file at path with the occurrence rule, fills it as above and
// closes it again; 0 on success, negative when the store cannot be opened or written.
int32_t WriteDemoStore(const std::string& path, OccurrenceRule rule, const SYSTEMTIME& around,
                       int appointmentCount, int taskCount, uint32_t seed);

} // namespace pim
