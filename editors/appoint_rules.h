// The appointment editor's rules without its widgets: how the form's dates and times become a
// start and an end, how an end is shown, and the OK checks (the form's values in, the first
// refused control and its message out, or the item's new values).
#pragma once

#include <string>

#include "editors/field_rules.h"
#include "model/item_values.h"
#include "platform/systemtime.h"

// Control ids of the appointment editor.
enum AppointControl : int {
    kAppointTitle = 1025,
    kAppointPlace = 1005,
    kAppointStartDate = 1008,
    kAppointStartTime = 1097,
    kAppointEndDate = 1010,
    kAppointEndTime = 1098,
    kAppointAllDay = 1013,
    kAppointRecur = 1020,
    kAppointRecurDetail = 1016,
    kAppointAlarm = 1017,
    kAppointAlarmDetail = 1019,
    kAppointCategory = 1009,
    kAppointCategoryChoose = 1065,
    kAppointStatus = 1022,
    kAppointSensitive = 1014,
    kAppointMemo = 1028,
    kAppointDelete = 1027,
};

struct AppointForm {
    std::wstring title;
    std::wstring place;
    std::wstring category;
    std::wstring memo;
    SYSTEMTIME startDate{};
    std::wstring startTime;
    SYSTEMTIME endDate{};
    std::wstring endTime;
    bool allDay = false;
    bool recurring = false;
    bool alarm = false;
    int status = 0;
    int sensitivity = 0;
};

// Start and end as the form means them; a one-time all-day appointment ends at 00:00 of the day
// after the end date. Both assume valid time texts.
DATE FormStart(const AppointForm& form);
DATE FormEnd(const AppointForm& form);

// How the end picker and end time show an end: a one-time all-day end at 00:00 reads as the
// day before at "24:00".
struct EndDisplay {
    SYSTEMTIME date;
    std::wstring time;
};
EndDisplay ShowEnd(DATE end, bool oneTimeAllDay);

// A start or end time text as the form accepts it ("24:00" only for an end).
Verdict CheckAppointTime(const std::wstring& text, int control);

// Checks the form in the editor's order and, when it is accepted, writes it into `values`
// (the pattern is dropped for "OneTime" and left as set for "Recurring").
Verdict CheckAppointForm(const AppointForm& form, bool recurrenceSet, ItemValues& values);
