// The store's schema: the tables a new store is made with, and the steps that bring a store of
// any older version up to date. The column lists here are shared with the reads and writes.
//
// The file format
// ---------------
// A store is one SQLite file in write-ahead-log mode; PRAGMA user_version is its schema
// version, and a file whose version is 0 or above StoreVersions::kSchemaVersion is not opened
// for writing (nor at all when newer). These hold in every store of the current version:
//
//  * items: one row per appointment or task, keyed by an object id (oid) that AUTOINCREMENT
//    never hands out twice; every item has a UID, no two items of one calendar share one, and
//    every item belongs to exactly one row of calendars.
//  * patterns: at most one row per recurring item, by its oid; exceptions: the changed or
//    deleted occurrences of a series, by (oid, original_date). Neither outlives its item: a
//    save replaces an item's pattern and exceptions whole, in the save's transaction.
//  * find_text: Find's trigram index, one row per item (rowid = oid) holding the folded texts
//    of the item and of its changed occurrences, always as kFoldedText gives them.
//  * kept: the component an item (or changed occurrence) came as, minus what its columns hold,
//    so what the program does not show goes out again as it came in.
//  * store_identity: one random id, written when the store was made.
//  * indexes: only make reads faster, and a store without them (older, opened read-only) reads
//    the same. The range indexes find what can touch a range of days; items_reminder_times and
//    items_reminder_spans hold only the items whose reminder is on (by firing time, by
//    start), so planning the reminders never reads the other items of a calendar of many years.
//  * sync_*: accounts, each collection's position, each item's resource and change counter,
//    deletions the server has not seen, resources left alone; calendars and subscriptions
//    beside them (store_calendars.cpp, store_subscriptions.cpp).
//
// Every write is one transaction (a batch nests each item as a savepoint), so a crash leaves
// the old state or the new one. Migrations only add: each step runs in the opener's one
// transaction and a failed step leaves the older version whole. Dates are DATE values (days
// since 1899-12-30, REAL); what a read cannot trust (NaN, far outside the supported years) is
// held to the supported range when read, never trusted in arithmetic.
#include "platform/pim/store_schema.h"

#include <sqlite3.h>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_connection.h"
#include "platform/pim/store_subscriptions.h"

