// Civil-date arithmetic after the well-known days-from-civil construction: exact integer
// day numbers for any year, so the conversion never drifts across 1900-2999.
#include "platform/systemtime.h"

#include <cmath>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// constexpr, so other files may convert dates during their own static initialisation.
constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);
constexpr int64_t kSecondsPerDay = 86400;

// 1970-01-01 was a Thursday (4); the sum stays positive for negative day numbers.
uint16_t WeekdayOfCivilDay(int64_t daysSince1970)
{
    return static_cast<uint16_t>((daysSince1970 % 7 + 11) % 7);
}

// Whole seconds of the fraction, and whether they rounded up into the next day.
int64_t RoundedSeconds(DATE date, bool* nextDay)
{
    const int64_t seconds = std::llround(std::fabs(date - std::trunc(date)) * kSecondsPerDay);
    *nextDay = seconds >= kSecondsPerDay;
    return *nextDay ? seconds - kSecondsPerDay : seconds;
}

}  // namespace

DATE SystemTimeToVariantTime(const SYSTEMTIME& st)
{
    const int64_t day = DaysFromCivil(st.wYear, st.wMonth, st.wDay) - kEpochOffset;
    const double fraction =
        (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / static_cast<double>(kSecondsPerDay);
    // Automation dates before the epoch keep the time as a positive fraction of a negative day.
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

int32_t SecondsOfDay(DATE date)
{
    bool nextDay = false;
    return static_cast<int32_t>(RoundedSeconds(date, &nextDay));
}

SYSTEMTIME VariantTimeToSystemTime(DATE date)
{
    bool nextDay = false;
    const int64_t seconds = RoundedSeconds(date, &nextDay);
    double whole = std::trunc(date);
    if (nextDay) {
        whole += date >= 0 ? 1.0 : -1.0;
    }
    int64_t y = 0;
    int64_t m = 0;
    int64_t d = 0;
    const int64_t dayNumber = static_cast<int64_t>(whole) + kEpochOffset;
    CivilFromDays(dayNumber, y, m, d);
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(y);
    st.wMonth = static_cast<uint16_t>(m);
    st.wDay = static_cast<uint16_t>(d);
    st.wDayOfWeek = WeekdayOfCivilDay(dayNumber);
    st.wHour = static_cast<uint16_t>(seconds / 3600);
    st.wMinute = static_cast<uint16_t>((seconds / 60) % 60);
    st.wSecond = static_cast<uint16_t>(seconds % 60);
    st.wMilliseconds = 0;
    return st;
}

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(year);
    st.wMonth = static_cast<uint16_t>(month);
    st.wDay = static_cast<uint16_t>(day);
    st.wHour = static_cast<uint16_t>(hour);
    st.wMinute = static_cast<uint16_t>(minute);
    st.wSecond = static_cast<uint16_t>(second);
    st.wDayOfWeek = WeekdayOfCivilDay(DaysFromCivil(st.wYear, st.wMonth, st.wDay));
    return st;
}
