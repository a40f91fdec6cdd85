// The task strip and the detail list. A line outside the scrolled window still counts, so line
// numbers stay those of the whole list; filtered items inside the window take no line.
#include "view/task_detail_painter.h"

#include <QPainter>

#include "res/pictures.h"
#include "view/calendar_mark.h"
#include "view/day_paint_rules.h"
#include "view/meeting_mark.h"
#include "view/paint_primitives.h"

namespace {

const wchar_t* KindSuffix(int state)
{
    switch (state) {
    case kChangedOccurrenceEntry:
        return L"(Exception)";
    case kMovedOccurrenceEntry:
        return L"(Move exception)";
    case kDeletedOccurrenceEntry:
        return L"(Del exception)";
    default:
        return L"";
    }
}

} // namespace

int DetailLines::ItemOf(int line) const
{
    if (line < 0 || line >= static_cast<int>(lineItems.size())) {
        return -1;
    }
    return lineItems[line];
}

void TaskDetailPainter::PaintTaskStrip(int day) const
{
    if (!c_.layout.taskAreaVisible) {
        return;
    }
    QPainter& p = c_.painter;
    p.setFont(c_.resources.MainFont());
    const std::vector<TaskStripEntry> shown = TaskStripEntries(
        c_.geometry, c_.settings, c_.entries, day,
        [&](const std::wstring& text, int width) { return c_.text.Width(p, text, width); });
    if (shown.empty()) {
        return;
    }
    DrawRectangle(p, c_.geometry.TaskFrame(day), c_.resources.TaskPen(), c_.resources.TaskBrush());
    const QRect row = ToQRect(c_.geometry.DayRect(day));
    const int stripEnd = c_.geometry.TaskFrame(day).right;
    for (const TaskStripEntry& entry : shown) {
        if (entry.calendar) {
            const PixelRect& band = entry.calendarBand;
            DrawCalendarBand(p, band, *entry.calendar);
            p.setPen(c_.resources.TaskPen());
            VerticalLine(p, band.right, band.top, band.bottom);
        }
        DrawItemIcon(p, c_.resources, TaskStripIcon(c_.entries, day, entry.pos), entry.icon,
                     c_.layout.mainFontSize);
        p.setPen(c_.resources.TextColor());
        DrawSubject(p, c_.text, c_.settings, entry.text.x, entry.text.y, entry.label, row,
                    stripEnd);
    }
}

// A task that neither recurs nor starts or falls due on the day is a "Work" line; completed and
// without a due date it is listed only when DispNoDue asks for it.
bool TaskDetailPainter::TaskListed(int day, int pos) const
{
    const DayEntries& e = c_.entries;
    if (!PassesCategoryFilter(c_.settings, e.TaskCategories(day, pos))) {
        return false;
    }
    const bool work =
        !e.TaskRecurring(day, pos) && !e.TaskDueHere(day, pos) && !e.TaskStartsHere(day, pos);
    return !(work && e.TaskComplete(day, pos) && !e.TaskHasDue(day, pos) &&
             c_.settings.DispNoDue != 1);
}

std::wstring TaskDetailPainter::TaskDetailText(int day, int pos) const
{
    const DayEntries& e = c_.entries;
    std::wstring prefix = L"Work";
    if (e.TaskRecurring(day, pos)) {
        prefix = L"Recur";
    } else if (e.TaskDueHere(day, pos)) {
        prefix = L"Due";
    } else if (e.TaskStartsHere(day, pos)) {
        prefix = L"Start";
    }
    std::wstring text = prefix + L" " + IsolatedText(e.TaskSubject(day, pos));
    if (e.TaskHasDue(day, pos)) {
        text += L" [DueDate " + e.TaskDueText(day, pos) + L"]";
    }
    return text;
}

