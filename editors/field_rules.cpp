// The editors' shared field checks.
#include "editors/field_rules.h"

#include <algorithm>
#include <cstdio>

#include "res/string_table.h"

namespace {

bool IsUnstorable(wchar_t c)
{
    return c == L'\0' || c == L'\x1F';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

} // namespace

Verdict TakeText(const std::wstring& shown, std::wstring& field, TextKind kind, int controlId)
{
    if (shown == field) {
        return std::nullopt;
    }
    const std::size_t limit = kind == TextKind::kLine ? kMaxLineLength : kMaxMemoLength;
    if (shown.size() > std::max(limit, field.size())) {
        return Refusal{controlId, res::IDS_TEXT_TOO_LONG};
    }
    if (std::any_of(shown.begin(), shown.end(), IsUnstorable)) {
        return Refusal{controlId, res::IDS_CONTROL_CHARACTERS};
    }
    field = shown;
    if (kind == TextKind::kLine) {
        std::replace(field.begin(), field.end(), L'\t', L' ');
    }
    return std::nullopt;
}

std::optional<int> TimeTextMinutes(const std::wstring& text, bool allowEndOfDay)
{
    if (text.size() != 5 || text[2] != L':' || !IsDigit(text[0]) || !IsDigit(text[1]) ||
        !IsDigit(text[3]) || !IsDigit(text[4])) {
        return std::nullopt;
    }
    const int hour = (text[0] - L'0') * 10 + (text[1] - L'0');
    const int minute = (text[3] - L'0') * 10 + (text[4] - L'0');
    const int minutes = hour * 60 + minute;
    if (minute > 59 || minutes > (allowEndOfDay ? 24 * 60 : 24 * 60 - 1)) {
        return std::nullopt;
    }
    return minutes;
}

Verdict CheckTimeText(const std::wstring& text, bool endOfDay, int controlId)
{
    if (TimeTextMinutes(text, endOfDay)) {
        return std::nullopt;
    }
    return Refusal{controlId, endOfDay ? res::IDS_BAD_TIME_TEXT : res::IDS_BAD_START_TIME_TEXT};
}

std::wstring TimeText(int hour, int minute)
{
    wchar_t buffer[8];
    std::swprintf(buffer, 8, L"%.2d:%.2d", hour, minute);
    return buffer;
}
