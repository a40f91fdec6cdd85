// The menu templates: the main menu 128 ("Function", "Tool" and "Help"), the OK/Cancel bar 166
// of every dialog and the context menu 178 of the schedule body, as data the windows build
// menus from.
#pragma once

#include <string>
#include <vector>

namespace res {

// A command (id > 0), a separator (id 0, no children) or a popup (children, id 0).
struct MenuItem {
    int id = 0;
    std::wstring text;
    std::vector<MenuItem> children;

    bool IsSeparator() const { return id == 0 && children.empty(); }
    bool IsPopup() const { return !children.empty(); }
};

enum MenuId : int { IDR_MAINFRAME = 128, IDM_OK_CANCEL = 166, IDM_CONTEXT = 178 };

// The top-level items of a menu template; empty for an unknown id.
const std::vector<MenuItem>& LoadMenu(int id);

// A key that runs a command, in Qt's portable key-sequence text ("Ctrl+N", "PgUp").
struct Accelerator {
    const char* keys;
    int id;
};

// The keys of the main window (accelerator table 128); a command may have several.
const std::vector<Accelerator>& LoadAccelerators();

// The text of the first menu item (main menu, then context menu) that runs `id`; empty if none.
std::wstring CommandName(int id);
// The keys of `id` in the accelerator table's order; empty when it has none.
std::vector<std::string> CommandKeys(int id);

} // namespace res
