// One sync round of an account: pull what the server changed, push what changed here, keep
// both sides' edits when both changed an item, and leave the store and the server agreeing
// (or, cut short at any moment, in a state the next round brings to agreement).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/pim/sync_ledger.h"
#include "platform/systemtime.h"
#include "sync/connection.h"
#include "sync/sync_error.h"

namespace caldav {

struct RoundOptions {
    SYSTEMTIME now{}; // for DTSTAMP and the conflict memo
    // Asked between steps, also by the round's fetching thread; false ends the round where it
    // is (the next one carries on).
    std::function<bool()> carryOn{};
    // How long a round waits for another round on the same store to end before it gives up.
    int lockWaitMs = 2000;
    // Resources fetched in one multiget and written in one store transaction.
    int pullBatch = 500;
};

struct RoundReport {
    int sent = 0;         // resources PUT
    int deletedThere = 0; // resources DELETEd on the server
    int received = 0;     // items written from the server
    int deletedHere = 0;  // items deleted because the server deleted them
    int conflicts = 0;
    int skipped = 0; // resources the store cannot express, left on the server
    int refused = 0; // items the server would not take (or delete), kept here to try again
    int requests = 0;
    int writes = 0; // PUTs and DELETEs sent, answered or not
    bool storeChanged = false;
    bool busy = false; // another round held the store: nothing was done (a note says so)
    std::vector<std::wstring> notes; // one line per conflict and skipped resource
    SyncError error;
    // 0 done, 1 done with a conflict, a skipped resource or a refused item, 2 failed.
    int ExitCode() const;
};

RoundReport RunRound(const std::string& storePath, const pim::OccurrenceRule& rule,
                     const pim::SyncAccount& account, const Connection& connection,
                     const RoundOptions& options);

} // namespace caldav
