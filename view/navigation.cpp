// The navigation rules of the view. Moves are checked in whole days against the first and last
// supported day before any date is stepped, since stepping below 1900 would be lifted silently.
#include "view/navigation.h"

#include <algorithm>
#include <cstdlib>

#include "model/date_time.h"
#include "platform/clock.h"
#include "settings/usable_range.h"

namespace nav {
namespace {

constexpr int kHourScrollPixels = 96;
constexpr int kHoursPerDay = 24;
constexpr int kDaysPerWeek = 7;

const SYSTEMTIME& FirstSupportedDay()
{
    static const SYSTEMTIME day = MakeSystemTime(kFirstYear, 1, 1);
    return day;
}

const SYSTEMTIME& LastSupportedDay()
{
    static const SYSTEMTIME day = MakeSystemTime(kEndYear - 1, 12, 31);
    return day;
}

// Whether `day` moved by `days` stays within the supported years.
bool StepStaysInYears(const SYSTEMTIME& day, int days)
{
    const int fromFirst = DaysBetween(FirstSupportedDay(), day) + days;
    const int toLast = DaysBetween(day, LastSupportedDay()) - days;
    return fromFirst >= 0 && toLast >= 0;
}

std::optional<PeriodMove> MoveDays(const SYSTEMTIME& first, const SYSTEMTIME& selected, int days)
{
    if (!StepStaysInYears(first, days) || !StepStaysInYears(selected, days)) {
        return std::nullopt;
    }
    return PeriodMove{AddDays(first, days), AddDays(selected, days)};
}

} // namespace

SYSTEMTIME Today()
{
    return TruncateSystemTime(GetLocalTime(), 3);
}

SYSTEMTIME PeriodStart(const SYSTEMTIME& date, int cntFromToday, int startDow)
{
    SYSTEMTIME first = AddDays(date, -usable::CntFromToday(cntFromToday));
    const int start = usable::Weekday(startDow);
    if (start < 7) {
        const int weekday = first.wDayOfWeek;
        first = AddDays(first, -(weekday >= start ? weekday - start : weekday - start + 7));
    }
    return first;
}

int GridAlignmentDays(int weekday, int startDow)
{
    const int start = usable::Weekday(startDow) % 7;
    return (weekday - start + 7) % 7;
}

bool InSupportedYears(const SYSTEMTIME& day)
{
    return StepStaysInYears(day, 0);
}

bool IsFirstSupportedDay(const SYSTEMTIME& day)
{
    return DaysBetween(FirstSupportedDay(), day) == 0;
}

std::optional<PeriodMove> MoveWeeks(const SYSTEMTIME& first, const SYSTEMTIME& selected, int weeks)
{
    return MoveDays(first, selected, 7 * weeks);
}

std::optional<PeriodMove> MoveMonths(const SYSTEMTIME& first, const SYSTEMTIME& selected,
                                     int months, bool grid)
{
    if (grid) {
        return MoveDays(first, selected, kGridMonthDays * months);
    }
    const int targetYear =
        first.wYear + (first.wMonth - 1 + months) / 12 - (first.wMonth - 1 + months < 0 ? 1 : 0);
    if (targetYear < kFirstYear || targetYear >= kEndYear) {
        return std::nullopt;
    }
    const SYSTEMTIME movedSelected = AddMonths(selected, months);
    if (!InSupportedYears(movedSelected)) {
        return std::nullopt;
    }
    return PeriodMove{AddMonths(first, months), movedSelected};
}

std::optional<BodyMove> MoveInBody(BodyKey key, bool grid, int selectedRow, int dayRowCount,
                                   const SYSTEMTIME& first)
{
    const int week = 7;
    const int step = grid && (key == BodyKey::Down || key == BodyKey::Up) ? week : 1;
    if (dayRowCount < (grid ? week : 1)) {
        return std::nullopt;
    }
    const bool forward = key == BodyKey::Down || key == BodyKey::Right;
    const int target = selectedRow + (forward ? step : -step);
    if (target >= 0 && target < dayRowCount && selectedRow >= 0 && selectedRow < dayRowCount) {
        return BodyMove{target, 0};
    }

    // The period moves under the selection: one row in the Gantt, one week row in the grid.
    const int periodDays = grid ? (forward ? week : -week) : (forward ? 1 : -1);
    if (!StepStaysInYears(first, periodDays) ||
        !StepStaysInYears(first, periodDays + dayRowCount - 1)) {
        return std::nullopt;
    }
    const int column = ((selectedRow % week) + week) % week;
    int row = 0;
    if (!grid) {
        row = forward ? dayRowCount - 1 : 0;
    } else if (key == BodyKey::Right) {
        row = dayRowCount - week;
    } else if (key == BodyKey::Left) {
        row = week - 1;
    } else {
        row = (forward ? dayRowCount - week : 0) + column;
    }
    return BodyMove{row, periodDays};
}

int HourButtonStep(int hourPixels)
{
    return kHourScrollPixels / usable::OneHourPixel(hourPixels);
}

int HourKeyRight(int firstHour, int hourCount, int hourPixels)
{
    if (firstHour + hourCount >= kHoursPerDay) {
        return firstHour;
    }
    const int pixels = usable::OneHourPixel(hourPixels);
    const int step = pixels < kHoursPerDay ? kHoursPerDay / pixels : 1;
    return std::min(firstHour + step, kHoursPerDay - hourCount);
}

int HourKeyLeft(int firstHour, int hourPixels)
{
    if (firstHour < 1) {
        return firstHour;
    }
    const int pixels = usable::OneHourPixel(hourPixels);
    const int step = pixels < kHoursPerDay ? kHoursPerDay / pixels : 1;
    return std::max(firstHour - step, 0);
}

std::optional<int> ZoomIn(int hourPixels)
{
    const int current = usable::OneHourPixel(hourPixels);
    const int zoomed = usable::OneHourPixel(current + kZoomStep);
    if (zoomed == hourPixels) {
        return std::nullopt;
    }
    return zoomed;
}

std::optional<int> ZoomOut(int hourPixels)
{
    if (hourPixels <= kZoomOutLimit) {
        return std::nullopt;
    }
    return usable::OneHourPixel(std::min(hourPixels, usable::OneHourPixel(hourPixels)) - kZoomStep);
}

int FitHourPixels(int freeWidth)
{
    return std::max(kZoomOutLimit, freeWidth / kHoursPerDay);
}

int PeriodShiftShowing(int row, int rows, bool grid)
{
    const int past = row < 0 ? row : std::max(0, row - rows + 1);
    if (!grid || past == 0) {
        return past;
    }
    const int weeks = (std::abs(past) + kDaysPerWeek - 1) / kDaysPerWeek;
    return (past < 0 ? -weeks : weeks) * kDaysPerWeek;
}

} // namespace nav
