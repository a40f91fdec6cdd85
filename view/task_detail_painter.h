// Draws the task strip of a Gantt row and the detail area that lists the selected day's tasks and
// appointments, one line each, with its scroll bar. The detail pass also yields the line map
// that relates a detail line to the item it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "view/conflict_tracker.h"
#include "view/paint_context.h"

// Lines of one detail pass: the item index of every counted line, in order. Kept as numbers
// rather than four-digit text, so a day of ten thousand items cannot garble the map.
struct DetailLines {
    std::vector<int> lineItems;
    int taskLines = 0;
    int appointmentLines = 0;
    int total = 0;

    // Item index of line L; -1 when the pass has no such line.
    int ItemOf(int line) const;
};

class TaskDetailPainter {
public:
    explicit TaskDetailPainter(const PaintContext& context) : c_(context) {}

    void PaintTaskStrip(int day) const;
    // The detail area for day row `row`, scrolled to `scroll`, with `selectedLine` framed.
    DetailLines PaintDetail(int row, int scroll, int selectedLine) const;

    // The texts the detail list shows (without icon).
    std::wstring TaskDetailText(int day, int pos) const;
    std::wstring AppointmentDetailText(int day, int pos) const;
    // Where the icon of detail line `line` is drawn (the meeting mark sits in its corner);
    // empty when the line is scrolled out of the area.
    PixelRect DetailIconRect(int line, int scroll, int iconInset) const;

private:
    bool TaskListed(int day, int pos) const;
    int TaskDetailIcon(int day, int pos) const;
    int AppointmentDetailIcon(int day, int pos, ConflictTracker& conflicts) const;
    // What a detail line shows before its text: the icon, its inset and the calendar's colour.
    struct DetailLineLook {
        int icon = 0;
        int iconInset = 0;
        std::optional<uint32_t> calendar;
    };
    void PaintDetailLine(int line, int scroll, const DetailLineLook& look, const std::wstring& text,
                         bool scrollBar) const;
    void PaintScrollBar(int scroll, int total) const;
    void PaintMeetingMark(int line, int scroll, int iconInset) const;

    PaintContext c_;
};
