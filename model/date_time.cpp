// Calendar arithmetic on SYSTEMTIME and DATE. Day stepping works on whole day numbers plus
// seconds of the day, so it stays exact on both sides of the day-count epoch, and every result
// is kept inside four-digit years so keys keep their width and 16-bit fields never wrap.
#include "model/date_time.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "res/string_table.h"

namespace {

constexpr int kFirstSupportedYear = 1900;
constexpr int kFirstUnsupportedYear = 3000;
constexpr int kLastFourDigitYear = 9999;
constexpr int64_t kSecondsPerDay = 86400;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The date of a day number with the given seconds added; seconds may exceed one day.
SYSTEMTIME FromDayAndSeconds(int64_t day, int64_t seconds)
{
    day += seconds / kSecondsPerDay;
    seconds %= kSecondsPerDay;
    if (day > kLastKeyDayNumber) {
        day = kLastKeyDayNumber;
        seconds = kSecondsPerDay - 1;
    }
    day = std::max(day, kFirstKeyDayNumber);
    SYSTEMTIME st = VariantTimeToSystemTime(static_cast<double>(day));
    st.wHour = static_cast<uint16_t>(seconds / 3600);
    st.wMinute = static_cast<uint16_t>(seconds / 60 % 60);
    st.wSecond = static_cast<uint16_t>(seconds % 60);
    return st;
}

std::wstring FormatDigits(const wchar_t* format, const SYSTEMTIME& st)
{
    wchar_t buffer[32];
    std::swprintf(buffer, std::size(buffer), format, st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    return buffer;
}

bool StartsWithDigits(const std::wstring& text, size_t count)
{
    return text.size() >= count &&
           std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(count),
                       [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

int FieldAt(const std::wstring& key, size_t position, size_t width)
{
    return TextToInt(key.substr(position, width));
}

} // namespace

int64_t DayNumber(DATE date)
{
    return SplitDate(date).day;
}

int64_t DayNumber(const SYSTEMTIME& st)
{
    SYSTEMTIME date = st;
    date.wHour = date.wMinute = date.wSecond = 0;
    return DayNumber(SystemTimeToVariantTime(date));
}

int DayOfWeek(int year, int month, int day)
{
    if (month == 1 || month == 2) {
        year -= 1;
        month += 12;
    }
    const int value = year + year / 4 - year / 100 + year / 400 + (13 * month + 8) / 5 + day;
    return (value % 7 + 7) % 7;
}

int DaysInMonth(int year, int month)
{
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

bool IsValidMonthDay(int month, int day)
{
    // A leap year, so that a date without a year may be 29 February.
    constexpr int kAnyLeapYear = 2004;
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(kAnyLeapYear, month);
}

int TextToInt(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (std::iswspace(static_cast<wint_t>(text[i])) != 0)) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - L'0'), int64_t{INT_MAX} + 1);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

void ParseTimeText(const std::wstring& text, SYSTEMTIME& st)
{
    if (text.size() != 4 && text.size() != 5) {
        return;
    }
    const int hour = TextToInt(text.substr(0, 2));
    const int minute = TextToInt(text.substr(text.size() == 4 ? 2 : 3));
    // "24:00" is the end of the day; anything past it, or negative, would wrap the fields.
    if (hour < 0 || minute < 0 || minute > 59 || hour * 60 + minute > 24 * 60) {
        return;
    }
    st.wHour = static_cast<uint16_t>(hour);
    st.wMinute = static_cast<uint16_t>(minute);
}

int ClampYear(SYSTEMTIME& st)
{
    if (st.wYear < kFirstSupportedYear) {
        st.wYear = kFirstSupportedYear;
        st.wMonth = 1;
        st.wDay = 1;
        st.wDayOfWeek = static_cast<uint16_t>(DayOfWeek(kFirstSupportedYear, 1, 1));
        return -1;
    }
    return st.wYear >= kFirstUnsupportedYear ? 1 : 0;
}

int DaysBetween(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return static_cast<int>(DayNumber(b) - DayNumber(a));
}

SYSTEMTIME TruncateSystemTime(const SYSTEMTIME& st, int level)
{
    SYSTEMTIME result = st;
    if (level >= 0) {
        result.wMilliseconds = 0;
    }
    if (level >= 1) {
        result.wSecond = 0;
    }
    if (level >= 2) {
        result.wMinute = 0;
    }
    if (level >= 3) {
        result.wHour = 0;
    }
    if (level >= 4) {
        result.wDay = 1;
    }
    if (level >= 5) {
        result.wMonth = 1;
    }
    result.wDayOfWeek = static_cast<uint16_t>(DayOfWeek(result.wYear, result.wMonth, result.wDay));
    return result;
}

SYSTEMTIME AddDays(const SYSTEMTIME& st, int days)
{
    const int64_t seconds = int64_t{st.wHour} * 3600 + int64_t{st.wMinute} * 60 + st.wSecond;
    SYSTEMTIME result = FromDayAndSeconds(DayNumber(st) + days, seconds);
    ClampYear(result);
    return result;
}

int64_t SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    const DayAndSeconds from = SplitDate(SystemTimeToVariantTime(a));
    const DayAndSeconds to = SplitDate(SystemTimeToVariantTime(b));
    return (to.day - from.day) * kSecondsPerDay + to.seconds - from.seconds;
}

DATE AddSeconds(DATE date, int64_t seconds)
{
    const DayAndSeconds split = SplitDate(date);
    return JoinDate(split.day, split.seconds + seconds);
}

SYSTEMTIME AddMonths(const SYSTEMTIME& st, int months)
{
    const int64_t t = int64_t{st.wYear} * 12 + st.wMonth + months;
    // Floor division, so that stepping below year 0 still gives a month of 1..12.
    const int64_t year = (t - 1 >= 0) ? (t - 1) / 12 : -((12 - t) / 12);
    const int64_t month = t - 12 * year;
    SYSTEMTIME result = st;
    result.wYear = static_cast<uint16_t>(std::clamp<int64_t>(year, 0, kLastFourDigitYear));
    result.wMonth = static_cast<uint16_t>(month);
    result.wDay =
        static_cast<uint16_t>(std::min<int>(st.wDay, DaysInMonth(result.wYear, result.wMonth)));
    result.wDayOfWeek = static_cast<uint16_t>(DayOfWeek(result.wYear, result.wMonth, result.wDay));
    ClampYear(result);
    return result;
}

bool IsEarlier(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    const auto dateValue = [](const SYSTEMTIME& st) {
        return (int64_t{st.wYear} * 100 + st.wMonth) * 100 + st.wDay;
    };
    const auto timeValue = [](const SYSTEMTIME& st) {
        return (int64_t{st.wHour} * 100 + st.wMinute) * 100 + st.wSecond;
    };
    if (dateValue(a) != dateValue(b)) {
        return dateValue(a) < dateValue(b);
    }
    if (timeValue(a) != timeValue(b)) {
        return timeValue(a) < timeValue(b);
    }
    return a.wMilliseconds < b.wMilliseconds;
}

std::wstring WeekdayName(int weekday, bool shortForm)
{
    if (weekday < 0 || weekday > 6) {
        return {};
    }
    return res::LoadString((shortForm ? res::IDS_WEEKDAY_SHORT_FIRST : res::IDS_WEEKDAY_FIRST) +
                           weekday);
}

std::wstring MonthName(int month)
{
    if (month < 1 || month > 12) {
        return {};
    }
    return res::LoadString(res::IDS_MONTH_BASE + month);
}

int WeekdayFromMask(int mask)
{
    for (int weekday = 0; weekday <= 6; ++weekday) {
        if ((mask & (1 << weekday)) != 0) {
            return weekday;
        }
    }
    return -1;
}

std::wstring DayText(const SYSTEMTIME& st)
{
    return FormatDigits(L"%.4d/%.2d/%.2d", st);
}

std::wstring DayText(DATE date)
{
    return DayText(VariantTimeToSystemTime(date));
}

std::wstring ClockText(const SYSTEMTIME& st)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%.2d:%.2d", st.wHour, st.wMinute);
    return text;
}

