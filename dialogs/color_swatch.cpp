// Paints the swatch; the colour changes only through SetColorRef, which repaints it.
#include "dialogs/color_swatch.h"

#include <QPainter>

#include "platform/color_ref.h"

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

uint32_t ColorSwatch::FromChannels(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256 +
           static_cast<uint32_t>(blue) * 65536;
}

void ColorSwatch::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(ColorFromRef(colorRef_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
