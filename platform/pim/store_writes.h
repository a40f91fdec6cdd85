// The store's writes: whole-item saves and deletions, each all or nothing, and batches of them
// in one transaction. Every write places its item in a calendar and, unless the sync itself
// writes, counts as a local change for the next round.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/pim/bulk_write.h"
#include "platform/pim/item_fields.h"

namespace pim {

class StoreConnection;

// Whether a write counts as a local change for sync; the sync's own writes do not.
enum class SyncMark { Change, None };

class StoreWriter {
public:
    explicit StoreWriter(StoreConnection& db) : db_(db) {}

    void SetOccurrenceRule(OccurrenceRule rule) { rule_ = std::move(rule); }
    const OccurrenceRule& Rule() const { return rule_; }

    // See StoreDatabase::Save, Delete and RunInOneTransaction.
    int32_t Save(StoredItem& item, SyncMark mark);
    int32_t Delete(int32_t oid, SyncMark mark);
    int32_t RunInOneTransaction(const std::function<int32_t()>& work);

private:
    void FillCountedEndDate(RecurrenceFields& pattern) const;
    int32_t WriteItem(const StoredItem& item, int32_t calendar, int32_t& oid);
    // Places the item in its calendar (see PlaceItem); a local change refused there fails
    // with the reason as the write error.
    int32_t PlaceInCalendar(const StoredItem& item, SyncMark mark, int32_t& calendar);
    int32_t MarkChanged(int32_t oid, bool inserted);
    int32_t WriteTombstone(int32_t oid);
    int32_t WritePattern(int32_t oid, const StoredItem& item, bool inserted);
    int32_t WriteFindText(int32_t oid);
    int32_t DeleteDependents(int32_t oid);

    // Where a batch placed its new items of a kind, asked calendar and mark; the calendars are
    // read once per batch, not once per item, while nothing beside the items changes.
    struct NewPlacement {
        int32_t kind;
        int32_t asked;
        SyncMark mark;
        uint64_t generation;
        int32_t calendar;
    };
    const NewPlacement* PlacedBefore(const StoredItem& item, SyncMark mark) const;

    StoreConnection& db_;
    OccurrenceRule rule_;
    // Set while RunInOneTransaction runs its work.
    std::optional<BulkWrite> bulk_;
    std::vector<NewPlacement> placed_;
};

} // namespace pim
