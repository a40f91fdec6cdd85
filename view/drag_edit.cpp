// Drag arithmetic. The ghost and the release snap x to the same half-hour boundaries, measured
// from the hour area's left edge, so what the ghost shows is what a release saves.
#include "view/drag_edit.h"

#include <cstdlib>

#include "model/date_time.h"

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kMinutesPerDay = 24 * kMinutesPerHour;
constexpr int kHalfHour = kDragStepMinutes;
constexpr int kHandleTile = 16;

// Floor division, so points above the body fall on negative rows and left of it on earlier
// half hours.
int FloorDiv(int value, int divisor)
{
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

} // namespace

int DragEdit::RowAt(int y) const
{
    return FloorDiv(y - layout_.rowsTop, std::max(1, layout_.dayRowHeight));
}

int DragEdit::HourAreaRight() const
{
    return HourAreaLeft() + (layout_.lastHour - layout_.firstHour) * layout_.hourPixels;
}

bool DragEdit::InTaskColumn(int x) const
{
    return x > layout_.dateColumnWidth && x < HourAreaLeft();
}

int DragEdit::XOfMinute(int minutes) const
{
    const long long offset = minutes - layout_.firstHour * kMinutesPerHour;
    return HourAreaLeft() + static_cast<int>(offset * layout_.hourPixels / kMinutesPerHour);
}

int DragEdit::ClampToHours(int x) const
{
    return std::clamp(x, HourAreaLeft(), std::max(HourAreaLeft(), layout_.chartRight));
}

int DragEdit::Snap(int x) const
{
    const int step = HalfHourPixels();
    return HourAreaLeft() + FloorDiv(x - HourAreaLeft(), step) * step;
}

// A boundary is worth half an hour even when hourPixels is odd and the pixels do not split
// evenly; the minute is rounded down to the half hour.
int DragEdit::SnappedMinute(int x) const
{
    const int halfHours = FloorDiv(Snap(x) - HourAreaLeft(), HalfHourPixels());
    return layout_.firstHour * kMinutesPerHour + halfHours * kHalfHour;
}

DragMode DragEdit::ModeAtPress(const ItemSpan& span, int row, int x) const
{
    if (span.allDay) {
        return kDragMove;
    }
    const bool startRow = span.firstRow == row;
    const bool endRow = span.lastRow == row;
    const int left = startRow ? ClampToHours(XOfMinute(span.startMinutes)) : HourAreaLeft();
    const int right = endRow ? ClampToHours(XOfMinute(span.endMinutes)) : HourAreaRight();
    // The ends never take more than a third of the bar on this row, so a short bar can be moved.
    const int reach = std::min(layout_.hourPixels / 4, (right - left) / 3);
    if (endRow && right - x < reach) {
        return kDragEnd;
    }
    return startRow && x - left < reach ? kDragStart : kDragMove;
}

Ghost DragEdit::AppointmentGhost(const ItemSpan& span, DragMode mode, PixelPoint down,
                                 PixelPoint now) const
{
    const int dx = span.allDay ? 0 : Snap(now.x) - Snap(down.x);
    const int rows = RowAt(now.y) - RowAt(down.y);
    const int a = XOfMinute(span.startMinutes);
    const int b = XOfMinute(span.endMinutes);
    Ghost ghost;
    ghost.left = ClampToHours(mode == kDragEnd ? a : a + dx);
    ghost.right = ClampToHours(mode == kDragStart ? b : b + dx);
    ghost.startRow = mode == kDragEnd ? span.firstRow : span.firstRow + rows;
    ghost.endRow = mode == kDragStart ? span.lastRow : span.lastRow + rows;
    StopShortOfOtherEnd(span, mode, rows * kMinutesPerDay + dx / HalfHourPixels() * kHalfHour,
                        ghost);
    return ghost;
}

// The ghost of a resize stops where DraggedTimes will: half an hour before the other end.
void DragEdit::StopShortOfOtherEnd(const ItemSpan& span, DragMode mode, int shiftMinutes,
                                   Ghost& ghost) const
{
    const int start = span.firstRow * kMinutesPerDay + span.startMinutes;
    const int end = span.lastRow * kMinutesPerDay + span.endMinutes;
    int stop = 0;
    if (mode == kDragStart && start + shiftMinutes > std::max(end - kHalfHour, start)) {
        stop = std::max(end - kHalfHour, start);
    } else if (mode == kDragEnd && end + shiftMinutes < std::min(start + kHalfHour, end)) {
        stop = std::min(start + kHalfHour, end);
    } else {
        return;
    }
    const int row = FloorDiv(stop, kMinutesPerDay);
    const int x = ClampToHours(XOfMinute(stop - row * kMinutesPerDay));
    (mode == kDragStart ? ghost.startRow : ghost.endRow) = row;
    (mode == kDragStart ? ghost.left : ghost.right) = x;
}

Ghost DragEdit::TaskColumnGhost(int downRow, int row, bool taskSelected) const
{
    const int first = taskSelected ? row : std::min(downRow, row);
    const int last = taskSelected ? row : std::max(downRow, row);
    return {layout_.dateColumnWidth, HourAreaLeft(), first, last};
}

Ghost DragEdit::SweepGhost(PixelPoint down, PixelPoint now) const
{
    const int left = ClampToHours(Snap(down.x));
    const int right = ClampToHours(Snap(now.x) + HalfHourPixels());
    return {left, right, RowAt(down.y), RowAt(now.y)};
}

