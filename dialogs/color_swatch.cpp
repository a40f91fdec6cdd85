// Paints the swatch; the colour changes only through SetColorRef, which repaints it.
#include "dialogs/color_swatch.h"

#include <QPainter>

ColorSwatch::ColorSwatch(uint32_t colorRef, QWidget* parent) : QWidget(parent), colorRef_(colorRef)
{
    setMinimumSize(28, 20);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ColorSwatch::SetColorRef(uint32_t colorRef)
{
    colorRef_ = colorRef;
    update();
}

QColor ColorSwatch::ToQColor(uint32_t colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

uint32_t ColorSwatch::FromChannels(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256 +
           static_cast<uint32_t>(blue) * 65536;
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(colorRef_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
