// A store with calendars of its own for the tests of how calendars show and sync: a calendar
// added as a sync or the user would add it, and items made or saved straight into one.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"

// An hour's meeting at 09:00 on Tuesday 8 December 2026, not yet saved.
inline pim::StoredItem Meeting(const wchar_t* subject, int32_t calendar = 0)
{
    pim::StoredItem item;
    item.fields.Subject = subject;
    item.fields.Start = 46363.375;
    item.fields.End = 46363.4375;
    item.calendar = calendar;
    return item;
}

// The new calendar's id; the store is made when missing.
inline int32_t AddedCalendar(const std::string& store, const std::wstring& name, uint32_t colour,
                             bool shown = true)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::Calendar calendar;
    calendar.name = name;
    calendar.colour = colour;
    calendar.shown = shown;
    EXPECT_GE(pim::CalendarList(db).Save(calendar), 0) << "calendar";
    return calendar.id;
}

// An appointment (from `start` for an hour), or a task due on `start`'s day, in `calendar`
// (0: the default local one); its object id.
inline int32_t SavedIn(const std::string& store, int32_t calendar, const std::wstring& subject,
                       DATE start, pim::ItemKind kind = pim::kAppointmentKind)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::StoredItem item;
    item.kind = kind;
    item.fields.Subject = subject;
    item.fields.Start = start;
    item.fields.End = start + 1.0 / 24;
    if (kind == pim::kTaskKind) {
        item.fields.DueDate = start;
    }
    item.calendar = calendar;
    EXPECT_EQ(db.Save(item), 0) << "item";
    return item.fields.Oid;
}

// Whether the stored calendar is shown, read from the file afresh.
inline bool StoredShown(const std::string& store, int32_t calendar)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::Calendar stored;
    EXPECT_EQ(pim::CalendarList(db).Get(calendar, stored), 0);
    return stored.shown;
}
