// Grid positions: 800x480 has cells of 114 x 85 from y 52 (lines 14 apart), 240x320 cells of
// 34 x 34 from y 52 (lines 13 apart), where a second item line no longer fits whole.
#include "view/calendar_geometry.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
ViewLayout GridLayout(int width, int height, bool detail)
{
    LayoutInput input;
    input.CalendarType = 0;
    input.InfoAreaVisible = detail;
    input.dateColumnWidth = 50;
    return ViewLayout::Compute(width, height, input);
}

const CalendarGeometry kWide(GridLayout(800, 480, false));
const CalendarGeometry kSmall(GridLayout(240, 320, true));
} // namespace

TEST(CalendarGeometry, ItemLinesFitOrOverflow)
{
    // clang-format off
    struct Case { const CalendarGeometry& grid; int day, n; bool task; CellLine want; };
    const std::vector<Case> cases = {
        {kWide, 9, 1, true, {true, false, {{229, 154, 241, 166}, {229, 154, 241, 166}},
                             {243, 154}, {230, 153, 342, 167}}},
        // The fifth line ends exactly at the cell bottom; the sixth begins below it.
        {kWide, 9, 5, false, {true, false, {{229, 210, 241, 222}, {229, 210, 241, 222}},
                              {242, 210}, {230, 209, 342, 222}}},
        {kWide, 9, 6, false, {false, true, {{229, 224, 241, 236}, {229, 224, 229, 224}},
                              {242, 224}, {230, 223, 230, 223}}},
        // The second line's icon passes the bottom (y 115): it is cut there, as is its frame.
        {kSmall, 9, 2, true, {true, true, {{69, 115, 81, 127}, {69, 115, 81, 120}},
                              {83, 115}, {70, 114, 102, 120}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(c.grid.Line(c.day, c.n, c.task), c.want) << c.day << " line " << c.n;
    }
    EXPECT_EQ(kWide.LineCapacity(9), 5);
    EXPECT_EQ(kSmall.LineCapacity(9), 2);
    EXPECT_EQ(CalendarGeometry(GridLayout(1, 1, true)).LineCapacity(0), 0);
}

TEST(CalendarGeometry, CellsFramesAndHitTests)
{
    EXPECT_EQ(kWide.CellRect(34), (PixelRect{684, 392, 798, 477}));
    EXPECT_EQ(kWide.TodayFrame(9), (PixelRect{230, 139, 341, 152}));
    EXPECT_EQ(kWide.SelectionFrame(9), (PixelRect{230, 139, 341, 221}));
    // clang-format off
    const std::vector<std::pair<PixelPoint, std::optional<int>>> cells = {{{10, 53}, 0},
        {{798, 100}, std::nullopt}, {{10, 52}, std::nullopt}, {{10, 477}, std::nullopt},
        {{120, 140}, 8}, {{797, 476}, 34}};
    // clang-format on
    for (const auto& [point, cell] : cells) {
        EXPECT_EQ(kWide.CellAt(point.x, point.y), cell) << point.x << "," << point.y;
    }
    EXPECT_EQ(CalendarGeometry(GridLayout(1, 1, true)).CellAt(0, 0), std::nullopt);
    const std::vector<std::pair<int, std::optional<int>>> lines = {
        {68, std::nullopt}, {69, 1}, {82, 1}, {83, 2}, {136, 5}, {137, std::nullopt}};
    for (const auto& [y, line] : lines) {
        EXPECT_EQ(kWide.LineAt(0, y), line) << y;
    }
}
