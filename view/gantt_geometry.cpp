// Positions inside the schedule body. Minutes and pixels meet through integer arithmetic that
// truncates, so a bar, the tap that hits it and the drag that moves it agree on every pixel.
#include "view/gantt_geometry.h"

#include "view/calendar_geometry.h"
#include "view/calendar_mark.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kHoursPerDay = 24;
constexpr int kScrollArrowHeight = 16;

} // namespace

PixelRect GanttGeometry::DayRect(int day, bool hourAreaOnly) const
{
    if (!layout_.ganttRows) {
        return CalendarGeometry(layout_).CellRect(day);
    }
    const int top = RowTop(day);
    return {hourAreaOnly ? HourAreaLeft() : 0, top, layout_.chartRight, top + layout_.dayRowHeight};
}

int GanttGeometry::HourAreaRight() const
{
    return HourAreaLeft() + (layout_.lastHour - layout_.firstHour) * layout_.hourPixels;
}

int GanttGeometry::XOfMinute(int minutes) const
{
    const std::int64_t offset =
        std::int64_t{minutes} - std::int64_t{layout_.firstHour} * kMinutesPerHour;
    return HourAreaLeft() + static_cast<int>(offset * layout_.hourPixels / kMinutesPerHour);
}

// An end that falls exactly on a boundary still belongs inside: a bar ending at the first hour
// is hidden, one starting at the last shown minute is clipped after.
ClippedX GanttGeometry::ClippedXOf(int minutes, bool isEnd) const
{
    const int firstMinute = layout_.firstHour * kMinutesPerHour;
    const int lastMinute = layout_.lastHour * kMinutesPerHour + layout_.extraMinutes;
    ClippedX result;
    if (isEnd ? minutes <= firstMinute : minutes < firstMinute) {
        result.clippedBefore = true;
        result.x = std::min(layout_.chartRight, HourAreaLeft());
    } else if (isEnd ? minutes <= lastMinute : minutes < lastMinute) {
        result.x = std::min(layout_.chartRight, XOfMinute(minutes));
    } else {
        result.clippedAfter = true;
        result.x = layout_.chartRight;
    }
    return result;
}

// Minutes past 24:00 within the last shown hour are kept: a drag there means the next day.
int GanttGeometry::MinuteAt(int x) const
{
    const int pixels = x - HourAreaLeft();
    if (pixels < 0 || layout_.firstHour + pixels / layout_.hourPixels > kHoursPerDay) {
        return -1;
    }
    return pixels * kMinutesPerHour / layout_.hourPixels + layout_.firstHour * kMinutesPerHour;
}

BarGeometry GanttGeometry::Bar(int day, int startMinutes, int endMinutes, bool allDay,
                               bool calendarBand) const
{
    const int top = RowTop(day);
    const int y = top + 3;
    const int font = layout_.mainFontSize;
    BarGeometry bar;
    bar.start = StartX(startMinutes);
    bar.end = EndX(endMinutes);
    bar.visible = !bar.end.clippedBefore && !bar.start.clippedAfter;
    const int x0 = bar.start.x;
    const int x1 = bar.end.x;
    bar.frame = {x0, y - 1, x1 + 1, y + font + 1};
    if (allDay) {
        const int inset = layout_.dayRowHeight / 4;
        bar.allDayInterior =
            PixelRect{x0 + inset, top + inset + 2, x1 - inset + 1, top - inset + font + 4};
    }
    bar.icon = {x0 + 1, y};
    bar.text = {bar.start.clippedBefore ? x0 + 1 : x0 + font + 1, y};
    bar.rightMarkEnd = x1 + 1;
    if (calendarBand) {
        // A bar too short for the whole band shows what fits inside its outline.
        const int width = std::clamp(x1 - x0 - 1, 0, kCalendarBandWidth);
        bar.calendarBand = {x0 + 1, y, x0 + 1 + width, y + font};
        // The band and the line of the bar's outline colour that parts it from the bar.
        bar.icon.x += kCalendarBandWidth + 1;
        bar.text.x += kCalendarBandWidth + 1;
    }
    return bar;
}

PixelRect GanttGeometry::ConflictBand(int day, const BarGeometry& bar, int busyEnd) const
{
    const int top = RowTop(day);
    return {bar.start.x, top + 3, std::min(busyEnd, bar.end.x) - 1, top + layout_.mainFontSize + 3};
}

PixelPoint GanttGeometry::HiddenBeforeIcon(int day) const
{
    return {HourAreaLeft() + 1, RowTop(day) + 3};
}

PixelPoint GanttGeometry::HiddenAfterIcon(int day) const
{
    const int hp = layout_.hourPixels;
    const int x = layout_.extraMinutes * hp / kMinutesPerHour +
                  (layout_.lastHour - layout_.firstHour) * hp - layout_.mainFontSize +
                  HourAreaLeft();
    return {x, RowTop(day) + 3};
}

PixelRect GanttGeometry::HeaderRect() const
{
    return {0, layout_.buttonBarHeight, layout_.chartRight,
            layout_.buttonBarHeight + layout_.headerHeight};
}

std::vector<HourMark> GanttGeometry::HourMarks() const
{
    std::vector<HourMark> marks;
    if (!layout_.ganttAreaVisible) {
        return marks;
    }
    for (int i = 0; i <= layout_.hourCount; ++i) {
        const int hour = layout_.firstHour + i;
        if (hour > kHoursPerDay) {
            break;
        }
        marks.push_back({HourAreaLeft() + i * layout_.hourPixels, hour, i == 0 || hour % 6 == 0,
                         i > 0 || layout_.taskAreaVisible});
    }
    return marks;
}

