// The grid painted into an image: a cell's items, their icons and the overflow icon (800 x 480:
// cells of 114 x 85 from y 52, item line n at cell top + 14 n + 3).
#include "view/calendar_painter.h"

#include <gtest/gtest.h>

#include "fake_day_entries.h"
#include "res/pictures.h"

namespace {
struct GridHarness : PaintHarness {
    explicit GridHarness(SYSTEMTIME first = MakeSystemTime(2027, 3, 28)) // a Sunday
        : PaintHarness(800, 480, Input([](LayoutInput& in) { in.CalendarType = 0; }))
    {
        entries.shownStart = first;
        selected = MakeSystemTime(2027, 6, 1); // not shown: no selection frame in the way
        now = selected;
    }
    void PaintGrid()
    {
        Paint<CalendarPainter>([&](const CalendarPainter& grid) {
            for (int day = 0; day < layout.dayRowCount; ++day) {
                grid.PaintCellBackground(day);
            }
            for (int day = 0; day < layout.dayRowCount; ++day) {
                grid.PaintCellContents(day);
            }
            grid.PaintHeader();
            grid.PaintFrames();
        });
    }
    std::vector<CellItem> Items(int day) const
    {
        return CalendarPainter::CellItems(entries, settings, layout, day, 100);
    }
    PixelRect Cell(int day) const { return CalendarGeometry(layout).CellRect(day); }
    int LineY(int day, int n) const { return Cell(day).top + 14 * n + 3; }
};
} // namespace

TEST(CalendarPainter, CellItemsShareTheChartRules)
{
    GridHarness h;
    h.settings.CategoryFilterType = 2;
    h.settings.CategoryFilterTarget = L"Hidden";
    h.entries.tasks[1] = {{.subject = L"Report", .dueHere = true},
                          {.subject = L"Chores"}, // neither due, starting nor recurring
                          {.subject = L"Gym", .recurring = true, .complete = true},
                          {.subject = L"Secret", .startsHere = true, .categories = L"Hidden"}};
    // The grid has no hour window: items before the rows' first hour conflict as well.
    h.entries.appts[1] = {{.start = 420, .end = 480, .subject = L"Breakfast"},
                          {.start = 450, .end = 510, .subject = L"Commute"},
                          {.start = 450, .end = 510, .subject = L"Podcast", .busy = 0},
                          {.start = 500, .end = 560, .subject = L"Moved", .state = 3},
                          {.start = 510, .end = 600, .subject = L"Standup", .state = 1}};
    h.entries.appts[2] = {
        {.end = 1440, .subject = L"New Year", .allDay = true, .busy = 0, .dayKind = 1},
        {.start = 0, .end = 1440, .subject = L"Offsite", .allDay = true}};
    h.entries.appts[4] = {{.end = 1440, .subject = L"Odd", .allDay = true, .dayKind = 9}};
    h.settings.DispTextLen = 5;
    using Items = std::vector<CellItem>;
    EXPECT_EQ(h.Items(1), (Items{{true, 0, res::kIconTaskOpen, L"^Repor "},
                                 {true, 2, res::kIconTaskCompleted, L"Gym "},
                                 {false, 0, res::kIconAppointment, L"Break"},
                                 {false, 1, res::kIconConflict, L"Commu"},
                                 {false, 2, res::kIconAppointment, L"Podca"},
                                 {false, 4, res::kIconRecurringOccurrence, L"Stand"}}));
    EXPECT_EQ(h.Items(2), (Items{{false, 0, res::kIconHoliday, L"New Y"},
                                 {false, 1, res::kIconAllDay, L"Offsi"}}));
    EXPECT_EQ(h.Items(4).front().icon, res::kIconOtherDayKind); // an unknown kind
    EXPECT_EQ(CalendarPainter::CellItems(h.entries, h.settings, h.layout, 1, 3).size(), 3U);
    // Tasks show only with the task area, appointments only with the chart area.
    for (const bool tasks : {false, true}) {
        h.input.TaskAreaVisible = tasks;
        h.input.CalendarAreaVisible = !tasks;
        h.Relayout(800, 480);
        EXPECT_EQ(h.Items(1).size(), tasks ? 2U : 4U);
    }
}

// A sixth item in a cell shows the overflow icon; a conflict its icon alone, with no red band.
TEST(CalendarPainter, OverflowIconAndNoConflictBand)
{
    GridHarness h;
    h.entries.appts[8] = {{.start = 420, .end = 480, .subject = L"A"},
                          {.start = 450, .end = 510, .subject = L"B"}};
    for (int i = 0; i < 6; ++i) {
        h.entries.appts[10].push_back({.start = 600 + i, .end = 601 + i, .subject = L"x"});
    }
    h.entries.appts[11] = {h.entries.appts[10].begin() + 1, h.entries.appts[10].end()};
    h.PaintGrid();
    for (int day : {10, 11}) {
        const PixelRect full = h.Cell(day);
        const QColor background = h.Pixel(full.right - 30, full.bottom - 5);
        EXPECT_EQ(h.IconAt(res::kIconMoreItems, full.right - 13, full.bottom - 13, 12, background),
                  day == 10)
            << day;
    }
    EXPECT_EQ(h.Drew(L"x"), 10);
    const PixelRect cell = h.Cell(8);
    const QColor monday = h.Pixel(cell.left + 100, cell.bottom - 5);
    EXPECT_TRUE(h.IconAt(res::kIconConflict, cell.left + 1, h.LineY(8, 2), 12, monday));
    for (int x = cell.left + 14; x < cell.right; ++x) {
        for (int y = h.LineY(8, 2); y < h.LineY(8, 3); ++y) {
            ASSERT_NE(h.Pixel(x, y), QColor(255, 0, 0)) << x << "," << y;
        }
    }
}
