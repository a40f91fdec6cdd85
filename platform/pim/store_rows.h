// The row codec of the store: how an item's fields and pattern are bound into the columns of
// kItemColumns and kPatternColumns, and read back from the narrower columns a load asks for.
#pragma once

#include <cstdint>
#include <string>

#include "platform/pim/item_fields.h"
#include "platform/pim/sqlite_statement.h"

namespace pim {

// Binds every field in the order of kItemColumns.
SqliteStatement& BindFields(SqliteStatement& s, const ItemFields& f);
// Binds the pattern in the order of kPatternColumns.
SqliteStatement& BindPattern(SqliteStatement& s, const RecurrenceFields& p);

// The columns a load of a kind reads: decoding columns is most of a load's cost.
std::string LoadedColumns(int32_t kind);
// A stored date held to what DATE arithmetic takes (NaN as day 0).
DATE StoredDate(const SqliteStatement& s, int column);
// Reads the columns of LoadedColumns(kind) from `column` on; the other kind's fields keep
// their defaults.
ItemFields ReadFields(const SqliteStatement& s, int column, int32_t kind);
// Reads the columns of kPatternColumns from `column` on.
RecurrenceFields ReadPattern(const SqliteStatement& s, int column);
// "a, b" qualified as "t.a, t.b", for columns that items and exceptions share.
std::string Qualified(const std::string& columns, const std::string& table);

} // namespace pim
