// The settings the view reads, under their profile key names, and the place it reads them from
// and writes its display switches back to (the settings block, through an adapter).
#pragma once

#include "view/display_switches.h"
#include "view/draw_settings.h"
#include "view/key_input.h"

struct ViewSettings : DisplaySwitches {
    DrawSettings draw;
    int DefaultStartHour = 9;
    int TaskAreaWidth = 96;
    int InfoAreaHeight = 0;
    int InfoAreaWidth = 0;
    int DispWeekCount = 5;
    int CntFromToday = 0;
    int StartDow = 7;
    int UsePopup = 1;
    keys::HardwareKeys hardwareKeys;
};

class ViewSettingsStore {
public:
    virtual ~ViewSettingsStore() = default;
    virtual ViewSettings Read() const = 0;
    // After every button action.
    virtual void WriteDisplaySwitches(const DisplaySwitches& switches) = 0;
};
