// Draws the Gantt rows of the schedule body: day backgrounds and labels, appointment bars with
// their icons, texts, clipping and conflict marks, the header with the hour scale, the today and
// selection frames and the current-time marker.
#pragma once

#include <QColor>
#include <vector>

#include "view/conflict_tracker.h"
#include "view/paint_context.h"

// The shade of the drag ghost over a row of colour `under`: the overlay colour `source` itself
// or a dark shade of it, whichever stands further from the row in brightness.
QColor GhostShade(const QColor& source, const QColor& under);

class GanttPainter {
public:
    explicit GanttPainter(const PaintContext& context) : c_(context) {}

    void PaintRowBackgroundAndLabel(int day) const;
    void PaintAppointments(int day) const;
    void PaintNowMarker(int day) const;
    void PaintHeader() const;
    void PaintFrames() const;
    // The drag ghost's strips, each filled with a translucent GhostShade of its row and framed
    // by a 1-pixel line of that shade, so it shows on any row colour.
    void PaintGhost(const std::vector<PixelRect>& strips, const QColor& source) const;

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
