// The one place where settings that the program divides by or sizes with are brought into a
// usable range. The profile and settings files store values as they stand (a hand-edited 0 or
// 100000 is kept); every reader that computes with such a value goes through these.
#pragma once

#include <algorithm>

namespace usable {

// Width of one chart hour: 0 would divide by zero in minute-to-x, a huge one allocates giant rows.
constexpr int OneHourPixel(int value)
{
    return std::clamp(value, 6, 600);
}

// Weeks of the month grid, as the environment dialog allows them.
constexpr int DispWeekCount(int value)
{
    return std::clamp(value, 1, 9);
}

// Font heights in pixels.
constexpr int FontSize(int value)
{
    return std::clamp(value, 6, 200);
}

// Task area width and detail area width or height in pixels.
constexpr int AreaSize(int value)
{
    return std::clamp(value, 0, 4000);
}

// Characters of a subject drawn in a bar; 0 means no limit, negative is taken as no limit.
constexpr int DispTextLen(int value)
{
    return std::max(value, 0);
}

// First shown hour of the chart.
constexpr int StartHour(int value)
{
    return std::clamp(value, 0, 23);
}

// Percentage for dimmed day colours.
constexpr int BrightReduceRate(int value)
{
    return std::clamp(value, 1, 100);
}

// Days the display starts before today; kept within a year so the window stays in 1900-2999.
constexpr int CntFromToday(int value)
{
    return std::clamp(value, -366, 366);
}

// Weekday settings: 0..6 Sunday..Saturday, 7 "No Care"; anything else is taken as "No Care".
constexpr int Weekday(int value)
{
    return (value >= 0 && value <= 7) ? value : 7;
}

} // namespace usable
