// The editors' shared checks: time texts, overlong text and control characters.
#include <gtest/gtest.h>

#include "editors/field_rules.h"
#include "res/string_table.h"

TEST(FieldRules, TimeTextsAreStrictHoursAndMinutes)
{
    const struct {
        const wchar_t* text;
        bool endOfDay;
        int minutes; // -1: refused
    } cases[] = {
        {L"00:00", false, 0},  {L"09:30", false, 570}, {L"23:59", false, 1439},
        {L"24:00", false, -1}, {L"24:00", true, 1440}, {L"24:01", true, -1},
        {L"25:99", false, -1}, {L"9:5", false, -1},    {L"09:5", false, -1},
        {L"0930", false, -1},  {L"12:3x", false, -1},  {L"-1:00", false, -1},
        {L"", false, -1},      {L"12:60", false, -1},  {L" 9:30", false, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeTextMinutes(c.text, c.endOfDay).value_or(-1), c.minutes) << c.text;
    EXPECT_EQ(TimeText(7, 5), L"07:05");
}

TEST(FieldRules, LineAndMemoTextLimits)
{
    const std::wstring longLine(kMaxLineLength + 1, L'a');
    const std::wstring hundredThousand(100000, L'x');
    const struct {
        std::wstring text;
        bool memo;
        int message; // 0: accepted
    } cases[] = {
        {L"Dentist", false, 0},
        {std::wstring(kMaxLineLength, L'a'), false, 0},
        {longLine, false, res::IDS_TEXT_TOO_LONG},
        {hundredThousand, false, res::IDS_TEXT_TOO_LONG},
        {hundredThousand, true, res::IDS_TEXT_TOO_LONG},
        {L"a\x1f"
         L"b",
         false, res::IDS_CONTROL_CHARACTERS},
        {L"two\nlines", false, res::IDS_CONTROL_CHARACTERS},
        {L"two\r\nlines\tand a tab", true, 0},
        {L"bell\a", true, res::IDS_CONTROL_CHARACTERS},
        {L"del\x7f", false, res::IDS_CONTROL_CHARACTERS},
    };
    for (const auto& c : cases) {
        const Verdict verdict = c.memo ? CheckMemoText(c.text, 7) : CheckLineText(c.text, 7);
        EXPECT_EQ(verdict, c.message ? Verdict(Refusal{7, c.message}) : std::nullopt)
            << c.text.size();
    }
}
