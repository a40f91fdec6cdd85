// On a dark desktop the chart, button bar and detail area are dark; on a light one light again.
#include <QPalette>
#include <gtest/gtest.h>

#include "view/dark_palette.h"
#include "view/gantt_geometry.h"
#include "view_harness.h"

TEST(DarkPalette, ChartButtonBarAndDetailAreaAreDrawnDark)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    ASSERT_TRUE(IsDarkPalette(dark));
    ViewHarness h;
    h.view.setPalette(dark);
    const QImage image = h.Render(1280, 800);
    const ViewLayout& l = h.view.Layout();
    const PixelRect monday = GanttGeometry(l).DayRect(0);
    const PixelRect filler = l.ButtonBarFillers().front();
    const QPoint points[] = {{l.chartRight - 20, (monday.top + monday.bottom) / 2},
                             {(filler.left + filler.right) / 2, filler.top + 2},
                             {l.detailRect.right - 10, l.detailRect.bottom - 10}};
    for (const QPoint& at : points) {
        EXPECT_LT(image.pixelColor(at).lightness(), 80) << at.x() << "," << at.y();
    }
    h.view.setPalette(QPalette(Qt::white));
    EXPECT_EQ(h.Render(1280, 800).pixelColor(points[0]), QColor(Qt::white));
}
