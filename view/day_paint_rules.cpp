// The shared day rules. Kept apart from any one painter so that the row, the cell and the list
// of the same day can never disagree on its colour, its icons or its task texts.
#include "view/day_paint_rules.h"

#include <QPainter>
#include <cstdlib>

#include "model/date_time.h"
#include "res/pictures.h"
#include "view/calendar_mark.h"
#include "view/paint_primitives.h"

SYSTEMTIME DayDate(const PaintContext& context, int day)
{
    return AddDays(context.firstShownDay, day);
}

std::optional<int> ShownDay(const PaintContext& context, const SYSTEMTIME& date)
{
    const int day = DaysBetween(context.firstShownDay, date);
    if (day < 0 || day >= context.layout.dayRowCount) {
        return std::nullopt;
    }
    return day;
}

bool HolidayHeadsDay(const DayEntries& entries, int day)
{
    return entries.DayKind(day, 0) != 0 && entries.EntryState(day, 0) <= kChangedOccurrenceEntry;
}

const QBrush& DayBackground(const PaintContext& context, int day)
{
    const SYSTEMTIME date = DayDate(context, day);
    int slot = date.wDayOfWeek;
    const int kind = context.entries.DayKind(day, 0);
    if (kind >= 1 && kind <= 4 && HolidayHeadsDay(context.entries, day)) {
        slot = kind <= 2
                   ? ViewResources::kHolidaySlot
                   : (kind == 3 ? ViewResources::kRestdaySlot : ViewResources::kMemorialdaySlot);
    }
    // December and January are 11 apart, an odd distance, so the alternation runs on across
    // the year end.
    const bool dimmed = std::abs(date.wMonth - context.selectedDate.wMonth) % 2 == 1;
    return context.resources.DayBrush(slot, dimmed);
}

bool ShowsBar(const DrawSettings& settings, const DayEntries& entries, int day, int pos)
{
    return PassesCategoryFilter(settings, entries.ApptCategories(day, pos)) &&
           !(pos == 0 && entries.DayKind(day, pos) != 0) &&
           !IsMovedOrDeleted(entries.EntryState(day, pos));
}

std::wstring BarText(const DrawSettings& settings, const DayEntries& entries, int day, int pos,
                     bool clippedBefore)
{
    const std::wstring subject = CutSubject(settings, entries.ApptSubject(day, pos));
    return clippedBefore ? settings.AppHideCharL + subject : subject;
}

std::wstring DayLabel(const SYSTEMTIME& date)
{
    wchar_t label[32];
    std::swprintf(label, std::size(label), L"%.2d/%.2d %ls", date.wMonth, date.wDay,
                  WeekdayName(date.wDayOfWeek, true).c_str());
    return label;
}

int AppointmentIcon(int entryKind, bool allDay)
{
    switch (entryKind) {
    case kPlainEntry:
        return allDay ? res::kIconAllDay : res::kIconAppointment;
    case kChangedOccurrenceEntry:
        return res::kIconChangedOccurrence;
    case kMovedOccurrenceEntry:
    case kDeletedOccurrenceEntry:
        return res::kIconMovedOrDeletedOccurrence;
    default:
        return res::kIconRecurringOccurrence;
    }
}

int DayKindIcon(int dayKind)
{
    switch (dayKind) {
    case 0:
        return res::kIconAllDay;
    case 1:
    case 2:
        return res::kIconHoliday;
    case 3:
        return res::kIconRestDay;
    case 4:
        return res::kIconMemorialDay;
    default:
        return res::kIconOtherDayKind;
    }
}

std::wstring TaskStripText(const DrawSettings& settings, const DayEntries& entries, int day,
                           int pos)
{
    const std::wstring subject = CutSubject(settings, entries.TaskSubject(day, pos));
    if (entries.TaskRecurring(day, pos)) {
        return subject + L" ";
    }
    if (entries.TaskDueHere(day, pos)) {
        return settings.TaskDueChar + subject + L" ";
    }
    if (entries.TaskStartsHere(day, pos)) {
        return settings.TaskStartChar + subject + L" ";
    }
    return {};
}

int TaskStripIcon(const DayEntries& entries, int day, int pos)
{
    if (entries.TaskComplete(day, pos)) {
        return res::kIconTaskCompleted;
    }
    if (entries.TaskOverdue(day, pos)) {
        return res::kIconTaskOverdue;
    }
    if (entries.TaskRecurring(day, pos)) {
        return res::kIconTaskRecurring;
    }
    return res::kIconTaskOpen;
}

std::vector<TaskStripEntry> TaskStripEntries(const GanttGeometry& geometry,
                                             const DrawSettings& settings,
                                             const DayEntries& entries, int day,
                                             const StripTextWidth& textWidth)
{
    std::vector<TaskStripEntry> shown;
    const int rowRight = geometry.DayRect(day).right - 1;
    int offset = 0;
    const int count = entries.TaskCount(day);
    for (int pos = 0; pos < count; ++pos) {
        if (!PassesCategoryFilter(settings, entries.TaskCategories(day, pos))) {
            continue;
        }
        const std::wstring label = TaskStripText(settings, entries, day, pos);
        if (label.empty()) {
            continue;
        }
        TaskStripEntry entry{pos, {}, {}, label, entries.TaskCalendarColour(day, pos)};
        entry.left = geometry.TaskIcon(day, offset).x;
        // As on a bar: the band inside the outline, a line, then the icon.
        if (entry.calendar) {
            const PixelRect frame = geometry.TaskFrame(day);
            entry.calendarBand = {entry.left + 1, frame.top + 1,
                                  entry.left + 1 + kCalendarBandWidth, frame.bottom - 1};
            offset += kCalendarBandWidth + 2;
        }
        entry.icon = geometry.TaskIcon(day, offset);
        entry.text = geometry.TaskText(day, offset);
        const PixelPoint at = entry.text;
        shown.push_back(std::move(entry));
        // Past the row's end nothing more can be seen; stop rather than measure every task.
        if (at.x > rowRight) {
            break;
        }
        offset = geometry.NextTaskOffset(offset, textWidth(label, rowRight + 1 - at.x));
    }
    return shown;
}

void PaintHeaderTitle(const PaintContext& context, const std::wstring& title)
{
    QPainter& p = context.painter;
    const QRect header = ToQRect(context.geometry.HeaderRect());
    p.drawPixmap(header, context.resources.HeaderBackground());
    p.setFont(context.resources.HeaderFont());
    p.setPen(context.resources.TextColor());
    const PixelPoint at = context.geometry.HeaderLabelPos();
    context.text.Draw(p, at.x, at.y, title, header);
}
