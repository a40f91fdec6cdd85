// The components a store's items and changed occurrences kept, found by their text: an import
// of a file imported before meets most of its components again unchanged, and knows them
// without reading them. A text two holders kept (a series and its own start, the singles one
// series was expanded into) is found for neither.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/pim/item_fields.h"

namespace ical {

class KeptIndex {
public:
    struct Holder {
        int32_t kind = pim::kAppointmentKind;
        int32_t position = 0;       // in its kind's collection, 1-based
        std::optional<DATE> change; // the original day of a changed occurrence
    };

    // The item at `position` of its kind's collection and its changed occurrences.
    void Add(const pim::StoredItem& item, int32_t position);
    // Which one kept a text of the same hash: the caller compares the texts.
    std::optional<Holder> Find(const std::string& kept) const;
    bool Empty() const { return byHash_.empty(); }

private:
    void AddText(const std::string& kept, const Holder& holder);

    std::unordered_map<size_t, std::optional<Holder>> byHash_; // empty: more than one holder
};

} // namespace ical
