// Drag arithmetic over one layout: hours from x 156 (08:00) at 36 pixels, rows of 17 from y 60.
#include "view/drag_edit.h"

#include <gtest/gtest.h>

#include "platform/systemtime.h"

namespace {
using Action = DragOutcome::Action;
using Hit = Release::Hit;

ViewLayout Layout()
{
    ViewLayout l;
    l.rowsTop = 60;
    l.dayRowHeight = 17;
    l.dateColumnWidth = 60;
    l.taskAreaWidth = 96;
    l.hourPixels = 36;
    l.firstHour = 8;
    l.lastHour = 24;
    l.chartRight = 156 + 16 * 36;
    l.chartBottom = 60 + 17 * 20;
    return l;
}

constexpr int kL = 156;
int X(int hour, int minute)
{
    return kL + (hour - 8) * 36 + minute * 36 / 60;
}
int Y(int row)
{
    return 60 + 17 * row + 8;
}

const ItemSpan kTenToEleven{2, 2, 600, 660, false};
} // namespace

TEST(DragEdit, ReleaseDecidesWhatIsWritten)
{
    struct Case {
        DragMode mode;
        Hit hit;
        PixelPoint down, up;
        bool intentional;
        DragOutcome expected; // minutes compared for appointments only
    };
    const Action change = Action::kChangeAppointment;
    const Action create = Action::kCreateAppointment;
    const Hit item = Hit::kAppointment;
    const DragOutcome nothing{};
    const PixelPoint bar{X(10, 15), Y(2)};
    const PixelPoint start{X(10, 0) + 2, Y(2)};
    const PixelPoint empty{X(13, 10), Y(4)};
    const PixelPoint later{X(14, 40), Y(4)};
    // clang-format off
    const Case cases[] = {
        {kDragMove, item, bar, {bar.x + 54, Y(2)}, true, {change, 600, 690, 0}}, // 1.5 hours
        {kDragStart, item, start, {start.x - 36, Y(2)}, true, {change, 600, 540, 0}},
        {kDragMove, Hit::kNone, empty, later, true, {create, 780, 900, 0}}, // whole hours
        {kDragMove, Hit::kNone, empty, {X(9, 0), Y(5)}, true, {create, 780, 1440 + 570, 1}},
        {kDragMove, Hit::kTask, {100, Y(2)}, {120, Y(3)}, true, {Action::kMoveTask, 0, 0, 1}},
        {kDragMove, Hit::kNone, {100, Y(2)}, {100, Y(4)}, true, {Action::kCreateTask, 0, 0, 2}},
        {kDragMove, item, bar, bar, true, nothing},                       // a tap
        {kDragMove, item, bar, {X(12, 0), Y(3)}, false, nothing},         // a flick not meant
        {kDragMove, item, bar, {bar.x + 8, Y(2)}, true, nothing},         // under a quarter hour
        {kDragMove, item, bar, {X(12, 0), 60 + 17 * 20 + 2}, true, nothing}, // below the chart
        {kDragMove, item, bar, {X(10, 25), Y(2)}, true, nothing},         // on its own half hour
    };
    // An all-day bar moves by whole days from 00:00 only; sideways it stays.
    const Case allDay[] = {
        {kDragMove, item, bar, {bar.x + 36, Y(2)}, true, nothing},
        {kDragMove, item, bar, {bar.x + 36, Y(3)}, true, {change, 0, 1440, 1}},
    };
    // clang-format on
    const DragEdit drag(Layout());
    const auto check = [&](const Case& c, bool allDayHit) {
        SCOPED_TRACE(::testing::Message() << allDayHit << " " << &c - (allDayHit ? allDay : cases));
        const DragOutcome got =
            drag.Decide({c.mode, c.hit, c.down, c.up, c.intentional, allDayHit});
        EXPECT_EQ(got.action, c.expected.action);
        if (c.expected.action != Action::kNothing) {
            EXPECT_EQ(got.dayShift, c.expected.dayShift);
        }
        if (c.expected.action == change || c.expected.action == create) {
            EXPECT_EQ(std::pair(got.startMinutes, got.endMinutes),
                      std::pair(c.expected.startMinutes, c.expected.endMinutes));
        }
    };
    for (const Case& c : cases) {
        check(c, false);
    }
    for (const Case& c : allDay) {
        check(c, true);
    }
    ViewLayout hidden = Layout();
    hidden.ganttAreaVisible = false; // no sweep where no chart is shown
    EXPECT_EQ(DragEdit(hidden).Decide({kDragMove, Hit::kNone, empty, later, true}).action,
              Action::kNothing);
}

TEST(DragEdit, PressGrabsAnEndWithinAQuarterHour)
{
    const ItemSpan twoDays{2, 3, 600, 660, false};
    // clang-format off
    struct Case { ItemSpan span; int row; int x; DragMode expected; };
    const Case cases[] = {
        {kTenToEleven, 2, X(10, 0) + 8, kDragStart},
        {kTenToEleven, 2, X(11, 0) - 8, kDragEnd},
        // 30 minutes are 18 pixels: 6 grab each end, the middle 6 move the bar
        {{2, 2, 600, 630, false}, 2, X(10, 0) + 5, kDragStart},
        {{2, 2, 600, 630, false}, 2, X(10, 0) + 13, kDragEnd},
        {twoDays, 2, X(11, 0) - 2, kDragMove},             // the end lies on the last row only
        {twoDays, 3, X(11, 0) - 2, kDragEnd},
        {{2, 2, 600, 1440, true}, 2, X(10, 0) + 2, kDragMove}, // all-day: never resized
    };
    // clang-format on
    const DragEdit drag(Layout());
    for (const Case& c : cases) {
        EXPECT_EQ(drag.ModeAtPress(c.span, c.row, c.x), c.expected) << c.x;
    }
}

TEST(DragEdit, DraggedTimesKeepHalfAnHourBetweenTheEnds)
{
    const DATE day = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 9));
    const auto at = [day](int minutes) { return day + minutes / 1440.0; };
    // clang-format off
    struct Case { DragMode mode; int delta; int start, end; };
    const Case cases[] = {
        {kDragMove, 90, 690, 750},  {kDragStart, -60, 540, 660}, {kDragStart, 120, 630, 660},
        {kDragEnd, -120, 600, 630},
        {kDragMove, -1440 * 3, 600 - 4320, 660 - 4320},
    };
    // clang-format on
    for (const Case& c : cases) {
        const TimeRange got = DraggedTimes({at(600), at(660)}, c.mode, c.delta);
        EXPECT_NEAR(got.start, at(c.start), 1e-9) << c.mode << " " << c.delta;
        EXPECT_NEAR(got.end, at(c.end), 1e-9) << c.mode << " " << c.delta;
    }
    // 13:00-16:30 with its start dragged to 17:30; a ten-minute item is not shortened further.
    const TimeRange late = DraggedTimes({at(780), at(990)}, kDragStart, 270);
    EXPECT_NEAR(late.start, at(960), 1e-9);
    EXPECT_NEAR(late.end, at(990), 1e-9);
    EXPECT_NEAR(DraggedTimes({at(600), at(610)}, kDragStart, 60).start, at(600), 1e-9);
}
