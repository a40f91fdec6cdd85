// Pointer and clipboard handling of the view. A drag is meant once the mouse moved the platform's
// start-drag distance while held, or (a pen or touch) once it was held 0.864 seconds; a tap
// without movement never changes an item. Press-and-hold opens the context menu only for a pen
// or touch: a held mouse button is a drag, and the right button opens the menu.
#include "view/view_editing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWidget>

#include "model/date_time.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "res/string_table.h"
#include "view/context_menu.h"
#include "view/edit_feedback.h"
#include "view/gantt_painter.h"
#include "view/item_moves.h"
#include "view/paint_primitives.h"
#include "view/pointer_input.h"
#include "view/schedule_source.h"

namespace {

// A pen held this long before it lifts meant to drag, however little it moved.
constexpr quint64 kPenHoldMilliseconds = 864;
constexpr int kMinutesPerDay = 24 * 60;

PixelPoint PointOf(const QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    return {at.x(), at.y()};
}

bool FromMouse(const QMouseEvent* event)
{
    return event->source() == Qt::MouseEventNotSynthesized;
}

} // namespace

ViewEditing::ViewEditing(ViewEditingHost& view, QWidget& widget)
    : QObject(&widget), view_(view), widget_(widget)
{
    holdTimer_.setSingleShot(true);
    connect(&holdTimer_, &QTimer::timeout, this, [this] {
        CancelDrag();
        OpenContextMenu({last_.x, last_.y});
    });
    menuRunner_ = [this](const QPoint& global) {
        return RunContextMenu(widget_, view_.Commands(), global);
    };
}

void ViewEditing::Press(QMouseEvent* event)
{
    CancelDrag();
    view_.Relayout();
    const PixelPoint at = PointOf(event);
    down_ = last_ = at;
    downTimestamp_ = event->timestamp();
    fromMouse_ = FromMouse(event);
    moved_ = false;
    pressSelectedItem_ = false;
    const PressHit hit =
        Input().HitAt(at.x, at.y, view_.State().detailScroll, view_.CurrentDetailLines().total);
    const bool body =
        hit.area == PressHit::Area::kGanttRow || hit.area == PressHit::Area::kGridCell;
    // The right button only selects in the body and opens the menu there.
    if (body) {
        PressBody(hit, at);
    } else if (event->button() == Qt::LeftButton) {
        PressOutside(hit);
    } else {
        return;
    }
    view_.AfterAction();
    if (event->button() == Qt::RightButton) {
        CancelDrag();
        OpenContextMenu(event->position().toPoint());
    } else if (!fromMouse_ && (mode_ != kNoDrag || hit.area == PressHit::Area::kGridCell)) {
        holdTimer_.start(QGuiApplication::styleHints()->mousePressAndHoldInterval());
    }
}

// Hit tests measure the all-day labels in the main font, as the rows draw them.
PointerInput ViewEditing::Input() const
{
    const QFont font = view_.Resources().MainFont();
    return {view_.Layout(), view_.EditedSchedule(), view_.Settings().draw,
            [font](const std::wstring& text, int width) {
                return QFontMetrics(font).horizontalAdvance(TextSink::Displayable(text, width));
            }};
}

void ViewEditing::PressOutside(const PressHit& hit)
{
    if (hit.area == PressHit::Area::kButtonBar) {
        view_.State().focusedButton = hit.button;
        view_.State().keyFocusArea = keys::kButtonBar;
        view_.ButtonAction(hit.button);
        widget_.update();
        return;
    }
    if (hit.area != PressHit::Area::kDetail) {
        return;
    }
    const int line = view_.State().selection.line;
    switch (hit.detail->kind) {
    case DetailHit::Kind::LineAbove:
        view_.SelectDetailLine(line - 1);
        break;
    case DetailHit::Kind::LineBelow:
        view_.SelectDetailLine(line + 1);
        break;
    case DetailHit::Kind::Line:
        view_.SelectDetailLine(hit.detail->line);
        pressSelectedItem_ = view_.State().selection.HasItem();
        break;
    case DetailHit::Kind::ScrollTrack:
        break;
    }
}

void ViewEditing::SelectHitItem(const PressHit& hit)
{
    const DetailLines& lines = view_.CurrentDetailLines();
    const int line = LineOfItem(lines, hit.kind, hit.index);
    view_.State().selection =
        SelectionOfLine(lines, line, hit.day, view_.EditedSchedule(), view_.State().selectedDate);
    pressSelectedItem_ = view_.State().selection.HasItem();
    view_.UpdateDetail();
}

