// The view's command rows. Update handlers are one pure function of the view's state, so the
// menus, the command bar and the keys all see the same enable states and texts.
#include "view/view_commands.h"

#include <algorithm>
#include <iterator>

#include "res/command_ids.h"
#include "res/pictures.h"

namespace {

using State = const ViewCommandState&;
// A rule decides a row's enable state or its check mark.
using Rule = bool (*)(State);

// How a row is run: by pressing a picture button, by the fit-hours switch, or by a handler
// attached later (editors, dialogs, clipboard, or the frame and the application object).
enum class Runs { Button, FitHoursSwitch, AttachedLater };

struct ViewCommandRow {
    int id;
    Runs runs;
    int button;          // the picture button pressed, for Runs::Button
    Rule enabled;        // nullptr: always enabled
    Rule checked;        // nullptr: never checked
    const wchar_t* text; // nullptr: the resource text
};

bool Selected(State s, ItemKind kind)
{
    return s.selection.kind == kind && s.selection.IsStoreItem();
}

bool AppointmentSelected(State s)
{
    return Selected(s, ItemKind::Appointment);
}

bool MeetingSelected(State s)
{
    return AppointmentSelected(s) && s.selection.meeting;
}

bool TaskSelected(State s)
{
    return Selected(s, ItemKind::Task);
}

bool StoreItemSelected(State s)
{
    return s.selection.IsStoreItem();
}

bool AnyItemSelected(State s)
{
    return s.selection.HasItem();
}

bool ClipboardHoldsItem(State s)
{
    return s.clipboardHoldsItem;
}

constexpr int kNoButton = -1;

constexpr ViewCommandRow Button(int id, int button, Rule checked = nullptr)
{
    return {id, Runs::Button, button, nullptr, checked, nullptr};
}

constexpr ViewCommandRow Later(int id, Rule enabled, const wchar_t* text = nullptr)
{
    return {id, Runs::AttachedLater, kNoButton, enabled, nullptr, text};
}

constexpr ViewCommandRow kRows[] = {
    Button(cmd::ID_TODAY, res::kButtonSelectToday),
    Button(cmd::ID_WEEK_BEFORE, res::kButtonWeekBefore),
    Button(cmd::ID_WEEK_AFTER, res::kButtonWeekAfter),
    Button(cmd::ID_MONTH_BEFORE, res::kButtonMonthBefore),
    Button(cmd::ID_MONTH_AFTER, res::kButtonMonthAfter),
    Button(cmd::ID_ZOOM_IN, res::kButtonZoomIn),
    Button(cmd::ID_ZOOM_OUT, res::kButtonZoomOut),
    Button(cmd::ID_VIEW_CALENDAR, res::kButtonCalendar,
           [](State s) { return s.switches.CalendarType == 0; }),
    Button(cmd::ID_VIEW_BOTH, res::kButtonBoth,
           [](State s) { return s.switches.TaskAreaVisible && s.switches.CalendarAreaVisible; }),
    Button(cmd::ID_VIEW_APPOINT_ONLY, res::kButtonAppointmentsOnly,
           [](State s) { return s.switches.CalendarAreaVisible && !s.switches.TaskAreaVisible; }),
    Button(cmd::ID_VIEW_TASK_ONLY, res::kButtonTasksOnly,
           [](State s) { return s.switches.TaskAreaVisible && !s.switches.CalendarAreaVisible; }),
    Button(cmd::ID_VIEW_DETAIL, res::kButtonDetailView,
           [](State s) { return s.switches.InfoAreaVisible; }),
    Button(cmd::ID_DETAIL_AT_BOTTOM, res::kButtonDetailAtBottom,
           [](State s) { return s.switches.InfoAreaFixBottom; }),
    {cmd::ID_FIT_HOURS_TO_WIDTH, Runs::FitHoursSwitch, kNoButton, nullptr,
     [](State s) { return s.switches.FitHoursToWidth; }, nullptr},
    Later(cmd::ID_ADD_APPOINT, nullptr, L"Add App"),
    Later(cmd::ID_EDIT_APPOINT, AppointmentSelected, L"Edit App"),
    Later(cmd::ID_ADD_TASK, nullptr, L"Add Task"),
    Later(cmd::ID_EDIT_TASK, TaskSelected, L"Edit Task"),
    Later(cmd::ID_COMPLETE_TASK, [](State s) { return TaskSelected(s) && !s.selection.completed; }),
    Later(cmd::ID_COPY, StoreItemSelected),
    Later(cmd::ID_CUT, StoreItemSelected),
    Later(cmd::ID_PASTE, ClipboardHoldsItem),
    Later(cmd::ID_JUMP_TO_DAY, nullptr, L"Jump to"),
    Later(cmd::ID_APP_EXIT, nullptr, L"Exit"),
    Later(cmd::ID_ENVIRONMENT, nullptr, L"Environment"),
    Later(cmd::ID_CATEGORY_SET, nullptr),
    Later(cmd::ID_CHARACTER_SET, nullptr),
    Later(cmd::ID_HOLIDAY_SET, nullptr, L"Holiday"),
    Later(cmd::ID_WEEK_COLOR_SET, nullptr),
    Later(cmd::ID_FUNC_KEY_SET, nullptr, L"Func Key"),
    Later(cmd::ID_APP_ABOUT, nullptr, L"Version"),
    Later(cmd::ID_CONTEXT_EDIT, StoreItemSelected),
    Later(cmd::ID_CONTEXT_COPY, AnyItemSelected),
    Later(cmd::ID_CONTEXT_CUT, AnyItemSelected),
    Later(cmd::ID_CONTEXT_PASTE, ClipboardHoldsItem),
    Later(cmd::ID_DELETE_ITEM, StoreItemSelected),
    Later(cmd::ID_MEETING_ACCEPT, MeetingSelected),
    Later(cmd::ID_MEETING_TENTATIVE, MeetingSelected),
    Later(cmd::ID_MEETING_DECLINE, MeetingSelected),
};

CommandUpdate UpdateOf(const ViewCommandRow& row, const ViewCommandState& s)
{
    CommandUpdate u;
    if (row.enabled != nullptr) {
        u.enabled = row.enabled(s);
    }
    if (row.checked != nullptr) {
        u.checked = row.checked(s);
    }
    if (row.text != nullptr) {
        u.text = row.text;
    }
    return u;
}

CommandTable::Handler HandlerOf(const ViewCommandRow& row, const ViewCommandHooks& hooks)
{
    switch (row.runs) {
    case Runs::Button:
        return [run = hooks.runButton, button = row.button] { run(button); };
    case Runs::FitHoursSwitch:
        return hooks.toggleFitHoursToWidth;
    case Runs::AttachedLater:
        break;
    }
    return {};
}

} // namespace

CommandUpdate ViewCommandUpdate(int id, const ViewCommandState& s)
{
    const auto* const row = std::find_if(std::begin(kRows), std::end(kRows),
                                         [id](const ViewCommandRow& r) { return r.id == id; });
    return row == std::end(kRows) ? CommandUpdate{} : UpdateOf(*row, s);
}

int ButtonCommand(int button)
{
    const auto* const row =
        std::find_if(std::begin(kRows), std::end(kRows), [button](const auto& r) {
            return r.runs == Runs::Button && r.button == button;
        });
    return row == std::end(kRows) ? 0 : row->id;
}

void AddViewCommands(CommandTable& table, const ViewCommandHooks& hooks)
{
    for (const ViewCommandRow& row : kRows) {
        table.Add(row.id, HandlerOf(row, hooks),
                  [state = hooks.state, &row](CommandUpdate& u) { u = UpdateOf(row, state()); });
    }
}
