// The settings dialogs' range checks: the exact limits, the refused field and the message.
#include <gtest/gtest.h>

#include "dialogs/settings_checks.h"
#include "res/string_table.h"

namespace {

struct Expected {
    int field;
    std::wstring text; // empty: accepted
};

void ExpectResult(const std::optional<RangeRefusal>& refusal, const Expected& expected)
{
    if (expected.text.empty()) {
        EXPECT_FALSE(refusal) << "refused field " << refusal->field;
        return;
    }
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, expected.field);
    EXPECT_EQ(RefusalText(*refusal), expected.text);
}

TEST(SettingsChecks, EnvironmentHoursDaysAndAreas)
{
    const std::vector<std::pair<EnvironmentFields, Expected>> cases = {
        {{3, 0, 96, 200, 96}, {}},
        {{3, 23, 0, 0, 0}, {}},
        {{3, 24, 96, 200, 96}, {1035, L"Wrong Time"}},
        {{3, -1, 96, 200, 96}, {1035, L"Wrong Time"}},
        {{-366, 9, 4000, 4000, 4000}, {}},
        {{367, 24, 96, 200, 96}, {1034, L"Please set between -366 to 366"}},
        {{3, 9, -1, 200, 96}, {1031, L"Please set between 0 to 4000"}},
        {{3, 9, 96, 4001, 96}, {1032, L"Please set between 0 to 4000"}},
        {{3, 9, 96, 200, -5}, {1033, L"Please set between 0 to 4000"}},
    };
    for (const auto& [fields, expected] : cases) {
        SCOPED_TRACE(fields.startHour);
        ExpectResult(CheckEnvironment(fields), expected);
    }
}

TEST(SettingsChecks, RatesAndFontSizes)
{
    for (const auto& [rate, accepted] :
         std::vector<std::pair<int, bool>>{{0, false}, {1, true}, {100, true}, {101, false}}) {
        ExpectResult(CheckBrightRate(rate),
                     accepted ? Expected{} : Expected{1183, L"Please set between 1 to 100"});
    }
    const std::vector<std::tuple<int, int, Expected>> sizes = {
        {6, 6, {}},
        {200, 16, {}},
        {5, 4, {1115, L"Please set over 6 font size"}},
        {12, 5, {1116, L"Please set over 6 font size"}},
        {201, 16, {1115, L"Please set between 6 to 200"}},
    };
    for (const auto& [main, detail, expected] : sizes)
        ExpectResult(CheckFontSizes(main, detail), expected);
}

TEST(SettingsChecks, FunctionKeysClashOnlyOnTheSameButton)
{
    const std::vector<std::pair<std::array<int, 5>, Expected>> cases = {
        {{6, 5, 2, 3, 4}, {}},
        {{0, 0, 0, 0, 0}, {}},
        {{4, 0, 0, 0, 4}, {1105, L"There are same setting"}},
        {{1, 2, 3, 2, 0}, {1103, L"There are same setting"}},
    };
    for (const auto& [indexes, expected] : cases)
        ExpectResult(CheckFuncKeys(indexes), expected);
}

TEST(SettingsChecks, DaySelectionYears)
{
    const std::vector<std::pair<SYSTEMTIME, Expected>> cases = {
        {MakeSystemTime(1900, 1, 1), {}},
        {MakeSystemTime(2999, 12, 31), {}},
        {MakeSystemTime(1899, 12, 31), {1140, L"Can't point before year 1900."}},
        {MakeSystemTime(3000, 1, 1), {1140, L"Can't point after year 3000"}},
    };
    for (const auto& [date, expected] : cases)
        ExpectResult(CheckDaySelection(date), expected);
}

TEST(SettingsChecks, HolidayRules)
{
    const std::vector<std::pair<HolidayRule, Expected>> cases = {
        {{L"Leap", 5, 2, 29, 0}, {}},
        {{L"Lantern Day", 6, 1, 2, 2}, {}},
        {{L"Bad", 5, 2, 30, 0}, {1104, L"Wrong Day"}},
        {{L"Nomonth", 5, 0, 1, 0}, {1024, L"Wrong Month"}},
        {{L"Week", 6, 13, 1, 1}, {1024, L"Wrong Month"}},
        {{L"Harbour,Day", 5, 11, 3, 0}, {1030, L"Can't use \",\" in a holiday name"}},
    };
    for (const auto& [rule, expected] : cases) {
        SCOPED_TRACE(rule.name);
        ExpectResult(CheckHolidayRule(rule), expected);
    }
}

} // namespace
