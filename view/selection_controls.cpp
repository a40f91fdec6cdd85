// The view's selection steps. The detail lines' map depends on the scroll (lines a category hides
// count only outside the shown window), so a line is always read from the map of the scroll it
// is shown at.
#include "view/selection_controls.h"

#include <algorithm>

#include "model/date_time.h"
#include "view/gantt_geometry.h"
#include "view/navigation.h"
#include "view/paint_reach.h"
#include "view/schedule_source.h"
#include "view/selected_hour.h"

namespace {

constexpr int kMinutesPerHour = 60;

} // namespace

int SelectionControls::SelectedRow() const
{
    return DaysBetween(t_.schedule.GetShownStart(), t_.state.selectedDate);
}

DetailLineMap::Key SelectionControls::CurrentDetailKey() const
{
    return {t_.schedule.GetShownStart(), SelectedRow(), t_.state.detailScroll};
}

const DetailLines& SelectionControls::CurrentDetailLines()
{
    const DetailLineMap::Key wanted = CurrentDetailKey();
    return t_.lines.For(wanted, [&] { return t_.drawLines(wanted.row, wanted.scroll); });
}

void SelectionControls::SelectDate(const SYSTEMTIME& date)
{
    const SYSTEMTIME first = t_.schedule.GetShownStart();
    const int oldRow = SelectedRow();
    const int oldMonth = t_.state.selectedDate.wMonth;
    const int row = DaysBetween(first, date);
    t_.state.selection = ItemSelection{};
    if (row == oldRow) {
        return;
    }
    t_.state.selectedDate = TruncateSystemTime(date, 3);
    t_.state.detailScroll = 0;
    const int shift = nav::PeriodShiftShowing(row, t_.layout.dayRowCount, !t_.layout.ganttRows);
    if (shift != 0) {
        if (!t_.schedule.SetShownStart(AddDays(first, shift))) {
            t_.reload();
        }
        t_.repaintAll();
        return;
    }
    RepaintRow(oldRow);
    RepaintRow(row);
    RepaintFramesAndDetail();
    // The alternate-month shading follows the selected month.
    if (t_.settings.draw.BrightReduceRate != 100 && oldMonth != t_.state.selectedDate.wMonth) {
        t_.repaintAll();
    }
}

void SelectionControls::SelectDetailLine(int line)
{
    const DetailLines& lines = CurrentDetailLines();
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines) {
        return;
    }
    t_.state.keyFocusArea = keys::kDetail;
    ScrollDetailToLine(line);
    t_.state.selection = SelectionOfLine(CurrentDetailLines(), line, SelectedRow(), t_.schedule,
                                         t_.state.selectedDate);
    RepaintDetail();
    t_.changed();
}

bool SelectionControls::SelectItem(ItemKind kind, const std::wstring& oid)
{
    t_.state.selection = ItemSelection{};
    if (SelectEntry(kind, oid, -1)) {
        t_.state.keyFocusArea = keys::kDetail;
    }
    t_.repaintAll();
    t_.changed();
    return t_.state.selection.HasItem();
}

// After a scroll the item's line is looked up again in the new map; it settles at once
// unless hidden lines sit before it in the window.
bool SelectionControls::SelectEntry(ItemKind kind, const std::wstring& oid, int exceptionNo)
{
    constexpr int kLookups = 4;
    for (int lookup = 0; lookup < kLookups; ++lookup) {
        const int line =
            LineOfItem(CurrentDetailLines(), kind, oid, SelectedRow(), t_.schedule, exceptionNo);
        if (line < 0) {
            return false;
        }
        if (ScrollDetailToLine(line)) {
            continue;
        }
        t_.state.selection = SelectionOfLine(t_.lines.Last(), line, SelectedRow(), t_.schedule,
                                             t_.state.selectedDate);
        return t_.state.selection.HasItem();
    }
    return false;
}

void SelectionControls::Reselect(const ItemSelection& kept)
{
    t_.state.selection = ItemSelection{};
    const DetailLines& lines = CurrentDetailLines();
    for (int line = 0; kept.HasItem() && line < lines.taskLines + lines.appointmentLines; ++line) {
        const ItemSelection found =
            SelectionOfLine(lines, line, SelectedRow(), t_.schedule, t_.state.selectedDate);
        if (found.kind == kept.kind && found.oid == kept.oid &&
            found.exceptionNo == kept.exceptionNo) {
            t_.state.selection = found;
            return;
        }
    }
}

void SelectionControls::SelectHour(int hour)
{
    hour = std::clamp(hour, 0, kLastHourOfDay);
    const int first = FirstHourShowing(hour, t_.hours.firstHour, t_.layout.hourCount);
    t_.state.selectedHour = hour;
    if (t_.layout.ganttRows && first != t_.hours.firstHour) {
        MoveHourWindow(first);
    } else {
        RepaintRow(SelectedRow());
    }
}

bool SelectionControls::SelectHourAt(int x)
{
    const int minute = GanttGeometry(t_.layout).MinuteAt(x);
    if (minute < 0) {
        return false;
    }
    SelectHour(minute / kMinutesPerHour);
    return true;
}

void SelectionControls::MoveHourWindow(int firstHour)
{
    if (firstHour == t_.hours.firstHour) {
        return;
    }
    t_.hours.firstHour = firstHour;
    t_.repaintAll();
}

void SelectionControls::ScrollDetail(int lines)
{
    const DetailLines& shown = CurrentDetailLines();
    const int last = std::max(0, shown.total - t_.layout.detailLineCount);
    const int scroll = std::clamp(t_.state.detailScroll + lines, 0, last);
    if (scroll == t_.state.detailScroll) {
        return;
    }
    t_.state.detailScroll = scroll;
    RepaintDetail();
}

bool SelectionControls::ScrollDetailToLine(int line)
{
    const int visible = std::max(1, t_.layout.detailLineCount);
    const int scroll = std::clamp(t_.state.detailScroll, line - visible + 1, line);
    if (scroll == t_.state.detailScroll) {
        return false;
    }
    t_.state.detailScroll = scroll;
    return true;
}

void SelectionControls::RepaintRow(int row) const
{
    if (row >= 0 && row < t_.layout.dayRowCount) {
        t_.repaint(reach::FramedRow(t_.layout, row));
    }
}

void SelectionControls::RepaintFramesAndDetail() const
{
    t_.repaint(reach::Header(t_.layout));
    RepaintDetail();
}

// The frame's reach only when no line is or was framed: the wider one would take every row of the
// chart's right edge column to repaint.
void SelectionControls::RepaintDetail() const
{
    t_.repaint(reach::Detail(t_.layout, t_.lines.LineFramed() || t_.state.selection.line >= 0));
}
