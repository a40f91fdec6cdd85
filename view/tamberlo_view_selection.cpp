// The view's selection set from outside the keys and the pointer: a day shown or jumped to, a day
// chosen by a change, the item a change moved followed to its new day, and the selected hour.
// The rest of the view is in tamberlo_view.cpp and tamberlo_view_input.cpp.
#include "view/tamberlo_view.h"

#include <algorithm>

#include "model/date_time.h"
#include "view/gantt_geometry.h"
#include "view/schedule_source.h"
#include "view/selected_hour.h"

namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kMinutesPerHour = 60;

// Days the period moves so that `row` is shown: as few as can be, whole weeks in the grid.
int PeriodShiftShowing(int row, int rows, bool grid)
{
    const int past = row < 0 ? row : std::max(0, row - rows + 1);
    if (!grid || past == 0) {
        return past;
    }
    const int weeks = (std::abs(past) + kDaysPerWeek - 1) / kDaysPerWeek;
    return (past < 0 ? -weeks : weeks) * kDaysPerWeek;
}

} // namespace

void CTamberloView::SelectDate(const SYSTEMTIME& date)
{
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int oldRow = SelectedRow();
    const int oldMonth = state_.selectedDate.wMonth;
    const int row = DaysBetween(first, date);
    ClearItemSelection();
    if (row == oldRow) {
        return;
    }
    state_.selectedDate = TruncateSystemTime(date, 3);
    state_.detailScroll = 0;
    const int shift = PeriodShiftShowing(row, layout_.dayRowCount, !layout_.ganttRows);
    if (shift != 0) {
        if (!schedule_.SetShownStart(AddDays(first, shift))) {
            ReloadSchedule();
        }
        update();
        return;
    }
    UpdateRow(oldRow);
    UpdateRow(row);
    UpdateFramesAndDetail();
    // The alternate-month shading follows the selected month.
    if (settings_.draw.BrightReduceRate != 100 && oldMonth != state_.selectedDate.wMonth) {
        update();
    }
}

void CTamberloView::FollowItem(const SYSTEMTIME& date, ItemKind kind, const std::wstring& oid,
                               int exceptionNo)
{
    SelectDate(date);
    SelectEntry(kind, oid, exceptionNo);
    update();
    AfterAction();
}

// After a scroll the item's line is looked up again in the new map; it settles at once
// unless hidden lines sit before it in the window.
bool CTamberloView::SelectEntry(ItemKind kind, const std::wstring& oid, int exceptionNo)
{
    constexpr int kLookups = 4;
    for (int lookup = 0; lookup < kLookups; ++lookup) {
        const int line =
            LineOfItem(CurrentDetailLines(), kind, oid, SelectedRow(), schedule_, exceptionNo);
        if (line < 0) {
            return false;
        }
        if (ScrollDetailToLine(line)) {
            continue;
        }
        state_.selection =
            SelectionOfLine(detailLines_, line, SelectedRow(), schedule_, state_.selectedDate);
        return state_.selection.HasItem();
    }
    return false;
}

void CTamberloView::SelectHour(int hour)
{
    hour = std::clamp(hour, 0, kLastHourOfDay);
    const int first = FirstHourShowing(hour, hours_.firstHour, layout_.hourCount);
    state_.selectedHour = hour;
    if (layout_.ganttRows && first != hours_.firstHour) {
        MoveHourWindow(first);
    } else {
        UpdateRow(SelectedRow());
    }
    AfterAction();
}

void CTamberloView::SelectHourAt(int x)
{
    const int minute = GanttGeometry(layout_).MinuteAt(x);
    if (minute >= 0) {
        SelectHour(minute / kMinutesPerHour);
    }
}

void CTamberloView::JumpTo(const SYSTEMTIME& date)
{
    period_.ShowDate(date);
    Relayout();
    AfterAction();
    update();
}
