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
    keys::HardwareKeys unassigned{0, 0, 0, 0, 0};
    struct Case {
        int code;
        const keys::HardwareKeys& keys;
        bool detailVisible, matched;
        Action action;
    };
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
    for (const Case& c : cases) {
        const keys::DigitResult result = keys::DigitKey(c.code, c.keys, c.detailVisible);
        EXPECT_EQ(result.matched, c.matched) << c.code;
        EXPECT_EQ(result.action, c.action) << c.code;
    }
}

TEST(KeyInput, AreaKeysAndButtonFocus)
{
    struct Case {
        int area, key;
        Action action;
    };
    const Case cases[] = {
        {keys::kButtonBar, Qt::Key_Right, Action::ButtonRight},
        {keys::kButtonBar, Qt::Key_Up, Action::ButtonOtherStrip},
        {keys::kButtonBar, Qt::Key_Return, Action::ButtonEnter},
        {keys::kBody, Qt::Key_Down, Action::BodyDown},
        {keys::kBody, Qt::Key_Left, Action::BodyLeft},
        {keys::kBody, Qt::Key_Enter, Action::BodyEnter},
        {keys::kDetail, Qt::Key_Up, Action::DetailUp},
        {keys::kDetail, Qt::Key_Return, Action::FocusButtonBar},
        {keys::kDetail, Qt::Key_Left, Action::None},
        {keys::kNoFocus, Qt::Key_Down, Action::None},
        {keys::kBody, Qt::Key_A, Action::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keys::AreaKey(c.area, c.key), c.action) << c.area << " " << c.key;

    struct Move {
        int from;
        Action action;
        int to;
    };
    for (const Move& m : {Move{19, Action::ButtonRight, 0}, Move{0, Action::ButtonLeft, 19},
                          Move{3, Action::ButtonOtherStrip, 13},
                          Move{13, Action::ButtonOtherStrip, 3}, Move{7, Action::ButtonRight, 8}})
        EXPECT_EQ(keys::MoveButtonFocus(m.from, m.action), m.to) << m.from;
    for (int index = 0; index < keys::kButtonCount; ++index)
        EXPECT_EQ(keys::ButtonRunsOnEnter(index), index != 14 && index < 17) << index;
}

TEST(KeyInput, DesktopKeysReachTheirCommands)
{
    const auto all = [](int) { return true; };
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int id;
    };
    const Case cases[] = {
        {Qt::Key_PageDown, Qt::NoModifier, cmd::ID_WEEK_AFTER},
        {Qt::Key_PageUp, Qt::NoModifier, cmd::ID_WEEK_BEFORE},
        {Qt::Key_PageUp, Qt::ControlModifier, cmd::ID_MONTH_BEFORE},
        {Qt::Key_PageDown, Qt::ControlModifier, cmd::ID_MONTH_AFTER},
        {Qt::Key_Home, Qt::NoModifier, cmd::ID_TODAY},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, cmd::ID_ZOOM_IN},
        {Qt::Key_Equal, Qt::ControlModifier, cmd::ID_ZOOM_IN},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, cmd::ID_ZOOM_OUT},
        {Qt::Key_0, Qt::ControlModifier, cmd::ID_FIT_HOURS_TO_WIDTH},
        {Qt::Key_N, Qt::ControlModifier, cmd::ID_ADD_APPOINT},
        {Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier, cmd::ID_ADD_TASK},
        {Qt::Key_F2, Qt::NoModifier, cmd::ID_CONTEXT_EDIT},
        {Qt::Key_Q, Qt::ControlModifier, cmd::ID_APP_EXIT},
        {Qt::Key_0, Qt::NoModifier, 0}, // a hardware button, not a desktop key
        {Qt::Key_Down, Qt::NoModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keys::AcceleratorCommand(c.key, c.modifiers, all), c.id) << c.key;
    EXPECT_EQ(keys::AcceleratorCommand(Qt::Key_Home, Qt::NoModifier, [](int) { return false; }), 0);
}