int TaskDetailPainter::TaskDetailIcon(int day, int pos) const
{
    const DayEntries& e = c_.entries;
    const bool overdue = e.TaskOverdue(day, pos);
    if (e.TaskRecurring(day, pos)) {
        return overdue ? res::kIconTaskOverdue : res::kIconTaskRecurring;
    }
    if (e.TaskHasDue(day, pos) && e.TaskComplete(day, pos)) {
        return res::kIconTaskCompleted;
    }
    if (e.TaskHasDue(day, pos) && overdue) {
        return res::kIconTaskOverdue;
    }
    return res::kIconTaskOpen;
}

std::wstring TaskDetailPainter::AppointmentDetailText(int day, int pos) const
{
    const DayEntries& e = c_.entries;
    const std::wstring subject = IsolatedText(e.ApptSubject(day, pos));
    if (e.IsAllDay(day, pos)) {
        switch (e.DayKind(day, pos)) {
        case 0:
            return L"All Day " + subject;
        case 1:
        case 2:
            return L"Holiday " + subject;
        case 3:
            return c_.settings.HolidayCategory + L" " + subject;
        case 4:
            return c_.settings.MemorialCategory + L" " + subject;
        default:
            return {};
        }
    }
    std::wstring text = e.StartText(day, pos) + L" - " + e.EndText(day, pos) + L" " + subject;
    const std::wstring place = IsolatedText(e.ApptLocation(day, pos));
    if (!place.empty()) {
        text += L" [" + place + L"]";
    }
    return text + KindSuffix(e.EntryState(day, pos));
}

int TaskDetailPainter::AppointmentDetailIcon(int day, int pos, ConflictTracker& conflicts) const
{
    const DayEntries& e = c_.entries;
    const int dayKind = e.DayKind(day, pos);
    const bool allDay = e.IsAllDay(day, pos);
    int icon = allDay ? DayKindIcon(dayKind) : AppointmentIcon(e.EntryState(day, pos), false);
    if (conflicts.Conflicts(e, day, pos, e.StartMinutes(day, pos)) && (!allDay || dayKind == 0)) {
        icon = res::kIconConflict;
    }
    conflicts.Pass(e, day, pos, e.EndMinutes(day, pos));
    return icon;
}

void TaskDetailPainter::PaintDetailLine(int line, int scroll, const DetailLineLook& look,
                                        const std::wstring& text, bool scrollBar) const
{
    const auto top = c_.geometry.DetailLineTop(line, scroll);
    if (!top) {
        return;
    }
    const PixelRect& area = c_.layout.detailRect;
    const int size = c_.layout.detailFontSize;
    const PixelRect square = DetailIconRect(line, scroll, look.iconInset);
    DrawItemIcon(c_.painter, c_.resources, look.icon, {square.left, square.top}, size);
    int textLeft = area.left + size + 6;
    if (look.calendar) {
        const PixelRect swatch = CalendarSwatch(square);
        DrawCalendarSwatch(c_.painter, swatch, *look.calendar);
        textLeft = swatch.right + 3;
    }
    const QRect cell(area.left, *top,
                     area.Width() - (scrollBar ? GanttGeometry::kScrollBarWidth : 0),
                     c_.layout.detailLineHeight);
    c_.text.Draw(c_.painter, textLeft, *top, text, cell);
}

void TaskDetailPainter::PaintMeetingMark(int line, int scroll, int iconInset) const
{
    if (const PixelRect icon = DetailIconRect(line, scroll, iconInset); icon.Width() > 0) {
        DrawMeetingMark(c_.painter, icon);
    }
}

PixelRect TaskDetailPainter::DetailIconRect(int line, int scroll, int iconInset) const
{
    const auto top = c_.geometry.DetailLineTop(line, scroll);
    if (!top) {
        return {};
    }
    const int left = c_.layout.detailRect.left + iconInset;
    const int size = c_.layout.detailFontSize;
    return {left, *top, left + size, *top + size};
}

