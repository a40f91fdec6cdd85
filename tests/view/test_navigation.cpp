// Navigation rules: period start, grid alignment, moves at the edges, zoom limits.
#include "view/navigation.h"

#include <gtest/gtest.h>

#include "model/date_time.h"

namespace {
SYSTEMTIME Day(int year, int month, int day)
{
    return MakeSystemTime(year, month, day);
}

::testing::AssertionResult SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    if (DaysBetween(a, b) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << a.wYear << "-" << a.wMonth << "-" << a.wDay << " vs "
                                         << b.wYear << "-" << b.wMonth << "-" << b.wDay;
}
} // namespace

TEST(Navigation, PeriodStartAndGridAlignment)
{
    // clang-format off
    struct Case { SYSTEMTIME date; int cntFromToday, startDow; SYSTEMTIME first; };
    const Case cases[] = {
        {Day(2010, 12, 9), 3, 1, Day(2010, 12, 6)}, // Thursday, Monday start
        {Day(2010, 12, 9), 0, 5, Day(2010, 12, 3)},     // Friday start: back six days
        {Day(2010, 12, 9), 99999, 7, Day(2009, 12, 8)}, // a year at most
        {Day(2010, 12, 9), 0, 42, Day(2010, 12, 9)},    // unknown weekday is "No Care"
    };
    struct Align { int weekday, startDow, back; };
    const Align aligns[] = {{3, 7, 3}, {0, 1, 6}, {2, -3, 2}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_TRUE(SameDay(nav::PeriodStart(c.date, c.cntFromToday, c.startDow), c.first))
            << c.cntFromToday << " " << c.startDow;
    }
    for (const Align& a : aligns) {
        EXPECT_EQ(nav::GridAlignmentDays(a.weekday, a.startDow), a.back)
            << a.weekday << " " << a.startDow;
    }
}

TEST(Navigation, WeekAndMonthStepsStayInTheSupportedYears)
{
    // clang-format off
    struct Case { SYSTEMTIME first; int weeks, months; bool grid; std::optional<SYSTEMTIME> to; };
    const Case cases[] = {
        {Day(2026, 12, 7), 1, 0, false, Day(2026, 12, 14)},
        {Day(1900, 1, 5), -1, 0, false, std::nullopt}, // would pass 1 January 1900
        {Day(2999, 12, 25), 1, 0, false, std::nullopt},
        {Day(2011, 1, 31), 0, 1, false, Day(2011, 2, 28)},
        {Day(2026, 12, 6), 0, 1, true, Day(2027, 1, 3)}, // the grid steps four weeks
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto move = c.months == 0 ? nav::MoveWeeks(c.first, c.first, c.weeks)
                                        : nav::MoveMonths(c.first, c.first, c.months, c.grid);
        ASSERT_EQ(move.has_value(), c.to.has_value()) << c.first.wYear << "-" << c.first.wDay;
        if (move) {
            EXPECT_TRUE(SameDay(move->first, *c.to));
            EXPECT_TRUE(SameDay(move->selected, *c.to));
        }
    }
}

TEST(Navigation, BodyKeysMoveTheSelectionOrThePeriod)
{
    using nav::BodyKey;
    const SYSTEMTIME first = Day(2026, 12, 6);
    // clang-format off
    struct Case { BodyKey key; bool grid; int row, rows; SYSTEMTIME first;
                  std::optional<nav::BodyMove> expected; };
    const Case cases[] = {
        {BodyKey::Down, false, 3, 20, first, nav::BodyMove{4, 0}},
        {BodyKey::Down, false, 19, 20, first, nav::BodyMove{19, 1}}, // last row: period moves
        {BodyKey::Down, false, 45, 20, first, nav::BodyMove{19, 1}}, // off the rows: lands
        {BodyKey::Down, true, 9, 35, first, nav::BodyMove{16, 0}},
        {BodyKey::Down, true, 31, 35, first, nav::BodyMove{31, 7}}, // same cell, next week
        {BodyKey::Left, true, 0, 35, first, nav::BodyMove{6, -7}}, // previous day, last cell
        {BodyKey::Down, false, 0, 0, first, std::nullopt}, // no rows at all
        {BodyKey::Down, false, 19, 20, Day(2999, 12, 12), std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto move = nav::MoveInBody(c.key, c.grid, c.row, c.rows, c.first);
        ASSERT_EQ(move.has_value(), c.expected.has_value()) << int(c.key) << " row " << c.row;
        if (move) {
            EXPECT_EQ(std::pair(move->selectedRow, move->periodDays),
                      std::pair(c.expected->selectedRow, c.expected->periodDays));
        }
    }
}

TEST(Navigation, HourWindowAndZoomLimits)
{
    // clang-format off
    struct Hours { int first, count, pixels, right, left; };
    const Hours hours[] = {{8, 10, 10, 10, 6}, {8, 10, 36, 9, 7}, {14, 10, 36, 14, 13},
                           {1, 10, 6, 5, 0},   {8, 10, 0, 12, 4}};
    // clang-format on
    for (const Hours& h : hours) {
        EXPECT_EQ(nav::HourKeyRight(h.first, h.count, h.pixels), h.right) << h.pixels;
        EXPECT_EQ(nav::HourKeyLeft(h.first, h.pixels), h.left) << h.pixels;
    }
    EXPECT_EQ(nav::HourButtonStep(36), 2);
    EXPECT_EQ(nav::HourButtonStep(0), 16); // a zero width is taken as the narrowest
    EXPECT_EQ(nav::ZoomIn(600), std::nullopt);
    EXPECT_EQ(nav::ZoomOut(12), std::nullopt);
    EXPECT_EQ(nav::ZoomOut(13), 6);
    EXPECT_EQ(nav::ZoomOut(100000), 588);
    EXPECT_EQ(nav::FitHourPixels(1000), 41);
    EXPECT_EQ(nav::FitHourPixels(100), 12); // never below the zoom-out limit
}
