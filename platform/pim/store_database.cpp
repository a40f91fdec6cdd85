// SQLite access for the store. A file is only written once it is known to be ours, current,
// writable and not in use; saves run in one transaction so a crash leaves old or new, never half.
#include "platform/pim/store_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <tuple>

#include "platform/pim/find_text.h"
#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_schema.h"

namespace pim {
namespace {

// Another program's write (an import, the reminders, a sync) holds the lock for moments; waiting
// this long outlasts them, and a lock held longer is reported as the store being in use.
constexpr int kBusyTimeoutMs = 4000;
// Every operation opens the store afresh and reads it whole: map the file instead of copying
// each page in, and keep a whole large calendar in the page cache.
constexpr const char* kReadTuning = "PRAGMA mmap_size = 268435456; PRAGMA cache_size = -16384";

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

// Dates as DATE holds them (years 100 to 9999, NaN as day 0): a damaged or foreign value such
// as 1e308 must not reach the day arithmetic, where it would overflow. Dates outside the
// supported years then simply fall outside every window.
constexpr double kEarliestDate = -657434.0;
constexpr double kLatestDate = 2958465.0;
// Occurrences longer than a year are held to one: the day tests scan an occurrence's length.
constexpr int32_t kLongestOccurrenceMinutes = 366 * 1440;

DATE StoredDate(const SqliteStatement& s, int column)
{
    const double value = s.Real(column);
    return std::isnan(value) ? 0.0 : std::clamp(value, kEarliestDate, kLatestDate);
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
        f.Start = StoredDate(s, column++);
        f.End = StoredDate(s, column++);
        f.AllDayEvent = s.Int(column++) != 0;
        f.BusyStatus = s.Int(column++);
        f.ReminderMinutesBeforeStart = s.Int(column);
    } else {
        f.StartDate = StoredDate(s, column++);
        f.DueDate = StoredDate(s, column++);
        f.DateCompleted = StoredDate(s, column++);
        f.ReminderTime = StoredDate(s, column++);
        f.Importance = s.Int(column++);
        f.Complete = s.Int(column) != 0;
    }
    return f;
}

RecurrenceFields ReadPattern(const SqliteStatement& s, int column)
{
    RecurrenceFields p;
    p.RecurrenceType = s.Int(column++);
    p.PatternStartDate = StoredDate(s, column++);
    p.StartTime = StoredDate(s, column++);
    p.EndTime = StoredDate(s, column++);
    p.PatternEndDate = StoredDate(s, column++);
    p.NoEndDate = s.Int(column++) != 0;
    p.Occurrences = s.Int(column++);
    p.Interval = s.Int(column++);
    p.DayOfWeekMask = s.Int(column++);
    p.DayOfMonth = s.Int(column++);
    p.Instance = s.Int(column++);
    p.Duration = std::min(s.Int(column++), kLongestOccurrenceMinutes);
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
// A series whose own reminder is off still counts when one of its changed occurrences has one.
// "+i.kind": the rows are read in oid order straight from the table; through an index on the
// kind they would be looked up one by one and then sorted.
const std::string kHasReminder = "(i.reminder_set != 0 OR EXISTS (SELECT 1 FROM exceptions x"
                                 " WHERE x.oid = i.oid AND x.reminder_set != 0))";

std::string WhereKindAndOid(int32_t oid, ItemSelection selection)
{
    std::string where = oid > 0 ? " WHERE +i.kind = ? AND i.oid = ?" : " WHERE +i.kind = ?";
    if (selection == ItemSelection::None) {
        where += " AND 0";
    }
    if (selection == ItemSelection::WithReminders) {
        where += " AND " + kHasReminder;
    }
    return where;
}

void BindKindAndOid(SqliteStatement& s, int32_t kind, int32_t oid)
{
    s.Bind(kind);
    if (oid > 0) {
        s.Bind(oid);
    }
}

// Slack on a range's ends: before 1899-12-30 a DATE's fraction counts forward from its day, so
// a stored value there lies up to two days off the time line.
constexpr double kDateSlackDays = 2.0;

// Rows of a table with start_at and end_at whose span touches the range ?2 .. ?3 (the slack
// included): spans up to 40 days long through the start index, longer ones through the length
// index. A span that ends before it starts counts from its start, as placing it does; a start
// that is not a number reads as day 0, so such rows all come along.
std::string SpansTouching(const std::string& table, const std::string& kindTerm)
{
    const std::string rows = "SELECT oid FROM " + table + " WHERE " + kindTerm;
    return rows + "start_at >= ?2 - 41 AND start_at < ?3 AND (end_at >= ?2 OR start_at >= ?2)" +
           " UNION " + rows + kSpanLength + " > 40 AND +start_at < ?3 AND end_at >= ?2" +
           " UNION " + rows + "start_at IS NULL";
}

// Tasks whose start lies before the range's end and whose due day lies in or after it; a
// missing date (before 1900, after 4000 or none) leaves that side open. Each due side is a
// range of the due index, so tasks due before the range are never read.
std::string TasksTouching()
{
    const std::string rows = "SELECT oid FROM items WHERE kind = ?1 AND ";
    const std::string starts = " AND (start_date < ?3 OR start_date < 2.0 OR start_date >= "
                               "767377.0 OR start_date IS NULL)";
    return rows + "due_date >= ?2" + starts + " UNION " + rows + "due_date < 2.0" + starts +
           " UNION " + rows + "due_date IS NULL" + starts;
}

// Series from their first day up to their end plus their occurrences' length (held to a year
// as loads hold it) and the day the start time can add. A task's occurrences last from its
// start to its due date instead, which the document holds to its window of 120 days. Short
// series come through the start index, long ones through the length index, as spans do.
std::string SeriesReaching(int32_t kind)
{
    const std::string margin = kind == kAppointmentKind ? "1" : "122";
    const std::string rows = "SELECT p.oid FROM patterns p JOIN items i ON i.oid = p.oid "
                             "WHERE +i.kind = ?1 AND ";
    const std::string reaches = " AND " + kSeriesReach + " >= ?2 - " + margin;
    return rows + "pattern_start >= ?2 - 401 - " + margin + " AND pattern_start < ?3" + reaches +
           " UNION " + rows + kSeriesLength + " > 400 AND pattern_start < ?3" + reaches +
           " UNION " + rows + "pattern_start IS NULL";
}

// Tasks whose reminder fires in the range ?2 .. ?3, as `reminded`.
std::string TaskRemindersFiring()
{
    return "WITH reminded(oid) AS (SELECT oid FROM items WHERE kind = ?1 AND reminder_set != 0 "
           "AND reminder_time >= ?2 AND reminder_time < ?3) ";
}

// The object ids a range load reads, with kind ?1 and the range ?2 .. ?3.
std::string RangeCandidates(int32_t kind)
{
    const std::string singles =
        kind == kAppointmentKind ? SpansTouching("items", "kind = ?1 AND ") : TasksTouching();
    return "WITH wanted(oid) AS (" + singles + " UNION " + SeriesReaching(kind) + " UNION " +
           SpansTouching("exceptions", "") + ") ";
}

// 128 random bits in the form the migration gives: unique across stores, safe in a URL.
std::wstring FreshUid()
{
    QRandomGenerator* random = QRandomGenerator::system();
    return QString::asprintf("%016llx%016llx", static_cast<unsigned long long>(random->generate64()),
                             static_cast<unsigned long long>(random->generate64()))
        .toStdWString();
}

// "a, b" as {"a", "b"}.
std::vector<std::wstring> ColumnNames(const std::string& columns)
{
    std::vector<std::wstring> names(1);
    for (const char c : columns) {
        if (c == ',') {
            names.emplace_back();
        } else if (c != ' ') {
            names.back() += static_cast<wchar_t>(c);
        }
    }
    return names;
}

bool InGroup(gid_t group)
{
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) !=
           groups.begin() + std::max(count, 0);
}

// Write permission as the mode bits give it to this process. Root could write anyway; a file
// or folder its owner marked read-only is still not written.
bool ModeGrantsWrite(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || ::access(path.c_str(), W_OK) != 0) {
        return false;
    }
    const mode_t bit = st.st_uid == ::geteuid() ? S_IWUSR : InGroup(st.st_gid) ? S_IWGRP : S_IWOTH;
    return (st.st_mode & bit) != 0;
}

} // namespace

