// The calendar grid. It shares the day colours, icons, subject cutting, task texts and the
// conflict rule with the Gantt rows; it draws no bars, and marks a conflict by its icon alone.
#include "view/calendar_painter.h"

#include <QPainter>
#include <algorithm>

#include "model/date_time.h"
#include "res/pictures.h"
#include "view/calendar_mark.h"
#include "view/conflict_tracker.h"
#include "view/day_paint_rules.h"
#include "view/paint_primitives.h"

namespace {

void AddTasks(std::vector<CellItem>& items, const DayEntries& e, const DrawSettings& settings,
              int day, size_t limit)
{
    const int count = e.TaskCount(day);
    for (int pos = 0; pos < count && items.size() < limit; ++pos) {
        if (!PassesCategoryFilter(settings, e.TaskCategories(day, pos))) {
            continue;
        }
        std::wstring text = TaskStripText(settings, e, day, pos);
        if (!text.empty()) {
            items.push_back({true, pos, TaskStripIcon(e, day, pos), std::move(text),
                             e.TaskCalendarColour(day, pos)});
        }
    }
}

// Conflicts are measured in minutes: the grid shows no hour scale, so whether two items clash
// must not depend on the hour window or the zoom of the rows.
void AddAppointments(std::vector<CellItem>& items, const DayEntries& e,
                     const DrawSettings& settings, int day, size_t limit)
{
    ConflictTracker conflicts;
    const int count = e.ApptCount(day);
    for (int pos = 0; pos < count && items.size() < limit; ++pos) {
        if (!PassesCategoryFilter(settings, e.ApptCategories(day, pos))) {
            continue;
        }
        const int kind = e.EntryState(day, pos);
        if (IsMovedOrDeleted(kind)) {
            continue;
        }
        const int dayKind = e.DayKind(day, pos);
        int icon = pos == 0 && dayKind != 0 ? DayKindIcon(dayKind)
                                            : AppointmentIcon(kind, e.IsAllDay(day, pos));
        if (conflicts.Conflicts(e, day, pos, e.StartMinutes(day, pos))) {
            icon = res::kIconConflict;
        }
        conflicts.Pass(e, day, pos, e.EndMinutes(day, pos));
        items.push_back({false, pos, icon, CutSubject(settings, e.ApptSubject(day, pos)),
                         e.ApptCalendarColour(day, pos)});
    }
}

} // namespace

std::vector<CellItem> CalendarPainter::CellItems(const DayEntries& entries,
                                                 const DrawSettings& settings,
                                                 const ViewLayout& layout, int day, int limit)
{
    std::vector<CellItem> items;
    const size_t most = static_cast<size_t>(std::max(limit, 0));
    if (layout.taskAreaVisible) {
        AddTasks(items, entries, settings, day, most);
    }
    if (layout.ganttAreaVisible) {
        AddAppointments(items, entries, settings, day, most);
    }
    return items;
}

void CalendarPainter::PaintCellBackground(int day) const
{
    QPainter& p = c_.painter;
    const PixelRect cell = grid_.CellRect(day);
    p.fillRect(ToQRect(cell), DayBackground(c_, day));
    const SYSTEMTIME date = DayDate(c_, day);
    p.setFont(c_.resources.MainFont());
    p.setPen(c_.resources.TextColor());
    const PixelPoint label = grid_.LabelPos(day);
    c_.text.Draw(p, label.x, label.y, DayLabel(date), ToQRect(cell));
    p.setPen(c_.resources.BlackPen());
    for (const PixelLine& line : grid_.Edges(day, date.wDay)) {
        DrawLine(p, line);
    }
}

// One line more than the cell can show is asked for, only to learn that the cell overflows.
void CalendarPainter::PaintCellContents(int day) const
{
    QPainter& p = c_.painter;
    const int capacity = grid_.LineCapacity(day);
    const std::vector<CellItem> items =
        CellItems(c_.entries, c_.settings, c_.layout, day, capacity + 1);
    const QRect cell = ToQRect(grid_.CellRect(day));
    p.setFont(c_.resources.MainFont());
    bool overflow = false;
    for (size_t i = 0; i < items.size(); ++i) {
        const CellItem& item = items[i];
        const CellLine line =
            grid_.Line(day, static_cast<int>(i) + 1, item.task, item.calendar.has_value());
        overflow = overflow || line.overflows;
        if (!line.drawn) {
            break;
        }
        if (item.task) {
            DrawRectangle(p, line.taskFrame, c_.resources.TaskPen(), c_.resources.TaskBrush());
        }
        if (item.calendar) {
            DrawCalendarBand(p, line.calendarBand, *item.calendar);
        }
        DrawItemIcon(p, c_.resources, item.icon, line.icon.square, line.icon.shown);
        p.setPen(c_.resources.TextColor());
        DrawSubject(p, c_.text, c_.settings, line.text.x, line.text.y, item.text, cell,
                    cell.right() + 1);
    }
    if (overflow) {
        const CellIcon more = grid_.OverflowIcon(day);
        DrawItemIcon(p, c_.resources, res::kIconMoreItems, more.square, more.shown);
    }
}

void CalendarPainter::PaintHeader() const
{
    const SYSTEMTIME& first = c_.firstShownDay;
    wchar_t title[96];
    std::swprintf(title, std::size(title), L"Year %4d %ls/%ls", first.wYear,
                  MonthName(first.wMonth).c_str(), MonthName(first.wMonth % 12 + 1).c_str());
    PaintHeaderTitle(c_, title);
}

void CalendarPainter::PaintFrames() const
{
    if (const auto today = ShownDay(c_, c_.now)) {
        FrameRectangle(c_.painter, grid_.TodayFrame(*today), c_.resources.TodayPen());
    }
    if (const auto selected = ShownDay(c_, c_.selectedDate)) {
        FrameRectangle(c_.painter, grid_.SelectionFrame(*selected), c_.resources.SelectionPen());
    }
}
