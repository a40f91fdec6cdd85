// The Calendars list of the main window: the dock beside the schedule, the command that shows
// it and takes the keyboard there (F9; again from the list hides it), and the store writes its
// check boxes ask for.
#pragma once

#include <cstdint>

#include "platform/command_table.h"

class CalendarsDock;
class CMainFrame;
class CTamberloDoc;
class CTamberloView;
class MessageService;

class CalendarCommands {
public:
    // `messages` (may be null) hears of a calendar whose choice could not be saved.
    CalendarCommands(CTamberloDoc& document, MessageService* messages, CMainFrame& frame,
                     CTamberloView& view);

    void AddTo(CommandTable& table);
    CalendarsDock& Dock() const { return *dock_; }

private:
    void Toggle(int32_t calendar, bool shown);
    void ShowOrHide();

    CTamberloDoc& document_;
    MessageService* messages_;
    CTamberloView& view_;
    CalendarsDock* dock_; // owned by the frame
};
