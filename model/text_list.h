// Lists kept inside one string: delimited lists (every element followed by U+001F), fixed-width
// lists and comma lists, plus two small shared helpers. The day tables, edit lists and holiday
// rules all use these; every operation returns a new string and leaves its arguments alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The one-character field separator U+001F that ends every element of a delimited list.
const std::wstring& FieldSeparator();

// Delimited lists. Positions count from 0; a position with no element leaves the list as it is
// (replace, delete) or gives empty text (get), and an insertion past the end appends.
std::wstring InsertDelimited(const std::wstring& list, const std::wstring& value, int position);
std::wstring ReplaceDelimited(const std::wstring& list, const std::wstring& value, int position);
std::wstring DeleteDelimited(const std::wstring& list, int position);
std::wstring GetDelimited(const std::wstring& list, int position);

// Element `position` of a list whose elements each end with `separator`; text after the last
// separator is never returned.
std::wstring GetField(const std::wstring& list, int position, const std::wstring& separator);

// Fixed-width lists: element i occupies characters i * width to (i + 1) * width - 1. Values are
// stored as given, so callers format them to the width first.
std::wstring InsertFixed(const std::wstring& list, const std::wstring& value, int position,
                         int width);
std::wstring ReplaceFixed(const std::wstring& list, const std::wstring& value, int position,
                          int width);
std::wstring DeleteFixed(const std::wstring& list, int position, int width);

// True when `word` equals one element of `list` (elements between separators, the text after
// the last separator included; "\" before a separator keeps it in the element, "\\" is one
// backslash). With `trim`, spaces around the word and the elements are ignored.
bool ListContains(const std::wstring& word, const std::wstring& list, const std::wstring& separator,
                  bool trim);

// Tests every element of `words` with ListContains: true when any is found, or with
// `requireAll` only when all are.
bool ListMatches(const std::wstring& words, const std::wstring& list, const std::wstring& separator,
                 bool trim, bool requireAll);

// Comma lists of names that may hold commas themselves (categories): "\," is a comma inside a
// name, "\\" a backslash where one alone would be read as such an escape; any other backslash
// is itself. SplitCommaList gives every name, empty ones included; CommaListName escapes one.
std::vector<std::wstring> SplitCommaList(const std::wstring& list);
std::wstring CommaListName(const std::wstring& name);

// "1" for a non-zero flag, else "0".
std::wstring FlagText(int flag);

// Each channel of a 0x00BBGGRR colour scaled to `percent`, truncated and kept within 0..255.
uint32_t ScaleColor(uint32_t color, int percent);
