// The stored values of one appointment or task, its pattern and its exceptions: what a save
// writes in one transaction and what a load reads back in bulk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pim/recurrence_fields.h"

namespace pim {

enum ItemKind : int32_t { kAppointmentKind = 1, kTaskKind = 3 };

// 4501-01-01: the date a task holds when it has no start, due, completion or reminder date.
constexpr DATE kNoDate = 949998.0;

// Appointment and task properties share one record; each kind reads the fields it has.
struct ItemFields {
    int32_t Oid = 0;  // 0 until the first save
    std::wstring UID; // the calendar-exchange id of an item; exceptions leave it empty
    // The IANA zone the item was made in (from a calendar file); empty: local time. Start and
    // End are local times all the same; a pattern of a zoned item is held in the zone.
    std::wstring Zone;
    std::wstring Subject;
    std::wstring Location;
    std::wstring Categories;
    std::wstring Body;
    DATE Start = 0.0;
    DATE End = 0.0;
    bool AllDayEvent = false;
    int32_t BusyStatus = 2;
    int32_t Sensitivity = 0;
    bool ReminderSet = false;
    int32_t ReminderMinutesBeforeStart = 15;
    int32_t ReminderOptions = 0;
    std::wstring ReminderSoundFile;
    DATE StartDate = kNoDate; // tasks from here on
    DATE DueDate = kNoDate;
    DATE DateCompleted = kNoDate;
    DATE ReminderTime = kNoDate;
    int32_t Importance = 1;
    bool Complete = false;
    // The component the item came as (import, paste, sync), unfolded, with the definitions of
    // the zones it names that only its file defined: what the fields do not hold is written
    // back from here. UTF-8 iCalendar text; empty for an item made here.
    std::string Kept;

    bool operator==(const ItemFields&) const = default;
};

// A changed or deleted occurrence, keyed by the day it originally fell on.
struct ExceptionFields {
    DATE OriginalDate = 0.0; // the original start day, no time of day
    bool Deleted = false;
    ItemFields occurrence; // the changed occurrence as it was saved

    bool operator==(const ExceptionFields&) const = default;
};

struct StoredItem {
    int32_t kind = kAppointmentKind;
    ItemFields fields;
    std::optional<RecurrenceFields> pattern;
    std::vector<ExceptionFields> exceptions; // ascending OriginalDate
    // The id of the item's calendar. 0 asks a save for the default local calendar (a new item)
    // or the calendar it is in (a replaced one); the save sets the one it took.
    int32_t calendar = 0;

    bool operator==(const StoredItem&) const = default;
};

// What Find needs of a matching item to place its line; the rest of its row is not read.
struct FindMatch {
    int32_t kind = kAppointmentKind;
    int32_t oid = 0;
    std::wstring subject;
    DATE start = 0.0; // appointments
    bool allDay = false;
    DATE startDate = kNoDate; // tasks
    DATE dueDate = kNoDate;
    std::optional<RecurrenceFields> pattern; // in the item's zone, as a load gives it
    std::vector<DATE> deletedDays;           // the original days of deleted occurrences, ascending
    int32_t calendar = 0; // the item's calendar; 0 in a store older than calendars

    bool operator==(const FindMatch&) const = default;
};

} // namespace pim
