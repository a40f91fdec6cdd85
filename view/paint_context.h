// Everything one paint pass reads, gathered so that each painter takes a single argument.
#pragma once

#include "platform/systemtime.h"
#include "view/day_entries.h"
#include "view/draw_settings.h"
#include "view/gantt_geometry.h"
#include "view/text_sink.h"
#include "view/view_layout.h"
#include "view/view_resources.h"

class QPainter;

struct PaintContext {
    QPainter& painter;
    const ViewLayout& layout;
    const GanttGeometry& geometry;
    const DayEntries& entries;
    const DrawSettings& settings;
    const ViewResources& resources;
    const TextSink& text;
    SYSTEMTIME firstShownDay;
    SYSTEMTIME selectedDate;
    SYSTEMTIME now;
};
