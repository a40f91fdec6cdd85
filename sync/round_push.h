// Pushing what changed here: a tombstone becomes a DELETE, a new item a PUT that creates its
// resource, a changed one a PUT over the version it was based on. A PUT the server refuses
// because its version moved on takes that version in, and a local edit as a conflict copy.
#pragma once

#include "sync/round_context.h"

namespace caldav {

// False when the round ends here: its error is set, or it was cut short.
bool PushChanges(RoundContext& round);

} // namespace caldav
