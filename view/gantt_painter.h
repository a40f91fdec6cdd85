// Draws the Gantt rows of the schedule body: day backgrounds and labels, appointment bars with
// their icons, texts, clipping and conflict marks, the header with the hour scale, the today and
// selection frames and the current-time marker.
#pragma once

#include <QBrush>

#include "view/paint_context.h"

class GanttPainter {
public:
    explicit GanttPainter(const PaintContext& context) : c_(context) {}

    // The brush of day row d: holiday kinds first, else its weekday, dimmed in alternate months.
    const QBrush& RowBrush(int day) const;

    void PaintRowBackgroundAndLabel(int day) const;
    void PaintAppointments(int day) const;
    void PaintNowMarker(int day) const;
    void PaintHeader() const;
    void PaintFrames() const;

private:
    struct BarState {
        int busyEnd = 0;
        bool hiddenBefore = false;
        bool hiddenAfter = false;
    };

    SYSTEMTIME RowDate(int day) const;
    bool HolidayHeadsRow(int day) const;
    void PaintAppointment(int day, int pos, BarState& state) const;
    int BarIcon(int day, int pos) const;
    void PaintHiddenIcons(int day, const BarState& state) const;

    PaintContext c_;
};
