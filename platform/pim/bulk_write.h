// What a batch of saves in one transaction leaves until its end. The full-text index writes out
// what it holds pending at every statement of a transaction it takes part in, so Find rows
// written save by save cost most of a large import or first pull: they are built in two
// statements at the end. A batch that writes as many items as the store held drops the
// store's indexes on the first thousand and builds them again at the end, which sorts once
// instead of inserting into each index item by item.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace pim {

class BulkWrite {
public:
    explicit BulkWrite(sqlite3* db) : db_(db) {}

    // An item written inside the batch.
    void Written(int32_t oid);
    // An item whose Find row goes or changes without a write (a deletion).
    void Note(int32_t oid) { oids_.push_back(oid); }
    // Replaces the Find rows of every noted item by `insertFindRows`, an INSERT that reads the
    // ids from temp.batch_written, and builds any dropped index again. Runs inside the batch's
    // transaction; a failure leaves it to be rolled back.
    int32_t Finish(const std::string& insertFindRows);

private:
    void DropIndexes();
    int32_t BuildFindRows(const std::string& insertFindRows);

    sqlite3* db_;
    std::vector<int32_t> oids_;
    int32_t written_ = 0;
    bool indexesChecked_ = false;
    // The names of the indexes dropped and the statements that make them again.
    std::vector<std::pair<std::string, std::string>> droppedIndexes_;
};

} // namespace pim