// A full file system shows as SQLITE_FULL, or as a failed write or shared-memory growth whose
// cause was ENOSPC.
bool StoreDatabase::DiskFull(int sqliteCode) const
{
    // A statement's step answers the primary code only; the connection keeps the extended one.
    const int extended = db_ != nullptr ? sqlite3_extended_errcode(db_) : sqliteCode;
    const int cause = db_ != nullptr ? sqlite3_system_errno(db_) : 0;
    return (sqliteCode & 0xFF) == SQLITE_FULL || extended == SQLITE_IOERR_SHMSIZE ||
           ((sqliteCode & 0xFF) == SQLITE_IOERR && (cause == ENOSPC || cause == EDQUOT));
}

StoreDatabase::Recognition StoreDatabase::RecognitionOf(int sqliteCode) const
{
    if (DiskFull(sqliteCode)) {
        return Recognition::Full;
    }
    switch (sqliteCode & 0xFF) {
    case SQLITE_ROW:
    case SQLITE_DONE:
        return Recognition::Ours;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Recognition::Busy;
    case SQLITE_NOTADB:
        return Recognition::NotOurs;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return Recognition::Unreadable;
    default:
        return Recognition::Damaged;
    }
}

StoreDatabase::~StoreDatabase()
{
    Close();
}

