// The view's layout computation. Settings arrive as stored; every value that is divided by or
// sized with passes the usable ranges first, and counts derived from a client too small for the
// fixed parts stay at zero instead of going negative.
#include "view/view_layout.h"

#include "settings/usable_range.h"
#include "view/navigation.h"

#include <algorithm>

namespace {

constexpr int kLargeTileSize = 32;
constexpr int kSmallTileSize = 16;
constexpr int kSmallClientLimit = 320;
constexpr int kDefaultTaskAreaWidth = 96;
constexpr int kHoursPerDay = 24;

void SetFontSizes(ViewLayout& layout, const LayoutInput& input)
{
    const int main = usable::FontSize(input.MainFontSize);
    const int detail = usable::FontSize(input.DetailFontSize);
    layout.mainFontSize = main;
    layout.detailFontSize = detail;
    layout.dayRowHeight = main + 5;
    layout.barTextHeight = main + 2;
    layout.headerFontSize = main + 4;
    layout.headerHeight = main + 8;
    layout.detailLineHeight = detail + 5;
    layout.dateColumnWidth = input.dateColumnWidth > 0 ? input.dateColumnWidth : 4 * main;
}

void SetTiles(ViewLayout& layout)
{
    layout.largeTiles =
        layout.clientWidth >= kSmallClientLimit && layout.clientHeight >= kSmallClientLimit;
    layout.tileSize = layout.largeTiles ? kLargeTileSize : kSmallTileSize;
    layout.lineScale = layout.largeTiles ? 2 : 1;
}

int TaskAreaWidth(const LayoutInput& input)
{
    if (!input.TaskAreaVisible) {
        return 0;
    }
    return input.TaskAreaWidth < 0 ? kDefaultTaskAreaWidth : usable::AreaSize(input.TaskAreaWidth);
}

// Detail size from its setting, or a share of the client when the setting is not positive.
int DetailSize(bool visible, int setting, int clientSize, int share)
{
    if (!visible) {
        return 0;
    }
    return setting >= 1 ? usable::AreaSize(setting) : clientSize / share;
}

// When the hours fit the width, a wide window gives the detail area a quarter of itself (up to
// about 28 lines' height, where lines of appointments read whole) rather than leave it at the
// narrow width set for a handheld; the setting stays the least width.
int ReadableDetailWidth(const ViewLayout& layout)
{
    return std::min(layout.clientWidth / 4, 28 * layout.detailLineHeight);
}

// Places the strips and rows with the detail area below the chart; returns the free hour width.
int PlaceDetailAtBottom(ViewLayout& layout, int detailHeight)
{
    const int tile = layout.tileSize;
    if (!layout.ganttAreaVisible) {
        layout.taskAreaWidth = std::max(0, layout.clientWidth - layout.dateColumnWidth);
    }
    layout.strip1Pos = {0, 0};
    if (layout.portrait) {
        layout.strip2Pos = {0, tile};
        layout.buttonBarHeight = 2 * tile;
    } else {
        layout.strip2Pos = {ViewLayout::kButtonsPerStrip * tile, 0};
        layout.buttonBarHeight = tile;
    }
    layout.rowsTop = layout.buttonBarHeight + layout.headerHeight;
    layout.dayRowCount =
        (layout.clientHeight - layout.rowsTop - detailHeight) / layout.dayRowHeight;
    return layout.clientWidth - layout.dateColumnWidth - layout.taskAreaWidth;
}

// Places the strips and rows with the detail area right of the chart; returns the free hour width.
int PlaceDetailAtRight(ViewLayout& layout, int detailWidth)
{
    const int tile = layout.tileSize;
    if (!layout.ganttAreaVisible) {
        layout.taskAreaWidth =
            std::max(0, layout.clientWidth - layout.dateColumnWidth - detailWidth);
    }
    layout.strip1Pos = {0, 0};
    layout.strip2Pos = {ViewLayout::kButtonsPerStrip * tile, 0};
    layout.buttonBarHeight = tile;
    layout.rowsTop = layout.headerHeight + tile;
    layout.dayRowCount = (layout.clientHeight - layout.headerHeight - tile) / layout.dayRowHeight;
    return layout.clientWidth - layout.dateColumnWidth - layout.taskAreaWidth - detailWidth;
}

// Scrolls the hour window back near the current hour after a turn of the device or on request,
// then keeps it within the day.
void SetHourWindow(ViewLayout& layout, const LayoutInput& input)
{
    const bool turned = !input.previousPortrait || *input.previousPortrait != layout.portrait;
    int first = input.firstHour;
    if (input.recomputeFirstHour || turned) {
        first = std::max(input.currentHour - layout.hourCount / 3,
                         usable::StartHour(input.DefaultStartHour));
    }
    layout.hourCount = std::min(layout.hourCount, kHoursPerDay);
    if (first < 0 || layout.hourCount == kHoursPerDay) {
        first = 0;
    } else if (first + layout.hourCount > kHoursPerDay) {
        first = kHoursPerDay - layout.hourCount;
    }
    layout.firstHour = first;
    layout.lastHour = first + layout.hourCount;
}

void SetChartAndDetail(ViewLayout& layout, int detailHeight, int detailWidth)
{
    const int width = layout.clientWidth;
    const int height = layout.clientHeight;
    if (layout.detailAtBottom) {
        layout.chartRight = width;
        layout.chartBottom = layout.ganttRows
                                 ? layout.rowsTop + layout.dayRowHeight * layout.dayRowCount
                                 : height - detailHeight;
        layout.detailRect = {0, layout.chartBottom + 1, width, height};
    } else {
        layout.chartRight = layout.ganttRows ? layout.dateColumnWidth + layout.taskAreaWidth +
                                                   layout.hourCount * layout.hourPixels
                                             : width - detailWidth;
        layout.extraMinutes = 0;
        layout.chartBottom = height;
        layout.detailRect = {layout.chartRight + 1, layout.tileSize + 1, width, height};
    }
}

// The month grid's cells; in grid mode the chart shrinks to whole cells.
void SetGridCells(ViewLayout& layout)
{
    layout.cellWidth = std::max(0, layout.chartRight / 7);
    layout.weekRowHeight = std::max(0, layout.chartBottom - layout.rowsTop) / layout.weekCount;
    if (layout.ganttRows) {
        return;
    }
    if (layout.detailAtBottom) {
        layout.chartBottom = layout.rowsTop + layout.weekRowHeight * layout.weekCount;
        layout.detailRect.top = layout.chartBottom + 1;
    } else {
        layout.chartRight = layout.cellWidth * 7;
        layout.detailRect.left = layout.chartRight + 1;
    }
}

} // namespace

