// What a press on the view hits: a picture button, the detail list or its scroll arrows, a Gantt
// row (and the task or appointment under the pen) or a grid cell (and the item line tapped), and
// whether the press is on a task's check box.
// Pure functions of the layout and the day entries, so a test needs no pixels.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "view/day_entries.h"
#include "view/day_paint_rules.h"
#include "view/draw_settings.h"
#include "view/gantt_geometry.h"
#include "view/item_selection.h"

struct PressHit {
    enum class Area { kNone, kButtonBar, kDetail, kGanttRow, kGridCell };
    Area area = Area::kNone;
    int button = -1;                 // kButtonBar
    std::optional<DetailHit> detail; // kDetail
    int day = -1;                    // kGanttRow, kGridCell: the row or cell
    ItemKind kind = ItemKind::None;  // the item under the pen, if any
    int index = -1;                  // its position in the day's entries
    bool checkBox = false;           // on a task's check box: a strip icon or a detail line's
};

class PointerInput {
public:
    // The pixel width of a text in the main font, in a cell of the given width.
    using TextWidth = std::function<int(const std::wstring& text, int cellWidth)>;

    PointerInput(const ViewLayout& layout, const DayEntries& entries, const DrawSettings& settings,
                 TextWidth textWidth)
        : layout_(layout), entries_(entries), settings_(settings), textWidth_(std::move(textWidth))
    {
    }

    // detailTotal: the lines of the detail list as last drawn (for its scroll bar).
    PressHit HitAt(int x, int y, int detailScroll, int detailTotal) const;

    // The last timed appointment covering `minute`, holidays and moved or deleted occurrences
    // skipped. All-day items leave the hours free for sweeps: they are taken by their label.
    int AppointmentAt(int day, int minute) const;
    // The last all-day bar whose label (icon and name at its left end) lies under x.
    int AllDayLabelAt(int day, int x) const;

private:
    PressHit GanttHit(int x, int y) const;
    // The strip entry of the row under x, the last one reaching to the strip's end.
    std::optional<TaskStripEntry> StripEntryAt(int day, int x) const;
    PressHit GridHit(int x, int y) const;

    const ViewLayout& layout_;
    const DayEntries& entries_;
    const DrawSettings& settings_;
    TextWidth textWidth_;
};

// The detail line listing item `index` of the given kind; -1 when the list has none.
int LineOfItem(const DetailLines& lines, ItemKind kind, int index);
