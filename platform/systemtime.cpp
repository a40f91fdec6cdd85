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

// Dates this far out are no calendar day of any use; keeping them here keeps every day count
// and second count inside int64 arithmetic.
constexpr double kLargestDayCount = 1e9;

int64_t FloorDiv(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return value % divisor < 0 ? quotient - 1 : quotient;
}

} // namespace

DayAndSeconds SplitDate(DATE date)
{
    const double finite = std::isfinite(date) ? date : 0.0;
    const double bounded = std::fmax(-kLargestDayCount, std::fmin(finite, kLargestDayCount));
    // Automation dates before the epoch keep the time as a positive fraction of a negative day.
    const double whole = std::trunc(bounded);
    const int64_t seconds = std::llround(std::fabs(bounded - whole) * kSecondsPerDay);
    const bool nextDay = seconds >= kSecondsPerDay;
    return {static_cast<int64_t>(whole) + (nextDay ? 1 : 0),
            static_cast<int32_t>(nextDay ? seconds - kSecondsPerDay : seconds)};
}

DATE JoinDate(int64_t day, int64_t seconds)
{
    const int64_t whole = day + FloorDiv(seconds, kSecondsPerDay);
    const double fraction =
        static_cast<double>(seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay) /
        static_cast<double>(kSecondsPerDay);
    return whole >= 0 ? static_cast<double>(whole) + fraction
                      : static_cast<double>(whole) - fraction;
}

DATE SystemTimeToVariantTime(const SYSTEMTIME& st)
{
    const int64_t day = DaysFromCivil(st.wYear, st.wMonth, st.wDay) - kEpochOffset;
    return JoinDate(day, int64_t{st.wHour} * 3600 + int64_t{st.wMinute} * 60 + st.wSecond);
}

int32_t SecondsOfDay(DATE date)
{
    return SplitDate(date).seconds;
}

SYSTEMTIME VariantTimeToSystemTime(DATE date)
{
    const DayAndSeconds split = SplitDate(date);
    int64_t y = 0;
    int64_t m = 0;
    int64_t d = 0;
    const int64_t dayNumber = split.day + kEpochOffset;
    CivilFromDays(dayNumber, y, m, d);
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(y);
    st.wMonth = static_cast<uint16_t>(m);
    st.wDay = static_cast<uint16_t>(d);
    st.wDayOfWeek = WeekdayOfCivilDay(dayNumber);
    st.wHour = static_cast<uint16_t>(split.seconds / 3600);
    st.wMinute = static_cast<uint16_t>((split.seconds / 60) % 60);
    st.wSecond = static_cast<uint16_t>(split.seconds % 60);
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
