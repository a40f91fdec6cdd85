// Layout figures worked out by hand for the usual client sizes, area switches and broken settings.
#include "view/view_layout.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {
enum Switch { kTask = 1, kGantt = 2, kInfo = 4, kFixBottom = 8, kGrid = 16 };
constexpr int kAllOn = kTask | kGantt | kInfo;

// Defaults of the settings, a measured date column of 50 and "now" at 14 o'clock.
LayoutInput Input(int switches)
{
    LayoutInput input;
    input.TaskAreaVisible = (switches & kTask) != 0;
    input.CalendarAreaVisible = (switches & kGantt) != 0;
    input.InfoAreaVisible = (switches & kInfo) != 0;
    input.InfoAreaFixBottom = (switches & kFixBottom) != 0;
    input.CalendarType = (switches & kGrid) != 0 ? 0 : 1;
    input.dateColumnWidth = 50;
    input.currentHour = 14;
    return input;
}

// tile, bar height, rowsTop, rows, hours, first, last, extra minutes, chart right and bottom,
// detail left, top, right, bottom, detail lines, task width, cell width, week row height.
using Expected = std::array<int, 18>;

// clang-format off
Expected Figures(const ViewLayout& l)
{
    const PixelRect& d = l.detailRect;
    return {l.tileSize, l.buttonBarHeight, l.rowsTop, l.dayRowCount, l.hourCount, l.firstHour,
            l.lastHour, l.extraMinutes, l.chartRight, l.chartBottom, d.left, d.top, d.right,
            d.bottom, l.detailLineCount, l.taskAreaWidth, l.cellWidth, l.weekRowHeight};
}
// clang-format on

struct Case {
    int width, height, switches;
    Expected want;
};

TEST(ViewLayout, ClientSizesAndAreaSwitches)
{
    // clang-format off
    const std::vector<Case> cases = {
        {240, 320, kAllOn,
         {16, 32, 52, 10, 2, 14, 16, 36, 240, 222, 0, 223, 240, 320, 4, 96, 34, 34}},
        {480, 640, kAllOn,
         {32, 64, 84, 27, 9, 11, 20, 16, 480, 543, 0, 544, 480, 640, 4, 96, 68, 91}},
        {800, 480, kAllOn,
         {32, 32, 52, 25, 12, 10, 22, 0, 578, 480, 579, 33, 800, 480, 21, 96, 82, 85}},
        {800, 480, kTask | kInfo,
         {32, 32, 52, 25, 0, 14, 14, 0, 600, 480, 601, 33, 800, 480, 21, 550, 85, 85}},
        {1920, 1080, kAllOn | kFixBottom | kGrid,
         {32, 32, 52, 35, 24, 0, 24, 16, 1920, 982, 0, 983, 1920, 1080, 4, 96, 274, 186}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Figures(ViewLayout::Compute(c.width, c.height, Input(c.switches))), c.want)
            << c.width << "x" << c.height << " switches " << c.switches;
    }
}

TEST(ViewLayout, FittedHoursLeaveAReadableDetailArea)
{
    // A wide window gives the detail area a quarter of its width (plus the pixels whole hours
    // leave over); a portrait window keeps its detail area below.
    LayoutInput input = Input(kAllOn);
    input.FitHoursToWidth = true;
    // clang-format off
    const std::vector<Case> cases = {
        {1920, 1080, kAllOn,
         {32, 32, 52, 60, 24, 0, 24, 0, 1418, 1080, 1419, 33, 1920, 1080, 49, 96, 202, 205}},
        {1080, 1920, kAllOn,
         {32, 64, 84, 66, 24, 0, 24, 34, 1080, 1206, 0, 1207, 1080, 1920, 33, 96, 154, 224}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Figures(ViewLayout::Compute(c.width, c.height, input)), c.want) << c.width;
    }
}

