// The view's task commands in one call each: Add Task, Edit Task, Complete Task (with the
// recurring-task question) and the Delete key. Each ends in the change path and says what the
// view redraws.
#pragma once

#include "editors/editor_services.h"

class TaskEditing {
public:
    explicit TaskEditing(EditorServices& services) : services_(services) {}

    // A new task without dates (today's month and day in 1899 and in 4000) in the task editor.
    Redraw Add();
    // A new task from the earlier day to the later one (the view's sweep over the task column).
    Redraw AddBetween(DATE first, DATE second);
    // Edit Task on the document's task entry (row, position).
    Redraw Edit(int row, int position);
    // Complete Task on that entry: a recurring task asks whether to mark it complete (Yes) or
    // move it to its next occurrence (No).
    Redraw Complete(int row, int position);
    // The Delete key on that entry, after the editor's own confirmation.
    Redraw Delete(int row, int position);

private:
    // The entry's object id; 0 (after "Fail at get data.") for an entry without a store item.
    int32_t OidAt(int row, int position);
    Redraw Open(const ReadResult& read, bool isNew);
    Redraw ApplyChange(ScheduleChange change);

    EditorServices& services_;
};
