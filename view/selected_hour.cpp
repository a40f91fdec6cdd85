// The selected hour's arithmetic and its highlight.
#include "view/selected_hour.h"

#include <QColor>
#include <QPainter>
#include <algorithm>

#include "model/date_time.h"
#include "view/gantt_geometry.h"
#include "view/paint_primitives.h"

namespace {

constexpr int kMinutesPerHour = 60;
constexpr int64_t kSecondsPerHour = 3600;
// Light enough that bars, texts and hour lines over it read as they do elsewhere.
constexpr int kHighlightAlpha = 56;

bool HourShown(const ViewLayout& layout, int hour)
{
    const int end = layout.lastHour + (layout.extraMinutes > 0 ? 1 : 0);
    return hour >= layout.firstHour && hour < end;
}

} // namespace

int SteppedHour(std::optional<int> selected, int step, int currentHour, const ViewLayout& layout)
{
    if (!selected) {
        return HourShown(layout, currentHour) ? currentHour : layout.firstHour;
    }
    return std::clamp(*selected + step, 0, kLastHourOfDay);
}

int FirstHourShowing(int hour, int firstHour, int hourCount)
{
    if (hour < firstHour) {
        return hour;
    }
    if (hour >= firstHour + hourCount) {
        return std::max(0, hour - std::max(1, hourCount) + 1);
    }
    return firstHour;
}

std::optional<PixelRect> SelectedHourCell(const ViewLayout& layout, int row, int hour)
{
    if (!layout.ganttRows || row < 0 || row >= layout.dayRowCount || !HourShown(layout, hour)) {
        return std::nullopt;
    }
    const GanttGeometry geometry(layout);
    const PixelRect day = geometry.DayRect(row, true);
    const int left = geometry.XOfMinute(hour * kMinutesPerHour);
    const int right = std::min(geometry.XOfMinute((hour + 1) * kMinutesPerHour), layout.chartRight);
    // Inside the row's and the hour's lines.
    return PixelRect{left + 1, day.top + 1, right, day.bottom};
}

DATE HourStart(const SYSTEMTIME& day, int hour)
{
    return AddSeconds(SystemTimeToVariantTime(TruncateSystemTime(day, 3)), hour * kSecondsPerHour);
}

void PaintSelectedHour(QPainter& painter, const ViewLayout& layout, int row, int hour,
                       const QColor& highlight)
{
    const std::optional<PixelRect> cell = SelectedHourCell(layout, row, hour);
    if (!cell) {
        return;
    }
    QColor fill = highlight;
    fill.setAlpha(kHighlightAlpha);
    painter.fillRect(ToQRect(*cell), fill);
}
