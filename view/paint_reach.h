// Where each part of the view can draw, as rectangles of the layout. The renderer clips each part
// to its reach, and a change repaints the reach of what it changed, so the two never disagree.
#pragma once

#include <QRect>

#include "view/view_layout.h"

namespace reach {

// A day row's lines reach one pixel past its rectangle.
QRect Row(const ViewLayout& layout, int row);
// A row with the selection frame's wide pen around it: what selecting or leaving it repaints.
QRect FramedRow(const ViewLayout& layout, int row);
// The picture buttons and the line under them.
QRect ButtonBar(const ViewLayout& layout);
// The line under the chart's last row.
QRect ChartBottom(const ViewLayout& layout);
// The header, whose hour lines run down through every row to the chart's bottom.
QRect HourLines(const ViewLayout& layout);
QRect Header(const ViewLayout& layout);
// The detail list; a framed line's wide pen reaches one pixel past it, into the chart's right
// edge column. Without one it paints inside its frame.
QRect Detail(const ViewLayout& layout, bool lineFramed);
// The rows a period step scrolls by one row's pixels, the chart's right edge column with them
// (bars cut at the last hour end on it).
QRect ScrollingBody(const ViewLayout& layout, bool grid);

} // namespace reach
