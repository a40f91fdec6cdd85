// Chart positions: 480x640 shows 11:00 to 20:16 from x 146 (36 pixels an hour, row 2 at y 118),
// 1920x1080 the whole day from x 146 to 1010.
#include "view/gantt_geometry.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
ViewLayout Layout(int width, int height, void (*change)(LayoutInput&) = nullptr)
{
    LayoutInput input;
    input.dateColumnWidth = 50;
    input.currentHour = 14;
    if (change != nullptr) {
        change(input);
    }
    return ViewLayout::Compute(width, height, input);
}

const GanttGeometry kPortrait(Layout(480, 640));
const GanttGeometry kWholeDay(Layout(1920, 1080));
const GanttGeometry kGrid(Layout(240, 320, [](LayoutInput& in) { in.CalendarType = 0; }));

TEST(GanttGeometry, MinuteToXAndBack)
{
    // clang-format off
    struct Case { int minutes; ClippedX start, end; };
    // clang-format on
    const std::vector<Case> cases = {
        {600, {146, true, false}, {146, true, false}},  // before the first hour
        {660, {146, false, false}, {146, true, false}}, // an end at the first hour is hidden
        {690, {164, false, false}, {164, false, false}},
        {1216, {480, false, true}, {479, false, false}}, // the last shown minute
        {1440, {480, false, true}, {480, false, true}},  // midnight
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kPortrait.StartX(c.minutes), c.start) << c.minutes;
        EXPECT_EQ(kPortrait.EndX(c.minutes), c.end) << c.minutes;
    }
    // Past 24:00 within the last hour still counts: a drag there reaches the next day.
    const std::vector<std::pair<int, int>> minuteAt = {
        {145, -1}, {146, 660}, {614, 1440}, {649, 1498}, {650, -1}};
    for (const auto& [x, minutes] : minuteAt) {
        EXPECT_EQ(kPortrait.MinuteAt(x), minutes) << x;
    }
    for (int x = 146; x < 480; ++x) {
        const int back = kPortrait.XOfMinute(kPortrait.MinuteAt(x));
        EXPECT_TRUE(back == x || back == x - 1) << x;
    }
}

TEST(GanttGeometry, BarsOfKnownItems)
{
    struct Case {
        const GanttGeometry& geometry;
        int day, start, end;
        bool visible;
        PixelRect frame;
        int textX;
    };
    const std::vector<Case> cases = {
        {kPortrait, 2, 720, 780, true, {182, 120, 219, 134}, 195},
        {kPortrait, 2, 600, 720, true, {146, 120, 183, 134}, 147},    // left mark, no icon
        {kPortrait, 2, 720, 720, true, {182, 120, 183, 134}, 195},    // zero length
        {kPortrait, 2, 1320, 1440, false, {480, 120, 481, 134}, 493}, // 22:00 to 02:00 ...
        {kPortrait, 3, 0, 120, false, {146, 137, 147, 151}, 147},     // ... on two rows
        {kWholeDay, 1, 0, 120, true, {146, 71, 219, 85}, 159},
    };
    for (const Case& c : cases) {
        const BarGeometry bar = c.geometry.Bar(c.day, c.start, c.end, false);
        EXPECT_EQ(std::tuple(bar.visible, bar.frame, bar.text.x),
                  std::tuple(c.visible, c.frame, c.textX))
            << c.start << "-" << c.end;
        EXPECT_EQ(bar.rightMarkEnd, c.frame.right);
    }
    const BarGeometry allDay = kPortrait.Bar(2, 0, 1440, true);
    EXPECT_TRUE(allDay.visible && allDay.start.clippedBefore && allDay.end.clippedAfter);
    EXPECT_EQ(allDay.frame, (PixelRect{146, 120, 481, 134}));
    EXPECT_EQ(allDay.allDayInterior, (PixelRect{150, 124, 477, 130}));
    const BarGeometry noon = kPortrait.Bar(2, 720, 780, false);
    EXPECT_EQ(kPortrait.ConflictBand(2, noon, 200), (PixelRect{182, 121, 199, 133}));
    EXPECT_EQ(kPortrait.HiddenBeforeIcon(2), (PixelPoint{147, 121}));
}

TEST(GanttGeometry, HitTestsAndScrollThumb)
{
    const std::vector<std::pair<PixelPoint, std::optional<int>>> days = {
        {{10, 84}, std::nullopt}, {{10, 85}, 0}, {{479, 542}, 26}, {{480, 100}, std::nullopt}};
    for (const auto& [point, day] : days) {
        EXPECT_EQ(kPortrait.DayAt(point.x, point.y), day) << point.x << "," << point.y;
    }
    EXPECT_EQ(kGrid.DayAt(239, 53), 6); // the sliver right of the last column
    EXPECT_EQ(GanttGeometry(ViewLayout::Compute(1, 1, LayoutInput{})).DayAt(0, 5), std::nullopt);
    using Kind = DetailHit::Kind;
    // clang-format off
    struct Tap { int x, y, scroll, total; std::optional<DetailHit> want; };
    // clang-format on
    const std::vector<Tap> taps = {
        {10, 600, 0, 3, DetailHit{Kind::Line, 2}},
        {470, 550, 0, 12, DetailHit{Kind::LineAbove}},
        {470, 600, 0, 12, DetailHit{Kind::ScrollTrack}},
        {464, 550, 0, 12, DetailHit{Kind::Line, 0}},
        {10, 543, 0, 3, std::nullopt},
    };
    for (const Tap& tap : taps) {
        EXPECT_EQ(kPortrait.DetailAt(tap.x, tap.y, tap.scroll, tap.total), tap.want) << tap.x;
    }
    // Twelve lines where five fit: the thumb moves by 84 / 12 pixels a line and stays on track.
    const GanttGeometry five(Layout(480, 626, [](LayoutInput& in) { in.InfoAreaHeight = 110; }));
    EXPECT_FALSE(five.ScrollBarShown(5));
    EXPECT_EQ(five.ScrollThumb(0, 12), (PixelRect{465, 526, 481, 561}));
    EXPECT_EQ(five.ScrollThumb(10, 12), (PixelRect{465, 596, 481, 610}));
    EXPECT_EQ(kPortrait.DetailSelectionFrame(2, 1, 12), (PixelRect{0, 566, 464, 587}));
}
} // namespace
