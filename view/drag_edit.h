// Drag editing in the Gantt rows as pure arithmetic over one layout: which end a press grabs, the
// ghost that follows the pointer, the strips the overlay paints, and what a release means. The
// view paints the overlay and hands the decision to the change path.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/systemtime.h"
#include "view/view_layout.h"

enum DragMode : int { kNoDrag = 0, kDragMove = 1, kDragStart = 2, kDragEnd = 3 };

// A drag moves and resizes by whole half hours; the editing keys step by the same.
constexpr int kDragStepMinutes = 30;

// Where an appointment is listed: its first and last row, its start on the first row and its end
// on the last row (minutes of those days).
struct ItemSpan {
    int firstRow = 0;
    int lastRow = 0;
    int startMinutes = 0;
    int endMinutes = 0;
    bool allDay = false;
};

// The ghost: from x `left` on its start row to x `right` on its end row.
struct Ghost {
    int left = 0;
    int right = 0;
    int startRow = 0;
    int endRow = 0;
    bool operator==(const Ghost&) const = default;

    int TopRow() const { return std::min(startRow, endRow); }
    int BottomRow() const { return std::max(startRow, endRow); }
};

// What a release writes. Times are minutes from midnight of the pen-down row's day, already on
// half-hour boundaries; the end may lie on a later (or earlier) day.
struct DragOutcome {
    enum class Action { kNothing, kCreateAppointment, kCreateTask, kChangeAppointment, kMoveTask };
    Action action = Action::kNothing;
    int startMinutes = 0;
    int endMinutes = 0;
    int dayShift = 0; // rows between pen-down and pen-up
    bool operator==(const DragOutcome&) const = default;

    // How far the grabbed ends move.
    int Delta() const { return endMinutes - startMinutes; }
};

// The release as the view saw it.
struct Release {
    DragMode mode = kNoDrag;
    enum class Hit { kNone, kTask, kAppointment } hit = Hit::kNone;
    PixelPoint down;
    PixelPoint up;
    // The pointer was meant to drag: it moved the start-drag distance or was held long enough.
    bool intentional = false;
    bool allDay = false; // the appointment hit is an all-day one: it moves by whole days only
};

class DragEdit {
public:
    explicit DragEdit(const ViewLayout& layout) : layout_(layout) {}

    // Day row under y; rows above the body are negative.
    int RowAt(int y) const;
    int HourAreaLeft() const { return layout_.dateColumnWidth + layout_.taskAreaWidth; }
    int HourAreaRight() const;
    bool InHourArea(int x) const { return x >= HourAreaLeft() && x < HourAreaRight(); }
    bool InTaskColumn(int x) const;

    // A press within a quarter hour's pixels of a bar's end, and within the outer third of the
    // bar on that row, grabs that end (the end wins); an all-day item is only ever moved.
    DragMode ModeAtPress(const ItemSpan& span, int row, int x) const;
    Ghost AppointmentGhost(const ItemSpan& span, DragMode mode, PixelPoint down,
                           PixelPoint now) const;
    // The task column from the pen-down row to the current row; a selected task only moves.
    Ghost TaskColumnGhost(int downRow, int row, bool taskSelected) const;
    // A sweep over empty hours: from the half hour at or left of the press to the one right of x.
    Ghost SweepGhost(PixelPoint down, PixelPoint now) const;

    // The strips the overlay covers, row by row, while the pointer is inside the body.
    std::vector<PixelRect> OverlayStrips(const Ghost& ghost, PixelPoint down, PixelPoint now) const;
    // The grabbed end's handle square on its row (none when moving).
    std::vector<PixelRect> Handles(const Ghost& ghost, DragMode mode) const;

    DragOutcome Decide(const Release& release) const;

    // The half-hour boundary at or left of x, and the minute of the day it stands for.
    int Snap(int x) const;
    int SnappedMinute(int x) const;

private:
    int HalfHourPixels() const { return std::max(1, layout_.hourPixels / 2); }
    int XOfMinute(int minutes) const;
    int ClampToHours(int x) const;
    void StopShortOfOtherEnd(const ItemSpan& span, DragMode mode, int shiftMinutes,
                             Ghost& ghost) const;
    bool InsideBody(PixelPoint point) const;

    ViewLayout layout_;
};

// An appointment's start and end.
struct TimeRange {
    DATE start = 0.0;
    DATE end = 0.0;
    bool operator==(const TimeRange&) const = default;
};

// The times after a release that moves the grabbed ends by `deltaMinutes`. A resize stops half an
// hour before the other end (an item already shorter is not shortened), so it never makes an
// item of no length or one that ends before it starts.
TimeRange DraggedTimes(const TimeRange& item, DragMode mode, int deltaMinutes);
