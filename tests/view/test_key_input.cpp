// Key dispatch: the hardware-button assignments in their order.
#include "view/key_input.h"

#include <gtest/gtest.h>

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
        {'3', defaults, false, true, Action::None}, // hidden detail: consumed, no focus change
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
