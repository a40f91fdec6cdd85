// Press hit tests. The task and appointment under the pen follow the drawing order: the last one
// drawn at a point is on top, so it is the one a press takes.
#include "view/pointer_input.h"

#include <algorithm>

#include "view/calendar_geometry.h"
#include "view/calendar_painter.h"
#include "view/day_paint_rules.h"
#include "view/paint_primitives.h"
#include "view/task_detail_painter.h"

namespace {

bool IsHolidayKind(int dayKind)
{
    return dayKind == 1 || dayKind == 2;
}

} // namespace

PressHit PointerInput::HitAt(int x, int y, int detailScroll, int detailTotal) const
{
    PressHit hit;
    if (layout_.InChart(x, y)) {
        return layout_.ganttRows ? GanttHit(x, y) : GridHit(x, y);
    }
    if (const int button = layout_.ButtonAt(x, y); button >= 0) {
        hit.area = PressHit::Area::kButtonBar;
        hit.button = button;
    } else if (layout_.detailVisible) {
        hit.detail = GanttGeometry(layout_).DetailAt(x, y, detailScroll, detailTotal);
        if (hit.detail) {
            hit.area = PressHit::Area::kDetail;
        }
        hit.checkBox = hit.detail && hit.detail->kind == DetailHit::Kind::Line &&
                       x < layout_.detailRect.left + layout_.detailFontSize + 6;
    }
    return hit;
}

PressHit PointerInput::GanttHit(int x, int y) const
{
    const GanttGeometry geometry(layout_);
    PressHit hit;
    hit.area = PressHit::Area::kGanttRow;
    hit.day = *geometry.DayAt(x, y);
    if (layout_.taskAreaVisible && geometry.InTaskArea(x)) {
        if (const std::optional<TaskStripEntry> entry = StripEntryAt(hit.day, x)) {
            hit.kind = ItemKind::Task;
            hit.index = entry->pos;
            const PixelRect icon{entry->icon.x, entry->icon.y, entry->icon.x + layout_.mainFontSize,
                                 entry->icon.y + layout_.mainFontSize};
            hit.checkBox = icon.Contains(x, y);
        }
    } else if (layout_.ganttAreaVisible && x >= geometry.HourAreaLeft()) {
        hit.index = AppointmentAt(hit.day, geometry.MinuteAt(x));
        if (hit.index < 0) {
            hit.index = AllDayLabelAt(hit.day, x);
        }
        hit.kind = hit.index >= 0 ? ItemKind::Appointment : ItemKind::None;
    }
    return hit;
}

PressHit PointerInput::GridHit(int x, int y) const
{
    const CalendarGeometry grid(layout_);
    PressHit hit;
    const std::optional<int> cell = grid.CellAt(x, y);
    if (!cell) {
        return hit;
    }
    hit.area = PressHit::Area::kGridCell;
    hit.day = *cell;
    const std::optional<int> line = grid.LineAt(*cell, y);
    if (!line) {
        return hit;
    }
    const std::vector<CellItem> items =
        CalendarPainter::CellItems(entries_, settings_, layout_, *cell, *line);
    if (static_cast<int>(items.size()) < *line) {
        return hit;
    }
    const CellItem& item = items[*line - 1];
    hit.kind = item.task ? ItemKind::Task : ItemKind::Appointment;
    hit.index = item.pos;
    return hit;
}

std::optional<TaskStripEntry> PointerInput::StripEntryAt(int day, int x) const
{
    const std::vector<TaskStripEntry> shown =
        TaskStripEntries(GanttGeometry(layout_), settings_, entries_, day, textWidth_);
    for (auto entry = shown.rbegin(); entry != shown.rend(); ++entry) {
        if (x >= entry->left) {
            return *entry;
        }
    }
    return shown.empty() ? std::nullopt : std::optional(shown.front());
}

int PointerInput::AppointmentAt(int day, int minute) const
{
    if (minute < 0) {
        return -1;
    }
    int last = -1;
    const int count = entries_.ApptCount(day);
    for (int pos = 0; pos < count; ++pos) {
        if (IsHolidayKind(entries_.DayKind(day, pos)) ||
            IsMovedOrDeleted(entries_.EntryState(day, pos)) || entries_.IsAllDay(day, pos)) {
            continue;
        }
        if (entries_.StartMinutes(day, pos) <= minute && minute <= entries_.EndMinutes(day, pos)) {
            last = pos;
        }
    }
    return last;
}

int PointerInput::AllDayLabelAt(int day, int x) const
{
    const GanttGeometry geometry(layout_);
    int last = -1;
    const int count = entries_.ApptCount(day);
    for (int pos = 0; pos < count; ++pos) {
        if (!entries_.IsAllDay(day, pos) || !ShowsBar(settings_, entries_, day, pos)) {
            continue;
        }
        const BarGeometry bar =
            geometry.Bar(day, entries_.StartMinutes(day, pos), entries_.EndMinutes(day, pos), true);
        if (!bar.visible) {
            continue;
        }
        const std::wstring text = BarText(settings_, entries_, day, pos, bar.start.clippedBefore);
        const int labelEnd = std::max(bar.text.x + textWidth_(text, bar.end.x - bar.text.x),
                                      bar.start.x + layout_.mainFontSize);
        if (x >= bar.start.x && x <= std::min(labelEnd, bar.end.x)) {
            last = pos;
        }
    }
    return last;
}

int LineOfItem(const DetailLines& lines, ItemKind kind, int index)
{
    const int first = kind == ItemKind::Task ? 0 : lines.taskLines;
    const int end =
        kind == ItemKind::Task ? lines.taskLines : lines.taskLines + lines.appointmentLines;
    if (kind == ItemKind::None || index < 0) {
        return -1;
    }
    for (int line = first; line < end; ++line) {
        if (lines.ItemOf(line) == index) {
            return line;
        }
    }
    return -1;
}
