// Pulling one calendar: what the server changed since the stored position (by sync token, else
// by CTag and ETags), fetching what the store does not hold yet, applying it in batches, and
// only then saving the new position, so a round cut short starts from the old one next time.
#pragma once

#include <string>

#include "sync/round_context.h"

namespace caldav {

// False when the round ends here: its error is set, or it was cut short.
bool PullCalendar(RoundContext& round, const std::wstring& calendar);

} // namespace caldav