void ViewEditing::PressBody(const PressHit& hit, PixelPoint at)
{
    view_.SelectDate(AddDays(view_.EditedSchedule().GetShownStart(), hit.day));
    view_.State().keyFocusArea = keys::kBody;
    SelectHitItem(hit);
    if (hit.area != PressHit::Area::kGanttRow) {
        return;
    }
    mode_ = kDragMove;
    hit_ = Release::Hit::kNone;
    if (!view_.State().selection.HasItem()) {
        view_.SelectHourAt(at.x); // empty time: where Add App starts
        return;
    }
    const DragEdit drag(view_.Layout());
    if (view_.State().selection.kind == ItemKind::Task) {
        hit_ = Release::Hit::kTask;
        SetGhost(drag.TaskColumnGhost(hit.day, hit.day, true));
        return;
    }
    hit_ = Release::Hit::kAppointment;
    span_ = view_.EditedSchedule().AppointmentSpan(hit.day, hit.index);
    mode_ = drag.ModeAtPress(span_, hit.day, at.x);
    SetGhost(drag.AppointmentGhost(span_, mode_, at, at));
}

std::optional<Ghost> ViewEditing::GhostFor(PixelPoint now) const
{
    const DragEdit drag(view_.Layout());
    if (down_.x < drag.HourAreaLeft()) {
        return drag.TaskColumnGhost(drag.RowAt(down_.y), drag.RowAt(now.y),
                                    hit_ == Release::Hit::kTask);
    }
    if (hit_ == Release::Hit::kNone) {
        return drag.SweepGhost(down_, now);
    }
    if (hit_ == Release::Hit::kAppointment) {
        return drag.AppointmentGhost(span_, mode_, down_, now);
    }
    return std::nullopt;
}

void ViewEditing::Move(QMouseEvent* event)
{
    const PixelPoint at = PointOf(event);
    if (mode_ == kNoDrag) {
        UpdateCursor(at);
        return;
    }
    if (!moved_ && (QPoint(at.x, at.y) - QPoint(down_.x, down_.y)).manhattanLength() >=
                       QApplication::startDragDistance()) {
        moved_ = true;
        holdTimer_.stop();
    }
    // Leaving the body hides the overlay even when the ghost itself stays the same.
    const DragEdit drag(view_.Layout());
    const bool rowChanged = drag.RowAt(at.y) != drag.RowAt(last_.y);
    last_ = at;
    const std::optional<Ghost> ghost = GhostFor(at);
    if (ghost != ghost_ || rowChanged) {
        SetGhost(ghost);
    }
}

void ViewEditing::UpdateGhostRows(const Ghost& ghost)
{
    const ViewLayout& l = view_.Layout();
    const int top = l.rowsTop + l.dayRowHeight * ghost.TopRow();
    const int bottom = l.rowsTop + l.dayRowHeight * (ghost.BottomRow() + 1);
    widget_.update(QRect(0, top - 1, l.chartRight, bottom - top + 2));
}

void ViewEditing::SetGhost(std::optional<Ghost> ghost)
{
    if (ghost_) {
        UpdateGhostRows(*ghost_);
    }
    ghost_ = ghost;
    if (ghost_) {
        UpdateGhostRows(*ghost_);
    }
}

// The overlay in a shade of the button strip's first column stands for the exclusive-or ghost:
// repainting the rows removes it.
void ViewEditing::PaintOverlay(QPainter& painter) const
{
    if (!ghost_) {
        return;
    }
    const DragEdit drag(view_.Layout());
    const QColor colour =
        view_.Resources().ButtonStrip(1, view_.Layout().largeTiles).toImage().pixelColor(0, 0);
    const GanttGeometry geometry(view_.Layout());
    GanttPainter(view_.MakePaintContext(painter, geometry))
        .PaintGhost(drag.OverlayStrips(*ghost_, down_, last_), colour);
    const bool start = mode_ == kDragStart;
    for (const PixelRect& handle : drag.Handles(*ghost_, mode_)) {
        painter.drawPixmap(
            ToQRect(handle),
            res::LoadPicture(start ? res::Picture::HandleLeft : res::Picture::HandleRight, false));
    }
}

void ViewEditing::Release(QMouseEvent* event)
{
    holdTimer_.stop();
    if (mode_ == kNoDrag) {
        return;
    }
    last_ = PointOf(event);
    // The events' own times: the clock's whole seconds would turn a quick tap into a hold.
    const quint64 held = event->timestamp() - std::min(downTimestamp_, event->timestamp());
    const bool intentional = (fromMouse_ && moved_) || held >= kPenHoldMilliseconds;
    const DragOutcome outcome = DragEdit(view_.Layout())
                                    .Decide({mode_, hit_, down_, last_, intentional,
                                             hit_ == Release::Hit::kAppointment && span_.allDay});
    const DragMode mode = mode_;
    CancelDrag();
    ApplyRelease(outcome, mode);
    view_.UpdateFramesAndDetail();
}

