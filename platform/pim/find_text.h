// The text Find compares: the same folding for what the store indexes and what the user types,
// so "É" finds "e", "ß" finds "ss" and case never matters.
#pragma once

#include <string>

struct sqlite3;

namespace pim {

// Lower case, accents dropped (by canonical decomposition), ß as "ss".
std::wstring FoldForFind(const std::wstring& text);

// Gives the connection find_fold(subject, location, categories, body): the folded fields, one
// a line, as the store's find index holds them. Negative when SQLite refused it.
int RegisterFindFold(sqlite3* db);

} // namespace pim
