// Where the user is in the view: the selected day and item, the hour a new appointment starts
// at, the focused area and button, and how far the detail list is scrolled. The view owns it;
// its pointer handling reads and sets it through the view's editing host.
#pragma once

#include <optional>

#include "platform/systemtime.h"
#include "view/item_selection.h"
#include "view/key_input.h"

struct ViewState {
    SYSTEMTIME selectedDate{};
    int keyFocusArea = keys::kBody;
    int focusedButton = 1;
    int detailScroll = 0;
    ItemSelection selection;
    std::optional<int> selectedHour;
};
