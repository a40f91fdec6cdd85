// Where every area of the schedule view lies for a given client size and display settings.
// Pure arithmetic, so drawing, hit tests and commands share one set of figures and tests can
// check them without a window.
#pragma once

#include <optional>
#include <vector>

#include "view/display_switches.h"

// A rectangle in client pixels; right and bottom are one past the last pixel, as fills take it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    PixelRect Inset(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A line as the platform's line primitive draws it: from `from` up to, not including, `to`.
struct PixelLine {
    PixelPoint from;
    PixelPoint to;
    bool operator==(const PixelLine&) const = default;
};

// What the layout reads: settings under their profile names, then the view's own state.
struct LayoutInput : DisplaySwitches {
    int DefaultStartHour = 9;
    int TaskAreaWidth = 96;
    int InfoAreaHeight = 96;
    int InfoAreaWidth = 200;
    int MainFontSize = 12;
    int DetailFontSize = 16;
    int DispWeekCount = 5;

    // Measured width of the date label column in the main font; 0 until first measured.
    int dateColumnWidth = 0;
    // The view's current first hour, kept unless it is re-derived from the current hour.
    int firstHour = 0;
    int currentHour = 0;
    // Orientation at the previous layout; none before the first one.
    std::optional<bool> previousPortrait;
    bool recomputeFirstHour = false;
};

// Every figure of one layout. Names are the view's state names.
struct ViewLayout {
    static constexpr int kMaxDayRows = 66;
    static constexpr int kButtonsPerStrip = 10;

    static ViewLayout Compute(int width, int height, const LayoutInput& input);

    int clientWidth = 0;
    int clientHeight = 0;
    bool largeTiles = false;
    int tileSize = 16;
    int lineScale = 1;
    bool portrait = false;

    bool ganttRows = true; // CalendarType 1; false shows the month grid
    bool ganttAreaVisible = true;
    bool taskAreaVisible = true;
    bool detailVisible = true;
    bool detailAtBottom = false;

    int mainFontSize = 12;
    int detailFontSize = 16;
    int dayRowHeight = 0;
    int barTextHeight = 0;
    int headerFontSize = 0;
    int headerHeight = 0;
    int detailLineHeight = 0;

    int dateColumnWidth = 0;
    int taskAreaWidth = 0;

    PixelPoint strip1Pos;
    PixelPoint strip2Pos;
    int buttonBarHeight = 0;
    int rowsTop = 0;

    int dayRowCount = 0;
    int hourCount = 0;
    int firstHour = 0;
    int lastHour = 0;
    int extraMinutes = 0;
    int hourPixels = 36;

    int chartRight = 0;
    int chartBottom = 0;
    PixelRect detailRect;
    int detailLineCount = 0;

    int weekCount = 1; // weeks of the month grid, in the usable range
    int cellWidth = 0;
    int weekRowHeight = 0;

    // Picture button `index` (0..9 strip 1, 10..19 strip 2).
    PixelRect ButtonRect(int index) const;
    // The focus rectangle drawn around a button when the button bar has the key focus.
    PixelRect FocusFrameRect(int index) const { return ButtonRect(index).Inset(lineScale); }
    // The focus indicator tile at the right end of strip 2's row.
    PixelRect FocusIndicatorRect() const;
    // Parts of the button rows right of the strips, filled with the blank tile.
    std::vector<PixelRect> ButtonBarFillers() const;
    // Button index under a point of the button bar; -1 when the point is not on the bar.
    int ButtonAt(int x, int y) const;
    bool TwoButtonRows() const { return strip2Pos.y > 0; }
    // Whether a point lies inside the schedule body (rows or grid cells).
    bool InChart(int x, int y) const
    {
        return x >= 0 && x < chartRight && y > rowsTop && y < chartBottom;
    }
};
