// SQLite access for the store. Text is kept as UTF-8; every value travels through bound
// parameters, never through SQL text.
#include "platform/pim/store_database.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <sqlite3.h>

#include <unordered_map>

namespace pim {
namespace {

constexpr int kBusyTimeoutMs = 200;  // a locked file fails fast instead of hanging the window

const char* const kSchema = R"(
CREATE TABLE items (
    oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL,
    subject TEXT, location TEXT, categories TEXT, body TEXT,
    start_at REAL, end_at REAL, all_day INTEGER, busy INTEGER, sensitivity INTEGER,
    reminder_set INTEGER, reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT,
    start_date REAL, due_date REAL, date_completed REAL, reminder_time REAL,
    importance INTEGER, complete INTEGER);
CREATE TABLE patterns (
    oid INTEGER PRIMARY KEY REFERENCES items(oid) ON DELETE CASCADE,
    type INTEGER, pattern_start REAL, start_time REAL, end_time REAL, pattern_end REAL,
    no_end INTEGER, occurrences INTEGER, interval_count INTEGER, day_mask INTEGER,
    day_of_month INTEGER, instance INTEGER, duration INTEGER, month_of_year INTEGER);
CREATE TABLE exceptions (
    oid INTEGER NOT NULL REFERENCES items(oid) ON DELETE CASCADE,
    original_date REAL NOT NULL, deleted INTEGER,
    subject TEXT, location TEXT, categories TEXT, body TEXT,
    start_at REAL, end_at REAL, all_day INTEGER, busy INTEGER,
    PRIMARY KEY (oid, original_date));
PRAGMA user_version = 1;
)";

std::string Utf8(const std::wstring& text) { return QString::fromStdWString(text).toStdString(); }

std::wstring Wide(const unsigned char* text)
{
    return text == nullptr ? std::wstring()
                           : QString::fromUtf8(reinterpret_cast<const char*>(text)).toStdWString();
}

// One prepared statement with positional binding and column reading.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { ok_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) == SQLITE_OK; }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return ok_; }
    Statement& Bind(int64_t value) { ok_ = ok_ && sqlite3_bind_int64(stmt_, ++bound_, value) == SQLITE_OK; return *this; }
    Statement& Bind(double value) { ok_ = ok_ && sqlite3_bind_double(stmt_, ++bound_, value) == SQLITE_OK; return *this; }
    Statement& Bind(bool value) { return Bind(int64_t{value ? 1 : 0}); }
    Statement& Bind(int32_t value) { return Bind(int64_t{value}); }
    Statement& Bind(const std::wstring& value)
    {
        const std::string utf8 = Utf8(value);
        ok_ = ok_ && sqlite3_bind_text(stmt_, ++bound_, utf8.c_str(), static_cast<int>(utf8.size()),
                                       SQLITE_TRANSIENT) == SQLITE_OK;
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return ok_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    int32_t Int(int column) const { return static_cast<int32_t>(sqlite3_column_int64(stmt_, column)); }
    double Real(int column) const { return sqlite3_column_double(stmt_, column); }
    std::wstring Text(int column) const { return Wide(sqlite3_column_text(stmt_, column)); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
    int bound_ = 0;
};

void BindFields(Statement& s, const ItemFields& f)
{
    s.Bind(f.Subject).Bind(f.Location).Bind(f.Categories).Bind(f.Body).Bind(f.Start).Bind(f.End)
        .Bind(f.AllDayEvent).Bind(f.BusyStatus).Bind(f.Sensitivity).Bind(f.ReminderSet)
        .Bind(f.ReminderMinutesBeforeStart).Bind(f.ReminderOptions).Bind(f.ReminderSoundFile)
        .Bind(f.StartDate).Bind(f.DueDate).Bind(f.DateCompleted).Bind(f.ReminderTime)
        .Bind(f.Importance).Bind(f.Complete);
}

ItemFields ReadFields(const Statement& s, int first)
{
    ItemFields f;
    int c = first;
    f.Subject = s.Text(c++);
    f.Location = s.Text(c++);
    f.Categories = s.Text(c++);
    f.Body = s.Text(c++);
    f.Start = s.Real(c++);
    f.End = s.Real(c++);
    f.AllDayEvent = s.Int(c++) != 0;
    f.BusyStatus = s.Int(c++);
    f.Sensitivity = s.Int(c++);
    f.ReminderSet = s.Int(c++) != 0;
    f.ReminderMinutesBeforeStart = s.Int(c++);
    f.ReminderOptions = s.Int(c++);
    f.ReminderSoundFile = s.Text(c++);
    f.StartDate = s.Real(c++);
    f.DueDate = s.Real(c++);
    f.DateCompleted = s.Real(c++);
    f.ReminderTime = s.Real(c++);
    f.Importance = s.Int(c++);
    f.Complete = s.Int(c) != 0;
    return f;
}

constexpr const char* kItemColumns =
    "subject, location, categories, body, start_at, end_at, all_day, busy, sensitivity, "
    "reminder_set, reminder_minutes, reminder_options, reminder_sound, start_date, due_date, "
    "date_completed, reminder_time, importance, complete";

}  // namespace

StoreDatabase::~StoreDatabase() { Close(); }

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
        lastError_ += L": " + Wide(reinterpret_cast<const unsigned char*>(sqlite3_errmsg(db_)));
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
    if (exists && !info.isFile()) {
        lastError_ = L"The calendar store is not a file: " + info.absoluteFilePath().toStdWString();
        return -1;
    }
    if (!exists && !QDir().mkpath(info.absolutePath())) {
        lastError_ = L"Cannot create the folder of the calendar store";
        return -1;
    }
    const int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        return Fail(L"Cannot open the calendar store");
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    return CheckUsable();
}

