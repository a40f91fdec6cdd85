// The view's update handlers: enable states for each selection and check marks for the switches.
#include "view/view_commands.h"

#include <gtest/gtest.h>

#include "res/command_ids.h"

// Cases name only the switches that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {
ItemSelection Item(ItemKind kind, int storeIndex, bool completed = false)
{
    return {.line = 1, .index = 0, .kind = kind, .completed = completed, .storeIndex = storeIndex};
}
} // namespace

TEST(ViewCommands, EnableStatesFollowTheSelection)
{
    const int ids[] = {cmd::ID_EDIT_APPOINT, cmd::ID_EDIT_TASK,    cmd::ID_COMPLETE_TASK,
                       cmd::ID_COPY,         cmd::ID_CONTEXT_EDIT, cmd::ID_CONTEXT_COPY,
                       cmd::ID_ADD_APPOINT,  cmd::ID_PASTE};
    // clang-format off
    struct Case { const char* name; ItemSelection selection; const char* enabled; };
    const Case cases[] = { // enabled in the order of ids, 1 for on
        {"nothing", {}, "00000010"},
        {"task", Item(ItemKind::Task, 3), "01111110"},
        {"completed task", Item(ItemKind::Task, 3, true), "01011110"},
        {"appointment", Item(ItemKind::Appointment, 2), "10011110"},
        {"holiday", Item(ItemKind::Appointment, -1), "00000110"},
    };
    // clang-format on
    for (const Case& c : cases) {
        ViewCommandState state;
        state.selection = c.selection;
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            EXPECT_EQ(ViewCommandUpdate(ids[i], state).enabled, c.enabled[i] == '1')
                << c.name << " " << ids[i];
        }
    }
    ViewCommandState clipboard;
    clipboard.clipboardHoldsItem = true;
    EXPECT_TRUE(ViewCommandUpdate(cmd::ID_CONTEXT_PASTE, clipboard).enabled);
}

TEST(ViewCommands, CheckMarksFollowTheSwitches)
{
    const int checkable[] = {cmd::ID_VIEW_CALENDAR,     cmd::ID_VIEW_BOTH,
                             cmd::ID_VIEW_APPOINT_ONLY, cmd::ID_VIEW_TASK_ONLY,
                             cmd::ID_VIEW_DETAIL,       cmd::ID_DETAIL_AT_BOTTOM,
                             cmd::ID_FIT_HOURS_TO_WIDTH};
    // clang-format off
    struct Checks { ViewCommandState state; std::vector<int> checked; };
    const Checks cases[] = {
        {{}, {cmd::ID_VIEW_BOTH, cmd::ID_VIEW_DETAIL}},
        {{.switches = {.CalendarType = 0, .TaskAreaVisible = false, .InfoAreaVisible = false,
                       .InfoAreaFixBottom = true, .FitHoursToWidth = true}},
         {cmd::ID_VIEW_CALENDAR, cmd::ID_VIEW_APPOINT_ONLY, cmd::ID_DETAIL_AT_BOTTOM,
          cmd::ID_FIT_HOURS_TO_WIDTH}},
    };
    // clang-format on
    for (const Checks& c : cases) {
        for (int id : checkable) {
            const bool expected =
                std::find(c.checked.begin(), c.checked.end(), id) != c.checked.end();
            EXPECT_EQ(ViewCommandUpdate(id, c.state).checked, expected) << id;
        }
    }
}
