// The settings the view reads, under their profile key names, and the place it reads them from
// and writes its display switches back to (the settings block, through an adapter).
#pragma once

#include "view/draw_settings.h"
#include "view/key_input.h"

struct ViewSettings {
    DrawSettings draw;
    int OneHourPixel = 36;
    int DefaultStartHour = 9;
    int TaskAreaWidth = 96;
    int InfoAreaHeight = 0;
    int InfoAreaWidth = 0;
    int DispWeekCount = 5;
    int CalendarType = 1;
    bool TaskAreaVisible = true;
    bool CalendarAreaVisible = true;
    bool InfoAreaVisible = true;
    bool InfoAreaFixBottom = false;
    int CntFromToday = 0;
    int StartDow = 7;
    bool FitHoursToWidth = false;
    int UsePopup = 1;
    keys::HardwareKeys hardwareKeys;
};

class ViewSettingsStore {
public:
    virtual ~ViewSettingsStore() = default;
    virtual ViewSettings Read() const = 0;
    // OneHourPixel, CalendarType, the four area switches and FitHoursToWidth, after every
    // button action.
    virtual void WriteDisplaySwitches(const ViewSettings& switches) = 0;
};
