// The view widget: sizes and settings that must not break the paint; a paint that only paints.
#include <QTest>
#include <gtest/gtest.h>

#include "view_harness.h"

TEST(TamberloView, OddSizesAndSettingsNeverBreakThePaint)
{
    struct Case {
        int width, height, hourPixels, weeks, mainFont, calendarType, gridDays;
    };
    const Case cases[] = {{1, 1, 36, 5, 12, 1, 0},
                          {240, 320, -5, -1, 0, 1, 0},
                          {480, 800, 36, 0, 12, 0, 7},
                          {1280, 800, 36, 1000, 12, 0, 63}};
    for (const Case& c : cases) {
        ViewSettings settings;
        settings.OneHourPixel = c.hourPixels;
        settings.DispWeekCount = c.weeks;
        settings.draw.MainFontSize = c.mainFont;
        settings.CalendarType = c.calendarType;
        ViewHarness h(settings);
        h.schedule.appts[0] = {{.start = 0, .end = 1440, .subject = L"All day long"}};
        h.Render(c.width, c.height);
        const ViewLayout& l = h.view.Layout();
        EXPECT_EQ(h.schedule.dayCount, l.dayRowCount);
        EXPECT_GE(l.hourPixels, 1) << c.width << "x" << c.height;
        if (c.calendarType != 0) {
            continue;
        }
        // A profile holding the grid paints it at once, whatever week count it holds.
        EXPECT_EQ(l.dayRowCount, c.gridDays) << c.weeks;
        EXPECT_NE(std::find(h.texts.begin(), h.texts.end(), L"Year 2026 December/January"),
                  h.texts.end());
    }
}

// A growing window is laid out and reads its days as it grows, never in the paint (where a
// failing read would open a box mid-paint).
TEST(TamberloView, APaintNeverLaysOutNorReads)
{
    ViewHarness h;
    h.schedule.inLoadedWindow = false;
    h.view.resize(1000, 300);
    h.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&h.view));
    h.view.resize(1000, 900);
    EXPECT_EQ(h.view.Layout().clientHeight, 900);
    const int laidOut = h.schedule.reloads;
    EXPECT_GT(laidOut, 0);
    h.view.repaint();
    EXPECT_EQ(h.schedule.reloads, laidOut);
}
