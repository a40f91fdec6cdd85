// The view's keys, hardware buttons, wheel and detail-list scrolling: what a key or a notch
// moves (the period, the selected row, the hour window, the detail lines) and the least it must
// repaint for it. The rest of the view is in tamberlo_view.cpp.
#include "view/tamberlo_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "view/gantt_geometry.h"
#include "view/item_tooltip.h"
#include "view/keyboard_editing.h"
#include "view/paint_primitives.h"
#include "view/paint_reach.h"
#include "view/schedule_source.h"
#include "view/task_detail_painter.h"

namespace {

constexpr int kWheelNotch = 120;

} // namespace

bool CTamberloView::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            return MoveFocusArea(key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier);
        }
    }
    // The Menu key opened the menu at its press already; the desktop may follow it with this.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        return true;
    }
    // A desktop turning dark or light redraws with the matching colours.
    if (event->type() == QEvent::PaletteChange) {
        SettingsChanged();
    }
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::wstring text = ToolTipText(help->pos());
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdWString(text), this);
        }
        return true;
    }
    return QWidget::event(event);
}

std::wstring CTamberloView::ToolTipText(QPoint at)
{
    Relayout();
    return ToolTipAt(editing_->Input(), schedule_, settings_.draw, at.x(), at.y(),
                     state_.detailScroll, CurrentDetailLines().total);
}

bool CTamberloView::MoveFocusArea(bool forward)
{
    editing_->CancelDrag();
    state_.keyFocusArea =
        keys::NextFocusArea(state_.keyFocusArea, forward, switches_.InfoAreaVisible);
    update();
    AfterAction();
    return true;
}

