// The triangle is drawn without antialiasing, so its pixels are exactly those of the square's
// top-right half, as the tests check them.
#include "view/meeting_mark.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

PixelRect MeetingMarkSquare(const PixelRect& frame)
{
    const int inside = std::min(frame.Width(), frame.Height()) - 2;
    const int side = std::min(std::clamp(frame.Height() / 2, 4, 10), inside);
    if (side <= 0) {
        return {};
    }
    return {frame.right - 1 - side, frame.top + 1, frame.right - 1, frame.top + 1 + side};
}

QColor MeetingMarkColor()
{
    return QColor(0x0d, 0x3b, 0x8c);
}

void DrawMeetingMark(QPainter& painter, const PixelRect& frame)
{
    const PixelRect square = MeetingMarkSquare(frame);
    if (square.Width() <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    // A white rim one pixel outside the diagonal keeps the mark apart from any bar colour.
    painter.setBrush(Qt::white);
    painter.drawPolygon(
        QPolygon({QPoint(square.left - 1, square.top), QPoint(square.right, square.top),
                  QPoint(square.right, square.bottom + 1)}));
    painter.setBrush(MeetingMarkColor());
    const QPolygon corner({QPoint(square.left, square.top), QPoint(square.right, square.top),
                           QPoint(square.right, square.bottom)});
    painter.drawPolygon(corner);
    painter.restore();
}
