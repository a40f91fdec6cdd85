// The view on a dark desktop: texts readable on every day ground of both sets, colours a user
// set drawn as set, and the chart, button bar and detail area drawn dark.
#include <QPalette>
#include <gtest/gtest.h>

#include "view/dark_palette.h"
#include "view/gantt_geometry.h"
#include "view_harness.h"

namespace {

double Luminance(const QColor& c)
{
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(60, 120, 220));
    return dark;
}

} // namespace

TEST(DarkPalette, TextsReadableAndColoursAUserSetKept)
{
    EXPECT_TRUE(IsDarkPalette(DarkPalette()));
    EXPECT_FALSE(IsDarkPalette(QPalette(Qt::white)));
    for (const bool dark : {false, true}) {
        const ViewResources r(DrawSettings{}, dark);
        for (int slot = 0; slot < ViewResources::kDaySlots; ++slot) {
            for (const bool dimmed : {false, true}) {
                EXPECT_GE(Contrast(r.TextColor(), r.DayBrush(slot, dimmed).color()), 4.5)
                    << dark << " " << slot << " " << dimmed;
            }
        }
    }
    DrawSettings chosen;
    chosen.ColorMonday = 0x0000FF;
    const ViewResources r(chosen, true);
    EXPECT_EQ(r.DayBrush(1, false).color(), QColor(255, 0, 0)) << "a colour the user set";
    EXPECT_NE(r.DayBrush(2, false).color(), QColor(255, 255, 255)) << "Tuesday left at default";
}

TEST(DarkPalette, ChartButtonBarAndDetailAreaAreDrawnDark)
{
    ViewHarness h;
    h.view.setPalette(DarkPalette());
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
