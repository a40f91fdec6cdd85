// A reminder service over a temporary store at a fixed clock, shared by the service tests with
// the recording notifier and those on a private bus.
#pragma once

#include <memory>
#include <sstream>

#include "platform/clock.h"
#include "platform/notifier.h"
#include "tests/support/reminder_calendar.h"
#include "tests/support/temp_paths.h"
#include "tests/support/wait.h"
#include "tools/reminders/reminder_service.h"

using reminder_calendar::At;

class ReminderFixture {
public:
    ReminderFixture() : clock_(MakeSystemTime(2026, 12, 7, 8, 0)) {}

    std::unique_ptr<ReminderService> StartService(Notifier& notifier)
    {
        auto service = std::make_unique<ReminderService>(
            ReminderServiceSetup{paths_.StorePath(),
                                 QString::fromStdString(paths_.File("state/reminders.json")),
                                 [this](const Reminder& r) { opened_.push_back(r.oid); }},
            notifier, clock_, err_);
        service->Start();
        return service;
    }

    void SetNow(DATE now) { clock_.Set(VariantTimeToSystemTime(now)); }
    bool WakesAt(const ReminderService& service, DATE at) const
    {
        return std::abs(*service.NextWake() - at) < 1e-9;
    }

    TempPaths paths_;
    FixedClock clock_;
    std::ostringstream err_;
    std::vector<int32_t> opened_;
};
