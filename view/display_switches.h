// The display switches the picture buttons toggle and the profile keeps: the hour width, the
// chart or the grid, which areas show and where the detail list sits. One struct serves the
// settings, the layout's input, the view's state and the commands' check marks, under the
// profile's key names.
#pragma once

struct DisplaySwitches {
    int OneHourPixel = 36;
    int CalendarType = 1; // 1 the Gantt chart, 0 the calendar grid
    bool TaskAreaVisible = true;
    bool CalendarAreaVisible = true;
    bool InfoAreaVisible = true;
    bool InfoAreaFixBottom = false;
    // The hour width follows the free width so the whole day fits; OneHourPixel is kept.
    bool FitHoursToWidth = false;

    bool operator==(const DisplaySwitches&) const = default;
};