PixelPoint GanttGeometry::HolidayNamePos(int day) const
{
    return {layout_.dateColumnWidth + 2, RowTop(day) + 3};
}

PixelRect GanttGeometry::TodayFrame(int day) const
{
    const int top = RowTop(day);
    return {1, top + 2, layout_.dateColumnWidth - 1, top + layout_.mainFontSize + 4};
}

PixelRect GanttGeometry::SelectionFrame(int day) const
{
    const int top = RowTop(day);
    return {0, top + 2, layout_.chartRight, top + layout_.mainFontSize + 4};
}

// The marker is centred on the time and cut where it would leave the hour area.
std::optional<NowMarkerGeometry> GanttGeometry::NowMarker(int day, int hour, int minute) const
{
    const int minutes = (hour - layout_.firstHour) * kMinutesPerHour + minute;
    const int x =
        minutes * layout_.hourPixels / kMinutesPerHour + HourAreaLeft() - kNowMarkerTile / 2;
    const int left = HourAreaLeft();
    if (x + kNowMarkerTile < left || x >= layout_.chartRight) {
        return std::nullopt;
    }
    const int cutLeft = x < left ? left - x : 0;
    const int cutRight = std::max(0, x + kNowMarkerTile - layout_.chartRight);
    const int height = layout_.mainFontSize + 4;
    const int width = height - cutLeft - cutRight;
    if (width <= 0 || kNowMarkerTile - cutLeft - cutRight <= 0) {
        return std::nullopt;
    }
    const int top = RowTop(day) + 1;
    return NowMarkerGeometry{
        {x + cutLeft, top, x + cutLeft + width, top + height}, cutLeft, kNowMarkerTile - cutRight};
}

PixelRect GanttGeometry::TaskFrame(int day) const
{
    const int y = RowTop(day) + 3;
    return {layout_.dateColumnWidth + 1, y - 1, HourAreaLeft(), y + layout_.mainFontSize + 1};
}

PixelPoint GanttGeometry::TaskIcon(int day, int offset) const
{
    return {layout_.dateColumnWidth + 1 + offset, RowTop(day) + 3};
}

PixelPoint GanttGeometry::TaskText(int day, int offset) const
{
    return {layout_.dateColumnWidth + layout_.mainFontSize + offset + 2, RowTop(day) + 3};
}

int GanttGeometry::NextTaskOffset(int offset, int textWidth) const
{
    return offset + layout_.mainFontSize + textWidth + 4;
}

PixelRect GanttGeometry::DetailFrame() const
{
    const PixelRect& area = layout_.detailRect;
    if (layout_.detailAtBottom) {
        return {area.left - 1, area.top, area.right + 1, area.bottom + 1};
    }
    return {area.left, area.top - 1, area.right + 1, area.bottom + 1};
}

std::optional<int> GanttGeometry::DetailLineTop(int line, int scroll) const
{
    if (line < scroll || line >= scroll + layout_.detailLineCount) {
        return std::nullopt;
    }
    return layout_.detailRect.top + (line - scroll) * layout_.detailLineHeight + 2;
}

PixelRect GanttGeometry::ScrollBarRect() const
{
    const int left = layout_.clientWidth - (kScrollBarWidth - 1);
    return {left, layout_.detailRect.top, left + kScrollBarWidth, layout_.detailRect.bottom};
}

// The thumb stays on the track between the arrows even when the area is shorter than both
// arrows or the list is scrolled past its end.
PixelRect GanttGeometry::ScrollThumb(int scroll, int total) const
{
    const PixelRect bar = ScrollBarRect();
    if (total <= 0) {
        return {bar.left, bar.top, bar.right, bar.top};
    }
    const std::int64_t track = std::max(0, bar.Height() - 2 * kScrollArrowHeight);
    const int trackTop = bar.top + kScrollArrowHeight;
    auto position = [&](std::int64_t line) {
        const std::int64_t inTrack = std::clamp<std::int64_t>(track * line / total, 0, track);
        return trackTop + static_cast<int>(inTrack);
    };
    return {bar.left, position(scroll), bar.right,
            position(std::int64_t{scroll} + layout_.detailLineCount)};
}

PixelRect GanttGeometry::DetailSelectionFrame(int selected, int scroll, int total) const
{
    const PixelRect& area = layout_.detailRect;
    const int top = area.top + (selected - scroll) * layout_.detailLineHeight + 1;
    const int right = ScrollBarShown(total) ? area.right - kScrollBarWidth : area.right;
    return {area.left, top, right, top + layout_.detailLineHeight};
}

std::optional<int> GanttGeometry::DayAt(int x, int y) const
{
    if (!layout_.ganttRows) {
        return CalendarGeometry(layout_).CellAt(x, y);
    }
    if (!layout_.InChart(x, y)) {
        return std::nullopt;
    }
    return (y - layout_.rowsTop) / layout_.dayRowHeight;
}

bool GanttGeometry::InTaskArea(int x) const
{
    return x > layout_.dateColumnWidth && x < HourAreaLeft();
}

std::optional<DetailHit> GanttGeometry::DetailAt(int x, int y, int scroll, int total) const
{
    const PixelRect& area = layout_.detailRect;
    if (!area.Contains(x, y)) {
        return std::nullopt;
    }
    if (ScrollBarShown(total) && x > area.right - kScrollBarWidth) {
        if (y < area.top + kScrollArrowHeight) {
            return DetailHit{DetailHit::Kind::LineAbove};
        }
        if (y >= area.bottom - kScrollArrowHeight) {
            return DetailHit{DetailHit::Kind::LineBelow};
        }
        return DetailHit{DetailHit::Kind::ScrollTrack};
    }
    return DetailHit{DetailHit::Kind::Line, (y - area.top) / layout_.detailLineHeight + scroll};
}