bool ViewEditing::CancelDrag()
{
    holdTimer_.stop();
    const bool dragging = mode_ != kNoDrag;
    SetGhost(std::nullopt);
    mode_ = kNoDrag;
    return dragging;
}

DATE ViewEditing::RowDateTime(int minutes) const
{
    const DATE day = SystemTimeToVariantTime(TruncateSystemTime(view_.State().selectedDate, 3));
    return AddSeconds(day, int64_t{minutes} * 60);
}

void ViewEditing::ApplyRelease(const DragOutcome& outcome, DragMode mode)
{
    using Action = DragOutcome::Action;
    const DATE start = RowDateTime(outcome.startMinutes);
    const DATE end = RowDateTime(outcome.endMinutes);
    switch (outcome.action) {
    case Action::kNothing:
        return;
    case Action::kCreateAppointment:
        if (services_.addAppointment) {
            feedback_.AfterChange(
                {MoveResult::Status::kDone, services_.addAppointment(start, end)});
        }
        return;
    case Action::kCreateTask:
        if (services_.addTask) {
            feedback_.AfterChange({MoveResult::Status::kDone,
                                   services_.addTask(RowDateTime(0), RowDateTime(outcome.dayShift *
                                                                                 kMinutesPerDay))});
        }
        return;
    case Action::kChangeAppointment:
        MoveSelectedAppointment(mode, outcome.Delta());
        return;
    case Action::kMoveTask:
        MoveSelectedTask(outcome.dayShift);
        return;
    }
}

MoveResult ViewEditing::MoveSelectedAppointment(DragMode mode, int minutes)
{
    if (services_.edits == nullptr) {
        return {MoveResult::Status::kRefused};
    }
    const MoveResult result =
        feedback_.AsStep(mode == kDragMove ? UndoAction::kMove : UndoAction::kResize, [&] {
            return feedback_.Moves().MoveAppointment(view_.State().selection, mode, minutes);
        });
    feedback_.AfterChange(result);
    return result;
}

MoveResult ViewEditing::MoveSelectedTask(int days)
{
    if (services_.edits == nullptr) {
        return {MoveResult::Status::kRefused};
    }
    const MoveResult result =
        view_.State().selection.recurring
            ? MoveResult{MoveResult::Status::kRecurringTask}
            : feedback_.AsStep(UndoAction::kMove, [&] {
                  return feedback_.Moves().MoveTask(view_.State().selection, days);
              });
    feedback_.AfterChange(result);
    return result;
}

// The second press acts as a press; only one that took an item itself (a bar, a task strip
// entry, a detail line) edits, never a button or a scroll arrow with an item still selected.
void ViewEditing::DoubleClick(QMouseEvent* event)
{
    Press(event);
    CancelDrag();
    if (pressSelectedItem_) {
        EditSelected();
    }
}

void ViewEditing::EditSelected()
{
    const ItemSelection& item = view_.State().selection;
    if (!item.HasItem()) {
        feedback_.Warn(res::IDS_FAIL_GET_DATA);
        return;
    }
    view_.Commands().Execute(item.kind == ItemKind::Task ? cmd::ID_EDIT_TASK
                                                         : cmd::ID_EDIT_APPOINT);
}

void ViewEditing::OpenContextMenu(QPoint at)
{
    const ViewLayout& l = view_.Layout();
    if (view_.Settings().UsePopup == 0 || at.y() <= l.rowsTop || at.y() >= l.chartBottom ||
        at.x() >= l.chartRight) {
        return;
    }
    menuPoint_ = PixelPoint{at.x(), at.y()};
    const int id = menuRunner_ ? menuRunner_(widget_.mapToGlobal(at)) : 0;
    CommandUpdate update;
    if (id > 0 && view_.Commands().Update(id, update) && update.enabled) {
        view_.Commands().Execute(id);
    }
}

void ViewEditing::UpdateCursor(PixelPoint at)
{
    const ViewLayout& l = view_.Layout();
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (l.ganttRows && l.InChart(at.x, at.y)) {
        const PressHit hit = Input().HitAt(at.x, at.y, 0, 0);
        const DragEdit drag(l);
        if (hit.kind == ItemKind::Appointment) {
            const DragMode mode = drag.ModeAtPress(
                view_.EditedSchedule().AppointmentSpan(hit.day, hit.index), hit.day, at.x);
            shape = mode == kDragMove ? Qt::SizeAllCursor : Qt::SizeHorCursor;
        } else if (hit.kind == ItemKind::Task) {
            shape = Qt::SizeVerCursor;
        } else if (drag.InHourArea(at.x) || drag.InTaskColumn(at.x)) {
            shape = Qt::CrossCursor;
        }
    }
    if (widget_.cursor().shape() != shape) {
        widget_.setCursor(shape);
    }
}
