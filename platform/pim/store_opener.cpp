// A file is only written once it is known to be ours, current, writable and not in use; a new
// store is built whole before it gets its name, so a crash leaves no store or a whole one.
#include "platform/pim/store_opener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "platform/pim/store_connection.h"
#include "platform/pim/store_schema.h"

namespace pim {
namespace {

// Every operation opens the store afresh and reads it whole: map the file instead of copying
// each page in, and keep a whole large calendar in the page cache. A batch's savepoints keep
// their copies of the pages in memory: in a temporary file they cost a write per page touched.
constexpr const char* kReadTuning =
    "PRAGMA mmap_size = 268435456; PRAGMA cache_size = -16384; PRAGMA temp_store = MEMORY";

enum class Recognition { Ours, NotOurs, Newer, Damaged, Busy, Full, Unreadable };

Recognition RecognitionOf(const StoreConnection& db, int sqliteCode)
{
    switch (db.FailureOf(sqliteCode)) {
    case StoreFailure::None:
        return Recognition::Ours;
    case StoreFailure::Busy:
        return Recognition::Busy;
    case StoreFailure::Full:
        return Recognition::Full;
    case StoreFailure::NotOurs:
        return Recognition::NotOurs;
    case StoreFailure::Unreadable:
        return Recognition::Unreadable;
    case StoreFailure::ReadOnly:
    case StoreFailure::Damaged:
        break;
    }
    return Recognition::Damaged;
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

std::wstring CannotWriteReason(const StoreConnection& db, const std::string& path)
{
    if (!ModeGrantsWrite(path)) {
        return db.Sentence(L"The calendar store ", L" is read-only.");
    }
    if (!ModeGrantsWrite(QFileInfo(QString::fromStdString(path)).absolutePath().toStdString())) {
        return db.Sentence(L"The calendar store ",
                           L" cannot be written (its folder is read-only).");
    }
    return {};
}

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

// Our three tables with at least the columns every version of the store has.
Recognition RecogniseTables(StoreConnection& db)
{
    const std::array<std::pair<const char*, std::string>, 3> required{{
        {"items", "oid, kind, " + kItemColumns},
        {"patterns", "oid, " + kPatternColumns},
        {"exceptions", "oid, original_date, deleted, " + kItemColumns},
    }};
    for (const auto& [table, columns] : required) {
        SqliteStatement names(db.Handle(), "SELECT name FROM pragma_table_info(?)");
        names.Bind(std::wstring(table, table + std::strlen(table)));
        std::set<std::wstring> present;
        int rc = 0;
        while ((rc = names.Step()) == SQLITE_ROW) {
            present.insert(names.Text(0));
        }
        if (rc != SQLITE_DONE) {
            return RecognitionOf(db, rc);
        }
        for (const std::wstring& column : ColumnNames(columns)) {
            if (!present.contains(column)) {
                return Recognition::NotOurs;
            }
        }
    }
    return Recognition::Ours;
}

// Reads only, inside one read transaction: a file is known to be ours before a byte is written.
Recognition Recognise(StoreConnection& db)
{
    if (db.Exec("BEGIN") != 0) {
        return Recognition::Damaged;
    }
    int rc = 0;
    int32_t version = 0;
    {
        SqliteStatement pragma(db.Handle(), "PRAGMA user_version");
        rc = pragma.Step();
        version = rc == SQLITE_ROW ? pragma.Int(0) : 0;
    }
    Recognition found = RecognitionOf(db, rc);
    if (rc == SQLITE_ROW) {
        found = version > StoreVersions::kSchemaVersion ? Recognition::Newer
                : version <= 0                          ? Recognition::NotOurs
                                                        : RecogniseTables(db);
    }
    db.Exec("COMMIT");
    return found;
}

int32_t FailRecognition(StoreConnection& db, Recognition found)
{
    switch (found) {
    case Recognition::Ours:
        return 0;
    case Recognition::NotOurs:
        return db.Fail(db.Sentence(L"The file ", L" is not a calendar store."));
    case Recognition::Newer:
        return db.Fail(
            db.Sentence(L"The calendar store ", L" was written by a newer version of Tamberlo."));
    case Recognition::Damaged:
        return db.Fail(db.Sentence(L"The calendar store ", L" is damaged."));
    case Recognition::Busy:
        return db.Fail(db.FailureSentence(StoreFailure::Busy));
    case Recognition::Full:
        return db.Fail(db.FailureSentence(StoreFailure::Full));
    case Recognition::Unreadable:
        break;
    }
    return db.Fail(db.Sentence(L"The calendar store ", L" cannot be opened."));
}

// A store of an older version of ours gains what the current one has, in one transaction, so
// a failed step leaves the old version whole.
int32_t BringUpToDate(StoreConnection& db)
{
    {
        SqliteStatement pragma(db.Handle(), "PRAGMA user_version");
        if (pragma.Step() != SQLITE_ROW) {
            return db.Fail(db.Sentence(L"The calendar store ", L" cannot be opened."));
        }
        db.SetVersion(pragma.Int(0));
    }
    // A reader takes an older store as it is; only a writer brings it up to date.
    if (db.Version() >= StoreVersions::kSchemaVersion || db.IsReadOnly()) {
        return 0;
    }
    const auto full = [&db] {
        return db.FailureOf(sqlite3_extended_errcode(db.Handle())) == StoreFailure::Full;
    };
    if (db.Exec("BEGIN IMMEDIATE") != 0) {
        return db.Fail(db.FailureSentence(full() ? StoreFailure::Full : StoreFailure::Busy));
    }
    if (MigrateStore(db, db.Version()) != 0 || db.Exec("COMMIT") != 0) {
        const bool noSpace = full();
        db.Exec("ROLLBACK");
        return db.Fail(
            noSpace ? db.FailureSentence(StoreFailure::Full)
                    : db.Sentence(L"The calendar store ", L" cannot be brought up to date."));
    }
    db.SetVersion(StoreVersions::kSchemaVersion);
    return 0;
}

int32_t ReadIdentity(StoreConnection& db, const std::string& path, FileIdentity& identity)
{
    identity = {};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        identity.device = st.st_dev;
        identity.inode = st.st_ino;
    }
    if (db.Version() < StoreVersions::kIdentityVersion) {
        return 0;
    }
    SqliteStatement id(db.Handle(), "SELECT id FROM store_identity LIMIT 1");
    const int rc = id.Step();
    if (rc == SQLITE_ROW) {
        identity.id = id.Text(0);
    } else if (rc != SQLITE_DONE) {
        return db.Fail(db.Sentence(L"The calendar store ", L" cannot be opened."));
    }
    return 0;
}

int32_t OpenExisting(StoreConnection& db, const std::string& path, OpenAccess access,
                     FileIdentity& identity)
{
    if (CutShort(path)) {
        return db.Fail(db.Sentence(L"The calendar store ", L" is damaged."));
    }
    const std::wstring cannotWrite = CannotWriteReason(db, path);
    db.SetReadOnly(access == OpenAccess::ReadOnly || !cannotWrite.empty());
    if (!db.OpenFile(path, db.IsReadOnly())) {
        return db.Fail(db.Sentence(L"The calendar store ", L" cannot be opened."));
    }
    if (FailRecognition(db, Recognise(db)) != 0 || BringUpToDate(db) != 0 ||
        ReadIdentity(db, path, identity) != 0) {
        return -1;
    }
    // The journal mode the file has is kept: opening writes nothing but a migration.
    if ((!db.IsReadOnly() && db.Exec("PRAGMA synchronous = FULL") != 0) ||
        db.Exec(kReadTuning) != 0) {
        return db.Fail(db.Sentence(L"The calendar store ", L" cannot be opened."));
    }
    db.SetLastError(cannotWrite);
    return 0;
}

// Built under a draft name and then published: a file that appeared meanwhile is never
// replaced.
int32_t Create(StoreConnection& db, const std::string& path, FileIdentity& identity)
{
    const QFileInfo info(QString::fromStdString(path));
    if (!QDir().mkpath(info.absolutePath())) {
        return db.Fail(db.Sentence(L"The folder of the calendar store ", L" cannot be created."));
    }
    QTemporaryFile draft(info.absoluteFilePath() + ".draft-XXXXXX");
    bool built = draft.open(); // the draft has its name from here on
    const std::string draftPath = QFile::encodeName(draft.fileName()).toStdString();
    built = built && db.OpenFile(draftPath, false);
    built = built && db.Exec("BEGIN IMMEDIATE") == 0 && db.Exec(SchemaSql().c_str()) == 0 &&
            db.Exec("COMMIT") == 0;
    if (built) {
        SqliteStatement wal(db.Handle(), "PRAGMA journal_mode = WAL");
        built = wal.Step() == SQLITE_ROW && wal.Text(0) == L"wal";
    }
    const bool full =
        !built &&
        (errno == ENOSPC || (db.IsOpen() && db.FailureOf(sqlite3_extended_errcode(db.Handle())) ==
                                                StoreFailure::Full));
    db.Close();
    const bool published = built && PublishDraft(draftPath.c_str(), path.c_str());
    if (!published && !(built && errno == EEXIST)) {
        return db.Fail(full || errno == ENOSPC
                           ? db.FailureSentence(StoreFailure::Full)
                           : db.Sentence(L"The calendar store ", L" cannot be created."));
    }
    return OpenExisting(db, path, OpenAccess::ReadWrite, identity);
}

} // namespace

int32_t OpenStore(StoreConnection& db, const std::string& path, OpenAccess access,
                  FileIdentity& identity)
{
    db.Close();
    db.SetLastError({});
    db.SetReadOnly(false);
    const QFileInfo info(QString::fromStdString(path));
    db.SetPath(info.filePath().toStdWString());
    if (path.empty() || (info.exists() && !info.isFile())) {
        return db.Fail(db.Sentence(L"The calendar store ", L" is not a file."));
    }
    if (!info.exists()) {
        return access == OpenAccess::ReadOnly
                   ? db.Fail(db.Sentence(L"There is no calendar store at ", L"."))
                   : Create(db, path, identity);
    }
    return OpenExisting(db, path, access, identity);
}

} // namespace pim
