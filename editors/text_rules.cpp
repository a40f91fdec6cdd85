// Checks applied before anything typed reaches an item.
#include "editors/text_rules.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "platform/systemtime.h"
#include "res/string_table.h"

namespace {

bool IsControl(wchar_t c, bool multiLine)
{
    if (multiLine && (c == L'\t' || c == L'\r' || c == L'\n'))
        return false;
    return (c < 0x20) || (c >= 0x7f && c < 0xa0);
}

int TextProblem(const std::wstring& text, std::size_t limit, bool multiLine)
{
    if (text.size() > limit)
        return res::IDS_TEXT_TOO_LONG;
    const bool control =
        std::any_of(text.begin(), text.end(), [&](wchar_t c) { return IsControl(c, multiLine); });
    return control ? res::IDS_CONTROL_CHARACTERS : 0;
}

}  // namespace

int LineTextProblem(const std::wstring& text)
{
    return TextProblem(text, kMaxLineTextLength, false);
}

int MemoTextProblem(const std::wstring& text)
{
    return TextProblem(text, kMaxMemoLength, true);
}

bool IsTimeText(const std::wstring& text)
{
    if (text.size() != 5 || text[2] != L':')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u})
        if (!std::iswdigit(text[i]))
            return false;
    const int hour = (text[0] - L'0') * 10 + (text[1] - L'0');
    const int minute = (text[3] - L'0') * 10 + (text[4] - L'0');
    return minute < 60 && hour * 60 + minute <= 24 * 60;
}

int TimeTextMinutes(const std::wstring& text)
{
    return ((text[0] - L'0') * 10 + (text[1] - L'0')) * 60 + (text[3] - L'0') * 10 +
           (text[4] - L'0');
}

std::wstring TimeTextOf(double date)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(date);
    wchar_t text[8];
    std::swprintf(text, 8, L"%.2d:%.2d", st.wHour, st.wMinute);
    return text;
}
