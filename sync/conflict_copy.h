// The local version of an item that lost a conflict: kept as an item of its own under a new
// UID, its subject marked and its memo saying when and why, so no edit is ever lost.
#pragma once

#include <string>

#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace caldav {

enum class ConflictReason {
    ChangedOnBothSides, // the server's version went into the item
    DeletedThere,       // the server deleted the item
    UnreadableThere,    // the server's version became one the store cannot hold
};

// A new unsaved item with the local version's values.
pim::StoredItem ConflictCopy(const pim::StoredItem& local, ConflictReason reason,
                             const SYSTEMTIME& now);

// A string of the table with "%1", "%2", ... filled in order.
std::wstring FilledText(int id, std::initializer_list<std::wstring> values);

} // namespace caldav
