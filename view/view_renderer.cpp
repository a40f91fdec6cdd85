// A step inside the window dirties a few strips far apart (rows, header, detail). Each part is
// painted once, clipped to where the region meets its reach (what it can draw): mostly one
// rectangle, which the raster engine clips far faster than the whole region. Parts the region
// misses are skipped, so a huge client costs only what is shown.
#include "view/view_renderer.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRegion>
#include <algorithm>

#include "model/date_time.h"
#include "res/pictures.h"
#include "view/calendar_painter.h"
#include "view/gantt_painter.h"
#include "view/key_input.h"
#include "view/paint_primitives.h"
#include "view/paint_reach.h"
#include "view/selected_hour.h"

namespace {

void PaintFocusFrame(QPainter& painter, const ViewPicture& picture)
{
    if (!picture.focusFrameShown) {
        return;
    }
    if (const std::optional<PixelRect> frame =
            keys::FocusAreaRect(picture.layout, picture.state.keyFocusArea)) {
        FrameRectangle(painter, *frame, QPen(picture.highlight, 2));
    }
}

void PaintButtonBar(QPainter& painter, const ViewPicture& picture)
{
    const ViewLayout& layout = picture.layout;
    const ViewResources& resources = picture.resources;
    const bool large = layout.largeTiles;
    const PixelPoint strips[] = {layout.strip1Pos, layout.strip2Pos};
    for (int strip = 0; strip < 2; ++strip) {
        painter.drawPixmap(strips[strip].x, strips[strip].y, resources.ButtonStrip(strip, large));
    }
    const QRect blank = res::ButtonTileRect(res::kButtonBlank19, large);
    for (const PixelRect& filler : layout.ButtonBarFillers()) {
        for (int x = filler.left; x < filler.right; x += layout.tileSize) {
            painter.drawPixmap(
                QRect(x, filler.top, std::min(layout.tileSize, filler.right - x), filler.Height()),
                resources.ButtonStrip(1, large),
                blank.adjusted(0, 0, std::min(0, filler.right - x - blank.width()), 0));
        }
    }
    painter.setPen(resources.BlackPen());
    HorizontalLine(painter, 0, layout.clientWidth, layout.buttonBarHeight);

    const int focusArea = picture.state.keyFocusArea;
    const QRect focusTile = res::TileRect(res::Picture::FocusIndicator, large, focusArea);
    painter.drawPixmap(ToQRect(layout.FocusIndicatorRect()), resources.FocusIndicator(large),
                       focusTile);
    if (focusArea == res::kFocusButtonBar) {
        FrameRectangle(painter, layout.FocusFrameRect(picture.state.focusedButton),
                       resources.FocusPen());
    }
}

} // namespace

PaintContext MakePaintContext(QPainter& painter, const GanttGeometry& geometry,
                              const ViewPicture& picture)
{
    return {painter,
            picture.layout,
            geometry,
            picture.entries,
            picture.settings,
            picture.resources,
            picture.text,
            picture.entries.GetShownStart(),
            picture.state.selectedDate,
            picture.now};
}

std::optional<DetailLines> RenderView(QPainter& painter, const QRegion& dirty,
                                      const ViewPicture& picture)
{
    const ViewLayout& layout = picture.layout;
    const QSize client(layout.clientWidth, layout.clientHeight);
    QRegion area = dirty.intersected(QRect(QPoint(0, 0), client));
    if (painter.hasClipping()) {
        area &= painter.clipRegion();
    }
    if (area.isEmpty()) {
        return std::nullopt;
    }
    painter.save();
    const auto clipTo = [&](const QRect& reach) {
        const QRegion part = area.intersected(reach);
        painter.setClipRegion(part);
        return !part.isEmpty();
    };
    const GanttGeometry geometry(layout);
    painter.setClipRegion(area);
    painter.fillRect(area.boundingRect(), picture.resources.WhiteBrush());

    const PaintContext context = MakePaintContext(painter, geometry, picture);
    const GanttPainter gantt(context);
    const CalendarPainter grid(context);
    const TaskDetailPainter tasks(context);
    const bool rows = layout.ganttRows;
    for (int day = 0; day < layout.dayRowCount; ++day) {
        if (clipTo(reach::Row(layout, day))) {
            rows ? gantt.PaintRowBackgroundAndLabel(day) : grid.PaintCellBackground(day);
        }
    }
    if (clipTo(reach::ChartBottom(layout))) {
        painter.setPen(picture.resources.BlackPen());
        HorizontalLine(painter, 0, layout.chartRight, layout.chartBottom);
    }
    if (clipTo(reach::ButtonBar(layout))) {
        PaintButtonBar(painter, picture);
    }
    const ViewState& state = picture.state;
    const int todayRow = DaysBetween(context.firstShownDay, TruncateSystemTime(picture.now, 3));
    for (int day = 0; day < layout.dayRowCount; ++day) {
        if (!clipTo(reach::Row(layout, day))) {
            continue;
        }
        if (!rows) {
            grid.PaintCellContents(day);
            continue;
        }
        if (day == picture.selectedRow && state.selectedHour) {
            PaintSelectedHour(painter, layout, day, *state.selectedHour, picture.highlight);
        }
        tasks.PaintTaskStrip(day);
        gantt.PaintAppointments(day);
        if (day == todayRow) {
            gantt.PaintNowMarker(day);
        }
    }
    // The header's hour lines run down through every row, the last one on the chart's edge.
    // It is always laid out, so its texts are known even when none of it shows.
    clipTo(reach::HourLines(layout));
    rows ? gantt.PaintHeader() : grid.PaintHeader();
    painter.setClipRegion(area);
    rows ? gantt.PaintFrames() : grid.PaintFrames();
    std::optional<DetailLines> detail;
    if (layout.detailVisible && clipTo(reach::Detail(layout, true))) {
        detail = tasks.PaintDetail(picture.selectedRow, state.detailScroll, state.selection.line);
    }
    painter.setClipRegion(area);
    PaintFocusFrame(painter, picture);
    painter.restore();
    return detail;
}

DetailLines DrawDetailLines(const ViewPicture& picture, int row, int scroll)
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const GanttGeometry geometry(picture.layout);
    return TaskDetailPainter(MakePaintContext(painter, geometry, picture))
        .PaintDetail(row, scroll, -1);
}
