// The program's string table: every user-visible text by its numeric id, worded exactly as the
// program shows it. Code asks for texts by id so that wording lives in one place.
#pragma once

#include <string>

namespace res {

enum StringId : int {
    IDS_SOCKET_INIT_FAILED = 104,
    IDS_DOCUMENT_STRINGS = 128,
    IDS_TIP_NEW = 65000,
    IDS_TIP_FILE = 65001,
    IDS_TIP_HELP = 65002,
    IDS_TIP_SAVE = 65003,
    IDS_TIP_CUT = 65004,
    IDS_TIP_COPY = 65005,
    IDS_TIP_PASTE = 65006,
    IDS_TIP_VERSION = 65007,
    IDS_WARNING = 65009,
    IDS_TASK_DUE_CHAR = 65014,
    IDS_TASK_START_CHAR = 65015,
    IDS_TRANS_HOLIDAY = 65037,
    IDS_SETTINGS_FILE_FILTER = 65047,
    IDS_COLUMN_NAME = 65049,
    IDS_COLUMN_MONTHDAY = 65050,
    IDS_DAY = 65051,
    IDS_WRONG_MONTH = 65053,
    IDS_WRONG_DAY = 65054,
    IDS_WEEKDAY_FIRST = 65059,        // + weekday 0..6, "Sunday" .. "Saturday"
    IDS_WEEKDAY_SHORT_FIRST = 65075,  // + weekday 0..6, "Su" .. "Sa"
    IDS_HIDE = 65111,
    IDS_SHOW = 65112,
    IDS_EDIT_LIST_FIRST = 65113,  // + list index 0..5, "AppointTitle" .. "AlarmTimeList"
    IDS_MONTH_NUMBER = 65119,
    IDS_DAY_NUMBER = 65120,
    IDS_INSTANCE_FIRST = 65121,  // + instance 0..4, "1st" .. "Last"
    IDS_WEEK = 65126,
    IDS_MONTH_AND_DAY = 65127,
    IDS_MONTH_AND_WEEK = 65128,
    IDS_HIDE_CHAR_LEFT = 65138,
    IDS_HIDE_CHAR_RIGHT = 65139,
    IDS_NO_CARE_WEEKDAY = 65141,
    IDS_MONTH_BASE = 65142,  // + month 1..12, "January" .. "December"
    IDS_NUMERIC_MONTHS = 65158,
    IDS_NO_CARE = 65166,
    IDS_CHANGE = 65167,
    IDS_WEEKS_FORMAT = 65170,
    IDS_OFF = 65173,
    IDS_ON = 65174,
    IDS_REMINDER_SNOOZE = 65400,
    IDS_REMINDER_OPEN = 65401,
    IDS_REMINDER_MISSED = 65402,
    IDS_REMINDER_DUE = 65403,
};

// The text of a string id; empty for an id the table does not hold.
std::wstring LoadString(int id);

}  // namespace res
