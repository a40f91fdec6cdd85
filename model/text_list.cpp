// The list operations on strings. A position that names no element never reaches into the text:
// replace, delete and get leave the list alone or give empty text, so a stale index cannot
// duplicate or cut elements.
#include "model/text_list.h"

#include <algorithm>
#include <vector>

namespace {

constexpr auto npos = std::wstring::npos;

// Index of the n-th separator (n from 1), or npos when the list holds fewer.
std::size_t NthSeparator(const std::wstring& list, int n)
{
    std::size_t found = npos;
    for (int i = 0; i < n; ++i) {
        found = list.find(FieldSeparator(), found == npos ? 0 : found + 1);
        if (found == npos) {
            return npos;
        }
    }
    return found;
}

// The span [begin, end) of delimited element `position`, end being its separator; false when
// the list has no terminated element there.
bool ElementSpan(const std::wstring& list, int position, std::size_t& begin, std::size_t& end)
{
    if (position < 0) {
        return false;
    }
    begin = 0;
    if (position > 0) {
        const std::size_t before = NthSeparator(list, position);
        if (before == npos) {
            return false;
        }
        begin = before + 1;
    }
    end = list.find(FieldSeparator(), begin);
    return end != npos;
}

// Start of fixed-width element `position` in 64 bits, so large positions cannot overflow;
// false for a negative position or a width that holds nothing.
bool FixedStart(int position, int width, std::size_t& start)
{
    if (position < 0 || width <= 0) {
        return false;
    }
    start = static_cast<std::size_t>(position) * static_cast<std::size_t>(width);
    return true;
}

std::wstring TrimSpaces(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// Every piece between separators, the text after the last one included. A backslash before
// the separator keeps it inside the piece, and two backslashes stand for one.
std::vector<std::wstring> SplitAll(const std::wstring& text, const std::wstring& separator)
{
    std::vector<std::wstring> pieces(1);
    if (separator.empty()) {
        pieces.back() = text;
        return pieces;
    }
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, separator.size(), separator) == 0) {
            pieces.emplace_back();
            i += separator.size();
        } else if (text[i] == L'\\' && text.compare(i + 1, separator.size(), separator) == 0) {
            pieces.back() += separator;
            i += 1 + separator.size();
        } else {
            const bool pair = text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'\\';
            pieces.back() += text[i];
            i += pair ? 2 : 1;
        }
    }
    return pieces;
}

} // namespace

const std::wstring& FieldSeparator()
{
    static const std::wstring separator(1, L'\x1F');
    return separator;
}

std::wstring InsertDelimited(const std::wstring& list, const std::wstring& value, int position)
{
    if (position < 0) {
        return list;
    }
    const std::wstring element = value + FieldSeparator();
    if (position == 0) {
        return element + list;
    }
    const std::size_t before = NthSeparator(list, position);
    if (before == npos || before + 1 == list.size()) {
        return list + element;
    }
    return list.substr(0, before + 1) + element + list.substr(before + 1);
}

std::wstring ReplaceDelimited(const std::wstring& list, const std::wstring& value, int position)
{
    std::size_t begin = 0;
    std::size_t end = 0;
    if (!ElementSpan(list, position, begin, end)) {
        return list;
    }
    return list.substr(0, begin) + value + list.substr(end);
}

std::wstring DeleteDelimited(const std::wstring& list, int position)
{
    std::size_t begin = 0;
    std::size_t end = 0;
    if (!ElementSpan(list, position, begin, end)) {
        return list;
    }
    return list.substr(0, begin) + list.substr(end + 1);
}

std::wstring GetField(const std::wstring& list, int position, const std::wstring& separator)
{
    if (list.empty() || separator.empty() || position < 0) {
        return {};
    }
    std::size_t begin = 0;
    std::size_t found = list.find(separator);
    for (int i = 0; i < position && found != npos; ++i) {
        begin = found + separator.size();
        found = list.find(separator, begin);
    }
    return found == npos ? std::wstring() : list.substr(begin, found - begin);
}

std::wstring GetDelimited(const std::wstring& list, int position)
{
    return GetField(list, position, FieldSeparator());
}

std::wstring InsertFixed(const std::wstring& list, const std::wstring& value, int position,
                         int width)
{
    std::size_t start = 0;
    if (!FixedStart(position, width, start)) {
        return list;
    }
    if (list.size() <= start) {
        return list + value;
    }
    return list.substr(0, start) + value + list.substr(start);
}

std::wstring ReplaceFixed(const std::wstring& list, const std::wstring& value, int position,
                          int width)
{
    std::size_t start = 0;
    if (!FixedStart(position, width, start) || list.size() < start) {
        return list;
    }
    const std::size_t end = start + static_cast<std::size_t>(width);
    return list.substr(0, start) + value + (end < list.size() ? list.substr(end) : L"");
}

std::wstring DeleteFixed(const std::wstring& list, int position, int width)
{
    std::size_t start = 0;
    if (!FixedStart(position, width, start) || list.size() < start) {
        return list;
    }
    std::wstring result = list;
    result.erase(start, static_cast<std::size_t>(width));
    return result;
}

bool ListContains(const std::wstring& word, const std::wstring& list, const std::wstring& separator,
                  bool trim)
{
    if (word.empty() || list.empty()) {
        return false;
    }
    const std::wstring wanted = trim ? TrimSpaces(word) : word;
    const std::vector<std::wstring> elements = SplitAll(list, separator);
    return std::any_of(elements.begin(), elements.end(), [&](const std::wstring& element) {
        return (trim ? TrimSpaces(element) : element) == wanted;
    });
}

bool ListMatches(const std::wstring& words, const std::wstring& list, const std::wstring& separator,
                 bool trim, bool requireAll)
{
    if (words.empty() || list.empty()) {
        return false;
    }
    const std::vector<std::wstring> wanted = SplitAll(words, separator);
    const auto found = [&](const std::wstring& word) {
        return ListContains(word, list, separator, trim);
    };
    return requireAll ? std::all_of(wanted.begin(), wanted.end(), found)
                      : std::any_of(wanted.begin(), wanted.end(), found);
}

std::vector<std::wstring> SplitCommaList(const std::wstring& list)
{
    return SplitAll(list, L",");
}

std::wstring CommaListName(const std::wstring& name)
{
    std::wstring escaped;
    for (std::size_t i = 0; i < name.size(); ++i) {
        // A backslash is doubled only where a single one would be read as an escape.
        const bool ambiguous = i + 1 == name.size() || name[i + 1] == L'\\' || name[i + 1] == L',';
        if (name[i] == L',' || (name[i] == L'\\' && ambiguous)) {
            escaped += L'\\';
        }
        escaped += name[i];
    }
    return escaped;
}

std::wstring FlagText(int flag)
{
    return flag != 0 ? L"1" : L"0";
}

uint32_t ScaleColor(uint32_t color, int percent)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t channel = (color >> shift) & 0xFF;
        const int64_t scaled = std::clamp<int64_t>(channel * percent / 100, 0, 255);
        result |= static_cast<uint32_t>(scaled) << shift;
    }
    return result;
}
