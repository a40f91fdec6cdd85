// The store's side of calendar subscriptions: a read-only calendar whose items are a copy of an
// .ics file elsewhere, with what the file's last answer said of it (its ETag and Last-Modified)
// so that the next read asks only for a changed file. Nothing of it is ever pushed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_calendars.h"

namespace pim {

class StoreDatabase;

// Version 12: a row per subscription beside its calendar.
std::string SubscriptionsTableSql();

// The validators of the file as its last whole answer gave them; empty when it gave none.
struct SubscriptionState {
    std::wstring etag;
    std::wstring lastModified;
    bool operator==(const SubscriptionState&) const = default;
};

// What a replacement wrote.
struct SubscriptionChange {
    int written = 0; // items added or changed
    int deleted = 0; // items gone from the file
};

class SubscriptionLedger {
public:
    // Over an open store; every call fails on a store older than the subscriptions.
    explicit SubscriptionLedger(StoreDatabase& db);

    // The subscriptions, in the calendars' order.
    int32_t All(std::vector<Calendar>& out);
    // An unknown calendar has an empty state.
    int32_t State(int32_t calendar, SubscriptionState& out);
    // Adds `calendar` (its name and url are read; it becomes a read-only subscription) with the
    // file's items and state, all in one transaction.
    int32_t Subscribe(Calendar& calendar, std::vector<StoredItem>& items,
                      const SubscriptionState& state, SubscriptionChange& out);
    // The calendar's items become `items` (one per UID and kind) in one transaction: an item
    // of the same UID and kind is replaced unless it is the same already, the others are
    // added, and those the file no longer has are deleted. No write counts as a local change.
    int32_t Replace(int32_t calendar, std::vector<StoredItem>& items,
                    const SubscriptionState& state, SubscriptionChange& out);
    // The subscription goes, with its items and its state, in one transaction; `deleted` counts
    // the items. Fails, changing nothing, for a calendar that is no subscription.
    int32_t Unsubscribe(int32_t calendar, int& deleted);

private:
    int32_t ReplaceIn(int32_t calendar, std::vector<StoredItem>& items,
                      const SubscriptionState& state, SubscriptionChange& out);
    int32_t SetState(int32_t calendar, const SubscriptionState& state);
    bool IsSubscription(int32_t calendar);

    StoreDatabase& store_;
    StoreAccess access_;
};

} // namespace pim
