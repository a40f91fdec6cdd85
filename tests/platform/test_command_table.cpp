// Command routing: the first table with a handler wins, a row without one decides the state
// only, and nobody's command is disabled.
#include "platform/command_table.h"

#include <gtest/gtest.h>

TEST(CommandRouter, FirstHandlerWinsAndRowsWithoutHandlersOnlyDecideState)
{
    CommandTable view;
    CommandTable application;
    std::vector<std::string> calls;
    view.Add(
        32775, [&] { calls.push_back("view"); },
        [](CommandUpdate& u) {
            u.checked = true;
            u.text = L"Environment";
        });
    view.Add(57664, {}, [](CommandUpdate& u) { u.text = L"Version"; });
    application.Add(32775, [&] { calls.push_back("application"); });
    application.Add(57664, {});
    CommandRouter router;
    router.Append(&view);
    router.Append(&application);

    EXPECT_TRUE(router.Execute(32775));
    EXPECT_FALSE(router.Execute(1234));
    const CommandUpdate environment = router.Update(32775);
    EXPECT_TRUE(environment.enabled);
    EXPECT_TRUE(environment.checked);
    EXPECT_EQ(environment.text.value_or(L""), L"Environment");
    EXPECT_FALSE(router.Update(1234).enabled);

    EXPECT_FALSE(router.Update(57664).enabled) << "nobody can run it yet";
    EXPECT_EQ(router.Update(57664).text.value_or(L""), L"Version");
    EXPECT_FALSE(router.Execute(57664));
    application.SetHandler(57664, [&] { calls.push_back("about"); });
    EXPECT_TRUE(router.Update(57664).enabled);
    EXPECT_EQ(router.Update(57664).text.value_or(L""), L"Version") << "the view still decides";
    EXPECT_TRUE(router.Execute(57664));
    EXPECT_EQ(calls, (std::vector<std::string>{"view", "about"})) << "Environment runs once";
}
