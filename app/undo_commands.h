// The Undo and Redo commands over the window's undo stack: their menu texts name the step they
// would take back or do again, a refused step is reported, and the view shows the result.
#pragma once

#include <string>

#include "platform/command_table.h"

class CTamberloView;
class MessageService;
class ScheduleEdits;
class UndoStack;
struct UndoLabel;

// "Undo Move "Dentist"", "Redo Delete "Standup" on 12/09"; the bare word without a step.
std::wstring UndoMenuText(bool redo, const UndoLabel* step);

class UndoCommands {
public:
    UndoCommands(UndoStack& stack, ScheduleEdits& edits, MessageService& messages,
                 CTamberloView& view);

    // Adds both rows, with their update handlers, to `table`.
    void AddTo(CommandTable& table);

private:
    void Run(bool redo);

    UndoStack& stack_;
    ScheduleEdits& edits_;
    MessageService& messages_;
    CTamberloView& view_;
};
