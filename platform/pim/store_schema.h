// The store's schema as SQL: what a new store is made of, each step from an older version to the
// next, and the column lists the reads and writes share with them. The file format and what
// holds in every store is told at the top of store_schema.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace pim {

class StoreConnection;

// The schema's versions, and those that added what a read-only opener of an older store reads
// around; the range indexes of version 6 and the reminders' index of version 13 only make reads
// faster.
struct StoreVersions {
    static constexpr int kSchemaVersion = 13;
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
};

// Shared by items and exceptions, in the order of ItemFields.
extern const std::string kItemColumns;
extern const std::string kItemPlaceholders;
extern const std::string kPatternColumns;
// What Find's index holds for the joined items row `i`, and the part of it from its changed
// occurrences.
extern const std::string kFoldedText;
extern const std::string kFoldedExceptionTexts;
// The expressions the range indexes are built on, which range loads must spell the same.
extern const std::string kSpanLength;
extern const std::string kSeriesReach;
extern const std::string kSeriesLength;

// A complete empty store of the current version.
std::string SchemaSql();
// Brings the open store from `fromVersion` (1 or later) to the current one, inside the caller's
// write transaction: 0, or -1 when a step failed.
int32_t MigrateStore(StoreConnection& db, int32_t fromVersion);

} // namespace pim
