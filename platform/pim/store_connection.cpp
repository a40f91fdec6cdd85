// The failure sentences name the file; a refused write keeps its first cause, since a rollback
// resets the connection's code.
#include "platform/pim/store_connection.h"

#include <sqlite3.h>

#include <cerrno>

#include "platform/pim/find_text.h"

namespace pim {
namespace {

// Another program's write (an import, the reminders, a sync) holds the lock for moments; waiting
// this long outlasts them, and a lock held longer is reported as the store being in use.
constexpr int kBusyTimeoutMs = 4000;

} // namespace

StoreConnection::~StoreConnection()
{
    Close();
}

bool StoreConnection::OpenFile(const std::string& path, bool readOnly)
{
    Close();
    // One connection per thread, so SQLite's own locking of every call is not needed.
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    if (RegisterFindFold(db_) != 0) {
        Close();
        return false;
    }
    return true;
}

void StoreConnection::Close()
{
    statements_.clear(); // finalized before the connection they belong to
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool StoreConnection::InTransaction() const
{
    return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

int32_t StoreConnection::Fail(const std::wstring& what)
{
    lastError_ = what;
    Close();
    return -1;
}

int32_t StoreConnection::Exec(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK ? 0 : -1;
}

SqliteStatement& StoreConnection::Statement(const std::string& sql)
{
    std::unique_ptr<SqliteStatement>& cached = statements_[sql];
    if (cached == nullptr || !cached->Prepared()) {
        cached = std::make_unique<SqliteStatement>(db_, sql);
    } else {
        cached->Reset();
    }
    return *cached;
}

int32_t StoreConnection::Step(const std::string& sql)
{
    return Statement(sql).Step() == SQLITE_DONE ? 0 : -1;
}

int64_t StoreConnection::LastInsertId() const
{
    return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : 0;
}

int StoreConnection::Changes() const
{
    return db_ != nullptr ? sqlite3_changes(db_) : 0;
}

int64_t StoreConnection::DataVersion()
{
    if (db_ == nullptr) {
        return -1;
    }
    SqliteStatement s(db_, "PRAGMA data_version");
    return s.Step() == SQLITE_ROW ? s.Int64(0) : -1;
}

int32_t StoreConnection::BeginWrite(bool outermost)
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

int32_t StoreConnection::EndWrite(bool outermost, int32_t status)
{
    if (status < 0) {
        NoteSideWrite();
    }
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

// A full file system shows as SQLITE_FULL, or as a failed write or shared-memory growth whose
// cause was ENOSPC.
StoreFailure StoreConnection::FailureOf(int sqliteCode) const
{
    // A statement's step answers the primary code only; the connection keeps the extended one.
    const int extended = db_ != nullptr ? sqlite3_extended_errcode(db_) : sqliteCode;
    const int cause = db_ != nullptr ? sqlite3_system_errno(db_) : 0;
    const int primary = sqliteCode & 0xFF;
    if (primary == SQLITE_FULL || extended == SQLITE_IOERR_SHMSIZE ||
        (primary == SQLITE_IOERR && (cause == ENOSPC || cause == EDQUOT))) {
        return StoreFailure::Full;
    }
    switch (primary) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return StoreFailure::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreFailure::Busy;
    case SQLITE_READONLY:
        return StoreFailure::ReadOnly;
    case SQLITE_NOTADB:
        return StoreFailure::NotOurs;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return StoreFailure::Unreadable;
    default:
        return StoreFailure::Damaged;
    }
}

std::wstring StoreConnection::FailureSentence(StoreFailure failure) const
{
    switch (failure) {
    case StoreFailure::Busy:
        return Sentence(L"The calendar store ", L" is in use by another program; try again.");
    case StoreFailure::Full:
        return Sentence(L"There is no space left to save to ", L".");
    case StoreFailure::ReadOnly:
        return Sentence(L"The calendar store ", L" is read-only.");
    default:
        return {};
    }
}

std::wstring StoreConnection::Sentence(const wchar_t* before, const wchar_t* after) const
{
    return before + path_ + after;
}

void StoreConnection::NoteWriteFailure()
{
    if (writeError_.empty() && db_ != nullptr) {
        writeError_ = FailureSentence(FailureOf(sqlite3_extended_errcode(db_)));
    }
}

} // namespace pim
