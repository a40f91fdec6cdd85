// The editors' shared field checks.
#include "editors/field_rules.h"

#include <algorithm>
#include <cstdio>

#include "res/string_table.h"

namespace {

bool IsControl(wchar_t c)
{
    return c < 0x20 || c == 0x7F;
}

Verdict CheckText(const std::wstring& text, int controlId, std::size_t maxLength,
                  bool (*refused)(wchar_t))
{
    if (text.size() > maxLength)
        return Refusal{controlId, res::IDS_TEXT_TOO_LONG};
    if (std::any_of(text.begin(), text.end(), refused))
        return Refusal{controlId, res::IDS_CONTROL_CHARACTERS};
    return std::nullopt;
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

} // namespace

Verdict CheckLineText(const std::wstring& text, int controlId)
{
    return CheckText(text, controlId, kMaxLineLength, IsControl);
}

Verdict CheckMemoText(const std::wstring& text, int controlId)
{
    return CheckText(text, controlId, kMaxMemoLength, [](wchar_t c) {
        return IsControl(c) && c != L'\t' && c != L'\r' && c != L'\n';
    });
}

std::optional<int> TimeTextMinutes(const std::wstring& text, bool allowEndOfDay)
{
    if (text.size() != 5 || text[2] != L':' || !IsDigit(text[0]) || !IsDigit(text[1]) ||
        !IsDigit(text[3]) || !IsDigit(text[4]))
        return std::nullopt;
    const int hour = (text[0] - L'0') * 10 + (text[1] - L'0');
    const int minute = (text[3] - L'0') * 10 + (text[4] - L'0');
    const int minutes = hour * 60 + minute;
    if (minute > 59 || minutes > (allowEndOfDay ? 24 * 60 : 24 * 60 - 1))
        return std::nullopt;
    return minutes;
}

std::wstring TimeText(int hour, int minute)
{
    wchar_t buffer[8];
    std::swprintf(buffer, 8, L"%.2d:%.2d", hour, minute);
    return buffer;
}