namespace pim {

// Shared by items and exceptions, in the order of ItemFields.
const std::string kItemColumns =
    "subject, location, categories, body, start_at, end_at, all_day, busy, sensitivity, "
    "reminder_set, reminder_minutes, reminder_options, reminder_sound, start_date, due_date, "
    "date_completed, reminder_time, importance, complete";
const std::string kItemColumnTypes =
    "subject TEXT, location TEXT, categories TEXT, body TEXT, start_at REAL, end_at REAL, "
    "all_day INTEGER, busy INTEGER, sensitivity INTEGER, reminder_set INTEGER, "
    "reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT, start_date REAL, "
    "due_date REAL, date_completed REAL, reminder_time REAL, importance INTEGER, complete INTEGER";
const std::string kItemPlaceholders = "?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?";
const std::string kPatternColumns =
    "type, pattern_start, start_time, end_time, pattern_end, no_end, occurrences, "
    "interval_count, day_mask, day_of_month, instance, duration, month_of_year";

// Find's index: the folded subject, place, categories and memo of each item, keyed by its oid.
// Trigrams let any part of a word be found without reading every item.
const std::string kFindTableSql =
    "CREATE VIRTUAL TABLE find_text USING fts5(text, tokenize = 'trigram');";
// What the index holds for item `i`: its folded texts, then those of each changed occurrence
// whose texts differ from the series', one a line; a match thus names the series once.
const std::string kFoldedItemText = "find_fold(i.subject, i.location, i.categories, i.body)";
const std::string kFoldedExceptionTexts =
    "ifnull((SELECT char(10) || group_concat(find_fold(x.subject, x.location, x.categories, "
    "x.body), char(10)) FROM exceptions x WHERE x.oid = i.oid AND x.deleted = 0 AND NOT "
    "(x.subject IS i.subject AND x.location IS i.location AND x.categories IS i.categories AND "
    "x.body IS i.body)), '')";
const std::string kFoldedText = kFoldedItemText + " || " + kFoldedExceptionTexts;

// A random id written once when a store is made, so a window can tell its store from another
// file moved into its place.
const std::string kIdentitySql = "CREATE TABLE store_identity (id TEXT NOT NULL);"
                                 "INSERT INTO store_identity VALUES (lower(hex(randomblob(16))));";

// A range load finds what can touch its days without reading the years around them: short
// spans by their start, the few long ones by their length, series likewise from their first
// day to the last their occurrences can reach (open series reach past every date, so they
// count as long), and tasks by their due date.
const std::string kSpanLength = "end_at - start_at";
const std::string kSeriesReach = "(CASE WHEN no_end != 0 THEN 1e7 ELSE ifnull(pattern_end, 0) + "
                                 "max(0, min(ifnull(duration, 0), 527040)) / 1440.0 END)";
const std::string kSeriesLength = kSeriesReach + " - pattern_start";
// The start and due indexes carry the other end too, so finding the ids never reads the wide
// item rows.
const std::string kRangeIndexes =
    "CREATE INDEX IF NOT EXISTS items_by_start_end ON items (kind, start_at, end_at);"
    "CREATE INDEX IF NOT EXISTS items_by_length ON items (kind, " +
    kSpanLength +
    ");"
    "CREATE INDEX IF NOT EXISTS items_by_due_start ON items (kind, due_date, start_date);"
    "CREATE INDEX IF NOT EXISTS patterns_by_start ON patterns (pattern_start);"
    "CREATE INDEX IF NOT EXISTS patterns_by_length ON patterns (" +
    kSeriesLength +
    ");"
    "CREATE INDEX IF NOT EXISTS exceptions_by_start_end ON exceptions (start_at, end_at);"
    "CREATE INDEX IF NOT EXISTS exceptions_by_length ON exceptions (" +
    kSpanLength + ");";
// Only the items whose reminder is on: the reminders' plan finds the tasks that fire within its
// months, and the appointments that touch them, without a look at any other item.
const std::string kReminderIndexSql =
    "CREATE INDEX IF NOT EXISTS items_reminder_times ON items (kind, reminder_time) "
    "WHERE reminder_set != 0;"
    "CREATE INDEX IF NOT EXISTS items_reminder_spans ON items (kind, start_at, end_at) "
    "WHERE reminder_set != 0;";
// The narrower indexes of versions 6 to 8 that those replace.
const std::string kNarrowRangeIndexes = "DROP INDEX IF EXISTS items_by_start;"
                                        "DROP INDEX IF EXISTS items_by_due;"
                                        "DROP INDEX IF EXISTS exceptions_by_start;";

// What sync keeps beside the items: accounts, each calendar's position, each item's resource
// and change counters, deletions the server has not seen, resources left alone there.
const std::string kSyncTablesSql =
    "CREATE TABLE IF NOT EXISTS sync_accounts (id INTEGER PRIMARY KEY AUTOINCREMENT, "
    "server TEXT, user TEXT, event_calendar TEXT, task_calendar TEXT, "
    "event_calendar_name TEXT, task_calendar_name TEXT);"
    "CREATE TABLE IF NOT EXISTS sync_calendars (url TEXT PRIMARY KEY, token TEXT, ctag TEXT);"
    "CREATE TABLE IF NOT EXISTS sync_links (oid INTEGER PRIMARY KEY, calendar TEXT, href TEXT, "
    "etag TEXT, change INTEGER NOT NULL, pushed INTEGER NOT NULL, conflict INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS sync_tombstones (calendar TEXT NOT NULL, href TEXT NOT NULL, "
    "etag TEXT, uid TEXT, PRIMARY KEY (calendar, href));"
    "CREATE TABLE IF NOT EXISTS sync_skipped (calendar TEXT NOT NULL, href TEXT NOT NULL, "
    "etag TEXT, reason TEXT, PRIMARY KEY (calendar, href));";

// A server knows an item by its UID, so every item gets one. Those without keep the UID their
// exports have always carried (peers that imported them know them by it) unless another item
// already holds it; the rest get a fresh one like Save gives.
const std::string kFillUidsSql =
    "UPDATE items SET uid = 'tamberlo-oid-' || oid WHERE ifnull(uid, '') = '' AND "
    "'tamberlo-oid-' || oid NOT IN (SELECT uid FROM items WHERE uid IS NOT NULL);"
    "UPDATE items SET uid = lower(hex(randomblob(16))) WHERE ifnull(uid, '') = '';";

// AUTOINCREMENT keeps object ids from ever being handed out twice, even after deletes.
std::string SchemaSql()
{
    return "CREATE TABLE items (oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, "
           "uid TEXT, zone TEXT, kept TEXT, " +
           kItemColumnTypes + ", " + kCalendarColumnType +
           ");"
           "CREATE TABLE patterns (oid INTEGER PRIMARY KEY, type INTEGER, pattern_start REAL, "
           "start_time REAL, end_time REAL, pattern_end REAL, no_end INTEGER, "
           "occurrences INTEGER, interval_count INTEGER, day_mask INTEGER, "
           "day_of_month INTEGER, instance INTEGER, duration INTEGER, month_of_year INTEGER);"
           "CREATE TABLE exceptions (oid INTEGER NOT NULL, original_date REAL NOT NULL, "
           "deleted INTEGER, kept TEXT, " +
           kItemColumnTypes + ", PRIMARY KEY (oid, original_date));" + kFindTableSql +
           kIdentitySql + kRangeIndexes + kReminderIndexSql + kSyncTablesSql + CalendarsTableSql() +
           SubscriptionsTableSql() +
           "PRAGMA user_version = " + std::to_string(StoreVersions::kSchemaVersion) + ";";
}

// The steps from each older version to the next; step i brings version i + 1 to i + 2.
// Version 2 gave items the UID calendars exchange them by.
// Version 3 gave Find its index, filled from the items there are.
// Version 4 gave the store its identity, version 5 the time zone an imported item keeps.
// Version 6 gave range loads their indexes, version 7 the find index the texts of changed
// occurrences (only the rows of series with exceptions change), version 8 the sync tables and
// a UID on every item, version 9 range indexes that cover what finding the ids reads, version 10
// the component each item and changed occurrence came as, version 11 the calendars, version 12
// what each subscription's last answer said of its file, version 13 the reminders' index.
const std::string kMigrations[] = {
    "ALTER TABLE items ADD COLUMN uid TEXT; PRAGMA user_version = 2;",
    kFindTableSql + "INSERT INTO find_text (rowid, text) SELECT i.oid, " + kFoldedText +
        " FROM items i; PRAGMA user_version = 3;",
    kIdentitySql + "PRAGMA user_version = 4;",
    "ALTER TABLE items ADD COLUMN zone TEXT; PRAGMA user_version = 5;",
    kRangeIndexes + "PRAGMA user_version = 6;",
    "DELETE FROM find_text WHERE rowid IN (SELECT oid FROM exceptions);"
    "INSERT INTO find_text (rowid, text) SELECT i.oid, " +
        kFoldedText +
        " FROM items i WHERE i.oid IN (SELECT oid FROM exceptions); PRAGMA user_version = 7;",
    kSyncTablesSql + kFillUidsSql + "PRAGMA user_version = 8;",
    kNarrowRangeIndexes + kRangeIndexes + "PRAGMA user_version = 9;",
    "PRAGMA user_version = 10;", // its columns come from KeptColumnsSql
    CalendarsMigrationSql() + "PRAGMA user_version = 11;",
    SubscriptionsTableSql() + "PRAGMA user_version = 12;",
    kReminderIndexSql + "PRAGMA user_version = 13;",
};
static_assert(sizeof(kMigrations) / sizeof(kMigrations[0]) == StoreVersions::kSchemaVersion - 1);

namespace {

// The column unless the table has it: a store whose version number was set back by hand does.
std::string AddedColumnSql(StoreConnection& db, const char* table, const std::string& column)
{
    const std::string name = column.substr(0, column.find(' '));
    SqliteStatement has(db.Handle(), "SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    has.Bind(std::string(table)).Bind(name);
    return has.Step() == SQLITE_ROW
               ? std::string()
               : std::string("ALTER TABLE ") + table + " ADD COLUMN " + column + ";";
}

// The columns a step adds to tables that may have them already.
std::string AddedColumnsSql(StoreConnection& db, int32_t toVersion)
{
    if (toVersion == StoreVersions::kKeptVersion) {
        return AddedColumnSql(db, "items", "kept TEXT") +
               AddedColumnSql(db, "exceptions", "kept TEXT");
    }
    if (toVersion == StoreVersions::kCalendarsVersion) {
        return AddedColumnSql(db, "items", kCalendarColumnType);
    }
    return {};
}

} // namespace

int32_t MigrateStore(StoreConnection& db, int32_t fromVersion)
{
    for (int32_t v = fromVersion; v < StoreVersions::kSchemaVersion; ++v) {
        if (db.Exec((AddedColumnsSql(db, v + 1) + kMigrations[v - 1]).c_str()) != 0) {
            return -1;
        }
    }
    return 0;
}

} // namespace pim
