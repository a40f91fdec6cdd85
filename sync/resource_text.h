// One store item as one CalDAV resource and back: a series travels with its changed and deleted
// occurrences as one text. A resource the store cannot hold exactly is refused here, so a round
// never writes a lossy copy of it over the server's.
#pragma once

#include <QByteArray>

#include <optional>
#include <string>

#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

namespace caldav {

// The resource's body for the item; `now` is its DTSTAMP.
QByteArray ResourceText(const pim::StoredItem& item, const SYSTEMTIME& now);

struct ResourceItem {
    std::optional<pim::StoredItem> item; // empty when the store cannot express the resource
    std::wstring reason;                 // why not, in a few words
};

// The one item a resource holds. Notes of the mapping, more than one item, components that
// disagree on their UID, an occurrence without its series, or an item that would not come back
// the same from its own text all make it inexpressible.
ResourceItem ReadResource(const QByteArray& calendarData, const SYSTEMTIME& now);

// Whether two versions of an item say the same once written as a resource (object ids and what
// the text does not carry left aside): two sides that made the same change agree.
bool SameResource(const pim::StoredItem& a, const pim::StoredItem& b, const SYSTEMTIME& now);

} // namespace caldav