std::wstring ClockText(DATE date)
{
    return ClockText(VariantTimeToSystemTime(date));
}

std::wstring DateToKey(DATE date, int mode)
{
    if (mode != kTimeStampKey && mode != kDayKey) {
        return {};
    }
    // Out-of-range or non-finite dates are pinned so the key keeps its fixed width.
    const double earliest = static_cast<double>(kFirstKeyDayNumber);
    const double latest =
        static_cast<double>(kLastKeyDayNumber) + (kSecondsPerDay - 1.0) / kSecondsPerDay;
    const DATE pinned = std::isfinite(date) ? std::clamp(date, earliest, latest) : 0.0;
    const SYSTEMTIME st = VariantTimeToSystemTime(pinned);
    return FormatDigits(mode == kTimeStampKey ? L"%.4d%.2d%.2d%.2d%.2d%.2d" : L"%.4d%.2d%.2d", st);
}

DATE KeyToDate(const std::wstring& key, int mode)
{
    constexpr size_t kDayKeyWidth = 8;
    constexpr size_t kTimeStampKeyWidth = 14;
    if (mode != kTimeStampKey && mode != kDayKey) {
        return 0.0;
    }
    const bool withTime = mode == kTimeStampKey;
    if (!StartsWithDigits(key, withTime ? kTimeStampKeyWidth : kDayKeyWidth)) {
        return 0.0;
    }
    const int year = FieldAt(key, 0, 4);
    const int month = FieldAt(key, 4, 2);
    const int day = FieldAt(key, 6, 2);
    const int hour = withTime ? FieldAt(key, 8, 2) : 0;
    const int minute = withTime ? FieldAt(key, 10, 2) : 0;
    const int second = withTime ? FieldAt(key, 12, 2) : 0;
    const bool realDate = year >= 1 && day >= 1 && day <= DaysInMonth(year, month);
    if (!realDate || hour > 23 || minute > 59 || second > 59) {
        return 0.0;
    }
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute, second));
}
