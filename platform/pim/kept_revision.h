// A local change to an item that came from outside is a new revision of the component it came
// as: its DTSTAMP and LAST-MODIFIED are renewed, and its SEQUENCE goes up when the change moved
// it in time or place, so other calendars take it for the newer version.
#pragma once

#include <string>
#include <string_view>

#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace pim {

// The upper-case name of an unfolded content line ("DTSTART" of "dtstart;TZID=x:...").
std::string KeptPropertyName(std::string_view line);

// "20261207T093000Z": a local time as the UTC stamp the revision lines carry.
std::string UtcStamp(const SYSTEMTIME& local);

// The kept component text with DTSTAMP and LAST-MODIFIED set to `stamp` (added when missing)
// and, when `newSequence`, SEQUENCE one higher (1 when it had none). Other lines stay as they are.
std::string RenewedRevision(const std::string& kept, const std::string& stamp, bool newSequence);

// Renews the kept revision of the item and of each changed occurrence that differs from `base`
// (the item as last read or saved); untouched components keep theirs.
void RenewChangedRevisions(const StoredItem& base, StoredItem& item, const std::string& stamp);

} // namespace pim
