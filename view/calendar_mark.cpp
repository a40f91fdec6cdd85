// Band and swatch are drawn without antialiasing, so their pixels are exactly their rectangles.
#include "view/calendar_mark.h"

#include <QPainter>
#include <algorithm>

#include "platform/color_ref.h"
#include "view/paint_primitives.h"
#include "view/view_resources.h"

namespace {

constexpr int kOutlineDarker = 160; // percent, as QColor::darker takes it

} // namespace

PixelRect CalendarSwatch(const PixelRect& icon)
{
    const int side = std::max(5, icon.Height() * 3 / 5);
    const int top = icon.top + (icon.Height() - side) / 2;
    return {icon.right + 2, top, icon.right + 2 + side, top + side};
}

void DrawCalendarBand(QPainter& painter, const PixelRect& band, uint32_t colorRef)
{
    if (band.Width() > 0 && band.Height() > 0) {
        painter.fillRect(ToQRect(band), ColorFromRef(colorRef));
    }
}

void DrawCalendarSwatch(QPainter& painter, const PixelRect& swatch, uint32_t colorRef)
{
    if (swatch.Width() <= 0 || swatch.Height() <= 0) {
        return;
    }
    const QColor fill = ColorFromRef(colorRef);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawRectangle(painter, swatch, QPen(fill.darker(kOutlineDarker), 1), fill);
    painter.restore();
}
