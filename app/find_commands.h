// Find over the whole calendar in the main window: Ctrl+F opens the find bar above the view,
// F3 and Shift+F3 step through its matches, and a chosen match's day is shown by the view with
// the item selected.
#pragma once

#include "platform/command_table.h"

class CMainFrame;
class CTamberloView;
class FindBar;
class PimSession;
struct FoundItem;

class FindCommands {
public:
    FindCommands(PimSession& session, CMainFrame& frame, CTamberloView& view);

    void AddTo(CommandTable& table);
    FindBar& Bar() const { return *bar_; }

private:
    void Show(const FoundItem& found);

    CTamberloView& view_;
    FindBar* bar_; // owned by the frame
};
