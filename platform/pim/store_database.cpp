// SQLite access for the store. A file is only written once it is known to be ours, current,
// writable and not in use; saves run in one transaction so a crash leaves old or new, never half.
#include "platform/pim/store_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "platform/pim/sqlite_statement.h"

namespace pim {
namespace {

constexpr int kBusyTimeoutMs = 200; // a locked file fails fast instead of freezing the window
// Every operation opens the store afresh and reads it whole: map the file instead of copying
// each page in, and keep a whole large calendar in the page cache.
constexpr const char* kReadTuning = "PRAGMA mmap_size = 268435456; PRAGMA cache_size = -16384";

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

// AUTOINCREMENT keeps object ids from ever being handed out twice, even after deletes.
std::string SchemaSql()
{
    return "CREATE TABLE items (oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, "
           "uid TEXT, " +
           kItemColumnTypes +
           ");"
           "CREATE TABLE patterns (oid INTEGER PRIMARY KEY, type INTEGER, pattern_start REAL, "
           "start_time REAL, end_time REAL, pattern_end REAL, no_end INTEGER, "
           "occurrences INTEGER, interval_count INTEGER, day_mask INTEGER, "
           "day_of_month INTEGER, instance INTEGER, duration INTEGER, month_of_year INTEGER);"
           "CREATE TABLE exceptions (oid INTEGER NOT NULL, original_date REAL NOT NULL, "
           "deleted INTEGER, " +
           kItemColumnTypes +
           ", PRIMARY KEY (oid, original_date));"
           "PRAGMA user_version = " +
           std::to_string(StoreDatabase::kSchemaVersion) + ";";
}

// The steps from each older version to the next; step i brings version i + 1 to i + 2.
// Version 2 gave items the UID calendars exchange them by.
const char* const kMigrations[] = {
    "ALTER TABLE items ADD COLUMN uid TEXT; PRAGMA user_version = 2;",
};
static_assert(std::size(kMigrations) == StoreDatabase::kSchemaVersion - 1);

SqliteStatement& BindFields(SqliteStatement& s, const ItemFields& f)
{
    return s.Bind(f.Subject)
        .Bind(f.Location)
        .Bind(f.Categories)
        .Bind(f.Body)
        .Bind(f.Start)
        .Bind(f.End)
        .Bind(f.AllDayEvent)
        .Bind(f.BusyStatus)
        .Bind(f.Sensitivity)
        .Bind(f.ReminderSet)
        .Bind(f.ReminderMinutesBeforeStart)
        .Bind(f.ReminderOptions)
        .Bind(f.ReminderSoundFile)
        .Bind(f.StartDate)
        .Bind(f.DueDate)
        .Bind(f.DateCompleted)
        .Bind(f.ReminderTime)
        .Bind(f.Importance)
        .Bind(f.Complete);
}

// Loads read only the columns of their kind: decoding columns is most of a load's cost.
const std::string kSharedColumns =
    "subject, categories, body, sensitivity, reminder_set, reminder_options, reminder_sound";
const std::string kAppointmentOnlyColumns =
    "location, start_at, end_at, all_day, busy, reminder_minutes";
const std::string kTaskOnlyColumns =
    "start_date, due_date, date_completed, reminder_time, importance, complete";

std::string LoadedColumns(int32_t kind)
{
    return kSharedColumns + ", " +
           (kind == kAppointmentKind ? kAppointmentOnlyColumns : kTaskOnlyColumns);
}

// Reads the columns of LoadedColumns(kind) from `column` on; the other kind's fields keep
// their defaults.
ItemFields ReadFields(const SqliteStatement& s, int column, int32_t kind)
{
    ItemFields f;
    f.Subject = s.Text(column++);
    f.Categories = s.Text(column++);
    f.Body = s.Text(column++);
    f.Sensitivity = s.Int(column++);
    f.ReminderSet = s.Int(column++) != 0;
    f.ReminderOptions = s.Int(column++);
    f.ReminderSoundFile = s.Text(column++);
    if (kind == kAppointmentKind) {
        f.Location = s.Text(column++);
        f.Start = s.Real(column++);
        f.End = s.Real(column++);
        f.AllDayEvent = s.Int(column++) != 0;
        f.BusyStatus = s.Int(column++);
        f.ReminderMinutesBeforeStart = s.Int(column);
    } else {
        f.StartDate = s.Real(column++);
        f.DueDate = s.Real(column++);
        f.DateCompleted = s.Real(column++);
        f.ReminderTime = s.Real(column++);
        f.Importance = s.Int(column++);
        f.Complete = s.Int(column) != 0;
    }
    return f;
}

RecurrenceFields ReadPattern(const SqliteStatement& s, int column)
{
    RecurrenceFields p;
    p.RecurrenceType = s.Int(column++);
    p.PatternStartDate = s.Real(column++);
    p.StartTime = s.Real(column++);
    p.EndTime = s.Real(column++);
    p.PatternEndDate = s.Real(column++);
    p.NoEndDate = s.Int(column++) != 0;
    p.Occurrences = s.Int(column++);
    p.Interval = s.Int(column++);
    p.DayOfWeekMask = s.Int(column++);
    p.DayOfMonth = s.Int(column++);
    p.Instance = s.Int(column++);
    p.Duration = s.Int(column++);
    p.MonthOfYear = s.Int(column);
    return p;
}

// "a, b" qualified as "t.a, t.b", for columns that items and exceptions share.
std::string Qualified(const std::string& columns, const std::string& table)
{
    std::string out = table;
    for (const char c : columns) {
        out += c;
        if (c == ' ') {
            out += table;
        }
    }
    return out;
}

// The loaded item of an oid; the list is in ascending oid order.
StoredItem* ItemOf(std::vector<StoredItem>& items, int32_t oid)
{
    const auto at =
        std::lower_bound(items.begin(), items.end(), oid,
                         [](const StoredItem& s, int32_t key) { return s.fields.Oid < key; });
    return at != items.end() && at->fields.Oid == oid ? &*at : nullptr;
}

// Restricts a query on the joined items row `i` to one kind and, when oid > 0, one item. The
// two forms are separate statements so that a find goes straight to its row.
std::string WhereKindAndOid(int32_t oid)
{
    return oid > 0 ? " WHERE i.kind = ? AND i.oid = ?" : " WHERE i.kind = ?";
}

void BindKindAndOid(SqliteStatement& s, int32_t kind, int32_t oid)
{
    s.Bind(kind);
    if (oid > 0) {
        s.Bind(oid);
    }
}

} // namespace

StoreDatabase::~StoreDatabase()
{
    Close();
}

void StoreDatabase::Close()
{
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

int32_t StoreDatabase::Fail(const std::wstring& what)
{
    lastError_ = what;
    if (db_ != nullptr) {
        lastError_ += L" (" + QString::fromUtf8(sqlite3_errmsg(db_)).toStdWString() + L")";
    }
    Close();
    return -1;
}

int32_t StoreDatabase::Exec(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK ? 0 : -1;
}

int32_t StoreDatabase::Open(const std::string& path)
{
    Close();
    lastError_.clear();
    const QFileInfo info(QString::fromStdString(path));
    const bool exists = info.exists();
    if (path.empty() || (exists && !info.isFile())) {
        lastError_ = L"The calendar store is not a file: " + info.filePath().toStdWString();
        return -1;
    }
    // Root may write anything; a file marked read-only is still left alone.
    constexpr auto kAnyWrite =
        QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    if (exists && (info.permissions() & kAnyWrite) == 0) {
        lastError_ = L"The calendar store is read-only";
        return -1;
    }
    if (!exists && !QDir().mkpath(info.absolutePath())) {
        lastError_ = L"Cannot create the folder of the calendar store";
        return -1;
    }
    // One connection per thread, so SQLite's own locking of every call is not needed.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        return Fail(L"Cannot open the calendar store");
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    return CheckUsable();
}

// Reads only, until the file is known to be ours, current and writable.
int32_t StoreDatabase::CheckUsable()
{
    int versionRc = 0;
    int tablesRc = 0;
    int32_t schema = 0;
    bool empty = false;
    bool allTables = false;
    { // Finished statements before the writes below: an open read blocks the journal switch.
        SqliteStatement version(db_, "PRAGMA user_version");
        SqliteStatement tables(db_, "SELECT count(*), count(CASE WHEN name IN "
                                    "('items', 'patterns', 'exceptions') THEN 1 END) "
                                    "FROM sqlite_master WHERE type = 'table'");
        versionRc = version.Step();
        tablesRc = tables.Step();
        schema = versionRc == SQLITE_ROW ? version.Int(0) : 0;
        empty = tablesRc == SQLITE_ROW && tables.Int(0) == 0;
        allTables = tablesRc == SQLITE_ROW && tables.Int(1) == 3;
    }
    if (versionRc == SQLITE_BUSY || tablesRc == SQLITE_BUSY) {
        return Fail(L"The calendar store is in use by another program");
    }
    if (versionRc != SQLITE_ROW || tablesRc != SQLITE_ROW) {
        return Fail(L"The calendar store is damaged or not a calendar store");
    }
    if (schema > kSchemaVersion) {
        return Fail(L"The calendar store was written by a newer version of Tamberlo");
    }
    if ((schema == 0 && !empty) || (schema > 0 && !allTables)) {
        return Fail(L"The file is not a calendar store");
    }
    if (sqlite3_db_readonly(db_, "main") == 1) {
        return Fail(L"The calendar store is read-only");
    }
    if (Exec("BEGIN IMMEDIATE") != 0) {
        return Fail(L"The calendar store is in use by another program");
    }
    if (schema == 0 && Exec(SchemaSql().c_str()) != 0) {
        Exec("ROLLBACK");
        return Fail(L"Cannot create the calendar store");
    }
    if (schema > 0 && Migrate(schema) != 0) {
        Exec("ROLLBACK");
        return Fail(L"Cannot bring the calendar store up to date");
    }
    if (Exec("COMMIT") != 0) {
        Exec("ROLLBACK");
        return Fail(L"Cannot write the calendar store");
    }
    SqliteStatement wal(db_, "PRAGMA journal_mode = WAL");
    if (wal.Step() != SQLITE_ROW || wal.Text(0) != L"wal" ||
        Exec("PRAGMA synchronous = FULL") != 0 || Exec(kReadTuning) != 0) {
        return Fail(L"Cannot prepare the calendar store");
    }
    return 0;
}

// Runs inside the caller's write transaction, so a failed step leaves the old version whole.
int32_t StoreDatabase::Migrate(int32_t fromVersion)
{
    for (int32_t v = fromVersion; v < kSchemaVersion; ++v) {
        if (Exec(kMigrations[v - 1]) != 0) {
            return -1;
        }
    }
    return 0;
}

int32_t StoreDatabase::Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out)
{
    out.clear();
    // One read transaction, so the three queries see the same state of the file; inside a
    // batch of saves they read what the batch has written so far.
    const bool outermost = db_ != nullptr && sqlite3_get_autocommit(db_) != 0;
    if (db_ == nullptr || (outermost && Exec("BEGIN") != 0)) {
        return -1;
    }
    int32_t status = LoadItems(kind, oid, out);
    status = status < 0 ? status : LoadPatterns(kind, oid, out);
    status = status < 0 ? status : LoadExceptions(kind, oid, out);
    if (outermost) {
        Exec("COMMIT");
    }
    if (status < 0) {
        out.clear();
    }
    return status;
}

int32_t StoreDatabase::LoadItems(int32_t kind, int32_t oid, std::vector<StoredItem>& out)
{
    SqliteStatement s(db_, "SELECT oid, uid, " + LoadedColumns(kind) + " FROM items i" +
                               WhereKindAndOid(oid) + " ORDER BY oid");
    BindKindAndOid(s, kind, oid);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem item;
        item.kind = kind;
        item.fields = ReadFields(s, 2, kind);
        item.fields.Oid = s.Int(0);
        item.fields.UID = s.Text(1);
        out.push_back(std::move(item));
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::LoadPatterns(int32_t kind, int32_t oid, std::vector<StoredItem>& out)
{
    SqliteStatement s(db_, "SELECT p.oid, " + kPatternColumns +
                               " FROM patterns p JOIN items i ON i.oid = p.oid" +
                               WhereKindAndOid(oid));
    BindKindAndOid(s, kind, oid);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        if (StoredItem* item = ItemOf(out, s.Int(0))) {
            item->pattern = ReadPattern(s, 1);
        }
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::LoadExceptions(int32_t kind, int32_t oid, std::vector<StoredItem>& out)
{
    SqliteStatement s(db_, "SELECT e.oid, e.original_date, e.deleted, " +
                               Qualified(LoadedColumns(kAppointmentKind), "e.") +
                               " FROM exceptions e JOIN items i ON i.oid = e.oid" +
                               WhereKindAndOid(oid) + " ORDER BY e.oid, e.original_date");
    BindKindAndOid(s, kind, oid);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem* item = ItemOf(out, s.Int(0));
        if (item == nullptr || !item->pattern) {
            continue;
        }
        ExceptionFields e;
        e.OriginalDate = s.Real(1);
        e.Deleted = s.Int(2) != 0;
        e.occurrence = ReadFields(s, 3, kAppointmentKind);
        e.occurrence.Oid = item->fields.Oid;
        item->exceptions.push_back(std::move(e));
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::BeginWrite(bool outermost)
{
    return Exec(outermost ? "BEGIN IMMEDIATE" : "SAVEPOINT item_write");
}

// A write outside a batch is its own transaction; inside one it nests as a savepoint, so a
// failed item still rolls back alone.
int32_t StoreDatabase::EndWrite(bool outermost, int32_t status)
{
    if (outermost) {
        if (status >= 0 && Exec("COMMIT") == 0) {
            return status;
        }
        Exec("ROLLBACK");
        return -1;
    }
    if (status < 0) {
        Exec("ROLLBACK TO item_write");
    }
    Exec("RELEASE item_write");
    return status;
}

int32_t StoreDatabase::Save(StoredItem& item)
{
    const bool outermost = db_ != nullptr && sqlite3_get_autocommit(db_) != 0;
    if (db_ == nullptr || BeginWrite(outermost) != 0) {
        return -1;
    }
    if (item.pattern) {
        FillCountedEndDate(*item.pattern);
    }
    int32_t oid = item.fields.Oid;
    const int32_t status = EndWrite(outermost, WriteItem(item, oid));
    if (status >= 0) {
        item.fields.Oid = oid; // only once the row is really there
    }
    return status;
}

void StoreDatabase::FillCountedEndDate(RecurrenceFields& pattern) const
{
    if (pattern.NoEndDate || pattern.Occurrences <= 0 || !rule_ ||
        std::trunc(pattern.PatternEndDate) >= std::trunc(pattern.PatternStartDate)) {
        return;
    }
    // Walk the start days of the open-ended series; a count the supported years cannot hold
    // ends the series on their last day.
    RecurrenceFields open = pattern;
    open.NoEndDate = true;
    const double lastDay = std::trunc(SystemTimeToVariantTime(MakeSystemTime(2999, 12, 31)));
    int32_t found = 0;
    double day = std::trunc(pattern.PatternStartDate);
    for (; day < lastDay; day += 1.0) {
        const int state = rule_(open, VariantTimeToSystemTime(day), -1);
        if ((state == 1 || state == 2) && ++found == pattern.Occurrences) {
            break;
        }
    }
    pattern.PatternEndDate = day;
}

int32_t StoreDatabase::WriteItem(const StoredItem& item, int32_t& oid)
{
    const bool insert = oid <= 0;
    SqliteStatement row(db_, insert ? "INSERT INTO items (kind, uid, " + kItemColumns +
                                          ") VALUES (?, ?, " + kItemPlaceholders + ")"
                                    : "UPDATE items SET (kind, uid, " + kItemColumns +
                                          ") = (?, ?, " + kItemPlaceholders + ") WHERE oid = ?");
    BindFields(row.Bind(item.kind).Bind(item.fields.UID), item.fields);
    if (!insert) {
        row.Bind(oid);
    }
    if (row.Step() != SQLITE_DONE || (!insert && sqlite3_changes(db_) != 1)) {
        return -1; // also an update of an item deleted meanwhile: never resurrect it
    }
    if (insert) {
        // Object ids are 32-bit; past the last one a save fails instead of wrapping around.
        const sqlite3_int64 rowid = sqlite3_last_insert_rowid(db_);
        if (rowid <= 0 || rowid > std::numeric_limits<int32_t>::max()) {
            return -1;
        }
        oid = static_cast<int32_t>(rowid);
    }
    return WritePattern(oid, item);
}

int32_t StoreDatabase::WritePattern(int32_t oid, const StoredItem& item)
{
    if (DeleteDependents(oid) != 0) {
        return -1;
    }
    if (!item.pattern) {
        return 0;
    }
    const RecurrenceFields& p = *item.pattern;
    SqliteStatement pattern(db_, "INSERT INTO patterns (oid, " + kPatternColumns +
                                     ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    pattern.Bind(oid)
        .Bind(p.RecurrenceType)
        .Bind(p.PatternStartDate)
        .Bind(p.StartTime)
        .Bind(p.EndTime)
        .Bind(p.PatternEndDate)
        .Bind(p.NoEndDate)
        .Bind(p.Occurrences)
        .Bind(p.Interval)
        .Bind(p.DayOfWeekMask)
        .Bind(p.DayOfMonth)
        .Bind(p.Instance)
        .Bind(p.Duration)
        .Bind(p.MonthOfYear);
    if (pattern.Step() != SQLITE_DONE) {
        return -1;
    }
    SqliteStatement exception(db_, "INSERT INTO exceptions (oid, original_date, deleted, " +
                                       kItemColumns + ") VALUES (?,?,?," + kItemPlaceholders + ")");
    for (const ExceptionFields& e : item.exceptions) {
        exception.Reset();
        BindFields(exception.Bind(oid).Bind(e.OriginalDate).Bind(e.Deleted), e.occurrence);
        if (exception.Step() != SQLITE_DONE) {
            return -1;
        }
    }
    return 0;
}

int32_t StoreDatabase::DeleteDependents(int32_t oid)
{
    SqliteStatement pattern(db_, "DELETE FROM patterns WHERE oid = ?");
    SqliteStatement exceptions(db_, "DELETE FROM exceptions WHERE oid = ?");
    return pattern.Bind(oid).Step() == SQLITE_DONE && exceptions.Bind(oid).Step() == SQLITE_DONE
               ? 0
               : -1;
}

int32_t StoreDatabase::Delete(int32_t oid)
{
    const bool outermost = db_ != nullptr && sqlite3_get_autocommit(db_) != 0;
    if (db_ == nullptr || oid <= 0 || BeginWrite(outermost) != 0) {
        return -1;
    }
    SqliteStatement row(db_, "DELETE FROM items WHERE oid = ?");
    const bool deleted = DeleteDependents(oid) == 0 && row.Bind(oid).Step() == SQLITE_DONE &&
                         sqlite3_changes(db_) == 1;
    return EndWrite(outermost, deleted ? 0 : -1);
}

int32_t StoreDatabase::RunInOneTransaction(const std::function<int32_t()>& work)
{
    if (db_ == nullptr) {
        return -1;
    }
    if (sqlite3_get_autocommit(db_) == 0) {
        return work();
    }
    if (Exec("BEGIN IMMEDIATE") != 0) {
        return -1;
    }
    const int32_t status = work();
    if (status >= 0 && Exec("COMMIT") == 0) {
        return status;
    }
    Exec("ROLLBACK");
    return -1;
}

} // namespace pim
