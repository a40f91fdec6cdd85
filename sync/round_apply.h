// The server's version of one calendar's resources into the store, one resource at a time: a
// new item, a replaced one, one linked because both sides say the same, a conflict copy of a
// local edit, a resource the store cannot hold, or an item deleted because its resource went.
// Every write is a compare-and-swap on the item's change counter, so a save in the window during
// a round is never overwritten: that item simply waits for the next round.
#pragma once

#include <map>
#include <set>
#include <string>

#include "sync/calendar_collection.h"
#include "sync/conflict_copy.h"
#include "sync/resource_text.h"
#include "sync/round_context.h"

namespace caldav {

class RoundApply {
public:
    // `local` is kept up to date with what was applied.
    RoundApply(RoundContext& round, const std::wstring& calendar, LocalState& local);

    // Store statuses, negative only when the store failed.
    int32_t Changed(const Resource& resource);
    // The same, with the resource already read (`read`: ReadResource of its calendar data).
    int32_t Changed(const Resource& resource, ResourceItem read);
    int32_t Removed(const std::wstring& href);
    // False once a local save came in between: the position must not move past what it missed.
    bool Complete() const { return complete_; }

private:
    int32_t Counted(int32_t status);
    int32_t Received(int32_t status);
    int32_t Skipped(const std::wstring& href, const std::wstring& etag, const std::wstring& reason);
    int32_t KeepCopy(const pim::StoredItem& mine, ConflictReason reason);
    int32_t Drop(const pim::SyncLink& link, ConflictReason reason);
    // The link of this calendar at another href with the item's UID and kind, else end.
    std::map<std::wstring, pim::SyncLink>::iterator HeldElsewhere(const pim::StoredItem& item);

    RoundContext& round_;
    const std::wstring calendar_;
    LocalState& local_;
    bool complete_ = true;
    std::set<std::wstring> applied_; // UIDs of the resources applied this round
};

} // namespace caldav
