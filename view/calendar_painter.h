// Draws the calendar grid of whole weeks: each cell's day colour, label and border (the months
// divided by a staircase of doubled edges), one line per task and appointment with its icon, the
// overflow icon, the header with the year and the two months, and the today and selection frames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "view/calendar_geometry.h"
#include "view/paint_context.h"

// One item line of a cell.
struct CellItem {
    bool task = false;
    int pos = 0; // in the day's task or appointment list
    int icon = 0;
    std::wstring text;
    std::optional<uint32_t> calendar{}; // the colour of the item's calendar, when marked
    bool operator==(const CellItem&) const = default;
};

class CalendarPainter {
public:
    explicit CalendarPainter(const PaintContext& context) : c_(context), grid_(context.layout) {}

    // The items cell `day` lists from line 1 on, tasks first, at most `limit` of them. Taps on a
    // cell line find their item here too.
    static std::vector<CellItem> CellItems(const DayEntries& entries, const DrawSettings& settings,
                                           const ViewLayout& layout, int day, int limit);

    void PaintCellBackground(int day) const;
    void PaintCellContents(int day) const;
    void PaintHeader() const;
    void PaintFrames() const;

private:
    PaintContext c_;
    CalendarGeometry grid_;
};
