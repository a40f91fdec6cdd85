// Reads reset their statement so no read transaction outlives the call; writes nest as the
// store's own saves do.
#include "platform/pim/store_access.h"

#include <sqlite3.h>

#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_connection.h"

namespace pim {

StoreAccess::StoreAccess(StoreConnection& db, int32_t firstVersion)
    : db_(db), firstVersion_(firstVersion)
{
}

bool StoreAccess::Ready() const
{
    return db_.IsOpen() && db_.Version() >= firstVersion_;
}

int32_t StoreAccess::Query(const std::string& sql,
                           const std::function<void(SqliteStatement&)>& bind,
                           const std::function<void(const SqliteStatement&)>& row)
{
    if (!Ready()) {
        return -1;
    }
    SqliteStatement& s = db_.Statement(sql);
    bind(s);
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        row(s);
    }
    s.Reset();
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreAccess::Write(const std::function<int32_t()>& work)
{
    if (!Ready()) {
        return -1;
    }
    const bool outermost = !db_.InTransaction();
    if (db_.BeginWrite(outermost) != 0) {
        return -1;
    }
    const int32_t status = work();
    const int32_t ended = db_.EndWrite(outermost, status);
    return status < 0 ? status : ended;
}

int32_t StoreAccess::Change(const std::string& sql,
                            const std::function<void(SqliteStatement&)>& bind)
{
    db_.NoteSideWrite();
    SqliteStatement& s = db_.Statement(sql);
    bind(s);
    return s.Step() == SQLITE_DONE ? 0 : -1;
}

int64_t StoreAccess::LastInsertId() const
{
    return db_.LastInsertId();
}

} // namespace pim
