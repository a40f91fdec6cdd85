// Key dispatch: the hardware-button assignments in their order, the keys of each focus area,
// the button-bar focus moves and the desktop keys of the accelerator table.
#include "view/key_input.h"

#include <gtest/gtest.h>

#include "res/command_ids.h"

using keys::Action;

TEST(KeyInput, DigitKeysFollowTheAssignmentsInOrder)
{
    const keys::HardwareKeys defaults;
    keys::HardwareKeys clash;
    clash.KeyToMain = clash.KeyToTool; // the first assignment wins
    const keys::HardwareKeys unassigned{0, 0, 0, 0, 0};
    // clang-format off
    struct Case { int code; const keys::HardwareKeys& keys; bool detail, matched; Action action; };
    const Case cases[] = {
        {'1', defaults, true, true, Action::FocusButtonBar},
        {'2', defaults, true, true, Action::FocusBody},
        {'3', defaults, true, true, Action::FocusDetail},
        {'3', defaults, false, true, Action::None}, // hidden detail: consumed, no focus change
        {'5', defaults, true, true, Action::SelectToday},
        {'4', defaults, true, true, Action::CalendarOrGantt},
        {'9', defaults, true, false, Action::None},
        {'1', clash, true, true, Action::FocusButtonBar},
        {'1', unassigned, true, false, Action::None},
        {0, unassigned, true, false, Action::None}, // 0 ("----") never matches
        {Qt::Key_Down, defaults, true, false, Action::None},
    };
    // clang-format on
    for (const Case& c : cases) {
        const keys::DigitResult result = keys::DigitKey(c.code, c.keys, c.detail);
        EXPECT_EQ(result.matched, c.matched) << c.code;
        EXPECT_EQ(result.action, c.action) << c.code;
    }
}

TEST(KeyInput, DesktopKeysReachTheirCommands)
{
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    // clang-format off
    struct Case { int key; Qt::KeyboardModifiers modifiers; int id; };
    // The table's own rows are the shell's menus; these are the modifiers that must not matter
    // and the keys that are no desktop keys.
    const Case cases[] = {
        {Qt::Key_PageUp, ctrl, cmd::ID_MONTH_BEFORE}, {Qt::Key_Equal, ctrl, cmd::ID_ZOOM_IN},
        {Qt::Key_Plus, ctrl | Qt::ShiftModifier, cmd::ID_ZOOM_IN},
        {Qt::Key_Minus, ctrl | Qt::KeypadModifier, cmd::ID_ZOOM_OUT},
        {Qt::Key_N, ctrl | Qt::ShiftModifier, cmd::ID_ADD_TASK},
        {Qt::Key_0, none, 0}, // a hardware button, not a desktop key
        {Qt::Key_Down, none, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(keys::AcceleratorCommand(c.key, c.modifiers, [](int) { return true; }), c.id)
            << c.key;
    }
    // A disabled command takes no key.
    EXPECT_EQ(keys::AcceleratorCommand(Qt::Key_Home, none, [](int) { return false; }), 0);
}
