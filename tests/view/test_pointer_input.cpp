// Press hit tests over a hand-made day table: which area, row, cell and item a press takes.
#include "view/pointer_input.h"

#include <gtest/gtest.h>

#include "fake_day_entries.h"
#include "view/calendar_geometry.h"
#include "view/task_detail_painter.h"

namespace {
LayoutInput Input(int calendarType = 1)
{
    LayoutInput in;
    in.dateColumnWidth = 60;
    in.firstHour = 8;
    in.CalendarType = calendarType;
    in.InfoAreaFixBottom = true;
    return in;
}

int SevenPixelGlyphs(const std::wstring& text, int /*cellWidth*/)
{
    return 7 * static_cast<int>(text.size());
}
} // namespace

TEST(PointerInput, PressesInTheGanttRowsTakeTheTopmostItem)
{
    FakeDayEntries e;
    e.appts[1] = {{.start = 540, .end = 660, .subject = L"Long"},
                  {.start = 600, .end = 630, .subject = L"Short"},
                  {.start = 0, .end = 1440, .allDay = true, .dayKind = 1},
                  {.start = 540, .end = 700, .state = kMovedOccurrenceEntry}};
    // An all-day bar is taken by its icon and name only (glyphs of 7 pixels here).
    e.appts[3] = {{.start = 0, .end = 1440, .subject = L"Birthday", .allDay = true},
                  {.start = 780, .end = 840, .subject = L"Lunch"}};
    e.tasks[2] = {{.subject = L"A", .dueHere = true},
                  {.subject = L"B", .startsHere = true},
                  {.subject = L"C", .recurring = true},
                  {.subject = L"Work only"}};
    const ViewLayout l = ViewLayout::Compute(800, 480, Input());
    const DrawSettings settings;
    const PointerInput input(l, e, settings, SevenPixelGlyphs);
    const GanttGeometry g(l);
    const auto y = [&](int row) { return l.rowsTop + l.dayRowHeight * row + 3; };
    ASSERT_EQ(l.firstHour, 7); // the bar's start is cut: "<<Birth" as drawn, with no icon
    const int labelEnd = g.Bar(3, 0, 1440, true).text.x + 7 * 7;
    using Area = PressHit::Area;
    // clang-format off
    struct Case { int x, y; Area area; int day; ItemKind kind; int index; };
    const Case cases[] = {
        {g.XOfMinute(610), y(1), Area::kGanttRow, 1, ItemKind::Appointment, 1},
        {g.XOfMinute(650), y(1), Area::kGanttRow, 1, ItemKind::Appointment, 0},
        {g.XOfMinute(690), y(1), Area::kGanttRow, 1, ItemKind::None, -1},
        {g.HourAreaLeft() + 3, y(3), Area::kGanttRow, 3, ItemKind::Appointment, 0},
        {labelEnd, y(3), Area::kGanttRow, 3, ItemKind::Appointment, 0},
        {labelEnd + 1, y(3), Area::kGanttRow, 3, ItemKind::None, -1},
        {g.XOfMinute(810), y(3), Area::kGanttRow, 3, ItemKind::Appointment, 1},
        {l.dateColumnWidth + 5, y(2), Area::kGanttRow, 2, ItemKind::Task, 0},
        {5, 5, Area::kButtonBar, -1, ItemKind::None, -1},
        {50, l.detailRect.top + 3, Area::kDetail, -1, ItemKind::None, -1},
    };
    // clang-format on
    for (const Case& c : cases) {
        const PressHit hit = input.HitAt(c.x, c.y, 0, 0);
        EXPECT_EQ(std::tuple(hit.area, hit.day, hit.kind, hit.index),
                  std::tuple(c.area, c.day, c.kind, c.index))
            << c.x << "," << c.y;
    }
}

// Strip presses take the entry where the painter put it (icon: check box; the last to the end).
TEST(PointerInput, TaskStripEntriesAndCheckBoxes)
{
    FakeDayEntries e;
    e.tasks[2] = {{.subject = L"A", .dueHere = true},
                  {.subject = L"Work only"},
                  {.subject = L"Bb", .startsHere = true}};
    const ViewLayout l = ViewLayout::Compute(800, 480, Input());
    const DrawSettings settings;
    const PointerInput input(l, e, settings, SevenPixelGlyphs);
    const GanttGeometry g(l);
    const int top = g.TaskIcon(2, 0).y;
    const int font = l.mainFontSize;
    const int second = g.NextTaskOffset(0, 7 * 3); // "^A "
    ASSERT_LT(g.TaskIcon(2, second).x + font, g.HourAreaLeft());
    struct Case {
        int x, y, index;
        bool checkBox;
    };
    const Case cases[] = {
        {g.TaskIcon(2, 0).x, top, 0, true},
        {g.TaskIcon(2, 0).x + font - 1, top + font, 0, false},
        {g.TaskIcon(2, second).x - 1, top + 2, 0, false},
        {g.TaskIcon(2, second).x, top + 2, 2, true},
        {g.HourAreaLeft() - 1, top + 2, 2, false},
    };
    for (const Case& c : cases) {
        const PressHit hit = input.HitAt(c.x, c.y, 0, 0);
        EXPECT_EQ(std::tuple(hit.kind, hit.index, hit.checkBox),
                  std::tuple(ItemKind::Task, c.index, c.checkBox))
            << c.x << "," << c.y;
    }
    const int line = l.detailRect.top + 3;
    EXPECT_TRUE(input.HitAt(l.detailRect.left + 2, line, 0, 0).checkBox);
    EXPECT_FALSE(input.HitAt(l.detailRect.left + l.detailFontSize + 6, line, 0, 0).checkBox);
}

TEST(PointerInput, GridCellsDetailArrowsAndLines)
{
    FakeDayEntries e;
    e.tasks[9] = {{.subject = L"T", .dueHere = true}};
    e.appts[9] = {{.start = 540, .end = 600, .subject = L"A"}};
    const ViewLayout grid = ViewLayout::Compute(800, 480, Input(0));
    const DrawSettings settings;
    const PointerInput input(grid, e, settings, SevenPixelGlyphs);
    const CalendarGeometry cells(grid);
    const PixelRect cell = cells.CellRect(9);
    const auto lineY = [&](int n) { return cells.Line(9, n, n == 1).text.y + 2; };
    EXPECT_EQ(input.HitAt(cell.left + 20, lineY(1), 0, 0).kind, ItemKind::Task);
    const PressHit second = input.HitAt(cell.left + 20, lineY(2), 0, 0);
    EXPECT_EQ(std::pair(second.kind, second.day), std::pair(ItemKind::Appointment, 9));
    // The press reaches the detail hit test with the scroll and the line count.
    const ViewLayout rows = ViewLayout::Compute(800, 480, Input());
    const PixelRect area = rows.detailRect;
    EXPECT_EQ(PointerInput(rows, e, settings, SevenPixelGlyphs)
                  .HitAt(area.right - 3, area.top + 40, 0, 40)
                  .detail->kind,
              DetailHit::Kind::ScrollTrack);
}
