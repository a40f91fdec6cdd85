// The SQLite file behind the store, as the rest of the program sees it: opening it without ever
// damaging a file it cannot use, the versioned schema, bulk loads and whole-item saves in one
// transaction. The work is done by the connection, the opener, the reader and the writer; the
// tables beside the items (sync, calendars, subscriptions) reach the file through Connection()
// and Writer().
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/pim/store_connection.h"
#include "platform/pim/store_opener.h"
#include "platform/pim/store_reads.h"
#include "platform/pim/store_schema.h"
#include "platform/pim/store_writes.h"

namespace pim {

class StoreDatabase : public StoreVersions {
public:
    StoreDatabase() = default;
    StoreDatabase(const StoreDatabase&) = delete;
    StoreDatabase& operator=(const StoreDatabase&) = delete;

    using Access = OpenAccess;
    using Identity = FileIdentity;

    // Creates a missing file (and its folder) as a complete empty store. Any existing file is
    // recognised by reads alone: one that is empty, not a store of ours, of a newer version,
    // damaged or locked fails with a negative status and a message, and is left as it was. An
    // older store of ours is brought up to date in one transaction. A store the user may not
    // write opens read-only, with the reason in LastError().
    int32_t Open(const std::string& path, Access access = Access::ReadWrite);
    void Close() { db_.Close(); }
    bool IsOpen() const { return db_.IsOpen(); }
    bool IsReadOnly() const { return db_.IsReadOnly(); }
    bool Writable() const { return db_.Writable(); }
    // One sentence naming the file: why Open or a Load failed, or why the store is read-only.
    const std::wstring& LastError() const { return db_.LastError(); }
    // Why the last Save, Delete or batch failed when the store itself refused it (in use by
    // another program past the wait, no space left, read-only); empty when it was the item's
    // fault or nothing failed.
    const std::wstring& LastWriteError() const { return db_.WriteError(); }

    const Identity& StoreIdentity() const { return identity_; }
    // SQLite's data_version: it differs between two calls exactly when another connection (of
    // any process) committed in between. -1 when it cannot be read.
    int64_t DataVersion() { return db_.DataVersion(); }

    void SetOccurrenceRule(OccurrenceRule rule) { writer_.SetOccurrenceRule(std::move(rule)); }
    const OccurrenceRule& Rule() const { return writer_.Rule(); }

    // The items of a kind with their patterns and exceptions, ascending Oid, in three queries.
    // A positive oid limits the load to that one item.
    int32_t Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out,
                 ItemSelection selection = ItemSelection::All)
    {
        return reader_.Load(kind, oid, out, selection);
    }
    // The items of a kind that can show on a day of the range, in the same order and with the
    // same contents as Load: single items and tasks whose span touches it, every series whose
    // occurrences can (from its first day to its end plus the longest occurrence), and every
    // series with a changed occurrence touching it. Items outside may come along; callers
    // place what they get by its dates as they would from a full load.
    int32_t LoadRange(int32_t kind, const DayRange& range, std::vector<StoredItem>& out)
    {
        return reader_.LoadRange(kind, range, out);
    }
    // Inserts (Oid 0 gets a new id) or replaces the whole item: all of it or nothing. A pattern
    // that ends after a number of occurrences but has no end date yet gets the day of its last
    // occurrence, so the series shows up to there. A new item without a UID gets a fresh one;
    // a replaced item saved without one keeps its stored UID. The item counts as changed for
    // sync in the same transaction.
    int32_t Save(StoredItem& item) { return writer_.Save(item, SyncMark::Change); }
    // The appointments, then the tasks, each by oid, whose subject, place, categories or memo
    // contain `text`, with case and accents ignored. A series is found once, also by the texts
    // of its changed (not deleted) occurrences.
    int32_t FindMatches(const std::wstring& text, std::vector<FindMatch>& out)
    {
        return reader_.FindMatches(text, out);
    }
    // Whether an item holds the UID: 1 when one does, 0 when none does (or for an empty UID),
    // negative when the store cannot be read.
    int32_t HoldsUid(const std::wstring& uid) { return reader_.HoldsUid(uid); }
    // Deletes the item; one the server holds leaves a tombstone for the next sync round.
    int32_t Delete(int32_t oid) { return writer_.Delete(oid, SyncMark::Change); }
    // Runs many saves as one transaction (one disk sync); a negative result rolls all back
    // (items saved inside keep the Oid they were given, which then does not exist). Find's
    // rows of the items written (and, for a large batch, the indexes) are built at the end, so
    // FindMatches inside sees the items as they were before the batch.
    int32_t RunInOneTransaction(const std::function<int32_t()>& work)
    {
        return writer_.RunInOneTransaction(work);
    }

    // For the tables beside the items: their queries and writes, and the sync's own saves.
    StoreConnection& Connection() { return db_; }
    StoreWriter& Writer() { return writer_; }

private:
    StoreConnection db_;
    StoreReader reader_{db_};
    StoreWriter writer_{db_};
    Identity identity_;
};

} // namespace pim