// Reads only, until the file is known to be ours, current and writable.
int32_t StoreDatabase::CheckUsable()
{
    int32_t version = -1;
    int32_t tables = -1;
    {
        Statement v(db_, "PRAGMA user_version");
        if (v.Step() != SQLITE_ROW) {
            return Fail(L"The calendar store is damaged or not a calendar store");
        }
        version = v.Int(0);
        Statement t(db_, "SELECT count(*) FROM sqlite_master");
        if (t.Step() != SQLITE_ROW) {
            return Fail(L"The calendar store is damaged or not a calendar store");
        }
        tables = t.Int(0);
    }
    if (version > kSchemaVersion) {
        return Fail(L"The calendar store was written by a newer version of Tamberlo");
    }
    if (version == 0 && tables > 0) {
        return Fail(L"The file is a database of another program, not a calendar store");
    }
    if (sqlite3_db_readonly(db_, "main") == 1) {
        return Fail(L"The calendar store is read-only");
    }
    if (Exec("BEGIN IMMEDIATE") != 0) {
        return Fail(L"The calendar store is in use by another program");
    }
    const bool created = version == 0 && (Exec(kSchema) == 0);
    if (version == 0 && !created) {
        Exec("ROLLBACK");
        return Fail(L"Cannot create the calendar store");
    }
    if (Exec("COMMIT") != 0) {
        Exec("ROLLBACK");
        return Fail(L"Cannot write the calendar store");
    }
    if (Exec("PRAGMA journal_mode=WAL") != 0 || Exec("PRAGMA synchronous=FULL") != 0 ||
        Exec("PRAGMA foreign_keys=ON") != 0) {
        return Fail(L"Cannot prepare the calendar store");
    }
    return 0;
}

