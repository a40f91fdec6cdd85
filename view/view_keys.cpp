#include "view/view_keys.h"

#include <algorithm>

#include "model/date_time.h"
#include "res/pictures.h"
#include "view/paint_primitives.h"
#include "view/paint_reach.h"
#include "view/schedule_source.h"

namespace {

constexpr int kWheelNotch = 120;

} // namespace

bool ViewKeys::KeyPress(int qtKey, Qt::KeyboardModifiers modifiers)
{
    // A modifier alone leaves a drag as it is (Shift may be held while dragging); any other key
    // ends it, and Escape only cancels it.
    if (keys::IsModifierKey(qtKey)) {
        return false;
    }
    if (view_.CancelDrag() && qtKey == Qt::Key_Escape) {
        return true;
    }
    view_.Relayout();
    // The desktop keys run the commands they stand for exactly when the menu item is enabled.
    const CommandTable& commands = view_.Commands();
    const int command = keys::AcceleratorCommand(qtKey, modifiers, [&commands](int id) {
        CommandUpdate update;
        commands.Update(id, update);
        return commands.HasHandler(id) && update.enabled;
    });
    if ((command != 0 && commands.Execute(command)) || view_.KeyboardEdit(qtKey, modifiers)) {
        return true;
    }
    ViewState& state = view_.State();
    const ViewSettings& settings = view_.Settings();
    const keys::DigitResult digit =
        keys::DigitKey(qtKey, settings.hardwareKeys, view_.Switches().InfoAreaVisible);
    const keys::Action action =
        digit.matched ? digit.action : keys::AreaKey(state.keyFocusArea, qtKey);
    if (!digit.matched && action == keys::Action::None) {
        return false;
    }
    const int previousMonth = state.selectedDate.wMonth;
    const bool barFocused = state.keyFocusArea == keys::kButtonBar;
    RunKey(action);
    // The alternate-month shading follows the selected month.
    if (state.selectedDate.wMonth != previousMonth && settings.draw.BrightReduceRate != 100) {
        view_.RepaintAll();
    }
    // The focus indicator is redrawn after every key; the strips only when the bar has or had
    // the focus, whose frame they carry.
    const ViewLayout& layout = view_.Layout();
    view_.Repaint(barFocused || state.keyFocusArea == keys::kButtonBar
                      ? reach::ButtonBar(layout)
                      : ToQRect(layout.FocusIndicatorRect()));
    view_.AfterAction();
    return true;
}

void ViewKeys::RunKey(keys::Action action)
{
    using keys::Action;
    ViewState& state = view_.State();
    if (const std::optional<int> area = keys::FocusOf(action)) {
        state.keyFocusArea = *area;
        return;
    }
    if (const std::optional<nav::BodyKey> key = keys::BodyKeyOf(action)) {
        MoveInBody(*key);
        return;
    }
    switch (action) {
    case Action::SelectToday:
        view_.ButtonAction(res::kButtonSelectToday);
        break;
    case Action::CalendarOrGantt:
        view_.ButtonAction(keys::kButtonCalendarOrGantt);
        break;
    case Action::ButtonEnter:
        ButtonEnter();
        break;
    case Action::BodyEnter:
        state.keyFocusArea = view_.Switches().InfoAreaVisible ? keys::kDetail : keys::kButtonBar;
        break;
    case Action::DetailUp:
    case Action::DetailDown:
        view_.SelectDetailLine(state.selection.line + (action == Action::DetailUp ? -1 : 1));
        break;
    default:
        state.focusedButton = keys::MoveButtonFocus(state.focusedButton, action);
        break;
    }
}

void ViewKeys::ButtonEnter()
{
    ViewState& state = view_.State();
    if (!keys::ButtonRunsOnEnter(state.focusedButton)) {
        state.keyFocusArea = keys::kBody;
        return;
    }
    view_.ButtonAction(state.focusedButton);
    if (state.focusedButton != res::kButtonSelectToday) {
        view_.RepaintAll();
    }
}

int ViewKeys::HourKeyStep(bool later) const
{
    const ViewLayout& layout = view_.Layout();
    const int firstHour = view_.Hours().firstHour;
    return later ? nav::HourKeyRight(firstHour, layout.hourCount, layout.hourPixels)
                 : nav::HourKeyLeft(firstHour, layout.hourPixels);
}

