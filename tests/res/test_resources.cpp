// The string table and the menu templates: the exact texts and ids the program shows.
#include <gtest/gtest.h>

#include <sstream>

#include "res/command_ids.h"
#include "res/command_line.h"
#include "res/menus.h"
#include "res/string_table.h"

// Ids outside the table, and the month names' base, give no text.
TEST(StringTable, IdsWithoutATextGiveNone)
{
    EXPECT_EQ(res::LoadString(res::IDS_MONTH_BASE), L"") << "month names start at base + 1";
    EXPECT_EQ(res::LoadString(0), L"");
    EXPECT_EQ(res::LoadString(99999), L"");
}

namespace {

// Texts of a menu, popups as "Name>" and separators as "-", depth first.
std::vector<std::wstring> Flatten(const std::vector<res::MenuItem>& items)
{
    std::vector<std::wstring> out;
    for (const res::MenuItem& item : items) {
        out.push_back(item.IsSeparator() ? L"-"
                      : item.IsPopup()   ? item.text + L">"
                                         : item.text + L"=" + std::to_wstring(item.id));
        for (const std::wstring& child : Flatten(item.children))
            out.push_back(child);
    }
    return out;
}

}  // namespace

TEST(Menus, MainOkCancelAndContextTemplates)
{
    const std::vector<std::wstring> main{
        L"Function>", L"Add Appoint=32771", L"Edit Appoint=32772", L"-", L"Add Task=32774",
        L"Edit Task=32773", L"Complete Task=32806", L"-", L"View Pos>", L"Today=32795",
        L"A Week Before=32792", L"A Week After=32791", L"A Month Before=32794",
        L"A Month After=32793", L"-", L"Zoom In=32796", L"Zoom Out=32797",
        L"Fit the day to the width=32819", L"View Type>", L"Calendar=32808", L"Both=32801",
        L"Appoint Only=32802", L"Task Only=32803", L"-", L"View Detail=32804",
        L"Detail at bottom=32805", L"-", L"Calendars=32950", L"Edit>", L"Undo=32900", L"Redo=32901", L"-", L"Copy=32815",
        L"Cut=32816", L"Paste=32817", L"-", L"Find=32910", L"Find Next=32911",
        L"Find Previous=32912", L"Jump to the day=32785", L"Sync Now=32920", L"-",
        L"Print...=32930", L"Export as PDF...=32931", L"-", L"Exit=32777", L"Tool>", L"Environment=32775",
        L"Category Set=32799", L"Character Set=32787", L"Holiday Set=32776",
        L"Week and Color Set=32798", L"Func Key Set=32784", L"Import iCalendar...=32821",
        L"Export iCalendar...=32822", L"Calendar Accounts...=32921", L"-", L"Version Info=57664", L"Help>",
        L"Keys and Mouse=32823", L"Version Info=57664"};
    EXPECT_EQ(Flatten(res::LoadMenu(res::IDR_MAINFRAME)), main);
    EXPECT_EQ(Flatten(res::LoadMenu(res::IDM_OK_CANCEL)),
              (std::vector<std::wstring>{L"OK=1", L"Cancel=2"}));
    EXPECT_EQ(Flatten(res::LoadMenu(res::IDM_CONTEXT)),
              (std::vector<std::wstring>{L"Edit=32818", L"-", L"Copy=32812", L"Cut=32813",
                                         L"Paste=32814", L"-", L"Accept=32940",
                                         L"Tentative=32941", L"Decline=32942"}));
    EXPECT_TRUE(res::LoadMenu(12345).empty());
}

// A command's name is its first menu text (main menu before context menu), its keys in the
// accelerator table's order.
TEST(Menus, CommandNamesAndKeys)
{
    EXPECT_EQ(res::CommandName(cmd::ID_WEEK_BEFORE), L"A Week Before");
    EXPECT_EQ(res::CommandName(cmd::ID_CONTEXT_EDIT), L"Edit");
    EXPECT_EQ(res::CommandName(cmd::ID_KEYS_AND_MOUSE), L"Keys and Mouse");
    EXPECT_EQ(res::CommandName(cmd::ID_DELETE_ITEM), L"") << "a key-only command";
    EXPECT_EQ(res::CommandKeys(cmd::ID_ZOOM_IN), (std::vector<std::string>{"Ctrl++", "Ctrl+="}));
    EXPECT_EQ(res::CommandKeys(cmd::ID_KEYS_AND_MOUSE), (std::vector<std::string>{"F1"}));
    EXPECT_TRUE(res::CommandKeys(cmd::ID_COMPLETE_TASK).empty());
}

TEST(CommandLine, HelpAndVersionAreAnsweredAlike)
{
    struct Case {
        std::vector<std::string> args;
        bool answered;
        std::string out;
    };
    const std::string version = res::VersionText("tool");
    EXPECT_EQ(version.rfind("tool 2.02a (build ", 0), 0u) << version;
    const Case cases[] = {{{"--help"}, true, "usage\n"},
                          {{"--store", "x", "-h"}, true, "usage\n"},
                          {{"--version", "--help"}, true, version},
                          {{"-", "--helpful", "-hv"}, false, ""},
                          {{}, false, ""}};
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(res::AnswerStandardOption(c.args, "tool", "usage\n", out), c.answered);
        EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(res::UnknownOptionText("tool", "--x"), "tool: unknown option '--x' (see --help)\n");
}

