// The view's paint as a function of what is laid out and selected: it reads the entries the last
// relayout loaded and writes only pixels, so a paint never reloads the document or asks a
// question.
#pragma once

#include <QColor>
#include <optional>

#include "view/paint_context.h"
#include "view/task_detail_painter.h"
#include "view/view_state.h"

class QRegion;

// What one paint reads besides the painter.
struct ViewPicture {
    const ViewLayout& layout;
    const DayEntries& entries;
    const DrawSettings& settings;
    const ViewResources& resources;
    const TextSink& text;
    const ViewState& state;
    int selectedRow; // the selected day relative to the first shown one
    SYSTEMTIME now;
    QColor highlight; // the selected hour's cell and the focus frame
    bool focusFrameShown;
};

PaintContext MakePaintContext(QPainter& painter, const GanttGeometry& geometry,
                              const ViewPicture& picture);

// Paints where `dirty` meets the client, in the fixed order (rows, button bar, row contents,
// header, frames, detail list, focus frame); the detail lines when the detail list was painted.
std::optional<DetailLines> RenderView(QPainter& painter, const QRegion& dirty,
                                      const ViewPicture& picture);

// The detail lines of day `row` scrolled by `scroll` as a paint of the list draws them, drawn
// nowhere: which line shows which entry.
DetailLines DrawDetailLines(const ViewPicture& picture, int row, int scroll);
