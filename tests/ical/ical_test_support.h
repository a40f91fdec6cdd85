// The iCalendar tests' import and export at a fixed "today", and the store's items read back.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/item_fields.h"
#include "tests/support/scoped_zone.h"

inline const SYSTEMTIME kToday = MakeSystemTime(2026, 12, 7, 9, 30);

inline ical::ImportReport Import(const std::string& store, const std::string& text,
                                 bool expand = false)
{
    PimSession session(store, OccurrenceOnDay);
    std::istringstream in(text);
    return ical::ImportCalendar(in, session, {expand, kToday});
}

// The store as a calendar file; every item must be written.
inline std::string Export(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::ostringstream out;
    const ical::ExportReport report = ical::ExportCalendar(session, {kToday}, out);
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.leftOut, 0);
    return out.str();
}

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
