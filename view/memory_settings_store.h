// View settings kept in memory: the defaults for a view without a settings block, and a store
// that tests can inspect after the view has written its switches.
#pragma once

#include "view/view_settings.h"

class MemorySettingsStore : public ViewSettingsStore {
public:
    explicit MemorySettingsStore(const ViewSettings& settings = {}) : values(settings) {}
    ViewSettings Read() const override { return values; }
    void WriteDisplaySwitches(const DisplaySwitches& switches) override
    {
        static_cast<DisplaySwitches&>(values) = switches;
    }

    ViewSettings values;
};
