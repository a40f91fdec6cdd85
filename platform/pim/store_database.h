// The SQLite file behind the store: opening it without ever damaging a file it cannot use,
// the versioned schema, bulk loads and whole-item saves in one transaction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"

struct sqlite3;

namespace pim {

class StoreDatabase {
public:
    static constexpr int kSchemaVersion = 1;

    StoreDatabase() = default;
    ~StoreDatabase();
    StoreDatabase(const StoreDatabase&) = delete;
    StoreDatabase& operator=(const StoreDatabase&) = delete;

    // Creates a missing file; a file that is not ours, newer, read-only or locked fails with a
    // negative status and a message, and is left exactly as it was.
    int32_t Open(const std::string& path);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    const std::wstring& LastError() const { return lastError_; }
    // The program's rule for which days a pattern has occurrences on.
    void SetOccurrenceRule(OccurrenceRule rule) { rule_ = std::move(rule); }
    const OccurrenceRule& Rule() const { return rule_; }

    // Every item of a kind with its pattern and exceptions, ascending Oid, in three queries.
    int32_t LoadAll(int32_t kind, std::vector<StoredItem>& out);
    // Inserts (Oid 0: assigns a new one) or replaces the whole item; all or nothing.
    int32_t Save(StoredItem& item);
    int32_t Delete(int32_t oid);

private:
    int32_t Fail(const std::wstring& what);
    int32_t CheckUsable();
    int32_t Exec(const char* sql);

    sqlite3* db_ = nullptr;
    std::wstring lastError_;
    OccurrenceRule rule_;
};

}  // namespace pim
