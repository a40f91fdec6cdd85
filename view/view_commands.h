// The view's rows of the command table: the picture-button commands, the view types with their
// check marks, and the item commands whose enable state follows the selection. Rows whose
// editors or dialogs come from elsewhere are added without a handler; the owner attaches one
// with CommandTable::SetHandler and the command becomes enabled by the same rule.
#pragma once

#include <functional>

#include "platform/command_table.h"
#include "view/display_switches.h"
#include "view/item_selection.h"

// What the update handlers read of the view.
struct ViewCommandState {
    DisplaySwitches switches;
    bool clipboardHoldsItem = false;
    ItemSelection selection;
};

// The check marks, enable states and shown texts of a view command in a given state.
CommandUpdate ViewCommandUpdate(int id, const ViewCommandState& state);

struct ViewCommandHooks {
    std::function<void(int button)> runButton;
    std::function<void()> toggleFitHoursToWidth;
    std::function<ViewCommandState()> state;
};

// The command that picture button `button` runs; 0 for a button without one.
int ButtonCommand(int button);

// Adds every row the view owns to `table`.
void AddViewCommands(CommandTable& table, const ViewCommandHooks& hooks);
