// Editing from the keyboard: Alt+arrows move the selected item by a step of what is shown (half
// an hour or a day in the Gantt rows, a day or a week in the calendar grid), Alt+Shift+Left and
// Right make an appointment shorter or longer, Shift+Left and Right move the selected hour, and
// the Menu key and Shift+F10 open the context menu. Changes take the drag's path and its undo.
#pragma once

#include <Qt>
#include <optional>

#include "view/item_selection.h"
#include "view/view_keys_host.h"
#include "view/view_layout.h"

class DayEntries;
class ViewEditing;

namespace keyedit {

struct KeyEdit {
    enum class Kind { kNone, kMove, kResize, kHour, kContextMenu };
    Kind kind = Kind::kNone;
    int minutes = 0; // kMove, kResize: how far the item (or its end) moves in time
    int days = 0;    // kMove
    int hours = 0;   // kHour
    bool operator==(const KeyEdit&) const = default;
};

// What a key means here; kNone leaves it to the other keys. The hour keys belong to the Gantt
// rows' body: elsewhere Shift+Left and Right stay the plain keys.
KeyEdit KeyEditOf(int qtKey, Qt::KeyboardModifiers modifiers, bool grid, bool bodyFocused);

// Where the keyboard opens the context menu on day row `row`: over the selected item, else
// over the selected hour, else at the start of the shown hours (the middle of a grid cell).
PixelPoint ContextMenuPoint(const ViewLayout& layout, const DayEntries& entries,
                            const ItemSelection& item, int row, std::optional<int> hour);

} // namespace keyedit

class KeyboardEditing {
public:
    KeyboardEditing(ViewKeysHost& view, ViewEditing& editing) : view_(view), editing_(editing) {}

    // True when the key was one of these, whether or not it could change anything.
    bool KeyPress(int qtKey, Qt::KeyboardModifiers modifiers);

private:
    void ChangeSelected(const keyedit::KeyEdit& edit);

    ViewKeysHost& view_;
    ViewEditing& editing_;
};
