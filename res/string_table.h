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
    IDS_WEEKDAY_FIRST = 65059,       // + weekday 0..6, "Sunday" .. "Saturday"
    IDS_WEEKDAY_SHORT_FIRST = 65075, // + weekday 0..6, "Su" .. "Sa"
    IDS_HIDE = 65111,
    IDS_SHOW = 65112,
    IDS_EDIT_LIST_FIRST = 65113, // + list index 0..5, "AppointTitle" .. "AlarmTimeList"
    IDS_MONTH_NUMBER = 65119,
    IDS_DAY_NUMBER = 65120,
    IDS_INSTANCE_FIRST = 65121, // + instance 0..4, "1st" .. "Last"
    IDS_WEEK = 65126,
    IDS_MONTH_AND_DAY = 65127,
    IDS_MONTH_AND_WEEK = 65128,
    IDS_HIDE_CHAR_LEFT = 65138,
    IDS_HIDE_CHAR_RIGHT = 65139,
    IDS_NO_CARE_WEEKDAY = 65141,
    IDS_MONTH_BASE = 65142, // + month 1..12, "January" .. "December"
    IDS_NUMERIC_MONTHS = 65158,
    IDS_NO_CARE = 65166,
    IDS_CHANGE = 65167,
    IDS_WEEKS_FORMAT = 65170,
    IDS_OFF = 65173,
    IDS_ON = 65174,
    IDS_CONFIRM = 65300,
    IDS_ERROR = 65301,
    IDS_START_AFTER_1900 = 65302,
    IDS_END_BEFORE_3000 = 65303,
    IDS_START_BEFORE_END = 65304,
    IDS_RECURRENCE_NOT_SET = 65305,
    IDS_CANT_CHANGE_DATETIME = 65306,
    IDS_DELETE_APPOINTMENT = 65307,
    IDS_DELETE_TASK = 65308,
    IDS_CANCEL_EXCEPTION_QUESTION = 65309,
    IDS_FAIL_GET_DATA = 65310,
    IDS_FAIL_GET_APPOINT = 65311,
    IDS_FAIL_GET_TASK = 65312,
    IDS_RECOVER_DELETED = 65313,
    IDS_CLEAR_ALL_EXCEPTIONS_QUESTION = 65314,
    IDS_KIND_NEW_EXCEPTION = 65315,
    IDS_KIND_EXISTING_EXCEPTION = 65316,
    IDS_KIND_CANCEL_EXCEPTION = 65317,
    IDS_RECUR_TASK_QUESTION = 65318,
    IDS_NO_DAY_SPAN = 65319,
    IDS_START_TIME_BEFORE_END = 65320,
    IDS_SELECT_WEEKDAY = 65321,
    IDS_ONE_WEEKDAY_ONLY = 65322,
    IDS_MOVE_START_QUESTION = 65323,
    IDS_CANCEL_EXCEPTION_BUTTON = 65324,
    IDS_TYPE_DAILY = 65325,
    IDS_TYPE_WEEKLY = 65326,
    IDS_TYPE_MONTHLY = 65327,
    IDS_TYPE_YEARLY = 65328,
    IDS_BAD_TIME_TEXT = 65329,
    IDS_TEXT_TOO_LONG = 65330,
    IDS_CONTROL_CHARACTERS = 65331,
    IDS_BAD_INTERVAL = 65332,
    IDS_BAD_DAY_COUNT = 65333,
    IDS_CANT_CUT_RECURRING_TASK = 65334,
    IDS_CLIPBOARD_UNREADABLE = 65335,
    IDS_START_BEFORE_DUE = 65400,
    IDS_ONLY_START_DATE = 65401,
    IDS_ALARM_LEAD_RANGE = 65402,
    IDS_WRONG_TIME = 65501,
    IDS_SET_BETWEEN = 65502, // "%d" the lowest, then the highest value allowed
    IDS_INITIALIZE_COLORS = 65503,
    IDS_FONT_SIZE_OVER_6 = 65504,
    IDS_SAME_SETTING = 65505,
    IDS_BEFORE_YEAR_1900 = 65506,
    IDS_AFTER_YEAR_3000 = 65507,
    IDS_COMMA_IN_HOLIDAY_NAME = 65508,
    IDS_REMINDER_SNOOZE = 65600,
    IDS_REMINDER_OPEN = 65601,
    IDS_REMINDER_MISSED = 65602,
    IDS_REMINDER_DUE = 65603,
    // The iCalendar commands; "%1", "%2" are filled in order.
    IDS_IMPORT = 65610,
    IDS_IMPORT_QUESTION = 65611,
    IDS_CANNOT_WRITE = 65612,
    IDS_IMPORTING = 65613,
    IDS_IMPORT_CANCELLED = 65614,
    IDS_NO_CALENDAR = 65615,
    IDS_START_BEFORE_3000 = 65720,
    IDS_BAD_START_TIME_TEXT = 65721,
    // The settings file and the profile; "%1", "%2" are filled in order.
    IDS_SETTINGS_READ = 65722,
    IDS_NO_SETTINGS_READ = 65723,
    IDS_SETTINGS_NOT_SAVED = 65724,
    // The store shared with other programs; "%1" is the item's subject.
    IDS_CHANGED_MEANWHILE = 65750,
    IDS_STORE_REPLACED = 65751,
    IDS_PROFILE_NOT_READ = 65752, // "%1" the profile file
    // Help: names of the picture buttons without a command of their own (+ button index),
    // the "Keys and Mouse" page, and the item tooltips.
    IDS_BUTTON_NAME_FIRST = 65800,
    IDS_KEYS_AND_MOUSE = 65820,
    IDS_HELP_BUTTONS = 65821,
    IDS_HELP_KEYS = 65822,
    IDS_HELP_FOCUS = 65823,
    IDS_HELP_DIGITS = 65824,
    IDS_HELP_MOUSE = 65825,
    IDS_HELP_FOCUS_FIRST = 65826, // 4 rows "keys\tdoes": Tab, bar, body, detail
    IDS_HELP_DIGIT_FIRST = 65830, // + assignment 0..4: bar, body, detail, today, calendar/Gantt
    IDS_HELP_MOUSE_FIRST = 65835, // 9 rows "gesture\tdoes"
    IDS_HELP_MOUSE_LAST = 65843,
    IDS_HELP_COLUMN_KEY = 65844,
    IDS_HELP_COLUMN_DOES = 65845,
    IDS_DELETE_ITEM = 65846,
    IDS_CONFLICTS_WITH = 65847, // "%1" the subjects of the earlier items
    IDS_TIP_PLACE = 65848,
    IDS_TIP_CATEGORIES = 65849,
    // Undo and redo: "%1" Undo or Redo, "%2" what the step did, "%3" the subject, "%4" the day.
    IDS_UNDO = 65850,
    IDS_REDO = 65851,
    IDS_UNDO_STEP = 65852,
    IDS_UNDO_STEP_ON_DAY = 65853,
    IDS_UNDO_ADD = 65854, // the step names follow UndoAction's order
    IDS_UNDO_EDIT = 65855,
    IDS_UNDO_MOVE = 65856,
    IDS_UNDO_RESIZE = 65857,
    IDS_UNDO_DELETE = 65858,
    IDS_UNDO_PASTE = 65859,
    IDS_UNDO_COMPLETE = 65860,
    IDS_UNDO_IMPORT = 65861,
    IDS_UNDO_CHANGED_ELSEWHERE = 65862,
    // A conversation with a CalDAV server failed: "%1" the host, "%2" the status or fingerprint.
    IDS_SYNC_WRONG_PASSWORD = 65900,
    IDS_SYNC_UNREACHABLE = 65901,
    IDS_SYNC_CERTIFICATE_REFUSED = 65902,
    IDS_SYNC_TIMED_OUT = 65903,
    IDS_SYNC_TOO_LARGE = 65904,
    IDS_SYNC_MALFORMED = 65905,
    IDS_SYNC_TOO_MANY_REDIRECTS = 65906,
    IDS_SYNC_SERVER_ERROR = 65907,
    // Sync with calendar servers: the status line ("%1" the time, then the counts or the
    // reason) and the accounts dialog.
    IDS_SYNC_DONE = 65930,
    IDS_SYNC_NOTES = 65931,
    IDS_SYNC_FAILED = 65932,
    IDS_SYNC_TALKING = 65933,
    IDS_SYNC_NO_ACCOUNT = 65934,
    IDS_CALENDAR_ACCOUNTS = 65935,
    IDS_ACCOUNT_SERVER = 65936,
    IDS_ACCOUNT_USER = 65937,
    IDS_ACCOUNT_PASSWORD = 65938,
    IDS_ACCOUNT_APPOINTMENTS = 65939,
    IDS_ACCOUNT_TASKS = 65940,
    IDS_ACCOUNT_TEST = 65941,
    IDS_ACCOUNT_ADD = 65942,
    IDS_ACCOUNT_REMOVE = 65943,
    IDS_ACCOUNT_NO_SERVER = 65944,
    IDS_ACCOUNT_NO_CALENDARS = 65945,
    IDS_ACCOUNT_FOUND = 65946,     // "%1" how many calendars, "%2" the server
    IDS_TRUST_CERTIFICATE = 65947, // "%1" the refusal naming the host, "%2" the fingerprint
    IDS_PASSWORD_OF = 65948,       // "%1" the user, "%2" the server
    IDS_REMOVE_ACCOUNT = 65949,    // likewise
    // A sync round: the conflict copy's subject ("%1" the subject) and memo line ("%1" the
    // time, "%2" the reason), and the round's notes ("%1" the subject or the resource).
    IDS_SYNC_CONFLICT_SUBJECT = 65950,
    IDS_SYNC_CONFLICT_MEMO = 65951,
    IDS_SYNC_CHANGED_BOTH = 65952,
    IDS_SYNC_DELETED_THERE = 65953,
    IDS_SYNC_UNREADABLE_THERE = 65954,
    IDS_SYNC_NOTE_CONFLICT = 65955,
    IDS_SYNC_NOTE_SKIPPED = 65956, // "%2" why
    IDS_SYNC_STORE_REFUSED = 65957,
    IDS_ACCOUNT_FOUND_ONE = 65958, // "%1" the server
    IDS_SYNC_NOTES_SKIPPED = 65959,
    IDS_SYNC_ROUND_RUNNING = 66000, // "%1" the store
    IDS_SYNC_SAME_UID = 66001,
    // The view's Delete question naming the item ("%1" its subject).
    IDS_DELETE_APPOINTMENT_NAMED = 65960,
    IDS_DELETE_TASK_NAMED = 65961,
    IDS_SYNC_NO_PASSWORD = 65962, // "%1" the user at the server
    // The editor's question when another program changed its item ("%1" the subject), and the
    // names of its OK and Cancel buttons.
    IDS_EDITED_MEANWHILE = 65963,
    IDS_SAVE_MINE_OVER_IT = 65964,
    IDS_MERGE_AND_EDIT_AGAIN = 65965,
    // Calendar Accounts: Add on a kept account, and a kept account's failed last round ("%1"
    // why).
    IDS_ACCOUNT_UPDATE = 65966,
    IDS_ACCOUNT_LAST_FAILED = 65967,
    // Where a password may go, and what the sync refused: "%1" the account's host or origin,
    // "%2" the other one; an item's note: "%1" the host, "%2" the subject, "%3" the reason.
    IDS_SYNC_REDIRECT_ELSEWHERE = 66020,
    IDS_SYNC_REDIRECT_PLAIN = 66021,
    IDS_SYNC_PASSWORD_WITHHELD = 66022,
    IDS_SYNC_NO_PASSWORD_FOR_HOST = 66023, // "%1" the user, "%2" the host
    IDS_SYNC_CANCELLED = 66024,
    IDS_SYNC_CERTIFICATE_NAME = 66025, // "%2" the names it is made out to, "%3" the fingerprint
    IDS_SYNC_HTTPS_ASSUMED = 66026,
    IDS_SYNC_ANSWERED_PLAIN = 66027,
    IDS_SYNC_PLAIN_HTTP = 66028, // "%1" the address
    IDS_SYNC_NOTE_REFUSED = 66029,
    IDS_SYNC_NOTE_DELETE_REFUSED = 66030,
    IDS_SYNC_NO_CALENDARS_AT = 66031, // "%1" the user, "%2" the host
    IDS_PRINT_PAGE = 66050,           // "%1" this page, "%2" the page count
    IDS_PDF_FILTER = 66051,
    // Meetings: the question before a time edit of someone else's meeting ("%1" the
    // organizer), the organizer and attendee lines ("%1" the person, "%2" the answer, "%3" the
    // role), the answers and roles, the answer buttons and the user's own addresses.
    IDS_MEETING_COPY_ONLY = 66100,
    IDS_MEETING_ORGANIZER = 66101,
    IDS_MEETING_ATTENDEE = 66102,
    IDS_MEETING_NEEDS_ACTION = 66103,
    IDS_MEETING_ACCEPTED = 66104,
    IDS_MEETING_DECLINED = 66105,
    IDS_MEETING_TENTATIVE = 66106,
    IDS_MEETING_DELEGATED = 66107,
    IDS_MEETING_REQUIRED = 66108,
    IDS_MEETING_OPTIONAL = 66109,
    IDS_MEETING_FOR_INFORMATION = 66110,
    IDS_MEETING_CHAIR = 66111,
    IDS_MEETING_ACCEPT = 66112,
    IDS_MEETING_ANSWER_TENTATIVE = 66113,
    IDS_MEETING_DECLINE = 66114,
    IDS_MEETING_LINK = 66115, // "%1" the address
    IDS_OWN_ADDRESSES = 66116,
    IDS_OWN_ADDRESSES_TIP = 66117,
    IDS_MEETING_NOT_INVITED = 66118,
    IDS_SYNC_CALENDAR_GONE = 66140,
    IDS_A11Y_APPOINTMENT = 66200, // "%1" subject, "%2" start, "%3" end
    IDS_A11Y_ALL_DAY = 66201,     // "%1" subject
    IDS_A11Y_TASK = 66202,        // "%1" subject
    IDS_A11Y_TASK_DUE = 66203,    // "%1" subject, "%2" due
    IDS_A11Y_KIND_FIRST = 66204,  // holiday, second holiday, rest day, memorial day
    IDS_A11Y_SELECTED = 66208,
    IDS_A11Y_CONFLICTING = 66209,
    IDS_A11Y_RECURRING = 66210,
    IDS_A11Y_COMPLETED = 66211,
    IDS_A11Y_BUTTON_BAR = 66212,
    IDS_A11Y_SCHEDULE = 66213,
    IDS_A11Y_DETAIL = 66214,
    // Help: the editing keys ("keys\tdoes" rows).
    IDS_HELP_KEY_EDITING = 66320,
    IDS_HELP_KEY_EDITING_FIRST = 66321,
    IDS_HELP_KEY_EDITING_LAST = 66325,
    // The window's calendars list and Find's reach into hidden calendars.
    IDS_CALENDARS_TITLE = 66240,
    IDS_FIND_HIDDEN_CALENDARS = 66241,
    IDS_CALENDAR_ITEM_TIP = 66242,
    IDS_CALENDAR_NOT_SAVED = 66243, // "%1" the calendar's name
    // Calendar subscriptions.
    IDS_SUBSCRIBE_BUTTON = 66300,
    IDS_SUBSCRIBE_TITLE = 66301,
    IDS_SUBSCRIBE_ADDRESS = 66302,
    IDS_SUBSCRIBE_NAME = 66303,
    IDS_SUBSCRIBE = 66304,
    IDS_SUBSCRIBE_READING = 66305,
    IDS_SUBSCRIPTION_NO_CALENDAR = 66306, // "%1" the address
    IDS_SUBSCRIPTION_PASSWORD = 66307,    // "%1" the host
    IDS_SUBSCRIPTION_FAILED = 66308,      // "%1" the name, "%2" why
    IDS_SUBSCRIBE_QUESTION = 66309,       // "%1" the address
    IDS_SUBSCRIBED = 66310,               // "%1" the name, "%2" "3 items"
    IDS_SUBSCRIPTION_BAD_ADDRESS = 66311,
    IDS_SUBSCRIPTION_KNOWN = 66312,      // "%1" the address, "%2" the name
    IDS_SUBSCRIPTION_PLAIN_HTTP = 66313, // "%1" the address
    // The subscriptions in Calendar Accounts, and tamberlo-sync unsubscribe.
    IDS_SUBSCRIPTIONS = 66340,
    IDS_SUBSCRIPTION_RENAME = 66341,
    IDS_SUBSCRIPTION_COLOUR = 66342,
    IDS_UNSUBSCRIBE = 66343,
    IDS_UNSUBSCRIBE_QUESTION = 66344,  // "%1" the name, "%2" "3 items", "%3" the address
    IDS_SUBSCRIPTION_READ_AT = 66345,  // "%1" the time
    IDS_SUBSCRIPTION_NOT_READ = 66346, // "%1" why
    IDS_SUBSCRIPTION_NEW_NAME = 66347,
    IDS_NO_SUBSCRIPTION = 66348,        // "%1" as typed
    IDS_SUBSCRIPTION_AMBIGUOUS = 66349, // "%1" the name
    // Find: the matches past those listed ("%1" how many).
    IDS_FIND_MORE = 66350,
    // The Calendar Accounts dialog's list of an account's calendars.
    IDS_ACCOUNT_CALENDARS = 66260,
    IDS_ACCOUNT_READ_ONLY = 66261,
    // Several calendars: a collection gone from its server ("%1" its name, "%2" the host).
};

// The text of a string id; empty for an id the table does not hold.
std::wstring LoadString(int id);
// The text of a string id with its "%1" filled in.
std::wstring LoadString(int id, const std::wstring& first);

} // namespace res
