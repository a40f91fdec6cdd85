// Where the shown period, the selected day and the hour window go: the start-of-period rule,
// the week and month steps, the body's row steps, the hour steps and zoom, all within the
// supported years. Pure functions of dates and numbers, so every edge is testable without a view.
#pragma once

#include <optional>

#include "platform/systemtime.h"

namespace nav {

constexpr int kFirstYear = 1900;
constexpr int kEndYear = 3000;
constexpr int kGridMonthDays = 28;
constexpr int kZoomStep = 12;
// Zoom out stops here, and fitting the day to the width never goes below it.
constexpr int kZoomOutLimit = 12;

// The clock's day, at midnight.
SYSTEMTIME Today();

// The first shown day for a period around `date`: CntFromToday days before it, then back to
// the start weekday unless StartDow is 7 ("No Care").
SYSTEMTIME PeriodStart(const SYSTEMTIME& date, int cntFromToday, int startDow);

// Days the first shown day moves back so the grid's first column is the start weekday
// (Sunday for "No Care").
int GridAlignmentDays(int weekday, int startDow);

// A new first shown day and selected day.
struct PeriodMove {
    SYSTEMTIME first;
    SYSTEMTIME selected;
};

// False for days before 1 January 1900 or in the year 3000 and later.
bool InSupportedYears(const SYSTEMTIME& day);
bool IsFirstSupportedDay(const SYSTEMTIME& day);

// The week buttons: both days move by 7 x weeks; none when the period would leave the years.
std::optional<PeriodMove> MoveWeeks(const SYSTEMTIME& first, const SYSTEMTIME& selected, int weeks);
// The month buttons: calendar months in the Gantt (days clamped to the month), 28 days in the
// grid.
std::optional<PeriodMove> MoveMonths(const SYSTEMTIME& first, const SYSTEMTIME& selected,
                                     int months, bool grid);

// The cursor keys of the body. Steps are one row in the Gantt and a week row in the grid;
// Right and Left in the grid step one day.
enum class BodyKey { Down, Up, Right, Left };

// Where a body key leaves the selection: its row and by how many days the period moved.
struct BodyMove {
    int selectedRow = 0;
    int periodDays = 0;
};

// The selection moves inside the shown rows or the period moves under it; a selection that was
// off the rows lands on the nearest edge row. None when there is nothing to move (no rows, or
// the period would leave the supported years).
std::optional<BodyMove> MoveInBody(BodyKey key, bool grid, int selectedRow, int dayRowCount,
                                   const SYSTEMTIME& first);

// Days the period moves so that `row` of `rows` is shown: as few as can be, whole weeks in the
// grid.
int PeriodShiftShowing(int row, int rows, bool grid);

// Hours the earlier/later-hours buttons move (96 pixels' worth, at least nothing).
int HourButtonStep(int hourPixels);
// The Gantt's Right and Left keys: the new first hour, unchanged when the window is at its end.
int HourKeyRight(int firstHour, int hourCount, int hourPixels);
int HourKeyLeft(int firstHour, int hourPixels);

// Zoom in and out; none when the width cannot change (zoom out at the limit, zoom in at the
// largest usable width).
std::optional<int> ZoomIn(int hourPixels);
std::optional<int> ZoomOut(int hourPixels);
// The hour width that fits 24 hours into `freeWidth` pixels, never below the zoom-out limit.
int FitHourPixels(int freeWidth);

} // namespace nav