bool DragEdit::InsideBody(PixelPoint point) const
{
    return point.y > layout_.rowsTop && point.y < layout_.chartBottom;
}

std::vector<PixelRect> DragEdit::OverlayStrips(const Ghost& ghost, PixelPoint down,
                                               PixelPoint now) const
{
    std::vector<PixelRect> strips;
    if (!InsideBody(now)) {
        return strips;
    }
    const int height = layout_.dayRowHeight;
    const auto top = [&](int row) { return layout_.rowsTop + height * row; };
    if (InTaskColumn(down.x) && InTaskColumn(now.x)) {
        strips.push_back(
            {ghost.left, top(ghost.TopRow()), ghost.right, top(ghost.BottomRow()) + height - 1});
        return strips;
    }
    if (!InHourArea(down.x) || !InHourArea(now.x)) {
        return strips;
    }
    // A ghost running upward is drawn from its upper row, its ends exchanged.
    const bool upward = ghost.endRow < ghost.startRow;
    const int left = upward ? ghost.right : ghost.left;
    const int right = upward ? ghost.left : ghost.right;
    const int dayEnd = ClampToHours(XOfMinute(kMinutesPerDay));
    for (int row = ghost.TopRow(); row <= ghost.BottomRow(); ++row) {
        int from = row == ghost.TopRow() ? left : HourAreaLeft();
        int to = row == ghost.BottomRow() ? right : dayEnd;
        if (to < from) {
            std::swap(from, to);
        }
        strips.push_back({ClampToHours(from), top(row), ClampToHours(to), top(row) + height - 1});
    }
    return strips;
}

std::vector<PixelRect> DragEdit::Handles(const Ghost& ghost, DragMode mode) const
{
    const int size = std::min(kHandleTile, layout_.dayRowHeight);
    const auto top = [&](int row) { return layout_.rowsTop + layout_.dayRowHeight * row; };
    if (mode == kDragStart) {
        return {{ghost.left, top(ghost.startRow), ghost.left + size, top(ghost.startRow) + size}};
    }
    if (mode == kDragEnd) {
        return {{ghost.right - size, top(ghost.endRow), ghost.right, top(ghost.endRow) + size}};
    }
    return {};
}

// Both points must lie inside the body and right of the date column, in the same column kind;
// on one row in the hour area the pointer must have moved a quarter hour's pixels.
DragOutcome DragEdit::Decide(const Release& r) const
{
    using Action = DragOutcome::Action;
    DragOutcome outcome;
    const bool placed = r.mode != kNoDrag && r.intentional && InsideBody(r.down) &&
                        InsideBody(r.up) && r.down.x > layout_.dateColumnWidth &&
                        r.up.x > layout_.dateColumnWidth;
    const bool hours = InHourArea(r.down.x) && InHourArea(r.up.x);
    const bool tasks = InTaskColumn(r.down.x) && InTaskColumn(r.up.x);
    outcome.dayShift = RowAt(r.up.y) - RowAt(r.down.y);
    const bool moved =
        outcome.dayShift != 0 ||
        (!r.allDay && std::abs(r.up.x - r.down.x) >= std::max(1, layout_.hourPixels / 4));
    if (!placed || !(tasks || (hours && moved))) {
        return outcome;
    }
    const bool created = r.hit == Release::Hit::kNone;
    outcome.startMinutes = SnappedMinute(r.down.x);
    outcome.endMinutes =
        outcome.dayShift * kMinutesPerDay + SnappedMinute(r.up.x) + (created ? kHalfHour : 0);
    // An all-day item keeps its 00:00 start and whole-day end: only the rows count.
    if (r.allDay && !created) {
        outcome.startMinutes = 0;
        outcome.endMinutes = outcome.dayShift * kMinutesPerDay;
    }
    if (hours && layout_.ganttAreaVisible) {
        if (created && outcome.Delta() != 0) {
            outcome.action = Action::kCreateAppointment;
        } else if (r.hit == Release::Hit::kAppointment && outcome.Delta() != 0) {
            outcome.action = Action::kChangeAppointment;
        }
    } else if (tasks && layout_.taskAreaVisible) {
        if (created) {
            outcome.action = Action::kCreateTask;
        } else if (r.hit == Release::Hit::kTask && outcome.dayShift != 0) {
            outcome.action = Action::kMoveTask;
        }
    }
    return outcome;
}

TimeRange DraggedTimes(const TimeRange& item, DragMode mode, int deltaMinutes)
{
    const int64_t seconds = int64_t{deltaMinutes} * kMinutesPerHour;
    constexpr int64_t kHalfHourSeconds = int64_t{kHalfHour} * 60;
    TimeRange moved = item;
    if (mode != kDragEnd) {
        moved.start = AddSeconds(item.start, seconds);
    }
    if (mode != kDragStart) {
        moved.end = AddSeconds(item.end, seconds);
    }
    if (mode == kDragStart) {
        moved.start =
            std::min(moved.start, std::max(AddSeconds(item.end, -kHalfHourSeconds), item.start));
    } else if (mode == kDragEnd) {
        moved.end =
            std::max(moved.end, std::min(AddSeconds(item.start, kHalfHourSeconds), item.end));
    }
    return moved;
}
