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
    const struct {
        std::wstring text;
        bool memo;
        int message; // 0: accepted
    } cases[] = {
        {std::wstring(kMaxLineLength, L'a'), false, 0},
        {std::wstring(kMaxLineLength + 1, L'a'), false, res::IDS_TEXT_TOO_LONG},
        {std::wstring(kMaxMemoLength, L'x'), true, 0},
        {std::wstring(kMaxMemoLength + 1, L'x'), true, res::IDS_TEXT_TOO_LONG},
        {L"a\x1f-", false, res::IDS_CONTROL_CHARACTERS},
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

TEST(FieldRules, RefusalsReadAsTheEditorsShowThem)
{
    const std::pair<int, const wchar_t*> texts[] = {
        {res::IDS_BAD_TIME_TEXT, L"Please enter the time as hh:mm, from 00:00 to 24:00."},
        {res::IDS_START_BEFORE_DUE, L"Please set start date before due date"},
        {res::IDS_TEXT_TOO_LONG, L"The text is too long. Please shorten it."},
        {res::IDS_CONTROL_CHARACTERS, L"The text must not contain control characters."},
        {res::IDS_RECURRENCE_NOT_SET, L"Recurtion info set not yet."},
        {res::IDS_BAD_INTERVAL, L"Please set an interval from 1 to 999."},
        {res::IDS_START_AFTER_1900, L"Please set start date after year 1900."},
        {res::IDS_END_BEFORE_3000, L"Please set end date before year 3000."},
        {res::IDS_START_TIME_BEFORE_END, L"Please set start time before end time"},
        {res::IDS_SELECT_WEEKDAY, L"Select Week of day"},
        {res::IDS_ONE_WEEKDAY_ONLY, L"Sorry, can't select plural weekofday at this type."},
        {res::IDS_BAD_DAY_COUNT, L"Please set the days as a number from 0 to 999."},
        {res::IDS_ALARM_LEAD_RANGE, L"Please enter an alarm time from 0 up to 52 weeks."},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(res::LoadString(id), text) << id;
}
