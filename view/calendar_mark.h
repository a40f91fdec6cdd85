// The mark of an item's calendar: a narrow band of the calendar's colour at the left end of its
// bar in the chart and of its line in the grid, and a small swatch between the icon and the text
// of its detail line, so the items of several calendars tell apart at a glance.
#pragma once

#include <cstdint>

#include "view/view_layout.h"

class QPainter;

// How wide the band is; the icon and text of a bar or grid line move right by one more.
constexpr int kCalendarBandWidth = 3;

// The swatch of a detail line whose icon fills `icon`: a square of three fifths of the icon
// (at least 5 pixels), centred on it in height, 2 pixels right of it.
PixelRect CalendarSwatch(const PixelRect& icon);
// The band is filled flat: it sits inside the bar's outline, which frames it.
void DrawCalendarBand(QPainter& painter, const PixelRect& band, uint32_t colorRef);
// The swatch has an outline of a darker shade of its colour, so a pale calendar colour still
// shows on the white list.
void DrawCalendarSwatch(QPainter& painter, const PixelRect& swatch, uint32_t colorRef);
