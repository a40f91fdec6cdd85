// The values of one appointment or task as the editors and the change path pass them around:
// its fields and, when it recurs, its pattern. Reading and writing them is all an edit does to
// a store item, so a change can be kept as two of these (before and after).
#pragma once

#include <memory>
#include <optional>

#include "platform/pim/appointment_item.h"
#include "platform/pim/item_fields.h"
#include "platform/pim/task_item.h"

struct ItemValues {
    pim::ItemFields fields;
    // The item's own pattern; for an occurrence, its series' pattern (never written back).
    std::optional<pim::RecurrenceFields> pattern;
    // The id of the item's calendar (for an occurrence, its series'); another id written moves
    // the item there. 0 for a new item: the store takes its default local calendar.
    int32_t calendar = 0;

    bool operator==(const ItemValues&) const = default;
};

// Another program's version of an item with one's own edits on top: every field (and the
// pattern) that `mine` changed from `base` takes its value from `mine`, the rest from `theirs`.
ItemValues MergeEdits(const ItemValues& base, const ItemValues& mine, const ItemValues& theirs);

// The pattern of a recurring item (for an occurrence, its series' pattern); none for a single
// item, which asking the store would give a new pattern.
std::shared_ptr<pim::RecurrencePattern> PatternOfRecurring(pim::PimItem& item);

ItemValues ReadValues(pim::AppointmentItem& item);
ItemValues ReadValues(pim::TaskItem& task);

// Writes the fields of the item's kind; for an item of its own (not an occurrence) also sets
// the pattern, or drops it when there is none. The caller saves.
void WriteValues(const ItemValues& values, pim::AppointmentItem& item);
void WriteValues(const ItemValues& values, pim::TaskItem& task);
