// What the steps of one sync round share: the store and its ledger, the client, the account,
// the options and the report, and the way a store status or a server error ends the round.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "sync/dav_client.h"
#include "sync/sync_round.h"

namespace caldav {

// Servers spell the same path with more or fewer escapes or dot segments; compare paths
// normalised and decoded.
std::wstring HrefKey(const std::wstring& href);

// The links and tombstones of one calendar as they are now, indexed the ways a resource is
// matched.
struct LocalState {
    std::map<std::wstring, pim::SyncLink> byHref;          // of this calendar, by HrefKey
    std::map<std::wstring, pim::SyncLink> byUid;           // items never pushed, by UID
    std::map<std::wstring, pim::SyncTombstone> tombstones; // of this calendar, by HrefKey
    std::map<std::wstring, pim::SkippedResource> skipped;  // the same
    std::map<std::wstring, std::wstring> linkedUids;       // HrefKey of byHref, by UID
};

struct RoundContext {
    RoundContext(pim::StoreDatabase& db, const pim::SyncAccount& account,
                 const Connection& connection, const RoundOptions& options, RoundReport& report);

    // The URLs of the account's calendars, each once.
    std::vector<std::wstring> Calendars() const;
    // The store's calendar of a collection of the account; 0 when it has none.
    int32_t CalendarId(const std::wstring& url) const;
    // The collection is gone from the server: its calendar is kept here as a local one, said
    // in a note, and this round syncs it no more.
    bool Gone(const std::wstring& url);
    // No error so far, and the caller lets the round go on.
    bool Going() const;
    // A store status; false (with the round's error set) when the store itself refused.
    bool Stored(int32_t status);
    // Whether there is an error; the round keeps the first.
    bool Failed(const SyncError& error);
    // The item of a link; false when it is gone or the store failed (the error set then).
    bool Load(const pim::SyncLink& link, pim::StoredItem& out);

    pim::StoreDatabase& db;
    pim::SyncLedger ledger;
    DavClient client;
    int otherRequests = 0; // sent by the clients of the round's helper threads
    const pim::SyncAccount& account;
    std::vector<pim::Calendar> calendars; // of the account, as the round began
    const RoundOptions& options;
    RoundReport& report;
};

} // namespace caldav
