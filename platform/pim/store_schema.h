// The store's schema as SQL: what a new store is made of, each step from an older version to the
// next, and the column lists the reads and writes of StoreDatabase share with them.
#pragma once

#include <cstdint>
#include <string>

namespace pim {

// Shared by items and exceptions, in the order of ItemFields.
extern const std::string kItemColumns;
extern const std::string kItemPlaceholders;
extern const std::string kPatternColumns;
// What Find's index holds for the joined items row `i`, and the part of it from its changed
// occurrences.
extern const std::string kFoldedText;
extern const std::string kFoldedExceptionTexts;
// The expressions the range indexes are built on, which range loads must spell the same.
extern const std::string kSpanLength;
extern const std::string kSeriesReach;
extern const std::string kSeriesLength;

// A complete empty store of the current version.
std::string SchemaSql();
// The step from `fromVersion` (1 or later, before the current one) to the next. The steps that
// add columns to items leave them to the caller, which knows whether they exist.
const std::string& MigrationSql(int32_t fromVersion);

} // namespace pim
