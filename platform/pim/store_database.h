// The SQLite file behind the store: opening it without ever damaging a file it cannot use,
// the versioned schema, bulk loads and whole-item saves in one transaction.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/pim/bulk_write.h"
#include "platform/pim/item_fields.h"
#include "platform/pim/sqlite_statement.h"

struct sqlite3;

namespace pim {

// Which items a load reads: all, only those a reminder could fire for, or none (an edit finds
// its item by object id and needs nothing read in advance).
enum class ItemSelection { All, WithReminders, None };

// The days [from, until) a load is limited to, as DATE values of their midnights. With
// WithReminders only items with a reminder come, and tasks by the time their reminder fires
// instead of their dates.
struct DayRange {
    DATE from = 0.0;
    DATE until = 0.0;
    ItemSelection selection = ItemSelection::All;
};

class StoreDatabase {
public:
    static constexpr int kSchemaVersion = 12;
    // The versions that added what a read-only opener of an older store reads around; the
    // range indexes of version 6 only make reads faster.
    static constexpr int kFindVersion = 3;     // the first version with Find's index
    static constexpr int kIdentityVersion = 4; // the first version with a store identity
    static constexpr int kZoneVersion = 5;     // the first version whose items keep their zone
    // The first version whose find index holds the texts of changed occurrences too.
    static constexpr int kExceptionFindVersion = 7;
    // The first version with the sync tables and a UID on every item.
    static constexpr int kSyncVersion = 8;
    // The first version whose items keep the component they came as.
    static constexpr int kKeptVersion = 10;
    // The first version whose items each belong to a calendar.
    static constexpr int kCalendarsVersion = 11;
    // The first version that keeps what each subscription's last answer said of its file.
    static constexpr int kSubscriptionsVersion = 12;

    StoreDatabase() = default;
    ~StoreDatabase();
    StoreDatabase(const StoreDatabase&) = delete;
    StoreDatabase& operator=(const StoreDatabase&) = delete;

    enum class Access { ReadWrite, ReadOnly };

    // Creates a missing file (and its folder) as a complete empty store. Any existing file is
    // recognised by reads alone: one that is empty, not a store of ours, of a newer version,
    // damaged or locked fails with a negative status and a message, and is left as it was. An
    // older store of ours is brought up to date in one transaction. A store the user may not
    // write opens read-only, with the reason in LastError().
    int32_t Open(const std::string& path, Access access = Access::ReadWrite);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    bool IsReadOnly() const { return readOnly_; }
    bool Writable() const { return db_ != nullptr && !readOnly_; }
    // One sentence naming the file: why Open or a Load failed, or why the store is read-only.
    const std::wstring& LastError() const { return lastError_; }
    // Why the last Save, Delete or batch failed when the store itself refused it (in use by
    // another program past the wait, no space left, read-only); empty when it was the item's
    // fault or nothing failed.
    const std::wstring& LastWriteError() const { return writeError_; }

    // What tells this store from another file put in its place: the random id written when it
    // was made (empty for a store too old to carry one) and the file's device and inode.
    struct Identity {
        std::wstring id;
        uint64_t device = 0;
        uint64_t inode = 0;
        bool operator==(const Identity&) const = default;
    };
    const Identity& StoreIdentity() const { return identity_; }
    // SQLite's data_version: it differs between two calls exactly when another connection (of
    // any process) committed in between. -1 when it cannot be read.
    int64_t DataVersion();

    void SetOccurrenceRule(OccurrenceRule rule) { rule_ = std::move(rule); }
    const OccurrenceRule& Rule() const { return rule_; }

