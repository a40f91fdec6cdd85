// Positions inside the calendar grid. A cell shows as many item lines as begin inside it; the
// line that cannot be shown whole marks the cell as overflowing, so the corner icon says so.
#include "view/calendar_geometry.h"

#include "view/calendar_mark.h"

#include <algorithm>

namespace {

PixelRect Intersect(const PixelRect& a, const PixelRect& b)
{
    PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    if (r.Width() <= 0 || r.Height() <= 0) {
        return {a.left, a.top, a.left, a.top};
    }
    return r;
}

// The segments of a path drawn point to point, each without its end point.
void AddPath(std::vector<PixelLine>& lines, std::initializer_list<PixelPoint> points)
{
    const PixelPoint* previous = nullptr;
    for (const PixelPoint& point : points) {
        if (previous != nullptr) {
            lines.push_back({*previous, point});
        }
        previous = &point;
    }
}

} // namespace

PixelRect CalendarGeometry::CellRect(int day) const
{
    const int left = layout_.cellWidth * (day % kDaysPerWeek);
    const int top = layout_.rowsTop + layout_.weekRowHeight * (day / kDaysPerWeek);
    return {left, top, left + layout_.cellWidth, top + layout_.weekRowHeight};
}

PixelPoint CalendarGeometry::LabelPos(int day) const
{
    const PixelRect cell = CellRect(day);
    return {cell.left + 3, cell.top + 3};
}

CellIcon CalendarGeometry::IconIn(const PixelRect& cell, PixelPoint at) const
{
    const int size = layout_.mainFontSize;
    const PixelRect square{at.x, at.y, at.x + size, at.y + size};
    return {square, Intersect(square, cell)};
}

CellLine CalendarGeometry::Line(int day, int n, bool task, bool calendarBand) const
{
    const PixelRect cell = CellRect(day);
    const int font = layout_.mainFontSize;
    const int y = LineTop(cell, n);
    // The band keeps clear of the selected cell's frame (its left two pixels inside the edge).
    constexpr int kBandInset = 3;
    const int shift = calendarBand ? kBandInset + kCalendarBandWidth : 0;
    CellLine line;
    line.drawn = y < cell.bottom;
    line.overflows = !line.drawn || y + font > cell.bottom;
    line.icon = IconIn(cell, {cell.left + 1 + shift, y});
    line.text = {cell.left + font + (task ? 3 : 2) + shift, y};
    if (calendarBand) {
        line.calendarBand = Intersect(
            {cell.left + kBandInset, y, cell.left + kBandInset + kCalendarBandWidth, y + font},
            cell);
    }
    // Cut at the cell bottom like the icon: the cell below is already painted.
    line.taskFrame =
        Intersect({cell.left + 2, y - 1, cell.left + layout_.cellWidth, y + font + 1}, cell);
    return line;
}

int CalendarGeometry::LineCapacity(int day) const
{
    const int room = CellRect(day).Height() - 4;
    return room >= 0 ? room / LineStep() : 0;
}

std::vector<PixelLine> CalendarGeometry::Edges(int day, int dayOfMonth) const
{
    const auto [l, t, r, b] = CellRect(day);
    const int s = layout_.lineScale;
    const bool firstWeek = dayOfMonth >= 1 && dayOfMonth <= 7;
    const bool monthStartsInside = dayOfMonth == 1 && day % kDaysPerWeek != 0;
    std::vector<PixelLine> lines;
    AddPath(lines, {{l, b}, {l, t}, {r, t}});
    if (firstWeek) {
        AddPath(lines, {{r, t}, {r, t + s}, {l, t + s}});
        if (monthStartsInside) {
            AddPath(lines, {{l, t + s}, {l + s, t + s}, {l + s, b}});
        }
        if (s == 2) {
            AddPath(lines, {{r, t + 1}, {l, t + 1}});
            if (monthStartsInside) {
                AddPath(lines, {{l, t + 1}, {l + 1, t + 1}, {l + 1, b}});
            }
        }
    }
    if (day / kDaysPerWeek >= layout_.weekCount - 1) {
        lines.push_back({{l, b}, {r, b}});
    }
    if (day % kDaysPerWeek == kDaysPerWeek - 1) {
        lines.push_back({{r, t}, {r, b}});
    }
    return lines;
}

CellIcon CalendarGeometry::OverflowIcon(int day) const
{
    const PixelRect cell = CellRect(day);
    const int size = layout_.mainFontSize;
    return IconIn(cell, {cell.right - size - 1, cell.bottom - size - 1});
}

PixelRect CalendarGeometry::TodayFrame(int day) const
{
    const PixelRect cell = CellRect(day);
    return {cell.left + 2, cell.top + 2, cell.left + layout_.cellWidth - 1,
            cell.top + layout_.mainFontSize + 3};
}

PixelRect CalendarGeometry::SelectionFrame(int day) const
{
    const PixelRect cell = CellRect(day);
    return {cell.left + 2, cell.top + 2, cell.left + layout_.cellWidth - 1,
            cell.top + layout_.weekRowHeight - 1};
}

// A tap on the sliver right of the seventh column (the client width is rarely a multiple of
// seven) belongs to that column, not to the next week's first day.
std::optional<int> CalendarGeometry::CellAt(int x, int y) const
{
    if (!layout_.InChart(x, y) || layout_.cellWidth <= 0 || layout_.weekRowHeight <= 0) {
        return std::nullopt;
    }
    const int week = (y - layout_.rowsTop) / layout_.weekRowHeight;
    if (week >= layout_.weekCount) {
        return std::nullopt;
    }
    return week * kDaysPerWeek + std::min(x / layout_.cellWidth, kDaysPerWeek - 1);
}

std::optional<int> CalendarGeometry::LineAt(int day, int y) const
{
    const PixelRect cell = CellRect(day);
    if (y < cell.top || y >= cell.bottom || y < LineTop(cell, 1)) {
        return std::nullopt;
    }
    return (y - cell.top - 3) / LineStep();
}
