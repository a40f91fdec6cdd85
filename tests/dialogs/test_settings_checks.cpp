// The settings dialogs' range checks: the exact limits, the refused field and the message.
#include <gtest/gtest.h>

#include "dialogs/settings_checks.h"
#include "res/string_table.h"

namespace {
// "field: message" of a refusal, "" when accepted.
std::string Shown(const std::optional<RangeRefusal>& refusal)
{
    if (!refusal) {
        return "";
    }
    const std::wstring text = RefusalText(*refusal);
    return std::to_string(refusal->field) + ": " + std::string(text.begin(), text.end());
}

TEST(SettingsChecks, LimitsFieldsAndMessages)
{
    const std::pair<std::optional<RangeRefusal>, const char*> cases[] = {
        // Environment: days from today, start hour, the three area sizes.
        {CheckEnvironment({3, 0, 96, 200, 96}), ""},
        {CheckEnvironment({3, 24, 96, 200, 96}), "1035: Wrong Time"},
        {CheckEnvironment({367, 24, 96, 200, 96}), "1034: Please set between -366 to 366"},
        {CheckEnvironment({3, 9, -1, 200, 96}), "1031: Please set between 0 to 4000"},
        // Dimming rate and font sizes.
        {CheckBrightRate(100), ""},
        {CheckBrightRate(0), "1183: Please set between 1 to 100"},
        {CheckFontSizes(200, 6), ""},
        {CheckFontSizes(5, 4), "1115: Please set over 6 font size"},
        {CheckFontSizes(201, 16), "1115: Please set between 6 to 200"},
        // Function keys clash only on the same button.
        {CheckFuncKeys({1, 2, 3, 2, 0}), "1103: There are same setting"},
        // Day selection years.
        {CheckDaySelection(MakeSystemTime(1900, 1, 1)), ""},
        {CheckDaySelection(MakeSystemTime(3000, 1, 1)), "1140: Can't point after year 3000"},
        // Holiday rules.
        {CheckHolidayRule({L"Leap", 5, 2, 29, 0}), ""},
        {CheckHolidayRule({L"Week", 6, 13, 1, 1}), "1024: Wrong Month"},
        {CheckHolidayRule({L"Harbour,Day", 5, 11, 3, 0}),
         "1030: Can't use \",\" in a holiday name"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Shown(cases[i].first), cases[i].second) << "case " << i;
    }
}
} // namespace
