// Positions inside the schedule body for one layout: day rows, the hour scale, appointment bars
// and their labels, the task strip, the detail list and the hit tests that map a point back to a
// day, a minute or a detail line. Drawing and pointer handling both use these.
#pragma once

#include "view/view_layout.h"

#include <optional>
#include <vector>

// A time of day turned into x, with the marks for times outside the shown hours.
struct ClippedX {
    int x = 0;
    bool clippedBefore = false;
    bool clippedAfter = false;
    bool operator==(const ClippedX&) const = default;
};

// Where an appointment bar of one row and its parts go.
struct BarGeometry {
    ClippedX start;
    ClippedX end;
    // False when the item lies wholly before or after the shown hours: no bar, only an icon.
    bool visible = false;
    PixelRect frame;
    std::optional<PixelRect> allDayInterior;
    // The icon is left out when the start is clipped: the left mark takes its place.
    PixelPoint icon;
    PixelPoint text;
    // The right edge of the right mark, drawn right-aligned when the end is clipped.
    int rightMarkEnd = 0;
    // The calendar's band inside the left end of the frame; empty unless asked for.
    PixelRect calendarBand{};
};

// One hour line of the header scale.
struct HourMark {
    int x = 0;
    int hour = 0;
    bool solid = false;    // black for the left edge and every sixth hour, dashed otherwise
    bool labelled = false; // the label of the left edge would cover the date column
    bool operator==(const HourMark&) const = default;
};

// The now marker's part that lies inside the hour area, as stretched from its 16-pixel tile.
struct NowMarkerGeometry {
    PixelRect target;
    int sourceLeft = 0;
    int sourceRight = 0;
    bool operator==(const NowMarkerGeometry&) const = default;
};

// What a tap in the detail area means.
struct DetailHit {
    enum class Kind { LineAbove, LineBelow, ScrollTrack, Line };
    Kind kind = Kind::Line;
    int line = 0; // for Kind::Line
    bool operator==(const DetailHit&) const = default;
};

class GanttGeometry {
public:
    static constexpr int kNowMarkerTile = 16;
    static constexpr int kScrollBarWidth = 16;

    explicit GanttGeometry(const ViewLayout& layout) : layout_(layout) {}

    // Rectangle of day row d in either mode; hourAreaOnly leaves out the date and task columns.
    PixelRect DayRect(int day, bool hourAreaOnly = false) const;
    int HourAreaLeft() const { return layout_.dateColumnWidth + layout_.taskAreaWidth; }
    int HourAreaRight() const;

    // x of a time of day without clipping (drag ghosts measure with it).
    int XOfMinute(int minutes) const;
    ClippedX StartX(int minutes) const { return ClippedXOf(minutes, false); }
    ClippedX EndX(int minutes) const { return ClippedXOf(minutes, true); }
    // Minute of the day under x; -1 left of the hour area or past the day's end.
    int MinuteAt(int x) const;

    // With `calendarBand` the bar makes room for its calendar's band: icon and text move right.
    BarGeometry Bar(int day, int startMinutes, int endMinutes, bool allDay,
                    bool calendarBand = false) const;
    // The red band over the part of a bar that earlier busy items already cover.
    PixelRect ConflictBand(int day, const BarGeometry& bar, int busyEnd) const;
    PixelPoint HiddenBeforeIcon(int day) const;
    PixelPoint HiddenAfterIcon(int day) const;

    PixelRect HeaderRect() const;
    PixelPoint HeaderLabelPos() const { return {3, layout_.buttonBarHeight + 2}; }
    std::vector<HourMark> HourMarks() const;
    int HourLabelTop() const { return layout_.rowsTop - layout_.mainFontSize - 5; }

    PixelPoint RowLabelPos(int day) const { return {2, RowTop(day) + 2}; }
    PixelPoint HolidayNamePos(int day) const;
    // Frames of a Gantt row; the grid's are CalendarGeometry's.
    PixelRect TodayFrame(int day) const;
    PixelRect SelectionFrame(int day) const;
    std::optional<NowMarkerGeometry> NowMarker(int day, int hour, int minute) const;

    // Task strip of a Gantt row: its frame, and the icon and text of a task at offset o.
    PixelRect TaskFrame(int day) const;
    PixelPoint TaskIcon(int day, int offset) const;
    PixelPoint TaskText(int day, int offset) const;
    int NextTaskOffset(int offset, int textWidth) const;

    // Detail list: the frame, the text top of line L (none when scrolled out), the scroll bar.
    PixelRect DetailFrame() const;
    std::optional<int> DetailLineTop(int line, int scroll) const;
    bool ScrollBarShown(int total) const { return total > layout_.detailLineCount; }
    PixelRect ScrollBarRect() const;
    PixelRect ScrollThumb(int scroll, int total) const;
    PixelRect DetailSelectionFrame(int selected, int scroll, int total) const;

    bool InChart(int x, int y) const { return layout_.InChart(x, y); }
    // Day row (Gantt) or cell index (grid) under a point of the chart; none outside it.
    std::optional<int> DayAt(int x, int y) const;
    bool InTaskArea(int x) const;
    // Meaning of a tap inside detailRect; none outside it.
    std::optional<DetailHit> DetailAt(int x, int y, int scroll, int total) const;

private:
    int RowTop(int day) const { return layout_.rowsTop + layout_.dayRowHeight * day; }
    ClippedX ClippedXOf(int minutes, bool isEnd) const;

    ViewLayout layout_;
};
