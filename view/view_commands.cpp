// The view's command rows. Update handlers are one pure function of the view's state, so the
// menus, the command bar and the keys all see the same enable states and texts.
#include "view/view_commands.h"

#include "res/command_ids.h"
#include "res/pictures.h"

namespace {

struct ButtonCommand {
    int id;
    int button;
};

constexpr ButtonCommand kButtonCommands[] = {
    {cmd::ID_TODAY, res::kButtonSelectToday},
    {cmd::ID_WEEK_BEFORE, res::kButtonWeekBefore},
    {cmd::ID_WEEK_AFTER, res::kButtonWeekAfter},
    {cmd::ID_MONTH_BEFORE, res::kButtonMonthBefore},
    {cmd::ID_MONTH_AFTER, res::kButtonMonthAfter},
    {cmd::ID_ZOOM_IN, res::kButtonZoomIn},
    {cmd::ID_ZOOM_OUT, res::kButtonZoomOut},
    {cmd::ID_VIEW_CALENDAR, res::kButtonCalendar},
    {cmd::ID_VIEW_BOTH, res::kButtonBoth},
    {cmd::ID_VIEW_APPOINT_ONLY, res::kButtonAppointmentsOnly},
    {cmd::ID_VIEW_TASK_ONLY, res::kButtonTasksOnly},
    {cmd::ID_VIEW_DETAIL, res::kButtonDetailView},
    {cmd::ID_DETAIL_AT_BOTTOM, res::kButtonDetailAtBottom},
};

// Rows decided here and run by a handler attached later (editors, dialogs, clipboard) or by
// the frame and the application object (Exit, Holiday, Func Key, Version).
constexpr int kAttachedLater[] = {
    cmd::ID_ADD_APPOINT,   cmd::ID_EDIT_APPOINT,  cmd::ID_ADD_TASK,
    cmd::ID_EDIT_TASK,     cmd::ID_COMPLETE_TASK, cmd::ID_COPY,
    cmd::ID_CUT,           cmd::ID_PASTE,         cmd::ID_JUMP_TO_DAY,
    cmd::ID_APP_EXIT,      cmd::ID_ENVIRONMENT,   cmd::ID_CATEGORY_SET,
    cmd::ID_CHARACTER_SET, cmd::ID_HOLIDAY_SET,   cmd::ID_WEEK_COLOR_SET,
    cmd::ID_FUNC_KEY_SET,  cmd::ID_APP_ABOUT,     cmd::ID_CONTEXT_EDIT,
    cmd::ID_CONTEXT_COPY,  cmd::ID_CONTEXT_CUT,   cmd::ID_CONTEXT_PASTE,
    cmd::ID_DELETE_ITEM,
};

bool Selected(const ViewCommandState& s, ItemKind kind)
{
    return s.selection.kind == kind && s.selection.IsStoreItem();
}

} // namespace

CommandUpdate ViewCommandUpdate(int id, const ViewCommandState& s)
{
    CommandUpdate u;
    const ItemSelection& item = s.selection;
    switch (id) {
    case cmd::ID_ADD_APPOINT:
        u.text = L"Add App";
        break;
    case cmd::ID_EDIT_APPOINT:
        u.text = L"Edit App";
        u.enabled = Selected(s, ItemKind::Appointment);
        break;
    case cmd::ID_ADD_TASK:
        u.text = L"Add Task";
        break;
    case cmd::ID_EDIT_TASK:
        u.text = L"Edit Task";
        u.enabled = Selected(s, ItemKind::Task);
        break;
    case cmd::ID_COMPLETE_TASK:
        u.enabled = Selected(s, ItemKind::Task) && !item.completed;
        break;
    case cmd::ID_VIEW_CALENDAR:
        u.checked = s.calendarGrid;
        break;
    case cmd::ID_VIEW_BOTH:
        u.checked = s.taskAreaVisible && s.ganttAreaVisible;
        break;
    case cmd::ID_VIEW_APPOINT_ONLY:
        u.checked = s.ganttAreaVisible && !s.taskAreaVisible;
        break;
    case cmd::ID_VIEW_TASK_ONLY:
        u.checked = s.taskAreaVisible && !s.ganttAreaVisible;
        break;
    case cmd::ID_VIEW_DETAIL:
        u.checked = s.detailVisible;
        break;
    case cmd::ID_DETAIL_AT_BOTTOM:
        u.checked = s.detailAtBottom;
        break;
    case cmd::ID_FIT_HOURS_TO_WIDTH:
        u.checked = s.fitHoursToWidth;
        break;
    case cmd::ID_COPY:
    case cmd::ID_CUT:
    case cmd::ID_CONTEXT_EDIT:
    case cmd::ID_DELETE_ITEM:
        u.enabled = item.IsStoreItem();
        break;
    case cmd::ID_CONTEXT_COPY:
    case cmd::ID_CONTEXT_CUT:
        u.enabled = item.HasItem();
        break;
    case cmd::ID_PASTE:
    case cmd::ID_CONTEXT_PASTE:
        u.enabled = s.clipboardHoldsItem;
        break;
    case cmd::ID_JUMP_TO_DAY:
        u.text = L"Jump to";
        break;
    case cmd::ID_APP_EXIT:
        u.text = L"Exit";
        break;
    case cmd::ID_ENVIRONMENT:
        u.text = L"Environment";
        break;
    case cmd::ID_HOLIDAY_SET:
        u.text = L"Holiday";
        break;
    case cmd::ID_FUNC_KEY_SET:
        u.text = L"Func Key";
        break;
    case cmd::ID_APP_ABOUT:
        u.text = L"Version";
        break;
    default:
        break;
    }
    return u;
}

void AddViewCommands(CommandTable& table, const ViewCommandHooks& hooks)
{
    const auto update = [state = hooks.state](int id) {
        return [state, id](CommandUpdate& u) { u = ViewCommandUpdate(id, state()); };
    };
    for (const ButtonCommand& command : kButtonCommands)
        table.Add(
            command.id, [run = hooks.runButton, button = command.button] { run(button); },
            update(command.id));
    table.Add(cmd::ID_FIT_HOURS_TO_WIDTH, hooks.toggleFitHoursToWidth,
              update(cmd::ID_FIT_HOURS_TO_WIDTH));
    for (int id : kAttachedLater)
        table.Add(id, {}, update(id));
}