void CTamberloView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CTamberloView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CTamberloView::keyPressEvent(QKeyEvent* event)
{
    // A modifier alone leaves a drag as it is (Shift may be held while dragging); any other key
    // ends it, and Escape only cancels it.
    if (keys::IsModifierKey(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (editing_->CancelDrag() && event->key() == Qt::Key_Escape) {
        return;
    }
    Relayout();
    // The desktop keys run the commands they stand for exactly when the menu item is enabled.
    const int command = keys::AcceleratorCommand(event->key(), event->modifiers(), [this](int id) {
        CommandUpdate update;
        commands_.Update(id, update);
        return commands_.HasHandler(id) && update.enabled;
    });
    if (command != 0 && commands_.Execute(command)) {
        return;
    }
    if (KeyboardEditing(*this, *editing_).KeyPress(event->key(), event->modifiers())) {
        return;
    }
    const keys::DigitResult digit =
        keys::DigitKey(event->key(), settings_.hardwareKeys, switches_.InfoAreaVisible);
    const keys::Action action =
        digit.matched ? digit.action : keys::AreaKey(state_.keyFocusArea, event->key());
    if (!digit.matched && action == keys::Action::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int previousMonth = state_.selectedDate.wMonth;
    const bool barFocused = state_.keyFocusArea == keys::kButtonBar;
    RunKey(action);
    // The alternate-month shading follows the selected month.
    if (state_.selectedDate.wMonth != previousMonth && settings_.draw.BrightReduceRate != 100) {
        update();
    }
    // The focus indicator is redrawn after every key; the strips only when the bar has or had
    // the focus, whose frame they carry.
    if (barFocused || state_.keyFocusArea == keys::kButtonBar) {
        update(reach::ButtonBar(layout_));
    } else {
        update(ToQRect(layout_.FocusIndicatorRect()));
    }
    AfterAction();
}

void CTamberloView::RunKey(keys::Action action)
{
    using keys::Action;
    if (const std::optional<int> area = keys::FocusOf(action)) {
        state_.keyFocusArea = *area;
        return;
    }
    if (const std::optional<nav::BodyKey> key = keys::BodyKeyOf(action)) {
        MoveInBody(*key);
        return;
    }
    switch (action) {
    case Action::SelectToday:
        ButtonAction(res::kButtonSelectToday);
        break;
    case Action::CalendarOrGantt:
        ButtonAction(keys::kButtonCalendarOrGantt);
        break;
    case Action::ButtonEnter:
        ButtonEnter();
        break;
    case Action::BodyEnter:
        state_.keyFocusArea = switches_.InfoAreaVisible ? keys::kDetail : keys::kButtonBar;
        break;
    case Action::DetailUp:
    case Action::DetailDown:
        SelectDetailLine(state_.selection.line + (action == Action::DetailUp ? -1 : 1));
        break;
    default:
        state_.focusedButton = keys::MoveButtonFocus(state_.focusedButton, action);
        break;
    }
}

void CTamberloView::ButtonEnter()
{
    if (!keys::ButtonRunsOnEnter(state_.focusedButton)) {
        state_.keyFocusArea = keys::kBody;
        return;
    }
    ButtonAction(state_.focusedButton);
    if (state_.focusedButton != res::kButtonSelectToday) {
        update();
    }
}

// The selection moves over the rows, or the period moves under it. A period step that the
// document already holds scrolls the body's pixels by one row and paints only what is new.
void CTamberloView::MoveInBody(nav::BodyKey key, bool keepRow)
{
    const bool grid = switches_.CalendarType == 0;
    if (!grid && (key == nav::BodyKey::Right || key == nav::BodyKey::Left)) {
        MoveHourWindow(
            key == nav::BodyKey::Right
                ? nav::HourKeyRight(hours_.firstHour, layout_.hourCount, layout_.hourPixels)
                : nav::HourKeyLeft(hours_.firstHour, layout_.hourPixels));
        return;
    }
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int rows = layout_.dayRowCount;
    const int oldRow = SelectedRow();
    const bool forward = key == nav::BodyKey::Down;
    // The wheel moves the period as the keys do on the edge row, and keeps the selected row.
    const int edgeRow = forward ? rows - 1 : 0;
    const std::optional<nav::BodyMove> move =
        nav::MoveInBody(key, grid, keepRow ? edgeRow : oldRow, rows, first);
    if (!move) {
        return;
    }
    const int newRow = keepRow ? std::clamp(oldRow, 0, rows - 1) : move->selectedRow;
    state_.detailScroll = 0;
    ClearItemSelection();
    const SYSTEMTIME newFirst = AddDays(first, move->periodDays);
    state_.selectedDate = AddDays(newFirst, newRow);
    if (move->periodDays == 0) {
        UpdateRow(oldRow);
        UpdateRow(newRow);
        UpdateDetail();
    } else if (schedule_.SetShownStart(newFirst)) {
        ScrollBodyOnScreen(move->periodDays, oldRow, first);
    } else {
        ReloadSchedule();
        update();
    }
}

void CTamberloView::ScrollBodyOnScreen(int periodDays, int oldRow, const SYSTEMTIME& oldFirst)
{
    const bool grid = switches_.CalendarType == 0;
    const int rowHeight = grid ? layout_.weekRowHeight : layout_.dayRowHeight;
    scroll(0, periodDays > 0 ? -rowHeight : rowHeight, reach::ScrollingBody(layout_, grid));
    // The old selection frame moved with the pixels; its row and the new one are redrawn.
    UpdateRow(oldRow - periodDays);
    UpdateRow(SelectedRow());
    UpdateDetail();
    // The header names the first day's year (the grid's also its months); the hour scale stays.
    const SYSTEMTIME first = schedule_.GetShownStart();
    if (first.wYear != oldFirst.wYear || first.wMonth != oldFirst.wMonth) {
        update(reach::Header(layout_));
    }
}

void CTamberloView::MoveHourWindow(int firstHour)
{
    if (firstHour == hours_.firstHour) {
        return;
    }
    hours_.firstHour = firstHour;
    update();
}

void CTamberloView::UpdateRow(int row)
{
    if (row < 0 || row >= layout_.dayRowCount) {
        return;
    }
    update(reach::FramedRow(layout_, row));
}

void CTamberloView::UpdateFramesAndDetail()
{
    update(reach::Header(layout_));
    UpdateDetail();
}

// The frame's reach only when no line is or was framed: the wider one would take every row of the
// chart's right edge column to repaint.
void CTamberloView::UpdateDetail()
{
    update(reach::Detail(layout_, detailLineFramed_ || state_.selection.line >= 0));
}

void CTamberloView::ScrollDetail(int lines)
{
    const DetailLines& shown = CurrentDetailLines();
    const int last = std::max(0, shown.total - layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll + lines, 0, last);
    if (scroll == state_.detailScroll) {
        return;
    }
    state_.detailScroll = scroll;
    UpdateDetail();
}

bool CTamberloView::DetailLinesKey::operator==(const DetailLinesKey& other) const
{
    return DaysBetween(first, other.first) == 0 && row == other.row && scroll == other.scroll;
}

CTamberloView::DetailLinesKey CTamberloView::CurrentDetailKey() const
{
    return {schedule_.GetShownStart(), SelectedRow(), state_.detailScroll};
}

void CTamberloView::ReloadSchedule()
{
    schedule_.Reload();
    detailLinesFor_.reset();
}

// The line map of the last paint when it shows the same period, day and scroll; otherwise the
// detail pass runs again without drawing anything visible.
const DetailLines& CTamberloView::CurrentDetailLines()
{
    const DetailLinesKey wanted = CurrentDetailKey();
    if (detailLinesFor_ == wanted) {
        return detailLines_;
    }
    Relayout();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const TextSink quiet;
    const GanttGeometry geometry(layout_);
    detailLines_ = TaskDetailPainter(::MakePaintContext(painter, geometry, Picture(quiet)))
                       .PaintDetail(wanted.row, wanted.scroll, -1);
    detailLinesFor_ = wanted;
    return detailLines_;
}

bool CTamberloView::ScrollDetailToLine(int line)
{
    const int visible = std::max(1, layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll, line - visible + 1, line);
    if (scroll == state_.detailScroll) {
        return false;
    }
    state_.detailScroll = scroll;
    return true;
}

// The line map depends on the scroll (lines a category hides count only outside the shown
// window), so the selection is read from the map of the scroll it is shown at.
void CTamberloView::SelectDetailLine(int line)
{
    const DetailLines& lines = CurrentDetailLines();
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines) {
        return;
    }
    state_.keyFocusArea = keys::kDetail;
    ScrollDetailToLine(line);
    state_.selection =
        SelectionOfLine(CurrentDetailLines(), line, SelectedRow(), schedule_, state_.selectedDate);
    UpdateDetail();
    emit CommandStateChanged();
}

bool CTamberloView::SelectItem(ItemKind kind, const std::wstring& oid)
{
    ClearItemSelection();
    if (SelectEntry(kind, oid, -1)) {
        state_.keyFocusArea = keys::kDetail;
    }
    update();
    emit CommandStateChanged();
    return state_.selection.HasItem();
}

// A notch is one step; a touchpad's small deltas add up to one.
void CTamberloView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    wheelAccumulator_ += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = wheelAccumulator_ / kWheelNotch;
    wheelAccumulator_ -= steps * kWheelNotch;
    if (steps == 0) {
        return;
    }
    Relayout();
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool inBody =
        at.y() > layout_.rowsTop && at.y() < layout_.chartBottom && at.x() < layout_.chartRight;
    for (int step = 0; step < std::abs(steps); ++step) {
        const bool later = steps < 0;
        if (modifiers.testFlag(Qt::ControlModifier)) {
            ButtonAction(later ? res::kButtonZoomOut : res::kButtonZoomIn);
        } else if (layout_.detailVisible && layout_.detailRect.Contains(at.x(), at.y())) {
            ScrollDetail(later ? 1 : -1);
        } else if (modifiers.testFlag(Qt::ShiftModifier) && layout_.ganttRows) {
            MoveHourWindow(
                later ? nav::HourKeyRight(hours_.firstHour, layout_.hourCount, layout_.hourPixels)
                      : nav::HourKeyLeft(hours_.firstHour, layout_.hourPixels));
        } else if (inBody) {
            MoveInBody(later ? nav::BodyKey::Down : nav::BodyKey::Up, true);
        }
    }
    AfterAction();
}