// The selection moves over the rows, or the period moves under it. A period step that the
// document already holds scrolls the body's pixels by one row and paints only what is new.
void ViewKeys::MoveInBody(nav::BodyKey key, bool keepRow)
{
    const bool grid = view_.Switches().CalendarType == 0;
    if (!grid && (key == nav::BodyKey::Right || key == nav::BodyKey::Left)) {
        view_.MoveHourWindow(HourKeyStep(key == nav::BodyKey::Right));
        return;
    }
    ScheduleSource& schedule = view_.EditedSchedule();
    const SYSTEMTIME first = schedule.GetShownStart();
    const int rows = view_.Layout().dayRowCount;
    const int oldRow = view_.SelectedRow();
    const bool forward = key == nav::BodyKey::Down;
    // The wheel moves the period as the keys do on the edge row, and keeps the selected row.
    const int edgeRow = forward ? rows - 1 : 0;
    const std::optional<nav::BodyMove> move =
        nav::MoveInBody(key, grid, keepRow ? edgeRow : oldRow, rows, first);
    if (!move) {
        return;
    }
    const int newRow = keepRow ? std::clamp(oldRow, 0, rows - 1) : move->selectedRow;
    ViewState& state = view_.State();
    state.detailScroll = 0;
    view_.ClearItemSelection();
    const SYSTEMTIME newFirst = AddDays(first, move->periodDays);
    state.selectedDate = AddDays(newFirst, newRow);
    if (move->periodDays == 0) {
        view_.UpdateRow(oldRow);
        view_.UpdateRow(newRow);
        view_.UpdateDetail();
    } else if (schedule.SetShownStart(newFirst)) {
        ScrollBodyOnScreen(move->periodDays, oldRow, first);
    } else {
        view_.ReloadSchedule();
        view_.RepaintAll();
    }
}

void ViewKeys::ScrollBodyOnScreen(int periodDays, int oldRow, const SYSTEMTIME& oldFirst)
{
    const ViewLayout& layout = view_.Layout();
    const bool grid = view_.Switches().CalendarType == 0;
    const int rowHeight = grid ? layout.weekRowHeight : layout.dayRowHeight;
    view_.ScrollPixels(periodDays > 0 ? -rowHeight : rowHeight, reach::ScrollingBody(layout, grid));
    // The old selection frame moved with the pixels; its row and the new one are redrawn.
    view_.UpdateRow(oldRow - periodDays);
    view_.UpdateRow(view_.SelectedRow());
    view_.UpdateDetail();
    // The header names the first day's year (the grid's also its months); the hour scale stays.
    const SYSTEMTIME first = view_.EditedSchedule().GetShownStart();
    if (first.wYear != oldFirst.wYear || first.wMonth != oldFirst.wMonth) {
        view_.Repaint(reach::Header(layout));
    }
}

void ViewKeys::Wheel(QPoint angleDelta, QPoint at, Qt::KeyboardModifiers modifiers)
{
    wheelAccumulator_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int steps = wheelAccumulator_ / kWheelNotch;
    wheelAccumulator_ -= steps * kWheelNotch;
    if (steps == 0) {
        return;
    }
    view_.Relayout();
    const ViewLayout& layout = view_.Layout();
    const bool inBody =
        at.y() > layout.rowsTop && at.y() < layout.chartBottom && at.x() < layout.chartRight;
    for (int step = 0; step < std::abs(steps); ++step) {
        const bool later = steps < 0;
        if (modifiers.testFlag(Qt::ControlModifier)) {
            view_.ButtonAction(later ? res::kButtonZoomOut : res::kButtonZoomIn);
        } else if (layout.detailVisible && layout.detailRect.Contains(at.x(), at.y())) {
            view_.ScrollDetail(later ? 1 : -1);
        } else if (modifiers.testFlag(Qt::ShiftModifier) && layout.ganttRows) {
            view_.MoveHourWindow(HourKeyStep(later));
        } else if (inBody) {
            MoveInBody(later ? nav::BodyKey::Down : nav::BodyKey::Up, true);
        }
    }
    view_.AfterAction();
}
