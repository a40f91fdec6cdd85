// Shared by the iCalendar tests: a fixed time zone for the test's lifetime, and the store's
// items read back whole.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/item_fields.h"

class ScopedZone {
public:
    explicit ScopedZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedZone()
    {
        had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

private:
    bool had_;
    std::string old_;
};

// Appointments then tasks, each in ascending object id.
inline std::vector<pim::StoredItem> StoredItems(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::vector<pim::StoredItem> out;
    if (session.Connect() < 0) {
        return out;
    }
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        out.push_back(session.FetchAppointment(n)->Stored());
    }
    for (int32_t n = 1; n <= session.TaskCount(); ++n) {
        out.push_back(session.FetchTask(n)->Stored());
    }
    return out;
}
