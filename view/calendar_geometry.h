// Positions inside the calendar grid of whole weeks: the cell of a day index, its label, its item
// lines with their icons and texts, the month staircase edges, the overflow icon, the today and
// selection frames, and the hit tests that map a point back to a cell and an item line.
#pragma once

#include <optional>
#include <vector>

#include "view/view_layout.h"

// An icon stretched to its square, and the part of it that lies inside its cell (the rest is cut).
struct CellIcon {
    PixelRect square;
    PixelRect shown;
    bool operator==(const CellIcon&) const = default;
};

// Item line n of a cell (n from 1; line 0 holds the label).
struct CellLine {
    // False when the line starts at or below the cell bottom: nothing of it is drawn.
    bool drawn = false;
    // The cell cannot show the line whole (not drawn, or its icon is cut at the bottom).
    bool overflows = false;
    CellIcon icon;
    PixelPoint text;
    PixelRect taskFrame;      // the frame behind a task line
    PixelRect calendarBand{}; // the item's calendar band, when asked for; cut to the cell
    bool operator==(const CellLine&) const = default;
};

class CalendarGeometry {
public:
    static constexpr int kDaysPerWeek = 7;

    explicit CalendarGeometry(const ViewLayout& layout) : layout_(layout) {}

    // Cell of day index d: column d mod 7, week row d / 7.
    PixelRect CellRect(int day) const;
    PixelPoint LabelPos(int day) const;
    // With `calendarBand` the band takes the line's left end and icon and text move right.
    CellLine Line(int day, int n, bool task, bool calendarBand = false) const;
    // Item lines that begin inside the cell; a cell lists at most this many items.
    int LineCapacity(int day) const;
    // The cell's border for a date that is day `dayOfMonth` of its month: left and top edges,
    // doubled along a month's first week and on the left of its first day (so the months are
    // divided by a staircase), and the bottom and right edges of the last row and column.
    std::vector<PixelLine> Edges(int day, int dayOfMonth) const;
    // The "more items" icon in the bottom-right corner, cut where it would rise above the cell.
    CellIcon OverflowIcon(int day) const;
    PixelRect TodayFrame(int day) const;
    PixelRect SelectionFrame(int day) const;

    // Cell under a point of the chart; none outside it.
    std::optional<int> CellAt(int x, int y) const;
    // Item line (from 1) of cell `day` under y; none on the label line or below the cell.
    std::optional<int> LineAt(int day, int y) const;

private:
    int LineStep() const { return layout_.mainFontSize + layout_.lineScale; }
    int LineTop(const PixelRect& cell, int n) const { return cell.top + LineStep() * n + 3; }
    CellIcon IconIn(const PixelRect& cell, PixelPoint at) const;

    ViewLayout layout_;
};