DetailLines TaskDetailPainter::PaintDetail(int row, int scroll, int selectedLine) const
{
    QPainter& p = c_.painter;
    DrawRectangle(p, c_.geometry.DetailFrame(), c_.resources.BlackPen(), c_.resources.WhiteBrush());
    p.setFont(c_.resources.DetailFont());
    p.setPen(c_.resources.TextColor());

    // The scroll bar's presence is known only after the pass; a first pass without drawing
    // tells whether texts must leave room for it.
    DetailLines lines;
    const auto inWindow = [&](int line) {
        return line >= scroll && line < scroll + c_.layout.detailLineCount;
    };
    const int taskCount = c_.entries.TaskCount(row);
    const int apptCount = c_.entries.ApptCount(row);
    for (int pass = 0; pass < 2; ++pass) {
        const bool scrollBar = pass == 1 && c_.geometry.ScrollBarShown(lines.total);
        lines = DetailLines{};
        ConflictTracker conflicts;
        int line = 0;
        for (int pos = 0; pos < taskCount; ++pos) {
            if (inWindow(line)) {
                if (!TaskListed(row, pos)) {
                    continue;
                }
                if (pass == 1) {
                    PaintDetailLine(
                        line, scroll,
                        {TaskDetailIcon(row, pos), 3, c_.entries.TaskCalendarColour(row, pos)},
                        TaskDetailText(row, pos), scrollBar);
                }
            }
            lines.lineItems.push_back(pos);
            ++lines.taskLines;
            ++line;
        }
        for (int pos = 0; pos < apptCount; ++pos) {
            if (inWindow(line)) {
                if (!PassesCategoryFilter(c_.settings, c_.entries.ApptCategories(row, pos))) {
                    continue;
                }
                const int icon = AppointmentDetailIcon(row, pos, conflicts);
                if (pass == 1) {
                    PaintDetailLine(line, scroll,
                                    {icon, 2, c_.entries.ApptCalendarColour(row, pos)},
                                    AppointmentDetailText(row, pos), scrollBar);
                    if (!c_.entries.ApptMeeting(row, pos).empty()) {
                        PaintMeetingMark(line, scroll, 2);
                    }
                }
            }
            lines.lineItems.push_back(pos);
            ++lines.appointmentLines;
            ++line;
        }
        lines.total = line;
    }
    if (c_.geometry.ScrollBarShown(lines.total)) {
        PaintScrollBar(scroll, lines.total);
    }
    if (selectedLine >= 0) {
        FrameRectangle(p, c_.geometry.DetailSelectionFrame(selectedLine, scroll, lines.total),
                       c_.resources.SelectionPen());
    }
    return lines;
}

void TaskDetailPainter::PaintScrollBar(int scroll, int total) const
{
    QPainter& p = c_.painter;
    const QPixmap& tiles = c_.resources.ScrollBar();
    const auto tile = [](int index) {
        return res::TileRect(res::Picture::ScrollBar, false, index);
    };
    const PixelRect bar = c_.geometry.ScrollBarRect();
    const int side = GanttGeometry::kScrollBarWidth;
    p.save();
    p.setClipRect(ToQRect(bar), Qt::IntersectClip);
    for (int y = bar.top; y < bar.bottom; y += side) {
        p.drawPixmap(bar.left, y, tiles, tile(res::kScrollTrack).x(), 0, side, side);
    }
    p.drawPixmap(bar.left, bar.top, tiles, tile(res::kScrollUp).x(), 0, side, side);
    p.drawPixmap(bar.left, bar.bottom - side, tiles, tile(res::kScrollDown).x(), 0, side, side);
    const PixelRect thumb = c_.geometry.ScrollThumb(scroll, total);
    if (thumb.Height() > 0) {
        p.fillRect(ToQRect(thumb), c_.resources.BarBrush());
        const QRect source = tile(res::kScrollThumb);
        const int cap = std::min(res::kThumbCapHeight, thumb.Height() / 2);
        p.drawPixmap(QRect(thumb.left, thumb.top, side, cap), tiles,
                     QRect(source.x(), 0, side, cap));
        p.drawPixmap(QRect(thumb.left, thumb.top + cap, side, thumb.Height() - 2 * cap), tiles,
                     QRect(source.x(), cap, side, side - 2 * cap));
        p.drawPixmap(QRect(thumb.left, thumb.bottom - cap, side, cap), tiles,
                     QRect(source.x(), side - cap, side, cap));
    }
    p.restore();
}
