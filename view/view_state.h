// Where the user is in the view: the selected day and item, the hour a new appointment starts
// at, the focused area and button, how far the detail list is scrolled, and the first shown hour.
// The view owns them; its units read and set them through the references they are given.
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

// The first shown hour, which the next layout brings into range; `recompute` asks it to place
// the window around the current hour again.
struct HourWindow {
    int firstHour = 0;
    bool recompute = false;
};
