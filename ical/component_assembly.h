// What the import and the reading of a whole calendar share in putting items together from
// their components: a series' exceptions in order, the occurrences its EXDATEs delete, a
// component's UID, and how a report names an item.
#pragma once

#include <libical/ical.h>

#include <string>
#include <vector>

#include "platform/pim/item_fields.h"

namespace ical {

// Builds exceptions in ascending original day; later entries of a day replace earlier ones.
void PutException(std::vector<pim::ExceptionFields>& list, pim::ExceptionFields e);

// The deleted occurrence of a series on a day its EXDATE names.
pim::ExceptionFields DeletedOn(const pim::StoredItem& series, DATE day);

// How a report names an item: its subject on one line, else its UID.
std::string ItemName(const std::wstring& subject, const std::string& uid);

// The component's UID as written; empty when it has none.
std::string UidOf(icalcomponent* c);

} // namespace ical
