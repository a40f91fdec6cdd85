// The range checks of the settings dialogs as plain functions: the values a dialog holds go in,
// the first field it must refuse and the message that says why come out. The dialogs show the
// refusal and put the focus back; the checks themselves never touch a widget.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/systemtime.h"
#include "settings/holidays.h"

// A refused field whose message may name the allowed range.
struct RangeRefusal {
    int field;     // control id that gets the focus back
    int messageId; // string id of the warning
    int low = 0;   // the allowed range, for messages that name it
    int high = 0;
};

// The warning's text, with the range filled in where the message names one.
std::wstring RefusalText(const RangeRefusal& refusal);

// The numbers of the environment dialog, as typed.
struct EnvironmentFields {
    int cntFromToday = 0;
    int startHour = 0;
    int taskAreaWidth = 0;
    int infoAreaWidth = 0;
    int infoAreaHeight = 0;
};
std::optional<RangeRefusal> CheckEnvironment(const EnvironmentFields& fields);

// The dimming rate of the week-and-colour dialog.
std::optional<RangeRefusal> CheckBrightRate(int rate);

// The two font sizes of the character set dialog.
std::optional<RangeRefusal> CheckFontSizes(int mainSize, int detailSize);

// Function keys in the order of kFuncKeyControls, as list indexes (0 "----", 1..10 buttons 0..9).
constexpr std::array<int, 5> kFuncKeyControls = {1102, 1106, 1104, 1103, 1105};
std::optional<RangeRefusal> CheckFuncKeys(const std::array<int, 5>& indexes);

// The date of the day-select dialog.
std::optional<RangeRefusal> CheckDaySelection(const SYSTEMTIME& date);

// A rule built from the holiday dialog's fields.
std::optional<RangeRefusal> CheckHolidayRule(const HolidayRule& rule);