int32_t StoreDatabase::LoadAll(int32_t kind, std::vector<StoredItem>& out)
{
    out.clear();
    if (db_ == nullptr) {
        return -1;
    }
    std::unordered_map<int32_t, size_t> index;
    Statement items(db_, (std::string("SELECT oid, ") + kItemColumns +
                          " FROM items WHERE kind = ? ORDER BY oid").c_str());
    items.Bind(kind);
    int rc = 0;
    while ((rc = items.Step()) == SQLITE_ROW) {
        StoredItem item;
        item.kind = kind;
        item.fields = ReadFields(items, 1);
        item.fields.Oid = items.Int(0);
        index.emplace(item.fields.Oid, out.size());
        out.push_back(std::move(item));
    }
    if (rc != SQLITE_DONE) {
        return -1;
    }
    Statement patterns(db_,
        "SELECT p.oid, type, pattern_start, start_time, end_time, pattern_end, no_end, "
        "occurrences, interval_count, day_mask, day_of_month, instance, duration, month_of_year "
        "FROM patterns p JOIN items i ON i.oid = p.oid WHERE i.kind = ?");
    patterns.Bind(kind);
    while ((rc = patterns.Step()) == SQLITE_ROW) {
        const auto found = index.find(patterns.Int(0));
        if (found == index.end()) {
            continue;
        }
        RecurrenceFields p;
        p.RecurrenceType = patterns.Int(1);
        p.PatternStartDate = patterns.Real(2);
        p.StartTime = patterns.Real(3);
        p.EndTime = patterns.Real(4);
        p.PatternEndDate = patterns.Real(5);
        p.NoEndDate = patterns.Int(6) != 0;
        p.Occurrences = patterns.Int(7);
        p.Interval = patterns.Int(8);
        p.DayOfWeekMask = patterns.Int(9);
        p.DayOfMonth = patterns.Int(10);
        p.Instance = patterns.Int(11);
        p.Duration = patterns.Int(12);
        p.MonthOfYear = patterns.Int(13);
        out[found->second].pattern = p;
    }
    if (rc != SQLITE_DONE) {
        return -1;
    }
    Statement exceptions(db_,
        "SELECT e.oid, original_date, deleted, e.subject, e.location, e.categories, e.body, "
        "e.start_at, e.end_at, e.all_day, e.busy FROM exceptions e JOIN items i ON i.oid = e.oid "
        "WHERE i.kind = ? ORDER BY e.oid, original_date");
    exceptions.Bind(kind);
    while ((rc = exceptions.Step()) == SQLITE_ROW) {
        const auto found = index.find(exceptions.Int(0));
        if (found == index.end()) {
            continue;
        }
        ExceptionFields e;
        e.OriginalDate = exceptions.Real(1);
        e.Deleted = exceptions.Int(2) != 0;
        e.occurrence = out[found->second].fields;
        e.occurrence.Subject = exceptions.Text(3);
        e.occurrence.Location = exceptions.Text(4);
        e.occurrence.Categories = exceptions.Text(5);
        e.occurrence.Body = exceptions.Text(6);
        e.occurrence.Start = exceptions.Real(7);
        e.occurrence.End = exceptions.Real(8);
        e.occurrence.AllDayEvent = exceptions.Int(9) != 0;
        e.occurrence.BusyStatus = exceptions.Int(10);
        out[found->second].exceptions.push_back(std::move(e));
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::Save(StoredItem& item)
{
    if (db_ == nullptr || Exec("BEGIN IMMEDIATE") != 0) {
        return -1;
    }
    const auto rollback = [this] {
        Exec("ROLLBACK");
        return -1;
    };
    const bool insert = item.fields.Oid <= 0;
    {
        const std::string sql =
            insert ? std::string("INSERT INTO items (kind, ") + kItemColumns +
                         ") VALUES (?, ?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"
                   : std::string("UPDATE items SET kind = ?, (") + kItemColumns +
                         ") = (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) WHERE oid = ?";
        Statement s(db_, sql.c_str());
        s.Bind(item.kind);
        BindFields(s, item.fields);
        if (!insert) {
            s.Bind(item.fields.Oid);
        }
        if (s.Step() != SQLITE_DONE || (!insert && sqlite3_changes(db_) != 1)) {
            return rollback();
        }
    }
    const int32_t oid = insert ? static_cast<int32_t>(sqlite3_last_insert_rowid(db_)) : item.fields.Oid;
    Statement clearPattern(db_, "DELETE FROM patterns WHERE oid = ?");
    Statement clearExceptions(db_, "DELETE FROM exceptions WHERE oid = ?");
    if (clearPattern.Bind(oid).Step() != SQLITE_DONE ||
        clearExceptions.Bind(oid).Step() != SQLITE_DONE) {
        return rollback();
    }
    if (item.pattern) {
        const RecurrenceFields& p = *item.pattern;
        Statement s(db_, "INSERT INTO patterns VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        s.Bind(oid).Bind(p.RecurrenceType).Bind(p.PatternStartDate).Bind(p.StartTime)
            .Bind(p.EndTime).Bind(p.PatternEndDate).Bind(p.NoEndDate).Bind(p.Occurrences)
            .Bind(p.Interval).Bind(p.DayOfWeekMask).Bind(p.DayOfMonth).Bind(p.Instance)
            .Bind(p.Duration).Bind(p.MonthOfYear);
        if (s.Step() != SQLITE_DONE) {
            return rollback();
        }
        for (const ExceptionFields& e : item.exceptions) {
            Statement x(db_, "INSERT INTO exceptions VALUES (?,?,?,?,?,?,?,?,?,?,?)");
            const ItemFields& o = e.occurrence;
            x.Bind(oid).Bind(e.OriginalDate).Bind(e.Deleted).Bind(o.Subject).Bind(o.Location)
                .Bind(o.Categories).Bind(o.Body).Bind(o.Start).Bind(o.End).Bind(o.AllDayEvent)
                .Bind(o.BusyStatus);
            if (x.Step() != SQLITE_DONE) {
                return rollback();
            }
        }
    }
    if (Exec("COMMIT") != 0) {
        return rollback();
    }
    item.fields.Oid = oid;
    return 0;
}

int32_t StoreDatabase::Delete(int32_t oid)
{
    if (db_ == nullptr) {
        return -1;
    }
    Statement s(db_, "DELETE FROM items WHERE oid = ?");
    return s.Bind(oid).Step() == SQLITE_DONE && sqlite3_changes(db_) == 1 ? 0 : -1;
}

}  // namespace pim