ViewLayout ViewLayout::Compute(int width, int height, const LayoutInput& input)
{
    ViewLayout layout;
    layout.clientWidth = std::max(0, width);
    layout.clientHeight = std::max(0, height);
    layout.ganttRows = input.CalendarType != 0;
    layout.ganttAreaVisible = input.CalendarAreaVisible;
    layout.taskAreaVisible = input.TaskAreaVisible;
    layout.detailVisible = input.InfoAreaVisible;
    layout.hourPixels = usable::OneHourPixel(input.OneHourPixel);
    layout.weekCount = usable::DispWeekCount(input.DispWeekCount);
    SetFontSizes(layout, input);
    SetTiles(layout);
    layout.taskAreaWidth = TaskAreaWidth(input);

    const int detailHeight =
        DetailSize(input.InfoAreaVisible, input.InfoAreaHeight, layout.clientHeight, 6);
    const int setWidth =
        DetailSize(input.InfoAreaVisible, input.InfoAreaWidth, layout.clientWidth, 4);
    const int detailWidth = input.FitHoursToWidth && input.InfoAreaVisible
                                ? std::max(setWidth, ReadableDetailWidth(layout))
                                : setWidth;
    layout.portrait = layout.clientHeight > layout.clientWidth;
    layout.detailAtBottom = layout.portrait || input.InfoAreaFixBottom;

    const int freeWidth =
        std::max(0, layout.detailAtBottom ? PlaceDetailAtBottom(layout, detailHeight)
                                          : PlaceDetailAtRight(layout, detailWidth));
    if (input.FitHoursToWidth) {
        layout.hourPixels = usable::OneHourPixel(nav::FitHourPixels(freeWidth));
    }
    layout.hourCount = freeWidth / layout.hourPixels;
    const int leftoverPixels = freeWidth - layout.hourCount * layout.hourPixels;

    if (!layout.ganttRows) {
        layout.dayRowCount = layout.weekCount * 7;
    }
    layout.dayRowCount = std::clamp(layout.dayRowCount, 0, kMaxDayRows);

    SetHourWindow(layout, input);
    layout.extraMinutes = leftoverPixels * 60 / layout.hourPixels;
    SetChartAndDetail(layout, detailHeight, detailWidth);
    SetGridCells(layout);
    layout.detailLineCount =
        std::max(0, (layout.clientHeight - layout.detailRect.top) / layout.detailLineHeight);
    return layout;
}

PixelRect ViewLayout::ButtonRect(int index) const
{
    const bool firstStrip = index < kButtonsPerStrip;
    const PixelPoint origin = firstStrip ? strip1Pos : strip2Pos;
    const int left = origin.x + (firstStrip ? index : index - kButtonsPerStrip) * tileSize;
    return {left, origin.y, left + tileSize, origin.y + tileSize};
}

PixelRect ViewLayout::FocusIndicatorRect() const
{
    return {clientWidth - tileSize, strip2Pos.y, clientWidth, strip2Pos.y + tileSize};
}

std::vector<PixelRect> ViewLayout::ButtonBarFillers() const
{
    std::vector<PixelRect> fillers;
    const int stripsRight = strip2Pos.x + kButtonsPerStrip * tileSize;
    if (stripsRight >= clientWidth) {
        return fillers;
    }
    fillers.push_back({stripsRight, 0, clientWidth, tileSize});
    if (TwoButtonRows()) {
        fillers.push_back({stripsRight, tileSize, clientWidth, 2 * tileSize});
    }
    return fillers;
}

// The line under the bar (y == buttonBarHeight) is not a button: taking it as the next tile
// row would run a strip-2 action from a tap under strip 1. Right of strip 2 in one row there is
// no button either: an index past 19 would leave the key focus on a filler.
int ViewLayout::ButtonAt(int x, int y) const
{
    if (x < 0 || x >= clientWidth || y < 0 || y >= buttonBarHeight) {
        return -1;
    }
    const int column = x / tileSize;
    if (TwoButtonRows() && column >= kButtonsPerStrip) {
        return 0;
    }
    const int index = column + kButtonsPerStrip * (y / tileSize);
    return index < 2 * kButtonsPerStrip ? index : -1;
}
