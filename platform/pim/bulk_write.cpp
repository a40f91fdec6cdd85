// The indexes dropped are read from the schema itself, so an index added later comes back as it
// was; unique ones stay, as they guard what the batch writes.
#include "platform/pim/bulk_write.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/pim/sqlite_statement.h"

namespace pim {
namespace {

// Below this many items a batch keeps the indexes: building them again would cost more.
constexpr int32_t kBulkItems = 1000;

bool Run(sqlite3* db, const std::string& sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

void BulkWrite::Written(int32_t oid)
{
    oids_.push_back(oid);
    if (++written_ == kBulkItems && !indexesChecked_) {
        indexesChecked_ = true;
        DropIndexes();
    }
}

// Only when the batch has written at least half of the items there now are: building the
// indexes of a much larger store again would cost more than the batch saves.
void BulkWrite::DropIndexes()
{
    std::vector<std::pair<std::string, std::string>> indexes;
    {
        SqliteStatement count(db_, "SELECT count(*) FROM items");
        if (count.Step() != SQLITE_ROW || int64_t{written_} * 2 < count.Int64(0)) {
            return;
        }
        SqliteStatement list(db_, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                  "sql IS NOT NULL AND tbl_name IN ('items', 'patterns', "
                                  "'exceptions') AND sql NOT LIKE 'CREATE UNIQUE%'");
        while (list.Step() == SQLITE_ROW) {
            indexes.emplace_back(list.Utf8Text(0), list.Utf8Text(1));
        }
    }
    for (const auto& [name, sql] : indexes) {
        // A drop that fails (a read still open on this connection) leaves that index kept.
        if (Run(db_, "DROP INDEX \"" + name + "\"")) {
            droppedIndexes_.emplace_back(name, sql);
        }
    }
}

int32_t BulkWrite::Finish(const std::string& insertFindRows)
{
    // An item's savepoint rolled back since may have brought an index back already.
    SqliteStatement exists(db_, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?");
    for (const auto& [name, sql] : droppedIndexes_) {
        exists.Reset();
        const int found = exists.Bind(name).Step();
        if (found != SQLITE_ROW && (found != SQLITE_DONE || !Run(db_, sql))) {
            return -1;
        }
    }
    droppedIndexes_.clear();
    return BuildFindRows(insertFindRows);
}

// The noted ids go into a temporary table, so the index takes part in two statements only.
int32_t BulkWrite::BuildFindRows(const std::string& insertFindRows)
{
    if (oids_.empty()) {
        return 0;
    }
    std::sort(oids_.begin(), oids_.end());
    oids_.erase(std::unique(oids_.begin(), oids_.end()), oids_.end());
    if (!Run(db_, "CREATE TEMP TABLE IF NOT EXISTS batch_written (oid INTEGER PRIMARY KEY);"
                  "DELETE FROM temp.batch_written")) {
        return -1;
    }
    {
        SqliteStatement note(db_, "INSERT INTO temp.batch_written (oid) VALUES (?)");
        for (const int32_t oid : oids_) {
            note.Reset();
            if (note.Bind(oid).Step() != SQLITE_DONE) {
                return -1;
            }
        }
    }
    const bool built =
        Run(db_, "DELETE FROM find_text WHERE rowid IN (SELECT oid FROM temp.batch_written)") &&
        Run(db_, insertFindRows) && Run(db_, "DELETE FROM temp.batch_written");
    oids_.clear();
    return built ? 0 : -1;
}

} // namespace pim
