// Rules that the Gantt rows, the calendar grid and the task and detail lists share, so a day
// looks and reads the same in every display: its background brush, its label, the icon of an
// appointment and the text and icon of a task in the task strip or a grid cell.
#pragma once

#include <QBrush>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "view/paint_context.h"

// The date of day row (or cell) `day`, counted from the first shown day.
SYSTEMTIME DayDate(const PaintContext& context, int day);

// The row (or cell) index of `date` when it is shown; none outside the shown days.
std::optional<int> ShownDay(const PaintContext& context, const SYSTEMTIME& date);

// Whether appointment 0 is a holiday entry that heads the day: it colours the day and names it,
// unless it is a moved or deleted occurrence, which only the detail area lists.
bool HolidayHeadsDay(const DayEntries& entries, int day);

// The background of a day: the holiday kinds first, else its weekday, dimmed in the months of
// odd distance from the selected date's month.
const QBrush& DayBackground(const PaintContext& context, int day);

// "mm/dd Ww", the label of a Gantt row and of a grid cell.
std::wstring DayLabel(const SYSTEMTIME& date);

// Whether the Gantt row draws appointment `pos` as a bar: it passes the category filter, is no
// holiday entry heading the day, and no moved or deleted occurrence.
bool ShowsBar(const DrawSettings& settings, const DayEntries& entries, int day, int pos);
// The text of a bar after its icon, or after the hidden-start mark when its start is clipped.
std::wstring BarText(const DrawSettings& settings, const DayEntries& entries, int day, int pos,
                     bool clippedBefore);

// Icon of an appointment by its entry kind; all-day plain appointments have their own.
int AppointmentIcon(int entryKind, bool allDay);
// Icon of an all-day entry by its holiday kind (0 for an ordinary all-day appointment).
int DayKindIcon(int dayKind);

// The text of a task in the task strip and in a grid cell; empty when it is not shown there
// (only recurring tasks and tasks that start or fall due on the day are).
std::wstring TaskStripText(const DrawSettings& settings, const DayEntries& entries, int day,
                           int pos);
int TaskStripIcon(const DayEntries& entries, int day, int pos);

// One task as the strip of a Gantt row places it: its calendar's band where items are marked
// by their calendar, its check box icon, then its text.
struct TaskStripEntry {
    int pos = -1;
    PixelPoint icon;
    PixelPoint text;
    std::wstring label;
    std::optional<uint32_t> calendar{}; // the colour of its calendar (0x00BBGGRR), when marked
    PixelRect calendarBand{};           // parted from the icon by a line of the strip's outline
    int left = 0;                       // where the entry begins: its band, else its icon
};
// The entries the strip of row `day` draws, left to right; `textWidth` measures a label in a
// cell of the given width. The painter draws these and the hit tests read them.
using StripTextWidth = std::function<int(const std::wstring& text, int cellWidth)>;
std::vector<TaskStripEntry> TaskStripEntries(const GanttGeometry& geometry,
                                             const DrawSettings& settings,
                                             const DayEntries& entries, int day,
                                             const StripTextWidth& textWidth);

// The header strip's background and its title in the header font.
void PaintHeaderTitle(const PaintContext& context, const std::wstring& title);