    // The items of a kind with their patterns and exceptions, ascending Oid, in three queries.
    // A positive oid limits the load to that one item.
    int32_t Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out,
                 ItemSelection selection = ItemSelection::All);
    // The items of a kind that can show on a day of the range, in the same order and with the
    // same contents as Load: single items and tasks whose span touches it, every series whose
    // occurrences can (from its first day to its end plus the longest occurrence), and every
    // series with a changed occurrence touching it. Items outside may come along; callers
    // place what they get by its dates as they would from a full load.
    int32_t LoadRange(int32_t kind, const DayRange& range, std::vector<StoredItem>& out);
    // Inserts (Oid 0 gets a new id) or replaces the whole item: all of it or nothing. A pattern
    // that ends after a number of occurrences but has no end date yet gets the day of its last
    // occurrence, so the series shows up to there. A new item without a UID gets a fresh one;
    // a replaced item saved without one keeps its stored UID. The item counts as changed for
    // sync in the same transaction.
    int32_t Save(StoredItem& item);
    // The appointments, then the tasks, each by oid, whose subject, place, categories or memo
    // contain `text`, with case and accents ignored. A series is found once, also by the texts
    // of its changed (not deleted) occurrences.
    int32_t FindMatches(const std::wstring& text, std::vector<FindMatch>& out);
    // Whether an item holds the UID: 1 when one does, 0 when none does (or for an empty UID),
    // negative when the store cannot be read.
    int32_t HoldsUid(const std::wstring& uid);
    // Deletes the item; one the server holds leaves a tombstone for the next sync round.
    int32_t Delete(int32_t oid);
    // Runs many saves as one transaction (one disk sync); a negative result rolls all back
    // (items saved inside keep the Oid they were given, which then does not exist). Find's
    // rows of the items written (and, for a large batch, the indexes) are built at the end, so
    // FindMatches inside sees the items as they were before the batch.
    int32_t RunInOneTransaction(const std::function<int32_t()>& work);

private:
    friend class SyncLedger;
    friend class SubscriptionLedger;
    friend class StoreAccess;
    struct Restriction;
    // Whether a write counts as a local change for sync; the sync's own writes do not.
    enum class SyncMark { Change, None };
    enum class Recognition { Ours, NotOurs, Newer, Damaged, Busy, Full, Unreadable };

    int32_t Fail(const std::wstring& what);
    int32_t BringUpToDate();
    int32_t Migrate(int32_t fromVersion);
    std::string AddedColumnSql(const char* table, const std::string& column);
    int32_t Create(const std::string& path);
    int32_t OpenExisting(const std::string& path, Access access);
    Recognition Recognise();
    Recognition RecogniseTables();
    Recognition RecognitionOf(int sqliteCode) const;
    bool DiskFull(int sqliteCode) const;
    int32_t ReadIdentity(const std::string& path);
    void NoteWriteFailure();
    std::wstring CannotWriteReason(const std::string& path) const;
    std::wstring Sentence(const wchar_t* before, const wchar_t* after) const;
    std::wstring BusySentence() const;
    std::wstring NoSpaceSentence() const;
    int32_t Exec(const char* sql);
    // The write statements are prepared once per connection and reset before each reuse.
    SqliteStatement& Statement(const std::string& sql);
    // Runs a cached statement without results: 0, or -1 when it failed.
    int32_t Step(const std::string& sql);
    int32_t BeginWrite(bool outermost);
    int32_t EndWrite(bool outermost, int32_t status);
    void FillCountedEndDate(RecurrenceFields& pattern) const;
    int32_t SaveItem(StoredItem& item, SyncMark mark);
    int32_t DeleteItem(int32_t oid, SyncMark mark);
    int32_t WriteItem(const StoredItem& item, int32_t calendar, int32_t& oid);
    // Places the item in its calendar (see PlaceItem); a local change refused there fails
    // with the reason as the write error.
    int32_t PlaceInCalendar(const StoredItem& item, SyncMark mark, int32_t& calendar);
    int32_t MarkChanged(int32_t oid, bool inserted);
    int32_t WriteTombstone(int32_t oid);
    int32_t WritePattern(int32_t oid, const StoredItem& item, bool inserted);
    int32_t WriteFindText(int32_t oid);
    int32_t DeleteDependents(int32_t oid);
    // Loads the items of a kind whose ids `insertIds` puts into temp.wanted_ids.
    int32_t LoadWanted(int32_t kind, const std::string& insertIds,
                       const std::function<void(SqliteStatement&)>& bindIds,
                       std::vector<StoredItem>& out);
    int32_t LoadRestricted(int32_t kind, const Restriction& restriction,
                           std::vector<StoredItem>& out);
    // Runs the queries of one read in one read transaction; a failure marks the store damaged.
    int32_t ReadConsistently(const std::function<int32_t()>& read);
    int32_t ReadMatches(const std::string& matching,
                        const std::function<void(SqliteStatement&)>& bind,
                        std::vector<FindMatch>& out);
    int32_t LoadItems(int32_t kind, const Restriction& restriction, std::vector<StoredItem>& out);
    int32_t LoadPatterns(const Restriction& restriction, std::vector<StoredItem>& out);
    int32_t LoadExceptions(const Restriction& restriction, std::vector<StoredItem>& out);

    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
    std::wstring path_;
    bool readOnly_ = false;
    int32_t version_ = 0;
    std::wstring lastError_;
    std::wstring writeError_;
    Identity identity_;
    OccurrenceRule rule_;
    // Set while RunInOneTransaction runs its work.
    std::optional<BulkWrite> bulk_;
};

}  // namespace pim