TEST(ViewLayout, BadSettingsAndOddClientsStaySane)
{
    using Change = void (*)(LayoutInput&);
    // clang-format off
    struct Odd { int width, height, switches; Change change; Expected want; };
    const std::vector<Odd> cases = {
        {480, 640, kAllOn, [](LayoutInput& in) { in.OneHourPixel = 100000; },  // wider than free
         {32, 64, 84, 27, 0, 14, 14, 33, 480, 543, 0, 544, 480, 640, 4, 96, 68, 91}},
        {480, 640, kAllOn, [](LayoutInput& in) { in.InfoAreaHeight = 0; },  // a sixth
         {32, 64, 84, 26, 9, 11, 20, 16, 480, 526, 0, 527, 480, 640, 5, 96, 68, 88}},
        {1000, 480, kAllOn,
         [](LayoutInput& in) { in.InfoAreaWidth = in.TaskAreaWidth = in.dateColumnWidth = -5; },
         {32, 32, 52, 25, 16, 8, 24, 0, 720, 480, 721, 33, 1000, 480, 21, 96, 102, 85}},
        {480, 640, kAllOn | kGrid, [](LayoutInput& in) { in.DispWeekCount = 0; },
         {32, 64, 84, 7, 9, 11, 20, 16, 480, 544, 0, 545, 480, 640, 4, 96, 68, 460}},
        {1, 1, kAllOn, [](LayoutInput&) {},
         {16, 16, 36, 0, 0, 14, 14, 0, 146, 1, 147, 17, 1, 1, 0, 96, 20, 0}},
        {480, 640, kAllOn, [](LayoutInput& in) { in.InfoAreaHeight = 100000; },
         {32, 64, 84, 0, 9, 11, 20, 16, 480, 84, 0, 85, 480, 640, 26, 96, 68, 0}},
    };
    // clang-format on
    for (const Odd& c : cases) {
        LayoutInput input = Input(c.switches);
        c.change(input);
        EXPECT_EQ(Figures(ViewLayout::Compute(c.width, c.height, input)), c.want)
            << &c - cases.data();
    }
    LayoutInput tinyFont = Input(kAllOn);
    tinyFont.MainFontSize = 0; // taken as 6: rows of 11 pixels, more than 66 would fit
    EXPECT_EQ(ViewLayout::Compute(1920, 1080, tinyFont).dayRowCount, 66);
}

TEST(ViewLayout, FirstHourFollowsTurnsAndStaysInTheDay)
{
    // clang-format off
    struct Turn { std::optional<bool> previousPortrait; bool recompute; int first, start, want; };
    const std::vector<Turn> cases = {
        {false, false, 3, 9, 3},  // same orientation keeps the scrolled hour
        {true, false, 3, 9, 10},  // a turn re-derives it: 14 - 12 / 3
        {false, true, 3, 11, 11}, // raised to DefaultStartHour
        {false, true, 3, 30, 12}, // 23 at most, then 12 hours must fit
        {false, false, -3, 9, 0},
    };
    // clang-format on
    for (const Turn& c : cases) {
        LayoutInput input = Input(kAllOn);
        input.previousPortrait = c.previousPortrait;
        input.recomputeFirstHour = c.recompute;
        input.firstHour = c.first;
        input.DefaultStartHour = c.start;
        const ViewLayout layout = ViewLayout::Compute(800, 480, input);
        EXPECT_EQ(std::pair(layout.firstHour, layout.lastHour), std::pair(c.want, c.want + 12));
    }
}

TEST(ViewLayout, ButtonStripsAndTheirHitTest)
{
    const ViewLayout portrait = ViewLayout::Compute(240, 320, Input(kAllOn));
    EXPECT_EQ(portrait.lineScale, 1);
    EXPECT_TRUE(portrait.detailAtBottom); // even with InfoAreaFixBottom off
    EXPECT_EQ(portrait.FocusIndicatorRect(), (PixelRect{224, 16, 240, 32}));
    EXPECT_EQ(portrait.FocusFrameRect(13), (PixelRect{49, 17, 63, 31}));
    EXPECT_EQ(portrait.ButtonBarFillers(),
              (std::vector<PixelRect>{{160, 0, 240, 16}, {160, 16, 240, 32}}));
    const ViewLayout landscape = ViewLayout::Compute(800, 480, Input(kAllOn));
    EXPECT_EQ(landscape.lineScale, 2);
    EXPECT_EQ(landscape.ButtonBarFillers(), (std::vector<PixelRect>{{640, 0, 800, 32}}));
    EXPECT_EQ(ViewLayout::Compute(320, 320, Input(kAllOn)).tileSize, 32);
    EXPECT_EQ(ViewLayout::Compute(320, 319, Input(kAllOn)).tileSize, 16);
    // clang-format off
    struct Tap { const ViewLayout& layout; int x, y, button; };
    // clang-format on
    const std::vector<Tap> taps = {
        {portrait, 20, 5, 1},    {portrait, 145, 17, 19}, {portrait, 170, 5, 0},
        {portrait, 230, 20, 0},  {portrait, 5, 32, -1},   {landscape, 320, 0, 10},
        {landscape, 640, 0, -1},
    };
    for (const Tap& tap : taps) {
        EXPECT_EQ(tap.layout.ButtonAt(tap.x, tap.y), tap.button) << tap.x << "," << tap.y;
    }
}
} // namespace
