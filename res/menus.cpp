// The menu templates with their resource texts; update handlers may show other texts.
#include "res/menus.h"

#include "res/command_ids.h"

namespace res {
namespace {

MenuItem Command(int id, const wchar_t* text)
{
    return {id, text, {}};
}
MenuItem Separator()
{
    return {};
}
MenuItem Popup(const wchar_t* text, std::vector<MenuItem> children)
{
    return {0, text, std::move(children)};
}

std::vector<MenuItem> MainMenu()
{
    using namespace cmd;
    return {
        Popup(L"Function",
              {Command(ID_ADD_APPOINT, L"Add Appoint"), Command(ID_EDIT_APPOINT, L"Edit Appoint"),
               Separator(), Command(ID_ADD_TASK, L"Add Task"), Command(ID_EDIT_TASK, L"Edit Task"),
               Command(ID_COMPLETE_TASK, L"Complete Task"), Separator(),
               Popup(L"View Pos",
                     {Command(ID_TODAY, L"Today"), Command(ID_WEEK_BEFORE, L"A Week Before"),
                      Command(ID_WEEK_AFTER, L"A Week After"),
                      Command(ID_MONTH_BEFORE, L"A Month Before"),
                      Command(ID_MONTH_AFTER, L"A Month After"), Separator(),
                      Command(ID_ZOOM_IN, L"Zoom In"), Command(ID_ZOOM_OUT, L"Zoom Out"),
                      Command(ID_FIT_HOURS_TO_WIDTH, L"Fit the day to the width")}),
               Popup(L"View Type",
                     {Command(ID_VIEW_CALENDAR, L"Calendar"), Command(ID_VIEW_BOTH, L"Both"),
                      Command(ID_VIEW_APPOINT_ONLY, L"Appoint Only"),
                      Command(ID_VIEW_TASK_ONLY, L"Task Only"), Separator(),
                      Command(ID_VIEW_DETAIL, L"View Detail"),
                      Command(ID_DETAIL_AT_BOTTOM, L"Detail at bottom"), Separator(),
                      Command(ID_CALENDARS_LIST, L"Calendars")}),
               Popup(L"Edit", {Command(ID_UNDO, L"Undo"), Command(ID_REDO, L"Redo"), Separator(),
                               Command(ID_COPY, L"Copy"), Command(ID_CUT, L"Cut"),
                               Command(ID_PASTE, L"Paste"), Separator(), Command(ID_FIND, L"Find"),
                               Command(ID_FIND_NEXT, L"Find Next"),
                               Command(ID_FIND_PREVIOUS, L"Find Previous")}),
               Command(ID_JUMP_TO_DAY, L"Jump to the day"), Command(ID_SYNC_NOW, L"Sync Now"),
               Separator(), Command(ID_PRINT, L"Print..."),
               Command(ID_EXPORT_PDF, L"Export as PDF..."), Separator(),
               Command(ID_APP_EXIT, L"Exit")}),
        Popup(L"Tool",
              {Command(ID_ENVIRONMENT, L"Environment"), Command(ID_CATEGORY_SET, L"Category Set"),
               Command(ID_CHARACTER_SET, L"Character Set"), Command(ID_HOLIDAY_SET, L"Holiday Set"),
               Command(ID_WEEK_COLOR_SET, L"Week and Color Set"),
               Command(ID_FUNC_KEY_SET, L"Func Key Set"),
               Command(ID_IMPORT_ICALENDAR, L"Import iCalendar..."),
               Command(ID_EXPORT_ICALENDAR, L"Export iCalendar..."),
               Command(ID_CALENDAR_ACCOUNTS, L"Calendar Accounts..."), Separator(),
               Command(ID_APP_ABOUT, L"Version Info")}),
        Popup(L"Help", {Command(ID_KEYS_AND_MOUSE, L"Keys and Mouse"),
                        Command(ID_APP_ABOUT, L"Version Info")}),
    };
}

std::vector<MenuItem> OkCancelMenu()
{
    return {Command(cmd::ID_OK, L"OK"), Command(cmd::ID_CANCEL, L"Cancel")};
}

std::vector<MenuItem> ContextMenu()
{
    using namespace cmd;
    return {Command(ID_CONTEXT_EDIT, L"Edit"),      Separator(),
            Command(ID_CONTEXT_COPY, L"Copy"),      Command(ID_CONTEXT_CUT, L"Cut"),
            Command(ID_CONTEXT_PASTE, L"Paste"),    Separator(),
            Command(ID_MEETING_ACCEPT, L"Accept"),  Command(ID_MEETING_TENTATIVE, L"Tentative"),
            Command(ID_MEETING_DECLINE, L"Decline")};
}

} // namespace

const std::vector<Accelerator>& LoadAccelerators()
{
    using namespace cmd;
    static const std::vector<Accelerator> keys = {
        {"Ctrl+N", ID_ADD_APPOINT},
        {"Ctrl+Shift+N", ID_ADD_TASK},
        {"Ctrl+G", ID_JUMP_TO_DAY},
        {"Ctrl+C", ID_COPY},
        {"Ctrl+X", ID_CUT},
        {"Ctrl+V", ID_PASTE},
        {"F2", ID_CONTEXT_EDIT},
        {"Del", ID_DELETE_ITEM},
        {"PgUp", ID_WEEK_BEFORE},
        {"PgDown", ID_WEEK_AFTER},
        {"Ctrl+PgUp", ID_MONTH_BEFORE},
        {"Ctrl+PgDown", ID_MONTH_AFTER},
        {"Home", ID_TODAY},
        {"Ctrl++", ID_ZOOM_IN},
        {"Ctrl+=", ID_ZOOM_IN},
        {"Ctrl+-", ID_ZOOM_OUT},
        {"Ctrl+0", ID_FIT_HOURS_TO_WIDTH},
        {"Ctrl+Q", ID_APP_EXIT},
        {"Ctrl+Z", ID_UNDO},
        {"Ctrl+Shift+Z", ID_REDO},
        {"Ctrl+Y", ID_REDO},
        {"Ctrl+F", ID_FIND},
        {"F3", ID_FIND_NEXT},
        {"Shift+F3", ID_FIND_PREVIOUS},
        {"F1", ID_KEYS_AND_MOUSE},
        {"F5", ID_SYNC_NOW},
        {"Ctrl+P", ID_PRINT},
        {"F9", ID_CALENDARS_LIST},
    };
    return keys;
}

namespace {

const MenuItem* FindCommand(const std::vector<MenuItem>& items, int id)
{
    for (const MenuItem& item : items) {
        if (item.id == id && !item.IsPopup()) {
            return &item;
        }
        if (const MenuItem* found = FindCommand(item.children, id)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

std::wstring CommandName(int id)
{
    for (int menu : {IDR_MAINFRAME, IDM_CONTEXT}) {
        if (const MenuItem* item = FindCommand(LoadMenu(menu), id)) {
            return item->text;
        }
    }
    return {};
}

std::vector<std::string> CommandKeys(int id)
{
    std::vector<std::string> keys;
    for (const Accelerator& accelerator : LoadAccelerators()) {
        if (accelerator.id == id) {
            keys.emplace_back(accelerator.keys);
        }
    }
    return keys;
}

const std::vector<MenuItem>& LoadMenu(int id)
{
    static const std::vector<MenuItem> mainMenu = MainMenu();
    static const std::vector<MenuItem> okCancel = OkCancelMenu();
    static const std::vector<MenuItem> context = ContextMenu();
    static const std::vector<MenuItem> none;
    switch (id) {
    case IDR_MAINFRAME:
        return mainMenu;
    case IDM_OK_CANCEL:
        return okCancel;
    case IDM_CONTEXT:
        return context;
    default:
        return none;
    }
}

} // namespace res
