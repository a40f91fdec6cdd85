// The recurrence editor's rules without its widgets: the form's values in, the pattern out or
// the first refused control with its message, and which controls each pattern type uses.
#pragma once

#include <string>

#include "editors/field_rules.h"
#include "platform/pim/recurrence_fields.h"
#include "platform/systemtime.h"

// Control ids of the recurrence editor.
enum RecurControl : int {
    kRecurStartDate = 1045,
    kRecurNoEnd = 1073,
    kRecurEndOn = 1074,
    kRecurEndDate = 1046,
    kRecurStartTime = 1100,
    kRecurEndTime = 1099,
    kRecurDaysAfter = 1033,
    kRecurInterval = 1030,
    kRecurType = 1042,
    kRecurMonth = 1024,
    kRecurDayRadio = 1061,
    kRecurDay = 1104,
    kRecurWeekRadio = 1062,
    kRecurInstance = 1064,
    kRecurSunday = 1052, // Monday .. Saturday are 1065 .. 1070
};

// What the form holds. List positions count from 0.
struct RecurForm {
    SYSTEMTIME startDate{};
    bool noEnd = true;
    SYSTEMTIME endDate{};
    std::wstring startTime;
    std::wstring endTime;
    std::wstring daysAfter;
    std::wstring interval;
    int typeIndex = 1; // "Days Each", "Week Each", "Month Each", "Every Year"
    bool dayRadio = true;
    int month = 0;
    int day = 0;
    int instance = 0;
    int weekdayMask = 0; // the weekday buttons that are down, Sunday 1 .. Saturday 64
};

// RecurrenceType of a type list position and Day/Week choice, and back.
int32_t RecurrenceTypeOf(int typeIndex, bool dayRadio);
int TypeIndexOf(int32_t recurrenceType);

// Which controls a type enables.
struct RecurLayout {
    bool interval;
    bool dayWeekRadios;
    bool month;
    bool day;
    bool instance;
    bool weekdays;
};
RecurLayout LayoutOf(int32_t recurrenceType);

// Validates the form and, when it is accepted, writes it into `pattern` (values the type does
// not use are kept). allDay: the time row plays no part; appointment: an all-day appointment
// needs a span of one day or more.
Verdict CheckRecurForm(const RecurForm& form, bool allDay, bool appointment,
                       pim::RecurrenceFields& pattern);
