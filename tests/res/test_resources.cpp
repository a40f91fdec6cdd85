// The string table, the menu templates and how --help and --version answer.
#include <gtest/gtest.h>
#include <sstream>

#include "res/command_ids.h"
#include "res/command_line.h"
#include "res/menus.h"
#include "res/string_table.h"

TEST(StringTable, IdsWithoutATextGiveNone)
{
    EXPECT_EQ(res::LoadString(res::IDS_MONTH_BASE), L"") << "month names start at base + 1";
    EXPECT_EQ(res::LoadString(0), L"");
    EXPECT_EQ(res::LoadString(99999), L"");
}

// A command's name is its first menu text (main before context), its keys in accelerator order.
TEST(Menus, CommandNamesAndKeys)
{
    EXPECT_EQ(res::CommandName(cmd::ID_WEEK_BEFORE), L"A Week Before");
    EXPECT_EQ(res::CommandName(cmd::ID_CONTEXT_EDIT), L"Edit");
    EXPECT_EQ(res::CommandName(cmd::ID_DELETE_ITEM), L"") << "a key-only command";
    EXPECT_EQ(res::CommandKeys(cmd::ID_ZOOM_IN), (std::vector<std::string>{"Ctrl++", "Ctrl+="}));
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
    EXPECT_EQ(version.rfind("tool 2.02a (build ", 0), 0U) << version;
    const Case cases[] = {{{"--help"}, true, "usage\n"},
                          {{"--store", "x", "-h"}, true, "usage\n"},
                          {{"--version", "--help"}, true, version},
                          {{"-", "--helpful", "-hv"}, false, ""}};
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(res::AnswerStandardOption(c.args, "tool", "usage\n", out), c.answered);
        EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(res::UnknownOptionText("tool", "--x"), "tool: unknown option '--x' (see --help)\n");
}
