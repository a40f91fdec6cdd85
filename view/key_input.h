// What a key press means to the view: the hardware buttons (digit keys) through their
// assignments, then the cursor and Enter keys of the area that has the key focus, and the
// button-bar focus moves. The view carries the actions out.
#pragma once

#include <QFlags>
#include <Qt>
#include <functional>
#include <optional>

#include "view/navigation.h"
#include "view/view_layout.h"

namespace keys {

enum FocusArea : int { kButtonBar = 0, kBody = 1, kDetail = 2, kNoFocus = 3 };

enum class Action {
    None,
    FocusButtonBar,
    FocusBody,
    FocusDetail,
    SelectToday,
    CalendarOrGantt,
    ButtonRight,
    ButtonLeft,
    ButtonOtherStrip,
    ButtonEnter,
    BodyDown,
    BodyUp,
    BodyRight,
    BodyLeft,
    BodyEnter,
    DetailUp,
    DetailDown,
};

// The KeyEnvirorment assignments; 0 means no button assigned.
struct HardwareKeys {
    int KeyToTool = 0x31;
    int KeyToMain = 0x32;
    int KeyToDetail = 0x33;
    int KeyToTOday = 0x35;
    int KeyCalendarGantt = 0x34;
};

// The first assignment equal to the digit key `code` (48..57), in the order tool, main,
// detail, today, calendar/Gantt. A matched key is consumed even when it does nothing (the
// detail key while the detail area is hidden); an unmatched one goes on to the area keys.
struct DigitResult {
    bool matched = false;
    Action action = Action::None;
};
DigitResult DigitKey(int code, const HardwareKeys& assignments, bool detailVisible);

// The cursor and Enter keys (Qt key codes) of the focused area; None for any other key.
// Enter in the detail area hands the focus to the button bar.
Action AreaKey(int focusArea, int qtKey);

// The area a focus action gives the focus to; none for other actions.
std::optional<int> FocusOf(Action action);
// The body move of a body cursor key; none for other actions.
std::optional<nav::BodyKey> BodyKeyOf(Action action);

constexpr int kButtonCount = 20;
// The action the calendar/Gantt hardware key runs, numbered beside the picture buttons.
constexpr int kButtonCalendarOrGantt = -1;
// The focused button after Right, Left or a strip switch.
int MoveButtonFocus(int focused, Action action);
// The command of a desktop key (the main window's accelerator table) that `runnable` accepts;
// 0 when none.
int AcceleratorCommand(int qtKey, Qt::KeyboardModifiers modifiers,
                       const std::function<bool(int)>& runnable);
// Shift, Ctrl, Alt, Meta, AltGr and the lock keys pressed on their own.
bool IsModifierKey(int qtKey);

// The area Tab (forward) or Shift+Tab gives the focus to: button bar, body, detail area in a
// ring, the detail area left out while it is hidden.
int NextFocusArea(int area, bool forward, bool detailVisible);
// Where the frame of the focused area is drawn; none for no focus or a hidden detail area.
std::optional<PixelRect> FocusAreaRect(const ViewLayout& layout, int area);

// Buttons that run when Enter is pressed on them; the blank ones hand the focus to the body.
bool ButtonRunsOnEnter(int index);

} // namespace keys
