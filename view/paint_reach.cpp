#include "view/paint_reach.h"

#include "view/gantt_geometry.h"
#include "view/paint_primitives.h"

namespace reach {

QRect Row(const ViewLayout& layout, int row)
{
    return ToQRect(GanttGeometry(layout).DayRect(row)).adjusted(-1, -1, 1, 1);
}

QRect FramedRow(const ViewLayout& layout, int row)
{
    const int margin = 2 * layout.lineScale;
    return ToQRect(GanttGeometry(layout).DayRect(row)).adjusted(-margin, -margin, margin, margin);
}

QRect ButtonBar(const ViewLayout& layout)
{
    return {0, 0, layout.clientWidth, layout.buttonBarHeight + 1};
}

QRect ChartBottom(const ViewLayout& layout)
{
    return {0, layout.chartBottom, layout.chartRight, 1};
}

QRect HourLines(const ViewLayout& layout)
{
    return {0, layout.buttonBarHeight, layout.chartRight + 1,
            layout.chartBottom - layout.buttonBarHeight};
}

QRect Header(const ViewLayout& layout)
{
    return ToQRect(GanttGeometry(layout).HeaderRect());
}

QRect Detail(const ViewLayout& layout, bool lineFramed)
{
    return lineFramed ? ToQRect(layout.detailRect).adjusted(-1, -1, 1, 1)
                      : ToQRect(GanttGeometry(layout).DetailFrame());
}

QRect ScrollingBody(const ViewLayout& layout, bool grid)
{
    const int rowHeight = grid ? layout.weekRowHeight : layout.dayRowHeight;
    const int rows = grid ? layout.weekCount : layout.dayRowCount;
    return {0, layout.rowsTop, layout.chartRight + 1, rowHeight * rows};
}

} // namespace reach
