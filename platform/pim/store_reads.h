// The store's reads: whole items of a kind (or one), the items that can show on a range of
// days, Find's matches and whether a UID is held. Each read runs its queries in one read
// transaction, so they see one state of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"

namespace pim {

class SqliteStatement;
class StoreConnection;

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

class StoreReader {
public:
    explicit StoreReader(StoreConnection& db) : db_(db) {}

    // See StoreDatabase for each.
    int32_t Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out, ItemSelection selection);
    int32_t LoadRange(int32_t kind, const DayRange& range, std::vector<StoredItem>& out);
    int32_t FindMatches(const std::wstring& text, std::vector<FindMatch>& out);
    int32_t HoldsUid(const std::wstring& uid);

private:
    struct Restriction;

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

    StoreConnection& db_;
};

} // namespace pim
