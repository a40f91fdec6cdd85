// The alarm editor's rules without widgets: an appointment's lead time shown in the largest
// unit that divides it, the lead time read back from the number and unit, and the checks that
// keep a bad number, time or sound file out of the item.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editors/field_rules.h"
#include "platform/pim/item_fields.h"
#include "platform/systemtime.h"

// The unit list, in its order, and the minutes of each unit.
enum LeadUnit : int { kMinutesBefore, kHoursBefore, kDaysBefore, kWeeksBefore };
constexpr int32_t kLeadUnitMinutes[] = {1, 60, 1440, 10080};
// The longest lead time accepted: 52 weeks.
constexpr int64_t kMaxLeadMinutes = int64_t{52} * 10080;

struct LeadTime {
    int32_t number;
    int unit;
    bool operator==(const LeadTime&) const = default;
};

// Weeks, then days, then hours when one divides minutes exactly, else minutes; 0 is 0 weeks.
LeadTime SplitLeadMinutes(int32_t minutes);

// The number text read as a decimal integer (0 when it is not a number) times the unit;
// empty when the result lies outside 0..kMaxLeadMinutes.
std::optional<int32_t> LeadMinutes(const std::wstring& numberText, int unit);

// What the alarm editor holds when OK is pressed.
struct AlarmForm {
    bool taskMode = false;
    std::wstring number; // appointment mode
    int unit = kMinutesBefore;
    SYSTEMTIME date{}; // task mode: the picker's date
    std::wstring time; // task mode: "hh:mm", 24:00 being the next midnight
    int32_t options = 0;
    std::wstring soundFile;
};

struct AlarmCheck {
    int control = 0; // 0 when the form is accepted
    int messageId = 0;
    bool operator==(const AlarmCheck&) const = default;
};

// Validates the form (controls 1032 number, 1095 date, 1128 time, 1040 sound file) and, when it
// is accepted, writes the reminder of the form's mode into fields.
Verdict CheckAlarmForm(const AlarmForm& form, pim::ItemFields& fields);
