// One connection to a store's file: its prepared statements, its write transactions (a batch
// nests each item's write as a savepoint), and what a failure of SQLite means for the user. The
// opener, the reads, the writes and the tables beside the items all work through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/pim/sqlite_statement.h"

struct sqlite3;

namespace pim {

// What a failed SQLite call means for the user.
enum class StoreFailure {
    None,       // it did not fail (SQLITE_OK, ROW or DONE)
    Busy,       // another program holds the lock past the wait
    Full,       // no space left on the disk
    ReadOnly,   // the file or the connection may not be written
    NotOurs,    // not an SQLite file at all
    Unreadable, // it cannot be opened (missing, no permission)
    Damaged,    // anything else: the file is not what it should be
};

class StoreConnection {
public:
    StoreConnection() = default;
    ~StoreConnection();
    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    // Opens `path` as SQLite (read-only or not), with the busy wait and Find's fold function;
    // false when SQLite refused, the connection then closed.
    bool OpenFile(const std::string& path, bool readOnly);
    void Close();
    sqlite3* Handle() const { return db_; }
    bool IsOpen() const { return db_ != nullptr; }

    // The file as its sentences name it.
    void SetPath(std::wstring path) { path_ = std::move(path); }
    // The schema version the file has (0 before it is read).
    int32_t Version() const { return version_; }
    void SetVersion(int32_t version) { version_ = version; }
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Writable() const { return db_ != nullptr && !readOnly_; }
    // Whether a transaction is open on the connection (a batch or a write running).
    bool InTransaction() const;

    // Why opening or a read failed, or why the store is read-only.
    const std::wstring& LastError() const { return lastError_; }
    void SetLastError(std::wstring error) { lastError_ = std::move(error); }
    // Keeps `what` as the last error and closes: -1.
    int32_t Fail(const std::wstring& what);
    // Why the last write failed when the store itself refused it; empty otherwise.
    const std::wstring& WriteError() const { return writeError_; }
    void SetWriteError(std::wstring error) { writeError_ = std::move(error); }

    int32_t Exec(const char* sql);
    // The statements are prepared once per connection and reset before each reuse.
    SqliteStatement& Statement(const std::string& sql);
    // Runs a cached statement without results: 0, or -1 when it failed.
    int32_t Step(const std::string& sql);
    int64_t LastInsertId() const;
    int Changes() const;
    // SQLite's data_version: it differs between two calls exactly when another connection (of
    // any process) committed in between. -1 when it cannot be read.
    int64_t DataVersion();

    // A write outside a batch is its own transaction; inside one it nests as a savepoint, so a
    // failed item still rolls back alone. EndWrite answers `status`, or -1 when the end failed.
    int32_t BeginWrite(bool outermost);
    int32_t EndWrite(bool outermost, int32_t status);
    // Counts writes to the tables beside the items and rolled-back writes: what a batch read
    // of those tables still holds while the count stays the same.
    uint64_t SideGeneration() const { return sideGeneration_; }
    void NoteSideWrite() { ++sideGeneration_; }

    // The meaning of a result code of this connection (a step's primary code included).
    StoreFailure FailureOf(int sqliteCode) const;
    // The user's sentence for a failure the store itself caused (Busy, Full, ReadOnly); empty
    // for the others.
    std::wstring FailureSentence(StoreFailure failure) const;
    // `before` + the file + `after`.
    std::wstring Sentence(const wchar_t* before, const wchar_t* after) const;

private:
    void NoteWriteFailure();

    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
    std::wstring path_;
    bool readOnly_ = false;
    int32_t version_ = 0;
    uint64_t sideGeneration_ = 0;
    std::wstring lastError_;
    std::wstring writeError_;
};

} // namespace pim
