// The editing keys. A move follows the item to the day it lands on and keeps it selected, so the
// same key moves it again; the key focus stays where it was.
#include "view/keyboard_editing.h"

#include <QSignalBlocker>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "view/day_entries.h"
#include "view/drag_edit.h"
#include "view/gantt_geometry.h"
#include "view/item_moves.h"
#include "view/key_input.h"
#include "view/schedule_source.h"
#include "view/selected_hour.h"
#include "view/view_editing.h"

namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kMinutesPerDay = 24 * 60;
constexpr int kMinutesPerHour = 60;

} // namespace

namespace keyedit {
namespace {

// +1 for Right and Down, -1 for Left and Up, 0 for any other key.
int ArrowSign(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        return 1;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return -1;
    default:
        return 0;
    }
}

} // namespace

KeyEdit KeyEditOf(int qtKey, Qt::KeyboardModifiers modifiers, bool grid, bool bodyFocused)
{
    using Kind = KeyEdit::Kind;
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (qtKey == Qt::Key_Menu || (qtKey == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        return {Kind::kContextMenu};
    }
    const int sign = ArrowSign(qtKey);
    if (sign == 0) {
        return {};
    }
    const bool sideways = qtKey == Qt::Key_Left || qtKey == Qt::Key_Right;
    // The item goes where the plain arrow takes the selection: in the grid a day sideways and a
    // week up or down; in the Gantt rows half an hour sideways and a day up or down.
    if (mods == Qt::AltModifier) {
        if (grid) {
            return {Kind::kMove, 0, sign * (sideways ? 1 : kDaysPerWeek)};
        }
        return sideways ? KeyEdit{Kind::kMove, sign * kDragStepMinutes, 0}
                        : KeyEdit{Kind::kMove, 0, sign};
    }
    if (mods == (Qt::AltModifier | Qt::ShiftModifier) && sideways) {
        return {Kind::kResize, sign * kDragStepMinutes, 0};
    }
    if (mods == Qt::ShiftModifier && sideways && !grid && bodyFocused) {
        return {Kind::kHour, 0, 0, sign};
    }
    return {};
}

PixelPoint ContextMenuPoint(const ViewLayout& layout, const DayEntries& entries,
                            const ItemSelection& item, int row, std::optional<int> hour)
{
    const GanttGeometry geometry(layout);
    const PixelRect day = geometry.DayRect(row);
    const int y = (day.top + day.bottom) / 2;
    if (!layout.ganttRows) {
        return {(day.left + day.right) / 2, y};
    }
    if (item.HasItem() && item.kind == ItemKind::Task) {
        return {layout.dateColumnWidth + layout.taskAreaWidth / 2, y};
    }
    // Just inside a bar's or the hour's start, where a paste from the menu puts its item; a bar
    // cut at the first hour is met at the hours' left edge.
    int x = geometry.HourAreaLeft();
    if (item.HasItem() && !entries.IsAllDay(row, item.index)) {
        x = geometry.XOfMinute(entries.StartMinutes(row, item.index));
    } else if (!item.HasItem() && hour) {
        x = geometry.XOfMinute(*hour * kMinutesPerHour);
    }
    return {std::clamp(x + 1, geometry.HourAreaLeft() + 1, std::max(0, layout.chartRight - 1)), y};
}

} // namespace keyedit

bool KeyboardEditing::KeyPress(int qtKey, Qt::KeyboardModifiers modifiers)
{
    using Kind = keyedit::KeyEdit::Kind;
    const ViewLayout& layout = view_.Layout();
    const keyedit::KeyEdit edit = keyedit::KeyEditOf(qtKey, modifiers, !layout.ganttRows,
                                                     view_.State().keyFocusArea == keys::kBody);
    switch (edit.kind) {
    case Kind::kNone:
        return false;
    case Kind::kHour:
        view_.SelectHour(
            SteppedHour(view_.State().selectedHour, edit.hours, GetLocalTime().wHour, layout));
        return true;
    case Kind::kContextMenu: {
        const ViewState& state = view_.State();
        const PixelPoint at =
            keyedit::ContextMenuPoint(layout, view_.EditedSchedule(), state.selection,
                                      view_.SelectedRow(), state.selectedHour);
        editing_.OpenContextMenu({at.x, at.y});
        return true;
    }
    case Kind::kMove:
    case Kind::kResize:
        ChangeSelected(edit);
        return true;
    }
    return false;
}

// Tasks have days and no times; all-day appointments move by whole days, as in a drag.
void KeyboardEditing::ChangeSelected(const keyedit::KeyEdit& edit)
{
    const ItemSelection item = view_.State().selection; // the change clears the view's
    if (!item.IsStoreItem()) {
        return;
    }
    const bool task = item.kind == ItemKind::Task;
    const bool resize = edit.kind == keyedit::KeyEdit::Kind::kResize;
    const int row = view_.SelectedRow();
    const DayEntries& entries = view_.EditedSchedule();
    if ((task || entries.IsAllDay(row, item.index)) && (resize || edit.minutes != 0)) {
        return;
    }
    int days = edit.days;
    // Half an hour past either end of the day starts the item on the next or previous one.
    const int start = task ? 0 : entries.StartMinutes(row, item.index) + edit.minutes;
    if (!resize) {
        days += start < 0 ? -1 : start >= kMinutesPerDay ? 1 : 0;
    }
    MoveResult result;
    {
        // The selection the change clears comes back below: a screen reader hears one step.
        const QSignalBlocker quiet = view_.HoldSignals();
        result = task ? editing_.MoveSelectedTask(days)
                      : editing_.MoveSelectedAppointment(resize ? kDragEnd : kDragMove,
                                                         edit.minutes + edit.days * kMinutesPerDay);
    }
    if (result.status == MoveResult::Status::kDone) {
        view_.FollowItem(AddDays(item.date, days), item.kind, item.oid,
                         task ? -1 : result.exceptionNo);
    } else {
        view_.TellCommandStateChanged();
    }
}
