// How the tables beside the items (the sync ledger, the calendars) reach the store's file: a
// query that leaves no statement open, and writes that are one short transaction of their own or
// a savepoint inside a batch of saves.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pim {

class SqliteStatement;
class StoreConnection;

class StoreAccess {
public:
    // Over an open store; every call fails on a store older than `firstVersion` (one opened
    // read-only without the tables).
    StoreAccess(StoreConnection& db, int32_t firstVersion);

    bool Ready() const;
    // Runs one statement over its rows; the statement is reset at the end.
    int32_t Query(const std::string& sql, const std::function<void(SqliteStatement&)>& bind,
                  const std::function<void(const SqliteStatement&)>& row);
    // One write transaction (a savepoint inside a batch); a refusal keeps its own status.
    int32_t Write(const std::function<int32_t()>& work);
    // One statement of a Write.
    int32_t Change(const std::string& sql, const std::function<void(SqliteStatement&)>& bind);
    int64_t LastInsertId() const;

private:
    StoreConnection& db_;
    int32_t firstVersion_;
};

inline const auto kNoBinding = [](SqliteStatement&) {};

} // namespace pim
