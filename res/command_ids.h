// The numeric command ids of the menus, tool bar and keys. Every command keeps its id so that
// menus, keys and the context menu all reach the same handler.
#pragma once

namespace cmd {

enum CommandId : int {
    ID_OK = 1,
    ID_CANCEL = 2,
    ID_ADD_APPOINT = 32771,
    ID_EDIT_APPOINT = 32772,
    ID_EDIT_TASK = 32773,
    ID_ADD_TASK = 32774,
    ID_ENVIRONMENT = 32775,
    ID_HOLIDAY_SET = 32776,
    ID_APP_EXIT = 32777,
    ID_FUNC_KEY_SET = 32784,
    ID_JUMP_TO_DAY = 32785,
    ID_CHARACTER_SET = 32787,
    ID_WEEK_AFTER = 32791,
    ID_WEEK_BEFORE = 32792,
    ID_MONTH_AFTER = 32793,
    ID_MONTH_BEFORE = 32794,
    ID_TODAY = 32795,
    ID_ZOOM_IN = 32796,
    ID_ZOOM_OUT = 32797,
    ID_WEEK_COLOR_SET = 32798,
    ID_CATEGORY_SET = 32799,
    ID_VIEW_BOTH = 32801,
    ID_VIEW_APPOINT_ONLY = 32802,
    ID_VIEW_TASK_ONLY = 32803,
    ID_VIEW_DETAIL = 32804,
    ID_DETAIL_AT_BOTTOM = 32805,
    ID_COMPLETE_TASK = 32806,
    ID_VIEW_CALENDAR = 32808,
    ID_CONTEXT_COPY = 32812,
    ID_CONTEXT_CUT = 32813,
    ID_CONTEXT_PASTE = 32814,
    ID_COPY = 32815,
    ID_CUT = 32816,
    ID_PASTE = 32817,
    ID_CONTEXT_EDIT = 32818,
    // Desktop additions: the day fills the chart's width; delete the selected item.
    ID_FIT_HOURS_TO_WIDTH = 32819,
    ID_DELETE_ITEM = 32820,
    ID_IMPORT_ICALENDAR = 32821,
    ID_EXPORT_ICALENDAR = 32822,
    ID_KEYS_AND_MOUSE = 32823,
    // Undo and redo of changes, and Find over the whole calendar.
    ID_UNDO = 32900,
    ID_REDO = 32901,
    ID_FIND = 32910,
    ID_FIND_NEXT = 32911,
    ID_FIND_PREVIOUS = 32912,
    // Sync with a CalDAV server, and its accounts.
    ID_SYNC_NOW = 32920,
    ID_CALENDAR_ACCOUNTS = 32921,
    // Printing the shown period, and the same pages as a PDF file.
    ID_PRINT = 32930,
    ID_EXPORT_PDF = 32931,
    // The user's answer to an invitation.
    ID_MEETING_ACCEPT = 32940,
    ID_MEETING_TENTATIVE = 32941,
    ID_MEETING_DECLINE = 32942,
    // The Calendars list beside the schedule.
    ID_CALENDARS_LIST = 32950,
    ID_APP_ABOUT = 57664,
};

} // namespace cmd
