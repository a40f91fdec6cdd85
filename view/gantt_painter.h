// Draws the Gantt rows of the schedule body: day backgrounds and labels, appointment bars with
// their icons, texts, clipping and conflict marks, the header with the hour scale, the today and
// selection frames and the current-time marker.
#pragma once

#include "view/conflict_tracker.h"
#include "view/paint_context.h"

class GanttPainter {
public:
    explicit GanttPainter(const PaintContext& context) : c_(context) {}

    void PaintRowBackgroundAndLabel(int day) const;
    void PaintAppointments(int day) const;
    void PaintNowMarker(int day) const;
    void PaintHeader() const;
    void PaintFrames() const;

private:
    struct BarState {
        ConflictTracker conflicts;
        bool hiddenBefore = false;
        bool hiddenAfter = false;
    };

    void PaintAppointment(int day, int pos, BarState& state) const;
    void PaintHiddenIcons(int day, const BarState& state) const;

    PaintContext c_;
};
