// The settings block as the view's settings: reads every value the view draws and lays out with,
// and writes back the display switches the view changes.
#pragma once

#include "view/view_settings.h"

class AppSettings;

class AppSettingsViewStore : public ViewSettingsStore {
public:
    explicit AppSettingsViewStore(AppSettings& settings) : settings_(settings) {}

    ViewSettings Read() const override;
    void WriteDisplaySwitches(const DisplaySwitches& switches) override;

private:
    AppSettings& settings_;
};
