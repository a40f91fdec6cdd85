// The task editor's rules without widgets: which dates the date boxes start with, and the
// checks of OK in the order the editor applies them, writing the task's values once all pass.
#pragma once

#include <string>

#include "editors/field_rules.h"
#include "model/item_values.h"
#include "platform/systemtime.h"

// Control ids of the task editor.
enum TaskControl : int {
    kTaskTitle = 1076,
    kTaskImportance = 1077,
    kTaskHasStart = 1052,
    kTaskStart = 1079,
    kTaskHasDue = 1053,
    kTaskDue = 1081,
    kTaskComplete = 1095,
    kTaskCompleteDate = 1097,
    kTaskRecur = 1083,
    kTaskRecurDetail = 1084,
    kTaskAlarm = 1086,
    kTaskAlarmDetail = 1087,
    kTaskCategory = 1130,
    kTaskCategoryChoose = 1065,
    kTaskSensitive = 1091,
    kTaskMemo = 1093,
    kTaskDelete = 1094,
};

// What the task editor holds when OK is pressed.
struct TaskForm {
    std::wstring title;
    int importance = 1;
    bool hasStart = false;
    SYSTEMTIME start{};
    bool hasDue = false;
    SYSTEMTIME due{};
    bool complete = false;
    bool recurring = false;
    bool alarm = false;
    std::wstring category;
    int sensitivity = 0;
};

// A task date's box is checked when the date lies strictly between 0.0 and 900000.0.
bool IsCheckedTaskDate(DATE date);
// The day a date picker shows for a task date: the date itself in the years 1900..3999, else
// `today` (a task without that date).
SYSTEMTIME PickerDay(DATE date, const SYSTEMTIME& today);
// Whole days from start to due, for the recurrence editor's span; 1 when either lies outside
// the years 1900..3999, and never below 0.
int TaskSpanDays(const SYSTEMTIME& start, const SYSTEMTIME& due);

// Validates the form and, when it is accepted, writes it into values. A one-time task loses
// its pattern; a recurring one must have one already (from the recurrence editor).
Verdict CheckTaskForm(const TaskForm& form, ItemValues& values);