void StoreDatabase::Close()
{
    statements_.clear(); // finalized before the connection they belong to
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

int32_t StoreDatabase::Fail(const std::wstring& what)
{
    lastError_ = what;
    Close();
    return -1;
}

int32_t StoreDatabase::Exec(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK ? 0 : -1;
}

int32_t StoreDatabase::Step(const std::string& sql)
{
    return Statement(sql).Step() == SQLITE_DONE ? 0 : -1;
}

SqliteStatement& StoreDatabase::Statement(const std::string& sql)
{
    std::unique_ptr<SqliteStatement>& cached = statements_[sql];
    if (cached == nullptr || !cached->Prepared()) {
        cached = std::make_unique<SqliteStatement>(db_, sql);
    } else {
        cached->Reset();
    }
    return *cached;
}

std::wstring StoreDatabase::Sentence(const wchar_t* before, const wchar_t* after) const
{
    return before + path_ + after;
}

namespace {

// Puts the finished draft at `path` unless a file stands there already (errno is EEXIST then).
// File systems offer a rename that refuses to replace, or a hard link, or (FAT, exFAT) neither:
// there the name is claimed by an exclusive create and the draft renamed over the empty claim,
// which no opener takes for a store.
bool PublishDraft(const char* draft, const char* path)
{
    if (::renameat2(AT_FDCWD, draft, AT_FDCWD, path, RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return false;
    }
    if (::link(draft, path) == 0) {
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
        return false;
    }
    const int claim = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (claim < 0) {
        return false;
    }
    ::close(claim);
    if (::rename(draft, path) == 0) {
        return true;
    }
    const int failed = errno;
    ::unlink(path);
    errno = failed;
    return false;
}

uint32_t BigEndian(const unsigned char* bytes, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// A file shorter than the pages its header counts is a copy that stopped midway: a range load
// would never touch the missing pages and would show part of the calendar. SQLite notices only
// without a write-ahead log beside it; with one, the missing pages can be there only when the
// log has at least as many frames.
bool CutShort(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3"))) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(header.constData());
    const uint32_t rawPageSize = BigEndian(bytes + 16, 2);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    const qint64 pages = BigEndian(bytes + 28, 4);
    const bool countCurrent = BigEndian(bytes + 24, 4) == BigEndian(bytes + 92, 4);
    if (!countCurrent || pageSize < 512 || file.size() >= pageSize * pages) {
        return false;
    }
    constexpr qint64 kWalHeader = 32;
    constexpr qint64 kFrameHeader = 24;
    const qint64 walSize = QFileInfo(QString::fromStdString(path + "-wal")).size();
    const qint64 walFrames = std::max<qint64>(walSize - kWalHeader, 0) / (pageSize + kFrameHeader);
    return walFrames < pages - file.size() / pageSize;
}

} // namespace

int32_t StoreDatabase::Open(const std::string& path, Access access)
{
    Close();
    lastError_.clear();
    readOnly_ = false;
    const QFileInfo info(QString::fromStdString(path));
    path_ = info.filePath().toStdWString();
    if (path.empty() || (info.exists() && !info.isFile())) {
        return Fail(Sentence(L"The calendar store ", L" is not a file."));
    }
    if (!info.exists()) {
        return access == Access::ReadOnly ? Fail(Sentence(L"There is no calendar store at ", L"."))
                                          : Create(path);
    }
    return OpenExisting(path, access);
}

// Built under a draft name and then published: a crash leaves no store or a whole one, and a
// file that appeared meanwhile is never replaced.
int32_t StoreDatabase::Create(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    if (!QDir().mkpath(info.absolutePath())) {
        return Fail(Sentence(L"The folder of the calendar store ", L" cannot be created."));
    }
    QTemporaryFile draft(info.absoluteFilePath() + ".draft-XXXXXX");
    bool built = draft.open() &&
                 sqlite3_open_v2(QFile::encodeName(draft.fileName()).constData(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK;
    built = built && Exec("BEGIN IMMEDIATE") == 0 && Exec(SchemaSql().c_str()) == 0 &&
            Exec("COMMIT") == 0;
    if (built) {
        SqliteStatement wal(db_, "PRAGMA journal_mode = WAL");
        built = wal.Step() == SQLITE_ROW && wal.Text(0) == L"wal";
    }
    const bool full = !built && (errno == ENOSPC || DiskFull(sqlite3_extended_errcode(db_)));
    Close();
    const bool published =
        built && PublishDraft(QFile::encodeName(draft.fileName()).constData(), path.c_str());
    if (!published && !(built && errno == EEXIST)) {
        return Fail(full || errno == ENOSPC ? NoSpaceSentence()
                                            : Sentence(L"The calendar store ", L" cannot be created."));
    }
    return OpenExisting(path, Access::ReadWrite);
}

int32_t StoreDatabase::OpenExisting(const std::string& path, Access access)
{
    if (CutShort(path)) {
        return Fail(Sentence(L"The calendar store ", L" is damaged."));
    }
    const std::wstring cannotWrite = CannotWriteReason(path);
    readOnly_ = access == Access::ReadOnly || !cannotWrite.empty();
    // One connection per thread, so SQLite's own locking of every call is not needed.
    const int flags =
        (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    if (RegisterFindFold(db_) != 0) {
        return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
    }
    switch (Recognise()) {
    case Recognition::Ours:
        break;
    case Recognition::NotOurs:
        return Fail(Sentence(L"The file ", L" is not a calendar store."));
    case Recognition::Newer:
        return Fail(
            Sentence(L"The calendar store ", L" was written by a newer version of Tamberlo."));
    case Recognition::Damaged:
        return Fail(Sentence(L"The calendar store ", L" is damaged."));
    case Recognition::Busy:
        return Fail(BusySentence());
    case Recognition::Full:
        return Fail(NoSpaceSentence());
    case Recognition::Unreadable:
        return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
    }
    if (BringUpToDate() != 0 || ReadIdentity(path) != 0) {
        return -1;
    }
    // The journal mode the file has is kept: opening writes nothing but a migration.
    if ((!readOnly_ && Exec("PRAGMA synchronous = FULL") != 0) || Exec(kReadTuning) != 0) {
        return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
    }
    lastError_ = cannotWrite;
    return 0;
}

// A store of an older version of ours gains what the current one has, in one transaction, so
// a failed step leaves the old version whole.
int32_t StoreDatabase::BringUpToDate()
{
    int32_t version = 0;
    {
        SqliteStatement pragma(db_, "PRAGMA user_version");
        if (pragma.Step() != SQLITE_ROW) {
            return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
        }
        version = pragma.Int(0);
    }
    version_ = version;
    // A reader takes an older store as it is; only a writer brings it up to date.
    if (version >= kSchemaVersion || readOnly_) {
        return 0;
    }
    if (Exec("BEGIN IMMEDIATE") != 0) {
        return Fail(DiskFull(sqlite3_extended_errcode(db_)) ? NoSpaceSentence() : BusySentence());
    }
    if (Migrate(version) != 0 || Exec("COMMIT") != 0) {
        const bool full = DiskFull(sqlite3_extended_errcode(db_));
        Exec("ROLLBACK");
        return Fail(full ? NoSpaceSentence()
                         : Sentence(L"The calendar store ", L" cannot be brought up to date."));
    }
    version_ = kSchemaVersion;
    return 0;
}

int32_t StoreDatabase::ReadIdentity(const std::string& path)
{
    identity_ = {};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        identity_.device = st.st_dev;
        identity_.inode = st.st_ino;
    }
    if (version_ < kIdentityVersion) {
        return 0;
    }
    SqliteStatement id(db_, "SELECT id FROM store_identity LIMIT 1");
    const int rc = id.Step();
    if (rc == SQLITE_ROW) {
        identity_.id = id.Text(0);
    } else if (rc != SQLITE_DONE) {
        return Fail(Sentence(L"The calendar store ", L" cannot be opened."));
    }
    return 0;
}

std::wstring StoreDatabase::BusySentence() const
{
    return Sentence(L"The calendar store ", L" is in use by another program; try again.");
}

std::wstring StoreDatabase::NoSpaceSentence() const
{
    return Sentence(L"There is no space left to save to ", L".");
}

// Keeps the first cause of a refused write, before a rollback resets the connection's code.
void StoreDatabase::NoteWriteFailure()
{
    if (!writeError_.empty() || db_ == nullptr) {
        return;
    }
    const int code = sqlite3_extended_errcode(db_);
    if (DiskFull(code)) {
        writeError_ = NoSpaceSentence();
    } else if ((code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED) {
        writeError_ = BusySentence();
    } else if ((code & 0xFF) == SQLITE_READONLY) {
        writeError_ = Sentence(L"The calendar store ", L" is read-only.");
    }
}

// Runs inside the caller's write transaction.
int32_t StoreDatabase::Migrate(int32_t fromVersion)
{
    for (int32_t v = fromVersion; v < kSchemaVersion; ++v) {
        const std::string columns = v + 1 == kKeptVersion       ? AddedColumnSql("items", "kept TEXT") +
                                                                  AddedColumnSql("exceptions", "kept TEXT")
                                    : v + 1 == kCalendarsVersion ? AddedColumnSql("items", kCalendarColumnType)
                                                                 : std::string();
        if (Exec((columns + MigrationSql(v)).c_str()) != 0) {
            return -1;
        }
    }
    return 0;
}

// The column unless the table has it: a store whose version number was set back by hand does.
std::string StoreDatabase::AddedColumnSql(const char* table, const std::string& column)
{
    const std::string name = column.substr(0, column.find(' '));
    SqliteStatement has(db_, "SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    has.Bind(std::wstring(table, table + std::strlen(table)))
        .Bind(std::wstring(name.begin(), name.end()));
    return has.Step() == SQLITE_ROW ? std::string()
                                    : std::string("ALTER TABLE ") + table + " ADD COLUMN " + column + ";";
}

std::wstring StoreDatabase::CannotWriteReason(const std::string& path) const
{
    if (!ModeGrantsWrite(path)) {
        return Sentence(L"The calendar store ", L" is read-only.");
    }
    if (!ModeGrantsWrite(QFileInfo(QString::fromStdString(path)).absolutePath().toStdString())) {
        return Sentence(L"The calendar store ", L" cannot be written (its folder is read-only).");
    }
    return {};
}

// Reads only, inside one read transaction: a file is known to be ours before a byte is written.
StoreDatabase::Recognition StoreDatabase::Recognise()
{
    if (Exec("BEGIN") != 0) {
        return Recognition::Damaged;
    }
    int rc = 0;
    int32_t version = 0;
    {
        SqliteStatement pragma(db_, "PRAGMA user_version");
        rc = pragma.Step();
        version = rc == SQLITE_ROW ? pragma.Int(0) : 0;
    }
    Recognition found = RecognitionOf(rc);
    if (rc == SQLITE_ROW) {
        found = version > kSchemaVersion ? Recognition::Newer
                : version <= 0           ? Recognition::NotOurs
                                         : RecogniseTables();
    }
    Exec("COMMIT");
    return found;
}

// Our three tables with at least the columns every version of the store has.
StoreDatabase::Recognition StoreDatabase::RecogniseTables()
{
    const std::array<std::pair<const char*, std::string>, 3> required{{
        {"items", "oid, kind, " + kItemColumns},
        {"patterns", "oid, " + kPatternColumns},
        {"exceptions", "oid, original_date, deleted, " + kItemColumns},
    }};
    for (const auto& [table, columns] : required) {
        SqliteStatement names(db_, "SELECT name FROM pragma_table_info(?)");
        names.Bind(std::wstring(table, table + std::strlen(table)));
        std::set<std::wstring> present;
        int rc = 0;
        while ((rc = names.Step()) == SQLITE_ROW) {
            present.insert(names.Text(0));
        }
        if (rc != SQLITE_DONE) {
            return RecognitionOf(rc);
        }
        for (const std::wstring& column : ColumnNames(columns)) {
            if (present.count(column) == 0) {
                return Recognition::NotOurs;
            }
        }
    }
    return Recognition::Ours;
}

// What one load reads: a condition on the joined items row `i` for the items and one for their
// patterns and exceptions, and the values they bind.
struct StoreDatabase::Restriction {
    std::string items;
    std::string dependents;
    std::function<void(SqliteStatement&)> bind;
    std::function<int32_t()> prepare = [] { return 0; }; // runs first, in the transaction
};

int32_t StoreDatabase::Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out,
                            ItemSelection selection)
{
    // Patterns and exceptions of items the selection left out are read and skipped: filtering
    // them again in SQL costs more than it saves.
    const auto bind = [kind, oid](SqliteStatement& s) { BindKindAndOid(s, kind, oid); };
    const Restriction restriction{WhereKindAndOid(oid, selection),
                                  WhereKindAndOid(oid, ItemSelection::All), bind};
    return LoadRestricted(kind, restriction, out);
}

int32_t StoreDatabase::LoadRange(int32_t kind, const DayRange& range, std::vector<StoredItem>& out)
{
    const bool reminders = range.selection == ItemSelection::WithReminders;
    const std::string candidates =
        reminders && kind == kTaskKind ? TaskRemindersFiring()
        : reminders ? RangeCandidates(kind) + ", reminded(oid) AS (SELECT w.oid FROM wanted w JOIN "
                                              "items i ON i.oid = w.oid WHERE " +
                          kHasReminder + ") "
                    : RangeCandidates(kind);
    return LoadWanted(
        kind, candidates + "INSERT INTO temp.wanted_ids SELECT oid FROM " +
                  (reminders ? "reminded" : "wanted"),
        [kind, range](SqliteStatement& s) {
            s.Bind(kind).Bind(range.from - kDateSlackDays).Bind(range.until + kDateSlackDays);
        },
        out);
}

int32_t StoreDatabase::LoadWanted(int32_t kind, const std::string& insertIds,
                                  const std::function<void(SqliteStatement&)>& bindIds,
                                  std::vector<StoredItem>& out)
{
    // The ids are found once into a table of this connection's own, which even a read-only
    // connection may write, and the three queries read them from there. "+i.kind": the ids
    // lead, each looked up by its oid, instead of every item of the kind being tested.
    const std::string wanted = " WHERE +i.kind = ? AND i.oid IN (SELECT oid FROM temp.wanted_ids)";
    const auto find = [this, &insertIds, &bindIds] {
        if (Exec("CREATE TEMP TABLE IF NOT EXISTS wanted_ids (oid INTEGER PRIMARY KEY);"
                 "DELETE FROM temp.wanted_ids") != 0) {
            return -1;
        }
        SqliteStatement ids(db_, insertIds);
        bindIds(ids);
        return ids.Step() == SQLITE_DONE ? 0 : -1;
    };
    const Restriction restriction{wanted, wanted, [kind](SqliteStatement& s) { s.Bind(kind); },
                                  find};
    return LoadRestricted(kind, restriction, out);
}

int32_t StoreDatabase::LoadRestricted(int32_t kind, const Restriction& restriction,
                                      std::vector<StoredItem>& out)
{
    out.clear();
    const int32_t status = ReadConsistently([&] {
        int32_t step = restriction.prepare();
        step = step < 0 ? step : LoadItems(kind, restriction, out);
        step = step < 0 ? step : LoadPatterns(restriction, out);
        return step < 0 ? step : LoadExceptions(restriction, out);
    });
    if (status < 0) {
        out.clear();
    }
    return status;
}

int32_t StoreDatabase::ReadConsistently(const std::function<int32_t()>& read)
{
    // One read transaction, so the queries see the same state of the file; inside a batch of
    // saves they read what the batch has written so far.
    const bool outermost = db_ != nullptr && sqlite3_get_autocommit(db_) != 0;
    if (db_ == nullptr || (outermost && Exec("BEGIN") != 0)) {
        return -1;
    }
    const int32_t status = read();
    if (outermost) {
        Exec("COMMIT");
    }
    if (status < 0) {
        // A store that fails to read is not written through this connection any more.
        readOnly_ = true;
        lastError_ =
            Sentence(L"The calendar store ", L" is damaged and could not be read in full.");
    }
    return status;
}

int64_t StoreDatabase::DataVersion()
{
    if (db_ == nullptr) {
        return -1;
    }
    SqliteStatement s(db_, "PRAGMA data_version");
    return s.Step() == SQLITE_ROW ? s.Int64(0) : -1;
}

// A statement of its own, finalized at once, so no read stays open after it.
int32_t StoreDatabase::HoldsUid(const std::wstring& uid)
{
    if (db_ == nullptr) {
        return -1;
    }
    if (uid.empty() || version_ < 2) {
        return 0;
    }
    SqliteStatement s(db_, "SELECT 1 FROM items WHERE uid = ? LIMIT 1");
    const int step = s.Bind(uid).Step();
    return step == SQLITE_ROW ? 1 : step == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::FindMatches(const std::wstring& text, std::vector<FindMatch>& out)
{
    out.clear();
    const std::wstring folded = FoldForFind(text);
    if (folded.empty()) {
        return 0;
    }
    // Trigrams need three characters; a shorter text is looked for in every item's index row,
    // and in a store older than the index (opened read-only) in every item's folded text.
    const bool indexed = version_ >= kFindVersion;
    const bool phrase = indexed && folded.size() >= 3;
    std::wstring match = folded;
    if (phrase) {
        match.clear();
        for (const wchar_t c : folded) {
            match += c == L'"' ? L"\"\"" : std::wstring(1, c);
        }
        match = L'"' + match + L'"';
    }
    // An index without the changed occurrences' texts (read-only, older) is helped by folding
    // them here.
    const bool exceptionsIndexed = version_ >= kExceptionFindVersion;
    const std::string inIndex = phrase ? "SELECT rowid FROM find_text WHERE find_text MATCH ?"
                                       : "SELECT rowid FROM find_text WHERE instr(text, ?) > 0";
    const std::string folding = "SELECT oid FROM items i WHERE instr(";
    const std::string matching =
        !indexed            ? folding + kFoldedText + ", ?) > 0"
        : exceptionsIndexed ? inIndex
                            : inIndex + " UNION " + folding + kFoldedExceptionTexts + ", ?) > 0";
    const auto bind = [&](SqliteStatement& s) {
        if (indexed) {
            s.Bind(match);
        }
        if (!exceptionsIndexed) {
            s.Bind(folded);
        }
    };
    const int32_t status = ReadConsistently([&] { return ReadMatches(matching, bind, out); });
    if (status < 0) {
        out.clear();
    }
    return status;
}

// Find reads a few columns of each match in one query and the deleted days of its series in
// another: a find over a fifth of a large store then costs less than half of loading those
// items whole.
int32_t StoreDatabase::ReadMatches(const std::string& matching,
                                   const std::function<void(SqliteStatement&)>& bind,
                                   std::vector<FindMatch>& out)
{
    SqliteStatement s(db_, std::string("SELECT i.oid, i.kind, i.subject, i.start_at, i.all_day, "
                                       "i.start_date, i.due_date, ") +
                               (version_ >= kZoneVersion ? "i.zone, " : "NULL, ") +
                               (version_ >= kCalendarsVersion ? "i.calendar, " : "0, ") +
                               "p.oid, " + Qualified(kPatternColumns, "p.") +
                               " FROM items i LEFT JOIN patterns p ON p.oid = i.oid"
                               " WHERE i.oid IN (" + matching + ") AND +i.kind IN (?, ?)");
    bind(s);
    s.Bind(int32_t{kAppointmentKind}).Bind(int32_t{kTaskKind});
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        FindMatch m;
        m.oid = s.Int(0);
        m.kind = s.Int(1);
        m.subject = s.Text(2);
        m.calendar = s.Int(8);
        if (m.kind == kAppointmentKind) {
            m.start = StoredDate(s, 3);
            m.allDay = s.Int(4) != 0;
            if (s.Int(9) != 0) { // the joined pattern's oid; NULL reads as 0
                m.pattern = ReadPattern(s, 10);
                m.pattern->Zone = s.Text(7);
            }
        } else {
            m.startDate = StoredDate(s, 5);
            m.dueDate = StoredDate(s, 6);
        }
        out.push_back(std::move(m));
    }
    if (rc != SQLITE_DONE) {
        return -1;
    }
    // Sorted here: SQLite's sorter would carry every column and cost more than the read.
    std::sort(out.begin(), out.end(), [](const FindMatch& a, const FindMatch& b) {
        return std::tie(a.kind, a.oid) < std::tie(b.kind, b.oid);
    });
    SqliteStatement deleted(db_, "SELECT oid, original_date FROM exceptions WHERE deleted != 0"
                                 " AND oid IN (" + matching + ") ORDER BY oid, original_date");
    bind(deleted);
    // Only appointments are series; they lead the matches, by oid.
    const auto appointments = std::partition_point(
        out.begin(), out.end(), [](const FindMatch& m) { return m.kind == kAppointmentKind; });
    while ((rc = deleted.Step()) == SQLITE_ROW) {
        const int32_t oid = deleted.Int(0);
        const auto series = std::lower_bound(
            out.begin(), appointments, oid,
            [](const FindMatch& m, int32_t key) { return m.oid < key; });
        if (series != appointments && series->oid == oid && series->pattern) {
            series->deletedDays.push_back(StoredDate(deleted, 1));
        }
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::LoadItems(int32_t kind, const Restriction& restriction,
                                 std::vector<StoredItem>& out)
{
    // A store older than the UIDs or zones is read as it is, without them.
    SqliteStatement s(db_, std::string("SELECT oid, ") + (version_ >= 2 ? "uid, " : "NULL, ") +
                               (version_ >= kZoneVersion ? "zone, " : "NULL, ") +
                               (version_ >= kKeptVersion ? "kept, " : "NULL, ") +
                               (version_ >= kCalendarsVersion ? "calendar, " : "0, ") +
                               LoadedColumns(kind) + " FROM items i" + restriction.items +
                               " ORDER BY oid");
    restriction.bind(s);
    // Counted first, so the list is not moved as it grows.
    SqliteStatement count(db_, "SELECT count(*) FROM items i" + restriction.items);
    restriction.bind(count);
    if (count.Step() == SQLITE_ROW) {
        out.reserve(out.size() + static_cast<size_t>(std::max<int64_t>(count.Int64(0), 0)));
    }
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem& item = out.emplace_back();
        item.kind = kind;
        item.fields = ReadFields(s, 5, kind);
        item.fields.Oid = s.Int(0);
        item.fields.UID = s.Text(1);
        item.fields.Zone = s.Text(2);
        item.fields.Kept = s.Utf8Text(3);
        item.calendar = s.Int(4);
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::LoadPatterns(const Restriction& restriction, std::vector<StoredItem>& out)
{
    SqliteStatement s(db_, "SELECT p.oid, " + kPatternColumns +
                               " FROM patterns p JOIN items i ON i.oid = p.oid" +
                               restriction.dependents);
    restriction.bind(s);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        if (StoredItem* item = ItemOf(out, s.Int(0))) {
            item->pattern = ReadPattern(s, 1);
            item->pattern->Zone = item->fields.Zone;  // a series is held in its item's zone
        }
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::LoadExceptions(const Restriction& restriction,
                                      std::vector<StoredItem>& out)
{
    SqliteStatement s(db_, std::string("SELECT e.oid, e.original_date, e.deleted, ") +
                               (version_ >= kKeptVersion ? "e.kept, " : "NULL, ") +
                               Qualified(LoadedColumns(kAppointmentKind), "e.") +
                               " FROM exceptions e JOIN items i ON i.oid = e.oid" +
                               restriction.dependents + " ORDER BY e.oid, e.original_date");
    restriction.bind(s);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem* item = ItemOf(out, s.Int(0));
        if (item == nullptr || !item->pattern) {
            continue;
        }
        ExceptionFields e;
        e.OriginalDate = StoredDate(s, 1);
        e.Deleted = s.Int(2) != 0;
        e.occurrence = ReadFields(s, 4, kAppointmentKind);
        e.occurrence.Oid = item->fields.Oid;
        e.occurrence.Kept = s.Utf8Text(3);
        item->exceptions.push_back(std::move(e));
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::BeginWrite(bool outermost)
{
    if (outermost) {
        writeError_.clear();
    }
    if (!Writable()) {
        writeError_ = lastError_;
        return -1;
    }
    // A batch's savepoint comes with every item: its statement is prepared once.
    if ((outermost ? Exec("BEGIN IMMEDIATE") : Step("SAVEPOINT item_write")) != 0) {
        NoteWriteFailure();
        return -1;
    }
    return 0;
}

// A write outside a batch is its own transaction; inside one it nests as a savepoint, so a
// failed item still rolls back alone.
int32_t StoreDatabase::EndWrite(bool outermost, int32_t status)
{
    if (outermost) {
        if (status >= 0 && Exec("COMMIT") == 0) {
            return status;
        }
        NoteWriteFailure();
        Exec("ROLLBACK");
        return -1;
    }
    if (status < 0) {
        NoteWriteFailure();
        Step("ROLLBACK TO item_write");
    }
    Step("RELEASE item_write");
    return status;
}

int32_t StoreDatabase::Save(StoredItem& item)
{
    return SaveItem(item, SyncMark::Change);
}

int32_t StoreDatabase::SaveItem(StoredItem& item, SyncMark mark)
{
    const bool outermost = db_ == nullptr || sqlite3_get_autocommit(db_) != 0;
    if (BeginWrite(outermost) != 0) {
        return -1;
    }
    if (item.pattern) {
        FillCountedEndDate(*item.pattern);
    }
    int32_t oid = item.fields.Oid;
    const bool insert = oid <= 0;
    const std::wstring previousUid = item.fields.UID;
    if (insert && item.fields.UID.empty()) {
        item.fields.UID = FreshUid();
    }
    int32_t calendar = 0;
    int32_t status = PlaceInCalendar(item, mark, calendar);
    status = status < 0 ? status : WriteItem(item, calendar, oid);
    if (status >= 0 && mark == SyncMark::Change) {
        status = MarkChanged(oid, insert);
    }
    status = EndWrite(outermost, status);
    if (status >= 0) {
        item.fields.Oid = oid; // only once the row is really there
        item.calendar = calendar;
    } else {
        item.fields.UID = previousUid;
    }
    return status;
}

// A local change that moves a server's resource to another calendar deletes it there and
// pushes it anew to the collection it went to; the item itself is never without a copy here.
int32_t StoreDatabase::PlaceInCalendar(const StoredItem& item, SyncMark mark, int32_t& calendar)
{
    StoreAccess access(*this, kCalendarsVersion);
    CalendarPlacement place;
    const int32_t oid = item.fields.Oid;
    if (PlaceItem(access, oid, item.kind, item.calendar, mark == SyncMark::Change, place) != 0) {
        if (!place.refusal.empty()) {
            writeError_ = place.refusal;
        }
        return -1;
    }
    calendar = place.calendar;
    if (!place.Moved() || mark != SyncMark::Change) {
        return 0;
    }
    return WriteTombstone(oid) == 0 &&
                   Statement("UPDATE sync_links SET calendar = NULL, href = NULL, etag = NULL, "
                             "pushed = 0 WHERE oid = ?")
                           .Bind(oid)
                           .Step() == SQLITE_DONE
               ? 0
               : -1;
}

// An item without a link row counts as change 1, so a replaced one starts at 2: a round that
// read it before this save must see it changed.
int32_t StoreDatabase::MarkChanged(int32_t oid, bool inserted)
{
    SqliteStatement& mark = Statement(
        "INSERT INTO sync_links (oid, change, pushed, conflict) VALUES (?, ?, 0, 0) "
        "ON CONFLICT (oid) DO UPDATE SET change = change + 1, conflict = 0");
    return mark.Bind(oid).Bind(int64_t{inserted ? 1 : 2}).Step() == SQLITE_DONE ? 0 : -1;
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

int32_t StoreDatabase::WriteItem(const StoredItem& item, int32_t calendar, int32_t& oid)
{
    const bool insert = oid <= 0;
    SqliteStatement& row =
        Statement(insert ? "INSERT INTO items (kind, uid, zone, kept, calendar, " + kItemColumns +
                               ") VALUES (?, ?, ?, ?, ?, " + kItemPlaceholders + ")"
                         : "UPDATE items SET (kind, uid, zone, kept, calendar, " + kItemColumns +
                               ") = (?, ifnull(nullif(?, ''), uid), ?, ?, ?, " +
                               kItemPlaceholders + ") WHERE oid = ?");
    BindFields(row.Bind(item.kind)
                   .Bind(item.fields.UID)
                   .Bind(item.fields.Zone)
                   .Bind(item.fields.Kept)
                   .Bind(calendar),
               item.fields);
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
    if (WritePattern(oid, item, insert) != 0) {
        return -1;
    }
    if (bulk_) {
        bulk_->Written(oid);
        return 0;
    }
    return WriteFindText(oid);
}

// Find's index follows every save, inside the save's transaction, read back from the rows just
// written (the exceptions included) by the same expression the migration fills it with.
int32_t StoreDatabase::WriteFindText(int32_t oid)
{
    if (Statement("DELETE FROM find_text WHERE rowid = ?").Bind(oid).Step() != SQLITE_DONE) {
        return -1;
    }
    SqliteStatement& row = Statement("INSERT INTO find_text (rowid, text) SELECT i.oid, " +
                                     kFoldedText + " FROM items i WHERE i.oid = ?");
    row.Bind(oid);
    return row.Step() == SQLITE_DONE && sqlite3_changes(db_) == 1 ? 0 : -1;
}

int32_t StoreDatabase::WritePattern(int32_t oid, const StoredItem& item, bool inserted)
{
    // A new object id has never been used, so nothing depends on it yet.
    if (!inserted && DeleteDependents(oid) != 0) {
        return -1;
    }
    if (!item.pattern) {
        return 0;
    }
    const RecurrenceFields& p = *item.pattern;
    SqliteStatement& pattern = Statement("INSERT INTO patterns (oid, " + kPatternColumns +
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
    SqliteStatement& exception =
        Statement("INSERT INTO exceptions (oid, original_date, deleted, kept, " + kItemColumns +
                  ") VALUES (?,?,?,?," + kItemPlaceholders + ")");
    for (const ExceptionFields& e : item.exceptions) {
        exception.Reset();
        BindFields(exception.Bind(oid).Bind(e.OriginalDate).Bind(e.Deleted).Bind(e.occurrence.Kept),
                   e.occurrence);
        if (exception.Step() != SQLITE_DONE) {
            return -1;
        }
    }
    return 0;
}

int32_t StoreDatabase::DeleteDependents(int32_t oid)
{
    return Statement("DELETE FROM patterns WHERE oid = ?").Bind(oid).Step() == SQLITE_DONE &&
                   Statement("DELETE FROM exceptions WHERE oid = ?").Bind(oid).Step() ==
                       SQLITE_DONE &&
                   (bulk_ ? (bulk_->Note(oid), true)
                               : Statement("DELETE FROM find_text WHERE rowid = ?").Bind(oid).Step() ==
                                     SQLITE_DONE)
               ? 0
               : -1;
}

int32_t StoreDatabase::Delete(int32_t oid)
{
    return DeleteItem(oid, SyncMark::Change);
}

int32_t StoreDatabase::DeleteItem(int32_t oid, SyncMark mark)
{
    const bool outermost = db_ == nullptr || sqlite3_get_autocommit(db_) != 0;
    if (oid <= 0 || BeginWrite(outermost) != 0) {
        return -1;
    }
    StoredItem gone;
    gone.fields.Oid = oid;
    int32_t calendar = 0;
    const bool deleted = PlaceInCalendar(gone, mark, calendar) == 0 &&
                         (mark == SyncMark::None || WriteTombstone(oid) == 0) &&
                         DeleteDependents(oid) == 0 &&
                         Statement("DELETE FROM items WHERE oid = ?").Bind(oid).Step() ==
                             SQLITE_DONE &&
                         sqlite3_changes(db_) == 1 &&
                         Statement("DELETE FROM sync_links WHERE oid = ?").Bind(oid).Step() ==
                             SQLITE_DONE;
    return EndWrite(outermost, deleted ? 0 : -1);
}

// Only a resource the server holds needs deleting there; the newest etag of a href wins.
int32_t StoreDatabase::WriteTombstone(int32_t oid)
{
    SqliteStatement& tombstone = Statement(
        "INSERT OR REPLACE INTO sync_tombstones (calendar, href, etag, uid) "
        "SELECT ifnull(l.calendar, ''), l.href, l.etag, i.uid FROM sync_links l JOIN items i ON i.oid = l.oid "
        "WHERE l.oid = ? AND l.href != ''");
    return tombstone.Bind(oid).Step() == SQLITE_DONE ? 0 : -1;
}

int32_t StoreDatabase::RunInOneTransaction(const std::function<int32_t()>& work)
{
    if (db_ != nullptr && Writable() && sqlite3_get_autocommit(db_) == 0) {
        return work();
    }
    if (BeginWrite(true) != 0) {
        return -1;
    }
    bulk_.emplace(db_);
    int32_t status = work();
    if (status >= 0 && bulk_->Finish("INSERT INTO find_text (rowid, text) SELECT i.oid, " +
                                                  kFoldedText + " FROM items i WHERE i.oid IN "
                                                  "(SELECT oid FROM temp.batch_written)") < 0) {
        status = -1;
    }
    bulk_.reset();
    return EndWrite(true, status);
}

} // namespace pim
