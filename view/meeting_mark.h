// The mark of a meeting: a small corner triangle in the top right of its bar in the chart and of
// its icon in the detail list, so invitations stand out from the user's own appointments.
#pragma once

#include <QColor>

#include "view/view_layout.h"

class QPainter;

// The square the mark's triangle fills half of (its top-right half), inside `frame`'s outline:
// a side of half the frame's height, 4 to 10 pixels, never wider than the inside of the frame.
PixelRect MeetingMarkSquare(const PixelRect& frame);
// The mark's colour: a dark blue, rimmed in white along its diagonal so that it stands out on
// every bar colour and on the dark palette.
QColor MeetingMarkColor();
void DrawMeetingMark(QPainter& painter, const PixelRect& frame);
