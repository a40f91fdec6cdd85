// The selected hour: the hour of the selected day that a new appointment starts at, moved by the
// keys and set by a click on empty time. Where its cell lies, how the hour window follows it and
// its highlight are plain functions over the layout.
#pragma once

#include <optional>

#include "platform/systemtime.h"
#include "view/view_layout.h"

class QColor;
class QPainter;

constexpr int kLastHourOfDay = 23;

// The hour after a step of `step` hours from `selected`; the first step from none picks the
// current hour when it is shown, else the first shown one.
int SteppedHour(std::optional<int> selected, int step, int currentHour, const ViewLayout& layout);
// The first hour of the hour window once it shows `hour`: the window moves as little as it can.
int FirstHourShowing(int hour, int firstHour, int hourCount);
// The cell of `hour` in day row `row` of the Gantt rows; none where it is not shown.
std::optional<PixelRect> SelectedHourCell(const ViewLayout& layout, int row, int hour);
// The start of `hour` on `day`.
DATE HourStart(const SYSTEMTIME& day, int hour);

// A light fill of the highlight colour over the cell, under the bars drawn after it.
void PaintSelectedHour(QPainter& painter, const ViewLayout& layout, int row, int hour,
                       const QColor& highlight);
